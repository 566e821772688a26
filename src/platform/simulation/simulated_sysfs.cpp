#include "platform/simulation/simulated_sysfs.h"

#include <cstdlib>
#include <fstream>
#include <system_error>

#include "platform/base/error.h"

namespace plat {

namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out) throw Error(path.string() + ": cannot be written for the simulation");
}

}  // namespace

SimulatedSysfs::SimulatedSysfs(const std::vector<SimulatedBacklight>& devices) {
  std::string pattern = (fs::temp_directory_path() / "velmora-sim-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw Error("cannot make a folder for the simulated backlights in " + pattern);
  top_ = pattern;
  backlightRoot_ = top_ / "backlight";
  try {
    fs::create_directory(backlightRoot_);
    for (const SimulatedBacklight& d : devices) {
      const fs::path dir = backlightRoot_ / d.name;
      fs::create_directory(dir);
      const std::string level = std::to_string(d.brightness) + "\n";
      WriteFile(dir / "brightness", level);
      WriteFile(dir / "actual_brightness", level);
      WriteFile(dir / "max_brightness", std::to_string(d.maximum) + "\n");
      WriteFile(dir / "type", std::string(BacklightTypeName(d.type)) + "\n");
      if (d.connectorEnabled) {
        fs::create_directory(dir / "device");
        WriteFile(dir / "device" / "enabled", *d.connectorEnabled ? "enabled\n" : "disabled\n");
      }
      if (!d.writable) fs::permissions(dir / "brightness", fs::perms(0444));
      if (d.unreadable)
        for (const auto& file : fs::directory_iterator(dir))
          if (file.is_regular_file()) fs::permissions(file.path(), fs::perms::none);
    }
  } catch (const fs::filesystem_error& e) {
    std::error_code ec;
    fs::remove_all(top_, ec);
    throw Error(std::string("cannot lay out the simulated backlights: ") + e.what());
  } catch (...) {
    std::error_code ec;
    fs::remove_all(top_, ec);
    throw;
  }
}

SimulatedSysfs::~SimulatedSysfs() {
  std::error_code ec;
  fs::remove_all(top_, ec);
}

}  // namespace plat
