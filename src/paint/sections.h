#pragma once
// Painting a skin section for a state into a rectangle of a 32-bit bitmap, over what lies behind
// it: the background (the parent's picture or colour, the section's colour, texture, gradient and
// transparency), then the corner images, then the border. Bad rectangles, unknown sections and
// missing bitmaps paint nothing; states beyond the section's are clamped.
#include <string>

#include "paint/cache_info.h"
#include "platform/base/geometry.h"
#include "platform/gdi/gdi.h"
#include "skin/sStyleSimply.h"

namespace fw {
class TBitmap;
class TControl;
}  // namespace fw

namespace velmora {

class TacSkinIndex;
class TacPaintSkinState;

// origin is where the bitmap lies in the parent's picture: it is added to the cache's X and Y
// wherever that picture is read. A null skin means the default manager's. overlayTexture and
// textureOverride are mask indexes, -1 for none.
void PaintSection(int sectionIndex, const std::string& sectionName, TCacheInfo cache, int overlayTexture,
                  int textureOverride, const TacSkinIndex* skin, fw::TBitmap* bitmap, plat::POINT origin,
                  const plat::RECT& rect, int state, bool cornerMode);

// The background layer alone. A fillColor other than magenta paints that colour and nothing of
// the section's colour, transparency, gradient or texture.
void PaintSectionBackground(int sectionIndex, const std::string& sectionName, const TCacheInfo& cache,
                            TColor fillColor, int overlayTexture, int textureOverride, const TacSkinIndex* skin,
                            fw::TBitmap* bitmap, plat::POINT origin, const plat::RECT& rect, int state);

// PaintSection for a control's skin state: its border, textures (the texture as override, the
// hot texture as overlay), custom colour, then its hue offset and saturation over the bitmap.
void PaintControlSection(TacPaintSkinState& skinState, const TCacheInfo& cache, bool cornerMode, fw::TBitmap* bitmap,
                         plat::POINT origin, const plat::RECT& rect, int state);
// The panels' variant: asks the parent for its background first. When that is not ready nothing
// is painted, the state's updating mark is cleared and the answer is false.
bool PaintPanelSection(TacPaintSkinState& skinState, bool cornerMode, fw::TBitmap* bitmap, plat::POINT origin,
                       const plat::RECT& rect, int state);

// PaintSection into a picture of the rectangle's size, copied to the context at the rectangle.
void PaintSectionToDC(int sectionIndex, const std::string& sectionName, const TCacheInfo& cache,
                      const TacSkinIndex* skin, plat::HDC dc, plat::POINT origin, const plat::RECT& rect, int state,
                      bool cornerMode);

// Flags of FadeDisabled.
inline constexpr int kFadeBlend = 1;  // toward the background
inline constexpr int kFadeGray = 2;   // grey first
// The disabled look of a control's picture: grey, then 40 % picture over its background (the
// cache's picture under the control, else its fill colour or the control's parent's colour).
void FadeDisabled(fw::TBitmap& bitmap, int flags, const fw::TControl* control, plat::POINT origin,
                  const TCacheInfo& cache);

// Corner sets of RefreshCorners.
inline constexpr int kCornerTopLeft = 1, kCornerBottomLeft = 2, kCornerTopRight = 4, kCornerBottomRight = 8;
inline constexpr int kAllCorners = 15;
// The pixels of the control's cached picture that lie under magenta corner pixels of its border
// get the parent's background again.
void RefreshCorners(TacPaintSkinState& skinState, int state, int corners);

// Only the border ring of a control, into its cached picture: the border mask and, with
// extraBorder above 0, a plain ring inside it in the control's colour. inner receives the
// rectangle inside the ring.
void PaintControlBorder(plat::HDC dc, const plat::RECT& rect, int extraBorder, plat::RECT& inner, int state,
                        TacPaintSkinState& skinState);

}  // namespace velmora
