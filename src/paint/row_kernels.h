#pragma once
// Per-row pixel kernels. Callers have clipped: every pointer covers `count` pixels. Each fast
// kernel has a plain reference with the same contract (…Reference) that the tests hold it to.
#include <cstdint>

#include "platform/base/color.h"

namespace velmora {

using plat::Pixel;

// The wide (AVX2) kernels are used where the processor has them, unless turned off here (for the
// benchmarks' baseline figures and for tests of both paths). Answers whether they are in use.
bool UseWideKernels(bool allowed);

// Every pixel becomes value.
void FillRow(Pixel* dst, int count, Pixel value);
// The alpha byte of every pixel, or of every pixel other than key when key is not kNoKey.
void SetAlphaRow(Pixel* dst, int count, std::uint8_t alpha, std::uint32_t key);

// B, G, R: d = (d keep + s (256 − keep)) >> 8; the alpha of d stays.
void BlendKeepRow(Pixel* dst, const Pixel* src, int count, std::uint8_t keep);
void BlendKeepRowReference(Pixel* dst, const Pixel* src, int count, std::uint8_t keep);

// round(s − (s − d) w) per channel with ties to even, for one weight w (limited to 0..1). The
// fast kernel works in 1/32768 steps of w; it is used only for weights where that gives the same
// result as the double arithmetic for every pair of channels (0.4, 0.5 and most others).
class KeyedWeight {
 public:
  explicit KeyedWeight(double weight);
  double Weight() const { return weight_; }
  // One channel: s blended toward d (the reference arithmetic, in double).
  std::uint32_t Channel(std::uint32_t s, std::uint32_t d) const;
  bool FixedExact() const { return fixedExact_; }
  std::int16_t Fixed() const { return fixed_; }
  // Some channel difference lands exactly half way, so the fast kernel must round ties to even.
  bool HasTies() const { return hasTies_; }
  // w = 1/2: the mean of the two bytes, ties to even, with no widening at all.
  bool Half() const { return weight_ == 0.5; }

 private:
  // The fixed-point rule for one channel, as the fast kernels compute it.
  std::uint32_t FixedChannel(std::uint32_t s, std::uint32_t d) const;

  double weight_;
  std::int16_t fixed_ = 0;
  bool fixedExact_ = false;
  bool hasTies_ = false;
};
// Source pixels equal to key are skipped; the others blended by w. The alpha of d stays.
void BlendKeyedRow(Pixel* dst, const Pixel* src, int count, std::uint32_t key, const KeyedWeight& w);
void BlendKeyedRowReference(Pixel* dst, const Pixel* src, int count, std::uint32_t key, const KeyedWeight& w);

// Per channel a table of results for 0..255 (tints); alpha stays, or becomes alpha when setAlpha.
struct ChannelTables {
  std::uint8_t b[256], g[256], r[256];
};
void MapChannelsRow(Pixel* dst, int count, const ChannelTables& tables);
void MapChannelsSetAlphaRow(Pixel* dst, int count, const ChannelTables& tables, std::uint8_t alpha);

// Straight-alpha source over destination: D = ((S − D) a + 256 D) >> 8 per channel, and where
// a > 0 the alpha A = A + a (255 − A) / 255.
void BlendAlphaRow(Pixel* dst, const Pixel* src, int count);
// The same, but source pixels equal to the key colour are not blended: pixel i takes
// cacheRow[cacheX + i] with alpha 255 where that index lies in 0..cacheWidth − 1, and is left
// alone elsewhere or when cacheRow is nullptr.
void BlendAlphaRowKeyed(Pixel* dst, const Pixel* src, int count, const Pixel* cacheRow, int cacheX, int cacheWidth);

}  // namespace velmora
