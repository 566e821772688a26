#pragma once
// Small text helpers with the framework's rules: names compare without regard to ASCII case,
// integers convert with EConvertError on bad text.
#include <cstdint>
#include <string>
#include <string_view>

namespace fw {

char AsciiUpper(char c);
std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
// Compares ASCII letters without regard to case and every other byte as it is.
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
// A letter or underscore, then letters, digits and underscores (ASCII).
bool IsValidIdent(std::string_view text);
// text in double quotes, for messages: "Caption".
std::string DoubleQuoted(std::string_view text);

std::string IntToStr(std::int64_t value);
// Decimal, or hexadecimal after '$' or "0x"; a leading sign is allowed.
std::int64_t StrToInt64(std::string_view text);
int StrToInt(std::string_view text);
bool TryStrToInt64(std::string_view text, std::int64_t& value);
int StrToIntDef(std::string_view text, int fallback);

}  // namespace fw
