#include "framework/form_reader.h"

#include <gtest/gtest.h>

#include "framework/form_parser.h"
#include "framework/streams.h"
#include "test_components.h"

namespace fw::test {
namespace {

class FormReader : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTestClasses();
    TTestWidget::LoadedLog().clear();
  }
  TTestWidget& Widget(const char* name) {
    auto* w = dynamic_cast<TTestWidget*>(root.FindComponent(name));
    EXPECT_NE(w, nullptr) << name;
    return *w;
  }
  TTestRoot root{nullptr};
};

constexpr const char* kEveryKind = R"(object Root: TTestRoot
  Tag = 7
  object Widget1: TTestWidget
    Left = -12
    Top = $10
    Ratio = 1.5
    Enabled = True
    Caption = 'It''s '#$41'B' +
      ' 明るさ調整'#13#10
    Mood = mdBusy
    Moods = [mdCalm, mdSleepy]
    Color = clBtnFace
    Font.Charset = SHIFTJIS_CHARSET
    Font.Height = -16
    Font.Name = 'ＭＳ ゴシック'
    Font.Style = [fsBold, fsItalic]
    Effects.FormShow.Time = 50
    Items = <
      item
        Width = 50
        Text = 'one'
      end
      item
        Width = 20
      end>
    Lines.Strings = (
      'a'
      'b c')
    Data = {
      0A0B0C
      0d}
    OnClick = WidgetClick
    Buddy = Widget2
    object Inner: TTestWidget
      Left = 1
    end
  end
  object Widget2: TTestWidget
    Color = $FF000005
    Moods = []
  end
end
)";

TEST_F(FormReader, AppliesEveryKindOfValue) {
  ReadComponentFromText(root, kEveryKind, "every.form");
  EXPECT_EQ(root.Name(), "Root");
  EXPECT_EQ(root.Tag(), 7);
  TTestWidget& w = Widget("Widget1");
  EXPECT_EQ(w.left, -12);
  EXPECT_EQ(w.top, 16);
  EXPECT_DOUBLE_EQ(w.ratio, 1.5);
  EXPECT_TRUE(w.enabled);
  EXPECT_EQ(w.caption, "It's AB 明るさ調整\r\n");
  EXPECT_EQ(w.mood, mdBusy);
  EXPECT_EQ(w.moods, (TTestMoods{mdCalm, mdSleepy}));
  EXPECT_EQ(w.color, clBtnFace);
  EXPECT_EQ(w.font.Charset(), plat::SHIFTJIS_CHARSET);
  EXPECT_EQ(w.font.Height(), -16);
  EXPECT_EQ(w.font.Name(), "ＭＳ ゴシック");
  EXPECT_EQ(w.font.Style(), (TFontStyles{fsBold, fsItalic}));
  EXPECT_EQ(w.effects.formShow.time, 50);
  ASSERT_EQ(w.items.Count(), 2);
  EXPECT_EQ(w.items.Items(0)->width, 50);
  EXPECT_EQ(w.items.Items(0)->text, "one");
  EXPECT_EQ(w.items.Items(1)->width, 20);
  EXPECT_EQ(w.lines.Text(), "a\r\nb c\r\n");
  EXPECT_EQ(w.data, (std::vector<std::uint8_t>{0x0A, 0x0B, 0x0C, 0x0D}));
  EXPECT_EQ(w.buddy, &Widget("Widget2"));
  EXPECT_EQ(Widget("Widget2").color, clWindow);  // $FF000005 is the bit pattern of a system colour

  ASSERT_TRUE(w.onClick);
  w.onClick(&w);
  EXPECT_EQ(root.clicks, 1);
  EXPECT_EQ(root.lastSender, &w);
}

TEST_F(FormReader, OwnsNestedObjectsByTheRootAndTellsThemTheirParent) {
  ReadComponentFromText(root, kEveryKind, "every.form");
  ASSERT_EQ(root.ComponentCount(), 3);
  EXPECT_EQ(root.Components(0)->Name(), "Widget1");
  EXPECT_EQ(root.Components(1)->Name(), "Inner");
  EXPECT_EQ(root.Components(2)->Name(), "Widget2");
  EXPECT_EQ(Widget("Inner").Owner(), &root);
  EXPECT_EQ(Widget("Inner").parentComponent, &Widget("Widget1"));
  EXPECT_EQ(Widget("Widget1").parentComponent, &root);
  EXPECT_EQ(root.Widget1, &Widget("Widget1"));  // the root's field follows its component
  FreeComponent(root.Widget1);
  EXPECT_EQ(root.Widget1, nullptr);
}

TEST_F(FormReader, LoadedRunsOnceOnEveryComponentInCreationOrderAfterAllAreRead) {
  ReadComponentFromText(root, kEveryKind, "every.form");
  EXPECT_EQ(TTestWidget::LoadedLog(), (std::vector<std::string>{"Root", "Widget1", "Inner", "Widget2"}));
  const TTestWidget& w = Widget("Widget1");
  EXPECT_TRUE(w.loadedSawBuddy);  // references are resolved before Loaded
  EXPECT_TRUE(w.loadedWhileLoading);
  EXPECT_FALSE(w.loadedWhileReading);
  for (int i = 0; i < root.ComponentCount(); ++i) EXPECT_TRUE(root.Components(i)->ComponentState().Empty());
  EXPECT_TRUE(root.ComponentState().Empty());
}

TEST_F(FormReader, ReadsAJapaneseDescriptionFromAnEmbeddedResource) {
  ReadComponentResource(root, "TTestRoot");
  ASSERT_NE(root.Widget1, nullptr);
  EXPECT_EQ(root.Widget1->caption, "明るさ調整");
  EXPECT_EQ(root.Widget1->lines.Strings(0), "輝度あ");  // #12354 is U+3042
  EXPECT_EQ(root.Widget1->lines.Strings(1), "ＭＳ ゴシック");
  TTestRoot other{nullptr};
  EXPECT_THROW(ReadComponentResource(other, "TNoSuchForm"), EResNotFound);
}

TEST_F(FormReader, InheritedObjectsChangeComponentsThatExist) {
  ReadComponentFromText(root, "object Root: TTestRoot\n object Widget1: TTestWidget\n  Left = 1\n end\nend", "a.form");
  ReadComponentFromText(root, "inherited Root: TTestRoot\n inherited Widget1: TTestWidget\n  Top = 2\n end\nend", "b.form");
  EXPECT_EQ(root.ComponentCount(), 1);
  EXPECT_EQ(root.Widget1->left, 1);
  EXPECT_EQ(root.Widget1->top, 2);
}

TEST_F(FormReader, AFailedReadLeavesWhatItMadeOwnedAndNotLoading) {
  const char* text = "object Root: TTestRoot\n object W: TTestWidget\n end\n object V: TTestWidget\n  Left = 'x'\n end\nend";
  EXPECT_THROW(ReadComponentFromText(root, text, "bad.form"), EReadError);
  ASSERT_EQ(root.ComponentCount(), 2);
  EXPECT_TRUE(root.Components(1)->ComponentState().Empty());
  EXPECT_TRUE(root.ComponentState().Empty());
}

std::string Nested(int depth) {
  std::string text = "object Root: TTestRoot\n";
  for (int i = 0; i < depth; ++i) text += "object W" + std::to_string(i) + ": TTestWidget\n";
  for (int i = 0; i <= depth; ++i) text += "end\n";
  return text;
}

TEST_F(FormReader, BadDescriptionsNameTheLineAndTheFault) {
  const struct {
    std::string body;  // the lines inside "object Root: TTestRoot" ... "end"; line 1 is the header
    std::string message;
  } cases[] = {
      {" object W: TTestWidget\n  Captoin = 'x'\n end", "line 3: unknown property \"Captoin\" of TTestWidget"},
      {" object W: TNoSuch\n end", "line 2: unknown class \"TNoSuch\""},
      {" object W: TTestWidget\n  Mood = mdAngry\n end",
       "line 3: unknown value \"mdAngry\" of TTestMood for property \"Mood\" of TTestWidget"},
      {" object W: TTestWidget\n  Moods = [mdCalm, mdAngry]\n end",
       "line 3: unknown value \"mdAngry\" of TTestMood for property \"Moods\" of TTestWidget"},
      {" object W: TTestWidget\n  Color = clBrown\n end",
       "line 3: unknown value \"clBrown\" of TColor for property \"Color\" of TTestWidget"},
      {" object W: TTestWidget\n  OnClick = Nope\n end", "line 3: unknown handler \"Nope\" of TTestRoot"},
      {" object W: TTestWidget\n  OnClick = KeyUp\n end",
       "line 3: handler \"KeyUp\" of TTestRoot does not fit event \"OnClick\""},
      {" object W: TTestWidget\n  Left = 'ten'\n end",
       "line 3: property \"Left\" of TTestWidget expects an integer, not a string"},
      {" object W: TTestWidget\n  Enabled = 1\n end",
       "line 3: property \"Enabled\" of TTestWidget expects True or False, not an integer"},
      {" object W: TTestWidget\n  Small = 70000\n end",
       "line 3: value 70000 is out of range for property \"Small\" of TTestWidget"},
      {" object W: TTestWidget\n  Font.Hieght = 1\n end", "line 3: unknown property \"Font.Hieght\" of TTestWidget"},
      {" object W: TTestWidget\n  Font = 1\n end",
       "line 3: property \"Font\" of TTestWidget is an object; set its properties, as in \"Font.<name> = ...\""},
      {" object W: TTestWidget\n  Left.X = 1\n end", "line 3: property \"Left\" of TTestWidget has no parts to set"},
      {" object W: TTestWidget\n  Buddy = W9\n end", "line 3: unknown component \"W9\" for property \"Buddy\""},
      {" object W: TTestWidget\n end\n object V: TTestOther\n end\n object U: TTestWidget\n  Buddy = V\n end",
       "line 7: component \"V\" is a TTestOther, but property \"Buddy\" takes a TTestWidget"},
      {" object W: TTestWidget\n end\n object w: TTestWidget\n end", "line 4: a component named \"w\" already exists"},
      {" object Widget1: TTestOther\n end",
       "line 2: component \"Widget1\" is a TTestOther, but TTestRoot holds it as a TTestWidget"},
      {" object W: TTestWidget\n  Name = '1abc'\n end", "line 3: \"1abc\" is not a valid component name"},
      {" object W: TTestWidget\n  Items = < item Wdth = 1 end >\n end", "line 3: unknown property \"Wdth\" of TTestItem"},
      {" object W: TTestWidget\n  Lines.Strings = ('a'\n 5)\n end",
       "line 4: property \"Lines.Strings\" of TTestWidget expects strings in its list, not an integer"},
      {" object W: TTestWidget\n  Left 5\n end", "line 3: expected '=' after \"Left\", found a number"},
      {" object W: TTestWidget\n  Left = ]\n end", "line 3: expected a value after \"Left =\", found ']'"},
      {" object W: TTestWidget\n  Caption = 'abc\n end", "line 3: unterminated string"},
      {" object W: TTestWidget\n  Caption = 'a' +\n  5\n end", "line 4: expected a string after '+', found a number"},
      {" object W: TTestWidget\n  Caption = '\xFF'\n end", "line 3: a string that is not valid UTF-8"},
      {" object W: TTestWidget\n  Caption = #55357\n end", "line 3: character code #55357 is half of a surrogate pair"},
      {" object W: TTestWidget\n  Left = 99999999999999999999\n end", "line 3: number too large"},
      {" object W: TTestWidget\n  Left = 5;\n end", "line 3: unexpected character ';'"},
      {" object W: TTestWidget\n  Moods = [mdCalm mdBusy]\n end",
       "line 3: expected ',' or ']' in a set, found \"mdBusy\""},
      {" object W: TTestWidget\n  Data = {\n  ABC}\n end", "line 4: odd number of hexadecimal digits in binary data"},
      {" object W: TTestWidget\n  Data = {AZ}\n end", "line 3: unexpected character 'Z' in binary data"},
      {" object W: TTestWidget\n  Items = < thing >\n end", "line 3: expected \"item\" or '>' in a collection, found \"thing\""},
  };
  for (const auto& c : cases) {
    const std::string text = "object Root: TTestRoot\n" + c.body + "\nend\n";
    TTestRoot fresh{nullptr};
    try {
      ReadComponentFromText(fresh, text, "Bad.form");
      ADD_FAILURE() << "no error for:\n" << text;
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message(), "Bad.form: " + c.message) << text;
    }
  }
}

TEST_F(FormReader, BadOutlinesNameTheLineAndTheFault) {
  const struct {
    std::string text;
    std::string message;
  } cases[] = {
      {"", "line 1: expected \"object\", found the end of the text"},
      {"thing Root: TTestRoot\nend", "line 1: expected \"object\", found \"thing\""},
      {"object Root: TOther\nend", "line 1: the description is of TOther, not TTestRoot"},
      {"object Root: TTestRoot\n object W: TTestWidget\n  Left = 1\n", "line 4: expected \"end\" of W (begun on line 2)"},
      {"object Root: TTestRoot\nend\nobject", "line 3: unexpected \"object\" after the end of Root"},
      {"object Root: TTestRoot\n  object : TTestWidget\n end\nend", "line 2: expected a component name or class, found ':'"},
      {Nested(70), "line 65: nested more than 64 levels deep"},
  };
  for (const auto& c : cases) {
    TTestRoot fresh{nullptr};
    try {
      ReadComponentFromText(fresh, c.text, "Bad.form");
      ADD_FAILURE() << "no error for:\n" << c.text;
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message(), "Bad.form: " + c.message) << c.text;
    }
  }
}

TEST(FormParser, KeepsValuesAsWrittenForTheReader) {
  const TObjectNode root = ParseFormDescription(
      "object TTestRoot\n  A = -$1F\n  B = 2.5E1\n  C = Form1.Button1\n  D = ()\n  E = <>\nend", "p.form");
  EXPECT_TRUE(root.name.empty());
  EXPECT_EQ(root.className, "TTestRoot");
  ASSERT_EQ(root.properties.size(), 5u);
  EXPECT_EQ(root.properties[0].value.integer, -31);
  EXPECT_TRUE(root.properties[0].value.hex);
  EXPECT_DOUBLE_EQ(root.properties[1].value.real, 25.0);
  EXPECT_EQ(root.properties[2].value.text, "Form1.Button1");
  EXPECT_EQ(root.properties[3].value.kind, TValueKind::List);
  EXPECT_EQ(root.properties[4].value.kind, TValueKind::Collection);
  EXPECT_EQ(root.properties[4].line, 6);
}

}  // namespace
}  // namespace fw::test
