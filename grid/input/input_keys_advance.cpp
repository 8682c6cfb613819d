// The cell advance on Tab and Enter: which cell becomes current, the row append at the end of the table and
// the hand-over of the focus to the next control.
//
// Both advances search for a cell that can take the cursor. They iterate instead of calling themselves, and
// stop after as many candidates as the grid has normal cells or on coming back to the start, so that a grid
// without any editable cell leaves the cursor where it was instead of searching for ever.
#include <QTimer>
#include <QWidget>

#include <algorithm>

#include "grid/extgrid.h"
#include "grid/input/input_host.h"
#include "grid/input/input_keys.h"
#include "platform/forms/keys.h"

namespace grid {

using plat::TPoint;

namespace {
bool IsTextEditor(TEditorType e) {
  switch (e) {
    case edNormal: case edNumeric: case edPositiveNumeric: case edFloat: case edCapital: case edMixedCase:
    case edPassword: case edLowerCase: case edUpperCase: case edPositiveFloat: return true;
    default: return false;
  }
}
}  // namespace

// ---- the supporting questions ------------------------------------------------------------------------------------

int TGridKeys::FirstNavigableCol() const {
  TExtStringGrid& g = FGrid;
  return g.FixedCols() == 0 && FHost.HasNodes() ? 1 : g.FixedCols();
}

int TGridKeys::VisibleFixedRightCols() const {
  TExtStringGrid& g = FGrid;
  if (g.NumHiddenColumns() == 0) return g.FixedRightCols();
  int n = 0;
  const int all = g.AllColCount();
  for (int rc = all - g.FixedRightCols(); rc < all; ++rc)
    if (rc >= 0 && !g.IsHiddenColumn(rc)) ++n;
  return n;
}

bool TGridKeys::CanTabToCell(int ACol, int ARow) {
  TExtStringGrid& g = FGrid;
  bool can = EditingOn() ? IsEditable(ACol, ARow) : !g.IsFixed(ACol, ARow);
  if (g.OnSelectCell) g.OnSelectCell(&g, ACol, ARow, can);
  return can;
}

int TGridKeys::FirstTabColumn(int ARow) {
  for (int c = 0; c < FGrid.ColCount(); ++c)
    if (CanTabToCell(c, ARow)) return c;
  return -1;
}

int TGridKeys::LastTabColumn(int ARow) {
  for (int c = FGrid.ColCount() - 1; c >= 0; --c)
    if (CanTabToCell(c, ARow)) return c;
  return -1;
}

bool TGridKeys::IsLastNormalRow() const {
  const TExtStringGrid& g = FGrid;
  return g.Row() + 1 == g.RowCount() - g.FixedFooters() ||
         (g.FloatingFooter()->Visible() && g.Row() + 2 == g.RowCount());
}

// ---- Tab ------------------------------------------------------------------------------------------------------

bool TGridKeys::TabToNextCell(bool Backward) {
  TExtStringGrid& g = FGrid;
  std::uint16_t key = plat::VK_TAB;
  if (g.OnKeyDown) g.OnKeyDown(&g, key, Backward ? plat::TShiftState{plat::ssShift} : plat::TShiftState{});
  if (key != plat::VK_TAB) return true;
  if (g.Col() == LastTabCol && g.Row() == LastTabRow) return true;
  const TPoint start{g.Col(), g.Row()};
  LastTabCol = start.X;
  LastTabRow = start.Y;
  const int limit = std::max(1, (g.RowCount() - g.FixedRows()) * (g.ColCount() - g.FixedCols())) + 2;
  bool result = true, found = false;
  for (int i = 0; i < limit; ++i) {
    bool again = false;
    if (TabOnce(Backward, again)) {  // handed over to the next control
      result = false;
      found = true;
      break;
    }
    if (again) continue;
    if (g.Col() == start.X && g.Row() == start.Y) break;
    if (EditingOn() && !IsEditable(g.Col(), g.Row())) continue;
    found = true;
    break;
  }
  if (!found && !(g.Col() == start.X && g.Row() == start.Y)) g.FocusCell(start.X, start.Y);
  if (found && result && g.Navigation()->AdvanceAutoEdit && !g.IsControlCell(g.RealCol(), g.Row()))
    g.ClickCell(g.Col(), g.Row());
  LastTabCol = LastTabRow = -1;
  if (g.Navigation()->AlwaysEdit && g.CanFocus()) g.SetFocus();
  return result;
}

// One move of the Tab key. Returns true when the focus went to the next control; Again asks for one more move
// (a non-base cell was reached).
bool TGridKeys::TabOnce(bool Backward, bool& Again) {
  TExtStringGrid& g = FGrid;
  const int first = FirstNavigableCol();
  const int lastCol = g.ColCount() - VisibleFixedRightCols() - 1;
  const int lastRow = g.RowCount() - g.FixedFooters() - 1;
  const bool lr = g.Navigation()->TabAdvanceDirection == adLeftRight;
  if (Backward && !lr) {
    if (g.Row() > g.FixedRows()) {
      g.SetRow(g.Row() - 1);
    } else {
      g.FocusCell(g.Col() > first ? g.Col() - 1 : lastCol, lastRow);
    }
    return false;
  }
  if (Backward) {
    TabBackwardLeftRight();
    return false;
  }
  if (!lr) {
    const int y = g.CellSpan(g.Col(), g.Row()).Y;
    if (g.Row() + y + 1 < g.RowCount() - g.FixedFooters()) {
      g.SetRow(g.Row() + y + 1);
      return false;
    }
    g.GotoFirstRow();
    if (g.Col() < lastCol) {
      g.SetCol(g.Col() + 1);
      return false;
    }
    g.SetCol(first);
    return EndOfGridHandover();
  }
  return TabForwardLeftRight(Again);
}

void TGridKeys::TabBackwardLeftRight() {
  TExtStringGrid& g = FGrid;
  const int first = FirstNavigableCol();
  const int lastRow = g.RowCount() - g.FixedFooters() - 1;
  if (g.Col() > first) {
    for (int c = g.Col() - 1; c >= first; --c)
      if (CanTabToCell(c, g.Row()) && g.IsBaseCell(c, g.Row())) {
        g.SetCol(c);
        return;
      }
    const int r = g.Row() > g.FixedRows() ? g.Row() - 1 : lastRow;
    const int c = LastTabColumn(r);
    if (c < 0) return;
    const TPoint b = g.BaseCell(c, r);
    g.FocusCell(b.X, b.Y);
    return;
  }
  // In the first column: the rightmost tab stop of this row, one row up. A row without any keeps the
  // rightmost normal column, so that the cursor stays on a normal cell.
  int col = g.ColCount() - VisibleFixedRightCols() - 1;
  for (int c = col; c >= g.FixedCols(); --c)
    if (CanTabToCell(c, g.Row())) {
      col = c;
      break;
    }
  g.FocusCell(col, g.Row() > g.FixedRows() ? g.Row() - 1 : lastRow);
}

bool TGridKeys::TabForwardLeftRight(bool& Again) {
  TExtStringGrid& g = FGrid;
  const int x = g.CellSpan(g.Col(), g.Row()).X;
  const int e = g.ColCount() - VisibleFixedRightCols();
  const int row = g.Row();
  if (g.Col() + x + 1 < e) {
    for (int c = g.Col() + x + 1; c < e; ++c)
      if (CanTabToCell(c, row)) {
        g.SetCol(c);
        Again = !g.IsBaseCell(c, row);
        return false;
      }
    FHost.SetForceSelect(true);
    bool handover = false;
    if (!IsLastNormalRow()) {
      const int v = FirstTabColumn(row + 1);
      bool allow = true;
      if (g.OnRowChanging) g.OnRowChanging(&g, row, row + 1, allow);
      if (g.OnCellChanging) g.OnCellChanging(&g, row, g.Col(), row + 1, v, allow);
      if (g.OnColChanging) g.OnColChanging(&g, g.Col(), v, allow);
      if (allow) g.FocusCell(v < 0 ? g.FixedCols() : v, row + 1);
    } else {
      const int v = FirstTabColumn(g.FixedRows());
      if (v >= 0) g.FocusCell(v, g.FixedRows());
      handover = true;
    }
    FHost.SetForceSelect(false);
    return handover && EndOfGridHandover();
  }
  // At the last column.
  int next = -1;
  if (row + 1 < g.RowCount())
    for (int c = FirstNavigableCol(); c < g.ColCount() && next < 0; ++c)
      if (g.IsBaseCell(c, row + 1) && CanTabToCell(c, row + 1)) next = c;
  if (!IsLastNormalRow()) {
    if (next >= 0) {
      FHost.SetForceSelect(true);
      g.FocusCell(next, row + 1);
      FHost.SetForceSelect(false);
      return false;
    }
    for (int r = row + 2; r < g.RowCount(); ++r) {
      const int c = FirstTabColumn(r);
      if (c >= 0) {
        g.FocusCell(c, r);
        return false;
      }
    }
    g.FocusCell(g.ColCount() - 1, g.RowCount() - 1);
    Again = true;
    return false;
  }
  if (g.Navigation()->TabToNextAtEnd || !g.Navigation()->AdvanceInsert()) {
    g.GotoFirstRow();
  } else {
    bool canAdd = true;
    g.DoCanAddRow(canAdd);
    if (!canAdd) {
      g.GotoFirstRow();
    } else {
      g.AddRow();
      g.SetRow(g.FloatingFooter()->Visible() ? g.RowCount() - 2 : g.RowCount() - 1);
      if (g.OnAutoAddRow) g.OnAutoAddRow(&g, g.RowCount() - g.FixedFooters() - 1);
    }
  }
  const int c = FirstTabColumn(g.Row());
  g.SetCol(c < 0 ? FirstNavigableCol() : c);
  return EndOfGridHandover();
}

// The focus goes on to the next control of the parent, after the key has been handled.
bool TGridKeys::EndOfGridHandover() {
  TExtStringGrid& g = FGrid;
  if (!g.Parent() || !g.Navigation()->TabToNextAtEnd) return false;
  QTimer::singleShot(0, g.Widget(), [&g] {
    if (g.Parent()) g.Parent()->SelectNext(&g, true, true);
  });
  return true;
}

// ---- Enter ------------------------------------------------------------------------------------------------------

void TGridKeys::AdvanceToNextCell(int ACol, int ARow, bool EditMode, bool Recursive, bool Forward, bool AutoEdit,
                                  bool Force) {
  TExtStringGrid& g = FGrid;
  if (!g.Navigation()->AdvanceOnEnter && !Force) return;
  if (g.MouseActions()->RangeSelectAndEdit && !g.Options().Contains(plat::goEditing))
    g.SetOptions(g.Options() + plat::TGridOptions{plat::goEditing});
  if (!Recursive) {
    AECol = ACol;
    AERow = ARow;
  }
  const TPoint start{g.Col(), g.Row()};
  StartEditChar = 0;
  const int limit = std::max(1, (g.RowCount() - g.FixedRows()) * (g.ColCount() - g.FixedCols())) + 2;
  for (int i = 0;; ++i) {
    bool stop = false;
    AdvanceTarget(ACol, ARow, Forward, stop);
    if (stop) return;
    bool can = true;
    g.CheckCellEditable(g.RealColIndex(ACol), ARow, can);
    if (can) {
      bool allow = true;
      if (g.OnAutoAdvance) g.OnAutoAdvance(&g, AERow, AECol, ARow, ACol, allow);
      if (allow && g.OnCellChanging) g.OnCellChanging(&g, AERow, AECol, ARow, ACol, allow);
      if (allow)
        g.FocusCell(std::clamp(ACol, 0, g.ColCount() - 1), std::clamp(ARow, 0, g.RowCount() - 1));
      else
        g.FocusCell(start.X, start.Y);
      break;
    }
    const bool back = ACol == start.X && ARow == start.Y;
    if (!g.Navigation()->AdvanceSkipReadOnlyCells || i + 1 >= limit || back) {
      // Nothing editable anywhere: the cursor stays; otherwise it goes to the cell found.
      if (!g.Navigation()->AdvanceSkipReadOnlyCells) g.FocusCell(ACol, ARow);
      break;
    }
  }
  if (EditMode) AdvanceEdit(start.X, start.Y, AutoEdit);
  if (g.MouseActions()->DisjunctRowSelect()) {
    g.ClearRowSelect();
    g.SetRowSelect(g.Row(), true);
  }
}

// The next cell of an Enter advance in (ACol, ARow); Stop ends the advance (a row was appended without any
// editable cell, or the direction does not move backward).
void TGridKeys::AdvanceTarget(int& ACol, int& ARow, bool Forward, bool& Stop) {
  TExtStringGrid& g = FGrid;
  const TAdvanceDirection dir = g.Navigation()->AdvanceDirection();
  const int first = FirstNavigableCol();
  const int lastRow = g.RowCount() - g.FixedFooters() - 1;
  const int x = g.CellSpan(ACol, ARow).X;
  const bool lastNormal = ARow + 1 == g.RowCount() - g.FixedFooters() ||
                          (g.FloatingFooter()->Visible() && ARow + 2 == g.RowCount());
  if (!Forward) {
    if (dir == adLeftRight) {
      if (ACol > first) --ACol;
      else {
        ARow = ARow > g.FixedRows() ? ARow - 1 : lastRow;
        ACol = g.ColCount() - g.FixedRightCols() - 1;
      }
    } else if (dir == adTopBottom) {
      if (ARow > g.FixedRows()) --ARow;
      else {
        ACol = ACol > first ? ACol - 1 : g.ColCount() - g.FixedRightCols() - 1;
        ARow = lastRow;
      }
    } else {
      Stop = true;
    }
    return;
  }
  if (dir == adLeftRight || dir == adLeftRightInRow) {
    if (ACol + x < g.ColCount() - VisibleFixedRightCols() - 1) {
      ACol += x + 1;
    } else if (dir == adLeftRightInRow) {
      if (g.Navigation()->AdvanceOnEnterLoop) ACol = first;
    } else if (!lastNormal) {
      ++ARow;
      ACol = first;
    } else if (g.Navigation()->AdvanceInsert()) {
      bool canAdd = true;
      g.DoCanAddRow(canAdd);
      ACol = first;
      if (canAdd) {
        g.AddRow();
        ++ARow;
        if (g.OnAutoAddRow) g.OnAutoAddRow(&g, g.RowCount() - g.FixedFooters() - 1);
        bool any = false;
        for (int c = 0; c < g.ColCount() && !any; ++c) any = IsEditable(c, ARow);
        if (!any) {
          g.FocusCell(first, ARow);
          Stop = true;
        }
      }
    } else if (g.Navigation()->AdvanceOnEnterLoop) {
      ACol = first;
      ARow = g.FixedRows();
    }
    return;
  }
  if (!lastNormal) {
    ++ARow;
    return;
  }
  if (dir == adTopBottomInCol) {
    ARow = g.FixedRows();
    return;
  }
  if (ACol != g.ColCount() - g.FixedRightCols() - 1) {
    ACol = ACol + 1 >= g.ColCount() ? first : ACol + 1;
  } else if (g.Navigation()->AdvanceInsert()) {
    g.SetColCount(g.ColCount() + 1);
    ACol += x + 1;
    if (g.OnAutoInsertCol) g.OnAutoInsertCol(&g, g.ColCount() - g.FixedRightCols() - 1);
  } else {
    ACol = first;
  }
  ARow = g.FixedRows();
  g.Invalidate();
}

void TGridKeys::AdvanceEdit(int StartCol, int StartRow, bool AutoEdit) {
  TExtStringGrid& g = FGrid;
  const bool control = g.IsControlCell(g.RealCol(), g.Row());
  if ((AutoEdit && g.Navigation()->AdvanceAutoEdit) || control) {
    if (!IsEditable(g.Col(), g.Row())) return;
    FHost.ShowEditor();
    if (control && !g.IsControlCell(g.RealColIndex(StartCol), StartRow)) {
      g.ClickCell(g.Col(), g.Row());
      if (g.Navigation()->AdvanceDirection() != adLeftRight) FHost.HideEditor();
    }
  }
  TEditorType e = g.DefaultEditor;
  g.GetCellEditorType(g.RealColIndex(StartCol), StartRow, e);
  if (!IsTextEditor(e)) FHost.HideEditor();
}

// ---- the row append of the Down key -------------------------------------------------------------------------

void TGridKeys::AutoAddRow() {
  TExtStringGrid& g = FGrid;
  bool canAdd = true;
  g.DoCanAddRow(canAdd);
  if (!canAdd) return;
  const bool floating = g.FloatingFooter()->Visible();
  if (floating) {
    // The footer stays the last row: its texts move down into the new row.
    const int footer = g.RowCount() - 1;
    QStringList texts;
    for (int c = 0; c < g.AllColCount(); ++c) texts << g.GridCells(c, footer);
    g.SetRowCount(g.RowCount() + 1);
    g.ClearRect(0, footer, g.AllColCount() - 1, footer);
    for (int c = 0; c < g.AllColCount(); ++c) g.SetGridCells(c, footer + 1, texts[c]);
  } else {
    g.SetRowCount(g.RowCount() + 1);
    g.ClearRect(0, g.RowCount() - 1, g.AllColCount() - 1, g.RowCount() - 1);
  }
  if (floating || g.FixedFooters() > 0) g.SetRow(g.Row() + 1);
  if (floating) g.CalcFooter(-1);
  if (g.OnAutoAddRow) g.OnAutoAddRow(&g, g.RowCount() - g.FixedFooters() - 1);
}

}  // namespace grid
