// Row kernels: the vector steps of pixel_rows_steps.h, built once for SSE2 and once for AVX2,
// the AVX2 build used where the processor has it (asked once, at the first call). What is left of
// a row after the last whole step goes through the per-pixel formula from pixel_math.h, so every
// pixel is the same whichever way it went.
#include "platform/base/pixel_rows.h"

#include "platform/base/assert.h"
#include "platform/base/pixel_math.h"

#if defined(__x86_64__) || defined(__SSE2__)
#include <immintrin.h>
#define VELMORA_SIMD 1
#else
#define VELMORA_SIMD 0
#endif

#define VELMORA_INLINE inline __attribute__((always_inline))

namespace plat {

namespace {

#if VELMORA_SIMD
// The operations the steps are written in, over 128-bit vectors here and 256-bit ones below.
namespace sse2 {
using V = __m128i;
VELMORA_INLINE V Load(const Pixel* p) { return _mm_loadu_si128(reinterpret_cast<const V*>(p)); }
VELMORA_INLINE void Store(Pixel* p, V v) { _mm_storeu_si128(reinterpret_cast<V*>(p), v); }
VELMORA_INLINE V Set16(std::uint16_t x) { return _mm_set1_epi16(static_cast<short>(x)); }
VELMORA_INLINE V Set32(std::uint32_t x) { return _mm_set1_epi32(static_cast<int>(x)); }
VELMORA_INLINE V Low8(V v) { return _mm_unpacklo_epi8(v, _mm_setzero_si128()); }
VELMORA_INLINE V High8(V v) { return _mm_unpackhi_epi8(v, _mm_setzero_si128()); }
VELMORA_INLINE V Pack16(V low, V high) { return _mm_packus_epi16(low, high); }
VELMORA_INLINE V Add16(V a, V b) { return _mm_add_epi16(a, b); }
VELMORA_INLINE V Sub16(V a, V b) { return _mm_sub_epi16(a, b); }
VELMORA_INLINE V Mul16(V a, V b) { return _mm_mullo_epi16(a, b); }
VELMORA_INLINE V MulHi16(V a, V b) { return _mm_mulhi_epu16(a, b); }
VELMORA_INLINE V Add32(V a, V b) { return _mm_add_epi32(a, b); }
VELMORA_INLINE V Or(V a, V b) { return _mm_or_si128(a, b); }
VELMORA_INLINE V AndNot(V a, V b) { return _mm_andnot_si128(a, b); }
template <int k>
VELMORA_INLINE V Shl16(V v) { return _mm_slli_epi16(v, k); }
template <int k>
VELMORA_INLINE V ShuffleLo16(V v) { return _mm_shufflelo_epi16(v, k); }
template <int k>
VELMORA_INLINE V ShuffleHi16(V v) { return _mm_shufflehi_epi16(v, k); }
VELMORA_INLINE bool AllZero(V v) { return _mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_setzero_si128())) == 0xFFFF; }
// Div255(s * a + d * (255 - a)) per byte: the sum is at most 65025, so it fits a lane.
struct FadeWeights {
  V alpha, inverse;
};
VELMORA_INLINE FadeWeights Weights(std::uint32_t a) {
  return {Set16(static_cast<std::uint16_t>(a)), Set16(static_cast<std::uint16_t>(255 - a))};
}
VELMORA_INLINE V Div255Sum(V s, V d, const FadeWeights& w) {
  const V t = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(s, w.alpha), _mm_mullo_epi16(d, w.inverse)), Set16(128));
  return _mm_mulhi_epu16(t, Set16(257));
}
VELMORA_INLINE V FadeStep(V s, V d, const FadeWeights& w) {
  const V zero = _mm_setzero_si128();
  return Pack16(Div255Sum(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero), w),
                Div255Sum(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero), w));
}
#include "platform/base/pixel_rows_steps.h"  // NOLINT(bugprone-suspicious-include)
}  // namespace sse2

#if defined(__x86_64__) && !defined(VELMORA_SSE2_ONLY)
#define VELMORA_AVX2 1
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif
namespace avx2 {
using V = __m256i;
VELMORA_INLINE V Load(const Pixel* p) { return _mm256_loadu_si256(reinterpret_cast<const V*>(p)); }
VELMORA_INLINE void Store(Pixel* p, V v) { _mm256_storeu_si256(reinterpret_cast<V*>(p), v); }
VELMORA_INLINE V Set16(std::uint16_t x) { return _mm256_set1_epi16(static_cast<short>(x)); }
VELMORA_INLINE V Set32(std::uint32_t x) { return _mm256_set1_epi32(static_cast<int>(x)); }
VELMORA_INLINE V Low8(V v) { return _mm256_unpacklo_epi8(v, _mm256_setzero_si256()); }
VELMORA_INLINE V High8(V v) { return _mm256_unpackhi_epi8(v, _mm256_setzero_si256()); }
VELMORA_INLINE V Pack16(V low, V high) { return _mm256_packus_epi16(low, high); }
VELMORA_INLINE V Add16(V a, V b) { return _mm256_add_epi16(a, b); }
VELMORA_INLINE V Sub16(V a, V b) { return _mm256_sub_epi16(a, b); }
VELMORA_INLINE V Mul16(V a, V b) { return _mm256_mullo_epi16(a, b); }
VELMORA_INLINE V MulHi16(V a, V b) { return _mm256_mulhi_epu16(a, b); }
VELMORA_INLINE V Add32(V a, V b) { return _mm256_add_epi32(a, b); }
VELMORA_INLINE V Or(V a, V b) { return _mm256_or_si256(a, b); }
VELMORA_INLINE V AndNot(V a, V b) { return _mm256_andnot_si256(a, b); }
template <int k>
VELMORA_INLINE V Shl16(V v) { return _mm256_slli_epi16(v, k); }
template <int k>
VELMORA_INLINE V ShuffleLo16(V v) { return _mm256_shufflelo_epi16(v, k); }
template <int k>
VELMORA_INLINE V ShuffleHi16(V v) { return _mm256_shufflehi_epi16(v, k); }
VELMORA_INLINE bool AllZero(V v) { return _mm256_testz_si256(v, v); }
// Div255(s * a + d * (255 - a)) per byte with one multiply-add per channel: the bytes taken as
// signed (less 128) against the weight pair (a, 255 - a), which gives the sum less 255 * 128,
// inside a signed lane; adding 255 * 128 + 128 back leaves Div255's (t * 257) >> 16.
struct FadeWeights {
  V pairs;
};
VELMORA_INLINE FadeWeights Weights(std::uint32_t a) { return {Set16(static_cast<std::uint16_t>(a | (255 - a) << 8))}; }
VELMORA_INLINE V Div255Sum(V interleaved, const FadeWeights& w) {
  return _mm256_mulhi_epu16(_mm256_add_epi16(_mm256_maddubs_epi16(w.pairs, interleaved), Set16(255 * 128 + 128)),
                            Set16(257));
}
VELMORA_INLINE V FadeStep(V s, V d, const FadeWeights& w) {
  const V bias = Set32(0x80808080u), sb = _mm256_xor_si256(s, bias), db = _mm256_xor_si256(d, bias);
  return Pack16(Div255Sum(_mm256_unpacklo_epi8(sb, db), w), Div255Sum(_mm256_unpackhi_epi8(sb, db), w));
}
#include "platform/base/pixel_rows_steps.h"  // NOLINT(bugprone-suspicious-include)
}  // namespace avx2
#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}
#define VELMORA_PICK(Name, ...) (HasAvx2() ? avx2::Name(__VA_ARGS__) : sse2::Name(__VA_ARGS__))
#else
#define VELMORA_PICK(Name, ...) sse2::Name(__VA_ARGS__)
#endif

#else  // no vectors: the per-pixel formulas do all
#define VELMORA_PICK(Name, ...) 0
#endif

}  // namespace

void CopyRowKeyed(Pixel* dst, const Pixel* src, int n, Pixel key, Pixel keyMask, Pixel setBits) {
  VELMORA_ASSERT(n >= 0 && (n == 0 || (dst && src)));
#if VELMORA_SIMD
  VELMORA_PICK(CopyKeyed, dst, src, n, key, keyMask, setBits);
#else
  CopyRowKeyedReference(dst, src, n, key, keyMask, setBits);
#endif
}

void CopyRowKeyedReference(Pixel* dst, const Pixel* src, int n, Pixel key, Pixel keyMask, Pixel setBits) {
  for (int i = 0; i < n; ++i)
    if ((src[i] & keyMask) != key) dst[i] = src[i] | setBits;
}

void CopyRowOpaque(Pixel* dst, const Pixel* src, int n) {
  VELMORA_ASSERT(n >= 0 && (n == 0 || (dst && src)));
#if VELMORA_SIMD
  VELMORA_PICK(CopyOpaque, dst, src, n);
#else
  for (int i = 0; i < n; ++i) dst[i] = src[i] | 0xFF000000u;
#endif
}

void OverRow(Pixel* dst, const Pixel* src, int n) {
  VELMORA_ASSERT(n >= 0 && (n == 0 || (dst && src)));
  const int done = VELMORA_PICK(OverSteps, dst, src, n);
  OverRowReference(dst + done, src + done, n - done);
}

void OverRowReference(Pixel* dst, const Pixel* src, int n) {
  for (int i = 0; i < n; ++i) dst[i] = OverPremultiplied(src[i], dst[i]);
}

void OverRowFaded(Pixel* dst, const Pixel* src, int n, std::uint32_t alpha) {
  VELMORA_ASSERT(n >= 0 && (n == 0 || (dst && src)) && alpha <= 255);
  if (alpha == 0) return;
  if (alpha == 255) return OverRow(dst, src, n);
  const int done = VELMORA_PICK(OverFadedSteps, dst, src, n, alpha);
  OverRowFadedReference(dst + done, src + done, n - done, alpha);
}

void OverRowFadedReference(Pixel* dst, const Pixel* src, int n, std::uint32_t alpha) {
  for (int i = 0; i < n; ++i) dst[i] = OverPremultiplied(ScalePixel(src[i], alpha), dst[i]);
}

void FadeRow(Pixel* dst, const Pixel* src, int n, std::uint32_t alpha) {
  VELMORA_ASSERT(n >= 0 && (n == 0 || (dst && src)) && alpha <= 255);
  if (alpha == 0) return;
  if (alpha == 255) return CopyRowOpaque(dst, src, n);
  const int done = VELMORA_PICK(FadeSteps, dst, src, n, alpha);
  FadeRowReference(dst + done, src + done, n - done, alpha);
}

void FadeRowReference(Pixel* dst, const Pixel* src, int n, std::uint32_t alpha) {
  for (int i = 0; i < n; ++i) dst[i] = Lerp(src[i] | 0xFF000000u, dst[i], alpha);
}

void ScaleRow(Pixel* dst, const Pixel* src, int n, std::uint32_t alpha, Pixel setBits) {
  VELMORA_ASSERT(n >= 0 && (n == 0 || (dst && src)) && alpha <= 255);
  const int done = VELMORA_PICK(ScaleSteps, dst, src, n, alpha, setBits);
  ScaleRowReference(dst + done, src + done, n - done, alpha, setBits);
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
