// Message boxes: what answers them (their buttons, Enter, Escape, the close button), what a
// headless run can read and press, where they show and what they do to their owner.
#include "wm_fixture.h"

#include "platform/wm/dialogs.h"
#include "platform/wm/menus.h"
#include "platform/wm/standard_controls.h"

namespace plat::test {
namespace {

class MessageBoxTest : public WmTest {
 protected:
  void SetUp() override {
    WmTest::SetUp();
    owner = CreateWindowEx(0, "Rec", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 200, 600, 400, nullptr, nullptr,
                           nullptr, nullptr);
    Pump();
  }
  // Runs the steps one by one, each when the box's loop would wait.
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
  void Key(UINT vk) {
    screen->KeyDown(vk);
    screen->KeyUp(vk);
  }
  static POINT CentreOf(HWND h) {
    RECT r;
    GetWindowRect(h, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  HWND owner = nullptr;
};

TEST_F(MessageBoxTest, AnOkBoxAnswersIdOkFromItsButtonEnterEscapeAndClose) {
  const struct {
    const char* how;
    std::function<void()> answer;
  } cases[] = {
      {"a click on OK", [&] { screen->Click(CentreOf(GetDlgItem(FindShownMessageBox()->window, IDOK))); }},
      {"Enter", [&] { Key(VK_RETURN); }},
      {"Escape", [&] { Key(VK_ESCAPE); }},
      {"the close button", [] { SendMessage(FindShownMessageBox()->window, WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"pressed by a headless run", [] { PressMessageBoxButton(FindShownMessageBox()->window, 0); }},
  };
  for (const auto& c : cases) {
    WhenIdle({c.answer});
    EXPECT_EQ(MessageBox(owner, "Saved.", "Notice", MB_OK | MB_ICONINFORMATION), IDOK) << c.how;
    EXPECT_FALSE(FindShownMessageBox()) << c.how;
    Sleep(1000);  // clicks of one case are no double click with the next
  }
}

TEST_F(MessageBoxTest, AHeadlessRunReadsTheBoxAndTheOwnerIsDisabledMeanwhile) {
  std::optional<ShownMessageBox> shown;
  bool ownerEnabled = true;
  WhenIdle({[&] {
    shown = FindShownMessageBox();
    ownerEnabled = IsWindowEnabled(owner);
    PressMessageBoxButton(shown->window, IDNO);
  }});
  EXPECT_EQ(MessageBox(owner, "Replace the file?", "Question", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2), IDNO);
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->caption, "Question");
  EXPECT_EQ(shown->text, "Replace the file?");
  EXPECT_EQ(shown->buttons, (std::vector<int>{IDYES, IDNO}));
  EXPECT_EQ(shown->defaultButton, IDNO);
  EXPECT_FALSE(ownerEnabled);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetActiveWindow(), owner) << "the owner is active again";
}

TEST_F(MessageBoxTest, WithoutCancelEscapeDoesNothingAndCloseIsGreyed) {
  bool closeGreyed = false;
  WhenIdle({[&] { Key(VK_ESCAPE); },
            [&] {
              const HWND box = FindShownMessageBox()->window;
              closeGreyed = GetMenuState(GetSystemMenu(box, FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED;
              SendMessage(box, WM_SYSCOMMAND, SC_CLOSE, 0);
            },
            [&] { Key(VK_RETURN); }});
  EXPECT_EQ(MessageBox(owner, "Continue?", "Question", MB_YESNO), IDYES);
  EXPECT_TRUE(closeGreyed);
}

TEST_F(MessageBoxTest, TheBoxIsCentredOnItsOwnerAndBuiltOfTheDialogClass) {
  RECT box{};
  std::string cls;
  WhenIdle({[&] {
    const HWND h = FindShownMessageBox()->window;
    GetWindowRect(h, &box);
    char name[16];
    GetClassName(h, name, sizeof name);
    cls = name;
    EXPECT_EQ(GetWindow(h, GW_OWNER), owner);
    EXPECT_EQ(GetActiveWindow(), h);
    PressMessageBoxButton(h, 0);
  }});
  MessageBox(owner, "Done.", "Centred", MB_OK);
  EXPECT_EQ(cls, "#32770");
  const POINT o = CentreOf(owner);
  EXPECT_LE(std::abs((box.left + box.right) / 2 - o.x), 1);
  EXPECT_LE(std::abs((box.top + box.bottom) / 2 - o.y), 1);
}

TEST_F(MessageBoxTest, AWaitThatCannotEndThrowsAndLeavesNoBoxBehind) {
  EXPECT_ANY_THROW(MessageBox(owner, "Nobody answers.", "Stuck", MB_OK));
  EXPECT_FALSE(FindShownMessageBox());
  EXPECT_TRUE(IsWindowEnabled(owner));
}

}  // namespace
}  // namespace plat::test
