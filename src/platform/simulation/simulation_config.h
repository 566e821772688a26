#pragma once
// The simulated machine of `--simulate FILE`, for tests and headless runs:
//
//   [display]
//   monitor-handle = yes        ; "no": the primary display has no monitor handle
//   [monitor 1]                 ; the primary display's physical monitors, numbered 1, 2, ... in order
//   ddc = 37 100                ; answers DDC/CI with current 37 of maximum 100; sets succeed
//   [monitor 2]
//   ddc = 7200 7000             ; any maximum up to 65535; a current above it is sent as it is
//   [monitor 3]
//   ddc = refuse                ; or refuse-read, refuse-write (each may be followed by CURRENT MAX)
//   [backlight intel_backlight] ; a backlight device of the management service
//   brightness = 115            ; may be above max, as some drivers report
//   max = 480
//   type = raw                  ; firmware, platform or raw (the default)
//   connector = enabled         ; raw devices: whether their panel's connector is on (unset: unknown)
//   unreadable = no             ; yes: its files cannot be read
//   writable = yes              ; no: "brightness" is read-only, so writes go to logind, which is absent
//
// ';' starts a comment. Unknown sections or keys, bad or repeated values and repeated sections
// are refused with an Error naming the line.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/wmi/backlight.h"

namespace plat {

struct SimulatedDdc {
  enum class Mode {
    Answer,       // reads answer, sets succeed
    Refuse,       // no display on the channel: nothing is acknowledged
    RefuseRead,   // sets succeed, reads get no answer
    RefuseWrite,  // reads answer, sets are not acknowledged
  };
  Mode mode = Mode::Answer;
  std::uint16_t current = 50;
  std::uint16_t maximum = 100;
};

struct SimulatedBacklight {
  std::string name;
  std::uint32_t brightness = 0;
  std::uint32_t maximum = 1;
  BacklightType type = BacklightType::Raw;
  std::optional<bool> connectorEnabled;
  bool unreadable = false;
  bool writable = true;
};

struct SimulationConfig {
  bool monitorHandle = true;
  std::vector<SimulatedDdc> monitors;  // monitor 1 first
  std::vector<SimulatedBacklight> backlights;
};

inline constexpr std::size_t kMaxSimulatedMonitors = 16;
inline constexpr std::size_t kMaxSimulatedBacklights = 16;
inline constexpr std::size_t kMaxSimulationFileSize = 1 << 20;

SimulationConfig ParseSimulation(std::string_view text);
// Reads and parses a file; errors name it.
SimulationConfig LoadSimulation(const std::filesystem::path& file);

}  // namespace plat
