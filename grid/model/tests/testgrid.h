#pragma once
// A cell grid for tests: fixed counts, a current cell, and a log of what the store told its window.

#include <QString>

#include <string>
#include <vector>

#include "grid/model/cellgrid.h"

namespace grid::testing {

// The window side comes first, so that it is made before the store that keeps a reference to it.
class TTestGridWindow : public TCellGridHost, public TCellGridListener {
 public:
  TTestGridWindow(int cols, int rows) : cols_(cols), rows_(rows) {}

  int ColCount() const override { return cols_; }
  int RowCount() const override { return rows_; }
  void SetCounts(int cols, int rows) {
    cols_ = cols;
    rows_ = rows;
  }
  bool HasParentControl() const override { return HasParent; }
  int CurrentCol() const override { return Col; }
  void CellChanged(int c, int r) override { Repaints.push_back({c, r}); }
  void StructureChanged() override { ++Invalidates; }
  void CurrentCellMoved(int c, int r) override {
    Col = c;
    Row = r;
  }
  void CellTextChanged(int c, int r) override { TextChanges.push_back({c, r}); }
  void LastRowChanged() override { ++LastRowChanges; }

  struct Cell {
    int c, r;
    friend bool operator==(const Cell&, const Cell&) = default;
  };
  std::vector<Cell> Repaints;
  std::vector<Cell> TextChanges;
  int Invalidates = 0;
  int LastRowChanges = 0;
  bool HasParent = false;
  int Col = 0;
  int Row = 0;

 private:
  int cols_;
  int rows_;
};

class TTestGrid : public TTestGridWindow, public TCellGrid {
 public:
  TTestGrid(int cols, int rows) : TTestGridWindow(cols, rows), TCellGrid(*this, this) {}

  // The store's names for what the window answers and hears.
  using TTestGridWindow::ColCount;
  using TTestGridWindow::RowCount;
  using TCellGrid::TotalColCount;
  using TCellGrid::DisplColIndex;
  using TCellGrid::HasParentControl;
  using TCellGrid::IsDestroying;
  using TCellGrid::CurrentCol;
  using TCellGrid::EventSender;
  using TCellGrid::CellTextChanged;
  using TTestGridWindow::Cell;
};

}  // namespace grid::testing
