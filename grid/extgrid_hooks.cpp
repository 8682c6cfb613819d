// The grid's small virtual hooks: each does one thing here and is there for descendants to extend.
#include "grid/extgrid.h"

namespace grid {

void TExtStringGrid::DoFixedEdit(int ACol, int ARow, TGridFixedCellEditor& AEditor, plat::TStrings* Values) {
  if (OnFixedEdit) OnFixedEdit(this, ACol, ARow, AEditor, Values);
}

void TExtStringGrid::DoInsertRow(int ARow) { InsertRows(ARow, 1); }

void TExtStringGrid::DoDeleteRow(int ARow) {
  const bool only = RowCount() - FixedFooters() - FixedRows() == 1;
  if (only && !FFixedRowAlways)
    ClearRows(ARow, 1);
  else
    RemoveRows(ARow, 1);
  if (OnAutoDeleteRow) OnAutoDeleteRow(this, ARow);
}

void TExtStringGrid::DoFilterDone() {
  if (OnFilterDone) OnFilterDone(this);
}

void TExtStringGrid::EditorKeyUpHook(const QString& Text, int CaretPos, int CaretIndex) {
  (void)Text, (void)CaretPos, (void)CaretIndex;
}

}  // namespace grid
