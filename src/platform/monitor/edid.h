#pragma once
// The few facts read from a monitor's EDID.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace plat {

// The "display product name" descriptor of the base block; nullopt when the block is not a valid
// EDID (header, checksum) or carries no name.
std::optional<std::string> EdidMonitorName(std::span<const std::uint8_t> edid);

}  // namespace plat
