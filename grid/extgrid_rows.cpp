// Inserting and removing rows on the grid object, and clearing it: the model's row operations do the cells,
// the side lists and the attached controls; here the current cell, the top row and the largest row count
// follow, and a removal runs inside one update bracket so the grid repaints once. The lighter removers put the
// current row back with the base grid's writers, which leave the disjunct row flags alone.

#include <algorithm>

#include "grid/edit/edit_setup.h"
#include "grid/edit/picker_choice.h"
#include "grid/extgrid.h"
#include "platform/forms/controls.h"

namespace grid {

void TExtStringGrid::InsertRows(int RowIndex, int RCount, bool UpdateCellControls) {
  if (SelectionHidden() || Col() >= ColCount() || Row() >= RowCount()) UnHideSelection();
  RowColOps().InsertRows(RowIndex, RCount, UpdateCellControls);
}

void TExtStringGrid::RemoveRows(int RowIndex, int RCount) {
  if (RowIndex < 0 || RowIndex >= RowCount() || RCount <= 0) return;
  const int row = Row(), top = TopRow();
  BeginUpdate();
  RowColOps().RemoveRows(RowIndex, RCount);
  FMaxRowCount = std::max(0, FMaxRowCount - RCount);
  const int lastNormal = RowCount() - FixedFooters() - 1;
  if (row <= lastNormal) {
    if (!FMouseActions.DisjunctRowSelect()) SetRow(row);
    SetTopRow(top);
  } else if (lastNormal >= FixedRows()) {
    SetRow(lastNormal);
  } else {
    HideSelection();
  }
  EndUpdate();
  const int visible = VisibleRowCount();
  if (TopRow() >= RowCount() + FixedRows() - visible - 2 && RowCount() - visible - 1 > 0)
    SetTopRow(std::min(RowCount() + FixedRows() - visible - 2, MaxTopRow()));
}

void TExtStringGrid::RemoveRowsEx(int RowIndex, int RCount) {
  if (RowIndex < 0 || RowIndex >= RowCount() || RCount <= 0) return;
  const int row = Row(), top = TopRow();
  BeginUpdate();
  RowColOps().RemoveRows(RowIndex, RCount);
  FMaxRowCount = std::max(0, FMaxRowCount - RCount);
  if (row < RowCount()) {
    BaseSetRow(row);
    BaseSetTopRow(top);
  } else if (RowCount() > FixedRows()) {
    BaseSetRow(FixedRows());
    BaseSetTopRow(FixedRows());
  }
  EndUpdate();
}

void TExtStringGrid::RemoveRowsInternal(int ARow, int Count, bool UpdateHidden) {
  if (ARow < 0 || ARow >= RowCount() || Count <= 0) return;
  const int row = Row(), top = TopRow();
  BeginUpdate();
  if (HasNodes() && row >= 0 && row < RowCount()) SetCol(FixedCols());
  RowColOps().RemoveRows(ARow, Count, UpdateHidden);
  if (row < RowCount()) {
    BaseSetRow(row);
    BaseSetTopRow(top);
  } else if (RowCount() > FixedRows()) {
    BaseSetRow(RowCount() - 1);
  } else {
    HideSelection();
  }
  EndUpdate();
  if (TopRow() >= RowCount() - 1) BaseSetTopRow(RowCount() - 1);
  // Controls of rows that were hidden rather than removed are taken out of view here.
  if (!UpdateHidden && FControlCount > 0) CellControlsUpdate(false);
}

void TExtStringGrid::DoRemoveRows(int ARow, int Count) { RemoveRowsInternal(ARow, Count, true); }

void TExtStringGrid::CellControlsDropped(const std::vector<plat::TControl*>& Controls) {
  for (plat::TControl* c : Controls) {
    if (c) c->SetVisible(false);
    FControlCount = std::max(0, FControlCount - 1);
  }
}

// ---- clearing

void TExtStringGrid::ClearNormalCells() {
  if (FixedCols() == 0 && FNodes.NumNodes() > 0) RemoveAllNodes();
  RowColOps().ClearNormalCells();
}

void TExtStringGrid::ClearSelection() {
  const auto clearDisplCol = [this](int c, int top, int bottom) {
    const int a = RealColIndex(c);
    RowColOps().ClearRect(a, top, a, bottom);
  };
  if (FMouseActions.DisjunctRowSelect()) {
    for (int r = FixedRows(); r < RowCount() - FixedFooters(); ++r)
      if (GetRowSelect(FMouseActions.RowSelectPersistent ? RealRowIndex(r) : r)) ClearRows(r, 1);
  } else if (FMouseActions.DisjunctColSelect()) {
    for (int c = FixedCols(); c < ColCount(); ++c)
      if (GetColSelect(c)) clearDisplCol(c, 0, RowCount() - 1);
  } else {
    const plat::TGridRect s = Selection();
    for (int c = std::min(s.Left, s.Right); c <= std::max(s.Left, s.Right); ++c)
      clearDisplCol(c, std::min(s.Top, s.Bottom), std::max(s.Top, s.Bottom));
  }
}

void TExtStringGrid::Clear() {
  if (!IsDestroying() && FNodes.NumNodes() > 0) RemoveAllNodes();
  RowColOps().Clear();
  FKeys.SearchInc.clear();
  if (NumHiddenColumns() > 0) Invalidate();
}

void TExtStringGrid::ClearAll() {
  Clear();
  // The rows stay hidden; what they kept goes as a cleared cell's does.
  plat::TCollection& records = FHiding.GridItems();
  for (int i = 0; i < records.Count(); ++i) {
    plat::TStrings* items = static_cast<TGridItem*>(records.Items(i))->Items();
    for (int c = 0; items && c < items->Count(); ++c) {
      delete dynamic_cast<TCellProperties*>(items->Objects(c));
      items->SetObjects(c, nullptr);
      items->SetStrings(c, QString());
    }
  }
}

void TExtStringGrid::TrimRect(int ACol1, int ARow1, int ACol2, int ARow2) {
  for (int c = ACol1; c <= ACol2; ++c) {
    const int a = SaveHiddenCells ? RealColIndex(c) : c;
    RowColOps().TrimRect(a, ARow1, a, ARow2);
  }
}

// ---- dispatchers kept with the cell objects

void TExtStringGrid::DoColorSelect() {
  // The choice is the colour picker's; while no picker family is registered there is nothing to report.
  auto* picker = dynamic_cast<TColorPickerChoice*>(EditorKind(edColorPickerDropDown));
  if (picker && OnColorSelect)
    OnColorSelect(this, Col(), Row(), picker->SelectedColor(), picker->SelectedColorText());
}

void TExtStringGrid::DoImageSelect() {
  auto* picker = dynamic_cast<TImagePickerChoice*>(EditorKind(edImagePickerDropDown));
  if (picker && OnImageSelect) OnImageSelect(this, Col(), Row(), picker->ItemIndex());
}

void TExtStringGrid::DoCanAddRow(bool& CanAdd) {
  if (OnCanAddRow) OnCanAddRow(this, CanAdd);
}

void TExtStringGrid::DoCanInsertRow(int ARow, bool& CanInsert) {
  if (OnCanInsertRow) OnCanInsertRow(this, ARow, CanInsert);
}

void TExtStringGrid::DoUnitChanged(plat::TObject* Sender, const QString& NewUnit) {
  (void)Sender;
  if (OnUnitChanged) OnUnitChanged(this, Col(), Row(), NewUnit);
}

bool TExtStringGrid::IsSortIndicatorRow(int ACol, int ARow) {
  // A merged header cell shows the glyph when its area reaches down to the sort row.
  const int r = ACol >= 0 && ARow >= 0 && IsMergedCell(ACol, ARow) ? FullCell(ACol, ARow).Bottom : ARow;
  return r == FSortSettings.Row() && FSortSettings.Show() && RowCount() > FixedRows() + 1;
}

int TExtStringGrid::GetNodeIndent(int ARow) {
  if (!HasNodes() || ARow < 0 || ARow >= RowCount() || !HasCellProperties(0, ARow)) return 0;
  return GetGridObject(0, ARow)->NodeLevel * FCellNode.NodeIndent();
}

plat::TRect TExtStringGrid::GetExpandButtonRect(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0 || !CellObjects().CellTypeInSet(RealColIndex(ACol), ARow, {ctExpand})) return {};
  const plat::TRect r = CellRect(ACol, ARow);
  return plat::TRect(r.Right - 13, r.Top + 2, r.Right - 2, r.Top + 13);
}

}  // namespace grid
