// Whole images compiled from small configurations, compared with bytes worked out by hand from the formats:
// offsets, node records, variable blocks, VIF texts, register maps, parameter blocks, general parameters,
// header and checksums.

#include <gtest/gtest.h>

#include "core/network_compiler.h"
#include "core/tests/bank_test_util.h"

using namespace bank_test;
using core::bank::Bank_Set;
using core::bank::Compile;

namespace {

QByteArray File_Of(const Bank_Set& set, const char* name) {
  const core::bank::Bank_File* f = set.Find(QString::fromLatin1(name));
  return f ? f->Data : QByteArray();
}

QStringList Names_Of(const Bank_Set& set) {
  QStringList n;
  for (const auto& f : set.Files) n << f.Name;
  return n;
}

// Gen_Par after reset, written out field by field.
QByteArray Reset_Gen_Par_Bytes() {
  QByteArray g(2044, '\0');
  auto put = [&](int off, const char* hex) {
    const QByteArray b = Hex(hex);
    g.replace(off, b.size(), b);
  };
  put(0, "90 D0 03 00");
  put(4, "90 D0 03 00");
  put(8, "80 25 00 00");
  put(40, "C0 A8 00 05");
  put(44, "FF FF FF 00");
  put(48, "FF FF FF FF");
  put(52, "10 27");
  put(59, "01");
  put(60, "80 25 00 00");
  put(72, "C0 A8 00 0A");
  put(526, "01 00 00 01 00 00");
  put(532, "08 00 00 08 00 00");
  put(570, "BF");
  put(590, "01");
  put(596, "00 88 06 00");
  put(600, "C0 D4 01 00");
  return g;
}

void Put(QByteArray& g, int off, const char* hex) {
  const QByteArray b = Hex(hex);
  g.replace(off, b.size(), b);
}

// ---------------------------------------------------------------------------------------------------------
// Type 3: the serial image (variant 0) and bank1/bank2 (variant 1) from one network.

const QByteArray kType3Network =
    R"(<Nodo Node_Enable="1" ID_Primary="5" ID_Secondary="1" Descrizione="heat" Send_SND_NKE="1" Reset_App="0" Node_State="100" Ident_Num="101" BCDtoINT_IN="0" Swap_IN="0" Node_ID_Type="0" Var_List_Type="0" Cut_After="2" Manufacturer_Specific_Data="200" MSD_Length="10" MSD_Offset="0" Access_Number="300">
  <Variabile Enable="1" Desc="energy" Type="0" Fun_Field="1" Dim="2" Unit="3" ModReg="1000" ModScale="1002" StoNumber="0" Tariff="0" VIFE="0" BCDtoINT="0" VIF_ASCII="XY" Length="5" Conv_Float="0" Force_Int32="0" TP_Mod_Regs="0" TP_Mod_Year="0" Position="1" Post_Operation="0"/>
  <Variabile Enable="0" Type="bad" Fun_Field="" Dim="" ModReg="" ModScale=""/>
  <Variabile Enable="1" Type="21" Fun_Field="0" Dim="7" Unit="0" ModReg="1010" ModScale="0" VIF_ASCII="ABC" Length="3" Conv_Float="1" Position="1" Post_Operation="2"/>
</Nodo>
<Nodo Node_Enable="0" ID_Primary="6"><Variabile Enable="1" Type="0" Fun_Field="0" Dim="0" ModReg="1" ModScale="0"/></Nodo>
<!-- a comment between nodes -->
<Nodo ID_Primary="9" ID_Secondary="12345678" Node_ID_Type="1" Var_List_Type="1" MBus_Type="0">
  <Variabile Enable="1" Type="5" Fun_Field="3" Dim="3" ModReg="3000" ModScale="3004" TP_Mod_Regs="1" TP_Mod_Year="2000"/>
</Nodo>
<Nodo Node_Enable="1" ID_Primary="7"><Variabile Enable="0" Type="0" Fun_Field="0" Dim="0" ModReg="1" ModScale="0"/></Nodo>)";

void Write_Type3_ParGen(const Config_Dir& d, const char* selDev) {
  d.Write_ParGen({{"Sel_Dev", selDev}, {"Sel_Dev_MBus_Present", "1"}, {"Mod_Ser", "1"}, {"Mod_Baud", "7"},
                  {"Mod_Par", "0"}, {"Mod_Id", "1"}, {"Mod_StopBit", "0"}, {"Mod_Protocol", "0"},
                  {"Meter_Baud", "3"}, {"Meter_Par", "1"}, {"Meter_Req_Type", "1"}, {"Meter_Req_Delay", "100"},
                  {"Node_State", "0xFF"}, {"IP_1", "192"}, {"IP_2", "168"}, {"IP_3", "0"}, {"IP_4", "10"},
                  {"SM_1", "255"}, {"SM_2", "255"}, {"SM_3", "255"}, {"SM_4", "0"}, {"GA_1", "192"},
                  {"GA_2", "168"}, {"GA_3", "0"}, {"GA_4", "1"}, {"Gat_Enable", "0"}});
}

TEST(BankFormat, Type3SerialImage) {
  Config_Dir d;
  Write_Type3_ParGen(d, "0");
  d.Write_MBus(kType3Network);
  const Bank_Set set = Compile(3, 0, d.ParGen(), d.MBus());
  ASSERT_EQ(Names_Of(set), QStringList{"bank.bin"});
  const QByteArray expected = Hex(
      // offset words: node table 12, map 159, parameters 201
      "0C000000 9F000000 C9000000"
      // node 1 (27 bytes): primary 5, 2 variables, Add 66, MSD 200/10, data area at 0
      "00 00000005 0200 42000000 01 00 6400 6500 00 00 00 03 C800 0A 00 0000"
      // node 3: secondary 12345678 in BCD, 1 variable, Add 126, Cut_After fallback 250, data area at 22
      "01 12345678 0100 7E000000 00 00 0000 0000 00 00 01 FA 0000 00 00 1600"
      // variable blocks (30 bytes): function field 1 -> 2, VIF text of a non-21 type dropped
      "00 02 04 E803 0A00 EA03 0E00 03 00000000 00000000 00 00 00 9C000000 00 01 00"
      "15 00 0D F203 1000 0000 1400 00 00000000 00000000 00 03 03 9C000000 01 01 02"
      // by-position node: TP_Mod_Regs makes a time point here (6 bytes, register TP_Mod_Year)
      "05 03 07 D007 1600 BC0B 1C00 00 00000000 00000000 00 00 00 9F000000 08 01 00"
      // VIF text "ABC" reversed
      "434241"
      // register map (14 bytes)
      "E803 02 0A00 00000005 EA03 0E00 00"
      "F203 02 1000 00000005 0000 1400 00"
      "D007 06 1600 12345678 BC0B 1C00 01"
      // serial parameter block (14 bytes): ports, baud, parity, ID, protocol, meter baud/parity/poll,
      // delay, nodes, entries, node state
      "01 07 00 01 00 03 01 01 6400 02 0300 FF");
  EXPECT_EQ(Spaced(File_Of(set, "bank.bin")), Spaced(expected));
}

TEST(BankFormat, Type3NetworkImageAndGeneralParameters) {
  Config_Dir d;
  Write_Type3_ParGen(d, "1");
  d.Write_MBus(kType3Network);
  const Bank_Set set = Compile(3, 1, d.ParGen(), d.MBus());
  ASSERT_EQ(Names_Of(set), (QStringList{"bank1.bin", "bank2.bin"}));
  const QByteArray bank2 = Hex(
      "40 15000000 B0000000 DA000000 53000000 DA000000"
      // wired nodes (31 bytes); MBus_Type is not read on type 3, node 3 stays wired
      "00 00000005 0200 53000000 01 00 6400 6500 00 00 00 03 C800 0A 00 0000 0000 2C01"
      "01 12345678 0100 8F000000 00 00 0000 0000 00 00 01 FA 0000 00 00 1600 0000 0000"
      "00 02 04 E803 0A00 EA03 0E00 03 00000000 00000000 00 00 00 AD000000 00 01 00"
      "15 00 0D F203 1000 0000 1400 00 00000000 00000000 00 03 03 AD000000 01 01 02"
      // Type 5 is no time point in this format: 64-bit value, 8 bytes, 4 registers
      "05 03 07 B80B 1600 BC0B 1E00 00 00000000 00000000 00 00 00 B0000000 08 01 00"
      "434241"
      "E803 02 0A00 00000005 EA03 0E00 00"
      "F203 02 1000 00000005 0000 1400 00"
      "B80B 04 1600 12345678 BC0B 1E00 00"
      // network parameter block (27 bytes): port 502 whatever the file says, gateway as entered
      "C0A8000A FFFFFF00 C0A80001 00 F601 03 01 01 6400 02 0300 FF 00 0000");
  EXPECT_EQ(Spaced(File_Of(set, "bank2.bin")), Spaced(bank2));

  QByteArray g = Reset_Gen_Par_Bytes();
  Put(g, 20, "01 00 00 00");      // Mod_Id
  Put(g, 40, "C0 A8 00 0A");
  Put(g, 48, "FF FF FF FF");      // gateway disabled
  Put(g, 54, "F6 01 F6 01");      // 502 twice
  Put(g, 59, "04");
  Put(g, 496, "00 C2 01 00");     // 115200
  Put(g, 504, "00 4B 00 00");     // 19200
  Put(g, 508, "60 09 00 00");     // 2400
  Put(g, 523, "02");              // EVEN -> 2
  Put(g, 526, "01");              // 1 stop bit
  Put(g, 528, "01");
  Put(g, 534, "08");
  Put(g, 568, "01");              // mode S
  Put(g, 584, "03 05 05");
  Put(g, 728, "5B 00 00 00");
  const QByteArray bank1 = g + LE32(5367) + QByteArray(1024, '\0');
  EXPECT_EQ(Spaced(File_Of(set, "bank1.bin")), Spaced(bank1));
}

// ---------------------------------------------------------------------------------------------------------
// Type 1: the standard image (variant 0), the image with header (variant 1), and bank1/bank2.

const QByteArray kType1Network =
    R"(<Nodo Node_Enable="1" ID_Primary="7" ID_Secondary="1" Node_ID_Type="0" Send_SND_NKE="0" Reset_App="1" Cut_After="0" Manufacturer_Specific_Data="200" MSD_Length="10" MSD_Offset="0" Access_Number="0">
  <Variabile Enable="1" Type="20" Fun_Field="0" Dim="3" ModReg="600" ModScale="0" TP_Mod_Regs="1" TP_Mod_Year="500" Force_Int32="1" Post_Operation="4" Position="1"/>
</Nodo>)";

void Write_Type1_ParGen(const Config_Dir& d, const char* selDev) {
  d.Write_ParGen({{"Sel_Dev", selDev}, {"IP_1", "10"}, {"IP_2", "0"}, {"IP_3", "0"}, {"IP_4", "2"},
                  {"SM_1", "255"}, {"SM_2", "255"}, {"SM_3", "0"}, {"SM_4", "0"}, {"GA_1", "10"},
                  {"GA_2", "0"}, {"GA_3", "0"}, {"GA_4", "1"}, {"Gat_Enable", "1"}, {"TCP_Port", "1502"},
                  {"TCP_Conn_TimeOut", "5"}, {"Meter_Baud", "5"}, {"Meter_Par", "2"}, {"Meter_Req_Type", "0"},
                  {"Meter_Req_Delay", "30"}, {"Node_State", "7"}, {"Enable_Use_Fix_C_Field", "1"},
                  {"Use_Fix_C_Field_Value", "1"}, {"Reply_Exception_Until_First_Read", "1"}});
}

const char* kType1Bank2 =
    "40 15000000 52000000 60000000 34000000 60000000"
    "00 00000007 0100 34000000 00 01 0000 0000 00 00 00 01 C800 0A 00 0000 0000 0000"
    // time point: 6 bytes after the 10 MSD bytes; Options = TP 8 | Force_Int32 2; Post_Ope 4
    "14 00 07 F401 0A00 0000 1000 00 00000000 00000000 00 00 00 52000000 0A 01 04"
    "F401 06 0A00 00000007 0000 1000 01"
    "0A000002 FFFF0000 0A000001 01 F601 05 02 00 1E00 01 0100 07 00 0000";

QByteArray Type1_Bank1() {
  QByteArray g = Reset_Gen_Par_Bytes();
  Put(g, 40, "0A 00 00 02");
  Put(g, 44, "FF FF 00 00");
  Put(g, 48, "0A 00 00 01");
  Put(g, 54, "F6 01 F6 01");
  Put(g, 59, "02");
  Put(g, 504, "00 4B 00 00");
  Put(g, 508, "80 25 00 00");  // 9600
  Put(g, 523, "03");           // ODD -> 3
  Put(g, 528, "01");
  Put(g, 534, "08");
  Put(g, 568, "01");
  Put(g, 584, "03 05 05");
  Put(g, 728, "FB 00 00 00");  // 0x80 | 0x7B
  Put(g, 736, "01");           // reply exception: type 1, cyclic polling, flag set
  return g + LE32(3769) + QByteArray(1024, '\0');
}

TEST(BankFormat, Type1StandardImage) {
  Config_Dir d;
  Write_Type1_ParGen(d, "0");
  d.Write_MBus(kType1Network);
  const Bank_Set set = Compile(1, 0, d.ParGen(), d.MBus());
  ASSERT_EQ(Names_Of(set), (QStringList{"bank1.bin", "bank2.bin", "bank.bin"}));
  const QByteArray bank = Hex(
      "0C000000 3F000000 4C000000"
      // 20-byte node: no Cut_After, no MSD
      "00 00000007 0100 20000000 00 01 0000 0000 00 00 00"
      // 31-byte block: time point of 5 bytes from offset 0 (MSD ignored), flags as bytes
      "14 00 07 F401 0000 0000 0500 00 00000000 00000000 00 00 00 00 3F000000 00 01 01"
      // 13-byte map entry: 5 registers, no time-point byte
      "F401 05 0000 00000007 0000 0500"
      // Ethernet block (24 bytes) with TCP_Port
      "0A000002 FFFF0000 0A000001 01 DE05 05 02 00 1E00 01 0100 07");
  EXPECT_EQ(Spaced(File_Of(set, "bank.bin")), Spaced(bank));
  EXPECT_EQ(Spaced(File_Of(set, "bank2.bin")), Spaced(Hex(kType1Bank2)));
  EXPECT_EQ(Spaced(File_Of(set, "bank1.bin")), Spaced(Type1_Bank1()));
}

TEST(BankFormat, Type1ImageWithHeader) {
  Config_Dir d;
  Write_Type1_ParGen(d, "1");
  d.Write_MBus(kType1Network);
  const Bank_Set set = Compile(1, 1, d.ParGen(), d.MBus());
  ASSERT_EQ(Names_Of(set), (QStringList{"bank1.bin", "bank2.bin", "bank.bin"}));
  QByteArray header(2044, '\0');
  Put(header, 12, "80 25 00 00");
  Put(header, 18, "03 00");
  Put(header, 20, "01 00 00 00");
  Put(header, 40, "0A 00 00 02 FF FF 00 00 0A 00 00 01");
  Put(header, 52, "10 27 DE 05 DE 05 40 00");  // 10000, port twice, lead byte
  Put(header, 60, "80 25 00 00");
  Put(header, 66, "03 00");
  Put(header, 68, "01 00 00 00");
  Put(header, 172, "E0 93 04 00");  // 5 min
  Put(header, 176, "FB 00 00 00");
  Put(header, 180, "01");
  const QByteArray body = Hex(
      "40 0D080000 48080000 56080000"
      "00 00000007 0100 2A080000 00 01 0000 0000 00 00 00 01 C800 0A 00 0000 0000"
      "14 00 07 F401 0A00 0000 1000 00 00000000 00000000 00 00 00 48080000 0A 01 04"
      "F401 06 0A00 00000007 0000 1000 01"
      "0A000002 FFFF0000 0A000001 01 DE05 05 02 00 1E00 01 0100 07");
  const QByteArray bank = File_Of(set, "bank.bin");
  EXPECT_EQ(Spaced(bank.left(2044)), Spaced(header));
  EXPECT_EQ(Spaced(bank.mid(2044, 4)), Spaced(LE32(2071)));
  EXPECT_EQ(Spaced(bank.mid(2048)), Spaced(body));
  EXPECT_EQ(Spaced(File_Of(set, "bank2.bin")), Spaced(Hex(kType1Bank2)));
  EXPECT_EQ(Spaced(File_Of(set, "bank1.bin")), Spaced(Type1_Bank1()));
}

// ---------------------------------------------------------------------------------------------------------
// Type 7: wired and wireless nodes, slots.

TEST(BankFormat, Type7WiredAndWirelessNodes) {
  Config_Dir d;
  d.Write_ParGen({{"Sel_Dev_MBus_Present", "1"}, {"IP_1", "192"}, {"IP_2", "168"}, {"IP_3", "1"}, {"IP_4", "20"},
                  {"SM_1", "255"}, {"SM_2", "255"}, {"SM_3", "255"}, {"SM_4", "0"}, {"GA_1", "192"},
                  {"GA_2", "168"}, {"GA_3", "1"}, {"GA_4", "1"}, {"Gat_Enable", "0"}, {"TCP_Port", "503"},
                  {"TCP_Conn_TimeOut", "3"}, {"wMBus_Mode", "2"}, {"wMBus_Radio_Channel", "4"},
                  {"Meter_Baud", "9"}, {"Meter_Par", "0"}, {"Meter_Req_Type", "0"}, {"Meter_Req_Delay", "60"},
                  {"Node_State", "0x10"}});
  d.Write_MBus(R"(
<Nodo Node_Enable="1" MBus_Type="1" ID_Primary="1" Node_ID_Type="0">
  <Variabile Enable="1" Type="0" Fun_Field="0" Dim="0" ModReg="10" ModScale="0" Position="1"/>
</Nodo>
<Nodo Node_Enable="1" MBus_Type="0" Send_SND_NKE="1" Cut_After="5" wMBus_Add="2415919104" wMBus_ManID="4660" wMBus_Ver="7" wMBus_DevType="3" wMBus_En_Key="1"
  wMBus_Key_1="1" wMBus_Key_2="2" wMBus_Key_3="3" wMBus_Key_4="4" wMBus_Key_5="5" wMBus_Key_6="6" wMBus_Key_7="7" wMBus_Key_8="8"
  wMBus_Key_9="9" wMBus_Key_10="10" wMBus_Key_11="11" wMBus_Key_12="12" wMBus_Key_13="13" wMBus_Key_14="14" wMBus_Key_15="15" wMBus_Key_16="16"
  wMBus_RSSI="50" Manufacturer_Specific_Data="20" MSD_Length="4" Access_Number="51">
  <Variabile Enable="1" Type="2" Fun_Field="0" Dim="1" ModReg="20" ModScale="21"/>
</Nodo>
<Nodo Node_Enable="1" MBus_Type="0" wMBus_Add="258" wMBus_ManID="5" wMBus_Ver="1" wMBus_DevType="2" wMBus_En_Key="0" wMBus_Key_1="9">
  <Variabile Enable="1" Type="0" Fun_Field="0" Dim="6" ModReg="30" ModScale="0"/>
</Nodo>)");
  const Bank_Set set = Compile(7, 0, d.ParGen(), d.MBus());
  ASSERT_EQ(Names_Of(set), (QStringList{"bank1.bin", "bank2.bin"}));
  const QByteArray bank2 = Hex(
      "40 15000000 CC000000 F6000000 34000000 DA000000"
      "00 00000001 0100 72000000 00 00 0000 0000 00 00 00 FA 0000 00 00 0000 0000 0000"
      // wireless: address as stored (above 2^31), no SND_NKE/Cut_After, MSD shift, RSSI, access number
      "00 90000000 0100 90000000 00 00 0000 0000 00 00 00 00 1400 04 00 0400 3200 3300"
      "00 00000102 0100 AE000000 00 00 0000 0000 00 00 00 00 0000 00 00 0C00 0000 0000"
      "00 00 01 0A00 0000 0000 0200 00 00000000 00000000 00 00 00 CC000000 00 01 00"
      "02 00 02 1400 0800 1500 0A00 00 00000000 00000000 00 00 00 CC000000 00 01 00"
      "00 00 05 1E00 0C00 0000 1000 00 00000000 00000000 00 00 00 CC000000 00 01 00"
      "0A00 01 0000 00000001 0000 0200 00"
      "1400 01 0800 90000000 1500 0A00 00"
      "1E00 02 0C00 00000102 0000 1000 00"
      "C0A80114 FFFFFF00 C0A80101 00 F701 09 00 00 3C00 01 0100 10 02 0200");
  EXPECT_EQ(Spaced(File_Of(set, "bank2.bin")), Spaced(bank2));

  QByteArray g = Reset_Gen_Par_Bytes();
  Put(g, 40, "C0 A8 01 14");
  Put(g, 54, "F7 01 F7 01");
  Put(g, 59, "02");
  Put(g, 504, "00 4B 00 00");
  Put(g, 508, "60 09 00 00");  // index 9 is outside the list: 2400
  Put(g, 528, "01");
  Put(g, 534, "08");
  Put(g, 564, "02");
  Put(g, 568, "0F");           // N1
  Put(g, 582, "04");
  Put(g, 584, "03 05 05");
  Put(g, 600, "20 BF 02 00");  // 180000 ms
  Put(g, 728, "5B 00 00 00");
  QByteArray slotBytes(1024, '\0');
  Put(slotBytes, 0, "3412 00000090 07 03 0102030405060708090A0B0C0D0E0F10 01");
  Put(slotBytes, 32, "0500 02010000 01 02");
  EXPECT_EQ(Spaced(File_Of(set, "bank1.bin")), Spaced(g + LE32(5020) + slotBytes));
}

// ---------------------------------------------------------------------------------------------------------
// Empty networks and missing files.

TEST(BankFormat, EmptyNetworksAndMissingFiles) {
  Config_Dir withPar;
  Write_Type1_ParGen(withPar, "0");
  withPar.Write_MBus("");
  Config_Dir bare;

  const Bank_Set std1 = Compile(1, 0, withPar.ParGen(), withPar.MBus());
  EXPECT_EQ(Spaced(File_Of(std1, "bank.bin").left(12)), Spaced(Hex("0C000000 0C000000 0C000000")));
  EXPECT_EQ(File_Of(std1, "bank.bin").size(), 36);

  const Bank_Set stdBare = Compile(1, 0, bare.ParGen(), bare.MBus());
  EXPECT_EQ(Spaced(File_Of(stdBare, "bank.bin")), Spaced(Hex("0C000000 0C000000 0C000000")));

  const Bank_Set net7 = Compile(7, 0, withPar.ParGen(), withPar.MBus());
  ASSERT_EQ(File_Of(net7, "bank2.bin").size(), 48);
  EXPECT_EQ(Spaced(File_Of(net7, "bank2.bin").left(21)),
            Spaced(Hex("40 15000000 15000000 15000000 15000000 15000000")));

  // No ParGen.xml: the reset record, its checksum 4373 and empty slots; the lead byte still in the header.
  const Bank_Set net7Bare = Compile(7, 0, bare.ParGen(), bare.MBus());
  EXPECT_EQ(Spaced(File_Of(net7Bare, "bank1.bin")), Spaced(Reset_Gen_Par_Bytes() + Hex("15110000") + QByteArray(1024, '\0')));
  EXPECT_EQ(Spaced(File_Of(net7Bare, "bank2.bin")), Spaced(Hex("40 15000000 15000000 15000000 15000000 15000000")));

  const Bank_Set b2Bare = Compile(1, 1, bare.ParGen(), bare.MBus());
  const QByteArray b2 = File_Of(b2Bare, "bank.bin");
  ASSERT_EQ(b2.size(), 2048 + 13);
  EXPECT_EQ(Spaced(b2.mid(58, 2)), "40 00");
  EXPECT_EQ(Spaced(b2.mid(172, 4)), Spaced(LE32(180000)));
  // Header sum: 1 (@20) + 10000 (@52: 16+39) + 0x40 + 1 (@68) + 180000 (@172: 0x20+0xBF+0x02)
  EXPECT_EQ(Spaced(b2.mid(2044, 4)), Spaced(LE32(1 + 55 + 64 + 1 + 225)));
  EXPECT_EQ(Spaced(b2.mid(2048)), Spaced(Hex("40 0D080000 0D080000 0D080000")));

  const Bank_Set serialBare = Compile(3, 0, bare.ParGen(), bare.MBus());
  EXPECT_EQ(Spaced(File_Of(serialBare, "bank.bin")), Spaced(Hex("0C000000 0C000000 0C000000")));
}

TEST(BankFormat, FileSetPerDeviceTypeAndVariant) {
  Config_Dir bare;
  struct Case {
    int type, selDev;
    QStringList files;
  };
  const Case cases[] = {
      {1, 0, {"bank1.bin", "bank2.bin", "bank.bin"}}, {1001, 1, {"bank1.bin", "bank2.bin", "bank.bin"}},
      {2, 0, {"bank.bin"}},  {2, 1, {"bank1.bin", "bank2.bin"}}, {3, 0, {"bank.bin"}},
      {3, 1, {"bank1.bin", "bank2.bin"}}, {4, 0, {"bank.bin"}}, {5, 0, {"bank.bin"}},
      {6, 0, {"bank1.bin", "bank2.bin"}}, {7, 0, {"bank1.bin", "bank2.bin"}}, {1007, 0, {"bank1.bin", "bank2.bin"}},
      {8, 0, {}}, {0, 0, {}},
  };
  for (const Case& c : cases) {
    const Bank_Set set = Compile(c.type, c.selDev, bare.ParGen(), bare.MBus());
    EXPECT_EQ(Names_Of(set), c.files) << "type " << c.type << " variant " << c.selDev;
    if (const auto* f = set.Find("bank1.bin")) {
      EXPECT_EQ(f->Data.size(), 3072);
    }
  }
}

}  // namespace
