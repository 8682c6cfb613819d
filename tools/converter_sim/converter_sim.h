#pragma once
// The simulated converter.
//
// TConverterCore is the converter's behaviour, free of any socket: it takes one datagram and returns the
// datagrams it answers with. Text commands are dispatched through a table (Add_Command), and datagrams that are
// no command go to the mode's handler (Set_Mode_Handler); analyzer mode relays them to the simulated wired
// line (TWiredBus). TConverterSim puts a core on a UDP socket and applies the fault switches to its answers.

#include "platform/io/udp_socket.h"
#include "tools/converter_sim/raw_listener.h"

#include <QByteArray>
#include <QString>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <set>
#include <span>
#include <string>
#include <thread>
#include <vector>

namespace convsim {

using TBytes = std::vector<uint8_t>;

// The bytes of a text command or reply.
inline TBytes Bytes_Of(const QByteArray& A) { return TBytes(A.begin(), A.end()); }

// Hex byte pairs separated by blanks or line ends ("68 3C 3C 68 ..."); false with a reason on anything else.
bool Parse_Hex(const std::string& Text, TBytes& Bytes, std::string* Why = nullptr);
bool Load_Hex_File(const QString& Path, TBytes& Bytes, std::string* Why = nullptr);

// A long frame with its A field and (when Id is given) identification number replaced, checksum recomputed.
// Id holds the eight BCD digits as nibbles (0x12345678 for 12345678).
TBytes Patch_Telegram(const TBytes& Frame, uint8_t A, std::optional<uint32_t> Id = std::nullopt);
// The same long frame with a DIF 0x1F (more records follow in a next telegram) added as its last record.
TBytes With_More_Follows(const TBytes& Frame);

// A wired meter answering from a list of RSP_UD telegrams; every one but the last should end with DIF 0x1F.
struct TSimMeter {
  uint8_t Primary = 0;
  uint32_t Id = 0;  // BCD digits as nibbles
  uint16_t Manufacturer = 0;
  uint8_t Version = 0;
  uint8_t Medium = 0;
  std::vector<TBytes> Telegrams;

  // Line state.
  bool Selected = false;
  int Next = 0;       // telegram served by the next REQ_UD2
  int Last_FCB = -1;  // FCB of the last REQ_UD2, -1 after a reset
};

// Builds a meter from telegrams (long frames): their A field becomes Primary, and their identification Id when
// given; manufacturer, version and medium come from the first telegram. False when a telegram is no long frame
// with a full header.
bool Make_Meter(uint8_t Primary, std::optional<uint32_t> Id, const std::vector<TBytes>& Telegrams, TSimMeter& Meter,
                std::string* Why = nullptr);

// The wired M-Bus line behind the converter.
class TWiredBus {
 public:
  std::vector<TSimMeter> Meters;
  TBytes Collision = {0xE5, 0xE5};  // what the line carries when several meters answer at once

  // Hands one frame to every meter. Returns the line's answer, or nullopt when no meter answered. Answerer is
  // the index of the meter whose telegram was sent (-1 for anything else).
  std::optional<TBytes> Relay(std::span<const uint8_t> Frame, int* Answerer = nullptr, int* Telegram = nullptr);
};

class TConverterCore {
 public:
  enum class TMode { Normal, Analyzer, Configuration };
  // Appends the datagrams answering Datagram to Replies.
  using TCommand = std::function<void(TConverterCore& Core, std::vector<TBytes>& Replies)>;
  // Returns false when the datagram is not for this handler.
  using TModeHandler = std::function<bool(TConverterCore& Core, std::span<const uint8_t> Datagram,
                                          std::vector<TBytes>& Replies)>;

  TConverterCore();

  void Add_Command(const QByteArray& Text, TCommand Command);
  void Set_Mode_Handler(TMode Mode, TModeHandler Handler);

  // The answers of the converter to one datagram (empty: no answer). Thread-safe.
  std::vector<TBytes> Handle(std::span<const uint8_t> Datagram);
  // The meter (index into Bus.Meters) and telegram number of the last relayed readout, or -1.
  int Last_Answerer() const { return Last_Answerer_; }
  int Last_Telegram() const { return Last_Telegram_; }
  // True when the last datagram went to the mode's handler (a relayed frame), not to a text command.
  bool Last_Was_Relay() const { return Last_Was_Relay_; }

  TMode Mode = TMode::Normal;
  TWiredBus Bus;
  std::mutex Lock;  // held by Handle; take it to change Bus or Mode while a peer talks to the core

 private:
  std::map<QByteArray, TCommand> Commands_;
  std::map<TMode, TModeHandler> Handlers_;
  int Last_Answerer_ = -1;
  int Last_Telegram_ = -1;
  bool Last_Was_Relay_ = false;
};

// Fault switches, each a share (0..1) of the relayed M-Bus answers (text-command answers too when
// On_Commands is set).
struct TSimFaults {
  double Drop = 0;        // not sent
  double Late = 0;        // sent Late_Ms later
  uint32_t Late_Ms = 0;
  double Twice = 0;       // sent twice
  double Other_Port = 0;  // sent from another port of the converter's address
  double Foreign = 0;     // preceded by a forged answer from Foreign_Address
  double Garbage = 0;     // replaced by random bytes
  double Oversized = 0;   // preceded by an oversized datagram (3000 or 9000 bytes)
  double Stray = 0;       // preceded by a stray byte from the line (never a single ACK), in a datagram of its own
  QString Foreign_Address = QStringLiteral("127.0.0.3");
  bool On_Commands = false;
  uint32_t Seed = 1;
};

// The converter on a UDP socket. Answers go to the sender's address and port.
class TConverterSim {
 public:
  TConverterSim();
  ~TConverterSim();

  TConverterCore Core;
  void Set_Faults(const TSimFaults& Faults);

  // Binds Address:Port (0 = any free port). False with a message in Error on failure.
  bool Start(const QString& Address, uint16_t Port, QString* Error = nullptr);
  // For a port that the program under test binds on every address of the same network namespace: hears the
  // datagrams to Address:Port through a raw socket and answers from Address on a port of its own.
  bool Start_Shared(const QString& Address, uint16_t Port, QString* Error = nullptr);
  void Stop();
  uint16_t Port() const { return Socket_.Local_Port(); }

  // Identification numbers of the meters whose first telegram went out unharmed (not dropped, late or
  // replaced): the slaves a scan can be expected to find.
  std::set<uint32_t> Clean_Readouts() const;
  void Clear_Clean_Readouts();
  uint64_t Datagrams_Received() const;
  // Sends one unsolicited datagram (a forwarded wireless telegram) to the last peer that sent a datagram;
  // false while no peer is known.
  bool Send_To_Peer(const TBytes& Datagram);

 private:
  struct TDelayed {
    uint64_t Due_Ms;
    TBytes Bytes;
    uint32_t To_Address;
    uint16_t To_Port;
  };
  void On_Datagram(const plat::TUdpDatagram& D);
  void Delay_Loop();

  plat::TUdpSocket Socket_{65536};
  plat::TUdpSocket Other_Socket_{16};    // another port of the same address
  plat::TUdpSocket Foreign_Socket_{16};  // a foreign sender
  TRawListener Raw_;                      // the requests to a shared port
  mutable std::mutex Lock_;
  TSimFaults Faults_;
  std::mt19937 Rng_{1};
  std::set<uint32_t> Clean_;
  uint64_t Received_ = 0;
  uint32_t Peer_Address_ = 0;
  uint16_t Peer_Port_ = 0;

  std::mutex Delay_Lock_;
  std::condition_variable Delay_Cv_;
  std::vector<TDelayed> Delayed_;
  bool Delay_Stop_ = false;
  std::thread Delay_Thread_;
};

}  // namespace convsim
