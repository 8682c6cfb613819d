// The grid's editing entry points that are more than a forward to the edit manager.
#include <QPlainTextEdit>
#include <QString>

#include <algorithm>
#include <vector>

#include "grid/edit/edit_setup.h"
#include "grid/edit/inplace_edit.h"
#include "grid/edit/rich_text.h"
#include "grid/edit/special_editors.h"
#include "grid/extgrid.h"
#include "grid/input/html_forms.h"
#include "grid/view/side_windows.h"
#include "platform/forms/extctrls.h"
#include "platform/forms/msgqueue.h"

namespace grid {

plat::TInplaceEdit* TExtStringGrid::HandleCreateEditor() { return new TExtInplaceEdit(this); }

bool TExtStringGrid::HandleCanEditShow() { return FEdit.CanEditShow(plat::TStringGrid::HandleCanEditShow()); }

bool TExtStringGrid::CanEditAcceptKey(char16_t Key) {
  if (!FEdit.State().EditMode && Key >= 32) FEdit.State().StartEditChar = Key;
  return plat::TStringGrid::CanEditAcceptKey(Key);
}

bool TExtStringGrid::ValidateCell(const QString& NewValue) { return FEdit.ValidateCell(NewValue); }

void TExtStringGrid::ShowCellEdit() { Perform(plat::WM_KEYDOWN, plat::VK_F2, 0); }

QString TExtStringGrid::GetEditMask(int ACol, int ARow) {
  QString mask = EditMask;
  if (OnGetEditMask) OnGetEditMask(this, ACol, ARow, mask);
  return mask;
}

void TExtStringGrid::EditorKeyDownHook(std::uint16_t Key, plat::TShiftState Shift) { (void)Key, (void)Shift; }

void TExtStringGrid::EditorFormulaHook(bool IsFormula) { FormulaModeChange(IsFormula); }

void TExtStringGrid::DoGetEditorProp(int ACol, int ARow, TEditLink* AEditLink) {
  if (OnGetEditorProp) OnGetEditorProp(this, ACol, ARow, AEditLink);
  if (OnGetEditorPropInt) OnGetEditorPropInt(this, ARow, ACol);
}

// The next cell after an edit ended with Enter: the Enter advance of the keyboard (nothing moves unless
// Navigation.AdvanceOnEnter is on).
void TExtStringGrid::EditorAdvance(bool Backwards) {
  AdvanceToNextCell(Col(), Row(), false, false, !Backwards, false, false);
}

void TExtStringGrid::EditorTabToNextCell(bool Backwards) {
  std::uint16_t key = plat::VK_TAB;
  HandleKeyDown(key, Backwards ? plat::TShiftState{plat::ssShift} : plat::TShiftState{});
}

void TExtStringGrid::ShowInvalidEntryBalloon(plat::TWinControl* Target) {
  static const char* const icons[] = {"", "(i) ", "(!) ", "(x) "};
  const int icon = InvalidEntryIcon >= ieNone && InvalidEntryIcon <= ieError ? InvalidEntryIcon : 0;
  FLastBalloon = QString::fromLatin1(icons[icon]) + InvalidEntryTitle +
                 (InvalidEntryTitle.isEmpty() || InvalidEntryText.isEmpty() ? QString() : QStringLiteral(": ")) +
                 InvalidEntryText;
  auto* balloon = dynamic_cast<plat::TPanel*>(FindComponent(QStringLiteral("InvalidEntryBalloon")));
  if (!balloon) {
    balloon = new plat::TPanel(this);
    balloon->SetName(QStringLiteral("InvalidEntryBalloon"));
    balloon->SetParent(this);
    balloon->SetColor(HintColor);
  }
  const plat::TRect r = Target && Target->Visible() ? Target->BoundsRect() : CellRect(Col(), Row());
  balloon->SetCaption(FLastBalloon);
  const int w = std::max(r.Width(), 12 + static_cast<int>(FLastBalloon.size()) * 7);
  balloon->SetBounds(r.Left, r.Bottom + 2, std::min(w, ClientWidth() - r.Left), 22);
  balloon->SetVisible(true);
  balloon->BringToFront();
}

// ---- controls attached to cells

void TExtStringGrid::CellControlsUpdate(bool rebuildlist) {
  if (rebuildlist) {
    while (FControlList.Count() > 0) FControlList.RemoveControl(FControlList.Count() - 1);
    FControlCount = 0;
    for (int c = 0; c < AllColCount(); ++c)
      for (int r = 0; r < RowCount(); ++r)
        if (HasCellProperties(c, r) && GetGridObject(c, r)->Control) {
          FControlList.AddControl(c, RealRowIndex(r), GetGridObject(c, r)->Control);
          ++FControlCount;
        }
  }
  if (FControlCount == 0) return;
  const int lastCol = LeftCol() + VisibleColCount(), lastRow = TopRow() + VisibleRowCount();
  std::vector<plat::TControl*> shown;
  for (int i = 0; i < FControlList.Count(); ++i) {
    TControlItem* item = FControlList.GetControl(i);
    plat::TControl* ctrl = item->Control;
    if (!ctrl) continue;
    const int dc = DisplColIndex(item->X), dr = DisplRowIndex(item->Y);
    const bool hidden = IsHiddenColumn(item->X) || IsHiddenRow(item->Y) || dc < 0 || dr < 0;
    const bool fixed = !hidden && IsFixed(dc, dr);
    const bool outside = dc < LeftCol() || dc > lastCol || dr < TopRow() || dr > lastRow;
    if (hidden || (outside && !fixed)) {
      ctrl->SetVisible(false);
      continue;
    }
    const plat::TRect r = CellRect(dc, dr);
    ctrl->SetBounds(r.Left - 1, r.Top - 1, r.Width() + 1, r.Height() + 1);
    ctrl->SetVisible(true);
    if (!fixed) shown.push_back(ctrl);
  }
  // A nudge of the width makes each control redraw its frame.
  for (plat::TControl* ctrl : shown) {
    ctrl->SetWidth(ctrl->Width() + 1);
    ctrl->SetWidth(ctrl->Width() - 1);
    ctrl->Invalidate();
  }
}

// ---- the balloon tooltip window

void TExtStringGrid::BalloonEnableChanged() {
  if (IsLoading()) return;
  if (FBalloon.Enable())
    BalloonInit();
  else
    BalloonDone();
}

void TExtStringGrid::BalloonInit() {
  if (FBalloon.TooltipReady) return;
  FBalloon.TooltipReady = true;
  FToolTip = new TBalloonTipWindow(this);
  FToolTip->SetParent(this);
  // One tool covers the client rectangle; its text is asked for when it shows.
  FToolTip->ToolRect = ClientRect();
  FToolTip->ToolAdded = !FToolTip->ToolRect.IsEmpty();
  FToolTip->SetTitle(3, QStringLiteral("ToolTipText"));
  if (FBalloon.InitialDelay != -1) FToolTip->InitialDelay = FBalloon.InitialDelay;
  if (FBalloon.ReshowDelay != -1) FToolTip->ReshowDelay = FBalloon.ReshowDelay;
  if (FBalloon.AutoHideDelay != -1) FToolTip->AutoPopDelay = FBalloon.AutoHideDelay;
  if (FBalloon.Transparency > 0) FToolTip->Alpha = 255 - FBalloon.Transparency;
}

void TExtStringGrid::BalloonDone() {
  if (FBalloon.TooltipReady && FToolTip) {
    delete FToolTip;
    FToolTip = nullptr;
  }
  FBalloon.TooltipReady = false;
}

namespace {
template <class T>
T* Editor(TEditManager& M, TEditorType Kind) {
  TCellEditorKind* k = M.KindFor(Kind);
  return k ? dynamic_cast<T*>(k->EnsureControl()) : nullptr;
}
}  // namespace

TGridSpin* TExtStringGrid::SpinEdit() { return Editor<TGridSpin>(FEdit, edSpinEdit); }
TGridCombo* TExtStringGrid::Combobox() { return Editor<TGridCombo>(FEdit, edComboEdit); }
TGridEditBtn* TExtStringGrid::BtnEdit() { return Editor<TGridEditBtn>(FEdit, edEditBtn); }
TGridUnitEditBtn* TExtStringGrid::BtnUnitEdit() { return Editor<TGridUnitEditBtn>(FEdit, edUnitEditBtn); }
TGridCheckBox* TExtStringGrid::CheckEdit() { return Editor<TGridCheckBox>(FEdit, edCheckBox); }
TGridButton* TExtStringGrid::Btn() { return Editor<TGridButton>(FEdit, edButton); }
TGridDatePicker* TExtStringGrid::DateTimePicker() { return Editor<TGridDatePicker>(FEdit, edDateEdit); }
TExtRichEdit* TExtStringGrid::InplaceRichEdit() { return Editor<TExtRichEdit>(FEdit, edRichEdit); }

TExtRichEdit* TExtStringGrid::RichEdit() {
  if (!FRichEdit) {
    FRichEdit = new TExtRichEdit(this);
    FRichEdit->SetVisible(false);
    FRichEdit->SetParent(this);
    FRichEdit->SetBounds(0, 0, 0, 0);
  }
  return FRichEdit;
}

void TExtStringGrid::CellToRich(int Col, int Row, TExtRichEdit* Richeditor) {
  QPlainTextEdit* e = Richeditor ? Richeditor->PlainTextEdit() : nullptr;
  if (!e) return;
  const QString text = Cells(Col, Row);
  if (text.isEmpty())
    e->document()->clear();
  else
    RtfToDocument(text, *e->document());
}

QString TExtStringGrid::RichToString(TExtRichEdit* Richeditor) {
  if (FInDestroy || !Richeditor || !Richeditor->PlainTextEdit()) return QString();
  return DocumentToRtf(*Richeditor->PlainTextEdit()->document());
}

void TExtStringGrid::RichToCell(int Col, int Row, TExtRichEdit* Richeditor) {
  SetCells(Col, Row, RichToString(Richeditor));
}

TGridDateTimePicker* TExtStringGrid::DateAndTimePicker() { return Editor<TGridDateTimePicker>(FEdit, edDateTimeEdit); }

}  // namespace grid
