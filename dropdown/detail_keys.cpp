// The detail drop-down's typing: completion from the captions, the keys at the window level (stepping and
// paging in the popup's list, incremental search) and the wheel.
#include "dropdown/detail_dropdown.h"

#include <algorithm>

#include "dropdown/paint_routines.h"
#include "platform/forms/extctrls.h"
#include "platform/forms/keys.h"

namespace dropdown {

using namespace plat;

namespace {

bool KeyHeld(int vk) { return GetKeyState(vk) < 0; }

// A completion adds at most this many characters of the caption.
constexpr int MaxCompletion = 255;

}  // namespace

// ---- completion while typing --------------------------------------------------------------------------------

void TExtDetailDropDown::HandleChange() {
  FItemChange = false;
  TExtCustomDropDown::HandleChange();
  // Backspace, Escape and Delete switch completion off until the next other key.
  if (!FWorkMode) return;
  SetModified(Text() != FOldValue);
  // A text written by code is no typing to complete.
  if (FTextFromCode) return;
  const QString text = Text();
  const int caret = std::clamp(SelStart() - static_cast<int>(Prefix().size()), 0, static_cast<int>(text.size()));
  const QString typed = text.left(caret);
  const QString key = CaseAdjusted(text, FMatchCase).left(caret);
  if (key.isEmpty()) return;
  for (int i = 0; i < FItems->Count(); ++i) {
    const QString caption = FItems->GetItem(i)->Caption();
    if (!CaseAdjusted(caption, FMatchCase).startsWith(key)) continue;
    const QString completed = typed + caption.mid(key.size()).left(MaxCompletion);
    SetText(completed);
    FItemIndex = i;
    FItemIdx = i;
    FItemSel = static_cast<int>(key.size());
    FItemChange = true;
    SetSelStart(static_cast<int>(Prefix().size()) + FItemSel);
    SetSelLength(static_cast<int>(completed.size()) - FItemSel);
    return;
  }
  // Nothing matches: the text stays as typed, also what stands after the caret (typing inside a text must not
  // cut its end away).
}

void TExtDetailDropDown::HandleKeyDown(std::uint16_t& Key, TShiftState Shift) {
  if (FItems->Count() == 0) {
    TExtCustomDropDown::HandleKeyDown(Key, Shift);
    return;
  }
  switch (Key) {
    case VK_BACK:
    case VK_ESCAPE:
    case VK_DELETE: FWorkMode = false; break;
    case VK_RETURN: {
      const int found = FItems->IndexOf(Text());
      if (found >= 0) {
        SetText(FItems->GetItem(found)->Caption());
        SetItemIndex(found);
        // The caption is the whole text now, not a prefix to complete into another caption.
        const bool saved = FTextFromCode;
        FTextFromCode = true;
        HandleChange();
        FTextFromCode = saved;
      }
      break;
    }
    default: FWorkMode = true; break;
  }
  const std::uint16_t key = Key;
  TExtCustomDropDown::HandleKeyDown(Key, Shift);
  if (key == VK_ESCAPE) {
    const int found = FItems->IndexOf(Text());
    if (found >= 0) SetItemIndex(found);
  }
}

void TExtDetailDropDown::HandleKeyUp(std::uint16_t& Key, TShiftState Shift) {
  TExtCustomDropDown::KeyUp(Key, Shift);
  if (!FItemChange) return;
  SetItemIndex(FItemIdx);
  const int start = static_cast<int>(Prefix().size()) + FItemSel;
  SetSelStart(start);
  SetSelLength(std::max(0, static_cast<int>(RawText().size()) - static_cast<int>(Suffix().size()) - start));
  FItemChange = false;
}

// ---- keys at the window level ---------------------------------------------------------------------------------

void TExtDetailDropDown::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_KEYDOWN && WindowKeyDown(static_cast<std::uint16_t>(Message.WParam))) {
    Message.WParam = 0;
    Message.Result = 1;
    return;
  }
  TExtCustomDropDown::Dispatch(Message);
}

// Selects Index in the popup's list without closing the popup; the list follows the selection.
void TExtDetailDropDown::SelectInSelector(int Index, bool Repaint) {
  FInternalCall = true;
  FItemSelector->SetItemIndex(Index);
  FItemSelector->ScrollItemInView(FItemSelector->ItemIndex());
  FInternalCall = false;
  if (Repaint) Invalidate();
}

void TExtDetailDropDown::IncrementalSearch(std::uint16_t Key) {
  FCurSearch += QChar(Key);
  FInternalCall = true;
  if (FItemSelector) FItemSelector->LookupItem(FCurSearch);
  FInternalCall = false;
  // Not restarted by the next keys: the search ends 500 ms after the first key of a burst.
  if (!FKeyTimer->Enabled()) FKeyTimer->SetEnabled(true);
}

bool TExtDetailDropDown::WindowKeyDown(std::uint16_t Key) {
  if (!Enabled() || KeyHeld(VK_MENU) || !FItemSelector) return false;
  const bool open = DroppedDown();
  const int count = FItemSelector->Items()->Count();
  const int current = FItemSelector->ItemIndex();
  auto internal = [this](auto step) {
    FInternalCall = true;
    step();
    FInternalCall = false;
  };
  switch (Key) {
    case VK_PRIOR:
    case VK_NEXT: {
      if (count != FItems->Count()) PrepareSelector();
      const int n = FItemSelector->GetVisibleItemCount();
      if (n >= 1) {
        const int last = FItemSelector->Items()->Count() - 1;
        const int at = FItemSelector->ItemIndex();
        SelectInSelector(Key == VK_PRIOR ? std::max(0, at - n) : std::min(at + n, last), false);
      }
      break;
    }
    case VK_END:
      if (open)
        internal([this] { FItemSelector->SelectLast(); });
      else if (!EditorEnabled())
        SelectLast();
      break;
    case VK_HOME:
      if (open)
        internal([this] { FItemSelector->SelectFirst(); });
      else if (!EditorEnabled())
        SelectFirst();
      break;
    case VK_LEFT:
    case VK_RIGHT:
      if (open && !EditorEnabled())
        internal([&] { Key == VK_LEFT ? FItemSelector->SelectPrevious() : FItemSelector->SelectNext(); });
      break;
    case VK_UP:
      if (!open)
        SelectPrevious();
      else if (const int to = current < 0 ? 0 : current - 1; to >= 0)
        SelectInSelector(to, true);
      break;
    case VK_DOWN:
      if (!open)
        SelectNext();
      else if (const int to = current < 0 ? 0 : current + 1; to < count)
        SelectInSelector(to, true);
      break;
    default:
      if (!KeyHeld(VK_CONTROL)) IncrementalSearch(Key);
      return false;
  }
  return open && (Key == VK_PRIOR || Key == VK_NEXT || (Key >= VK_LEFT && Key <= VK_DOWN));
}

// ---- the wheel ------------------------------------------------------------------------------------------------

void TExtDetailDropDown::WheelStep(int Delta) {
  if (!DroppedDown() || !FItemSelector) {
    Delta > 0 ? SelectNext() : SelectPrevious();
  } else {
    const int current = FItemSelector->ItemIndex();
    const int to = current < 0 ? 0 : current + Delta;
    if (to >= 0 && to < FItemSelector->Items()->Count()) SelectInSelector(to, false);
  }
  Invalidate();
}

void TExtDetailDropDown::HandleMouseWheelDown() {
  TExtCustomDropDown::HandleMouseWheelDown();
  WheelStep(1);
}

void TExtDetailDropDown::HandleMouseWheelUp() {
  TExtCustomDropDown::HandleMouseWheelUp();
  WheelStep(-1);
}

}  // namespace dropdown
