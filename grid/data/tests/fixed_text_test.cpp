// Fixed-width text and the aligned plain-text layout.

#include <gtest/gtest.h>

#include "grid/data/fixed_text.h"
#include "grid/data/tests/data_test_util.h"
#include "grid/griderror.h"
#include "grid/model/intlist.h"

namespace grid {
namespace {

using testing::Fill;
using testing::ReadAll;
using testing::TScratch;
using testing::TTable;
using testing::WriteAll;

std::vector<int> Items(const TIntList& l) {
  std::vector<int> v;
  for (int i = 0; i < l.Count(); ++i) v.push_back(l[i]);
  return v;
}

TEST(FixedWidth, EmptyPositionsAreFilledWithTheWidestTextAndTheCallerSeesThem) {
  TScratch dir;
  TDataGrid g;
  Fill(g, {{"ab", "x"}, {"abcd", "two\r\nlines"}});
  TIntList widths(-1, -1);
  SaveToFixed(g, dir.Path("f.txt"), widths);
  EXPECT_EQ(Items(widths), (std::vector<int>{5, 6}));
  EXPECT_EQ(ReadAll(dir.Path("f.txt")), "ab   x     \r\nabcd two li\r\n");
  TIntList given(-1, -1);
  given.Add(2);
  EXPECT_EQ(FixedText(g, given), "abx     \r\nabtwo li\r\n");
  EXPECT_EQ(Items(given), (std::vector<int>{2, 6}));
}

TEST(FixedWidth, LoadSplitsAtSortedPositions) {
  TScratch dir;
  WriteAll(dir.Path("f.txt"), "abcdefgh\r\n 12  34 \r\nxy\r\n");
  TDataGrid g(1, 1);
  TIntList pos(-1, -1);
  for (int p : {9, 1, 5}) pos.Add(p);
  LoadFromFixed(g, dir.Path("f.txt"), pos, true, -1);
  EXPECT_EQ(Items(pos), (std::vector<int>{1, 5, 9}));
  EXPECT_EQ(testing::Cells(g), (TTable{{"abcd", "efgh"}, {"12", "34"}, {"xy", ""}}));
  TDataGrid one(1, 1);
  LoadFromFixed(one, dir.Path("f.txt"), pos, false, 0);
  EXPECT_EQ(testing::Cells(one), (TTable{{"abcd", "efgh"}}));
}

TEST(FixedWidth, RefusesFewerThanTwoPositionsAndMissingFiles) {
  TScratch dir;
  WriteAll(dir.Path("f.txt"), "abc\r\n");
  TDataGrid g(3, 3);
  for (int n : {0, 1}) {
    TIntList pos(-1, -1);
    for (int i = 0; i < n; ++i) pos.Add(1);
    EXPECT_THROW(LoadFromFixed(g, dir.Path("f.txt"), pos, true, -1), EExtGridError) << n;
    EXPECT_EQ(g.ColCount(), 3);
  }
  TIntList pos(-1, -1);
  pos.Add(1), pos.Add(2);
  try {
    LoadFromFixed(g, dir.Path("none.txt"), pos, true, -1);
    FAIL();
  } catch (const EExtGridError& e) {
    EXPECT_EQ(e.Message(), "File " + dir.Path("none.txt") + " not found");
  }
  try {
    SaveToFixed(g, dir.Path("no/such/folder/f.txt"), pos);
    FAIL();
  } catch (const EExtGridError& e) {
    EXPECT_EQ(e.Message(), "Cannot Create file " + dir.Path("no/such/folder/f.txt"));
  }
}

TEST(AlignedText, ColumnsTakeTheirWidestTextPlusOneAndFollowTheirAlignment) {
  TDataGrid g;
  Fill(g, {{"name", "7", "mid"}, {"longer name", "1234", "c"}});
  g.ColumnAlignments = {plat::taLeftJustify, plat::taRightJustify, plat::taCenter};
  EXPECT_EQ(ASCIIText(g),
            "name        " "   7 " "mid \r\n"
            "longer name " "1234 " " c  \r\n");
}

TEST(AlignedText, MultiLineCellsContinueUnderTheirOwnColumn) {
  TDataGrid g;
  Fill(g, {{"a", "two\r\nlines", "z"}});
  g.Options.Multilinecells = true;
  EXPECT_EQ(ASCIIText(g), "a two   z \r\n  lines\r\n");
  g.Options.Multilinecells = false;
  EXPECT_EQ(ASCIIText(g), "a two   z \r\n");
}

TEST(AlignedText, WideTextsAndManyColumnsKeepTheirWidths) {
  // More than 512 columns, and a text longer than 255 characters, each keep their true width.
  TDataGrid g(600, 1);
  const QString wide(300, u'w');
  g.SetGridCell(0, 0, wide);
  g.SetGridCell(599, 0, "last");
  const QString text = ASCIIText(g);
  EXPECT_TRUE(text.startsWith(wide + u' ' + u' '));
  EXPECT_TRUE(text.endsWith("last \r\n"));
  EXPECT_EQ(text.size(), 301 + 598 + 5 + 2);
}

TEST(AlignedText, AppendKeepsTheFileAndItsEncoding) {
  TScratch dir;
  WriteAll(dir.Path("t.txt"), QByteArray("\xFF\xFE" "o\0l\0d\0", 8));
  TDataGrid g(1, 1);
  g.SetGridCell(0, 0, "x");
  AppendToASCII(g, dir.Path("t.txt"), false);
  EXPECT_EQ(ReadAll(dir.Path("t.txt")), QByteArray("\xFF\xFE" "o\0l\0d\0\r\0\n\0x\0 \0\r\0\n\0", 20));
}

}  // namespace
}  // namespace grid
