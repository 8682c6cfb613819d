// The string grid's printing members: printing to PDF files read back by poppler's tools, the grid's print events
// on the way, and the print settings kept in an INI file.

#include <QFile>
#include <QPageLayout>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cmath>
#include <functional>

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
  // Prints the grid through one of its members (Print unless given) into a PDF file.
  QString PrintPdf(const QString& Name, const std::function<void(QPrinter&)>& How = {}) {
    const QString pdf = File(Name);
    QPrinter printer(QPrinter::HighResolution);
    TGridPrinter::SetUpPdfPrinter(printer, pdf);
    if (How) How(printer);
    else g->Print(printer);
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

// Each way of printing part of the grid puts exactly its cells on paper (cells read "col:row"; column 0 and row 0
// are fixed).
TEST_F(GridPrint, PartsOfTheGridPrintOnlyTheirCells) {
  TMouseActions& mouse = *g->MouseActions();
  struct TCase {
    const char* Name;
    std::function<void(QPrinter&)> Print;
    QStringList In, Out;
  };
  const TCase cases[] = {
      {"a rectangle", [&](QPrinter& p) { g->PrintRect(p, plat::TGridRect{2, 3, 3, 5}); },
       {"2:3", "3:5"}, {"1:3", "4:4", "2:2", "2:6", "0:0"}},
      {"the selection",
       [&](QPrinter& p) {
         g->SetSelection({1, 2, 2, 4});
         g->PrintSelection(p);
       },
       {"1:2", "2:4"}, {"3:2", "1:5", "0:2", "1:0"}},
      {"disjunct rows",
       [&](QPrinter& p) {
         mouse.SetDisjunctRowSelect(true);
         g->SetRowSelect(2, true), g->SetRowSelect(5, true);
         g->PrintSelectedRows(p);
       },
       {"1:2", "5:5", "3:2"}, {"1:3", "1:4", "0:0", "1:0"}},
      {"disjunct columns",
       [&](QPrinter& p) {
         mouse.SetDisjunctColSelect(true);
         g->SetColSelect(2, true), g->SetColSelect(4, true);
         g->SetSelection({4, 1, 4, 7});  // the rows still come from the selection
         g->PrintSelectedCols(p);
       },
       {"2:1", "4:7"}, {"3:1", "1:1", "0:1", "5:1"}},
      {"the selection's rows and columns",
       [&](QPrinter& p) {
         g->SetSelection({2, 3, 3, 4});
         g->PrintSelectedRows(p);
       },
       {"2:3", "3:4"}, {"1:3", "2:5", "4:3"}},
      {"fixed cells always",
       [&](QPrinter& p) {
         g->PrintSettings()->FixedCellsAlways = true;
         g->SetSelection({2, 3, 2, 3});
         g->PrintSelectedCols(p);
       },
       {"0:0", "2:0", "0:3", "2:3"}, {"2:4", "3:3", "1:0"}},
      {"rows selected by real index over a hidden row",
       [&](QPrinter& p) {
         mouse.SetDisjunctRowSelect(true);
         mouse.RowSelectPersistent = true;
         g->HideRow(3);
         g->SelectRows(3, 1);  // shows real row 4
         g->PrintSelectedRows(p);
       },
       {"1:4"}, {"1:5", "1:2"}},
  };
  for (const TCase& c : cases) {
    mouse.SetDisjunctRowSelect(false), mouse.SetDisjunctColSelect(false);
    mouse.RowSelectPersistent = false;
    g->ClearRowSelect(), g->ClearColSelect();
    g->UnHideRowsAll();
    g->PrintSettings()->FixedCellsAlways = false;
    const QString text = PdfText(PrintPdf(QStringLiteral("part.pdf"), c.Print));
    for (const QString& cell : c.In) EXPECT_TRUE(text.contains(cell)) << c.Name << ": " << cell.toStdString();
    for (const QString& cell : c.Out) EXPECT_FALSE(text.contains(cell)) << c.Name << ": " << cell.toStdString();
  }
}

// A preview draws the page PreviewPage chose, with IsPrintPreview on only while it draws; the drawing members
// draw one page of the cells asked for; the band's columns and page are those of the last run.
TEST_F(GridPrint, PreviewsDrawTheChosenPageAndReportTheirLayout) {
  g->SetRowCount(300);
  for (int r = 8; r < 300; ++r) g->SetCells(0, r, QStringLiteral("Row%1").arg(r));
  QImage image(600, 850, QImage::Format_RGB32);
  plat::TCanvas canvas(&image);
  std::vector<int> drawn;
  bool previewFlag = false;
  g->OnPrintPage = [&](plat::TObject*, plat::TCanvas*, int PageNr, int, int) {
    drawn.push_back(PageNr);
    previewFlag = g->IsPrintPreview();
  };
  std::vector<int> nextRows;
  g->OnPrintPageDone = [&](plat::TObject*, plat::TCanvas*, int LastRow, int, int, int, int) {
    nextRows.push_back(LastRow);
  };
  EXPECT_EQ(g->PreviewPage(), 1);
  g->SetPreviewPage(2);
  g->PrintPreview(canvas, plat::TRect(0, 0, 600, 850));
  EXPECT_GE(g->PrintNrOfPages(), 3);
  EXPECT_EQ(drawn, std::vector<int>{2});
  EXPECT_TRUE(previewFlag);
  EXPECT_FALSE(g->IsPrintPreview());
  EXPECT_EQ(g->PreviewPage(), 2);
  // The page is as large as the display rectangle: 600 x 850 pixels at the canvas's 96 dots per inch.
  EXPECT_EQ(g->PrintPageRect().Right, 1588);
  EXPECT_EQ(g->PrintPageRect().Bottom, -2249);

  drawn.clear(), nextRows.clear();
  g->SetPreviewPage(1);
  g->PrintPreviewRect(canvas, plat::TRect(0, 0, 600, 850), plat::TGridRect{2, 10, 4, 12});
  EXPECT_EQ(g->PrintNrOfPages(), 1);
  EXPECT_EQ(drawn, std::vector<int>{1});
  EXPECT_EQ(nextRows, std::vector<int>{13});
  EXPECT_EQ(g->PrintColStart(), 2);
  EXPECT_EQ(g->PrintColEnd(), 4);

  // Drawing puts the cells on one page, however many pages a print would take.
  drawn.clear(), nextRows.clear();
  g->PrintDrawRect(canvas, plat::TRect(0, 0, 300, 300), plat::TGridRect{0, 0, 5, 299});
  EXPECT_EQ(g->PrintNrOfPages(), 1);
  EXPECT_EQ(drawn, std::vector<int>{1});
  ASSERT_EQ(nextRows.size(), 1u);
  EXPECT_LT(nextRows[0], 300) << "the page ends where the drawing rectangle does";
}

// OnPrintPageDone reports, page by page, the row the next page starts with: the printed pages agree.
TEST_F(GridPrint, PageDoneTellsTheRowTheNextPageStartsWith) {
  g->SetRowCount(200);
  for (int r = 8; r < 200; ++r) g->SetCells(0, r, QStringLiteral("Row%1").arg(r));
  struct TDone {
    int LastRow, Offset, Page, XSize, YSize;
  };
  std::vector<TDone> done;
  g->OnPrintPageDone = [&](plat::TObject* Sender, plat::TCanvas* Canvas, int LastRow, int Offset, int Page, int X,
                           int Y) {
    EXPECT_EQ(Sender, g);
    EXPECT_NE(Canvas, nullptr);
    done.push_back({LastRow, Offset, Page, X, Y});
  };
  const QString pdf = PrintPdf(QStringLiteral("done.pdf"));
  const int pages = g->PrintNrOfPages();
  ASSERT_GE(pages, 2);
  ASSERT_EQ(int(done.size()), pages);
  for (int k = 0; k < pages; ++k) {
    EXPECT_EQ(done[k].Page, k + 1);
    EXPECT_NEAR(done[k].XSize, 2100, 2) << "A4 in tenths of a millimetre";
    EXPECT_NEAR(done[k].YSize, 2970, 2);
    EXPECT_LT(done[k].Offset, 0);
    EXPECT_GT(done[k].Offset, -2970);
    if (k + 1 == pages) {
      EXPECT_EQ(done[k].LastRow, 200);
      continue;
    }
    const QRegularExpression next(QStringLiteral("\\bRow%1\\b").arg(done[k].LastRow));
    EXPECT_FALSE(PdfText(pdf, k + 1).contains(next)) << "page " << k + 1;
    EXPECT_TRUE(PdfText(pdf, k + 2).contains(next)) << "page " << k + 2;
  }
}

// With a custom fit the grid's OnFitToPage sees the factor that fits the columns to the page and may refuse or
// change it; the fonts scale with the columns while the print runs and are back to 1 after it.
TEST_F(GridPrint, FitToPageAsksTheGridForTheFactor) {
  g->SetColCount(14);
  for (int c = 0; c < 14; ++c) g->SetCells(c, 1, QStringLiteral("A rather long reading %1").arg(c));
  TPrintSettings* s = g->PrintSettings();
  PrintPdf(QStringLiteral("natural.pdf"));
  const int natural = g->GetPrintColWidth(3);
  ASSERT_GT(natural, 0);
  s->FitToPage = fpCustom;
  struct TCase {
    const char* Name;
    bool Allow;
    double SetFactor;  // 0: leave the offered factor
    bool FitsOnePage;
  };
  const TCase cases[] = {
      {"offered factor", true, 0, true},
      {"refused", false, 0, false},
      {"changed", true, 0.25, true},
  };
  for (const TCase& c : cases) {
    double offered = 0, used = 1;
    g->OnFitToPage = [&](plat::TObject* Sender, double& Factor, bool& Allow) {
      EXPECT_EQ(Sender, g);
      offered = Factor;
      if (c.SetFactor > 0) Factor = c.SetFactor;
      Allow = c.Allow;
      used = c.Allow ? Factor : 1;
    };
    int fontHeight = 0;
    g->OnPrintPage = [&](plat::TObject*, plat::TCanvas*, int, int, int) { fontHeight = g->MapFontHeight(10); };
    const QString pdf = PrintPdf(QStringLiteral("fit.pdf"));
    EXPECT_GT(offered, 0.1) << c.Name;
    EXPECT_LT(offered, 1) << c.Name << ": the grid is wider than the page";
    EXPECT_EQ(g->GetPrintColWidth(3), int(natural * used)) << c.Name;
    EXPECT_EQ(fontHeight, -int(10 * 254.0 / 72 * used)) << c.Name;
    EXPECT_EQ(PdfPages(pdf) == 1, c.FitsOnePage) << c.Name;
  }
  EXPECT_EQ(g->MapFontHeight(10), -35) << "no scale outside a print";
  EXPECT_EQ(g->MapFontSize(35), 9);

  // Other fits never ask.
  bool asked = false;
  g->OnFitToPage = [&](plat::TObject*, double&, bool&) { asked = true; };
  s->FitToPage = fpShrink;
  PrintPdf(QStringLiteral("shrink.pdf"));
  EXPECT_FALSE(asked);
}

}  // namespace
}  // namespace grid
