#include "app/command_line.h"

#include <charconv>

namespace velmora {

namespace {

int ParseLevel(const std::string& text) {
  int level = -1;
  const char* end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, level);
  if (text.empty() || error != std::errc() || at != end || level < 0 || level > 100)
    throw CommandLineError("--set: the level must be a whole number from 0 to 100, not \"" + text + "\"");
  return level;
}

}  // namespace

CommandLine ParseCommandLine(std::span<const std::string> arguments) {
  CommandLine line;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= arguments.size()) throw CommandLineError(option + " needs a value");
      return arguments[++i];
    };
    auto once = [&](auto& field, auto v) {
      if (field) throw CommandLineError(option + " is given twice");
      field = v;
    };
    if (option == "--headless") once(line.headless, true);
    else if (option == "--simulate") once(line.simulate, value());
    else if (option == "--simulate-log") once(line.simulateLog, value());
    else if (option == "--script") once(line.script, value());
    else if (option == "--screenshot") once(line.screenshot, value());
    else if (option == "--extract-skin") once(line.extractSkin, value());
    else if (option == "--get") once(line.get, true);
    else if (option == "--set") once(line.set, ParseLevel(value()));
    else if (option == "--list") once(line.list, true);
    else if (option == "--help") once(line.help, true);
    else if (option == "--version") once(line.version, true);
    else if (option == "/acver") once(line.acver, true);
    else if (option == "/actest") once(line.actest, true);
    else throw CommandLineError("unknown option \"" + option + "\" (see --help)");
  }
  if (int(line.get) + int(line.set.has_value()) + int(line.list) > 1)
    throw CommandLineError("--get, --set and --list cannot be used together");
  if (line.simulateLog && !line.simulate) throw CommandLineError("--simulate-log needs --simulate");
  return line;
}

std::string UsageText() {
  return "Usage: velmora [options]\n"
         "Shows and sets the brightness of the primary display.\n"
         "\n"
         "  --get                print the current brightness and end (status 1 when it cannot be read)\n"
         "  --set LEVEL          set the brightness to LEVEL (0 to 100) and end (status 1 when nothing took it)\n"
         "  --list               list the monitors and backlight devices, and which ones are used, and end\n"
         "  --headless           run on the in-memory display even where an X server is available\n"
         "  --simulate FILE      use the simulated machine described in FILE\n"
         "  --simulate-log FILE  record the simulated machine's brightness writes in FILE\n"
         "  --script FILE        drive the program headless with the commands in FILE\n"
         "  --screenshot FILE    save the headless screen as PNG when the program ends\n"
         "  --extract-skin DIR   write the built-in skin's archive into DIR as \"skin extracted.asz\"\n"
         "  --help               show this text\n"
         "  --version            show the version\n"
         "\n"
         "Without a display's own user (a headless run), a message box that shows is answered at once\n"
         "with its default button and its text goes to standard error. --get and --set name on standard\n"
         "error why a monitor or backlight could not be used.\n";
}

}  // namespace velmora
