#include "platform/wmi/wmi_names.h"

#include "platform/base/utf.h"

namespace plat::wmi {

namespace {

char16_t Fold(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool EndsWith(std::u16string_view text, std::u16string_view end) {
  return text.size() >= end.size() && SameName(text.substr(text.size() - end.size()), end);
}

constexpr std::u16string_view kKey = u"InstanceName";

}  // namespace

std::u16string_view View(const char16_t* text) { return text ? std::u16string_view(text) : std::u16string_view(); }

bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Fold(a[i]) != Fold(b[i])) return false;
  return true;
}

std::optional<ObjectPath> ParseObjectPath(std::u16string_view path) {
  if (const auto colon = path.find(u':'); colon != std::u16string_view::npos) {
    if (!EndsWith(path.substr(0, colon), kNamespace)) return std::nullopt;
    path.remove_prefix(colon + 1);
  }
  ObjectPath result;
  const auto dot = path.find(u'.');
  result.className = std::u16string(path.substr(0, dot));
  if (result.className.empty()) return std::nullopt;
  if (dot == std::u16string_view::npos) return result;
  std::u16string_view key = path.substr(dot + 1);
  const auto equals = key.find(u'=');
  if (equals == std::u16string_view::npos || !SameName(key.substr(0, equals), kKey)) return std::nullopt;
  std::u16string_view value = key.substr(equals + 1);
  if (value.size() < 2 || value.front() != u'"' || value.back() != u'"') return std::nullopt;
  value = value.substr(1, value.size() - 2);
  if (value.find_first_of(u"\"\\") != std::u16string_view::npos) return std::nullopt;
  result.instance = Utf16ToUtf8(value);
  return result;
}

std::u16string InstancePath(std::u16string_view className, const std::string& instance) {
  return std::u16string(className) + u"." + std::u16string(kKey) + u"=\"" + Utf8ToUtf16(instance) + u"\"";
}

}  // namespace plat::wmi
