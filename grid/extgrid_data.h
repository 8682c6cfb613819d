#pragma once
// The string grid as host of its data services (grid/data): the services reach the grid only through this
// adapter, which answers with the grid's counts, options, sizes and per-cell operations (SaveCell, LoadCell).

#include <QByteArray>
#include <QString>

#include "grid/data/grid_data_host.h"

namespace grid {

class TExtStringGrid;

class TGridDataAdapter final : public TGridDataHost {
 public:
  explicit TGridDataAdapter(TExtStringGrid& Grid);

  TCellGrid& CellStore() override;
  int ColCount() const override;
  int RowCount() const override;
  void SetColCount(int Value) override;
  void SetRowCount(int Value) override;
  int FixedCols() const override;
  int FixedRows() const override;
  int FixedRightCols() const override;
  int FixedFooters() const override;
  int NumHiddenColumns() const override;
  int DisplToRealCol(int ACol) const override;
  int ColWidth(int ACol) const override;
  void SetColWidth(int ACol, int Value) override;
  int RowHeight(int ARow) const override;
  void SetRowHeight(int ARow, int Value) override;
  TGridDataOptions DataOptions() const override;
  void SaveCell(int ACol, int ARow, QString& Value) override;
  void LoadCell(int ACol, int ARow, const QString& Value) override;
  void WriteCell(int ACol, int ARow, const QString& Value) override;
  void ExportNotification(TGridExportState AState, int ARow) override;
  bool HasFileProgress() const override;
  void FileProgress(int Percent) override;
  void CellsChanged(plat::TRect R) override;
  void AllCellsChanged() override;
  void BeginUpdate() override;
  void EndUpdate() override;
  plat::TAlignment CellAlignment(int ACol, int ARow) override;
  qint32 GridID() const override { return FID; }
  void ClearCells() override;
  TCellGraphic* CreateCellGraphic(int ACol, int ARow) override;
  bool SaveGraphicPayload(const TCellGraphic& Graphic, QByteArray& Data) override;
  bool LoadGraphicPayload(int ACol, int ARow, TCellGraphic& Graphic, const QByteArray& Data) override;
  void BinaryLoaded() override;
  bool FloatingFooterVisible() const override;

 private:
  TExtStringGrid& FGrid;
  // Tells this grid's streams from another's (a paste can see it comes from the same grid).
  qint32 FID;
};

}  // namespace grid
