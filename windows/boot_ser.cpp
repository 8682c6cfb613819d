#include "windows/boot_ser.h"

#include "core/lang_texts.h"
#include "windows/window_frame.h"

TFBootSer* FBootSer = nullptr;

TFBootSer::TFBootSer(plat::TComponent* AOwner) : plat::TForm(AOwner) {
  SetName(QStringLiteral("FBootSer"));
  Setup_Window(this);
}

void TFBootSer::DoCreate() {
  FBootSer = this;
  Set_Lang();
  plat::TForm::DoCreate();
}

void TFBootSer::Set_Lang() {
  SetCaption(Lang_Texts.value(73));
}
