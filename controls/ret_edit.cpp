#include "controls/ret_edit.h"

#include "platform/forms/keys.h"

namespace controls {

void TRetEdit::KeyDown(std::uint16_t& Key, plat::TShiftState Shift) {
  if (Key != plat::VK_RETURN) return plat::TEdit::KeyDown(Key, Shift);
  if (Shift.Contains(plat::ssCtrl)) {
    if (OnCtrlReturn) OnCtrlReturn(this);
  } else if (OnReturn) {
    OnReturn(this);
  }
  Key = 0;
}

void TRetEdit::KeyPress(char16_t& Key) {
  if (Key != 10 && Key != 13) return plat::TEdit::KeyPress(Key);
  if (OnKeyPress) OnKeyPress(this, Key);
  Key = 0;
}

}  // namespace controls
