#include "windows/scan_decode.h"

#include "core/lang_texts.h"
#include "windows/window_frame.h"

TFScanDecode* FScanDecode = nullptr;

TFScanDecode::TFScanDecode(plat::TComponent* AOwner) : plat::TForm(AOwner) {
  SetName(QStringLiteral("FScanDecode"));
  Setup_Window(this);
}

void TFScanDecode::DoCreate() {
  FScanDecode = this;
  Set_Lang();
  plat::TForm::DoCreate();
}

void TFScanDecode::Set_Lang() {
  SetCaption(Lang_Texts.value(400));
}
