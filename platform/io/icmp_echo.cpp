#include "platform/io/icmp_echo.h"

#include <arpa/inet.h>
#include <errno.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <string.h>
#include <sys/socket.h>
#include <unistd.h>

#include <vector>

#include "platform/io/process.h"

namespace plat {

namespace {

uint16_t Checksum(const uint8_t* data, std::size_t n) {
  uint32_t sum = 0;
  for (std::size_t i = 0; i + 1 < n; i += 2) sum += static_cast<uint32_t>(data[i] << 8 | data[i + 1]);
  if (n & 1) sum += static_cast<uint32_t>(data[n - 1] << 8);
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<uint16_t>(~sum & 0xFFFF);
}

int Open_Socket(bool& raw, int& err) {
  int fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_ICMP);
  raw = false;
  if (fd < 0) {
    err = errno;
    fd = socket(AF_INET, SOCK_RAW | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_ICMP);
    raw = true;
    if (fd < 0) err = errno;
  }
  return fd;
}

QString Errno_Text(int err) { return QString::fromLocal8Bit(strerror(err)); }

}  // namespace

TIcmpEcho::TIcmpEcho() { FIdent = static_cast<uint16_t>(getpid() ^ reinterpret_cast<uintptr_t>(this)); }

TIcmpEcho::~TIcmpEcho() {
  if (FSocket >= 0) close(FSocket);
}

bool TIcmpEcho::Available(QString* Why) {
  bool raw = false;
  int err = 0;
  const int fd = Open_Socket(raw, err);
  if (fd < 0) {
    if (Why) *Why = QStringLiteral("no ICMP socket can be opened: %1").arg(Errno_Text(err));
    return false;
  }
  close(fd);
  return true;
}

void TIcmpEcho::Open() {
  if (FSocket >= 0) return;
  int err = 0;
  FSocket = Open_Socket(FRaw, err);
  if (FSocket < 0) throw EIcmpError(QStringLiteral("Cannot open an ICMP socket: %1.").arg(Errno_Text(err)));
}

void TIcmpEcho::Send(const QString& Host) {
  FWaiting = false;
  in_addr addr{};
  const QByteArray host = Host.trimmed().toLatin1();
  if (host.isEmpty() || inet_pton(AF_INET, host.constData(), &addr) != 1)
    throw EIcmpError(QStringLiteral("\"%1\" is not an IPv4 address.").arg(Host));
  Open();
  // Answers to an earlier request that came late must not count for this one.
  uint8_t drain[2048];
  while (recv(FSocket, drain, sizeof drain, 0) > 0) {
  }

  ++FSequence;
  std::vector<uint8_t> packet(8 + static_cast<std::size_t>(PacketSize > 0 ? PacketSize : 0));
  packet[0] = ICMP_ECHO;
  packet[1] = 0;
  packet[4] = static_cast<uint8_t>(FIdent >> 8);
  packet[5] = static_cast<uint8_t>(FIdent);
  packet[6] = static_cast<uint8_t>(FSequence >> 8);
  packet[7] = static_cast<uint8_t>(FSequence);
  for (std::size_t i = 8; i < packet.size(); ++i) packet[i] = static_cast<uint8_t>('a' + (i - 8) % 23);
  const uint16_t sum = Checksum(packet.data(), packet.size());
  packet[2] = static_cast<uint8_t>(sum >> 8);
  packet[3] = static_cast<uint8_t>(sum);

  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_addr = addr;
  const ssize_t n = sendto(FSocket, packet.data(), packet.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
  if (n < 0) throw EIcmpError(QStringLiteral("Cannot send to %1: %2.").arg(Host, Errno_Text(errno)));
  FTarget = addr.s_addr;
  FSentAt = MonotonicTicks();
  FWaiting = true;
  FLast = TEchoStatus::Pending;
}

TEchoStatus TIcmpEcho::Poll() {
  if (!FWaiting) return FLast;
  std::vector<uint8_t> buf(static_cast<std::size_t>(PacketSize > 0 ? PacketSize : 0) + 128);
  for (;;) {
    sockaddr_in from{};
    socklen_t fromLen = sizeof from;
    const ssize_t n = recvfrom(FSocket, buf.data(), buf.size(), 0, reinterpret_cast<sockaddr*>(&from), &fromLen);
    if (n < 0) break;
    if (from.sin_addr.s_addr != FTarget) continue;
    std::size_t off = 0;
    if (FRaw) {
      if (n < 20) continue;
      off = static_cast<std::size_t>(buf[0] & 0x0F) * 4;
    }
    if (static_cast<std::size_t>(n) < off + 8) continue;
    const uint8_t* icmp = buf.data() + off;
    if (icmp[0] != ICMP_ECHOREPLY) continue;
    const uint16_t seq = static_cast<uint16_t>(icmp[6] << 8 | icmp[7]);
    if (seq != FSequence) continue;
    // The datagram socket's identifier is set by the system and filtered by it; a raw socket sees every reply.
    if (FRaw && static_cast<uint16_t>(icmp[4] << 8 | icmp[5]) != FIdent) continue;
    FWaiting = false;
    FLast = static_cast<std::size_t>(n) > off + 8 ? TEchoStatus::Reply : TEchoStatus::ReplyWithoutData;
    return FLast;
  }
  if (static_cast<uint32_t>(MonotonicTicks() - FSentAt) >= ReceiveTimeout) {
    FWaiting = false;
    FLast = TEchoStatus::TimedOut;
  }
  return FLast;
}

}  // namespace plat
