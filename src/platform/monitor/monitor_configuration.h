#pragma once
// The monitor-configuration functions: the physical monitors behind a display monitor handle and
// their brightness over DDC/CI. Every output of a monitor handle is one physical monitor, a
// built-in panel too (its channel simply refuses). Levels pass through unchanged: no rescaling
// against the minimum and maximum a monitor reports. Physical-monitor handles are checked, so a
// destroyed or made-up handle fails instead of doing harm. User-interface thread only.
#include <cstddef>

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
BOOL SetMonitorBrightness(HANDLE monitor, DWORD level);
BOOL DestroyPhysicalMonitor(HANDLE monitor);
// Destroys every record's handle; false if any of them was not a live handle.
BOOL DestroyPhysicalMonitors(DWORD count, PHYSICAL_MONITOR* monitors);

}  // namespace plat
