#pragma once
// One wireless M-Bus device heard while listening: its link-layer and application-layer identity, the signal
// level of its first telegram, the records of its last telegram and the AES key the user gave for it.

#include "scanner/mbus_types.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

class TSlave_wMBus {
 public:
  TSlave_wMBus() = default;
  ~TSlave_wMBus() { Cancel_Var(); }

  uint8_t Message_Type = 0;         // C field of the first telegram
  uint16_t LLA_Manufacturer = 0;    // link layer
  QString LLA_Manu_str;
  uint32_t LLA_Address = 0;
  uint8_t LLA_Version = 0;
  uint8_t LLA_DeviceType = 0;
  uint16_t ALA_Manufacturer = 0;    // application layer (the link layer's for headers that carry none)
  QString ALA_Manu_str;
  int32_t ALA_Address = 0;
  uint8_t ALA_Version = 0;
  uint8_t ALA_DeviceType = 0;
  int8_t RSSI = 0;                  // signal level of the first telegram, in the radio module's units
  QDateTime DateTime;               // local time the last telegram was decoded
  bool Cripted = false;             // the last telegram's payload was encrypted and not decoded
  bool Enable = true;               // the window's tick box of the device
  bool Enable_Key = false;          // a key was installed for the device
  std::array<uint8_t, 16> Key{};
  int32_t RadioCrafts_Ind_Tab_Decript = -1;  // slot 1..64 in the RadioCrafts key table; -1 = none
  std::vector<TVariable_MBus> List_Var;      // records of the last decoded telegram

  // Drops the records of the last telegram.
  void Cancel_Var() { List_Var.clear(); }
};
