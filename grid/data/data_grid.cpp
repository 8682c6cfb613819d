#include "grid/data/data_grid.h"

#include <algorithm>

#include "grid/model/cell_graphic.h"
#include "grid/model/cell_objects.h"
#include "grid/model/cell_properties.h"

namespace grid {

TDataGrid::TDataGrid(int ACols, int ARows)
    : TCellGrid(static_cast<TCellGridHost&>(*this)),
      FColCount(std::max(0, ACols)),
      FRowCount(std::max(0, ARows)),
      FObjectsHost(std::make_unique<TCellObjectsHost>()),
      FObjects(std::make_unique<TCellObjects>(*this, *FObjectsHost)) {}

TDataGrid::~TDataGrid() = default;

void TDataGrid::SetColCount(int Value) { FColCount = std::max(0, Value); }

void TDataGrid::SetRowCount(int Value) {
  FRowCount = std::max(0, Value);
  FMaxRowCount = std::max(FMaxRowCount, FRowCount);
}

int TDataGrid::ColWidth(int ACol) const {
  return ACol >= 0 && static_cast<size_t>(ACol) < FColWidths.size() && FColWidths[ACol] >= 0 ? FColWidths[ACol]
                                                                                          : DefaultColWidth;
}

void TDataGrid::SetColWidth(int ACol, int Value) {
  if (ACol < 0 || ACol >= FColCount + HiddenColumns) return;
  if (static_cast<size_t>(ACol) >= FColWidths.size()) FColWidths.resize(ACol + 1, -1);
  FColWidths[ACol] = Value;
}

int TDataGrid::RowHeight(int ARow) const {
  return ARow >= 0 && static_cast<size_t>(ARow) < FRowHeights.size() && FRowHeights[ARow] >= 0 ? FRowHeights[ARow]
                                                                                            : DefaultRowHeight;
}

void TDataGrid::SetRowHeight(int ARow, int Value) {
  if (ARow < 0 || ARow >= FRowCount) return;
  if (static_cast<size_t>(ARow) >= FRowHeights.size()) FRowHeights.resize(ARow + 1, -1);
  FRowHeights[ARow] = Value;
}

void TDataGrid::SaveCell(int ACol, int ARow, QString& Value) {
  Value = Options.SaveVirtCells ? Cells(ACol, ARow) : GridCellRef(ACol, ARow);
  if (OnSaveCell) OnSaveCell(ACol, ARow, Value);
}

bool TDataGrid::SavesStoredTexts(int ARow) const {
  if (OnSaveCell) return false;
  // Cells reads a cell's stored text, unless the cell is merged or the row is one the display-text hooks see.
  return !Options.SaveVirtCells || (!HasCellProps() && ARow >= NormalRowCount());
}

void TDataGrid::LoadCell(int ACol, int ARow, const QString& Value) {
  if (!OnLoadCell) {
    SetGridCell(ACol, ARow, Value);
    return;
  }
  QString v = Value;
  OnLoadCell(ACol, ARow, v);
  SetGridCell(ACol, ARow, v);
}

void TDataGrid::WriteCellMoved(int ACol, int ARow, QString&& Value) {
  // Without properties no cell is merged, and Cells writes the cell itself.
  if (HasCellProps()) SetCells(ACol, ARow, Value);
  else SetGridCell(ACol, ARow, std::move(Value));
}

void TDataGrid::ExportNotification(TGridExportState AState, int ARow) {
  if (OnExportNotification) OnExportNotification(AState, ARow);
}

void TDataGrid::CellsChanged(plat::TRect R) {
  ++CellsChangedCount;
  LastChangedRect = R;
}

plat::TAlignment TDataGrid::CellAlignment(int ACol, int ARow) {
  if (const TCellProperties* p = GetGridObject(ACol, ARow)) return p->Alignment;
  return ACol >= 0 && static_cast<size_t>(ACol) < ColumnAlignments.size() ? ColumnAlignments[ACol]
                                                                           : plat::taLeftJustify;
}

void TDataGrid::ExportCellLook(int ACol, int ARow, TExportLook& Look) {
  Look = DefaultLook;
  Look.Alignment = CellAlignment(ACol, ARow);
  const TCellProperties* p = GetGridObject(ACol, ARow);
  if (!p) return;
  const auto rgb = [](plat::TColor c) { return c != plat::clNone && !plat::IsSystemColor(c); };
  if (rgb(p->BrushColor())) Look.Background = p->BrushColor();
  if (rgb(p->FontColor)) Look.FontColor = p->FontColor;
  if (p->FontSize > 0) Look.FontSize = p->FontSize;
  if (!p->FontName.isEmpty()) Look.FontName = p->FontName;
  Look.Bold = p->FontStyle.Contains(plat::fsBold);
  Look.Italic = p->FontStyle.Contains(plat::fsItalic);
  Look.VAlignment = p->VAlignment();
  Look.WordWrap = p->WordWrap();
}

void TDataGrid::ClearCells() {
  FreeAllCellProperties();
  const int rows = std::min(StoredRowCount(), FRowCount);
  const int cols = std::max(StoredColCount(), TotalColCount());
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c)
      if (!GridCellRef(c, r).isEmpty()) SetGridCell(c, r, QString());
}

TCellGraphic* TDataGrid::CreateCellGraphic(int ACol, int ARow) { return FObjects->CreateCellGraphic(ACol, ARow); }

void TDataGrid::BinaryLoaded() {
  FNodeCount = 0;
  for (int r = FixedRowCount; r < FRowCount; ++r)
    if (FObjects->GetCellType(0, r) == ctNode) ++FNodeCount;
}

}  // namespace grid
