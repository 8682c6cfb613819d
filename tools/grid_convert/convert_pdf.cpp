// The grid printed to a PDF file: A4, the default print settings with 10 mm margins (turned or fitted on request),
// through the grid's print engine. Built only where the print library (Qt GUI) is.

#include <QFile>
#include <QTemporaryDir>

#include "grid/data/data_grid.h"
#include "grid/griderror.h"
#include "grid/print/data_print_host.h"
#include "grid/print/grid_printer.h"
#include "grid/print/print_settings.h"
#include "platform/io/files.h"
#include "tools/grid_convert/convert.h"

namespace gridconvert {

// Printed into a scratch folder first and then written whole over the target, so that a failed print never
// leaves a torn or empty file where an old one was.
void SavePdf(grid::TDataGrid& Grid, const QString& FileName, const TOptions& Options) {
  QTemporaryDir scratch;
  if (!scratch.isValid()) throw grid::EExtGridError(QStringLiteral("no scratch folder for printing"));
  const QString printed = scratch.filePath(QStringLiteral("print.pdf"));
  grid::TDataPrintHost host(Grid);
  grid::TPrintSettings settings;
  // Margins of 10 mm all round (the sizes a print settings file without them gives): a page printed from
  // the file keeps its outer lines clear of the paper's edge.
  settings.HeaderSize = settings.FooterSize = settings.LeftSize = settings.RightSize = 100;
  settings.Orientation = Options.Landscape ? grid::poLandscape : grid::poPortrait;
  // Shrinking only: a narrow grid keeps its natural size rather than growing to the page width.
  if (Options.Fit) settings.FitToPage = grid::fpShrink;
  grid::TGridPrinter printer(host, settings);
  printer.PrintToPdf(printed);
  QFile pdf(printed);
  if (!pdf.open(QIODevice::ReadOnly) || pdf.size() == 0)
    throw grid::EExtGridError(QStringLiteral("the grid could not be printed"));
  QString error;
  if (!plat::WriteFileAtomic(FileName, pdf.readAll(), &error)) throw grid::EExtGridError(error);
}

}  // namespace gridconvert
