#pragma once
// The start-register dialog of the Scan & Decode window: the first Modbus register of a scan appended to an
// existing network file. OK takes 1..65535 into StartModAdd.

#include <QString>

#include <functional>

#include "platform/forms/forms.h"
#include "platform/forms/stdctrls.h"
#include "windows/window_frame.h"

class TFScanModbusStart : public plat::TForm {
 public:
  explicit TFScanModbusStart(plat::TComponent* AOwner);
  ~TFScanModbusStart() override;

  TDialogFrame Frame;
  plat::TLabel* L_StartModAdd = nullptr;
  plat::TEdit* E_StartModAdd = nullptr;
  int StartModAdd = 1;  // the accepted start register
  // Set by the scan window while it shows the dialog: the message that refuses a start register whose
  // registers would collide with the network, empty when it fits.
  std::function<QString(int Start)> Check_Start;

  void Set_Lang();
  void Btn_OKClick(plat::TObject* Sender);
  // The register of Text, or -1 when it is no number.
  static int Start_Value(const QString& Text);

 protected:
  void DoCreate() override;
};

extern TFScanModbusStart* FScanModbusStart;
