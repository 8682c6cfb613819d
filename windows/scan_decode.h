#pragma once
// The Scan & Decode window. For now an empty window with its name and texts, created at start like
// every other window.

#include <QString>

#include "platform/forms/forms.h"

class TFScanDecode : public plat::TForm {
 public:
  explicit TFScanDecode(plat::TComponent* AOwner);
  // Set by the main window before each showing.
  int XML_Code_Dev = 0;
  QString FileName_MBus;
  int Form_Type = 0;

  void Set_Lang();

 protected:
  void DoCreate() override;
};

extern TFScanDecode* FScanDecode;
