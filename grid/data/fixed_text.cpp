#include "grid/data/fixed_text.h"

#include <QStringList>

#include <algorithm>
#include <vector>

#include "grid/data/data_files.h"
#include "grid/data/text_codec.h"
#include "grid/griderror.h"
#include "grid/model/intlist.h"
#include "platform/io/files.h"
#include "platform/rtl/exceptions.h"

namespace grid {

namespace {

// The exported columns of both layouts: from the first saved column to the last, hidden ones by their real
// index when they are saved too; Real maps an exported index to the store column.
struct TColumns {
  int First = 0, Last = -1;
  bool Hidden = false;
  int Real(const TGridDataHost& Host, int i) const { return Hidden ? i : Host.DisplToRealCol(i); }
  int Count() const { return Last - First + 1; }
};

int WidestLine(const QString& S) {
  int w = 0;
  for (const QString& line : SplitLines(S)) w = std::max(w, static_cast<int>(line.size()));
  return w;
}

QString OneLine(QString S) {
  S.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
  S.replace(u'\r', u' ');
  S.replace(u'\n', u' ');
  return S;
}

// The widest line of each exported column over Rows.
std::vector<int> ColumnWidths(TGridDataHost& Host, const TColumns& Cols, int FirstRow, int LastRow) {
  std::vector<int> widths(static_cast<size_t>(std::max(0, Cols.Count())), 0);
  for (int r = FirstRow; r <= LastRow; ++r)
    for (int i = Cols.First; i <= Cols.Last; ++i) {
      QString t;
      Host.SaveCell(Cols.Real(Host, i), r, t);
      int& w = widths[static_cast<size_t>(i - Cols.First)];
      w = std::max(w, WidestLine(t));
    }
  return widths;
}

// A piece of a cell placed in a column of width W as the cell is aligned.
QString Aligned(QString Piece, plat::TAlignment Alignment, int W) {
  if (Alignment == plat::taRightJustify && Piece.size() < W) {
    Piece.prepend(QString(W - Piece.size(), u' '));
  } else if (Alignment == plat::taCenter) {
    while (Piece.size() < W) Piece = u' ' + Piece + u' ';
  }
  return Piece;
}

}  // namespace

// ---- fixed width

QString FixedText(TGridDataHost& Host, TIntList& Positions) {
  const TGridDataOptions o = Host.DataOptions();
  const TSaveRange sr = SaveRangeOf(Host, o);
  TColumns cols{sr.StartCol, sr.EndCol + (o.SaveHiddenCells ? Host.NumHiddenColumns() : 0), o.SaveHiddenCells};
  if (Positions.Count() < cols.Count()) {
    const std::vector<int> widest = ColumnWidths(Host, cols, sr.StartRow, sr.EndRow);
    for (int k = Positions.Count(); k < cols.Count(); ++k) Positions.Add(widest[static_cast<size_t>(k)] + 1);
  }
  QString out;
  TExportRun run(Host, sr.StartRow);
  for (int r = sr.StartRow; r <= sr.EndRow; ++r) {
    run.NextRow(r);
    for (int i = cols.First; i <= cols.Last; ++i) {
      QString t;
      Host.SaveCell(cols.Real(Host, i), r, t);
      t = OneLine(t);
      const int w = std::max(0, Positions[i - cols.First]);
      if (t.size() > w) t.truncate(w);
      else t += QString(w - t.size(), u' ');
      out += t;
    }
    out += u"\r\n";
  }
  run.Finish();
  return out;
}

void SaveToFixed(TGridDataHost& Host, const QString& FileName, TIntList& Positions) {
  const QByteArray bytes = EncodeText(FixedText(Host, Positions), TTextEncoding::Utf8);
  QString error;
  if (!plat::WriteFileAtomic(FileName, bytes, &error))
    throw EExtGridError(QStringLiteral("Cannot Create file ") + FileName);
}

namespace {

// Sorts the caller's list in place (the caller sees the positions used) and refuses fewer than two, which
// split nothing and would ask for a negative column count.
std::vector<int> SortedPositions(TIntList& Positions) {
  std::vector<int> pos;
  for (int i = 0; i < Positions.Count(); ++i) pos.push_back(Positions[i]);
  std::sort(pos.begin(), pos.end());
  Positions.Clear();
  for (int p : pos) Positions.Insert(Positions.Count(), p);
  if (pos.size() < 2) throw EExtGridError(QStringLiteral("At least two positions are needed to split fixed-width text"));
  return pos;
}

void LoadFixedLines(TGridDataHost& Host, const QStringList& Lines, const std::vector<int>& Pos, bool DoTrim,
                    int MaxRows) {
  const TSaveRange sr = SaveRangeOf(Host, Host.DataOptions());
  THostUpdate update(Host);
  Host.SetColCount(Host.FixedCols() + static_cast<int>(Pos.size()) - 1);
  const int limit = MaxRows == -1 ? static_cast<int>(Lines.size()) : std::max(1, MaxRows);
  int row = sr.StartRow;
  for (qsizetype n = 0; n < Lines.size() && n < limit; ++n, ++row) {
    if (row >= Host.RowCount()) Host.SetRowCount(row + 1);
    const QString& line = Lines[n];
    for (size_t k = 1; k < Pos.size(); ++k) {
      const qsizetype from = std::max<qsizetype>(0, qsizetype{Pos[k - 1]} - 1);
      QString field = line.mid(from, std::max<qsizetype>(0, qsizetype{Pos[k]} - Pos[k - 1]));
      if (DoTrim) field = field.trimmed();
      const int col = sr.StartCol + static_cast<int>(k) - 1;
      if (col < Host.ColCount()) Host.LoadCell(col, row, field);
    }
  }
  NotifyCellsLoaded(Host);
}

}  // namespace

void LoadFromFixed(TGridDataHost& Host, const QString& FileName, TIntList& Positions, bool DoTrim, int MaxRows) {
  const std::vector<int> pos = SortedPositions(Positions);
  QByteArray bytes;
  if (!plat::ReadFileBytes(FileName, bytes)) throw EExtGridError(QStringLiteral("File ") + FileName + QStringLiteral(" not found"));
  LoadFixedLines(Host, SplitLines(DecodeText(bytes)), pos, DoTrim, MaxRows);
}

void LoadFixedBytes(TGridDataHost& Host, const QByteArray& Bytes, TIntList& Positions, bool DoTrim, int MaxRows) {
  const std::vector<int> pos = SortedPositions(Positions);
  LoadFixedLines(Host, SplitLines(DecodeText(Bytes)), pos, DoTrim, MaxRows);
}

// ---- aligned layout

QString ASCIIText(TGridDataHost& Host) {
  const TGridDataOptions o = Host.DataOptions();
  TColumns cols{o.SavesFixedCols() ? 0 : Host.FixedCols(), Host.ColCount() - 1, o.SaveHiddenCells};
  if (o.SaveHiddenCells) cols.Last += Host.NumHiddenColumns();
  const int firstRow = o.SavesFixedRows() ? 0 : Host.FixedRows(), lastRow = Host.RowCount() - 1;
  const std::vector<int> widths = ColumnWidths(Host, cols, firstRow, lastRow);
  QString out;
  TExportRun run(Host, firstRow);
  for (int r = firstRow; r <= lastRow; ++r) {
    run.NextRow(r);
    QString line;
    QStringList more;
    int offset = 0;
    for (int i = cols.First; i <= cols.Last; ++i) {
      const int real = cols.Real(Host, i), w = widths[static_cast<size_t>(i - cols.First)];
      QString t;
      Host.SaveCell(real, r, t);
      const plat::TAlignment a = Host.CellAlignment(real, r);
      const QStringList pieces = SplitLines(t);
      const QString first = Aligned(pieces.value(0), a, w);
      line += first;
      if (first.size() <= w) line += QString(w - first.size() + 1, u' ');
      for (qsizetype k = 1; o.Multilinecells && k < pieces.size(); ++k) {
        if (more.size() < k) more.append(QString());
        QString& cont = more[k - 1];
        if (cont.size() < offset) cont += QString(offset - cont.size(), u' ');
        cont += Aligned(pieces[k], a, w);
      }
      offset += w + 1;
    }
    out += line;
    out += u"\r\n";
    for (const QString& m : more) {
      out += m;
      out += u"\r\n";
    }
  }
  run.Finish();
  return out;
}

namespace {

void WriteASCII(TGridDataHost& Host, const QString& FileName, bool Unicode, bool Append) {
  TTextEncoding e = Unicode ? TTextEncoding::Utf16LE : TTextEncoding::Utf8;
  QString text;
  if (Append && !plat::FileAbsent(FileName)) {
    TTextEncoding found = e;
    text = DecodeText(ReadWholeFile(FileName), AnsiCodePage, &found);
    if (!Unicode) e = found;
    if (!text.isEmpty() && !text.endsWith(u'\n') && !text.endsWith(u'\r')) text += u"\r\n";
  }
  text += ASCIIText(Host);
  WriteWholeFile(FileName, EncodeText(text, e));
}

}  // namespace

void SaveToASCII(TGridDataHost& Host, const QString& FileName, bool Unicode) {
  WriteASCII(Host, FileName, Unicode, false);
}

void AppendToASCII(TGridDataHost& Host, const QString& FileName, bool Unicode) {
  WriteASCII(Host, FileName, Unicode, true);
}

}  // namespace grid
