#pragma once
// A temporary /sys/class/backlight with chosen devices, in force while the fixture lives.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/error.h"
#include "platform/temp_tree.h"
#include "platform/wmi/backlight.h"

namespace plat::test {

class BacklightTree : public ::testing::Test {
 protected:
  void SetUp() override {
    root = tree.Folder("backlight");
    BacklightSettings settings;
    settings.root = root;
    settings.privilegedWrite = [](const std::string& device, std::uint32_t) {
      throw Error("no privileged writes in tests (" + device + ")");
    };
    settings.written = [this](const std::string& device, std::uint32_t raw) { writes.emplace_back(device, raw); };
    SetBacklightSettings(settings);
  }
  void TearDown() override { SetBacklightSettings({}); }

  void Device(const std::string& name, const std::string& brightness, const std::string& max,
              const std::string& type = "raw") {
    tree.Write("backlight/" + name + "/brightness", brightness);
    tree.Write("backlight/" + name + "/max_brightness", max);
    tree.Write("backlight/" + name + "/type", type + "\n");
  }
  std::string Raw(const std::string& name) {
    std::ifstream in(root / name / "brightness");
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  TempTree tree;
  std::filesystem::path root;
  std::vector<std::pair<std::string, std::uint32_t>> writes;
};

}  // namespace plat::test
