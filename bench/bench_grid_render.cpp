// deps: grid Qt6::Widgets
// The rendered grid and the string grid (cell looks resolved per cell, text, mini-HTML) beside QTableView over
// QStandardItemModel holding the same texts, offscreen, 10 columns, 1,000 and 1,000,000 rows, plain texts and
// with 10 % HTML cells (the Qt view shows their markup as plain text): the whole view painted as when first shown (grabbed into a pixmap) and
// one page scroll with its repaint. Reports the GUI thread's CPU time; the grid's rows report
// cpu_speedup_vs_qt = Qt time / grid time (above 1: the grid is faster).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>

#include <ctime>
#include <map>
#include <memory>

#include "bench/bench_measure.h"
#include "bench/bench_qt.h"
#include "grid/extgrid.h"
#include "grid/view/render_grid.h"
#include "platform/forms/forms.h"

namespace {

constexpr int kCols = 10;
constexpr int kWidth = 800;
constexpr int kHeight = 600;

using bench::ThreadCpuNs;

QString CellText(int c, int r, bool html) {
  if (html && (r + c) % 10 == 0) return QStringLiteral("<b>%1</b> <i>c%2</i>").arg(r).arg(c);
  return QString::number(r) + u':' + QString::number(c);
}

// Qt's CPU time per (benchmark kind, rows, html), for the ratio in the grid's row.
std::map<std::tuple<int, int, int>, double> gQt;

enum Kind { kFirst, kPage };

double TimeQt(benchmark::State& state, Kind kind, int rows, bool html) {
  QStandardItemModel model(rows, kCols);
  bench::FillModel(model, rows, kCols, [html](int c, int r) { return CellText(c, r, html); });
  QTableView view;
  view.resize(kWidth, kHeight);
  bench::SetUpTableView(view, model);
  view.show();
  QApplication::processEvents();
  double cpu = 0;
  for (auto _ : state) {
    if (kind == kFirst) {
      const double start = ThreadCpuNs();
      benchmark::DoNotOptimize(view.grab());
      cpu += ThreadCpuNs() - start;
    } else {
      const double start = ThreadCpuNs();
      QScrollBar* bar = view.verticalScrollBar();
      const int next = bar->value() + view.viewport()->height() / 24;
      bar->setValue(next > bar->maximum() ? 0 : next);
      view.repaint();
      cpu += ThreadCpuNs() - start;
    }
  }
  return cpu / double(state.iterations()) / 1e3;
}

// The renderer on its own grid, and the string grid the program's windows use (with its events, virtuals and
// option objects in every cell's colours).
template <class Grid>
double TimeGrid(benchmark::State& state, Kind kind, int rows, bool html) {
  auto form = std::make_unique<plat::TForm>(nullptr);
  form->SetBounds(0, 0, kWidth + 20, kHeight + 40);
  auto* grid = new Grid(form.get());
  grid->SetColCount(kCols + 1);
  grid->SetRowCount(rows + 1);
  grid->SetDefaultColWidth(64);
  grid->SetDefaultRowHeight(24);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < kCols; ++c) grid->SetCells(c + 1, r + 1, CellText(c, r, html));
  grid->RenderSettings().WordWrap = false;
  grid->SetParent(form.get());
  grid->SetBounds(0, 0, kWidth, kHeight);
  form->Show();
  QApplication::processEvents();
  double cpu = 0;
  int paints = 0;
  grid->Renderer().OnPainted = [&paints](plat::TObject*) { ++paints; };
  for (auto _ : state) {
    if (kind == kFirst) {
      const double start = ThreadCpuNs();
      benchmark::DoNotOptimize(grid->Widget()->grab());
      cpu += ThreadCpuNs() - start;
    } else {
      const double start = ThreadCpuNs();
      const int next = grid->TopRow() + grid->VisibleRowCount();
      const int before = paints;
      grid->SetTopRow(next > grid->RowCount() - grid->VisibleRowCount() ? grid->FixedRows() : next);
      if (paints == before) grid->Repaint();  // the grid repaints itself when its top row changes
      cpu += ThreadCpuNs() - start;
    }
  }
  state.counters["paints"] = double(paints) / double(state.iterations());
  return cpu / double(state.iterations()) / 1e3;
}

void BM_Qt(benchmark::State& state) {
  const Kind kind = Kind(state.range(0));
  const int rows = int(state.range(1));
  const bool html = state.range(2) != 0;
  const double us = TimeQt(state, kind, rows, html);
  gQt[{kind, rows, html}] = us;
  state.counters["cpu_us"] = us;
}

template <class Grid>
void BM_Grid(benchmark::State& state) {
  const Kind kind = Kind(state.range(0));
  const int rows = int(state.range(1));
  const bool html = state.range(2) != 0;
  const double us = TimeGrid<Grid>(state, kind, rows, html);
  state.counters["cpu_us"] = us;
  const auto qt = gQt.find({kind, rows, html});
  if (qt != gQt.end()) state.counters["cpu_speedup_vs_qt"] = qt->second / us;
}

// Arguments: kind (0 first paint, 1 page scroll), rows, HTML cells (0/1). Each Qt row runs before the grid's.
void Args(benchmark::internal::Benchmark* b) {
  for (int kind : {0, 1})
    for (int rows : {1000, 1000000})
      for (int html : {0, 1}) b->Args({kind, rows, html});
}

}  // namespace

BENCHMARK(BM_Qt)->Apply(Args)->Unit(benchmark::kMicrosecond)->Iterations(30);
BENCHMARK(BM_Grid<grid::TRenderGrid>)->Apply(Args)->Unit(benchmark::kMicrosecond)->Iterations(30);
BENCHMARK(BM_Grid<grid::TExtStringGrid>)->Apply(Args)->Unit(benchmark::kMicrosecond)->Iterations(30);

int main(int argc, char** argv) { return bench::RunOffscreen(argc, argv); }
