#pragma once
// The serial update window: page 1 chooses the serial port, page 2 the four update options and starts the
// model's serial updater.

#include <QString>
#include <QStringList>

#include <cstdint>

#include "controls/lb_button.h"
#include "platform/forms/stdctrls.h"
#include "windows/update_form.h"

class TFBootSer : public TUpdateForm {
 public:
  explicit TFBootSer(plat::TComponent* AOwner);

  plat::TLabel* L_Steps1;
  plat::TLabel* L_Steps2;
  plat::TLabel* L_Steps3;
  plat::TLabel* L_Steps4;
  plat::TLabel* L_Steps5;
  plat::TComboBox* CB_Com;
  controls::TLbButton* Btn_COM_List;

  // Where the serial ports are listed from (tests point it at a fake tree).
  QString TTY_Class_Dir = QStringLiteral("/sys/class/tty");

  void FormCreate();
  void FormShow();
  void Set_Lang();
  void Btn_NextClick();
  void Btn_UpdateClick();
  void Btn_COM_ListClick();
  void update_ComPort();
  // The serial ports present, by name; the caller owns the list.
  QStringList EnumPorts();

 protected:
  void DoCreate() override;
  void DoShow() override;

 private:
  void Show_Page(int Page);
};

extern TFBootSer* FBootSer;
