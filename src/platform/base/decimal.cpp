#include "platform/base/decimal.h"

namespace plat {

std::optional<std::uint64_t> ParseDecimal(std::string_view digits, std::uint64_t maximum) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    const auto digit = static_cast<std::uint64_t>(c - '0');
    if (digit > maximum || value > (maximum - digit) / 10) return std::nullopt;  // value * 10 + digit > maximum
    value = value * 10 + digit;
  }
  return value;
}

}  // namespace plat
