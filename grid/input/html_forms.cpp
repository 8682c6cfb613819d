// Form controls in HTML cells: the hit test, the click on BUTTON, CHECK and RADIO, and the editors over EDIT,
// PASSWORD, MASK and COMBO.
#include "grid/input/html_forms.h"

#include "controls/mini_html.h"
#include "grid/extgrid.h"
#include "grid/view/side_windows.h"

namespace grid {

using plat::TRect;

THTMLForms::~THTMLForms() = default;

THTMLHit THTMLForms::HitTest(int ACol, int ARow, int X, int Y, const QString& ControlID) {
  THTMLHit hit;
  hit.ControlID = ControlID;
  const int rc = G.RealColIndex(ACol);
  const QString text = G.Cells(rc, ARow);
  const int pos = G.CellObjects().HasScrollBar(rc, ARow) ? G.CellObjects().GetScrollPosition(rc, ARow) : 0;
  TRect t = G.CellRect(ACol, ARow);
  const plat::TPoint off = G.XYOffset();
  t.Right -= off.X;
  t.Left += off.X + 1;
  t.Top += off.Y + 1;
  t.Bottom += pos;
  if (G.HasCheckBox(rc, ARow)) t.Left += G.ControlLook()->CheckSize();
  plat::TCanvas& c = *G.Canvas();
  c.Font()->Assign(G.IsFixed(ACol, ARow) ? G.FixedFont() : G.Font());
  QString stripped, focusAnchor;
  int xs = 0, ys = 0, links = 0, mouseLink = -1;
  TRect hoverRect;
  const int y = Y == -1 ? -1 : Y + pos;
  controls::RenderHTMLText(c, text, t, G.GridImages(), X, y, -1, -1, 2, true, false, false, false, false,
                           false, true, false, 1.0, G.URLColor, plat::clNone, plat::clNone, plat::clGray, hit.Anchor,
                           stripped, focusAnchor, hit.AnchorTitle, xs, ys, links, mouseLink, hoverRect,
                           hit.ControlRect, hit.ControlID, hit.ControlValue, hit.ControlType, nullptr, nullptr,
                           nullptr, 0);
  hit.Link = mouseLink;
  if (!hit.ControlID.isEmpty() && hit.Anchor.isEmpty()) hit.Anchor = hit.ControlID;
  return hit;
}

void THTMLForms::ControlClick(const THTMLHit& Hit, int ACol, int ARow) {
  const int rc = G.RealColIndex(ACol);
  if (FCtrlEditing) EndControlEdit();
  QString text = G.Cells(rc, ARow);
  const QString type = Hit.ControlType.toUpper();
  if (type == QLatin1String("BUTTON")) {
    FCtrlXY = {rc, ARow};
    FCtrlDown = true;
    G.RepaintCell(ACol, ARow);
  } else if (type == QLatin1String("CHECK")) {
    controls::WriteControlTagValue(text, Hit.ControlID,
                                   Hit.ControlValue.toUpper() == QLatin1String("TRUE") ? "FALSE" : "TRUE");
    G.SetCells(rc, ARow, text);
  } else if (type == QLatin1String("RADIO")) {
    text = controls::ResetRadioControlTags(text);
    controls::WriteControlTagValue(text, Hit.ControlID, QStringLiteral("TRUE"));
    G.SetCells(rc, ARow, text);
  }
  if (G.OnControlClick) G.OnControlClick(&G, ARow, ACol, Hit.ControlID, Hit.ControlType, Hit.ControlValue);
  StartControlEdit(text, type, ARow, rc, ACol, Hit.ControlRect, Hit.ControlValue, Hit.ControlID);
}

void THTMLForms::ReleaseButton() {
  FCtrlDown = false;
  if (FCtrlXY.X >= 0) G.RepaintCell(G.DisplColIndex(FCtrlXY.X), FCtrlXY.Y);
}

void THTMLForms::StartControlEdit(const QString& CellText, const QString& CtrlType, int ARow, int ACol,
                                  int ADisplCol, TRect CtrlRect, const QString& CtrlValue, const QString& CtrlID) {
  const QString type = CtrlType.toUpper();
  const bool text = type == QLatin1String("EDIT") || type == QLatin1String("PASSWORD") || type == QLatin1String("MASK");
  if (!text && type != QLatin1String("COMBO")) return;
  FCtrlXY = {ACol, ARow};
  FCtrlID = CtrlID;
  FCtrlType = type;
  FCtrlEditing = true;
  const int maxLen = controls::ReadControlTagMaxLen(CellText, CtrlID);
  if (text) {
    if (!FEdit) {
      FEdit = new TControlEdit(&G);
      FEdit->SetParent(&G);
      FEdit->OnExit = [this](plat::TObject*) { EndControlEdit(); };
      static_cast<TControlEdit*>(FEdit)->OnEndKey = [this](char16_t Key) { return EndKey(*FEdit, Key); };
    }
    FEdit->SetPasswordChar(type == QLatin1String("PASSWORD") ? u'*' : 0);
    FEdit->SetText(CtrlValue);
    FEdit->SetBounds(CtrlRect.Left + 1, CtrlRect.Top + 8, CtrlRect.Right - CtrlRect.Left - 4, 14);
    FEdit->SetMaxLength(maxLen);
    FEdit->SetVisible(true);
    FEdit->BringToFront();
    if (FEdit->CanFocus()) FEdit->SetFocus();
    return;
  }
  if (!FCombo) {
    FCombo = new TControlCombo(&G);
    FCombo->SetParent(&G);
    FCombo->OnSelect = [this](plat::TObject*) { ControlComboSelect(); };
    FCombo->OnExit = [this](plat::TObject*) { EndControlEdit(); };
    static_cast<TControlCombo*>(FCombo)->OnEndKey = [this](char16_t Key) { return EndKey(*FCombo, Key); };
  }
  FCombo->Items()->Clear();
  bool edit = true;
  int dropCount = 8;
  if (G.OnControlComboList) {
    plat::TStringList values;
    G.OnControlComboList(&G, ARow, ADisplCol, CtrlID, type, CtrlValue, &values, edit, dropCount);
    FCombo->Items()->Assign(&values);
  }
  FCombo->SetStyle(edit ? plat::csDropDown : plat::csDropDownList);
  FCombo->SetItemIndex(FCombo->Items()->IndexOf(CtrlValue));
  if (edit) FCombo->SetText(CtrlValue);
  FCombo->SetDropDownCount(dropCount);
  FCombo->SetBounds(CtrlRect.Left - 1, CtrlRect.Top + 4, CtrlRect.Right - CtrlRect.Left, FCombo->Height());
  FCombo->SetMaxLength(maxLen);
  FCombo->SetVisible(true);
  if (FCombo->CanFocus()) FCombo->SetFocus();
}

// The editor's value goes into the VALUE of its control; a cell that no longer holds the control (rows moved,
// removed or rewritten meanwhile) keeps its text.
void THTMLForms::EndControlEdit() {
  if (!FCtrlEditing) return;
  FCtrlEditing = false;
  const bool combo = FCtrlType == QLatin1String("COMBO");
  plat::TControl* editor = combo ? static_cast<plat::TControl*>(FCombo) : static_cast<plat::TControl*>(FEdit);
  const QString value = editor ? editor->Text() : QString();
  if (editor) editor->SetVisible(false);
  const int rc = FCtrlXY.X, row = FCtrlXY.Y;
  if (rc >= 0 && rc < G.AllColCount() && row >= 0 && row < G.RowCount()) {
    QString text = G.Cells(rc, row);
    if (controls::WriteControlTagValue(text, FCtrlID, value)) G.SetCells(rc, row, text);
  }
  if (G.OnControlEditDone) G.OnControlEditDone(&G, row, rc, FCtrlID, FCtrlType, value);
  FCtrlType.clear();
}

void THTMLForms::ControlComboSelect() {
  if (!G.OnControlComboSelect || !FCombo) return;
  const int idx = FCombo->ItemIndex();
  G.OnControlComboSelect(&G, FCtrlXY.Y, FCtrlXY.X, FCtrlID, FCtrlType,
                         idx >= 0 ? FCombo->Items()->Strings(idx) : QString());
}

bool THTMLForms::EndKey(plat::TWinControl& Editor, char16_t Key) {
  if (Key != u'\r' && Key != u'\t') return false;
  const QString id = CurrentControlID();
  const plat::TPoint cell = ControlCell();
  EndControlEdit();
  Editor.SetVisible(false);
  if (G.CanFocus()) G.SetFocus();
  if (Key != u'\t') return true;
  if (G.Navigation()->AdvanceAuto()) {
    G.AdvanceToNextCell(G.Col(), G.Row(), false, false, true, false, false);
  } else if (cell.X >= 0) {
    const QString next = controls::NextEditableControlTagID(G.Cells(cell.X, cell.Y), id);
    if (!next.isEmpty()) G.EditCellControl(G.DisplColIndex(cell.X), cell.Y, next);
  }
  return true;
}

}  // namespace grid
