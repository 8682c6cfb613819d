#pragma once
// TBaseGrid: the layer between the platform string grid and the full string grid. It owns the cell store
// (TCellGrid: texts, per-cell properties, merged areas), answers its questions and hears its changes, paints
// through the base cell painter, and
// makes geometry, keys, wheel and selection aware of merged areas: a merged area is one rectangle, and the
// current cell never stays inside an area but on its base cell.
//
// Cells are addressed by real column and by row of the platform grid.

#include <QString>

#include "grid/model/cellgrid.h"
#include "grid/view/cell_painter.h"
#include "platform/grids/stringgrid.h"

namespace grid {

using TGetDisplWideTextEvent = std::function<void(plat::TObject* Sender, int ACol, int ARow, QString& Value)>;

class TBaseGrid : public plat::TStringGrid, public TCellGridHost, public TCellGridListener, public TCellPaintHost {
 public:
  explicit TBaseGrid(plat::TComponent* AOwner);
  ~TBaseGrid() override;

  // ---- cells (merge-aware, with the display-text events) and the raw store
  QString Cells(int ACol, int ARow) { return FCells.GetCellEx(ACol, ARow); }
  void SetCells(int ACol, int ARow, const QString& Value) { FCells.SetCellEx(ACol, ARow, Value); }
  QString GridCells(int ACol, int ARow) const { return FCells.GetGridCell(ACol, ARow); }
  void SetGridCells(int ACol, int ARow, const QString& Value) { FCells.SetGridCell(ACol, ARow, Value); }
  // The user value of a cell, kept in its properties (the platform's object slot holds the properties).
  plat::TObject* Objects(int ACol, int ARow) const {
    return reinterpret_cast<plat::TObject*>(GetObjectEx(ACol, ARow));
  }
  void SetObjects(int ACol, int ARow, plat::TObject* Value) {
    SetObjectEx(ACol, ARow, reinterpret_cast<quintptr>(Value));
  }
  int ColCount() const override { return plat::TStringGrid::ColCount(); }
  int RowCount() const override { return plat::TStringGrid::RowCount(); }
  using plat::TStringGrid::SetColCount;
  using plat::TStringGrid::SetRowCount;
  TCellGrid& CellStore() { return FCells; }
  const TCellGrid& CellStore() const { return FCells; }
  // The display-text event of the store, then the grid's decoration of the text.
  void GetDisplText(int ACol, int ARow, QString& Value) { FCells.GetDisplText(ACol, ARow, Value); }
  TGetDisplTextEvent& OnGetDisplText{FCells.OnGetDisplText};

  // ---- the store's texts, properties, merged areas and data moves, as the grid offers them
  bool HasCellProperties(int ACol, int ARow) const;
  TCellProperties* GetGridObject(int ACol, int ARow) const;
  void SetGridObject(int ACol, int ARow, TCellProperties* Value);
  QString GetGridCell(int ACol, int ARow) const { return FCells.GetGridCell(ACol, ARow); }
  const QString& GridCellRef(int ACol, int ARow) const { return FCells.GridCellRef(ACol, ARow); }
  void SetGridCell(int ACol, int ARow, const QString& Value);
  TCellProperties* GetCellProperties(int ACol, int ARow);
  void SetCellProperties(int ACol, int ARow, TCellProperties* Value);
  quintptr GetObjectEx(int ACol, int ARow) const;
  void SetObjectEx(int ACol, int ARow, quintptr Value);
  plat::TObject* GetGraphicObjectEx(int ACol, int ARow) const;
  void SetGraphicObjectEx(int ACol, int ARow, plat::TObject* Value);
  QString GetCellEx(int ACol, int ARow) { return FCells.GetCellEx(ACol, ARow); }
  void SetCellEx(int ACol, int ARow, const QString& Value);
  plat::TRect UsedCells();
  void MergeCells(int c, int r, int spanx, int spany);
  void SplitCells(int c, int r);
  void SplitAcrossRowBoundary(int ARow);
  bool IsBaseCell(int ACol, int ARow) const;
  bool IsMergedCell(int ACol, int ARow) const;
  bool IsMergedNonBaseCell(int ACol, int ARow) const;
  bool IsXMergedCell(int ACol, int ARow) const;
  bool IsYMergedCell(int ACol, int ARow) const;
  plat::TPoint BaseCell(int ACol, int ARow) const;
  plat::TPoint CellSpan(int ACol, int ARow) const;
  plat::TPoint CellExt(int ACol, int ARow) const;
  plat::TRect FullCell(int c, int r) const;
  bool ResolveBaseCell(int ACol, int ARow, int& BaseCol, int& BaseRow) const;
  int MinRowSpan(int ARow) const;
  int MaxRowSpan(int ARow) const;
  bool RowSpanIdentical(int ARow1, int ARow2) const;
  bool ColSpanIdentical(int ACol1, int ACol2) const;
  int MergeCount() const;
  void FreeCellProperties(int FromCol, int FromRow, int ToCol, int ToRow);
  void FreeCellPropertiesAt(int ACol, int ARow);
  void FreeAllCellProperties();
  void ClearColumnRefs(int ACol);
  void ClearRowRefs(int ARow);
  void ClearCellRefs(int ACol, int ARow);
  void InsertStoreRows(int ARow, int ACount);
  void DeleteStoreRows(int ARow, int ACount);
  void MoveStoreRow(int FromIndex, int ToIndex);
  void MoveStoreColumn(int FromIndex, int ToIndex);
  void EraseStoreRows(const std::vector<int>& SortedRows);
  void InsertEmptyStoreRows(const std::vector<int>& SortedFinalRows);
  void MoveStoreRows(int FromIndex, int Count, int ToIndex);
  void SwapStoreRows(int ARow1, int ARow2);
  void SwapStoreCells(int ACol, int ARow1, int ARow2);
  void InsertStoreColumns(int ACol, int ACount);
  void EraseStoreColumns(int ACol, int ACount);
  void SwapStoreColumns(int ACol1, int ACol2);
  void UpdateOwners() const;
  TCellProperties* TakeCellProperties(int ACol, int ARow);
  int StoredRowCount() const;
  int StoredColCount() const;
  bool HasCellProps() const;
  void NoteCellPropsCreated();
  void NoteCellPropsCleared();
  bool WordWrap() const;
  void SetWordWrap(bool Value);
  int NormalRowCount() const;
  void SetNormalRowCount(int Value);
  bool HideLastRow() const;
  void SetHideLastRow(bool Value);
  TExtGridUndoRedo* UndoRedo() const;
  void SetUndoRedo(TExtGridUndoRedo* Value);

  // ---- geometry (client pixels)
  // A merged area gives the rectangle of the whole area; a cell with a control its computed rectangle;
  // any other cell the platform's rectangle (empty at the origin when out of view) in its own size.
  plat::TRect CellRect(int ACol, int ARow) override;
  plat::TPoint CellSize(int ACol, int ARow);
  // Defined also for cells out of view.
  plat::TRect CalcCellRect(int ACol, int ARow) const;
  int FixedColsWidth() const override;
  int FixedRowsHeight() const override;
  virtual void RepaintCell(int ACol, int ARow);
  virtual void InvalidateGrid() { Invalidate(); }

  // ---- painting
  void PaintCell(plat::TCanvas& ACanvas, int ACol, int ARow, plat::TRect ARect, TGridDrawState AState) {
    FPainter.PaintCell(ACanvas, ACol, ARow, ARect, AState);
  }
  void PaintCellExt(plat::TCanvas& ACanvas, int ACol, int ARow, plat::TRect ARect, TGridDrawState AState) {
    FPainter.PaintCellExt(ACanvas, ACol, ARow, ARect, AState);
  }
  int PaintID() const { return FPainter.PaintID(); }

  // ---- looks of the base grid
  bool DefaultDrawing() const { return FDefaultDrawing; }
  void SetDefaultDrawing(bool Value);
  int GridLineWidth() const { return Look().GridLineWidth; }
  void SetGridLineWidth(int Value);
  plat::TColor GridLineColor() const { return Look().GridLineColor; }
  void SetGridLineColor(plat::TColor Value);
  plat::TColor GridFixedLineColor() const { return Look().GridFixedLineColor; }
  void SetGridFixedLineColor(plat::TColor Value);
  bool ActiveRowShow() const { return Look().ActiveRowShow; }
  void SetActiveRowShow(bool Value);
  plat::TColor ActiveRowColor() const { return Look().ActiveRowColor; }
  void SetActiveRowColor(plat::TColor Value);
  plat::TColor ActiveRowColorTo() const { return Look().ActiveRowColorTo; }
  void SetActiveRowColorTo(plat::TColor Value);
  plat::TColor ActiveRowMirrorColor() const { return Look().ActiveRowMirrorColor; }
  void SetActiveRowMirrorColor(plat::TColor Value);
  plat::TColor ActiveRowMirrorColorTo() const { return Look().ActiveRowMirrorColorTo; }
  void SetActiveRowMirrorColorTo(plat::TColor Value);
  TGridSelectionStyle SelectionStyle() const { return Look().SelectionStyle; }
  void SetSelectionStyle(TGridSelectionStyle Value);
  // Plain stores.
  bool HoverRow() const { return Look().HoverRow; }
  void SetHoverRow(bool Value) { FPainter.Settings.HoverRow = Value; }
  plat::TColor HoverRowColor() const { return Look().HoverRowColor; }
  void SetHoverRowColor(plat::TColor Value) { FPainter.Settings.HoverRowColor = Value; }
  plat::TColor HoverRowColorTo() const { return Look().HoverRowColorTo; }
  void SetHoverRowColorTo(plat::TColor Value) { FPainter.Settings.HoverRowColorTo = Value; }
  THoverRowCells HoverRowCells() const { return Look().HoverRowCells; }
  void SetHoverRowCells(THoverRowCells Value) { FPainter.Settings.HoverRowCells = Value; }
  // The row under the mouse (-1: none) and whether the selection shows, kept by the window's handling.
  int HoverRowIdx() const { return Look().HoverRowIdx; }
  void SetHoverRowIdx(int Value) { FPainter.Settings.HoverRowIdx = Value; }
  bool ShowSel() const { return Look().ShowSel; }
  void SetShowSel(bool Value) { FPainter.Settings.ShowSel = Value; }

  // ---- events and virtual operations
  TGetDisplWideTextEvent OnGetDisplWideText;
  virtual void GetDisplWideText(int ACol, int ARow, QString& Value);
  virtual int GetNodeIndent(int ARow) { (void)ARow; return 0; }
  virtual bool HasCustomCellBorders() { return false; }
  virtual void GetDefaultCellProperties(int ACol, int ARow, plat::TFont* AFont, plat::TBrush* ABrush,
                                        plat::TColor& AColorTo, plat::TColor& AMirrorColor,
                                        plat::TColor& AMirrorColorTo, plat::TAlignment& HA, TVAlignment& VA,
                                        bool& WW, TCellGradientDirection& GD);

 protected:
  // ---- the platform's cell store, kept in the cell store
  QString GetCellText(int ACol, int ARow) const override { return GridCellRef(ACol, ARow); }
  void SetCellText(int ACol, int ARow, const QString& Value) override { SetGridCell(ACol, ARow, Value); }
  plat::TObject* GetCellObject(int ACol, int ARow) const override { return GetGridObject(ACol, ARow); }
  void SetCellObject(int ACol, int ARow, plat::TObject* Value) override;
  void MoveStoredColumn(int From, int To) override { FCells.MoveStoreColumn(From, To); }
  void MoveStoredRow(int From, int To) override { FCells.MoveStoreRow(From, To); }

  // ---- what the cell store and the painter ask, and what the store tells
  bool HasParentControl() const override { return Parent() != nullptr; }
  bool IsDestroying() const override { return ComponentState().Contains(plat::csDestroying); }
  int CurrentCol() const override { return Col(); }
  void SetCurrentCell(int ADisplCol, int ARow);
  plat::TObject* EventSender() override { return this; }
  void CellChanged(int ACol, int ARow) override { RepaintCell(ACol, ARow); }
  void StructureChanged() override { InvalidateGrid(); }
  void CurrentCellMoved(int ADisplCol, int ARow) override { SetCurrentCell(ADisplCol, ARow); }
  void GetDisplTextExtra(int ACol, int ARow, QString& Value) override;
  void GetDefaultCellProperties(int ACol, int ARow, TCellDefaults& Defaults) override;
  TCellGrid& PaintCells() override { return FCells; }
  int PaintFixedCols() const override { return FixedCols(); }
  int PaintFixedRows() const override { return FixedRows(); }
  plat::TPoint PaintCurrentCell() const override { return {Col(), Row()}; }
  plat::TRect PaintSelection() const override;
  plat::TSize PaintClientSize() const override { return {ClientWidth(), ClientHeight()}; }
  plat::TColor PaintColor() const override { return Color(); }
  const plat::TFont& PaintFont() const override { return *Font(); }
  TCellPaintOptions PaintOptions() const override;
  bool PaintFocused() const override { return Focused(); }

  // ---- platform handlers
  void Paint() override;
  void HandleDrawCell(int ACol, int ARow, const plat::TRect& ARect, TGridDrawState AState) override;
  bool HandleSelectCell(int ACol, int ARow) override;
  void HandleKeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  bool DoMouseWheelDown(plat::TShiftState Shift, plat::TPoint MousePos) override;
  bool DoMouseWheelUp(plat::TShiftState Shift, plat::TPoint MousePos) override;
  void TopLeftChanged() override;

  // ---- merge-aware navigation
  void MoveToBaseCell();
  void RepaintMergedFixedRowCells();
  void RepaintMergedFixedColCells();

 private:
  // Before the painter, which reaches the cells through it.
  TCellGrid FCells{*this, this};

  const TCellPaintSettings& Look() const { return FPainter.Settings; }
  void InvalidateIf(bool changed);
  int SumColWidths(int From, int To) const;
  int SumRowHeights(int From, int To) const;
  plat::TRect AreaRect(int ACol, int ARow, const TCellProperties& Props);

  TBaseCellPainter FPainter{*this};
  bool FDefaultDrawing = false;
};

}  // namespace grid
