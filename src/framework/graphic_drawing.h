#pragma once
// Drawing a 32-bit picture onto a device context in the ways a bitmap can be drawn: with its
// transparent colour left out, or blended by its per-pixel alpha. The destination is read back
// through a temporary picture, so the context's clip and origin apply as to any blit. Painting
// never fails loudly: a picture or area that cannot be made is simply not drawn.
#include "platform/gdi/gdi.h"

namespace fw {

enum class TPixelBlend {
  Keyed,          // every pixel but those of the key colour
  Alpha,          // straight alpha
  Premultiplied,  // colour already multiplied by alpha
};

// Draws source scaled (nearest pixel) into rect of dc. key is a COLORREF, used by Keyed.
void DrawPixels(plat::HDC dc, const plat::RECT& rect, const plat::Bitmap& source, TPixelBlend blend,
                plat::COLORREF key = 0);

// In place, for a change of a bitmap's alpha format.
void PremultiplyAlpha(plat::Bitmap& bitmap);
void UnpremultiplyAlpha(plat::Bitmap& bitmap);

}  // namespace fw
