#pragma once
// TBaseGrid: the layer between the platform string grid and the full string grid. It keeps its cells in the
// cell store (TCellGrid: texts, per-cell properties, merged areas), paints through the base cell painter, and
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

class TBaseGrid : public plat::TStringGrid, public TCellGrid, public TCellPaintHost {
 public:
  explicit TBaseGrid(plat::TComponent* AOwner);
  ~TBaseGrid() override;

  // ---- cells (merge-aware, with the display-text events) and the raw store
  QString Cells(int ACol, int ARow) { return GetCellEx(ACol, ARow); }
  void SetCells(int ACol, int ARow, const QString& Value) { SetCellEx(ACol, ARow, Value); }
  QString GridCells(int ACol, int ARow) const { return GetGridCell(ACol, ARow); }
  void SetGridCells(int ACol, int ARow, const QString& Value) { SetGridCell(ACol, ARow, Value); }
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

  // ---- geometry (client pixels)
  // A merged area gives the rectangle of the whole area; a cell with a control its computed rectangle;
  // any other cell the platform's rectangle (empty at the origin when out of view) in its own size.
  plat::TRect CellRect(int ACol, int ARow) override;
  plat::TPoint CellSize(int ACol, int ARow);
  // Defined also for cells out of view.
  plat::TRect CalcCellRect(int ACol, int ARow) const;
  int FixedColsWidth() const override;
  int FixedRowsHeight() const override;
  void RepaintCell(int ACol, int ARow) override;
  void InvalidateGrid() override { Invalidate(); }

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
  void MoveStoredColumn(int From, int To) override { MoveStoreColumn(From, To); }
  void MoveStoredRow(int From, int To) override { MoveStoreRow(From, To); }

  // ---- what the cell store and the painter ask
  bool HasParentControl() const override { return Parent() != nullptr; }
  bool IsDestroying() const override { return ComponentState().Contains(plat::csDestroying); }
  int CurrentCol() const override { return Col(); }
  void SetCurrentCell(int ADisplCol, int ARow) override;
  plat::TObject* EventSender() override { return this; }
  void GetDisplTextExtra(int ACol, int ARow, QString& Value) override;
  void GetDefaultCellProperties(int ACol, int ARow, TCellDefaults& Defaults) override;
  TCellGrid& PaintCells() override { return *this; }
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
  const TCellPaintSettings& Look() const { return FPainter.Settings; }
  void InvalidateIf(bool changed);
  int SumColWidths(int From, int To) const;
  int SumRowHeights(int From, int To) const;
  plat::TRect AreaRect(int ACol, int ARow, const TCellProperties& Props);

  TBaseCellPainter FPainter{*this};
  bool FDefaultDrawing = false;
};

}  // namespace grid
