#pragma once
// Time for the whole platform, in milliseconds. The real clock follows the machine's monotonic
// time; the virtual one moves only when told to, so that timed behaviour runs instantly and the
// same way every time.
#include <cstdint>

namespace plat {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint64_t Now() const = 0;
  virtual void Sleep(std::uint64_t ms) = 0;
  // Blocks (or, for a virtual clock, moves time) until Now() >= deadline.
  virtual void SleepUntil(std::uint64_t deadline) = 0;
  virtual bool IsVirtual() const = 0;
};

class RealClock final : public Clock {
 public:
  RealClock();
  std::uint64_t Now() const override;
  void Sleep(std::uint64_t ms) override;
  void SleepUntil(std::uint64_t deadline) override;
  bool IsVirtual() const override { return false; }

 private:
  std::int64_t startNs_;
};

class VirtualClock final : public Clock {
 public:
  // Starts well above zero, as a machine's uptime would, so that "0 = never" stays unambiguous.
  static constexpr std::uint64_t kStart = 1'000'000;
  std::uint64_t Now() const override { return now_; }
  void Sleep(std::uint64_t ms) override { now_ += ms; }
  void SleepUntil(std::uint64_t deadline) override {
    if (deadline > now_) now_ = deadline;
  }
  bool IsVirtual() const override { return true; }
  void Advance(std::uint64_t ms) { now_ += ms; }

 private:
  std::uint64_t now_ = kStart;
};

}  // namespace plat
