#pragma once
// Held by every operation that keeps window records across calls into window procedures:
// destroyed records are freed only when the outermost one ends.
#include <cstdint>

namespace plat::wm {

struct State;

class Busy {
 public:
  Busy();
  ~Busy();
  Busy(const Busy&) = delete;
  Busy& operator=(const Busy&) = delete;

 private:
  State* state_;
  std::uint64_t epoch_;
};

}  // namespace plat::wm
