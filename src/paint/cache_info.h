#pragma once
// What lies behind a painted area: the parent's picture when it is ready, else its plain colour
// and the widths of its border bands. Passed by value; it never owns the picture it names.
#include "platform/base/geometry.h"
#include "platform/base/types.h"

namespace fw {
class TBitmap;
}

namespace velmora {

struct TCacheInfo {
  fw::TBitmap* Bmp = nullptr;            // the parent's picture, or none
  int X = 0;                             // origin of the painted area within Bmp
  int Y = 0;
  plat::COLORREF FillColor = 0x00FF00FF;  // the parent's plain colour; magenta: none
  plat::RECT FillRect{};                 // parent border band widths (left, top, right, bottom)
  bool Ready = false;                    // true: copy from Bmp; false: fill with FillColor
};

// The bitmap itself as its own background, with the given origin.
inline TCacheInfo SelfCacheInfo(fw::TBitmap& bitmap, int x, int y) {
  return TCacheInfo{&bitmap, x, y, 0x00FF00FF, plat::RECT{}, true};
}

}  // namespace velmora
