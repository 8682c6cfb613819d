#include "core/device_model.h"

namespace {

struct ModelEntry {
  int32_t type;
  const char16_t* code;
  const char16_t* desc;
  const char16_t* updateCode;  // nullptr: the OEM types send no update-check code of their own
};

// The OEM types repeat the texts of the model they re-brand. Type 4's description has two blanks after "Modbus"
// and after the slash, as the model has always been named; keep them.
constexpr ModelEntry Models[] = {
    {1, u"SW51427", u"M-Bus / Modbus TCP - Converter", u"SW51427"},
    {2, u"SW51318", u"M-Bus / Modbus - Converter", u"SW51318"},
    {3, u"SW51645", u"M-Bus Multi-Master / Modbus - Converter", u"SW51645"},
    {4, u"SW51536", u"Modbus  Slave /  M-Bus Master - Converter", u"SW51536"},
    {5, u"SW51754", u"M-Bus / Modbus - Converter", u"SW51754"},
    {6, u"SW51863", u"wM-Bus / M-Bus / Modbus Slave - Converter", u"SW51863"},
    {7, u"SW51872", u"wM-Bus / M-Bus / Modbus TCP Slave - Converter", u"SW51872"},
    {1001, u"SW51427", u"M-Bus / Modbus TCP - Converter", nullptr},
    {1007, u"SW51872", u"wM-Bus / M-Bus / Modbus TCP Slave - Converter", nullptr},
};

const ModelEntry* FindModel(int32_t deviceType) {
  for (const ModelEntry& m : Models) {
    if (m.type == deviceType) return &m;
  }
  return nullptr;
}

QString Text(const char16_t* s) { return s ? QString::fromUtf16(s) : QString(); }

}  // namespace

QString SW_Code_Type(int32_t deviceType) {
  const ModelEntry* m = FindModel(deviceType);
  return m ? Text(m->code) : QString();
}

QString SW_Desc_Type(int32_t deviceType) {
  const ModelEntry* m = FindModel(deviceType);
  return m ? Text(m->desc) : QString();
}

QString SW_Update_Code_Type(int32_t deviceType) {
  const ModelEntry* m = FindModel(deviceType);
  return m ? Text(m->updateCode) : QString();
}

int32_t Get_XML_Code_Dev(int32_t deviceType) {
  switch (deviceType) {
    case 1: return 1;
    case 3: return 9;
    case 4: return 5;
    case 6: return 13;
    case 7: return 14;
    default: return 0;
  }
}

bool Get_Form_Type(int32_t deviceType) { return deviceType == 6 || deviceType == 7 || deviceType == 1007; }

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
