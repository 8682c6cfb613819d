#pragma once
// Frames the scanner sends to the M-Bus line through the converter, and the tests it applies to the replies.

#include <QByteArray>

#include <cstdint>
#include <span>
#include <vector>

namespace mbus {

inline constexpr uint8_t Addr_Selected = 253;   // the slave selected by secondary address
inline constexpr uint8_t Addr_Broadcast = 255;  // every slave; none answers

std::vector<uint8_t> Build_SND_NKE(uint8_t A);
// C = 0x7B (FCB set) for an even Frame_No, 0x5B for an odd one.
std::vector<uint8_t> Build_REQ_UD2(uint8_t A, int Frame_No);
std::vector<uint8_t> Build_App_Reset(uint8_t A);
// Digits[0] is the most significant digit of the identification number; -1 is a wildcard (nibble 0xF).
// Manufacturer, version and medium are always wildcards.
std::vector<uint8_t> Build_Select_Secondary(const int (&Digits)[8]);

// A single ACK: exactly the one byte 0xE5.
bool Is_Single_ACK(std::span<const uint8_t> Reply);
// Exactly the ten bytes "NO_SLAVE\n\r".
bool Is_No_Slave(std::span<const uint8_t> Reply);

// A reply the scanner accepts as a readout: a long frame (68 L L 68 ... CS 16) with a correct checksum, an L
// field that matches the bytes received, and more than 21 bytes (a header alone carries no record).
bool Is_Valid_RSP_UD(std::span<const uint8_t> Reply);

// True when the identification number Id (eight BCD digits as nibbles, most significant first) matches the
// digits of a secondary search, where -1 matches any digit.
bool Id_Matches_Digits(uint32_t Id, const int (&Digits)[8]);

// The converter's text commands and the replies that confirm them.
extern const QByteArray Cmd_Enable_Analyzer;
extern const QByteArray Cmd_Disable_Analyzer;
extern const QByteArray Reply_Analyzer_Enabled;
extern const QByteArray Reply_Analyzer_Disabled;
extern const QByteArray Reply_No_Slave;

}  // namespace mbus
