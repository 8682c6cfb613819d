#include "core/gen_par.h"

#include <cstring>
#include <vector>

#include "platform/rtl/strutils.h"

namespace core::bank {
namespace {

using E = pargen::TParGen_Element;

// ---------------------------------------------------------------------------------------------------------
// Reading: what each image cannot do without

// How an image needs an element: as a number it has no fallback for, or only present (a text that is not a
// number then gives the value's default). Elements an image does not list give their default when they are
// missing or not a number.
enum class TNeed { Number, Present };

struct TElement_Need {
  E Element;
  TNeed Need;
};

using TNeeds = std::vector<TElement_Need>;

void Add(TNeeds& needs, std::initializer_list<E> elements, TNeed need = TNeed::Number) {
  for (E e : elements) needs.push_back({e, need});
}

void Add_Addresses(TNeeds& needs) {
  Add(needs, {E::IP_1, E::IP_2, E::IP_3, E::IP_4, E::SM_1, E::SM_2, E::SM_3, E::SM_4, E::GA_1, E::GA_2, E::GA_3,
              E::GA_4, E::Gat_Enable});
}

// The parameters of the network image have a TCP port and a time-out of their own only where that image is the
// device's only one and its Modbus side is TCP; types 1 and 1001 keep theirs in bank.bin.
bool Gen_Par_Has_TCP(const TDevice_Model& m) {
  return m.Modbus == TModbus_Side::Tcp && m.Banks[0] == TBank_Set::Network;
}
// Only the wired-only models let the user choose how the M-Bus line is polled.
bool Has_Polling_Choice(const TDevice_Model& m) { return !m.Wireless; }
bool Serial_Modbus(const TDevice_Model& m) { return m.Modbus == TModbus_Side::Serial; }

// In the order the images use the elements, so that of several faults the first one met is reported.
void Add_Needs(TNeeds& needs, Bank_Format fmt, const TDevice_Model& m) {
  const bool network = fmt == Bank_Format::Network;
  if (fmt == Bank_Format::Serial) {
    if (m.Serial_Ports == TSerial_Ports::Modbus_And_MBus) Add(needs, {E::Mod_Ser, E::MBUS_Ser});
    else if (m.Serial_Ports == TSerial_Ports::Modbus_Choice) Add(needs, {E::Mod_Ser});
    Add(needs, {E::Mod_Baud, E::Mod_Par, E::Mod_Id, E::Mod_Protocol, E::Meter_Baud, E::Meter_Par, E::Meter_Req_Type,
                E::Meter_Req_Delay});
    return;
  }
  Add_Addresses(needs);
  if (!network || Gen_Par_Has_TCP(m)) Add(needs, {E::TCP_Port});
  Add(needs, {E::Meter_Baud, E::Meter_Par});
  if (!network || Has_Polling_Choice(m)) Add(needs, {E::Meter_Req_Type});
  Add(needs, {E::Meter_Req_Delay});
  if (network && Serial_Modbus(m)) Add(needs, {E::Mod_Id, E::Mod_Baud, E::Mod_Par}, TNeed::Present);
}

void Check(const pargen::TParGen_File& file, TElement_Need n) {
  const std::optional<QString>& text = file.Text(n.Element);
  const QString name = pargen::Element_Name(n.Element);
  if (!text) throw ECompileError(QStringLiteral("ParGen.xml: the element %1 is missing.").arg(name));
  if (n.Need == TNeed::Number && !file.Number(n.Element))
    throw ECompileError(QStringLiteral("ParGen.xml, element %1: %2").arg(name, plat::NotIntegerMessage(*text)));
}

// ---------------------------------------------------------------------------------------------------------
// Writing

void Put8(uint8_t* p, std::size_t off, uint32_t v) { p[off] = static_cast<uint8_t>(v); }
void Put16(uint8_t* p, std::size_t off, uint32_t v) {
  p[off] = static_cast<uint8_t>(v);
  p[off + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, std::size_t off, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[off + i] = static_cast<uint8_t>(v >> (8 * i));
}
void Put_Address(uint8_t* p, std::size_t off, const std::array<uint8_t, 4>& a) { std::memcpy(p + off, a.data(), 4); }

// Offsets of the fields of Gen_Par (bank1.bin). The serial ports are numbered 0 to 5: port 0 is the Modbus
// line, port 3 the M-Bus line.
enum TGen_Par_Offset : std::size_t {
  GP_Modbus_Id = 20,
  GP_IP = 40,
  GP_Mask = 44,
  GP_Gateway = 48,
  GP_Application_Port = 52,  // the converter's own port, which the Modbus TCP port must not take
  GP_TCP_Port = 54,
  GP_TCP_Port_Copy = 56,
  GP_Modbus_Code = 59,
  GP_Baud = 496,       // 32 bits per port
  GP_Parity = 520,     // 8 bits per port
  GP_Stop_Bits = 526,  // 8 bits per port
  GP_Data_Bits = 532,  // 8 bits per port
  GP_Wireless_Count = 564,
  GP_wMBus_Mode = 568,
  GP_Radio_Channel = 582,
  GP_Radio_Fixed = 584,  // three bytes the radio firmware expects: 3, 5, 5
  GP_TCP_TimeOut = 600,
  GP_C_Field = 728,
  GP_Reply_Exception = 736,
};
constexpr std::size_t Modbus_Port = 0;
constexpr std::size_t Port_2 = 2;
constexpr std::size_t MBus_Port = 3;

// Offsets of the fields of the header record.
enum THeader_Offset : std::size_t {
  HD_Baud = 12,
  HD_Parity = 18,
  HD_IP = 40,
  HD_Mask = 44,
  HD_Gateway = 48,
  HD_Application_Port = 52,
  HD_TCP_Port = 54,
  HD_TCP_Port_Copy = 56,
  HD_Lead_Byte = 58,
  HD_Baud_Copy = 60,
  HD_Parity_Copy = 66,
  HD_TCP_TimeOut = 172,
  HD_C_Field = 176,
  HD_Reply_Exception = 180,
};

// The port the converter keeps where the settings have none of their own.
constexpr uint32_t Default_TCP_Port = 502;

uint32_t Meter_Baud_Rate(int32_t index) { return index >= 0 && index < 8 ? Meter_Baud_Rates[index] : 2400; }
uint32_t Modbus_Baud_Rate(int32_t index) { return index >= 0 && index < 8 ? Modbus_Baud_Rates[index] : 115200; }

// Parity index as the firmware counts it: 0 stays 0, n becomes n + 1.
uint8_t Parity_Code(int32_t n) { return static_cast<uint8_t>(n == 0 ? 0 : n + 1); }

// Minutes to milliseconds, refused where the 32-bit field would wrap.
uint32_t Timeout_Ms(int32_t minutes) {
  const int64_t ms = int64_t(minutes) * 60000;
  if (ms < 0 || ms > int64_t(UINT32_MAX))
    throw ECompileError(
        QStringLiteral("ParGen.xml: the TCP connection time-out of %1 minutes is out of range.").arg(minutes));
  return static_cast<uint32_t>(ms);
}

uint32_t C_Field(const TParGen_Numbers& par) {
  const uint32_t c = par.Enable_Use_Fix_C_Field ? 0x80 : 0;
  return c | (par.Use_Fix_C_Field_Value == 0 ? 0x5B : 0x7B);
}

uint8_t Reply_Exception(const TParGen_Numbers& par, int deviceType, int32_t reqType) {
  return Device_Model(deviceType).Reply_Exception && reqType == 0 && par.Reply_Exception_Until_First_Read ? 1 : 0;
}

// A disabled gateway is stored as all ones.
std::array<uint8_t, 4> Gateway(const TParGen_Numbers& par) {
  return par.Gat_Enable == 0 ? std::array<uint8_t, 4>{0xFF, 0xFF, 0xFF, 0xFF} : par.GA;
}

void Put_Addresses(uint8_t* p, const TParGen_Numbers& par, std::size_t ip, std::size_t mask, std::size_t gateway) {
  Put_Address(p, ip, par.IP);
  Put_Address(p, mask, par.SM);
  Put_Address(p, gateway, Gateway(par));
}

// The address of the reset values, first byte first.
constexpr uint32_t Address(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
  return uint32_t(a) | uint32_t(b) << 8 | uint32_t(c) << 16 | uint32_t(d) << 24;
}

struct TReset_Field {
  std::size_t Offset;
  uint8_t Width;  // bytes
  uint32_t Value;
};

// The values the converter's firmware starts from; the fields without a name are never set from the settings.
constexpr TReset_Field Gen_Par_Reset[] = {
    {0, 4, 250000}, {4, 4, 250000}, {8, 4, 9600}, {GP_IP, 4, Address(192, 168, 0, 5)},
    {GP_Mask, 4, Address(255, 255, 255, 0)}, {GP_Gateway, 4, Address(255, 255, 255, 255)},
    {GP_Application_Port, 2, 10000},
    {GP_Modbus_Code, 1, 1}, {60, 4, 9600}, {72, 4, Address(192, 168, 0, 10)}, {GP_Stop_Bits + Modbus_Port, 1, 1},
    {GP_Stop_Bits + MBus_Port, 1, 1}, {GP_Data_Bits + Modbus_Port, 1, 8}, {GP_Data_Bits + MBus_Port, 1, 8},
    {570, 1, 0xBF}, {590, 1, 1}, {596, 4, 0x68800}, {GP_TCP_TimeOut, 4, 120000},
};
constexpr TReset_Field Header_Reset[] = {
    {20, 4, 1}, {HD_Application_Port, 2, 10000}, {68, 4, 1}, {HD_TCP_TimeOut, 4, 180000}};

template <std::size_t N, std::size_t M>
void Reset(std::array<uint8_t, N>& record, const TReset_Field (&fields)[M]) {
  record.fill(0);
  for (const TReset_Field& f : fields) {
    if (f.Width == 1) Put8(record.data(), f.Offset, f.Value);
    else if (f.Width == 2) Put16(record.data(), f.Offset, f.Value);
    else Put32(record.data(), f.Offset, f.Value);
  }
}

void Fill_Header(Gen_Par_Header_Record& h, const TParGen_Numbers& par, int deviceType) {
  uint8_t* p = h.data();
  Put_Addresses(p, par, HD_IP, HD_Mask, HD_Gateway);
  const uint32_t port = uint16_t(par.TCP_Port);
  Put32(p, HD_Baud, Meter_Baud_Rate(par.Meter_Baud));
  Put16(p, HD_Parity, Parity_Code(par.Meter_Par));
  Put16(p, HD_TCP_Port, port);
  Put16(p, HD_TCP_Port_Copy, port);
  Put32(p, HD_Baud_Copy, Meter_Baud_Rate(par.Meter_Baud));
  Put16(p, HD_Parity_Copy, Parity_Code(par.Meter_Par));
  Put32(p, HD_TCP_TimeOut, Timeout_Ms(par.TCP_Conn_TimeOut));
  Put32(p, HD_C_Field, C_Field(par));
  Put8(p, HD_Reply_Exception, Reply_Exception(par, deviceType, par.Meter_Req_Type));
}

// Port 0 of Gen_Par, the Modbus line of the models whose Modbus side is serial.
void Fill_Modbus_Port(uint8_t* p, const TParGen_Numbers& par) {
  Put32(p, GP_Modbus_Id, uint8_t(par.Mod_Id));
  Put32(p, GP_Baud + 4 * Modbus_Port, Modbus_Baud_Rate(par.Mod_Baud));
  Put8(p, GP_Parity + Modbus_Port, Parity_Code(par.Mod_Par));
  // Stop bits: 1 or 2; anything else (an unselected list stores -1) gives 1.
  const int32_t stop = par.Mod_StopBit + 1;
  Put8(p, GP_Stop_Bits + Modbus_Port, stop >= 1 && stop <= 2 ? uint32_t(stop) : 1);
}

void Fill_Radio(uint8_t* p, const TParGen_Numbers& par) {
  static const uint8_t modes[5] = {1, 5, 15, 17, 11};
  const int32_t mode = par.wMBus_Mode;
  Put8(p, GP_wMBus_Mode, mode >= 0 && mode < 5 ? modes[mode] : 1);
  Put8(p, GP_Radio_Channel, uint32_t(par.wMBus_Radio_Channel));
  Put8(p, GP_Radio_Fixed, 3);
  Put8(p, GP_Radio_Fixed + 1, 5);
  Put8(p, GP_Radio_Fixed + 2, 5);
}

}  // namespace

TParGen_Numbers Read_ParGen_Numbers(const pargen::TParGen_File& File, int deviceType,
                                    std::span<const Bank_Format> Formats) {
  TParGen_Numbers n;
  n.Exists = File.Status == pargen::TParGen_Read::Read;
  if (!n.Exists) return n;
  TNeeds needs;
  for (Bank_Format f : Formats) Add_Needs(needs, f, Device_Model(deviceType));
  for (const TElement_Need& need : needs) Check(File, need);
  auto number = [&](E e) { return File.Number(e).value_or(pargen::Default_Number(e)); };
  auto byte = [&](E e) { return uint8_t(number(e)); };
  auto flag = [&](E e) { return File.Text(e) == QStringLiteral("1"); };
  n.IP = {byte(E::IP_1), byte(E::IP_2), byte(E::IP_3), byte(E::IP_4)};
  n.SM = {byte(E::SM_1), byte(E::SM_2), byte(E::SM_3), byte(E::SM_4)};
  n.GA = {byte(E::GA_1), byte(E::GA_2), byte(E::GA_3), byte(E::GA_4)};
  n.Gat_Enable = number(E::Gat_Enable);
  n.TCP_Port = number(E::TCP_Port);
  n.TCP_Conn_TimeOut = number(E::TCP_Conn_TimeOut);
  n.Meter_Baud = number(E::Meter_Baud);
  n.Meter_Par = number(E::Meter_Par);
  n.Meter_Req_Type = number(E::Meter_Req_Type);
  n.Meter_Req_Delay = number(E::Meter_Req_Delay);
  n.Node_State = number(E::Node_State);
  n.Enable_Use_Fix_C_Field = flag(E::Enable_Use_Fix_C_Field);
  n.Use_Fix_C_Field_Value = number(E::Use_Fix_C_Field_Value);
  n.Reply_Exception_Until_First_Read = flag(E::Reply_Exception_Until_First_Read);
  n.MBUS_Ser = number(E::MBUS_Ser);
  n.Mod_Ser = number(E::Mod_Ser);
  n.Mod_Baud = number(E::Mod_Baud);
  n.Mod_Par = number(E::Mod_Par);
  n.Mod_StopBit = number(E::Mod_StopBit);
  n.Mod_Id = number(E::Mod_Id);
  n.Mod_Protocol = number(E::Mod_Protocol);
  n.wMBus_Mode = number(E::wMBus_Mode);
  n.wMBus_Radio_Channel = number(E::wMBus_Radio_Channel);
  n.Sel_Dev_MBus_Present = number(E::Sel_Dev_MBus_Present);
  return n;
}

void Reset_Gen_Par(Gen_Par_Record& g) { Reset(g, Gen_Par_Reset); }

void Reset_Gen_Par_Header(Gen_Par_Header_Record& h) { Reset(h, Header_Reset); }

uint32_t Bank_Checksum(const uint8_t* data, std::size_t n) {
  uint32_t sum = 0;
  for (std::size_t i = 0; i < n; ++i) sum += data[i];
  return sum;
}

void Set_Wireless_Count(Gen_Par_Record& g, uint32_t count) { Put8(g.data(), GP_Wireless_Count, count); }

void Fill_Gen_Par(Gen_Par_Record& g, const TParGen_Numbers& par, int deviceType) {
  const TDevice_Model& m = Device_Model(deviceType);
  uint8_t* p = g.data();
  if (Serial_Modbus(m)) Fill_Modbus_Port(p, par);
  Put_Addresses(p, par, GP_IP, GP_Mask, GP_Gateway);
  const uint32_t port = Gen_Par_Has_TCP(m) ? uint16_t(par.TCP_Port) : Default_TCP_Port;
  Put16(p, GP_TCP_Port, port);
  Put16(p, GP_TCP_Port_Copy, port);
  Put8(p, GP_Modbus_Code, m.Gen_Par_Modbus_Code);
  Put32(p, GP_Baud + 4 * Port_2, 19200);
  Put32(p, GP_Baud + 4 * MBus_Port, Meter_Baud_Rate(par.Meter_Baud));
  Put8(p, GP_Parity + Port_2, 0);
  Put8(p, GP_Parity + MBus_Port, Parity_Code(par.Meter_Par));
  Put8(p, GP_Stop_Bits + Port_2, 1);
  Put8(p, GP_Data_Bits + Port_2, 8);
  Fill_Radio(p, par);
  if (Gen_Par_Has_TCP(m)) Put32(p, GP_TCP_TimeOut, Timeout_Ms(par.TCP_Conn_TimeOut));
  Put32(p, GP_C_Field, C_Field(par));
  const int32_t reqType = Has_Polling_Choice(m) ? par.Meter_Req_Type : 0;
  Put8(p, GP_Reply_Exception, Reply_Exception(par, deviceType, reqType));
}

void Write_Header(uint8_t* block, const TParGen_Numbers& par, int deviceType) {
  Gen_Par_Header_Record h;
  Reset_Gen_Par_Header(h);
  if (par.Exists) Fill_Header(h, par, deviceType);
  Put16(h.data(), HD_Lead_Byte, Image_Lead_Byte);
  std::memcpy(block, h.data(), h.size());
  std::memset(block + h.size(), 0, Gen_Par_Size - h.size());
  Put32(block, Gen_Par_Size, Bank_Checksum(block, Gen_Par_Size));
}

void Write_Ethernet_Block(ByteWriter& w, const TParGen_Numbers& par, Bank_Format fmt, int deviceType, uint32_t nodes,
                          uint32_t entries) {
  const TDevice_Model& m = Device_Model(deviceType);
  const bool network = fmt == Bank_Format::Network;
  // Where the block has no TCP port of its own it holds 502, and a request type of 0 where the model has no
  // choice of polling.
  const bool ownPort = !network || Gen_Par_Has_TCP(m);
  const bool ownReqType = !network || Has_Polling_Choice(m);
  w.Bytes(par.IP.data(), 4);
  w.Bytes(par.SM.data(), 4);
  w.Bytes(par.GA.data(), 4);
  w.U8(uint32_t(par.Gat_Enable));
  w.U16(ownPort ? uint32_t(par.TCP_Port) : Default_TCP_Port);
  w.U8(uint32_t(par.Meter_Baud));
  w.U8(uint32_t(par.Meter_Par));
  w.U8(ownReqType ? uint32_t(par.Meter_Req_Type) : 0);
  w.U16(uint32_t(par.Meter_Req_Delay));
  w.U8(nodes);
  w.U16(entries);
  w.U8(uint32_t(par.Node_State));
}

void Write_Serial_Block(ByteWriter& w, const TParGen_Numbers& par, int deviceType, uint32_t nodes, uint32_t entries) {
  uint32_t ports = 0;
  switch (Device_Model(deviceType).Serial_Ports) {
    case TSerial_Ports::Modbus_And_MBus:
      // 0: Modbus on RS232, 1: M-Bus on RS232, 2: both on RS485; both on RS232 is not offered and counts as 0.
      if (par.Mod_Ser == 0 && par.MBUS_Ser == 1) ports = 1;
      else if (par.Mod_Ser == 0 && par.MBUS_Ser == 0) ports = 2;
      break;
    case TSerial_Ports::Fixed: ports = 1; break;
    case TSerial_Ports::Modbus_Choice: ports = uint32_t(par.Mod_Ser); break;
  }
  w.U8(ports);
  w.U8(uint32_t(par.Mod_Baud));
  w.U8(uint32_t(par.Mod_Par));
  w.U8(uint32_t(par.Mod_Id));
  // Outside the window's list the byte is Modbus RTU, the window's default.
  w.U8(par.Mod_Protocol == 1 || par.Mod_Protocol == 4 ? 1 : 0);
  w.U8(uint32_t(par.Meter_Baud));
  w.U8(uint32_t(par.Meter_Par));
  w.U8(uint32_t(par.Meter_Req_Type));
  w.U16(uint32_t(par.Meter_Req_Delay));
  w.U8(nodes);
  w.U16(entries);
  w.U8(uint32_t(par.Node_State));
}

}  // namespace core::bank
