// TCustomGrid's input: the press/move/release state machine (selecting, sizing, moving, with the 60 ms
// auto-scroll timer), keyboard moves, typing into the editor, and the wheel.
#include <algorithm>

#include "platform/grids/grids.h"

namespace plat {

// ---- sizing zones ---------------------------------------------------------------------------------------------

namespace {
// The border zone around an edge: `before` pixels before it and `after` pixels from it on.
void SizingZone(int lineWidth, int& before, int& after) {
  if (lineWidth > 6) {
    before = 0;
    after = lineWidth;
    return;
  }
  before = (7 - lineWidth) / 2;
  after = 7 - before;
}
}  // namespace

void TCustomGrid::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs) {
  State = gsNormal;
  Index = -1;
  int before = 0, after = 0;
  SizingZone(FGridLineWidth, before, after);
  // The candidates: the index under the point and the one shown before it; past the last one, the last.
  auto find = [&](const TAxisView& v, int p, int& edge) {
    int best = -1, bestDist = 0;
    int at = CellAt(v, p);
    if (at < 0 && p >= 0) {
      const int last = v.Axis->IndexAt(v.Axis->Pos(v.First) + std::max<std::int64_t>(v.Avail(), 1) - 1);
      at = std::min(last, v.Axis->Count() - 1);
    }
    if (at < 0) return -1;
    const int prev = at == v.First && at >= v.Fixed ? v.Fixed - 1 : at - 1;
    for (int k : {at, prev}) {
      if (k < 0) continue;
      const int e = PixelOf(v, k) + v.Axis->Size(k);
      if (p >= e - before && p < e + after && (best < 0 || std::abs(p - e) < bestDist)) {
        best = k;
        bestDist = std::abs(p - e);
        edge = e;
      }
    }
    return best;
  };
  const TAxisView h = HorzView(), v = VertView();
  int edge = 0;
  if (FOptions.Contains(goColSizing) && Y >= 0 && Y < v.FixedExtent()) {
    Index = find(h, X, edge);
    if (Index >= 0) {
      State = gsColSizing;
      SizingPos = edge;
      SizingOfs = edge - X;
      return;
    }
  }
  if (FOptions.Contains(goRowSizing) && X >= 0 && X < h.FixedExtent()) {
    Index = find(v, Y, edge);
    if (Index >= 0) {
      State = gsRowSizing;
      SizingPos = edge;
      SizingOfs = edge - Y;
    }
  }
}

// ---- press, move, release --------------------------------------------------------------------------------

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (CanFocus() && !Focused()) SetFocus();
  FLastMouse = TPoint(X, Y);
  if (Button == mbLeft && Shift.Contains(ssDouble)) {
    DblClick();
  } else if (Button == mbLeft) {
    if (!FOptions.Contains(goAlwaysShowEditor)) HideEditor();
    CalcSizingState(X, Y, FGridState, FSizingIndex, FSizingPos, FSizingOfs);
    if (FGridState != gsNormal) {
      Invalidate();  // the sizing line
    } else {
      const TGridCoord cell = MouseCoord(X, Y);
      if (cell.X < 0) {
        // outside every cell: nothing to select
      } else if (FOptions.Contains(goColMoving) && cell.Y < FFixedRows && cell.X >= FFixedCols) {
        FGridState = gsColMoving;
        FMoveIndex = FMovePos = cell.X;
        SetTimer(GridScrollTimerId, GridScrollTimerMs);
        Invalidate();
      } else if (FOptions.Contains(goRowMoving) && cell.X < FFixedCols && cell.Y >= FFixedRows) {
        FGridState = gsRowMoving;
        FMoveIndex = FMovePos = cell.Y;
        SetTimer(GridScrollTimerId, GridScrollTimerMs);
        Invalidate();
      } else if (cell.X >= FFixedCols && cell.Y >= FFixedRows) {
        if (FOptions.Contains(goEditing)) {
          if (cell == FCurrent) {
            ShowEditor();
          } else {
            MoveColRow(cell.X, cell.Y, true, true);
            UpdateEdit();
          }
          Click();
        } else {
          if (Shift.Contains(ssShift) && FOptions.Contains(goRangeSelect))
            MoveAnchor(cell);
          else
            MoveColRow(cell.X, cell.Y, true, true);
          // A press the select-cell check refused starts no range selection either.
          if (FCurrent == cell || FAnchor == cell) {
            FGridState = gsSelecting;
            SetTimer(GridScrollTimerId, GridScrollTimerMs);
          }
        }
      }
    }
  }
  HandleMouseDown(Button, Shift, X, Y);
}

// The column (row) a moved column (row) would go to with the mouse at (X, Y); -1 when none.
int TCustomGrid::MovingTarget(int X, int Y) const {
  const bool cols = FGridState == gsColMoving;
  const TAxisView a = cols ? HorzView() : VertView();
  const int p = cols ? X : Y;
  int i = CellAt(a, p);
  if (i < 0 && p >= a.Client) i = std::min(a.First + std::max(0, (cols ? VisibleColCount() : VisibleRowCount()) - 1),
                                           a.Axis->Count() - 1);
  if (i < 0 && p >= 0) i = a.Axis->Count() - 1;  // past the last index
  if (i >= 0 && i < a.Fixed) i = a.First;
  return i;
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y) {
  FLastMouse = TPoint(X, Y);
  switch (FGridState) {
    case gsSelecting: {
      const TGridCoord cell = MouseCoord(X, Y);
      if (cell.X >= FFixedCols && cell.Y >= FFixedRows) {
        if (FOptions.Contains(goRangeSelect)) {
          if (!(cell == FAnchor)) MoveAnchor(cell);
        } else if (!(cell == FCurrent)) {
          MoveColRow(cell.X, cell.Y, true, true);
        }
      }
      break;
    }
    case gsColSizing:
    case gsRowSizing:
      FSizingPos = (FGridState == gsColSizing ? X : Y) + FSizingOfs;
      Invalidate();
      break;
    case gsColMoving:
    case gsRowMoving: {
      const int t = MovingTarget(X, Y);
      if (t >= 0 && t != FMovePos) {
        FMovePos = t;
        Invalidate();
      }
      break;
    }
    default: {
      TGridState state = gsNormal;
      int index = 0, pos = 0, ofs = 0;
      CalcSizingState(X, Y, state, index, pos, ofs);
      const TCursor want = state == gsColSizing ? crHSplit : state == gsRowSizing ? crVSplit : crDefault;
      if (want != crDefault && Cursor() != want) SetCursor(want);
      if (want == crDefault && (Cursor() == crHSplit || Cursor() == crVSplit)) SetCursor(crDefault);
      break;
    }
  }
  HandleMouseMove(Shift, X, Y);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FLastMouse = TPoint(X, Y);
  // Any button's release ends the gesture; the mouse-up notification then sees the normal state.
  EndMouseGesture(Shift, X, Y);
  FGridState = gsNormal;
  HandleMouseUp(Button, Shift, X, Y);
}

void TCustomGrid::EndMouseGesture(TShiftState Shift, int X, int Y) {
  (void)Shift;
  switch (FGridState) {
    case gsSelecting: {
      const TGridCoord cell = MouseCoord(X, Y);
      if (cell.X >= FFixedCols && cell.Y >= FFixedRows && FOptions.Contains(goRangeSelect) && !(cell == FAnchor))
        MoveAnchor(cell);
      KillTimer(GridScrollTimerId);
      UpdateEdit();
      Click();
      break;
    }
    case gsColSizing:
    case gsRowSizing: {
      const bool cols = FGridState == gsColSizing;
      FSizingPos = (cols ? X : Y) + FSizingOfs;
      const int start = PixelOf(cols ? HorzView() : VertView(), FSizingIndex);
      const int size = FSizingPos - start;
      FGridState = gsNormal;
      Invalidate();
      if (size > 1) {
        if (cols)
          SetColWidths(FSizingIndex, size);
        else
          SetRowHeights(FSizingIndex, size);
      }
      break;
    }
    case gsColMoving:
    case gsRowMoving: {
      const bool cols = FGridState == gsColMoving;
      KillTimer(GridScrollTimerId);
      FGridState = gsNormal;
      Invalidate();
      if (FMovePos >= 0 && FMovePos != FMoveIndex) {
        if (cols)
          MoveColumn(FMoveIndex, FMovePos);
        else
          MoveRow(FMoveIndex, FMovePos);
      }
      break;
    }
    default: break;
  }
}

void TCustomGrid::HandleMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
}
void TCustomGrid::HandleMouseMove(TShiftState Shift, int X, int Y) { TCustomControl::MouseMove(Shift, X, Y); }
void TCustomGrid::HandleMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

// ---- the 60 ms timer: scrolling while the mouse is outside the cells -------------------------------------------

void TCustomGrid::TimerTick() {
  if (FGridState == gsSelecting) {
    const TAxisView h = HorzView(), v = VertView();
    const int dx = FLastMouse.X < h.FixedExtent() ? -1 : FLastMouse.X >= h.Client ? 1 : 0;
    const int dy = FLastMouse.Y < v.FixedExtent() ? -1 : FLastMouse.Y >= v.Client ? 1 : 0;
    if (dx == 0 && dy == 0) return;
    SetTopLeft(FTopLeft.X + dx, FTopLeft.Y + dy);
    TGridCoord target = FOptions.Contains(goRangeSelect) ? FAnchor : FCurrent;
    if (dx < 0) target.X = LeftCol();
    if (dx > 0) target.X = std::min(ColCount() - 1, LeftCol() + VisibleColCount() - 1);
    if (dy < 0) target.Y = TopRow();
    if (dy > 0) target.Y = std::min(RowCount() - 1, TopRow() + VisibleRowCount() - 1);
    if (FOptions.Contains(goRangeSelect))
      MoveAnchor(target);
    else if (!(target == FCurrent))
      MoveColRow(target.X, target.Y, true, true);
  } else if (FGridState == gsColMoving || FGridState == gsRowMoving) {
    MoveTimerScroll();
  }
}

void TCustomGrid::MoveTimerScroll() {
  const bool cols = FGridState == gsColMoving;
  const TAxisView a = cols ? HorzView() : VertView();
  const int p = cols ? FLastMouse.X : FLastMouse.Y;
  const int d = p < a.FixedExtent() ? -1 : p >= a.Client ? 1 : 0;
  if (d == 0) return;
  if (cols)
    SetTopLeft(FTopLeft.X + d, FTopLeft.Y);
  else
    SetTopLeft(FTopLeft.X, FTopLeft.Y + d);
  const int first = cols ? LeftCol() : TopRow();
  const int last = std::min(first + (cols ? VisibleColCount() : VisibleRowCount()) - 1,
                            (cols ? ColCount() : RowCount()) - 1);
  FMovePos = d < 0 ? first : last;
  Invalidate();
}

// ---- keyboard ---------------------------------------------------------------------------------------------

void TCustomGrid::KeyDown(std::uint16_t& Key, TShiftState Shift) { HandleKeyDown(Key, Shift); }

// With Ctrl the arrows move the view rather than the cell: Up and Down scroll one row and leave the current cell
// where it is, Left and Right jump a page of columns (cell and view together; nothing in row select, where the
// plain keys already scroll), PgUp and PgDn go to the first and last fully visible row, Home and End to the
// first and last cell. Returns false for keys that move the same with and without Ctrl.
bool TCustomGrid::CtrlKeyTarget(std::uint16_t Key, TGridCoord& cell, TGridCoord& topLeft) const {
  const bool rowSelect = FOptions.Contains(goRowSelect);
  const int pageCols = std::max(1, VisibleColCount());
  switch (Key) {
    case VK_UP: --topLeft.Y; return true;
    case VK_DOWN: ++topLeft.Y; return true;
    case VK_LEFT:
      if (!rowSelect) {
        cell.X -= pageCols;
        topLeft.X -= pageCols;
      }
      return true;
    case VK_RIGHT:
      if (!rowSelect) {
        cell.X += pageCols;
        topLeft.X += pageCols;
      }
      return true;
    case VK_PRIOR: cell.Y = TopRow(); return true;
    case VK_NEXT: cell.Y = TopRow() + std::max(1, VisibleRowCount()) - 1; return true;
    default: return false;
  }
}

void TCustomGrid::KeyTarget(std::uint16_t Key, TShiftState Shift, TGridCoord& cell, TGridCoord& topLeft) const {
  const bool rowSelect = FOptions.Contains(goRowSelect);
  const bool ctrl = Shift.Contains(ssCtrl);
  const int page = std::max(1, VisibleRowCount());
  if (ctrl && CtrlKeyTarget(Key, cell, topLeft)) return;
  switch (Key) {
    case VK_UP: --cell.Y; break;
    case VK_DOWN: ++cell.Y; break;
    case VK_LEFT:
      if (rowSelect) --topLeft.X; else --cell.X;
      break;
    case VK_RIGHT:
      if (rowSelect) ++topLeft.X; else ++cell.X;
      break;
    case VK_PRIOR:
      cell.Y -= page;
      topLeft.Y -= page;
      break;
    case VK_NEXT:
      cell.Y += page;
      topLeft.Y += page;
      break;
    case VK_HOME:
      if (rowSelect || ctrl) cell.Y = FFixedRows;
      if (!rowSelect) cell.X = FFixedCols;
      break;
    case VK_END:
      if (rowSelect || ctrl) cell.Y = RowCount() - 1;
      if (!rowSelect) cell.X = ColCount() - 1;
      break;
    case VK_TAB:
      if (Shift.Contains(ssShift)) {
        if (--cell.X < FFixedCols) {
          cell.X = ColCount() - 1;
          if (--cell.Y < FFixedRows) cell.Y = RowCount() - 1;
        }
      } else if (++cell.X >= ColCount()) {
        cell.X = FFixedCols;
        if (++cell.Y >= RowCount()) cell.Y = FFixedRows;
      }
      break;
    default: break;
  }
}

void TCustomGrid::HandleKeyDown(std::uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == 0) return;
  if (Key == VK_F2) {
    if (FOptions.Contains(goEditing)) SetEditorMode(true);
    return;
  }
  const bool tab = Key == VK_TAB;
  if (tab && (!FOptions.Contains(goTabs) || Shift.Contains(ssAlt) || FOptions.Contains(goRowSelect))) return;
  static constexpr std::uint16_t moves[] = {VK_UP,    VK_DOWN, VK_LEFT, VK_RIGHT, VK_PRIOR,
                                            VK_NEXT, VK_HOME, VK_END,  VK_TAB};
  if (std::find(std::begin(moves), std::end(moves), Key) == std::end(moves)) return;
  if (ColCount() <= FFixedCols || RowCount() <= FFixedRows) return;
  const bool extend = Shift.Contains(ssShift) && FOptions.Contains(goRangeSelect) && !tab;
  TGridCoord cell = extend ? FAnchor : FCurrent;
  TGridCoord topLeft = FTopLeft;
  KeyTarget(Key, Shift, cell, topLeft);
  cell.X = std::clamp(cell.X, FFixedCols, ColCount() - 1);
  cell.Y = std::clamp(cell.Y, FFixedRows, RowCount() - 1);
  if (FOptions.Contains(goRowSelect)) cell.X = FCurrent.X;
  if (!(topLeft == FTopLeft)) SetTopLeft(topLeft.X, topLeft.Y);
  if (extend) {
    if (!(cell == FAnchor)) MoveAnchor(cell);
  } else if (!(cell == FCurrent)) {
    FocusCell(cell.X, cell.Y, true);
  }
}

void TCustomGrid::KeyPress(char16_t& Key) {
  TCustomControl::KeyPress(Key);
  if (Key == 0) return;
  if (Key == u'\r' && !FOptions.Contains(goAlwaysShowEditor)) {
    if (FEditorMode)
      HideEditor();
    else
      ShowEditor();
    Key = 0;
    return;
  }
  if (FOptions.Contains(goEditing) && Key >= 32 && CanEditAcceptKey(Key)) {
    ShowEditorChar(Key);
    Key = 0;
  }
}

// ---- wheel ------------------------------------------------------------------------------------------------

bool TCustomGrid::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  constexpr int notch = 120;
  FWheelAccum += WheelDelta;
  bool handled = false;
  for (; FWheelAccum >= notch; FWheelAccum -= notch) handled = DoMouseWheelUp(Shift, MousePos) || handled;
  for (; FWheelAccum <= -notch; FWheelAccum += notch) handled = DoMouseWheelDown(Shift, MousePos) || handled;
  return handled || WheelDelta != 0;
}

bool TCustomGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheelDown) OnMouseWheelDown(this, Shift, MousePos, handled);
  if (handled) return true;
  if (Row() < RowCount() - 1) SetRow(Row() + 1);
  return true;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheelUp) OnMouseWheelUp(this, Shift, MousePos, handled);
  if (handled) return true;
  if (Row() > FFixedRows) SetRow(Row() - 1);
  return true;
}

}  // namespace plat
