// deps: grid Qt6::Widgets
// Painting of the base grid (cell store + base cell painter) against QTableView over QStandardItemModel with
// the same texts and the same merged areas (one 2 x 2 area every 50 rows): scroll one page and repaint, offscreen,
// 100,000 rows x 10 columns. Reports the GUI thread's CPU time per step; the grid's row reports
// cpu_speedup_vs_qt = Qt time / grid time (above 1: the grid is faster).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>

#include <ctime>
#include <memory>

#include "bench/bench_measure.h"
#include "bench/bench_qt.h"
#include "grid/basegrid.h"
#include "platform/forms/forms.h"

namespace {

constexpr int kRows = 100'000;
constexpr int kCols = 10;
constexpr int kWidth = 800;
constexpr int kHeight = 600;

using bench::ThreadCpuNs;

QString CellText(int c, int r) { return QString::number(r) + u':' + QString::number(c); }

double gQtCpuUs = 0;

void BM_QtPage(benchmark::State& state) {
  QStandardItemModel model(kRows, kCols);
  bench::FillModel(model, kRows, kCols, CellText);
  QTableView view;
  view.resize(kWidth, kHeight);
  bench::SetUpTableView(view, model);
  for (int r = 1; r < kRows - 1; r += 50) view.setSpan(r, 2, 2, 2);
  view.show();
  QApplication::processEvents();
  double cpu = 0;
  for (auto _ : state) {
    const double start = ThreadCpuNs();
    QScrollBar* bar = view.verticalScrollBar();
    const int next = bar->value() + view.viewport()->height() / 24;
    bar->setValue(next > bar->maximum() ? 0 : next);
    view.repaint();
    cpu += ThreadCpuNs() - start;
  }
  gQtCpuUs = cpu / double(state.iterations()) / 1e3;
  state.counters["cpu_us"] = gQtCpuUs;
}

void BM_BaseGridPage(benchmark::State& state) {
  auto form = std::make_unique<plat::TForm>(nullptr);
  form->SetBounds(0, 0, kWidth + 20, kHeight + 40);
  auto* grid = new grid::TBaseGrid(form.get());
  grid->SetColCount(kCols);
  grid->SetRowCount(kRows);
  grid->SetDefaultColWidth(64);
  grid->SetDefaultRowHeight(24);
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kCols; ++c) grid->SetCells(c, r, CellText(c, r));
  for (int r = 1; r < kRows - 1; r += 50) grid->MergeCells(2, r, 2, 2);
  grid->SetActiveRowShow(true);
  grid->SetHoverRow(true);
  grid->SetHoverRowIdx(5);
  grid->SetParent(form.get());
  grid->SetBounds(0, 0, kWidth, kHeight);
  form->Show();
  QApplication::processEvents();
  double cpu = 0;
  for (auto _ : state) {
    const double start = ThreadCpuNs();
    const int next = grid->TopRow() + grid->VisibleRowCount();
    grid->SetTopRow(next > grid->RowCount() - grid->VisibleRowCount() ? grid->FixedRows() : next);
    grid->Repaint();
    cpu += ThreadCpuNs() - start;
  }
  const double us = cpu / double(state.iterations()) / 1e3;
  state.counters["cpu_us"] = us;
  if (gQtCpuUs > 0) state.counters["cpu_speedup_vs_qt"] = gQtCpuUs / us;
}

}  // namespace

BENCHMARK(BM_QtPage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BaseGridPage)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) { return bench::RunOffscreen(argc, argv); }
