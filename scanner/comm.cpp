#include "scanner/comm.h"

#include <errno.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

uint32_t Baudrate_Value(TBaudrate B) {
  static constexpr uint32_t Values[] = {110,   300,   600,   1200,   2400,   4800,   9600,    14400,  19200,
                                        38400, 56000, 57600, 115200, 128000, 256000, 1500000, 3000000};
  return Values[static_cast<int>(B)];
}

void RaiseCommError(const QString& Msg, int32_t Code) {
  throw ECommError(Msg + QStringLiteral(" (Error: %1) ").arg(Code), Code);
}

void TCommEventChars::SetEventChar(char& Field, char C) {
  if (Field == C) return;
  Field = C;
  if (FOwner) FOwner->UpdateDataControlBlock();
}

void TCommEventChars::Assign(const TCommEventChars& Source) {
  FXonChar = Source.FXonChar;
  FXoffChar = Source.FXoffChar;
  FErrorChar = Source.FErrorChar;
  FEofChar = Source.FEofChar;
  FEvtChar = Source.FEvtChar;
  if (FOwner) FOwner->UpdateDataControlBlock();
}

TCustomComm::TCustomComm() : FEventChars(std::make_unique<TCommEventChars>(this)) {}

TCustomComm::~TCustomComm() { Close(); }

void TCustomComm::CreateHandle() {
  const int R = FPort.Open(FDeviceName);
  if (R == -1) RaiseCommError(QStringLiteral("Invalid device handle, access denied"), -1);
  if (R != 0) RaiseCommError(QStringLiteral("Error accessing specified device"), R);
}

void TCustomComm::DestroyHandle() { FPort.Close(); }

void TCustomComm::Open() {
  if (Enabled()) RaiseCommError(QStringLiteral("Port already assigned (open)"), -1);
  CreateHandle();
  try {
    // Reads return at once with whatever is queued; the tty layer keeps its own queue sizes.
    UpdateDataControlBlock();
  } catch (...) {
    DestroyHandle();
    throw;
  }
  FWakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  FStopEvents = false;
  FEventThread = std::thread([this] { EventLoop(); });
}

void TCustomComm::Close() {
  if (!Enabled()) return;
  FStopEvents = true;
  if (FEventThread.joinable()) {
    const uint64_t One = 1;
    [[maybe_unused]] const ssize_t N = ::write(FWakeFd, &One, sizeof One);
    FEventThread.join();
  }
  if (FWakeFd >= 0) ::close(FWakeFd);
  FWakeFd = -1;
  std::lock_guard<std::mutex> L(FCriticalSection);
  DestroyHandle();
}

void TCustomComm::UpdateDataControlBlock() {
  if (!Enabled()) return;
  plat::TSerialSettings S;
  S.Baud = Baudrate_Value(FBaudRate);
  S.Data_Bits = 4 + static_cast<int>(FDatabits);
  S.Parity = static_cast<plat::TSerialSettings::TParityMode>(FParity);
  S.Stop = static_cast<plat::TSerialSettings::TStopMode>(FStopbits);
  switch (FFlowControl) {
    case fcNone: S.Flow = plat::TSerialSettings::TFlowMode::None; break;
    case fcCTS: S.Flow = plat::TSerialSettings::TFlowMode::RtsCts; break;
    case fcDTR: S.Flow = plat::TSerialSettings::TFlowMode::DtrDsr; break;
    case fcSoftware: S.Flow = plat::TSerialSettings::TFlowMode::XonXoff; break;
    case fcDefault: S.Flow = plat::TSerialSettings::TFlowMode::Keep; break;
  }
  S.Parity_Check = FOptions.Contains(coParityCheck);
  S.Null_Strip = FOptions.Contains(coNullStrip);
  S.Xon_Char = static_cast<uint8_t>(FEventChars->XonChar());
  S.Xoff_Char = static_cast<uint8_t>(FEventChars->XoffChar());
  const int R = FPort.Apply(S);
  if (R != 0) RaiseCommError(QStringLiteral("Error updating DataControlBlock"), R);
}

int32_t TCustomComm::Write(const void* Buf, int32_t Count) {
  std::lock_guard<std::mutex> L(FCriticalSection);
  int Err = 0;
  const int N = FPort.Write(static_cast<const uint8_t*>(Buf), static_cast<size_t>(Count), FWriteTimeout, Err);
  if (N == -2) RaiseCommError(QStringLiteral("Write error"), Err);
  if (N > 0) FWritePending = true;
  return N;
}

int32_t TCustomComm::Read(void* Buf, int32_t Count) {
  std::lock_guard<std::mutex> L(FCriticalSection);
  int Err = 0;
  // Like the component's driver set-up, a read returns at once with what is queued (0 when nothing is).
  const int N = FPort.Read(static_cast<uint8_t*>(Buf), static_cast<size_t>(Count), 0, Err);
  if (N == -2) RaiseCommError(QStringLiteral("Read error"), Err);
  return N;
}

int32_t TCustomComm::InQueCount() const { return Enabled() ? FPort.In_Queue() : -1; }
int32_t TCustomComm::OutQueCount() const { return Enabled() ? FPort.Out_Queue() : -1; }

void TCustomComm::PurgeIn() {
  if (Enabled()) FPort.Purge_In();
}

void TCustomComm::PurgeOut() {
  if (Enabled()) FPort.Purge_Out();
}

namespace {
void Check_Escape(bool Open, int Result) {
  if (!Open) RaiseCommError(QStringLiteral("Port not open, unable to complete operation"), -1);
  if (Result != 0) RaiseCommError(QStringLiteral("EscapeCommFunction failure"), Result);
}
}  // namespace

void TCustomComm::SetDTRState(bool State) { Check_Escape(Enabled(), Enabled() ? FPort.Set_DTR(State) : 0); }
void TCustomComm::SetRTSState(bool State) { Check_Escape(Enabled(), Enabled() ? FPort.Set_RTS(State) : 0); }
void TCustomComm::SetXONState(bool State) { Check_Escape(Enabled(), Enabled() ? FPort.Set_XON(State) : 0); }

void TCustomComm::SetBREAKState(bool State) {
  Check_Escape(Enabled(), Enabled() ? FPort.Set_Break(State) : 0);
  PurgeIn();
  PurgeOut();
}

namespace {
bool Line(const plat::TSerialPort& P, uint32_t Bit) {
  uint32_t Bits = 0;
  return P.Modem_Lines(Bits) && (Bits & Bit) != 0;
}
}  // namespace

bool TCustomComm::CTS() const { return Line(FPort, plat::Line_CTS); }
bool TCustomComm::DSR() const { return Line(FPort, plat::Line_DSR); }
bool TCustomComm::RING() const { return Line(FPort, plat::Line_RING); }
bool TCustomComm::RLSD() const { return Line(FPort, plat::Line_RLSD); }

void TCustomComm::SetDeviceName(const QString& Value) {
  if (Value == FDeviceName) return;
  if (Enabled()) RaiseCommError(QStringLiteral("Port already assigned (open)"), -1);
  FDeviceName = Value;
}

void TCustomComm::SetReadBufSize(int32_t Value) {
  if (Value == FReadBufSize) return;
  if (Enabled()) RaiseCommError(QStringLiteral("Port already assigned (open)"), -1);
  FReadBufSize = Value;
}

void TCustomComm::SetWriteBufSize(int32_t Value) {
  if (Value == FWriteBufSize) return;
  if (Enabled()) RaiseCommError(QStringLiteral("Port already assigned (open)"), -1);
  FWriteBufSize = Value;
}

void TCustomComm::SetMonitorEvents(TCommEventTypes Value) {
  if (Value == FMonitorEvents) return;
  if (Enabled()) RaiseCommError(QStringLiteral("Port already assigned (open)"), -1);
  FMonitorEvents = Value;
}

#define COMM_LINE_SETTER(Name, Type, Field) \
  void TCustomComm::Name(Type Value) {      \
    if (Value == Field) return;             \
    Field = Value;                          \
    UpdateDataControlBlock();               \
  }
COMM_LINE_SETTER(SetBaudRate, TBaudrate, FBaudRate)
COMM_LINE_SETTER(SetParity, TParity, FParity)
COMM_LINE_SETTER(SetStopbits, TStopbits, FStopbits)
COMM_LINE_SETTER(SetDatabits, TDatabits, FDatabits)
COMM_LINE_SETTER(SetOptions, TCommOptions, FOptions)
COMM_LINE_SETTER(SetFlowControl, TFlowControl, FFlowControl)
#undef COMM_LINE_SETTER

void TCustomComm::EventLoop() {
  // The tty layer has no event mask to wait on, so the thread watches input, the modem lines and the output
  // queue, and raises an event for each change it sees.
  int Last_In = 0;
  uint32_t Last_Lines = 0;
  const bool Has_Lines = FPort.Modem_Lines(Last_Lines);
  bool Hung_Up = false;
  while (!FStopEvents) {
    // New input wakes the thread at once while the input queue is empty; queued input, the lines and the
    // output queue are looked at every 20 ms.
    pollfd P[2] = {{(Last_In > 0 || Hung_Up) ? -1 : FPort.Fd(), POLLIN, 0}, {FWakeFd, POLLIN, 0}};
    const int R = ::poll(P, 2, 20);
    if (FStopEvents) break;
    if (R < 0 && errno != EINTR) break;
    if (P[0].revents & (POLLERR | POLLHUP)) Hung_Up = true;  // e.g. a pseudo-terminal whose other end closed
    TCommEventTypes Ev;
    const int In = FPort.In_Queue();
    if (In > Last_In) Ev.Include(evRxChar);
    Last_In = In < 0 ? 0 : In;
    if (Has_Lines) {
      uint32_t Lines = 0;
      if (FPort.Modem_Lines(Lines)) {
        const uint32_t Changed = Lines ^ Last_Lines;
        if (Changed & plat::Line_CTS) Ev.Include(evCts);
        if (Changed & plat::Line_DSR) Ev.Include(evDsr);
        if (Changed & plat::Line_RING) Ev.Include(evRing);
        if (Changed & plat::Line_RLSD) Ev.Include(evRlsd);
        Last_Lines = Lines;
      }
    }
    if (FWritePending && FPort.Out_Queue() == 0) {
      FWritePending = false;
      Ev.Include(evTxEmpty);
    }
    if (In > 0) Hung_Up = false;
    Ev *= FMonitorEvents;
    if (!Ev.Empty()) HandleCommEvent(Ev);
  }
  FPort.Purge_In();
  FPort.Purge_Out();
}

void TCustomComm::HandleCommEvent(TCommEventTypes Ev) {
  if (Ev.Contains(evBreak) && OnBreak) OnBreak(this);
  if (Ev.Contains(evCts) && OnCts) OnCts(this);
  if (Ev.Contains(evDsr) && OnDsr) OnDsr(this);
  if (Ev.Contains(evError) && OnError) OnError(this, 0);
  if (Ev.Contains(evRing) && OnRing) OnRing(this);
  if (Ev.Contains(evRlsd) && OnRlsd) OnRlsd(this);
  if (Ev.Contains(evRxChar) && OnRxChar) {
    const int32_t N = InQueCount();
    if (N > 0) OnRxChar(this, N);
  }
  if (Ev.Contains(evRxFlag) && OnRxFlag) OnRxFlag(this);
  if (Ev.Contains(evTxEmpty) && OnTxEmpty) OnTxEmpty(this);
}
