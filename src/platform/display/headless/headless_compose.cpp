// Pixel work of the headless screen: a surface's picture over what lies below it, with the
// exact division by 255 of ScalePixel.
#include <algorithm>

#include "platform/base/pixel_math.h"
#include "platform/display/headless/headless_surface.h"

namespace plat::display {

namespace {

// Premultiplied source over an opaque destination; the result is opaque.
inline Pixel Over(Pixel s, Pixel d) { return (s + ScalePixel(d, 255 - (s >> 24))) | 0xFF000000u; }

template <bool kKeyed>
void OpaqueRow(Pixel* dst, const Pixel* src, int n, Pixel key) {
  for (int i = 0; i < n; ++i) {
    if constexpr (kKeyed) {
      if ((src[i] & 0x00FFFFFFu) == key) continue;
    }
    dst[i] = src[i] | 0xFF000000u;
  }
}

// Opaque pixels under a constant alpha: the source counts as alpha 255 scaled by it.
template <bool kKeyed>
void FadedRow(Pixel* dst, const Pixel* src, int n, Pixel key, std::uint32_t alpha) {
  for (int i = 0; i < n; ++i) {
    if constexpr (kKeyed) {
      if ((src[i] & 0x00FFFFFFu) == key) continue;
    }
    dst[i] = Over(ScalePixel(src[i] | 0xFF000000u, alpha), dst[i]);
  }
}

template <bool kKeyed>
void PremultipliedRow(Pixel* dst, const Pixel* src, int n, Pixel key, std::uint32_t alpha) {
  // Two loops rather than a test per pixel, so that the common one vectorises.
  if (alpha == 255 && !kKeyed) {
    for (int i = 0; i < n; ++i) dst[i] = Over(src[i], dst[i]);
    return;
  }
  for (int i = 0; i < n; ++i) {
    if (kKeyed && (src[i] & 0x00FFFFFFu) == key) continue;
    dst[i] = Over(ScalePixel(src[i], alpha), dst[i]);
  }
}

template <bool kKeyed>
void BlendRow(Pixel* dst, const Pixel* src, int n, const Blend& blend, Pixel key) {
  if (blend.perPixel)
    PremultipliedRow<kKeyed>(dst, src, n, key, blend.constantAlpha);
  else if (blend.constantAlpha == 255)
    OpaqueRow<kKeyed>(dst, src, n, key);
  else
    FadedRow<kKeyed>(dst, src, n, key, blend.constantAlpha);
}

}  // namespace

void ComposeSurface(Bitmap& screen, const Bitmap& picture, POINT at, const Blend& blend,
                    const std::vector<RECT>& rects) {
  if (blend.constantAlpha == 0) return;
  const Pixel key = blend.colorKey ? ColorToPixel(*blend.colorKey, 0) : 0;
  const RECT pictureOnScreen = Offset(picture.Bounds(), at.x, at.y);
  for (const RECT& r : rects) {
    const RECT c = Intersection(Intersection(r, pictureOnScreen), screen.Bounds());
    if (IsEmpty(c)) continue;
    const int n = RectWidth(c);
    for (int y = c.top; y < c.bottom; ++y) {
      Pixel* dst = screen.Row(y) + c.left;
      const Pixel* src = picture.Row(y - at.y) + (c.left - at.x);
      if (blend.colorKey)
        BlendRow<true>(dst, src, n, blend, key);
      else
        BlendRow<false>(dst, src, n, blend, key);
    }
  }
}

}  // namespace plat::display
