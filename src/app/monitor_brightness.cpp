// The monitor route: the physical monitors of the primary display over their control channel.
#include <new>
#include <stdexcept>
#include <vector>

#include "app/brightness.h"
#include "platform/base/level_scale.h"
#include "platform/monitor/monitor_configuration.h"
#include "platform/wm/dialogs.h"
#include "platform/wm/wm.h"

namespace velmora {

namespace {

using namespace plat;

// The physical monitors of one operation, handed back when it ends.
class PrimaryMonitors {
 public:
  // Empty when the primary display has no monitor handle (the user is told), when the platform
  // cannot count its monitors, or when it cannot hand them out.
  PrimaryMonitors() {
    const HMONITOR display = MonitorFromWindow(nullptr, MONITOR_DEFAULTTOPRIMARY);
    if (!display) {
      MessageBox(nullptr, kNoDisplayMessage, nullptr, MB_OK);
      return;
    }
    DWORD count = 0;
    if (!GetNumberOfPhysicalMonitorsFromHMONITOR(display, &count) || count == 0) return;
    try {
      records_.resize(count);
    } catch (const std::bad_alloc&) {
      return;
    } catch (const std::length_error&) {
      return;
    }
    if (!GetPhysicalMonitorsFromHMONITOR(display, count, records_.data())) records_.clear();
  }
  PrimaryMonitors(const PrimaryMonitors&) = delete;
  PrimaryMonitors& operator=(const PrimaryMonitors&) = delete;
  ~PrimaryMonitors() {
    if (!records_.empty()) DestroyPhysicalMonitors(static_cast<DWORD>(records_.size()), records_.data());
  }

  const std::vector<PHYSICAL_MONITOR>& records() const { return records_; }

 private:
  std::vector<PHYSICAL_MONITOR> records_;
};

}  // namespace

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
