#include "grid/extgrid_hosts.h"

#include "grid/extgrid.h"

namespace grid {

// ---- sizing

TBaseGrid& TSizingAdapter::SizedGrid() { return FGrid; }
int TSizingAdapter::GridFixedCols() const { return FGrid.FixedCols(); }
int TSizingAdapter::GridFixedRows() const { return FGrid.FixedRows(); }
int TSizingAdapter::GridUpdateCount() const { return FGrid.UpdateCount(); }
bool TSizingAdapter::TrimsToWholeRows() const { return FGrid.IntegralHeight; }
int TSizingAdapter::ScrollBarWidth() const { return FGrid.ScrollWidth; }
TColumnSize& TSizingAdapter::ColumnSizing() { return *FGrid.ColumnSize(); }
TMouseActions& TSizingAdapter::SizingActions() { return *FGrid.MouseActions(); }
void TSizingAdapter::CheckColSize(int ACol, int& AWidth) { FGrid.UpdateColSize(ACol, AWidth); }
TExtGridEvents& TSizingAdapter::SizingEvents() { return FGrid; }

// ---- floating footer

TRenderGrid& TFooterAdapter::FooterGrid() { return FGrid; }
int TFooterAdapter::GridFixedCols() const { return FGrid.FixedCols(); }
int TFooterAdapter::FooterRealCol(int ACol) const { return FGrid.RealColIndex(ACol); }
bool TFooterAdapter::GridFlat() const { return FGrid.Flat(); }
plat::TColor TFooterAdapter::GridSelectionTextColor() const { return FGrid.SelectionTextColor(); }
plat::TCustomImageList* TFooterAdapter::FooterImages() const { return FGrid.GridImages(); }
plat::TColor TFooterAdapter::FooterURLColor() const { return FGrid.URLColor; }
void TFooterAdapter::SetFooterRows(int Value) { FGrid.SetFixedFooters(Value); }
void TFooterAdapter::CalcFooterColumn(int ACol) { FGrid.CalcFooter(ACol); }
TExtGridEvents& TFooterAdapter::FooterEvents() { return FGrid; }

// ---- column and row moves

TRenderGrid& TMoveAdapter::MovedGrid() { return FGrid; }
int TMoveAdapter::GridFixedCols() const { return FGrid.FixedCols(); }
int TMoveAdapter::GridFixedRows() const { return FGrid.FixedRows(); }
void TMoveAdapter::SetGridTopRow(int Value) { FGrid.SetTopRow(Value); }
int TMoveAdapter::MoveRealCol(int ACol) const { return FGrid.RealColIndex(ACol); }
bool TMoveAdapter::EnhancedMoves() const { return FGrid.EnhRowColMove; }
bool TMoveAdapter::MoveShowsCells() { return FGrid.DragDropSettings()->ShowCells; }
bool TMoveAdapter::FooterHoldsLastRow() const { return FGrid.FloatingFooterFixedLastRow(); }
void TMoveAdapter::CancelMoveTracking() { FGrid.CancelTracking(); }
void TMoveAdapter::StartBlockFocus() {
  if (FGrid.OnStartBlockFocus) FGrid.OnStartBlockFocus(&FGrid);
}
void TMoveAdapter::EndBlockFocus() {
  if (FGrid.OnEndBlockFocus) FGrid.OnEndBlockFocus(&FGrid);
}
TExtGridEvents& TMoveAdapter::MoveEvents() { return FGrid; }

}  // namespace grid
