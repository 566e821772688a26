#include "platform/monitor/sysfs_ddc_provider.h"

#include <regex>
#include <system_error>

#include "platform/base/error.h"
#include "platform/base/utf.h"
#include "platform/monitor/edid.h"
#include "platform/monitor/i2c_transport.h"

namespace plat {

namespace {

bool HasI2cNodes(const std::filesystem::path& dev) {
  static const std::regex pattern("i2c-[0-9]+");
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(dev, ec))
    if (std::regex_match(entry.path().filename().string(), pattern)) return true;
  return false;
}

}  // namespace

std::vector<PhysicalMonitorSource> DdcSourcesForOutputs(const std::vector<OutputIdentity>& outputs,
                                                        const SysfsPaths& paths) {
  const std::vector<DrmConnector> connectors = ListDrmConnectors(paths.sysfs);
  std::vector<PhysicalMonitorSource> sources;
  for (const OutputIdentity& output : outputs) {
    PhysicalMonitorSource source;
    source.description = Utf8ToUtf16(EdidMonitorName(output.edid).value_or(output.name));
    std::string why;
    const auto connector = FindDrmConnector(connectors, output, &why);
    const bool builtIn = IsBuiltInConnector(output.name) || (connector && IsBuiltInConnector(connector->name));
    if (builtIn) {
      source.channel = "no DDC/CI (built-in panel)";  // the service's backlight serves it
    } else if (!connector) {
      source.problem = why;
    } else if (!connector->i2cBus) {
      source.problem = "connector " + connector->name + " has no i2c bus";
    } else if (!HasI2cNodes(paths.dev)) {
      source.problem = "no " + (paths.dev / "i2c-*").string() + ": the i2c-dev kernel module is not loaded";
    } else {
      const std::string node = (paths.dev / ("i2c-" + std::to_string(*connector->i2cBus))).string();
      source.channel = "DDC/CI on " + node;
      source.open = [node] {
        std::string why;
        auto transport = OpenI2cDdcTransport(node, &why);
        if (!transport) throw Error(why);
        return transport;
      };
    }
    sources.push_back(std::move(source));
  }
  return sources;
}

}  // namespace plat
