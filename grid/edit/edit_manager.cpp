#include "grid/edit/edit_manager.h"

#include <mutex>

#include "controls/grid_check.h"
#include "controls/mini_html.h"
#include "grid/edit/edit_link.h"
#include "grid/edit/edit_setup.h"
#include "grid/edit/inplace_edit.h"
#include "grid/edit/edit_host.h"
#include "grid/extgrid.h"
#include "grid/input/input_mouse.h"
#include "grid/model/undoredo.h"
#include "platform/forms/msgqueue.h"

namespace grid {

using plat::goEditing;

plat::UINT GridEditDoneMessage() {
  static const plat::UINT msg = plat::RegisterWindowMessage(QStringLiteral("GridEditDone"));
  return msg;
}

TEditManager::TEditManager(TExtStringGrid& Grid, TEditHost& Host) : FGrid(Grid), FHost(Host) {
  static std::once_flag once;
  std::call_once(once, RegisterGridEditors);
}

TEditManager::~TEditManager() = default;

void TEditManager::ReleaseEditors() {
  FState.BlockKill = true;
  for (auto& [family, kind] : FKinds)
    if (kind->OwnsControl()) delete kind->Control();
  FKinds.clear();
  if (FEditLink) FEditLink->RestoreWinProc();
  FEditLink = nullptr;
}

bool TEditManager::IsTextKind(TEditorType Kind) {
  switch (Kind) {
    case edNormal: case edNumeric: case edPositiveNumeric: case edFloat: case edCapital: case edMixedCase:
    case edPassword: case edLowerCase: case edUpperCase: case edValidChars: case edPositiveFloat: return true;
    default: return false;
  }
}

// ---------------------------------------------------------------- whether a cell may be edited

bool TEditManager::IsCellEditable(int ACol, int ARow) {
  int rc = FGrid.RealColIndex(ACol), row = ARow;
  FGrid.ResolveBaseCell(rc, ARow, rc, row);
  bool canEdit = true;
  FGrid.CheckCellEditable(rc, row, canEdit);
  bool fixed = false;
  FGrid.DoIsFixedCell(rc, row, fixed);
  return canEdit && !fixed;
}

bool TEditManager::IsEditable(int ACol, int ARow) {
  const bool on = FGrid.Options().Contains(goEditing) || FGrid.MouseActions()->RangeSelectAndEdit || FState.EditDisable;
  return on && IsCellEditable(ACol, ARow);
}

// ---------------------------------------------------------------- the platform's editor steps

void TEditManager::ShowFocusFrame() {
  if (FGrid.FocusHelper()->Enabled) FGrid.ShowFocusWindow(FGrid.CellRect(FGrid.Col(), FGrid.Row()));
}

bool TEditManager::CanEditShow(bool PlatformSays) {
  if (FState.Validating) return false;
  bool result = PlatformSays;
  if (FHost.IsDesigning()) return result;
  // An open special editor keeps the cell: the text editor never shows over it.
  if (FState.EditMode && FState.SpecialEditor) return false;
  const int rc = FGrid.RealCol();
  int bc = rc, br = FGrid.Row();
  FGrid.ResolveBaseCell(rc, FGrid.Row(), bc, br);
  if (result && !FState.EditMode && FGrid.IsControlCell(bc, br)) return false;
  if (result && !FState.EditMode) {
    FState.NoEditChange = true;
    FHost.SetCellCache(FGrid.Cells(rc, FGrid.Row()));
    // The validation compares with the text the edited cell had when it was entered.
    if (FState.OldCol != FGrid.Col() || FState.OldRow != FGrid.Row()) FGrid.CellEntered(rc, FGrid.Row());
    FState.OldModifiedValue = FState.Modified;
    FState.EditControl = FGrid.DefaultEditor;
    FGrid.GetCellEditorType(bc, br, FState.EditControl);
    if (FState.EditControl == edNone) return false;
    FState.EditMode = true;
    if (IsTextKind(FState.EditControl)) {
      FState.ShowEditProcess = true;
      FState.EditCtrl = nullptr;
    } else {
      SetupCellEditor(FGrid.DisplColIndex(bc), br);
      FState.Entered = true;
      ShowFocusFrame();
      result = false;
    }
  }
  if (result) {
    FState.Entered = true;
    FState.Editing = true;
    ShowFocusFrame();
  }
  return result;
}

QString TEditManager::GetEditText(int ACol, int ARow) {
  FState.NoEditChange = true;
  int rc = FGrid.RealColIndex(ACol), row = ARow;
  if (auto* e = dynamic_cast<TExtInplaceEdit*>(FGrid.InplaceEditor())) {
    plat::TAlignment ha = plat::taLeftJustify;
    TVAlignment va = vtaTop;
    FGrid.GetCellAlignment(rc, ARow, ha, va);
    e->SetVAlign(ha == plat::taRightJustify);
  }
  FGrid.ResolveBaseCell(rc, ARow, rc, row);
  QString text = FGrid.GridCells(rc, row);
  if (!FGrid.EditWithTags && text.contains(u'<')) text = controls::HTMLToPlainText(text);
  return text;
}

void TEditManager::SetEditText(int ACol, int ARow, const QString& Value) {
  int rc = FGrid.RealColIndex(ACol), row = ARow;
  FGrid.ResolveBaseCell(rc, ARow, rc, row);
  FGrid.SetCells(rc, row, Value);
}

// ---------------------------------------------------------------- the special road

bool TEditManager::ShowsNothing(TEditorType Kind) const {
  if (Kind == edDataCheckBox) return true;
  if (Kind == edCustom) return FEditLink == nullptr;
  return TEditorRegistry::FamilyOf(Kind) < 0;
}

TCellEditorKind* TEditManager::KindFor(TEditorType Kind) {
  const int family = TEditorRegistry::FamilyOf(Kind);
  if (family < 0) return nullptr;
  auto it = FKinds.find(family);
  if (it == FKinds.end()) it = FKinds.emplace(family, TEditorRegistry::FactoryOf(family)(FGrid)).first;
  return it->second.get();
}

plat::TRect TEditManager::EditorRect(int ACol, int ARow) {
  plat::TRect r = FGrid.CellRect(ACol, ARow);
  if (FGrid.PaintRightToLeft()) ++r.Left;
  return plat::TRect(r.Left, r.Top, r.Right - 1, r.Bottom - 1);
}

void TEditManager::EditorLooks(int ACol, int ARow, plat::TColor& Color, plat::TFont& Font) {
  plat::TBrush brush;
  brush.SetColor(FGrid.Color());
  Font.Assign(*FGrid.Font());
  FGrid.DoGetCellColor(FGrid.RealColIndex(ACol), ARow, plat::TGridDrawState{}, &brush, &Font);
  Color = brush.Color();
}

void TEditManager::PostStartChar(plat::TWinControl* Target) {
  if (FState.StartEditChar != 0 && Target) plat::PostMessage(Target->Handle(), plat::WM_CHAR, FState.StartEditChar, 0);
}

void TEditManager::SetupCellEditor(int ACol, int ARow) {
  FState.Editing = FState.SpecialEditor = FState.EditActive = true;
  TEditorCell cell;
  cell.Kind = FState.EditControl;
  cell.Col = ACol;
  cell.RCol = FGrid.RealColIndex(ACol);
  cell.Row = ARow;
  cell.CellRect = FGrid.CellRect(ACol, ARow);
  cell.Rect = EditorRect(ACol, ARow);
  plat::TFont font;
  EditorLooks(ACol, ARow, cell.Color, font);
  cell.Font = &font;
  cell.EditText = GetEditText(ACol, ARow);
  // The keyboard keeps the character typed on the grid that started the edit.
  if (FState.StartEditChar == 0) FState.StartEditChar = FGrid.Keys().StartEditChar;
  FGrid.Keys().StartEditChar = 0;
  // A press on an always-visible spin button that opened the edit steps the spin editor once.
  TMousePress& press = FGrid.Mouse().Press();
  const TEditorType k = FState.EditControl;
  if (k == edSpinEdit || k == edFloatSpinEdit || k == edTimeSpinEdit || k == edDateSpinEdit) {
    FState.SpinUpClick = FState.SpinUpClick || press.SpinUpClick;
    FState.SpinDnClick = FState.SpinDnClick || press.SpinDnClick;
  }
  press.SpinUpClick = press.SpinDnClick = false;
  FState.EditCtrl = nullptr;
  if (cell.Kind != edCustom) FState.LastValidation = true;
  TCellEditorKind* kind = ShowsNothing(cell.Kind) ? nullptr : KindFor(cell.Kind);
  if (kind) {
    plat::TWinControl* ctrl = kind->Setup(cell);
    FState.EditCtrl = ctrl;
    if (kind->TakesStartChar(cell.Kind)) PostStartChar(ctrl ? ctrl : kind->Control());
  }
  FState.StartEditChar = 0;
}

void TEditManager::EditorToCell(int ACol, int ARow) {
  if (FHost.InDestroy()) return;
  FState.SpecialEditor = false;
  FState.BlockKill = true;
  FState.StartEditChar = 0;
  TEditorCell cell;
  cell.Kind = FState.EditControl;
  cell.Col = ACol;
  cell.RCol = FGrid.RealColIndex(ACol);
  cell.Row = ARow;
  if (!IsTextKind(cell.Kind) && !ShowsNothing(cell.Kind)) {
    if (TCellEditorKind* kind = KindFor(cell.Kind); kind && kind->Control()) kind->WriteBack(cell);
  }
  if (cell.Kind != edNormal && FState.EditActive) EditingDone(cell.RCol, ARow);
  FState.BlockKill = false;
  FState.EditActive = false;
}

void TEditManager::EditingDone(int RCol, int ARow) {
  if (FGrid.OnEditingDone) FGrid.OnEditingDone(&FGrid);
  FState.EditMode = false;
  plat::PostMessage(FGrid.Handle(), GridEditDoneMessage(), static_cast<plat::WPARAM>(RCol), ARow);
}

bool TEditManager::HandleMessage(plat::TMessage& Message) {
  if (Message.Msg != GridEditDoneMessage()) return false;
  const int col = static_cast<int>(Message.WParam), row = static_cast<int>(Message.LParam);
  if (FGrid.OnEditCellDone) FGrid.OnEditCellDone(&FGrid, col, row);
  if (FGrid.MouseActions()->EditOnDblClickOnly()) {
    HideInplaceEdit();
    plat::TGridOptions o = FGrid.Options();
    o.Exclude(goEditing);
    FGrid.SetOptions(o);
  }
  return true;
}

// ---------------------------------------------------------------- validation

void TEditManager::MoveBackToOldCell() {
  const int dc = FState.OldCol;
  if (dc == FGrid.Col() && FState.OldRow == FGrid.Row()) return;
  if (dc < 0 || dc >= FGrid.ColCount() || FState.OldRow < 0 || FState.OldRow >= FGrid.RowCount()) return;
  FHost.SetForceSelect(true);
  FGrid.MoveColRow(dc, FState.OldRow, true, true);
  FHost.SetForceSelect(false);
}

// A refused value keeps the user in the cell: the old text (or the handler's replacement) goes back into
// the cell, the cell becomes current again and its editor opens again.
void TEditManager::RefusedValue(const QString& NewValue, const QString& Value, bool Wide) {
  FState.LastValidation = false;
  const int col = FGrid.RealColIndex(FState.OldCol), row = FState.OldRow;
  if (FState.EditMode) FState.Validating = false;
  FHost.HideEditor();
  FGrid.SetCells(col, row, Value != NewValue ? Value : FState.OldCellText);
  MoveBackToOldCell();
  FState.Validating = false;
  FState.Editing = true;
  ShowInplaceEdit();
  FState.Modified = FState.OldModifiedValue;
  if (!Wide) ShowBalloon();
}

void TEditManager::ShowBalloon() {
  if (FGrid.InvalidEntryTitle.isEmpty() && FGrid.InvalidEntryText.isEmpty()) return;
  plat::TWinControl* target = FState.EditCtrl;
  if (!FState.SpecialEditor && FState.EditMode) target = FGrid.InplaceEditor();
  FGrid.ShowInvalidEntryBalloon(target);
}

bool TEditManager::ValidateCell(const QString& NewValue) { return Validate(NewValue, false); }

// Wide texts share the cell store with the narrow ones here; their validation has no checker, no undo
// record and no balloon, recalculates the footer before the event and marks the row only with ShowModified.
bool TEditManager::ValidateCellWide(const QString& NewValue) { return Validate(NewValue, true); }

bool TEditManager::Validate(const QString& NewValue, bool Wide) {
  if (!FState.Editing || FState.Validating) return true;
  FState.Editing = false;
  FState.Validating = true;
  bool valid = true;
  // However the validation ends, the cell the user is in is the entered cell again.
  struct TEndValidation {
    TEditManager& M;
    ~TEndValidation() {
      M.FGrid.CellEntered(M.FGrid.RealCol(), M.FGrid.Row());
      M.FState.Validating = false;
    }
  } end{*this};
  const int col = FGrid.RealColIndex(FState.OldCol), row = FState.OldRow;
  FState.NewCellText = NewValue;
  const QString oldText = FState.OldCellText;
  if (NewValue != oldText || FGrid.AlwaysValidate) {
    const bool changed = NewValue != oldText;
    const bool advance = FGrid.Navigation()->AdvanceOnEnter;
    FGrid.Navigation()->AdvanceOnEnter = false;
    QString value = NewValue;
    controls::TExtStringGridCheck* checker = Wide ? nullptr : FGrid.CellChecker;
    if (checker && checker->AutoCorrect()) value = checker->Correct(col, row, value);
    if (Wide) FGrid.CalcFooter(col);
    const TCellValidateEvent& event = Wide ? FGrid.OnCellValidateWide : FGrid.OnCellValidate;
    if (event) event(&FGrid, col, row, value, valid);
    if (value != oldText) MarkModified(Wide, row);
    if (valid) {
      if (!Wide) FGrid.CalcFooter(col);
      if (checker && checker->AutoMarkError()) value = checker->MarkError(col, row, value);
      if (TExtGridUndoRedo* undo = Wide ? nullptr : FGrid.UndoRedo()) undo->RegisterChange(col, row, oldText, value);
      if (changed) FGrid.CellsChanged(plat::TRect(col, row, col, row));
    }
    FGrid.Navigation()->AdvanceOnEnter = advance;
    FState.NewCellText = value;
    if (valid)
      FGrid.SetCells(col, row, value);
    else
      RefusedValue(NewValue, value, Wide);
  }
  FState.OldCellText = FGrid.GridCells(col, row);
  if (valid && !Wide) FGrid.HideFocusWindow();
  return valid;
}

void TEditManager::MarkModified(bool Wide, int Row) {
  FState.GridModified = true;
  if (Wide) {
    if (FGrid.ShowModified()->Enabled) FGrid.SetRowModified(Row, true);
    return;
  }
  if (FGrid.FixedCols() > 0) {
    FGrid.SetRowModified(FGrid.RealRowIndex(FGrid.Row()), true);
    if (FGrid.ShowModified()->Enabled) FGrid.RepaintCell(0, FGrid.Row());
  }
}

// ---------------------------------------------------------------- closing and opening

// A value that no closing key validated (a special editor's, or typed text when the grid closes the edit,
// as on scrolling) is validated as the edit closes.
void TEditManager::HideInplaceEdit() {
  if (!FState.EditMode) return;
  FHost.HideEditor();
  EditorToCell(FGrid.Col(), FGrid.Row());
  FState.EditMode = false;
  if (FState.Editing) ValidateCell(FGrid.Cells(FGrid.RealCol(), FGrid.Row()));
  FHost.HandleSelectCell(FGrid.Col(), FGrid.Row());
}

void TEditManager::HideCellEdit() { EditorToCell(FGrid.Col(), FGrid.Row()); }

void TEditManager::ShowInplaceEdit() {
  if (FGrid.IsControlCell(FGrid.RealCol(), FGrid.Row())) return;
  if (FGrid.Row() < FGrid.TopRow()) FGrid.SetTopRow(FGrid.Row());
  if (FGrid.Col() < FGrid.LeftCol()) FGrid.SetLeftCol(FGrid.Col());
  FState.EditText = FGrid.Cells(FGrid.RealCol(), FGrid.Row());
  FHost.ShowEditor();
}

void TEditManager::DoneInplaceEdit(std::uint16_t Key, plat::TShiftState Shift) {
  FHost.SetBlockFocus(true);
  FState.Editing = false;
  HideInplaceEdit();
  if (FGrid.Navigation()->AppendOnArrowDown && Key == plat::VK_DOWN &&
      FGrid.Row() == FGrid.RowCount() - 1 - FGrid.FixedFooters())
    FGrid.AppendRowFromEditor();
  if (Key == plat::VK_TAB || Key == plat::VK_LEFT || Key == plat::VK_UP || Key == plat::VK_RIGHT ||
      Key == plat::VK_DOWN) {
    std::uint16_t k = Key;
    FHost.HandleKeyDown(k, Shift);
  }
  const bool alwaysEdit = FGrid.Navigation()->AlwaysEdit;
  FGrid.Navigation()->AlwaysEdit = false;
  if (FGrid.CanFocus()) FGrid.SetFocus();
  if (Key == plat::VK_RETURN) FGrid.EditorAdvance(Shift.Contains(plat::ssShift));
  FGrid.Navigation()->AlwaysEdit = alwaysEdit;
  FHost.SetBlockFocus(false);
}

void TEditManager::RestoreCellCache() {
  FGrid.SetCells(FGrid.RealCol(), FGrid.Row(), FGrid.CellCacheText());
  FGrid.SetCells(FGrid.RealCol(), FGrid.Row(), FGrid.Cells(FGrid.RealCol(), FGrid.Row()));
  FGrid.CellsChanged(plat::TRect(FGrid.RealCol(), FGrid.Row(), FGrid.RealCol(), FGrid.Row()));
}

void TEditManager::WriteEditorText(int ACol, int ARow, const QString& Value) {
  FHost.HandleSetEditText(FGrid.DisplColIndex(ACol), ARow, Value);
  FGrid.SetCells(ACol, ARow, Value);
}

bool TEditManager::WantsTabKey() const {
  return FGrid.Options().Contains(plat::goTabs) || FGrid.OnCellValidate || FGrid.OnCellValidateWide;
}

// ---------------------------------------------------------------- the combo item list

bool TEditManager::RemoveComboString(const QString& s) {
  const int i = FComboItems.IndexOf(s);
  if (i < 0) return false;
  FComboItems.Delete(i);
  return true;
}

bool TEditManager::SetComboSelectionString(const QString& s) {
  const int i = FComboItems.IndexOf(s);
  if (i < 0) return false;
  FState.ComboIdx = i;
  return true;
}

int TEditManager::GetComboIndex(int ACol, int ARow) {
  FGrid.DoGetEditorProp(ACol, ARow, nullptr);
  return FComboItems.IndexOf(FGrid.Cells(ACol, ARow));
}

void TEditManager::SetComboIndex(int ACol, int ARow, int Value) {
  FGrid.DoGetEditorProp(ACol, ARow, nullptr);
  if (Value >= 0 && Value < FComboItems.Count()) FGrid.SetCells(ACol, ARow, FComboItems.Strings(Value));
}

}  // namespace grid
