// Writing CSV (csv_format.h).

#include "grid/data/csv_format.h"

#include <vector>

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

// Whether a text goes out as it is: no separator, quote or line break in it and no blank at either end.
bool IsPlainField(const QString& T, QChar Sep, QChar Quote) {
  if (T.isEmpty() || IsBlank(T.front(), Sep) || IsBlank(T.back(), Sep)) return false;
  for (QChar c : T)
    if (c == Sep || c == Quote || c == u'\r' || c == u'\n') return false;
  return true;
}

// A field that is not plain, as the writing rules of csv_format.h say.
QString Field(const QString& Text, QChar Sep, const TGridDataOptions& o) {
  QString T = Text;
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
  return T;
}

// The text of a CSV file built as a string.
class TTextSink {
 public:
  void Append(const QString& S) { FOut += S; }
  void Append(QChar C) { FOut += C; }
  // Appends a plain field; false (nothing appended) for one that is not.
  bool AppendPlain(const QString& S, QChar Sep, QChar Quote) {
    if (!IsPlainField(S, Sep, Quote)) return false;
    FOut += S;
    return true;
  }
  void Reserve(qsizetype N) { FOut.reserve(N); }
  qsizetype Size() const { return FOut.size(); }
  QString FOut;
};

// The bytes of a UTF-8 CSV file, written directly: the common field, plain ASCII, costs one pass.
class TUtf8Sink {
 public:
  void Append(const QString& S) { FOut += S.toUtf8(); }
  void Append(QChar C) { C.unicode() < 0x80 ? void(FOut += char(C.unicode())) : Append(QString(C)); }
  bool AppendPlain(const QString& S, QChar Sep, QChar Quote) {
    const qsizetype n = S.size(), old = FOut.size();
    if (n == 0 || IsBlank(S.front(), Sep) || IsBlank(S.back(), Sep)) return false;
    FOut.resize(old + n);
    char* d = FOut.data() + old;
    const QChar* c = S.constData();
    for (qsizetype i = 0; i < n; ++i) {
      const char16_t u = c[i].unicode();
      if (u == Sep || u == Quote || u == u'\r' || u == u'\n') {
        FOut.truncate(old);
        return false;
      }
      if (u >= 0x80) {
        FOut.truncate(old + i);
        FOut += QStringView(S).sliced(i).toUtf8();
        return true;
      }
      d[i] = static_cast<char>(u);
    }
    return true;
  }
  void Reserve(qsizetype N) { FOut.reserve(N); }
  qsizetype Size() const { return FOut.size(); }
  QByteArray FOut;
};

template <class TSink>
void WriteCSV(TGridDataHost& Host, TSink& Out) {
  const TGridDataOptions o = Host.DataOptions();
  const TSaveRange sr = SaveRangeOf(Host, o);
  const QChar sep = o.Delimiter.isNull() ? QChar(u',') : o.Delimiter;
  const int h = o.SaveHiddenCells ? Host.NumHiddenColumns() : 0;
  std::vector<int> real;
  for (int i = sr.StartCol; i <= sr.EndCol + h; ++i) real.push_back(o.SaveHiddenCells ? i : Host.DisplToRealCol(i));
  TProgress progress(Host);
  TExportRun run(Host, sr.StartRow);
  QString t;
  for (int r = sr.StartRow; r <= sr.EndRow; ++r) {
    run.NextRow(r);
    const qsizetype before = Out.Size();
    for (size_t k = 0; k < real.size(); ++k) {
      if (k > 0) Out.Append(sep);
      Host.SaveCell(real[k], r, t);
      if (o.AlwaysQuotes || !Out.AppendPlain(t, sep, o.Quote)) Out.Append(Field(t, sep, o));
    }
    Out.Append(QStringLiteral("\r\n"));
    // The first row tells how long the text will be: one allocation instead of a copy at every doubling.
    if (r == sr.StartRow) Out.Reserve(before + (Out.Size() - before) * (sr.EndRow - sr.StartRow + 1) * 9 / 8 + 16);
    progress.Report(r, Host.RowCount() - 1);
  }
  run.Finish();
}

QString CSVLines(TGridDataHost& Host) {
  TTextSink sink;
  WriteCSV(Host, sink);
  return std::move(sink.FOut);
}

TTextEncoding WriteEncoding(bool Unicode, bool Oem) {
  if (Unicode) return TTextEncoding::Utf8Bom;
  return Oem ? TTextEncoding::CodePage : TTextEncoding::Utf8;
}

}  // namespace

QString CSVText(TGridDataHost& Host) { return CSVLines(Host); }

QByteArray CSVBytes(TGridDataHost& Host, bool Unicode) {
  if (Host.DataOptions().OemConvert && !Unicode) return EncodeText(CSVLines(Host), TTextEncoding::CodePage, OemCodePage);
  TUtf8Sink sink;
  if (Unicode) sink.FOut = QByteArray("\xEF\xBB\xBF");
  WriteCSV(Host, sink);
  return std::move(sink.FOut);
}

void SaveToCSV(TGridDataHost& Host, const QString& FileName, bool Unicode) {
  WriteWholeFile(FileName, CSVBytes(Host, Unicode));
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
