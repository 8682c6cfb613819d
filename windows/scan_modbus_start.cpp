#include "windows/scan_modbus_start.h"

#include "core/lang_texts.h"
#include "windows/window_frame.h"

TFScanModbusStart* FScanModbusStart = nullptr;

TFScanModbusStart::TFScanModbusStart(plat::TComponent* AOwner) : plat::TForm(AOwner) {
  SetName(QStringLiteral("FScanModbusStart"));
  Setup_Window(this);
}

void TFScanModbusStart::DoCreate() {
  FScanModbusStart = this;
  Set_Lang();
  plat::TForm::DoCreate();
}

void TFScanModbusStart::Set_Lang() {
  SetCaption(Lang_Texts.value(500));
}
