#include "grid/model/cell_controls.h"

#include <QString>

#include "platform/rtl/exceptions.h"

namespace grid {

void TControlPlaces::Check(int i) const {
  if (i < 0 || i >= Count()) throw plat::EListError(QStringLiteral("List index out of bounds (%1)").arg(i));
}

void TControlPlaces::AddControl(int X, int Y, plat::TControl* AObject) {
  FItems.push_back(std::make_unique<TControlItem>(X, Y, AObject));
}

int TControlPlaces::ControlIndex(int X, int Y) const {
  for (int i = 0; i < Count(); ++i)
    if (FItems[i]->X == X && FItems[i]->Y == Y) return i;
  return -1;
}

TControlItem* TControlPlaces::GetControl(int i) const {
  Check(i);
  return FItems[i].get();
}

void TControlPlaces::RemoveControl(int i) {
  Check(i);
  FItems.erase(FItems.begin() + i);
}

std::vector<plat::TControl*> TControlPlaces::Renumber(int TControlItem::*Field,
                                                      const std::function<int(int)>& NewIndex) {
  std::vector<plat::TControl*> dropped;
  std::size_t w = 0;
  for (std::size_t i = 0; i < FItems.size(); ++i) {
    const int to = NewIndex((*FItems[i]).*Field);
    if (to < 0) {
      dropped.push_back(FItems[i]->Control);
      continue;
    }
    (*FItems[i]).*Field = to;
    if (w != i) FItems[w] = std::move(FItems[i]);
    ++w;
  }
  FItems.resize(w);
  return dropped;
}

std::vector<plat::TControl*> TControlPlaces::RenumberRows(const std::function<int(int)>& NewIndex) {
  return Renumber(&TControlItem::Y, NewIndex);
}

std::vector<plat::TControl*> TControlPlaces::RenumberCols(const std::function<int(int)>& NewIndex) {
  return Renumber(&TControlItem::X, NewIndex);
}

namespace control_moves {

std::function<int(int)> Moved(int From, int To) {
  return [From, To](int i) {
    if (i == From) return To;
    if (From < To && i > From && i <= To) return i - 1;
    if (To < From && i >= To && i < From) return i + 1;
    return i;
  };
}

std::function<int(int)> Swapped(int A, int B) {
  return [A, B](int i) { return i == A ? B : i == B ? A : i; };
}

}  // namespace control_moves

}  // namespace grid
