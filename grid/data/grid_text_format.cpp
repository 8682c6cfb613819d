#include "grid/data/grid_text_format.h"

#include <algorithm>
#include <limits>

#include "grid/data/data_files.h"
#include "grid/data/text_codec.h"
#include "grid/griderror.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/strutils.h"

namespace grid {

namespace {

constexpr char16_t CR = u'\r', LF = u'\n';

// The column a save addresses: the real index itself with hidden cells, else the shown column's real index.
int RealColumn(const TGridDataHost& Host, const TGridDataOptions& o, int ACol) {
  return o.SaveHiddenCells ? ACol : Host.DisplToRealCol(ACol);
}

int HiddenToSave(const TGridDataHost& Host, const TGridDataOptions& o) {
  return o.SaveHiddenCells ? Host.NumHiddenColumns() : 0;
}

// Splits off the text before the first comma; false (S unchanged) when there is no comma.
bool TakeToken(QStringView& S, QStringView& Token) {
  const qsizetype p = S.indexOf(u',');
  if (p < 0) return false;
  Token = S.first(p);
  S = S.sliced(p + 1);
  return true;
}

int DigitValue(char16_t c, int Base) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (Base == 16 && c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (Base == 16 && c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

bool ValidCounts(int Cols, int Rows) {
  return Cols > 0 && Rows > 0 && Cols <= MaxLoadColCount && Rows <= MaxLoadRowCount;
}

}  // namespace

QString EncodeLineBreaks(const QString& S) {
  if (!S.contains(CR) && !S.contains(LF)) return S;
  QString r = S;
  for (QChar& c : r) {
    if (c == CR) c = QChar(9);
    else if (c == LF) c = QChar(8);
    else if (c.unicode() == 0) c = QChar(1);
  }
  return r;
}

QString DecodeLineBreaks(const QString& S, bool AllLines) {
  QString r = S;
  if (r.contains(QChar(8))) {
    for (QChar& c : r) {
      if (c.unicode() == 9) c = CR;
      else if (c.unicode() == 8) c = LF;
      else if (c.unicode() == 1) c = QChar(0);
    }
  }
  if (!AllLines) {
    const qsizetype p = r.indexOf(QChar(CR));
    const qsizetype q = r.indexOf(QChar(LF));
    const qsizetype end = p < 0 ? q : (q < 0 ? p : std::min(p, q));
    if (end >= 0) r.truncate(end);
  }
  return r;
}

int LeadingNumber(QStringView S) {
  qsizetype i = 0;
  const qsizetype n = S.size();
  while (i < n && S[i].unicode() <= 32) ++i;
  bool negative = false;
  if (i < n && (S[i] == u'+' || S[i] == u'-')) negative = S[i++] == u'-';
  int base = 10;
  if (i < n && S[i] == u'$') base = 16, ++i;
  else if (i < n && (S[i] == u'x' || S[i] == u'X')) base = 16, ++i;
  else if (i + 1 < n && S[i] == u'0' && (S[i + 1] == u'x' || S[i + 1] == u'X')) base = 16, i += 2;
  long long v = 0;
  for (; i < n; ++i) {
    const int d = DigitValue(S[i].unicode(), base);
    if (d < 0) break;
    v = std::min<long long>(v * base + d, std::numeric_limits<int>::max());
  }
  // The conversion the format was made with drops the sign of a number followed by anything else.
  if (negative && i == n) v = -v;
  return static_cast<int>(v);
}

// ---- file form

void SaveGridTextFile(TGridDataHost& Host, const QString& FileName, bool Unicode) {
  const TGridDataOptions o = Host.DataOptions();
  const TSaveRange sr = SaveRangeOf(Host, o);
  const int h = HiddenToSave(Host, o);
  QString text;
  text += QString::number(sr.ColCount() + h) + u',' + QString::number(sr.RowCount()) + QStringLiteral("\r\n");
  for (int c = sr.StartCol; c <= sr.EndCol + h; ++c)
    text += QStringLiteral("cw ") + QString::number(c) + u',' + QString::number(Host.ColWidth(c)) + QStringLiteral("\r\n");
  TProgress progress(Host);
  TExportRun run(Host, sr.StartRow);
  for (int r = sr.StartRow; r <= sr.EndRow; ++r) {
    run.NextRow(r);
    for (int c = sr.StartCol; c <= sr.EndCol + h; ++c) {
      QString s;
      Host.SaveCell(RealColumn(Host, o, c), r, s);
      if (s.isEmpty()) continue;
      text += QString::number(c) + u',' + QString::number(r) + u',' + EncodeLineBreaks(s) + QStringLiteral("\r\n");
    }
    progress.Report(r - sr.StartRow, sr.RowCount() - 1);
  }
  run.Finish();
  WriteWholeFile(FileName, EncodeText(text, Unicode ? TTextEncoding::Utf16LE : TTextEncoding::Utf8));
}

void LoadGridTextFile(TGridDataHost& Host, const QString& FileName) {
  LoadGridTextBytes(Host, ReadWholeFile(FileName), FileName);
}

void LoadGridTextBytes(TGridDataHost& Host, const QByteArray& Bytes, const QString& FileName) {
  const QStringList lines = SplitLines(DecodeText(Bytes));
  const TGridDataOptions o = Host.DataOptions();
  const int a = o.SavesFixedCols() ? 0 : Host.FixedCols();
  const int b = o.SavesFixedRows() ? 0 : Host.FixedRows();
  int cols = 0, rows = 0;
  if (!lines.isEmpty()) {
    QStringView first = lines.front(), token;
    if (TakeToken(first, token)) cols = LeadingNumber(token), rows = LeadingNumber(first);
  }
  if (!ValidCounts(cols, rows))
    throw EExtGridError(QStringLiteral("File contains no data or corrupt file ") + FileName);
  THostUpdate update(Host);
  Host.SetColCount(a + cols);
  Host.SetRowCount(b + rows);
  const int colCount = Host.ColCount(), rowCount = Host.RowCount();
  TProgress progress(Host);
  for (qsizetype i = 1; i < lines.size(); ++i) {
    QStringView line = lines[i], colText, rowText;
    if (line.startsWith(u"cw")) {
      QStringView rest = line.sliced(std::min<qsizetype>(3, line.size()));
      if (!TakeToken(rest, colText)) continue;
      const int c = LeadingNumber(colText);
      if (c >= 0 && c < colCount) Host.SetColWidth(c, std::max(0, LeadingNumber(rest.first(std::min<qsizetype>(255, rest.size())))));
      continue;
    }
    // A line without its two indexes is no cell line of this format.
    if (!TakeToken(line, colText) || !TakeToken(line, rowText)) continue;
    const int c = LeadingNumber(colText), r = LeadingNumber(rowText);
    if (c >= 0 && c < colCount && r >= 0 && r < rowCount)
      Host.LoadCell(c, r, DecodeLineBreaks(line.toString(), o.Multilinecells));
    progress.Report(r, rowCount - 1);
  }
  NotifyCellsLoaded(Host);
}

// ---- stream form

namespace {

void AppendLine(QString& Out, const QString& Line) {
  Out += Line;
  Out += u"\r\n";
}

// The rest of a stream as UTF-16 code units, and the way back to a place in it.
class TUnitReader {
 public:
  explicit TUnitReader(plat::TStream& Stream) : FStream(Stream), FStart(Stream.Position()) {
    const int64_t left = std::max<int64_t>(0, Stream.Size() - FStart);
    FBytes = Stream.ReadBytes(left);
    FUnits = QStringView(reinterpret_cast<const char16_t*>(FBytes.constData()), FBytes.size() / 2);
  }
  // The stream is at its end once fewer than two bytes are left.
  bool AtEnd() const { return FPos >= FUnits.size(); }
  qsizetype Pos() const { return FPos; }
  // Leaves the stream at a unit position.
  void Settle(qsizetype Pos) { FStream.SetPosition(FStart + static_cast<int64_t>(Pos) * 2 + Tail(Pos)); }
  QStringView ReadLine() {
    const qsizetype cr = FUnits.indexOf(u'\r', FPos);
    const qsizetype end = cr < 0 ? FUnits.size() : cr;
    QStringView line = FUnits.sliced(FPos, end - FPos);
    FPos = cr < 0 ? end : std::min(FUnits.size(), cr + 2);  // the unit after the CR (the LF) is skipped
    return line;
  }

 private:
  // An odd byte after the last whole unit is consumed with the end.
  int64_t Tail(qsizetype Pos) const { return Pos >= FUnits.size() ? FBytes.size() % 2 : 0; }

  plat::TStream& FStream;
  int64_t FStart;
  QByteArray FBytes;
  QStringView FUnits;
  qsizetype FPos = 0;
};

}  // namespace

void SaveGridTextStream(TGridDataHost& Host, plat::TStream& Stream) {
  const TGridDataOptions o = Host.DataOptions();
  const TSaveRange sr = SaveRangeOf(Host, o);
  QString text;
  AppendLine(text, QString::number(sr.ColCount()) + u',' + QString::number(sr.RowCount()));
  for (int c = 0; c < Host.ColCount(); ++c)
    AppendLine(text, QStringLiteral("cw ") + QString::number(c) + u',' + QString::number(Host.ColWidth(c)));
  TExportRun run(Host, sr.StartRow);
  for (int r = sr.StartRow; r <= sr.EndRow; ++r) {
    run.NextRow(r);
    for (int c = sr.StartCol; c <= sr.EndCol; ++c) {
      QString s;
      Host.SaveCell(Host.DisplToRealCol(c), r, s);
      if (s.isEmpty()) continue;
      AppendLine(text, QString::number(c - sr.StartCol) + u',' + QString::number(r - sr.StartRow) + u',' +
                           EncodeLineBreaks(s));
    }
  }
  run.Finish();
  Stream.WriteBuffer(text.constData(), text.size() * 2);
}

void LoadGridTextStream(TGridDataHost& Host, plat::TStream& Stream) {
  const TGridDataOptions o = Host.DataOptions();
  const TSaveRange sr = SaveRangeOf(Host, o);
  TUnitReader in(Stream);
  THostUpdate update(Host);
  if (!in.AtEnd()) {
    QStringView first = in.ReadLine(), token;
    if (!first.isEmpty()) {
      if (!TakeToken(first, token)) token = first, first = {};
      const int cols = plat::StrToInt(token.toString()), rows = plat::StrToInt(first.toString());
      if (!ValidCounts(cols, rows)) throw EExtGridError(QStringLiteral("Corrupt grid stream"));
      Host.SetColCount(cols + sr.StartCol);
      Host.SetRowCount(rows + sr.StartRow);
    }
  }
  const int colCount = Host.ColCount(), rowCount = Host.RowCount();
  while (!in.AtEnd()) {
    const qsizetype at = in.Pos();
    QStringView line = in.ReadLine(), colText, rowText;
    if (line.startsWith(u"cw")) {
      QStringView rest = line.sliced(std::min<qsizetype>(3, line.size()));
      if (!TakeToken(rest, colText)) colText = rest, rest = {};
      const int c = plat::StrToInt(colText.toString()), w = plat::StrToInt(rest.toString());
      if (c >= 0 && c < colCount && w >= 0) Host.SetColWidth(c, w);
      continue;
    }
    if (!TakeToken(line, colText) || !TakeToken(line, rowText) || colText.isEmpty() || rowText.isEmpty()) {
      in.Settle(at);
      NotifyCellsLoaded(Host);
      return;
    }
    const int c = plat::StrToInt(colText.toString()) + sr.StartCol;
    const int r = plat::StrToInt(rowText.toString()) + sr.StartRow;
    if (c >= 0 && c < colCount && r >= 0 && r < rowCount)
      Host.LoadCell(c, r, DecodeLineBreaks(line.toString(), o.Multilinecells));
  }
  in.Settle(in.Pos());
  NotifyCellsLoaded(Host);
}

}  // namespace grid
