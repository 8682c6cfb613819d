#pragma once
// A window-free grid to print, the settings with pinned fonts, and the layout a run gives.

#include <QImage>
#include <QString>

#include <memory>

#include "grid/data/data_grid.h"
#include "grid/print/data_print_host.h"
#include "grid/print/grid_printer.h"
#include "platform/graphics/canvas.h"

namespace grid::testing {

// A host whose selection prints only some rows and columns.
class TSelectingHost : public TDataPrintHost {
 public:
  using TDataPrintHost::TDataPrintHost;
  std::function<bool(int)> RowSelected, ColSelected;
  bool RowPrintSelected(int ARow) const override { return !RowSelected || RowSelected(ARow); }
  bool ColPrintSelected(int ACol) const override { return !ColSelected || ColSelected(ACol); }
};

struct TPrintFixture {
  TDataGrid Grid;
  TSelectingHost Host{Grid};
  TPrintSettings Settings;
  TGridPrinter Printer{Host, Settings};

  // Cols x Rows cells reading "c<col>r<row>"; the first row and column fixed when asked.
  TPrintFixture(int Cols, int Rows, int FixedCols = 0, int FixedRows = 0) : Grid(Cols, Rows) {
    Grid.FixedColCount = FixedCols;
    Grid.FixedRowCount = FixedRows;
    for (int r = 0; r < Rows; ++r)
      for (int c = 0; c < Cols; ++c)
        Grid.SetGridCell(c, r, QStringLiteral("c%1r%2").arg(c).arg(r));
    for (plat::TFont* f : {Settings.Font(), Settings.FixedFont(), Settings.HeaderFont(), Settings.FooterFont()}) {
      f->SetName(QStringLiteral("DejaVu Sans"));
      f->SetSize(10);
      f->SetColor(plat::clBlack);
    }
  }

  // Lays out all cells on an A4 page (2100 x 2970 tenths of a millimetre) without drawing.
  int Count(std::vector<TPrintedPage>* Pages, int PageWidth = 2100, int PageHeight = 2970,
            bool SelectedOnly = false) {
    QImage scratch(1, 1, QImage::Format_RGB32);
    plat::TCanvas canvas(&scratch);
    canvas.SetMapMode(plat::MM_LOMETRIC, 600);
    TPrintEngine engine(Host, Settings, Printer.Events);
    TPrintRun run;
    run.Mode = pmCountPrint;
    run.Cells = plat::TRect(0, 0, Grid.ColCount() - 1, Grid.RowCount() - 1);
    run.PageWidth = PageWidth, run.PageHeight = PageHeight;
    run.SelectedOnly = SelectedOnly;
    run.Pages = Pages;
    const int n = engine.Execute(canvas, run);
    Widths.clear();
    Indents.clear();
    for (int c = 0; c < Grid.ColCount(); ++c) Widths.push_back(engine.ColWidth(c)), Indents.push_back(engine.ColIndent(c));
    Scale = engine.FontScaleFactor();
    return n;
  }
  std::vector<int> Widths, Indents;
  double Scale = 1;
};

}  // namespace grid::testing
