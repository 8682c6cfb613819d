#pragma once
// The converter model this build configures, its per-model texts, and the state that every window, the
// compiler, the language loader and the scanner share (one instance each, process-wide).

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <mutex>
#include <vector>

// Found by the scanner; the core only keeps the references (the scanner decides how the lists are guarded).
class TSlave_MBus;
class TSlave_wMBus;

#ifndef DEVICE_TYPE
#define DEVICE_TYPE 3
#endif

// True for the nine device types the program knows: 1 to 7, 1001 and 1007 (the two OEM re-brands).
constexpr bool Is_Known_Device_Type(int32_t deviceType) {
  return (deviceType >= 1 && deviceType <= 7) || deviceType == 1001 || deviceType == 1007;
}

// Fixed when the program is built (CMake option DEVICE_TYPE); never changed at run time.
inline constexpr int32_t Device_Type = DEVICE_TYPE;
static_assert(Is_Known_Device_Type(Device_Type), "DEVICE_TYPE must be one of 1-7, 1001, 1007");

// The nine known device types in a fixed order (for tables and tests).
inline constexpr int32_t Known_Device_Types[] = {1, 2, 3, 4, 5, 6, 7, 1001, 1007};

// The images a compile produces, by format of the network image (see core/network_compiler.h).
namespace core::bank {
enum class Bank_Format { Standard, With_Header, Serial, Network };
}

// Which side of the converter the Modbus master reaches it on.
enum class TModbus_Side : uint8_t { Serial, Tcp };

// The bank images of one device variant: none, bank.bin alone, or bank1.bin and bank2.bin (the network format),
// for types 1 and 1001 beside a bank.bin of their own.
enum class TBank_Set : uint8_t { None, Standard_And_Network, Header_And_Network, Serial, Network };

// The serial ports of a serial image's parameter block: the Modbus port as chosen, type 5's one fixed RS232
// port, or type 4's pair of Modbus and M-Bus ports of which at most one is RS232.
enum class TSerial_Ports : uint8_t { Modbus_Choice, Fixed, Modbus_And_MBus };

// How the M-Bus line is polled: on request or cyclically; the same with a third choice, Passive Mode, that the
// file stores as "2" (type 2 knows the code but does not list the choice); or always cyclically.
enum class TPolling : uint8_t { Request_Or_Cyclic, Passive_Code, With_Passive, Cyclic_Only };

// The arrangement of the communication settings: which values a model has and how its window shows them.
enum class TSettings_Form : uint8_t {
  None,
  Ethernet,                 // Modbus TCP and M-Bus, two variants (1, 1001)
  Serial_Ethernet_Variant,  // Modbus serial and M-Bus, the variant with an Ethernet port (2, 3)
  Serial_Two_Ports,         // Modbus and M-Bus on two serial ports (4)
  Serial,                   // Modbus on its fixed serial port and M-Bus (5)
  Wireless_Serial,          // wireless and wired M-Bus, Modbus serial (6)
  Wireless_TCP,             // wireless and wired M-Bus, Modbus TCP (7, 1007)
};

// How a variant of a model is updated: by its serial updater, or over the network.
enum class TUpdater : uint8_t { None, Serial, Tcp };

// Everything that differs between the device types, one row per type. Texts are empty, and flags false, for a
// type that is no model.
struct TDevice_Model {
  int32_t Type = 0;
  int32_t Model = 0;                   // the model a type is or re-brands: 1001 is model 1, 1007 model 7
  const char16_t* Code = u"";          // "SW" + model number
  const char16_t* Desc = u"";          // description ending in " - Converter"
  const char16_t* Update_Code = u"";   // value the update check sends; empty for the re-brands
  const char16_t* Title = u"";         // caption of the main window, vendor first
  const char16_t* Version = u"";       // software version the configuration files carry
  int32_t XML_Code = 0;                // device code of the scan export files
  const char16_t* Variants[2] = {u"", u""};  // names of the two variants; empty for the types without
  bool Wireless = false;               // has the wireless M-Bus radio; polls its wired line cyclically
  TModbus_Side Modbus = TModbus_Side::Serial;
  TSerial_Ports Serial_Ports = TSerial_Ports::Modbus_Choice;
  TPolling Polling = TPolling::Request_Or_Cyclic;
  TSettings_Form Settings = TSettings_Form::None;
  uint8_t Gen_Par_Modbus_Code = 1;     // what bank1.bin says of the Modbus side: 4 serial, 2 TCP, 1 left at reset
  bool Reply_Exception = false;        // offers to answer with an exception until the first M-Bus read
  bool Scan_Decode = false;            // the main window offers the scan of the M-Bus and the radio
  TBank_Set Banks[2] = {TBank_Set::None, TBank_Set::None};  // by variant (0 for the types without variants)
  TUpdater Updaters[2] = {TUpdater::None, TUpdater::None};  // by variant, as Banks
  bool Post_Operation[2] = {false, false};  // by variant: a node page offers an operation after each M-Bus read
  const char16_t* Board = u"";         // the board name the network update shows; empty without network update
  // The updaters: the programs and their firmware images under MASTER (type 2's serial updater takes the folder
  // itself), and for the models with variants the title, firmware image and protection code of the Ethernet
  // updater's job (type 1's job has images and codes of its own).
  const char16_t* Serial_Program = u"";
  const char16_t* Serial_Image = u"";
  const char16_t* TCP_Program = u"";
  const char16_t* TCP_Image = u"";
  const char16_t* Job_Title = u"";
  const char16_t* Job_Image = u"";
  const char16_t* Job_Protection = u"";

  bool Has_Variant() const { return Variants[0][0] != 0; }
  bool Is_Rebrand() const { return Model != Type; }
  // One of the maker's own models (not a re-brand, not the empty row): the ones its web server knows.
  bool Is_Own_Model() const { return Type != 0 && Model == Type; }
};

// The row of a device type; the empty row for a type that is no model.
const TDevice_Model& Device_Model(int32_t deviceType = Device_Type);

// The formats of the images a compile builds for a type and variant, the image named bank.bin first.
std::vector<core::bank::Bank_Format> Bank_Formats(int32_t deviceType, int32_t selDev);
// How a type and variant is updated.
TUpdater Updater_Of(int32_t deviceType, int32_t selDev);

// The rates behind the baud-rate lists of the settings (item index to bits per second).
inline constexpr uint32_t Meter_Baud_Rates[8] = {300, 600, 1200, 2400, 4800, 9600, 19200, 38400};
inline constexpr uint32_t Modbus_Baud_Rates[8] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

// Texts of the row of a type. An unknown type, and the update code of the OEM types, give the empty text.
QString SW_Code_Type(int32_t deviceType = Device_Type);         // "SW" + model number, e.g. "SW51645"
QString SW_Desc_Type(int32_t deviceType = Device_Type);         // description ending in " - Converter"
QString SW_Update_Code_Type(int32_t deviceType = Device_Type);  // value the update check sends; none for 1001/1007

// Device code that scan export files carry: 1 -> 1, 3 -> 9, 4 -> 5, 6 -> 13, 7 -> 14, any other type -> 0.
int32_t Get_XML_Code_Dev(int32_t deviceType = Device_Type);
// True exactly for the wireless-capable types 6, 7 and 1007.
bool Get_Form_Type(int32_t deviceType = Device_Type);
// Engineering unit (ASHRAE 135 enumeration) of a decoded record: always 95, "no units".
int32_t Get_BACnet_EngUnits(uint16_t type_data, int32_t Type_Data_Vife);

// True when Name can be joined to a folder as one file or folder name: not empty, not "." or "..", no path
// separator of either kind, no drive colon and no control character. Names that come from the settings file
// (the language, the last configuration) must pass before they are joined to a folder.
bool Is_Plain_File_Name(const QString& Name);

// Shared state. Folder paths carry no trailing separator. Strings are empty until the main window fills them.
extern QString Dir_Exe;          // folder of the program file
extern QString Dir_Master;       // Dir_Exe/MASTER: firmware images for the updaters
extern QString Dir_Projects;     // Dir_Exe/PROJECTS: one sub-folder per configuration
extern QString Dir_Language;     // Dir_Exe/LANGUAGE: .lng files and flag pictures
extern QString Name_Project;     // name of the open configuration (its folder under Dir_Projects); empty when none
extern QString Dir_Project;      // Dir_Projects/Name_Project; empty while no configuration is open
extern QString File_ParGen;      // Dir_Project/ParGen.xml
extern QString File_MBus;        // Dir_Project/M_Bus.xml
extern QString Title_Main;       // caption of the main window
extern QString SW_Code;          // SW_Code_Type of Device_Type
extern QString SW_Desc;          // SW_Desc_Type of Device_Type
extern QString Last_IP_Address;  // last IP address of an Ethernet update; "192.168.2.205" by default
extern QString Lang_Selected;    // base name of the selected .lng file; "English" by default
extern bool Enable_Internet;     // internet connection allowed; false by default
extern bool Enable_Update;       // look for a newer program version; false by default

// Slaves found by the last wired scan and devices heard by the last wireless listen. Plain containers of
// references: the scanner fills them, the scan window frees and removes their items.
extern QList<TSlave_MBus*> List_Dev_MBus;
extern QList<TSlave_wMBus*> List_Dev_Wireless;
// Guards both lists and the contents of their items while a scan may run: the scanner appends and fills items
// under it, and any other thread reads, frees or removes them under it.
extern std::mutex List_Dev_Lock;
