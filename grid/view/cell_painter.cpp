#include "grid/view/cell_painter.h"

#include "controls/draw_utils.h"
#include "platform/graphics/drawtext.h"

namespace grid {

using plat::TCanvas;
using plat::TColor;
using plat::TRect;

void TCellPaintHost::DrawCellContents(TCanvas& ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState) {
  const QString text = PaintCells().GetCellEx(ACol, ARow);
  // Over a gradient the brush holds the last band's colour: the text goes on the background as painted.
  ACanvas.SetBkMode(plat::TRANSPARENT);
  ACanvas.DrawText(text, ARect, plat::DT_SINGLELINE | plat::DT_CENTER | plat::DT_VCENTER);
}

TSelectionColors SelectionStyleColors(TGridSelectionStyle Style, bool Active) {
  if (!Active)
    return {0xF8F8F8, 0xE5E5E5, plat::clNone, plat::clNone, 0xFBFAFA, 0xF0F0F0, 0xD9D9D9, 0xEFEFEF};
  switch (Style) {
    case ssVista:
      return {0xFDF8F1, 0xFCEFD5, plat::clNone, plat::clNone, 0xFDFBF6, 0xFDF5E7, 0xFDDE99, 0xFCEDCB};
    case ssWin7:
      return {0xFCEBDC, 0xFCDBC1, plat::clNone, plat::clNone, 0xFDF4EB, 0xFDEADB, 0xCEA27D, 0xE0C5AE};
    case ssOffice2007:
      return {0xD7FFFD, 0x58D4FC, 0x58D4FC, 0xB3F1FC, 0xF4FEFF, 0xCAF8FF, 0x8DD7D3, 0xC3D9DF};
    case ssDefault:
      break;
  }
  return SelectionStyleColors(ssVista, Active);
}

bool TBaseCellPainter::PaintedByOtherCell(TCanvas& ACanvas, int ACol, int ARow, TRect ARect,
                                          TGridDrawState AState) {
  TCellGrid& cells = FHost.PaintCells();
  int bc = ACol, br = ARow;
  if (cells.ResolveBaseCell(ACol, ARow, bc, br)) return false;
  // A non-base cell draws its whole area at most once per pass, for an area whose base is out of view.
  TCellProperties* base = cells.GetGridObject(bc, br);
  if (base && base->FPaintID != FPaintID) {
    base->FPaintID = FPaintID;
    PaintCell(ACanvas, bc, br, ARect, AState);
  }
  return true;
}

void TBaseCellPainter::ApplyRowHighlights(TCanvas& ACanvas, int ACol, int ARow, bool Full, TGridDrawState AState,
                                          TLook& Look) {
  const TCellPaintSettings& s = Settings;
  const bool selectedKept = AState.Contains(gdSelected) && !s.HoverRowCells.Contains(hcSelected);
  const bool fixedKept = AState.Contains(gdFixed) && !s.HoverRowCells.Contains(hcFixed);
  if (ARow == s.HoverRowIdx && s.HoverRow && !selectedKept && !fixedKept) {
    ACanvas.Brush()->SetColor(s.HoverRowColor);
    Look.ColorTo = s.HoverRowColorTo;
    Look.MirrorColor = plat::clNone;
    Look.MirrorColorTo = plat::clNone;
    Look.GD = GradientVertical;
  }
  const plat::TPoint current = FHost.PaintCurrentCell();
  const bool activeRow = s.ActiveRowShow && ARow == current.Y && (ACol != current.X || !s.ShowSel) &&
                         ACol >= FHost.PaintFixedCols();
  if (activeRow || (!Full && AState.Contains(gdSelected))) {
    ACanvas.Brush()->SetColor(s.ActiveRowColor);
    Look.ColorTo = s.ActiveRowColorTo;
    Look.MirrorColor = s.ActiveRowMirrorColor;
    Look.MirrorColorTo = s.ActiveRowMirrorColorTo;
    ACanvas.Pen()->SetColor(ACanvas.Brush()->Color());
  }
}

void TBaseCellPainter::DrawSelection(TCanvas& ACanvas, int ACol, TRect R) {
  const TRect sel = FHost.PaintSelection();
  const int l = std::min(sel.Left, sel.Right), rt = std::max(sel.Left, sel.Right);
  int join = 0;
  if (ACol == l && l < rt)
    join = 1;
  else if (ACol == rt && rt > l)
    join = 2;
  else if (l < ACol && ACol < rt)
    join = 3;
  const TCellPaintOptions o = FHost.PaintOptions();
  if (!o.HorzLine) ++R.Bottom;
  if (!o.VertLine) ++R.Right;
  if (FHost.PaintRightToLeft()) {
    ++R.Right;
    ++R.Bottom;
  }
  const TSelectionColors c = SelectionStyleColors(Settings.SelectionStyle, FHost.PaintFocused() || o.DrawFocusSelected);
  controls::DrawRoundedSelection(ACanvas, c.Color, c.ColorTo, c.ColorMirror, c.ColorMirrorTo, c.InnerTop,
                                 c.InnerBottom, c.Border, c.Corner, FHost.PaintColor(), R, join);
}

void TBaseCellPainter::DrawBackground(TCanvas& ACanvas, TRect R, const TLook& Look) {
  const TColor color = ACanvas.Brush()->Color();
  if (Look.MirrorColorTo == plat::clNone)
    controls::FillGradientBands(ACanvas, color, Look.ColorTo, 64, R, Look.GD == GradientHorizontal);
  else
    controls::FillGradientBox(ACanvas, R, color, Look.ColorTo, Look.MirrorColor, Look.MirrorColorTo,
                              controls::gdVertical, plat::clNone, false, true);
}

void TBaseCellPainter::DrawLines(TCanvas& ACanvas, int ACol, TRect R, TGridDrawState AState) {
  const TCellPaintOptions o = FHost.PaintOptions();
  const bool fixed = AState.Contains(gdFixed);
  int d = 1;
  if (fixed) {
    ACanvas.Pen()->SetColor(Settings.GridFixedLineColor);
    ACanvas.Pen()->SetWidth(1);
  } else {
    if (Settings.GridLineWidth > 0) ACanvas.Pen()->SetColor(Settings.GridLineColor);
    ACanvas.Pen()->SetWidth(Settings.GridLineWidth);
    d = (Settings.GridLineWidth + 1) / 2;
  }
  if ((ACol != 0 || !FHost.HasNodes()) && (fixed ? o.FixedHorzLine : o.HorzLine)) {
    ACanvas.MoveTo(R.Left - d + 1, R.Bottom - d);
    ACanvas.LineTo(R.Right - d + 1, R.Bottom - d);
  }
  if (fixed ? o.FixedVertLine : o.VertLine) {
    const int x = FHost.PaintRightToLeft() ? R.Right - d + 1 : R.Right - d;
    ACanvas.MoveTo(x, R.Bottom - d);
    ACanvas.LineTo(x, R.Top - d);
  }
}

void TBaseCellPainter::RenderCell(TCanvas& ACanvas, int ACol, int ARow, bool Full, TGridDrawState AState,
                                  TRect ARect) {
  TCellGrid& cells = FHost.PaintCells();
  if (ARow == cells.RowCount() - 1 && cells.HideLastRow()) {
    ACanvas.Brush()->SetColor(FHost.PaintColor());
    ACanvas.Pen()->SetColor(FHost.PaintColor());
    ACanvas.Rectangle(ARect);
    return;
  }
  if (PaintedByOtherCell(ACanvas, ACol, ARow, ARect, AState)) return;
  if (Full && FHost.IsFixed(ACol, ARow)) {
    AState.Exclude(gdSelected);
    AState.Include(gdFixed);
  }
  TRect R = Full ? FHost.CellRect(ACol, ARow) : ARect;

  // A cell scrolled partly under the fixed columns or rows never paints over them.
  const int fixedCols = FHost.PaintFixedCols(), fixedRows = FHost.PaintFixedRows();
  const int l0 = ACol >= fixedCols ? FHost.FixedColsWidth() : 0;
  const int t0 = ARow >= fixedRows ? FHost.FixedRowsHeight() : 0;
  const bool clip = (ACol >= fixedCols && fixedCols > 0 && R.Left < l0) ||
                    (ARow >= fixedRows && fixedRows > 0 && R.Top < t0);
  const int saved = clip ? ACanvas.SaveDC() : 0;
  if (clip) {
    const plat::TSize client = FHost.PaintClientSize();
    ACanvas.IntersectClipRect(TRect(l0, t0, client.cx, client.cy));
  }

  ACanvas.Pen()->SetWidth(1);
  // A font change makes the canvas set its painter up again: assign only when the grid's font differs.
  const plat::TFont& font = FHost.PaintFont();
  const plat::TFont& current = *ACanvas.Font();
  if (current.Name() != font.Name() || current.Height() != font.Height() || current.Style() != font.Style() ||
      current.Color() != font.Color() || current.Orientation() != font.Orientation())
    ACanvas.SetFont(font);
  TLook look;
  look.WW = cells.WordWrap();
  FHost.GetVisualProperties(ACol, ARow, AState, false, true, true, ACanvas.Brush(), look.ColorTo, look.MirrorColor,
                            look.MirrorColorTo, ACanvas.Font(), look.HA, look.VA, look.WW, look.GD);
  ACanvas.Pen()->SetColor(ACanvas.Brush()->Color());
  ApplyRowHighlights(ACanvas, ACol, ARow, Full, AState, look);

  if (AState.Contains(gdSelected) && Settings.SelectionStyle != ssDefault && Settings.ShowSel)
    DrawSelection(ACanvas, ACol, R);
  else if (!(FHost.UsesVCLStyle() && (AState.Contains(gdFixed) || AState.Contains(gdSelected))))
    DrawBackground(ACanvas, R, look);
  DrawLines(ACanvas, ACol, R, AState);

  if (Full) {
    TRect contents = R;
    if (AState.Contains(gdFixed)) {
      contents.Right -= 1;
      contents.Bottom -= 2;
    } else {
      plat::InflateRect(contents, -Settings.GridLineWidth, -Settings.GridLineWidth);
    }
    FHost.DrawCellContents(ACanvas, ACol, ARow, contents, AState);
  }
  if (clip) ACanvas.RestoreDC(saved);
  ACanvas.Brush()->SetStyle(plat::bsSolid);
  ACanvas.Pen()->SetStyle(plat::psSolid);
}

}  // namespace grid
