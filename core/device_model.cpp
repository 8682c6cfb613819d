#include "core/device_model.h"

#include <iterator>

namespace {

using B = TBank_Set;
using F = TSettings_Form;
using U = TUpdater;

// The OEM types repeat the texts of the model they re-brand. Type 4's description has two blanks after "Modbus"
// and after the slash, as the model has always been named; keep them. Type 1001 leaves the Modbus code of
// bank1.bin at its reset value, unlike type 1.
constexpr TDevice_Model Models[] = {
    {.Type = 1, .Model = 1, .Code = u"SW51427", .Desc = u"M-Bus / Modbus TCP - Converter", .Update_Code = u"SW51427",
     .Title = u"Veltrum - Configurator SW51427 - M-Bus / Modbus TCP ", .Version = u"2.302", .XML_Code = 1,
     .Variants = {u"ZE51427Z", u"DE51427-V2"}, .Modbus = TModbus_Side::Tcp, .Settings = F::Ethernet,
     .Gen_Par_Modbus_Code = 2, .Reply_Exception = true, .Scan_Decode = true,
     .Banks = {B::Standard_And_Network, B::Header_And_Network},
     .Updaters = {U::Serial, U::Tcp},
     .Post_Operation = {false, true}, .Board = u" HD51427", .Serial_Program = u"Ser_51427_Update.exe",
     .Serial_Image = u"sim51427.sim", .Job_Title = u"Veltrum - SW51427-B2 Ethernet Update"},
    {.Type = 2, .Model = 2, .Code = u"SW51318", .Desc = u"M-Bus / Modbus - Converter", .Update_Code = u"SW51318",
     .Title = u"Veltrum - Configurator SW51318 - M-Bus / Modbus ", .Version = u"3.207",
     .Variants = {u"DI51318R", u"VU51318-Z2"}, .Polling = TPolling::Passive_Code,
     .Settings = F::Serial_Ethernet_Variant, .Gen_Par_Modbus_Code = 4, .Scan_Decode = true,
     .Banks = {B::Serial, B::Network},
     .Updaters = {U::Serial, U::Tcp},
     .Post_Operation = {true, true}, .Board = u" HD51318", .Serial_Program = u"Ser_51318_Update.exe",
     .Job_Title = u"Veltrum - SW51318-B2 Ethernet Update", .Job_Image = u"sim51318K.sim", .Job_Protection = u"0x15D"},
    {.Type = 3, .Model = 3, .Code = u"SW51645", .Desc = u"M-Bus Multi-Master / Modbus - Converter",
     .Update_Code = u"SW51645", .Title = u"Veltrum - Configurator SW51645 - M-Bus Multi-Master / Modbus ",
     .Version = u"2.012", .XML_Code = 9,
     .Variants = {u"VO51645-R2 Without Ethernet Port", u"VO51645-R2 With Ethernet Port"},
     .Polling = TPolling::With_Passive, .Settings = F::Serial_Ethernet_Variant, .Gen_Par_Modbus_Code = 4,
     .Scan_Decode = true, .Banks = {B::Serial, B::Network}, .Updaters = {U::Serial, U::Tcp},
     .Post_Operation = {true, true}, .Board = u" HD51645",
     .Serial_Program = u"Ser_51645_Update.exe", .Serial_Image = u"sim51645.sim",
     .Job_Title = u"Veltrum - SW51645-B2 Ethernet Update", .Job_Image = u"sim51645K.sim", .Job_Protection = u"0x17C"},
    {.Type = 4, .Model = 4, .Code = u"SW51536", .Desc = u"Modbus  Slave /  M-Bus Master - Converter",
     .Update_Code = u"SW51536", .Title = u"Veltrum - Configurator SW51536 - Modbus  Slave /  M-Bus Master ",
     .Version = u"3.000", .XML_Code = 5, .Serial_Ports = TSerial_Ports::Modbus_And_MBus,
     .Settings = F::Serial_Two_Ports, .Banks = {B::Serial, B::Serial}, .Updaters = {U::Serial, U::Serial},
     .Serial_Program = u"Ser_51536_Update.exe", .Serial_Image = u"sim51536.sim"},
    {.Type = 5, .Model = 5, .Code = u"SW51754", .Desc = u"M-Bus / Modbus - Converter", .Update_Code = u"SW51754",
     .Title = u"Veltrum - Configurator SW51754 - M-Bus / Modbus ", .Version = u"3.000",
     .Serial_Ports = TSerial_Ports::Fixed, .Settings = F::Serial, .Banks = {B::Serial, B::Serial},
     .Updaters = {U::Serial, U::Serial}, .Serial_Program = u"Ser_51754_Update.exe", .Serial_Image = u"sim51754.sim"},
    {.Type = 6, .Model = 6, .Code = u"SW51863", .Desc = u"wM-Bus / M-Bus / Modbus Slave - Converter",
     .Update_Code = u"SW51863", .Title = u"Veltrum - Configurator SW51863 - wM-Bus / M-Bus / Modbus Slave ",
     .Version = u"1.508", .XML_Code = 13, .Wireless = true, .Polling = TPolling::Cyclic_Only,
     .Settings = F::Wireless_Serial, .Gen_Par_Modbus_Code = 4, .Scan_Decode = true, .Banks = {B::Network, B::Network},
     .Updaters = {U::Tcp, U::Tcp},
     .Post_Operation = {true, true}, .Board = u" HD51863", .TCP_Program = u"TCP_51863_Update.exe",
     .TCP_Image = u"sim51863.sim"},
    {.Type = 7, .Model = 7, .Code = u"SW51872", .Desc = u"wM-Bus / M-Bus / Modbus TCP Slave - Converter",
     .Update_Code = u"SW51872", .Title = u"Veltrum - Configurator SW51872 - wM-Bus / M-Bus / Modbus TCP Slave ",
     .Version = u"1.507", .XML_Code = 14, .Wireless = true, .Modbus = TModbus_Side::Tcp,
     .Polling = TPolling::Cyclic_Only, .Settings = F::Wireless_TCP, .Gen_Par_Modbus_Code = 2,
     .Scan_Decode = true, .Banks = {B::Network, B::Network}, .Updaters = {U::Tcp, U::Tcp},
     .Post_Operation = {true, true}, .Board = u" HD51872",
     .TCP_Program = u"TCP_51872_Update.exe", .TCP_Image = u"sim51872.sim"},
    {.Type = 1001, .Model = 1, .Code = u"SW51427", .Desc = u"M-Bus / Modbus TCP - Converter",
     .Title = u"Dastrell - Configurator SW51427 - M-Bus / Modbus TCP ", .Version = u"2.302",
     .Variants = {u"ZE51427Z", u"DE51427-V2"}, .Modbus = TModbus_Side::Tcp, .Settings = F::Ethernet,
     .Banks = {B::Standard_And_Network, B::Header_And_Network}, .Updaters = {U::Serial, U::Tcp},
     .Post_Operation = {false, true},
     .Board = u" HD51427", .Serial_Program = u"Ser_51427_Update.exe", .Serial_Image = u"sim51427.sim",
     .Job_Title = u"Veltrum - Ethernet Update"},
    {.Type = 1007, .Model = 7, .Code = u"SW51872", .Desc = u"wM-Bus / M-Bus / Modbus TCP Slave - Converter",
     .Title = u"Dastrell - Configurator SW51872 - wM-Bus / M-Bus / Modbus TCP Slave ", .Version = u"1.507",
     .Wireless = true, .Modbus = TModbus_Side::Tcp, .Polling = TPolling::Cyclic_Only, .Settings = F::Wireless_TCP,
     .Gen_Par_Modbus_Code = 2, .Scan_Decode = true, .Banks = {B::Network, B::Network}, .Updaters = {U::Tcp, U::Tcp},
     .Post_Operation = {true, true},
     .Board = u" HD51872", .TCP_Program = u"TCP_51872_Update.exe", .TCP_Image = u"sim51872.sim"},
};

// One row for each known type and for nothing else.
constexpr bool Rows_Are_The_Known_Types() {
  for (const TDevice_Model& m : Models)
    if (!Is_Known_Device_Type(m.Type)) return false;
  return std::size(Models) == std::size(Known_Device_Types);
}
static_assert(Rows_Are_The_Known_Types());

constexpr TDevice_Model No_Model{};

QString Text(const char16_t* s) { return QString::fromUtf16(s); }

}  // namespace

const TDevice_Model& Device_Model(int32_t deviceType) {
  for (const TDevice_Model& m : Models) {
    if (m.Type == deviceType) return m;
  }
  return No_Model;
}

std::vector<core::bank::Bank_Format> Bank_Formats(int32_t deviceType, int32_t selDev) {
  using F = core::bank::Bank_Format;
  const TDevice_Model& m = Device_Model(deviceType);
  switch (m.Banks[m.Has_Variant() && selDev == 1 ? 1 : 0]) {
    case TBank_Set::None: return {};
    case TBank_Set::Standard_And_Network: return {F::Standard, F::Network};
    case TBank_Set::Header_And_Network: return {F::With_Header, F::Network};
    case TBank_Set::Serial: return {F::Serial};
    case TBank_Set::Network: return {F::Network};
  }
  return {};
}

TUpdater Updater_Of(int32_t deviceType, int32_t selDev) {
  const TDevice_Model& m = Device_Model(deviceType);
  return m.Updaters[m.Has_Variant() && selDev == 1 ? 1 : 0];
}

QString SW_Code_Type(int32_t deviceType) { return Text(Device_Model(deviceType).Code); }

QString SW_Desc_Type(int32_t deviceType) { return Text(Device_Model(deviceType).Desc); }

QString SW_Update_Code_Type(int32_t deviceType) { return Text(Device_Model(deviceType).Update_Code); }

int32_t Get_XML_Code_Dev(int32_t deviceType) { return Device_Model(deviceType).XML_Code; }

bool Get_Form_Type(int32_t deviceType) { return Device_Model(deviceType).Wireless; }

int32_t Get_BACnet_EngUnits(uint16_t /*type_data*/, int32_t /*Type_Data_Vife*/) { return 95; }

bool Is_Plain_File_Name(const QString& Name) {
  if (Name.isEmpty() || Name == u"." || Name == u"..") return false;
  for (QChar c : Name) {
    if (c.unicode() < 0x20 || c.unicode() == 0x7F || c == u'/' || c == u'\\' || c == u':') return false;
  }
  return true;
}

QString Dir_Exe;
QString Dir_Master;
QString Dir_Projects;
QString Dir_Language;
QString Name_Project;
QString Dir_Project;
QString File_ParGen;
QString File_MBus;
QString Title_Main;
QString SW_Code;
QString SW_Desc;
QString Last_IP_Address = QStringLiteral("192.168.2.205");
QString Lang_Selected = QStringLiteral("English");
bool Enable_Internet = false;
bool Enable_Update = false;

QList<TSlave_MBus*> List_Dev_MBus;
QList<TSlave_wMBus*> List_Dev_Wireless;
std::mutex List_Dev_Lock;
