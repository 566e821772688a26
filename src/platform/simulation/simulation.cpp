#include "platform/simulation/simulation.h"

#include <set>

#include "platform/base/utf.h"
#include "platform/monitor/physical_monitor_provider.h"
#include "platform/wmi/backlight.h"
#include "platform/wmi/logind.h"

namespace plat {

Simulation::Simulation(const SimulationConfig& config, std::shared_ptr<SimulationLog> log)
    : monitorHandle_(config.monitorHandle), sysfs_(config.backlights) {
  for (std::size_t i = 0; i < config.monitors.size(); ++i)
    monitors_.push_back(std::make_shared<SimulatedMonitor>(static_cast<int>(i + 1), config.monitors[i], log));

  // The simulation has one display monitor, so every handle the window manager gives out is it.
  SetPhysicalMonitorProvider([monitors = monitors_](HMONITOR) {
    std::vector<PhysicalMonitorSource> sources;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
      PhysicalMonitorSource source;
      source.description = Utf8ToUtf16("Simulated monitor " + std::to_string(i + 1));
      source.open = [m = monitors[i]] { return SimulatedMonitor::OpenChannel(m); };
      source.channel = "simulated DDC/CI";
      sources.push_back(std::move(source));
    }
    return std::optional(std::move(sources));
  });

  std::set<std::string> unreadable, unwritable;
  for (const auto& b : config.backlights) {
    if (b.unreadable) unreadable.insert(b.name);
    if (!b.writable) unwritable.insert(b.name);
  }
  BacklightSettings settings;
  settings.root = sysfs_.backlightRoot();
  settings.unreadable = [unreadable](const std::string& device) { return unreadable.count(device) > 0; };
  settings.unwritable = [unwritable](const std::string& device) { return unwritable.count(device) > 0; };
  // A read-only device is handed to logind, through the real call, on a bus that is not there: a
  // simulation never reaches for the real machine's bus.
  settings.privilegedWrite = [bus = sysfs_.backlightRoot().parent_path() / "no-system-bus"](const std::string& device,
                                                                                           std::uint32_t raw) {
    LogindSetBrightness("backlight", device, raw, {"unix:path=" + bus.string()});
  };
  settings.written = [log](const std::string& device, std::uint32_t raw) {
    if (log) log->Append("backlight " + device + " set " + std::to_string(raw));
  };
  SetBacklightSettings(std::move(settings));
}

Simulation::~Simulation() {
  SetPhysicalMonitorProvider(nullptr);
  SetBacklightSettings({});
}

std::unique_ptr<Simulation> ApplySimulation(const SimulationConfig& config, std::shared_ptr<SimulationLog> log) {
  return std::make_unique<Simulation>(config, std::move(log));
}

}  // namespace plat
