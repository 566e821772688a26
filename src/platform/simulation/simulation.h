#pragma once
// Installing a simulated machine: the primary display's physical monitors answer through
// simulated DDC/CI displays, and the management service reads a temporary backlight folder.
// Both go back to the real machine when the Simulation ends. The program wires
// `--simulate FILE [--simulate-log FILE]` as
//
//   auto simulation = ApplySimulation(LoadSimulation(file), log ? SimulationLog::Open(*log) : nullptr);
//
// and its window manager consults monitorHandle() for MonitorFromWindow.
#include <memory>
#include <vector>

#include "platform/simulation/simulated_monitor.h"
#include "platform/simulation/simulated_sysfs.h"
#include "platform/simulation/simulation_config.h"
#include "platform/simulation/simulation_log.h"

namespace plat {

class Simulation {
 public:
  Simulation(const SimulationConfig& config, std::shared_ptr<SimulationLog> log);
  ~Simulation();
  Simulation(const Simulation&) = delete;
  Simulation& operator=(const Simulation&) = delete;

  // "no": MonitorFromWindow is to answer no monitor for the primary display.
  bool monitorHandle() const { return monitorHandle_; }
  const std::vector<std::shared_ptr<SimulatedMonitor>>& monitors() const { return monitors_; }
  const std::filesystem::path& backlightRoot() const { return sysfs_.backlightRoot(); }

 private:
  bool monitorHandle_;
  std::vector<std::shared_ptr<SimulatedMonitor>> monitors_;
  SimulatedSysfs sysfs_;
};

// Throws Error when the simulated devices cannot be laid out.
std::unique_ptr<Simulation> ApplySimulation(const SimulationConfig& config, std::shared_ptr<SimulationLog> log = nullptr);

}  // namespace plat
