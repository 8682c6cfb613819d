#include "windows/insert_key_wireless.h"

#include "platform/forms/dialogs.h"
#include "windows/window_frame.h"

using namespace plat;

TFInsertKeyWireless* FInsertKeyWireless = nullptr;

TFInsertKeyWireless::TFInsertKeyWireless(TComponent* AOwner) : TForm(AOwner) {
  SetName(QStringLiteral("FInsertKeyWireless"));
  Setup_Window(this);
  SetBorderStyle(bsNone);
  SetPosition(poDesigned);  // the scan window places it at the mouse
  SetClientWidth(481);
  SetClientHeight(47);
  Shape1 = Make_Control<TShape>(this, "Shape1", 0, 0, 481, 47);
  Shape1->Pen()->SetColor(clGray);
  Shape1->Brush()->SetColor(Window_Background);
  L_InsKey = Make_Label(this, "L_InsKey", 10, 16);
  E_Key = Make_Control<TEdit>(this, "E_Key", 120, 12, 250, 21);
  E_Key->SetMaxLength(32);
  E_Key->SetCharCase(ecUpperCase);
  Btn_OK = Make_Control<controls::TLbButton>(this, "Btn_OK", 378, 10, 46, 26);
  Btn_Cancel = Make_Control<controls::TLbButton>(this, "Btn_Cancel", 428, 10, 46, 26);
  Btn_Cancel->SetModalResult(mrCancel);
  Btn_OK->OnClick = [this](TObject* s) { Btn_OKClick(s); };
}

TFInsertKeyWireless::~TFInsertKeyWireless() {
  if (FInsertKeyWireless == this) FInsertKeyWireless = nullptr;
}

void TFInsertKeyWireless::DoCreate() {
  FInsertKeyWireless = this;
  Set_Lang();
  TForm::DoCreate();
}

void TFInsertKeyWireless::Set_Lang() {
  L_InsKey->SetCaption(Lang_Text(600));
  Btn_OK->SetCaption(Lang_Text(601));
  Btn_Cancel->SetCaption(Lang_Text(602));
}

bool TFInsertKeyWireless::Check_Data(const QString& Key) {
  for (const QChar c : Key) {
    if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'))) return false;
  }
  return true;
}

int TFInsertKeyWireless::Key_Error(const QString& Key) {
  if (Key.size() != 32) return 604;
  if (!Check_Data(Key)) return 603;
  return 0;
}

QByteArray TFInsertKeyWireless::Key_Bytes(const QString& Key) { return QByteArray::fromHex(Key.toLatin1()); }

void TFInsertKeyWireless::Btn_OKClick(TObject*) {
  const int error = Key_Error(E_Key->Text());
  if (error != 0) {
    MessageDlg(Lang_Text(error), mtError, TMsgDlgButtons{mbOK});
    return;
  }
  SetModalResult(mrOk);
}
