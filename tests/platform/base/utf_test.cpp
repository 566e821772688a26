#include "platform/base/utf.h"

#include <gtest/gtest.h>

namespace plat {
namespace {

TEST(Utf, RoundTripsJapaneseAndAstralText) {
  const std::string text = "輝度37％ a\xF0\x9F\x98\x80";  // ends in U+1F600, a surrogate pair in UTF-16
  const std::u16string wide = Utf8ToUtf16(text);
  EXPECT_EQ(wide, u"輝度37％ a\U0001F600");
  EXPECT_EQ(Utf16ToUtf8(wide), text);
}

TEST(Utf, MalformedSequencesBecomeReplacementCharacters) {
  const struct {
    std::string in;
    std::u32string out;
  } cases[] = {
      {"\xFF", U"\uFFFD"},
      {"a\xE8\xBC", U"a\uFFFD"},           // truncated three-byte sequence
      {"\xC0\xAFz", U"\uFFFDz"},          // overlong '/'
      {"\xED\xA0\x80x", U"\uFFFDx"},      // encoded surrogate
      {"\xF4\x90\x80\x80", U"\uFFFD"},    // past U+10FFFF
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToUtf32(c.in), c.out) << c.in;
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");  // lone surrogate
}

}  // namespace
}  // namespace plat
