#pragma once
// The Ethernet update window: page 1 takes the converter's IP address and checks it answers a ping, page 2
// the four update options; Update writes the job file and starts the generic Ethernet updater (types 1, 1001,
// 2 and 3) or starts the model's TCP updater (types 6, 7 and 1007).

#include <QString>

#include <cstdint>
#include <memory>

#include "controls/lb_button.h"
#include "platform/forms/stdctrls.h"
#include "platform/io/icmp_echo.h"
#include "platform/io/process.h"
#include "platform/xml/xmldocument.h"
#include "windows/update_form.h"

class TFBootTCP : public TUpdateForm {
 public:
  explicit TFBootTCP(plat::TComponent* AOwner);

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

  // The echo client (IPv4, 1024 bytes of data, 400 ms receive time-out); tests put a scripted one in.
  std::unique_ptr<plat::TEchoClient> Ping;
  // 0 no answer yet, 1 the last answer was a reply with data, 2 a reply without data.
  int ping_ = 0;
  // The last ping test found the device (and the address has not been edited since).
  bool Esegui_Ping = false;
  // The job file of the generic Ethernet updater.
  plat::TXMLDocument XML1;
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
  void Dot_To(char16_t& Key, plat::TEdit* Next);
  void E_IP1KeyPress(char16_t& Key);
  void E_IP2KeyPress(char16_t& Key);
  void E_IP3KeyPress(char16_t& Key);

  // The address of the four edits in canonical dotted-decimal form; empty when a part is not 0..255.
  QString Address() const;

 protected:
  void DoCreate() override;
  void DoShow() override;

 private:
  void Show_Page(int Page);
  void Address_Edited();
  void Set_Busy(bool v);
  bool FFilling = false;
};

extern TFBootTCP* FBootTCP;
