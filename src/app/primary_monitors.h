#pragma once
// The physical monitors of the primary display for one operation, handed back when it ends.
#include <vector>

#include "platform/monitor/monitor_configuration.h"

namespace velmora {

class PrimaryMonitors {
 public:
  // Empty when the primary display has no monitor handle (the user is told in a message box
  // when tellUser), when the platform cannot count its monitors, or cannot hand them out.
  explicit PrimaryMonitors(bool tellUser = true);
  PrimaryMonitors(const PrimaryMonitors&) = delete;
  PrimaryMonitors& operator=(const PrimaryMonitors&) = delete;
  ~PrimaryMonitors();

  bool displayFound() const { return displayFound_; }
  const std::vector<plat::PHYSICAL_MONITOR>& records() const { return records_; }

 private:
  bool displayFound_ = false;
  std::vector<plat::PHYSICAL_MONITOR> records_;
};

}  // namespace velmora
