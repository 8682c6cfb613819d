#pragma once
// The print engine: lays a grid's cells out on pages and, in the drawing modes, draws them.
//
// Every length is a tenth of a millimetre; the canvas is in the metric mapping (y up, so positions down the page
// are negative). Columns are measured (or taken from fixed sizes or the screen), optionally fitted to the page
// width, and cut into bands of whole columns that fit across a page; each band prints its rows page by page.
// Fixed rows and columns may repeat on every page and band; a header and a footer carry the title, date, time and
// page number. The counting modes run the same layout without drawing, so page breaks never differ between the
// count and the print.

#include <QString>

#include <climits>
#include <functional>
#include <memory>
#include <vector>

#include "grid/model/gridtypes.h"
#include "grid/print/print_host.h"
#include "grid/print/print_settings.h"
#include "platform/graphics/types.h"

namespace plat {
class TCanvas;
class TFont;
class TPen;
}

namespace grid {

enum TPrintMode { pmPreview = 0, pmPrint = 1, pmCountPrint = 2, pmCountPreview = 3 };

struct TPrintEvents {
  std::function<void(int NrOfPages, int& FromPage, int& ToPage)> OnPrintStart;
  std::function<void(plat::TCanvas& Canvas, int PageNr, int PageXSize, int PageYSize)> OnPrintPage;
  std::function<void(int ARow, bool& NewPage)> OnPrintNewPage;
  std::function<void(plat::TCanvas& Canvas, int LastRow, int LastRowOffset, int LastPage, int PageXSize,
                     int PageYSize)>
      OnPrintPageDone;
  std::function<void(int PageNr, bool& Cancel)> OnPrintCancel;
  std::function<void(int PageNum, int PageColNum, QString& PageNumString)> OnPrintGetPageNum;
  std::function<void(int ACol, int& Width)> OnPrintSetColumnWidth;
  std::function<void(int ARow, int& Height)> OnPrintSetRowHeight;
  std::function<void(double& ScaleFactor, bool& Allow)> OnFitToPage;
  std::function<void(int ACol, int ARow, plat::TPen& APen, TCellBorders& Borders)> OnGetCellPrintBorder;
};

// One laid-out page, for callers and tests that look at the layout.
struct TPrintedPage {
  int Number = 0;  // 1-based over all bands
  int Band = 0;    // 0-based
  int FirstCol = 0, LastCol = 0;
  bool RepeatedCols = false;
  std::vector<int> Rows;  // in print order, repeated fixed rows included
  int Bottom = 0;         // y below the last row
  int Left = 0, Right = 0;  // where the band's cells start and end across the page
};

struct TPrintRun {
  TPrintMode Mode = pmCountPreview;
  plat::TRect Cells;  // first and last column and row, inclusive
  int PageWidth = 0, PageHeight = 0;
  bool SelectedOnly = false;
  int PageFrom = 1, PageTo = INT_MAX;
  int PageCount = 1;  // the count the page numbers show
  bool FastPrint = false;
  // Print mode: starts the next sheet of paper (called before every page in range but the first).
  std::function<void()> NewPage;
  // When set, every laid-out page is recorded here.
  std::vector<TPrintedPage>* Pages = nullptr;
};

class TPrintEngine {
 public:
  TPrintEngine(TPrintHost& Host, TPrintSettings& Settings, TPrintEvents& Events);
  ~TPrintEngine();
  // Lays out (and in the drawing modes draws) Run.Cells on Canvas, which is in the metric mapping; returns the
  // number of pages.
  int Execute(plat::TCanvas& Canvas, const TPrintRun& Run);

  // What the last run laid out.
  double FontScaleFactor() const { return FScale; }
  int ColWidth(int ACol) const { return ACol >= 0 && ACol < int(FWidths.size()) ? FWidths[ACol] : 0; }
  int ColIndent(int ACol) const { return ACol >= 0 && ACol < int(FIndents.size()) ? FIndents[ACol] : 0; }
  int PrintPageWidth() const { return FBandWidth; }
  int PrintColStart() const { return FBandFirst; }
  int PrintColEnd() const { return FBandLast; }
  plat::TRect PrintPageRect() const { return FPageRect; }
  // A font's height in tenths of a millimetre at the current scale (negative: the character height).
  int MapFontHeight(int PointSize) const;

 private:
  struct TBand {
    int First, Last;  // indexes into FCols
    bool Repeat;
  };
  void Setup(plat::TCanvas& Canvas);
  void MeasureColumns();
  void FitToPage();
  void MakeBands();
  void PlaceBand(const TBand& Band);
  void HeaderFooterSpace();
  int RowHeight(int ARow);
  plat::TSize MeasureCell(int ACol, int ARow);
  void SelectCellFont(int ACol, int ARow, TPrintCellLooks& Looks);
  bool RowPrinted(int ARow) const;
  int PrintedHeight(int ARow) { return RowHeight(ARow) + 2 * FM8 + FSettings.RowSpacing; }
  int LayoutBand(size_t BandIndex, int& PageIndex, bool& Cancel);
  void DrawRow(int ARow, int Y, const TBand& Band);
  void DrawCell(int ACol, int ARow, int Y, int BandRight);
  void DrawCellText(int ACol, int ARow, const plat::TRect& R, const TPrintCellLooks& Looks);
  void DrawCellLines(int ACol, int ARow, plat::TRect R);
  void DrawHeaderFooter(int PageIndex, int PageInBand, int BandNo);
  void DrawFrame(const TBand& Band, int Bottom);
  QString PageNumberText(int PageIndex, int PageInBand, int BandNo) const;
  bool Drawing() const { return FRun.Mode == pmPreview || FRun.Mode == pmPrint; }
  bool InRange(int PageIndex) const { return PageIndex + 1 >= FRun.PageFrom && PageIndex + 1 <= FRun.PageTo; }

  TPrintHost& FHost;
  TPrintSettings& FSettings;
  TPrintEvents& FEvents;
  plat::TCanvas* FCanvas = nullptr;
  TPrintRun FRun;
  double FScale = 1.0;
  double FPaper = 1.0;  // screen pixels to tenths of a millimetre
  int FHeaderLine = 0, FFooterLine = 0, FTextHeight = 0, FM8 = 0, FMX = 0, FSpacing = 0;
  int FTopSpace = 0, FBottomSpace = 0;
  int FPageW = 0, FPageH = 0;
  plat::TRect FPageRect;
  std::vector<int> FCols;              // printed columns, in order
  std::vector<int> FFixed;             // the fixed columns that repeat on bands
  std::vector<int> FWidths, FIndents;  // by column
  std::vector<int> FRowHeights;        // by row, -1 until measured
  std::vector<TBand> FBands;
  int FBandWidth = 0, FBandFirst = 0, FBandLast = 0;
  bool FPagesBegun = false;
  plat::TFont* FLooksFont = nullptr;  // the font a cell's looks start from, then the host's choice
  plat::TFont* FCellFont = nullptr;   // that font at its printed height
  std::unique_ptr<plat::TFont> FFontStore[2];
};

}  // namespace grid
