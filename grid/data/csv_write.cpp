// Writing CSV (csv_format.h).

#include "grid/data/csv_format.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <vector>

#include "grid/data/data_files.h"
#include "grid/data/text_codec.h"
#include "grid/model/cellgrid.h"
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
  bool AppendPlain(const QString& S, QChar Sep, QChar Quote, QChar Lead) {
    if (!Lead.isNull()) FOut += Lead;
    if (!IsPlainField(S, Sep, Quote)) return false;
    FOut += S;
    return true;
  }
  void Reserve(qsizetype N) { FOut.reserve(N); }
  qsizetype Size() const { return FOut.size(); }
  QString FOut;
};

// The bytes of a UTF-8 CSV file, written directly into a buffer kept larger than its content: the common field,
// plain ASCII, costs one pass and no allocation.
class TUtf8Sink {
 public:
  explicit TUtf8Sink(QByteArray Start = {}) : FOut(std::move(Start)), FLen(FOut.size()) {}
  void Append(const QString& S) { AppendUtf8(QStringView(S)); }
  void Append(QChar C) {
    if (C.unicode() >= 0x80) return AppendUtf8(QStringView(&C, 1));
    *Room(1) = static_cast<char>(C.unicode());
    ++FLen;
  }
  // Sep, a leading separator when not 0, goes out whatever the field is.
  bool AppendPlain(const QString& S, QChar Sep, QChar Quote, QChar Lead) {
    if (!Lead.isNull()) Append(Lead);
    const qsizetype n = S.size();
    if (n == 0 || IsBlank(S.front(), Sep) || IsBlank(S.back(), Sep)) return false;
    if (FSep != Sep || FQuote != Quote) Mark(Sep, Quote);
    char* d = Room(n);
    const char16_t* c = reinterpret_cast<const char16_t*>(S.constData());
    for (qsizetype i = 0; i < n; ++i) {
      const char16_t u = c[i];
      if (u >= 0x80) {
        // Beyond ASCII: the rest is checked as a whole and converted by the codec.
        const QStringView rest = QStringView(S).sliced(i);
        for (QChar r : rest)
          if (r == Sep || r == Quote || r == u'\r' || r == u'\n') return false;
        FLen += i;
        AppendUtf8(rest);
        return true;
      }
      if (FSpecial[u]) return false;
      d[i] = static_cast<char>(u);
    }
    FLen += n;
    return true;
  }
  void Reserve(qsizetype N) {
    if (N > FOut.size()) FOut.resize(N);
  }
  qsizetype Size() const { return FLen; }
  QByteArray Take() {
    FOut.truncate(FLen);
    return std::move(FOut);
  }

 private:
  // Space for N more bytes at the end of the content (not yet counted in it).
  char* Room(qsizetype N) {
    if (FLen + N > FOut.size()) FOut.resize(std::max(FLen + N, FOut.size() * 2 + 64));
    return FOut.data() + FLen;
  }
  void AppendUtf8(QStringView S) {
    const QByteArray u = S.toUtf8();
    std::memcpy(Room(u.size()), u.constData(), static_cast<size_t>(u.size()));
    FLen += u.size();
  }

  // The ASCII characters that keep a field from going out plain.
  void Mark(QChar Sep, QChar Quote) {
    FSep = Sep, FQuote = Quote;
    std::fill(std::begin(FSpecial), std::end(FSpecial), false);
    for (QChar c : {Sep, Quote, QChar(u'\r'), QChar(u'\n')})
      if (c.unicode() < 0x80) FSpecial[c.unicode()] = true;
  }

  QByteArray FOut;
  qsizetype FLen;
  QChar FSep, FQuote;
  bool FSpecial[0x80] = {};
};

template <class TSink>
void WriteCSV(TGridDataHost& Host, TSink& Out) {
  const TGridDataOptions o = Host.DataOptions();
  const TSaveRange sr = SaveRangeOf(Host, o);
  const QChar sep = o.Delimiter.isNull() ? QChar(u',') : o.Delimiter;
  const int h = o.SaveHiddenCells ? Host.NumHiddenColumns() : 0;
  std::vector<int> real;
  for (int i = sr.StartCol; i <= sr.EndCol + h; ++i) real.push_back(o.SaveHiddenCells ? i : Host.DisplToRealCol(i));
  const TCellGrid& store = Host.CellStore();
  TProgress progress(Host);
  TExportRun run(Host, sr.StartRow);
  QString t;
  for (int r = sr.StartRow; r <= sr.EndRow; ++r) {
    run.NextRow(r);
    const qsizetype before = Out.Size();
    // Rows whose cells go out as stored are read from the store in place; the others cell by cell through
    // SaveCell, so its hooks see every cell they would.
    const bool stored = Host.SavesStoredTexts(r);
    for (size_t k = 0; k < real.size(); ++k) {
      const QString* text = &t;
      if (stored) text = &store.GridCellRef(real[k], r);
      else Host.SaveCell(real[k], r, t);
      const QChar lead = k > 0 ? sep : QChar();
      if (o.AlwaysQuotes) {
        if (!lead.isNull()) Out.Append(lead);
        Out.Append(Field(*text, sep, o));
      } else if (!Out.AppendPlain(*text, sep, o.Quote, lead)) {
        Out.Append(Field(*text, sep, o));
      }
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
  TUtf8Sink sink(Unicode ? QByteArray("\xEF\xBB\xBF") : QByteArray());
  WriteCSV(Host, sink);
  return sink.Take();
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
