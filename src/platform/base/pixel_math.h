#pragma once
// The one home of per-pixel arithmetic. Every layer that blends, scales or converts pixels uses
// these; row kernels are built from them and tested against them. Pixels are 0xAARRGGBB words
// (B, G, R, A in memory). Two channels are worked at once in the 16-bit lanes of a 32-bit word
// (red and blue, then alpha and green), so no lane ever exceeds 65535.
#include <cstdint>

#include "platform/base/color.h"

namespace plat {

// x / 255 rounded to nearest, exact for every x in 0..65534:
//   t = x + 128;  (t + (t >> 8)) >> 8
constexpr std::uint32_t Div255(std::uint32_t x) { return (x + 128 + ((x + 128) >> 8)) >> 8; }

// Each channel of p times f / 255, rounded exactly (Div255 per channel), alpha included:
//   c' = Div255(c * f)
// A compositing manager's renderer does the same sum, so pictures composed here and on a
// composited X screen agree to the bit.
constexpr Pixel ScalePixel(Pixel p, std::uint32_t f) {
  constexpr std::uint32_t kRedBlue = 0x00FF00FFu;
  std::uint32_t rb = (p & kRedBlue) * f + 0x00800080u;
  std::uint32_t ag = ((p >> 8) & kRedBlue) * f + 0x00800080u;
  rb = ((rb + ((rb >> 8) & kRedBlue)) >> 8) & kRedBlue;
  ag = (ag + ((ag >> 8) & kRedBlue)) & ~kRedBlue;
  return rb | ag;
}

// Premultiplied source over destination, all four channels:
//   d' = s + Div255(d * (255 - s.a))
// With a premultiplied source no channel can pass 255.
constexpr Pixel OverPremultiplied(Pixel s, Pixel d) { return s + ScalePixel(d, 255 - (s >> 24)); }

// Straight alpha to premultiplied: c' = Div255(c * a), alpha kept.
constexpr Pixel Premultiply(Pixel p) {
  const std::uint32_t a = p >> 24;
  if (a == 255) return p;
  if (a == 0) return 0;
  return (ScalePixel(p, a) & 0x00FFFFFFu) | (a << 24);
}

// Premultiplied back to straight alpha: c' = min(255, (c * 255 + a / 2) / a); alpha 0 and 255
// are left as they are.
constexpr Pixel Unpremultiply(Pixel p) {
  const std::uint32_t a = p >> 24;
  if (a == 0 || a == 255) return p;
  auto up = [a](std::uint32_t c) { return c >= a ? 255u : (c * 255 + a / 2) / a; };
  return (a << 24) | (up((p >> 16) & 0xFF) << 16) | (up((p >> 8) & 0xFF) << 8) | up(p & 0xFF);
}

// c over d by a constant alpha a, all four channels, one rounding:
//   d' = Div255(c * a + d * (255 - a))
constexpr Pixel Lerp(Pixel c, Pixel d, std::uint32_t a) {
  constexpr std::uint32_t kRedBlue = 0x00FF00FFu;
  const std::uint32_t inv = 255 - a;
  std::uint32_t rb = (c & kRedBlue) * a + (d & kRedBlue) * inv + 0x00800080u;
  std::uint32_t ag = ((c >> 8) & kRedBlue) * a + ((d >> 8) & kRedBlue) * inv + 0x00800080u;
  rb = ((rb + ((rb >> 8) & kRedBlue)) >> 8) & kRedBlue;
  ag = (ag + ((ag >> 8) & kRedBlue)) & ~kRedBlue;
  return rb | ag;
}

// A straight colour c over d by a coverage or alpha a, colour channels only, rounded exactly:
//   d' = Div255(c * a + d * (255 - a))
// The result's alpha byte is 0: callers set the alpha they mean.
constexpr Pixel LerpColor(Pixel c, Pixel d, std::uint32_t a) { return Lerp(c, d, a) & 0x00FFFFFFu; }

// Image s through a grey mask m (the skin's mask images), B, G and R each with its own mask
// channel, truncating:
//   d' = ((d - s) * m + s * 256) >> 8  =  (d * m + s * (256 - m)) >> 8
// m 0 shows the image; m 255 keeps all but 1/256 of the image out. The result's alpha is 0.
constexpr Pixel BlendThroughMask(Pixel d, Pixel s, Pixel m) {
  Pixel out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const std::uint32_t dc = (d >> shift) & 0xFFu, sc = (s >> shift) & 0xFFu, mc = (m >> shift) & 0xFFu;
    out |= ((dc * mc + sc * (256 - mc)) >> 8) << shift;
  }
  return out;
}

}  // namespace plat
