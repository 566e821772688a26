// Timers on the virtual clock: time moves only by sleeping or by waiting for the next timer.
#include "platform/base/error.h"
#include "wm_fixture.h"

namespace plat::test {
namespace {

using TimersTest = WmTest;

TEST_F(TimersTest, AWindowTimerFiresAfterItsIntervalOfVirtualTime) {
  HWND w = Popup(MakeRect(0, 0, 50, 50));
  Pump();
  const DWORD start = GetTickCount();
  ASSERT_EQ(SetTimer(w, 1, 400, nullptr), 1u);
  std::vector<DWORD> ticks;
  MSG m;
  while (ticks.size() < 3 && GetMessage(&m, nullptr, 0, 0) > 0) {
    if (m.message == WM_TIMER) ticks.push_back(GetTickCount() - start);
    DispatchMessage(&m);
  }
  EXPECT_EQ(ticks, (std::vector<DWORD>{400, 800, 1200}));
  EXPECT_EQ(Count(WM_TIMER, w), 3);
}

TEST_F(TimersTest, EarlierTimersComeFirstAndAKilledTimerIsSilent) {
  HWND w = Popup(MakeRect(0, 0, 50, 50), 0);
  SetTimer(w, 1, 50, nullptr);
  SetTimer(w, 2, 30, nullptr);
  SetTimer(w, 3, 40, nullptr);
  EXPECT_TRUE(KillTimer(w, 3));
  EXPECT_FALSE(KillTimer(w, 3));
  std::vector<WPARAM> ids;
  MSG m;
  while (ids.size() < 5 && GetMessage(&m, nullptr, 0, 0) > 0)
    if (m.message == WM_TIMER) ids.push_back(m.wParam);
  // at 30: 2, 50: 1, 60: 2, 90: 2, 100: 1
  EXPECT_EQ(ids, (std::vector<WPARAM>{2, 1, 2, 2, 1}));
}

TEST_F(TimersTest, SettingAgainRestartsAndDestroyingKills) {
  HWND w = Popup(MakeRect(0, 0, 50, 50), 0);
  SetTimer(w, 9, 100, nullptr);
  Sleep(60);
  SetTimer(w, 9, 100, nullptr);  // due 100 from now, not 40
  Sleep(60);
  MSG m;
  EXPECT_FALSE(PeekMessage(&m, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
  Sleep(40);
  EXPECT_TRUE(PeekMessage(&m, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
  DestroyWindow(w);
  Sleep(1000);
  EXPECT_FALSE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
}

std::vector<std::pair<UINT_PTR, DWORD>> calls;
void OnTimer(HWND, UINT, UINT_PTR id, DWORD time) { calls.emplace_back(id, time); }

TEST_F(TimersTest, CallbackTimersRunFromDispatch) {
  calls.clear();
  const DWORD start = GetTickCount();
  const UINT_PTR id = SetTimer(nullptr, 0, 15, &OnTimer);
  ASSERT_NE(id, 0u);
  MSG m;
  while (calls.size() < 2 && GetMessage(&m, nullptr, 0, 0) > 0) DispatchMessage(&m);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0], std::make_pair(id, start + 15));
  EXPECT_EQ(calls[1], std::make_pair(id, start + 30));
  // A timer message carrying some other pointer is not called.
  MSG fake{nullptr, WM_TIMER, id, reinterpret_cast<LPARAM>(&Sleep), 0, {}};
  DispatchMessage(&fake);
  EXPECT_EQ(calls.size(), 2u);
  EXPECT_TRUE(KillTimer(nullptr, id));
}

TEST_F(TimersTest, TimersBelowTheMinimumAreRaisedToIt) {
  HWND w = Popup(MakeRect(0, 0, 50, 50), 0);
  const DWORD start = GetTickCount();
  SetTimer(w, 1, 1, nullptr);
  MSG m;
  while (GetMessage(&m, nullptr, 0, 0) > 0 && m.message != WM_TIMER) {
  }
  EXPECT_EQ(GetTickCount() - start, USER_TIMER_MINIMUM);
}

TEST_F(TimersTest, WaitingWithNothingToWaitForFailsInsteadOfHanging) {
  Popup(MakeRect(0, 0, 50, 50), 0);
  MSG m;
  EXPECT_THROW(GetMessage(&m, nullptr, 0, 0), Error);
}

class RealClockTimersTest : public WmTest {
  display::HeadlessDisplay::Options Options() override {
    display::HeadlessDisplay::Options o;
    o.realClock = true;
    return o;
  }
};

TEST_F(RealClockTimersTest, OnTheRealClockTheLoopBlocksUntilTheTimer) {
  HWND w = Popup(MakeRect(0, 0, 50, 50), 0);
  const DWORD start = GetTickCount();
  SetTimer(w, 1, 30, nullptr);
  MSG m;
  while (GetMessage(&m, nullptr, 0, 0) > 0 && m.message != WM_TIMER) {
  }
  EXPECT_GE(GetTickCount() - start, 30u);
}

}  // namespace
}  // namespace plat::test
