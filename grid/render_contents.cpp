// The contents of one cell over its background, in a fixed order: fixed cells by look, row indicator,
// modified bar, text, fixed-cell edges, tree lines, the cell object, the drawing events and the focus frame.
#include <algorithm>

#include "controls/draw_utils.h"
#include "grid/render_cells.h"
#include "platform/graphics/classic.h"
#include "platform/graphics/graphic.h"

namespace grid {

using plat::clNone;
using plat::TCanvas;
using plat::TColor;
using plat::TRect;

namespace {

void Line(TCanvas& C, int x1, int y1, int x2, int y2) {
  C.MoveTo(x1, y1);
  C.LineTo(x2, y2);
}

bool GradientLook(TGridLook L) {
  return L == glExt || L == glXP || L == glVista || L == glWin7 || L == glOffice2007;
}

}  // namespace

void TCellRenderer::DrawCellContents(TCanvas& C, int ACol, int ARow, TRect ARect, TGridDrawState AState) {
  const TRenderSettings& s = Settings;
  TCellWork w;
  w.Col = ACol;
  w.RCol = FHost.RealColumn(ACol);
  w.Row = ARow;
  w.Rect = ARect;
  w.WW = s.WordWrap;
  TCellGradientDirection gd = GradientVertical;
  GetVisualProperties(ACol, ARow, AState, false, false, true, C.Brush(), w.ColorTo, w.MirrorColor, w.MirrorColorTo,
                      C.Font(), w.HA, w.VA, w.WW, gd);
  w.State = AState;
  w.Graphic = FHost.CellGraphicView(w.RCol, ARow);
  if (w.Graphic) {
    const TGraphicPlacement p = GetCellGraphicSize(*w.Graphic, ARow);
    w.GraphicW = p.Width;
    w.GraphicH = p.Height;
    w.TextBeside = p.TextBeside;
  }
  if (ACol == 0 && FHost.IsNodeRow(ARow)) w.GraphicW = FHost.NodeLevel(ARow) * 12 + 4;
  if (AState.Contains(gdSelected) && !AState.Contains(gdFocused) && s.Colors.SelectionColor == clNone)
    C.Brush()->SetColor(plat::clHighlight);
  // A zoomed font never drops below one point.
  if (s.ZoomFactor != 0) C.Font()->SetSize(std::max(1, C.Font()->Size() + s.ZoomFactor));
  w.SavedBrush = C.Brush()->Color();
  w.SavedFont = C.Font()->Color();
  w.Fixed = IsFixedCell(ACol, ARow);
  if (w.Fixed) DrawFixedByLook(C, w);

  const bool onlyFixedRows = s.FixedRowAlways && FGrid.RowCount() <= FGrid.FixedRows() + 1 &&
                             FGrid.Cells(0, FGrid.FixedRows()).isEmpty();
  const bool indicator = ACol == 0 && ARow == FGrid.Row() && FGrid.FixedCols() > 0 && s.RowIndicator &&
                         !s.RowIndicator->Empty() && !onlyFixedRows;
  if (indicator) {
    const int free = w.Rect.Height() - s.RowIndicator->Height();
    const int y = s.VAlignment == vtaCenter ? w.Rect.Top + free / 2 : s.VAlignment == vtaBottom ? w.Rect.Top + free
                                                                                              : w.Rect.Top;
    s.RowIndicator->SetTransparent(true);
    C.Draw(w.Rect.Left + 2, y, s.RowIndicator);
    w.Rect.Left += s.RowIndicator->Width() + 2;
  }
  if (s.Colors.Look == glListView && w.Fixed && !s.Colors.Flat) {
    C.Brush()->SetColor(plat::clBtnFace);
    C.Pen()->SetColor(plat::clWhite);
    C.Rectangle(w.Rect.Left, w.Rect.Top, w.Rect.Right, w.Rect.Bottom + 1);
  }
  if (ACol == 0 && s.ShowModified && FHost.IsRowModified(ARow))
    controls::FillRectColor(C, TRect(w.Rect.Right - 4, w.Rect.Top, w.Rect.Right, w.Rect.Bottom), s.ShowModifiedColor);
  if (OnCustomCellBkgDraw) OnCustomCellBkgDraw(&FGrid, C, w.RCol, ARow, AState, w.Rect, false);

  // Editor buttons shown at all times keep the text clear of them.
  const int right = w.Rect.Right;
  if (!w.Fixed && (ControlLook.DropDownAlwaysVisible() || ControlLook.SpinButtonsAlwaysVisible())) {
    const int state = FHost.IsCellEditable(w.RCol, ARow) ? 0 : 3;
    if (FHost.HasComboBox(w.RCol, ARow)) {
      controls::PaintDropDownButton(C, nullptr, TRect(w.Rect.Right - 16, w.Rect.Top - 1, w.Rect.Right + 1, w.Rect.Bottom),
                                    s.Colors.Tones, state, ButtonLook());
      w.Rect.Right -= 16;
    } else if (FHost.HasSpinEdit(w.RCol, ARow)) {
      controls::PaintSpinButtonPair(C, nullptr, TRect(w.Rect.Right - 16, w.Rect.Top, w.Rect.Right, w.Rect.Bottom),
                                    s.Colors.Tones, state, ButtonLook());
      w.Rect.Right -= 16;
    }
  }
  const bool custom = s.NoDefaultDraw && (OnDrawCell || OnCustomCellDraw);
  if (!custom && !(w.Graphic && s.NoImageAndText)) DrawCellText(C, w);
  w.Rect.Right = right;
  C.Brush()->SetColor(w.SavedBrush);
  C.Font()->SetColor(w.SavedFont);
  if (OnGetCellBorder) {
    TCellWork b = w;
    plat::InflateRect(b.Rect, 1, 1);
    DrawCellBorders(C, b);
  }
  if (indicator) w.Rect.Left -= s.RowIndicator->Width();
  if (w.Fixed && !s.Colors.Flat) DrawFixedEdges(C, w);
  if (ACol == 0 && ARow >= FGrid.FixedRows() && CellNode.ShowTree() && FHost.NodeLevel(ARow) > 0)
    DrawTreeLines(C, w);
  if (w.Graphic) {
    TRect r = w.Rect;
    if (w.Fixed) r.Top += 1;
    DrawCellGraphic(C, w, r);
  }
  if (OnDrawCell) {
    TRect r = w.Rect;
    r.Left += 1;
    r.Top += 1;
    OnDrawCell(&FGrid, w.RCol, ARow, r, AState);
  }
  if (OnCustomCellDraw) OnCustomCellDraw(&FGrid, C, w.RCol, ARow, AState, w.Rect, false);
  DrawFocus(C, w);
}

// Fixed cells of the gradient looks: hot and pressed, the active cell's headers, the sort column's header,
// or the look's gradient, each split into two halves when a mirror colour is set.
void TCellRenderer::DrawFixedByLook(TCanvas& C, TCellWork& W) {
  const TRenderSettings& s = Settings;
  const TGridColors& c = s.Colors;
  if (!GradientLook(c.Look)) return;
  const TFixedCellGradient& g = c.Fixed;
  TRect r = W.Rect;
  const auto box = [&](TColor from, TColor to, TColor mf, TColor mt, TColor border, bool sides) {
    controls::FillGradientBox(C, r, from, to, mf, mt, controls::gdVertical, border, sides, true);
  };
  if (W.State.Contains(plat::gdPressed)) {
    r.Bottom += 1;
    box(g.DownFrom, g.DownTo, g.DownMirrorFrom, g.DownMirrorTo, g.DownBorder, false);
    return;
  }
  if (W.State.Contains(plat::gdHotTrack)) {
    r.Bottom += 1;
    box(g.HoverFrom, g.HoverTo, g.HoverMirrorFrom, g.HoverMirrorTo, g.HoverBorder, false);
    return;
  }
  const int fc = FGrid.FixedCols(), fr = FGrid.FixedRows();
  const bool activeHeader = s.ActiveCellShow && ((W.Row == FGrid.Row() && W.Col == fc - 1) ||
                                                 (W.Col == FGrid.Col() && W.Row == fr - 1));
  if (activeHeader) {
    box(c.ActiveCellColor, c.ActiveCellColorTo, clNone, clNone, clNone, false);
    if (s.ActiveCellFont.Style() != C.Font()->Style()) C.Font()->SetStyle(s.ActiveCellFont.Style());
    return;
  }
  if (s.Sort.Column != -1 && s.Sort.Column == W.RCol && c.HeaderColor != clNone && W.Row == fr - 1 &&
      (W.Col >= fc || s.Sort.FixedCols)) {
    box(c.HeaderColor, c.HeaderColorTo, c.HeaderMirrorColor, c.HeaderMirrorColorTo, clNone, false);
    return;
  }
  // The look's own gradient is the one the base painter laid with the same colours: only Vista's white side
  // lines remain to be drawn.
  if (!c.Flat && c.Look == glVista)
    controls::FillGradientBox(C, r, C.Brush()->Color(), W.ColorTo, W.MirrorColor, W.MirrorColorTo,
                              controls::gdVertical, plat::clWhite, true, false);
}

void TCellRenderer::DrawFixedEdges(TCanvas& C, TCellWork& W) {
  const TGridColors& c = Settings.Colors;
  TRect r = W.Rect;
  const bool horz = true;  // fixed lines are on in the grid's options of this renderer's hosts
  C.Pen()->SetWidth(1);
  switch (c.Look) {
    case glClassic: {
      plat::OffsetRect(r, 1, 1);
      TRect e = r;
      plat::DrawEdge(C.Handle(), e, plat::BDR_RAISEDINNER, plat::BF_LEFT | plat::BF_TOP);
      e = r;
      plat::DrawEdge(C.Handle(), e, plat::EDGE_RAISED, plat::BF_RIGHT | plat::BF_BOTTOM);
      C.Pen()->SetColor(plat::clBlack);
      Line(C, r.Right - 1, r.Top, r.Right - 1, r.Bottom - 1);
      C.LineTo(r.Left - 1, r.Bottom - 1);
      break;
    }
    case glExt: case glXP: case glSoft:
      r.Bottom += 1;
      if (c.Look == glSoft) r.Right += 1;
      if (horz) {
        C.Pen()->SetColor(controls::DarkenColorHalf(FGrid.FixedColor()));
        Line(C, r.Left, r.Bottom - 1, r.Right, r.Bottom - 1);
        C.Pen()->SetColor(plat::clWhite);
        Line(C, r.Left, r.Top, r.Right, r.Top);
        Line(C, r.Left, r.Top, r.Left, r.Bottom - 1);
      }
      if (c.Look == glSoft) {
        C.Pen()->SetColor(controls::DarkenColorHalf(FGrid.FixedColor()));
        Line(C, r.Right - 2, r.Top, r.Right - 2, r.Bottom);
        C.Pen()->SetColor(plat::clWhite);
        Line(C, r.Right - 1, r.Top, r.Right - 1, r.Bottom);
      }
      break;
    default: break;
  }
}

void TCellRenderer::DrawTreeLines(TCanvas& C, const TCellWork& W) {
  const int L = FHost.NodeLevel(W.Row), I = CellNode.NodeIndent();
  const int left = W.Rect.Left + L * I;
  const int c = left + I / 2 - I + 2;
  const int mid = W.Rect.Top + W.Rect.Height() / 2;
  C.Pen()->SetColor(CellNode.TreeColor());
  C.Pen()->SetWidth(1);
  if (!FHost.IsNodeRow(W.Row)) Line(C, c, mid, CellNode.ShowTreeFull() ? W.Rect.Right : left + 4, mid);
  const bool last = W.Row + 1 >= FGrid.RowCount();
  const int next = last ? 0 : FHost.NodeLevel(W.Row + 1);
  for (int i = 1; i <= L; ++i) {
    const int x = c - I * i;
    Line(C, x, W.Rect.Top, x, mid);
    if ((last || next == 0) && i < L)
      C.LineTo(c + I - I * i, mid);
    else if (next > 0)
      Line(C, x, mid, x, W.Rect.Bottom + 4);
  }
  C.Pen()->SetStyle(plat::psSolid);
}

void TCellRenderer::DrawCellBorders(TCanvas& C, const TCellWork& W) {
  plat::TPen saved;
  saved.Assign(C.Pen());
  TCellBorders borders;
  OnGetCellBorder(&FGrid, W.RCol, W.Row, C.Pen(), borders);
  plat::TPen pens[4];
  for (plat::TPen& p : pens) p.Assign(C.Pen());
  if (OnGetCellBorderProp) OnGetCellBorderProp(&FGrid, W.Row, W.RCol, &pens[0], &pens[1], &pens[2], &pens[3]);
  TRect r = W.Rect;
  const int half = (C.Pen()->Width() + 1) / 2;
  const plat::TGridOptions o = FGrid.Options();
  if (o.Contains(plat::goVertLine)) r.Left += half, r.Right -= half;
  if (o.Contains(plat::goHorzLine)) r.Top += half, r.Bottom -= half;
  const int glw = FGrid.GridLineWidth();
  if (borders.Contains(cbLeft)) C.SetPen(pens[0]), Line(C, std::max(0, r.Left), r.Top, std::max(0, r.Left), r.Bottom);
  if (borders.Contains(cbRight)) C.SetPen(pens[2]), Line(C, r.Right - 1, r.Top, r.Right - 1, r.Bottom);
  if (borders.Contains(cbTop)) {
    C.SetPen(pens[1]);
    const int y = glw == 0 ? r.Top + 1 : std::max(0, r.Top - glw);
    Line(C, r.Left, y, r.Right, y);
  }
  if (borders.Contains(cbBottom)) C.SetPen(pens[3]), Line(C, r.Left - glw - 1, r.Bottom - 1, r.Right, r.Bottom - 1);
  C.SetPen(saved);
}

// The frame around the selection: its outer edges only, in cells of the selection.
void TCellRenderer::DrawSelectionRectangle(TCanvas& C, const TCellWork& W) {
  plat::TGridRect sel = FGrid.Selection();
  int bc = sel.Left, br = sel.Top;
  if (sel.Left == sel.Right && sel.Top == sel.Bottom && FGrid.ResolveBaseCell(sel.Left, sel.Top, bc, br) == false)
    sel = plat::TGridRect{bc, br, bc, br};
  if (W.Fixed || W.Col < sel.Left || W.Col > sel.Right || W.Row < sel.Top || W.Row > sel.Bottom) return;
  const int glw = FGrid.GridLineWidth();
  const TRect r = W.Rect;
  C.Pen()->SetColor(Settings.SelectionRectangleColor);
  C.Pen()->SetWidth(2);
  if (W.Col == sel.Left) Line(C, r.Left - glw + 1, r.Bottom, r.Left - glw + 1, r.Top - glw);
  if (W.Col == sel.Right) Line(C, r.Right - 1, r.Bottom, r.Right - 1, r.Top - glw);
  const int right = W.Col == sel.Right ? r.Right - 1 : r.Right;
  if (W.Row == sel.Top) Line(C, r.Left - glw, r.Top - glw + 1, right, r.Top - glw + 1);
  if (W.Row == sel.Bottom) Line(C, r.Left - glw, r.Bottom, right, r.Bottom);
  C.Pen()->SetWidth(1);
}

void TCellRenderer::DrawFocus(TCanvas& C, const TCellWork& W) {
  if (Settings.HideFocusRect) return;
  int bc = W.Col, br = W.Row;
  FGrid.ResolveBaseCell(W.Col, W.Row, bc, br);
  const bool rowSelect = FGrid.Options().Contains(plat::goRowSelect);
  if (bc != FGrid.Col() || br != FGrid.Row() || !FHost.HasFocusNow() || rowSelect || W.Fixed) return;
  TRect r = W.Rect;
  plat::InflateRect(r, FGrid.GridLineWidth() - 1, FGrid.GridLineWidth() - 1);
  r.Right -= 1;
  r.Bottom -= 1;
  C.DrawFocusRect(r);
}

}  // namespace grid
