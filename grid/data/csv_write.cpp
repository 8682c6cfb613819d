// Writing CSV (csv_format.h).

#include "grid/data/csv_format.h"

#include "grid/data/data_files.h"
#include "grid/data/text_codec.h"
#include "platform/io/files.h"

namespace grid {

namespace {

bool IsBlank(QChar c, QChar Sep) { return (c == u' ' || c == u'\t') && c != Sep; }

bool HasLineBreak(const QString& S) { return S.contains(u'\r') || S.contains(u'\n'); }

// JavaCSV's line breaks: every CR becomes "~", every LF goes.
QString CRToTilde(const QString& S) {
  QString r;
  r.reserve(S.size());
  for (QChar c : S)
    if (c == u'\r') r += u'~';
    else if (c != u'\n') r += c;
  return r;
}

void QuoteText(QString& S, QChar Quote) {
  S.prepend(Quote);
  S.append(Quote);
}

// One field of a line, as the writing rules of csv_format.h say.
void AppendField(QString& Line, QString T, QChar Sep, const TGridDataOptions& o) {
  const QChar q = o.Quote;
  const bool hasQuote = T.contains(q);
  if (hasQuote) T.replace(q, QString(2, q));
  bool quoted = false;
  // A blank at either end is data: without quotes a reader drops it.
  const bool edgeBlank = !T.isEmpty() && (IsBlank(T.front(), Sep) || IsBlank(T.back(), Sep));
  if (o.AlwaysQuotes || (hasQuote && !T.contains(Sep)) || edgeBlank) {
    QuoteText(T, q);
    quoted = true;
  }
  if (T.isEmpty()) {
    if (o.JavaCSV) T = QStringLiteral("^");
    else if (o.QuoteEmptyCells) T = QString(2, q);
  }
  if (T.contains(Sep) || HasLineBreak(T)) {
    if (o.JavaCSV) {
      T = CRToTilde(T);
      // A separator left bare would split the field when it is read.
      if (!quoted && T.contains(Sep)) QuoteText(T, q);
    } else if (quoted) {
      T.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    } else {
      T.replace(QStringLiteral("\r\n"), QString(QChar(11)));
      QuoteText(T, q);
    }
  }
  Line += T;
}

QString CSVLines(TGridDataHost& Host) {
  const TGridDataOptions o = Host.DataOptions();
  const TSaveRange sr = SaveRangeOf(Host, o);
  const QChar sep = o.Delimiter.isNull() ? QChar(u',') : o.Delimiter;
  const int h = o.SaveHiddenCells ? Host.NumHiddenColumns() : 0;
  QString out;
  TProgress progress(Host);
  TExportRun run(Host, sr.StartRow);
  for (int r = sr.StartRow; r <= sr.EndRow; ++r) {
    run.NextRow(r);
    for (int i = sr.StartCol; i <= sr.EndCol + h; ++i) {
      if (i > sr.StartCol) out += sep;
      QString t;
      Host.SaveCell(o.SaveHiddenCells ? i : Host.DisplToRealCol(i), r, t);
      AppendField(out, std::move(t), sep, o);
    }
    out += u"\r\n";
    progress.Report(r, Host.RowCount() - 1);
  }
  run.Finish();
  return out;
}

TTextEncoding WriteEncoding(bool Unicode, bool Oem) {
  if (Unicode) return TTextEncoding::Utf8Bom;
  return Oem ? TTextEncoding::CodePage : TTextEncoding::Utf8;
}

}  // namespace

QString CSVText(TGridDataHost& Host) { return CSVLines(Host); }

void SaveToCSV(TGridDataHost& Host, const QString& FileName, bool Unicode) {
  const bool oem = Host.DataOptions().OemConvert;
  WriteWholeFile(FileName, EncodeText(CSVLines(Host), WriteEncoding(Unicode, oem), OemCodePage));
}

void AppendToCSV(TGridDataHost& Host, const QString& FileName, bool Unicode) {
  const bool oem = Host.DataOptions().OemConvert;
  QByteArray old;
  TTextEncoding found = WriteEncoding(Unicode, oem);
  QString text;
  if (!plat::FileAbsent(FileName)) {
    old = ReadWholeFile(FileName);
    text = DecodeText(old, oem ? OemCodePage : AnsiCodePage, &found);
    // The appended lines start on a line of their own.
    if (!text.isEmpty() && !text.endsWith(u'\n') && !text.endsWith(u'\r')) text += u"\r\n";
  }
  text += CSVLines(Host);
  const TTextEncoding e = Unicode ? TTextEncoding::Utf8Bom : found;
  WriteWholeFile(FileName, EncodeText(text, e, oem ? OemCodePage : AnsiCodePage));
}

}  // namespace grid
