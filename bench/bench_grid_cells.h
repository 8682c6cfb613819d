#pragma once
// What the grid benchmarks against plain peers share: the timing of one side, and a grid filled with cell
// texts as meter tables hold them.
#include <malloc.h>

#include <QString>

#include "bench/bench_measure.h"
#include "grid/data/data_grid.h"

namespace bench {

// Keeps freed memory in the process: on a virtual machine the first touch of a page the system hands out costs
// more than the work measured, and it would land on whichever side happened to grow the heap.
inline bool KeepFreedMemory() {
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
  mallopt(M_TRIM_THRESHOLD, -1);
  return true;
}

// The calling thread's CPU time of one call: steady while other processes load the machine.
template <class Fn>
double TimeNs(Fn&& fn) {
  const double start = ThreadCpuNs();
  fn();
  return ThreadCpuNs() - start;
}

// Numbers, names, units; with Quotes now and then a quote and a separator (for the text formats that escape).
inline QString MeterCellText(int c, int r, bool Quotes) {
  switch ((c + r) % 10) {
    case 0: return QStringLiteral("Meter %1").arg(r);
    case 3: return QString::number(r * 17 + c);
    case 5: return QStringLiteral("%1.%2").arg(r).arg(c);
    case 7: return QStringLiteral("kWh");
    case 9: return Quotes && r % 50 == 0 ? QStringLiteral("say \"hi\", %1").arg(r) : QStringLiteral("ok");
    default: return QStringLiteral("%1-%2").arg(c).arg(r);
  }
}

// Cols x Rows cells of MeterCellText.
inline void FillMeterGrid(grid::TDataGrid& g, int Cols, int Rows, bool Quotes) {
  g.SetColCount(Cols);
  g.SetRowCount(Rows);
  for (int r = 0; r < Rows; ++r)
    for (int c = 0; c < Cols; ++c) g.SetGridCell(c, r, MeterCellText(c, r, Quotes));
}

}  // namespace bench
