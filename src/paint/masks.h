#pragma once
// Drawing of the skin's image pieces: border masks as nine-piece frames tiled or stretched over
// any rectangle, glyph masks at a point, and the transparent corners of both (magenta pixels in
// the image, or a grey mask image stored below it). All destinations are 32-bit bitmaps; every
// call ends silently on a bad rectangle, a missing mask or bitmap, or an out-of-range state.
#include <vector>

#include "paint/cache_info.h"
#include "platform/base/color.h"
#include "platform/base/geometry.h"
#include "platform/gdi/gdi.h"
#include "skin/sStyleSimply.h"

namespace fw {
class TBitmap;
}

namespace velmora {

class TacSkinIndex;

// Width of one state frame: 0 without frames, else the strip's width / ImageCount.
int ImageWidthOf(const TsMaskData& mask);
// Height of one frame: 0 with no image rows (MaskType -1), else the strip's height divided by
// the number of pictures stacked in it (MaskType + 1).
int ImageHeightOf(const TsMaskData& mask);

// DrawMode bits of a border mask.
inline constexpr int kBorderStretch = 1;       // edges and centre stretched, else tiled
inline constexpr int kBorderSkipNormal = 2;    // nothing drawn in state 0
inline constexpr int kBorderFillCentre = 4;    // the centre piece is drawn too

// A border mask as a nine-piece frame over rect; edges shrink evenly (the right and bottom ones
// taking the odd pixel) when the rectangle is too small for them. cornerMode lets magenta corner
// pixels of masks with CornerType > 0 show what cache names as the background.
void DrawBorderMask(fw::TBitmap& dst, const plat::RECT& rect, int state, bool cornerMode, const TsMaskData& mask,
                    const TCacheInfo& cache);
// The same by mask index of a skin; a negative or unknown index draws nothing.
void DrawBorderMask(fw::TBitmap& dst, const plat::RECT& rect, int state, bool cornerMode, const TacSkinIndex& skin,
                    int maskIndex, const TCacheInfo& cache);

// A border mask over the whole bitmap, pixel by pixel; every run of magenta pixels in a corner
// is left undrawn and, when rgn is given, cut out of it as a rectangle one pixel high.
// withCentre draws the centre too when the mask's DrawMode asks for it.
void DrawBorderMaskRgn(fw::TBitmap& bmp, plat::HRGN rgn, bool withCentre, int state, const TsMaskData& mask);

// The frame of a glyph mask for state, its top-left corner at pt. mode 1 draws it as it is;
// any other mode draws it faded (half over the destination, or through a weakened mask image).
void DrawGlyphMask(fw::TBitmap& dst, plat::POINT pt, int state, const TCacheInfo& cache, const TsMaskData& mask,
                   int mode);
void DrawGlyphMask(fw::TBitmap& dst, plat::POINT pt, int state, const TCacheInfo& cache, const TacSkinIndex& skin,
                   int maskIndex, int mode);

// One piece of src copied through the mask image that lies one frame height below it:
//   d = (d * m + s * (256 - m)) >> 8 per channel, m the mask's channel.
// The piece is the smaller of the two rectangles, cut to both bitmaps. With a ready cache the
// piece's alpha becomes 255 and, in corner mode, magenta image pixels take the background's
// colour; without one alpha stays and magenta pixels are skipped (corner mode: FillColor).
void MaskedCopy(const plat::RECT& dstRect, const plat::RECT& srcRect, fw::TBitmap& dst, const TsMaskData& mask,
                bool cornerMode, const TCacheInfo& cache, const fw::TBitmap& src);

// The part srcInclusive of src (its right and bottom are the last column and row, not past
// them) laid at (x, y), key pixels transparent: with a ready cache in corner mode they show the
// background, without a ready cache they become FillColor with alpha 0.
void KeyedCopy(fw::TBitmap& dst, const fw::TBitmap& src, int x, int y, bool cornerMode, const TCacheInfo& cache,
               plat::Pixel key, const plat::RECT& srcInclusive);

// Stretches the piece (sx, sy, sw, sh) of src over (x, y, w, h) of dst. With maskOffset 0 it is
// a plain nearest-pixel stretch; otherwise the mask image maskOffset rows below the piece is
// stretched with it and the piece blended through it, alpha 255. A 1 x 1 centre piece fills the
// span by its mask value; shrinking pieces and the centre are resampled smoothly.
void StretchMasked(int x, int y, int w, int h, bool isCentre, int maskOffset, fw::TBitmap& src, fw::TBitmap& dst,
                   int sx, int sy, int sw, int sh);

enum TacCornerKind { ckTopLeft, ckTopRight, ckBottomLeft, ckBottomRight };

// Copies bg pixels (from bgOrigin on) into dstRect of dst wherever the chosen corner of the
// mask's first frame is magenta (low 24 bits). maskIndex < 0: wherever dst itself is magenta.
void FillCornerBackground(fw::TBitmap& dst, const fw::TBitmap& bg, const plat::RECT& dstRect, TacCornerKind kind,
                          const TacSkinIndex* skin, int maskIndex, plat::POINT bgOrigin);

// Appends the magenta runs of the mask's top corners (bottom: its bottom corners) as rectangles
// one pixel high, placed for a target targetWidth wide, rows from yOffset down.
void CornerRects(std::vector<plat::RECT>& rects, int targetWidth, const TsMaskData& mask, bool bottom, int yOffset);

}  // namespace velmora
