#include "paint/sections.h"

#include <gtest/gtest.h>

#include <cmath>

#include "paint/bitmap_ops.h"
#include "framework/controls.h"
#include "paint/color_ops.h"
#include "section_fixture.h"

namespace velmora {
namespace {

using test::At;
using test::Fill;

constexpr plat::Pixel kSentinel = 0x11223344;
constexpr TColor kK = 0x00204060;                       // the section's colour
constexpr plat::Pixel kKPixel = 0xFF604020;             // ... as an opaque pixel
plat::Pixel Opaque(TColor c) { return plat::ColorToPixel(static_cast<plat::COLORREF>(c)); }

// A parent picture whose every pixel tells where it is.
std::unique_ptr<fw::TBitmap> Numbered(int w, int h) {
  auto b = MakeBitmap32(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b->Pixels()->Row(y)[x] = 0xFF000000u | static_cast<plat::Pixel>(y << 8 | x);
  return b;
}

class SectionTest : public test::PaintTest {
 protected:
  std::unique_ptr<fw::TBitmap> Target(int w, int h) {
    auto b = MakeBitmap32(w, h);
    Fill(*b, kSentinel);
    return b;
  }
  void Paint(fw::TBitmap* b, const TCacheInfo& cache, plat::RECT r, int state = 0, plat::POINT origin = {0, 0}) {
    PaintSection(section, "BUTTON", cache, -1, -1, &tiny.skin, b, origin, r, state, true);
  }
  TsGenState& Props(int i) { return tiny.Section(section).Props[static_cast<std::size_t>(i)]; }
  void SetAll(auto TsGenState::*field, auto value) {
    Props(0).*field = value;
    Props(1).*field = value;
  }
  static TCacheInfo NotReady(TColor fill, fw::TBitmap* bmp = nullptr) {
    return TCacheInfo{bmp, 0, 0, static_cast<plat::COLORREF>(fill), {}, false};
  }

  test::TinySkin tiny;
  int section = tiny.AddSection("BUTTON", kK, 3);
};

TEST_F(SectionTest, FullyTransparentShowsTheParentFromTheOrigin) {
  SetAll(&TsGenState::Transparency, 100);
  auto parent = Numbered(40, 30);
  auto b = Target(10, 8);
  Paint(b.get(), {parent.get(), 3, 2, kKeyColor, {}, true}, {2, 1, 10, 8}, 0, {5, 4});
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x)
      EXPECT_EQ(At(*b, x, y), x >= 2 && y >= 1 ? At(*parent, x + 3 + 5, y + 2 + 4) : kSentinel) << x << "," << y;
}

TEST_F(SectionTest, FullyTransparentOverAParentNotReadyCopiesItsBordersAndFillsTheRest) {
  SetAll(&TsGenState::Transparency, 100);
  auto parent = Numbered(20, 20);
  TCacheInfo cache = NotReady(0x000000FF, parent.get());
  cache.FillRect = {2, 3, 4, 5};
  auto b = Target(20, 20);
  Paint(b.get(), cache, {0, 0, 20, 20});
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      const bool band = x < 2 || y < 3 || x >= 16 || y >= 15;
      EXPECT_EQ(At(*b, x, y), band ? At(*parent, x, y) : 0xFFFF0000u) << x << "," << y;
    }
  auto plain = Target(6, 6);
  Paint(plain.get(), NotReady(0x000000FF), {0, 0, 6, 6});
  EXPECT_EQ(At(*plain, 3, 3), 0xFFFF0000u);
}

TEST_F(SectionTest, PartlyTransparentSectionByWhatIsKnownBehindIt) {
  SetAll(&TsGenState::Transparency, 40);
  // A plain parent colour and nothing else to paint: the two colours mixed, 40 % parent.
  auto b = Target(4, 4);
  Paint(b.get(), NotReady(0x00FFFFFF), {0, 0, 4, 4});
  EXPECT_EQ(At(*b, 1, 1), Opaque(static_cast<TColor>(WeighColors(0x00FFFFFF, kK, 0.4))));
  // Nothing known: the section's colour alone, not a mix with "no colour".
  Paint(b.get(), NotReady(kKeyColor), {0, 0, 4, 4});
  EXPECT_EQ(At(*b, 1, 1), kKPixel);
  // A ready picture: the section blended over it, the picture keeping round(40 x 2.55) = 102.
  auto parent = Numbered(8, 8);
  Paint(b.get(), {parent.get(), 0, 0, kKeyColor, {}, true}, {0, 0, 4, 4}, 0, {2, 3});
  const plat::Pixel p = At(*parent, 3, 4);
  auto mix = [](plat::Pixel d, plat::Pixel s) { return ((d * 102 + s * (256 - 102)) >> 8) & 0xFF; };
  EXPECT_EQ(plat::PixelB(At(*b, 1, 1)), mix(plat::PixelB(p), 0x20));
  EXPECT_EQ(plat::PixelG(At(*b, 1, 1)), mix(plat::PixelG(p), 0x40));
  EXPECT_EQ(plat::PixelR(At(*b, 1, 1)), mix(plat::PixelR(p), 0x60));
}

TEST_F(SectionTest, GradientShares) {
  SetAll(&TsGenState::GradientPercent, 100);
  auto b = Target(6, 10);
  Paint(b.get(), NotReady(kKeyColor), {0, 0, 6, 10});
  EXPECT_EQ(At(*b, 5, 9), kKPixel) << "no gradient text: the colour";

  const TColor g = 0x00C08040;
  SetAll(&TsGenState::GradientData, std::string("x"));
  SetAll(&TsGenState::GradientArray, TsGradArray{{g, g, 100, 0, 0}});
  SetAll(&TsGenState::GradientPercent, 60);
  Paint(b.get(), NotReady(kKeyColor), {0, 0, 6, 10});
  auto tint = [](int c, int k) { return static_cast<plat::Pixel>(std::nearbyint(0.6 * c + 0.4 * k)); };
  EXPECT_EQ(At(*b, 3, 5), plat::MakePixel(static_cast<plat::BYTE>(tint(0x40, 0x60)), static_cast<plat::BYTE>(tint(0x80, 0x40)),
                                          static_cast<plat::BYTE>(tint(0xC0, 0x20)), 255));
}

TEST_F(SectionTest, TextureKindsFillTheirPartAndLeaveTheRestToTheColour) {
  // A 3 x 2 piece whose pixels are 0xFF0000yx.
  const plat::RECT piece{10, 20, 13, 22};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) tiny.SetMaster(10 + x, 20 + y, static_cast<plat::Pixel>(y << 4 | x));
  auto src = [](int x, int y) { return 0xFF000000u | static_cast<plat::Pixel>(y << 4 | x); };
  const int texture = tiny.AddMask("BUTTON", "PATTERN", piece, 1, 0, 0);
  SetAll(&TsGenState::ImagePercent, 100);
  SetAll(&TsGenState::TextureIndex, texture);
  // Each kind at a point it paints and, where it leaves the rest, at one it leaves.
  const struct {
    int kind;
    int x, y;
    plat::Pixel expected;
  } cases[] = {
      {0, 7, 4, src(1, 0)}, {0, 4, 3, src(1, 1)},  {10, 5, 3, src(2, 1)}, {10, 6, 0, kSentinel},
      {10, 0, 4, kSentinel}, {1, 0, 0, src(0, 0)}, {1, 7, 4, src(2, 1)},  {2, 4, 1, src(1, 1)},
      {2, 0, 2, kKPixel},   {3, 2, 4, src(2, 0)},  {3, 3, 0, kKPixel},    {4, 7, 0, src(2, 0)},
      {4, 0, 2, kKPixel},   {5, 0, 4, src(0, 1)},  {5, 3, 0, kKPixel},    {6, 0, 3, src(0, 0)},
      {6, 0, 2, kKPixel},   {7, 5, 0, src(0, 0)},  {7, 4, 0, kKPixel},    {9, 0, 0, kKPixel},
  };
  for (const auto& c : cases) {
    tiny.Mask(texture).DrawMode = c.kind;
    auto b = Target(8, 5);
    Paint(b.get(), NotReady(kKeyColor), {0, 0, 8, 5});
    EXPECT_EQ(At(*b, c.x, c.y), c.expected) << "kind " << c.kind << " at " << c.x << "," << c.y;
  }
}

TEST_F(SectionTest, GradientAndTextureMakingTheWholeMixInOnePass) {
  const TColor g = 0x00804020;
  tiny.FillMaster({0, 0, 2, 2}, 0x00F0F0F0);
  SetAll(&TsGenState::TextureIndex, tiny.AddMask("BUTTON", "PATTERN", {0, 0, 2, 2}, 1, 0, 0));
  SetAll(&TsGenState::ImagePercent, 40);
  SetAll(&TsGenState::GradientPercent, 60);
  SetAll(&TsGenState::GradientData, std::string("x"));
  SetAll(&TsGenState::GradientArray, TsGradArray{{g, g, 100, 1, 0}});
  auto b = Target(5, 5);
  Paint(b.get(), NotReady(kKeyColor), {0, 0, 5, 5});
  // The texture weighs 40 x 255 / 100 = 102: (102 (t - g) + 256 g) >> 8.
  auto mix = [](int t, int gc) { return static_cast<plat::BYTE>((102 * (t - gc) + 256 * gc) >> 8); };
  EXPECT_EQ(At(*b, 4, 4), plat::MakePixel(mix(0xF0, 0x20), mix(0xF0, 0x40), mix(0xF0, 0x80), 255));
}

TEST_F(SectionTest, MaskedWholeTilesLeaveTheirStripsToTheBackground) {
  // Frames 2 x 2 (two of them side by side), the mask image below all black: the image shows.
  tiny.FillMaster({0, 10, 4, 12}, 0x000000FF);
  tiny.FillMaster({0, 12, 4, 14}, 0x00000000);
  SetAll(&TsGenState::TextureIndex, tiny.AddMask("BUTTON", "PATTERN", {0, 10, 4, 14}, 2, 1, 10));
  SetAll(&TsGenState::ImagePercent, 100);
  auto parent = Numbered(10, 10);
  auto b = Target(5, 5);
  Paint(b.get(), {parent.get(), 1, 1, kKeyColor, {}, true}, {0, 0, 5, 5});
  EXPECT_EQ(At(*b, 3, 3) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(At(*b, 4, 2), At(*parent, 5, 3));
  EXPECT_EQ(At(*b, 1, 4), At(*parent, 2, 5));
}

TEST_F(SectionTest, StatesAreClampedAndAboveZeroUseTheHotValues) {
  // A three-frame border, one colour per frame, 1 pixel wide edges, centre drawn.
  const plat::Pixel frames[] = {0x000000AA, 0x000000BB, 0x000000CC};
  for (int f = 0; f < 3; ++f) tiny.FillMaster({f * 3, 30, f * 3 + 3, 33}, frames[f]);
  const int border = tiny.AddMask("BUTTON", "BORDERSMASK", {0, 30, 9, 33}, 3, 0, 0);
  tiny.Mask(border).WL = tiny.Mask(border).WT = tiny.Mask(border).WR = tiny.Mask(border).WB = 1;
  tiny.Section(section).BorderIndex = border;
  Props(1).Color = 0x00FFFFFF;
  auto b = Target(6, 6);
  Paint(b.get(), NotReady(kKeyColor), {0, 0, 6, 6}, 5);
  EXPECT_EQ(At(*b, 0, 0) & 0xFFFFFF, frames[2]);
  EXPECT_EQ(At(*b, 3, 3), 0xFFFFFFFFu);
  Paint(b.get(), NotReady(kKeyColor), {0, 0, 6, 6}, -3);
  EXPECT_EQ(At(*b, 0, 0) & 0xFFFFFF, frames[0]);
  EXPECT_EQ(At(*b, 3, 3), kKPixel);
}

TEST_F(SectionTest, OnePixelEdgesShrunkThroughTheirMaskStillPaint) {
  // A stretched border with a mask image and one-pixel edges: narrowing the 4 x 1 top edge to
  // 2 x 1 resamples a source one pixel high, which must be padded, never "Source bitmap is too
  // small" and an unpainted edge.
  tiny.FillMaster({0, 40, 6, 43}, 0x00336699);
  tiny.FillMaster({0, 43, 6, 46}, 0x00000000);
  const int border = tiny.AddMask("BUTTON", "BORDERSMASK", {0, 40, 6, 46}, 1, 1, 1);
  TsMaskData& m = tiny.Mask(border);
  m.WL = m.WT = m.WR = m.WB = 1;
  tiny.Section(section).BorderIndex = border;
  auto b = Target(4, 3);
  Paint(b.get(), NotReady(kKeyColor), {0, 0, 4, 3});
  for (int x = 0; x < 4; ++x) EXPECT_EQ(At(*b, x, 0) & 0xFFFFFF, 0x336699u) << x;
}

TEST_F(SectionTest, CornerImagesLeaveTheBackgroundUnderMagenta) {
  tiny.FillMaster({40, 0, 42, 2}, 0x00FF00FF);
  tiny.SetMaster(41, 1, 0x00123456);
  const int corner = tiny.AddMask("BUTTON", "TL", {40, 0, 42, 2}, 1, 0, 0);
  tiny.Mask(corner).ImgType = itisaGlyph;
  tiny.Section(section).ImgTL = corner;
  tiny.Section(section).ImgBR = corner;
  auto b = Target(6, 5);
  Paint(b.get(), NotReady(kKeyColor), {0, 0, 6, 5});
  EXPECT_EQ(At(*b, 0, 0), kKPixel);
  EXPECT_EQ(At(*b, 1, 1) & 0xFFFFFF, 0x123456u);
  EXPECT_EQ(At(*b, 4, 3), kKPixel);
  EXPECT_EQ(At(*b, 5, 4) & 0xFFFFFF, 0x123456u);
}

TEST_F(SectionTest, BadRequestsPaintNothing) {
  auto b = Target(6, 6);
  const TCacheInfo none = NotReady(kKeyColor);
  const plat::RECT bad[] = {{0, 0, 7, 6}, {0, 0, 6, 7}, {-1, 0, 6, 6}, {0, -1, 6, 6}, {3, 3, 3, 5}, {4, 4, 2, 2}};
  for (const plat::RECT& r : bad) Paint(b.get(), none, r);
  PaintSection(99, "NONE", none, -1, -1, &tiny.skin, b.get(), {0, 0}, {0, 0, 6, 6}, 0, true);
  PaintSection(-1, "NONE", none, -1, -1, &tiny.skin, b.get(), {0, 0}, {0, 0, 6, 6}, 0, true);
  PaintSection(section, "BUTTON", none, 77, 88, &tiny.skin, nullptr, {0, 0}, {0, 0, 6, 6}, 0, true);
  tiny.Section(section).BorderIndex = 1234;  // an index the skin does not have
  tiny.Section(section).ImgTL = 55;
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) ASSERT_EQ(At(*b, x, y), kSentinel);
  Paint(b.get(), none, {0, 0, 6, 6}, 1000);
  EXPECT_EQ(At(*b, 2, 2), kKPixel);
}

TEST_F(SectionTest, ControlSectionTakesCustomColourAndTintsTheWhole) {
  test::FakeSkinState state(tiny.skin);
  state.SkinIndex = section;
  state.FSkinSection = "BUTTON";
  state.FCustomColor = true;
  state.ownerColor = 0x000000FF;
  auto b = Target(4, 4);
  PaintControlSection(state, NotReady(kKeyColor), true, b.get(), {0, 0}, {0, 0, 4, 4}, 0);
  EXPECT_EQ(At(*b, 2, 2), 0xFFFF0000u);
  state.FHUEOffset = 120;
  PaintControlSection(state, NotReady(kKeyColor), true, b.get(), {0, 0}, {0, 0, 4, 4}, 0);
  EXPECT_EQ(At(*b, 2, 2), 0xFF00FF00u) << "red turned green";
}

TEST_F(SectionTest, PanelSectionWaitsForItsParent) {
  test::FakeSkinState state(tiny.skin);
  state.SkinIndex = section;
  state.FUpdating = true;
  state.answer = TacParentBackground::NotReady;
  auto b = Target(4, 4);
  EXPECT_FALSE(PaintPanelSection(state, true, b.get(), {0, 0}, {0, 0, 4, 4}, 0));
  EXPECT_FALSE(state.FUpdating);
  EXPECT_EQ(At(*b, 1, 1), kSentinel);
  state.answer = TacParentBackground::Fill;
  state.background = NotReady(0x00FFFFFF);
  EXPECT_TRUE(PaintPanelSection(state, true, b.get(), {0, 0}, {0, 0, 4, 4}, 0));
  EXPECT_EQ(At(*b, 1, 1), kKPixel);
}

TEST_F(SectionTest, FadeDisabledGreysAndFadesTowardTheBackground) {
  auto b = Target(3, 3);
  Fill(*b, 0xFF306090);
  FadeDisabled(*b, kFadeGray, nullptr, {0, 0}, NotReady(kKeyColor));
  EXPECT_EQ(At(*b, 1, 1), 0xFF606060u);
  auto parent = MakeBitmap32(8, 8);
  Fill(*parent, 0xFFE0E0E0);
  FadeDisabled(*b, kFadeBlend, nullptr, {2, 2}, {parent.get(), 1, 1, kKeyColor, {}, true});
  // round(s − (s − d) 0.4): the picture keeps 40 %.
  EXPECT_EQ(At(*b, 1, 1) & 0xFFFFFF, 0xADADADu);
  Fill(*b, 0xFF000000);
  FadeDisabled(*b, kFadeBlend, nullptr, {0, 0}, NotReady(0x00FFFFFF));
  EXPECT_EQ(At(*b, 1, 1) & 0xFFFFFF, 0x808080u) << "halfway to the fill colour";
}

TEST_F(SectionTest, RefreshCornersGivesMagentaCornerPixelsTheParentAgain) {
  // A one-frame border 4 x 4 with 2-pixel edges; its top-left pixel is magenta.
  tiny.FillMaster({50, 0, 54, 4}, 0x00808080);
  tiny.SetMaster(50, 0, 0x00FF00FF);
  tiny.SetMaster(53, 3, 0x00FF00FF);
  const int border = tiny.AddMask("BUTTON", "BORDERSMASK", {50, 0, 54, 4}, 1, 0, 0);
  TsMaskData& m = tiny.Mask(border);
  m.WL = m.WT = m.WR = m.WB = 2;
  m.CornerType = 1;
  test::FakeSkinState state(tiny.skin);
  state.BorderIndex = border;
  state.FCacheBmp = MakeBitmap32(6, 6);
  Fill(*state.FCacheBmp, 0x7F000000);
  fw::TControl owner(nullptr);
  state.owner = &owner;
  auto parent = Numbered(20, 20);
  state.answer = TacParentBackground::Picture;
  state.background = {parent.get(), 4, 5, kKeyColor, {}, true};
  RefreshCorners(state, 0, kCornerTopLeft);
  EXPECT_EQ(At(*state.FCacheBmp, 0, 0), 0x7F000000u | (At(*parent, 4, 5) & 0xFFFFFF));
  EXPECT_EQ(At(*state.FCacheBmp, 5, 5), 0x7F000000u) << "bottom-right not asked for";
  state.answer = TacParentBackground::Fill;
  state.parentColor = 0x000000FF;
  RefreshCorners(state, 0, kCornerBottomRight);
  EXPECT_EQ(At(*state.FCacheBmp, 5, 5), 0x7FFF0000u);
  EXPECT_EQ(At(*state.FCacheBmp, 4, 4), 0x7F000000u);
}

TEST_F(SectionTest, ControlBorderWithoutAMaskIsAPlainRing) {
  test::FakeSkinState state(tiny.skin);
  state.effectiveColor = 0x000000FF;
  auto b = Target(10, 10);
  plat::RECT inner{};
  PaintControlBorder(b->Canvas().Handle(), {0, 0, 10, 10}, 2, inner, 0, state);
  EXPECT_EQ(inner, (plat::RECT{2, 2, 8, 8}));
  EXPECT_EQ(At(*b, 1, 5) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(At(*b, 2, 5), kSentinel);
}

TEST_F(SectionTest, SectionToDCPaintsThroughAPictureOfItsOwn) {
  auto b = Target(10, 10);
  PaintSectionToDC(section, "BUTTON", NotReady(kKeyColor), &tiny.skin, b->Canvas().Handle(), {0, 0}, {2, 3, 6, 8}, 0,
                   true);
  EXPECT_EQ(At(*b, 2, 3), kKPixel);
  EXPECT_EQ(At(*b, 5, 7), kKPixel);
  EXPECT_EQ(At(*b, 6, 7), kSentinel);
  PaintSectionToDC(section, "BUTTON", NotReady(kKeyColor), &tiny.skin, b->Canvas().Handle(), {0, 0}, {-1, 3, 6, 8}, 0,
                   true);
  EXPECT_EQ(At(*b, 0, 3), kSentinel);
}

}  // namespace
}  // namespace velmora
