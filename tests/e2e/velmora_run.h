#pragma once
// Runs the velmora binary whole, headless, on a simulated machine, and collects what it printed,
// its exit status and the brightness writes the machine recorded.
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/temp_tree.h"

namespace velmora::test {

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
  std::string writes;
};

inline std::string Contents(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class VelmoraRun : public ::testing::Test {
 protected:
  // Runs velmora headless with the machine (when given) and the arguments, which must not need
  // quoting.
  Outcome Run(const std::string& simulation, const std::string& arguments) {
    std::string command = std::string(VELMORA_BINARY) + " --headless";
    if (!simulation.empty())
      command += " --simulate " + tree.Write("machine.sim", simulation).string() + " --simulate-log " + log.string();
    command += " " + arguments + " >" + (tree.root() / "out").string() + " 2>" + (tree.root() / "err").string();
    const int raw = std::system(command.c_str());
    Outcome o;
    o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    o.out = Contents(tree.root() / "out");
    o.err = Contents(tree.root() / "err");
    o.writes = Contents(log);
    return o;
  }

  // Runs the program's windows under a script.
  Outcome RunScript(const std::string& simulation, const std::string& script) {
    return Run(simulation, "--script " + tree.Write("run.script", script).string());
  }

  plat::test::TempTree tree;
  std::filesystem::path log = tree.root() / "writes.log";
};

}  // namespace velmora::test
