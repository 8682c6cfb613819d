// deps: grid_data
// A find that matches nothing over 1,000,000 cells (100,000 rows x 10 columns) of a window-free grid, against a
// plain loop over the same cells that reads each text from the same store and tests it with the same
// comparison (contains, ignoring case). The find also walks the range, maps columns, skips ignored columns and
// reports every examined cell. Rows report find_ms, loop_ms and ratio = find / loop (goal <= 3); the ratio of
// one run is printed too.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

#include "grid/data/data_grid.h"
#include "grid/data/find.h"
#include "grid/data/find_data_host.h"

namespace {

using TClock = std::chrono::steady_clock;
double MsSince(TClock::time_point t) { return std::chrono::duration<double, std::milli>(TClock::now() - t).count(); }

constexpr int kCols = 10, kRows = 100000;

void Fill(grid::TDataGrid& g) {
  g.SetColCount(kCols);
  g.SetRowCount(kRows);
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kCols; ++c)
      g.SetGridCell(c, r, QStringLiteral("Meter %1 reading %2 m3").arg(r).arg((r * 7919 + c * 104729) % 100000));
}

void BM_FindNothingIn1MCells(benchmark::State& State) {
  grid::TDataGrid g(kCols, kRows);
  Fill(g);
  grid::TDataGridFindHost host(g);
  grid::TGridFind find(host);
  const QString needle = QStringLiteral("no such text");
  double findMs = 0, loopMs = 0;
  for (auto _ : State) {
    auto t = TClock::now();
    const plat::TPoint p = find.Find({-1, -1}, needle, {});
    findMs = MsSince(t);
    benchmark::DoNotOptimize(p);

    t = TClock::now();
    int hits = 0;
    for (int c = 0; c < kCols; ++c)
      for (int r = 0; r < kRows; ++r)
        if (g.Cells(c, r).contains(needle, Qt::CaseInsensitive)) ++hits;
    loopMs = MsSince(t);
    benchmark::DoNotOptimize(hits);
    if (p.X != -1 || hits != 0) State.SkipWithError("the text was found");
  }
  State.counters["find_ms"] = findMs;
  State.counters["loop_ms"] = loopMs;
  State.counters["ratio"] = findMs / loopMs;
  std::printf("find over 1M cells: %.1f ms, plain loop: %.1f ms, ratio %.2f (goal <= 3)\n", findMs, loopMs,
              findMs / loopMs);
}
BENCHMARK(BM_FindNothingIn1MCells)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
