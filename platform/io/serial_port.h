#pragma once
// A serial device through the kernel's tty interface: open, line settings, reads and writes with time-outs,
// queue counts, purges and the modem lines. Errors are reported as errno values; the caller turns them into
// its own exceptions.

#include <QString>

#include <cstddef>
#include <cstdint>

namespace plat {

struct TSerialSettings {
  enum class TParityMode { None, Odd, Even, Mark, Space };
  enum class TStopMode { One, OneAndHalf, Two };  // one and a half stop bits are sent as two
  enum class TFlowMode { None, RtsCts, DtrDsr, XonXoff, Keep };

  uint32_t Baud = 9600;  // any rate the driver accepts
  int Data_Bits = 8;     // 5..8 (4 is refused by the tty layer)
  TParityMode Parity = TParityMode::None;
  TStopMode Stop = TStopMode::One;
  TFlowMode Flow = TFlowMode::Keep;
  bool Parity_Check = false;  // mark bytes with parity errors instead of passing them
  bool Null_Strip = false;    // unused by the tty layer; accepted for completeness
  uint8_t Xon_Char = 17;
  uint8_t Xoff_Char = 19;
};

// Modem-line bits returned by TSerialPort::Modem_Lines.
inline constexpr uint32_t Line_CTS = 0x10, Line_DSR = 0x20, Line_RING = 0x40, Line_RLSD = 0x80;

class TSerialPort {
 public:
  TSerialPort() = default;
  ~TSerialPort() { Close(); }
  TSerialPort(const TSerialPort&) = delete;
  TSerialPort& operator=(const TSerialPort&) = delete;

  // Opens Path for reading and writing, exclusively, without making it the controlling terminal. Returns 0, or
  // the errno of the failed open, or -1 when the path opened but is not a terminal device (it is closed again).
  int Open(const QString& Path);
  void Close();
  bool Is_Open() const { return Fd_ >= 0; }
  int Fd() const { return Fd_; }

  // Applies the settings; 0 or an errno.
  int Apply(const TSerialSettings& S);

  // Waits up to Timeout_Ms for room/data, then transfers what it can. Returns the byte count (0 for a read with
  // nothing queued when Timeout_Ms is 0), -1 on time-out, or -2 with Err set on a failure.
  int Write(const uint8_t* Data, size_t Count, int Timeout_Ms, int& Err);
  int Read(uint8_t* Data, size_t Count, int Timeout_Ms, int& Err);

  int In_Queue() const;   // bytes waiting to be read; -1 when closed or unknown
  int Out_Queue() const;  // bytes waiting to be sent; -1 when closed or unknown
  void Purge_In();
  void Purge_Out();

  // Modem lines (Line_* bits); false when closed or the device has no modem lines.
  bool Modem_Lines(uint32_t& Bits) const;
  // 0 or an errno.
  int Set_DTR(bool On);
  int Set_RTS(bool On);
  int Set_Break(bool On);
  int Set_XON(bool On);  // true: resume output (as if XON was received); false: suspend it

 private:
  int Fd_ = -1;
};

}  // namespace plat
