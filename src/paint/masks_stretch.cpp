// Stretching one piece of a skin image over a span, with or without its mask image.
#include <algorithm>
#include <cstring>

#include "framework/bitmap.h"
#include "paint/bitmap_ops.h"
#include "paint/masks.h"
#include "paint/masks_kernels.h"
#include "paint/resample.h"
#include "platform/base/pixel_math.h"

namespace velmora {

using namespace mask_kernels;

namespace mask_kernels {

bool StretchPieceOpaque(fw::TBitmap& dst, const plat::RECT& to, fw::TBitmap& src, const plat::RECT& from) {
  const plat::HDC dc = dst.Canvas().Handle();
  plat::SetStretchBltMode(dc, plat::COLORONCOLOR);
  return plat::StretchBlt(dc, to.left, to.top, plat::RectWidth(to), plat::RectHeight(to), src.Canvas().Handle(),
                          from.left, from.top, plat::RectWidth(from), plat::RectHeight(from), plat::SRCCOPY);
}

}  // namespace mask_kernels

namespace {

bool Inside(const plat::RECT& r, const plat::Bitmap& b) {
  return r.left >= 0 && r.top >= 0 && r.right <= b.Width() && r.bottom <= b.Height() && !plat::IsEmpty(r);
}

// A one-pixel centre covers its span by its mask value m: 0 paints the pixel opaque, 255 leaves
// the span, anything between blends (d * m + p * (256 - m)) >> 8 keeping the span's alpha.
void FillThroughOnePixel(plat::Bitmap& dst, const plat::RECT& span, plat::Pixel image, plat::Pixel mask) {
  const std::uint32_t m = plat::PixelR(mask);
  if (m == 255) return;
  const plat::Pixel grey = m * 0x010101u;
  for (int y = span.top; y < span.bottom; ++y) {
    plat::Pixel* out = dst.Row(y);
    for (int x = span.left; x < span.right; ++x)
      out[x] = m == 0 ? image | 0xFF000000u : plat::BlendThroughMask(out[x], image, grey) | (out[x] & 0xFF000000u);
  }
}

// The piece from of src at w x h. Smoothly: the piece (a single column or row doubled, as the
// filter needs two) resampled with the Mitchell filter; else stretched to the nearest pixel.
std::unique_ptr<fw::TBitmap> ScaledPiece(fw::TBitmap& src, const plat::RECT& from, int w, int h, bool smooth) {
  const int sw = plat::RectWidth(from), sh = plat::RectHeight(from);
  if (!smooth) {
    auto out = MakeBitmap32(w, h);
    StretchPieceOpaque(*out, plat::MakeRect(0, 0, w, h), src, from);
    return out;
  }
  auto piece = MakeBitmap32(std::max(sw, 2), std::max(sh, 2));
  const plat::Bitmap& in = *src.Pixels();
  plat::Bitmap& copy = *piece->Pixels();
  for (int y = 0; y < copy.Height(); ++y) {
    const plat::Pixel* row = in.Row(from.top + std::min(y, sh - 1)) + from.left;
    plat::Pixel* out = copy.Row(y);
    if (sw == 1) std::fill_n(out, copy.Width(), row[0]);
    else std::memcpy(out, row, static_cast<std::size_t>(sw) * 4);
  }
  auto out = MakeBitmap32(0, 0);
  if (ResampleBitmap(*piece, *out, w, h, ResampleFilter::Mitchell) != ResampleResult::Done) return nullptr;
  return out;
}

}  // namespace

void StretchMasked(int x, int y, int w, int h, bool isCentre, int maskOffset, fw::TBitmap& src, fw::TBitmap& dst,
                   int sx, int sy, int sw, int sh) {
  plat::Bitmap* d = Pixels32(&dst);
  const plat::Bitmap* s = Pixels32(&src);
  if (!d || !s || w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return;
  if (!plat::Bitmap::SizeAllowed(w, h) || !plat::Bitmap::SizeAllowed(sw, sh)) return;
  const plat::RECT from = plat::MakeRect(sx, sy, sw, sh);
  if (!Inside(from, *s)) return;
  const plat::RECT visible{std::max(x, 0), std::max(y, 0),
                           static_cast<int>(std::min<std::int64_t>(std::int64_t{x} + w, d->Width())),
                           static_cast<int>(std::min<std::int64_t>(std::int64_t{y} + h, d->Height()))};
  if (plat::IsEmpty(visible)) return;
  if (maskOffset == 0) {
    StretchPieceOpaque(dst, plat::MakeRect(x, y, w, h), src, from);
    return;
  }
  if (!Inside(plat::Offset(from, 0, maskOffset), *s)) return;
  if (isCentre && sw == 1 && sh == 1) {
    FillThroughOnePixel(*d, visible, s->Row(sy)[sx], s->Row(sy + maskOffset)[sx]);
    return;
  }
  // Nearest-pixel stretching looks poor where a piece shrinks along one side, and in the centre.
  const bool shrinksOneWay = (w < sw && h == sh) || (h < sh && w == sw);
  const bool smooth = (shrinksOneWay || isCentre) && w > 1 && h > 1;
  const auto image = ScaledPiece(src, from, w, h, smooth);
  const auto mask = ScaledPiece(src, plat::Offset(from, 0, maskOffset), w, h, smooth);
  const plat::Bitmap* imagePixels = Pixels32(image.get());
  const plat::Bitmap* maskPixels = Pixels32(mask.get());
  if (!imagePixels || !maskPixels) return;
  const int width = plat::RectWidth(visible);
  for (int row = visible.top; row < visible.bottom; ++row) {
    const plat::Pixel* in = imagePixels->Row(row - y) + (visible.left - x);
    const plat::Pixel* m = maskPixels->Row(row - y) + (visible.left - x);
    plat::Pixel* out = d->Row(row) + visible.left;
    for (int i = 0; i < width; ++i) out[i] = plat::BlendThroughMask(out[i], in[i], m[i]) | 0xFF000000u;
  }
}

}  // namespace velmora
