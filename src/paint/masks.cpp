// Frame geometry of masks and the lookups by mask index.
#include "paint/masks.h"

#include "skin/sSkinManager.h"

namespace velmora {

int ImageWidthOf(const TsMaskData& mask) {
  if (mask.ImageCount <= 0) return 0;
  const int width = plat::RectWidth(mask.R);
  return mask.ImageCount == 1 ? width : width / mask.ImageCount;
}

int ImageHeightOf(const TsMaskData& mask) {
  if (mask.MaskType < 0) return 0;
  return plat::RectHeight(mask.R) / (mask.MaskType + 1);
}

namespace {

const TsMaskData* MaskAt(const TacSkinIndex& skin, int maskIndex) {
  if (maskIndex < 0 || static_cast<std::size_t>(maskIndex) >= skin.ma.size()) return nullptr;
  return &skin.ma[static_cast<std::size_t>(maskIndex)];
}

}  // namespace

void DrawBorderMask(fw::TBitmap& dst, const plat::RECT& rect, int state, bool cornerMode, const TacSkinIndex& skin,
                    int maskIndex, const TCacheInfo& cache) {
  if (const TsMaskData* mask = MaskAt(skin, maskIndex)) DrawBorderMask(dst, rect, state, cornerMode, *mask, cache);
}

void DrawGlyphMask(fw::TBitmap& dst, plat::POINT pt, int state, const TCacheInfo& cache, const TacSkinIndex& skin,
                   int maskIndex, int mode) {
  if (const TsMaskData* mask = MaskAt(skin, maskIndex)) DrawGlyphMask(dst, pt, state, cache, *mask, mode);
}

}  // namespace velmora
