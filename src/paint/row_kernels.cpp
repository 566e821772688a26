#include "paint/row_kernels.h"

#include <emmintrin.h>
#include <immintrin.h>

#include <algorithm>
#include <cmath>

#include "paint/bitmap_ops.h"
#include "platform/base/assert.h"

namespace velmora {

namespace {

bool& WideAllowed() {
  static bool allowed = true;
  return allowed;
}
bool Wide() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has && WideAllowed();
}

Pixel Channel(Pixel p, int shift) { return (p >> shift) & 0xFF; }

// --- keep-weighted blend ----------------------------------------------------------------------
// With x = d − s in 16-bit lanes, mulhi(x << 7, 2 keep) = floor(x keep / 256), so
//   s + mulhi(...) = (d keep + s (256 − keep)) >> 8
// exactly; the alpha lane multiplies by 512, which gives back d.

__m128i KeepFactorsSse2(std::uint8_t keep) {
  const short k = static_cast<short>(2 * keep);
  return _mm_set_epi16(512, k, k, k, 512, k, k, k);
}

__m128i BlendKeepHalfSse2(__m128i s, __m128i d, __m128i factors) {
  const __m128i x = _mm_slli_epi16(_mm_sub_epi16(d, s), 7);
  return _mm_add_epi16(s, _mm_mulhi_epi16(x, factors));
}

int BlendKeepSse2(Pixel* dst, const Pixel* src, int count, std::uint8_t keep) {
  const __m128i zero = _mm_setzero_si128(), factors = KeepFactorsSse2(keep);
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
    const __m128i lo = BlendKeepHalfSse2(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero), factors);
    const __m128i hi = BlendKeepHalfSse2(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero), factors);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_packus_epi16(lo, hi));
  }
  return i;
}

__attribute__((target("avx2"))) int BlendKeepAvx2(Pixel* dst, const Pixel* src, int count, std::uint8_t keep) {
  const short k = static_cast<short>(2 * keep);
  const __m256i zero = _mm256_setzero_si256();
  const __m256i factors = _mm256_set_epi16(512, k, k, k, 512, k, k, k, 512, k, k, k, 512, k, k, k);
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
    const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i));
    const __m256i sl = _mm256_unpacklo_epi8(s, zero), sh = _mm256_unpackhi_epi8(s, zero);
    const __m256i xl = _mm256_slli_epi16(_mm256_sub_epi16(_mm256_unpacklo_epi8(d, zero), sl), 7);
    const __m256i xh = _mm256_slli_epi16(_mm256_sub_epi16(_mm256_unpackhi_epi8(d, zero), sh), 7);
    const __m256i lo = _mm256_add_epi16(sl, _mm256_mulhi_epi16(xl, factors));
    const __m256i hi = _mm256_add_epi16(sh, _mm256_mulhi_epi16(xh, factors));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), _mm256_packus_epi16(lo, hi));
  }
  return i;
}

// --- keyed blend by a weight --------------------------------------------------------------------
// e = d − s and W = round(w 32768) in 16-bit lanes; P = e W. The result is s + P / 32768
// rounded, ties to even: floor(P / 32768) = mulhi(2e, W), and mullo(2e, W) holds the fraction
// in its 16 bits (0x8000 is exactly one half).

__m128i KeyedHalfSse2(__m128i s, __m128i d, __m128i w, bool ties) {
  const __m128i e2 = _mm_slli_epi16(_mm_sub_epi16(d, s), 1);
  const __m128i fraction = _mm_mullo_epi16(e2, w);
  __m128i r = _mm_add_epi16(_mm_add_epi16(s, _mm_mulhi_epi16(e2, w)), _mm_srli_epi16(fraction, 15));
  if (ties) {
    const __m128i tie = _mm_cmpeq_epi16(fraction, _mm_set1_epi16(static_cast<short>(0x8000)));
    r = _mm_sub_epi16(r, _mm_and_si128(tie, _mm_and_si128(r, _mm_set1_epi16(1))));
  }
  return r;
}

// w = 1/2 on whole bytes: avg is (s + d + 1) >> 1; an odd sum whose rounded-up mean is odd
// steps back to the even one below, so a = avg − ((s ^ d) & avg & 1).
inline __m128i HalfMeanSse2(__m128i s, __m128i d) {
  const __m128i avg = _mm_avg_epu8(s, d);
  return _mm_sub_epi8(avg, _mm_and_si128(_mm_and_si128(_mm_xor_si128(s, d), avg), _mm_set1_epi8(1)));
}

int BlendKeyedSse2(Pixel* dst, const Pixel* src, int count, std::uint32_t key, const KeyedWeight& weight) {
  const __m128i zero = _mm_setzero_si128(), w = _mm_set1_epi16(weight.Fixed());
  const __m128i keyV = _mm_set1_epi32(static_cast<int>(key)), alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  const bool ties = weight.HasTies(), half = weight.Half();
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
    const __m128i keep = _mm_or_si128(_mm_cmpeq_epi32(s, keyV), alpha);  // whole pixel, or alpha byte
    if (half) {
      const __m128i r = HalfMeanSse2(s, d);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_or_si128(_mm_and_si128(keep, d), _mm_andnot_si128(keep, r)));
      continue;
    }
    const __m128i lo = KeyedHalfSse2(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero), w, ties);
    const __m128i hi = KeyedHalfSse2(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero), w, ties);
    const __m128i r = _mm_packus_epi16(lo, hi);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_or_si128(_mm_and_si128(keep, d), _mm_andnot_si128(keep, r)));
  }
  return i;
}

// The same with mulhrs: (e W + 16384) >> 15 is P / 32768 rounded half up; ties step back to even.
__attribute__((target("avx2"))) __m256i KeyedHalfAvx2(__m256i s, __m256i d, __m256i w, bool ties) {
  const __m256i e = _mm256_sub_epi16(d, s);
  __m256i r = _mm256_add_epi16(s, _mm256_mulhrs_epi16(e, w));
  if (ties) {
    const __m256i fraction = _mm256_and_si256(_mm256_mullo_epi16(e, w), _mm256_set1_epi16(0x7FFF));
    const __m256i tie = _mm256_cmpeq_epi16(fraction, _mm256_set1_epi16(0x4000));
    r = _mm256_sub_epi16(r, _mm256_and_si256(tie, _mm256_and_si256(r, _mm256_set1_epi16(1))));
  }
  return r;
}

__attribute__((target("avx2"))) int BlendKeyedAvx2(Pixel* dst, const Pixel* src, int count, std::uint32_t key,
                                                   const KeyedWeight& weight) {
  const __m256i zero = _mm256_setzero_si256(), w = _mm256_set1_epi16(weight.Fixed());
  const __m256i keyV = _mm256_set1_epi32(static_cast<int>(key));
  const __m256i alpha = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  const bool ties = weight.HasTies(), half = weight.Half();
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
    const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i));
    const __m256i keep = _mm256_or_si256(_mm256_cmpeq_epi32(s, keyV), alpha);
    if (half) {
      const __m256i avg = _mm256_avg_epu8(s, d);
      const __m256i odd = _mm256_and_si256(_mm256_and_si256(_mm256_xor_si256(s, d), avg), _mm256_set1_epi8(1));
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), _mm256_blendv_epi8(_mm256_sub_epi8(avg, odd), d, keep));
      continue;
    }
    const __m256i lo = KeyedHalfAvx2(_mm256_unpacklo_epi8(s, zero), _mm256_unpacklo_epi8(d, zero), w, ties);
    const __m256i hi = KeyedHalfAvx2(_mm256_unpackhi_epi8(s, zero), _mm256_unpackhi_epi8(d, zero), w, ties);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), _mm256_blendv_epi8(_mm256_packus_epi16(lo, hi), d, keep));
  }
  return i;
}

}  // namespace

bool UseWideKernels(bool allowed) {
  WideAllowed() = allowed;
  return Wide();
}

void FillRow(Pixel* dst, int count, Pixel value) { std::fill(dst, dst + count, value); }

void SetAlphaRow(Pixel* dst, int count, std::uint8_t alpha, std::uint32_t key) {
  const Pixel a = static_cast<Pixel>(alpha) << 24;
  for (int i = 0; i < count; ++i)
    if (key == kNoKey || dst[i] != key) dst[i] = (dst[i] & 0x00FFFFFFu) | a;
}

// d = (d keep + s (256 − keep)) >> 8 on B, G, R; alpha of d stays.
void BlendKeepRow(Pixel* dst, const Pixel* src, int count, std::uint8_t keep) {
  VELMORA_ASSERT(count >= 0 && (count == 0 || (dst && src)));
  const int done = Wide() ? BlendKeepAvx2(dst, src, count, keep) : BlendKeepSse2(dst, src, count, keep);
  BlendKeepRowReference(dst + done, src + done, count - done, keep);
}

void BlendKeepRowReference(Pixel* dst, const Pixel* src, int count, std::uint8_t keep) {
  for (int i = 0; i < count; ++i) {
    Pixel out = dst[i] & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
      const Pixel c = (Channel(dst[i], shift) * keep + Channel(src[i], shift) * (256 - keep)) >> 8;
      out |= c << shift;
    }
    dst[i] = out;
  }
}

KeyedWeight::KeyedWeight(double weight) : weight_(std::isnan(weight) ? 1.0 : std::clamp(weight, 0.0, 1.0)) {
  const long fixed = std::lround(weight_ * 32768);
  if (fixed > 32767) return;  // the destination is kept whole; the double rule is as fast here
  fixed_ = static_cast<std::int16_t>(fixed);
  fixedExact_ = true;
  for (int e = -255; e <= 255 && fixedExact_; ++e) {
    if (((e * fixed_) & 0x7FFF) == 0x4000) hasTies_ = true;
    // A product that lands within rounding noise of one half, but not on it, depends on the size
    // of s in double arithmetic: such weights take the reference path.
    const double q = e * weight_;
    const double fraction = q - std::floor(q);
    if (fraction != 0.5 && std::fabs(fraction - 0.5) < 1e-9) fixedExact_ = false;
    // Otherwise the result depends on s only through its parity (at exact halves).
    const int first = std::max(0, -e);
    for (int s = first; s <= first + 1 && s <= 255 && s + e <= 255; ++s) {
      const auto us = static_cast<std::uint32_t>(s), ud = static_cast<std::uint32_t>(s + e);
      if (Channel(us, ud) != FixedChannel(us, ud)) fixedExact_ = false;
    }
  }
}

std::uint32_t KeyedWeight::Channel(std::uint32_t s, std::uint32_t d) const {
  const double ds = s, dd = d;
  return static_cast<std::uint32_t>(std::nearbyint(ds - (ds - dd) * weight_));
}

std::uint32_t KeyedWeight::FixedChannel(std::uint32_t s, std::uint32_t d) const {
  const int product = (static_cast<int>(d) - static_cast<int>(s)) * fixed_;
  const int whole = static_cast<int>(s) + (product >> 15), fraction = product & 0x7FFF;
  if (fraction > 0x4000) return static_cast<std::uint32_t>(whole + 1);
  if (fraction < 0x4000) return static_cast<std::uint32_t>(whole);
  return static_cast<std::uint32_t>(whole + (whole & 1));
}

// Per channel round(s − (s − d) w), ties to even; key pixels and the alpha of d stay.
void BlendKeyedRow(Pixel* dst, const Pixel* src, int count, std::uint32_t key, const KeyedWeight& w) {
  VELMORA_ASSERT(count >= 0 && (count == 0 || (dst && src)));
  int done = 0;
  if (w.FixedExact()) done = Wide() ? BlendKeyedAvx2(dst, src, count, key, w) : BlendKeyedSse2(dst, src, count, key, w);
  BlendKeyedRowReference(dst + done, src + done, count - done, key, w);
}

void BlendKeyedRowReference(Pixel* dst, const Pixel* src, int count, std::uint32_t key, const KeyedWeight& w) {
  for (int i = 0; i < count; ++i) {
    if (src[i] == key) continue;
    Pixel out = dst[i] & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) out |= w.Channel(Channel(src[i], shift), Channel(dst[i], shift)) << shift;
    dst[i] = out;
  }
}

void MapChannelsRow(Pixel* dst, int count, const ChannelTables& t) {
  for (int i = 0; i < count; ++i) {
    const Pixel p = dst[i];
    dst[i] = (p & 0xFF000000u) | (Pixel{t.r[Channel(p, 16)]} << 16) | (Pixel{t.g[Channel(p, 8)]} << 8) | t.b[Channel(p, 0)];
  }
}

void MapChannelsSetAlphaRow(Pixel* dst, int count, const ChannelTables& t, std::uint8_t alpha) {
  const Pixel a = static_cast<Pixel>(alpha) << 24;
  for (int i = 0; i < count; ++i) {
    const Pixel p = dst[i];
    dst[i] = a | (Pixel{t.r[Channel(p, 16)]} << 16) | (Pixel{t.g[Channel(p, 8)]} << 8) | t.b[Channel(p, 0)];
  }
}

namespace {

// D = ((S − D) a + 256 D) >> 8 per colour channel; A = A + a (255 − A) / 255 where a > 0.
Pixel BlendAlphaPixel(Pixel s, Pixel d) {
  const int a = static_cast<int>(s >> 24);
  if (a == 0) return d;
  Pixel out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int sc = static_cast<int>(Channel(s, shift)), dc = static_cast<int>(Channel(d, shift));
    out |= static_cast<Pixel>(((sc - dc) * a + dc * 256) >> 8) << shift;
  }
  const int da = static_cast<int>(d >> 24);
  return out | static_cast<Pixel>(da + a * (255 - da) / 255) << 24;
}

}  // namespace

void BlendAlphaRow(Pixel* dst, const Pixel* src, int count) {
  for (int i = 0; i < count; ++i) dst[i] = BlendAlphaPixel(src[i], dst[i]);
}

void BlendAlphaRowKeyed(Pixel* dst, const Pixel* src, int count, const Pixel* cacheRow, int cacheX, int cacheWidth) {
  for (int i = 0; i < count; ++i) {
    if (src[i] != kKeyColor) {
      dst[i] = BlendAlphaPixel(src[i], dst[i]);
      continue;
    }
    const int x = cacheX + i;
    if (cacheRow && x >= 0 && x < cacheWidth) dst[i] = cacheRow[x] | 0xFF000000u;
  }
}

}  // namespace velmora
