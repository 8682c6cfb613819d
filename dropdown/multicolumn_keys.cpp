// The multi-column drop-down's typing: completion while typing in the edit, the edit's keys (stepping through
// the items without the popup), the keys of the open popup and the lookup typed into it, and the wheel.
#include "dropdown/multicolumn.h"

#include <algorithm>

#include "dropdown/multicolumn_grid.h"
#include "dropdown/paint_routines.h"
#include "platform/forms/keys.h"
#include "platform/forms/messages.h"

namespace dropdown::multicolumn {

using namespace plat;

namespace {

bool KeyHeld(int vk) { return GetKeyState(vk) < 0; }

// A completion adds at most this many characters of the item's text.
constexpr int MaxCompletion = 255;

bool GridKey(std::uint16_t Key) { return Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN; }

}  // namespace

// ---- completion while typing --------------------------------------------------------------------------------

void TExtMultiColumnDropDown::HandleChange() {
  FItemChange = false;
  TExtCustomDropDown::HandleChange();
  if (!FWorkMode || FTextFromCode) return;
  const QString text = Text();
  const bool modified = text != FOldValue;
  SetModified(modified);
  const int prefix = static_cast<int>(Prefix().size());
  const int caret = std::clamp(SelStart() - prefix, 0, static_cast<int>(text.size()));
  const QString typed = text.left(caret);
  if (typed.isEmpty()) return;
  // The first entry in list order that starts with the typed part (upper case unless MatchCase).
  const int i =
      FMatchCase ? FExactIndex.Find(FLookupItems, typed) : FFoldedIndex.Find(FLookupFolded, typed.toUpper());
  if (i >= 0) {
    const QString completed = typed + FLookupItems[i].mid(typed.size()).left(MaxCompletion);
    WriteText(completed);
    FItemIndex = i;
    SetSelStart(prefix + static_cast<int>(typed.size()));
    SetSelLength(static_cast<int>(completed.size() - typed.size()));
    FItemIdx = i;
    FItemSel = static_cast<int>(typed.size());
    FItemChange = true;
    SetModified(modified);
    return;
  }
  // No item continues what was typed: what stood right of the caret goes.
  WriteText(typed);
  SetSelStart(prefix + static_cast<int>(typed.size()));
  SetSelLength(0);
  SetModified(modified);
}

void TExtMultiColumnDropDown::HandleKeyUp(std::uint16_t& Key, TShiftState Shift) {
  if (!(Key == VK_RETURN && ReturnIsTab())) TExtCustomDropDown::KeyUp(Key, Shift);
  if (!FItemChange) return;
  SetItemIndex(FItemIdx);
  const int start = static_cast<int>(Prefix().size()) + FItemSel;
  SetSelStart(start);
  SetSelLength(std::max(0, static_cast<int>(Text().size()) - FItemSel));
  SetModified(Text() != FOldValue);
  FItemChange = false;
}

// ---- the edit's keys ------------------------------------------------------------------------------------------

// Enter on a text that names an item (in any letter case) takes that item's own text and the item.
void TExtMultiColumnDropDown::HandleKeyDown(std::uint16_t& Key, TShiftState Shift) {
  if (FLookupColumn < 0 || FItems->Count() == 0) {
    TExtCustomDropDown::HandleKeyDown(Key, Shift);
    return;
  }
  if (Key == VK_BACK || Key == VK_ESCAPE || Key == VK_DELETE)
    FWorkMode = false;
  else if (Key != VK_RETURN)
    FWorkMode = true;
  const std::uint16_t key = Key;
  TExtCustomDropDown::HandleKeyDown(Key, Shift);
  if (key == VK_ESCAPE) {
    const QString folded = Text().toUpper();
    SetItemIndex(static_cast<int>(FLookupFolded.indexOf(folded)));
  }
}

void TExtMultiColumnDropDown::HandleKeyPress(char16_t& Key) {
  if (Key == u'\r' && ReturnIsTab()) {
    Key = 0;
    return;
  }
  TExtCustomDropDown::HandleKeyPress(Key);
}

void TExtMultiColumnDropDown::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_ENTER) FOldValue = Text();
  if (Message.Msg != WM_KEYDOWN) {
    TExtCustomDropDown::Dispatch(Message);
    return;
  }
  const auto key = static_cast<std::uint16_t>(Message.WParam);
  if (key == VK_RETURN && FLookupColumn >= 0 && FItems->Count() > 0) {
    const int found = static_cast<int>(FLookupFolded.indexOf(Text().toUpper()));
    if (found >= 0) {
      SetItemIndex(found);
      // The item's text is whole now: the change runs as for typing, but completes nothing.
      const bool saved = FTextFromCode;
      FTextFromCode = true;
      HandleChange();
      FTextFromCode = saved;
      SetModified(Text() != FOldValue);
    }
  }
  TExtCustomDropDown::Dispatch(Message);
  WindowKeyDown(key);
}

// Stepping through the items from the edit, open or closed.
void TExtMultiColumnDropDown::WindowKeyDown(std::uint16_t Key) {
  if (!Enabled() || KeyHeld(VK_MENU)) return;
  switch (Key) {
    case VK_PRIOR: SelectPreviousPage(); break;
    case VK_NEXT: SelectNextPage(); break;
    case VK_END:
      if (!EditorEnabled()) SelectLast();
      break;
    case VK_HOME:
      if (!EditorEnabled()) SelectFirst();
      break;
    case VK_UP: SelectPrevious(); break;
    case VK_DOWN: SelectNext(); break;
    default: break;
  }
}

void TExtMultiColumnDropDown::HandleMouseWheelDown() {
  TExtCustomDropDown::HandleMouseWheelDown();
  SelectNext();
}

void TExtMultiColumnDropDown::HandleMouseWheelUp() {
  TExtCustomDropDown::HandleMouseWheelUp();
  SelectPrevious();
}

// ---- the open popup's keys --------------------------------------------------------------------------------

void TExtMultiColumnDropDown::ControlKeyDown(std::uint16_t& Key, TShiftState Shift) {
  if (GridKey(Key) && !Shift.Contains(ssAlt)) return;
  TExtCustomDropDown::ControlKeyDown(Key, Shift);
}

void TExtMultiColumnDropDown::ControlKeyUp(std::uint16_t& Key, TShiftState Shift) {
  if (GridKey(Key) && !Shift.Contains(ssAlt)) return;
  TExtCustomDropDown::ControlKeyUp(Key, Shift);
}

void TExtMultiColumnDropDown::ControlKeyPress(char16_t& Key) {
  if (Key == u'\r' || Key == 27) {
    FLookupEntry.clear();
    return;
  }
  LookupKey(Key);
}

bool TExtMultiColumnDropDown::LookupMatch(const QString& Value, QString& Found, int& Index) const {
  const QString key = FCaseSensitive ? Value : Value.toUpper();
  QString s;
  for (int i = 0; i < FItems->Count(); ++i) {
    if (!FItems->GetItem(i)->ColumnText(FLookupColumn, s)) continue;
    if ((FCaseSensitive ? s : s.toUpper()).startsWith(key)) {
      Found = s;
      Index = i;
      return true;
    }
  }
  Index = -1;
  return false;
}

void TExtMultiColumnDropDown::LookupKey(char16_t Key) {
  const int prefix = static_cast<int>(Prefix().size());
  if (Key == u'\b') {
    if (SelLength() == 0) {
      FLookupEntry.chop(1);
      WriteText(FLookupEntry);
    } else {
      QString raw = RawText();
      raw.remove(SelStart(), SelLength());
      WriteText(raw.mid(prefix));
    }
    SetSelStart(static_cast<int>(RawText().size()));
    return;
  }
  if (Key != u'\t') FLookupEntry += QChar(Key);
  QString found;
  int index = -1;
  if (LookupMatch(FLookupEntry, found, index)) {
    FItemIndex = index;
    WriteText(found);
    SetSelStart(prefix + static_cast<int>(FLookupEntry.size()));
    SetSelLength(std::max(0, static_cast<int>(found.size() - FLookupEntry.size())));
  } else if (LookupMatch(QString(QChar(Key)), found, index)) {
    FItemIndex = index;
    FLookupEntry = QString(QChar(Key));
    WriteText(found);
  } else {
    FLookupEntry.clear();
    return;
  }
  ShowRow(index + 1);
}

// Makes an item row the grid's current row without the choice following it again (the text is set).
void TExtMultiColumnDropDown::ShowRow(int Row) {
  if (!FGrid || Row >= FGrid->RowCount()) return;
  if (FGrid->TopRow() + FGrid->VisibleRowCount() < Row || Row < FGrid->TopRow()) FGrid->SetTopRow(Row);
  const bool saved = FShowing;
  FShowing = true;
  FGrid->SetRow(Row);
  FGrid->SetCol(0);
  FShowing = saved;
}

}  // namespace dropdown::multicolumn
