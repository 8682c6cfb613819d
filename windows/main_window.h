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
#include "windows/soft_options.h"
#include "windows/version_check.h"
#include "windows/window_frame.h"

class TFTessaroneFirmWare : public plat::TForm, public TOptions_Host {
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
  void Change_Language() override;
  TVersionCheck& Version_Client() override { return *HTTP1; }
  void Timer_UpdateTimer();
  void LL_UpdateLinkClick(const QUrl& Link);
  void L_VeltrumClick();
  // Compiles the open configuration, writes its bank images and opens the update window.
  void Update_Device();
  // The device variant stored in ParGen.xml (types 1, 1001, 2 and 3; 0 otherwise); also the compiler's
  // Bank_Sel_Dev.
  int Select_Type_427();
  // Starts the program NomeSW with the argument list Parameter in the updater folder and waits for its end, at
  // most Updater_Run.Wait_Limit_Ms, while the windows keep repainting; the program is never ended from here.
  // False, after an error box that says why, when it cannot be started. tipo (start hidden) has no meaning
  // for a program without a window of its own and is ignored.
  bool Start_Program(const QString& NomeSW, const QStringList& Parameter, bool tipo);

 protected:
  void DoCreate() override;
  void DoClose(plat::TCloseAction& Action) override;

 private:
  void Show_Configuration_Lines();
  void Switch_Timer();
};

extern TFTessaroneFirmWare* FTessaroneFirmWare;
