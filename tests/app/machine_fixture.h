#pragma once
// A headless machine per test, simulated from the text of a simulation file, with its writes
// logged and every message box it shows recorded and answered.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/machine.h"
#include "platform/temp_tree.h"
#include "platform/wm/dialogs.h"

namespace velmora::test {

class SimulatedMachineTest : public ::testing::Test {
 protected:
  void TearDown() override { machine.reset(); }

  void Start(const std::string& simulation) {
    const auto file = tree.Write("machine.sim", simulation);
    machine = std::make_unique<Machine>(MachineOptions{true, file, logFile});
    machine->headless()->SetIdleHandler([this] {
      const auto box = plat::FindShownMessageBox();
      if (!box) return false;
      boxes.push_back(box->text);
      return plat::PressMessageBoxButton(box->window, 0) != 0;
    });
  }

  std::vector<std::string> Writes() const {
    std::ifstream in(logFile);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  plat::test::TempTree tree;
  std::filesystem::path logFile = tree.root() / "writes.log";
  std::unique_ptr<Machine> machine;
  std::vector<std::string> boxes;
};

}  // namespace velmora::test
