#pragma once
// Where the controls attached to cells sit: one item per control, by real column and real row, so a control
// on a hidden row keeps its place until the row is shown again. The items follow the rows and columns of the
// grid's row and column operations through RenumberRows and RenumberCols; the controls themselves are only
// referred to (the form owns them) and are never touched here.

#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/object.h"

namespace plat {
class TControl;
}

namespace grid {

class TControlItem : public plat::TObject {
  PLAT_CLASS(TControlItem)

  TControlItem(int AX, int AY, plat::TControl* AControl) : X(AX), Y(AY), Control(AControl) {}
  int X, Y;                 // the cell's real column and real row
  plat::TControl* Control;  // not owned
};

// Controls placed on cells; owns its items, not the controls.
class TControlPlaces : public plat::TObject {
  PLAT_CLASS(TControlPlaces)

  int Count() const { return static_cast<int>(FItems.size()); }
  void AddControl(int X, int Y, plat::TControl* AObject);
  // The first item of the cell, -1 when none.
  int ControlIndex(int X, int Y) const;
  // Index errors raise EListError.
  TControlItem* GetControl(int i) const;
  void RemoveControl(int i);

  // Each item's row (column) becomes NewIndex of it; an item whose index maps to -1 is dropped, and its
  // control is returned for the grid to hide. Items are kept in their order.
  std::vector<plat::TControl*> RenumberRows(const std::function<int(int)>& NewIndex);
  std::vector<plat::TControl*> RenumberCols(const std::function<int(int)>& NewIndex);

 private:
  void Check(int i) const;
  std::vector<plat::TControl*> Renumber(int TControlItem::*Field, const std::function<int(int)>& NewIndex);
  std::vector<std::unique_ptr<TControlItem>> FItems;
};

// Index maps of the common moves, for RenumberRows and RenumberCols.
namespace control_moves {
// The item at From goes to To; the items between move one place towards From.
std::function<int(int)> Moved(int From, int To);
std::function<int(int)> Swapped(int A, int B);
}  // namespace control_moves

}  // namespace grid
