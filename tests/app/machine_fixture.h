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
#include "app/window_tree.h"
#include "platform/temp_tree.h"

namespace velmora::test {

class SimulatedMachineTest : public ::testing::Test {
 protected:
  void TearDown() override { machine.reset(); }

  void Start(const std::string& simulation) {
    const auto file = tree.Write("machine.sim", simulation);
    machine = std::make_unique<Machine>(MachineOptions{true, file, logFile});
    machine->headless()->SetIdleHandler([this] {
      const auto text = AnswerShownMessageBox();
      if (text) boxes.push_back(*text);
      return text.has_value();
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
