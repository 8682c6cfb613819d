#include "tools/converter_sim/raw_listener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace convsim {

TRawListener::~TRawListener() { Stop(); }

bool TRawListener::Start(const QString& Address, uint16_t Port,
                         std::function<void(const plat::TUdpDatagram&)> On_Datagram, QString* Error) {
  Stop();
  in_addr a{};
  if (inet_pton(AF_INET, Address.toLatin1().constData(), &a) != 1) {
    if (Error) *Error = QStringLiteral("not an IPv4 address: %1").arg(Address);
    return false;
  }
  const int fd = socket(AF_INET, SOCK_RAW, IPPROTO_UDP);
  if (fd < 0) {
    if (Error) *Error = QStringLiteral("raw socket: %1").arg(QString::fromLocal8Bit(strerror(errno)));
    return false;
  }
  // Bound to the address, the socket hears only datagrams sent to it.
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_addr = a;
  if (bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
    if (Error) *Error = QStringLiteral("raw socket on %1: %2").arg(Address, QString::fromLocal8Bit(strerror(errno)));
    close(fd);
    return false;
  }
  Fd_ = fd;
  Address_ = ntohl(a.s_addr);
  Port_ = Port;
  On_Datagram_ = std::move(On_Datagram);
  Stop_ = false;
  Thread_ = std::thread([this] { Run(); });
  return true;
}

void TRawListener::Stop() {
  Stop_ = true;
  if (Thread_.joinable()) Thread_.join();
  if (Fd_ >= 0) close(Fd_);
  Fd_ = -1;
}

void TRawListener::Run() {
  std::vector<uint8_t> buf(65536);
  while (!Stop_) {
    pollfd p{Fd_, POLLIN, 0};
    if (poll(&p, 1, 50) <= 0) continue;
    const ssize_t n = recv(Fd_, buf.data(), buf.size(), 0);
    if (n < 20) continue;
    // An IPv4 header, then the UDP header and the datagram.
    const size_t ihl = size_t(buf[0] & 0x0F) * 4;
    if (size_t(n) < ihl + 8) continue;
    const uint8_t* udp = buf.data() + ihl;
    const uint16_t to_port = uint16_t(udp[2] << 8 | udp[3]);
    const uint32_t to = uint32_t(buf[16]) << 24 | uint32_t(buf[17]) << 16 | uint32_t(buf[18]) << 8 | buf[19];
    if (to_port != Port_ || to != Address_) continue;
    const size_t length = size_t(udp[4] << 8 | udp[5]);
    if (length < 8 || ihl + length > size_t(n)) continue;
    plat::TUdpDatagram d;
    d.Data = udp + 8;
    d.Size = length - 8;
    d.From_Address = uint32_t(buf[12]) << 24 | uint32_t(buf[13]) << 16 | uint32_t(buf[14]) << 8 | buf[15];
    d.From_Port = uint16_t(udp[0] << 8 | udp[1]);
    On_Datagram_(d);
  }
}

}  // namespace convsim
