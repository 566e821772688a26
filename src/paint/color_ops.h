#pragma once
// Colour arithmetic of the skin painting: mixing, grey, hue rotation and saturation, for colour
// values (0x00BBGGRR, top byte kept) and for every pixel of a 32-bit bitmap (B,G,R,A).
// Rounding is to nearest with ties to even throughout.
#include <cstdint>

#include "framework/bitmap.h"
#include "platform/base/color.h"
#include "platform/gdi/bitmap.h"

namespace velmora {

// Exchanges bytes 0 and 2: a colour becomes a pixel and back.
constexpr std::uint32_t ExchangeRedBlue(std::uint32_t v) { return plat::SwapRedBlue(v); }

// weight × a + (1 − weight) × b per channel; the top byte of a stays.
std::uint32_t WeighColors(std::uint32_t a, std::uint32_t b, double weight);

// Moves channels away from grey (positive percent) or toward it (−100: grey).
std::uint32_t ScaleSaturation(std::uint32_t color, int percent);
// Rotates the hue by degrees, keeping saturation and value.
std::uint32_t ShiftHue(std::uint32_t color, int degrees);

void ShiftBitmapHue(plat::Bitmap& bitmap, int degrees);
void ScaleBitmapSaturation(plat::Bitmap& bitmap, int percent);
// B, G and R become their integer mean; alpha stays.
void GrayBitmap(plat::Bitmap& bitmap);
// The same on a framework bitmap; an empty or non-32-bit one is left alone.
void ShiftBitmapHue(fw::TBitmap& bitmap, int degrees);
void ScaleBitmapSaturation(fw::TBitmap& bitmap, int percent);
void GrayBitmap(fw::TBitmap& bitmap);

}  // namespace velmora
