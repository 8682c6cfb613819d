// deps: tree Qt6::Widgets
// The string tree at scale, side by side with QTreeView over QStandardItemModel in one run, both showing the
// same texts in the same font, rows of 18 pixels on a 400 x 600 viewport (33 whole rows), no header, no frame
// and no scroll bars, painted into premultiplied images of the same size (the format of a window's back buffer):
// - painting a page of three columns after scrolling to a random row, at 1k and 1M rows (the tree rows report
//   the ratio to Qt and the 1M row its ratio to the 1k row);
// - the first paint of a freshly filled page of three columns at 1k and 1M rows (filling is not timed);
// - expanding all of 1k (10 x 100) and 1M (1,000 x 1,000) nodes and scrolling to the bottom, with and without
//   painting the page found there;
// - the node at a vertical position (through the position cache) and scrolling to a position, at 1k and 1M rows.
// Both sides paint their first page before timing (items laid out, fonts and glyphs loaded). Times are the GUI
// thread's CPU time; every "time_vs_qt" counter is the tree's time divided by Qt's time in this one run (below 1:
// the tree is faster; the goal for a page is at most 0.5).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QStandardItem>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTreeView>

#include <chrono>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "bench/bench_measure.h"
#include "platform/forms/forms.h"
#include "platform/graphics/canvas.h"
#include "tree/stringtree.h"
#include "tree/treecolumns.h"

using namespace lazytree;

namespace {

constexpr int kWidth = 400, kHeight = 600, kRowHeight = 18, kColumns = 3;
constexpr int kColumnWidths[kColumns] = {150, 120, 100};
constexpr auto kImageFormat = QImage::Format_ARGB32_Premultiplied;

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

// The GUI thread's CPU time: steady while the other processes of a busy machine take turns with this one.
double Now() { return bench::ThreadCpuNs(); }
// The time since Start, which is also the iteration's time the benchmark reports.
double Lap(benchmark::State& State, double Start) {
  const double ns = bench::ThreadCpuNs() - Start;
  State.SetIterationTime(ns / 1e9);
  return ns;
}

// Qt's times by benchmark and size, taken first; the tree's rows divide them by their own.
std::map<std::pair<std::string, int64_t>, double>& QtTimes() {
  static std::map<std::pair<std::string, int64_t>, double> times;
  return times;
}

void ReportQt(benchmark::State& state, const char* what, double totalNs) {
  QtTimes()[{what, state.range(0)}] = totalNs / double(state.iterations());
}

// The ratio to Qt's row of the same size, and for the larger size the ratio to the smaller.
void ReportTree(benchmark::State& state, const char* what, double totalNs) {
  static std::map<std::string, double> smallest;
  const double ns = totalNs / double(state.iterations());
  const auto qt = QtTimes().find({what, state.range(0)});
  if (qt != QtTimes().end()) state.counters["time_vs_qt"] = ns / qt->second;
  auto [it, first] = smallest.try_emplace(what, ns);
  if (!first) state.counters["ratio_to_smallest"] = ns / it->second;
}

// The texts both sides show: one table of rows x columns, shared by the model's items and the tree's handler.
struct TTexts {
  int columns;
  std::vector<QString> cells;
  TTexts(int Rows, int Columns) : columns(Columns) {
    cells.reserve(std::size_t(Rows) * Columns);
    for (int r = 0; r < Rows; ++r)
      for (int c = 0; c < Columns; ++c)
        cells.push_back(c == 0 ? QStringLiteral("Row %1").arg(r) : QStringLiteral("Cell %1.%2").arg(r).arg(c));
  }
  const QString& At(int Row, int Column) const { return cells[std::size_t(Row) * columns + std::size_t(Column)]; }
};

// Rows of 18 pixels, as the tree's default node height.
class TRowHeightDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
    return {QStyledItemDelegate::sizeHint(Option, Index).width(), kRowHeight};
  }
};

// The string tree on a form, sized and set up like the Qt view below.
struct TTreeOnForm {
  bool app = (App(), true);  // before the form
  plat::TForm form{nullptr};
  TLazyStringTree* tree;
  explicit TTreeOnForm(bool Columns) {
    form.SetBounds(0, 0, kWidth + 100, kHeight + 100);
    tree = new TLazyStringTree(&form);
    tree->SetParent(&form);
    tree->SetBounds(0, 0, kWidth, kHeight);
    if (Columns)
      for (int w : kColumnWidths) tree->Header().Columns().Add()->SetWidth(w);
  }
  // Rows top-level nodes whose cells show Texts; each gets Children children showing the child texts.
  void Fill(const TTexts& Texts, uint32_t Rows, uint32_t Children = 0, const TTexts* ChildTexts = nullptr) {
    tree->OnGetText = [&Texts, ChildTexts, Children](TBaseLazyTree*, PLazyNode Node, TColumnIndex Column,
                                                     TLSTTextType Type, QString& Text) {
      if (Type != ttNormal) return;
      const int column = Column < 0 ? 0 : Column;
      if (Node->Parent && Node->Parent->Parent && ChildTexts)
        Text = ChildTexts->At(int(Node->Parent->Index * Children + Node->Index), column);
      else
        Text = Texts.At(int(Node->Index), column);
    };
    tree->BeginUpdate();
    tree->SetRootNodeCount(Rows);
    if (Children > 0)
      for (PLazyNode n = tree->GetFirstNoInit(); n; n = n->NextSibling) tree->SetChildCount(n, Children);
    tree->EndUpdate();
  }
  void WaitForCache() {
    if (tree->VisibleCount() <= CacheThreshold) return;  // a small tree is walked, it keeps no cache
    for (int i = 0; i < 100000 && !tree->TreeStates().Has(tsUseCache); ++i) {
      QCoreApplication::processEvents();
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
  }
  // The page at the tree's current offset.
  void Paint(plat::TCanvas& Canvas) {
    const int top = -tree->OffsetY();
    tree->PaintTree(&Canvas, plat::Rect(0, top, kWidth, top + kHeight), {0, 0}, WindowPaintOptions);
  }
};

// QTreeView over a model of the same texts, the viewport exactly the tree's window.
struct TQtView {
  QStandardItemModel model;
  TRowHeightDelegate delegate;
  QTreeView view;
  TQtView(const TTexts& Texts, int Rows, int Children = 0, const TTexts* ChildTexts = nullptr) {
    App();
    model.setColumnCount(Texts.columns);
    QStandardItem* root = model.invisibleRootItem();
    for (int r = 0; r < Rows; ++r) {
      QList<QStandardItem*> row;
      for (int c = 0; c < Texts.columns; ++c) row.append(new QStandardItem(Texts.At(r, c)));
      if (Children > 0) {
        QList<QStandardItem*> children;
        children.reserve(Children);
        for (int i = 0; i < Children; ++i) children.append(new QStandardItem(ChildTexts->At(r * Children + i, 0)));
        row[0]->appendRows(children);
      }
      root->appendRow(row);
    }
    view.setHeaderHidden(true);
    view.setFrameShape(QFrame::NoFrame);
    view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.setUniformRowHeights(true);
    view.setItemDelegate(&delegate);
    view.setModel(&model);
    view.resize(kWidth, kHeight);
    view.header()->setStretchLastSection(Texts.columns == 1);  // one column spans the row, as without columns
    for (int c = 0; c < Texts.columns && Texts.columns > 1; ++c) view.header()->resizeSection(c, kColumnWidths[c]);
  }
  // In the tree's font, so that both shape and draw the same glyphs.
  void UseFontOf(const TTreeOnForm& Tree) { view.setFont(Tree.tree->Font()->QtFont()); }
};

// --- Painting a page after a scroll ---------------------------------------------------------------------------

const TTexts& PageTexts(int Rows) {
  static std::map<int, std::unique_ptr<TTexts>> texts;
  auto& t = texts[Rows];
  if (!t) t = std::make_unique<TTexts>(Rows, kColumns);
  return *t;
}

void BM_QtPaintPage(benchmark::State& state) {
  const auto rows = static_cast<int>(state.range(0));
  TTreeOnForm fontSource(false);
  TQtView qt(PageTexts(rows), rows);
  qt.UseFontOf(fontSource);
  QImage image(kWidth, kHeight, kImageFormat);
  qt.view.render(&image);  // lays the items out once, as the tree's cache is built before timing
  std::mt19937 rng(3);
  double total = 0;
  for (auto _ : state) {
    const int row = static_cast<int>(rng() % static_cast<unsigned>(rows));
    const double start = Now();
    qt.view.scrollTo(qt.model.index(row, 0), QAbstractItemView::PositionAtTop);
    qt.view.render(&image);
    total += Lap(state, start);
  }
  ReportQt(state, "page", total);
}

void BM_TreePaintPage(benchmark::State& state) {
  const auto rows = static_cast<uint32_t>(state.range(0));
  TTreeOnForm t(true);
  t.Fill(PageTexts(int(rows)), rows);
  t.WaitForCache();
  QImage image(kWidth, kHeight, kImageFormat);
  plat::TCanvas canvas(&image);
  t.Paint(canvas);  // the first page, as the Qt row renders its view once before timing
  std::mt19937 rng(3);
  double total = 0;
  for (auto _ : state) {
    const int y = -static_cast<int>((rng() % rows) * kRowHeight);
    const double start = Now();
    t.tree->SetOffsetY(y);
    t.Paint(canvas);
    total += Lap(state, start);
  }
  ReportTree(state, "page", total);
}

// --- The first paint of a fresh page --------------------------------------------------------------------------

void BM_QtFirstPaint(benchmark::State& state) {
  const auto rows = static_cast<int>(state.range(0));
  TTreeOnForm fontSource(false);
  QImage image(kWidth, kHeight, kImageFormat);
  double total = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto qt = std::make_unique<TQtView>(PageTexts(rows), rows);
    qt->UseFontOf(fontSource);
    state.ResumeTiming();
    const double start = Now();
    qt->view.render(&image);
    total += Lap(state, start);
    state.PauseTiming();
    qt.reset();
    state.ResumeTiming();
  }
  ReportQt(state, "first", total);
}

// The visible nodes are initialised and measured on the way.
void BM_TreeFirstPaint(benchmark::State& state) {
  const auto rows = static_cast<uint32_t>(state.range(0));
  QImage image(kWidth, kHeight, kImageFormat);
  double total = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto t = std::make_unique<TTreeOnForm>(true);
    t->Fill(PageTexts(int(rows)), rows);
    state.ResumeTiming();
    const double start = Now();
    plat::TCanvas canvas(&image);
    t->Paint(canvas);
    total += Lap(state, start);
    state.PauseTiming();
    t.reset();
    state.ResumeTiming();
  }
  ReportTree(state, "first", total);
}

// --- Expanding everything -------------------------------------------------------------------------------------

// Parents x children for the sizes measured: 1k and 1M children.
int ParentsFor(int64_t Nodes) { return Nodes >= 1000000 ? 1000 : 10; }

struct TExpandTexts {
  TTexts parents, children;
  explicit TExpandTexts(int64_t Nodes)
      : parents(ParentsFor(Nodes), 1), children(int(Nodes), 1) {}
};

const TExpandTexts& ExpandTexts(int64_t Nodes) {
  static std::map<int64_t, std::unique_ptr<TExpandTexts>> texts;
  auto& t = texts[Nodes];
  if (!t) t = std::make_unique<TExpandTexts>(Nodes);
  return *t;
}

template <bool Paint>
void QtExpand(benchmark::State& state) {
  const int parents = ParentsFor(state.range(0));
  const int children = int(state.range(0) / parents);
  const TExpandTexts& texts = ExpandTexts(state.range(0));
  TTreeOnForm fontSource(false);
  TQtView qt(texts.parents, parents, children, &texts.children);
  qt.UseFontOf(fontSource);
  QImage image(kWidth, kHeight, kImageFormat);
  qt.view.render(&image);
  double total = 0;
  for (auto _ : state) {
    const double start = Now();
    qt.view.expandAll();
    qt.view.scrollToBottom();
    if (Paint) qt.view.render(&image);
    total += Lap(state, start);
    state.PauseTiming();
    qt.view.collapseAll();
    qt.view.scrollToTop();
    qt.view.render(&image);
    state.ResumeTiming();
  }
  ReportQt(state, Paint ? "expand+paint" : "expand", total);
}

template <bool Paint>
void TreeExpand(benchmark::State& state) {
  const int parents = ParentsFor(state.range(0));
  const int children = int(state.range(0) / parents);
  const TExpandTexts& texts = ExpandTexts(state.range(0));
  TTreeOnForm t(false);
  t.Fill(texts.parents, uint32_t(parents), uint32_t(children), &texts.children);
  QImage image(kWidth, kHeight, kImageFormat);
  plat::TCanvas canvas(&image);
  t.Paint(canvas);
  double total = 0;
  for (auto _ : state) {
    const double start = Now();
    t.tree->FullExpand();
    t.tree->SetOffsetY(-static_cast<int>(t.tree->RangeY()));  // to the bottom, as the Qt row does
    if (Paint) t.Paint(canvas);
    total += Lap(state, start);
    state.PauseTiming();
    t.tree->FullCollapse();
    t.tree->SetOffsetY(0);
    t.Paint(canvas);
    state.ResumeTiming();
  }
  ReportTree(state, Paint ? "expand+paint" : "expand", total);
  state.counters["nodes"] = double(parents) * children + parents;
}

void BM_QtExpandAll(benchmark::State& state) { QtExpand<false>(state); }
void BM_TreeFullExpand(benchmark::State& state) { TreeExpand<false>(state); }
void BM_QtExpandAllPaint(benchmark::State& state) { QtExpand<true>(state); }
void BM_TreeFullExpandPaint(benchmark::State& state) { TreeExpand<true>(state); }

// --- Positions (the tree alone) -------------------------------------------------------------------------------

// The node at a random position of the content.
void BM_TreeNodeAtPosition(benchmark::State& state) {
  const auto rows = static_cast<uint32_t>(state.range(0));
  TTreeOnForm t(false);
  t.Fill(PageTexts(int(rows)), rows);
  t.WaitForCache();
  std::mt19937 rng(1);
  const uint32_t range = t.tree->RangeY();
  double total = 0;
  for (auto _ : state) {
    const int y = static_cast<int>(rng() % range);
    const double start = Now();
    int top = 0;
    benchmark::DoNotOptimize(t.tree->GetNodeAt(0, y, false, top));
    total += Lap(state, start);
  }
  ReportTree(state, "node at", total);
  state.counters["cache_entries"] = t.tree->PositionCache() ? double(t.tree->PositionCache()->size()) : 0;
}

// Scrolling to a random position: offset, scroll bars, ranges and the node now at the top.
void BM_TreeScrollTo(benchmark::State& state) {
  const auto rows = static_cast<uint32_t>(state.range(0));
  TTreeOnForm t(false);
  t.Fill(PageTexts(int(rows)), rows);
  t.WaitForCache();
  std::mt19937 rng(2);
  const uint32_t range = t.tree->RangeY();
  double total = 0;
  for (auto _ : state) {
    const int y = -static_cast<int>(rng() % range);
    const double start = Now();
    t.tree->SetOffsetY(y);
    benchmark::DoNotOptimize(t.tree->TopNode());
    total += Lap(state, start);
  }
  ReportTree(state, "scroll", total);
}

}  // namespace

BENCHMARK(BM_QtPaintPage)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond)->UseManualTime()->Iterations(300);
BENCHMARK(BM_TreePaintPage)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond)->UseManualTime()->Iterations(300);
BENCHMARK(BM_QtFirstPaint)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_TreeFirstPaint)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_QtExpandAll)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_TreeFullExpand)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_QtExpandAllPaint)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_TreeFullExpandPaint)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_TreeNodeAtPosition)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond)->UseManualTime();
BENCHMARK(BM_TreeScrollTo)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond)->UseManualTime();
