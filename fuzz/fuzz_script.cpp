// A driver script from a file: parsed or refused with a ScriptError, nothing else.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const auto commands = velmora::ParseScript(std::string_view(reinterpret_cast<const char*>(data), size));
    int line = 0;
    for (const auto& c : commands) {
      if (c.line <= line || c.ms > velmora::kMaxScriptWait) __builtin_trap();
      line = c.line;
    }
  } catch (const velmora::ScriptError&) {
  }
  return 0;
}
