// The grid drop-down hands the popup grid's events on to its own OnGrid events, each with the arguments it
// received (Sender is the popup grid), and keeps the selected item's row through a header-click sort.
#include <utility>

#include "dropdown/grid_dropdown.h"
#include "dropdown/grid_dropdown_grid.h"
#include "platform/graphics/gdiobjects.h"

namespace dropdown::griddrop {

using namespace plat;

namespace {

// The grid's event calls the drop-down's event of the same kind, when one is assigned.
template <class TEvent>
void Forward(TEvent& GridEvent, const TEvent& DropDownEvent) {
  GridEvent = [&DropDownEvent](auto&&... Args) {
    if (DropDownEvent) DropDownEvent(std::forward<decltype(Args)>(Args)...);
  };
}

// The same while a dialog the handler opens must not close the popup.
template <class TEvent>
void ForwardBlocked(TEvent& GridEvent, const TEvent& DropDownEvent, TDropDownForm* Form) {
  GridEvent = [&DropDownEvent, Form](auto&&... Args) {
    if (!DropDownEvent) return;
    const bool saved = Form->BlockActivate();
    Form->SetBlockActivate(true);
    DropDownEvent(std::forward<decltype(Args)>(Args)...);
    Form->SetBlockActivate(saved);
  };
}

}  // namespace

void TCustomExtGridDropDown::HookGridEvents() {
  TExtColGrid& g = *FGrid;
  TDropDownForm* form = FDropDownForm.get();
  ForwardBlocked(g.OnAnchorClick, OnGridAnchorClick, form);
  ForwardBlocked(g.OnButtonClick, OnGridButtonClick, form);
  ForwardBlocked(g.OnEllipsClick, OnGridEllipsClick, form);
  Forward(g.OnAnchorEnter, OnGridAnchorEnter);
  Forward(g.OnAnchorExit, OnGridAnchorExit);
  Forward(g.OnAnchorHint, OnGridAnchorHint);
  Forward(g.OnAutoAddRow, OnGridAutoAddRow);
  Forward(g.OnAutoInsertRow, OnGridInsertRow);
  Forward(g.OnAutoDeleteRow, OnGridDeleteRow);
  Forward(g.OnAutoInsertCol, OnGridInsertCol);
  Forward(g.OnCanAddRow, OnGridCanAddRow);
  Forward(g.OnCanDeleteRow, OnGridCanDeleteRow);
  Forward(g.OnCanInsertRow, OnGridCanInsertRow);
  Forward(g.OnCanEditCell, OnGridCanEditCell);
  Forward(g.OnCheckBoxClick, OnGridCheckBoxClick);
  Forward(g.OnColumnSize, OnGridColumnSize);
  Forward(g.OnEndColumnSize, OnGridEndColumnSize);
  Forward(g.OnColumnSizing, OnGridColumnSizing);
  Forward(g.OnRowSize, OnGridRowSize);
  Forward(g.OnRowSizing, OnGridRowSizing);
  Forward(g.OnEndRowSize, OnGridEndRowSize);
  Forward(g.OnRowMove, OnGridRowMove);
  Forward(g.OnRowMoving, OnGridRowMoving);
  Forward(g.OnRowMoved, OnGridRowMoved);
  Forward(g.OnColumnMove, OnGridColumnMove);
  Forward(g.OnColumnMoving, OnGridColumnMoving);
  Forward(g.OnColumnMoved, OnGridColumnMoved);
  Forward(g.OnGetCellGradient, OnGridGetCellGradient);
  Forward(g.OnGetEditorType, OnGridGetEditorType);
  Forward(g.OnGetEditorPropInt, OnGridGetEditorProp);
  Forward(g.grid::TBaseGrid::OnGetDisplText, OnGridGetDiplText);
  Forward(g.OnGetFormat, OnGridGetFormat);
  Forward(g.OnGridHint, OnGridHint);
  Forward(g.OnCellBalloon, OnGridCellBalloon);
  Forward(g.OnMouseDown, OnGridMouseDown);
  Forward(g.OnMouseUp, OnGridMouseUp);
  Forward(g.OnRightClickCell, OnGridRightClickCell);
  Forward(g.OnScrollHint, OnGridScrollHint);
  Forward(g.OnSearchEditChange, OnGridSearchEditChange);
  if (OnGridCustomCellDraw) Forward(g.OnCustomCellDraw, OnGridCustomCellDraw);
  if (OnGridCustomCellBkgDraw) Forward(g.OnCustomCellBkgDraw, OnGridCustomCellBkgDraw);
  // The columns' alignment and colour come first; the handler has the last word.
  g.OnGetAlignment = [this](TObject* S, int ARow, int ACol, TAlignment& HA, grid::TVAlignment& VA) {
    if (ACol >= 0 && ACol < FColumns->Count()) HA = FColumns->GetItem(ACol)->Alignment();
    if (OnGridGetAlignment) OnGridGetAlignment(S, ARow, ACol, HA, VA);
  };
  g.OnGetCellColor = [this](TObject* S, int ARow, int ACol, TGridDrawState State, TBrush* Brush, TFont* Font) {
    if (ACol >= 0 && ACol < FColumns->Count() && Brush) Brush->SetColor(FColumns->GetItem(ACol)->Color());
    if (OnGridGetCellColor) OnGridGetCellColor(S, ARow, ACol, State, Brush, Font);
  };
  g.OnGetFloatFormat = [this](TObject* S, int ACol, int ARow, bool& IsFloat, QString& Format) {
    Format.clear();
    if (OnGridGetFloatFormat) OnGridGetFloatFormat(S, ACol, ARow, IsFloat, Format);
  };
  g.OnMouseMove = [this](TObject* S, TShiftState Shift, int X, int Y) {
    // Balloon hints are armed again on the first move after each opening.
    if (!FBalloonRearmed && FGrid->Balloon()->Enable()) {
      FGrid->Balloon()->SetEnable(false);
      FGrid->Balloon()->SetEnable(true);
    }
    FBalloonRearmed = true;
    if (OnGridMouseMove) OnGridMouseMove(S, Shift, X, Y);
  };
  g.OnTopLeftChanged = [this](TObject*) {
    if (OnGridTopLeftChanged) OnGridTopLeftChanged(this);
  };
  // A header-click sort keeps the selected item in the current row.
  g.OnCanSort = [this](TObject*, int, bool&) { FSortItemIndex = FItemIndex; };
  g.OnClickSort = [this](TObject*, int) {
    const int row = ItemToRow(FSortItemIndex);
    if (row >= 0 && row < FGrid->RowCount()) {
      FQuietRow = true;
      FGrid->SetRow(row);
      FQuietRow = false;
      FSelRow = row;
    }
  };
}

}  // namespace dropdown::griddrop
