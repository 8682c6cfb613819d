// The key-down step list of the string grid: what runs before the base grid moves the current cell, the
// standard handling, and the row, selection and editing keys after it.
#include "grid/input/input_keys.h"

#include <algorithm>

#include "grid/extgrid.h"
#include "grid/input/input_host.h"
#include "platform/forms/forms.h"
#include "platform/forms/keys.h"

namespace grid {

using plat::TGridRect;
using plat::TPoint;
using plat::TShiftState;

namespace {
bool Down(int vk) { return plat::GetKeyState(vk) < 0; }
bool IsNavKey(std::uint16_t k) { return k >= plat::VK_PRIOR && k <= plat::VK_DOWN; }
bool IsArrow(std::uint16_t k) { return k >= plat::VK_LEFT && k <= plat::VK_DOWN; }
TGridRect Ordered(TGridRect r) {
  if (r.Left > r.Right) std::swap(r.Left, r.Right);
  if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
  return r;
}
}  // namespace

int TGridKeys::FGridCol() const { return FGrid.Col(); }
int TGridKeys::FGridRow() const { return FGrid.Row(); }

void TGridKeys::FireKeyDown(std::uint16_t Key, TShiftState Shift) {
  if (FGrid.OnKeyDown) FGrid.OnKeyDown(&FGrid, Key, Shift);
}

void TGridKeys::Standard(plat::TMessage& M) { FGrid.TRenderGrid::Dispatch(M); }

bool TGridKeys::EditingOn() const { return FGrid.Options().Contains(plat::goEditing) || FGrid.EditDisabled(); }

bool TGridKeys::IsEditable(int ACol, int ARow) {
  bool can = EditingOn();
  FGrid.CheckCellEditable(FGrid.RealColIndex(ACol), ARow, can);
  return can;
}

bool TGridKeys::IsHTMLControlCell(int ACol, int ARow) {
  if (!FGrid.EnableHTML) return false;
  const QString s = FGrid.Cells(FGrid.RealColIndex(ACol), ARow);
  return s.contains(QLatin1String("<CONTROL"), Qt::CaseInsensitive);
}

void TGridKeys::NotifySelectionChanged() {
  const TGridRect s = FGrid.Selection();
  if (s == MoveSelection) return;
  MoveSelection = s;
  FGrid.DoSelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
}

// ---- WM_KEYDOWN ---------------------------------------------------------------------------------------------

void TGridKeys::KeyDownMessage(plat::TMessage& M) {
  TExtStringGrid& g = FGrid;
  const std::uint16_t key = plat::TWMKey(M).CharCode();
  MoveSelection = g.Selection();
  const int oldLeft = g.LeftCol();
  TShiftState shift;
  if (Down(plat::VK_SHIFT)) shift.Include(plat::ssShift);
  if (Down(plat::VK_CONTROL)) shift.Include(plat::ssCtrl);
  if (Down(plat::VK_LMENU) || Down(plat::VK_MENU)) shift.Include(plat::ssAlt);
  const bool ctrl = shift.Contains(plat::ssCtrl);
  const bool rowSelect = g.Options().Contains(plat::goRowSelect);
  TNavigation& nav = *g.Navigation();
  TMouseActions& ma = *g.MouseActions();
  const bool keepHorz = (key == plat::VK_PRIOR || key == plat::VK_NEXT || key == plat::VK_UP || key == plat::VK_DOWN) &&
                        rowSelect && oldLeft != g.FixedCols() && nav.KeepHorizScroll;
  const bool enterF2 = key == plat::VK_RETURN || key == plat::VK_F2;
  auto consume = [&] {
    plat::TWMKey(M).SetCharCode(0);
    M.Result = 1;
  };
  if (nav.MoveScrollOnly && MoveScrollOnly(key)) {
    M.Result = 1;
    return;
  }
  if (ma.EditOnDblClickOnly() && enterF2 && !g.Options().Contains(plat::goEditing)) {
    bool can = true;
    g.CheckCellEditable(g.RealCol(), g.Row(), can);
    if (can) g.SetOptions(g.Options() + plat::TGridOptions{plat::goEditing});
  }
  if (ma.RangeSelectAndEdit && !g.Options().Contains(plat::goEditing) && enterF2) {
    bool can = true;
    g.CheckCellEditable(g.RealCol(), g.Row(), can);
    if (!can) {
      FireKeyDown(key, shift);
      consume();
      return;
    }
    g.SetOptions(g.Options() + plat::TGridOptions{plat::goEditing});
    FHost.ShowEditor();
  }
  if (key == 'F' && ctrl && g.SearchFooter()->Visible()) g.FocusSearchEdit();
  if (enterF2) {
    if (g.Options().Contains(plat::goEditing) && !IsEditable(g.Col(), g.Row())) {
      FireKeyDown(key, shift);
      consume();
      return;
    }
    if (IsHTMLControlCell(g.Col(), g.Row())) {
      M.Result = 1;
      return;
    }
  }
  if (key == plat::VK_RETURN && !IsEditable(g.Col(), g.Row())) {
    plat::TCustomForm* form = plat::GetParentForm(&g);
    if (!(form && form->KeyPreview())) {
      FireKeyDown(key, shift);
      consume();
      return;
    }
    Standard(M);
    return;
  }
  if ((key == plat::VK_RETURN || key == plat::VK_SPACE) && g.IsControlCell(g.RealCol(), g.Row())) ControlCellKey(key);
  if ((key == plat::VK_HOME || key == plat::VK_END) && HomeEnd(key, shift, oldLeft)) {
    FireKeyDown(key, shift);
    M.Result = 0;
    return;
  }
  // ---- main handling
  const bool nodeRow = g.IsNode(g.Row());
  if (nodeRow && g.IsMergedCell(g.RealCol(), g.Row())) {
    if (key == plat::VK_RIGHT) g.ExpandNode(g.RealRowIndex(g.Row()));
    if (key == plat::VK_LEFT) g.ContractNode(g.RealRowIndex(g.Row()));
  }
  if (rowSelect && !nodeRow && g.VisibleColCount() < g.ColCount() - g.FixedCols() &&
      ColumnScrollInRowSelect(key, shift)) {
    FireKeyDown(key, shift);
    return;
  }
  if (key == plat::VK_TAB && g.Options().Contains(plat::goTabs)) {
    TabToNextCell(shift.Contains(plat::ssShift));
    NotifySelectionChanged();
    return;
  }
  std::uint16_t k = key;
  if (nav.SkipFixedCells && SkipFixedCells(k, shift)) {
    FireKeyDown(key, shift);
    plat::TWMKey(M).SetCharCode(0);
  }
  // The key as it arrived: a Down that the fixed-cell skip swallowed still appends at the last row.
  if (key == plat::VK_DOWN && nav.AppendOnArrowDown && IsLastNormalRow()) AutoAddRow();
  if (g.SelectionRectangle() && !(g.Selection() == MoveSelection)) {
    g.RepaintRect(g.Selection());
    MoveSelection = g.Selection();
  }
  // With the search panel shown the last row never slips under it.
  const bool search = g.SearchFooter()->Visible();
  const bool lastPage = search && g.TopRow() >= g.RowCount() - g.VisibleRowCount();
  const bool lastRow = g.Row() == g.RowCount() - 1;
  const bool towardsEnd = key == plat::VK_NEXT || key == plat::VK_END || key == plat::VK_LEFT ||
                          key == plat::VK_RIGHT || key == plat::VK_DOWN;
  if (lastPage && lastRow &&
      (key == plat::VK_DOWN || (key == plat::VK_RIGHT && g.Col() == g.ColCount() - 1) ||
       (key == plat::VK_LEFT && g.Col() == g.FixedCols()))) {
    if (key == plat::VK_DOWN) g.ScrollAboveSearchPanel();
    M.Result = 1;
    FireKeyDown(key, shift);
    return;
  }
  const bool plainKey = key != plat::VK_SHIFT && key != plat::VK_MENU && !IsNavKey(key);
  const bool searchLock = lastPage && ((lastRow && towardsEnd) || plainKey);
  const int oldTop = g.TopRow();
  if (searchLock) g.BeginUpdate();
  if (k != 0) {
    if (keepHorz) g.BeginUpdate();
    Standard(M);
    if (search && lastPage && plainKey) g.SetTopRow(oldTop);
    if (searchLock) g.EndUpdate();
    if (search && towardsEnd && g.Row() == g.RowCount() - 1) FHost.KeepsSearchPanelClear(g.Row());
    if (keepHorz) {
      g.SetLeftCol(oldLeft);
      g.EndUpdate();
    }
  } else if (searchLock) {
    g.EndUpdate();
  }
  AfterStandard(key, shift);
}

// The view moves, the current cell stays.
bool TGridKeys::MoveScrollOnly(std::uint16_t Key) {
  TExtStringGrid& g = FGrid;
  const int top = g.TopRow(), vis = g.VisibleRowCount(), fixed = g.FixedRows(), count = g.RowCount();
  switch (Key) {
    case plat::VK_PRIOR: g.SetTopRow(vis + fixed < top ? top - vis : fixed); return true;
    case plat::VK_NEXT:
      if (top + vis < count) g.SetTopRow(top + vis);
      return true;
    case plat::VK_END: g.SetTopRow(count - vis); return true;
    case plat::VK_HOME: g.SetTopRow(fixed); return true;
    case plat::VK_UP:
      if (top > fixed) g.SetTopRow(top - 1);
      return true;
    case plat::VK_DOWN:
      if (top + vis < count) g.SetTopRow(top + 1);
      return true;
    default: return false;
  }
}

bool TGridKeys::ControlCellKey(std::uint16_t Key) {
  TExtStringGrid& g = FGrid;
  const int c = g.Col(), r = g.Row(), rc = g.RealCol();
  bool mayEdit = g.Options().Contains(plat::goEditing) || g.MouseActions()->RangeSelectAndEdit;
  g.CheckCellEditable(rc, r, mayEdit);
  const TControlLook& look = *g.ControlLook();
  const bool space = Key == plat::VK_SPACE;
  if (space && g.HasCheckBox(rc, r) && (mayEdit || look.CheckAlwaysActive)) {
    g.ToggleCellCheck(rc, r, true);
    if (g.ShowModified()->Enabled) {
      g.SetRowModified(r, true);
      g.RepaintCell(0, r);
    }
    bool state = false;
    g.GetCheckBoxState(rc, g.RealRowIndex(r), state);
    if (g.OnCheckBoxClick) g.OnCheckBoxClick(&g, c, r, state);
  } else if (space && g.GetCellType(rc, r) == ctRadio && (mayEdit || look.RadioAlwaysActive)) {
    g.CellChecks().CycleRadioGroup(rc, r, true);
    const TCellGraphic* cg = g.GetCellGraphic(rc, r);
    if (g.OnRadioClick) g.OnRadioClick(&g, c, r, cg ? cg->CellIndex : -1);
  } else if (space && g.GetCellType(rc, r) == ctRadioButton && (mayEdit || look.RadioAlwaysActive)) {
    g.CheckRadioButton(rc, r, true);
    if (g.OnRadioButtonClick) g.OnRadioButtonClick(&g, c, r, 0);
  } else if (g.GetCellType(rc, r) == ctButton && mayEdit) {
    g.DoButtonClick(c, r);
  }
  g.RepaintCell(c, r);
  return false;
}

bool TGridKeys::ColumnScrollInRowSelect(std::uint16_t Key, TShiftState Shift) {
  TExtStringGrid& g = FGrid;
  if (Key != plat::VK_LEFT && Key != plat::VK_RIGHT) return false;
  const bool lr = g.Navigation()->LeftRightRowSelect;
  if (lr && !Shift.Contains(plat::ssCtrl)) return false;
  if (Key == plat::VK_LEFT && g.LeftCol() > g.FixedCols()) g.SetLeftCol(g.LeftCol() - 1);
  if (Key == plat::VK_RIGHT && g.LeftCol() + g.VisibleColCount() < g.ColCount()) g.SetLeftCol(g.LeftCol() + 1);
  return !lr;
}

bool TGridKeys::SkipFixedCells(std::uint16_t& Key, TShiftState Shift) {
  (void)Shift;
  TExtStringGrid& g = FGrid;
  const int c = g.Col(), r = g.Row();
  switch (Key) {
    case plat::VK_LEFT:
      if (!(c > g.FixedCols() && g.IsFixed(c - 1, r))) return false;
      for (int i = c - 1; i >= g.FixedCols(); --i)
        if (!g.IsFixed(i, r)) {
          g.SetCol(i);
          break;
        }
      break;
    case plat::VK_RIGHT: {
      const int last = g.ColCount() - g.FixedRightCols() - 1;
      if (!(c < last && g.IsFixed(c + 1, r))) return false;
      for (int i = c + 1; i <= last; ++i)
        if (!g.IsFixed(i, r)) {
          g.SetCol(i);
          break;
        }
      break;
    }
    case plat::VK_UP:
      if (!(r > g.FixedRows() && g.IsFixed(c, r - 1))) return false;
      if (g.Options().Contains(plat::goRowSelect)) {
        g.SetRow(r - 1);
        break;
      }
      for (int i = r - 1; i >= g.FixedRows(); --i)
        if (!g.IsFixed(c, i)) {
          g.SetRow(i);
          break;
        }
      break;
    case plat::VK_DOWN: {
      const int last = g.RowCount() - g.FixedFooters() - 1;
      if (!(r < g.RowCount() - g.FixedFooters() && r + 1 < g.RowCount() && g.IsFixed(c, r + 1))) return false;
      for (int i = r + 1; i <= last; ++i)
        if (!g.IsFixed(c, i)) {
          g.SetRow(i);
          break;
        }
      break;
    }
    default: return false;
  }
  Key = 0;
  return true;
}

// ---- Home and End ----------------------------------------------------------------------------------------------

// True when the key was handled here (the caller fires OnKeyDown); false lets the main handling run.
bool TGridKeys::HomeEnd(std::uint16_t Key, TShiftState Shift, int OldLeft) {
  TExtStringGrid& g = FGrid;
  const THomeEndAction he = g.Navigation()->HomeEndKey;
  const bool ctrl = Shift.Contains(plat::ssCtrl), shift = Shift.Contains(plat::ssShift);
  const bool home = Key == plat::VK_HOME;
  const bool onlyFixed = g.FixedRowAlways() && g.RowCount() == 1;
  const bool rowSelect = g.Options().Contains(plat::goRowSelect);
  auto restoreLeft = [&] {
    if (!rowSelect || !g.Navigation()->KeepHorizScroll) return;
    TUpdateGuard guard(g);
    g.SetLeftCol(OldLeft);
  };
  if (he == heFirstLastCell && !ctrl) {
    if (home)
      g.FocusCell(g.FixedCols(), g.FixedRows());
    else
      g.FocusCell(g.ColCount() - 1, g.RowCount() - 1);
    FHost.MoveToBaseCell();
    return true;
  }
  if (he == heFirstLastRow && !ctrl) {
    if (onlyFixed) return false;
    const int oldRow = g.Row();
    if (home) {
      g.SetRow(g.FixedRows());
    } else {
      const bool floating = g.FloatingFooter()->Visible();
      g.SetRow(floating && g.RowCount() > 2 ? g.RowCount() - 2 : g.RowCount() - g.FixedFooters() - 1);
      if (g.FixedFooters() > 0 && !floating) g.SetTopRow(g.RowCount() - g.VisibleRowCount());
    }
    FHost.MoveToBaseCell();
    RowSelectAfterHomeEnd(oldRow, g.Row(), Shift);
    if (!home && g.FloatingFooter()->Visible()) g.SetTopRow(g.RowCount() - g.VisibleRowCount());
    restoreLeft();
    return true;
  }
  if (he != heFirstLastColumn) return false;
  if (home && ctrl) {
    g.SetRow(g.FixedRows());
    g.SetCol(std::max(FirstTabColumn(g.Row()), FirstNavigableCol()));
    FHost.MoveToBaseCell();
    g.SetLeftCol(FirstNavigableCol());
    return true;
  }
  if (ctrl || rowSelect) return false;
  if (onlyFixed) return false;
  if (shift) {
    const int to = home ? g.FixedCols() : g.ColCount() - g.FixedRightCols() - 1;
    g.SetSelection({std::min(g.Col(), to), g.Row(), std::max(g.Col(), to), g.Row()});
    g.RepaintRow(g.Row());
    return true;
  }
  if (home) {
    g.SetCol(std::max(FirstTabColumn(g.Row()), FirstNavigableCol()));
    FHost.MoveToBaseCell();
    g.SetLeftCol(FirstNavigableCol());
  } else {
    g.SetCol(g.ColCount() - 1);
    FHost.MoveToBaseCell();
    g.SetLeftCol(g.ColCount() - g.VisibleColCount());
  }
  return true;
}

void TGridKeys::RowSelectAfterHomeEnd(int OldRow, int NewRow, TShiftState Shift) {
  TExtStringGrid& g = FGrid;
  const bool disjunct = g.MouseActions()->DisjunctRowSelect();
  if (!Shift.Contains(plat::ssShift)) {
    if (disjunct) {
      g.ClearRowSelect();
      g.SelectionToRowSelect(false);
    }
    return;
  }
  g.SetSelection({0, std::min(OldRow, NewRow), g.ColCount() - 1, std::max(OldRow, NewRow)});
  if (disjunct) g.SelectionToRowSelect(false);
}

// ---- after the standard handling -------------------------------------------------------------------------------

void TGridKeys::AfterStandard(std::uint16_t Key, TShiftState Shift) {
  TExtStringGrid& g = FGrid;
  TNavigation& nav = *g.Navigation();
  TMouseActions& ma = *g.MouseActions();
  const bool ctrl = Shift.Contains(plat::ssCtrl), shift = Shift.Contains(plat::ssShift);
  const bool alt = Shift.Contains(plat::ssAlt);
  const int selRow = ma.DisjunctRowSelect() && ma.RowSelectPersistent ? g.RealRowIndex(g.Row()) : g.Row();
  if (nav.AllowClipboardShortCuts) ClipboardKey(Key, Shift);
  if (Key == plat::VK_INSERT && nav.AllowInsertRow && !ctrl && !shift && !alt) {
    InsertRow();
  } else if (Key == 'A' && ctrl &&
             (g.Options().Contains(plat::goRowSelect) || g.Options().Contains(plat::goRangeSelect))) {
    SelectAll();
  } else {
    if (IsNavKey(Key) && ma.DisjunctRowSelect()) {
      if (!shift && !ctrl) g.ClearRowSelect();
      else if (shift) g.SelectionToRowSelect(true);
      else g.SetRowSelect(selRow, true);
    }
    if (IsNavKey(Key) && ma.DisjunctColSelect()) {
      if (!shift && !ctrl) g.ClearColSelect();
      else if (shift) g.SelectionToColSelect(true);
      else g.SetColSelect(g.Col(), true);
    }
    if (Key == plat::VK_SPACE && ma.DisjunctRowSelect()) g.SetRowSelect(selRow, !g.GetRowSelect(selRow));
    if (Key == plat::VK_SPACE && ma.DisjunctColSelect()) g.SetColSelect(g.Col(), !g.GetColSelect(g.Col()));
    if (Key == plat::VK_DELETE && nav.AllowDeleteRow && !alt && g.RowCount() - g.FixedFooters() > g.FixedRows())
      DeleteRow();
    if (Key == plat::VK_RETURN || Key == plat::VK_F2) {
      g.RememberCellValue(g.Col(), g.Row());
      if (g.Cells(g.RealCol(), g.Row()).contains(QLatin1String("<CONTROL"), Qt::CaseInsensitive))
        g.EditCellControl(g.Col(), g.Row(), QString());
      if (Key == plat::VK_F2) g.F2KeyHook();
    }
  }
  NotifySelectionChanged();
}

// Cut, paste and copy by their shortcuts; the first that matches runs when its event allows it.
void TGridKeys::ClipboardKey(std::uint16_t Key, TShiftState Shift) {
  TExtStringGrid& g = FGrid;
  const bool ctrl = Shift.Contains(plat::ssCtrl), shift = Shift.Contains(plat::ssShift);
  enum { None, Cut, Paste, Copy } op = None;
  if (ctrl && Key == 'X') op = Cut;
  else if (ctrl && Key == 'V') op = Paste;
  else if (ctrl && (Key == 'C' || Key == plat::VK_INSERT)) op = Copy;
  else if (shift && Key == plat::VK_INSERT) op = Paste;
  else if (shift && Key == plat::VK_DELETE) op = Cut;
  if (op == None) return;
  bool allow = true;
  const TClipboardEvent& ev = op == Cut ? g.OnClipboardCut : op == Paste ? g.OnClipboardPaste : g.OnClipboardCopy;
  if (ev) ev(&g, allow);
  if (!allow) return;
  if (op == Cut) g.CutSelectionToClipboard();
  else if (op == Paste) g.PasteSelectionFromClipboard();
  else g.CopySelectionToClipboard();
}

// The row goes in at the cursor's row (before it) or below it, with the filter off while it happens, so that
// the rows it hid keep their places around the new one.
void TGridKeys::InsertRow() {
  TExtStringGrid& g = FGrid;
  bool can = true;
  g.DoCanInsertRow(g.Row(), can);
  if (!can) return;
  int t = g.Row();
  const int real = g.RealRowIndex(g.Row());
  const bool filter = g.FilterActive();
  if (filter) {
    g.SetFilterActive(false);
    if (real < g.RowCount()) g.SetRow(real);
  }
  int at = g.Row();
  if (g.Navigation()->InsertPosition == pInsertAfter) {
    if (g.FixedRowAlways() && g.FixedRows() == g.RowCount())
      t = 1;
    else
      at = g.Row() + 1;
  }
  g.DoInsertRow(at);
  if (g.Navigation()->InsertPosition == pInsertAfter && at != g.Row() && t + 1 < g.RowCount()) ++t;
  if (g.OnAutoInsertRow) g.OnAutoInsertRow(&g, g.RealRowIndex(at));
  g.SetModified(true);
  if (filter) g.SetFilterActive(true);
  g.SetRow(std::clamp(t, g.FixedRows(), g.RowCount() - 1));
  g.CalcFooter(-1);
}

void TGridKeys::SelectAll() {
  TExtStringGrid& g = FGrid;
  TGridRect a{FirstNavigableCol(), g.FixedRows(), g.ColCount() - g.FixedRightCols() - 1,
              g.RowCount() - g.FixedFooters() - 1};
  if (a.Right < a.Left || a.Bottom < a.Top) return;
  if (g.MouseActions()->DisjunctRowSelect())
    for (int r = a.Top; r <= a.Bottom; ++r) g.SetRowSelect(r, true);
  g.AdjustSelectAll(a);
  g.SetSelection(a);
  g.FocusCell(a.Right, a.Bottom);
  g.ClickCell(a.Right, a.Bottom);
  g.FocusCell(a.Right, a.Bottom);
  // The whole block, with the current cell left at its bottom-right corner.
  FHost.SetAnchorAndCurrent({a.Left, a.Top}, {a.Right, a.Bottom});
  g.Invalidate();
}

// The filter is off while the row goes, so that the row removed is the one under the cursor; a refusal
// leaves the filter as it was.
void TGridKeys::DeleteRow() {
  TExtStringGrid& g = FGrid;
  const int real = g.RealRowIndex(g.Row());
  const bool filter = g.FilterActive();
  if (filter) g.SetFilterActive(false);
  bool can = true;
  if (g.OnCanDeleteRow) g.OnCanDeleteRow(&g, real, can);
  if (!can) {
    if (filter) g.SetFilterActive(true);
    return;
  }
  g.DoDeleteRow(g.DisplRowIndex(real));
  if (filter) g.SetFilterActive(true);
  if (g.Row() >= g.RowCount()) g.SetRow(g.RowCount() - 1);
  if (g.FloatingFooter()->Visible() && g.Row() == g.RowCount() - 1 && g.RowCount() > 2) g.SetRow(g.RowCount() - 2);
  g.RememberCellValue(g.Col(), g.Row());
  g.SetModified(true);
  g.CalcFooter(-1);
}

// ---- after the base grid's movement --------------------------------------------------------------------------

void TGridKeys::AfterBaseKeyDown(std::uint16_t Key, TShiftState Shift) {
  TExtStringGrid& g = FGrid;
  TNavigation& nav = *g.Navigation();
  if (nav.CursorMoveRows && Shift.Contains(plat::ssCtrl)) {
    // The selection as the key found it (the base grid's move has collapsed it since).
    const TGridRect s = Ordered(MoveSelection);
    const int t = s.Top, b = s.Bottom;
    if (Key == plat::VK_DOWN && b < g.RowCount() - 1) {
      // The row below the block moves above it: the block goes down one place.
      g.RowColOps().MoveRow(b + 1, t);
      if (t == b)
        g.SetRow(t + 1);
      else
        g.SetSelection({g.FixedCols(), t + 1, g.ColCount() - 1, b + 1});
    } else if (Key == plat::VK_UP && t > g.FixedRows()) {
      g.RowColOps().MoveRow(t - 1, b);
      if (t == b)
        g.SetRow(t - 1);
      else
        g.SetSelection({g.FixedCols(), t - 1, g.ColCount() - 1, b - 1});
    }
  }
  if (nav.CursorAdvance != caDefault && IsArrow(Key)) {
    const bool snake = nav.CursorAdvance == caSnake;
    const TPoint old = LastKeyCell;
    const int lastCol = g.ColCount() - 1 - g.FixedRightCols(), lastRow = g.RowCount() - 1 - g.FixedFooters();
    if (Key == plat::VK_LEFT && old.X == g.FixedCols()) {
      g.SetCol(lastCol);
      if (snake && g.Row() > g.FixedRows()) g.SetRow(g.Row() - 1);
    } else if (Key == plat::VK_RIGHT && old.X == g.ColCount() - 1) {
      g.SetCol(g.FixedCols());
      if (snake && g.Row() < lastRow) g.SetRow(g.Row() + 1);
    } else if (Key == plat::VK_UP && old.Y == g.FixedRows()) {
      g.SetRow(lastRow);
      if (snake && g.Col() > g.FixedCols()) g.SetCol(g.Col() - 1);
    } else if (Key == plat::VK_DOWN && old.Y == g.RowCount() - 1) {
      g.SetRow(g.FixedRows());
      if (snake && g.Col() < lastCol) g.SetCol(g.Col() + 1);
    }
  }
  if (g.SelectionModel().UseEnabledRows() && nav.SkipDisabledRows && g.Row() == LastKeyCell.Y) {
    if (Key == plat::VK_UP) {
      for (int r = g.Row() - 1; r >= g.FixedRows(); --r)
        if (g.RowEnabled(r)) {
          g.SetRow(r);
          break;
        }
    } else if (Key == plat::VK_DOWN) {
      for (int r = g.Row() + 1; r < g.RowCount(); ++r)
        if (g.RowEnabled(r)) {
          g.SetRow(r);
          break;
        }
    }
  }
  g.FollowSyncGrid();
}

// ---- key-up, key-press, characters ------------------------------------------------------------------------

void TGridKeys::KeyUp(std::uint16_t& Key, TShiftState Shift) {
  TExtStringGrid& g = FGrid;
  if (IsNavKey(Key) || Key == plat::VK_INSERT || Key == plat::VK_DELETE) SearchInc.clear();
  const TGridRect s0 = Ordered(g.Selection());
  const std::uint16_t key = Key;
  FHost.BaseKeyUp(Key, Shift);
  const bool tab = key == plat::VK_TAB && g.Options().Contains(plat::goTabs);
  if (g.Navigation()->AlwaysEdit && (IsArrow(key) || tab) && !g.IsControlCell(g.RealCol(), g.Row()))
    FHost.ShowEditor();
  if ((IsArrow(key) || key == plat::VK_TAB) && !(g.Selection() == MoveSelection)) NotifySelectionChanged();
  if (g.MouseActions()->DisjunctCellSelect() && !g.Options().Contains(plat::goEditing))
    DisjunctCellKeyUp(key, Shift, s0);
}

void TGridKeys::DisjunctCellKeyUp(std::uint16_t Key, TShiftState Shift, const TGridRect& S0) {
  TExtStringGrid& g = FGrid;
  const TGridRect s = Ordered(g.Selection());
  if (Shift.Contains(plat::ssShift)) {
    for (int c = S0.Left; c <= S0.Right; ++c)
      for (int r = S0.Top; r <= S0.Bottom; ++r) g.SetSelectedCells(c, r, false);
    for (int c = s.Left; c <= s.Right; ++c)
      for (int r = s.Top; r <= s.Bottom; ++r)
        if (c != g.Col() || r != g.Row()) g.SetSelectedCells(c, r, true);
    return;
  }
  if (Key != plat::VK_SPACE) return;
  const TPoint b = g.BaseCell(g.Col(), g.Row());
  if (!g.IsFixed(b.X, b.Y)) {
    bool can = true;
    if (g.OnSelectCell) g.OnSelectCell(&g, b.X, b.Y, can);
    if (!can) return;
  }
  if (Shift.Contains(plat::ssCtrl)) {
    g.SetSelectedCells(b.X, b.Y, !g.SelectedCells(b.X, b.Y));
  } else {
    g.ClearSelectedCells();
    g.Invalidate();
    g.SetSelectedCells(b.X, b.Y, true);
  }
  if (s.Left != s.Right || s.Top != s.Bottom) {
    for (int c = s.Left; c <= s.Right; ++c)
      for (int r = s.Top; r <= s.Bottom; ++r)
        if (c != b.X || r != b.Y) g.SetSelectedCells(c, r, true);
    g.Invalidate();
  }
  g.RepaintCell(g.Col(), g.Row());
}

bool TGridKeys::KeyPress(char16_t& Key) {
  TExtStringGrid& g = FGrid;
  TNavigation& nav = *g.Navigation();
  auto fire = [&] {
    if (g.OnKeyPress) g.OnKeyPress(&g, Key);
  };
  if (Key == 27) {
    fire();
    return false;
  }
  if (Key == u'\r') {
    const bool editable = IsEditable(g.Col(), g.Row());
    if (!nav.AdvanceOnEnter && !editable) {
      fire();
      Key = 0;
      return false;
    }
    if (!g.Focused() || g.IsControlCell(g.RealCol(), g.Row())) {
      const int oldRc = g.RealCol();
      AdvanceToNextCell(g.Col(), g.Row(), g.EditorMode(), false, true, false, false);
      if (!nav.AdvanceAutoEdit) {
        fire();
        Key = 0;
        return false;
      }
      if (g.IsControlCell(oldRc, g.Row())) {
        fire();
        if (nav.AdvanceOnEnter) FHost.ShowEditor();
        return false;
      }
    }
  }
  if (!g.Options().Contains(plat::goEditing) && nav.AutoGotoWhenSorted && Key >= 8) {
    if (nav.AutoGotoIncremental) {
      if (Key == 8) SearchInc.chop(1);
      else SearchInc += QChar(Key);
      SearchTics = 0;
    } else {
      SearchInc = QString(QChar(Key));
    }
    const int r = g.Search(SearchInc.toUpper());
    if (r < 0) SearchInc.clear();
    else g.SetRow(r);
  }
  return true;
}

void TGridKeys::SearchTick() {
  if (!FGrid.Navigation()->AutoGotoIncremental) return;
  if (SearchTics == 3) {
    SearchInc.clear();
    SearchTics = 0;
  } else {
    ++SearchTics;
  }
}

void TGridKeys::CharMessage(plat::TMessage& M) {
  TExtStringGrid& g = FGrid;
  char16_t ch = static_cast<char16_t>(M.WParam & 0xFFFF);
  const int c = g.Col(), r = g.Row(), rc = g.RealCol();
  if (IsHTMLControlCell(c, r)) {
    M.Result = 1;
    return;
  }
  if (g.MouseActions()->EditOnDblClickOnly()) {
    bool can = true;
    g.CheckCellEditable(rc, r, can);
    if (can) g.SetOptions(g.Options() + plat::TGridOptions{plat::goEditing});
  }
  const bool ctrl = Down(plat::VK_CONTROL);
  if (g.Navigation()->AllowClipboardShortCuts && ctrl && (ch == 3 || ch == 22 || ch == 24)) {
    M.WParam = 0;
    return;
  }
  const bool control = g.IsControlCell(rc, r);
  if (g.MouseActions()->RangeSelectAndEdit && !control && ch != 9 && ch != 27 && !ctrl) {
    bool can = true;
    g.CheckCellEditable(rc, r, can);
    if (can) {
      char16_t copy = ch;
      if (g.OnKeyPress) g.OnKeyPress(&g, copy);
      StartEditChar = ch;
      g.SetOptions(g.Options() + plat::TGridOptions{plat::goEditing});
      FHost.ShowEditorChar(ch);
      M.Result = 1;
      return;
    }
  }
  if (g.ExcelStyleDecimalSeparator && ch == u'.' && (M.LParam & (1 << 24)))
    ch = plat::FormatSettings.DecimalSeparator.unicode();
  bool passed = false;
  if (control && ch == u'\r' && g.Navigation()->AdvanceOnEnter) {
    M.WParam = ch;
    Standard(M);
    passed = true;
  }
  if (g.Options().Contains(plat::goEditing) && ch != 9 && (ch == 8 || (ch >= 32 && ch <= 255))) {
    if (g.OnKeyPress) g.OnKeyPress(&g, ch);
    StartEditChar = ch;
    if (!control && ch != 0 && IsEditable(c, r)) FHost.ShowEditorChar(ch);
    M.Result = 1;
    return;
  }
  if (!passed) {
    M.WParam = ch;
    Standard(M);
  }
}

plat::LRESULT TGridKeys::DlgCode(plat::LRESULT Base) const {
  if (FGrid.Navigation()->AutoGotoWhenSorted || !FGrid.Options().Contains(plat::goEditing))
    Base |= plat::DLGC_WANTCHARS;
  return Base;
}

}  // namespace grid
