#pragma once
// The demonstration scene, shown by the demo tools on any display and compared between displays
// by the tests: a captioned window with a child button, and a layered panel whose
// premultiplied picture carries a soft shadow, overlapping it.
#include "platform/wm/wm.h"

namespace plat::demo {

struct Scene {
  HWND framed = nullptr;
  HWND button = nullptr;
  HWND panel = nullptr;
};

// Registers the classes (once per platform start) and shows the scene; the panel is empty when
// the display shows no layered windows. Answers false if the platform refused a part of it.
bool MakeScene(Scene& scene);

// The part of the screen the scene covers.
RECT SceneArea();

}  // namespace plat::demo
