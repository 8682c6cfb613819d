#pragma once
// The M-Bus network editor of the open configuration (M_Bus.xml). For now an empty window with its name and texts, created at start like
// every other window.

#include "platform/forms/forms.h"

class TFMeter_Bus : public plat::TForm {
 public:
  explicit TFMeter_Bus(plat::TComponent* AOwner);

  void Set_Lang();

 protected:
  void DoCreate() override;
};

extern TFMeter_Bus* FMeter_Bus;
