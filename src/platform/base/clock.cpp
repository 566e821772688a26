#include "platform/base/clock.h"

#include <chrono>
#include <thread>

namespace plat {

namespace {
std::int64_t MonotonicNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}
}  // namespace

// Counted from construction plus the same offset as the virtual clock, so both read alike.
RealClock::RealClock() : startNs_(MonotonicNs()) {}

std::uint64_t RealClock::Now() const {
  return VirtualClock::kStart + static_cast<std::uint64_t>((MonotonicNs() - startNs_) / 1'000'000);
}

void RealClock::Sleep(std::uint64_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void RealClock::SleepUntil(std::uint64_t deadline) {
  const std::uint64_t now = Now();
  if (deadline > now) Sleep(deadline - now);
}

}  // namespace plat
