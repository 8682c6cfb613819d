// Office files against the office suite as a real peer: it reads every workbook the grid writes to the same
// cells, makes workbooks the grid reads, and turns the grid's documents into PDF whose text holds the table.
// The suite starts slowly, so each test converts all its files in one run. A missing soffice or pdftotext
// fails the test.

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include "grid/data/csv_format.h"
#include "grid/data/office/office_exchange.h"
#include "grid/data/tests/data_test_util.h"

namespace grid {
namespace {

using testing::Cells;
using testing::Fill;
using testing::TScratch;
using testing::TTable;
using testing::WriteAll;

class OfficePeer : public ::testing::Test {
 protected:
  // One run of the suite's converter over Files into OutDir ("out" in the scratch folder).
  void Convert(const QString& Format, const QStringList& Files) {
    ASSERT_FALSE(QStandardPaths::findExecutable("soffice").isEmpty()) << "soffice is needed (scripts/setup.sh installs it)";
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    // A home of its own as well as a profile: nothing of the user's suite is read or locked.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", dir.Path("home"));
    p.setProcessEnvironment(env);
    QStringList args = {"--headless", "--norestore", "-env:UserInstallation=file://" + dir.Path("profile"),
                        "--convert-to", Format, "--outdir", dir.Path("out")};
    p.start("soffice", args + Files);
    ASSERT_TRUE(p.waitForStarted());
    ASSERT_TRUE(p.waitForFinished(240000)) << "the converter did not finish";
    ASSERT_EQ(p.exitCode(), 0) << p.readAll().constData();
  }
  // A CSV file of the suite, read by the grid's RFC 4180 reader.
  TTable Csv(const QString& Name) {
    EXPECT_TRUE(QFileInfo::exists(dir.Path("out/" + Name))) << Name.toStdString();
    TDataGrid g(0, 0);
    g.Options.Delimiter = u',';
    LoadFromCSV(g, dir.Path("out/" + Name));
    return Cells(g);
  }
  QString Path(const QString& Name) const { return dir.Path(Name); }

  TScratch dir;
};

// Every sheet of every workbook as UTF-8 CSV, one file per sheet named after the workbook and the sheet.
const QString AllSheetsCsv = "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,false,true,false,false,-1";

TEST_F(OfficePeer, WorkbooksReadTheSameInTheOfficeSuiteBothWays) {
  // A workbook the suite makes from CSV: numbers, a date, a formula, shared strings.
  WriteAll(Path("made.csv"), "id,name,when,value\n00123,\"a, b\",2024-03-05,1.5\n7,\"two\nlines\",,=1+1\n");
  Convert("xlsx", {Path("made.csv")});
  TDataGrid read(1, 1);
  LoadFromXLS(read, Path("out/made.xlsx"));
  EXPECT_EQ(Cells(read), (TTable{{"id", "name", "when", "value"}, {"123", "a, b", "05/03/2024", "1.5"},
                                 {"7", "two\nlines", "", "2"}}));

  // The grid writes a new workbook, a wide one, and a sheet added to the suite's workbook.
  const TTable texts = {
      {"00012345", "=1+1", "42", "1.5", "-0"},
      {"1.50", "1e5", " lead", "trail ", "two\nlines"},
      {"a&b<c>\"d\"", "_x0041_", QString::fromUtf8("Z\u00e4hler \u20ac"), "123456789012345", "True"},
      {"", "", "", "", "last"},
  };
  TDataGrid g;
  Fill(g, texts);
  SaveToXLS(g, Path("new.xlsx"), true);
  SaveToXLSSheet(g, Path("out/made.xlsx"), "Added");
  TTable wide(2, std::vector<QString>(703));
  for (int c = 0; c < 703; ++c) wide[1][static_cast<size_t>(c)] = QStringLiteral("c%1").arg(c);
  TDataGrid w;
  Fill(w, wide);
  SaveToXLS(w, Path("wide.xlsx"), true);

  QDir(Path("out")).rename("made.xlsx", "../made.xlsx");
  Convert(AllSheetsCsv, {Path("new.xlsx"), Path("wide.xlsx"), Path("made.xlsx")});
  EXPECT_EQ(Csv("new-Sheet1.csv"), texts);
  const TTable wideSeen = Csv("wide-Sheet1.csv");
  ASSERT_EQ(wideSeen.size(), 2u);
  EXPECT_EQ(wideSeen[0].size(), 703u);
  EXPECT_EQ(wideSeen[1], wide[1]);
  EXPECT_EQ(Csv("made-Added.csv"), texts);
  EXPECT_EQ(Csv("made-made.csv"), (TTable{{"id", "name", "when", "value"}, {"123", "a, b", "2024-03-05", "1.5"},
                                          {"7", "two\nlines", "", "2"}}));
}

// The suite lays out a document the grid writes and prints it: the PDF's text holds every cell, row by row.
TEST_F(OfficePeer, DocumentsPrintToPdfWithTheTable) {
  ASSERT_FALSE(QStandardPaths::findExecutable("pdftotext").isEmpty()) << "pdftotext is needed (scripts/setup.sh installs it)";
  const TTable texts = {
      {"Meter", "Value", "Unit"},
      {QString::fromUtf8("Z\u00e4hler"), "12.5", "kWh"},
      {"a&b", "\"q\"", "<x>"},
  };
  TDataGrid g;
  Fill(g, texts);
  SaveToDOC(g, Path("table.docx"), true, "after the table");
  Convert("pdf", {Path("table.docx")});
  QProcess p;
  p.start("pdftotext", {"-layout", Path("out/table.pdf"), "-"});
  ASSERT_TRUE(p.waitForFinished(60000));
  ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
  const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n');
  // Each row of the table is one line of the page (the texts fit their columns), its cells in order; the rows
  // follow each other.
  qsizetype last = -1;
  for (const auto& row : texts) {
    const QRegularExpression line("^\\s*" + QRegularExpression::escape(row[0]) + "\\s+" +
                                  QRegularExpression::escape(row[1]) + "\\s+" + QRegularExpression::escape(row[2]) +
                                  "\\s*$");
    const qsizetype at = lines.indexOf(line);
    EXPECT_GT(at, last) << row[0].toStdString();
    last = at;
  }
  EXPECT_GT(lines.indexOf(QRegularExpression("after the table")), last);
}

TEST_F(OfficePeer, LegacyWorkbooksGoThroughTheConverter) {
  TDataGrid g;
  Fill(g, {{"00042", "3.25"}, {"x", ""}});
  SaveToXLSSheet(g, Path("old.xls"), "Legacy");
  EXPECT_TRUE(QFileInfo(Path("old.xls")).size() > 0);
  TDataGrid in(1, 1);
  LoadFromXLSSheet(in, Path("old.xls"), "Legacy");
  EXPECT_EQ(Cells(in), (TTable{{"00042", "3.25"}, {"x", ""}}));
}

}  // namespace
}  // namespace grid
