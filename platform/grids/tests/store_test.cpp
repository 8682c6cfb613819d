// The string grid's cell store: cells kept beyond the counts, row and column views, and the data moving
// with column and row moves and row deletion.
#include <gtest/gtest.h>

#include <map>

#include "gridfixture.h"
#include "platform/rtl/exceptions.h"

using namespace gridtest;

namespace {

struct StoreTest : ::testing::Test {
  GridFixture f{300, 200};
  TTestGrid* g = f.grid;
  TObject objA, objB;
  void Fill(int cols, int rows) {
    g->SetColCount(cols);
    g->SetRowCount(rows);
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < cols; ++c) g->SetCells(c, r, QString("%1:%2").arg(c).arg(r));
  }
  // The texts of row r (columns 0 .. n-1) joined by spaces.
  QString Row(int r, int n) {
    QStringList l;
    for (int c = 0; c < n; ++c) l << g->Cells(c, r);
    return l.join(' ');
  }
  QString Col(int c, int n) {
    QStringList l;
    for (int r = 0; r < n; ++r) l << g->Cells(c, r);
    return l.join(' ');
  }
};

TEST_F(StoreTest, CellsOutliveSmallerCounts) {
  Fill(4, 4);
  g->SetObjects(3, 3, &objA);
  g->SetColCount(2);
  g->SetRowCount(2);
  EXPECT_EQ(g->Cells(3, 3), "3:3");  // still stored, readable beyond the counts
  EXPECT_EQ(g->Objects(3, 3), &objA);
  g->SetCells(7, 1, "far");  // writing beyond the counts stores too
  EXPECT_EQ(g->Cells(7, 1), "far");
  g->SetColCount(8);
  g->SetRowCount(4);
  EXPECT_EQ(g->Cells(3, 3), "3:3");
  EXPECT_EQ(g->Cells(7, 1), "far");
  EXPECT_EQ(g->Cells(100, 100), "");
  EXPECT_EQ(g->Cells(-1, 0), "");
  EXPECT_EQ(g->Objects(5, 200), nullptr);
  EXPECT_THROW(g->SetCells(-1, 0, "x"), EInvalidGridOperation);
}

TEST_F(StoreTest, ColumnMovesCarryEveryStoredRowAndColumnBeyondTheCount) {
  Fill(5, 3);
  g->SetObjects(1, 2, &objA);
  g->SetCells(6, 0, "hidden");  // a column kept beyond ColCount moves along with the others
  struct Case {
    int from, to;
    const char* row0;
  };
  const Case cases[] = {
      {1, 3, "0:0 2:0 3:0 1:0 4:0"},
      {3, 1, "0:0 1:0 2:0 3:0 4:0"},
      {0, 4, "1:0 2:0 3:0 4:0 0:0"},
      {4, 0, "0:0 1:0 2:0 3:0 4:0"},
  };
  for (const Case& c : cases) {
    g->MoveColumn(c.from, c.to);
    EXPECT_EQ(Row(0, 5), c.row0) << c.from << "->" << c.to;
    EXPECT_EQ(Row(2, 5), QString(c.row0).replace(":0", ":2"));
  }
  EXPECT_EQ(g->Objects(1, 2), &objA);
  EXPECT_EQ(g->Cells(6, 0), "hidden");
  g->SetColCount(7);
  g->MoveColumn(6, 2);
  EXPECT_EQ(Row(0, 7), "0:0 1:0 hidden 2:0 3:0 4:0 ");
  EXPECT_EQ(g->Objects(1, 2), &objA);
}

TEST_F(StoreTest, RowMovesAndDeletionCarryTextsObjectsAndHeights) {
  Fill(2, 6);
  g->SetObjects(0, 2, &objB);
  g->SetRowHeights(2, 40);
  g->MoveRow(2, 4);
  EXPECT_EQ(Col(0, 6), "0:0 0:1 0:3 0:4 0:2 0:5");
  EXPECT_EQ(g->Objects(0, 4), &objB);
  EXPECT_EQ(g->RowHeights(4), 40);
  EXPECT_EQ(g->RowHeights(2), 24);
  g->DeleteRow(1);
  EXPECT_EQ(g->RowCount(), 5);
  EXPECT_EQ(Col(0, 5), "0:0 0:3 0:4 0:2 0:5");
  EXPECT_EQ(g->Cells(0, 5), "0:1");  // the deleted row now sits beyond RowCount
  EXPECT_THROW(g->MoveRow(0, 9), EInvalidGridOperation);
}

TEST_F(StoreTest, CurrentCellFollowsAMovedColumn) {
  Fill(6, 4);
  g->SetCol(2);
  g->MoveColumn(2, 5);
  EXPECT_EQ(g->Col(), 5);
  g->MoveColumn(1, 5);
  EXPECT_EQ(g->Col(), 4);
}

TEST_F(StoreTest, RowAndColumnViews) {
  Fill(4, 3);
  TStrings* row = g->Rows(1);
  EXPECT_EQ(row->Count(), 4);
  EXPECT_EQ(row->Strings(2), "2:1");
  row->SetStrings(3, "new");
  EXPECT_EQ(g->Cells(3, 1), "new");
  TStrings* col = g->Cols(0);
  EXPECT_EQ(col->Count(), 3);
  EXPECT_EQ(col->CommaText(), "0:0,0:1,0:2");
  col->SetObjects(1, &objA);
  EXPECT_EQ(g->Objects(0, 1), &objA);
  // Assigning a shorter list clears the rest of the line.
  TStringList src;
  src.AddObject("a", &objB);
  src.Add("b");
  g->Rows(2)->Assign(&src);
  EXPECT_EQ(Row(2, 4), "a b  ");
  EXPECT_EQ(g->Objects(0, 2), &objB);
  // Add fills the first empty cell; lines can be neither inserted nor deleted.
  EXPECT_EQ(g->Rows(2)->Add("c"), 2);
  EXPECT_EQ(g->Cells(2, 2), "c");
  EXPECT_THROW(g->Rows(2)->Insert(0, "x"), EInvalidGridOperation);
  EXPECT_THROW(g->Cols(0)->Delete(0), EInvalidGridOperation);
  g->Rows(0)->Clear();
  EXPECT_EQ(Row(0, 4), "   ");
}

// A grid that keeps its cells elsewhere sees every access through the store steps.
TEST_F(StoreTest, DerivedStoresAnswerThroughTheStoreSteps) {
  struct MapGrid : TStringGrid {
    using TStringGrid::TStringGrid;
    std::map<std::pair<int, int>, QString> cells;
    std::vector<std::pair<int, int>> moves;
    QString GetCellText(int c, int r) const override {
      auto it = cells.find({c, r});
      return it == cells.end() ? QString() : it->second;
    }
    void SetCellText(int c, int r, const QString& v) override { cells[{c, r}] = v; }
    void MoveStoredRow(int from, int to) override { moves.push_back({from, to}); }
  };
  auto* m = new MapGrid(f.form.get());
  m->SetParent(f.form.get());
  m->SetCells(2, 3, "x");
  EXPECT_EQ(m->cells.at({2, 3}), "x");
  EXPECT_EQ(m->Rows(3)->Strings(2), "x");
  m->MoveRow(1, 3);
  ASSERT_EQ(m->moves.size(), 1u);
  EXPECT_EQ(m->moves[0], (std::pair<int, int>{1, 3}));
}

}  // namespace
