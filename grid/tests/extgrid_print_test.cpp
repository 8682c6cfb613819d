// The string grid's printing members: printing to PDF files read back by poppler's tools, the grid's print events
// on the way, and the print settings kept in an INI file.

#include <QFile>
#include <QPageLayout>
#include <QPrinter>
#include <QTemporaryDir>

#include "grid/input/tests/input_fixture.h"
#include "grid/print/grid_printer.h"
#include "grid/print/tests/pdf_peer.h"

namespace grid {
namespace {

using grid::testing::PdfInfo;
using grid::testing::PdfPages;
using grid::testing::PdfText;

struct GridPrint : GridInput {
  QTemporaryDir dir;
  QString File(const QString& Name) const { return dir.filePath(Name); }
  // Prints the grid through its member into a PDF file.
  QString PrintPdf(const QString& Name) {
    const QString pdf = File(Name);
    QPrinter printer(QPrinter::HighResolution);
    TGridPrinter::SetUpPdfPrinter(printer, pdf);
    g->Print(printer);
    return pdf;
  }
};

TEST_F(GridPrint, PrintWritesEveryRowAsTheGridShowsItOnNumberedPages) {
  g->SetRowCount(160);
  for (int r = 8; r < 160; ++r) g->SetCells(1, r, QStringLiteral("Meter%1").arg(r));
  g->SetCells(2, 3, QStringLiteral("<b>Bold</b> reading"));
  g->CheckTrue = QStringLiteral("CheckedMark");
  g->AddCheckBox(4, 2, true, true);
  g->PrintSettings()->PageNr = ppBottomRight;

  const QString pdf = PrintPdf(QStringLiteral("grid.pdf"));
  const int pages = g->PrintNrOfPages();
  ASSERT_GE(pages, 2) << "160 rows do not fit one A4 page";
  EXPECT_EQ(PdfPages(pdf), pages);

  const QString first = PdfText(pdf, 1);
  EXPECT_TRUE(first.contains(QStringLiteral("1:1"))) << first.toStdString();
  EXPECT_TRUE(first.contains(QStringLiteral("Bold reading"))) << "markup prints as plain text";
  EXPECT_FALSE(first.contains(QStringLiteral("<b>")));
  EXPECT_FALSE(first.contains(QStringLiteral("CheckedMark"))) << "a data check box prints no text";
  EXPECT_TRUE(first.contains(QStringLiteral("1/%1").arg(pages)));
  const QString last = PdfText(pdf, pages);
  EXPECT_TRUE(last.contains(QStringLiteral("Meter159"))) << last.toStdString();
  EXPECT_TRUE(last.contains(QStringLiteral("%1/%1").arg(pages)));

  // The layout of the run is the grid's print layout.
  EXPECT_GT(g->GetPrintColWidth(1), 0);
  EXPECT_GT(g->GetPrintColOffset(2), g->GetPrintColOffset(1));
}

TEST_F(GridPrint, TheGridsPrintEventsChooseThePagesAndTheirNumbers) {
  g->SetRowCount(300);
  for (int r = 8; r < 300; ++r) g->SetCells(0, r, QStringLiteral("Row%1").arg(r));
  g->PrintSettings()->PageNr = ppTopLeft;
  int counted = 0;
  g->OnPrintStart = [&](plat::TObject* Sender, int NrOfPages, int& From, int& To) {
    EXPECT_EQ(Sender, g);
    counted = NrOfPages;
    From = To = 2;
  };
  g->OnPrintGetPageNum = [](plat::TObject*, int PageNum, int, QString& Text) {
    Text = QStringLiteral("Sheet %1").arg(PageNum);
  };
  const QString pdf = PrintPdf(QStringLiteral("second.pdf"));
  ASSERT_GE(counted, 3);
  ASSERT_EQ(PdfPages(pdf), 1) << "only the chosen page prints";
  const QString text = PdfText(pdf, 1);
  EXPECT_TRUE(text.contains(QStringLiteral("Sheet 2"))) << text.toStdString();
  EXPECT_FALSE(text.contains(QStringLiteral("Row8 "))) << "the first page is left out";

  // Refusing every page writes no file.
  g->OnPrintStart = [](plat::TObject*, int, int& From, int&) { From = 0; };
  EXPECT_FALSE(QFile::exists(PrintPdf(QStringLiteral("none.pdf"))));
}

TEST_F(GridPrint, PrintSettingsGoToAnIniFileAndComeBack) {
  TPrintSettings* s = g->PrintSettings();
  s->TitleText = QStringLiteral("Converter 7");
  s->Borders = pbAround;
  s->Orientation = poLandscape;
  s->LeftSize = 250;
  s->Centered = false;
  const QString ini = File(QStringLiteral("print.ini"));
  g->SavePrintSettings(ini, QStringLiteral("Print"));

  TPrintSettings defaults;
  s->Assign(&defaults);
  ASSERT_EQ(s->TitleText, QString());
  g->LoadPrintSettings(ini, QStringLiteral("Print"));
  EXPECT_EQ(s->TitleText, QStringLiteral("Converter 7"));
  EXPECT_EQ(s->Borders, pbAround);
  EXPECT_EQ(s->Orientation, poLandscape);
  EXPECT_EQ(s->LeftSize, 250);
  EXPECT_FALSE(s->Centered);

  // Loaded settings take effect on the next print: a landscape page.
  const QString pdf = PrintPdf(QStringLiteral("landscape.pdf"));
  const QString size = PdfInfo(pdf, QStringLiteral("Page size"));
  EXPECT_TRUE(size.startsWith(QStringLiteral("842 x 595"))) << size.toStdString();
}

}  // namespace
}  // namespace grid
