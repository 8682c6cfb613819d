#pragma once
// The start-register dialog of the Scan & Decode window. For now an empty window with its name and texts, created at start like
// every other window.

#include "platform/forms/forms.h"

class TFScanModbusStart : public plat::TForm {
 public:
  explicit TFScanModbusStart(plat::TComponent* AOwner);

  void Set_Lang();

 protected:
  void DoCreate() override;
};

extern TFScanModbusStart* FScanModbusStart;
