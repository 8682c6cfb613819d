// Grid geometry: prefix-sum axes, cell rectangles, hit tests, visible counts and scrolling limits.
#include <gtest/gtest.h>

#include <random>

#include "platform/forms/forms.h"
#include "platform/grids/gridaxis.h"
#include "gridfixture.h"
#include "platform/grids/stringgrid.h"
#include "platform/rtl/exceptions.h"

using namespace plat;

namespace {

// A plain reference: positions by walking all sizes.
struct RefAxis {
  std::vector<int> sizes;
  int gap = 0;
  std::int64_t Pos(int i) const {
    std::int64_t p = 0;
    for (int k = 0; k < i; ++k) p += sizes[k] + gap;
    return p;
  }
  int IndexAt(std::int64_t p) const {
    if (p < 0) return -1;
    int best = static_cast<int>(sizes.size());
    for (int k = static_cast<int>(sizes.size()) - 1; k >= 0; --k)
      if (Pos(k) <= p && p < Pos(k + 1)) return k;
    return best;
  }
};

TEST(GridAxis, MatchesAWalkOverAllSizesAfterRandomChanges) {
  std::mt19937 rng(7);
  TGridAxis axis;
  RefAxis ref;
  axis.SetDefaultSize(20);
  axis.SetGap(1);
  ref.gap = 1;
  axis.SetCount(50);
  ref.sizes.assign(50, 20);
  for (int step = 0; step < 600; ++step) {
    if (step == 300) {
      // Many own sizes at once: the axis changes how it keeps them, the answers must not change.
      axis.SetCount(150);
      ref.sizes.resize(150, 20);
      for (int i = 0; i < 150; i += 2) {
        axis.SetSize(i, 5 + i % 30);
        ref.sizes[i] = 5 + i % 30;
      }
      ASSERT_TRUE(axis.HasOwnSizes());
    }
    const int op = rng() % 10;
    if (op < 6) {
      const int i = rng() % axis.Count(), s = rng() % 4 == 0 ? 20 : int(rng() % 40);
      axis.SetSize(i, s);
      ref.sizes[i] = s;
    } else if (op < 8) {
      const int n = 1 + rng() % 80;
      axis.SetCount(n);
      ref.sizes.resize(n, 20);
    } else {
      const int a = rng() % axis.Count(), b = rng() % axis.Count();
      axis.Move(a, b);
      if (a != b) {
        const int s = ref.sizes[a];
        ref.sizes.erase(ref.sizes.begin() + a);
        ref.sizes.insert(ref.sizes.begin() + b, s);
      }
    }
    for (int i = 0; i <= axis.Count(); ++i) ASSERT_EQ(axis.Pos(i), ref.Pos(i)) << "step " << step << " index " << i;
    for (std::int64_t p = -1; p <= axis.Extent() + 1; p += 3)
      ASSERT_EQ(axis.IndexAt(p), ref.IndexAt(p)) << "step " << step << " pixel " << p;
  }
}

}  // namespace

namespace {

using gridtest::GridFixture;
using gridtest::TTestGrid;

// 5 x 5 grid, 64 x 24 cells with one-pixel lines, one fixed row and column; client 400 x 300 less bars.
TEST(GridGeometry, CellRectAndMouseToCellAgree) {
  GridFixture f(300, 120);
  TStringGrid* g = f.grid;
  g->SetColCount(20);
  g->SetRowCount(50);
  g->SetColWidths(2, 10);
  g->SetColWidths(3, 0);
  g->SetRowHeights(1, 40);
  struct Case {
    int col, row;
    TRect rect;
  };
  const Case cases[] = {
      {0, 0, TRect(0, 0, 64, 24)},      {1, 0, TRect(65, 0, 129, 24)},   {2, 1, TRect(130, 25, 140, 65)},
      {4, 2, TRect(142, 66, 206, 90)},  {3, 2, TRect()},  // zero wide
      {0, 3, TRect(0, 91, 64, g->ClientHeight())},         // partly shown: clipped to the client
      {0, 10, TRect()},                 {10, 0, TRect()},  // out of view
      {-1, 0, TRect()},                 {0, 50, TRect()},  {20, 0, TRect()},  // out of the grid
  };
  for (const Case& c : cases) {
    EXPECT_EQ(g->CellRect(c.col, c.row), c.rect) << c.col << "," << c.row;
    if (c.rect.IsEmpty()) continue;
    int col = -2, row = -2;
    g->MouseToCell(c.rect.Left, c.rect.Top, col, row);
    EXPECT_EQ(col, c.col);
    EXPECT_EQ(row, c.row);
    g->MouseToCell(c.rect.Right - 1, c.rect.Bottom - 1, col, row);
    EXPECT_EQ(col, c.col);
    EXPECT_EQ(row, c.row);
  }
}

TEST(GridGeometry, HitTestsAtLinesEdgesAndOutside) {
  GridFixture f(300, 200);
  TStringGrid* g = f.grid;
  g->SetScrollBars(ssNone);
  g->SetColCount(3);
  g->SetRowCount(3);
  struct Case {
    int x, y, col, row;
  };
  const Case cases[] = {
      {0, 0, 0, 0},     {63, 23, 0, 0},   {64, 24, 0, 0},  // the line after a cell belongs to it
      {65, 25, 1, 1},   {194, 74, 2, 2},  {195, 74, -1, -1},  // past the last column
      {10, 75, -1, -1}, {-1, 5, -1, -1},  {5, -1, -1, -1}, {299, 199, -1, -1},
  };
  for (const Case& c : cases) {
    const TGridCoord at = g->MouseCoord(c.x, c.y);
    EXPECT_EQ(at.X, c.col) << c.x << "," << c.y;
    EXPECT_EQ(at.Y, c.row) << c.x << "," << c.y;
  }
}

TEST(GridGeometry, ScrolledCellsStartAfterTheFixedPart) {
  GridFixture f(300, 150);
  TStringGrid* g = f.grid;
  g->SetColCount(30);
  g->SetRowCount(100);
  g->SetFixedCols(2);
  g->SetTopRow(10);
  g->SetLeftCol(5);
  EXPECT_EQ(g->TopRow(), 10);
  EXPECT_EQ(g->LeftCol(), 5);
  EXPECT_EQ(g->CellRect(5, 10), TRect(130, 25, 194, 49));
  EXPECT_EQ(g->CellRect(1, 10), TRect(65, 25, 129, 49));  // fixed column beside the scrolled rows
  EXPECT_TRUE(g->CellRect(4, 10).IsEmpty());                // scrolled away to the left
  EXPECT_TRUE(g->CellRect(5, 9).IsEmpty());
  EXPECT_EQ(g->MouseCoord(130, 25), (TGridCoord{5, 10}));
  EXPECT_EQ(g->MouseCoord(0, 0), (TGridCoord{0, 0}));
}

TEST(GridGeometry, VisibleCountsAndScrollLimitsFollowTheSizes) {
  struct Case {
    int clientH, defaultH, rows, topRow;
    int visible, maxTop;
  };
  // Heights with their one-pixel line: 25 px per row; the fixed row takes 25 of the client.
  const Case cases[] = {
      {125, 24, 100, 1, 4, 96},   // exactly four rows fit
      {130, 24, 100, 1, 4, 96},   // and a part of the fifth
      {124, 24, 100, 1, 3, 97},
      {500, 24, 10, 1, 9, 1},     // all rows shown: no scrolling
      {60, 100, 10, 1, 1, 9},     // a row taller than the room still counts as one
  };
  for (const Case& c : cases) {
    GridFixture f(200, c.clientH);
    TTestGrid* g = f.grid;
    g->SetScrollBars(ssNone);
    g->SetDefaultRowHeight(c.defaultH);
    g->SetRowCount(c.rows);
    g->SetTopRow(c.topRow);
    EXPECT_EQ(g->VisibleRowCount(), c.visible) << c.clientH << "/" << c.defaultH;
    EXPECT_EQ(g->MaxTopRow(), c.maxTop) << c.clientH << "/" << c.defaultH;
    g->SetTopRow(c.rows + 5);
    EXPECT_EQ(g->TopRow(), c.maxTop);
  }
}

TEST(GridGeometry, AMillionRowsAnswerWithoutWalkingThem) {
  GridFixture f(400, 300);
  TStringGrid* g = f.grid;
  g->SetColCount(10);
  g->SetRowCount(1000000);
  g->SetRowHeights(500000, 100);
  g->SetTopRow(999990);
  const int top = g->TopRow();
  EXPECT_EQ(top + g->VisibleRowCount(), 1000000);
  const TRect r = g->CellRect(1, 999999);
  ASSERT_FALSE(r.IsEmpty());
  EXPECT_EQ(g->MouseCoord(r.Left, r.Top), (TGridCoord{1, 999999}));
  g->SetTopRow(500000);
  EXPECT_EQ(g->CellRect(1, 500000).Height(), 100);
  EXPECT_EQ(g->MouseCoord(70, 25 + 100), (TGridCoord{1, 500000}));
  EXPECT_EQ(g->MouseCoord(70, 25 + 101), (TGridCoord{1, 500001}));
}

// The sizes between two indexes, lines left out, agree with a walk over the indexes for every line width.
TEST(GridGeometry, SizesBetweenTwoIndexesMatchAWalk) {
  GridFixture f(400, 300);
  TStringGrid* g = f.grid;
  g->SetColCount(12);
  g->SetRowCount(9000);
  std::mt19937 rng(7);
  for (int i = 0; i < 300; ++i) g->SetRowHeights(int(rng() % 9000), 5 + int(rng() % 40));
  for (int i = 0; i < 6; ++i) g->SetColWidths(int(rng() % 12), 10 + int(rng() % 90));
  for (int lineWidth : {0, 1, 3}) {
    g->SetGridLineWidth(lineWidth);
    for (int k = 0; k < 50; ++k) {
      const int a = int(rng() % 9000), b = int(rng() % 9001);
      std::int64_t walk = 0;
      for (int r = a; r < b; ++r) walk += g->RowHeights(r);
      EXPECT_EQ(g->RowHeightsBetween(a, b), walk) << a << ".." << b << " line " << lineWidth;
    }
    std::int64_t cols = 0;
    for (int c = 2; c < 11; ++c) cols += g->ColWidths(c);
    EXPECT_EQ(g->ColWidthsBetween(2, 11), cols);
    EXPECT_EQ(g->ColWidthsBetween(5, 5), 0);
  }
}

}  // namespace

namespace {

TEST(GridCounts, FixedPartsStayBelowTheCountsAndCellsStayInside) {
  GridFixture f(300, 200);
  TStringGrid* g = f.grid;
  g->SetColCount(6);
  g->SetRowCount(6);
  EXPECT_THROW(g->SetFixedCols(6), EInvalidGridOperation);
  EXPECT_THROW(g->SetFixedRows(-1), EInvalidGridOperation);
  EXPECT_THROW(g->SetColWidths(6, 10), EInvalidGridOperation);
  EXPECT_THROW(g->MoveColRow(6, 1, true, true), EInvalidGridOperation);
  g->SetCol(5);
  g->SetRow(5);
  g->SetColCount(3);  // the current cell comes back inside
  EXPECT_EQ(g->Col(), 2);
  g->SetFixedRows(5);
  EXPECT_EQ(g->Row(), 5);
  EXPECT_EQ(g->TopRow(), 5);
  g->SetRowCount(2);  // a count at or below the fixed rows takes the fixed rows down with it
  EXPECT_EQ(g->FixedRows(), 1);
  EXPECT_EQ(g->Row(), 1);
  g->SetRowCount(0);
  EXPECT_EQ(g->RowCount(), 1);
  EXPECT_EQ(g->FixedRows(), 0);
}

TEST(GridCounts, DefaultSizeResetsOwnSizes) {
  GridFixture f(300, 200);
  TStringGrid* g = f.grid;
  g->SetColWidths(2, 10);
  g->SetDefaultColWidth(30);
  EXPECT_EQ(g->ColWidths(2), 30);
  EXPECT_EQ(g->GridWidth(), 5 * 31);
}

}  // namespace
