#include "windows/new_id_node.h"

#include "core/lang_texts.h"
#include "windows/window_frame.h"

TFNewIDNode* FNewIDNode = nullptr;

TFNewIDNode::TFNewIDNode(plat::TComponent* AOwner) : plat::TForm(AOwner) {
  SetName(QStringLiteral("FNewIDNode"));
  Setup_Window(this);
}

void TFNewIDNode::DoCreate() {
  FNewIDNode = this;
  Set_Lang();
  plat::TForm::DoCreate();
}

void TFNewIDNode::Set_Lang() {
  SetCaption(Lang_Texts.value(257));
}
