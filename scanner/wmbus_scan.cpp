// Wireless listening of the scanner: configuring the converter's radio module, taking the telegrams it
// forwards, and installing the AES keys of encrypted devices in the module.

#include "scanner/mbus_scan.h"

#include "core/device_model.h"
#include "scanner/wmbus_decode.h"
#include "scanner/wmbus_frames.h"

#include <QDateTime>

using namespace wmbus;
using namespace scan_step;

namespace {

bool Is_Prompt(const std::vector<uint8_t>& R) { return R.size() == 1 && R[0] == Prompt; }

}  // namespace

bool TMBusScanDecode::Start_Scan_Wireless(TSelectHard SelHard, const QString& IP_COM, uint16_t Port, int wMBus_Mode,
                                          int wMBus_Radio_Channel, TUpdate_Wireless_Slave_Proc Proc_Wireless,
                                          bool FromDLL) {
  if (FInScan) return false;
  std::lock_guard<std::mutex> L(Step_Lock_);
  if (FInScan) return false;
  if (SelHard == shSerial) return false;
  uint32_t Addr = 0;
  if (!plat::Parse_IPv4(IP_COM, Addr)) return false;
  if (Port == 0) return false;
  {
    std::lock_guard<std::mutex> PL(Wireless_Proc_Lock_);
    UpdateListWirelessSlave = std::move(Proc_Wireless);
    From_DLL = FromDLL;
  }
  MBusType = mtWireless;
  Select_Hardware = SelHard;
  wMBusMode = wMBus_Mode;
  wMBusRadioChannel = wMBus_Radio_Channel;
  Port_Wireless = Port;
  Transport_->Set_Wireless_Port(Port);
  New_Frame_Wireless_ = false;
  Begin_Run(IP_COM, Addr);
  return true;
}

bool TMBusScanDecode::Insert_Wireless_Key(int Index, std::span<const uint8_t> Key) {
  if (Key.size() != 16) return false;
  std::lock_guard<std::mutex> L(Step_Lock_);
  if (!FInScan || MBusType != mtWireless) return false;
  const bool Telit = Radio_Telit_.load();
  if (Step_Scan != (Telit ? Telit_Listening : RadioCrafts_Listening)) return false;
  std::lock_guard<std::mutex> DL(List_Dev_Lock);
  if (Index < 0 || Index >= List_Dev_Wireless.size() || !List_Dev_Wireless[Index]) return false;
  TSlave_wMBus& S = *List_Dev_Wireless[Index];
  if (!Telit && S.RadioCrafts_Ind_Tab_Decript < 1) {
    if (Index_RadioCrafts_Position_Used > 64) return false;  // the module's key table is full
    S.RadioCrafts_Ind_Tab_Decript = Index_RadioCrafts_Position_Used++;
  }
  std::copy(Key.begin(), Key.end(), Wireless_Key.begin());
  Wireless_Key_Index = Index;
  S.Enable_Key = true;
  S.Key = Wireless_Key;
  Key_Device_ = {S.ALA_Address, S.ALA_Manufacturer, S.ALA_Version, S.ALA_DeviceType, S.RadioCrafts_Ind_Tab_Decript};
  Step_Scan = Telit ? Telit_Key_Command_Mode : RadioCrafts_Key_Menu;
  return true;
}

void TMBusScanDecode::Decode_Wireless_Frame(const uint8_t* Data, size_t Size) {
  const std::span<const uint8_t> D(Data, Size);
  const bool Telit = Radio_Telit_.load();
  if (!Is_Wireless_Telegram(D, Telit)) return;  // not a telegram: ignored while listening
  TWireless_Intake R;
  TSlave_wMBus* Slave = nullptr;
  {
    std::lock_guard<std::mutex> L(List_Dev_Lock);
    R = ::Decode_Wireless_Frame(List_Dev_Wireless, D, Telit, QDateTime::currentDateTime());
    if (R.List_Full) ++Full_List_Dropped_;
    if (R.Index < 0) return;  // too short for its header, or a new device while the list is full
    Slave = List_Dev_Wireless[R.Index];
  }
  New_Frame_Wireless_ = true;
  Notify_Wireless_Slave(R.Index, Slave);
}

void TMBusScanDecode::Notify_Wireless_Slave(int Index, TSlave_wMBus* Slave) {
  TUpdate_Wireless_Slave_Proc Proc;
  bool Dll;
  {
    std::lock_guard<std::mutex> L(Wireless_Proc_Lock_);
    Proc = UpdateListWirelessSlave;
    Dll = From_DLL;
  }
  if (!Proc) return;
  try {
    Proc(Index, Dll ? nullptr : Slave);
  } catch (...) {
    // A failing callback must not cost the telegrams that follow.
  }
}

bool TMBusScanDecode::Is_Forwarded_Telegram(const TMBusScanDecode& Self, const std::vector<uint8_t>& D) {
  // Before the radio module is known, no telegram can be forwarded yet.
  return Self.Step_Scan >= Telit_Config_First && Is_Wireless_Telegram(D, Self.Radio_Telit_.load());
}

// The module did not answer as expected: the converter is put back to normal work.
void TMBusScanDecode::Fail_Wireless() {
  FResult = Result_Not_Confirmed;
  Wireless_Receive_Message_ = false;
  Step_Scan = Leave_Configuration;
}

bool TMBusScanDecode::Not_Configuration_Enabled(const TMBusScanDecode&, const std::vector<uint8_t>& D) {
  return !Is_Reply(D, Reply_Configuration_Enabled);
}

bool TMBusScanDecode::Not_Radio_Module(const TMBusScanDecode&, const std::vector<uint8_t>& D) {
  return !Is_Reply(D, Reply_Telit) && !Is_Reply(D, Reply_RadioCrafts);
}

bool TMBusScanDecode::Module_Reply(std::vector<uint8_t>& R, TPass_Over Pass_Over) {
  switch (Await_Answer(R, Pass_Over)) {
    case TAnswer::Reply: return true;
    case TAnswer::Timed_Out: Fail_Wireless(); return false;
    case TAnswer::None: return false;
  }
  return false;
}

void TMBusScanDecode::Scan_Decode_Wireless() {
  if ((FAbortScan || FStopScan) && Step_Scan < Leave_Configuration) Step_Scan = Leave_Configuration;
  const int32_t Step = Step_Scan;
  static const TLeave_Steps Leave{Leave_Configuration, Disable_Configuration, Await_Disable_Configuration,
                                  Close_Listening, Cmd_Disable_Configuration, Reply_Configuration_Disabled,
                                  Is_Forwarded_Telegram};
  std::vector<uint8_t> R;
  switch (Step) {
    case Enable_Configuration:
      Wireless_Receive_Message_ = false;
      Open_Run(Cmd_Enable_Configuration, Await_Configuration, Close_Listening);
      return;
    case Await_Configuration:
      if (!Module_Reply(R, Not_Configuration_Enabled)) return;
      Accept_Port_ = Reply_Port_;  // the converter's socket: telegrams from any other are not forwarded ones
      Step_Scan = Ask_Radio_Module;
      return;
    case Ask_Radio_Module:
      FResult = Result_Scanned;
      Send_Text_Command(Cmd_Type_Radio_Module, Await_Radio_Module);
      return;
    case Await_Radio_Module:
      if (!Module_Reply(R, Not_Radio_Module)) return;
      if (Is_Reply(R, Reply_Telit)) {
        Radio_Telit_ = true;
        Step_Scan = Telit_Config_First;
      } else if (Is_Reply(R, Reply_RadioCrafts)) {
        Radio_Telit_ = false;
        Step_Scan = RadioCrafts_Menu;
      } else {
        Fail_Wireless();
      }
      return;
    default:
      break;
  }
  if (Step >= Leave_Configuration)
    Leave_Mode_Step(Step, Leave);
  else if (Step >= Telit_Config_First && Step < RadioCrafts_Menu)
    Telit_Steps(Step);
  else if (Step >= RadioCrafts_Menu)
    RadioCrafts_Steps(Step);
  else
    Fail_Wireless();  // not a step of this machine
}

void TMBusScanDecode::Telit_Steps(int32_t Step) {
  std::vector<uint8_t> R;
  if (Step == Telit_Listening) return;  // the telegrams are taken as they arrive
  const bool Config = Step >= Telit_Config_First && Step <= Answer_Step(Telit_Transparent);
  const bool Key = Step >= Telit_Key_Command_Mode && Step <= Answer_Step(Telit_Key_Enable);
  if (!Config && !Key) {
    Fail_Wireless();
    return;
  }
  if (Is_Send_Step(Step)) {
    QByteArray Command;
    if (Config) {
      Command = Telit_Config_Command(Step, wMBusMode, wMBusRadioChannel);
    } else if (Step == Telit_Key_Command_Mode) {
      Wireless_Receive_Message_ = false;
      Command = QByteArrayLiteral("+++");
    } else if (Step <= Telit_Key_Address_Last) {
      const uint32_t A = uint32_t(Key_Device_.Address);
      const int Values[8] = {Key_Device_.Manufacturer & 0xFF, Key_Device_.Manufacturer >> 8, int(A & 0xFF),
                             int((A >> 8) & 0xFF), int((A >> 16) & 0xFF), int(A >> 24), Key_Device_.Version,
                             Key_Device_.DeviceType};
      const int I = (Step - Telit_Key_Address_First) / 2;  // one address register a pair of steps
      Command = Telit_Set_Register(461 + I, Values[I]);
    } else if (Step == Telit_Key_Byte) {
      Command = Telit_Set_Register(470 + Index_Key_Send, Wireless_Key[size_t(Index_Key_Send)]);
    } else {
      Command = Telit_Set_Register(460, 5);
    }
    Send_Text_Command(Command, Answer_Step(Step));
    return;
  }
  if (!Module_Reply(R)) return;
  if (!Is_Reply(R, Telit_OK)) {
    Fail_Wireless();
    return;
  }
  const int32_t Sent = Send_Step_Of(Step);
  if (Sent == Telit_Transparent) {
    Wireless_Receive_Message_ = true;
    Step_Scan = Telit_Listening;
  } else if (Config) {
    Step_Scan = Telit_Next_Config_Step(Sent, wMBusMode);
  } else if (Sent == Telit_Key_Address_Last) {
    Index_Key_Send = 0;
    Step_Scan = Telit_Key_Byte;
  } else if (Sent == Telit_Key_Byte) {
    Index_Key_Send += 1;
    Step_Scan = Index_Key_Send < 16 ? Telit_Key_Byte : Telit_Key_Enable;
  } else if (Sent == Telit_Key_Enable) {
    Index_Key_Send = 0;
    Step_Scan = Telit_Transparent;  // back to transparent mode
  } else {
    Step_Scan = Next_Pair(Sent);
  }
}

void TMBusScanDecode::Module_Send(const std::vector<uint8_t>& Frame, uint32_t Time_Out, int32_t Step) {
  TimeOut_Calc = Time_Out;
  Send_Command(Frame);
  Step_Scan = Answer_Step(Step);
}

void TMBusScanDecode::Expect_Prompt(int32_t Next, bool First_Byte_Only) {
  std::vector<uint8_t> R;
  if (!Module_Reply(R)) return;
  const bool Ok = First_Byte_Only ? (!R.empty() && R[0] == Prompt) : Is_Prompt(R);
  if (Ok)
    Step_Scan = Next;
  else
    Fail_Wireless();
}

void TMBusScanDecode::Any_Answer(int32_t Next) {
  std::vector<uint8_t> R;
  if (Await_Answer(R, Is_Forwarded_Telegram) != TAnswer::None) Step_Scan = Next;
}

void TMBusScanDecode::RadioCrafts_Steps(int32_t Step) {
  std::vector<uint8_t> R;
  auto Send = [&](const std::vector<uint8_t>& Frame, uint32_t Time_Out) { Module_Send(Frame, Time_Out, Step); };
  auto Expect = [&](int32_t Next, bool First_Byte_Only) { Expect_Prompt(Next, First_Byte_Only); };
  auto Any = [&](int32_t Next) { Any_Answer(Next); };
  const uint32_t Text = Timing_.Text_Time_Out;
  switch (Step) {
    case RadioCrafts_Menu:
      Index_RadioCrafts_Position_Used = 1;  // the key table is about to be erased
      Send({0x00}, Text);
      break;
    case Answer_Step(RadioCrafts_Menu): Expect(RadioCrafts_Dump, false); break;
    case RadioCrafts_Dump: Send({'0'}, Text); break;
    case Answer_Step(RadioCrafts_Dump):
      if (!Module_Reply(R)) break;
      if (R.size() == size_t(Memory_Dump_Size) && R.back() == Prompt)
        Step_Scan = RadioCrafts_Memory;
      else
        Fail_Wireless();
      break;
    case RadioCrafts_Memory: Send({'M'}, Text); break;
    case Answer_Step(RadioCrafts_Memory): Expect(RadioCrafts_Config, false); break;
    case RadioCrafts_Config: Send(Build_RadioCrafts_Config(wMBusMode), Timing_.Radio_Block_Time_Out); break;
    case Answer_Step(RadioCrafts_Config): Any(RadioCrafts_Memory_End); break;
    case RadioCrafts_Memory_End: Send({0xFF}, Text); break;
    case Answer_Step(RadioCrafts_Memory_End): Expect(RadioCrafts_Table, false); break;
    case RadioCrafts_Table: Send({'B'}, Text); break;
    case Answer_Step(RadioCrafts_Table): Expect(RadioCrafts_Erase_Start, false); break;
    case RadioCrafts_Erase_Start:
      Index_RadioCrafts_Erase_Position = 0;
      Step_Scan = RadioCrafts_Erase_Next;
      break;
    case RadioCrafts_Erase_Next:
      if (Index_RadioCrafts_Erase_Position >= 64) {
        Step_Scan = RadioCrafts_Exit;
      } else {
        Index_RadioCrafts_Erase_Position += 1;
        Step_Scan = RadioCrafts_Erase_Slot;
      }
      break;
    case RadioCrafts_Erase_Slot:
      Send({uint8_t(Index_RadioCrafts_Erase_Position)}, Timing_.Radio_Slot_Time_Out);
      break;
    case Answer_Step(RadioCrafts_Erase_Slot): Any(RadioCrafts_Erase_Entry); break;
    case RadioCrafts_Erase_Entry: Send(Build_RadioCrafts_Clear(), Text); break;
    case Answer_Step(RadioCrafts_Erase_Entry): Expect(RadioCrafts_Erase_Next, true); break;
    case RadioCrafts_Exit: Send_Text_Command(QByteArrayLiteral("X"), RadioCrafts_Listen); break;
    case RadioCrafts_Listen:
      Wireless_Receive_Message_ = true;
      Step_Scan = RadioCrafts_Listening;
      break;
    case RadioCrafts_Listening: break;  // the telegrams are taken as they arrive
    default: RadioCrafts_Key_Steps(Step); break;
  }
}

void TMBusScanDecode::RadioCrafts_Key_Steps(int32_t Step) {
  auto Send = [&](const std::vector<uint8_t>& Frame, uint32_t Time_Out) { Module_Send(Frame, Time_Out, Step); };
  auto Expect = [&](int32_t Next, bool First_Byte_Only) { Expect_Prompt(Next, First_Byte_Only); };
  auto Any = [&](int32_t Next) { Any_Answer(Next); };
  const uint32_t Text = Timing_.Text_Time_Out;
  const uint8_t Slot = uint8_t(Key_Device_.Slot);
  switch (Step) {
    case RadioCrafts_Key_Menu:
      Wireless_Receive_Message_ = false;
      Send({0x00}, Text);
      break;
    case Answer_Step(RadioCrafts_Key_Menu): Expect(RadioCrafts_Key_Table, false); break;
    case RadioCrafts_Key_Table: Send({'B'}, Text); break;
    case Answer_Step(RadioCrafts_Key_Table): Expect(RadioCrafts_Key_Address_Slot, false); break;
    case RadioCrafts_Key_Address_Slot: Send({Slot}, Timing_.Radio_Slot_Time_Out); break;
    case Answer_Step(RadioCrafts_Key_Address_Slot): Any(RadioCrafts_Key_Address); break;
    case RadioCrafts_Key_Address:
      Send(Build_RadioCrafts_Key_Address(Key_Device_.Address, Key_Device_.Manufacturer, Key_Device_.Version,
                                         Key_Device_.DeviceType),
           Text);
      break;
    case Answer_Step(RadioCrafts_Key_Address): Expect(RadioCrafts_Key_Keys, true); break;
    case RadioCrafts_Key_Keys: Send({'K'}, Text); break;
    case Answer_Step(RadioCrafts_Key_Keys): Expect(RadioCrafts_Key_Key_Slot, false); break;
    case RadioCrafts_Key_Key_Slot: Send({Slot}, Timing_.Radio_Slot_Time_Out); break;
    case Answer_Step(RadioCrafts_Key_Key_Slot): Any(RadioCrafts_Key_Key); break;
    case RadioCrafts_Key_Key: Send(Build_RadioCrafts_Key(Wireless_Key), Text); break;
    case Answer_Step(RadioCrafts_Key_Key): Expect(RadioCrafts_Key_Activation, true); break;
    case RadioCrafts_Key_Activation: Send({'A'}, Text); break;
    case Answer_Step(RadioCrafts_Key_Activation): Expect(RadioCrafts_Key_Activation_Slot, false); break;
    case RadioCrafts_Key_Activation_Slot: Send({Slot}, Timing_.Radio_Slot_Time_Out); break;
    case Answer_Step(RadioCrafts_Key_Activation_Slot): Any(RadioCrafts_Key_Activate); break;
    case RadioCrafts_Key_Activate: Send({0x00, 0x40}, Text); break;
    case Answer_Step(RadioCrafts_Key_Activate): Expect(RadioCrafts_Exit, false); break;
    default: Fail_Wireless(); break;
  }
}
