#pragma once
// Intake of the wireless M-Bus telegrams that the converter forwards while listening: one datagram per telegram,
// the telegram without its CRC bytes followed by the bytes the radio module appends (the last one is the signal
// level). Pure functions of the bytes and the list they are given; the caller guards the list.
//
// Datagram layout: 0 L, 1 C, 2..3 manufacturer (low first), 4..7 identification (least significant first),
// 8 version, 9 device type, 10 CI, then the header the CI selects and the records. The bytes the module appends
// never hold records.

#include "scanner/wmbus_types.h"

#include <QDateTime>
#include <QList>

#include <cstdint>
#include <span>

// Which radio module forwarded the datagram: a Telit module appends two bytes to the telegram (length L + 3), the
// signal level last. A RadioCrafts module appends its signal byte (length L + 2), or nothing when the module's
// signal byte is switched off (length L + 1, signal level 0). The L field is the telegram's own in every form.
bool Is_Wireless_Telegram(std::span<const uint8_t> Datagram, bool Telit);

// How many bytes the radio module appended to the telegram in a datagram that passed Is_Wireless_Telegram.
int Appended_Bytes(std::span<const uint8_t> Datagram, bool Telit);

// Signal level of a telegram from the module's signal byte. Telit: -b - 2 (no lower than -128); RadioCrafts: the
// byte read as signed, halved towards zero, plus 1. A telegram without a signal byte has level 0.
int8_t Telit_RSSI(uint8_t Signal);
int8_t RadioCrafts_RSSI(uint8_t Signal);

// What the header of one forwarded telegram says.
struct TWireless_Telegram {
  uint8_t C = 0;
  uint8_t CI = 0;
  uint16_t LLA_Manufacturer = 0;
  uint32_t LLA_Address = 0;
  uint8_t LLA_Version = 0;
  uint8_t LLA_DeviceType = 0;
  uint16_t ALA_Manufacturer = 0;
  int32_t ALA_Address = 0;
  uint8_t ALA_Version = 0;
  uint8_t ALA_DeviceType = 0;
  uint8_t Signal = 0;          // last byte of the datagram, when the module appended a signal byte
  bool Has_Signal = false;
  bool Keep_Known = false;     // CI 0x8D without the inner CI 0x78: a known device keeps its previous data
  bool Cripted = true;         // the payload is encrypted and not read
  int Records_From = -1;       // first byte of the record area; -1 when no records are read
  int Records_End = -1;        // one past the last byte that can start a record
};

// Reads the header of a datagram that passed Is_Wireless_Telegram. False when the telegram is too short for the
// header its CI field announces, or when it is no meter's telegram: its C field is not a function a meter sends
// (SND_NR 0x44, SND_IR 0x46, ACC_NR 0x47, ACC_DMD 0x48, RSP_UD 0x08/0x18/0x28/0x38), or its manufacturer (or
// that of a long header) is not three letters A..Z. Such a datagram is dropped; no byte outside it is read.
//
// CI 0x7A (short header) and 0x78 (no header): the application layer is the link layer. 0x7A is read when the
// configuration's mode (byte 14, bits 0-4) is 0, or 5 with the decrypted marker 2F 2F at bytes 15..16.
// CI 0x72 (long header, application layer at 11..18): read when its mode (byte 22) is 0 or bytes 23..24 hold
// 2F 2F. CI 0x8D (extended link layer): records only behind the inner CI 0x78 at byte 19; encrypted when byte
// 16 bit 5 is set and no inner 0x78 follows. Any other CI: application layer at 11..18, never read.
bool Parse_Wireless_Telegram(std::span<const uint8_t> Datagram, bool Telit, TWireless_Telegram& Out);

// Index of the first device whose application-layer manufacturer, address, version and device type all match;
// -1 when none does.
int Find_Wireless_Slave(const QList<TSlave_wMBus*>& List, uint16_t Manufacturer, int32_t Address, uint8_t Version,
                        uint8_t DeviceType);

// The most devices the list of heard wireless devices holds. No real site comes near it (the radio module keys
// at most 64 devices); the bound keeps a flood of forged telegrams from filling the memory and the window.
inline constexpr int Max_Wireless_Devices = 4096;

struct TWireless_Intake {
  int Index = -1;           // the device in the list; -1 when the datagram was dropped
  bool New_Device = false;  // appended by this telegram
  bool Refreshed = false;   // its records, time and encryption state were replaced
  bool List_Full = false;   // a device not yet heard, dropped because the list holds Max_Devices
};

// Takes one forwarded datagram into List: a device not yet heard is appended (owned by the list's owner, who
// frees it); a known one gets the records of this telegram, except for a CI 0x8D telegram without the inner CI
// 0x78. A known device keeps the C field, link layer and signal level of its first telegram. Records keep the
// tick of the record at the same place of the previous telegram when its DIF and VIF are the same. A datagram
// that breaks the length rule or is too short for its header changes nothing and gives Index -1, and so does a
// device not yet heard while the list holds Max_Devices (List_Full tells).
TWireless_Intake Decode_Wireless_Frame(QList<TSlave_wMBus*>& List, std::span<const uint8_t> Datagram, bool Telit,
                                       const QDateTime& Now, int Max_Devices = Max_Wireless_Devices);
