// Row and column operations: the cases where hidden rows, merged areas, cell objects and counts must come
// out right, one fixture grid with texts "c,r".

#include <gtest/gtest.h>

#include "grid/model/tests/gridcheck.h"
#include "grid/model/tests/opsgrid.h"

namespace grid {
namespace {

using testing::TCountedObject;
using testing::TOpsGrid;

class RowColOps : public ::testing::Test {
 protected:
  void Fill() {
    for (int r = 0; r < g.RowCount(); ++r)
      for (int c = 0; c < g.ColCount(); ++c) g.SetGridCell(c, r, QString("%1,%2").arg(c).arg(r));
  }
  QString Column(int c) const {
    QStringList v;
    for (int r = 0; r < g.RowCount(); ++r) v << g.GridCellRef(c, r);
    return v.join(' ');
  }
  std::vector<int> HiddenIdx() const {
    std::vector<int> v;
    for (const auto& rec : g.Hidden) v.push_back(rec.Idx);
    return v;
  }
  TOpsGrid g{4, 12};
  TRowColOps ops{g, g};
  TCellObjects objs{g, g};
};

TEST_F(RowColOps, RemovingRowsRenumbersHiddenRowsBehindThem) {
  Fill();
  g.HideRealRow(9);
  ops.RemoveRows(2, 3);
  EXPECT_EQ(HiddenIdx(), std::vector<int>{6});
  g.UnHideAll();
  EXPECT_EQ(g.GridCellRef(0, 6), "0,9");
  EXPECT_EQ(g.GridCellRef(0, 2), "0,5");
}

TEST_F(RowColOps, RemovingRowsAroundAHiddenRowKeepsItBetweenItsNeighbours) {
  Fill();
  g.HideRealRow(3);
  ops.RemoveRows(2, 3);  // real rows 2, 4 and 5; the hidden row 3 stays and comes back after row 1
  EXPECT_EQ(HiddenIdx(), std::vector<int>{2});
  g.UnHideAll();
  EXPECT_EQ(Column(0).left(19), "0,0 0,1 0,3 0,6 0,7");
}

TEST_F(RowColOps, InsertingRowsRenumbersHiddenRowsAtOrBehindThePoint) {
  Fill();
  g.HideRealRow(1);
  g.HideRealRow(6);
  ops.InsertRows(4, 2);  // display row 4 is real row 5
  EXPECT_EQ(HiddenIdx(), (std::vector<int>{1, 8}));
  g.UnHideAll();
  EXPECT_EQ(Column(0).section(' ', 0, 8), "0,0 0,1 0,2 0,3 0,4   0,5 0,6");
  ops.InsertRows(g.RowCount(), 1);  // at the end
  EXPECT_EQ(g.RowCount(), 15);
  EXPECT_EQ(g.Heights.size(), 15u);
}

TEST_F(RowColOps, MovingABlockKeepsObjectsAndHiddenRows) {
  Fill();
  objs.AddBitmap(1, 1, new TCountedObject, false, haLeft, vaTop, true);
  g.HideRealRow(10);
  ops.MoveRows(1, 5, 2);  // rows 1 and 2 land before the row that was at 5
  EXPECT_EQ(Column(0).section(' ', 0, 5), "0,0 0,3 0,4 0,1 0,2 0,5");
  EXPECT_EQ(objs.GetCellType(1, 3), ctBitmap);
  EXPECT_EQ(HiddenIdx(), std::vector<int>{10});
  ops.MoveRow(3, 0);
  EXPECT_EQ(Column(0).section(' ', 0, 2), "0,1 0,0 0,3");
  EXPECT_EQ(objs.GetCellType(1, 0), ctBitmap);
  EXPECT_EQ(testing::CheckGrid(g), "");
  EXPECT_EQ(TCountedObject::Live, 1);
  ops.RemoveRows(0, 1);
  EXPECT_EQ(TCountedObject::Live, 0);
}

TEST_F(RowColOps, OperationsCutMergedAreasAtTheirBoundaries) {
  Fill();
  g.MergeCells(1, 2, 2, 4);   // rows 2..5
  g.MergeCells(0, 8, 1, 2);   // rows 8..9, untouched by the insert
  ops.InsertRows(4, 1);
  EXPECT_FALSE(g.IsMergedCell(1, 2));
  EXPECT_TRUE(g.IsMergedCell(0, 10));
  EXPECT_EQ(g.CellSpan(0, 9).Y, 1);
  EXPECT_EQ(testing::CheckGrid(g), "");
  g.MergeCells(1, 2, 2, 4);
  ops.RemoveRows(2, 4);  // the whole area goes with its rows
  EXPECT_EQ(testing::CheckGrid(g), "");
  g.MergeCells(1, 1, 2, 2);
  ops.RemoveCols(2, 1);
  EXPECT_FALSE(g.IsMergedCell(1, 1));
  EXPECT_EQ(testing::CheckGrid(g), "");
}

TEST_F(RowColOps, SwappingRowsKeepsObjectsWithTheirTexts) {
  Fill();
  objs.AddComment(2, 3, "three");
  ops.SwapRows(3, 7);
  EXPECT_EQ(g.GridCellRef(2, 7), "2,3");
  EXPECT_EQ(objs.GetComment(2, 7), "three");
  EXPECT_EQ(objs.GetCellGraphic(2, 3), nullptr);
  EXPECT_EQ(testing::CheckGrid(g), "");
  ops.SwapColumns(2, 0);
  EXPECT_EQ(objs.GetComment(0, 7), "three");
  EXPECT_EQ(g.GridCellRef(0, 7), "2,3");
}

TEST_F(RowColOps, ClearingTheWholeGridForgetsProperties) {
  Fill();
  objs.AddBitmap(1, 1, new TCountedObject, false, haLeft, vaTop, true);
  g.MergeCells(2, 2, 2, 2);
  ops.ClearRect(1, 1, 2, 2);  // cuts the area at (2,2): it is split, its other cells keep their records
  EXPECT_EQ(TCountedObject::Live, 0);
  EXPECT_EQ(testing::CheckGrid(g), "");
  EXPECT_EQ(g.GridCellRef(3, 3), "3,3");
  EXPECT_TRUE(g.HasCellProps());
  ops.Clear();
  EXPECT_FALSE(g.HasCellProps());
  EXPECT_EQ(g.GridCellRef(3, 11), "");
}

TEST_F(RowColOps, NilObjectsOnlyDetaches) {
  objs.AddComment(1, 1, "c");
  TCellProperties* props = g.GetGridObject(1, 1);
  ops.NilObjects = true;
  ops.ClearRows(1, 1);
  EXPECT_EQ(g.GetGridObject(1, 1), nullptr);
  delete props;  // the caller that set NilObjects holds the properties elsewhere
}

TEST_F(RowColOps, RemovingColumnsCutsTheCount) {
  Fill();
  ops.RemoveCols(1, 10);
  EXPECT_EQ(g.ColCount(), 1);
  EXPECT_EQ(g.GridCellRef(0, 5), "0,5");
  EXPECT_EQ(g.GridCellRef(1, 5), "");
  ops.RemoveCols(-1, 1);
  EXPECT_EQ(g.ColCount(), 1);
  ops.InsertCols(0, 2);
  EXPECT_EQ(g.ColCount(), 3);
  EXPECT_EQ(g.GridCellRef(2, 5), "0,5");
}

TEST_F(RowColOps, RemovingDuplicates) {
  struct Case {
    bool doCase;
    QString kept;
  } cases[] = {{false, "a b"}, {true, "a A b"}};
  for (const Case& k : cases) {
    TOpsGrid h(1, 4);
    TRowColOps o(h, h);
    const char* texts[] = {"a", "A", "b", "a"};
    for (int r = 0; r < 4; ++r) h.SetGridCell(0, r, texts[r]);
    o.RemoveDuplicates(0, k.doCase);
    QStringList kept;
    for (int r = 0; r < h.RowCount(); ++r) kept << h.GridCellRef(0, r);
    EXPECT_EQ(kept.join(' '), k.kept) << k.doCase;
  }
}

TEST_F(RowColOps, MergingAndSplittingRunsOfEqualCells) {
  g.Fixed = 1;
  const char* texts[] = {"h", "x", "x", "y", "y", "y", "z", "w", "w"};
  g.SetRowCount(9);
  for (int r = 0; r < 9; ++r) g.SetGridCell(1, r, texts[r]);
  ops.MergeColumnCells(1, true);
  EXPECT_EQ(g.CellSpan(1, 1), plat::TPoint(0, 1));  // rows 1-2
  EXPECT_EQ(g.CellSpan(1, 3), plat::TPoint(0, 2));  // rows 3-5
  EXPECT_FALSE(g.IsMergedCell(1, 6));               // a single cell stays
  EXPECT_EQ(g.CellSpan(1, 7), plat::TPoint(0, 1));  // the last run
  ops.SplitColumnCells(1);
  EXPECT_FALSE(g.IsMergedCell(1, 4));
  EXPECT_FALSE(g.IsMergedCell(1, 1));
  for (int c = 0; c < 4; ++c) g.SetGridCell(c, 0, c < 3 ? "s" : "t");
  ops.MergeRowCells(0, true);
  EXPECT_EQ(g.CellSpan(0, 0), plat::TPoint(2, 0));
  ops.SplitAllCells();
  EXPECT_FALSE(g.IsMergedCell(1, 0));
  EXPECT_EQ(testing::CheckGrid(g), "");
}

TEST_F(RowColOps, TrimmingFindingAndMergingColumns) {
  g.SetGridCell(1, 1, " \t padded\r\n");
  g.SetGridCell(2, 1, "right");
  ops.TrimRow(1);
  EXPECT_EQ(g.GridCellRef(1, 1), "padded");
  int c = -1, r = -1;
  EXPECT_TRUE(ops.IsCell("right", c, r));
  EXPECT_EQ(plat::TPoint(c, r), plat::TPoint(2, 1));
  EXPECT_FALSE(ops.IsCell("Right", c, r));
  ops.MergeCols(1, 2, "-");
  EXPECT_EQ(g.GridCellRef(1, 1), "padded-right");
  EXPECT_EQ(g.ColCount(), 3);
  EXPECT_TRUE(TRowColOps::IsWideCell("|\\wide"));
  EXPECT_FALSE(TRowColOps::IsWideCell("|wide"));
}

}  // namespace
}  // namespace grid
