// Loading a whole skin from where it lives: a folder, an archive in memory or an archive file.
#include <filesystem>

#include "platform/gdi/image_codecs.h"
#include "skin/sSkinManager.h"

namespace velmora {

namespace {

constexpr const char* kNoDescription = "The packed skin holds no Options.dat";

void LoadUnpacked(TacSkinIndex& index, const TacSkinConvertor& convertor, const TacLoadOptions& options) {
  const TacIniFile ini(PackedDescription(convertor));
  index.SkinData.SkinPath.clear();
  TacSkinSource source;
  source.Packed = &convertor;
  index.Load(ini, source, options);
}

}  // namespace

std::string PackedDescription(const TacSkinConvertor& convertor) {
  if (!convertor.Options) throw ESkinDescriptionError(kNoDescription);
  const auto bytes = convertor.Options->Bytes();
  return std::string(bytes.begin(), bytes.end());
}

bool LoadSkinFolder(TacSkinIndex& index, const std::string& folder, const TacLoadOptions& options) {
  std::string path = folder;
  if (!path.empty() && path.back() != '/') path += '/';
  TacSkinSource source;
  source.SkinPath = path;
  const auto text = source.Read("Options.dat");
  if (!text) return false;
  const TacIniFile ini(std::string_view(reinterpret_cast<const char*>(text->data()), text->size()));
  index.SkinData.SkinPath = path;
  index.Load(ini, source, options);
  return true;
}

void LoadPackedSkin(TacSkinIndex& index, fw::TStream& archive, const TacLoadOptions& options) {
  std::unique_ptr<TacSkinConvertor> convertor;
  UnpackFromMemory(convertor, archive);
  LoadUnpacked(index, *convertor, options);
}

void LoadPackedSkinFile(TacSkinIndex& index, const std::string& path, const TacLoadOptions& options) {
  std::unique_ptr<TacSkinConvertor> convertor;
  UnpackFromFile(path, convertor, true);
  if (!convertor) throw ESkinArchiveError("Packed skin " + path + " does not exist");
  LoadUnpacked(index, *convertor, options);
}

}  // namespace velmora
