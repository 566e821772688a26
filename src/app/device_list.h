#pragma once
// `--list`: every physical monitor of the primary display and every backlight device, with its
// route, where it is, its maximum and current value, and which of them the program would use.
// The first thing to run, and to quote, when the brightness cannot be set.
#include <ostream>

namespace velmora {

void ListBrightnessDevices(std::ostream& out);

}  // namespace velmora
