#include "paint/resample.h"

#include <emmintrin.h>

#include <algorithm>
#include <cmath>
#include <exception>
#include <memory>
#include <numbers>
#include <vector>


namespace velmora {

namespace {

double Radius(ResampleFilter filter) {
  switch (filter) {
    case ResampleFilter::Box: return 0.51;
    case ResampleFilter::Triangle:
    case ResampleFilter::Hermite: return 1;
    case ResampleFilter::Bell: return 1.5;
    case ResampleFilter::BSpline:
    case ResampleFilter::Mitchell: return 2;
    case ResampleFilter::WindowedSine: return 3;
  }
  return 0;
}

// The filter's value at distance x (already scaled); nothing at or beyond the radius.
double FilterValue(ResampleFilter filter, double x) {
  x = std::fabs(x);
  if (x >= Radius(filter)) return 0;
  switch (filter) {
    case ResampleFilter::Box: return x <= 0.5 ? 1 : 0;
    case ResampleFilter::Triangle: return 1 - x;
    case ResampleFilter::Hermite: return x * x * (2 * x - 3) + 1;
    case ResampleFilter::Bell: return x < 0.5 ? 0.75 - x * x : (x - 1.5) * (x - 1.5) / 2;
    case ResampleFilter::BSpline: return x < 1 ? x * x * (x / 2 - 1) + 2.0 / 3 : (2 - x) * (2 - x) * (2 - x) / 6;
    case ResampleFilter::WindowedSine:
      return x == 0 ? 1 : std::sin(std::numbers::pi * x) * std::sin(x) / (std::numbers::pi * x * x);
    case ResampleFilter::Mitchell:
      return x < 1 ? x * x * (7 * x / 6 - 2) + 8.0 / 9 : x * x * (2 - 7 * x / 18) - 10 * x / 3 + 16.0 / 9;
  }
  return 0;
}

// Per destination position, the source positions that reach it and their 16.16 weights.
struct Contributions {
  std::vector<int> first;  // size + 1 offsets into position/weight
  std::vector<int> position;
  std::vector<int> weight;
};

Contributions Weigh(int srcLength, int dstLength, ResampleFilter filter) {
  Contributions c;
  c.first.reserve(static_cast<std::size_t>(dstLength) + 1);
  const double scale = static_cast<double>(dstLength) / srcLength;
  // Shrinking widens the filter by src / dst and scales its values down by as much.
  const double shrink = scale < 1 ? scale : 1;
  const double width = Radius(filter) / shrink;
  for (int i = 0; i < dstLength; ++i) {
    c.first.push_back(static_cast<int>(c.position.size()));
    const double centre = static_cast<double>(i) * srcLength / dstLength;
    const int left = static_cast<int>(std::floor(centre - width)), right = static_cast<int>(std::ceil(centre + width));
    for (int j = left; j <= right; ++j) {
      const double value = FilterValue(filter, (centre - j) * shrink);
      if (value == 0) continue;
      const int w = static_cast<int>(std::nearbyint(value * shrink * 65536));
      if (w == 0) continue;
      // Mirrored back into the picture; a source shorter than the filter is held inside too.
      int n = j < 0 ? -j : j >= srcLength ? 2 * srcLength - 1 - j : j;
      n = std::clamp(n, 0, srcLength - 1);
      c.position.push_back(n);
      c.weight.push_back(w);
    }
  }
  c.first.push_back(static_cast<int>(c.position.size()));
  return c;
}

// S >> 16, held to 0..255.
inline std::uint8_t Settle(int sum) {
  if (sum < 0) return 0;
  if (sum >= 0xFF0001) return 255;
  return static_cast<std::uint8_t>(sum >> 16);
}

// Each row of src (height rows, bytes per pixel bpp) filtered across into tmp; the plain form,
// for 24-bit pictures.
template <int bpp>
void AcrossRows(const plat::Bitmap& src, plat::Bitmap& tmp, const Contributions& c) {
  const int width = tmp.Width();
  for (int y = 0; y < src.Height(); ++y) {
    const std::uint8_t* in = src.Scanline(y);
    std::uint8_t* out = tmp.Scanline(y);
    for (int x = 0; x < width; ++x) {
      int sum[bpp] = {};
      for (int k = c.first[static_cast<std::size_t>(x)]; k < c.first[static_cast<std::size_t>(x) + 1]; ++k) {
        const std::uint8_t* p = in + c.position[static_cast<std::size_t>(k)] * bpp;
        const int w = c.weight[static_cast<std::size_t>(k)];
        for (int ch = 0; ch < bpp; ++ch) sum[ch] += w * p[ch];
      }
      for (int ch = 0; ch < bpp; ++ch) out[x * bpp + ch] = Settle(sum[ch]);
    }
  }
}

// 32-bit rows two taps at a time with pmaddwd. A weight does not fit 16 bits, so it is split as
// w = 256 high + low (low 0..255) and the two sums are joined as 256 high sum + low sum, which
// is the same integer as the plain sum.
struct TapPairs {
  std::vector<int> first;  // per destination position, into the pairs; size + 1
  std::vector<int> a, b;   // the two source positions of a pair
  struct Lanes {
    alignas(16) std::int16_t w[8];
  };
  std::vector<Lanes> low, high;
};

TapPairs PairUp(const Contributions& c) {
  TapPairs t;
  const std::size_t count = c.first.size() - 1;
  for (std::size_t x = 0; x < count; ++x) {
    t.first.push_back(static_cast<int>(t.a.size()));
    for (int k = c.first[x]; k < c.first[x + 1]; k += 2) {
      const bool pair = k + 1 < c.first[x + 1];
      const auto i = static_cast<std::size_t>(k);
      const int wa = c.weight[i], wb = pair ? c.weight[i + 1] : 0;
      t.a.push_back(c.position[i]);
      t.b.push_back(pair ? c.position[i + 1] : c.position[i]);
      const auto lo = [](int w) { return static_cast<std::int16_t>(w & 0xFF); };
      const auto hi = [](int w) { return static_cast<std::int16_t>(w >> 8); };
      TapPairs::Lanes l, h;
      for (int lane = 0; lane < 8; lane += 2) {
        l.w[lane] = lo(wa), l.w[lane + 1] = lo(wb);
        h.w[lane] = hi(wa), h.w[lane + 1] = hi(wb);
      }
      t.low.push_back(l);
      t.high.push_back(h);
    }
  }
  t.first.push_back(static_cast<int>(t.a.size()));
  return t;
}

void AcrossRows32(const plat::Bitmap& src, plat::Bitmap& tmp, const Contributions& c) {
  const TapPairs t = PairUp(c);
  const int width = tmp.Width();
  const __m128i zero = _mm_setzero_si128();
  for (int y = 0; y < src.Height(); ++y) {
    const int* in = reinterpret_cast<const int*>(src.Row(y));
    plat::Pixel* out = tmp.Row(y);
    for (int x = 0; x < width; ++x) {
      __m128i low = zero, high = zero;
      for (int k = t.first[static_cast<std::size_t>(x)]; k < t.first[static_cast<std::size_t>(x) + 1]; ++k) {
        const auto i = static_cast<std::size_t>(k);
        const __m128i pa = _mm_cvtsi32_si128(in[t.a[i]]), pb = _mm_cvtsi32_si128(in[t.b[i]]);
        const __m128i channels = _mm_unpacklo_epi8(_mm_unpacklo_epi8(pa, pb), zero);
        low = _mm_add_epi32(low, _mm_madd_epi16(channels, _mm_load_si128(reinterpret_cast<const __m128i*>(t.low[i].w))));
        high = _mm_add_epi32(high, _mm_madd_epi16(channels, _mm_load_si128(reinterpret_cast<const __m128i*>(t.high[i].w))));
      }
      // S >> 16 held to 0..255 by the saturating packs.
      const __m128i sum = _mm_srai_epi32(_mm_add_epi32(_mm_slli_epi32(high, 8), low), 16);
      const __m128i packed = _mm_packus_epi16(_mm_packs_epi32(sum, zero), zero);
      out[x] = static_cast<plat::Pixel>(_mm_cvtsi128_si32(packed));
    }
  }
}

// Each column of tmp filtered down into dst, a whole row of sums at a time.
__attribute__((target_clones("avx2", "default"))) void DownColumns(const plat::Bitmap& tmp, plat::Bitmap& dst,
                                                                     const Contributions& c, int bytesPerRow) {
  std::vector<int> sum(static_cast<std::size_t>(bytesPerRow));
  int* s = sum.data();
  for (int y = 0; y < dst.Height(); ++y) {
    std::fill(sum.begin(), sum.end(), 0);
    for (int k = c.first[static_cast<std::size_t>(y)]; k < c.first[static_cast<std::size_t>(y) + 1]; ++k) {
      const std::uint8_t* in = tmp.Scanline(c.position[static_cast<std::size_t>(k)]);
      const int w = c.weight[static_cast<std::size_t>(k)];
      for (int i = 0; i < bytesPerRow; ++i) s[i] += w * in[i];
    }
    std::uint8_t* out = dst.Scanline(y);
    for (int i = 0; i < bytesPerRow; ++i) out[i] = Settle(s[i]);
  }
}

}  // namespace

const char* ResampleMessage(ResampleResult result) {
  return result == ResampleResult::SourceTooSmall ? "Source bitmap is too small" : "";
}

ResampleResult ResampleBitmap(const fw::TBitmap& src, fw::TBitmap& dst, int width, int height, ResampleFilter filter) {
  if (&src == &dst || width <= 0 || height <= 0 || Radius(filter) == 0) return ResampleResult::BadArguments;
  if (src.Width() < 2 || src.Height() < 2) return ResampleResult::SourceTooSmall;
  try {
    if (width == src.Width() && height == src.Height()) {
      dst.Assign(&src);
      return ResampleResult::Done;
    }
    // Other formats are filtered on their three colour bytes.
    std::unique_ptr<fw::TBitmap> converted;
    const fw::TBitmap* source = &src;
    if (src.PixelFormat() != fw::pf32bit) {
      converted = std::make_unique<fw::TBitmap>();
      converted->Assign(&src);
      converted->SetPixelFormat(fw::pf24bit);
      source = converted.get();
    }
    const fw::TPixelFormat format = source->PixelFormat();
    const plat::Bitmap& in = *source->Pixels();
    plat::Bitmap tmp(width, in.Height(), in.Format());
    dst.SetPixelFormat(format);
    dst.SetSize(width, height);
    plat::Bitmap* out = dst.Pixels();
    if (!out || out->Format() != in.Format()) return ResampleResult::BadArguments;
    const Contributions across = Weigh(in.Width(), width, filter);
    if (format == fw::pf32bit) AcrossRows32(in, tmp, across);
    else AcrossRows<3>(in, tmp, across);
    const Contributions down = Weigh(in.Height(), height, filter);
    DownColumns(tmp, *out, down, width * (format == fw::pf32bit ? 4 : 3));
    return ResampleResult::Done;
  } catch (const std::exception&) {
    return ResampleResult::BadArguments;  // a size the platform refuses
  }
}

}  // namespace velmora
