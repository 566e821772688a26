#pragma once
// The program's options. Bad ones throw CommandLineError with a sentence for the user; the
// program then ends with status 2.
#include <optional>
#include <span>
#include <stdexcept>
#include <string>

namespace velmora {

inline constexpr const char* kVersionText = "Velmora Ver 1.0";

class CommandLineError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct CommandLine {
  bool headless = false;
  std::optional<std::string> simulate;
  std::optional<std::string> simulateLog;
  std::optional<std::string> script;
  std::optional<std::string> screenshot;
  std::optional<std::string> extractSkin;
  bool get = false;
  std::optional<int> set;
  bool list = false;
  bool help = false;
  bool version = false;
  // The skin engine's own switches, kept for it.
  bool acver = false;
  bool actest = false;
};

// The arguments after the program's name.
CommandLine ParseCommandLine(std::span<const std::string> arguments);
std::string UsageText();

}  // namespace velmora
