// ASCII case without the locale, and integers out of bytes in either order.
#include <gtest/gtest.h>

#include "platform/base/ascii.h"
#include "platform/base/bytes.h"

namespace plat {
namespace {

TEST(Ascii, ComparesLettersWithoutCaseAndOtherBytesAsUnsigned) {
  struct Case {
    const char* a;
    const char* b;
    int order;
  };
  const Case cases[] = {
      {"TButton", "tbutton", 0},
      {"#32770", "#32770", 0},
      {"a", "B", -1},
      {"abc", "ab", 1},
      {"_", "a", 1},             // upper-cased: '_' (0x5F) sorts after 'A' (0x41)
      {"\xC3\xA9", "\xC3\x89", 1},  // UTF-8 bytes are no letters: é and É differ
      {"\xFF", "a", 1},          // bytes over 127 sort high, never as negative chars
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CompareAsciiNoCase(c.a, c.b), c.order) << c.a << " / " << c.b;
    EXPECT_EQ(EqualAsciiNoCase(c.a, c.b), c.order == 0) << c.a << " / " << c.b;
  }
  EXPECT_EQ(AsciiLowerCase("Msimg32.DLL \xC3\x89"), "msimg32.dll \xC3\x89");
  EXPECT_EQ(AsciiUpperCase("card0-eDP-1"), "CARD0-EDP-1");
}

TEST(Bytes, ReadsEitherOrder) {
  const std::uint8_t b[] = {0x12, 0x34, 0x56, 0xF8};
  EXPECT_EQ(ReadLe16(b), 0x3412);
  EXPECT_EQ(ReadBe16(b), 0x1234);
  EXPECT_EQ(ReadLe32(b), 0xF8563412u);
  EXPECT_EQ(ReadBe32(b), 0x123456F8u);
}

}  // namespace
}  // namespace plat
