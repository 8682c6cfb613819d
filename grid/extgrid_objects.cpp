#include "grid/extgrid_objects.h"

#include "grid/extgrid.h"
#include "grid/model/undoredo.h"

namespace grid {

TExtGridObjects::TExtGridObjects(TExtStringGrid& Grid, TBaseGrid& Base, TGridHiding& Hiding,
                                 TGridSelection& Selection)
    : FGrid(Grid), FObjects(Base, *this), FChecks(FObjects), FRows(Base, &Hiding, &Selection) {
  FRows.FixedFootersOf = [&Grid] { return Grid.FixedFooters(); };
  FRows.FixedRightColsOf = [&Grid] { return Grid.FixedRightCols(); };
}

// The answers read the grid object's settings; the grid's const-less accessors are reached through a
// non-const reference kept for that purpose.

bool TExtGridObjects::RowCheckColumn() const { return FGrid.MouseActions()->HotmailRowSelect(); }
bool TExtGridObjects::RowSelected(int ARow) const { return FGrid.GetRowSelect(ARow); }
void TExtGridObjects::SetRowSelected(int ARow, bool Value) { FGrid.SetRowSelect(ARow, Value); }
int TExtGridObjects::SelectedRowCount() const { return FGrid.SelectedRowCount(); }
int TExtGridObjects::FixedRows() const { return FGrid.FixedRows(); }
bool TExtGridObjects::FlatLook() const { return FGrid.ControlLook()->ControlStyle() == csFlat; }
plat::TColor TExtGridObjects::CommentColor() const { return FGrid.ControlLook()->CommentColor(); }
int TExtGridObjects::TotalRowCount(int RowCount) const { return RowCount + FGrid.NumHiddenRows(); }
TVAlignment TExtGridObjects::VAlignment() const { return FGrid.VAlignment(); }
bool TExtGridObjects::CheckAlwaysActive() const { return FGrid.ControlLook()->CheckAlwaysActive; }
bool TExtGridObjects::RadioAlwaysActive() const { return FGrid.ControlLook()->RadioAlwaysActive; }

QString TExtGridObjects::CheckTrue(int ACol, int ARow) const {
  QString value = FGrid.CheckTrue;
  FGrid.GetCheckTrue(ACol, ARow, value);
  return value;
}

QString TExtGridObjects::CheckFalse(int ACol, int ARow) const {
  QString value = FGrid.CheckFalse;
  FGrid.GetCheckFalse(ACol, ARow, value);
  return value;
}

bool TExtGridObjects::CheckCellEditable(int ACol, int ARow) {
  bool canEdit = true;
  FGrid.CheckCellEditable(ACol, ARow, canEdit);
  return canEdit;
}

void TExtGridObjects::DoCheckBoxChange(int ACol, int ARow, bool State) {
  if (FGrid.OnCheckBoxChange) FGrid.OnCheckBoxChange(&FGrid, ACol, ARow, State);
}

void TExtGridObjects::CheckTextChanged(int ACol, int ARow, const QString& Old, const QString& New) {
  if (TExtGridUndoRedo* undo = FGrid.UndoRedo()) undo->RegisterChange(ACol, ARow, Old, New);
}

void TExtGridObjects::RemoveCheckedRows(int CheckBoxColumn, bool RemoveChecked) {
  // The fixed rows as they are now: removing the last normal row may lower the grid's fixed-row count.
  const int fixed = FGrid.FixedRows();
  FGrid.BeginUpdate();
  for (int r = FGrid.RowCount() - 1; r >= fixed; --r)
    if (FChecks.IsChecked(CheckBoxColumn, r) == RemoveChecked) FRows.Ops().RemoveRows(r, 1);
  FGrid.EndUpdate();
}

}  // namespace grid
