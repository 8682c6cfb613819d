// Wheel panning (a middle click sets an origin; the view then follows the cursor's direction from it one
// row and column per timer step) and the thin custom scroll bars of ScrollType ssMetro.
#include <QWidget>

#include <algorithm>

#include "grid/extgrid.h"
#include "grid/input/input_host.h"
#include "grid/input/scroll_bar.h"
#include "grid/input/scrolling.h"
#include "platform/forms/keys.h"

namespace grid {

using plat::TPoint;

namespace {
constexpr std::uintptr_t PanTimerId = 999;
constexpr unsigned PanTimerMs = 10;
constexpr int PanOriginSize = 32;
// The platform's stand-ins for the pan cursors: the sizing arrows of the direction.
plat::TCursor ShapeOf(int id) {
  switch (id) {
    case 8001: case 8004: return plat::crSizeNS;
    case 8002: case 8003: return plat::crSizeWE;
    case 8005: case 8008: return plat::crSizeNESW;
    case 8006: case 8007: return plat::crSizeNWSE;
    default: return plat::crSizeAll;
  }
}
}  // namespace

bool TGridScrolling::PanMessage(plat::TMessage& M) {
  TExtStringGrid& g = FGrid;
  const bool press = M.Msg == plat::WM_MBUTTONDOWN || M.Msg == plat::WM_LBUTTONDOWN || M.Msg == plat::WM_RBUTTONDOWN;
  if (FPanning && (press || M.Msg == plat::WM_KEYDOWN)) {
    EndPan();
    return M.Msg == plat::WM_MBUTTONDOWN;
  }
  if (FPanning && M.Msg == plat::WM_TIMER) {
    PanStep();
    return M.WParam == PanTimerId;
  }
  if (M.Msg == plat::WM_MBUTTONDOWN && g.IntelliPan != ipNone && g.RowCount() > g.FixedRows()) {
    FPanning = true;
    FPanOrigin = TPoint(static_cast<std::int16_t>(M.LParamLo()), static_cast<std::int16_t>(M.LParamHi()));
    FPanCursor = 8000;
    g.SetCursor(ShapeOf(FPanCursor));
    g.SetTimer(PanTimerId, PanTimerMs);
    g.SetMouseCapture(true);
    g.SetShowHint(false);
    InvalidatePanOrigin();
    return true;
  }
  return false;
}

void TGridScrolling::EndPan() {
  TExtStringGrid& g = FGrid;
  g.SetMouseCapture(false);
  g.KillTimer(PanTimerId);
  g.SetCursor(plat::crDefault);
  g.SetShowHint(true);
  FPanning = false;
  InvalidatePanOrigin();
}

void TGridScrolling::PanStep() {
  TExtStringGrid& g = FGrid;
  const TPoint p = ClientCursor();
  const plat::TGridRect sel0 = g.Selection();
  int v = p.Y < FPanOrigin.Y - 5 ? -1 : p.Y > FPanOrigin.Y + 5 ? 1 : 0;
  if (g.IntelliPan == ipHorizontal) v = 0;
  int h = 0;
  if (g.IntelliPan != ipVertical) h = p.X > FPanOrigin.X + 5 ? 1 : p.X < FPanOrigin.X - 5 ? -1 : 0;
  FPanCursor = PanCursorId(v, h);
  const int lastRow = g.RowCount() - g.FixedFooters() - 1, lastCol = g.ColCount() - g.FixedRightCols() - 1;
  if (g.Row() > lastRow) g.SetRow(lastRow);
  if (g.Row() < g.FixedRows()) g.SetRow(g.FixedRows());
  if (g.Col() > lastCol) g.SetCol(lastCol);
  if (g.Col() < g.FixedCols()) g.SetCol(g.FixedCols());
  if (g.MouseActions()->WheelAction() == waScroll) {
    auto move = [&](bool cond, auto&& act) {
      if (!cond) return;
      InvalidatePanOrigin();
      act();
    };
    move(h == -1 && g.LeftCol() > g.FixedCols(), [&] { g.SetLeftCol(g.LeftCol() - 1); });
    move(h == 1 && g.LeftCol() < g.ColCount() - g.VisibleColCount(), [&] { g.SetLeftCol(g.LeftCol() + 1); });
    move(v == -1 && g.TopRow() > g.FixedRows(), [&] { g.SetTopRow(g.TopRow() - 1); });
    move(v == 1 && g.TopRow() < g.RowCount() - g.VisibleRowCount(), [&] { g.SetTopRow(g.TopRow() + 1); });
  } else {
    const int top = g.TopRow(), left = g.LeftCol();
    if (h == -1 && g.Col() > g.FixedCols()) g.SetCol(g.Col() - 1);
    if (h == 1 && g.Col() < lastCol) g.SetCol(g.Col() + 1);
    if (v == -1 && g.Row() > g.FixedRows()) g.SetRow(g.Row() - 1);
    if (v == 1 && g.Row() < lastRow) g.SetRow(g.Row() + 1);
    if (top != g.TopRow() || left != g.LeftCol()) InvalidatePanOrigin();
  }
  g.SetCursor(ShapeOf(FPanCursor));
  InvalidatePanOrigin();
  if (!(g.Selection() == sel0)) {
    const plat::TGridRect s = g.Selection();
    g.DoSelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
  }
}

void TGridScrolling::InvalidatePanOrigin() {
  if (QWidget* w = FGrid.Widget()) w->update(FPanOrigin.X, FPanOrigin.Y, PanOriginSize, PanOriginSize);
}

// The origin glyph: a white disc with the arrows of the panning directions, drawn over the cells.
void TGridScrolling::DrawPanOrigin(plat::TCanvas& Canvas) {
  if (!FPanning) return;
  const int x = FPanOrigin.X, y = FPanOrigin.Y, s = PanOriginSize;
  Canvas.Pen()->SetColor(plat::clGray);
  Canvas.Brush()->SetColor(plat::clWhite);
  Canvas.Ellipse(x + 2, y + 2, x + s - 2, y + s - 2);
  Canvas.Brush()->SetColor(plat::clBlack);
  Canvas.Pen()->SetColor(plat::clBlack);
  const int cx = x + s / 2, cy = y + s / 2;
  auto arrow = [&](int dx, int dy) {
    const TPoint tip(cx + dx * 10, cy + dy * 10);
    const TPoint a(cx + dx * 5 - dy * 4, cy + dy * 5 - dx * 4), b(cx + dx * 5 + dy * 4, cy + dy * 5 + dx * 4);
    const TPoint pts[3] = {tip, a, b};
    Canvas.Polygon(pts);
  };
  if (FGrid.IntelliPan != ipHorizontal) {
    arrow(0, -1);
    arrow(0, 1);
  }
  if (FGrid.IntelliPan != ipVertical) {
    arrow(-1, 0);
    arrow(1, 0);
  }
  Canvas.Ellipse(cx - 2, cy - 2, cx + 2, cy + 2);
}

// ---- drag scrolling -------------------------------------------------------------------------------------------

void TGridScrolling::DragOver(int X, int Y, TDragState State) {
  TExtStringGrid& g = FGrid;
  TDragScrollOptions& o = *g.DragScrollOptions();
  if (!o.Active || State == dsDragLeave) {
    FDragTimer.reset();
    return;
  }
  int dir = 0;
  if (Y < o.Margins()->TopMargin) dir |= dsdUp;
  else if (Y > g.Height() - o.Margins()->BottomMargin) dir |= dsdDown;
  if (X < o.Margins()->LeftMargin) dir |= dsdLeft;
  else if (X > g.Width() - o.Margins()->RightMargin) dir |= dsdRight;
  if (dir == 0) {
    FDragTimer.reset();
  } else if (!FDragTimer) {
    FDragTimer = std::make_unique<QTimer>();
    QObject::connect(FDragTimer.get(), &QTimer::timeout, [this] { DragScrollTick(); });
    FDragTimer->start(o.Delays()->InitialDelay);
  } else if (FDragDir != 0) {
    FDragTimer->setInterval(o.Delays()->InitialDelay);
  }
  FDragDir = dir;
}

void TGridScrolling::DragScrollTick() {
  TExtStringGrid& g = FGrid;
  TDragScrollOptions& o = *g.DragScrollOptions();
  if (!o.Active) {
    FDragTimer.reset();
    return;
  }
  if (FDragTimer) FDragTimer->setInterval(o.Delays()->RepeatDelay);
  int dir = FDragDir;
  bool can = true;
  if (g.OnDragScroll) g.OnDragScroll(&g, g.TopRow(), g.LeftCol(), dir, can);
  if (!can) return;
  if ((dir & dsdUp) && g.TopRow() > g.FixedRows()) g.SetTopRow(g.TopRow() - 1);
  if ((dir & dsdDown) && g.TopRow() + g.VisibleRowCount() < g.RowCount()) g.SetTopRow(g.TopRow() + 1);
  if ((dir & dsdLeft) && g.LeftCol() > g.FixedCols()) g.SetLeftCol(g.LeftCol() - 1);
  if ((dir & dsdRight) && g.LeftCol() + g.VisibleColCount() < g.ColCount()) g.SetLeftCol(g.LeftCol() + 1);
}

int TGridScrolling::DragTimerInterval() const { return FDragTimer ? FDragTimer->interval() : -1; }

// ---- the custom bars ------------------------------------------------------------------------------------------

void TGridScrolling::UpdateMetroBars() {
  TExtStringGrid& g = FGrid;
  if (g.ScrollType == ssMetro) {
    if (!FVertBar) {
      FVertBar = new TScrollControl(&g);
      FVertBar->SetDirection(sdVertical);
      FVertBar->SetWidth(6);
      FVertBar->SetAlign(plat::alRight);
      FVertBar->SetParent(&g);
    }
    if (!FHorzBar) {
      FHorzBar = new TScrollControl(&g);
      FHorzBar->SetDirection(sdHorizontal);
      FHorzBar->SetHeight(6);
      FHorzBar->SetAlign(plat::alBottom);
      FHorzBar->SetParent(&g);
    }
    return;
  }
  delete FVertBar;
  delete FHorzBar;
  FVertBar = FHorzBar = nullptr;
}

}  // namespace grid
