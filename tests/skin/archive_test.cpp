#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "skin/acSkinPack.h"
#include "skin_fixture.h"

namespace velmora {
namespace {

using namespace velmora::test;

std::unique_ptr<TacSkinConvertor> Unpack(const std::vector<std::uint8_t>& bytes) {
  fw::TBytesStream stream(bytes);
  std::unique_ptr<TacSkinConvertor> c;
  UnpackFromMemory(c, stream);
  return c;
}

TEST(SkinArchive, RoundTripKeepsOrderNamesAndKinds) {
  const std::vector<TacPackEntry> entries = {{"Master.bmp", Bytes("BMbits")},
                                             {"OPTIONS.DAT", Bytes("[GLOBALINFO]\nVERSION=8\n")},
                                             {"shadow.png", Bytes("png")},
                                             {"empty.bmp", {}}};
  const auto c = Unpack(PackSkinArchive(entries));
  EXPECT_EQ(c->ImageCount, 3);
  ASSERT_TRUE(c->Options);
  EXPECT_EQ(c->Options->Size(), 23);
  ASSERT_EQ(c->Files.size(), 3u);
  EXPECT_EQ(c->Files[0].FileName, "Master.bmp");
  EXPECT_TRUE(c->Files[0].IsBitmap);
  EXPECT_FALSE(c->Files[1].IsBitmap);
  EXPECT_EQ(c->Files[2].FileStream->Size(), 0);
  EXPECT_EQ(c->PackedData, nullptr);  // the caller's stream is never kept
}

TEST(SkinArchive, EntriesCrossingTheReadChunkAreFoundRightAfterTheirTrailer) {
  // Incompressible bytes, so the first stream runs well past 128 KiB.
  std::vector<std::uint8_t> noise(300000);
  std::uint32_t s = 1;
  for (auto& b : noise) b = static_cast<std::uint8_t>((s = s * 1103515245u + 12345u) >> 24);
  const std::vector<TacPackEntry> entries = {{"a.bmp", noise}, {"Options.dat", Bytes("x=1")}, {"b.bmp", noise}};
  const auto c = Unpack(PackSkinArchive(entries));
  ASSERT_EQ(c->Files.size(), 2u);
  EXPECT_TRUE(std::equal(noise.begin(), noise.end(), c->Files[1].FileStream->Memory()));
  EXPECT_EQ(c->Entries[1].Name, "Options.dat");
}

TEST(SkinArchive, LastDescriptionWinsAndNoEntriesIsFine) {
  const auto c = Unpack(PackSkinArchive(std::vector<TacPackEntry>{{"Options.dat", Bytes("a")}, {"options.dat", Bytes("bb")}}));
  EXPECT_EQ(c->Options->Size(), 2);
  const auto none = Unpack(Header(0));
  EXPECT_EQ(none->ImageCount, -1);
  EXPECT_FALSE(none->Options);
  EXPECT_TRUE(none->Files.empty());
}

TEST(SkinArchive, PackingIsDeterministicAtTheDefaultLevel) {
  const std::vector<TacPackEntry> e = {{"Options.dat", Bytes("[A]\nB=1\n")}};
  const auto a = PackSkinArchive(e), b = PackSkinArchive(e);
  EXPECT_EQ(a, b);
  EXPECT_EQ(a[4 + 4 + 4 + 11 + 4], 0x78);
  EXPECT_EQ(a[4 + 4 + 4 + 11 + 5], 0x9C);
}

struct Malformed {
  const char* what;
  std::vector<std::uint8_t> bytes;
  const char* message;  // a part of the error text
};

std::vector<Malformed> MalformedArchives() {
  const auto good = Deflate(Bytes("hello"));
  std::vector<Malformed> t;
  auto entry = [&](const std::string& name, std::int64_t size, const std::vector<std::uint8_t>& stream) {
    auto out = Header(1);
    RawEntry(out, name, size, stream);
    return out;
  };
  t.push_back({"wrong magic", Bytes("ASzg\1\0\0\0"), "not a packed Corvalin file"});
  t.push_back({"too short for magic", Bytes("AS"), "not a packed Corvalin file"});
  t.push_back({"no count", Bytes("ASzf"), "Stream read error"});
  t.push_back({"negative count", Header(-1), "entries"});
  t.push_back({"count beyond the data", [] { auto h = Header(1000000); h.resize(h.size() + 64); return h; }(), "more than its"});
  t.push_back({"size beyond the cap", entry("a.bmp", kMaxSkinEntrySize + 1, good), "beyond the limit"});
  t.push_back({"negative size", entry("a.bmp", -5, good), "beyond the limit"});
  t.push_back({"name length past the end", [] { auto h = Header(1); Put32(h, 200); h.resize(h.size() + 12); return h; }(), "name length"});
  t.push_back({"negative name length", [] { auto h = Header(1); Put32(h, -1); h.resize(h.size() + 12); return h; }(), "name length"});
  t.push_back({"slash in name", entry("../x.bmp", 5, good), "not a plain file name"});
  t.push_back({"backslash in name", entry("a\\b.bmp", 5, good), "not a plain file name"});
  t.push_back({"dot dot name", entry("..", 5, good), "not a plain file name"});
  t.push_back({"empty name", entry("", 5, good), "not a plain file name"});
  t.push_back({"stream ends early", entry("a.bmp", 5, {good.begin(), good.end() - 6}), "ends early"});
  t.push_back({"stream shorter than declared", entry("a.bmp", 9, good), "Stream read error"});
  t.push_back({"stream longer than declared", entry("a.bmp", 3, good), "inflates past"});
  t.push_back({"corrupt stream", entry("a.bmp", 5, Bytes("\x78\x9C\xFF\xFF\xFF\xFF\xFF\xFF")), "corrupt"});
  t.push_back({"no stream at all", [] { auto h = Header(1); RawEntry(h, "a.bmp", 5, std::vector<std::uint8_t>(8, 0)); return h; }(), "corrupt"});
  return t;
}

TEST(SkinArchive, MalformedArchivesFailWithAClearMessage) {
  for (const Malformed& m : MalformedArchives()) {
    SCOPED_TRACE(m.what);
    fw::TBytesStream stream(m.bytes);
    std::unique_ptr<TacSkinConvertor> c;
    try {
      UnpackFromMemory(c, stream);
      ADD_FAILURE() << "accepted";
    } catch (const fw::Exception& e) {
      EXPECT_NE(e.Message().find(m.message), std::string::npos) << e.Message();
    }
    EXPECT_EQ(c, nullptr);  // the convertor is gone, the caller's stream untouched
  }
}

TEST(SkinArchive, FromFileAndCopyOut) {
  const auto dir = std::filesystem::temp_directory_path() / ("velmora_archive_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const auto bytes = PackSkinArchive(std::vector<TacPackEntry>{{"Options.dat", Bytes("[X]\n")}});
  std::unique_ptr<TacSkinConvertor> c;
  UnpackFromFile((dir / "missing.asz").string(), c, true);
  EXPECT_EQ(c, nullptr);  // no file: nothing happens

  fw::TBytesStream data(bytes);
  ExtractPackedSkin(&data, "skin", (dir / "out").string());
  const auto extracted = dir / "out" / "skin extracted.asz";
  ASSERT_TRUE(std::filesystem::exists(extracted));
  UnpackFromFile(extracted.string(), c, true);
  ASSERT_TRUE(c && c->Options);
  EXPECT_EQ(c->PackedData, nullptr);

  EXPECT_THROW(
      {
        try {
          ExtractPackedSkin(&data, "skin", "");
        } catch (const fw::Exception& e) {
          EXPECT_EQ(e.Message(), "Directory does not exists.");
          throw;
        }
      },
      fw::Exception);
  try {
    ExtractPackedSkin(nullptr, "other", dir.string());
    ADD_FAILURE();
  } catch (const fw::Exception& e) {
    EXPECT_EQ(e.Message(), "Skin does not exists.");
  }
  std::ofstream(dir / "file") << "x";
  try {
    ExtractPackedSkin(&data, "skin", (dir / "file" / "sub").string());
    ADD_FAILURE();
  } catch (const fw::Exception& e) {
    EXPECT_EQ(e.Message(), "Directory " + (dir / "file" / "sub").string() + " creation error.");
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace velmora
