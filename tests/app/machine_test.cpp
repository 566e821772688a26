#include "app/machine.h"

#include "app/brightness.h"
#include "machine_fixture.h"
#include "platform/base/error.h"
#include "platform/monitor/monitor_configuration.h"
#include "platform/wm/wm.h"

namespace velmora {
namespace {

using namespace plat;
using MachineWiring = test::SimulatedMachineTest;

TEST_F(MachineWiring, ControlChannelWaitsPassOnTheDisplaysClock) {
  Start("[monitor 1]\nddc = 37 100\n");
  Clock& clock = machine->headless()->GetClock();
  ASSERT_TRUE(clock.IsVirtual());
  const auto before = clock.Now();
  EXPECT_EQ(GetBrightness(), 37);
  EXPECT_GT(clock.Now(), before);
}

TEST_F(MachineWiring, AMissingMonitorHandleEndsWithTheMachine) {
  Start("[display]\nmonitor-handle = no\n");
  EXPECT_EQ(MonitorFromWindow(nullptr, MONITOR_DEFAULTTOPRIMARY), nullptr);
  machine.reset();
  const Machine plain(MachineOptions{true, std::nullopt, std::nullopt});
  EXPECT_NE(MonitorFromWindow(nullptr, MONITOR_DEFAULTTOPRIMARY), nullptr);
}

TEST(Machine, HeadlessWithoutSimulationHasOneRefusingMonitor) {
  const Machine machine(MachineOptions{true, std::nullopt, std::nullopt});
  ASSERT_NE(machine.headless(), nullptr);
  const HMONITOR primary = MonitorFromWindow(nullptr, MONITOR_DEFAULTTOPRIMARY);
  DWORD count = 0;
  ASSERT_TRUE(GetNumberOfPhysicalMonitorsFromHMONITOR(primary, &count));
  ASSERT_EQ(count, 1u);
  PHYSICAL_MONITOR record{};
  ASSERT_TRUE(GetPhysicalMonitorsFromHMONITOR(primary, 1, &record));
  DWORD lo = 0, cur = 0, hi = 0;
  EXPECT_FALSE(GetMonitorBrightness(record.hPhysicalMonitor, &lo, &cur, &hi));
  EXPECT_FALSE(SetMonitorBrightness(record.hPhysicalMonitor, 50));
  EXPECT_TRUE(DestroyPhysicalMonitors(1, &record));
}

TEST(Machine, BadSimulationFilesAreRefusedBeforeAnythingStarts) {
  plat::test::TempTree tree;
  const auto bad = tree.Write("bad.sim", "[monitor 1]\nddc = maybe\n");
  EXPECT_THROW(Machine(MachineOptions{true, bad, std::nullopt}), plat::Error);
  EXPECT_EQ(CurrentDisplay(), nullptr);
  EXPECT_THROW(Machine(MachineOptions{true, tree.root() / "missing.sim", std::nullopt}), plat::Error);
}

}  // namespace
}  // namespace velmora
