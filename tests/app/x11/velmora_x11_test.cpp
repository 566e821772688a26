// The velmora binary on a real X server with a window manager: the brightness window stays up
// while it is active and ends the program once the user clicks another program's window.
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/platform/display/x11/x_session.h"
#include "tests/platform/temp_tree.h"

namespace velmora {
namespace {

// The exit status once the process has ended within the time, else -1.
int WaitForExit(pid_t pid, std::chrono::milliseconds within) {
  const auto until = std::chrono::steady_clock::now() + within;
  int status = 0;
  while (std::chrono::steady_clock::now() < until) {
    if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return -1;
}

TEST(VelmoraOnX11, StaysWhileActiveAndEndsOnAClickElsewhere) {
  plat::test::XSession session;
  if (!session.Ok()) GTEST_SKIP() << session.Why();
  ASSERT_TRUE(session.StartWindowManager());
  plat::RECT other{};
  ASSERT_TRUE(session.StartOtherProgram("another program", &other));
  plat::test::TempTree tree;
  const auto machine = tree.Write("machine.sim", "[monitor 1]\nddc = 37 100\n");
  const pid_t velmora = session.Spawn({VELMORA_BINARY, "--simulate", machine.string()});
  ASSERT_GT(velmora, 0);
  // Mapped, activated by the window manager, and still there several timer ticks later.
  EXPECT_EQ(WaitForExit(velmora, std::chrono::milliseconds(1500)), -1) << "the window closed by itself";
  session.Click({other.left + 10, other.top + 10});
  const int status = WaitForExit(velmora, std::chrono::milliseconds(3000));
  if (status == -1) session.Stop(velmora);
  EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace velmora
