#include "paint/text.h"

#include <gtest/gtest.h>

#include <numeric>

#include "paint/text_coverage.h"
#include "section_fixture.h"

namespace velmora {
namespace {

using test::At;
using test::Fill;

constexpr plat::UINT kCentred = plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE;

class TextTest : public test::PaintTest {
 protected:
  // A picture with a large bold font, so that glyph stems hold fully covered pixels.
  static std::unique_ptr<fw::TBitmap> Picture(int w = 80, int h = 40, plat::Pixel fill = 0xFFFFFFFF) {
    auto b = std::make_unique<fw::TBitmap>(w, h);
    Fill(*b, fill);
    b->Canvas().Font().SetName("DejaVu Sans");
    b->Canvas().Font().SetHeight(-28);
    b->Canvas().Font().SetStyle({fw::fsBold});
    return b;
  }
  static bool Same(fw::TBitmap& a, fw::TBitmap& b) {
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x)
        if ((At(a, x, y) & 0xFFFFFF) != (At(b, x, y) & 0xFFFFFF)) return false;
    return true;
  }
  // The same text drawn straight through the platform in each colour at each offset, in order.
  static std::unique_ptr<fw::TBitmap> Expected(const std::string& text, plat::RECT r,
                                               std::initializer_list<std::tuple<int, int, plat::COLORREF>> passes,
                                               plat::Pixel fill = 0xFFFFFFFF) {
    auto b = Picture(80, 40, fill);
    const plat::HDC dc = TextContext(b->Canvas());
    plat::SetBkMode(dc, plat::TRANSPARENT);
    for (const auto& [dx, dy, color] : passes) {
      plat::SetTextColor(dc, color);
      DrawTextMoved(dc, text, r, dx, dy, kCentred);
    }
    return b;
  }

  test::TinySkin tiny;
  int section = tiny.AddSection("BUTTON", 0x000000);
};

TEST_F(TextTest, SectionTextDrawsOutlinesThenTheFontColour) {
  const plat::RECT r{0, 0, 80, 40};
  auto plain = Picture();
  WriteSectionText(plain->Canvas(), "Hi", true, &tiny.skin, 0, section, kCentred, r);
  EXPECT_TRUE(Same(*plain, *Expected("Hi", r, {{0, 0, 0x000000}})));  // all outlines -1: once

  tiny.Section(section).Props[1].FontColor = TsFontColor{0x00FF0000, -1, -1, 0x000000FF, -1};
  auto outlined = Picture();
  WriteSectionText(outlined->Canvas(), "Hi", true, &tiny.skin, 1, section, kCentred, r);
  EXPECT_TRUE(Same(*outlined, *Expected("Hi", r, {{1, 0, 0x0000FF}, {0, 0, 0xFF0000}})));
  EXPECT_FALSE(Same(*outlined, *Expected("Hi", r, {{0, 0, 0xFF0000}, {1, 0, 0x0000FF}})));

  // No section: the canvas font's colour.
  auto unskinned = Picture();
  unskinned->Canvas().Font().SetColor(0x00336699);
  WriteSectionText(unskinned->Canvas(), "Hi", true, &tiny.skin, 0, 7, kCentred, r);
  EXPECT_TRUE(Same(*unskinned, *Expected("Hi", r, {{0, 0, 0x336699}})));
}

TEST_F(TextTest, DisabledTextIsFortyPercentFontColour) {
  tiny.Section(section).Props[0].FontColor.Color = 0xFFFFFF;
  tiny.Section(section).Props[1].FontColor = TsFontColor{0x0000FF, 0x00FF00, 0x00FF00, 0x00FF00, 0x00FF00};
  auto b = Picture(80, 40, 0xFF000000);
  WriteSectionText(b->Canvas(), "Hi", false, &tiny.skin, 1, section, kCentred, {0, 0, 80, 40});
  // Black background, white font colour, black section colour: the covered pixels are 102 grey
  // and nothing is brighter; no outline is drawn.
  int covered = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 80; ++x) {
      const plat::Pixel p = At(*b, x, y) & 0xFFFFFF;
      EXPECT_LE(plat::PixelR(p), 0x66u);
      EXPECT_EQ(plat::PixelR(p), plat::PixelG(p));
      covered += p == 0x666666;
    }
  EXPECT_GT(covered, 20);
}

TEST_F(TextTest, WriteText32BlendsThroughCoverageAndMakesCoveredPixelsOpaque) {
  const plat::RECT r{-3, 2, 77, 42};  // off the left edge and past the bottom
  auto b = Picture(80, 40, 0x12345678);
  WriteText32(*b, "Hi", 0x00336699, kCentred, r);
  fw::TBitmap coverage(80, 40);
  DrawBlackOnWhite(coverage, b->Canvas().Font(), "Hi", {0, 0, 80, 40}, kCentred);
  int black = 0, partial = 0;
  for (int y = 0; y < 38; ++y)
    for (int x = 0; x < 77; ++x) {
      const plat::Pixel m = At(coverage, x + 3, y) & 0xFFFFFF, p = At(*b, x, y + 2);
      if (m == 0xFFFFFF) {
        EXPECT_EQ(p, 0x12345678u);
      } else if (m == 0) {
        ++black;
        EXPECT_EQ(p, 0xFF996633u);  // the colour exactly, opaque
      } else {
        ++partial;
        const int mg = static_cast<int>(plat::PixelG(m));
        EXPECT_EQ(plat::PixelG(p), static_cast<plat::Pixel>(((0x56 - 0x66) * mg + 0x66 * 256) >> 8));
        EXPECT_EQ(plat::PixelA(p), 255u);
      }
    }
  EXPECT_GT(black, 20);
  EXPECT_GT(partial, 10);
}

TEST_F(TextTest, KeptCoverageFollowsTheFont) {
  const plat::RECT r{0, 0, 80, 40};
  auto first = Picture();
  WriteText32(*first, "Hi", 0, kCentred, r);
  auto larger = Picture();
  larger->Canvas().Font().SetHeight(-20);
  WriteText32(*larger, "Hi", 0, kCentred, r);
  EXPECT_FALSE(Same(*first, *larger));
  ClearTextCoverage();
  auto fresh = Picture();
  fresh->Canvas().Font().SetHeight(-20);
  WriteText32(*fresh, "Hi", 0, kCentred, r);
  EXPECT_TRUE(Same(*larger, *fresh));
}

TEST_F(TextTest, SectionText32WritesOutlinesOnlyWhenEnabled) {
  tiny.Section(section).Props[1].FontColor = TsFontColor{0x000000, -1, -1, 0x0000FF, -1};
  const plat::RECT r{0, 0, 80, 40};
  auto enabled = Picture(), disabled = Picture(), expected = Picture();
  WriteSectionText32(*enabled, "Hi", true, &tiny.skin, true, section, kCentred, r);
  WriteSectionText32(*disabled, "Hi", false, &tiny.skin, true, section, kCentred, r);
  WriteText32(*expected, "Hi", 0x0000FF, kCentred, {1, 0, 81, 40});
  WriteText32(*expected, "Hi", 0x000000, kCentred, r);
  EXPECT_TRUE(Same(*enabled, *expected));
  auto plain = Picture();
  WriteText32(*plain, "Hi", 0x000000, kCentred, r);
  EXPECT_TRUE(Same(*disabled, *plain));
}

TEST_F(TextTest, BlurKernelIsCutAtHalfAGreyLevel) {
  // Radius 1: the tails beyond 3 weigh 0.0003 and go, those beyond 2 weigh 0.009 and stay.
  // Radius 2: beyond 6 0.001 goes, beyond 5 0.0055 stays.
  const struct {
    double radius;
    std::size_t size;
  } cases[] = {{1, 5}, {2, 11}, {0.1, 3}};
  for (const auto& c : cases) {
    const std::vector<double> k = BlurKernel(c.radius);
    EXPECT_EQ(k.size(), c.size) << c.radius;
    EXPECT_NEAR(std::accumulate(k.begin(), k.end(), 0.0), 1.0, 1e-12);
  }
}

TEST_F(TextTest, BlurSpreadsGreyOnlyAndKeepsFlatAreas) {
  fw::TBitmap grey;
  grey.SetPixelFormat(fw::pf8bit);
  grey.SetSize(15, 9);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 15; ++x) grey.Pixels()->Scanline(y)[x] = x < 7 ? 255 : 200;
  BlurGray8(grey, 2);
  for (int y = 0; y < 9; ++y) {
    EXPECT_EQ(grey.Pixels()->Scanline(y)[0], 255) << "the edge repeats, it does not darken";
    EXPECT_EQ(grey.Pixels()->Scanline(y)[14], 200);
    EXPECT_LT(grey.Pixels()->Scanline(y)[6], 255);
    EXPECT_GT(grey.Pixels()->Scanline(y)[7], 200);
  }
  // Flat areas stay exactly flat whatever the kernel's rounding.
  for (int radius = 1; radius <= 30; ++radius) {
    fw::TBitmap flat;
    flat.SetPixelFormat(fw::pf8bit);
    flat.SetSize(40, 3);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 40; ++x) flat.Pixels()->Scanline(y)[x] = 255;
    BlurGray8(flat, radius);
    for (int x = 0; x < 40; ++x) ASSERT_EQ(flat.Pixels()->Scanline(1)[x], 255) << radius;
  }
  auto colour = Picture(4, 4, 0xFF102030);
  BlurGray8(*colour, 2);
  EXPECT_EQ(At(*colour, 0, 0), 0xFF102030u);
}

TEST_F(TextTest, GlowTintsAroundTheTextAndReusesItsMask) {
  auto b = Picture(80, 40, 0x00000000);
  TacGlowMask mask;
  const plat::RECT r{10, 5, 70, 35};
  DrawTextGlow(*b, "Hi", r, mask, 0x0000FF, 3, 15, kCentred);
  ASSERT_TRUE(mask.Bmp);
  EXPECT_EQ(mask.Bmp->Width(), 60 + 2 * 7);
  EXPECT_EQ(mask.Bmp->PixelFormat(), fw::pf8bit);
  // Under the text the glow is strongly red and as opaque as it is red; beyond its reach the
  // picture is left alone.
  EXPECT_EQ(At(*b, 0, 0), 0u);
  plat::Pixel strongest = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 80; ++x) strongest = std::max(strongest, At(*b, x, y) & 0x00FFFFFF);
  EXPECT_EQ(strongest & 0xFFFF, 0u);
  EXPECT_GT(plat::PixelR(strongest), 150u);
  const fw::TBitmap* kept = mask.Bmp.get();
  DrawTextGlow(*b, "Hi", r, mask, 0x00FF00, 3, 15, kCentred);
  EXPECT_EQ(mask.Bmp.get(), kept);
  DrawTextGlow(*b, "Ho", r, mask, 0x00FF00, 3, 15, kCentred);
  EXPECT_NE(mask.Bmp.get(), kept) << "another text needs another mask";
}

TEST_F(TextTest, ControlTextGlowsOnlyWithAGlowSize) {
  test::FakeSkinState state(tiny.skin);
  state.SkinIndex = section;
  state.FCacheBmp = Picture(80, 40, 0);
  const plat::RECT r{0, 0, 80, 40};
  WriteControlText(state.FCacheBmp->Canvas(), "Hi", true, false, state, kCentred, r);
  auto noGlow = Picture(80, 40, 0);
  WriteSectionText(noGlow->Canvas(), "Hi", true, &tiny.skin, 0, section, kCentred, r);
  EXPECT_TRUE(Same(*state.FCacheBmp, *noGlow));
  tiny.Section(section).Props[0].GlowSize = 2;
  tiny.Section(section).Props[0].GlowColor = 0x00FF00;
  WriteControlText(state.FCacheBmp->Canvas(), "Hi", true, false, state, kCentred, r);
  EXPECT_FALSE(Same(*state.FCacheBmp, *noGlow));
}

TEST_F(TextTest, UnskinnedDisabledControlTextIsEngraved) {
  test::FakeSkinState state(tiny.skin);
  const plat::RECT r{0, 0, 80, 40};
  auto b = Picture();
  WriteControlText(b->Canvas(), "Hi", false, false, state, kCentred, r);
  const plat::COLORREF light = fw::ColorToRGB(fw::clBtnHighlight), dark = fw::ColorToRGB(fw::clBtnShadow);
  EXPECT_TRUE(Same(*b, *Expected("Hi", r, {{1, 1, light}, {0, 0, dark}})));
}

TEST_F(TextTest, FitWithEllipsis) {
  auto b = Picture();
  fw::TCanvas& c = b->Canvas();
  const int dots = c.TextWidth("..."), full = c.TextWidth("Brightness");
  EXPECT_EQ(FitWithEllipsis(c, "Brightness", 0), "");
  EXPECT_EQ(FitWithEllipsis(c, "Brightness", -5), "");
  EXPECT_EQ(FitWithEllipsis(c, "Brightness", full), "Brightness");
  EXPECT_EQ(FitWithEllipsis(c, "", 100), "");
  EXPECT_EQ(FitWithEllipsis(c, "Brightness", dots - 1), "");
  const std::string cut = FitWithEllipsis(c, "Brightness", full - 1);
  ASSERT_GE(cut.size(), 4u);
  EXPECT_EQ(cut.substr(cut.size() - 3), "...");
  EXPECT_EQ(std::string("Brightness").rfind(cut.substr(0, cut.size() - 3), 0), 0u);
  EXPECT_LE(c.TextWidth(cut), full - 1);
  // Cutting never splits a character.
  const std::string accents = FitWithEllipsis(c, "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", c.TextWidth("\xC3\xA9\xC3\xA9...") + 1);
  EXPECT_EQ(accents, "\xC3\xA9\xC3\xA9...");
}

}  // namespace
}  // namespace velmora
