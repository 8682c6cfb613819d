#include "windows/boot_ser.h"

#include <QDir>
#include <QPainter>

#include "core/com_ports.h"
#include "windows/main_window.h"

using namespace plat;

TFBootSer* FBootSer = nullptr;

TFBootSer::TFBootSer(TComponent* AOwner) : TUpdateForm(AOwner, QStringLiteral("FBootSer")) {
  L_Steps1 = Make_Label(this, "L_Steps1", 16, 68);
  L_Steps2 = Make_Label(this, "L_Steps2", 24, 86);
  L_Steps3 = Make_Label(this, "L_Steps3", 24, 102);
  L_Steps4 = Make_Label(this, "L_Steps4", 24, 118);
  L_Steps5 = Make_Label(this, "L_Steps5", 24, 134);
  CB_Com = Make_Control<TComboBox>(this, "CB_Com", 24, 156, 150, 22);
  CB_Com->SetStyle(csDropDownList);
  Btn_COM_List = Make_Control<controls::TLbButton>(this, "Btn_COM_List", 180, 155, 24, 24);
  Btn_COM_List->SetShowHint(true);
  // A circular arrow: the list of ports is read again.
  Set_Drawn_Glyph(Btn_COM_List, 16, [](QPainter& P) {
    P.setPen(QPen(QColor(60, 60, 60), 2, Qt::SolidLine, Qt::FlatCap));
    P.drawArc(QRectF(2.5, 3.5, 11, 11), 100 * 16, 280 * 16);
    P.setPen(Qt::NoPen);
    P.setBrush(QColor(60, 60, 60));
    P.drawPolygon(QPolygonF({QPointF(7, 1), QPointF(12, 4), QPointF(7, 7.5)}));
  });
  Btn_COM_List->SetAlignment(taLeftJustify);  // the glyph 4 pixels in: centred, as the button has no caption

  Make_Options_Page();

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
  Layout_Update_Form();
  Set_Lang();
}

void TFBootSer::FormShow() {
  update_ComPort();
  Show_Page(1);
}

void TFBootSer::Show_Page(int Page) {
  Show_Update_Page(Page, {L_Steps1, L_Steps2, L_Steps3, L_Steps4, L_Steps5, CB_Com, Btn_COM_List});
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
    MessageDlg(Lang_Text(89), mtError, TMsgDlgButtons{mbOK});
    return;
  }
  Show_Page(2);
}

void TFBootSer::Btn_UpdateClick() {
  if (FBusy) return;
  const TUpdater_Call call = Serial_Update_Call(Dev_Type, CB_Com->Text(), Options(), Dir_Master, Dir_Project);
  if (call.Program.isEmpty()) return;
  const QString missing = Missing_Firmware_Message(Dev_Type, TFirmware_Route::Serial, Dir_Master, Options());
  if (!missing.isEmpty()) {
    Application->HandleException(this, Exception(missing));
    return;
  }
  FBusy = true;
  Btn_Update->SetEnabled(false);
  FTessaroneFirmWare->Start_Program(QDir(Updater_Folder()).filePath(call.Program), call.Arguments, false);
  Btn_Update->SetEnabled(true);
  FBusy = false;
  // A close asked for while the updater ran is dropped: the window stays open.
  SetModalResult(mrNone);
}

void TFBootSer::Set_Lang() {
  SetCaption(Lang_Text(73));
  Frame.L_SW_Desc->SetCaption(Lang_Text(74));
  L_Steps1->SetCaption(Lang_Text(75));
  L_Steps2->SetCaption(Lang_Text(76));
  L_Steps3->SetCaption(Lang_Text(77));
  L_Steps4->SetCaption(Lang_Text(78));
  L_Steps5->SetCaption(Lang_Text(79));
  Btn_COM_List->SetHint(Lang_Text(80));
  L_Options->SetCaption(Lang_Text(81));
  CB_Firmware->SetCaption(Lang_Text(82));
  CB_Read_Firm->SetCaption(Lang_Text(83));
  CB_Conf->SetCaption(Lang_Text(84));
  CB_Read_Conf->SetCaption(Lang_Text(85));
  Btn_Cancel->SetCaption(Lang_Text(86));
  Btn_Next->SetCaption(Lang_Text(87));
  Btn_Update->SetCaption(Lang_Text(88));
}
