#include "paint/bitmap_ops.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "paint/color_ops.h"
#include "paint/row_kernels.h"
#include "platform/base/assert.h"
#include "platform/base/pixel_rows.h"

namespace velmora {

namespace {

using plat::Pixel;
using plat::RECT;

Pixel ColorPixel(fw::TColor color, std::uint8_t alpha) {
  return (static_cast<Pixel>(alpha) << 24) | (ExchangeRedBlue(static_cast<std::uint32_t>(color)) & 0x00FFFFFFu);
}

template <class RowOp>
void ForRows(plat::Bitmap& b, const RECT& r, RowOp op) {
  for (int y = r.top; y < r.bottom; ++y) op(b.Row(y) + r.left, r.right - r.left);
}

// Two placed areas (a source and a destination), cut to both bitmaps. Positions are worked in 64
// bits so that no rectangle, however wild, can overflow on the way.
struct Placement {
  int srcX = 0, srcY = 0, dstX = 0, dstY = 0, width = 0, height = 0;
  bool Empty() const { return width <= 0 || height <= 0; }
};

// A piece of width x height at src in the source and dst in the destination: negative positions
// on either side move both inward; the piece is cut to both bitmaps.
Placement Place(long long sx, long long sy, long long dx, long long dy, long long width, long long height,
                const plat::Bitmap& src, const plat::Bitmap& dst) {
  auto cut = [](long long& s, long long& d, long long& n, long long sLimit, long long dLimit) {
    if (d < 0) s -= d, n += d, d = 0;
    if (s < 0) d -= s, n += s, s = 0;
    n = std::min({n, sLimit - s, dLimit - d});
  };
  cut(sx, dx, width, src.Width(), dst.Width());
  cut(sy, dy, height, src.Height(), dst.Height());
  if (width <= 0 || height <= 0) return {};
  VELMORA_ASSERT(sx >= 0 && sy >= 0 && dx >= 0 && dy >= 0 && sx + width <= src.Width() && dx + width <= dst.Width() &&
                 sy + height <= src.Height() && dy + height <= dst.Height());
  return {static_cast<int>(sx), static_cast<int>(sy), static_cast<int>(dx), static_cast<int>(dy), static_cast<int>(width),
          static_cast<int>(height)};
}

std::uint8_t ChannelByte(double v) { return static_cast<std::uint8_t>(std::clamp(std::nearbyint(v), 0.0, 255.0)); }

// Tables of one tint rule per channel of the colour (given in colour order, red low).
template <class Rule>
ChannelTables TintTables(plat::COLORREF color, Rule rule) {
  ChannelTables t;
  for (int c = 0; c < 256; ++c) {
    t.r[c] = ChannelByte(rule(c, static_cast<int>(plat::GetRValue(color))));
    t.g[c] = ChannelByte(rule(c, static_cast<int>(plat::GetGValue(color))));
    t.b[c] = ChannelByte(rule(c, static_cast<int>(plat::GetBValue(color))));
  }
  return t;
}

}  // namespace

plat::Bitmap* Pixels32(const fw::TBitmap& bitmap) {
  plat::Bitmap* pixels = bitmap.Pixels();
  return pixels && !pixels->Empty() && pixels->Format() == plat::PixelFormat::Bgra32 ? pixels : nullptr;
}

RECT ClipTo(const RECT& r, const plat::Bitmap& b) {
  return {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, b.Width()), std::min(r.bottom, b.Height())};
}

std::unique_ptr<fw::TBitmap> MakeBitmap32(int width, int height) {
  auto bitmap = std::make_unique<fw::TBitmap>();
  try {
    bitmap->SetSize(std::max(width, 0), std::max(height, 0));
  } catch (const std::exception&) {
    // A size the platform refuses leaves the bitmap empty, which every operation here ignores.
  }
  return bitmap;
}

std::unique_ptr<fw::TBitmap> CloneShape(const fw::TBitmap& bitmap) {
  auto clone = std::make_unique<fw::TBitmap>();
  try {
    clone->SetPixelFormat(bitmap.PixelFormat());
    clone->SetSize(bitmap.Width(), bitmap.Height());
  } catch (const std::exception&) {
  }
  return clone;
}

void FillPixels(fw::TBitmap& bitmap, const RECT& rect, fw::TColor color, std::uint8_t alpha) {
  plat::Bitmap* b = Pixels32(bitmap);
  if (!b) return;
  const RECT r = ClipTo(rect, *b);
  if (plat::IsEmpty(r)) return;
  const Pixel p = ColorPixel(color, alpha);
  ForRows(*b, r, [p](Pixel* row, int n) { FillRow(row, n, p); });
}

void PixelFrame(fw::TBitmap& bitmap, const RECT& r, int left, int top, int right, int bottom, fw::TColor color) {
  FillPixels(bitmap, {r.left, r.top, r.right, r.top + top}, color, 255);
  FillPixels(bitmap, {r.left, r.top + top, r.left + left, r.bottom}, color, 255);
  FillPixels(bitmap, {r.left + left, r.bottom - bottom, r.right, r.bottom}, color, 255);
  FillPixels(bitmap, {r.right - right, r.top + top, r.right, r.bottom - bottom}, color, 255);
}

void SetRectAlpha(fw::TBitmap& bitmap, const RECT& rect, std::uint8_t alpha, std::uint32_t keyPixel) {
  plat::Bitmap* b = Pixels32(bitmap);
  if (!b) return;
  const RECT r = ClipTo(rect, *b);
  if (plat::IsEmpty(r)) return;
  ForRows(*b, r, [&](Pixel* row, int n) { SetAlphaRow(row, n, alpha, keyPixel); });
}

void BrushFill(plat::HDC dc, const RECT& rect, fw::TColor color) {
  if (!dc || plat::IsEmpty(rect)) return;
  const int saved = plat::SaveDC(dc);
  plat::HBRUSH brush = plat::CreateSolidBrush(fw::ColorToRGB(color));
  plat::SelectObject(dc, brush);
  plat::PatBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, plat::PATCOPY);
  plat::RestoreDC(dc, saved);
  plat::DeleteObject(brush);
}

void BrushFrame(plat::HDC dc, const RECT& r, int left, int top, int right, int bottom, fw::TColor color) {
  BrushFill(dc, {r.left, r.top, r.right, r.top + top}, color);
  BrushFill(dc, {r.left, r.top + top, r.left + left, r.bottom}, color);
  BrushFill(dc, {r.left + left, r.bottom - bottom, r.right, r.bottom}, color);
  BrushFill(dc, {r.right - right, r.top + top, r.right, r.bottom - bottom}, color);
}

void TintRect(fw::TBitmap& bitmap, const RECT& rect, int percent, fw::TColor color) {
  plat::Bitmap* b = Pixels32(bitmap);
  if (!b) return;
  const RECT r = ClipTo(rect, *b);
  if (plat::IsEmpty(r)) return;
  const double k = percent / 100.0;
  const ChannelTables t = TintTables(fw::ColorToRGB(color), [k](int c, int to) { return k * c + (1 - k) * to; });
  ForRows(*b, r, [&t](Pixel* row, int n) { MapChannelsRow(row, n, t); });
}

void TintRectAlpha(fw::TBitmap& bitmap, const RECT& rect, fw::TColor color, std::uint8_t alpha, int percent) {
  plat::Bitmap* b = Pixels32(bitmap);
  if (!b) return;
  const RECT r = ClipTo(rect, *b);
  if (plat::IsEmpty(r)) return;
  const ChannelTables t = TintTables(fw::ColorToRGB(color), [percent](int c, int to) {
    return c - static_cast<double>(percent) * (c - to) / 100;
  });
  ForRows(*b, r, [&](Pixel* row, int n) { MapChannelsSetAlphaRow(row, n, t, alpha); });
}

void BlendBitmapInto(fw::TBitmap& dst, const fw::TBitmap& src, std::uint8_t keep, plat::POINT at, const RECT& srcRect) {
  plat::Bitmap* d = Pixels32(dst);
  plat::Bitmap* s = Pixels32(src);
  if (!d || !s) return;
  const long long width = static_cast<long long>(srcRect.right) - srcRect.left;
  const long long height = static_cast<long long>(srcRect.bottom) - srcRect.top;
  const Placement p = Place(srcRect.left, srcRect.top, at.x, at.y, width, height, *s, *d);
  if (p.Empty()) return;
  for (int y = 0; y < p.height; ++y) BlendKeepRow(d->Row(p.dstY + y) + p.dstX, s->Row(p.srcY + y) + p.srcX, p.width, keep);
}

void BlendSameSize(fw::TBitmap& dst, const fw::TBitmap& src, std::uint8_t keep) {
  plat::Bitmap* d = Pixels32(dst);
  plat::Bitmap* s = Pixels32(src);
  if (!d || !s || d->Width() != s->Width() || d->Height() != s->Height()) return;
  // 32-bit rows are packed: the picture is one long row.
  BlendKeepRow(d->Row(0), s->Row(0), d->Width() * d->Height(), keep);
}

void BlendKeyed(fw::TBitmap& dst, int x, int y, std::uint32_t keyPixel, double weight, const RECT& srcRect,
                const fw::TBitmap& src) {
  plat::Bitmap* d = Pixels32(dst);
  plat::Bitmap* s = Pixels32(src);
  if (!d || !s) return;
  // Right and Bottom are inside the source rectangle here.
  const long long right = std::min<long long>(srcRect.right, s->Width() - 1);
  const long long bottom = std::min<long long>(srcRect.bottom, s->Height() - 1);
  const Placement p = Place(srcRect.left, srcRect.top, x, y, right - srcRect.left + 1, bottom - srcRect.top + 1, *s, *d);
  if (p.Empty()) return;
  // Checking a weight's fixed-point form costs more than a small blend: the last one is kept.
  static double lastWeight = 0.4;
  static KeyedWeight last(lastWeight);
  if (weight != lastWeight) {
    last = KeyedWeight(weight);
    lastWeight = weight;
  }
  for (int row = 0; row < p.height; ++row)
    BlendKeyedRow(d->Row(p.dstY + row) + p.dstX, s->Row(p.srcY + row) + p.srcX, p.width, keyPixel, last);
}

void CopyKeyed(fw::TBitmap& dst, const fw::TBitmap& src, int x, int y, fw::TColor keyColor) {
  plat::Bitmap* d = Pixels32(dst);
  plat::Bitmap* s = Pixels32(src);
  if (!d || !s) return;
  const Placement p = Place(0, 0, x, y, s->Width(), s->Height(), *s, *d);
  if (p.Empty()) return;
  const Pixel key = ExchangeRedBlue(static_cast<std::uint32_t>(keyColor));
  for (int row = 0; row < p.height; ++row)
    plat::CopyRowKeyed(d->Row(p.dstY + row) + p.dstX, s->Row(p.srcY + row) + p.srcX, p.width, key, 0xFFFFFFFFu,
                       0xFF000000u);
}

void BlendAlphaImage(const RECT& dstRect, const RECT& srcRect, fw::TBitmap& dst, bool cornerMode, const TCacheInfo& cache,
                     const fw::TBitmap& src) {
  plat::Bitmap* d = Pixels32(dst);
  plat::Bitmap* s = Pixels32(src);
  if (!d || !s) return;
  const long long width = std::min<long long>(static_cast<long long>(dstRect.right) - dstRect.left,
                                              static_cast<long long>(srcRect.right) - srcRect.left);
  const long long height = std::min<long long>(static_cast<long long>(dstRect.bottom) - dstRect.top,
                                               static_cast<long long>(srcRect.bottom) - srcRect.top);
  const Placement p = Place(srcRect.left, srcRect.top, dstRect.left, dstRect.top, width, height, *s, *d);
  if (p.Empty()) return;
  plat::Bitmap* behind = cornerMode && cache.Ready && cache.Bmp ? Pixels32(*cache.Bmp) : nullptr;
  for (int row = 0; row < p.height; ++row) {
    Pixel* out = d->Row(p.dstY + row) + p.dstX;
    const Pixel* in = s->Row(p.srcY + row) + p.srcX;
    if (!cache.Ready) {
      BlendAlphaRow(out, in, p.width);
      continue;
    }
    const long long cacheY = static_cast<long long>(p.dstY) + row + cache.Y;
    const bool inside = behind && cacheY >= 0 && cacheY < behind->Height();
    const Pixel* cacheRow = inside ? behind->Row(static_cast<int>(cacheY)) : nullptr;
    BlendAlphaRowKeyed(out, in, p.width, cacheRow, inside ? p.dstX + cache.X : 0, inside ? behind->Width() : 0);
  }
}

}  // namespace velmora
