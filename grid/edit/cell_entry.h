#pragma once
// What happens when the current cell of the string grid moves: the select-cell rule (whether the move is
// allowed, and whether editing is switched on or off for the target cell), the Row and TopRow writers with
// their row-update event, synchronised grid and search panel, and the editing entry points that go with
// them (EditCell, UpdateEditMode, the current edit text).
//
// Columns passed to the select-cell rule are display columns; the editing checks take the real column.

#include <QString>

#include "platform/grids/grids.h"

namespace grid {

class TExtStringGrid;
class TEditHost;

class TCellEntry {
 public:
  TCellEntry(TExtStringGrid& Grid, TEditHost& Host) : FGrid(Grid), FHost(Host) {}

  // The select-cell rule; true allows the move to (ACol, ARow).
  bool SelectCell(int ACol, int ARow);
  void SetRow(int Value);
  void SetTopRow(int Value);
  void UpdateEditMode();
  // Focuses the grid, moves to the cell and opens the editor.
  void EditCell(int ACol, int ARow);
  QString GetCurrentEditText();
  void SetCurrentEditText(const QString& Value);

  // Set while the grid moves the current cell itself: the rule then only repaints the row indicator.
  bool ForceSelect = false;
  // Text of the current cell when it was entered (put back after a refused validation) and of the target.
  QString CellCache;
  QString EditText;
  // Height of the search panel while it is shown.
  static constexpr int SearchPanelHeight = 32;
  // While the search panel covers the bottom of the client, the row scrolls up into view (false while the
  // panel is hidden).
  bool KeepsSearchPanelClear(int ARow);
  void ScrollAboveSearchPanel();

 private:
  // Returns the cache candidate after the switch.
  QString SwitchEditing(int R, int ARow, QString Candidate);
  void SwitchOptions(plat::TGridOptions Options);
  bool Decide(int ACol, int ARow);
  void AfterMove(int ACol, int ARow, int OldLeft, int OldTop, int OldRow);
  void RepaintIndicator(int OldRow, int NewRow);
  bool EditOpen() const;
  bool TextEditorFocused() const;
  void CloseEdit();
  void FireRowUpdate(int NewRow);

  TExtStringGrid& FGrid;
  TEditHost& FHost;
  // The row the last row-update event reported.
  int FOldRowSel = -1;
};

}  // namespace grid
