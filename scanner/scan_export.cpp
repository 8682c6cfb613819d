#include "scanner/scan_export.h"

#include "core/mbus_network.h"
#include "platform/xml/xmldocument.h"

#include <algorithm>

namespace {

const QString& Root_Name = core::net::Root_Element_Name();
using A_Node = core::net::TNode_Attr;
using A_Var = core::net::TVar_Attr;
const QString& NA(A_Node A) { return core::net::Attr_Name(A); }
const QString& VA(A_Var A) { return core::net::Attr_Name(A); }

QString Num(int64_t V) { return QString::number(V); }
QString Flag(bool V) { return V ? QStringLiteral("1") : QStringLiteral("0"); }

// Meter-supplied text may hold bytes that XML 1.0 cannot carry at all (control characters); they become "?".
QString Xml_Safe(const QString& Text) {
  QString Out = Text;
  for (qsizetype I = 0; I < Out.size(); ++I) {
    const char16_t C = Out.at(I).unicode();
    const bool Surrogate = C >= 0xD800 && C <= 0xDFFF;
    bool Bad = C < 0x20 || C == 0xFFFE || C == 0xFFFF;
    if (Surrogate) {  // only a well-formed pair is a character
      const bool High = C <= 0xDBFF;
      const bool Paired = High && I + 1 < Out.size() && Out.at(I + 1).unicode() >= 0xDC00 && Out.at(I + 1).unicode() <= 0xDFFF;
      if (Paired) {
        ++I;
        continue;
      }
      Bad = true;
    }
    if (Bad) Out[I] = QLatin1Char('?');
  }
  return Out;
}

// The register counter of one export.
class TRegisters {
 public:
  explicit TRegisters(int64_t Start) : R_(Start) {}
  void Set(int64_t Start) { R_ = Start; }
  int64_t Value() const { return R_; }
  // Takes N registers from R; the ones taken must lie within the editor's range.
  int64_t Take(int64_t N, const QString& What) {
    const int64_t First = R_;
    if (N > 0 && (First < 0 || First + N - 1 > Max_Export_Register))
      throw EScanExportError(QStringLiteral("The Modbus registers of %1 would be %2 to %3; registers must lie within 0..%4.")
                                 .arg(What)
                                 .arg(First)
                                 .arg(First + N - 1)
                                 .arg(Max_Export_Register));
    R_ += N;
    return First;
  }

 private:
  int64_t R_;
};

void Check_SMN(const TSaveConfXML& D, qsizetype Count) {
  if (D.StartModnode == 1 && qsizetype(D.SMN_Array.size()) < Count)
    throw EScanExportError(QStringLiteral("%1 start registers were given for %2 slaves; every slave needs its own.")
                               .arg(D.SMN_Array.size())
                               .arg(Count));
}

// Loads the file to append to, or starts a new document; gives its root.
plat::TXMLNode Open_Document(plat::TXMLDocument& Doc, const TSaveConfXML& D) {
  if (D.Append == 1) {
    Doc.LoadFromFileOrRaise(D.File_Name);
    plat::TXMLNode Root = Doc.DocumentElement();
    if (Root.NodeName() != Root_Name)
      throw EScanExportError(QStringLiteral("%1 has the root element \"%2\" instead of \"%3\"; no node was added.")
                                 .arg(D.File_Name, Root.NodeName(), Root_Name));
    return Root;
  }
  return Doc.AddChild(Root_Name);
}

// Node state and identification registers of a slave, written only with per-node start registers.
void Node_Registers(plat::TXMLNode Node, const TSaveConfXML& D, TRegisters& R, const QString& What) {
  if (D.StartModnode != 1 || D.XML_Code_Dev == 5) return;
  Node.SetAttribute(NA(A_Node::Node_State), D.En_NodeState ? Num(R.Take(2, What)) : QStringLiteral("0"));
  Node.SetAttribute(NA(A_Node::Ident_Num), D.En_IdeNum ? Num(R.Take(1, What)) : QStringLiteral("0"));
}

void Write_Record(plat::TXMLNode Node, const TVariable_MBus& V, int Position, bool Enabled, const TSaveConfXML& D,
                  TRegisters& R, const QString& What) {
  const bool Counted = D.StartModnode != 1 || Enabled;
  const int64_t Regs = Counted ? Export_Registers(V.dimension, V.nbyte) : 0;
  const int64_t ModReg = Counted ? R.Take(Regs, What) : R.Value();
  plat::TXMLNode E = Node.AddChild(core::net::Var_Element_Name());
  E.SetAttribute(VA(A_Var::Enable), Flag(Enabled));
  E.SetAttribute(VA(A_Var::Position), Num(Position));
  E.SetAttribute(VA(A_Var::Desc), Xml_Safe(QStringLiteral("%1 (U%2S%3T%4)")
                                                      .arg(V.Desc_Type_Data())
                                                      .arg(V.device)
                                                      .arg(V.storage_number)
                                                      .arg(V.tarif)));
  E.SetAttribute(VA(A_Var::Type), Num(V.type_data));
  E.SetAttribute(VA(A_Var::VIF_ASCII), V.type_data == 21 ? Xml_Safe(V.VIF_ASCII()) : QString());
  static const int Fun[4] = {0, 2, 1, 3};  // the network editor lists minimum before maximum
  E.SetAttribute(VA(A_Var::Fun_Field), Num(V.function_fild < 4 ? Fun[V.function_fild] : V.function_fild));
  // The length of a variable-length record is kept also when it takes no register now, so that ticking it in
  // the editor later compiles the right length.
  E.SetAttribute(VA(A_Var::Length), Num(V.dimension == 13 ? V.nbyte : 0));
  E.SetAttribute(VA(A_Var::ModReg), Num(ModReg));
  E.SetAttribute(VA(A_Var::Dim), Num(Export_Dim(V.dimension)));
  E.SetAttribute(VA(A_Var::Unit), Num(V.device));
  E.SetAttribute(VA(A_Var::StoNumber), Num(V.storage_number));
  E.SetAttribute(VA(A_Var::Tariff), Num(V.tarif));
  E.SetAttribute(VA(A_Var::VIFE), Num(V.Type_Data_Vife));
  E.SetAttribute(VA(A_Var::ModScale), QStringLiteral("0"));
  E.SetAttribute(VA(A_Var::BCDtoINT), QStringLiteral("0"));
  E.SetAttribute(VA(A_Var::SWAP), QStringLiteral("0"));
}

template <class F, class... A>
bool Checked(const F& Fn, const A&... Args) {
  if (!Fn) return true;
  try {
    return Fn(Args...);
  } catch (...) {
    return true;  // a check state that cannot be read counts as checked
  }
}

}  // namespace

int32_t Export_Dim(uint8_t Data_Code) {
  switch (Data_Code) {
    case 1: case 9: return 0;
    case 2: case 10: return 1;
    case 3: case 11: return 4;
    case 4: case 12: return 2;
    case 5: return 6;
    case 6: case 14: return 5;
    case 7: return 3;
    case 13: return 7;
    default: return 255;
  }
}

int32_t Export_Registers(uint8_t Data_Code, int32_t Nbyte) {
  return core::net::Register_Count(Export_Dim(Data_Code), Nbyte);  // an unknown size takes one register
}

bool Save_XML_Conf_Wired(const TSaveConfXML& D, const QList<TSlave_MBus*>& Slaves, const TScan_Check_State& Checks) {
  if (Slaves.isEmpty()) return false;
  Check_SMN(D, Slaves.size());
  plat::TXMLDocument Doc;
  plat::TXMLNode Root = Open_Document(Doc, D);
  TRegisters R(D.Mod_Start);
  const int Cut = std::clamp(D.Cut_After - 1, 0, 249);  // the file holds the editor's item index
  for (qsizetype SI = 0; SI < Slaves.size(); ++SI) {
    const TSlave_MBus* S = Slaves[SI];
    if (!S) continue;
    const int I = int(SI);
    const QString What = QStringLiteral("slave %1").arg(I + 1);
    if (D.StartModnode == 1) R.Set(D.SMN_Array[size_t(I)]);
    plat::TXMLNode N = Root.AddChild(core::net::Node_Element_Name());
    N.SetAttribute(NA(A_Node::Node_Enable), Flag(Checked(Checks.Slave_Checked, I, *S)));
    if (D.XML_Code_Dev == 5) N.SetAttribute(NA(A_Node::ID), Num(S->Primary_Addresss));
    N.SetAttribute(NA(A_Node::ID_Primary), Num(S->Primary_Addresss));
    N.SetAttribute(NA(A_Node::ID_Secondary), Xml_Safe(S->Secondary_Addresss));
    N.SetAttribute(NA(A_Node::Node_ID_Type), Num(D.Node_ID_Type));
    N.SetAttribute(NA(A_Node::Descrizione), Xml_Safe(S->descManufacture));
    N.SetAttribute(NA(A_Node::Send_SND_NKE), Flag(D.SND_NKE == 1));
    N.SetAttribute(NA(A_Node::Reset_App), Flag(D.Reset_App == 1));
    N.SetAttribute(NA(A_Node::Cut_After), Num(Cut));
    if (D.XML_Code_Dev == 13 || D.XML_Code_Dev == 14) N.SetAttribute(NA(A_Node::MBus_Type), QStringLiteral("1"));
    Node_Registers(N, D, R, What);
    for (size_t VI = 0; VI < S->List_Var.size(); ++VI) {
      const TVariable_MBus& V = S->List_Var[VI];
      const bool Enabled = Checked(Checks.Record_Checked, I, int(VI), V);
      Write_Record(N, V, int(VI) + 1, Enabled, D, R, QStringLiteral("slave %1, record %2").arg(I + 1).arg(VI + 1));
    }
  }
  Doc.SaveToFileOrRaise(D.File_Name);
  return true;
}

bool Save_XML_Conf_Wireless(const TSaveConfXML& D, const QList<TSlave_wMBus*>& Devices) {
  if (Devices.isEmpty()) return false;
  Check_SMN(D, Devices.size());
  plat::TXMLDocument Doc;
  plat::TXMLNode Root = Open_Document(Doc, D);
  TRegisters R(D.Mod_Start);
  for (qsizetype SI = 0; SI < Devices.size(); ++SI) {
    const TSlave_wMBus* S = Devices[SI];
    if (!S) continue;
    const int I = int(SI);
    const QString What = QStringLiteral("device %1").arg(I + 1);
    if (D.StartModnode == 1) R.Set(D.SMN_Array[size_t(I)]);
    plat::TXMLNode N = Root.AddChild(core::net::Node_Element_Name());
    N.SetAttribute(NA(A_Node::Node_Enable), Flag(S->Enable));
    if (D.XML_Code_Dev == 5) N.SetAttribute(NA(A_Node::ID), QStringLiteral("1"));
    N.SetAttribute(NA(A_Node::ID_Primary), QStringLiteral("1"));
    N.SetAttribute(NA(A_Node::ID_Secondary), QStringLiteral("1"));
    N.SetAttribute(NA(A_Node::Node_ID_Type), QStringLiteral("0"));
    N.SetAttribute(NA(A_Node::Descrizione), Xml_Safe(S->ALA_Manu_str));
    N.SetAttribute(NA(A_Node::Send_SND_NKE), QStringLiteral("0"));
    N.SetAttribute(NA(A_Node::Reset_App), QStringLiteral("0"));
    N.SetAttribute(NA(A_Node::Cut_After), QStringLiteral("3"));
    Node_Registers(N, D, R, What);
    N.SetAttribute(NA(A_Node::MBus_Type), QStringLiteral("0"));
    N.SetAttribute(NA(A_Node::wMBus_ManID), Num(S->ALA_Manufacturer));
    N.SetAttribute(NA(A_Node::wMBus_Add), Num(S->ALA_Address));
    N.SetAttribute(NA(A_Node::wMBus_Ver), Num(S->ALA_Version));
    N.SetAttribute(NA(A_Node::wMBus_DevType), Num(S->ALA_DeviceType));
    N.SetAttribute(NA(A_Node::wMBus_En_Key), Flag(S->Enable_Key));
    for (int K = 0; K < 16; ++K) N.SetAttribute(NA(A_Node(int(A_Node::wMBus_Key_1) + K)), Num(S->Key[size_t(K)]));
    for (size_t VI = 0; VI < S->List_Var.size(); ++VI) {
      const TVariable_MBus& V = S->List_Var[VI];
      if (!V.Real_Wireless_Var) continue;
      Write_Record(N, V, int(VI) + 1, V.Enable, D, R, QStringLiteral("device %1, record %2").arg(I + 1).arg(VI + 1));
    }
  }
  Doc.SaveToFileOrRaise(D.File_Name);
  return true;
}
