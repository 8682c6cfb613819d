// The find's walk, cell test, replace and incremental lookup, and the cell checking, over a window-free grid.
#include <gtest/gtest.h>

#include <vector>

#include "grid/data/cell_check.h"
#include "grid/data/find.h"
#include "grid/data/find_data_host.h"
#include "grid/data/highlight.h"
#include "grid/data/tests/data_test_util.h"

namespace grid {
namespace {

using plat::TPoint;
using testing::TTable;

constexpr TPoint kNone{-1, -1};

// A grid with one fixed row and one fixed column around the table's normal cells.
struct FindFixture : ::testing::Test {
  TDataGrid g;
  TDataGridFindHost host{g};
  TGridFind find{host};

  void Normal(const TTable& t) {
    const int rows = static_cast<int>(t.size()), cols = rows ? static_cast<int>(t[0].size()) : 0;
    g.SetColCount(cols + 1);
    g.SetRowCount(rows + 1);
    g.FixedColCount = 1, g.FixedRowCount = 1;
    for (int c = 0; c <= cols; ++c) g.SetGridCell(c, 0, QStringLiteral("head"));
    for (int r = 0; r < rows; ++r) {
      g.SetGridCell(0, r + 1, QStringLiteral("head"));
      for (int c = 0; c < cols; ++c) g.SetGridCell(c + 1, r + 1, t[r][c]);
    }
  }
  // Every cell FindNext reaches from the start until it comes back to the first one found.
  std::vector<TPoint> Walk(const QString& S, TFindParams P) {
    std::vector<TPoint> seen;
    TPoint p = find.FindFirst(S, P);
    while (p != kNone && (seen.empty() || p != seen.front())) {
      seen.push_back(p);
      if (seen.size() > 100) break;
      p = find.FindNext();
    }
    return seen;
  }
};

TEST_F(FindFixture, WalksColumnByColumnOrRowByRowInBothDirections) {
  Normal({{"x", "x"}, {"x", "x"}});
  struct Case {
    TFindParams Params;
    std::vector<TPoint> Order;
  };
  const Case cases[] = {
      {{}, {{1, 1}, {1, 2}, {2, 1}, {2, 2}}},
      {{fnDirectionLeftRight}, {{1, 1}, {2, 1}, {1, 2}, {2, 2}}},
      {{fnBackward}, {{2, 2}, {2, 1}, {1, 2}, {1, 1}}},
      {{fnBackward, fnDirectionLeftRight}, {{2, 2}, {1, 2}, {2, 1}, {1, 1}}},
      // With the fixed cells, the header row and column are walked too.
      {{fnIncludeFixed, fnDirectionLeftRight}, {{1, 1}, {2, 1}, {1, 2}, {2, 2}}},
  };
  for (const Case& c : cases) {
    std::vector<TPoint> order = Walk(QStringLiteral("x"), c.Params);
    ASSERT_EQ(order.size(), c.Order.size());
    for (size_t i = 0; i < order.size(); ++i) {
      EXPECT_EQ(order[i].X, c.Order[i].X) << "step " << i << " of params " << FindParamsToBits(c.Params);
      EXPECT_EQ(order[i].Y, c.Order[i].Y) << "step " << i << " of params " << FindParamsToBits(c.Params);
    }
  }
  // The fixed cells hold "head": found only with fnIncludeFixed.
  EXPECT_EQ(find.FindFirst(QStringLiteral("head"), {}), kNone);
  EXPECT_EQ(find.FindFirst(QStringLiteral("head"), {fnIncludeFixed, fnDirectionLeftRight}), TPoint(0, 0));
}

TEST_F(FindFixture, FindsNothingInAGridWithoutNormalCells) {
  g.SetColCount(1);
  g.SetRowCount(1);
  g.FixedColCount = 1, g.FixedRowCount = 1;
  g.SetGridCell(0, 0, QStringLiteral("x"));
  EXPECT_EQ(find.FindFirst(QStringLiteral("x"), {}), kNone);
  EXPECT_EQ(find.FindFirst(QStringLiteral("x"), {fnIncludeFixed}), kNone);
  EXPECT_FALSE(find.FindBusy());
  EXPECT_EQ(find.Replace(QStringLiteral("x"), QStringLiteral("y"), {}), 0);
}

TEST_F(FindFixture, FindNextPastTheLastMatchStartsOverAfterOneMiss) {
  Normal({{"a", "x"}, {"b", "c"}});
  EXPECT_EQ(find.FindFirst(QStringLiteral("x"), {}), TPoint(2, 1));
  EXPECT_EQ(find.FindNext(), kNone);
  EXPECT_EQ(find.SearchCell, kNone);
  EXPECT_EQ(find.FindNext(), TPoint(2, 1));
}

TEST_F(FindFixture, CellTestFollowsTheParameters) {
  struct Case {
    const char* Cell;
    const char* Search;
    TFindParams Params;
    bool Match;
  };
  const Case cases[] = {
      {"abcd", "abc", {}, true},
      {"abcd", "abc", {fnMatchFull}, false},
      {"abc", "ABC", {fnMatchFull}, true},
      {"abcd", "abc", {fnMatchStart}, true},
      {"xabc", "abc", {fnMatchStart}, false},
      {"xabc", "abc", {}, true},
      {"Abc", "abc", {fnMatchCase}, false},
      {"abc", "abc", {fnMatchCase}, true},
      {"STRASSE", "straße", {}, true},   // upper-casing by the platform's rule on both sides
      {"Ärger", "äRG", {}, true},
      {"abc", "", {}, false},            // an empty search text matches no cell
      {"", "", {}, false},
      {"", "\"\"", {}, true},            // two double quotes: an empty cell
      {"x", "\"\"", {}, false},
      {"<b>bold</b>", "b>b", {}, true},  // tags are text unless ignored
      {"<b>bold</b>", "b>b", {fnIgnoreHTMLTags}, false},
      {"<b>bo</b>ld", "bold", {fnIgnoreHTMLTags}, true},
      {"<b>bo</b>ld", "BOLD", {fnIgnoreHTMLTags, fnMatchFull}, true},
  };
  for (const Case& c : cases) {
    Normal({{QString::fromUtf8(c.Cell)}});
    const TPoint p = find.FindFirst(QString::fromUtf8(c.Search), c.Params);
    EXPECT_EQ(p != kNone, c.Match) << c.Cell << " / " << c.Search;
  }
}

TEST_F(FindFixture, TwoDoubleQuotesFindTheFirstEmptyNormalCell) {
  Normal({{"a", "b"}, {"c", ""}});
  EXPECT_EQ(find.FindFirst(QStringLiteral("\"\""), {}), TPoint(2, 2));
}

TEST_F(FindFixture, PatternsGoToTheFilterMatcherWithTheUpperCasedText) {
  Normal({{"alpha", "beta"}});
  QString seenExpr, seenValue;
  host.PatternMatch = [&](const QString& E, const QString& V, bool) {
    seenExpr = E, seenValue = V;
    return V.startsWith(u'B');
  };
  EXPECT_EQ(find.FindFirst(QStringLiteral("b*"), {fnMatchRegular}), TPoint(2, 1));
  EXPECT_EQ(seenExpr, QStringLiteral("B*"));
  EXPECT_EQ(seenValue, QStringLiteral("BETA"));
}

TEST_F(FindFixture, RestrictionsKeepTheWalkInOneRowColumnOrTheSelection) {
  Normal({{"x", "x", "x"}, {"x", "x", "x"}, {"x", "x", "x"}});
  host.CurCol = 2, host.CurRow = 3;
  std::vector<TPoint> row = Walk(QStringLiteral("x"), {fnFindInCurrentRow});
  ASSERT_EQ(row.size(), 3u);
  for (TPoint p : row) EXPECT_EQ(p.Y, 3);
  std::vector<TPoint> col = Walk(QStringLiteral("x"), {fnFindInCurrentCol});
  ASSERT_EQ(col.size(), 3u);
  for (TPoint p : col) EXPECT_EQ(p.X, 2);
  find.FindCol = 3, find.FindRow = 1;
  // The preset row wins over the current row.
  std::vector<TPoint> preset = Walk(QStringLiteral("x"), {fnFindInCurrentRow, fnFindInPresetRow, fnFindInPresetCol});
  ASSERT_EQ(preset.size(), 1u);
  EXPECT_EQ(preset[0], TPoint(3, 1));
  host.Sel = {2, 2, 3, 3};
  std::vector<TPoint> sel = Walk(QStringLiteral("x"), {fnSelectedCells, fnDirectionLeftRight});
  const std::vector<TPoint> expected{{2, 2}, {3, 2}, {2, 3}, {3, 3}};
  EXPECT_EQ(sel, expected);
}

TEST_F(FindFixture, IgnoredColumnsAreSkippedAndEveryExaminedCellIsReported) {
  Normal({{"a", "x"}, {"b", "x"}});
  host.IgnoredColumns = {2};
  std::vector<std::pair<TGridExportState, int>> notes;
  host.OnNotify = [&](TGridExportState S, int R) { notes.push_back({S, R}); };
  EXPECT_EQ(find.FindFirst(QStringLiteral("x"), {}), kNone);
  const std::vector<std::pair<TGridExportState, int>> expected{
      {esExportStart, -1}, {esExportNewRow, 1}, {esExportNewRow, 2}, {esExportDone, -1}};
  EXPECT_EQ(notes, expected);
  host.IgnoredColumns.clear();
  notes.clear();
  EXPECT_EQ(find.FindFirst(QStringLiteral("x"), {}), TPoint(2, 1));
  EXPECT_EQ(notes.back(), std::make_pair(esExportFail, -1));
}

TEST_F(FindFixture, AutoGotoMakesTheFoundCellCurrent) {
  Normal({{"a", "b"}, {"c", "d"}});
  find.FindFirst(QStringLiteral("c"), {});
  EXPECT_EQ(host.CurRow, 0);
  find.FindFirst(QStringLiteral("c"), {fnAutoGoto});
  EXPECT_EQ(TPoint(host.CurCol, host.CurRow), TPoint(1, 2));
}

TEST_F(FindFixture, ReplaceAllEndsWhenTheReplacementStillMatches) {
  // "a" by "A" ignoring case: every replaced cell still matches; each cell must be visited once.
  Normal({{"a", "xa"}, {"b", "aa"}});
  EXPECT_EQ(find.Replace(QStringLiteral("a"), QStringLiteral("A"), {}), 3);
  EXPECT_EQ(testing::Cells(g), (TTable{{"head", "head", "head"}, {"head", "A", "xA"}, {"head", "b", "AA"}}));
  // The same with the match in the walk's last cell, backwards and row by row.
  Normal({{"b", "a"}, {"a", "a"}});
  EXPECT_EQ(find.Replace(QStringLiteral("a"), QStringLiteral("aa"), {fnBackward, fnDirectionLeftRight}), 3);
  EXPECT_EQ(g.GetGridCell(2, 2), QStringLiteral("aa"));
}

TEST_F(FindFixture, ReplaceWithCaseReplacesEveryCaseInsideTheCellsItFinds) {
  Normal({{"Aa", "AA"}, {"xa", "b"}});
  EXPECT_EQ(find.Replace(QStringLiteral("a"), QStringLiteral("b"), {fnMatchCase}), 2);
  EXPECT_EQ(g.GetGridCell(1, 1), QStringLiteral("bb"));
  EXPECT_EQ(g.GetGridCell(2, 1), QStringLiteral("AA"));  // no lower-case a: not found, not changed
  EXPECT_EQ(g.GetGridCell(1, 2), QStringLiteral("xb"));
}

TEST_F(FindFixture, IncrementalLookupComparesTheStartOfTheColumnWithoutTags) {
  Normal({{"<b>Berlin</b>"}, {"Bonn"}, {"bremen"}});
  EXPECT_EQ(find.Search(QStringLiteral("BO")), 2);
  EXPECT_EQ(find.Search(QStringLiteral("BER")), 1);
  EXPECT_EQ(find.Search(QStringLiteral("BR")), 3);
  EXPECT_EQ(find.Search(QStringLiteral("X")), -1);
  g.SetRowCount(1);
  EXPECT_EQ(find.Search(QStringLiteral("B")), -1);
}

TEST(FindParamsTest, BitsFollowTheOrdinals) {
  EXPECT_EQ(FindParamsToBits({fnMatchCase}), 1);
  EXPECT_EQ(FindParamsToBits({fnBackward, fnIncludeHiddenRows}), (1 << 10) | (1 << 15));
  EXPECT_EQ(FindParamsFromBits(0x8401), (TFindParams{fnMatchCase, fnBackward, fnIncludeHiddenRows}));
}

// ---- cell checking

struct UpperChecker : TCellCheckerLink {
  bool Goto = false, UseCorr = true, UseMark = false;
  int Starts = 0, Stops = 0;
  std::vector<QString> Seen;
  bool GotoCell() const override { return Goto; }
  bool UseCorrect() const override { return UseCorr; }
  bool UseMarkError() const override { return UseMark; }
  void StartCheck() override { ++Starts; }
  void StopCheck() override { ++Stops; }
  QString Correct(int, int, const QString& S) override {
    Seen.push_back(S);
    return S.toUpper();
  }
  QString MarkError(int, int, const QString& S) override {
    return S == S.toUpper() ? S : QStringLiteral("<e>") + S + QStringLiteral("</e>");
  }
};

TEST_F(FindFixture, CheckCellsChecksEveryCellEvenAfterAFailure) {
  Normal({{"OK", "bad"}, {"worse", "FINE"}});
  UpperChecker checker;
  EXPECT_FALSE(CheckGrid(host, &checker, false));
  EXPECT_EQ(checker.Seen.size(), 4u);
  EXPECT_EQ(testing::Cells(g)[2], (std::vector<QString>{"head", "WORSE", "FINE"}));
  EXPECT_EQ(checker.Starts, 1);
  EXPECT_EQ(checker.Stops, 1);
  EXPECT_TRUE(CheckGrid(host, &checker, false));
}

TEST_F(FindFixture, MarkErrorGetsTheUnmarkedTextAndReplacesTheCorrection) {
  Normal({{"<e>bad</e>", "OK"}});
  UpperChecker checker;
  checker.UseMark = true;
  checker.Goto = true;
  host.CurCol = 2, host.CurRow = 1;
  EXPECT_FALSE(CheckRow(host, &checker, false, 1));
  EXPECT_EQ(checker.Seen.front(), QStringLiteral("bad"));  // the old mark removed before checking
  EXPECT_EQ(g.GetGridCell(1, 1), QStringLiteral("<e>bad</e>"));
  EXPECT_EQ(TPoint(host.CurCol, host.CurRow), TPoint(2, 1));  // put back after visiting each cell
  EXPECT_TRUE(CheckCol(host, &checker, false, 2));
}

TEST_F(FindFixture, WithoutACheckerEveryCellPasses) {
  Normal({{"a"}});
  EXPECT_TRUE(CheckCell(host, nullptr, 1, 1));
  EXPECT_TRUE(CheckGrid(host, nullptr, true));
  EXPECT_EQ(g.GetGridCell(1, 1), QStringLiteral("a"));
}

// ---- highlight ranges

TEST_F(FindFixture, HighlightRangesFollowTheKindAndTheFixedSwitch) {
  Normal({{"a", "b"}, {"c", "d"}});
  g.HiddenColumns = 1;
  const TCellRange grid = HighlightGridRange(host, false, hkHighlight);
  EXPECT_EQ(grid.ToCol, 3);  // the hidden column beyond the shown ones
  EXPECT_EQ(HighlightGridRange(host, false, hkMark).ToCol, 2);
  EXPECT_EQ(HighlightGridRange(host, true, hkMark).FromRow, 0);
  EXPECT_EQ(HighlightRowRange(host, 1, false, hkRemove).ToCol, 3);
  EXPECT_EQ(HighlightRowRange(host, 1, false, hkHighlight).ToCol, 2);
  EXPECT_EQ(HighlightColRange(host, 1, false).FromRow, 1);
  EXPECT_EQ(HighlightColRange(host, 1, true).FromRow, 0);
}

TEST_F(FindFixture, HighlightEscapesAndRemovingRestores) {
  Normal({{"a<b c", "x & \"y\""}});
  HilightRange(host, {1, 1, 2, 1}, QStringLiteral("a<b"), QString::fromUtf16(kHighlightTag), false);
  EXPECT_EQ(g.GetGridCell(1, 1), QStringLiteral("<hi>a&lt;b</hi> c"));
  EXPECT_EQ(g.GetGridCell(2, 1), QStringLiteral("x &amp; &quot;y&quot;"));
  UnHilightRange(host, {1, 1, 2, 1}, QString::fromUtf16(kHighlightTag));
  EXPECT_EQ(g.GetGridCell(1, 1), QStringLiteral("a<b c"));
  EXPECT_EQ(g.GetGridCell(2, 1), QStringLiteral("x & \"y\""));
}

}  // namespace
}  // namespace grid
