#pragma once
// Optional platform functions, looked up by name once at start-up. A library or function the
// platform lacks leaves its binding empty and the painting that needs it does without.
#include "platform/gdi/gdi.h"
#include "platform/wm/wm.h"

namespace velmora {

// Looks the functions up (again, when called again); the first use binds them too.
void BindPlatformFunctions();
// Forgets the bindings and releases the libraries.
void ReleasePlatformFunctions();

// The triangle and rectangle gradient fill, or nullptr.
plat::GradientFillProc GradientFillFunction();
// True when the layered-window update function was found.
bool LayeredApiAvailable();
plat::UpdateLayeredWindowProc UpdateLayeredWindowFunction();
plat::SetLayeredWindowAttributesProc SetLayeredWindowAttributesFunction();

}  // namespace velmora
