#include "paint/row_kernels.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "paint/bitmap_ops.h"

namespace velmora {
namespace {

std::vector<Pixel> RandomRow(std::mt19937& random, int n) {
  std::vector<Pixel> row(static_cast<std::size_t>(n));
  for (Pixel& p : row) p = static_cast<Pixel>(random());
  return row;
}

// Both the wide and the baseline path, where the processor has the wide one.
class RowKernels : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { UseWideKernels(GetParam()); }
  void TearDown() override { UseWideKernels(true); }
};

TEST_P(RowKernels, KeepBlendMatchesReference) {
  std::mt19937 random(7);
  for (int keep : {0, 1, 127, 128, 200, 254, 255}) {
    for (int n : {1, 3, 4, 7, 8, 9, 15, 17, 33, 101}) {
      const std::vector<Pixel> src = RandomRow(random, n), dst = RandomRow(random, n);
      std::vector<Pixel> fast = dst, slow = dst;
      BlendKeepRow(fast.data(), src.data(), n, static_cast<std::uint8_t>(keep));
      BlendKeepRowReference(slow.data(), src.data(), n, static_cast<std::uint8_t>(keep));
      ASSERT_EQ(fast, slow) << "keep " << keep << " width " << n;
    }
  }
}

TEST_P(RowKernels, KeepBlendRule) {
  Pixel d = 0x7F000000, s = 0x00FFFFFF;
  BlendKeepRow(&d, &s, 1, 255);  // (0 × 255 + 255 × 1) >> 8 = 0; the alpha of d stays
  EXPECT_EQ(d, 0x7F000000u);
  d = 0x7F102030;
  s = 0x00ABCDEF;
  BlendKeepRow(&d, &s, 1, 0);
  EXPECT_EQ(d, 0x7FABCDEFu);
}

// Every pair of channels, with key pixels among them, for the weights that matter.
TEST_P(RowKernels, KeyedBlendMatchesDoubleArithmeticForEveryPair) {
  std::vector<Pixel> src, dst;
  for (Pixel s = 0; s < 256; ++s)
    for (Pixel d = 0; d < 256; ++d) {
      src.push_back(0x12000000u | (s << 16) | (d << 8) | (255 - s));
      dst.push_back(0x34000000u | (d << 16) | (s << 8) | (255 - d));
    }
  src[77] = dst[78] = kKeyColor;
  const int n = static_cast<int>(src.size());
  for (double weight : {0.0, 0.4, 0.5, 0.25, 0.1, 1.0 / 3, 0.6, 0.75, 0.999, 1.0}) {
    const KeyedWeight w(weight);
    std::vector<Pixel> fast = dst, slow = dst;
    BlendKeyedRow(fast.data(), src.data(), n, kKeyColor, w);
    for (int i = 0; i < n; ++i) {
      if (src[static_cast<std::size_t>(i)] == kKeyColor) continue;
      Pixel expected = slow[static_cast<std::size_t>(i)] & 0xFF000000u;
      for (int shift = 0; shift < 24; shift += 8) {
        const double sc = (src[static_cast<std::size_t>(i)] >> shift) & 0xFF, dc = (slow[static_cast<std::size_t>(i)] >> shift) & 0xFF;
        expected |= static_cast<Pixel>(std::nearbyint(sc - (sc - dc) * w.Weight())) << shift;
      }
      slow[static_cast<std::size_t>(i)] = expected;
    }
    ASSERT_EQ(fast, slow) << "weight " << weight;
  }
}

TEST_P(RowKernels, KeyedBlendOddWidthsAndKeys) {
  std::mt19937 random(11);
  for (double weight : {0.4, 0.5, 0.123456}) {
    const KeyedWeight w(weight);
    for (int n : {1, 3, 5, 9, 31}) {
      std::vector<Pixel> src = RandomRow(random, n);
      for (int i = 0; i < n; i += 3) src[static_cast<std::size_t>(i)] = kKeyColor;
      const std::vector<Pixel> dst = RandomRow(random, n);
      std::vector<Pixel> fast = dst, slow = dst;
      BlendKeyedRow(fast.data(), src.data(), n, kKeyColor, w);
      BlendKeyedRowReference(slow.data(), src.data(), n, kKeyColor, w);
      ASSERT_EQ(fast, slow) << weight << " " << n;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Paths, RowKernels, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Wide" : "Baseline"; });

TEST(KeyedWeight, FastFormCoversTheWeightsInUse) {
  EXPECT_TRUE(KeyedWeight(0.4).FixedExact());
  EXPECT_FALSE(KeyedWeight(0.4).HasTies());
  EXPECT_TRUE(KeyedWeight(0.5).FixedExact());
  EXPECT_TRUE(KeyedWeight(0.5).HasTies());
  EXPECT_EQ(KeyedWeight(-3).Weight(), 0.0);  // held to 0..1
  EXPECT_EQ(KeyedWeight(7).Weight(), 1.0);
  EXPECT_EQ(KeyedWeight(0.5).Channel(1, 0), 0u);  // 0.5 rounds to the even 0
  EXPECT_EQ(KeyedWeight(0.5).Channel(3, 0), 2u);  // 1.5 rounds to the even 2
}

TEST(RowKernels, AlphaImageRule) {
  // ((S − D) a + 256 D) >> 8 per channel; A + a (255 − A) / 255.
  Pixel d = 0x40204060, s = 0x80FF0010;
  BlendAlphaRow(&d, &s, 1);
  const auto ch = [](int sc, int dc) { return static_cast<Pixel>(((sc - dc) * 0x80 + dc * 256) >> 8); };
  EXPECT_EQ(d, (static_cast<Pixel>(0x40 + 0x80 * (255 - 0x40) / 255) << 24) | (ch(0xFF, 0x20) << 16) | (ch(0, 0x40) << 8) |
                   ch(0x10, 0x60));
  d = 0x40204060;
  s = 0x00FFFFFF;  // alpha 0: nothing changes
  BlendAlphaRow(&d, &s, 1);
  EXPECT_EQ(d, 0x40204060u);
}

}  // namespace
}  // namespace velmora
