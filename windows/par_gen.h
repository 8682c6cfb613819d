#pragma once
// The communication settings of the open configuration (ParGen.xml). For now an empty window with its name and texts, created at start like
// every other window.

#include "platform/forms/forms.h"

class TFParGen : public plat::TForm {
 public:
  explicit TFParGen(plat::TComponent* AOwner);

  void Set_Lang();

 protected:
  void DoCreate() override;
};

extern TFParGen* FParGen;
