#include "platform/simulation/simulated_monitor.h"

#include <algorithm>

namespace plat {

namespace {

class SimulatedChannel : public DdcTransport {
 public:
  explicit SimulatedChannel(std::shared_ptr<SimulatedMonitor> monitor) : monitor_(std::move(monitor)) {}
  bool Write(std::span<const std::uint8_t> bytes) override { return monitor_->Receive(bytes); }
  bool Read(std::span<std::uint8_t> bytes) override { return monitor_->Answer(bytes); }

 private:
  std::shared_ptr<SimulatedMonitor> monitor_;
};

}  // namespace

SimulatedMonitor::SimulatedMonitor(int number, SimulatedDdc ddc, std::shared_ptr<SimulationLog> log)
    : number_(number), ddc_(ddc), log_(std::move(log)) {}

std::unique_ptr<DdcTransport> SimulatedMonitor::OpenChannel(std::shared_ptr<SimulatedMonitor> monitor) {
  return std::make_unique<SimulatedChannel>(std::move(monitor));
}

bool SimulatedMonitor::Receive(std::span<const std::uint8_t> bytes) {
  using Mode = SimulatedDdc::Mode;
  if (ddc_.mode == Mode::Refuse) return false;  // nobody on the address acknowledges
  pending_.reset();
  const VcpRequest request = ParseVcpRequest(bytes);
  if (request.kind == VcpRequest::Kind::Get) {
    pending_ = VcpValueReply(request.code, request.code == kVcpBrightness, ddc_.maximum, ddc_.current);
  } else if (request.kind == VcpRequest::Kind::Set) {
    if (ddc_.mode == Mode::RefuseWrite) return false;
    if (request.code == kVcpBrightness) {
      if (log_) log_->Append("monitor " + std::to_string(number_) + " set " + std::to_string(request.value));
      ddc_.current = std::min(request.value, ddc_.maximum);  // a display keeps to its range
    }
  }
  return true;  // a damaged request is taken on the wire and ignored by the display
}

bool SimulatedMonitor::Answer(std::span<std::uint8_t> reply) {
  using Mode = SimulatedDdc::Mode;
  if (ddc_.mode == Mode::Refuse || ddc_.mode == Mode::RefuseRead) return false;
  std::fill(reply.begin(), reply.end(), 0xFF);  // past the message, an idle bus reads as ones
  if (pending_) {
    std::copy_n(pending_->begin(), std::min(reply.size(), pending_->size()), reply.begin());
  } else {
    const auto null = NullReply();
    std::copy_n(null.begin(), std::min(reply.size(), null.size()), reply.begin());
  }
  pending_.reset();
  return true;
}

}  // namespace plat
