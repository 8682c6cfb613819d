#pragma once
// The string grid's keyboard: the key-down step list that runs before the base grid's cell movement, the
// steps after it (row moving, wrapping, disabled rows, the synchronised grid), key-up and key-press handling,
// typed characters, and the cell advance on Tab and Enter with the row append at the end of the table.
//
// Indexes are display columns and display rows unless a name says real.

#include <QString>

#include <cstdint>

#include "platform/forms/messages.h"
#include "platform/grids/grids.h"

namespace grid {

class TExtStringGrid;
class TInputHost;

class TGridKeys {
 public:
  TGridKeys(TExtStringGrid& Grid, TInputHost& Host) : FGrid(Grid), FHost(Host) {}

  // WM_KEYDOWN. Standard runs the framework's key-down handling (key preview, OnKeyDown, the base grid's
  // movement and the grid's after-movement steps).
  void KeyDownMessage(plat::TMessage& M);
  // Runs before and after the base grid's movement of one key.
  void BeforeBaseKeyDown() { LastKeyCell = {FGridCol(), FGridRow()}; }
  void AfterBaseKeyDown(std::uint16_t Key, plat::TShiftState Shift);
  // Returns false when the framework's key-up handling must not run (never: it always runs).
  void KeyUp(std::uint16_t& Key, plat::TShiftState Shift);
  // Returns true when the framework's key-press handling must run.
  bool KeyPress(char16_t& Key);
  void CharMessage(plat::TMessage& M);
  plat::LRESULT DlgCode(plat::LRESULT Base) const;
  // One tick of the grid timer: the incremental search text expires after four ticks.
  void SearchTick();

  // ---- cell advance
  bool TabToNextCell(bool Backward);
  void AdvanceToNextCell(int ACol, int ARow, bool EditMode, bool Recursive, bool Forward, bool AutoEdit, bool Force);
  void AutoAddRow();
  bool IsLastNormalRow() const;
  int FirstNavigableCol() const;
  int VisibleFixedRightCols() const;
  bool CanTabToCell(int ACol, int ARow);
  int FirstTabColumn(int ARow);
  int LastTabColumn(int ARow);
  // Whether the cell (display column) can be edited now: editing on (or switched off for this cell only)
  // and the cell's own check.
  bool IsEditable(int ACol, int ARow);
  bool EditingOn() const;

  plat::TGridRect MoveSelection;
  plat::TPoint LastKeyCell;
  char16_t StartEditChar = 0;
  QString SearchInc;
  int SearchTics = 0;
  int LastTabCol = -1, LastTabRow = -1;
  int AECol = -1, AERow = -1;

 private:
  int FGridCol() const;
  int FGridRow() const;
  // Fires OnKeyDown with a copy of the key.
  void FireKeyDown(std::uint16_t Key, plat::TShiftState Shift);
  void Standard(plat::TMessage& M);
  bool MoveScrollOnly(std::uint16_t Key);
  bool ControlCellKey(std::uint16_t Key);
  bool HomeEnd(std::uint16_t Key, plat::TShiftState Shift, int OldLeft);
  void RowSelectAfterHomeEnd(int OldRow, int NewRow, plat::TShiftState Shift);
  bool ColumnScrollInRowSelect(std::uint16_t Key, plat::TShiftState Shift);
  bool SkipFixedCells(std::uint16_t& Key, plat::TShiftState Shift);
  void AfterStandard(std::uint16_t Key, plat::TShiftState Shift);
  void ClipboardKey(std::uint16_t Key, plat::TShiftState Shift);
  void InsertRow();
  void SelectAll();
  void DeleteRow();
  void NotifySelectionChanged();
  void DisjunctCellKeyUp(std::uint16_t Key, plat::TShiftState Shift, const plat::TGridRect& S0);
  bool IsHTMLControlCell(int ACol, int ARow);
  // Tab moves, one run.
  bool TabOnce(bool Backward, bool& Moved);
  bool TabForwardLeftRight(bool& Handover);
  void TabBackwardLeftRight();
  bool EndOfGridHandover();
  void AdvanceTarget(int& ACol, int& ARow, bool Forward, bool& Stop);
  void AdvanceEdit(int StartCol, int StartRow, bool AutoEdit);

  TExtStringGrid& FGrid;
  TInputHost& FHost;
  bool FInTab = false;
};

}  // namespace grid
