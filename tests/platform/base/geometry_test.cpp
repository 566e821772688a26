#include "platform/base/geometry.h"

#include <gtest/gtest.h>

#include "platform/base/color.h"

namespace plat {
namespace {

struct RectCase {
  RECT a, b, intersection, unionRect;
};

TEST(Geometry, IntersectAndUnionAreHalfOpen) {
  const RectCase cases[] = {
      {{0, 0, 10, 10}, {5, 5, 15, 15}, {5, 5, 10, 10}, {0, 0, 15, 15}},
      {{0, 0, 10, 10}, {10, 0, 20, 10}, {}, {0, 0, 20, 10}},        // touching edges share no pixel
      {{0, 0, 10, 10}, {2, 2, 4, 4}, {2, 2, 4, 4}, {0, 0, 10, 10}},  // containment
      {{0, 0, 10, 10}, {5, 5, 5, 20}, {}, {0, 0, 10, 10}},           // empty takes no part in a union
      {{-5, -5, 0, 0}, {-10, -1, -4, 3}, {-5, -1, -4, 0}, {-10, -5, 0, 3}},
  };
  for (const auto& c : cases) {
    RECT r;
    EXPECT_EQ(IntersectRect(&r, &c.a, &c.b), !IsEmpty(c.intersection));
    EXPECT_EQ(r, c.intersection);
    UnionRect(&r, &c.a, &c.b);
    EXPECT_EQ(r, c.unionRect);
  }
}

TEST(Geometry, PointsOnTheRightAndBottomEdgeAreOutside) {
  const RECT r{0, 0, 4, 3};
  EXPECT_TRUE(PtInRect(&r, {0, 0}));
  EXPECT_TRUE(PtInRect(&r, {3, 2}));
  EXPECT_FALSE(PtInRect(&r, {4, 0}));
  EXPECT_FALSE(PtInRect(&r, {0, 3}));
}

TEST(Geometry, OffsetInflateSubtract) {
  RECT r{1, 2, 3, 4};
  OffsetRect(&r, 10, -2);
  EXPECT_EQ(r, (RECT{11, 0, 13, 2}));
  InflateRect(&r, 1, 2);
  EXPECT_EQ(r, (RECT{10, -2, 14, 4}));
  InflateRect(&r, -3, 0);
  EXPECT_TRUE(IsRectEmpty(&r));

  const RECT a{0, 0, 10, 10};
  const RECT top{0, 0, 10, 3}, middle{2, 2, 4, 4};
  RECT out;
  SubtractRect(&out, &a, &top);
  EXPECT_EQ(out, (RECT{0, 3, 10, 10}));
  SubtractRect(&out, &a, &middle);  // a hole is not a rectangle: a stays
  EXPECT_EQ(out, a);
}

TEST(Color, ColourAndPixelExchangeRedAndBlue) {
  EXPECT_EQ(ColorToPixel(RGB(0x11, 0x22, 0x33), 0x80), 0x80112233u);
  EXPECT_EQ(PixelToColor(0x80112233u), RGB(0x11, 0x22, 0x33));
  EXPECT_EQ(SwapRedBlue(0x00FF00FFu), 0x00FF00FFu);
  EXPECT_EQ(SwapRedBlue(0x12345678u), 0x12785634u);
}

}  // namespace
}  // namespace plat

namespace plat {
namespace {

TEST(MulDiv, RoundsHalfAwayFromZeroWithoutOverflow) {
  struct Case {
    int a, b, c, expected;
  } cases[] = {{-16, 120, 96, -20}, {16, 144, 96, 24}, {5, 1, 2, 3},   {-5, 1, 2, -3},
               {5, -1, 2, -3},      {-5, -1, -2, -3}, {7, 3, 0, -1},  {2000000000, 2, 2, 2000000000},
               {2000000000, 3, 1, INT32_MAX},         {-2000000000, 3, 1, INT32_MIN}};
  for (const Case& c : cases) EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
}

}  // namespace
}  // namespace plat
