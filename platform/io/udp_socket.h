#pragma once
// A UDP socket with its own listener thread.
//
// The socket binds one local address and port; every datagram that arrives is handed, on the listener thread,
// to the handler given at Open, together with the sender's IPv4 address and port. Datagrams longer than the
// receive limit are dropped (and counted), never cut short, so a handler only ever sees whole datagrams.

#include <QString>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace plat {

// An IPv4 address in host byte order. Parse_IPv4 accepts exactly four decimal numbers 0..255 separated by dots.
bool Parse_IPv4(const QString& Text, uint32_t& Address);
QString IPv4_To_Text(uint32_t Address);

struct TUdpDatagram {
  const uint8_t* Data = nullptr;
  size_t Size = 0;
  uint32_t From_Address = 0;  // sender, host byte order
  uint16_t From_Port = 0;
};

class TUdpSocket {
 public:
  using THandler = std::function<void(const TUdpDatagram&)>;

  // Receive_Limit: the longest datagram handed to the handler; longer ones are dropped.
  explicit TUdpSocket(size_t Receive_Limit = 8192);
  ~TUdpSocket();
  TUdpSocket(const TUdpSocket&) = delete;
  TUdpSocket& operator=(const TUdpSocket&) = delete;

  // Binds Bind_Address:Port (Port 0 = any free port) and starts the listener thread. False, with a message in
  // Error, when the address does not parse or the bind fails; the socket stays closed then.
  bool Open(const QString& Bind_Address, uint16_t Port, THandler Handler, QString* Error = nullptr);
  // Stops the listener (waits for a running handler call to return) and closes the socket. Safe when closed.
  void Close();
  bool Active() const { return Fd_.load() >= 0; }

  // The bound local port (useful after binding port 0); 0 when closed.
  uint16_t Local_Port() const { return Local_Port_; }
  uint32_t Local_Address() const { return Local_Address_; }

  // Sends one datagram; false when the socket is closed or the send fails.
  bool Send_To(uint32_t Address, uint16_t Port, const uint8_t* Data, size_t Size);

  // Counters since Open: datagrams dropped because they were too long.
  uint64_t Oversized_Count() const { return Oversized_.load(); }

 private:
  void Listen();

  size_t Receive_Limit_;
  std::atomic<int> Fd_{-1};
  int Wake_Fd_ = -1;  // eventfd that ends the listener's poll
  uint16_t Local_Port_ = 0;
  uint32_t Local_Address_ = 0;
  THandler Handler_;
  std::thread Listener_;
  std::atomic<uint64_t> Oversized_{0};
  std::mutex Send_Lock_;
};

}  // namespace plat
