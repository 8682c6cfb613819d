#pragma once
// Sizes of the string grid: stretching one column to fill the client width, whole-row heights of the window,
// and what follows a change of column widths or row heights (scaling all columns or rows with the one the
// user sized, the end-of-sizing events, the width a column may take). The sizing-border checks let the
// application refuse a sizing before it starts.

#include <vector>

#include "platform/grids/grids.h"

namespace grid {

class TExtStringGrid;

class TGridSizing {
 public:
  explicit TGridSizing(TExtStringGrid& Grid) : FGrid(Grid) {}

  // Index -1: the last column. An index at or above ColCount raises "Stretch column index out of range".
  void StretchColumn(int Index);
  // The window height trimmed to a whole number of rows (the asked height when not trimming).
  int IntegralHeight(int AHeight) const;
  // After the platform changed widths / heights.
  void ColWidthsChanged();
  void RowHeightsChanged();
  // After the platform's sizing-state calculation: a refused column or row sizing ends the sizing.
  void CheckSizingState(int X, int Y, plat::TGridState& State);
  // Whether the point lies on a border the user may drag.
  bool IsOnSizingBorder(int X, int Y) const;
  // Around the mouse release that ends a user's sizing: which column or row the user sized.
  void BeginUserSizing(plat::TGridState State, int Index);
  void EndUserSizing() { FUserCol = FUserRow = -1; }
  // Widths and heights as last seen, to scale the others by the change the user made.
  void Remember();

 private:
  void ScaleOthers(bool Cols, int Sized, int OldSize);

  TExtStringGrid& FGrid;
  bool FStretching = false;
  int FUserCol = -1, FUserRow = -1;
  std::vector<int> FColWidths, FRowHeights;
};

}  // namespace grid
