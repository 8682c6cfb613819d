#pragma once
// The selection model of the string grid beside the platform's rectangle: disjunct row, column and cell
// selection, selection counts and lists, and the modified and enabled flags of rows.
//
// Disjunct cells are kept as (column, row) pairs, so grids past 65,535 rows or columns select the right cells.

#include <QString>

#include <functional>
#include <utility>
#include <vector>

#include "grid/basegrid.h"
#include "grid/hiding.h"
#include "grid/model/intlist.h"
#include "grid/model/options.h"

namespace grid {

using TRowDisjunctSelectEvent = std::function<void(plat::TObject* Sender, int ARow, bool AState, bool& Allow)>;
using TRowDisjunctSelectedEvent = std::function<void(plat::TObject* Sender, int ARow)>;

class TGridSelection {
 public:
  TGridSelection(TBaseGrid& Grid, TGridHiding& Hiding, TMouseActions& MouseActions)
      : FGrid(Grid), FHiding(Hiding), FMouse(MouseActions) {}

  // ---- disjunct rows and columns
  bool GetRowSelect(int ARow);
  void SetRowSelect(int ARow, bool Value);
  void SelectRows(int RowIndex, int RCount);
  void UnSelectRows(int RowIndex, int RCount);
  bool GetColSelect(int ACol);
  void SetColSelect(int ACol, bool Value);
  void SelectCols(int ColIndex, int CCount);
  void UnSelectCols(int ColIndex, int CCount);
  void SelectRange(int FromCol, int ToCol, int FromRow, int ToRow);
  void ClearRowSelect();
  void ClearColSelect();
  void SelectionToRowSelect(bool All);
  void SelectionToColSelect(bool All);
  int RowSelectCount() const;
  int ColSelectCount() const;
  int SelectedRowCount() const;
  int SelectedColCount() const;
  int SelectedRow(int i) const;

  // ---- disjunct cells
  bool GetSelectedCells(int i, int j) const;
  void SetSelectedCells(int i, int j, bool Value);
  int SelectedCellsCount();
  plat::TPoint SelectedCell(int i) const;
  void ClearSelectedCells();

  // ---- hiding the selection and hiding rows by their selection
  // Saves the selection and moves it outside the grid, so that nothing shows selected.
  void HideSelection();
  // Restores the saved selection when it still lies in the grid, else selects the first normal cell (row 0 /
  // column 0 when FixedRowAlways / FixedColAlways and every row / column is fixed).
  void UnHideSelection();
  bool SelectionHidden() const { return FSelHidden; }
  // Hides, by real index, the rows whose disjunct selection flag is set (clear), walking the display rows.
  void HideSelectedRows();
  void HideUnSelectedRows();
  bool FixedRowAlways = false;
  bool FixedColAlways = false;

  // ---- modified and enabled rows
  bool GetRowModified(int ARow) const;
  void SetRowModified(int ARow, bool Value);
  int ModifiedRowCount() const;
  void ClearModifiedRows();
  bool GetRowEnabled(int ARow) const;
  void SetRowEnabled(int ARow, bool Value);
  bool UseEnabledRows() const { return FUseEnabledRows; }

  // ---- following structural operations
  // The row flags (disjunct selection, modified, disabled), the selected-row list and the disjunct cells
  // follow rows inserted, removed or moved in front of them, so no flag is left on a row that took another's
  // place; column flags and cells follow their columns. Swapped rows keep their flags where they are (the
  // sort's own swapping decides for itself).
  void RowsInserted(int ARow, int Count);
  void RowsRemoved(int ARow, int Count);
  // The Count rows from FromIndex now start at ToIndex.
  void RowsMoved(int FromIndex, int Count, int ToIndex);
  void ColsInserted(int ACol, int Count);
  void ColsRemoved(int ACol, int Count);

  TRowDisjunctSelectEvent OnRowDisjunctSelect;
  TRowDisjunctSelectedEvent OnRowDisjunctSelected;
  // Footer rows at the bottom that the selection never reaches (the grid object answers).
  std::function<int()> FixedFooters;
  // Repaints the row indicator in column 0 after SelectRows (set when the grid has an indicator bitmap).
  std::function<void()> RepaintIndicator;

 private:
  int TotalRows() const { return FGrid.RowCount() + FHiding.NumHiddenRows(); }
  int LastNormalRow() const { return FGrid.RowCount() - 1 - (FixedFooters ? FixedFooters() : 0); }
  int SelectionRowIndex(int ARow) const { return FMouse.RowSelectPersistent ? FHiding.DisplToRealRow(ARow) : ARow; }
  void RepaintRow(int ARow);
  void RepaintCol(int ACol);
  // Maps every index of the selected-row list and of the disjunct cells' rows or columns through NewIdx;
  // an index mapped below 0 is dropped.
  void RemapSelectedRows(const std::function<int(int)>& NewIdx);
  void RemapSelectedCells(bool Rows, const std::function<int(int)>& NewIdx);

  TBaseGrid& FGrid;
  TGridHiding& FHiding;
  TMouseActions& FMouse;
  std::vector<bool> FRowSelect;
  std::vector<bool> FColSelect;
  TIntList FSelectedRows{-1, -1};
  std::vector<std::pair<int, int>> FSelectedCells;
  std::vector<bool> FModifiedRows;
  std::vector<bool> FDisabledRows;
  bool FUseEnabledRows = false;
  plat::TGridRect FOldSelection;
  bool FSelHidden = false;
};

}  // namespace grid
