#pragma once
// The row and column operations of the cell store run on a base grid: row heights and column widths follow
// their rows and columns, and the hidden-row records are renumbered when shown rows come, go or move in front
// of them (so a hidden row comes back where it was hidden, also after rows were inserted before it).

#include "grid/basegrid.h"
#include "grid/hiding.h"
#include "grid/selection.h"
#include "grid/model/row_col_ops.h"

namespace grid {

class TGridRowOps : public TRowColHost {
 public:
  TGridRowOps(TBaseGrid& Grid, TGridHiding* Hiding, TGridSelection* Selection = nullptr)
      : FGrid(Grid), FHiding(Hiding), FSel(Selection) {}
  TRowColOps& Ops() { return FOps; }

  void SetRowCount(int Value) override { FGrid.SetRowCount(Value); }
  void SetColCount(int Value) override { FGrid.SetColCount(Value); }
  int FixedRows() const override { return FGrid.FixedRows(); }
  int FixedCols() const override { return FGrid.FixedCols(); }
  // Footer rows and right fixed columns, which the grid object knows.
  std::function<int()> FixedFootersOf, FixedRightColsOf;
  int FixedFooters() const override { return FixedFootersOf ? FixedFootersOf() : 0; }
  int FixedRightCols() const override { return FixedRightColsOf ? FixedRightColsOf() : 0; }
  void RowsInserted(int ARow, int Count) override;
  void RowsRemoved(int ARow, int Count) override;
  void RowsMoved(int FromIndex, int Count, int ToIndex) override;
  void RowsSwapped(int ARow1, int ARow2) override;
  void RowsPermuted(int First, const std::vector<int>& From) override;
  void ColsInserted(int ACol, int Count) override;
  void ColsRemoved(int ACol, int Count) override;
  void ColsSwapped(int ACol1, int ACol2) override;
  int DisplToRealRow(int ARow) const override { return FHiding ? FHiding->DisplToRealRow(ARow) : ARow; }
  bool HasHiddenRows() const override { return FHiding && FHiding->NumHiddenRows() > 0; }
  int HiddenColsIn(int ACol, int Count) const override {
    return FHiding ? FHiding->Columns().HiddenIn(ACol, Count) : 0;
  }
  void RenumberHiddenRows(const std::function<int(int)>& NewIdx) override {
    if (FHiding) FHiding->RenumberRecords(NewIdx);
  }
  void CellsChanged(int, int, int, int) override { FGrid.Invalidate(); }
  // The controls attached to cells, which the grid object keeps and places.
  std::function<TControlPlaces*()> ControlPlacesOf;
  std::function<void(const std::vector<plat::TControl*>&)> OnControlsDropped;
  std::function<void()> OnControlsMoved;
  TControlPlaces* ControlPlaces() override { return ControlPlacesOf ? ControlPlacesOf() : nullptr; }
  void ControlsDropped(const std::vector<plat::TControl*>& Controls) override {
    if (OnControlsDropped) OnControlsDropped(Controls);
  }
  void ControlsMoved() override {
    if (OnControlsMoved) OnControlsMoved();
  }

 private:
  // Sizes of [From, To) rows or columns read once and written back where they changed.
  void RotateRowHeights(int First, int Middle, int Last);
  void RotateColWidths(int First, int Middle, int Last);

  TBaseGrid& FGrid;
  TGridHiding* FHiding;
  TGridSelection* FSel;
  TRowColOps FOps{FGrid.CellStore(), *this};
};

}  // namespace grid
