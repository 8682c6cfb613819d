#include "windows/boot_ser.h"

#include <QDir>

#include "core/com_ports.h"
#include "core/lang_texts.h"
#include "windows/main_window.h"

using namespace plat;

TFBootSer* FBootSer = nullptr;

namespace {

QString Text_Of(int Index) { return Index >= 0 && Index < Lang_Texts.size() ? Lang_Texts[Index] : QString(); }

}  // namespace

TFBootSer::TFBootSer(TComponent* AOwner) : TForm(AOwner) {
  SetName(QStringLiteral("FBootSer"));
  Setup_Window(this);
  Frame = Make_Dialog_Frame(this);
  Frame.Btn_OK->SetVisible(false);
  Btn_Cancel = Frame.Btn_Cancel;
  Btn_Next = Make_Control<controls::TLbButton>(Frame.P_Button, "Btn_Next", 0, 9, 100, 26);
  Btn_Update = Make_Control<controls::TLbButton>(Frame.P_Button, "Btn_Update", 0, 9, 200, 26);

  L_Steps1 = Make_Label(this, "L_Steps1", 16, 68);
  L_Steps2 = Make_Label(this, "L_Steps2", 24, 86);
  L_Steps3 = Make_Label(this, "L_Steps3", 24, 102);
  L_Steps4 = Make_Label(this, "L_Steps4", 24, 118);
  L_Steps5 = Make_Label(this, "L_Steps5", 24, 134);
  CB_Com = Make_Control<TComboBox>(this, "CB_Com", 24, 156, 150, 22);
  CB_Com->SetStyle(csDropDownList);
  Btn_COM_List = Make_Control<controls::TLbButton>(this, "Btn_COM_List", 180, 155, 24, 24);
  Btn_COM_List->SetShowHint(true);

  L_Options = Make_Label(this, "L_Options", 16, 68);
  CB_Firmware = Make_Control<TCheckBox>(this, "CB_Firmware", 24, 90, 300, 19);
  CB_Read_Firm = Make_Control<TCheckBox>(this, "CB_Read_Firm", 24, 110, 300, 19);
  CB_Conf = Make_Control<TCheckBox>(this, "CB_Conf", 24, 130, 300, 19);
  CB_Read_Conf = Make_Control<TCheckBox>(this, "CB_Read_Conf", 24, 150, 300, 19);

  Btn_Next->OnClick = [this](TObject*) { Btn_NextClick(); };
  Btn_Update->OnClick = [this](TObject*) { Btn_UpdateClick(); };
  Btn_COM_List->OnClick = [this](TObject*) { Btn_COM_ListClick(); };
}

void TFBootSer::DoCreate() {
  FBootSer = this;
  FormCreate();
  TForm::DoCreate();
}

void TFBootSer::DoShow() {
  FormShow();
  TForm::DoShow();
}

void TFBootSer::FormCreate() {
  Frame.L_SW_Code->SetCaption(SW_Code);
  SetClientWidth(350);
  SetClientHeight(233);
  const int w = Frame.P_Button->ClientWidth();
  Btn_Cancel->SetLeft(w - 8 - Btn_Cancel->Width());
  Btn_Next->SetLeft(Btn_Cancel->Left() - 8 - Btn_Next->Width());
  Btn_Update->SetLeft(w - 8 - Btn_Update->Width());
  for (TCheckBox* cb : {CB_Firmware, CB_Read_Firm, CB_Conf, CB_Read_Conf}) cb->SetChecked(true);
  Set_Lang();
}

void TFBootSer::FormShow() {
  update_ComPort();
  Show_Page(1);
}

void TFBootSer::Show_Page(int Page) {
  const bool first = Page == 1;
  for (TControl* c : std::initializer_list<TControl*>{L_Steps1, L_Steps2, L_Steps3, L_Steps4, L_Steps5, CB_Com,
                                                      Btn_COM_List, Btn_Cancel, Btn_Next})
    c->SetVisible(first);
  for (TControl* c :
       std::initializer_list<TControl*>{L_Options, CB_Firmware, CB_Read_Firm, CB_Conf, CB_Read_Conf, Btn_Update})
    c->SetVisible(!first);
}

QStringList TFBootSer::EnumPorts() { return List_COM_Ports(TTY_Class_Dir); }

void TFBootSer::update_ComPort() {
  const QStringList ports = EnumPorts();
  CB_Com->Items()->Clear();
  for (const QString& p : ports) CB_Com->Items()->Add(p);
  CB_Com->SetItemIndex(ports.isEmpty() ? -1 : 0);
}

void TFBootSer::Btn_COM_ListClick() { update_ComPort(); }

void TFBootSer::Btn_NextClick() {
  if (CB_Com->Text().isEmpty()) {
    MessageDlg(Text_Of(89), mtError, TMsgDlgButtons{mbOK});
    return;
  }
  Show_Page(2);
}

TUpdate_Options TFBootSer::Options() const {
  return TUpdate_Options{CB_Firmware->Checked(), CB_Read_Firm->Checked(), CB_Conf->Checked(),
                         CB_Read_Conf->Checked()};
}

void TFBootSer::Btn_UpdateClick() {
  if (FBusy) return;
  const TUpdater_Call call = Serial_Update_Call(Dev_Type, CB_Com->Text(), Options(), Dir_Master, Dir_Project);
  if (call.Program.isEmpty()) return;
  FBusy = true;
  Btn_Update->SetEnabled(false);
  FTessaroneFirmWare->Start_Program(QDir(Updater_Folder()).filePath(call.Program), call.Arguments, false);
  Btn_Update->SetEnabled(true);
  FBusy = false;
  // A close asked for while the updater ran is dropped: the window stays open.
  SetModalResult(mrNone);
}

void TFBootSer::Set_Lang() {
  SetCaption(Text_Of(73));
  Frame.L_SW_Desc->SetCaption(Text_Of(74));
  L_Steps1->SetCaption(Text_Of(75));
  L_Steps2->SetCaption(Text_Of(76));
  L_Steps3->SetCaption(Text_Of(77));
  L_Steps4->SetCaption(Text_Of(78));
  L_Steps5->SetCaption(Text_Of(79));
  Btn_COM_List->SetHint(Text_Of(80));
  L_Options->SetCaption(Text_Of(81));
  CB_Firmware->SetCaption(Text_Of(82));
  CB_Read_Firm->SetCaption(Text_Of(83));
  CB_Conf->SetCaption(Text_Of(84));
  CB_Read_Conf->SetCaption(Text_Of(85));
  Btn_Cancel->SetCaption(Text_Of(86));
  Btn_Next->SetCaption(Text_Of(87));
  Btn_Update->SetCaption(Text_Of(88));
}
