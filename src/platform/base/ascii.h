#pragma once
// Case of ASCII letters, whatever the locale: names of classes, properties, files and keys are
// matched this way. Bytes over 127 (UTF-8) are left as they are and compare as unsigned.
#include <string>
#include <string_view>

namespace plat {

constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string AsciiLowerCase(std::string_view text);
std::string AsciiUpperCase(std::string_view text);

// Below zero, zero or above zero, as the upper-cased texts order byte by byte.
int CompareAsciiNoCase(std::string_view a, std::string_view b);
bool EqualAsciiNoCase(std::string_view a, std::string_view b);

}  // namespace plat
