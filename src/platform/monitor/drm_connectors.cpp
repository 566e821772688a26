#include "platform/monitor/drm_connectors.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <regex>
#include <system_error>

#include "platform/base/ascii.h"
#include "platform/base/bounded_file.h"
#include "platform/base/decimal.h"
#include "platform/base/error.h"

namespace plat {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kEdidLimit = 256 * 128;  // the most extension blocks an EDID can have
constexpr std::size_t kStatusLimit = 64;
constexpr std::size_t kEdidBlock = 128;

std::string_view Trimmed(const std::string& text) {
  std::string_view s(text);
  while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.remove_suffix(1);
  return s;
}

struct TypeAndIndex {
  std::string type;  // lower case, aliases resolved: "dp", "hdmi-a", "dvi", "dvi-d", "edp", ...
  std::optional<int> index;
  bool separated = false;  // "HDMI-1" rather than "HDMI1"
};

TypeAndIndex Split(std::string_view name) {
  std::size_t end = name.size();
  while (end > 0 && std::isdigit(static_cast<unsigned char>(name[end - 1]))) --end;
  TypeAndIndex t;
  int index = 0;
  const auto [ptr, ec] = std::from_chars(name.data() + end, name.data() + name.size(), index);
  if (end < name.size() && ec == std::errc() && ptr == name.data() + name.size()) t.index = index;
  const std::size_t digits = end;
  while (end > 0 && (name[end - 1] == '-' || name[end - 1] == '_')) --end;
  t.separated = end < digits;
  t.type = AsciiLowerCase(name.substr(0, end));
  if (t.type == "displayport") t.type = "dp";
  if (t.type == "hdmi") t.type = "hdmi-a";
  return t;
}

bool SameType(const std::string& output, const std::string& connector) {
  if (output == connector) return true;
  // "DVI1" names no variant: any of DVI-I, DVI-D, DVI-A.
  return output == "dvi" && connector.rfind("dvi-", 0) == 0;
}

// Whether the display server's output name can stand for the connector. The server's drivers
// number outputs differently: the modesetting and intel drivers as the kernel does, from 1
// ("DP-1", "HDMI1"); the amdgpu and radeon drivers from 0 per type ("DisplayPort-0" is the kernel's
// DP-1). A 0, or the "DisplayPort" spelling, shows the latter; a number right after the letters
// ("HDMI1") the former; otherwise both readings stay possible.
bool NameCanMean(std::string_view output, std::string_view connector) {
  const TypeAndIndex o = Split(output);
  const TypeAndIndex c = Split(connector);
  if (!SameType(o.type, c.type)) return false;
  if (!o.index) return true;  // "eDP": any connector of its type
  if (!c.index) return false;
  const bool fromZero = *o.index == 0 || AsciiLowerCase(output).rfind("displayport", 0) == 0;
  const bool maybeFromZero = fromZero || o.separated;
  return (!fromZero && *c.index == *o.index) || (maybeFromZero && *c.index == *o.index + 1);
}

std::optional<int> I2cBusNumber(const std::string& name) {
  static const std::regex pattern("i2c-([0-9]{1,6})");
  std::smatch m;
  if (!std::regex_match(name, m, pattern)) return std::nullopt;
  return std::stoi(m[1].str());
}

std::optional<int> LinkedBus(const fs::path& dir) {
  std::error_code ec;
  const fs::path link = fs::read_symlink(dir / "ddc", ec);
  if (ec) return std::nullopt;
  return I2cBusNumber(link.filename().string());
}

std::optional<int> BusFolder(const fs::path& dir) {
  std::error_code ec;
  std::optional<int> lowest;
  for (const auto& entry : fs::directory_iterator(dir, ec)) {
    const auto bus = I2cBusNumber(entry.path().filename().string());
    if (bus && (!lowest || *bus < *lowest)) lowest = bus;
  }
  return lowest;
}

// DisplayPort carries DDC over its AUX channel, whose adapter is the i2c-N folder inside the
// connector; its "ddc" link may name another bus (amdgpu). HDMI, DVI and VGA have a DDC wire,
// which the link names.
std::optional<int> FindI2cBus(const fs::path& dir, std::string_view name) {
  const std::string type = Split(name).type;
  const bool aux = type == "dp" || type == "edp";
  const auto first = aux ? BusFolder(dir) : LinkedBus(dir);
  return first ? first : aux ? LinkedBus(dir) : BusFolder(dir);
}

std::string ReadOr(const fs::path& path, std::size_t limit) {
  try {
    return ReadBoundedFile(path, limit);
  } catch (const Error&) {
    return {};
  }
}

bool SameBaseBlock(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
  return a.size() >= kEdidBlock && b.size() >= kEdidBlock && std::equal(a.begin(), a.begin() + kEdidBlock, b.begin());
}

using Candidates = std::vector<const DrmConnector*>;

template <typename Keep>
Candidates Filter(const Candidates& from, Keep keep) {
  Candidates out;
  for (const DrmConnector* c : from)
    if (keep(*c)) out.push_back(c);
  return out;
}

}  // namespace

bool IsBuiltInConnector(std::string_view name) {
  const std::string type = Split(name).type;
  return type == "edp" || type == "lvds" || type == "dsi";
}

std::vector<DrmConnector> ListDrmConnectors(const fs::path& sysfsRoot) {
  static const std::regex pattern("card[0-9]+-(.+)");
  std::vector<DrmConnector> connectors;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(sysfsRoot / "class" / "drm", ec)) {
    const std::string folder = entry.path().filename().string();
    std::smatch m;
    if (!std::regex_match(folder, m, pattern)) continue;
    DrmConnector c;
    c.name = m[1].str();
    c.dir = entry.path();
    c.i2cBus = FindI2cBus(c.dir, c.name);
    if (const auto id = ParseDecimal(Trimmed(ReadOr(c.dir / "connector_id", kStatusLimit)), UINT32_MAX))
      c.connectorId = static_cast<std::uint32_t>(*id);
    const std::string edid = ReadOr(c.dir / "edid", kEdidLimit);
    c.edid.assign(edid.begin(), edid.end());
    c.connected = ReadOr(c.dir / "status", kStatusLimit).rfind("connected", 0) == 0;
    connectors.push_back(std::move(c));
  }
  std::sort(connectors.begin(), connectors.end(),
            [](const DrmConnector& a, const DrmConnector& b) { return a.dir.filename() < b.dir.filename(); });
  return connectors;
}

std::optional<DrmConnector> FindDrmConnector(const std::vector<DrmConnector>& connectors, const OutputIdentity& output,
                                             std::string* why) {
  Candidates candidates;
  for (const DrmConnector& c : connectors) candidates.push_back(&c);
  const auto certain = [](const Candidates& found) { return found.size() == 1 ? std::optional(*found[0]) : std::nullopt; };
  // The display server's connector number is the kernel's own: it decides when the card is ours.
  if (output.connectorId) {
    const Candidates same = Filter(candidates, [&](const DrmConnector& c) { return c.connectorId == output.connectorId; });
    if (auto found = certain(same)) return found;
    if (!same.empty()) candidates = same;  // several cards number alike
  }
  // Only the base block: the server may read fewer extension blocks than the kernel keeps.
  if (output.edid.size() >= kEdidBlock) {
    const Candidates same = Filter(candidates, [&](const DrmConnector& c) { return SameBaseBlock(c.edid, output.edid); });
    if (auto found = certain(same)) return found;
    // Twins stay candidates; a connector showing another monitor never is.
    candidates = !same.empty() ? same : Filter(candidates, [](const DrmConnector& c) { return c.edid.empty(); });
  }
  Candidates named = Filter(candidates, [&](const DrmConnector& c) { return NameCanMean(output.name, c.name); });
  const Candidates connected = Filter(named, [](const DrmConnector& c) { return c.connected; });
  if (!connected.empty()) named = connected;
  if (auto found = certain(named)) return found;
  if (why)
    *why = "no DRM connector matches output \"" + output.name + "\" with certainty (" +
           (named.empty() ? std::string("none fits") : std::to_string(named.size()) + " could be it") + ")";
  return std::nullopt;
}

}  // namespace plat
