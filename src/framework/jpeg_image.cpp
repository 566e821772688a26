#include "framework/jpeg_image.h"

#include "framework/exceptions.h"
#include "framework/streams.h"
#include "platform/base/error.h"
#include "platform/gdi/image_codecs.h"

namespace fw {

const TMetaClass& TJPEGImage::StaticClass() {
  static const TMetaClass meta("TJPEGImage", &TGraphic::StaticClass(), FactoryFor<TJPEGImage>());
  return meta;
}

TJPEGImage::TJPEGImage() {
  bitmap_.OnChange = [this](TObject*) { Changed(); };
}

void TJPEGImage::SetSize(int width, int height) {
  file_.clear();
  bitmap_.SetSize(width, height);
}

void TJPEGImage::LoadFromStream(TStream& stream) {
  std::vector<std::uint8_t> bytes = ReadPictureBytes(stream);
  auto pixels = DecodePicture(&plat::ReadJpeg, bytes);
  file_ = std::move(bytes);
  bitmap_.AssignPixels(*pixels);
}

void TJPEGImage::SaveToStream(TStream& stream) const {
  if (file_.empty()) throw EInvalidGraphicOperation("Cannot write a JPEG image that was not read from a file");
  stream.WriteBuffer(file_);
}

void TJPEGImage::Assign(const TPersistent* source) {
  if (const auto* jpeg = dynamic_cast<const TJPEGImage*>(source)) {
    if (jpeg == this) return;
    file_ = jpeg->file_;
    bitmap_.Assign(&jpeg->bitmap_);
    return;
  }
  if (const auto* bmp = dynamic_cast<const TBitmap*>(source)) {
    file_.clear();
    bitmap_.Assign(bmp);
    bitmap_.SetAlphaFormat(afIgnored);
    return;
  }
  TGraphic::Assign(source);
}

void TJPEGImage::AssignTo(TPersistent* dest) const {
  if (auto* bmp = dynamic_cast<TBitmap*>(dest)) {
    bmp->Assign(&bitmap_);
    return;
  }
  TGraphic::AssignTo(dest);
}

void TJPEGImage::Draw(TCanvas& canvas, const plat::RECT& rect) { canvas.StretchDraw(rect, &bitmap_); }

}  // namespace fw
