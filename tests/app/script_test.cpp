#include "app/script.h"

#include <gtest/gtest.h>

#include "platform/base/keys.h"

namespace velmora {
namespace {

using Kind = ScriptCommand::Kind;

TEST(ParseScript, ReadsEveryCommandAndSkipsCommentsAndBlankLines) {
  const auto commands = ParseScript(
      "# a run\n"
      "wait 400\n"
      "\n"
      "move 10 20   # pointer\n"
      "down 1 2\r\n"
      "up 3 4\n"
      "click -5 6\n"
      "click-at TMainForm 30 40\n"
      "click-on   Close window  \n"
      "click-on \"OK\"\n"
      "key Enter\n"
      "key escape\n"
      "key a\n"
      "key 7\n"
      "click-other\n"
      "screenshot out dir/shot.png\n"
      "dump tree.txt\n"
      "answer-box\n"
      "wait-exit 1000\n"
      "screenshot-window TFormOption docs/about window.png\n");
  ASSERT_EQ(commands.size(), 18u);
  EXPECT_EQ(commands[0].kind, Kind::Wait);
  EXPECT_EQ(commands[0].ms, 400u);
  EXPECT_EQ(commands[0].line, 2);
  EXPECT_EQ(commands[1].kind, Kind::Move);
  EXPECT_EQ(commands[1].line, 4);
  EXPECT_EQ(commands[1].x, 10);
  EXPECT_EQ(commands[1].y, 20);
  EXPECT_EQ(commands[2].kind, Kind::Down);
  EXPECT_EQ(commands[3].kind, Kind::Up);
  EXPECT_EQ(commands[4].x, -5);
  EXPECT_EQ(commands[5].kind, Kind::ClickAt);
  EXPECT_EQ(commands[5].text, "TMainForm");
  EXPECT_EQ(commands[5].y, 40);
  EXPECT_EQ(commands[6].text, "Close window");
  EXPECT_EQ(commands[7].text, "OK");
  EXPECT_EQ(commands[8].vk, plat::VK_RETURN);
  EXPECT_EQ(commands[9].vk, plat::VK_ESCAPE);
  EXPECT_EQ(commands[10].vk, static_cast<unsigned>('A'));
  EXPECT_EQ(commands[10].character, U'a');
  EXPECT_EQ(commands[11].vk, static_cast<unsigned>('7'));
  EXPECT_EQ(commands[12].kind, Kind::ClickOther);
  EXPECT_EQ(commands[13].text, "out dir/shot.png");
  EXPECT_EQ(commands[14].kind, Kind::Dump);
  EXPECT_EQ(commands[15].kind, Kind::AnswerBox);
  EXPECT_EQ(commands[16].kind, Kind::WaitExit);
  EXPECT_EQ(commands[16].ms, 1000u);
  EXPECT_EQ(commands[17].kind, Kind::ScreenshotWindow);
  EXPECT_EQ(commands[17].text, "TFormOption");
  EXPECT_EQ(commands[17].file, "docs/about window.png");
}

TEST(ParseScript, RefusesBadLinesNamingThem) {
  struct Case {
    const char* text;
    const char* said;
  } cases[] = {
      {"jump 1 2\n", "line 1: unknown command \"jump\""},
      {"wait 1\nwait\n", "line 2: wait takes 1 argument, not 0"},
      {"wait -5\n", "\"-5\" is not a time"},
      {"wait 5ms\n", "\"5ms\" is not a time"},
      {"wait 99999999999\n", "is not a time"},
      {"wait 184467440737095516160\n", "is not a time"},
      {"move 1\n", "move takes 2 arguments, not 1"},
      {"click 1 2 3\n", "click takes 2 arguments, not 3"},
      {"click x 2\n", "\"x\" is not a coordinate"},
      {"click 1 2000000\n", "\"2000000\" is not a coordinate"},
      {"click-at TMainForm 1\n", "click-at takes 3 arguments"},
      {"click-on\n", "click-on needs an argument"},
      {"click-on \"\"\n", "click-on needs an argument"},
      {"key\n", "key takes 1 argument"},
      {"key F1\n", "unknown key \"F1\""},
      {"key !\n", "unknown key \"!\""},
      {"click-other now\n", "click-other takes 0 arguments, not 1"},
      {"answer-box 1\n", "answer-box takes 0 arguments"},
      {"screenshot\n", "screenshot needs an argument"},
      {"dump # nothing\n", "dump needs an argument"},
      {"screenshot-window TMainForm\n", "screenshot-window needs a class and a file"},
      {"\n\nwait-exit\n", "line 3: wait-exit takes 1 argument"},
  };
  for (const Case& c : cases) {
    try {
      ParseScript(c.text);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const ScriptError& e) {
      EXPECT_NE(std::string(e.what()).find(c.said), std::string::npos) << e.what();
    }
  }
  EXPECT_THROW(ParseScript(std::string_view("wait 1\0\n", 8)), ScriptError);
}

TEST(LoadScript, NamesTheFile) {
  EXPECT_THROW(LoadScript("/nonexistent/velmora.script"), std::exception);
}

}  // namespace
}  // namespace velmora
