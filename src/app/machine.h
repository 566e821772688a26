#pragma once
// The machine the program runs on: the display (an X server when one opens and headless is not
// asked for, else the in-memory one) and what the brightness routes talk to: a simulated machine
// from `--simulate FILE`, else the real monitors and backlights. Ending it puts everything back.
#include <filesystem>
#include <memory>
#include <optional>

#include "platform/display/headless/headless_display.h"
#include "platform/simulation/simulation.h"

namespace velmora {

struct MachineOptions {
  bool headless = false;
  std::optional<std::filesystem::path> simulate;
  std::optional<std::filesystem::path> simulateLog;
};

class Machine {
 public:
  // Throws plat::Error when the simulation file or its log cannot be used.
  explicit Machine(const MachineOptions& options);
  ~Machine();
  Machine(const Machine&) = delete;
  Machine& operator=(const Machine&) = delete;

  // Null on an X server.
  plat::display::HeadlessDisplay* headless() const { return headless_; }
  // The headless display's window of another program, for scripted clicks elsewhere.
  const plat::RECT& otherProgram() const { return otherProgram_; }

 private:
  plat::display::HeadlessDisplay* headless_ = nullptr;
  plat::RECT otherProgram_{};
  std::unique_ptr<plat::Simulation> simulation_;
};

}  // namespace velmora
