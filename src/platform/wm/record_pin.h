#pragma once
// Pins window records: held by every operation that keeps them across calls into window procedures;
// destroyed records are freed only when the outermost one ends.
#include <cstdint>

namespace plat::wm {

struct State;

class WindowRecordPin {
 public:
  WindowRecordPin();
  ~WindowRecordPin();
  WindowRecordPin(const WindowRecordPin&) = delete;
  WindowRecordPin& operator=(const WindowRecordPin&) = delete;

 private:
  State* state_;
  std::uint64_t epoch_;
};

}  // namespace plat::wm
