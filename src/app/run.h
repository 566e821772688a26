#pragma once
// The program's run from its command line: the brightness window on the chosen machine, or
// --help, --version, --get and --set; a script drives a headless run.
// Exit status: 0 done, 1 --get could not read a level, 2 bad input, 4 the script failed.
#include <iosfwd>
#include <span>
#include <string>

namespace velmora {

int RunVelmora(std::span<const std::string> arguments, std::ostream& out, std::ostream& err);

}  // namespace velmora
