// Wireless listening of the scanner: configuring the converter's radio module, taking the telegrams it
// forwards, and installing the AES keys of encrypted devices in the module.

#include "scanner/mbus_scan.h"

#include "core/device_model.h"
#include "scanner/wmbus_decode.h"
#include "scanner/wmbus_frames.h"

#include <QDateTime>

using namespace wmbus;

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
  const int32_t Listening = Telit ? 134 : 320;
  if (Step_Scan != Listening) return false;
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
  Step_Scan = Telit ? 200 : 400;
  return true;
}

bool TMBusScanDecode::Save_XML_Conf_Wired(const TSaveConfXML& DataIn, const TScan_Check_State& Checks) {
  std::lock_guard<std::mutex> L(List_Dev_Lock);
  return ::Save_XML_Conf_Wired(DataIn, List_Dev_MBus, Checks);
}

bool TMBusScanDecode::Save_XML_Conf_Wireless(const TSaveConfXML& DataIn) {
  std::lock_guard<std::mutex> L(List_Dev_Lock);
  return ::Save_XML_Conf_Wireless(DataIn, List_Dev_Wireless);
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
    if (R.Index < 0) return;  // too short for its header
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

TMBusScanDecode::TModuleAnswer TMBusScanDecode::Module_Answer(std::vector<uint8_t>& R) {
  // A reply that is there counts even when the time-out has passed meanwhile. A telegram the converter still
  // forwards while the module is being configured is not the module's answer.
  while (Take_Reply(R)) {
    if (Step_Scan >= 100 && Is_Wireless_Telegram(R, Radio_Telit_.load())) continue;
    return TModuleAnswer::Reply;
  }
  return TimeOut_Expired() ? TModuleAnswer::Timed_Out : TModuleAnswer::None;
}

// The module did not answer as expected: the converter is put back to normal work.
void TMBusScanDecode::Fail_Wireless() {
  FResult = 2;
  Wireless_Receive_Message_ = false;
  Step_Scan = 500;
}

bool TMBusScanDecode::Module_Reply(std::vector<uint8_t>& R) {
  switch (Module_Answer(R)) {
    case TModuleAnswer::Reply: return true;
    case TModuleAnswer::Timed_Out: Fail_Wireless(); return false;
    case TModuleAnswer::None: return false;
  }
  return false;
}

void TMBusScanDecode::Scan_Decode_Wireless() {
  if ((FAbortScan || FStopScan) && Step_Scan < 500) Step_Scan = 500;
  const int32_t Step = Step_Scan;
  std::vector<uint8_t> R;
  switch (Step) {
    case 0:
      Wireless_Receive_Message_ = false;
      Open_Run(Cmd_Enable_Configuration, 503);
      return;
    case 1:
      if (!Module_Reply(R)) return;
      if (Is_Reply(R, Reply_Configuration_Enabled))
        Step_Scan = 2;
      else
        Fail_Wireless();
      return;
    case 2:
      FResult = 1;
      Send_Text_Command(Cmd_Type_Radio_Module, 3);
      return;
    case 3:
      if (!Module_Reply(R)) return;
      if (Is_Reply(R, Reply_Telit)) {
        Radio_Telit_ = true;
        Step_Scan = 100;
      } else if (Is_Reply(R, Reply_RadioCrafts)) {
        Radio_Telit_ = false;
        Step_Scan = 300;
      } else {
        Fail_Wireless();
      }
      return;
    case 500:
      Wireless_Receive_Message_ = false;  // so that the converter's confirmation is seen as a reply
      Count_Disable_Analyzer = 0;
      FAbortScan = false;
      FStopScan = false;
      Step_Scan = 501;
      return;
    case 501:
      if (Count_Disable_Analyzer > 2 || !Transport_Open_) {
        Step_Scan = 503;
      } else {
        Count_Disable_Analyzer += 1;
        Send_Text_Command(Cmd_Disable_Configuration, 502);
      }
      return;
    case 502:
      switch (Module_Answer(R)) {
        case TModuleAnswer::Reply: Step_Scan = Is_Reply(R, Reply_Configuration_Disabled) ? 503 : 501; break;
        case TModuleAnswer::Timed_Out: Step_Scan = 501; break;
        case TModuleAnswer::None: break;
      }
      return;
    case 503:
      Close_Transport();
      Finish_Pending_ = true;
      return;
    default:
      break;
  }
  if (Step >= 100 && Step < 300)
    Telit_Steps(Step);
  else if (Step >= 300 && Step < 500)
    RadioCrafts_Steps(Step);
  else
    Fail_Wireless();  // not a step of this machine
}

void TMBusScanDecode::Telit_Steps(int32_t Step) {
  std::vector<uint8_t> R;
  if (Step == 134) return;  // listening: the telegrams are taken as they arrive
  const bool Config = Step >= 100 && Step <= 133;
  const bool Key = Step >= 200 && Step <= 221;
  if (!Config && !Key) {
    Fail_Wireless();
    return;
  }
  if (Step % 2 == 0) {
    QByteArray Command;
    if (Config) {
      Command = Telit_Config_Command(Step, wMBusMode, wMBusRadioChannel);
    } else if (Step == 200) {
      Wireless_Receive_Message_ = false;
      Command = QByteArrayLiteral("+++");
    } else if (Step <= 216) {
      const uint32_t A = uint32_t(Key_Device_.Address);
      const int Values[8] = {Key_Device_.Manufacturer & 0xFF, Key_Device_.Manufacturer >> 8, int(A & 0xFF),
                             int((A >> 8) & 0xFF), int((A >> 16) & 0xFF), int(A >> 24), Key_Device_.Version,
                             Key_Device_.DeviceType};
      const int I = (Step - 202) / 2;
      Command = Telit_Set_Register(461 + I, Values[I]);
    } else if (Step == 218) {
      Command = Telit_Set_Register(470 + Index_Key_Send, Wireless_Key[size_t(Index_Key_Send)]);
    } else {
      Command = Telit_Set_Register(460, 5);
    }
    Send_Text_Command(Command, Step + 1);
    return;
  }
  if (!Module_Reply(R)) return;
  if (!Is_Reply(R, Telit_OK)) {
    Fail_Wireless();
    return;
  }
  if (Step == 133) {
    Wireless_Receive_Message_ = true;
    Step_Scan = 134;
  } else if (Config) {
    Step_Scan = Telit_Next_Config_Step(Step - 1, wMBusMode);
  } else if (Step == 217) {
    Index_Key_Send = 0;
    Step_Scan = 218;
  } else if (Step == 219) {
    Index_Key_Send += 1;
    Step_Scan = Index_Key_Send < 16 ? 218 : 220;
  } else if (Step == 221) {
    Index_Key_Send = 0;
    Step_Scan = 132;  // back to transparent mode
  } else {
    Step_Scan = Step + 1;
  }
}

void TMBusScanDecode::RadioCrafts_Steps(int32_t Step) {
  std::vector<uint8_t> R;
  auto Send = [&](const std::vector<uint8_t>& Frame, uint32_t Time_Out) {
    TimeOut_Calc = Time_Out;
    Send_Command(Frame);
    Step_Scan = Step + 1;
  };
  const uint32_t Text = Timing_.Text_Time_Out;
  // Answer steps: the prompt alone, a reply beginning with the prompt, or anything (the time-out included).
  auto Expect = [&](int32_t Next, bool First_Byte_Only) {
    if (!Module_Reply(R)) return;
    const bool Ok = First_Byte_Only ? (!R.empty() && R[0] == Prompt) : Is_Prompt(R);
    if (Ok)
      Step_Scan = Next;
    else
      Fail_Wireless();
  };
  auto Any = [&](int32_t Next) {
    if (Module_Answer(R) != TModuleAnswer::None) Step_Scan = Next;
  };
  const uint8_t Slot = uint8_t(Key_Device_.Slot);
  switch (Step) {
    case 300:
      Index_RadioCrafts_Position_Used = 1;  // the key table is about to be erased
      Send({0x00}, Text);
      break;
    case 301: Expect(302, false); break;
    case 302: Send({'0'}, Text); break;
    case 303:
      if (!Module_Reply(R)) break;
      if (R.size() == size_t(Memory_Dump_Size) && R.back() == Prompt)
        Step_Scan = 304;
      else
        Fail_Wireless();
      break;
    case 304: Send({'M'}, Text); break;
    case 305: Expect(306, false); break;
    case 306: Send(Build_RadioCrafts_Config(wMBusMode), Timing_.Radio_Block_Time_Out); break;
    case 307: Any(308); break;
    case 308: Send({0xFF}, Text); break;
    case 309: Expect(310, false); break;
    case 310: Send({'B'}, Text); break;
    case 311: Expect(312, false); break;
    case 312:
      Index_RadioCrafts_Erase_Position = 0;
      Step_Scan = 313;
      break;
    case 313:
      if (Index_RadioCrafts_Erase_Position >= 64) {
        Step_Scan = 318;
      } else {
        Index_RadioCrafts_Erase_Position += 1;
        Step_Scan = 314;
      }
      break;
    case 314: Send({uint8_t(Index_RadioCrafts_Erase_Position)}, Timing_.Radio_Slot_Time_Out); break;
    case 315: Any(316); break;
    case 316: Send(Build_RadioCrafts_Clear(), Text); break;
    case 317: Expect(313, true); break;
    case 318:
      Send_Text_Command(QByteArrayLiteral("X"), 319);
      break;
    case 319:
      Wireless_Receive_Message_ = true;
      Step_Scan = 320;
      break;
    case 320: break;  // listening: the telegrams are taken as they arrive
    case 400:
      Wireless_Receive_Message_ = false;
      Send({0x00}, Text);
      break;
    case 401: Expect(402, false); break;
    case 402: Send({'B'}, Text); break;
    case 403: Expect(404, false); break;
    case 404: Send({Slot}, Timing_.Radio_Slot_Time_Out); break;
    case 405: Any(406); break;
    case 406:
      Send(Build_RadioCrafts_Key_Address(Key_Device_.Address, Key_Device_.Manufacturer, Key_Device_.Version,
                                         Key_Device_.DeviceType),
           Text);
      break;
    case 407: Expect(408, true); break;
    case 408: Send({'K'}, Text); break;
    case 409: Expect(410, false); break;
    case 410: Send({Slot}, Timing_.Radio_Slot_Time_Out); break;
    case 411: Any(412); break;
    case 412: Send(Build_RadioCrafts_Key(Wireless_Key), Text); break;
    case 413: Expect(414, true); break;
    case 414: Send({'A'}, Text); break;
    case 415: Expect(416, false); break;
    case 416: Send({Slot}, Timing_.Radio_Slot_Time_Out); break;
    case 417: Any(418); break;
    case 418: Send({0x00, 0x40}, Text); break;
    case 419: Expect(318, false); break;
    default: Fail_Wireless(); break;
  }
}
