#pragma once
// PNG pictures, decoded by the platform's codec into a 32-bit bitmap that draws them: a PNG
// keeps its alpha (straight, not premultiplied) and is blended by it.
#include "framework/bitmap.h"

namespace fw {

class TPngImage : public TGraphic {
  FW_DECLARE_CLASS

 public:
  TPngImage();

  int Width() const override { return bitmap_.Width(); }
  int Height() const override { return bitmap_.Height(); }
  void SetSize(int width, int height) override;
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  // The pixels, B,G,R and straight alpha (AlphaFormat afDefined).
  TBitmap& Bitmap() { return bitmap_; }
  const TBitmap& Bitmap() const { return bitmap_; }
  void Assign(const TPersistent* source) override;

 protected:
  void AssignTo(TPersistent* dest) const override;
  void Draw(TCanvas& canvas, const plat::RECT& rect) override;

 private:
  TBitmap bitmap_;
};

}  // namespace fw
