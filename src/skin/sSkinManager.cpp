#include "skin/sSkinManager.h"

#include <filesystem>

#include "framework/sysutils.h"
#include "platform/files/paths.h"
#include "platform/gdi/image_codecs.h"

namespace velmora {

namespace {

constexpr const char* kGlobalInfo = "GLOBALINFO";

}  // namespace

void CheckSkinImageSize(std::span<const std::uint8_t> bytes, const std::string& name, int* bitsPerPixel) {
  const auto header = plat::PeekImageHeader(bytes);
  const std::int64_t w = header ? header->width : 0, h = header ? header->height : 0;
  if (w > kMaxSkinImageSide || h > kMaxSkinImageSide || w * h > kMaxSkinImagePixels)
    throw ESkinDescriptionError("Skin image " + name + " is " + fw::IntToStr(w) + " x " + fw::IntToStr(h) +
                                " pixels, more than a skin may use");
  if (bitsPerPixel) *bitsPerPixel = header ? header->bitsPerPixel : 32;
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
