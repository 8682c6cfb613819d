#pragma once
// ICMP echo ("ping") over IPv4, one request at a time, without blocking: Send puts a request on the wire and
// returns, Poll looks for its answer. A window can so keep processing its events between two checks.
//
// The socket is an unprivileged ICMP datagram socket where the system allows it, a raw socket otherwise.

#include <QString>

#include <cstdint>
#include <memory>

#include "platform/rtl/exceptions.h"

namespace plat {

class EIcmpError : public Exception {
 public:
  explicit EIcmpError(const QString& Msg) : Exception(Msg) {}
};

enum class TEchoStatus {
  Pending,           // no answer yet, and the receive time-out has not passed
  Reply,             // an echo reply that carried data
  ReplyWithoutData,  // an echo reply without data
  TimedOut           // no answer within the receive time-out
};

// What a window needs of an echo client; tests put a scripted one in its place.
class TEchoClient {
 public:
  virtual ~TEchoClient() = default;
  // Sends one echo request to Host, an IPv4 address in dotted-decimal form (names are not resolved). Raises
  // EIcmpError when Host is not such an address or the request cannot be sent.
  virtual void Send(const QString& Host) = 0;
  // Looks, without blocking, for the answer to the last request.
  virtual TEchoStatus Poll() = 0;
};

class TIcmpEcho : public TEchoClient {
 public:
  TIcmpEcho();
  ~TIcmpEcho() override;
  TIcmpEcho(const TIcmpEcho&) = delete;
  TIcmpEcho& operator=(const TIcmpEcho&) = delete;

  int PacketSize = 1024;           // bytes of data in each request
  uint32_t ReceiveTimeout = 400;   // ms

  void Send(const QString& Host) override;
  TEchoStatus Poll() override;

  // True when an ICMP socket (datagram or raw) can be opened in this process; Why tells the reason otherwise.
  static bool Available(QString* Why = nullptr);

 private:
  void Open();
  int FSocket = -1;
  bool FRaw = false;
  uint16_t FIdent = 0;
  uint16_t FSequence = 0;
  uint32_t FTarget = 0;  // network byte order
  uint32_t FSentAt = 0;
  bool FWaiting = false;
  TEchoStatus FLast = TEchoStatus::TimedOut;
};

}  // namespace plat
