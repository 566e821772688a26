// DrawText's lines: breaks, wrapping of Latin and Japanese text, ellipses, tabs and prefixes.
#include "platform/gdi/text_layout.h"

#include <gtest/gtest.h>

#include "text_fixture.h"

namespace plat {
namespace {

using gdi::LayoutText;
using test::Font;

std::vector<std::string> LineTexts(const gdi::TextLayout& layout, std::string_view text) {
  std::vector<std::string> out;
  for (const auto& l : layout.lines) out.emplace_back(text.substr(l.start, l.end - l.start));
  return out;
}

int Width(const FontInstance& font, std::string_view text) { return font.Shape(text, false)->width; }

TEST(LineBreaks, Opportunities) {
  struct Case {
    char32_t prev, next;
    bool can;
  };
  const Case cases[] = {
      {U'a', U' ', false},   {U' ', U'a', true},    {U'a', U'b', false},   {U'画', U'面', true},  {U'あ', U'ア', true},
      {U'度', U'3', true},   {U's', U'明', true},   {U'ま', U'。', false}, {U'と', U'、', false}, {U'7', U'％', false},
      {U'約', U'）', false}, {U'（', U'約', false}, {U'「', U'あ', false}, {U'ス', U'ー', false}, {U'っ', U'ゃ', false},
      {U'1', U'2', false},   {U'。', U'え', true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(static_cast<unsigned>(c.prev)) + " " + std::to_string(static_cast<unsigned>(c.next)));
    EXPECT_EQ(gdi::CanBreakBetween(c.prev, c.next, 0), c.can);
  }
  EXPECT_FALSE(gdi::CanBreakBetween(U'画', U'面', DT_NOFULLWIDTHCHARBREAK));
  EXPECT_TRUE(gdi::CanBreakBetween(U' ', U'面', DT_NOFULLWIDTHCHARBREAK));
}

TEST(WordWrap, LatinBreaksAtSpacesAndSwallowsThem) {
  auto font = FontInstance::For(Font("Tahoma", -13));
  const std::string text = "alpha beta  gamma delta";
  const int width = Width(*font, "alpha beta");
  auto layout = LayoutText(*font, text, width, DT_WORDBREAK);
  EXPECT_EQ(LineTexts(layout, text), (std::vector<std::string>{"alpha beta", "gamma", "delta"}));
  for (const auto& l : layout.lines) EXPECT_LE(l.width, width);
  EXPECT_EQ(layout.width, width);
  EXPECT_EQ(layout.Height(), 3 * static_cast<int>(font->Metrics().tmHeight));

  // Without DT_WORDBREAK, or as a single line, it stays whole.
  EXPECT_EQ(LayoutText(*font, text, width, 0).lines.size(), 1u);
  EXPECT_EQ(LayoutText(*font, text, width, DT_WORDBREAK | DT_SINGLELINE).lines.size(), 1u);
}

TEST(WordWrap, LongWordsOverflowUnlessAnEditControl) {
  auto font = FontInstance::For(Font("Tahoma", -13));
  const std::string text = "a Supercalifragilistic b";
  const int width = Width(*font, "Super");
  auto plain = LayoutText(*font, text, width, DT_WORDBREAK);
  EXPECT_EQ(LineTexts(plain, text), (std::vector<std::string>{"a", "Supercalifragilistic", "b"}));
  EXPECT_GT(plain.lines[1].width, width);

  auto edit = LayoutText(*font, text, width, DT_WORDBREAK | DT_EDITCONTROL);
  EXPECT_GT(edit.lines.size(), 3u);
  std::string joined;
  for (const auto& t : LineTexts(edit, text)) joined += t;
  std::erase(joined, ' ');  // a short last piece and " b" may share a line
  EXPECT_EQ(joined, "aSupercalifragilisticb");
  for (const auto& l : edit.lines) EXPECT_LE(l.width, width);
}

TEST(WordWrap, JapaneseBreaksBetweenCharactersButNotBeforeClosingMarks) {
  auto font = FontInstance::For(Font("MS Gothic", -16, FW_NORMAL, SHIFTJIS_CHARSET));
  // Full-width characters are one em: three fit, but "。" may not start a line.
  const std::string kana = "あいう。えお";
  EXPECT_EQ(LineTexts(LayoutText(*font, kana, 48, DT_WORDBREAK), kana),
            (std::vector<std::string>{"あい", "う。え", "お"}));
  const std::string percent = "輝度37％";
  EXPECT_EQ(LineTexts(LayoutText(*font, percent, 40, DT_WORDBREAK), percent),
            (std::vector<std::string>{"輝度", "37％"}));

  const std::string text = "画面の明るさを調整します。スライダーを動かすと、すぐに反映されます（約37％）。";
  const std::vector<std::string> forbidden = {"、", "。", "）", "％"};
  // "37％）。" may not break at all: four ems is the narrowest that every line fits in.
  for (int chars = 4; chars <= 14; ++chars) {
    SCOPED_TRACE(chars);
    const int width = chars * 16;
    auto layout = LayoutText(*font, text, width, DT_WORDBREAK);
    EXPECT_GT(layout.lines.size(), 1u);
    std::uint32_t at = 0;
    for (const auto& line : layout.lines) {
      EXPECT_EQ(line.start, at);  // nothing lost or repeated
      at = line.end;
      EXPECT_LE(line.width, width);
      const std::string head = text.substr(line.start, 3);
      for (const auto& f : forbidden) EXPECT_NE(head, f);
    }
    EXPECT_EQ(at, text.size());
  }
}

TEST(LineBreaks, ExplicitBreaksAndEmptyLines) {
  auto font = FontInstance::For(Font("Tahoma", -13));
  struct Case {
    std::string text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"one\ntwo\r\nthree\rfour", {"one", "two", "three", "four"}},
      {"a\n\nb", {"a", "", "b"}},
      {"trailing\n", {"trailing"}},
      {"", {""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(LineTexts(LayoutText(*font, c.text, 1000, 0), c.text), c.lines);
  }
  EXPECT_EQ(LayoutText(*font, "one\ntwo", 1000, DT_SINGLELINE).lines.size(), 1u);
}

TEST(Ellipsis, CutsAtACharacterSoThatTheDotsFit) {
  auto font = FontInstance::For(Font("Tahoma", -13));
  const std::string text = "A caption far too long for its rectangle";
  for (int width : {30, 60, 100, 150}) {
    SCOPED_TRACE(width);
    auto layout = LayoutText(*font, text, width, DT_SINGLELINE | DT_END_ELLIPSIS);
    ASSERT_EQ(layout.lines.size(), 1u);
    const auto& line = layout.lines[0];
    EXPECT_LE(line.width, width);
    EXPECT_LT(line.end, text.size());
    // As much as fits: one more character and the dots would not.
    const std::string shown = text.substr(0, line.end);
    EXPECT_EQ(line.width, Width(*font, shown + "..."));
    std::size_t next = line.end;
    while (text[next] == ' ') ++next;
    EXPECT_GT(Width(*font, text.substr(0, next + 1) + "..."), width);
  }
  auto fits = LayoutText(*font, "Short", 100, DT_SINGLELINE | DT_END_ELLIPSIS);
  EXPECT_EQ(fits.lines[0].end, 5u);
  EXPECT_EQ(fits.lines[0].width, Width(*font, "Short"));
}

TEST(Tabs, ExpandToEightAverageCharacterWidths) {
  auto font = FontInstance::For(Font("Tahoma", -13));
  const int ave = font->Metrics().tmAveCharWidth;
  const int b = Width(*font, "b");
  EXPECT_EQ(LayoutText(*font, "a\tb", 1000, DT_EXPANDTABS).width, 8 * ave + b);
  EXPECT_EQ(LayoutText(*font, "\t\tb", 1000, DT_EXPANDTABS).width, 16 * ave + b);
  EXPECT_EQ(LayoutText(*font, "a\tb", 1000, DT_EXPANDTABS, 4).width, 4 * ave + b);
  EXPECT_EQ(LayoutText(*font, "a\tb", 1000, 0).width, Width(*font, "ab"));  // unexpanded tabs take no room
}

TEST(Prefixes, AmpersandsUnderlineTheNextCharacter) {
  auto font = FontInstance::For(Font("Tahoma", -13));
  auto layout = LayoutText(*font, "&File", 1000, 0);
  EXPECT_EQ(layout.width, Width(*font, "File"));
  ASSERT_EQ(layout.lines[0].underlines.size(), 1u);
  const auto [from, to] = layout.lines[0].underlines[0];
  EXPECT_EQ(from, 0);
  EXPECT_NEAR(to, Width(*font, "F"), 1);  // kerning with the next letter may move it a pixel

  auto middle = LayoutText(*font, "Fi&le", 1000, 0);
  ASSERT_EQ(middle.lines[0].underlines.size(), 1u);
  EXPECT_NEAR(middle.lines[0].underlines[0].first, Width(*font, "Fi"), 1);

  EXPECT_EQ(LayoutText(*font, "A&&B", 1000, 0).width, Width(*font, "A&B"));
  EXPECT_TRUE(LayoutText(*font, "A&&B", 1000, 0).lines[0].underlines.empty());
  EXPECT_EQ(LayoutText(*font, "A&&B", 1000, DT_NOPREFIX).width, Width(*font, "A&&B"));
  EXPECT_TRUE(LayoutText(*font, "&File", 1000, DT_NOPREFIX).lines[0].underlines.empty());
}

}  // namespace
}  // namespace plat
