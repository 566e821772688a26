// Where the pointer lands: window regions, HTTRANSPARENT, layered alpha, WS_EX_TRANSPARENT,
// disabled children.
#include "wm_fixture.h"

namespace plat::test {
namespace {

using HitTestTest = WmTest;

// A layered window showing a premultiplied picture: transparent left half, half-opaque right.
HWND HalfTransparentLayered(RECT r, DWORD exStyle = 0) {
  HWND w = CreateWindowEx(WS_EX_LAYERED | exStyle, "Rec", "", WS_POPUP | WS_VISIBLE, r.left, r.top, RectWidth(r),
                          RectHeight(r), nullptr, nullptr, nullptr, nullptr);
  HDC mem = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateBitmap32(RectWidth(r), RectHeight(r));
  HGDIOBJ old = SelectObject(mem, bmp);
  Bitmap& px = *BitmapOf(bmp);
  for (int y = 0; y < px.Height(); ++y)
    for (int x = px.Width() / 2; x < px.Width(); ++x) px.Row(y)[x] = MakePixel(64, 0, 0, 128);
  POINT at{r.left, r.top}, from{0, 0};
  SIZE size{RectWidth(r), RectHeight(r)};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  EXPECT_TRUE(UpdateLayeredWindow(w, nullptr, &at, &size, mem, &from, 0, &blend, ULW_ALPHA));
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(bmp);
  return w;
}

TEST_F(HitTestTest, WindowRegionsCutWhereTheMouseGoes) {
  HWND below = Popup(MakeRect(100, 100, 200, 200));
  HWND shaped = Popup(MakeRect(100, 100, 200, 200));
  // An L shape: the top band and the left band.
  HRGN rgn = CreateRegionFromRects({RECT{0, 0, 200, 50}, RECT{0, 0, 50, 200}});
  EXPECT_EQ(SetWindowRgn(shaped, rgn, TRUE), 1);
  EXPECT_EQ(GetObjectType(rgn), 0u);  // the window took the handle
  EXPECT_EQ(WindowFromPoint({120, 120}), shaped);
  EXPECT_EQ(WindowFromPoint({250, 250}), below);
  screen->Click({250, 250});
  Pump();
  EXPECT_EQ(Count(WM_LBUTTONDOWN, below), 1);
  EXPECT_EQ(Count(WM_LBUTTONDOWN, shaped), 0);
  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(shaped, copy), COMPLEXREGION);
  EXPECT_TRUE(PtInRegion(copy, 10, 150));
  EXPECT_FALSE(PtInRegion(copy, 150, 150));
  DeleteObject(copy);
}

TEST_F(HitTestTest, TransparentHitTestsPassThePointToTheWindowBelow) {
  HWND below = Popup(MakeRect(100, 100, 200, 200));
  HWND parent = Popup(MakeRect(400, 100, 200, 200));
  HWND child = Child(parent, MakeRect(0, 0, 100, 100));
  HWND above = Popup(MakeRect(100, 100, 200, 200));
  handler = [=](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_NCHITTEST && (h == above || h == child)) return HTTRANSPARENT;
    return std::nullopt;
  };
  EXPECT_EQ(WindowFromPoint({150, 150}), below);
  EXPECT_EQ(WindowFromPoint({420, 120}), parent);
  screen->Click({150, 150});
  screen->Click({420, 120});
  Pump();
  EXPECT_EQ(Count(WM_LBUTTONDOWN, below), 1);
  EXPECT_EQ(Count(WM_LBUTTONDOWN, parent), 1);
  EXPECT_EQ(Count(WM_LBUTTONDOWN, above) + Count(WM_LBUTTONDOWN, child), 0);
}

TEST_F(HitTestTest, LayeredPixelsOfAlphaZeroDoNotTakeTheMouse) {
  HWND below = Popup(MakeRect(100, 100, 200, 200));
  HWND layered = HalfTransparentLayered(MakeRect(100, 100, 200, 200));
  EXPECT_EQ(WindowFromPoint({150, 150}), below);
  EXPECT_EQ(WindowFromPoint({250, 150}), layered);
  // (the click that reaches the window below raises it, so it comes last)
  screen->Click({250, 150});
  screen->Click({150, 150});
  Pump();
  EXPECT_EQ(Count(WM_LBUTTONDOWN, below), 1);
  EXPECT_EQ(Count(WM_LBUTTONDOWN, layered), 1);
}

TEST_F(HitTestTest, TransparentExtendedStyleLetsTheMouseThroughEverywhere) {
  HWND below = Popup(MakeRect(100, 100, 200, 200));
  HWND layered = HalfTransparentLayered(MakeRect(100, 100, 200, 200), WS_EX_TRANSPARENT);
  EXPECT_EQ(WindowFromPoint({250, 150}), below);
  SetWindowLongPtr(layered, GWL_EXSTYLE, WS_EX_LAYERED);
  EXPECT_EQ(WindowFromPoint({250, 150}), layered);
}

TEST_F(HitTestTest, ClicksOnTheTransparentPartOfALayeredWindowReachAnotherProgram) {
  HWND w = Popup(MakeRect(100, 100, 100, 100));
  Pump();
  screen->AddForeignWindow(MakeRect(400, 100, 300, 300), MakePixel(0, 200, 0, 255));
  HWND shadow = HalfTransparentLayered(MakeRect(350, 150, 200, 100), WS_EX_NOACTIVATE);
  ASSERT_EQ(GetActiveWindow(), w);
  screen->Click({420, 200});  // transparent half of the layered window, over the other program
  Pump();
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_EQ(Count(WM_LBUTTONDOWN, shadow), 0);
}

TEST_F(HitTestTest, DisabledChildrenLeaveTheClickToTheirParent) {
  HWND top = Popup(MakeRect(100, 100, 200, 200));
  HWND button = Child(top, MakeRect(10, 10, 50, 30));
  EnableWindow(button, FALSE);
  screen->Click({120, 120});
  Pump();
  EXPECT_EQ(Count(WM_LBUTTONDOWN, button), 0);
  ASSERT_EQ(Count(WM_LBUTTONDOWN, top), 1);
  for (const Logged& l : log)
    if (l.msg == WM_LBUTTONDOWN) {
      EXPECT_EQ(l.lp, MAKELPARAM(20, 20));
      EXPECT_EQ(l.wp, MK_LBUTTON);
    }
}

TEST_F(HitTestTest, NonClientPartsGetNonClientMessagesAndTheirCursor) {
  HWND w = CreateWindowEx(0, "Rec", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr,
                          nullptr, nullptr);
  Pump();
  log.clear();
  screen->Click({200, 110});  // the caption
  screen->MovePointer({101, 200});  // the left sizing border
  Pump();
  std::vector<WPARAM> codes;
  for (const Logged& l : log)
    if (l.msg == WM_NCLBUTTONDOWN || l.msg == WM_NCMOUSEMOVE) codes.push_back(l.wp);
  EXPECT_EQ(codes, (std::vector<WPARAM>{HTCAPTION, HTCAPTION, static_cast<WPARAM>(HTLEFT)}));
  // The press on the caption starts the move loop, which takes the release.
  EXPECT_EQ(Count(WM_NCLBUTTONUP, w), 0);
  EXPECT_EQ(Sequence({WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE}, w), (std::vector<UINT>{WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE}));
  EXPECT_EQ(screen->CurrentCursor(), display::Cursor::SizeWE);
  screen->MovePointer({200, 200});
  Pump();
  EXPECT_EQ(screen->CurrentCursor(), display::Cursor::Arrow);
}

}  // namespace
}  // namespace plat::test
