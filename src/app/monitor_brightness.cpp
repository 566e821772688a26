// The monitor route: the physical monitors of the primary display over their control channel.
#include <new>
#include <stdexcept>
#include <vector>

#include "app/brightness.h"
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

void SetBrightness(int level) {
  const PrimaryMonitors monitors;
  for (const PHYSICAL_MONITOR& m : monitors.records())
    if (!SetMonitorBrightness(m.hPhysicalMonitor, static_cast<DWORD>(level))) SetWmiBrightness(level);
}

int GetBrightness() {
  const PrimaryMonitors monitors;
  for (const PHYSICAL_MONITOR& m : monitors.records()) {
    DWORD minimum = 0, current = 0, maximum = 0;
    if (GetMonitorBrightness(m.hPhysicalMonitor, &minimum, &current, &maximum)) return static_cast<int>(current);
  }
  return -1;
}

}  // namespace velmora
