// deps: dropdown Qt6::Widgets Qt6::Test
// The lookup drop-downs at 100k items, side by side with QCompleter over a QStringListModel of the same texts in
// one run, on the offscreen platform:
// - opening the popup (and painting it once): the multi-column drop-down's list, the grid drop-down's grid,
//   QCompleter's unfiltered popup;
// - completing one keystroke in the edit: the text holds "Meter 09999" and the key '8' completes it to the
//   item "Meter 099998 ..." near the end of the list (the multi-column drop-down's completion while typing,
//   QCompleter's inline completion in its QLineEdit).
// Times are the GUI thread's CPU time; every "x_faster_than_qcompleter" counter is QCompleter's time divided by
// the drop-down's time in this one run (above 1: the drop-down is faster).
#include <benchmark/benchmark.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QLineEdit>
#include <QStringListModel>
#include <QtTest/QTest>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "bench/bench_measure.h"
#include "dropdown/grid_dropdown.h"
#include "dropdown/multicolumn.h"
#include "platform/forms/forms.h"
#include "platform/rtl/strings.h"

namespace {

constexpr int kItems = 100000;

QApplication& App() {
  static int argc = 1;
  static char name[] = "bench_dropdown_lookup";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return new QApplication(argc, argv);
  }();
  return *app;
}

// The lookup texts; the other two columns of the drop-downs hold a serial number and a place.
const QStringList& Texts() {
  static const QStringList texts = [] {
    QStringList t;
    t.reserve(kItems);
    for (int i = 0; i < kItems; ++i) t << QStringLiteral("Meter %1 hall").arg(i, 6, 10, QLatin1Char('0'));
    return t;
  }();
  return texts;
}

std::map<std::string, double>& QtTimes() {
  static std::map<std::string, double> times;
  return times;
}

void Report(benchmark::State& State, const std::string& What, double TotalNs, bool Qt) {
  const double ns = TotalNs / double(State.iterations());
  if (Qt) {
    QtTimes()[What] = ns;
    return;
  }
  const auto qt = QtTimes().find(What);
  if (qt != QtTimes().end()) State.counters["x_faster_than_qcompleter"] = qt->second / ns;
}

void Settle() { QApplication::processEvents(); }

// ---- QCompleter ---------------------------------------------------------------------------------------------

struct TCompleterSide {
  bool app = (App(), true);
  QWidget window;
  QLineEdit* edit = new QLineEdit(&window);
  QStringListModel model{Texts()};
  QCompleter completer{&model};
  TCompleterSide() {
    window.resize(400, 300);
    edit->setGeometry(20, 20, 240, 24);
    completer.setCaseSensitivity(Qt::CaseInsensitive);
    edit->setCompleter(&completer);
    window.show();
    Settle();
    edit->setFocus();
  }
};

void BM_QCompleterOpenPopup(benchmark::State& state) {
  TCompleterSide side;
  side.completer.setCompletionMode(QCompleter::UnfilteredPopupCompletion);
  double total = 0;
  for (auto _ : state) {
    const double start = bench::ThreadCpuNs();
    side.completer.setCompletionPrefix(QString());
    side.completer.complete();
    Settle();
    const double ns = bench::ThreadCpuNs() - start;
    total += ns;
    state.SetIterationTime(ns / 1e9);
    if (!side.completer.popup()->isVisible()) state.SkipWithError("no popup");
    side.completer.popup()->hide();
    Settle();
  }
  Report(state, "open", total, true);
}

void BM_QCompleterKeystroke(benchmark::State& state) {
  TCompleterSide side;
  side.completer.setCompletionMode(QCompleter::InlineCompletion);
  double total = 0;
  for (auto _ : state) {
    side.edit->setText(QStringLiteral("Meter 09999"));
    side.edit->setCursorPosition(11);
    Settle();
    const double start = bench::ThreadCpuNs();
    QTest::keyClick(side.edit, Qt::Key_8);
    const double ns = bench::ThreadCpuNs() - start;
    total += ns;
    state.SetIterationTime(ns / 1e9);
    if (side.edit->text() != QStringLiteral("Meter 099998 hall")) state.SkipWithError("no completion");
  }
  Report(state, "keystroke", total, true);
}

// ---- the drop-downs -----------------------------------------------------------------------------------------

template <class TDrop>
struct TDropDownSide {
  bool app = (App(), true);
  plat::TForm form{nullptr};
  TDrop* drop;
  TDropDownSide() {
    form.SetBounds(0, 0, 400, 300);
    drop = new TDrop(&form);
    drop->SetParent(&form);
    drop->SetBounds(20, 20, 240, 24);
    for (const char* h : {"Meter", "Serial", "Place"}) drop->Columns()->Add()->SetHeader(QString::fromLatin1(h));
    drop->BeginUpdate();
    for (int i = 0; i < kItems; ++i) {
      auto* item = drop->Items()->Add();
      item->Text()->Add(Texts()[i]);
      item->Text()->Add(QString::number(10000000 + i));
      item->Text()->Add(QStringLiteral("Basement"));
    }
    drop->EndUpdate();
    form.Show();
    Settle();
    drop->SetFocus();
    Settle();
  }
};

template <class TDrop>
void OpenPopup(benchmark::State& state) {
  TDropDownSide<TDrop> side;
  double total = 0;
  for (auto _ : state) {
    const double start = bench::ThreadCpuNs();
    side.drop->ShowDropDown();
    Settle();
    const double ns = bench::ThreadCpuNs() - start;
    total += ns;
    state.SetIterationTime(ns / 1e9);
    if (!side.drop->DroppedDown()) state.SkipWithError("no popup");
    side.drop->HideDropDown(true);
    Settle();
  }
  Report(state, "open", total, false);
}

void BM_MultiColumnOpenPopup(benchmark::State& state) { OpenPopup<dropdown::TExtMultiColumnDropDown>(state); }
void BM_GridDropDownOpenPopup(benchmark::State& state) { OpenPopup<dropdown::TCustomExtGridDropDown>(state); }

void BM_MultiColumnKeystroke(benchmark::State& state) {
  TDropDownSide<dropdown::TExtMultiColumnDropDown> side;
  QWidget* edit = side.drop->Widget();
  double total = 0;
  for (auto _ : state) {
    side.drop->SetText(QStringLiteral("Meter 09999"));
    side.drop->SetSelStart(11);
    side.drop->SetSelLength(0);
    Settle();
    const double start = bench::ThreadCpuNs();
    QTest::keyClick(edit, Qt::Key_8);
    const double ns = bench::ThreadCpuNs() - start;
    total += ns;
    state.SetIterationTime(ns / 1e9);
    if (side.drop->Text() != QStringLiteral("Meter 099998 hall")) state.SkipWithError("no completion");
  }
  Report(state, "keystroke", total, false);
}

// Qt's side first: the drop-downs' rows divide its times by their own.
BENCHMARK(BM_QCompleterOpenPopup)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_MultiColumnOpenPopup)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_GridDropDownOpenPopup)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_QCompleterKeystroke)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(20);
BENCHMARK(BM_MultiColumnKeystroke)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(20);

}  // namespace
