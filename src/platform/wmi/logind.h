#pragma once
// Setting a kernel device's brightness through systemd-logind, which may do it for the user of
// the session even where the sysfs file belongs to root.
#include <chrono>
#include <cstdint>
#include <string>

namespace plat {

// One deadline over the whole exchange: connecting, authenticating, greeting the bus and the
// call itself. A bus that accepts and never answers must not freeze the program.
inline constexpr std::chrono::milliseconds kLogindDeadline{2000};

struct LogindBus {
  std::string address;  // empty: $DBUS_SYSTEM_BUS_ADDRESS, else the system bus's usual socket
  std::chrono::milliseconds deadline = kLogindDeadline;
};

// Calls SetBrightness(subsystem, name, value) on the caller's session over the system bus.
// Throws Error with the bus's reason when there is no bus, no session, the call is refused
// ("not in foreground", "no seat") or nothing answers before the deadline.
void LogindSetBrightness(const std::string& subsystem, const std::string& name, std::uint32_t value,
                         const LogindBus& bus = {});

}  // namespace plat
