// The velmora binary's command-line routes, run whole on simulated machines.
#include <gtest/gtest.h>

#include <string>

#include "velmora_run.h"

namespace velmora::test {
namespace {

struct Case {
  const char* name;
  const char* simulation;
  const char* arguments;
  int status;
  const char* out;
  const char* writes;
  const char* err;
};

class Cases : public VelmoraRun, public ::testing::WithParamInterface<Case> {};

TEST_P(Cases, PrintsExitsAndWrites) {
  const Case& c = GetParam();
  const Outcome o = Run(c.simulation, c.arguments);
  EXPECT_EQ(o.status, c.status) << o.err;
  EXPECT_EQ(o.out, c.out);
  EXPECT_EQ(o.writes, c.writes);
  EXPECT_NE(o.err.find(c.err), std::string::npos) << o.err;
}

const char* const kPanel = "[monitor 1]\nddc = refuse\n[backlight intel_backlight]\nbrightness = 115\nmax = 480\n";

INSTANTIATE_TEST_SUITE_P(
    Velmora, Cases,
    ::testing::Values(
        Case{"GetFromTheMonitor", "[monitor 1]\nddc = 37 100\n", "--get", 0, "輝度37％\n", "", ""},
        Case{"GetFromTheServiceRounded", kPanel, "--get", 0, "輝度25％\n", "", ""},
        Case{"GetNothing", "[monitor 1]\nddc = refuse\n", "--get", 1, "輝度情報を取得できません\n", "", ""},
        Case{"SetTwoMonitors", "[monitor 1]\nddc = 20 100\n[monitor 2]\nddc = 30 100\n", "--set 50", 0, "",
             "monitor 1 set 50\nmonitor 2 set 50\n", ""},
        Case{"SetHandsOverToTheBacklight", kPanel, "--set 50", 0, "", "backlight intel_backlight set 240\n", ""},
        Case{"GetScalesAMonitorsRange", "[monitor 1]\nddc = 3500 7000\n", "--get", 0, "輝度50％\n", "", ""},
        Case{"SetScalesAMonitorsRange", "[monitor 1]\nddc = 3500 7000\n", "--set 100", 0, "", "monitor 1 set 7000\n", ""},
        Case{"SetSaysWhyAMonitorRefused", kPanel, "--set 75", 0, "", "backlight intel_backlight set 360\n",
             "velmora: Simulated monitor 1: the monitor does not answer"},
        // Nothing written is a failure, with its reasons: the monitor, then logind, absent here.
        Case{"SetOnAReadOnlyTreeWithoutLogind",
             "[monitor 1]\nddc = refuse\n[backlight intel_backlight]\nbrightness = 115\nmax = 480\nwritable = no\n",
             "--set 50", 1, "", "", "velmora: logind SetBrightness: no system bus"},
        Case{"SetWithNothingToWrite", "[monitor 1]\nddc = refuse\n", "--set 50", 1, "", "",
             "velmora: nothing took the level 50"},
        Case{"NoMonitorHandleBoxAnswered", "[display]\nmonitor-handle = no\n[monitor 1]\nddc = 37 100\n", "--set 50", 1,
             "", "", "ディスプレイが見つかりませんでした\n"},
        Case{"NoMonitorHandleStillAsksTheService",
             "[display]\nmonitor-handle = no\n[backlight panel]\nbrightness = 49\nmax = 100\n", "--get", 0,
             "輝度50％\n", "", "ディスプレイが見つかりませんでした\n"},
        Case{"LevelOutOfRange", "", "--set 101", 2, "", "", "0 to 100, not \"101\""},
        Case{"UnknownOption", "", "--brighter", 2, "", "", "unknown option \"--brighter\""},
        Case{"BadSimulation", "[monitor 1]\nddc = sometimes\n", "--get", 2, "", "", "line 2"},
        Case{"Version", "", "--version", 0, "Velmora Ver 1.0\n", "", ""},
        Case{"ScreenshotNowhere", "[monitor 1]\nddc = 37 100\n", "--screenshot /nonexistent/velmora/x.png", 2, "", "",
             "cannot save the screenshot: cannot create /nonexistent/velmora/x.png"}),
    [](const auto& info) { return std::string(info.param.name); });

// The machine a user would describe in an issue: what there is, and what the program uses.
TEST_F(VelmoraRun, ListShowsEveryDeviceAndWhichIsUsed) {
  const Outcome demo = Run(Contents(VELMORA_DEMO_MACHINE), "--list");
  EXPECT_EQ(demo.status, 0) << demo.err;
  EXPECT_NE(demo.out.find("monitor 1: \"Simulated monitor 1\", simulated DDC/CI, maximum 100, current 37 [read] [written]\n"),
            std::string::npos)
      << demo.out;
  EXPECT_NE(demo.out.find("backlight intel_backlight: raw, "), std::string::npos) << demo.out;
  EXPECT_NE(demo.out.find("/intel_backlight, maximum 480, current 115 [the service's device]\n"), std::string::npos)
      << demo.out;
  EXPECT_EQ(demo.writes, "");

  const Outcome laptop = Run(
      "[monitor 1]\nddc = refuse\n[backlight intel_backlight]\nbrightness = 500\nmax = 480\n"
      "[backlight acpi_video0]\ntype = firmware\nbrightness = 3\nmax = 7\n",
      "--list");
  EXPECT_EQ(laptop.status, 0) << laptop.err;
  EXPECT_NE(laptop.out.find("monitor 1: \"Simulated monitor 1\", simulated DDC/CI, refuses: the monitor does not answer"),
            std::string::npos)
      << laptop.out;
  EXPECT_NE(laptop.out.find("/acpi_video0, maximum 7, current 3 [the service's device] [read] [written]\n"),
            std::string::npos)
      << laptop.out;
  EXPECT_NE(laptop.out.find("/intel_backlight, maximum 480, current 480\n"), std::string::npos) << laptop.out;
}

TEST_F(VelmoraRun, HelpListsTheOptions) {
  const Outcome o = Run("", "--help");
  EXPECT_EQ(o.status, 0);
  for (const char* option : {"--get", "--set LEVEL", "--list", "--headless", "--simulate FILE", "--simulate-log FILE", "--script FILE",
                             "--screenshot FILE", "--extract-skin DIR", "--version"})
    EXPECT_NE(o.out.find(option), std::string::npos) << option;
}

TEST_F(VelmoraRun, ScriptAnswersTheBoxAndFailsOnBadLines) {
  const auto dump = tree.root() / "tree.txt";
  const auto answered = tree.Write("answer.script", "dump " + dump.string() + "\nanswer-box\n");
  const Outcome ok = Run("[display]\nmonitor-handle = no\n", "--get --script " + answered.string());
  EXPECT_EQ(ok.status, 1) << ok.err;
  EXPECT_EQ(ok.err.rfind("ディスプレイが見つかりませんでした\nvelmora: no usable backlight device in ", 0), 0u) << ok.err;
  EXPECT_EQ(ok.out, "輝度情報を取得できません\n");
  const std::string windows = Contents(dump);
  EXPECT_EQ(windows.rfind("#32770 \"Error\" ", 0), 0u) << windows;
  EXPECT_NE(windows.find("  Static \"ディスプレイが見つかりませんでした\""), std::string::npos) << windows;

  const auto missing = tree.Write("missing.script", "answer-box\n");
  const Outcome none = Run("[monitor 1]\nddc = 37 100\n", "--get --script " + missing.string());
  EXPECT_EQ(none.status, 4);
  EXPECT_NE(none.err.find("line 1: the program ended before this line"), std::string::npos) << none.err;

  const auto bad = tree.Write("bad.script", "wait 10\nfly away\n");
  const Outcome refused = Run("", "--get --script " + bad.string());
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("script line 2: unknown command \"fly\""), std::string::npos) << refused.err;
}

// The embedded archive comes out byte for byte, into a folder made for it; a folder that cannot
// be made is refused with status 2.
TEST_F(VelmoraRun, ExtractSkinWritesTheEmbeddedArchive) {
  const auto dir = tree.root() / "made" / "here";
  const Outcome o = Run("", "--extract-skin " + dir.string());
  EXPECT_EQ(o.status, 0) << o.err;
  const auto file = dir / "skin extracted.asz";
  EXPECT_EQ(o.out, "velmora: the built-in skin is in " + file.string() + "\n");
  EXPECT_EQ(Contents(file), Contents(VELMORA_SKIN_ARCHIVE));

  const auto blocked = tree.Write("blocker", "a file, not a folder");
  const Outcome refused = Run("", "--extract-skin " + (blocked / "sub").string());
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.out, "");
  EXPECT_NE(refused.err.find("creation error"), std::string::npos) << refused.err;
}

}  // namespace
}  // namespace velmora::test
