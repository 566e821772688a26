#include "paint/sections.h"

#include "framework/bitmap.h"
#include "paint/bitmap_ops.h"
#include "paint/color_ops.h"
#include "paint/masks.h"
#include "paint/section_lookup.h"
#include "paint/section_skin_state.h"

namespace velmora {
namespace {

using plat::RECT;

// The four corner images of a section, their magenta pixels leaving what is under them.
// bottomLeftX is where the bottom-left image goes (controls put it at 0).
void DrawCorners(const TacSkinIndex& skin, const TsGeneralData& section, fw::TBitmap& bitmap, const RECT& rect,
                 int state, int bottomLeftX) {
  const TCacheInfo self = SelfCacheInfo(bitmap, 0, 0);
  auto draw = [&](int index, auto place) {
    if (!ValidMask(&skin, index)) return;
    const TsMaskData& mask = skin.ma[static_cast<std::size_t>(index)];
    DrawGlyphMask(bitmap, place(ImageWidthOf(mask), ImageHeightOf(mask)), state, self, mask, 1);
  };
  draw(section.ImgTL, [&](int, int) { return plat::POINT{rect.left, rect.top}; });
  draw(section.ImgTR, [&](int w, int) { return plat::POINT{rect.right - w, rect.top}; });
  draw(section.ImgBL, [&](int, int h) { return plat::POINT{bottomLeftX, rect.bottom - h}; });
  draw(section.ImgBR, [&](int w, int h) { return plat::POINT{rect.right - w, rect.bottom - h}; });
}

TCacheInfo Moved(TCacheInfo cache, plat::POINT origin) {
  cache.X += origin.x;
  cache.Y += origin.y;
  return cache;
}

// The border of a control: not in state 0 when its mask says so. Answers whether it was drawn.
bool DrawControlBorder(TacPaintSkinState& skinState, const TacSkinIndex& skin, fw::TBitmap& bitmap, const RECT& rect,
                       int state, bool cornerMode, const TCacheInfo& cacheAtBitmap) {
  if (!ValidMask(&skin, skinState.BorderIndex)) return false;
  const TsMaskData& mask = skin.ma[static_cast<std::size_t>(skinState.BorderIndex)];
  if (state == 0 && (mask.DrawMode & kBorderSkipNormal)) return false;
  DrawBorderMask(bitmap, rect, state, cornerMode, mask, cacheAtBitmap);
  return true;
}

TColor ControlFill(const TacPaintSkinState& skinState) {
  return skinState.FCustomColor ? skinState.OwnerColor() : kKeyColor;
}

}  // namespace

void PaintSection(int sectionIndex, const std::string& sectionName, TCacheInfo cache, int overlayTexture,
                  int textureOverride, const TacSkinIndex* skin, fw::TBitmap* bitmap, plat::POINT origin,
                  const RECT& rect, int state, bool cornerMode) {
  skin = SkinOrDefault(skin);
  if (!RectFits(bitmap, rect) || !ValidSection(skin, sectionIndex)) return;
  const TsGeneralData& section = skin->gd[static_cast<std::size_t>(sectionIndex)];
  state = ClampState(section, state);
  PaintSectionBackground(sectionIndex, sectionName, cache, kKeyColor, overlayTexture, textureOverride, skin, bitmap,
                         origin, rect, state);
  DrawCorners(*skin, section, *bitmap, rect, state, rect.left);
  if (ValidMask(skin, section.BorderIndex))
    DrawBorderMask(*bitmap, rect, state, cornerMode, skin->ma[static_cast<std::size_t>(section.BorderIndex)],
                   Moved(cache, origin));
}

void PaintControlSection(TacPaintSkinState& skinState, const TCacheInfo& cache, bool cornerMode, fw::TBitmap* bitmap,
                         plat::POINT origin, const RECT& rect, int state) {
  const TacSkinIndex* skin = skinState.PaintIndex();
  if (!RectFits(bitmap, rect) || !ValidSection(skin, skinState.SkinIndex)) return;
  const TsGeneralData& section = skin->gd[static_cast<std::size_t>(skinState.SkinIndex)];
  state = ClampState(section, state);
  PaintSectionBackground(skinState.SkinIndex, skinState.FSkinSection, cache, ControlFill(skinState),
                         skinState.HotTexture, skinState.Texture, skin, bitmap, origin, rect, state);
  DrawCorners(*skin, section, *bitmap, rect, state, 0);
  const bool bordered = DrawControlBorder(skinState, *skin, *bitmap, rect, state, cornerMode, Moved(cache, origin));
  // A see-through section without a border shows its parent, which is tinted already.
  if (!bordered && section.Props[static_cast<std::size_t>(PropsIndex(state))].Transparency != 0) return;
  if (skinState.FHUEOffset != 0) ShiftBitmapHue(*bitmap->Pixels(), skinState.FHUEOffset);
  if (skinState.FSaturation != 0) ScaleBitmapSaturation(*bitmap->Pixels(), skinState.FSaturation);
}

bool PaintPanelSection(TacPaintSkinState& skinState, bool cornerMode, fw::TBitmap* bitmap, plat::POINT origin,
                       const RECT& rect, int state) {
  TCacheInfo cache;
  if (skinState.QueryParentBackground(cache) == TacParentBackground::NotReady) {
    skinState.FUpdating = false;
    return false;
  }
  const TacSkinIndex* skin = skinState.PaintIndex();
  if (!RectFits(bitmap, rect) || !ValidSection(skin, skinState.SkinIndex)) return true;
  const TsGeneralData& section = skin->gd[static_cast<std::size_t>(skinState.SkinIndex)];
  state = ClampState(section, state);
  PaintSectionBackground(skinState.SkinIndex, skinState.FSkinSection, cache, ControlFill(skinState),
                         skinState.HotTexture, skinState.Texture, skin, bitmap, origin, rect, state);
  DrawControlBorder(skinState, *skin, *bitmap, rect, state, cornerMode, Moved(cache, origin));
  DrawCorners(*skin, section, *bitmap, rect, state, 0);
  return true;
}

void PaintSectionToDC(int sectionIndex, const std::string& sectionName, const TCacheInfo& cache,
                      const TacSkinIndex* skin, plat::HDC dc, plat::POINT origin, const RECT& rect, int state,
                      bool cornerMode) {
  skin = SkinOrDefault(skin);
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (!dc || !ValidSection(skin, sectionIndex) || rect.left < 0 || rect.top < 0 || w <= 0 || h <= 0) return;
  const auto picture = MakeBitmap32(w, h);
  if (picture->Width() != w || picture->Height() != h) return;
  const int saved = plat::SaveDC(dc);
  PaintSection(sectionIndex, sectionName, cache, -1, -1, skin, picture.get(), origin, {0, 0, w, h}, state, cornerMode);
  plat::BitBlt(dc, rect.left, rect.top, w, h, picture->Canvas().Handle(), 0, 0, plat::SRCCOPY);
  plat::RestoreDC(dc, saved);
}

}  // namespace velmora
