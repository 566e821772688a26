#include "framework/png_image.h"

#include "framework/exceptions.h"
#include "framework/streams.h"
#include "platform/base/error.h"
#include "platform/gdi/image_codecs.h"

namespace fw {

namespace {

bool HasTransparency(const plat::Bitmap& pixels) {
  for (int y = 0; y < pixels.Height(); ++y)
    for (int x = 0; x < pixels.Width(); ++x)
      if (plat::PixelA(pixels.Row(y)[x]) != 255) return true;
  return false;
}

}  // namespace

// ---- PNG ---------------------------------------------------------------------------------

const TMetaClass& TPngImage::StaticClass() {
  static const TMetaClass meta("TPngImage", &TGraphic::StaticClass(), FactoryFor<TPngImage>());
  return meta;
}

TPngImage::TPngImage() {
  bitmap_.SetAlphaFormat(afDefined);
  bitmap_.OnChange = [this](TObject*) { Changed(); };
}

void TPngImage::SetSize(int width, int height) { bitmap_.SetSize(width, height); }

void TPngImage::LoadFromStream(TStream& stream) {
  auto pixels = DecodePicture(&plat::ReadPng, ReadPictureBytes(stream));
  SetTransparent(HasTransparency(*pixels));
  bitmap_.AssignPixels(*pixels);
}

void TPngImage::SaveToStream(TStream& stream) const {
  const plat::Bitmap* p = bitmap_.Pixels();
  if (!p || p->Empty()) throw EInvalidGraphicOperation("Cannot save an empty PNG image");
  try {
    stream.WriteBuffer(plat::WritePng(*p));
  } catch (const plat::Error& e) {
    throw EInvalidGraphic(e.what());
  }
}

void TPngImage::Assign(const TPersistent* source) {
  if (const auto* png = dynamic_cast<const TPngImage*>(source)) {
    if (png == this) return;
    bitmap_.Assign(&png->bitmap_);
    SetTransparent(png->Transparent());
    return;
  }
  if (const auto* bmp = dynamic_cast<const TBitmap*>(source)) {
    bitmap_.Assign(bmp);
    bitmap_.SetPixelFormat(pf32bit);
    if (bmp->AlphaFormat() == afIgnored) {
      // An opaque bitmap: its alpha bytes mean nothing, so make them opaque.
      plat::Bitmap& p = *bitmap_.Pixels();
      for (int y = 0; y < p.Height(); ++y)
        for (int x = 0; x < p.Width(); ++x) p.Row(y)[x] |= 0xFF000000u;
    }
    bitmap_.SetAlphaFormat(afDefined);
    SetTransparent(bitmap_.Pixels() && HasTransparency(*bitmap_.Pixels()));
    return;
  }
  TGraphic::Assign(source);
}

void TPngImage::AssignTo(TPersistent* dest) const {
  if (auto* bmp = dynamic_cast<TBitmap*>(dest)) {
    bmp->Assign(&bitmap_);
    return;
  }
  TGraphic::AssignTo(dest);
}

void TPngImage::Draw(TCanvas& canvas, const plat::RECT& rect) { canvas.StretchDraw(rect, &bitmap_); }

}  // namespace fw
