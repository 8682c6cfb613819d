// The moves: hover feedback, whole-row and whole-column drag selection, the grid's own sizing of fixed
// columns and rows, the drag start, the sizing events and hint, the cursor's selection offer and the anchors.
#include <algorithm>

#include "grid/extgrid.h"
#include "grid/input/input_host.h"
#include "grid/input/html_forms.h"
#include "grid/input/input_mouse.h"
#include "grid/view/hint_window.h"
#include "platform/forms/forms.h"
#include "platform/forms/keys.h"

namespace grid {

using plat::TGridRect;
using plat::TRect;

namespace {
bool RectHas(const TRect& r, int X, int Y) { return X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom; }
}  // namespace

TGridMouse::TGridMouse(TExtStringGrid& Grid, TInputHost& Host, TMoveHost& Moves)
    : G(Grid), H(Host), FFeedback(Moves) {}
TGridMouse::~TGridMouse() { FollowOwnerForm(false); }

void TGridMouse::FollowOwnerForm(bool Follow) {
  if (!Follow) {
    // A form that is destroying its owned components has no handler left to give back.
    if (FFollow.Form && !FFollow.Owner->ComponentState().Contains(plat::csDestroying))
      FFollow.Form->OnResize = FFollow.Previous;
    FFollow = TFormFollow();
    return;
  }
  auto* form = dynamic_cast<plat::TCustomForm*>(G.Owner());
  if (!form || FFollow.Form || H.IsDesigning()) return;
  FFollow.Form = form;
  FFollow.Owner = G.Owner();
  FFollow.Previous = form->OnResize;
  FFollow.Width = form->Width();
  FFollow.Height = form->Height();
  form->OnResize = [this](plat::TObject* Sender) { FormResized(Sender); };
}

// The grid takes the form's change of size; the form's own handler follows, and what it throws stays here.
void TGridMouse::FormResized(plat::TObject* Sender) {
  auto* form = dynamic_cast<plat::TCustomForm*>(Sender);
  if (form && G.SizeWithForm()) {
    const int dw = form->Width() - FFollow.Width, dh = form->Height() - FFollow.Height;
    if (G.Width() + dw > 0 && G.Height() + dh > 0) {
      G.SetBounds(G.Left(), G.Top(), G.Width() + dw, G.Height() + dh);
      FFollow.Width = form->Width();
      FFollow.Height = form->Height();
    }
  }
  if (FFollow.Previous) {
    try {
      FFollow.Previous(Sender);
    } catch (...) {
    }
  }
}

void TGridMouse::ShowSizingHint(const QString& Text, TRect Cell) {
  if (!FSizingHint) FSizingHint = std::make_unique<THTMLHintWindow>(nullptr);
  FHover.SizingHint = Text;
  FHover.ScrollHintShow = true;
  FSizingHint->ShowAt(G.ClientToScreen(plat::TPoint(Cell.Left, Cell.Top)), 200, Text, G.HintColor);
}

void TGridMouse::HideSizingHint() {
  if (FSizingHint) FSizingHint->ReleaseHint();
  FHover.ScrollHintShow = false;
  FHover.SizingHint.clear();
}

void TGridMouse::MouseMoveNote(plat::TShiftState Shift, int X, int Y) {
  (void)Shift;
  if (FPress.MouseDownMove && G.MouseActions()->RangeSelectAndEdit && G.Options().Contains(plat::goEditing) &&
      !G.EditorMode())
    G.SetOptions(G.Options().Exclude(plat::goEditing));
  int ACol = -1, ARow = -1;
  G.MouseToCell(X, Y, ACol, ARow);
  const bool designing = H.IsDesigning();
  if (!designing && ACol >= 0 && ARow >= 0) MoveHover(ACol, ARow, X, Y);
  MoveDragSelect(ACol, ARow, Y);
  MoveFixedSizingZones(X, Y, ACol, ARow);
  const bool onHandle = OnSelectionHandle(X, Y);
  MoveDragStart(ACol, ARow, X, Y, onHandle);
  if (!designing) MoveBaseSizing(X, Y);
  if (!designing) MoveSelectMode(ACol, ARow, X, Y, onHandle);
  MoveAnchors(X, Y);
  MoveCancelHints(ACol, ARow);
}

// Hover row, hover fixed cells, the list-view hot header and hovered cell buttons: old and new are repainted.
void TGridMouse::MoveHover(int ACol, int ARow, int X, int Y) {
  if (G.HoverRow() && ARow != FHover.HoverRowIdx) {
    const int old = FHover.HoverRowIdx;
    FHover.HoverRowIdx = ARow;
    G.SetHoverRowIdx(ARow);
    G.InvalidateRow(ARow);
    if (old >= 0 && old < G.RowCount()) G.InvalidateRow(old);
  }
  MoveCellScrollBar(ACol, ARow);
  if (G.HoverFixedCells != hfNone && !FHover.NoMouseLeave) {
    auto inBand = [&](int c, int r) { return c >= 0 && r >= 0 && (c <= G.FixedCols() || r <= G.FixedRows()); };
    const int oc = FHover.HoverFixedX, orow = FHover.HoverFixedY;
    if ((oc != ACol || orow != ARow) && inBand(oc, orow)) G.InvalidateCell(oc, orow);
    FHover.HoverFixedX = ACol;
    FHover.HoverFixedY = ARow;
    if ((oc != ACol || orow != ARow) && inBand(ACol, ARow)) G.InvalidateCell(ACol, ARow);
  }
  if (G.Look() == glListView && !(FHover.HotFixedCell == plat::TPoint(ACol, ARow))) {
    const plat::TPoint old = FHover.HotFixedCell;
    if (old.X >= 0 && old.Y >= 0 && (old.X < G.FixedCols() || old.Y < G.FixedRows())) G.InvalidateCell(old.X, old.Y);
    FHover.HotFixedCell = {ACol, ARow};
    if (ACol < G.FixedCols() || ARow < G.FixedRows()) G.InvalidateCell(ACol, ARow);
  }
  const int rc = G.RealColIndex(ACol);
  const bool overButton = (G.HasButton(rc, ARow) || G.HasExpand(rc, ARow)) &&
                          RectHas(G.GetCellButtonRect(ACol, ARow), X, Y);
  const plat::TPoint old = FHover.HoverButton;
  if (overButton && !(old == plat::TPoint(ACol, ARow))) {
    if (old.X >= 0) G.RepaintCell(old.X, old.Y);
    FHover.HoverButton = {ACol, ARow};
    G.RepaintCell(ACol, ARow);
  } else if (!overButton && old.X >= 0) {
    G.RepaintCell(old.X, old.Y);
    FHover.HoverButton = {-1, -1};
  }
}

// Dragging along the fixed column selects whole rows (with auto-scroll), along the fixed row whole columns.
void TGridMouse::MoveDragSelect(int ACol, int ARow, int Y) {
  if (FPress.MouseSelectStart < 0) return;
  const int fc = G.FixedCols(), fr = G.FixedRows();
  FHover.MoveRowScrollAllowed = false;
  if (FGesture.Is(TMouseGesture::RowDragSelect)) {
    if (ARow >= fr && ARow <= G.RowCount() - G.FixedFooters()) {
      const int m = std::max(fr, ARow), s = FPress.MouseSelectStart;
      G.SetSelection({fc, std::min(s, m), G.ColCount() - 1, std::max(s, m)});
    }
    if (Y > G.Height() - 4 && G.TopRow() + G.VisibleRowCount() < G.RowCount()) {
      G.SetTopRow(G.TopRow() + 1);
    } else if (fr > 0 && Y < G.RowHeights(0) && G.TopRow() > fr) {
      G.SetTopRow(G.TopRow() - 1);
      FHover.MoveRowScrollAllowed = true;
    }
  } else if (FGesture.Is(TMouseGesture::ColDragSelect) && ACol >= 0) {
    const int m = std::max(fc, ACol), s = FPress.MouseSelectStart;
    G.SetSelection({std::min(s, m), fr, std::max(s, m), G.RowCount() - 1});
  }
}

// The zones where the grid sizes fixed columns and rows itself, and the line while it does.
void TGridMouse::MoveFixedSizingZones(int X, int Y, int ACol, int ARow) {
  const bool valid = ACol >= 0 && ARow >= 0 && !H.IsDesigning();
  FHover.SizeFixed = valid && G.MouseActions()->SizeFixedCol && FixedBorderIndex(true, X) >= 0;
  FHover.SizeFixedR = valid && G.MouseActions()->SizeFixedRow && FixedBorderIndex(false, Y) >= 0;
  const bool cols = FGesture.Is(TMouseGesture::FixedColSizing);
  if (!cols && !FGesture.Is(TMouseGesture::FixedRowSizing)) return;
  // The line at the old position is drawn again (which removes it), then at the new one.
  if (cols) {
    G.DrawColumnSizingLine(FPress.SizeFixedPos);
    FPress.SizeFixedPos = X;
    G.DrawColumnSizingLine(X);
    if (G.OnColumnSizing) G.OnColumnSizing(&G, 0, X);
  } else {
    G.DrawRowSizingLine(FPress.SizeFixedPos);
    FPress.SizeFixedPos = Y;
    G.DrawRowSizingLine(Y);
    if (G.OnRowSizing) G.OnRowSizing(&G, 0, Y);
  }
  if (G.HintShowSizing)
    ShowSizingHint(QStringLiteral("%1=<b>%2</b>").arg(cols ? "cw" : "rh").arg(FPress.SizeFixedPos), G.CellRect(0, 0));
}

// More than 3 pixels from a drag-source press, with the button held, a drag starts (or, refused, a range
// selection).
void TGridMouse::MoveDragStart(int ACol, int ARow, int X, int Y, bool OnHandle) {
  if (!FGesture.Is(TMouseGesture::DragSource) || ACol < 0 || ARow < 0) return;
  if (plat::GetAsyncKeyState(plat::VK_LBUTTON) >= 0) return;
  if (std::abs(X - FPress.Clickposx) <= 3 && std::abs(Y - FPress.Clickposy) <= 3) return;
  if (!G.DragDropSettings()->OleDropSource || G.GridState() == plat::gsColSizing || OnHandle) return;
  FGesture.End();
  const int rc = G.RealColIndex(ACol);
  bool allow = true;
  if (G.DragDropSettings()->OleColumnsOnly && ARow >= G.FixedRows())
    allow = false;
  else if (G.OnOleDrag)
    G.OnOleDrag(&G, ARow, rc, G.Cells(rc, ARow), allow);
  if (!allow) {
    if (G.GridState() == plat::gsNormal) H.SetGridState(plat::gsSelecting);
    FGesture.Begin(TMouseGesture::BasePress);
    return;
  }
  if (G.OnStartBlockFocus) G.OnStartBlockFocus(&G);
  FPress.DropSelection = G.Selection();
  const bool columnDrag = ARow < G.FixedRows() && G.DragDropSettings()->OleColumnDragDrop;
  G.StartMouseDrag(ACol, ARow, columnDrag);
}

// The base grid's sizing and moving: sizing flags, the move veto, the sizing events and hint.
void TGridMouse::MoveBaseSizing(int X, int Y) {
  const plat::TGridState st = G.GridState();
  if (st == plat::gsColSizing) FHover.ColSized = true;
  if (st == plat::gsRowSizing) FHover.RowSized = true;
  if (st == plat::gsColMoving || st == plat::gsRowMoving) {
    bool allow = true;
    if (st == plat::gsColMoving && G.OnColumnMove) G.OnColumnMove(&G, FPress.Movecell, allow);
    if (st == plat::gsRowMoving && G.OnRowMove) G.OnRowMove(&G, FPress.Movecell, allow);
    if (!allow) {
      G.CancelTracking();
    } else if (G.RowCount() > 1 && G.EnhRowColMove && (X != FPress.Clickposx || Y != FPress.Clickposy) &&
               !FGesture.Is(TMouseGesture::FixedColSizing) && !FGesture.Is(TMouseGesture::FixedRowSizing)) {
      // The grid's own feedback: the floating header, the drop arrows and the drop cursor.
      int c = -1, r = -1;
      G.MouseToCell(X, Y, c, r);
      FFeedback.Move(X, Y, c, r, FPress.Movecell, FPress.MoveOfsX, FPress.MoveOfsY);
    }
  }
  if (st != plat::gsColSizing && st != plat::gsRowSizing) return;
  const bool cols = st == plat::gsColSizing;
  const int cc = FPress.Colclicked < 0 ? G.ColCount() - 1 : FPress.Colclicked;
  const int cr = FPress.Rowclicked < 0 ? (cols ? 0 : G.RowCount() - 1) : FPress.Rowclicked;
  const TRect c = G.CellRect(FPress.Colclicked < 0 ? cc : FPress.Colclicked, FPress.Colclicked < 0 ? 0 : cr);
  const int size = cols ? X - c.Left - FPress.Clickposdx : Y - c.Top - FPress.Clickposdy;
  if (cols && G.OnColumnSizing) G.OnColumnSizing(&G, FPress.Colclicked, size);
  if (!cols && G.OnRowSizing) G.OnRowSizing(&G, FPress.Rowclicked, size);
  if (G.HintShowSizing || H.IsDesigning())
    ShowSizingHint(QStringLiteral("%1=<b>%2</b>").arg(cols ? "cw" : "rh").arg(size), c);
}

// What the cursor offers: select all, whole columns, whole rows, or the selection handle.
void TGridMouse::MoveSelectMode(int ACol, int ARow, int X, int Y, bool OnHandle) {
  const TMouseActions& ma = *G.MouseActions();
  FSelectMode = OnHandle ? msResize : msNormal;
  const int fc = G.FixedCols(), fr = G.FixedRows();
  const bool border = G.IsOnSizingBorder(X, Y);
  if (ACol >= 0 && ARow >= 0 && ARow < fr && ACol < fc && ma.AllSelect) FSelectMode = msAll;
  if (ACol >= fc && ARow >= 0 && ARow < fr && ma.ColSelect && !border) FSelectMode = msColumn;
  const int f = G.FloatingFooterFixedLastRow() ? 2 : 1;
  const bool rowOk = ARow >= fr || FHover.MoveRowScrollAllowed;
  if (ACol >= 0 && ACol < fc && ARow >= 0 && ARow <= G.RowCount() - f && rowOk && ma.RowSelect && !border &&
      !(G.IsNodeRow(ARow) && G.IsInNodeGlyph(ARow, X)))
    FSelectMode = msRow;
  plat::TCursor want = G.DefaultCursor();
  if (FSelectMode == msResize) want = plat::crCross;
  if (FSelectMode == msAll || FSelectMode == msColumn || FSelectMode == msRow) want = plat::crHandPoint;
  if (G.GridState() == plat::gsNormal && !border && G.Cursor() != want && G.Cursor() != plat::crHSplit &&
      G.Cursor() != plat::crVSplit)
    G.SetCursor(want);
}

// Anchors under the mouse: enter and exit events, the link cursor, underline on hover.
void TGridMouse::MoveAnchors(int X, int Y) {
  int ACol = -1, ARow = -1;
  G.MouseToCell(X, Y, ACol, ARow);
  if (ACol < 0 || ARow < 0) return;
  const plat::TPoint b = G.BaseCell(ACol, ARow);
  const QString text = G.Cells(G.RealColIndex(b.X), b.Y);
  const bool html = G.EnableHTML && text.contains(QLatin1Char('<')) && text.contains(QLatin1Char('>'));
  QString anchor;
  if (html) {
    const THTMLHit hit = G.HTMLForms().HitTest(b.X, b.Y, X, Y);
    anchor = hit.ControlID.isEmpty() ? hit.Anchor : QString();
    if (!anchor.isEmpty()) {
      QString hint = hit.AnchorTitle;
      if (hint.isEmpty() && G.OnAnchorHint) G.OnAnchorHint(&G, b.Y, b.X, hint);
      if (!FHover.LastAnchorHint.isEmpty() && hint != FHover.LastAnchorHint && anchor != FHover.Anchor)
        G.CancelCellHint();
      FHover.LastAnchorHint = hint;
    }
    if (G.URLUnderlineOnHover && hit.Link != FHover.HoverLink) {
      if (FHover.HoverCell.X >= 0) G.RepaintCell(FHover.HoverCell.X, FHover.HoverCell.Y);
      FHover.HoverCell = b;
      FHover.HoverLink = hit.Link;
      G.RepaintCell(b.X, b.Y);
    }
  } else if (G.RenderSettings().URLShow && (text.contains(QLatin1String("://")) ||
                                             text.contains(QLatin1String("mailto:")))) {
    if (G.Cursor() != plat::crHandPoint) G.SetCursor(plat::crHandPoint);
  }
  if (!anchor.isEmpty()) {
    if (G.Cursor() != plat::crHandPoint) G.SetCursor(plat::crHandPoint);
    if (anchor != FHover.Anchor) {
      if (G.OnAnchorEnter) G.OnAnchorEnter(&G, b.Y, b.X, anchor);
      FHover.Anchor = anchor;
    }
  } else if (!FHover.Anchor.isEmpty()) {
    if (G.OnAnchorExit) G.OnAnchorExit(&G, b.Y, b.X, FHover.Anchor);
    FHover.Anchor.clear();
  }
}

void TGridMouse::MouseLeave() {
  FSelectMode = msNormal;
  FHover.SizeFixed = FHover.SizeFixedR = false;
  if (G.HoverFixedCells != hfNone && !FHover.NoMouseLeave && FHover.HoverFixedX >= 0) {
    const int c = FHover.HoverFixedX, r = FHover.HoverFixedY;
    FHover.HoverFixedX = FHover.HoverFixedY = -1;
    G.InvalidateCell(c, r);
  }
  if (G.Look() == glListView && FHover.HotFixedCell.X >= 0) G.InvalidateCell(FHover.HotFixedCell.X, FHover.HotFixedCell.Y);
  if (G.HoverRow() && FHover.HoverRowIdx >= 0) {
    const int r = FHover.HoverRowIdx;
    FHover.HoverRowIdx = -1;
    G.SetHoverRowIdx(-1);
    G.InvalidateRow(r);
  }
}

}  // namespace grid
