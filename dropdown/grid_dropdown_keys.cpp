// The grid drop-down's typing: completion while typing in the edit, lookup and narrowing by typed characters
// (in the edit and in the open popup), the edit's stepping keys, cell editing in the popup, and the wheel.
#include "dropdown/grid_dropdown.h"

#include <algorithm>

#include "dropdown/grid_dropdown_grid.h"
#include "platform/forms/keys.h"
#include "platform/forms/messages.h"

namespace dropdown::griddrop {

using namespace plat;

namespace {

bool KeyHeld(int vk) { return GetKeyState(vk) < 0; }

constexpr int MaxCompletion = 255;

// The keys that move the popup grid's current row and stay there.
bool GridKey(std::uint16_t Key) {
  return Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END || Key == VK_HOME || Key == VK_UP || Key == VK_DOWN;
}

}  // namespace

// ---- completion while typing (the multi-column drop-down's rule) --------------------------------------------

void TCustomExtGridDropDown::HandleChange() {
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
  WriteText(typed);
  SetSelStart(prefix + static_cast<int>(typed.size()));
  SetSelLength(0);
  SetModified(modified);
}

// ---- the edit's keys ------------------------------------------------------------------------------------------

bool TCustomExtGridDropDown::EditingCell() const {
  return FGrid && FGridEditable && DroppedDown() && FGrid->EditorMode();
}

void TCustomExtGridDropDown::HandleKeyDown(std::uint16_t& Key, TShiftState Shift) {
  if (Key == VK_ESCAPE || GridKey(Key) || Key == VK_LEFT || Key == VK_RIGHT) FLookupEntry.clear();
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
  if (key == VK_ESCAPE) SetItemIndex(static_cast<int>(FLookupFolded.indexOf(Text().toUpper())));
}

void TCustomExtGridDropDown::HandleKeyPress(char16_t& Key) {
  if (Key == u'\r' && ReturnIsTab()) {
    Key = 0;
    return;
  }
  TExtCustomDropDown::HandleKeyPress(Key);
}

void TCustomExtGridDropDown::HandleKeyUp(std::uint16_t& Key, TShiftState Shift) {
  if (Key == VK_RETURN && FCloseOnEnterUp) {
    // The cell edit ended in the lookup column: the release closes the popup with that cell's text.
    FCloseOnEnterUp = false;
    if (FGrid) FGrid->SetSelectionConfirmed(false);
    DoHideDropDown(false);
    return;
  }
  if (!(Key == VK_RETURN && ReturnIsTab())) TExtCustomDropDown::KeyUp(Key, Shift);
  if (!FItemChange) return;
  SetItemIndex(FItemIdx);
  SetSelStart(static_cast<int>(Prefix().size()) + FItemSel);
  SetSelLength(std::max(0, static_cast<int>(Text().size()) - FItemSel));
  SetModified(Text() != FOldValue);
  FItemChange = false;
}

void TCustomExtGridDropDown::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_ENTER:
      // Entering the edit shows every row again and starts a new lookup.
      FOldValue = Text();
      if (FGrid) FGrid->ShowAllRows();
      FLookupEntry.clear();
      break;
    case WM_CHAR: {
      const auto key = static_cast<char16_t>(Message.WParam);
      TExtCustomDropDown::Dispatch(Message);
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
        const int found = FLookupColumn >= 0 && FItems->Count() > 0
                              ? static_cast<int>(FLookupFolded.indexOf(Text().toUpper()))
                              : -1;
        if (found >= 0) {
          SetItemIndex(found);
          SetModified(Text() != FOldValue);
        }
      }
      TExtCustomDropDown::Dispatch(Message);
      WindowKeyDown(key);
      return;
    }
    default: break;
  }
  TExtCustomDropDown::Dispatch(Message);
}

void TCustomExtGridDropDown::WindowKeyDown(std::uint16_t Key) {
  if (!Enabled() || KeyHeld(VK_MENU) || !GridKey(Key)) return;
  FLookupEntry.clear();
  switch (Key) {
    case VK_PRIOR: SelectPreviousPage(); break;
    case VK_NEXT: SelectNextPage(); break;
    case VK_END:
      if (!KeyHeld(VK_SHIFT) && FStyle == dsDropDownList) SelectLast();
      break;
    case VK_HOME:
      if (!KeyHeld(VK_SHIFT) && FStyle == dsDropDownList) SelectFirst();
      break;
    case VK_UP: SelectPrevious(); break;
    case VK_DOWN: SelectNext(); break;
    default: break;
  }
}

void TCustomExtGridDropDown::HandleMouseWheelDown() {
  TExtCustomDropDown::HandleMouseWheelDown();
  SelectNext();
}

void TCustomExtGridDropDown::HandleMouseWheelUp() {
  TExtCustomDropDown::HandleMouseWheelUp();
  SelectPrevious();
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
    } else if (SelLength() == 0) {
      FLookupEntry.chop(1);
      WriteText(FLookupEntry);
      SetSelStart(static_cast<int>(RawText().size()));
    } else {
      QString raw = RawText();
      raw.remove(SelStart(), SelLength());
      WriteText(raw.mid(Prefix().size()));
      SetSelStart(static_cast<int>(RawText().size()));
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
    WriteText(found);
    if (SelectRest) {
      SetSelStart(static_cast<int>(Prefix().size() + FLookupEntry.size()));
      SetSelLength(std::max(0, static_cast<int>(found.size() - FLookupEntry.size())));
    }
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
  if (!(GridKey(Key) && !Shift.Contains(ssAlt))) TExtCustomDropDown::ControlKeyDown(Key, Shift);
  if (OnGridKeyDown) OnGridKeyDown(this, Key, Shift);
}

void TCustomExtGridDropDown::ControlKeyUp(std::uint16_t& Key, TShiftState Shift) {
  if (GridKey(Key) && !Shift.Contains(ssAlt))
    FLookupEntry.clear();
  else
    TExtCustomDropDown::ControlKeyUp(Key, Shift);
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
  if (!AllDataRowsVisible()) FGrid->SetTopRow(Row);
  FQuietRow = true;
  FGrid->SetRow(Row);
  FGrid->SetCol(0);
  FQuietRow = false;
  FSelRow = Row;
  FGrid->InvalidateRow(Row);
}

}  // namespace dropdown::griddrop
