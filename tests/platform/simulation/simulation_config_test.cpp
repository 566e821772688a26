#include "platform/simulation/simulation_config.h"

#include <gtest/gtest.h>

#include "platform/base/error.h"
#include "platform/temp_tree.h"

namespace plat {
namespace {

std::string ErrorOf(const std::string& text) {
  try {
    ParseSimulation(text);
  } catch (const Error& e) {
    return e.what();
  }
  return "(accepted)";
}

TEST(SimulationConfig, ReadsTheWholeForm) {
  const auto c = ParseSimulation(
      "[display]\n"
      "monitor-handle = no        ; a comment\n"
      "\n"
      "; a line of comment\n"
      "  [monitor 1]  \r\n"
      "ddc=37   100\r\n"
      "[monitor 2]\n"
      "ddc = refuse\n"
      "[monitor 3]\n"
      "ddc = refuse-write 20 50\n"
      "[monitor 4]\n"
      "ddc = refuse-read\n"
      "[monitor 5]\n"
      "ddc = 7200 7000\n"
      "[backlight intel_backlight]\n"
      "brightness = 115\n"
      "max = 480\n"
      "type = firmware\n"
      "unreadable = yes\n"
      "connector = disabled\n"
      "[backlight acpi_video0]\n"
      "max = 15\n"
      "brightness = 16");
  EXPECT_FALSE(c.monitorHandle);
  ASSERT_EQ(c.monitors.size(), 5u);
  EXPECT_EQ(c.monitors[0].mode, SimulatedDdc::Mode::Answer);
  EXPECT_EQ(c.monitors[0].current, 37);
  EXPECT_EQ(c.monitors[0].maximum, 100);
  EXPECT_EQ(c.monitors[1].mode, SimulatedDdc::Mode::Refuse);
  EXPECT_EQ(c.monitors[2].mode, SimulatedDdc::Mode::RefuseWrite);
  EXPECT_EQ(c.monitors[2].current, 20);
  EXPECT_EQ(c.monitors[3].mode, SimulatedDdc::Mode::RefuseRead);
  // Real monitors have other maxima, and may report a current value above theirs.
  EXPECT_EQ(c.monitors[4].current, 7200);
  EXPECT_EQ(c.monitors[4].maximum, 7000);
  ASSERT_EQ(c.backlights.size(), 2u);
  EXPECT_EQ(c.backlights[0].name, "intel_backlight");
  EXPECT_EQ(c.backlights[0].brightness, 115u);
  EXPECT_EQ(c.backlights[0].maximum, 480u);
  EXPECT_EQ(c.backlights[0].type, BacklightType::Firmware);
  EXPECT_TRUE(c.backlights[0].unreadable);
  EXPECT_EQ(c.backlights[0].connectorEnabled, false);
  EXPECT_EQ(c.backlights[1].type, BacklightType::Raw);
  EXPECT_FALSE(c.backlights[1].unreadable);
  EXPECT_EQ(c.backlights[1].brightness, 16u);  // above its maximum, as some drivers report
  EXPECT_EQ(c.backlights[1].connectorEnabled, std::nullopt);

  const auto empty = ParseSimulation("");
  EXPECT_TRUE(empty.monitorHandle);
  EXPECT_TRUE(empty.monitors.empty());
}

TEST(SimulationConfig, RefusesBadInputNamingTheLine) {
  std::string seventeen;
  for (int i = 1; i <= 17; ++i) seventeen += "[monitor " + std::to_string(i) + "]\nddc = 1 2\n";
  const struct {
    std::string text;
    std::string error;
  } cases[] = {
      {"[screen]", "line 1: unknown section 'screen'"},
      {"[Display]", "line 1: unknown section 'Display'"},
      {"[]", "line 1: unknown section ''"},
      {"[\x01\xff]", "line 1: unknown section '?" "?'"},
      {"[display", "line 1: section header '[display' lacks its ']'"},
      {"[display]\n[display]", "line 2: duplicate section [display]"},
      {"[display]\nmonitor-handle = maybe", "line 2: monitor-handle must be yes or no, not 'maybe'"},
      {"[display]\nmonitor-handle", "line 2: expected 'key = value', found 'monitor-handle'"},
      {"[display]\nmonitor-handle =   ; none", "line 2: missing value for 'monitor-handle'"},
      {"[display]\n= yes", "line 2: missing key before '='"},
      {"[display]\nmonitors = 2", "line 2: unknown key 'monitors' in [display]"},
      {"ddc = 1 2", "line 1: key 'ddc' outside a section"},
      {"[monitor 2]\nddc = 1 2", "line 1: [monitor 2] out of order: expected [monitor 1]"},
      {"[monitor 0]", "line 1: monitor number '0' is not 1 to 16"},
      {"[monitor one]", "line 1: monitor number 'one' is not 1 to 16"},
      {"[monitor 99999999999999999999]", "line 1: monitor number '99999999999999999999' is not 1 to 16"},
      {"[monitor 1]\nddc = 1 2\n[monitor 1]\nddc = 1 2", "line 3: duplicate section [monitor 1]"},
      {"[monitor 1]\n\n[display]", "line 1: [monitor 1] has no ddc line"},
      {"[monitor 1]", "line 1: [monitor 1] has no ddc line"},
      {"[monitor 1]\nddc = 37", "line 2: ddc needs 'CURRENT MAX' or refuse, refuse-read, refuse-write; found '37'"},
      {"[monitor 1]\nddc = 1 2 3", "line 2: ddc needs 'CURRENT MAX' or refuse, refuse-read, refuse-write; found '1 2 3'"},
      {"[monitor 1]\nddc = yes", "line 2: ddc needs 'CURRENT MAX' or refuse, refuse-read, refuse-write; found 'yes'"},
      {"[monitor 1]\nddc = refuse 1 2", "line 2: ddc = refuse takes no values"},
      {"[monitor 1]\nddc = 1 70000", "line 2: ddc maximum '70000' is not a number from 0 to 65535"},
      {"[monitor 1]\nddc = -1 100", "line 2: ddc current '-1' is not a number from 0 to 65535"},
      {"[monitor 1]\nddc = 1 2\nddc = 3 4", "line 3: duplicate key 'ddc' in [monitor 1]"},
      {"[monitor 1]\nbrightness = 3", "line 2: unknown key 'brightness' in [monitor 1]"},
      {seventeen, "line 33: more than 16 monitors"},
      {"[backlight]", "line 1: unknown section 'backlight'"},
      {"[backlight a/b]", "line 1: backlight name 'a/b' is not a device folder name"},
      {"[backlight ..]", "line 1: backlight name '..' is not a device folder name"},
      {"[backlight x]\nbrightness = 1\nmax = 2\n[backlight x]", "line 4: duplicate section [backlight x]"},
      {"[backlight x]\nmax = 2", "line 1: [backlight x] has no brightness line"},
      {"[backlight x]\nbrightness = 2", "line 1: [backlight x] has no max line"},
      {"[backlight x]\nbrightness = 1\nmax = 2\nconnector = on", "line 4: connector 'on' is not enabled or disabled"},
      {"[backlight x]\nbrightness = -1\nmax = 480", "line 2: brightness '-1' is not a number from 0 to 2147483647"},
      {"[backlight x]\nbrightness = 1\nmax = 0", "line 3: max '0' is not a number from 1 to 2147483647"},
      {"[backlight x]\nbrightness = 1\nmax = 2147483648", "line 3: max '2147483648' is not a number from 1 to 2147483647"},
      {"[backlight x]\nbrightness = 1 2\nmax = 2", "line 2: brightness '1 2' is not a number from 0 to 2147483647"},
      {"[backlight x]\nbrightness = 1\nmax = 2\ntype = led", "line 4: type 'led' is not firmware, platform or raw"},
      {"[backlight x]\nbrightness = 1\nmax = 2\nunreadable = 1", "line 4: unreadable must be yes or no, not '1'"},
      {"[backlight x]\nbrightness = 1\nmax = 2\nmax = 3", "line 4: duplicate key 'max' in [backlight x]"},
      {"[backlight x]\nbrightness = 1\nmax = 2\nddc = 1 2", "line 4: unknown key 'ddc' in [backlight x]"},
      {"[display]\nmonitor-handle = " + std::string(100, 'n'),
       "line 2: monitor-handle must be yes or no, not '" + std::string(40, 'n') + "...'"},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorOf(c.text), c.error) << c.text;
}

TEST(SimulationConfig, LoadNamesTheFile) {
  test::TempTree tree;
  const auto good = tree.Write("good.ini", "[monitor 1]\nddc = 1 2\n");
  EXPECT_EQ(LoadSimulation(good).monitors.size(), 1u);
  const auto bad = tree.Write("bad.ini", "[monitor 1]\nddc = 3 two\n");
  try {
    LoadSimulation(bad);
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), bad.string() + ": line 2: ddc maximum 'two' is not a number from 0 to 65535");
  }
  EXPECT_THROW(LoadSimulation(tree.root() / "missing.ini"), Error);
  EXPECT_THROW(LoadSimulation(tree.root()), Error);  // a folder
}

}  // namespace
}  // namespace plat
