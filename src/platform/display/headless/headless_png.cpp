// Screenshots of the headless screen.
#include <algorithm>

#include "platform/display/headless/headless_display.h"
#include "platform/gdi/image_codecs.h"

namespace plat::display {

void HeadlessDisplay::SaveScreenPng(const std::string& path, const RECT* area) {
  const RECT r = area ? *area : screen_.Bounds();
  Bitmap crop(std::max(0, RectWidth(r)), std::max(0, RectHeight(r)));
  ReadScreen(r, crop);
  WriteFileBytes(path, WritePng(crop));
}

}  // namespace plat::display
