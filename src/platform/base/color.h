#pragma once
// Colour values 0x00BBGGRR (red in the low byte) and 32-bit pixels B,G,R,A (0xAARRGGBB as a
// little-endian word). Negative colour values name system colours and are resolved by the caller.
#include "platform/base/types.h"

namespace plat {

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
  return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }

using Pixel = std::uint32_t;

constexpr Pixel PixelB(Pixel p) { return p & 0xFF; }
constexpr Pixel PixelG(Pixel p) { return (p >> 8) & 0xFF; }
constexpr Pixel PixelR(Pixel p) { return (p >> 16) & 0xFF; }
constexpr Pixel PixelA(Pixel p) { return p >> 24; }
constexpr Pixel MakePixel(BYTE r, BYTE g, BYTE b, BYTE a) {
  return static_cast<Pixel>(b) | (static_cast<Pixel>(g) << 8) | (static_cast<Pixel>(r) << 16) |
         (static_cast<Pixel>(a) << 24);
}

// Exchanging bytes 0 and 2 turns a colour into a pixel and back; byte 3 travels along.
constexpr std::uint32_t SwapRedBlue(std::uint32_t v) {
  return (v & 0xFF00FF00u) | ((v & 0xFF) << 16) | ((v >> 16) & 0xFF);
}
constexpr Pixel ColorToPixel(COLORREF c, BYTE alpha = 255) {
  return (SwapRedBlue(c) & 0x00FFFFFFu) | (static_cast<Pixel>(alpha) << 24);
}
constexpr COLORREF PixelToColor(Pixel p) { return SwapRedBlue(p) & 0x00FFFFFFu; }

}  // namespace plat
