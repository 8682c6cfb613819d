// The string grid's printing members: short forwarders to a print part that owns the printer of grid/print and
// the adapter through which the print engine reads the grid (counts, sizes, texts, looks, merges), and that
// connects the grid's print events to the engine's.

#include <algorithm>

#include <QPrinter>

#include "grid/extgrid.h"
#include "grid/print/data_print_host.h"
#include "grid/print/grid_printer.h"
#include "grid/print/print_layout.h"
#include "grid/print/print_settings.h"

namespace grid {

namespace {

// The engine's host over the window grid: the counts and screen sizes as the data services see them, and per cell
// the grid's own answers.
class TGridPrintAdapter final : public TDataPrintHost {
 public:
  explicit TGridPrintAdapter(TExtStringGrid& Grid) : TDataPrintHost(Grid.DataHost()), FGrid(Grid) {}

  // The export text with markup made plain; cells whose text is a control's value print none.
  QString PrintText(int ACol, int ARow) override {
    const int col = FGrid.DataHost().DisplToRealCol(ACol);
    if (FGrid.CellObjects().IsDataTextCell(col, ARow)) return QString();
    const bool html = FGrid.SaveWithHTML, rtf = FGrid.SaveWithRTF;
    FGrid.SaveWithHTML = false, FGrid.SaveWithRTF = false;
    QString s;
    try {
      FGrid.SaveCell(col, ARow, s);
    } catch (...) {
      FGrid.SaveWithHTML = html, FGrid.SaveWithRTF = rtf;
      throw;
    }
    FGrid.SaveWithHTML = html, FGrid.SaveWithRTF = rtf;
    return s;
  }

  // Alignment and word wrap as on screen; colour and font as OnGetCellPrintColor leaves them.
  void PrintLooks(int ACol, int ARow, TPrintCellLooks& Looks) override {
    FGrid.GetCellAlignment(ACol, ARow, Looks.HAlign, Looks.VAlign);
    Looks.WordWrap = FGrid.WordWrap();
    FGrid.DoGetWordWrap(ACol, ARow, Looks.WordWrap);
    plat::TBrush brush;
    brush.SetColor(Looks.Color);
    plat::TGridDrawState state;
    if (ACol < FGrid.FixedCols() || ARow < FGrid.FixedRows()) state.Include(plat::gdFixed);
    FGrid.DoGetCellPrintColor(ACol, ARow, state, &brush, Looks.Font);
    Looks.Color = brush.Color();
  }

  plat::TPoint CellSpan(int ACol, int ARow) const override { return FGrid.CellSpan(ACol, ARow); }
  bool IsBaseCell(int ACol, int ARow) const override { return FGrid.IsBaseCell(ACol, ARow); }

  plat::TRect Selection() const override {
    const plat::TGridRect s = FGrid.Selection();
    return plat::TRect(std::min(s.Left, s.Right), std::min(s.Top, s.Bottom), std::max(s.Left, s.Right),
                       std::max(s.Top, s.Bottom));
  }
  // A disjunct row selection keeps its flags by real row when it persists over hidden rows.
  bool RowPrintSelected(int ARow) const override {
    TMouseActions& m = *FGrid.MouseActions();
    if (m.DisjunctRowSelect()) return FGrid.GetRowSelect(m.RowSelectPersistent ? FGrid.RealRowIndex(ARow) : ARow);
    const plat::TRect s = Selection();
    return ARow >= s.Top && ARow <= s.Bottom;
  }
  // A disjunct row selection prints whole rows.
  bool ColPrintSelected(int ACol) const override {
    TMouseActions& m = *FGrid.MouseActions();
    if (m.DisjunctRowSelect()) return true;
    if (m.DisjunctColSelect()) return FGrid.GetColSelect(ACol);
    const plat::TRect s = Selection();
    return ACol >= s.Left && ACol <= s.Right;
  }

 private:
  TExtStringGrid& FGrid;
};

}  // namespace

class TGridPrintPart {
 public:
  explicit TGridPrintPart(TExtStringGrid& Grid) : FGrid(Grid), FHost(Grid), FPrinter(FHost, *Grid.PrintSettings()) {}

  // The grid's events as they are now: an unassigned grid event leaves the engine's unassigned too, so the
  // engine's "assigned" tests see what the application set.
  TGridPrinter& Printer() {
    TExtStringGrid& g = FGrid;
    TPrintEvents& e = FPrinter.Events;
    e = TPrintEvents();
    if (g.OnPrintStart)
      e.OnPrintStart = [&g](int NrOfPages, int& From, int& To) { g.OnPrintStart(&g, NrOfPages, From, To); };
    if (g.OnPrintPage)
      e.OnPrintPage = [&g](plat::TCanvas& Canvas, int PageNr, int XSize, int YSize) {
        g.OnPrintPage(&g, &Canvas, PageNr, XSize, YSize);
      };
    if (g.OnPrintPageDone)
      e.OnPrintPageDone = [&g](plat::TCanvas& Canvas, int LastRow, int LastRowOffset, int LastPage, int XSize,
                               int YSize) {
        g.OnPrintPageDone(&g, &Canvas, LastRow, LastRowOffset, LastPage, XSize, YSize);
      };
    if (g.OnFitToPage)
      e.OnFitToPage = [&g](double& ScaleFactor, bool& Allow) { g.OnFitToPage(&g, ScaleFactor, Allow); };
    if (g.OnPrintNewPage) e.OnPrintNewPage = [&g](int ARow, bool& NewPage) { g.OnPrintNewPage(&g, ARow, NewPage); };
    if (g.OnPrintCancel) e.OnPrintCancel = [&g](int PageNr, bool& Cancel) { g.OnPrintCancel(&g, PageNr, Cancel); };
    if (g.OnPrintGetPageNum)
      e.OnPrintGetPageNum = [&g](int PageNum, int PageColNum, QString& Text) {
        g.OnPrintGetPageNum(&g, PageNum, PageColNum, Text);
      };
    if (g.OnPrintSetColumnWidth)
      e.OnPrintSetColumnWidth = [&g](int ACol, int& Width) { g.OnPrintSetColumnWidth(&g, ACol, Width); };
    if (g.OnPrintSetRowHeight)
      e.OnPrintSetRowHeight = [&g](int ARow, int& Height) { g.OnPrintSetRowHeight(&g, ARow, Height); };
    // A virtual: descendants (the column grid) decide borders per column.
    e.OnGetCellPrintBorder = [&g](int ACol, int ARow, plat::TPen& Pen, TCellBorders& Borders) {
      g.DoGetCellPrintBorder(ACol, ARow, &Pen, Borders);
    };
    return FPrinter;
  }

  // The column widths and offsets of the last layout, as the grid reports them.
  void KeepLayout() {
    const int n = std::min(FGrid.ColCount(), 512);
    for (int c = 0; c < n; ++c) FGrid.SetPrintColumn(c, FPrinter.Engine().ColWidth(c), FPrinter.Engine().ColIndent(c));
  }

  // The printer as it stands, for its state and settings (the events are set when a print starts).
  TGridPrinter& State() { return FPrinter; }
  const TGridPrinter& State() const { return FPrinter; }

 private:
  TExtStringGrid& FGrid;
  TGridPrintAdapter FHost;
  TGridPrinter FPrinter;
};

void TExtStringGrid::TPrintPartDeleter::operator()(TGridPrintPart* Part) const { delete Part; }

TGridPrintPart& TExtStringGrid::PrintPart() {
  if (!FPrintPart) FPrintPart.reset(new TGridPrintPart(*this));
  return *FPrintPart;
}

void TExtStringGrid::Print() {
  QPrinter printer(QPrinter::HighResolution);
  Print(printer);
}

void TExtStringGrid::Print(QPrinter& Printer) {
  PrintPart().Printer().Print(Printer);
  PrintPart().KeepLayout();
}

void TExtStringGrid::PrintPreview(plat::TCanvas& Canvas, plat::TRect DisplayRect) {
  PrintPart().Printer().PrintPreview(Canvas, DisplayRect);
  PrintPart().KeepLayout();
}

int TExtStringGrid::PrintNrOfPages() const { return FPrintPart ? FPrintPart->State().PrintNrOfPages() : 0; }

namespace {

plat::TRect PrintedCells(const plat::TGridRect& R) { return plat::TRect(R.Left, R.Top, R.Right, R.Bottom); }

}  // namespace

void TExtStringGrid::PrintRect(const plat::TGridRect& Gridrect) {
  QPrinter printer(QPrinter::HighResolution);
  PrintRect(printer, Gridrect);
}

void TExtStringGrid::PrintRect(QPrinter& Printer, const plat::TGridRect& Gridrect) {
  PrintPart().Printer().PrintRect(Printer, PrintedCells(Gridrect));
  PrintPart().KeepLayout();
}

void TExtStringGrid::PrintSelection() {
  QPrinter printer(QPrinter::HighResolution);
  PrintSelection(printer);
}

void TExtStringGrid::PrintSelection(QPrinter& Printer) {
  PrintPart().Printer().PrintSelection(Printer);
  PrintPart().KeepLayout();
}

void TExtStringGrid::PrintSelectedRows() {
  QPrinter printer(QPrinter::HighResolution);
  PrintSelectedRows(printer);
}

void TExtStringGrid::PrintSelectedRows(QPrinter& Printer) {
  PrintPart().Printer().PrintSelectedRows(Printer);
  PrintPart().KeepLayout();
}

void TExtStringGrid::PrintSelectedCols() {
  QPrinter printer(QPrinter::HighResolution);
  PrintSelectedCols(printer);
}

void TExtStringGrid::PrintSelectedCols(QPrinter& Printer) {
  PrintPart().Printer().PrintSelectedCols(Printer);
  PrintPart().KeepLayout();
}

void TExtStringGrid::PrintPreviewRect(plat::TCanvas& Canvas, plat::TRect DisplayRect,
                                      const plat::TGridRect& Gridrect) {
  PrintPart().Printer().PrintPreviewRect(Canvas, DisplayRect, PrintedCells(Gridrect));
  PrintPart().KeepLayout();
}

void TExtStringGrid::PrintPreviewSelection(plat::TCanvas& Canvas, plat::TRect DisplayRect) {
  PrintPart().Printer().PrintPreviewSelection(Canvas, DisplayRect);
  PrintPart().KeepLayout();
}

void TExtStringGrid::PrintPreviewSelectedRows(plat::TCanvas& Canvas, plat::TRect DisplayRect) {
  PrintPart().Printer().PrintPreviewSelectedRows(Canvas, DisplayRect);
  PrintPart().KeepLayout();
}

void TExtStringGrid::PrintPreviewSelectedCols(plat::TCanvas& Canvas, plat::TRect DisplayRect) {
  PrintPart().Printer().PrintPreviewSelectedCols(Canvas, DisplayRect);
  PrintPart().KeepLayout();
}

void TExtStringGrid::PrintDraw(plat::TCanvas& Canvas, plat::TRect DrawRect) {
  PrintPart().Printer().PrintDraw(Canvas, DrawRect);
  PrintPart().KeepLayout();
}

void TExtStringGrid::PrintDrawRect(plat::TCanvas& Canvas, plat::TRect DrawRect, const plat::TGridRect& Gridrect) {
  PrintPart().Printer().PrintDrawRect(Canvas, DrawRect, PrintedCells(Gridrect));
  PrintPart().KeepLayout();
}

int TExtStringGrid::PreviewPage() const { return FPrintPart ? FPrintPart->State().PreviewPage() : 1; }
void TExtStringGrid::SetPreviewPage(int Value) { PrintPart().State().SetPreviewPage(Value); }
bool TExtStringGrid::FastPrint() const { return FPrintPart && FPrintPart->State().FastPrint; }
void TExtStringGrid::SetFastPrint(bool Value) { PrintPart().State().FastPrint = Value; }
bool TExtStringGrid::PrinterDriverFix() const { return FPrintPart && FPrintPart->State().PrinterDriverFix; }
void TExtStringGrid::SetPrinterDriverFix(bool Value) { PrintPart().State().PrinterDriverFix = Value; }
bool TExtStringGrid::IsPrintPreview() const { return FPrintPart && FPrintPart->State().IsPrintPreview(); }

plat::TRect TExtStringGrid::PrintPageRect() const {
  return FPrintPart ? FPrintPart->State().Engine().PrintPageRect() : plat::TRect();
}
int TExtStringGrid::PrintPageWidth() const { return FPrintPart ? FPrintPart->State().Engine().PrintPageWidth() : 0; }
int TExtStringGrid::PrintColStart() const { return FPrintPart ? FPrintPart->State().Engine().PrintColStart() : 0; }
int TExtStringGrid::PrintColEnd() const { return FPrintPart ? FPrintPart->State().Engine().PrintColEnd() : 0; }

int TExtStringGrid::MapFontHeight(int PointSize) const {
  return grid::MapFontHeight(PointSize, FPrintPart ? FPrintPart->State().FontScaleFactor() : 1.0);
}
int TExtStringGrid::MapFontSize(int Height) const { return grid::MapFontSize(Height); }

void TExtStringGrid::SavePrintSettings(const QString& Key, const QString& Section) {
  grid::SavePrintSettings(FPrintSettings, Key, Section);
}

void TExtStringGrid::LoadPrintSettings(const QString& Key, const QString& Section) {
  grid::LoadPrintSettings(FPrintSettings, Key, Section);
}

}  // namespace grid
