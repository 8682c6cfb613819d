// deps: grid_data
// The grid's clipboard against plain peers doing the same work on the same cells, at 10k x 10 and 100k x 10
// cells (linearity: ns_per_cell stays flat). Copy: the selection as tab-separated text, against a writer that
// only joins the stored texts with TAB and CR LF. Paste: that text pasted into an empty grid, against a reader
// that only splits it at TAB and CR LF and stores the fields. Each run times both sides once and reports
// ours / peer as "ratio".

#include <benchmark/benchmark.h>

#include "bench/bench_grid_cells.h"
#include "grid/data/clipboard.h"
#include "grid/data/data_grid.h"

namespace {

constexpr int kCols = 10;

using bench::TimeNs;

const bool kHeapKept = bench::KeepFreedMemory();

// Without quotes: the tab-separated text escapes nothing.
QString CellText(int c, int r) { return bench::MeterCellText(c, r, false); }

// The clipboard over a window-free grid whose cells are all editable; the system clipboard is a variable.
class TBenchHost : public grid::TClipboardHost {
 public:
  explicit TBenchHost(int Rows) : G(kCols, Rows) { O.Editing = true; }
  grid::TGridDataHost& Data() override { return G; }
  grid::TClipboardOptions ClipOptions() const override { return O; }
  plat::TRect Selection() const override { return Sel; }
  void SetSelection(plat::TRect R) override { Sel = R; }
  QString CellText(int ACol, int ARow) override { return G.GetGridCell(ACol, ARow); }
  void SetCellText(int ACol, int ARow, const QString& Value) override { G.SetGridCell(ACol, ARow, Value); }
  bool IsEditable(int, int) override { return true; }
  void InsertRows(int, int) override {}
  void PasteCell(int ACol, int ARow, const QString& Value) override { Clip.StorePastedCell(ACol, ARow, Value); }
  void PasteDone(plat::TPoint, plat::TRect, grid::TClipOperation) override {}
  grid::TClipboardContent ReadClipboard() override { return Board; }
  void WriteClipboard(const grid::TClipboardContent& Content) override { Board = Content; }
  grid::THTMLOptions HTMLOptions() override { return {}; }

  grid::TDataGrid G;
  grid::TClipboardOptions O;
  plat::TRect Sel;
  grid::TClipboardContent Board;
  grid::TGridClipboard Clip{*this};
};

QString PeerJoin(grid::TDataGrid& g) {
  QString out;
  for (int r = 0; r < g.RowCount(); ++r) {
    for (int c = 0; c < kCols; ++c) {
      if (c) out += u'\t';
      out += g.GridCellRef(c, r);
    }
    out += QLatin1String("\r\n");
  }
  return out;
}

void PeerSplit(grid::TDataGrid& g, const QString& Text) {
  int c = 0, r = 0;
  qsizetype start = 0;
  const qsizetype n = Text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar ch = Text[i];
    if (ch == u'\t') {
      g.SetGridCell(c++, r, Text.mid(start, i - start));
      start = i + 1;
    } else if (ch == u'\r') {
      g.SetGridCell(c, r++, Text.mid(start, i - start));
      c = 0;
      if (i + 1 < n && Text[i + 1] == u'\n') ++i;
      start = i + 1;
    }
  }
}

void Report(benchmark::State& state, double Ours, double Peer, int Cells) {
  state.counters["ns_per_cell"] = Ours / Cells;
  state.counters["peer_ns_per_cell"] = Peer / Cells;
  state.counters["ratio"] = Ours / Peer;
}

void BM_ClipboardCopy(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  TBenchHost h(rows);
  bench::FillMeterGrid(h.G, kCols, rows, false);
  h.Sel = plat::TRect(0, 0, kCols - 1, rows - 1);
  double ours = 0, peer = 0;
  for (auto _ : state) {
    ours = TimeNs([&] { h.Clip.CopySelectionToClipboard(); });
    QString text;
    peer = TimeNs([&] { text = PeerJoin(h.G); });
    if (text != h.Board.Text) state.SkipWithError("texts differ");
    benchmark::DoNotOptimize(text.data());
  }
  Report(state, ours, peer, rows * kCols);
}

void BM_ClipboardPaste(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  TBenchHost src(rows);
  bench::FillMeterGrid(src.G, kCols, rows, false);
  src.Sel = plat::TRect(0, 0, kCols - 1, rows - 1);
  src.Clip.CopySelectionToClipboard();
  const QString text = src.Board.Text;
  double ours = 0, peer = 0;
  for (auto _ : state) {
    // One side's million cells are gone before the other side runs, so that neither pays for the other's heap.
    {
      TBenchHost a(rows);
      a.Board = src.Board;
      a.Sel = plat::TRect(0, 0, 0, 0);
      ours = TimeNs([&] { a.Clip.PasteSelectionFromClipboard(); });
      if (a.G.GetGridCell(kCols - 1, rows - 1) != CellText(kCols - 1, rows - 1)) state.SkipWithError("cells lost");
    }
    {
      grid::TDataGrid b(kCols, rows);
      peer = TimeNs([&] { PeerSplit(b, text); });
      if (b.GetGridCell(kCols - 1, rows - 1) != CellText(kCols - 1, rows - 1)) state.SkipWithError("cells lost");
    }
  }
  Report(state, ours, peer, rows * kCols);
}

BENCHMARK(BM_ClipboardCopy)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ClipboardPaste)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
