// The demonstration scene (demo_scene.h) on the headless screen, next to a window of another
// program. Writes the composed screen as a PNG.
//   wm_demo [out.png]
#include <cstdio>

#include "demo_scene.h"
#include "platform/display/headless/headless_display.h"

int main(int argc, char** argv) {
  using namespace plat;
  const char* out = argc > 1 ? argv[1] : "wm-demo.png";
  auto owned = std::make_unique<display::HeadlessDisplay>();
  display::HeadlessDisplay* screen = owned.get();
  InitPlatform(std::move(owned));
  screen->AddForeignWindow(MakeRect(760, 120, 560, 420), MakePixel(0x6B, 0x8E, 0x5A, 255), "another program");
  demo::Scene scene;
  if (!demo::MakeScene(scene)) {
    std::fprintf(stderr, "wm_demo: the platform refused the scene\n");
    return 1;
  }
  const RECT area = demo::SceneArea();
  screen->SaveScreenPng(out, &area);
  std::printf("wrote %s\n", out);
  ShutdownPlatform();
  return 0;
}
