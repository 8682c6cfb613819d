// Hiding and showing columns and rows of a base grid: the Part's cases, filter levels, and random range
// sequences against a plain reference.
#include "grid/hiding.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <random>

#include "grid/model/tests/gridcheck.h"
#include "platform/forms/forms.h"

namespace grid {
namespace {

class THidingGrid : public TBaseGrid {
 public:
  explicit THidingGrid(plat::TComponent* AOwner) : TBaseGrid(AOwner) {}
  TGridHiding hiding{*this};
  int TotalColCount() const override { return ColCount() + hiding.NumHiddenColumns(); }
  int DisplColIndex(int ACol) const override { return hiding.RealToDisplCol(ACol); }
};

// 5 columns x 10 rows; column 0 of each row names its real row ("r3"), column 4 its column ("c4").
struct HidingTest : ::testing::Test {
  std::unique_ptr<plat::TForm> form = std::make_unique<plat::TForm>(nullptr);
  THidingGrid* g;
  TGridHiding* h;
  HidingTest() {
    g = new THidingGrid(form.get());
    g->SetParent(form.get());
    g->SetBounds(0, 0, 300, 300);
    g->SetColCount(5);
    g->SetRowCount(10);
    g->SetDefaultRowHeight(18);
    h = &g->hiding;
    for (int r = 0; r < 10; ++r) {
      g->SetCells(0, r, QString("r%1").arg(r));
      g->SetCells(4, r, QString("c4 %1").arg(r));
    }
  }
  std::vector<QString> Column0() const {
    std::vector<QString> v;
    for (int r = 0; r < g->RowCount(); ++r) v.push_back(g->GetGridCell(0, r));
    return v;
  }
  std::vector<QString> Names(std::initializer_list<int> rows) const {
    std::vector<QString> v;
    for (int r : rows) v.push_back(QString("r%1").arg(r));
    return v;
  }
};

TEST_F(HidingTest, HiddenColumnsKeepTheirCellsAndComeBackWithTheirWidth) {
  g->SetColWidths(2, 77);
  g->SetCells(2, 3, "kept");
  h->HideColumns(2, 2);
  EXPECT_EQ(g->ColCount(), 4);
  EXPECT_EQ(g->TotalColCount(), 5);
  EXPECT_EQ(h->DisplToRealCol(2), 3);
  EXPECT_EQ(g->DisplColIndex(3), 2);
  EXPECT_EQ(g->GetGridCell(2, 3), "kept");
  EXPECT_NE(g->ColWidths(2), 77);
  h->UnHideColumns(2, 2);
  EXPECT_EQ(g->ColCount(), 5);
  EXPECT_EQ(g->ColWidths(2), 77);
  EXPECT_EQ(h->NumHiddenColumns(), 0);

  h->HideColumns(0, 9);  // the last visible column stays
  EXPECT_EQ(g->ColCount(), 1);
  EXPECT_EQ(h->NumHiddenColumns(), 4);
  h->UnHideColumnsAll();
  EXPECT_EQ(g->ColCount(), 5);
}

TEST_F(HidingTest, HiddenRowsMoveOutWithHeightsAndProperties) {
  g->SetRowHeights(4, 33);
  TCellProperties* p = g->GetCellProperties(1, 4);
  p->SetBrushColor(plat::clRed);
  h->HideRows(3, 5);
  EXPECT_EQ(g->RowCount(), 7);
  EXPECT_EQ(h->TotalRowCount(), 10);
  EXPECT_EQ(h->DisplToRealRow(3), 6);
  EXPECT_EQ(h->RealToDisplRow(6), 3);
  EXPECT_EQ(h->RealToDisplRow(4), 3);
  EXPECT_EQ(Column0(), Names({0, 1, 2, 6, 7, 8, 9}));
  EXPECT_EQ(g->GetGridCell(4, 3), "c4 6");  // every real column moved with its row
  h->UnHideRows(3, 5);
  EXPECT_EQ(Column0(), Names({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_EQ(g->RowHeights(4), 33);
  EXPECT_EQ(g->GetGridObject(1, 4), p);
  EXPECT_EQ(p->BrushColor(), plat::clRed);
  EXPECT_EQ(h->NumHiddenRows(), 0);
  EXPECT_EQ(testing::CheckGrid(g->CellStore()), "");
}

TEST_F(HidingTest, ARowComingBackInsideAMergedAreaSplitsIt) {
  h->HideRows(3, 3);
  g->MergeCells(1, 2, 2, 3);  // display rows 2..4: real rows 2, 4 and 5
  g->MergeCells(3, 0, 1, 2);  // display rows 0..1: untouched by the row coming back
  h->UnHideRows(3, 3);
  EXPECT_EQ(testing::CheckGrid(g->CellStore()), "");
  EXPECT_FALSE(g->IsMergedCell(1, 2));
  EXPECT_FALSE(g->IsMergedCell(2, 5));
  EXPECT_EQ(g->CellSpan(3, 0), plat::TPoint(0, 1));
}

TEST_F(HidingTest, RangesSkipRowsAlreadyHiddenAndShowingNeedsAHiddenFirstRow) {
  h->HideRows(4, 4);
  h->HideRows(2, 6);
  EXPECT_EQ(Column0(), Names({0, 1, 7, 8, 9}));
  std::vector<int> order;
  for (int i = 0; i < h->GridItems().Count(); ++i)
    order.push_back(static_cast<TGridItem*>(h->GridItems().Items(i))->Idx());
  EXPECT_EQ(order, (std::vector<int>{2, 3, 4, 5, 6}));
  h->UnHideRows(1, 6);  // row 1 is shown: nothing
  EXPECT_EQ(g->RowCount(), 5);
  h->UnHideRows(5, 6);
  EXPECT_EQ(Column0(), Names({0, 1, 5, 6, 7, 8, 9}));
  h->UnHideRowsAll();
  EXPECT_EQ(Column0(), Names({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST_F(HidingTest, ListLevelsComeBackNewestFirstAndRangeRecordsStay) {
  h->HideRows(9, 9);
  TIntList first(-1, -1), second(-1, -1);
  first.SetStrValue("1,3");
  ASSERT_TRUE(h->HideRowList(first));  // r1, r3
  EXPECT_EQ(Column0(), Names({0, 2, 4, 5, 6, 7, 8}));
  second.SetStrValue("2,5");
  ASSERT_TRUE(h->HideRowList(second));  // display 2 = r4, display 5 = r7
  EXPECT_EQ(Column0(), Names({0, 2, 5, 6, 8}));
  EXPECT_EQ(h->FilterLevel(), 2);
  h->UnHideRowList();
  h->SetFilterLevel(1);
  EXPECT_EQ(Column0(), Names({0, 2, 4, 5, 6, 7, 8}));
  h->UnHideRowList();
  h->SetFilterLevel(0);
  EXPECT_EQ(Column0(), Names({0, 1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_TRUE(h->IsHiddenRow(9));  // hidden by range: kept through both levels
  h->UnHideRow(9);
  EXPECT_EQ(g->RowCount(), 10);
}

TEST_F(HidingTest, BadRowListsAreRefused) {
  for (const char* list : {"3,2", "2,2", "-1", "10"}) {
    TIntList rows(-1, -1);
    rows.SetStrValue(list);
    EXPECT_FALSE(h->HideRowList(rows)) << list;
  }
  EXPECT_EQ(g->RowCount(), 10);
  EXPECT_EQ(h->FilterLevel(), 0);
}

TEST_F(HidingTest, RandomRangesAgreeWithTheReference) {
  std::mt19937 rng(5);
  g->SetRowCount(40);
  for (int r = 0; r < 40; ++r) g->SetCells(0, r, QString("r%1").arg(r));
  std::vector<bool> hidden(40, false);
  for (int step = 0; step < 400; ++step) {
    const int a = static_cast<int>(rng() % 40), b = std::min(39, a + static_cast<int>(rng() % 5));
    const int shown = static_cast<int>(std::count(hidden.begin(), hidden.end(), false));
    if (rng() % 2 && shown - (b - a + 1) >= 1) {
      h->HideRows(a, b);
      for (int r = a; r <= b; ++r) hidden[r] = true;
    } else {
      h->UnHideRows(a, b);
      if (hidden[a])
        for (int r = a; r <= b; ++r) hidden[r] = false;
    }
    std::vector<QString> expect;
    for (int r = 0; r < 40; ++r)
      if (!hidden[r]) expect.push_back(QString("r%1").arg(r));
    ASSERT_EQ(Column0(), expect) << "step " << step;
    for (int d = 0; d < g->RowCount(); ++d) ASSERT_EQ(g->GetGridCell(0, d), QString("r%1").arg(h->DisplToRealRow(d)));
  }
  h->UnHideRowsAll();
  EXPECT_EQ(g->RowCount(), 40);
}

}  // namespace
}  // namespace grid
