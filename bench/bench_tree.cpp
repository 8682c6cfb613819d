// deps: tree Qt6::Gui
// Node store of the lazy tree against QStandardItemModel: build 1,000 x 1,000 nodes, walk them all, delete
// them; memory per node from the allocator's statistics (malloc's bytes in use, plus the chunks the tree's
// arena maps itself, counted whole).
//
// The fair comparison is the model whose items carry the same payload as the nodes: every tree node holds
// NodeDataSize (8) bytes of user data, so every model item holds a qulonglong, as a caller keeping a pointer
// per row would store it. The bare model (items without data) is kept as an extra row.
// The tree's build rows report their ratios to both model rows when those ran first in the same process
// (they are registered first): speedup_* = model time / tree time, memory_* = tree bytes / model bytes.
#include <benchmark/benchmark.h>

#include <QStandardItem>
#include <QStandardItemModel>

#include <malloc.h>

#include <chrono>
#include <memory>

#include "bench/bench_measure.h"
#include "tree/lazytree.h"

using namespace lazytree;

namespace {

constexpr int kTop = 1000;
constexpr int kChildren = 1000;
constexpr double kNodes = double(kTop) * kChildren + kTop;

using bench::HeapInUse;

// Per-node results of the model rows, for the tree rows' ratios (0 until measured).
struct TPerNode {
  double ns = 0;
  double bytes = 0;
};
TPerNode gModelBare;
TPerNode gModelWithData;

using TClock = std::chrono::steady_clock;

double NsSince(TClock::time_point start) {
  return std::chrono::duration<double, std::nano>(TClock::now() - start).count();
}

void ReportPerNode(benchmark::State& state, double totalNs, std::size_t bytes, TPerNode* keep) {
  const double iterations = double(state.iterations());
  TPerNode r{totalNs / iterations / kNodes, double(bytes) / kNodes};
  state.counters["ns_per_node"] = r.ns;
  state.counters["bytes_per_node"] = r.bytes;
  state.counters["nodes_per_s"] = benchmark::Counter(kNodes, benchmark::Counter::kIsIterationInvariantRate);
  if (keep) *keep = r;
}

void ReportRatios(benchmark::State& state) {
  const double ns = state.counters["ns_per_node"];
  const double bytes = state.counters["bytes_per_node"];
  if (gModelWithData.ns > 0) {
    state.counters["speedup_vs_model_data"] = gModelWithData.ns / ns;
    state.counters["memory_vs_model_data"] = bytes / gModelWithData.bytes;
  }
  if (gModelBare.ns > 0) {
    state.counters["speedup_vs_model_bare"] = gModelBare.ns / ns;
    state.counters["memory_vs_model_bare"] = bytes / gModelBare.bytes;
  }
}

void BuildTree(TBaseLazyTree& tree) {
  tree.BeginUpdate();
  for (int i = 0; i < kTop; ++i) {
    PLazyNode parent = tree.AddChild(nullptr);
    for (int j = 0; j < kChildren; ++j) tree.AddChild(parent);
  }
  tree.EndUpdate();
}

std::unique_ptr<TBaseLazyTree> NewTree() {
  auto tree = std::make_unique<TBaseLazyTree>();
  tree->SetNodeDataSize(8);  // one pointer of user data per node
  return tree;
}

void BuildModel(QStandardItemModel& model) {
  for (int i = 0; i < kTop; ++i) {
    auto* parent = new QStandardItem;
    for (int j = 0; j < kChildren; ++j) parent->appendRow(new QStandardItem);
    model.appendRow(parent);
  }
}

// The same shape with an 8-byte value in every item, as the tree's nodes carry their user data.
void BuildModelWithData(QStandardItemModel& model) {
  for (int i = 0; i < kTop; ++i) {
    auto* parent = new QStandardItem;
    parent->setData(QVariant::fromValue<qulonglong>(qulonglong(i)), Qt::UserRole);
    for (int j = 0; j < kChildren; ++j) {
      auto* item = new QStandardItem;
      item->setData(QVariant::fromValue<qulonglong>(qulonglong(j)), Qt::UserRole);
      parent->appendRow(item);
    }
    model.appendRow(parent);
  }
}

void BM_TreeBuild(benchmark::State& state) {
  std::size_t bytes = 0;
  double ns = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto tree = NewTree();
    const std::size_t before = HeapInUse();
    state.ResumeTiming();
    const auto start = TClock::now();
    BuildTree(*tree);
    ns += NsSince(start);
    state.PauseTiming();
    bytes = HeapInUse() - before + tree->NodeStoreMappedBytes();
    tree.reset();
    state.ResumeTiming();
  }
  ReportPerNode(state, ns, bytes, nullptr);
  ReportRatios(state);
}

void BM_TreeBuildByChildCount(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto tree = NewTree();
    state.ResumeTiming();
    tree->SetRootNodeCount(kTop);
    for (PLazyNode n = tree->GetFirstNoInit(); n; n = n->NextSibling) tree->SetChildCount(n, kChildren);
    state.PauseTiming();
    tree.reset();
    state.ResumeTiming();
  }
  state.counters["nodes_per_s"] = benchmark::Counter(kNodes, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_TreeWalk(benchmark::State& state) {
  auto tree = NewTree();
  BuildTree(*tree);
  for (auto _ : state) {
    std::size_t count = 0;
    for (PLazyNode n = tree->GetFirstNoInit(); n; n = tree->GetNextNoInit(n)) ++count;
    benchmark::DoNotOptimize(count);
  }
  state.counters["nodes_per_s"] = benchmark::Counter(kNodes, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_TreeWalkInitialising(benchmark::State& state) {
  auto tree = NewTree();
  BuildTree(*tree);
  for (auto _ : state) {
    std::size_t count = 0;
    for (PLazyNode n = tree->GetFirst(); n; n = tree->GetNext(n)) ++count;
    benchmark::DoNotOptimize(count);
  }
  state.counters["nodes_per_s"] = benchmark::Counter(kNodes, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_TreeDelete(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto tree = NewTree();
    BuildTree(*tree);
    state.ResumeTiming();
    tree->Clear();
  }
  state.counters["nodes_per_s"] = benchmark::Counter(kNodes, benchmark::Counter::kIsIterationInvariantRate);
}

template <void (*Build)(QStandardItemModel&)>
void ModelBuildRow(benchmark::State& state, TPerNode* keep) {
  // One untimed build first, so that the first timed one does not pay for growing the heap (the tree's
  // row likewise builds on warm memory after its first iteration).
  {
    QStandardItemModel warm;
    Build(warm);
  }
  std::size_t bytes = 0;
  double ns = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto model = std::make_unique<QStandardItemModel>();
    const std::size_t before = HeapInUse();
    state.ResumeTiming();
    const auto start = TClock::now();
    Build(*model);
    ns += NsSince(start);
    state.PauseTiming();
    bytes = HeapInUse() - before;
    model.reset();
    state.ResumeTiming();
  }
  ReportPerNode(state, ns, bytes, keep);
}

// Items without any data: cheaper than what a caller would build, shown for reference only.
void BM_ModelBuildBare(benchmark::State& state) { ModelBuildRow<BuildModel>(state, &gModelBare); }

// The fair counterpart of BM_TreeBuild.
void BM_ModelBuildWithData(benchmark::State& state) { ModelBuildRow<BuildModelWithData>(state, &gModelWithData); }

void BM_ModelWalk(benchmark::State& state) {
  QStandardItemModel model;
  BuildModel(model);
  for (auto _ : state) {
    std::size_t count = 0;
    QStandardItem* root = model.invisibleRootItem();
    for (int i = 0, n = root->rowCount(); i < n; ++i) {
      QStandardItem* top = root->child(i);
      ++count;
      // Each item is looked at, as the tree's walk looks at each node.
      for (int j = 0, m = top->rowCount(); j < m; ++j) count += top->child(j)->rowCount() == 0;
    }
    benchmark::DoNotOptimize(count);
  }
  state.counters["nodes_per_s"] = benchmark::Counter(kNodes, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_ModelDelete(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto model = std::make_unique<QStandardItemModel>();
    BuildModel(*model);
    state.ResumeTiming();
    model->clear();
  }
  state.counters["nodes_per_s"] = benchmark::Counter(kNodes, benchmark::Counter::kIsIterationInvariantRate);
}

}  // namespace

// The model rows first, so that the tree rows can report their ratios.
BENCHMARK(BM_ModelBuildWithData)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ModelBuildBare)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_TreeBuild)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_TreeBuildByChildCount)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeWalk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeWalkInitialising)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModelWalk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeDelete)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModelDelete)->Unit(benchmark::kMillisecond);
