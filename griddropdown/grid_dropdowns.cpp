#include "griddropdown/grid_dropdowns.h"

#include <QLineEdit>
#include <QWidget>

#include <type_traits>

#include "dropdown/grid_dropdown_grid.h"
#include "griddropdown/dropdown_host.h"
#include "platform/forms/keys.h"

namespace grid {

using plat::IsKey;
using plat::TShiftState;

namespace {

template <class TParent>
constexpr bool kTrackbar = std::is_same_v<TParent, dropdown::TExtTrackBarDropDown>;
template <class TParent>
constexpr bool kMemo = std::is_same_v<TParent, dropdown::TExtMemoDropDown>;
template <class TParent>
constexpr bool kCalculator = std::is_same_v<TParent, dropdown::TExtCalculatorDropdown>;
template <class TParent>
constexpr bool kColor = std::is_same_v<TParent, dropdown::TExtColorPickerDropDown>;
template <class TParent>
constexpr bool kImage = std::is_same_v<TParent, dropdown::TExtImagePickerDropDown>;
// The editors that take the plain edit's change step instead of their drop-down's.
template <class TParent>
constexpr bool kPlainChange = kCalculator<TParent> || kColor<TParent> || kImage<TParent>;
// The editors that put the caret under the click that opened them.
template <class TParent>
constexpr bool kCaretAtClick = kTrackbar<TParent> || kMemo<TParent> || kCalculator<TParent>;

}  // namespace

template <class TParent>
TGridDropDownOf<TParent>::TGridDropDownOf(plat::TComponent* AOwner, TDropDownEditHost* Host)
    : TParent(AOwner), FHost(Host) {
  if constexpr (std::is_same_v<TParent, dropdown::TExtTimePickerDropDown>) this->SetFocusDraw(false);
}

template <class TParent>
QString TGridDropDownOf<TParent>::EditorText() const {
  if constexpr (kMemo<TParent>) {
    // A display-only edit shows the first line alone: the lines themselves are the value then.
    if (!this->EditorEnabled()) {
      QString joined = this->MemoText()->Text();
      if (joined.endsWith(QStringLiteral("\r\n"))) joined.chop(2);
      return joined;
    }
  }
  if constexpr (kColor<TParent>) return this->SelectedColorText();
  if constexpr (kImage<TParent>) {
    // The picker changes a data image's index, which is its text; any other cell keeps its text.
    if (FHost->CellType(FHost->RealCol(), FHost->Row()) == ctDataImage) return QString::number(this->ImageIndex());
    return FHost->CurrentCell();
  }
  return this->Text();
}

template <class TParent>
void TGridDropDownOf<TParent>::WriteText(const QString& Value) {
  if constexpr (kTrackbar<TParent>)
    this->SetText(Value);
  else
    this->SetPlainText(Value);
}

template <class TParent>
bool TGridDropDownOf<TParent>::Commit() {
  // An open drop-down gives the edit its choice first, so that the choice is what the cell gets.
  if (this->DroppedDown()) this->HideDropDown(false);
  const QString value = EditorText();
  FHost->SetCurrentCell(value);
  return FHost->ValidateCell(value);
}

template <class TParent>
bool TGridDropDownOf<TParent>::ClosingKey(std::uint16_t Key, TShiftState Shift) const {
  using namespace plat;
  // Alt+Down opens the drop-down (Alt+Up closes it): never the end of the edit.
  if (Shift.Contains(ssAlt) && (Key == VK_DOWN || Key == VK_UP)) return false;
  if constexpr (kColor<TParent>)
    return IsKey(Key, {VK_TAB, VK_RETURN, VK_ESCAPE}) || (!this->DroppedDown() && Key == VK_HOME);
  return IsKey(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_END, VK_UP, VK_DOWN});
}

template <class TParent>
void TGridDropDownOf<TParent>::Dispatch(plat::TMessage& Message) {
  using namespace plat;
  if (Message.Msg == WM_KEYDOWN && !this->EditorEnabled() && this->Enabled() && FHost) {
    // Enter and Escape reach the key-down of a display-only edit by themselves.
    auto key = static_cast<std::uint16_t>(Message.WParam);
    const TShiftState shift = KeyDataToShiftState(Message.LParam);
    if (key != VK_RETURN && key != VK_ESCAPE && ClosingKey(key, shift)) {
      HandleKeyDown(key, shift);
      if (key == 0) return;
    }
  }
  TParent::Dispatch(Message);
}

template <class TParent>
void TGridDropDownOf<TParent>::HandleKeyDown(std::uint16_t& Key, TShiftState Shift) {
  using namespace plat;
  Forced = false;
  WorkMode = Key != VK_BACK && Key != VK_DELETE;
  const bool open = this->DroppedDown();
  if (!ClosingKey(Key, Shift)) {
    TParent::HandleKeyDown(Key, Shift);
    return;
  }
  if (Key == VK_ESCAPE) {
    EditCancelled = true;
    if (open) this->HideDropDown(true);
    // The text the cell had when the edit started: the memo copies its text into the cell as it is typed.
    WriteText(FHost->CellCacheText());
    FHost->HideInplaceEdit();
    FHost->FocusGrid();
    Key = 0;
    return;
  }
  const bool commits = kColor<TParent> ? Key == VK_RETURN : IsKey(Key, {VK_RETURN, VK_UP, VK_DOWN});
  if (commits) {
    if constexpr (kCalculator<TParent>) {
      if (Key == VK_RETURN) this->CalcResult();
    }
    if (!Commit()) {
      WriteText(FHost->NewCellText());
      this->SelectAll();
      this->Invalidate();
      Key = 0;
      return;
    }
    WriteText(FHost->CurrentCell());
  }
  if (Key == VK_TAB && FHost->WantsTabKey()) {
    if (!Commit()) {
      WriteText(FHost->NewCellText());
      this->SetSelStart(static_cast<int>(this->RawText().size()));
      this->SetSelLength(0);
      this->Invalidate();
      Key = 0;
      return;
    }
    WriteText(FHost->CurrentCell());
    if (FHost->TabMovesCells()) {
      FHost->HideInplaceEdit();
      FHost->FocusGrid();
      FHost->TabToNextCell(Shift.Contains(ssShift));
      Key = 0;
      return;
    }
    FHost->PostKeyDown(VK_TAB);
  }
  if (open) {
    FHost->HideInplaceEdit();
    // The grid stays where it is: the key closed the drop-down's edit, it does not move.
    if (IsKey(Key, {VK_PRIOR, VK_NEXT, VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT})) Key = 0;
  } else if (Key == VK_END) {
    TParent::HandleKeyDown(Key, Shift);
    return;
  }
  const std::uint16_t key = Key;
  Key = 0;
  FHost->DoneInplaceEdit(key, Shift);
  if (key == VK_RETURN && FHost->AdvanceAutoEdit()) FHost->ShowInplaceEdit();
}

template <class TParent>
void TGridDropDownOf<TParent>::HandleKeyPress(char16_t& Key) {
  FHost->KeyPress(this, Key);
  if (Key == 27 || Key == u'\r' || Key == u'\t') {
    Key = 0;
    return;
  }
  TParent::HandleKeyPress(Key);
}

template <class TParent>
void TGridDropDownOf<TParent>::HandleChange() {
  if constexpr (kPlainChange<TParent>)
    plat::TCustomMaskEdit::Change();
  else
    TParent::HandleChange();
  // A hidden editor is being filled or emptied by the grid, not edited.
  if (FHost && this->Visible()) FHost->EditChange(this->Text());
}

template <class TParent>
void TGridDropDownOf<TParent>::WantSpecialKeyMessage(plat::TMessage& Message) {
  dropdown::TExtCustomDropDown::WantSpecialKeyMessage(Message);
  const auto key = static_cast<std::uint16_t>(Message.WParam);
  if (key == plat::VK_TAB && FHost->WantsTabKey()) Message.Result = 1;
  if constexpr (kTrackbar<TParent> || kColor<TParent>) {
    if (key == plat::VK_RETURN || key == plat::VK_ESCAPE) Message.Result = 1;
  }
}

template <class TParent>
void TGridDropDownOf<TParent>::CaretAtClick() {
  plat::TPoint at;
  if (!FHost->TakeEditClick(at)) return;
  QLineEdit* edit = this->LineEdit();
  QWidget* grid = FHost->GridControl()->Widget();
  if (!edit || !grid) return;
  const QPoint local = edit->mapFromGlobal(grid->mapToGlobal(QPoint(at.X, at.Y)));
  if (!edit->rect().contains(local)) return;
  this->SetSelStart(edit->cursorPositionAt(local));
  this->SetSelLength(0);
}

template <class TParent>
void TGridDropDownOf<TParent>::SetFocusMessage(plat::TMessage& Message) {
  TParent::SetFocusMessage(Message);
  if constexpr (kCaretAtClick<TParent>) CaretAtClick();
}

template <class TParent>
void TGridDropDownOf<TParent>::DoExit() {
  // The grid hides the editor itself while it writes it back; any other focus loss ends the edit here.
  if (FHost && !FHost->WritingBack()) FHost->HideInplaceEdit();
  TParent::DoExit();
}

template class TGridDropDownOf<dropdown::TExtTrackBarDropDown>;
template class TGridDropDownOf<dropdown::TExtMemoDropDown>;
template class TGridDropDownOf<dropdown::TExtCalculatorDropdown>;
template class TGridDropDownOf<dropdown::TExtTimePickerDropDown>;
template class TGridDropDownOf<dropdown::TExtDetailDropDown>;
template class TGridDropDownOf<dropdown::TExtMultiColumnDropDown>;
template class TGridDropDownOf<dropdown::TCustomExtGridDropDown>;
template class TGridDropDownOf<dropdown::TExtColorPickerDropDown>;
template class TGridDropDownOf<dropdown::TExtImagePickerDropDown>;

TExtStringGrid* TGridExtGridDropDown::Grid() const { return GetGrid(); }

}  // namespace grid
