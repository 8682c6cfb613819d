// Spreadsheet exchange of the grid (office_exchange.h).

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <limits>

#include "grid/data/data_files.h"
#include "grid/data/grid_data_host.h"
#include "grid/data/office/office_convert.h"
#include "grid/data/office/office_exchange.h"
#include "grid/data/office/sheet_values.h"
#include "grid/data/office/xlsx_sheet.h"
#include "grid/data/office/xlsx_workbook.h"
#include "grid/data/office/zip_package.h"
#include "grid/griderror.h"
#include "grid/model/cellgrid.h"
#include "platform/rtl/exceptions.h"

namespace grid {

namespace {

using namespace office;

// The most cells a read sheet may give the grid: a used area beyond this comes from a damaged or hostile file
// (two far-apart cells) rather than from data, and would exhaust memory.
constexpr qint64 MaxLoadCells = qint64(16) << 20;

// The export texts of rows SaveStartRow .. RowCount - 1 and columns SaveStartCol .. ColCount - 1.
TCellBlock ExportBlock(TGridDataHost& Host, int FirstRow) {
  const TSaveRange range = SaveRangeOf(Host, Host.DataOptions());
  TCellBlock b;
  b.FirstRow = FirstRow;
  b.Rows = std::max(0, Host.RowCount() - range.StartRow);
  b.Cols = std::max(0, Host.ColCount() - range.StartCol);
  if (b.Cols > MaxSheetColumns || FirstRow + b.Rows - 1 > MaxSheetRows)
    throw EExtGridError(QStringLiteral("A worksheet holds at most %1 columns and %2 rows")
                            .arg(MaxSheetColumns).arg(MaxSheetRows));
  b.Texts.resize(static_cast<size_t>(b.Rows) * static_cast<size_t>(b.Cols));
  TExportRun run(Host, range.StartRow);
  size_t i = 0;
  for (int r = range.StartRow; r < Host.RowCount(); ++r) {
    run.NextRow(r);
    for (int c = range.StartCol; c < Host.ColCount(); ++c) {
      QString& text = b.Texts[i++];
      Host.SaveCell(Host.DisplToRealCol(c), r, text);
      text.remove(u'\r');
    }
  }
  run.Finish();
  return b;
}

enum class TTarget { NewWorkbook, NamedSheet, ActiveSheet };

void SaveWorkbook(TGridDataHost& Host, const QString& FileName, TTarget Target, const QString& SheetName) {
  const bool exists = QFileInfo::exists(FileName);
  TXlsxWorkbook book;
  int index = -1, firstRow = 1;
  bool fresh = true;
  if (Target == TTarget::NewWorkbook || !exists) {
    book.CreateNew();
    index = book.AddSheet(Target == TTarget::NamedSheet ? SheetName : QStringLiteral("Sheet1"));
  } else {
    book.Open(FileName);
    if (Target == TTarget::NamedSheet) {
      index = book.FindSheet(SheetName);
      if (index < 0) index = book.AddSheet(SheetName);
      else fresh = false;
    } else {
      if (book.Sheets().empty()) throw EExtGridError(QStringLiteral("%1: the workbook has no sheet").arg(FileName));
      index = book.ActiveSheet();
      fresh = false;
      firstRow = ActiveCellRow(book.ReadSheet(index));
    }
  }
  const TSheetEntry& sheet = book.Sheets()[static_cast<size_t>(index)];
  if (!sheet.Worksheet)
    throw EExtGridError(QStringLiteral("%1: the sheet %2 holds no cells").arg(FileName, sheet.Name));
  const TCellBlock block = ExportBlock(Host, firstRow);
  if (fresh) book.WriteSheet(index, NewSheetXml(block), false);
  else book.WriteSheet(index, MergeIntoSheet(book.ReadSheet(index), block), true);
  book.Save(FileName);
}

// A legacy .xls target: the work is done on a converted copy, which is converted back and then replaces the file.
void SaveWorkbookAs(TGridDataHost& Host, const QString& FileName, TTarget Target, const QString& SheetName) {
  if (!IsLegacySpreadsheet(FileName)) return SaveWorkbook(Host, FileName, Target, SheetName);
  QTemporaryDir dir;
  QDir(dir.path()).mkpath(QStringLiteral("in"));
  QDir(dir.path()).mkpath(QStringLiteral("out"));
  const QString work = dir.filePath(QStringLiteral("in/") + QFileInfo(FileName).completeBaseName() + QStringLiteral(".xlsx"));
  if (Target != TTarget::NewWorkbook && QFileInfo::exists(FileName))
    ConvertOfficeFile(FileName, QStringLiteral("xlsx"), dir.filePath(QStringLiteral("in")));
  SaveWorkbook(Host, work, Target, SheetName);
  const QString out = ConvertOfficeFile(work, QStringLiteral("xls"), dir.filePath(QStringLiteral("out")));
  WriteWholeFile(FileName, ReadWholeFile(out));
}

// The cells of one read sheet into the grid (see office_exchange.h).
void PutCells(TGridDataHost& Host, std::vector<TSheetCell>& Cells) {
  int c1 = 1, c2 = 1, r1 = 1, r2 = 1;
  if (!Cells.empty()) {
    c1 = r1 = std::numeric_limits<int>::max();
    c2 = r2 = 0;
    for (const TSheetCell& c : Cells)
      c1 = std::min(c1, c.Col), c2 = std::max(c2, c.Col), r1 = std::min(r1, c.Row), r2 = std::max(r2, c.Row);
  }
  const int cols = c2 - c1 + 1, rows = r2 - r1 + 1;
  if (qint64(cols) * rows > MaxLoadCells)
    throw EExtGridError(QStringLiteral("The used area of the sheet (%1 x %2 cells) is too large").arg(cols).arg(rows));
  const TGridDataOptions o = Host.DataOptions();
  const int colOffset = o.SavesFixedCols() ? 0 : Host.FixedCols();
  const int rowOffset = o.SavesFixedRows() ? 0 : Host.FixedRows();
  Host.SetColCount(cols + colOffset);
  Host.SetRowCount(rows + rowOffset);
  auto before = [](const TSheetCell& A, const TSheetCell& B) { return A.Row != B.Row ? A.Row < B.Row : A.Col < B.Col; };
  if (!std::is_sorted(Cells.begin(), Cells.end(), before)) std::stable_sort(Cells.begin(), Cells.end(), before);
  std::vector<QString> line(static_cast<size_t>(cols));
  // Without a hook on the loaded texts they go into the store as they are, without a copy; a cell the sheet
  // leaves empty is emptied only when it held something.
  const bool raw = Host.LoadsRawTexts();
  TCellGrid& store = Host.CellStore();
  auto next = Cells.begin();
  for (int r = r1; r <= r2; ++r) {
    for (; next != Cells.end() && next->Row == r; ++next) line[static_cast<size_t>(next->Col - c1)] = std::move(next->Text);
    const int row = r - r1 + rowOffset;
    for (int c = 0; c < cols; ++c) {
      QString& text = line[static_cast<size_t>(c)];
      if (!raw) Host.LoadCell(c + colOffset, row, text);
      else if (!text.isEmpty() || !store.GridCellRef(c + colOffset, row).isEmpty())
        store.SetGridCell(c + colOffset, row, std::move(text));
      text = QString();
    }
  }
}

void LoadWorkbook(TGridDataHost& Host, const QString& FileName, const QString* SheetName) {
  QTemporaryDir dir;
  QString file = FileName;
  if (IsLegacySpreadsheet(FileName)) file = ConvertOfficeFile(FileName, QStringLiteral("xlsx"), dir.path());
  TXlsxWorkbook book;
  book.Open(file);
  int index = SheetName ? book.FindSheet(*SheetName) : book.ActiveSheet();
  if (SheetName && index < 0) throw EExtGridError(QStringLiteral("Excel worksheet ") + *SheetName + QStringLiteral(" not found"));
  if (book.Sheets().empty()) throw plat::Exception(QStringLiteral("Incorrect XLS file"));
  const TCellContext context = book.CellContext();
  std::vector<TSheetCell> cells = ReadSheetCells(*book.OpenSheet(index), context);
  PutCells(Host, cells);
}

void LoadNotified(TGridDataHost& Host, const QString& FileName, const QString* SheetName) {
  try {
    LoadWorkbook(Host, FileName, SheetName);
  } catch (...) {
    NotifyCellsLoaded(Host);
    throw;
  }
  NotifyCellsLoaded(Host);
}

}  // namespace

void SaveToXLS(TGridDataHost& Host, const QString& FileName, bool CreateNewSheet) {
  SaveWorkbookAs(Host, FileName, CreateNewSheet ? TTarget::NewWorkbook : TTarget::ActiveSheet, QString());
}

void SaveToXLSSheet(TGridDataHost& Host, const QString& FileName, const QString& SheetName) {
  SaveWorkbookAs(Host, FileName, TTarget::NamedSheet, SheetName);
}

void LoadFromXLS(TGridDataHost& Host, const QString& FileName) { LoadNotified(Host, FileName, nullptr); }

void LoadFromXLSSheet(TGridDataHost& Host, const QString& FileName, const QString& SheetName) {
  LoadNotified(Host, FileName, &SheetName);
}

QStringList GetXLSSheets(const QString& FileName) {
  QTemporaryDir dir;
  QString file = FileName;
  if (IsLegacySpreadsheet(FileName)) file = ConvertOfficeFile(FileName, QStringLiteral("xlsx"), dir.path());
  TXlsxWorkbook book;
  book.Open(file);
  QStringList names;
  for (const TSheetEntry& s : book.Sheets())
    if (s.Worksheet) names.append(s.Name);
  return names;
}

}  // namespace grid
