#pragma once
// Inside the management service: the names it knows and how object paths spell instances.
#include <optional>
#include <string>
#include <string_view>

namespace plat::wmi {

inline constexpr std::u16string_view kNamespace = u"root\\wmi";
inline constexpr std::u16string_view kBrightnessClass = u"WmiMonitorBrightness";
inline constexpr std::u16string_view kMethodsClass = u"WmiMonitorBrightnessMethods";
inline constexpr std::u16string_view kParametersClass = u"__PARAMETERS";
inline constexpr std::u16string_view kSetBrightnessMethod = u"WmiSetBrightness";

// A caller's string, read up to its null; null reads as empty.
std::u16string_view View(const char16_t* text);
// Names, classes, queries and namespaces compare without regard to ASCII case.
bool SameName(std::u16string_view a, std::u16string_view b);

struct ObjectPath {
  std::u16string className;
  std::optional<std::string> instance;  // the InstanceName key, when the path names an instance
};

// "Class", "Class.InstanceName=\"name\"", either after an optional "...root\wmi:" prefix.
std::optional<ObjectPath> ParseObjectPath(std::u16string_view path);
std::u16string InstancePath(std::u16string_view className, const std::string& instance);

}  // namespace plat::wmi
