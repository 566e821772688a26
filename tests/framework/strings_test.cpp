#include "framework/strings.h"

#include <gtest/gtest.h>

#include "framework/exceptions.h"
#include "framework/streams.h"

namespace fw {
namespace {

TEST(StringList, AddInsertDeleteAndFindIgnoringCase) {
  TStringList list;
  EXPECT_EQ(list.Add("beta"), 0);
  list.Insert(0, "Alpha");
  list.AddObject("gamma", &list);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.IndexOf("ALPHA"), 0);
  EXPECT_EQ(list.IndexOf("delta"), -1);
  EXPECT_EQ(list.Objects(2), &list);
  list.Delete(0);
  EXPECT_EQ(list.Strings(0), "beta");
  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOf("BETA"), -1);
  EXPECT_THROW(list.Strings(5), EStringListError);
  try {
    list.Delete(-1);
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (-1)");
  }
}

TEST(StringList, SortedListsKeepOrderAndTheirDuplicateRule) {
  TStringList list;
  list.SetSorted(true);
  for (const char* s : {"pear", "Apple", "fig", "apple"}) list.Add(s);
  EXPECT_EQ(list.CommaText(), "Apple,fig,pear");  // "apple" is ignored as a duplicate
  EXPECT_EQ(list.IndexOf("PEAR"), 2);
  EXPECT_THROW(list.Insert(0, "kiwi"), EStringListError);
  list.SetDuplicates(dupError);
  EXPECT_THROW(list.Add("FIG"), EStringListError);
  list.SetDuplicates(dupAccept);
  list.Add("fig");
  EXPECT_EQ(list.Count(), 4);
}

TEST(StringList, TextSplitsAtAnyLineBreakAndJoinsWithTheListsOwn) {
  TStringList list;
  list.SetText("one\r\ntwo\nthree\rfour\n");
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Text(), "one\r\ntwo\r\nthree\r\nfour\r\n");
  list.SetText("");
  EXPECT_EQ(list.Count(), 0);
  TBytesStream file(std::string_view("\xEF\xBB\xBF明るさ\nb"));  // UTF-8 with its byte-order mark
  list.LoadFromStream(file);
  EXPECT_EQ(list.Strings(0), "明るさ");
  EXPECT_EQ(list.Count(), 2);
}

TEST(StringList, CommaTextQuotesWhatNeedsItAndReadsItBack) {
  const struct {
    const char* in;
    std::vector<std::string> items;
    const char* out;
  } cases[] = {
      {"a,b,c", {"a", "b", "c"}, "a,b,c"},
      {"a b,c", {"a", "b", "c"}, "a,b,c"},                  // blanks separate too
      {"\"a b\",\"say \"\"hi\"\"\"", {"a b", "say \"hi\""}, "\"a b\",\"say \"\"hi\"\"\""},
      {"a,,b", {"a", "", "b"}, "a,,b"},
      {"a,", {"a", ""}, "a,"},
      {"  x  ", {"x"}, "x"},
      {"\"\"", {""}, "\"\""},
      {"明るさ,調整", {"明るさ", "調整"}, "明るさ,調整"},
  };
  for (const auto& c : cases) {
    TStringList list;
    list.SetCommaText(c.in);
    std::vector<std::string> got;
    for (int i = 0; i < list.Count(); ++i) got.push_back(list.Strings(i));
    EXPECT_EQ(got, c.items) << c.in;
    EXPECT_EQ(list.CommaText(), c.out) << c.in;
  }
}

TEST(StringList, NamesAndValues) {
  TStringList list;
  list.SetText("Width=50\nText=a=b\nplain");
  EXPECT_EQ(list.Names(0), "Width");
  EXPECT_EQ(list.Values("text"), "a=b");
  EXPECT_EQ(list.Names(2), "");
  list.SetValue("Width", "60");
  EXPECT_EQ(list.Strings(0), "Width=60");
  list.SetValue("Height", "7");
  EXPECT_EQ(list.IndexOfName("height"), 3);
  list.SetValue("Width", "");
  EXPECT_EQ(list.IndexOfName("Width"), -1);
}

TEST(StringList, ChangeEventsComeOncePerUpdateBracket) {
  TStringList list;
  int changing = 0, changed = 0;
  list.OnChanging = [&](TObject*) { ++changing; };
  list.OnChange = [&](TObject*) { ++changed; };
  list.Add("a");
  EXPECT_EQ(changed, 1);
  list.BeginUpdate();
  list.Add("b");
  list.Add("c");
  list.Delete(0);
  list.EndUpdate();
  EXPECT_EQ(changing, 2);
  EXPECT_EQ(changed, 2);
  list.SetText("x\ny");
  EXPECT_EQ(changed, 3);
}

}  // namespace
}  // namespace fw
