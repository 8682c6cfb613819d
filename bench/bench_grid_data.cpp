// deps: grid_data
// The grid's CSV and binary stream against plain peers doing the same work on the same cells, at 10k, 100k and
// 1M cells (linearity: ns_per_cell stays flat). Each run times both sides once and reports ours / peer as
// "ratio": CSV load against a reader that only splits the text into std::vector<std::string>, CSV save against a
// writer that only joins such strings, and the binary stream against a plain length-prefixed dump of the cells.

#include <benchmark/benchmark.h>


#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_grid_cells.h"
#include "grid/data/bin_stream.h"
#include "grid/data/csv_format.h"
#include "grid/data/data_grid.h"
#include "grid/data/text_codec.h"

namespace {

const bool kHeapKept = bench::KeepFreedMemory();

// Sixteen columns keep a million cells within the 65,536 rows the binary stream addresses.
constexpr int kCols = 16;

using bench::TimeNs;

void FillGrid(grid::TDataGrid& g, int Rows) { bench::FillMeterGrid(g, kCols, Rows, true); }

// ---- the plain peers

std::vector<std::string> PeerSplit(const std::string& Text) {
  std::vector<std::string> cells;
  size_t start = 0;
  for (size_t i = 0; i < Text.size(); ++i) {
    const char ch = Text[i];
    if (ch != ',' && ch != '\r' && ch != '\n') continue;
    if (ch == '\n' && i > 0 && Text[i - 1] == '\r') {
      start = i + 1;
      continue;
    }
    cells.emplace_back(Text, start, i - start);
    start = i + 1;
  }
  return cells;
}

std::string PeerJoin(const std::vector<std::string>& Cells) {
  std::string out;
  for (size_t i = 0; i < Cells.size(); ++i) {
    out += Cells[i];
    out += (i + 1) % kCols ? "," : "\r\n";
  }
  return out;
}

QByteArray PeerDump(grid::TDataGrid& g) {
  QByteArray out;
  for (int r = 0; r < g.RowCount(); ++r)
    for (int c = 0; c < g.ColCount(); ++c) {
      const QString& s = g.GridCellRef(c, r);
      const quint32 n = static_cast<quint32>(s.size());
      out.append(reinterpret_cast<const char*>(&n), 4);
      out.append(reinterpret_cast<const char*>(s.constData()), s.size() * 2);
    }
  return out;
}

void PeerUndump(grid::TDataGrid& g, const QByteArray& Bytes) {
  const char* p = Bytes.constData();
  for (int r = 0; r < g.RowCount(); ++r)
    for (int c = 0; c < g.ColCount(); ++c) {
      quint32 n;
      std::memcpy(&n, p, 4);
      g.SetGridCell(c, r, QString(reinterpret_cast<const QChar*>(p + 4), n));
      p += 4 + n * 2;
    }
}

void Report(benchmark::State& state, double Ours, double Peer, int Cells) {
  state.counters["ns_per_cell"] = Ours / Cells;
  state.counters["peer_ns_per_cell"] = Peer / Cells;
  state.counters["ratio"] = Ours / Peer;
}

void BM_CsvLoad(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0)) / kCols;
  grid::TDataGrid src;
  FillGrid(src, rows);
  src.Options.Delimiter = u',';
  const QByteArray bytes = grid::EncodeText(grid::CSVText(src), grid::TTextEncoding::Utf8);
  const std::string text(bytes.constData(), static_cast<size_t>(bytes.size()));
  double ours = 0, peer = 0;
  for (auto _ : state) {
    grid::TDataGrid g(kCols, 1);
    g.Options.Delimiter = u',';
    ours = TimeNs([&] { grid::LoadCSVText(g, grid::DecodeText(bytes), 0, false); });
    std::vector<std::string> cells;
    peer = TimeNs([&] { cells = PeerSplit(text); });
    benchmark::DoNotOptimize(cells.data());
    if (g.RowCount() != rows) state.SkipWithError("rows lost");
  }
  Report(state, ours, peer, rows * kCols);
}

void BM_CsvSave(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0)) / kCols;
  grid::TDataGrid g;
  FillGrid(g, rows);
  const std::vector<std::string> cells = PeerSplit(grid::CSVText(g).toStdString());
  double ours = 0, peer = 0;
  for (auto _ : state) {
    QByteArray bytes;
    ours = TimeNs([&] { bytes = grid::CSVBytes(g, false); });
    std::string text;
    peer = TimeNs([&] { text = PeerJoin(cells); });
    benchmark::DoNotOptimize(bytes.data());
    benchmark::DoNotOptimize(text.data());
  }
  Report(state, ours, peer, rows * kCols);
}

void BM_BinSave(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0)) / kCols;
  grid::TDataGrid g;
  FillGrid(g, rows);
  double ours = 0, peer = 0;
  for (auto _ : state) {
    QByteArray a, b;
    ours = TimeNs([&] { a = grid::BinStreamOfRect(g, plat::TRect(0, 0, kCols - 1, rows - 1)); });
    peer = TimeNs([&] { b = PeerDump(g); });
    benchmark::DoNotOptimize(a.data());
    benchmark::DoNotOptimize(b.data());
  }
  Report(state, ours, peer, rows * kCols);
}

void BM_BinLoad(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0)) / kCols;
  grid::TDataGrid src;
  FillGrid(src, rows);
  const QByteArray stream = grid::BinStreamOfRect(src, plat::TRect(0, 0, kCols - 1, rows - 1));
  const QByteArray dump = PeerDump(src);
  double ours = 0, peer = 0;
  for (auto _ : state) {
    grid::TDataGrid a(1, 1), b(kCols, rows);
    ours = TimeNs([&] { grid::LoadBinBytesAtPoint(a, plat::TPoint(0, 0), stream); });
    peer = TimeNs([&] { PeerUndump(b, dump); });
    if (a.RowCount() != rows) state.SkipWithError("rows lost");
  }
  Report(state, ours, peer, rows * kCols);
}

BENCHMARK(BM_CsvLoad)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CsvSave)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BinSave)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BinLoad)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
