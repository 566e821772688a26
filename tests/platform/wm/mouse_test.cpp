// Capture, leave and hover tracking, double clicks.
#include "wm_fixture.h"

namespace plat::test {
namespace {

using MouseTest = WmTest;

TEST_F(MouseTest, CaptureTakesEveryPointerMessageAndHearsWhenItIsLost) {
  HWND a = Popup(MakeRect(100, 100, 100, 100));
  HWND b = Popup(MakeRect(400, 100, 100, 100));
  Pump();
  EXPECT_EQ(SetCapture(a), nullptr);
  EXPECT_EQ(GetCapture(), a);
  log.clear();
  screen->MovePointer({450, 150});
  screen->Press();
  screen->Release();
  Pump();
  EXPECT_EQ(Count(WM_MOUSEMOVE, b) + Count(WM_LBUTTONDOWN, b) + Count(WM_NCHITTEST, b), 0);
  EXPECT_EQ(Sequence({WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}, a),
            (std::vector<UINT>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}));
  for (const Logged& l : log)
    if (l.hwnd == a && l.msg == WM_MOUSEMOVE) {
      EXPECT_EQ(l.lp, MAKELPARAM(350, 50));  // client coordinates, outside the window
    }
  EXPECT_EQ(SetCapture(b), a);
  ASSERT_EQ(Count(WM_CAPTURECHANGED, a), 1);
  for (const Logged& l : log)
    if (l.msg == WM_CAPTURECHANGED) {
      EXPECT_EQ(reinterpret_cast<HWND>(l.lp), b);
    }
  log.clear();
  EXPECT_TRUE(ReleaseCapture());
  EXPECT_EQ(Count(WM_CAPTURECHANGED, b), 1);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(screen->Grab(), display::kNoSurface);
}

TEST_F(MouseTest, LeavingATrackedWindowPostsMouseLeaveBeforeTheNextWindowHearsTheMove) {
  HWND a = Popup(MakeRect(100, 100, 100, 100));
  HWND b = Popup(MakeRect(200, 100, 100, 100));
  screen->MovePointer({150, 150});
  Pump();
  TRACKMOUSEEVENT tme;
  tme.dwFlags = TME_LEAVE;
  tme.hwndTrack = a;
  ASSERT_TRUE(TrackMouseEvent(&tme));
  TRACKMOUSEEVENT query;
  query.dwFlags = TME_QUERY;
  TrackMouseEvent(&query);
  EXPECT_EQ(query.hwndTrack, a);
  EXPECT_EQ(query.dwFlags, TME_LEAVE);
  log.clear();
  screen->MovePointer({160, 150});  // still inside: nothing
  screen->MovePointer({250, 150});
  Pump();
  EXPECT_EQ(Pairs({WM_MOUSELEAVE, WM_MOUSEMOVE}),
            (std::vector<std::pair<HWND, UINT>>{{a, WM_MOUSEMOVE}, {a, WM_MOUSELEAVE}, {b, WM_MOUSEMOVE}}));
  // Once only: tracking ends with the leave.
  screen->MovePointer({150, 150});
  screen->MovePointer({1500, 900});  // over the desktop
  Pump();
  EXPECT_EQ(Count(WM_MOUSELEAVE, a), 1);
  // Asking while the pointer is elsewhere answers at once.
  tme.hwndTrack = b;
  TrackMouseEvent(&tme);
  Pump();
  EXPECT_EQ(Count(WM_MOUSELEAVE, b), 1);
}

TEST_F(MouseTest, NonClientTrackingEndsWhenThePointerEntersTheClientArea) {
  HWND w = CreateWindowEx(0, "Rec", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr,
                          nullptr, nullptr);
  screen->MovePointer({200, 110});
  Pump();
  TRACKMOUSEEVENT tme;
  tme.dwFlags = TME_LEAVE | TME_NONCLIENT;
  tme.hwndTrack = w;
  TrackMouseEvent(&tme);
  log.clear();
  screen->MovePointer({200, 200});
  Pump();
  EXPECT_EQ(Sequence({WM_NCMOUSELEAVE, WM_MOUSELEAVE, WM_MOUSEMOVE}, w),
            (std::vector<UINT>{WM_NCMOUSELEAVE, WM_MOUSEMOVE}));
}

TEST_F(MouseTest, HoverComesAfterTheHoverTimeOfStillness) {
  HWND w = Popup(MakeRect(100, 100, 100, 100));
  screen->MovePointer({150, 150});
  Pump();
  TRACKMOUSEEVENT tme;
  tme.dwFlags = TME_HOVER | TME_LEAVE;
  tme.hwndTrack = w;
  TrackMouseEvent(&tme);
  const DWORD start = GetTickCount();
  Sleep(200);
  screen->MovePointer({160, 150});  // moved out of the hover rectangle: the wait starts again
  DWORD hoverAt = 0;
  MSG m;
  while (!hoverAt && GetMessage(&m, nullptr, 0, 0) > 0) {
    if (m.message == WM_MOUSEHOVER) {
      hoverAt = GetTickCount() - start;
      EXPECT_EQ(m.lParam, MAKELPARAM(60, 50));
    }
    DispatchMessage(&m);
  }
  EXPECT_EQ(hoverAt, 600u);
  // Hover is once; leave tracking goes on.
  screen->MovePointer({1500, 900});
  Pump();
  EXPECT_EQ(Count(WM_MOUSELEAVE, w), 1);
  EXPECT_EQ(Count(WM_MOUSEHOVER, w), 1);
}

struct DoubleClickCase {
  const char* cls;
  DWORD gapMs;
  int dx;
  bool doubled;
};
// Test names stay the same from run to run (the default printer dumps bytes).
void PrintTo(const DoubleClickCase& c, std::ostream* os) { *os << c.cls << " " << c.gapMs << " ms " << c.dx << " px"; }

class DoubleClickTest : public WmTest, public ::testing::WithParamInterface<DoubleClickCase> {};

TEST_P(DoubleClickTest, SecondPressBecomesADoubleClickOnlyWhenClose) {
  const DoubleClickCase& c = GetParam();
  HWND w = Popup(MakeRect(100, 100, 100, 100), WS_VISIBLE, 0, nullptr, c.cls);
  screen->Click({150, 150});
  Pump();
  Sleep(c.gapMs);
  screen->Click({150 + c.dx, 150});
  Pump();
  EXPECT_EQ(Count(WM_LBUTTONDBLCLK, w), c.doubled ? 1 : 0);
  EXPECT_EQ(Count(WM_LBUTTONDOWN, w), c.doubled ? 1 : 2);
}

TEST_F(MouseTest, AThirdPressIsASingleClickAgain) {
  HWND w = Popup(MakeRect(100, 100, 100, 100), WS_VISIBLE, 0, nullptr, "RecDbl");
  for (int i = 0; i < 3; ++i) screen->Click({150, 150});
  Pump();
  EXPECT_EQ(Sequence({WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}, w),
            (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN}));
}

INSTANTIATE_TEST_SUITE_P(Cases, DoubleClickTest,
                         ::testing::Values(DoubleClickCase{"RecDbl", 100, 0, true},
                                           DoubleClickCase{"RecDbl", 100, 2, true},
                                           DoubleClickCase{"RecDbl", 100, 3, false},
                                           DoubleClickCase{"RecDbl", 600, 0, false},
                                           DoubleClickCase{"Rec", 100, 0, false}));

}  // namespace
}  // namespace plat::test
