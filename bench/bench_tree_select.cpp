// deps: tree Qt6::Widgets
// Selecting many nodes, side by side with QTreeView's selection (QItemSelectionModel over QStandardItemModel)
// in one run:
// - Shift+End from the first of 100,000 rows (the tree's keyboard road: the range toggled from the anchor to
//   the last row, the focus moved and the row shown), against the key sent to QTreeView; the same range inside
//   a tree of 1,000,000 rows reports its ratio to the 100k tree (the work follows the rows selected, not the
//   tree's size);
// - a rubber band from the first to the last of 1,000,000 rows (the mouse move that extends it, after
//   scrolling to the bottom), against the same drag selection in QTreeView.
// The tree rows report x_faster_than_qt (above 1: the tree is faster).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStandardItem>
#include <QStandardItemModel>
#include <QTreeView>

#include <chrono>
#include <cstdlib>
#include <memory>

#include "platform/forms/forms.h"
#include "tree/treecontrol.h"

using namespace lazytree;

namespace {

constexpr int kRange = 100000;
constexpr int kBand = 1000000;
double gQtRangeNs = 0;
double gQtBandNs = 0;
double gTreeRange100kNs = 0;

QApplication& App() {
  static int argc = 1;
  static char name[] = "bench_tree_select";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return new QApplication(argc, argv);
  }();
  return *app;
}

using Clock = std::chrono::steady_clock;
double Ns(Clock::time_point start) { return std::chrono::duration<double, std::nano>(Clock::now() - start).count(); }

void SendMouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held,
               Qt::KeyboardModifiers mods = {}) {
  QMouseEvent e(type, QPointF(p), w->mapToGlobal(QPointF(p)), button, held, mods);
  QApplication::sendEvent(w, &e);
}

// A flat model of Rows items in a shown view that allows extended selection.
struct TQtView {
  bool app = (App(), true);
  QStandardItemModel model;
  QTreeView view;
  explicit TQtView(int Rows) {
    QStandardItem* root = model.invisibleRootItem();
    QList<QStandardItem*> items;
    items.reserve(Rows);
    for (int i = 0; i < Rows; ++i) items.append(new QStandardItem(QStringLiteral("Node")));
    root->appendRows(items);
    view.setUniformRowHeights(true);
    view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    view.setModel(&model);
    view.resize(400, 600);
    view.show();
    QApplication::processEvents();
  }
};

struct TTreeOnForm {
  bool app = (App(), true);
  plat::TForm form{nullptr};
  TBaseLazyTreeControl* tree;
  explicit TTreeOnForm(uint32_t Rows) {
    form.SetBounds(0, 0, 500, 700);
    tree = new TBaseLazyTreeControl(&form);
    tree->SetParent(&form);
    tree->SetBounds(0, 0, 400, 600);
    tree->SetSelectionOptions({toMultiSelect, toCenterScrollIntoView});
    tree->BeginUpdate();
    tree->SetRootNodeCount(Rows);
    tree->EndUpdate();
    form.Show();
    QApplication::processEvents();
  }
};

void BM_QtShiftEnd(benchmark::State& state) {
  TQtView q(kRange);
  double total = 0;
  for (auto _ : state) {
    state.PauseTiming();
    q.view.selectionModel()->clearSelection();
    q.view.setCurrentIndex(q.model.index(0, 0));
    q.view.scrollToTop();
    state.ResumeTiming();
    const auto start = Clock::now();
    QKeyEvent key(QEvent::KeyPress, Qt::Key_End, Qt::ShiftModifier);
    QApplication::sendEvent(&q.view, &key);
    total += Ns(start);
  }
  gQtRangeNs = total / double(state.iterations());
  state.counters["selected"] = double(q.view.selectionModel()->selectedRows().size());
}

// What Shift+End does in the tree: the range from the anchor to the last row, the focus there, in view.
void BM_TreeShiftEnd(benchmark::State& state) {
  const auto rows = static_cast<uint32_t>(state.range(0));
  TTreeOnForm t(rows);
  PLazyNode first = t.tree->GetFirst();
  // The range's end: the 100,000th row (the last row of the smaller tree).
  PLazyNode last = first;
  for (int i = 1; i < kRange; ++i) last = last->NextSibling;
  double total = 0;
  for (auto _ : state) {
    state.PauseTiming();
    t.tree->ClearSelection();
    t.tree->SetSelected(first, true);
    t.tree->SetOffsetY(0);
    state.ResumeTiming();
    const auto start = Clock::now();
    t.tree->ToggleSelectionRange(first, last);
    t.tree->SetRangeAnchor(first);
    t.tree->ScrollIntoView(last, true);
    total += Ns(start);
  }
  const double ns = total / double(state.iterations());
  if (gQtRangeNs > 0) state.counters["x_faster_than_qt"] = gQtRangeNs / ns;
  if (rows == kRange) gTreeRange100kNs = ns;
  if (rows > kRange && gTreeRange100kNs > 0) state.counters["ratio_to_100k_tree"] = ns / gTreeRange100kNs;
  state.counters["selected"] = t.tree->SelectedCount();
}

void BM_QtDragSelect(benchmark::State& state) {
  TQtView q(kBand);
  QWidget* vp = q.view.viewport();
  const int rowY = q.view.visualRect(q.model.index(0, 0)).center().y();
  double total = 0;
  for (auto _ : state) {
    state.PauseTiming();
    q.view.selectionModel()->clearSelection();
    q.view.scrollToTop();
    SendMouse(vp, QEvent::MouseButtonPress, {20, rowY}, Qt::LeftButton, Qt::LeftButton);
    q.view.scrollToBottom();
    const QRect lastRow = q.view.visualRect(q.model.index(kBand - 1, 0));
    state.ResumeTiming();
    const auto start = Clock::now();
    SendMouse(vp, QEvent::MouseMove, {60, lastRow.center().y()}, Qt::NoButton, Qt::LeftButton);
    total += Ns(start);
    state.PauseTiming();
    SendMouse(vp, QEvent::MouseButtonRelease, {60, lastRow.center().y()}, Qt::LeftButton, Qt::NoButton);
    state.ResumeTiming();
  }
  gQtBandNs = total / double(state.iterations());
  state.counters["selected"] = double(q.view.selectionModel()->selection().first().height());
}

// The band starts left of the texts in the first row, the content scrolls to the bottom, and one mouse move
// takes the band's corner to the last row.
void BM_TreeRubberBand(benchmark::State& state) {
  TTreeOnForm t(kBand);
  QWidget* w = t.tree->Widget();
  const int bottom = t.tree->ClientHeight() - 9;
  double total = 0;
  for (auto _ : state) {
    state.PauseTiming();
    t.tree->ClearSelection();
    t.tree->SetOffsetY(0);
    SendMouse(w, QEvent::MouseButtonPress, {2, 9}, Qt::LeftButton, Qt::LeftButton);
    t.tree->SetOffsetY(-static_cast<int>(t.tree->RangeY()));
    state.ResumeTiming();
    const auto start = Clock::now();
    SendMouse(w, QEvent::MouseMove, {250, bottom}, Qt::NoButton, Qt::LeftButton);
    total += Ns(start);
    state.PauseTiming();
    if (t.tree->SelectedCount() != kBand) state.SkipWithError("the band did not select every row");
    SendMouse(w, QEvent::MouseButtonRelease, {250, bottom}, Qt::LeftButton, Qt::NoButton);
    state.ResumeTiming();
  }
  const double ns = total / double(state.iterations());
  if (gQtBandNs > 0) state.counters["x_faster_than_qt"] = gQtBandNs / ns;
  state.counters["selected"] = t.tree->SelectedCount();
}

}  // namespace

BENCHMARK(BM_QtShiftEnd)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();
BENCHMARK(BM_TreeShiftEnd)->Arg(kRange)->Arg(kBand)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();
BENCHMARK(BM_QtDragSelect)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_TreeRubberBand)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
