// The grid drop-down's typing: lookup and narrowing by typed characters (in the edit and in the open popup), the
// edit's stepping keys and cell editing in the popup.
#include "dropdown/grid_dropdown.h"

#include <algorithm>

#include "dropdown/grid_dropdown_grid.h"
#include "platform/forms/keys.h"
#include "platform/forms/messages.h"

namespace dropdown::griddrop {

using namespace plat;

namespace {

bool KeyHeld(int vk) { return GetKeyState(vk) < 0; }

// The keys that move the popup grid's current row and stay there.
bool GridKey(std::uint16_t Key) {
  return Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END || Key == VK_HOME || Key == VK_UP || Key == VK_DOWN;
}

}  // namespace

// ---- the edit's keys ------------------------------------------------------------------------------------------

bool TCustomExtGridDropDown::EditingCell() const {
  return FGrid && FGridEditable && DroppedDown() && FGrid->EditorMode();
}

// The keys that move through the rows, and Escape, start a new lookup.
void TCustomExtGridDropDown::HandleKeyDown(std::uint16_t& Key, TShiftState Shift) {
  if (Key == VK_ESCAPE || GridKey(Key) || Key == VK_LEFT || Key == VK_RIGHT) FLookupEntry.clear();
  TExtLookupDropDown::HandleKeyDown(Key, Shift);
}

void TCustomExtGridDropDown::HandleKeyUp(std::uint16_t& Key, TShiftState Shift) {
  if (Key == VK_RETURN && FCloseOnEnterUp) {
    // The cell edit ended in the lookup column: the release closes the popup with that cell's text.
    FCloseOnEnterUp = false;
    if (FGrid) FGrid->SetSelectionConfirmed(false);
    DoHideDropDown(false);
    return;
  }
  TExtLookupDropDown::HandleKeyUp(Key, Shift);
}

void TCustomExtGridDropDown::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_ENTER:
      // Entering the edit shows every row again and starts a new lookup.
      if (FGrid) FGrid->ShowAllRows();
      FLookupEntry.clear();
      break;
    case WM_CHAR: {
      const auto key = static_cast<char16_t>(Message.WParam);
      TExtLookupDropDown::Dispatch(Message);
      if (key == u'\r' || key == 27 || key == u'\t') return;
      if (EditorEnabled()) {
        // The edit has taken the character: the lookup entry is what stands left of the caret.
        const int caret = std::clamp(SelStart() - static_cast<int>(Prefix().size()), 0,
                                     static_cast<int>(Text().size()));
        FLookupEntry = Text().left(caret);
        if (key == u'\b') {
          if (FLookupMethod == lmNarrowDown) NarrowDown();
        } else {
          FLookupEntry.chop(1);
          LookupKey(key);
        }
      } else {
        LookupKey(key);
      }
      if (AutoShowDropDown && !DroppedDown()) DoShowDropDown();
      return;
    }
    case WM_KEYDOWN: {
      const auto key = static_cast<std::uint16_t>(Message.WParam);
      if (key == VK_RETURN && EditingCell() && !KeyHeld(VK_SHIFT)) {
        // Enter ends the popup's cell edit (the value goes into the cell); the edit shows the row's lookup cell.
        const int row = FGrid->Row();
        FGrid->HideInplaceEdit();
        WriteText(RowLookupText(row));
        FItemIndex = FUseItems ? RowToItem(row) : row - FGrid->FixedRows();
        FCloseOnEnterUp = FGrid->RealColIndex(FGrid->Col()) == FLookupColumn;
        return;
      }
      if (key == VK_RETURN) {
        if (FGrid) FGrid->SetSelectionConfirmed(true);
        const int found = TextItemIndex();
        if (found >= 0) {
          SetItemIndex(found);
          SetModified(Text() != FOldValue);
        }
      }
      TExtLookupDropDown::Dispatch(Message);
      WindowKeyDown(key);
      return;
    }
    default: break;
  }
  TExtLookupDropDown::Dispatch(Message);
}

void TCustomExtGridDropDown::WindowKeyDown(std::uint16_t Key) {
  if (!Enabled() || KeyHeld(VK_MENU) || !GridKey(Key)) return;
  FLookupEntry.clear();
  StepByKey(Key, !KeyHeld(VK_SHIFT) && FStyle == dsDropDownList);
}

// ---- typed lookup ---------------------------------------------------------------------------------------------

int TCustomExtGridDropDown::LookupKey(char16_t Key) {
  if (FLookupMethod == lmNone) return -1;
  if (Key == u'\b') {
    if (FLookupMethod == lmNarrowDown) {
      // The entry is the narrowing's condition: a shorter entry narrows less, and deleting it back to nothing
      // shows every row again.
      FLookupEntry.chop(1);
      WriteText(FLookupEntry);
      SetSelStart(static_cast<int>(RawText().size()));
      NarrowDown();
    } else {
      LookupBackspace();
    }
    return -1;
  }
  if (Key != u'\t') FLookupEntry += QChar(Key);
  return FLookupMethod == lmNarrowDown ? NarrowDown() : Lookup(Key);
}

// The rows whose lookup cell contains the entry; the edit shows the first one's (typing may go on after it).
int TCustomExtGridDropDown::NarrowDown() {
  if (!FGrid) return -1;
  const QString entry = FLookupEntry.trimmed();
  if (entry.isEmpty()) {
    FGrid->ShowAllRows();
  } else {
    FGrid->NarrowRows(entry, FLookupColumn);
    if (FStyle == dsDropDown && FGrid->RowCount() > FGrid->FixedRows()) {
      const QString first = RowLookupText(FGrid->FixedRows());
      WriteText(first);
      SetSelStart(static_cast<int>(Prefix().size() + FLookupEntry.size()));
      SetSelLength(std::max(0, static_cast<int>(first.size() - FLookupEntry.size())));
    }
  }
  return FGrid->RowCount() > FGrid->FixedRows() ? (FUseItems ? 0 : FGrid->FixedRows()) : -1;
}

int TCustomExtGridDropDown::Lookup(char16_t Key) {
  const int fixed = FGrid ? FGrid->FixedRows() : 1;
  QString found;
  int index = -1;
  auto take = [&](bool SelectRest) {
    FItemIndex = FUseItems ? index : index - fixed;
    ShowLookup(found, SelectRest);
  };
  if (LookupMatch(FLookupEntry.trimmed(), found, index)) {
    take(FStyle == dsDropDown);
    return index;
  }
  if (FStyle == dsDropDown) return -1;
  if (LookupMatch(QString(QChar(Key)), found, index)) {
    FLookupEntry = QString(QChar(Key));
    take(false);
    return index;
  }
  FLookupEntry.clear();
  return -1;
}

// ---- the open popup's keys ------------------------------------------------------------------------------------

void TCustomExtGridDropDown::ControlKeyDown(std::uint16_t& Key, TShiftState Shift) {
  if (!(GridKey(Key) && !Shift.Contains(ssAlt))) TExtLookupDropDown::ControlKeyDown(Key, Shift);
  if (OnGridKeyDown) OnGridKeyDown(this, Key, Shift);
}

void TCustomExtGridDropDown::ControlKeyUp(std::uint16_t& Key, TShiftState Shift) {
  if (GridKey(Key) && !Shift.Contains(ssAlt))
    FLookupEntry.clear();
  else
    TExtLookupDropDown::ControlKeyUp(Key, Shift);
  if (OnGridKeyUp) OnGridKeyUp(this, Key, Shift);
}

void TCustomExtGridDropDown::ControlKeyPress(char16_t& Key) {
  if (Key == u'\r' || Key == 27 || FGridEditable) {
    FLookupEntry.clear();
  } else {
    int row = LookupKey(Key);
    // A found item is shown in the row that holds it (the grid may be sorted); a narrowed grid's first row.
    if (row >= 0 && FUseItems) row = FLookupMethod == lmLookup ? ItemToRow(row) : row + FGrid->FixedRows();
    if (FGrid && row >= FGrid->FixedRows() && row < FGrid->RowCount())
      ShowGridRow(row);
    else
      FLookupEntry.clear();
  }
  if (OnGridKeyPress) OnGridKeyPress(this, Key);
}

void TCustomExtGridDropDown::ShowGridRow(int Row) {
  if (!AllListRowsVisible()) FGrid->SetTopRow(Row);
  FQuietRow = true;
  FGrid->SetRow(Row);
  FGrid->SetCol(0);
  FQuietRow = false;
  FSelRow = Row;
  FGrid->InvalidateRow(Row);
}

}  // namespace dropdown::griddrop
