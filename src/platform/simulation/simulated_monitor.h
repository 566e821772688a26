#pragma once
// A simulated display on a DDC/CI channel. It checks and decodes the request packets the real
// host code sends and answers with real reply packets, so the packet code under it is the one
// that talks to hardware.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "platform/monitor/ddc_packets.h"
#include "platform/monitor/ddc_transport.h"
#include "platform/simulation/simulation_config.h"
#include "platform/simulation/simulation_log.h"

namespace plat {

class SimulatedMonitor {
 public:
  // number is the monitor's place on the primary display (1, 2, ...), for the log.
  SimulatedMonitor(int number, SimulatedDdc ddc, std::shared_ptr<SimulationLog> log);

  // A channel to this display; several may be open at once and share its state.
  static std::unique_ptr<DdcTransport> OpenChannel(std::shared_ptr<SimulatedMonitor> monitor);

  std::uint16_t current() const { return ddc_.current; }

  // What the display does with bytes on its address.
  bool Receive(std::span<const std::uint8_t> request);
  bool Answer(std::span<std::uint8_t> reply);

 private:
  int number_;
  SimulatedDdc ddc_;
  std::shared_ptr<SimulationLog> log_;
  // The reply to the last get request; a read without one gets a null message, as from a
  // display that has nothing to say.
  std::optional<std::array<std::uint8_t, kVcpReplySize>> pending_;
};

}  // namespace plat
