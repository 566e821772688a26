// The background layer of a section: what is known of the parent's background decides whether
// the section is painted straight into the rectangle, blended over the background through a
// picture of its own, or mixed with the parent's colour.
#include <cmath>

#include "framework/bitmap.h"
#include "paint/bitmap_ops.h"
#include "paint/color_ops.h"
#include "paint/gradient.h"
#include "paint/section_lookup.h"
#include "paint/section_texture.h"
#include "paint/sections.h"

namespace velmora {
namespace {

using plat::RECT;

// What a section's state paints with.
struct TSectionLook {
  TColor K = 0;  // colour
  int T = 0;     // transparency
  int I = 0;     // texture share
  int G = 0;     // gradient share
  TacTexture Texture;
  int TextureIndex = -1;  // the mask the texture came from, -1 for none or a pattern
  const TsGenState* Props = nullptr;
};

TSectionLook LookOf(const TacSkinIndex& skin, int sectionIndex, const std::string& sectionName, TColor fillColor,
                    int textureOverride, int s) {
  TSectionLook v;
  const TsGenState& props = skin.gd[static_cast<std::size_t>(sectionIndex)].Props[static_cast<std::size_t>(s)];
  v.Props = &props;
  if (fillColor != kKeyColor) {
    v.K = fillColor;
    return v;
  }
  v.K = props.Color;
  v.T = props.Transparency;
  if (v.T != 100) {
    v.I = props.ImagePercent;
    v.G = props.GradientPercent;
  }
  if (v.I > 0) {
    int index = textureOverride >= 0 ? textureOverride : props.TextureIndex;
    if (index < 0) index = skin.GetMaskIndex(sectionIndex, sectionName, "PATTERN");
    v.Texture = MaskTexture(skin, index);
    if (v.Texture.Valid()) {
      v.TextureIndex = index;
    } else {
      v.Texture = PatternTexture(skin, skin.GetPatternIndex(sectionIndex, sectionName, "PATTERN"));
    }
  }
  return v;
}

bool HasGradient(const TsGenState& props) { return !props.GradientData.empty() && !props.GradientArray.empty(); }

// The gradient, or the colour when there is none. Modes the gradient cannot paint here (four
// corners without the platform's gradient fill, unknown modes) show the colour.
void PaintGradient(fw::TBitmap& dst, const RECT& rect, const TSectionLook& v) {
  if (!HasGradient(*v.Props)) {
    FillPixels(dst, rect, v.K, 255);
    return;
  }
  const int mode = v.Props->GradientArray.front().Mode1;
  if (mode != 0 && mode != 1) FillPixels(dst, rect, v.K, 255);
  DrawGradient(dst, rect, v.Props->GradientArray);
}

// The section as if nothing showed through it.
void PaintOpaque(fw::TBitmap& dst, const RECT& rect, const TSectionLook& v, const TCacheInfo& cacheAtDst) {
  const TacTexture& t = v.Texture;
  // Gradient and texture making up the whole: one pass.
  if (v.I + v.G == 100 && v.G >= 1 && v.G <= 99 && t.Mask && !t.Masked() && t.Mask->DrawMode == tkTile &&
      HasGradient(*v.Props) && v.Props->GradientArray.front().Mode1 >= 0 && v.Props->GradientArray.front().Mode1 <= 1) {
    DrawGradientTextured(dst, rect, v.Props->GradientArray, static_cast<std::uint8_t>(v.I * 255 / 100), t.Mask->R,
                         *t.Source);
    return;
  }
  bool textured = false;
  if (v.I > 0) {
    const RECT left = FillTexture(dst, rect, t, cacheAtDst, textured);
    if (left.right > left.left && left.bottom > left.top) FillPixels(dst, left, v.K, 255);
  }
  if (v.G > 0) {
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (textured) {
      // The texture keeps I % and the gradient gets the rest.
      const auto gradient = MakeBitmap32(w, h);
      PaintGradient(*gradient, {0, 0, w, h}, v);
      const int keep = std::min(v.I * 255 / 100, 255);
      BlendBitmapInto(dst, *gradient, static_cast<std::uint8_t>(keep > 254 ? 255 : keep), {rect.left, rect.top},
                      {0, 0, w, h});
    } else {
      PaintGradient(dst, rect, v);
    }
  }
  const int shares = v.I + v.G;
  if (shares >= 1 && shares <= 99) TintRect(dst, rect, shares, v.K);
  if (shares == 0) FillPixels(dst, rect, v.K, 255);
}

// Only the parent's background: its picture, its border bands and plain inside, or its colour.
void PutBackgroundOnly(fw::TBitmap& dst, const RECT& rect, const TCacheInfo& cacheAtDst) {
  if (cacheAtDst.Ready) {
    if (cacheAtDst.Bmp) PutCacheBackground(dst, rect, cacheAtDst);
    return;
  }
  FillPixels(dst, rect, static_cast<TColor>(cacheAtDst.FillColor), 255);
  fw::TBitmap* parent = cacheAtDst.Bmp;
  if (!parent) return;
  // The parent's painted border bands, in its own coordinates, and where they fall in dst.
  const int pw = parent->Width(), ph = parent->Height();
  const RECT& b = cacheAtDst.FillRect;
  const RECT bands[] = {{0, 0, b.left, ph}, {0, 0, pw, b.top}, {pw - b.right, 0, pw, ph}, {0, ph - b.bottom, pw, ph}};
  const RECT placed{rect.left + cacheAtDst.X, rect.top + cacheAtDst.Y, rect.right + cacheAtDst.X,
                    rect.bottom + cacheAtDst.Y};
  for (const RECT& band : bands) {
    RECT part;
    if (!plat::IntersectRect(&part, &band, &placed)) continue;
    CopyPixels(dst, {part.left - cacheAtDst.X, part.top - cacheAtDst.Y, part.right - cacheAtDst.X, part.bottom - cacheAtDst.Y},
               *parent, part.left, part.top);
  }
}

}  // namespace

void PaintSectionBackground(int sectionIndex, const std::string& sectionName, const TCacheInfo& cache,
                            TColor fillColor, int overlayTexture, int textureOverride, const TacSkinIndex* skin,
                            fw::TBitmap* bitmap, plat::POINT origin, const RECT& rect, int state) {
  skin = SkinOrDefault(skin);
  if (!ValidSection(skin, sectionIndex) || !RectFits(bitmap, rect)) return;
  const TsGeneralData& section = skin->gd[static_cast<std::size_t>(sectionIndex)];
  state = ClampState(section, state);
  const TSectionLook v = LookOf(*skin, sectionIndex, sectionName, fillColor, textureOverride, PropsIndex(state));
  TCacheInfo atDst = cache;
  atDst.X += origin.x;
  atDst.Y += origin.y;
  const bool known = cache.Ready || cache.FillColor != kKeyColor;
  if (!known || v.T == 0) {
    // Nothing known behind a partly transparent section: it is painted opaque, as mixing with
    // "no colour" would show magenta.
    PaintOpaque(*bitmap, rect, v, atDst);
  } else if (v.T == 100) {
    PutBackgroundOnly(*bitmap, rect, atDst);
  } else if (cache.Ready || v.I + v.G != 0) {
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    const auto own = MakeBitmap32(w, h);
    TCacheInfo atOwn = atDst;
    atOwn.X += rect.left;
    atOwn.Y += rect.top;
    PaintOpaque(*own, {0, 0, w, h}, v, atOwn);
    PutCacheBackground(*bitmap, rect, atDst);
    BlendBitmapInto(*bitmap, *own, static_cast<std::uint8_t>(std::nearbyint(v.T * 2.55)), {rect.left, rect.top},
                    {0, 0, w, h});
  } else {
    FillPixels(*bitmap, rect,
               static_cast<TColor>(WeighColors(cache.FillColor, static_cast<std::uint32_t>(v.K), v.T / 100.0)), 255);
  }
  if (state != 0) return;
  const int overlay = v.TextureIndex != -1 ? v.TextureIndex : overlayTexture;
  const TacTexture t = MaskTexture(*skin, overlay);
  if (t.Masked() && t.Mask->DrawMode == tkWholeTiles) TileMasked(*bitmap, rect, t, true, atDst);
}

}  // namespace velmora
