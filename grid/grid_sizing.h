#pragma once
// Sizes of the string grid: stretching one column to fill the client width, whole-row heights of the window,
// and what follows a change of column widths or row heights (scaling all columns or rows with the one the
// user sized, the end-of-sizing events, the width a column may take). The sizing-border checks let the
// application refuse a sizing before it starts.

#include <vector>

#include "platform/grids/grids.h"

namespace grid {

class TBaseGrid;
class TColumnSize;
class TMouseActions;
struct TExtGridEvents;

// What the sizing asks of its grid beyond the base grid's widths and heights.
class TSizingHost {
 public:
  virtual TBaseGrid& SizedGrid() = 0;
  // The grid's own fixed counts and update lock (the base grid's may differ).
  virtual int GridFixedCols() const = 0;
  virtual int GridFixedRows() const = 0;
  virtual int GridUpdateCount() const = 0;
  // Whether the window height is trimmed to whole rows, and the width a scroll bar takes.
  virtual bool TrimsToWholeRows() const = 0;
  virtual int ScrollBarWidth() const = 0;
  virtual TColumnSize& ColumnSizing() = 0;
  virtual TMouseActions& SizingActions() = 0;
  // The width a column may take after the user sized it (the grid's handler, which applications override).
  virtual void CheckColSize(int ACol, int& AWidth) = 0;
  // The sizing events, raised with the grid as sender.
  virtual TExtGridEvents& SizingEvents() = 0;

 protected:
  ~TSizingHost() = default;
};

class TGridSizing {
 public:
  explicit TGridSizing(TSizingHost& Host) : FHost(Host) {}

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

  TBaseGrid& Grid() const { return FHost.SizedGrid(); }

  TSizingHost& FHost;
  bool FStretching = false;
  int FUserCol = -1, FUserRow = -1;
  std::vector<int> FColWidths, FRowHeights;
};

}  // namespace grid
