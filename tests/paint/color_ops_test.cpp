#include "paint/color_ops.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(ColorOps, ExchangeAndWeigh) {
  EXPECT_EQ(ExchangeRedBlue(0x00FF00FF), 0x00FF00FFu);
  EXPECT_EQ(ExchangeRedBlue(0x12345678), 0x12785634u);
  EXPECT_EQ(WeighColors(0x000000FF, 0x00FF0000, 0.5), 0x00800080u);  // 127.5 rounds to the even 128
  EXPECT_EQ(WeighColors(0x5A123456, 0x00000000, 1.0), 0x5A123456u);   // the first colour's top byte stays
  EXPECT_EQ(WeighColors(0x00FFFFFF, 0x00000000, 0.4), 0x00666666u);
}

TEST(ColorOps, HueRotation) {
  const struct {
    std::uint32_t color;
    int degrees;
    std::uint32_t expected;
  } cases[] = {
      {0x000000FF, 180, 0x00FFFF00},   // red becomes cyan
      {0x000000FF, 120, 0x0000FF00},   // red becomes green
      {0x000000FF, -120, 0x00FF0000},  // and blue the other way round
      {0x00808080, 180, 0x00808080},   // grey has no hue
      {0x00000000, 90, 0x00000000},
      {0x7F0000FF, 360, 0x7F0000FF},   // a full turn; the top byte stays
      {0x000080FF, 0, 0x000080FF},
  };
  for (const auto& c : cases) EXPECT_EQ(ShiftHue(c.color, c.degrees), c.expected) << std::hex << c.color << " " << std::dec << c.degrees;
}

TEST(ColorOps, Saturation) {
  EXPECT_EQ(ScaleSaturation(0x000000FF, -100), 0x00555555u);  // mean of 255, 0, 0 is 85
  EXPECT_EQ(ScaleSaturation(0x00406080, 100), 0x002060A0u);   // away from the mean 96
  EXPECT_EQ(ScaleSaturation(0x001020F0, 100), 0x000000FFu);   // clamped at both ends
  EXPECT_EQ(ScaleSaturation(0x00123456, 0), 0x00123456u);
}

TEST(ColorOps, BitmapsWorkInPixelOrderAndKeepAlpha) {
  plat::Bitmap b(2, 1);
  b.Row(0)[0] = 0x80FF0000;  // red pixel, alpha 0x80
  b.Row(0)[1] = 0xFF102030;
  ShiftBitmapHue(b, 180);
  EXPECT_EQ(b.Row(0)[0], 0x8000FFFFu);
  ScaleBitmapSaturation(b, -100);
  EXPECT_EQ(b.Row(0)[0], 0x80AAAAAAu);
  b.Row(0)[1] = 0xFF102030;
  GrayBitmap(b);
  EXPECT_EQ(b.Row(0)[0], 0x80AAAAAAu);
  EXPECT_EQ(b.Row(0)[1], 0xFF202020u);
}

}  // namespace
}  // namespace velmora
