#pragma once
// Row kernels: one run of n pixels, clipping already done by the caller, the blend chosen by the
// caller before its loop over rows. Each is built on pixel_math.h and gives the same pixels as
// its ...Reference, a plain per-pixel loop over the same formula that the tests compare it with.
// The fast versions work in the 16-bit lanes of SIMD registers (SSE2 on any x86-64, AVX2 chosen
// at run time where the processor has it). Pixels are 0xAARRGGBB words.
#include <cstdint>

#include "platform/base/color.h"

namespace plat {

// Keyed copy: every source word whose masked bits differ from the key, with setBits added:
//   d = (s & keyMask) == key ? d : s | setBits
// A select, not a branch, so that it vectorises. The whole word is compared by default; a
// colour key on an opaque picture is keyMask 0x00FFFFFF, setBits 0xFF000000.
void CopyRowKeyed(Pixel* dst, const Pixel* src, int n, Pixel key, Pixel keyMask = 0xFFFFFFFFu, Pixel setBits = 0);
void CopyRowKeyedReference(Pixel* dst, const Pixel* src, int n, Pixel key, Pixel keyMask = 0xFFFFFFFFu,
                           Pixel setBits = 0);

// An opaque picture onto an opaque target, its alpha byte ignored:  d = s | 0xFF000000
void CopyRowOpaque(Pixel* dst, const Pixel* src, int n);

// Premultiplied source over destination, all four channels:
//   d = OverPremultiplied(s, d) = s + Div255(d * (255 - s.a))
// Source alpha 0 leaves d, alpha 255 replaces it.
void OverRow(Pixel* dst, const Pixel* src, int n);
void OverRowReference(Pixel* dst, const Pixel* src, int n);

// Premultiplied source at a constant alpha over destination:
//   d = OverPremultiplied(ScalePixel(s, alpha), d)
// alpha 0 leaves the row, alpha 255 is OverRow.
void OverRowFaded(Pixel* dst, const Pixel* src, int n, std::uint32_t alpha);
void OverRowFadedReference(Pixel* dst, const Pixel* src, int n, std::uint32_t alpha);

// An opaque source (its alpha byte taken as 255) faded by a constant alpha, one rounding:
//   d = Lerp(s | 0xFF000000, d, alpha) = Div255(s * alpha + d * (255 - alpha)), all four channels
// alpha 0 leaves the row, alpha 255 is CopyRowOpaque.
void FadeRow(Pixel* dst, const Pixel* src, int n, std::uint32_t alpha);
void FadeRowReference(Pixel* dst, const Pixel* src, int n, std::uint32_t alpha);

// Every channel scaled by a constant alpha, after setBits are added (0xFF000000 makes an opaque
// picture's alpha 255 first):
//   d = ScalePixel(s | setBits, alpha)
void ScaleRow(Pixel* dst, const Pixel* src, int n, std::uint32_t alpha, Pixel setBits = 0);
void ScaleRowReference(Pixel* dst, const Pixel* src, int n, std::uint32_t alpha, Pixel setBits = 0);

// A solid colour through a coverage mask (text, anti-aliased edges):
//   d = c == 0 ? d : LerpColor(colour, d, c) | (colour & 0xFF000000)
// Coverage 255 writes the colour itself.
void CoverageRow(Pixel* dst, const std::uint8_t* coverage, int n, Pixel colour);
void CoverageRowReference(Pixel* dst, const std::uint8_t* coverage, int n, Pixel colour);

// Straight alpha to premultiplied and back, in place: p = Premultiply(p), p = Unpremultiply(p).
void PremultiplyRow(Pixel* row, int n);
void UnpremultiplyRow(Pixel* row, int n);

}  // namespace plat
