// deps: tree Qt6::Gui
// Node transfer of 1,000 x 100 nodes (101,000), each with 8 bytes of user data: the lazy tree writes the node
// chunks of its top-level nodes (the copy road of the clipboard and of drag and drop) and reads them into an
// empty tree, checking the whole input before it makes a node; QStandardItemModel encodes the same items as
// its drag data (mimeData: its own recursive format beside the flat one of every item model) and drops them
// into an empty model (dropMimeData). The model rows run
// first; the tree rows report speedup = model time / tree time and the bytes per node of both encodings.
#include <benchmark/benchmark.h>

#include <QMimeData>
#include <QStandardItem>
#include <QStandardItemModel>

#include <chrono>
#include <cstring>
#include <memory>

#include "platform/rtl/streams.h"
#include "tree/lazytree.h"

using namespace lazytree;

namespace {

constexpr int kTop = 1000;
constexpr int kChildren = 100;
constexpr double kNodes = double(kTop) * kChildren + kTop;

double gModelWriteNs = 0;
double gModelReadNs = 0;

double Ns(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
}

std::unique_ptr<QStandardItemModel> MakeModel() {
  auto model = std::make_unique<QStandardItemModel>();
  qulonglong id = 0;
  for (int i = 0; i < kTop; ++i) {
    auto* top = new QStandardItem;
    top->setData(id++, Qt::UserRole);
    for (int j = 0; j < kChildren; ++j) {
      auto* child = new QStandardItem;
      child->setData(id++, Qt::UserRole);
      top->appendRow(child);
    }
    model->appendRow(top);
  }
  return model;
}

QModelIndexList TopLevel(const QStandardItemModel& model) {
  QModelIndexList list;
  for (int i = 0; i < model.rowCount(); ++i) list.append(model.index(i, 0));
  return list;
}

void BM_ModelEncode(benchmark::State& state) {
  auto model = MakeModel();
  const QModelIndexList indexes = TopLevel(*model);
  double ns = 0;
  qsizetype bytes = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    std::unique_ptr<QMimeData> data(model->mimeData(indexes));
    ns += Ns(start);
    bytes = data->data(QStringLiteral("application/x-qstandarditemmodeldatalist")).size();
  }
  gModelWriteNs = ns / double(state.iterations());
  state.counters["ns_per_node"] = gModelWriteNs / kNodes;
  state.counters["bytes_per_node"] = double(bytes) / kNodes;
}

void BM_ModelDecode(benchmark::State& state) {
  auto source = MakeModel();
  std::unique_ptr<QMimeData> data(source->mimeData(TopLevel(*source)));
  double ns = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto target = std::make_unique<QStandardItemModel>();
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    target->dropMimeData(data.get(), Qt::CopyAction, -1, -1, QModelIndex());
    ns += Ns(start);
    state.PauseTiming();
    if (target->rowCount() != kTop || target->item(0)->rowCount() != kChildren) state.SkipWithError("wrong rows");
    target.reset();
    state.ResumeTiming();
  }
  gModelReadNs = ns / double(state.iterations());
  state.counters["ns_per_node"] = gModelReadNs / kNodes;
}

// A tree whose nodes carry 8 bytes, saved and loaded through the node events.
class TDataTree : public TBaseLazyTree {
 public:
  TDataTree() {
    SetNodeDataSize(8);
    TreeOptions().AutoOptions = {};
    OnSaveNode = [](TBaseLazyTree* t, PLazyNode n, plat::TStream& s) {
      s.WriteU64LE(*static_cast<uint64_t*>(t->GetNodeData(n)));
    };
    OnLoadNode = [](TBaseLazyTree* t, PLazyNode n, plat::TStream& s) {
      *static_cast<uint64_t*>(t->GetNodeData(n)) = s.ReadU64LE();
    };
  }
  void Fill() {
    BeginUpdate();
    uint64_t id = 0;
    for (int i = 0; i < kTop; ++i) {
      PLazyNode top = AddChild(nullptr);
      *static_cast<uint64_t*>(GetNodeData(top)) = id++;
      for (int j = 0; j < kChildren; ++j) *static_cast<uint64_t*>(GetNodeData(AddChild(top))) = id++;
    }
    EndUpdate();
  }
  std::vector<PLazyNode> TopLevel() {
    std::vector<PLazyNode> nodes;
    for (PLazyNode n = RootNode()->FirstChild; n; n = n->NextSibling) nodes.push_back(n);
    return nodes;
  }
};

void BM_TreeEncode(benchmark::State& state) {
  TDataTree tree;
  tree.Fill();
  const std::vector<PLazyNode> nodes = tree.TopLevel();
  double ns = 0;
  qsizetype bytes = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const QByteArray data = tree.WriteTransferNodes(nodes);
    ns += Ns(start);
    bytes = data.size();
  }
  const double perIteration = ns / double(state.iterations());
  state.counters["ns_per_node"] = perIteration / kNodes;
  state.counters["bytes_per_node"] = double(bytes) / kNodes;
  if (gModelWriteNs > 0) state.counters["speedup"] = gModelWriteNs / perIteration;
}

void BM_TreeDecode(benchmark::State& state) {
  TDataTree source;
  source.Fill();
  const QByteArray data = source.WriteTransferNodes(source.TopLevel());
  double ns = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto target = std::make_unique<TDataTree>();
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    target->InsertTransferNodes(data, nullptr, nullptr, amAddChildLast, crNodeAdded);
    ns += Ns(start);
    state.PauseTiming();
    if (target->RootNode()->TotalCount != kNodes + 1) state.SkipWithError("wrong node count");
    target.reset();
    state.ResumeTiming();
  }
  const double perIteration = ns / double(state.iterations());
  state.counters["ns_per_node"] = perIteration / kNodes;
  if (gModelReadNs > 0) state.counters["speedup"] = gModelReadNs / perIteration;
}

}  // namespace

BENCHMARK(BM_ModelEncode)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ModelDecode)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_TreeEncode)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_TreeDecode)->Unit(benchmark::kMillisecond)->Iterations(5);
