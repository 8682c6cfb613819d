// HTML pages and XML files against real readers: Python's xml.etree reads the XML the grid writes, and
// html.parser reads the page, to the same cells. A missing python3 fails the test.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include "grid/data/html_export.h"
#include "grid/data/tests/data_test_util.h"
#include "grid/data/xml_format.h"

namespace grid {
namespace {

using testing::Fill;
using testing::TScratch;
using testing::TTable;

// The records of a flat XML file as JSON rows of field texts.
const char* XmlScript = R"(
import json, sys, xml.etree.ElementTree as et
root = et.parse(sys.argv[1]).getroot()
print(json.dumps([[f.text or '' for f in rec] for rec in root]))
)";

// The rows of the first table of a page as JSON: per cell its text and its COLSPAN and ROWSPAN.
const char* HtmlScript = R"(
import json, sys
from html.parser import HTMLParser
class P(HTMLParser):
    def __init__(s):
        super().__init__(convert_charrefs=True); s.rows = []; s.cell = None; s.classes = []
    def handle_starttag(s, tag, attrs):
        a = dict(attrs)
        if tag == 'tr': s.rows.append([])
        elif tag == 'td':
            s.cell = {'text': '', 'colspan': a.get('colspan', '1'), 'rowspan': a.get('rowspan', '1'),
                      'class': a.get('class')}
            s.rows[-1].append(s.cell)
        elif tag == 'a' and s.cell is not None: s.cell['href'] = a.get('href')
        elif tag == 'br' and s.cell is not None: s.cell['text'] += '\n'
    def handle_endtag(s, tag):
        if tag == 'td': s.cell = None
    def handle_data(s, d):
        if s.cell is not None: s.cell['text'] += d
p = P()
p.feed(open(sys.argv[1], encoding=sys.argv[2]).read())
print(json.dumps(p.rows))
)";

QByteArray Python(const char* Script, const QStringList& Args) {
  QProcess p;
  p.start(QStringLiteral("python3"), QStringList{QStringLiteral("-c"), QString::fromUtf8(Script)} + Args);
  EXPECT_TRUE(p.waitForStarted()) << "python3 is needed (scripts/setup.sh installs it)";
  EXPECT_TRUE(p.waitForFinished(30000));
  EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
  return p.readAllStandardOutput();
}

const TTable kAwkward = {
    {"&", "<", "&gt;", "\"q\"", "Zähler"},
    {"€ 1,5", "Ω", "a > b", "it's", "日本"},
};

TEST(XMLPeer, PythonReadsTheGridTextsInEveryEncoding) {
  for (const char* enc : {"ISO-8859-1", "UTF-8", "US-ASCII"}) {
    SCOPED_TRACE(enc);
    TDataGrid g;
    Fill(g, kAwkward);
    TScratch dir;
    TXMLExportOptions o;
    o.Encoding = QString::fromLatin1(enc);
    SaveToXML(g, dir.Path(QStringLiteral("g.xml")), o);
    const QJsonArray rows = QJsonDocument::fromJson(Python(XmlScript, {dir.Path(QStringLiteral("g.xml"))})).array();
    TTable read;
    for (const QJsonValue& r : rows) {
      read.emplace_back();
      for (const QJsonValue& c : r.toArray()) read.back().push_back(c.toString());
    }
    EXPECT_EQ(read, kAwkward);
  }
}

TEST(HTMLPeer, PythonReadsRowsCellsSpansAndLinks) {
  TDataGrid g(3, 3);
  Fill(g, {{"H&1", "H2", "H3"}, {"m", "", "x"}, {"a\r\nb", "c", "http://x.org/?a=1&b=2"}});
  g.FixedRowCount = 1;
  g.MergeCells(0, 1, 2, 1);
  THTMLOptions o;
  o.ConvertSpecialChars = true;
  o.URLShow = true;
  TScratch dir;
  const QString file = dir.Path(QStringLiteral("p.html"));
  for (bool unicode : {false, true}) {
    SaveToHTML(g, o, file, unicode);
    const QJsonArray rows =
        QJsonDocument::fromJson(Python(HtmlScript, {file, unicode ? QStringLiteral("utf-16") : QStringLiteral("ascii")}))
            .array();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].toArray().size(), 3);
    EXPECT_EQ(rows[0][0].toObject()[QStringLiteral("text")].toString(), QStringLiteral("H&1"));
    const QJsonArray body = rows[1].toArray();
    ASSERT_EQ(body.size(), 2);
    EXPECT_EQ(body[0].toObject()[QStringLiteral("colspan")].toString(), QStringLiteral("2"));
    EXPECT_EQ(body[1].toObject()[QStringLiteral("text")].toString(), QStringLiteral("x"));
    const QJsonArray last = rows[2].toArray();
    EXPECT_EQ(last[0].toObject()[QStringLiteral("text")].toString(), QStringLiteral("a\n\nb"));
    EXPECT_EQ(last[2].toObject()[QStringLiteral("href")].toString(), QStringLiteral("http://x.org/?a=1&b=2"));
    EXPECT_EQ(last[2].toObject()[QStringLiteral("text")].toString(), QStringLiteral("x.org/?a=1&b=2"));
  }
}

}  // namespace
}  // namespace grid
