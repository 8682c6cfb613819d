#pragma once
// TSelectorSteps: what the pickers whose popup is an item selector share: the keys and the wheel that move
// through the selector, the search typed over its captions, and the selector's place in the popup as the popup
// takes its size. Selections made here are marked internal (the picker's flag is set meanwhile), so the picker
// tells them from the user's clicks, which close the popup.

#include <QString>

#include <cstdint>

namespace plat {
class TControl;
class TTimer;
}  // namespace plat

namespace dropdown {

class TExtCustomItemSelector;

class TSelectorSteps {
 public:
  TSelectorSteps(TExtCustomItemSelector& Selector, bool& InternalCall) : S(Selector), FInternal(InternalCall) {}

  // Runs Step with the internal flag set; the flag's earlier value comes back after.
  template <class TStep>
  void Internal(TStep Step) {
    const bool outer = FInternal;
    FInternal = true;
    Step();
    FInternal = outer;
  }
  // Selects an item (when the index is one), scrolled into view with Scroll.
  void Select(int Index, bool Scroll);
  // Enter on the hot item of the open popup chooses it; false without a hot item.
  bool EnterHot();
  // The moving keys: Page Up and Page Down by the items in view (open or closed); in the open popup Home and End,
  // Up and Down by a row of Columns, and Left and Right (with LeftRight) by one item. False for a key it leaves
  // to the picker (Home, End, Up and Down of the closed popup, and every other key); Left and Right are always
  // taken.
  bool MoveKey(std::uint16_t Key, bool Open, int Columns, bool LeftRight);
  // A typed key (not with Ctrl) adds to the search text and selects the first caption that starts with it; the
  // timer, started by the first key and not restarted, ends the search.
  void Search(std::uint16_t Key, QString& SearchText, plat::TTimer& Timer);
  // The wheel: the hot item in the open popup, the selection in the closed one.
  void Wheel(bool Down, bool Open);

  // Before the popup takes its size: the selector is sized by hand, anchored top left (filling the popup would
  // stretch it as the popup grows), with the panel's own size where the drop-down sets none.
  void BeforeSizing(bool OwnWidth, bool OwnHeight);
  // After: a shown vertical scroll bar widens the popup, and the selector when its width is its own.
  void AfterSizing(plat::TControl& Popup, bool OwnWidth);

 private:
  TExtCustomItemSelector& S;
  bool& FInternal;
};

}  // namespace dropdown
