#pragma once
// What the two update windows share: the dialog frame whose OK button stays hidden (Next and Update take its
// place), the page of the four update options, the window's size and the switch between its two pages.

#include <QString>

#include <cstdint>
#include <initializer_list>

#include "controls/lb_button.h"
#include "core/device_model.h"
#include "platform/forms/forms.h"
#include "platform/forms/stdctrls.h"
#include "windows/update_commands.h"
#include "windows/window_frame.h"

class TUpdateForm : public plat::TForm {
 public:
  TDialogFrame Frame;
  plat::TLabel* L_Options = nullptr;
  plat::TCheckBox* CB_Firmware = nullptr;
  plat::TCheckBox* CB_Read_Firm = nullptr;
  plat::TCheckBox* CB_Conf = nullptr;
  plat::TCheckBox* CB_Read_Conf = nullptr;
  controls::TLbButton* Btn_Cancel = nullptr;
  controls::TLbButton* Btn_Next = nullptr;
  controls::TLbButton* Btn_Update = nullptr;

  // The model whose updater starts (the build's model; tests may set another).
  int32_t Dev_Type = Device_Type;

  TUpdate_Options Options() const;
  // True while an updater (or the ping test) runs: the buttons are disabled and the window does not close.
  bool Busy() const { return FBusy; }

 protected:
  // Names the window and makes the frame with Next and Update in the button panel.
  TUpdateForm(plat::TComponent* AOwner, const QString& Name);
  // The second page: the options label and the four check boxes.
  void Make_Options_Page();
  // The window's size, the buttons' places and every option checked.
  void Layout_Update_Form();
  // Page 1 shows First_Page with Cancel and Next; page 2 the options with Update.
  void Show_Update_Page(int Page, std::initializer_list<plat::TControl*> First_Page);

  bool FBusy = false;
};
