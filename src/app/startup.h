#pragma once
// The program's start-up: the application object, the brightness window (the main window) and
// the hidden about window, then the message loop until the brightness window closes. Whatever
// escapes is shown in the application's exception box; the program still ends with 0.
// arguments: the command line after the program's name, which the skin engine's start-up reads
// ("/acver").
#include <span>
#include <string>

namespace velmora {

int StartUp(std::span<const std::string> arguments);

}  // namespace velmora
