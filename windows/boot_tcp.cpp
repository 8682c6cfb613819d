#include "windows/boot_tcp.h"

#include <QDir>

#include <chrono>
#include <thread>

#include "core/lang_texts.h"
#include "windows/main_window.h"

using namespace plat;

TFBootTCP* FBootTCP = nullptr;

namespace {

QString Text_Of(int Index) { return Index >= 0 && Index < Lang_Texts.size() ? Lang_Texts[Index] : QString(); }

QString Model_Of(int32_t t) {
  switch (t) {
    case 1:
    case 1001: return QStringLiteral(" HD51427");
    case 2: return QStringLiteral(" HD51318");
    case 3: return QStringLiteral(" HD51645");
    case 6: return QStringLiteral(" HD51863");
    case 7:
    case 1007: return QStringLiteral(" HD51872");
    default: return QString();
  }
}

bool Uses_Job_File(int32_t t) { return t == 1 || t == 1001 || t == 2 || t == 3; }

void Error_Text_Box(TObject* Sender, const QString& Text) {
  try {
    throw Exception(Text);
  } catch (...) {
    Application->HandleException(Sender);
  }
}

}  // namespace

TFBootTCP::TFBootTCP(TComponent* AOwner) : TForm(AOwner) {
  SetName(QStringLiteral("FBootTCP"));
  Setup_Window(this);
  Frame = Make_Dialog_Frame(this);
  Frame.Btn_OK->SetVisible(false);
  Btn_Cancel = Frame.Btn_Cancel;
  Btn_Next = Make_Control<controls::TLbButton>(Frame.P_Button, "Btn_Next", 0, 9, 100, 26);
  Btn_Update = Make_Control<controls::TLbButton>(Frame.P_Button, "Btn_Update", 0, 9, 200, 26);

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

  L_Options = Make_Label(this, "L_Options", 16, 68);
  CB_Firmware = Make_Control<TCheckBox>(this, "CB_Firmware", 24, 90, 300, 19);
  CB_Read_Firm = Make_Control<TCheckBox>(this, "CB_Read_Firm", 24, 110, 300, 19);
  CB_Conf = Make_Control<TCheckBox>(this, "CB_Conf", 24, 130, 300, 19);
  CB_Read_Conf = Make_Control<TCheckBox>(this, "CB_Read_Conf", 24, 150, 300, 19);

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
  Frame.L_SW_Code->SetCaption(SW_Code);
  SetClientWidth(350);
  SetClientHeight(233);
  const int w = Frame.P_Button->ClientWidth();
  Btn_Cancel->SetLeft(w - 8 - Btn_Cancel->Width());
  Btn_Next->SetLeft(Btn_Cancel->Left() - 8 - Btn_Next->Width());
  Btn_Update->SetLeft(w - 8 - Btn_Update->Width());
  for (TCheckBox* cb : {CB_Firmware, CB_Read_Firm, CB_Conf, CB_Read_Conf}) cb->SetChecked(true);
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
  L_IP_Address->SetCaption(Text_Of(58) + Model_Of(Dev_Type));
  LPing->SetCaption(QString());
  Esegui_Ping = false;
}

void TFBootTCP::Show_Page(int Page) {
  const bool first = Page == 1;
  for (TControl* c : std::initializer_list<TControl*>{L_IP_Address, E_IP1, E_IP2, E_IP3, E_IP4, L_Dot1, L_Dot2,
                                                      L_Dot3, L_Ping, Btn_Ping, LPing, Btn_Cancel, Btn_Next})
    c->SetVisible(first);
  for (TControl* c :
       std::initializer_list<TControl*>{L_Options, CB_Firmware, CB_Read_Firm, CB_Conf, CB_Read_Conf, Btn_Update})
    c->SetVisible(!first);
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

void TFBootTCP::E_IP1KeyPress(char16_t& Key) {
  if (Key == u'.') {
    Key = 0;
    E_IP2->SetFocus();
  }
}

void TFBootTCP::E_IP2KeyPress(char16_t& Key) {
  if (Key == u'.') {
    Key = 0;
    E_IP3->SetFocus();
  }
}

void TFBootTCP::E_IP3KeyPress(char16_t& Key) {
  if (Key == u'.') {
    Key = 0;
    E_IP4->SetFocus();
  }
}

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
  bool failed = false;
  try {
    const QString host = Address();
    // Only a checked dotted-decimal address is pinged; a name is never resolved.
    if (host.isEmpty()) throw EIcmpError(QStringLiteral("Not an IPv4 address."));
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
    failed = true;
  }
  Set_Busy(false);
  if (failed) {
    Esegui_Ping = false;
    LPing->Font()->SetColor(clRed);
    LPing->SetCaption(Text_Of(71));
  } else if (ping_ == 1) {
    Esegui_Ping = true;
    LPing->Font()->SetColor(clGreen);
    LPing->SetCaption(Text_Of(69));
  } else {
    LPing->Font()->SetColor(clRed);
    LPing->SetCaption(Text_Of(70));
  }
}

void TFBootTCP::LbButton2Click() {
  if (FBusy) return;
  if (!Esegui_Ping) {
    MessageDlg(Text_Of(72), mtError, TMsgDlgButtons{mbOK});
    return;
  }
  Show_Page(2);
  Last_IP_Address = Address();
}

TUpdate_Options TFBootTCP::Options() const {
  return TUpdate_Options{CB_Firmware->Checked(), CB_Read_Firm->Checked(), CB_Conf->Checked(),
                         CB_Read_Conf->Checked()};
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
  SetCaption(Text_Of(57));
  Frame.L_SW_Desc->SetCaption(Text_Of(57));
  L_Ping->SetCaption(Text_Of(59));
  Btn_Ping->SetCaption(Text_Of(60));
  Btn_Cancel->SetCaption(Text_Of(61));
  Btn_Next->SetCaption(Text_Of(62));
  L_Options->SetCaption(Text_Of(63));
  CB_Firmware->SetCaption(Text_Of(64));
  CB_Read_Firm->SetCaption(Text_Of(65));
  CB_Conf->SetCaption(Text_Of(66));
  CB_Read_Conf->SetCaption(Text_Of(67));
  Btn_Update->SetCaption(Text_Of(68));
}
