#include "windows/insert_key_wireless.h"

#include "windows/window_frame.h"

TFInsertKeyWireless* FInsertKeyWireless = nullptr;

TFInsertKeyWireless::TFInsertKeyWireless(plat::TComponent* AOwner) : plat::TForm(AOwner) {
  SetName(QStringLiteral("FInsertKeyWireless"));
  Setup_Window(this);
}

void TFInsertKeyWireless::DoCreate() {
  FInsertKeyWireless = this;
  Set_Lang();
  plat::TForm::DoCreate();
}

void TFInsertKeyWireless::Set_Lang() {}
