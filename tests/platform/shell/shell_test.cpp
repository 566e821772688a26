#include "platform/shell/shell.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "../temp_tree.h"

namespace plat::test {
namespace {

std::intptr_t Code(HINSTANCE h) { return reinterpret_cast<std::intptr_t>(h); }

class ShellOpen : public ::testing::Test {
 protected:
  void TearDown() override { SetShellOpener(nullptr); }
};

TEST_F(ShellOpen, HandsTheAddressToTheOpenerAndReportsItsAnswer) {
  std::string opened;
  bool answer = true;
  SetShellOpener([&](const std::string& address) {
    opened = address;
    return answer;
  });
  EXPECT_GT(Code(ShellExecute(nullptr, "open", "file:///usr/share/doc/velmora/index.html", nullptr, nullptr, SW_SHOW)),
            32);
  EXPECT_EQ(opened, "file:///usr/share/doc/velmora/index.html");
  answer = false;
  EXPECT_EQ(Code(ShellExecute(nullptr, nullptr, "https://example.org/", "", "", SW_SHOW)), SE_ERR_NOASSOC);
}

TEST_F(ShellOpen, RefusesWhatItCannotOpen) {
  int calls = 0;
  SetShellOpener([&](const std::string&) { return ++calls > 0; });
  EXPECT_EQ(Code(ShellExecute(nullptr, "open", "", nullptr, nullptr, SW_SHOW)), SE_ERR_FNF);
  EXPECT_EQ(Code(ShellExecute(nullptr, "open", nullptr, nullptr, nullptr, SW_SHOW)), SE_ERR_FNF);
  EXPECT_EQ(Code(ShellExecute(nullptr, "print", "a.txt", nullptr, nullptr, SW_SHOW)), SE_ERR_NOASSOC);
  EXPECT_EQ(Code(ShellExecute(nullptr, "open", "a.txt", "--flag", nullptr, SW_SHOW)), SE_ERR_NOASSOC);
  EXPECT_EQ(calls, 0);
}

// A real program started detached receives the address as its one argument, untouched by any
// shell, and outlives the call.
TEST_F(ShellOpen, StartsTheOpenerDetachedWithTheAddressAsItsArgument) {
  TempTree tree;
  const auto out = tree.root() / "opened.txt";
  const auto opener = tree.Write("opener", "#!/bin/sh\nprintf '%s' \"$1\" > \"" + out.string() + ".part\"\nmv \"" +
                                               out.string() + ".part\" \"" + out.string() + "\"\n");
  std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
  const std::string address = "file:///tmp/a b;$(touch x)`c`.html";
  ASSERT_TRUE(SpawnDetached(opener.string(), address));
  for (int i = 0; i < 500 && !std::filesystem::exists(out); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::ifstream in(out);
  std::stringstream got;
  got << in.rdbuf();
  EXPECT_EQ(got.str(), address);
  EXPECT_FALSE(std::filesystem::exists(tree.root() / "x"));
}

TEST_F(ShellOpen, AMissingOpenerIsAFailure) {
  EXPECT_FALSE(SpawnDetached("/nonexistent/velmora-opener", "file:///x"));
}

}  // namespace
}  // namespace plat::test
