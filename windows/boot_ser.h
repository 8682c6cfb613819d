#pragma once
// The serial update window. For now an empty window with its name and texts, created at start like
// every other window.

#include "platform/forms/forms.h"

class TFBootSer : public plat::TForm {
 public:
  explicit TFBootSer(plat::TComponent* AOwner);

  void Set_Lang();

 protected:
  void DoCreate() override;
};

extern TFBootSer* FBootSer;
