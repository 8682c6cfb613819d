// What the scanner's wired and wireless machines share: the clock, the transport and its inbox, the thread and its
// gate, the sending of requests and the waiting for their answers, the opening of a run and the steps that leave
// the converter's mode at its end. Each machine's own steps live in its own file (mbus_scan.cpp, wmbus_scan.cpp).

#include "scanner/mbus_scan.h"

#include "core/device_model.h"
#include "scanner/comm.h"

#include <chrono>

using namespace scan_step;

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
      [R = std::move(Receiver)](const plat::TUdpDatagram& D) { R(D.Data, D.Size, D.From_Address, D.From_Port); }, Error);
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

void TMBusScanDecode::Begin_Run(const QString& IP, uint32_t Addr) {
  ComPort.clear();
  IP_Address = IP;
  Converter_Address_ = Addr;
  Accept_From_ = Addr;
  Accept_Port_ = 0;
  Wireless_Receive_Message_ = false;
  Step_Scan = 0;
  Reports_.clear();
  Finish_Pending_ = false;
  Close_Requested_ = false;
  FStopScan = false;
  FAbortScan = false;
  Foreign_Dropped_ = 0;
  Oversized_Dropped_ = 0;
  Stray_Replies_ = 0;
  Full_List_Dropped_ = 0;
  {
    std::lock_guard<std::mutex> L(Open_Error_Lock_);
    Open_Error_.clear();
  }
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

void TMBusScanDecode::UDP_Read(const uint8_t* Data, size_t Size, uint32_t From, uint16_t Port) {
  // Only the converter answers. Its reply port is its own, so a wired scan takes any; once a wireless run has
  // learnt the port of the handshake's answer, only that socket speaks for the converter.
  const uint16_t Learnt = Accept_Port_.load();
  if (From != Accept_From_.load() || (Learnt != 0 && Port != Learnt)) {
    ++Foreign_Dropped_;
    return;
  }
  if (Size > static_cast<size_t>(Ans_Array_Size)) {
    ++Oversized_Dropped_;
    return;
  }
  if (Wireless_Receive_Message_.load()) {
    // While listening, only forwarded telegrams are expected; anything else is dropped. Listening begins only
    // after the handshake, so the port is always learnt here.
    if (Learnt != 0) Decode_Wireless_Frame(Data, Size);
    return;
  }
  std::lock_guard<std::mutex> L(Inbox_Lock_);
  if (Inbox_.size() >= 64) Inbox_.pop_front();
  Inbox_.push_back({std::vector<uint8_t>(Data, Data + Size), Port});
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
  Reply = std::move(Inbox_.front().Bytes);
  Reply_Port_ = Inbox_.front().Port;
  Inbox_.pop_front();
  return true;
}

void TMBusScanDecode::Notify_Slave_List(TScan_Report MsgType, int32_t Address, int32_t Found, TScan_Kind ScanKind) {
  Reports_.push_back({MsgType, Address, Found, ScanKind});
}

bool TMBusScanDecode::Is_Reply(const std::vector<uint8_t>& R, const QByteArray& Text) {
  return R.size() == static_cast<size_t>(Text.size()) &&
         std::equal(R.begin(), R.end(), reinterpret_cast<const uint8_t*>(Text.constData()));
}

bool TMBusScanDecode::Open_Transport() {
  if (Transport_Open_) return true;
  QString Error;
  if (!Transport_->Open([this](const uint8_t* D, size_t N, uint32_t F, uint16_t P) { UDP_Read(D, N, F, P); }, &Error)) {
    std::lock_guard<std::mutex> L(Open_Error_Lock_);
    Open_Error_ = Error.isEmpty() ? QStringLiteral("The scanner's socket cannot be opened") : Error;
    return false;
  }
  Transport_Open_ = true;
  return true;
}

QString TMBusScanDecode::Open_Error() const {
  std::lock_guard<std::mutex> L(Open_Error_Lock_);
  return Open_Error_;
}

void TMBusScanDecode::Open_Run(const QByteArray& Command, int32_t Await_Step, int32_t Close_Step) {
  FResult = Result_Scanned;
  if (!Open_Transport()) {
    // No socket (its port is in use): the converter was never asked, which the owner must be told.
    FResult = Result_No_Socket;
    Step_Scan = Close_Step;
    return;
  }
  Send_Text_Command(Command, Await_Step);
}

void TMBusScanDecode::Close_Transport() {
  if (Transport_Open_) Transport_->Close();
  Transport_Open_ = false;
  std::lock_guard<std::mutex> L(Inbox_Lock_);
  Inbox_.clear();
}

TMBusScanDecode::TAnswer TMBusScanDecode::Await_Answer(std::vector<uint8_t>& R, TPass_Over Pass_Over) {
  while (Take_Reply(R)) {
    if (Pass_Over && Pass_Over(*this, R)) continue;
    return TAnswer::Reply;
  }
  return TimeOut_Expired() ? TAnswer::Timed_Out : TAnswer::None;
}

void TMBusScanDecode::Leave_Mode_Step(int32_t Step, const TLeave_Steps& Leave) {
  std::vector<uint8_t> R;
  if (Step == Leave.Start) {
    Wireless_Receive_Message_ = false;  // so that the converter's confirmation is seen as a reply
    Count_Disable_Analyzer = 0;
    FAbortScan = false;
    FStopScan = false;
    Step_Scan = Leave.Send;
  } else if (Step == Leave.Send) {
    if (Select_Hardware == shSerial || Count_Disable_Analyzer > 2 || !Transport_Open_) {
      Step_Scan = Leave.Close;
    } else {
      Count_Disable_Analyzer += 1;
      Send_Text_Command(Leave.Command, Leave.Await);
    }
  } else if (Step == Leave.Await) {
    switch (Await_Answer(R, Leave.Pass_Over)) {
      case TAnswer::Reply: Step_Scan = Is_Reply(R, Leave.Confirmed) ? Leave.Close : Leave.Send; break;
      case TAnswer::Timed_Out: Step_Scan = Leave.Send; break;
      case TAnswer::None: break;
    }
  } else if (Step == Leave.Close) {
    Close_Transport();
    if (Enable_Send_In_Last_Step) Notify_Slave_List(TScan_Report::Ended, 0, 0, Type_To_Send_In_Last_Step);
    Enable_Send_In_Last_Step = false;
    Finish_Pending_ = true;
  } else {
    Step_Scan = Leave.Start;  // not a step of this machine
  }
}

bool TMBusScanDecode::Save_XML_Conf_Wired(const TSaveConfXML& DataIn, const TScan_Check_State& Checks) {
  std::lock_guard<std::mutex> L(List_Dev_Lock);
  return ::Save_XML_Conf_Wired(DataIn, List_Dev_MBus, Checks);
}

bool TMBusScanDecode::Save_XML_Conf_Wireless(const TSaveConfXML& DataIn) {
  std::lock_guard<std::mutex> L(List_Dev_Lock);
  return ::Save_XML_Conf_Wireless(DataIn, List_Dev_Wireless);
}
