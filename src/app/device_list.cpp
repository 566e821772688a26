#include "app/device_list.h"

#include <string>
#include <vector>

#include "app/primary_monitors.h"
#include "platform/base/utf.h"
#include "platform/wmi/backlight.h"

namespace velmora {

namespace {

using namespace plat;

// Lists the monitors; tells whether any of them refuses (it is handed to the service on writing)
// and whether any answers (the first one is read).
void ListMonitors(std::ostream& out, bool& anyRefuses, bool& anyAnswers) {
  const PrimaryMonitors monitors(false);
  if (!monitors.displayFound()) {
    out << "no monitor handle for the primary display\n";
    return;
  }
  if (monitors.records().empty()) out << "the primary display's monitors cannot be told\n";
  int number = 0;
  for (const PHYSICAL_MONITOR& m : monitors.records()) {
    out << "monitor " << ++number << ": \"" << Utf16ToUtf8(m.szPhysicalMonitorDescription) << "\"";
    DWORD minimum = 0, current = 0, maximum = 0;
    const bool answers = GetMonitorBrightness(m.hPhysicalMonitor, &minimum, &current, &maximum) && maximum > 0;
    const auto channel = DescribePhysicalMonitorChannel(m.hPhysicalMonitor);
    if (channel && !channel->channel.empty()) out << ", " << channel->channel;
    if (answers) {
      out << ", maximum " << maximum << ", current " << current << (anyAnswers ? "" : " [read]") << " [written]\n";
      anyAnswers = true;
    } else {
      out << ", refuses";
      if (channel && !channel->problem.empty()) out << ": " << channel->problem;
      out << "\n";
      anyRefuses = true;
    }
  }
}

}  // namespace

void ListBrightnessDevices(std::ostream& out) {
  out << "[read]: what --get and the window's caption show; [written]: what --set and the level buttons set\n";
  bool anyRefuses = false, anyAnswers = false;
  ListMonitors(out, anyRefuses, anyAnswers);
  std::vector<std::string> problems;
  const std::vector<Backlight> devices = ListBacklights(CurrentBacklightSettings(), &problems);
  const auto chosen = ChooseBacklight(devices);
  const std::string root = CurrentBacklightSettings().root.string();
  for (const Backlight& d : devices) {
    out << "backlight " << d.name << ": " << BacklightTypeName(d.type) << ", " << root << "/" << d.name << ", maximum "
        << d.maximum << ", current " << d.brightness;
    if (d.connectorEnabled) out << ", connector " << (*d.connectorEnabled ? "enabled" : "disabled");
    if (chosen && chosen->name == d.name) {
      out << " [the service's device]";
      if (!anyAnswers) out << " [read]";
      if (anyRefuses) out << " [written]";
    }
    out << "\n";
  }
  for (const std::string& problem : problems) out << "left out: " << problem << "\n";
  if (devices.empty() && problems.empty()) out << "no backlight device in " << root << "\n";
}

}  // namespace velmora
