#pragma once
// The compiled network records and the byte layouts of the bank images: the four network-image formats,
// their parameter blocks, the general parameters with the wireless slots (bank1.bin) and the 2048-byte header.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <QString>

namespace core::bank {

// Capacity of every image buffer; a larger image ends the compile.
constexpr std::size_t Bank_Buffer_Size = 200000;
constexpr int Max_Wireless_Nodes = 32;
constexpr int Max_Table_Nodes = 255;
constexpr std::size_t Gen_Par_Size = 2044;
constexpr std::size_t Gen_Par_Header_Size = 184;
constexpr std::size_t Bank_Block_Size = 2048;  // Gen_Par or header with its checksum
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

enum class Bank_Format { Standard, With_Header, Serial, Network };

struct Bank_Network {
  std::vector<TNodo> Nodi_Wired;
  std::vector<TNodo> Nodi_Wireless;            // Network format only
  std::vector<TwMBus_Slot> wMBus_Slots;        // one per wireless node, at most 32
};

// The elements of ParGen.xml (children of its root) with the three ways the compiler reads them.
class ParGen_Values {
 public:
  bool Exists = false;
  // Keeps the first element of a name, as a lookup by name finds it.
  void Add(const QString& name, const QString& text);
  const QString* Find(QLatin1StringView name) const;
  // Missing or not a number ends the compile.
  int32_t Required(const char* name) const;
  // The element must exist; a text that is not a number gives d.
  int32_t Or_Default(const char* name, int32_t d) const;
  // d when the element is missing or not a number.
  int32_t Readable(const char* name, int32_t d) const;
  // True when the element's text is exactly "1".
  bool Flag(const char* name) const;

 private:
  std::vector<std::pair<QString, QString>> elems_;
};

// Packed-record images of the general parameters, built by offset.
using Gen_Par_Record = std::array<uint8_t, Gen_Par_Size>;
using Gen_Par_Header_Record = std::array<uint8_t, Gen_Par_Header_Size>;

void Reset_Gen_Par(Gen_Par_Record& g);
void Reset_Gen_Par_Header(Gen_Par_Header_Record& h);
uint32_t Bank_Checksum(const uint8_t* data, std::size_t n);
// Packed BCD of the last 8 decimal digits, least significant digit in bits 0..3.
uint32_t Int_To_BCD(uint32_t value);

// The builders. Each derives Add, Address_Arr_Calcolato and Address_VIF_ASCII of the records and returns
// the image; a value the image cannot hold raises ECompileError.
std::vector<uint8_t> Build_Bank_Std(Bank_Network& net, const ParGen_Values& par, int deviceType);
std::vector<uint8_t> Build_Bank_B2(Bank_Network& net, const ParGen_Values& par, int deviceType);
std::vector<uint8_t> Build_Bank_Serial(Bank_Network& net, const ParGen_Values& par, int deviceType);
// Also fills the general parameters from ParGen.xml and the wireless count.
std::vector<uint8_t> Build_Bank2_Net(Bank_Network& net, const ParGen_Values& par, int deviceType, Gen_Par_Record& genPar);
// Gen_Par with its checksum, then the 32 slots: always 3072 bytes.
std::vector<uint8_t> Build_Bank1(const Gen_Par_Record& genPar, const std::vector<TwMBus_Slot>& slotList);

// The time-point rule of a format: TP_Mod_Regs and Type 20; in the serial format also every
// TP_Mod_Regs variable of a by-position node.
bool Is_Time_Point(Bank_Format fmt, const TNodo& node, const TVariabile& var);

}  // namespace core::bank
