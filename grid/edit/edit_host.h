#pragma once
// What the editor manager, the cell entry and the in-place editor may do to the string grid beyond its public
// members: the platform editor switch, the base grid's moves that skip the grid's own rules, the handlers
// they call back, and the few flags of the focus handling. The grid implements it and hands it to each
// editing collaborator it owns.

#include <QString>

#include <cstdint>

#include "platform/grids/grids.h"

namespace grid {

class ITExtStringGridSelect;

class TEditHost {
 public:
  // The platform editor of the current cell.
  virtual void HideEditor() = 0;
  virtual void ShowEditor() = 0;
  virtual bool HasNodes() = 0;
  virtual bool IsLoading() const = 0;
  virtual bool IsDesigning() const = 0;
  // The grid's select-cell rules (false: the cell may not become current), and the base grid's alone.
  virtual bool HandleSelectCell(int ACol, int ARow) = 0;
  virtual bool BaseSelectCell(int ACol, int ARow) = 0;
  // The base grid's Row and TopRow writers, without the grid's row-update handling.
  virtual void BaseSetRow(int Value) = 0;
  virtual void BaseSetTopRow(int Value) = 0;
  virtual void HandleSetEditText(int ACol, int ARow, const QString& Value) = 0;
  virtual void HandleKeyDown(std::uint16_t& Key, plat::TShiftState Shift) = 0;
  // While on, the select-cell rules let fixed and refused cells become current (moves the grid itself makes).
  virtual void SetForceSelect(bool Value) = 0;
  // The text of the current cell as it was entered, put back after a refused validation.
  virtual void SetCellCache(const QString& Text) = 0;
  // While on, the focus coming back from an editor is not taken as entering the grid.
  virtual void SetBlockFocus(bool Value) = 0;
  virtual bool InDestroy() const = 0;
  // The one listener told when the current cell moves (null when none).
  virtual ITExtStringGridSelect* SelListener() const = 0;

 protected:
  ~TEditHost() = default;
};

}  // namespace grid
