#include "platform/rtl/strutils.h"
#include "printers.h"

#include <gtest/gtest.h>

using namespace plat;

TEST(StrUtils, PositionsAreOneBasedAndClamped) {
  struct Case { const char* sub; const char* s; int offset; int want; };
  const Case cases[] = {
      {"b", "abcb", 1, 2}, {"b", "abcb", 3, 4}, {"b", "abcb", 0, 0}, {"b", "abcb", 5, 0},
      {"", "abc", 1, 0},   {"x", "", 1, 0},     {"abc", "abc", 1, 1}, {"abcd", "abc", 1, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PosEx(c.sub, c.s, c.offset), c.want) << c.sub << " in " << c.s << " from " << c.offset;
  }
  EXPECT_EQ(Pos("c", "abc"), 3);
}

TEST(StrUtils, CopyDeleteInsertClampLikeTheRuntime) {
  struct Case { int index; int count; const char* copy; const char* afterDelete; };
  const Case cases[] = {
      {0, 2, "ab", "abcde"}, {1, 2, "ab", "cde"}, {4, 9, "de", "abc"},
      {5, 1, "e", "abcd"},   {6, 1, "", "abcde"}, {2, 0, "", "abcde"}, {-3, 10, "abcde", "abcde"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Copy("abcde", c.index, c.count), QString(c.copy)) << c.index << "," << c.count;
    QString s = "abcde";
    Delete(s, c.index, c.count);
    EXPECT_EQ(s, QString(c.afterDelete)) << c.index << "," << c.count;
  }
  struct Ins { int index; const char* want; };
  for (const Ins& c : {Ins{0, "XYab"}, Ins{1, "XYab"}, Ins{2, "aXYb"}, Ins{3, "abXY"}, Ins{9, "abXY"}}) {
    QString s = "ab";
    Insert("XY", s, c.index);
    EXPECT_EQ(s, QString(c.want)) << c.index;
  }
}
