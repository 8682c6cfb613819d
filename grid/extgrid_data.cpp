// The grid's files and streams: the members of TExtStringGrid that forward to the data services, the per-cell
// export and import operations, and the adapter through which the services reach the grid.

#include "grid/extgrid_data.h"

#include <QRandomGenerator>

#include <algorithm>
#include <cstdlib>

#include "controls/mini_html.h"
#include "controls/picture.h"
#include "controls/text_utils.h"
#include "grid/data/bin_stream.h"
#include "grid/data/csv_format.h"
#include "grid/data/fixed_text.h"
#include "grid/data/grid_text_format.h"
#include "grid/extgrid.h"
#include "grid/extobj.h"
#include "grid/griderror.h"
#include "grid/view/rich_cell.h"
#include "platform/graphics/graphic.h"
#include "platform/rtl/streams.h"

namespace grid {

// ---- the per-cell road

void TExtStringGrid::SaveCell(int ACol, int ARow, QString& Value) {
  Value = SaveVirtCells ? GetFormattedCell(ACol, ARow) : GridCells(ACol, ARow);
  if (Value.isEmpty()) {
    const TCellType type = GetCellType(ACol, ARow);
    bool checked = false;
    if (type == ctCheckBox) {
      CellChecks().GetCheckBoxState(ACol, RealRowIndex(ARow), checked);
    } else if (type == ctTriStateCheckBox) {
      TCheckBoxState state = cbUnchecked;
      CellChecks().GetCheckBoxState(ACol, RealRowIndex(ARow), state);
      checked = state == cbChecked;
    }
    if (type == ctCheckBox || type == ctTriStateCheckBox) {
      if (checked) GetCheckTrue(ACol, ARow, Value);
      else GetCheckFalse(ACol, ARow, Value);
    }
  }
  const int kind = controls::CellTextType(Value, true);
  if (kind == 1 && !SaveWithHTML) {
    Value = controls::HTMLToPlainText(Value);
  } else if (kind == 2) {
    if (SaveWithRTF) {
      Value.remove(u'\r');
      Value.remove(u'\n');
    } else {
      Value = RichTextToPlain(Value).replace(u'\n', QStringLiteral("\r\n"));
    }
  }
  if (OnSaveCell) OnSaveCell(this, ACol, ARow, Value);
}

void TExtStringGrid::LoadCell(int ACol, int ARow, const QString& Value) {
  if (!OnLoadCell) {
    SetGridCells(ACol, ARow, Value);
    return;
  }
  QString v = Value;
  OnLoadCell(this, ACol, ARow, v);
  SetGridCells(ACol, ARow, v);
}

double TExtStringGrid::CellToReal(int ACol, int ARow) {
  const QString text = Cells(ACol, ARow);
  if (text.isEmpty()) return 0;
  const QByteArray s = controls::NumericTextToDotDecimal(text).toLatin1();
  char* end = nullptr;
  const double v = std::strtod(s.constData(), &end);
  if (s.isEmpty() || *end != 0) {
    const qsizetype at = end - s.constData() + 1;
    throw EExtGridError(QStringLiteral("Error at position: %1 in Cell [%2, %3].").arg(at).arg(ACol).arg(ARow));
  }
  return v;
}

// ---- the services

TGridDataHost& TExtStringGrid::DataHost() { return FDataHost; }
void TExtStringGrid::SaveToFile(const QString& FileName, bool Unicode) { SaveGridTextFile(FDataHost, FileName, Unicode); }
void TExtStringGrid::LoadFromFile(const QString& FileName) { LoadGridTextFile(FDataHost, FileName); }
void TExtStringGrid::SaveToStream(plat::TStream& Stream) { SaveGridTextStream(FDataHost, Stream); }
void TExtStringGrid::LoadFromStream(plat::TStream& Stream) { LoadGridTextStream(FDataHost, Stream); }
void TExtStringGrid::SaveToBinFile(const QString& FileName) { grid::SaveToBinFile(FDataHost, FileName); }
void TExtStringGrid::LoadFromBinFile(const QString& FileName) {
  grid::LoadFromBinFile(FDataHost, FileName);
  FNodes.RecountNodes();
}
void TExtStringGrid::SaveToBinStream(plat::TStream& Stream) { grid::SaveToBinStream(FDataHost, Stream); }
void TExtStringGrid::SaveRectToBinStream(plat::TRect Rect, plat::TStream& Stream) {
  grid::SaveRectToBinStream(FDataHost, Rect, Stream);
}
void TExtStringGrid::LoadFromBinStream(plat::TStream& Stream) {
  grid::LoadFromBinStream(FDataHost, Stream);
  FNodes.RecountNodes();
}

// The source's cells travel as the grid text stream: texts, counts and column widths. The stream carries no
// cell properties, which Assign has always copied as well; they follow as fresh copies.
void TExtStringGrid::AssignCells(plat::TPersistent* Source) {
  auto* src = dynamic_cast<TExtStringGrid*>(Source);
  if (!src || src == this) return;
  plat::TMemoryStream ms;
  src->SaveToStream(ms);
  ms.SetPosition(0);
  LoadFromStream(ms);
  const int cols = std::min(ColCount(), src->ColCount()) + src->NumHiddenColumns();
  for (int r = 0; r < std::min(RowCount(), src->RowCount()); ++r)
    for (int c = 0; c < cols; ++c)
      if (src->HasCellProperties(c, r)) GetCellProperties(c, r)->Assign(src->GetGridObject(c, r));
}
void TExtStringGrid::LoadAtPointFromBinStream(plat::TPoint Point, plat::TStream& Stream) {
  grid::LoadAtPointFromBinStream(FDataHost, Point, Stream);
}
void TExtStringGrid::SaveToCSV(const QString& FileName, bool Unicode) { grid::SaveToCSV(FDataHost, FileName, Unicode); }
void TExtStringGrid::AppendToCSV(const QString& FileName, bool Unicode) { grid::AppendToCSV(FDataHost, FileName, Unicode); }
void TExtStringGrid::LoadFromCSV(const QString& FileName, int MaxRows) { grid::LoadFromCSV(FDataHost, FileName, MaxRows); }
void TExtStringGrid::InsertFromCSV(const QString& FileName, int MaxRows) { grid::InsertFromCSV(FDataHost, FileName, MaxRows); }
void TExtStringGrid::LoadFromCSVStream(plat::TStream& Stream, int MaxRows) {
  grid::LoadFromCSVStream(FDataHost, Stream, MaxRows);
}
void TExtStringGrid::SaveToFixed(const QString& FileName, TIntList& Positions) {
  grid::SaveToFixed(FDataHost, FileName, Positions);
}
void TExtStringGrid::LoadFromFixed(const QString& FileName, TIntList& Positions, bool DoTrim, int MaxRows) {
  grid::LoadFromFixed(FDataHost, FileName, Positions, DoTrim, MaxRows);
}
void TExtStringGrid::SaveToASCII(const QString& FileName, bool Unicode) {
  const plat::TCursor old = Cursor();
  SetCursor(plat::crHourGlass);
  try {
    grid::SaveToASCII(FDataHost, FileName, Unicode);
  } catch (...) {
    SetCursor(old);
    throw;
  }
  SetCursor(old);
}
void TExtStringGrid::AppendToASCII(const QString& FileName, bool Unicode) {
  const plat::TCursor old = Cursor();
  SetCursor(plat::crHourGlass);
  try {
    grid::AppendToASCII(FDataHost, FileName, Unicode);
  } catch (...) {
    SetCursor(old);
    throw;
  }
  SetCursor(old);
}

// ---- the adapter

TGridDataAdapter::TGridDataAdapter(TExtStringGrid& Grid)
    : FGrid(Grid), FID(static_cast<qint32>(QRandomGenerator::global()->generate())) {}

TCellGrid& TGridDataAdapter::CellStore() { return FGrid.CellStore(); }
int TGridDataAdapter::ColCount() const { return FGrid.ColCount(); }
int TGridDataAdapter::RowCount() const { return FGrid.RowCount(); }
void TGridDataAdapter::SetColCount(int Value) { FGrid.SetColCount(Value); }
void TGridDataAdapter::SetRowCount(int Value) { FGrid.SetRowCount(Value); }
int TGridDataAdapter::FixedCols() const { return FGrid.FixedCols(); }
int TGridDataAdapter::FixedRows() const { return FGrid.FixedRows(); }
int TGridDataAdapter::FixedRightCols() const { return FGrid.FixedRightCols(); }
int TGridDataAdapter::FixedFooters() const { return FGrid.FixedFooters(); }
int TGridDataAdapter::NumHiddenColumns() const { return FGrid.NumHiddenColumns(); }
int TGridDataAdapter::DisplToRealCol(int ACol) const { return FGrid.RealColIndex(ACol); }
int TGridDataAdapter::ColWidth(int ACol) const {
  return ACol < FGrid.ColCount() ? FGrid.ColWidths(ACol) : FGrid.DefaultColWidth();
}
void TGridDataAdapter::SetColWidth(int ACol, int Value) {
  if (ACol >= 0 && ACol < FGrid.ColCount()) FGrid.SetColWidths(ACol, Value);
}
int TGridDataAdapter::RowHeight(int ARow) const { return FGrid.RowHeights(ARow); }
void TGridDataAdapter::SetRowHeight(int ARow, int Value) {
  if (ARow >= 0 && ARow < FGrid.RowCount()) FGrid.SetRowHeights(ARow, Value);
}

TGridDataOptions TGridDataAdapter::DataOptions() const {
  TGridDataOptions o;
  o.SaveFixedCells = FGrid.SaveFixedCells;
  o.SaveFixedRows = FGrid.SaveFixedRows;
  o.SaveFixedCols = FGrid.SaveFixedCols;
  o.SaveHiddenCells = FGrid.SaveHiddenCells;
  o.SaveVirtCells = FGrid.SaveVirtCells;
  o.SaveWithHTML = FGrid.SaveWithHTML;
  o.SaveWithRTF = FGrid.SaveWithRTF;
  o.Multilinecells = FGrid.Multilinecells();
  o.Delimiter = FGrid.Delimiter;
  o.AlwaysQuotes = FGrid.AlwaysQuotes;
  o.QuoteEmptyCells = FGrid.QuoteEmptyCells;
  o.JavaCSV = FGrid.JavaCSV;
  o.LoadFirstRow = FGrid.LoadFirstRow;
  o.OemConvert = FGrid.OemConvert;
  return o;
}

void TGridDataAdapter::SaveCell(int ACol, int ARow, QString& Value) { FGrid.SaveCell(ACol, ARow, Value); }
void TGridDataAdapter::LoadCell(int ACol, int ARow, const QString& Value) { FGrid.LoadCell(ACol, ARow, Value); }
void TGridDataAdapter::WriteCell(int ACol, int ARow, const QString& Value) { FGrid.SetCellEx(ACol, ARow, Value); }
void TGridDataAdapter::ExportNotification(TGridExportState AState, int ARow) { FGrid.ExportNotification(AState, ARow); }
bool TGridDataAdapter::HasFileProgress() const { return static_cast<bool>(FGrid.OnFileProgress); }
void TGridDataAdapter::FileProgress(int Percent) { FGrid.OnFileProgress(&FGrid, Percent); }
void TGridDataAdapter::CellsChanged(plat::TRect R) { FGrid.CellsChanged(R); }
void TGridDataAdapter::AllCellsChanged() { FGrid.AllCellsChanged(); }
void TGridDataAdapter::BeginUpdate() { FGrid.BeginUpdate(); }
void TGridDataAdapter::EndUpdate() { FGrid.EndUpdate(); }

plat::TAlignment TGridDataAdapter::CellAlignment(int ACol, int ARow) {
  plat::TAlignment ha = plat::taLeftJustify;
  TVAlignment va = vtaTop;
  FGrid.GetCellAlignment(ACol, ARow, ha, va);
  return ha;
}

void TGridDataAdapter::ClearCells() {
  TCellGrid& store = FGrid.CellStore();
  store.FreeAllCellProperties();
  const int rows = std::min(store.StoredRowCount(), FGrid.RowCount());
  const int cols = std::max(store.StoredColCount(), store.TotalColCount());
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c)
      if (!store.GridCellRef(c, r).isEmpty()) store.SetGridCell(c, r, QString());
  FGrid.Invalidate();
}

TCellGraphic* TGridDataAdapter::CreateCellGraphic(int ACol, int ARow) { return FGrid.CreateCellGraphic(ACol, ARow); }

bool TGridDataAdapter::SaveGraphicPayload(const TCellGraphic& Graphic, QByteArray& Data) {
  const plat::TObject* o = Graphic.CellType == ctIcon ? Graphic.CellIcon : Graphic.CellBitmap;
  // A picture made for a cell holds its graphic; a file picture travels as its file name.
  if (const auto* p = dynamic_cast<const plat::TPicture*>(o)) o = p->Graphic();
  if (const auto* f = dynamic_cast<const TFilePicture*>(o)) {
    Data = f->Filename().toUtf8();
    return true;
  }
  const auto* g = dynamic_cast<const plat::TGraphic*>(o);
  if (!g) return false;
  Data = g->SaveToBytes();
  return true;
}

bool TGridDataAdapter::LoadGraphicPayload(int ACol, int ARow, TCellGraphic& Graphic, const QByteArray& Data) {
  (void)ACol, (void)ARow;
  if (Graphic.CellType == ctFilePicture) {
    auto* f = new TFilePicture;
    try {
      f->SetFilename(QString::fromUtf8(Data));
    } catch (const plat::Exception&) {
      // A file that is gone keeps its name; the cell draws nothing until it is back.
    }
    Graphic.SetOwnedBitmap(f);
    return true;
  }
  if (Graphic.CellType == ctPicture) {
    auto* p = new plat::TPicture;
    try {
      p->LoadFromBytes(Data);
    } catch (const plat::Exception&) {
      delete p;
      return false;
    }
    Graphic.SetOwnedBitmap(p);
    return true;
  }
  plat::TGraphic* g = nullptr;
  switch (Graphic.CellType) {
    case ctBitmap:
    case ctBitButton:
      g = new plat::TBitmap;
      break;
    case ctIcon:
      g = new plat::TIcon;
      break;
    default:
      g = new controls::THTMLPicture;
      break;
  }
  try {
    g->LoadFromBytes(Data);
  } catch (const plat::Exception&) {
    // A picture that does not decode leaves the cell object without one, as an empty picture would.
    delete g;
    return false;
  }
  if (Graphic.CellType == ctIcon) Graphic.SetOwnedIcon(g);
  else Graphic.SetOwnedBitmap(g);
  return true;
}

void TGridDataAdapter::BinaryLoaded() { FGrid.Invalidate(); }

bool TGridDataAdapter::FloatingFooterVisible() const { return FGrid.FloatingFooterFixedLastRow(); }

}  // namespace grid
