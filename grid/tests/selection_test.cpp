// The selection model: disjunct rows, columns and cells with their errors and events, counts and lists, and
// the modified and enabled rows.
#include "grid/selection.h"

#include <gtest/gtest.h>

#include "grid/griderror.h"
#include "platform/forms/forms.h"

namespace grid {
namespace {

class TSelGrid : public TBaseGrid {
 public:
  explicit TSelGrid(plat::TComponent* AOwner) : TBaseGrid(AOwner) {}
  TGridHiding hiding{*this};
  TMouseActions mouse{this};
  TGridSelection sel{*this, hiding, mouse};
};

struct SelectionTest : ::testing::Test {
  std::unique_ptr<plat::TForm> form = std::make_unique<plat::TForm>(nullptr);
  TSelGrid* g = new TSelGrid(form.get());
  TGridSelection& s = g->sel;
  SelectionTest() {
    g->SetColCount(6);
    g->SetRowCount(10);
    g->SetOptions(g->Options() + plat::TGridOptions{plat::goRangeSelect});
  }
  static QString MessageOf(const std::function<void()>& fn) {
    try {
      fn();
    } catch (const EExtGridError& e) {
      return e.Message();
    }
    return "no error";
  }
};

TEST_F(SelectionTest, RowAndColumnIndexesAreChecked) {
  EXPECT_EQ(MessageOf([&] { s.GetRowSelect(-1); }), "Invalid row -1 accessed");
  EXPECT_EQ(MessageOf([&] { s.GetRowSelect(10); }), "Invalid row 10 accessed");
  EXPECT_EQ(MessageOf([&] { s.SetRowSelect(10, true); }), "Invalid row accessed");
  EXPECT_EQ(MessageOf([&] { s.GetColSelect(6); }), "Invalid column accessed");
  EXPECT_EQ(MessageOf([&] { s.SetColSelect(-1, true); }), "Invalid column accessed");
  g->mouse.RowSelectPersistent = true;
  g->mouse.SetDisjunctRowSelect(true);
  EXPECT_FALSE(s.GetRowSelect(5000));  // persistent: no error, and the flags do not grow
  g->hiding.HideRows(8, 9);
  EXPECT_NO_THROW(s.SetRowSelect(9, true));  // hidden rows count
}

TEST_F(SelectionTest, DisjunctRowsAskFirstAndListInSelectionOrder) {
  g->mouse.SetDisjunctRowSelect(true);
  std::vector<QString> log;
  s.OnRowDisjunctSelect = [&](plat::TObject* sender, int row, bool state, bool& allow) {
    EXPECT_EQ(sender, g);
    log.push_back(QString("ask %1 %2").arg(row).arg(state));
    allow = row != 7;
  };
  s.OnRowDisjunctSelected = [&](plat::TObject*, int row) { log.push_back(QString("done %1").arg(row)); };
  s.SetRowSelect(5, true);
  s.SetRowSelect(2, true);
  s.SetRowSelect(7, true);  // vetoed
  s.SetRowSelect(0, true);  // a fixed row: flagged but not listed
  s.SetRowSelect(5, true);  // unchanged: not asked
  EXPECT_EQ(log, (std::vector<QString>{"ask 5 1", "done 5", "ask 2 1", "done 2", "ask 7 1", "ask 0 1", "done 0",
                                        "done 5"}));
  EXPECT_FALSE(s.GetRowSelect(7));
  EXPECT_EQ(s.SelectedRowCount(), 2);
  EXPECT_EQ(s.SelectedRow(0), 5);
  EXPECT_EQ(s.SelectedRow(1), 2);
  EXPECT_EQ(s.SelectedRow(2), -1);
  EXPECT_EQ(s.RowSelectCount(), 3);
  s.SetRowSelect(5, false);
  EXPECT_EQ(s.SelectedRow(0), 2);
  s.ClearRowSelect();
  EXPECT_EQ(s.RowSelectCount(), 0);
  EXPECT_EQ(s.SelectedRowCount(), 0);
  s.SelectRows(8, 5);  // cut at the last row
  EXPECT_EQ(s.RowSelectCount(), 2);
}

TEST_F(SelectionTest, WithoutDisjunctSelectionTheRectangleAnswers) {
  s.SelectRows(3, 3);
  EXPECT_EQ(g->Selection(), (plat::TGridRect{1, 3, 5, 5}));
  EXPECT_TRUE(s.GetRowSelect(4));
  EXPECT_FALSE(s.GetRowSelect(6));
  EXPECT_EQ(s.RowSelectCount(), 3);
  EXPECT_EQ(s.SelectedRow(2), 5);
  EXPECT_EQ(s.SelectedRow(3), -1);
  s.SelectRange(2, 3, 4, 6);
  EXPECT_EQ(g->Selection(), (plat::TGridRect{2, 4, 3, 6}));
  EXPECT_EQ(s.SelectedColCount(), 2);
  EXPECT_EQ(s.SelectedRowCount(), 3);
  // A merged cell at the selection's top-left spanning past its bottom counts its whole span.
  g->MergeCells(2, 4, 1, 4);
  EXPECT_EQ(s.SelectedRowCount(), 4);
  EXPECT_TRUE(s.GetSelectedCells(3, 5));
  EXPECT_FALSE(s.GetSelectedCells(4, 5));
  EXPECT_EQ(s.SelectedCellsCount(), 6);
  EXPECT_EQ(s.SelectedCell(1), plat::TPoint(2, 5));  // column by column, then row by row
  s.SelectCols(4, 9);
  EXPECT_EQ(g->Selection(), (plat::TGridRect{4, 1, 5, 9}));
}

TEST_F(SelectionTest, DisjunctColumnsAndCells) {
  g->mouse.SetDisjunctColSelect(true);
  s.SelectCols(2, 2);
  EXPECT_TRUE(s.GetColSelect(3));
  EXPECT_EQ(s.ColSelectCount(), 2);
  s.UnSelectCols(2, 1);
  EXPECT_EQ(s.ColSelectCount(), 1);
  g->mouse.SetDisjunctCellSelect(true);
  s.SetSelectedCells(70000, 3, true);  // cells past 65,535 stay apart
  s.SetSelectedCells(3, 70000, true);
  s.SetSelectedCells(3, 70000, true);
  EXPECT_EQ(s.SelectedCellsCount(), 2);
  EXPECT_EQ(s.SelectedCell(0), plat::TPoint(70000, 3));
  EXPECT_TRUE(s.GetSelectedCells(3, 70000));
  EXPECT_FALSE(s.GetSelectedCells(3, 4464));
  s.SetSelectedCells(70000, 3, false);
  EXPECT_EQ(s.SelectedCellsCount(), 1);
  s.ClearSelectedCells();
  EXPECT_EQ(s.SelectedCellsCount(), 0);
  EXPECT_EQ(g->Selection(), (plat::TGridRect{1, 1, 1, 1}));
}

TEST_F(SelectionTest, ModifiedAndEnabledRows) {
  s.SetRowModified(4, true);
  s.SetRowModified(6, true);
  s.SetRowModified(4, false);
  EXPECT_FALSE(s.GetRowModified(40));
  EXPECT_EQ(s.ModifiedRowCount(), 1);
  s.ClearModifiedRows();
  EXPECT_EQ(s.ModifiedRowCount(), 0);

  g->SetRow(1);
  s.SetRowEnabled(2, false);
  EXPECT_TRUE(s.UseEnabledRows());
  EXPECT_EQ(g->Row(), 1);
  s.SetRowEnabled(1, false);  // the current row moves to the first enabled other row
  EXPECT_EQ(g->Row(), 3);
  EXPECT_FALSE(s.GetRowEnabled(2));
  EXPECT_TRUE(s.GetRowEnabled(50));
}

TEST_F(SelectionTest, HiddenSelectionComesBackOrFallsBackToTheFirstNormalCell) {
  s.SelectRange(2, 3, 2, 4);
  s.HideSelection();
  EXPECT_TRUE(s.SelectionHidden());
  EXPECT_FALSE(g->Selection().Contains(2, 2));
  s.UnHideSelection();
  EXPECT_EQ(g->Selection(), (plat::TGridRect{2, 2, 3, 4}));
  s.SelectRange(1, 1, 8, 9);
  s.HideSelection();
  g->SetRowCount(5);  // the saved selection lies past the grid now
  s.UnHideSelection();
  EXPECT_EQ(g->Selection(), (plat::TGridRect{1, 1, 1, 1}));
}

TEST_F(SelectionTest, RowsHiddenByTheirSelectionFlags) {
  for (int r = 0; r < 10; ++r) g->SetCells(0, r, QString::number(r));
  g->mouse.SetDisjunctRowSelect(true);
  s.SetRowSelect(3, true);
  s.SetRowSelect(4, true);
  s.SetRowSelect(8, true);
  s.HideSelectedRows();
  EXPECT_EQ(g->RowCount(), 7);
  EXPECT_TRUE(g->hiding.IsHiddenRow(3) && g->hiding.IsHiddenRow(4) && g->hiding.IsHiddenRow(8));
  g->hiding.UnHideRowsAll();
  ASSERT_EQ(g->RowCount(), 10);
  g->mouse.RowSelectPersistent = true;  // flags by real row
  s.HideUnSelectedRows();
  std::vector<QString> shown;
  for (int r = 0; r < g->RowCount(); ++r) shown.push_back(g->Cells(0, r));
  EXPECT_EQ(shown, (std::vector<QString>{"0", "3", "4", "8"}));
}

TEST(UsedCells, BoundingRectangleOfTheFilledCells) {
  plat::TForm form(nullptr);
  auto* g = new TSelGrid(&form);
  g->SetColCount(5);
  g->SetRowCount(8);
  EXPECT_EQ(g->UsedCells(), plat::TRect(0, 0, 0, 0));
  g->SetCells(2, 5, "x");
  EXPECT_EQ(g->UsedCells(), plat::TRect(2, 5, 2, 5));
  g->SetCells(4, 1, "y");
  g->SetCells(7, 7, "outside the counts");
  EXPECT_EQ(g->UsedCells(), plat::TRect(2, 1, 4, 5));
  g->hiding.IgnoreColumns().Add(3);
  EXPECT_TRUE(g->hiding.IsIgnoredColumn(3));
}

}  // namespace
}  // namespace grid
