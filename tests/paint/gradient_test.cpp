#include "paint/gradient.h"

#include <gtest/gtest.h>

#include "paint/platform_bindings.h"
#include "paint_fixtures.h"
#include "platform/gdi/modules.h"

namespace velmora {
namespace {

using testing::At;
using testing::Filled;

constexpr plat::Pixel kUntouched = 0x01020304;

TEST(Gradient, TwoVerticalPiesShareTheirBoundaryRow) {
  auto b = Filled(3, 10, kUntouched);
  // Red grows over the first band, blue falls over the second (127.5 rounds to the even 128).
  DrawGradient(*b, {0, 0, 3, 10}, {{0x000000, 0x0000FF, 50, 0, 0}, {0xFF0000, 0x000000, 50, 0, 0}});
  const plat::Pixel expected[10] = {0xFF000000, 0xFF330000, 0xFF660000, 0xFF990000, 0xFFCC0000,
                                    0xFF0000FF, 0xFF0000BF, 0xFF000080, 0xFF000040, 0xFF000000};
  for (int y = 0; y < 10; ++y) {
    EXPECT_EQ(At(*b, 0, y), expected[y]) << "row " << y;
    EXPECT_EQ(At(*b, 2, y), expected[y]) << "row " << y;
  }
}

TEST(Gradient, OneColourPieAndClipping) {
  auto b = Filled(4, 6, kUntouched);
  DrawGradient(*b, {-3, 2, 3, 99}, {{0x123456, 0x123456, 100, 0, 0}});
  for (int y = 0; y < 6; ++y) {
    EXPECT_EQ(At(*b, 0, y), y >= 2 ? 0xFF563412u : kUntouched) << y;
    EXPECT_EQ(At(*b, 3, y), kUntouched);
  }
}

TEST(Gradient, HorizontalComputesOneRowAndCopiesIt) {
  auto b = Filled(5, 3, kUntouched);
  DrawGradient(*b, {0, 1, 5, 2}, {{0x000000, 0x0000FF, 100, 1, 0}});
  const plat::Pixel row[5] = {0xFF000000, 0xFF400000, 0xFF800000, 0xFFBF0000, 0xFFFF0000};  // 63.75, 127.5, 191.25
  for (int x = 0; x < 5; ++x) {
    EXPECT_EQ(At(*b, x, 1), row[x]) << x;
    EXPECT_EQ(At(*b, x, 0), kUntouched);
    EXPECT_EQ(At(*b, x, 2), kUntouched);
  }
  DrawGradient(*b, {0, 0, 5, 3}, {{0x000000, 0x0000FF, 100, 1, 0}});
  for (int x = 0; x < 5; ++x) EXPECT_EQ(At(*b, x, 2), row[x]);
}

TEST(Gradient, NothingForOtherModesOrEmptyInput) {
  auto b = Filled(4, 4, kUntouched);
  DrawGradient(*b, {0, 0, 4, 4}, {{0xFFFFFF, 0, 100, 3, 0}});
  DrawGradient(*b, {0, 0, 4, 4}, {});
  DrawGradient(*b, {3, 3, 1, 1}, {{0xFFFFFF, 0, 100, 0, 0}});
  DrawGradientTextured(*b, {0, 0, 4, 4}, {{0xFFFFFF, 0, 100, 2, 0}}, 128, {}, *b);
  for (plat::Pixel p : testing::AllPixels(*b)) EXPECT_EQ(p, kUntouched);
}

TEST(Gradient, CornersNeedThePlatformGradientFill) {
  const TsGradArray corners = {{0x0000FF, 0, 0, 2, 0}, {0x00FF00, 0, 0, 0, 0}};
  plat::RemoveModuleFunction("msimg32.dll", "GradientFill");
  BindPlatformFunctions();
  EXPECT_EQ(GradientFillFunction(), nullptr);
  auto b = Filled(8, 8, kUntouched);
  DrawGradient(*b, {0, 0, 8, 8}, corners);
  for (plat::Pixel p : testing::AllPixels(*b)) EXPECT_EQ(p, kUntouched);

  plat::RegisterModuleFunction("msimg32.dll", "GradientFill", reinterpret_cast<plat::FARPROC>(&plat::GradientFill));
  BindPlatformFunctions();
  ASSERT_NE(GradientFillFunction(), nullptr);
  DrawGradient(*b, {0, 0, 8, 8}, corners);
  EXPECT_EQ(At(*b, 0, 0), 0xFFFF0000u);  // vertex 0: red; the others green
  EXPECT_EQ(At(*b, 4, 4) & 0x00FFFFFFu, 0x0000FF00u);
  EXPECT_EQ(At(*b, 7, 7) >> 24, 0xFFu);
}

TEST(Gradient, TexturedMatchesTheGradientMixedPixelByPixel) {
  std::mt19937 random(5);
  auto texture = testing::Random(7, 5, random);
  const plat::RECT rect{1, 1, 10, 12};
  for (int mode : {0, 1}) {
    const TsGradArray pies = {{0x102030, 0xF0E0D0, 40, mode, 0}, {0x00FF00, 0xFF00FF, 60, mode, 0}};
    auto plain = Filled(12, 13, kUntouched);
    DrawGradient(*plain, rect, pies);
    auto mixed = Filled(12, 13, kUntouched);
    DrawGradientTextured(*mixed, rect, pies, 100, {1, 1, 6, 4}, *texture);
    // The tile is 5 x 3: the texture rectangle, one short of the texture's edges.
    for (int y = 0; y < 13; ++y)
      for (int x = 0; x < 12; ++x) {
        const plat::Pixel g = At(*plain, x, y);
        if (g == kUntouched) {
          EXPECT_EQ(At(*mixed, x, y), kUntouched);
          continue;
        }
        const plat::Pixel t = At(*texture, 1 + x % 5, 1 + y % 3);
        plat::Pixel expected = 0xFF000000u;
        for (int shift = 0; shift < 24; shift += 8) {
          const int gc = static_cast<int>((g >> shift) & 0xFF), tc = static_cast<int>((t >> shift) & 0xFF);
          expected |= static_cast<plat::Pixel>((100 * (tc - gc) + gc * 256) >> 8) << shift;
        }
        ASSERT_EQ(At(*mixed, x, y), expected) << "mode " << mode << " at " << x << "," << y;
      }
  }
}

TEST(Gradient, TextureTooSmallToTileLeavesThePlainGradient) {
  auto texture = Filled(1, 1, 0xFFFFFFFF);
  const TsGradArray pies = {{0x102030, 0xF0E0D0, 100, 0, 0}};
  auto plain = Filled(4, 4, 0), mixed = Filled(4, 4, 0);
  DrawGradient(*plain, {0, 0, 4, 4}, pies);
  DrawGradientTextured(*mixed, {0, 0, 4, 4}, pies, 200, {}, *texture);
  EXPECT_EQ(testing::AllPixels(*mixed), testing::AllPixels(*plain));
}

}  // namespace
}  // namespace velmora
