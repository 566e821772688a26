// The X11 display under an Xvfb of each test's own: the demonstration scene as the headless
// display shows it, activation against another program, clicks through shapes and click-through
// windows, layered windows with and without a compositing manager, what the window manager is
// told, keys, the screen's geometry, waiting.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "demo_scene.h"
#include "platform/display/headless/headless_display.h"
#include "platform/display/x11/x11_display.h"
#include "platform/wm/surfaces.h"
#include "platform/wm/wm.h"
#include "tests/platform/display/x11/x_session.h"

namespace plat::test {
namespace {

struct Seen {
  HWND hwnd;
  UINT msg;
  WPARAM wp;
};
std::vector<Seen> seen;

LRESULT Recording(HWND h, UINT m, WPARAM w, LPARAM l) {
  seen.push_back({h, m, w});
  return DefWindowProc(h, m, w, l);
}

bool Saw(HWND h, UINT msg, std::optional<WPARAM> wp = std::nullopt) {
  for (const Seen& s : seen)
    if (s.hwnd == h && s.msg == msg && (!wp || s.wp == *wp)) return true;
  return false;
}

class X11Test : public ::testing::Test {
 protected:
  void SetUp() override {
    session = std::make_unique<XSession>();
    if (!session->Ok()) GTEST_SKIP() << "no X server for the X11 tests: " << session->Why();
    seen.clear();
  }
  void TearDown() override {
    ShutdownPlatform();
    session.reset();
  }

  std::unique_ptr<display::X11Display> Open(bool sharedMemory = true) {
    std::string error;
    auto d = display::X11Display::Open({session->Name(), sharedMemory}, &error);
    EXPECT_TRUE(d) << error;
    return d;
  }
  // Opens the display and starts the platform over it, with a recording window class.
  display::X11Display* Start(bool sharedMemory = true) {
    auto d = Open(sharedMemory);
    display::X11Display* raw = d.get();
    if (d) Begin(std::move(d));
    return raw;
  }
  static void Begin(std::unique_ptr<display::Display> d) {
    InitPlatform(std::move(d));
    WNDCLASS wc;
    wc.lpfnWndProc = &Recording;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(RGB(255, 255, 255));
    wc.lpszClassName = "Rec";
    RegisterClass(&wc);
  }
  static HWND Popup(RECT r, DWORD exStyle = 0, const char* title = "popup") {
    return CreateWindowEx(exStyle, "Rec", title, WS_POPUP | WS_VISIBLE, r.left, r.top, RectWidth(r), RectHeight(r),
                          nullptr, nullptr, nullptr, nullptr);
  }
  // Runs the message loop on the real clock until ready() holds, for a few seconds at most.
  template <typename Ready>
  static bool RunUntil(Ready ready, int ms = 5000) {
    auto* d = CurrentDisplay();
    const std::uint64_t end = d->GetClock().Now() + static_cast<std::uint64_t>(ms);
    for (;;) {
      MSG m;
      while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessage(&m);
      }
      if (ready()) return true;
      const std::uint64_t now = d->GetClock().Now();
      if (now >= end) return false;
      d->WaitForEvents(std::min(end, now + 20));
    }
  }
  static bool Mapped(display::X11Display* x, HWND w) { return x->IsMapped(SurfaceOfWindow(w)); }

  std::unique_ptr<XSession> session;
};

// ---- the scene, pixel for pixel ----

struct SceneCase {
  const char* name;
  bool compositor;
  bool sharedMemory;
};

class X11SceneTest : public X11Test, public ::testing::WithParamInterface<SceneCase> {};

TEST_P(X11SceneTest, LooksAsOnTheHeadlessScreen) {
  const SceneCase c = GetParam();
  if (c.compositor) {
    ASSERT_TRUE(session->StartCompositor());
  }
  auto x11 = Open(c.sharedMemory);
  ASSERT_TRUE(x11);
  EXPECT_EQ(x11->LayeredSupported(), c.compositor);
  EXPECT_EQ(x11->UsesSharedMemory(), c.sharedMemory);
  const RECT area = Intersection(demo::SceneArea(), MakeRect(0, 0, 1280, 800));
  display::X11Display* x = x11.get();
  const bool layered = x11->LayeredSupported();
  InitPlatform(std::move(x11));
  demo::Scene scene;
  ASSERT_TRUE(demo::MakeScene(scene));
  RECT framed, panel;
  GetWindowRect(scene.framed, &framed);
  GetWindowRect(scene.panel, &panel);
  ASSERT_TRUE(RunUntil([&] { return Mapped(x, scene.framed) && (!c.compositor || Mapped(x, scene.panel)); }));
  // The screen as it stays once the compositing manager has drawn everything.
  Bitmap shot(RectWidth(area), RectHeight(area));
  Bitmap again(RectWidth(area), RectHeight(area));
  auto equal = [](const Bitmap& a, const Bitmap& b) {
    return std::memcmp(a.Bits(), b.Bits(), a.Stride() * static_cast<std::size_t>(a.Height())) == 0;
  };
  x->ReadScreen(area, shot);
  ASSERT_TRUE(RunUntil([&] {
    x->ReadScreen(area, again);
    const bool stable = equal(shot, again) && shot.Row(1)[1] == again.Row(1)[1];
    std::memcpy(shot.Bits(), again.Bits(), shot.Stride() * static_cast<std::size_t>(shot.Height()));
    return stable;
  }));
  ShutdownPlatform();

  // The same scene on a headless screen with the X screen's empty desktop.
  display::HeadlessDisplay::Options options;
  options.width = 1280;
  options.height = 800;
  options.taskBarHeight = 0;
  options.layered = layered;
  options.desktop = shot.Row(1)[1];
  auto headless = std::make_unique<display::HeadlessDisplay>(options);
  display::HeadlessDisplay* screen = headless.get();
  InitPlatform(std::move(headless));
  ASSERT_TRUE(demo::MakeScene(scene));
  Bitmap expected(RectWidth(area), RectHeight(area));
  screen->ReadScreen(area, expected);

  int wrong = 0;
  POINT first{};
  Pixel got = 0, want = 0;
  for (int y = 0; y < shot.Height(); ++y)
    for (int x0 = 0; x0 < shot.Width(); ++x0) {
      const POINT p{area.left + x0, area.top + y};
      if (!Contains(framed, p) && !(c.compositor && Contains(panel, p))) continue;
      if (shot.Row(y)[x0] != expected.Row(y)[x0] && wrong++ == 0) {
        first = p;
        got = shot.Row(y)[x0];
        want = expected.Row(y)[x0];
      }
    }
  EXPECT_EQ(wrong, 0) << "the first at " << first.x << "," << first.y << ": " << std::hex << got << " for " << want;
}

INSTANTIATE_TEST_SUITE_P(Displays, X11SceneTest,
                         ::testing::Values(SceneCase{"SharedMemoryComposited", true, true},
                                           SceneCase{"PutImageComposited", true, false},
                                           SceneCase{"SharedMemoryAlone", false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- activation and the pointer ----

TEST_F(X11Test, ClickingAnotherProgramDeactivatesOursAndClickingBackActivates) {
  ASSERT_TRUE(session->StartWindowManager());
  RECT other{};
  ASSERT_TRUE(session->StartOtherProgram("another program", &other));
  display::X11Display* x = Start();
  ASSERT_TRUE(x->WindowManagerRunning());
  HWND ours = Popup(MakeRect(100, 100, 300, 200));
  SetForegroundWindow(ours);
  ASSERT_TRUE(RunUntil([&] { return x->Focused() == SurfaceOfWindow(ours); }));
  EXPECT_EQ(GetActiveWindow(), ours);

  session->Click({other.left + 10, other.top + 10});
  ASSERT_TRUE(RunUntil([&] { return GetActiveWindow() == nullptr; }));
  EXPECT_TRUE(Saw(ours, WM_ACTIVATEAPP, FALSE));

  seen.clear();
  session->Click({200, 200});
  EXPECT_TRUE(RunUntil([&] {
    return GetActiveWindow() == ours && x->Focused() == SurfaceOfWindow(ours) && Saw(ours, WM_LBUTTONDOWN);
  }));
  EXPECT_TRUE(Saw(ours, WM_ACTIVATEAPP, TRUE));
}

TEST_F(X11Test, ClicksOnAShapedOutCornerOrAClickThroughWindowReachTheWindowBelow) {
  display::X11Display* x = Start();
  HWND below = Popup(MakeRect(100, 100, 500, 400), 0, "below");
  HWND shaped = Popup(MakeRect(100, 100, 200, 150), 0, "shaped");
  SetWindowRgn(shaped, CreateRectRgn(40, 40, 200, 150), TRUE);
  HWND through = Popup(MakeRect(350, 300, 150, 100), WS_EX_TRANSPARENT, "through");
  ASSERT_TRUE(RunUntil([&] { return Mapped(x, below) && Mapped(x, shaped) && Mapped(x, through); }));
  struct Case {
    POINT at;
    HWND expected;
  };
  // A click activates, and so raises, the window it reaches: the one above goes first.
  const Case cases[] = {{{200, 200}, shaped}, {{110, 110}, below}, {{400, 350}, below}};
  for (const Case& k : cases) {
    seen.clear();
    session->Click(k.at);
    EXPECT_TRUE(RunUntil([&] { return Saw(k.expected, WM_LBUTTONUP); })) << k.at.x << "," << k.at.y;
    EXPECT_FALSE(Saw(k.expected == below ? shaped : below, WM_LBUTTONDOWN)) << k.at.x << "," << k.at.y;
    EXPECT_FALSE(Saw(through, WM_LBUTTONDOWN));
  }
}

// ---- layered windows and the compositing manager ----

TEST_F(X11Test, LayeredWindowsNeedACompositingManagerAtStartAndItsGoingIsTold) {
  {
    auto alone = Open();
    ASSERT_TRUE(alone);
    EXPECT_FALSE(alone->LayeredSupported());
    Begin(std::move(alone));
    EXPECT_EQ(GetProcAddress(GetModuleHandle("user32.dll"), "UpdateLayeredWindow"), nullptr);
    ShutdownPlatform();
  }
  ASSERT_TRUE(session->StartCompositor());
  display::X11Display* x = Start();
  EXPECT_TRUE(x->LayeredSupported());
  EXPECT_NE(GetProcAddress(GetModuleHandle("user32.dll"), "UpdateLayeredWindow"), nullptr);
  HWND w = Popup(MakeRect(50, 50, 100, 100));
  session->StopCompositor();
  EXPECT_TRUE(RunUntil([&] { return !x->Compositing() && Saw(w, WM_DWMCOMPOSITIONCHANGED); }));
  EXPECT_TRUE(x->LayeredSupported());  // the program bound its functions for good
}

// ---- what the window manager is told ----

TEST_F(X11Test, WindowsAreUndecoratedTitledAndOverlaysStayOutOfTheWindowManager) {
  display::X11Display* x = Start();
  HWND normal = Popup(MakeRect(10, 10, 100, 100), 0, "Helligkeit 50 \xc2\xb7 \xe2\x98\x80");
  HWND overlay = Popup(MakeRect(10, 10, 100, 100), WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "shadow");
  ASSERT_TRUE(RunUntil([&] { return Mapped(x, normal) && Mapped(x, overlay); }));
  const auto win = x->WindowOf(SurfaceOfWindow(normal));
  EXPECT_EQ(session->Property(win, "_NET_WM_NAME"), "Helligkeit 50 \xc2\xb7 \xe2\x98\x80");
  EXPECT_EQ(session->Property(win, "WM_NAME"), "Helligkeit 50 \xb7 ?");
  EXPECT_EQ(session->Property(win, "WM_CLASS"), std::string("velmora\0velmora\0", 16));
  const std::string motif = session->Property(win, "_MOTIF_WM_HINTS");
  ASSERT_EQ(motif.size(), 5 * sizeof(long));
  EXPECT_EQ(reinterpret_cast<const long*>(motif.data())[0], 2);  // decorations given:
  EXPECT_EQ(reinterpret_cast<const long*>(motif.data())[2], 0);  // none
  EXPECT_FALSE(session->OverrideRedirect(win));
  EXPECT_TRUE(session->OverrideRedirect(x->WindowOf(SurfaceOfWindow(overlay))));

  session->SendDelete(win);
  EXPECT_TRUE(RunUntil([&] { return !IsWindow(normal); }));
  EXPECT_TRUE(Saw(normal, WM_SYSCOMMAND, SC_CLOSE));
}

TEST_F(X11Test, KeysBecomeVirtualKeysAndCharacters) {
  display::X11Display* x = Start();
  HWND w = Popup(MakeRect(10, 10, 100, 100));
  SetForegroundWindow(w);
  ASSERT_TRUE(RunUntil([&] { return x->Focused() == SurfaceOfWindow(w); }));
  struct Case {
    unsigned long keysym;
    bool shift;
    UINT vk;
    WPARAM character;  // 0: none
  };
  const Case cases[] = {
      {XK_a, true, 'A', 'A'}, {XK_a, false, 'A', 'a'}, {XK_5, false, '5', '5'}, {XK_Left, false, VK_LEFT, 0},
      {XK_Return, false, VK_RETURN, '\r'}, {XK_F10, false, VK_F10, 0},
  };
  for (const Case& k : cases) {
    seen.clear();
    session->Key(k.keysym, k.shift);
    EXPECT_TRUE(RunUntil([&] { return Saw(w, k.vk == VK_F10 ? WM_SYSKEYUP : WM_KEYUP, k.vk); })) << k.keysym;
    EXPECT_EQ(Saw(w, WM_CHAR, k.character), k.character != 0) << k.keysym;
  }
  EXPECT_FALSE(GetKeyState(VK_SHIFT) & 0x8000);
}

// ---- the screen ----

TEST_F(X11Test, MonitorsWorkAreaAndDotsPerInchComeFromTheServer) {
  session->SetRootString("RESOURCE_MANAGER", "Xft.dpi:\t120\nXft.antialias:\t1\n");
  session->SetRootCardinals("_NET_WORKAREA", {0, 0, 1280, 770});
  display::X11Display* x = Start();
  EXPECT_EQ(x->DotsPerInch(), 120);
  auto monitors = x->Monitors();
  ASSERT_EQ(monitors.size(), 1u);
  EXPECT_TRUE(monitors[0].primary);
  EXPECT_FALSE(monitors[0].name.empty());
  EXPECT_EQ(monitors[0].bounds, MakeRect(0, 0, 1280, 800));
  EXPECT_EQ(monitors[0].work, MakeRect(0, 0, 1280, 770));
  session->SetRootCardinals("_NET_WORKAREA", {0, 30, 1280, 770});
  EXPECT_TRUE(RunUntil([&] { return x->Monitors()[0].work == MakeRect(0, 30, 1280, 770); }, 2000));
}

TEST_F(X11Test, WaitingEndsAtTheDeadlineOrWhenTheServerSpeaks) {
  auto x = Open();
  ASSERT_TRUE(x);
  Clock& clock = x->GetClock();
  std::uint64_t start = clock.Now();
  x->WaitForEvents(start + 60);
  EXPECT_GE(clock.Now(), start + 60);
  // A change on root wakes the wait long before its deadline.
  std::thread speaker([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    session->SetRootCardinals("_NET_WORKAREA", {0, 0, 1280, 700});
  });
  start = clock.Now();
  x->WaitForEvents(start + 20000);
  speaker.join();
  EXPECT_LT(clock.Now(), start + 10000);
}

TEST(X11OpenTest, ADisplayThatCannotBeOpenedIsExplained) {
  EXPECT_NE(display::ProbeX11Display(":987").find("\":987\""), std::string::npos);
  std::string error;
  EXPECT_EQ(display::OpenX11Display(&error, {":987", true}), nullptr);
  EXPECT_NE(error.find("X server"), std::string::npos);
}

}  // namespace
}  // namespace plat::test
