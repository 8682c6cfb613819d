#pragma once
// The wireless key dialog of the Scan & Decode window. For now an empty window with its name and texts, created at start like
// every other window.

#include "platform/forms/forms.h"

class TFInsertKeyWireless : public plat::TForm {
 public:
  explicit TFInsertKeyWireless(plat::TComponent* AOwner);

  void Set_Lang();

 protected:
  void DoCreate() override;
};

extern TFInsertKeyWireless* FInsertKeyWireless;
