#include "core/bank_images.h"

#include <cstring>

#include "core/byte_writer.h"
#include "core/compiler_error.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/strutils.h"

namespace core::bank {

// ---------------------------------------------------------------------------------------------------------
// ParGen.xml values

void ParGen_Values::Add(const QString& name, const QString& text) {
  for (const auto& e : elems_)
    if (e.first == name) return;
  elems_.emplace_back(name, text);
}

const QString* ParGen_Values::Find(QLatin1StringView name) const {
  for (const auto& e : elems_)
    if (e.first == name) return &e.second;
  return nullptr;
}

namespace {
const QString& Existing(const ParGen_Values& par, const char* name) {
  const QString* t = par.Find(QLatin1StringView(name));
  if (!t) throw ECompileError(QStringLiteral("ParGen.xml: the element %1 is missing.").arg(QLatin1String(name)));
  return *t;
}

QString Convert_Message(const QString& text) {
  try {
    plat::StrToInt(text);
  } catch (const plat::EConvertError& e) {
    return e.Message();
  }
  return QStringLiteral("'%1' is not a valid integer value").arg(text);
}
}  // namespace

int32_t ParGen_Values::Required(const char* name) const {
  const QString& t = Existing(*this, name);
  int v = 0;
  if (!plat::TryStrToInt(t, v))
    throw ECompileError(QStringLiteral("ParGen.xml, element %1: %2").arg(QLatin1String(name), Convert_Message(t)));
  return v;
}

int32_t ParGen_Values::Or_Default(const char* name, int32_t d) const {
  int v = 0;
  return plat::TryStrToInt(Existing(*this, name), v) ? v : d;
}

int32_t ParGen_Values::Readable(const char* name, int32_t d) const {
  const QString* t = Find(QLatin1StringView(name));
  int v = 0;
  return t && plat::TryStrToInt(*t, v) ? v : d;
}

bool ParGen_Values::Flag(const char* name) const {
  const QString* t = Find(QLatin1StringView(name));
  return t && *t == u"1";
}

// ---------------------------------------------------------------------------------------------------------
// Small helpers

namespace {

void Put8(uint8_t* p, std::size_t off, uint32_t v) { p[off] = static_cast<uint8_t>(v); }
void Put16(uint8_t* p, std::size_t off, uint32_t v) {
  p[off] = static_cast<uint8_t>(v);
  p[off + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, std::size_t off, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[off + i] = static_cast<uint8_t>(v >> (8 * i));
}
void Put4B(uint8_t* p, std::size_t off, uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
  p[off] = a;
  p[off + 1] = b;
  p[off + 2] = c;
  p[off + 3] = d;
}

bool Is_Device(int t, std::initializer_list<int> set) {
  for (int x : set)
    if (x == t) return true;
  return false;
}

uint32_t Meter_Baud_Rate(int32_t index) {
  static const uint32_t rates[8] = {300, 600, 1200, 2400, 4800, 9600, 19200, 38400};
  return index >= 0 && index < 8 ? rates[index] : 2400;
}

uint32_t Modbus_Baud_Rate(int32_t index) {
  static const uint32_t rates[8] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
  return index >= 0 && index < 8 ? rates[index] : 115200;
}

// Parity index as the firmware counts it: 0 stays 0, n becomes n + 1.
uint8_t Parity_Code(int32_t n) { return static_cast<uint8_t>(n == 0 ? 0 : n + 1); }

// Minutes to milliseconds, refused where the 32-bit field would wrap.
uint32_t Timeout_Ms(int32_t minutes) {
  const int64_t ms = int64_t(minutes) * 60000;
  if (ms < 0 || ms > int64_t(UINT32_MAX))
    throw ECompileError(QStringLiteral("ParGen.xml: the TCP connection time-out of %1 minutes is out of range.").arg(minutes));
  return static_cast<uint32_t>(ms);
}

uint32_t C_Field(const ParGen_Values& par) {
  uint32_t c = par.Flag("Enable_Use_Fix_C_Field") ? 0x80 : 0;
  return c | (par.Readable("Use_Fix_C_Field_Value", 0) == 0 ? 0x5B : 0x7B);
}

struct Address4 {
  uint8_t b[4];
};

Address4 Read_Address(const ParGen_Values& par, const char* n1, const char* n2, const char* n3, const char* n4) {
  return Address4{{static_cast<uint8_t>(par.Required(n1)), static_cast<uint8_t>(par.Required(n2)),
                   static_cast<uint8_t>(par.Required(n3)), static_cast<uint8_t>(par.Required(n4))}};
}

struct IP_Settings {
  Address4 ip, sm, ga;
};

IP_Settings Read_IP_Settings(const ParGen_Values& par) {
  return IP_Settings{Read_Address(par, "IP_1", "IP_2", "IP_3", "IP_4"), Read_Address(par, "SM_1", "SM_2", "SM_3", "SM_4"),
                     Read_Address(par, "GA_1", "GA_2", "GA_3", "GA_4")};
}

// The addresses at offsets 40, 44 and 48 of a parameter record; a disabled gateway is stored as all ones.
void Put_IP_Settings(uint8_t* p, const ParGen_Values& par) {
  IP_Settings a = Read_IP_Settings(par);
  if (par.Required("Gat_Enable") == 0) a.ga = Address4{{0xFF, 0xFF, 0xFF, 0xFF}};
  auto put = [p](std::size_t off, const Address4& x) { Put4B(p, off, x.b[0], x.b[1], x.b[2], x.b[3]); };
  put(40, a.ip);
  put(44, a.sm);
  put(48, a.ga);
}

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

// Parameter block, Ethernet form (24 bytes). Where the device has no TCP port of its own the block holds 502,
// and a request type of 0 where the device has no choice of it.
void Write_Ethernet_Block(ByteWriter& w, const ParGen_Values& par, uint32_t nodes, uint32_t entries,
                          bool ownPort = true, bool ownReqType = true) {
  const IP_Settings a = Read_IP_Settings(par);
  w.Bytes(a.ip.b, 4);
  w.Bytes(a.sm.b, 4);
  w.Bytes(a.ga.b, 4);
  w.U8(uint32_t(par.Required("Gat_Enable")));
  w.U16(ownPort ? uint32_t(par.Required("TCP_Port")) : 502);
  w.U8(uint32_t(par.Required("Meter_Baud")));
  w.U8(uint32_t(par.Required("Meter_Par")));
  w.U8(ownReqType ? uint32_t(par.Required("Meter_Req_Type")) : 0);
  w.U16(uint32_t(par.Required("Meter_Req_Delay")));
  w.U8(nodes);
  w.U16(entries);
  w.U8(uint32_t(par.Readable("Node_State", 0xFF)));
}

// Parameter block, serial form (14 bytes; the last byte is the node-state value, as in the Ethernet form).
void Write_Serial_Block(ByteWriter& w, const ParGen_Values& par, int deviceType, uint32_t nodes, uint32_t entries) {
  uint32_t ports = 0;
  if (deviceType == 4) {
    const int32_t modSer = par.Required("Mod_Ser");
    const int32_t mbusSer = par.Required("MBUS_Ser");
    if (modSer == 1 && mbusSer == 0) ports = 0;
    else if (modSer == 0 && mbusSer == 1) ports = 1;
    else if (modSer == 0 && mbusSer == 0) ports = 2;
    else ports = 0;
  } else if (deviceType == 5) {
    ports = 1;
  } else {
    ports = uint32_t(par.Required("Mod_Ser"));
  }
  w.U8(ports);
  w.U8(uint32_t(par.Required("Mod_Baud")));
  w.U8(uint32_t(par.Required("Mod_Par")));
  w.U8(uint32_t(par.Required("Mod_Id")));
  const int32_t protocol = par.Required("Mod_Protocol");
  // Outside the window's list the byte is Modbus RTU, the window's default.
  w.U8(protocol == 1 || protocol == 4 ? 1 : 0);
  w.U8(uint32_t(par.Required("Meter_Baud")));
  w.U8(uint32_t(par.Required("Meter_Par")));
  w.U8(uint32_t(par.Required("Meter_Req_Type")));
  w.U16(uint32_t(par.Required("Meter_Req_Delay")));
  w.U8(nodes);
  w.U16(entries);
  w.U8(uint32_t(par.Readable("Node_State", 0xFF)));
}

// Gen_Par_Header, filled from ParGen.xml by the format with header.
void Fill_Header(Gen_Par_Header_Record& h, const ParGen_Values& par, int deviceType) {
  uint8_t* p = h.data();
  Put_IP_Settings(p, par);
  const uint32_t port = uint16_t(par.Required("TCP_Port"));
  const int32_t meterBaud = par.Required("Meter_Baud");
  const int32_t meterPar = par.Required("Meter_Par");
  const int32_t reqType = par.Required("Meter_Req_Type");
  Put32(p, 12, Meter_Baud_Rate(meterBaud));
  Put16(p, 18, Parity_Code(meterPar));
  Put16(p, 54, port);
  Put16(p, 56, port);
  Put32(p, 60, Meter_Baud_Rate(meterBaud));
  Put16(p, 66, Parity_Code(meterPar));
  Put32(p, 172, Timeout_Ms(par.Readable("TCP_Conn_TimeOut", 2)));
  Put32(p, 176, C_Field(par));
  Put8(p, 180, deviceType == 1 && reqType == 0 && par.Flag("Reply_Exception_Until_First_Read") ? 1 : 0);
}

// Gen_Par, filled from ParGen.xml by the network format.
void Fill_Gen_Par(Gen_Par_Record& g, const ParGen_Values& par, int deviceType) {
  uint8_t* p = g.data();
  const bool serialSide = Is_Device(deviceType, {2, 3, 6});
  const bool tcpSide = Is_Device(deviceType, {7, 1007});
  if (serialSide) Put32(p, 20, uint8_t(par.Or_Default("Mod_Id", 1)));
  Put_IP_Settings(p, par);
  const uint32_t port = tcpSide ? uint16_t(par.Required("TCP_Port")) : 502;
  Put16(p, 54, port);
  Put16(p, 56, port);
  if (serialSide) Put8(p, 59, 4);
  else if (Is_Device(deviceType, {1, 7, 1007})) Put8(p, 59, 2);
  if (serialSide) Put32(p, 496, Modbus_Baud_Rate(par.Or_Default("Mod_Baud", 7)));
  Put32(p, 504, 19200);
  const int32_t reqType = Is_Device(deviceType, {1, 1001, 2, 3}) ? par.Required("Meter_Req_Type") : 0;
  Put32(p, 508, Meter_Baud_Rate(par.Required("Meter_Baud")));
  if (serialSide) Put8(p, 520, Parity_Code(par.Or_Default("Mod_Par", 0)));
  Put8(p, 522, 0);
  Put8(p, 523, Parity_Code(par.Required("Meter_Par")));
  if (serialSide) {
    // Stop bits of the Modbus port: 1 or 2; anything else (an unselected list stores -1) gives 1.
    const int32_t stop = par.Readable("Mod_StopBit", 0) + 1;
    Put8(p, 526, stop >= 1 && stop <= 2 ? uint32_t(stop) : 1);
  }
  Put8(p, 528, 1);
  Put8(p, 534, 8);
  static const uint8_t modes[5] = {1, 5, 15, 17, 11};
  const int32_t mode = par.Readable("wMBus_Mode", 0);
  Put8(p, 568, mode >= 0 && mode < 5 ? modes[mode] : 1);
  Put8(p, 582, uint32_t(par.Readable("wMBus_Radio_Channel", 0)));
  Put8(p, 584, 3);
  Put8(p, 585, 5);
  Put8(p, 586, 5);
  if (tcpSide) Put32(p, 600, Timeout_Ms(par.Readable("TCP_Conn_TimeOut", 2)));
  Put32(p, 728, C_Field(par));
  Put8(p, 736, deviceType == 1 && reqType == 0 && par.Flag("Reply_Exception_Until_First_Read") ? 1 : 0);
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

uint32_t Bank_Checksum(const uint8_t* data, std::size_t n) {
  uint32_t sum = 0;
  for (std::size_t i = 0; i < n; ++i) sum += data[i];
  return sum;
}

bool Is_Time_Point(Bank_Format fmt, const TNodo& node, const TVariabile& var) {
  if (!(var.Options & Opt_TP_Mod_Regs)) return false;
  if (var.Type_Of_Data == 20) return true;
  return fmt == Bank_Format::Serial && node.Var_Type == 1;
}

void Reset_Gen_Par(Gen_Par_Record& g) {
  g.fill(0);
  uint8_t* p = g.data();
  Put32(p, 0, 250000);
  Put32(p, 4, 250000);
  Put32(p, 8, 9600);
  Put4B(p, 40, 192, 168, 0, 5);
  Put4B(p, 44, 255, 255, 255, 0);
  Put4B(p, 48, 255, 255, 255, 255);
  Put16(p, 52, 10000);
  Put8(p, 59, 1);
  Put32(p, 60, 9600);
  Put4B(p, 72, 192, 168, 0, 10);
  Put8(p, 526, 1);
  Put8(p, 529, 1);
  Put8(p, 532, 8);
  Put8(p, 535, 8);
  Put8(p, 570, 0xBF);
  Put8(p, 590, 1);
  Put32(p, 596, 0x68800);
  Put32(p, 600, 120000);
}

void Reset_Gen_Par_Header(Gen_Par_Header_Record& h) {
  h.fill(0);
  uint8_t* p = h.data();
  Put32(p, 20, 1);
  Put16(p, 52, 10000);
  Put32(p, 68, 1);
  Put32(p, 172, 180000);
}

namespace {

// The three-word formats: standard, with header and serial.
std::vector<uint8_t> Build_Three_Word(Bank_Format fmt, Bank_Network& net, const ParGen_Values& par, int deviceType) {
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
    w.U8(0x40);
  }
  w.U32(table);
  w.U32(0);
  w.U32(0);
  const Maps_Written m = Write_Body(w, s, nodes, places, nodes.size());
  w.PatchU32(base + 4, m.map1);
  w.PatchU32(base + 8, uint32_t(w.Pos()));
  if (par.Exists) {
    if (fmt == Bank_Format::Serial) Write_Serial_Block(w, par, deviceType, uint32_t(nodes.size()), m.entries1);
    else Write_Ethernet_Block(w, par, uint32_t(nodes.size()), m.entries1);
  }
  if (fmt == Bank_Format::With_Header) {
    Gen_Par_Header_Record h;
    Reset_Gen_Par_Header(h);
    if (par.Exists) Fill_Header(h, par, deviceType);
    Put16(h.data(), 58, 0x40);  // the image's lead byte
    std::memcpy(buf.data(), h.data(), h.size());
    std::memset(buf.data() + h.size(), 0, Gen_Par_Size - h.size());
    Put32(buf.data(), Gen_Par_Size, Bank_Checksum(buf.data(), Gen_Par_Size));
  }
  return buf;
}

}  // namespace

std::vector<uint8_t> Build_Bank_Std(Bank_Network& net, const ParGen_Values& par, int deviceType) {
  return Build_Three_Word(Bank_Format::Standard, net, par, deviceType);
}

std::vector<uint8_t> Build_Bank_B2(Bank_Network& net, const ParGen_Values& par, int deviceType) {
  return Build_Three_Word(Bank_Format::With_Header, net, par, deviceType);
}

std::vector<uint8_t> Build_Bank_Serial(Bank_Network& net, const ParGen_Values& par, int deviceType) {
  return Build_Three_Word(Bank_Format::Serial, net, par, deviceType);
}

std::vector<uint8_t> Build_Bank2_Net(Bank_Network& net, const ParGen_Values& par, int deviceType, Gen_Par_Record& genPar) {
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
  w.U8(0x40);
  w.U32(21);
  w.U32(0);
  w.U32(0);
  w.U32(21 + uint32_t(s.node_record) * wired);
  w.U32(0);
  const Maps_Written m = Write_Body(w, s, nodes, places, wired);
  w.PatchU32(5, m.map1);
  w.PatchU32(17, m.map2);
  w.PatchU32(9, uint32_t(w.Pos()));
  Put8(genPar.data(), 564, wireless);
  if (par.Exists) {
    Write_Ethernet_Block(w, par, wired, m.entries1, Is_Device(deviceType, {7, 1007}),
                         Is_Device(deviceType, {1, 1001, 2, 3}));
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
