#pragma once
// TComm: a serial port component. Opens a tty device, applies line settings, writes and reads with time-outs,
// and reports line events through event slots.
//
// Line events are raised by an event thread of the component and the slots are called on that thread; an owner
// that needs them on its GUI thread posts them there itself.

#include "platform/io/serial_port.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/sets.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

enum TBaudrate {
  br110, br300, br600, br1200, br2400, br4800, br9600, br14400, br19200, br38400, br56000, br57600, br115200,
  br128000, br256000, br1500000, br3000000
};
enum TParity { paNone, paOdd, paEven, paMark, paSpace };
enum TStopbits { sb10, sb15, sb20 };
enum TDatabits { da4, da5, da6, da7, da8 };
enum TCommEventType { evBreak, evCts, evDsr, evError, evRing, evRlsd, evRxChar, evRxFlag, evTxEmpty };
using TCommEventTypes = plat::TSet<TCommEventType, 15>;
enum TCommOption { coParityCheck, coDsrSensitivity, coIgnoreXOff, coErrorChar, coNullStrip };
using TCommOptions = plat::TSet<TCommOption, 15>;
enum TFlowControl { fcNone, fcCTS, fcDTR, fcSoftware, fcDefault };

uint32_t Baudrate_Value(TBaudrate B);

class ECommError : public plat::Exception {
 public:
  ECommError(const QString& Msg, int32_t Code) : plat::Exception(Msg), ErrorCode(Code) {}
  int32_t ErrorCode;
};

// Raises ECommError with the message Msg + " (Error: " + Code + ") ".
[[noreturn]] void RaiseCommError(const QString& Msg, int32_t Code);

class TCustomComm;

class TCommEventChars {
 public:
  explicit TCommEventChars(TCustomComm* Owner) : FOwner(Owner) {}
  char XonChar() const { return FXonChar; }
  char XoffChar() const { return FXoffChar; }
  char ErrorChar() const { return FErrorChar; }
  char EofChar() const { return FEofChar; }
  char EvtChar() const { return FEvtChar; }
  void SetXonChar(char C) { SetEventChar(FXonChar, C); }
  void SetXoffChar(char C) { SetEventChar(FXoffChar, C); }
  void SetErrorChar(char C) { SetEventChar(FErrorChar, C); }
  void SetEofChar(char C) { SetEventChar(FEofChar, C); }
  void SetEvtChar(char C) { SetEventChar(FEvtChar, C); }
  void Assign(const TCommEventChars& Source);

 private:
  void SetEventChar(char& Field, char C);
  TCustomComm* FOwner;
  char FXonChar = 17;
  char FXoffChar = 19;
  char FErrorChar = 0;
  char FEofChar = 0;
  char FEvtChar = 0;
};

class TCustomComm {
 public:
  using TNotifyEvent = std::function<void(TCustomComm* Sender)>;
  using TCommErrorEvent = std::function<void(TCustomComm* Sender, uint32_t Errors)>;
  using TCommRxCharEvent = std::function<void(TCustomComm* Sender, int32_t Count)>;

  TCustomComm();
  virtual ~TCustomComm();
  TCustomComm(const TCustomComm&) = delete;
  TCustomComm& operator=(const TCustomComm&) = delete;

  void Open();
  void Close();
  bool Enabled() const { return FPort.Is_Open(); }
  int Handle() const { return FPort.Fd(); }

  // Byte count transferred, or -1 when the transfer did not finish within the time-out.
  int32_t Write(const void* Buf, int32_t Count);
  int32_t Read(void* Buf, int32_t Count);

  int32_t InQueCount() const;
  int32_t OutQueCount() const;
  void PurgeIn();
  void PurgeOut();

  void SetDTRState(bool State);
  void SetRTSState(bool State);
  void SetBREAKState(bool State);
  void SetXONState(bool State);

  bool CTS() const;
  bool DSR() const;
  bool RING() const;
  bool RLSD() const;
  // Hold states of the driver's transmitter; the tty layer reports none of them, so they read False.
  bool CtsHold() const { return false; }
  bool DsrHold() const { return false; }
  bool RlsdHold() const { return false; }
  bool XoffHold() const { return false; }
  bool XOffSent() const { return false; }

  // Properties.
  const QString& DeviceName() const { return FDeviceName; }
  void SetDeviceName(const QString& Value);
  int32_t ReadTimeout() const { return FReadTimeout; }
  void SetReadTimeout(int32_t Value) { FReadTimeout = Value; }
  int32_t WriteTimeout() const { return FWriteTimeout; }
  void SetWriteTimeout(int32_t Value) { FWriteTimeout = Value; }
  int32_t ReadBufSize() const { return FReadBufSize; }
  void SetReadBufSize(int32_t Value);
  int32_t WriteBufSize() const { return FWriteBufSize; }
  void SetWriteBufSize(int32_t Value);
  TCommEventTypes MonitorEvents() const { return FMonitorEvents; }
  void SetMonitorEvents(TCommEventTypes Value);
  TBaudrate BaudRate() const { return FBaudRate; }
  void SetBaudRate(TBaudrate Value);
  TParity Parity() const { return FParity; }
  void SetParity(TParity Value);
  TStopbits Stopbits() const { return FStopbits; }
  void SetStopbits(TStopbits Value);
  TDatabits Databits() const { return FDatabits; }
  void SetDatabits(TDatabits Value);
  TCommEventChars& EventChars() { return *FEventChars; }
  TCommOptions Options() const { return FOptions; }
  void SetOptions(TCommOptions Value);
  TFlowControl FlowControl() const { return FFlowControl; }
  void SetFlowControl(TFlowControl Value);

  TNotifyEvent OnBreak, OnCts, OnDsr, OnRing, OnRlsd, OnRxFlag, OnTxEmpty;
  TCommErrorEvent OnError;
  TCommRxCharEvent OnRxChar;

  // Re-applies the line settings while open; nothing while closed.
  void UpdateDataControlBlock();

 protected:
  virtual void CreateHandle();
  void DestroyHandle();

 private:
  void EventLoop();
  void HandleCommEvent(TCommEventTypes Events);

  plat::TSerialPort FPort;
  QString FDeviceName = QStringLiteral("Com2");
  std::mutex FCriticalSection;  // serialises Read and Write
  int32_t FReadTimeout = 1000;
  int32_t FWriteTimeout = 1000;
  int32_t FReadBufSize = 4096;
  int32_t FWriteBufSize = 2048;
  TCommEventTypes FMonitorEvents{evBreak, evCts, evDsr, evError, evRing, evRlsd, evRxChar, evRxFlag, evTxEmpty};
  TBaudrate FBaudRate = br9600;
  TParity FParity = paNone;
  TStopbits FStopbits = sb10;
  TDatabits FDatabits = da8;
  std::unique_ptr<TCommEventChars> FEventChars;
  TCommOptions FOptions;
  TFlowControl FFlowControl = fcDefault;

  std::thread FEventThread;
  std::atomic<bool> FStopEvents{false};
  std::atomic<bool> FWritePending{false};
  int FWakeFd = -1;
};

class TComm : public TCustomComm {};
