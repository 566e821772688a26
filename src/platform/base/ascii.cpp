#include "platform/base/ascii.h"

#include <algorithm>

namespace plat {

std::string AsciiLowerCase(std::string_view text) {
  std::string s(text);
  std::transform(s.begin(), s.end(), s.begin(), AsciiLower);
  return s;
}

std::string AsciiUpperCase(std::string_view text) {
  std::string s(text);
  std::transform(s.begin(), s.end(), s.begin(), AsciiUpper);
  return s;
}

int CompareAsciiNoCase(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(AsciiUpper(a[i]));
    const auto y = static_cast<unsigned char>(AsciiUpper(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool EqualAsciiNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareAsciiNoCase(a, b) == 0;
}

}  // namespace plat
