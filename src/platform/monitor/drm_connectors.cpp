#include "platform/monitor/drm_connectors.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <regex>
#include <system_error>

#include "platform/base/ascii.h"
#include "platform/base/bounded_file.h"
#include "platform/base/error.h"

namespace plat {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kEdidLimit = 256 * 128;  // the most extension blocks an EDID can have
constexpr std::size_t kStatusLimit = 64;

struct TypeAndIndex {
  std::string type;  // lower case, aliases resolved: "dp", "hdmi-a", "dvi", "dvi-d", "edp", ...
  std::optional<int> index;
};

TypeAndIndex Split(std::string_view name) {
  std::size_t end = name.size();
  while (end > 0 && std::isdigit(static_cast<unsigned char>(name[end - 1]))) --end;
  TypeAndIndex t;
  int index = 0;
  const auto [ptr, ec] = std::from_chars(name.data() + end, name.data() + name.size(), index);
  if (end < name.size() && ec == std::errc() && ptr == name.data() + name.size()) t.index = index;
  while (end > 0 && (name[end - 1] == '-' || name[end - 1] == '_')) --end;
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

bool SameTypeAndIndex(std::string_view output, std::string_view connector) {
  const TypeAndIndex o = Split(output);
  const TypeAndIndex c = Split(connector);
  if (!SameType(o.type, c.type)) return false;
  // An output without a number ("eDP") matches any connector of its type.
  return !o.index || o.index == c.index;
}

std::optional<int> I2cBusNumber(const std::string& name) {
  static const std::regex pattern("i2c-([0-9]{1,6})");
  std::smatch m;
  if (!std::regex_match(name, m, pattern)) return std::nullopt;
  return std::stoi(m[1].str());
}

std::optional<int> FindI2cBus(const fs::path& dir) {
  std::error_code ec;
  const fs::path link = fs::read_symlink(dir / "ddc", ec);
  if (!ec) {
    if (auto bus = I2cBusNumber(link.filename().string())) return bus;
  }
  std::optional<int> lowest;
  for (const auto& entry : fs::directory_iterator(dir, ec)) {
    const auto bus = I2cBusNumber(entry.path().filename().string());
    if (bus && (!lowest || *bus < *lowest)) lowest = bus;
  }
  return lowest;
}

std::string ReadOr(const fs::path& path, std::size_t limit) {
  try {
    return ReadBoundedFile(path, limit);
  } catch (const Error&) {
    return {};
  }
}

// Higher is a better match; 0 is none. An EDID that names another monitor cancels a name match.
int Score(const DrmConnector& c, const OutputIdentity& output) {
  const bool edidKnown = !output.edid.empty() && !c.edid.empty();
  const bool edidSame = edidKnown && c.edid == output.edid;
  int name = c.name == output.name ? 2 : SameTypeAndIndex(output.name, c.name) ? 1 : 0;
  if (edidKnown && !edidSame) name = 0;
  if (name == 0 && !edidSame) return 0;
  return (edidSame ? 8 : 0) + name * 2 + (c.connected ? 1 : 0);
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
    c.i2cBus = FindI2cBus(c.dir);
    const std::string edid = ReadOr(c.dir / "edid", kEdidLimit);
    c.edid.assign(edid.begin(), edid.end());
    c.connected = ReadOr(c.dir / "status", kStatusLimit).rfind("connected", 0) == 0;
    connectors.push_back(std::move(c));
  }
  std::sort(connectors.begin(), connectors.end(),
            [](const DrmConnector& a, const DrmConnector& b) { return a.dir.filename() < b.dir.filename(); });
  return connectors;
}

std::optional<DrmConnector> FindDrmConnector(const std::vector<DrmConnector>& connectors, const OutputIdentity& output) {
  const DrmConnector* best = nullptr;
  int bestScore = 0;
  for (const DrmConnector& c : connectors) {
    const int score = Score(c, output);
    if (score > bestScore) best = &c, bestScore = score;
  }
  if (!best) return std::nullopt;
  return *best;
}

}  // namespace plat
