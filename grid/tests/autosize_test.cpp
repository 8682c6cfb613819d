// Sizing columns and rows to their contents against the pinned font's own metrics, fitting columns into the
// control, and numbering.
#include "grid/autosize.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include "grid/column_grid.h"
#include "platform/forms/forms.h"

namespace grid {
namespace {

struct AutoSizeTest : ::testing::Test {
  std::unique_ptr<plat::TForm> form = std::make_unique<plat::TForm>(nullptr);
  TExtColumnGrid* g = new TExtColumnGrid(form.get());
  AutoSizeTest() {
    form->SetBounds(0, 0, 500, 400);
    g->SetParent(form.get());
    g->SetBounds(0, 0, 400, 300);
    g->SetColCount(4);
    g->SetRowCount(5);
    g->SetFixedRows(1);
    g->SetFixedCols(1);
    g->Font()->SetName("DejaVu Sans");
    g->Font()->SetSize(10);
    g->FixedFont()->SetName("DejaVu Sans");
    g->FixedFont()->SetSize(9);
    g->FixedFont()->SetStyle(plat::TFontStyles{plat::fsBold});
    for (int c = 0; c < 4; ++c) g->Columns()->Items(c)->Font()->Assign(g->Font());
  }
  static int Advance(const plat::TFont& f, const QString& t) { return QFontMetrics(f.QtFont()).horizontalAdvance(t); }
  static int LineHeight(const plat::TFont& f) { return QFontMetrics(f.QtFont()).height(); }
};

TEST(LimitValue, EqualLimitsMeanNoLimit) {
  struct Case { int value, min, max, out; } cases[] = {
      {100, 40, 40, 100}, {100, 40, 80, 80}, {10, 40, 80, 40}, {10, 0, 80, 10}, {10, -5, 0, 10}, {90, 0, 0, 90}};
  for (const Case& c : cases) EXPECT_EQ(LimitValue(c.value, c.min, c.max), c.out) << c.value << " " << c.min << " " << c.max;
}

TEST_F(AutoSizeTest, AColumnFitsItsWidestTextInEachCellsOwnFont) {
  g->SetCells(2, 0, "Hdr");
  g->SetCells(2, 1, "short");
  g->SetCells(2, 2, "a rather longer text");
  g->SetCells(2, 3, "mid text");
  const int text = std::max(Advance(*g->FixedFont(), "Hdr"), Advance(*g->Font(), "a rather longer text"));
  g->AutoSizeCol(2);
  EXPECT_EQ(g->ColWidths(2), text + 2 * 2 + 2 * 1 + 2);

  // A bold cell font counts in its own width; the header row is left out when only normal rows are measured.
  g->SetFontStyles(2, 3, plat::TFontStyles{plat::fsBold});
  g->SetCells(2, 3, "a rather longer text!");
  plat::TFont bold;
  bold.Assign(g->Font());
  bold.SetStyle(plat::TFontStyles{plat::fsBold});
  g->ColumnSize()->Rows = arNormal;
  g->AutoSizeCol(2);
  EXPECT_EQ(g->ColWidths(2), Advance(bold, "a rather longer text!") + 8);
}

// A column's float format decides the text that is shown, so it is what the column is sized to.
TEST_F(AutoSizeTest, AColumnIsSizedToItsFormattedNumbers) {
  g->ColumnSize()->Rows = arNormal;
  g->SetCells(3, 1, "3.14159265");
  g->SetCells(3, 2, "2");
  g->Columns()->Items(3)->SetFloatFormat("%.1f");
  EXPECT_EQ(g->Renderer().GetFormattedCell(3, 1), "3.1");
  g->AutoSizeCol(3);
  EXPECT_EQ(g->ColWidths(3), Advance(*g->Font(), "3.1") + 8);
  g->Columns()->Items(3)->SetFloatFormat("");
  g->AutoSizeCol(3);
  EXPECT_EQ(g->ColWidths(3), Advance(*g->Font(), "3.14159265") + 8);
}

TEST_F(AutoSizeTest, GrowOnlyNeverNarrowsAndLimitsApply) {
  g->SetCells(1, 1, "x");
  g->SetColWidths(1, 120);
  g->SizeGrowOnly = true;
  g->AutoSizeCol(1);
  EXPECT_EQ(g->ColWidths(1), 120);
  g->SizeGrowOnly = false;
  g->MinColWidth = 40;
  g->MaxColWidth = 80;
  g->AutoSizeCol(1);
  EXPECT_EQ(g->ColWidths(1), 40);
  g->SetCells(1, 2, QString(60, u'W'));
  g->AutoSizeCol(1);
  EXPECT_EQ(g->ColWidths(1), 80);
  g->MaxColWidth = 40;  // equal limits: no limit
  g->AutoSizeCol(1);
  EXPECT_GT(g->ColWidths(1), 80);
  g->Columns()->Items(1)->AutoMaxSize = 70;  // the column's own limit comes first
  g->MinColWidth = g->MaxColWidth = 0;
  g->AutoSizeCol(1);
  EXPECT_EQ(g->ColWidths(1), 70);
}

TEST_F(AutoSizeTest, RowsFitTheirTallestCell) {
  g->SetWordWrap(false);
  g->SetCells(1, 2, "one line");
  g->AutoSizeRow(2);
  EXPECT_EQ(g->RowHeights(2), 2 * 2 + LineHeight(*g->Font()) + 2);
  g->SetFontSizes(1, 2, 20);
  plat::TFont big;
  big.Assign(g->Font());
  big.SetSize(20);
  g->AutoSizeRow(2, 3);
  EXPECT_EQ(g->RowHeights(2), 2 * 2 + LineHeight(big) + 2 + 3);
}

TEST_F(AutoSizeTest, RowsWithoutWordWrapTakeTheirMostLines) {
  g->SetWordWrap(false);
  g->RenderSettings().Multilinecells = true;
  g->SetCells(2, 3, "a\nb\nc");
  g->SetCells(3, 3, "a\nb");
  g->AutoSizeRows(false, 5);
  const int h = LineHeight(*g->Font());
  EXPECT_EQ(g->RowHeights(3), 5 + 3 * (h + h / 8));
  EXPECT_EQ(g->RowHeights(1), 5 + (h + h / 8));
  g->MaxRowHeight = 30;
  g->AutoSizeRows(false, 5);
  EXPECT_EQ(g->RowHeights(3), 30);
}

TEST_F(AutoSizeTest, FittingColumnsScalesTheNormalOnes) {
  g->SetBorderStyle(plat::bsNone);
  g->SetScrollBars(plat::ssNone);
  plat::TGridOptions o = g->Options();
  o.Exclude(plat::goVertLine);
  o.Exclude(plat::goFixedVertLine);
  g->SetOptions(o);
  const int widths[] = {64, 50, 50, 100};
  for (int c = 0; c < 4; ++c) g->SetColWidths(c, widths[c]);
  g->AutoFitColumns(false);
  EXPECT_EQ(g->ColWidths(0), 64);
  EXPECT_EQ(g->ColWidths(1), 84);
  EXPECT_EQ(g->ColWidths(2), 84);
  EXPECT_EQ(g->ColWidths(3), 168);
  g->AutoFitColumns(true);
  int sum = 0;
  for (int c = 0; c < 4; ++c) sum += g->ColWidths(c);
  EXPECT_EQ(sum, 400);
}

TEST_F(AutoSizeTest, NumberingRunsDownOrUpTheNormalRows) {
  g->SetRowCount(6);
  g->SetFixedFooters(1);
  struct Case { int start, offset; TSortDirection dir; const char* rows; } cases[] = {
      {0, 0, sdAscending, ",1,2,3,4,"},
      {0, 0, sdDescending, ",4,3,2,1,"},
      {1, 10, sdAscending, ",,12,13,14,"},
      {1, 0, sdDescending, ",4,3,2,,"},  // the skipped cells count in the numbers both ways
  };
  for (const Case& c : cases) {
    for (int r = 0; r < 6; ++r) g->SetCells(1, r, "");
    g->AutoNumberStart = c.start;
    g->AutoNumberOffset = c.offset;
    g->AutoNumberDirection = c.dir;
    g->AutoNumberCol(1);
    QStringList got;
    for (int r = 0; r < 6; ++r) got << g->Cells(1, r);
    EXPECT_EQ(got.join(','), c.rows) << c.start << " " << c.offset << " " << c.dir;
  }
  g->AutoNumberStart = 0;
  g->AutoNumberDirection = sdAscending;
  g->AutoNumberRow(2);
  EXPECT_EQ(g->Cells(0, 2), "");
  EXPECT_EQ(g->Cells(1, 2), "1");
  EXPECT_EQ(g->Cells(3, 2), "3");
}

TEST_F(AutoSizeTest, SizingTheControlToItsCells) {
  for (int c = 0; c < 4; ++c) g->SetColWidths(c, 30 + c);
  for (int r = 0; r < 5; ++r) g->SetRowHeights(r, 20);
  g->SizeToCells();
  EXPECT_EQ(g->ClientWidth(), 30 + 31 + 32 + 33);
  EXPECT_EQ(g->ClientHeight(), 100);
  EXPECT_EQ(g->ScrollBars(), plat::ssBoth);
}

}  // namespace
}  // namespace grid
