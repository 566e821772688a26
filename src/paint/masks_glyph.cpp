// Glyph masks drawn at a point, and the parent background put back under magenta corners.
#include <algorithm>

#include "framework/bitmap.h"
#include "paint/bitmap_ops.h"
#include "paint/masks.h"
#include "paint/masks_kernels.h"
#include "platform/base/pixel_math.h"
#include "platform/base/pixel_rows.h"
#include "skin/sSkinManager.h"

namespace velmora {

using namespace mask_kernels;

namespace {

// A faded glyph lets more of the destination through: each mask channel raised by 100.
constexpr plat::Pixel RaiseMask(plat::Pixel m) {
  plat::Pixel out = 0;
  for (int shift = 0; shift < 24; shift += 8) out |= std::min<plat::Pixel>(((m >> shift) & 0xFFu) + 100, 255) << shift;
  return out;
}

// The glyph through its mask image: key pixels and fully transparent mask pixels (red 255) are
// skipped; the others blend, and the destination alpha grows by the mask's opacity:
//   A = A + ((A - 255) * (red - 255)) >> 8
void GlyphThroughMask(plat::Bitmap& dst, const plat::Bitmap& src, const Piece& p, int maskY, bool faded) {
  VELMORA_ASSERT(p.dx >= 0 && p.dy >= 0 && p.dx + p.w <= dst.Width() && p.dy + p.h <= dst.Height());
  VELMORA_ASSERT(p.sx >= 0 && p.sy >= 0 && p.sx + p.w <= src.Width() && maskY + p.h <= src.Height());
  for (int row = 0; row < p.h; ++row) {
    const plat::Pixel* image = src.Row(p.sy + row) + p.sx;
    const plat::Pixel* mask = src.Row(maskY + row) + p.sx;
    plat::Pixel* out = dst.Row(p.dy + row) + p.dx;
    for (int i = 0; i < p.w; ++i) {
      const int red = static_cast<int>(plat::PixelR(mask[i]));
      if (image[i] == kKeyColor || red == 255) continue;
      const int a = static_cast<int>(plat::PixelA(out[i]));
      const int alpha = a + (((a - 255) * (red - 255)) >> 8);
      const plat::Pixel m = faded ? RaiseMask(mask[i]) : mask[i];
      out[i] = plat::BlendThroughMask(out[i], image[i], m) | (static_cast<plat::Pixel>(alpha) << 24);
    }
  }
}

}  // namespace

void DrawGlyphMask(fw::TBitmap& dst, plat::POINT pt, int state, const TCacheInfo& cache, const TsMaskData& mask,
                   int mode) {
  plat::Bitmap* d = Pixels32(&dst);
  if (!d || state < 0) return;
  // A glyph with its own bitmap needs no manager; one in the master bitmap does.
  if (!mask.Bmp && (!mask.Manager || mask.ImageCount < 1)) return;
  fw::TBitmap* source = SourceOf(mask);
  const plat::Bitmap* s = Pixels32(source);
  if (!s || !StripInside(mask, *s)) return;
  const int fw = ImageWidthOf(mask), fh = ImageHeightOf(mask);
  if (fw <= 0 || fh <= 0) return;
  const int sx = mask.R.left + std::min(state, mask.ImageCount - 1) * fw, sy = mask.R.top;

  if (mask.MaskType > 0 || mask.Bmp) {
    Piece p{pt.x, pt.y, sx, sy, fw, fh};
    if (!ClipPiece(p, d->Width(), d->Height(), s->Width(), s->Height())) return;
    if (mask.MaskType > 0) {
      GlyphThroughMask(*d, *s, p, p.sy + fh, mode != 1);
      return;
    }
    for (int row = 0; row < p.h; ++row)
      plat::CopyRowKeyed(d->Row(p.dy + row) + p.dx, s->Row(p.sy + row) + p.sx, p.w, kKeyColor);
    return;
  }
  const plat::RECT frame{sx, sy, sx + fw - 1, sy + fh - 1};  // right and bottom included
  if (mode == 1) KeyedCopy(dst, *source, pt.x, pt.y, true, cache, kKeyColor, frame);
  else BlendKeyed(dst, pt.x, pt.y, kKeyColor, 0.5, frame, *source);
}

void FillCornerBackground(fw::TBitmap& dst, const fw::TBitmap& bg, const plat::RECT& dstRect, TacCornerKind kind,
                          const TacSkinIndex* skin, int maskIndex, plat::POINT bgOrigin) {
  plat::Bitmap* d = Pixels32(&dst);
  const plat::Bitmap* b = Pixels32(&bg);
  if (!d || !b) return;
  Piece p{dstRect.left, dstRect.top, bgOrigin.x, bgOrigin.y, SpanOf(dstRect.left, dstRect.right),
          SpanOf(dstRect.top, dstRect.bottom)};
  if (maskIndex < 0) {
    if (!ClipPiece(p, d->Width(), d->Height(), b->Width(), b->Height())) return;
    for (int row = 0; row < p.h; ++row) {
      const plat::Pixel* in = b->Row(p.sy + row) + p.sx;
      plat::Pixel* out = d->Row(p.dy + row) + p.dx;
      for (int i = 0; i < p.w; ++i)
        if ((out[i] & 0x00FFFFFFu) == kKeyColor) out[i] = in[i];
    }
    return;
  }
  if (!skin || static_cast<std::size_t>(maskIndex) >= skin->ma.size()) return;
  const TsMaskData& mask = skin->ma[static_cast<std::size_t>(maskIndex)];
  const plat::Bitmap* m = Pixels32(SourceOf(mask));
  if (!m) return;
  const bool right = kind == ckTopRight || kind == ckBottomRight;
  const bool bottom = kind == ckBottomLeft || kind == ckBottomRight;
  const int mx = mask.R.left + (right ? ImageWidthOf(mask) - mask.WR : 0);
  const int my = mask.R.top + (bottom ? ImageHeightOf(mask) - mask.WB : 0);
  // The piece must land inside the destination, the background and the mask's bitmap alike.
  int x0 = 0, x1 = p.w, y0 = 0, y1 = p.h;
  LimitOffsets(x0, x1, p.dx, d->Width());
  LimitOffsets(x0, x1, p.sx, b->Width());
  LimitOffsets(x0, x1, mx, m->Width());
  LimitOffsets(y0, y1, p.dy, d->Height());
  LimitOffsets(y0, y1, p.sy, b->Height());
  LimitOffsets(y0, y1, my, m->Height());
  for (int row = y0; row < y1; ++row) {
    const plat::Pixel* corner = m->Row(my + row) + (mx + x0);
    const plat::Pixel* in = b->Row(p.sy + row) + (p.sx + x0);
    plat::Pixel* out = d->Row(p.dy + row) + (p.dx + x0);
    for (int i = 0; i < x1 - x0; ++i)
      if ((corner[i] & 0x00FFFFFFu) == kKeyColor) out[i] = in[i];
  }
}

}  // namespace velmora
