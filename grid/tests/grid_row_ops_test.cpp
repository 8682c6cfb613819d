// Row operations on a base grid with hidden rows: heights follow their rows, and hidden rows come back where
// they were hidden after rows were inserted, removed or moved in front of them.
#include "grid/grid_row_ops.h"

#include <QApplication>

#include <gtest/gtest.h>

#include "grid/model/tests/gridcheck.h"
#include "platform/forms/forms.h"

namespace grid {
namespace {

class TOpsBaseGrid : public TBaseGrid {
 public:
  explicit TOpsBaseGrid(plat::TComponent* AOwner) : TBaseGrid(AOwner) {}
  TGridHiding hiding{*this};
  TGridRowOps rows{*this, &hiding};
  int TotalColCount() const override { return ColCount() + hiding.NumHiddenColumns(); }
  int DisplColIndex(int ACol) const override { return hiding.RealToDisplCol(ACol); }
};

struct GridRowOpsTest : ::testing::Test {
  std::unique_ptr<plat::TForm> form = std::make_unique<plat::TForm>(nullptr);
  TOpsBaseGrid* g;
  GridRowOpsTest() {
    g = new TOpsBaseGrid(form.get());
    g->SetParent(form.get());
    g->SetBounds(0, 0, 300, 300);
    g->SetColCount(3);
    g->SetRowCount(10);
    g->SetDefaultRowHeight(18);
    for (int r = 0; r < 10; ++r) g->SetCells(0, r, QString("r%1").arg(r));
  }
  QString Column0() const {
    QStringList v;
    for (int r = 0; r < g->RowCount(); ++r) v << g->GetGridCell(0, r);
    return v.join(' ');
  }
};

TEST_F(GridRowOpsTest, HiddenRowsComeBackWhereTheyWereAfterInsertsInFrontOfThem) {
  g->hiding.HideRows(6, 6);
  g->rows.Ops().InsertRows(2, 2);
  g->SetCells(0, 2, "n1");
  g->SetCells(0, 3, "n2");
  g->hiding.UnHideRowsAll();
  EXPECT_EQ(Column0(), "r0 r1 n1 n2 r2 r3 r4 r5 r6 r7 r8 r9");
  EXPECT_EQ(testing::CheckGrid(g->CellStore()), "");
}

TEST_F(GridRowOpsTest, HiddenRowsFollowRemovalsAndMoves) {
  g->hiding.HideRows(8, 8);
  g->rows.Ops().RemoveRows(1, 2);                // r1, r2
  g->rows.Ops().MoveRows(0, 4, 1);               // r0 goes before the row at 4 (r6): index 3
  g->hiding.UnHideRowsAll();
  EXPECT_EQ(Column0(), "r3 r4 r5 r0 r6 r7 r8 r9");
}

TEST_F(GridRowOpsTest, HeightsFollowTheirRows) {
  g->SetRowHeights(3, 40);
  g->SetRowHeights(5, 25);
  g->rows.Ops().InsertRows(1, 2);
  EXPECT_EQ(g->RowHeights(5), 40);
  EXPECT_EQ(g->RowHeights(7), 25);
  EXPECT_EQ(g->RowHeights(1), 18);
  g->rows.Ops().RemoveRows(0, 3);
  EXPECT_EQ(g->RowHeights(2), 40);
  EXPECT_EQ(g->RowHeights(4), 25);
  EXPECT_EQ(g->RowCount(), 9);
  g->rows.Ops().MoveRow(2, 6);
  EXPECT_EQ(g->RowHeights(6), 40);
  EXPECT_EQ(g->RowHeights(3), 25);
  EXPECT_EQ(g->GetGridCell(0, 6), "r3");
  g->rows.Ops().SwapRows(6, 0);
  EXPECT_EQ(g->RowHeights(0), 40);
  EXPECT_EQ(g->GetGridCell(0, 0), "r3");
}

TEST_F(GridRowOpsTest, WidthsFollowTheirColumns) {
  g->SetColWidths(1, 90);
  g->rows.Ops().InsertCols(0, 1);
  EXPECT_EQ(g->ColCount(), 4);
  EXPECT_EQ(g->ColWidths(2), 90);
  EXPECT_EQ(g->GetGridCell(1, 4), "r4");
  g->rows.Ops().RemoveCols(0, 2);
  EXPECT_EQ(g->ColWidths(0), 90);
  EXPECT_EQ(g->ColCount(), 2);
}

}  // namespace
}  // namespace grid
