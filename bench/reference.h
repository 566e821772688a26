#pragma once
// Timing of a reference operation inside a benchmark run, so that results can be reported as a
// ratio to it: the best of five 20 ms rounds, in seconds per call.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

namespace bench {

template <class Call>
double BestSecondsPerCall(Call&& call) {
  using Clock = std::chrono::steady_clock;
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
