#pragma once
// Fills, tints and blends over 32-bit bitmaps (B, G, R, A; rows from the top). Every call clips
// its rectangles to the bitmaps it touches and returns without effect when nothing is left, so a
// bad rectangle, an empty or missing bitmap, or a bitmap of another format paints nothing.
#include <cstdint>
#include <memory>

#include "framework/bitmap.h"
#include "framework/colors.h"
#include "paint/cache_info.h"
#include "platform/base/geometry.h"
#include "platform/gdi/gdi.h"

namespace velmora {

// The skin's "no colour" and, in its pictures, a transparent pixel; the same as pixel or colour.
inline constexpr std::uint32_t kKeyColor = 0x00FF00FF;
// SetRectAlpha's "no key": every pixel is set.
inline constexpr std::uint32_t kNoKey = 0x1FFFFFFF;

// The pixels of a non-empty 32-bit bitmap, else nullptr: what every operation here works on.
plat::Bitmap* Pixels32(const fw::TBitmap& bitmap);
// Left and Top at least 0, Right and Bottom at most the bitmap's width and height.
plat::RECT ClipTo(const plat::RECT& rect, const plat::Bitmap& bitmap);

// A new zero-filled 32-bit bitmap owned by the caller (sizes below 0 count as 0).
std::unique_ptr<fw::TBitmap> MakeBitmap32(int width, int height);
// A new zero-filled bitmap of the same size and pixel format.
std::unique_ptr<fw::TBitmap> CloneShape(const fw::TBitmap& bitmap);

// The rectangle, clipped, becomes the colour (RGB, used as it is) with the given alpha.
void FillPixels(fw::TBitmap& bitmap, const plat::RECT& rect, fw::TColor color, std::uint8_t alpha);
// Four bands of the rectangle, in the order top, left, bottom, right, filled at alpha 255.
void PixelFrame(fw::TBitmap& bitmap, const plat::RECT& rect, int left, int top, int right, int bottom,
                fw::TColor color);
// The alpha byte of the rectangle's pixels; with a key other than kNoKey only where the whole
// 32-bit pixel differs from it.
void SetRectAlpha(fw::TBitmap& bitmap, const plat::RECT& rect, std::uint8_t alpha, std::uint32_t keyPixel);

// A solid brush of the resolved colour on a device context; the context's state is restored.
void BrushFill(plat::HDC dc, const plat::RECT& rect, fw::TColor color);
// The four bands of PixelFrame, painted with a solid brush.
void BrushFrame(plat::HDC dc, const plat::RECT& rect, int left, int top, int right, int bottom, fw::TColor color);

// Each channel c becomes round(k c + (1 − k) colour) with k = percent / 100: the share the
// picture keeps. Alpha stays.
void TintRect(fw::TBitmap& bitmap, const plat::RECT& rect, int percent, fw::TColor color);
// Each channel c becomes round(c − percent (c − colour) / 100): the share of the colour. Alpha
// becomes the given alpha.
void TintRectAlpha(fw::TBitmap& bitmap, const plat::RECT& rect, fw::TColor color, std::uint8_t alpha, int percent);

// The source rectangle laid at `at`, each of B, G, R becoming (d keep + s (256 − keep)) >> 8;
// the destination's alpha stays.
void BlendBitmapInto(fw::TBitmap& dst, const fw::TBitmap& src, std::uint8_t keep, plat::POINT at,
                     const plat::RECT& srcRect);
// The same over two bitmaps of equal size; nothing when the sizes differ.
void BlendSameSize(fw::TBitmap& dst, const fw::TBitmap& src, std::uint8_t keep);
// The source rectangle, its Right and Bottom included, laid at (x, y); source pixels equal to the
// key are skipped, the others become round(s − (s − d) weight) per channel (weight 0..1: the
// destination's share). Alpha stays.
void BlendKeyed(fw::TBitmap& dst, int x, int y, std::uint32_t keyPixel, double weight, const plat::RECT& srcRect,
                const fw::TBitmap& src);
// The whole source laid at (x, y), skipping pixels whose colour is the key, the others copied
// with alpha 255.
void CopyKeyed(fw::TBitmap& dst, const fw::TBitmap& src, int x, int y, fw::TColor keyColor);
// A source carrying its own alpha drawn over the destination. With a ready cache, magenta source
// pixels are not blended: in corner mode they take the cache picture's colour behind them,
// otherwise they are skipped.
void BlendAlphaImage(const plat::RECT& dstRect, const plat::RECT& srcRect, fw::TBitmap& dst, bool cornerMode,
                     const TCacheInfo& cache, const fw::TBitmap& src);

}  // namespace velmora
