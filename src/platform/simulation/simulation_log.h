#pragma once
// The record of a simulated machine's brightness writes (`--simulate-log FILE`), one line each:
// "monitor N set LEVEL" and "backlight NAME set RAW". Every line is flushed as it is written, so
// the file is complete however the program ends.
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace plat {

class SimulationLog {
 public:
  // Appends to file, creating it; throws Error when it cannot be opened.
  static std::shared_ptr<SimulationLog> Open(const std::filesystem::path& file);

  void Append(const std::string& line);

 private:
  explicit SimulationLog(std::ofstream out) : out_(std::move(out)) {}
  std::ofstream out_;
};

}  // namespace plat
