#include "paint/resample.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "paint_fixtures.h"

namespace velmora {
namespace {

using testing::At;
using testing::Filled;

constexpr ResampleFilter kFilters[] = {ResampleFilter::Box,      ResampleFilter::Triangle,     ResampleFilter::Hermite,
                                       ResampleFilter::Bell,     ResampleFilter::BSpline,      ResampleFilter::WindowedSine,
                                       ResampleFilter::Mitchell};

TEST(Resample, SourceTooSmallIsReportedAndDestinationKept) {
  auto dst = Filled(3, 3, 0x12345678);
  for (auto [w, h] : {std::pair{1, 5}, std::pair{5, 1}}) {
    auto src = Filled(w, h, 0);
    const ResampleResult r = ResampleBitmap(*src, *dst, 4, 4, ResampleFilter::Mitchell);
    EXPECT_EQ(r, ResampleResult::SourceTooSmall);
    EXPECT_STREQ(ResampleMessage(r), "Source bitmap is too small");
  }
  EXPECT_EQ(dst->Width(), 3);
  EXPECT_EQ(At(*dst, 2, 2), 0x12345678u);
  auto src = Filled(4, 4, 0);
  EXPECT_EQ(ResampleBitmap(*src, *dst, 0, 4, ResampleFilter::Mitchell), ResampleResult::BadArguments);
  EXPECT_EQ(ResampleBitmap(*src, *dst, 4, 4, static_cast<ResampleFilter>(9)), ResampleResult::BadArguments);
}

TEST(Resample, EqualSizeCopies) {
  std::mt19937 random(3);
  auto src = testing::Random(5, 4, random);
  auto dst = MakeBitmap32(1, 1);
  ASSERT_EQ(ResampleBitmap(*src, *dst, 5, 4, ResampleFilter::Bell), ResampleResult::Done);
  EXPECT_EQ(testing::AllPixels(*dst), testing::AllPixels(*src));
}

// Enlarging, the filters whose shifted copies sum to one keep a flat picture flat, within the
// 16.16 weights' rounding (a step down at most in each of the two passes). Shrinking by a whole factor every destination position sees the same
// weights, mirrored edges included, so the picture stays uniform (at whatever level the sampled
// filter sums to). Alpha is filtered like the colours.
TEST(Resample, FlatPictures) {
  constexpr plat::Pixel kFlat = 0xC0804020;
  auto src = Filled(9, 6, kFlat);
  for (ResampleFilter f : kFilters) {
    auto big = MakeBitmap32(1, 1), small = MakeBitmap32(1, 1);
    ASSERT_EQ(ResampleBitmap(*src, *big, 13, 11, f), ResampleResult::Done);
    ASSERT_EQ(ResampleBitmap(*src, *small, 3, 2, f), ResampleResult::Done);
    ASSERT_EQ(small->Width(), 3);
    ASSERT_EQ(small->Height(), 2);
    for (plat::Pixel p : testing::AllPixels(*small)) EXPECT_EQ(p, At(*small, 0, 0)) << static_cast<int>(f);
    if (f == ResampleFilter::WindowedSine) continue;
    for (plat::Pixel p : testing::AllPixels(*big))
      for (int shift = 0; shift < 32; shift += 8)
        ASSERT_LE(std::abs(static_cast<int>((p >> shift) & 0xFF) - static_cast<int>((kFlat >> shift) & 0xFF)), 2)
            << "filter " << static_cast<int>(f) << " pixel " << std::hex << p;
  }
}

// 4 -> 2 with the triangle: the filter is widened to 2 and halved, so destination 0 (centre 0)
// takes weights 16384, 32768, 16384 at -1 (mirrored to 1), 0, 1, and destination 1 (centre 2) at
// 1, 2, 3. The unchanged height is an identity pass.
TEST(Resample, WeightListsByHand) {
  auto src = MakeBitmap32(4, 2);
  const plat::Pixel row[4] = {10, 20, 40, 80};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) src->Pixels()->Row(y)[x] = row[x] | 0xFF000000u;
  auto dst = MakeBitmap32(1, 1);
  ASSERT_EQ(ResampleBitmap(*src, *dst, 2, 2, ResampleFilter::Triangle), ResampleResult::Done);
  EXPECT_EQ(At(*dst, 0, 0), 0xFF00000Fu);  // (32768 × 10 + 32768 × 20) >> 16
  EXPECT_EQ(At(*dst, 1, 1), 0xFF00002Du);  // (16384 × 20 + 32768 × 40 + 16384 × 80) >> 16
}

// Negative lobes undershoot next to a hard edge: the sum is held at 0 and 255, never wrapped.
TEST(Resample, MitchellHoldsOvershootInRange) {
  auto src = MakeBitmap32(8, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 8; ++x) src->Pixels()->Row(y)[x] = x < 4 ? 0u : 0xFFFFFFFFu;
  auto dst = MakeBitmap32(1, 1);
  ASSERT_EQ(ResampleBitmap(*src, *dst, 13, 2, ResampleFilter::Mitchell), ResampleResult::Done);
  // Wrapped sums would show as bright pixels on the dark side and dark ones on the bright side.
  for (int x = 0; x < 3; ++x) EXPECT_LE(At(*dst, x, 0) & 0xFF, 1u) << x;
  for (int x = 10; x < 13; ++x) EXPECT_GE(At(*dst, x, 0) & 0xFF, 254u) << x;
}

TEST(Resample, TwentyFourBitSourceKeepsItsFormat) {
  auto src = Filled(6, 6, 0xFF336699);
  src->SetPixelFormat(fw::pf24bit);
  auto dst = MakeBitmap32(1, 1);
  ASSERT_EQ(ResampleBitmap(*src, *dst, 3, 4, ResampleFilter::Mitchell), ResampleResult::Done);
  EXPECT_EQ(dst->PixelFormat(), fw::pf24bit);
  const plat::Pixel p = dst->Pixels()->PixelAt(1, 1);
  EXPECT_EQ(p, dst->Pixels()->PixelAt(2, 3));
  EXPECT_NEAR(static_cast<int>(p & 0xFF), 0x99, 4);  // the colour bytes were filtered
}

}  // namespace
}  // namespace velmora
