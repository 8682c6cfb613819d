#include "windows/scan_modbus_start.h"

#include "platform/forms/dialogs.h"
#include "platform/rtl/strutils.h"

using namespace plat;

TFScanModbusStart* FScanModbusStart = nullptr;

TFScanModbusStart::TFScanModbusStart(TComponent* AOwner) : TForm(AOwner) {
  SetName(QStringLiteral("FScanModbusStart"));
  Setup_Window(this);
  Frame = Make_Dialog_Frame(this);
  SetClientWidth(331);
  SetClientHeight(162);
  Place_Dialog_Buttons(Frame);
  L_StartModAdd = Make_Label(this, "L_StartModAdd", 14, 72);
  E_StartModAdd = Make_Control<TEdit>(this, "E_StartModAdd", 14, 90, 120, 21);
  E_StartModAdd->SetText(QStringLiteral("1"));
  Frame.Btn_OK->OnClick = [this](TObject* s) { Btn_OKClick(s); };
}

TFScanModbusStart::~TFScanModbusStart() {
  if (FScanModbusStart == this) FScanModbusStart = nullptr;
}

void TFScanModbusStart::DoCreate() {
  FScanModbusStart = this;
  Set_Lang();
  TForm::DoCreate();
}

void TFScanModbusStart::Set_Lang() {
  SetCaption(Lang_Text(500));
  Frame.L_SW_Code->SetCaption(Lang_Text(501));
  Frame.L_SW_Desc->SetCaption(Lang_Text(502));
  L_StartModAdd->SetCaption(Lang_Text(503));
  Frame.Btn_OK->SetCaption(Lang_Text(504));
  Frame.Btn_Cancel->SetCaption(Lang_Text(505));
}

int TFScanModbusStart::Start_Value(const QString& Text) {
  int v = -1;
  return TryStrToInt(Text, v) ? v : -1;
}

void TFScanModbusStart::Btn_OKClick(TObject*) {
  const int v = Start_Value(E_StartModAdd->Text());
  if (v < 1 || v > 65535) {
    MessageDlg(Lang_Text(506), mtError, TMsgDlgButtons{mbOK});
    return;
  }
  if (Check_Start) {
    const QString collision = Check_Start(v);
    if (!collision.isEmpty()) {
      MessageDlg(collision, mtError, TMsgDlgButtons{mbOK});
      return;
    }
  }
  StartModAdd = v;
  SetModalResult(mrOk);
}
