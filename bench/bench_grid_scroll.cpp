// deps: grid Qt6::Widgets
// Scrolling the string grid by the keyboard and the wheel beside QTableView over QStandardItemModel holding
// the same texts, offscreen, 10 columns, 1,000 and 1,000,000 rows: 100 presses of Page Down (the key kept
// pressed) and 100 wheel notches towards the user, each followed by the repaint it asks for. Both views get
// the same input events and the same event processing. Reports the GUI thread's CPU time for the 100 steps;
// the grid's rows report cpu_speedup_vs_qt = Qt time / grid time (above 1: the grid is faster) and the paint
// passes per step (paints_per_step).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>
#include <QWheelEvent>

#include <map>
#include <memory>

#include "bench/bench_measure.h"
#include "bench/bench_qt.h"
#include "grid/extgrid.h"
#include "platform/forms/forms.h"
#include "platform/forms/keys.h"
#include "platform/forms/messages.h"

namespace {

constexpr int kCols = 10;
constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kSteps = 100;

using bench::ThreadCpuNs;

enum Kind { kPageDown, kWheel };

QString CellText(int c, int r) { return QString::number(r) + u':' + QString::number(c); }

std::map<std::pair<int, int>, double> gQt;

void Send(QWidget* w, Kind kind) {
  if (kind == kPageDown) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(w, &press);
  } else {
    const QPointF at(40, 40);
    QWheelEvent wheel(at, w->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &wheel);
  }
  QApplication::processEvents();
}

double TimeQt(benchmark::State& state, Kind kind, int rows) {
  QStandardItemModel model(rows, kCols);
  bench::FillModel(model, rows, kCols, CellText);
  QTableView view;
  view.resize(kWidth, kHeight);
  bench::SetUpTableView(view, model);
  view.show();
  view.setFocus();
  QApplication::processEvents();
  double cpu = 0;
  for (auto _ : state) {
    view.scrollToTop();
    view.setCurrentIndex(model.index(0, 0));
    QApplication::processEvents();
    QWidget* target = kind == kWheel ? view.viewport() : static_cast<QWidget*>(&view);
    const double start = ThreadCpuNs();
    for (int i = 0; i < kSteps; ++i) Send(target, kind);
    cpu += ThreadCpuNs() - start;
  }
  return cpu / double(state.iterations()) / 1e3;
}

double TimeGrid(benchmark::State& state, Kind kind, int rows) {
  auto form = std::make_unique<plat::TForm>(nullptr);
  form->SetBounds(0, 0, kWidth + 20, kHeight + 40);
  auto* grid = new grid::TExtStringGrid(form.get());
  grid->SetColCount(kCols + 1);
  grid->SetRowCount(rows + 1);
  grid->SetDefaultColWidth(64);
  grid->SetDefaultRowHeight(24);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < kCols; ++c) grid->SetCells(c + 1, r + 1, CellText(c, r));
  grid->SetWordWrap(false);
  // The wheel scrolls the view by three rows a notch, as the Qt view does.
  grid->MouseActions()->SetWheelAction(grid::waScroll);
  grid->SetParent(form.get());
  grid->SetBounds(0, 0, kWidth, kHeight);
  form->Show();
  QApplication::processEvents();
  grid->SetFocus();
  std::int64_t paintedRows = 0;
  int paints = 0;
  grid->Renderer().OnPainted = [&](plat::TObject*) { ++paints; };
  double cpu = 0;
  for (auto _ : state) {
    grid->SetTopRow(1);
    grid->FocusCell(1, 1);
    QApplication::processEvents();
    const int before = paints;
    const double start = ThreadCpuNs();
    for (int i = 0; i < kSteps; ++i) Send(grid->Widget(), kind);
    cpu += ThreadCpuNs() - start;
    paintedRows += paints - before;
  }
  state.counters["paints_per_step"] = double(paintedRows) / double(state.iterations()) / kSteps;
  return cpu / double(state.iterations()) / 1e3;
}

void BM_Qt(benchmark::State& state) {
  const Kind kind = Kind(state.range(0));
  const int rows = int(state.range(1));
  const double us = TimeQt(state, kind, rows);
  gQt[{kind, rows}] = us;
  state.counters["cpu_us"] = us;
}

void BM_Grid(benchmark::State& state) {
  const Kind kind = Kind(state.range(0));
  const int rows = int(state.range(1));
  const double us = TimeGrid(state, kind, rows);
  state.counters["cpu_us"] = us;
  const auto qt = gQt.find({kind, rows});
  if (qt != gQt.end()) state.counters["cpu_speedup_vs_qt"] = qt->second / us;
}

// Arguments: kind (0 Page Down kept pressed, 1 wheel), rows. Each Qt row runs before the grid's.
void Args(benchmark::internal::Benchmark* b) {
  for (int kind : {0, 1})
    for (int rows : {1000, 1000000}) b->Args({kind, rows});
}

}  // namespace

BENCHMARK(BM_Qt)->Apply(Args)->Unit(benchmark::kMicrosecond)->Iterations(5);
BENCHMARK(BM_Grid)->Apply(Args)->Unit(benchmark::kMicrosecond)->Iterations(5);

int main(int argc, char** argv) { return bench::RunOffscreen(argc, argv); }
