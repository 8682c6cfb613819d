// What belongs to the grid as a whole: the edit-cell frame and the background outside the cells after the
// cells, the window border of the gradient looks, the XOR guide lines of sizing and the focus frame geometry.
#include <algorithm>

#include "controls/draw_utils.h"
#include "grid/view/render_cells.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/region.h"

namespace grid {

using plat::clNone;
using plat::TCanvas;
using plat::TRect;

void TCellRenderer::PaintGridExtras(TCanvas& C) {
  if (FGrid.EditorMode()) {
    const plat::TGridOptions o = FGrid.Options();
    plat::TColor pen = FGrid.GridLineWidth() < 1 ? FGrid.Color() : FGrid.GridLineColor();
    if (!o.Contains(plat::goHorzLine) && !o.Contains(plat::goVertLine)) pen = FGrid.Color();
    C.Pen()->SetColor(pen);
    C.Brush()->SetStyle(plat::bsClear);
    C.Rectangle(FGrid.CellRect(FGrid.Col(), FGrid.Row()));
    C.Brush()->SetStyle(plat::bsSolid);
  }
  C.Pen()->SetColor(plat::clBlack);
  if (!BackGround.Bitmap()->Empty() || BackGround.ColorTo() != clNone) PaintBackgroundOutsideCells(C);
  FHost.PaintDesignHelper();
  if (OnPainted) OnPainted(&FGrid);
  FHost.DoPainted();
}

void TCellRenderer::PaintBackgroundOutsideCells(TCanvas& C) {
  const TBackGroundDisplay display = BackGround.Display();
  const bool gradient = display == bdGradientHorz || display == bdGradientVert;
  plat::TBitmap* bmp = BackGround.Bitmap();
  if (gradient ? BackGround.ColorTo() == clNone : bmp->Empty()) return;  // nothing to lay outside
  // The search panel and the floating footer keep the bottom of the client area.
  const int w = FGrid.ClientWidth(), h = std::max(0, FGrid.ClientHeight() - FHost.FooterHeight());
  const TRect lastCol = FGrid.CellRect(FGrid.ColCount() - 1, std::max(0, std::min(FGrid.TopRow(), FGrid.RowCount() - 1)));
  const TRect lastRow = FGrid.CellRect(std::max(0, std::min(FGrid.LeftCol(), FGrid.ColCount() - 1)), FGrid.RowCount() - 1);
  const int gridRight = std::min(w, FGrid.GridWidth()), gridBottom = std::min(h, FGrid.GridHeight());
  plat::TRegion area;
  if (gridRight < w && lastCol.Right > 0) area = area.Combined(plat::TRegion(TRect(gridRight, 0, w, h)), plat::RGN_OR);
  if (gridBottom < h && lastRow.Bottom > 0)
    area = area.Combined(plat::TRegion(TRect(0, gridBottom, w, h)), plat::RGN_OR);
  if (area.IsEmpty()) return;  // rows and columns fill the client area
  const int saved = C.SaveDC();
  C.SelectClipRgn(&area);
  const TRect client(0, 0, w, h);
  if (gradient) {
    controls::FillGradientBands(C, BackGround.Color(), BackGround.ColorTo(), 128, client, display == bdGradientHorz);
  } else if (display != bdTile) {
    C.Draw(BackGround.Left(), BackGround.Top(), bmp);
  } else if (BackGround.Cells() != bcFixed) {
    const bool normal = BackGround.Cells() == bcNormal;
    const int x0 = (normal ? FGrid.FixedColsWidth() : 0) + Settings.XYOffset.X - 1;
    const int y0 = (normal ? FGrid.FixedRowsHeight() : 0) + Settings.XYOffset.Y - 1;
    for (int y = y0; y < h; y += bmp->Height())
      for (int x = x0; x < w; x += bmp->Width()) C.Draw(x, y, bmp);
  }
  C.RestoreDC(saved);
}

// The grid background behind one cell: the placed or tiled bitmap, or the grid-wide gradient's slice.
void TCellRenderer::DrawCellBackground(TCanvas& C, const TCellWork& W) {
  const TRenderSettings& s = Settings;
  const TBackGroundCells cells = BackGround.Cells();
  if (!(cells == bcAll || (cells == bcFixed) == W.Fixed)) return;
  const TCellProperties* p = FGrid.GetGridObject(W.RCol, W.Row);
  const bool own = p && p->BrushColor() != clNone;
  const bool selected = W.State.Contains(gdSelected);
  const int glw = FGrid.GridLineWidth();
  plat::TBitmap* bmp = BackGround.Bitmap();
  const TBackGroundDisplay display = BackGround.Display();
  const int saved = C.SaveDC();
  if (!bmp->Empty() && !own && !(s.ShowSelection && selected)) {
    const TRect r(W.Rect.Left - glw + 1, W.Rect.Top - glw + 1, W.Rect.Right, W.Rect.Bottom);
    C.IntersectClipRect(r);
    if (display != bdTile) {
      C.Draw(BackGround.Left(), BackGround.Top(), bmp);
    } else {
      // The tiling runs on across cells: the widths and heights before the cell give the phase.
      const int first = cells == bcNormal ? FGrid.FixedCols() : 0, firstRow = cells == bcNormal ? FGrid.FixedRows() : 0;
      const std::int64_t px = FGrid.ColWidthsBetween(first, W.Col), py = FGrid.RowHeightsBetween(firstRow, W.Row);
      const int x0 = r.Left - 1 - int(px % bmp->Width()), y0 = r.Top - 1 - int(py % bmp->Height());
      for (int y = y0; y < r.Bottom; y += bmp->Height())
        for (int x = x0; x < r.Right; x += bmp->Width()) C.Draw(x, y, bmp);
    }
  } else if ((display == bdGradientHorz || display == bdGradientVert) && BackGround.ColorTo() != clNone &&
             !own && !(s.ShowSelection && selected)) {
    const bool horz = display == bdGradientHorz;
    const TRect r(W.Rect.Left - 1, W.Rect.Top - glw, W.Rect.Right, W.Rect.Bottom + glw - 1);
    const int span = horz ? FGrid.ClientWidth() : FGrid.ClientHeight();
    const plat::TColor a = controls::InterpolateColorAt(BackGround.Color(), BackGround.ColorTo(), 0, span,
                                                        horz ? r.Left : r.Top);
    const plat::TColor b = controls::InterpolateColorAt(BackGround.Color(), BackGround.ColorTo(), 0, span,
                                                        horz ? r.Right : r.Bottom);
    controls::FillGradientBands(C, a, b, 128, r, horz);
  }
  C.RestoreDC(saved);
}

void TCellRenderer::PaintBorder(TCanvas& C, int W, int H, bool FitCellsInGrid) {
  const TGridColors& c = Settings.Colors;
  const bool look = c.Look == glSoft || (c.Look >= glExt && c.Look <= glOffice2007);
  if (!look || !c.BorderSingle || c.BorderColor == clNone || c.Flat) return;
  C.Pen()->SetColor(c.BorderColor);
  C.Pen()->SetWidth(1);
  C.Brush()->SetStyle(plat::bsClear);
  if (FitCellsInGrid) {
    const plat::TPoint inner[] = {{1, H}, {1, 1}, {W - 2, 1}, {W - 2, H - 2}, {1, H - 2}};
    C.Polyline(inner);
    if (FGrid.Parent()) {
      C.Pen()->SetColor(FGrid.Parent()->Color());
      const plat::TPoint outer[] = {{0, H}, {0, 0}, {W - 1, 0}, {W - 1, H - 1}, {0, H - 1}};
      C.Polyline(outer);
    }
  } else {
    const plat::TPoint outline[] = {{0, H - 1}, {0, 0}, {W - 1, 0}, {W - 1, H - 1}, {0, H - 1}};
    C.Polyline(outline);
  }
  C.Brush()->SetStyle(plat::bsSolid);
}

namespace {

void XorLine(TCanvas& C, int x1, int y1, int x2, int y2) {
  const plat::TPenMode mode = C.Pen()->Mode();
  const plat::TPenStyle style = C.Pen()->Style();
  const plat::TColor color = C.Pen()->Color();
  const int width = C.Pen()->Width();
  C.Pen()->SetMode(plat::pmXor);
  C.Pen()->SetStyle(plat::psDot);
  C.Pen()->SetColor(plat::clWhite);  // XOR with white inverts, so the second line restores the pixels
  C.Pen()->SetWidth(1);
  C.MoveTo(x1, y1);
  C.LineTo(x2, y2);
  C.Pen()->SetMode(mode);
  C.Pen()->SetStyle(style);
  C.Pen()->SetColor(color);
  C.Pen()->SetWidth(width);
}

}  // namespace

void TCellRenderer::DrawColumnSizingLine(TCanvas& C, int X) {
  XorLine(C, X, 0, X, std::max(FGrid.Height(), FGrid.GridHeight()));
}

void TCellRenderer::DrawRowSizingLine(TCanvas& C, int Y) {
  XorLine(C, 0, Y, std::max(FGrid.Width(), FGrid.GridWidth()), Y);
}

TRect TCellRenderer::FocusFrameRect(TRect Cell) {
  return TRect(Cell.Left - 4, Cell.Top - 4, Cell.Left - 4 + Cell.Width() + 9, Cell.Top - 4 + Cell.Height() + 9);
}

}  // namespace grid
