// deps: grid Qt6::Widgets
// Applying a filter to the string grid's rows, N rows x 10 columns, against QSortFilterProxyModel over a
// QStandardItemModel holding the same texts, the same condition on the same column: a plain pattern ("a*":
// about half the rows pass) and a comparison (">500"). The grid's time is switching its filter on (the row
// test plus hiding the failing rows as one level); the proxy's is building its row mapping with the condition
// tested in filterAcceptsRow. Rows report grid_ms, proxy_ms and vs_proxy = grid / proxy (goal <= 0.5), one run
// each; see TCase for how the proxy tests a cell. Taking the filter away again is measured the same way: the
// grid switches its filter off (the level's rows come back), a second proxy over the same model maps every row
// (re-filtering the first one accepting all takes minutes: it inserts the rows that come back one run at a
// time) (unfilter_grid_ms, unfilter_proxy_ms, unfilter_vs_proxy).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>

#include <chrono>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "bench/bench_qt.h"
#include "controls/filter_match.h"
#include "grid/data/filter.h"
#include "grid/extgrid.h"
#include "platform/forms/forms.h"

namespace {

constexpr int kCols = 10;
constexpr int kFilterCol = 3;

using TClock = std::chrono::steady_clock;
double MsSince(TClock::time_point t) { return std::chrono::duration<double, std::milli>(TClock::now() - t).count(); }

// Column kFilterCol holds a letter and a number ("a417", "b88"), the others filler.
QString CellText(const std::vector<QString>& Keys, int c, int r) {
  return c == kFilterCol ? Keys[std::size_t(r)] : QString::number((r * 7919 + c * 104729) % 100000);
}

std::vector<QString> MakeKeys(int Rows, bool Numbers) {
  std::mt19937 rng(42);
  std::vector<QString> k;
  k.reserve(std::size_t(Rows));
  for (int r = 0; r < Rows; ++r)
    k.push_back(Numbers ? QString::number(rng() % 1000) : QChar(u'a' + int(rng() % 2)) + QString::number(rng() % 1000));
  return k;
}

// csReader: a plain pattern, the proxy asks the expression reader per cell; csPrepared: the same pattern,
// both sides test with the prepared pattern (the filtering work alone); csExpression: a comparison, both sides
// ask the expression reader.
enum TCase { csReader, csPrepared, csExpression };

class TProxy : public QSortFilterProxyModel {
 public:
  std::function<bool(const QString&)> Accept;

 protected:
  bool filterAcceptsRow(int SourceRow, const QModelIndex& Parent) const override {
    return Accept(sourceModel()->index(SourceRow, kFilterCol, Parent).data().toString());
  }
};

void BM_FilterVsProxy(benchmark::State& State) {
  const int rows = int(State.range(0));
  const TCase kind = TCase(State.range(1));
  const bool expression = kind == csExpression;
  const QString condition = expression ? QStringLiteral(">500") : QStringLiteral("a*");
  // The proxy's test of a cell: the condition read by the expression reader per cell, or (csPrepared) the
  // filter's own reading of it, prepared once as the grid prepares it.
  const grid::TFilterPattern pattern(condition, true);
  const std::function<bool(const QString&)> accept = [&](const QString& v) {
    return kind == csPrepared ? pattern.Matches(v) : controls::MatchFilter(condition, v, true);
  };
  for (auto _ : State) {
    State.PauseTiming();
    const std::vector<QString> keys = MakeKeys(rows, expression);
    double proxyMs = 0, proxyBackMs = 0;
    int proxyRows = 0, proxyBackRows = 0;
    {
      QStandardItemModel model;
      bench::FillModel(model, rows, kCols, [&](int c, int r) { return CellText(keys, c, r); });
      TProxy proxy;
      proxy.Accept = accept;
      proxy.setSourceModel(&model);
      const auto start = TClock::now();
      proxyRows = proxy.rowCount();
      proxyMs = MsSince(start);
      TProxy all;
      all.Accept = [](const QString&) { return true; };
      all.setSourceModel(&model);
      const auto back = TClock::now();
      proxyBackRows = all.rowCount();
      proxyBackMs = MsSince(back);
    }
    auto form = std::make_unique<plat::TForm>(nullptr);
    auto* g = new grid::TExtStringGrid(form.get());
    g->SetColCount(kCols);
    g->SetRowCount(rows + 1);
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < kCols; ++c) g->SetGridCells(c, r + 1, CellText(keys, c, r));
    grid::TFilterData* f = g->Filter()->Add();
    f->Column = kFilterCol;
    f->Condition = condition;
    f->Data = grid::fcNormal;
    State.ResumeTiming();
    const auto start = TClock::now();
    g->SetFilterActive(true);
    const double gridMs = MsSince(start);
    const int gridRows = g->RowCount() - 1;
    const auto back = TClock::now();
    g->SetFilterActive(false);
    const double gridBackMs = MsSince(back);
    State.PauseTiming();
    if (gridRows != proxyRows) State.SkipWithError("the grid and the proxy keep different rows");
    if (g->RowCount() - 1 != proxyBackRows || proxyBackRows != rows)
      State.SkipWithError("the grid and the proxy bring back different rows");
    State.counters["grid_ms"] = gridMs;
    State.counters["proxy_ms"] = proxyMs;
    State.counters["vs_proxy"] = gridMs / proxyMs;
    State.counters["kept"] = proxyRows;
    State.counters["unfilter_grid_ms"] = gridBackMs;
    State.counters["unfilter_proxy_ms"] = proxyBackMs;
    State.counters["unfilter_vs_proxy"] = gridBackMs / proxyBackMs;
    form.reset();
    State.ResumeTiming();
  }
}

}  // namespace

BENCHMARK(BM_FilterVsProxy)
    ->ArgNames({"rows", "case"})
    ->ArgsProduct({{1000000}, {0, 1, 2}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return bench::RunOffscreen(argc, argv); }
