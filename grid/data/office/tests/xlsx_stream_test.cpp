// The one-pass reader of sheets and shared strings against a reference that reads the same parts as whole XML
// documents: for a table of workbooks as other programs write them (and some no program should write) both
// give the same cells, or both refuse the file.

#include <QStringDecoder>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "grid/data/office/office_exchange.h"
#include "grid/data/office/office_xml.h"
#include "grid/data/office/sheet_values.h"
#include "grid/data/office/xlsx_sheet.h"
#include "grid/data/office/xlsx_workbook.h"
#include "grid/data/office/xml_stream.h"
#include "grid/data/office/zip_package.h"
#include "grid/data/tests/data_test_util.h"
#include "grid/griderror.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/formatsettings.h"
#include "platform/xml/xmldocument.h"

namespace grid::office {
namespace {

using plat::TXMLAttribute;
using plat::TXMLDocument;
using plat::TXMLNode;
using testing::Cells;
using testing::TScratch;
using testing::TTable;

// ---- the reference: the parts loaded as documents and walked as trees

[[noreturn]] void Incorrect() { throw plat::Exception(QStringLiteral("Incorrect XLS file")); }

QString RunText(const TXMLNode& Parent) {
  QString text;
  for (TXMLNode c = Parent.FirstChildElement(); c; c = c.NextSiblingElement()) {
    if (IsLocal(c, "t")) text += c.Text();
    else if (IsLocal(c, "r")) text += ChildByLocal(c, "t").Text();
  }
  return DecodeEscapes(text);
}

std::vector<QString> TreeSharedStrings(const QByteArray& Xml) {
  TXMLDocument doc;
  QString error;
  if (!doc.LoadFromBytes(Xml, &error)) throw EExtGridError(QStringLiteral("the part is no well-formed XML (%1)").arg(error));
  std::vector<QString> strings;
  for (TXMLNode si = doc.DocumentElement().FirstChildElement(); si; si = si.NextSiblingElement())
    if (IsLocal(si, "si")) strings.push_back(RunText(si));
  return strings;
}

bool TreeCellValue(const TXMLNode& C, const char* Type, int Style, const TCellContext& Context, QString& Text) {
  const TXMLNode v = ChildByLocal(C, "v");
  if (std::strcmp(Type, "inlineStr") == 0) {
    const TXMLNode is = ChildByLocal(C, "is");
    if (!is) return false;
    Text = RunText(is);
    return true;
  }
  if (!v || std::strcmp(Type, "e") == 0) return false;
  const QString raw = v.Text();
  if (std::strcmp(Type, "s") == 0) {
    bool ok = false;
    const int index = raw.toInt(&ok);
    if (!ok || index < 0 || index >= static_cast<int>(Context.SharedStrings.size())) Incorrect();
    Text = Context.SharedStrings[static_cast<size_t>(index)];
  } else if (std::strcmp(Type, "b") == 0) {
    Text = raw.trimmed() == u"1" ? QStringLiteral("True") : QStringLiteral("False");
  } else if (std::strcmp(Type, "str") == 0 || std::strcmp(Type, "d") == 0) {
    Text = DecodeEscapes(raw);
  } else {
    bool ok = false;
    const double d = raw.toDouble(&ok);
    if (!ok) Incorrect();
    const bool date = Style >= 0 && Style < static_cast<int>(Context.DateStyles.size()) &&
                      Context.DateStyles[static_cast<size_t>(Style)];
    Text = date ? plat::DateTimeToStr(Context.Date1904 ? d + 1462 : d)
                : NumberText(d, plat::FormatSettings.DecimalSeparator);
  }
  return true;
}

std::vector<TSheetCell> TreeSheetCells(const QByteArray& Xml, const TCellContext& Context) {
  TXMLDocument doc;
  if (!doc.LoadFromBytes(Xml)) Incorrect();
  std::vector<TSheetCell> cells;
  int atRow = 0, atCol = 0;
  const TXMLNode data = ChildByLocal(doc.DocumentElement(), "sheetData");
  for (TXMLNode row = data.FirstChildElement(); row; row = row.NextSiblingElement()) {
    if (!IsLocal(row, "row")) continue;
    const QString r = row.Attribute("r");
    atRow = r.isEmpty() ? atRow + 1 : r.toInt();
    atCol = 0;
    for (TXMLNode c = row.FirstChildElement(); c; c = c.NextSiblingElement()) {
      if (!IsLocal(c, "c")) continue;
      const char* ref = nullptr;
      const char* type = "n";
      int style = 0;
      for (TXMLAttribute a = c.FirstAttribute(); a; a = a.Next()) {
        const char* name = a.NameUtf8();
        if (std::strcmp(name, "r") == 0) ref = a.ValueUtf8();
        else if (std::strcmp(name, "t") == 0) type = a.ValueUtf8();
        else if (std::strcmp(name, "s") == 0) style = static_cast<int>(std::strtol(a.ValueUtf8(), nullptr, 10));
      }
      int col = 0, rowOfRef = 0;
      if (!ref || !*ref) ++atCol;
      else if (ParseCellRef(QString::fromLatin1(ref), col, rowOfRef)) atCol = col, atRow = rowOfRef;
      else atCol = 0;
      if (atCol < 1 || atCol > MaxSheetColumns || atRow < 1 || atRow > MaxSheetRows) Incorrect();
      TSheetCell cell{atCol, atRow, {}};
      if (TreeCellValue(c, type, style, Context, cell.Text)) cells.push_back(std::move(cell));
    }
  }
  return cells;
}

// The grid a list of cells gives: their used area, a later cell of an address over an earlier one.
TTable GridOf(const std::vector<TSheetCell>& Cells) {
  if (Cells.empty()) return {{QString()}};
  int c1 = MaxSheetColumns, c2 = 0, r1 = MaxSheetRows, r2 = 0;
  for (const TSheetCell& c : Cells)
    c1 = std::min(c1, c.Col), c2 = std::max(c2, c.Col), r1 = std::min(r1, c.Row), r2 = std::max(r2, c.Row);
  TTable t(static_cast<size_t>(r2 - r1 + 1), std::vector<QString>(static_cast<size_t>(c2 - c1 + 1)));
  for (const TSheetCell& c : Cells) t[static_cast<size_t>(c.Row - r1)][static_cast<size_t>(c.Col - c1)] = c.Text;
  return t;
}

// ---- workbooks

const char* const kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";

// A workbook of one sheet with shared strings and styles (style 1 shows dates).
QByteArray Workbook(const QByteArray& Sheet, const QByteArray& Strings) {
  TZipPackage p;
  p.CompressionLevel = 1;
  p.Write("[Content_Types].xml",
          R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
          R"(<Default Extension="xml" ContentType="application/xml"/></Types>)");
  p.Write("_rels/.rels",
          R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
          R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/></Relationships>)");
  p.Write("xl/workbook.xml",
          QByteArray(R"(<workbook xmlns=")") + kMain +
              R"(" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets><sheet name="S" sheetId="1" r:id="rId1"/></sheets></workbook>)");
  p.Write("xl/_rels/workbook.xml.rels",
          R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
          R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>)"
          R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>)"
          R"(<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>)"
          R"(</Relationships>)");
  p.Write("xl/worksheets/sheet1.xml", Sheet);
  p.Write("xl/sharedStrings.xml", Strings);
  p.Write("xl/styles.xml", QByteArray(R"(<styleSheet xmlns=")") + kMain +
                               R"("><cellXfs><xf numFmtId="0"/><xf numFmtId="14"/></cellXfs></styleSheet>)");
  TScratch dir;
  p.SaveAs(dir.Path("w.xlsx"));
  return testing::ReadAll(dir.Path("w.xlsx"));
}

QByteArray Sheet(const QByteArray& Rows) {
  return QByteArray(R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
                    "\n<worksheet xmlns=\"") +
         kMain + "\"><sheetData>" + Rows + "</sheetData></worksheet>";
}

const QByteArray kStrings = QByteArray(R"(<sst xmlns=")") + kMain +
                            R"("><si><t>zero</t></si><si><r><rPr/><t>one </t></r><r><t xml:space="preserve">two</t></r>)"
                            R"(<rPh><t>skip</t></rPh></si><si><t>a &amp; b &lt;c&gt;</t></si><si><t/></si></sst>)";

// What reading a workbook gives: the grid, or the error raised.
struct TOutcome {
  TTable Grid;
  QString Error;
  bool operator==(const TOutcome&) const = default;
};

std::ostream& operator<<(std::ostream& Out, const TOutcome& O) {
  if (!O.Error.isEmpty()) return Out << "error: " << O.Error.toStdString();
  Out << O.Grid.size() << " rows:";
  for (size_t r = 0; r < O.Grid.size() && r < 4; ++r) {
    Out << "\n ";
    for (size_t c = 0; c < O.Grid[r].size() && c < 8; ++c) Out << " [" << O.Grid[r][c].left(40).toStdString() << "]";
  }
  return Out;
}

TOutcome Outcome(const std::function<TTable()>& Read) {
  try {
    return {Read(), {}};
  } catch (const plat::Exception& e) {
    return {{}, e.Message()};
  }
}

// Through the tree of each part.
TOutcome ByTree(const QByteArray& Book) {
  return Outcome([&] {
    TXlsxWorkbook book;
    book.OpenBytes(Book);
    TCellContext context = book.CellContext();
    context.SharedStrings = TreeSharedStrings(book.Package().Read("xl/sharedStrings.xml"));
    return GridOf(TreeSheetCells(book.ReadSheet(0), context));
  });
}

// As the grid reads a workbook file.
TOutcome ByStream(const QByteArray& Book) {
  TScratch dir;
  testing::WriteAll(dir.Path("b.xlsx"), Book);
  return Outcome([&] {
    TDataGrid g(1, 1);
    LoadFromXLS(g, dir.Path("b.xlsx"));
    return Cells(g);
  });
}

// What an error says, without the file name and the reader's own words for the fault.
std::string Kind(const QString& Error) {
  if (Error.isEmpty() || Error == u"Incorrect XLS file") return Error.toStdString();
  if (Error.contains(u"is no well-formed XML")) return "no well-formed XML";
  return Error.toStdString();
}

struct TCase {
  const char* Name;
  QByteArray Sheet, Strings;
};

std::vector<TCase> Cases() {
  // ~1.5 MB of words that do not pack well, with references and characters of several bytes cut anywhere by
  // the pieces the part is read in.
  QByteArray longText;
  for (quint32 i = 0, v = 1; i < 120000; ++i, v = v * 1103515245u + 12345u)
    longText += QByteArray::number(v >> 8, 36) + (i % 7 ? " " : " &amp; \xE2\x82\xAC ");
  return {
      {"values of each kind",
       Sheet(R"(<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c><c r="C1" t="s"><v>2</v></c>)"
             R"(<c r="D1" t="s"><v>3</v></c><c r="E1" t="b"><v>1</v></c><c r="F1" t="b"><v>0</v></c></row>)"
             R"(<row r="2"><c r="A2"><v>1.5</v></c><c r="B2"><v>-0</v></c><c r="C2"><v>1E+20</v></c><c r="D2"><v>0.00001</v></c>)"
             R"(<c r="E2"><v>123456789012345678</v></c><c r="F2" s="1"><v>45356.5</v></c><c r="G2"><v>007</v></c></row>)"
             R"(<row r="3"><c r="A3" t="e"><v>#N/A</v></c><c r="B3" t="str"><f>A1</f><v>x_x0041_y</v></c>)"
             R"(<c r="C3" t="d"><v>2024-03-05T00:00:00</v></c><c r="D3" t="inlineStr"><is><t>in</t></is></c>)"
             R"(<c r="E3" t="inlineStr"><is><r><t>ru</t></r><r><rPr/><t>ns</t><t>second</t></r></is></c><c r="F3" s="1"/></row>)"),
       kStrings},
      {"empty cells and elements",
       Sheet(R"(<row r="2"><c r="B2"/><c r="C2" t="s"/><c r="D2" t="inlineStr"/><c r="E2" t="inlineStr"><v>9</v></c>)"
             R"(<c r="F2" t="inlineStr"><is/></c><c r="G2" t="s"><v>4</v></c></row><row r="3"/><row r="4"><c r="C4"><v>4</v></c></row>)"),
       kStrings},
      {"no cells at all", Sheet(""), kStrings},
      {"no sheetData", QByteArray(R"(<worksheet xmlns=")") + kMain + R"("><dimension ref="A1"/></worksheet>)", kStrings},
      {"missing r attributes",
       Sheet(R"(<row><c><v>1</v></c><c><v>2</v></c><c r="E1"><v>5</v></c><c><v>6</v></c></row>)"
             R"(<row><c><v>7</v></c></row><row r="5"><c><v>8</v></c><c r="C9"><v>9</v></c><c><v>10</v></c></row><row><c><v>11</v></c></row>)"),
       kStrings},
      {"rows and cells out of order, an address twice",
       Sheet(R"(<row r="7"><c r="C7"><v>73</v></c><c r="A7"><v>71</v></c></row><row r="2"><c r="B2"><v>22</v></c></row>)"
             R"(<row r="7"><c r="C7"><v>74</v></c></row><row r="4"><c r="$D$4"><v>44</v></c><c r="b4"><v>42</v></c></row>)"),
       kStrings},
      {"entities, references and CDATA",
       Sheet(R"(<row r="1"><c r="A1" t="inlineStr"><is><t>&lt;&gt;&amp;&quot;&apos;&#65;&#x42;&#x20AC;&#x1F600;</t></is></c>)"
             R"(<c r="B1" t="inlineStr"><is><t><![CDATA[<raw> & ]]]]><![CDATA[> ok]]></t></is></c>)"
             R"(<c r="C1" t="inlineStr"><is><t>a<![CDATA[b]]>c&#10;d</t></is></c>)"
             R"(<c r="D1" t="inlineStr"><is><t xml:space="preserve"> </t></is></c>)"
             "<c r=\"E1\" t=\"inlineStr\"><is><t>cr\r\nlf\rend</t></is></c>"
             R"(<c r="F1" t="str"><v>&#1;ctl</v></c><c r="&#71;1"><v>&#x31;2</v></c></row>)"),
       QByteArray(R"(<sst xmlns=")") + kMain + R"("><si><t><![CDATA[cd&ata]]></t></si></sst>)"},
      {"namespace prefixes",
       QByteArray(R"(<x:worksheet xmlns:x=")") + kMain +
           R"("><x:sheetData><x:row x:r="9" r="1"><x:c r="A1" t="s"><x:v>1</x:v></x:c><x:c r="B1" x:t="s"><x:v>3</x:v></x:c>)"
           R"(<x:c r="C1" t="inlineStr"><x:is><x:r><x:t>p</x:t></x:r><x:t>q</x:t></x:is></x:c></x:row></x:sheetData></x:worksheet>)",
       QByteArray(R"(<s:sst xmlns:s=")") + kMain + R"("><s:si><s:t>p0</s:t></s:si><s:si><s:r><s:t>p1</s:t></s:r></s:si></s:sst>)"},
      {"layout, comments and instructions",
       QByteArray("\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- made by hand -->\n<worksheet xmlns=\"") + kMain +
           "\">\n  <sheetData>\n    <row r=\"1\">\n      <c r=\"A1\" t=\"inlineStr\">\n        <is><t>x</t></is>\n      </c>"
           "<?pi here?><!-- c -->\n      <c r=\"B1\">\n        <v>2</v>\n      </c>\n    </row>\n  </sheetData>\n</worksheet>\n<!-- end -->\n",
       kStrings},
      {"a second sheetData and elements elsewhere",
       QByteArray(R"(<worksheet xmlns=")") + kMain +
           R"("><sheetData><row r="1"><c r="A1"><v>1</v></c><x><c r="B1"><v>2</v></c></x></row><c r="C1"><v>3</v></c></sheetData>)"
           R"(<sheetData><row r="1"><c r="D1"><v>4</v></c></row></sheetData></worksheet>)",
       kStrings},
      {"very long strings", Sheet("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>" + longText + "</t></is></c><c r=\"B1\" t=\"s\"><v>1</v></c></row>"),
       QByteArray(R"(<sst xmlns=")") + kMain + "\"><si><t>s</t></si><si><t>" + longText + "</t></si></sst>"},
      {"non-ASCII texts", Sheet("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>Z\xC3\xA4hler \xE2\x82\xAC \xF0\x9F\x98\x80</t></is></c></row>"),
       kStrings},
      // Parts no program should write: both readers refuse them.
      {"unclosed element", Sheet(R"(<row r="1"><c r="A1"><v>1</v></c>)"), kStrings},
      {"end tag of another element", Sheet(R"(<row r="1"><c r="A1"><v>1</c></v></row>)"), kStrings},
      {"unknown entity", Sheet(R"(<row r="1"><c r="A1" t="inlineStr"><is><t>&nbsp;</t></is></c></row>)"), kStrings},
      {"reference to NUL", Sheet(R"(<row r="1"><c r="A1" t="inlineStr"><is><t>&#0;</t></is></c></row>)"), kStrings},
      {"bytes that are no UTF-8", Sheet("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>\xC3(</t></is></c></row>"), kStrings},
      {"repeated attribute", Sheet(R"(<row r="1"><c r="A1" r="B1"><v>1</v></c></row>)"), kStrings},
      {"two roots", Sheet("") + "<worksheet/>", kStrings},
      {"text after the root", Sheet("") + "tail", kStrings},
      {"number that is none", Sheet(R"(<row r="1"><c r="A1"><v>12abc</v></c></row>)"), kStrings},
      {"empty number", Sheet(R"(<row r="1"><c r="A1"><v></v></c></row>)"), kStrings},
      {"shared string out of range", Sheet(R"(<row r="1"><c r="A1" t="s"><v>4</v></c></row>)"), kStrings},
      {"address beyond the sheet", Sheet(R"(<row r="1"><c r="XFE1"><v>1</v></c></row>)"), kStrings},
      {"row zero", Sheet(R"(<row r="0"><c><v>1</v></c></row>)"), kStrings},
      {"empty part", QByteArray(), kStrings},
      {"shared strings not closed", Sheet(R"(<row r="1"><c r="A1" t="s"><v>0</v></c></row>)"),
       QByteArray(R"(<sst xmlns=")") + kMain + R"("><si><t>zero</t></si>)"},
  };
}

TEST(XlsxStream, ReadsEveryWorkbookAsTheTreeOfItsPartsDoes) {
  for (const TCase& c : Cases()) {
    const QByteArray book = Workbook(c.Sheet, c.Strings);
    const TOutcome tree = ByTree(book), stream = ByStream(book);
    EXPECT_EQ(Kind(stream.Error), Kind(tree.Error)) << c.Name;
    EXPECT_EQ(stream.Grid, tree.Grid) << c.Name << "\n stream " << stream << "\n tree " << tree;
  }
}

// The reference keeps the cells of a workbook in the order and number the part lists them; so does the stream.
TEST(XlsxStream, CellListsMatchTheTreeCellForCell) {
  TCellContext context;
  context.SharedStrings = TreeSharedStrings(kStrings);
  context.DateStyles = {false, true};
  for (const TCase& c : Cases()) {
    std::vector<TSheetCell> tree, stream;
    QString treeError, streamError;
    try {
      tree = TreeSheetCells(c.Sheet, context);
    } catch (const plat::Exception& e) {
      treeError = e.Message();
    }
    try {
      stream = ReadSheetCells(c.Sheet, context);
    } catch (const plat::Exception& e) {
      streamError = e.Message();
    }
    EXPECT_EQ(streamError, treeError) << c.Name;
    ASSERT_EQ(stream.size(), tree.size()) << c.Name;
    for (size_t i = 0; i < tree.size(); ++i)
      EXPECT_TRUE(stream[i].Col == tree[i].Col && stream[i].Row == tree[i].Row && stream[i].Text == tree[i].Text)
          << c.Name << " cell " << i;
  }
}

// A sheet of a million cells, numbers and texts of every kind the writer writes, read both ways.
TEST(XlsxStream, MillionCellSheetGivesTheSameGrid) {
  QByteArray rows;
  rows.reserve(60 << 20);
  const int cols = 16, count = 1000000 / cols;
  for (int r = 1; r <= count; ++r) {
    const QByteArray n = QByteArray::number(r);
    rows.append("<row r=\"").append(n).append("\">");
    for (int c = 1; c <= cols; ++c) {
      rows.append("<c r=\"");
      AppendColumnLetters(rows, c);
      rows.append(n);
      switch ((r + c) % 4) {
        case 0: rows.append("\"><v>").append(QByteArray::number(r * 17 + c)).append('.').append(QByteArray::number(c)).append("</v></c>"); break;
        case 1: rows.append("\" t=\"inlineStr\"><is><t>Meter ").append(n).append(" &amp; co</t></is></c>"); break;
        case 2: rows.append("\" t=\"s\"><v>").append(QByteArray::number(r % 4)).append("</v></c>"); break;
        default: rows.append(r % 3 ? "\"><v>" + n + "</v></c>" : QByteArray("\" s=\"0\"/>")); break;
      }
    }
    rows += "</row>";
  }
  const QByteArray book = Workbook(Sheet(rows), kStrings);
  const TOutcome tree = ByTree(book), stream = ByStream(book);
  ASSERT_TRUE(tree.Error.isEmpty()) << tree.Error.toStdString();
  ASSERT_EQ(stream.Grid.size(), static_cast<size_t>(count));
  EXPECT_TRUE(stream == tree);
}

// Parts in another encoding are read as well as those in UTF-8.
TEST(XlsxStream, PartsInOtherEncodingsAreRead) {
  const QString sheet = QString::fromUtf8(
      Sheet(R"(<row r="1"><c r="A1" t="inlineStr"><is><t>Z)" "\xC3\xA4" R"(hler</t></is></c><c r="B1"><v>2</v></c></row>)"));
  QByteArray utf16("\xFF\xFE");
  utf16.append(reinterpret_cast<const char*>(sheet.utf16()), sheet.size() * 2);
  QByteArray latin1 = sheet.toLatin1();
  latin1.replace("<?xml version=\"1.0\" encoding=\"UTF-8\"", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"");
  for (const QByteArray& part : {utf16, latin1}) {
    const QByteArray book = Workbook(part, kStrings);
    EXPECT_EQ(ByStream(book), ByTree(book));
    EXPECT_EQ(ByStream(book).Grid, (TTable{{QString::fromUtf8("Z\xC3\xA4hler"), "2"}}));
  }
}

}  // namespace
}  // namespace grid::office
