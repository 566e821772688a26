#include "paint/masks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <vector>

#include "framework/bitmap.h"
#include "paint/bitmap_ops.h"
#include "skin/sSkinManager.h"

namespace velmora {
namespace {

using plat::Pixel;
using plat::RECT;

constexpr Pixel kSentinel = 0x11223344;

// A pixel that names its own position, so that a copied pixel tells where it came from.
constexpr Pixel Coded(int x, int y) { return 0xFF000000u | (static_cast<Pixel>(y) << 8) | static_cast<Pixel>(x); }

plat::Bitmap& PixelsOf(fw::TBitmap& b) { return *b.Pixels(); }

std::unique_ptr<fw::TBitmap> Filled(int w, int h, Pixel p) {
  auto b = MakeBitmap32(w, h);
  PixelsOf(*b).Fill(p);
  return b;
}

// A skin index holding only a master bitmap whose pixels are coded by position.
struct SkinFixture {
  TacSkinIndex skin;
  SkinFixture(int w, int h) {
    skin.ma.reserve(8);  // masks handed out stay where they are
    skin.MasterBitmap = MakeBitmap32(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) Master().Row(y)[x] = Coded(x, y);
  }
  plat::Bitmap& Master() { return PixelsOf(*skin.MasterBitmap); }
  TsMaskData& Add(RECT r, int count, int maskType, int drawMode, int wl, int wt, int wr, int wb) {
    TsMaskData m;
    m.R = r;
    m.ImageCount = count;
    m.MaskType = maskType;
    m.DrawMode = drawMode;
    m.Manager = &skin;
    m.WL = wl, m.WT = wt, m.WR = wr, m.WB = wb;
    skin.ma.push_back(std::move(m));
    return skin.ma.back();
  }
};

std::vector<Pixel> Row(fw::TBitmap& b, int y, int from, int to) {
  const Pixel* row = PixelsOf(b).Row(y);
  return std::vector<Pixel>(row + from, row + to);
}

std::vector<Pixel> CodedColumns(const std::vector<int>& columns, int y) {
  std::vector<Pixel> out;
  for (int c : columns) out.push_back(Coded(c, y));
  return out;
}

TEST(Masks, FrameGeometry) {
  const struct {
    RECT r;
    int count, maskType, width, height;
  } cases[] = {
      {{0, 0, 30, 20}, 0, 0, 0, 20},   // no frames
      {{5, 0, 35, 20}, 1, 1, 30, 10},  // one frame over its mask image
      {{0, 0, 31, 21}, 3, 2, 10, 7},   // divisions truncate
      {{0, 0, 30, 20}, 2, -1, 15, 0},  // no image rows
  };
  for (const auto& c : cases) {
    TsMaskData m;
    m.R = c.r, m.ImageCount = c.count, m.MaskType = c.maskType;
    EXPECT_EQ(ImageWidthOf(m), c.width);
    EXPECT_EQ(ImageHeightOf(m), c.height);
  }
}

// Edges too wide for the rectangle give up pixels evenly, the right one taking the odd pixel:
// WL 5 and WR 6 over 9 pixels leave 4 and 5, over 8 pixels 4 and 4. A pair too uneven to share
// the cut (0 and 10 over 4) stays inside the rectangle.
TEST(Masks, EdgesShrinkToFit) {
  const struct {
    int wl, wr, width;
    std::vector<int> columns;
  } cases[] = {
      {5, 6, 9, {0, 1, 2, 3, 15, 16, 17, 18, 19}},
      {5, 6, 8, {0, 1, 2, 3, 16, 17, 18, 19}},
      {5, 6, 11, {0, 1, 2, 3, 4, 14, 15, 16, 17, 18, 19}},
      {0, 10, 4, {16, 17, 18, 19}},
  };
  for (const auto& c : cases) {
    SkinFixture f(20, 3);
    const TsMaskData& mask = f.Add({0, 0, 20, 3}, 1, 0, 0, c.wl, 0, c.wr, 0);
    auto dst = Filled(c.width + 2, 3, kSentinel);
    DrawBorderMask(*dst, {1, 0, 1 + c.width, 3}, 0, false, mask, TCacheInfo{});
    for (int y = 0; y < 3; ++y) {
      EXPECT_EQ(Row(*dst, y, 1, 1 + c.width), CodedColumns(c.columns, y)) << c.width;
      EXPECT_EQ(PixelsOf(*dst).Row(y)[0], kSentinel);
      EXPECT_EQ(PixelsOf(*dst).Row(y)[c.width + 1], kSentinel);
    }
  }
}

// A 25-pixel edge over a 10-pixel tile: tiles at 0 and 10, then five pixels at 20; the centre is
// tiled the same way row by row.
TEST(Masks, TiledAndStretchedEdges) {
  SkinFixture f(12, 3);
  const TsMaskData& tiled = f.Add({0, 0, 12, 3}, 1, 0, kBorderFillCentre, 1, 1, 1, 1);
  auto dst = Filled(27, 3, kSentinel);
  DrawBorderMask(*dst, {0, 0, 27, 3}, 0, false, tiled, TCacheInfo{});
  for (int y = 0; y < 3; ++y) {
    std::vector<int> columns{0};
    for (int i = 0; i < 25; ++i) columns.push_back(1 + i % 10);
    columns.push_back(11);
    EXPECT_EQ(Row(*dst, y, 0, 27), CodedColumns(columns, y)) << y;
  }

  const TsMaskData& stretched = f.Add({0, 0, 12, 3}, 1, 0, kBorderStretch, 1, 1, 1, 1);
  auto wide = Filled(27, 3, kSentinel);
  DrawBorderMask(*wide, {0, 0, 27, 3}, 0, false, stretched, TCacheInfo{});
  const std::vector<Pixel> top = Row(*wide, 0, 0, 27);
  EXPECT_EQ(top[1], Coded(1, 0));
  EXPECT_EQ(top[25], Coded(10, 0));
  for (int x = 2; x < 26; ++x) EXPECT_GE(top[x], top[x - 1]) << x;  // nearest pixels, in order
  EXPECT_EQ(PixelsOf(*wide).Row(1)[13], kSentinel);                   // no centre without its bit
}

// Bad input of every kind ends silently and leaves the destination as it was.
TEST(Masks, NothingDrawnOnBadInput) {
  SkinFixture f(8, 6);
  f.Add({0, 0, 8, 3}, 2, 0, kBorderSkipNormal | kBorderFillCentre, 1, 1, 1, 1);  // 0: not drawn in state 0
  f.Add({0, 0, 8, 3}, 2, 0, kBorderFillCentre, 1, 1, 1, 1);                      // 1: a good mask
  f.Add({0, 0, 9, 3}, 1, 0, 0, 1, 1, 1, 1);                                      // 2: strip past the bitmap
  f.Add({0, 0, 8, 3}, 0, 0, 0, 1, 1, 1, 1);                                      // 3: no frames
  f.Add({0, 0, 8, 6}, 1, -1, 0, 1, 1, 1, 1);                                     // 4: no image rows
  f.skin.ma[1].Manager = nullptr;
  TsMaskData orphan;
  orphan.R = {0, 0, 8, 3}, orphan.ImageCount = 1, orphan.DrawMode = kBorderFillCentre;

  const struct {
    const char* what;
    RECT rect;
    int state;
    int index;
  } cases[] = {
      {"width 1", {2, 2, 3, 8}, 1, 0}, {"height 1", {0, 2, 8, 3}, 1, 0},
      {"state 0 with bit 2", {0, 0, 8, 8}, 0, 0}, {"negative state", {0, 0, 8, 8}, -1, 0},
      {"no manager", {0, 0, 8, 8}, 1, 1}, {"strip outside", {0, 0, 8, 8}, 1, 2},
      {"no frames", {0, 0, 8, 8}, 1, 3}, {"no rows", {0, 0, 8, 8}, 1, 4},
      {"index -1", {0, 0, 8, 8}, 1, -1}, {"index past the end", {0, 0, 8, 8}, 1, 99},
      {"far away", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 1, 0}, {"outside", {100, 100, 140, 130}, 1, 0},
      {"inverted", {8, 8, 0, 0}, 1, 0},
  };
  for (const auto& c : cases) {
    auto dst = Filled(8, 8, kSentinel);
    DrawBorderMask(*dst, c.rect, c.state, true, f.skin, c.index, TCacheInfo{});
    DrawGlyphMask(*dst, {c.rect.left, c.rect.top}, c.state, TCacheInfo{}, f.skin, c.index == 0 ? 99 : c.index, 1);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) ASSERT_EQ(PixelsOf(*dst).Row(y)[x], kSentinel) << c.what << " " << x << "," << y;
  }
  auto dst = Filled(8, 8, kSentinel);
  DrawBorderMask(*dst, {0, 0, 8, 8}, 1, false, orphan, TCacheInfo{});
  DrawBorderMaskRgn(*dst, nullptr, true, 1, orphan);
  EXPECT_EQ(PixelsOf(*dst).Row(4)[4], kSentinel);

  // State 1 draws the mask that state 0 skips, and a state past the last frame draws the last.
  DrawBorderMask(*dst, {0, 0, 4, 3}, 1, false, f.skin, 0, TCacheInfo{});
  EXPECT_EQ(Row(*dst, 1, 0, 4), CodedColumns({4, 5, 6, 7}, 1));
  auto last = Filled(8, 8, kSentinel);
  DrawBorderMask(*last, {0, 0, 4, 3}, 9, false, f.skin, 0, TCacheInfo{});
  EXPECT_EQ(Row(*last, 1, 0, 4), CodedColumns({4, 5, 6, 7}, 1));

  // A destination of another format is refused too.
  fw::TBitmap grey(8, 8);
  grey.SetPixelFormat(fw::pf24bit);
  f.skin.ma[1].Manager = &f.skin;
  DrawBorderMask(grey, {0, 0, 8, 8}, 1, false, f.skin, 1, TCacheInfo{});
  EXPECT_EQ(grey.Pixels()->PixelAt(4, 1), 0xFF000000u);
}

// Seeded random masks, rectangles, states and points: nothing is drawn outside the rectangle
// (or the glyph's frame), and the sanitizer build sees every read and write stay inside.
TEST(Masks, RandomCallsStayInside) {
  std::mt19937 random(20261211);
  auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  SkinFixture f(24, 16);
  for (int y = 0; y < 16; ++y) f.Master().Row(y)[pick(0, 23)] = kKeyColor;
  for (int round = 0; round < 400; ++round) {
    f.skin.ma.clear();
    const RECT strip{pick(-2, 8), pick(-2, 4), pick(4, 26), pick(4, 18)};
    TsMaskData& mask = f.Add(strip, pick(-1, 3), pick(-1, 2), pick(0, 7), pick(-1, 6), pick(-1, 6), pick(-1, 6),
                             pick(-1, 6));
    mask.CornerType = pick(0, 1);
    const RECT rect{pick(-6, 12), pick(-6, 12), pick(-6, 24), pick(-6, 24)};
    auto dst = Filled(14, 12, kSentinel);
    auto background = Filled(pick(1, 20), pick(1, 20), 0x55555555);
    const TCacheInfo cache{pick(0, 1) ? background.get() : dst.get(), pick(-4, 4), pick(-4, 4), 0x123456, RECT{},
                           pick(0, 1) == 1};
    const int state = pick(-1, 5);
    DrawBorderMask(*dst, rect, state, pick(0, 1) == 1, mask, cache);
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 14; ++x)
        if (!plat::Contains(rect, {x, y})) {
          ASSERT_EQ(PixelsOf(*dst).Row(y)[x], kSentinel) << round << " " << x << "," << y;
        }

    const plat::POINT at{pick(-8, 16), pick(-8, 14)};
    auto glyphDst = Filled(14, 12, kSentinel);
    DrawGlyphMask(*glyphDst, at, state, cache, mask, pick(0, 1));
    const RECT frame{at.x, at.y, at.x + std::max(0, ImageWidthOf(mask)), at.y + std::max(0, ImageHeightOf(mask))};
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 14; ++x)
        if (!plat::Contains(frame, {x, y})) {
          ASSERT_EQ(PixelsOf(*glyphDst).Row(y)[x], kSentinel) << round;
        }

    const plat::HRGN rgn = plat::CreateRectRgn(0, 0, 14, 12);
    DrawBorderMaskRgn(*dst, rgn, pick(0, 1) == 1, state, mask);
    plat::DeleteObject(rgn);
    std::vector<RECT> rects;
    CornerRects(rects, pick(-4, 30), mask, pick(0, 1) == 1, pick(-4, 4));
    MaskedCopy(rect, strip, *dst, mask, pick(0, 1) == 1, cache, *f.skin.MasterBitmap);
    KeyedCopy(*dst, *f.skin.MasterBitmap, at.x, at.y, pick(0, 1) == 1, cache, kKeyColor, rect);
    StretchMasked(rect.left, rect.top, pick(-1, 20), pick(-1, 20), pick(0, 1) == 1, pick(0, 10), *f.skin.MasterBitmap,
                  *dst, pick(-2, 20), pick(-2, 14), pick(-1, 8), pick(-1, 8));
    FillCornerBackground(*dst, *background, rect, static_cast<TacCornerKind>(pick(0, 3)), &f.skin, pick(-1, 1),
                         {pick(-4, 8), pick(-4, 8)});
  }
}

// A 2 x 2 corner whose top-left pixel is magenta, drawn in every combination of mask image,
// corner mode and background readiness. The background pixel behind it is 0x80123456.
TEST(Masks, MagentaCorner) {
  constexpr Pixel kBehind = 0x80123456;
  constexpr plat::COLORREF kFill = 0x00102030;
  const struct {
    int maskType;
    int cornerType;
    bool cornerMode;
    bool ready;
    Pixel expected;
  } cases[] = {
      {0, 1, true, true, kBehind},       // shows the parent's picture, all four bytes
      {0, 1, false, true, kSentinel},    // left alone
      {0, 0, true, true, kSentinel},     // a mask without transparent corners ignores corner mode
      {0, 1, true, false, 0x00302010},   // the parent's colour, alpha 0
      {0, 1, false, false, 0x00302010},
      {1, 1, true, true, 0xFF123456},    // the parent's colour, made opaque
      {1, 1, false, true, 0xFFC70CD0},   // blended through its mask value 0x40 like any pixel
      {1, 1, true, false, 0x00302010},
      {1, 1, false, false, kSentinel},
  };
  for (const auto& c : cases) {
    SkinFixture f(4, 8);
    f.Master().Row(0)[0] = kKeyColor;
    for (int y = 4; y < 8; ++y)
      for (int x = 0; x < 4; ++x) f.Master().Row(y)[x] = 0x00404040;
    TsMaskData& mask = f.Add({0, 0, 4, c.maskType == 1 ? 8 : 4}, 1, c.maskType, 0, 2, 2, 2, 2);
    mask.CornerType = c.cornerType;
    auto background = Filled(10, 10, 0);
    PixelsOf(*background).Row(2)[3] = kBehind;
    TCacheInfo cache{background.get(), 3, 2, kFill, RECT{}, c.ready};
    auto dst = Filled(4, 4, kSentinel);
    DrawBorderMask(*dst, {0, 0, 4, 4}, 0, c.cornerMode, mask, cache);
    EXPECT_EQ(PixelsOf(*dst).Row(0)[0], c.expected)
        << std::hex << "mask type " << c.maskType << " corner " << c.cornerMode << " ready " << c.ready;
  }
}

// The mask of a piece lies one frame below it, also for the piece at the very bottom of the image;
// a piece starting left of the destination is cut on both sides.
TEST(Masks, MaskedCopyReadsTheRowsBelowItsPiece) {
  auto src = Filled(3, 4, 0x00405060);
  for (int x = 0; x < 3; ++x) PixelsOf(*src).Row(2)[x] = 0x00FFFFFF, PixelsOf(*src).Row(3)[x] = 0;
  PixelsOf(*src).Row(1)[1] = 0x00102030;
  TsMaskData mask;
  mask.R = {0, 0, 3, 4}, mask.ImageCount = 1, mask.MaskType = 1;
  auto dst = Filled(3, 1, kSentinel);
  MaskedCopy({-1, 0, 2, 1}, {0, 1, 3, 2}, *dst, mask, false, SelfCacheInfo(*dst, 0, 0), *src);
  EXPECT_EQ(Row(*dst, 0, 0, 3), (std::vector<Pixel>{0xFF102030, 0xFF405060, kSentinel}));
}

TEST(Masks, KeyedCopyIntoItsOwnBackground) {
  auto src = Filled(3, 1, 0x00405060);
  PixelsOf(*src).Row(0)[1] = kKeyColor;
  auto dst = Filled(4, 2, kSentinel);
  // The source rectangle includes its right column; the copy starts one pixel left of the bitmap.
  KeyedCopy(*dst, *src, -1, 1, true, SelfCacheInfo(*dst, 0, 0), kKeyColor, {0, 0, 2, 0});
  EXPECT_EQ(Row(*dst, 1, 0, 4), (std::vector<Pixel>{kSentinel, 0xFF405060, kSentinel, kSentinel}));
  EXPECT_EQ(Row(*dst, 0, 0, 4), std::vector<Pixel>(4, kSentinel));
}

// Mask channels: 0 shows the image, 255 skips the pixel (read from the red byte alone); alpha
// grows by the mask's opacity. The faded mode raises the mask by 100.
TEST(Masks, GlyphThroughMask) {
  const struct {
    int mode;
    plat::POINT at;
    std::vector<Pixel> expected;
  } cases[] = {
      {1, {0, 0}, {0x80AAAAAA, 0x80AAAAAA, 0xFE405060, 0x80AAAAAA}},
      {0, {0, 0}, {0x80AAAAAA, 0x80AAAAAA, 0xFE69737C, 0x80AAAAAA}},
      {1, {-2, 0}, {0xFE405060, 0x80AAAAAA, 0x80AAAAAA, 0x80AAAAAA}},
      {1, {3, 0}, {0x80AAAAAA, 0x80AAAAAA, 0x80AAAAAA, 0x80AAAAAA}},
  };
  for (const auto& c : cases) {
    SkinFixture f(3, 2);
    const Pixel image[] = {0x00102030, kKeyColor, 0x00405060};
    const Pixel mask[] = {0x00FF0000, 0x00000000, 0x00000000};
    for (int x = 0; x < 3; ++x) f.Master().Row(0)[x] = image[x], f.Master().Row(1)[x] = mask[x];
    const TsMaskData& glyph = f.Add({0, 0, 3, 2}, 1, 1, 0, 0, 0, 0, 0);
    auto dst = Filled(4, 1, 0x80AAAAAA);
    DrawGlyphMask(*dst, c.at, 0, TCacheInfo{}, glyph, c.mode);
    EXPECT_EQ(Row(*dst, 0, 0, 4), c.expected) << c.mode << " at " << c.at.x;
  }
}

// Without a mask image, mode 1 copies with magenta showing the background and any other mode
// lays the glyph half over the destination.
TEST(Masks, GlyphWithKeyColour) {
  SkinFixture f(4, 1);
  f.Master().Row(0)[0] = 0x00FF0000, f.Master().Row(0)[1] = kKeyColor;
  f.Master().Row(0)[2] = kKeyColor, f.Master().Row(0)[3] = 0x000000FF;
  const TsMaskData& glyph = f.Add({0, 0, 4, 1}, 2, 0, 0, 0, 0, 0, 0);
  auto background = Filled(2, 1, 0x7F00FF00);
  auto dst = Filled(2, 1, 0x40000000);
  DrawGlyphMask(*dst, {0, 0}, 0, TCacheInfo{background.get(), 0, 0, 0, RECT{}, true}, glyph, 1);
  EXPECT_EQ(Row(*dst, 0, 0, 2), (std::vector<Pixel>{0x00FF0000, 0x7F00FF00}));
  auto faded = Filled(2, 1, 0x40000000);
  DrawGlyphMask(*faded, {0, 0}, 1, TCacheInfo{}, glyph, 0);
  EXPECT_EQ(Row(*faded, 0, 0, 2), (std::vector<Pixel>{0x40000000, 0x40000080}));  // 127.5 rounds to even
}

// A button whose four corners each hold three magenta pixels in a row: those twelve pixels stay
// undrawn and leave the region, as four rectangles of 3 x 1.
TEST(Masks, BorderRegionCutsCornerRuns) {
  SkinFixture f(10, 8);
  for (int x : {0, 1, 2, 7, 8, 9}) f.Master().Row(0)[x] = kKeyColor, f.Master().Row(7)[x] = kKeyColor;
  const TsMaskData& mask = f.Add({0, 0, 10, 8}, 1, 0, kBorderFillCentre, 3, 3, 3, 3);
  auto dst = Filled(10, 8, kSentinel);
  const plat::HRGN rgn = plat::CreateRectRgn(0, 0, 10, 8);
  DrawBorderMaskRgn(*dst, rgn, true, 0, mask);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x) {
      const bool cut = (y == 0 || y == 7) && (x < 3 || x > 6);
      EXPECT_EQ(plat::PtInRegion(rgn, x, y) != 0, !cut) << x << "," << y;
      EXPECT_EQ(PixelsOf(*dst).Row(y)[x], cut ? kSentinel : f.Master().Row(y)[x]) << x << "," << y;
    }
  plat::DeleteObject(rgn);

  // The same runs as rectangles, the right corner placed for a wider target.
  std::vector<RECT> rects;
  CornerRects(rects, 20, mask, false, 0);
  CornerRects(rects, 20, mask, true, 12);
  const std::vector<RECT> expected{{0, 0, 3, 1}, {17, 0, 20, 1}, {0, 14, 3, 15}, {17, 14, 20, 15}};
  ASSERT_EQ(rects.size(), expected.size());
  for (std::size_t i = 0; i < rects.size(); ++i) EXPECT_TRUE(plat::EqualRect(&rects[i], &expected[i])) << i;
}

// Through a mask image and stretched: pixels blend by their mask (0 here: the image's colour under
// the destination's alpha), the centre repeats its one source pixel, and without magenta nothing
// is cut.
TEST(Masks, BorderRegionThroughMaskStretched) {
  SkinFixture f(3, 6);
  for (int y = 3; y < 6; ++y)
    for (int x = 0; x < 3; ++x) f.Master().Row(y)[x] = 0;
  const TsMaskData& mask = f.Add({0, 0, 3, 6}, 1, 1, kBorderStretch | kBorderFillCentre, 1, 1, 1, 1);
  auto dst = Filled(6, 5, kSentinel);
  const plat::HRGN rgn = plat::CreateRectRgn(0, 0, 6, 5);
  DrawBorderMaskRgn(*dst, rgn, true, 0, mask);
  EXPECT_EQ(PixelsOf(*dst).Row(0)[0], 0x11000000u);
  EXPECT_EQ(PixelsOf(*dst).Row(2)[3], 0x11000101u);
  EXPECT_EQ(PixelsOf(*dst).Row(4)[5], 0x11000202u);
  EXPECT_EQ(PixelsOf(*dst).Row(0)[4], 0x11000001u);
  EXPECT_EQ(PixelsOf(*dst).Row(3)[0], 0x11000100u);
  EXPECT_EQ(plat::GetRegionRects(rgn).size(), 1u);
  EXPECT_TRUE(plat::PtInRegion(rgn, 0, 0) && plat::PtInRegion(rgn, 5, 4));
  plat::DeleteObject(rgn);
  auto plain = Filled(6, 5, kSentinel);
  DrawBorderMaskRgn(*plain, nullptr, false, 0, mask);  // no centre unless asked
  EXPECT_EQ(PixelsOf(*plain).Row(2)[3], kSentinel);
}

// A one-pixel centre covers its span by its mask's red value: 0 paints, 255 leaves, between blends.
TEST(Masks, StretchedOnePixelCentre) {
  const struct {
    Pixel mask;
    Pixel expected;
  } cases[] = {
      {0x00000000, 0xFF405060},
      {0x00FF0000, kSentinel},
      {0x00800000, 0x11314152},  // (d * 128 + s * 128) >> 8, alpha kept
  };
  for (const auto& c : cases) {
    auto src = Filled(1, 2, 0x00405060);
    PixelsOf(*src).Row(1)[0] = c.mask;
    auto dst = Filled(5, 4, kSentinel);
    StretchMasked(1, 1, 3, 2, true, 1, *src, *dst, 0, 0, 1, 1);
    EXPECT_EQ(PixelsOf(*dst).Row(2)[3], c.expected) << std::hex << c.mask;
    EXPECT_EQ(PixelsOf(*dst).Row(0)[1], kSentinel);
    EXPECT_EQ(PixelsOf(*dst).Row(3)[4], kSentinel);
  }
}

// Masked edges stretched: enlarged to the nearest pixel exactly, shrunk smoothly (the top edge
// narrower at its own height, the centre); both opaque.
TEST(Masks, StretchedMaskedEdges) {
  SkinFixture f(9, 18);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) f.Master().Row(y)[x] = 0x00405060, f.Master().Row(y + 9)[x] = 0x00000000;
  const TsMaskData& mask = f.Add({0, 0, 9, 18}, 1, 1, kBorderStretch | kBorderFillCentre, 3, 3, 3, 3);
  for (const RECT& rect : {RECT{0, 0, 12, 12}, RECT{0, 0, 8, 12}}) {
    auto dst = Filled(12, 12, kSentinel);
    DrawBorderMask(*dst, rect, 0, false, mask, SelfCacheInfo(*dst, 0, 0));
    for (int y = 0; y < rect.bottom; ++y)
      for (int x = 0; x < rect.right; ++x) {
        const Pixel p = PixelsOf(*dst).Row(y)[x];
        EXPECT_EQ(p >> 24, 0xFFu) << x << "," << y;
        EXPECT_NEAR(static_cast<int>(plat::PixelR(p)), 0x40, 1) << x << "," << y;
        EXPECT_NEAR(static_cast<int>(plat::PixelB(p)), 0x60, 1) << x << "," << y;
      }
    if (rect.right == 12) EXPECT_EQ(PixelsOf(*dst).Row(0)[4], 0xFF405060u);  // nearest: exact
    else EXPECT_EQ(PixelsOf(*dst).Row(0)[rect.right], kSentinel);
  }
}

TEST(Masks, FillCornerBackground) {
  SkinFixture f(8, 4);
  f.Master().Row(0)[7] = kKeyColor;          // top-right corner of the first frame
  f.Master().Row(3)[0] = 0xFFFF00FF;         // bottom-left: only the low 24 bits count
  f.Add({0, 0, 8, 4}, 1, 0, 0, 2, 2, 2, 2);
  auto background = Filled(6, 6, 0);
  PixelsOf(*background).Row(1)[3] = 0x80ABCDEF;
  PixelsOf(*background).Row(2)[0] = 0x80FEDCBA;
  auto dst = Filled(4, 4, kSentinel);
  FillCornerBackground(*dst, *background, {2, 0, 4, 2}, ckTopRight, &f.skin, 0, {2, 1});
  FillCornerBackground(*dst, *background, {0, 2, 2, 4}, ckBottomLeft, &f.skin, 0, {0, 1});
  EXPECT_EQ(PixelsOf(*dst).Row(0)[3], 0x80ABCDEFu);
  EXPECT_EQ(PixelsOf(*dst).Row(3)[0], 0x80FEDCBAu);
  int changed = 0;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) changed += PixelsOf(*dst).Row(y)[x] != kSentinel;
  EXPECT_EQ(changed, 2);

  // Without a mask, the destination's own magenta pixels are replaced; the rectangle is cut to
  // the background, so a far origin changes nothing.
  PixelsOf(*dst).Row(1)[1] = 0x7FFF00FF;
  FillCornerBackground(*dst, *background, {0, 0, 4, 4}, ckTopLeft, nullptr, -1, {500, 500});
  EXPECT_EQ(PixelsOf(*dst).Row(1)[1], 0x7FFF00FFu);
  FillCornerBackground(*dst, *background, {0, 0, 4, 4}, ckTopLeft, nullptr, -1, {2, 1});
  EXPECT_EQ(PixelsOf(*dst).Row(1)[1], 0u);
  EXPECT_EQ(PixelsOf(*dst).Row(0)[3], 0x80ABCDEFu);
}

}  // namespace
}  // namespace velmora
