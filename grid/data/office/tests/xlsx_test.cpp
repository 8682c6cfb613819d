// Workbooks written and read by the grid: texts stay texts and numbers numbers, addresses past ZZ, sheets
// added to or replaced in a workbook whose other parts stay byte for byte, and files that are never replaced
// when they cannot be read or written.

#include <QFileInfo>

#include <gtest/gtest.h>

#include "grid/data/office/office_exchange.h"
#include "grid/data/office/zip_package.h"
#include "grid/data/tests/data_test_util.h"
#include "grid/griderror.h"

namespace grid {
namespace {

using office::TZipPackage;
using testing::Cells;
using testing::Fill;
using testing::ReadAll;
using testing::TScratch;
using testing::TTable;
using testing::WriteAll;

QByteArray PartOf(const QString& File, const QString& Part) {
  TZipPackage p;
  p.Open(File);
  return p.Read(Part);
}

QString Raised(const std::function<void()>& F) {
  try {
    F();
  } catch (const plat::Exception& e) {
    return e.Message();
  }
  return QStringLiteral("(nothing raised)");
}

// Cells a user may hold, each of which an office program could turn into something else.
const TTable Tricky = {
    {"00012345", "=1+1", "42", "1.5", "-0"},
    {"1.50", "1e5", " lead", "trail ", "two\nlines"},
    {"a&b<c>\"d\"", QString(QChar(1)) + "ctl", "_x0041_", QString::fromUtf8("Z\u00e4hler \u20ac"), ""},
    {"", "", "123456789012345", "1234567890123456", "True"},
};

TEST(Xlsx, CellsComeBackAsTheyWereWritten) {
  TScratch dir;
  TDataGrid out;
  Fill(out, Tricky);
  SaveToXLS(out, dir.Path("t.xlsx"), true);
  TDataGrid in(1, 1);
  LoadFromXLS(in, dir.Path("t.xlsx"));
  EXPECT_EQ(Cells(in), Tricky);
  EXPECT_EQ(in.AllCellsChangedCount, 1);

  // Only texts that read back unchanged are stored as numbers.
  const QByteArray sheet = PartOf(dir.Path("t.xlsx"), "xl/worksheets/sheet1.xml");
  EXPECT_TRUE(sheet.contains(R"(<c r="C1"><v>42</v></c>)")) << sheet.constData();
  EXPECT_TRUE(sheet.contains(R"(<c r="D1"><v>1.5</v></c>)"));
  EXPECT_TRUE(sheet.contains(R"(<c r="A1" t="inlineStr"><is><t>00012345</t></is></c>)"));
  EXPECT_TRUE(sheet.contains(R"(<c r="B1" t="inlineStr"><is><t>=1+1</t></is></c>)"));
  EXPECT_FALSE(sheet.contains("<f>"));
  EXPECT_TRUE(sheet.contains(R"(<dimension ref="A1:E4"/>)"));
}

TEST(Xlsx, ColumnsPastZzKeepTheirLetters) {
  TScratch dir;
  TDataGrid out(703, 2);
  for (int c = 0; c < 703; ++c) out.SetGridCell(c, 1, QStringLiteral("c%1").arg(c));
  SaveToXLS(out, dir.Path("wide.xlsx"), true);
  const QByteArray sheet = PartOf(dir.Path("wide.xlsx"), "xl/worksheets/sheet1.xml");
  EXPECT_TRUE(sheet.contains(R"(<c r="AAA2" t="inlineStr"><is><t>c702</t>)"));
  EXPECT_TRUE(sheet.contains(R"(<c r="ZZ2" t="inlineStr"><is><t>c701</t>)"));
  EXPECT_TRUE(sheet.contains(R"(<dimension ref="A1:AAA2"/>)"));
  TDataGrid in(1, 1);
  LoadFromXLS(in, dir.Path("wide.xlsx"));
  EXPECT_EQ(in.ColCount(), 703);
  EXPECT_EQ(in.RowCount(), 1);  // the used area starts at row 2
  EXPECT_EQ(in.GetGridCell(702, 0), "c702");
}

// The save range decides where the export starts, and the fixed parts that are not saved stay out of reach of
// the import: the used area lands after them.
TEST(Xlsx, SaveRangeAndFixedPartsShapeBothWays) {
  TScratch dir;
  TDataGrid out;
  Fill(out, {{"h", "h1", "h2"}, {"r1", "a", "b"}, {"r2", "c", "d"}});
  out.FixedColCount = 1, out.FixedRowCount = 1;
  out.Options.SaveFixedCells = false;
  int starts = 0, rows = 0, done = 0;
  out.OnExportNotification = [&](TGridExportState s, int) {
    starts += s == esExportStart, rows += s == esExportNextRow, done += s == esExportDone;
  };
  SaveToXLS(out, dir.Path("r.xlsx"), true);
  EXPECT_EQ(std::make_tuple(starts, rows, done), std::make_tuple(1, 2, 1));

  TDataGrid in;
  Fill(in, {{"H", "x"}, {"R", "y"}});
  in.FixedColCount = 1, in.FixedRowCount = 1;
  in.Options.SaveFixedCells = false;
  LoadFromXLS(in, dir.Path("r.xlsx"));
  EXPECT_EQ(Cells(in), (TTable{{"H", "x", ""}, {"R", "a", "b"}, {"", "c", "d"}}));
}

class XlsxFiles : public ::testing::Test {
 protected:
  // A workbook of two sheets made by hand, as another program would: shared strings, styles with a date
  // format, a boolean, an error value, a formula with its result, a calculation chain, and a used area
  // from B2 to D4 on the second sheet, which is the active one with its active cell on row 3.
  QString MakeTwoSheets() {
    const QString path = dir.Path("two.xlsx");
    TZipPackage p;
    p.Write("[Content_Types].xml",
            R"(<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
            R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
            R"(<Default Extension="xml" ContentType="application/xml"/>)"
            R"(<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>)"
            R"(<Override PartName="/xl/worksheets/s1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>)"
            R"(<Override PartName="/xl/worksheets/s2.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>)"
            R"(<Override PartName="/xl/calcChain.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.calcChain+xml"/>)"
            R"(</Types>)");
    p.Write("_rels/.rels",
            R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
            R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="/xl/workbook.xml"/></Relationships>)");
    p.Write("xl/workbook.xml",
            R"(<x:workbook xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:rel="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
            R"(<x:bookViews><x:workbookView activeTab="1"/></x:bookViews><x:sheets>)"
            R"(<x:sheet name="First" sheetId="4" rel:id="rId7"/><x:sheet name="Data" sheetId="9" rel:id="rId8"/>)"
            R"(</x:sheets><x:extLst/></x:workbook>)");
    p.Write("xl/_rels/workbook.xml.rels",
            R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
            R"(<Relationship Id="rId7" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/s1.xml"/>)"
            R"(<Relationship Id="rId8" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/s2.xml"/>)"
            R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="strings.xml"/>)"
            R"(<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>)"
            R"(<Relationship Id="rId4" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/calcChain" Target="calcChain.xml"/>)"
            R"(</Relationships>)");
    p.Write("xl/strings.xml",
            R"(<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><si><t>plain</t></si>)"
            R"(<si><r><t>rich </t></r><r><t>text</t></r><rPh><t>skip</t></rPh></si><si><t>007</t></si></sst>)");
    p.Write("xl/styles.xml",
            R"(<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><numFmts>)"
            R"(<numFmt numFmtId="164" formatCode="yyyy\-mm\-dd"/><numFmt numFmtId="165" formatCode="&quot;day&quot; 0.0"/></numFmts>)"
            R"(<cellXfs><xf numFmtId="0"/><xf numFmtId="164"/><xf numFmtId="165"/><xf numFmtId="14"/></cellXfs></styleSheet>)");
    p.Write("xl/worksheets/s1.xml", FirstSheet);
    p.Write("xl/worksheets/s2.xml",
            R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
            R"(<dimension ref="B2:D4"/><sheetViews><sheetView workbookViewId="0"><selection activeCell="C3" sqref="C3"/></sheetView></sheetViews>)"
            R"(<sheetData><row r="2" spans="2:4"><c r="B2" t="s"><v>0</v></c><c r="C2" t="s"><v>1</v></c><c r="D2" t="s"><v>2</v></c></row>)"
            R"(<row r="3"><c r="B3" s="1"><v>45356</v></c><c r="C3" s="2"><v>2.5</v></c><c r="D3" t="b"><v>1</v></c></row>)"
            R"(<row r="4"><c r="B4" t="e"><v>#DIV/0!</v></c><c r="C4"><f>C3*2</f><v>5</v></c><c r="D4" t="str"><f>"a"&amp;"b"</f><v>ab</v></c>)"
            R"(<c r="E4" s="3"/></row></sheetData></worksheet>)");
    p.Write("xl/calcChain.xml", R"(<calcChain xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><c r="C4" i="2"/></calcChain>)");
    p.SaveAs(path);
    return path;
  }
  const QByteArray FirstSheet =
      R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)"
      R"(<row r="1"><c r="A1" t="inlineStr"><is><t>kept</t></is></c></row></sheetData></worksheet>)";
  TScratch dir;
};

TEST_F(XlsxFiles, ValuesOfAnotherProgramsWorkbookBecomeTexts) {
  const QString path = MakeTwoSheets();
  EXPECT_EQ(GetXLSSheets(path), (QStringList{"First", "Data"}));
  TDataGrid g(9, 9);
  LoadFromXLS(g, path);  // the active sheet; the used area B2:D4 gives 3 x 3 cells
  EXPECT_EQ(Cells(g), (TTable{{"plain", "rich text", "007"}, {"05/03/2024", "2.5", "True"}, {"", "5", "ab"}}));
  LoadFromXLSSheet(g, path, "First");
  EXPECT_EQ(Cells(g), (TTable{{"kept"}}));
  const QString message = Raised([&] { LoadFromXLSSheet(g, path, "Missing"); });
  EXPECT_EQ(message, "Excel worksheet Missing not found");
  EXPECT_EQ(Cells(g), (TTable{{"kept"}}));  // a failed load leaves the grid as it was
}

TEST_F(XlsxFiles, NamedSheetIsAddedOrReplacedAndTheRestStaysByteForByte) {
  const QString path = MakeTwoSheets();
  TZipPackage before;
  before.Open(path);
  TDataGrid g;
  Fill(g, {{"n1", "00042"}, {"n2", "7"}});
  SaveToXLSSheet(g, path, "Added");
  EXPECT_EQ(GetXLSSheets(path), (QStringList{"First", "Data", "Added"}));
  for (const char* part : {"xl/worksheets/s1.xml", "xl/worksheets/s2.xml", "xl/strings.xml", "xl/styles.xml",
                              "xl/calcChain.xml", "_rels/.rels"})
    EXPECT_EQ(PartOf(path, part), before.Read(part)) << part;
  TDataGrid in;
  LoadFromXLSSheet(in, path, "Added");
  EXPECT_EQ(Cells(in), (TTable{{"n1", "00042"}, {"n2", "7"}}));

  // Replacing cells of an existing sheet: the written block changes, the other cells stay, the saved
  // calculation chain goes so the workbook is calculated anew.
  Fill(g, {{"w"}, {""}});
  SaveToXLSSheet(g, path, "data");  // names are matched without regard to case when no exact match exists
  EXPECT_EQ(PartOf(path, "xl/worksheets/s1.xml"), before.Read("xl/worksheets/s1.xml"));
  LoadFromXLSSheet(in, path, "Data");
  EXPECT_EQ(Cells(in), (TTable{{"w", "", "", ""}, {"", "plain", "rich text", "007"}, {"", "05/03/2024", "2.5", "True"},
                               {"", "", "5", "ab"}}));
  TZipPackage after;
  after.Open(path);
  EXPECT_FALSE(after.Contains("xl/calcChain.xml"));
  EXPECT_FALSE(after.Read("[Content_Types].xml").contains("calcChain"));
  EXPECT_TRUE(after.Read("xl/workbook.xml").contains(R"(<x:calcPr fullCalcOnLoad="1"/><x:extLst/>)"));
}

TEST_F(XlsxFiles, ActiveWorkbookIsTheNamedFileFromItsActiveCellRow) {
  const QString path = MakeTwoSheets();
  TDataGrid g;
  Fill(g, {{"x", "1"}});
  SaveToXLS(g, path, false);  // the active sheet "Data", from row 3 of its active cell C3
  TDataGrid in;
  LoadFromXLSSheet(in, path, "Data");
  // Written cells keep their look: B3 has a date format, which shows the number 1 as a date.
  EXPECT_EQ(Cells(in), (TTable{{"", "plain", "rich text", "007"}, {"x", "31/12/1899", "2.5", "True"}, {"", "", "5", "ab"}}));
}

TEST_F(XlsxFiles, FilesThatCannotBeReadOrWrittenAreNeverReplaced) {
  const QString garbage = dir.Path("garbage.xlsx");
  WriteAll(garbage, "not a workbook, but the user's file");
  TDataGrid g;
  Fill(g, {{"a"}});
  for (bool named : {true, false}) {
    const QString message = Raised([&] { named ? SaveToXLSSheet(g, garbage, "S") : SaveToXLS(g, garbage, false); });
    EXPECT_TRUE(message.contains("cannot be read as a package")) << message.toStdString();
    EXPECT_EQ(ReadAll(garbage), "not a workbook, but the user's file");
  }
  EXPECT_TRUE(Raised([&] { SaveToXLS(g, dir.Path("no/such/folder/x.xlsx"), true); }).contains("cannot be written"));
  EXPECT_TRUE(Raised([&] { SaveToXLSSheet(g, dir.Path("n.xlsx"), "bad[name]"); }).contains("cannot name a worksheet"));
  EXPECT_FALSE(QFileInfo::exists(dir.Path("n.xlsx")));

  // An export that fails half way leaves the old workbook as it was.
  const QString path = MakeTwoSheets();
  const QByteArray old = ReadAll(path);
  Fill(g, {{"a"}, {"b"}, {"c"}});
  g.OnSaveCell = [](int, int ARow, QString&) {
    if (ARow == 2) throw EExtGridError("cell failed");
  };
  EXPECT_EQ(Raised([&] { SaveToXLSSheet(g, path, "Data"); }), "cell failed");
  EXPECT_EQ(ReadAll(path), old);
}

TEST_F(XlsxFiles, BrokenWorkbooksAreRefusedWithAClearError) {
  const QString path = MakeTwoSheets();
  const struct { const char* Name; const char* Part; QByteArray Bytes; const char* Says; } cases[] = {
      {"sheet part not XML", "xl/worksheets/s2.xml", "<worksheet><sheetData>", "Incorrect XLS file"},
      {"shared string out of range", "xl/worksheets/s2.xml",
       R"(<worksheet><sheetData><row r="1"><c r="A1" t="s"><v>99</v></c></row></sheetData></worksheet>)", "Incorrect XLS file"},
      {"address beyond the sheet", "xl/worksheets/s2.xml",
       R"(<worksheet><sheetData><row r="1"><c r="XFE1"><v>1</v></c></row></sheetData></worksheet>)", "Incorrect XLS file"},
      {"used area too large", "xl/worksheets/s2.xml",
       R"(<worksheet><sheetData><row r="1"><c r="A1"><v>1</v></c></row><row r="1048576"><c r="XFD1048576"><v>1</v></c></row></sheetData></worksheet>)",
       "is too large"},
      {"workbook part missing", "xl/workbook.xml", QByteArray(), "the part xl/workbook.xml is missing"},
  };
  for (const auto& c : cases) {
    const QString file = dir.Path(QString::fromLatin1(c.Name) + ".xlsx");
    TZipPackage p;
    p.Open(path);
    if (c.Bytes.isNull()) p.Remove(c.Part);
    else p.Write(c.Part, c.Bytes);
    p.SaveAs(file);
    TDataGrid g(2, 2);
    const QString message = Raised([&] { LoadFromXLS(g, file); });
    EXPECT_TRUE(message.contains(QLatin1String(c.Says))) << c.Name << ": " << message.toStdString();
    EXPECT_EQ(g.AllCellsChangedCount, 1) << c.Name << ": the grid hears of the load also after a failure";
  }
}

}  // namespace
}  // namespace grid
