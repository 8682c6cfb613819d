// A one-line edit that can hold an edit mask (see editmask.h): with a mask the edit shows the mask's
// literals and blanks, typed characters land on the input positions that take them, and Backspace and
// Delete empty input positions instead of removing characters. Without a mask it is a plain edit.
#pragma once

#include <QString>

#include "platform/forms/stdctrls.h"
#include "platform/grids/editmask.h"

namespace plat {

class TCustomMaskEdit : public TEdit {
 public:
  explicit TCustomMaskEdit(TComponent* AOwner);

  QString EditMask() const { return FMaskText; }
  void SetEditMask(const QString& Value);
  bool IsMasked() const { return !FMask.Empty(); }
  // The shown text, blanks and literals included.
  QString EditText() const { return TEdit::GetText(); }
  void SetEditText(const QString& Value);
  // Every required input position holds a character.
  bool MaskComplete() const { return !IsMasked() || FMask.Complete(EditText()); }

  void Dispatch(TMessage& Message) override;

 protected:
  // With a mask, the value: empty positions as spaces, literals only when the mask saves them.
  QString GetText() const override;
  void TextChanged() override;

 private:
  bool MaskedChar(char16_t Ch);
  bool MaskedClear(bool Backwards);
  QString FMaskText;
  TEditMask FMask;
};

}  // namespace plat
