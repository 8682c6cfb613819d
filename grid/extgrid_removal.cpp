// Removing rows and columns by their selection, colouring a rectangle and scrolling a cell into view.
//
// The removals walk from the bottom (right) up, so a removal never shifts a row still to be looked at; the
// selection flags follow the rows that remain.

#include <algorithm>

#include "grid/extgrid.h"

namespace grid {

void TExtStringGrid::RemoveSelectedRows() {
  BeginUpdate();
  const int last = RowCount() - FixedFooters() - 1;
  if (FMouseActions.DisjunctRowSelect()) {
    for (int r = last; r >= FixedRows(); --r)
      if (GetRowSelect(FMouseActions.RowSelectPersistent ? RealRowIndex(r) : r)) DoRemoveRows(r, 1);
    ClearRowSelect();
  } else {
    const plat::TGridRect s = Selection();
    const int top = std::max(std::min(s.Top, s.Bottom), FixedRows());
    for (int r = std::min(std::max(s.Top, s.Bottom), last); r >= top; --r) DoRemoveRows(r, 1);
  }
  EndUpdate();
}

void TExtStringGrid::RemoveUnSelectedRows() {
  BeginUpdate();
  for (int r = RowCount() - FixedFooters() - 1; r >= FixedRows(); --r)
    if (!GetRowSelect(r)) DoRemoveRows(r, 1);
  if (FMouseActions.RowSelectPersistent)
    SelectRows(FixedRows(), RowCount() - FixedRows());
  else
    ClearRowSelect();
  EndUpdate();
}

void TExtStringGrid::RemoveSelectedCols() {
  BeginUpdate();
  if (FMouseActions.DisjunctColSelect()) {
    for (int c = ColCount() - 1; c >= FixedCols(); --c)
      if (GetColSelect(c)) RemoveCols(RealColIndex(c), 1);
  } else {
    // One display column at a time: with hidden columns the selected ones need not lie side by side in store.
    const plat::TGridRect s = Selection();
    const int left = std::max(std::min(s.Left, s.Right), FixedCols());
    for (int c = std::min(std::max(s.Left, s.Right), ColCount() - 1); c >= left; --c) RemoveCols(RealColIndex(c), 1);
  }
  EndUpdate();
}

void TExtStringGrid::RemoveUnSelectedCols() {
  BeginUpdate();
  if (FMouseActions.DisjunctColSelect()) {
    for (int c = ColCount() - 1; c >= FixedCols(); --c)
      if (!GetColSelect(c)) RemoveCols(RealColIndex(c), 1);
  } else {
    const plat::TGridRect s = Selection();
    const int left = std::min(s.Left, s.Right), right = std::max(s.Left, s.Right);
    for (int c = ColCount() - 1; c > right; --c) RemoveCols(RealColIndex(c), 1);
    for (int c = left - 1; c >= FixedCols(); --c) RemoveCols(RealColIndex(c), 1);
  }
  ClearColSelect();
  EndUpdate();
}

void TExtStringGrid::ColorRect(int ACol1, int ARow1, int ACol2, int ARow2, plat::TColor AColor) {
  for (int r = ARow1; r <= ARow2; ++r)
    for (int c = ACol1; c <= ACol2; ++c) SetColors(c, r, AColor);
}

void TExtStringGrid::ScrollInView(int ColIndex, int RowIndex) {
  if (ColIndex < 0 || RowIndex < 0 || ColIndex >= ColCount() || RowIndex >= RowCount()) return;
  const int visCols = VisibleColCount(), visRows = VisibleRowCount();
  int left = LeftCol(), top = TopRow();
  if (ColIndex < LeftCol() || ColIndex >= LeftCol() + visCols) {
    SetCol(ColIndex);
    left = std::max(ColIndex - visCols / 2, FixedCols());
  }
  if (RowIndex < TopRow() || RowIndex >= TopRow() + visRows) {
    SetRow(RowIndex);
    top = std::max(RowIndex - visRows / 2, FixedRows());
  }
  left = std::min(left, ColCount() - visCols + 1);
  if (FixedCols() + visCols < ColCount()) SetLeftCol(std::clamp(left, FixedCols(), MaxLeftCol()));
  top = std::min(top, RowCount() - visRows + 1);
  if (FixedRows() + visRows >= RowCount()) return;
  SetTopRow(std::clamp(top, FixedRows(), MaxTopRow()));
  if (!FSearchFooter.Visible()) return;
  // The row's bottom must end above the search panel (where the client ends).
  const int limit = ClientHeight();
  while (CellRect(0, RowIndex).Bottom > limit) {
    const int before = TopRow();
    SetTopRow(std::min(before + 1, MaxTopRow()));
    if (TopRow() == before) break;
  }
}

}  // namespace grid
