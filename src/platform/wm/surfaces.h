#pragma once
// The display surface behind a top-level window, for tools and tests that look at the screen.
#include "platform/display/display.h"
#include "platform/wm/wm.h"

namespace plat {

// kNoSurface for child windows and stale handles.
display::SurfaceId SurfaceOfWindow(HWND window);

}  // namespace plat
