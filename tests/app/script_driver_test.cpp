#include "app/script_driver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "app/window_tree.h"
#include "platform/temp_tree.h"
#include "platform/wm/dialogs.h"
#include "platform/wm/standard_controls.h"
#include "platform/wm/wm.h"

namespace velmora {
namespace {

using namespace plat;

std::string Contents(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A window with one button; pressing it shows a box and then ends the program.
class DriverTest : public ::testing::Test {
 protected:
  static inline int timerTicks = 0;
  static inline int ticksWhenPressed = -1;

  static LRESULT Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    switch (m) {
      case WM_COMMAND:
        ticksWhenPressed = timerTicks;
        MessageBox(h, "Pressed", "Box", MB_OK);
        DestroyWindow(h);
        return 0;
      case WM_TIMER: ++timerTicks; return 0;
      case WM_DESTROY: PostQuitMessage(0); return 0;
      default: return DefWindowProc(h, m, w, l);
    }
  }

  void SetUp() override {
    auto d = std::make_unique<display::HeadlessDisplay>();
    screen = d.get();
    InitPlatform(std::move(d));
    timerTicks = 0;
    ticksWhenPressed = -1;
    WNDCLASS wc;
    wc.lpfnWndProc = &Proc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "TestWindow";
    RegisterClass(&wc);
    window = CreateWindowEx(0, "TestWindow", "Driven", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                            nullptr, nullptr, nullptr);
    button = CreateWindowEx(0, WC_BUTTON, "Press me", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 30, 100, 40, window,
                            reinterpret_cast<HMENU>(1), nullptr, nullptr);
    messages = std::fopen((tree.root() / "stderr.txt").c_str(), "w+");
  }
  void TearDown() override {
    std::fclose(messages);
    ShutdownPlatform();
  }

  void Run(const std::string& script) {
    ScriptDriver driver(*screen, ParseScript(script), other, messages);
    MSG msg;
    while (GetMessage(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    }
    driver.Finish();
  }

  std::string Messages() {
    std::fflush(messages);
    return Contents(tree.root() / "stderr.txt");
  }

  test::TempTree tree;
  display::HeadlessDisplay* screen = nullptr;
  HWND window = nullptr;
  HWND button = nullptr;
  RECT other{1200, 100, 1500, 400};
  std::FILE* messages = nullptr;
};

TEST_F(DriverTest, ClicksAnswersTheBoxInItsOwnLoopAndSeesTheEnd) {
  Run("click-on Press me\nanswer-box\nwait-exit 1000\nscreenshot " + (tree.root() / "after.png").string() + "\n");
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(Messages(), "Pressed\n");
  EXPECT_TRUE(std::filesystem::exists(tree.root() / "after.png"));
}

TEST_F(DriverTest, ClickAtUsesClientCoordinatesOfTheClass) {
  Run("click-at TestWindow 40 50\nanswer-box\nwait-exit 10\n");
  EXPECT_EQ(Messages(), "Pressed\n");
}

TEST_F(DriverTest, WaitLetsEveryTimerTickFire) {
  SetTimer(window, 7, 100, nullptr);
  Run("wait 450\nclick-on Press me\nanswer-box\nwait-exit 0\n");
  EXPECT_EQ(ticksWhenPressed, 4);
}

TEST_F(DriverTest, FailuresEndTheRunNamingTheLine) {
  struct Case {
    const char* script;
    const char* said;
  } cases[] = {
      {"wait 10\nwait-exit 100\n", "script line 2: the program has not ended within 100 ms"},
      {"wait 10\n", "the script has ended and the program is still running"},
      {"answer-box\n", "script line 1: no message box is showing"},
      {"click-on Nothing like it\n", "no visible window with the text \"Nothing like it\""},
      {"click-at TNoSuchForm 1 1\n", "no visible window of class \"TNoSuchForm\""},
  };
  for (const Case& c : cases) {
    try {
      Run(c.script);
      ADD_FAILURE() << "ran: " << c.script;
    } catch (const ScriptFailure& f) {
      EXPECT_NE(f.message.find(c.said), std::string::npos) << f.message;
    }
    EXPECT_TRUE(IsWindow(window));
  }
}

TEST_F(DriverTest, InputAfterTheEndFails) {
  EXPECT_THROW(Run("click-on Press me\nanswer-box\nwait-exit 10\nclick 1 1\n"), ScriptFailure);
}

TEST_F(DriverTest, ClickOtherDeactivatesOurWindow) {
  screen->AddForeignWindow(other, MakePixel(0, 0, 200, 255), "editor");
  SetActiveWindow(window);
  ASSERT_EQ(GetActiveWindow(), window);
  EXPECT_THROW(Run("click-other\nwait 10\n"), ScriptFailure);
  EXPECT_EQ(GetActiveWindow(), nullptr);
}

TEST_F(DriverTest, DumpListsTheTreeWithStates) {
  SetActiveWindow(window);
  SetFocus(button);
  EnableWindow(button, FALSE);
  HWND hidden = CreateWindowEx(WS_EX_LAYERED, "TestWindow", "Say \"hi\"", WS_POPUP, 5, 6, 7, 8, nullptr, nullptr,
                               nullptr, nullptr);
  ASSERT_TRUE(hidden);
  const std::string dump = DumpWindowTree();
  EXPECT_NE(dump.find("TestWindow \"Driven\" 100,100,300,200 visible enabled active\n"
                      "  Button \"Press me\" "),
            std::string::npos)
      << dump;
  EXPECT_NE(dump.find("visible disabled"), std::string::npos) << dump;
  EXPECT_NE(dump.find("TestWindow \"Say \\\"hi\\\"\" 5,6,7,8 hidden enabled layered\n"), std::string::npos) << dump;
}

}  // namespace
}  // namespace velmora
