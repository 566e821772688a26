#pragma once
// Inside the headless display: what it keeps of each surface and each foreign window.
#include "platform/display/headless/headless_display.h"

namespace plat::display {

struct HeadlessDisplay::Surface {
  RECT rect{};
  bool shown = false;
  bool topmost = false;
  bool inputTransparent = false;
  SurfaceRole role = SurfaceRole::Window;
  std::string title;
  std::optional<Region> shape;  // surface coordinates
  Blend blend;
  std::unique_ptr<Bitmap> picture = std::make_unique<Bitmap>(0, 0);  // what was last presented
};

struct HeadlessDisplay::Foreign {
  RECT rect{};
  Pixel color = 0;
  std::string title;
};

// Composes one surface over the screen within the screen rectangles given.
void ComposeSurface(Bitmap& screen, const Bitmap& picture, POINT at, const Blend& blend, const std::vector<RECT>& rects);

}  // namespace plat::display
