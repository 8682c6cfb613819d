#include "grid/model/intlist.h"

#include <gtest/gtest.h>

#include "platform/rtl/exceptions.h"

namespace grid {
namespace {

TEST(IntList, NotifiesOnAddDeleteAndItemWritesButNotOnInsert) {
  TIntList list(3, 4);
  std::vector<std::pair<int, int>> calls;
  list.OnChange = [&](plat::TObject*, int c, int r) { calls.emplace_back(c, r); };
  list.Add(1);
  list.Insert(0, 7);
  ASSERT_EQ(calls.size(), 1u);
  list.SetItems(1, 9);
  list.Delete(0);
  list.DeleteValue(42);  // absent: nothing
  list.DeleteValue(9);
  EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{3, 4}, {3, 4}, {3, 4}, {3, 4}}));
  EXPECT_EQ(list.Count(), 0);
  list.Clear();
  EXPECT_EQ(calls.size(), 4u);
}

TEST(IntList, StrValueRoundTripsAndRefusesNonIntegers) {
  TIntList list(-1, -1);
  EXPECT_EQ(list.StrValue(), "");
  list.Add(1);
  list.Add(-2);
  list.Add(30);
  EXPECT_EQ(list.StrValue(), "1,-2,30");
  list.SetStrValue("4,5");
  EXPECT_EQ(list.StrValue(), "4,5");
  EXPECT_THROW(list.SetStrValue("6,x,8"), plat::EConvertError);
  EXPECT_EQ(list.StrValue(), "6");  // the items before the bad one stay
}

TEST(IntList, IndexErrorsAreListErrors) {
  TIntList list(0, 0);
  list.Add(5);
  EXPECT_THROW(list.Items(1), plat::EListError);
  EXPECT_THROW(list.SetItems(-1, 0), plat::EListError);
  EXPECT_THROW(list.Delete(1), plat::EListError);
  EXPECT_THROW(list.Insert(3, 0), plat::EListError);
  EXPECT_TRUE(list.HasValue(5));
}

TEST(SortIndexList, KeysSaveAndLoad) {
  TSortIndexList keys;
  keys.AddIndex(3, true);
  keys.AddIndex(5, false);
  EXPECT_LT(keys.Items(1), 0);
  EXPECT_EQ(keys.SaveToString(), "u3;d5");

  struct Case {
    const char* text;
    std::vector<std::pair<int, bool>> keys;
  };
  const Case cases[] = {
      {"u3;d5;x;d", {{3, true}, {5, false}}},  // one-letter items are skipped
      {"U7", {{7, false}}},                    // only a lower-case u is ascending
      {"u12abc;dz", {{12, true}, {0, false}}}, // the number stops where the digits do
      {"", {}},
  };
  for (const Case& c : cases) {
    TSortIndexList loaded;
    loaded.AddIndex(99, true);
    loaded.LoadFromString(c.text);
    ASSERT_EQ(loaded.Count(), static_cast<int>(c.keys.size())) << c.text;
    for (int i = 0; i < loaded.Count(); ++i) {
      EXPECT_EQ(loaded.SortColumns(i), c.keys[i].first) << c.text;
      EXPECT_EQ(loaded.SortDirections(i), c.keys[i].second) << c.text;
    }
  }
}

TEST(SortIndexList, SavesTheLow16BitsAndEditsKeysInPlace) {
  TSortIndexList keys;
  keys.AddIndex(70000, true);
  EXPECT_EQ(keys.SaveToString(), "u4464");
  keys.AddIndex(2, false);
  EXPECT_EQ(keys.FindIndex(2), 1);
  EXPECT_EQ(keys.FindIndex(4), -1);
  keys.ToggleIndex(2);
  EXPECT_TRUE(keys.SortDirections(1));
  keys.SetSortDirections(0, false);
  keys.SetSortColumns(0, 8);
  EXPECT_EQ(keys.SortColumns(0), 8);
  EXPECT_FALSE(keys.SortDirections(0));
  keys.ToggleIndex(77);  // no key of that column: nothing
  EXPECT_EQ(keys.SaveToString(), "d8;u2");
}

TEST(FileStringList, ReadsAndWritesLineByLine) {
  TFileStringList f;
  f.Write("a");
  f.Write("b");
  f.WriteLn("c");
  f.WriteLn("d");
  ASSERT_EQ(f.Count(), 2);
  f.Reset();
  QString s;
  f.ReadLn(s);
  EXPECT_EQ(s, "abc");
  EXPECT_FALSE(f.Eof());
  f.ReadLn(s);
  EXPECT_EQ(s, "d");
  EXPECT_TRUE(f.Eof());
  EXPECT_THROW(f.ReadLn(s), plat::Exception);
}

}  // namespace
}  // namespace grid
