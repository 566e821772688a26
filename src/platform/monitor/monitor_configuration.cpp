#include "platform/monitor/monitor_configuration.h"

#include <algorithm>
#include <map>
#include <thread>

#include "platform/monitor/ddc_packets.h"
#include "platform/monitor/physical_monitor_provider.h"

namespace plat {

namespace {

struct PhysicalMonitor {
  std::function<std::unique_ptr<DdcTransport>()> open;
  std::unique_ptr<DdcTransport> transport;
  bool opened = false;

  // Opened once: a channel that could not be opened stays refused for this handle's life.
  DdcTransport* Channel() {
    if (!opened) {
      opened = true;
      try {
        if (open) transport = open();
      } catch (...) {
        transport.reset();  // a channel that fails to open refuses, like a missing one
      }
    }
    return transport.get();
  }
};

struct State {
  PhysicalMonitorProvider provider;
  SleepFunction sleep;
  // Handles are numbers never reused, so a destroyed handle finds nothing.
  std::map<std::uintptr_t, PhysicalMonitor> monitors;
  std::uintptr_t nextHandle = 0x5100;
};

State& GetState() {
  static State state;
  return state;
}

void Sleep(std::chrono::milliseconds duration) {
  const SleepFunction& sleep = GetState().sleep;
  if (sleep) {
    sleep(duration);
  } else {
    std::this_thread::sleep_for(duration);
  }
}

std::optional<std::vector<PhysicalMonitorSource>> SourcesOf(HMONITOR monitor) {
  const State& state = GetState();
  if (!monitor || !state.provider) return std::nullopt;
  try {
    return state.provider(monitor);
  } catch (...) {
    return std::nullopt;
  }
}

PhysicalMonitor* Find(HANDLE handle) {
  auto& monitors = GetState().monitors;
  auto it = monitors.find(reinterpret_cast<std::uintptr_t>(handle));
  return it == monitors.end() ? nullptr : &it->second;
}

void CopyDescription(const std::u16string& from, char16_t (&to)[PHYSICAL_MONITOR_DESCRIPTION_SIZE]) {
  const std::size_t n = std::min(from.size(), PHYSICAL_MONITOR_DESCRIPTION_SIZE - 1);
  std::copy_n(from.begin(), n, to);
  std::fill(to + n, to + PHYSICAL_MONITOR_DESCRIPTION_SIZE, u'\0');
}

}  // namespace

void SetPhysicalMonitorProvider(PhysicalMonitorProvider provider) { GetState().provider = std::move(provider); }

void SetMonitorSleep(SleepFunction sleep) { GetState().sleep = std::move(sleep); }

BOOL GetNumberOfPhysicalMonitorsFromHMONITOR(HMONITOR monitor, DWORD* count) {
  if (!count) return FALSE;
  const auto sources = SourcesOf(monitor);
  if (!sources) return FALSE;
  *count = static_cast<DWORD>(sources->size());
  return TRUE;
}

BOOL GetPhysicalMonitorsFromHMONITOR(HMONITOR monitor, DWORD count, PHYSICAL_MONITOR* monitors) {
  if (!monitors || count == 0) return FALSE;
  auto sources = SourcesOf(monitor);
  // A different number means the outputs changed since they were counted.
  if (!sources || sources->size() != count) return FALSE;
  State& state = GetState();
  for (DWORD i = 0; i < count; ++i) {
    const std::uintptr_t handle = state.nextHandle++;
    state.monitors[handle].open = std::move((*sources)[i].open);
    monitors[i].hPhysicalMonitor = reinterpret_cast<HANDLE>(handle);
    CopyDescription((*sources)[i].description, monitors[i].szPhysicalMonitorDescription);
  }
  return TRUE;
}

BOOL GetMonitorBrightness(HANDLE monitor, DWORD* minimum, DWORD* current, DWORD* maximum) {
  PhysicalMonitor* m = Find(monitor);
  if (!m || !minimum || !current || !maximum) return FALSE;
  DdcTransport* channel = m->Channel();
  if (!channel) return FALSE;
  const auto value = ReadVcp(*channel, kVcpBrightness, Sleep);
  if (!value) return FALSE;
  *minimum = 0;
  *current = value->current;
  *maximum = value->maximum;
  return TRUE;
}

BOOL SetMonitorBrightness(HANDLE monitor, DWORD level) {
  PhysicalMonitor* m = Find(monitor);
  if (!m || level > 0xFFFF) return FALSE;  // a VCP value has 16 bits
  DdcTransport* channel = m->Channel();
  if (!channel) return FALSE;
  return WriteVcp(*channel, kVcpBrightness, static_cast<std::uint16_t>(level), Sleep) ? TRUE : FALSE;
}

BOOL DestroyPhysicalMonitor(HANDLE monitor) {
  return GetState().monitors.erase(reinterpret_cast<std::uintptr_t>(monitor)) ? TRUE : FALSE;
}

BOOL DestroyPhysicalMonitors(DWORD count, PHYSICAL_MONITOR* monitors) {
  if (count > 0 && !monitors) return FALSE;
  BOOL all = TRUE;
  for (DWORD i = 0; i < count; ++i)
    if (!DestroyPhysicalMonitor(monitors[i].hPhysicalMonitor)) all = FALSE;
  return all;
}

}  // namespace plat
