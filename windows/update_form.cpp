#include "windows/update_form.h"

using namespace plat;

TUpdateForm::TUpdateForm(TComponent* AOwner, const QString& Name) : TForm(AOwner) {
  SetName(Name);
  Setup_Window(this);
  Frame = Make_Dialog_Frame(this);
  Frame.Btn_OK->SetVisible(false);
  Btn_Cancel = Frame.Btn_Cancel;
  Btn_Next = Make_Control<controls::TLbButton>(Frame.P_Button, "Btn_Next", 0, 9, 100, 26);
  Btn_Update = Make_Control<controls::TLbButton>(Frame.P_Button, "Btn_Update", 0, 9, 200, 26);
}

void TUpdateForm::Make_Options_Page() {
  L_Options = Make_Label(this, "L_Options", 16, 68);
  CB_Firmware = Make_Control<TCheckBox>(this, "CB_Firmware", 24, 90, 300, 19);
  CB_Read_Firm = Make_Control<TCheckBox>(this, "CB_Read_Firm", 24, 110, 300, 19);
  CB_Conf = Make_Control<TCheckBox>(this, "CB_Conf", 24, 130, 300, 19);
  CB_Read_Conf = Make_Control<TCheckBox>(this, "CB_Read_Conf", 24, 150, 300, 19);
}

void TUpdateForm::Layout_Update_Form() {
  Frame.L_SW_Code->SetCaption(SW_Code);
  SetClientWidth(350);
  SetClientHeight(233);
  const int w = Frame.P_Button->ClientWidth();
  Btn_Cancel->SetLeft(w - 8 - Btn_Cancel->Width());
  Btn_Next->SetLeft(Btn_Cancel->Left() - 8 - Btn_Next->Width());
  Btn_Update->SetLeft(w - 8 - Btn_Update->Width());
  for (TCheckBox* cb : {CB_Firmware, CB_Read_Firm, CB_Conf, CB_Read_Conf}) cb->SetChecked(true);
}

void TUpdateForm::Show_Update_Page(int Page, std::initializer_list<TControl*> First_Page) {
  const bool first = Page == 1;
  for (TControl* c : First_Page) c->SetVisible(first);
  for (TControl* c : std::initializer_list<TControl*>{Btn_Cancel, Btn_Next}) c->SetVisible(first);
  for (TControl* c :
       std::initializer_list<TControl*>{L_Options, CB_Firmware, CB_Read_Firm, CB_Conf, CB_Read_Conf, Btn_Update})
    c->SetVisible(!first);
}

TUpdate_Options TUpdateForm::Options() const {
  return TUpdate_Options{CB_Firmware->Checked(), CB_Read_Firm->Checked(), CB_Conf->Checked(),
                         CB_Read_Conf->Checked()};
}
