// The string grid's window messages other than keys, wheel, scrolling and the mouse: the focus arriving and
// leaving, a cancelled mode, the combo editor's notifications, the first paint, colour changes, and the small
// notifications and hooks the editors and the other parts call.
#include <QCoreApplication>

#include "grid/edit/rich_text.h"
#include "grid/edit/special_editors.h"
#include "grid/extgrid.h"
#include "grid/input/move_feedback.h"
#include "grid/input/scroll_bar.h"
#include "grid/view/footer.h"
#include "grid/view/side_windows.h"
#include "platform/forms/forms.h"
#include "platform/forms/msgqueue.h"

namespace grid {

using plat::TMessage;

// ---------------------------------------------------------------- focus

void TExtStringGrid::SetFocusMessage(TMessage& M) {
  if (FInvokedFocusChange) return;
  MouseOrBaseDispatch(M);
  if (HasCheckBox(RealCol(), Row())) return;
  if (EditMode() && FEdit.State().EditControl == edRichEdit && EditCtrl() && EditCtrl()->Visible()) HideInplaceEdit();
  const plat::TPoint b = BaseCell(Col(), Row());
  if (IsMergedCell(RealCol(), Row())) RepaintMergedArea(b);
  if (!FNavigation.AlwaysEdit || EditorMode() || IsControlCell(RealCol(), Row())) return;
  const bool moving = FGridState == plat::gsColMoving || FGridState == plat::gsRowMoving;
  plat::TInplaceEdit* editor = InplaceEditor();
  const plat::TRect r = CellRect(Col(), Row());
  const bool inView = r.Width() > 0 && r.Height() > 0;
  // The focus coming back from the editor itself opens nothing, nor does it during a move or another kind's
  // edit.
  if (moving || (editor && (M.WParam == editor->Handle() || FEdit.State().EditControl != edNormal))) return;
  if (inView && FKeys.IsEditable(Col(), Row())) {
    ShowEditor();
    M.Result = 0;
  }
}

void TExtStringGrid::KillFocusMessage(TMessage& M) {
  if (FBlockKill) {
    M.Result = 1;
    return;
  }
  MouseOrBaseDispatch(M);
  if (IsMergedCell(RealCol(), Row())) RepaintMergedArea(BaseCell(Col(), Row()));
  if (FHTMLForms.ButtonDown()) FHTMLForms.ReleaseButton();
  // A column or row move does not survive the focus going away.
  if (FGridState == plat::gsColMoving || FGridState == plat::gsRowMoving) Perform(plat::WM_CANCELMODE);
}

void TExtStringGrid::RepaintMergedArea(plat::TPoint Base) {
  const plat::TPoint span = CellSpan(RealColIndex(Base.X), Base.Y);
  RepaintRect({Base.X, Base.Y, Base.X + std::max(0, span.X), Base.Y + std::max(0, span.Y)});
}

// A column or row being moved is let go: its feedback goes, the cursor and the grid's state return to normal.
void TExtStringGrid::CancelModeMessage(TMessage& M) {
  const bool moving = FGridState == plat::gsColMoving || FGridState == plat::gsRowMoving;
  if (moving && EnhRowColMove) {
    TMoveFeedback& f = FMouse.MoveFeedback();
    if (THeaderDragButton* b = f.MoveButton()) {
      b->SetEnabled(false);
      b->Hide();
    }
    if (TCellsImageWindow* w = f.MoveForm()) w->Hide();
    f.HideArrows();
    SetCursor(FUserCursor);
  }
  MouseOrBaseDispatch(M);
}

// ---------------------------------------------------------------- the combo editor's notifications

// WM_COMMAND from the grid's combo editor (LParam its handle): a choice from its list, its list dropping down
// and closing up. With DirectComboClose the close-up also ends the edit, keeping the chosen item.
void TExtStringGrid::ComboCommand(TMessage& M) {
  TGridCombo* combo = dynamic_cast<TGridCombo*>(plat::FindControl(static_cast<plat::HWND>(M.LParam)));
  if (!combo) return;
  const int code = M.WParamHi();
  if (code == plat::CBN_SELCHANGE && EditMode()) combo->FireComboChange();
  if (code == plat::CBN_DROPDOWN) DoComboDropDown(RealCol(), Row());
  if (code != plat::CBN_CLOSEUP) return;
  combo->ListClosed();
  if (FMouseActions.DirectComboClose && EditMode()) {
    const int i = combo->ItemIndex();
    if (i >= 0 && i < combo->Items()->Count()) combo->SetText(combo->Items()->Strings(i));
    combo->FireComboChange();
    FEdit.State().EditControl = edComboEdit;
    const bool direct = FMouseActions.DirectEdit;
    FMouseActions.DirectEdit = false;
    HideInplaceEdit();
    FMouseActions.DirectEdit = direct;
    if (CanFocus()) SetFocus();
  }
  DoComboCloseUp(RealCol(), Row());
}

// ---------------------------------------------------------------- notifications

void TExtStringGrid::ColorChanged() {
  TRenderGrid::ColorChanged();
  if (FFloatingFooter.Visible()) UpdateFooter();
}

// The first paint of a grid outside the tab order sizes its proportional vertical bar once.
void TExtStringGrid::PaintMessage(TMessage& M) {
  if (FPaintCount == 0 && ScrollProportional && !IsDesigning()) {
    FScrolling.UpdateVertProportional();
    FScrolling.UpdateHorzProportional();
  }
  MouseOrBaseDispatch(M);
  if (!TabStop() && FPaintCount == 0) {
    FPaintCount = 1;
    FScrolling.UpdateVertProportional();
  }
}

void TExtStringGrid::ResetFixedCellHighlight() {
  TMouseHover& h = FMouse.Hover();
  h.SizeFixed = h.SizeFixedR = false;
  h.NoMouseLeave = false;
  if (HoverFixedCells == hfNone || h.HoverFixedX < 0 || h.HoverFixedY < 0) return;
  const int c = h.HoverFixedX, r = h.HoverFixedY;
  h.HoverFixedX = h.HoverFixedY = -1;
  RepaintCell(c, r);
}

bool TExtStringGrid::IsHoverFixedCell(int ACol, int ARow) const {
  switch (HoverFixedCells) {
    case hfAll: return ACol < FixedCols() || ARow < FixedRows();
    case hfFixedRows: return ARow < FixedRows();
    case hfFixedColumns: return ACol < FixedCols();
    default: return false;
  }
}

QString TExtStringGrid::DoEllipsisClick(QString S) {
  if (OnEllipsClick) OnEllipsClick(this, RealCol(), Row(), S);
  return S;
}

void TExtStringGrid::DropDownHeaderButtonClicked(plat::TObject*, int ButtonIndex) {
  if (OnDropDownHeaderButtonClick) OnDropDownHeaderButtonClick(this, Col(), Row(), ButtonIndex);
}

void TExtStringGrid::DropDownFooterButtonClicked(plat::TObject*, int ButtonIndex) {
  if (OnDropDownFooterButtonClick) OnDropDownFooterButtonClick(this, Col(), Row(), ButtonIndex);
}

void TExtStringGrid::MemoEditorChanged(plat::TObject* Sender) {
  if (auto* c = dynamic_cast<plat::TControl*>(Sender)) HandleSetEditText(Col(), Row(), c->Text());
}

}  // namespace grid
