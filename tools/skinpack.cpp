// Packs, lists, unpacks and checks skins.
//   skinpack pack DIR FILE     the folder's files into an archive, the description first
//   skinpack list FILE         name, unpacked and packed size of every entry
//   skinpack unpack FILE DIR   the entries into a folder
//   skinpack check PATH        loads a folder or an archive and reports what it holds
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/sysutils.h"
#include "platform/display/headless/headless_display.h"
#include "platform/gdi/image_codecs.h"
#include "platform/wm/wm.h"
#include "skin/acSkinPack.h"
#include "skin/sSkinManager.h"

namespace {

namespace fs = std::filesystem;
using namespace velmora;

int Usage() {
  std::fprintf(stderr, "usage: skinpack pack DIR FILE | list FILE | unpack FILE DIR | check PATH\n");
  return 2;
}

std::vector<std::uint8_t> Bytes(const fw::TMemoryStream& s) {
  const auto b = s.Bytes();
  return {b.begin(), b.end()};
}

int Pack(const std::string& dir, const std::string& file) {
  std::vector<TacPackEntry> entries;
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.is_regular_file()) files.push_back(e.path());
  // Byte-for-byte repeatable: the description first, the rest by name.
  std::sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
    const bool da = fw::SameText(a.filename().string(), kSkinOptionsName), db = fw::SameText(b.filename().string(), kSkinOptionsName);
    if (da != db) return da;
    return a.filename().string() < b.filename().string();
  });
  if (files.empty() || !fw::SameText(files.front().filename().string(), kSkinOptionsName))
    throw fw::Exception("No " + std::string(kSkinOptionsName) + " in " + dir);
  for (const fs::path& p : files) entries.push_back({p.filename().string(), plat::ReadFileBytes(p.string())});
  plat::WriteFileBytes(file, PackSkinArchive(entries));
  return 0;
}

std::unique_ptr<TacSkinConvertor> Open(const std::string& file) {
  std::unique_ptr<TacSkinConvertor> c;
  UnpackFromFile(file, c, false);
  if (!c) throw fw::Exception("Cannot open " + file);
  return c;
}

int List(const std::string& file) {
  const auto c = Open(file);
  for (const TacEntryInfo& e : c->Entries)
    std::printf("%-24s %10lld %10lld\n", e.Name.c_str(), static_cast<long long>(e.Unpacked), static_cast<long long>(e.Packed));
  return 0;
}

int Unpack(const std::string& file, const std::string& dir) {
  const auto c = Open(file);
  fs::create_directories(dir);
  // Names were checked while unpacking: none has a separator or "..", so each stays in dir.
  if (c->Options) plat::WriteFileBytes((fs::path(dir) / kSkinOptionsName).string(), Bytes(*c->Options));
  for (const TacImageItem& item : c->Files)
    plat::WriteFileBytes((fs::path(dir) / item.FileName).string(), Bytes(*item.FileStream));
  return 0;
}

int Check(const std::string& path) {
  TacSkinIndex index;
  std::vector<std::string> problems;
  TacLoadOptions options;
  options.VersionCheck = [&](double v) {
    if (v < 7 || v > 8.99) problems.push_back("version " + std::to_string(v) + " is outside 7..8.99");
  };
  std::string text;
  std::int64_t packed = 0, unpacked = 0;
  if (fs::is_directory(path)) {
    if (!LoadSkinFolder(index, path, options)) throw fw::Exception("No " + std::string(kSkinOptionsName) + " in " + path);
    for (const auto& e : fs::directory_iterator(path))
      if (e.is_regular_file()) unpacked += static_cast<std::int64_t>(e.file_size());
    const auto bytes = plat::ReadFileBytes((fs::path(path) / kSkinOptionsName).string());
    text.assign(bytes.begin(), bytes.end());
  } else {
    const auto c = Open(path);
    for (const TacEntryInfo& e : c->Entries) unpacked += e.Unpacked;
    packed = static_cast<std::int64_t>(fs::file_size(path));
    text = PackedDescription(*c);
    LoadPackedSkinFile(index, path, options);
  }
  // What the loader forgives, a check reports.
  const TacIniFile ini(text);
  if (!index.MasterBitmap) problems.push_back("no master bitmap");
  for (const auto& s : ini.Sections()) {
    if (const std::string* parent = s.Find("PARENTCLASS"); parent && !parent->empty() && !ini.FindSection(*parent))
      problems.push_back("[" + s.Name + "] PARENTCLASS names a missing section " + *parent);
    for (const auto& k : s.Keys) {
      const bool image = !k.Value.empty() && k.Value.front() == '!';
      if (image && index.GetMaskIndex(s.Name, k.Name) < 0) problems.push_back("[" + s.Name + "] " + k.Name + ": image not found");
    }
  }
  std::printf("version %g, %zu sections, %zu masks, %zu patterns", index.SkinData.Version, index.gd.size(), index.ma.size(),
              index.pa.size());
  std::printf(", %lld bytes unpacked", static_cast<long long>(unpacked));
  if (packed) std::printf(", %lld bytes packed", static_cast<long long>(packed));
  std::printf("\n");
  for (const TsGeneralData& g : index.gd) std::printf("  section %s\n", g.ClassName.c_str());
  for (const TsMaskData& m : index.ma)
    std::printf("  mask %s.%s (%d,%d)-(%d,%d) frames %d corner %d\n", m.ClassName.c_str(), m.PropertyName.c_str(), m.R.left,
                m.R.top, m.R.right, m.R.bottom, m.ImageCount, m.CornerType);
  for (const std::string& p : problems) std::fprintf(stderr, "problem: %s\n", p.c_str());
  std::printf("%zu problems\n", problems.size());
  return problems.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string cmd = argv[1];
  try {
    // System colours and metrics stand behind some defaults; a screen in memory answers them.
    plat::InitPlatform(std::make_unique<plat::display::HeadlessDisplay>());
    if (cmd == "pack" && argc == 4) return Pack(argv[2], argv[3]);
    if (cmd == "list" && argc == 3) return List(argv[2]);
    if (cmd == "unpack" && argc == 4) return Unpack(argv[2], argv[3]);
    if (cmd == "check" && argc == 3) return Check(argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skinpack: %s\n", e.what());
    return 1;
  }
  return Usage();
}
