// The default frame: hit-test codes over every part of a captioned dialog and a sizeable window,
// caption buttons that act only on a release over them, the move and size loops, caption double
// clicks, maximising into the work area and the caption's active and inactive colours.
#include "wm_fixture.h"

#include <functional>

#include "platform/wm/menus.h"
#include "platform/wm/standard_controls.h"
#include "platform/wm/surfaces.h"

namespace plat::test {
namespace {

using FrameTest = WmTest;

constexpr DWORD kDialog = WS_POPUP | WS_CAPTION | WS_SYSMENU;

HWND Framed(DWORD style, DWORD exStyle, RECT r) {
  return CreateWindowEx(exStyle, "Rec", "Framed", style | WS_VISIBLE, r.left, r.top, RectWidth(r), RectHeight(r),
                        nullptr, nullptr, nullptr, nullptr);
}

int HitAt(HWND w, POINT windowRelative) {
  RECT r;
  GetWindowRect(w, &r);
  return static_cast<int>(SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(r.left + windowRelative.x, r.top + windowRelative.y)));
}

struct HitCase {
  const char* where;
  POINT at;  // relative to the window's top-left corner
  int code;
};

TEST_F(FrameTest, HitTestCodesOverACaptionedDialog) {
  // A 3-pixel dialog frame, a 19-pixel caption; the help button stands left of close.
  HWND w = Framed(kDialog, WS_EX_DLGMODALFRAME | WS_EX_CONTEXTHELP, MakeRect(100, 100, 300, 200));
  const HitCase cases[] = {
      {"frame, top", {150, 1}, HTBORDER},   {"frame, left", {1, 100}, HTBORDER},
      {"frame, corner", {298, 198}, HTBORDER}, {"caption", {150, 10}, HTCAPTION},
      {"icon", {10, 10}, HTSYSMENU},        {"close", {287, 12}, HTCLOSE},
      {"help", {269, 12}, HTHELP},          {"between help and close", {278, 12}, HTCAPTION},
      {"client", {150, 100}, HTCLIENT},     {"outside", {-4, 50}, HTNOWHERE},
  };
  for (const HitCase& c : cases) EXPECT_EQ(HitAt(w, c.at), c.code) << c.where;
}

TEST_F(FrameTest, HitTestCodesOverASizeableWindow) {
  // A 4-pixel sizing frame; along each edge the 22 pixels nearest a corner size both ways.
  HWND w = Framed(WS_OVERLAPPEDWINDOW, 0, MakeRect(100, 100, 400, 300));
  const HitCase cases[] = {
      {"left", {1, 150}, HTLEFT},          {"right", {398, 150}, HTRIGHT},
      {"top", {200, 1}, HTTOP},            {"bottom", {200, 298}, HTBOTTOM},
      {"top-left", {1, 1}, HTTOPLEFT},     {"top-right", {398, 1}, HTTOPRIGHT},
      {"bottom-left", {1, 298}, HTBOTTOMLEFT}, {"bottom-right", {398, 298}, HTBOTTOMRIGHT},
      {"left edge near the top", {1, 15}, HTTOPLEFT}, {"top edge near the right", {385, 2}, HTTOPRIGHT},
      {"caption", {200, 13}, HTCAPTION},   {"icon", {12, 13}, HTSYSMENU},
      {"close", {386, 13}, HTCLOSE},       {"maximise", {368, 13}, HTMAXBUTTON},
      {"minimise", {352, 13}, HTMINBUTTON}, {"client", {200, 150}, HTCLIENT},
  };
  for (const HitCase& c : cases) EXPECT_EQ(HitAt(w, c.at), c.code) << c.where;

  ShowWindow(w, SW_MAXIMIZE);
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(HitAt(w, {1, 150}), HTBORDER) << "a maximised window does not size";
}

TEST_F(FrameTest, ToolWindowsHaveASmallCaptionWithCloseOnly) {
  HWND w = Framed(WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW, MakeRect(100, 100, 200, 100));
  RECT client;
  GetClientRect(w, &client);
  EXPECT_EQ(RectHeight(client), 100 - 2 * GetSystemMetrics(SM_CYDLGFRAME) - GetSystemMetrics(SM_CYSMCAPTION));
  EXPECT_EQ(HitAt(w, {10, 8}), HTCAPTION) << "no system-menu icon";
  EXPECT_EQ(HitAt(w, {190, 8}), HTCLOSE);
}

TEST_F(FrameTest, NonClientSizesFollowTheStyle) {
  struct Case {
    DWORD style, exStyle;
    RECT insets;  // left, top, right, bottom
  } cases[] = {
      {WS_POPUP, 0, {0, 0, 0, 0}},
      {WS_POPUP | WS_BORDER, 0, {1, 1, 1, 1}},
      {kDialog, WS_EX_DLGMODALFRAME, {3, 22, 3, 3}},
      {WS_OVERLAPPEDWINDOW, 0, {4, 23, 4, 4}},
      {kDialog, WS_EX_TOOLWINDOW, {3, 18, 3, 3}},
      {WS_POPUP | WS_THICKFRAME, WS_EX_CLIENTEDGE, {6, 6, 6, 6}},
  };
  for (const Case& c : cases) {
    RECT r{100, 100, 300, 200};
    AdjustWindowRectEx(&r, c.style, FALSE, c.exStyle);
    EXPECT_EQ(r, (RECT{100 - c.insets.left, 100 - c.insets.top, 300 + c.insets.right, 200 + c.insets.bottom}))
        << std::hex << c.style << " " << c.exStyle;
  }
}

class CaptionButtonTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    w = Framed(kDialog, WS_EX_DLGMODALFRAME, MakeRect(100, 100, 300, 200));
    Pump();
    log.clear();
  }
  HWND w = nullptr;
  const POINT close{100 + 287, 100 + 12};
};

TEST_F(CaptionButtonTest, PressDraggedOffTheCloseButtonDoesNotClose) {
  screen->MovePointer(close);
  screen->Press();
  screen->MovePointer({250, 250});
  screen->Release();
  Pump();
  EXPECT_TRUE(IsWindow(w));
  EXPECT_EQ(Count(WM_SYSCOMMAND, w), 0);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(CaptionButtonTest, ReleaseOverTheCloseButtonCloses) {
  // Off and back on again: the release is what counts.
  screen->MovePointer(close);
  screen->Press();
  screen->MovePointer({250, 250});
  screen->MovePointer({close.x + 3, close.y});
  screen->Release();
  Pump();
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(Sequence({WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}, w), (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}));
}

TEST_F(CaptionButtonTest, TheButtonLooksPushedOnlyWhileThePointerIsOverIt) {
  // The button's top-left bevel pixel: light when raised, shadow when pushed. Each time the
  // button's loop waits, the look is taken and the next step of the pointer injected.
  RECT wr;
  GetWindowRect(w, &wr);
  auto bevel = [&] { return PixelToColor(screen->Compose().Row(wr.top + 5)[wr.left + 279]); };
  std::vector<COLORREF> seen;
  std::vector<std::function<void()>> steps = {[&] { screen->MovePointer({250, 250}); },
                                              [&] { screen->MovePointer(close); }, [&] { screen->Release(); }};
  screen->SetIdleHandler([&] {
    if (seen.size() >= steps.size()) return false;
    seen.push_back(bevel());
    steps[seen.size() - 1]();
    return true;
  });
  const COLORREF raised = bevel();
  screen->MovePointer(close);
  screen->Press();
  Pump();
  EXPECT_EQ(raised, GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(seen, (std::vector<COLORREF>{GetSysColor(COLOR_3DSHADOW), GetSysColor(COLOR_3DLIGHT),
                                         GetSysColor(COLOR_3DSHADOW)}));
  EXPECT_FALSE(IsWindow(w));
}

TEST_F(CaptionButtonTest, AGreyedCloseItemDisablesTheButton) {
  EnableMenuItem(GetSystemMenu(w, FALSE), SC_CLOSE, MF_GRAYED);
  screen->Click(close);
  Pump();
  EXPECT_TRUE(IsWindow(w));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(FrameTest, TheMoveLoopFollowsThePointerUntilRelease) {
  HWND w = Framed(kDialog, WS_EX_DLGMODALFRAME, MakeRect(100, 100, 300, 200));
  Pump();
  log.clear();
  screen->MovePointer({200, 110});
  screen->Press();
  screen->MovePointer({230, 140});
  screen->MovePointer({260, 150});
  screen->Release();
  screen->MovePointer({400, 400});  // after the release: no longer followed
  Pump();
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r, MakeRect(160, 140, 300, 200));
  EXPECT_EQ(Sequence({WM_ENTERSIZEMOVE, WM_MOVING, WM_EXITSIZEMOVE}, w),
            (std::vector<UINT>{WM_ENTERSIZEMOVE, WM_MOVING, WM_MOVING, WM_MOVING, WM_EXITSIZEMOVE}));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(FrameTest, EscapePutsAMovedWindowBack) {
  HWND w = Framed(kDialog, WS_EX_DLGMODALFRAME, MakeRect(100, 100, 300, 200));
  Pump();
  screen->MovePointer({200, 110});
  screen->Press();
  screen->MovePointer({260, 150});
  screen->KeyDown(VK_ESCAPE);
  screen->KeyUp(VK_ESCAPE);
  screen->Release();
  Pump();
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r, MakeRect(100, 100, 300, 200));
}

TEST_F(FrameTest, SizingByACornerKeepsTheOppositeCornerAndTheMinimumTrackSize) {
  HWND w = Framed(WS_OVERLAPPEDWINDOW, 0, MakeRect(100, 100, 400, 300));
  Pump();
  log.clear();
  screen->MovePointer({101, 101});  // top-left corner
  screen->Press();
  screen->MovePointer({151, 131});
  screen->Release();
  Pump();
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r, (RECT{150, 130, 500, 400}));
  EXPECT_GE(Count(WM_SIZING, w), 1);

  Sleep(1000);  // not a double click
  screen->MovePointer({498, 398});  // bottom-right, dragged far past the minimum
  screen->Press();
  screen->MovePointer({100, 100});
  screen->Release();
  Pump();
  GetWindowRect(w, &r);
  EXPECT_EQ(RectWidth(r), GetSystemMetrics(SM_CXMINTRACK));
  EXPECT_EQ(RectHeight(r), GetSystemMetrics(SM_CYMINTRACK));
  EXPECT_EQ(r.left, 150);
}

TEST_F(FrameTest, CaptionDoubleClickMaximisesIntoTheWorkAreaAndRestores) {
  HWND w = Framed(WS_OVERLAPPEDWINDOW, 0, MakeRect(100, 100, 400, 300));
  Pump();
  screen->Click({300, 110});
  screen->Click({300, 110});
  Pump();
  ASSERT_TRUE(IsZoomed(w));
  RECT work{};
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  RECT client;
  GetClientRect(w, &client);
  POINT origin{0, 0};
  ClientToScreen(w, &origin);
  // The frame hangs outside the work area; the caption and client fill it.
  EXPECT_EQ(origin.x, work.left);
  EXPECT_EQ(origin.x + client.right, work.right);
  EXPECT_EQ(origin.y + client.bottom, work.bottom);

  Sleep(1000);
  RECT r;
  GetWindowRect(w, &r);
  screen->Click({(r.left + r.right) / 2, r.top + 10});
  screen->Click({(r.left + r.right) / 2, r.top + 10});
  Pump();
  EXPECT_FALSE(IsZoomed(w));
  GetWindowRect(w, &r);
  EXPECT_EQ(r, MakeRect(100, 100, 400, 300));
}

TEST_F(FrameTest, MinimisedFromMaximisedRestoresToMaximised) {
  HWND w = Framed(WS_OVERLAPPEDWINDOW, 0, MakeRect(100, 100, 400, 300));
  SendMessage(w, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  SendMessage(w, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(w));
  SendMessage(w, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_TRUE(IsZoomed(w));
  SendMessage(w, WM_SYSCOMMAND, SC_RESTORE, 0);
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r, MakeRect(100, 100, 400, 300));
}

TEST_F(FrameTest, TheCaptionShowsWhetherTheWindowIsActive) {
  HWND a = Framed(kDialog, WS_EX_DLGMODALFRAME, MakeRect(100, 100, 300, 200));
  Pump();
  // The caption's left end carries the plain caption colour of its gradient.
  auto captionColour = [&] { return PixelToColor(screen->Compose().Row(112)[103]); };
  EXPECT_EQ(captionColour(), GetSysColor(COLOR_ACTIVECAPTION));
  HWND b = Framed(kDialog, WS_EX_DLGMODALFRAME, MakeRect(600, 100, 300, 200));
  Pump();
  EXPECT_EQ(GetActiveWindow(), b);
  EXPECT_EQ(captionColour(), GetSysColor(COLOR_INACTIVECAPTION));
  SetActiveWindow(a);
  Pump();
  EXPECT_EQ(captionColour(), GetSysColor(COLOR_ACTIVECAPTION));
}

TEST_F(FrameTest, TheHelpButtonAsksTheControlClickedNextForHelp) {
  HWND w = Framed(kDialog, WS_EX_DLGMODALFRAME | WS_EX_CONTEXTHELP, MakeRect(100, 100, 300, 200));
  HWND control = Child(w, MakeRect(20, 20, 100, 40), WS_VISIBLE, 33);
  Pump();
  log.clear();
  std::vector<int> ids;
  handler = [&](HWND, UINT m, WPARAM, LPARAM lp) -> std::optional<LRESULT> {
    if (m == WM_HELP) ids.push_back(reinterpret_cast<const HELPINFO*>(lp)->iCtrlId);
    return std::nullopt;
  };
  screen->Click({100 + 269, 100 + 12});  // the help button
  screen->Click({150, 150});              // the control
  Pump();
  // The control hears it first; by default it goes on to the parent.
  EXPECT_EQ(Pairs({WM_HELP}), (std::vector<std::pair<HWND, UINT>>{{control, WM_HELP}, {w, WM_HELP}}));
  EXPECT_EQ(ids, (std::vector<int>{33, 33}));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(FrameTest, SizingCursorsOnTheBordersAndTheClassCursorInside) {
  Framed(WS_OVERLAPPEDWINDOW, 0, MakeRect(100, 100, 400, 300));
  Pump();
  const struct {
    POINT at;
    display::Cursor cursor;
  } cases[] = {{{101, 250}, display::Cursor::SizeWE},   {{300, 101}, display::Cursor::SizeNS},
               {{101, 101}, display::Cursor::SizeNWSE}, {{498, 101}, display::Cursor::SizeNESW},
               {{300, 250}, display::Cursor::Arrow}};
  for (const auto& c : cases) {
    screen->MovePointer(c.at);
    Pump();
    EXPECT_EQ(screen->CurrentCursor(), c.cursor) << c.at.x << "," << c.at.y;
  }
}

}  // namespace
}  // namespace plat::test
