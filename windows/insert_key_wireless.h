#pragma once
// The wireless key dialog of the Scan & Decode window: a borderless box that takes the 16-byte AES key of an
// encrypted wireless device as 32 hexadecimal characters. The field keeps the last key between uses.

#include <QByteArray>
#include <QString>

#include "controls/lb_button.h"
#include "platform/forms/extctrls.h"
#include "platform/forms/forms.h"
#include "platform/forms/stdctrls.h"

class TFInsertKeyWireless : public plat::TForm {
 public:
  explicit TFInsertKeyWireless(plat::TComponent* AOwner);
  ~TFInsertKeyWireless() override;

  plat::TShape* Shape1 = nullptr;
  plat::TLabel* L_InsKey = nullptr;
  plat::TEdit* E_Key = nullptr;
  controls::TLbButton* Btn_OK = nullptr;
  controls::TLbButton* Btn_Cancel = nullptr;

  void Set_Lang();
  void Btn_OKClick(plat::TObject* Sender);
  // Every character is 0 to 9 or A to F.
  static bool Check_Data(const QString& Key);
  // The text index of the first failing check of Key (604 length, 603 characters), 0 when it passes.
  static int Key_Error(const QString& Key);
  // The 16 bytes of an accepted key: the hexadecimal pairs in order.
  static QByteArray Key_Bytes(const QString& Key);

 protected:
  void DoCreate() override;
};

extern TFInsertKeyWireless* FInsertKeyWireless;
