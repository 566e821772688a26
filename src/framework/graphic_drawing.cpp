#include "framework/graphic_drawing.h"

#include <vector>

#include "platform/base/pixel_rows.h"

namespace fw {

namespace {

using plat::Pixel;

// A memory context over a fresh 32-bit picture, released with the object.
class Scratch {
 public:
  Scratch(int width, int height) : bitmap_(plat::CreateBitmap32(width, height)) {
    if (!bitmap_) return;
    dc_ = plat::CreateCompatibleDC(nullptr);
    old_ = plat::SelectObject(dc_, bitmap_);
  }
  ~Scratch() {
    if (dc_) {
      plat::SelectObject(dc_, old_);
      plat::DeleteDC(dc_);
    }
    if (bitmap_) plat::DeleteObject(bitmap_);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  bool Ok() const { return dc_ != nullptr; }
  plat::HDC Dc() const { return dc_; }
  plat::Bitmap& Pixels() const { return *plat::BitmapOf(bitmap_); }

 private:
  plat::HBITMAP bitmap_;
  plat::HDC dc_ = nullptr;
  plat::HGDIOBJ old_ = nullptr;
};

}  // namespace

void DrawPixels(plat::HDC dc, const plat::RECT& rect, const plat::Bitmap& source, TPixelBlend blend, plat::COLORREF key) {
  const int w = plat::RectWidth(rect), h = plat::RectHeight(rect);
  if (w <= 0 || h <= 0 || source.Empty()) return;
  plat::RECT clip{};
  if (plat::GetClipBox(dc, &clip) == plat::ERROR) return;
  const plat::RECT area = plat::Intersection(rect, clip);
  if (plat::IsEmpty(area)) return;
  Scratch scratch(plat::RectWidth(area), plat::RectHeight(area));
  if (!scratch.Ok()) return;
  plat::BitBlt(scratch.Dc(), 0, 0, plat::RectWidth(area), plat::RectHeight(area), dc, area.left, area.top, plat::SRCCOPY);

  const bool direct = source.Format() == plat::PixelFormat::Bgra32;
  const Pixel keyPixel = plat::ColorToPixel(key, 0) & 0x00FFFFFFu;
  plat::Bitmap& out = scratch.Pixels();
  const int sw = source.Width(), sh = source.Height(), n = plat::RectWidth(area);
  std::vector<Pixel> from(static_cast<std::size_t>(n));
  for (int y = area.top; y < area.bottom; ++y) {
    const int sy = static_cast<int>(static_cast<std::int64_t>(y - rect.top) * sh / h);
    for (int x = area.left; x < area.right; ++x) {
      const int sx = static_cast<int>(static_cast<std::int64_t>(x - rect.left) * sw / w);
      from[static_cast<std::size_t>(x - area.left)] = direct ? source.Row(sy)[sx] : source.PixelAt(sx, sy);
    }
    Pixel* row = out.Row(y - area.top);
    switch (blend) {
      case TPixelBlend::Keyed:
        plat::CopyRowKeyed(row, from.data(), n, keyPixel, 0x00FFFFFFu);
        break;
      case TPixelBlend::Alpha:
        plat::PremultiplyRow(from.data(), n);
        plat::OverRow(row, from.data(), n);
        break;
      case TPixelBlend::Premultiplied:
        plat::OverRow(row, from.data(), n);
        break;
    }
  }
  plat::BitBlt(dc, area.left, area.top, plat::RectWidth(area), plat::RectHeight(area), scratch.Dc(), 0, 0, plat::SRCCOPY);
}

void PremultiplyAlpha(plat::Bitmap& bitmap) {
  if (bitmap.Format() != plat::PixelFormat::Bgra32) return;
  for (int y = 0; y < bitmap.Height(); ++y) plat::PremultiplyRow(bitmap.Row(y), bitmap.Width());
}

void UnpremultiplyAlpha(plat::Bitmap& bitmap) {
  if (bitmap.Format() != plat::PixelFormat::Bgra32) return;
  for (int y = 0; y < bitmap.Height(); ++y) plat::UnpremultiplyRow(bitmap.Row(y), bitmap.Width());
}

}  // namespace fw
