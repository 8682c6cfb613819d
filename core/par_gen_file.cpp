#include "core/par_gen_file.h"

#include "platform/io/files.h"
#include "platform/rtl/strutils.h"
#include "platform/xml/xmldocument.h"

namespace pargen {
namespace {

using F = TSettings_Form;

F Form_Of(int deviceType) { return Device_Model(deviceType).Settings; }

// Types 2 and 3 store Passive Mode as "2" and take any code other than "0" and "1" for it.
bool Knows_Passive_Code(int deviceType) {
  const TPolling p = Device_Model(deviceType).Polling;
  return p == TPolling::Passive_Code || p == TPolling::With_Passive;
}

// The names of the variants; the types without variants show type 1's.
QStringList Variant_Names(int deviceType) {
  const TDevice_Model& m = Device_Model(deviceType).Has_Variant() ? Device_Model(deviceType) : Device_Model(1);
  return {QString::fromUtf16(m.Variants[0]), QString::fromUtf16(m.Variants[1])};
}

QStringList Rate_Items(const uint32_t (&rates)[8]) {
  QStringList l;
  for (uint32_t r : rates) l << QString::number(r);
  return l;
}

QStringList Items(std::initializer_list<const char*> texts) {
  QStringList l;
  for (const char* t : texts) l << QString::fromLatin1(t);
  return l;
}

using E = TParGen_Element;

// The names, in the order of the enumeration.
constexpr const char* Names[Element_Count] = {
    "Sel_Dev", "Sel_Dev_MBus_Present", "IP_1", "IP_2", "IP_3", "IP_4", "SM_1", "SM_2", "SM_3", "SM_4", "GA_1", "GA_2",
    "GA_3", "GA_4", "Gat_Enable", "TCP_Port", "TCP_Conn_TimeOut", "Meter_Baud", "Meter_Par", "Meter_Req_Type",
    "Meter_Req_Delay", "Node_State", "Enable_Use_Fix_C_Field", "Use_Fix_C_Field_Value",
    "Reply_Exception_Until_First_Read", "MBUS_Ser", "Mod_Ser", "Mod_Baud", "Mod_Par", "Mod_StopBit", "Mod_Id",
    "Mod_Protocol", "wMBus_Mode", "wMBus_Radio_Channel"};

std::optional<E> Element_Of(const QString& name) {
  for (std::size_t i = 0; i < Element_Count; ++i)
    if (name == QLatin1StringView(Names[i])) return E(i);
  return std::nullopt;
}

// Where each element's value lives in TParGen_Data, by kind.
enum class TKind { None, Edit, List, Check, Polls };

struct TSlot {
  TKind kind = TKind::None;
  QString* edit = nullptr;
  int* list = nullptr;
  bool* check = nullptr;
  TParGen_List which = TParGen_List::Select_Device;
};

TSlot Address_Slot(std::array<QString, 4>& bytes, E first, E e) {
  TSlot s;
  s.kind = TKind::Edit;
  s.edit = &bytes[std::size_t(e) - std::size_t(first)];
  return s;
}

TSlot Find_Slot(TParGen_Data& d, E e) {
  TSlot s;
  auto edit = [&](QString& v) { s.kind = TKind::Edit; s.edit = &v; };
  auto list = [&](int& v, TParGen_List w) { s.kind = TKind::List; s.list = &v; s.which = w; };
  auto check = [&](bool& v) { s.kind = TKind::Check; s.check = &v; };
  switch (e) {
    case E::IP_1: case E::IP_2: case E::IP_3: case E::IP_4: return Address_Slot(d.IP, E::IP_1, e);
    case E::SM_1: case E::SM_2: case E::SM_3: case E::SM_4: return Address_Slot(d.SM, E::SM_1, e);
    case E::GA_1: case E::GA_2: case E::GA_3: case E::GA_4: return Address_Slot(d.GA, E::GA_1, e);
    case E::Sel_Dev: list(d.Sel_Dev, TParGen_List::Select_Device); break;
    case E::Sel_Dev_MBus_Present: list(d.Sel_Dev_MBus_Present, TParGen_List::Wire_Present_MBus); break;
    case E::Gat_Enable: check(d.Gat_Enable); break;
    case E::TCP_Port: edit(d.TCP_Port); break;
    case E::TCP_Conn_TimeOut: edit(d.TCP_Conn_TimeOut); break;
    case E::Meter_Baud: list(d.Meter_Baud, TParGen_List::MBus_Baud); break;
    case E::Meter_Par: list(d.Meter_Par, TParGen_List::MBus_Parity); break;
    case E::Meter_Req_Type: s.kind = TKind::Polls; s.list = &d.Meter_Polls; s.which = TParGen_List::MBus_Polls; break;
    case E::Meter_Req_Delay: edit(d.Meter_Req_Delay); break;
    case E::Node_State: edit(d.Node_State); break;
    case E::Enable_Use_Fix_C_Field: check(d.Enable_Use_Fix_C_Field); break;
    case E::Use_Fix_C_Field_Value: list(d.Use_Fix_C_Field_Value, TParGen_List::MBus_Fix_CField_Val); break;
    case E::Reply_Exception_Until_First_Read: check(d.Reply_Exception_Until_First_Read); break;
    case E::MBUS_Ser: list(d.MBUS_Ser, TParGen_List::MBus_Serial); break;
    case E::Mod_Ser: list(d.Mod_Ser, TParGen_List::Serial_Modbus_Slave); break;
    case E::Mod_Baud: list(d.Mod_Baud, TParGen_List::Baud_Modbus_Slave); break;
    case E::Mod_Par: list(d.Mod_Par, TParGen_List::Par_Modbus_Slave); break;
    case E::Mod_StopBit: list(d.Mod_StopBit, TParGen_List::ModSlave_StopBits); break;
    case E::Mod_Id: edit(d.Mod_Id); break;
    case E::Mod_Protocol: list(d.Mod_Protocol, TParGen_List::Protocol_Modbus_Slave); break;
    case E::wMBus_Mode: list(d.wMBus_Mode, TParGen_List::wMBus_Mode); break;
    case E::wMBus_Radio_Channel: list(d.wMBus_Radio_Channel, TParGen_List::wMBus_Radio_Channel); break;
  }
  return s;
}

// The polling entry a stored Meter_Req_Type stands for.
int Polls_From_Text(int deviceType, const QString& text) {
  if (text == u"1") return Polls_On_Request;
  if (text == u"0" || !Knows_Passive_Code(deviceType)) return Polls_Cyclic;
  return Polls_Passive;
}

QString Polls_To_Text(int deviceType, int polls) {
  if (Polls_Fixed_Cyclic(deviceType)) return QStringLiteral("0");
  if (polls == Polls_On_Request) return QStringLiteral("1");
  if (polls == Polls_Passive && Knows_Passive_Code(deviceType)) return QStringLiteral("2");
  return QStringLiteral("0");
}

// Sets one element's value from its text; a text that does not give a value gives the default.
void Read_Value(int deviceType, TParGen_Data& d, TParGen_Data& defaults, E e, const std::optional<QString>& text) {
  TSlot s = Find_Slot(d, e);
  TSlot def = Find_Slot(defaults, e);
  switch (s.kind) {
    case TKind::Edit:
      *s.edit = text ? *text : *def.edit;
      break;
    case TKind::Check:
      *s.check = text ? *text == u"1" : *def.check;
      break;
    case TKind::List: {
      int v = 0;
      // An index outside the list is taken like a missing value, so a save never writes "-1".
      const bool ok = text && plat::TryStrToInt(*text, v) && v >= 0 && v < List_Count(s.which, deviceType);
      *s.list = ok ? v : *def.list;
      break;
    }
    case TKind::Polls: {
      if (Polls_Fixed_Cyclic(deviceType)) break;  // never read; set below
      const int v = text ? Polls_From_Text(deviceType, *text) : -1;
      *s.list = v >= 0 && v < List_Count(TParGen_List::MBus_Polls, deviceType) ? v : *def.list;
      break;
    }
    case TKind::None:
      break;
  }
}

// The text of a value as the file stores it.
QString Value_Text(int deviceType, TParGen_Data& d, E e) {
  const TSlot s = Find_Slot(d, e);
  switch (s.kind) {
    case TKind::Edit: return *s.edit;
    case TKind::Check: return *s.check ? QStringLiteral("1") : QStringLiteral("0");
    case TKind::List: return QString::number(*s.list);
    case TKind::Polls: return Polls_To_Text(deviceType, *s.list);
    case TKind::None: break;
  }
  return QString();
}

QString Element_Text(int deviceType, TParGen_Data& d, E e) {
  // The wired line of types 2 and 3 is always there, and type 5's Modbus port is always RS232.
  if (e == E::Sel_Dev_MBus_Present && Form_Of(deviceType) == F::Serial_Ethernet_Variant) return QStringLiteral("1");
  if (e == E::Mod_Ser && Device_Model(deviceType).Serial_Ports == TSerial_Ports::Fixed) return QStringLiteral("1");
  return Value_Text(deviceType, d, e);
}

void Build_Document(plat::TXMLDocument& doc, int deviceType, const TParGen_Data& data) {
  doc.Clear();
  doc.Options() = plat::TXMLSaveOptions();
  plat::TXMLNode root = doc.AddChild(QStringLiteral("GeneralParameter"));
  doc.AddComment(QStringLiteral("SW_VERSION = ") + ParGen_Version(deviceType));
  TParGen_Data d = data;
  for (E e : Elements_Of(deviceType)) root.AddChild(Element_Name(e)).SetText(Element_Text(deviceType, d, e));
}

// ---- checks ---------------------------------------------------------------------------------------------------

// The edit's integer, or -1 when the text does not convert (which fails every range).
int Value_Of(const QString& text) {
  int v = 0;
  return plat::TryStrToInt(text, v) ? v : -1;
}

bool In_Range(const QString& text, int lo, int hi) {
  const int v = Value_Of(text);
  return v >= lo && v <= hi;
}

// The four bytes of an address, 0 to 255 each; firstText is the text of the first byte's failure.
std::optional<int> Check_Bytes(const std::array<QString, 4>& bytes, int firstText) {
  for (int i = 0; i < 4; ++i)
    if (!In_Range(bytes[std::size_t(i)], 0, 255)) return firstText + i;
  return std::nullopt;
}

// IP, mask and gateway bytes. The gateway is checked even while it is not enabled, because the compiler
// needs every gateway byte as a number.
std::optional<int> Check_Address(const TParGen_Data& d, int ipText, int smText, int gaText) {
  if (auto r = Check_Bytes(d.IP, ipText)) return r;
  if (auto r = Check_Bytes(d.SM, smText)) return r;
  return Check_Bytes(d.GA, gaText);
}

std::optional<int> Check_Port(const TParGen_Data& d) {
  const int port = Value_Of(d.TCP_Port);
  if (port < 1 || port > 65535 || port == 10000) return 122;
  return std::nullopt;
}

std::optional<int> Check_Delay_NodeState(const TParGen_Data& d) {
  if (!In_Range(d.Meter_Req_Delay, 0, 65535)) return 124;
  if (!In_Range(d.Node_State, 0, 255)) return 125;
  return std::nullopt;
}

std::optional<int> Check_StopBits(const TParGen_Data& d) {
  if (d.Mod_StopBit == 1 && d.Mod_Par != 0) return 351;
  return std::nullopt;
}

}  // namespace

QStringList List_Items(TParGen_List list, int deviceType) {
  switch (list) {
    case TParGen_List::Select_Device:
      return Variant_Names(deviceType);
    case TParGen_List::Wire_Present_MBus: return Items({"Not Present", "Present"});
    case TParGen_List::MBus_Baud: return Rate_Items(Meter_Baud_Rates);
    case TParGen_List::MBus_Parity:
    case TParGen_List::Par_Modbus_Slave: return Items({"NONE", "EVEN", "ODD"});
    case TParGen_List::MBus_Polls: return QStringList();
    case TParGen_List::MBus_Fix_CField_Val: return Items({"0x5B", "0x7B"});
    case TParGen_List::MBus_Serial:
    case TParGen_List::Serial_Modbus_Slave: return Items({"RS485", "RS232"});
    case TParGen_List::Baud_Modbus_Slave:
      return Rate_Items(Modbus_Baud_Rates);
    case TParGen_List::ModSlave_StopBits: return Items({"1 Stop Bit", "2 Stop Bits"});
    case TParGen_List::Protocol_Modbus_Slave: return Items({"Modbus RTU", "Modbus ASCII", "JBUS", "Binary", "ASCII"});
    case TParGen_List::wMBus_Mode: return Items({"S", "T", "N1", "N2", "C"});
    case TParGen_List::wMBus_Radio_Channel:
      return Items({"1a @ 4800 bps", "1b @ 4800 bps", "2a @ 2400 bps", "2b @ 2400 bps", "3a @ 4800 bps",
                    "3b @ 4800 bps", "0 @ 19200 bps", "2a @ 4800 bps", "2b @ 4800 bps"});
  }
  return QStringList();
}

int List_Count(TParGen_List list, int deviceType) {
  if (list == TParGen_List::MBus_Polls) return Device_Model(deviceType).Polling == TPolling::With_Passive ? 3 : 2;
  return int(List_Items(list, deviceType).size());
}

bool Polls_Fixed_Cyclic(int deviceType) { return Device_Model(deviceType).Polling == TPolling::Cyclic_Only; }

TParGen_Data ParGen_Defaults(int deviceType) {
  TParGen_Data d;
  d.Sel_Dev = 0;
  d.Sel_Dev_MBus_Present = 0;
  d.IP = {"192", "168", "0", "10"};
  d.SM = {"255", "255", "255", "0"};
  d.GA = {"192", "168", "0", "1"};
  d.Gat_Enable = false;
  d.TCP_Port = QStringLiteral("502");
  d.TCP_Conn_TimeOut = QStringLiteral("2");
  d.Meter_Baud = 3;
  d.Meter_Par = 1;
  d.Meter_Polls = Polls_Fixed_Cyclic(deviceType) ? Polls_Cyclic : Polls_On_Request;
  d.Meter_Req_Delay = QStringLiteral("100");
  d.Node_State = QStringLiteral("0xFF");
  d.Enable_Use_Fix_C_Field = false;
  d.Use_Fix_C_Field_Value = 0;
  d.Reply_Exception_Until_First_Read = false;
  d.MBUS_Ser = 1;
  d.Mod_Ser = 1;
  d.Mod_Baud = 7;
  d.Mod_Par = 0;
  d.Mod_StopBit = 0;
  d.Mod_Id = QStringLiteral("1");
  d.Mod_Protocol = 0;
  d.wMBus_Mode = 0;
  d.wMBus_Radio_Channel = 0;
  return d;
}

QString ParGen_Version(int deviceType) { return QString::fromUtf16(Device_Model(deviceType).Version); }

std::vector<TParGen_Element> Elements_Of(int deviceType) {
  const std::vector<E> ip = {E::IP_1, E::IP_2, E::IP_3, E::IP_4, E::SM_1, E::SM_2, E::SM_3, E::SM_4,
                             E::GA_1, E::GA_2, E::GA_3, E::GA_4, E::Gat_Enable};
  const std::vector<E> modbus = {E::Mod_Ser, E::Mod_Baud, E::Mod_Par, E::Mod_Id, E::Mod_StopBit};
  const std::vector<E> meter = {E::Meter_Baud, E::Meter_Par, E::Meter_Req_Type, E::Meter_Req_Delay, E::Node_State};
  const std::vector<E> wireless = {E::wMBus_Mode, E::wMBus_Radio_Channel};
  const std::vector<E> tcp = {E::TCP_Port, E::TCP_Conn_TimeOut};
  auto join = [](std::initializer_list<std::vector<E>> parts) {
    std::vector<E> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
  };
  switch (Form_Of(deviceType)) {
    case F::Ethernet:
      return join({{E::Sel_Dev}, ip, tcp, meter,
                   {E::Enable_Use_Fix_C_Field, E::Use_Fix_C_Field_Value, E::Reply_Exception_Until_First_Read}});
    case F::Serial_Ethernet_Variant:
      return join({{E::Sel_Dev, E::Sel_Dev_MBus_Present}, modbus, {E::Mod_Protocol}, meter, ip});
    case F::Serial_Two_Ports: return join({modbus, {E::Mod_Protocol}, meter, {E::MBUS_Ser}});
    case F::Serial: return join({modbus, {E::Mod_Protocol}, meter});
    case F::Wireless_Serial: return join({{E::Sel_Dev_MBus_Present}, modbus, wireless, meter, ip});
    case F::Wireless_TCP: return join({{E::Sel_Dev_MBus_Present}, ip, tcp, wireless, meter});
    case F::None: break;
  }
  return {};
}

QStringList ParGen_Elements(int deviceType) {
  QStringList names;
  for (E e : Elements_Of(deviceType)) names << Element_Name(e);
  return names;
}

QString Element_Name(TParGen_Element Element) { return QString::fromLatin1(Names[std::size_t(Element)]); }

std::optional<int32_t> TParGen_File::Number(TParGen_Element Element) const {
  const std::optional<QString>& text = Text(Element);
  int v = 0;
  if (!text || !plat::TryStrToInt(*text, v)) return std::nullopt;
  return v;
}

TParGen_File Load_ParGen_File(const QString& FileName) {
  TParGen_File f;
  if (plat::FileAbsent(FileName)) return f;
  plat::TXMLDocument doc;
  if (!doc.LoadFromFile(FileName, &f.Error)) {
    f.Status = TParGen_Read::Malformed;
    return f;
  }
  f.Status = TParGen_Read::Read;
  for (plat::TXMLNode e = doc.DocumentElement().FirstChildElement(); e; e = e.NextSiblingElement()) {
    const std::optional<E> which = Element_Of(e.NodeName());
    if (which && !f.Texts[std::size_t(*which)]) f.Texts[std::size_t(*which)] = e.Text();
  }
  return f;
}

int32_t Default_Number(TParGen_Element Element) {
  TParGen_Data defaults = ParGen_Defaults();
  int v = 0;
  return plat::TryStrToInt(Value_Text(Device_Type, defaults, Element), v) ? v : 0;
}

TParGen_Read Read_ParGen(const QString& FileName, int deviceType, TParGen_Data& Data, QString* Error) {
  TParGen_Data defaults = ParGen_Defaults(deviceType);
  const TParGen_File file = Load_ParGen_File(FileName);
  if (file.Status == TParGen_Read::Malformed && Error) *Error = file.Error;
  for (E e : Elements_Of(deviceType)) Read_Value(deviceType, Data, defaults, e, file.Text(e));
  if (Polls_Fixed_Cyclic(deviceType)) Data.Meter_Polls = Polls_Cyclic;
  return file.Status;
}

QByteArray ParGen_Bytes(int deviceType, const TParGen_Data& Data) {
  plat::TXMLDocument doc;
  Build_Document(doc, deviceType, Data);
  return doc.SaveToBytes();
}

bool Save_ParGen(const QString& FileName, int deviceType, const TParGen_Data& Data, QString* Error) {
  if (plat::FileExists(FileName)) {
    plat::TXMLDocument old;
    QByteArray bytes;
    if (!old.LoadFromFile(FileName) && plat::ReadFileBytes(FileName, bytes) &&
        !plat::WriteFileAtomic(FileName + QStringLiteral(".bad"), bytes, Error))
      return false;
  }
  plat::TXMLDocument doc;
  Build_Document(doc, deviceType, Data);
  return doc.SaveToFile(FileName, Error);
}

std::optional<int> Check_ParGen(int deviceType, const TParGen_Data& d) {
  switch (Form_Of(deviceType)) {
    case F::Ethernet:
      if (auto r = Check_Address(d, 110, 114, 118)) return r;
      if (auto r = Check_Port(d)) return r;
      if (d.Sel_Dev == 1 && !In_Range(d.TCP_Conn_TimeOut, 2, 1440)) return 123;
      return Check_Delay_NodeState(d);
    case F::Serial_Ethernet_Variant:
    case F::Serial_Two_Ports:
    case F::Serial:
      if (!In_Range(d.Meter_Req_Delay, 0, 65535)) return 124;
      // The compiler stores the slave address as given, so a wrong one must not reach the file.
      if (!In_Range(d.Mod_Id, 1, 247)) return 285;
      if (auto r = Check_StopBits(d)) return r;
      if (Device_Model(deviceType).Has_Variant() && d.Sel_Dev == 1) return Check_Address(d, 355, 359, 363);
      return std::nullopt;
    case F::Wireless_Serial:
      if (!In_Range(d.Mod_Id, 1, 247)) return 285;
      if (auto r = Check_StopBits(d)) return r;
      if (d.Sel_Dev_MBus_Present == 1)
        if (auto r = Check_Delay_NodeState(d)) return r;
      return Check_Address(d, 286, 290, 294);
    case F::Wireless_TCP:
      if (auto r = Check_Address(d, 110, 114, 118)) return r;
      if (auto r = Check_Port(d)) return r;
      // The time-out is tied to the variant list, which these types do not show (it stays on entry 0).
      if (d.Sel_Dev == 1 && !In_Range(d.TCP_Conn_TimeOut, 2, 1440)) return 123;
      if (d.Sel_Dev_MBus_Present == 1)
        if (auto r = Check_Delay_NodeState(d)) return r;
      return std::nullopt;
    case F::None:
      break;
  }
  return std::nullopt;
}

}  // namespace pargen
