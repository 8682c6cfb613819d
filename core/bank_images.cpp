#include "core/bank_images.h"

#include <cstring>

#include "core/byte_writer.h"
#include "core/compiler_error.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/strutils.h"

namespace core::bank {

namespace {

// ---------------------------------------------------------------------------------------------------------
// Per-format derived values

struct Format_Spec {
  Bank_Format fmt;
  const char* image;  // file name, for messages
  int node_record;
  int var_block;
  int map_entry;
  int tp_size;  // bytes and registers of a time point
};

const Format_Spec& Spec(Bank_Format f) {
  static const Format_Spec specs[4] = {
      {Bank_Format::Standard, "bank.bin", 20, 31, 13, 5},
      {Bank_Format::With_Header, "bank.bin", 29, 30, 14, 6},
      {Bank_Format::Serial, "bank.bin", 27, 30, 14, 6},
      {Bank_Format::Network, "bank2.bin", 31, 30, 14, 6},
  };
  return specs[static_cast<int>(f)];
}

uint32_t Value_Size(const Format_Spec& s, bool tp, const TVariabile& v) {
  if (tp) return uint32_t(s.tp_size);
  if (v.Options & (Opt_Conv_Float | Opt_Force_Int32)) return 4;
  switch (v.Dimension) {
    case 0: return 2;
    case 1: return 2;
    case 2: return 4;
    case 3: return 8;
    case 4: return 4;
    case 5: return 6;
    case 6: return 4;
    case 7: return v.Length;
    default: return 2;
  }
}

// A register holds two bytes of the value; a time point counts its size in registers as well as in bytes.
uint8_t Register_Count(const Format_Spec& s, bool tp, const TVariabile& v) {
  if (tp) return uint8_t(s.tp_size);
  return uint8_t((Value_Size(s, false, v) + 1) / 2);
}

uint8_t Field_Code(uint8_t dim) {
  static const uint8_t codes[8] = {1, 2, 4, 7, 3, 6, 5, 13};
  return dim < 8 ? codes[dim] : 2;
}

uint32_t Node_Address(const TNodo& n) {
  if (n.Wireless) return n.ID;
  if (n.ID_Type != 0) return Int_To_BCD(n.ID);
  return n.ID & 0xFF;
}

struct Var_Place {
  uint16_t value_off;
  uint16_t scale_off;
  bool tp;
};

QString Node_Text(const TNodo& n) {
  return n.Wireless ? QStringLiteral("wireless node %1").arg(n.Source_Index) : QStringLiteral("node %1").arg(n.Source_Index);
}

// One walk over all nodes (wired first, then wireless): the data-area offsets, Add and the VIF addresses.
std::vector<Var_Place> Layout(const Format_Spec& s, std::vector<TNodo*>& nodes, uint32_t tableStart) {
  std::size_t varCount = 0;
  for (TNodo* n : nodes) {
    if (n->Vars.size() > 0xFFFF)
      throw ECompileError(QStringLiteral("M_Bus.xml, %1: more than 65535 variables.").arg(Node_Text(*n)));
    varCount += n->Vars.size();
  }
  // Offsets are 32 bits; anything near that size is far past the buffer anyway.
  const uint64_t blocksStart = uint64_t(tableStart) + uint64_t(s.node_record) * nodes.size();
  if (blocksStart + uint64_t(s.var_block) * varCount > Bank_Buffer_Size)
    throw ECompileError(QStringLiteral("The image %1 would be larger than %2 bytes.")
                            .arg(QLatin1String(s.image)).arg(Bank_Buffer_Size));
  std::vector<Var_Place> places;
  places.reserve(varCount);
  uint32_t n32 = 0;  // data-area counter; every slot must end within 65536
  uint32_t add = uint32_t(blocksStart);
  uint32_t vif = uint32_t(blocksStart + uint64_t(s.var_block) * varCount);
  for (TNodo* n : nodes) {
    n->Add = add;
    add += uint32_t(n->Vars.size()) * uint32_t(s.var_block);
    n->Address_Arr_Calcolato = static_cast<uint16_t>(n32);
    if (n->Mamu_Spec_Data != 0) n32 += n->MSD_Length;
    int vi = 0;
    for (TVariabile& v : n->Vars) {
      ++vi;
      const bool tp = Is_Time_Point(s.fmt, *n, v);
      Var_Place p{static_cast<uint16_t>(n32), 0, tp};
      n32 += Value_Size(s, tp, v);
      p.scale_off = static_cast<uint16_t>(n32);
      n32 += 2;
      if (n32 > 0x10000)
        throw ECompileError(QStringLiteral("M_Bus.xml, %1, variable %2: the converter's data area of 65536 bytes is full.")
                                .arg(Node_Text(*n)).arg(vi));
      places.push_back(p);
      v.Address_VIF_ASCII = vif;
      vif += v.Len_VIF_ASCII;
    }
  }
  return places;
}

void Write_Node(ByteWriter& w, const TNodo& n, int size) {
  w.U8(n.ID_Type);
  w.BE32(Node_Address(n));
  w.U16(uint32_t(n.Vars.size()));
  w.U32(n.Add);
  w.U8(n.SND_NKE);
  w.U8(n.Reset_App);
  w.U16(n.Node_State);
  w.U16(n.Ident_Num);
  w.U8(n.BCDtoINT_IN);
  w.U8(n.Swap_IN);
  w.U8(n.Var_Type);
  if (size == 20) return;
  w.U8(n.Cut_After);
  w.U16(n.Mamu_Spec_Data);
  w.U8(n.MSD_Length);
  w.U8(n.MSD_Offset);
  w.U16(n.Address_Arr_Calcolato);
  if (size == 31) w.U16(n.RSSI);
  if (size >= 29) w.U16(n.Access_Number);
}

uint16_t Published_Register(const TVariabile& v, bool tp) { return tp ? v.TP_Mod_Year : v.Modbus_Register; }
uint16_t Published_Scale(const TVariabile& v) { return (v.Options & Opt_Conv_Float) ? 0 : v.Modbus_Scale; }

void Write_Var_Block(ByteWriter& w, const Format_Spec& s, const TVariabile& v, const Var_Place& p) {
  w.U8(v.Type_Of_Data);
  w.U8(v.Function_Field);
  w.U8(Field_Code(v.Dimension));
  w.U16(Published_Register(v, p.tp));
  w.U16(p.value_off);
  w.U16(Published_Scale(v));
  w.U16(p.scale_off);
  w.U8(v.Unita);
  w.U32(v.Storage_Num);
  w.U32(v.Tarif);
  w.U8(v.VIFE);
  if (s.var_block == 31) {
    w.U8((v.Options & Opt_BCDtoINT) ? 1 : 0);
    w.U8(v.Length);
    w.U8(v.Len_VIF_ASCII);
    w.U32(v.Address_VIF_ASCII);
    w.U8((v.Options & Opt_Conv_Float) ? 1 : 0);
    w.U8((v.Options & Opt_TP_Mod_Regs) ? 1 : 0);
    w.U8(v.Position);
  } else {
    w.U8(v.Length);
    w.U8(v.Len_VIF_ASCII);
    w.U32(v.Address_VIF_ASCII);
    w.U8(v.Options);
    w.U8(v.Position);
    w.U8(v.Post_Ope);
  }
}

void Write_Map_Entry(ByteWriter& w, const Format_Spec& s, const TNodo& n, const TVariabile& v, const Var_Place& p) {
  w.U16(Published_Register(v, p.tp));
  w.U8(Register_Count(s, p.tp, v));
  w.U16(p.value_off);
  w.BE32(Node_Address(n));
  w.U16(Published_Scale(v));
  w.U16(p.scale_off);
  if (s.map_entry == 14) w.U8(p.tp ? 1 : 0);
}

// Writes the blocks, the VIF texts and the map(s) of nodes [0, split) and [split, end); returns
// the map offsets and entry counts.
struct Maps_Written {
  uint32_t map1 = 0, map2 = 0;
  uint32_t entries1 = 0, entries2 = 0;
};

Maps_Written Write_Body(ByteWriter& w, const Format_Spec& s, const std::vector<TNodo*>& nodes,
                        const std::vector<Var_Place>& places, std::size_t split) {
  for (const TNodo* n : nodes) Write_Node(w, *n, s.node_record);
  std::size_t k = 0;
  for (const TNodo* n : nodes)
    for (const TVariabile& v : n->Vars) Write_Var_Block(w, s, v, places[k++]);
  for (const TNodo* n : nodes)
    for (const TVariabile& v : n->Vars) w.Bytes(reinterpret_cast<const uint8_t*>(v.VIF_ASCII.data()), v.Len_VIF_ASCII);
  Maps_Written m;
  k = 0;
  auto writeMap = [&](std::size_t from, std::size_t to, uint32_t& offset, uint32_t& entries) {
    offset = uint32_t(w.Pos());
    for (std::size_t i = from; i < to; ++i)
      for (const TVariabile& v : nodes[i]->Vars) {
        Write_Map_Entry(w, s, *nodes[i], v, places[k++]);
        ++entries;
      }
  };
  writeMap(0, split, m.map1, m.entries1);
  writeMap(split, nodes.size(), m.map2, m.entries2);
  if (m.entries1 > 0xFFFF || m.entries2 > 0xFFFF)
    throw ECompileError(QStringLiteral("The image %1 would have more than 65535 register-map entries.").arg(QLatin1String(s.image)));
  return m;
}

void Check_Node_Count(std::size_t count, const char* image, const char* what) {
  if (count > std::size_t(Max_Table_Nodes))
    throw ECompileError(QStringLiteral("The image %1 can hold at most %2 %3 nodes; the network has %4.")
                            .arg(QLatin1String(image)).arg(Max_Table_Nodes).arg(QLatin1String(what)).arg(count));
}

std::vector<TNodo*> Node_Order(Bank_Network& net, bool withWireless) {
  std::vector<TNodo*> all;
  all.reserve(net.Nodi_Wired.size() + (withWireless ? net.Nodi_Wireless.size() : 0));
  for (TNodo& n : net.Nodi_Wired) all.push_back(&n);
  if (withWireless)
    for (TNodo& n : net.Nodi_Wireless) all.push_back(&n);
  return all;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------------

uint32_t Int_To_BCD(uint32_t value) {
  uint32_t r = 0;
  for (int i = 0; i < 8; ++i) {
    r |= (value % 10) << (4 * i);
    value /= 10;
  }
  return r;
}

bool Is_Time_Point(Bank_Format fmt, const TNodo& node, const TVariabile& var) {
  if (!(var.Options & Opt_TP_Mod_Regs)) return false;
  if (var.Type_Of_Data == 20) return true;
  return fmt == Bank_Format::Serial && node.Var_Type == 1;
}

namespace {

// The three-word formats: standard, with header and serial.
std::vector<uint8_t> Build_Three_Word(Bank_Format fmt, Bank_Network& net, const TParGen_Numbers& par, int deviceType) {
  const Format_Spec& s = Spec(fmt);
  std::vector<TNodo*> nodes = Node_Order(net, false);
  Check_Node_Count(nodes.size(), s.image, "wired");
  const uint32_t base = fmt == Bank_Format::With_Header ? uint32_t(Bank_Block_Size) + 1 : 0;
  const uint32_t table = base + 12;
  std::vector<Var_Place> places = Layout(s, nodes, table);

  std::vector<uint8_t> buf;
  buf.reserve(Bank_Buffer_Size);
  ByteWriter w(buf, Bank_Buffer_Size, QLatin1String(s.image));
  if (fmt == Bank_Format::With_Header) {
    w.Zeros(Bank_Block_Size);  // the header, written last
    w.U8(Image_Lead_Byte);
  }
  w.U32(table);
  w.U32(0);
  w.U32(0);
  const Maps_Written m = Write_Body(w, s, nodes, places, nodes.size());
  w.PatchU32(base + 4, m.map1);
  w.PatchU32(base + 8, uint32_t(w.Pos()));
  if (par.Exists) {
    if (fmt == Bank_Format::Serial) Write_Serial_Block(w, par, deviceType, uint32_t(nodes.size()), m.entries1);
    else Write_Ethernet_Block(w, par, fmt, deviceType, uint32_t(nodes.size()), m.entries1);
  }
  if (fmt == Bank_Format::With_Header) Write_Header(buf.data(), par, deviceType);
  return buf;
}

}  // namespace

std::vector<uint8_t> Build_Bank_Std(Bank_Network& net, const TParGen_Numbers& par, int deviceType) {
  return Build_Three_Word(Bank_Format::Standard, net, par, deviceType);
}

std::vector<uint8_t> Build_Bank_B2(Bank_Network& net, const TParGen_Numbers& par, int deviceType) {
  return Build_Three_Word(Bank_Format::With_Header, net, par, deviceType);
}

std::vector<uint8_t> Build_Bank_Serial(Bank_Network& net, const TParGen_Numbers& par, int deviceType) {
  return Build_Three_Word(Bank_Format::Serial, net, par, deviceType);
}

std::vector<uint8_t> Build_Bank2_Net(Bank_Network& net, const TParGen_Numbers& par, int deviceType, Gen_Par_Record& genPar) {
  const Format_Spec& s = Spec(Bank_Format::Network);
  Check_Node_Count(net.Nodi_Wired.size(), s.image, "wired");
  if (net.Nodi_Wireless.size() > std::size_t(Max_Wireless_Nodes))
    throw ECompileError(QStringLiteral("The network has more than %1 wireless nodes.").arg(Max_Wireless_Nodes));
  std::vector<TNodo*> nodes = Node_Order(net, true);
  const uint32_t wired = uint32_t(net.Nodi_Wired.size());
  const uint32_t wireless = uint32_t(net.Nodi_Wireless.size());
  std::vector<Var_Place> places = Layout(s, nodes, 21);

  std::vector<uint8_t> buf;
  buf.reserve(Bank_Buffer_Size);
  ByteWriter w(buf, Bank_Buffer_Size, QLatin1String(s.image));
  w.U8(Image_Lead_Byte);
  w.U32(21);
  w.U32(0);
  w.U32(0);
  w.U32(21 + uint32_t(s.node_record) * wired);
  w.U32(0);
  const Maps_Written m = Write_Body(w, s, nodes, places, wired);
  w.PatchU32(5, m.map1);
  w.PatchU32(17, m.map2);
  w.PatchU32(9, uint32_t(w.Pos()));
  Set_Wireless_Count(genPar, wireless);
  if (par.Exists) {
    Write_Ethernet_Block(w, par, Bank_Format::Network, deviceType, wired, m.entries1);
    w.U8(wireless);
    w.U16(m.entries2);
    Fill_Gen_Par(genPar, par, deviceType);
  }
  return buf;
}

std::vector<uint8_t> Build_Bank1(const Gen_Par_Record& genPar, const std::vector<TwMBus_Slot>& slotList) {
  if (slotList.size() > std::size_t(Max_Wireless_Nodes))
    throw ECompileError(QStringLiteral("The network has more than %1 wireless nodes.").arg(Max_Wireless_Nodes));
  std::vector<uint8_t> buf;
  buf.reserve(Bank1_Size);
  ByteWriter w(buf, Bank1_Size, QStringLiteral("bank1.bin"));
  w.Bytes(genPar.data(), genPar.size());
  w.U32(Bank_Checksum(genPar.data(), genPar.size()));
  for (const TwMBus_Slot& s : slotList) {
    w.U16(s.ManID);
    w.U32(s.Address);
    w.U8(s.Version);
    w.U8(s.Dev_Type);
    w.Bytes(s.Key.data(), s.Key.size());
    w.U8(s.Key_Enable);
    w.Zeros(7);
  }
  w.Zeros(Bank1_Size - w.Pos());
  return buf;
}

}  // namespace core::bank
