#include "platform/io/udp_socket.h"

#include <arpa/inet.h>
#include <errno.h>
#include <netinet/in.h>
#include <poll.h>
#include <string.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QStringList>

#include <vector>

namespace plat {

bool Parse_IPv4(const QString& Text, uint32_t& Address) {
  const QStringList Parts = Text.split(u'.');
  if (Parts.size() != 4) return false;
  uint32_t A = 0;
  for (const QString& P : Parts) {
    if (P.isEmpty() || P.size() > 3) return false;
    for (const QChar C : P)
      if (C < u'0' || C > u'9') return false;
    const int V = P.toInt();
    if (V > 255) return false;
    A = (A << 8) | static_cast<uint32_t>(V);
  }
  Address = A;
  return true;
}

QString IPv4_To_Text(uint32_t Address) {
  return QStringLiteral("%1.%2.%3.%4")
      .arg(Address >> 24)
      .arg((Address >> 16) & 0xFF)
      .arg((Address >> 8) & 0xFF)
      .arg(Address & 0xFF);
}

TUdpSocket::TUdpSocket(size_t Receive_Limit) : Receive_Limit_(Receive_Limit) {}

TUdpSocket::~TUdpSocket() { Close(); }

bool TUdpSocket::Open(const QString& Bind_Address, uint16_t Port, THandler Handler, QString* Error) {
  Close();
  int Fd = -1;
  auto Fail = [&](const QString& Why) {
    if (Error) *Error = Why;
    if (Fd >= 0) ::close(Fd);
    return false;
  };
  auto Os_Error = [] { return QString::fromLocal8Bit(strerror(errno)); };
  uint32_t Addr = 0;
  if (!Parse_IPv4(Bind_Address, Addr)) return Fail(QStringLiteral("Invalid bind address \"%1\"").arg(Bind_Address));
  Fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (Fd < 0) return Fail(QStringLiteral("Cannot create a UDP socket: %1").arg(Os_Error()));
  sockaddr_in Sa{};
  Sa.sin_family = AF_INET;
  Sa.sin_port = htons(Port);
  Sa.sin_addr.s_addr = htonl(Addr);
  if (::bind(Fd, reinterpret_cast<const sockaddr*>(&Sa), sizeof Sa) != 0)
    return Fail(QStringLiteral("Cannot bind %1:%2: %3").arg(Bind_Address).arg(Port).arg(Os_Error()));
  socklen_t Len = sizeof Sa;
  ::getsockname(Fd, reinterpret_cast<sockaddr*>(&Sa), &Len);
  const int Wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (Wake < 0) return Fail(QStringLiteral("Cannot create the listener's wake-up event: %1").arg(Os_Error()));
  {
    std::lock_guard<std::mutex> Lock(Send_Lock_);
    Fd_ = Fd;
  }
  Wake_Fd_ = Wake;
  Local_Port_ = ntohs(Sa.sin_port);
  Local_Address_ = Addr;
  Handler_ = std::move(Handler);
  Oversized_ = 0;
  Listener_ = std::thread([this] { Listen(); });
  return true;
}

void TUdpSocket::Close() {
  if (Listener_.joinable()) {
    const uint64_t One = 1;
    [[maybe_unused]] const ssize_t N = ::write(Wake_Fd_, &One, sizeof One);
    Listener_.join();
  }
  std::lock_guard<std::mutex> Lock(Send_Lock_);
  if (Fd_ >= 0) ::close(Fd_);
  if (Wake_Fd_ >= 0) ::close(Wake_Fd_);
  Fd_ = -1;
  Wake_Fd_ = -1;
  Local_Port_ = 0;
  Local_Address_ = 0;
  Handler_ = nullptr;
}

bool TUdpSocket::Send_To(uint32_t Address, uint16_t Port, const uint8_t* Data, size_t Size) {
  std::lock_guard<std::mutex> Lock(Send_Lock_);
  if (Fd_ < 0) return false;
  sockaddr_in Sa{};
  Sa.sin_family = AF_INET;
  Sa.sin_port = htons(Port);
  Sa.sin_addr.s_addr = htonl(Address);
  const ssize_t N = ::sendto(Fd_, Data, Size, 0, reinterpret_cast<const sockaddr*>(&Sa), sizeof Sa);
  return N == static_cast<ssize_t>(Size);
}

void TUdpSocket::Listen() {
  // One byte more than the limit, and MSG_TRUNC reports the true length, so a longer datagram is recognised
  // whatever its size and dropped whole.
  std::vector<uint8_t> Buf(Receive_Limit_ + 1);
  const int Fd = Fd_.load();
  pollfd Fds[2] = {{Fd, POLLIN, 0}, {Wake_Fd_, POLLIN, 0}};
  for (;;) {
    Fds[0].revents = Fds[1].revents = 0;
    const int R = ::poll(Fds, 2, -1);
    if (R < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (Fds[1].revents) return;
    if (!(Fds[0].revents & (POLLIN | POLLERR))) continue;
    sockaddr_in From{};
    socklen_t From_Len = sizeof From;
    const ssize_t N = ::recvfrom(Fd, Buf.data(), Buf.size(), MSG_TRUNC | MSG_DONTWAIT,
                                 reinterpret_cast<sockaddr*>(&From), &From_Len);
    if (N < 0) continue;  // ICMP errors of earlier sends, EAGAIN: nothing to hand over
    if (static_cast<size_t>(N) > Receive_Limit_) {
      ++Oversized_;
      continue;
    }
    if (From.sin_family != AF_INET) continue;
    TUdpDatagram D;
    D.Data = Buf.data();
    D.Size = static_cast<size_t>(N);
    D.From_Address = ntohl(From.sin_addr.s_addr);
    D.From_Port = ntohs(From.sin_port);
    if (Handler_) Handler_(D);
  }
}

}  // namespace plat
