#include "app/primary_monitors.h"

#include <new>
#include <stdexcept>

#include "app/brightness.h"
#include "platform/wm/dialogs.h"
#include "platform/wm/wm.h"

namespace velmora {

using namespace plat;

PrimaryMonitors::PrimaryMonitors(bool tellUser) {
  const HMONITOR display = MonitorFromWindow(nullptr, MONITOR_DEFAULTTOPRIMARY);
  if (!display) {
    if (tellUser) MessageBox(nullptr, kNoDisplayMessage, nullptr, MB_OK);
    return;
  }
  displayFound_ = true;
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

PrimaryMonitors::~PrimaryMonitors() {
  if (!records_.empty()) DestroyPhysicalMonitors(static_cast<DWORD>(records_.size()), records_.data());
}

}  // namespace velmora
