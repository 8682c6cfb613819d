#pragma once
// Running the scanner without sockets and without waiting: a fake millisecond clock that delivers scheduled
// datagrams as its time passes, and a transport that hands every request to a simulated converter core.

#include "core/device_model.h"
#include "scanner/mbus_scan.h"
#include "tools/converter_sim/converter_sim.h"

#include <QString>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

namespace scantest {

inline constexpr uint32_t Sim_Address = 0x7F000002;      // 127.0.0.2
inline constexpr uint32_t Foreign_Address = 0x7F000003;  // 127.0.0.3
inline constexpr uint16_t Sim_Port = 20502;               // the port the simulated converter answers from

class TFakeClock final : public TScanClock {
 public:
  explicit TFakeClock(uint32_t Start = 0) : Now_(Start) {}
  uint32_t Tick() override { return static_cast<uint32_t>(Now_); }
  void Sleep(uint32_t Ms) override { Advance(Ms); }

  // Delivers Bytes from From:Port to Receiver once Delay ms have passed.
  void Schedule(uint64_t Delay, std::vector<uint8_t> Bytes, uint32_t From, uint16_t Port,
                TScanTransport::TReceiver Receiver) {
    Queue_.push_back({Now_ + Delay, Seq_++, std::move(Bytes), From, Port, std::move(Receiver)});
  }
  void Advance(uint64_t Ms) {
    const uint64_t End = Now_ + Ms;
    for (;;) {
      auto It = std::min_element(Queue_.begin(), Queue_.end(), [](const TItem& A, const TItem& B) {
        return std::tie(A.Due, A.Seq) < std::tie(B.Due, B.Seq);
      });
      if (It == Queue_.end() || It->Due > End) break;
      TItem I = std::move(*It);
      Queue_.erase(It);
      Now_ = std::max(Now_, I.Due);
      if (I.Receiver) I.Receiver(I.Bytes.data(), I.Bytes.size(), I.From, I.Port);
    }
    Now_ = End;
  }
  uint64_t Elapsed(uint32_t Start) const { return Now_ - Start; }

 private:
  struct TItem {
    uint64_t Due;
    uint64_t Seq;
    std::vector<uint8_t> Bytes;
    uint32_t From;
    uint16_t Port;
    TScanTransport::TReceiver Receiver;
  };
  uint64_t Now_;  // 64-bit inside, so that the tick handed out wraps like the real one
  uint64_t Seq_ = 0;
  std::vector<TItem> Queue_;
};

// A scheduled answer: Delay ms after the request, Bytes from the given sender.
struct TAnswer {
  uint64_t Delay;
  std::vector<uint8_t> Bytes;
  uint32_t From = Sim_Address;
  uint16_t Port = Sim_Port;
};

class TMemoryLink final : public TScanTransport {
 public:
  // Turns the converter's answers to one request into what actually arrives (the default: each answer
  // Reply_Delay ms later from the converter).
  using TShaper = std::function<std::vector<TAnswer>(const std::vector<uint8_t>& Request,
                                                     const std::vector<convsim::TBytes>& Answers)>;

  TMemoryLink(convsim::TConverterCore& Core, TFakeClock& Clock, std::vector<std::vector<uint8_t>>& Sent)
      : Core_(Core), Clock_(Clock), Sent_(Sent) {}
  TShaper Shaper;
  bool Fail_Open = false;
  uint64_t Reply_Delay = 2;
  uint16_t Port_ = 0;  // the last wireless port the scanner set

  bool Open(TReceiver Receiver, QString* Error) override {
    if (Fail_Open) {
      if (Error) *Error = QStringLiteral("bind refused");
      return false;
    }
    Receiver_ = std::move(Receiver);
    return true;
  }
  void Close() override { Receiver_ = nullptr; }
  void Set_Wireless_Port(uint16_t Port) override { Port_ = Port; }
  bool Send(uint32_t Address, const uint8_t* Data, size_t Size) override {
    std::vector<uint8_t> Request(Data, Data + Size);
    Sent_.push_back(Request);
    if (Address != Sim_Address) return true;  // nobody there
    const std::vector<convsim::TBytes> Answers = Core_.Handle(Request);
    std::vector<TAnswer> Arrive;
    if (Shaper) {
      Arrive = Shaper(Request, Answers);
    } else {
      for (const convsim::TBytes& A : Answers) Arrive.push_back({Reply_Delay, A});
    }
    for (TAnswer& A : Arrive) Deliver(A.Delay, std::move(A.Bytes), A.From, A.Port);
    return true;
  }
  // Puts a datagram on the way to the scanner, Delay ms from now.
  void Deliver(uint64_t Delay, std::vector<uint8_t> Bytes, uint32_t From = Sim_Address, uint16_t Port = Sim_Port) {
    // The receiver is looked up at delivery, so nothing arrives after the link was closed.
    Clock_.Schedule(Delay, std::move(Bytes), From, Port, [this](const uint8_t* D, size_t N, uint32_t F, uint16_t P) {
      if (Receiver_) Receiver_(D, N, F, P);
    });
  }

 private:
  convsim::TConverterCore& Core_;
  TFakeClock& Clock_;
  std::vector<std::vector<uint8_t>>& Sent_;
  TReceiver Receiver_;
};

struct TReport {
  int32_t M, A, F, K;
  bool operator==(const TReport&) const = default;
};

// An engine without its thread, on the given link and clock: the test drives Run_Pass itself.
inline std::unique_ptr<TMBusScanDecode> Make_Stepped_Engine(std::unique_ptr<TScanTransport> Link, TScanClock& Clock) {
  TScanEnvironment Env;
  Env.Transport = std::move(Link);
  Env.Clock = &Clock;
  Env.Start_Thread = false;
  return std::make_unique<TMBusScanDecode>(std::move(Env));
}

inline void Clear_Slaves() {
  std::lock_guard<std::mutex> L(List_Dev_Lock);
  qDeleteAll(List_Dev_MBus);
  List_Dev_MBus.clear();
}

}  // namespace scantest
