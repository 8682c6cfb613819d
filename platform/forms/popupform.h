// A window that drops down from a control: borderless, above every other window of the program, and given
// the keyboard and mouse while it is shown. The window system closes such a window when the user clicks
// outside it or another window becomes active; the form learns of that as WM_ACTIVATE with WA_INACTIVE
// (LParam: the handle of the control of this program under the mouse, 0 for none) and decides itself
// whether it hides. A form that does not handle the message stays open.
#pragma once

#include "platform/forms/forms.h"

namespace plat {

constexpr WPARAM WA_INACTIVE = 0;
constexpr WPARAM WA_ACTIVE = 1;

class TPopupForm : public TCustomForm {
 public:
  explicit TPopupForm(TComponent* AOwner);

  // A popup keeps its borderless popup window whatever border style is asked for.
  void SetBorderStyle(TFormBorderStyle) {}
  void Dispatch(TMessage& Message) override;
};

}  // namespace plat
