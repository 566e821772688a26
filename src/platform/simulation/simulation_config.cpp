#include "platform/simulation/simulation_config.h"

#include <limits>
#include <optional>
#include <set>
#include <sstream>

#include "platform/base/bounded_file.h"
#include "platform/base/decimal.h"
#include "platform/base/error.h"

namespace plat {

namespace {

constexpr std::size_t kQuoteLimit = 40;
constexpr std::uint64_t kMaxLevel = std::numeric_limits<std::int32_t>::max();

std::string_view Trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// Outside text inside a message: printable, and short.
std::string Printable(std::string_view s) {
  std::string out;
  for (char c : s.substr(0, kQuoteLimit)) out += (c >= 0x20 && c < 0x7F) ? c : '?';
  if (s.size() > kQuoteLimit) out += "...";
  return out;
}

// Appending, not "a" + b + "c": gcc 12 warns wrongly about the temporaries of the latter.
std::string Enclose(char open, std::string_view s, char close) {
  std::string out(1, open);
  out += Printable(s);
  out += close;
  return out;
}

std::string Quote(std::string_view s) { return Enclose('\'', s, '\''); }

std::vector<std::string_view> Words(std::string_view s) {
  std::vector<std::string_view> words;
  while (!(s = Trim(s)).empty()) {
    const auto end = s.find_first_of(" \t");
    words.push_back(s.substr(0, end));
    if (end == std::string_view::npos) break;
    s.remove_prefix(end);
  }
  return words;
}

class Parser {
 public:
  SimulationConfig Parse(std::string_view text) {
    std::size_t start = 0;
    while (start <= text.size()) {
      const auto end = std::min(text.find('\n', start), text.size());
      ++line_;
      Line(text.substr(start, end - start));
      start = end + 1;
    }
    EndSection();
    return config_;
  }

 private:
  enum class Section { None, Display, Monitor, Backlight };

  [[noreturn]] void Fail(const std::string& what) const { throw Error("line " + std::to_string(line_) + ": " + what); }

  void Line(std::string_view raw) {
    std::string_view s = raw.substr(0, raw.find(';'));
    if (!s.empty() && s.back() == '\r') s.remove_suffix(1);
    s = Trim(s);
    if (s.empty()) return;
    if (s.front() == '[') {
      if (s.back() != ']') Fail("section header " + Quote(s) + " lacks its ']'");
      StartSection(Trim(s.substr(1, s.size() - 2)));
      return;
    }
    const auto equals = s.find('=');
    if (equals == std::string_view::npos) Fail("expected 'key = value', found " + Quote(s));
    const std::string_view key = Trim(s.substr(0, equals));
    const std::string_view value = Trim(s.substr(equals + 1));
    if (key.empty()) Fail("missing key before '='");
    if (section_ == Section::None) Fail("key " + Quote(key) + " outside a section");
    if (value.empty()) Fail("missing value for " + Quote(key));
    if (!keys_.insert(std::string(key)).second) Fail("duplicate key " + Quote(key) + " in " + sectionName_);
    Key(key, value);
  }

  void StartSection(std::string_view header) {
    EndSection();
    const auto words = Words(header);
    sectionName_ = Enclose('[', header, ']');
    sectionLine_ = line_;
    if (words.size() == 1 && words[0] == "display") {
      if (seenDisplay_) Fail("duplicate section [display]");
      seenDisplay_ = true;
      section_ = Section::Display;
    } else if (words.size() == 2 && words[0] == "monitor") {
      const auto n = ParseDecimal(words[1], kMaxSimulatedMonitors + 1);
      if (!n || *n == 0) Fail("monitor number " + Quote(words[1]) + " is not 1 to " + std::to_string(kMaxSimulatedMonitors));
      if (*n <= config_.monitors.size()) Fail("duplicate section " + sectionName_);
      if (*n != config_.monitors.size() + 1)
        Fail(sectionName_ + " out of order: expected [monitor " + std::to_string(config_.monitors.size() + 1) + "]");
      if (*n > kMaxSimulatedMonitors) Fail("more than " + std::to_string(kMaxSimulatedMonitors) + " monitors");
      config_.monitors.emplace_back();
      section_ = Section::Monitor;
    } else if (words.size() == 2 && words[0] == "backlight") {
      const std::string name(words[1]);
      if (!IsBacklightName(name)) Fail("backlight name " + Quote(name) + " is not a device folder name");
      for (const auto& b : config_.backlights)
        if (b.name == name) Fail("duplicate section " + sectionName_);
      if (config_.backlights.size() == kMaxSimulatedBacklights)
        Fail("more than " + std::to_string(kMaxSimulatedBacklights) + " backlights");
      SimulatedBacklight backlight;
      backlight.name = name;
      config_.backlights.push_back(std::move(backlight));
      section_ = Section::Backlight;
    } else {
      Fail("unknown section " + Quote(header));
    }
  }

  // Sections whose required keys are missing are refused at their header's line.
  void EndSection() {
    const auto missing = [&](const char* key) {
      if (!keys_.count(key)) {
        line_ = sectionLine_;
        Fail(sectionName_ + " has no " + key + " line");
      }
    };
    if (section_ == Section::Monitor) missing("ddc");
    if (section_ == Section::Backlight) {
      missing("brightness");
      missing("max");
    }
    section_ = Section::None;
    keys_.clear();
  }

  void Key(std::string_view key, std::string_view value) {
    switch (section_) {
      case Section::Display:
        if (key != "monitor-handle") break;
        config_.monitorHandle = YesNo(key, value);
        return;
      case Section::Monitor:
        if (key != "ddc") break;
        config_.monitors.back() = Ddc(value);
        return;
      case Section::Backlight:
        if (BacklightKey(config_.backlights.back(), key, value)) return;
        break;
      case Section::None:
        break;
    }
    Fail("unknown key " + Quote(key) + " in " + sectionName_);
  }

  bool BacklightKey(SimulatedBacklight& b, std::string_view key, std::string_view value) {
    if (key == "brightness") {
      b.brightness = Number(key, value, 0, kMaxLevel);
    } else if (key == "max") {
      b.maximum = Number(key, value, 1, kMaxLevel);
    } else if (key == "type") {
      if (value == "firmware") b.type = BacklightType::Firmware;
      else if (value == "platform") b.type = BacklightType::Platform;
      else if (value == "raw") b.type = BacklightType::Raw;
      else Fail("type " + Quote(value) + " is not firmware, platform or raw");
    } else if (key == "connector") {
      if (value != "enabled" && value != "disabled") Fail("connector " + Quote(value) + " is not enabled or disabled");
      b.connectorEnabled = value == "enabled";
    } else if (key == "unreadable") {
      b.unreadable = YesNo(key, value);
    } else if (key == "writable") {
      b.writable = YesNo(key, value);
    } else {
      return false;
    }
    return true;
  }

  bool YesNo(std::string_view key, std::string_view value) const {
    if (value == "yes") return true;
    if (value == "no") return false;
    Fail(std::string(key) + " must be yes or no, not " + Quote(value));
  }

  std::uint32_t Number(std::string_view what, std::string_view value, std::uint64_t least, std::uint64_t most) const {
    const auto n = ParseDecimal(value, most);
    if (!n || *n < least)
      Fail(std::string(what) + " " + Quote(value) + " is not a number from " + std::to_string(least) + " to " +
           std::to_string(most));
    return static_cast<std::uint32_t>(*n);
  }

  SimulatedDdc Ddc(std::string_view value) const {
    auto words = Words(value);
    SimulatedDdc ddc;
    if (words[0] == "refuse") {
      if (words.size() != 1) Fail("ddc = refuse takes no values");
      ddc.mode = SimulatedDdc::Mode::Refuse;
      return ddc;
    }
    if (words[0] == "refuse-read" || words[0] == "refuse-write") {
      ddc.mode = words[0] == "refuse-read" ? SimulatedDdc::Mode::RefuseRead : SimulatedDdc::Mode::RefuseWrite;
      words.erase(words.begin());
      if (words.empty()) return ddc;
    }
    if (words.size() != 2) Fail("ddc needs 'CURRENT MAX' or refuse, refuse-read, refuse-write; found " + Quote(value));
    ddc.current = static_cast<std::uint16_t>(Number("ddc current", words[0], 0, 0xFFFF));
    ddc.maximum = static_cast<std::uint16_t>(Number("ddc maximum", words[1], 0, 0xFFFF));
    return ddc;
  }

  SimulationConfig config_;
  std::size_t line_ = 0;
  Section section_ = Section::None;
  std::string sectionName_;
  std::size_t sectionLine_ = 0;
  std::set<std::string> keys_;
  bool seenDisplay_ = false;
};

}  // namespace

SimulationConfig ParseSimulation(std::string_view text) { return Parser().Parse(text); }

SimulationConfig LoadSimulation(const std::filesystem::path& file) {
  const std::string text = ReadBoundedFile(file, kMaxSimulationFileSize);
  try {
    return ParseSimulation(text);
  } catch (const Error& e) {
    throw Error(file.string() + ": " + e.what());
  }
}

}  // namespace plat
