#pragma once
// The serial update window: page 1 chooses the serial port, page 2 the four update options and starts the
// model's serial updater.

#include <QString>
#include <QStringList>

#include <cstdint>

#include "controls/lb_button.h"
#include "core/device_model.h"
#include "platform/forms/forms.h"
#include "platform/forms/stdctrls.h"
#include "windows/update_commands.h"
#include "windows/window_frame.h"

class TFBootSer : public plat::TForm {
 public:
  explicit TFBootSer(plat::TComponent* AOwner);

  TDialogFrame Frame;  // its OK button stays hidden: Next and Update take its place
  plat::TLabel* L_Steps1;
  plat::TLabel* L_Steps2;
  plat::TLabel* L_Steps3;
  plat::TLabel* L_Steps4;
  plat::TLabel* L_Steps5;
  plat::TComboBox* CB_Com;
  controls::TLbButton* Btn_COM_List;
  plat::TLabel* L_Options;
  plat::TCheckBox* CB_Firmware;
  plat::TCheckBox* CB_Read_Firm;
  plat::TCheckBox* CB_Conf;
  plat::TCheckBox* CB_Read_Conf;
  controls::TLbButton* Btn_Cancel;
  controls::TLbButton* Btn_Next;
  controls::TLbButton* Btn_Update;

  // The model whose updater starts (the build's model; tests may set another).
  int32_t Dev_Type = Device_Type;
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

  TUpdate_Options Options() const;
  // True while an updater runs: the buttons are disabled and the window does not close.
  bool Busy() const { return FBusy; }

 protected:
  void DoCreate() override;
  void DoShow() override;

 private:
  void Show_Page(int Page);
  bool FBusy = false;
};

extern TFBootSer* FBootSer;
