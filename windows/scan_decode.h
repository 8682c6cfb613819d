#pragma once
// The Scan & Decode window. For now a window with its name and texts, created at start like every other
// window, and the line that reports how the last scan ended when that needs saying.

#include <QString>

#include <cstdint>

#include "platform/forms/forms.h"
#include "platform/forms/stdctrls.h"

class TMBusScanDecode;

class TFScanDecode : public plat::TForm {
 public:
  explicit TFScanDecode(plat::TComponent* AOwner);
  // Set by the main window before each showing.
  int XML_Code_Dev = 0;
  QString FileName_MBus;
  int Form_Type = 0;

  // Hidden while there is nothing to report.
  plat::TLabel* L_Scan_Report;

  void Set_Lang();

  // Shows what the user must know about the scanner's last scan: that it could not open its socket (with the
  // system's reason, such as the port being in use), that the converter did not confirm its mode, or that the
  // list of heard wireless devices is full and telegrams of further devices were ignored.
  void Show_Scan_Report(const TMBusScanDecode& Engine);
  void Show_Scan_Report(int32_t Result, const QString& Open_Error, uint64_t Ignored_Telegrams);

 protected:
  void DoCreate() override;
};

extern TFScanDecode* FScanDecode;
