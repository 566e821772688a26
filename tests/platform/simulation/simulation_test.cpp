#include "platform/simulation/simulation.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/base/error.h"
#include "platform/monitor/monitor_configuration.h"
#include "platform/monitor/physical_monitor_provider.h"
#include "platform/temp_tree.h"

namespace plat {
namespace {

const HMONITOR kPrimary = reinterpret_cast<HMONITOR>(0x10001);

std::string Contents(const std::filesystem::path& file) {
  std::ifstream in(file);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class SimulatedMachine : public ::testing::Test {
 protected:
  void SetUp() override { SetMonitorSleep([](std::chrono::milliseconds) {}); }
  void TearDown() override { SetMonitorSleep(nullptr); }

  std::unique_ptr<Simulation> Start(const std::string& text) {
    return ApplySimulation(ParseSimulation(text), SimulationLog::Open(logFile));
  }

  std::vector<PHYSICAL_MONITOR> Monitors() {
    DWORD n = 0;
    if (!GetNumberOfPhysicalMonitorsFromHMONITOR(kPrimary, &n)) return {};
    std::vector<PHYSICAL_MONITOR> records(n);
    EXPECT_TRUE(GetPhysicalMonitorsFromHMONITOR(kPrimary, n, records.data()));
    return records;
  }

  test::TempTree tree;
  std::filesystem::path logFile = tree.root() / "writes.log";
};

TEST_F(SimulatedMachine, MonitorsAnswerRefuseAndLogTheirSets) {
  auto sim = Start(
      "[monitor 1]\nddc = 37 100\n"
      "[monitor 2]\nddc = refuse\n"
      "[monitor 3]\nddc = refuse-write 20 50\n"
      "[monitor 4]\nddc = refuse-read\n");
  EXPECT_TRUE(sim->monitorHandle());
  auto records = Monitors();
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(std::u16string(records[0].szPhysicalMonitorDescription), u"Simulated monitor 1");
  DWORD lo, cur, hi;
  ASSERT_TRUE(GetMonitorBrightness(records[0].hPhysicalMonitor, &lo, &cur, &hi));
  EXPECT_EQ(cur, 37u);
  EXPECT_EQ(hi, 100u);
  EXPECT_TRUE(SetMonitorBrightness(records[0].hPhysicalMonitor, 75));
  ASSERT_TRUE(GetMonitorBrightness(records[0].hPhysicalMonitor, &lo, &cur, &hi));
  EXPECT_EQ(cur, 75u);

  EXPECT_FALSE(GetMonitorBrightness(records[1].hPhysicalMonitor, &lo, &cur, &hi));
  EXPECT_FALSE(SetMonitorBrightness(records[1].hPhysicalMonitor, 75));
  ASSERT_TRUE(GetMonitorBrightness(records[2].hPhysicalMonitor, &lo, &cur, &hi));
  EXPECT_EQ(cur, 20u);
  EXPECT_FALSE(SetMonitorBrightness(records[2].hPhysicalMonitor, 75));
  // A monitor that does not answer the read that comes first is not written.
  EXPECT_FALSE(GetMonitorBrightness(records[3].hPhysicalMonitor, &lo, &cur, &hi));
  EXPECT_FALSE(SetMonitorBrightness(records[3].hPhysicalMonitor, 0));
  DestroyPhysicalMonitors(4, records.data());

  EXPECT_EQ(Contents(logFile), "monitor 1 set 75\n");
}

TEST_F(SimulatedMachine, DisplayKeepsToItsRangeWhileTheLogShowsTheLevelSent) {
  auto sim = Start("[monitor 1]\nddc = 20 50\n");
  auto records = Monitors();
  ASSERT_TRUE(SetMonitorBrightness(records[0].hPhysicalMonitor, 75));
  EXPECT_EQ(sim->monitors()[0]->current(), 50);
  EXPECT_EQ(Contents(logFile), "monitor 1 set 75\n");
  DestroyPhysicalMonitors(1, records.data());
}

TEST_F(SimulatedMachine, DisplayIgnoresDamagedRequestsAndOtherFeatures) {
  SimulatedMonitor display(1, {}, SimulationLog::Open(logFile));
  auto set = SetVcpRequest(kVcpBrightness, 10);
  set[6] ^= 1;
  std::array<std::uint8_t, kVcpReplySize> reply{};
  EXPECT_TRUE(display.Receive(set));
  ASSERT_TRUE(display.Answer(reply));
  EXPECT_EQ(ParseVcpReply(reply, kVcpBrightness).kind, VcpReply::Kind::Null);
  EXPECT_TRUE(display.Receive(SetVcpRequest(0x12, 10)));  // contrast: not brightness
  EXPECT_TRUE(display.Receive(GetVcpRequest(0x12)));
  ASSERT_TRUE(display.Answer(reply));
  EXPECT_EQ(ParseVcpReply(reply, 0x12).kind, VcpReply::Kind::Unsupported);
  EXPECT_EQ(display.current(), 50);
  EXPECT_EQ(Contents(logFile), "");
}

TEST_F(SimulatedMachine, BacklightsLiveInATemporaryTreeWhileTheSimulationRuns) {
  std::filesystem::path root;
  {
    auto sim = Start(
        "[display]\nmonitor-handle = no\n"
        "[backlight intel_backlight]\nbrightness = 115\nmax = 480\n"
        "[backlight acpi_video0]\nbrightness = 5\nmax = 10\ntype = firmware\nunreadable = yes\n");
    EXPECT_FALSE(sim->monitorHandle());
    root = sim->backlightRoot();
    EXPECT_EQ(CurrentBacklightSettings().root, root);
    EXPECT_EQ(Contents(root / "intel_backlight" / "max_brightness"), "480\n");
    EXPECT_EQ(Contents(root / "intel_backlight" / "type"), "raw\n");
    struct stat info {};
    ASSERT_EQ(::stat((root / "acpi_video0" / "brightness").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0u);

    std::vector<std::string> problems;
    const auto devices = ListBacklights(CurrentBacklightSettings(), &problems);
    ASSERT_EQ(devices.size(), 1u);  // unreadable even to root
    EXPECT_EQ(devices[0].name, "intel_backlight");
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("acpi_video0"), std::string::npos);

    WriteBacklight(CurrentBacklightSettings(), "intel_backlight", 50);
    EXPECT_EQ(Contents(root / "intel_backlight" / "brightness"), "240\n");
    EXPECT_THROW(WriteBacklight(CurrentBacklightSettings(), "acpi_video0", 50), Error);
    EXPECT_EQ(Contents(logFile), "backlight intel_backlight set 240\n");
  }
  EXPECT_FALSE(std::filesystem::exists(root.parent_path()));
  EXPECT_EQ(CurrentBacklightSettings().root, "/sys/class/backlight");
  DWORD n;
  EXPECT_FALSE(GetNumberOfPhysicalMonitorsFromHMONITOR(kPrimary, &n));  // the provider went with it
}

TEST(SimulationLogFile, AppendsFlushedLinesAndNamesAFileItCannotOpen) {
  test::TempTree tree;
  const auto file = tree.Write("log", "earlier\n");
  auto log = SimulationLog::Open(file);
  log->Append("monitor 1 set 50");
  EXPECT_EQ(Contents(file), "earlier\nmonitor 1 set 50\n");  // visible before the log closes
  try {
    SimulationLog::Open(tree.root() / "no-folder" / "log");
    FAIL();
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("no-folder/log"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace plat
