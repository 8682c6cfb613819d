// The cell advance on Tab and Enter: the next cell by direction, wrapping at the ends, the row append at the
// last cell (before a shown floating footer), the hand-over of the focus at the end of the table, merged and
// read-only cells skipped, and a grid without any editable cell.
#include <QApplication>

#include "grid/input/tests/input_fixture.h"
#include "platform/forms/stdctrls.h"

namespace grid {
namespace {

using plat::TPoint;

struct AdvanceTest : GridInput {
  AdvanceTest() {
    g->SetOptions(g->Options() + plat::TGridOptions{plat::goTabs});
    g->Navigation()->AdvanceAutoEdit = false;
  }
};

struct TabCase {
  TAdvanceDirection dir;
  bool backward;
  TPoint from, to;
  const char* what;
};

TEST_F(AdvanceTest, TabMovesByTheTabDirection) {
  const TabCase cases[] = {
      {adLeftRight, false, {2, 3}, {3, 3}, "next column"},
      {adLeftRight, false, {5, 3}, {1, 4}, "last column: next row"},
      {adLeftRight, true, {3, 3}, {2, 3}, "back one column"},
      {adLeftRight, true, {1, 3}, {5, 2}, "first column: previous row, last column"},
      {adLeftRight, true, {1, 1}, {5, 7}, "first normal row: last normal row"},
      {adTopBottom, false, {2, 3}, {2, 4}, "down"},
      {adTopBottom, false, {2, 7}, {3, 1}, "last row: next column at the top"},
      {adTopBottom, true, {2, 1}, {1, 7}, "first row: last row, column before"},
  };
  for (const TabCase& c : cases) {
    g->Navigation()->TabAdvanceDirection = c.dir;
    g->FocusCell(c.from.X, c.from.Y);
    Key(plat::VK_TAB, c.backward ? plat::TShiftState{plat::ssShift} : plat::TShiftState{});
    EXPECT_EQ(Cell(), c.to) << c.what;
  }
}

TEST_F(AdvanceTest, TabAtTheLastCellHandsTheFocusOn) {
  auto* next = new plat::TEdit(form.get());
  next->SetParent(form.get());
  next->SetBounds(0, 300, 80, 20);
  g->Navigation()->TabToNextAtEnd = true;
  QApplication::setActiveWindow(form->Widget());
  g->SetFocus();
  g->FocusCell(5, 7);
  EXPECT_FALSE(g->TabToNextCell(false));
  QApplication::processEvents();
  EXPECT_TRUE(next->Focused());
  EXPECT_EQ(g->RowCount(), 8) << "no row is appended";
}

TEST_F(AdvanceTest, TabAtTheLastCellAppendsARowWhenAllowed) {
  g->Navigation()->SetAdvanceInsert(true);
  int added = -1;
  g->OnAutoAddRow = [&](plat::TObject*, int r) { added = r; };
  g->FocusCell(5, 7);
  EXPECT_TRUE(g->TabToNextCell(false));
  EXPECT_EQ(g->RowCount(), 9);
  EXPECT_EQ(Cell(), TPoint(1, 8));
  EXPECT_EQ(added, 8);
  g->OnCanAddRow = [](plat::TObject*, bool& can) { can = false; };
  g->FocusCell(5, 8);
  g->TabToNextCell(false);
  EXPECT_EQ(g->RowCount(), 9);
  EXPECT_EQ(Cell(), TPoint(1, 1)) << "refused: back to the first row";
}

TEST_F(AdvanceTest, TabAppendsBeforeTheFloatingFooter) {
  g->Navigation()->SetAdvanceInsert(true);
  g->FloatingFooter()->SetVisible(true);
  g->SetCells(2, 7, "total");
  g->FocusCell(5, 6);
  g->TabToNextCell(false);
  EXPECT_EQ(g->RowCount(), 9);
  EXPECT_EQ(g->Cells(2, 8), "total") << "the footer row stays last";
  EXPECT_EQ(Cell(), TPoint(1, 7));
}

TEST_F(AdvanceTest, TabSkipsMergedPartsAndCellsThatCannotBeEdited) {
  g->MergeCells(2, 3, 2, 1);
  g->FocusCell(1, 3);
  g->TabToNextCell(false);
  EXPECT_EQ(Cell(), TPoint(2, 3));
  g->TabToNextCell(false);
  EXPECT_EQ(Cell(), TPoint(4, 3)) << "the merged area's second column is no stop";
  Edit();
  g->SetReadOnly(2, 4, true);
  g->SetReadOnly(3, 4, true);
  g->FocusCell(1, 4);
  g->TabToNextCell(false);
  EXPECT_EQ(Cell(), TPoint(4, 4));
}

TEST_F(AdvanceTest, TabInAGridWithoutEditableCellsStopsAndStays) {
  Edit();
  g->OnCanEditCell = [](plat::TObject*, int, int, bool& can) { can = false; };
  g->FocusCell(3, 3);
  g->TabToNextCell(false);
  EXPECT_EQ(Cell(), TPoint(3, 3));
  g->Navigation()->AdvanceOnEnter = true;
  g->AdvanceToNextCell(3, 3, false, false, true, false, false);
  EXPECT_EQ(Cell(), TPoint(3, 3));
}

struct EnterCase {
  TAdvanceDirection dir;
  TPoint from, to;
  const char* what;
};

TEST_F(AdvanceTest, EnterMovesByTheAdvanceDirection) {
  g->Navigation()->AdvanceOnEnter = true;
  const EnterCase cases[] = {
      {adLeftRight, {2, 3}, {3, 3}, "next column"},
      {adLeftRight, {5, 3}, {1, 4}, "last column: next row"},
      {adLeftRight, {5, 7}, {1, 1}, "last cell: loops to the first"},
      {adLeftRightInRow, {5, 3}, {1, 3}, "stays in the row"},
      {adTopBottom, {2, 3}, {2, 4}, "down"},
      {adTopBottom, {2, 7}, {3, 1}, "last row: top of the next column"},
      {adTopBottomInCol, {2, 7}, {2, 1}, "last row: top of the same column"},
  };
  for (const EnterCase& c : cases) {
    g->Navigation()->SetAdvanceDirection(c.dir);
    g->FocusCell(c.from.X, c.from.Y);
    g->AdvanceToNextCell(g->Col(), g->Row(), false, false, true, false, false);
    EXPECT_EQ(Cell(), c.to) << c.what;
  }
}

TEST_F(AdvanceTest, EnterAtTheLastCellAppendsARowOrStaysInTheRow) {
  g->Navigation()->AdvanceOnEnter = true;
  g->Navigation()->SetAdvanceInsert(true);
  Edit();
  g->FocusCell(5, 7);
  g->AdvanceToNextCell(5, 7, false, false, true, false, false);
  EXPECT_EQ(g->RowCount(), 9);
  EXPECT_EQ(Cell(), TPoint(1, 8));
  g->OnCanAddRow = [](plat::TObject*, bool& can) { can = false; };
  g->FocusCell(5, 8);
  g->AdvanceToNextCell(5, 8, false, false, true, false, false);
  EXPECT_EQ(g->RowCount(), 9);
  EXPECT_EQ(Cell(), TPoint(1, 8));
}

TEST_F(AdvanceTest, EnterAdvanceCanBeRedirectedOrSkipsReadOnlyCells) {
  g->Navigation()->AdvanceOnEnter = true;
  Edit();
  g->OnAutoAdvance = [](plat::TObject*, int, int, int& r, int& c, bool&) {
    r = 6;
    c = 4;
  };
  g->FocusCell(2, 2);
  g->AdvanceToNextCell(2, 2, false, false, true, false, false);
  EXPECT_EQ(Cell(), TPoint(4, 6));
  g->OnAutoAdvance = nullptr;
  g->SetReadOnly(3, 2, true);
  g->SetReadOnly(4, 2, true);
  g->FocusCell(2, 2);
  g->AdvanceToNextCell(2, 2, false, false, true, false, false);
  EXPECT_EQ(Cell(), TPoint(5, 2));
  g->Navigation()->AdvanceSkipReadOnlyCells = false;
  g->FocusCell(2, 2);
  g->AdvanceToNextCell(2, 2, false, false, true, false, false);
  EXPECT_EQ(Cell(), TPoint(3, 2)) << "without skipping the advance still moves there";
}

TEST_F(AdvanceTest, EnterKeyInAControlCellAdvances) {
  g->Navigation()->AdvanceOnEnter = true;
  g->AddCheckBox(2, 3, false, false);
  g->FocusCell(2, 3);
  Key(plat::VK_RETURN);
  Char(u'\r');
  EXPECT_EQ(Cell(), TPoint(3, 3));
}

TEST_F(AdvanceTest, TheLastNormalRowTestCountsTheFooter) {
  g->FocusCell(1, 7);
  EXPECT_TRUE(g->IsLastNormalRow());
  g->FloatingFooter()->SetVisible(true);
  EXPECT_FALSE(g->IsLastNormalRow());
  g->FocusCell(1, 6);
  EXPECT_TRUE(g->IsLastNormalRow());
}

}  // namespace
}  // namespace grid
