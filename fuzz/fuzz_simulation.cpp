// A simulation description from a file: parsed or refused with an Error, nothing else.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/base/error.h"
#include "platform/simulation/simulation_config.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const plat::SimulationConfig c = plat::ParseSimulation(std::string_view(reinterpret_cast<const char*>(data), size));
    if (c.monitors.size() > plat::kMaxSimulatedMonitors || c.backlights.size() > plat::kMaxSimulatedBacklights)
      __builtin_trap();
    // A brightness above the maximum is allowed: real drivers report it.
    for (const auto& b : c.backlights)
      if (b.maximum == 0) __builtin_trap();
  } catch (const plat::Error&) {
  }
  return 0;
}
