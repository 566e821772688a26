#pragma once
// Where the monitor-configuration functions learn which outputs make up a display monitor. The
// window manager owns the monitor handles and registers the provider; the simulated machine
// registers its own.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/types.h"
#include "platform/monitor/ddc_commands.h"
#include "platform/monitor/ddc_transport.h"

namespace plat {

struct PhysicalMonitorSource {
  std::u16string description;  // cut to 127 characters in the record
  // Opens the output's DDC/CI channel on first use. Empty, or answering nullptr, for outputs
  // without one (built-in panels, unknown buses): that monitor then refuses every request. It
  // may throw Error saying why the channel cannot be opened.
  std::function<std::unique_ptr<DdcTransport>()> open;
  std::string channel;  // what and where the channel is ("DDC/CI on /dev/i2c-5"), for listings
  std::string problem;  // why there is no channel, when that is worth telling
};

// nullopt: the outputs of this handle cannot be told, and counting them fails.
using PhysicalMonitorProvider = std::function<std::optional<std::vector<PhysicalMonitorSource>>(HMONITOR)>;

// An empty provider removes the registered one.
void SetPhysicalMonitorProvider(PhysicalMonitorProvider provider);

// How DDC/CI waits pass; empty restores real sleeping.
void SetMonitorSleep(SleepFunction sleep);

}  // namespace plat
