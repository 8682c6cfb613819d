// deps: grid_office PkgConfig::XLSXWRITER
// Workbooks against plain peers doing the same work on the same cells, at 10k, 100k and 1M cells (linearity:
// ns_per_cell stays flat). Each run times both sides once and reports ours / peer as "ratio": writing an .xlsx
// against the spreadsheet writer library in its constant-memory mode writing the same texts and numbers, and
// reading the .xlsx back into a grid against loading the same cells from CSV.

#include <benchmark/benchmark.h>
#include <xlsxwriter.h>

#include <QTemporaryDir>

#include <string>
#include <vector>

#include "bench/bench_grid_cells.h"
#include "grid/data/csv_format.h"
#include "grid/data/data_grid.h"
#include "grid/data/office/office_exchange.h"
#include "grid/data/office/sheet_values.h"

namespace {

const bool kHeapKept = bench::KeepFreedMemory();

constexpr int kCols = 16;

using bench::TimeNs;

// Cell texts as meter tables hold them: numbers, names, codes with leading zeros, now and then a quote.
QString CellText(int c, int r) {
  switch ((c + r) % 8) {
    case 0: return QStringLiteral("Meter %1").arg(r);
    case 2: return QString::number(r * 17 + c);
    case 4: return QStringLiteral("%1.%2").arg(r).arg(c + 1);
    case 5: return QStringLiteral("kWh");
    case 6: return QStringLiteral("%1").arg(r % 1000, 8, 10, QLatin1Char('0'));
    case 7: return r % 50 == 0 ? QStringLiteral("say \"hi\" & <%1>").arg(r) : QStringLiteral("ok");
    default: return QStringLiteral("%1-%2").arg(c).arg(r);
  }
}

void FillGrid(grid::TDataGrid& g, int Rows) {
  g.SetColCount(kCols);
  g.SetRowCount(Rows);
  for (int r = 0; r < Rows; ++r)
    for (int c = 0; c < kCols; ++c) g.SetGridCell(c, r, CellText(c, r));
}

// What the peer writes for each cell: the number the grid writes as a number, else the text.
struct TPeerCell {
  bool Number = false;
  double Value = 0;
  std::string Text;
};

std::vector<TPeerCell> PeerCells(grid::TDataGrid& g) {
  std::vector<TPeerCell> cells;
  for (int r = 0; r < g.RowCount(); ++r)
    for (int c = 0; c < kCols; ++c) {
      const QString& t = g.GridCellRef(c, r);
      TPeerCell p;
      QByteArray number;
      p.Number = grid::office::IsCanonicalNumber(t, u'.', &number);
      if (p.Number) p.Value = number.toDouble();
      else p.Text = t.toStdString();
      cells.push_back(std::move(p));
    }
  return cells;
}

void PeerWrite(const std::vector<TPeerCell>& Cells, const QString& Path) {
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  lxw_workbook* book = workbook_new_opt(Path.toUtf8().constData(), &options);
  lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
  for (size_t i = 0; i < Cells.size(); ++i) {
    const auto r = static_cast<lxw_row_t>(i / kCols);
    const auto c = static_cast<lxw_col_t>(i % kCols);
    if (Cells[i].Number) worksheet_write_number(sheet, r, c, Cells[i].Value, nullptr);
    else if (!Cells[i].Text.empty()) worksheet_write_string(sheet, r, c, Cells[i].Text.c_str(), nullptr);
  }
  workbook_close(book);
}

void Report(benchmark::State& state, double Ours, double Peer, int Cells) {
  state.counters["ns_per_cell"] = Ours / Cells;
  state.counters["peer_ns_per_cell"] = Peer / Cells;
  state.counters["ratio"] = Ours / Peer;
}

void BM_XlsxWrite(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0)) / kCols;
  grid::TDataGrid g;
  FillGrid(g, rows);
  const std::vector<TPeerCell> cells = PeerCells(g);
  QTemporaryDir dir;
  double ours = 0, peer = 0;
  for (auto _ : state) {
    ours = TimeNs([&] { grid::SaveToXLS(g, dir.filePath("ours.xlsx"), true); });
    peer = TimeNs([&] { PeerWrite(cells, dir.filePath("peer.xlsx")); });
  }
  Report(state, ours, peer, rows * kCols);
}

void BM_XlsxRead(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0)) / kCols;
  QTemporaryDir dir;
  {
    grid::TDataGrid src;
    FillGrid(src, rows);
    src.Options.Delimiter = u',';
    grid::SaveToXLS(src, dir.filePath("cells.xlsx"), true);
    grid::SaveToCSV(src, dir.filePath("cells.csv"), false);
  }
  double ours = 0, peer = 0;
  for (auto _ : state) {
    grid::TDataGrid a(1, 1), b(1, 1);
    b.Options.Delimiter = u',';
    ours = TimeNs([&] { grid::LoadFromXLS(a, dir.filePath("cells.xlsx")); });
    peer = TimeNs([&] { grid::LoadFromCSV(b, dir.filePath("cells.csv")); });
    if (a.RowCount() != rows || b.RowCount() != rows) state.SkipWithError("rows lost");
  }
  Report(state, ours, peer, rows * kCols);
}

BENCHMARK(BM_XlsxWrite)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_XlsxRead)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
