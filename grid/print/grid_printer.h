#pragma once
// The grid's print operations over the print engine: printing on a printer (the system's print queue, or a PDF
// file), drawing pages into any canvas rectangle for a preview, and counting pages before anything is printed.
//
// Counting for a printer measures at the printer's resolution on a canvas of its own, before the job starts:
// starting a job only to count would send an empty job to the queue.

#include <QString>

#include <climits>

#include "grid/print/print_engine.h"

class QPrinter;

namespace plat {
class TCanvas;
}

namespace grid {

class TGridPrinter {
 public:
  TGridPrinter(TPrintHost& Host, TPrintSettings& Settings);
  ~TGridPrinter();

  TPrintEvents Events;
  // Skip the counting pass (the count is then the largest integer).
  bool FastPrint = false;
  // Stored for callers that set it; no driver here rotates landscape pages.
  bool PrinterDriverFix = false;

  // ---- on a printer (Cells: first and last column and row, inclusive)
  void Print(QPrinter& Printer);
  void PrintRect(QPrinter& Printer, const plat::TRect& Cells);
  void PrintSelection(QPrinter& Printer);
  void PrintSelectedRows(QPrinter& Printer);
  void PrintSelectedCols(QPrinter& Printer);
  // The whole grid into a PDF file, the page margins left to the settings.
  void PrintToPdf(const QString& FileName);
  void PrintRectToPdf(const QString& FileName, const plat::TRect& Cells);
  // Sets a printer up for PDF output into FileName without margins of its own.
  static void SetUpPdfPrinter(QPrinter& Printer, const QString& FileName);
  // The pages a print of Cells would give on Printer.
  int CountPages(QPrinter& Printer, const plat::TRect& Cells, bool SelectedOnly = false);

  // ---- into a canvas rectangle (device pixels of the canvas); the pages PreviewPage chose are drawn
  void PrintPreview(plat::TCanvas& Canvas, const plat::TRect& DisplayRect);
  void PrintPreviewRect(plat::TCanvas& Canvas, const plat::TRect& DisplayRect, const plat::TRect& Cells);
  void PrintPreviewSelection(plat::TCanvas& Canvas, const plat::TRect& DisplayRect);
  void PrintPreviewSelectedRows(plat::TCanvas& Canvas, const plat::TRect& DisplayRect);
  void PrintPreviewSelectedCols(plat::TCanvas& Canvas, const plat::TRect& DisplayRect);
  void PrintDraw(plat::TCanvas& Canvas, const plat::TRect& DrawRect);
  void PrintDrawRect(plat::TCanvas& Canvas, const plat::TRect& DrawRect, const plat::TRect& Cells);

  // ---- state of the last run
  int PrintNrOfPages() const { return FPageCount; }
  int PreviewPage() const { return FPageFrom; }
  void SetPreviewPage(int Value) { FPageFrom = FPageTo = Value; }
  bool IsPrintPreview() const { return FIsPreview; }
  // The fit-to-page factor of the fonts while a print or preview runs; 1.0 outside one.
  double FontScaleFactor() const { return FRunning ? FEngine.FontScaleFactor() : 1.0; }
  plat::TRect PrintRectCells() const { return FCells; }
  plat::TRect PrevRect() const { return FPrevRect; }
  const TPrintEngine& Engine() const { return FEngine; }
  // The pages of the last run, laid out (every page, also those outside the range).
  const std::vector<TPrintedPage>& Pages() const { return FPages; }

 private:
  plat::TRect AllCells() const;
  void PrintCells(QPrinter& Printer, const plat::TRect& Cells, bool SelectedOnly);
  void PreviewCells(plat::TCanvas& Canvas, const plat::TRect& DisplayRect, const plat::TRect& Cells,
                    bool SelectedOnly);
  TPrintRun MakeRun(TPrintMode Mode, const plat::TRect& Cells, bool SelectedOnly) const;

  TPrintHost& FHost;
  TPrintSettings& FSettings;
  TPrintEngine FEngine;
  plat::TRect FCells, FPrevRect;
  int FPageCount = 0, FPageFrom = 1, FPageTo = 1;
  bool FIsPreview = false, FRunning = false;
  std::vector<TPrintedPage> FPages;
};

}  // namespace grid
