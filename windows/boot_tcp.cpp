#include "windows/boot_tcp.h"

#include "core/lang_texts.h"
#include "windows/window_frame.h"

TFBootTCP* FBootTCP = nullptr;

TFBootTCP::TFBootTCP(plat::TComponent* AOwner) : plat::TForm(AOwner) {
  SetName(QStringLiteral("FBootTCP"));
  Setup_Window(this);
}

void TFBootTCP::DoCreate() {
  FBootTCP = this;
  Set_Lang();
  plat::TForm::DoCreate();
}

void TFBootTCP::Set_Lang() {
  SetCaption(Lang_Texts.value(57));
}
