#pragma once
// The software options: the language (the .lng files of LANGUAGE, six flags to a page) and the connection
// options (internet use, update check at start, check now); and the version check itself.

#include <QStringList>

#include <functional>

#include "controls/lb_button.h"
#include "platform/forms/comctrls.h"
#include "platform/forms/extctrls.h"
#include "platform/forms/forms.h"
#include "platform/forms/stdctrls.h"
#include "windows/window_frame.h"

class TVersionCheck;

// What the options window needs of the main window: to show a new language in every window at once, and the
// one client of the version check, which the main window's timer shares.
class TOptions_Host {
 public:
  virtual void Change_Language() = 0;
  virtual TVersionCheck& Version_Client() = 0;

 protected:
  ~TOptions_Host() = default;
};

class TFSoftOptions : public plat::TForm {
 public:
  explicit TFSoftOptions(plat::TComponent* AOwner);

  // The window it serves; the program sets it when it creates the windows.
  void Set_Host(TOptions_Host* Host) { FHost = Host; }

  TDialogFrame Frame;
  plat::TPageControl* PC_Options;
  plat::TTabSheet* TS_Language;
  plat::TTabSheet* TS_Con_Options;
  plat::TLabel* L_Sel_Lang;
  plat::TImage* I_L[7];  // I_L1 .. I_L6 at 1..6
  plat::TLabel* L_L[7];  // L_L1 .. L_L6 at 1..6
  plat::TLabel* L_Page_Lang;
  controls::TLbButton* Btn_Prev;
  controls::TLbButton* Btn_Next;
  plat::TCheckBox* CB_En_Con;
  plat::TCheckBox* CB_Update;
  controls::TLbButton* Btn_Check_Update;
  TLinkLabel* LL_Check_Update;

  int Show_Page = 1;
  QStringList SL_Languages;
  QString Language_In_Use;

  void FormCreate();
  void FormShow();
  void Create_Lang_List();
  void Update_Lang_Page(int Num_Page);
  // The page label and the paging buttons, as the pages there are make them.
  int Page_Count() const;
  void Show_Paging();
  void Btn_NextClick(plat::TObject* Sender);
  void LangClick(int Slot);
  void Update_CheckBox();
  void Btn_Check_UpdateClick();
  void LL_Check_UpdateLinkClick(const QUrl& Link);
  void Btn_OKClick();
  void Set_Lang();

  // Asks the maker's web server (through the host's HTTP client) whether a newer version exists and calls Done
  // with the answer; false, and Done is not called, while another check is running.
  bool Check_Version(std::function<void(bool Newer)> Done);
  static int Conv_Version(const QString& Ver_str);

 protected:
  void DoCreate() override;
  void DoShow() override;

 private:
  TOptions_Host* FHost = nullptr;
};

extern TFSoftOptions* FSoftOptions;
