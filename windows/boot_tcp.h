#pragma once
// The Ethernet update window: page 1 takes the converter's IP address and checks it answers a ping, page 2
// the four update options; Update writes the job file and starts the generic Ethernet updater (types 1, 1001,
// 2 and 3) or starts the model's TCP updater (types 6, 7 and 1007).

#include <QString>

#include <cstdint>
#include <memory>

#include "controls/lb_button.h"
#include "core/device_model.h"
#include "platform/forms/forms.h"
#include "platform/forms/stdctrls.h"
#include "platform/io/icmp_echo.h"
#include "platform/io/process.h"
#include "platform/xml/xmldocument.h"
#include "windows/update_commands.h"
#include "windows/window_frame.h"

class TFBootTCP : public plat::TForm {
 public:
  explicit TFBootTCP(plat::TComponent* AOwner);

  TDialogFrame Frame;  // its OK button stays hidden: Next and Update take its place
  plat::TLabel* L_IP_Address;
  plat::TEdit* E_IP1;
  plat::TEdit* E_IP2;
  plat::TEdit* E_IP3;
  plat::TEdit* E_IP4;
  plat::TLabel* L_Dot1;
  plat::TLabel* L_Dot2;
  plat::TLabel* L_Dot3;
  plat::TLabel* L_Ping;
  controls::TLbButton* Btn_Ping;
  plat::TLabel* LPing;
  plat::TLabel* L_Options;
  plat::TCheckBox* CB_Firmware;
  plat::TCheckBox* CB_Read_Firm;
  plat::TCheckBox* CB_Conf;
  plat::TCheckBox* CB_Read_Conf;
  controls::TLbButton* Btn_Cancel;
  controls::TLbButton* Btn_Next;
  controls::TLbButton* Btn_Update;

  // The echo client (IPv4, 1024 bytes of data, 400 ms receive time-out); tests put a scripted one in.
  std::unique_ptr<plat::TEchoClient> Ping;
  // 0 no answer yet, 1 the last answer was a reply with data, 2 a reply without data.
  int ping_ = 0;
  // The last ping test found the device (and the address has not been edited since).
  bool Esegui_Ping = false;
  // The job file of the generic Ethernet updater.
  plat::TXMLDocument XML1;

  // The model whose updater starts (the build's model; tests may set another).
  int32_t Dev_Type = Device_Type;
  // Clock of the ping test's time limits (tests make it run fast).
  plat::TTickClock Clock = plat::MonotonicTicks;

  void FormCreate();
  void FormShow();
  void Set_Lang();
  void LbButton1Click();  // Ping
  void LbButton2Click();  // Next
  void LbButton4Click();  // Update
  void PingReply(plat::TEchoStatus Status);
  static bool Valid_IP(const QString& IP, int& ip1, int& ip2, int& ip3, int& ip4);
  // Writes the job file into the updater folder; false (after an error box) when it cannot be written.
  bool Compile_XML_Parameter();
  void E_IP1KeyPress(char16_t& Key);
  void E_IP2KeyPress(char16_t& Key);
  void E_IP3KeyPress(char16_t& Key);

  TUpdate_Options Options() const;
  // The address of the four edits in canonical dotted-decimal form; empty when a part is not 0..255.
  QString Address() const;
  // True while a ping test or an updater runs: the buttons are disabled and the window does not close.
  bool Busy() const { return FBusy; }

 protected:
  void DoCreate() override;
  void DoShow() override;

 private:
  void Show_Page(int Page);
  void Address_Edited();
  void Set_Busy(bool v);
  bool FBusy = false;
  bool FFilling = false;
};

extern TFBootTCP* FBootTCP;
