// Documents written by the grid: where the table goes, what its cells hold and how they are aligned; an
// existing document keeps everything else.

#include <QFileInfo>

#include <gtest/gtest.h>

#include "grid/data/office/office_exchange.h"
#include "grid/data/office/zip_package.h"
#include "grid/data/tests/data_test_util.h"
#include "grid/griderror.h"
#include "platform/xml/xmldocument.h"

namespace grid {
namespace {

using office::TZipPackage;
using testing::Fill;
using testing::ReadAll;
using testing::TScratch;
using testing::WriteAll;

QByteArray Body(const QString& File) {
  TZipPackage p;
  p.Open(File);
  const QByteArray doc = p.Read("word/document.xml");
  const qsizetype start = doc.indexOf("<w:body>"), end = doc.indexOf("</w:body>");
  return start < 0 || end < 0 ? doc : doc.mid(start + 8, end - start - 8);
}

// The body as a line of block names with the texts of their paragraphs: "tbl p(text) p".
QString Outline(const QString& File) {
  TZipPackage p;
  p.Open(File);
  plat::TXMLDocument doc;
  EXPECT_TRUE(doc.LoadFromBytes(p.Read("word/document.xml")));
  QStringList out;
  for (plat::TXMLNode b = doc.DocumentElement().FindNode("w:body").FirstChildElement(); b; b = b.NextSiblingElement()) {
    const QString name = b.NodeName().mid(2), text = b.DescendantText();
    if (name == u"sectPr") continue;
    out.append(name == u"p" && !text.isEmpty() ? name + "(" + text + ")" : name);
  }
  return out.join(' ');
}

class DocxFiles : public ::testing::Test {
 protected:
  void SetUp() override { Fill(g, {{"h1", "h2"}, {"1", "a&b"}}); }
  // A document as another program would write it: two paragraphs, one holding a bookmark, and a closing
  // section with its page size.
  QString MakeDocument() {
    const QString path = dir.Path("user.docx");
    TZipPackage p;
    p.Write("[Content_Types].xml",
            R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/><Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/></Types>)");
    p.Write("_rels/.rels",
            R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="r1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/></Relationships>)");
    p.Write("word/document.xml",
            R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body>)"
            R"(<w:p><w:r><w:t>first</w:t></w:r></w:p>)"
            R"(<w:p><w:bookmarkStart w:id="0" w:name="here"/><w:r><w:t>marked</w:t></w:r><w:bookmarkEnd w:id="0"/></w:p>)"
            R"(<w:p><w:r><w:t>last</w:t></w:r></w:p><w:sectPr><w:pgSz w:w="12240" w:h="15840"/></w:sectPr></w:body></w:document>)");
    p.Write("word/styles.xml", "<w:styles xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"/>");
    p.SaveAs(path);
    return path;
  }
  TScratch dir;
  TDataGrid g;
};

TEST_F(DocxFiles, TheTableGoesWhereEachCallPutsIt) {
  SaveToDOC(g, dir.Path("new.docx"), true, "typed");
  EXPECT_EQ(Outline(dir.Path("new.docx")), "tbl p(typed) p");

  const struct { const char* Name; const char* Bookmark; const char* Outline; } cases[] = {
      // The control's text (here empty) is typed in a paragraph of its own where the document opens.
      {"at the start", nullptr, "tbl p p(first) p(marked) p(last)"},
      {"after the bookmark's paragraph", "here", "p p(first) p(marked) tbl p(last)"},
      {"at the end without that bookmark", "nowhere", "p p(first) p(marked) p(last) p tbl p"},
  };
  for (const auto& c : cases) {
    const QString path = MakeDocument();
    if (c.Bookmark) AppendToDoc(g, path, c.Bookmark);
    else SaveToDOC(g, path, false);
    EXPECT_EQ(Outline(path), c.Outline) << c.Name;
    TZipPackage p;
    p.Open(path);
    EXPECT_EQ(p.Read("word/styles.xml"), "<w:styles xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"/>");
    EXPECT_TRUE(Body(path).contains(R"(<w:sectPr><w:pgSz w:w="12240" w:h="15840"/></w:sectPr>)")) << c.Name;
  }
}

TEST_F(DocxFiles, CellsCarryTextsLineBreaksAndAlignment) {
  Fill(g, {{"left", "right", "centre"}, {"two\r\nlines", "tab\there", QString(QChar(1)) + "ctl"}});
  g.FixedRowCount = 1, g.FixedColCount = 1;
  g.Options.SaveFixedCells = false;  // the table holds the whole grid all the same
  g.ColumnAlignments = {plat::taLeftJustify, plat::taRightJustify, plat::taCenter};
  int rows = 0;
  g.OnExportNotification = [&](TGridExportState s, int) { rows += s == esExportNextRow; };
  SaveToDOC(g, dir.Path("cells.docx"), true);
  const QByteArray body = Body(dir.Path("cells.docx"));
  EXPECT_EQ(rows, 2);
  EXPECT_EQ(body.count("<w:tr>"), 2);
  EXPECT_EQ(body.count("<w:tc>"), 6);
  EXPECT_TRUE(body.contains(R"(<w:p><w:r><w:t>left</w:t></w:r></w:p>)"));
  EXPECT_TRUE(body.contains(R"(<w:p><w:pPr><w:jc w:val="right"/></w:pPr><w:r><w:t>right</w:t></w:r></w:p>)"));
  EXPECT_TRUE(body.contains(R"(<w:jc w:val="center"/></w:pPr><w:r><w:t>centre</w:t>)"));
  EXPECT_TRUE(body.contains(R"(<w:t>two</w:t><w:br/><w:t>lines</w:t>)"));
  EXPECT_TRUE(body.contains(R"(<w:t>tab</w:t><w:tab/><w:t>here</w:t>)"));
  EXPECT_TRUE(body.contains(R"(<w:t>ctl</w:t>)"));
  EXPECT_TRUE(body.contains(R"(<w:gridCol w:w="960"/>)"));  // 64 pixels
}

TEST_F(DocxFiles, DocumentsThatCannotBeReadOrWrittenAreNeverReplaced) {
  const QString garbage = dir.Path("garbage.docx");
  WriteAll(garbage, "the user's notes");
  auto raised = [](const std::function<void()>& F) {
    try {
      F();
    } catch (const EExtGridError& e) {
      return e.Message();
    }
    return QStringLiteral("(nothing raised)");
  };
  EXPECT_TRUE(raised([&] { AppendToDoc(g, garbage, "x"); }).contains("cannot be read as a package"));
  EXPECT_TRUE(raised([&] { SaveToDOC(g, garbage, false); }).contains("cannot be read as a package"));
  EXPECT_EQ(ReadAll(garbage), "the user's notes");
  EXPECT_TRUE(raised([&] { AppendToDoc(g, dir.Path("none.docx"), "x"); }).contains("cannot be read as a package"));
  EXPECT_FALSE(QFileInfo::exists(dir.Path("none.docx")));
  EXPECT_TRUE(raised([&] { SaveToDOC(g, dir.Path("no/folder/x.docx"), true); }).contains("cannot be written"));
}

}  // namespace
}  // namespace grid
