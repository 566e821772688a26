// Push buttons: clicked on a release over them and not on a press dragged off, pushed by the
// space bar, their state and style messages, owner drawing, and Enter for a dialog's default.
#include "wm_fixture.h"

#include "platform/wm/dialogs.h"
#include "platform/wm/standard_controls.h"

namespace plat::test {
namespace {

class ButtonTest : public WmTest {
 protected:
  void SetUp() override {
    WmTest::SetUp();
    parent = Popup(MakeRect(100, 100, 400, 300));
    button = MakeButton(BS_PUSHBUTTON, 7);
    Pump();
    log.clear();
  }
  HWND MakeButton(DWORD style, int id, RECT r = MakeRect(50, 50, 100, 30)) {
    return CreateWindowEx(0, WC_BUTTON, "&Go", WS_CHILD | WS_VISIBLE | style, r.left, r.top, RectWidth(r), RectHeight(r),
                          parent, reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)), nullptr, nullptr);
  }
  // BN_CLICKED notifications the parent heard, by control id.
  std::vector<int> Clicks() const {
    std::vector<int> ids;
    for (const Logged& l : log)
      if (l.hwnd == parent && l.msg == WM_COMMAND && HIWORD(l.wp) == BN_CLICKED) ids.push_back(LOWORD(l.wp));
    return ids;
  }
  LRESULT State() const { return SendMessage(button, BM_GETSTATE, 0, 0); }
  HWND parent = nullptr;
  HWND button = nullptr;
  const POINT centre{200, 165};
};

TEST_F(ButtonTest, ClicksOnReleaseNotOnPress) {
  screen->MovePointer(centre);
  screen->Press();
  Pump();
  EXPECT_TRUE(Clicks().empty());
  EXPECT_EQ(State() & BST_PUSHED, BST_PUSHED);
  EXPECT_EQ(GetFocus(), button);
  screen->Release();
  Pump();
  EXPECT_EQ(Clicks(), std::vector<int>{7});
  EXPECT_EQ(State() & BST_PUSHED, 0);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ButtonTest, APressDraggedOffDoesNotClickAndLooksPushedOnlyWhileOver) {
  screen->MovePointer(centre);
  screen->Press();
  screen->MovePointer({400, 300});
  Pump();
  EXPECT_EQ(State() & BST_PUSHED, 0) << "off the button";
  screen->MovePointer(centre);
  Pump();
  EXPECT_EQ(State() & BST_PUSHED, BST_PUSHED) << "back over it";
  screen->MovePointer({400, 300});
  screen->Release();
  Pump();
  EXPECT_TRUE(Clicks().empty());
}

TEST_F(ButtonTest, TheSpaceBarPushesAndItsReleaseClicks) {
  SetFocus(button);
  screen->KeyDown(VK_SPACE);
  Pump();
  EXPECT_EQ(State(), BST_PUSHED | BST_FOCUS);
  EXPECT_TRUE(Clicks().empty());
  screen->KeyUp(VK_SPACE);
  Pump();
  EXPECT_EQ(Clicks(), std::vector<int>{7});
  EXPECT_EQ(State(), BST_FOCUS);

  // Losing the focus while held lets the button go without a click.
  screen->KeyDown(VK_SPACE);
  Pump();
  SetFocus(parent);
  screen->KeyUp(VK_SPACE);
  Pump();
  EXPECT_EQ(Clicks().size(), 1u);
  EXPECT_EQ(State(), 0);
}

TEST_F(ButtonTest, StateStyleAndClickMessages) {
  SendMessage(button, BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(State(), BST_PUSHED);
  SendMessage(button, BM_SETSTATE, FALSE, 0);
  EXPECT_EQ(State(), 0);
  EXPECT_EQ(SendMessage(button, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
  SendMessage(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  EXPECT_EQ(GetWindowLong(button, GWL_STYLE) & BS_TYPEMASK, static_cast<LONG>(BS_DEFPUSHBUTTON));
  EXPECT_EQ(SendMessage(button, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
  SendMessage(button, BM_CLICK, 0, 0);
  EXPECT_EQ(Clicks(), std::vector<int>{7});
  EnableWindow(button, FALSE);
  SendMessage(button, BM_CLICK, 0, 0);
  EXPECT_EQ(Clicks().size(), 1u) << "a disabled button is not clicked";
}

TEST_F(ButtonTest, TheDefaultButtonHasAFrameAndADisabledOneEngravedText) {
  // Left edge of the button at mid-height: the default one's outer pixel is the window frame.
  MakeButton(BS_DEFPUSHBUTTON, 8, MakeRect(200, 50, 100, 30));
  HWND off = MakeButton(BS_PUSHBUTTON, 9, MakeRect(50, 150, 100, 30));
  EnableWindow(off, FALSE);
  Pump();
  const Bitmap& s = screen->Compose();
  EXPECT_EQ(PixelToColor(s.Row(165)[300]), GetSysColor(COLOR_WINDOWFRAME));
  EXPECT_EQ(PixelToColor(s.Row(165)[150]), GetSysColor(COLOR_3DLIGHT));
  struct Ink {
    int highlight = 0, grey = 0, black = 0;
  };
  auto ink = [&](POINT at) {
    Ink i;
    for (int y = at.y; y < at.y + 30; ++y)
      for (int x = at.x; x < at.x + 100; ++x) {
        const COLORREF c = PixelToColor(s.Row(y)[x]);
        i.highlight += c == GetSysColor(COLOR_3DHILIGHT);
        i.grey += c == GetSysColor(COLOR_GRAYTEXT);
        i.black += c == RGB(0, 0, 0);
      }
    return i;
  };
  const Ink enabled = ink({150, 150}), disabled = ink({150, 250});
  EXPECT_GT(enabled.black, 0);
  EXPECT_EQ(disabled.black, 0);
  EXPECT_GT(disabled.grey, enabled.grey);
  EXPECT_GT(disabled.highlight, enabled.highlight) << "a highlight under the grey text";
}

TEST_F(ButtonTest, OwnerDrawnButtonsAskTheParentWithTheirState) {
  std::vector<UINT> states;
  std::vector<UINT> types;
  handler = [&](HWND h, UINT m, WPARAM, LPARAM lp) -> std::optional<LRESULT> {
    if (h == parent && m == WM_DRAWITEM) {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      types.push_back(item->CtlType);
      states.push_back(item->itemState);
      EXPECT_EQ(item->CtlID, 12u);
      EXPECT_EQ(item->rcItem, (RECT{0, 0, 80, 40}));
      return TRUE;
    }
    return std::nullopt;
  };
  HWND drawn = MakeButton(BS_OWNERDRAW, 12, MakeRect(200, 150, 80, 40));
  Pump();
  ASSERT_FALSE(states.empty());
  EXPECT_EQ(types.back(), ODT_BUTTON);
  EXPECT_EQ(states.back(), 0u);
  screen->MovePointer({340, 270});
  screen->Press();
  Pump();
  EXPECT_EQ(states.back(), ODS_SELECTED | ODS_FOCUS);
  screen->Release();
  Pump();
  EXPECT_EQ(states.back(), static_cast<UINT>(ODS_FOCUS));
  EXPECT_EQ(Clicks(), std::vector<int>{12});
  EnableWindow(drawn, FALSE);
  InvalidateRect(drawn, nullptr, TRUE);
  Pump();
  EXPECT_EQ(states.back(), static_cast<UINT>(ODS_DISABLED));
}

TEST_F(ButtonTest, MultilineCaptionsWrap) {
  // A caption too wide for one line draws on two with BS_MULTILINE, on one without.
  auto inkRows = [&](HWND b) {
    SetWindowText(b, "A rather long caption here");
    Pump();
    RECT r;
    GetWindowRect(b, &r);
    const Bitmap& s = screen->Compose();
    int rows = 0;
    for (int y = r.top + 3; y < r.bottom - 3; ++y) {
      bool ink = false;
      for (int x = r.left + 5; x < r.right - 5; ++x) ink = ink || PixelToColor(s.Row(y)[x]) == GetSysColor(COLOR_BTNTEXT);
      rows += ink;
    }
    return rows;
  };
  HWND single = MakeButton(BS_PUSHBUTTON, 20, MakeRect(50, 100, 90, 60));
  HWND multi = MakeButton(BS_PUSHBUTTON | BS_MULTILINE, 21, MakeRect(200, 100, 90, 60));
  EXPECT_GT(inkRows(multi), inkRows(single) * 3 / 2);
}

TEST_F(ButtonTest, EnterClicksTheDefaultButtonOfADialog) {
  HWND dialog = CreateWindowEx(WS_EX_DLGMODALFRAME, WC_DIALOG, "Dialog", WS_POPUP | WS_CAPTION | WS_VISIBLE, 600, 100,
                               300, 200, nullptr, nullptr, nullptr, nullptr);
  const auto subclass = [](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_COMMAND) log.push_back({h, m, wp, lp});
    return DefDlgProc(h, m, wp, lp);
  };
  SetWindowLongPtr(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+subclass));
  auto add = [&](const char* text, int id, DWORD style, int x) {
    return CreateWindowEx(0, WC_BUTTON, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, 100, 80, 25, dialog,
                          reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)), nullptr, nullptr);
  };
  add("OK", IDOK, BS_DEFPUSHBUTTON, 20);
  HWND other = add("Other", 5, BS_PUSHBUTTON, 120);
  HWND edit = CreateWindowEx(0, "Rec", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 20, 20, 100, 20, dialog, nullptr,
                             nullptr, nullptr);
  SendMessage(dialog, DM_SETDEFID, IDOK, 0);
  auto press = [&](UINT vk) {
    screen->KeyDown(vk);
    screen->KeyUp(vk);
    MSG m;
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE))
      if (!IsDialogMessage(dialog, &m)) {
        TranslateMessage(&m);
        DispatchMessage(&m);
      }
  };
  auto lastCommand = [&] {
    for (auto it = log.rbegin(); it != log.rend(); ++it)
      if (it->hwnd == dialog && it->msg == WM_COMMAND) return static_cast<int>(LOWORD(it->wp));
    return 0;
  };
  SetFocus(edit);
  press(VK_RETURN);
  EXPECT_EQ(lastCommand(), IDOK) << "the default button, from a control that is no button";
  SetFocus(other);
  press(VK_RETURN);
  EXPECT_EQ(lastCommand(), 5) << "a focused push button takes Enter itself";
  press(VK_ESCAPE);
  EXPECT_EQ(lastCommand(), IDCANCEL);
  SetFocus(edit);
  press(VK_TAB);
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDOK)) << "Tab goes through the controls in the order they were made";
}

TEST_F(ButtonTest, AButtonProcedureOnAnotherClassesWindowFindsNoButtonState) {
  HWND label = CreateWindowEx(0, WC_STATIC, "label", WS_CHILD | WS_VISIBLE, 0, 0, 60, 20, parent, nullptr, nullptr, nullptr);
  SendMessage(label, WM_SETFONT, 0, 0);  // the static class keeps its record now
  SetWindowLongPtr(label, GWLP_WNDPROC, GetWindowLongPtr(button, GWLP_WNDPROC));
  SendMessage(label, BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(SendMessage(label, BM_GETSTATE, 0, 0), 0);
  InvalidateRect(label, nullptr, TRUE);
  Pump();
  EXPECT_EQ(State(), 0) << "the real button is untouched";
}

}  // namespace
}  // namespace plat::test
