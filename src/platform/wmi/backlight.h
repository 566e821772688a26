#pragma once
// The kernel's backlight devices behind the management service. A device's level is read from
// its "brightness" file rather than "actual_brightness": it is the value that writes (ours and
// logind's) set, so a read after a write shows the level written, while the hardware's own
// figure may lag or be quantised. Devices whose files cannot be read or hold nonsense are left
// out of the service, never half-offered. One device serves a panel (a laptop often has a firmware
// and a raw device for the same one): the one ChooseBacklight names.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace plat {

enum class BacklightType { Firmware, Platform, Raw };  // also the order devices are offered in

// The kernel's name of a type, as its "type" file holds it.
const char* BacklightTypeName(BacklightType type);

struct Backlight {
  std::string name;
  BacklightType type = BacklightType::Raw;
  std::uint32_t brightness = 0;  // at most maximum: a higher reading counts as the maximum
  std::uint32_t maximum = 1;
  std::optional<bool> connectorEnabled;  // raw devices: whether their panel's connector is on
};

struct BacklightSettings {
  std::filesystem::path root = "/sys/class/backlight";
  // Simulated read and write faults, for machines where a file of mode 000 is still readable
  // and writable (root).
  std::function<bool(const std::string& device)> unreadable;
  std::function<bool(const std::string& device)> unwritable;
  // Used when "brightness" is not writable for us; throws Error when refused. Empty: logind.
  std::function<void(const std::string& device, std::uint32_t raw)> privilegedWrite;
  // Told of every write that went through.
  std::function<void(const std::string& device, std::uint32_t raw)> written;
};

// Replaces the settings in force (the default ones read the real sysfs).
void SetBacklightSettings(BacklightSettings settings);
const BacklightSettings& CurrentBacklightSettings();

// A device folder's name as it may appear in an object path: no separators, quotes or dots alone.
bool IsBacklightName(const std::string& name);

// Throws Error naming the device and the file that is wrong.
Backlight ReadBacklight(const BacklightSettings& settings, const std::string& name);

// The readable devices, firmware before platform before raw, then by name. The reasons others
// were left out go to problems when given.
std::vector<Backlight> ListBacklights(const BacklightSettings& settings, std::vector<std::string>* problems = nullptr);

// The device the service offers: the first firmware device, else platform, else a raw device
// whose connector is enabled, else any raw one. nullopt for no devices.
std::optional<Backlight> ChooseBacklight(const std::vector<Backlight>& devices);

// round(brightness * 100 / maximum)
int BrightnessPercent(const Backlight& device);
// round(percent * maximum / 100), but 1 rather than 0 where the maximum is 99 or more.
std::uint32_t RawBrightness(int percent, std::uint32_t maximum);

// Writes percent (0 to 100) as a raw value: straight to "brightness" when we may, else through
// the privileged writer. Throws Error when the device cannot be read or the write is refused.
void WriteBacklight(const BacklightSettings& settings, const std::string& name, int percent);

}  // namespace plat
