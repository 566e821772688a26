// Creating and destroying windows, the CBT hook, geometry from the non-client size, the tree.
#include "platform/wm/surfaces.h"
#include "wm_fixture.h"

namespace plat::test {
namespace {

using TreeTest = WmTest;

TEST_F(TreeTest, CreationSendsTheSetUpMessagesInOrder) {
  HWND w = CreateWindowEx(0, "Rec", "title", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 20, 300, 200, nullptr, nullptr,
                          nullptr, nullptr);
  ASSERT_TRUE(w);
  const std::vector<UINT> expected{WM_GETMINMAXINFO, WM_NCCREATE,   WM_NCCALCSIZE,        WM_CREATE,
                                   WM_SIZE,          WM_MOVE,       WM_SHOWWINDOW,        WM_WINDOWPOSCHANGING,
                                   WM_WINDOWPOSCHANGED, WM_ACTIVATEAPP, WM_NCACTIVATE,    WM_ACTIVATE,
                                   WM_SETFOCUS};
  EXPECT_EQ(Sequence({WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW,
                      WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE,
                      WM_SETFOCUS},
                     w),
            expected);
  EXPECT_EQ(GetActiveWindow(), w);
  EXPECT_EQ(GetFocus(), w);
  EXPECT_EQ(GetWindowTextString(w), "title");
}

struct FrameCase {
  DWORD style;
  DWORD exStyle;
  RECT insets;  // left, top, right, bottom
};
// Test names stay the same from run to run (the default printer dumps bytes).
void PrintTo(const FrameCase& c, std::ostream* os) { *os << std::hex << "style " << c.style << " ex " << c.exStyle; }

class FrameTest : public WmTest, public ::testing::WithParamInterface<FrameCase> {};

TEST_P(FrameTest, ClientAreaFollowsTheFrameOfTheStyle) {
  const FrameCase& c = GetParam();
  HWND w = CreateWindowEx(c.exStyle, "Rec", "", c.style, 100, 100, 300, 200, nullptr, nullptr, nullptr, nullptr);
  RECT wr, cr;
  GetWindowRect(w, &wr);
  GetClientRect(w, &cr);
  POINT origin{0, 0};
  ClientToScreen(w, &origin);
  EXPECT_EQ(origin.x - wr.left, c.insets.left);
  EXPECT_EQ(origin.y - wr.top, c.insets.top);
  EXPECT_EQ(wr.right - (origin.x + cr.right), c.insets.right);
  EXPECT_EQ(wr.bottom - (origin.y + cr.bottom), c.insets.bottom);
  // AdjustWindowRectEx gives the same frame back.
  RECT adjusted = MakeRect(0, 0, cr.right, cr.bottom);
  AdjustWindowRectEx(&adjusted, static_cast<DWORD>(GetWindowLong(w, GWL_STYLE)), FALSE, c.exStyle);
  EXPECT_EQ(RectWidth(adjusted), RectWidth(wr));
  EXPECT_EQ(RectHeight(adjusted), RectHeight(wr));
}

INSTANTIATE_TEST_SUITE_P(
    Styles, FrameTest,
    ::testing::Values(FrameCase{WS_POPUP, 0, {0, 0, 0, 0}},
                      FrameCase{WS_POPUP | WS_BORDER, 0, {1, 1, 1, 1}},
                      FrameCase{WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, {3, 22, 3, 3}},
                      FrameCase{WS_OVERLAPPEDWINDOW, 0, {4, 23, 4, 4}},
                      FrameCase{WS_POPUP | WS_CAPTION, WS_EX_TOOLWINDOW, {3, 18, 3, 3}},
                      FrameCase{WS_POPUP | WS_DLGFRAME, WS_EX_CLIENTEDGE, {5, 5, 5, 5}},
                      FrameCase{WS_POPUP | WS_VSCROLL | WS_HSCROLL, 0, {0, 0, 17, 17}}));

TEST_F(TreeTest, HookSeesCreationAndMayChangeOrRefuseIt) {
  static std::vector<std::pair<int, HWND>> events;
  static bool refuse = false;
  events.clear();
  HHOOK hook = SetWindowsHookEx(
      WH_CBT,
      [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
        events.emplace_back(code, reinterpret_cast<HWND>(wp));
        if (code == HCBT_CREATEWND) {
          auto* cbt = reinterpret_cast<CBT_CREATEWND*>(lp);
          cbt->lpcs->x = 77;
          if (refuse) return 1;
        }
        return CallNextHookEx(nullptr, code, wp, lp);
      },
      nullptr, GetCurrentThreadId());
  ASSERT_TRUE(hook);
  HWND w = Popup(MakeRect(5, 5, 40, 40), 0);
  ASSERT_TRUE(w);
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 77);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.front(), std::make_pair(HCBT_CREATEWND, w));
  // The hook ran before the window heard anything.
  EXPECT_EQ(log.front().msg, WM_NCCREATE);

  refuse = true;
  log.clear();
  EXPECT_EQ(Popup(MakeRect(5, 5, 40, 40), 0), nullptr);
  EXPECT_TRUE(log.empty());
  refuse = false;

  events.clear();
  DestroyWindow(w);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.front(), std::make_pair(HCBT_DESTROYWND, w));
  EXPECT_TRUE(UnhookWindowsHookEx(hook));
  EXPECT_FALSE(UnhookWindowsHookEx(hook));
  events.clear();
  Popup(MakeRect(5, 5, 40, 40), 0);
  EXPECT_TRUE(events.empty());
}

TEST_F(TreeTest, HooksChainNewestFirstAndMayUnhookWhileRunning) {
  static std::vector<int> calls;
  static HHOOK first = nullptr, second = nullptr;
  calls.clear();
  first = SetWindowsHookEx(WH_CBT, [](int c, WPARAM w, LPARAM l) -> LRESULT {
    calls.push_back(1);
    return CallNextHookEx(first, c, w, l);
  }, nullptr, 0);
  second = SetWindowsHookEx(WH_CBT, [](int c, WPARAM w, LPARAM l) -> LRESULT {
    calls.push_back(2);
    UnhookWindowsHookEx(second);
    return CallNextHookEx(second, c, w, l);
  }, nullptr, 0);
  Popup(MakeRect(0, 0, 10, 10), 0);
  EXPECT_EQ((std::vector<int>(calls.begin(), calls.begin() + 2)), (std::vector<int>{2, 1}));
  calls.clear();
  Popup(MakeRect(0, 0, 10, 10), 0);
  EXPECT_EQ(calls, (std::vector<int>{1}));
  EXPECT_EQ(SetWindowsHookEx(3 /* another kind */, [](int, WPARAM, LPARAM) -> LRESULT { return 0; }, nullptr, 0),
            nullptr);
}

TEST_F(TreeTest, DestroyGoesToOwnedWindowsFirstThenParentToChildrenAndBack) {
  HWND owner = Popup(MakeRect(0, 0, 200, 200));
  HWND child = Child(owner, MakeRect(0, 0, 50, 50));
  HWND grandchild = Child(child, MakeRect(0, 0, 10, 10));
  HWND owned = Popup(MakeRect(50, 50, 50, 50), WS_VISIBLE, 0, owner);
  ASSERT_EQ(GetWindow(owned, GW_OWNER), owner);
  log.clear();
  ASSERT_TRUE(DestroyWindow(owner));
  const std::vector<std::pair<HWND, UINT>> expected{
      {owned, WM_DESTROY},      {owned, WM_NCDESTROY},      {owner, WM_DESTROY},    {child, WM_DESTROY},
      {grandchild, WM_DESTROY}, {grandchild, WM_NCDESTROY}, {child, WM_NCDESTROY}, {owner, WM_NCDESTROY}};
  EXPECT_EQ(Pairs({WM_DESTROY, WM_NCDESTROY}), expected);
  for (HWND h : {owner, child, grandchild, owned}) EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(screen->SurfaceCount(), 0u);
}

TEST_F(TreeTest, ParentsHearOfChildrenComingAndGoing) {
  HWND top = Popup(MakeRect(0, 0, 200, 200));
  HWND mid = Child(top, MakeRect(0, 0, 100, 100), WS_VISIBLE, 5);
  log.clear();
  HWND leaf = Child(mid, MakeRect(0, 0, 10, 10), WS_VISIBLE, 6);
  std::vector<std::pair<HWND, WPARAM>> notes;
  for (const Logged& l : log)
    if (l.msg == WM_PARENTNOTIFY) notes.emplace_back(l.hwnd, l.wp);
  EXPECT_EQ(notes, (std::vector<std::pair<HWND, WPARAM>>{{mid, MAKEWPARAM(WM_CREATE, 6)}, {top, MAKEWPARAM(WM_CREATE, 6)}}));
  log.clear();
  DestroyWindow(leaf);
  EXPECT_EQ(Count(WM_PARENTNOTIFY, mid), 1);
}

TEST_F(TreeTest, TreeQueriesAndCoordinates) {
  HWND top = CreateWindowEx(0, "Rec", "", WS_POPUP | WS_BORDER | WS_VISIBLE, 100, 50, 300, 200, nullptr, nullptr,
                            nullptr, nullptr);
  HWND a = Child(top, MakeRect(10, 10, 50, 50), WS_VISIBLE, 1);
  HWND b = Child(top, MakeRect(20, 20, 50, 50), WS_VISIBLE, 2);
  HWND inner = Child(a, MakeRect(5, 5, 10, 10), WS_VISIBLE, 3);
  // New children go to the bottom: a stays first.
  EXPECT_EQ(GetWindow(top, GW_CHILD), a);
  EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
  EXPECT_EQ(GetWindow(b, GW_HWNDPREV), a);
  EXPECT_EQ(GetParent(inner), a);
  EXPECT_EQ(GetAncestor(inner, GA_ROOT), top);
  EXPECT_EQ(GetAncestor(top, GA_PARENT), GetDesktopWindow());
  EXPECT_EQ(GetParent(top), nullptr);
  EXPECT_TRUE(IsChild(top, inner));
  EXPECT_FALSE(IsChild(inner, top));
  EXPECT_EQ(GetWindowLongPtr(b, GWLP_ID), 2);

  POINT p{0, 0};
  ClientToScreen(inner, &p);
  EXPECT_EQ(p, (POINT{101 + 10 + 5, 51 + 10 + 5}));
  POINT q{1, 1};
  EXPECT_EQ(MapWindowPoints(inner, b, &q, 1), static_cast<int>(MAKELONG(static_cast<WORD>(-5), static_cast<WORD>(-5))));
  EXPECT_EQ(q, (POINT{-4, -4}));
  EXPECT_EQ(ChildWindowFromPoint(top, {12, 12}), a);
  EXPECT_EQ(ChildWindowFromPoint(top, {65, 65}), b);
  EXPECT_EQ(ChildWindowFromPoint(top, {200, 150}), top);
  EXPECT_EQ(ChildWindowFromPoint(top, {400, 10}), nullptr);

  std::vector<HWND> all;
  EnumChildWindows(top, [](HWND h, LPARAM l) -> BOOL {
    reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
    return TRUE;
  }, reinterpret_cast<LPARAM>(&all));
  EXPECT_EQ(all, (std::vector<HWND>{a, inner, b}));
  char name[16];
  EXPECT_EQ(GetClassName(inner, name, sizeof name), 3);
  EXPECT_STREQ(name, "Rec");
}

TEST_F(TreeTest, ClassesAreFoundByNameIgnoringCaseAndRefuseTwins) {
  WNDCLASS wc;
  wc.lpfnWndProc = &DefWindowProc;
  wc.lpszClassName = "rec";
  EXPECT_EQ(RegisterClass(&wc), 0);
  EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);
  EXPECT_TRUE(CreateWindowEx(0, "REC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
  EXPECT_FALSE(CreateWindowEx(0, "Nope", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_CANNOT_FIND_WND_CLASS);
  EXPECT_FALSE(CreateWindowEx(0, "Rec", "", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_TLW_WITH_WSCHILD);
}

TEST_F(TreeTest, RefusingCreationDestroysTheWindow) {
  handler = [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_CREATE) return -1;
    return std::nullopt;
  };
  EXPECT_EQ(Popup(MakeRect(0, 0, 10, 10)), nullptr);
  EXPECT_EQ(Sequence({WM_CREATE, WM_DESTROY, WM_NCDESTROY}), (std::vector<UINT>{WM_CREATE, WM_DESTROY, WM_NCDESTROY}));
  EXPECT_EQ(screen->SurfaceCount(), 0u);
}

}  // namespace
}  // namespace plat::test

namespace plat::test {
namespace {

struct PosCase {
  const char* name;
  UINT flags;
  bool changing, moved, sized, raised, activated;
};
// Test names stay readable and the same from run to run.
void PrintTo(const PosCase& c, std::ostream* os) { *os << c.name; }

class SetWindowPosTest : public WmTest, public ::testing::WithParamInterface<PosCase> {};

TEST_P(SetWindowPosTest, FlagsSayWhatChangesAndWhatIsTold) {
  const PosCase& c = GetParam();
  HWND low = Popup(MakeRect(100, 100, 200, 100));
  HWND high = Popup(MakeRect(500, 100, 200, 100));
  ASSERT_EQ(GetActiveWindow(), high);
  log.clear();
  SetWindowPos(low, HWND_TOP, 10, 20, 300, 150, c.flags);
  RECT r;
  GetWindowRect(low, &r);
  EXPECT_EQ(Count(WM_WINDOWPOSCHANGING, low), c.changing ? 1 : 0);
  EXPECT_GE(Count(WM_WINDOWPOSCHANGED, low), 1);
  EXPECT_EQ(r.left == 10, c.moved);
  EXPECT_EQ(RectWidth(r) == 300, c.sized);
  EXPECT_EQ(Count(WM_MOVE, low), c.moved ? 1 : 0);
  EXPECT_EQ(Count(WM_SIZE, low), c.sized ? 1 : 0);
  EXPECT_EQ(GetTopWindow(nullptr) == low, c.raised);
  EXPECT_EQ(GetActiveWindow() == low, c.activated);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, SetWindowPosTest,
    ::testing::Values(PosCase{"everything", 0, true, true, true, true, true},
                      PosCase{"no_activate", SWP_NOACTIVATE, true, true, true, true, false},
                      PosCase{"no_move", SWP_NOMOVE | SWP_NOACTIVATE, true, false, true, true, false},
                      PosCase{"no_size", SWP_NOSIZE | SWP_NOACTIVATE, true, true, false, true, false},
                      PosCase{"no_zorder", SWP_NOZORDER | SWP_NOACTIVATE, true, true, true, false, false},
                      PosCase{"no_changing", SWP_NOSENDCHANGING | SWP_NOACTIVATE, false, true, true, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TreeTest, ChangingMayRewriteTheRequestAndTopmostWindowsStayAbove) {
  HWND w = Popup(MakeRect(100, 100, 200, 100));
  handler = [=](HWND h, UINT m, WPARAM, LPARAM lp) -> std::optional<LRESULT> {
    if (h == w && m == WM_WINDOWPOSCHANGING) reinterpret_cast<WINDOWPOS*>(lp)->cx = 50;
    return std::nullopt;
  };
  SetWindowPos(w, nullptr, 0, 0, 400, 100, SWP_NOMOVE | SWP_NOZORDER);
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(RectWidth(r), 50);
  handler = nullptr;
  HWND topmost = Popup(MakeRect(0, 0, 10, 10), WS_VISIBLE, WS_EX_TOPMOST);
  SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetTopWindow(nullptr), topmost);
  SetWindowPos(topmost, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_FALSE(GetWindowLongPtr(topmost, GWL_EXSTYLE) & WS_EX_TOPMOST);
  SetWindowPos(w, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(GetTopWindow(nullptr), w);
  EXPECT_EQ(screen->Stacking().front(), SurfaceOfWindow(w));
}

}  // namespace
}  // namespace plat::test
