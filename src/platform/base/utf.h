#pragma once
// UTF-8 is the text of the whole program; UTF-16 appears only where a platform record asks for
// it. Malformed input never fails: each bad sequence becomes U+FFFD.
#include <string>
#include <string_view>

namespace plat {

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
std::u32string Utf8ToUtf32(std::string_view text);
void AppendUtf8(std::string& out, char32_t code);

// Decodes one code point at text[pos] and advances pos past it (by at least one byte).
char32_t NextCodePoint(std::string_view text, std::size_t& pos);

}  // namespace plat
