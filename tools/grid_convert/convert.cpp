#include "tools/grid_convert/convert.h"

#include <QFile>

#include <cstdio>

#include "grid/data/bin_stream.h"
#include "grid/data/csv_format.h"
#include "controls/filter_match.h"
#include "grid/data/data_grid.h"
#include "grid/data/filter.h"
#include "grid/data/fixed_text.h"
#include "grid/data/grid_text_format.h"
#include "grid/data/html_export.h"
#include "grid/data/office/office_exchange.h"
#include "grid/data/store_sort.h"
#include "grid/data/text_codec.h"
#include "grid/data/xml_format.h"
#include "grid/griderror.h"
#include "grid/model/intlist.h"
#include "platform/rtl/streams.h"

namespace gridconvert {

using grid::TDataGrid;

namespace {

void ApplyCsvOptions(TDataGrid& g, const TOptions& o) {
  g.Options.Delimiter = o.Delimiter;
  g.Options.Quote = o.Quote;
  g.Options.AlwaysQuotes = o.AlwaysQuote;
}

// The CSV options name the written dialect; a read CSV file's separator is detected.
void LoadCsv(TDataGrid& g, const QString& f, const TOptions&) { grid::LoadFromCSV(g, f); }

void SaveCsv(TDataGrid& g, const QString& f, const TOptions& o) {
  ApplyCsvOptions(g, o);
  grid::SaveToCSV(g, f, false);
}

void LoadText(TDataGrid& g, const QString& f, const TOptions&) {
  g.Options.Multilinecells = true;
  grid::LoadGridTextFile(g, f);
}

void SaveText(TDataGrid& g, const QString& f, const TOptions&) { grid::SaveGridTextFile(g, f, false); }

// The 1-based split positions of the fixed-width reader: each start + 1, and an end behind the longest line.
void LoadFixed(TDataGrid& g, const QString& f, const TOptions& o) {
  if (o.Positions.empty()) throw grid::EExtGridError(QStringLiteral("reading fixed-width text needs --positions"));
  QFile file(f);
  int longest = 0;
  if (file.open(QIODevice::ReadOnly))
    for (const QString& line : grid::SplitLines(grid::DecodeText(file.readAll())))
      longest = std::max(longest, static_cast<int>(line.size()));
  grid::TIntList pos(-1, -1);
  for (int p : o.Positions) pos.Add(p + 1);
  pos.Add(std::max(longest, o.Positions.back()) + 1);
  grid::LoadFromFixed(g, f, pos, true, -1);
}

// Column widths from the starts; the last column (and any without a start) as wide as its widest text + 1.
void SaveFixed(TDataGrid& g, const QString& f, const TOptions& o) {
  grid::TIntList widths(-1, -1);
  for (size_t k = 1; k < o.Positions.size(); ++k) widths.Add(std::max(0, o.Positions[k] - o.Positions[k - 1]));
  grid::SaveToFixed(g, f, widths);
}

void SaveAscii(TDataGrid& g, const QString& f, const TOptions&) { grid::SaveToASCII(g, f, false); }
void LoadBin(TDataGrid& g, const QString& f, const TOptions&) { grid::LoadFromBinFile(g, f); }
void SaveBin(TDataGrid& g, const QString& f, const TOptions&) { grid::SaveToBinFile(g, f); }
void SaveHtml(TDataGrid& g, const QString& f, const TOptions&) { grid::SaveToHTML(g, grid::THTMLOptions{}, f, false); }
void LoadXml(TDataGrid& g, const QString& f, const TOptions&) { grid::LoadFromXML(g, f, false, false); }
// Empty cells are written too: the reader places fields in consecutive columns, whatever their names.
void SaveXml(TDataGrid& g, const QString& f, const TOptions&) {
  grid::TXMLExportOptions o;
  o.ExportEmptyCells = true;
  o.Encoding = QStringLiteral("UTF-8");
  grid::SaveToXML(g, f, o);
}

// A workbook: the sheet --sheet names (or the active one); written as a new workbook, or with --sheet into
// that sheet of the workbook OUT, whose other sheets stay.
void LoadXlsx(TDataGrid& g, const QString& f, const TOptions& o) {
  if (o.Sheet.isEmpty()) grid::LoadFromXLS(g, f);
  else grid::LoadFromXLSSheet(g, f, o.Sheet);
}

void SaveXlsx(TDataGrid& g, const QString& f, const TOptions& o) {
  if (o.Sheet.isEmpty()) grid::SaveToXLS(g, f, true);
  else grid::SaveToXLSSheet(g, f, o.Sheet);
}

void SaveDocx(TDataGrid& g, const QString& f, const TOptions&) { grid::SaveToDOC(g, f, true); }

}  // namespace

const std::vector<TFormat>& Formats() {
  static const std::vector<TFormat> formats = {
      {".csv", LoadCsv, SaveCsv},
      {".txt", LoadText, SaveText},
      {".fix", LoadFixed, SaveFixed},
      {".asc", nullptr, SaveAscii},
      {".grd", LoadBin, SaveBin},
      {".html", nullptr, SaveHtml},
      {".xml", LoadXml, SaveXml},
      {".xlsx", LoadXlsx, SaveXlsx},
      {".docx", nullptr, SaveDocx},
#ifdef GRID_CONVERT_PDF
      {".pdf", nullptr, SavePdf},
#endif
  };
  return formats;
}

const TFormat* FormatOf(const QString& FileName) {
  for (const TFormat& f : Formats())
    if (FileName.endsWith(QLatin1StringView(f.Extension), Qt::CaseInsensitive)) return &f;
  return nullptr;
}

void LoadStandardInput(TDataGrid& Grid, const TOptions& Options) {
  QFile in;
  if (!in.open(stdin, QIODevice::ReadOnly)) throw grid::EExtGridError(QStringLiteral("cannot read standard input"));
  const QByteArray bytes = in.readAll();
  if (bytes.startsWith("XGRD")) {
    grid::LoadBinBytesAtPoint(Grid, plat::TPoint(0, 0), bytes);
    return;
  }
  (void)Options;
  if (bytes.isEmpty()) return;
  plat::TMemoryStream ms(bytes);
  grid::LoadFromCSVStream(Grid, ms);
}

void SortRows(TDataGrid& Grid, const TOptions& Options) {
  if (Options.SortColumn < 0) return;
  if (Options.SortColumn >= Grid.TotalColCount())
    throw grid::EExtGridError(QStringLiteral("there is no column %1 to sort on").arg(Options.SortColumn));
  grid::SortStoreRows(Grid, Grid.TotalColCount(), Options.SortColumn, Grid.FixedRows(),
                      Grid.RowCount() - Grid.FixedFooters() - 1, Options.SortDescending);
}

namespace {

// The filter's view of the window-free grid: a failing row is simply taken out, as nothing brings it back.
class TConvertFilterHost : public grid::TGridFilterHost {
 public:
  explicit TConvertFilterHost(TDataGrid& Grid) : G(Grid) {}
  grid::TGridFilter Engine{*this};

  grid::TFilter& Filter() override { return FFilter; }
  int RowCount() const override { return G.RowCount(); }
  int AllColCount() const override { return G.TotalColCount(); }
  int FixedRows() const override { return G.FixedRows(); }
  void SetFixedRows(int Value) override { G.FixedRowCount = Value; }
  int FixedFooters() const override { return G.FixedFooters(); }
  // The grid has no display formatting: every kind of text is the stored one.
  QString FilterCellText(int ACol, int ARow, grid::TFilterCells) override { return G.GetGridCell(ACol, ARow); }
  bool MatchExpression(const QString& Expression, const QString& Value, bool CaseSensitive) override {
    return controls::MatchFilter(Expression, Value, CaseSensitive);
  }
  bool RowMatches(int ARow) override { return Engine.MatchesFilter(ARow); }
  void HideRowList(const std::vector<int>& Rows) override {
    if (Rows.empty()) return;
    // A merged area that reaches over a removed row is split first, so no part of it is left without its base.
    for (int r : Rows) {
      G.SplitAcrossRowBoundary(r);
      G.SplitAcrossRowBoundary(r + 1);
    }
    G.EraseStoreRows(Rows);
    G.SetRowCount(G.RowCount() - int(Rows.size()));
  }
  void UnHideRowList() override {}
  int FilterLevel() const override { return 0; }
  void SetFilterLevel(int) override {}
  void HideRealRow(int ARow) override { HideRowList({ARow}); }
  int RealRowIndex(int ARow) const override { return ARow; }

 private:
  TDataGrid& G;
  grid::TFilter FFilter;
};

}  // namespace

void FilterRows(TDataGrid& Grid, const TOptions& Options) {
  if (Options.Filters.empty()) return;
  TConvertFilterHost host(Grid);
  for (const TOptions::TFilterOption& o : Options.Filters) {
    if (o.Column >= Grid.TotalColCount())
      throw grid::EExtGridError(QStringLiteral("there is no column %1 to filter on").arg(o.Column));
    grid::TFilterData* f = host.Filter().Add();
    f->Column = o.Column;
    f->Condition = o.Condition;
    f->Data = grid::fcNormal;
  }
  host.Engine.ApplyFilter();
}

}  // namespace gridconvert
