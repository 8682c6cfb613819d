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

// A descendant that replaced the exchange sees every one of them; the grid's own sort moves its rows at once.
// Both must end in the same state: cells, objects, merges, heights, flags, the followed row and the counters.
class TWatchingGrid : public TExtStringGrid {
 public:
  using TExtStringGrid::TExtStringGrid;
  void SortSwapRows(int ARow1, int ARow2) override {
    ++Seen;
    TExtStringGrid::SortSwapRows(ARow1, ARow2);
  }
  int Seen = 0;
};

std::string StateOf(TExtStringGrid& g) {
  QStringList out;
  for (int r = 0; r < g.RowCount(); ++r) {
    QStringList row;
    for (int c = 0; c < g.ColCount(); ++c)
      row << g.Cells(c, r) + "|" + g.CellObjects().GetComment(c, r) + (g.IsMergedCell(c, r) ? "|m" : "");
    row << QString::number(g.RowHeights(r)) << QString::number(g.RowModified(r)) << QString::number(g.GetRowSelect(r));
    out << row.join(',');
  }
  out << "xref " + g.SortRowXRef()->StrValue() << QString("swaps %1 sortrow %2 row %3").arg(g.Swaps()).arg(g.SortRow()).arg(g.Row());
  return out.join('\n').toStdString();
}

TEST(SortMoves, RowsMovedAtOnceEndAsTheExchangesOneByOneLeaveThem) {
  for (const bool single : {false, true}) {
    auto form = std::make_unique<plat::TForm>(nullptr);
    TExtStringGrid* fast = new TExtStringGrid(form.get());
    TWatchingGrid* slow = new TWatchingGrid(form.get());
    for (TExtStringGrid* g : {fast, static_cast<TExtStringGrid*>(slow)}) {
      g->SetParent(form.get());
      g->SetBounds(0, 0, 400, 300);
      g->SetColCount(4);
      g->SetRowCount(80);
      for (int r = 1; r < 80; ++r) {
        g->SetCells(0, r, QString::number(r));
        g->SetCells(1, r, QString::number((r * 37) % 23));
        g->SetCells(2, r, QString(QChar(u'a' + (r * 11) % 7)));
        g->SetCells(3, r, QString("z%1").arg(r % 5));
        if (r % 9 == 0) g->SetRowHeights(r, 20 + r);
        if (r % 7 == 0) g->CellObjects().AddComment(r % 4, r, QString("note %1").arg(r));
      }
      g->MergeCells(2, 10, 2, 1);
      g->MergeCells(3, 30, 1, 3);
      g->MouseActions()->SetDisjunctRowSelect(true);
      g->Navigation()->MoveRowOnSort = true;
      g->ShowModified()->Enabled = true;
      for (int r : {3, 17, 40}) g->SetRowSelect(r, true);
      for (int r : {5, 44}) g->SetRowModified(r, true);
      g->SetRow(15);
      g->SortSettings()->SortSingleColumn = single;
      g->Sort(1, sdAscending);
      g->Sort(2, sdDescending);
    }
    EXPECT_EQ(StateOf(*fast), StateOf(*slow)) << single;
    EXPECT_GT(slow->Seen, 0);
    EXPECT_EQ(slow->Seen, slow->Swaps());
    EXPECT_EQ(testing::CheckGrid(fast->CellStore()), "");
    for (TExtStringGrid* g : {fast, static_cast<TExtStringGrid*>(slow)}) g->QUnSort();
    EXPECT_EQ(StateOf(*fast), StateOf(*slow)) << single;
    EXPECT_EQ(testing::CheckGrid(fast->CellStore()), "");
  }
}

}  // namespace
}  // namespace grid
