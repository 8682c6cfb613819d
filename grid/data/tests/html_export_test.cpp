// The HTML page: table and header lines, one class per look in first-use order, merged cells, links, pictures
// beside the page, and saved files that lose no character.

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include "grid/data/html_export.h"
#include "grid/data/tests/data_test_util.h"
#include "grid/model/cell_properties.h"
#include "platform/rtl/exceptions.h"

namespace grid {
namespace {

using testing::Fill;
using testing::ReadAll;
using testing::TScratch;
using testing::WriteAll;

QStringList BodyLines(const QString& Page) {
  QStringList lines = Page.split(QStringLiteral("\r\n"));
  lines.removeAll(QString());
  return lines;
}

TEST(HTMLPage, HeaderRowFromFixedRowAndBodyAfterIt) {
  TDataGrid g;
  Fill(g, {{"H1", "H2"}, {"a", ""}});
  g.FixedRowCount = 1;
  THTMLOptions o;
  o.FixedColor = plat::RGB(1, 2, 3);
  const QStringList lines = BodyLines(SaveToHTMLString(g, o, {}));
  const QString style = QStringLiteral("font-size:8pt;font-family: Tahoma;vertical-align: top");
  EXPECT_EQ(lines, (QStringList{
                       "<style>",
                       ".c0 {background-color: #010203;" + style + "}",
                       ".c1 {" + style + "}",
                       "</style>",
                       "<TABLE BORDER=\"1\" CELLSPACING=\"0\" CELLPADDING=\"0\"  WIDTH=\"100%\">",
                       "<TR><TD class=\"c0\" nowrap>H1</td><TD class=\"c0\" nowrap>H2</td></TR>",
                       "<TR><TD class=\"c1\" nowrap>a</td><TD class=\"c1\" nowrap>&nbsp;</td></TR>",
                       "</TABLE>",
                   }));
  g.FixedRowCount = 0;
  EXPECT_FALSE(SaveToHTMLString(g, o, {}).contains(QStringLiteral("background-color")))
      << "no header row without fixed rows";
}

TEST(HTMLPage, ClassesPerLookInFirstUseOrder) {
  TDataGrid g;
  Fill(g, {{"a", "b", "c", "d"}});
  g.GetCellProperties(1, 0)->SetBrushColor(plat::RGB(255, 0, 0));
  g.GetCellProperties(2, 0)->Alignment = plat::taRightJustify;
  g.GetCellProperties(3, 0)->SetBrushColor(plat::RGB(255, 0, 0));
  const QString page = SaveToHTMLString(g, {}, {});
  EXPECT_TRUE(page.contains(QStringLiteral(".c1 {background-color: #FF0000;font-size:8pt")));
  EXPECT_TRUE(page.contains(QStringLiteral(".c2 {font-size:8pt;font-family: Tahoma;text-align: right;")));
  // Cells with properties wrap their words (the properties' default); the others do not.
  EXPECT_TRUE(page.contains(QStringLiteral("<TD class=\"c0\" nowrap>a</td><TD class=\"c1\">b</td>"
                                           "<TD class=\"c2\">c</td><TD class=\"c1\">d</td>")));
  EXPECT_FALSE(page.contains(QStringLiteral(".c3")));
}

TEST(HTMLPage, MergedCellWrittenOnceWithSpans) {
  TDataGrid g(4, 3);
  g.SetGridCell(1, 0, QStringLiteral("m"));
  g.MergeCells(1, 0, 3, 2);
  g.SetGridCell(0, 1, QStringLiteral("x"));
  const QStringList rows = BodyLines(SaveToHTMLString(g, {}, {})).filter(QStringLiteral("<TR>"));
  ASSERT_EQ(rows.size(), 3);
  EXPECT_EQ(rows[0].count(QStringLiteral("<TD")), 2);
  EXPECT_TRUE(rows[0].contains(QStringLiteral(" COLSPAN=\"3\" ROWSPAN=\"2\">m</td>")));
  EXPECT_EQ(rows[1].count(QStringLiteral("<TD")), 1);
  EXPECT_EQ(rows[2].count(QStringLiteral("<TD")), 4);
}

TEST(HTMLPage, LinksAreQuotedAndOnlyForKnownSchemes) {
  struct TCase {
    const char* text;
    bool full;
    const char* cell;
  };
  const TCase cases[] = {
      {"http://example.org/a?b=1&c=2", false,
       "<a href=\"http://example.org/a?b=1&amp;c=2\">example.org/a?b=1&c=2</a>"},
      {"https://x.org", true, "<a href=\"https://x.org\">https://x.org</a>"},
      {"mailto:me@x.org", false, "<a href=\"mailto:me@x.org\">me@x.org</a>"},
      {"http://x.org\" onmouseover=\"y", false, "<a href=\"http://x.org&quot; onmouseover=&quot;y\">"},
      {"javascript://alert(1)", false, ">javascript://alert(1)</td>"},
      {"<b>http://x.org</b>", false, "><b>http://x.org</b></td>"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.text);
    TDataGrid g(1, 1);
    g.SetGridCell(0, 0, QString::fromUtf8(c.text));
    THTMLOptions o;
    o.URLShow = true;
    o.URLFull = c.full;
    EXPECT_TRUE(SaveToHTMLString(g, o, {}).contains(QString::fromUtf8(c.cell)));
  }
}

TEST(HTMLPage, SpecialCharsBlanksAndLineBreaks) {
  TDataGrid g(1, 1);
  g.SetGridCell(0, 0, QStringLiteral("a<b & é\r\nx y"));
  THTMLOptions o;
  EXPECT_TRUE(SaveToHTMLString(g, o, {}).contains(QStringLiteral(">a<b & é<br>\nx y</td>")));
  o.ConvertSpecialChars = o.NonBreakingText = true;
  EXPECT_TRUE(SaveToHTMLString(g, o, {}).contains(
      QStringLiteral(">a&lt;b&nbsp;&amp;&nbsp;&eacute;<br>\nx&nbsp;y</td>")));
}

// A grid whose cells 1 and 2 of the last row carry pictures.
class TPictureGrid : public TDataGrid {
 public:
  using TDataGrid::TDataGrid;
  void ExportCellPictures(int ACol, int ARow, QString& Text, TExportPictures& Pictures) override {
    (void)Text;
    if (ARow == RowCount() - 1 && ACol > 0) Pictures.Jpegs << QByteArray("\xFF\xD8jpeg") + char('0' + ACol);
  }
};

TEST(HTMLPage, PicturesBesideThePageNumberedFromOne) {
  TPictureGrid g(3, 2);
  g.FixedRowCount = 1;
  TScratch dir;
  const QString page = dir.Path(QStringLiteral("p.html"));
  SaveToHTML(g, {}, page, false);
  const QString folder = QFileInfo(page).absolutePath() + QStringLiteral("/images/");
  EXPECT_EQ(ReadAll(folder + QStringLiteral("img1.jpg")), "\xFF\xD8jpeg1");
  EXPECT_EQ(ReadAll(folder + QStringLiteral("img2.jpg")), "\xFF\xD8jpeg2");
  EXPECT_TRUE(ReadAll(page).contains("<img src= \"file://" + folder.toUtf8() + "img1.jpg\">"));
  THTMLOptions off;
  off.ExportImages = false;
  EXPECT_FALSE(SaveToHTMLString(g, off, dir.Path(QStringLiteral("x/"))).contains(QStringLiteral("<img")));
  WriteAll(dir.Path(QStringLiteral("file")), "");
  EXPECT_THROW(SaveToHTMLString(g, {}, dir.Path(QStringLiteral("file/"))), plat::Exception);
}

TEST(HTMLFile, SevenBitFileKeepsEveryCharacterAsReference) {
  TDataGrid g(1, 1);
  g.SetGridCell(0, 0, QStringLiteral("Zähler €"));
  TScratch dir;
  const QString file = dir.Path(QStringLiteral("p.html"));
  SaveToHTML(g, {}, file, false);
  const QByteArray bytes = ReadAll(file);
  EXPECT_TRUE(bytes.contains(">Z&#228;hler &#8364;</td>"));
  for (char c : bytes) EXPECT_GE(static_cast<signed char>(c), 0);
  SaveToHTML(g, {}, file, true);
  const QByteArray wide = ReadAll(file);
  ASSERT_TRUE(wide.startsWith("\xFF\xFE"));
  EXPECT_TRUE(QString::fromUtf16(reinterpret_cast<const char16_t*>(wide.constData() + 2), (wide.size() - 2) / 2)
                  .contains(QStringLiteral(">Zähler €</td>")));
}

TEST(HTMLFile, AppendKeepsThePageAndAddsHeaderAndFooterFiles) {
  TDataGrid g(1, 1);
  g.SetGridCell(0, 0, QStringLiteral("x"));
  TScratch dir;
  const QString file = dir.Path(QStringLiteral("p.html")), head = dir.Path(QStringLiteral("h.txt")),
                foot = dir.Path(QStringLiteral("f.txt"));
  WriteAll(file, "<p>before</p>\n");
  WriteAll(head, "<h1>Meters</h1>\n");
  WriteAll(foot, "<p>end</p>");
  THTMLOptions o;
  o.HeaderFile = head;
  o.FooterFile = foot;
  SaveToHTML(g, o, file, false, true);
  const QByteArray bytes = ReadAll(file);
  EXPECT_TRUE(bytes.startsWith("<p>before</p>\r\n<h1>Meters</h1>\r\n<style>"));
  EXPECT_TRUE(bytes.endsWith("</TABLE>\r\n<p>end</p>\r\n"));
  o.FooterFile = dir.Path(QStringLiteral("missing.txt"));
  EXPECT_THROW(SaveToHTML(g, o, file, false), plat::Exception);
  EXPECT_TRUE(ReadAll(file).startsWith("<p>before</p>")) << "a failed save leaves the file whole";
}

TEST(HTMLPage, ExportNotificationsFrameTheRows) {
  TDataGrid g(1, 2);
  QStringList log;
  g.OnExportNotification = [&log](TGridExportState s, int r) { log << QStringLiteral("%1:%2").arg(s).arg(r); };
  SaveToHTMLString(g, {}, {});
  EXPECT_EQ(log, (QStringList{"0:0", "1:0", "1:1", "4:-1"}));
}

}  // namespace
}  // namespace grid
