#pragma once
// The program's run from its command line, as far as it needs no windows of its own yet:
// --help, --version, --get and --set on the chosen machine, a script driving a headless run.
// Exit status: 0 done, 1 --get could not read a level, 2 bad input, 4 the script failed.
#include <iosfwd>
#include <span>
#include <string>

namespace velmora {

int RunVelmora(std::span<const std::string> arguments, std::ostream& out, std::ostream& err);

}  // namespace velmora
