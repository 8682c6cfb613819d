#pragma once
// Writes what a scan found as the configuration's network file M_Bus.xml: one "Nodo" element per slave, one
// "Variabile" element per record, consecutive Modbus registers for the records. A new file is started, or the
// nodes are appended to the root of the existing one. The file is replaced atomically: a failed save leaves the
// old file whole.

#include "core/mbus_network.h"
#include "platform/rtl/exceptions.h"
#include "scanner/mbus_types.h"
#include "scanner/wmbus_types.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

// The options the scan window fills.
struct TSaveConfXML {
  int32_t Append = 0;         // 1 = load File_Name and add to it; otherwise start a new document
  int32_t XML_Code_Dev = 0;   // device code (Get_XML_Code_Dev): 0, 1, 5, 9, 13 or 14
  int32_t Mod_Start = 1;      // first Modbus register of the records
  int32_t Index_Baud = 0;     // carried, not written
  int32_t Index_Par = 0;      // carried, not written
  int32_t Node_ID_Type = 0;   // 0 = slaves found by primary address, 1 = by secondary address
  int32_t SND_NKE = 0;        // 1 = the scan sent SND_NKE
  int32_t Reset_App = 0;      // 1 = the scan sent an application reset
  int32_t Cut_After = 0;      // telegrams read per slave
  int32_t StartModnode = 0;   // 1 = every slave starts at its own register, SMN_Array[slave index]
  std::vector<int32_t> SMN_Array;
  bool En_NodeState = false;  // give each slave a node-state register (two registers)
  bool En_IdeNum = false;     // give each slave an identification-number register
  QString File_Name;
};

// Which found slaves and records the user ticked in the scan window. An empty function, a slave or record
// without a tree node, and a check state that cannot be read all count as checked.
struct TScan_Check_State {
  std::function<bool(int Slave_Index, const TSlave_MBus& Slave)> Slave_Checked;
  std::function<bool(int Slave_Index, int Record_Index, const TVariable_MBus& Record)> Record_Checked;
};

// Raised when the export refuses its input or the file it should append to; nothing is written then.
class EScanExportError : public plat::Exception {
 public:
  explicit EScanExportError(const QString& Msg) : plat::Exception(Msg) {}
};

// Highest Modbus register the network editor accepts; the export never assigns a register above it.
inline constexpr int32_t Max_Export_Register = 59999;

// The network records of a scan as the export writes them: the registers given, Cut_After as the editor's item
// index. The scan window checks them against the network before anything is written. They raise
// EScanExportError as the saves below do.
core::net::TNetwork Wired_Records(const TSaveConfXML& DataIn, const QList<TSlave_MBus*>& Slaves,
                                  const TScan_Check_State& Checks = {});
core::net::TNetwork Wireless_Records(const TSaveConfXML& DataIn, const QList<TSlave_wMBus*>& Devices);
// The optional attributes the export writes for these options.
core::net::TScan_Layout Export_Layout(const TSaveConfXML& DataIn, bool Wireless);

// Both build the records and let the network's writer save or append them. Both return false and touch no file when their list is empty, true after the file was written. They raise
// plat::EXMLError when the file to append to cannot be loaded or the file cannot be saved, and EScanExportError
// when SMN_Array has fewer entries than there are slaves (with StartModnode = 1), when the file to append to has
// another root than "M-Bus_Network", or when a register would pass Max_Export_Register (or fall below 0).
bool Save_XML_Conf_Wired(const TSaveConfXML& DataIn, const QList<TSlave_MBus*>& Slaves,
                         const TScan_Check_State& Checks = {});
// Wireless devices and records are ticked through their own Enable fields; idle fillers are not written.
bool Save_XML_Conf_Wireless(const TSaveConfXML& DataIn, const QList<TSlave_wMBus*>& Devices);

// Network editor's data size index of a record's data field code, and the Modbus registers the compiler gives
// such a record (variable length: (Length + 1) div 2 registers).
int32_t Export_Dim(uint8_t Data_Code);
int32_t Export_Registers(uint8_t Data_Code, int32_t Nbyte);
