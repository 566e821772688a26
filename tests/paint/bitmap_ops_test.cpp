#include "paint/bitmap_ops.h"

#include <gtest/gtest.h>

#include <climits>

#include "paint_fixtures.h"

namespace velmora {
namespace {

using testing::At;
using testing::Filled;

TEST(Fills, FillPixelsClipsToTheBitmap) {
  auto b = Filled(4, 3, 0);
  FillPixels(*b, {-2, -1, 2, 10}, 0x00112233, 0x44);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(At(*b, x, y), x < 2 ? 0x44332211u : 0u) << x << "," << y;
}

TEST(Fills, PixelFrameBandsAndAlphaKeys) {
  auto b = Filled(5, 4, 0x01020304);
  PixelFrame(*b, {0, 0, 5, 4}, 1, 2, 1, 1, 0x000000FF);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) {
      const bool band = y < 2 || y == 3 || x == 0 || x == 4;
      EXPECT_EQ(At(*b, x, y), band ? 0xFFFF0000u : 0x01020304u) << x << "," << y;
    }
  b->Pixels()->Row(0)[0] = kKeyColor;
  b->Pixels()->Row(0)[1] = 0x01FF00FF;  // magenta with an alpha byte is not the key
  SetRectAlpha(*b, {0, 0, 2, 1}, 0x80, kKeyColor);
  EXPECT_EQ(At(*b, 0, 0), kKeyColor);
  EXPECT_EQ(At(*b, 1, 0), 0x80FF00FFu);
  SetRectAlpha(*b, {0, 0, 1, 1}, 0x80, kNoKey);
  EXPECT_EQ(At(*b, 0, 0), 0x80FF00FFu);
}

TEST(Fills, BrushesResolveTheColourAndPaintTheBands) {
  auto b = Filled(6, 6, 0);
  const plat::HDC dc = b->Canvas().Handle();
  BrushFill(dc, {1, 1, 3, 3}, fw::clBtnFace);
  EXPECT_EQ(At(*b, 1, 1) & 0x00FFFFFFu, plat::ColorToPixel(plat::GetSysColor(plat::COLOR_BTNFACE)) & 0x00FFFFFFu);
  EXPECT_EQ(At(*b, 3, 3), 0u);
  BrushFrame(dc, {0, 0, 6, 6}, 1, 1, 1, 1, 0x0000FF);
  EXPECT_EQ(At(*b, 0, 5) & 0x00FFFFFFu, 0x00FF0000u);
  EXPECT_EQ(At(*b, 5, 0) & 0x00FFFFFFu, 0x00FF0000u);
  EXPECT_EQ(At(*b, 4, 4), 0u);
}

TEST(Tints, ExactValues) {
  const struct {
    plat::Pixel pixel;
    int percent;
    fw::TColor color;
    bool withAlpha;
    plat::Pixel expected;
  } cases[] = {
      {0xAA050301, 50, 0x000000, false, 0xAA020200},  // 2.5, 1.5 and 0.5 round to even
      {0xAA64C800, 30, 0xC8C8C8, false, 0xAAAAC88C},  // the picture keeps 30 %
      {0xAA123456, 100, 0xFFFFFF, false, 0xAA123456},
      {0xAA123456, 0, 0x00FF00, false, 0xAA00FF00},
      {0x11C86400, 50, 0x0000FF, true, 0x80E43200},  // the colour's share; 227.5 rounds to 228
      {0x11C86400, 0, 0x0000FF, true, 0x80C86400},
  };
  for (const auto& c : cases) {
    auto b = Filled(3, 2, c.pixel);
    if (c.withAlpha) TintRectAlpha(*b, {-5, 1, 2, 9}, c.color, 0x80, c.percent);
    else TintRect(*b, {-5, 1, 2, 9}, c.percent, c.color);
    EXPECT_EQ(At(*b, 1, 1), c.expected) << std::hex << c.pixel << " " << std::dec << c.percent;
    EXPECT_EQ(At(*b, 2, 1), c.pixel);  // outside the rectangle
    EXPECT_EQ(At(*b, 0, 0), c.pixel);
  }
}

TEST(Blends, BlendBitmapIntoPlacesAndClips) {
  auto src = MakeBitmap32(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) src->Pixels()->Row(y)[x] = 0x55000000u | static_cast<plat::Pixel>(x + 10 * y);
  auto dst = Filled(4, 4, 0x7F000000);
  BlendBitmapInto(*dst, *src, 0, {-1, -2}, {0, 0, 4, 4});  // the source moves right and down by as much
  EXPECT_EQ(At(*dst, 0, 0), 0x7F000000u | 21);
  EXPECT_EQ(At(*dst, 2, 1), 0x7F000000u | 33);
  EXPECT_EQ(At(*dst, 0, 2), 0x7F000000u);  // beyond the source
  dst = Filled(4, 4, 0x7F000000);
  BlendBitmapInto(*dst, *src, 0, {0, 0}, {-1, 0, 3, 1});  // a negative source edge moves the point
  EXPECT_EQ(At(*dst, 0, 0), 0x7F000000u);
  EXPECT_EQ(At(*dst, 1, 0), 0x7F000000u | 0);
  EXPECT_EQ(At(*dst, 3, 0), 0x7F000000u | 2);
  auto other = Filled(3, 4, 0x00FFFFFF);
  BlendSameSize(*dst, *other, 0);  // sizes differ: nothing
  EXPECT_EQ(At(*dst, 3, 0), 0x7F000000u | 2);
}

TEST(Blends, KeyedBlendTakesTheRightAndBottomEdges) {
  auto src = Filled(3, 3, 0x00C86400);
  src->Pixels()->Row(0)[0] = kKeyColor;
  auto dst = Filled(4, 4, 0x22000000);
  BlendKeyed(*dst, 1, 1, kKeyColor, 0.4, {-1, 0, 1, 1}, *src);  // columns 0..1 at x 2; rows 0..1
  EXPECT_EQ(At(*dst, 2, 1), 0x22000000u);                       // the key pixel
  EXPECT_EQ(At(*dst, 3, 1), 0x22783C00u);                       // 200 × 0.6 = 120, 100 × 0.6 = 60
  EXPECT_EQ(At(*dst, 3, 2), 0x22783C00u);
  EXPECT_EQ(At(*dst, 1, 1), 0x22000000u);
  EXPECT_EQ(At(*dst, 3, 3), 0x22000000u);
}

TEST(Blends, CopyKeyedSkipsTheKeyAndMakesOpaque) {
  auto src = Filled(2, 2, 0x00102030);
  src->Pixels()->Row(1)[1] = kKeyColor;
  auto dst = Filled(3, 3, 0x11111111);
  CopyKeyed(*dst, *src, -1, 1, fw::clFuchsia);
  EXPECT_EQ(At(*dst, 0, 1), 0xFF102030u);
  EXPECT_EQ(At(*dst, 0, 2), 0x11111111u);  // the key
  EXPECT_EQ(At(*dst, 1, 1), 0x11111111u);
}

TEST(Blends, AlphaImageMagentaWithAndWithoutAReadyCache) {
  auto src = MakeBitmap32(2, 1);
  src->Pixels()->Row(0)[0] = kKeyColor;
  src->Pixels()->Row(0)[1] = 0xFF0000FF;
  auto cacheBitmap = Filled(4, 4, 0x00ABCDEF);
  cacheBitmap->Pixels()->Row(1)[1] = 0x00FEDCBA;
  const auto blended = [](plat::Pixel s, plat::Pixel d) {
    plat::Pixel out = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
      const int sc = static_cast<int>((s >> shift) & 0xFF), dc = static_cast<int>((d >> shift) & 0xFF);
      out |= static_cast<plat::Pixel>(((sc - dc) * 255 + dc * 256) >> 8) << shift;
    }
    return out;
  };
  const struct {
    bool ready, corner;
    plat::Pixel first;
  } cases[] = {{true, true, 0xFFFEDCBA}, {true, false, 0x00102030}, {false, true, 0x00102030}};
  for (const auto& c : cases) {
    auto dst = Filled(2, 1, 0x00102030);
    TCacheInfo cache{cacheBitmap.get(), 1, 1, 0x00FF00FF, {}, c.ready};
    BlendAlphaImage({0, 0, 2, 1}, {0, 0, 5, 5}, *dst, c.corner, cache, *src);
    EXPECT_EQ(At(*dst, 0, 0), c.first) << c.ready << c.corner;
    EXPECT_EQ(At(*dst, 1, 0), blended(0xFF0000FF, 0x00102030));
  }
}

// Wild rectangles and empty bitmaps end quietly (the sanitizer build watches every access).
TEST(Blends, BadRectanglesAndEmptyBitmapsPaintNothing) {
  const plat::RECT rects[] = {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {INT_MAX - 1, 0, INT_MAX, 3}, {5, 5, 1, 1},
                              {-10, -10, -2, -2}, {0, 0, 0, 0}, {3, 3, 100, 100}};
  auto empty = std::make_unique<fw::TBitmap>();
  auto tiny = Filled(1, 1, kKeyColor);
  auto src = Filled(3, 3, 0x80112233);
  for (const plat::RECT& r : rects) {
    auto dst = Filled(3, 3, 0x01020304);
    FillPixels(*dst, {r.left, r.top, std::min(r.right, 0), r.bottom}, 0xFFFFFF, 255);
    TintRect(*dst, {r.left, r.top, std::min(r.right, 0), r.bottom}, 50, 0);
    BlendBitmapInto(*dst, *src, 0, {r.left, r.top}, r);
    BlendBitmapInto(*dst, *src, 0, {3, 3}, r);
    BlendKeyed(*dst, r.left, r.top, kKeyColor, 0.4, r, *src);
    BlendKeyed(*dst, 3, 0, kKeyColor, 0.4, r, *src);
    CopyKeyed(*dst, *src, r.left, r.top, 0xFF00FF);
    BlendAlphaImage(r, r, *dst, true, TCacheInfo{tiny.get(), r.left, r.right, 0, {}, true}, *src);
    for (const auto& b : {empty.get(), tiny.get()}) {
      FillPixels(*b, r, 0, 255);
      BlendBitmapInto(*b, *src, 0, {0, 0}, r);
      BlendBitmapInto(*dst, *b, 0, {0, 0}, r);
      BlendKeyed(*b, 0, 0, kKeyColor, 0.5, r, *src);
      BlendAlphaImage(r, r, *b, true, TCacheInfo{empty.get(), 0, 0, 0, {}, true}, *src);
      BlendSameSize(*b, *src, 7);
      CopyKeyed(*dst, *b, 0, 0, 0);
    }
  }
  EXPECT_EQ(MakeBitmap32(-4, 3)->Width(), 0);
  EXPECT_EQ(MakeBitmap32(100000, 100000)->Width(), 0);  // refused, not thrown
  auto shape = CloneShape(*src);
  EXPECT_EQ(shape->Width(), 3);
  EXPECT_EQ(At(*shape, 2, 2), 0u);
}

}  // namespace
}  // namespace velmora
