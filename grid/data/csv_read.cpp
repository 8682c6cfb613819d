// Reading CSV (csv_format.h).

#include "grid/data/csv_format.h"

#include <algorithm>
#include <vector>

#include "grid/data/data_files.h"
#include "grid/data/text_codec.h"
#include "grid/model/cellgrid.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/streams.h"

namespace grid {

namespace {

bool IsLineEnd(char16_t c) { return c == u'\r' || c == u'\n'; }

// Occurrences of C that end a run of odd length, and one at the very end whatever its run.
int CountClosingQuotes(QChar C, QStringView S) {
  int count = 0, run = 0;
  for (qsizetype i = 0; i < S.size(); ++i) {
    if (S[i] == C) {
      if (i == S.size() - 1) return count + 1;
      ++run;
    } else {
      if (run % 2 == 1) ++count;
      run = 0;
    }
  }
  return count;
}

// The records of a CSV text, field by field. A record is a line, except that a quoted field may hold line
// breaks.
class TCsvScanner {
 public:
  TCsvScanner(QStringView Text, QChar Sep, QChar Quote)
      : FText(Text), FSep(Sep.unicode()), FQuote(Quote.unicode()), FHasSep(!Sep.isNull()) {}
  bool AtEnd() const { return FPos >= FText.size(); }

  // The fields of the next record.
  void ReadRecord(std::vector<QString>& Fields) {
    Fields.clear();
    for (;;) {
      const qsizetype start = FPos;
      QString field;
      const bool quoted = ReadField(field);
      if (AtSeparator()) {
        Fields.push_back(std::move(field));
        ++FPos;
        continue;
      }
      // The last field of the record: only when the line held something after the last separator.
      if (quoted || FPos > start) Fields.push_back(std::move(field));
      EndLine();
      return;
    }
  }

 private:
  bool AtSeparator() const { return FHasSep && FPos < FText.size() && FText[FPos].unicode() == FSep; }
  bool AtLineEnd() const { return FPos >= FText.size() || IsLineEnd(FText[FPos].unicode()); }
  void EndLine() {
    if (FPos < FText.size() && FText[FPos] == u'\r') ++FPos;
    if (FPos < FText.size() && FText[FPos] == u'\n') ++FPos;
  }

  // Reads one field up to (not over) the separator or the line end; true for a quoted field.
  bool ReadField(QString& Field) {
    qsizetype q = FPos;
    while (q < FText.size() && FText[q] == u' ' && FSep != u' ') ++q;
    if (q < FText.size() && FText[q] == FQuote) {
      FPos = q + 1;
      ReadQuoted(Field);
      // Anything between the closing quote and the separator is not part of the field.
      while (!AtLineEnd() && !AtSeparator()) ++FPos;
      return true;
    }
    const qsizetype start = FPos;
    while (!AtLineEnd() && !AtSeparator()) ++FPos;
    Field = FText.sliced(start, FPos - start).toString();
    return false;
  }

  // After the opening quote: to the closing quote, doubled quotes read as one. Without a closing quote anywhere
  // after it, the field is the rest of the line.
  void ReadQuoted(QString& Field) {
    const qsizetype start = FPos;
    for (;;) {
      const qsizetype q = FText.indexOf(QChar(FQuote), FPos);
      if (q < 0) {
        FPos = start;
        while (!AtLineEnd()) ++FPos;
        Field = FText.sliced(start, FPos - start).toString();
        return;
      }
      Field += FText.sliced(FPos, q - FPos);
      if (q + 1 < FText.size() && FText[q + 1] == FQuote) {
        Field += QChar(FQuote);
        FPos = q + 2;
        continue;
      }
      FPos = q + 1;
      return;
    }
  }

  QStringView FText;
  char16_t FSep, FQuote;
  bool FHasSep;
  qsizetype FPos = 0;
};

// The cell text of a field: line breaks back from their stand-ins.
void RestoreLineBreaks(QString& S, bool JavaCSV) {
  if (JavaCSV) {
    if (S == u"^") S.clear();
    else if (S.contains(u'~')) S.replace(u'~', QStringLiteral("\r\n"));
  } else if (S.contains(QChar(11))) {
    S.replace(QChar(11), QStringLiteral("\r\n"));
  }
}

QStringView FirstLine(QStringView Text, qsizetype& Next) {
  qsizetype i = 0;
  while (i < Text.size() && !IsLineEnd(Text[i].unicode())) ++i;
  Next = i;
  if (Next < Text.size() && Text[Next] == u'\r') ++Next;
  if (Next < Text.size() && Text[Next] == u'\n') ++Next;
  return Text.first(i);
}

int CountRecords(QStringView Text, QChar Sep, QChar Quote, int MaxRecords) {
  TCsvScanner scan(Text, Sep, Quote);
  std::vector<QString> fields;
  int n = 0;
  while (!scan.AtEnd() && (MaxRecords <= 0 || n < MaxRecords)) scan.ReadRecord(fields), ++n;
  return n;
}

// Empties the cells of a loaded row behind its last field up to LastCol, so none of the old content survives
// in it.
void EmptyRest(TCellGrid& Store, int FromCol, int LastCol, int ARow) {
  for (int c = FromCol; c <= LastCol; ++c)
    if (!Store.GridCellRef(c, ARow).isEmpty()) Store.SetGridCell(c, ARow, QString());
}

// The cells of the floating footer row, kept aside while rows are inserted above it.
std::vector<QString> TakeFooterRow(TGridDataHost& Host, int ARow) {
  TCellGrid& store = Host.CellStore();
  std::vector<QString> texts;
  for (int c = 0; c < store.TotalColCount(); ++c) {
    texts.push_back(store.GetGridCell(c, ARow));
    store.SetGridObject(c, ARow, nullptr);
    store.SetGridCell(c, ARow, QString());
  }
  return texts;
}

}  // namespace

QChar DetectSeparator(QStringView Line1, QStringView Line2) {
  static constexpr char16_t candidates[] = {u',', u';', u'#', u'\t', u'|', u'@', u'*', u'-', u'+', u'&'};
  QChar found;
  int best = 0;
  for (char16_t c : candidates) {
    const int n1 = CountClosingQuotes(c, Line1), n2 = CountClosingQuotes(c, Line2);
    if (n1 == n2 && n1 > best) found = c, best = n1;
  }
  if (!found.isNull()) return found;
  for (char16_t c : candidates) {
    const int n1 = static_cast<int>(Line1.count(c)), n2 = static_cast<int>(Line2.count(c));
    if (n1 == n2 && n1 > best) found = c, best = n1;
  }
  if (!found.isNull()) return found;
  for (char16_t c : candidates) {
    const int n = static_cast<int>(std::max(Line1.count(c), Line2.count(c)));
    if (n > best) found = c, best = n;
  }
  return found;
}

void LoadCSVText(TGridDataHost& Host, QStringView Text, int MaxRows, bool Insert) {
  if (Text.isEmpty()) throw plat::Exception(QStringLiteral("File is empty"));
  const TGridDataOptions o = Host.DataOptions();
  TCellGrid& store = Host.CellStore();
  THostUpdate update(Host);
  int row = Insert ? Host.RowCount() : SaveRangeOf(Host, o).StartRow;
  std::vector<QString> footer;
  const bool keepFooter = Insert && Host.FloatingFooterVisible() && Host.RowCount() > 0;
  if (keepFooter) footer = TakeFooterRow(Host, --row);
  QChar sep = o.Delimiter;
  if (sep.isNull()) {
    qsizetype next = 0;
    const QStringView l1 = FirstLine(Text, next);
    qsizetype unused = 0;
    sep = DetectSeparator(l1, FirstLine(Text.sliced(next), unused));
  }
  const int h = o.SaveHiddenCells ? Host.NumHiddenColumns() : 0;
  const int startCol = SaveRangeOf(Host, o).StartCol;
  // The columns that held cells before the load; columns added by it hold only what it wrote.
  const int storedCols = store.StoredColCount();
  TProgress progress(Host);
  int toRead = 0;
  if (progress.Enabled()) {
    const int all = CountRecords(Text, sep, o.Quote, MaxRows);
    toRead = o.LoadFirstRow ? all : all - 1;
    Host.SetRowCount(Insert ? Host.RowCount() + all : row + all + Host.FixedFooters());
  }
  TCsvScanner scan(Text, sep, o.Quote);
  std::vector<QString> fields;
  int read = 0;
  if (!o.LoadFirstRow && !scan.AtEnd()) scan.ReadRecord(fields), ++read;
  const bool raw = Host.LoadsRawTexts();
  int cols = Host.ColCount();
  int loaded = 0;
  while (!scan.AtEnd() && (MaxRows <= 0 || read < MaxRows)) {
    scan.ReadRecord(fields);
    ++read;
    if (row >= Host.RowCount() - Host.FixedFooters()) Host.SetRowCount(row + 1000);
    int col = startCol;
    for (QString& f : fields) {
      RestoreLineBreaks(f, o.JavaCSV);
      if (col >= cols + h) {
        Host.SetColCount(col + 1 - h);
        cols = Host.ColCount();
      }
      if (raw) store.SetGridCell(col, row, std::move(f));
      else Host.LoadCell(col, row, f);
      ++col;
    }
    EmptyRest(store, col, std::max(storedCols, store.TotalColCount()) - 1, row);
    ++row;
    ++loaded;
    if (toRead > 0) progress.Report(loaded, toRead);
  }
  Host.SetRowCount(row + Host.FixedFooters());
  Host.SetMaxRowCount(Host.RowCount());
  if (keepFooter)
    for (size_t c = 0; c < footer.size(); ++c) store.SetGridCell(static_cast<int>(c), Host.RowCount() - 1, footer[c]);
  NotifyCellsLoaded(Host);
}

namespace {

void LoadCSVFile(TGridDataHost& Host, const QString& FileName, int MaxRows, bool Insert) {
  const QByteArray bytes = ReadWholeFile(FileName);
  if (bytes.isEmpty()) return;
  const bool oem = Host.DataOptions().OemConvert;
  LoadCSVText(Host, DecodeText(bytes, oem ? OemCodePage : AnsiCodePage), MaxRows, Insert);
}

}  // namespace

void LoadFromCSV(TGridDataHost& Host, const QString& FileName, int MaxRows) {
  LoadCSVFile(Host, FileName, MaxRows, false);
}

void InsertFromCSV(TGridDataHost& Host, const QString& FileName, int MaxRows) {
  LoadCSVFile(Host, FileName, MaxRows, true);
}

void LoadFromCSVStream(TGridDataHost& Host, plat::TStream& Stream, int MaxRows) {
  const int64_t left = std::max<int64_t>(0, Stream.Size() - Stream.Position());
  const bool oem = Host.DataOptions().OemConvert;
  LoadCSVText(Host, DecodeText(Stream.ReadBytes(left), oem ? OemCodePage : AnsiCodePage), MaxRows, false);
}

}  // namespace grid
