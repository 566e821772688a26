// Block transfers: BitBlt, StretchBlt and PatBlt, cut by the destination's clip and by both
// bitmaps' bounds.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi/objects.h"
#include "platform/gdi/raster_ops.h"

namespace plat {

using namespace gdi;

namespace {

// Normalises a rectangle given by a corner and signed extents; answers whether it was flipped.
RECT Normalise(int x, int y, int width, int height, bool* flipX, bool* flipY) {
  *flipX = width < 0;
  *flipY = height < 0;
  const int left = width < 0 ? x + width + 1 : x;
  const int top = height < 0 ? y + height + 1 : y;
  return {left, top, left + (width < 0 ? -width : width), top + (height < 0 ? -height : height)};
}

Pixel PatternPixel(DcObject& dc) {
  const auto c = BrushColor(dc.state.brush ? dc.state.brush : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  return ColorToPixel(c.value_or(0), 0);
}

bool PatternUsable(DcObject& dc) { return BrushColor(dc.state.brush).has_value(); }

// Copies rows of a 32-bit surface; overlapping copies inside one bitmap go in a safe order.
void CopyRows(Bitmap& dst, const RECT& d, const Bitmap& src, int sx, int sy) {
  const std::size_t bytes = static_cast<std::size_t>(RectWidth(d)) * 4;
  if (&dst != &src) {
    if (bytes == dst.Stride() && bytes == src.Stride()) {  // whole rows: one block
      std::memcpy(dst.Row(d.top), src.Row(sy), bytes * static_cast<std::size_t>(RectHeight(d)));
      return;
    }
    for (int row = 0; row < RectHeight(d); ++row) std::memcpy(dst.Row(d.top + row) + d.left, src.Row(sy + row) + sx, bytes);
    return;
  }
  const bool upward = sy < d.top;
  for (int i = 0; i < RectHeight(d); ++i) {
    const int row = upward ? RectHeight(d) - 1 - i : i;
    std::memmove(dst.Row(d.top + row) + d.left, src.Row(sy + row) + sx, bytes);
  }
}

}  // namespace

BOOL BitBlt(HDC dstHandle, int x, int y, int width, int height, HDC srcHandle, int sx, int sy, DWORD rop) {
  DcObject* dst = GetDc(dstHandle);
  if (!dst) return FALSE;
  const std::uint8_t code = RopCode(rop);
  if (!RopUsesSource(code)) return PatBlt(dstHandle, x, y, width, height, rop);
  DcObject* src = GetDc(srcHandle);
  if (!src) return FALSE;
  Bitmap* d = dst->Surface();
  Bitmap* s = src->Surface();
  if (!d || !s) return FALSE;
  if (width <= 0 || height <= 0) return TRUE;

  const RECT target = dst->ToSurface(MakeRect(x, y, width, height));
  const POINT from = src->ToSurface(POINT{sx, sy});
  // Source pixels exist only inside the source bitmap: cut the target to where they land.
  const RECT readable = Offset(s->Bounds(), target.left - from.x, target.top - from.y);
  const RECT area = Intersection(target, readable);
  if (IsEmpty(area)) return TRUE;
  const bool fast = d->Format() == PixelFormat::Bgra32 && s->Format() == PixelFormat::Bgra32;
  const Pixel pattern = PatternPixel(*dst);
  if (RopUsesPattern(code) && !PatternUsable(*dst)) return TRUE;

  // A copy within one surface must read the source before the clip pieces overwrite it.
  std::unique_ptr<Bitmap> snapshot;
  const Bitmap* source = s;
  const RECT readArea = Offset(area, from.x - target.left, from.y - target.top);
  if (d == s && !IsEmpty(Intersection(area, readArea)) && (code != 0xCC || dst->Clip().Rects().size() > 1)) {
    snapshot = std::make_unique<Bitmap>(*s);
    source = snapshot.get();
  }
  for (const RECT& c : dst->Clip().Rects()) {
    const RECT r = Intersection(c, area);
    if (IsEmpty(r)) continue;
    const int ox = from.x - target.left, oy = from.y - target.top;
    if (fast && code == 0xCC) {
      CopyRows(*d, r, *source, r.left + ox, r.top + oy);
      continue;
    }
    for (int yy = r.top; yy < r.bottom; ++yy) {
      for (int xx = r.left; xx < r.right; ++xx) {
        const Pixel sp = source->PixelAt(xx + ox, yy + oy);
        const Pixel dp = d->PixelAt(xx, yy);
        d->SetPixelAt(xx, yy, ApplyRop(code, pattern, sp, dp));
      }
    }
  }
  return TRUE;
}

BOOL StretchBlt(HDC dstHandle, int x, int y, int width, int height, HDC srcHandle, int sx, int sy, int swidth,
                int sheight, DWORD rop) {
  if (width == swidth && height == sheight && width > 0 && height > 0)
    return BitBlt(dstHandle, x, y, width, height, srcHandle, sx, sy, rop);
  DcObject* dst = GetDc(dstHandle);
  DcObject* src = GetDc(srcHandle);
  if (!dst || !src) return FALSE;
  Bitmap* d = dst->Surface();
  Bitmap* s = src->Surface();
  if (!d || !s) return FALSE;
  if (width == 0 || height == 0 || swidth == 0 || sheight == 0) return TRUE;
  const std::uint8_t code = RopCode(rop);
  if (RopUsesPattern(code) && !PatternUsable(*dst)) return TRUE;
  const Pixel pattern = PatternPixel(*dst);

  bool dfx, dfy, sfx, sfy;
  const RECT target = dst->ToSurface(Normalise(x, y, width, height, &dfx, &dfy));
  const RECT from = src->ToSurface(Normalise(sx, sy, swidth, sheight, &sfx, &sfy));
  const bool mirrorX = dfx != sfx, mirrorY = dfy != sfy;
  const std::int64_t dw = RectWidth(target), dh = RectHeight(target);
  const std::int64_t sw = RectWidth(from), sh = RectHeight(from);

  // Nearest pixel: each target pixel takes the source pixel under its centre.
  const RECT box = Intersection(dst->Clip().Box(), target);
  if (IsEmpty(box)) return TRUE;
  std::vector<int> columns(static_cast<std::size_t>(RectWidth(box)));
  for (int xx = box.left; xx < box.right; ++xx) {
    std::int64_t j = ((xx - target.left) * 2 + 1) * sw / (2 * dw);
    if (mirrorX) j = sw - 1 - j;
    columns[static_cast<std::size_t>(xx - box.left)] = static_cast<int>(from.left + j);
  }
  const bool fast = d->Format() == PixelFormat::Bgra32 && s->Format() == PixelFormat::Bgra32;
  for (const RECT& c : dst->Clip().Rects()) {
    const RECT r = Intersection(c, box);
    if (IsEmpty(r)) continue;
    int previousRow = -1;
    for (int yy = r.top; yy < r.bottom; ++yy) {
      std::int64_t j = ((yy - target.top) * 2 + 1) * sh / (2 * dh);
      if (mirrorY) j = sh - 1 - j;
      const int srow = static_cast<int>(from.top + j);
      if (srow < 0 || srow >= s->Height()) {
        previousRow = -1;
        continue;
      }
      // Enlarging repeats source rows: a repeated row is the target row above it.
      if (fast && code == 0xCC && d != s && srow == previousRow) {
        std::memcpy(d->Row(yy) + r.left, d->Row(yy - 1) + r.left, static_cast<std::size_t>(RectWidth(r)) * 4);
        continue;
      }
      previousRow = srow;
      if (fast) {
        const Pixel* in = s->Row(srow);
        Pixel* out = d->Row(yy);
        for (int xx = r.left; xx < r.right; ++xx) {
          const int col = columns[static_cast<std::size_t>(xx - box.left)];
          if (col < 0 || col >= s->Width()) continue;
          out[xx] = code == 0xCC ? in[col] : ApplyRop(code, pattern, in[col], out[xx]);
        }
      } else {
        for (int xx = r.left; xx < r.right; ++xx) {
          const int col = columns[static_cast<std::size_t>(xx - box.left)];
          if (col < 0 || col >= s->Width()) continue;
          d->SetPixelAt(xx, yy, ApplyRop(code, pattern, s->PixelAt(col, srow), d->PixelAt(xx, yy)));
        }
      }
    }
  }
  return TRUE;
}

BOOL PatBlt(HDC handle, int x, int y, int width, int height, DWORD rop) {
  DcObject* dc = GetDc(handle);
  if (!dc) return FALSE;
  const std::uint8_t code = RopCode(rop);
  if (RopUsesSource(code)) return FALSE;
  Bitmap* d = dc->Surface();
  if (!d) return FALSE;
  if (RopUsesPattern(code) && !PatternUsable(*dc)) return TRUE;
  bool fx, fy;
  const RECT target = dc->ToSurface(Normalise(x, y, width, height, &fx, &fy));
  const Pixel pattern = PatternPixel(*dc);
  if (code == 0xF0 || code == 0x00 || code == 0xFF) {
    FillSurface(*dc, target, ApplyRop(code, pattern, 0, 0));
    return TRUE;
  }
  for (const RECT& c : dc->Clip().Rects()) {
    const RECT r = Intersection(c, target);
    for (int yy = r.top; yy < r.bottom; ++yy)
      for (int xx = r.left; xx < r.right; ++xx) d->SetPixelAt(xx, yy, ApplyRop(code, pattern, 0, d->PixelAt(xx, yy)));
  }
  return TRUE;
}

}  // namespace plat
