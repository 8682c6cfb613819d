#pragma once
// The new-configuration dialog: asks for a name and creates the configuration's folder with its bin folder.

#include "platform/forms/forms.h"
#include "platform/forms/stdctrls.h"
#include "windows/window_frame.h"

class TFNew_Project : public plat::TForm {
 public:
  explicit TFNew_Project(plat::TComponent* AOwner);

  TDialogFrame Frame;
  plat::TLabel* Label1;
  plat::TEdit* E_New_Proj;

  void FormCreate();
  void FormShow();
  void E_New_ProjKeyPress(char16_t& Key);
  void Btn_OKClick();
  void Set_Lang();

 protected:
  void DoCreate() override;
  void DoShow() override;
};

extern TFNew_Project* FNew_Project;
