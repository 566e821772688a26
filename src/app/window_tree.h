#pragma once
// Our windows, top-level ones in stacking order (top first), each followed by its children.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/wm/wm.h"

namespace velmora {

std::vector<plat::HWND> AllWindows();
// Class names ignore case, as the window manager's do. Null when there is none.
plat::HWND FindVisibleWindowOfClass(const std::string& className);
plat::HWND FindVisibleWindowWithText(const std::string& text);
// Presses the default button of the message box that is showing and answers its text; nothing
// when none is showing. The press takes effect when the box's loop runs again.
std::optional<std::string> AnswerShownMessageBox();
// One window a line, children indented by two spaces: class, "text", x,y,w,h on the screen,
// visible|hidden, enabled|disabled, then active, focus, layered where they apply.
std::string DumpWindowTree();

}  // namespace velmora
