// deps: grid_model Qt6::Gui
// The grid's cell store against QStandardItemModel: 1,000,000 rows x 10 columns of text set and read back,
// then 1 % of the cells given a background colour (properties), and all cells read again. Both sides are given
// the same freshly built texts (built before the timed part, released after it, so each side ends up holding
// the only reference to every text); memory per cell is the heap growth from before the texts were built to
// after they were released (malloc's bytes in use).
// Reads: the model's row reads as its view does, through data(index) and the variant's text (the item's own
// text() is reported beside it); the store's row reads Cells, which returns a counted copy of the text, and
// the stored text by reference (speedup_read_ref), as painting and the data services read it.
// Goal: the store at most half the model's bytes per cell, and setting and reading at least 3x faster. The
// store's row reports the ratios against the model row, which runs first in the same process:
// speedup_set / speedup_read = model time / store time, memory_ratio = store bytes / model bytes.
// Beside them: display <-> real row mapping of 1M rows with 100k hidden.
#include <benchmark/benchmark.h>

#include <QBrush>
#include <QColor>
#include <QStandardItem>
#include <QStandardItemModel>

#include <malloc.h>

#include <chrono>
#include <memory>
#include <vector>

#include "bench/bench_measure.h"
#include "grid/model/cellgrid.h"
#include "grid/model/hidden_axes.h"

namespace {

constexpr int kRows = 1'000'000;
constexpr int kCols = 10;
constexpr double kCells = double(kRows) * kCols;

using bench::HeapInUse;

using TClock = std::chrono::steady_clock;
double NsSince(TClock::time_point start) {
  return std::chrono::duration<double, std::nano>(TClock::now() - start).count();
}

// One text per cell, row-major, each with its own data.
std::vector<QString> MakeTexts() {
  std::vector<QString> texts;
  texts.reserve(std::size_t(kRows) * kCols);
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kCols; ++c) texts.push_back(QStringLiteral("R%1 C%2").arg(r).arg(c));
  return texts;
}

struct TResult {
  double setNs = 0, readNs = 0, readItemNs = 0, propsNs = 0, readPropsNs = 0, bytes = 0;
};
TResult gModel;

void Report(benchmark::State& state, const TResult& r) {
  state.counters["set_ns_per_cell"] = r.setNs / kCells;
  state.counters["read_ns_per_cell"] = r.readNs / kCells;
  state.counters[&r == &gModel ? "read_item_text_ns_per_cell" : "read_ref_ns_per_cell"] = r.readItemNs / kCells;
  state.counters["props_ns_per_cell"] = r.propsNs / (kCells / 100);
  state.counters["read_with_props_ns_per_cell"] = r.readPropsNs / kCells;
  state.counters["bytes_per_cell"] = r.bytes / kCells;
}

// A store with the counts its window would give it.
class TBenchGrid : public grid::TCellGridHost, public grid::TCellGrid {
 public:
  TBenchGrid() : grid::TCellGrid(static_cast<grid::TCellGridHost&>(*this)) {}
  int ColCount() const override { return kCols; }
  int RowCount() const override { return kRows; }
};

template <class Read>
double TimeReads(Read&& read) {
  const auto start = TClock::now();
  qsizetype total = 0;
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kCols; ++c) total += read(c, r);
  benchmark::DoNotOptimize(total);
  return NsSince(start);
}

void BM_Model(benchmark::State& state) {
  for (auto _ : state) {
    TResult res;
    const std::size_t before = HeapInUse();
    auto texts = MakeTexts();
    auto model = std::make_unique<QStandardItemModel>(kRows, kCols);
    auto start = TClock::now();
    for (int r = 0; r < kRows; ++r)
      for (int c = 0; c < kCols; ++c) model->setItem(r, c, new QStandardItem(texts[std::size_t(r) * kCols + c]));
    res.setNs = NsSince(start);
    texts = {};
    res.bytes = double(HeapInUse() - before);
    // A view reads through data(index); the item's own text() is the cheapest read the model offers.
    res.readNs = TimeReads([&](int c, int r) { return model->data(model->index(r, c)).toString().size(); });
    res.readItemNs = TimeReads([&](int c, int r) { return model->item(r, c)->text().size(); });
    start = TClock::now();
    const QBrush red(QColor(255, 0, 0));
    for (int r = 0; r < kRows; r += 10) model->item(r, r / 10 % kCols)->setBackground(red);
    res.propsNs = NsSince(start);
    res.readPropsNs = TimeReads([&](int c, int r) { return model->data(model->index(r, c)).toString().size(); });
    model.reset();
    gModel = res;
    Report(state, gModel);
  }
}

void BM_CellStore(benchmark::State& state) {
  for (auto _ : state) {
    TResult res;
    const std::size_t before = HeapInUse();
    auto texts = MakeTexts();
    auto store = std::make_unique<TBenchGrid>();
    auto start = TClock::now();
    for (int r = 0; r < kRows; ++r)
      for (int c = 0; c < kCols; ++c) store->SetCellEx(c, r, texts[std::size_t(r) * kCols + c]);
    res.setNs = NsSince(start);
    texts = {};
    res.bytes = double(HeapInUse() - before);
    res.readNs = TimeReads([&](int c, int r) { return store->GetCellEx(c, r).size(); });
    // The stored text without a copy, as painting and the data services read it when no display-text event
    // is assigned.
    res.readItemNs = TimeReads([&](int c, int r) { return store->GridCellRef(c, r).size(); });
    start = TClock::now();
    for (int r = 0; r < kRows; r += 10) store->GetCellProperties(r / 10 % kCols, r)->SetBrushColor(plat::clRed);
    res.propsNs = NsSince(start);
    res.readPropsNs = TimeReads([&](int c, int r) { return store->GetCellEx(c, r).size(); });
    store.reset();
    Report(state, res);
    if (gModel.setNs > 0) {
      state.counters["speedup_set"] = gModel.setNs / res.setNs;
      state.counters["speedup_read"] = gModel.readNs / res.readNs;
      state.counters["speedup_read_ref"] = gModel.readNs / res.readItemNs;
      state.counters["speedup_read_with_props"] = gModel.readPropsNs / res.readPropsNs;
      state.counters["speedup_props"] = gModel.propsNs / res.propsNs;
      state.counters["memory_ratio"] = res.bytes / gModel.bytes;
    }
  }
}

// Index mapping of a grid of 1,000,000 rows with 100,000 of them hidden: every display row to its real row and
// back, without walking the hidden rows.
void BM_HiddenRowMapping(benchmark::State& state) {
  grid::THiddenRowIndex hidden;
  for (int r = 5; r < kRows; r += 10) hidden.Add(r);
  const int shown = kRows - hidden.Count();
  for (auto _ : state) {
    long long sum = 0;
    for (int d = 0; d < shown; ++d) sum += hidden.RealToDispl(hidden.DisplToReal(d));
    benchmark::DoNotOptimize(sum);
  }
  state.counters["ns_per_lookup_pair"] =
      benchmark::Counter(double(shown), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(BM_HiddenRowMapping)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Model)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CellStore)->Iterations(1)->Unit(benchmark::kMillisecond);
