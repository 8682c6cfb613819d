#include "windows/meter_bus.h"

#include "core/lang_texts.h"
#include "windows/window_frame.h"

TFMeter_Bus* FMeter_Bus = nullptr;

TFMeter_Bus::TFMeter_Bus(plat::TComponent* AOwner) : plat::TForm(AOwner) {
  SetName(QStringLiteral("FMeter_Bus"));
  Setup_Window(this);
}

void TFMeter_Bus::DoCreate() {
  FMeter_Bus = this;
  Set_Lang();
  plat::TForm::DoCreate();
}

void TFMeter_Bus::Set_Lang() {
  SetCaption(Lang_Texts.value(127));
}
