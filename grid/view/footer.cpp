// The floating footer's settings and the panel that paints it.
#include "grid/view/footer.h"

#include <QWidget>

#include "grid/extgrid_events.h"
#include "grid/view/render_grid.h"
#include "grid/view/html_cell.h"
#include "platform/graphics/canvas.h"

namespace grid {

using plat::TRect;

// ---- TFloatingFooter ---------------------------------------------------------------------------------------------

void TFloatingFooter::Assign(plat::TPersistent* Source) {
  auto* f = dynamic_cast<TFloatingFooter*>(Source);
  if (!f) return;
  CalculateHiddenRows = f->CalculateHiddenRows;
  FColor = f->FColor;
  FColumn = f->FColumn;
  FCustomTemplate = f->FCustomTemplate;
  FFooterStyle = f->FFooterStyle;
  FShowHint = f->FShowHint;
  SetVisible(f->FVisible);
}

void TFloatingFooter::ApplyToGrid() {
  TRenderGrid& g = FHost.FooterGrid();
  g.SetHideLastRow(FVisible && FFooterStyle == fsFixedLastRow);
  g.Invalidate();
  if (FPanel) FPanel->Invalidate();
}

void TFloatingFooter::SetVisible(bool Value) {
  FVisible = Value;
  TRenderGrid& g = FHost.FooterGrid();
  if (Value && !FPanel) FPanel = new TFooterPanel(FHost, *this);
  if (TFooterPanel* p = FPanel) {
    p->SetHeight(Value ? std::max(0, FHeight - 1) : 0);
    p->SetVisible(Value);
  }
  FHost.SetFooterRows(Value && FFooterStyle == fsFixedLastRow ? 1 : 0);
  g.Realign();
  ApplyToGrid();
}

void TFloatingFooter::SetFooterStyle(TFooterStyle Value) {
  FFooterStyle = Value;
  ApplyToGrid();
}

void TFloatingFooter::SetHeight(int Value) {
  FHeight = Value;
  if (FPanel && Value > 0) {
    FPanel->SetHeight(Value - 1);
    FHost.FooterGrid().Realign();
  }
}

void TFloatingFooter::SetColor(plat::TColor Value) {
  FColor = Value;
  Invalidate();
}

void TFloatingFooter::SetBorderColor(plat::TColor Value) {
  if (FBorderColor == Value) return;
  FBorderColor = Value;
  Invalidate();
}

void TFloatingFooter::SetColumn(int Value) {
  FColumn = Value;
  Invalidate();
}

void TFloatingFooter::SetCustomTemplate(const QString& Value) {
  FCustomTemplate = Value;
  Invalidate();
}

void TFloatingFooter::SetShowHint(bool Value) {
  FShowHint = Value;
  if (FPanel) FPanel->SetShowHint(Value);
}

TColumnCalcType TFloatingFooter::GetColumnCalc(int ACol) const {
  TRenderGrid& g = FHost.FooterGrid();
  const int r = g.RowCount() - 1;
  if (r < 0 || !g.HasCellProperties(ACol, r)) return acNONE;
  return g.GetGridObject(ACol, r)->CalcType;
}

void TFloatingFooter::SetColumnCalc(int ACol, TColumnCalcType Value) {
  TRenderGrid& g = FHost.FooterGrid();
  const int r = g.RowCount() - 1;
  if (r < 0) return;
  g.GetCellProperties(ACol, r)->CalcType = Value;
  FHost.CalcFooterColumn(ACol);
}

void TFloatingFooter::Invalidate() {
  if (FPanel) FPanel->Invalidate();
}

// ---- the template -------------------------------------------------------------------------------------------------

QString ExpandFooterTemplate(const QString& Template, int ColCount, const std::function<QString(int)>& GetCell) {
  QString rest = Template, result;
  for (;;) {
    const int at = rest.indexOf(QLatin1String("<#"));
    if (at < 0) break;
    const int end = rest.indexOf(u'>', at);
    // A tag that never closes ends the expansion; its text stays as it is.
    if (end < 0) break;
    result += rest.left(at);
    bool ok = false;
    const int n = rest.mid(at + 2, end - at - 2).toInt(&ok);
    rest.remove(0, end + 1);
    if (ok && n >= 0 && n < ColCount) result += GetCell(n);
  }
  return result + rest;
}

// ---- TFooterPanel -----------------------------------------------------------------------------------------------

TFooterPanel::TFooterPanel(TFooterHost& Host, TFloatingFooter& Footer)
    : plat::TCustomControl(&Host.FooterGrid()), FHost(Host), FFooter(Footer) {
  SetAlign(plat::alBottom);
  SetHeight(0);
  TRenderGrid& g = FHost.FooterGrid();
  SetParent(&g);
  TExtGridEvents& ev = FHost.FooterEvents();
  if (ev.OnCreatedFloatingFooter) ev.OnCreatedFloatingFooter(&g, this);
}

TFooterPanel::~TFooterPanel() { FFooter.PanelGone(this); }

int TFooterPanel::FooterWidth() const {
  const TRenderGrid& g = FHost.FooterGrid();
  int w = 0;
  for (int c = 0; c < FHost.GridFixedCols(); ++c) w += g.ColWidths(c);
  for (int c = g.LeftCol(); c < g.ColCount(); ++c) w += g.ColWidths(c);
  return w;
}

int TFooterPanel::ColumnAt(int X) const {
  const TRenderGrid& g = FHost.FooterGrid();
  int x = 0;
  for (int c = 0; c < FHost.GridFixedCols(); ++c) {
    x += g.ColWidths(c);
    if (X < x) return c;
  }
  for (int c = g.LeftCol(); c < g.ColCount(); ++c) {
    x += g.ColWidths(c);
    if (X < x) return c;
  }
  return -1;
}

QString TFooterPanel::ExpandTemplate() const {
  TRenderGrid& g = FHost.FooterGrid();
  const int row = g.Row();
  return ExpandFooterTemplate(FFooter.CustomTemplate(), g.ColCount(), [this, &g, row](int n) {
    return row >= 0 && row < g.RowCount() ? g.Cells(FHost.FooterRealCol(n), row) : QString();
  });
}

void TFooterPanel::Paint() {
  plat::TCanvas& c = *Canvas();
  const TFloatingFooter& f = FFooter;
  switch (f.FooterStyle()) {
    case fsFixedLastRow: FLastRight = PaintFixedLastRow(c); break;
    case fsColumnPreview: FLastRight = PaintColumnPreview(c); break;
    case fsCustomPreview: FLastRight = PaintCustomPreview(c); break;
    case fsCustomPaint: FLastRight = PaintCustomFooter(c); break;
  }
  if (f.BorderColor() != plat::clNone) {
    c.Pen()->SetColor(f.BorderColor());
    c.MoveTo(0, 0);
    c.LineTo(FLastRight, 0);
  }
}

void TFooterPanel::PaintSeparators(plat::TCanvas& C) {
  TRenderGrid& g = FHost.FooterGrid();
  const TRect r = ClientRect();
  const plat::TGridOptions o = g.Options();
  const TGridLook look = g.Look();
  const bool raised = o.Contains(plat::goFixedVertLine) && !FHost.GridFlat() &&
                      (look == glSoft || look == glExt || look == glXP || look == glVista);
  int x = 0;
  auto column = [&](int col, bool scrollable) {
    C.Pen()->SetColor(plat::clWhite);
    C.MoveTo(x, r.Bottom);
    if (raised) C.LineTo(x, r.Top);
    C.MoveTo(x, r.Top);
    x += g.ColWidths(col);
    C.Pen()->SetColor(g.GridLineColor());
    if (o.Contains(plat::goFixedHorzLine)) C.LineTo(x - 1, r.Top);
    C.MoveTo(x - 1, r.Top);
    if (scrollable && look != glVista) C.Pen()->SetColor(plat::clGray);
    if (o.Contains(plat::goFixedVertLine)) C.LineTo(x - 1, r.Bottom);
  };
  for (int col = 0; col < FHost.GridFixedCols(); ++col) column(col, false);
  for (int col = g.LeftCol(); col < g.ColCount(); ++col) column(col, true);
}

int TFooterPanel::PaintFixedLastRow(plat::TCanvas& C) {
  TRenderGrid& g = FHost.FooterGrid();
  TExtGridEvents& ev = FHost.FooterEvents();
  const TRect client = ClientRect();
  const int w = FooterWidth();
  C.Brush()->SetColor(FFooter.Color());
  C.FillRect(TRect(0, 0, w, client.Bottom));
  C.Brush()->SetColor(g.Color());
  C.Pen()->SetColor(g.Color());
  C.FillRect(TRect(w, 0, client.Right, client.Bottom));
  PaintSeparators(C);
  const plat::TGridOptions o = g.Options();
  const TGridLook look = g.Look();
  const bool shift = o.Contains(plat::goFixedHorzLine) && !FHost.GridFlat() &&
                     (look == glSoft || look == glExt || look == glXP || look == glVista);
  const int row = g.RowCount() - 1;
  TRect cell = client;
  if (o.Contains(plat::goFixedHorzLine)) ++cell.Top;
  cell.Right = cell.Left - 1;
  auto paint = [&](int col, bool scrollable) {
    cell.Left = cell.Right + 1;
    cell.Right = cell.Left + g.ColWidths(col) - 1;
    TRect r = cell;
    if (shift) ++r.Left;
    const int rc = FHost.FooterRealCol(col);
    if (scrollable) {
      if (ev.OnGetCellColor) {
        plat::TBrush brush;
        brush.SetColor(plat::clNone);
        plat::TFont font;
        font.Assign(Font());
        ev.OnGetCellColor(&g, row, rc, plat::TGridDrawState{plat::gdFixed}, &brush, &font);
        if (brush.Color() != plat::clNone) {
          C.Brush()->SetColor(brush.Color());
          C.FillRect(r);
        }
      }
      if (g.HasCellProperties(rc, row) && g.GetGridObject(rc, row)->BrushColor() != plat::clNone) {
        C.Brush()->SetColor(g.GetGridObject(rc, row)->BrushColor());
        C.FillRect(r);
      }
    }
    if (!g.IsBaseCell(rc, row)) return;
    bool dflt = true;
    if (scrollable && ev.OnFooterPaint) ev.OnFooterPaint(this, &C, col, r, dflt);
    if (!scrollable || !ev.OnFooterPaint)
      g.Renderer().DrawCellContents(C, col, row, r, plat::TGridDrawState{plat::gdFixed});
  };
  for (int col = 0; col < FHost.GridFixedCols(); ++col) paint(col, false);
  for (int col = g.LeftCol(); col < g.ColCount(); ++col) paint(col, true);
  return cell.Right;
}

void TFooterPanel::PaintPreviewFrame(plat::TCanvas& C, const TRect& R) {
  TRenderGrid& g = FHost.FooterGrid();
  const TRect client = ClientRect();
  C.Brush()->SetColor(FFooter.Color());
  C.FillRect(R);
  C.Pen()->SetColor(plat::clGray);
  C.MoveTo(R.Left, R.Bottom - 1);
  C.LineTo(R.Right - 1, R.Bottom - 1);
  C.LineTo(R.Right - 1, R.Top);
  C.Pen()->SetColor(plat::clWhite);
  C.LineTo(R.Left, R.Top);
  C.LineTo(R.Left, R.Bottom);
  C.Brush()->SetColor(g.Color());
  C.FillRect(TRect(R.Right, 0, client.Right, client.Bottom));
}

int TFooterPanel::PaintColumnPreview(plat::TCanvas& C) {
  TRenderGrid& g = FHost.FooterGrid();
  TExtGridEvents& ev = FHost.FooterEvents();
  const TRect r(0, 0, FooterWidth(), ClientRect().Bottom);
  PaintPreviewFrame(C, r);
  const plat::TColor oldText = FHost.GridSelectionTextColor();
  g.RenderSettings().Colors.SelectionTextColor = plat::clBlack;
  const int col = FFooter.Column();
  bool dflt = true;
  if (ev.OnFooterPaint)
    ev.OnFooterPaint(this, &C, col, r, dflt);
  else if (col >= 0 && col < g.ColCount() && g.Row() < g.RowCount())
    g.Renderer().DrawCellContents(C, col, g.Row(), r, {});
  g.RenderSettings().Colors.SelectionTextColor = oldText;
  return r.Right;
}

int TFooterPanel::PaintCustomPreview(plat::TCanvas& C) {
  TRenderGrid& g = FHost.FooterGrid();
  const TRect r(0, 0, FooterWidth(), ClientRect().Bottom);
  PaintPreviewFrame(C, r);
  THTMLCell h;
  h.Text = g.ComponentState().Contains(plat::csDesigning) ? FFooter.CustomTemplate() : ExpandTemplate();
  h.Rect = TRect(r.Left, r.Top + 2, r.Right, r.Bottom + 2);
  h.Images = FHost.FooterImages();
  h.URLColor = FHost.FooterURLColor();
  C.Font()->Assign(g.Font());
  C.Brush()->SetStyle(plat::bsClear);
  h.Render(C);
  return r.Right;
}

int TFooterPanel::PaintCustomFooter(plat::TCanvas& C) {
  TRenderGrid& g = FHost.FooterGrid();
  TExtGridEvents& ev = FHost.FooterEvents();
  const TRect r = ClientRect();
  bool dflt = true;
  if (ev.OnFooterPaint) ev.OnFooterPaint(this, &C, FFooter.Column(), r, dflt);
  return r.Right;
}

// ---- mouse and hints ---------------------------------------------------------------------------------------------

void TFooterPanel::MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) {
  plat::TCustomControl::MouseUp(Button, Shift, X, Y);
  TRenderGrid& g = FHost.FooterGrid();
  if (g.OnClick) g.OnClick(&g);
  TExtGridEvents& ev = FHost.FooterEvents();
  if (ev.OnClickCell) ev.OnClickCell(&g, g.RowCount() - 1, ColumnAt(X));
}

void TFooterPanel::MouseMove(plat::TShiftState Shift, int X, int Y) {
  plat::TCustomControl::MouseMove(Shift, X, Y);
  if (!FFooter.ShowHint() || FLastHintX < 0) return;
  const int c = ColumnAt(X);
  if (c != FLastHintX) FLastHintX = c;
}

QString TFooterPanel::HintAt(int X) {
  const int c = ColumnAt(X);
  QString hint = Hint();
  TRenderGrid& g = FHost.FooterGrid();
  TExtGridEvents& ev = FHost.FooterEvents();
  if (c >= 0 && ev.OnGridHint) ev.OnGridHint(&g, g.RowCount() - 1, c, hint);
  FLastHintX = ShowHint() && c >= 0 ? c : -1;
  return ShowHint() ? hint : QString();
}

void TFooterPanel::Dispatch(plat::TMessage& M) {
  if (M.Msg == plat::CM_MOUSELEAVE) FLastHintX = -1;
  plat::TCustomControl::Dispatch(M);
}

}  // namespace grid
