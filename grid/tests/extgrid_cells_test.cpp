// Cell access the string grid adds over its typed cells (objects by real row, cells by recorded column order
// and by the order before sorting, form control values, tri-state columns), the selection as a floating
// picture.
#include <QApplication>
#include <QImage>
#include <QWidget>

#include "grid/input/tests/input_fixture.h"

namespace grid {
namespace {

using plat::TPoint;

struct Tracked : plat::TObject {
  explicit Tracked(bool& Gone) : FGone(Gone) {}
  ~Tracked() override { FGone = true; }
  bool& FGone;
};

using CellAccess = GridInput;

// A hidden cell's user object lives in its cell properties: it comes back with the row, and the record never
// frees the application's object as if it were the grid's own.
TEST_F(CellAccess, UserObjectsOfHiddenRowsStayTheApplications) {
  bool gone = false;
  Tracked obj(gone);
  g->HideRow(3);
  EXPECT_EQ(g->AllObjects(2, 3), nullptr);
  g->SetAllObjects(2, 3, &obj);
  EXPECT_EQ(g->AllObjects(2, 3), &obj);
  g->SetAllObjects(2, 4, &obj);  // a shown row: its display row is 3
  EXPECT_EQ(g->Objects(2, 3), &obj);
  g->UnHideRow(3);
  EXPECT_EQ(g->Objects(2, 3), &obj) << "the object came back with its row";
  EXPECT_EQ(g->AllObjects(2, 4), &obj);
  g->HideRow(5);
  g->SetAllObjects(1, 5, &obj);
  g->UnHideRowsAll();
  g->HideRow(5);
  g->SetAllObjects(1, 5, nullptr);
  g->SetRowCount(4);
  delete g;
  g = nullptr;
  form.reset();
  EXPECT_FALSE(gone) << "the grid never frees a user object";
}

// The grid has one display-text event, and it is the one its cells raise.
TEST_F(CellAccess, TheGridsDisplayTextEventIsTheOneRaised) {
  g->SetCells(1, 1, "a");
  g->OnGetDisplText = [](plat::TObject*, int ACol, int ARow, QString& v) { v += QString("!%1%2").arg(ACol).arg(ARow); };
  EXPECT_EQ(g->Cells(1, 1), "a!11");
  g->OnGetDisplText = nullptr;
  EXPECT_EQ(g->Cells(1, 1), "a");
}

TEST_F(CellAccess, CellsByRecordedColumnOrderAndByTheOrderBeforeSorting) {
  g->SetColumnOrder();
  g->MoveColumn(1, 4);
  EXPECT_EQ(g->OriginalCells(1, 2), "1:2") << "column 1 is shown at position 4 now";
  g->SetOriginalCells(1, 2, "moved");
  EXPECT_EQ(g->Cells(4, 2), "moved");
  // The sort put row 3 first, then rows 1 and 2.
  TIntList& x = *g->SortRowXRef();
  x.Add(0), x.Add(3), x.Add(1), x.Add(2);
  struct {
    int row, unsortedRow, sortedIndex;
  } cases[] = {{1, 2, 3}, {2, 3, 1}, {3, 1, 2}, {0, 0, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(g->UnSortedRowIndex(c.row), c.unsortedRow) << c.row;
    EXPECT_EQ(g->UnSortedCells(0, c.row), g->Cells(0, c.unsortedRow)) << c.row;
    EXPECT_EQ(g->SortedRowIndex(c.row), c.sortedIndex) << c.row;
  }
  EXPECT_EQ(g->UnSortedRowIndex(7), 4) << "a row the reference does not name: its end";
  EXPECT_EQ(g->UnSortedCells(0, 7), "0:7") << "beyond a shorter reference the row itself";
  x.Clear();
  EXPECT_EQ(g->UnSortedRowIndex(5), 5);
  EXPECT_EQ(g->SortedRowIndex(5), 5);
}

TEST_F(CellAccess, FormControlValuesInACell) {
  g->SetCells(2, 2, "Name <CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"abc\" WIDTH=\"60\">");
  EXPECT_EQ(g->ControlValues(2, 2, "e1"), "abc");
  EXPECT_EQ(g->ControlValues(2, 2, "nope"), "");
  g->SetControlValues(2, 2, "e1", "xyz");
  EXPECT_EQ(g->ControlValues(2, 2, "e1"), "xyz");
  const QString before = g->Cells(2, 2);
  g->SetControlValues(2, 2, "nope", "q");
  EXPECT_EQ(g->Cells(2, 2), before) << "no such control: the text stays";
}

TEST_F(CellAccess, TriStateCheckBoxColumns) {
  EXPECT_EQ(TExtStringGrid::BoolToCheckBoxState(true), plat::cbChecked);
  EXPECT_EQ(TExtStringGrid::BoolToCheckBoxState(false), plat::cbUnchecked);
  g->AddTriStateCheckBoxColumn(2, plat::cbGrayed);
  EXPECT_FALSE(g->HasCheckBox(2, 0));
  for (int r = 1; r < 8; ++r) EXPECT_EQ(g->GetCellType(2, r), ctTriStateCheckBox) << r;
  g->MouseActions()->CheckAllCheck = true;
  g->AddTriStateCheckBoxColumn(3, plat::cbChecked);
  EXPECT_EQ(g->GetCellType(3, 0), ctTriStateCheckBox);
}

TEST_F(CellAccess, TheSelectionAsAFloatingPicture) {
  std::unique_ptr<plat::TForm> shot(g->SelectionToForm({3, 4, 1, 2}));
  const plat::TRect a = g->CalcCellRect(1, 2), b = g->CalcCellRect(3, 4);
  EXPECT_EQ(shot->ClientWidth(), b.Right - a.Left + 1);
  EXPECT_EQ(shot->ClientHeight(), b.Bottom - a.Top + 1);
  EXPECT_EQ(shot->BorderStyle(), plat::bsNone);
  EXPECT_EQ(shot->FormStyle(), plat::fsStayOnTop);
  EXPECT_NEAR(shot->Widget()->windowOpacity(), 192 / 255.0, 0.01);
  EXPECT_EQ(shot->Owner(), g);
}

}  // namespace
}  // namespace grid
