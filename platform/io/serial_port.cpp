#include "platform/io/serial_port.h"

// termios2 (any baud rate) comes from the kernel headers, which cannot be mixed with <termios.h>.
#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QFile>

namespace plat {

int TSerialPort::Open(const QString& Path) {
  Close();
  const QByteArray P = QFile::encodeName(Path);
  const int Fd = ::open(P.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (Fd < 0) return errno;
  termios2 T{};
  if (::ioctl(Fd, TCGETS2, &T) != 0) {
    ::close(Fd);
    return -1;  // not a terminal device
  }
  if (::ioctl(Fd, TIOCEXCL) != 0) {
    // Exclusive use is a courtesy to other programs; a device that refuses it still works.
  }
  Fd_ = Fd;
  return 0;
}

void TSerialPort::Close() {
  if (Fd_ >= 0) ::close(Fd_);
  Fd_ = -1;
}

int TSerialPort::Apply(const TSerialSettings& S) {
  if (Fd_ < 0) return EBADF;
  termios2 T{};
  if (::ioctl(Fd_, TCGETS2, &T) != 0) return errno;
  // Raw mode: no line editing, no translation, no signals.
  T.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF |
                                      IXANY | INPCK | IGNPAR);
  T.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  T.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  T.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CBAUD | (CBAUD << IBSHIFT));
  T.c_cflag |= CREAD | CLOCAL | BOTHER | (BOTHER << IBSHIFT);
  T.c_ispeed = T.c_ospeed = S.Baud;
  switch (S.Data_Bits) {
    case 5: T.c_cflag |= CS5; break;
    case 6: T.c_cflag |= CS6; break;
    case 7: T.c_cflag |= CS7; break;
    case 8: T.c_cflag |= CS8; break;
    default: return EINVAL;
  }
  using P = TSerialSettings::TParityMode;
  switch (S.Parity) {
    case P::None: break;
    case P::Odd: T.c_cflag |= PARENB | PARODD; break;
    case P::Even: T.c_cflag |= PARENB; break;
    case P::Mark: T.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case P::Space: T.c_cflag |= PARENB | CMSPAR; break;
  }
  if (S.Parity_Check) T.c_iflag |= INPCK | PARMRK;
  if (S.Stop != TSerialSettings::TStopMode::One) T.c_cflag |= CSTOPB;
  using F = TSerialSettings::TFlowMode;
  switch (S.Flow) {
    case F::None: T.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS); break;
    case F::RtsCts: T.c_cflag |= CRTSCTS; break;
    case F::DtrDsr: T.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS); break;  // no DTR/DSR handshake in the tty layer
    case F::XonXoff:
      T.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
      T.c_iflag |= IXON | IXOFF;
      break;
    case F::Keep: break;
  }
  T.c_cc[VSTART] = S.Xon_Char;
  T.c_cc[VSTOP] = S.Xoff_Char;
  T.c_cc[VMIN] = 0;
  T.c_cc[VTIME] = 0;
  if (::ioctl(Fd_, TCSETS2, &T) != 0) return errno;
  return 0;
}

namespace {
// Waits for Events on Fd; 1 ready, 0 time-out, -1 error (errno set).
int Wait(int Fd, short Events, int Timeout_Ms) {
  pollfd P{Fd, Events, 0};
  for (;;) {
    const int R = ::poll(&P, 1, Timeout_Ms);
    if (R < 0 && errno == EINTR) continue;
    return R < 0 ? -1 : (R == 0 ? 0 : 1);
  }
}
}  // namespace

int TSerialPort::Write(const uint8_t* Data, size_t Count, int Timeout_Ms, int& Err) {
  Err = 0;
  if (Fd_ < 0) {
    Err = EBADF;
    return -2;
  }
  const int W = Wait(Fd_, POLLOUT, Timeout_Ms);
  if (W < 0) {
    Err = errno;
    return -2;
  }
  if (W == 0) return -1;
  const ssize_t N = ::write(Fd_, Data, Count);
  if (N < 0) {
    if (errno == EAGAIN) return -1;
    Err = errno;
    return -2;
  }
  return static_cast<int>(N);
}

int TSerialPort::Read(uint8_t* Data, size_t Count, int Timeout_Ms, int& Err) {
  Err = 0;
  if (Fd_ < 0) {
    Err = EBADF;
    return -2;
  }
  if (Timeout_Ms > 0) {
    const int W = Wait(Fd_, POLLIN, Timeout_Ms);
    if (W < 0) {
      Err = errno;
      return -2;
    }
    if (W == 0) return -1;
  }
  const ssize_t N = ::read(Fd_, Data, Count);
  if (N < 0) {
    if (errno == EAGAIN) return Timeout_Ms > 0 ? -1 : 0;
    if (errno == EIO) return 0;  // the other end of a pseudo-terminal is not open: nothing to read
    Err = errno;
    return -2;
  }
  return static_cast<int>(N);
}

int TSerialPort::In_Queue() const {
  int N = 0;
  if (Fd_ < 0 || ::ioctl(Fd_, TIOCINQ, &N) != 0) return -1;
  return N;
}

int TSerialPort::Out_Queue() const {
  int N = 0;
  if (Fd_ < 0 || ::ioctl(Fd_, TIOCOUTQ, &N) != 0) return -1;
  return N;
}

void TSerialPort::Purge_In() {
  if (Fd_ >= 0) ::ioctl(Fd_, TCFLSH, TCIFLUSH);
}

void TSerialPort::Purge_Out() {
  if (Fd_ >= 0) ::ioctl(Fd_, TCFLSH, TCOFLUSH);
}

bool TSerialPort::Modem_Lines(uint32_t& Bits) const {
  Bits = 0;
  int M = 0;
  if (Fd_ < 0 || ::ioctl(Fd_, TIOCMGET, &M) != 0) return false;
  if (M & TIOCM_CTS) Bits |= Line_CTS;
  if (M & TIOCM_DSR) Bits |= Line_DSR;
  if (M & TIOCM_RNG) Bits |= Line_RING;
  if (M & TIOCM_CAR) Bits |= Line_RLSD;
  return true;
}

namespace {
int Modem_Bit(int Fd, int Bit, bool On) {
  if (Fd < 0) return EBADF;
  return ::ioctl(Fd, On ? TIOCMBIS : TIOCMBIC, &Bit) == 0 ? 0 : errno;
}
}  // namespace

int TSerialPort::Set_DTR(bool On) { return Modem_Bit(Fd_, TIOCM_DTR, On); }
int TSerialPort::Set_RTS(bool On) { return Modem_Bit(Fd_, TIOCM_RTS, On); }

int TSerialPort::Set_Break(bool On) {
  if (Fd_ < 0) return EBADF;
  return ::ioctl(Fd_, On ? TIOCSBRK : TIOCCBRK) == 0 ? 0 : errno;
}

int TSerialPort::Set_XON(bool On) {
  if (Fd_ < 0) return EBADF;
  return ::ioctl(Fd_, TCXONC, On ? TCOON : TCOOFF) == 0 ? 0 : errno;
}

}  // namespace plat
