#pragma once
// What the print engine needs of a grid: counts, fixed parts, screen sizes, merged cells, the selection, the
// printed text of a cell and its looks. The window grid answers through an adapter; TDataPrintHost
// (data_print_host.h) answers for a window-free grid of the data services.

#include <QString>

#include "grid/data/grid_data_host.h"
#include "grid/model/gridtypes.h"
#include "platform/graphics/gdiobjects.h"
#include "platform/graphics/types.h"

namespace grid {

// How one cell prints. The engine presets the font (the print font, or the fixed print font for fixed cells)
// and a white brush; the host may change anything.
struct TPrintCellLooks {
  plat::TColor Color = plat::clWhite;
  // Not clNone: the cell is filled in bands from Color at its top to ColorTo at its bottom.
  plat::TColor ColorTo = plat::clNone;
  plat::TFont* Font = nullptr;
  plat::TAlignment HAlign = plat::taLeftJustify;
  TVAlignment VAlign = vtaTop;
  bool WordWrap = false;
};

class TPrintHost {
 public:
  virtual ~TPrintHost() = default;

  virtual int ColCount() const = 0;
  virtual int RowCount() const = 0;
  virtual int FixedCols() const { return 0; }
  virtual int FixedRows() const { return 0; }
  virtual int FixedFooters() const { return 0; }
  // Screen sizes in pixels and the screen's resolution (the engine scales them onto paper).
  virtual int ColWidth(int ACol) const = 0;
  virtual int RowHeight(int ARow) const = 0;
  virtual int ScreenDotsPerInch() const { return 96; }
  // Line breaks inside cells print as several lines.
  virtual bool MultiLineCells() const { return false; }

  // The text a cell prints, as it is measured and drawn: formatted, formulas calculated, markup made plain,
  // the URL scheme removed where the grid hides it, empty for cells that show only a control.
  virtual QString PrintText(int ACol, int ARow) = 0;
  virtual void PrintLooks(int ACol, int ARow, TPrintCellLooks& Looks) { (void)ACol, (void)ARow, (void)Looks; }
  // Rotation of a cell's text in degrees (0: not rotated).
  virtual int PrintAngle(int ACol, int ARow) { (void)ACol, (void)ARow; return 0; }

  // Merged cells: the extra columns and rows a base cell spans, and whether a cell is drawn by itself (false for
  // a cell inside another's merge).
  virtual plat::TPoint CellSpan(int ACol, int ARow) const { (void)ACol, (void)ARow; return {}; }
  virtual bool IsBaseCell(int ACol, int ARow) const { (void)ACol, (void)ARow; return true; }

  // The selection, for printing it and for printing only the selected rows or columns.
  virtual plat::TRect Selection() const { return plat::TRect(0, 0, -1, -1); }
  virtual bool RowPrintSelected(int ARow) const { (void)ARow; return true; }
  virtual bool ColPrintSelected(int ACol) const { (void)ACol; return true; }

  virtual void ExportNotification(TGridExportState AState, int ARow) { (void)AState, (void)ARow; }
};

}  // namespace grid
