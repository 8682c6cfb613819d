#pragma once
// The per-node start-address dialog of the Scan & Decode window: one Modbus start register per found device
// (column 1 of the grid sga, typed by the user) and the two node-register options. The scan window fills the
// rows and reads column 1 and the check boxes back, also when the dialog was not shown.

#include <QString>
#include <QStringList>

#include <functional>

#include "platform/forms/forms.h"
#include "platform/forms/stdctrls.h"
#include "windows/window_frame.h"

namespace grid {
class TExtColumnGrid;
}

class TFModbusStartAdd_SD : public plat::TForm {
 public:
  explicit TFModbusStartAdd_SD(plat::TComponent* AOwner);
  ~TFModbusStartAdd_SD() override;

  TDialogFrame Frame;
  plat::TCheckBox* CB_En_NodeState = nullptr;
  plat::TCheckBox* CB_En_IndNum = nullptr;
  grid::TExtColumnGrid* sga = nullptr;

  void Set_Lang();
  void Btn_OKClick(plat::TObject* Sender);
  // Checks column 1 of every data row in order; shows the message of the first bad row and returns false.
  bool Check_Data();
  // The message for the first bad value of Values (rows 1, 2, ... in order), empty when all pass.
  static QString Check_Values(const QStringList& Values);

  // The scan window's side: one data row per device (column 0 its text, column 1 its proposed start register,
  // "1" where none is given), and column 1 back.
  void Set_Devices(const QStringList& Ids, const QStringList& Starts = {});
  // Set by the scan window while it shows the dialog: after the rows passed their checks, the message that
  // refuses start registers whose registers would collide, empty when they fit.
  std::function<QString()> Check_Starts;
  QStringList Start_Texts() const;
  int Data_Rows = 0;  // rows below the header that hold a device

 protected:
  void DoCreate() override;
};

extern TFModbusStartAdd_SD* FModbusStartAdd_SD;
