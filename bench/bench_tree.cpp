// deps: tree Qt6::Gui
// Node store of the lazy tree against QStandardItemModel: build 1,000 x 1,000 nodes, walk them all, delete
// them; memory per node from the allocator's statistics.
#include <benchmark/benchmark.h>

#include <QStandardItem>
#include <QStandardItemModel>

#include <malloc.h>

#include <memory>

#include "tree/lazytree.h"

using namespace lazytree;

namespace {

constexpr int kTop = 1000;
constexpr int kChildren = 1000;
constexpr double kNodes = double(kTop) * kChildren + kTop;

std::size_t HeapInUse() {
  struct mallinfo2 mi = mallinfo2();
  return mi.uordblks + mi.hblkhd;
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

void BM_TreeBuild(benchmark::State& state) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto tree = NewTree();
    const std::size_t before = HeapInUse();
    state.ResumeTiming();
    BuildTree(*tree);
    state.PauseTiming();
    bytes = HeapInUse() - before + tree->NodeStoreMappedBytes();
    tree.reset();
    state.ResumeTiming();
  }
  state.counters["bytes_per_node"] = double(bytes) / kNodes;
  state.counters["nodes_per_s"] = benchmark::Counter(kNodes, benchmark::Counter::kIsIterationInvariantRate);
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

void BM_ModelBuild(benchmark::State& state) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto model = std::make_unique<QStandardItemModel>();
    const std::size_t before = HeapInUse();
    state.ResumeTiming();
    BuildModel(*model);
    state.PauseTiming();
    bytes = HeapInUse() - before;
    model.reset();
    state.ResumeTiming();
  }
  state.counters["bytes_per_node"] = double(bytes) / kNodes;
  state.counters["nodes_per_s"] = benchmark::Counter(kNodes, benchmark::Counter::kIsIterationInvariantRate);
}

// The same shape with a pointer-sized value in every item, as the tree's nodes carry.
void BM_ModelBuildWithData(benchmark::State& state) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto model = std::make_unique<QStandardItemModel>();
    const std::size_t before = HeapInUse();
    state.ResumeTiming();
    for (int i = 0; i < kTop; ++i) {
      auto* parent = new QStandardItem;
      parent->setData(QVariant::fromValue<quintptr>(quintptr(i)), Qt::UserRole);
      for (int j = 0; j < kChildren; ++j) {
        auto* item = new QStandardItem;
        item->setData(QVariant::fromValue<quintptr>(quintptr(j)), Qt::UserRole);
        parent->appendRow(item);
      }
      model->appendRow(parent);
    }
    state.PauseTiming();
    bytes = HeapInUse() - before;
    model.reset();
    state.ResumeTiming();
  }
  state.counters["bytes_per_node"] = double(bytes) / kNodes;
  state.counters["nodes_per_s"] = benchmark::Counter(kNodes, benchmark::Counter::kIsIterationInvariantRate);
}

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

BENCHMARK(BM_TreeBuild)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeBuildByChildCount)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModelBuild)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModelBuildWithData)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeWalk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeWalkInitialising)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModelWalk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeDelete)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModelDelete)->Unit(benchmark::kMillisecond);
