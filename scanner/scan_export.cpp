#include "scanner/scan_export.h"

#include "platform/rtl/strutils.h"
#include "platform/xml/xmldocument.h"

#include <algorithm>

namespace {

QString Num(int64_t V) { return QString::number(V); }

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

// Node state and identification registers of a slave, given only with per-node start registers.
void Node_Registers(core::net::TNodo& N, const TSaveConfXML& D, TRegisters& R, const QString& What) {
  if (D.StartModnode != 1 || D.XML_Code_Dev == 5) return;
  N.Node_State = D.En_NodeState ? int32_t(R.Take(2, What)) : 0;
  N.Ident_Num = D.En_IdeNum ? int32_t(R.Take(1, What)) : 0;
}

core::net::TVariabile Record(const TVariable_MBus& V, int Position, bool Enabled, const TSaveConfXML& D,
                             TRegisters& R, const QString& What) {
  const bool Counted = D.StartModnode != 1 || Enabled;
  const int64_t Regs = Counted ? Export_Registers(V.dimension, V.nbyte) : 0;
  core::net::TVariabile E;
  E.Modbus_Register = int32_t(Counted ? R.Take(Regs, What) : R.Value());
  E.Enable = Enabled;
  E.Position = Position;
  E.Description = Xml_Safe(QStringLiteral("%1 (U%2S%3T%4)")
                               .arg(V.Desc_Type_Data())
                               .arg(V.device)
                               .arg(V.storage_number)
                               .arg(V.tarif));
  E.Type_Of_Data = V.type_data;
  E.VIF_ASCII = V.type_data == 21 ? Xml_Safe(V.VIF_ASCII()) : QString();
  static const int Fun[4] = {0, 2, 1, 3};  // the network editor lists minimum before maximum
  E.Function_Field = V.function_fild < 4 ? Fun[V.function_fild] : V.function_fild;
  // The length of a variable-length record is kept also when it takes no register now, so that ticking it in
  // the editor later compiles the right length.
  E.Length = V.dimension == 13 ? V.nbyte : 0;
  E.Dimension = Export_Dim(V.dimension);
  E.Unita = V.device;
  // The editor and the compiler read a storage number as 32 bits.
  E.Storage_Number = uint32_t(uint64_t(V.storage_number));
  E.Tariff = V.tarif;
  E.VIFE = uint8_t(V.Type_Data_Vife);
  return E;
}

// The fields every saved node has: enabled or not, the addresses, the description, what the scan sent.
core::net::TNodo Node(bool Enabled, int32_t Primary, int32_t Secondary, int32_t Id_Type, const QString& Description) {
  core::net::TNodo N;
  N.Enable = Enabled ? 1 : 0;
  N.Node_Pri = Primary;
  N.Node_Sec = Secondary;
  N.Node_ID_Type = Id_Type;
  N.Description = Xml_Safe(Description);
  N.MBus_Type = 1;
  return N;
}

// The identification number as the readers of the file take it: its decimal digits, or 1 (their default)
// when the meter reports hexadecimal digits.
int32_t Secondary_Value(const QString& Text) {
  int V = 1;
  return plat::TryStrToInt(Text, V) && V >= 0 ? V : 1;
}

bool Write(const TSaveConfXML& D, const core::net::TNetwork& Net, bool Wireless) {
  core::net::TWrite_Options O;
  O.Order = core::net::TAttr_Order::Scan_Export;
  O.Scan = Export_Layout(D, Wireless);
  O.Append = D.Append == 1;
  // The device type only selects the wireless attributes of the editor's order, which a scan does not use.
  const core::net::TWrite_Result R = core::net::Write_Network(D.File_Name, Net, 0, O);
  if (R.Status == core::net::TWrite_Status::Not_A_Network) throw EScanExportError(R.Error);
  if (!R.Ok()) throw plat::EXMLError(R.Error);
  return true;
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

core::net::TScan_Layout Export_Layout(const TSaveConfXML& D, bool Wireless) {
  core::net::TScan_Layout L;
  L.Wireless = Wireless;
  L.ID = D.XML_Code_Dev == 5;
  L.Wired_MBus_Type = D.XML_Code_Dev == 13 || D.XML_Code_Dev == 14;
  L.Node_Registers = D.StartModnode == 1 && D.XML_Code_Dev != 5;
  return L;
}

core::net::TNetwork Wired_Records(const TSaveConfXML& D, const QList<TSlave_MBus*>& Slaves,
                                  const TScan_Check_State& Checks) {
  Check_SMN(D, Slaves.size());
  core::net::TNetwork Net;
  TRegisters R(D.Mod_Start);
  const int Cut = std::clamp(D.Cut_After - 1, 0, 249);  // the file holds the editor's item index
  for (qsizetype SI = 0; SI < Slaves.size(); ++SI) {
    const TSlave_MBus* S = Slaves[SI];
    if (!S) continue;
    const int I = int(SI);
    const QString What = QStringLiteral("slave %1").arg(I + 1);
    if (D.StartModnode == 1) R.Set(D.SMN_Array[size_t(I)]);
    core::net::TNodo N = Node(Checked(Checks.Slave_Checked, I, *S), S->Primary_Addresss,
                              Secondary_Value(S->Secondary_Addresss), D.Node_ID_Type, S->descManufacture);
    N.Send_SNK = D.SND_NKE == 1 ? 1 : 0;
    N.Reset_App = D.Reset_App == 1 ? 1 : 0;
    N.Cut_After = Cut;
    Node_Registers(N, D, R, What);
    for (size_t VI = 0; VI < S->List_Var.size(); ++VI) {
      const TVariable_MBus& V = S->List_Var[VI];
      const bool Enabled = Checked(Checks.Record_Checked, I, int(VI), V);
      N.Var_List.push_back(
          Record(V, int(VI) + 1, Enabled, D, R, QStringLiteral("slave %1, record %2").arg(I + 1).arg(VI + 1)));
    }
    Net.Nodi_List.push_back(std::move(N));
  }
  return Net;
}

core::net::TNetwork Wireless_Records(const TSaveConfXML& D, const QList<TSlave_wMBus*>& Devices) {
  Check_SMN(D, Devices.size());
  core::net::TNetwork Net;
  TRegisters R(D.Mod_Start);
  for (qsizetype SI = 0; SI < Devices.size(); ++SI) {
    const TSlave_wMBus* S = Devices[SI];
    if (!S) continue;
    const int I = int(SI);
    const QString What = QStringLiteral("device %1").arg(I + 1);
    if (D.StartModnode == 1) R.Set(D.SMN_Array[size_t(I)]);
    core::net::TNodo N = Node(S->Enable, 1, 1, 0, S->ALA_Manu_str);
    N.Cut_After = 3;
    Node_Registers(N, D, R, What);
    N.MBus_Type = 0;
    N.wMBus_ManID = Num(S->ALA_Manufacturer);
    N.wMBus_Add = Num(S->ALA_Address);
    N.wMBus_Ver = Num(S->ALA_Version);
    N.wMBus_DevType = Num(S->ALA_DeviceType);
    N.wMBus_En_Key = S->Enable_Key ? 1 : 0;
    for (size_t K = 0; K < 16; ++K) N.wMBus_Key[K] = Num(S->Key[K]);
    for (size_t VI = 0; VI < S->List_Var.size(); ++VI) {
      const TVariable_MBus& V = S->List_Var[VI];
      if (!V.Real_Wireless_Var) continue;
      N.Var_List.push_back(
          Record(V, int(VI) + 1, V.Enable, D, R, QStringLiteral("device %1, record %2").arg(I + 1).arg(VI + 1)));
    }
    Net.Nodi_List.push_back(std::move(N));
  }
  return Net;
}

bool Save_XML_Conf_Wired(const TSaveConfXML& D, const QList<TSlave_MBus*>& Slaves, const TScan_Check_State& Checks) {
  if (Slaves.isEmpty()) return false;
  return Write(D, Wired_Records(D, Slaves, Checks), false);
}

bool Save_XML_Conf_Wireless(const TSaveConfXML& D, const QList<TSlave_wMBus*>& Devices) {
  if (Devices.isEmpty()) return false;
  return Write(D, Wireless_Records(D, Devices), true);
}
