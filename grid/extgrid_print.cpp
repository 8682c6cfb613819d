// The string grid's printing members: short forwarders to a print part that owns the printer of grid/print and
// the adapter through which the print engine reads the grid (counts, sizes, texts, looks, merges), and that
// connects the grid's print events to the engine's.

#include <QPrinter>

#include "grid/extgrid.h"
#include "grid/print/data_print_host.h"
#include "grid/print/grid_printer.h"
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

  int PrintNrOfPages() const { return FPrinter.PrintNrOfPages(); }

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

int TExtStringGrid::PrintNrOfPages() const { return FPrintPart ? FPrintPart->PrintNrOfPages() : 0; }

void TExtStringGrid::SavePrintSettings(const QString& Key, const QString& Section) {
  grid::SavePrintSettings(FPrintSettings, Key, Section);
}

void TExtStringGrid::LoadPrintSettings(const QString& Key, const QString& Section) {
  grid::LoadPrintSettings(FPrintSettings, Key, Section);
}

}  // namespace grid
