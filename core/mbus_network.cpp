#include "core/mbus_network.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>

#include "core/device_model.h"
#include "platform/io/files.h"
#include "platform/rtl/strutils.h"
#include "platform/xml/xmldocument.h"

namespace core::net {

namespace {

// ---------------------------------------------------------------------------------------------------------
// Names

constexpr std::size_t Node_Attr_Count = std::size_t(TNode_Attr::Count);
constexpr std::size_t Var_Attr_Count = std::size_t(TVar_Attr::Count);

constexpr const char* Node_Names[Node_Attr_Count] = {
    "Node_Enable", "ID_Primary", "ID_Secondary", "Descrizione", "Send_SND_NKE", "Reset_App", "Node_State",
    "Ident_Num", "BCDtoINT_IN", "Swap_IN", "Node_ID_Type", "Var_List_Type", "Cut_After",
    "Manufacturer_Specific_Data", "MSD_Length", "MSD_Offset", "Access_Number", "MBus_Type", "wMBus_ManID",
    "wMBus_Add", "wMBus_Ver", "wMBus_DevType", "wMBus_En_Key", "wMBus_Key_1", "wMBus_Key_2", "wMBus_Key_3",
    "wMBus_Key_4", "wMBus_Key_5", "wMBus_Key_6", "wMBus_Key_7", "wMBus_Key_8", "wMBus_Key_9", "wMBus_Key_10",
    "wMBus_Key_11", "wMBus_Key_12", "wMBus_Key_13", "wMBus_Key_14", "wMBus_Key_15", "wMBus_Key_16", "wMBus_RSSI",
    "ID"};

constexpr const char* Var_Names[Var_Attr_Count] = {
    "Enable", "Desc", "Type", "Fun_Field", "Dim", "Unit", "ModReg", "ModScale", "StoNumber", "Tariff", "VIFE",
    "BCDtoINT", "VIF_ASCII", "Length", "Conv_Float", "Force_Int32", "TP_Mod_Regs", "TP_Mod_Year", "Position",
    "Post_Operation", "SWAP"};

template <std::size_t N>
std::array<QString, N> Q_Names(const char* const (&names)[N]) {
  std::array<QString, N> q;
  for (std::size_t i = 0; i < N; ++i) q[i] = QString::fromLatin1(names[i]);
  return q;
}

// ---------------------------------------------------------------------------------------------------------
// Reading one element's attributes

// The values of one element, by attribute; nullptr where the element has none of that name.
template <std::size_t N>
struct TValues {
  std::array<const char*, N> v{};

  void Fill(const plat::TXMLNode& e, const plat::TXMLNameTable& table) { e.AttributeValues(table, v.data()); }
  const char* operator[](auto a) const { return v[std::size_t(a)]; }
};

using TNode_Values = TValues<Node_Attr_Count>;
using TVar_Values = TValues<Var_Attr_Count>;

// The values of one element as the readers below take them: by attribute, nullptr where absent.
struct TAttr_View {
  const char* const* v;
  const char* operator[](auto a) const { return v[std::size_t(a)]; }
};

QString Text(const char* v) { return v && *v ? QString::fromUtf8(v) : QString(); }

// Integer text into out; d and the attribute's bit in unread when it is absent or does not convert.
template <class A, class M>
int32_t Int(const char* v, int32_t d, A a, M& unread) {
  int x = 0;
  if (v && plat::TryStrToIntUtf8(v, x)) return x;
  unread |= Bit(a);
  return d;
}

// The low 32 bits of a 64-bit integer text, 0 when it does not convert.
uint32_t Low32(const char* v, uint32_t& unread, TVar_Attr a) {
  int64_t x = 0;
  if (v && plat::TryStrToInt64Utf8(v, x)) return uint32_t(uint64_t(x));
  unread |= Bit(a);
  return 0;
}

bool Flag(const char* v) { return v && v[0] == '1' && v[1] == 0; }

TNodo Read_Node(TAttr_View a, bool wirelessSide) {
  using A = TNode_Attr;
  TNodo n;
  uint64_t& u = n.Unread;
  n.Enable = Int(a[A::Node_Enable], 1, A::Node_Enable, u);
  n.Description = Text(a[A::Descrizione]);
  n.Node_ID_Type = Int(a[A::Node_ID_Type], 0, A::Node_ID_Type, u);
  n.Node_Pri = Int(a[A::ID_Primary], 1, A::ID_Primary, u);
  n.Node_Sec = Int(a[A::ID_Secondary], 1, A::ID_Secondary, u);
  int id = 0;
  if (a[A::ID] && plat::TryStrToIntUtf8(a[A::ID], id)) {  // one address for either kind, as the scanner writes it
    const bool primary = uint8_t(n.Node_ID_Type) == 0;
    n.Node_Pri = primary ? id : 1;
    n.Node_Sec = primary ? 1 : id;
  } else {
    u |= Bit(A::ID);
  }
  n.Send_SNK = Int(a[A::Send_SND_NKE], 0, A::Send_SND_NKE, u);
  n.Reset_App = Int(a[A::Reset_App], 0, A::Reset_App, u);
  n.Node_State = Int(a[A::Node_State], 0, A::Node_State, u);
  n.Ident_Num = Int(a[A::Ident_Num], 0, A::Ident_Num, u);
  n.BCDtoINT_IN = Int(a[A::BCDtoINT_IN], 0, A::BCDtoINT_IN, u);
  n.Swap_Ident = Int(a[A::Swap_IN], 0, A::Swap_IN, u);
  n.Var_List_Type = Int(a[A::Var_List_Type], 0, A::Var_List_Type, u);
  n.Cut_After = Int(a[A::Cut_After], 0, A::Cut_After, u);
  n.Manufacturer_Spec = Int(a[A::Manufacturer_Specific_Data], 0, A::Manufacturer_Specific_Data, u);
  n.MSD_Length = Int(a[A::MSD_Length], 0, A::MSD_Length, u);
  n.MSD_Offset = Int(a[A::MSD_Offset], 0, A::MSD_Offset, u);
  n.Access_Number = Int(a[A::Access_Number], 0, A::Access_Number, u);
  if (wirelessSide) {
    n.MBus_Type = Int(a[A::MBus_Type], 1, A::MBus_Type, u);
    n.wMBus_ManID = Text(a[A::wMBus_ManID]);
    n.wMBus_Add = Text(a[A::wMBus_Add]);
    n.wMBus_Ver = Text(a[A::wMBus_Ver]);
    n.wMBus_DevType = Text(a[A::wMBus_DevType]);
    n.wMBus_En_Key = Int(a[A::wMBus_En_Key], 0, A::wMBus_En_Key, u);
    for (int i = 0; i < 16; ++i) n.wMBus_Key[std::size_t(i)] = Text(a[int(A::wMBus_Key_1) + i]);
    n.RSSI = Int(a[A::wMBus_RSSI], 0, A::wMBus_RSSI, u);
  }
  return n;
}

// The attributes a variable cannot do without, in the order their absence is reported.
constexpr TVar_Attr Required_Attrs[] = {TVar_Attr::Type, TVar_Attr::Fun_Field, TVar_Attr::Dim, TVar_Attr::ModReg,
                                        TVar_Attr::ModScale};

TVariabile Read_Var(TAttr_View a) {
  using A = TVar_Attr;
  TVariabile v;
  uint32_t& u = v.Unread;
  v.Enable = Flag(a[A::Enable]);
  v.Description = Text(a[A::Desc]);
  v.Type_Of_Data = Int(a[A::Type], 0, A::Type, u);
  v.Function_Field = Int(a[A::Fun_Field], 0, A::Fun_Field, u);
  v.Dimension = Int(a[A::Dim], 0, A::Dim, u);
  v.Unita = Int(a[A::Unit], 0, A::Unit, u);
  v.Modbus_Register = Int(a[A::ModReg], 0, A::ModReg, u);
  v.Modbus_Scale = Int(a[A::ModScale], 0, A::ModScale, u);
  v.Storage_Number = Low32(a[A::StoNumber], u, A::StoNumber);
  v.Tariff = Low32(a[A::Tariff], u, A::Tariff);
  v.VIFE = uint8_t(Int(a[A::VIFE], 0, A::VIFE, u));
  v.BCDtoINT = Flag(a[A::BCDtoINT]);
  v.VIF_ASCII = Text(a[A::VIF_ASCII]);
  v.Length = Int(a[A::Length], 0, A::Length, u);
  v.Conv_Float = Flag(a[A::Conv_Float]);
  v.Force_Int32 = Flag(a[A::Force_Int32]);
  v.TP_Mod_Regs = Flag(a[A::TP_Mod_Regs]);
  v.TP_Mod_Year = Int(a[A::TP_Mod_Year], 0, A::TP_Mod_Year, u);
  v.Position = Int(a[A::Position], 1, A::Position, u);
  v.Post_Operation = Int(a[A::Post_Operation], 0, A::Post_Operation, u);
  for (TVar_Attr r : Required_Attrs)
    if (u & Bit(r)) {
      v.Fault_Attr = r;
      v.Fault_Present = a[r] != nullptr;
      v.Fault_Text = Text(a[r]);
      break;
    }
  return v;
}

const plat::TXMLNameTable& Node_Table() {
  static const plat::TXMLNameTable t(Node_Names, int(Node_Attr_Count));
  return t;
}

const plat::TXMLNameTable& Var_Table() {
  static const plat::TXMLNameTable t(Var_Names, int(Var_Attr_Count));
  return t;
}

// ---------------------------------------------------------------------------------------------------------
// Writing

// Builds one element's attributes in order: names from the table, numbers formatted without a QString.
template <class A>
class TAttr_Writer {
 public:
  TAttr_Writer(plat::TXMLNode e, const char* const* names) : e_(e), names_(names) {}
  void Num(A a, int64_t v) {
    char buf[24];
    *std::to_chars(buf, buf + sizeof buf - 1, v).ptr = 0;
    e_.AppendAttribute(names_[std::size_t(a)], buf);
  }
  void Flag(A a, bool v) { e_.AppendAttribute(names_[std::size_t(a)], v ? "1" : "0"); }
  void Text(A a, const QString& v) { e_.AppendAttribute(names_[std::size_t(a)], v.toUtf8().constData()); }

 private:
  plat::TXMLNode e_;
  const char* const* names_;
};

void Write_Node(plat::TXMLNode e, const TNodo& n, bool wirelessSide) {
  using A = TNode_Attr;
  TAttr_Writer<A> w(e, Node_Names);
  w.Num(A::Node_Enable, n.Enable);
  w.Num(A::ID_Primary, n.Node_Pri);
  w.Num(A::ID_Secondary, n.Node_Sec);
  w.Text(A::Descrizione, n.Description);
  w.Num(A::Send_SND_NKE, n.Send_SNK);
  w.Num(A::Reset_App, n.Reset_App);
  w.Num(A::Node_State, n.Node_State);
  w.Num(A::Ident_Num, n.Ident_Num);
  w.Num(A::BCDtoINT_IN, n.BCDtoINT_IN);
  w.Num(A::Swap_IN, n.Swap_Ident);
  w.Num(A::Node_ID_Type, n.Node_ID_Type);
  w.Num(A::Var_List_Type, n.Var_List_Type);
  w.Num(A::Cut_After, n.Cut_After);
  w.Num(A::Manufacturer_Specific_Data, n.Manufacturer_Spec);
  w.Num(A::MSD_Length, n.MSD_Length);
  w.Num(A::MSD_Offset, n.MSD_Offset);
  w.Num(A::Access_Number, n.Access_Number);
  if (!wirelessSide) return;
  w.Num(A::MBus_Type, n.MBus_Type);
  w.Text(A::wMBus_ManID, n.wMBus_ManID);
  w.Text(A::wMBus_Add, n.wMBus_Add);
  w.Text(A::wMBus_Ver, n.wMBus_Ver);
  w.Text(A::wMBus_DevType, n.wMBus_DevType);
  w.Num(A::wMBus_En_Key, n.wMBus_En_Key);
  for (int i = 0; i < 16; ++i) w.Text(A(int(A::wMBus_Key_1) + i), n.wMBus_Key[std::size_t(i)]);
  w.Num(A::wMBus_RSSI, n.RSSI);
}

void Write_Var(plat::TXMLNode e, const TVariabile& v) {
  using A = TVar_Attr;
  TAttr_Writer<A> w(e, Var_Names);
  w.Flag(A::Enable, v.Enable);
  w.Text(A::Desc, v.Description);
  w.Num(A::Type, v.Type_Of_Data);
  w.Num(A::Fun_Field, v.Function_Field);
  w.Num(A::Dim, v.Dimension);
  w.Num(A::Unit, v.Unita);
  w.Num(A::ModReg, v.Modbus_Register);
  w.Num(A::ModScale, v.Modbus_Scale);
  w.Num(A::StoNumber, v.Storage_Number);
  w.Num(A::Tariff, v.Tariff);
  w.Num(A::VIFE, v.VIFE);
  w.Flag(A::BCDtoINT, v.BCDtoINT);
  w.Text(A::VIF_ASCII, v.VIF_ASCII);
  w.Num(A::Length, v.Length);
  w.Flag(A::Conv_Float, v.Conv_Float);
  w.Flag(A::Force_Int32, v.Force_Int32);
  w.Flag(A::TP_Mod_Regs, v.TP_Mod_Regs);
  w.Num(A::TP_Mod_Year, v.TP_Mod_Year);
  w.Num(A::Position, v.Position);
  w.Num(A::Post_Operation, v.Post_Operation);
}

// A saved scan's node: the identification first, then what the scan used, then the registers it gave.
void Write_Scan_Node(plat::TXMLNode e, const TNodo& n, const TScan_Layout& l) {
  using A = TNode_Attr;
  TAttr_Writer<A> w(e, Node_Names);
  w.Num(A::Node_Enable, n.Enable);
  if (l.ID) w.Num(A::ID, n.Node_Pri);
  w.Num(A::ID_Primary, n.Node_Pri);
  w.Num(A::ID_Secondary, n.Node_Sec);
  w.Num(A::Node_ID_Type, n.Node_ID_Type);
  w.Text(A::Descrizione, n.Description);
  w.Num(A::Send_SND_NKE, n.Send_SNK);
  w.Num(A::Reset_App, n.Reset_App);
  w.Num(A::Cut_After, n.Cut_After);
  if (!l.Wireless && l.Wired_MBus_Type) w.Num(A::MBus_Type, n.MBus_Type);
  if (l.Node_Registers) {
    w.Num(A::Node_State, n.Node_State);
    w.Num(A::Ident_Num, n.Ident_Num);
  }
  if (!l.Wireless) return;
  w.Num(A::MBus_Type, n.MBus_Type);
  w.Text(A::wMBus_ManID, n.wMBus_ManID);
  w.Text(A::wMBus_Add, n.wMBus_Add);
  w.Text(A::wMBus_Ver, n.wMBus_Ver);
  w.Text(A::wMBus_DevType, n.wMBus_DevType);
  w.Num(A::wMBus_En_Key, n.wMBus_En_Key);
  for (int i = 0; i < 16; ++i) w.Text(A(int(A::wMBus_Key_1) + i), n.wMBus_Key[std::size_t(i)]);
}

void Write_Scan_Var(plat::TXMLNode e, const TVariabile& v) {
  using A = TVar_Attr;
  TAttr_Writer<A> w(e, Var_Names);
  w.Flag(A::Enable, v.Enable);
  w.Num(A::Position, v.Position);
  w.Text(A::Desc, v.Description);
  w.Num(A::Type, v.Type_Of_Data);
  w.Text(A::VIF_ASCII, v.VIF_ASCII);
  w.Num(A::Fun_Field, v.Function_Field);
  w.Num(A::Length, v.Length);
  w.Num(A::ModReg, v.Modbus_Register);
  w.Num(A::Dim, v.Dimension);
  w.Num(A::Unit, v.Unita);
  w.Num(A::StoNumber, v.Storage_Number);
  w.Num(A::Tariff, v.Tariff);
  w.Num(A::VIFE, v.VIFE);
  w.Num(A::ModScale, v.Modbus_Scale);
  w.Flag(A::BCDtoINT, v.BCDtoINT);
  w.Flag(A::SWAP, false);  // the converter's byte swap stays off for scanned values
}

void Write_Nodes(plat::TXMLNode root, const TNetwork& net, const TWrite_Options& o, bool wirelessSide) {
  const bool scan = o.Order == TAttr_Order::Scan_Export;
  for (const TNodo& n : net.Nodi_List) {
    plat::TXMLNode e = root.AddChild(Node_Element_Name());
    if (scan)
      Write_Scan_Node(e, n, o.Scan);
    else
      Write_Node(e, n, wirelessSide);
    for (const TVariabile& v : n.Var_List) {
      plat::TXMLNode ve = e.AddChild(Var_Element_Name());
      if (scan)
        Write_Scan_Var(ve, v);
      else
        Write_Var(ve, v);
    }
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------------------------

const QString& Attr_Name(TNode_Attr a) {
  static const auto names = Q_Names(Node_Names);
  return names[std::size_t(a)];
}

const QString& Attr_Name(TVar_Attr a) {
  static const auto names = Q_Names(Var_Names);
  return names[std::size_t(a)];
}

const QString& Root_Element_Name() {
  static const QString s = QStringLiteral("M-Bus_Network");
  return s;
}

const QString& Node_Element_Name() {
  static const QString s = QStringLiteral("Nodo");
  return s;
}

const QString& Var_Element_Name() {
  static const QString s = QStringLiteral("Variabile");
  return s;
}

bool Has_Wireless_Side(int32_t deviceType) { return Device_Model(deviceType).Wireless; }

bool Is_Wireless(const TNodo& n, int32_t deviceType) { return Has_Wireless_Side(deviceType) && n.MBus_Type != 1; }

TWireless_Ident Wireless_Ident(const TNodo& n) {
  auto num = [](const QString& t) { return plat::StrToIntDef(t, 0); };
  TWireless_Ident w;
  w.ManID = uint16_t(num(n.wMBus_ManID));
  w.Address = uint32_t(uint64_t(plat::StrToInt64Def(n.wMBus_Add, 0)));
  w.Version = uint8_t(num(n.wMBus_Ver));
  w.Dev_Type = uint8_t(num(n.wMBus_DevType));
  if (n.wMBus_En_Key == 1)
    for (std::size_t i = 0; i < 16; ++i) w.Key[i] = uint8_t(num(n.wMBus_Key[i]));
  return w;
}

QString Fault_Message(const TVariabile& v, int nodeNumber, int varNumber) {
  if (v.Fault_Attr == TVar_Attr::Count) return QString();
  const QString where = QStringLiteral("M_Bus.xml, node %1, variable %2").arg(nodeNumber).arg(varNumber);
  if (!v.Fault_Present) return QStringLiteral("%1: the attribute %2 is missing.").arg(where, Attr_Name(v.Fault_Attr));
  return QStringLiteral("%1, attribute %2: %3")
      .arg(where, Attr_Name(v.Fault_Attr), plat::NotIntegerMessage(v.Fault_Text));
}

namespace {

// Builds the network from the values of its elements, given in document order: the root's child elements are
// the nodes, theirs the variables. Both the walk over a loaded document and the reader that takes the elements
// while the file loads go through here.
class TNetwork_Builder {
 public:
  TNetwork_Builder(int32_t deviceType, TRead_Mode mode) : wirelessSide_(Has_Wireless_Side(deviceType)), mode_(mode) {}

  bool Stopped() const { return !r_.Error.isEmpty(); }

  void Node(const char* const* values) {
    if (Stopped()) return;
    std::vector<TNodo>& nodes = r_.Network.Nodi_List;
    // The nodes of a network mostly have alike lists: room for as many as the last one had.
    const std::size_t lastVars = nodes.empty() ? 0 : nodes.back().Var_List.size();
    nodes.push_back(Read_Node(TAttr_View{values}, wirelessSide_));
    nodes.back().Var_List.reserve(lastVars);
  }

  void Var(const char* const* values) {
    if (Stopped() || r_.Network.Nodi_List.empty()) return;
    std::vector<TVariabile>& vars = r_.Network.Nodi_List.back().Var_List;
    vars.push_back(Read_Var(TAttr_View{values}));
    const TVariabile& v = vars.back();
    // The scale register has a default for the editor; only the compiler insists on it.
    const bool fatal = v.Fault_Attr != TVar_Attr::Count && v.Fault_Attr != TVar_Attr::ModScale;
    if (mode_ == TRead_Mode::Stop_At_Fault && fatal) {
      r_.Error = Fault_Message(v, int(r_.Network.Nodi_List.size()), int(vars.size()));
      vars.pop_back();
    }
  }

  TRead_Result Take() { return std::move(r_); }

 private:
  bool wirelessSide_;
  TRead_Mode mode_;
  TRead_Result r_;
};

class TNetwork_Reader : public plat::TXMLElementReader {
 public:
  TNetwork_Reader(int32_t deviceType, TRead_Mode mode) : b_(deviceType, mode) {}
  const plat::TXMLNameTable* Names(int depth) override {
    if (b_.Stopped()) return nullptr;
    return depth == 1 ? &Node_Table() : depth == 2 ? &Var_Table() : nullptr;
  }
  void Element(int depth, const char* const* values) override {
    if (depth == 1) b_.Node(values);
    else b_.Var(values);
  }
  TRead_Result Take() { return b_.Take(); }

 private:
  TNetwork_Builder b_;
};

}  // namespace

TRead_Result Read_Network(const plat::TXMLDocument& doc, int32_t deviceType, TRead_Mode mode) {
  TNetwork_Builder b(deviceType, mode);
  TNode_Values na;
  TVar_Values va;
  const auto& nodeTable = Node_Table();
  const auto& varTable = Var_Table();
  const plat::TXMLNode root = doc.DocumentElement();
  for (plat::TXMLNode e = root.FirstChildElement(); e && !b.Stopped(); e = e.NextSiblingElement()) {
    na.Fill(e, nodeTable);
    b.Node(na.v.data());
    for (plat::TXMLNode ve = e.FirstChildElement(); ve && !b.Stopped(); ve = ve.NextSiblingElement()) {
      va.Fill(ve, varTable);
      b.Var(va.v.data());
    }
  }
  return b.Take();
}

TRead_Result Load_Network(const QString& fileName, int32_t deviceType, TRead_Mode mode) {
  if (plat::FileAbsent(fileName)) return {};
  plat::TXMLDocument doc;
  TNetwork_Reader reader(deviceType, mode);
  TRead_Result r;
  if (!doc.LoadFromFile(fileName, reader, &r.Error)) return r;  // what the reader took is dropped
  return reader.Take();
}

void Build_Document(plat::TXMLDocument& doc, const TNetwork& net, int32_t deviceType) {
  doc.Clear();
  plat::TXMLNode root = doc.AddChild(Root_Element_Name());
  const QString version = QString::fromUtf16(Device_Model(deviceType).Version);
  if (!version.isEmpty()) doc.AddComment(QStringLiteral("SW_VERSION = ") + version);
  Write_Nodes(root, net, TWrite_Options{}, Has_Wireless_Side(deviceType));
}

TWrite_Result Write_Network(const QString& fileName, const TNetwork& net, int32_t deviceType,
                            const TWrite_Options& options) {
  TWrite_Result r;
  plat::TXMLDocument doc;
  if (options.Append) {
    if (!doc.LoadFromFile(fileName, &r.Error)) {
      r.Status = TWrite_Status::Load_Failed;
      return r;
    }
    plat::TXMLNode root = doc.DocumentElement();
    if (root.NodeName() != Root_Element_Name()) {
      r.Status = TWrite_Status::Not_A_Network;
      r.Error = QStringLiteral("%1 has the root element \"%2\" instead of \"%3\"; no node was added.")
                    .arg(fileName, root.NodeName(), Root_Element_Name());
      return r;
    }
    Write_Nodes(root, net, options, Has_Wireless_Side(deviceType));
  } else if (options.Order == TAttr_Order::Editor) {
    Build_Document(doc, net, deviceType);
  } else {
    Write_Nodes(doc.AddChild(Root_Element_Name()), net, options, Has_Wireless_Side(deviceType));
  }
  if (!doc.SaveToFile(fileName, &r.Error)) r.Status = TWrite_Status::Save_Failed;
  return r;
}

bool Save_Network(const QString& fileName, const TNetwork& net, int32_t deviceType, QString* error) {
  plat::TXMLDocument doc;
  Build_Document(doc, net, deviceType);
  return doc.SaveToFile(fileName, error);
}

int32_t Value_Bytes(int32_t dimension, int32_t length) {
  switch (dimension) {
    case 2: case 4: case 6: return 4;
    case 3: return 8;
    case 5: return 6;
    case 7: return std::max(length, 0);
    default: return 2;  // 8 and 16 bits, and an unknown size
  }
}

int32_t Register_Count(int32_t dimension, int32_t length) { return (Value_Bytes(dimension, length) + 1) / 2; }

QString Root_Caption() { return QStringLiteral("M-Bus Network"); }

QString Node_Caption(const TNodo& n, int32_t deviceType) {
  if (Is_Wireless(n, deviceType))
    return QStringLiteral("wM-Bus Node - Address ") + n.wMBus_Add + QStringLiteral(" - ") + n.Description;
  const int32_t address = n.Node_ID_Type == 1 ? n.Node_Sec : n.Node_Pri;
  return QStringLiteral("ID ") + QString::number(address) + QStringLiteral(" - ") + n.Description;
}

QString Var_Caption(const TVariabile& v) { return QStringLiteral("VAR - ") + v.Description; }

}  // namespace core::net
