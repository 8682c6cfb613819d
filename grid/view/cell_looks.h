#pragma once
// The per-cell look of the string grid: colours, gradients, font parts, alignment, read-only and word wrap of
// one cell, the same for a whole row, and column widths by real column. Setters create the cell's properties
// when missing; getters answer the default without creating them. Cells are (real column, display row).

#include <functional>

#include "grid/basegrid.h"
#include "grid/hiding.h"

namespace grid {

class TCellLooks {
 public:
  TCellLooks(TBaseGrid& Grid, TGridHiding& Hiding) : FGrid(Grid), FHiding(Hiding) {}

  plat::TColor GetColors(int i, int j) const;
  void SetColors(int i, int j, plat::TColor Value);
  plat::TColor GetColorsTo(int i, int j) const;
  void SetColorsTo(int i, int j, plat::TColor Value);
  TCellGradientDirection GetGradientDir(int i, int j) const;
  void SetGradientDir(int i, int j, TCellGradientDirection Value);
  plat::TColor GetFontColors(int i, int j) const;
  void SetFontColors(int i, int j, plat::TColor Value);
  plat::TFontStyles GetFontStyles(int i, int j) const;
  void SetFontStyles(int i, int j, plat::TFontStyles Value);
  int GetFontSizes(int i, int j) const;
  void SetFontSizes(int i, int j, int Value);
  QString GetFontNames(int i, int j) const;
  void SetFontNames(int i, int j, const QString& Value);
  // Name, size, style and colour of AFont into the cell.
  void SetCellFont(int i, int j, const plat::TFont& AFont);
  plat::TAlignment GetAlignments(int i, int j) const;
  void SetAlignments(int i, int j, plat::TAlignment Value);
  bool GetReadOnly(int i, int j) const;
  void SetReadOnly(int i, int j, bool Value);
  // Creates the properties (and so answers the grid's default).
  bool GetWordWraps(int i, int j);
  void SetWordWraps(int i, int j, bool Value);

  // Columns FixedCols .. all columns - 1 of row i, then the row is repainted. clNone clears: a cell without a
  // cell object loses its properties (row colour) or, with no colour of its own, its properties (font colour);
  // the gradient end colour clNone resets only that colour.
  void SetRowColor(int i, plat::TColor AColor);
  void SetRowColorTo(int i, plat::TColor AColor);
  void SetRowFontColor(int i, plat::TColor AColor);

  // Width by real column: the remembered width of a hidden column, else the platform's.
  int GetAllColWidths(int ACol) const;
  void SetAllColWidths(int ACol, int Value);

  // True while an update bracket is open: the colour and font setters then leave the repaint to its end.
  std::function<bool()> UpdatePending;

 private:
  const TCellProperties* Props(int i, int j) const { return FGrid.HasCellProperties(i, j) ? FGrid.GetGridObject(i, j) : nullptr; }
  // The cell's properties, created when missing (nullptr outside the grid).
  TCellProperties* Make(int i, int j) { return FGrid.GetCellProperties(i, j); }
  void Repaint(int i, int j, bool Always);
  void RepaintRow(int j);
  int AllColCount() const { return FGrid.ColCount() + FHiding.NumHiddenColumns(); }

  TBaseGrid& FGrid;
  TGridHiding& FHiding;
};

}  // namespace grid
