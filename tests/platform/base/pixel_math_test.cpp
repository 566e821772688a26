#include "platform/base/pixel_math.h"

#include <gtest/gtest.h>

namespace plat {
namespace {

// x / 255 rounded to nearest; 255 is odd, so there is never a tie.
constexpr std::uint32_t Rounded(std::uint32_t x) { return (2 * x + 255) / 510; }

TEST(PixelMath, Div255IsTheRoundedQuotientOverTheWholeRange) {
  for (std::uint32_t x = 0; x <= 65534; ++x) ASSERT_EQ(Div255(x), Rounded(x)) << x;
  static_assert(Div255(0) == 0 && Div255(127) == 0 && Div255(128) == 1 && Div255(255 * 255) == 255);
}

TEST(PixelMath, ScalePixelRoundsEveryChannelOnItsOwn) {
  for (std::uint32_t c = 0; c <= 255; ++c)
    for (std::uint32_t f = 0; f <= 255; ++f) {
      const std::uint32_t want = Rounded(c * f);
      // The channel under test beside full and empty neighbours, which must not leak into it.
      for (int shift : {0, 8, 16, 24})
        for (Pixel neighbours : {0u, ~(0xFFu << shift)})
          ASSERT_EQ((ScalePixel((c << shift) | neighbours, f) >> shift) & 0xFF, want) << c << " " << f << " " << shift;
    }
  static_assert(ScalePixel(0xFFFFFFFFu, 255) == 0xFFFFFFFFu && ScalePixel(0xFFFFFFFFu, 0) == 0);
  static_assert(ScalePixel(0x80402010u, 128) == 0x40201008u);
}

TEST(PixelMath, LerpIsOneRoundingOfTheWeightedSum) {
  for (std::uint32_t a = 0; a <= 255; ++a)
    for (std::uint32_t c : {0u, 1u, 77u, 128u, 254u, 255u})
      for (std::uint32_t d : {0u, 3u, 128u, 200u, 255u}) {
        const std::uint32_t want = Rounded(c * a + d * (255 - a));
        const Pixel cp = c * 0x01010101u, dp = d * 0x01010101u;
        ASSERT_EQ(Lerp(cp, dp, a), want * 0x01010101u) << a << " " << c << " " << d;
        ASSERT_EQ(LerpColor(cp, dp, a), want * 0x00010101u);
      }
}

struct OverCase {
  Pixel s, d, want;
};

TEST(PixelMath, OverAndPremultiplyAtTheirEnds) {
  const OverCase over[] = {
      {0x00000000u, 0xFF123456u, 0xFF123456u},  // transparent leaves the destination
      {0xFF654321u, 0xFF123456u, 0xFF654321u},  // opaque replaces it
      {0x80808080u, 0xFF000000u, 0xFF808080u},  // half white over black
      {0x80000000u, 0xFFFFFFFFu, 0xFF7F7F7Fu},  // half black over white: 255 * 127 / 255
  };
  for (const auto& c : over) EXPECT_EQ(OverPremultiplied(c.s, c.d), c.want) << std::hex << c.s;
  EXPECT_EQ(Premultiply(0x00FFFFFFu), 0u);
  EXPECT_EQ(Premultiply(0xFF123456u), 0xFF123456u);
  EXPECT_EQ(Premultiply(0x80FF8000u), 0x80804000u);
  EXPECT_EQ(Unpremultiply(0x80804000u), 0x80FF8000u);
  EXPECT_EQ(Unpremultiply(0x10FF2000u), 0x10FFFF00u);  // channels above alpha clamp to 255
  // Premultiplying then unpremultiplying gives back each channel to within the step of alpha.
  for (std::uint32_t a = 1; a <= 255; ++a)
    for (std::uint32_t c = 0; c <= 255; c += 5) {
      const Pixel back = Unpremultiply(Premultiply((a << 24) | c));
      ASSERT_LE(std::abs(static_cast<int>(back & 0xFF) - static_cast<int>(c)), static_cast<int>(255 / a / 2 + 1))
          << a << " " << c;
    }
}

}  // namespace
}  // namespace plat
