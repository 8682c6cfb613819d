#pragma once
// The About window: model description, software code, version and document code.

#include "controls/lb_button.h"
#include "platform/forms/extctrls.h"
#include "platform/forms/forms.h"
#include "platform/forms/stdctrls.h"
#include "windows/window_frame.h"

class TFAbout : public plat::TForm {
 public:
  explicit TFAbout(plat::TComponent* AOwner);

  plat::TImage* Image2;      // the maker's logo
  plat::TImage* I_Dastrell;  // the OEM logo, same place
  plat::TLabel* Label1;
  plat::TLabel* Label2;
  plat::TLabel* Label6;
  plat::TLabel* Label9;
  plat::TLabel* Label3;
  plat::TLabel* Label10;
  plat::TLabel* Label8;
  plat::TLabel* Label12;
  TLinkLabel* Label4;
  controls::TLbButton* LbButton1;

  void FormShow();
  void Label4Click();

 protected:
  void DoCreate() override;
  void DoShow() override;
};

extern TFAbout* FAbout;
