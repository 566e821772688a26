#pragma once
// Finding the DRM connector behind a display-server output, and its DDC/CI i2c bus, in sysfs.
// The display server's names differ from the kernel's ("HDMI-1" or "HDMI1" for "HDMI-A-1",
// "DisplayPort-0" for "DP-1"), so an output is matched by name, by connector type and index,
// and by its EDID, which also wins over a name that points at another monitor.
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
};

struct DrmConnector {
  std::string name;           // the kernel's: "DP-1", "HDMI-A-1", "eDP-1"
  std::filesystem::path dir;  // <sysfs>/class/drm/card0-DP-1
  std::optional<int> i2cBus;  // its "ddc" link, else an i2c-N folder inside it
  std::vector<std::uint8_t> edid;
  bool connected = false;
};

// Built-in panels (eDP, LVDS, DSI) have no DDC/CI channel and are never probed.
bool IsBuiltInConnector(std::string_view name);

// All connectors of all cards under sysfsRoot ("/sys" on a real machine), in name order.
// Unreadable parts of a connector leave the matching fields empty.
std::vector<DrmConnector> ListDrmConnectors(const std::filesystem::path& sysfsRoot);

std::optional<DrmConnector> FindDrmConnector(const std::vector<DrmConnector>& connectors, const OutputIdentity& output);

}  // namespace plat
