// The thin custom scroll bar and the header drag button.
#include "grid/input/scroll_bar.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>

#include "grid/extgrid.h"
#include "grid/view/html_cell.h"
#include "platform/graphics/drawtext.h"

namespace grid {

using plat::TRect;

// ---- TScrollControl -------------------------------------------------------------------------------------------

TScrollControl::TScrollControl(plat::TComponent* AOwner) : plat::TCustomControl(AOwner) {
  // Only the thumb is drawn: the grid shows through everywhere else.
  Widget()->setAttribute(Qt::WA_OpaquePaintEvent, false);
  SetColor(plat::clSilver);
}

TExtStringGrid* TScrollControl::OwnerGrid() const { return dynamic_cast<TExtStringGrid*>(Parent()); }

int TScrollControl::TrackStart() const {
  const TExtStringGrid* g = OwnerGrid();
  if (!g) return 0;
  int s = 0;
  if (Vert())
    for (int i = 0; i < g->FixedRows(); ++i) s += g->RowHeights(i);
  else
    for (int i = 0; i < g->FixedCols(); ++i) s += g->ColWidths(i);
  return s;
}

int TScrollControl::TrackLength() const {
  const TExtStringGrid* g = OwnerGrid();
  if (!g) return 0;
  int l = (Vert() ? Height() : Width()) - TrackStart();
  if (Vert())
    for (int i = std::max(0, g->RowCount() - g->FixedFooters()); i < g->RowCount(); ++i) l -= g->RowHeights(i);
  else
    for (int i = std::max(0, g->ColCount() - g->FixedRightCols()); i < g->ColCount(); ++i) l -= g->ColWidths(i);
  return l;
}

bool TScrollControl::CanScroll() const {
  const TExtStringGrid* g = OwnerGrid();
  if (!g) return false;
  return Vert() ? g->VisibleRowCount() < g->RowCount() - g->FixedRows()
                : g->VisibleColCount() < g->ColCount() - g->FixedCols();
}

bool TScrollControl::ThumbBounds(int& Pos, int& Size) const {
  const TExtStringGrid* g = OwnerGrid();
  Pos = Size = 0;
  const int l = TrackLength();
  // Nothing to scroll, or no room for a track: no thumb (and nothing to divide by).
  if (!g || !CanScroll() || l <= 0) return false;
  const int count = Vert() ? g->RowCount() : g->ColCount();
  const int fixed = Vert() ? g->FixedRows() : g->FixedCols();
  const int first = Vert() ? g->TopRow() : g->LeftCol();
  const int visible = Vert() ? g->VisibleRowCount() : g->VisibleColCount();
  const double f = static_cast<double>(first - fixed) / (count - fixed);
  const double v = static_cast<double>(visible) / count;
  Pos = TrackStart() + static_cast<int>(std::lround(l * f));
  Size = std::max(20, static_cast<int>(std::lround(l * v)));
  const int extent = Vert() ? Height() : Width();
  if (Pos + Size > extent) Pos = extent - Size;
  return true;
}

void TScrollControl::Dispatch(plat::TMessage& M) {
  QWidget* w = Widget();
  if (M.Msg != plat::WM_PAINT || !w || w->width() <= 0 || w->height() <= 0) {
    plat::TCustomControl::Dispatch(M);
    return;
  }
  QImage buffer(w->size(), QImage::Format_ARGB32_Premultiplied);
  buffer.fill(Qt::transparent);
  Canvas()->SetDevice(&buffer);
  Paint();
  Canvas()->SetDevice(nullptr);
  QPainter p(w);
  p.drawImage(0, 0, buffer);
}

void TScrollControl::Paint() {
  plat::TCanvas& c = *Canvas();
  c.Pen()->SetColor(Color());
  c.Brush()->SetColor(Color());
  int p = 0, z = 0;
  if (!ThumbBounds(p, z)) return;
  if (Vert())
    c.FillRect(TRect(0, p, ScrollWidth, p + z));
  else
    c.FillRect(TRect(p, 0, p + z, ScrollWidth));
}

void TScrollControl::MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) {
  plat::TCustomControl::MouseDown(Button, Shift, X, Y);
  TExtStringGrid* g = OwnerGrid();
  int p = 0, z = 0;
  if (!g || !ThumbBounds(p, z)) return;
  const int at = Vert() ? Y : X;
  if (Vert()) {
    if (at < p) g->SetTopRow(std::max(g->FixedRows(), g->TopRow() - g->VisibleRowCount()));
    else if (at > p + z) g->SetTopRow(std::min(g->TopRow() + g->VisibleRowCount(), g->RowCount() - g->VisibleRowCount()));
  } else {
    if (at < p) g->SetLeftCol(std::max(g->FixedCols(), g->LeftCol() - g->VisibleColCount()));
    else if (at > p + z) g->SetLeftCol(std::min(g->LeftCol() + g->VisibleColCount(), g->ColCount() - g->VisibleColCount()));
  }
  if (at >= p && at <= p + z) {
    FDownOnScroller = true;
    FDownPos = at;
    FDownRow = Vert() ? g->TopRow() : g->LeftCol();
  }
  Invalidate();
}

void TScrollControl::MouseMove(plat::TShiftState Shift, int X, int Y) {
  plat::TCustomControl::MouseMove(Shift, X, Y);
  TExtStringGrid* g = OwnerGrid();
  if (!g || !FDownOnScroller) return;
  const int span = Vert() ? Height() - g->RowHeights(0) : Width() - g->ColWidths(0);
  if (span <= 0) return;
  const int count = Vert() ? g->RowCount() : g->ColCount();
  const int n = static_cast<int>(std::lround(static_cast<double>((Vert() ? Y : X) - FDownPos) / span * count));
  if (Vert())
    g->SetTopRow(std::max(g->FixedRows(), std::min(n + FDownRow, g->RowCount() - g->VisibleRowCount())));
  else
    g->SetLeftCol(std::max(g->FixedCols(), std::min(n + FDownRow, g->ColCount() - g->VisibleColCount())));
  Invalidate();
}

void TScrollControl::MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) {
  plat::TCustomControl::MouseUp(Button, Shift, X, Y);
  FDownOnScroller = false;
}

// ---- THeaderDragButton ----------------------------------------------------------------------------------------

THeaderDragButton::THeaderDragButton(plat::TComponent* AOwner) : plat::TCustomControl(AOwner) {
  if (QWidget* w = Widget()) {
    w->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    w->setAttribute(Qt::WA_ShowWithoutActivating);
  }
  SetColor(plat::clBtnFace);
  SetVisible(false);
}

void THeaderDragButton::Paint() {
  plat::TCanvas& c = *Canvas();
  TRect r = ClientRect();
  if (Grid) Grid->PaintCellExt(c, 0, 0, r, {});
  c.Brush()->SetStyle(plat::bsClear);
  if (Grid) c.Font()->Assign(&Grid->RenderSettings().FixedFont);
  const QString s = Caption();
  if (!s.contains(QLatin1String("</"))) {
    c.DrawText(s, r, plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE | plat::DT_END_ELLIPSIS);
  } else {
    THTMLCell h;
    h.Text = s;
    h.Rect = r;
    h.Images = Grid ? Grid->ImageList(0, 0) : nullptr;
    h.Render(c);
  }
  // The popup's border.
  c.Brush()->SetStyle(plat::bsClear);
  c.Pen()->SetColor(plat::clBlack);
  c.Rectangle(r);
}

}  // namespace grid
