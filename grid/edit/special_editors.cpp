#include "grid/edit/special_editors.h"

#include <QClipboard>
#include <QDateTime>
#include <QGuiApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

#include <algorithm>

#include "grid/edit/edit_walk.h"
#include "grid/edit/inplace_edit.h"
#include "grid/extgrid.h"
#include "grid/input/input_mouse.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"
#include "platform/forms/keys.h"
#include "platform/forms/msgqueue.h"
#include "platform/rtl/datetime.h"

namespace grid {

using plat::IsKey;
using plat::TShiftState;

namespace {

// CM_WANTSPECIALKEY: the editor keeps the keys it ends an edit with, so that the form does not take them.
bool WantsSpecial(plat::TMessage& M, std::initializer_list<std::uint16_t> Keys) {
  if (M.Msg != plat::CM_WANTSPECIALKEY || !IsKey(static_cast<std::uint16_t>(M.WParam), Keys)) return false;
  M.Result = 1;
  return true;
}

}  // namespace

// ---------------------------------------------------------------- the shared grid side

TGridEditorSide::TGridEditorSide(plat::TComponent* AOwner) : FGrid(dynamic_cast<TExtStringGrid*>(AOwner)) {}

bool TGridEditorSide::Commit(const QString& Value) {
  FGrid->SetCurrentCellText(Value);
  return FGrid->ValidateCell(Value);
}

void TGridEditorSide::FocusGrid() {
  if (FGrid->CanFocus()) FGrid->SetFocus();
}

void TGridEditorSide::Close(std::uint16_t Key, TShiftState Shift) {
  if (Key == plat::VK_TAB) {
    if (FGrid->Options().Contains(plat::goTabs)) {
      FGrid->HideInplaceEdit();
      FocusGrid();
      FGrid->EditorTabToNextCell(Shift.Contains(plat::ssShift));
    } else {
      FGrid->HideInplaceEdit();
      FocusGrid();
      plat::PostMessage(FGrid->Handle(), plat::WM_KEYDOWN, plat::VK_TAB, 0);
    }
    return;
  }
  FGrid->DoneInplaceEdit(Key, Shift);
  if (Key == plat::VK_RETURN && FGrid->Navigation()->AdvanceOnEnter && FGrid->Navigation()->AdvanceAutoEdit)
    FGrid->ShowInplaceEdit();
}

void TGridEditorSide::FocusLost() {
  if (FGrid && !FGrid->EditState().BlockKill) FGrid->HideInplaceEdit();
}

bool TGridEditorSide::WalkOnKeyUp(std::uint16_t Key, TShiftState Shift, int CaretBefore, int Caret, int SelLength,
                                  int Length, const QString& Text) {
  if (!FGrid->Navigation()->CursorWalkEditor || SelLength != 0) return false;
  if (Shift.Contains(plat::ssShift) || Shift.Contains(plat::ssCtrl) || Shift.Contains(plat::ssAlt)) return false;
  const bool left = Key == plat::VK_LEFT && CaretBefore == 0 && Caret == 0;
  const bool right = Key == plat::VK_RIGHT && CaretBefore >= Length && Caret >= Length;
  if (!left && !right) return false;
  CursorWalk(*FGrid, right, Text, TWalkCommit::OnLeaving);
  return true;
}

// ---------------------------------------------------------------- spin editor

TGridSpin::TGridSpin(plat::TComponent* AOwner) : controls::TEsgSpinEdit(AOwner), TGridEditorSide(AOwner) {
  MaxValue = 100;
  MinValue = 0;
  Increment = 1;
}

void TGridSpin::FireSpin(bool Up) {
  const int c = FGrid->RealCol(), r = FGrid->Row();
  switch (SpinType()) {
    case controls::sptNormal:
      if (FGrid->OnSpinClick) FGrid->OnSpinClick(FGrid, c, r, Value(), Up);
      break;
    case controls::sptFloat:
      if (FGrid->OnFloatSpinClick) FGrid->OnFloatSpinClick(FGrid, c, r, static_cast<int>(FloatValue()), Up);
      break;
    case controls::sptDate:
      if (FGrid->OnDateSpinClick) FGrid->OnDateSpinClick(FGrid, c, r, static_cast<int>(DateValue()), Up);
      break;
    default:
      if (FGrid->OnTimeSpinClick) FGrid->OnTimeSpinClick(FGrid, c, r, static_cast<int>(TimeValue()), Up);
      break;
  }
}

void TGridSpin::SpinUpClick(plat::TObject* Sender) {
  controls::TEsgSpinEdit::SpinUpClick(Sender);
  FireSpin(true);
}

void TGridSpin::SpinDownClick(plat::TObject* Sender) {
  controls::TEsgSpinEdit::SpinDownClick(Sender);
  FireSpin(false);
}

// PageUp and PageDown step while the value stays inside its limits; End and Home go to them.
bool TGridSpin::PageKey(std::uint16_t Key) {
  if (SpinType() == controls::sptDate || SpinType() == controls::sptTime) return false;
  const bool isInt = SpinType() == controls::sptNormal;
  switch (Key) {
    case plat::VK_PRIOR:
      if (isInt ? Value() + Increment <= MaxValue : FloatValue() + IncrementFloat <= MaxFloatValue)
        isInt ? SetValue(Value() + Increment) : SetFloatValue(FloatValue() + IncrementFloat);
      break;
    case plat::VK_NEXT:
      if (isInt ? Value() - Increment >= MinValue : FloatValue() - IncrementFloat >= MinFloatValue)
        isInt ? SetValue(Value() - Increment) : SetFloatValue(FloatValue() - IncrementFloat);
      break;
    case plat::VK_END: isInt ? SetValue(MinValue) : SetFloatValue(MinFloatValue); break;
    case plat::VK_HOME: isInt ? SetValue(MaxValue) : SetFloatValue(MaxFloatValue); break;
    default: return false;
  }
  if (FGrid->OnSpinClick)
    FGrid->OnSpinClick(FGrid, FGrid->RealCol(), FGrid->Row(), Value(), Key == plat::VK_PRIOR || Key == plat::VK_HOME);
  return true;
}

void TGridSpin::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  if (PageKey(Key)) {
    Key = 0;
    return;
  }
  const bool tab = Key == plat::VK_TAB && FGrid->WantsTabKey();
  if (!tab && !IsKey(Key, {plat::VK_RETURN, plat::VK_ESCAPE, plat::VK_UP, plat::VK_DOWN}))
    return controls::TEsgSpinEdit::KeyDown(Key, Shift);
  if (Key == plat::VK_ESCAPE) {
    SetText(FGrid->CellCacheText());
  } else if (!Commit(Text())) {
    SetText(FGrid->CurrentCell());
    SetSelStart(static_cast<int>(Text().size()));
    Key = 0;
    return;
  }
  const std::uint16_t k = Key;
  Key = 0;
  Close(k, Shift);
}

void TGridSpin::KeyPress(char16_t& Key) {
  if (Key == u'\t' || Key == u'\r' || Key == 27) {
    Key = 0;
    return;
  }
  controls::TEsgSpinEdit::KeyPress(Key);
}

void TGridSpin::Dispatch(plat::TMessage& Message) {
  if (WantsSpecial(Message, {plat::VK_RETURN, plat::VK_ESCAPE}) ||
      (FGrid->Options().Contains(plat::goTabs) && WantsSpecial(Message, {plat::VK_TAB})))
    return;
  // The page and arrow keys take the grid's meaning here (limits, closing), not the plain spin editor's.
  if (Message.Msg == plat::WM_KEYDOWN &&
      IsKey(static_cast<std::uint16_t>(Message.WParam), {plat::VK_PRIOR, plat::VK_NEXT, plat::VK_UP, plat::VK_DOWN})) {
    plat::TEdit::Dispatch(Message);
    return;
  }
  if (Message.Msg == plat::WM_KILLFOCUS) FocusLost();
  controls::TEsgSpinEdit::Dispatch(Message);
  if (Message.Msg == plat::WM_COMMAND && FGrid && FGrid->OnEditChange && Visible())
    FGrid->OnEditChange(FGrid, FGrid->Col(), FGrid->Row(), Text());
}

// ---------------------------------------------------------------- combo box

TGridCombo::TGridCombo(plat::TComponent* AOwner) : controls::TEsgComboBox(AOwner), TGridEditorSide(AOwner) {
  SetButtonWidth(16);
}

void TGridCombo::FireComboChange() {
  const int c = FGrid->RealCol(), r = FGrid->Row(), i = ItemIndex();
  if (FGrid->OnComboChange) FGrid->OnComboChange(FGrid, c, r, i, Text());
  if (FGrid->OnComboObjectChange)
    FGrid->OnComboObjectChange(FGrid, c, r, i, Text(), i >= 0 && i < Items()->Count() ? Items()->Objects(i) : nullptr);
}

void TGridCombo::Notify(int Code) {
  if (FGrid) FGrid->Perform(plat::WM_COMMAND, plat::MakeWParam(0, Code), static_cast<plat::LPARAM>(Handle()));
}

// A choice from the list arrives after the list closed; a choice by key (list closed) reports itself.
void TGridCombo::Select() {
  controls::TEsgComboBox::Select();
  if (FListClosing) Notify(plat::CBN_SELCHANGE);
}

void TGridCombo::DropDownShown() {
  controls::TEsgComboBox::DropDownShown();
  FListOpen = true;
  Notify(plat::CBN_DROPDOWN);
}

// The close-up is told after the choice that closed the list, as the list's own order has it.
void TGridCombo::DropDownHidden() {
  controls::TEsgComboBox::DropDownHidden();
  // The list is also told to hide when it is not open: only a list that was open closes up.
  if (!FListOpen) return;
  FListOpen = false;
  FListClosing = true;
  if (FGrid)
    plat::PostMessage(FGrid->Handle(), plat::WM_COMMAND, plat::MakeWParam(0, plat::CBN_CLOSEUP),
                      static_cast<plat::LPARAM>(Handle()));
}

void TGridCombo::Change() {
  controls::TEsgComboBox::Change();
  if (FGrid->OnEditChange && Visible()) FGrid->OnEditChange(FGrid, FGrid->Col(), FGrid->Row(), Text());
}

void TGridCombo::KeyPress(char16_t& Key) {
  const int before = ItemIndex();
  if (FGrid->OnKeyPress) FGrid->OnKeyPress(this, Key);
  if (Key == 27 || Key == u'\t') {
    Key = 0;
    return;
  }
  if (Key == u'\r') {
    if (OnReturnKey) OnReturnKey(this);
    Key = 0;
    return;
  }
  controls::TEsgComboBox::KeyPress(Key);
  if (ItemIndex() != before) FireComboChange();
}

void TGridCombo::DoChange() {
  if (!WorkMode || !FGrid->Lookup || Style() == plat::csDropDownList) return;
  const QString typed = Text().left(SelStart());
  if (typed.isEmpty() || SelLength() != 0 || SelStart() != Text().size()) return;
  const Qt::CaseSensitivity cs = FGrid->LookupCaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
  QString found;
  int index = -1;
  for (int i = 0; i < Items()->Count() && index < 0; ++i)
    if (Items()->Strings(i).startsWith(typed, cs)) index = i, found = Items()->Strings(i);
  for (int i = 0; index < 0 && found.isEmpty() && i < FGrid->LookupItems()->Count(); ++i)
    if (FGrid->LookupItems()->Strings(i).startsWith(typed, cs)) found = FGrid->LookupItems()->Strings(i);
  if (found.isEmpty()) return;
  if (index >= 0) SetItemIndex(index);
  SetText(typed + found.mid(typed.size(), 255));
  SetSelStart(static_cast<int>(typed.size()));
  SetSelLength(static_cast<int>(Text().size() - typed.size()));
  ItemIdx = index;
  ItemChange = true;
}

void TGridCombo::SizeDropDownWidth() {
  plat::TBitmap measure(1, 1);
  measure.Canvas()->Font()->Assign(*FGrid->Font());
  int w = Width();
  const bool scrolls = Items()->Count() > DropDownCount();
  for (int i = 0; i < Items()->Count(); ++i) {
    const int t = measure.Canvas()->TextWidth(Items()->Strings(i));
    if (scrolls && t > w - 25) w = t + 25;
    if (!scrolls && t > w - 5) w = t + 8;
  }
  SetDroppedWidth(w);
}

// The walk over the text's edge needs the caret there before the key as well, so that a Left that only
// brings the caret to the start stays in the cell.
void TGridCombo::KeyUp(std::uint16_t& Key, TShiftState Shift) {
  const std::uint16_t k = Key;
  if (Style() == plat::csDropDown && !DroppedDown() &&
      WalkOnKeyUp(k, Shift, FSelKeyDown, SelStart(), SelLength(), static_cast<int>(Text().size()), Text())) {
    Key = 0;
    return;
  }
  if (k != plat::VK_RETURN) controls::TEsgComboBox::KeyUp(Key, Shift);
  if (k != plat::VK_LEFT && k != plat::VK_RIGHT && k != plat::VK_RETURN) DoChange();
}

// The caret goes to the end of an editable combo's text, or under the click that opened it.
void TGridCombo::FocusGained() {
  if (Style() != plat::csDropDown) return;
  if (!FGrid->Navigation()->EditSelectAll) {
    SetSelStart(static_cast<int>(Text().size()));
    SetSelLength(0);
  }
  TMousePress& press = FGrid->Mouse().Press();
  if (!press.LButFlg) return;
  press.LButFlg = false;
  if (QLineEdit* line = ComboBox()->lineEdit()) {
    const QPoint at = line->mapFrom(ComboBox(), QPoint(press.Clickposx - Left(), press.Clickposy - Top()));
    if (line->rect().contains(at)) {
      SetSelStart(line->cursorPositionAt(at));
      SetSelLength(0);
    }
  }
}

void TGridCombo::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  WorkMode = Key != plat::VK_BACK && Key != plat::VK_DELETE;
  FSelKeyDown = SelStart();
  const bool listOpen = DroppedDown() || Style() == plat::csDropDownList;
  if ((Key == plat::VK_UP || Key == plat::VK_DOWN) && !DroppedDown() && !FGrid->Navigation()->ComboGetUpDown) {
    FGrid->HideInplaceEdit();
    const bool always = FGrid->Navigation()->AlwaysEdit;
    FGrid->Navigation()->AlwaysEdit = false;
    FocusGrid();
    FGrid->PassKeyToGrid(Key, Shift);
    FGrid->Navigation()->AlwaysEdit = always;
    Key = 0;
    return;
  }
  const bool tab = Key == plat::VK_TAB && FGrid->WantsTabKey();
  const bool closing = tab || Key == plat::VK_RETURN || Key == plat::VK_ESCAPE ||
                       (listOpen ? IsKey(Key, {plat::VK_LEFT, plat::VK_RIGHT})
                                 : IsKey(Key, {plat::VK_PRIOR, plat::VK_NEXT, plat::VK_END, plat::VK_UP, plat::VK_DOWN}));
  if (!closing || (Key == plat::VK_DOWN && Shift.Contains(plat::ssAlt))) return controls::TEsgComboBox::KeyDown(Key, Shift);
  if (Key == plat::VK_ESCAPE) {
    SetText(FGrid->CurrentCell());
    SelectItem(FGrid->CurrentCell());
    FGrid->HideInplaceEdit();
    FocusGrid();
    Key = 0;
    return;
  }
  if (Key == plat::VK_RETURN || Key == plat::VK_UP || Key == plat::VK_DOWN || tab) {
    if (!Commit(Text())) {
      SetText(FGrid->EditState().NewCellText);
      if (Style() != plat::csDropDownList) SetSelStart(0), SetSelLength(static_cast<int>(Text().size()));
      Key = 0;
      return;
    }
  }
  const std::uint16_t k = Key;
  Key = 0;
  if (listOpen && (k == plat::VK_LEFT || k == plat::VK_RIGHT)) {
    FGrid->HideInplaceEdit();
    FocusGrid();
    std::uint16_t pass = k;
    FGrid->PassKeyToGrid(pass, Shift);
    return;
  }
  Close(k, Shift);
}

void TGridCombo::Dispatch(plat::TMessage& Message) {
  if (WantsSpecial(Message, {plat::VK_RETURN, plat::VK_ESCAPE}) ||
      (FGrid->WantsTabKey() && WantsSpecial(Message, {plat::VK_TAB})))
    return;
  if (Message.Msg == plat::WM_KILLFOCUS) {
    if (FGrid->LookupHistory && Items()->IndexOf(Text()) < 0) Items()->Add(Text());
    FocusLost();
  }
  if (Message.Msg == plat::WM_SETFOCUS) {
    controls::TEsgComboBox::Dispatch(Message);
    FocusGained();
    return;
  }
  if (Message.Msg == plat::WM_MOUSEWHEEL && Visible()) {
    // The wheel walks the items: down to the next one, up to the previous one.
    const int delta = static_cast<short>((Message.WParam >> 16) & 0xFFFF);
    const int i = delta < 0 ? std::min(ItemIndex() + 1, Items()->Count() - 1) : std::max(ItemIndex() - 1, 0);
    if (Items()->Count() > 0) SetItemIndex(i);
    if (FGrid->OnEditChange) FGrid->OnEditChange(FGrid, FGrid->RealCol(), FGrid->Row(), Text());
    FireComboChange();
    Message.Result = 0;
    return;
  }
  controls::TEsgComboBox::Dispatch(Message);
}

// ---------------------------------------------------------------- edit with button

TGridEditBtn::TGridEditBtn(plat::TComponent* AOwner) : controls::TEsgEditBtn(AOwner), TGridEditorSide(AOwner) {}

void TGridEditBtn::SetEditMask(const QString& Value) {
  FEditMask = Value;
  FMask = plat::TEditMask(Value);
}

void TGridEditBtn::SetEditValue(const QString& Value) { SetText(IsMasked() ? FMask.Display(Value) : Value); }

QString TGridEditBtn::EditValue() const { return IsMasked() ? FMask.Value(Text()) : Text(); }

void TGridEditBtn::ClickButton() {
  QString s = Text();
  if (FGrid->OnEllipsClick) FGrid->OnEllipsClick(FGrid, FGrid->RealCol(), FGrid->Row(), s);
  SetText(s);
  SelectAll();
  if (StopEditAfterClick) {
    FGrid->HideInplaceEdit();
    FocusGrid();
  }
}

// Typing into the mask: characters fill the input positions, Backspace empties the one before the caret.
bool TGridEditBtn::MaskedKey(char16_t Key) {
  if (!IsMasked() || (Key < 32 && Key != 8)) return false;
  QString t = Text();
  int caret = SelStart();
  const bool changed = Key == 8 ? FMask.Clear(t, caret, true) : FMask.Type(t, caret, SelLength(), QChar(Key));
  if (changed) {
    SetText(t);
    SetSelStart(caret);
    SetSelLength(0);
  }
  return true;
}

void TGridEditBtn::KeyPress(char16_t& Key) {
  if (FGrid->OnKeyPress) FGrid->OnKeyPress(FGrid, Key);
  if (Key == u'\t' || Key == u'\r') {
    Key = 0;
    return;
  }
  if (Key >= 32 && !AcceptKindChar(*FGrid, FGrid->EditControl(), Text(), SelStart(), SelLength(), Key)) {
    Key = 0;
    return;
  }
  if (MaskedKey(Key)) {
    Key = 0;
    return;
  }
  controls::TEsgEditBtn::KeyPress(Key);
}

void TGridEditBtn::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  WorkMode = Key != plat::VK_BACK && Key != plat::VK_DELETE;
  FSelKeyDown = SelStart();
  const bool closing = IsKey(Key, {plat::VK_TAB, plat::VK_RETURN, plat::VK_ESCAPE, plat::VK_PRIOR, plat::VK_NEXT,
                                   plat::VK_UP, plat::VK_DOWN}) &&
                       !Shift.Contains(plat::ssCtrl) && (Key != plat::VK_TAB || FGrid->WantsTabKey());
  if (!closing) {
    if (FGrid->OnKeyDown) FGrid->OnKeyDown(FGrid, Key, Shift);
    if (Key == plat::VK_DELETE && IsMasked()) {
      QString t = Text();
      int caret = SelStart();
      if (FMask.Clear(t, caret, false)) SetText(t), SetSelStart(caret), SetSelLength(0);
      Key = 0;
      return;
    }
    return controls::TEsgEditBtn::KeyDown(Key, Shift);
  }
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
  if (Key == plat::VK_ESCAPE) {
    SetEditValue(FGrid->CellCacheText());
  } else if (IsKey(Key, {plat::VK_TAB, plat::VK_RETURN, plat::VK_UP, plat::VK_DOWN})) {
    const TEditorType kind = FGrid->EditControl();
    if (!Commit(EditValue())) {
      SetEditValue(FGrid->EditState().NewCellText);
      SelectAll();
      FGrid->SetEditControl(kind);
      Key = 0;
      return;
    }
    SetEditValue(FGrid->EditState().NewCellText);
  }
  const std::uint16_t k = Key;
  Key = 0;
  Close(k, Shift);
}

void TGridEditBtn::KeyUp(std::uint16_t& Key, TShiftState Shift) {
  if (FGrid->OnKeyUp) FGrid->OnKeyUp(FGrid, Key, Shift);
  const int length = static_cast<int>(Text().size());
  if (WalkOnKeyUp(Key, Shift, FSelKeyDown, SelStart(), SelLength(), length, EditValue())) {
    Key = 0;
    return;
  }
  const std::uint16_t k = Key;
  if (k != plat::VK_RETURN) controls::TEsgEditBtn::KeyUp(Key, Shift);
  if (k != plat::VK_LEFT && k != plat::VK_RIGHT && k != plat::VK_RETURN) DoChange();
}

void TGridEditBtn::DoChange() {
  if (!WorkMode || !FGrid->Lookup || IsMasked() || SelLength() != 0) return;
  const QString typed = Text().left(SelStart());
  const QString completed = LookupCompletion(typed, *FGrid->LookupItems(), FGrid->LookupCaseSensitive);
  if (completed.isEmpty() || completed == Text()) return;
  SetText(completed);
  SetSelStart(static_cast<int>(typed.size()));
  SetSelLength(static_cast<int>(completed.size() - typed.size()));
}

void TGridEditBtn::Change() {
  controls::TEsgEditBtn::Change();
  if (FGrid && FGrid->OnEditChange && Visible()) FGrid->OnEditChange(FGrid, FGrid->Col(), FGrid->Row(), Text());
}

// Pasting asks the grid's clipboard events first; a masked editor types the pasted characters.
void TGridEditBtn::Paste() {
  bool allow = true;
  QString value = QGuiApplication::clipboard()->text();
  if (FGrid->OnClipboardPaste) FGrid->OnClipboardPaste(this, allow);
  if (allow && FGrid->OnClipboardBeforePasteCell)
    FGrid->OnClipboardBeforePasteCell(this, FGrid->Col(), FGrid->Row(), value, allow);
  if (!allow) return;
  value = PastedText(value);
  if (IsMasked()) {
    for (QChar ch : value) MaskedKey(ch.unicode());
    return;
  }
  SetSelText(value);
}

void TGridEditBtn::Dispatch(plat::TMessage& Message) {
  if (WantsSpecial(Message, {plat::VK_RETURN, plat::VK_ESCAPE}) ||
      (FGrid->WantsTabKey() && WantsSpecial(Message, {plat::VK_TAB})))
    return;
  switch (Message.Msg) {
    case plat::WM_KILLFOCUS: FocusLost(); break;
    case plat::WM_PASTE:
      if (!ReadOnly()) Paste();
      return;
    case plat::WM_LBUTTONDBLCLK:
      controls::TEsgEditBtn::Dispatch(Message);
      if (FGrid->OnDblClickCell) FGrid->OnDblClickCell(FGrid, FGrid->Row(), FGrid->Col());
      return;
    default: break;
  }
  controls::TEsgEditBtn::Dispatch(Message);
}

// ---------------------------------------------------------------- edit with button and unit

TGridUnitEditBtn::TGridUnitEditBtn(plat::TComponent* AOwner)
    : controls::TEsgUnitEditBtn(AOwner), TGridEditorSide(AOwner) {
  if (FGrid) OnUnitChanged = [g = FGrid](plat::TObject* Sender, const QString& NewUnit) { g->DoUnitChanged(Sender, NewUnit); };
}

void TGridUnitEditBtn::ClickButton() {
  QString s = Text();
  if (FGrid->OnEllipsClick) FGrid->OnEllipsClick(FGrid, FGrid->RealCol(), FGrid->Row(), s);
  SetText(s);
  SelectAll();
}

void TGridUnitEditBtn::KeyPress(char16_t& Key) {
  if (Key == u'\r') {
    Key = 0;
    return;
  }
  TEditorType kind = FGrid->EditControl();
  kind = kind == edNumericUnitEditBtn ? edNumeric : kind == edFloatUnitEditBtn ? edFloat : edNormal;
  if (Key >= 32 && !AcceptKindChar(*FGrid, kind, Text(), SelStart(), SelLength(), Key)) {
    Key = 0;
    return;
  }
  controls::TEsgUnitEditBtn::KeyPress(Key);
}

void TGridUnitEditBtn::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  const bool tab = Key == plat::VK_TAB && FGrid->WantsTabKey();
  if (!tab && !IsKey(Key, {plat::VK_RETURN, plat::VK_ESCAPE, plat::VK_PRIOR, plat::VK_NEXT, plat::VK_UP, plat::VK_DOWN}))
    return controls::TEsgUnitEditBtn::KeyDown(Key, Shift);
  if (tab || IsKey(Key, {plat::VK_RETURN, plat::VK_UP, plat::VK_DOWN})) {
    if (!Commit(TextAndUnit())) {
      SetText(FGrid->CurrentCell());
      Key = 0;
      return;
    }
    SetTextAndUnit(FGrid->CurrentCell());
  }
  const std::uint16_t k = Key;
  Key = 0;
  if (k == plat::VK_RETURN && FGrid->Navigation()->AdvanceOnEnter) {
    FGrid->HideInplaceEdit();
    FocusGrid();
    FGrid->EditorAdvance(Shift.Contains(plat::ssShift));
    return;
  }
  if (k == plat::VK_ESCAPE) {
    SetUnitID(QString());
    SetText(FGrid->CurrentCell());
  }
  Close(k, Shift);
}

void TGridUnitEditBtn::Dispatch(plat::TMessage& Message) {
  if (WantsSpecial(Message, {plat::VK_RETURN, plat::VK_ESCAPE}) ||
      (FGrid->Options().Contains(plat::goTabs) && WantsSpecial(Message, {plat::VK_TAB})))
    return;
  if (Message.Msg == plat::WM_KILLFOCUS) FocusLost();
  controls::TEsgUnitEditBtn::Dispatch(Message);
}

// ---------------------------------------------------------------- check box

// The box covers the cell it edits: it paints its whole background in the editor colour, so the cell text
// under it does not show through.
TGridCheckBox::TGridCheckBox(plat::TComponent* AOwner) : plat::TCheckBox(AOwner), TGridEditorSide(AOwner) {
  if (QWidget* w = Widget()) w->setAutoFillBackground(true);
}

void TGridCheckBox::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  if (!IsKey(Key, {plat::VK_RETURN, plat::VK_ESCAPE, plat::VK_PRIOR, plat::VK_NEXT, plat::VK_END, plat::VK_LEFT,
                   plat::VK_UP, plat::VK_RIGHT, plat::VK_DOWN}))
    return plat::TCheckBox::KeyDown(Key, Shift);
  const std::uint16_t k = Key;
  Key = 0;
  if (k == plat::VK_ESCAPE) SetCaption(FGrid->CurrentCell());
  FGrid->HideInplaceEdit();
  FocusGrid();
  if (k == plat::VK_RETURN) {
    FGrid->EditorAdvance(Shift.Contains(plat::ssShift));
  } else if (k == plat::VK_UP || k == plat::VK_DOWN) {
    std::uint16_t pass = k;
    FGrid->PassKeyToGrid(pass, Shift);
  }
}

void TGridCheckBox::Dispatch(plat::TMessage& Message) {
  if (Message.Msg == plat::WM_KILLFOCUS) FocusLost();
  plat::TCheckBox::Dispatch(Message);
}

// ---------------------------------------------------------------- push button

TGridButton::TGridButton(plat::TComponent* AOwner) : plat::TButton(AOwner), TGridEditorSide(AOwner) {}

void TGridButton::Pressed() {
  QString s = Caption();
  if (FGrid->OnEllipsClick) FGrid->OnEllipsClick(FGrid, FGrid->RealCol(), FGrid->Row(), s);
  SetCaption(s);
  FGrid->SetCurrentCellText(s);
}

void TGridButton::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  if (IsKey(Key, {plat::VK_LEFT, plat::VK_UP, plat::VK_RIGHT, plat::VK_DOWN})) {
    std::uint16_t k = Key;
    Key = 0;
    SetVisible(false);
    SetEnabled(false);
    FGrid->EditState().EditMode = false;
    FocusGrid();
    FGrid->PassKeyToGrid(k, Shift);
    return;
  }
  if (Key == plat::VK_ESCAPE) {
    Key = 0;
    SetVisible(false);
    SetEnabled(false);
    FGrid->EditState().EditMode = false;
    FocusGrid();
    FGrid->RestoreCellCache();
    std::uint16_t esc = plat::VK_ESCAPE;  // the grid's own key handling hears the Escape too
    FGrid->PassKeyToGrid(esc, Shift);
    return;
  }
  plat::TButton::KeyDown(Key, Shift);
}

void TGridButton::Dispatch(plat::TMessage& Message) {
  if (WantsSpecial(Message, {plat::VK_ESCAPE, plat::VK_LEFT, plat::VK_UP, plat::VK_RIGHT, plat::VK_DOWN})) return;
  if (Message.Msg == plat::WM_KILLFOCUS) FocusLost();
  if (Message.Msg == plat::WM_KEYUP && Message.WParam == plat::VK_SPACE) {
    Pressed();
    return;
  }
  if (Message.Msg == plat::WM_LBUTTONUP) {
    plat::TButton::Dispatch(Message);
    if (Visible()) Pressed();
    return;
  }
  plat::TButton::Dispatch(Message);
}

}  // namespace grid
