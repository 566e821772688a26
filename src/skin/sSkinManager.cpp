#include "skin/sSkinManager.h"

#include <filesystem>

#include "framework/sysutils.h"
#include "platform/files/paths.h"
#include "platform/gdi/image_codecs.h"

namespace velmora {

namespace {

constexpr const char* kGlobalInfo = "GLOBALINFO";

std::uint32_t Be32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
         static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}
std::int32_t Le32(const std::uint8_t* p) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                                   static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24);
}
int Le16(const std::uint8_t* p) { return p[0] | p[1] << 8; }

// Width and height from the file's header, without decoding; false when the header cannot
// tell (the decoder then has the last word).
bool PeekSize(std::span<const std::uint8_t> b, std::int64_t& w, std::int64_t& h, int& bits) {
  if (b.size() >= 30 && b[0] == 'B' && b[1] == 'M') {
    const std::int32_t header = Le32(&b[14]);
    if (header == 12) {
      w = Le16(&b[18]), h = Le16(&b[20]), bits = Le16(&b[24]);
    } else {
      w = Le32(&b[18]), h = Le32(&b[22]), bits = Le16(&b[28]);
      if (h < 0) h = -h;
    }
    return true;
  }
  if (b.size() >= 24 && b[0] == 0x89 && b[1] == 'P' && b[2] == 'N' && b[3] == 'G') {
    w = Be32(&b[16]), h = Be32(&b[20]), bits = 32;
    return true;
  }
  if (b.size() >= 4 && b[0] == 0xFF && b[1] == 0xD8) {
    // Walk the markers to the first start-of-frame.
    std::size_t i = 2;
    while (i + 4 <= b.size()) {
      if (b[i] != 0xFF) return false;
      const std::uint8_t m = b[i + 1];
      if (m == 0xFF) { ++i; continue; }
      const std::size_t length = static_cast<std::size_t>(b[i + 2]) << 8 | b[i + 3];
      if (m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC) {
        if (i + 9 > b.size()) return false;
        h = static_cast<std::int64_t>(b[i + 5]) << 8 | b[i + 6];
        w = static_cast<std::int64_t>(b[i + 7]) << 8 | b[i + 8];
        bits = 24;
        return true;
      }
      if (length < 2) return false;
      i += 2 + length;
    }
  }
  return false;
}

}  // namespace

void CheckSkinImageSize(std::span<const std::uint8_t> bytes, const std::string& name, int* bitsPerPixel) {
  std::int64_t w = 0, h = 0;
  int bits = 32;
  if (PeekSize(bytes, w, h, bits) && (w > kMaxSkinImageSide || h > kMaxSkinImageSide || w * h > kMaxSkinImagePixels))
    throw ESkinDescriptionError("Skin image " + name + " is " + fw::IntToStr(w) + " x " + fw::IntToStr(h) +
                                " pixels, more than a skin may use");
  if (bitsPerPixel) *bitsPerPixel = bits;
}

std::unique_ptr<plat::Bitmap> DecodeSkinImage(std::span<const std::uint8_t> bytes, const std::string& name,
                                              int* bitsPerPixel) {
  CheckSkinImageSize(bytes, name, bitsPerPixel);
  try {
    return plat::ReadImage(bytes);
  } catch (const std::exception& e) {
    throw ESkinDescriptionError("Skin image " + name + " cannot be read: " + e.what());
  }
}

std::optional<std::vector<std::uint8_t>> TacSkinSource::Read(const std::string& name) const {
  if (Packed) {
    const TacImageItem* item = Packed->FindUpperCase(name);
    if (!item) return std::nullopt;
    const auto bytes = item->FileStream->Bytes();
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
  }
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path p(plat::files::HostPath(name.find(':') == std::string::npos ? SkinPath + name : name));
  if (!fs::is_regular_file(p, ec)) return std::nullopt;
  if (fs::file_size(p, ec) > static_cast<std::uintmax_t>(kMaxSkinEntrySize))
    throw ESkinDescriptionError("Skin image " + p.string() + " is larger than " + fw::IntToStr(kMaxSkinEntrySize) + " bytes");
  return plat::ReadFileBytes(p.string());
}

void TacSkinIndex::Clear() {
  std::string path = std::move(SkinData.SkinPath);
  SkinData = TsSkinData{};
  SkinData.SkinPath = std::move(path);
  gd.clear();
  ma.clear();
  pa.clear();
  MasterBitmap.reset();
  ConstData = TConstantSkinData{};
  Palette.fill(0);
}

void TacSkinIndex::Load(const TacIniFile& ini, const TacSkinSource& source, const TacLoadOptions& options) {
  Clear();
  auto check = [&] {
    if (options.VersionCheck) options.VersionCheck(SkinData.Version);
  };
  SkinData.Version = ini.ReadFloat(kGlobalInfo, "VERSION", 0);
  check();
  TacIniFile common(options.CommonSections);
  LoadMasks(ini, source);
  if (!common.Sections().empty()) LoadMasksOf(common, source);
  LoadPatterns(ini, source);
  LoadGlobalData(ini);
  check();
  LoadGeneralData(ini);
  if (!common.Sections().empty()) {
    // Sections named again there extend the skin's own records: their keys read first.
    TacIniFile merged(options.CommonSections);
    for (const auto& s : ini.Sections()) {
      std::string text = "[" + s.Name + "]\n";
      for (const auto& k : s.Keys) text += k.Name + "=" + k.Value + "\n";
      merged.AddText(text);
    }
    TsGeneralDataArray own = std::move(gd);
    LoadGeneralData(merged);
    for (auto& record : gd) {
      bool present = false;
      for (auto& o : own)
        if (o.ClassName == record.ClassName) o = std::move(record), present = true;
      if (!present) own.push_back(std::move(record));
    }
    gd = std::move(own);
  }
  SetMaskIndexes();
  FillPalette(ini);
  ApplyHueAndSaturation(options.HueOffset, options.Saturation);
  InitConstantIndexes();
  SetMaskIndexes();
}

int TacSkinIndex::GetSkinIndex(std::string_view section) const {
  if (section.empty()) return -1;
  for (std::size_t i = 0; i < gd.size(); ++i)
    if (gd[i].ClassName == section) return static_cast<int>(i);
  return -1;
}

int TacSkinIndex::ChainedLookup(int skinIndex, std::string_view section,
                                const std::function<int(std::string_view)>& find) const {
  // Each step goes one parent up; a chain longer than the sections loops and is cut.
  for (std::size_t steps = 0; steps <= gd.size(); ++steps) {
    if (skinIndex < 0 || section.empty()) return -1;
    if (const int found = find(section); found >= 0) return found;
    if (static_cast<std::size_t>(skinIndex) >= gd.size()) return -1;
    const std::string& parent = gd[static_cast<std::size_t>(skinIndex)].ParentClass;
    if (parent.empty() || parent == section) return -1;
    section = parent;
    skinIndex = GetSkinIndex(parent);
  }
  return -1;
}

int TacSkinIndex::GetMaskIndex(std::string_view section, std::string_view mask) const {
  if (section.empty() || mask.empty()) return -1;
  for (std::size_t i = 0; i < ma.size(); ++i)
    if (ma[i].ClassName == section && ma[i].PropertyName == mask) return static_cast<int>(i);
  return -1;
}

int TacSkinIndex::GetMaskIndex(int skinIndex, std::string_view section, std::string_view mask) const {
  return ChainedLookup(skinIndex, section, [&](std::string_view s) { return GetMaskIndex(s, mask); });
}

int TacSkinIndex::GetTextureIndex(int skinIndex, std::string_view section, std::string_view property) const {
  return ChainedLookup(skinIndex, section, [&](std::string_view s) {
    for (std::size_t i = 0; i < ma.size(); ++i)
      if (ma[i].ImgType == itisaTexture && ma[i].ClassName == s && ma[i].PropertyName == property)
        return static_cast<int>(i);
    return -1;
  });
}

int TacSkinIndex::GetPatternIndex(int skinIndex, std::string_view section, std::string_view pattern) const {
  return ChainedLookup(skinIndex, section, [&](std::string_view s) {
    for (std::size_t i = 0; i < pa.size(); ++i)
      if (pa[i].ClassName == s && pa[i].PropertyName == pattern) return static_cast<int>(i);
    return -1;
  });
}

}  // namespace velmora
