#include "core/network_compiler.h"

#include <array>
#include <memory>

#include "platform/io/files.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/strutils.h"
#include "platform/xml/xmldocument.h"

namespace core::bank {

const Bank_File* Bank_Set::Find(const QString& name) const {
  for (const Bank_File& f : Files)
    if (f.Name == name) return &f;
  return nullptr;
}

namespace {

// ---------------------------------------------------------------------------------------------------------
// XML access

struct Xml_File {
  bool exists = false;
  std::unique_ptr<plat::TXMLDocument> doc;
  plat::TXMLNode root;  // the document element, wherever it stands
};

Xml_File Load_Xml(const QString& path, const char* shownName) {
  Xml_File f;
  if (path.isEmpty() || !plat::FileExists(path)) return f;
  f.exists = true;
  f.doc = std::make_unique<plat::TXMLDocument>();
  QString error;
  if (!f.doc->LoadFromFile(path, &error))
    throw ECompileError(QStringLiteral("%1 cannot be read: %2").arg(QLatin1String(shownName), error));
  f.root = f.doc->DocumentElement();
  return f;
}

using Xml_Element = plat::TXMLNode;

Xml_Element First_Element(const Xml_Element& parent) { return parent.FirstChildElement(); }
Xml_Element Next_Element(const Xml_Element& e) { return e.NextSiblingElement(); }

struct Attr {
  bool present = false;
  QString value;
};

// One pass over an element's attributes into slots by name.
template <std::size_t N>
class Attr_Table {
 public:
  explicit Attr_Table(const std::array<const char*, N>& names) {
    slots_.fill(-1);
    for (std::size_t i = 0; i < N; ++i) {
      names_[i] = QString::fromLatin1(names[i]);
      std::size_t h = Hash(names_[i]);
      while (slots_[h] >= 0) h = (h + 1) & (kSlots - 1);
      slots_[h] = int16_t(i);
    }
  }
  int Find(QStringView name) const {
    std::size_t h = Hash(name);
    while (slots_[h] >= 0) {
      if (names_[std::size_t(slots_[h])] == name) return slots_[h];
      h = (h + 1) & (kSlots - 1);
    }
    return -1;
  }
  void Fill(const Xml_Element& e, std::array<Attr, N>& values) const {
    for (Attr& a : values) a.present = false;
    const QStringList names = e.AttributeNames();
    for (int i = 0; i < names.size(); ++i) {
      const int id = Find(names[i]);
      if (id >= 0 && !values[std::size_t(id)].present) values[std::size_t(id)] = Attr{true, e.AttributeValue(i)};
    }
  }

 private:
  static constexpr std::size_t kSlots = 256;
  static std::size_t Hash(QStringView s) {
    uint32_t h = 2166136261u;
    for (QChar c : s) h = (h ^ c.unicode()) * 16777619u;
    return (h ^ (h >> 8)) & (kSlots - 1);
  }
  std::array<QString, N> names_;
  std::array<int16_t, kSlots> slots_;
};

enum Node_Attr {
  NA_Node_Enable, NA_MBus_Type, NA_Node_ID_Type, NA_ID, NA_ID_Primary, NA_ID_Secondary, NA_Send_SND_NKE,
  NA_Reset_App, NA_Node_State, NA_Ident_Num, NA_wMBus_RSSI, NA_BCDtoINT_IN, NA_Swap_IN, NA_Var_List_Type,
  NA_Cut_After, NA_Manufacturer_Specific_Data, NA_MSD_Length, NA_MSD_Offset, NA_Access_Number, NA_wMBus_Add,
  NA_wMBus_ManID, NA_wMBus_Ver, NA_wMBus_DevType, NA_wMBus_En_Key, NA_Key_1,
  NA_Count = NA_Key_1 + 16
};

const Attr_Table<NA_Count>& Node_Attrs() {
  static const Attr_Table<NA_Count> t({"Node_Enable", "MBus_Type", "Node_ID_Type", "ID", "ID_Primary", "ID_Secondary",
                                       "Send_SND_NKE", "Reset_App", "Node_State", "Ident_Num", "wMBus_RSSI", "BCDtoINT_IN",
                                       "Swap_IN", "Var_List_Type", "Cut_After", "Manufacturer_Specific_Data", "MSD_Length",
                                       "MSD_Offset", "Access_Number", "wMBus_Add", "wMBus_ManID", "wMBus_Ver",
                                       "wMBus_DevType", "wMBus_En_Key", "wMBus_Key_1", "wMBus_Key_2", "wMBus_Key_3",
                                       "wMBus_Key_4", "wMBus_Key_5", "wMBus_Key_6", "wMBus_Key_7", "wMBus_Key_8",
                                       "wMBus_Key_9", "wMBus_Key_10", "wMBus_Key_11", "wMBus_Key_12", "wMBus_Key_13",
                                       "wMBus_Key_14", "wMBus_Key_15", "wMBus_Key_16"});
  return t;
}

enum Var_Attr {
  VA_Enable, VA_Type, VA_Fun_Field, VA_Dim, VA_ModReg, VA_ModScale, VA_Unit, VA_StoNumber, VA_Tariff, VA_VIFE,
  VA_BCDtoINT, VA_VIF_ASCII, VA_Length, VA_Conv_Float, VA_Force_Int32, VA_TP_Mod_Regs, VA_TP_Mod_Year, VA_Position,
  VA_Post_Operation, VA_Count
};

const Attr_Table<VA_Count>& Var_Attrs() {
  static const Attr_Table<VA_Count> t({"Enable", "Type", "Fun_Field", "Dim", "ModReg", "ModScale", "Unit", "StoNumber",
                                       "Tariff", "VIFE", "BCDtoINT", "VIF_ASCII", "Length", "Conv_Float", "Force_Int32",
                                       "TP_Mod_Regs", "TP_Mod_Year", "Position", "Post_Operation"});
  return t;
}

// ---------------------------------------------------------------------------------------------------------
// Reading one node and its variables

struct Reader {
  Bank_Format fmt;
  int nodeIndex = 0;
  int varIndex = 0;  // 0 while reading node attributes

  QString Where() const {
    return varIndex ? QStringLiteral("M_Bus.xml, node %1, variable %2").arg(nodeIndex).arg(varIndex)
                    : QStringLiteral("M_Bus.xml, node %1").arg(nodeIndex);
  }

  static bool Int32(const Attr& v, int32_t& out) {
    int x = 0;
    if (!v.present || !plat::TryStrToInt(v.value, x)) return false;
    out = x;
    return true;
  }
  static bool Int64(const Attr& v, int64_t& out) { return v.present && plat::TryStrToInt64(v.value, out); }
  static bool Flag(const Attr& v) { return v.present && v.value == u"1"; }

  int32_t Or(const Attr& v, int32_t d) const {
    int32_t x = 0;
    return Int32(v, x) ? x : d;
  }
  uint32_t Low32(const Attr& v) const {
    int64_t x = 0;
    return Int64(v, x) ? uint32_t(uint64_t(x)) : 0;
  }
  int32_t Required(const Attr& v, const char* name) const {
    if (!v.present) throw ECompileError(QStringLiteral("%1: the attribute %2 is missing.").arg(Where(), QLatin1String(name)));
    int x = 0;
    if (!plat::TryStrToInt(v.value, x)) {
      QString message;
      try {
        plat::StrToInt(v.value);
      } catch (const plat::EConvertError& e) {
        message = e.Message();
      }
      throw ECompileError(QStringLiteral("%1, attribute %2: %3").arg(Where(), QLatin1String(name), message));
    }
    return x;
  }
  // A Modbus register or other 16-bit value that must not wrap.
  uint16_t Reg(int32_t x, const char* name) const {
    if (x < 0 || x > 0xFFFF)
      throw ECompileError(QStringLiteral("%1: %2 = %3 is outside 0..65535.").arg(Where(), QLatin1String(name)).arg(x));
    return uint16_t(x);
  }
  uint8_t Byte_Checked(int32_t x, const char* name, int lo, int hi) const {
    if (x < lo || x > hi)
      throw ECompileError(QStringLiteral("%1: %2 = %3 is outside %4..%5.").arg(Where(), QLatin1String(name)).arg(x).arg(lo).arg(hi));
    return uint8_t(x);
  }

  TNodo Read_Node(const std::array<Attr, NA_Count>& a, bool wireless) const {
    TNodo n;
    n.Wireless = wireless;
    n.Source_Index = nodeIndex;
    if (!wireless) {
      n.ID_Type = uint8_t(Or(a[NA_Node_ID_Type], 0));
      int64_t id = 0;
      if (!Int64(a[NA_ID], id)) id = Or(n.ID_Type != 0 ? a[NA_ID_Secondary] : a[NA_ID_Primary], 1);
      if (n.ID_Type != 0 && (id < 0 || id > 99999999))
        throw ECompileError(QStringLiteral("%1: the secondary address %2 is outside 0..99999999.").arg(Where()).arg(id));
      if (n.ID_Type == 0 && (id < 0 || id > 255))
        throw ECompileError(QStringLiteral("%1: the primary address %2 is outside 0..255.").arg(Where()).arg(id));
      n.ID = uint32_t(id);
      n.SND_NKE = uint8_t(Or(a[NA_Send_SND_NKE], 0));
      n.Reset_App = uint8_t(Or(a[NA_Reset_App], 0));
      int32_t cut = 0;
      n.Cut_After = Int32(a[NA_Cut_After], cut) ? Byte_Checked(cut, "Cut_After", 0, 254) + 1 : 250;
    } else {
      n.ID = Low32(a[NA_wMBus_Add]);
      n.RSSI = Reg(Or(a[NA_wMBus_RSSI], 0), "wMBus_RSSI");
    }
    n.Node_State = Reg(Or(a[NA_Node_State], 0), "Node_State");
    n.Ident_Num = Reg(Or(a[NA_Ident_Num], 0), "Ident_Num");
    n.BCDtoINT_IN = uint8_t(Or(a[NA_BCDtoINT_IN], 0));
    n.Swap_IN = uint8_t(Or(a[NA_Swap_IN], 0));
    n.Var_Type = uint8_t(Or(a[NA_Var_List_Type], 0));
    if (fmt != Bank_Format::Standard) {
      n.Mamu_Spec_Data = Reg(Or(a[NA_Manufacturer_Specific_Data], 0), "Manufacturer_Specific_Data");
      n.MSD_Length = uint8_t(Or(a[NA_MSD_Length], 0));
      n.MSD_Offset = uint8_t(Or(a[NA_MSD_Offset], 0));
    }
    if (fmt == Bank_Format::With_Header || fmt == Bank_Format::Network)
      n.Access_Number = Reg(Or(a[NA_Access_Number], 0), "Access_Number");
    return n;
  }

  TwMBus_Slot Read_Slot(const std::array<Attr, NA_Count>& a) const {
    TwMBus_Slot s;
    s.ManID = uint16_t(Or(a[NA_wMBus_ManID], 0));
    s.Address = Low32(a[NA_wMBus_Add]);
    s.Version = uint8_t(Or(a[NA_wMBus_Ver], 0));
    s.Dev_Type = uint8_t(Or(a[NA_wMBus_DevType], 0));
    const int32_t en = Or(a[NA_wMBus_En_Key], 0);
    s.Key_Enable = uint8_t(en);
    if (en == 1)
      for (int i = 0; i < 16; ++i) s.Key[std::size_t(i)] = uint8_t(Or(a[NA_Key_1 + i], 0));
    return s;
  }

  TVariabile Read_Var(const std::array<Attr, VA_Count>& a, const TNodo& node) const {
    TVariabile v;
    v.Type_Of_Data = uint8_t(Required(a[VA_Type], "Type"));
    int32_t fun = Required(a[VA_Fun_Field], "Fun_Field");
    if (fun == 1) fun = 2;
    else if (fun == 2) fun = 1;
    v.Function_Field = uint8_t(fun);
    v.Dimension = uint8_t(Required(a[VA_Dim], "Dim"));
    const int32_t modReg = Required(a[VA_ModReg], "ModReg");
    const int32_t modScale = Required(a[VA_ModScale], "ModScale");
    v.Unita = uint8_t(Or(a[VA_Unit], 0));
    v.Storage_Num = Low32(a[VA_StoNumber]);
    v.Tarif = Low32(a[VA_Tariff]);
    v.VIFE = uint8_t(Or(a[VA_VIFE], 0));
    if (Flag(a[VA_BCDtoINT])) v.Options |= Opt_BCDtoINT;
    if (v.Type_Of_Data == 21 && a[VA_VIF_ASCII].present) {
      const QString& text = a[VA_VIF_ASCII].value;
      if (text.size() > 255)
        throw ECompileError(QStringLiteral("%1: the VIF_ASCII text is longer than 255 characters.").arg(Where()));
      v.Len_VIF_ASCII = uint8_t(text.size());
      v.VIF_ASCII.resize(std::size_t(text.size()));
      for (qsizetype i = 0; i < text.size(); ++i)
        v.VIF_ASCII[std::size_t(text.size() - 1 - i)] = char(uint8_t(text.at(i).unicode() & 0xFF));
    }
    v.Length = v.Dimension == 7 ? uint8_t(Or(a[VA_Length], 0)) : 0;
    if (Flag(a[VA_Conv_Float])) v.Options |= Opt_Conv_Float;
    if (fmt != Bank_Format::Standard && Flag(a[VA_Force_Int32])) v.Options |= Opt_Force_Int32;
    if (Flag(a[VA_TP_Mod_Regs])) v.Options |= Opt_TP_Mod_Regs;
    const int32_t tpYear = Or(a[VA_TP_Mod_Year], 0);
    v.Position = Byte_Checked(Or(a[VA_Position], 1), "Position", 0, 255);
    if (fmt != Bank_Format::Standard) v.Post_Ope = uint8_t(Or(a[VA_Post_Operation], 0));
    // The registers the image publishes must fit their 16-bit fields.
    v.Modbus_Register = uint16_t(modReg);
    v.Modbus_Scale = uint16_t(modScale);
    v.TP_Mod_Year = uint16_t(tpYear);
    if (Is_Time_Point(fmt, node, v)) Reg(tpYear, "TP_Mod_Year");
    else Reg(modReg, "ModReg");
    if (!(v.Options & Opt_Conv_Float)) Reg(modScale, "ModScale");
    return v;
  }
};

Bank_Network Collect(Bank_Format fmt, int deviceType, const Xml_File& mbus, const TParGen_Numbers& par) {
  Bank_Network net;
  if (!mbus.exists) return net;
  const bool network = fmt == Bank_Format::Network;
  const bool wirelessTypes = Device_Model(deviceType).Wireless;
  // Wired nodes go into bank2.bin only with the M-Bus line present; the wired-only types always have it.
  const bool wiredPresent = !network || !wirelessTypes || par.Sel_Dev_MBus_Present == 1;
  Reader rd{fmt};
  std::array<Attr, NA_Count> na;
  std::array<Attr, VA_Count> va;
  const auto& nodeAttrs = Node_Attrs();
  const auto& varAttrs = Var_Attrs();
  for (Xml_Element e = First_Element(mbus.root); e; e = Next_Element(e)) {
    ++rd.nodeIndex;
    rd.varIndex = 0;
    nodeAttrs.Fill(e, na);
    if (rd.Or(na[NA_Node_Enable], 1) != 1) continue;
    bool wireless = false;
    if (network && wirelessTypes) wireless = rd.Or(na[NA_MBus_Type], 1) != 1;
    if (!wireless && !wiredPresent) continue;
    TNodo* rec = nullptr;
    for (Xml_Element ve = First_Element(e); ve; ve = Next_Element(ve)) {
      ++rd.varIndex;
      varAttrs.Fill(ve, va);
      if (!Reader::Flag(va[VA_Enable])) continue;
      if (!rec) {
        const int vi = rd.varIndex;
        rd.varIndex = 0;
        TNodo n = rd.Read_Node(na, wireless);
        if (wireless) {
          if (net.Nodi_Wireless.size() >= std::size_t(Max_Wireless_Nodes))
            throw ECompileError(QStringLiteral("%1: more than %2 wireless nodes; the converter has %2 wireless slots.")
                                    .arg(rd.Where()).arg(Max_Wireless_Nodes));
          net.wMBus_Slots.push_back(rd.Read_Slot(na));
          net.Nodi_Wireless.push_back(std::move(n));
          rec = &net.Nodi_Wireless.back();
        } else {
          net.Nodi_Wired.push_back(std::move(n));
          rec = &net.Nodi_Wired.back();
        }
        rd.varIndex = vi;
      }
      rec->Vars.push_back(rd.Read_Var(va, *rec));
    }
  }
  return net;
}

QByteArray To_Bytes(const std::vector<uint8_t>& v) {
  return QByteArray(reinterpret_cast<const char*>(v.data()), qsizetype(v.size()));
}

std::vector<uint8_t> Build_Main_Image(Bank_Format fmt, Bank_Network& net, const TParGen_Numbers& par, int deviceType) {
  switch (fmt) {
    case Bank_Format::Standard: return Build_Bank_Std(net, par, deviceType);
    case Bank_Format::With_Header: return Build_Bank_B2(net, par, deviceType);
    case Bank_Format::Serial: return Build_Bank_Serial(net, par, deviceType);
    case Bank_Format::Network: break;
  }
  return {};
}

// Gen_Par with the wireless slots, and the network image.
void Compile_Bank12(Bank_Set& set, int deviceType, const Xml_File& mbus, const TParGen_Numbers& par) {
  Gen_Par_Record genPar;
  Reset_Gen_Par(genPar);
  Bank_Network net = Collect(Bank_Format::Network, deviceType, mbus, par);
  const std::vector<uint8_t> bank2 = Build_Bank2_Net(net, par, deviceType, genPar);
  const std::vector<uint8_t> bank1 = Build_Bank1(genPar, net.wMBus_Slots);
  set.Files.push_back({QStringLiteral("bank1.bin"), To_Bytes(bank1)});
  set.Files.push_back({QStringLiteral("bank2.bin"), To_Bytes(bank2)});
}

pargen::TParGen_File Load_ParGen_File(const QString& fileParGen) {
  pargen::TParGen_File f = pargen::Load_ParGen_File(fileParGen);
  if (f.Status == pargen::TParGen_Read::Malformed)
    throw ECompileError(QStringLiteral("ParGen.xml cannot be read: %1").arg(f.Error));
  return f;
}

}  // namespace

TParGen_Numbers Load_ParGen(const QString& fileParGen) {
  return Read_ParGen_Numbers(Load_ParGen_File(fileParGen), Device_Type, {});
}

Bank_Network Collect_Network(Bank_Format fmt, int deviceType, const QString& fileMBus, const TParGen_Numbers& par) {
  return Collect(fmt, deviceType, Load_Xml(fileMBus, "M_Bus.xml"), par);
}

int Read_Sel_Dev(const QString& fileParGen) {
  return pargen::Load_ParGen_File(fileParGen).Number(pargen::TParGen_Element::Sel_Dev).value_or(0);
}

Bank_Set Compile(int deviceType, int selDev, const QString& fileParGen, const QString& fileMBus) {
  Bank_Set set;
  set.Device_Type = deviceType;
  const TDevice_Model& model = Device_Model(deviceType);
  if (model.Has_Variant && selDev != 0 && selDev != 1)
    throw ECompileError(QStringLiteral("ParGen.xml: %1 = %2 is not a device variant (0 or 1).")
                            .arg(pargen::Element_Name(pargen::TParGen_Element::Sel_Dev)).arg(selDev));
  const std::vector<Bank_Format> formats = Bank_Formats(deviceType, selDev);
  if (formats.empty()) return set;
  const TParGen_Numbers par = Read_ParGen_Numbers(Load_ParGen_File(fileParGen), deviceType, formats);
  const Xml_File mbus = Load_Xml(fileMBus, "M_Bus.xml");
  // bank.bin first, as its faults come first, but written after bank1.bin and bank2.bin.
  std::vector<uint8_t> bank;
  if (formats.front() != Bank_Format::Network) {
    Bank_Network net = Collect(formats.front(), deviceType, mbus, par);
    bank = Build_Main_Image(formats.front(), net, par, deviceType);
  }
  if (formats.back() == Bank_Format::Network) Compile_Bank12(set, deviceType, mbus, par);
  if (formats.front() != Bank_Format::Network) set.Files.push_back({QStringLiteral("bank.bin"), To_Bytes(bank)});
  return set;
}

}  // namespace core::bank
