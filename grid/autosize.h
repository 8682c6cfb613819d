#pragma once
// Sizing a string grid to its contents: column widths and row heights fitted to what the cells hold
// (measured with each cell's own font and colours, its cell object and its formatted text), the columns
// fitted into the control's width, the control sized to its cells, and running numbers written into a column
// or a row. Every computed size passes through the grid's limits.

#include <QString>

#include <functional>

#include "platform/graphics/types.h"

namespace grid {

class TExtStringGrid;

// Min = Max means no limit; otherwise Min applies when above 0 and Max when above 0.
int LimitValue(int Value, int Min, int Max);

class TGridAutoSize {
 public:
  explicit TGridAutoSize(TExtStringGrid& Grid) : FGrid(Grid) {}

  // ACol, ARow: display indexes.
  void AutoSizeColumnInternal(int ACol, bool GrowOnly);
  void AutoSizeRowInternal(int ARow, bool GrowOnly);
  void AutoSizeCol(int ACol, int Padding);
  void AutoSizeColumns(bool DoFixedCols, int Padding);
  void AutoSizeRow(int ARow, int Padding);
  void AutoSizeRows(bool DoFixedRows, int Padding);
  void AutoSizeCells(bool DoFixedCells, int PaddingX, int PaddingY);
  void AutoFitColumns(bool DoFixedCells);
  void SizeToCols();
  void SizeToRows();
  void SizeToCells();
  void AutoNumberCol(int ACol);
  void AutoNumberRow(int ARow);

  // The width and height of a cell's text in the font its colours give it (the canvas keeps that font).
  plat::TSize CellTextSize(int ACol, int ARow, bool WordWrap);
  // The most lines any cell of the row holds (1 unless cells may hold several lines).
  int MaxLinesInRow(int ARow);
  // The room the text offset takes across and down a cell (twice the offset unless only top-left).
  int TotalXOffset() const;
  int TotalYOffset() const;

 private:
  // Puts the font of cell (display ACol, ARow) on the canvas: the grid's or fixed font, then the cell colours.
  void CellFont(int ACol, int ARow, int Zoom);
  int ColumnNeed(int ACol, int ARow);
  int RowNeed(int ACol, int ARow);
  void Number(int First, int Last, const std::function<void(int, int)>& Set);

  TExtStringGrid& FGrid;
};

}  // namespace grid
