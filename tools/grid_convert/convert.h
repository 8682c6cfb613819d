#pragma once
// The format table of grid_convert: each file extension names a reader and a writer (either may be missing),
// with the options they take. A new format is one more row.

#include <QChar>
#include <QString>
#include <QStringList>

#include <vector>

namespace grid {
class TDataGrid;
}

namespace gridconvert {

// The options of the written file (a read CSV file's separator is detected).
struct TOptions {
  QChar Delimiter;          // --delimiter C (CSV; detected on reading when not given)
  QChar Quote{u'"'};        // --quote C (CSV)
  bool AlwaysQuote = false; // --always-quote (CSV)
  std::vector<int> Positions;  // --positions 0,10,25: 0-based starts of the fixed-width columns
  int SortColumn = -1;      // --sort COL[:desc]: the rows sorted on that column (0-based) before saving
  bool SortDescending = false;
  QString Sheet;            // --sheet NAME: the workbook sheet read, or written into the workbook OUT (kept)
  // --filter COL=TEXT (repeatable): only the rows whose column COL (0-based) matches the filter condition TEXT
  // are saved; several conditions must all hold.
  struct TFilterOption {
    int Column;
    QString Condition;
  };
  std::vector<TFilterOption> Filters;
  // Printed files (.pdf) only:
  bool Landscape = false;   // --landscape: the pages turned
  bool Fit = false;         // --fit: columns wider than the page shrink, with their fonts, to one page width
};

struct TFormat {
  const char* Extension;  // with the dot, lower case
  void (*Load)(grid::TDataGrid& Grid, const QString& FileName, const TOptions& Options);
  void (*Save)(grid::TDataGrid& Grid, const QString& FileName, const TOptions& Options);
};

const std::vector<TFormat>& Formats();
// Writes the grid printed on A4 pages with the default print settings and 10 mm margins, turned and fitted as Options ask
// (convert_pdf.cpp; only in builds with the print library, which define GRID_CONVERT_PDF).
void SavePdf(grid::TDataGrid& Grid, const QString& FileName, const TOptions& Options);
// The row for a file name's extension (letters compared without regard to case); nullptr when none.
const TFormat* FormatOf(const QString& FileName);
// Standard input: a binary grid stream when it starts with one, else CSV.
void LoadStandardInput(grid::TDataGrid& Grid, const TOptions& Options);
// The rows below the fixed rows sorted as --sort asks (numbers as numbers, dates as dates, else text);
// plat::Exception for a column the grid does not have.
void SortRows(grid::TDataGrid& Grid, const TOptions& Options);
// The rows below the fixed rows that fail a --filter condition are taken out of the grid (the grid's own row
// test: wildcards, comparisons, and/or, case counts); plat::Exception for a column the grid does not have.
void FilterRows(grid::TDataGrid& Grid, const TOptions& Options);

}  // namespace gridconvert
