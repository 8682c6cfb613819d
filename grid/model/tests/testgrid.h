#pragma once
// A cell grid for tests: fixed counts, a current cell, and a log of what the store asked of its window.

#include <QString>

#include <string>
#include <vector>

#include "grid/model/cellgrid.h"

namespace grid::testing {

class TTestGrid : public TCellGrid {
 public:
  TTestGrid(int cols, int rows) : cols_(cols), rows_(rows) {}

  int ColCount() const override { return cols_; }
  int RowCount() const override { return rows_; }
  void SetCounts(int cols, int rows) {
    cols_ = cols;
    rows_ = rows;
  }
  void RepaintCell(int c, int r) override { Repaints.push_back({c, r}); }
  void InvalidateGrid() override { ++Invalidates; }
  bool HasParentControl() const override { return HasParent; }
  int CurrentCol() const override { return Col; }
  void SetCurrentCell(int c, int r) override {
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

}  // namespace grid::testing
