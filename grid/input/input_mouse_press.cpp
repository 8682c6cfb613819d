// The left press: who claims it, in a fixed order; the first that claims it ends the press.
#include <cmath>

#include "grid/extgrid.h"
#include "grid/input/input_host.h"
#include "grid/input/header_clicks.h"
#include "grid/input/html_forms.h"
#include "grid/input/input_mouse.h"
#include "platform/forms/keys.h"

namespace grid {

using plat::TGridRect;
using plat::TMessage;
using plat::TRect;

namespace {
bool KeyDown(int vk) { return plat::GetKeyState(vk) < 0; }
plat::TShiftState KeyboardShift() {
  plat::TShiftState s;
  if (KeyDown(plat::VK_SHIFT)) s.Include(plat::ssShift);
  if (KeyDown(plat::VK_CONTROL)) s.Include(plat::ssCtrl);
  if (KeyDown(plat::VK_MENU)) s.Include(plat::ssAlt);
  return s;
}
bool RectHas(const TRect& r, int X, int Y) { return X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom; }
}  // namespace

// The pressed cell as the steps see it.
struct TGridMouse::TPressCell {
  int X = 0, Y = 0;
  int ACol = -1, ARow = -1;        // base cell of the pressed cell
  int OrigCol = -1, OrigRow = -1;  // the cell under the mouse
  int RealCol = -1;
  TRect R;
  TGridRect S0;
  int L0 = 0, T0 = 0;
  plat::TShiftState Shift;         // one derived modifier for OnMouseDown
  bool FixedPress = false, CustomFixed = false, IsNodeRow = false;
  bool Editable = false, Combo = false, OnCurrent = false, RestoreSelecting = false;
};

bool TGridMouse::Message(TMessage& M) {
  switch (M.Msg) {
    case plat::WM_LBUTTONDOWN: LeftButtonDown(M); return true;
    case plat::WM_LBUTTONUP: LeftButtonUp(M); return true;
    case plat::WM_LBUTTONDBLCLK: LeftButtonDblClk(M); return true;
    case plat::WM_RBUTTONDOWN: RightButtonDown(M); return true;
    case plat::WM_RBUTTONUP: RightButtonUp(M); return true;
    case plat::WM_MOUSEMOVE: {
      // The base grid extends a range selection before the move notification: compare around both.
      const TGridRect s0 = G.Selection();
      BaseDispatch(M);
      // A held button keeps the left column where the press found it (a row selection that scrolls only down).
      if (G.Navigation()->KeepHorizScroll && FPress.KeepDown && G.GridState() != plat::gsColMoving &&
          G.LeftCol() != FPress.OldKeepLeftCol) {
        G.BeginUpdate();
        G.SetLeftCol(FPress.OldKeepLeftCol);
        G.EndUpdate();
      }
      const TGridRect s1 = G.Selection();
      if (!(s0 == s1)) G.DoSelectionChanged(s1.Left, s1.Top, s1.Right, s1.Bottom);
      return true;
    }
    case plat::CM_MOUSELEAVE:
      BaseDispatch(M);
      MouseLeave();
      CancelCellHint();
      return true;
    case plat::CM_HINTSHOW: {
      plat::TWMMouse mm(M);
      ShowCellHint({mm.XPos(), mm.YPos()});
      M.Result = 1;  // the grid shows its hints itself
      return true;
    }
    default: return false;
  }
}

void TGridMouse::BaseDispatch(TMessage& M) { G.TRenderGrid::Dispatch(M); }

plat::TShiftState TGridMouse::DerivedShift() const {
  if (KeyDown(plat::VK_MENU)) return {plat::ssAlt};
  if (KeyDown(plat::VK_SHIFT)) return {plat::ssShift};
  if (KeyDown(plat::VK_CONTROL)) return {plat::ssCtrl};
  return {};
}

void TGridMouse::FireMouseDown(plat::TShiftState Shift, int X, int Y) {
  if (G.OnMouseDown) G.OnMouseDown(&G, plat::mbLeft, Shift, X, Y);
}

void TGridMouse::FireClickCell(int ARow, int ACol) {
  if (G.OnClickCell) G.OnClickCell(&G, ARow, ACol);
}

bool TGridMouse::OnSelectionHandle(int X, int Y) {
  if (!G.SelectionResizer() || !G.SelectionRectangle()) return false;
  const TGridRect s = G.Selection();
  const TRect r = G.CellRect(s.Right, s.Bottom);
  if (r.Right <= r.Left) return false;
  const int left = r.Right - 6;
  return X >= left && X <= left + 6 && Y >= r.Bottom - 6 && Y <= r.Bottom;
}

// The selection handle: the selection is copied, the resize starts, the current cell stays.
bool TGridMouse::PressHandle(TMessage& M, int X, int Y, bool Always) {
  if (!Always && !OnSelectionHandle(X, Y)) return false;
  H.SetGridState(plat::gsSelecting);
  FPress.DropSelection = G.Selection();
  G.CopySelectionToClipboard();
  FGesture.Begin(TMouseGesture::HandleResize);
  const TGridRect sel = G.Selection();
  const int col = G.Col(), row = G.Row();
  const bool editing = G.Options().Contains(plat::goEditing);
  if (Always ? !editing : !(editing || G.MouseActions()->RangeSelectAndEdit)) BaseDispatch(M);
  H.SetGridState(plat::gsSelecting);
  G.plat::TCustomGrid::SetCol(col);
  G.plat::TCustomGrid::SetRow(row);
  G.plat::TCustomGrid::SetSelection(sel);
  MouseMoveNote({}, X, Y);
  if (!Always) M.Result = 1;
  return true;
}

void TGridMouse::LeftButtonDown(TMessage& M) {
  plat::TWMMouse mm(M);
  TPressCell P;
  P.X = mm.XPos();
  P.Y = mm.YPos();
  // A press without a release (a lost release) ends the stale gesture.
  FGesture.End();
  CancelCellHint();
  G.Keys().SearchInc.clear();
  FPress.Reset();
  FPress.DoOnClick = FPress.MouseDownMove = FPress.KeepDown = true;
  G.MouseToCell(P.X, P.Y, P.OrigCol, P.OrigRow);
  P.ACol = P.OrigCol;
  P.ARow = P.OrigRow;
  P.S0 = G.Selection();
  if (PressHandle(M, P.X, P.Y, false)) return;
  TMouseActions& ma = *G.MouseActions();
  if (G.Options().Contains(plat::goEditing) && ma.RangeSelectAndEdit && P.ACol >= 0 &&
      !P.S0.Contains(P.ACol, P.ARow))
    G.SetOptions(G.Options().Exclude(plat::goEditing));
  bool allow = true;
  if (G.OnCanClickCell) G.OnCanClickCell(&G, P.ARow, P.ACol, allow);
  if (!allow) {
    FPress.Reset();
    return;
  }
  if (FSelectMode == msResize) {
    PressHandle(M, P.X, P.Y, true);
    return;
  }
  if (PressPrepare(P, M)) return;
  bool done = false;
  PressDisjunct(P, M, done);
  if (done || PressLinks(P) || PressWholeRowsCols(P)) return;
  // A normal column pressed in a fixed row, or a normal row in a fixed column, is what a move would take.
  if (P.ARow < G.FixedRows() && P.ACol >= G.FixedCols()) FPress.Movecell = P.ACol;
  if (P.ACol < G.FixedCols() && P.ARow >= G.FixedRows()) FPress.Movecell = P.ARow;
  FPress.MoveOfsX = P.X - P.R.Left;
  FPress.MoveOfsY = P.Y - P.R.Top;
  P.Editable = G.Options().Contains(plat::goEditing) || ma.RangeSelectAndEdit;
  G.CheckCellEditable(P.RealCol, P.ARow, P.Editable);
  if (PressCheckBox(P)) return;
  PressBase(P, M);
}

// Steps up to the cell objects; true when the press ended.
bool TGridMouse::PressPrepare(TPressCell& P, TMessage& M) {
  TMouseActions& ma = *G.MouseActions();
  P.Shift = DerivedShift();
  if (ma.DisjunctCellSelect() && !P.Shift.Contains(plat::ssCtrl) && P.ACol >= 0 && P.ARow >= 0 &&
      !G.IsFixed(P.ACol, P.ARow)) {
    G.ClearSelectedCells();
    G.Invalidate();
  }
  P.L0 = G.LeftCol();
  P.T0 = G.TopRow();
  FPress.OldTopRow = P.T0;
  FPress.OldKeepLeftCol = P.L0;
  // The sized cell: a press just right of a column border or just below a row border names that column or row.
  const int dx = P.ACol == 0 ? 0 : 5, dy = P.ARow == 0 ? 0 : 4;
  G.MouseToCell(P.X - dx, P.Y - dy, FPress.Colclicked, FPress.Rowclicked);
  if (FPress.Colclicked >= 0 && FPress.Rowclicked >= 0) {
    FPress.Colclickedsize = G.ColWidths(FPress.Colclicked);
    FPress.Rowclickedsize = G.RowHeights(FPress.Rowclicked);
  }
  FPress.Clickposx = P.X;
  FPress.Clickposy = P.Y;
  P.FixedPress = (P.ARow < G.FixedRows() || P.ACol < G.FixedCols()) && P.ACol >= 0 && P.ARow >= 0;
  if (P.ACol < 0 || P.ARow < 0) {
    H.HideEditor();
    if (!G.FixedRowAlways()) {
      FGesture.Begin(TMouseGesture::BasePress);
      BaseDispatch(M);
    }
    return true;
  }
  const plat::TPoint bc = G.BaseCell(P.ACol, P.ARow);
  P.ACol = bc.X;
  P.ARow = bc.Y;
  P.R = G.CellRect(P.ACol, P.ARow);
  P.RealCol = G.RealColIndex(P.ACol);
  if (ma.CaretPositioning) FPress.LButFlg = true;
  if (PressFixedSizing(P.X, P.Y)) return true;
  PressFixedButton(P);
  if (PressCellObjects(P)) return true;
  // Merged cells: the base grid sees the press inside the base cell.
  if (G.IsMergedCell(P.ACol, P.ARow) && !G.IsFixed(P.ACol, P.ARow) && !G.OnMouseDown) {
    M.LParam = plat::MakeLParam(P.R.Left + 2, P.R.Top + 2);
  }
  if (P.ACol >= G.ColCount() || P.ARow >= G.RowCount()) {
    BaseDispatch(M);
    return true;
  }
  TRect c;
  if (FPress.Colclicked >= 0 && FPress.Rowclicked >= 0) c = G.CellRect(FPress.Colclicked, FPress.Rowclicked);
  FPress.Clickposdx = FPress.Clickposx - c.Right;
  FPress.Clickposdy = FPress.Clickposy - c.Bottom;
  return false;
}

// The mouse on the right border of a fixed column (bottom border of a fixed row): the grid sizes it itself.
bool TGridMouse::PressFixedSizing(int X, int Y) {
  const bool cols = FHover.SizeFixed;
  if (!cols && !FHover.SizeFixedR) return false;
  FGesture.Begin(cols ? TMouseGesture::FixedColSizing : TMouseGesture::FixedRowSizing);
  FPress.SizeFixedPos = cols ? X : Y;
  FPress.SizingFixedIndex = FixedBorderIndex(cols, cols ? X : Y);
  if (cols)
    G.DrawColumnSizingLine(X);
  else
    G.DrawRowSizingLine(Y);
  return true;
}

// The fixed column (row) whose right (bottom) border lies less than 3 pixels from Pos; -1 when none.
int TGridMouse::FixedBorderIndex(bool Cols, int Pos) const {
  int found = -1, sum = 0;
  const int n = Cols ? G.FixedCols() : G.FixedRows();
  for (int i = 0; i < n; ++i) {
    sum += Cols ? G.ColWidths(i) : G.RowHeights(i);
    if (std::abs(sum + i - Pos) < 3) found = i;
  }
  return found;
}

// Fixed cells drawn as buttons are pushed: drawn sunken until the release clicks them.
void TGridMouse::PressFixedButton(TPressCell& P) {
  const bool isFixed = G.IsFixed(P.ACol, P.ARow);
  if (P.FixedPress || isFixed) H.HideEditor();
  P.CustomFixed = isFixed && !P.FixedPress;
  P.IsNodeRow = G.IsNodeRow(P.ARow);
  const plat::TGridOptions o = G.Options();
  if ((P.FixedPress || P.CustomFixed) && G.FixedAsButtons && o.Contains(plat::goFixedVertLine) &&
      o.Contains(plat::goFixedHorzLine) && G.Ctl3D && !(P.IsNodeRow && G.IsInNodeGlyph(P.ARow, P.X))) {
    FPress.PushedFixedCell = G.CellRect(P.ACol, P.ARow);
    FPress.PushedCellButton = {P.ACol, P.ARow};
    FPress.FixedCellPushed = true;
    FGesture.Begin(TMouseGesture::ButtonPushed);
    G.InvalidateCell(P.ACol, P.ARow);
    P.IsNodeRow = false;
  }
}

// The objects a cell may hold, in order; true when one of them claimed the press.
bool TGridMouse::PressCellObjects(TPressCell& P) {
  if (H.IsDesigning()) return false;
  if (G.ControlLook()->SpinButtonsAlwaysVisible() && G.HasSpinEdit(P.RealCol, P.ARow) && P.X > P.R.Right - 18) {
    const bool down = P.Y > P.R.Top + (P.R.Bottom - P.R.Top) / 2;
    FPress.SpinDnClick = down;
    FPress.SpinUpClick = !down;
  }
  if (P.ARow < G.FixedRows() && P.ACol == 0 && P.IsNodeRow && G.IsInNodeGlyph(P.ARow, P.X) &&
      G.MouseActions()->NodeAllExpandContract) {
    if (TCellGraphic* g = G.GetCellGraphic(0, P.ARow)) {
      if (g->CellBoolean)
        G.ExpandAll();
      else
        G.ContractAll();
      g->CellBoolean = !g->CellBoolean;
    }
  }
  if (PressNodeGlyph(P)) return true;
  if (G.IsRadio(P.RealCol, P.ARow) && (G.IsCellEditable(P.RealCol, P.ARow) || G.ControlLook()->RadioAlwaysActive)) {
    H.HideEditor();
    G.ClickRadioGroup(P.RealCol, P.ARow, P.X - P.R.Left, P.Y - P.R.Top);
    if (G.CanFocus()) G.SetFocus();
    return true;
  }
  if (P.ACol == 0 && P.ARow >= G.FixedRows() && H.HasNodes() && !G.MouseActions()->RowSelect &&
      !G.Options().Contains(plat::goRowSizing)) {
    FireMouseDown(P.Shift, P.X, P.Y);
    FireClickCell(P.ARow, P.ACol);
    return true;
  }
  return PressDragSource(P) || PressRating(P) || PressCellButton(P, false) || PressCellButton(P, true);
}

// A node glyph expands or contracts its node; the base grid never sees the press.
bool TGridMouse::PressNodeGlyph(TPressCell& P) {
  if (!(P.ARow >= G.FixedRows() && P.ACol == 0 && P.IsNodeRow && G.IsInNodeGlyph(P.ARow, P.X))) return false;
  FireMouseDown(P.Shift, P.X, P.Y);
  FireClickCell(P.ARow, P.ACol);
  const int realRow = G.RealRowIndex(P.ARow);
  bool allow = true;
  const TCellGraphic* node = G.GetCellGraphic(0, P.ARow);
  if (node && !node->CellBoolean) {
    if (G.OnBeforeContractNode) G.OnBeforeContractNode(&G, P.ARow, realRow, allow);
    if (allow) {
      G.ContractNode(realRow);
      if (G.OnContractNode) G.OnContractNode(&G, P.ARow, realRow);
    }
  } else {
    if (G.OnBeforeExpandNode) G.OnBeforeExpandNode(&G, P.ARow, realRow, allow);
    if (allow) {
      G.ExpandNode(realRow);
      if (G.OnExpandNode) G.OnExpandNode(&G, P.ARow, realRow);
    }
  }
  if (G.MouseActions()->MoveRowOnNodeClick) G.SetRow(P.ARow);
  return true;
}

// A press on a selected cell (or a header) that a drag could carry: the selection stays as it is.
bool TGridMouse::PressDragSource(TPressCell& P) {
  const TMouseActions& ma = *G.MouseActions();
  const bool fixedRow = P.ARow < G.FixedRows();
  const bool source = G.IsSelectedCell(P.ACol, P.ARow) || (fixedRow && !G.EnhRowColMove);
  const bool nearSide = G.Options().Contains(plat::goColSizing) && (P.X - P.R.Left < 4 || P.R.Right - P.X < 4);
  if (!source || G.Options().Contains(plat::goEditing) || G.HasButton(P.RealCol, P.ARow) ||
      G.HasCheckBox(P.RealCol, P.ARow) || !G.DragDropSettings()->OleDropSource ||
      (fixedRow && (ma.ColSelect || ma.AllSelect)) || P.ACol < G.FixedCols() || nearSide)
    return false;
  if (G.CanFocus()) G.SetFocus();
  FireMouseDown(P.Shift, P.X, P.Y);
  FGesture.Begin(TMouseGesture::DragSource);
  FireClickCell(P.ARow, P.ACol);
  return true;
}

// Each 9 pixels from the cell's left edge add half a star (nearest, ties to even).
bool TGridMouse::PressRating(TPressCell& P) {
  if (!G.HasRating(P.RealCol, P.ARow) || !G.IsCellEditable(P.RealCol, P.ARow)) return false;
  H.HideEditor();
  double value = std::nearbyint(double(P.X - P.R.Left) / 9.0) / 2.0;
  if (G.DoRatingChange(P.RealCol, P.ARow, value)) {
    G.SetFloats(P.RealCol, P.ARow, value);
    G.RepaintCell(P.ACol, P.ARow);
  }
  return true;
}

// A press inside a cell button (expand button) pushes it; a press beside it goes on.
bool TGridMouse::PressCellButton(TPressCell& P, bool Expand) {
  if (Expand ? !G.HasExpand(P.RealCol, P.ARow) : !G.HasButton(P.RealCol, P.ARow)) return false;
  H.HideEditor();
  if (!G.IsFixed(P.ACol, P.ARow)) {
    H.SetForceSelect(true);
    H.HandleSelectCell(P.ACol, P.ARow);
    H.SetForceSelect(false);
  }
  if (!RectHas(G.GetCellButtonRect(P.ACol, P.ARow), P.X, P.Y)) return false;
  G.PushButton(P.ACol, P.ARow, true);
  FPress.PushedCellButton = {P.ACol, P.ARow};
  FGesture.Begin(TMouseGesture::ButtonPushed);
  G.SetMouseCapture(true);
  FireClickCell(P.ARow, P.ACol);
  return true;
}

// Disjunct row and column selections read Shift, Ctrl and Alt from the keyboard.
void TGridMouse::PressDisjunct(TPressCell& P, TMessage& M, bool& Done) {
  TMouseActions& ma = *G.MouseActions();
  const bool normalRow = P.ARow >= G.FixedRows();
  if (ma.DisjunctRowSelect() && normalRow && !(P.ACol == 0 && ma.HotmailRowSelect())) {
    if (KeyDown(plat::VK_SHIFT)) {
      FGesture.Begin(TMouseGesture::BasePress);
      BaseDispatch(M);
      G.SetSelection({P.ACol, P.ARow, P.S0.Left, P.S0.Top});
      Done = true;
      return;
    }
    FGesture.Begin(TMouseGesture::DisjunctSelect);
    if (KeyDown(plat::VK_CONTROL) || ma.DisjunctRowSelectNoCtrl) {
      const int row = ma.RowSelectPersistent ? G.RealRowIndex(P.ARow) : P.ARow;
      FPress.DeselectState = G.GetRowSelect(row);
    } else if (!KeyDown(plat::VK_MENU)) {
      G.ClearRowSelect();
    }
  }
  if (ma.DisjunctColSelect() && P.ACol >= G.FixedCols()) {
    FGesture.Begin(TMouseGesture::DisjunctSelect);
    if (KeyDown(plat::VK_CONTROL))
      FPress.DeselectState = G.GetColSelect(P.ACol);
    else
      G.ClearColSelect();
  }
}

// Links and form controls in the cell text.
bool TGridMouse::PressLinks(TPressCell& P) {
  const QString text = G.Cells(P.RealCol, P.ARow);
  const bool html = G.EnableHTML && text.contains(QLatin1Char('<'), Qt::CaseInsensitive) &&
                    text.contains(QLatin1Char('>'));
  if (!G.RenderSettings().URLShow && !html) return false;
  THTMLHit hit;
  if (html)
    hit = G.HTMLForms().HitTest(P.ACol, P.ARow, P.X, P.Y);
  else if (text.contains(QLatin1String("://")) || text.contains(QLatin1String("mailto:")))
    hit.Anchor = text;
  if (!hit.Anchor.isEmpty()) {
    bool autoHandle = true;
    bool canEdit = (G.Options().Contains(plat::goEditing) || G.EditDisabled()) &&
                   !G.ReadOnly(G.RealColIndex(P.OrigCol), P.OrigRow);
    if (!hit.ControlID.isEmpty()) G.DoCanEditCell(P.OrigCol, P.OrigRow, canEdit);
    if (!hit.ControlID.isEmpty() && canEdit) {
      G.HTMLForms().ControlClick(hit, P.ACol, P.ARow);
      autoHandle = false;
    } else if (G.OnAnchorClick) {
      G.OnAnchorClick(&G, P.ARow, P.ACol, hit.Anchor, autoHandle);
    }
    if (autoHandle) G.FollowAnchor(hit.Anchor);
    return true;
  }
  if (html && text.toUpper().contains(QLatin1String("<CONTROL"))) {
    FireClickCell(P.OrigRow, P.OrigCol);
    H.HideEditor();
    G.SetSelection({P.ACol, P.ARow, P.ACol, P.ARow});
    return true;
  }
  return false;
}

// Select all from the corner, whole rows from the fixed column, whole columns from the fixed row.
bool TGridMouse::PressWholeRowsCols(TPressCell& P) {
  TMouseActions& ma = *G.MouseActions();
  FPress.Movecell = -1;
  const bool range = G.Options().Contains(plat::goRangeSelect);
  const int fc = G.FixedCols(), fr = G.FixedRows();
  auto finish = [&](TGridRect sel) {
    if (ma.DisjunctCellSelect()) G.ClearSelectedCells();
    G.SetSelection(sel);
    H.DoExit();
  };
  if (P.ACol < fc && P.ARow < fr && ma.AllSelect && range && FSelectMode == msAll) {
    if (G.CanFocus()) G.SetFocus();
    TGridRect a{fc, fr, G.ColCount() - 1, G.RowCount() - 1};
    G.AdjustSelectAll(a);
    finish(a);
    return true;
  }
  if (P.ACol < fc && P.ARow >= fr && ma.RowSelect && FSelectMode == msRow) {
    const int top = KeyDown(plat::VK_SHIFT) ? G.Selection().Top : P.ARow;
    finish({fc, std::min(top, P.ARow), G.ColCount() - 1, std::max(top, P.ARow)});
    FPress.MouseSelectStart = P.ARow;
    FGesture.Begin(TMouseGesture::RowDragSelect);
    return true;
  }
  if (P.ACol >= fc && P.ARow < fr && ma.ColSelect && range && FSelectMode == msColumn) {
    if (G.CanFocus()) G.SetFocus();
    const TGridRect s = G.Selection();
    TGridRect sel{P.ACol, fr, P.ACol, G.RowCount() - 1};
    if (KeyDown(plat::VK_SHIFT)) sel = P.ACol < s.Left ? TGridRect{P.ACol, fr, s.Right, G.RowCount() - 1}
                                                       : TGridRect{s.Left, fr, P.ACol, G.RowCount() - 1};
    finish(sel);
    FPress.MouseSelectStart = P.ACol;
    FGesture.Begin(TMouseGesture::ColDragSelect);
    return true;
  }
  return false;
}

// Check boxes and radio buttons of editable cells (or always active ones) toggle at once.
bool TGridMouse::PressCheckBox(TPressCell& P) {
  TMouseActions& ma = *G.MouseActions();
  const bool hotmail = P.ACol == 0 && ma.HotmailRowSelect();
  const bool radio = G.HasRadioButton(P.RealCol, P.ARow);
  if (!(P.Editable || G.ControlLook()->CheckAlwaysActive || hotmail)) return false;
  if (!(G.HasCheckBox(P.RealCol, P.ARow) || radio) || !G.InCheckBox(P.ACol, P.ARow, P.X, P.Y)) return false;
  H.HideEditor();
  if (G.CanFocus()) G.SetFocus();
  const int realRow = G.RealRowIndex(P.ARow);
  if (radio) {
    G.CheckRadioButton(P.RealCol, P.ARow, true);
    if (G.OnRadioButtonClick) G.OnRadioButtonClick(&G, P.RealCol, P.ARow, 0);
  } else {
    G.ToggleCellCheck(P.RealCol, P.ARow, true);
  }
  if (G.ShowModified()->Enabled) {
    G.SetRowModified(P.ARow, true);
    G.RepaintCell(0, P.ARow);
  }
  if (hotmail) {
    G.SetSelection({G.FixedCols(), P.ARow, G.ColCount() - 1, P.ARow});
    G.SetRowSelect(realRow, !G.GetRowSelect(realRow));
  }
  bool state = false;
  G.GetCheckBoxState(P.RealCol, realRow, state);
  if (!G.Navigation()->AlwaysEdit && P.ACol >= G.FixedCols() && P.ARow >= G.FixedRows())
    G.MoveColRow(P.ACol, P.ARow, true, true);
  if (G.OnCheckBoxClick) G.OnCheckBoxClick(&G, P.ACol, P.ARow, state);
  if (P.ARow < G.FixedRows() && ma.CheckAllCheck) {
    for (int r = G.FixedRows(); r < G.RowCount(); ++r) {
      if (ma.HotmailRowSelect())
        G.SetRowSelect(G.RealRowIndex(r), state);
      else
        G.SetCheckBoxState(P.RealCol, r, state);
    }
    G.Invalidate();
  }
  if (G.OnMouseDown) G.OnMouseDown(&G, plat::mbLeft, KeyboardShift(), P.X, P.Y);
  H.Click();
  return true;
}

// The base grid's press, then the click event and direct editing.
void TGridMouse::PressBase(TPressCell& P, TMessage& M) {
  TMouseActions& ma = *G.MouseActions();
  P.Combo = P.ACol >= G.FixedCols() && P.ARow >= G.FixedRows() && G.ControlLook()->DropDownAlwaysVisible() &&
            G.HasComboBox(P.RealCol, P.ARow);
  const bool normal = P.ACol >= G.FixedCols() && P.ARow >= G.FixedRows();
  const bool directEdit = ma.DirectEdit || (G.ControlLook()->DropDownAlwaysVisible() && P.Combo);
  const bool editableForDirect = P.Editable || (ma.EditOnDblClickOnly() && P.Combo);
  if (normal && editableForDirect && directEdit) {
    H.HideEditor();
    if (G.CanFocus()) G.SetFocus();
  }
  const TGridRect sel = G.Selection();
  P.OnCurrent = RectHas(P.R, P.X, P.Y) && sel == TGridRect{P.ACol, P.ARow, P.ACol, P.ARow};
  if (!P.OnCurrent && ma.RangeSelectAndEdit && !G.IsFixed(P.ACol, P.ARow) && !P.Editable) {
    G.SetOptions(G.Options().Exclude(plat::goEditing));
    P.RestoreSelecting = true;
  }
  if (P.CustomFixed) {
    const bool footerRow = P.ARow == G.RowCount() - 1 && G.FloatingFooterFixedLastRow();
    if (!footerRow) FireClickCell(P.ARow, P.ACol);
    return;
  }
  const bool edge = P.ARow == G.TopRow() + G.VisibleRowCount() || P.ACol == G.LeftCol() + G.VisibleColCount() ||
                    (P.ACol == G.LeftCol() && G.LeftCol() > G.FixedCols());
  const bool keepLeft = G.Options().Contains(plat::goRowSelect) && G.Navigation()->KeepHorizScroll;
  if (keepLeft) G.BeginUpdate();
  // Range select and edit: a second press on the current cell edits it, a Shift-press extends the range.
  if (ma.RangeSelectAndEdit && !ma.EditOnDblClickOnly()) {
    const bool current = G.Col() == P.ACol && G.Row() == P.ARow;
    if (current && !G.Options().Contains(plat::goEditing) && G.IsCellEditable(P.RealCol, P.ARow))
      G.SetOptions(G.Options().Include(plat::goEditing));
    else if (!current && G.Options().Contains(plat::goEditing) && KeyDown(plat::VK_SHIFT))
      G.SetOptions(G.Options().Exclude(plat::goEditing));
  }
  const bool alwaysEdit = G.Navigation()->AlwaysEdit;
  if (!G.SelectionHidden()) G.Navigation()->AlwaysEdit = false;
  FGesture.Begin(TMouseGesture::BasePress);
  BaseDispatch(M);
  G.Navigation()->AlwaysEdit = alwaysEdit;
  if (keepLeft) {
    G.SetLeftCol(P.L0);
    G.EndUpdate();
  }
  if (G.GridState() == plat::gsSelecting && edge && ma.NoAutoRangeScroll) H.SetGridState(plat::gsNormal);
  if (G.TopRow() != P.T0 && ma.NoScrollOnPartialRow) {
    G.SetTopRow(P.T0);
    G.CancelTracking();
  }
  const bool onSizingBorder = P.ARow < G.FixedRows() && G.Options().Contains(plat::goColSizing) &&
                              (P.X - P.R.Left < 4 || P.R.Right - P.X < 4);
  if (!onSizingBorder) FireClickCell(P.ARow, P.ACol);
  if (G.OnCellValidate) G.RememberCellValue(G.Col(), G.Row());
  if (G.IsMergedCell(P.ACol, P.ARow) && !G.IsFixed(P.ACol, P.ARow) && (P.OnCurrent || ma.DirectEdit) && P.Editable)
    H.ShowEditor();
  PressDirectEdit(P);
}

// Direct editing opens the editor with the first press (not within 4 pixels of the cell's sides).
void TGridMouse::PressDirectEdit(TPressCell& P) {
  TMouseActions& ma = *G.MouseActions();
  const TRect r = G.CellRect(P.ACol, P.ARow);
  if (P.X - r.Left < 4 || r.Right - P.X < 4) return;
  const bool normal = P.ACol >= G.FixedCols() && P.ARow >= G.FixedRows();
  const bool directEdit = ma.DirectEdit || (G.ControlLook()->DropDownAlwaysVisible() && P.Combo);
  if (normal && (P.Editable || (ma.EditOnDblClickOnly() && P.Combo)) && directEdit &&
      !G.IsControlCell(P.RealCol, P.ARow)) {
    if (ma.EditOnDblClickOnly() && P.Combo && !G.Options().Contains(plat::goEditing)) {
      G.SetOptions(G.Options().Include(plat::goEditing));
      if (G.CanFocus()) G.SetFocus();
    }
    bool allow = true;
    if (G.Row() != P.ARow && G.OnRowChanging) G.OnRowChanging(&G, G.Row(), P.ARow, allow);
    if (G.Col() != P.ACol && G.OnColChanging) G.OnColChanging(&G, G.Col(), P.ACol, allow);
    if ((G.Row() != P.ARow || G.Col() != P.ACol) && G.OnCellChanging)
      G.OnCellChanging(&G, G.Row(), G.Col(), P.ARow, P.ACol, allow);
    if (allow) {
      const bool base = G.IsBaseCell(P.OrigCol, P.OrigRow);
      const int ec = base ? P.OrigCol : P.ACol, er = base ? P.OrigRow : P.ARow;
      G.SetSelection({ec, er, ec, er});
      G.RememberCellValue(G.Col(), G.Row());
      H.ShowEditor();
    }
  }
  if (P.RestoreSelecting) H.SetGridState(plat::gsSelecting);
}

// Inside the base grid's press (every button): fixed-cell editors and the synchronised grid.
bool TGridMouse::MouseDownNote(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) {
  (void)Shift;
  int ACol = -1, ARow = -1;
  G.MouseToCell(X, Y, ACol, ARow);
  if (ACol >= 0 && ARow >= 0 && Button == plat::mbLeft && G.HeaderClicks().DropDownPress(X, Y, ACol, ARow))
    return true;
  if (ACol >= 0 && ARow >= 0 && G.HeaderClicks().FixedEditOnPress(Button, X, Y, ACol, ARow)) return true;
  if (Button == plat::mbLeft && Shift.Contains(plat::ssShift) && G.SelectionRectangle()) G.Invalidate();
  return false;
}

}  // namespace grid
