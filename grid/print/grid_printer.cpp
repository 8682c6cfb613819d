#include "grid/print/grid_printer.h"

#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

#include "platform/graphics/canvas.h"

namespace grid {

namespace {

// Restores a canvas's mapping, origin and clip however a preview ends.
class TCanvasMapping {
 public:
  TCanvasMapping(plat::TCanvas& Canvas, const plat::TRect& DisplayRect)
      : FCanvas(Canvas), FLevel(Canvas.SaveDC()), FMode(Canvas.MapMode()), FDpi(Canvas.MapResolution()) {
    Canvas.IntersectClipRect(DisplayRect);
    Canvas.SetViewportOrg(Canvas.ViewportOrg() + DisplayRect.TopLeft());
    Canvas.SetMapMode(plat::MM_LOMETRIC);
  }
  ~TCanvasMapping() {
    FCanvas.SetMapMode(FMode, FDpi);
    FCanvas.RestoreDC(FLevel);
  }
  TCanvasMapping(const TCanvasMapping&) = delete;
  TCanvasMapping& operator=(const TCanvasMapping&) = delete;

 private:
  plat::TCanvas& FCanvas;
  int FLevel, FMode, FDpi;
};

// Start and end notifications of a print, the end also on failure.
class TPrintNotification {
 public:
  explicit TPrintNotification(TPrintHost& Host) : FHost(Host) { Host.ExportNotification(esExportStart, -1); }
  ~TPrintNotification() { FHost.ExportNotification(esExportDone, -1); }
  TPrintNotification(const TPrintNotification&) = delete;
  TPrintNotification& operator=(const TPrintNotification&) = delete;

 private:
  TPrintHost& FHost;
};

// Marks a run of the engine, however it ends.
class TRunFlag {
 public:
  explicit TRunFlag(bool& Flag) : FFlag(Flag) { Flag = true; }
  ~TRunFlag() { FFlag = false; }
  TRunFlag(const TRunFlag&) = delete;
  TRunFlag& operator=(const TRunFlag&) = delete;

 private:
  bool& FFlag;
};

}  // namespace

TGridPrinter::TGridPrinter(TPrintHost& Host, TPrintSettings& Settings)
    : FHost(Host), FSettings(Settings), FEngine(Host, Settings, Events) {}

TGridPrinter::~TGridPrinter() = default;

plat::TRect TGridPrinter::AllCells() const { return plat::TRect(0, 0, FHost.ColCount() - 1, FHost.RowCount() - 1); }

TPrintRun TGridPrinter::MakeRun(TPrintMode Mode, const plat::TRect& Cells, bool SelectedOnly) const {
  TPrintRun run;
  run.Mode = Mode;
  run.Cells = Cells;
  run.SelectedOnly = SelectedOnly;
  run.FastPrint = FastPrint;
  return run;
}

void TGridPrinter::SetUpPdfPrinter(QPrinter& Printer, const QString& FileName) {
  Printer.setOutputFormat(QPrinter::PdfFormat);
  Printer.setOutputFileName(FileName);
  Printer.setPageSize(QPageSize(QPageSize::A4));
  Printer.setFullPage(true);
  Printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

int TGridPrinter::CountPages(QPrinter& Printer, const plat::TRect& Cells, bool SelectedOnly) {
  if (!FSettings.UseDefaultOrientation)
    Printer.setPageOrientation(FSettings.Orientation == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  const int dpi = Printer.resolution();
  const QRect page = Printer.pageLayout().paintRectPixels(dpi);
  FPrevRect = plat::TRect(0, 0, RoundEven(254.0 / dpi * page.width()), RoundEven(254.0 / dpi * page.height()));
  // Measured at the printer's resolution, as the print will be.
  QImage scratch(1, 1, QImage::Format_RGB32);
  plat::TCanvas measure(&scratch);
  measure.SetMapMode(plat::MM_LOMETRIC, dpi);
  TPrintRun run = MakeRun(pmCountPrint, Cells, SelectedOnly);
  run.PageWidth = FPrevRect.Width(), run.PageHeight = FPrevRect.Height();
  FPages.clear();
  run.Pages = &FPages;
  return FEngine.Execute(measure, run);
}

void TGridPrinter::PrintCells(QPrinter& Printer, const plat::TRect& Cells, bool SelectedOnly) {
  TPrintNotification notes(FHost);
  TRunFlag running(FRunning);
  FCells = Cells;
  const int count = FastPrint ? INT_MAX : CountPages(Printer, Cells, SelectedOnly);
  if (FastPrint) CountPages(Printer, plat::TRect(0, 0, -1, -1), false);  // only the page size
  Printer.setDocName(FSettings.JobName);
  FPageFrom = 1, FPageTo = count, FPageCount = count;
  if (Events.OnPrintStart) {
    Events.OnPrintStart(count, FPageFrom, FPageTo);
    if (FPageFrom == 0 || FPageTo == 0 || FPageTo < FPageFrom) return;
  }
  FPageCount = FPageTo;
  plat::TCanvas canvas(&Printer);
  canvas.SetMapMode(plat::MM_LOMETRIC, Printer.resolution());
  TPrintRun run = MakeRun(pmPrint, Cells, SelectedOnly);
  run.PageWidth = FPrevRect.Width(), run.PageHeight = FPrevRect.Height();
  run.PageFrom = FPageFrom, run.PageTo = FPageTo;
  run.PageCount = FastPrint ? 1 : count;
  run.NewPage = [&] { Printer.newPage(); };
  FPages.clear();
  run.Pages = &FPages;
  canvas.Painter();  // the job starts
  try {
    FEngine.Execute(canvas, run);
  } catch (...) {
    canvas.EndPainting();
    throw;
  }
  canvas.EndPainting();
}

void TGridPrinter::Print(QPrinter& Printer) { PrintCells(Printer, AllCells(), false); }
void TGridPrinter::PrintRect(QPrinter& Printer, const plat::TRect& Cells) { PrintCells(Printer, Cells, false); }
void TGridPrinter::PrintSelection(QPrinter& Printer) { PrintCells(Printer, FHost.Selection(), false); }
void TGridPrinter::PrintSelectedRows(QPrinter& Printer) { PrintCells(Printer, AllCells(), true); }
void TGridPrinter::PrintSelectedCols(QPrinter& Printer) { PrintCells(Printer, AllCells(), true); }

void TGridPrinter::PrintToPdf(const QString& FileName) { PrintRectToPdf(FileName, AllCells()); }

void TGridPrinter::PrintRectToPdf(const QString& FileName, const plat::TRect& Cells) {
  QPrinter printer(QPrinter::HighResolution);
  SetUpPdfPrinter(printer, FileName);
  PrintCells(printer, Cells, false);
}

void TGridPrinter::PreviewCells(plat::TCanvas& Canvas, const plat::TRect& DisplayRect, const plat::TRect& Cells,
                                bool SelectedOnly) {
  TPrintNotification notes(FHost);
  TRunFlag running(FRunning);
  FCells = Cells;
  FPrevRect = DisplayRect;
  TCanvasMapping mapping(Canvas, DisplayRect);
  const int dpi = Canvas.MapResolution();
  TPrintRun run = MakeRun(pmCountPreview, Cells, SelectedOnly);
  run.PageWidth = RoundEven(DisplayRect.Width() * 254.0 / dpi);
  run.PageHeight = RoundEven(DisplayRect.Height() * 254.0 / dpi);
  FPages.clear();
  run.Pages = &FPages;
  const int count = FastPrint ? 1 : FEngine.Execute(Canvas, run);
  FPageCount = count;
  FIsPreview = true;
  struct TPreviewFlag {
    bool& Flag;
    ~TPreviewFlag() { Flag = false; }
  } flag{FIsPreview};
  int from = 1, to = count;
  if (Events.OnPrintStart) Events.OnPrintStart(count, from, to);
  if (from <= 0 || to <= 0 || to < from) return;
  run.Mode = pmPreview;
  run.PageFrom = FPageFrom, run.PageTo = FPageTo;
  run.PageCount = count;
  FPages.clear();
  FEngine.Execute(Canvas, run);
}

void TGridPrinter::PrintPreview(plat::TCanvas& Canvas, const plat::TRect& DisplayRect) {
  PreviewCells(Canvas, DisplayRect, AllCells(), false);
}
void TGridPrinter::PrintPreviewRect(plat::TCanvas& Canvas, const plat::TRect& DisplayRect, const plat::TRect& Cells) {
  PreviewCells(Canvas, DisplayRect, Cells, false);
}
void TGridPrinter::PrintPreviewSelection(plat::TCanvas& Canvas, const plat::TRect& DisplayRect) {
  PreviewCells(Canvas, DisplayRect, FHost.Selection(), false);
}
void TGridPrinter::PrintPreviewSelectedRows(plat::TCanvas& Canvas, const plat::TRect& DisplayRect) {
  PreviewCells(Canvas, DisplayRect, AllCells(), true);
}
void TGridPrinter::PrintPreviewSelectedCols(plat::TCanvas& Canvas, const plat::TRect& DisplayRect) {
  PreviewCells(Canvas, DisplayRect, AllCells(), true);
}

void TGridPrinter::PrintDraw(plat::TCanvas& Canvas, const plat::TRect& DrawRect) {
  PrintDrawRect(Canvas, DrawRect, AllCells());
}

void TGridPrinter::PrintDrawRect(plat::TCanvas& Canvas, const plat::TRect& DrawRect, const plat::TRect& Cells) {
  FCells = Cells;
  FPrevRect = DrawRect;
  FPageFrom = FPageTo = 1;
  FPageCount = 1;
  TRunFlag running(FRunning);
  TCanvasMapping mapping(Canvas, DrawRect);
  const int dpi = Canvas.MapResolution();
  TPrintRun run = MakeRun(pmPrint, Cells, false);
  run.PageWidth = RoundEven(DrawRect.Width() * 254.0 / dpi);
  run.PageHeight = RoundEven(DrawRect.Height() * 254.0 / dpi);
  run.PageFrom = run.PageTo = 1;
  FPages.clear();
  run.Pages = &FPages;
  FEngine.Execute(Canvas, run);
}

}  // namespace grid
