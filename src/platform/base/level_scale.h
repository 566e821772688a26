#pragma once
// Percentages against a device's own range, rounded to the nearest step; values above the
// maximum (real devices report them) count as the maximum.
#include <algorithm>
#include <cstdint>

namespace plat {

// round(min(value, maximum) * 100 / maximum); maximum must not be 0.
inline int PercentOfRange(std::uint64_t value, std::uint64_t maximum) {
  value = std::min(value, maximum);
  return static_cast<int>((value * 200 + maximum) / (2 * maximum));
}

// round(percent * maximum / 100), percent clamped to 0..100.
inline std::uint32_t RangeOfPercent(int percent, std::uint32_t maximum) {
  const std::uint64_t p = static_cast<std::uint64_t>(std::clamp(percent, 0, 100));
  return static_cast<std::uint32_t>((p * maximum * 2 + 100) / 200);
}

}  // namespace plat
