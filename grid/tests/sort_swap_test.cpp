// The row exchange the sort routines call for every swap: whole rows with their objects, heights, selection
// and modified flags, or only the sort column's cells; the swap counter, the followed row and the row
// cross-reference.
#include <gtest/gtest.h>

#include "grid/extgrid.h"
#include "grid/model/tests/gridcheck.h"
#include "platform/forms/forms.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& S, std::ostream* Os) { *Os << '"' << S.toStdString() << '"'; }
QT_END_NAMESPACE

namespace grid {
namespace {

struct SortSwapTest : ::testing::Test {
  std::unique_ptr<plat::TForm> form = std::make_unique<plat::TForm>(nullptr);
  TExtStringGrid* g = new TExtStringGrid(form.get());
  SortSwapTest() {
    g->SetParent(form.get());
    g->SetBounds(0, 0, 400, 300);
    g->SetColCount(3);
    g->SetRowCount(6);
    for (int r = 0; r < 6; ++r)
      for (int c = 0; c < 3; ++c) g->SetCells(c, r, QString("%1%2").arg(QChar(u'a' + c)).arg(r));
  }
  QString Col(int c) const {
    QStringList l;
    for (int r = 1; r < g->RowCount(); ++r) l << g->Cells(c, r);
    return l.join(' ');
  }
};

TEST_F(SortSwapTest, WholeRowsChangePlacesWithObjectsHeightsAndFlags) {
  g->AddCheckBox(2, 1, true, false);
  g->SetRowHeights(1, 40);
  g->MouseActions()->SetDisjunctRowSelect(true);
  g->Navigation()->MoveRowOnSort = true;
  g->ShowModified()->Enabled = true;
  g->SetRowSelect(1, true);
  g->SetRowModified(4, true);
  g->SetSortRow(4);
  for (int i = 0; i < 6; ++i) g->SortRowXRef()->Add(i);

  g->SortSwapRows(1, 4);
  EXPECT_EQ(Col(0), "a4 a2 a3 a1 a5");
  EXPECT_EQ(Col(1), "b4 b2 b3 b1 b5");
  EXPECT_TRUE(g->HasCheckBox(2, 4));
  EXPECT_FALSE(g->HasCheckBox(2, 1));
  EXPECT_EQ(g->RowHeights(4), 40);
  EXPECT_EQ(g->RowHeights(1), g->DefaultRowHeight());
  EXPECT_TRUE(g->GetRowSelect(4));
  EXPECT_FALSE(g->GetRowSelect(1));
  EXPECT_TRUE(g->RowModified(1));
  EXPECT_FALSE(g->RowModified(4));
  EXPECT_EQ(g->SortRow(), 1);
  EXPECT_EQ(g->Swaps(), 1);
  EXPECT_EQ(g->SortRowXRef()->StrValue(), "0,4,2,3,1,5");
  EXPECT_EQ(testing::CheckGrid(g->CellStore()), "");
}

TEST_F(SortSwapTest, FlagsStayWithoutTheirSwitchesAndTheCrossReferenceOnlyWhenBothRowsAreInIt) {
  g->MouseActions()->SetDisjunctRowSelect(true);  // MoveRowOnSort off: the selection stays where it is
  g->SetRowSelect(2, true);
  g->SetRowModified(2, true);  // ShowModified off
  for (int i = 0; i < 4; ++i) g->SortRowXRef()->Add(i);
  g->SortSwapRows(2, 5);
  g->SortSwapRows(5, 2);
  g->SortSwapRows(2, 3);
  EXPECT_TRUE(g->GetRowSelect(2));
  EXPECT_TRUE(g->RowModified(2));
  EXPECT_EQ(g->SortRowXRef()->StrValue(), "0,1,3,2");
  EXPECT_EQ(g->Swaps(), 3);
}

TEST_F(SortSwapTest, ASingleColumnSortMovesOnlyThatColumnsCells) {
  g->SortSettings()->SortSingleColumn = true;
  g->SortSettings()->SetColumn(1);
  g->CellObjects().AddComment(1, 2, "note");
  g->SetRowHeights(2, 33);
  g->SortSwapRows(2, 5);
  EXPECT_EQ(Col(0), "a1 a2 a3 a4 a5");
  EXPECT_EQ(Col(1), "b1 b5 b3 b4 b2");
  EXPECT_EQ(g->CellObjects().GetComment(1, 5), "note");
  EXPECT_EQ(g->CellObjects().GetComment(1, 2), "");
  EXPECT_EQ(g->RowHeights(2), 33);
  EXPECT_EQ(testing::CheckGrid(g->CellStore()), "");
}

TEST_F(SortSwapTest, ASingleColumnSwapSplitsAMergeItWouldTear) {
  g->SortSettings()->SortSingleColumn = true;
  g->SortSettings()->SetColumn(1);
  g->MergeCells(0, 2, 2, 2);
  g->SortSwapRows(2, 4);
  EXPECT_FALSE(g->IsMergedCell(1, 2));
  EXPECT_FALSE(g->IsMergedCell(0, 3));
  EXPECT_EQ(Col(1), "b1 b4 b3 b2 b5");
  EXPECT_EQ(testing::CheckGrid(g->CellStore()), "");
}

}  // namespace
}  // namespace grid
