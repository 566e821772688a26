#include <gtest/gtest.h>

#include "gdi_fixture.h"
#include "platform/gdi/objects.h"

namespace plat {
namespace {

using test::Canvas;

// A source whose every pixel names its own position.
void Number(const Canvas& c) {
  for (int y = 0; y < c.Pixels().Height(); ++y)
    for (int x = 0; x < c.Pixels().Width(); ++x) c.Pixels().Row(y)[x] = 0xFF000000u | (y << 8) | x;
}
Pixel Named(int x, int y) { return 0xFF000000u | (y << 8) | x; }

TEST(BitBlt, CopiesRespectClipAndViewportAndStayInsideBothBitmaps) {
  Canvas src(8, 8), dst(10, 10);
  Number(src);
  dst.Fill(0);
  SetViewportOrgEx(dst.dc, 2, 1, nullptr);
  // Clip regions are in device units: the viewport does not move them.
  HRGN clip = CreateRectRgn(0, 0, 6, 10);
  SelectClipRgn(dst.dc, clip);
  DeleteObject(clip);
  // Asks for 8 x 8 from (-2, 0): only source columns 0..5 exist; their target is x 2..7 in
  // logical units, 4..9 in device units, and the clip keeps 4..5.
  ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 8, 8, src.dc, -2, 0, SRCCOPY));
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      const bool inside = x >= 4 && x < 6 && y >= 1 && y < 9;
      EXPECT_EQ(dst.At(x, y), inside ? Named(x - 4, y - 1) : 0u) << x << "," << y;
    }
}

TEST(BitBlt, OverlappingCopyWithinOneBitmapReadsTheOriginal) {
  Canvas c(6, 6);
  Number(c);
  ASSERT_TRUE(BitBlt(c.dc, 1, 1, 5, 5, c.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(c.At(5, 5), Named(4, 4));
  EXPECT_EQ(c.At(1, 1), Named(0, 0));
  Number(c);
  ASSERT_TRUE(BitBlt(c.dc, 0, 0, 5, 5, c.dc, 1, 1, SRCCOPY));
  EXPECT_EQ(c.At(0, 0), Named(1, 1));
  EXPECT_EQ(c.At(4, 4), Named(5, 5));
}

TEST(BitBlt, RasterOperationsCombinePatternSourceAndDestination) {
  Canvas src(1, 1), dst(1, 1);
  const Pixel s = 0x0F0F3355, d = 0x00FF0F0F;
  HBRUSH brush = CreateSolidBrush(RGB(0x12, 0x34, 0x56));
  const Pixel p = 0x00123456;  // the brush's pixel: alpha 0
  HGDIOBJ old = SelectObject(dst.dc, brush);
  const struct {
    DWORD rop;
    Pixel expected;
  } cases[] = {
      {SRCCOPY, s},           {SRCAND, s & d},           {SRCPAINT, s | d},  {SRCINVERT, s ^ d},
      {SRCERASE, s & ~d},     {NOTSRCCOPY, ~s},          {NOTSRCERASE, ~(s | d)},
      {MERGECOPY, p & s},     {MERGEPAINT, ~s | d},      {PATCOPY, p},       {PATINVERT, p ^ d},
      {PATPAINT, p | ~s | d}, {DSTINVERT, ~d},           {BLACKNESS, 0},     {WHITENESS, 0xFFFFFFFFu},
  };
  for (const auto& c : cases) {
    src.Pixels().Row(0)[0] = s;
    dst.Pixels().Row(0)[0] = d;
    ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, c.rop));
    EXPECT_EQ(dst.At(0, 0), c.expected) << std::hex << c.rop;
  }
  SelectObject(dst.dc, old);
  DeleteObject(brush);
}

TEST(StretchBlt, NearestPixelEnlargesShrinksAndMirrors) {
  Canvas src(4, 2), dst(8, 4);
  Number(src);
  SetStretchBltMode(dst.dc, COLORONCOLOR);
  ASSERT_TRUE(StretchBlt(dst.dc, 0, 0, 8, 4, src.dc, 0, 0, 4, 2, SRCCOPY));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(dst.At(x, y), Named(x / 2, y / 2)) << x << "," << y;

  dst.Fill(0);
  ASSERT_TRUE(StretchBlt(dst.dc, 0, 0, 2, 1, src.dc, 0, 0, 4, 2, SRCCOPY));  // samples at pixel centres
  EXPECT_EQ(dst.At(0, 0), Named(1, 1));
  EXPECT_EQ(dst.At(1, 0), Named(3, 1));

  dst.Fill(0);
  ASSERT_TRUE(StretchBlt(dst.dc, 3, 0, -4, 1, src.dc, 0, 0, 4, 1, SRCCOPY));  // mirrored copy into x 0..3
  for (int x = 0; x < 4; ++x) EXPECT_EQ(dst.At(x, 0), Named(3 - x, 0));
  EXPECT_EQ(dst.At(4, 0), 0u);
}

TEST(StretchBlt, SourceOutsideItsBitmapIsNotRead) {
  Canvas src(2, 2), dst(4, 4);
  Number(src);
  dst.Fill(0xDEADBEEF);
  ASSERT_TRUE(StretchBlt(dst.dc, 0, 0, 4, 4, src.dc, -1, -1, 4, 4, SRCCOPY));
  EXPECT_EQ(dst.At(0, 0), 0xDEADBEEFu);
  EXPECT_EQ(dst.At(1, 1), Named(0, 0));
  EXPECT_EQ(dst.At(2, 2), Named(1, 1));
  EXPECT_EQ(dst.At(3, 3), 0xDEADBEEFu);
}

TEST(Fills, FillRectFrameRectAndSystemColourBrushes) {
  Canvas c(6, 6);
  c.Fill(0xFFFFFFFF);
  const RECT r{1, 1, 5, 5};
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FrameRect(c.dc, &r, red);
  EXPECT_EQ(c.At(1, 1), 0x00FF0000u);
  EXPECT_EQ(c.At(4, 4), 0x00FF0000u);
  EXPECT_EQ(c.At(2, 2), 0xFFFFFFFFu);
  const RECT inner{2, 2, 4, 4};
  FillRect(c.dc, &inner, reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_BTNFACE + 1)));
  EXPECT_EQ(c.At(3, 3), ColorToPixel(GetSysColor(COLOR_BTNFACE), 0));
  EXPECT_EQ(c.At(5, 5), 0xFFFFFFFFu);
  DeleteObject(red);
}

TEST(Fills, FocusRectangleDrawnTwiceLeavesNoTrace) {
  Canvas c(9, 7);
  c.Fill(0x00808080);
  const RECT r{1, 1, 8, 6};
  DrawFocusRect(c.dc, &r);
  EXPECT_NE(c.At(1, 1), 0x00808080u);
  EXPECT_EQ(c.At(2, 1), 0x00808080u);  // dotted
  EXPECT_EQ(c.At(4, 3), 0x00808080u);  // inside untouched
  DrawFocusRect(c.dc, &r);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 9; ++x) EXPECT_EQ(c.At(x, y), 0x00808080u);
}

TEST(Lines, LineToExcludesItsEndAndFollowsThePen) {
  Canvas c(5, 5);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 255));
  HGDIOBJ old = SelectObject(c.dc, pen);
  MoveToEx(c.dc, 0, 0, nullptr);
  LineTo(c.dc, 4, 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(c.At(i, i), 0x000000FFu);
  EXPECT_EQ(c.At(4, 4), 0u);
  EXPECT_EQ(c.At(1, 0), 0u);
  EXPECT_EQ(GetPixel(c.dc, 2, 2), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(c.dc, 9, 9), CLR_INVALID);
  SelectObject(c.dc, old);
  DeleteObject(pen);
}

TEST(DrawEdge, RaisedEdgeLightsTopLeftAndShadesBottomRight) {
  Canvas c(6, 6);
  RECT r{0, 0, 6, 6};
  DrawEdge(c.dc, &r, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
  auto sys = [](int i) { return ColorToPixel(GetSysColor(i), 0); };
  EXPECT_EQ(c.At(0, 0), sys(COLOR_3DLIGHT));
  EXPECT_EQ(c.At(5, 5), sys(COLOR_3DDKSHADOW));
  EXPECT_EQ(c.At(1, 1), sys(COLOR_3DHILIGHT));
  EXPECT_EQ(c.At(4, 4), sys(COLOR_3DSHADOW));
  EXPECT_EQ(c.At(2, 3), sys(COLOR_3DFACE));
  EXPECT_EQ(r, (RECT{2, 2, 4, 4}));
}

}  // namespace
}  // namespace plat
