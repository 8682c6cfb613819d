// CSV against a real peer: Python's csv module reads what the grid writes, and the grid reads what Python writes,
// to the same cells. A missing python3 fails the test.

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

#include <gtest/gtest.h>

#include "grid/data/csv_format.h"
#include "grid/data/tests/data_test_util.h"

namespace grid {
namespace {

using testing::Fill;
using testing::TScratch;
using testing::TTable;

// Reads a CSV file with the given separator and encoding and prints its rows as JSON.
const char* ReadScript = R"(
import csv, json, sys
path, sep, enc = sys.argv[1], sys.argv[2], sys.argv[3]
with open(path, newline='', encoding=enc) as f:
    print(json.dumps(list(csv.reader(f, delimiter=sep, strict=True))))
)";

// Writes the JSON rows of standard input as CSV with the given separator, quoting and encoding.
const char* WriteScript = R"(
import csv, json, sys
path, sep, quoting, enc = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
rows = json.load(sys.stdin)
with open(path, 'w', newline='', encoding=enc) as f:
    csv.writer(f, delimiter=sep, quoting=quoting).writerows(rows)
)";

QByteArray Python(const QStringList& Args, const QByteArray& Input = {}) {
  QProcess p;
  p.start(QStringLiteral("python3"), Args);
  EXPECT_TRUE(p.waitForStarted()) << "python3 is needed (scripts/setup.sh installs it)";
  p.write(Input);
  p.closeWriteChannel();
  EXPECT_TRUE(p.waitForFinished(30000));
  EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
  return p.readAllStandardOutput();
}

TTable FromJson(const QByteArray& Json) {
  TTable t;
  for (const QJsonValue& row : QJsonDocument::fromJson(Json).array()) {
    t.emplace_back();
    for (const QJsonValue& cell : row.toArray()) t.back().push_back(cell.toString());
  }
  return t;
}

QByteArray ToJson(const TTable& T) {
  QJsonArray rows;
  for (const auto& row : T) {
    QJsonArray cells;
    for (const QString& c : row) cells.append(c);
    rows.append(cells);
  }
  return QJsonDocument(rows).toJson(QJsonDocument::Compact);
}

const QString VT(1, QChar(11));

// The grid's cells: quotes, separators of every dialect, line breaks, blanks at the ends, empty cells, text
// outside ASCII and a formula-like text.
const TTable GridCells = {
    {"plain", "say \"hi\"", "a,b;c", ""},
    {"two\r\nlines", "q\"\r\nx", " 42", "42 "},
    {QString::fromUtf8("Z\u00e4hler \u20ac"), "=1+1", "tab\there", "lone\nLF"},
};

enum TDialect { Rfc, Semicolon, Always, NoEmptyQuotes, Java };

// What a reader that knows only RFC 4180 sees of a grid cell in each dialect.
QString AsPeerSees(const QString& Cell, TDialect D) {
  if (D == Java) {
    if (Cell.isEmpty()) return QStringLiteral("^");
    QString s = Cell;
    s.replace(u'\r', u'~');
    s.remove(u'\n');
    return s;
  }
  // Multi-line cells travel as character 11, except in a field quoted for its quote, where CR LF becomes LF.
  if (Cell.contains(u'"') && !Cell.contains(D == Semicolon ? u';' : u',') && D != Always)
    return QString(Cell).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  if (D == Always) return QString(Cell).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return QString(Cell).replace(QStringLiteral("\r\n"), VT);
}

TEST(CsvPeer, PythonReadsEveryDialectTheGridWrites) {
  for (TDialect d : {Rfc, Semicolon, Always, NoEmptyQuotes, Java}) {
    TScratch dir;
    TDataGrid g;
    Fill(g, GridCells);
    g.Options.Delimiter = d == Semicolon ? u';' : u',';
    g.Options.AlwaysQuotes = d == Always;
    g.Options.QuoteEmptyCells = d != NoEmptyQuotes;
    g.Options.JavaCSV = d == Java;
    SaveToCSV(g, dir.Path("g.csv"), d == Rfc);
    TTable expected = GridCells;
    for (auto& row : expected)
      for (QString& c : row) c = AsPeerSees(c, d);
    const QString sep(g.Options.Delimiter);
    EXPECT_EQ(FromJson(Python({"-c", ReadScript, dir.Path("g.csv"), sep, d == Rfc ? "utf-8-sig" : "utf-8"})), expected)
        << "dialect " << d;
  }
}

// Python quotes line breaks, quotes and separators per RFC 4180; the grid reads them back as they were.
const TTable PeerCells = {
    {"id", "name", "note"},
    {"1", "say \"hi\"", "a,b;c"},
    {"2", "multi\r\nline", "lf\nonly"},
    {"", " lead", "trail "},
    {QString::fromUtf8("\u00e4\u00f6\u00fc"), QString::fromUtf8("\u20ac 5"), ""},
};

TEST(CsvPeer, TheGridReadsWhatPythonWrites) {
  const struct {
    const char* sep;
    int quoting;  // csv.QUOTE_MINIMAL 0, QUOTE_ALL 1
    const char* encoding;
    bool detect;
  } cases[] = {
      {",", 0, "utf-8", false}, {";", 0, "utf-8-sig", true}, {",", 1, "utf-8", true},
      {"\t", 0, "cp1252", false}, {"|", 1, "cp1252", true},
  };
  for (const auto& c : cases) {
    TScratch dir;
    Python({"-c", WriteScript, dir.Path("p.csv"), c.sep, QString::number(c.quoting), c.encoding}, ToJson(PeerCells));
    TDataGrid g(1, 1);
    if (!c.detect) g.Options.Delimiter = QChar::fromLatin1(c.sep[0]);
    LoadFromCSV(g, dir.Path("p.csv"));
    EXPECT_EQ(testing::Cells(g), PeerCells) << c.sep << " " << c.quoting << " " << c.encoding;
  }
}

}  // namespace
}  // namespace grid
