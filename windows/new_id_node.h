#pragma once
// The new node ID dialog of the network editor. For now an empty window with its name and texts, created at start like
// every other window.

#include "platform/forms/forms.h"

class TFNewIDNode : public plat::TForm {
 public:
  explicit TFNewIDNode(plat::TComponent* AOwner);

  void Set_Lang();

 protected:
  void DoCreate() override;
};

extern TFNewIDNode* FNewIDNode;
