// deps: grid_model Qt6::Gui
// Inserting and removing single rows in a grid of 1,000,000 rows x 10 columns of text: the grid's row
// operations on its cell store against QStandardItemModel::insertRows / removeRows, in one run. Each side
// inserts one row and removes it again, 40 times at the top and 40 times in the middle; the store's side also
// keeps a per-row height list in step, as the grid does. A second store run has 1 % of its cells carrying
// properties with a cell object (a comment) in them, which follow their rows.
// Goal: the store no slower than the model (speedup = model ns / store ns per insert+remove, at least 1).
#include <benchmark/benchmark.h>

#include <QStandardItem>
#include <QStandardItemModel>

#include <chrono>
#include <memory>
#include <vector>

#include "grid/model/cell_objects.h"
#include "grid/model/cellgrid.h"
#include "grid/model/row_col_ops.h"

namespace {

constexpr int kRows = 1'000'000;
constexpr int kCols = 10;
constexpr int kRounds = 40;

using TClock = std::chrono::steady_clock;
double NsSince(TClock::time_point start) {
  return std::chrono::duration<double, std::nano>(TClock::now() - start).count();
}

class TBenchGrid : public grid::TCellGridHost,
                   public grid::TCellGrid,
                   public grid::TRowColHost,
                   public grid::TCellObjectsHost {
 public:
  TBenchGrid() : grid::TCellGrid(static_cast<grid::TCellGridHost&>(*this)), FHeights(kRows, 20) {}
  int ColCount() const override { return kCols; }
  int RowCount() const override { return FRows; }
  void SetRowCount(int Value) override { FRows = Value; }
  void SetColCount(int) override {}
  void RowsInserted(int ARow, int Count) override { FHeights.insert(FHeights.begin() + ARow, Count, 20); }
  void RowsRemoved(int ARow, int Count) override {
    FHeights.erase(FHeights.begin() + ARow, FHeights.begin() + ARow + Count);
  }

 private:
  int FRows = kRows;
  std::vector<int> FHeights;
};

struct TResult {
  double topNs = 0, middleNs = 0;
};
TResult gModel;

template <class InsertRemove>
TResult TimeRounds(InsertRemove&& insertRemove) {
  TResult res;
  auto start = TClock::now();
  for (int i = 0; i < kRounds; ++i) insertRemove(0);
  res.topNs = NsSince(start) / kRounds;
  start = TClock::now();
  for (int i = 0; i < kRounds; ++i) insertRemove(kRows / 2);
  res.middleNs = NsSince(start) / kRounds;
  return res;
}

void Report(benchmark::State& state, const TResult& r, bool store) {
  state.counters["top_us_per_insert_remove"] = r.topNs / 1000;
  state.counters["middle_us_per_insert_remove"] = r.middleNs / 1000;
  if (store && gModel.topNs > 0) {
    state.counters["speedup_top"] = gModel.topNs / r.topNs;
    state.counters["speedup_middle"] = gModel.middleNs / r.middleNs;
  }
}

void BM_ModelInsertRemoveRow(benchmark::State& state) {
  for (auto _ : state) {
    auto model = std::make_unique<QStandardItemModel>(kRows, kCols);
    for (int r = 0; r < kRows; ++r)
      for (int c = 0; c < kCols; ++c) model->setItem(r, c, new QStandardItem(QStringLiteral("R%1 C%2").arg(r).arg(c)));
    gModel = TimeRounds([&](int row) {
      model->insertRows(row, 1);
      model->removeRows(row, 1);
    });
    Report(state, gModel, false);
  }
}

void StoreRun(benchmark::State& state, bool withProps) {
  for (auto _ : state) {
    auto grid = std::make_unique<TBenchGrid>();
    for (int r = 0; r < kRows; ++r)
      for (int c = 0; c < kCols; ++c) grid->SetGridCell(c, r, QStringLiteral("R%1 C%2").arg(r).arg(c));
    grid::TCellObjects objects(*grid, *grid);
    if (withProps)
      for (int r = 0; r < kRows; r += 10) objects.AddComment(r / 10 % kCols, r, QStringLiteral("note"));
    grid::TRowColOps ops(*grid, *grid);
    const TResult res = TimeRounds([&](int row) {
      ops.InsertRows(row, 1);
      ops.RemoveRows(row, 1);
    });
    Report(state, res, true);
  }
}

void BM_StoreInsertRemoveRow(benchmark::State& state) { StoreRun(state, false); }
void BM_StoreWithObjectsInsertRemoveRow(benchmark::State& state) { StoreRun(state, true); }

}  // namespace

BENCHMARK(BM_ModelInsertRemoveRow)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StoreInsertRemoveRow)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StoreWithObjectsInsertRemoveRow)->Iterations(1)->Unit(benchmark::kMillisecond);
