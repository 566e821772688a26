#pragma once
// The index of the active skin: what the description and the images of a skin are read into,
// and the lookups that painting addresses it by. The skin manager component keeps one and
// fills it on every load.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "skin/acSkinPack.h"
#include "skin/sSkinManagerIni.h"
#include "skin/sStyleSimply.h"

namespace velmora {

// Image caps for a skin: far above any real piece, far below what would hurt to allocate.
inline constexpr int kMaxSkinImageSide = 8192;
inline constexpr std::int64_t kMaxSkinImagePixels = std::int64_t{16} << 20;

// Where the images of a skin come from: the unpacked archive, else the skin's folder.
struct TacSkinSource {
  const TacSkinConvertor* Packed = nullptr;
  std::string SkinPath;
  // The bytes of the named image, or nothing when it does not exist.
  std::optional<std::vector<std::uint8_t>> Read(const std::string& name) const;
};

// What a load is told besides the description.
struct TacLoadOptions {
  int HueOffset = 0;
  int Saturation = 0;
  // INI lines processed after the skin's own description.
  std::string CommonSections;
  // Called after every read of the version (twice per load).
  std::function<void(double version)> VersionCheck;
};

class TacSkinIndex {
 public:
  TacSkinIndex() = default;
  TacSkinIndex(const TacSkinIndex&) = delete;
  TacSkinIndex& operator=(const TacSkinIndex&) = delete;

  TsSkinData SkinData;
  TsGeneralDataArray gd;
  TsMaskArray ma;
  TsPatternArray pa;
  std::unique_ptr<fw::TBitmap> MasterBitmap;
  TConstantSkinData ConstData;
  TacPalette Palette{};

  // Runs every loading step in order; any error leaves a partly filled index behind it.
  void Load(const TacIniFile& description, const TacSkinSource& source, const TacLoadOptions& options);
  void Clear();

  // The loading steps, each usable on its own.
  void LoadMasks(const TacIniFile& ini, const TacSkinSource& source);
  void LoadPatterns(const TacIniFile& ini, const TacSkinSource& source);
  void LoadGlobalData(const TacIniFile& ini);
  void LoadGeneralData(const TacIniFile& ini);
  void SetMaskIndexes();
  void FillPalette(const TacIniFile& ini);
  void ApplyHueAndSaturation(int hueOffset, int saturation);
  void InitConstantIndexes();

  int GetSkinIndex(std::string_view section) const;
  int GetMaskIndex(int skinIndex, std::string_view section, std::string_view mask) const;
  int GetMaskIndex(std::string_view section, std::string_view mask) const;  // no inheritance
  int GetTextureIndex(int skinIndex, std::string_view section, std::string_view property) const;
  int GetPatternIndex(int skinIndex, std::string_view section, std::string_view pattern) const;

  // Counts for reports.
  std::size_t SectionCount() const { return gd.size(); }

 private:
  void LoadMasksOf(const TacIniFile& ini, const TacSkinSource& source);
  void AddImageMask(const std::string& section, const std::string& key, const std::string& value,
                    const TacSkinSource& source);
  void AddPlainBitmapMask(const std::string& section, const std::string& key, const std::string& upper,
                          const TacSkinSource& source);
  void ComputeCornerType(TsMaskData& mask) const;
  int ChainedLookup(int skinIndex, std::string_view section, const std::function<int(std::string_view)>& find) const;
};

// A skin folder holding "Options.dat" (SkinPath becomes the folder with a trailing separator);
// false when there is no description there.
bool LoadSkinFolder(TacSkinIndex& index, const std::string& folder, const TacLoadOptions& options);
// An archive in memory (a built-in skin's) or in a file; the description must be in it.
void LoadPackedSkin(TacSkinIndex& index, fw::TStream& archive, const TacLoadOptions& options);
void LoadPackedSkinFile(TacSkinIndex& index, const std::string& path, const TacLoadOptions& options);
// The description text of an unpacked archive; fails when the archive has none.
std::string PackedDescription(const TacSkinConvertor& convertor);

// Fails with ESkinDescriptionError when the header gives dimensions past the caps.
void CheckSkinImageSize(std::span<const std::uint8_t> bytes, const std::string& name, int* bitsPerPixel = nullptr);
// Decodes a skin's image: BMP, PNG or JPEG by signature, refusing dimensions past the caps
// before decoding. bitsPerPixel answers the file's own depth (32 for PNG).
std::unique_ptr<plat::Bitmap> DecodeSkinImage(std::span<const std::uint8_t> bytes, const std::string& name,
                                              int* bitsPerPixel = nullptr);

}  // namespace velmora
