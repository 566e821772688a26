#pragma once
// A device-independent bitmap, 32 bits per pixel unless told otherwise, with direct row access
// (ScanLine, rows from the top), a canvas made on demand (a memory context with the bitmap
// selected) and the platform handle. Other pixel formats keep their rows as the platform's
// bitmaps do; the platform draws fills, lines and text into 32-bit bitmaps only.
#include <memory>

#include "framework/canvas.h"
#include "framework/colors.h"
#include "framework/graphic.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/modules.h"

namespace fw {

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
// How the alpha bytes of a 32-bit bitmap count when it is drawn.
enum TAlphaFormat { afIgnored, afDefined, afPremultiplied };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmap : public TGraphic {
  FW_DECLARE_CLASS

 public:
  TBitmap();
  TBitmap(int width, int height);
  ~TBitmap() override;

  int Width() const override;
  int Height() const override;
  // The picture keeps what fits of its old content; new pixels are zero.
  void SetSize(int width, int height) override;

  TPixelFormat PixelFormat() const { return pixelFormat_; }
  // pf8bit (grey), pf24bit and pf32bit; the content is converted.
  void SetPixelFormat(TPixelFormat format);
  TAlphaFormat AlphaFormat() const { return alphaFormat_; }
  // Between afDefined and afPremultiplied the colours are converted.
  void SetAlphaFormat(TAlphaFormat format);

  // Row y from the top; EInvalidGraphicOperation out of range.
  std::uint8_t* ScanLine(int y);
  // The pixels themselves, nullptr while empty.
  plat::Bitmap* Pixels() const;
  TCanvas& Canvas();
  // Made for an empty bitmap too; the bitmap keeps owning it.
  plat::HBITMAP Handle();
  // Takes ownership of a bitmap handle (nullptr empties the picture).
  void SetHandle(plat::HBITMAP handle);
  // Gives up the handle to the caller; the picture is empty afterwards.
  plat::HBITMAP ReleaseHandle();

  // tmAuto: the bottom-left pixel's colour; setting a colour makes the mode tmFixed.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor color);
  TTransparentMode TransparentMode() const { return transparentMode_; }
  void SetTransparentMode(TTransparentMode mode);

  // BMP through the platform's codec; the result is pf32bit.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  // An RT_BITMAP resource of the program holding a BMP file.
  void LoadFromResourceName(plat::HMODULE instance, const std::string& name);
  // Data in descriptions: the length of the BMP file (32 bits, little-endian), then the file.
  void ReadData(TStream& stream) override;
  void WriteData(TStream& stream) const override;

  void Assign(const TPersistent* source) override;
  // Copies pixels in (a decoded picture's, say), taking their format; the alpha format is kept.
  void AssignPixels(const plat::Bitmap& pixels);

 protected:
  void Draw(TCanvas& canvas, const plat::RECT& rect) override;

 private:
  class BitmapCanvas;
  // Puts a new picture in place of the old, reselecting it into the canvas's context.
  void Replace(std::unique_ptr<plat::Bitmap> pixels);
  void Replace(plat::HBITMAP handle);

  plat::HBITMAP handle_ = nullptr;
  std::unique_ptr<BitmapCanvas> canvas_;
  TPixelFormat pixelFormat_ = pf32bit;
  TAlphaFormat alphaFormat_ = afIgnored;
  TTransparentMode transparentMode_ = tmAuto;
  TColor transparentColor_ = clDefault;
};

}  // namespace fw
