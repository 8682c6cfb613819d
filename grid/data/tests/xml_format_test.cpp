// Flat XML export and import: the exact lines, round trips of awkward texts in the declared encodings, files of
// older writers, attributes and levels, and the errors.

#include <gtest/gtest.h>

#include "grid/data/grid_text_format.h"
#include "grid/data/tests/data_test_util.h"
#include "grid/data/xml_format.h"
#include "grid/griderror.h"

namespace grid {
namespace {

using testing::Cells;
using testing::Fill;
using testing::ReadAll;
using testing::TScratch;
using testing::TTable;
using testing::WriteAll;

TEST(XMLExport, WritesTheFlatLayoutLineByLine) {
  TDataGrid g;
  Fill(g, {{"a", ""}, {"", "b&c"}});
  TXMLExportOptions o;
  o.ListDescr = QStringLiteral("METERS");
  o.RecordDescr = QStringLiteral("METER");
  o.FieldDescr = {QStringLiteral("ID")};
  o.Encoding = QStringLiteral("UTF-8");
  EXPECT_EQ(XMLBytes(g, o),
            "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<METERS>\r\n"
            "<METER>\r\n<ID>a</ID>\r\n</METER>\r\n"
            "<METER>\r\n<FIELD1>b&amp;c</FIELD1>\r\n</METER>\r\n</METERS>\r\n");
  o.ExportEmptyCells = true;
  EXPECT_TRUE(XMLBytes(g, o).contains("<FIELD1>&quot;&quot;</FIELD1>"));
  g.Options.QuoteEmptyCells = false;
  EXPECT_TRUE(XMLBytes(g, o).contains("<FIELD1></FIELD1>"));
}

// Every awkward text comes back as it went, in each encoding the declaration can name.
TEST(XMLExport, RoundTripsAwkwardTextsInTheDeclaredEncoding) {
  const TTable cells = {
      {"&", "<tag>", "&gt;", "\"quoted\"", "it's"},
      {"$amp;", "Zähler", "€ 5", "Ω≈", "a\r\nb"},
      {" lead", "tab\there", "日本", "x<y&z>w", "\"\""},
  };
  for (const char* enc : {"UTF-8", "ISO-8859-1", "US-ASCII", "WINDOWS-1252"}) {
    SCOPED_TRACE(enc);
    TDataGrid g;
    Fill(g, cells);
    TScratch dir;
    TXMLExportOptions o;
    o.Encoding = QString::fromLatin1(enc);
    SaveToXML(g, dir.Path(QStringLiteral("g.xml")), o);
    TDataGrid back(1, 1);
    LoadFromXML(back, dir.Path(QStringLiteral("g.xml")), false, false);
    TTable expected = cells;
    // "$amp;" is how older files wrote "&": it reads as "&". Two double quotes are an empty cell.
    expected[1][0] = QStringLiteral("&");
    expected[2][4] = QString();
    EXPECT_EQ(Cells(back), expected);
  }
}

TEST(XMLExport, FileIsInTheEncodingItDeclares) {
  TDataGrid g;
  Fill(g, {{"Zähler", "Ω"}});
  TXMLExportOptions o;  // ISO-8859-1 by default
  const QByteArray latin1 = XMLBytes(g, o);
  EXPECT_TRUE(latin1.contains("<FIELD0>Z\xE4hler</FIELD0>"));
  EXPECT_TRUE(latin1.contains("<FIELD1>&#937;</FIELD1>"));
  o.Encoding = QStringLiteral("UTF-8");
  EXPECT_TRUE(XMLBytes(g, o).contains("<FIELD0>Z\xC3\xA4hler</FIELD0>"));
}

TEST(XMLExport, RefusesWhatXMLCannotCarry) {
  TDataGrid g;
  Fill(g, {{"ok", QString(QChar(1))}});
  TScratch dir;
  const QString file = dir.Path(QStringLiteral("g.xml"));
  WriteAll(file, "old");
  EXPECT_THROW(SaveToXML(g, file, {}), EExtGridError);
  EXPECT_EQ(ReadAll(file), "old");
  TDataGrid ok;
  Fill(ok, {{"x"}});
  for (const char* name : {"", "1abc", "a b", "a<b"}) {
    TXMLExportOptions o;
    o.RecordDescr = QString::fromLatin1(name);
    EXPECT_THROW(XMLBytes(ok, o), EExtGridError) << name;
  }
  EXPECT_THROW(SaveToXML(ok, dir.Path(QStringLiteral("no/such/folder/g.xml")), {}), EExtGridError);
}

TEST(XMLImport, ReadsFilesOfOlderWritersAndOtherPrograms) {
  struct TCase {
    const char* name;
    QByteArray xml;
    bool levelToRow, fieldDescr;
    TTable expected;
  };
  const std::vector<TCase> cases = {
      {"old $amp; escape", "<L><R><F>a$amp;b</F><F>&gt;</F></R></L>", false, false, {{"a&b", ">"}}},
      {"standard entities decoded once", "<L><R><F>&amp;gt;</F></R></L>", false, false, {{"&gt;"}}},
      {"records of unequal length", "<L><R><A>1</A></R><R><A>2</A><B>3</B></R></L>", false, false,
       {{"1", ""}, {"2", "3"}}},
      {"attributes fill columns, names the header", "<L><R id=\"7\" kind=\"w\"/><R id=\"8\" kind=\"e\"/></L>",
       false, true, {{"id", "kind"}, {"7", "w"}, {"8", "e"}}},
      {"field names into row 0", "<L><R><ID>1</ID><V>x</V></R></L>", false, true, {{"ID", "V"}, {"1", "x"}}},
      {"empty element empties its cell", "<L><R><A>1</A><B/><C>3</C></R></L>", false, false, {{"1", "", "3"}}},
      {"levels to rows", "<L><N><A>1</A><B>2</B></N><N><A>3</A><B>4</B></N></L>", true, false,
       {{"1", "2"}, {"3", "4"}}},
      {"single text record under LevelToRow", "<L><N>x</N></L>", true, false, {{"x"}}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    TDataGrid g(1, 1);
    if (c.fieldDescr) g.FixedRowCount = 1;
    LoadXMLBytes(g, c.xml, c.levelToRow, c.fieldDescr);
    EXPECT_EQ(Cells(g), c.expected);
    EXPECT_EQ(g.AllCellsChangedCount, 1);
  }
}

TEST(XMLImport, FailsClearly) {
  TScratch dir;
  TDataGrid g(2, 2);
  try {
    LoadFromXML(g, dir.Path(QStringLiteral("none.xml")), false, false);
    FAIL();
  } catch (const plat::Exception& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("XML file not found"));
  }
  WriteAll(dir.Path(QStringLiteral("bad.xml")), "<L>\n<R>\n<F>1</G>\n</R></L>");
  try {
    LoadFromXML(g, dir.Path(QStringLiteral("bad.xml")), false, false);
    FAIL();
  } catch (const plat::Exception& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("XMLDOM Parsing error 1 on line 3"));
  }
  QByteArray deep;
  for (int i = 0; i < 1000; ++i) deep += "<a><b/>";
  for (int i = 0; i < 1000; ++i) deep += "</a>";
  EXPECT_THROW(LoadXMLBytes(g, deep, false, false), plat::Exception);
  // A file that would make a grid beyond what the grid holds fails, and the grid hears what changed.
  QByteArray wide = "<L><R>";
  for (int i = 0; i <= MaxLoadColCount; ++i) wide += "<F>x</F>";
  wide += "</R></L>";
  EXPECT_THROW(LoadXMLBytes(g, wide, false, false), EExtGridError);
  EXPECT_EQ(g.AllCellsChangedCount, 1);
}

}  // namespace
}  // namespace grid
