// Packs, lists, unpacks and checks skins.
//   skinpack pack DIR FILE     the folder's files into an archive, the description first
//   skinpack list FILE         name, unpacked and packed size of every entry
//   skinpack unpack FILE DIR   the entries into a folder
//   skinpack check PATH        loads a folder or an archive and reports what it holds
//   skinpack preview PATH PNG  a rough mock window from the skin's pieces, to look at
//   skinpack gallery PATH PNG  every section in every state and every glyph, painted by the engine
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
#include "skin_gallery.h"

namespace {

namespace fs = std::filesystem;
using namespace velmora;

int Usage() {
  std::fprintf(stderr, "usage: skinpack pack DIR FILE | list FILE | unpack FILE DIR | check PATH | gallery PATH PNG\n");
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

// A nine-part copy for the preview only (the engine's own mask drawing lives in paint/): nearest
// stretching, magenta left out, the mask image (when there is one) as coverage.
void Slice(plat::Bitmap& dst, const TacSkinIndex& index, int maskIndex, int state, plat::RECT d) {
  if (maskIndex < 0) return;
  const TsMaskData& m = index.ma[static_cast<std::size_t>(maskIndex)];
  const fw::TBitmap* owner = m.Bmp ? m.Bmp.get() : index.MasterBitmap.get();
  const plat::Bitmap* src = owner ? owner->Pixels() : nullptr;
  if (!src) return;
  const int fw = m.FrameWidth(), fh = m.FrameHeight(), f = std::min(state, m.ImageCount - 1);
  const int sx = m.R.left + f * fw, sy = m.R.top;
  auto axis = [](int p, int size, int a, int b, int span) {
    if (p < a) return p;
    if (p >= span - b) return size - (span - p);
    const int mid = std::max(size - a - b, 1);
    return a + (p - a) * mid / std::max(span - a - b, 1);
  };
  for (int y = d.top; y < d.bottom; ++y)
    for (int x = d.left; x < d.right; ++x) {
      if (x < 0 || y < 0 || x >= dst.Width() || y >= dst.Height()) continue;
      const bool centre = x - d.left >= m.WL && x < d.right - m.WR && y - d.top >= m.WT && y < d.bottom - m.WB;
      if (centre && !(m.DrawMode & 4) && m.ImgType == itisaBorder) continue;
      const int u = sx + axis(x - d.left, fw, m.WL, m.WR, d.right - d.left);
      const int v = sy + axis(y - d.top, fh, m.WT, m.WB, d.bottom - d.top);
      const plat::Pixel p = src->Row(v)[u];
      if ((p & 0xFFFFFF) == 0xFF00FF) continue;
      int cover = 255;
      if (m.MaskType > 0) cover = 255 - static_cast<int>(plat::PixelR(src->Row(v + fh)[u]));
      const plat::Pixel q = dst.Row(y)[x];
      auto mix = [&](plat::Pixel a, plat::Pixel b) { return (a * static_cast<plat::Pixel>(cover) + b * static_cast<plat::Pixel>(255 - cover)) / 255; };
      dst.Row(y)[x] = plat::MakePixel(static_cast<plat::BYTE>(mix(plat::PixelR(p), plat::PixelR(q))),
                                      static_cast<plat::BYTE>(mix(plat::PixelG(p), plat::PixelG(q))),
                                      static_cast<plat::BYTE>(mix(plat::PixelB(p), plat::PixelB(q))), 255);
    }
}

void Glyph(plat::Bitmap& dst, const TacSkinIndex& index, int maskIndex, int state, int x, int y) {
  if (maskIndex < 0) return;
  const TsMaskData& m = index.ma[static_cast<std::size_t>(maskIndex)];
  Slice(dst, index, maskIndex, state, {x, y, x + m.FrameWidth(), y + m.FrameHeight()});
}

int Preview(const std::string& path, const std::string& out) {
  TacSkinIndex index;
  if (fs::is_directory(path)) LoadSkinFolder(index, path, {});
  else LoadPackedSkinFile(index, path, {});
  const int W = 420, H = 260;
  plat::Bitmap b(W, H);
  b.Fill(plat::MakePixel(120, 128, 140, 255));
  auto mask = [&](const char* section) {
    const int si = index.GetSkinIndex(section);
    return si < 0 ? -1 : index.gd[static_cast<std::size_t>(si)].BorderIndex;
  };
  const plat::RECT win{10, 10, W - 10, H - 10};
  // Client: the form's texture, tiled.
  if (const int t = index.GetTextureIndex(index.GetSkinIndex("FORM"), "FORM", "PATTERN"); t >= 0) {
    const TsMaskData& m = index.ma[static_cast<std::size_t>(t)];
    const plat::Bitmap* src = index.MasterBitmap->Pixels();
    for (int y = win.top; y < win.bottom; ++y)
      for (int x = win.left; x < win.right; ++x)
        b.Row(y)[x] = src->Row(m.R.top + (y - win.top) % (m.R.bottom - m.R.top))[m.R.left + (x - win.left) % (m.R.right - m.R.left)] | 0xFF000000u;
  }
  Slice(b, index, mask("FORM"), 1, win);
  Slice(b, index, mask("FORMTITLE"), 1, {win.left, win.top, win.right, win.top + 30});
  const TConstantSkinData& c = index.ConstData;
  int gx = win.right - 6 - 16;
  for (int g : {c.MaskCloseBtn, c.MaskMaxBtn, c.MaskMinBtn}) {
    Glyph(b, index, g, g == c.MaskCloseBtn ? 1 : 0, gx, win.top + 7);
    gx -= 18;
  }
  for (int s = 0; s < 4; ++s) Slice(b, index, mask("BUTTON"), s, {30 + s * 92, 60, 30 + s * 92 + 80, 86});
  for (int s = 0; s < 3; ++s) Slice(b, index, mask("BUTTON_HUGE"), s, {30 + s * 120, 100, 30 + s * 120 + 100, 150});
  Slice(b, index, mask("PANEL"), 0, {30, 160, 200, 200});
  Slice(b, index, mask("PANEL_LOW"), 0, {215, 160, 390, 200});
  for (int s = 0; s < 3; ++s) Glyph(b, index, c.CheckBoxChecked, s, 40 + s * 20, 173);
  Glyph(b, index, c.RadioButtonChecked, 0, 230, 173);
  Slice(b, index, mask("STATUSBAR"), 0, {win.left + 4, win.bottom - 26, win.right - 4, win.bottom - 4});
  Glyph(b, index, c.GripRightBottom, 0, win.right - 18, win.bottom - 18);
  plat::Bitmap big(W * 2, H * 2);
  for (int y = 0; y < H * 2; ++y)
    for (int x = 0; x < W * 2; ++x) big.Row(y)[x] = b.Row(y / 2)[x / 2];
  plat::WriteFileBytes(out, plat::WritePng(big));
  return 0;
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
    if (cmd == "preview" && argc == 4) return Preview(argv[2], argv[3]);
    if (cmd == "gallery" && argc == 4) return velmora::Gallery(argv[2], argv[3]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skinpack: %s\n", e.what());
    return 1;
  }
  return Usage();
}
