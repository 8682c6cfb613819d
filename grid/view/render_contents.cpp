// The contents of one cell over its background, in a fixed order: fixed cells by look, row indicator,
// modified bar, text, fixed-cell edges, tree lines, the cell object, the drawing events and the focus frame.
#include <algorithm>
#include <array>

#include "controls/draw_utils.h"
#include "grid/view/render_cells.h"
#include "platform/graphics/classic.h"
#include "platform/graphics/drawtext.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/themes.h"

namespace grid {

using plat::clNone;
using plat::TCanvas;
using plat::TColor;
using plat::TRect;

namespace {

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
  w.Ctl3D = !s.Colors.Flat;
  DrawScrollBar(C, w);
  TCellGradientDirection gd = GradientVertical;
  GetVisualProperties(ACol, ARow, AState, false, false, true, C.Brush(), w.ColorTo, w.MirrorColor, w.MirrorColorTo,
                      C.Font(), w.HA, w.VA, w.WW, gd);
  w.State = AState;
  w.Graphic = FHost.CellGraphicView(w.RCol, ARow);
  if (w.Graphic) {
    const TGraphicPlacement p = GetCellGraphicSize(*w.Graphic, ARow, w.RCol);
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
  // A fixed cell in the hover row paints as a normal one when the hover row takes fixed cells too.
  w.Fixed = IsFixedCell(ACol, ARow) &&
            !(ARow == FGrid.HoverRowIdx() && FGrid.HoverRow() && FGrid.HoverRowCells().Contains(hcFixed));
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
  if (s.Colors.Look == glListView && w.Fixed && !s.Colors.Flat) DrawListViewHeader(C, w);
  if (ACol == 0 && s.ShowModified && FHost.IsRowModified(ARow))
    controls::FillRectColor(C, TRect(w.Rect.Right - 4, w.Rect.Top, w.Rect.Right, w.Rect.Bottom), s.ShowModifiedColor);
  if (OnCustomCellBkgDraw) OnCustomCellBkgDraw(&FGrid, C, w.RCol, ARow, AState, w.Rect, false);

  // Editor buttons shown at all times keep the text clear of them.
  const int right = w.Rect.Right;
  if (!w.Fixed && (ControlLook.DropDownAlwaysVisible() || ControlLook.SpinButtonsAlwaysVisible())) {
    const int state = FHost.IsCellEditable(w.RCol, ARow) ? 0 : 3;
    if (FHost.HasComboBox(w.RCol, ARow)) {
      controls::PaintDropDownButton(C, nullptr, TRect(w.Rect.Left - 2, w.Rect.Top - 1, w.Rect.Right + 1, w.Rect.Bottom),
                                    s.Colors.Tones, state, ButtonLook());
      w.Rect.Right -= 16;
    } else if (FHost.HasSpinEdit(w.RCol, ARow)) {
      controls::PaintSpinButtonPair(C, nullptr, w.Rect, s.Colors.Tones, state, ButtonLook());
      w.Rect.Right -= 16;
    }
  }
  const bool interfaceFirst = w.Graphic && w.Graphic->CellType == ctInterface && w.Graphic->Drawer &&
                              w.Graphic->Drawer->DrawsBeforeText();
  if (interfaceFirst) {
    TRect r = w.Rect;
    plat::InflateRect(r, 1, 1);
    DrawInterface(C, w, r);
  }
  const bool custom = s.NoDefaultDraw && (FGrid.OnDrawCell || OnCustomCellDraw);
  if (!custom && !(w.Graphic && s.NoImageAndText)) DrawCellText(C, w);
  w.Rect.Right = right;
  C.Brush()->SetColor(w.SavedBrush);
  C.Font()->SetColor(w.SavedFont);
  if (FHost.MayHaveCellBorders()) {
    TCellWork b = w;
    plat::InflateRect(b.Rect, 1, 1);
    DrawCellBorders(C, b);
  }
  if (indicator) w.Rect.Left -= s.RowIndicator->Width();
  if (w.Fixed && w.Ctl3D) DrawFixedEdges(C, w);
  if (s.FixedRightCols > 0 && ACol >= FGrid.ColCount() - s.FixedRightCols && s.Colors.Look != glClassic && !w.Ctl3D)
    DrawFixedRightEdges(C, w);
  if (ACol == 0 && ARow >= FGrid.FixedRows() && ARow < FGrid.RowCount() - s.FixedFooters && CellNode.ShowTree() &&
      static_cast<TCellPaintHost&>(FGrid).HasNodes())
    DrawTreeLines(C, w);
  if (w.Graphic && !interfaceFirst) {
    TRect r = w.Rect;
    if (w.Fixed) r.Top += 1;
    DrawCellGraphic(C, w, r);
  }
  if (FGrid.OnDrawCell) {
    TRect r = w.Rect;
    r.Left += 1;
    r.Top += 1;
    r.Right -= FGrid.GridLineWidth();
    r.Bottom -= FGrid.GridLineWidth();
    FGrid.OnDrawCell(&FGrid, w.RCol, ARow, r, AState);
  }
  if (OnCustomCellDraw) OnCustomCellDraw(&FGrid, C, w.RCol, ARow, AState, w.Rect, false);
  DrawFocus(C, w);
  if (ARow == 0 && FHost.ShowsColumnNumbers()) DrawColumnNumber(C, w);
}

// Fixed cells of the gradient looks: hot and pressed (with the drop-down button of the header), the active
// cell's headers, the sort column's header, or the look's gradient, each split into two halves when a mirror
// colour is set.
void TCellRenderer::DrawFixedByLook(TCanvas& C, TCellWork& W) {
  const TRenderSettings& s = Settings;
  const TGridColors& c = s.Colors;
  if (!GradientLook(c.Look)) return;
  const TFixedCellGradient& g = c.Fixed;
  TRect r = W.Rect;
  const auto box = [&](TRect b, TColor from, TColor to, TColor mf, TColor mt, TColor border) {
    controls::FillGradientBox(C, b, from, to, mf, mt, controls::gdVertical, border, false, true);
  };
  const int moving = FHost.MovingColumn();
  const bool designing = FGrid.ComponentState().Contains(plat::csDesigning);
  const bool hot = ((W.State.Contains(plat::gdHotTrack) && moving < 0) || (moving >= 0 && moving == W.Col &&
                                                                           W.Row < FGrid.FixedRows())) &&
                   !designing;
  const bool pressed = W.State.Contains(plat::gdPressed);
  if (hot || pressed) {
    r.Bottom += 1;
    const bool held = pressed || (FHost.MouseButtonDown() && moving < 0);
    const bool dropDown = ControlLook.FixedDropDownButton && FHost.FixedDropDownShown(W.RCol);
    const auto hover = [&](TRect b) { box(b, g.HoverFrom, g.HoverTo, g.HoverMirrorFrom, g.HoverMirrorTo, g.HoverBorder); };
    const auto down = [&](TRect b) { box(b, g.DownFrom, g.DownTo, g.DownMirrorFrom, g.DownMirrorTo, g.DownBorder); };
    if (!held) {
      hover(r);
    } else if (dropDown) {
      TRect rest = r, button = r;
      rest.Right -= 16;
      button.Left = r.Right - 16;
      if (FHost.FixedDropDownOpen()) {
        down(button);
        hover(rest);
      } else {
        down(rest);
        hover(button);
      }
    } else {
      down(r);
    }
    if (dropDown) DrawFixedDropDown(C, W, r, held);
    return;
  }
  const int fc = FGrid.FixedCols(), fr = FGrid.FixedRows();
  const bool activeHeader = s.ActiveCellShow && ((W.Row == FGrid.Row() && W.Col == fc - 1) ||
                                                 (W.Col == FGrid.Col() && W.Row == fr - 1));
  if (activeHeader) {
    box(r, c.ActiveCellColor, c.ActiveCellColorTo, clNone, clNone, clNone);
    if (s.ActiveCellFont.Style() != C.Font()->Style()) C.Font()->SetStyle(s.ActiveCellFont.Style());
    return;
  }
  if (s.Sort.Column != -1 && s.Sort.Column == W.RCol && c.HeaderColor != clNone && W.Row == fr - 1 &&
      (W.Col >= fc || s.Sort.FixedCols)) {
    box(r, c.HeaderColor, c.HeaderColorTo, c.HeaderMirrorColor, c.HeaderMirrorColorTo, clNone);
    return;
  }
  // The look's own gradient is the one the base painter laid with the same colours: only Vista's white side
  // lines remain to be drawn.
  if (!c.Flat && c.Look == glVista)
    controls::FillGradientBox(C, r, C.Brush()->Color(), W.ColorTo, W.MirrorColor, W.MirrorColorTo,
                              controls::gdVertical, plat::clWhite, true, false);
}

// The header's drop-down button: a separating line, a small black triangle, and the text keeps clear of it.
void TCellRenderer::DrawFixedDropDown(TCanvas& C, TCellWork& W, TRect R, bool Held) {
  const TFixedCellGradient& g = Settings.Colors.Fixed;
  C.Pen()->SetWidth(1);
  C.Pen()->SetColor(Held ? g.DownBorder : g.HoverBorder);
  Line(C, R.Right - 16, R.Top, R.Right - 16, R.Bottom);
  const int x = R.Right - 8, y = R.Top + 8;
  const std::array<plat::TPoint, 3> tri{plat::TPoint(x - 3, y - 1), plat::TPoint(x + 3, y - 1), plat::TPoint(x, y + 2)};
  C.Pen()->SetColor(plat::clBlack);
  C.Brush()->SetColor(plat::clBlack);
  C.Polygon(tri);
  C.Brush()->SetColor(W.SavedBrush);
  W.Rect.Right -= 16;
}

// ListView headers: the themed header item (pressed while moved, hot under the mouse) with a white line along
// the top, or a button-face box without themes.
void TCellRenderer::DrawListViewHeader(TCanvas& C, const TCellWork& W) {
  const TRect r(W.Rect.Left, W.Rect.Top, W.Rect.Right, W.Rect.Bottom + 1);
  int part = 3, state = 1;
  if (W.State.Contains(plat::gdPressed) || (FHost.MovingColumn() == W.Col && W.Col >= 0))
    part = 1, state = 3;
  else if (W.State.Contains(plat::gdHotTrack))
    part = 1, state = 2;
  if (plat::PlatformFacts().WindowsXPOrLater && controls::PaintThemePart(C, nullptr, "header", part, state, r)) {
    C.Pen()->SetColor(plat::clWhite);
    Line(C, r.Left, r.Top, r.Right, r.Top);
    C.Brush()->SetColor(W.SavedBrush);
    return;
  }
  C.Brush()->SetColor(plat::clBtnFace);
  C.Pen()->SetColor(plat::clWhite);
  C.Rectangle(r);
  C.Brush()->SetColor(W.SavedBrush);
}

// The right fixed columns of a flat grid get lines just outside the cell.
void TCellRenderer::DrawFixedRightEdges(TCanvas& C, const TCellWork& W) {
  const plat::TGridOptions o = FGrid.Options();
  const TRect r = W.Rect;
  C.Pen()->SetWidth(1);
  C.Pen()->SetColor(Settings.Colors.Flat ? plat::clGray : plat::clBlack);
  if (o.Contains(plat::goFixedHorzLine)) {
    Line(C, r.Left - 1, r.Top - 1, r.Right + 1, r.Top - 1);
    Line(C, r.Left - 1, r.Bottom, r.Right + 1, r.Bottom);
  }
  if (o.Contains(plat::goFixedVertLine)) {
    Line(C, r.Left - 1, r.Top - 1, r.Left - 1, r.Bottom + 1);
    Line(C, r.Right, r.Top - 1, r.Right, r.Bottom + 1);
  }
}

// The real column number in the header row, while the form designer shows column numbers.
void TCellRenderer::DrawColumnNumber(TCanvas& C, const TCellWork& W) {
  plat::TFont saved;
  saved.Assign(C.Font());
  C.Font()->SetName(QString());
  C.Font()->SetSize(8);
  C.Font()->SetStyle(plat::TFontStyles{});
  C.Font()->SetColor(plat::clGray);
  C.Brush()->SetStyle(plat::bsClear);
  TRect r = W.Rect;
  r.Right -= 2;
  C.DrawText(QString::number(W.RCol), r, plat::DT_BOTTOM | plat::DT_RIGHT | plat::DT_SINGLELINE);
  C.Brush()->SetStyle(plat::bsSolid);
  C.SetFont(saved);
}

void TCellRenderer::DrawFixedEdges(TCanvas& C, TCellWork& W) {
  const TGridColors& c = Settings.Colors;
  TRect r = W.Rect;
  const bool horz = FGrid.Options().Contains(plat::goFixedHorzLine);
  const bool vert = FGrid.Options().Contains(plat::goFixedVertLine);
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
      if (c.Look == glSoft && vert) {
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
  if (L > 0) Line(C, c, mid, CellNode.ShowTreeFull() ? W.Rect.Right : left + 4, mid);
  const int span = FHost.NodeSpanType(W.Row);
  if (span == 1) Line(C, c, W.Rect.Top, c, mid);
  if (span == 2) Line(C, c, W.Rect.Top, c, W.Rect.Bottom + 4);
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

// The sides the grid asks for (grouping lines, OnGetCellBorder), each in its own pen. The grid changes a copy of
// the canvas pen, so a cell without borders leaves the canvas as it was.
void TCellRenderer::DrawCellBorders(TCanvas& C, const TCellWork& W) {
  TCellBorders borders;
  plat::TPen pen;
  pen.Assign(C.Pen());
  FHost.DoGetCellBorder(W.RCol, W.Row, &pen, borders);
  if (borders.Empty()) return;
  plat::TPen saved;
  saved.Assign(C.Pen());
  plat::TPen pens[4];
  for (plat::TPen& p : pens) p.Assign(&pen);
  FHost.DoGetCellBorderProp(W.RCol, W.Row, &pens[0], &pens[1], &pens[2], &pens[3]);
  TRect r = W.Rect;
  const int half = (pen.Width() + 1) / 2;
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
  // The handle that resizes the selection, on its bottom-right cell.
  if (Settings.SelectionResizer && W.Col == sel.Right && W.Row == sel.Bottom)
    controls::FillRectColor(C, TRect(r.Right - 4, r.Bottom - 4, r.Right + 1, r.Bottom + 1),
                            Settings.SelectionRectangleColor);
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
