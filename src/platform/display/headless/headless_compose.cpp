// Pixel work of the headless screen: a surface's picture over what lies below it, one row
// kernel a row, the kernel chosen once per surface.
#include "platform/base/pixel_math.h"
#include "platform/base/pixel_rows.h"
#include "platform/display/headless/headless_surface.h"

namespace plat::display {

namespace {

using RowBlend = void (*)(Pixel* dst, const Pixel* src, int n, const Blend& blend, Pixel key);

// Opaque pictures ignore their alpha byte; the screen stays opaque.
void Opaque(Pixel* dst, const Pixel* src, int n, const Blend&, Pixel) { CopyRowOpaque(dst, src, n); }
void OpaqueKeyed(Pixel* dst, const Pixel* src, int n, const Blend&, Pixel key) {
  CopyRowKeyed(dst, src, n, key, 0x00FFFFFFu, 0xFF000000u);
}
// Blends keep the screen opaque even where a foreign window's colour left its alpha short.
void Faded(Pixel* dst, const Pixel* src, int n, const Blend& blend, Pixel) {
  FadeRow(dst, src, n, blend.constantAlpha);
  CopyRowOpaque(dst, dst, n);
}
void Premultiplied(Pixel* dst, const Pixel* src, int n, const Blend& blend, Pixel) {
  OverRowFaded(dst, src, n, blend.constantAlpha);
  CopyRowOpaque(dst, dst, n);
}

// A key with a fade or with per-pixel alpha is rare: pixel by pixel.
void KeyedBlended(Pixel* dst, const Pixel* src, int n, const Blend& blend, Pixel key) {
  for (int i = 0; i < n; ++i) {
    if ((src[i] & 0x00FFFFFFu) == key) continue;
    if (blend.perPixel)
      dst[i] = OverPremultiplied(ScalePixel(src[i], blend.constantAlpha), dst[i]) | 0xFF000000u;
    else
      dst[i] = Lerp(src[i] | 0xFF000000u, dst[i], blend.constantAlpha) | 0xFF000000u;
  }
}

RowBlend ChooseRowBlend(const Blend& blend) {
  if (blend.colorKey) return blend.perPixel || blend.constantAlpha != 255 ? &KeyedBlended : &OpaqueKeyed;
  if (blend.perPixel) return &Premultiplied;
  return blend.constantAlpha == 255 ? &Opaque : &Faded;
}

}  // namespace

void ComposeSurface(Bitmap& screen, const Bitmap& picture, POINT at, const Blend& blend,
                    const std::vector<RECT>& rects) {
  if (blend.constantAlpha == 0) return;
  const Pixel key = blend.colorKey ? ColorToPixel(*blend.colorKey, 0) : 0;
  const RowBlend row = ChooseRowBlend(blend);
  const RECT pictureOnScreen = Offset(picture.Bounds(), at.x, at.y);
  for (const RECT& r : rects) {
    const RECT c = Intersection(Intersection(r, pictureOnScreen), screen.Bounds());
    if (IsEmpty(c)) continue;
    const int n = RectWidth(c);
    for (int y = c.top; y < c.bottom; ++y) row(screen.Row(y) + c.left, picture.Row(y - at.y) + (c.left - at.x), n, blend, key);
  }
}

}  // namespace plat::display
