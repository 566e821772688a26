#pragma once
// A temporary backlight class folder holding a simulation's devices, removed when it ends.
#include <filesystem>
#include <vector>

#include "platform/simulation/simulation_config.h"

namespace plat {

class SimulatedSysfs {
 public:
  // Throws Error when the folder cannot be made.
  explicit SimulatedSysfs(const std::vector<SimulatedBacklight>& devices);
  ~SimulatedSysfs();
  SimulatedSysfs(const SimulatedSysfs&) = delete;
  SimulatedSysfs& operator=(const SimulatedSysfs&) = delete;

  // <temp>/backlight, laid out as /sys/class/backlight: brightness, max_brightness, type.
  const std::filesystem::path& backlightRoot() const { return backlightRoot_; }

 private:
  std::filesystem::path top_;
  std::filesystem::path backlightRoot_;
};

}  // namespace plat
