// On an X server the physical monitors of the primary display are its RandR outputs.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/machine.h"
#include "platform/base/utf.h"
#include "platform/display/display.h"
#include "tests/platform/display/x11/x_session.h"
#include "platform/monitor/monitor_configuration.h"
#include "platform/wm/wm.h"

namespace velmora {
namespace {

using namespace plat;

TEST(MachineOnX11, PrimaryOutputIsThePhysicalMonitor) {
  test::XSession session;
  if (!session.Ok()) GTEST_SKIP() << session.Why();
  const char* old = std::getenv("DISPLAY");
  const std::string saved = old ? old : "";
  ::setenv("DISPLAY", session.Name().c_str(), 1);
  {
    const Machine machine(MachineOptions{});
    ASSERT_EQ(machine.headless(), nullptr);
    std::string primary;
    for (const auto& m : CurrentDisplay()->Monitors())
      if (m.primary) primary = m.name;
    const HMONITOR monitor = MonitorFromWindow(nullptr, MONITOR_DEFAULTTOPRIMARY);
    DWORD count = 0;
    ASSERT_TRUE(GetNumberOfPhysicalMonitorsFromHMONITOR(monitor, &count));
    ASSERT_EQ(count, 1u);
    PHYSICAL_MONITOR record{};
    ASSERT_TRUE(GetPhysicalMonitorsFromHMONITOR(monitor, 1, &record));
    EXPECT_EQ(Utf16ToUtf8(record.szPhysicalMonitorDescription), primary);
    // A virtual server's output has no cable to talk over.
    DWORD lo = 0, cur = 0, hi = 0;
    EXPECT_FALSE(GetMonitorBrightness(record.hPhysicalMonitor, &lo, &cur, &hi));
    EXPECT_TRUE(DestroyPhysicalMonitors(1, &record));
  }
  if (old) ::setenv("DISPLAY", saved.c_str(), 1);
  else ::unsetenv("DISPLAY");
}

}  // namespace
}  // namespace velmora
