#include "grid/data/bin_stream.h"

#include <QStringList>

#include <algorithm>
#include <functional>
#include <vector>

#include "grid/data/bin_records.h"
#include "grid/data/data_files.h"
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

QString JoinSizes(int From, int To, const std::function<int(int)>& Size) {
  QStringList parts;
  for (int i = From; i <= To; ++i) parts.append(QString::number(Size(i)));
  return parts.join(u',');
}

// ---- writing

class TBinWriter {
 public:
  TBinWriter(TGridDataHost& Host, QByteArray& Out) : FHost(Host), FStore(Host.CellStore()), FRec(Out) {}

  void Write(plat::TRect R) {
    const TGridDataOptions o = FHost.DataOptions();
    WriteGridRecord(R, o);
    TExportRun run(FHost, R.Top);
    TProgress progress(FHost);
    std::vector<int> real;
    for (int c = R.Left; c <= R.Right; ++c) real.push_back(FHost.DisplToRealCol(c));
    for (int r = R.Top; r <= R.Bottom; ++r) {
      run.NextRow(r);
      const qsizetype before = FRec.Size();
      for (int c = R.Left; c <= R.Right; ++c) WriteCell(c, real[static_cast<size_t>(c - R.Left)], r);
      // The first row tells how long the stream will be: one allocation instead of a copy at every doubling.
      if (r == R.Top) FRec.Reserve(before + (FRec.Size() - before) * (R.Bottom - R.Top + 1) * 9 / 8 + 64);
      progress.Report(r - R.Top, R.Bottom - R.Top);
    }
    run.Finish();
  }

 private:
  void WriteGridRecord(plat::TRect R, const TGridDataOptions& o) {
    const int rows = R.Bottom - R.Top + 1, cols = R.Right - R.Left + 1;
    const bool full = o.SaveFixedCells ? rows == FHost.RowCount() && cols == FHost.ColCount()
                                       : rows == FHost.RowCount() - FHost.FixedRows() &&
                                             cols == FHost.ColCount() - FHost.FixedCols();
    FRec.Begin(rPropIO);
    FRec.Int32(cols);
    FRec.Int32(rows);
    FRec.String(JoinSizes(R.Left, R.Right, [this](int c) { return FHost.ColWidth(c); }));
    FRec.String(JoinSizes(R.Top, R.Bottom, [this](int r) { return FHost.RowHeight(r); }));
    FRec.Bool(full);
    FRec.Int32(FHost.GridID());
  }

  void WriteCell(int c, int real, int r) {
    const TCellProperties* p = FStore.GetGridObject(real, r);
    FRec.CellRecord(static_cast<quint16>(c), static_cast<quint16>(r), FStore.GetCellEx(real, r), p != nullptr);
    if (p) WriteProperties(*p);
  }

  void WriteProperties(const TCellProperties& p) {
    const auto* g = dynamic_cast<const TCellGraphic*>(p.FGraphicObject);
    QByteArray payload;
    const bool graphic = g && Carried(*g, payload);
    FRec.Begin(rCellPropIO);
    for (int v : {int(p.Alignment), int(p.BorderColor), p.BorderWidth, int(p.BrushColor()), int(p.BrushColorTo()),
                  int(p.BrushStyle), int(p.FontColor), FontStyleBits(p)})
      FRec.Int32(v);
    FRec.String(p.FontName);
    FRec.Int32(p.FontSize);
    FRec.Bool(p.ReadOnly);
    FRec.Int32(p.Editor);
    FRec.Int32(p.VAlignment());
    FRec.Bool(p.WordWrap());
    FRec.Int32(p.NodeLevel);
    FRec.Int32(p.GradientDirection);
    FRec.Bool(p.IsBaseCell);
    FRec.Int32(p.CellSpanX);
    FRec.Int32(p.CellSpanY);
    FRec.Bool(graphic);
    if (graphic) WriteGraphic(*g, payload);
  }

  static int FontStyleBits(const TCellProperties& p) {
    int bits = 0;
    for (plat::TFontStyle s : {plat::fsBold, plat::fsItalic, plat::fsUnderline, plat::fsStrikeOut})
      if (p.FontStyle.Contains(s)) bits |= 1 << s;
    return bits;
  }

  // Whether the cell object goes into the stream: not an empty one, and one with content only when the grid
  // made that content (and, for pictures, when the host can give its bytes).
  bool Carried(const TCellGraphic& g, QByteArray& Payload) {
    if (g.CellType == ctEmpty) return false;
    const TRecordId payload = PayloadOf(g.CellType);
    if (payload == rPropIO) return true;
    if (!g.CellCreated || (!g.CellBitmap && !g.CellIcon)) return false;
    if (payload == rSLIO) return true;
    return FHost.SaveGraphicPayload(g, Payload);
  }

  void WriteGraphic(const TCellGraphic& g, const QByteArray& Payload) {
    FRec.Begin(rGraphicIO);
    for (int v : {int(g.CellType), int(g.CellVAlign), int(g.CellHAlign), g.CellIndex}) FRec.Int32(v);
    FRec.Bool(g.CellTransparent);
    FRec.Double(g.CellValue);
    FRec.Int32(g.CellAngle);
    FRec.Bool(g.CellBoolean);
    FRec.Int32(g.CellErrFrom);
    FRec.Int32(g.CellErrLen);
    FRec.String(g.CellText);
    FRec.Bool(g.CellCreated);
    FRec.Int32(g.CellCheckBoxState);
    const TRecordId payload = PayloadOf(g.CellType);
    if (payload == rPropIO) return;
    FRec.Begin(payload);
    if (payload != rSLIO) return FRec.Bytes(Payload);
    QStringList items;
    if (g.CellType == ctImages) {
      if (const auto* list = dynamic_cast<const TIntList*>(g.CellBitmap)) items.append(list->StrValue());
    } else if (const auto* sl = dynamic_cast<const plat::TStrings*>(g.CellBitmap)) {
      for (int i = 0; i < sl->Count(); ++i) items.append(sl->Strings(i));
    }
    FRec.Strings(items);
  }

  TGridDataHost& FHost;
  TCellGrid& FStore;
  TRecordWriter FRec;
};

}  // namespace

QByteArray BinStreamOfRect(TGridDataHost& Host, plat::TRect Rect) {
  if (Rect.Left < 0 || Rect.Top < 0 || Rect.Right >= MaxBinCount || Rect.Bottom >= MaxBinCount)
    throw EExtGridError(QStringLiteral("Cells beyond column or row 65535 cannot be written to a grid stream"));
  QByteArray out;
  TBinWriter(Host, out).Write(Rect);
  return out;
}

void SaveRectToBinStream(TGridDataHost& Host, plat::TRect Rect, plat::TStream& Stream) {
  Stream.WriteBytes(BinStreamOfRect(Host, Rect));
}

void SaveToBinStream(TGridDataHost& Host, plat::TStream& Stream) {
  const TSaveRange sr = SaveRangeOf(Host, Host.DataOptions());
  SaveRectToBinStream(Host, plat::TRect(sr.StartCol, sr.StartRow, sr.EndCol, sr.EndRow), Stream);
}

void SaveToBinFile(TGridDataHost& Host, const QString& FileName) {
  const TSaveRange sr = SaveRangeOf(Host, Host.DataOptions());
  WriteWholeFile(FileName, BinStreamOfRect(Host, plat::TRect(sr.StartCol, sr.StartRow, sr.EndCol, sr.EndRow)));
}

}  // namespace grid
