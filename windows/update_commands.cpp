#include "windows/update_commands.h"

#include <QDir>
#include <QFileInfo>


#include "core/device_model.h"
#include "platform/rtl/strutils.h"
#include "platform/xml/xmldocument.h"

namespace {

const QString kQuote = QStringLiteral("\"");

QString Text_Of(const char16_t* s) { return QString::fromUtf16(s); }

struct Job_Operation {
  QString FileName;
  QString Protection;  // compatibility codes the image is for; empty for types 2 and 3
  QString Start_Address;
  bool Firmware;
  QString GoToApp_After;
};

void Add_Text(plat::TXMLNode Parent, const char* Name, const QString& Text) {
  plat::TXMLNode n = Parent.AddChild(QString::fromLatin1(Name));
  if (!Text.isEmpty()) n.SetText(Text);
}

void Add_Operation(plat::TXMLNode Operations, const Job_Operation& op, bool withInternalData, bool readBack) {
  plat::TXMLNode o = Operations.AddChild(QStringLiteral("Operation"));
  Add_Text(o, "Ope_Protection_Enabled", op.Protection);
  Add_Text(o, "Ope_GoToBoot_Before", QStringLiteral("0"));
  Add_Text(o, "Ope_GoToApp_Before", QStringLiteral("0"));
  Add_Text(o, "Ope_IP_Address", QString());
  Add_Text(o, "Ope_Port", QStringLiteral("2008"));
  Add_Text(o, "Ope_Port_Sec", QStringLiteral("2007"));
  Add_Text(o, "Ope_Erase_Memory", QStringLiteral("0"));
  Add_Text(o, "Ope_FileName", op.FileName);
  Add_Text(o, "Ope_Start_Address", op.Start_Address);
  Add_Text(o, "Ope_Memory_Type", QStringLiteral("0"));
  Add_Text(o, "Ope_Bank_Type", op.Firmware ? QStringLiteral("1") : QStringLiteral("2"));
  Add_Text(o, "Ope_Read_Back", readBack ? QStringLiteral("1") : QStringLiteral("0"));
  Add_Text(o, "Ope_Write_CSS", op.Firmware ? QStringLiteral("1") : QStringLiteral("0"));
  Add_Text(o, "Ope_Address_CSS", op.Firmware ? QStringLiteral("0x78100") : QStringLiteral("0x50100"));
  Add_Text(o, "Ope_Command_CSS", QStringLiteral("0x0B"));
  if (withInternalData) {
    Add_Text(o, "Ope_Write_Internal_Data", QStringLiteral("0"));
    Add_Text(o, "Ope_WID_Address", QStringLiteral("0x78300"));
    Add_Text(o, "Ope_WID_Command", QStringLiteral("0x0B"));
    Add_Text(o, "Ope_WID_Data", QString());
  }
  Add_Text(o, "Ope_GoToApp_After", op.GoToApp_After);
}

bool Ip_Part(const QString& Text, int& Value) {
  int v = 0;
  if (!plat::TryStrToInt(plat::Trim(Text), v)) v = 1000;
  Value = v;
  return v >= 0 && v <= 255;
}

}  // namespace

QString Option_Words(const TUpdate_Options& Options) {
  QString s;
  for (const QString& w : Option_Word_List(Options)) s += w + QLatin1Char(' ');
  return s;
}

QStringList Option_Word_List(const TUpdate_Options& Options) {
  const QString no = QStringLiteral("NO");
  return {Options.Firmware ? QStringLiteral("FW") : no, Options.Read_Firm ? QStringLiteral("FR") : no,
          Options.Conf ? QStringLiteral("PW") : no, Options.Read_Conf ? QStringLiteral("PR") : no};
}

QString Serial_Program(int32_t DeviceType) { return Text_Of(Device_Model(DeviceType).Serial_Program); }

QString TCP_Program(int32_t DeviceType) { return Text_Of(Device_Model(DeviceType).TCP_Program); }

TUpdater_Call Serial_Update_Call(int32_t DeviceType, const QString& Port, const TUpdate_Options& Options,
                                 const QString& DirMaster, const QString& DirProject) {
  TUpdater_Call c;
  c.Program = Serial_Program(DeviceType);
  if (c.Program.isEmpty()) return c;
  const QString firmware = Text_Of(Device_Model(DeviceType).Serial_Image);
  // Type 2's updater takes the MASTER folder itself: the text ends in the separator, with no file name.
  c.Command_Line = QStringLiteral("\\\\.\\") + Port + QLatin1Char(' ') + Option_Words(Options) + kQuote +
                   DirMaster + QLatin1Char('\\') + firmware + kQuote + QLatin1Char(' ') + kQuote + DirProject +
                   QStringLiteral("\\bin\\") + kQuote;
  c.Arguments << QStringLiteral("/dev/") + Port;
  c.Arguments << Option_Word_List(Options);
  c.Arguments << DirMaster + QLatin1Char('/') + firmware;
  c.Arguments << DirProject + QStringLiteral("/bin/");
  return c;
}

TUpdater_Call TCP_Update_Call(int32_t DeviceType, const QString& IP, const TUpdate_Options& Options,
                              const QString& DirMaster, const QString& DirProject) {
  TUpdater_Call c;
  c.Program = TCP_Program(DeviceType);
  if (c.Program.isEmpty()) return c;
  const QString firmware = Text_Of(Device_Model(DeviceType).TCP_Image);
  c.Command_Line = IP + QStringLiteral(" 2007 ") + Option_Words(Options) + kQuote + DirMaster + QLatin1Char('\\') +
                   firmware + kQuote + QLatin1Char(' ') + kQuote + DirProject + QStringLiteral("\\bin") + kQuote;
  c.Arguments << IP << QStringLiteral("2007");
  c.Arguments << Option_Word_List(Options);
  c.Arguments << DirMaster + QLatin1Char('/') + firmware;
  c.Arguments << DirProject + QStringLiteral("/bin");
  return c;
}

bool Compile_XML_Parameter(plat::TXMLDocument& Doc, int32_t DeviceType, const QString& IP,
                           const TUpdate_Options& Options, const QString& DirMaster, const QString& DirProject) {
  Doc.Clear();
  const TDevice_Model& model = Device_Model(DeviceType);
  if (!model.Has_Variant()) return false;
  const bool type1 = model.Model == 1;

  plat::TXMLNode root = Doc.AddChild(QStringLiteral("Ethernet_Update"));
  Add_Text(root, "Version", QStringLiteral("1000"));
  Add_Text(root, "Title", Text_Of(model.Job_Title));
  Add_Text(root, "IP_Address_Dev", IP);
  Add_Text(root, "Application_Port", QStringLiteral("10000"));
  Add_Text(root, "Boot_Port", QStringLiteral("2008"));
  Add_Text(root, "Boot_Port_Sec", QStringLiteral("2007"));
  Add_Text(root, "Address_Protection", QStringLiteral("0x78000"));
  plat::TXMLNode protections = root.AddChild(QStringLiteral("Protections"));
  QStringList codes;
  if (type1) codes = {QStringLiteral("0x6A"), QStringLiteral("0xD4"), QStringLiteral("0x190")};
  else codes = {Text_Of(model.Job_Protection)};
  for (const QString& code : codes) Add_Text(protections, "Protection", code);

  plat::TXMLNode operations = root.AddChild(QStringLiteral("Operations"));
  // A firmware write returns to the application only when no configuration write follows it.
  const QString fwAfter = Options.Conf ? QStringLiteral("0") : QStringLiteral("1");
  const QString master = DirMaster + QLatin1Char('/');
  const QString bin = DirProject + QStringLiteral("/bin/");
  QList<Job_Operation> firmware, configuration;
  if (type1) {
    firmware = {{master + QStringLiteral("Sim51427-B2.sim"), QStringLiteral("0x6A, 0xD4"), QStringLiteral("0x8000"),
                 true, fwAfter},
                {master + QStringLiteral("Sim51427-B2_B209.sim"), QStringLiteral("0x190"), QStringLiteral("0x8000"),
                 true, fwAfter}};
    configuration = {{bin + QStringLiteral("bank.bin"), QStringLiteral("0x6A, 0xD4"), QStringLiteral("0x50000"),
                      false, QStringLiteral("1")},
                     {bin + QStringLiteral("bank1.bin"), QStringLiteral("0x190"), QStringLiteral("0x68000"), false,
                      QStringLiteral("0")},
                     {bin + QStringLiteral("bank2.bin"), QStringLiteral("0x190"), QStringLiteral("0x50800"), false,
                      QStringLiteral("1")}};
  } else {
    firmware = {{master + Text_Of(model.Job_Image), QString(), QStringLiteral("0x8000"), true, fwAfter}};
    configuration = {
        {bin + QStringLiteral("bank1.bin"), QString(), QStringLiteral("0x68000"), false, QStringLiteral("0")},
        {bin + QStringLiteral("bank2.bin"), QString(), QStringLiteral("0x50800"), false, QStringLiteral("1")}};
  }
  if (Options.Firmware)
    for (const Job_Operation& op : firmware) Add_Operation(operations, op, type1, Options.Read_Firm);
  if (Options.Conf)
    for (const Job_Operation& op : configuration) Add_Operation(operations, op, type1, Options.Read_Conf);
  return true;
}

QStringList Firmware_Images(int32_t DeviceType, TFirmware_Route Route, const QString& DirMaster) {
  const TDevice_Model& model = Device_Model(DeviceType);
  const QString master = DirMaster + QLatin1Char('/');
  switch (Route) {
    case TFirmware_Route::Serial:
      return Serial_Program(DeviceType).isEmpty() ? QStringList() : QStringList{master + Text_Of(model.Serial_Image)};
    case TFirmware_Route::Tcp:
      return TCP_Program(DeviceType).isEmpty() ? QStringList() : QStringList{master + Text_Of(model.TCP_Image)};
    case TFirmware_Route::Ethernet_Job:
      if (!model.Has_Variant()) return {};
      if (model.Model == 1)
        return {master + QStringLiteral("Sim51427-B2.sim"), master + QStringLiteral("Sim51427-B2_B209.sim")};
      return {master + Text_Of(model.Job_Image)};
  }
  return {};
}

QString Missing_Firmware_Message(int32_t DeviceType, TFirmware_Route Route, const QString& DirMaster,
                                 const TUpdate_Options& Options) {
  if (!Options.Firmware) return QString();
  const QStringList images = Firmware_Images(DeviceType, Route, DirMaster);
  if (images.isEmpty()) return QString();
  for (const QString& image : images)
    if (QFileInfo::exists(image)) return QString();
  return QStringLiteral("The firmware image \"%1\" is missing, so the update was not started. Copy it into the "
                        "folder MASTER, or uncheck \"Firmware\" to write the configuration alone.")
      .arg(QDir::toNativeSeparators(images.join(QStringLiteral("\" or \""))));
}

bool Valid_IP(const QString& IP, int& ip1, int& ip2, int& ip3, int& ip4) {
  const QString s = plat::Trim(IP);
  const int d1 = s.indexOf(QLatin1Char('.'));
  const int d2 = d1 < 0 ? -1 : s.indexOf(QLatin1Char('.'), d1 + 1);
  const int d3 = d2 < 0 ? -1 : s.indexOf(QLatin1Char('.'), d2 + 1);
  if (d3 < 0) return false;
  const bool ok1 = Ip_Part(s.mid(0, d1), ip1);
  const bool ok2 = Ip_Part(s.mid(d1 + 1, d2 - d1 - 1), ip2);
  const bool ok3 = Ip_Part(s.mid(d2 + 1, d3 - d2 - 1), ip3);
  const bool ok4 = Ip_Part(s.mid(d3 + 1), ip4);
  return ok1 && ok2 && ok3 && ok4;
}

QString Canonical_IP(const QString& E1, const QString& E2, const QString& E3, const QString& E4) {
  int p[4];
  const QString* texts[4] = {&E1, &E2, &E3, &E4};
  for (int i = 0; i < 4; ++i)
    if (!Ip_Part(*texts[i], p[i])) return QString();
  return QStringLiteral("%1.%2.%3.%4").arg(p[0]).arg(p[1]).arg(p[2]).arg(p[3]);
}

TUpdater_Run_Settings Updater_Run;

QString Updater_Folder() { return Updater_Run.Folder.isEmpty() ? Dir_Exe : Updater_Run.Folder; }
