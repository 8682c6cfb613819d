#pragma once
// The M-Bus network of a configuration (its meters and, per meter, the values published as Modbus registers)
// and its file M_Bus.xml: the typed records, the one reader and the one writer of the file, the register-count
// rule, and the tree captions. Texts become numbers here, where the file is read; the compiler, the network
// editor and the scan export all take the records or the attribute names from this unit.

#include <array>
#include <cstdint>
#include <vector>

#include <QString>

namespace plat {
class TXMLDocument;
class TXMLNode;
}  // namespace plat

namespace core::net {

// The attributes of a `Nodo` element. The order is the order the writer uses (ID and the scanner's own
// attributes, which the writer does not write, come last).
enum class TNode_Attr : uint8_t {
  Node_Enable, ID_Primary, ID_Secondary, Descrizione, Send_SND_NKE, Reset_App, Node_State, Ident_Num, BCDtoINT_IN,
  Swap_IN, Node_ID_Type, Var_List_Type, Cut_After, Manufacturer_Specific_Data, MSD_Length, MSD_Offset, Access_Number,
  MBus_Type, wMBus_ManID, wMBus_Add, wMBus_Ver, wMBus_DevType, wMBus_En_Key, wMBus_Key_1,
  wMBus_RSSI = wMBus_Key_1 + 16, ID, Count
};

// The attributes of a `Variabile` element, in the writer's order; SWAP is written by the scan export only.
enum class TVar_Attr : uint8_t {
  Enable, Desc, Type, Fun_Field, Dim, Unit, ModReg, ModScale, StoNumber, Tariff, VIFE, BCDtoINT, VIF_ASCII, Length,
  Conv_Float, Force_Int32, TP_Mod_Regs, TP_Mod_Year, Position, Post_Operation, SWAP, Count
};

// The names as they stand in the file.
const QString& Attr_Name(TNode_Attr a);
const QString& Attr_Name(TVar_Attr a);
const QString& Root_Element_Name();  // "M-Bus_Network"
const QString& Node_Element_Name();  // "Nodo"
const QString& Var_Element_Name();   // "Variabile"

constexpr uint64_t Bit(TNode_Attr a) { return uint64_t(1) << unsigned(a); }
constexpr uint32_t Bit(TVar_Attr a) { return uint32_t(1) << unsigned(a); }

// One published value. Numbers are kept at the width they were read, so that a value out of its range is
// still seen as such by the checks and the compiler.
struct TVariabile {
  bool Enable = false;
  QString Description;
  int32_t Type_Of_Data = 0;     // index of the data-type list
  int32_t Function_Field = 0;   // list index (not the M-Bus code: 1 and 2 are exchanged there)
  int32_t Dimension = 0;        // index of the data-size list; 7 = variable length
  int32_t Unita = 0;
  int32_t Modbus_Register = 0;
  int32_t Modbus_Scale = 0;     // 0 = none
  uint32_t Storage_Number = 0;
  uint32_t Tariff = 0;
  uint8_t VIFE = 0;             // low byte of the number read, so -1 is 255 ("Not Selected")
  bool BCDtoINT = false;
  QString VIF_ASCII;
  int32_t Length = 0;           // bytes of a variable-length value
  bool Conv_Float = false;
  bool Force_Int32 = false;
  bool TP_Mod_Regs = false;
  int32_t TP_Mod_Year = 0;      // first register of the six-register time-point block
  int32_t Position = 1;
  int32_t Post_Operation = 0;

  // Attributes that were absent or did not convert (their field holds the default).
  uint32_t Unread = 0;
  // The first of Type, Fun_Field, Dim, ModReg, ModScale that is absent or not an integer text, with the text
  // it had; Fault_Attr is TVar_Attr::Count when all five were read.
  TVar_Attr Fault_Attr = TVar_Attr::Count;
  bool Fault_Present = false;
  QString Fault_Text;
};

// One meter. The wireless identification fields keep the texts the user typed (the checks decide whether they
// are numbers); Wireless_Ident gives the numbers the converter takes.
struct TNodo {
  int32_t Enable = 0;
  QString Description;
  int32_t Node_Pri = 0;
  int32_t Node_Sec = 0;
  int32_t Send_SNK = 0;
  int32_t Reset_App = 0;
  std::vector<TVariabile> Var_List;
  int32_t Node_State = 0;       // Modbus registers, 0 = none
  int32_t Ident_Num = 0;
  int32_t BCDtoINT_IN = 0;
  int32_t Swap_Ident = 0;
  int32_t Node_ID_Type = 0;     // 0 primary, 1 secondary address
  int32_t Var_List_Type = 0;    // 0 by type, 1 by position
  int32_t Cut_After = 0;        // item index: telegrams per request minus one
  int32_t Manufacturer_Spec = 0;
  int32_t MSD_Length = 0;
  int32_t MSD_Offset = 0;
  int32_t MBus_Type = 0;        // 0 wireless, 1 wired (wireless device types only)
  QString wMBus_ManID;
  QString wMBus_Add;
  QString wMBus_Ver;
  QString wMBus_DevType;
  int32_t wMBus_En_Key = 0;
  std::array<QString, 16> wMBus_Key;
  int32_t RSSI = 0;
  int32_t Access_Number = 0;

  uint64_t Unread = 0;  // attributes absent or not converted
};

// The highest Modbus register a value, a scale or a node register may take.
inline constexpr int32_t Max_Register = 59999;

struct TNetwork {
  std::vector<TNodo> Nodi_List;
};

// True on the device types with a wireless side (6, 7, 1007): only they read and write the wireless attributes.
bool Has_Wireless_Side(int32_t deviceType);
// A node the converter receives by radio: MBus_Type other than 1 on a device type with a wireless side.
bool Is_Wireless(const TNodo& n, int32_t deviceType);

struct TWireless_Ident {
  uint16_t ManID = 0;
  uint32_t Address = 0;  // low 32 bits of the address text
  uint8_t Version = 0;
  uint8_t Dev_Type = 0;
  std::array<uint8_t, 16> Key{};  // read only when wMBus_En_Key is 1
};
// Texts that are no number give 0.
TWireless_Ident Wireless_Ident(const TNodo& n);

// Reading. A document whose root holds the nodes (the root element, wherever it stands among the top-level
// nodes): every child element of the root is a node and every child element of a node a variable; element
// names and unknown attributes play no part.
enum class TRead_Mode {
  Stop_At_Fault,  // the editor: a variable without a readable Type, Fun_Field, Dim or ModReg ends the reading
  Read_All,       // the compiler: every element is read, faults stay on the records for the caller to judge
};
struct TRead_Result {
  TNetwork Network;  // with Stop_At_Fault: the nodes read up to the fault
  QString Error;     // empty when the whole file was read
};
TRead_Result Read_Network(const plat::TXMLDocument& doc, int32_t deviceType,
                          TRead_Mode mode = TRead_Mode::Stop_At_Fault);
// Where a variable's fault lies and what it is: "M_Bus.xml, node N, variable M: ..." (empty without a fault).
QString Fault_Message(const TVariabile& v, int nodeNumber, int varNumber);
// An absent file gives an empty network; a file that is no XML gives the parser's message with its line (and no
// node). The file is read as it loads, in one walk, with the result of Read_Network.
TRead_Result Load_Network(const QString& fileName, int32_t deviceType, TRead_Mode mode = TRead_Mode::Stop_At_Fault);

// Writing: the whole file, built anew (the root, then the version comment of the device type), saved
// atomically. False with the platform's message when the file cannot be written; the old file stays whole.
void Build_Document(plat::TXMLDocument& doc, const TNetwork& net, int32_t deviceType);
bool Save_Network(const QString& fileName, const TNetwork& net, int32_t deviceType, QString* error = nullptr);

// The attribute order of the elements written. The editor writes every attribute of its table; a saved scan
// keeps the shorter list and the order the scan export has always written, so files saved by a scan stay as
// they were.
enum class TAttr_Order : uint8_t { Editor, Scan_Export };
// Which of the optional attributes a saved scan carries.
struct TScan_Layout {
  bool Wireless = false;         // the wireless identification and key attributes
  bool ID = false;               // the address also as ID (the converter model of device code 5)
  bool Wired_MBus_Type = false;  // wired nodes of the wireless-capable models carry MBus_Type
  bool Node_Registers = false;   // Node_State and Ident_Num (per-node start registers)
};
struct TWrite_Options {
  TAttr_Order Order = TAttr_Order::Editor;
  TScan_Layout Scan;    // with TAttr_Order::Scan_Export
  bool Append = false;  // add the nodes after those of the existing file's root; the rest of it stays as it is
};
enum class TWrite_Status : uint8_t { Written, Load_Failed, Not_A_Network, Save_Failed };
struct TWrite_Result {
  TWrite_Status Status = TWrite_Status::Written;
  QString Error;  // the XML layer's message, or which root the file to append to has
  bool Ok() const { return Status == TWrite_Status::Written; }
};
// The one writer of M_Bus.xml. A new file in the editor's order carries the version comment, one in the scan
// order none. Appending loads the file first and refuses one whose root is not "M-Bus_Network"; nothing is
// written on any failure.
TWrite_Result Write_Network(const QString& fileName, const TNetwork& net, int32_t deviceType,
                            const TWrite_Options& options);

// The register-count rule: the bytes a value of a data-size index takes in the converter's data area, and the
// Modbus registers (two bytes each) that publish it. A variable-length value takes its Length.
int32_t Value_Bytes(int32_t dimension, int32_t length);
int32_t Register_Count(int32_t dimension, int32_t length);

// Tree captions.
QString Root_Caption();  // "M-Bus Network"
QString Node_Caption(const TNodo& n, int32_t deviceType);
QString Var_Caption(const TVariabile& v);

}  // namespace core::net
