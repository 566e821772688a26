#pragma once
// Finding the DRM connector behind a display-server output, and its DDC/CI i2c bus, in sysfs.
// Writing the wrong monitor is worse than writing none, so an output is matched by the kernel's
// connector number when the server reports it, then by the EDID's base block, and by name last
// (the server's names differ from the kernel's: "HDMI-1" or "HDMI1" for "HDMI-A-1",
// "DisplayPort-0" for "DP-1"); where no single connector fits, there is no match.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

struct OutputIdentity {
  std::string name;                // as the display server reports it
  std::vector<std::uint8_t> edid;  // empty when unknown
  std::optional<std::uint32_t> connectorId;  // the output's CONNECTOR_ID property, when it has one
};

struct DrmConnector {
  std::string name;           // the kernel's: "DP-1", "HDMI-A-1", "eDP-1"
  std::filesystem::path dir;  // <sysfs>/class/drm/card0-DP-1
  // DisplayPort: the AUX channel's i2c-N folder inside it, else its "ddc" link; others the other
  // way round.
  std::optional<int> i2cBus;
  std::optional<std::uint32_t> connectorId;  // its "connector_id" file
  std::vector<std::uint8_t> edid;
  bool connected = false;
};

// Built-in panels (eDP, LVDS, DSI) have no DDC/CI channel and are never probed.
bool IsBuiltInConnector(std::string_view name);

// All connectors of all cards under sysfsRoot ("/sys" on a real machine), in name order.
// Unreadable parts of a connector leave the matching fields empty.
std::vector<DrmConnector> ListDrmConnectors(const std::filesystem::path& sysfsRoot);

// nullopt when no connector fits with certainty; why (when given) then says so.
std::optional<DrmConnector> FindDrmConnector(const std::vector<DrmConnector>& connectors, const OutputIdentity& output,
                                             std::string* why = nullptr);

}  // namespace plat
