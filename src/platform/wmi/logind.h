#pragma once
// Setting a kernel device's brightness through systemd-logind, which may do it for the user of
// the session even where the sysfs file belongs to root.
#include <chrono>
#include <cstdint>
#include <string>

namespace plat {

inline constexpr std::chrono::seconds kLogindCallTimeout{2};

// Calls SetBrightness(subsystem, name, value) on the caller's session over the system bus.
// Throws Error with the bus's reason when there is no bus, no session, or the call is refused.
void LogindSetBrightness(const std::string& subsystem, const std::string& name, std::uint32_t value);

}  // namespace plat
