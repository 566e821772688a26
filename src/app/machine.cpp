#include "app/machine.h"

#include <cstdio>

#include "platform/display/x11/x11_display.h"
#include "platform/monitor/physical_monitor_provider.h"
#include "platform/monitor/sysfs_ddc_provider.h"
#include "platform/shell/shell.h"
#include "platform/wm/wm.h"

namespace velmora {

namespace {

using namespace plat;

// A desktop: the outputs the X server reports for a monitor handle, matched to their DRM
// connectors and i2c buses.
std::optional<std::vector<PhysicalMonitorSource>> X11Sources(HMONITOR monitor) {
  MONITORINFOEX info;
  if (!GetMonitorInfo(monitor, &info) || !CurrentDisplay()) return std::nullopt;
  for (const display::Monitor& m : CurrentDisplay()->Monitors())
    // The display does not report the output's CONNECTOR_ID yet: EDID and name decide.
    if (m.name == info.szDevice) return DdcSourcesForOutputs({OutputIdentity{m.name, m.edid, std::nullopt}});
  return std::nullopt;
}

// Headless and not simulated: one screen with no control channel, as a built-in panel, so the
// management service is asked.
std::optional<std::vector<PhysicalMonitorSource>> HeadlessSources(HMONITOR) {
  return std::vector<PhysicalMonitorSource>{{u"Headless screen", {}, "no DDC/CI (headless screen)", ""}};
}

std::unique_ptr<display::Display> OpenDisplay(bool headless) {
  if (!headless)
    if (auto x11 = display::OpenX11Display(nullptr)) return x11;
  return std::make_unique<display::HeadlessDisplay>();
}

}  // namespace

Machine::Machine(const MachineOptions& options) {
  // Bad files are reported before anything is changed.
  std::optional<SimulationConfig> config;
  if (options.simulate) config = LoadSimulation(*options.simulate);
  std::shared_ptr<SimulationLog> log;
  if (options.simulateLog) log = SimulationLog::Open(*options.simulateLog);

  auto display = OpenDisplay(options.headless);
  headless_ = dynamic_cast<display::HeadlessDisplay*>(display.get());
  InitPlatform(std::move(display));
  // DDC/CI waits pass on the display's clock, so headless runs take no real time.
  SetMonitorSleep([](std::chrono::milliseconds ms) {
    if (display::Display* d = CurrentDisplay()) d->GetClock().Sleep(static_cast<std::uint64_t>(ms.count()));
  });
  if (headless_) {
    const auto work = headless_->Monitors().front().work;
    otherProgram_ = {work.left + 40, work.bottom - 240, work.left + 360, work.bottom - 40};
    headless_->AddForeignWindow(otherProgram_, MakePixel(0xE8, 0xE8, 0xE0, 255), "Another program");
    // Nothing is started on a screen nobody sees: an opened address comes up as a browser
    // window of another program, which takes the activation as a real one would.
    SetShellOpener([this](const std::string& address) {
      std::fprintf(stderr, "velmora: opening %s\n", address.c_str());
      const auto work = headless_->Monitors().front().work;
      const RECT browser{work.right - 700, work.top + 60, work.right - 60, work.top + 540};
      headless_->ActivateForeign(headless_->AddForeignWindow(browser, MakePixel(0xFF, 0xFF, 0xFF, 255), address));
      return true;
    });
  }

  if (config) {
    simulation_ = ApplySimulation(*config, log);
    SetMonitorHandlesMissing(!simulation_->monitorHandle());
  } else {
    SetPhysicalMonitorProvider(headless_ ? PhysicalMonitorProvider(HeadlessSources) : PhysicalMonitorProvider(X11Sources));
  }
}

Machine::~Machine() {
  simulation_.reset();
  SetShellOpener(nullptr);
  SetPhysicalMonitorProvider(nullptr);
  SetMonitorHandlesMissing(false);
  ShutdownPlatform();
  SetMonitorSleep(nullptr);
}

}  // namespace velmora
