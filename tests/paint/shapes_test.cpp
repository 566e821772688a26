#include "paint/shapes.h"

#include <gtest/gtest.h>

#include <string>

#include "paint_fixtures.h"

namespace velmora {
namespace {

// The bitmap as rows of '#' (painted) and '.', read from the colour bytes.
std::string Picture(const fw::TBitmap& b) {
  std::string s;
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) s += (testing::At(b, x, y) & 0x00FFFFFFu) ? '#' : '.';
    s += '\n';
  }
  return s;
}

TEST(Shapes, Arrows) {
  auto down = testing::Filled(10, 6, 0);
  DrawArrow(down->Canvas(), fw::clWhite, {0, 0, 10, 6}, 8);  // x0 = 1, y0 = 0
  EXPECT_EQ(Picture(*down),
            ".########.\n"
            "..######..\n"
            "...####...\n"
            "....##....\n"
            "..........\n"
            "..........\n");
  auto right = testing::Filled(6, 9, 0);
  DrawArrow(right->Canvas(), fw::clWhite, {0, 0, 6, 9}, 4);  // x0 = 1, y0 = 1
  EXPECT_EQ(Picture(*right),
            "......\n"
            ".#....\n"
            ".##...\n"
            ".###..\n"
            ".####.\n"
            ".###..\n"
            ".##...\n"
            ".#....\n"
            "......\n");
  auto none = testing::Filled(6, 6, 0);
  DrawArrow(none->Canvas(), fw::clWhite, {0, 0, 6, 6}, 5);
  EXPECT_EQ(Picture(*none).find('#'), std::string::npos);
}

TEST(Shapes, BevelRingsLightTopLeftShadeBottomRight) {
  auto b = testing::Filled(6, 6, 0);
  int rings = 2;
  BevelRings(b->Canvas().Handle(), {0, 0, 6, 6}, fw::clWhite, rings, 0x0000FF);
  EXPECT_EQ(rings, 0);
  const auto at = [&](int x, int y) { return testing::At(*b, x, y) & 0x00FFFFFFu; };
  // Right and Bottom come one pixel in, so the corners of the first ring are (0, 0) and (5, 5).
  const char* expected =
      "LLLLLS"
      "LLLLSS"
      "LL..SS"
      "LL..SS"
      "LSSSSS"
      "SSSSSS";
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) {
      const char c = expected[y * 6 + x];
      EXPECT_EQ(at(x, y), c == 'L' ? 0x00FFFFFFu : c == 'S' ? 0x00FF0000u : 0u) << x << "," << y;
    }
}

}  // namespace
}  // namespace velmora
