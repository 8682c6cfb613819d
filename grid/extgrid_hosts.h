#pragma once
// The adapters through which the string grid serves its collaborators' host interfaces. Each holds the grid
// and answers with the grid's own members, so that the collaborators never see the grid's class.

#include "grid/grid_sizing.h"
#include "grid/input/move_feedback.h"
#include "grid/view/footer.h"

namespace grid {

class TExtStringGrid;

class TSizingAdapter final : public TSizingHost {
 public:
  explicit TSizingAdapter(TExtStringGrid& Grid) : FGrid(Grid) {}
  TBaseGrid& SizedGrid() override;
  int GridFixedCols() const override;
  int GridFixedRows() const override;
  int GridUpdateCount() const override;
  bool TrimsToWholeRows() const override;
  int ScrollBarWidth() const override;
  TColumnSize& ColumnSizing() override;
  TMouseActions& SizingActions() override;
  void CheckColSize(int ACol, int& AWidth) override;
  TExtGridEvents& SizingEvents() override;

 private:
  TExtStringGrid& FGrid;
};

class TFooterAdapter final : public TFooterHost {
 public:
  explicit TFooterAdapter(TExtStringGrid& Grid) : FGrid(Grid) {}
  TRenderGrid& FooterGrid() override;
  int GridFixedCols() const override;
  int FooterRealCol(int ACol) const override;
  bool GridFlat() const override;
  plat::TColor GridSelectionTextColor() const override;
  plat::TCustomImageList* FooterImages() const override;
  plat::TColor FooterURLColor() const override;
  void SetFooterRows(int Value) override;
  void CalcFooterColumn(int ACol) override;
  TExtGridEvents& FooterEvents() override;

 private:
  TExtStringGrid& FGrid;
};

class TMoveAdapter final : public TMoveHost {
 public:
  explicit TMoveAdapter(TExtStringGrid& Grid) : FGrid(Grid) {}
  TRenderGrid& MovedGrid() override;
  int GridFixedCols() const override;
  int GridFixedRows() const override;
  void SetGridTopRow(int Value) override;
  int MoveRealCol(int ACol) const override;
  bool EnhancedMoves() const override;
  bool MoveShowsCells() override;
  bool FooterHoldsLastRow() const override;
  void CancelMoveTracking() override;
  void StartBlockFocus() override;
  void EndBlockFocus() override;
  TExtGridEvents& MoveEvents() override;

 private:
  TExtStringGrid& FGrid;
};

}  // namespace grid
