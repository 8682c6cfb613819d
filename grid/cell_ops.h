#pragma once
// Operations of the string grid over many cells or the current cell: column and row headers, fills, swapping
// two cells, the current cell's text and font, moving the current cell, and the repaint operations.

#include <QString>

#include <functional>
#include <random>

#include "grid/basegrid.h"
#include "grid/hiding.h"
#include "grid/typed_cells.h"
#include "platform/graphics/gdiobjects.h"
#include "platform/rtl/strings.h"

namespace grid {

class TGridCellOps {
 public:
  TGridCellOps(TBaseGrid& Grid, TGridHiding& Hiding, TTypedCells& Typed)
      : FGrid(Grid), FHiding(Hiding), FTyped(Typed) {}

  // ---- headers: line k into cell (k, 0) / (0, k) through Cells, "\n" becoming a line break
  void ShowColumnHeaders(const plat::TStrings& Headers);
  void ClearColumnHeaders();
  void ShowRowHeaders(const plat::TStrings& Headers);
  void ClearRowHeaders();

  // ---- fills of the normal area (or, with DoFixed, every cell), row by row; then OnAllCellsChanged
  void TextFill(bool DoFixed, const QString& Txt);
  void FormatFill(bool DoFixed, const QString& Fmt);  // Format(Fmt, [column, row])
  void RandomFill(bool DoFixed, int Rnd);             // integers 0 .. Rnd - 1 through Ints
  void LinearFill(bool DoFixed);                      // "column:row"
  // Exchanges the raw texts and the raw object slots of two cells.
  void SwapCells(plat::TPoint FromCell, plat::TPoint ToCell);

  // ---- the current cell (RealCol, Row), mapped to the base cell of a merged area
  QString GetCurrentCell();
  void SetCurrentCell(const QString& Value);
  // The grid font for a cell without properties, else a scratch font (the same object every call) with the
  // cell's font name, size, style and colour.
  const plat::TFont& GetCellFont(int i, int j);

  // ---- moving the current cell
  void GotoCell(int ACol, int ARow);
  void FocusCell(int ACol, int ARow);
  void MoveCurrentCell(int ACol, int ARow);

  // ---- repainting (display columns)
  void RepaintRow(int ARow);
  void RepaintCol(int ACol);
  // Cells from (Left, Top) to (Right, Bottom); nothing for a negative coordinate.
  void RepaintRect(const plat::TGridRect& r);

  // Footer rows at the bottom and fixed columns at the right that fills leave alone (the grid object answers).
  std::function<int()> FixedFooters;
  std::function<int()> FixedRightCols;
  plat::TNotifyEvent OnAllCellsChanged;
  std::mt19937 Random{std::random_device{}()};

 private:
  template <class Fn>
  void Fill(bool DoFixed, Fn&& fn);
  plat::TPoint Current() const;

  TBaseGrid& FGrid;
  TGridHiding& FHiding;
  TTypedCells& FTyped;
  plat::TFont FCellFont;
};

}  // namespace grid
