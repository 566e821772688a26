#pragma once
// The skin's gradients: bands of colour pies painted top to bottom (mode 0) or left to right
// (mode 1), or shaded between four corners and the centre (mode 2, through the platform's
// gradient fill when it has one). Pixels written have alpha 255. Running channel values are
// single-precision, as skins were tuned against.
#include <cstdint>

#include "framework/bitmap.h"
#include "platform/base/geometry.h"
#include "skin/sStyleSimply.h"

namespace velmora {

// The gradient in the rectangle (clipped); offset moves the first band down (callers pass 0).
void DrawGradient(fw::TBitmap& bitmap, const plat::RECT& rect, const TsGradArray& pies, int offset = 0);
// Modes 0 and 1 with a texture mixed in as it is painted: g = (a (t − g) + 256 g) >> 8 per channel.
// The texture is tiled from the bitmap's origin; an empty textureRect means the whole texture.
void DrawGradientTextured(fw::TBitmap& bitmap, const plat::RECT& rect, const TsGradArray& pies,
                          std::uint8_t textureWeight, const plat::RECT& textureRect, const fw::TBitmap& texture);

}  // namespace velmora
