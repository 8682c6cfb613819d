#pragma once
// The print engine's host over a window-free grid of the data services: cells print their export texts (the
// SaveCell road) in the print fonts; no selection, no merged cells.

#include "grid/print/print_host.h"

namespace grid {

class TDataPrintHost : public TPrintHost {
 public:
  explicit TDataPrintHost(TGridDataHost& Grid) : FGrid(Grid) {}

  int ColCount() const override { return FGrid.ColCount(); }
  int RowCount() const override { return FGrid.RowCount(); }
  int FixedCols() const override { return FGrid.FixedCols(); }
  int FixedRows() const override { return FGrid.FixedRows(); }
  int FixedFooters() const override { return FGrid.FixedFooters(); }
  int ColWidth(int ACol) const override { return FGrid.ColWidth(ACol); }
  int RowHeight(int ARow) const override { return FGrid.RowHeight(ARow); }
  bool MultiLineCells() const override { return FGrid.DataOptions().Multilinecells; }
  QString PrintText(int ACol, int ARow) override {
    QString s;
    FGrid.SaveCell(FGrid.DisplToRealCol(ACol), ARow, s);
    return s;
  }
  void PrintLooks(int ACol, int ARow, TPrintCellLooks& Looks) override {
    Looks.HAlign = FGrid.CellAlignment(FGrid.DisplToRealCol(ACol), ARow);
  }
  void ExportNotification(TGridExportState AState, int ARow) override { FGrid.ExportNotification(AState, ARow); }

 private:
  TGridDataHost& FGrid;
};

}  // namespace grid
