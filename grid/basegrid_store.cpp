// The cell store's operations as the base grid offers them: each goes to the store the grid owns.

#include <vector>

#include "grid/basegrid.h"

namespace grid {

bool TBaseGrid::HasCellProperties(int ACol, int ARow) const { return FCells.HasCellProperties(ACol, ARow); }
TCellProperties* TBaseGrid::GetGridObject(int ACol, int ARow) const { return FCells.GetGridObject(ACol, ARow); }
void TBaseGrid::SetGridObject(int ACol, int ARow, TCellProperties* Value) { FCells.SetGridObject(ACol, ARow, Value); }
void TBaseGrid::SetGridCell(int ACol, int ARow, const QString& Value) { FCells.SetGridCell(ACol, ARow, Value); }
TCellProperties* TBaseGrid::GetCellProperties(int ACol, int ARow) { return FCells.GetCellProperties(ACol, ARow); }
void TBaseGrid::SetCellProperties(int ACol, int ARow, TCellProperties* Value) {
  FCells.SetCellProperties(ACol, ARow, Value);
}
quintptr TBaseGrid::GetObjectEx(int ACol, int ARow) const { return FCells.GetObjectEx(ACol, ARow); }
void TBaseGrid::SetObjectEx(int ACol, int ARow, quintptr Value) { FCells.SetObjectEx(ACol, ARow, Value); }
plat::TObject* TBaseGrid::GetGraphicObjectEx(int ACol, int ARow) const {
  return FCells.GetGraphicObjectEx(ACol, ARow);
}
void TBaseGrid::SetGraphicObjectEx(int ACol, int ARow, plat::TObject* Value) {
  FCells.SetGraphicObjectEx(ACol, ARow, Value);
}
void TBaseGrid::SetCellEx(int ACol, int ARow, const QString& Value) { FCells.SetCellEx(ACol, ARow, Value); }
plat::TRect TBaseGrid::UsedCells() { return FCells.UsedCells(); }
void TBaseGrid::MergeCells(int c, int r, int spanx, int spany) { FCells.MergeCells(c, r, spanx, spany); }
void TBaseGrid::SplitCells(int c, int r) { FCells.SplitCells(c, r); }
void TBaseGrid::SplitAcrossRowBoundary(int ARow) { FCells.SplitAcrossRowBoundary(ARow); }
bool TBaseGrid::IsBaseCell(int ACol, int ARow) const { return FCells.IsBaseCell(ACol, ARow); }
bool TBaseGrid::IsMergedCell(int ACol, int ARow) const { return FCells.IsMergedCell(ACol, ARow); }
bool TBaseGrid::IsMergedNonBaseCell(int ACol, int ARow) const { return FCells.IsMergedNonBaseCell(ACol, ARow); }
bool TBaseGrid::IsXMergedCell(int ACol, int ARow) const { return FCells.IsXMergedCell(ACol, ARow); }
bool TBaseGrid::IsYMergedCell(int ACol, int ARow) const { return FCells.IsYMergedCell(ACol, ARow); }
plat::TPoint TBaseGrid::BaseCell(int ACol, int ARow) const { return FCells.BaseCell(ACol, ARow); }
plat::TPoint TBaseGrid::CellSpan(int ACol, int ARow) const { return FCells.CellSpan(ACol, ARow); }
plat::TPoint TBaseGrid::CellExt(int ACol, int ARow) const { return FCells.CellExt(ACol, ARow); }
plat::TRect TBaseGrid::FullCell(int c, int r) const { return FCells.FullCell(c, r); }
bool TBaseGrid::ResolveBaseCell(int ACol, int ARow, int& BaseCol, int& BaseRow) const {
  return FCells.ResolveBaseCell(ACol, ARow, BaseCol, BaseRow);
}
int TBaseGrid::MinRowSpan(int ARow) const { return FCells.MinRowSpan(ARow); }
int TBaseGrid::MaxRowSpan(int ARow) const { return FCells.MaxRowSpan(ARow); }
bool TBaseGrid::RowSpanIdentical(int ARow1, int ARow2) const { return FCells.RowSpanIdentical(ARow1, ARow2); }
bool TBaseGrid::ColSpanIdentical(int ACol1, int ACol2) const { return FCells.ColSpanIdentical(ACol1, ACol2); }
int TBaseGrid::MergeCount() const { return FCells.MergeCount(); }
void TBaseGrid::FreeCellProperties(int FromCol, int FromRow, int ToCol, int ToRow) {
  FCells.FreeCellProperties(FromCol, FromRow, ToCol, ToRow);
}
void TBaseGrid::FreeCellPropertiesAt(int ACol, int ARow) { FCells.FreeCellPropertiesAt(ACol, ARow); }
void TBaseGrid::FreeAllCellProperties() { FCells.FreeAllCellProperties(); }
void TBaseGrid::ClearColumnRefs(int ACol) { FCells.ClearColumnRefs(ACol); }
void TBaseGrid::ClearRowRefs(int ARow) { FCells.ClearRowRefs(ARow); }
void TBaseGrid::ClearCellRefs(int ACol, int ARow) { FCells.ClearCellRefs(ACol, ARow); }
void TBaseGrid::InsertStoreRows(int ARow, int ACount) { FCells.InsertStoreRows(ARow, ACount); }
void TBaseGrid::DeleteStoreRows(int ARow, int ACount) { FCells.DeleteStoreRows(ARow, ACount); }
void TBaseGrid::MoveStoreRow(int FromIndex, int ToIndex) { FCells.MoveStoreRow(FromIndex, ToIndex); }
void TBaseGrid::MoveStoreColumn(int FromIndex, int ToIndex) { FCells.MoveStoreColumn(FromIndex, ToIndex); }
void TBaseGrid::EraseStoreRows(const std::vector<int>& SortedRows) { FCells.EraseStoreRows(SortedRows); }
void TBaseGrid::InsertEmptyStoreRows(const std::vector<int>& SortedFinalRows) {
  FCells.InsertEmptyStoreRows(SortedFinalRows);
}
void TBaseGrid::MoveStoreRows(int FromIndex, int Count, int ToIndex) {
  FCells.MoveStoreRows(FromIndex, Count, ToIndex);
}
void TBaseGrid::SwapStoreRows(int ARow1, int ARow2) { FCells.SwapStoreRows(ARow1, ARow2); }
void TBaseGrid::SwapStoreCells(int ACol, int ARow1, int ARow2) { FCells.SwapStoreCells(ACol, ARow1, ARow2); }
void TBaseGrid::InsertStoreColumns(int ACol, int ACount) { FCells.InsertStoreColumns(ACol, ACount); }
void TBaseGrid::EraseStoreColumns(int ACol, int ACount) { FCells.EraseStoreColumns(ACol, ACount); }
void TBaseGrid::SwapStoreColumns(int ACol1, int ACol2) { FCells.SwapStoreColumns(ACol1, ACol2); }
void TBaseGrid::UpdateOwners() const { FCells.UpdateOwners(); }
TCellProperties* TBaseGrid::TakeCellProperties(int ACol, int ARow) { return FCells.TakeCellProperties(ACol, ARow); }
int TBaseGrid::StoredRowCount() const { return FCells.StoredRowCount(); }
int TBaseGrid::StoredColCount() const { return FCells.StoredColCount(); }
bool TBaseGrid::HasCellProps() const { return FCells.HasCellProps(); }
void TBaseGrid::NoteCellPropsCreated() { FCells.NoteCellPropsCreated(); }
void TBaseGrid::NoteCellPropsCleared() { FCells.NoteCellPropsCleared(); }
bool TBaseGrid::WordWrap() const { return FCells.WordWrap(); }
void TBaseGrid::SetWordWrap(bool Value) { FCells.SetWordWrap(Value); }
int TBaseGrid::NormalRowCount() const { return FCells.NormalRowCount(); }
void TBaseGrid::SetNormalRowCount(int Value) { FCells.SetNormalRowCount(Value); }
bool TBaseGrid::HideLastRow() const { return FCells.HideLastRow(); }
void TBaseGrid::SetHideLastRow(bool Value) { FCells.SetHideLastRow(Value); }
TExtGridUndoRedo* TBaseGrid::UndoRedo() const { return FCells.UndoRedo(); }
void TBaseGrid::SetUndoRedo(TExtGridUndoRedo* Value) { FCells.SetUndoRedo(Value); }

}  // namespace grid
