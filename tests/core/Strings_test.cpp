#include "core/Strings.h"

#include <gtest/gtest.h>

#include "core/Exception.h"

namespace Vdei {
namespace {

std::vector<std::string> Lines(const TStrings& list) {
  std::vector<std::string> lines;
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list[i]);
  return lines;
}

using V = std::vector<std::string>;

TEST(Strings, NameValueLines) {
  TStringList list{"Name=Alice", "City=Paris=France", "plain", "Empty="};
  EXPECT_EQ(list.Names(0), "Name");
  EXPECT_EQ(list.ValueFromIndex(1), "Paris=France");  // only the first '=' splits
  EXPECT_EQ(list.Names(2), "plain");
  EXPECT_EQ(list.ValueFromIndex(2), "");
  EXPECT_EQ(list.Values("name"), "Alice");
  EXPECT_EQ(list.Values("city"), "Paris=France");
  EXPECT_EQ(list.Values("missing"), "");
  EXPECT_EQ(list.IndexOfName("EMPTY"), 3);
  list.SetValue("NAME", "Bob");
  EXPECT_EQ(list[0], "NAME=Bob");
  list.SetValue("Zip", "75001");
  EXPECT_EQ(list[4], "Zip=75001");
  list.SetValue("city", "");  // an empty value deletes the line
  EXPECT_EQ(Lines(list), (V{"NAME=Bob", "plain", "Empty=", "Zip=75001"}));
  list.SetValue("absent", "");
  EXPECT_EQ(list.Count(), 4);
}

TEST(Strings, TextJoinsWithCrLfAndSplitsAnyBreak) {
  TStringList list;
  list.SetText("a\r\nb\nc\rd\r\n\r\ne");
  EXPECT_EQ(Lines(list), (V{"a", "b", "c", "d", "", "e"}));
  EXPECT_EQ(list.Text(), "a\r\nb\r\nc\r\nd\r\n\r\ne\r\n");
  list.SetText("only\r\n");
  EXPECT_EQ(Lines(list), V{"only"});
  list.SetText("");
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Text(), "");
  list.SetText("\n\n");
  EXPECT_EQ(Lines(list), (V{"", ""}));
}

TEST(Strings, CommaTextQuotesWhatNeedsIt) {
  TStringList list{"a", "b c", "d,e", "say \"hi\"", ""};
  EXPECT_EQ(list.CommaText(), "a,\"b c\",\"d,e\",\"say \"\"hi\"\"\",\"\"");
  TStringList back;
  back.SetCommaText(list.CommaText());
  EXPECT_EQ(Lines(back), Lines(list));
  back.SetCommaText(" x y , z,");  // blanks separate unquoted items
  EXPECT_EQ(Lines(back), (V{"x", "y", "z", ""}));
}

TEST(Strings, ObjectsIndexErrorsAndChangeEvents) {
  TObject first, second;
  TStringList list;
  int changes = 0;
  list.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &list);
    ++changes;
  };
  list.AddObject("one", &first);
  list.AddObject("two", &second);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(list.Objects(1), &second);
  EXPECT_EQ(list.IndexOfObject(&first), 0);
  EXPECT_EQ(list.IndexOf("TWO"), 1);
  list.Exchange(0, 1);
  EXPECT_EQ(list.Objects(0), &second);
  list.BeginUpdate();
  list.BeginUpdate();
  list.Add("three");
  list.Delete(0);
  list.EndUpdate();
  EXPECT_EQ(changes, 3);
  list.EndUpdate();
  EXPECT_EQ(changes, 4);  // once, at the last EndUpdate
  try {
    list.Strings(5);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (5)");
  }
  EXPECT_THROW(list.Delete(-1), EListError);
  EXPECT_THROW(list.Insert(4, "x"), EListError);
  EXPECT_THROW(list.Objects(2), EListError);
  list.Insert(2, "end");
  EXPECT_EQ(list[2], "end");
  TStrings copy;
  copy.Assign(list);
  EXPECT_EQ(Lines(copy), Lines(list));
  EXPECT_EQ(copy.Objects(1), list.Objects(1));
}

TEST(StringList, SortedWithDuplicates) {
  TStringList list{"pear", "Apple", "fig"};
  list.SetSorted(true);
  EXPECT_EQ(Lines(list), (V{"Apple", "fig", "pear"}));
  EXPECT_EQ(list.Add("banana"), 1);
  EXPECT_EQ(list.Add("APPLE"), 0);  // dupIgnore: the existing one's index
  EXPECT_EQ(list.Count(), 4);
  list.SetDuplicates(dupAccept);
  TObject marker;
  int at = list.AddObject("apple", &marker);
  EXPECT_EQ(at, 1);  // after the equal one
  EXPECT_EQ(list.Objects(1), &marker);
  list.SetDuplicates(dupError);
  EXPECT_THROW(list.Add("Fig"), EListError);
  EXPECT_THROW(list.Insert(0, "a"), EListError);
  EXPECT_THROW(list.Put(0, "zzz"), EListError);
  int index = -1;
  EXPECT_TRUE(list.Find("PEAR", index));
  EXPECT_EQ(index, 4);
  EXPECT_FALSE(list.Find("cherry", index));
  EXPECT_EQ(index, 3);  // where it would go
  EXPECT_EQ(list.IndexOf("Banana"), 2);
  EXPECT_EQ(list.IndexOf("kiwi"), -1);
  list.SetCaseSensitive(true);
  EXPECT_EQ(Lines(list), (V{"Apple", "apple", "banana", "fig", "pear"}));
  EXPECT_EQ(list.IndexOf("APPLE"), -1);
  list.SetDuplicates(dupIgnore);
  EXPECT_EQ(list.Add("APPLE"), 0);  // upper case sorts first
  TStringList unsorted{"b", "a"};
  unsorted.SetCaseSensitive(true);
  EXPECT_EQ(unsorted.IndexOf("A"), -1);
  EXPECT_EQ(unsorted.IndexOf("a"), 1);
}

TEST(StringList, ManyDuplicatesStayInArrivalOrder) {
  TStringList list;
  list.SetSorted(true);
  list.SetDuplicates(dupAccept);
  std::vector<TObject> objects(2000);
  for (size_t i = 0; i < objects.size(); ++i) list.AddObject(i % 2 ? "b" : "a", &objects[i]);
  for (int i = 0; i < 1000; ++i) {
    ASSERT_EQ(list.Objects(i), &objects[static_cast<size_t>(2 * i)]);
    ASSERT_EQ(list.Objects(1000 + i), &objects[static_cast<size_t>(2 * i + 1)]);
  }
}

}  // namespace
}  // namespace Vdei
