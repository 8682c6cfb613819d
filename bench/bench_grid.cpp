// deps: platform_grids Qt6::Widgets
// The string grid against QTableView over QStandardItemModel holding the same texts (offscreen, one run):
// fill N rows x 10 columns, first paint, scroll one page and repaint, jump to the last row and repaint,
// memory per cell (malloc's bytes in use before and after the fill).
//
// Each step runs for the Qt view first and then for the grid, for N = 1,000 and 1,000,000; the grid's rows
// report speedup_vs_qt = Qt time / grid time (above 1: the grid is faster) and memory_vs_qt = grid bytes /
// Qt bytes. The 1,000,000-row grid rows also report rows_1M_vs_1k = its time / the 1,000-row grid's time
// (the goal: paint and scroll cost independent of the row count, within 1.5).
//
// First paint is timed from the moment a filled, never shown view is shown until its first paint is done
// (for the Qt view this includes setModel, which sizes its headers), after both kinds of view have been painted
// once, so that neither side carries the process's one-time font and style set-up. Scrolling reports the wall time per step
// (speedup_vs_qt) and the GUI thread's CPU time (cpu_speedup_vs_qt): the wall time also holds the window
// system's copy of the painted image, the same for both views.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>

#include <malloc.h>

#include <chrono>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "bench/bench_measure.h"
#include "bench/bench_qt.h"
#include "platform/forms/forms.h"
#include "platform/grids/stringgrid.h"

namespace {

using namespace plat;

constexpr int kCols = 10;
constexpr int kWidth = 800;
constexpr int kHeight = 600;

using bench::HeapInUse;

using TClock = std::chrono::steady_clock;
double NsSince(TClock::time_point start) {
  return std::chrono::duration<double, std::nano>(TClock::now() - start).count();
}

// CPU time of the calling (GUI) thread: what the view itself costs, without the window system's helper
// threads that copy the painted image and without other processes' load.
using bench::ThreadCpuNs;

QString CellText(int c, int r) { return QString::number(r) + u':' + QString::number(c); }

// ---- the two contestants -----------------------------------------------------------------------------------

struct GridSide {
  std::unique_ptr<TForm> form;
  TStringGrid* grid = nullptr;
  explicit GridSide(int rows) {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, kWidth + 20, kHeight + 40);
    grid = new TStringGrid(form.get());
    grid->SetColCount(kCols);
    grid->SetRowCount(rows);
  }
  void Fill() {
    const int rows = grid->RowCount();
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < kCols; ++c) grid->SetCells(c, r, CellText(c, r));
  }
  void Show() {
    grid->SetParent(form.get());
    grid->SetBounds(0, 0, kWidth, kHeight);
    form->Show();
    QApplication::processEvents();  // the window is exposed and painted the first time here
  }
  void Paint() { grid->Repaint(); }
  int Top() const { return grid->TopRow(); }
  void ScrollPage() {
    const int next = grid->TopRow() + grid->VisibleRowCount();
    grid->SetTopRow(next > grid->RowCount() - grid->VisibleRowCount() ? grid->FixedRows() : next);
  }
  void Jump(bool last) { grid->SetTopRow(last ? grid->RowCount() : grid->FixedRows()); }
};

struct QtSide {
  std::unique_ptr<QStandardItemModel> model;
  std::unique_ptr<QTableView> view;
  int rows;
  explicit QtSide(int n) : rows(n) { model = std::make_unique<QStandardItemModel>(n, kCols); }
  void Fill() {
    bench::FillModel(*model, rows, kCols, CellText);
  }
  void Show() {
    view = std::make_unique<QTableView>();
    view->resize(kWidth, kHeight);
    bench::SetUpTableView(*view, *model);
    view->show();
    QApplication::processEvents();
  }
  void Paint() { view->repaint(); }
  int Page() const { return view->viewport()->height() / 24; }
  void ScrollPage() {
    QScrollBar* bar = view->verticalScrollBar();
    const int next = bar->value() + Page();
    bar->setValue(next > bar->maximum() ? 0 : next);
  }
  void Jump(bool last) { view->verticalScrollBar()->setValue(last ? view->verticalScrollBar()->maximum() : 0); }
};

// The filled sides live for the whole run, so that each step starts from the previous one's result.
template <class Side>
std::map<int, std::unique_ptr<Side>>& Sides() {
  static std::map<int, std::unique_ptr<Side>> all;
  return all;
}

// Results of each step, keyed by (step, side, rows).
std::map<std::tuple<int, bool, int>, double>& Results() {
  static std::map<std::tuple<int, bool, int>, double> r;
  return r;
}

enum Step { kFill, kFirstPaint, kPage, kJump, kMemory, kFirstPaintCpu, kPageCpu, kJumpCpu };

void Report(benchmark::State& state, Step step, bool grid, int rows, double value, const char* name) {
  state.counters[name] = value;
  Results()[{step, grid, rows}] = value;
  if (!grid) return;
  auto& all = Results();
  const bool cpu = step == kFirstPaintCpu || step == kPageCpu || step == kJumpCpu;
  if (auto it = all.find({step, false, rows}); it != all.end() && value > 0)
    state.counters[step == kMemory ? "memory_vs_qt" : cpu ? "cpu_speedup_vs_qt" : "speedup_vs_qt"] =
        step == kMemory ? value / it->second : it->second / value;
  if (rows == 1000000 && step != kMemory && step != kFill)
    if (auto it = all.find({step, true, 1000}); it != all.end() && it->second > 0)
      state.counters[cpu ? "cpu_rows_1M_vs_1k" : "rows_1M_vs_1k"] = value / it->second;
}

template <class Side>
void BM_Fill(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  constexpr bool grid = std::is_same_v<Side, GridSide>;
  for (auto _ : state) {
    Sides<Side>().erase(rows);
    const std::size_t before = HeapInUse();
    const auto start = TClock::now();
    auto side = std::make_unique<Side>(rows);
    side->Fill();
    const double ns = NsSince(start);
    const double bytes = double(HeapInUse() - before);
    state.SetIterationTime(ns / 1e9);
    Report(state, kFill, grid, rows, ns / (double(rows) * kCols), "ns_per_cell");
    Report(state, kMemory, grid, rows, bytes / (double(rows) * kCols), "bytes_per_cell");
    Sides<Side>()[rows] = std::move(side);
  }
}

template <class Side>
void BM_FirstPaint(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  constexpr bool grid = std::is_same_v<Side, GridSide>;
  for (auto _ : state) {
    Side* side = Sides<Side>()[rows].get();
    if (!side) {
      state.SkipWithError("no filled view (run the fill step first)");
      return;
    }
    const double cpuStart = ThreadCpuNs();
    const auto start = TClock::now();
    side->Show();
    side->Paint();
    const double ns = NsSince(start);
    state.SetIterationTime(ns / 1e9);
    Report(state, kFirstPaint, grid, rows, ns / 1e3, "us");
    Report(state, kFirstPaintCpu, grid, rows, (ThreadCpuNs() - cpuStart) / 1e3, "cpu_us");
  }
}

template <class Side, Step step>
void BM_Scroll(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  constexpr bool grid = std::is_same_v<Side, GridSide>;
  Side* side = Sides<Side>()[rows].get();
  if (!side) {
    state.SkipWithError("no shown view (run the earlier steps first)");
    return;
  }
  bool last = false;
  double total = 0, cpuTotal = 0;
  for (auto _ : state) {
    const double cpuStart = ThreadCpuNs();
    const auto start = TClock::now();
    if (step == kPage) {
      side->ScrollPage();
    } else {
      last = !last;
      side->Jump(last);
    }
    side->Paint();
    const double ns = NsSince(start);
    cpuTotal += ThreadCpuNs() - cpuStart;
    total += ns;
    state.SetIterationTime(ns / 1e9);
  }
  Report(state, step, grid, rows, total / double(state.iterations()) / 1e3, "us");
  Report(state, step == kPage ? kPageCpu : kJumpCpu, grid, rows, cpuTotal / double(state.iterations()) / 1e3,
         "cpu_us");
}

// Each step for the Qt view first, then for the grid, so that the grid's rows can report the ratios.
template <class QtBench, class GridBench>
void RegisterPair(const char* step, const char* qtView, QtBench qt, GridBench grid, bool once) {
  for (int rows : {1000, 1000000}) {
    for (auto [name, fn] : {std::pair{qtView, qt}, std::pair{"TStringGrid", grid}}) {
      auto* b = benchmark::RegisterBenchmark((std::string(step) + "/" + name).c_str(), fn);
      b->Arg(rows)->UseManualTime();
      if (once) b->Iterations(1);
    }
  }
}

// The first view a process paints pays for the font database, the style and the glyph cache. Whichever side ran
// first would carry all of it (the Qt view, which runs first at 1,000 rows): one small view of each kind is
// filled, shown and painted before anything is timed.
void WarmUp() {
  {
    QtSide qt(50);
    qt.Fill();
    qt.Show();
    qt.Paint();
  }
  {
    GridSide grid(50);
    grid.Fill();
    grid.Show();
    grid.Paint();
  }
  QApplication::processEvents();
}

void Register() {
  RegisterPair("Fill", "QStandardItemModel", BM_Fill<QtSide>, BM_Fill<GridSide>, true);
  RegisterPair("FirstPaint", "QTableView", BM_FirstPaint<QtSide>, BM_FirstPaint<GridSide>, true);
  RegisterPair("PageScroll", "QTableView", BM_Scroll<QtSide, kPage>, BM_Scroll<GridSide, kPage>, false);
  RegisterPair("JumpLastRow", "QTableView", BM_Scroll<QtSide, kJump>, BM_Scroll<GridSide, kJump>, false);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  WarmUp();
  Register();
  benchmark::RunSpecifiedBenchmarks();
  // Views go before the application.
  Sides<GridSide>().clear();
  Sides<QtSide>().clear();
  benchmark::Shutdown();
  return 0;
}
