#include "platform/monitor/ddc_commands.h"

#include <array>

#include "platform/monitor/ddc_packets.h"

namespace plat {

std::optional<VcpValue> ReadVcp(DdcTransport& transport, std::uint8_t code, const SleepFunction& sleep) {
  const auto request = GetVcpRequest(code);
  for (int attempt = 0; attempt < kDdcAttempts; ++attempt) {
    if (attempt > 0) sleep(kDdcRetryDelay);
    if (!transport.Write(request)) continue;
    sleep(kDdcReplyDelay);
    std::array<std::uint8_t, kVcpReplySize> reply{};
    if (!transport.Read(reply)) continue;
    const VcpReply parsed = ParseVcpReply(reply, code);
    if (parsed.kind == VcpReply::Kind::Value) return VcpValue{parsed.maximum, parsed.current};
    if (parsed.kind == VcpReply::Kind::Unsupported) return std::nullopt;
  }
  return std::nullopt;
}

bool WriteVcp(DdcTransport& transport, std::uint8_t code, std::uint16_t value, const SleepFunction& sleep) {
  const auto request = SetVcpRequest(code, value);
  for (int attempt = 0; attempt < kDdcAttempts; ++attempt) {
    if (attempt > 0) sleep(kDdcRetryDelay);
    if (transport.Write(request)) {
      sleep(kDdcSetDelay);
      return true;
    }
  }
  return false;
}

}  // namespace plat
