// Focus and activation: the sequence on a click, the mouse-activation answers, the CBT hook,
// disabled owners and windows of another program.
#include "platform/wm/surfaces.h"
#include "wm_fixture.h"

namespace plat::test {
namespace {

using ActivationTest = WmTest;

constexpr UINT kActivation[] = {WM_MOUSEACTIVATE, WM_NCACTIVATE, WM_ACTIVATE, WM_ACTIVATEAPP, WM_KILLFOCUS,
                                WM_SETFOCUS,      WM_SETCURSOR,  WM_LBUTTONDOWN};

std::vector<std::pair<HWND, UINT>> ActivationPairs() {
  std::vector<std::pair<HWND, UINT>> out;
  for (const Logged& l : WmTest::log)
    if (std::find(std::begin(kActivation), std::end(kActivation), l.msg) != std::end(kActivation))
      out.emplace_back(l.hwnd, l.msg);
  return out;
}

TEST_F(ActivationTest, AClickActivatesInThePlatformsOrder) {
  HWND a = Popup(MakeRect(100, 100, 200, 200));
  HWND b = Popup(MakeRect(400, 100, 200, 200));
  SetActiveWindow(a);
  Pump();
  ASSERT_EQ(GetActiveWindow(), a);
  static std::vector<std::pair<int, CBTACTIVATESTRUCT>> seen;
  seen.clear();
  SetWindowsHookEx(WH_CBT, [](int code, WPARAM, LPARAM lp) -> LRESULT {
    if (code == HCBT_ACTIVATE) seen.emplace_back(code, *reinterpret_cast<CBTACTIVATESTRUCT*>(lp));
    return 0;
  }, nullptr, 0);
  log.clear();
  screen->Click({450, 150});
  Pump();
  const std::vector<std::pair<HWND, UINT>> expected{
      {b, WM_MOUSEACTIVATE}, {a, WM_NCACTIVATE}, {a, WM_ACTIVATE},  {b, WM_NCACTIVATE},
      {b, WM_ACTIVATE},      {a, WM_KILLFOCUS},  {b, WM_SETFOCUS},  {b, WM_SETCURSOR},
      {b, WM_LBUTTONDOWN}};
  auto got = ActivationPairs();
  // The pointer's first arrival brings a WM_SETCURSOR of its own before the press.
  ASSERT_FALSE(got.empty());
  if (got.front() == std::make_pair(b, WM_SETCURSOR)) got.erase(got.begin());
  EXPECT_EQ(got, expected);
  for (const Logged& l : log) {
    if (l.hwnd == b && l.msg == WM_ACTIVATE) {
      EXPECT_EQ(LOWORD(l.wp), WA_CLICKACTIVE);
    }
    if (l.hwnd == a && l.msg == WM_ACTIVATE) {
      EXPECT_EQ(reinterpret_cast<HWND>(l.lp), b);
    }
    if (l.hwnd == b && l.msg == WM_MOUSEACTIVATE) {
      EXPECT_EQ(LOWORD(l.lp), HTCLIENT);
    }
  }
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].second.fMouse);
  EXPECT_EQ(seen[0].second.hWndActive, a);
  EXPECT_EQ(GetActiveWindow(), b);
  EXPECT_EQ(GetFocus(), b);
  EXPECT_EQ(screen->FocusedSurface(), screen->Stacking().front());
}

struct MouseActivateCase {
  LRESULT answer;
  bool activates;
  bool delivered;
};
// Test names stay the same from run to run (the default printer dumps bytes).
void PrintTo(const MouseActivateCase& c, std::ostream* os) { *os << "answer " << c.answer; }

class MouseActivateTest : public WmTest, public ::testing::WithParamInterface<MouseActivateCase> {};

TEST_P(MouseActivateTest, TheAnswerDecidesActivationAndDelivery) {
  HWND a = Popup(MakeRect(100, 100, 200, 200));
  HWND b = Popup(MakeRect(400, 100, 200, 200));
  SetActiveWindow(a);
  Pump();
  const LRESULT answer = GetParam().answer;
  handler = [=](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (h == b && m == WM_MOUSEACTIVATE) return answer;
    return std::nullopt;
  };
  log.clear();
  screen->Click({450, 150});
  Pump();
  EXPECT_EQ(GetActiveWindow(), GetParam().activates ? b : a);
  EXPECT_EQ(Count(WM_LBUTTONDOWN, b), GetParam().delivered ? 1 : 0);
  EXPECT_EQ(Count(WM_LBUTTONUP, b), 1);  // only the press is eaten
}

INSTANTIATE_TEST_SUITE_P(Answers, MouseActivateTest,
                         ::testing::Values(MouseActivateCase{MA_ACTIVATE, true, true},
                                           MouseActivateCase{MA_ACTIVATEANDEAT, true, false},
                                           MouseActivateCase{MA_NOACTIVATE, false, true},
                                           MouseActivateCase{MA_NOACTIVATEANDEAT, false, false}));

TEST_F(ActivationTest, ChildrenAskTheirParentAndNoActivateWindowsNeverActivate) {
  HWND a = Popup(MakeRect(100, 100, 200, 200));
  HWND top = Popup(MakeRect(400, 100, 200, 200));
  HWND child = Child(top, MakeRect(10, 10, 50, 50));
  HWND tool = Popup(MakeRect(700, 100, 100, 100), WS_VISIBLE, WS_EX_NOACTIVATE);
  SetActiveWindow(a);
  Pump();
  handler = [=](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (h == top && m == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    return std::nullopt;
  };
  screen->Click({420, 120});
  Pump();
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_EQ(Count(WM_LBUTTONDOWN, child), 1);
  screen->Click({720, 120});
  Pump();
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_EQ(Count(WM_LBUTTONDOWN, tool), 1);
  EXPECT_EQ(SetActiveWindow(tool), nullptr);
}

TEST_F(ActivationTest, TheHookCanRefuseActivation) {
  HWND a = Popup(MakeRect(100, 100, 200, 200));
  HWND b = Popup(MakeRect(400, 100, 200, 200));
  SetActiveWindow(a);
  static HWND refused;
  refused = b;
  SetWindowsHookEx(WH_CBT, [](int code, WPARAM wp, LPARAM) -> LRESULT {
    return code == HCBT_ACTIVATE && reinterpret_cast<HWND>(wp) == refused;
  }, nullptr, 0);
  log.clear();
  screen->Click({450, 150});
  Pump();
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_EQ(Count(WM_NCACTIVATE), 0);
  EXPECT_EQ(Count(WM_LBUTTONDOWN, b), 1);
  EXPECT_EQ(SetActiveWindow(b), nullptr);
}

TEST_F(ActivationTest, ADisabledOwnerCannotBeActivatedAndAClickOnItRaisesTheModalWindow) {
  HWND owner = Popup(MakeRect(100, 100, 300, 300));
  HWND modal = Popup(MakeRect(150, 150, 100, 100), WS_VISIBLE, 0, owner);
  HWND other = Popup(MakeRect(700, 100, 100, 100));
  EnableWindow(owner, FALSE);
  ASSERT_EQ(GetActiveWindow(), other);
  EXPECT_EQ(SetActiveWindow(owner), nullptr);
  SetActiveWindow(modal);
  SetActiveWindow(other);
  log.clear();
  screen->Click({350, 350});  // on the owner, outside the modal window
  Pump();
  EXPECT_EQ(Count(WM_LBUTTONDOWN, owner), 0);
  EXPECT_EQ(Count(WM_MOUSEACTIVATE, owner), 0);
  bool error = false;
  for (const Logged& l : log)
    if (l.hwnd == owner && l.msg == WM_SETCURSOR && static_cast<short>(LOWORD(l.lp)) == HTERROR) error = true;
  EXPECT_TRUE(error);
  EXPECT_EQ(GetActiveWindow(), modal);
  EXPECT_EQ(GetLastActivePopup(owner), modal);
}

TEST_F(ActivationTest, AClickOnAnotherProgramDeactivatesOursAndAClickBackRestoresIt) {
  HWND a = Popup(MakeRect(100, 100, 200, 200));
  Pump();
  ASSERT_EQ(GetActiveWindow(), a);
  screen->AddForeignWindow(MakeRect(800, 100, 300, 300), MakePixel(200, 0, 0, 255), "editor");
  log.clear();
  screen->Click({900, 200});
  Pump();
  EXPECT_EQ(ActivationPairs(), (std::vector<std::pair<HWND, UINT>>{
                                   {a, WM_NCACTIVATE}, {a, WM_ACTIVATE}, {a, WM_ACTIVATEAPP}, {a, WM_KILLFOCUS}}));
  for (const Logged& l : log)
    if (l.msg == WM_ACTIVATEAPP || l.msg == WM_NCACTIVATE) {
      EXPECT_EQ(l.wp, static_cast<WPARAM>(FALSE));
    }
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_EQ(GetForegroundWindow(), nullptr);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_FALSE(screen->OurProgramActive());
  // Keys now go to the other program.
  log.clear();
  screen->KeyDown('A');
  Pump();
  EXPECT_EQ(Count(WM_KEYDOWN), 0);
  // In the background the program cannot take the activation back by itself.
  EXPECT_EQ(SetActiveWindow(a), nullptr);
  Pump();
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_FALSE(screen->OurProgramActive());

  screen->Click({150, 150});
  Pump();
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_EQ(Count(WM_ACTIVATEAPP, a), 1);
  EXPECT_TRUE(screen->OurProgramActive());
  EXPECT_EQ(screen->Stacking().front(), SurfaceOfWindow(a));
}

// The program's auto-close: a 400 ms timer that closes the window once it is no longer active.
TEST_F(ActivationTest, AnInactiveWindowFoundByItsTimerClosesItself) {
  HWND w = Popup(MakeRect(100, 100, 200, 200));
  SetTimer(w, 1, 400, nullptr);
  handler = [](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_TIMER && GetActiveWindow() != h) {
      DestroyWindow(h);
      PostQuitMessage(0);
      return 0;
    }
    return std::nullopt;
  };
  screen->AddForeignWindow(MakeRect(800, 100, 300, 300), MakePixel(0, 0, 200, 255));
  const DWORD start = GetTickCount();
  screen->Click({900, 200});
  MSG m;
  while (GetMessage(&m, nullptr, 0, 0) > 0) DispatchMessage(&m);
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(GetTickCount() - start, 400u);
}

TEST_F(ActivationTest, HidingOrDestroyingTheActiveWindowActivatesItsOwner) {
  HWND owner = Popup(MakeRect(100, 100, 300, 300));
  HWND dialog = Popup(MakeRect(150, 150, 100, 100), WS_VISIBLE, 0, owner);
  ASSERT_EQ(GetActiveWindow(), dialog);
  ShowWindow(dialog, SW_HIDE);
  EXPECT_EQ(GetActiveWindow(), owner);
  ShowWindow(dialog, SW_SHOW);
  EXPECT_EQ(GetActiveWindow(), dialog);
  DestroyWindow(dialog);
  EXPECT_EQ(GetActiveWindow(), owner);
  DestroyWindow(owner);
  EXPECT_EQ(GetActiveWindow(), nullptr);
}

TEST_F(ActivationTest, FocusMovesWithKillAndSetFocusAndActivatesTheTopLevelWindow) {
  HWND a = Popup(MakeRect(100, 100, 200, 200));
  HWND b = Popup(MakeRect(400, 100, 200, 200));
  HWND edit = Child(a, MakeRect(10, 10, 50, 20));
  ASSERT_EQ(GetActiveWindow(), b);
  log.clear();
  EXPECT_EQ(SetFocus(edit), b);
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_EQ(GetFocus(), edit);
  EXPECT_EQ(Pairs({WM_KILLFOCUS, WM_SETFOCUS}).back(), std::make_pair(edit, WM_SETFOCUS));
  screen->KeyDown(VK_RETURN);
  Pump();
  EXPECT_EQ(Count(WM_KEYDOWN, edit), 1);
  EnableWindow(a, FALSE);
  EXPECT_EQ(GetFocus(), nullptr);
}

}  // namespace
}  // namespace plat::test
