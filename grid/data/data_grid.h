#pragma once
// TDataGrid: a string grid without a window, over the cell store, for the data services outside the program's
// windows (the command-line converter, tests, benchmarks and fuzz targets). It keeps counts, fixed parts, sizes
// and the save options, and exports and imports cells as the window grid does for cells without formatting:
// SaveCell gives the cell's displayed text (the stored text unless a display-text event changes it), LoadCell
// stores the raw text; OnSaveCell and OnLoadCell may change the text on the way.

#include <QString>

#include <functional>
#include <memory>
#include <vector>

#include "grid/data/grid_data_host.h"
#include "grid/model/cellgrid.h"

namespace grid {

class TCellObjects;
class TCellObjectsHost;

class TDataGrid : public TCellGridHost, public TCellGrid, public TGridDataHost {
 public:
  explicit TDataGrid(int ACols = 5, int ARows = 5);
  ~TDataGrid() override;

  // ---- counts and sizes (hidden columns sit at the end of the store, beyond ColCount)
  int ColCount() const override { return FColCount; }
  int RowCount() const override { return FRowCount; }
  int TotalColCount() const override { return FColCount + HiddenColumns; }
  void SetColCount(int Value) override;
  void SetRowCount(int Value) override;
  int FixedCols() const override { return FixedColCount; }
  int FixedRows() const override { return FixedRowCount; }
  int FixedRightCols() const override { return FixedRightColCount; }
  int FixedFooters() const override { return FixedFooterCount; }
  int NumHiddenColumns() const override { return HiddenColumns; }
  int ColWidth(int ACol) const override;
  void SetColWidth(int ACol, int Value) override;
  int RowHeight(int ARow) const override;
  void SetRowHeight(int ARow, int Value) override;
  int MaxRowCount() const { return FMaxRowCount; }

  // ---- the data services' host
  TCellGrid& CellStore() override { return *this; }
  TGridDataOptions DataOptions() const override { return Options; }
  void SaveCell(int ACol, int ARow, QString& Value) override;
  bool SavesStoredTexts(int ARow) const override;
  void LoadCell(int ACol, int ARow, const QString& Value) override;
  bool LoadsRawTexts() const override { return !OnLoadCell; }
  void WriteCell(int ACol, int ARow, const QString& Value) override { SetCells(ACol, ARow, Value); }
  void WriteCellMoved(int ACol, int ARow, QString&& Value) override;
  void ExportNotification(TGridExportState AState, int ARow) override;
  bool HasFileProgress() const override { return static_cast<bool>(OnFileProgress); }
  void FileProgress(int Percent) override { OnFileProgress(Percent); }
  void CellsChanged(plat::TRect R) override;
  void AllCellsChanged() override { ++AllCellsChangedCount; }
  plat::TAlignment CellAlignment(int ACol, int ARow) override;
  qint32 GridID() const override { return ID; }
  void ClearCells() override;
  TCellGraphic* CreateCellGraphic(int ACol, int ARow) override;
  void BinaryLoaded() override;
  void SetMaxRowCount(int Value) override { FMaxRowCount = Value; }
  bool FloatingFooterVisible() const override { return FloatingFooter && FixedFooterCount > 0; }
  // The default look, changed by the cell's own properties (colours that are not system colours, font,
  // alignment and word wrap).
  void ExportCellLook(int ACol, int ARow, TExportLook& Look) override;

  TCellObjects& CellObjects() { return *FObjects; }
  // Rows from FixedRows on whose column-0 cell is a node cell, as the last binary load counted them.
  int NodeCount() const { return FNodeCount; }

  TGridDataOptions Options;
  int FixedColCount = 0, FixedRowCount = 0, FixedRightColCount = 0, FixedFooterCount = 0;
  int HiddenColumns = 0;
  bool FloatingFooter = false;
  int DefaultColWidth = 64, DefaultRowHeight = 24;
  qint32 ID = 0;
  std::function<void(int ACol, int ARow, QString& Value)> OnSaveCell, OnLoadCell;
  std::function<void(int Percent)> OnFileProgress;
  std::function<void(TGridExportState AState, int ARow)> OnExportNotification;
  // Alignment per real column for the aligned text layout (left when not set).
  std::vector<plat::TAlignment> ColumnAlignments;
  // The look of cells without properties in exports.
  TExportLook DefaultLook;
  int CellsChangedCount = 0, AllCellsChangedCount = 0;
  plat::TRect LastChangedRect;

 private:
  int FColCount, FRowCount;
  int FMaxRowCount = 0;
  int FNodeCount = 0;
  std::vector<int> FColWidths, FRowHeights;
  std::unique_ptr<TCellObjectsHost> FObjectsHost;
  std::unique_ptr<TCellObjects> FObjects;
};

}  // namespace grid
