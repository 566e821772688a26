#include "framework/sysutils.h"

#include <limits>

#include "framework/exceptions.h"
#include "platform/base/ascii.h"

namespace fw {

char AsciiUpper(char c) { return plat::AsciiUpper(c); }

std::string UpperCase(std::string_view text) { return plat::AsciiUpperCase(text); }

std::string LowerCase(std::string_view text) { return plat::AsciiLowerCase(text); }

int CompareText(std::string_view a, std::string_view b) { return plat::CompareAsciiNoCase(a, b); }

bool SameText(std::string_view a, std::string_view b) { return plat::EqualAsciiNoCase(a, b); }

bool IsValidIdent(std::string_view text) {
  if (text.empty()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
    if (!letter && !(i > 0 && c >= '0' && c <= '9')) return false;
  }
  return true;
}

std::string DoubleQuoted(std::string_view text) {
  std::string q;
  q.reserve(text.size() + 2);
  q += '"';
  q += text;
  q += '"';
  return q;
}

std::string IntToStr(std::int64_t value) { return std::to_string(value); }

bool TryStrToInt64(std::string_view text, std::int64_t& value) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  unsigned base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == text.size()) return false;
  const std::uint64_t limit = negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1;
  std::uint64_t v = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    unsigned d;
    if (c >= '0' && c <= '9') d = static_cast<unsigned>(c - '0');
    else if (base == 16 && c >= 'a' && c <= 'f') d = static_cast<unsigned>(c - 'a' + 10);
    else if (base == 16 && c >= 'A' && c <= 'F') d = static_cast<unsigned>(c - 'A' + 10);
    else return false;
    if (v > (limit - d) / base) return false;
    v = v * base + d;
  }
  value = negative ? static_cast<std::int64_t>(0 - v) : static_cast<std::int64_t>(v);
  return true;
}

std::int64_t StrToInt64(std::string_view text) {
  std::int64_t v = 0;
  if (!TryStrToInt64(text, v)) throw EConvertError(msg::InvalidInteger(std::string(text)));
  return v;
}

int StrToInt(std::string_view text) {
  const std::int64_t v = StrToInt64(text);
  if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
    throw EConvertError(msg::InvalidInteger(std::string(text)));
  return static_cast<int>(v);
}

int StrToIntDef(std::string_view text, int fallback) {
  std::int64_t v = 0;
  if (!TryStrToInt64(text, v) || v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
    return fallback;
  return static_cast<int>(v);
}

}  // namespace fw
