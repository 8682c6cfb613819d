#include "core/network_nodes.h"

#include "core/compiler_error.h"
#include "core/device_model.h"
#include "platform/io/files.h"
#include "platform/xml/xmldocument.h"

namespace core::bank {

namespace {

template <class A>
const QString& Name(A a) {
  return net::Attr_Name(a);
}

// Fills the image records of one format; knows where it is for the messages.
struct Filler {
  Bank_Format fmt;
  int nodeNumber = 0;
  int varNumber = 0;  // 0 while filling the node record

  QString Where() const {
    return varNumber ? QStringLiteral("M_Bus.xml, node %1, variable %2").arg(nodeNumber).arg(varNumber)
                     : QStringLiteral("M_Bus.xml, node %1").arg(nodeNumber);
  }
  // A Modbus register or other 16-bit value that must not wrap.
  uint16_t Reg(int32_t x, const QString& name) const {
    if (x < 0 || x > 0xFFFF)
      throw ECompileError(QStringLiteral("%1: %2 = %3 is outside 0..65535.").arg(Where(), name).arg(x));
    return uint16_t(x);
  }
  uint8_t Byte_Checked(int32_t x, const QString& name, int lo, int hi) const {
    if (x < lo || x > hi)
      throw ECompileError(QStringLiteral("%1: %2 = %3 is outside %4..%5.").arg(Where(), name).arg(x).arg(lo).arg(hi));
    return uint8_t(x);
  }

  uint32_t Wired_Address(const net::TNodo& s, uint8_t idType) const {
    const int64_t id = idType != 0 ? s.Node_Sec : s.Node_Pri;
    if (idType != 0 && (id < 0 || id > 99999999))
      throw ECompileError(QStringLiteral("%1: the secondary address %2 is outside 0..99999999.").arg(Where()).arg(id));
    if (idType == 0 && (id < 0 || id > 255))
      throw ECompileError(QStringLiteral("%1: the primary address %2 is outside 0..255.").arg(Where()).arg(id));
    return uint32_t(id);
  }

  TNodo Node(const net::TNodo& s, bool wireless) const {
    TNodo n;
    n.Wireless = wireless;
    n.Source_Index = nodeNumber;
    if (!wireless) {
      n.ID_Type = uint8_t(s.Node_ID_Type);
      n.ID = Wired_Address(s, n.ID_Type);
      n.SND_NKE = uint8_t(s.Send_SNK);
      n.Reset_App = uint8_t(s.Reset_App);
      // Without a readable Cut_After the converter reads up to 250 telegrams.
      n.Cut_After = (s.Unread & net::Bit(net::TNode_Attr::Cut_After))
                        ? 250
                        : Byte_Checked(s.Cut_After, Name(net::TNode_Attr::Cut_After), 0, 254) + 1;
    } else {
      n.ID = net::Wireless_Ident(s).Address;
      n.RSSI = Reg(s.RSSI, Name(net::TNode_Attr::wMBus_RSSI));
    }
    n.Node_State = Reg(s.Node_State, Name(net::TNode_Attr::Node_State));
    n.Ident_Num = Reg(s.Ident_Num, Name(net::TNode_Attr::Ident_Num));
    n.BCDtoINT_IN = uint8_t(s.BCDtoINT_IN);
    n.Swap_IN = uint8_t(s.Swap_Ident);
    n.Var_Type = uint8_t(s.Var_List_Type);
    if (fmt != Bank_Format::Standard) {
      n.Mamu_Spec_Data = Reg(s.Manufacturer_Spec, Name(net::TNode_Attr::Manufacturer_Specific_Data));
      n.MSD_Length = uint8_t(s.MSD_Length);
      n.MSD_Offset = uint8_t(s.MSD_Offset);
    }
    if (fmt == Bank_Format::With_Header || fmt == Bank_Format::Network)
      n.Access_Number = Reg(s.Access_Number, Name(net::TNode_Attr::Access_Number));
    return n;
  }

  static TwMBus_Slot Slot(const net::TNodo& s) {
    const net::TWireless_Ident w = net::Wireless_Ident(s);
    TwMBus_Slot slot;
    slot.ManID = w.ManID;
    slot.Address = w.Address;
    slot.Version = w.Version;
    slot.Dev_Type = w.Dev_Type;
    slot.Key_Enable = uint8_t(s.wMBus_En_Key);
    slot.Key = w.Key;
    return slot;
  }

  static void Put_VIF_ASCII(TVariabile& v, const QString& text) {
    v.Len_VIF_ASCII = uint8_t(text.size());
    v.VIF_ASCII.resize(std::size_t(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i)
      v.VIF_ASCII[std::size_t(text.size() - 1 - i)] = char(uint8_t(text.at(i).unicode() & 0xFF));
  }

  TVariabile Var(const net::TVariabile& s, const TNodo& node) const {
    if (s.Fault_Attr != net::TVar_Attr::Count) throw ECompileError(net::Fault_Message(s, nodeNumber, varNumber));
    TVariabile v;
    v.Type_Of_Data = uint8_t(s.Type_Of_Data);
    const int32_t fun = s.Function_Field == 1 ? 2 : s.Function_Field == 2 ? 1 : s.Function_Field;
    v.Function_Field = uint8_t(fun);
    v.Dimension = uint8_t(s.Dimension);
    v.Unita = uint8_t(s.Unita);
    v.Storage_Num = s.Storage_Number;
    v.Tarif = s.Tariff;
    v.VIFE = s.VIFE;
    if (s.BCDtoINT) v.Options |= Opt_BCDtoINT;
    if (v.Type_Of_Data == 21) {
      if (s.VIF_ASCII.size() > 255)
        throw ECompileError(QStringLiteral("%1: the %2 text is longer than 255 characters.")
                                .arg(Where(), Name(net::TVar_Attr::VIF_ASCII)));
      Put_VIF_ASCII(v, s.VIF_ASCII);
    }
    v.Length = v.Dimension == 7 ? uint8_t(s.Length) : 0;
    if (s.Conv_Float) v.Options |= Opt_Conv_Float;
    if (fmt != Bank_Format::Standard && s.Force_Int32) v.Options |= Opt_Force_Int32;
    if (s.TP_Mod_Regs) v.Options |= Opt_TP_Mod_Regs;
    v.Position = Byte_Checked(s.Position, Name(net::TVar_Attr::Position), 0, 255);
    if (fmt != Bank_Format::Standard) v.Post_Ope = uint8_t(s.Post_Operation);
    // The registers the image publishes must fit their 16-bit fields.
    v.Modbus_Register = uint16_t(s.Modbus_Register);
    v.Modbus_Scale = uint16_t(s.Modbus_Scale);
    v.TP_Mod_Year = uint16_t(s.TP_Mod_Year);
    if (Is_Time_Point(fmt, node, v))
      Reg(s.TP_Mod_Year, Name(net::TVar_Attr::TP_Mod_Year));
    else
      Reg(s.Modbus_Register, Name(net::TVar_Attr::ModReg));
    if (!(v.Options & Opt_Conv_Float)) Reg(s.Modbus_Scale, Name(net::TVar_Attr::ModScale));
    return v;
  }
};

}  // namespace

std::optional<net::TNetwork> Load_Network_For_Compile(const QString& fileMBus, int deviceType) {
  if (plat::FileAbsent(fileMBus)) return std::nullopt;
  // Read as the file loads; reading it all never stops at a fault, so an error is the file's own.
  net::TRead_Result r = net::Load_Network(fileMBus, deviceType, net::TRead_Mode::Read_All);
  if (!r.Error.isEmpty()) throw ECompileError(QStringLiteral("M_Bus.xml cannot be read: %1").arg(r.Error));
  return std::move(r.Network);
}

Bank_Network Collect(Bank_Format fmt, int deviceType, const std::optional<net::TNetwork>& mbus,
                     const TParGen_Numbers& par) {
  Bank_Network out;
  if (!mbus) return out;
  const bool network = fmt == Bank_Format::Network;
  // Wired nodes go into bank2.bin only with the M-Bus line present; the wired-only types always have it.
  const bool wiredPresent = !network || !net::Has_Wireless_Side(deviceType) || par.Sel_Dev_MBus_Present == 1;
  Filler f{fmt};
  for (const net::TNodo& s : mbus->Nodi_List) {
    ++f.nodeNumber;
    f.varNumber = 0;
    if (s.Enable != 1) continue;
    const bool wireless = network && net::Is_Wireless(s, deviceType);
    if (!wireless && !wiredPresent) continue;
    TNodo* rec = nullptr;
    for (const net::TVariabile& sv : s.Var_List) {
      ++f.varNumber;
      if (!sv.Enable) continue;
      if (!rec) {
        const int vi = f.varNumber;
        f.varNumber = 0;
        TNodo n = f.Node(s, wireless);
        if (wireless) {
          if (out.Nodi_Wireless.size() >= std::size_t(Max_Wireless_Nodes))
            throw ECompileError(QStringLiteral("%1: more than %2 wireless nodes; the converter has %2 wireless slots.")
                                    .arg(f.Where())
                                    .arg(Max_Wireless_Nodes));
          out.wMBus_Slots.push_back(Filler::Slot(s));
          out.Nodi_Wireless.push_back(std::move(n));
          rec = &out.Nodi_Wireless.back();
        } else {
          out.Nodi_Wired.push_back(std::move(n));
          rec = &out.Nodi_Wired.back();
        }
        f.varNumber = vi;
      }
      rec->Vars.push_back(f.Var(sv, *rec));
    }
  }
  return out;
}

}  // namespace core::bank
