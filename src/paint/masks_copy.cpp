// Copying one piece of a skin image: through its mask image, or with a key colour transparent.
#include <algorithm>
#include <cstring>

#include "framework/bitmap.h"
#include "paint/bitmap_ops.h"
#include "paint/masks.h"
#include "paint/masks_kernels.h"
#include "platform/base/pixel_math.h"
#include "platform/base/pixel_rows.h"
#include "skin/sSkinManager.h"

namespace velmora {
namespace mask_kernels {

plat::Bitmap* Pixels32(const fw::TBitmap* bitmap) {
  plat::Bitmap* p = bitmap ? bitmap->Pixels() : nullptr;
  if (!p || p->Empty() || p->Format() != plat::PixelFormat::Bgra32) return nullptr;
  return p;
}

fw::TBitmap* SourceOf(const TsMaskData& mask) {
  if (mask.Bmp) return mask.Bmp.get();
  return mask.Manager ? mask.Manager->MasterBitmap.get() : nullptr;
}

bool StripInside(const TsMaskData& mask, const plat::Bitmap& source) {
  const plat::RECT& r = mask.R;
  return r.left >= 0 && r.top >= 0 && r.right <= source.Width() && r.bottom <= source.Height() &&
         r.right >= r.left && r.bottom >= r.top;
}

Backdrop BackdropOf(const TCacheInfo& cache) {
  return Backdrop{Pixels32(cache.Bmp), cache.X, cache.Y, plat::SwapRedBlue(cache.FillColor), cache.Ready};
}

bool ClipPiece(Piece& p, int dstWidth, int dstHeight, int srcWidth, int srcHeight) {
  // Offsets into the piece that land inside both bitmaps; a cut at the start moves both corners.
  int x0 = 0, x1 = p.w, y0 = 0, y1 = p.h;
  LimitOffsets(x0, x1, p.dx, dstWidth);
  LimitOffsets(x0, x1, p.sx, srcWidth);
  LimitOffsets(y0, y1, p.dy, dstHeight);
  LimitOffsets(y0, y1, p.sy, srcHeight);
  if (x1 <= x0 || y1 <= y0) return false;
  p = Piece{p.dx + x0, p.dy + y0, p.sx + x0, p.sy + y0, x1 - x0, y1 - y0};
  return true;
}

void MaskedCopyRows(plat::Bitmap& dst, const plat::Bitmap& src, const Piece& p, int maskY, bool cornerMode,
                    const Backdrop& bg) {
  VELMORA_ASSERT(p.dx >= 0 && p.dy >= 0 && p.dx + p.w <= dst.Width() && p.dy + p.h <= dst.Height());
  VELMORA_ASSERT(p.sx >= 0 && p.sy >= 0 && p.sx + p.w <= src.Width() && p.sy + p.h <= src.Height());
  VELMORA_ASSERT(maskY >= 0 && maskY + p.h <= src.Height());
  for (int row = 0; row < p.h; ++row) {
    const plat::Pixel* image = src.Row(p.sy + row) + p.sx;
    const plat::Pixel* mask = src.Row(maskY + row) + p.sx;
    plat::Pixel* out = dst.Row(p.dy + row) + p.dx;
    for (int i = 0; i < p.w; ++i) {
      const plat::Pixel s = image[i];
      const bool key = s == kKeyColor;
      if (bg.ready) {
        plat::Pixel behind;
        if (key && cornerMode) {
          if (bg.PixelBehind(p.dx + i, p.dy + row, &behind)) out[i] = behind | 0xFF000000u;
          else out[i] |= 0xFF000000u;
        } else {
          out[i] = plat::BlendThroughMask(out[i], s, mask[i]) | 0xFF000000u;
        }
      } else if (key) {
        if (cornerMode) out[i] = bg.fill;
      } else {
        out[i] = plat::BlendThroughMask(out[i], s, mask[i]) | (out[i] & 0xFF000000u);
      }
    }
  }
}

void KeyedCopyRows(plat::Bitmap& dst, const plat::Bitmap& src, const Piece& p, plat::Pixel key, bool cornerMode,
                   const Backdrop& bg, bool dstIsBackdrop) {
  VELMORA_ASSERT(p.dx >= 0 && p.dy >= 0 && p.dx + p.w <= dst.Width() && p.dy + p.h <= dst.Height());
  VELMORA_ASSERT(p.sx >= 0 && p.sy >= 0 && p.sx + p.w <= src.Width() && p.sy + p.h <= src.Height());
  // Drawing into the background itself: key pixels already show it, the rest becomes opaque.
  const plat::Pixel setBits = bg.ready && cornerMode && dstIsBackdrop ? 0xFF000000u : 0;
  const bool keyShowsBackground = bg.ready && cornerMode && !dstIsBackdrop;
  const plat::Pixel fill = bg.fill & 0x00FFFFFFu;
  for (int row = 0; row < p.h; ++row) {
    const plat::Pixel* in = src.Row(p.sy + row) + p.sx;
    plat::Pixel* out = dst.Row(p.dy + row) + p.dx;
    plat::CopyRowKeyed(out, in, p.w, key, 0xFFFFFFFFu, setBits);
    if (bg.ready && !keyShowsBackground) continue;
    for (int i = 0; i < p.w; ++i) {
      if (in[i] != key) continue;
      plat::Pixel behind;
      if (!bg.ready) out[i] = fill;
      else if (bg.PixelBehind(p.dx + i, p.dy + row, &behind)) out[i] = behind;
    }
  }
}

void TileRows(plat::Bitmap& dst, const plat::RECT& to, const plat::RECT& visible, const plat::Bitmap& src, int sx,
              int sy, int sw, int sh) {
  VELMORA_ASSERT(sw > 0 && sh > 0 && sx >= 0 && sy >= 0 && sx + sw <= src.Width() && sy + sh <= src.Height());
  VELMORA_ASSERT(visible.left >= to.left && visible.top >= to.top && visible.right <= to.right &&
                 visible.bottom <= to.bottom);
  VELMORA_ASSERT(visible.left >= 0 && visible.top >= 0 && visible.right <= dst.Width() &&
                 visible.bottom <= dst.Height());
  const int count = plat::RectWidth(visible);
  if (count <= 0) return;
  const int phase = (visible.left - to.left) % sw;
  for (int y = visible.top; y < visible.bottom; ++y) {
    const plat::Pixel* in = src.Row(sy + (y - to.top) % sh) + sx;
    plat::Pixel* out = dst.Row(y) + visible.left;
    // The rest of the tile the row starts in, then one whole tile at `first`.
    const int first = std::min(sw - phase, count);
    std::memcpy(out, in + phase, static_cast<std::size_t>(first) * 4);
    int done = first + std::min(sw, count - first);
    std::memcpy(out + first, in, static_cast<std::size_t>(done - first) * 4);
    // What is laid from `first` on is whole tiles: copying it on keeps the pattern.
    for (int laid = done - first; done < count; laid += laid) {
      const int n = std::min(laid, count - done);
      std::memcpy(out + done, out + first, static_cast<std::size_t>(n) * 4);
      done += n;
    }
  }
}

}  // namespace mask_kernels

using namespace mask_kernels;

void MaskedCopy(const plat::RECT& dstRect, const plat::RECT& srcRect, fw::TBitmap& dst, const TsMaskData& mask,
                bool cornerMode, const TCacheInfo& cache, const fw::TBitmap& src) {
  plat::Bitmap* d = Pixels32(&dst);
  const plat::Bitmap* s = Pixels32(&src);
  const int maskOffset = ImageHeightOf(mask);
  if (!d || !s || mask.MaskType <= 0 || maskOffset <= 0) return;
  Piece p{dstRect.left, dstRect.top, srcRect.left, srcRect.top,
          std::min(SpanOf(dstRect.left, dstRect.right), SpanOf(srcRect.left, srcRect.right)),
          std::min(SpanOf(dstRect.top, dstRect.bottom), SpanOf(srcRect.top, srcRect.bottom))};
  if (!ClipPiece(p, d->Width(), d->Height(), s->Width(), s->Height())) return;
  // The mask rows stay inside the source even for a piece at its very bottom.
  const int maskY = std::min(p.sy + maskOffset, s->Height() - p.h);
  MaskedCopyRows(*d, *s, p, maskY, cornerMode, BackdropOf(cache));
}

void KeyedCopy(fw::TBitmap& dst, const fw::TBitmap& src, int x, int y, bool cornerMode, const TCacheInfo& cache,
               plat::Pixel key, const plat::RECT& srcInclusive) {
  plat::Bitmap* d = Pixels32(&dst);
  const plat::Bitmap* s = Pixels32(&src);
  if (!d || !s) return;
  // Inclusive corners: the last column and row belong to the piece.
  Piece p{x, y, srcInclusive.left, srcInclusive.top, SpanOf(srcInclusive.left, std::int64_t{srcInclusive.right} + 1),
          SpanOf(srcInclusive.top, std::int64_t{srcInclusive.bottom} + 1)};
  if (!ClipPiece(p, d->Width(), d->Height(), s->Width(), s->Height())) return;
  KeyedCopyRows(*d, *s, p, key, cornerMode, BackdropOf(cache), cache.Bmp == &dst);
}

}  // namespace velmora
