// Status bars: docked along the parent's bottom, parts and their rectangles, texts, simple mode,
// owner-drawn parts and the size grip.
#include "wm_fixture.h"

#include "platform/wm/standard_controls.h"

namespace plat::test {
namespace {

class StatusBarTest : public WmTest {
 protected:
  void SetUp() override {
    WmTest::SetUp();
    parent = CreateWindowEx(0, "Rec", "Parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300, nullptr,
                            nullptr, nullptr, nullptr);
    bar = CreateWindowEx(0, STATUSCLASSNAME, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<std::intptr_t>(40)), nullptr, nullptr);
    Pump();
  }
  RECT InParent() const {
    RECT r;
    GetWindowRect(bar, &r);
    POINT p{r.left, r.top};
    ScreenToClient(parent, &p);
    return MakeRect(p.x, p.y, RectWidth(r), RectHeight(r));
  }
  std::string Text(int part) const {
    char buffer[128] = {};
    const LRESULT r = SendMessage(bar, SB_GETTEXT, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(buffer));
    EXPECT_EQ(LOWORD(static_cast<DWORD_PTR>(r)), std::string(buffer).size());
    return buffer;
  }
  HWND parent = nullptr;
  HWND bar = nullptr;
};

TEST_F(StatusBarTest, DocksAtTheBottomAndFollowsWmSize) {
  RECT client;
  GetClientRect(parent, &client);
  const RECT docked = InParent();
  EXPECT_EQ(docked.left, 0);
  EXPECT_EQ(docked.right, client.right);
  EXPECT_EQ(docked.bottom, client.bottom);
  EXPECT_GT(RectHeight(docked), 15);

  // The parent passes its WM_SIZE on, as programs do.
  SetWindowPos(parent, nullptr, 0, 0, 500, 350, SWP_NOMOVE | SWP_NOZORDER);
  GetClientRect(parent, &client);
  SendMessage(bar, WM_SIZE, 0, 0);
  EXPECT_EQ(InParent(), (RECT{0, client.bottom - RectHeight(docked), client.right, client.bottom}));
}

TEST_F(StatusBarTest, PartsHaveTheirRectanglesAndTexts) {
  const int edges[] = {100, 250, -1};
  ASSERT_TRUE(SendMessage(bar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges)));
  int back[4] = {};
  EXPECT_EQ(SendMessage(bar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(back)), 3);
  EXPECT_EQ(back[1], 250);
  RECT client;
  GetClientRect(bar, &client);
  const struct {
    int part;
    LONG left, right;
  } cases[] = {{0, 0, 100}, {1, 102, 250}, {2, 252, client.right}};
  for (const auto& c : cases) {
    RECT r;
    ASSERT_TRUE(SendMessage(bar, SB_GETRECT, static_cast<WPARAM>(c.part), reinterpret_cast<LPARAM>(&r)));
    EXPECT_EQ(r.left, c.left) << c.part;
    EXPECT_EQ(r.right, c.right) << c.part;
    EXPECT_EQ(r.bottom, client.bottom) << c.part;
  }
  RECT none;
  EXPECT_FALSE(SendMessage(bar, SB_GETRECT, 3, reinterpret_cast<LPARAM>(&none)));

  EXPECT_TRUE(SendMessage(bar, SB_SETTEXT, 1, reinterpret_cast<LPARAM>("Second")));
  EXPECT_TRUE(SendMessage(bar, SB_SETTEXT, 2 | SBT_POPOUT, reinterpret_cast<LPARAM>("\tThird")));
  EXPECT_FALSE(SendMessage(bar, SB_SETTEXT, 3, reinterpret_cast<LPARAM>("Nowhere")));
  EXPECT_EQ(Text(1), "Second");
  EXPECT_EQ(Text(2), "\tThird");
  EXPECT_EQ(HIWORD(static_cast<DWORD_PTR>(SendMessage(bar, SB_GETTEXTLENGTH, 2, 0))), SBT_POPOUT);
}

TEST_F(StatusBarTest, SimpleModeShowsItsOwnTextAndKeepsTheParts) {
  const int edges[] = {100, -1};
  SendMessage(bar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
  SendMessage(bar, SB_SETTEXT, 0, reinterpret_cast<LPARAM>("Part zero"));
  SendMessage(bar, SB_SIMPLE, TRUE, 0);
  SendMessage(bar, SB_SETTEXT, SB_SIMPLEID, reinterpret_cast<LPARAM>("Busy"));
  EXPECT_TRUE(SendMessage(bar, SB_ISSIMPLE, 0, 0));
  EXPECT_EQ(Text(static_cast<int>(SB_SIMPLEID)), "Busy");
  RECT r, client;
  GetClientRect(bar, &client);
  SendMessage(bar, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right, client.right) << "one part across the bar";
  SendMessage(bar, SB_SIMPLE, FALSE, 0);
  EXPECT_EQ(Text(0), "Part zero");
  EXPECT_EQ(SendMessage(bar, SB_GETPARTS, 0, 0), 2);
}

TEST_F(StatusBarTest, OwnerDrawnPartsAskTheParentWithTheirData) {
  std::vector<DRAWITEMSTRUCT> drawn;
  handler = [&](HWND h, UINT m, WPARAM, LPARAM lp) -> std::optional<LRESULT> {
    if (h == parent && m == WM_DRAWITEM) drawn.push_back(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
    return std::nullopt;
  };
  const int edges[] = {120, -1};
  SendMessage(bar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
  SendMessage(bar, SB_SETTEXT, 1 | SBT_OWNERDRAW, 0x1234);
  Pump();
  ASSERT_FALSE(drawn.empty());
  EXPECT_EQ(drawn.back().CtlID, 40u);
  EXPECT_EQ(drawn.back().itemID, 1u);
  EXPECT_EQ(drawn.back().itemData, 0x1234u);
  EXPECT_EQ(drawn.back().hwndItem, bar);
  EXPECT_EQ(drawn.back().rcItem.left, 123) << "inside the part's border";
  EXPECT_EQ(SendMessage(bar, SB_GETTEXT, 1, 0), 0x1234);
}

TEST_F(StatusBarTest, TheGripSizesTheWindowItSitsIn) {
  RECT bar0, parent0;
  GetWindowRect(bar, &bar0);
  GetWindowRect(parent, &parent0);
  const POINT grip{bar0.right - 3, bar0.bottom - 3};
  EXPECT_EQ(SendMessage(bar, WM_NCHITTEST, 0, MAKELPARAM(grip.x, grip.y)), HTBOTTOMRIGHT);
  EXPECT_EQ(SendMessage(bar, WM_NCHITTEST, 0, MAKELPARAM(bar0.left + 5, grip.y)), HTCLIENT);
  screen->MovePointer(grip);
  screen->Press();
  screen->MovePointer({grip.x + 40, grip.y + 30});
  screen->Release();
  Pump();
  RECT now;
  GetWindowRect(parent, &now);
  EXPECT_EQ(now, (RECT{parent0.left, parent0.top, parent0.right + 40, parent0.bottom + 30}));
}

}  // namespace
}  // namespace plat::test
