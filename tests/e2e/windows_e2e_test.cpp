// The program's two windows, driven by scripts on simulated machines: the caption, the level
// buttons, closing on focus loss, and the about window's ways of closing.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "velmora_run.h"

namespace velmora::test {
namespace {

const char* const kMonitor37 = "[monitor 1]\nddc = 37 100\n";
const char* const kRefusing = "[monitor 1]\nddc = refuse\n";
// A backlight with a maximum of 100 answers its own value as the service's reading.
std::string RefusingWithPanel(int brightness) {
  return std::string(kRefusing) + "[backlight panel]\nbrightness = " + std::to_string(brightness) + "\nmax = 100\n";
}
const char* const kPanel480 = "[backlight intel_backlight]\nbrightness = 115\nmax = 480\n";

// Client points of the windows' controls and title-bar close boxes.
const char* const kGear = "click-at TMainForm 328 21\n";
const char* const kMainCloseBox = "click-at TMainForm 358 -10\n";
const char* const kAboutCloseBox = "click-at TFormOption 492 -10\n";

// The line of the dump that describes the first window of the class.
std::string WindowLine(const std::string& dump, const std::string& windowClass) {
  std::istringstream lines(dump);
  for (std::string line; std::getline(lines, line);)
    if (line.rfind(windowClass + " ", 0) == 0) return line;
  return "no " + windowClass + " in:\n" + dump;
}

class Windows : public VelmoraRun {
 protected:
  std::string DumpFile() const { return (tree.root() / "tree.txt").string(); }
  std::string Dump() const { return Contents(DumpFile()); }
};

struct CaptionCase {
  std::string simulation;
  const char* caption;
};

class Captions : public Windows, public ::testing::WithParamInterface<CaptionCase> {};

// The caption is read when the window shows; a click elsewhere then ends the program within one
// tick of the 400 ms timer, writing nothing.
TEST_P(Captions, ShowTheReadingThenCloseOnFocusLoss) {
  const Outcome o = RunScript(GetParam().simulation, "dump " + DumpFile() + "\nclick-other\nwait-exit 400\n");
  EXPECT_EQ(o.status, 0) << o.err;
  const std::string line = WindowLine(Dump(), "TMainForm");
  EXPECT_EQ(line.rfind("TMainForm \"" + std::string(GetParam().caption) + "\" ", 0), 0u) << line;
  EXPECT_NE(line.find(" visible enabled active"), std::string::npos) << line;
  EXPECT_EQ(o.writes, "");
}

INSTANTIATE_TEST_SUITE_P(Readings, Captions,
                         ::testing::Values(CaptionCase{kMonitor37, "輝度37％"},
                                           CaptionCase{RefusingWithPanel(24), "輝度25％"},
                                           CaptionCase{RefusingWithPanel(50), "輝度50％"},
                                           CaptionCase{RefusingWithPanel(0), "輝度0％"},
                                           CaptionCase{kRefusing, "輝度情報を取得できません"}));

struct LevelCase {
  std::string simulation;
  const char* button;
  const char* writes;
};

class Levels : public Windows, public ::testing::WithParamInterface<LevelCase> {};

// A level button writes through the routes and ends the program, whatever the write achieved.
TEST_P(Levels, WriteTheLevelAndEndTheProgram) {
  const Outcome o = RunScript(GetParam().simulation, "click-on " + std::string(GetParam().button) + "\nwait-exit 0\n");
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.writes, GetParam().writes);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, Levels,
    ::testing::Values(LevelCase{kMonitor37, "0%", "monitor 1 set 0\n"},
                      LevelCase{kMonitor37, "25%", "monitor 1 set 25\n"},
                      LevelCase{kMonitor37, "50%", "monitor 1 set 50\n"},
                      LevelCase{kMonitor37, "75%", "monitor 1 set 75\n"},
                      LevelCase{kMonitor37, "100%", "monitor 1 set 100\n"},
                      // Nothing can be written: the buttons still end the program.
                      LevelCase{kRefusing, "0%", ""}, LevelCase{kRefusing, "100%", ""},
                      // Every monitor is written; each refusing one is handed to the service.
                      LevelCase{"[monitor 1]\nddc = 20 100\n[monitor 2]\nddc = 30 100\n", "50%",
                                "monitor 1 set 50\nmonitor 2 set 50\n"},
                      LevelCase{std::string(kMonitor37) + "[monitor 2]\nddc = refuse-write 20 100\n" + kPanel480, "50%",
                                "monitor 1 set 50\nbacklight intel_backlight set 240\n"},
                      LevelCase{std::string(kRefusing) + "[monitor 2]\nddc = refuse\n" + kPanel480, "75%",
                                "backlight intel_backlight set 360\nbacklight intel_backlight set 360\n"}));

const char* const kNoMonitorHandle = "[display]\nmonitor-handle = no\n[backlight panel]\nbrightness = 49\nmax = 100\n";

// Without a monitor handle the monitor route says so in a box, on show and again on a click;
// the service still gives the caption. The box waits for the user: the window's timer does not
// take it away while the program is active.
TEST_F(Windows, NoMonitorHandleShowsTheBoxOnShowAndOnALevel) {
  const Outcome o = RunScript(kNoMonitorHandle, "wait 1000\nanswer-box\ndump " + DumpFile() +
                                                    "\nclick-on 50%\nwait 1000\nanswer-box\nwait-exit 0\n");
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.err, "ディスプレイが見つかりませんでした\nディスプレイが見つかりませんでした\n");
  EXPECT_EQ(WindowLine(Dump(), "TMainForm").rfind("TMainForm \"輝度50％\"", 0), 0u) << Dump();
  EXPECT_EQ(o.writes, "");
}

TEST_F(Windows, AClickElsewhereWhileTheBoxIsUpEndsTheProgram) {
  const Outcome o = RunScript(kNoMonitorHandle, "wait 100\nclick-other\nwait-exit 400\n");
  EXPECT_EQ(o.status, 0) << o.err;
}

TEST_F(Windows, TheAboutWindowKeepsTheProgramOpen) {
  const Outcome o = RunScript(kMonitor37, std::string(kGear) + "wait 1500\ndump " + DumpFile() + "\n" + kAboutCloseBox +
                                              kMainCloseBox + "wait-exit 0\n");
  EXPECT_EQ(o.status, 0) << o.err;
  const std::string about = WindowLine(Dump(), "TFormOption");
  EXPECT_EQ(about.rfind("TFormOption \"オプション\" ", 0), 0u) << about;
  EXPECT_NE(about.find(" visible enabled active"), std::string::npos) << about;
  EXPECT_NE(WindowLine(Dump(), "TMainForm").find(" visible disabled"), std::string::npos) << Dump();
}

struct AboutCase {
  const char* name;
  const char* close;  // the script lines that close the about window
  bool timerRestarts;
};

class AboutClosing : public Windows, public ::testing::WithParamInterface<AboutCase> {};

// Closed with its button, by a key or by its own timer, the about window gives 1 and the
// brightness window's timer runs again: a click elsewhere ends the program. Closed from its
// title bar it gives 2 and the brightness window stays open.
TEST_P(AboutClosing, RestartsTheBrightnessTimerUnlessClosedFromTheTitleBar) {
  const AboutCase& c = GetParam();
  const std::string ending =
      c.timerRestarts ? "wait-exit 400\n" : "wait 2000\n" + std::string(kMainCloseBox) + "wait-exit 0\n";
  const std::string script =
      std::string(kGear) + "wait 100\n" + c.close + "wait 100\ndump " + DumpFile() + "\nclick-other\n" + ending;
  const Outcome o = RunScript(kMonitor37, script);
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_NE(WindowLine(Dump(), "TFormOption").find(" hidden "), std::string::npos) << Dump();
  EXPECT_NE(WindowLine(Dump(), "TMainForm").find(" visible enabled active"), std::string::npos) << Dump();
}

INSTANTIATE_TEST_SUITE_P(Ways, AboutClosing,
                         ::testing::Values(AboutCase{"Button", "click-on 閉じる\n", true},
                                           AboutCase{"Escape", "key Escape\n", true},
                                           AboutCase{"Letter", "key a\n", true},
                                           AboutCase{"TitleBar", kAboutCloseBox, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Losing the activation closes the about window within a tick, then the brightness window.
TEST_F(Windows, FocusLossClosesBothWindows) {
  const Outcome o = RunScript(kMonitor37, std::string(kGear) + "wait 100\nclick-other\nwait-exit 800\n");
  EXPECT_EQ(o.status, 0) << o.err;
}

// The author line opens the guide; the browser that comes up takes the activation, which closes
// both windows.
TEST_F(Windows, TheAuthorLineOpensTheGuide) {
  const Outcome o = RunScript(kMonitor37, std::string(kGear) +
                                              "wait 100\nclick-on Velmora, by the Velmora team: open the guide\n"
                                              "wait-exit 800\n");
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.err.find("velmora: opening file://"), std::string::npos) << o.err;
  EXPECT_NE(o.err.find("/index.html"), std::string::npos) << o.err;
}

// The skin engine's own switch shows its version before the windows come.
TEST_F(Windows, TheEngineVersionSwitchShowsABoxFirst) {
  const auto script = tree.Write("v.script", "answer-box\nclick-other\nwait-exit 400\n");
  const Outcome o = Run(kMonitor37, "/acver --script " + script.string());
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.err, "Brivantis v8.41\n");
}

// A headless run without a script shows the window, saves the screenshot and ends.
TEST_F(Windows, AnUnattendedRunSavesTheScreenshot) {
  const auto shot = tree.root() / "shot.png";
  const Outcome o = Run(kMonitor37, "--screenshot " + shot.string());
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.err.find("screenshot saved to " + shot.string()), std::string::npos) << o.err;
  EXPECT_GT(std::filesystem::file_size(shot), 1000u);
}

}  // namespace
}  // namespace velmora::test

namespace velmora::test {
namespace {

// A skin named like the program's own in the user's skin folder is tried first; when it cannot
// be read, the manager says so and the windows stay plain and work.
TEST_F(Windows, ABrokenUserSkinLeavesPlainWindowsThatStillSetTheBrightness) {
  tree.Write("data/velmora/c/Skins/skin.asz", "no archive");
  setenv("XDG_DATA_HOME", (tree.root() / "data").c_str(), 1);
  const Outcome o = RunScript(kMonitor37, "answer-box\nwait 100\nclick-at TMainForm 70 75\nwait-exit 400\n");
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.err.find("not a packed"), std::string::npos) << o.err;
  EXPECT_EQ(o.writes, "monitor 1 set 0\n");
}

}  // namespace
}  // namespace velmora::test
