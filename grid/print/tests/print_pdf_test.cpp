// Printing to PDF files, read back by poppler's tools: page counts, footers, bands, titles and margins.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "pdf_peer.h"
#include "print_fixture.h"

using namespace grid;
using grid::testing::TPrintFixture;

namespace {

using grid::testing::PdfPages;
using grid::testing::RunPdfPeer;

QString PdfPageSize(const QString& File) { return grid::testing::PdfInfo(File, QStringLiteral("Page size")); }
QString PageText(const QString& File, int Page) { return grid::testing::PdfText(File, Page); }

class PrintPdfTest : public ::testing::Test {
 protected:
  PrintPdfTest() { FDir.setAutoRemove(qEnvironmentVariableIsEmpty("PRINT_TEST_KEEP")); }
  QString File(const QString& Name) const { return FDir.filePath(Name); }
  QTemporaryDir FDir;
};

TEST_F(PrintPdfTest, PageCountAndFooterPageNumbersMatchTheLayout) {
  TPrintFixture f(4, 10);
  f.Settings.PageNr = ppBottomRight;
  // Five pages: find the rows of a page first, then make four pages and one row more.
  std::vector<TPrintedPage> pages;
  f.Grid.SetRowCount(400);
  for (int r = 10; r < 400; ++r) f.Grid.SetGridCell(0, r, QStringLiteral("c0r%1").arg(r));
  f.Count(&pages);
  const int perPage = int(pages[0].Rows.size());
  f.Grid.SetRowCount(4 * perPage + 3);
  const QString pdf = File(QStringLiteral("five.pdf"));
  f.Printer.PrintToPdf(pdf);
  EXPECT_EQ(f.Printer.PrintNrOfPages(), 5);
  EXPECT_EQ(PdfPages(pdf), f.Printer.PrintNrOfPages());
  const QString third = PageText(pdf, 3);
  EXPECT_TRUE(third.contains(QStringLiteral("3/5"))) << third.toStdString();
  EXPECT_TRUE(third.contains(QStringLiteral("c0r%1").arg(2 * perPage))) << "the third page starts where two end";
  EXPECT_FALSE(third.contains(QStringLiteral("c0r%1").arg(2 * perPage - 1)));
}

TEST_F(PrintPdfTest, WideGridsRepeatTheFixedColumnOnEveryBand) {
  TPrintFixture f(16, 6, 1, 1);
  for (int r = 0; r < 6; ++r) f.Grid.SetGridCell(0, r, QStringLiteral("Key%1").arg(r));
  f.Settings.UseFixedWidth = true, f.Settings.FixedWidth = 350;
  f.Settings.RepeatFixedCols = true;
  f.Settings.PageNr = ppBottomCenter;
  const QString pdf = File(QStringLiteral("wide.pdf"));
  f.Printer.PrintToPdf(pdf);
  const int n = f.Printer.PrintNrOfPages();
  ASSERT_GE(n, 3);
  EXPECT_EQ(PdfPages(pdf), n);
  for (int page = 1; page <= n; ++page) {
    const QString text = PageText(pdf, page);
    EXPECT_TRUE(text.contains(QStringLiteral("Key3"))) << "band " << page;
    EXPECT_TRUE(text.contains(QStringLiteral("1-%1").arg(page))) << "band " << page << ": " << text.toStdString();
  }
}

TEST_F(PrintPdfTest, TitleLinesHeadThePageAndOnlyTheChosenPagesPrint) {
  TPrintFixture f(3, 300);
  f.Settings.Title = ppTopLeft;
  f.Settings.TitleLines()->Add(QStringLiteral("Meter readings"));
  f.Settings.TitleLines()->Add(QStringLiteral("Second level"));
  f.Printer.Events.OnPrintStart = [](int NrOfPages, int& From, int& To) {
    ASSERT_GE(NrOfPages, 3);
    From = 2, To = 3;
  };
  const QString pdf = File(QStringLiteral("title.pdf"));
  f.Printer.PrintToPdf(pdf);
  ASSERT_EQ(PdfPages(pdf), 2);
  const QString first = PageText(pdf, 1);
  EXPECT_TRUE(first.contains(QStringLiteral("Meter readings"))) << first.toStdString();
  EXPECT_TRUE(first.contains(QStringLiteral("Second level")));
  EXPECT_FALSE(first.contains(QStringLiteral("c0r0 "))) << "the first page printed is page 2";

  // Refusing every page prints nothing.
  TPrintFixture g(2, 5);
  g.Printer.Events.OnPrintStart = [](int, int& From, int&) { From = 0; };
  const QString none = File(QStringLiteral("none.pdf"));
  g.Printer.PrintToPdf(none);
  EXPECT_FALSE(QFile::exists(none));
}

TEST_F(PrintPdfTest, LandscapeTurnsThePage) {
  TPrintFixture f(3, 5);
  f.Settings.Orientation = poLandscape;
  const QString pdf = File(QStringLiteral("land.pdf"));
  f.Printer.PrintToPdf(pdf);
  EXPECT_TRUE(PdfPageSize(pdf).startsWith(QStringLiteral("842 x 595"))) << PdfPageSize(pdf).toStdString();
}

TEST_F(PrintPdfTest, CentredColumnsLeaveEqualMarginsOnTheRenderedPage) {
  for (bool centered : {true, false}) {
    TPrintFixture f(3, 20);
    f.Settings.Centered = centered;
    f.Settings.LeftSize = 100;
    const QString pdf = File(QStringLiteral("centre%1.pdf").arg(centered));
    f.Printer.PrintToPdf(pdf);
    const QString png = File(QStringLiteral("centre%1").arg(centered));
    RunPdfPeer(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"),
                                     QStringLiteral("-singlefile"), pdf, png});
    QImage img(png + QStringLiteral(".png"));
    ASSERT_FALSE(img.isNull());
    int left = img.width(), right = -1;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x)
        if (qGray(img.pixel(x, y)) < 200) left = std::min(left, x), right = std::max(right, x);
    ASSERT_GE(right, left);
    const int rightMargin = img.width() - 1 - right;
    if (centered) {
      EXPECT_LE(std::abs(left - rightMargin), 2) << left << " vs " << rightMargin;
    } else {
      EXPECT_NEAR(left, 28, 2) << "10 mm at 72 dpi";  // LeftSize
      EXPECT_GT(rightMargin, left + 20);
    }
  }
}

}  // namespace
