// Runs grid_convert between the grid's formats, from standard input, and on files it cannot read.

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct TRun {
  int Exit = -1;
  QByteArray Err;
};

TRun Convert(const QStringList& Args, const QByteArray& Input = {}) {
  QProcess p;
  p.start(QStringLiteral(GRID_CONVERT), Args);
  EXPECT_TRUE(p.waitForStarted());
  p.write(Input);
  p.closeWriteChannel();
  EXPECT_TRUE(p.waitForFinished(30000));
  return {p.exitCode(), p.readAllStandardError()};
}

QByteArray ReadAll(const QString& Path) {
  QFile f(Path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& Path, const QByteArray& Data) {
  QFile f(Path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(Data);
}

const QByteArray Csv = "id;name;note\r\n1;\"a;b\";\"say \"\"hi\"\"\"\r\n2;;\"two\nlines\"\r\n";

// Every format the tool writes and reads brings back every row and column, the first included.
TEST(GridConvert, EveryFormatRoundTripsThroughTheOthers) {
  QTemporaryDir dir;
  const QString in = dir.filePath("in.csv");
  WriteAll(in, Csv);
  const QString expected = dir.filePath("expected.csv");
  ASSERT_EQ(Convert({in, expected, "--delimiter", ","}).Exit, 0);
  for (const char* ext : {".txt", ".grd", ".xml", ".xlsx"}) {
    const QString mid = dir.filePath(QStringLiteral("mid") + ext), back = dir.filePath("back.csv");
    ASSERT_EQ(Convert({in, mid}).Exit, 0) << ext;
    ASSERT_EQ(Convert({mid, back}).Exit, 0) << ext;
    EXPECT_EQ(ReadAll(back), ReadAll(expected)) << ext;
  }
  EXPECT_EQ(ReadAll(expected), "id,name,note\r\n1,a;b,\"say \"\"hi\"\"\"\r\n2,\"\",\"two\nlines\"\r\n");
}

TEST(GridConvert, WritesAnHTMLPage) {
  QTemporaryDir dir;
  const QString in = dir.filePath("in.csv");
  WriteAll(in, Csv);
  ASSERT_EQ(Convert({in, dir.filePath("p.html")}).Exit, 0);
  const QByteArray page = ReadAll(dir.filePath("p.html"));
  EXPECT_EQ(page.count("<TR>"), 3);
  EXPECT_TRUE(page.contains(">say \"hi\"</td>"));
  EXPECT_NE(Convert({dir.filePath("p.html"), dir.filePath("x.csv")}).Exit, 0) << "pages are not read";
}

// Sheets of one workbook are written one by one and read back by name; a document is written as a package.
TEST(GridConvert, WritesAndReadsNamedSheetsAndWritesDocuments) {
  QTemporaryDir dir;
  WriteAll(dir.filePath("a.csv"), "00012345,=1+1\r\n");
  WriteAll(dir.filePath("b.csv"), "b,2\r\n");
  const QString book = dir.filePath("book.xlsx");
  ASSERT_EQ(Convert({dir.filePath("a.csv"), book, "--sheet", "First"}).Exit, 0);
  ASSERT_EQ(Convert({dir.filePath("b.csv"), book, "--sheet", "Second"}).Exit, 0);
  for (const char* sheet : {"First", "Second"}) {
    const QString back = dir.filePath(QStringLiteral("back-%1.csv").arg(sheet));
    ASSERT_EQ(Convert({book, back, "--sheet", sheet}).Exit, 0) << sheet;
    EXPECT_EQ(ReadAll(back), sheet == QStringLiteral("First") ? "00012345,=1+1\r\n" : "b,2\r\n");
  }
  const TRun missing = Convert({book, dir.filePath("x.csv"), "--sheet", "Third"});
  EXPECT_EQ(missing.Exit, 1);
  EXPECT_TRUE(missing.Err.contains("Excel worksheet Third not found")) << missing.Err.constData();
  ASSERT_EQ(Convert({dir.filePath("a.csv"), dir.filePath("t.docx")}).Exit, 0);
  EXPECT_TRUE(ReadAll(dir.filePath("t.docx")).startsWith("PK"));
}

TEST(GridConvert, WritesFixedAlignedAndQuotedCsv) {
  QTemporaryDir dir;
  const QString in = dir.filePath("in.csv");
  WriteAll(in, "a,bb\r\nccc,d\r\n");
  ASSERT_EQ(Convert({in, dir.filePath("o.fix"), "--positions", "0,5"}).Exit, 0);
  EXPECT_EQ(ReadAll(dir.filePath("o.fix")), "a    bb \r\nccc  d  \r\n");
  ASSERT_EQ(Convert({dir.filePath("o.fix"), dir.filePath("f.csv"), "--positions", "0,5"}).Exit, 0);
  EXPECT_EQ(ReadAll(dir.filePath("f.csv")), "a,bb\r\nccc,d\r\n");
  ASSERT_EQ(Convert({in, dir.filePath("o.asc")}).Exit, 0);
  EXPECT_EQ(ReadAll(dir.filePath("o.asc")), "a   bb \r\nccc d  \r\n");
  ASSERT_EQ(Convert({in, dir.filePath("q.csv"), "--always-quote", "--quote", "'", "--delimiter", "\\t"}).Exit, 0);
  EXPECT_EQ(ReadAll(dir.filePath("q.csv")), "'a'\t'bb'\r\n'ccc'\t'd'\r\n");
}

TEST(GridConvert, ReadsStandardInput) {
  QTemporaryDir dir;
  ASSERT_EQ(Convert({"-", dir.filePath("o.csv")}, "x;y\r\n").Exit, 0);
  EXPECT_EQ(ReadAll(dir.filePath("o.csv")), "x,y\r\n");
  ASSERT_EQ(Convert({dir.filePath("o.csv"), dir.filePath("o.grd")}).Exit, 0);
  ASSERT_EQ(Convert({"-", dir.filePath("b.csv")}, ReadAll(dir.filePath("o.grd"))).Exit, 0);
  EXPECT_EQ(ReadAll(dir.filePath("b.csv")), "x,y\r\n");
}

TEST(GridConvert, AFileItCannotReadLeavesOutUntouched) {
  QTemporaryDir dir;
  const QString out = dir.filePath("out.csv");
  WriteAll(out, "precious");
  WriteAll(dir.filePath("bad.grd"), "not a grid stream");
  WriteAll(dir.filePath("bad.txt"), "0,0\r\n");
  for (const QString& in : {dir.filePath("missing.csv"), dir.filePath("bad.grd"), dir.filePath("bad.txt")}) {
    const TRun r = Convert({in, out});
    EXPECT_EQ(r.Exit, 1) << in.toStdString();
    EXPECT_TRUE(r.Err.startsWith("grid_convert: " + in.toUtf8() + ": ")) << r.Err.constData();
    EXPECT_EQ(r.Err.count('\n'), 1) << r.Err.constData();
    EXPECT_EQ(ReadAll(out), "precious");
  }
  EXPECT_EQ(Convert({dir.filePath("in.xyz"), out}).Exit, 2);
  EXPECT_EQ(Convert({"-", dir.filePath("out.xyz")}).Exit, 2);
}

}  // namespace

namespace {

TEST(GridConvert, SortsTheRowsBeforeSaving) {
  QTemporaryDir dir;
  const QString in = dir.filePath("in.csv"), out = dir.filePath("out.csv");
  WriteAll(in, "10,b\r\n9,c\r\n100,a\r\n");
  ASSERT_EQ(Convert({in, out, "--sort", "0"}).Exit, 0);
  EXPECT_EQ(ReadAll(out), "9,c\r\n10,b\r\n100,a\r\n");  // numbers as numbers, not as text
  ASSERT_EQ(Convert({in, out, "--sort", "1:desc"}).Exit, 0);
  EXPECT_EQ(ReadAll(out), "9,c\r\n10,b\r\n100,a\r\n");
  ASSERT_EQ(Convert({in, out, "--sort", "1"}).Exit, 0);
  EXPECT_EQ(ReadAll(out), "100,a\r\n10,b\r\n9,c\r\n");
  const TRun missing = Convert({in, out, "--sort", "5"});
  EXPECT_EQ(missing.Exit, 1);
  EXPECT_TRUE(missing.Err.contains("no column 5")) << missing.Err.toStdString();
  EXPECT_EQ(ReadAll(out), "100,a\r\n10,b\r\n9,c\r\n");  // left as it was
  EXPECT_EQ(Convert({in, out, "--sort", "x"}).Exit, 2);
}

}  // namespace

namespace {

// --filter keeps the rows whose column matches the condition, in the grid's filter syntax; several must all
// hold; a column the grid does not have is an error that leaves OUT as it was.
TEST(GridConvert, FiltersTheRowsBeforeSaving) {
  QTemporaryDir dir;
  const QString in = dir.filePath("in.csv"), out = dir.filePath("out.csv");
  WriteAll(in, "10,Paris\r\n9,new york\r\n100,Perth\r\n7,Oslo\r\n");
  struct Case {
    QStringList Args;
    QByteArray Out;
  };
  const Case cases[] = {
      {{"--filter", "1=P*"}, "10,Paris\r\n100,Perth\r\n"},
      {{"--filter", "1=p*"}, ""},  // case counts
      {{"--filter", "0=>9"}, "10,Paris\r\n100,Perth\r\n"},  // numbers as numbers
      {{"--filter", "0=<10&>7"}, "9,new york\r\n"},
      {{"--filter", "1=\"new york\"|Oslo"}, "9,new york\r\n7,Oslo\r\n"},
      {{"--filter", "1=!P*"}, "9,new york\r\n7,Oslo\r\n"},
      {{"--filter", "1=P*", "--filter", "0=<50"}, "10,Paris\r\n"},
      {{"--filter", "1=P*", "--sort", "1:desc"}, "100,Perth\r\n10,Paris\r\n"},
      {{"--filter", "1="}, "10,Paris\r\n9,new york\r\n100,Perth\r\n7,Oslo\r\n"},  // no condition: all
  };
  for (const Case& c : cases) {
    ASSERT_EQ(Convert(QStringList{in, out} + c.Args).Exit, 0) << c.Args.join(' ').toStdString();
    EXPECT_EQ(ReadAll(out), c.Out) << c.Args.join(' ').toStdString();
  }
  const TRun missing = Convert({in, out, "--filter", "2=x"});
  EXPECT_EQ(missing.Exit, 1);
  EXPECT_TRUE(missing.Err.contains("no column 2")) << missing.Err.toStdString();
  EXPECT_EQ(ReadAll(out), "10,Paris\r\n9,new york\r\n100,Perth\r\n7,Oslo\r\n");
  for (const char* bad : {"x=1", "=1", "1", "-1=a"}) EXPECT_EQ(Convert({in, out, "--filter", bad}).Exit, 2) << bad;
}

}  // namespace

#ifdef GRID_CONVERT_PDF
#include "grid/print/tests/pdf_peer.h"

namespace {

using grid::testing::PdfInfo;
using grid::testing::PdfText;

// A grid of several pages: every cell's text is on the pages, each row once and in order, on A4 paper.
TEST(GridConvert, PrintsTheGridToAPdfFile) {
  QTemporaryDir dir;
  QByteArray csv = "Slave;Address;Reading\r\n";
  for (int r = 1; r <= 200; ++r) csv += QStringLiteral("S%1;A%2;R%3\r\n").arg(r).arg(r * 7).arg(r * 11).toUtf8();
  WriteAll(dir.filePath("in.csv"), csv);
  const QString pdf = dir.filePath("out.pdf");
  const TRun run = Convert({dir.filePath("in.csv"), pdf});
  ASSERT_EQ(run.Exit, 0) << run.Err.constData();

  const int pages = PdfInfo(pdf, QStringLiteral("Pages")).toInt();
  EXPECT_GE(pages, 3) << "201 rows do not fit on two A4 pages";
  EXPECT_TRUE(PdfInfo(pdf, QStringLiteral("Page size")).startsWith(QStringLiteral("595 x 842"))) << "A4 portrait";
  const QString text = PdfText(pdf);
  EXPECT_EQ(text.count(u'\f'), pages);
  EXPECT_TRUE(text.contains(QStringLiteral("Slave"))) << text.left(400).toStdString();
  qsizetype at = 0;
  for (int r = 1; r <= 200; ++r) {
    const QString row = QStringLiteral("S%1 ").arg(r);
    const qsizetype next = text.indexOf(QRegularExpression(QStringLiteral("\\bS%1\\s+A%2\\s+R%3\\b")
                                                               .arg(r).arg(r * 7).arg(r * 11)), at);
    ASSERT_GE(next, at) << "row " << r << " is missing or out of order";
    at = next + row.size();
  }
  EXPECT_EQ(text.count(QRegularExpression(QStringLiteral("\\bS200\\b"))), 1) << "no row prints twice";
  // The last row is on the last page.
  const QString last = PdfText(pdf, pages);
  EXPECT_TRUE(last.contains(QStringLiteral("S200"))) << last.toStdString();
}

// A grid wider than a page: bands of columns by default; --fit shrinks it to one page that still holds every
// column, --landscape turns the pages; both are refused for files that are not printed.
TEST(GridConvert, TurnsAndFitsThePrintedPages) {
  QTemporaryDir dir;
  QByteArray csv;
  for (int r = 0; r < 4; ++r) {
    QStringList cells;
    for (int c = 0; c < 24; ++c) cells << QStringLiteral("Field%1x%2").arg(c).arg(r);
    csv += cells.join(u';').toUtf8() + "\r\n";
  }
  WriteAll(dir.filePath("wide.csv"), csv);
  struct TCase {
    QStringList Options;
    const char* PageSize;
    bool OnePage;
  };
  const TCase cases[] = {
      {{}, "595 x 842", false},
      {{"--landscape"}, "842 x 595", false},
      {{"--fit"}, "595 x 842", true},
      {{"--landscape", "--fit"}, "842 x 595", true},
  };
  for (const TCase& c : cases) {
    const QString pdf = dir.filePath(c.Options.join(QString()) + "out.pdf");
    const TRun run = Convert(QStringList{dir.filePath("wide.csv"), pdf} + c.Options);
    const std::string what = c.Options.join(u' ').toStdString();
    ASSERT_EQ(run.Exit, 0) << what << ": " << run.Err.constData();
    EXPECT_TRUE(PdfInfo(pdf, QStringLiteral("Page size")).startsWith(QLatin1String(c.PageSize))) << what;
    const int pages = PdfInfo(pdf, QStringLiteral("Pages")).toInt();
    if (c.OnePage) {
      EXPECT_EQ(pages, 1) << what;
      const QString text = PdfText(pdf, 1);
      for (int col : {0, 12, 23})
        EXPECT_TRUE(text.contains(QStringLiteral("Field%1x3").arg(col))) << what << ": column " << col;
    } else {
      EXPECT_GT(pages, 1) << what << ": 24 columns do not fit across one page";
    }
  }
  const TRun csvOut = Convert({dir.filePath("wide.csv"), dir.filePath("out.csv"), "--landscape"});
  EXPECT_EQ(csvOut.Exit, 2) << csvOut.Err.constData();
  EXPECT_FALSE(QFile::exists(dir.filePath("out.csv")));
}

// A file that cannot be written is reported and an old one stays as it was.
TEST(GridConvert, APdfThatCannotBeWrittenIsReported) {
  QTemporaryDir dir;
  WriteAll(dir.filePath("in.csv"), "a,b\r\n");
  const TRun missing = Convert({dir.filePath("in.csv"), dir.filePath("no/such/folder/out.pdf")});
  EXPECT_EQ(missing.Exit, 1);
  EXPECT_TRUE(missing.Err.startsWith("grid_convert: " + dir.filePath("no/such/folder/out.pdf").toUtf8()))
      << missing.Err.constData();
  const QString out = dir.filePath("out.pdf");
  WriteAll(out, "precious");
  WriteAll(dir.filePath("bad.grd"), "not a grid stream");
  EXPECT_EQ(Convert({dir.filePath("bad.grd"), out}).Exit, 1);
  EXPECT_EQ(ReadAll(out), "precious");
}

}  // namespace
#endif
