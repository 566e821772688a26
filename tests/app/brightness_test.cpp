#include "app/brightness.h"

#include "machine_fixture.h"

namespace velmora {
namespace {

using test::SimulatedMachineTest;
using Strings = std::vector<std::string>;

TEST(CaptionForLevels, RoundsOnlyTheServiceReading) {
  struct Case {
    int monitor, wmi;
    const char* caption;
  } cases[] = {
      {37, -1, "輝度37％"},   {37, 24, "輝度37％"},   {24, -1, "輝度24％"},   {0, -1, "輝度0％"},
      {-1, 24, "輝度25％"},   {-1, 49, "輝度50％"},   {-1, 23, "輝度24％"},   {-1, 25, "輝度25％"},
      {-1, 0, "輝度0％"},     {-1, 100, "輝度100％"}, {-1, 1, "輝度2％"},     {-1, 255, "輝度255％"},
      {-1, -1, "輝度情報を取得できません"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CaptionForLevels(c.monitor, c.wmi), c.caption) << c.monitor << " " << c.wmi;
}

struct ReadCase {
  const char* name;
  const char* simulation;
  int monitor;
  int wmi;
};

class Reads : public SimulatedMachineTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(Reads, MonitorFirstThenTheService) {
  Start(GetParam().simulation);
  EXPECT_EQ(GetBrightness(), GetParam().monitor);
  EXPECT_EQ(GetWmiBrightness(), GetParam().wmi);
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(Writes().empty());
}

const char* const kRefusing = "[monitor 1]\nddc = refuse\n";

INSTANTIATE_TEST_SUITE_P(
    SimulatedMachines, Reads,
    ::testing::Values(
        ReadCase{"MonitorAnswers", "[monitor 1]\nddc = 37 100\n", 37, -1},
        // Where the monitor's maximum is not 100, its reading becomes a percentage.
        ReadCase{"MaximumNot100", "[monitor 1]\nddc = 37 50\n", 74, -1},
        ReadCase{"Maximum7000", "[monitor 1]\nddc = 3500 7000\n", 50, -1},
        ReadCase{"AboveTheMaximum", "[monitor 1]\nddc = 120 100\n", 100, -1},
        ReadCase{"AboveTheMaximum7000", "[monitor 1]\nddc = 7200 7000\n", 100, -1},
        ReadCase{"FirstAnsweringMonitorWins", "[monitor 1]\nddc = refuse-read\n[monitor 2]\nddc = 60 100\n[monitor 3]\nddc = 70 100\n", 60, -1},
        ReadCase{"Service24", "[monitor 1]\nddc = refuse\n[backlight intel_backlight]\nbrightness = 115\nmax = 480\n", -1, 24},
        ReadCase{"Service50", "[monitor 1]\nddc = refuse\n[backlight panel]\nbrightness = 50\nmax = 100\n", -1, 50},
        ReadCase{"Service0", "[monitor 1]\nddc = refuse\n[backlight panel]\nbrightness = 0\nmax = 100\n", -1, 0},
        ReadCase{"NoServiceInstance", kRefusing, -1, -1},
        ReadCase{"NoMonitorsAtAll", "", -1, -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SimulatedMachineTest, NoMonitorHandleShowsTheBoxOncePerCall) {
  Start("[display]\nmonitor-handle = no\n[monitor 1]\nddc = 37 100\n[backlight panel]\nbrightness = 40\nmax = 100\n");
  EXPECT_EQ(GetBrightness(), -1);
  EXPECT_EQ(boxes, Strings{kNoDisplayMessage});
  bool applied = true;
  SetBrightness(50, &applied);
  EXPECT_FALSE(applied);
  EXPECT_EQ(boxes, (Strings{kNoDisplayMessage, kNoDisplayMessage}));
  EXPECT_TRUE(Writes().empty());
  // The service does not depend on a monitor handle.
  EXPECT_EQ(GetWmiBrightness(), 40);
}

struct WriteCase {
  const char* name;
  const char* simulation;
  int level;
  Strings writes;
  bool applied = true;  // some monitor or backlight has the level now
};

class Writes : public SimulatedMachineTest, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(Writes, EveryMonitorAndEveryRefusalHandedOver) {
  Start(GetParam().simulation);
  bool applied = !GetParam().applied;
  SetBrightness(GetParam().level, &applied);
  EXPECT_EQ(SimulatedMachineTest::Writes(), GetParam().writes);
  EXPECT_EQ(applied, GetParam().applied);
  EXPECT_TRUE(boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    SimulatedMachines, Writes,
    ::testing::Values(
        WriteCase{"TwoMonitorsBothWritten", "[monitor 1]\nddc = 37 100\n[monitor 2]\nddc = 80 100\n", 50,
                  {"monitor 1 set 50", "monitor 2 set 50"}},
        WriteCase{"ScaledToTheMonitorsRange", "[monitor 1]\nddc = 10 50\n", 75, {"monitor 1 set 38"}},
        WriteCase{"Maximum7000", "[monitor 1]\nddc = 7200 7000\n", 100, {"monitor 1 set 7000"}},
        WriteCase{"UnchangedValueNotWritten", "[monitor 1]\nddc = 50 100\n", 50, {}},
        WriteCase{"RefusingMonitorHandsOver",
                  "[monitor 1]\nddc = refuse\n[backlight intel_backlight]\nbrightness = 115\nmax = 480\n", 50,
                  {"backlight intel_backlight set 240"}},
        WriteCase{"SilentReadRefuses",
                  "[monitor 1]\nddc = refuse-read\n[backlight intel_backlight]\nbrightness = 115\nmax = 480\n", 50,
                  {"backlight intel_backlight set 240"}},
        WriteCase{"OncePerRefusingMonitor",
                  "[monitor 1]\nddc = refuse\n[monitor 2]\nddc = 30 100\n[monitor 3]\nddc = refuse-write\n"
                  "[backlight panel]\nbrightness = 1\nmax = 100\n",
                  25, {"backlight panel set 25", "monitor 2 set 25", "backlight panel set 25"}},
        WriteCase{"OneDevicePerPanel",
                  "[monitor 1]\nddc = refuse\n[backlight intel_backlight]\nbrightness = 1\nmax = 4882\n"
                  "[backlight acpi_video0]\ntype = firmware\nbrightness = 1\nmax = 7\n",
                  100, {"backlight acpi_video0 set 7"}},
        WriteCase{"LevelZeroKeepsTheLowestLight",
                  "[monitor 1]\nddc = refuse\n[backlight panel]\nbrightness = 70\nmax = 100\n", 0,
                  {"backlight panel set 1"}},
        WriteCase{"LevelZeroOnFewSteps", "[monitor 1]\nddc = refuse\n[backlight panel]\nbrightness = 7\nmax = 7\n", 0,
                  {"backlight panel set 0"}},
        WriteCase{"NoServiceInstanceWritesNothing", kRefusing, 50, {}, false},
        WriteCase{"NoMonitorsNothingAsked", "[backlight panel]\nbrightness = 70\nmax = 100\n", 50, {}, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velmora
