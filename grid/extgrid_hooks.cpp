// The grid's small virtual hooks: each does one thing here and is there for descendants to extend.
#include "grid/extgrid.h"

namespace grid {

void TExtStringGrid::DoFixedEdit(int ACol, int ARow, TGridFixedCellEditor& AEditor, plat::TStrings* Values) {
  if (OnFixedEdit) OnFixedEdit(this, ACol, ARow, AEditor, Values);
}

// With nodes a row joins the node it is inserted under, or stands on the top level.
void TExtStringGrid::DoInsertRow(int ARow) {
  if (NumNodes() == 0) {
    InsertRows(ARow, 1);
  } else if (FNodes.GetParentRow(ARow) == -1) {
    InsertNormalRow(RealRowIndex(ARow));
  } else {
    InsertChildRow(RealRowIndex(ARow), 0);
  }
}

void TExtStringGrid::DoDeleteRow(int ARow) {
  const int real = RealRowIndex(ARow);
  const bool only = RowCount() - FixedFooters() - FixedRows() == 1;
  if (NumNodes() > 0 && FNodes.GetParentRow(ARow) != -1)
    RemoveChildRow(real);
  else if (NumNodes() > 0)
    RemoveNormalRow(ARow);
  else if (only && !FFixedRowAlways)
    ClearRows(ARow, 1);
  else
    RemoveRows(ARow, 1);
  if (OnAutoDeleteRow) OnAutoDeleteRow(this, real);
}

void TExtStringGrid::DoFilterDone() {
  if (OnFilterDone) OnFilterDone(this);
}

void TExtStringGrid::EditorKeyUpHook(const QString& Text, int CaretPos, int CaretIndex) {
  (void)Text, (void)CaretPos, (void)CaretIndex;
}

}  // namespace grid
