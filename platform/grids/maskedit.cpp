#include "platform/grids/maskedit.h"

#include <QLineEdit>

namespace plat {

TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner) : TEdit(AOwner) {}

void TCustomMaskEdit::SetEditMask(const QString& Value) {
  const QString value = GetText();
  FMaskText = Value;
  FMask = TEditMask(Value);
  if (IsMasked()) {
    SetEditText(FMask.Display(value));
  } else {
    SetEditText(value);
  }
}

void TCustomMaskEdit::SetEditText(const QString& Value) {
  FText = Value;
  TEdit::TextChanged();
}

QString TCustomMaskEdit::GetText() const {
  const QString shown = TEdit::GetText();
  return IsMasked() ? FMask.Value(shown) : shown;
}

void TCustomMaskEdit::TextChanged() {
  if (IsMasked()) FText = FMask.Display(FText);
  TEdit::TextChanged();
}

bool TCustomMaskEdit::MaskedChar(char16_t Ch) {
  if (ReadOnly() || Ch < 0x20) return false;
  QString shown = EditText();
  int caret = SelStart();
  if (!FMask.Type(shown, caret, SelLength(), QChar(Ch))) return true;  // refused: the key is eaten
  LineEdit()->setText(shown);
  LineEdit()->setCursorPosition(caret);
  LineEdit()->setModified(true);
  return true;
}

bool TCustomMaskEdit::MaskedClear(bool Backwards) {
  if (ReadOnly()) return true;
  QString shown = EditText();
  int caret = SelStart();
  if (SelLength() > 0) {
    // A selection empties every input position in it.
    const int end = caret + SelLength();
    for (int i = caret; i < end; ++i) {
      if (FMask.NextInput(i) == i) shown[i] = FMask.Blank();
    }
  } else if (!FMask.Clear(shown, caret, Backwards)) {
    return true;
  }
  LineEdit()->setText(shown);
  LineEdit()->setCursorPosition(caret);
  LineEdit()->setModified(true);
  return true;
}

void TCustomMaskEdit::Dispatch(TMessage& M) {
  if (IsMasked()) {
    if (M.Msg == WM_CHAR && M.WParam >= 0x20) {
      if (!DoKeyPress(M)) MaskedChar(static_cast<char16_t>(M.WParam));
      return;
    }
    if (M.Msg == WM_CHAR && M.WParam == VK_BACK) {
      if (!DoKeyPress(M)) MaskedClear(true);
      return;
    }
    if (M.Msg == WM_KEYDOWN && M.WParam == VK_DELETE) {
      if (!DoKeyDown(M)) MaskedClear(false);
      return;
    }
  }
  TEdit::Dispatch(M);
}

}  // namespace plat
