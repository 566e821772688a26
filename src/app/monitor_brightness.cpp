// The monitor route: the physical monitors of the primary display over their control channel.
#include "app/brightness.h"
#include "app/primary_monitors.h"
#include "platform/base/level_scale.h"
#include "platform/monitor/monitor_configuration.h"

namespace velmora {

using namespace plat;

namespace {

// A monitor with another range than 0 to 100 gets the level scaled to it. The read first also
// tells a monitor that answers nothing sensible, which then refuses.
bool SetMonitorLevel(HANDLE monitor, int level) {
  DWORD minimum = 0, current = 0, maximum = 0;
  if (!GetMonitorBrightness(monitor, &minimum, &current, &maximum) || maximum == 0) return false;
  return SetMonitorBrightness(monitor, RangeOfPercent(level, maximum));
}

}  // namespace

void SetBrightness(int level, bool* applied) {
  bool any = false;
  const PrimaryMonitors monitors;
  for (const PHYSICAL_MONITOR& m : monitors.records()) {
    bool written = false;
    if (SetMonitorLevel(m.hPhysicalMonitor, level)) {
      written = true;
    } else {
      SetWmiBrightness(level, &written);
    }
    any = any || written;
  }
  if (applied) *applied = any;
}

int GetBrightness() {
  const PrimaryMonitors monitors;
  for (const PHYSICAL_MONITOR& m : monitors.records()) {
    DWORD minimum = 0, current = 0, maximum = 0;
    if (GetMonitorBrightness(m.hPhysicalMonitor, &minimum, &current, &maximum) && maximum > 0)
      return PercentOfRange(current, maximum);
  }
  return -1;
}

}  // namespace velmora
