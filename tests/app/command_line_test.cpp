#include "app/command_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmora {
namespace {

CommandLine Parse(std::vector<std::string> arguments) { return ParseCommandLine(arguments); }

TEST(CommandLine, TakesEveryOptionWithItsValue) {
  const CommandLine line = Parse({"--headless", "--simulate", "m.sim", "--simulate-log", "w.log", "--script", "s.txt",
                                  "--screenshot", "shot.png", "--extract-skin", "skin", "--set", "75", "/acver", "/actest"});
  EXPECT_TRUE(line.headless);
  EXPECT_EQ(line.simulate, "m.sim");
  EXPECT_EQ(line.simulateLog, "w.log");
  EXPECT_EQ(line.script, "s.txt");
  EXPECT_EQ(line.screenshot, "shot.png");
  EXPECT_EQ(line.extractSkin, "skin");
  EXPECT_EQ(line.set, 75);
  EXPECT_FALSE(line.get);
  EXPECT_TRUE(line.acver);
  EXPECT_TRUE(line.actest);
  EXPECT_TRUE(Parse({}).set == std::nullopt);
  EXPECT_TRUE(Parse({"--list"}).list);
}

TEST(CommandLine, LevelsAtTheEdgesAreTaken) {
  EXPECT_EQ(Parse({"--set", "0"}).set, 0);
  EXPECT_EQ(Parse({"--set", "100"}).set, 100);
}

TEST(CommandLine, RefusesBadInputWithAMessageNamingIt) {
  struct Case {
    std::vector<std::string> arguments;
    const char* said;
  } cases[] = {
      {{"--set", "101"}, "0 to 100, not \"101\""},
      {{"--set", "-1"}, "not \"-1\""},
      {{"--set", "5x"}, "not \"5x\""},
      {{"--set", ""}, "not \"\""},
      {{"--set", "99999999999999999999"}, "not \"99999999999999999999\""},
      {{"--set"}, "--set needs a value"},
      {{"--simulate"}, "--simulate needs a value"},
      {{"--bogus"}, "unknown option \"--bogus\""},
      {{"acver"}, "unknown option \"acver\""},
      {{"--get", "--get"}, "--get is given twice"},
      {{"--script", "a", "--script", "b"}, "--script is given twice"},
      {{"--get", "--set", "5"}, "cannot be used together"},
      {{"--list", "--get"}, "cannot be used together"},
      {{"--set", "5", "--list"}, "cannot be used together"},
      {{"--simulate-log", "w.log"}, "needs --simulate"},
  };
  for (const Case& c : cases) {
    try {
      Parse(c.arguments);
      ADD_FAILURE() << "accepted: " << c.said;
    } catch (const CommandLineError& e) {
      EXPECT_NE(std::string(e.what()).find(c.said), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace velmora
