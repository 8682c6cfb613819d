#include "core/device_model.h"

namespace {

using B = TBank_Set;
using M = TModbus_Side;
using P = TSerial_Ports;

// The OEM types repeat the texts of the model they re-brand. Type 4's description has two blanks after "Modbus"
// and after the slash, as the model has always been named; keep them. Type 1001 leaves the Modbus code of
// bank1.bin at its reset value, unlike type 1.
constexpr TDevice_Model Models[] = {
    {1, 1, u"SW51427", u"M-Bus / Modbus TCP - Converter", u"SW51427",
     u"Veltrum - Configurator SW51427 - M-Bus / Modbus TCP ", u"2.302", 1, true, false, M::Tcp, P::Modbus_Choice, 2,
     true, {B::Standard_And_Network, B::Header_And_Network}},
    {2, 2, u"SW51318", u"M-Bus / Modbus - Converter", u"SW51318", u"Veltrum - Configurator SW51318 - M-Bus / Modbus ",
     u"3.207", 0, true, false, M::Serial, P::Modbus_Choice, 4, false, {B::Serial, B::Network}},
    {3, 3, u"SW51645", u"M-Bus Multi-Master / Modbus - Converter", u"SW51645",
     u"Veltrum - Configurator SW51645 - M-Bus Multi-Master / Modbus ", u"2.012", 9, true, false, M::Serial,
     P::Modbus_Choice, 4, false, {B::Serial, B::Network}},
    {4, 4, u"SW51536", u"Modbus  Slave /  M-Bus Master - Converter", u"SW51536",
     u"Veltrum - Configurator SW51536 - Modbus  Slave /  M-Bus Master ", u"3.000", 5, false, false, M::Serial,
     P::Modbus_And_MBus, 1, false, {B::Serial, B::Serial}},
    {5, 5, u"SW51754", u"M-Bus / Modbus - Converter", u"SW51754", u"Veltrum - Configurator SW51754 - M-Bus / Modbus ",
     u"3.000", 0, false, false, M::Serial, P::Fixed, 1, false, {B::Serial, B::Serial}},
    {6, 6, u"SW51863", u"wM-Bus / M-Bus / Modbus Slave - Converter", u"SW51863",
     u"Veltrum - Configurator SW51863 - wM-Bus / M-Bus / Modbus Slave ", u"1.508", 13, false, true, M::Serial,
     P::Modbus_Choice, 4, false, {B::Network, B::Network}},
    {7, 7, u"SW51872", u"wM-Bus / M-Bus / Modbus TCP Slave - Converter", u"SW51872",
     u"Veltrum - Configurator SW51872 - wM-Bus / M-Bus / Modbus TCP Slave ", u"1.507", 14, false, true, M::Tcp,
     P::Modbus_Choice, 2, false, {B::Network, B::Network}},
    {1001, 1, u"SW51427", u"M-Bus / Modbus TCP - Converter", u"",
     u"Dastrell - Configurator SW51427 - M-Bus / Modbus TCP ", u"2.302", 0, true, false, M::Tcp, P::Modbus_Choice, 1,
     false, {B::Standard_And_Network, B::Header_And_Network}},
    {1007, 7, u"SW51872", u"wM-Bus / M-Bus / Modbus TCP Slave - Converter", u"",
     u"Dastrell - Configurator SW51872 - wM-Bus / M-Bus / Modbus TCP Slave ", u"1.507", 0, false, true, M::Tcp,
     P::Modbus_Choice, 2, false, {B::Network, B::Network}},
};

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
  switch (m.Banks[m.Has_Variant && selDev == 1 ? 1 : 0]) {
    case TBank_Set::None: return {};
    case TBank_Set::Standard_And_Network: return {F::Standard, F::Network};
    case TBank_Set::Header_And_Network: return {F::With_Header, F::Network};
    case TBank_Set::Serial: return {F::Serial};
    case TBank_Set::Network: return {F::Network};
  }
  return {};
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
