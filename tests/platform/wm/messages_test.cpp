// The queue's order, sends that re-enter, subclassing chains, stale handles.
#include <functional>

#include "platform/wm/surfaces.h"
#include "wm_fixture.h"

namespace plat::test {
namespace {

using MessagesTest = WmTest;

TEST_F(MessagesTest, QueueHandsOutPostedThenQuitThenInputThenPaintThenTimers) {
  HWND w = Popup(MakeRect(100, 100, 200, 150));
  Pump();
  SetTimer(w, 7, 10, nullptr);
  Sleep(20);  // the timer is due
  InvalidateRect(w, nullptr, FALSE);
  screen->MovePointer({150, 150});
  PostMessage(w, WM_APP + 1, 0, 0);
  PostMessage(w, WM_USER + 5, 0, 0);
  PostQuitMessage(3);

  std::vector<UINT> order;
  MSG m;
  for (int i = 0; i < 6 && GetMessage(&m, nullptr, 0, 0) >= 0; ++i) {
    order.push_back(m.message);
    if (m.message == WM_QUIT) {
      EXPECT_EQ(m.wParam, 3u);
      continue;
    }
    DispatchMessage(&m);
    if (m.message == WM_TIMER) KillTimer(w, 7);
  }
  EXPECT_EQ(order, (std::vector<UINT>{WM_APP + 1, WM_USER + 5, WM_QUIT, WM_MOUSEMOVE, WM_PAINT, WM_TIMER}));
}

TEST_F(MessagesTest, FiltersSelectByRangeAndWindowAndQuitIsAlwaysDelivered) {
  HWND a = Popup(MakeRect(0, 0, 50, 50), 0);
  HWND b = Popup(MakeRect(0, 0, 50, 50), 0);
  PostMessage(a, WM_USER, 0, 0);
  PostMessage(b, 0xA100, 1, 2);  // the skin command lies in the application range
  PostMessage(nullptr, WM_APP, 0, 0);
  MSG m;
  ASSERT_TRUE(PeekMessage(&m, b, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, 0xA100u);
  ASSERT_TRUE(PeekMessage(&m, nullptr, WM_APP, 0xBFFF, PM_NOREMOVE));
  EXPECT_EQ(m.message, WM_APP);
  EXPECT_EQ(m.hwnd, nullptr);
  ASSERT_TRUE(PeekMessage(&m, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_APP);
  PostQuitMessage(0);
  ASSERT_TRUE(PeekMessage(&m, a, WM_PAINT, WM_PAINT, PM_REMOVE));
  EXPECT_EQ(m.message, WM_QUIT);
  ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_USER);
  EXPECT_FALSE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessagesTest, SendsReenterAndReturnInnermostFirst) {
  HWND w = Popup(MakeRect(0, 0, 50, 50), 0);
  std::vector<int> trace;
  handler = [&](HWND h, UINT msg, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
    if (msg != WM_USER) return std::nullopt;
    trace.push_back(static_cast<int>(wp));
    const LRESULT inner = wp < 3 ? SendMessage(h, WM_USER, wp + 1, 0) : 100;
    trace.push_back(-static_cast<int>(wp));
    return inner + 1;
  };
  EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 104);
  EXPECT_EQ(trace, (std::vector<int>{0, 1, 2, 3, -3, -2, -1, 0}));
}

TEST_F(MessagesTest, DestroyingInsideItsOwnProcedureLeavesTheHandleStale) {
  HWND w = Popup(MakeRect(0, 0, 50, 50), 0);
  handler = [&](HWND h, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg != WM_USER) return std::nullopt;
    DestroyWindow(h);
    // Calls on the destroyed window fail quietly, even from inside its own procedure.
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(SendMessage(h, WM_USER + 1, 0, 0), 0);
    EXPECT_FALSE(SetWindowPos(h, nullptr, 1, 1, 1, 1, SWP_NOZORDER));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    return 9;
  };
  EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 9);
  EXPECT_FALSE(IsWindow(w));
  EXPECT_FALSE(PostMessage(w, WM_USER, 0, 0));
  RECT r;
  EXPECT_FALSE(GetWindowRect(w, &r));
  EXPECT_FALSE(DestroyWindow(w));
  // A new window never gets the old handle.
  EXPECT_NE(Popup(MakeRect(0, 0, 5, 5), 0), w);
}

TEST_F(MessagesTest, EveryCallOnAStaleHandleFailsWithTheSameError) {
  HWND w = Popup(MakeRect(0, 0, 50, 50), 0);
  DestroyWindow(w);
  RECT r{};
  char text[8];
  const std::pair<const char*, std::function<bool()>> calls[] = {
      {"SetProp", [&] { return !SetProp(w, "p", &r); }},
      {"GetProp", [&] { return !GetProp(w, "p"); }},
      {"RemoveProp", [&] { return !RemoveProp(w, "p"); }},
      {"GetUpdateRect", [&] { return !GetUpdateRect(w, &r, FALSE); }},
      {"GetClientRect", [&] { return !GetClientRect(w, &r); }},
      {"GetWindowText", [&] { return GetWindowText(w, text, sizeof text) == 0; }},
      {"SetWindowLongPtr", [&] { return SetWindowLongPtr(w, GWLP_USERDATA, 1) == 0; }},
      {"RedrawWindow", [&] { return !RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE); }},
      {"SetParent", [&] { return !SetParent(w, nullptr); }},
      {"GetDCEx", [&] { return !GetDCEx(w, nullptr, 0); }},
  };
  for (const auto& [name, call] : calls) {
    SetLastError(0);
    EXPECT_TRUE(call()) << name;
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE) << name;
  }
}

// Two subclass levels in front of the recording procedure.
WNDPROC outerPrevious = nullptr;
WNDPROC innerPrevious = nullptr;
std::vector<std::string> chain;

LRESULT Inner(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_USER) chain.push_back("inner");
  if (m == WM_USER + 1) return 41;  // swallowed here
  return CallWindowProc(innerPrevious, h, m, w, l);
}

LRESULT Outer(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_USER) chain.push_back("outer");
  const LRESULT r = CallWindowProc(outerPrevious, h, m, w, l);
  return m == WM_USER + 1 ? r + 1 : r;
}

TEST_F(MessagesTest, SubclassChainsPassMessagesOnAndUnwindInReverse) {
  HWND w = Popup(MakeRect(0, 0, 50, 50), 0);
  chain.clear();
  innerPrevious = reinterpret_cast<WNDPROC>(SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Inner)));
  outerPrevious = reinterpret_cast<WNDPROC>(SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Outer)));
  EXPECT_EQ(innerPrevious, &WmTest::Recording);
  EXPECT_EQ(outerPrevious, &Inner);

  log.clear();
  SendMessage(w, WM_USER, 0, 0);
  EXPECT_EQ(chain, (std::vector<std::string>{"outer", "inner"}));
  EXPECT_EQ(Count(WM_USER, w), 1);  // reached the original procedure
  EXPECT_EQ(SendMessage(w, WM_USER + 1, 0, 0), 42);
  EXPECT_EQ(Count(WM_USER + 1, w), 0);

  // Restoring in reverse order leaves the class procedure.
  SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(outerPrevious));
  SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(innerPrevious));
  EXPECT_EQ(GetWindowLongPtr(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&WmTest::Recording));
  chain.clear();
  SendMessage(w, WM_USER, 0, 0);
  EXPECT_TRUE(chain.empty());
}

TEST_F(MessagesTest, TranslateMessageMakesCharactersFromKeys) {
  HWND w = Popup(MakeRect(10, 10, 100, 100));
  Pump();
  ASSERT_EQ(GetFocus(), w);
  log.clear();
  screen->KeyDown(VK_SHIFT);
  screen->KeyDown('A');
  screen->KeyUp('A');
  screen->KeyUp(VK_SHIFT);
  screen->KeyDown('7', U'ä');  // a display that knows the layout says what the key types
  Pump();
  std::vector<WPARAM> chars;
  for (const Logged& l : log)
    if (l.msg == WM_CHAR) chars.push_back(l.wp);
  EXPECT_EQ(chars, (std::vector<WPARAM>{'A', U'ä'}));
  EXPECT_EQ(Sequence({WM_KEYDOWN, WM_CHAR, WM_KEYUP}),
            (std::vector<UINT>{WM_KEYDOWN, WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_KEYUP, WM_KEYDOWN, WM_CHAR}));
  EXPECT_LT(GetKeyState('7'), 0);
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);
}

TEST_F(MessagesTest, AltKeysAreSystemKeysAndAltF4Closes) {
  HWND w = Popup(MakeRect(10, 10, 100, 100));
  Pump();
  screen->KeyDown(VK_MENU);
  screen->KeyDown(VK_F4);
  Pump();
  EXPECT_EQ(Count(WM_SYSKEYDOWN, w), 2);  // Alt itself, then F4 with Alt held
  EXPECT_EQ(Count(WM_KEYDOWN, w), 0);
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(Sequence({WM_SYSKEYDOWN, WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}).back(), WM_DESTROY);
}

TEST_F(MessagesTest, WindowTextIsUtf8AndNeverCutInsideACharacter) {
  HWND w = Popup(MakeRect(0, 0, 50, 50), 0);
  ASSERT_TRUE(SetWindowText(w, "50 % \xC3\xA4"));  // "50 % ä"
  EXPECT_EQ(GetWindowTextString(w), "50 % \xC3\xA4");
  EXPECT_EQ(GetWindowTextLength(w), 7);
  EXPECT_EQ(screen->Title(SurfaceOfWindow(w)), "50 % \xC3\xA4");
  char small[7];  // room for six bytes: the last one would cut the two-byte character
  EXPECT_EQ(GetWindowText(w, small, sizeof small), 5);
  EXPECT_STREQ(small, "50 % ");
}

TEST_F(MessagesTest, PropertiesIgnoreCaseAndLeaveWithTheWindow) {
  HWND w = Popup(MakeRect(0, 0, 50, 50), 0);
  int value = 0;
  EXPECT_TRUE(SetProp(w, "ACSBSC", &value));
  EXPECT_EQ(GetProp(w, "acsbsc"), &value);
  EXPECT_EQ(RemoveProp(w, "AcSbSc"), &value);
  EXPECT_EQ(GetProp(w, "ACSBSC"), nullptr);
  SetProp(w, "ACSBSC", &value);
  DestroyWindow(w);
  EXPECT_EQ(GetProp(w, "ACSBSC"), nullptr);
}

}  // namespace
}  // namespace plat::test
