// Menus: the system menu by style and state, the menu calls, and tracking a popup with the mouse
// and the keyboard, returning or posting the choice.
#include "wm_fixture.h"

#include "platform/wm/menu_popup.h"
#include "platform/wm/menus.h"

namespace plat::test {
namespace {

using MenuTest = WmTest;

struct ItemState {
  UINT id;
  bool greyed;
  friend bool operator==(const ItemState&, const ItemState&) = default;
};

std::vector<ItemState> Items(HMENU m) {
  std::vector<ItemState> out;
  for (int i = 0; i < GetMenuItemCount(m); ++i) {
    const UINT state = GetMenuState(m, static_cast<UINT>(i), MF_BYPOSITION);
    if (state & MF_SEPARATOR) continue;
    out.push_back({GetMenuItemID(m, i), (state & MF_GRAYED) != 0});
  }
  return out;
}

HWND Window(DWORD style, DWORD exStyle = 0) {
  return CreateWindowEx(exStyle, "Rec", "Menu owner", style | WS_VISIBLE, 100, 100, 400, 300, nullptr, nullptr,
                        nullptr, nullptr);
}

TEST_F(MenuTest, TheSystemMenuFollowsTheStyleAndTheState) {
  const UINT R = SC_RESTORE, M = SC_MOVE, S = SC_SIZE, N = SC_MINIMIZE, X = SC_MAXIMIZE, C = SC_CLOSE;
  HWND dialog = Window(WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME);
  EXPECT_EQ(Items(GetSystemMenu(dialog, FALSE)), (std::vector<ItemState>{{M, false}, {C, false}}))
      << "a dialog frame can only be moved and closed";

  HWND sizeable = Window(WS_OVERLAPPEDWINDOW);
  HMENU m = GetSystemMenu(sizeable, FALSE);
  EXPECT_EQ(Items(m), (std::vector<ItemState>{{R, true}, {M, false}, {S, false}, {N, false}, {X, false}, {C, false}}));
  EXPECT_EQ(GetMenuDefaultItem(m, FALSE, 0), SC_CLOSE);
  ShowWindow(sizeable, SW_MAXIMIZE);
  EXPECT_EQ(Items(GetSystemMenu(sizeable, FALSE)),
            (std::vector<ItemState>{{R, false}, {M, true}, {S, true}, {N, false}, {X, true}, {C, false}}));
  ShowWindow(sizeable, SW_MINIMIZE);
  EXPECT_EQ(Items(GetSystemMenu(sizeable, FALSE)),
            (std::vector<ItemState>{{R, false}, {M, false}, {S, true}, {N, true}, {X, false}, {C, false}}));

  HWND minOnly = Window(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  EXPECT_EQ(Items(GetSystemMenu(minOnly, FALSE)),
            (std::vector<ItemState>{{R, true}, {M, false}, {S, true}, {N, false}, {X, true}, {C, false}}));

  // Reverting drops what the program changed.
  EnableMenuItem(GetSystemMenu(dialog, FALSE), SC_CLOSE, MF_GRAYED);
  EXPECT_EQ(GetSystemMenu(dialog, TRUE), nullptr);
  EXPECT_EQ(Items(GetSystemMenu(dialog, FALSE)), (std::vector<ItemState>{{M, false}, {C, false}}));
}

TEST_F(MenuTest, ItemsByPositionAndByCommandThroughSubmenus) {
  HMENU sub = CreatePopupMenu();
  AppendMenu(sub, MF_STRING, 21, "&Deep");
  HMENU m = CreatePopupMenu();
  AppendMenu(m, MF_STRING, 10, "&First");
  AppendMenu(m, MF_SEPARATOR, 0, nullptr);
  AppendMenu(m, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "&More");
  InsertMenu(m, 0, MF_BYPOSITION | MF_STRING | MF_CHECKED, 5, "Zeroth\tCtrl+Z");
  EXPECT_EQ(GetMenuItemCount(m), 4);
  EXPECT_EQ(GetMenuItemID(m, 0), 5u);
  EXPECT_EQ(GetMenuItemID(m, 3), static_cast<UINT>(-1));
  EXPECT_EQ(GetSubMenu(m, 3), sub);
  EXPECT_EQ(GetMenuState(m, 3, MF_BYPOSITION), MF_POPUP | (1u << 8));
  EXPECT_EQ(GetMenuState(m, 5, MF_BYCOMMAND), MF_CHECKED);
  char text[32];
  EXPECT_EQ(GetMenuString(m, 21, text, sizeof text, MF_BYCOMMAND), 5);
  EXPECT_STREQ(text, "&Deep");
  EXPECT_EQ(EnableMenuItem(m, 21, MF_BYCOMMAND | MF_GRAYED), MF_ENABLED);
  EXPECT_EQ(EnableMenuItem(m, 21, MF_BYCOMMAND | MF_ENABLED), static_cast<BOOL>(MF_GRAYED));
  EXPECT_EQ(EnableMenuItem(m, 99, MF_BYCOMMAND), -1);
  EXPECT_TRUE(RemoveMenu(m, 3, MF_BYPOSITION));
  EXPECT_TRUE(IsMenu(sub)) << "removing leaves the submenu";
  AppendMenu(m, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "&More");
  EXPECT_TRUE(DestroyMenu(m));
  EXPECT_FALSE(IsMenu(sub)) << "destroying takes the submenus along";
  EXPECT_EQ(GetMenuItemCount(m), -1);
}

class TrackTest : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    owner = Window(WS_OVERLAPPEDWINDOW);
    Pump();
    menu = CreatePopupMenu();
    AppendMenu(menu, MF_STRING, 101, "&Open");
    AppendMenu(menu, MF_STRING | MF_GRAYED, 102, "&Greyed");
    AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenu(menu, MF_STRING, 103, "&Save");
    log.clear();
  }
  void TearDown() override {
    DestroyMenu(menu);
    MenuTest::TearDown();
  }
  // Runs the steps one by one, each when the menu's loop would wait.
  void WhenIdle(std::vector<std::function<void()>> steps) {
    auto pending = std::make_shared<std::vector<std::function<void()>>>(std::move(steps));
    screen->SetIdleHandler([pending] {
      if (pending->empty()) return false;
      auto step = pending->front();
      pending->erase(pending->begin());
      step();
      return true;
    });
  }
  // The screen point of an item of the open menu.
  static POINT ItemPoint(int index) {
    HWND popup = FindPopup();
    const RECT item = wm::PopupOf(popup)->items.at(static_cast<std::size_t>(index));
    POINT p{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ClientToScreen(popup, &p);
    return p;
  }
  static HWND FindPopup() {
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
      char name[16];
      GetClassName(h, name, sizeof name);
      if (std::string(name) == "#32768" && IsWindowVisible(h)) return h;
    }
    return nullptr;
  }
  void Key(UINT vk) {
    screen->KeyDown(vk);
    screen->KeyUp(vk);
  }
  HWND owner = nullptr;
  HMENU menu = nullptr;
};

TEST_F(TrackTest, TheKeyboardSkipsSeparatorsAndChoosesWithEnter) {
  // Down lights Open, Down again the greyed item (lit but not usable), Down skips the separator.
  WhenIdle({[&] {
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_RETURN);
  }});
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 300, 300, 0, owner, nullptr), 103);
  EXPECT_EQ(FindPopup(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Sequence({WM_ENTERMENULOOP, WM_INITMENUPOPUP, WM_EXITMENULOOP}, owner),
            (std::vector<UINT>{WM_ENTERMENULOOP, WM_INITMENUPOPUP, WM_EXITMENULOOP}));
}

TEST_F(TrackTest, AMnemonicChoosesItsItem) {
  WhenIdle({[&] { screen->KeyDown('S', 's'); }});
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 300, 300, 0, owner, nullptr), 103);
}

TEST_F(TrackTest, EscapeAndAPressOutsideCancel) {
  WhenIdle({[&] { Key(VK_ESCAPE); }});
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 300, 300, 0, owner, nullptr), 0);
  WhenIdle({[&] { screen->Click({900, 900}); }});
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 300, 300, 0, owner, nullptr), 0);
}

TEST_F(TrackTest, TheMouseChoosesOnReleaseOverAUsableItem) {
  // A release over the greyed item does nothing; one over Save chooses it.
  WhenIdle({[&] { screen->Click(ItemPoint(1)); }, [&] { screen->Click(ItemPoint(3)); }});
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 300, 300, 0, owner, nullptr), 103);
}

TEST_F(TrackTest, WithoutReturnCommandTheChoiceIsPostedToTheOwner) {
  WhenIdle({[&] {
    Key(VK_DOWN);
    Key(VK_RETURN);
  }});
  EXPECT_EQ(TrackPopupMenu(menu, 0, 300, 300, 0, owner, nullptr), TRUE);
  EXPECT_EQ(Count(WM_COMMAND, owner), 0) << "posted, not sent";
  Pump();
  ASSERT_EQ(Count(WM_COMMAND, owner), 1);
  for (const Logged& l : log)
    if (l.msg == WM_COMMAND) {
      EXPECT_EQ(l.wp, 101u);
    }
}

TEST_F(TrackTest, ARightClickOnTheCaptionOpensTheSystemMenu) {
  // Close is the last item of the system menu; choosing it closes the window.
  WhenIdle({[&] {
    Key(VK_UP);
    Key(VK_RETURN);
  }});
  screen->Click({300, 112}, display::Button::Right);
  Pump();
  EXPECT_FALSE(IsWindow(owner));
}

TEST_F(TrackTest, AltSpaceOpensTheSystemMenu) {
  HMENU seen = nullptr;
  handler = [&](HWND h, UINT m, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
    if (h == owner && m == WM_INITMENUPOPUP) seen = reinterpret_cast<HMENU>(wp);
    return std::nullopt;
  };
  WhenIdle({[&] { Key(VK_ESCAPE); }});
  screen->KeyDown(VK_MENU);
  screen->KeyDown(VK_SPACE);
  screen->KeyUp(VK_SPACE);
  screen->KeyUp(VK_MENU);
  Pump();
  EXPECT_EQ(seen, GetSystemMenu(owner, FALSE));
  EXPECT_TRUE(IsWindow(owner));
}

}  // namespace
}  // namespace plat::test
