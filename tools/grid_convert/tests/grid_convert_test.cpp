// Runs grid_convert between the grid's formats, from standard input, and on files it cannot read.

#include <QFile>
#include <QProcess>
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
