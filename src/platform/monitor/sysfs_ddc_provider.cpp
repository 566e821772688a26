#include "platform/monitor/sysfs_ddc_provider.h"

#include "platform/base/utf.h"
#include "platform/monitor/edid.h"
#include "platform/monitor/i2c_transport.h"

namespace plat {

std::vector<PhysicalMonitorSource> DdcSourcesForOutputs(const std::vector<OutputIdentity>& outputs,
                                                        const SysfsPaths& paths) {
  const std::vector<DrmConnector> connectors = ListDrmConnectors(paths.sysfs);
  std::vector<PhysicalMonitorSource> sources;
  for (const OutputIdentity& output : outputs) {
    PhysicalMonitorSource source;
    source.description = Utf8ToUtf16(EdidMonitorName(output.edid).value_or(output.name));
    const auto connector = FindDrmConnector(connectors, output);
    const bool builtIn = IsBuiltInConnector(output.name) || (connector && IsBuiltInConnector(connector->name));
    if (connector && connector->i2cBus && !builtIn) {
      const std::string node = (paths.dev / ("i2c-" + std::to_string(*connector->i2cBus))).string();
      source.open = [node] { return OpenI2cDdcTransport(node); };
    }
    sources.push_back(std::move(source));
  }
  return sources;
}

}  // namespace plat
