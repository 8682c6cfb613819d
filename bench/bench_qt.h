#pragma once
// What the grid benchmarks share: Qt's own table view over an item model holding the same texts, sized like
// the grid under test, and the main that runs the benchmarks on the offscreen platform.
#include <QApplication>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>

#include <benchmark/benchmark.h>

namespace bench {

// Fills rows x cols items with Text(column, row).
template <class TextFn>
void FillModel(QStandardItemModel& Model, int Rows, int Cols, TextFn Text) {
  for (int r = 0; r < Rows; ++r)
    for (int c = 0; c < Cols; ++c) Model.setItem(r, c, new QStandardItem(Text(c, r)));
}

// Rows 24 and columns 64 pixels, as the grids under test are set up.
inline void SetUpTableView(QTableView& View, QStandardItemModel& Model) {
  View.verticalHeader()->setDefaultSectionSize(24);
  View.horizontalHeader()->setDefaultSectionSize(64);
  View.setModel(&Model);
}

inline int RunOffscreen(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace bench
