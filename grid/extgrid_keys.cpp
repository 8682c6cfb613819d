// The string grid's window layer for keys, wheel, scroll and timer messages: the routing of each message to
// the keyboard and scrolling collaborators, the update lock, the grid timer, and the room the footer panel
// takes below the cells.
#include <QCursor>
#include <QScrollBar>
#include <QWidget>

#include <algorithm>

#include "grid/extgrid.h"
#include "controls/theme_services.h"
#include "grid/view/footer.h"
#include "platform/forms/keys.h"

namespace grid {

using plat::TMessage;

// ---- update lock ------------------------------------------------------------------------------------------------

TExtStringGrid::TUpdateGuard::TUpdateGuard(TExtStringGrid& Grid) : FGrid(Grid), FCount(Grid.FUpdateCount) {
  ++Grid.FUpdateCount;
}
TExtStringGrid::TUpdateGuard::~TUpdateGuard() { FGrid.FUpdateCount = FCount; }

void TExtStringGrid::BeginUpdate() {
  if (++FUpdateCount == 1 && Widget() && Showing()) Widget()->setUpdatesEnabled(false);
}

void TExtStringGrid::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  if (FUpdateCount > 0 || FInDestroy) return;
  FSelChange = false;
  if (Widget() && !Widget()->updatesEnabled()) Widget()->setUpdatesEnabled(true);
  Invalidate();
}

// ---- messages ---------------------------------------------------------------------------------------------------

void TExtStringGrid::Dispatch(TMessage& M) {
  if (FInDestroy) {
    TRenderGrid::Dispatch(M);
    return;
  }
  // The editors' own messages first (the end of an edit, posted by the write-back).
  if (FEdit.HandleMessage(M)) return;
  if (FScrolling.PanMessage(M)) return;
  switch (M.Msg) {
    case plat::WM_KEYDOWN: FKeys.KeyDownMessage(M); return;
    case plat::WM_CHAR: FKeys.CharMessage(M); return;
    case plat::WM_MOUSEWHEEL:
      if (FScrolling.WheelMessage(M)) return;
      break;
    case plat::WM_VSCROLL: FScrolling.ScrollMessage(M, true); return;
    case plat::WM_HSCROLL: FScrolling.ScrollMessage(M, false); return;
    case plat::WM_TIMER:
      if (M.WParam == GridTimerId) {
        GridTimerTick();
        return;
      }
      break;
    case plat::WM_SETFOCUS: SetFocusMessage(M); return;
    case plat::WM_KILLFOCUS: KillFocusMessage(M); return;
    case plat::WM_CANCELMODE: CancelModeMessage(M); return;
    case plat::WM_COMMAND: ComboCommand(M); return;
    case plat::WM_PAINT: PaintMessage(M); return;
    case plat::CM_DIALOGCHAR:
      // Accelerators reach the search panel's buttons while it is shown.
      M.Result = FSearchFooter.Visible() && SearchPanelAccelerator(QChar(static_cast<char16_t>(M.WParam))) ? 1 : 0;
      return;
    case plat::WM_THEMECHANGED:
    case controls::WM_OFFICETHEMECHANGE:
      if (AutoThemeAdapt) AdaptToOfficeTheme();
      break;
    case plat::WM_SIZE: SizeMessage(M); return;
    case plat::WM_LBUTTONUP:
      MouseOrBaseDispatch(M);
      if (ScrollProportional) {
        FScrolling.UpdateVertProportional();
        FScrolling.UpdateHorzProportional();
      }
      return;
    default: break;
  }
  // The synchronised grid follows a row the handling moved.
  const int row = Row();
  MouseOrBaseDispatch(M);
  if (Row() != row && FSyncGrid.SelectionRow) FollowSyncGrid();
}

void TExtStringGrid::HandleKeyDown(std::uint16_t& Key, plat::TShiftState Shift) {
  FKeys.BeforeBaseKeyDown();
  const std::uint16_t key = Key;
  TRenderGrid::HandleKeyDown(Key, Shift);
  FKeys.AfterBaseKeyDown(key, Shift);
}

void TExtStringGrid::KeyPress(char16_t& Key) {
  if (FKeys.KeyPress(Key) && Key != 0) TRenderGrid::KeyPress(Key);
}

void TExtStringGrid::KeyUp(std::uint16_t& Key, plat::TShiftState Shift) { FKeys.KeyUp(Key, Shift); }

bool TExtStringGrid::DoMouseWheelDown(plat::TShiftState Shift, plat::TPoint MousePos) {
  bool result = false;
  if (FScrolling.HandleWheel(true, Shift, MousePos, result)) return result;
  const int left = LeftCol();
  const bool keep = Options().Contains(plat::goRowSelect) && FNavigation.KeepHorizScroll;
  TUpdateGuard guard(*this);
  result = TRenderGrid::DoMouseWheelDown(Shift, MousePos);
  if (keep) SetLeftCol(left);
  return result;
}

bool TExtStringGrid::DoMouseWheelUp(plat::TShiftState Shift, plat::TPoint MousePos) {
  bool result = false;
  if (FScrolling.HandleWheel(false, Shift, MousePos, result)) return result;
  if (Row() >= RowCount() || Col() >= ColCount()) return true;
  const int left = LeftCol();
  const bool keep = Options().Contains(plat::goRowSelect) && FNavigation.KeepHorizScroll;
  TUpdateGuard guard(*this);
  result = TRenderGrid::DoMouseWheelUp(Shift, MousePos);
  if (keep) SetLeftCol(left);
  return result;
}

void TExtStringGrid::TopLeftChanged() {
  TRenderGrid::TopLeftChanged();
  FScrolling.TopLeftChanged();
}

// ---- focus ---------------------------------------------------------------------------------------------------------

void TExtStringGrid::DoEnter() {
  if (FBlockFocus) return;
  // The cell's value is remembered whatever the enter handling does.
  struct TRemember {
    TExtStringGrid& G;
    ~TRemember() { G.RememberCellValue(G.Col(), G.Row()); }
  } remember{*this};
  TRenderGrid::DoEnter();
  // The edit state follows the cell the focus comes back to (an edit still open keeps its cell as it is).
  if ((Options().Contains(plat::goEditing) || FMouseActions.RangeSelectAndEdit) && !EditorMode() && !EditMode())
    UpdateEditMode();
}

void TExtStringGrid::DoExit() {
  if (FBlockKill) return;
  if (FSelChange && FMouseActions.DisjunctRowSelect()) SelectionToRowSelect(false);
  FSelChange = false;
  TRenderGrid::DoExit();
}

void TExtStringGrid::Click() {
  TRenderGrid::Click();
  RememberCellValue(Col(), Row());
}

// ---- small operations the keys and scrolling use ------------------------------------------------------------

void TExtStringGrid::AddRow() {
  if (FFloatingFooter.Visible() && RowCount() > FixedRows())
    InsertRows(RowCount() - 1, 1);
  else
    SetRowCount(RowCount() + 1);
}

void TExtStringGrid::ClickCell(int ACol, int ARow) {
  const plat::TRect r = CellRect(ACol, ARow);
  if (r.Width() <= 0 || r.Height() <= 0) return;
  const plat::LPARAM at = plat::MakeLParam(r.Left + 2, r.Top + 2);
  Perform(plat::WM_LBUTTONDOWN, plat::MK_LBUTTON, at);
  Perform(plat::WM_LBUTTONUP, 0, at);
}

// The memory keeps the real column, as the edit validation reads it.
void TExtStringGrid::RememberCellValue(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0 || ARow >= RowCount()) return;
  CellEntered(RealColIndex(ACol), ARow);
}

void TExtStringGrid::DoSelectionChanged(int ALeft, int ATop, int ARight, int ABottom) {
  const TGridLook look = Look();
  if (look == glVista || look == glWin7 || look == glOffice2007) RepaintRect({ALeft, ATop, ARight, ABottom});
  FSelChange = true;
  if (OnSelectionChanged) OnSelectionChanged(this);
}

void TExtStringGrid::FollowSyncGrid() {
  auto* sync = dynamic_cast<TExtStringGrid*>(FSyncGrid.Grid());
  if (!sync || sync == this) return;
  if (FSyncGrid.SelectionColumn && Col() < sync->ColCount()) sync->SetCol(Col());
  if (FSyncGrid.SelectionRow && Row() < sync->RowCount()) sync->SetRow(Row());
}

plat::TCanvas* TExtStringGrid::FooterCanvas() const { return FooterPanel() ? FooterPanel()->Canvas() : nullptr; }

// ---- the grid timer -----------------------------------------------------------------------------------------------

void TExtStringGrid::GridTimerTick() {
  ++FTimerTicks;
  FKeys.SearchTick();
  if (Hovering && !IsDesigning() && Widget() && Widget()->underMouse()) {
    const QPoint p = Widget()->mapFromGlobal(QCursor::pos());
    int c = -1, r = -1;
    MouseToCell(p.x(), p.y(), c, r);
    if (c >= FixedCols() && r >= FixedRows() && c < ColCount() && r < RowCount()) {
      if (CanFocus()) SetFocus();
      SetRow(r);
      SetCol(c);
    }
  }
  if (!EnableBlink) return;
  FGridBlink = !FGridBlink;
  auto blink = [this](int c, int r) {
    if (c < 0 || r < 0 || c >= ColCount() || r >= RowCount()) return;
    if (Cells(RealColIndex(c), r).contains(QLatin1String("<BLI"), Qt::CaseInsensitive)) RepaintCell(c, r);
  };
  const int top = TopRow(), rows = VisibleRowCount(), left = LeftCol(), cols = VisibleColCount();
  for (int r = top; r < top + rows; ++r)
    for (int c = left; c < left + cols + NumHiddenColumns(); ++c) blink(c, r);
  for (int r = 0; r < FixedRows(); ++r)
    for (int c = left; c < left + cols; ++c) blink(c, r);
  for (int c = 0; c < FixedCols(); ++c)
    for (int r = top; r < top + rows; ++r) blink(c, r);
}

// ---- the footer panel's room ---------------------------------------------------------------------------------------

plat::TRect TExtStringGrid::ClientRect() const {
  plat::TRect r = TRenderGrid::ClientRect();
  if (FooterPanel() && FooterPanel()->Visible()) r.Bottom = std::max(r.Top, r.Bottom - FooterPanel()->Height());
  if (FSearchFooter.Visible()) r.Bottom = std::max(r.Top, r.Bottom - TCellEntry::SearchPanelHeight);
  return r;
}

void TExtStringGrid::AlignControls(plat::TControl* AControl, plat::TRect& Rect) {
  const int footer = FooterPanel() && FooterPanel()->Visible() ? FooterPanel()->Height() : 0;
  Rect.Bottom += footer;
  // The search panel sits in the room ClientRect keeps free for it at the bottom.
  if (FSearchFooter.Visible()) Rect.Bottom += TCellEntry::SearchPanelHeight;
  TRenderGrid::AlignControls(AControl, Rect);
  // The horizontal bar goes below the footer, and the vertical bar runs down beside it.
  if (footer <= 0 || !Widget()) return;
  const int bottom = ClientRect().Bottom + footer;
  if (auto* bar = Widget()->findChild<QScrollBar*>(QStringLiteral("HorzScrollBar"), Qt::FindDirectChildrenOnly))
    if (bar->isVisible()) bar->move(bar->x(), bottom);
  if (auto* bar = Widget()->findChild<QScrollBar*>(QStringLiteral("VertScrollBar"), Qt::FindDirectChildrenOnly))
    if (bar->isVisible()) bar->resize(bar->width(), bottom);
}

}  // namespace grid
