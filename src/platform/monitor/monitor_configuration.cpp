#include "platform/monitor/monitor_configuration.h"

#include <algorithm>
#include <exception>
#include <map>
#include <thread>

#include "platform/base/problems.h"
#include "platform/base/utf.h"
#include "platform/monitor/ddc_packets.h"
#include "platform/monitor/physical_monitor_provider.h"

namespace plat {

namespace {

struct PhysicalMonitor {
  std::function<std::unique_ptr<DdcTransport>()> open;
  std::string name;  // for reports: the description
  std::string channel;
  std::string problem;
  std::unique_ptr<DdcTransport> transport;
  bool opened = false;
  std::optional<VcpValue> known;  // the last value read or written on this handle

  // Opened once: a channel that could not be opened stays refused for this handle's life.
  DdcTransport* Channel() {
    if (!opened) {
      opened = true;
      try {
        if (open) transport = open();
      } catch (const std::exception& e) {
        problem = e.what();
        transport.reset();  // a channel that fails to open refuses, like a missing one
      } catch (...) {
        transport.reset();
      }
    }
    if (!transport && !problem.empty()) Report();
    return transport.get();
  }

  void Fail(std::string why) {
    problem = std::move(why);
    Report();
  }
  void Report() const { ReportProblem(name + ": " + problem); }
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
    PhysicalMonitor& m = state.monitors[handle];
    m.open = std::move((*sources)[i].open);
    m.name = Utf16ToUtf8((*sources)[i].description);
    m.channel = std::move((*sources)[i].channel);
    m.problem = std::move((*sources)[i].problem);
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
  std::string why;
  m->known = ReadVcp(*channel, kVcpBrightness, Sleep, &why);
  if (!m->known) {
    m->Fail(why);
    return FALSE;
  }
  *minimum = 0;
  *current = m->known->current;
  *maximum = m->known->maximum;
  return TRUE;
}

BOOL SetMonitorBrightness(HANDLE monitor, DWORD level) {
  PhysicalMonitor* m = Find(monitor);
  if (!m || level > 0xFFFF) return FALSE;  // a VCP value has 16 bits
  DdcTransport* channel = m->Channel();
  if (!channel) return FALSE;
  // Some displays ignore a set on a freshly opened bus until they were read; the read also tells
  // a display that answers nothing sensible, and spares its memory a write of the same value.
  if (!m->known) {
    std::string why;
    m->known = ReadVcp(*channel, kVcpBrightness, Sleep, &why);
    if (!m->known) {
      m->Fail(why);
      return FALSE;
    }
  }
  if (m->known->current == level) return TRUE;
  if (!WriteVcp(*channel, kVcpBrightness, static_cast<std::uint16_t>(level), Sleep)) {
    m->Fail("the monitor does not take the setting");
    return FALSE;
  }
  m->known->current = static_cast<std::uint16_t>(level);
  return TRUE;
}

std::optional<PhysicalMonitorChannel> DescribePhysicalMonitorChannel(HANDLE monitor) {
  const PhysicalMonitor* m = Find(monitor);
  if (!m) return std::nullopt;
  return PhysicalMonitorChannel{m->channel, m->problem};
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
