#include "platform/testing/network_guard.h"

#include <arpa/inet.h>
#include <dlfcn.h>
#include <errno.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <gtest/gtest.h>

#include <mutex>

namespace {

std::mutex g_mutex;
std::vector<std::string> g_refused;

bool IsAllowed(const sockaddr* addr, socklen_t len, std::string& text) {
  if (addr == nullptr) return true;  // connected socket: connect() was checked already
  if (len < static_cast<socklen_t>(sizeof(sa_family_t))) return true;
  switch (addr->sa_family) {
    case AF_INET: {
      if (len < static_cast<socklen_t>(sizeof(sockaddr_in))) return false;
      const auto* in = reinterpret_cast<const sockaddr_in*>(addr);
      const uint32_t host = ntohl(in->sin_addr.s_addr);
      char buf[INET_ADDRSTRLEN] = {};
      inet_ntop(AF_INET, &in->sin_addr, buf, sizeof buf);
      text = buf;
      return (host >> 24) == 127;
    }
    case AF_INET6: {
      if (len < static_cast<socklen_t>(sizeof(sockaddr_in6))) return false;
      const auto* in6 = reinterpret_cast<const sockaddr_in6*>(addr);
      char buf[INET6_ADDRSTRLEN] = {};
      inet_ntop(AF_INET6, &in6->sin6_addr, buf, sizeof buf);
      text = buf;
      if (IN6_IS_ADDR_LOOPBACK(&in6->sin6_addr)) return true;
      if (IN6_IS_ADDR_V4MAPPED(&in6->sin6_addr)) return in6->sin6_addr.s6_addr[12] == 127;
      return false;
    }
    default:
      return true;  // local IPC (Unix sockets, netlink) never leaves the machine
  }
}

bool Check(const sockaddr* addr, socklen_t len) {
  std::string text;
  if (IsAllowed(addr, len, text)) return true;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_refused.push_back(text);
  }
  ADD_FAILURE() << "network guard: a test aimed traffic at " << text
                << "; tests may only use loopback addresses (127.0.0.0/8)";
  errno = EPERM;
  return false;
}

template <typename Fn>
Fn Next(const char* name) {
  return reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

int connect(int fd, const sockaddr* addr, socklen_t len) {
  static auto real = Next<int (*)(int, const sockaddr*, socklen_t)>("connect");
  if (!Check(addr, len)) return -1;
  return real(fd, addr, len);
}

ssize_t sendto(int fd, const void* buf, size_t n, int flags, const sockaddr* addr, socklen_t len) {
  static auto real = Next<ssize_t (*)(int, const void*, size_t, int, const sockaddr*, socklen_t)>("sendto");
  if (!Check(addr, len)) return -1;
  return real(fd, buf, n, flags, addr, len);
}

ssize_t sendmsg(int fd, const msghdr* msg, int flags) {
  static auto real = Next<ssize_t (*)(int, const msghdr*, int)>("sendmsg");
  if (msg && !Check(static_cast<const sockaddr*>(msg->msg_name), msg->msg_namelen)) return -1;
  return real(fd, msg, flags);
}

int sendmmsg(int fd, mmsghdr* vec, unsigned int n, int flags) {
  static auto real = Next<int (*)(int, mmsghdr*, unsigned int, int)>("sendmmsg");
  for (unsigned int i = 0; vec && i < n; ++i) {
    if (!Check(static_cast<const sockaddr*>(vec[i].msg_hdr.msg_name), vec[i].msg_hdr.msg_namelen)) return -1;
  }
  return real(fd, vec, n, flags);
}

}  // extern "C"

namespace plat::testing {

void InstallNetworkGuard() {}

std::vector<std::string> RefusedDestinations() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_refused;
}

}  // namespace plat::testing
