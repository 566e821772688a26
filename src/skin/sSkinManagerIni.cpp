#include "skin/sSkinManagerIni.h"

#include <charconv>
#include <limits>

#include "framework/sysutils.h"

namespace velmora {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

const std::string* TacIniFile::Section::Find(std::string_view key) const {
  const auto it = index_.find(std::string(key));
  return it == index_.end() ? nullptr : &Keys[it->second].Value;
}

void TacIniFile::SetText(std::string_view text) {
  sections_.clear();
  index_.clear();
  AddText(text);
}

void TacIniFile::AddText(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::size_t current = std::numeric_limits<std::size_t>::max();
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end);
    if (text.starts_with("\r\n")) text.remove_prefix(2);
    else if (!text.empty()) text.remove_prefix(1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
      std::string name(Trim(line.substr(1, line.size() - 2)));
      const auto it = index_.find(name);
      if (it != index_.end()) {
        current = it->second;
      } else {
        current = sections_.size();
        index_.emplace(name, current);
        sections_.emplace_back().Name = std::move(name);
      }
      continue;
    }
    const std::size_t eq = line.find('=');
    if (current == std::numeric_limits<std::size_t>::max() || eq == std::string_view::npos) continue;
    Section& s = sections_[current];
    std::string key(Trim(line.substr(0, eq)));
    if (!s.index_.emplace(key, s.Keys.size()).second) continue;
    s.Keys.push_back({std::move(key), std::string(Trim(line.substr(eq + 1)))});
  }
}

const TacIniFile::Section* TacIniFile::FindSection(std::string_view name) const {
  const auto it = index_.find(std::string(name));
  return it == index_.end() ? nullptr : &sections_[it->second];
}

int TacIniFile::SectionIndex(std::string_view name) const {
  const auto it = index_.find(std::string(name));
  return it == index_.end() ? -1 : static_cast<int>(it->second);
}

const std::string* TacIniFile::Value(std::string_view section, std::string_view key) const {
  const Section* s = FindSection(section);
  return s ? s->Find(key) : nullptr;
}

std::string TacIniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const {
  const std::string* v = Value(section, key);
  return v ? *v : std::string(fallback);
}

int TacIniFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const {
  const std::string* v = Value(section, key);
  int result = 0;
  return v && TryParseIniInt(*v, result) ? result : fallback;
}

bool TacIniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
  const std::string* v = Value(section, key);
  return v ? IniTrueText(*v) : fallback;
}

double TacIniFile::ReadFloat(std::string_view section, std::string_view key, double fallback) const {
  const std::string* v = Value(section, key);
  double result = 0;
  return v && TryParseIniFloat(*v, result) ? result : fallback;
}

bool IniTrueText(std::string_view value) {
  const std::string up = fw::UpperCase(value);
  return up == "1" || up == "TRUE";
}

bool TryParseIniInt(std::string_view text, int& value) {
  std::int64_t v = 0;
  if (!fw::TryStrToInt64(text, v) || v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
    return false;
  value = static_cast<int>(v);
  return true;
}

bool TryParseIniFloat(std::string_view text, double& value) {
  text = Trim(text);
  if (text.starts_with('+')) text.remove_prefix(1);
  if (text.empty()) return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace velmora
