#include "grid/edit/cell_entry.h"

#include <algorithm>

#include "grid/edit/edit_host.h"
#include "grid/extgrid.h"

namespace grid {

using plat::goEditing;
using plat::goRangeSelect;
using plat::goRowSelect;

bool TCellEntry::EditOpen() const {
  return FGrid.EditorMode() && FGrid.InplaceEditor() && FGrid.InplaceEditor()->Visible();
}

bool TCellEntry::TextEditorFocused() const {
  return FGrid.InplaceEditor() && FGrid.InplaceEditor()->Focused();
}

// An edit still open when the current cell moves ends here: a special editor (or a kind that shows none) is
// written back, and a text edit whose editor has gone is closed.
void TCellEntry::CloseEdit() {
  if (FGrid.EditorMode()) FHost.HideEditor();
  TEditState& st = FGrid.EditManager().State();
  if (!st.EditMode || TextEditorFocused() || st.Validating) return;
  if (st.SpecialEditor) FGrid.EditManager().EditorToCell(FGrid.Col(), FGrid.Row());
  st.EditMode = false;
}

void TCellEntry::RepaintIndicator(int OldRow, int NewRow) {
  if (FGrid.RowIndicator()->Empty() || FGrid.FixedCols() == 0) return;
  FGrid.RepaintCell(0, OldRow);
  FGrid.RepaintCell(0, NewRow);
}

// While the search panel covers the bottom of the client, rows under it scroll up into view.
bool TCellEntry::KeepsSearchPanelClear(int ARow) {
  if (!FGrid.SearchFooter()->Visible()) return false;
  // The client ends where the panel starts.
  const int limit = FGrid.ClientHeight();
  while (ARow < FGrid.RowCount() && FGrid.TopRow() < FGrid.RowCount() - 1) {
    const plat::TRect r = FGrid.plat::TCustomGrid::CellRect(FGrid.Col(), ARow);
    if (r.Bottom <= limit && !r.IsEmpty()) break;
    const int top = FGrid.TopRow();
    FHost.BaseSetTopRow(top + 1);
    if (FGrid.TopRow() == top) break;
  }
  return true;
}

bool TCellEntry::SelectCell(int ACol, int ARow) {
  if (ForceSelect) {
    RepaintIndicator(FGrid.Row(), ARow);
    return true;
  }
  if (!FGrid.Parent()) return true;
  EditText = ACol >= 0 && ARow >= 0 ? FGrid.Cells(FGrid.RealColIndex(ACol), ARow) : QString();
  KeepsSearchPanelClear(ARow);
  if (ACol < 0 || ARow < 0) return false;
  if (FGrid.IsMergedNonBaseCell(FGrid.RealColIndex(ACol), ARow) && !FGrid.Options().Contains(goRangeSelect)) {
    const plat::TPoint b = FGrid.BaseCell(FGrid.RealColIndex(ACol), ARow);
    const int bc = FGrid.DisplColIndex(b.X);
    FGrid.MoveColRow(bc, b.Y, true, true);
    FGrid.RepaintCell(bc, b.Y);
    if (FGrid.MouseActions()->DirectEdit ||
        (FGrid.ControlLook()->DropDownAlwaysVisible() && FGrid.HasComboBox(b.X, b.Y)))
      FHost.ShowEditor();
    return false;
  }
  if (ACol == 0 && FHost.HasNodes() && !FGrid.Options().Contains(goRowSelect)) return false;
  if (FGrid.SelectionModel().UseEnabledRows() && FGrid.Navigation()->SkipDisabledRows && !FGrid.RowEnabled(ARow))
    return false;

  const plat::TGridRect old = FGrid.Selection();
  const int oldRow = FGrid.Row();
  const int R = FGrid.RealColIndex(ACol);
  const QString candidate = SwitchEditing(R, ARow, FGrid.Cells(R, ARow));
  const bool result = Decide(ACol, ARow);
  AfterMove(ACol, ARow, old.Left, old.Top, oldRow);
  if (result) CellCache = candidate;
  return result;
}

QString TCellEntry::SwitchEditing(int R, int ARow, QString Candidate) {
  TExtStringGrid& g = FGrid;
  const bool editing = g.Options().Contains(goEditing);
  const bool rangeEdit = g.MouseActions()->RangeSelectAndEdit;
  if (g.IsControlCell(R, ARow)) {
    bool canEdit = true;
    g.CheckCellEditable(R, ARow, canEdit);
    if (!g.EditState().EditDisable) g.EditState().EditDisable = !canEdit && (editing || rangeEdit);
    if (!editing && !g.Options().Contains(goRowSelect) && canEdit) SwitchOptions(g.Options() + plat::TGridOptions{goEditing});
    return Candidate;
  }
  bool canEdit = editing || g.EditState().EditDisable;
  g.CheckCellEditable(R, ARow, canEdit);
  if (canEdit && g.MouseActions()->DirectEdit) {
    g.EditState().EditControl = g.DefaultEditor;
    if (g.HasNoEditor(R, ARow)) canEdit = false;
  }
  if (g.MouseActions()->EditOnDblClickOnly()) canEdit = false;
  if (canEdit) {
    g.EditState().EditDisable = false;
    if (!editing) {
      if (!EditOpen()) g.CellEntered(R, ARow);
      plat::TGridOptions o = g.Options();
      if (o.Contains(goRowSelect) && rangeEdit) o.Exclude(goRowSelect);
      SwitchOptions(o + plat::TGridOptions{goEditing});
    }
  } else if (editing) {
    CloseEdit();
    g.EditState().EditDisable = true;
    plat::TGridOptions o = g.Options();
    o.Exclude(goEditing);
    SwitchOptions(o);
    g.SetEditorMode(false);
  }
  CloseEdit();
  return g.Cells(R, ARow);
}

// The edit-change flag makes the grid skip the repaint the switch itself causes. The platform's option writer
// repaints through the control directly, so the flag is dropped once the switch is done: left set, it would
// swallow the next, unrelated repaint.
void TCellEntry::SwitchOptions(plat::TGridOptions Options) {
  FGrid.EditState().EditChange = true;
  FGrid.SetOptions(Options);
  FGrid.EditState().EditChange = false;
}

bool TCellEntry::Decide(int ACol, int ARow) {
  TExtStringGrid& g = FGrid;
  bool allow = true;
  // An edit of the cell being left whose value is not validated yet (a special editor, or a text edit that
  // ended without a key that validates) is validated before the move.
  const bool leaving = ACol != g.Col() || ARow != g.Row();
  const bool pending = leaving && g.EditManager().State().Editing && !g.EditManager().State().Validating;
  const bool special = pending || (EditOpen() && g.EditState().EditControl != edNormal && !TextEditorFocused());
  if (!special) {
    g.DoCellChanging(ACol, ARow, allow);
    if (g.IsFixed(ACol, ARow) || !allow) {
      const bool onlyFixed = g.FixedRowAlways() && g.RowCount() == g.plat::TStringGrid::FixedRows();
      return (allow && g.Options().Contains(goRowSelect)) || onlyFixed;
    }
    return FHost.BaseSelectCell(ACol, ARow);
  }
  const bool valid = g.ValidateCell(g.Cells(g.RealCol(), g.Row()));
  g.DoCellChanging(ACol, ARow, allow);
  return valid && allow && FHost.BaseSelectCell(ACol, ARow);
}

void TCellEntry::AfterMove(int ACol, int ARow, int OldLeft, int OldTop, int OldRow) {
  TExtStringGrid& g = FGrid;
  RepaintIndicator(OldRow, ARow);
  if (FHost.SelListener()) FHost.SelListener()->SelectionChanged(&g, g.Col(), ARow);
  if (g.RenderSettings().ActiveCellShow) {
    g.RepaintCell(0, OldTop);
    g.RepaintCell(OldLeft, 0);
    g.RepaintCell(0, ARow);
    g.RepaintCell(ACol, 0);
  }
  if (g.ActiveRowShow()) {
    g.RepaintRow(ARow);
    g.RepaintRow(OldTop);
  }
  if (g.RenderSettings().SelectionRectangle) g.Invalidate();
  if (!FHost.IsLoading()) FireRowUpdate(ARow);
  if (g.HasCustomCellBorders()) g.RepaintRow(OldTop);
}

void TCellEntry::FireRowUpdate(int NewRow) {
  if (NewRow == FOldRowSel || !FGrid.OnRowUpdate) return;
  const int old = FOldRowSel;
  FOldRowSel = NewRow;
  FGrid.OnRowUpdate(&FGrid, old, NewRow);
}

void TCellEntry::SetRow(int Value) {
  TExtStringGrid& g = FGrid;
  if (g.Col() < 0 || g.Col() >= g.ColCount()) g.MoveColRow(g.FixedCols(), Value, true, true);
  FHost.BaseSetRow(Value);
  FireRowUpdate(g.Row());
  if (g.MouseActions()->DisjunctRowSelect()) {
    const plat::TGridRect s = g.Selection();
    for (int r = std::min(s.Top, s.Bottom); r <= std::max(s.Top, s.Bottom); ++r)
      if (r >= g.FixedRows() && r < g.RowCount()) g.SetRowSelect(r, true);
  }
  if (auto* sync = dynamic_cast<TExtStringGrid*>(g.SyncGrid()->Grid()); sync && g.SyncGrid()->SelectionRow)
    if (Value < sync->RowCount()) sync->SetRow(Value);
  if (Value == g.RowCount() - 1) ScrollAboveSearchPanel();
}

void TCellEntry::ScrollAboveSearchPanel() {
  if (!FGrid.SearchFooter()->Visible()) return;
  if (FGrid.ClientHeight() <= FGrid.DefaultRowHeight()) return;
  KeepsSearchPanelClear(FGrid.RowCount() - 1);
}

void TCellEntry::SetTopRow(int Value) {
  if (Value < FGrid.FixedRows() || Value > FGrid.RowCount() - 1) return;
  FHost.BaseSetTopRow(Value);
}

void TCellEntry::UpdateEditMode() { SelectCell(FGrid.Col(), FGrid.Row()); }

void TCellEntry::EditCell(int ACol, int ARow) {
  if (FGrid.CanFocus()) FGrid.SetFocus();
  FGrid.GotoCell(ACol, ARow);
  FHost.ShowEditor();
}

QString TCellEntry::GetCurrentEditText() {
  const plat::TPoint b = FGrid.BaseCell(FGrid.RealCol(), FGrid.Row());
  return FGrid.Cells(b.X, b.Y);
}

void TCellEntry::SetCurrentEditText(const QString& Value) {
  const plat::TPoint b = FGrid.BaseCell(FGrid.RealCol(), FGrid.Row());
  FHost.HandleSetEditText(FGrid.DisplColIndex(b.X), b.Y, Value);
}

}  // namespace grid
