#pragma once
// Hiding and showing columns and rows of a base grid, with the mapping between real and display indexes.
//
// A hidden column stays in place (its cells keep their real column); ColCount counts the shown columns and
// the grid's TotalColCount must add NumHiddenColumns. A hidden row moves out: its cells, their properties and
// its height go into a record of the hidden-row store and the row leaves the grid; RowCount counts the shown
// rows. Row lists (filter levels) stack on the store: each HideRowList opens a level, UnHideRowList brings back
// the newest one.
//
// Every record holds the real index of its row, whether a range or a row list (a filter level) hid it, so
// inserting or removing shown rows renumbers all records alike and a row comes back where it stands among all
// rows then. Bringing back a list level places and removes only that level's list records: rows hidden by
// range keep their records at every level. Records are made, placed back and deleted a batch at a time.

#include <functional>
#include <memory>
#include <vector>

#include "grid/basegrid.h"
#include "grid/model/hidden_axes.h"
#include "grid/model/intlist.h"
#include "grid/model/options.h"
#include "platform/rtl/collection.h"

namespace grid {

class TGridHiding {
 public:
  explicit TGridHiding(TBaseGrid& Grid);
  // Frees the cell properties the records still hold.
  ~TGridHiding();
  TGridHiding(const TGridHiding&) = delete;
  TGridHiding& operator=(const TGridHiding&) = delete;

  // ---- mapping
  int DisplToRealCol(int ACol) const { return FCols.DisplToReal(ACol); }
  int RealToDisplCol(int ACol) const { return FCols.RealToDispl(ACol); }
  int DisplToRealRow(int ARow) const { return FRowIndex.DisplToReal(ARow); }
  int RealToDisplRow(int ARow) const { return FRowIndex.RealToDispl(ARow); }

  // ---- columns (real indexes)
  void HideColumns(int FromCol, int ToCol);
  void UnHideColumns(int FromCol, int ToCol);
  void UnHideColumnsAll();
  bool IsHiddenColumn(int ACol) const { return FCols.IsHidden(ACol); }
  int NumHiddenColumns() const { return FCols.NumHidden(); }
  THiddenColumns& Columns() { return FCols; }

  // ---- rows (real indexes unless said)
  void HideRows(int FromRow, int ToRow);
  void HideRowsEx(int FromRow, int ToRow);
  // Display rows, ascending and without repeats, all inside the grid; any other list is refused (false).
  bool HideRowList(const TIntList& RowList);
  void UnHideRow(int ARow) { UnHideRows(ARow, ARow); }
  void UnHideRows(int FromRow, int ToRow);
  void UnHideRowList();
  void UnHideRowsAll();
  bool IsHiddenRow(int ARow) const { return FRowIndex.IsHidden(ARow); }
  int NumHiddenRows() const { return FRowIndex.Count(); }
  int TotalRowCount() const { return FGrid.RowCount() + NumHiddenRows(); }
  int FilterLevel() const { return FFilterLevel; }
  void SetFilterLevel(int Value) { FFilterLevel = Value; }
  plat::TCollection& GridItems() { return FGridItems; }
  // Every record's index goes through NewIdx (shown rows were inserted, removed or moved in front of it).
  void RenumberRecords(const std::function<int(int)>& NewIdx);
  // The cells kept in the records follow the grid's real columns, so that a row shown again puts every text
  // and property back under its own column after columns were inserted, removed, moved or swapped.
  void RecordColumnsInserted(int ACol, int Count);
  void RecordColumnsRemoved(int ACol, int Count);
  void RecordColumnMoved(int FromCol, int ToCol);
  void RecordColumnsSwapped(int ACol1, int ACol2);
  // The cells kept in the records are no merged area's part any more (the grid's areas were all split).
  void SplitRecordedAreas();
  // The column count shrank: hidden columns that would come back past the shown ones are gone with the columns
  // cut off, so that showing them again never reaches outside the grid.
  void ForgetColumnsBeyondCount();

  // Real columns that sorting and row autosizing skip.
  TIntList& IgnoreColumns() { return FIgnoreColumns; }
  bool IsIgnoredColumn(int ACol) const { return FIgnoreColumns.HasValue(ACol); }

 private:
  int TotalCols() const { return FGrid.ColCount() + FCols.NumHidden(); }
  // Range records go in ascending Idx order unless Append; list records always go to the end.
  TGridItem* NewRecord(int DisplRow, int Idx, int Level, bool FromList, bool Append);
  TGridItem& Record(int Index) const { return *static_cast<TGridItem*>(FGridItems.Items(Index)); }
  // Brings back the rows of the records at these store positions (one per index) and deletes the records.
  void ShowRecords(std::vector<int> Positions);
  // Deletes the records at these store positions with what they still hold.
  void DeleteRecords(std::vector<int> Positions);
  // Moves the display rows (ascending) whole into their records (Records[i] takes SortedRows[i]), or the
  // records' rows back to the display rows they will have, keeping the other rows' heights.
  void MoveRowsOut(const std::vector<int>& SortedRows, const std::vector<TGridItem*>& Records);
  void MoveRowsIn(const std::vector<int>& SortedFinalRows, const std::vector<TGridItem*>& Records);
  std::vector<int> Heights() const;

  TBaseGrid& FGrid;
  THiddenColumns FCols;
  THiddenRowIndex FRowIndex;
  plat::TCollection FGridItems{plat::ItemClassOf<TGridItem>()};
  int FFilterLevel = 0;
  TIntList FIgnoreColumns{-1, -1};
};

}  // namespace grid
