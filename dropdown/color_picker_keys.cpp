// The colour picker's keys and mouse wheel: moving through the named colours or the palette with the popup
// open or closed, Enter on the hot item, and type-ahead on the colour names.
#include <algorithm>

#include "dropdown/color_picker.h"
#include "dropdown/color_selector.h"
#include "dropdown/selector_steps.h"
#include "platform/forms/extctrls.h"
#include "platform/forms/keys.h"

namespace dropdown {

using namespace plat;

namespace {

bool KeyHeld(int vk) { return GetKeyState(vk) < 0; }

}  // namespace

template <class TStep>
void TExtColorPickerDropDown::Internal(TStep Step) {
  const bool outer = FInternalCall;
  FInternalCall = true;
  Step();
  FInternalCall = outer;
}

TSelectorSteps TExtColorPickerDropDown::Steps() { return TSelectorSteps(*FItemSelector, FInternalCall); }

// Enter on the hot item of the open popup chooses it (and closes the popup).
bool TExtColorPickerDropDown::EnterOnHotItem(std::uint16_t Key) {
  if (!Enabled() || !DroppedDown() || Key != VK_RETURN) return false;
  if (FColorSelectionStyle == csList && FItemSelector) return Steps().EnterHot();
  if (FColorSelectionStyle == csDiscrete && FColorSelector && FColorSelector->ItemHot() >= 0) {
    FColorSelector->SetItemIndex(FColorSelector->ItemHot());
    return true;
  }
  return false;
}

void TExtColorPickerDropDown::Dispatch(TMessage& Message) {
  if (Message.Msg != WM_KEYDOWN) {
    TExtCustomDropDown::Dispatch(Message);
    return;
  }
  const auto key = static_cast<std::uint16_t>(Message.WParam);
  const bool entered = EnterOnHotItem(key);
  TExtCustomDropDown::Dispatch(Message);
  if (!Enabled() || KeyHeld(VK_MENU)) return;
  if (FColorSelectionStyle != csList && FColorSelectionStyle != csDiscrete) return;
  if (key == VK_RETURN) {
    if (!entered && OnSelect) OnSelect(this);
    return;
  }
  if (FColorSelectionStyle == csList && FItemSelector) ListKeyDown(key);
  if (FColorSelectionStyle == csDiscrete && FColorSelector) DiscreteKeyDown(key);
}

void TExtColorPickerDropDown::ListKeyDown(std::uint16_t Key) {
  // The list is filled when the popup opens: keys on a closed picker may come before that.
  if (FItemSelector->Items()->Count() != FColors->Count()) PrepareList();
  TSelectorSteps steps = Steps();
  if (steps.MoveKey(Key, DroppedDown(), FColumns, !EditorEnabled())) return;
  switch (Key) {
    case VK_END:
      if (FColors->Count() > 0) SetItemIndex(FColors->Count() - 1);
      break;
    case VK_HOME: SetItemIndex(0); break;
    case VK_UP:
      if (FItemIndex < 0)
        SetItemIndex(0);
      else if (FItemIndex > 0)
        SetItemIndex(FItemIndex - 1);
      break;
    case VK_DOWN:
      if (FItemIndex < 0)
        SetItemIndex(0);
      else if (FItemIndex + 1 < FColors->Count())
        SetItemIndex(FItemIndex + 1);
      break;
    default: steps.Search(Key, FCurSearch, *FKeyTimer); break;
  }
}

void TExtColorPickerDropDown::DiscreteKeyDown(std::uint16_t Key) {
  const bool open = DroppedDown();
  TCustomColorSelector& boxes = *FColorSelector;
  const int count = boxes.Items()->Count();
  const int current = boxes.ItemIndex();
  // Up and Down move by a row of the palette.
  auto moveTo = [&](int to) {
    if (to >= 0 && to < count) boxes.SetItemIndex(to);
  };
  Internal([&] {
    switch (Key) {
      case VK_PRIOR:
      case VK_HOME: boxes.SelectFirst(); break;
      case VK_NEXT:
      case VK_END: boxes.SelectLast(); break;
      case VK_LEFT:
        if (open || !EditorEnabled()) boxes.SelectPrevious();
        break;
      case VK_RIGHT:
        if (open || !EditorEnabled()) boxes.SelectNext();
        break;
      case VK_UP:
        if (!open)
          boxes.SelectPrevious();
        else
          moveTo(current < 0 ? 0 : current - boxes.Columns());
        break;
      case VK_DOWN:
        if (!open)
          boxes.SelectNext();
        else
          moveTo(current < 0 ? 0 : current + boxes.Columns());
        break;
      default: break;
    }
  });
}

void TExtColorPickerDropDown::HandleMouseWheelDown() {
  TExtCustomDropDown::HandleMouseWheelDown();
  if (!Enabled() || ReadOnly()) return;
  if (FColorSelectionStyle == csList && FItemSelector) {
    if (!DroppedDown() && FItemSelector->Items()->Count() != FColors->Count()) PrepareList();
    Steps().Wheel(true, DroppedDown());
  } else if (FColorSelectionStyle == csDiscrete && FColorSelector) {
    if (DroppedDown())
      FColorSelector->HotNext();
    else
      Internal([this] { FColorSelector->SelectNext(); });
  }
}

void TExtColorPickerDropDown::HandleMouseWheelUp() {
  TExtCustomDropDown::HandleMouseWheelUp();
  if (!Enabled() || ReadOnly()) return;
  if (FColorSelectionStyle == csList && FItemSelector) {
    if (!DroppedDown() && FItemSelector->Items()->Count() != FColors->Count()) PrepareList();
    Steps().Wheel(false, DroppedDown());
  } else if (FColorSelectionStyle == csDiscrete && FColorSelector) {
    if (DroppedDown())
      FColorSelector->HotPrevious();
    else
      Internal([this] { FColorSelector->SelectPrevious(); });
  }
}

}  // namespace dropdown
