// Reading the binary grid stream (bin_stream.h).

#include <QStringList>

#include <algorithm>
#include <vector>

#include "grid/data/bin_records.h"
#include "grid/data/bin_stream.h"
#include "grid/data/data_files.h"
#include "grid/data/data_grid.h"
#include "grid/griderror.h"
#include "grid/model/cell_graphic.h"
#include "grid/model/cellgrid.h"
#include "grid/model/intlist.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/strings.h"
#include "platform/rtl/strutils.h"

namespace grid {

using namespace binrec;

namespace {

[[noreturn]] void Corrupt() { throw EExtGridError(QStringLiteral("Corrupt grid stream")); }

// The sizes of a whole-grid record: exactly one decimal entry per column or row is needed.
std::vector<int> SizeList(const TValue& V, int Count) {
  const QStringList parts = V.Text.split(u',');
  if (!V.Present || Count == 0) return {};
  if (parts.size() < Count) Corrupt();
  std::vector<int> sizes;
  sizes.reserve(static_cast<size_t>(Count));
  for (int i = 0; i < Count; ++i) sizes.push_back(std::max(0, plat::StrToInt(parts[i])));
  return sizes;
}

class TBinReader {
 public:
  TBinReader(TGridDataHost& Host, const QByteArray& Bytes)
      : FHost(Host), FStore(Host.CellStore()), FIn(Bytes.constData(), Bytes.size()) {}

  qsizetype Consumed() const { return FIn.Consumed(); }
  // The size of the stream's rectangle, as its grid record gives it.
  int Cols() const { return FCols; }
  int Rows() const { return FRows; }

  void Read(plat::TPoint Point) {
    FIn.Next(FRec);
    if (FRec.Id != rPropIO) Corrupt();
    const bool full = FRec[pFullGrid].Present && FRec[pFullGrid].Int;
    FCols = static_cast<int>(FRec[pColCount].Int), FRows = static_cast<int>(FRec[pRowCount].Int);
    if (full) TakeGrid();
    TProgress progress(FHost);
    bool first = true;
    plat::TPoint origin;
    int lastRow = -1;
    int col = 0, row = 0;
    bool hasProp = false;
    while (FIn.Left() >= 2) {
      if (!FIn.NextCell(col, row, FText, hasProp)) {
        FIn.Next(FRec);
        if (FRec.Id != rCellIO) Corrupt();
        col = static_cast<int>(FRec[cCol].Int), row = static_cast<int>(FRec[cRow].Int);
        FText = FRec[cCell].Text;
        hasProp = FRec[cHasProp].Int != 0;
      }
      if (first && !full) origin = plat::TPoint(col, row);
      first = false;
      const int tc = col + Point.X - origin.X, tr = row + Point.Y - origin.Y;
      const bool inside = tc >= 0 && tr >= 0 && tc < FHost.ColCount() && tr < FHost.RowCount();
      const int real = inside ? FHost.DisplToRealCol(tc) : -1;
      if (inside) FHost.WriteCellMoved(real, tr, std::move(FText));
      if (tr != lastRow && inside) progress.Report(tr, FHost.RowCount()), lastRow = tr;
      if (hasProp) ReadProperties(real, tr);
    }
  }

 private:
  // A whole grid: its counts and sizes replace the grid's, after they all proved readable.
  void TakeGrid() {
    const int cols = static_cast<int>(FRec[pColCount].Int), rows = static_cast<int>(FRec[pRowCount].Int);
    if (cols < 0 || rows < 0 || cols > MaxBinCount || rows > MaxBinCount) Corrupt();
    const std::vector<int> widths = SizeList(FRec[pColWidths], cols);
    const std::vector<int> heights = SizeList(FRec[pRowHeights], rows);
    FHost.ClearCells();
    FHost.SetRowCount(rows);
    FHost.SetColCount(cols);
    for (size_t i = 0; i < widths.size(); ++i) FHost.SetColWidth(static_cast<int>(i), widths[i]);
    for (size_t i = 0; i < heights.size(); ++i) FHost.SetRowHeight(static_cast<int>(i), heights[i]);
  }

  // Reads the cell's property records; Real is -1 for a cell outside the grid, whose records are only passed.
  void ReadProperties(int Real, int Row) {
    FIn.Next(FRec);
    if (FRec.Id != rCellPropIO) Corrupt();
    const bool graphic = FRec[cpHasGraphic].Present && FRec[cpHasGraphic].Int;
    if (Real >= 0)
      if (TCellProperties* p = FStore.GetCellProperties(Real, Row)) ApplyProperties(*p, Real, Row);
    if (graphic) ReadGraphic(Real, Row);
  }

  void ApplyProperties(TCellProperties& p, int Real, int Row) {
    const auto set = [this](int Index, auto Apply) {
      if (FRec[Index].Present) Apply(FRec[Index]);
    };
    set(cpAlignment, [&](const TValue& v) { p.Alignment = static_cast<plat::TAlignment>(std::clamp<int>(v.Int, 0, 2)); });
    set(cpBorderColor, [&](const TValue& v) { p.BorderColor = static_cast<plat::TColor>(v.Int); });
    set(cpBorderWidth, [&](const TValue& v) { p.BorderWidth = static_cast<int>(v.Int); });
    set(cpBrushColor, [&](const TValue& v) { p.SetBrushColor(static_cast<plat::TColor>(v.Int)); });
    set(cpBrushColorTo, [&](const TValue& v) { p.SetBrushColorTo(static_cast<plat::TColor>(v.Int)); });
    set(cpBrushStyle, [&](const TValue& v) { p.BrushStyle = static_cast<plat::TBrushStyle>(std::clamp<int>(v.Int, 0, 7)); });
    set(cpFontColor, [&](const TValue& v) { p.FontColor = static_cast<plat::TColor>(v.Int); });
    set(cpFontStyle, [&](const TValue& v) {
      p.FontStyle = {};
      for (plat::TFontStyle s : {plat::fsBold, plat::fsItalic, plat::fsUnderline, plat::fsStrikeOut})
        if (v.Int & (1 << s)) p.FontStyle.Include(s);
    });
    set(cpFontName, [&](const TValue& v) { p.FontName = v.Text; });
    set(cpFontSize, [&](const TValue& v) { p.FontSize = static_cast<int>(v.Int); });
    set(cpReadOnly, [&](const TValue& v) { p.ReadOnly = v.Int != 0; });
    set(cpEditor, [&](const TValue& v) { p.Editor = static_cast<TEditorType>(std::clamp<int>(v.Int, 0, edMaskEditBtn)); });
    set(cpVAlignment, [&](const TValue& v) { p.SetVAlignment(static_cast<TVAlignment>(std::clamp<int>(v.Int, 0, 2))); });
    set(cpWordWrap, [&](const TValue& v) { p.SetWordWrap(v.Int != 0); });
    set(cpNodeLevel, [&](const TValue& v) { p.NodeLevel = static_cast<int>(v.Int); });
    set(cpGradientDirection, [&](const TValue& v) { p.GradientDirection = static_cast<TCellGradientDirection>(v.Int != 0); });
    // A merged area is made again from its base cell, clipped to the grid; the store keeps its own count of
    // areas, which copying the span fields would bypass.
    const bool base = !FRec[cpIsBaseCell].Present || FRec[cpIsBaseCell].Int;
    const int sx = FRec[cpCellSpanX].Present ? static_cast<int>(FRec[cpCellSpanX].Int) : -1;
    const int sy = FRec[cpCellSpanY].Present ? static_cast<int>(FRec[cpCellSpanY].Int) : -1;
    if (base && (sx > 0 || sy > 0) && sx < MaxBinCount && sy < MaxBinCount)
      FStore.MergeCells(Real, Row, std::max(sx, 0) + 1, std::max(sy, 0) + 1);
  }

  void ReadGraphic(int Real, int Row) {
    FIn.Next(FRec);
    if (FRec.Id != rGraphicIO) Corrupt();
    const int type = FRec[gCellType].Present ? static_cast<int>(FRec[gCellType].Int) : int(ctNone);
    if (type < 0 || type > ctExpand) Corrupt();
    TCellGraphic* g = Real >= 0 ? FHost.CreateCellGraphic(Real, Row) : nullptr;
    if (g) ApplyGraphic(*g);
    const TRecordId payload = PayloadOf(static_cast<TCellType>(type));
    if (payload == rPropIO) return;
    FIn.Next(FRec);
    if (FRec.Id != payload && !(payload == rPicIO && FRec.Id == rFilePicIO)) Corrupt();
    if (g) ApplyPayload(*g, Real, Row);
  }

  void ApplyGraphic(TCellGraphic& g) {
    const auto num = [this](int i, int def) { return FRec[i].Present ? static_cast<int>(FRec[i].Int) : def; };
    g.CellType = static_cast<TCellType>(num(gCellType, ctNone));
    g.CellVAlign = static_cast<TCellVAlign>(std::clamp(num(gCellVAlign, vaTop), 0, int(vaFull)));
    g.CellHAlign = static_cast<TCellHAlign>(std::clamp(num(gCellHAlign, haLeft), 0, int(haFull)));
    g.CellIndex = num(gCellIndex, 0);
    g.CellTransparent = num(gCellTransparent, 0) != 0;
    if (FRec[gCellValue].Present) g.CellValue = FRec[gCellValue].Real;
    g.CellAngle = num(gCellAngle, 0);
    g.CellBoolean = num(gCellBoolean, 0) != 0;
    g.CellErrFrom = num(gCellErrFrom, 0);
    g.CellErrLen = num(gCellErrLen, 0);
    g.CellText = FRec[gCellText].Text;
    g.CellCheckBoxState = static_cast<TCheckBoxState>(std::clamp(num(gCellCheckBoxState, 0), 0, 2));
    // The content is made below, owned by the cell object.
    g.CellCreated = false;
  }

  void ApplyPayload(TCellGraphic& g, int Real, int Row) {
    if (FRec.Id == rSLIO) {
      const QStringList& items = FRec[sStrings].List;
      if (g.CellType == ctImages) {
        auto* list = new TIntList(Real, Row);
        g.SetOwnedBitmap(list);
        list->SetStrValue(items.value(0));
      } else {
        auto* sl = new plat::TStringList;
        g.SetOwnedBitmap(sl);
        for (const QString& s : items) sl->Add(s);
      }
      g.CellCreated = true;
      return;
    }
    g.CellCreated = FHost.LoadGraphicPayload(Real, Row, g, FRec[bData].Data);
  }

  TGridDataHost& FHost;
  TCellGrid& FStore;
  TRecordReader FIn;
  TRecord FRec;
  QString FText;
  int FCols = 0, FRows = 0;
};

}  // namespace

void LoadBinBytesAtPoint(TGridDataHost& Host, plat::TPoint Point, const QByteArray& Bytes) {
  TBinReader(Host, Bytes).Read(Point);
}

bool BinStreamReads(const QByteArray& Bytes, int& Cols, int& Rows) {
  // A grid as large as the format addresses takes every cell a stream can name.
  TDataGrid probe(MaxBinCount, MaxBinCount);
  try {
    TBinReader reader(probe, Bytes);
    reader.Read(plat::TPoint(0, 0));
    Cols = reader.Cols(), Rows = reader.Rows();
    return true;
  } catch (const plat::Exception&) {
    return false;
  }
}

void LoadAtPointFromBinStream(TGridDataHost& Host, plat::TPoint Point, plat::TStream& Stream) {
  const int64_t start = Stream.Position();
  const QByteArray bytes = Stream.ReadBytes(std::max<int64_t>(0, Stream.Size() - start));
  TBinReader reader(Host, bytes);
  reader.Read(Point);
  Stream.SetPosition(start + reader.Consumed());
}

void LoadFromBinStream(TGridDataHost& Host, plat::TStream& Stream) {
  LoadAtPointFromBinStream(Host, plat::TPoint(0, 0), Stream);
  Host.BinaryLoaded();
}

void LoadFromBinFile(TGridDataHost& Host, const QString& FileName) {
  LoadBinBytesAtPoint(Host, plat::TPoint(0, 0), ReadWholeFile(FileName));
  Host.BinaryLoaded();
}

}  // namespace grid
