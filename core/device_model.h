#pragma once
// The converter model this build configures, its per-model texts, and the state that every window, the
// compiler, the language loader and the scanner share (one instance each, process-wide).

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <mutex>

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

// Per-model constant tables keyed by device type. An unknown type, and the update code of the OEM types,
// give the empty text.
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
