// What controls do to their cached pictures besides painting their section: the disabled look,
// transparent corners given the parent's background again, and the border ring alone.
#include <algorithm>

#include "framework/bitmap.h"
#include "framework/controls.h"
#include "framework/win_control.h"
#include "paint/bitmap_ops.h"
#include "paint/color_ops.h"
#include "paint/masks.h"
#include "paint/section_lookup.h"
#include "paint/section_skin_state.h"
#include "paint/section_texture.h"
#include "paint/sections.h"

namespace velmora {
namespace {

using plat::RECT;

// One corner of the cached picture (cx, cy) and of the mask's frame (sx, sy), w x h.
struct TCornerPiece {
  int Bit;
  int Cx, Cy, Sx, Sy, W, H;
};

}  // namespace

void FadeDisabled(fw::TBitmap& bitmap, int flags, const fw::TControl* control, plat::POINT origin,
                  const TCacheInfo& cache) {
  plat::Bitmap* pixels = bitmap.Pixels();
  if (!pixels || pixels->Empty() || pixels->Format() != plat::PixelFormat::Bgra32) return;
  if (flags & kFadeGray) GrayBitmap(*pixels);
  if (!(flags & kFadeBlend)) return;
  if (cache.Ready && cache.Bmp) {
    const int x = cache.X + origin.x, y = cache.Y + origin.y;
    BlendKeyed(bitmap, 0, 0, kKeyColor, 0.4, {x, y, x + bitmap.Width() - 1, y + bitmap.Height() - 1}, *cache.Bmp);
    return;
  }
  TColor toward = static_cast<TColor>(cache.FillColor);
  if (toward == kKeyColor) {
    if (!control || !control->Parent()) return;
    toward = static_cast<TColor>(fw::ColorToRGB(control->Parent()->Color()));
  }
  TintRect(bitmap, {0, 0, bitmap.Width(), bitmap.Height()}, 50, toward);
}

void RefreshCorners(TacPaintSkinState& skinState, int state, int corners) {
  const TacSkinIndex* skin = skinState.PaintIndex();
  fw::TBitmap* cacheBmp = skinState.FCacheBmp.get();
  if (!ValidMask(skin, skinState.BorderIndex) || !cacheBmp || !skinState.OwnerControl()) return;
  plat::Bitmap* picture = cacheBmp->Pixels();
  if (!picture || picture->Empty() || picture->Format() != plat::PixelFormat::Bgra32) return;
  const TsMaskData& mask = skin->ma[static_cast<std::size_t>(skinState.BorderIndex)];
  if (mask.CornerType == 0) return;
  TCacheInfo parent;
  const TacParentBackground answer = skinState.QueryParentBackground(parent);
  if (answer == TacParentBackground::NoParent) return;
  const plat::Bitmap* parentPicture =
      answer == TacParentBackground::Picture && parent.Bmp ? parent.Bmp->Pixels() : nullptr;
  if (parentPicture && parentPicture->Format() != plat::PixelFormat::Bgra32) parentPicture = nullptr;
  const plat::Pixel parentColor = plat::ColorToPixel(fw::ColorToRGB(skinState.ParentColor()));

  const fw::TBitmap* sourceBmp = mask.Bmp ? mask.Bmp.get() : skin->MasterBitmap.get();
  const plat::Bitmap* source = sourceBmp ? sourceBmp->Pixels() : nullptr;
  if (!source || source->Format() != plat::PixelFormat::Bgra32) return;
  // An own bitmap without frames holds three of them over its whole width, a mask image below.
  RECT r = mask.R;
  int frames = mask.ImageCount, frameW = ImageWidthOf(mask), fh = ImageHeightOf(mask);
  if (mask.Bmp && mask.ImageCount == 0) {
    r = {0, 0, source->Width(), source->Height()};
    frames = 3;
    frameW = source->Width() / 3;
    fh = source->Height() / 2;
  }
  if (frames <= 0 || frameW <= 0 || fh <= 0) return;
  const int frame = std::clamp(state, 0, frames - 1);
  const int sx = r.left + frame * frameW, sy = r.top;
  const int width = picture->Width(), height = picture->Height();
  const TCornerPiece pieces[] = {
      {kCornerTopLeft, 0, 0, sx, sy, mask.WL, mask.WT},
      {kCornerBottomLeft, 0, height - mask.WB, sx, sy + fh - mask.WB, mask.WL, mask.WB},
      {kCornerBottomRight, width - mask.WR, height - mask.WB, sx + frameW - mask.WR, sy + fh - mask.WB, mask.WR, mask.WB},
      {kCornerTopRight, width - mask.WR, 0, sx + frameW - mask.WR, sy, mask.WR, mask.WT},
  };
  for (const TCornerPiece& p : pieces) {
    if (!(corners & p.Bit)) continue;
    for (int y = 0; y < p.H; ++y) {
      const int cy = p.Cy + y, iy = p.Sy + y;
      if (cy < 0 || cy >= height || iy < 0 || iy >= source->Height()) continue;
      for (int x = 0; x < p.W; ++x) {
        const int cx = p.Cx + x, ix = p.Sx + x;
        if (cx < 0 || cx >= width || ix < 0 || ix >= source->Width() || source->Row(iy)[ix] != kKeyColor) continue;
        const int px = cx + parent.X, py = cy + parent.Y;
        const bool inParent = parentPicture && px >= 0 && py >= 0 && px < parentPicture->Width() &&
                              py < parentPicture->Height();
        const plat::Pixel behind = inParent ? parentPicture->Row(py)[px] : parentColor;
        plat::Pixel& d = picture->Row(cy)[cx];
        d = (d & 0xFF000000u) | (behind & 0x00FFFFFFu);
      }
    }
  }
}

void PaintControlBorder(plat::HDC dc, const RECT& rect, int extraBorder, RECT& inner, int state,
                        TacPaintSkinState& skinState) {
  inner = rect;
  const TColor ring = skinState.EffectiveColor(state);
  TCacheInfo parent;
  const bool parentPicture = skinState.QueryParentBackground(parent) == TacParentBackground::Picture && parent.Bmp;
  const TacSkinIndex* skin = skinState.PaintIndex();
  const int w = extraBorder;
  auto shrink = [](RECT r, int l, int t, int rr, int b) {
    r = {r.left + l, r.top + t, r.right - rr, r.bottom - b};
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
  };
  if (skinState.BorderIndex < 0 || !ValidMask(skin, skinState.BorderIndex)) {
    if (w > 0 && dc) {
      BrushFrame(dc, rect, w, w, w, w, ring);
      inner = shrink(rect, w, w, w, w);
    }
    return;
  }
  fw::TBitmap* cacheBmp = skinState.FCacheBmp.get();
  if (!cacheBmp || cacheBmp->Width() <= 0 || cacheBmp->Height() <= 0) return;
  const TsMaskData& mask = skin->ma[static_cast<std::size_t>(skinState.BorderIndex)];
  if (mask.MaskType == 1) {
    if (parentPicture) {
      const int b = std::max({mask.WL, mask.WT, mask.WR, mask.WB});
      const RECT bands[] = {{rect.left, rect.top, rect.right, rect.top + b},
                            {rect.left, rect.top, rect.left + b, rect.bottom},
                            {rect.left, rect.bottom - b, rect.right, rect.bottom},
                            {rect.right - b, rect.top, rect.right, rect.bottom}};
      for (const RECT& band : bands) CopyPixels(*cacheBmp, band, *parent.Bmp, band.left + parent.X, band.top + parent.Y);
    } else {
      BrushFrame(cacheBmp->Canvas().Handle(), rect, mask.WL, mask.WT, mask.WR, mask.WB, ring);
    }
  }
  int clampedState = state;
  if (ValidSection(skin, skinState.SkinIndex))
    clampedState = ClampState(skin->gd[static_cast<std::size_t>(skinState.SkinIndex)], state);
  DrawBorderMask(*cacheBmp, rect, clampedState, true, mask, parent);
  inner = shrink(rect, mask.WL, mask.WT, mask.WR, mask.WB);
  if (w <= 0) return;
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  auto band = [&](int extent, int opposite, int own) { return std::max(0, std::min(w, extent - opposite) - own); };
  PixelFrame(*cacheBmp, inner, band(width, mask.WR, mask.WL), band(height, mask.WB, mask.WT),
             band(width, mask.WL, mask.WR), band(height, mask.WT, mask.WB), static_cast<TColor>(fw::ColorToRGB(ring)));
  inner = shrink(rect, w, w, w, w);
  if (!dc || dc == cacheBmp->Canvas().Handle()) return;
  const RECT rings[] = {{rect.left, rect.top, rect.right, rect.top + w},
                        {rect.left, rect.top + w, rect.left + w, rect.bottom - w},
                        {rect.left, rect.bottom - w, rect.right, rect.bottom},
                        {rect.right - w, rect.top + w, rect.right, rect.bottom - w}};
  for (const RECT& r : rings)
    if (r.right > r.left && r.bottom > r.top)
      plat::BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, cacheBmp->Canvas().Handle(), r.left, r.top,
                   plat::SRCCOPY);
}

}  // namespace velmora
