#include "grid/print/print_preview.h"

#include <QPrintPreviewWidget>
#include <QPrinter>

#include "grid/print/grid_printer.h"

namespace grid {

QPrintPreviewWidget* CreatePrintPreview(TGridPrinter& Printer, QWidget* Parent, const plat::TRect& Cells) {
  auto* preview = new QPrintPreviewWidget(Parent);
  QObject::connect(preview, &QPrintPreviewWidget::paintRequested, preview, [&Printer, Cells](QPrinter* p) {
    if (Cells.Right < Cells.Left || Cells.Bottom < Cells.Top) {
      Printer.Print(*p);
    } else {
      Printer.PrintRect(*p, Cells);
    }
  });
  return preview;
}

}  // namespace grid
