#pragma once
// Small text helpers shared by the command readers.
#include <string_view>

namespace velmora {

// ASCII letters compare without case, as the window manager's class names do.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

}  // namespace velmora
