#pragma once
// What the grid's sorting needs of the grid: the texts and cell objects a comparison reads, the column's sort
// format and the comparison events, the row exchange, and the counts. The string grid implements it; tests
// implement it over a bare cell store. Indexes are the grid's rows as they stand before the sort; during a sort
// the column count includes the hidden columns.

#include <QString>

#include <utility>
#include <vector>

#include "grid/model/gridtypes.h"

namespace grid {

enum TSortBlankPosition { blFirst, blLast };

// The comparison options of the grid's sort settings.
struct TSortOptions {
  bool AutoFormat = true;
  bool IgnoreCase = false;
  bool IgnoreBlanks = false;
  TSortBlankPosition BlankPos = blFirst;
  // Equal cells are ordered by the next column (or the next sort key).
  bool Full = true;
  // Compare the displayed texts rather than the stored ones.
  bool SortOnVirtualCells = true;
};

class TSortHost {
 public:
  virtual ~TSortHost() = default;

  // Columns a comparison may look at (ColCount plus the hidden columns while a sort runs).
  virtual int SortColCount() const = 0;
  // The text a comparison reads: the displayed text when Displayed, else the stored text.
  virtual QString SortText(int ACol, int ARow, bool Displayed) = 0;
  // The cell's stored text where it stands, when that is the text SortText gives and the cell has nothing else
  // a comparison asks about (no check box, no merged area, no cell object); nullptr otherwise, and then the
  // comparison reads SortText and asks CheckBoxState. The text stays valid until the cell is written.
  virtual const QString* PlainSortText(int ACol, int ARow, bool Displayed) {
    (void)ACol, (void)ARow, (void)Displayed;
    return nullptr;
  }
  // The displayed text is empty (a number that does not convert then counts as 0).
  virtual bool DisplayedEmpty(int ACol, int ARow) = 0;
  virtual QString StrippedText(int ACol, int ARow) = 0;
  // False when the cell has no check box.
  virtual bool CheckBoxState(int ACol, int ARow, bool& Checked) = 0;
  virtual long long ImageKey(int ACol, int ARow) = 0;
  virtual bool IsIgnoredColumn(int ACol) const = 0;

  // The column's own format (prefix, suffix), then OnGetFormat.
  virtual void GetFormat(int ACol, TSortStyle& Style, QString& Prefix, QString& Suffix) = 0;
  // A column's format stays the same for the whole sort (no handler that may answer differently per
  // comparison), so it may be asked once per column.
  virtual bool FormatFixed() const { return false; }
  // OnCustomCompare and OnRawCompare: false when there is no handler.
  virtual bool CustomCompare(const QString& S1, const QString& S2, int& Res) = 0;
  virtual bool RawCompare(int ACol, int ARow1, int ARow2, int& Res) = 0;

  // The locale's number classification: 0 integer, 1 decimal, 2 not a number, 5 scientific notation.
  virtual int NumberKind(const QString& S) = 0;
  // A short date read day first (or month first); 0 when it is no date.
  virtual double ShortDate(const QString& S, bool DayFirst) = 0;

  // The grid's row exchange: whole rows (or the sort column's cells), the cross-reference and the current
  // row follow.
  virtual void SortSwapRows(int ARow1, int ARow2) = 0;
  // Only the sort column's cells change places in a swap.
  virtual bool SwapsSingleColumn() const { return false; }
  // The rows from First on take the order the sort reached, in one pass: row First + k gets what stood at
  // row From[k]. Swaps are the exchanges that order stands for, in order (what SortSwapRows would have been
  // told). False when every exchange must go through SortSwapRows (the sort then makes them one by one).
  virtual bool SortMoveRows(int First, const std::vector<int>& From, const std::vector<std::pair<int, int>>& Swaps) {
    (void)First, (void)From, (void)Swaps;
    return false;
  }
};

}  // namespace grid
