#pragma once
// The texture of a section: where it comes from (a mask of the skin, usually a piece of the
// master bitmap, or a pattern image) and how it fills a rectangle by its kind.
#include "paint/cache_info.h"
#include "platform/base/geometry.h"
#include "skin/sSkinManager.h"

namespace fw {
class TBitmap;
}

namespace velmora {

// Fill kinds of a texture piece of the master bitmap.
enum TacTextureKind {
  tkTile = 0,           // tiles over the whole rectangle
  tkStretch = 1,        // one piece stretched over it
  tkTopRow = 2,         // a row of tiles along the top, the rest for the colour
  tkLeftColumn = 3,     // a column of tiles down the left
  tkTopStretch = 4,     // the piece stretched across the top
  tkLeftStretch = 5,    // ... down the left
  tkBottomRow = 6,      // a row of tiles along the bottom
  tkRightColumn = 7,    // a column of tiles down the right
  tkWholeTiles = 10,    // whole tiles only; partial ones at the right and bottom are not painted
};

struct TacTexture {
  const TsMaskData* Mask = nullptr;     // a mask of the skin, and
  fw::TBitmap* Source = nullptr;         // the bitmap its piece lies in; or
  const fw::TBitmap* Pattern = nullptr;  // a pattern image
  bool Valid() const { return Source != nullptr || Pattern != nullptr; }
  // A mask whose piece carries a mask image (transparency) below its picture.
  bool Masked() const { return Mask && Mask->MaskType != 0; }
};

// The texture a mask index names, checked: its piece must lie inside its bitmap. Invalid when
// the index is not a mask of the skin or the piece is empty or outside.
TacTexture MaskTexture(const TacSkinIndex& skin, int maskIndex);
TacTexture PatternTexture(const TacSkinIndex& skin, int patternIndex);

// Fills rect of dst with the texture by its kind, the pixels opaque, and answers the part of
// rect the texture leaves (empty when it covers everything). With `painted` false nothing was
// drawn (an unknown kind) and all of rect is left. cacheAtDst describes what lies behind dst's
// own pixels (X and Y of dst's origin in the cache picture).
plat::RECT FillTexture(fw::TBitmap& dst, const plat::RECT& rect, const TacTexture& texture,
                       const TCacheInfo& cacheAtDst, bool& painted);

// The masked tiling of an overlay texture: frames of the piece's width / ImageCount by its height
// / 2 through their mask images; with wholeOnly the strips at the right and bottom that cannot
// take a whole tile get the background instead.
void TileMasked(fw::TBitmap& dst, const plat::RECT& rect, const TacTexture& texture, bool wholeOnly,
                const TCacheInfo& cacheAtDst);

// The background of rect: the cache picture's pixels behind it when it is ready (and not dst
// itself), else its fill colour, opaque.
void PutCacheBackground(fw::TBitmap& dst, const plat::RECT& rect, const TCacheInfo& cacheAtDst);
// Copies the piece of src at (sx, sy) into rect of dst, all four bytes, cut to both bitmaps.
void CopyPixels(fw::TBitmap& dst, const plat::RECT& rect, fw::TBitmap& src, int sx, int sy);

}  // namespace velmora
