// The multi-column drop-down's typing: Enter and the stepping keys in the edit, the keys of the open popup and
// the lookup typed into it.
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

bool GridKey(std::uint16_t Key) { return Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN; }

}  // namespace

// ---- the edit's keys ------------------------------------------------------------------------------------------

// Enter on a text that names an item (in any letter case) takes that item's own text and the item.
void TExtMultiColumnDropDown::Dispatch(TMessage& Message) {
  if (Message.Msg != WM_KEYDOWN) {
    TExtLookupDropDown::Dispatch(Message);
    return;
  }
  const auto key = static_cast<std::uint16_t>(Message.WParam);
  const int found = key == VK_RETURN ? TextItemIndex() : -1;
  if (found >= 0) {
    SetItemIndex(found);
    // The item's text is whole now: the change runs as for typing, but completes nothing.
    const bool saved = FTextFromCode;
    FTextFromCode = true;
    HandleChange();
    FTextFromCode = saved;
    SetModified(Text() != FOldValue);
  }
  TExtLookupDropDown::Dispatch(Message);
  // Stepping through the items from the edit, open or closed.
  if (Enabled() && !KeyHeld(VK_MENU)) StepByKey(key, !EditorEnabled());
}

// ---- the open popup's keys --------------------------------------------------------------------------------

void TExtMultiColumnDropDown::ControlKeyDown(std::uint16_t& Key, TShiftState Shift) {
  if (GridKey(Key) && !Shift.Contains(ssAlt)) return;
  TExtLookupDropDown::ControlKeyDown(Key, Shift);
}

void TExtMultiColumnDropDown::ControlKeyUp(std::uint16_t& Key, TShiftState Shift) {
  if (GridKey(Key) && !Shift.Contains(ssAlt)) return;
  TExtLookupDropDown::ControlKeyUp(Key, Shift);
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
  if (Key == u'\b') {
    LookupBackspace();
    return;
  }
  if (Key != u'\t') FLookupEntry += QChar(Key);
  QString found;
  int index = -1;
  if (LookupMatch(FLookupEntry, found, index)) {
    FItemIndex = index;
    ShowLookup(found, true);
  } else if (LookupMatch(QString(QChar(Key)), found, index)) {
    FItemIndex = index;
    FLookupEntry = QString(QChar(Key));
    ShowLookup(found, false);
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
