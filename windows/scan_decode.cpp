#include "windows/scan_decode.h"

#include "core/lang_texts.h"
#include "scanner/mbus_scan.h"
#include "scanner/wmbus_decode.h"
#include "windows/window_frame.h"

TFScanDecode* FScanDecode = nullptr;

TFScanDecode::TFScanDecode(plat::TComponent* AOwner) : plat::TForm(AOwner) {
  SetName(QStringLiteral("FScanDecode"));
  Setup_Window(this);
  L_Scan_Report = Make_Label(this, "L_Scan_Report", 16, 16);
  L_Scan_Report->Font()->SetColor(plat::clMaroon);
  L_Scan_Report->SetWordWrap(true);  // a long reason wraps inside the window
  L_Scan_Report->SetWidth(ClientWidth() - 32);
  L_Scan_Report->SetVisible(false);
}

void TFScanDecode::DoCreate() {
  FScanDecode = this;
  Set_Lang();
  plat::TForm::DoCreate();
}

void TFScanDecode::Set_Lang() {
  SetCaption(Lang_Texts.value(400));
}

void TFScanDecode::Show_Scan_Report(const TMBusScanDecode& Engine) {
  Show_Scan_Report(Engine.FResult.load(), Engine.Open_Error(), Engine.Full_List_Dropped());
}

void TFScanDecode::Show_Scan_Report(int32_t Result, const QString& Open_Error, uint64_t Ignored_Telegrams) {
  QString Text;
  if (Result == Result_No_Socket) {
    Text = Open_Error;
  } else if (Result == Result_Not_Confirmed) {
    Text = Lang_Text(429);
  } else if (Ignored_Telegrams > 0) {
    Text = QStringLiteral("The list of devices is full (%1): %2 telegrams of further devices were ignored")
               .arg(Max_Wireless_Devices)
               .arg(Ignored_Telegrams);
  }
  L_Scan_Report->SetCaption(Text);
  L_Scan_Report->SetVisible(!Text.isEmpty());
}
