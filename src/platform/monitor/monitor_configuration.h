#pragma once
// The monitor-configuration functions: the physical monitors behind a display monitor handle and
// their brightness over DDC/CI. Every output of a monitor handle is one physical monitor, a
// built-in panel too (its channel simply refuses). Values are the monitor's own: no rescaling
// against the minimum and maximum it reports. Physical-monitor handles are checked, so a
// destroyed or made-up handle fails instead of doing harm. Why a monitor refuses goes to the
// problem listener (platform/base/problems.h). User-interface thread only.
#include <cstddef>
#include <optional>
#include <string>

#include "platform/base/types.h"

namespace plat {

inline constexpr std::size_t PHYSICAL_MONITOR_DESCRIPTION_SIZE = 128;

struct PHYSICAL_MONITOR {
  HANDLE hPhysicalMonitor;
  char16_t szPhysicalMonitorDescription[PHYSICAL_MONITOR_DESCRIPTION_SIZE];
};
using LPPHYSICAL_MONITOR = PHYSICAL_MONITOR*;

// Fails when no provider is registered or the provider cannot tell the outputs of monitor.
BOOL GetNumberOfPhysicalMonitorsFromHMONITOR(HMONITOR monitor, DWORD* count);
// count must be the number the call above reported; every record gets a fresh handle.
BOOL GetPhysicalMonitorsFromHMONITOR(HMONITOR monitor, DWORD count, PHYSICAL_MONITOR* monitors);
// VCP feature 0x10; the minimum is always 0, current and maximum are what the monitor replies.
BOOL GetMonitorBrightness(HANDLE monitor, DWORD* minimum, DWORD* current, DWORD* maximum);
// Reads the feature first unless this handle already did (some monitors ignore a set on a freshly
// opened bus), fails when the monitor does not answer, and writes only a changed value.
BOOL SetMonitorBrightness(HANDLE monitor, DWORD level);
BOOL DestroyPhysicalMonitor(HANDLE monitor);
// Destroys every record's handle; false if any of them was not a live handle.
BOOL DestroyPhysicalMonitors(DWORD count, PHYSICAL_MONITOR* monitors);

// ---- Our own additions ----

struct PhysicalMonitorChannel {
  std::string channel;  // "DDC/CI on /dev/i2c-5"; empty when unknown
  std::string problem;  // the last reason it refused, or why it has no channel
};
// nullopt for a handle that is not live.
std::optional<PhysicalMonitorChannel> DescribePhysicalMonitorChannel(HANDLE monitor);

}  // namespace plat
