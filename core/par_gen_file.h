#pragma once
// The communication parameters of a configuration and their file ParGen.xml, the one place that knows the file:
// its elements, the values the settings window holds, their defaults per device type, the reader, the writer
// and the checks that guard a save. No widgets: the window copies its controls into a TParGen_Data and back,
// and the compiler takes the file's texts from a TParGen_File and turns them into numbers of its own.

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/device_model.h"

namespace pargen {

// The elements of the file, one per value (children of the root GeneralParameter).
enum class TParGen_Element : uint8_t {
  Sel_Dev, Sel_Dev_MBus_Present, IP_1, IP_2, IP_3, IP_4, SM_1, SM_2, SM_3, SM_4, GA_1, GA_2, GA_3, GA_4,
  Gat_Enable, TCP_Port, TCP_Conn_TimeOut, Meter_Baud, Meter_Par, Meter_Req_Type, Meter_Req_Delay, Node_State,
  Enable_Use_Fix_C_Field, Use_Fix_C_Field_Value, Reply_Exception_Until_First_Read, MBUS_Ser, Mod_Ser, Mod_Baud,
  Mod_Par, Mod_StopBit, Mod_Id, Mod_Protocol, wMBus_Mode, wMBus_Radio_Channel
};
inline constexpr std::size_t Element_Count = std::size_t(TParGen_Element::wMBus_Radio_Channel) + 1;

// The element's name in the file.
QString Element_Name(TParGen_Element Element);

// One value per control of the window. Lists hold their item index counted from 0, edits their text,
// check boxes their state.
struct TParGen_Data {
  int Sel_Dev = 0;               // CB_Select_Device
  int Sel_Dev_MBus_Present = 0;  // CB_SD_Wire_Present_MBus: 0 not present, 1 present
  std::array<QString, 4> IP;     // E_IP1 .. E_IP4
  std::array<QString, 4> SM;     // E_SM1 .. E_SM4
  std::array<QString, 4> GA;     // E_GAT1 .. E_GAT4
  bool Gat_Enable = false;       // CB_ModTCPs_EN_GAT
  QString TCP_Port;              // E_PORT
  QString TCP_Conn_TimeOut;      // E_MTCPs_Conn_TO (minutes)
  int Meter_Baud = 0;            // CB_MBus_Baud
  int Meter_Par = 0;             // CB_MBus_Parity
  int Meter_Polls = 0;           // CB_MBus_Polls: 0 On Request, 1 Cyclic, 2 Passive Mode
  QString Meter_Req_Delay;       // E_MBus_Delay (seconds)
  QString Node_State;            // E_MBus_NodeState
  bool Enable_Use_Fix_C_Field = false;            // CB_MBus_Fix_CField
  int Use_Fix_C_Field_Value = 0;                  // CB_MBus_Fix_CField_Val
  bool Reply_Exception_Until_First_Read = false;  // CB_MBus_Exception_Until_First_Read
  int MBUS_Ser = 0;              // CB_MBus_Serial
  int Mod_Ser = 0;               // CB_Serial_Modbus_Slave
  int Mod_Baud = 0;              // CB_Baud_Modbus_Slave
  int Mod_Par = 0;               // CB_Par_Modbus_Slave
  int Mod_StopBit = 0;           // CB_ModSlave_StopBits
  QString Mod_Id;                // E_ID_Modbus_Slave
  int Mod_Protocol = 0;          // CB_Protocol_Modbus_Slave
  int wMBus_Mode = 0;            // CB_wMBus_Mode
  int wMBus_Radio_Channel = 0;   // CB_wMBus_Radio_Channel

  bool operator==(const TParGen_Data&) const = default;
};

// Polling entries of CB_MBus_Polls.
inline constexpr int Polls_On_Request = 0;
inline constexpr int Polls_Cyclic = 1;
inline constexpr int Polls_Passive = 2;

// The lists of the window. Their items are fixed English texts, except the polling list (texts 274 to 276 of
// Lang_Texts, built by the window) and the variant list, whose items depend on the device type.
enum class TParGen_List {
  Select_Device, Wire_Present_MBus, MBus_Baud, MBus_Parity, MBus_Polls, MBus_Fix_CField_Val, MBus_Serial,
  Serial_Modbus_Slave, Baud_Modbus_Slave, Par_Modbus_Slave, ModSlave_StopBits, Protocol_Modbus_Slave, wMBus_Mode,
  wMBus_Radio_Channel
};
// The fixed items of a list for a device type (empty for the polling list, whose texts come from Lang_Texts).
QStringList List_Items(TParGen_List list, int deviceType = Device_Type);
// The number of entries of a list for a device type (the polling list has three only for type 3).
int List_Count(TParGen_List list, int deviceType = Device_Type);

// Every value at its default for the device type (the polling list on Cyclic for types 6, 7 and 1007).
TParGen_Data ParGen_Defaults(int deviceType = Device_Type);

// The software version the file's closing comment carries: "SW_VERSION = " + this.
QString ParGen_Version(int deviceType = Device_Type);

// The elements a device type reads and writes, in the order they are written.
std::vector<TParGen_Element> Elements_Of(int deviceType = Device_Type);
// Their names, in the same order.
QStringList ParGen_Elements(int deviceType = Device_Type);

// True for the types whose polling list is fixed on Cyclic and whose file never carries a polling choice.
bool Polls_Fixed_Cyclic(int deviceType = Device_Type);

enum class TParGen_Read { Missing, Read, Malformed };

// The file as it stands: each element's text (the first element of a name counts), or none where the file lacks
// the element. A missing file, and one that is not well-formed XML, hold no text.
struct TParGen_File {
  TParGen_Read Status = TParGen_Read::Missing;
  QString Error;  // why a Malformed file does not read
  std::array<std::optional<QString>, Element_Count> Texts;

  const std::optional<QString>& Text(TParGen_Element Element) const { return Texts[std::size_t(Element)]; }
  // The element's integer by the program's integer rule; none when it is missing or does not convert.
  std::optional<int32_t> Number(TParGen_Element Element) const;
};
TParGen_File Load_ParGen_File(const QString& FileName);

// The number the default of a value stands for in the file, for the elements that have one (the texts of
// the defaults of the edits, the item indexes of the lists).
int32_t Default_Number(TParGen_Element Element);

// Reads FileName into Data for the device type. Values the type does not use keep what Data held. A missing
// file gives every value of the type its default; a file that is not well-formed
// XML reads the same as a missing one and gives Malformed with the reason in *Error. Otherwise each element is
// looked up on its own: a missing element, a text that does not convert or a list index outside its list gives
// that value's default.
TParGen_Read Read_ParGen(const QString& FileName, int deviceType, TParGen_Data& Data, QString* Error = nullptr);

// The document text the writer produces for Data (no declaration; the root, then the version comment).
QByteArray ParGen_Bytes(int deviceType, const TParGen_Data& Data);

// Writes FileName whole and atomically. An existing file that is not well-formed XML is first kept beside it
// as FileName + ".bad". False (and the reason in *Error) when the file cannot be written; the old file is then
// left as it was.
bool Save_ParGen(const QString& FileName, int deviceType, const TParGen_Data& Data, QString* Error = nullptr);

// The checks that guard a save, in their order for the device type: the Lang_Texts index of the first that
// fails, or nothing when all pass.
std::optional<int> Check_ParGen(int deviceType, const TParGen_Data& Data);

}  // namespace pargen
