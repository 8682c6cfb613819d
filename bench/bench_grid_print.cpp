// deps: grid_print
// The grid's printing against plain Qt peers doing the same work on the same cells (5 columns), for linearity in
// rows (ns_per_row stays flat from 1k to 100k rows) and one "ratio" of ours / peer per run:
// - counting pages: the engine's counting pass against a loop that measures every cell's text with
//   QFontMetricsF in the same font and breaks pages on the summed row heights;
// - printing to PDF: the grid's print against a QPainter that draws every cell's text and frame into a
//   QPrinter PDF, breaking pages every as many rows as ours put on a page.

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "bench/bench_measure.h"
#include "bench/bench_qt.h"
#include "grid/data/data_grid.h"
#include "grid/print/data_print_host.h"
#include "grid/print/grid_printer.h"
#include "platform/graphics/canvas.h"

namespace {

constexpr int kCols = 5;

template <class Fn>
double TimeNs(Fn&& fn) {
  const double start = bench::ThreadCpuNs();
  fn();
  return bench::ThreadCpuNs() - start;
}

QString CellText(int c, int r) { return QStringLiteral("m%1 v%2").arg(c).arg(r * 37 % 100000); }

void Fill(grid::TDataGrid& g, int Rows) {
  g.SetColCount(kCols);
  g.SetRowCount(Rows);
  for (int r = 0; r < Rows; ++r)
    for (int c = 0; c < kCols; ++c) g.SetGridCell(c, r, CellText(c, r));
}

void PinFonts(grid::TPrintSettings& s) {
  for (plat::TFont* f : {s.Font(), s.FixedFont(), s.HeaderFont(), s.FooterFont()}) {
    f->SetName(QStringLiteral("DejaVu Sans"));
    f->SetSize(10);
  }
}

void Report(benchmark::State& state, double Ours, double Peer, int Rows) {
  state.counters["ns_per_row"] = Ours / Rows;
  state.counters["peer_ns_per_row"] = Peer / Rows;
  state.counters["ratio"] = Ours / Peer;
}

// Measures each cell as the engine would need to and sums row heights into pages.
int PeerCount(int Rows, double PageHeightPx, const QFont& Font) {
  const QFontMetricsF fm(Font);
  int pages = 1;
  double y = 0;
  std::vector<double> widths(kCols, 0);
  for (int r = 0; r < Rows; ++r) {
    double h = 0;
    for (int c = 0; c < kCols; ++c) {
      const QString t = CellText(c, r);
      widths[c] = std::max(widths[c], fm.horizontalAdvance(t));
      h = std::max(h, fm.height());
    }
    if (y + h > PageHeightPx) ++pages, y = 0;
    y += h;
  }
  return pages;
}

void BM_CountPages(benchmark::State& state) {
  const int rows = int(state.range(0));
  grid::TDataGrid g(kCols, 1);
  Fill(g, rows);
  grid::TDataPrintHost host(g);
  grid::TPrintSettings settings;
  PinFonts(settings);
  grid::TGridPrinter printer(host, settings);
  QPrinter qp(QPrinter::HighResolution);
  grid::TGridPrinter::SetUpPdfPrinter(qp, QStringLiteral("/dev/null"));
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(10 * 1200 / 72);
  double ours = 0, peer = 0;
  for (auto _ : state) {
    int n = 0, m = 0;
    ours = TimeNs([&] { n = printer.CountPages(qp, plat::TRect(0, 0, kCols - 1, rows - 1)); });
    peer = TimeNs([&] { m = PeerCount(rows, 11.69 * 1200, font); });
    if (n <= 0 || m <= 0) state.SkipWithError("no pages");
    state.counters["pages"] = n;
  }
  Report(state, ours, peer, rows);
}

// Draws every cell's text and frame into a PDF, RowsPerPage rows to a page.
void PeerPrint(const QString& File, int Rows, int RowsPerPage) {
  QPrinter qp(QPrinter::HighResolution);
  grid::TGridPrinter::SetUpPdfPrinter(qp, File);
  QPainter p(&qp);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(10 * 1200 / 72);
  p.setFont(font);
  const int rowH = int(QFontMetrics(font).height() * 1.4), colW = 1200;
  for (int r = 0; r < Rows; ++r) {
    if (r > 0 && r % RowsPerPage == 0) qp.newPage();
    const int y = 600 + (r % RowsPerPage) * rowH;
    for (int c = 0; c < kCols; ++c) {
      const QRect cell(600 + c * colW, y, colW, rowH);
      p.drawRect(cell);
      p.drawText(cell.adjusted(40, 0, 0, 0), Qt::AlignVCenter, CellText(c, r));
    }
  }
}

void BM_PrintPdf(benchmark::State& state) {
  const int rows = int(state.range(0));
  grid::TDataGrid g(kCols, 1);
  Fill(g, rows);
  grid::TDataPrintHost host(g);
  grid::TPrintSettings settings;
  PinFonts(settings);
  settings.PageNr = grid::ppBottomRight;
  grid::TGridPrinter printer(host, settings);
  QTemporaryDir dir;
  double ours = 0, peer = 0;
  for (auto _ : state) {
    ours = TimeNs([&] { printer.PrintToPdf(dir.filePath(QStringLiteral("ours.pdf"))); });
    const int perPage = printer.Pages().empty() ? 50 : int(printer.Pages().front().Rows.size());
    peer = TimeNs([&] { PeerPrint(dir.filePath(QStringLiteral("peer.pdf")), rows, perPage); });
    state.counters["pages"] = printer.PrintNrOfPages();
  }
  Report(state, ours, peer, rows);
}

BENCHMARK(BM_CountPages)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PrintPdf)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) { return bench::RunOffscreen(argc, argv); }
