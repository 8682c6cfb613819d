// deps: tree Qt6::Widgets
// The tree window at scale, side by side with QTreeView over QStandardItemModel in one run:
// - expanding all of 1,000 x 1,000 nodes (FullExpand against expandAll; the tree row reports the ratio);
// - the node at a vertical position (through the position cache) at 1k and 1M rows;
// - scrolling to a position (offset, scroll bar, the node at the top) at 1k and 1M rows; the 1M row reports
//   its ratio to the 1k row;
// - painting a page of three columns after scrolling to a random row, at 1k and 1M rows, against QTreeView
//   rendering the same page (the tree rows report the ratio to Qt and the 1M row its ratio to the 1k row);
// - the first paint of a freshly filled tree of three columns at 1k and 1M rows against QTreeView's first
//   render of a fresh model (filling is not timed).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QStandardItem>
#include <QStandardItemModel>
#include <QScrollBar>
#include <QTreeView>
#include <QHeaderView>
#include <QImage>

#include "platform/graphics/canvas.h"

#include <chrono>
#include <cstdlib>
#include <memory>
#include <random>
#include <thread>

#include "platform/forms/forms.h"
#include "tree/treecontrol.h"

using namespace lazytree;

namespace {

constexpr int kSide = 1000;
double gQtExpandNs = 0;
double gScroll1kNs = 0;
double gAt1kNs = 0;
double gQtPaintNs[2] = {0, 0};
double gPaint1kNs = 0;
double gQtFirstNs[2] = {0, 0};
double gFirst1kNs = 0;

QApplication& App() {
  static int argc = 1;
  static char name[] = "bench_tree_view";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return new QApplication(argc, argv);
  }();
  return *app;
}

double NsPerIteration(benchmark::State& state, double totalNs) { return totalNs / double(state.iterations()); }

struct TTreeOnForm {
  bool app = (App(), true);  // before the form
  plat::TForm form{nullptr};
  TBaseLazyTreeControl* tree;
  TTreeOnForm() {
    form.SetBounds(0, 0, 500, 700);
    tree = new TBaseLazyTreeControl(&form);
    tree->SetParent(&form);
    tree->SetBounds(0, 0, 400, 600);
  }
  // Rows top-level nodes, each with Children children (collapsed).
  void Fill(uint32_t rows, uint32_t children) {
    tree->BeginUpdate();
    tree->SetRootNodeCount(rows);
    if (children > 0)
      for (PLazyNode n = tree->GetFirstNoInit(); n; n = n->NextSibling) tree->SetChildCount(n, children);
    tree->EndUpdate();
  }
  void WaitForCache() {
    for (int i = 0; i < 100000 && !tree->TreeStates().Has(tsUseCache); ++i) {
      QCoreApplication::processEvents();
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
  }
};

void BM_QtExpandAll(benchmark::State& state) {
  App();
  QStandardItemModel model;
  QStandardItem* root = model.invisibleRootItem();
  for (int i = 0; i < kSide; ++i) {
    QList<QStandardItem*> children;
    children.reserve(kSide);
    for (int j = 0; j < kSide; ++j) children.append(new QStandardItem());
    auto* top = new QStandardItem();
    top->appendRows(children);
    root->appendRow(top);
  }
  QTreeView view;
  view.setUniformRowHeights(true);
  view.setModel(&model);
  view.resize(400, 600);
  double total = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    view.expandAll();
    view.scrollToBottom();
    total += std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
    state.PauseTiming();
    view.collapseAll();
    state.ResumeTiming();
  }
  gQtExpandNs = NsPerIteration(state, total);
}

void BM_TreeFullExpand(benchmark::State& state) {
  TTreeOnForm t;
  t.Fill(kSide, kSide);
  double total = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    t.tree->FullExpand();
    t.tree->SetOffsetY(-static_cast<int>(t.tree->RangeY()));  // to the bottom, as the Qt row does
    total += std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
    state.PauseTiming();
    t.tree->FullCollapse();
    state.ResumeTiming();
  }
  const double ns = NsPerIteration(state, total);
  if (gQtExpandNs > 0) state.counters["x_faster_than_qt"] = gQtExpandNs / ns;
  state.counters["nodes"] = double(kSide) * kSide + kSide;
}

// The node at a random position of the content.
void BM_TreeNodeAtPosition(benchmark::State& state) {
  const auto rows = static_cast<uint32_t>(state.range(0));
  TTreeOnForm t;
  t.Fill(rows, 0);
  t.WaitForCache();
  std::mt19937 rng(1);
  const uint32_t range = t.tree->RangeY();
  double total = 0;
  for (auto _ : state) {
    const int y = static_cast<int>(rng() % range);
    const auto start = std::chrono::steady_clock::now();
    int top = 0;
    benchmark::DoNotOptimize(t.tree->GetNodeAt(0, y, false, top));
    total += std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
  }
  const double ns = NsPerIteration(state, total);
  if (rows <= 1000) gAt1kNs = ns;
  if (rows > 1000 && gAt1kNs > 0) state.counters["ratio_to_1k"] = ns / gAt1kNs;
  state.counters["cache_entries"] = t.tree->PositionCache() ? double(t.tree->PositionCache()->size()) : 0;
}

// Scrolling to a random position: offset, scroll bars, ranges and the node now at the top.
void BM_TreeScrollTo(benchmark::State& state) {
  const auto rows = static_cast<uint32_t>(state.range(0));
  TTreeOnForm t;
  t.Fill(rows, 0);
  t.WaitForCache();
  std::mt19937 rng(2);
  const uint32_t range = t.tree->RangeY();
  double total = 0;
  for (auto _ : state) {
    const int y = -static_cast<int>(rng() % range);
    const auto start = std::chrono::steady_clock::now();
    t.tree->SetOffsetY(y);
    benchmark::DoNotOptimize(t.tree->TopNode());
    total += std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
  }
  const double ns = NsPerIteration(state, total);
  if (rows <= 1000) gScroll1kNs = ns;
  if (rows > 1000 && gScroll1kNs > 0) state.counters["ratio_to_1k"] = ns / gScroll1kNs;
}

// QTreeView over a model of Rows rows and three columns, the size of the tree's window.
struct TQtPage {
  QStandardItemModel model{0, 3};
  QTreeView view;
  explicit TQtPage(int Rows) {
    QStandardItem* root = model.invisibleRootItem();
    for (int i = 0; i < Rows; ++i) root->appendRow(new QStandardItem());
    view.setUniformRowHeights(true);
    view.setModel(&model);
    view.resize(400, 600);
    view.header()->resizeSection(0, 150);
  }
};

// A page of three columns after a scroll to a random row, rendered by QTreeView.
void BM_QtPaintPage(benchmark::State& state) {
  const auto rows = static_cast<int>(state.range(0));
  App();
  TQtPage page(rows);
  QStandardItemModel& model = page.model;
  QTreeView& view = page.view;
  QImage image(400, 600, QImage::Format_ARGB32);
  std::mt19937 rng(3);
  double total = 0;
  for (auto _ : state) {
    const int row = static_cast<int>(rng() % static_cast<unsigned>(rows));
    const auto start = std::chrono::steady_clock::now();
    view.scrollTo(model.index(row, 0), QAbstractItemView::PositionAtTop);
    view.render(&image);
    total += std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
  }
  gQtPaintNs[rows > 1000 ? 1 : 0] = NsPerIteration(state, total);
}

void BM_TreePaintPage(benchmark::State& state) {
  const auto rows = static_cast<uint32_t>(state.range(0));
  TTreeOnForm t;
  for (int w : {150, 120, 100}) t.tree->Header().Columns().Add()->SetWidth(w);
  t.Fill(rows, 0);
  t.WaitForCache();
  QImage image(400, 600, QImage::Format_ARGB32);
  plat::TCanvas canvas(&image);
  std::mt19937 rng(3);
  double total = 0;
  for (auto _ : state) {
    const int y = -static_cast<int>((rng() % rows) * 18);
    const auto start = std::chrono::steady_clock::now();
    t.tree->SetOffsetY(y);
    const int top = -t.tree->OffsetY();
    t.tree->PaintTree(&canvas, plat::Rect(0, top, 400, top + 600), {0, 0}, WindowPaintOptions);
    total += std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
  }
  const double ns = NsPerIteration(state, total);
  const double qt = gQtPaintNs[rows > 1000 ? 1 : 0];
  if (qt > 0) state.counters["x_faster_than_qt"] = qt / ns;
  if (rows <= 1000) gPaint1kNs = ns;
  if (rows > 1000 && gPaint1kNs > 0) state.counters["ratio_to_1k"] = ns / gPaint1kNs;
}

// The first render of a fresh view over a fresh model of three columns.
void BM_QtFirstPaint(benchmark::State& state) {
  const auto rows = static_cast<int>(state.range(0));
  App();
  QImage image(400, 600, QImage::Format_ARGB32);
  double total = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto page = std::make_unique<TQtPage>(rows);
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    page->view.render(&image);
    total += std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
    state.PauseTiming();
    page.reset();
    state.ResumeTiming();
  }
  gQtFirstNs[rows > 1000 ? 1 : 0] = NsPerIteration(state, total);
}

// The first paint of a freshly filled tree: the visible nodes are initialised and measured on the way.
void BM_TreeFirstPaint(benchmark::State& state) {
  const auto rows = static_cast<uint32_t>(state.range(0));
  QImage image(400, 600, QImage::Format_ARGB32);
  double total = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto t = std::make_unique<TTreeOnForm>();
    for (int w : {150, 120, 100}) t->tree->Header().Columns().Add()->SetWidth(w);
    t->Fill(rows, 0);
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    plat::TCanvas canvas(&image);
    t->tree->PaintTree(&canvas, plat::Rect(0, 0, 400, 600), {0, 0}, WindowPaintOptions);
    total += std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
    state.PauseTiming();
    t.reset();
    state.ResumeTiming();
  }
  const double ns = NsPerIteration(state, total);
  const double qt = gQtFirstNs[rows > 1000 ? 1 : 0];
  if (qt > 0) state.counters["x_faster_than_qt"] = qt / ns;
  if (rows <= 1000) gFirst1kNs = ns;
  if (rows > 1000 && gFirst1kNs > 0) state.counters["ratio_to_1k"] = ns / gFirst1kNs;
}

}  // namespace

BENCHMARK(BM_QtPaintPage)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond)->Iterations(200)->UseRealTime();
BENCHMARK(BM_TreePaintPage)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond)->Iterations(200)->UseRealTime();
BENCHMARK(BM_QtFirstPaint)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_TreeFirstPaint)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_QtExpandAll)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_TreeFullExpand)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_TreeNodeAtPosition)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TreeScrollTo)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
