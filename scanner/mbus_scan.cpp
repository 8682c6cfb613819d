// The wired machine of the scanner: the primary scan address by address and the secondary search digit by digit,
// reading each slave found into List_Dev_MBus.

#include "scanner/mbus_scan.h"

#include "core/device_model.h"
#include "scanner/mbus_decode.h"
#include "scanner/mbus_frames.h"

#include <QDateTime>

using namespace mbus;
using namespace scan_step;

bool TMBusScanDecode::Start_Scan(TScanType ScanT, TSelectHard SelHard, const QString& IP_COM, int Baud, int Par,
                                 bool AppReset, bool SNDNKE, int CutAfter, TUpdate_Slave_List_Proc Proc_Slave_List) {
  if (FInScan) return false;
  std::lock_guard<std::mutex> L(Step_Lock_);
  if (FInScan) return false;
  if (SelHard == shSerial) return false;
  uint32_t Addr = 0;
  if (!plat::Parse_IPv4(IP_COM, Addr)) return false;
  if (Baud <= 0) return false;
  Update_Slave_List = std::move(Proc_Slave_List);
  MBusType = mtWired;
  ScanType = ScanT;
  Select_Hardware = SelHard;
  Baudrate = Baud;
  Parity = Par;
  App_Reset = AppReset;
  SND_NKE = SNDNKE;
  Cut_After = CutAfter;
  Transport_->Set_Wireless_Port(0);  // a wired scan always uses the command port, whatever a listen used
  Begin_Run(IP_COM, Addr);
  return true;
}

uint32_t TMBusScanDecode::Short_Time_Out() const {
  return static_cast<uint32_t>(330000 / Baudrate) + Timing_.Time_Out_Base + 50;
}

uint32_t TMBusScanDecode::Long_Time_Out() const {
  return static_cast<uint32_t>(3245000 / Baudrate) + Timing_.Time_Out_Base + 50;
}

TMBusScanDecode::TReadOutcome TMBusScanDecode::Read_Telegram(const std::vector<uint8_t>& Reply, bool Secondary) {
  TSlave_MBus Read;
  TDecode_Options Options;
  Options.Decoded_At = QDateTime::currentMSecsSinceEpoch();
  const THeader_Result Res = Decode_Header(Reply, Read, true, Options);
  if (Res.Error != TDecodeError::None) return TReadOutcome::Invalid;
  // A telegram from another slave than the one asked (a stray or late reply) is not this slave's answer.
  if (!Secondary && Read.Primary_Addresss != ID_Dev_Primary) return TReadOutcome::Ignored;
  if (Secondary && !Id_Matches_Digits(Read.Identification, Index)) return TReadOutcome::Ignored;
  {
    std::lock_guard<std::mutex> L(List_Dev_Lock);
    if (Num_Frame_Read == 0) {
      auto Slave = std::make_unique<TSlave_MBus>(std::move(Read));
      Current_Slave_ = Slave.get();
      List_Dev_MBus.append(Slave.release());
      Index_Device = static_cast<int32_t>(List_Dev_MBus.size() - 1);
    } else {
      if (Current_Slave_ == nullptr || !List_Dev_MBus.contains(Current_Slave_)) {
        Current_Slave_ = nullptr;  // the list was emptied meanwhile: nothing left to add to
        return TReadOutcome::Finished;
      }
      TSlave_MBus& S = *Current_Slave_;
      if (Read.Identification != S.Identification || Read.Manufacture != S.Manufacture ||
          Read.Version != S.Version || Read.Medium != S.Medium)
        return TReadOutcome::Ignored;  // another meter's telegram must not join this slave
      S.List_Var.insert(S.List_Var.end(), std::make_move_iterator(Read.List_Var.begin()),
                        std::make_move_iterator(Read.List_Var.end()));
    }
    Current_Id_ = Current_Slave_->Identification;
  }
  ++Num_Frame_Read;
  return (Res.LastFrame || Num_Frame_Read >= Cut_After) ? TReadOutcome::Finished : TReadOutcome::More;
}

void TMBusScanDecode::Digit_Step(int D) {
  if (FStopScan) {
    Step_Scan = End_Scan;
    return;
  }
  Index[D] += 1;
  for (int I = D + 1; I < Digit_Count; ++I) Index[I] = -1;
  if (Index[D] > 9) {
    if (D == 0) {
      Phase_Scan_Sec_Add = 3;
      Type_To_Send_In_Last_Step = TScan_Kind::Secondary;
      Enable_Send_In_Last_Step = true;
      Step_Scan = End_Scan;
    } else {
      Step_Scan = Select_Digit[D - 1];  // every value of this digit tried: the digit above takes its next value
    }
    return;
  }
  Send_Command(Build_Select_Secondary(Index));
  Step_Scan = Await_Digit[D];
}

void TMBusScanDecode::Digit_Answer_Step(int D) {
  const int32_t Own = Select_Digit[D];
  std::vector<uint8_t> R;
  if (Take_Reply(R)) {
    if (Is_Single_ACK(R)) {
      Num_Frame_Read = 0;
      Current_Slave_ = nullptr;
      Sec_Add_Next_Step = Own;
      Step_Scan = Request_Selected;
    } else if (Is_No_Slave(R)) {
      Step_Scan = Own;
    } else {
      // Several slaves answered: narrow the search by one more digit (the last digit has none left).
      Step_Scan = D + 1 < Digit_Count ? Select_Digit[D + 1] : Own;
    }
    return;
  }
  if (TimeOut_Expired()) Step_Scan = Own;
}

bool TMBusScanDecode::ACK_Or_Time_Out() {
  std::vector<uint8_t> R;
  return Await_Answer(R, [](const TMBusScanDecode&, const std::vector<uint8_t>& D) { return !Is_Single_ACK(D); }) !=
         TAnswer::None;
}

void TMBusScanDecode::Await_Data_Step() {
  ID_Dev_Found = false;
  // Once a telegram of this slave is in the list, the slave counts as found even if a later one fails.
  auto Not_Read = [&] {
    ID_Dev_Found = Num_Frame_Read > 0;
    Notify_Slave_List(TScan_Report::Address, ID_Dev_Primary, ID_Dev_Found ? 1 : 0, TScan_Kind::Primary);
    Step_Scan = Next_Address;
  };
  std::vector<uint8_t> R;
  while (Take_Reply(R)) {
    if (Is_No_Slave(R)) {  // the converter heard nothing on the line
      Not_Read();
      return;
    }
    const TReadOutcome O = Is_Valid_RSP_UD(R) ? Read_Telegram(R, false) : TReadOutcome::Invalid;
    if (O == TReadOutcome::Ignored) continue;
    if (O == TReadOutcome::Invalid) {
      // A stray byte on the line (or a frame that is not a readout) may come before the slave's own answer:
      // it is counted and the wait goes on until the time-out.
      ++Stray_Replies_;
      continue;
    }
    if (O == TReadOutcome::More) {
      Step_Scan = Request_Data;
    } else {
      ID_Dev_Found = true;
      Notify_Slave_List(TScan_Report::Address, ID_Dev_Primary, 1, TScan_Kind::Primary);
      Step_Scan = Next_Address;
    }
    return;
  }
  if (TimeOut_Expired()) Not_Read();
}

void TMBusScanDecode::Await_Selected_Step() {
  ID_Dev_Found = false;
  auto Done = [&](bool Found) {
    TimeOut_Calc = Short_Time_Out();
    ID_Dev_Found = Found;
    if (Found) Notify_Slave_List(TScan_Report::Address, static_cast<int32_t>(Current_Id_), 1, TScan_Kind::Secondary);
    Step_Scan = Sec_Add_Next_Step;
  };
  std::vector<uint8_t> R;
  while (Take_Reply(R)) {
    // In the secondary search any other datagram is the answer: a broken readout ends this slave's reading.
    const TReadOutcome O = Is_Valid_RSP_UD(R) ? Read_Telegram(R, true) : TReadOutcome::Invalid;
    if (O == TReadOutcome::Ignored) continue;
    if (O == TReadOutcome::More)
      Step_Scan = Request_Selected;
    else
      Done(O == TReadOutcome::Finished || Num_Frame_Read > 0);
    return;
  }
  if (TimeOut_Expired()) Done(Num_Frame_Read > 0);
}

void TMBusScanDecode::Primary_Step(int32_t Step) {
  switch (Step) {
    case Broadcast_SND_NKE:
      TimeOut_Calc = Short_Time_Out();
      ID_Dev_Primary = Timing_.First_Primary - 1;
      Notify_Slave_List(TScan_Report::Started, 0, 0, TScan_Kind::Primary);
      Send_Command(Build_SND_NKE(Addr_Broadcast));
      Step_Scan = Await_Broadcast;
      break;
    case Await_Broadcast: {
      std::vector<uint8_t> R;
      if (Await_Answer(R) != TAnswer::None) Step_Scan = Next_Address;
      break;
    }
    case Next_Address:
      TimeOut_Calc = Short_Time_Out();
      Num_Frame_Read = 0;
      Current_Slave_ = nullptr;
      ID_Dev_Primary += 1;
      if (ID_Dev_Primary > Timing_.Last_Primary || FStopScan) {
        Type_To_Send_In_Last_Step = TScan_Kind::Primary;
        Enable_Send_In_Last_Step = true;
        FResult = Result_Scanned;
        Step_Scan = End_Scan;
      } else {
        Step_Scan = App_Reset ? Send_App_Reset : (SND_NKE ? Send_SND_NKE : Request_Data);
      }
      break;
    case Send_App_Reset:
      Clock_->Sleep(Timing_.Primary_Sleep);
      Send_Command(Build_App_Reset(static_cast<uint8_t>(ID_Dev_Primary)));
      Step_Scan = Await_App_Reset;
      break;
    case Await_App_Reset:
      if (ACK_Or_Time_Out()) Step_Scan = SND_NKE ? Send_SND_NKE : Request_Data;
      break;
    case Send_SND_NKE:
      Clock_->Sleep(Timing_.Primary_Sleep);
      Send_Command(Build_SND_NKE(static_cast<uint8_t>(ID_Dev_Primary)));
      Step_Scan = Await_SND_NKE;
      break;
    case Await_SND_NKE:
      if (ACK_Or_Time_Out()) Step_Scan = Request_Data;
      break;
    case Request_Data:
      TimeOut_Calc = Long_Time_Out();
      Clock_->Sleep(Timing_.Primary_Sleep);
      Send_Command(Build_REQ_UD2(static_cast<uint8_t>(ID_Dev_Primary), Num_Frame_Read));
      Step_Scan = Await_Data;
      break;
    case Await_Data:
      Await_Data_Step();
      break;
    default:
      Step_Scan = End_Scan;  // not a step of this machine
      break;
  }
}

void TMBusScanDecode::Secondary_Step(int32_t Step) {
  switch (Step) {
    case Secondary_Start:
      TimeOut_Calc = Short_Time_Out();
      Phase_Scan_Sec_Add = 1;
      Notify_Slave_List(TScan_Report::Started, 0, 0, TScan_Kind::Secondary);
      Phase_Scan_Sec_Add = 2;
      Step_Scan = SND_NKE ? Deselect : (App_Reset ? Reset_All : Secondary_SND_NKE);
      return;
    case Deselect:
      Send_Command(Build_SND_NKE(Addr_Selected));
      Step_Scan = Await_Deselect;
      return;
    case Await_Deselect:
      if (ACK_Or_Time_Out()) Step_Scan = App_Reset ? Reset_All : Secondary_SND_NKE;
      return;
    case Reset_All:
      Send_Command(Build_App_Reset(Addr_Broadcast));
      Step_Scan = Await_Reset_All;
      return;
    case Await_Reset_All:
      if (ACK_Or_Time_Out()) Step_Scan = Secondary_SND_NKE;
      return;
    case Secondary_SND_NKE:
      Send_Command(Build_SND_NKE(Addr_Broadcast));
      Step_Scan = Await_Secondary_SND_NKE;
      return;
    case Await_Secondary_SND_NKE:
      if (ACK_Or_Time_Out()) Step_Scan = Clear_Digits;
      return;
    case Clear_Digits:
      for (int& I : Index) I = -1;
      Step_Scan = Select_First_Digit;
      return;
    case Request_Selected:
      TimeOut_Calc = Long_Time_Out();
      Send_Command(Build_REQ_UD2(Addr_Selected, Num_Frame_Read));
      Step_Scan = Await_Selected;
      return;
    case Await_Selected:
      Await_Selected_Step();
      return;
    default:
      break;
  }
  for (int D = 0; D < Digit_Count; ++D) {
    if (Step == Select_Digit[D]) return Digit_Step(D);
    if (Step == Await_Digit[D]) return Digit_Answer_Step(D);
  }
  Step_Scan = End_Scan;  // not a step of this machine
}

bool TMBusScanDecode::Not_Analyzer_Enabled(const TMBusScanDecode&, const std::vector<uint8_t>& D) {
  return !Is_Reply(D, Reply_Analyzer_Enabled);
}

void TMBusScanDecode::Scan_Decode() {
  if (FAbortScan) Step_Scan = End_Scan;
  const int32_t Step = Step_Scan;
  static const TLeave_Steps Leave{End_Scan, Disable_Analyzer, Await_Disable_Analyzer, Close_Scan,
                                  Cmd_Disable_Analyzer, Reply_Analyzer_Disabled, nullptr};
  if (Step >= End_Scan) return Leave_Mode_Step(Step, Leave);
  if (Step >= Secondary_Start) return Secondary_Step(Step);
  std::vector<uint8_t> R;
  switch (Step) {
    case Enable_Analyzer:
      Enable_Send_In_Last_Step = false;
      Open_Run(Cmd_Enable_Analyzer, Await_Analyzer, Close_Scan);
      return;
    case Await_Analyzer:
      switch (Await_Answer(R, Not_Analyzer_Enabled)) {
        case TAnswer::Reply:
          ID_Dev_Primary = -1;
          Step_Scan = ScanType == saSecondaryAddress ? Secondary_Start : Broadcast_SND_NKE;
          return;
        case TAnswer::Timed_Out:
          FResult = Result_Not_Confirmed;
          Step_Scan = End_Scan;
          return;
        case TAnswer::None:
          return;
      }
      return;
    default:
      return Primary_Step(Step);
  }
}
