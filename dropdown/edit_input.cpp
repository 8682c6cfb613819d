// Messages of the drop-down edit: the popup keys, Enter and Escape, the value-part keys, focus, mouse and the
// clipboard.
#include <QLineEdit>

#include "controls/text_utils.h"
#include "dropdown/ext_dropdown.h"
#include "dropdown/number_text.h"
#include "platform/forms/clipboard.h"
#include "platform/forms/forms.h"
#include "platform/forms/keys.h"
#include "platform/forms/msgqueue.h"

namespace dropdown {

using namespace plat;

namespace {

bool KeyHeld(std::uint16_t vk) { return GetKeyState(vk) < 0; }

}  // namespace

void TExtCustomDropDown::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_KEYDOWN:
      if (!EditKeyDown(M)) return;
      break;
    case WM_CHAR: EditChar(M); return;
    case WM_SETFOCUS: SetFocusMessage(M); return;
    case WM_KILLFOCUS: KillFocusMessage(M); return;
    case WM_LBUTTONDOWN: MouseDownMessage(M); return;
    case WM_LBUTTONUP: MouseUpMessage(M); return;
    case WM_CUT: Cut(M); return;
    case WM_COPY: Copy(M); return;
    case WM_PASTE: Paste(); return;
    case WM_PAINT: PaintMessage(M); return;
    case WM_SIZE:
      TCustomMaskEdit::Dispatch(M);
      ResizeControl();
      return;
    case CM_WANTSPECIALKEY: WantSpecialKeyMessage(M); return;
    case WM_MOUSEWHEEL: {
      TCustomMaskEdit::Dispatch(M);
      if (TWMMouseWheel(M).WheelDelta() < 0)
        HandleMouseWheelDown();
      else
        HandleMouseWheelUp();
      return;
    }
    case CM_ENTER:
      TCustomMaskEdit::Dispatch(M);
      SetEditRect();
      DrawBorder();
      return;
    case CM_EXIT:
      TCustomMaskEdit::Dispatch(M);
      DrawBorder();
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      TCustomMaskEdit::Dispatch(M);
      if (Enabled()) {
        FMouseInControl = M.Msg == CM_MOUSEENTER;
        DrawBorder();
      }
      return;
    default: break;
  }
  HandleWindowMessage(M);
}

void TExtCustomDropDown::HandleWindowMessage(TMessage& M) {
  TCustomMaskEdit::Dispatch(M);
  if (M.Msg == EM_SETREADONLY && FButton) FButton->SpeedButton()->Invalidate();
}

void TExtCustomDropDown::HandleChange() {
  if (FBlockChange) {
    FBlockChange = false;
    return;
  }
  TCustomMaskEdit::Change();
}

// ---- key-down ---------------------------------------------------------------------------------------------

void TExtCustomDropDown::HandleKeyDown(std::uint16_t& Key, TShiftState Shift) {
  TCustomMaskEdit::KeyDown(Key, Shift);
  if (FAltToggled) return;
  if (Shift.Contains(ssAlt) && (Key == VK_UP || Key == VK_DOWN)) {
    if (FDroppedDown)
      DoHideDropDown(false);
    else
      DoShowDropDown();
  }
}

void TExtCustomDropDown::HandleKeyPress(char16_t& Key) {
  TCustomMaskEdit::KeyPress(Key);
  if (Key == u'\r') Key = 0;
}

void TExtCustomDropDown::PopupKeys(std::uint16_t Key) {
  switch (Key) {
    case VK_RETURN: DoHideDropDown(false); break;
    case VK_ESCAPE: DoHideDropDown(true); break;
    case VK_F4:
      if (FDropDownForm && FDropDownForm->Visible())
        DoHideDropDown(false);
      else
        DoShowDropDown();
      break;
    default: break;
  }
}

// False when the message is fully handled.
bool TExtCustomDropDown::EditKeyDown(TMessage& M) {
  auto key = static_cast<std::uint16_t>(M.WParam);
  if (!FEditorEnabled) {
    if (!Enabled()) return false;
    if (!ReadOnly()) PopupKeys(key);
    if (key == VK_RETURN || key == VK_ESCAPE) TCustomMaskEdit::Dispatch(M);
    return false;
  }
  FAltToggled = false;
  if (KeyHeld(VK_MENU) && (key == VK_UP || key == VK_DOWN)) {
    if (FDroppedDown)
      DoHideDropDown(false);
    else
      DoShowDropDown();
    FAltToggled = true;
  }
  if (KeyHeld(VK_CONTROL) && (key == VK_TAB || key == VK_RETURN)) {
    TCustomMaskEdit::Dispatch(M);
    FAltToggled = false;
    return false;
  }
  if (key == VK_RETURN && FReturnIsTab) {
    key = VK_TAB;
    M.WParam = key;
    if (Visible()) PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
  }
  const TShiftState shift = KeyDataToShiftState(M.LParam);
  if (!EditKeyDownValueRules(M, key, shift)) {
    FAltToggled = false;
    return false;
  }
  if (key == VK_DELETE && ValueStart() <= SelStart()) SetModified(true);
  TCustomMaskEdit::Dispatch(M);
  FAltToggled = false;
  if (key == VK_DELETE && FEditType == etMoney) ApplyThousandSeparators();
  if (!FPrefix.isEmpty() && SelStart() < ValueStart() && SelLength() == 0) SetSelStart(ValueStart());
  PopupKeys(key);
  return false;
}

// The keys that keep the caret in the value part; false swallows the key.
bool TExtCustomDropDown::EditKeyDownValueRules(TMessage&, std::uint16_t Key, TShiftState Shift) {
  const int start = SelStart(), length = SelLength(), end = start + length;
  const int valueStart = ValueStart(), valueEnd = ValueEnd();
  const bool shift = Shift.Contains(ssShift) || KeyHeld(VK_SHIFT);
  QLineEdit* e = LineEdit();
  if (!FSuffix.isEmpty()) {
    if (Key == VK_RIGHT && end >= valueEnd) return false;
    if (Key == VK_DELETE && start >= valueEnd && length == 0) return false;
    if (Key == VK_END) {
      if (shift)
        e->setSelection(start, valueEnd - start);
      else
        SetSelStart(valueEnd);
      return false;
    }
  }
  if (!FPrefix.isEmpty()) {
    if (Key == VK_LEFT && end <= valueStart) return false;
    if (Key == VK_HOME) {
      if (shift)
        e->setSelection(valueEnd, valueStart - valueEnd);  // the whole value, the caret at its start
      else
        SetSelStart(valueStart);
      return false;
    }
    if (Key == VK_BACK) {
      if (start <= valueStart + 1) return false;
      SetModified(true);
    }
  }
  if (Key == VK_DELETE && start >= valueStart && FLengthLimit > 0) {
    QString value = Text();
    const int at = start - valueStart;
    value.remove(at, length > 0 ? length : 1);
    if (IntegerPartEnd(value) - 1 > FLengthLimit) return false;
  }
  return true;
}

// ---- Enter and Escape as characters ---------------------------------------------------------------------

// True when the character is fully handled.
bool TExtCustomDropDown::EnterEscapeChar(TMessage& M, char16_t Key) {
  const bool ctrl = KeyHeld(VK_CONTROL);
  TCustomForm* form = GetParentForm(this);
  const bool preview = form && form->KeyPreview();
  if (ctrl && (Key == u'\r' || Key == 10)) {
    M.Result = 1;
    return true;
  }
  if (Key == u'\r') {
    char16_t k = u'\r';
    if (OnKeyPress) OnKeyPress(this, k);
    if (!FDefaultHandling && Parent()) {
      PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_RETURN, 0);
      if (preview)
        TCustomMaskEdit::Dispatch(M);
      else
        PostMessage(Parent()->Handle(), WM_KEYUP, VK_RETURN, 0);
    }
    return true;
  }
  // Escape.
  if (!FDefaultHandling && Parent()) {
    if (preview) {
      TCustomMaskEdit::Dispatch(M);
      return true;
    }
    PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessage(Parent()->Handle(), WM_KEYUP, VK_ESCAPE, 0);
  }
  if (!FCanUndo) {
    TCustomMaskEdit::Dispatch(M);
    return true;
  }
  return true;
}

void TExtCustomDropDown::WantSpecialKeyMessage(TMessage& M) {
  TCustomForm* form = GetParentForm(this);
  if (!form) return;
  const auto key = static_cast<std::uint16_t>(M.WParam);
  if (!form->KeyPreview()) {
    if (key == VK_ESCAPE && FCanUndo) {
      SelectAll();
      TCustomMaskEdit::SetModified(false);
      M.Result = 0;
      if (Parent() && FDefaultHandling) {
        PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessage(Parent()->Handle(), WM_KEYUP, VK_ESCAPE, 0);
      }
    }
    if (key == VK_RETURN && FDefaultHandling && Parent() && Parent()->Focused()) {
      PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_RETURN, 0);
      PostMessage(Parent()->Handle(), WM_KEYUP, VK_RETURN, 0);
    }
  }
  TCustomMaskEdit::Dispatch(M);
  if (key == VK_ESCAPE && FDroppedDown) M.Result = 1;
}

// ---- focus ------------------------------------------------------------------------------------------------

void TExtCustomDropDown::SetFocusMessage(TMessage& M) {
  TCustomMaskEdit::Dispatch(M);
  if (FEditorEnabled) {
    FOldString = Text();
    if (FAutoSelect)
      SelectAll();
    else if (FEditType == etFloat || FEditType == etMoney)
      SelectBeforeDecimal();
  } else {
    Invalidate();
  }
}

void TExtCustomDropDown::KillFocusMessage(TMessage& M) {
  const QString value = Text();
  if (FPrecision > 0 && (FEditType == etFloat || FEditType == etMoney) &&
      (!value.isEmpty() || !FAllowNumericNullValue)) {
    const bool modified = Modified();
    SetFloatValue(GetFloatValue());
    SetModified(modified);
  }
  if (Text().isEmpty() && !FAllowNumericNullValue) {
    if (FEditType == etNumeric) SetText(QStringLiteral("0"));
    if (FEditType == etFloat || FEditType == etMoney) SetFloatValue(0);
  }
  TCustomMaskEdit::Dispatch(M);
  if (!FEditorEnabled) Invalidate();
}

// ---- mouse ------------------------------------------------------------------------------------------------

void TExtCustomDropDown::MouseDownMessage(TMessage& M) {
  if (!FEditorEnabled) {
    TCustomMaskEdit::Dispatch(M);
    DropDownButtonClick();
    return;
  }
  QLineEdit* e = LineEdit();
  if (Focused() && SelLength() > 0) {
    const TWMMouse mouse(M);
    const int at = e->cursorPositionAt(QPoint(mouse.XPos(), mouse.YPos()));
    // A press inside the selection waits for the release, so that a drag could start.
    if (at >= SelStart() && at <= SelStart() + SelLength()) {
      FButtonDown = true;
      return;
    }
  }
  TCustomMaskEdit::Dispatch(M);
}

void TExtCustomDropDown::MouseUpMessage(TMessage& M) {
  if (!FEditorEnabled || ReadOnly()) Invalidate();
  if (FButtonDown) {
    const TWMMouse mouse(M);
    SetSelStart(LineEdit()->cursorPositionAt(QPoint(mouse.XPos(), mouse.YPos())));
  }
  FButtonDown = false;
  TCustomMaskEdit::Dispatch(M);
  KeepSelectionInValue();
}

void TExtCustomDropDown::KeepSelectionInValue() {
  if (FPrefix.isEmpty() && FSuffix.isEmpty()) return;
  const int start = SelStart(), end = start + SelLength();
  const int valueStart = ValueStart(), valueEnd = ValueEnd();
  if (start < valueStart) {
    LineEdit()->setSelection(valueStart, valueEnd - valueStart);
    return;
  }
  if (FSuffix.isEmpty()) return;
  if (SelLength() == 0 && start > valueEnd) {
    SetSelStart(valueEnd);
  } else if (end > valueEnd) {
    LineEdit()->setSelection(start, valueEnd - start);
  }
}

// ---- clipboard ---------------------------------------------------------------------------------------------

void TExtCustomDropDown::Cut(TMessage& M) {
  if (!FEditorEnabled || ReadOnly()) return;
  FBlockCopy = true;
  bool allow = true;
  if (OnClipboardCut) OnClipboardCut(this, SelText(), allow);
  if (allow) TCustomMaskEdit::Dispatch(M);
  FBlockCopy = false;
}

void TExtCustomDropDown::Copy(TMessage& M) {
  bool allow = true;
  if (OnClipboardCopy && !FBlockCopy) OnClipboardCopy(this, SelText(), allow);
  FBlockCopy = false;
  if (allow) TCustomMaskEdit::Dispatch(M);
}

void TExtCustomDropDown::Paste() {
  if (ReadOnly()) return;
  const QString clip = Clipboard()->AsText();
  if (clip.isEmpty()) return;
  const QString value = Text();
  const int selStart = std::clamp(SelStart() - ValueStart(), 0, static_cast<int>(value.size()));
  const int selLength = std::min(SelLength(), static_cast<int>(value.size()) - selStart);
  const QString newValue = value.left(selStart) + clip + value.mid(selStart + selLength);
  bool allow = true;
  if (OnClipboardPaste) OnClipboardPaste(this, newValue, allow);
  if (!allow) return;
  if (MaxLength() > 0 && clip.size() + value.size() - selLength > MaxLength()) return;
  const QChar d = DecimalSeparator();
  const TNumberClass kind = ClassifyNumber(newValue);
  auto every = [&](auto accept) { return std::all_of(clip.begin(), clip.end(), accept); };
  switch (FEditType) {
    case etString:
    case etPassword: SetText(newValue); break;
    case etNumeric:
      if (kind != ncInteger || (!FSigned && newValue.contains(u'-'))) return;
      SetText(newValue);
      break;
    case etFloat:
    case etMoney:
      if (kind != ncInteger && kind != ncFloat) return;
      if (FPrecision == 0 && clip.contains(d)) return;
      if (!FSigned && newValue.contains(u'-')) return;
      SetText(newValue);
      SetFloatValue(GetFloatValue());
      break;
    case etUppercase: SetText(newValue.toUpper()); break;
    case etLowerCase: SetText(newValue.toLower()); break;
    case etMixedCase: SetText(controls::MixedCase(newValue)); break;
    case etAlphaNumeric:
      if (!every([](QChar c) { return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }))
        return;
      SetText(newValue);
      break;
    case etValidChars:
      if (!every([this](QChar c) { return FValidChars.contains(c); })) return;
      SetText(newValue);
      break;
    case etRange:
    case etHex: return;
  }
  if (FEditType == etMoney && Text().size() > 3) {
    SelectAll();
  } else {
    LineEdit()->setCursorPosition(ValueStart() + selStart + static_cast<int>(clip.size()));
    if (selLength > 0) LineEdit()->setSelection(ValueStart() + selStart, static_cast<int>(clip.size()));
  }
  SetModified(true);
}

}  // namespace dropdown
