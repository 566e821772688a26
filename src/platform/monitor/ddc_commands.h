#pragma once
// Reading and setting one VCP feature over a transport, with the waits DDC/CI asks of a host and
// a bounded number of attempts (displays answer busy or garbled now and then).
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

#include "platform/monitor/ddc_transport.h"

namespace plat {

// Waits go through this, so tests and the headless virtual clock need not really sleep.
using SleepFunction = std::function<void(std::chrono::milliseconds)>;

inline constexpr int kDdcAttempts = 3;
inline constexpr std::chrono::milliseconds kDdcReplyDelay{40};  // request written -> reply readable
inline constexpr std::chrono::milliseconds kDdcSetDelay{50};    // set written -> display ready again
inline constexpr std::chrono::milliseconds kDdcRetryDelay{50};  // failed attempt -> next request

struct VcpValue {
  std::uint16_t maximum = 0;
  std::uint16_t current = 0;
};

// nullopt when the display does not answer after kDdcAttempts, or says it lacks the feature.
std::optional<VcpValue> ReadVcp(DdcTransport& transport, std::uint8_t code, const SleepFunction& sleep);
// A set has no reply; true once the display took the request.
bool WriteVcp(DdcTransport& transport, std::uint8_t code, std::uint16_t value, const SleepFunction& sleep);

}  // namespace plat
