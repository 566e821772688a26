#include "framework/streams.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "framework/exceptions.h"
#include "platform/resources/resources.h"

namespace fw {
namespace {

constexpr std::string_view kHello = "Hello from an embedded resource.\n";

TEST(Streams, ReadBufferFailsWithTheStreamReadErrorWhenTheStreamEndsEarly) {
  TBytesStream stream(std::string_view("abc"));
  char buffer[4] = {};
  stream.ReadBuffer(buffer, 2);
  try {
    stream.ReadBuffer(buffer, 2);
    ADD_FAILURE();
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "Stream read error");
  }
  EXPECT_EQ(stream.Read(buffer, 4), 0);  // the failed read took the last byte
}

TEST(Streams, MemoryStreamsSeekGrowAndCopy) {
  TMemoryStream m;
  m.WriteBuffer("hello", 5);
  EXPECT_EQ(m.Size(), 5);
  EXPECT_EQ(m.Seek(-2, soFromEnd), 3);
  m.WriteBuffer("p!", 2);
  EXPECT_EQ(m.Seek(1, soFromCurrent), 6);
  m.WriteBuffer("?", 1);  // past the end: the gap is zero
  EXPECT_EQ(m.Size(), 7);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(m.Memory()), 7), std::string("help!\0?", 7));
  EXPECT_EQ(m.Seek(-100, soFromBeginning), 0);

  TMemoryStream copy;
  EXPECT_EQ(copy.CopyFrom(m, 0), 7);
  EXPECT_EQ(copy.Size(), 7);
  m.SetSize(2);
  EXPECT_EQ(m.Position(), 2);
  EXPECT_THROW(m.SetSize(TMemoryStream::kMaxSize + 1), EOutOfMemory);
}

TEST(Streams, FileStreamsRoundTripAndNameTheFileTheyCannotOpen) {
  const std::string path = (std::filesystem::temp_directory_path() / ("velmora_stream_" + std::to_string(getpid()))).string();
  {
    TFileStream out(path, fmCreate);
    out.WriteBuffer("data", 4);
  }
  TMemoryStream in;
  in.LoadFromFile(path);
  EXPECT_EQ(in.Size(), 4);
  std::filesystem::remove(path);
  try {
    TFileStream missing(path, fmOpenRead);
    ADD_FAILURE();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), "Cannot open file \"" + path + "\". " + std::strerror(ENOENT));
  }
  EXPECT_THROW(TFileStream("/nonexistent-dir/x", fmCreate), EFCreateError);
}

TEST(Resources, EmbeddedFilesAreFoundByTypeAndNameIgnoringCase) {
  const auto bytes = plat::FindResourceBytes(plat::RT_RCDATA, "hello");
  ASSERT_EQ(bytes.size(), kHello.size());
  EXPECT_EQ(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), kHello);
  EXPECT_EQ(bytes.data()[bytes.size()], 0);  // a zero follows, for text

  plat::HRSRC r = plat::FindResource(nullptr, "HELLO", "#10");
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(plat::SizeofResource(nullptr, r), kHello.size());
  EXPECT_EQ(plat::LockResource(plat::LoadResource(nullptr, r)), bytes.data());
  EXPECT_EQ(plat::FindResource(nullptr, "HELLO", plat::RT_BITMAP), nullptr);
  EXPECT_EQ(plat::FindResourceBytes("vclstyle", "RESOURCE1").size(), kHello.size());  // a named type
  EXPECT_EQ(plat::FindResource(plat::GetModuleHandle("user32.dll"), "HELLO", plat::RT_RCDATA), nullptr);
  EXPECT_EQ(plat::FindResource(nullptr, "NOPE", plat::RT_RCDATA), nullptr);
  EXPECT_EQ(plat::SizeofResource(nullptr, reinterpret_cast<plat::HRSRC>(&r)), 0u);  // not a resource handle
}

TEST(Resources, ResourceStreamsReadEmbeddedBytesAndRefuseWrites) {
  TResourceStream stream(nullptr, "Hello", plat::RT_RCDATA);
  std::string text(static_cast<std::size_t>(stream.Size()), '\0');
  stream.ReadBuffer(text.data(), stream.Size());
  EXPECT_EQ(text, kHello);
  EXPECT_THROW(stream.WriteBuffer("x", 1), EStreamError);
  try {
    TResourceStream missing(nullptr, "ACSHDA", plat::RT_RCDATA);
    ADD_FAILURE();
  } catch (const EResNotFound& e) {
    EXPECT_EQ(e.Message(), "Resource ACSHDA not found");
  }
}

}  // namespace
}  // namespace fw
