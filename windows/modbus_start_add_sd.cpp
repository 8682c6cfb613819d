#include "windows/modbus_start_add_sd.h"

#include "core/lang_texts.h"
#include "windows/window_frame.h"

TFModbusStartAdd_SD* FModbusStartAdd_SD = nullptr;

TFModbusStartAdd_SD::TFModbusStartAdd_SD(plat::TComponent* AOwner) : plat::TForm(AOwner) {
  SetName(QStringLiteral("FModbusStartAdd_SD"));
  Setup_Window(this);
}

void TFModbusStartAdd_SD::DoCreate() {
  FModbusStartAdd_SD = this;
  Set_Lang();
  plat::TForm::DoCreate();
}

void TFModbusStartAdd_SD::Set_Lang() {
  SetCaption(Lang_Texts.value(700));
}
