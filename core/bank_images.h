#pragma once
// The compiled network records and the byte layouts of the bank images: the four network-image formats and
// bank1.bin with its wireless slots (the general parameters they carry are in core/gen_par.h).

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <QString>

#include "core/gen_par.h"

namespace core::bank {

// Capacity of every image buffer; a larger image ends the compile.
constexpr std::size_t Bank_Buffer_Size = 200000;
constexpr int Max_Wireless_Nodes = 32;
constexpr int Max_Table_Nodes = 255;
constexpr std::size_t Slot_Size = 32;
constexpr std::size_t Bank1_Size = Bank_Block_Size + Max_Wireless_Nodes * Slot_Size;  // 3072

// Options bits of a variable.
constexpr uint8_t Opt_Conv_Float = 1;
constexpr uint8_t Opt_Force_Int32 = 2;
constexpr uint8_t Opt_BCDtoINT = 4;
constexpr uint8_t Opt_TP_Mod_Regs = 8;

// The compiler's own variable record (not the network editor's class of the same name).
struct TVariabile {
  uint8_t Type_Of_Data = 0;
  uint8_t Function_Field = 0;  // M-Bus code: the file's 1 and 2 already exchanged
  uint8_t Dimension = 0;
  uint8_t Unita = 0;
  uint16_t Modbus_Register = 0;
  uint16_t Modbus_Scale = 0;
  uint32_t Storage_Num = 0;
  uint32_t Tarif = 0;
  uint8_t VIFE = 0;
  uint8_t Length = 0;
  uint8_t Len_VIF_ASCII = 0;
  uint32_t Address_VIF_ASCII = 0;  // derived
  std::string VIF_ASCII;           // the image bytes: low byte of each UTF-16 unit, last character first
  uint8_t Options = 0;
  uint16_t TP_Mod_Year = 0;
  uint8_t Position = 1;
  uint8_t Post_Ope = 0;
};

// The compiler's own node record.
struct TNodo {
  uint32_t ID = 0;
  uint8_t SND_NKE = 0;
  uint8_t Reset_App = 0;
  uint32_t Add = 0;  // derived
  uint16_t Node_State = 0;
  uint16_t Ident_Num = 0;
  uint16_t RSSI = 0;
  uint8_t BCDtoINT_IN = 0;
  uint8_t Swap_IN = 0;
  uint8_t ID_Type = 0;
  uint8_t Var_Type = 0;
  uint8_t Cut_After = 0;
  uint16_t Mamu_Spec_Data = 0;
  uint8_t MSD_Length = 0;
  uint8_t MSD_Offset = 0;
  uint16_t Address_Arr_Calcolato = 0;  // derived
  uint16_t Access_Number = 0;
  bool Wireless = false;
  int Source_Index = 0;  // 1-based position of the node element in M_Bus.xml, for messages
  std::vector<TVariabile> Vars;
};

struct TwMBus_Slot {
  uint16_t ManID = 0;
  uint32_t Address = 0;
  uint8_t Version = 0;
  uint8_t Dev_Type = 0;
  std::array<uint8_t, 16> Key{};
  uint8_t Key_Enable = 0;
};

struct Bank_Network {
  std::vector<TNodo> Nodi_Wired;
  std::vector<TNodo> Nodi_Wireless;            // Network format only
  std::vector<TwMBus_Slot> wMBus_Slots;        // one per wireless node, at most 32
};

// Packed BCD of the last 8 decimal digits, least significant digit in bits 0..3.
uint32_t Int_To_BCD(uint32_t value);

// The builders. Each derives Add, Address_Arr_Calcolato and Address_VIF_ASCII of the records and returns
// the image; a value the image cannot hold raises ECompileError.
std::vector<uint8_t> Build_Bank_Std(Bank_Network& net, const TParGen_Numbers& par, int deviceType);
std::vector<uint8_t> Build_Bank_B2(Bank_Network& net, const TParGen_Numbers& par, int deviceType);
std::vector<uint8_t> Build_Bank_Serial(Bank_Network& net, const TParGen_Numbers& par, int deviceType);
// Also fills the general parameters: the wireless count, and the rest from ParGen.xml when it exists.
std::vector<uint8_t> Build_Bank2_Net(Bank_Network& net, const TParGen_Numbers& par, int deviceType, Gen_Par_Record& genPar);
// Gen_Par with its checksum, then the 32 slots: always 3072 bytes.
std::vector<uint8_t> Build_Bank1(const Gen_Par_Record& genPar, const std::vector<TwMBus_Slot>& slotList);

// The time-point rule of a format: TP_Mod_Regs and Type 20; in the serial format also every
// TP_Mod_Regs variable of a by-position node.
bool Is_Time_Point(Bank_Format fmt, const TNodo& node, const TVariabile& var);

}  // namespace core::bank
