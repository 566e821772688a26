#pragma once
// Inside the mask drawing: the row kernels behind the public calls and the clipping that comes
// before them. Kernels assume their piece lies inside every bitmap they touch.
#include <algorithm>
#include <cstdint>

#include "paint/cache_info.h"
#include "platform/base/assert.h"
#include "platform/base/color.h"
#include "platform/base/geometry.h"
#include "platform/gdi/bitmap.h"

namespace fw {
class TBitmap;
}

namespace velmora {

struct TsMaskData;

namespace mask_kernels {

// The 32-bit pixels of a bitmap, or nullptr for an empty or other-format one.
plat::Bitmap* Pixels32(const fw::TBitmap* bitmap);
// The bitmap a mask is cut from: its own, else its manager's master bitmap.
fw::TBitmap* SourceOf(const TsMaskData& mask);
// True when the mask's strip lies inside its 32-bit source bitmap.
bool StripInside(const TsMaskData& mask, const plat::Bitmap& source);

// What lies behind a piece, as the kernels read it: the background bitmap (32-bit, or none),
// the piece's origin in it and the plain colour as a pixel.
struct Backdrop {
  const plat::Bitmap* bmp = nullptr;
  int x = 0;
  int y = 0;
  plat::Pixel fill = 0;
  bool ready = false;

  // The background pixel behind destination (dx, dy); false outside the background.
  bool PixelBehind(int dx, int dy, plat::Pixel* out) const {
    if (!bmp) return false;
    const std::int64_t bx = std::int64_t{dx} + x, by = std::int64_t{dy} + y;
    if (bx < 0 || by < 0 || bx >= bmp->Width() || by >= bmp->Height()) return false;
    *out = bmp->Row(static_cast<int>(by))[bx];
    return true;
  }
};
Backdrop BackdropOf(const TCacheInfo& cache);

// A piece w x h copied from (sx, sy) of a source to (dx, dy) of a destination.
struct Piece {
  int dx = 0, dy = 0;
  int sx = 0, sy = 0;
  int w = 0, h = 0;
};

// to - from, computed without overflow and limited to 0..2^30 (far past any bitmap).
constexpr int SpanOf(std::int64_t from, std::int64_t to) {
  return static_cast<int>(std::clamp<std::int64_t>(to - from, 0, std::int64_t{1} << 30));
}

// Narrows the offsets [from, to) so that origin + offset stays inside 0..size - 1.
// Nothing left makes to equal from.
constexpr void LimitOffsets(int& from, int& to, int origin, int size) {
  const std::int64_t low = std::max<std::int64_t>(from, -std::int64_t{origin});
  const std::int64_t high = std::min<std::int64_t>(to, std::int64_t{size} - origin);
  if (high <= low) {
    to = from;
    return;
  }
  from = static_cast<int>(low);
  to = static_cast<int>(high);
}

// Moves a piece inward past negative coordinates and cuts it to both bitmaps' sizes; false when
// nothing is left.
bool ClipPiece(Piece& p, int dstWidth, int dstHeight, int srcWidth, int srcHeight);

// The piece blended through the mask rows from maskY on (same columns as the image). With a
// ready backdrop alpha becomes 255 and, in corner mode, key pixels take the background's colour;
// else alpha stays and key pixels are skipped or, in corner mode, become the fill pixel.
void MaskedCopyRows(plat::Bitmap& dst, const plat::Bitmap& src, const Piece& p, int maskY, bool cornerMode,
                    const Backdrop& bg);

// The piece copied with key pixels transparent (see KeyedCopy); dstIsBackdrop when the
// destination is the background bitmap itself.
void KeyedCopyRows(plat::Bitmap& dst, const plat::Bitmap& src, const Piece& p, plat::Pixel key, bool cornerMode,
                   const Backdrop& bg, bool dstIsBackdrop);

// The source piece (sx, sy, sw, sh) repeated over the area to from its top-left corner on, as it
// is (alpha too), within the part of to given by visible. Each row is laid by block copies: one
// tile, then copies of what is already laid, doubling.
void TileRows(plat::Bitmap& dst, const plat::RECT& to, const plat::RECT& visible, const plat::Bitmap& src, int sx,
              int sy, int sw, int sh);

// Stretching through the platform's block transfer, to the nearest pixel (colour-on-colour);
// the platform cuts it to both bitmaps.
bool StretchPieceOpaque(fw::TBitmap& dst, const plat::RECT& to, fw::TBitmap& src, const plat::RECT& from);

// Edge widths of a border over a rectangle too small for them, one pair at a time: the pair
// gives up (first + second - length) pixels evenly, the second taking the odd one. A pair too
// uneven to share the cut (0 and 10 over 4) still ends inside the length.
constexpr void ShrinkEdgePair(int& first, int& second, int length) {
  if (length >= first + second) return;
  const int over = first + second - length, half = over / 2;
  first = std::max(0, first - half);
  second = std::max(0, second - half - over % 2);
  first = std::min(first, length);
  second = std::min(second, length - first);
}

// Spans [start, end) covered by tiles of one size laid from start on, the last one cut at end;
// only the tiles that reach into [visibleStart, visibleEnd) are handed to lay(position, length).
template <class Lay>
void ForEachTile(int start, int end, int tile, int visibleStart, int visibleEnd, Lay&& lay) {
  if (tile <= 0 || end <= start) return;
  int p = start;
  if (visibleStart > start) p = start + (visibleStart - start) / tile * tile;
  for (; p < end && p < visibleEnd; p += tile) lay(p, std::min(tile, end - p));
}

}  // namespace mask_kernels
}  // namespace velmora
