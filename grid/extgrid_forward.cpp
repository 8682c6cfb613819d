// The facade's members that only forward to a collaborator or read a field of its own. They live here, not in
// the header, so that the many files including the grid's header do not compile them again.

#include "grid/extgrid.h"

namespace grid {

bool TExtStringGrid::IsLoaded() const { return FLoaded; }
int TExtStringGrid::UpdateCount() const { return FUpdateCount; }
void TExtStringGrid::StartUpdate() { ++FUpdateCount; }
void TExtStringGrid::ResetUpdate() { FUpdateCount = 0; }
bool TExtStringGrid::LockUpdate() const { return FUpdateCount > 0; }
void TExtStringGrid::SetLockUpdate(bool Value) { Value ? BeginUpdate() : EndUpdate(); }
void TExtStringGrid::InvalidateGrid() { Invalidate(); }
int TExtStringGrid::GetVersionNr() const { return VersionNr; }

// ---- cells --------------------------------------------------------------------------------------------------------

int TExtStringGrid::Ints(int ACol, int ARow) { return FTyped.GetInts(ACol, ARow); }
void TExtStringGrid::SetInts(int ACol, int ARow, int Value) { FTyped.SetInts(ACol, ARow, Value); }
double TExtStringGrid::Floats(int ACol, int ARow) { return FTyped.GetFloats(ACol, ARow); }
void TExtStringGrid::SetFloats(int ACol, int ARow, double Value) { FTyped.SetFloats(ACol, ARow, Value); }
plat::TDateTime TExtStringGrid::Dates(int ACol, int ARow) { return FTyped.GetDates(ACol, ARow); }
void TExtStringGrid::SetDates(int ACol, int ARow, plat::TDateTime Value) { FTyped.SetDates(ACol, ARow, Value); }
plat::TDateTime TExtStringGrid::Times(int ACol, int ARow) { return FTyped.GetTimes(ACol, ARow); }
void TExtStringGrid::SetTimes(int ACol, int ARow, plat::TDateTime Value) { FTyped.SetTimes(ACol, ARow, Value); }
QString TExtStringGrid::StrippedCells(int ACol, int ARow) { return FTyped.GetStrippedCell(ACol, ARow); }
int TExtStringGrid::LinesInCell(int ACol, int ARow) { return FTyped.GetLinesInCell(ACol, ARow); }
QString TExtStringGrid::AllCells(int ACol, int ARow) { return FTyped.GetCellsEx(ACol, ARow); }
void TExtStringGrid::SetAllCells(int ACol, int ARow, const QString& Value) { FTyped.SetCellsEx(ACol, ARow, Value); }
QString TExtStringGrid::AllGridCells(int ACol, int ARow) { return FTyped.GetGridCellsEx(ACol, ARow); }
void TExtStringGrid::SetAllGridCells(int ACol, int ARow, const QString& V) { FTyped.SetGridCellsEx(ACol, ARow, V); }
int TExtStringGrid::AllInts(int ACol, int ARow) { return FTyped.GetAllInts(ACol, ARow); }
void TExtStringGrid::SetAllInts(int ACol, int ARow, int Value) { FTyped.SetAllInts(ACol, ARow, Value); }
double TExtStringGrid::AllFloats(int ACol, int ARow) { return FTyped.GetAllFloats(ACol, ARow); }
void TExtStringGrid::SetAllFloats(int ACol, int ARow, double Value) { FTyped.SetAllFloats(ACol, ARow, Value); }
QString TExtStringGrid::WideCells(int ACol, int ARow) { return Cells(ACol, ARow); }
void TExtStringGrid::SetWideCells(int ACol, int ARow, const QString& Value) { SetCells(ACol, ARow, Value); }
QString TExtStringGrid::AllWideCells(int ACol, int ARow) { return AllCells(ACol, ARow); }
void TExtStringGrid::SetAllWideCells(int ACol, int ARow, const QString& Value) { SetAllCells(ACol, ARow, Value); }
plat::TObject* TExtStringGrid::AllObjects(int ACol, int ARow) { return FTyped.GetObjectsEx(ACol, ARow); }
void TExtStringGrid::SetAllObjects(int ACol, int ARow, plat::TObject* Value) {
  FTyped.SetObjectsEx(ACol, ARow, Value);
}
QString TExtStringGrid::FloatFormat() const { return FTyped.FloatFormat; }
void TExtStringGrid::SetFloatFormat(const QString& Value) { FTyped.FloatFormat = Value; }
bool TExtStringGrid::ShowNullDates() const { return FTyped.ShowNullDates; }
void TExtStringGrid::SetShowNullDates(bool Value) { FTyped.ShowNullDates = Value; }
plat::TStringList* TExtStringGrid::ColumnHeaders() { return &FColumnHeaders; }
plat::TStringList* TExtStringGrid::RowHeaders() { return &FRowHeaders; }
void TExtStringGrid::TextFill(bool DoFixed, const QString& Txt) { FOps.TextFill(DoFixed, Txt); }
void TExtStringGrid::FormatFill(bool DoFixed, const QString& Fmt) { FOps.FormatFill(DoFixed, Fmt); }
void TExtStringGrid::RandomFill(bool DoFixed, int Rnd) { FOps.RandomFill(DoFixed, Rnd); }
void TExtStringGrid::LinearFill(bool DoFixed) { FOps.LinearFill(DoFixed); }
void TExtStringGrid::SwapCells(plat::TPoint FromCell, plat::TPoint ToCell) { FOps.SwapCells(FromCell, ToCell); }
QString TExtStringGrid::CurrentCell() { return FOps.GetCurrentCell(); }
void TExtStringGrid::SetCurrentCellText(const QString& Value) { FOps.SetCurrentCell(Value); }
QString TExtStringGrid::CurrentEditText() { return FEntry.GetCurrentEditText(); }
void TExtStringGrid::SetCurrentEditText(const QString& Value) { FEntry.SetCurrentEditText(Value); }
plat::TStringList* TExtStringGrid::LookupItems() { return &FLookupItems; }
void TExtStringGrid::DecorateDisplText(int ACol, int ARow, QString& Value) {
  FCellObjects.DecorateDisplText(ACol, ARow, Value);
}
void TExtStringGrid::ColumnCellsChanged(int ACol) { CalcFooter(ACol); }
void TExtStringGrid::CalcFooter(int ACol) { CalcFooterColumns(ACol); }
int TExtStringGrid::SaveStartCol() const { return SavesFixedCols() ? 0 : FixedCols(); }
int TExtStringGrid::SaveStartRow() const { return SavesFixedRows() ? 0 : FixedRows(); }
int TExtStringGrid::SaveEndCol() const {
  return SavesFixedCols() ? ColCount() - 1 : ColCount() - FixedRightCols() - 1;
}
int TExtStringGrid::SaveEndRow() const { return SavesFixedRows() ? RowCount() - 1 : RowCount() - FixedFooters() - 1; }
int TExtStringGrid::SaveColCount() const {
  return SavesFixedCols() ? ColCount() : ColCount() - FixedCols() - FixedRightCols();
}
int TExtStringGrid::SaveRowCount() const {
  return SavesFixedRows() ? RowCount() : RowCount() - FixedRows() - FixedFooters();
}

// ---- counts, fixed parts and sizes --------------------------------------------------------------------------------

int TExtStringGrid::FixedRows() const {
  return FFixedRowAlways && plat::TStringGrid::FixedRows() == 0 ? 1 : plat::TStringGrid::FixedRows();
}
int TExtStringGrid::FixedCols() const {
  return FFixedColAlways && plat::TStringGrid::FixedCols() == 0 ? 1 : plat::TStringGrid::FixedCols();
}
bool TExtStringGrid::FixedRowAlways() const { return FFixedRowAlways; }
void TExtStringGrid::SetFixedRowAlways(bool Value) { FFixedRowAlways = FSel.FixedRowAlways = Value; }
bool TExtStringGrid::FixedColAlways() const { return FFixedColAlways; }
void TExtStringGrid::SetFixedColAlways(bool Value) { FFixedColAlways = FSel.FixedColAlways = Value; }
int TExtStringGrid::FixedFooters() const { return DrawSettings().FixedFooters; }
void TExtStringGrid::SetFixedFooters(int Value) { StoreAndInvalidate(DrawSettings().FixedFooters, Value); }
int TExtStringGrid::FixedRightCols() const { return DrawSettings().FixedRightCols; }
void TExtStringGrid::SetFixedRightCols(int Value) { StoreAndInvalidate(DrawSettings().FixedRightCols, Value); }
int TExtStringGrid::FixedRowHeight() const { return FFixedRowHeight; }
int TExtStringGrid::FixedColWidth() const { return ColWidths(0); }
int TExtStringGrid::MinFixedRows() const { return FMinFixedRows; }
int TExtStringGrid::MinFixedCols() const { return FMinFixedCols; }
int TExtStringGrid::MaxRowCountSet() const { return FMaxRowCount; }
int TExtStringGrid::MaxColCountSet() const { return FMaxColCount; }
void TExtStringGrid::StretchColumn(int Index) { FSizing.StretchColumn(Index); }
void TExtStringGrid::StretchRightColumn() { FSizing.StretchColumn(ColCount() - 1); }
bool TExtStringGrid::IsOnSizingBorder(int X, int Y) const { return FSizing.IsOnSizingBorder(X, Y); }
int TExtStringGrid::GroupColumn() const { return FGroup.GroupColumn(); }
void TExtStringGrid::SetGroupColumn(int Value) {
  if (Value == -1) UnGroup();
  if (Value > 0) Group(Value);
}

// ---- sizing to contents, fitting and numbering (display indexes) --------------------------------------------------

void TExtStringGrid::AutoSizeCol(int ACol, int Padding) { FAutoSize.AutoSizeCol(ACol, Padding); }
void TExtStringGrid::AutoSizeColumns(bool DoFixedCols, int Padding) {
  FAutoSize.AutoSizeColumns(DoFixedCols, Padding);
}
void TExtStringGrid::AutoSizeRow(int ARow, int Padding) { FAutoSize.AutoSizeRow(ARow, Padding); }
void TExtStringGrid::AutoSizeRows(bool DoFixedRows, int Padding) { FAutoSize.AutoSizeRows(DoFixedRows, Padding); }
void TExtStringGrid::AutoSizeCells(bool DoFixedCells, int PaddingX , int PaddingY) {
  FAutoSize.AutoSizeCells(DoFixedCells, PaddingX, PaddingY);
}
void TExtStringGrid::AutoFitColumns(bool DoFixedCells) { FAutoSize.AutoFitColumns(DoFixedCells); }
void TExtStringGrid::SizeToCols() { FAutoSize.SizeToCols(); }
void TExtStringGrid::SizeToRows() { FAutoSize.SizeToRows(); }
void TExtStringGrid::SizeToCells() { FAutoSize.SizeToCells(); }
void TExtStringGrid::AutoNumberCol(int ACol) { FAutoSize.AutoNumberCol(ACol); }
void TExtStringGrid::AutoNumberRow(int ARow) { FAutoSize.AutoNumberRow(ARow); }
TGridAutoSize& TExtStringGrid::AutoSizing() { return FAutoSize; }

// ---- row nodes, expandable cells and grouping (see TGridNodes; rows named real are real rows) ---------------------

void TExtStringGrid::AddNode(int ARowReal, int Span) { FNodes.AddNode(ARowReal, Span); }
void TExtStringGrid::AddSummary(int ARowReal) { FNodes.AddSummary(ARowReal); }
void TExtStringGrid::RemoveNode(int ARowReal) { FNodes.RemoveNode(ARowReal); }
void TExtStringGrid::RemoveAllNodes() { FNodes.RemoveAllNodes(); }
bool TExtStringGrid::IsNode(int ARow) const { return FNodes.IsNode(ARow); }
bool TExtStringGrid::IsSummary(int ARow) const { return FNodes.IsSummary(ARow); }
int TExtStringGrid::NumNodes() const { return FNodes.NumNodes(); }
bool TExtStringGrid::NodeState(int ARow) const { return FNodes.GetNodeState(ARow); }
void TExtStringGrid::SetNodeState(int ARow, bool Contracted) { FNodes.SetNodeState(ARow, Contracted); }
int TExtStringGrid::GetNodeLevel(int ARow) const { return FNodes.GetNodeLevel(ARow); }
int TExtStringGrid::GetNodeSpan(int ARow) const { return FNodes.GetNodeSpan(ARow); }
void TExtStringGrid::SetNodeSpan(int ARow, int Span) { FNodes.SetNodeSpan(ARow, Span); }
void TExtStringGrid::UpdateNodeSpan(int ARow, int Delta) { FNodes.UpdateNodeSpan(ARow, Delta); }
int TExtStringGrid::GetSubNodeCount(int ARow) const { return FNodes.GetSubNodeCount(ARow); }
void TExtStringGrid::UpdateSubNodeCount(int ARow, int Delta) { FNodes.UpdateSubNodeCount(ARow, Delta); }
int TExtStringGrid::GetNodeSpanType(int ARow) const { return FNodes.GetNodeSpanType(ARow); }
int TExtStringGrid::GetParentRow(int ARow) const { return FNodes.GetParentRow(ARow); }
void TExtStringGrid::ExpandNodeRows(int ARowReal) { FNodes.ExpandNodeRows(ARowReal); }
void TExtStringGrid::InsertNormalRow(int ARowReal) { FNodes.InsertNormalRow(ARowReal); }
void TExtStringGrid::RemoveNormalRow(int ARow) { FNodes.RemoveNormalRow(ARow); }
void TExtStringGrid::InsertChildRow(int ARowReal, int InsertAt) { FNodes.InsertChildRow(ARowReal, InsertAt); }
void TExtStringGrid::RemoveChildRow(int ARowReal) { FNodes.RemoveChildRow(ARowReal); }
void TExtStringGrid::AddExpand(int ACol, int ARow, int ExpandedHeight) {
  FNodes.AddExpand(ACol, ARow, ExpandedHeight);
}
void TExtStringGrid::RemoveExpand(int ACol, int ARow) { FNodes.RemoveExpand(ACol, ARow); }
bool TExtStringGrid::GetExpandState(int ACol, int ARow) const { return FNodes.GetExpandState(ACol, ARow); }
int TExtStringGrid::GetExpandHeight(int ACol, int ARow, bool Expanded) const {
  return FNodes.GetExpandHeight(ACol, ARow, Expanded);
}
void TExtStringGrid::Group(int Colindex) { FGroup.Group(Colindex); }
void TExtStringGrid::UnGroup() { FGroup.UnGroup(); }
void TExtStringGrid::SubGroup(int Colindex) { FGroup.SubGroup(Colindex); }
void TExtStringGrid::SubUnGroup(int Colindex) { FGroup.SubUnGroup(Colindex); }
bool TExtStringGrid::IsGrouping() const { return FGroup.IsGrouping(); }
void TExtStringGrid::GroupSum(int ACol) { FGroup.GroupCalc(ACol, 1); }
void TExtStringGrid::GroupAvg(int ACol) { FGroup.GroupCalc(ACol, 2); }
void TExtStringGrid::GroupMin(int ACol) { FGroup.GroupCalc(ACol, 3); }
void TExtStringGrid::GroupMax(int ACol) { FGroup.GroupCalc(ACol, 4); }
void TExtStringGrid::GroupCount(int ACol) { FGroup.GroupCalc(ACol, 5); }
void TExtStringGrid::GroupCustomCalc(int ACol) { FGroup.GroupCalc(ACol, 6); }
void TExtStringGrid::GroupDistinct(int ACol) { FGroup.GroupCalc(ACol, 7); }
void TExtStringGrid::GroupStdDev(int ACol) { FGroup.GroupCalc(ACol, 8); }
bool TExtStringGrid::NodeCollapsed(int ARow) { return FNodes.GetNodeState(ARow); }

// ---- drag and drop (display indexes) ------------------------------------------------------------------------------

TDragResult TExtStringGrid::StartOleDrag(int ACol, int ARow, bool ColumnDrag) {
  return FDragDrop.StartDrag(ACol, ARow, ColumnDrag);
}
TGridDragDrop& TExtStringGrid::DragDrop() { return FDragDrop; }

// ---- looks --------------------------------------------------------------------------------------------------------

plat::TColor TExtStringGrid::Colors(int i, int j) const { return FLooks.GetColors(i, j); }
void TExtStringGrid::SetColors(int i, int j, plat::TColor V) { FLooks.SetColors(i, j, V); }
plat::TColor TExtStringGrid::ColorsTo(int i, int j) const { return FLooks.GetColorsTo(i, j); }
void TExtStringGrid::SetColorsTo(int i, int j, plat::TColor V) { FLooks.SetColorsTo(i, j, V); }
TCellGradientDirection TExtStringGrid::Gradients(int i, int j) const { return FLooks.GetGradientDir(i, j); }
void TExtStringGrid::SetGradients(int i, int j, TCellGradientDirection V) { FLooks.SetGradientDir(i, j, V); }
plat::TColor TExtStringGrid::FontColors(int i, int j) const { return FLooks.GetFontColors(i, j); }
void TExtStringGrid::SetFontColors(int i, int j, plat::TColor V) { FLooks.SetFontColors(i, j, V); }
plat::TFontStyles TExtStringGrid::FontStyles(int i, int j) const { return FLooks.GetFontStyles(i, j); }
void TExtStringGrid::SetFontStyles(int i, int j, plat::TFontStyles V) { FLooks.SetFontStyles(i, j, V); }
int TExtStringGrid::FontSizes(int i, int j) const { return FLooks.GetFontSizes(i, j); }
void TExtStringGrid::SetFontSizes(int i, int j, int V) { FLooks.SetFontSizes(i, j, V); }
QString TExtStringGrid::FontNames(int i, int j) const { return FLooks.GetFontNames(i, j); }
void TExtStringGrid::SetFontNames(int i, int j, const QString& V) { FLooks.SetFontNames(i, j, V); }
const plat::TFont& TExtStringGrid::Fonts(int i, int j) { return FOps.GetCellFont(i, j); }
void TExtStringGrid::SetFonts(int i, int j, const plat::TFont& V) { FLooks.SetCellFont(i, j, V); }
plat::TAlignment TExtStringGrid::Alignments(int i, int j) const { return FLooks.GetAlignments(i, j); }
void TExtStringGrid::SetAlignments(int i, int j, plat::TAlignment V) { FLooks.SetAlignments(i, j, V); }
bool TExtStringGrid::ReadOnly(int i, int j) const { return FLooks.GetReadOnly(i, j); }
void TExtStringGrid::SetReadOnly(int i, int j, bool V) { FLooks.SetReadOnly(i, j, V); }
bool TExtStringGrid::WordWraps(int i, int j) { return FLooks.GetWordWraps(i, j); }
void TExtStringGrid::SetWordWraps(int i, int j, bool V) { FLooks.SetWordWraps(i, j, V); }
void TExtStringGrid::SetRowColor(int i, plat::TColor C) { FLooks.SetRowColor(i, C); }
void TExtStringGrid::SetRowColorTo(int i, plat::TColor C) { FLooks.SetRowColorTo(i, C); }
void TExtStringGrid::SetRowFontColor(int i, plat::TColor C) { FLooks.SetRowFontColor(i, C); }
int TExtStringGrid::AllColWidths(int ACol) const { return FLooks.GetAllColWidths(ACol); }
void TExtStringGrid::SetAllColWidths(int ACol, int V) { FLooks.SetAllColWidths(ACol, V); }
plat::TColor TExtStringGrid::SelectionColor() const { return DrawColors().SelectionColor; }
void TExtStringGrid::SetSelectionColor(plat::TColor V) { StoreAndInvalidate(DrawColors().SelectionColor, V); }
plat::TColor TExtStringGrid::SelectionColorTo() const { return DrawColors().SelectionColorTo; }
void TExtStringGrid::SetSelectionColorTo(plat::TColor V) { StoreAndInvalidate(DrawColors().SelectionColorTo, V); }
plat::TColor TExtStringGrid::SelectionMirrorColor() const { return DrawColors().SelectionMirrorColor; }
void TExtStringGrid::SetSelectionMirrorColor(plat::TColor V) {
  StoreAndInvalidate(DrawColors().SelectionMirrorColor, V);
}
plat::TColor TExtStringGrid::SelectionMirrorColorTo() const { return DrawColors().SelectionMirrorColorTo; }
void TExtStringGrid::SetSelectionMirrorColorTo(plat::TColor V) {
  StoreAndInvalidate(DrawColors().SelectionMirrorColorTo, V);
}
plat::TColor TExtStringGrid::SelectionTextColor() const { return DrawColors().SelectionTextColor; }
void TExtStringGrid::SetSelectionTextColor(plat::TColor V) { StoreAndInvalidate(DrawColors().SelectionTextColor, V); }
bool TExtStringGrid::SelectionColorMixer() const { return DrawSettings().SelectionColorMixer; }
void TExtStringGrid::SetSelectionColorMixer(bool V) { StoreAndInvalidate(DrawSettings().SelectionColorMixer, V); }
int TExtStringGrid::SelectionColorMixerFactor() const { return DrawSettings().SelectionColorMixerFactor; }
bool TExtStringGrid::SelectionRectangle() const { return DrawSettings().SelectionRectangle; }
void TExtStringGrid::SetSelectionRectangle(bool V) { StoreAndInvalidate(DrawSettings().SelectionRectangle, V); }
bool TExtStringGrid::SelectionResizer() const { return FSelectionResizer; }
void TExtStringGrid::SetSelectionResizer(bool V) { StoreAndInvalidate(FSelectionResizer, V); }
bool TExtStringGrid::ShowSelection() const { return DrawSettings().ShowSelection; }
bool TExtStringGrid::ShowDesignHelper() const { return FShowDesignHelper; }
void TExtStringGrid::SetShowDesignHelper(bool V) { StoreAndInvalidate(FShowDesignHelper, V); }
plat::TAlignment TExtStringGrid::DefaultAlignment() const { return FDefaultAlignment; }
void TExtStringGrid::SetDefaultAlignment(plat::TAlignment V) { StoreAndInvalidate(FDefaultAlignment, V); }
plat::TColor TExtStringGrid::HighlightColor() const { return FHighlightColor; }
void TExtStringGrid::SetHighlightColor(plat::TColor V) { StoreAndInvalidate(FHighlightColor, V); }
plat::TColor TExtStringGrid::HighlightTextColor() const { return FHighlightTextColor; }
void TExtStringGrid::SetHighlightTextColor(plat::TColor V) { StoreAndInvalidate(FHighlightTextColor, V); }
bool TExtStringGrid::ActiveCellShow() const { return DrawSettings().ActiveCellShow; }
void TExtStringGrid::SetActiveCellShow(bool V) { StoreAndInvalidate(DrawSettings().ActiveCellShow, V, true); }
plat::TColor TExtStringGrid::ActiveCellColor() const { return DrawColors().ActiveCellColor; }
void TExtStringGrid::SetActiveCellColor(plat::TColor V) { StoreAndInvalidate(DrawColors().ActiveCellColor, V, true); }
plat::TColor TExtStringGrid::ActiveCellColorTo() const { return DrawColors().ActiveCellColorTo; }
void TExtStringGrid::SetActiveCellColorTo(plat::TColor V) {
  StoreAndInvalidate(DrawColors().ActiveCellColorTo, V, true);
}
plat::TFont* TExtStringGrid::ActiveCellFont() { return &FActiveCellFont; }
plat::TFont* TExtStringGrid::FixedFont() { return &FFixedFont; }
void TExtStringGrid::SetFixedFont(plat::TFont* Value) { FFixedFont.Assign(Value); }
plat::TColor TExtStringGrid::BorderColor() const { return FBorderColor; }
bool TExtStringGrid::Flat() const { return FFlat; }
bool TExtStringGrid::WordWrap() const { return FWordWrap; }
TVAlignment TExtStringGrid::VAlignment() const { return FVAlignment; }
int TExtStringGrid::VAlignFlag() const { return FVAlignFlag; }
plat::TPoint TExtStringGrid::XYOffset() const { return FXYOffset; }
void TExtStringGrid::UpdateXYOffset(int X, int Y) { SetXYOffset({X, Y}); }
plat::TColor TExtStringGrid::ExtGradientFrom() const { return FExtGradient[0]; }
plat::TColor TExtStringGrid::ExtGradientTo() const { return FExtGradient[1]; }
plat::TColor TExtStringGrid::ExtGradientMirrorFrom() const { return FExtGradient[2]; }
plat::TColor TExtStringGrid::ExtGradientMirrorTo() const { return FExtGradient[3]; }
plat::TBitmap* TExtStringGrid::RowIndicator() { return &FRowIndicator; }
bool TExtStringGrid::URLShow() const { return DrawSettings().URLShow; }
void TExtStringGrid::SetURLShow(bool V) { StoreAndInvalidate(DrawSettings().URLShow, V); }
bool TExtStringGrid::URLShowInText() const { return FCellObjects.URLShowInText; }
void TExtStringGrid::SetURLShowInText(bool V) { StoreAndInvalidate(FCellObjects.URLShowInText, V); }
bool TExtStringGrid::URLFull() const { return DrawSettings().URLFull; }
void TExtStringGrid::SetURLFull(bool V) {
  DrawSettings().URLFull = V;
  if (URLShow()) Invalidate();
}
void TExtStringGrid::SetURLColor(plat::TColor V) {
  if (URLColor == V) return;
  URLColor = V;
  if (URLShow()) Invalidate();
}
bool TExtStringGrid::UsesVCLStyle() { return VCLStyle; }

// ---- merging ------------------------------------------------------------------------------------------------------

TIntList* TExtStringGrid::MergedColumns() { return &FMergedColumns; }
void TExtStringGrid::MergeColumnCells(int ACol, bool MainMerge) { RowColOps().MergeColumnCells(ACol, MainMerge); }

// ---- hiding -------------------------------------------------------------------------------------------------------

void TExtStringGrid::HideColumn(int ACol) { FHiding.HideColumns(ACol, ACol); }
void TExtStringGrid::HideColumns(int FromCol, int ToCol) { FHiding.HideColumns(FromCol, ToCol); }
void TExtStringGrid::UnHideColumn(int ACol) { FHiding.UnHideColumns(ACol, ACol); }
void TExtStringGrid::UnHideColumns(int FromCol, int ToCol) { FHiding.UnHideColumns(FromCol, ToCol); }
void TExtStringGrid::UnHideColumnsAll() { FHiding.UnHideColumnsAll(); }
bool TExtStringGrid::IsHiddenColumn(int ACol) const { return FHiding.IsHiddenColumn(ACol); }
int TExtStringGrid::NumHiddenColumns() const { return FHiding.NumHiddenColumns(); }
void TExtStringGrid::HideRow(int ARow) { FHiding.HideRows(ARow, ARow); }
void TExtStringGrid::HideRows(int FromRow, int ToRow) { FHiding.HideRows(FromRow, ToRow); }
void TExtStringGrid::HideRowsEx(int FromRow, int ToRow) { FHiding.HideRowsEx(FromRow, ToRow); }
bool TExtStringGrid::HideRowList(const TIntList& RowList) { return FHiding.HideRowList(RowList); }
void TExtStringGrid::UnHideRow(int ARow) { FHiding.UnHideRow(ARow); }
void TExtStringGrid::UnHideRows(int FromRow, int ToRow) { FHiding.UnHideRows(FromRow, ToRow); }
void TExtStringGrid::UnHideRowList() { FHiding.UnHideRowList(); }
void TExtStringGrid::UnHideRowsAll() { FHiding.UnHideRowsAll(); }
bool TExtStringGrid::IsHiddenRow(int ARow) const { return FHiding.IsHiddenRow(ARow); }
int TExtStringGrid::NumHiddenRows() const { return FHiding.NumHiddenRows(); }
int TExtStringGrid::RealColIndex(int ACol) const { return FHiding.DisplToRealCol(ACol); }
int TExtStringGrid::DisplColIndex(int ACol) const { return FHiding.RealToDisplCol(ACol); }
int TExtStringGrid::RealRowIndex(int ARow) const { return FHiding.DisplToRealRow(ARow); }
int TExtStringGrid::DisplRowIndex(int ARow) const { return FHiding.RealToDisplRow(ARow); }
int TExtStringGrid::RealCol() const { return RealColIndex(Col()); }
int TExtStringGrid::AllColCount() const { return ColCount() + NumHiddenColumns(); }
int TExtStringGrid::AllRowCount() const { return RowCount() + NumHiddenRows(); }
int TExtStringGrid::TotalColCount() const { return AllColCount(); }
TIntList* TExtStringGrid::IgnoreColumns() { return &FHiding.IgnoreColumns(); }
TGridHiding& TExtStringGrid::Hiding() { return FHiding; }

// ---- editing ------------------------------------------------------------------------------------------------------

void TExtStringGrid::EditCell(int ACol, int ARow) { FEntry.EditCell(ACol, ARow); }
void TExtStringGrid::UpdateEditMode() { FEntry.UpdateEditMode(); }
TEditorType TExtStringGrid::CurrentEditor() const { return FEditorMode ? FEdit.State().EditControl : edNone; }
bool TExtStringGrid::EditDisabled() const { return FEdit.State().EditDisable; }
int TExtStringGrid::MaxEditLength() const { return FMaxEditLength; }
bool TExtStringGrid::SpreadSheet() const { return FSpreadSheet; }
void TExtStringGrid::GetCellEditorType(int ACol, int ARow, TEditorType& AEditor) {
  DoGetEditorType(ACol, ARow, AEditor);
}
bool TExtStringGrid::IsControlCell(int ACol, int ARow) { return CellObjects().IsControlCell(ACol, ARow); }
TEditManager& TExtStringGrid::EditManager() { return FEdit; }
TEditState& TExtStringGrid::EditState() { return FEdit.State(); }
TEditorType TExtStringGrid::EditControl() const { return FEdit.State().EditControl; }
void TExtStringGrid::SetEditControl(TEditorType Value) { FEdit.State().EditControl = Value; }
bool TExtStringGrid::EditMode() const { return FEdit.State().EditMode; }
bool TExtStringGrid::EditActive() const { return FEdit.State().EditActive; }
bool TExtStringGrid::Modified() const { return FEdit.State().GridModified; }
void TExtStringGrid::SetModified(bool Value) { FEdit.State().GridModified = Value; }
QString TExtStringGrid::CellCacheText() const { return FEntry.CellCache; }
bool TExtStringGrid::IsEditable(int ACol, int ARow) { return FEdit.IsEditable(ACol, ARow); }
void TExtStringGrid::HideCellEdit() { FEdit.HideCellEdit(); }
void TExtStringGrid::ShowInplaceEdit() { FEdit.ShowInplaceEdit(); }
void TExtStringGrid::HideInplaceEdit() { FEdit.HideInplaceEdit(); }
void TExtStringGrid::DoneInplaceEdit(std::uint16_t Key, plat::TShiftState Shift) {
  FEdit.DoneInplaceEdit(Key, Shift);
}
void TExtStringGrid::Select() { HandleSelectCell(Col(), Row()); }
bool TExtStringGrid::ValidateCellWide(const QString& NewValue) { return FEdit.ValidateCellWide(NewValue); }
void TExtStringGrid::SetupCellEditor(int ACol, int ARow) { FEdit.SetupCellEditor(ACol, ARow); }
void TExtStringGrid::EditorToCell(int ACol, int ARow) { FEdit.EditorToCell(ACol, ARow); }
void TExtStringGrid::EditingDone(int ACol, int ARow) { FEdit.EditingDone(ACol, ARow); }
bool TExtStringGrid::WantsTabKey() const { return FEdit.WantsTabKey(); }
void TExtStringGrid::WriteEditorText(int ACol, int ARow, const QString& Value) {
  FEdit.WriteEditorText(ACol, ARow, Value);
}
void TExtStringGrid::RestoreCellCache() { FEdit.RestoreCellCache(); }
void TExtStringGrid::AppendRowFromEditor() { SetRowCount(RowCount() + 1); }
void TExtStringGrid::PassKeyToGrid(std::uint16_t& Key, plat::TShiftState Shift) { KeyDown(Key, Shift); }
QString TExtStringGrid::LastBalloonText() const { return FLastBalloon; }
TBalloonTipWindow* TExtStringGrid::ToolTipWindow() const { return FToolTip; }
TEditLink* TExtStringGrid::EditLink() const { return FEdit.EditLink(); }
void TExtStringGrid::SetEditLink(TEditLink* Value) { FEdit.SetEditLink(Value); }
plat::TInplaceEdit* TExtStringGrid::NormalEdit() const { return InplaceEditor(); }
plat::TWinControl* TExtStringGrid::EditCtrl() const { return FEdit.State().EditCtrl; }
TCellEditorKind* TExtStringGrid::EditorKind(TEditorType Kind) { return FEdit.KindFor(Kind); }
plat::TStringList* TExtStringGrid::ComboItems() { return &FEdit.ComboItems(); }
void TExtStringGrid::ClearComboString() { FEdit.ClearComboString(); }
void TExtStringGrid::AddComboString(const QString& s) { FEdit.AddComboString(s); }
void TExtStringGrid::AddComboStringObject(const QString& s, plat::TObject* AObject) {
  FEdit.AddComboStringObject(s, AObject);
}
bool TExtStringGrid::RemoveComboString(const QString& s) { return FEdit.RemoveComboString(s); }
bool TExtStringGrid::SetComboSelectionString(const QString& s) { return FEdit.SetComboSelectionString(s); }
void TExtStringGrid::SetComboSelection(int idx) { FEdit.SetComboSelection(idx); }
int TExtStringGrid::GetComboCount() const { return const_cast<TEditManager&>(FEdit).GetComboCount(); }
int TExtStringGrid::GetComboIndex(int ACol, int ARow) { return FEdit.GetComboIndex(ACol, ARow); }
void TExtStringGrid::SetComboIndex(int ACol, int ARow, int Value) { FEdit.SetComboIndex(ACol, ARow, Value); }
bool TExtStringGrid::Multilinecells() const { return DrawSettings().Multilinecells; }
int TExtStringGrid::EditLimit() { return HandleGetEditLimit(); }

// ---- looks asked by painting --------------------------------------------------------------------------------------

bool TExtStringGrid::HasCustomCellBorders() { return static_cast<bool>(OnGetCellBorder); }

// ---- what the renderer asks, answered from the grid's own state ---------------------------------------------------

int TExtStringGrid::RealColumn(int ACol) { return RealColIndex(ACol); }
int TExtStringGrid::RealRow(int ARow) { return RealRowIndex(ARow); }
QString TExtStringGrid::CheckTrueText(int RCol, int ARow) { return FCellObjects.CheckTrue(RCol, ARow); }
bool TExtStringGrid::IsPasswordCell(int ACol, int ARow) {
  bool password = false;
  DoIsPasswordCell(ACol, ARow, password);
  return password;
}
QString TExtStringGrid::CellPasswordChar() { return PasswordChar; }
bool TExtStringGrid::IsRowDisabled(int ARow) { return !RowEnabled(ARow); }
bool TExtStringGrid::IsRowModified(int ARow) { return RowModified(ARow); }
bool TExtStringGrid::IsRowFlagged(int ARow) { return FMouseActions.DisjunctRowSelect() && FSel.GetRowSelect(ARow); }
bool TExtStringGrid::IsColFlagged(int ACol) { return FMouseActions.DisjunctColSelect() && FSel.GetColSelect(ACol); }
bool TExtStringGrid::IsCellFlagged(int ACol, int ARow) {
  return FMouseActions.DisjunctCellSelect() && FSel.GetSelectedCells(ACol, ARow);
}
bool TExtStringGrid::IsCellEditable(int RCol, int ARow) { return !ReadOnly(RCol, ARow); }
plat::TCustomImageList* TExtStringGrid::ImageList(int, int) { return GridImages(); }
int TExtStringGrid::NodeSpanType(int ARow) { return GetNodeSpanType(ARow); }
std::optional<double> TExtStringGrid::CellFloat(int RCol, int ARow) { return FTyped.FloatValue(RCol, ARow); }
std::optional<int> TExtStringGrid::CellInt(int RCol, int ARow) { return FTyped.IntValue(RCol, ARow); }
QString TExtStringGrid::FloatFormatText() { return FloatFormat(); }
void TExtStringGrid::CellAlignment(int RCol, int ARow, plat::TAlignment& HA, TVAlignment& VA) {
  GetCellAlignment(RCol, ARow, HA, VA);
}
bool TExtStringGrid::MayHaveCellBorders() {
  return OnGetCellBorder || FGrouping.HeaderUnderline || FGrouping.SummaryLine;
}
bool TExtStringGrid::BlinkPhase() { return GridBlink(); }
bool TExtStringGrid::IsEditingCell(int ACol, int ARow) { return EditorMode() && ACol == Col() && ARow == Row(); }
bool TExtStringGrid::FixedDropDownOpen() { return FHeaderClicks.DropDownDown(); }
int TExtStringGrid::MovingColumn() { return GridState() == plat::gsColMoving ? FMoveIndex : -1; }
int TExtStringGrid::ScrollPosition(int RCol, int ARow) { return CellObjects().GetScrollPosition(RCol, ARow); }
bool TExtStringGrid::ShowsColumnNumbers() { return IsDesigning() && FDesignColumnNumbers; }
void TExtStringGrid::GetFontProperties(int ACol, int RCol, int ARow, TGridDrawState& AState, plat::TFont* AFont, plat::TBrush* ABrush, bool Remap) {
  Renderer().GetFontProperties(ACol, RCol, ARow, AState, AFont, ABrush, Remap);
}
void TExtStringGrid::DrawRichCell(int ACol, int ARow, plat::TRect ARect, plat::TCanvas* ACanvas) {
  Renderer().DrawRichCell(ACol, ARow, ARect, *ACanvas);
}
bool TExtStringGrid::IsRotated(int RCol, int ARow, int& Angle) { return CellObjects().IsRotated(RCol, ARow, Angle); }
TGridFocusWindow* TExtStringGrid::FocusWindow() const { return FFocusWindow; }
void TExtStringGrid::ExportNotification(TGridExportState AState, int ARow) { (void)AState, (void)ARow; }
void TExtStringGrid::ImportNotification(TGridImportState AState, int ARow) { (void)AState, (void)ARow; }

// ---- cell controls ------------------------------------------------------------------------------------------------

TControlList* TExtStringGrid::ControlList() { return &FControlList; }
int TExtStringGrid::ControlCount() const { return FControlCount; }

// ---- selection and the current cell -------------------------------------------------------------------------------

void TExtStringGrid::SetRow(int Value) { FEntry.SetRow(Value); }
void TExtStringGrid::SetTopRow(int Value) { FEntry.SetTopRow(Value); }
bool TExtStringGrid::GetRowSelect(int ARow) { return FSel.GetRowSelect(ARow); }
void TExtStringGrid::SetRowSelect(int ARow, bool Value) { FSel.SetRowSelect(ARow, Value); }
void TExtStringGrid::SelectRows(int RowIndex, int RCount) { FSel.SelectRows(RowIndex, RCount); }
void TExtStringGrid::UnSelectRows(int RowIndex, int RCount) { FSel.UnSelectRows(RowIndex, RCount); }
bool TExtStringGrid::GetColSelect(int ACol) { return FSel.GetColSelect(ACol); }
void TExtStringGrid::SetColSelect(int ACol, bool Value) { FSel.SetColSelect(ACol, Value); }
void TExtStringGrid::SelectCols(int ColIndex, int CCount) { FSel.SelectCols(ColIndex, CCount); }
void TExtStringGrid::UnSelectCols(int ColIndex, int CCount) { FSel.UnSelectCols(ColIndex, CCount); }
void TExtStringGrid::SelectRange(int FromCol, int ToCol, int FromRow, int ToRow) {
  FSel.SelectRange(FromCol, ToCol, FromRow, ToRow);
}
void TExtStringGrid::ClearRowSelect() { FSel.ClearRowSelect(); }
void TExtStringGrid::ClearColSelect() { FSel.ClearColSelect(); }
void TExtStringGrid::SelectionToRowSelect(bool All) { FSel.SelectionToRowSelect(All); }
void TExtStringGrid::SelectionToColSelect(bool All) { FSel.SelectionToColSelect(All); }
int TExtStringGrid::RowSelectCount() const { return FSel.RowSelectCount(); }
int TExtStringGrid::ColSelectCount() const { return FSel.ColSelectCount(); }
int TExtStringGrid::SelectedRowCount() const { return FSel.SelectedRowCount(); }
int TExtStringGrid::SelectedColCount() const { return FSel.SelectedColCount(); }
int TExtStringGrid::SelectedRow(int i) const { return FSel.SelectedRow(i); }
bool TExtStringGrid::SelectedCells(int i, int j) const { return FSel.GetSelectedCells(i, j); }
void TExtStringGrid::SetSelectedCells(int i, int j, bool Value) { FSel.SetSelectedCells(i, j, Value); }
int TExtStringGrid::SelectedCellsCount() { return FSel.SelectedCellsCount(); }
plat::TPoint TExtStringGrid::SelectedCell(int i) const { return FSel.SelectedCell(i); }
void TExtStringGrid::ClearSelectedCells() { FSel.ClearSelectedCells(); }
void TExtStringGrid::HideSelection() { FSel.HideSelection(); }
void TExtStringGrid::UnHideSelection() { FSel.UnHideSelection(); }
bool TExtStringGrid::SelectionHidden() const { return FSel.SelectionHidden(); }
void TExtStringGrid::HideSelectedRows() { FSel.HideSelectedRows(); }
void TExtStringGrid::HideUnSelectedRows() { FSel.HideUnSelectedRows(); }
bool TExtStringGrid::RowModified(int ARow) const { return FSel.GetRowModified(ARow); }
void TExtStringGrid::SetRowModified(int ARow, bool Value) { FSel.SetRowModified(ARow, Value); }
int TExtStringGrid::ModifiedRowCount() const { return FSel.ModifiedRowCount(); }
void TExtStringGrid::ClearModifiedRows() { FSel.ClearModifiedRows(); }
bool TExtStringGrid::RowEnabled(int ARow) const { return FSel.GetRowEnabled(ARow); }
void TExtStringGrid::SetRowEnabled(int ARow, bool Value) { FSel.SetRowEnabled(ARow, Value); }
void TExtStringGrid::GotoCell(int ACol, int ARow) { FOps.GotoCell(ACol, ARow); }
void TExtStringGrid::FocusCell(int ACol, int ARow) { FOps.FocusCell(ACol, ARow); }
void TExtStringGrid::MoveCurrentCell(int ACol, int ARow) { FOps.MoveCurrentCell(ACol, ARow); }
void TExtStringGrid::RepaintRow(int ARow) { FOps.RepaintRow(ARow); }
void TExtStringGrid::RepaintCol(int ACol) { FOps.RepaintCol(ACol); }
void TExtStringGrid::RepaintRect(const plat::TGridRect& r) { FOps.RepaintRect(r); }
void TExtStringGrid::RegisterSelListener(ITExtStringGridSelect* AListener) { FSelListener = AListener; }
void TExtStringGrid::UnRegisterSelListener(ITExtStringGridSelect* AListener) {
  (void)AListener; FSelListener = nullptr;
}
TGridSelection& TExtStringGrid::SelectionModel() { return FSel; }
TTypedCells& TExtStringGrid::TypedCells() { return FTyped; }
void TExtStringGrid::RichEditSelectionChanged() {
  if (OnRichEditSelectionChange) OnRichEditSelectionChange(this);
}
void TExtStringGrid::CellListChanged(int ACol, int ARow) { RepaintCell(DisplColIndex(ACol), ARow); }

// ---- mouse --------------------------------------------------------------------------------------------------------

TGridMouse& TExtStringGrid::Mouse() { return FMouse; }
THeaderClicks& TExtStringGrid::HeaderClicks() { return FHeaderClicks; }
THTMLForms& TExtStringGrid::HTMLForms() { return FHTMLForms; }
TSortSettings* TExtStringGrid::SortSettings() { return &FSortSettings; }
TFilter* TExtStringGrid::Filter() { return &FFilter; }
TFilterDropDown* TExtStringGrid::FilterDropDown() { return FHeaderClicks.FilterDropDown(); }
void TExtStringGrid::ExportNotification(int State, int ARow) { (void)State, (void)ARow; }
void TExtStringGrid::StartMouseDrag(int ACol, int ARow, bool ColumnDrag) { StartOleDrag(ACol, ARow, ColumnDrag); }
void TExtStringGrid::AdjustSelectAll(plat::TGridRect& ARect) { (void)ARect; }
bool TExtStringGrid::HasButton(int RCol, int ARow) { return CellObjects().HasButton(RCol, ARow); }
bool TExtStringGrid::HasExpand(int RCol, int ARow) { return GetCellType(RCol, ARow) == ctExpand; }
bool TExtStringGrid::HasRating(int RCol, int ARow) { return CellObjects().HasRating(RCol, ARow); }
bool TExtStringGrid::IsRadio(int RCol, int ARow) { return CellChecks().IsRadio(RCol, ARow); }
bool TExtStringGrid::HasRadioButton(int RCol, int ARow) { return CellChecks().HasRadioButton(RCol, ARow); }
void TExtStringGrid::PushButton(int ACol, int ARow, bool Down) {
  CellObjects().PushButton(RealColIndex(ACol), ARow, Down);
}
bool TExtStringGrid::FloatingFooterFixedLastRow() const {
  return FFloatingFooter.Visible() && FFloatingFooter.FooterStyle() == fsFixedLastRow;
}
void TExtStringGrid::CancelCellHint() { FMouse.CancelCellHint(); }
bool TExtStringGrid::UseHTMLHints() const { return FUseHTMLHints; }
void TExtStringGrid::SetUseHTMLHints(bool Value) { FUseHTMLHints = Value; }
void TExtStringGrid::SetDefaultCursor(plat::TCursor Value) {
  FUserCursor = Value;
  FMouse.SetSelectMode(msNormal);
  SetCursor(Value);
}
plat::TCursor TExtStringGrid::DefaultCursor() const { return FUserCursor; }
bool TExtStringGrid::SizeWithForm() const { return FSizeWithForm; }
void TExtStringGrid::SetSizeWithForm(bool Value) {
  FSizeWithForm = Value;
  if (Value) FMouse.FollowOwnerForm(true);
}

// ---- owned option objects -----------------------------------------------------------------------------------------

TFocusHelper* TExtStringGrid::FocusHelper() { return &FFocusHelper; }
TSearchFooter* TExtStringGrid::SearchFooter() { return &FSearchFooter; }
TPrintSettings* TExtStringGrid::PrintSettings() { return &FPrintSettings; }
THTMLSettings* TExtStringGrid::HTMLSettings() { return &FHTMLSettings; }
TDragDropSettings* TExtStringGrid::DragDropSettings() { return &FDragDropSettings; }
TDragScrollOptions* TExtStringGrid::DragScrollOptions() { return &FDragScrollOptions; }
TControlLook* TExtStringGrid::ControlLook() { return &FControlLook; }
TNavigation* TExtStringGrid::Navigation() { return &FNavigation; }
TColumnSize* TExtStringGrid::ColumnSize() { return &FColumnSize; }
TCellNode* TExtStringGrid::CellNode() { return &FCellNode; }
TBands* TExtStringGrid::Bands() { return &FBands; }
TSizeWhileTyping* TExtStringGrid::SizeWhileTyping() { return &FSizeWhileTyping; }
TMouseActions* TExtStringGrid::MouseActions() { return &FMouseActions; }
TGrouping* TExtStringGrid::Grouping() { return &FGrouping; }
TBackGround* TExtStringGrid::BackGround() { return &FBackGround; }
TGridProgressAppearance* TExtStringGrid::ProgressAppearance() { return &FProgressAppearance; }
TSyncGrid* TExtStringGrid::SyncGrid() { return &FSyncGrid; }
TBalloonSettings* TExtStringGrid::Balloon() { return &FBalloon; }
TShowModified* TExtStringGrid::ShowModified() { return &FShowModified; }
plat::TStringList* TExtStringGrid::FilterList() { return &FFilterList; }

// ---- keyboard: navigation, editing keys, the cell advance on Tab and Enter ----------------------------------------

bool TExtStringGrid::TabToNextCell(bool Backward) { return FKeys.TabToNextCell(Backward); }
void TExtStringGrid::AdvanceToNextCell(int ACol, int ARow, bool EditMode, bool Recursive, bool Forward, bool AutoEdit, bool Force) {
  FKeys.AdvanceToNextCell(ACol, ARow, EditMode, Recursive, Forward, AutoEdit, Force);
}
void TExtStringGrid::AutoAddRow() { FKeys.AutoAddRow(); }
bool TExtStringGrid::IsLastNormalRow() const { return FKeys.IsLastNormalRow(); }
int TExtStringGrid::FirstNavigableCol() const { return FKeys.FirstNavigableCol(); }
int TExtStringGrid::VisibleFixedRightCols() const { return FKeys.VisibleFixedRightCols(); }
bool TExtStringGrid::CanTabToCell(int ACol, int ARow) { return FKeys.CanTabToCell(ACol, ARow); }
int TExtStringGrid::FirstTabColumn(int ARow) { return FKeys.FirstTabColumn(ARow); }
int TExtStringGrid::LastTabColumn(int ARow) { return FKeys.LastTabColumn(ARow); }
void TExtStringGrid::GotoFirstRow() { SetRow(FixedRows()); }
void TExtStringGrid::F2KeyHook() {}
void TExtStringGrid::GetMarker(int ACol, int ARow, int& ErrPos, int& ErrLen) {
  CellObjects().GetMarker(ACol, ARow, ErrPos, ErrLen);
}
TGridKeys& TExtStringGrid::Keys() { return FKeys; }
QString TExtStringGrid::SearchInc() const { return FKeys.SearchInc; }
int TExtStringGrid::TimerTicks() const { return FTimerTicks; }
bool TExtStringGrid::GridBlink() const { return FGridBlink; }

// ---- scrolling: scroll hints, proportional bars, wheel, wheel panning and zoom ------------------------------------

TGridScrolling& TExtStringGrid::Scrolling() { return FScrolling; }
void TExtStringGrid::Zoom(int x) { FScrolling.Zoom(x); }
void TExtStringGrid::HandleDragOver(int X, int Y, TDragState State) { FScrolling.DragOver(X, Y, State); }
void TExtStringGrid::UpdateVertScrollProportional() { FScrolling.UpdateVertProportional(); }
void TExtStringGrid::UpdateHorzScrollProportional() { FScrolling.UpdateHorzProportional(); }
void TExtStringGrid::WheelHook(int Delta, bool& Handled) { (void)Delta, (void)Handled; }
void TExtStringGrid::EditorKeyMessageHook(plat::TMessage& Message) { (void)Message; }
TScrollControl* TExtStringGrid::VertScrollControl() const { return FScrolling.VertBar(); }
TScrollControl* TExtStringGrid::HorzScrollControl() const { return FScrolling.HorzBar(); }

// ---- window: creation, scroll bar visibility, size messages, themes, removed components ---------------------------

bool TExtStringGrid::WindowCreated() const { return FWndCreated; }
bool TExtStringGrid::FocusFrameShown() const { return FFocusFrameShown; }
int TExtStringGrid::SynchWidth() const { return ClientWidth() + (BorderStyle() == plat::bsSingle ? 2 : 0); }
void TExtStringGrid::ApplyVCLStyle() { FUseVCLStyles = false; }
bool TExtStringGrid::UseVCLStyles() const { return FUseVCLStyles; }
bool TExtStringGrid::IsWinXP() const { return FIsWinXP; }
bool TExtStringGrid::IsWin7() const { return FIsWin7; }
bool TExtStringGrid::IsWinVista() const { return FIsWinVista; }
bool TExtStringGrid::IsThemedSystem() const { return FIsThemed; }

// ---- floating footer ----------------------------------------------------------------------------------------------

TFloatingFooter* TExtStringGrid::FloatingFooter() { return &FFloatingFooter; }
const TFloatingFooter* TExtStringGrid::FloatingFooter() const { return &FFloatingFooter; }
TFooterPanel* TExtStringGrid::FooterPanel() const { return FFloatingFooter.Panel(); }
void TExtStringGrid::ColumnHeadersChanged() {}

// ---- events (the set is TExtGridEvents, extgrid_events.h; the renderer raises these two) --------------------------

TCellObjects& TExtStringGrid::CellObjects() { return FCellObjects.Objects(); }
TCellChecks& TExtStringGrid::CellChecks() { return FCellObjects.Checks(); }
plat::TCustomImageList* TExtStringGrid::GridImages() const { return FCellObjects.GridImages; }
void TExtStringGrid::SetGridImages(plat::TCustomImageList* Value) {
  FCellObjects.GridImages = Value;
  if (Value) Value->FreeNotification(this);
}
TCellGraphic* TExtStringGrid::GetCellGraphic(int ACol, int ARow) { return CellObjects().GetCellGraphic(ACol, ARow); }
TCellType TExtStringGrid::GetCellType(int ACol, int ARow) { return CellObjects().GetCellType(ACol, ARow); }
TCellGraphic* TExtStringGrid::CreateCellGraphic(int ACol, int ARow) {
  return CellObjects().CreateCellGraphic(ACol, ARow);
}
plat::TPoint TExtStringGrid::GetCellGraphicSize(int ACol, int ARow) {
  plat::TPoint size;
  CellGraphicSize(ACol, ARow, size, 0);
  return size;
}
void TExtStringGrid::CellGraphicSize(int ACol, int ARow, plat::TPoint& Size, int YMargin) {
  Size = FGraphicSizer.ScreenSize(ACol, ARow, YMargin);
}
void TExtStringGrid::PrintGraphicSize(int ACol, int ARow, int MaxW, int MaxH, double Scale, plat::TPoint& Size) {
  Size = FGraphicSizer.PrintSize(ACol, ARow, MaxW, MaxH, Scale);
}
plat::TCustomImageList* TExtStringGrid::GetCellImageList() { return GridImages(); }
plat::TRect TExtStringGrid::SizedArea(int RCol, int ARow) { return FullCell(RCol, ARow); }
int TExtStringGrid::RealColWidth(int RCol) { return ColWidths(DisplColIndex(RCol)); }
int TExtStringGrid::SizedRowHeight(int ARow) { return RowHeights(ARow); }
plat::TCanvas& TExtStringGrid::MeasureCanvas() { return *Canvas(); }
plat::TFont* TExtStringGrid::MeasureFont() { return Font(); }
bool TExtStringGrid::CellTextEmpty(int RCol, int ARow) { return GridCellRef(RCol, ARow).isEmpty(); }
TCellGraphic* TExtStringGrid::CellGraphicAt(int RCol, int ARow) { return GetCellGraphic(RCol, ARow); }
plat::TCustomImageList* TExtStringGrid::CellImages() { return GetCellImageList(); }
int TExtStringGrid::CheckBoxSize() { return ControlLook()->CheckSize(); }
int TExtStringGrid::RadioButtonSize() { return ControlLook()->RadioSize(); }
plat::TPoint TExtStringGrid::ContentsMargins() {
  return {AutoSizing().TotalXOffset(), AutoSizing().TotalYOffset()};
}
int TExtStringGrid::CellMarginY() { return XYOffset().Y; }
bool TExtStringGrid::RemoveCellGraphic(int ACol, int ARow) { return CellObjects().RemoveCellGraphic(ACol, ARow); }
plat::TBitmap* TExtStringGrid::CreateBitmap(int ACol, int ARow, bool Transparent, TCellHAlign hal, TCellVAlign val) {
  return FCellObjects.CreateBitmap(ACol, ARow, Transparent, hal, val);
}
plat::TPicture* TExtStringGrid::CreatePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int padding, TCellHAlign hal, TCellVAlign val) {
  return FCellObjects.CreatePicture(ACol, ARow, Transparent, StretchMode, padding, hal, val);
}
TFilePicture* TExtStringGrid::CreateFilePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int padding, TCellHAlign hal, TCellVAlign val) {
  return FCellObjects.CreateFilePicture(ACol, ARow, Transparent, StretchMode, padding, hal, val);
}
plat::TIcon* TExtStringGrid::CreateIcon(int ACol, int ARow, TCellHAlign hal, TCellVAlign val) {
  return FCellObjects.CreateIcon(ACol, ARow, hal, val);
}
plat::TBitmap* TExtStringGrid::CreateBitButton(int ACol, int ARow, int bw, int bh, const QString& Caption, TCellHAlign hal, TCellVAlign val) {
  return FCellObjects.CreateBitButton(ACol, ARow, bw, bh, Caption, hal, val);
}
void TExtStringGrid::AddFilePicture(int ACol, int ARow, TFilePicture* AFilePicture, bool Transparent, TStretchMode StretchMode, int padding, TCellHAlign hal, TCellVAlign val) {
  CellObjects().AddPicture(ACol, ARow, AFilePicture, Transparent, StretchMode, padding, hal, val, false, true);
}
TFilePicture* TExtStringGrid::GetFilePicture(int ACol, int ARow) { return FCellObjects.GetFilePicture(ACol, ARow); }
plat::TPicture* TExtStringGrid::GetPicture(int ACol, int ARow) { return FCellObjects.GetPicture(ACol, ARow); }
bool TExtStringGrid::HasPicture(int ACol, int ARow) { return CellObjects().HasPicture(ACol, ARow); }
void TExtStringGrid::AddImageIdx(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val) {
  CellObjects().AddImageIdx(ACol, ARow, Aidx, hal, val);
}
void TExtStringGrid::AddCheckBox(int ACol, int ARow, bool State, bool Data) {
  CellChecks().AddCheckBox(ACol, ARow, State, Data);
}
void TExtStringGrid::AddCheckBox(int ACol, int ARow, TCheckBoxState State) {
  CellChecks().AddCheckBox(ACol, ARow, State);
}
TCheckBoxState TExtStringGrid::BoolToCheckBoxState(bool bChecked) { return bChecked ? plat::cbChecked : cbUnchecked; }
bool TExtStringGrid::HasCheckBox(int ACol, int ARow) { return CellChecks().HasCheckBox(ACol, ARow); }
bool TExtStringGrid::IsChecked(int ACol, int ARow) { return CellChecks().IsChecked(ACol, ARow); }
bool TExtStringGrid::GetCheckBoxState(int ACol, int ARow, bool& State) {
  return CellChecks().GetCheckBoxState(ACol, ARow, State);
}
bool TExtStringGrid::SetCheckBoxState(int ACol, int ARow, bool State) {
  return CellChecks().SetCheckBoxState(ACol, ARow, State);
}
bool TExtStringGrid::ToggleCellCheck(int ACol, int ARow, bool FromUser) {
  return CellChecks().ToggleCellCheck(ACol, ARow, FromUser);
}
bool TExtStringGrid::ToggleCheckBox(int ACol, int ARow) { return ToggleCellCheck(ACol, ARow, false); }
void TExtStringGrid::AddCheckBoxColumn(int ACol, bool DefaultState, bool DataCheckBox) {
  CellChecks().AddCheckBoxColumn(ACol, DefaultState, DataCheckBox, FMouseActions.CheckAllCheck);
}
void TExtStringGrid::RemoveCheckBoxColumn(int ACol) {
  CellChecks().RemoveCheckBoxColumn(ACol, FMouseActions.CheckAllCheck);
}
void TExtStringGrid::AddRadioButton(int ACol, int ARow, bool State) {
  CellChecks().AddRadioButton(ACol, ARow, State);
}
bool TExtStringGrid::CheckRadioButton(int ACol, int ARow, bool FromUser) {
  return CellChecks().CheckRadioButton(ACol, ARow, FromUser);
}
TRowColOps& TExtStringGrid::RowColOps() { return FCellObjects.Rows(); }
void TExtStringGrid::MoveRows(int FromIndex, int ToIndex, int Count) {
  RowColOps().MoveRows(FromIndex, ToIndex, Count);
}
void TExtStringGrid::SwapRows(int ARow1, int ARow2) { RowColOps().SwapRows(ARow1, ARow2); }
void TExtStringGrid::SortSwapRows(int ARow1, int ARow2) { FCellObjects.SortSwapRows(ARow1, ARow2); }
int TExtStringGrid::Swaps() const { return FCellObjects.Swaps; }
void TExtStringGrid::SetSwaps(int Value) { FCellObjects.Swaps = Value; }
int TExtStringGrid::SortRow() const { return FCellObjects.SortRow; }
void TExtStringGrid::SetSortRow(int Value) { FCellObjects.SortRow = Value; }
TIntList* TExtStringGrid::SortRowXRef() { return &FCellObjects.SortRowXRef; }
void TExtStringGrid::RemoveCheckedRows(int CheckBoxColumn, bool RemoveChecked) {
  FCellObjects.RemoveCheckedRows(CheckBoxColumn, RemoveChecked);
}
void TExtStringGrid::InsertCols(int ColIndex, int CCount) { RowColOps().InsertCols(ColIndex, CCount); }
void TExtStringGrid::RemoveCols(int ColIndex, int CCount) { RowColOps().RemoveCols(ColIndex, CCount); }
void TExtStringGrid::SwapColumns(int ACol1, int ACol2) { RowColOps().SwapColumns(ACol1, ACol2); }
void TExtStringGrid::ClearRect(int ACol1, int ARow1, int ACol2, int ARow2) {
  RowColOps().ClearRect(ACol1, ARow1, ACol2, ARow2);
}
void TExtStringGrid::ClearRows(int RowIndex, int RCount) { RowColOps().ClearRows(RowIndex, RCount); }
void TExtStringGrid::ClearCols(int ColIndex, int CCount) { RowColOps().ClearCols(ColIndex, CCount); }
void TExtStringGrid::RemoveDuplicates(int ACol, bool DoCase) { RowColOps().RemoveDuplicates(ACol, DoCase); }
void TExtStringGrid::AddColumn() { InsertCols(ColCount(), 1); }
void TExtStringGrid::ClearNormalRows(int RowIndex, int RCount) { RowColOps().ClearNormalRows(RowIndex, RCount); }
void TExtStringGrid::ClearNormalCols(int ColIndex, int CCount) { RowColOps().ClearNormalCols(ColIndex, CCount); }
void TExtStringGrid::TrimColumn(int ACol) { TrimRect(ACol, 0, ACol, RowCount() - 1); }
void TExtStringGrid::TrimRow(int ARow) { TrimRect(0, ARow, ColCount() - 1, ARow); }
void TExtStringGrid::TrimAll() { TrimRect(0, 0, ColCount() - 1, RowCount() - 1); }
void TExtStringGrid::SplitColumnCells(int ColIndex) { RowColOps().SplitColumnCells(ColIndex); }
void TExtStringGrid::SplitRowCells(int RowIndex) { RowColOps().SplitRowCells(RowIndex); }
void TExtStringGrid::MergeCols(int ColIndex1, int ColIndex2, const QString& Separator) {
  RowColOps().MergeCols(ColIndex1, ColIndex2, Separator);
}
bool TExtStringGrid::IsWideCell(int ACol, int ARow) const { return TRowColOps::IsWideCell(GetGridCell(ACol, ARow)); }
void TExtStringGrid::MergeRowCells(int RowIndex, bool MainMerge) { RowColOps().MergeRowCells(RowIndex, MainMerge); }
void TExtStringGrid::SplitAllCells() {
  RowColOps().SplitAllCells();
  FHiding.SplitRecordedAreas();
}
bool TExtStringGrid::IsCell(const QString& SubStr, int& ACol, int& ARow) const {
  return const_cast<TExtStringGrid*>(this)->RowColOps().IsCell(SubStr, ACol, ARow);
}
plat::LRESULT TExtStringGrid::DefaultDlgCode() const { return FKeys.DlgCode(TRenderGrid::DefaultDlgCode()); }
void TExtStringGrid::EnabledChanged() { Invalidate(); }
bool TExtStringGrid::HandleSelectCell(int ACol, int ARow) { return FEntry.SelectCell(ACol, ARow); }
bool TExtStringGrid::HasNodes() { return FNodes.NumNodes() > 0 || TRenderGrid::HasNodes(); }
bool TExtStringGrid::BaseSelectCell(int ACol, int ARow) { return TBaseGrid::HandleSelectCell(ACol, ARow); }
void TExtStringGrid::BaseSetRow(int Value) { plat::TStringGrid::SetRow(Value); }
void TExtStringGrid::BaseSetTopRow(int Value) { plat::TStringGrid::SetTopRow(Value); }
bool TExtStringGrid::MouseButtonDown() { return FMouse.Press().KeepDown; }
int TExtStringGrid::HandleGetEditLimit() { return FMaxEditLength; }
QString TExtStringGrid::HandleGetEditText(int ACol, int ARow) { return FEdit.GetEditText(ACol, ARow); }
void TExtStringGrid::HandleSetEditText(int ACol, int ARow, const QString& Value) {
  FEdit.SetEditText(ACol, ARow, Value);
}
bool TExtStringGrid::IsLoading() const { return ComponentState().Contains(plat::csLoading); }
bool TExtStringGrid::IsDesigning() const { return ComponentState().Contains(plat::csDesigning); }
void TExtStringGrid::HideEditor() { TRenderGrid::HideEditor(); }
void TExtStringGrid::ShowEditor() { TRenderGrid::ShowEditor(); }
void TExtStringGrid::ShowEditorChar(char16_t Ch) { TRenderGrid::ShowEditorChar(Ch); }
void TExtStringGrid::MoveToBaseCell() { TRenderGrid::MoveToBaseCell(); }
void TExtStringGrid::SetGridState(plat::TGridState State) { FGridState = State; }
void TExtStringGrid::SetAnchorAndCurrent(plat::TGridCoord Anchor, plat::TGridCoord Current) {
  FAnchor = Anchor;
  FCurrent = Current;
}
void TExtStringGrid::BaseKeyUp(std::uint16_t& Key, plat::TShiftState Shift) { TRenderGrid::KeyUp(Key, Shift); }
void TExtStringGrid::SetForceSelect(bool Value) { FEntry.ForceSelect = Value; }
bool TExtStringGrid::KeepsSearchPanelClear(int ARow) { return FEntry.KeepsSearchPanelClear(ARow); }
void TExtStringGrid::SetCellCache(const QString& Text) { FEntry.CellCache = Text; }
void TExtStringGrid::SetBlockFocus(bool Value) { FBlockFocus = Value; }
bool TExtStringGrid::InDestroy() const { return FInDestroy; }
ITExtStringGridSelect* TExtStringGrid::SelListener() const { return FSelListener; }
TRenderSettings& TExtStringGrid::DrawSettings() { return RenderSettings(); }
const TRenderSettings& TExtStringGrid::DrawSettings() const {
  return const_cast<TExtStringGrid*>(this)->RenderSettings();
}
TGridColors& TExtStringGrid::DrawColors() { return RenderSettings().Colors; }
const TGridColors& TExtStringGrid::DrawColors() const { return DrawSettings().Colors; }
bool TExtStringGrid::SavesFixedCols() const { return SaveFixedCells || SaveFixedCols; }
bool TExtStringGrid::SavesFixedRows() const { return SaveFixedCells || SaveFixedRows; }

}  // namespace grid
