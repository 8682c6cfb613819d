// The pickers' moves through their item selector: keys, wheel, typed search, and its size in the popup.
#include "dropdown/selector_steps.h"

#include <algorithm>

#include "dropdown/item_selector.h"
#include "platform/forms/extctrls.h"
#include "platform/forms/keys.h"

namespace dropdown {

using namespace plat;

void TSelectorSteps::Select(int Index, bool Scroll) {
  if (Index < 0 || Index >= S.Items()->Count()) return;
  Internal([&] {
    S.SetItemIndex(Index);
    if (Scroll) S.ScrollItemInView(S.ItemIndex());
  });
}

bool TSelectorSteps::EnterHot() {
  if (S.ItemHot() < 0) return false;
  S.SetItemIndex(S.ItemHot());
  return true;
}

bool TSelectorSteps::MoveKey(std::uint16_t Key, bool Open, int Columns, bool LeftRight) {
  const int current = S.ItemIndex();
  switch (Key) {
    case VK_PRIOR:
    case VK_NEXT: {
      const int n = S.GetVisibleItemCount();
      if (n < 1) return true;
      const int last = S.Items()->Count() - 1;
      Select(Key == VK_PRIOR ? std::max(0, current - n) : std::min(current + n, last), true);
      return true;
    }
    case VK_END:
      if (!Open) return false;
      Internal([this] { S.SelectLast(); });
      return true;
    case VK_HOME:
      if (!Open) return false;
      Internal([this] { S.SelectFirst(); });
      return true;
    case VK_LEFT:
    case VK_RIGHT:
      if (Open && LeftRight) Internal([&] { Key == VK_LEFT ? S.SelectPrevious() : S.SelectNext(); });
      return true;
    case VK_UP:
    case VK_DOWN:
      if (!Open) return false;
      Select(current < 0 ? 0 : current + (Key == VK_UP ? -Columns : Columns), true);
      return true;
    default: return false;
  }
}

void TSelectorSteps::Search(std::uint16_t Key, QString& SearchText, TTimer& Timer) {
  if (GetKeyState(VK_CONTROL) < 0) return;
  SearchText += QChar(Key);
  Internal([&] { S.LookupItem(SearchText); });
  // A timer already running is not restarted: the text ends half a second after its first key.
  if (!Timer.Enabled()) Timer.SetEnabled(true);
}

void TSelectorSteps::Wheel(bool Down, bool Open) {
  if (Open)
    Down ? S.HotNext() : S.HotPrevious();
  else
    Internal([&] { Down ? S.SelectNext() : S.SelectPrevious(); });
}

void TSelectorSteps::BeforeSizing(bool OwnWidth, bool OwnHeight) {
  S.SetAlign(alNone);
  S.SetAnchors(TAnchors{akLeft, akTop});
  TSize panel;
  S.GetSelectorPanelSize(panel);
  if (OwnWidth) S.SetWidth(panel.cx);
  if (OwnHeight) S.SetHeight(panel.cy);
}

void TSelectorSteps::AfterSizing(TControl& Popup, bool OwnWidth) {
  if (!S.ScrollBarVisible(SB_VERT)) return;
  const int bar = S.ScrollBarSize();
  Popup.SetWidth(Popup.Width() + bar);
  // The popup is sized from its control once more when the control is placed: the control grows with it.
  if (OwnWidth) S.SetWidth(S.Width() + bar);
}

}  // namespace dropdown
