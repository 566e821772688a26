#pragma once
// JPEG pictures, decoded by the platform's codec into an opaque 32-bit bitmap that draws them;
// the file is kept to save again.
#include <cstdint>
#include <vector>

#include "framework/bitmap.h"

namespace fw {

class TJPEGImage : public TGraphic {
  FW_DECLARE_CLASS

 public:
  TJPEGImage();

  int Width() const override { return bitmap_.Width(); }
  int Height() const override { return bitmap_.Height(); }
  // Resizing leaves a picture that is no longer the file it was read from.
  void SetSize(int width, int height) override;
  void LoadFromStream(TStream& stream) override;
  // Writes the file it was read from; a JPEG made any other way cannot be written.
  void SaveToStream(TStream& stream) const override;
  const TBitmap& Bitmap() const { return bitmap_; }
  void Assign(const TPersistent* source) override;

 protected:
  void AssignTo(TPersistent* dest) const override;
  void Draw(TCanvas& canvas, const plat::RECT& rect) override;

 private:
  TBitmap bitmap_;
  std::vector<std::uint8_t> file_;
};

}  // namespace fw
