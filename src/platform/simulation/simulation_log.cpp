#include "platform/simulation/simulation_log.h"

#include <cerrno>
#include <cstring>

#include "platform/base/error.h"

namespace plat {

std::shared_ptr<SimulationLog> SimulationLog::Open(const std::filesystem::path& file) {
  std::ofstream out(file, std::ios::app);
  if (!out) throw Error(file.string() + ": cannot be opened for the simulation log: " + std::strerror(errno));
  return std::shared_ptr<SimulationLog>(new SimulationLog(std::move(out)));
}

void SimulationLog::Append(const std::string& line) { out_ << line << '\n' << std::flush; }

}  // namespace plat
