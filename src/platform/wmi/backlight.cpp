#include "platform/wmi/backlight.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <system_error>

#include "platform/base/bounded_file.h"
#include "platform/base/decimal.h"
#include "platform/base/error.h"
#include "platform/base/level_scale.h"
#include "platform/wmi/logind.h"

namespace plat {

const char* BacklightTypeName(BacklightType type) {
  switch (type) {
    case BacklightType::Firmware: return "firmware";
    case BacklightType::Platform: return "platform";
    case BacklightType::Raw: return "raw";
  }
  return "raw";
}

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kAttributeLimit = 64;
constexpr std::size_t kMaxDevices = 64;
constexpr std::size_t kMaxNameLength = 64;
// The kernel keeps these levels in an int.
constexpr std::uint64_t kMaxLevel = std::numeric_limits<std::int32_t>::max();
// From this maximum on, 0 % is written as 1.
constexpr std::uint32_t kFineSteps = 99;

BacklightSettings& Settings() {
  static BacklightSettings settings;
  return settings;
}

[[noreturn]] void Fail(const std::string& device, const std::string& what) { throw Error("backlight " + device + ": " + what); }

// Reads one attribute, without its line end.
std::string Attribute(const BacklightSettings& settings, const std::string& device, const char* file) {
  if (settings.unreadable && settings.unreadable(device)) Fail(device, std::string(file) + ": cannot be read");
  std::string text;
  try {
    text = ReadBoundedFile(settings.root / device / file, kAttributeLimit);
  } catch (const Error& e) {
    Fail(device, e.what());
  }
  if (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

std::uint32_t Level(const BacklightSettings& settings, const std::string& device, const char* file) {
  const std::string text = Attribute(settings, device, file);
  if (text.empty()) Fail(device, std::string(file) + " is empty");
  if (text[0] == '-') Fail(device, std::string(file) + " is negative: " + text);
  const auto value = ParseDecimal(text, kMaxLevel);
  if (!value) {
    const bool digits = std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    Fail(device, std::string(file) + (digits ? " is too large: " : " is not a number: ") + text.substr(0, 20));
  }
  return static_cast<std::uint32_t>(*value);
}

BacklightType Type(const BacklightSettings& settings, const std::string& device) {
  const std::string text = Attribute(settings, device, "type");
  for (const BacklightType type : {BacklightType::Firmware, BacklightType::Platform, BacklightType::Raw}) {
    if (text == BacklightTypeName(type)) return type;
  }
  Fail(device, "unknown type: " + text.substr(0, 20));
}

// A raw device's "device" is the connector of its panel; a panel that is switched off (a closed
// lid, a second GPU's idle output) should not be the one written.
std::optional<bool> ConnectorEnabled(const BacklightSettings& settings, const std::string& device) {
  try {
    std::string text = ReadBoundedFile(settings.root / device / "device" / "enabled", kAttributeLimit);
    if (!text.empty() && text.back() == '\n') text.pop_back();
    if (text == "enabled") return true;
    if (text == "disabled") return false;
  } catch (const Error&) {
  }
  return std::nullopt;
}

// Returns 0, or the errno of the open or the write.
int WriteDirectly(const fs::path& file, const std::string& text) {
  const int fd = ::open(file.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return errno;
  struct stat info {};
  int error = 0;
  if (::fstat(fd, &info) != 0) {
    error = errno;
  } else if (!S_ISREG(info.st_mode)) {
    error = EINVAL;
  } else if (::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
    error = errno ? errno : EIO;
  }
  ::close(fd);
  return error;
}

}  // namespace

void SetBacklightSettings(BacklightSettings settings) { Settings() = std::move(settings); }

const BacklightSettings& CurrentBacklightSettings() { return Settings(); }

bool IsBacklightName(const std::string& name) {
  if (name.empty() || name.size() > kMaxNameLength || name == "." || name == "..") return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
           c == '.' || c == ':' || c == '+';
  });
}

Backlight ReadBacklight(const BacklightSettings& settings, const std::string& name) {
  if (!IsBacklightName(name)) Fail(name.substr(0, kMaxNameLength), "not a device name");
  Backlight device;
  device.name = name;
  device.type = Type(settings, name);
  device.maximum = Level(settings, name, "max_brightness");
  device.brightness = Level(settings, name, "brightness");
  if (device.maximum == 0) Fail(name, "max_brightness is 0");
  device.brightness = std::min(device.brightness, device.maximum);  // some drivers report more
  if (device.type == BacklightType::Raw) device.connectorEnabled = ConnectorEnabled(settings, name);
  return device;
}

std::vector<Backlight> ListBacklights(const BacklightSettings& settings, std::vector<std::string>* problems) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(settings.root, ec)) {
    if (names.size() == kMaxDevices) {
      if (problems) problems->push_back("more than " + std::to_string(kMaxDevices) + " backlight devices");
      break;
    }
    names.push_back(entry.path().filename().string());
  }
  std::vector<Backlight> devices;
  for (const std::string& name : names) {
    try {
      devices.push_back(ReadBacklight(settings, name));
    } catch (const Error& e) {
      if (problems) problems->push_back(e.what());
    }
  }
  std::sort(devices.begin(), devices.end(), [](const Backlight& a, const Backlight& b) {
    return a.type != b.type ? a.type < b.type : a.name < b.name;
  });
  return devices;
}

std::optional<Backlight> ChooseBacklight(const std::vector<Backlight>& devices) {
  const auto first = [&](auto keep) -> std::optional<Backlight> {
    for (const Backlight& d : devices)
      if (keep(d)) return d;
    return std::nullopt;
  };
  if (auto d = first([](const Backlight& b) { return b.type == BacklightType::Firmware; })) return d;
  if (auto d = first([](const Backlight& b) { return b.type == BacklightType::Platform; })) return d;
  if (auto d = first([](const Backlight& b) { return b.connectorEnabled == true; })) return d;
  return first([](const Backlight&) { return true; });
}

int BrightnessPercent(const Backlight& device) { return PercentOfRange(device.brightness, device.maximum); }

std::uint32_t RawBrightness(int percent, std::uint32_t maximum) {
  const std::uint32_t raw = RangeOfPercent(percent, maximum);
  // Many panels go black at 0; a device with fine steps keeps its lowest light instead.
  return raw == 0 && maximum >= kFineSteps ? 1 : raw;
}

void WriteBacklight(const BacklightSettings& settings, const std::string& name, int percent) {
  if (percent < 0 || percent > 100) Fail(name, "level " + std::to_string(percent) + " is not 0 to 100");
  const Backlight device = ReadBacklight(settings, name);
  const std::uint32_t raw = RawBrightness(percent, device.maximum);
  const bool refused = settings.unwritable && settings.unwritable(name);
  const int error = refused ? EACCES : WriteDirectly(settings.root / name / "brightness", std::to_string(raw) + "\n");
  if (error == EACCES || error == EPERM || error == EROFS) {
    if (settings.privilegedWrite) {
      settings.privilegedWrite(name, raw);
    } else {
      LogindSetBrightness("backlight", name, raw);
    }
  } else if (error != 0) {
    Fail(name, std::string("brightness cannot be written: ") + std::strerror(error));
  }
  if (settings.written) settings.written(name, raw);
}

}  // namespace plat
