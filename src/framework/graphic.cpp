#include "framework/graphic.h"

#include "framework/exceptions.h"
#include "framework/stored_properties.h"
#include "framework/streams.h"
#include "platform/base/error.h"

namespace fw {

const TMetaClass& TGraphic::StaticClass() {
  static const TMetaClass meta("TGraphic", &TPersistent::StaticClass(), nullptr, Stored<TGraphic>([](auto& b) {
    b.Binary("Data", &TGraphic::ReadData);
  }));
  return meta;
}

void TGraphic::SetTransparent(bool transparent) {
  if (transparent == transparent_) return;
  transparent_ = transparent;
  Changed();
}

void TGraphic::Changed() {
  modified_ = true;
  if (OnChange) OnChange(this);
}

std::vector<std::uint8_t> TGraphic::ReadPictureBytes(TStream& stream) {
  if (stream.Size() - stream.Position() > kMaxPictureFile) throw EInvalidGraphic("The picture file is too large");
  return stream.ReadRemaining();
}

std::unique_ptr<plat::Bitmap> TGraphic::DecodePicture(PictureReader reader, std::span<const std::uint8_t> bytes) {
  try {
    return reader(bytes);
  } catch (const plat::Error& e) {
    throw EInvalidGraphic(e.what());
  }
}

void TGraphic::LoadFromFile(const std::string& path) {
  TFileStream file(path, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file);
}

void TGraphic::SaveToFile(const std::string& path) const {
  TFileStream file(path, fmCreate);
  SaveToStream(file);
}

}  // namespace fw
