// The left release (it ends what the press started and fires the click events), the double-click and the
// right button.
#include <algorithm>

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
bool RectHas(const TRect& r, int X, int Y) { return X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom; }
}  // namespace

void TGridMouse::LeftButtonUp(TMessage& M) {
  plat::TWMMouse mm(M);
  const int X = mm.XPos(), Y = mm.YPos();
  FColMoveFlg = FColSizeFlg = false;
  FPress.KeepDown = false;
  FSelectMode = msNormal;
  bool deselectDone = false;
  if (G.HTMLForms().ButtonDown()) G.HTMLForms().ReleaseButton();
  FPress.MouseDownMove = false;
  if (G.Look() == glListView) {
    G.InvalidateRow(0);
    if (G.FixedCols() > 0) G.InvalidateCol(0);
  }
  FPress.MouseSelectStart = -1;
  if (!H.IsDesigning()) FFeedback.HideArrows();
  ReleaseFixedSizing(X, Y);
  if (FPress.FixedCellPushed) {
    FPress.FixedCellPushed = false;
    G.Invalidate();
  }
  int ACol = -1, ARow = -1;
  G.MouseToCell(X, Y, ACol, ARow);
  const bool inButton = ReleaseButton(X, Y, ACol, ARow);
  if (FHover.ScrollHintShow) HideSizingHint();
  if (inButton) {
    FGesture.End();
    return;
  }
  // A click on a fixed cell (or outside the cells) fires OnClick, unless the press started a column sizing.
  const bool sizingCursor = ARow < G.FixedRows() && ACol >= 0 && G.Options().Contains(plat::goColSizing) &&
                            G.Cursor() == plat::crHSplit;
  if (G.OnClick && FPress.DoOnClick && !sizingCursor && (ARow < G.FixedRows() || ACol < G.FixedCols()))
    G.OnClick(&G);
  FPress.DoOnClick = false;
  // A range selection ends here (the base grid's release then leaves the selection as the moves made it).
  if (G.GridState() == plat::gsSelecting) {
    G.KillTimer(plat::GridScrollTimerId);
    H.SetGridState(plat::gsNormal);
    H.Click();
  }
  if (ReleaseDragSource(X, Y, ACol, ARow)) {
    FGesture.End();
    return;
  }
  ReleaseDisjunct(ACol, ARow, deselectDone);
  ReleaseAutoSelectGroup(ACol, ARow);
  // The grid ends an enhanced move itself; the end of a move is no click.
  const bool moveEnded = FFeedback.Release(ACol, ARow, FPress.Movecell);
  if (moveEnded) FColMoveFlg = true;
  const plat::TGridState before = G.GridState();
  // A base sizing released beyond the grid's right (bottom) edge is abandoned: the base grid never sees it.
  if ((X > G.Width() && before == plat::gsColSizing) || (Y > G.Height() && before == plat::gsRowSizing)) {
    G.CancelTracking();
    FGesture.End();
    return;
  }
  const TGridRect s0 = G.Selection();
  BaseDispatch(M);
  const TGridRect s1 = G.Selection();
  if (!(s0 == s1) && !deselectDone) G.DoSelectionChanged(s1.Left, s1.Top, s1.Right, s1.Bottom);
  FColSizeFlg = FColSizeFlg || before == plat::gsColSizing || before == plat::gsRowSizing;
  if (G.GridState() == plat::gsSelecting) H.SetGridState(plat::gsNormal);
  if (FGesture.Is(TMouseGesture::HandleResize)) {
    const TGridRect orig = FPress.DropSelection;
    if (G.OnSelectionResize) G.OnSelectionResize(&G, orig, G.Selection());
    if (G.EditDisabled()) G.PasteSelectionFromClipboard();
    G.EditState().EditDisable = false;
    if (G.OnSelectionResized) G.OnSelectionResized(&G, orig, G.Selection());
  }
  FGesture.End();
  FPress.DeselectState = false;
  if (FColMoveFlg || FColSizeFlg || ACol < 0 || ARow < 0) return;
  ReleaseCellMouseUp(X, Y, ACol, ARow);
}

// Releasing over an expanded node row selects its whole group.
void TGridMouse::ReleaseAutoSelectGroup(int ACol, int ARow) {
  if (ACol <= 0 || ARow < 0 || !G.Grouping()->AutoSelectGroup || !G.IsNodeRow(ARow) || G.NodeState(ARow)) return;
  const int span = G.GetNodeSpan(ARow);
  if (G.MouseActions()->DisjunctRowSelect()) {
    for (int r = ARow + 1; r < ARow + span && r < G.RowCount(); ++r) G.SetRowSelect(G.RealRowIndex(r), true);
  } else {
    G.SetSelection({G.FixedCols(), ARow, G.ColCount() - 1, std::min(G.RowCount() - 1, ARow + span - 1)});
  }
}

// The end of the grid's own sizing of a fixed column or row (never below 2 pixels).
void TGridMouse::ReleaseFixedSizing(int X, int Y) {
  const bool cols = FGesture.Is(TMouseGesture::FixedColSizing);
  if (!cols && !FGesture.Is(TMouseGesture::FixedRowSizing)) return;
  FHover.SizeFixed = FHover.SizeFixedR = false;
  const int i = FPress.SizingFixedIndex;
  FGesture.End();
  G.Invalidate();  // the sizing line goes
  if (i < 0) return;
  int before = 0;
  for (int k = 0; k < i; ++k) before += cols ? G.ColWidths(k) : G.RowHeights(k);
  const int old = cols ? G.ColWidths(i) : G.RowHeights(i);
  int w = (cols ? X : Y) - before;
  if (w <= 1) w = old;
  if (cols) {
    G.SetColWidths(i, w);
    if (G.OnEndColumnSize) G.OnEndColumnSize(&G, i);
    int upd = w;
    if (G.OnUpdateColumnSize) G.OnUpdateColumnSize(&G, i, upd);
    if (upd > 1 && G.ColWidths(i) != upd) G.SetColWidths(i, upd);
  } else {
    G.SetRowHeights(i, w);
    if (G.OnEndRowSize) G.OnEndRowSize(&G, i);
  }
}

// A pushed button is drawn up and clicked when the release is still over it (fixed cells: anywhere).
// True when the release lies inside a button or expand rectangle (the base grid does not see it).
bool TGridMouse::ReleaseButton(int X, int Y, int ACol, int ARow) {
  const plat::TPoint pushed = FPress.PushedCellButton;
  if (pushed.X >= 0) {
    const bool pushedFixed = pushed.X < G.FixedCols() || pushed.Y < G.FixedRows() || G.IsFixed(pushed.X, pushed.Y);
    bool enabled = G.Options().Contains(plat::goEditing);
    const bool noDisabled = G.ControlLook()->NoDisabledButtonLook();
    if (ACol >= 0 && ARow >= 0 && !noDisabled) enabled = G.IsCellEditable(G.RealColIndex(ACol), ARow);
    if (enabled || noDisabled || pushedFixed) {
      if (!G.IsNodeRow(pushed.Y)) G.PushButton(pushed.X, pushed.Y, false);
      if (ACol >= 0 && ARow >= 0) {
        const plat::TPoint b = G.BaseCell(ACol, ARow);
        const bool fixedRule = pushed.Y < G.FixedRows() || (G.FixedAsButtons && pushed.X < G.FixedCols());
        const int prc = G.RealColIndex(pushed.X);
        const bool pushedHasButton = G.HasButton(prc, pushed.Y) || pushedFixed;
        if (pushedHasButton && !G.HasExpand(prc, pushed.Y) &&
            (RectHas(G.GetCellButtonRect(b.X, b.Y), X, Y) || fixedRule))
          G.DoButtonClick(pushed.X, pushed.Y);
        if (G.HasExpand(G.RealColIndex(b.X), b.Y) && (RectHas(G.GetCellButtonRect(b.X, b.Y), X, Y) || fixedRule)) {
          const bool expanded = G.ToggleExpand(pushed.X, pushed.Y);
          G.DoExpandClick(pushed.X, pushed.Y, expanded);
        }
      }
    }
    FPress.PushedCellButton = {-1, -1};
    G.SetMouseCapture(false);
  }
  if (ACol < 0 || ARow < 0) return false;
  const plat::TPoint b = G.BaseCell(ACol, ARow);
  const int rc = G.RealColIndex(b.X);
  return (G.HasButton(rc, b.Y) || G.HasExpand(rc, b.Y)) && RectHas(G.GetCellButtonRect(b.X, b.Y), X, Y);
}

// A press on a drag source that did not become a drag selects what was pressed. True ends the release.
bool TGridMouse::ReleaseDragSource(int X, int Y, int ACol, int ARow) {
  if (!FGesture.Is(TMouseGesture::DragSource)) return false;
  FGesture.End();
  if (ACol < G.FixedCols() || ARow < G.FixedRows()) return false;
  TMouseActions& ma = *G.MouseActions();
  const bool ole = G.DragDropSettings()->OleDropSource;
  if (ma.DisjunctRowSelect() && ole && !KeyDown(plat::VK_CONTROL) && !ma.DisjunctRowSelectNoCtrl) G.ClearRowSelect();
  if (ma.DisjunctRowSelect() && ole && (KeyDown(plat::VK_CONTROL) || ma.DisjunctRowSelectNoCtrl)) {
    G.SetRowSelect(ARow, !G.GetRowSelect(ARow));
    if (G.OnMouseUp) G.OnMouseUp(&G, plat::mbLeft, {plat::ssCtrl}, X, Y);
    return true;
  }
  if (G.Options().Contains(plat::goRowSelect))
    G.SetSelection({G.FixedCols(), ARow, G.ColCount() - 1, ARow});
  else
    G.SetSelection({ACol, ARow, ACol, ARow});
  return false;
}

void TGridMouse::ReleaseDisjunct(int ACol, int ARow, bool& DeselectDone) {
  TMouseActions& ma = *G.MouseActions();
  if (ma.DisjunctRowSelect() && ACol >= 0 && ARow >= 0 && !(ACol == 0 && G.IsNodeRow(ARow))) {
    if (!(ACol == 0 && ma.HotmailRowSelect())) G.SelectionToRowSelect(false);
    if (ARow >= G.FixedRows() && ARow < G.RowCount() - G.FixedFooters() && FPress.DeselectState) {
      G.SetRowSelect(ma.RowSelectPersistent ? G.RealRowIndex(ARow) : ARow, false);
      DeselectDone = true;
    }
    if (ma.HotmailRowSelect()) G.RepaintCell(0, 0);
    FPress.DeselectState = false;
  }
  if (ma.DisjunctColSelect()) {
    G.SelectionToColSelect(false);
    if (ACol >= G.FixedCols() && ACol < G.ColCount() - G.FixedRightCols() && FPress.DeselectState)
      G.SetColSelect(ACol, false);
    FPress.DeselectState = false;
  }
}

// Mouse-up events of check boxes and radio groups, then the header click.
void TGridMouse::ReleaseCellMouseUp(int X, int Y, int ACol, int ARow) {
  if (ACol < G.FixedCols() && !G.SortSettings()->FixedCols()) return;
  const int rc = G.RealColIndex(ACol);
  if (G.HasCheckBox(rc, ARow)) {
    bool state = false;
    G.GetCheckBoxState(rc, ARow, state);
    if (G.OnCheckBoxMouseUp) G.OnCheckBoxMouseUp(&G, rc, ARow, state);
  } else if (G.IsRadio(rc, ARow)) {
    int idx = -1;
    G.CellChecks().GetRadioIdx(rc, ARow, idx);
    if (G.OnRadioMouseUp) G.OnRadioMouseUp(&G, rc, ARow, idx);
  }
  if (FPress.DblClk) {
    FPress.DblClk = false;
    return;
  }
  G.HeaderClicks().HeaderClick(X, Y, ACol, ARow, false);
}

// The notification inside the base grid's release: filter lists, disjunct cells. False stops the
// framework's release handling.
bool TGridMouse::MouseUpNote(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) {
  int ACol = -1, ARow = -1;
  G.MouseToCell(X, Y, ACol, ARow);
  if (Button == plat::mbLeft) G.HeaderClicks().FilterListOnRelease(X, Y, ACol, ARow);
  if (G.HeaderClicks().DropDownDown()) {
    G.HeaderClicks().DropDownReleased();
    G.Invalidate();
  }

  if (G.MouseActions()->DisjunctCellSelect() && Button == plat::mbLeft && ACol >= 0 && ARow >= 0) {
    bool stop = false;
    DisjunctCellRelease(Shift, ACol, ARow, stop);
    if (stop) return false;
  }
  return true;
}

void TGridMouse::DisjunctCellRelease(plat::TShiftState Shift, int ACol, int ARow, bool& Stop) {
  const plat::TPoint b = G.BaseCell(ACol, ARow);
  if (!G.IsFixed(b.X, b.Y)) {
    bool can = true;
    if (G.OnSelectCell) G.OnSelectCell(&G, b.X, b.Y, can);
    if (!can) {
      Stop = true;
      return;
    }
    if (Shift.Contains(plat::ssShift)) {
      G.SetSelectedCells(ACol, ARow, true);
    } else if (Shift.Contains(plat::ssCtrl)) {
      G.SetSelectedCells(b.X, b.Y, !G.SelectedCells(b.X, b.Y));
    } else {
      G.ClearSelectedCells();
      G.SetSelectedCells(b.X, b.Y, true);
    }
  } else if (!Shift.Contains(plat::ssCtrl) && !G.IsFixed(ACol, ARow)) {
    G.ClearSelectedCells();
  }
  G.Invalidate();
}

// ---- double-click --------------------------------------------------------------------------------------------

void TGridMouse::LeftButtonDblClk(TMessage& M) {
  plat::TWMMouse mm(M);
  const int X = mm.XPos(), Y = mm.YPos();
  int ACol = -1, ARow = -1;
  G.MouseToCell(X, Y, ACol, ARow);
  TMouseActions& ma = *G.MouseActions();
  if (ACol == -1) {
    if (G.FixedRowAlways()) {
      BaseDispatch(M);
      return;
    }
    ACol = G.ColCount() - 1;
    ARow = 0;
  }
  if (ARow < 0) ARow = 0;
  if (DblClickAutoSize(X, ACol, ARow)) {
    BaseDispatch(M);
    return;
  }
  const int rc = G.RealColIndex(ACol);
  if ((G.HasButton(rc, ARow) || G.HasExpand(rc, ARow)) && RectHas(G.GetCellButtonRect(ACol, ARow), X, Y)) return;
  if (G.IsControlCell(rc, ARow)) {
    BaseDispatch(M);
    return;
  }
  BaseDispatch(M);
  int c = -1, r = -1;
  G.MouseToCell(X, Y, c, r);
  if (G.OnDblClickCell) G.OnDblClickCell(&G, r, c);
  if (ma.EditOnDblClickOnly()) {
    if (G.IsCellEditable(rc, ARow) && c >= G.FixedCols() && r >= G.FixedRows()) {
      G.SetOptions(G.Options().Include(plat::goEditing));
      G.RememberCellValue(G.Col(), G.Row());
      H.ShowEditor();
    }
  } else if (ma.RangeSelectAndEdit && c >= 0 && r >= 0 && G.IsCellEditable(rc, ARow)) {
    G.SetOptions(G.Options().Include(plat::goEditing));
    if (G.Col() == c && G.Row() == r) H.ShowEditor();
  }
  G.HeaderClicks().FixedEditOnDblClick(ACol, ARow);
}

// A double-click on a header border auto-sizes the column left of it. True when it did (or was refused).
bool TGridMouse::DblClickAutoSize(int X, int ACol, int ARow) {
  if (ARow >= G.FixedRows() || !G.Options().Contains(plat::goColSizing) ||
      !G.MouseActions()->AutoSizeColOnDblClick)
    return false;
  const TRect R = G.CellRect(ACol, ARow);
  auto sizeCol = [&](int c) {
    FPress.DblClk = true;
    bool allow = true;
    if (G.OnColumnSize) G.OnColumnSize(&G, c, allow);
    if (allow) {
      G.AutoSizeCol(c, 0);
      if (G.OnEndColumnSize) G.OnEndColumnSize(&G, c);
    }
  };
  // Beyond the last column the double-click counts as one on the last header: near its right border only.
  const int right = R.Right > R.Left ? R.Right : G.CellRect(ACol, 0).Right;
  if (X - R.Left < 4 && X >= R.Left && ACol - 1 >= G.FixedCols()) {
    sizeCol(ACol - 1);
    return true;
  }
  if (std::abs(right - X) < 4 && ACol >= G.FixedCols()) {
    sizeCol(ACol);
    return true;
  }
  return false;
}

// ---- right button ---------------------------------------------------------------------------------------------

void TGridMouse::RightButtonDown(TMessage& M) {
  plat::TWMMouse mm(M);
  const int X = mm.XPos(), Y = mm.YPos();
  BaseDispatch(M);
  int ACol = -1, ARow = -1;
  G.MouseToCell(X, Y, ACol, ARow);
  TMouseActions& ma = *G.MouseActions();
  const bool valid = ACol >= 0 && ARow >= 0;
  if (ma.SelectOnRightClick && valid && !G.IsFixed(ACol, ARow) &&
      !(ma.DisjunctCellSelect() && G.SelectedCells(ACol, ARow))) {
    if (!G.IsControlCell(G.RealColIndex(ACol), ARow)) {
      if (G.OnRightClickCell) {
        G.FocusCell(ACol, ARow);
      } else {
        TMessage down{plat::WM_LBUTTONDOWN, 0, plat::MakeLParam(X, Y), 0};
        TMessage up{plat::WM_LBUTTONUP, 0, plat::MakeLParam(X, Y), 0};
        LeftButtonDown(down);
        LeftButtonUp(up);
      }
    }
    if (G.IsSelectedCell(ACol, ARow)) {
      bool can = true;
      if (G.OnSelectCell) G.OnSelectCell(&G, ACol, ARow, can);
    } else {
      const plat::TPoint b = G.BaseCell(ACol, ARow);
      G.MoveColRow(b.X, b.Y, true, true);
    }
    if (ma.DisjunctRowSelect()) {
      if (KeyDown(plat::VK_CONTROL) || ma.DisjunctRowSelectNoCtrl) {
        G.SetRowSelect(ARow, !G.GetRowSelect(ARow));
      } else if (!(G.RowSelectCount() > 1 && G.PopupMenu() && G.GetRowSelect(ARow))) {
        G.ClearRowSelect();
        G.SetRowSelect(ARow, true);
      }
    }
  }
  if (G.OnRightClickCell) G.OnRightClickCell(&G, ARow, ACol);
  if (valid && G.RenderSettings().URLShow && G.URLEdit) {
    const QString t = G.Cells(G.RealColIndex(ACol), ARow);
    if (t.contains(QLatin1String("://")) || t.contains(QLatin1String("mailto:"))) {
      G.SetCol(ACol);
      G.SetRow(ARow);
      H.ShowEditor();
    }
  }
}

// A right release while a column or row is moved with the grid's feedback is swallowed.
void TGridMouse::RightButtonUp(TMessage& M) {
  const plat::TGridState st = G.GridState();
  if (FFeedback.Showing() && G.EnhRowColMove && (st == plat::gsColMoving || st == plat::gsRowMoving)) {
    M.Result = 0;
    return;
  }
  BaseDispatch(M);
}

}  // namespace grid
