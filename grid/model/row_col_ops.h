#pragma once
// The structural operations of the string grid on its cell store: inserting, removing, moving and swapping
// rows and columns, clearing and trimming rectangles, merging and splitting runs of equal cells, and finding a
// cell by text. Texts, properties, cell objects and merged areas follow their cells; the grid's own per-row
// and per-column data (heights, widths, selection, modified and enabled flags, hidden-row records, attached
// controls) is kept in step through the host.
//
// Rows move as whole rows of the store (no cell is copied), so inserting or removing a row costs the row
// table and the side lists, not the cells. A merged area that a row or column boundary of the operation cuts
// is split first (its cells keep their texts), so areas never point at cells that moved away.
//
// Rows are display rows of the store; columns are real columns (hidden ones included).

#include <QString>

#include <functional>
#include <vector>

#include "grid/model/cell_controls.h"
#include "grid/model/cellgrid.h"

namespace grid {

// What the operations need of the grid besides its cell store.
class TRowColHost {
 public:
  virtual ~TRowColHost() = default;
  // Counts of shown rows and shown columns (hidden columns are counted by the store's TotalColCount).
  virtual void SetRowCount(int Value) = 0;
  virtual void SetColCount(int Value) = 0;
  virtual int FixedRows() const { return 0; }
  virtual int FixedCols() const { return 0; }
  virtual int FixedFooters() const { return 0; }
  virtual int FixedRightCols() const { return 0; }
  // Per-row data of the grid (heights, lists, attached controls) following the rows. Insertions are told
  // after the count grew, removals before it shrinks.
  virtual void RowsInserted(int ARow, int Count) { (void)ARow, (void)Count; }
  virtual void RowsRemoved(int ARow, int Count) { (void)ARow, (void)Count; }
  virtual void RowsMoved(int FromIndex, int Count, int ToIndex) { (void)FromIndex, (void)Count, (void)ToIndex; }
  virtual void RowsSwapped(int ARow1, int ARow2) { (void)ARow1, (void)ARow2; }
  // Rows from First on took a new order (row First + k is the one that stood at From[k]). By default told as
  // the exchanges that make that order.
  virtual void RowsPermuted(int First, const std::vector<int>& From);
  virtual void ColsInserted(int ACol, int Count) { (void)ACol, (void)Count; }
  virtual void ColsRemoved(int ACol, int Count) { (void)ACol, (void)Count; }
  virtual void ColsSwapped(int ACol1, int ACol2) { (void)ACol1, (void)ACol2; }
  // Hidden rows: the real index of a display row, and the renumbering of every hidden-row record's index
  // through NewIdx when shown rows come or go in front of it.
  virtual int DisplToRealRow(int ARow) const { return ARow; }
  virtual bool HasHiddenRows() const { return false; }
  // Hidden columns among the real columns [ACol, ACol + Count): they are not counted in the shown columns.
  virtual int HiddenColsIn(int ACol, int Count) const { (void)ACol, (void)Count; return 0; }
  virtual void RenumberHiddenRows(const std::function<int(int)>& NewIdx) { (void)NewIdx; }
  // Controls attached to cells, by real column and real row (nullptr while the grid keeps none). Their places
  // follow the rows and columns; the controls of removed rows and columns are handed back to be hidden and
  // let go, and ControlsMoved ends every change of places (the grid places the controls again).
  virtual TControlPlaces* ControlPlaces() { return nullptr; }
  virtual void ControlsDropped(const std::vector<plat::TControl*>& Controls) { (void)Controls; }
  virtual void ControlsMoved() {}
  // The rectangle of cells the operation changed (store coordinates, inclusive).
  virtual void CellsChanged(int ACol1, int ARow1, int ACol2, int ARow2) { (void)ACol1, (void)ARow1, (void)ACol2, (void)ARow2; }
};

class TRowColOps {
 public:
  TRowColOps(TCellGrid& Cells, TRowColHost& Host) : FCells(Cells), FHost(Host) {}

  // ---- rows
  // Count empty rows at RowIndex (up to RowCount); hidden rows at or behind the point keep their place, and
  // so do attached controls unless UpdateCellControls is off (then they stay on the cells they were on).
  void InsertRows(int RowIndex, int RCount, bool UpdateCellControls = true);
  // Removes rows with their properties and cell objects; ignored outside the grid or for RCount <= 0. The
  // controls of the removed rows are let go, those behind move up. UpdateHidden off is the hiding of rows:
  // real indexes stay, so neither hidden-row records nor attached controls are renumbered.
  void RemoveRows(int RowIndex, int RCount, bool UpdateHidden = true);
  // The Count rows from FromIndex go to ToIndex (counted in the grid before the move, as the row
  // inserter sees it: a target behind the block is lowered by Count).
  void MoveRows(int FromIndex, int ToIndex, int Count);
  void MoveRow(int FromIndex, int ToIndex) { MoveRows(FromIndex, ToIndex > FromIndex ? ToIndex + 1 : ToIndex, 1); }
  void SwapRows(int ARow1, int ARow2);
  // Only the cells of one column change places: texts and object slots (the single-column sort's exchange).
  void SwapColumnCells(int ACol, int ARow1, int ARow2);
  // The rows from First on take a new order in one pass, as the same rows would after a run of SwapRows
  // (SwapColumnCells) calls: row First + k gets the row that stood at From[k]. Touched are the rows those
  // exchanges named (merged areas across them are split, as the exchanges would have split them).
  void PermuteRows(int First, const std::vector<int>& From, const std::vector<int>& Touched);
  void PermuteColumnCells(int ACol, int First, const std::vector<int>& From, const std::vector<int>& Touched);
  // Removes every row whose text in ACol repeats an earlier kept row's text (case-insensitive unless DoCase).
  void RemoveDuplicates(int ACol, bool DoCase);

  // The base grid moved one row (column) itself: attached controls follow (real indexes).
  void ControlRowMoved(int FromIndex, int ToIndex) { RenumberControlRows(control_moves::Moved(FromIndex, ToIndex)); }
  void ControlColMoved(int FromIndex, int ToIndex) { RenumberControlCols(control_moves::Moved(FromIndex, ToIndex)); }

  // ---- columns (real indexes)
  void InsertCols(int ColIndex, int CCount);
  // A count running past the last column is cut; a negative ColIndex is ignored.
  void RemoveCols(int ColIndex, int CCount);
  void SwapColumns(int ACol1, int ACol2);
  // Every row from FixedRows on: ColIndex1 := trimmed ColIndex1 + Separator + ColIndex2; then ColIndex2 goes.
  void MergeCols(int ColIndex1, int ColIndex2, const QString& Separator);

  // ---- clearing and trimming
  // Empties the cells of the rectangle and releases their properties and objects (with NilObjects set the
  // properties are only detached, with ClearTextOnly they stay). Areas reaching out of the rectangle are
  // split first.
  void ClearRect(int ACol1, int ARow1, int ACol2, int ARow2);
  void ClearRows(int RowIndex, int RCount);
  void ClearCols(int ColIndex, int CCount);
  void ClearNormalRows(int RowIndex, int RCount);
  void ClearNormalCols(int ColIndex, int CCount);
  void ClearNormalCells();
  void Clear();
  // Texts lose leading and trailing blanks and control characters.
  void TrimRect(int ACol1, int ARow1, int ACol2, int ARow2);
  void TrimColumn(int ACol) { TrimRect(ACol, 0, ACol, FCells.RowCount() - 1); }
  void TrimRow(int ARow) { TrimRect(0, ARow, FCells.ColCount() - 1, ARow); }
  void TrimAll() { TrimRect(0, 0, FCells.TotalColCount() - 1, FCells.RowCount() - 1); }
  bool NilObjects = false;
  bool ClearTextOnly = false;
  bool BlockCellChange = false;

  // ---- merging runs of equal cells
  void MergeColumnCells(int ColIndex, bool MainMerge);
  void MergeRowCells(int RowIndex, bool MainMerge);
  void SplitColumnCells(int ColIndex);
  void SplitRowCells(int RowIndex);
  void SplitAllCells();

  // ---- finding
  bool IsCell(const QString& SubStr, int& ACol, int& ARow) const;
  static bool IsWideCell(const QString& Text) { return Text.startsWith(QLatin1String("|\\")); }

 private:
  int Rows() const { return FCells.RowCount(); }
  int Cols() const { return FCells.TotalColCount(); }
  // Splits the areas that the boundary left of column ACol cuts.
  void SplitAcrossColBoundary(int ACol);
  // Empties the rows (IsRows) or real columns From..To of the store: texts and properties.
  void ClearKeptStore(int From, int To, bool IsRows);
  void SplitAreasLeaving(int ACol1, int ARow1, int ACol2, int ARow2);
  int RealRowAt(int ARow) const;
  std::vector<int> RealRows(int RowIndex, int RCount) const;
  static int Below(const std::vector<int>& SortedRows, int Idx);
  void RenumberHiddenForInsert(int RowIndex, int RCount);
  void RenumberHiddenForRemove(int RowIndex, int RCount);
  void RenumberControlRows(const std::function<int(int)>& NewRow);
  void RenumberControlCols(const std::function<int(int)>& NewCol);

  TCellGrid& FCells;
  TRowColHost& FHost;
};

}  // namespace grid
