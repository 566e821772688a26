// Row kernels, eight pixels a step in the compiler's generic vectors: each byte widened to a
// 16-bit lane, multiplied, divided by 255 exactly as Div255 does, narrowed back. The same source
// is compiled twice, for the SSE2 every x86-64 has and for AVX2, and the loader picks one when the
// program starts (target_clones). What is left of a row after the last full step goes through the
// per-pixel formula from pixel_math.h, so every pixel is the same whichever way it went.
#include "platform/base/pixel_rows.h"

#include <cstring>

#include "platform/base/assert.h"
#include "platform/base/pixel_math.h"

#if defined(__x86_64__) && !defined(VELMORA_NO_CLONES)
#define VELMORA_KERNEL __attribute__((target_clones("avx2", "default")))
#else
#define VELMORA_KERNEL
#endif
#define VELMORA_INLINE inline __attribute__((always_inline))
#if defined(__GNUC__) && !defined(__clang__)
// The vector helpers are always inlined, so no vector ever crosses a call: the ABI note on
// passing them does not apply.
#pragma GCC diagnostic ignored "-Wpsabi"
#endif

namespace plat {

namespace {

constexpr int kStep = 8;  // pixels a step
using Bytes = std::uint8_t __attribute__((vector_size(32)));
using Words = std::uint32_t __attribute__((vector_size(32)));
using Lanes = std::uint16_t __attribute__((vector_size(64)));
using Quads = std::uint64_t __attribute__((vector_size(32)));

VELMORA_INLINE Bytes Load(const Pixel* p) {
  Bytes v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
VELMORA_INLINE void Store(Pixel* p, Bytes v) { std::memcpy(p, &v, sizeof v); }
VELMORA_INLINE Lanes Widen(Bytes v) { return __builtin_convertvector(v, Lanes); }
VELMORA_INLINE Bytes Narrow(Lanes v) { return __builtin_convertvector(v, Bytes); }
VELMORA_INLINE Bytes Opaque(Bytes v) { return reinterpret_cast<Bytes>(reinterpret_cast<Words>(v) | 0xFF000000u); }

// Div255 in every lane, for x + 128 up to 65535: t = x + 128; (t + (t >> 8)) >> 8.
VELMORA_INLINE Lanes Div255Lanes(Lanes x) {
  const Lanes t = x + 128;
  return (t + (t >> 8)) >> 8;
}

// Each pixel's alpha in all four of its lanes.
VELMORA_INLINE Lanes AlphaLanes(Lanes v) {
  return __builtin_shufflevector(v, v, 3, 3, 3, 3, 7, 7, 7, 7, 11, 11, 11, 11, 15, 15, 15, 15, 19, 19, 19, 19, 23, 23,
                                 23, 23, 27, 27, 27, 27, 31, 31, 31, 31);
}

VELMORA_INLINE bool NoneSet(Words v) {
  const Quads q = reinterpret_cast<Quads>(v);
  return (q[0] | q[1] | q[2] | q[3]) == 0;
}

// s + Div255(d * (255 - s.a)) for eight premultiplied pixels; eight zero pixels give d,
// 255 everywhere gives s without the arithmetic.
VELMORA_INLINE Bytes OverStep(Bytes s, Bytes d) {
  const Words alpha = reinterpret_cast<Words>(s) & 0xFF000000u;
  if (NoneSet(reinterpret_cast<Words>(s))) return d;
  if (NoneSet(alpha ^ 0xFF000000u)) return s;
  const Lanes inverse = 255 - AlphaLanes(Widen(s));
  // Added as words, as OverPremultiplied does, so that even a source that is not premultiplied
  // gives the same pixel here as there.
  return reinterpret_cast<Bytes>(reinterpret_cast<Words>(s) +
                                 reinterpret_cast<Words>(Narrow(Div255Lanes(Widen(d) * inverse))));
}

// Div255(s * alpha) per byte.
VELMORA_INLINE Bytes ScaleStep(Bytes s, std::uint16_t alpha) { return Narrow(Div255Lanes(Widen(s) * alpha)); }

}  // namespace

VELMORA_KERNEL void CopyRowKeyed(Pixel* dst, const Pixel* src, int n, Pixel key, Pixel keyMask, Pixel setBits) {
  VELMORA_ASSERT(n >= 0 && (n == 0 || (dst && src)));
  for (int i = 0; i < n; ++i) {
    const Pixel s = src[i];
    dst[i] = (s & keyMask) == key ? dst[i] : s | setBits;
  }
}

void CopyRowKeyedReference(Pixel* dst, const Pixel* src, int n, Pixel key, Pixel keyMask, Pixel setBits) {
  for (int i = 0; i < n; ++i)
    if ((src[i] & keyMask) != key) dst[i] = src[i] | setBits;
}

VELMORA_KERNEL void CopyRowOpaque(Pixel* dst, const Pixel* src, int n) {
  VELMORA_ASSERT(n >= 0 && (n == 0 || (dst && src)));
  for (int i = 0; i < n; ++i) dst[i] = src[i] | 0xFF000000u;
}

VELMORA_KERNEL void OverRow(Pixel* dst, const Pixel* src, int n) {
  VELMORA_ASSERT(n >= 0 && (n == 0 || (dst && src)));
  int i = 0;
  for (; i + kStep <= n; i += kStep) Store(dst + i, OverStep(Load(src + i), Load(dst + i)));
  OverRowReference(dst + i, src + i, n - i);
}

void OverRowReference(Pixel* dst, const Pixel* src, int n) {
  for (int i = 0; i < n; ++i) dst[i] = OverPremultiplied(src[i], dst[i]);
}

VELMORA_KERNEL void OverRowFaded(Pixel* dst, const Pixel* src, int n, std::uint32_t alpha) {
  VELMORA_ASSERT(n >= 0 && (n == 0 || (dst && src)) && alpha <= 255);
  if (alpha == 0) return;
  if (alpha == 255) return OverRow(dst, src, n);
  const auto a = static_cast<std::uint16_t>(alpha);
  int i = 0;
  for (; i + kStep <= n; i += kStep) Store(dst + i, OverStep(ScaleStep(Load(src + i), a), Load(dst + i)));
  OverRowFadedReference(dst + i, src + i, n - i, alpha);
}

void OverRowFadedReference(Pixel* dst, const Pixel* src, int n, std::uint32_t alpha) {
  for (int i = 0; i < n; ++i) dst[i] = OverPremultiplied(ScalePixel(src[i], alpha), dst[i]);
}

// s * a + d * (255 - a) with one multiply per lane, as (s - d) * a + d * 255: the lanes wrap on
// the way, but the sum is 0..65025 and comes out exact.
VELMORA_KERNEL void FadeRow(Pixel* dst, const Pixel* src, int n, std::uint32_t alpha) {
  VELMORA_ASSERT(n >= 0 && (n == 0 || (dst && src)) && alpha <= 255);
  if (alpha == 0) return;
  if (alpha == 255) return CopyRowOpaque(dst, src, n);
  const auto a = static_cast<std::uint16_t>(alpha);
  int i = 0;
  for (; i + kStep <= n; i += kStep) {
    const Lanes s = Widen(Opaque(Load(src + i))), d = Widen(Load(dst + i));
    Store(dst + i, Narrow(Div255Lanes((s - d) * a + (d << 8) - d)));
  }
  FadeRowReference(dst + i, src + i, n - i, alpha);
}

void FadeRowReference(Pixel* dst, const Pixel* src, int n, std::uint32_t alpha) {
  for (int i = 0; i < n; ++i) dst[i] = Lerp(src[i] | 0xFF000000u, dst[i], alpha);
}

VELMORA_KERNEL void ScaleRow(Pixel* dst, const Pixel* src, int n, std::uint32_t alpha, Pixel setBits) {
  VELMORA_ASSERT(n >= 0 && (n == 0 || (dst && src)) && alpha <= 255);
  const auto a = static_cast<std::uint16_t>(alpha);
  const Bytes set = reinterpret_cast<Bytes>(Words{} + setBits);
  int i = 0;
  for (; i + kStep <= n; i += kStep) Store(dst + i, ScaleStep(Load(src + i) | set, a));
  ScaleRowReference(dst + i, src + i, n - i, alpha, setBits);
}

void ScaleRowReference(Pixel* dst, const Pixel* src, int n, std::uint32_t alpha, Pixel setBits) {
  for (int i = 0; i < n; ++i) dst[i] = ScalePixel(src[i] | setBits, alpha);
}

// Glyph rows are a few pixels wide: a per-pixel loop that skips the uncovered and copies the
// fully covered beats any vector set-up.
void CoverageRow(Pixel* dst, const std::uint8_t* coverage, int n, Pixel colour) {
  VELMORA_ASSERT(n >= 0 && (n == 0 || (dst && coverage)));
  for (int i = 0; i < n; ++i) {
    const std::uint32_t c = coverage[i];
    if (c == 0) continue;
    dst[i] = c == 255 ? colour : LerpColor(colour, dst[i], c) | (colour & 0xFF000000u);
  }
}

void CoverageRowReference(Pixel* dst, const std::uint8_t* coverage, int n, Pixel colour) {
  for (int i = 0; i < n; ++i)
    if (coverage[i]) dst[i] = LerpColor(colour, dst[i], coverage[i]) | (colour & 0xFF000000u);
}

void PremultiplyRow(Pixel* row, int n) {
  VELMORA_ASSERT(n >= 0 && (n == 0 || row));
  for (int i = 0; i < n; ++i) row[i] = Premultiply(row[i]);
}

void UnpremultiplyRow(Pixel* row, int n) {
  VELMORA_ASSERT(n >= 0 && (n == 0 || row));
  for (int i = 0; i < n; ++i) row[i] = Unpremultiply(row[i]);
}

}  // namespace plat
