#pragma once
// The grid's filtering: the row test of the filter conditions, filter levels that hide the failing rows and
// come back one at a time, the incremental narrow-down of search-as-you-type, and the two handlers that turn a
// choice in the filter drop-down into conditions.
//
// TGridFilter owns the filter's own state (the fixed rows to restore, the last narrow-down text, whether the
// filter is switched on) and sees its grid only through TGridFilterHost. The hidden rows themselves live in
// the grid's hidden-row store: each applied filter hides its failing rows there as one level.

#include <QString>

#include <vector>

#include "grid/model/filter_conditions.h"

namespace grid {

class TGridFilterHost {
 public:
  virtual ~TGridFilterHost() = default;

  virtual TFilter& Filter() = 0;
  virtual int RowCount() const = 0;
  // Every real column, hidden ones included.
  virtual int AllColCount() const = 0;
  virtual int FixedRows() const = 0;
  virtual void SetFixedRows(int Value) = 0;
  virtual int FixedFooters() const = 0;
  // The text of a cell (real column, display row) as Data says; never asked for fcRow.
  virtual QString FilterCellText(int ACol, int ARow, TFilterCells Data) = 0;
  // A cell text in the two-byte form of wide text, decoded.
  virtual QString DecodeWideText(const QString& Text) { return Text; }
  // A filter expression in its full syntax (the filter answers plain patterns itself, to the same result).
  virtual bool MatchExpression(const QString& Expression, const QString& Value, bool CaseSensitive) = 0;
  // The row test as the grid answers it (descendants may override it); the filter's own test by default.
  virtual bool RowMatches(int ARow) = 0;
  // OnCustomFilter: false when it is not assigned, else AcceptRow holds its word.
  virtual bool CustomFilter(int ARow, bool& AcceptRow) { (void)ARow, (void)AcceptRow; return false; }
  // Node rows and group summary rows are never tested or hidden while FilterNormalCellsOnly is on.
  virtual bool FilterNormalCellsOnly() const { return true; }
  virtual bool IsNodeOrSummaryRow(int ARow) { (void)ARow; return false; }
  // OnFilterProgress.
  virtual bool HasFilterProgress() const { return false; }
  virtual void FilterProgress(int Percent) { (void)Percent; }

  // ---- the hidden-row store
  // Hides display rows (ascending) as one new level; the level count rises also for an empty list.
  virtual void HideRowList(const std::vector<int>& Rows) = 0;
  // The newest level's rows come back; the level count stays.
  virtual void UnHideRowList() = 0;
  virtual int FilterLevel() const = 0;
  virtual void SetFilterLevel(int Value) = 0;
  virtual void HideRealRow(int ARow) = 0;
  virtual int RealRowIndex(int ARow) const = 0;

  // ---- around the switching
  virtual void BeginUpdate() {}
  virtual void EndUpdate() {}
  // Before a filter is switched on: a current cell outside the grid becomes the first normal cell.
  virtual void KeepCurrentCellInside() {}
  // After a filter was switched on: the selection counts as shown again.
  virtual void SelectionShown() {}
  // After a level came back: a selection the filter hid is restored.
  virtual void RestoreHiddenSelection() {}
  virtual void ScrollToFirstRow() {}
  virtual void RecalcFooters() {}
  virtual void SetFixedRowAlways() {}
};

class TGridFilter {
 public:
  explicit TGridFilter(TGridFilterHost& Host) : H(Host) {}

  // The conditions' verdict on a display row, OnCustomFilter having the last word.
  bool MatchesFilter(int ARow);
  // Hides every normal row that fails as one new level.
  void ApplyFilter();
  bool Active() const { return FActive; }
  void SetActive(bool Value);
  // Tests one display row and hides it (at its real index) when it fails.
  void FilterRow(int ARow);
  // Brings the newest level back; true when two or more levels remain (false also without any level).
  bool RemoveLastFilter();
  // Every level comes back; without levels the conditions are cleared instead.
  void RemoveAllFilters();
  // Search as you type on a column (-1: anywhere in the row): a character more narrows by a new level, a
  // character less takes one level back, any other text filters afresh, an empty text shows everything.
  void NarrowDown(const QString& ACondition, int AColumn);

  int FilterFixedRows() const { return FFilterFixedRows; }
  const QString& LastFilter() const { return FLastFilter; }

  // ---- the filter drop-down's choice (Entry: the chosen value-list entry, name=condition or both in one)
  // The name a value-list entry shows and the condition it filters with ("(All)" and the like: empty).
  static QString EntryName(const QString& Entry);
  static QString EntryCondition(const QString& Entry, const QString& ClearText);

 private:
  struct TPrepared;
  bool Test(int ARow, const std::vector<TPrepared>& Conditions);
  std::vector<TPrepared> Prepare();
  void BuildNarrowCondition(const QString& ACondition, int AColumn);

  TGridFilterHost& H;
  bool FActive = false;
  int FFilterFixedRows = 0;
  QString FLastFilter;
  // The conditions as prepared for the running ApplyFilter (empty outside one).
  const std::vector<TPrepared>* FRunning = nullptr;
};

// A filter expression reduced, where it can be, to a plain wildcard pattern ('*' any run, '?' one character)
// that matches exactly as the full expression would. Plain: no operator characters at all.
class TFilterPattern {
 public:
  TFilterPattern(const QString& Expression, bool CaseSensitive);
  bool Plain() const { return FPlain; }
  // Only for a plain pattern.
  bool Matches(const QString& Value) const;

 private:
  bool FPlain = false, FCaseSensitive = true;
  QString FPattern;
};

// The upper-case rule of the whole-row test: only a to z change.
QString AsciiUpper(const QString& S);

}  // namespace grid
