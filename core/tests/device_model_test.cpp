#include "core/device_model.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

struct ModelCase {
  int32_t type;
  const char* code;
  const char* desc;
  const char* updateCode;
  int32_t xmlCode;
  bool wireless;
};

// Every known model, the two OEM re-brands and two types that are no model.
const ModelCase Cases[] = {
    {1, "SW51427", "M-Bus / Modbus TCP - Converter", "SW51427", 1, false},
    {2, "SW51318", "M-Bus / Modbus - Converter", "SW51318", 0, false},
    {3, "SW51645", "M-Bus Multi-Master / Modbus - Converter", "SW51645", 9, false},
    {4, "SW51536", "Modbus  Slave /  M-Bus Master - Converter", "SW51536", 5, false},
    {5, "SW51754", "M-Bus / Modbus - Converter", "SW51754", 0, false},
    {6, "SW51863", "wM-Bus / M-Bus / Modbus Slave - Converter", "SW51863", 13, true},
    {7, "SW51872", "wM-Bus / M-Bus / Modbus TCP Slave - Converter", "SW51872", 14, true},
    {1001, "SW51427", "M-Bus / Modbus TCP - Converter", "", 0, false},
    {1007, "SW51872", "wM-Bus / M-Bus / Modbus TCP Slave - Converter", "", 0, true},
    {0, "", "", "", 0, false},
    {8, "", "", "", 0, false},
};

TEST(DeviceModel, PerModelTablesAndServices) {
  for (const ModelCase& c : Cases) {
    SCOPED_TRACE(c.type);
    EXPECT_EQ(SW_Code_Type(c.type), QString::fromUtf8(c.code));
    EXPECT_EQ(SW_Desc_Type(c.type), QString::fromUtf8(c.desc));
    EXPECT_EQ(SW_Update_Code_Type(c.type), QString::fromUtf8(c.updateCode));
    EXPECT_EQ(Get_XML_Code_Dev(c.type), c.xmlCode);
    EXPECT_EQ(Get_Form_Type(c.type), c.wireless);
    EXPECT_EQ(Is_Known_Device_Type(c.type), c.type != 0 && c.type != 8);
  }
}

TEST(DeviceModel, BuildConstantIsTheDefaultArgument) {
  EXPECT_EQ(Device_Type, DEVICE_TYPE);
  EXPECT_EQ(SW_Code_Type(), SW_Code_Type(Device_Type));
  EXPECT_EQ(SW_Desc_Type(), SW_Desc_Type(Device_Type));
  EXPECT_EQ(Get_XML_Code_Dev(), Get_XML_Code_Dev(Device_Type));
  EXPECT_EQ(Get_Form_Type(), Get_Form_Type(Device_Type));
}

TEST(DeviceModel, BACnetUnitIsAlwaysNoUnits) {
  const std::pair<uint16_t, int32_t> records[] = {{0, 0}, {1, 0x13}, {65535, -1}, {20, INT32_MAX}};
  for (auto [typeData, vife] : records) EXPECT_EQ(Get_BACnet_EngUnits(typeData, vife), 95);
}

TEST(SharedState, StartsWithTheDefaults) {
  EXPECT_EQ(Last_IP_Address, QStringLiteral("192.168.2.205"));
  EXPECT_EQ(Lang_Selected, QStringLiteral("English"));
  EXPECT_FALSE(Enable_Internet);
  EXPECT_FALSE(Enable_Update);
  EXPECT_TRUE(Dir_Project.isEmpty());
  EXPECT_TRUE(Name_Project.isEmpty());
  EXPECT_TRUE(List_Dev_MBus.isEmpty());
  EXPECT_TRUE(List_Dev_Wireless.isEmpty());
}

TEST(SharedState, PlainFileNames) {
  const std::pair<const char*, bool> cases[] = {
      {"English", true}, {"Deutsch (Schweiz)", true}, {"Project 1.old", true}, {"..x", true},
      {"", false},       {".", false},                {"..", false},           {"../x", false},
      {"..\\x", false}, {"/etc/x", false},           {"C:x", false},          {"a\tb", false},
      {"a\x7F", false},
  };
  for (auto [name, plain] : cases) EXPECT_EQ(Is_Plain_File_Name(QString::fromUtf8(name)), plain) << name;
}

}  // namespace
