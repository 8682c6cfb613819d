#pragma once
// The main window: start-up of the shared state (folders, settings, texts, last configuration), the numbered
// steps that open the other windows, the update-check timer, the links, and the settings file at close.

#include <QUrl>

#include <memory>

#include "controls/lb_button.h"
#include "platform/forms/extctrls.h"
#include "platform/forms/forms.h"
#include "platform/forms/stdctrls.h"
#include "platform/xml/xmldocument.h"
#include "windows/settings_file.h"
#include "windows/version_check.h"
#include "windows/window_frame.h"

class TFTessaroneFirmWare : public plat::TForm {
 public:
  explicit TFTessaroneFirmWare(plat::TComponent* AOwner);
  ~TFTessaroneFirmWare() override;

  plat::TLabel* L_SW_Code;
  plat::TLabel* L_SW_Desc;
  plat::TLabel* L_Begin;
  plat::TLabel* L_Step[9];  // L_Step_1 .. L_Step_8 at 1..8
  plat::TShape* Shape1;
  plat::TShape* Shape2;
  plat::TLabel* L_Name_Conf;
  plat::TLabel* L_Name_Conf_L2;
  controls::TLbButton* Btn_New;
  controls::TLbButton* Btn_Open;
  controls::TLbButton* Btn_Prm_Gen;
  controls::TLbButton* Btn_MBus;
  controls::TLbButton* Btn_CreateBin;
  controls::TLbButton* Btn_ScanDecode;
  controls::TLbButton* Btn_Info;
  controls::TLbButton* Btn_Opz;
  controls::TLbButton* Btn_Close;
  TLinkLabel* L_Veltrum;
  TLinkLabel* LL_Update;
  plat::TTimer* Timer_Update;
  plat::TXMLDocument XML1;
  // The HTTP client of the version check.
  std::unique_ptr<TVersionCheck> HTTP1;

  // How the settings file read at start-up went (a malformed file is kept beside the new one at close).
  TSettingsRead Settings_Read = TSettingsRead::Missing;

  void FormCreate();
  void FormClose(plat::TCloseAction& Action);
  void Btn_Click(plat::TObject* Sender);
  void Create_New_Project();
  void Open_Project();
  bool Save_Setting();
  void Set_Files();
  void Set_Lang();
  void Change_Language();
  void Timer_UpdateTimer();
  void LL_UpdateLinkClick(const QUrl& Link);
  void L_VeltrumClick();
  // Compiles the open configuration and opens the update window.
  void Update_Device();

 protected:
  void DoCreate() override;
  void DoClose(plat::TCloseAction& Action) override;

 private:
  void Show_Configuration_Lines();
  void Switch_Timer();
};

extern TFTessaroneFirmWare* FTessaroneFirmWare;
