#include "windows/boot_tcp.h"

#include <QDir>

#include <chrono>
#include <thread>

#include "windows/main_window.h"

using namespace plat;

TFBootTCP* FBootTCP = nullptr;

namespace {

// The models with two variants are updated over the network through a job file for the Ethernet updater.
bool Uses_Job_File(int32_t t) { return Device_Model(t).Has_Variant(); }

void Error_Text_Box(TObject* Sender, const QString& Text) { Application->HandleException(Sender, Exception(Text)); }

}  // namespace

TFBootTCP::TFBootTCP(TComponent* AOwner) : TUpdateForm(AOwner, QStringLiteral("FBootTCP")) {
  L_IP_Address = Make_Label(this, "L_IP_Address", 16, 70);
  E_IP1 = Make_Control<TEdit>(this, "E_IP1", 24, 90, 40, 21);
  L_Dot1 = Make_Label(this, "L_Dot1", 67, 94);
  E_IP2 = Make_Control<TEdit>(this, "E_IP2", 74, 90, 40, 21);
  L_Dot2 = Make_Label(this, "L_Dot2", 117, 94);
  E_IP3 = Make_Control<TEdit>(this, "E_IP3", 124, 90, 40, 21);
  L_Dot3 = Make_Label(this, "L_Dot3", 167, 94);
  E_IP4 = Make_Control<TEdit>(this, "E_IP4", 174, 90, 40, 21);
  for (TLabel* l : {L_Dot1, L_Dot2, L_Dot3}) l->SetCaption(QStringLiteral("."));
  L_Ping = Make_Label(this, "L_Ping", 16, 124);
  Btn_Ping = Make_Control<controls::TLbButton>(this, "Btn_Ping", 24, 142, 80, 24);
  LPing = Make_Label(this, "LPing", 112, 147);

  Make_Options_Page();

  auto echo = std::make_unique<TIcmpEcho>();
  echo->PacketSize = 1024;
  echo->ReceiveTimeout = 400;
  Ping = std::move(echo);

  Btn_Ping->OnClick = [this](TObject*) { LbButton1Click(); };
  Btn_Next->OnClick = [this](TObject*) { LbButton2Click(); };
  Btn_Update->OnClick = [this](TObject*) { LbButton4Click(); };
  E_IP1->OnKeyPress = [this](TObject*, char16_t& Key) { E_IP1KeyPress(Key); };
  E_IP2->OnKeyPress = [this](TObject*, char16_t& Key) { E_IP2KeyPress(Key); };
  E_IP3->OnKeyPress = [this](TObject*, char16_t& Key) { E_IP3KeyPress(Key); };
  for (TEdit* e : {E_IP1, E_IP2, E_IP3, E_IP4}) e->OnChange = [this](TObject*) { Address_Edited(); };
}

void TFBootTCP::DoCreate() {
  FBootTCP = this;
  FormCreate();
  TForm::DoCreate();
}

void TFBootTCP::DoShow() {
  FormShow();
  TForm::DoShow();
}

void TFBootTCP::FormCreate() {
  Layout_Update_Form();
  Set_Lang();
}

void TFBootTCP::FormShow() {
  Show_Page(1);
  int a = 0, b = 0, c = 0, d = 0;
  if (!Last_IP_Address.isEmpty() && Valid_IP(Last_IP_Address, a, b, c, d)) {
    FFilling = true;
    E_IP1->SetText(QString::number(a));
    E_IP2->SetText(QString::number(b));
    E_IP3->SetText(QString::number(c));
    E_IP4->SetText(QString::number(d));
    FFilling = false;
  }
  L_IP_Address->SetCaption(Lang_Text(58) + QString::fromUtf16(Device_Model(Dev_Type).Board));
  LPing->SetCaption(QString());
  Esegui_Ping = false;
}

void TFBootTCP::Show_Page(int Page) {
  Show_Update_Page(Page, {L_IP_Address, E_IP1, E_IP2, E_IP3, E_IP4, L_Dot1, L_Dot2, L_Dot3, L_Ping, Btn_Ping, LPing});
}

bool TFBootTCP::Valid_IP(const QString& IP, int& ip1, int& ip2, int& ip3, int& ip4) {
  return ::Valid_IP(IP, ip1, ip2, ip3, ip4);
}

QString TFBootTCP::Address() const { return Canonical_IP(E_IP1->Text(), E_IP2->Text(), E_IP3->Text(), E_IP4->Text()); }

// A test result belongs to the address it was made with: any edit of the address voids it.
void TFBootTCP::Address_Edited() {
  if (FFilling) return;
  Esegui_Ping = false;
  LPing->SetCaption(QString());
}

// "." moves on to the next field and selects its text, so that typing an address over a filled one replaces it.
void TFBootTCP::Dot_To(char16_t& Key, TEdit* Next) {
  if (Key != u'.') return;
  Key = 0;
  Next->SetFocus();
  Next->SelectAll();
}

void TFBootTCP::E_IP1KeyPress(char16_t& Key) { Dot_To(Key, E_IP2); }

void TFBootTCP::E_IP2KeyPress(char16_t& Key) { Dot_To(Key, E_IP3); }

void TFBootTCP::E_IP3KeyPress(char16_t& Key) { Dot_To(Key, E_IP4); }

void TFBootTCP::Set_Busy(bool v) {
  FBusy = v;
  // A close asked for while the ping test or the updater ran is dropped: the window stays open.
  if (!v) SetModalResult(mrNone);
  for (controls::TLbButton* b : {Btn_Ping, Btn_Next, Btn_Update, Btn_Cancel}) b->SetEnabled(!v);
}

void TFBootTCP::PingReply(TEchoStatus Status) {
  if (Status == TEchoStatus::Reply) ping_ = 1;
  else if (Status == TEchoStatus::ReplyWithoutData) ping_ = 2;
}

void TFBootTCP::LbButton1Click() {
  if (FBusy) return;
  Esegui_Ping = false;
  ping_ = 0;
  Set_Busy(true);
  const TTickClock clock = Clock ? Clock : TTickClock(MonotonicTicks);
  // Only a checked dotted-decimal address is pinged; a name is never resolved.
  const QString host = Address();
  bool failed = host.isEmpty();
  if (!failed) {
    try {
      const uint32_t first = clock();
      int successes = 0;
      for (;;) {
        Ping->Send(host);
        const uint32_t sent = clock();
        for (;;) {
          Application->ProcessMessages();
          std::this_thread::sleep_for(std::chrono::milliseconds(10));
          PingReply(Ping->Poll());
          if (ping_ != 0 || static_cast<uint32_t>(clock() - sent) >= 400) break;
        }
        if (ping_ == 1) ++successes;
        if (successes >= 2 || static_cast<uint32_t>(clock() - first) > 10000) break;
      }
    } catch (const std::exception&) {
      failed = true;  // the socket could not be opened or the request not sent
    }
  }
  Set_Busy(false);
  if (failed) {
    Esegui_Ping = false;
    LPing->Font()->SetColor(clRed);
    LPing->SetCaption(Lang_Text(71));
  } else if (ping_ == 1) {
    Esegui_Ping = true;
    LPing->Font()->SetColor(clGreen);
    LPing->SetCaption(Lang_Text(69));
  } else {
    LPing->Font()->SetColor(clRed);
    LPing->SetCaption(Lang_Text(70));
  }
}

void TFBootTCP::LbButton2Click() {
  if (FBusy) return;
  if (!Esegui_Ping) {
    MessageDlg(Lang_Text(72), mtError, TMsgDlgButtons{mbOK});
    return;
  }
  Show_Page(2);
  Last_IP_Address = Address();
}

bool TFBootTCP::Compile_XML_Parameter() {
  ::Compile_XML_Parameter(XML1, Dev_Type, Address(), Options(), Dir_Master, Dir_Project);
  const QString file = QDir(Updater_Folder()).filePath(Ethernet_Job_File);
  QString error;
  if (XML1.SaveToFile(file, &error)) return true;
  Error_Text_Box(this, error.isEmpty() ? QStringLiteral("Cannot write \"%1\".").arg(file) : error);
  return false;
}

void TFBootTCP::LbButton4Click() {
  if (FBusy) return;
  QString program;
  QStringList arguments;
  const TFirmware_Route route = Uses_Job_File(Dev_Type) ? TFirmware_Route::Ethernet_Job : TFirmware_Route::Tcp;
  const QString missing = Missing_Firmware_Message(Dev_Type, route, Dir_Master, Options());
  if (!missing.isEmpty()) return Error_Text_Box(this, missing);
  if (Uses_Job_File(Dev_Type)) {
    // The updater reads the job file at its start, so it starts only once the whole file is in place.
    if (!Compile_XML_Parameter()) return;
    program = Ethernet_Program;
  } else {
    const TUpdater_Call call = TCP_Update_Call(Dev_Type, Address(), Options(), Dir_Master, Dir_Project);
    if (call.Program.isEmpty()) return;
    program = call.Program;
    arguments = call.Arguments;
  }
  Set_Busy(true);
  FTessaroneFirmWare->Start_Program(QDir(Updater_Folder()).filePath(program), arguments, false);
  Set_Busy(false);
}

void TFBootTCP::Set_Lang() {
  SetCaption(Lang_Text(57));
  Frame.L_SW_Desc->SetCaption(Lang_Text(57));
  L_Ping->SetCaption(Lang_Text(59));
  Btn_Ping->SetCaption(Lang_Text(60));
  Btn_Cancel->SetCaption(Lang_Text(61));
  Btn_Next->SetCaption(Lang_Text(62));
  L_Options->SetCaption(Lang_Text(63));
  CB_Firmware->SetCaption(Lang_Text(64));
  CB_Read_Firm->SetCaption(Lang_Text(65));
  CB_Conf->SetCaption(Lang_Text(66));
  CB_Read_Conf->SetCaption(Lang_Text(67));
  Btn_Update->SetCaption(Lang_Text(68));
}
