#include "windows/par_gen.h"

#include "core/lang_texts.h"
#include "windows/window_frame.h"

TFParGen* FParGen = nullptr;

TFParGen::TFParGen(plat::TComponent* AOwner) : plat::TForm(AOwner) {
  SetName(QStringLiteral("FParGen"));
  Setup_Window(this);
}

void TFParGen::DoCreate() {
  FParGen = this;
  Set_Lang();
  plat::TForm::DoCreate();
}

void TFParGen::Set_Lang() {
  SetCaption(Lang_Texts.value(90));
}
