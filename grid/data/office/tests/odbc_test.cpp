// Database import through ODBC against a real driver: an SQLite file made by the sqlite3 program, read
// through the SQLite ODBC driver. A missing sqlite3 or driver fails the test.

#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include "grid/data/office/office_exchange.h"
#include "grid/data/tests/data_test_util.h"
#include "grid/griderror.h"

namespace grid {
namespace {

using testing::Cells;
using testing::Fill;
using testing::TScratch;
using testing::TTable;

QByteArray Sqlite(const QString& File, const QByteArray& Script) {
  QProcess p;
  p.start("sqlite3", {File});
  EXPECT_TRUE(p.waitForStarted()) << "sqlite3 is needed (scripts/setup.sh installs it)";
  p.write(Script);
  p.closeWriteChannel();
  EXPECT_TRUE(p.waitForFinished(30000));
  EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
  return p.readAllStandardOutput();
}

class OdbcImport : public ::testing::Test {
 protected:
  void SetUp() override {
    db = dir.Path("meters data.db");
    Sqlite(db, "CREATE TABLE meters(id TEXT, reading REAL, note TEXT);"
               "INSERT INTO meters VALUES('00012345', 1.5, 'hall'), ('7', 20, NULL), ('8', -3.25, ''),"
               " ('9', 0, 'Z\xc3\xa4hler'), ('10', 42, 'two\nlines');"
               "CREATE TABLE \"meter readings\"(a INTEGER);"
               "INSERT INTO \"meter readings\" VALUES(1),(2);");
  }
  QString Raised(const std::function<void()>& F) {
    try {
      F();
    } catch (const EExtGridError& e) {
      return e.Message();
    }
    return QStringLiteral("(nothing raised)");
  }
  TScratch dir;
  QString db;
};

TEST_F(OdbcImport, TableGivesFieldNamesInTheLastFixedRowAndRecordsBelow) {
  TDataGrid g;
  Fill(g, TTable(9, std::vector<QString>(6, "old")));
  g.FixedRowCount = 2, g.FixedColCount = 1;
  LoadFromMDBTable(g, db, "meters");
  EXPECT_EQ(g.ColCount(), 4);
  EXPECT_EQ(g.RowCount(), 7);  // two fixed rows and the five records, no stale rows below
  TTable want = {
      {"old", "old", "old", "old"},
      {"old", "id", "reading", "note"},
      {"old", "00012345", "1.5", "hall"},
      {"old", "7", "20.0", ""},
      {"old", "8", "-3.25", ""},
      {"old", "9", "0.0", QString::fromUtf8("Z\u00e4hler")},
      {"old", "10", "42.0", "two\nlines"},
  };
  EXPECT_EQ(Cells(g), want);
}

TEST_F(OdbcImport, QueriesRunAsWrittenAndTableNamesAreQuoted) {
  TDataGrid g(1, 1);
  LoadFromMDBSQL(g, db, "SELECT id, note FROM meters WHERE reading > 10 ORDER BY id");
  EXPECT_EQ(Cells(g), (TTable{{"10", "two\nlines"}, {"7", ""}}));

  LoadFromMDBTable(g, db, "meter readings");  // a name that works only when quoted
  EXPECT_EQ(Cells(g), (TTable{{"1"}, {"2"}}));

  const QString hostile = "meters\"; DROP TABLE meters; --";
  EXPECT_TRUE(Raised([&] { LoadFromMDBTable(g, db, hostile); }).contains("cannot be quoted"));
  EXPECT_EQ(Sqlite(db, "SELECT count(*) FROM meters;").trimmed(), "5");
}

TEST_F(OdbcImport, FailuresNameTheDatabaseAndCreateNothing) {
  TDataGrid g(2, 2);
  const QString missing = dir.Path("missing.db");
  EXPECT_TRUE(Raised([&] { LoadFromMDBTable(g, missing, "meters"); }).contains("no such database file"));
  EXPECT_FALSE(QFileInfo::exists(missing));
  const QString bad = Raised([&] { LoadFromMDBSQL(g, db, "SELEKT nothing"); });
  EXPECT_TRUE(bad.startsWith(db) && bad.contains("syntax error")) << bad.toStdString();
  EXPECT_TRUE(Raised([&] { LoadFromMDBTable(g, db, "nothere"); }).contains("no such table"));
  EXPECT_TRUE(Raised([&] { LoadFromMDBSQL(g, "DRIVER=NoSuchDriver;Database=x", "SELECT 1"); }).contains("DRIVER=NoSuchDriver"));
}

}  // namespace
}  // namespace grid
