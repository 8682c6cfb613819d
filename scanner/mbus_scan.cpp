#include "scanner/mbus_scan.h"

#include "core/device_model.h"
#include "scanner/comm.h"
#include "scanner/mbus_decode.h"
#include "scanner/mbus_frames.h"

#include <QDateTime>

#include <chrono>

using namespace mbus;

// --- clock, transport, event ------------------------------------------------------------------------------------

uint32_t TSteadyScanClock::Tick() {
  const auto Ms = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
  return static_cast<uint32_t>(Ms.count());
}

void TSteadyScanClock::Sleep(uint32_t Ms) { std::this_thread::sleep_for(std::chrono::milliseconds(Ms)); }

bool TUdpScanTransport::Open(TReceiver Receiver, QString* Error) {
  return Socket_.Open(
      Config_.Bind_Address, Wireless_Port_ ? Wireless_Port_ : Config_.Local_Port,
      [R = std::move(Receiver)](const plat::TUdpDatagram& D) { R(D.Data, D.Size, D.From_Address); }, Error);
}

void TUdpScanTransport::Close() { Socket_.Close(); }

bool TUdpScanTransport::Send(uint32_t Address, const uint8_t* Data, size_t Size) {
  return Socket_.Send_To(Address, Wireless_Port_ ? Wireless_Port_ : Config_.Converter_Port, Data, Size);
}

void TManualResetEvent::SetEvent() {
  {
    std::lock_guard<std::mutex> L(Lock_);
    Set_ = true;
  }
  Cv_.notify_all();
}

void TManualResetEvent::ResetEvent() {
  std::lock_guard<std::mutex> L(Lock_);
  Set_ = false;
}

bool TManualResetEvent::Is_Set() const {
  std::lock_guard<std::mutex> L(Lock_);
  return Set_;
}

void TManualResetEvent::WaitFor(const std::function<bool()>& Also) {
  std::unique_lock<std::mutex> L(Lock_);
  Cv_.wait(L, [&] { return Set_ || (Also && Also()); });
}

void TManualResetEvent::Wake() {
  { std::lock_guard<std::mutex> L(Lock_); }  // a waiter between its check and its wait sees the change
  Cv_.notify_all();
}

// --- the scanner ------------------------------------------------------------------------------------------------

TMBusScanDecode::TMBusScanDecode() : TMBusScanDecode(TScanEnvironment{}) {}

TMBusScanDecode::TMBusScanDecode(TScanEnvironment Env)
    : Transport_(Env.Transport ? std::move(Env.Transport) : std::make_unique<TUdpScanTransport>()),
      Clock_(Env.Clock ? Env.Clock : &Steady_Clock_) {
  // The serial port stays closed: serial scans are refused until a serial transport reads replies.
  Comm = std::make_unique<TComm>();
  Comm->SetBaudRate(br115200);
  Comm->SetDatabits(da8);
  Comm->SetParity(paNone);
  Comm->SetStopbits(sb10);
  Comm->SetFlowControl(fcNone);
  Comm->SetReadBufSize(4096);
  Comm->SetWriteBufSize(4096);
  Event_Run.ResetEvent();
  if (Env.Start_Thread) Thread_ = std::thread([this] { Execute(); });
}

TMBusScanDecode::~TMBusScanDecode() {
  FExit = true;
  FAbortScan = true;
  Event_Run.Wake();
  if (Thread_.joinable()) Thread_.join();
  std::lock_guard<std::mutex> L(Step_Lock_);
  if (Transport_Open_) Transport_->Close();
  Transport_Open_ = false;
  Comm->Close();
}

void TMBusScanDecode::Execute() {
  while (!FExit) {
    Run_Pass();
    Event_Run.WaitFor([this] { return FExit.load() || (Close_Requested_.load() && FInScan.load()); });
  }
}

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

void TMBusScanDecode::Begin_Run(const QString& IP, uint32_t Addr) {
  ComPort.clear();
  IP_Address = IP;
  Converter_Address_ = Addr;
  Accept_From_ = Addr;
  Wireless_Receive_Message_ = false;
  Step_Scan = 0;
  Reports_.clear();
  Finish_Pending_ = false;
  Close_Requested_ = false;
  FStopScan = false;
  FAbortScan = false;
  Foreign_Dropped_ = 0;
  Oversized_Dropped_ = 0;
  FInScan = true;
  Event_Run.Wake();
}

void TMBusScanDecode::Request_Close() {
  Close_Requested_ = true;
  FAbortScan = true;
  Event_Run.ResetEvent();
  Event_Run.Wake();
}

bool TMBusScanDecode::Set_Timing(const TScanTiming& Timing) {
  if (FInScan) return false;
  std::lock_guard<std::mutex> L(Step_Lock_);
  if (FInScan) return false;
  Timing_ = Timing;
  return true;
}

void TMBusScanDecode::Run_Pass() {
  uint32_t Pause;
  if (FInScan) {
    std::vector<TReport> Reports;
    TUpdate_Slave_List_Proc Proc;
    bool Finish;
    {
      std::lock_guard<std::mutex> L(Step_Lock_);
      if (MBusType == mtWired)  // the machine of the scan that was started
        Scan_Decode();
      else
        Scan_Decode_Wireless();
      Reports.swap(Reports_);
      Proc = Update_Slave_List;
      Finish = Finish_Pending_;
      Finish_Pending_ = false;
      Pause = Timing_.Step_Pause;
    }
    // Reports go out with no lock held, so a callback may call back into the scanner.
    for (const TReport& R : Reports) {
      if (!Proc) break;
      try {
        Proc(R.M, R.A, R.F, R.K);
      } catch (...) {
        // A failing progress callback must not end the scan.
      }
    }
    if (Finish) FInScan = false;
  } else {
    std::lock_guard<std::mutex> L(Step_Lock_);
    Pause = Timing_.Idle_Pause;
  }
  Clock_->Sleep(Pause);
}

void TMBusScanDecode::UDP_Read(const uint8_t* Data, size_t Size, uint32_t From) {
  // Only the converter answers; the source port is not checked, since the converter's reply port is its own.
  if (From != Accept_From_.load()) {
    ++Foreign_Dropped_;
    return;
  }
  if (Size > static_cast<size_t>(Ans_Array_Size)) {
    ++Oversized_Dropped_;
    return;
  }
  if (Wireless_Receive_Message_.load()) {
    // While listening, only forwarded telegrams are expected; anything else is dropped.
    Decode_Wireless_Frame(Data, Size);
    return;
  }
  std::lock_guard<std::mutex> L(Inbox_Lock_);
  if (Inbox_.size() >= 64) Inbox_.pop_front();
  Inbox_.emplace_back(Data, Data + Size);
}

void TMBusScanDecode::Send_Command(const std::vector<uint8_t>& Frame) {
  {
    // Whatever arrived before this request cannot be its answer.
    std::lock_guard<std::mutex> L(Inbox_Lock_);
    Inbox_.clear();
  }
  Transport_->Send(Converter_Address_, Frame.data(), Frame.size());
  Start_Send = Clock_->Tick();
}

void TMBusScanDecode::Send_Command(const QByteArray& Text) {
  Send_Command(std::vector<uint8_t>(Text.begin(), Text.end()));
}

void TMBusScanDecode::Send_Text_Command(const QByteArray& Text, int32_t Next_Step) {
  TimeOut_Calc = Timing_.Text_Time_Out;
  Send_Command(Text);
  Step_Scan = Next_Step;
}

bool TMBusScanDecode::TimeOut_Expired() { return static_cast<uint32_t>(Clock_->Tick() - Start_Send) > TimeOut_Calc; }

bool TMBusScanDecode::Take_Reply(std::vector<uint8_t>& Reply) {
  std::lock_guard<std::mutex> L(Inbox_Lock_);
  if (Inbox_.empty()) return false;
  Reply = std::move(Inbox_.front());
  Inbox_.pop_front();
  return true;
}

void TMBusScanDecode::Notify_Slave_List(int32_t MsgType, int32_t Address, int32_t Found, int32_t ScanKind) {
  Reports_.push_back({MsgType, Address, Found, ScanKind});
}

uint32_t TMBusScanDecode::Short_Time_Out() const {
  return static_cast<uint32_t>(330000 / Baudrate) + Timing_.Time_Out_Base + 50;
}

uint32_t TMBusScanDecode::Long_Time_Out() const {
  return static_cast<uint32_t>(3245000 / Baudrate) + Timing_.Time_Out_Base + 50;
}

bool TMBusScanDecode::Is_Reply(const std::vector<uint8_t>& R, const QByteArray& Text) {
  return R.size() == static_cast<size_t>(Text.size()) &&
         std::equal(R.begin(), R.end(), reinterpret_cast<const uint8_t*>(Text.constData()));
}

bool TMBusScanDecode::Open_Transport() {
  if (Transport_Open_) return true;
  QString Error;
  if (!Transport_->Open([this](const uint8_t* D, size_t N, uint32_t F) { UDP_Read(D, N, F); }, &Error)) return false;
  Transport_Open_ = true;
  return true;
}

void TMBusScanDecode::Open_Run(const QByteArray& Command, int32_t Close_Step) {
  FResult = 1;
  if (!Open_Transport()) {
    FResult = 2;  // no socket: the converter cannot be asked
    Step_Scan = Close_Step;
    return;
  }
  Send_Text_Command(Command, 1);
}

void TMBusScanDecode::Close_Transport() {
  if (Transport_Open_) Transport_->Close();
  Transport_Open_ = false;
  std::lock_guard<std::mutex> L(Inbox_Lock_);
  Inbox_.clear();
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
      for (TVariable_MBus& V : Read.List_Var) S.List_Var.push_back(std::move(V));
    }
    Current_Id_ = Current_Slave_->Identification;
  }
  ++Num_Frame_Read;
  return (Res.LastFrame || Num_Frame_Read >= Cut_After) ? TReadOutcome::Finished : TReadOutcome::More;
}

void TMBusScanDecode::Digit_Step(int D) {
  if (FStopScan) {
    Step_Scan = 200;
    return;
  }
  Index[D] += 1;
  for (int I = D + 1; I < 8; ++I) Index[I] = -1;
  if (Index[D] > 9) {
    if (D == 0) {
      Phase_Scan_Sec_Add = 3;
      Type_To_Send_In_Last_Step = 2;
      Enable_Send_In_Last_Step = true;
      Step_Scan = 200;
    } else {
      Step_Scan = 108 + 2 * (D - 1);
    }
    return;
  }
  Send_Command(Build_Select_Secondary(Index));
  Step_Scan = 109 + 2 * D;
}

void TMBusScanDecode::Answer_Step(int D) {
  const int32_t Own = 108 + 2 * D;
  std::vector<uint8_t> R;
  if (Take_Reply(R)) {
    if (Is_Single_ACK(R)) {
      Num_Frame_Read = 0;
      Current_Slave_ = nullptr;
      Sec_Add_Next_Step = Own;
      Step_Scan = 124;
    } else if (Is_No_Slave(R)) {
      Step_Scan = Own;
    } else {
      Step_Scan = D < 7 ? Own + 2 : Own;  // several slaves answered: narrow the search by one more digit
    }
    return;
  }
  if (TimeOut_Expired()) Step_Scan = Own;
}

void TMBusScanDecode::Scan_Decode() {
  if (FAbortScan) Step_Scan = 200;
  std::vector<uint8_t> R;
  // Waits for a single ACK; any other reply is passed over. True on the ACK or the time-out.
  auto Wait_ACK = [&] {
    while (Take_Reply(R))
      if (Is_Single_ACK(R)) return true;
    return TimeOut_Expired();
  };
  const int32_t Step = Step_Scan;
  switch (Step) {
    case 0:
      Enable_Send_In_Last_Step = false;
      Open_Run(Cmd_Enable_Analyzer, 203);
      break;
    case 1:
      // A reply that is there counts even when the time-out has passed meanwhile.
      if (Take_Reply(R)) {
        if (Is_Reply(R, Reply_Analyzer_Enabled)) {
          ID_Dev_Primary = -1;
          Step_Scan = ScanType == saSecondaryAddress ? 100 : 2;
        } else {
          FResult = 2;
          Step_Scan = 200;
        }
      } else if (TimeOut_Expired()) {
        FResult = 2;
        Step_Scan = 200;
      }
      break;
    case 2:
      TimeOut_Calc = Short_Time_Out();
      ID_Dev_Primary = Timing_.First_Primary - 1;
      Notify_Slave_List(1, 0, 0, 1);
      Send_Command(Build_SND_NKE(Addr_Broadcast));
      Step_Scan = 3;
      break;
    case 3:
      if (Take_Reply(R) || TimeOut_Expired()) Step_Scan = 4;
      break;
    case 4:
      TimeOut_Calc = Short_Time_Out();
      Num_Frame_Read = 0;
      Current_Slave_ = nullptr;
      ID_Dev_Primary += 1;
      if (ID_Dev_Primary > Timing_.Last_Primary || FStopScan) {
        Type_To_Send_In_Last_Step = 1;
        Enable_Send_In_Last_Step = true;
        FResult = 1;
        Step_Scan = 200;
      } else {
        Step_Scan = App_Reset ? 5 : (SND_NKE ? 7 : 9);
      }
      break;
    case 5:
      Clock_->Sleep(Timing_.Primary_Sleep);
      Send_Command(Build_App_Reset(static_cast<uint8_t>(ID_Dev_Primary)));
      Step_Scan = 6;
      break;
    case 6:
      if (Wait_ACK()) Step_Scan = SND_NKE ? 7 : 9;
      break;
    case 7:
      Clock_->Sleep(Timing_.Primary_Sleep);
      Send_Command(Build_SND_NKE(static_cast<uint8_t>(ID_Dev_Primary)));
      Step_Scan = 8;
      break;
    case 8:
      if (Wait_ACK()) Step_Scan = 9;
      break;
    case 9:
      TimeOut_Calc = Long_Time_Out();
      Clock_->Sleep(Timing_.Primary_Sleep);
      Send_Command(Build_REQ_UD2(static_cast<uint8_t>(ID_Dev_Primary), Num_Frame_Read));
      Step_Scan = 10;
      break;
    case 10: {
      ID_Dev_Found = false;
      // Once a telegram of this slave is in the list, the slave counts as found even if a later one fails.
      auto Not_Read = [&] {
        ID_Dev_Found = Num_Frame_Read > 0;
        Notify_Slave_List(2, ID_Dev_Primary, ID_Dev_Found ? 1 : 0, 1);
        Step_Scan = 4;
      };
      while (Take_Reply(R)) {
        const TReadOutcome O = Is_Valid_RSP_UD(R) ? Read_Telegram(R, false) : TReadOutcome::Invalid;
        if (O == TReadOutcome::Ignored) continue;
        if (O == TReadOutcome::More) {
          Step_Scan = 9;
        } else if (O == TReadOutcome::Finished) {
          ID_Dev_Found = true;
          Notify_Slave_List(2, ID_Dev_Primary, 1, 1);
          Step_Scan = 4;
        } else {
          Not_Read();
        }
        return;
      }
      if (TimeOut_Expired()) Not_Read();
      break;
    }
    case 100:
      TimeOut_Calc = Short_Time_Out();
      Phase_Scan_Sec_Add = 1;
      Notify_Slave_List(1, 0, 0, 2);
      Phase_Scan_Sec_Add = 2;
      Step_Scan = SND_NKE ? 101 : (App_Reset ? 103 : 105);
      break;
    case 101:
      Send_Command(Build_SND_NKE(Addr_Selected));
      Step_Scan = 102;
      break;
    case 102:
      if (Wait_ACK()) Step_Scan = App_Reset ? 103 : 105;
      break;
    case 103:
      Send_Command(Build_App_Reset(Addr_Broadcast));
      Step_Scan = 104;
      break;
    case 104:
      if (Wait_ACK()) Step_Scan = 105;
      break;
    case 105:
      Send_Command(Build_SND_NKE(Addr_Broadcast));
      Step_Scan = 106;
      break;
    case 106:
      if (Wait_ACK()) Step_Scan = 107;
      break;
    case 107:
      for (int& I : Index) I = -1;
      Step_Scan = 108;
      break;
    case 124:
      TimeOut_Calc = Long_Time_Out();
      Send_Command(Build_REQ_UD2(Addr_Selected, Num_Frame_Read));
      Step_Scan = 125;
      break;
    case 125: {
      ID_Dev_Found = false;
      auto Done = [&](bool Found) {
        TimeOut_Calc = Short_Time_Out();
        ID_Dev_Found = Found;
        if (Found) Notify_Slave_List(2, static_cast<int32_t>(Current_Id_), 1, 2);
        Step_Scan = Sec_Add_Next_Step;
      };
      while (Take_Reply(R)) {
        const TReadOutcome O = Is_Valid_RSP_UD(R) ? Read_Telegram(R, true) : TReadOutcome::Invalid;
        if (O == TReadOutcome::Ignored) continue;
        if (O == TReadOutcome::More)
          Step_Scan = 124;
        else
          Done(O == TReadOutcome::Finished || Num_Frame_Read > 0);
        return;
      }
      if (TimeOut_Expired()) Done(Num_Frame_Read > 0);
      break;
    }
    case 200:
      Count_Disable_Analyzer = 0;
      FAbortScan = false;
      Step_Scan = 201;
      break;
    case 201:
      if (Select_Hardware == shSerial || Count_Disable_Analyzer > 2 || !Transport_Open_) {
        Step_Scan = 203;
      } else {
        Count_Disable_Analyzer += 1;
        Send_Text_Command(Cmd_Disable_Analyzer, 202);
      }
      break;
    case 202:
      if (Take_Reply(R))
        Step_Scan = Is_Reply(R, Reply_Analyzer_Disabled) ? 203 : 201;
      else if (TimeOut_Expired())
        Step_Scan = 201;
      break;
    case 203:
      Close_Transport();
      if (Enable_Send_In_Last_Step) Notify_Slave_List(3, 0, 0, static_cast<int32_t>(Type_To_Send_In_Last_Step));
      Enable_Send_In_Last_Step = false;
      Finish_Pending_ = true;
      break;
    default:
      if (Step >= 108 && Step <= 123) {
        if ((Step - 108) % 2 == 0)
          Digit_Step((Step - 108) / 2);
        else
          Answer_Step((Step - 109) / 2);
      } else {
        Step_Scan = 200;  // not a step of this machine
      }
      break;
  }
}
