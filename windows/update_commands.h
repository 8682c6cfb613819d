#pragma once
// What the update windows hand to the external updaters: which program of the updater folder to start, its
// parameters as one text in the updaters' own form and as the argument list that is really passed (no shell,
// so a blank or a quote in a folder name cannot split or inject arguments), and the job file of the generic
// Ethernet updater. Pure functions of the device type, the options and the folders, so that every byte can be
// checked without starting anything.

#include <QString>
#include <QStringList>

#include <cstdint>

#include "platform/io/process.h"

namespace plat {
class TXMLDocument;
}

// The four update options of both update windows, all checked by default.
struct TUpdate_Options {
  bool Firmware = true;   // CB_Firmware: "FW"
  bool Read_Firm = true;  // CB_Read_Firm: "FR"
  bool Conf = true;       // CB_Conf: "PW"
  bool Read_Conf = true;  // CB_Read_Conf: "PR"
};

// The four option words in their order, each followed by one blank ("NO " for an unchecked option).
QString Option_Words(const TUpdate_Options& Options);
// The same words as separate arguments.
QStringList Option_Word_List(const TUpdate_Options& Options);

// One start of an updater.
struct TUpdater_Call {
  QString Program;       // file name in the updater folder; empty when the device type has no such updater
  QString Command_Line;  // the parameters as one text, in the form the updaters document (backslash paths)
  QStringList Arguments; // the argument list that is passed (paths with '/')
};

// Serial updater of the device type ("Ser_51645_Update.exe"); empty for types without one.
QString Serial_Program(int32_t DeviceType);
// TCP updater of the wireless types ("TCP_51872_Update.exe"); empty for the other types.
QString TCP_Program(int32_t DeviceType);
// The generic Ethernet updater and the job file it reads, both in the updater folder.
inline const QString Ethernet_Program = QStringLiteral("Ethernet_Update.exe");
inline const QString Ethernet_Job_File = QStringLiteral("Ethernet_Update.xml");

// Serial update of types 1, 1001, 2, 3, 4 and 5. Port is the port's name as the list shows it ("ttyUSB0");
// the updater gets its device path ("/dev/ttyUSB0"). For type 2 the firmware argument is the MASTER folder
// itself followed by a separator. Other types give an empty call.
TUpdater_Call Serial_Update_Call(int32_t DeviceType, const QString& Port, const TUpdate_Options& Options,
                                 const QString& DirMaster, const QString& DirProject);

// TCP update of types 6, 7 and 1007: the address, port 2007, the option words, the firmware image and the bin
// folder (without a trailing separator). Other types give an empty call.
TUpdater_Call TCP_Update_Call(int32_t DeviceType, const QString& IP, const TUpdate_Options& Options,
                              const QString& DirMaster, const QString& DirProject);

// Fills Doc (emptied first) with the job file of the generic Ethernet updater for types 1, 1001, 2 and 3: the
// device address, the ports, the compatibility codes and one operation per image to write. False (Doc left
// empty) for the other types.
bool Compile_XML_Parameter(plat::TXMLDocument& Doc, int32_t DeviceType, const QString& IP,
                           const TUpdate_Options& Options, const QString& DirMaster, const QString& DirProject);

// The firmware images an updater may write, as the call or the job file names them: the serial or TCP image
// (for type 2's serial updater the MASTER folder itself), or the job file's firmware images (type 1 and 1001
// have one per hardware generation). Empty for types without such an updater.
enum class TFirmware_Route { Serial, Tcp, Ethernet_Job };
QStringList Firmware_Images(int32_t DeviceType, TFirmware_Route Route, const QString& DirMaster);
// The message for a firmware write none of whose images is there; empty when one is (or nothing is asked).
QString Missing_Firmware_Message(int32_t DeviceType, TFirmware_Route Route, const QString& DirMaster,
                                 const TUpdate_Options& Options);

// Checks an address text: trimmed, at least three '.', split at the first three, each part trimmed and an
// integer text from 0 to 255 (a part that does not convert fails). The four values go to Parts.
bool Valid_IP(const QString& IP, int& ip1, int& ip2, int& ip3, int& ip4);

// The address of four edit texts in its one canonical dotted-decimal form ("010" is 10), or an empty text
// when a part does not convert to 0..255.
QString Canonical_IP(const QString& E1, const QString& E2, const QString& E3, const QString& E4);

// How the update windows run an updater. The folder is the program's folder unless a test gives another; the
// wait ends when the updater ends or the limit has passed on the clock (the updater then keeps running).
struct TUpdater_Run_Settings {
  QString Folder;                    // empty: Dir_Exe
  uint32_t Wait_Limit_Ms = 150000;
  plat::TTickClock Clock = plat::MonotonicTicks;
};
extern TUpdater_Run_Settings Updater_Run;
// The folder that holds the updaters and the job file.
QString Updater_Folder();
