// CSV: the writing rules per field, the reading rules per line, separator detection, and the file forms.

#include <gtest/gtest.h>

#include "grid/data/csv_format.h"
#include "grid/data/tests/data_test_util.h"
#include "platform/io/files.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/streams.h"

namespace grid {
namespace {

using testing::Fill;
using testing::ReadAll;
using testing::TScratch;
using testing::TTable;
using testing::WriteAll;

const QString VT(1, QChar(11));

enum TDialect { Plain, Java, Always, NoEmptyQuotes, Semicolon };

TGridDataOptions OptionsOf(TDialect d) {
  TGridDataOptions o;
  o.JavaCSV = d == Java;
  o.AlwaysQuotes = d == Always;
  o.QuoteEmptyCells = d != NoEmptyQuotes;
  if (d == Semicolon) o.Delimiter = u';';
  return o;
}

// One cell written as a line, and that line read back into one cell.
TEST(CsvFields, WriteEachFieldByTheRulesAndReadItBack) {
  const struct {
    TDialect dialect;
    QString cell, field;
  } cases[] = {
      {Plain, "plain", "plain"},
      {Plain, "", "\"\""},
      {NoEmptyQuotes, "", ""},
      {Plain, "say \"hi\"", "\"say \"\"hi\"\"\""},
      {Plain, "a,b", "\"a,b\""},
      {Plain, "a,\"b\"", "\"a,\"\"b\"\"\""},
      {Plain, "l1\r\nl2", "\"l1" + VT + "l2\""},
      {Plain, " 42", "\" 42\""},
      {Plain, "42 ", "\"42 \""},
      {Plain, "=1+1", "=1+1"},
      {Semicolon, "a,b", "a,b"},
      {Semicolon, "a;b", "\"a;b\""},
      {Java, "", "^"},
      {Java, "a,b", "\"a,b\""},
      {Always, "x", "\"x\""},
      {Always, "", "\"\""},
      // Beyond ASCII the rest of the field is still checked for what forces quotes.
      {Plain, "Z\u00e4hler", "Z\u00e4hler"},
      {Plain, "\u00e4,b", "\"\u00e4,b\""},
      {Plain, "\u00e4 \"x\"", "\"\u00e4 \"\"x\"\"\""},
      {Plain, "\u00e4\r\nx", QString("\"\u00e4") + VT + "x\""},
      {Semicolon, "\u20ac;1", "\"\u20ac;1\""},
  };
  for (const auto& c : cases) {
    TDataGrid g(1, 1);
    g.Options = OptionsOf(c.dialect);
    g.SetGridCell(0, 0, c.cell);
    EXPECT_EQ(CSVText(g), c.field + "\r\n") << c.cell.toStdString();
    EXPECT_EQ(CSVBytes(g, false), (c.field + "\r\n").toUtf8()) << c.cell.toStdString();
    TDataGrid back(1, 1);
    back.Options = OptionsOf(c.dialect);
    if (back.Options.Delimiter.isNull()) back.Options.Delimiter = u',';
    back.SetGridCell(0, 0, "stale");
    LoadCSVText(back, c.field + "\r\n", 0, false);
    EXPECT_EQ(back.GetGridCell(0, 0), c.cell) << c.field.toStdString();
  }
}

TEST(CsvFields, LineBreaksTravelAsTheDialectSays) {
  TDataGrid g(2, 1);
  g.Options.JavaCSV = true;
  Fill(g, {{"two\r\nlines", "x"}});
  EXPECT_EQ(CSVText(g), "two~lines,x\r\n");
  TDataGrid back(1, 1);
  back.Options.JavaCSV = true;
  LoadCSVText(back, u"two~lines,^\r\n", 0, false);
  EXPECT_EQ(testing::Cells(back), (TTable{{"two\r\nlines", ""}}));
  // A field quoted for its quote keeps its line break as LF, which the reader takes across the line end.
  TDataGrid q(1, 1);
  q.SetGridCell(0, 0, "q\"\r\nx");
  EXPECT_EQ(CSVText(q), "\"q\"\"\nx\"\r\n");
  TDataGrid qb(1, 1);
  LoadCSVText(qb, CSVText(q), 0, false);
  EXPECT_EQ(qb.GetGridCell(0, 0), "q\"\nx");
}

TEST(CsvRecords, ReadLinesIntoRows) {
  const struct {
    QString text;
    TTable cells;
  } cases[] = {
      {"a,b,c\r\n", {{"a", "b", "c"}}},
      {"a,b,\r\n", {{"a", "b"}}},  // a separator at the end makes no field
      {"  \"x y\" ,b\r\n", {{"x y", "b"}}},  // blanks in front of a quoted field go, as does text after it
      {" 42,x\n", {{" 42", "x"}}},  // blanks of an unquoted field are data
      {"\"a\"\"b\",c", {{"a\"b", "c"}}},
      {"\"multi\r\nline\",z\r\nnext,row\r\n", {{"multi\r\nline", "z"}, {"next", "row"}}},
      {"\"open,rest\r\nx,y\r\n", {{"open,rest", ""}, {"x", "y"}}},  // an unclosed quote takes its line
      {",,\r\n", {{"", ""}}},
      {"a,b\r\n\r\nc,d\r\n", {{"a", "b"}, {"", ""}, {"c", "d"}}},
  };
  for (const auto& c : cases) {
    TDataGrid g(1, 1);
    g.Options.Delimiter = u',';
    LoadCSVText(g, c.text, 0, false);
    EXPECT_EQ(testing::Cells(g), c.cells) << c.text.toStdString();
  }
}

TEST(CsvRecords, ALoadedRowKeepsNoneOfItsOldCells) {
  TDataGrid g;
  Fill(g, {{"o", "o", "o"}, {"o", "o", "o"}, {"o", "o", "o"}});
  LoadCSVText(g, u"a\r\nb,c\r\n", 0, false);
  EXPECT_EQ(testing::Cells(g), (TTable{{"a", "", ""}, {"b", "c", ""}}));
}

// Writing reads the store directly only where SaveCell would give the stored text: every hook still sees its
// cells, in the text and in the byte form.
TEST(CsvHooks, SaveAndLoadHooksSeeEveryCell) {
  enum THook { None, SaveHook, DisplayText, Merged, MergedStored };
  const struct {
    THook hook;
    QString line;
  } cases[] = {
      {None, "a,b\r\nc,d\r\n"},
      {SaveHook, "<a>,<b>\r\n<c>,<d>\r\n"},
      {DisplayText, "A,B\r\nc,d\r\n"},  // the display-text hook covers the normal rows only
      {Merged, "a,a\r\nc,d\r\n"},       // a merged cell shows its base cell's text
      {MergedStored, "a,b\r\nc,d\r\n"}, // unless the stored texts are saved
  };
  for (const auto& c : cases) {
    TDataGrid g(2, 2);
    g.Options.Delimiter = u',';
    testing::Fill(g, {{"a", "b"}, {"c", "d"}});
    if (c.hook == SaveHook) g.OnSaveCell = [](int, int, QString& v) { v = "<" + v + ">"; };
    if (c.hook == DisplayText) {
      g.SetNormalRowCount(1);
      g.OnGetDisplText = [](plat::TObject*, int, int, QString& v) { v = v.toUpper(); };
    }
    if (c.hook == Merged || c.hook == MergedStored) g.MergeCells(0, 0, 2, 1);
    if (c.hook == MergedStored) g.Options.SaveVirtCells = false;
    EXPECT_EQ(CSVText(g), c.line) << int(c.hook);
    EXPECT_EQ(CSVBytes(g, false), c.line.toUtf8()) << int(c.hook);
  }

  TDataGrid g(2, 1);
  g.Options.Delimiter = u',';
  g.OnLoadCell = [](int, int, QString& v) { v += "!"; };
  LoadCSVText(g, u"x,y\r\n", 0, false);
  EXPECT_EQ(testing::Cells(g), (TTable{{"x!", "y!"}}));
}

// Loaded texts are handed to the store without a copy; copies taken from it and later writes stay apart.
TEST(CsvHooks, LoadedTextsStayIndependentOfTheirCopies) {
  TDataGrid g(2, 1);
  g.Options.Delimiter = u',';
  LoadCSVText(g, u"one,\"t\"\"wo\"\r\n", 0, false);
  const QString a = g.Cells(0, 0), b = g.Cells(1, 0);
  g.SetGridCell(0, 0, QStringLiteral("changed"));
  QString c = g.Cells(1, 0);
  c += "+";
  EXPECT_EQ(a, "one");
  EXPECT_EQ(b, "t\"wo");
  EXPECT_EQ(testing::Cells(g), (TTable{{"changed", "t\"wo"}}));
}

TEST(CsvDetection, TakesTheCandidateTheFirstTwoLinesAgreeOn) {
  const struct {
    const char* l1;
    const char* l2;
    char16_t sep;
  } cases[] = {
      {"a;b;c;d,e,f", "1;2;3;4,5,6", u';'},
      {"a;b;c", "1;2;3", u';'},
      {"one cell", "another", 0},
      {"a,b", "", u','},
      {"a|b|c", "1|2", u'|'},  // the lines disagree: the larger count wins
      {"a\tb", "c\td", u'\t'},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DetectSeparator(QString::fromLatin1(c.l1), QString::fromLatin1(c.l2)), QChar(c.sep)) << c.l1;
  TDataGrid g(1, 1);
  LoadCSVText(g, u"no separator here\r\nnor here\r\n", 0, false);
  EXPECT_EQ(testing::Cells(g), (TTable{{"no separator here"}, {"nor here"}}));
  EXPECT_TRUE(g.Options.Delimiter.isNull());
}

TEST(CsvFiles, FirstRowMaxRowsInsertAndEmptyFiles) {
  TScratch dir;
  WriteAll(dir.Path("a.csv"), "h1,h2\r\n1,2\r\n3,4\r\n5,6\r\n");
  TDataGrid g(1, 1);
  g.Options.LoadFirstRow = false;
  LoadFromCSV(g, dir.Path("a.csv"), 3);
  EXPECT_EQ(testing::Cells(g), (TTable{{"1", "2"}, {"3", "4"}}));
  EXPECT_EQ(g.MaxRowCount(), 2);
  InsertFromCSV(g, dir.Path("a.csv"), 0);
  EXPECT_EQ(g.RowCount(), 5);
  EXPECT_EQ(g.GetGridCell(1, 4), "6");

  WriteAll(dir.Path("empty.csv"), "");
  LoadFromCSV(g, dir.Path("empty.csv"));
  EXPECT_EQ(g.RowCount(), 5);
  WriteAll(dir.Path("mark.csv"), "\xEF\xBB\xBF");
  EXPECT_THROW(LoadFromCSV(g, dir.Path("mark.csv")), plat::Exception);
  EXPECT_THROW(LoadFromCSV(g, dir.Path("none.csv")), plat::EFOpenError);
}

TEST(CsvFiles, InsertKeepsAShownFloatingFooterLast) {
  TDataGrid g;
  Fill(g, {{"a"}, {"sum"}});
  g.FixedFooterCount = 1;
  g.FloatingFooter = true;
  LoadCSVText(g, u"b\r\nc\r\n", 0, true);
  EXPECT_EQ(testing::Cells(g), (TTable{{"a"}, {"b"}, {"c"}, {"sum"}}));
}

TEST(CsvFiles, ProgressSizesTheGridOnceAndRisesToAHundred) {
  TDataGrid g(1, 1);
  std::vector<int> seen, rows;
  g.OnFileProgress = [&](int p) { seen.push_back(p), rows.push_back(g.RowCount()); };
  LoadCSVText(g, u"1\r\n2\r\n3\r\n4\r\n", 0, false);
  EXPECT_EQ(seen, (std::vector<int>{25, 50, 75, 100}));
  EXPECT_EQ(rows.front(), 4);
  EXPECT_EQ(g.RowCount(), 4);
}

TEST(CsvFiles, EncodingsOnWriteAndRead) {
  TScratch dir;
  TDataGrid g(1, 1);
  g.SetGridCell(0, 0, QString::fromUtf8("Z\u00e4hler"));
  SaveToCSV(g, dir.Path("u.csv"), true);
  EXPECT_EQ(ReadAll(dir.Path("u.csv")), "\xEF\xBB\xBFZ\xC3\xA4hler\r\n");
  SaveToCSV(g, dir.Path("a.csv"), false);
  EXPECT_EQ(ReadAll(dir.Path("a.csv")), "Z\xC3\xA4hler\r\n");
  g.Options.OemConvert = true;
  SaveToCSV(g, dir.Path("o.csv"), false);
  EXPECT_EQ(ReadAll(dir.Path("o.csv")), "Z\x84hler\r\n");  // CP850
  TDataGrid back(1, 1);
  back.Options.OemConvert = true;
  LoadFromCSV(back, dir.Path("o.csv"));
  EXPECT_EQ(back.GetGridCell(0, 0), QString::fromUtf8("Z\u00e4hler"));
  // Windows-1252 text without a mark is not UTF-8, and reads as what it is.
  WriteAll(dir.Path("w.csv"), "Z\xE4hler,\x80\r\n");
  TDataGrid w(1, 1);
  LoadFromCSV(w, dir.Path("w.csv"));
  EXPECT_EQ(testing::Cells(w), (TTable{{QString::fromUtf8("Z\u00e4hler"), QString::fromUtf8("\u20ac")}}));
}

TEST(CsvFiles, AppendAddsLinesInTheFilesEncodingAndFailsWithoutHarm) {
  TScratch dir;
  const QString path = dir.Path("log.csv");
  WriteAll(path, "\xEF\xBB\xBFold,line");
  TDataGrid g(2, 1);
  Fill(g, {{"new", "row"}});
  AppendToCSV(g, path, false);
  EXPECT_EQ(ReadAll(path), "\xEF\xBB\xBFold,line\r\nnew,row\r\n");
  const QByteArray before = ReadAll(path);
  plat::SetFileWriteFaultHook([](plat::FileWriteStep s, const QString&) { return s == plat::FileWriteStep::Rename; });
  EXPECT_THROW(AppendToCSV(g, path, false), plat::EFCreateError);
  plat::SetFileWriteFaultHook({});
  EXPECT_EQ(ReadAll(path), before);
  AppendToCSV(g, dir.Path("new.csv"), false);
  EXPECT_EQ(ReadAll(dir.Path("new.csv")), "new,row\r\n");
}

TEST(CsvFiles, StreamReadsFromItsPosition) {
  plat::TMemoryStream ms(QByteArray("skip me|a;b\r\n"));
  ms.SetPosition(8);
  TDataGrid g(1, 1);
  LoadFromCSVStream(g, ms);
  EXPECT_EQ(testing::Cells(g), (TTable{{"a", "b"}}));
}

TEST(CsvFiles, HiddenColumnsAreWrittenByRealIndex) {
  TDataGrid g(2, 1);
  g.HiddenColumns = 1;
  Fill(g, {{"a", "b"}});
  g.HiddenColumns = 1;
  g.SetGridCell(2, 0, "h");
  EXPECT_EQ(CSVText(g), "a,b\r\n");
  g.Options.SaveHiddenCells = true;
  EXPECT_EQ(CSVText(g), "a,b,h\r\n");
}

}  // namespace
}  // namespace grid
