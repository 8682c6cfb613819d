// Every device type and variant compiled from the same configurations, each image pinned by its digest: a change
// anywhere in reading the two files or in writing the images shows here, whatever the format. The configurations
// mix wired and wireless nodes, every variable option, and settings files from complete to odd to absent.

#include <gtest/gtest.h>

#include <QCryptographicHash>

#include <functional>
#include <optional>
#include <string>

#include "core/device_model.h"
#include "core/gen_par.h"
#include "core/network_checks.h"
#include "core/network_compiler.h"
#include "core/network_nodes.h"
#include "core/par_gen_file.h"
#include "core/tests/bank_test_util.h"
#include "platform/xml/xmldocument.h"

using namespace bank_test;

namespace {

const QByteArray kNetwork =
    R"(<Nodo Node_Enable="1" MBus_Type="1" ID_Primary="5" Node_ID_Type="0" Send_SND_NKE="1" Reset_App="1" Node_State="100" Ident_Num="101" BCDtoINT_IN="1" Swap_IN="1" Var_List_Type="0" Cut_After="3" Manufacturer_Specific_Data="200" MSD_Length="10" MSD_Offset="2" Access_Number="300">
  <Variabile Enable="1" Type="0" Fun_Field="1" Dim="2" Unit="3" ModReg="1000" ModScale="1002" StoNumber="4294967297" Tariff="2" VIFE="5" BCDtoINT="1" VIF_ASCII="XY" Length="5" Conv_Float="0" Force_Int32="1" TP_Mod_Regs="0" Position="2" Post_Operation="3"/>
  <Variabile Enable="1" Type="21" Fun_Field="2" Dim="7" Unit="0" ModReg="1010" ModScale="1011" VIF_ASCII="kWh" Length="9" Conv_Float="1" Position="1" Post_Operation="7"/>
  <Variabile Enable="1" Type="20" Fun_Field="0" Dim="3" ModReg="1020" ModScale="0" TP_Mod_Regs="1" TP_Mod_Year="1030"/>
  <Variabile Enable="0" Type="bad"/>
</Nodo>
<Nodo Node_Enable="0" ID_Primary="6"><Variabile Enable="1" Type="0" Fun_Field="0" Dim="0" ModReg="1" ModScale="0"/></Nodo>
<Nodo ID_Secondary="12345678" Node_ID_Type="1" Var_List_Type="1" Cut_After="0">
  <Variabile Enable="1" Type="5" Fun_Field="3" Dim="5" ModReg="3000" ModScale="3004" TP_Mod_Regs="1" TP_Mod_Year="2000"/>
  <Variabile Enable="1" Type="6" Fun_Field="0" Dim="6" ModReg="3010" ModScale="3012" StoNumber="1" Tariff="1"/>
</Nodo>
<Nodo MBus_Type="0" wMBus_Add="0x90000001" wMBus_ManID="0x1234" wMBus_Ver="7" wMBus_DevType="3" wMBus_RSSI="400" wMBus_En_Key="1" wMBus_Key_1="1" wMBus_Key_2="2" wMBus_Key_16="255" Node_State="401" Access_Number="402" Manufacturer_Specific_Data="403" MSD_Length="4">
  <Variabile Enable="1" Type="1" Fun_Field="0" Dim="4" ModReg="4000" ModScale="4002" Unit="9"/>
  <Variabile Enable="1" Type="2" Fun_Field="1" Dim="0" ModReg="4004" ModScale="0" Conv_Float="1"/>
</Nodo>
<Nodo MBus_Type="2" wMBus_Add="258" wMBus_ManID="5" wMBus_En_Key="0" wMBus_Key_1="9">
  <Variabile Enable="1" Type="3" Fun_Field="0" Dim="1" ModReg="4010" ModScale="4011"/>
</Nodo>
<Nodo ID="42" Node_ID_Type="1"><Variabile Enable="1" Type="0" Fun_Field="0" Dim="9" ModReg="5000" ModScale="5001"/></Nodo>)";

// Settings files: what the window writes with values off their defaults, values the window never writes
// (numbers outside the lists, texts that do not convert), the wired line absent, and only the serial values: a
// compile that ends in an error pins its message instead.
const Elements kFull = {
    {"Sel_Dev", "1"}, {"Sel_Dev_MBus_Present", "1"}, {"IP_1", "10"}, {"IP_2", "1"}, {"IP_3", "2"}, {"IP_4", "33"},
    {"SM_1", "255"}, {"SM_2", "255"}, {"SM_3", "0"}, {"SM_4", "0"}, {"GA_1", "10"}, {"GA_2", "1"}, {"GA_3", "2"},
    {"GA_4", "1"}, {"Gat_Enable", "1"}, {"TCP_Port", "1502"}, {"TCP_Conn_TimeOut", "30"}, {"Meter_Baud", "5"},
    {"Meter_Par", "2"}, {"Meter_Req_Type", "0"}, {"Meter_Req_Delay", "600"}, {"Node_State", "0x80"},
    {"Enable_Use_Fix_C_Field", "1"}, {"Use_Fix_C_Field_Value", "1"}, {"Reply_Exception_Until_First_Read", "1"},
    {"MBUS_Ser", "0"}, {"Mod_Ser", "0"}, {"Mod_Baud", "4"}, {"Mod_Par", "1"}, {"Mod_StopBit", "1"}, {"Mod_Id", "17"},
    {"Mod_Protocol", "1"}, {"wMBus_Mode", "2"}, {"wMBus_Radio_Channel", "6"}};
const Elements kOdd = {
    {"Sel_Dev", "7"}, {"Sel_Dev_MBus_Present", "x"}, {"IP_1", " 0x7F"}, {"IP_2", "-1"}, {"IP_3", "256"},
    {"IP_4", "$10"}, {"SM_1", "1"}, {"SM_2", "2"}, {"SM_3", "3"}, {"SM_4", "4"}, {"GA_1", "300"}, {"GA_2", "1"},
    {"GA_3", "1"}, {"GA_4", "1"}, {"Gat_Enable", "0"}, {"TCP_Port", "70000"}, {"TCP_Conn_TimeOut", "x"},
    {"Meter_Baud", "12"}, {"Meter_Par", "4"}, {"Meter_Req_Type", "2"}, {"Meter_Req_Delay", "-3"}, {"Node_State", "z"},
    {"Enable_Use_Fix_C_Field", "01"}, {"Use_Fix_C_Field_Value", "z"}, {"Reply_Exception_Until_First_Read", "1"},
    {"MBUS_Ser", "1"}, {"Mod_Ser", "1"}, {"Mod_Baud", "x"}, {"Mod_Par", "5"}, {"Mod_StopBit", "7"}, {"Mod_Id", "300"},
    {"Mod_Protocol", "9"}, {"wMBus_Mode", "9"}, {"wMBus_Radio_Channel", "x"}};
const Elements kNoLine = {
    {"Sel_Dev_MBus_Present", "0"}, {"IP_1", "127"}, {"IP_2", "0"}, {"IP_3", "0"}, {"IP_4", "2"}, {"SM_1", "255"},
    {"SM_2", "0"}, {"SM_3", "0"}, {"SM_4", "0"}, {"GA_1", "127"}, {"GA_2", "0"}, {"GA_3", "0"}, {"GA_4", "1"},
    {"Gat_Enable", "0"}, {"TCP_Port", "502"}, {"TCP_Conn_TimeOut", "2"}, {"Meter_Baud", "3"}, {"Meter_Par", "1"},
    {"Meter_Req_Type", "1"}, {"Meter_Req_Delay", "100"}, {"Node_State", "0xFF"}, {"Mod_Ser", "1"}, {"MBUS_Ser", "0"},
    {"Mod_Baud", "7"}, {"Mod_Par", "0"}, {"Mod_StopBit", "0"}, {"Mod_Id", "1"}, {"Mod_Protocol", "0"},
    {"wMBus_Mode", "4"}, {"wMBus_Radio_Channel", "8"}};

const Elements kSparse = {{"Meter_Baud", "3"}, {"Meter_Par", "1"}, {"Meter_Req_Type", "1"}, {"Meter_Req_Delay", "5"},
                          {"Mod_Ser", "1"}, {"Mod_Baud", "1"}, {"Mod_Par", "0"}, {"Mod_Id", "2"}, {"Mod_Protocol", "0"}};

struct Settings {
  const char* name;
  const Elements* elements;  // nullptr: no ParGen.xml
};
const Settings kSettings[] = {
    {"full", &kFull}, {"odd", &kOdd}, {"no line", &kNoLine}, {"sparse", &kSparse}, {"absent", nullptr}};

// The first 16 hex digits of each image's SHA-256, taken from the compiler before its reading of ParGen.xml was
// restructured; one line per settings file, device type and variant: "settings type variant file digest" or
// "settings type variant error: message".
const char* const kDigests[] = {
#include "core/tests/bank_golden_digests.inc"
};

// Every type and variant compiled from one configuration: a line per image, or one for the error.
std::string Compile_Lines(const std::string& name, const Elements* elements, const QByteArray& parGen = {}) {
  std::string out;
  Config_Dir d;
  if (elements) d.Write_ParGen(*elements);
  if (!parGen.isEmpty()) d.Write(d.ParGen(), parGen);
  d.Write_MBus(kNetwork);
  for (int type : {1, 2, 3, 4, 5, 6, 7, 1001, 1007}) {
    for (int selDev : {0, 1}) {
      const std::string head = name + " " + std::to_string(type) + " " + std::to_string(selDev) + " ";
      core::bank::Bank_Set set;
      try {
        set = core::bank::Compile(type, selDev, d.ParGen(), d.MBus());
      } catch (const core::bank::ECompileError& e) {
        out += head + "error: " + e.Message().toStdString() + "\n";
      }
      for (const core::bank::Bank_File& f : set.Files) {
        const QByteArray h = QCryptographicHash::hash(f.Data, QCryptographicHash::Sha256).toHex().left(16);
        out += head + f.Name.toStdString() + " " + h.toStdString() + "\n";
      }
    }
  }
  return out;
}

TEST(BankGolden, EveryTypeAndVariantKeepsItsImages) {
  std::string expected;
  for (const char* line : kDigests) expected += std::string(line) + "\n";
  std::string actual;
  for (const Settings& s : kSettings) actual += Compile_Lines(s.name, s.elements);
  EXPECT_EQ(actual, expected);
}

// Each element of the complete file left out, and given a text that is not a number: which compiles need it,
// and what the others fall back to. One digest per case over the lines of all types and variants, taken from
// the compiler before its reading of ParGen.xml was restructured.
const char* const kElementDigests[] = {
#include "core/tests/bank_golden_elements.inc"
};

TEST(BankGolden, EachElementMissingOrNotANumber) {
  std::string expected;
  for (const char* line : kElementDigests) expected += std::string(line) + "\n";
  std::string actual;
  for (const auto& [name, text] : kFull) {
    for (const char* replacement : {"", "<%1>x</%1>"}) {
      QByteArray x = "<GeneralParameter>";
      for (const auto& [n, t] : kFull) {
        if (std::string(n) != name) x += QByteArray("<") + n + ">" + t + "</" + n + ">";
        else if (*replacement) x += QString::fromLatin1(replacement).arg(QLatin1String(n)).toLatin1();
      }
      x += "</GeneralParameter>";
      const std::string lines = Compile_Lines("", nullptr, x);
      const QByteArray h = QCryptographicHash::hash(QByteArray::fromStdString(lines), QCryptographicHash::Sha256);
      actual += std::string(name) + (*replacement ? " x " : " missing ") + h.toHex().left(16).toStdString() + "\n";
    }
  }
  EXPECT_EQ(actual, expected);
}

// ---------------------------------------------------------------------------------------------------------
// M_Bus.xml read as it loads against read from the loaded document

// Networks beside kNetwork: element names, comments, texts and deeper elements that play no part, unknown
// attributes, attributes in any order, a disabled variable without its type (the editor stops there, the
// compiler passes it over), and no node.
const QByteArray kOddNetwork =
    R"(<!--first--><Meter Extra="1" ID_Primary="9" Node_Enable="1" Descrizione="A &amp; B &#xE4;">
  text <Variabile ModScale="20" ModReg="10" Dim="2" Fun_Field="1" Type="4" Enable="1" Desc="last first" Unknown="u">
    <Inner Type="7" ModReg="99"/></Variabile>
  <![CDATA[<Variabile/>]]><Value Enable="1" Type="3" Fun_Field="0" Dim="1" ModReg="30" ModScale="31" SWAP="1"/>
</Meter>
<Nodo Node_Enable="1" MBus_Type="0" wMBus_Add="77" wMBus_En_Key="1" wMBus_Key_3="3" ID="12" Node_ID_Type="0">
  <Variabile Enable="0" Fun_Field="0" Dim="0" ModReg="40" ModScale="0"/>
  <Variabile Enable="1" Type="0" Fun_Field="0" Dim="0" ModReg="41" ModScale="0"/>
</Nodo>
<Nodo Node_Enable="1"><Variabile Enable="0" Type="1" Fun_Field="0" Dim="0" ModReg="50"/></Nodo>)";

std::string Hex_Of(const std::vector<uint8_t>& v) {
  return QByteArray(reinterpret_cast<const char*>(v.data()), qsizetype(v.size())).toHex().toStdString();
}

// The images a compile builds from the network, format by format, or the error that ends it.
std::string Images(int type, int selDev, const QString& parGen, const std::optional<core::net::TNetwork>& mbus) {
  using namespace core::bank;
  std::string out;
  try {
    const std::vector<Bank_Format> formats = Bank_Formats(type, selDev);
    const TParGen_Numbers par = Read_ParGen_Numbers(pargen::Load_ParGen_File(parGen), type, formats);
    for (Bank_Format fmt : formats) {
      Bank_Network net = Collect(fmt, type, mbus, par);
      Gen_Par_Record genPar;
      Reset_Gen_Par(genPar);
      switch (fmt) {
        case Bank_Format::Standard: out += Hex_Of(Build_Bank_Std(net, par, type)); break;
        case Bank_Format::With_Header: out += Hex_Of(Build_Bank_B2(net, par, type)); break;
        case Bank_Format::Serial: out += Hex_Of(Build_Bank_Serial(net, par, type)); break;
        case Bank_Format::Network:
          out += Hex_Of(Build_Bank2_Net(net, par, type, genPar)) + "\n" + Hex_Of(Build_Bank1(genPar, net.wMBus_Slots));
          break;
      }
      out += "\n";
    }
    if (mbus)
      if (auto hit = core::net::Find_Overlap(*mbus, type)) out += "overlap: " + hit->Message.toStdString();
  } catch (const ECompileError& e) {
    out += "error: " + e.Message().toStdString();
  }
  return out;
}

// Every field of the records, as the editor's writer gives them, and what was not read.
std::string Records(const core::net::TRead_Result& r, int type) {
  plat::TXMLDocument doc;
  core::net::Build_Document(doc, r.Network, type);
  std::string out = r.Error.toStdString() + "\n" + doc.SaveToBytes().toStdString();
  for (const core::net::TNodo& n : r.Network.Nodi_List) {
    out += "\n" + std::to_string(n.Unread) + ":";
    for (const core::net::TVariabile& v : n.Var_List)
      out += " " + std::to_string(v.Unread) + "/" + std::to_string(int(v.Fault_Attr)) + "/" +
             std::to_string(v.Fault_Present) + "/" + v.Fault_Text.toStdString();
  }
  return out;
}

TEST(BankNetworkRoads, ReadAsItLoadsGivesTheImagesOfTheLoadedDocument) {
  Config_Dir d;
  d.Write_ParGen(kFull);
  const core::net::TNetwork golden = [&] {
    d.Write_MBus(kNetwork);
    return core::net::Load_Network(d.MBus(), 6, core::net::TRead_Mode::Read_All).Network;
  }();
  struct Case {
    const char* name;
    std::function<void()> write;
  } cases[] = {
      {"golden", [&] { d.Write_MBus(kNetwork); }},
      {"odd", [&] { d.Write_MBus(kOddNetwork); }},
      {"editor", [&] { ASSERT_TRUE(core::net::Save_Network(d.MBus(), golden, 6)); }},
      {"empty", [&] { d.Write_MBus(""); }},
  };
  for (const Case& c : cases) {
    c.write();
    plat::TXMLDocument doc;
    ASSERT_TRUE(doc.LoadFromFile(d.MBus()));
    for (int type : {1, 2, 3, 4, 5, 6, 7, 1001, 1007}) {
      for (int selDev : {0, 1}) {
        SCOPED_TRACE(std::string(c.name) + " type " + std::to_string(type) + " variant " + std::to_string(selDev));
        const std::string walked =
            Images(type, selDev, d.ParGen(), core::net::Read_Network(doc, type, core::net::TRead_Mode::Read_All).Network);
        const std::string read = Images(type, selDev, d.ParGen(), core::bank::Load_Network_For_Compile(d.MBus(), type));
        EXPECT_EQ(read, walked);
        if (c.name != std::string("empty")) EXPECT_NE(read.find('\n'), std::string::npos) << read;  // images built
      }
      for (auto mode : {core::net::TRead_Mode::Stop_At_Fault, core::net::TRead_Mode::Read_All})
        EXPECT_EQ(Records(core::net::Load_Network(d.MBus(), type, mode), type),
                  Records(core::net::Read_Network(doc, type, mode), type))
            << c.name << " type " << type;
    }
  }
  EXPECT_EQ(Images(3, 0, d.ParGen(), core::bank::Load_Network_For_Compile(d.Path() + "/absent.xml", 3)),
            Images(3, 0, d.ParGen(), std::nullopt));
}

// A file that is no XML ends the compile with the loader's message, wherever its fault stands, and the editor
// gets that message and no node, even after a variable it would have stopped at.
TEST(BankNetworkRoads, MalformedFileEndsTheCompileWithTheLoadersMessage) {
  const QByteArray bad[] = {
      R"(<Nodo Node_Enable="1"><Variabile Type="1" Type="2"/></Nodo>)",
      R"(<Nodo Node_Enable="1" Unknown="1" Unknown="2"/>)",
      R"(<Nodo><Variabile Type="x"/></Nodo><Nodo><Variabile Enable="1" Enable="1"/></Nodo>)",
      R"(<Nodo><Variabile><Deeper a="1" a="2"/></Variabile></Nodo>)",
      R"(<Nodo><Variabile Type="1"/></Nodo><Nodo>)",
      R"(<Nodo Node_Enable="1"/></M-Bus_Network><Nodo>)",
      R"(<Nodo Descrizione="A&nbsp;B"/>)",
  };
  Config_Dir d;
  d.Write_ParGen(kFull);
  for (const QByteArray& nodes : bad) {
    SCOPED_TRACE(nodes.toStdString());
    d.Write_MBus(nodes);
    plat::TXMLDocument doc;
    QString loadError;
    ASSERT_FALSE(doc.LoadFromFile(d.MBus(), &loadError));
    ASSERT_FALSE(loadError.isEmpty());
    try {
      core::bank::Compile(3, 1, d.ParGen(), d.MBus());
      ADD_FAILURE() << "compiled";
    } catch (const core::bank::ECompileError& e) {
      EXPECT_EQ(e.Message().toStdString(), ("M_Bus.xml cannot be read: " + loadError).toStdString());
    }
    const core::net::TRead_Result r = core::net::Load_Network(d.MBus(), 3);
    EXPECT_EQ(r.Error.toStdString(), loadError.toStdString());
    EXPECT_TRUE(r.Network.Nodi_List.empty());
  }
}

}  // namespace
