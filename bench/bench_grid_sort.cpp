// deps: grid Qt6::Widgets
// Sorting the string grid's rows, N rows x 10 columns, on a text column and on a numeric column (one run
// each), against two references over the same cells:
//   - std::stable_sort of the column's keys, extracted beforehand as (key, row) pairs (texts as they are,
//     numbers already converted), plus moving the rows into the sorted order: the least a sort can do;
//   - QSortFilterProxyModel::sort over a QStandardItemModel holding the same texts.
// Inputs: random, sorted, reversed and all-equal keys. The grid compares the sort column only (Full off), as
// both references do. Rows report grid_ms, the reference times, vs_stable = grid / stable_sort (goal <= 2)
// and vs_proxy = grid / proxy (goal <= 0.2, random input); the scaling rows report the grid's time per
// n log2 n relative to 10,000 rows (flat means linear-logarithmic).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "bench/bench_qt.h"
#include "grid/extgrid.h"
#include "platform/forms/forms.h"

namespace {

constexpr int kCols = 10;
constexpr int kTextCol = 1, kNumCol = 2;
enum TInput { inRandom, inSorted, inReversed, inEqual };

using TClock = std::chrono::steady_clock;
double MsSince(TClock::time_point t) { return std::chrono::duration<double, std::milli>(TClock::now() - t).count(); }

// The texts of one input: column kTextCol holds words, kNumCol numbers, the rest filler.
struct TCells {
  int Rows = 0;
  std::vector<QString> Text, Num;
  std::vector<double> NumValue;
  QString Filler(int c, int r) const { return QString::number((r * 7919 + c * 104729) % 100000); }
};

TCells MakeCells(int Rows, TInput In) {
  TCells t;
  t.Rows = Rows;
  std::mt19937 rng(42);
  std::vector<int> keys(static_cast<std::size_t>(Rows));
  for (int& k : keys) k = static_cast<int>(rng() % 100000000);
  if (In == inSorted || In == inReversed) std::sort(keys.begin(), keys.end());
  if (In == inReversed) std::reverse(keys.begin(), keys.end());
  if (In == inEqual) std::fill(keys.begin(), keys.end(), 4711);
  for (int k : keys) {
    t.Text.push_back(QStringLiteral("w%1").arg(k, 8, 10, QLatin1Char('0')));
    t.NumValue.push_back(k / 100.0);
    t.Num.push_back(QString::number(k / 100.0, 'f', 2));
  }
  return t;
}

struct TGridUnderTest {
  std::unique_ptr<plat::TForm> Form = std::make_unique<plat::TForm>(nullptr);
  grid::TExtStringGrid* G = new grid::TExtStringGrid(Form.get());
  explicit TGridUnderTest(const TCells& t) {
    G->SetColCount(kCols);
    G->SetRowCount(t.Rows + 1);
    G->SortSettings()->Full = false;
    for (int r = 0; r < t.Rows; ++r)
      for (int c = 0; c < kCols; ++c)
        G->SetGridCells(c, r + 1, c == kTextCol ? t.Text[std::size_t(r)] : c == kNumCol ? t.Num[std::size_t(r)] : t.Filler(c, r));
  }
  double SortMs(int Col) {
    const auto start = TClock::now();
    G->Sort(Col, grid::sdAscending);
    return MsSince(start);
  }
};

// Stable sort of the extracted pairs, then the rows (10 texts each) moved into that order.
template <class Key>
double StableMs(const TCells& t, const std::vector<Key>& keys) {
  std::vector<std::pair<Key, int>> pairs;
  pairs.reserve(keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) pairs.emplace_back(keys[i], int(i));
  std::vector<std::vector<QString>> rows(std::size_t(t.Rows));
  for (int r = 0; r < t.Rows; ++r)
    for (int c = 0; c < kCols; ++c)
      rows[std::size_t(r)].push_back(c == kTextCol ? t.Text[std::size_t(r)] : c == kNumCol ? t.Num[std::size_t(r)] : t.Filler(c, r));
  const auto start = TClock::now();
  std::stable_sort(pairs.begin(), pairs.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::vector<QString>> sorted(rows.size());
  for (std::size_t i = 0; i < pairs.size(); ++i) sorted[i] = std::move(rows[std::size_t(pairs[i].second)]);
  rows.swap(sorted);
  const double ms = MsSince(start);
  benchmark::DoNotOptimize(rows.data());
  return ms;
}

double ProxyMs(QSortFilterProxyModel& Proxy, int Col) {
  const auto start = TClock::now();
  Proxy.sort(Col, Qt::AscendingOrder);
  return MsSince(start);
}

void Report(benchmark::State& State, double grid, double stable, double proxy) {
  State.counters["grid_ms"] = grid;
  State.counters["stable_ms"] = stable;
  State.counters["vs_stable"] = grid / stable;
  if (proxy > 0) {
    State.counters["proxy_ms"] = proxy;
    State.counters["vs_proxy"] = grid / proxy;
  }
}

void BM_SortVsReferences(benchmark::State& State) {
  const int rows = int(State.range(0));
  const TInput in = TInput(State.range(1));
  const bool numeric = State.range(2) != 0;
  const int col = numeric ? kNumCol : kTextCol;
  for (auto _ : State) {
    State.PauseTiming();
    const TCells cells = MakeCells(rows, in);
    double proxy = 0;
    if (in == inRandom) {
      QStandardItemModel model;
      bench::FillModel(model, rows, kCols, [&](int c, int r) {
        return c == kTextCol ? cells.Text[std::size_t(r)] : c == kNumCol ? cells.Num[std::size_t(r)] : cells.Filler(c, r);
      });
      QSortFilterProxyModel p;
      p.setSourceModel(&model);
      proxy = ProxyMs(p, col);
    }
    const double stable = numeric ? StableMs(cells, cells.NumValue) : StableMs(cells, cells.Text);
    TGridUnderTest g(cells);
    State.ResumeTiming();
    const double grid = g.SortMs(col);
    State.PauseTiming();
    Report(State, grid, stable, proxy);
    State.ResumeTiming();
  }
}

double gBase = 0;

void BM_GridSortScaling(benchmark::State& State) {
  const int rows = int(State.range(0));
  for (auto _ : State) {
    State.PauseTiming();
    TGridUnderTest g(MakeCells(rows, inRandom));
    State.ResumeTiming();
    const double ms = g.SortMs(kTextCol);
    const double perNlogN = ms / (rows * std::log2(double(rows)));
    if (rows == 10000) gBase = perNlogN;
    State.counters["grid_ms"] = ms;
    if (gBase > 0) State.counters["per_nlogn_vs_10k"] = perNlogN / gBase;
  }
}

}  // namespace

BENCHMARK(BM_SortVsReferences)
    ->ArgNames({"rows", "input", "numeric"})
    ->ArgsProduct({{1000000}, {inRandom, inSorted, inReversed, inEqual}, {0, 1}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridSortScaling)->Arg(10000)->Arg(100000)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return bench::RunOffscreen(argc, argv); }
