#include <gtest/gtest.h>

#include "gdi_fixture.h"
#include "platform/gdi/modules.h"

namespace plat {
namespace {

using test::Canvas;

TEST(DeviceContext, SaveAndRestoreAsAStack) {
  Canvas c(4, 4);
  SetTextColor(c.dc, RGB(1, 2, 3));
  EXPECT_EQ(SaveDC(c.dc), 1);
  SetTextColor(c.dc, RGB(4, 5, 6));
  SetBkMode(c.dc, TRANSPARENT);
  IntersectClipRect(c.dc, 0, 0, 2, 2);
  EXPECT_EQ(SaveDC(c.dc), 2);
  SetViewportOrgEx(c.dc, 3, 3, nullptr);
  ASSERT_TRUE(RestoreDC(c.dc, -1));
  POINT org;
  GetViewportOrgEx(c.dc, &org);
  EXPECT_EQ(org, (POINT{0, 0}));
  EXPECT_EQ(GetTextColor(c.dc), RGB(4, 5, 6));
  ASSERT_TRUE(RestoreDC(c.dc, 1));
  EXPECT_EQ(GetTextColor(c.dc), RGB(1, 2, 3));
  EXPECT_EQ(GetBkMode(c.dc), OPAQUE);
  RECT box;
  EXPECT_EQ(GetClipBox(c.dc, &box), SIMPLEREGION);
  EXPECT_EQ(box, (RECT{0, 0, 4, 4}));
  EXPECT_FALSE(RestoreDC(c.dc, 1));  // the stack is empty again
}

TEST(DeviceContext, ClipRegionsIntersectExcludeAndCombine) {
  Canvas c(10, 10);
  IntersectClipRect(c.dc, 2, 2, 8, 8);
  EXPECT_EQ(ExcludeClipRect(c.dc, 4, 4, 6, 6), COMPLEXREGION);
  HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  const RECT all{0, 0, 10, 10};
  FillRect(c.dc, &all, white);
  EXPECT_EQ(c.At(1, 1), 0u);
  EXPECT_EQ(c.At(2, 2), 0x00FFFFFFu);
  EXPECT_EQ(c.At(5, 5), 0u);
  EXPECT_FALSE(PtVisible(c.dc, 5, 5));

  HRGN extra = CreateRectRgn(0, 0, 1, 1);
  ExtSelectClipRgn(c.dc, extra, RGN_OR);
  HRGN now = CreateRectRgn(0, 0, 0, 0);
  ASSERT_EQ(GetClipRgn(c.dc, now), 1);
  EXPECT_TRUE(PtInRegion(now, 0, 0));
  EXPECT_FALSE(PtInRegion(now, 5, 5));
  SelectClipRgn(c.dc, nullptr);
  EXPECT_EQ(GetClipRgn(c.dc, now), 0);
  DeleteObject(extra);
  DeleteObject(now);
}

TEST(DeviceContext, StaleAndWrongHandlesFailWithoutHarm) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateBitmap32(2, 2);
  SelectObject(dc, bmp);
  EXPECT_FALSE(DeleteObject(bmp));  // still selected
  HDC other = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(other, bmp), nullptr);  // a bitmap lives in one context at a time
  DeleteDC(other);
  HBRUSH brush = CreateSolidBrush(RGB(9, 9, 9));
  SelectObject(dc, brush);
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_TRUE(PatBlt(dc, 0, 0, 2, 2, PATCOPY));  // falls back to no pattern, draws nothing
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_TRUE(DeleteObject(bmp));

  EXPECT_FALSE(DeleteDC(dc));
  EXPECT_EQ(SetTextColor(dc, 0), CLR_INVALID);
  EXPECT_FALSE(BitBlt(dc, 0, 0, 1, 1, dc, 0, 0, SRCCOPY));
  EXPECT_EQ(BitmapOf(bmp), nullptr);
  EXPECT_EQ(SelectObject(reinterpret_cast<HDC>(bmp), GetStockObject(BLACK_PEN)), nullptr);
  EXPECT_FALSE(DeleteObject(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(CreateBitmap32(100000, 10), nullptr);
}

TEST(GradientFill, TrianglesTakeVertexColoursAtCornersAndBlendInside) {
  Canvas c(11, 11);
  const TRIVERTEX v[3] = {{0, 0, 0xFF00, 0, 0, 0xFF00}, {10, 0, 0, 0xFF00, 0, 0xFF00}, {0, 10, 0, 0, 0xFF00, 0xFF00}};
  const GRADIENT_TRIANGLE t{0, 1, 2};
  auto fill = reinterpret_cast<GradientFillProc>(GetProcAddress(LoadLibrary("MSIMG32.DLL"), "GradientFill"));
  ASSERT_NE(fill, nullptr);
  ASSERT_TRUE(fill(c.dc, v, 3, &t, 1, GRADIENT_FILL_TRIANGLE));
  EXPECT_EQ(c.At(0, 0), MakePixel(0xFF, 0, 0, 0xFF));
  EXPECT_EQ(c.At(10, 0), MakePixel(0, 0xFF, 0, 0xFF));
  EXPECT_EQ(c.At(0, 10), MakePixel(0, 0, 0xFF, 0xFF));
  EXPECT_EQ(c.At(5, 0), MakePixel(0x7F, 0x7F, 0, 0xFF));   // edge midpoint: half of each end
  EXPECT_EQ(c.At(3, 3), MakePixel(0x66, 0x4C, 0x4C, 0xFF));  // weights 4/10, 3/10, 3/10
  EXPECT_EQ(c.At(9, 9), 0u);                                 // outside the triangle

  const TRIVERTEX bad[1] = {};
  EXPECT_FALSE(GradientFill(c.dc, bad, 1, &t, 1, GRADIENT_FILL_TRIANGLE));  // vertex index out of range
}

TEST(GradientFill, RectanglesShadeAcrossOrDown) {
  Canvas c(4, 4);
  const TRIVERTEX v[2] = {{0, 0, 0, 0, 0, 0}, {4, 4, 0xFF00, 0xFF00, 0xFF00, 0}};
  const GRADIENT_RECT r{0, 1};
  ASSERT_TRUE(GradientFill(c.dc, v, 2, &r, 1, GRADIENT_FILL_RECT_V));
  EXPECT_EQ(c.At(3, 0), 0u);
  EXPECT_EQ(c.At(0, 2), MakePixel(0x7F, 0x7F, 0x7F, 0));
}

TEST(Modules, OptionalFunctionsCanBeMissing) {
  EXPECT_EQ(LoadLibrary("dwmapi.dll"), nullptr);
  HMODULE user32 = GetModuleHandle("user32.dll");
  ASSERT_NE(user32, nullptr);
  EXPECT_EQ(GetProcAddress(user32, "NoSuchFunction"), nullptr);
  RemoveModuleFunction("msimg32.dll", "GradientFill");
  EXPECT_EQ(GetProcAddress(LoadLibrary("msimg32.dll"), "GradientFill"), nullptr);
  RegisterModuleFunction("msimg32.dll", "GradientFill", reinterpret_cast<FARPROC>(&GradientFill));
  EXPECT_NE(GetProcAddress(LoadLibrary("msimg32.dll"), "GradientFill"), nullptr);
}

}  // namespace
}  // namespace plat
