// The string grid's view movements: scroll hints, synchronous scrolling, proportional scroll bars, what follows
// a top-left change, the wheel, wheel panning and zoom.
#include "grid/input/scrolling.h"

#include <QCursor>
#include <QWidget>

#include <algorithm>
#include <cmath>

#include "grid/extgrid.h"
#include "grid/input/input_host.h"
#include "grid/input/scroll_bar.h"
#include "grid/view/hint_window.h"
#include "platform/forms/keys.h"

namespace grid {

using plat::TPoint;

namespace {
// a * b / c to the nearest integer.
int MulDiv(int a, int b, int c) {
  if (c == 0) return 0;
  const std::int64_t p = static_cast<std::int64_t>(a) * b;
  return static_cast<int>((p >= 0 ? p + c / 2 : p - c / 2) / c);
}
}  // namespace

int PanCursorId(int V, int H) {
  static constexpr int ids[3][3] = {{8006, 8004, 8005}, {8002, 8000, 8003}, {8008, 8001, 8007}};
  return ids[V + 1][H + 1];
}

TGridScrolling::TGridScrolling(TExtStringGrid& Grid, TInputHost& Host) : FGrid(Grid), FHost(Host) {}
TGridScrolling::~TGridScrolling() {
  delete FVertBar;
  delete FHorzBar;
}

// ---- scroll messages ------------------------------------------------------------------------------------------

int TGridScrolling::RowOfPosition(int Pos) const {
  const TExtStringGrid& g = FGrid;
  // With every row in view the count is negative; the row stays within the scrollable rows.
  const int n = std::max(0, g.RowCount() - g.VisibleRowCount() - g.FixedRows());
  return MulDiv(Pos, n, plat::GridScrollRange) + g.FixedRows();
}

int TGridScrolling::ColOfPosition(int Pos) const {
  const TExtStringGrid& g = FGrid;
  const int n = std::max(0, g.ColCount() - g.VisibleColCount() - g.FixedCols());
  return MulDiv(Pos, n, plat::GridScrollRange) + g.FixedCols();
}

// The cells a fixed background picture covers now (nothing without one).
plat::TGridRect TGridScrolling::BackgroundCells() const {
  TExtStringGrid& g = FGrid;
  TBackGround& bg = *g.BackGround();
  if (bg.Display() != bdFixed || bg.Bitmap()->Empty()) return {-1, -1, -1, -1};
  int c1 = -1, r1 = -1, c2 = -1, r2 = -1;
  g.MouseToCell(bg.Left(), bg.Top(), c1, r1);
  g.MouseToCell(bg.Left() + bg.Bitmap()->Width(), bg.Top() + bg.Bitmap()->Height(), c2, r2);
  if (c2 < 0) c2 = g.LeftCol() + g.VisibleColCount();
  if (r2 < 0) r2 = g.TopRow() + g.VisibleRowCount();
  return {std::max(c1, 0), std::max(r1, 0), c2, r2};
}

// After a scroll the picture covers other cells: the old and the new ones are repainted.
void TGridScrolling::RepaintBackground(const plat::TGridRect& Before) {
  if (Before.Left < 0) return;
  const plat::TGridRect now = BackgroundCells();
  if (now == Before) return;
  FGrid.RepaintRect(Before);
  FGrid.RepaintRect(now);
}

// The editor of a check box cell does not scroll with its cell: it closes.
void TGridScrolling::CloseCheckBoxEditor() {
  TExtStringGrid& g = FGrid;
  if (g.EditMode() && g.HasCheckBox(g.RealCol(), g.Row())) g.HideInplaceEdit();
}

void TGridScrolling::ScrollMessage(plat::TMessage& M, bool Vert) {
  TExtStringGrid& g = FGrid;
  const int code = M.WParamLo();
  int pos = static_cast<std::int16_t>(M.WParamHi());
  // The flat kinds keep room for the thumb: a position maps back over the range that is left.
  if (!Vert && code == plat::SB_THUMBPOSITION && (g.ScrollType == ssFlat || g.ScrollType == ssEncarta) &&
      g.ColCount() > 0) {
    const int k = static_cast<int>(std::lround(g.VisibleColCount() * 128.0 / g.ColCount()));
    if (k != 128) pos = static_cast<int>(std::lround(pos * 127.0 / (128 - k)));
    M.WParam = plat::MakeWParam(code, pos);
  }
  const TScrollHintType want = Vert ? shVertical : shHorizontal;
  if (g.ScrollHints == want || g.ScrollHints == shBoth) {
    if (code == plat::SB_ENDSCROLL) {
      HideHint();
    } else if (code == plat::SB_THUMBTRACK) {
      const int at = Vert ? RowOfPosition(pos) : ColOfPosition(pos);
      QString text = (Vert ? QStringLiteral("Row : ") : QStringLiteral("Col : ")) + QString::number(at);
      if (g.OnScrollHint) g.OnScrollHint(&g, at, text);
      ShowHint(text);
    }
  }
  if (code == plat::SB_THUMBTRACK && g.ScrollSynch) {
    if (Vert)
      g.SetTopRow(RowOfPosition(pos));
    else
      g.SetLeftCol(ColOfPosition(pos));
  }
  if (!Vert && g.FixedCols() == 0 && ColOfPosition(pos) >= g.Col() && code == plat::SB_THUMBPOSITION)
    FHost.HideEditor();
  const plat::TGridRect covered = BackgroundCells();
  // With the search panel shown the view goes no further down once the last row ends above it.
  if (Vert && (code == plat::SB_ENDSCROLL || code == plat::SB_LINEDOWN) && g.LastRowAboveSearchPanel() &&
      g.TopRow() >= g.RowCount() - g.VisibleRowCount()) {
    M.Result = 1;
    return;
  }
  g.TRenderGrid::Dispatch(M);
  if (code != plat::SB_THUMBTRACK) RepaintBackground(covered);
  CloseCheckBoxEditor();
  if (Vert) return;
  if (code == plat::SB_ENDSCROLL && g.ColCount() == 1) g.Invalidate();
  if (g.FooterPanel()) g.FooterPanel()->Invalidate();
}

void TGridScrolling::ShowHint(const QString& Text) {
  if (!FHint) FHint = std::make_unique<THTMLHintWindow>(nullptr);
  const TPoint p = FGrid.ClientToScreen(ClientCursor());
  FHint->ShowAt(TPoint(p.X + 10, p.Y), 100, Text, FGrid.HintColor);
  FHintShow = true;
}

void TGridScrolling::HideHint() {
  if (FHint) FHint->ReleaseHint();
  FHintShow = false;
}

TPoint TGridScrolling::ClientCursor() const {
  if (CursorPos) return CursorPos();
  const QPoint p = FGrid.Widget()->mapFromGlobal(QCursor::pos());
  return TPoint(p.x(), p.y());
}

// ---- proportional scroll bars ------------------------------------------------------------------------------------

namespace {
// Pixel sums along one axis: B the fixed part, C the normal part, D the normal part before the first shown
// index; each index counts its size and a grid line, and each sum starts with one line.
struct TAxisSums {
  std::int64_t B, C, D;
};
template <class SizeOf>
TAxisSums SumAxis(int Line, int Fixed, int Count, int First, SizeOf Size) {
  TAxisSums s{Line, Line, Line};
  for (int i = 0; i < Fixed; ++i) s.B += Line + Size(i);
  for (int i = Fixed; i < Count; ++i) {
    s.C += Line + Size(i);
    if (i < First) s.D += Line + Size(i);
  }
  return s;
}
// The bar's range for the visible fraction E: a page of Max - 126 leaves the 127 thumb positions.
void SetProportional(TExtStringGrid& g, int Bar, float E, double Pos) {
  const int max = static_cast<int>(std::min<double>((E + 127) / (1 - E), 1 << 30));
  plat::TScrollInfo si;
  si.fMask = plat::SIF_RANGE | plat::SIF_PAGE | plat::SIF_POS;
  si.nMin = 0;
  si.nMax = max;
  si.nPage = static_cast<unsigned>(std::max(0, max - 126));
  si.nPos = static_cast<int>(Pos);
  g.SetScrollInfo(Bar, si, true);
}
}  // namespace

void TGridScrolling::UpdateHorzProportional() {
  TExtStringGrid& g = FGrid;
  if (!g.ScrollProportional || ScrollLock || FHost.IsLoading() || FHost.IsDesigning()) return;
  const int l = g.GridLineWidth();
  const TAxisSums s = SumAxis(l, g.FixedCols(), g.ColCount(), g.LeftCol(), [&g](int i) { return g.ColWidths(i); });
  // Without any normal column there is nothing to scroll (and nothing to divide by).
  if (s.C <= l) return;
  const int w = g.Width();
  const float e = static_cast<float>(w - s.B) / static_cast<float>(s.C);
  if (e >= 0.9999f || s.B + s.C - w < 5) return;
  plat::TScrollInfo now;
  now.fMask = plat::SIF_ALL;
  g.GetScrollInfo(plat::SB_HORZ, now);
  SetProportional(g, plat::SB_HORZ, e, w < s.C ? static_cast<double>(s.D) / static_cast<double>(s.C - w) * 128 : now.nPos);
  if (g.ScrollBarAlways != saHorz && g.ScrollBarAlways != saBoth) {
    const bool horz = g.ScrollBars() == plat::ssHorizontal || g.ScrollBars() == plat::ssBoth;
    g.ShowScrollBar(plat::SB_HORZ, horz && g.GridWidth() >= w);
  }
}

void TGridScrolling::UpdateVertProportional() {
  TExtStringGrid& g = FGrid;
  if (!g.ScrollProportional || ScrollLock || FHost.IsLoading() || FHost.IsDesigning()) return;
  if (g.VisibleRowCount() + g.FixedRows() >= g.RowCount()) return;
  const TAxisSums s =
      SumAxis(g.GridLineWidth(), g.FixedRows(), g.RowCount(), g.TopRow(), [&g](int i) { return g.RowHeights(i); });
  if (s.C == 0) return;
  const int h = g.Height();
  const float e = static_cast<float>(h - s.B) / static_cast<float>(s.C);
  if (e >= 0.9999f) return;
  SetProportional(g, plat::SB_VERT, e, h < s.C ? static_cast<double>(s.D) / static_cast<double>(s.C - h) * 128 : 127);
}

// ---- top-left change ----------------------------------------------------------------------------------------------

void TGridScrolling::TopLeftChanged() {
  TExtStringGrid& g = FGrid;
  const plat::TGridRect s = g.Selection();
  if (g.SelectionRectangle() && s.Top != s.Bottom) g.Invalidate();
  // The picture stays where it is on the window: the cells it covered before and covers now repaint.
  const plat::TGridRect now = BackgroundCells();
  if (now.Left >= 0 && OldLeftCol >= 0 && OldTopRow >= 0) {
    const int dx = OldLeftCol - g.LeftCol(), dy = OldTopRow - g.TopRow();
    g.RepaintRect({now.Left + dx, now.Top + dy, now.Right + dx, now.Bottom + dy});
    g.RepaintRect(now);
  }
  const TBackGroundDisplay d = g.BackGround()->Display();
  if ((d == bdTile && !g.BackGround()->Bitmap()->Empty()) ||
      ((d == bdGradientHorz || d == bdGradientVert) && g.BackGround()->ColorTo() != plat::clNone))
    g.Invalidate();
  if (g.EditMode() && g.EditControl() != edNormal) g.HideInplaceEdit();
  if (g.FooterPanel()) g.FooterPanel()->Invalidate();
  g.CellControlsUpdate(false);
  OldLeftCol = g.LeftCol();
  OldTopRow = g.TopRow();
  if (FHost.IsDesigning()) g.Invalidate();
  if (auto* sync = dynamic_cast<TExtStringGrid*>(g.SyncGrid()->Grid())) {
    if (g.SyncGrid()->ScrollVertical) sync->SetTopRow(g.TopRow());
    if (g.SyncGrid()->ScrollHorizontal) sync->SetLeftCol(g.LeftCol());
  }
  if (FVertBar) FVertBar->Invalidate();
  if (FHorzBar) FHorzBar->Invalidate();
  if (g.ScrollProportional) {
    UpdateVertProportional();
    UpdateHorzProportional();
  }
}

// ---- the wheel ----------------------------------------------------------------------------------------------------

bool TGridScrolling::WheelMessage(plat::TMessage& M) {
  TExtStringGrid& g = FGrid;
  if (FPanning) return false;
  const int delta = static_cast<std::int16_t>(M.WParamHi());
  const bool towards = delta < 0;
  const bool ctrl = plat::GetKeyState(plat::VK_CONTROL) < 0;
  if (g.OnParentWheel && g.OnParentWheel(delta)) return true;
  if (ctrl && g.IntelliZoom) {
    Zoom(towards ? WheelScroll : -WheelScroll);
    g.AutoSizeCells(true, 4, 4);
    return true;
  }
  M.Result = 0;
  if (!g.EnableWheel || (g.FixedRowAlways() && g.RowCount() == 1)) return true;
  const plat::TGridRect sel0 = g.Selection();
  TMouseActions& ma = *g.MouseActions();
  int step = ma.WheelIncrement >= 1 ? ma.WheelIncrement : WheelScroll;
  int target = g.Row();
  const bool scroll = ma.WheelAction() == waScroll;
  if (scroll) {
    if (towards) {
      if (g.TopRow() < g.RowCount() - g.VisibleRowCount()) g.SetTopRow(g.TopRow() + step);
    } else {
      if (g.TopRow() - step < g.FixedRows()) step = g.TopRow() - g.FixedRows();
      if (g.TopRow() > g.FixedRows()) g.SetTopRow(g.TopRow() - step);
    }
  } else {
    target = towards ? g.Row() + step : g.Row() - step;
  }
  target = std::clamp(target, g.FixedRows(), std::max(g.FixedRows(), g.RowCount() - g.FixedFooters() - 1));
  if (g.Col() >= g.ColCount() && g.Row() >= g.RowCount())
    g.FocusCell(g.ColCount() - 1, g.RowCount() - 1);
  else if (g.Col() >= g.ColCount())
    g.SetCol(g.ColCount() - 1);
  else if (g.Col() < g.FixedCols())
    g.SetCol(g.FixedCols());
  if (target >= 0 && target < g.RowCount()) {
    const int left = g.LeftCol();
    TUpdateGuard guard(g);
    if (ma.DisjunctRowSelect() && !scroll) g.ClearRowSelect();
    if (!scroll) {
      g.SetRow(target);
      if (g.Row() != target) {
        // Refused: half the way, halves to even, and the view one row up.
        const int half = static_cast<int>(std::nearbyint((target - g.Row()) / 2.0));
        g.SetRow(g.Row() + half);
        if (g.TopRow() > g.FixedRows()) g.SetTopRow(g.TopRow() - 1);
      }
    }
    if (g.Options().Contains(plat::goRowSelect) && g.Navigation()->KeepHorizScroll) g.SetLeftCol(left);
  }
  bool handled = true;
  g.WheelHook(delta, handled);
  if ((ma.WheelIncrement != 0 || ma.DisjunctRowSelect()) && handled) {
    M.Result = 1;
    bool h = false;
    plat::TShiftState shift;
    TPoint pos;
    if (ma.DisjunctRowSelect()) {
      if (plat::GetKeyState(plat::VK_SHIFT) < 0) shift.Include(plat::ssShift);
      if (ctrl) shift.Include(plat::ssCtrl);
      pos = TPoint(static_cast<std::int16_t>(M.LParamLo()), static_cast<std::int16_t>(M.LParamHi()));
    }
    auto& ev = towards ? g.OnMouseWheelDown : g.OnMouseWheelUp;
    if (ev) ev(&g, shift, pos, h);
  }
  if (!(g.Selection() == sel0)) {
    const plat::TGridRect s = g.Selection();
    g.DoSelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
  }
  return true;
}

bool TGridScrolling::HandleWheel(bool Down, plat::TShiftState Shift, TPoint MousePos, bool& Result) {
  TExtStringGrid& g = FGrid;
  if (g.MouseActions()->WheelAction() == waScroll || !g.EnableWheel) {
    bool handled = false;
    auto& ev = Down ? g.OnMouseWheelDown : g.OnMouseWheelUp;
    if (ev) ev(&g, Shift, MousePos, handled);
    Result = handled;
    return true;
  }
  return false;
}

void TGridScrolling::Zoom(int x) {
  TExtStringGrid& g = FGrid;
  const int z = g.ZoomFactor + x;
  if (z < -10 || z > 10) return;
  ScrollLock = true;
  g.ZoomFactor = z;
  for (int c = 0; c < g.ColCount(); ++c)
    if (g.ColWidths(c) > 0 && g.ColWidths(c) + x > 0) g.SetColWidths(c, g.ColWidths(c) + x);
  for (int r = 0; r < g.RowCount(); ++r)
    if (g.RowHeights(r) > 0 && g.RowHeights(r) + x > 0) g.SetRowHeights(r, g.RowHeights(r) + x);
  ScrollLock = false;
  if (g.ScrollProportional) {
    UpdateVertProportional();
    UpdateHorzProportional();
  }
  g.Invalidate();
}

}  // namespace grid
