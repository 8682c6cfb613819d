#pragma once
// The per-node start-address dialog of the Scan & Decode window. For now an empty window with its name and texts, created at start like
// every other window.

#include "platform/forms/forms.h"

class TFModbusStartAdd_SD : public plat::TForm {
 public:
  explicit TFModbusStartAdd_SD(plat::TComponent* AOwner);

  void Set_Lang();

 protected:
  void DoCreate() override;
};

extern TFModbusStartAdd_SD* FModbusStartAdd_SD;
