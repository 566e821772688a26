#include "platform/monitor/ddc_commands.h"

#include <algorithm>
#include <array>

#include "platform/monitor/ddc_packets.h"

namespace plat {

namespace {

using std::chrono::milliseconds;

// Time spent in one operation: the waits asked for (which may pass on a virtual clock) or the
// real time, whichever is more, so slow transfers count too.
class OperationClock {
 public:
  explicit OperationClock(const SleepFunction& sleep) : sleep_(sleep), start_(std::chrono::steady_clock::now()) {}

  bool Allows(milliseconds more) const { return Spent() + more <= kDdcOperationBound; }
  void Sleep(milliseconds duration) {
    sleep_(duration);
    slept_ += duration;
  }

 private:
  milliseconds Spent() const {
    const auto real = std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - start_);
    return std::max(real, slept_);
  }

  const SleepFunction& sleep_;
  std::chrono::steady_clock::time_point start_;
  milliseconds slept_{0};
};

}  // namespace

std::optional<VcpValue> ReadVcp(DdcTransport& transport, std::uint8_t code, const SleepFunction& sleep,
                                std::string* why) {
  const auto request = GetVcpRequest(code);
  OperationClock clock(sleep);
  std::string last = "no attempt";
  for (int attempt = 0;; ++attempt) {
    const milliseconds pause = attempt > 0 ? kDdcRetryDelay : milliseconds{0};
    if (!clock.Allows(pause + kDdcReplyDelay)) break;
    if (attempt > 0) clock.Sleep(pause);
    if (!transport.Write(request)) {
      last = "the request is not acknowledged";
      continue;
    }
    clock.Sleep(kDdcReplyDelay);
    std::array<std::uint8_t, kVcpReadSize> reply{};
    if (!transport.Read(reply)) {
      last = "the reply cannot be read";
      continue;
    }
    const VcpReply parsed = ParseVcpReply(reply, code);
    switch (parsed.kind) {
      case VcpReply::Kind::Value: return VcpValue{parsed.maximum, parsed.current};
      case VcpReply::Kind::Unsupported:
        if (why) *why = "the monitor has no brightness control";
        return std::nullopt;
      case VcpReply::Kind::Null: last = "only busy (null) replies"; break;
      case VcpReply::Kind::Bad: last = parsed.error; break;
    }
  }
  if (why) *why = "the monitor does not answer (" + last + ")";
  return std::nullopt;
}

bool WriteVcp(DdcTransport& transport, std::uint8_t code, std::uint16_t value, const SleepFunction& sleep) {
  const auto request = SetVcpRequest(code, value);
  OperationClock clock(sleep);
  for (int attempt = 0;; ++attempt) {
    const milliseconds pause = attempt > 0 ? kDdcRetryDelay : milliseconds{0};
    if (!clock.Allows(pause + kDdcSetDelay)) return false;
    if (attempt > 0) clock.Sleep(pause);
    if (transport.Write(request)) {
      clock.Sleep(kDdcSetDelay);
      return true;
    }
  }
}

}  // namespace plat
