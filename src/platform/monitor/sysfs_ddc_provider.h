#pragma once
// The physical monitors of a display monitor on a real desktop: for each of its outputs, the
// DRM connector's i2c bus as /dev/i2c-N. The window manager's provider hands over the outputs
// the display server reports for a monitor handle.
#include <filesystem>
#include <vector>

#include "platform/monitor/drm_connectors.h"
#include "platform/monitor/physical_monitor_provider.h"

namespace plat {

struct SysfsPaths {
  std::filesystem::path sysfs = "/sys";
  std::filesystem::path dev = "/dev";
};

// One source per output, in order. The description is the EDID's product name, else the
// output's name. Outputs without a connector or bus, and built-in panels, get a refusing channel;
// the source's problem says why, except for panels. Opening a channel throws Error saying why it
// cannot be used (permission, lock).
std::vector<PhysicalMonitorSource> DdcSourcesForOutputs(const std::vector<OutputIdentity>& outputs,
                                                        const SysfsPaths& paths = {});

}  // namespace plat
