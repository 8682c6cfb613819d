// deps: tree Qt6::Gui
// Sorting 1,000,000 siblings by an integer key: the lazy tree's merge sort over its sibling chain, asking the
// comparison event for each pair, against QStandardItemModel::sort over one column of the same keys. Both
// start every iteration from the same shuffled keys (set while the clock is stopped). The model runs first;
// the tree row reports speedup = model time / tree time, and comparisons per node against log2(n), which
// shows the sort stays O(n log n).
#include <benchmark/benchmark.h>

#include <QStandardItem>
#include <QStandardItemModel>

#include <chrono>
#include <cmath>
#include <random>
#include <vector>

#include "tree/lazytree.h"

using namespace lazytree;

namespace {

constexpr int kCount = 1000000;

std::vector<int> Keys(uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<int> keys(kCount);
  for (int& k : keys) k = static_cast<int>(rng() % 10000000);
  return keys;
}

double gModelNs = 0;

void BM_ModelSort(benchmark::State& state) {
  uint32_t seed = 1;
  double ns = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const std::vector<int> keys = Keys(seed++);
    // After a sort every item finds its row by searching outward from where it last stood, so touching or
    // deleting the items of a sorted million costs minutes: the model is left alive on purpose (one
    // iteration, freed with the process).
    auto* model = new QStandardItemModel;
    QList<QStandardItem*> items;
    items.reserve(kCount);
    for (int i = 0; i < kCount; ++i) {
      auto* item = new QStandardItem;
      item->setData(keys[i], Qt::DisplayRole);
      items.append(item);
    }
    model->appendColumn(items);
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    model->sort(0, Qt::AscendingOrder);
    ns += std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
  }
  gModelNs = ns / double(state.iterations());
  state.counters["ns_per_node"] = gModelNs / kCount;
}

void BM_TreeSort(benchmark::State& state) {
  TBaseLazyTree tree;
  tree.SetNodeDataType<int>();
  tree.TreeOptions().AutoOptions = {};
  tree.BeginUpdate();
  for (int i = 0; i < kCount; ++i) tree.AddChild(nullptr);
  tree.EndUpdate();
  int64_t comparisons = 0;
  tree.OnCompareNodes = [&](TBaseLazyTree* t, PLazyNode a, PLazyNode b, TColumnIndex, int& r) {
    ++comparisons;
    const int x = *t->GetNodeData<int>(a), y = *t->GetNodeData<int>(b);
    r = (x > y) - (x < y);
  };
  uint32_t seed = 1;
  double ns = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const std::vector<int> keys = Keys(seed++);
    int i = 0;
    for (PLazyNode n = tree.GetFirstNoInit(); n; n = n->NextSibling) *tree.GetNodeData<int>(n) = keys[i++];
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    tree.Sort(nullptr, NoColumn, sdAscending, false);
    ns += std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
  }
  const double perIteration = ns / double(state.iterations());
  state.counters["ns_per_node"] = perIteration / kCount;
  state.counters["comparisons_per_node"] = double(comparisons) / double(state.iterations()) / kCount;
  state.counters["log2_n"] = std::log2(double(kCount));
  if (gModelNs > 0) state.counters["speedup"] = gModelNs / perIteration;
}

}  // namespace

BENCHMARK(BM_ModelSort)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_TreeSort)->Unit(benchmark::kMillisecond)->Iterations(3);
