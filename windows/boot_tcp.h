#pragma once
// The Ethernet update window. For now an empty window with its name and texts, created at start like
// every other window.

#include "platform/forms/forms.h"

class TFBootTCP : public plat::TForm {
 public:
  explicit TFBootTCP(plat::TComponent* AOwner);

  void Set_Lang();

 protected:
  void DoCreate() override;
};

extern TFBootTCP* FBootTCP;
