#pragma once
// What the scanner sends to the converter and its radio module while listening for wireless M-Bus devices, and
// the replies that confirm it. Telit modules take AT commands answered "OK\r"; RadioCrafts modules take one-byte
// memory commands and data blocks answered with the prompt ">".

#include <QByteArray>

#include <array>
#include <cstdint>
#include <vector>

namespace wmbus {

extern const QByteArray Cmd_Enable_Configuration;
extern const QByteArray Reply_Configuration_Enabled;
extern const QByteArray Cmd_Type_Radio_Module;
extern const QByteArray Reply_Telit;
extern const QByteArray Reply_RadioCrafts;
extern const QByteArray Cmd_Disable_Configuration;
extern const QByteArray Reply_Configuration_Disabled;
extern const QByteArray Telit_OK;       // "OK\r"
inline constexpr uint8_t Prompt = 0x3E;  // ">"
inline constexpr int Memory_Dump_Size = 257;  // the reply to "0": 256 bytes of memory and the prompt

// Wireless M-Bus mode codes as the scan window passes them.
inline constexpr int Mode_S = 1, Mode_T = 5, Mode_C = 11, Mode_N1 = 15, Mode_N2 = 17;

// The Telit configuration: the command sent at a send step from Telit_Config_First to Telit_Transparent (see
// scan_steps.h), and the send step that follows a confirmed one (modes N1 and N2 leave out the registers 421,
// 442 and 454).
QByteArray Telit_Config_Command(int Send_Step, int Mode, int Channel);
int Telit_Next_Config_Step(int Send_Step, int Mode);
// One register write of the Telit key install: "ATS<Register>=<Value>\r", both decimal.
QByteArray Telit_Set_Register(int Register, int Value);

// The 16-byte RadioCrafts module configuration for a mode (T, C, N1, N2; any other code gives S).
std::vector<uint8_t> Build_RadioCrafts_Config(int Mode);
// A key-table address entry of 8 zero bytes (the entry is cleared).
std::vector<uint8_t> Build_RadioCrafts_Clear();
// The key-table address of a device: identification (least significant first), manufacturer (low first),
// version, device type.
std::vector<uint8_t> Build_RadioCrafts_Key_Address(int32_t Address, uint16_t Manufacturer, uint8_t Version,
                                                   uint8_t DeviceType);
std::vector<uint8_t> Build_RadioCrafts_Key(const std::array<uint8_t, 16>& Key);

}  // namespace wmbus
