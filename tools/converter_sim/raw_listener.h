#pragma once
// Hears the UDP datagrams sent to an address and port that another socket of the same network namespace holds:
// a program under test that binds its fixed port on every address takes every datagram to that port, also
// those meant for the simulated converter on another loopback address. A raw socket gets a copy of each
// datagram before it is delivered, so the converter still sees the requests and answers them from a port of
// its own (the scanner takes answers from the converter's address on any port). Needs CAP_NET_RAW, which a
// test has in a private network namespace of its own.

#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

#include "platform/io/udp_socket.h"

namespace convsim {

class TRawListener {
 public:
  ~TRawListener();
  // Starts hearing the datagrams to Address:Port; false with the system's reason in Error.
  bool Start(const QString& Address, uint16_t Port, std::function<void(const plat::TUdpDatagram&)> On_Datagram,
             QString* Error = nullptr);
  void Stop();

 private:
  void Run();
  int Fd_ = -1;
  uint32_t Address_ = 0;
  uint16_t Port_ = 0;
  std::function<void(const plat::TUdpDatagram&)> On_Datagram_;
  std::atomic<bool> Stop_{false};
  std::thread Thread_;
};

}  // namespace convsim
