#pragma once
// The painting half of the base grid: one cell's background, grid lines and (in the base behaviour) text, a
// merged area drawn once as one rectangle, cells scrolled under the fixed area clipped, and the three
// highlights of the base grid (active row, hover row, selection styles). The grid supplies geometry, state
// and the two virtual steps (visual properties and contents) through TCellPaintHost; the painter keeps the
// painting settings and the paint-pass number.

#include "grid/model/cellgrid.h"
#include "grid/model/gridtypes.h"
#include "platform/graphics/canvas.h"
#include "platform/grids/grids.h"

namespace grid {

using plat::gdFixed;
using plat::gdFocused;
using plat::gdSelected;
using plat::TGridDrawState;

// The line options of the grid that painting reads.
struct TCellPaintOptions {
  bool FixedVertLine = true, FixedHorzLine = true, VertLine = true, HorzLine = true;
  bool DrawFocusSelected = false;
};

// What the painter asks of the grid it paints.
class TCellPaintHost {
 public:
  virtual ~TCellPaintHost() = default;
  virtual TCellGrid& PaintCells() = 0;
  virtual int PaintFixedCols() const = 0;
  virtual int PaintFixedRows() const = 0;
  // The current cell (display column) and the selection (columns Left..Right, rows Top..Bottom).
  virtual plat::TPoint PaintCurrentCell() const = 0;
  virtual plat::TRect PaintSelection() const = 0;
  // Client pixels of the whole cell or merged area; widths of the fixed columns and heights of the fixed rows.
  virtual plat::TRect CellRect(int ACol, int ARow) = 0;
  virtual int FixedColsWidth() const = 0;
  virtual int FixedRowsHeight() const = 0;
  virtual plat::TSize PaintClientSize() const = 0;
  virtual plat::TColor PaintColor() const = 0;
  virtual const plat::TFont& PaintFont() const = 0;
  virtual TCellPaintOptions PaintOptions() const = 0;
  virtual bool PaintFocused() const = 0;
  virtual bool PaintRightToLeft() const { return false; }
  // The grid's virtual operations.
  virtual bool IsFixed(int ACol, int ARow) { (void)ACol, (void)ARow; return false; }
  virtual bool HasNodes() { return false; }
  virtual bool UsesVCLStyle() { return false; }
  virtual void GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print, bool Select,
                                   bool Remap, plat::TBrush* ABrush, plat::TColor& AColorTo,
                                   plat::TColor& AMirrorColor, plat::TColor& AMirrorColorTo, plat::TFont* AFont,
                                   plat::TAlignment& HA, TVAlignment& VA, bool& WW,
                                   TCellGradientDirection& GD) {
    (void)ACol, (void)ARow, (void)AState, (void)Print, (void)Select, (void)Remap, (void)ABrush, (void)AColorTo;
    (void)AMirrorColor, (void)AMirrorColorTo, (void)AFont, (void)HA, (void)VA, (void)WW, (void)GD;
  }
  // The base behaviour draws the cell's text on one line, centred both ways.
  virtual void DrawCellContents(plat::TCanvas& ACanvas, int ACol, int ARow, plat::TRect ARect,
                                TGridDrawState AState);
};

// The painting settings of the base grid, with their defaults.
struct TCellPaintSettings {
  int GridLineWidth = 1;
  plat::TColor GridLineColor = plat::clSilver;
  plat::TColor GridFixedLineColor = plat::clGray;
  bool ActiveRowShow = false;
  plat::TColor ActiveRowColor = plat::clInfoBk;
  plat::TColor ActiveRowColorTo = plat::clNone;
  plat::TColor ActiveRowMirrorColor = plat::clNone;
  plat::TColor ActiveRowMirrorColorTo = plat::clNone;
  TGridSelectionStyle SelectionStyle = ssDefault;
  int HoverRowIdx = -1;  // the row under the mouse
  bool HoverRow = false;
  THoverRowCells HoverRowCells{hcNormal, hcSelected};
  plat::TColor HoverRowColor = plat::clInfoBk;
  plat::TColor HoverRowColorTo = plat::clNone;
  bool ShowSel = true;
};

// The colours DrawRoundedSelection takes for a selection style.
struct TSelectionColors {
  plat::TColor Color, ColorTo, ColorMirror, ColorMirrorTo, InnerTop, InnerBottom, Border, Corner;
};
TSelectionColors SelectionStyleColors(TGridSelectionStyle Style, bool Active);

class TBaseCellPainter {
 public:
  explicit TBaseCellPainter(TCellPaintHost& Host) : FHost(Host) {}

  TCellPaintSettings Settings;
  // Each paint pass has its own number; a merged area records the pass it was last drawn in.
  int PaintID() const { return FPaintID; }
  void EndPaintPass() { ++FPaintID; }

  // The draw-cell step: the whole cell with its contents.
  void HandleDrawCell(plat::TCanvas& ACanvas, int ACol, int ARow, plat::TRect ARect, TGridDrawState AState) {
    RenderCell(ACanvas, ACol, ARow, true, AState, ARect);
  }
  void PaintCell(plat::TCanvas& ACanvas, int ACol, int ARow, plat::TRect ARect, TGridDrawState AState) {
    RenderCell(ACanvas, ACol, ARow, true, AState, ARect);
  }
  // Background and lines into ARect as given, without contents.
  void PaintCellExt(plat::TCanvas& ACanvas, int ACol, int ARow, plat::TRect ARect, TGridDrawState AState) {
    RenderCell(ACanvas, ACol, ARow, false, AState, ARect);
  }
  void RenderCell(plat::TCanvas& ACanvas, int ACol, int ARow, bool Full, TGridDrawState AState,
                  plat::TRect ARect);

 private:
  struct TLook {
    plat::TColor ColorTo = plat::clNone, MirrorColor = plat::clNone, MirrorColorTo = plat::clNone;
    plat::TAlignment HA = plat::taLeftJustify;
    TVAlignment VA = vtaTop;
    bool WW = false;
    TCellGradientDirection GD = GradientVertical;
  };
  bool PaintedByOtherCell(plat::TCanvas& ACanvas, int ACol, int ARow, plat::TRect ARect, TGridDrawState AState);
  void ApplyRowHighlights(plat::TCanvas& ACanvas, int ACol, int ARow, bool Full, TGridDrawState AState,
                          TLook& Look);
  void DrawSelection(plat::TCanvas& ACanvas, int ACol, plat::TRect R);
  void DrawBackground(plat::TCanvas& ACanvas, plat::TRect R, const TLook& Look);
  void DrawLines(plat::TCanvas& ACanvas, int ACol, plat::TRect R, TGridDrawState AState);

  TCellPaintHost& FHost;
  int FPaintID = 1;
};

}  // namespace grid
