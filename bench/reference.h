#pragma once
// Timing of a reference operation inside a benchmark run, so that results can be reported as a
// ratio to it: the best of five 20 ms rounds, in seconds per call, on the wall clock or on the
// calling thread's CPU clock (which the machine's other work moves less).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>

namespace bench {

struct ThreadCpuClock {
  using duration = std::chrono::nanoseconds;
  using rep = duration::rep;
  using period = duration::period;
  using time_point = std::chrono::time_point<ThreadCpuClock>;
  static constexpr bool is_steady = true;
  static time_point now() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return time_point(duration(static_cast<rep>(t.tv_sec) * 1000000000 + t.tv_nsec));
  }
};

template <class Clock = std::chrono::steady_clock, class Call>
double BestSecondsPerCall(Call&& call) {
  double best = 1e9;
  for (int round = 0; round < 5; ++round) {
    int n = 0;
    const auto start = Clock::now();
    auto now = start;
    do {
      call();
      benchmark::ClobberMemory();
      ++n;
      now = Clock::now();
    } while (now - start < std::chrono::milliseconds(20));
    best = std::min(best, std::chrono::duration<double>(now - start).count() / n);
  }
  return best;
}

}  // namespace bench
