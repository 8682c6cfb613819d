#pragma once
// The converter's wireless M-Bus radio module, simulated in both families: a Telit module (AT commands answered
// "OK\r", transparent mode after "ATO") and a RadioCrafts module (one-byte memory commands answered ">", a
// 64-slot key table). Installed into a TConverterCore, it adds the configuration-mode commands and takes every
// datagram the converter receives in configuration mode. While listening it forwards wireless telegrams as the
// converter does: a Telit datagram is the telegram and two appended bytes (length L + 3), a RadioCrafts one the
// telegram and its signal byte (length L + 2); the L field is the telegram's own and the signal level is the last
// byte. A telegram
// of a device whose key was installed is forwarded in its decrypted form when one is given.

#include "tools/converter_sim/converter_sim.h"

#include <QString>

#include <array>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace convsim {

// One telegram from the L field on, without CRC bytes, and optionally what the module makes of it once it holds
// the device's key.
struct TWirelessTelegram {
  TBytes Telegram;
  TBytes Decrypted;
};

// A file of telegrams: one a line, hex byte pairs, optionally followed by "/" and the decrypted form; blank
// lines and lines starting with '#' are skipped. False with a reason on anything else (an L field that does not
// match the line's length included).
bool Load_Wireless_File(const QString& Path, std::vector<TWirelessTelegram>& Telegrams, std::string* Why = nullptr);

// The identity a key is installed for: application-layer manufacturer, identification, version, device type.
struct TKeyAddress {
  uint16_t Manufacturer = 0;
  uint32_t Address = 0;
  uint8_t Version = 0;
  uint8_t DeviceType = 0;
  bool operator==(const TKeyAddress&) const = default;
};
// The application layer of a telegram (the link layer for CI 0x7A, 0x78 and 0x8D); nullopt when too short.
std::optional<TKeyAddress> Telegram_Address(const TBytes& Telegram);

class TRadioModuleSim {
 public:
  enum class TFamily { Telit, RadioCrafts };
  explicit TRadioModuleSim(TFamily Family) : Family_(Family) {}

  // Adds the configuration-mode commands to Core and hands it every other datagram in configuration mode. The
  // module must outlive Core's use.
  void Install(TConverterCore& Core);

  TFamily Family() const { return Family_; }
  bool Listening() const;
  // Every datagram the module was handed, in order.
  std::vector<TBytes> Received() const;
  // Telit: the register writes in order, as (register, value).
  std::vector<std::pair<int, int>> Telit_Writes() const;
  // RadioCrafts: the configuration block written after "M", and the slots whose entry was cleared, in order.
  TBytes RadioCrafts_Config() const;
  std::vector<int> RadioCrafts_Cleared() const;
  // The keys the module holds and uses.
  std::vector<std::pair<TKeyAddress, std::array<uint8_t, 16>>> Active_Keys() const;

  // The datagram the converter forwards for a telegram, or nullopt while the module is not listening.
  std::optional<TBytes> Forward(const TWirelessTelegram& T, uint8_t Signal) const;
  // Answers of the module to one datagram (called by the converter core).
  void Handle(std::span<const uint8_t> Datagram, std::vector<TBytes>& Replies);
  // The converter left configuration mode.
  void Leave();

 private:
  void Telit(const QByteArray& Text, std::vector<TBytes>& Replies);
  void RadioCrafts(std::span<const uint8_t> D, std::vector<TBytes>& Replies);

  const TFamily Family_;
  mutable std::mutex Lock_;
  bool Listening_ = false;
  std::vector<TBytes> Received_;
  // Telit
  bool Command_Mode_ = false;
  std::array<int, 1000> Registers_{};
  std::vector<std::pair<int, int>> Writes_;
  std::optional<std::pair<TKeyAddress, std::array<uint8_t, 16>>> Telit_Key_;
  // RadioCrafts
  enum class TMenu { Off, Menu, Memory, Table_Address, Table_Key, Table_Activate } Menu_ = TMenu::Off;
  int Slot_ = 0;
  TBytes Config_;
  std::vector<int> Cleared_;
  struct TEntry {
    std::optional<TKeyAddress> Address;
    std::optional<std::array<uint8_t, 16>> Key;
    bool Active = false;
  };
  std::array<TEntry, 65> Table_{};
};

// Sends the telegrams through the module, one every Pace_Ms while it listens, in order and then over again
// when Repeat is set. Send delivers one datagram to the scanner.
class TWirelessTransmitter {
 public:
  TWirelessTransmitter(const TRadioModuleSim& Module, std::vector<TWirelessTelegram> Telegrams, uint32_t Pace_Ms,
                       bool Repeat, uint8_t Signal, std::function<bool(const TBytes&)> Send);
  ~TWirelessTransmitter();
  uint64_t Sent() const { return Sent_.load(); }

 private:
  const TRadioModuleSim& Module_;
  std::vector<TWirelessTelegram> Telegrams_;
  uint32_t Pace_Ms_;
  bool Repeat_;
  uint8_t Signal_;
  std::function<bool(const TBytes&)> Send_;
  std::atomic<uint64_t> Sent_{0};
  std::mutex Lock_;
  std::condition_variable Cv_;
  bool Stop_ = false;
  std::thread Thread_;
};

}  // namespace convsim
