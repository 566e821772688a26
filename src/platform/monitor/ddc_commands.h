#pragma once
// Reading and setting one VCP feature over a transport, with the waits DDC/CI asks of a host.
// Displays answer busy or garbled now and then, and for a while after waking from sleep only
// busy, so an operation asks again until a time bound, never longer.
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/monitor/ddc_transport.h"

namespace plat {

// Waits go through this, so tests and the headless virtual clock need not really sleep.
using SleepFunction = std::function<void(std::chrono::milliseconds)>;

inline constexpr std::chrono::milliseconds kDdcReplyDelay{40};  // request written -> reply readable
inline constexpr std::chrono::milliseconds kDdcSetDelay{50};    // set written -> display ready again
inline constexpr std::chrono::milliseconds kDdcRetryDelay{50};  // failed attempt -> next request
// No attempt starts that could end after this much time in one operation (waits included).
inline constexpr std::chrono::milliseconds kDdcOperationBound{500};

struct VcpValue {
  std::uint16_t maximum = 0;
  std::uint16_t current = 0;
};

// nullopt when the display gives no good answer within the bound, or says it lacks the feature;
// why (when given) then says which.
std::optional<VcpValue> ReadVcp(DdcTransport& transport, std::uint8_t code, const SleepFunction& sleep,
                                std::string* why = nullptr);
// A set has no reply; true once the display took the request.
bool WriteVcp(DdcTransport& transport, std::uint8_t code, std::uint16_t value, const SleepFunction& sleep);

}  // namespace plat
