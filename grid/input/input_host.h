#pragma once
// What the keyboard, mouse, scrolling and header-click handlers may do to the string grid beyond its public
// members: the platform's editor switch and grid state, the cell moves that skip the select-cell rules, and
// the grid's own handlers they call back. The grid implements it and hands it to each handler it owns.

#include <cstdint>

#include "platform/grids/grids.h"

namespace grid {

class TInputHost {
 public:
  // The platform editor of the current cell.
  virtual void HideEditor() = 0;
  virtual void ShowEditor() = 0;
  virtual void ShowEditorChar(char16_t Ch) = 0;
  virtual bool HasNodes() = 0;
  virtual bool IsLoading() const = 0;
  virtual bool IsDesigning() const = 0;
  // The grid's select-cell rules (false: the cell may not become current).
  virtual bool HandleSelectCell(int ACol, int ARow) = 0;
  virtual void Click() = 0;
  virtual void DoExit() = 0;
  // The current cell onto the base cell of the merged area it lies in.
  virtual void MoveToBaseCell() = 0;
  virtual void SetGridState(plat::TGridState State) = 0;
  // A block selected at once: its anchor and the current cell, without select-cell checks or scrolling.
  virtual void SetAnchorAndCurrent(plat::TGridCoord Anchor, plat::TGridCoord Current) = 0;
  // The base grid's key-up handling alone (the grid's own follows in the keyboard handler).
  virtual void BaseKeyUp(std::uint16_t& Key, plat::TShiftState Shift) = 0;
  // While on, the select-cell rules let fixed and refused cells become current (moves the grid itself makes).
  virtual void SetForceSelect(bool Value) = 0;
  // Scrolls so that the row is not under the search panel; true when the panel is shown.
  virtual bool KeepsSearchPanelClear(int ARow) = 0;

 protected:
  ~TInputHost() = default;
};

}  // namespace grid
