// The demonstration scene (demo_scene.h) on the X display of $DISPLAY. With a file name it
// waits until the scene is on the screen, saves the screen's part of it as a PNG and ends;
// without one it runs until the captioned window is closed.
//   x11_demo [out.png]
#include <cstdio>

#include "demo_scene.h"
#include "platform/display/x11/x11_display.h"
#include "platform/gdi/image_codecs.h"

namespace {

using namespace plat;

// Takes and dispatches messages for a while (on the real clock).
void Run(display::X11Display& x11, std::uint64_t ms) {
  const std::uint64_t end = x11.GetClock().Now() + ms;
  MSG m;
  while (x11.GetClock().Now() < end) {
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessage(&m);
    }
    x11.WaitForEvents(end);
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  auto owned = display::X11Display::Open({}, &error);
  if (!owned) {
    std::fprintf(stderr, "x11_demo: %s\n", error.c_str());
    return 2;
  }
  display::X11Display& x11 = *owned;
  std::printf("layered windows %s; %d dots per inch; pictures by %s\n", x11.LayeredSupported() ? "shown" : "unavailable",
              x11.DotsPerInch(), x11.UsesSharedMemory() ? "shared memory" : "XPutImage");
  InitPlatform(std::move(owned));
  demo::Scene scene;
  if (!demo::MakeScene(scene)) {
    std::fprintf(stderr, "x11_demo: the platform refused the scene\n");
    return 1;
  }
  if (argc > 1) {
    Run(x11, 700);  // mapping, the window manager and the compositing manager have their turn
    const RECT area = Intersection(demo::SceneArea(), x11.Monitors().front().bounds);
    Bitmap shot(RectWidth(area), RectHeight(area));
    x11.ReadScreen(area, shot);
    WriteFileBytes(argv[1], WritePng(shot));
    std::printf("wrote %s\n", argv[1]);
  } else {
    MSG m;
    while (IsWindow(scene.framed) && GetMessage(&m, nullptr, 0, 0) > 0) {
      TranslateMessage(&m);
      DispatchMessage(&m);
    }
  }
  ShutdownPlatform();
  return 0;
}
