#include "paint/section_texture.h"

#include <algorithm>

#include "framework/bitmap.h"
#include "paint/bitmap_ops.h"
#include "paint/masks.h"
#include "paint/section_lookup.h"
#include "platform/base/pixel_rows.h"

namespace velmora {
namespace {

using plat::RECT;

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

bool Inside(const RECT& piece, const fw::TBitmap& bitmap) {
  return piece.left >= 0 && piece.top >= 0 && piece.right > piece.left && piece.bottom > piece.top &&
         piece.right <= bitmap.Width() && piece.bottom <= bitmap.Height();
}

// Tiles of `piece` laid over `area` from its top-left corner, opaque. wholeOnly stops before a
// tile that would be cut at the right or bottom.
void TileOpaque(fw::TBitmap& dst, const RECT& area, const fw::TBitmap& src, const RECT& piece, bool wholeOnly) {
  plat::Bitmap* d = dst.Pixels();
  const plat::Bitmap* s = src.Pixels();
  if (!d || !s || d->Format() != plat::PixelFormat::Bgra32) return;
  const int tw = Width(piece), th = Height(piece);
  RECT r{std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, d->Width()), std::min(area.bottom, d->Height())};
  if (wholeOnly) {
    r.right = std::min(r.right, area.left + (Width(area) / tw) * tw);
    r.bottom = std::min(r.bottom, area.top + (Height(area) / th) * th);
  }
  if (r.left >= r.right || r.top >= r.bottom) return;
  const bool packed = s->Format() == plat::PixelFormat::Bgra32;
  for (int y = r.top; y < r.bottom; ++y) {
    const int sy = piece.top + (y - area.top) % th;
    plat::Pixel* row = d->Row(y);
    int x = r.left;
    int sx = piece.left + (x - area.left) % tw;
    while (x < r.right) {
      const int n = std::min(piece.right - sx, r.right - x);
      if (packed) {
        plat::CopyRowOpaque(row + x, s->Row(sy) + sx, n);
      } else {
        for (int i = 0; i < n; ++i) row[x + i] = s->PixelAt(sx + i, sy) | 0xFF000000u;
      }
      x += n;
      sx = piece.left;
    }
  }
}

// The piece stretched over `area`, pixels dropped or repeated, then made opaque.
void StretchOpaque(fw::TBitmap& dst, const RECT& area, fw::TBitmap& src, const RECT& piece) {
  if (Width(area) <= 0 || Height(area) <= 0) return;
  StretchMasked(area.left, area.top, Width(area), Height(area), false, 0, src, dst, piece.left, piece.top, Width(piece),
                Height(piece));
  SetRectAlpha(dst, area, 255, kNoKey);
}

}  // namespace

TacTexture MaskTexture(const TacSkinIndex& skin, int maskIndex) {
  if (!ValidMask(&skin, maskIndex)) return {};
  const TsMaskData& mask = skin.ma[static_cast<std::size_t>(maskIndex)];
  fw::TBitmap* source = mask.Bmp ? mask.Bmp.get() : skin.MasterBitmap.get();
  if (!source || !Inside(mask.R, *source)) return {};
  return {&mask, source, nullptr};
}

TacTexture PatternTexture(const TacSkinIndex& skin, int patternIndex) {
  if (!ValidPattern(&skin, patternIndex)) return {};
  const TsPatternData& pattern = skin.pa[static_cast<std::size_t>(patternIndex)];
  if (!pattern.Img || pattern.Img->Width() <= 0 || pattern.Img->Height() <= 0) return {};
  return {nullptr, nullptr, &pattern.Img->Bitmap()};
}

RECT FillTexture(fw::TBitmap& dst, const RECT& rect, const TacTexture& texture, const TCacheInfo& cacheAtDst,
                 bool& painted) {
  painted = false;
  if (!texture.Valid()) return rect;
  painted = true;
  if (texture.Pattern) {
    TileOpaque(dst, rect, *texture.Pattern, {0, 0, texture.Pattern->Width(), texture.Pattern->Height()}, false);
    return {};
  }
  const TsMaskData& mask = *texture.Mask;
  const int kind = mask.DrawMode;
  if (texture.Masked()) {
    TileMasked(dst, rect, texture, kind == tkWholeTiles, cacheAtDst);
    return {};
  }
  const RECT& piece = mask.R;
  // A piece of the mask's own bitmap is tiled whatever its kind.
  if (mask.Bmp) {
    TileOpaque(dst, rect, *texture.Source, piece, false);
    return {};
  }
  const int w = std::min(Width(piece), Width(rect)), h = std::min(Height(piece), Height(rect));
  switch (kind) {
    case tkTile:
      TileOpaque(dst, rect, *texture.Source, piece, false);
      return {};
    case tkWholeTiles:
      TileOpaque(dst, rect, *texture.Source, piece, true);
      return {};
    case tkStretch:
      StretchOpaque(dst, rect, *texture.Source, piece);
      return {};
    case tkTopRow:
      TileOpaque(dst, {rect.left, rect.top, rect.right, rect.top + h}, *texture.Source, piece, false);
      return {rect.left, rect.top + h, rect.right, rect.bottom};
    case tkLeftColumn:
      TileOpaque(dst, {rect.left, rect.top, rect.left + w, rect.bottom}, *texture.Source, piece, false);
      return {rect.left + w, rect.top, rect.right, rect.bottom};
    case tkTopStretch:
      StretchOpaque(dst, {rect.left, rect.top, rect.right, rect.top + h}, *texture.Source, piece);
      return {rect.left, rect.top + h, rect.right, rect.bottom};
    case tkLeftStretch:
      StretchOpaque(dst, {rect.left, rect.top, rect.left + w, rect.bottom}, *texture.Source, piece);
      return {rect.left + w, rect.top, rect.right, rect.bottom};
    case tkBottomRow:
      TileOpaque(dst, {rect.left, rect.bottom - h, rect.right, rect.bottom}, *texture.Source, piece, false);
      return {rect.left, rect.top, rect.right, rect.bottom - h};
    case tkRightColumn:
      TileOpaque(dst, {rect.right - w, rect.top, rect.right, rect.bottom}, *texture.Source, piece, false);
      return {rect.left, rect.top, rect.right - w, rect.bottom};
    default:
      // Kinds no skin defines paint nothing; the colour takes the rectangle.
      painted = false;
      return rect;
  }
}

void TileMasked(fw::TBitmap& dst, const RECT& rect, const TacTexture& texture, bool wholeOnly,
                const TCacheInfo& cacheAtDst) {
  if (!texture.Masked()) return;
  const TsMaskData& mask = *texture.Mask;
  const int tw = mask.ImageCount > 0 ? Width(mask.R) / mask.ImageCount : 0, th = Height(mask.R) / 2;
  if (tw <= 0 || th <= 0) return;
  const RECT frame{mask.R.left, mask.R.top, mask.R.left + tw, mask.R.top + th};
  const int right = wholeOnly ? rect.left + (Width(rect) / tw) * tw : rect.right;
  const int bottom = wholeOnly ? rect.top + (Height(rect) / th) * th : rect.bottom;
  for (int y = rect.top; y < bottom; y += th)
    for (int x = rect.left; x < right; x += tw)
      MaskedCopy({x, y, std::min(x + tw, right), std::min(y + th, bottom)}, frame, dst, mask, false, cacheAtDst,
                 *texture.Source);
  if (!wholeOnly) return;
  PutCacheBackground(dst, {right, rect.top, rect.right, rect.bottom}, cacheAtDst);
  PutCacheBackground(dst, {rect.left, bottom, right, rect.bottom}, cacheAtDst);
}

void CopyPixels(fw::TBitmap& dst, const RECT& rect, fw::TBitmap& src, int sx, int sy) {
  // The platform's block copy clips to both pictures.
  plat::BitBlt(dst.Canvas().Handle(), rect.left, rect.top, Width(rect), Height(rect), src.Canvas().Handle(), sx, sy,
               plat::SRCCOPY);
}

void PutCacheBackground(fw::TBitmap& dst, const RECT& rect, const TCacheInfo& cacheAtDst) {
  if (Width(rect) <= 0 || Height(rect) <= 0) return;
  if (cacheAtDst.Ready && cacheAtDst.Bmp) {
    if (cacheAtDst.Bmp != &dst) CopyPixels(dst, rect, *cacheAtDst.Bmp, rect.left + cacheAtDst.X, rect.top + cacheAtDst.Y);
  } else {
    FillPixels(dst, rect, static_cast<fw::TColor>(cacheAtDst.FillColor), 255);
  }
}

}  // namespace velmora
