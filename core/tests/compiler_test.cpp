// The compiler's rules beyond the whole-image fixtures: collection, conversions and fallbacks, the limits
// the images impose, parameter encodings, and what reaches the disk.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>

#include "core/bank_writer.h"
#include "core/compiler.h"
#include "core/device_model.h"
#include "core/network_compiler.h"
#include "core/tests/bank_test_util.h"
#include "platform/io/files.h"

using namespace bank_test;
using core::bank::Bank_Set;
using core::bank::Compile;
using core::bank::ECompileError;

namespace {

QByteArray File_Of(const Bank_Set& set, const char* name) {
  const core::bank::Bank_File* f = set.Find(QString::fromLatin1(name));
  return f ? f->Data : QByteArray();
}

uint8_t Byte(const QByteArray& b, int off) { return uint8_t(b.at(off)); }
uint32_t Word(const QByteArray& b, int off) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | uint8_t(b.at(off + i));
  return v;
}

// An enabled variable; the given attributes replace the defaults of the same name.
QByteArray Var(const char* attrs) {
  const QByteArray given(attrs);
  QByteArray x = "<Variabile Enable=\"1\" ";
  for (const char* d : {"Type=\"0\"", "Fun_Field=\"0\"", "Dim=\"1\"", "ModReg=\"1\"", "ModScale=\"0\""}) {
    const QByteArray def(d);
    if (!(" " + given).contains(" " + def.left(def.indexOf('=') + 1))) x += def + " ";
  }
  return x + given + "/>";
}
QByteArray Node(const char* attrs, const QByteArray& vars) {
  return QByteArray("<Nodo Node_Enable=\"1\" ") + attrs + ">" + vars + "</Nodo>";
}
QByteArray Repeat(const QByteArray& x, int n) {
  QByteArray r;
  for (int i = 0; i < n; ++i) r += x;
  return r;
}

const Elements kType3Variant1 = {
    {"Sel_Dev", "1"}, {"Sel_Dev_MBus_Present", "1"}, {"Mod_Ser", "1"}, {"Mod_Baud", "7"}, {"Mod_Par", "0"},
    {"Mod_Id", "1"}, {"Mod_StopBit", "0"}, {"Mod_Protocol", "0"}, {"Meter_Baud", "3"}, {"Meter_Par", "1"},
    {"Meter_Req_Type", "1"}, {"Meter_Req_Delay", "100"}, {"Node_State", "0xFF"}, {"IP_1", "192"}, {"IP_2", "168"},
    {"IP_3", "0"}, {"IP_4", "10"}, {"SM_1", "255"}, {"SM_2", "255"}, {"SM_3", "255"}, {"SM_4", "0"},
    {"GA_1", "192"}, {"GA_2", "168"}, {"GA_3", "0"}, {"GA_4", "1"}, {"Gat_Enable", "0"}};

// ---------------------------------------------------------------------------------------------------------
// Collection and variable conversions

TEST(Compiler, VariableCodesAndKeptTruncations) {
  Config_Dir d;
  d.Write_MBus(Node("ID_Primary=\"1\"",
                    Var("Fun_Field=\"0\" ModReg=\"1\"") + Var("Fun_Field=\"1\" ModReg=\"2\"") +
                        Var("Fun_Field=\"2\" ModReg=\"3\"") + Var("Fun_Field=\"3\" ModReg=\"4\"") +
                        // scan-exported files: Type 65535 and Dim 255 take their low byte; VIFE -1 is 255
                        Var("Type=\"65535\" Dim=\"255\" VIFE=\"-1\" StoNumber=\"4294967295\" Tariff=\"-1\" ModReg=\"5\"")));
  const QByteArray b = File_Of(Compile(3, 0, "", d.MBus()), "bank.bin");
  const int blocks = 12 + 27;
  const uint8_t codes[4] = {0, 2, 1, 3};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Byte(b, blocks + 30 * i + 1), codes[i]) << "Fun_Field " << i;
  const int v = blocks + 30 * 4;
  EXPECT_EQ(Byte(b, v + 0), 255);   // Type
  EXPECT_EQ(Byte(b, v + 2), 2);     // field code of an unknown Dim
  EXPECT_EQ(Word(b, v + 12), 0xFFFFFFFFu);
  EXPECT_EQ(Word(b, v + 16), 0xFFFFFFFFu);
  EXPECT_EQ(Byte(b, v + 20), 255);  // VIFE
  // data area: 4 x (2 + 2), then the unknown Dim: 2 bytes at 16, scale slot at 18
  EXPECT_EQ(Byte(b, v + 5), 16);
  EXPECT_EQ(Byte(b, v + 9), 18);
}

TEST(Compiler, WiredNodesOfTheWirelessTypesNeedTheMBusLine) {
  const QByteArray net =
      Node("MBus_Type=\"1\" ID_Primary=\"3\"", Var("")) + Node("MBus_Type=\"0\" wMBus_Add=\"7\"", Var("ModReg=\"2\""));
  struct Case {
    const char* present;  // nullptr: element missing; "none": no ParGen.xml
    int wired;
  };
  const Case cases[] = {{"1", 1}, {"0", 0}, {nullptr, 0}, {"x", 0}, {"none", 0}};
  for (const Case& c : cases) {
    Config_Dir d;
    d.Write_MBus(net);
    if (!c.present || std::string(c.present) != "none") {
      QByteArray x = "<GeneralParameter>";
      if (c.present) x += QByteArray("<Sel_Dev_MBus_Present>") + c.present + "</Sel_Dev_MBus_Present>";
      x += "<IP_1>1</IP_1><IP_2>1</IP_2><IP_3>1</IP_3><IP_4>1</IP_4><SM_1>1</SM_1><SM_2>1</SM_2><SM_3>1</SM_3>"
           "<SM_4>1</SM_4><GA_1>1</GA_1><GA_2>1</GA_2><GA_3>1</GA_3><GA_4>1</GA_4><Gat_Enable>1</Gat_Enable>"
           "<TCP_Port>502</TCP_Port><Meter_Baud>3</Meter_Baud><Meter_Par>1</Meter_Par><Meter_Req_Type>0</Meter_Req_Type>"
           "<Meter_Req_Delay>5</Meter_Req_Delay></GeneralParameter>";
      d.Write(d.ParGen(), x);
    }
    const QByteArray b2 = File_Of(Compile(7, 0, d.ParGen(), d.MBus()), "bank2.bin");
    EXPECT_EQ(Word(b2, 13), uint32_t(21 + 31 * c.wired)) << (c.present ? c.present : "missing");
    const QByteArray b1 = File_Of(Compile(7, 0, d.ParGen(), d.MBus()), "bank1.bin");
    EXPECT_EQ(Byte(b1, 564), 1);
  }
}

TEST(Compiler, NodesWithoutEnabledVariablesTakeNothing) {
  Config_Dir d;
  d.Write_MBus(Node("MBus_Type=\"0\" wMBus_Add=\"11\"", "<Variabile Enable=\"0\" Type=\"0\" Fun_Field=\"0\" Dim=\"0\" ModReg=\"1\" ModScale=\"0\"/>") +
               Node("MBus_Type=\"1\" ID_Primary=\"3\"", "") +
               Node("MBus_Type=\"0\" wMBus_Add=\"22\" wMBus_ManID=\"9\"", Var("")) +
               Node("MBus_Type=\"0\" wMBus_Add=\"33\"", "<Variabile Enable=\"true\" Type=\"0\" Fun_Field=\"0\" Dim=\"0\" ModReg=\"1\" ModScale=\"0\"/>"));
  const Bank_Set set = Compile(7, 0, "", d.MBus());
  const QByteArray b1 = File_Of(set, "bank1.bin");
  EXPECT_EQ(Byte(b1, 564), 1);
  EXPECT_EQ(Spaced(b1.mid(2048, 6)), "09 00 16 00 00 00");  // the first slot is the node with address 22
  EXPECT_EQ(Spaced(b1.mid(2048 + 32, 32)), Spaced(QByteArray(32, '\0')));
  const QByteArray b2 = File_Of(set, "bank2.bin");
  EXPECT_EQ(Word(b2, 5), uint32_t(21 + 31 + 30));  // one node, one variable
}

TEST(Compiler, DocumentElementIsTheRootWhateverStandsBeforeIt) {
  Config_Dir d;
  d.Write(d.MBus(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- exported -->\n<M-Bus_Network>" +
                        Node("ID_Primary=\"4\"", Var("")) + "</M-Bus_Network>");
  d.Write(d.ParGen(), "<?xml version=\"1.0\"?><!--x--><GeneralParameter><Sel_Dev>1</Sel_Dev></GeneralParameter>");
  EXPECT_EQ(core::bank::Read_Sel_Dev(d.ParGen()), 1);
  const QByteArray b = File_Of(Compile(3, 0, "", d.MBus()), "bank.bin");
  EXPECT_EQ(Word(b, 4), uint32_t(12 + 27 + 30));  // one node, one variable
}

TEST(Compiler, ReadSelDevFallsBackToZero) {
  Config_Dir d;
  EXPECT_EQ(core::bank::Read_Sel_Dev(d.ParGen()), 0);  // no file
  d.Write(d.ParGen(), "<GeneralParameter><Sel_Dev>abc</Sel_Dev></GeneralParameter>");
  EXPECT_EQ(core::bank::Read_Sel_Dev(d.ParGen()), 0);
  d.Write(d.ParGen(), "<GeneralParameter><Sel_Dev>1</Sel_Dev>");
  EXPECT_EQ(core::bank::Read_Sel_Dev(d.ParGen()), 0);  // not well-formed
  d.Write(d.ParGen(), "<GeneralParameter><Sel_Dev> 0x1</Sel_Dev></GeneralParameter>");
  EXPECT_EQ(core::bank::Read_Sel_Dev(d.ParGen()), 1);
}

// ---------------------------------------------------------------------------------------------------------
// Errors: each ends the compile with a message naming the cause

struct Error_Case {
  const char* what;
  int type, selDev;
  bool withParGen;  // the type-3 variant-1 settings (with one element changed by parGenPatch)
  const char* parGenFrom;
  const char* parGenTo;
  QByteArray mbus;
  const char* message;  // part of the expected message
};

TEST(Compiler, ErrorsEndTheCompile) {
  const QByteArray wireless = Node("MBus_Type=\"0\" wMBus_Add=\"1\"", Var(""));
  const QByteArray twentyVars = Repeat(Var(""), 20);
  const Error_Case cases[] = {
      {"missing Type", 3, 0, false, "", "", Node("", "<Variabile Enable=\"1\" Fun_Field=\"0\" Dim=\"0\" ModReg=\"1\" ModScale=\"0\"/>"),
       "node 1, variable 1: the attribute Type is missing"},
      {"ModReg not a number", 3, 0, false, "", "", Node("", Var("ModReg=\"abc\"").replace("ModReg=\"1\" ", "")),
       "attribute ModReg: 'abc' is not a valid integer value"},
      {"decimal trailing blank", 3, 0, false, "", "", Node("", Var("Dim=\"12 \"").replace("Dim=\"1\" ", "")),
       "attribute Dim: '12 ' is not a valid integer value"},
      {"required element not a number", 3, 1, true, "<IP_1>192</IP_1>", "<IP_1>x</IP_1>", "",
       "ParGen.xml, element IP_1: 'x' is not a valid integer value"},
      {"element that must exist", 3, 1, true, "<Mod_Id>1</Mod_Id>", "", "", "the element Mod_Id is missing"},
      {"malformed M_Bus.xml", 3, 0, false, "", "", "<Nodo", "M_Bus.xml cannot be read"},
      {"variant", 3, 2, false, "", "", "", "Sel_Dev = 2 is not a device variant"},
      {"33 wireless nodes", 7, 0, false, "", "", Repeat(wireless, 33), "node 33: more than 32 wireless nodes"},
      {"256 wired nodes", 3, 0, false, "", "", Repeat(Node("ID_Primary=\"1\"", Var("")), 256), "at most 255 wired nodes"},
      {"image above 200000 bytes", 3, 0, false, "", "", Repeat(Node("ID_Primary=\"1\"", twentyVars), 230),
       "bank.bin would be larger than 200000 bytes"},
      {"data area above 65535", 3, 0, false, "", "",
       Repeat(Node("ID_Primary=\"1\"", Repeat(Var("Dim=\"7\" Length=\"191\"").replace("Dim=\"1\" ", ""), 20)), 17),
       "variable 20: the converter's data area of 65536 bytes is full"},
      {"VIF text of 256 characters", 3, 0, false, "", "",
       Node("", Var(("Type=\"21\" VIF_ASCII=\"" + std::string(256, 'A') + "\"").c_str()).replace("Type=\"0\" ", "")),
       "VIF_ASCII text is longer than 255"},
      {"primary address 256", 3, 0, false, "", "", Node("ID_Primary=\"256\"", Var("")), "primary address 256"},
      {"secondary address of 9 digits", 3, 0, false, "", "", Node("Node_ID_Type=\"1\" ID=\"100000000\"", Var("")),
       "secondary address 100000000"},
      {"Cut_After 255", 3, 0, false, "", "", Node("Cut_After=\"255\"", Var("")), "Cut_After = 255"},
      {"register beyond 16 bits", 3, 0, false, "", "", Node("", Var("ModReg=\"65536\"").replace("ModReg=\"1\" ", "")),
       "ModReg = 65536"},
      {"time-point register", 3, 0, false, "", "",
       Node("", Var("Type=\"20\" TP_Mod_Regs=\"1\" TP_Mod_Year=\"70000\"").replace("Type=\"0\" ", "")), "TP_Mod_Year = 70000"},
      {"node register", 3, 0, false, "", "", Node("Node_State=\"-1\"", Var("")), "Node_State = -1"},
      {"two values in one register", 3, 0, false, "", "",
       Node("ID_Primary=\"1\" Descrizione=\"A\"", Var("Dim=\"2\" ModReg=\"10\"").replace("Dim=\"1\" ", "")) +
           Node("ID_Primary=\"2\" Descrizione=\"B\"", Var("ModReg=\"11\"").replace("ModReg=\"1\" ", "")),
       "gives one Modbus register to two values: Error!! ModBus Register already use in the Node \"A\""},
  };
  for (const Error_Case& c : cases) {
    Config_Dir d;
    if (c.withParGen) {
      QByteArray x = "<GeneralParameter>";
      for (const auto& [n, t] : kType3Variant1) x += QByteArray("<") + n + ">" + t + "</" + n + ">";
      x += "</GeneralParameter>";
      if (*c.parGenFrom) x.replace(c.parGenFrom, c.parGenTo);
      d.Write(d.ParGen(), x);
    }
    if (c.mbus.startsWith("<Nodo")) d.Write(d.MBus(), c.mbus.endsWith('>') ? "<M-Bus_Network>" + c.mbus + "</M-Bus_Network>" : c.mbus);
    try {
      Compile(c.type, c.selDev, d.ParGen(), d.MBus());
      ADD_FAILURE() << c.what << ": no error";
    } catch (const ECompileError& e) {
      EXPECT_TRUE(e.Message().contains(QString::fromUtf8(c.message))) << c.what << ": " << e.Message().toStdString();
    }
  }
}

TEST(Compiler, TimeoutTooLargeForMillisecondsIsRefused) {
  for (const char* minutes : {"71582", "71583", "-1"}) {
    Config_Dir d;
    d.Write_ParGen({{"IP_1", "1"}, {"IP_2", "1"}, {"IP_3", "1"}, {"IP_4", "1"}, {"SM_1", "1"}, {"SM_2", "1"},
                    {"SM_3", "1"}, {"SM_4", "1"}, {"GA_1", "1"}, {"GA_2", "1"}, {"GA_3", "1"}, {"GA_4", "1"},
                    {"Gat_Enable", "1"}, {"TCP_Port", "502"}, {"TCP_Conn_TimeOut", minutes}, {"Meter_Baud", "3"},
                    {"Meter_Par", "1"}, {"Meter_Req_Delay", "5"}});
    if (std::string(minutes) == "71582") {
      EXPECT_EQ(Word(File_Of(Compile(7, 0, d.ParGen(), ""), "bank1.bin"), 600), 71582u * 60000u);
    } else {
      EXPECT_THROW(Compile(7, 0, d.ParGen(), ""), ECompileError) << minutes;
    }
  }
}

// ---------------------------------------------------------------------------------------------------------
// Parameter encodings

TEST(Compiler, SerialBlockPortsAndProtocol) {
  struct Case {
    int type;
    const char* modSer;
    const char* mbusSer;
    const char* protocol;
    uint8_t ports, proto;
  };
  const Case cases[] = {
      {4, "1", "0", "0", 0, 0}, {4, "0", "1", "1", 1, 1}, {4, "0", "0", "2", 2, 0}, {4, "1", "1", "3", 0, 0},
      {4, "1", "0", "4", 0, 1}, {4, "1", "0", "-1", 0, 0}, {4, "1", "0", "7", 0, 0},
      {5, "0", "0", "0", 1, 0}, {2, "0", "1", "0", 0, 0}, {3, "1", "0", "1", 1, 1},
  };
  for (const Case& c : cases) {
    Config_Dir d;
    d.Write_ParGen({{"Mod_Ser", c.modSer}, {"MBUS_Ser", c.mbusSer}, {"Mod_Baud", "3"}, {"Mod_Par", "2"},
                    {"Mod_Id", "247"}, {"Mod_Protocol", c.protocol}, {"Meter_Baud", "3"}, {"Meter_Par", "1"},
                    {"Meter_Req_Type", "1"}, {"Meter_Req_Delay", "0x100"}});
    const QByteArray b = File_Of(Compile(c.type, 0, d.ParGen(), ""), "bank.bin");
    ASSERT_EQ(b.size(), 12 + 14);
    EXPECT_EQ(Byte(b, 12), c.ports) << c.type << " " << c.modSer << c.mbusSer;
    EXPECT_EQ(Byte(b, 16), c.proto) << "protocol " << c.protocol;
    EXPECT_EQ(Spaced(b.mid(13, 3)), "03 02 F7");
    EXPECT_EQ(Spaced(b.mid(20, 6)), "00 01 00 00 00 FF");  // delay 256, 0 nodes, 0 entries, node state fallback
  }
}

TEST(Compiler, GeneralParameterEncodings) {
  struct Case {
    const char* element;
    const char* text;  // nullptr: element missing
    int offset;
    uint8_t value;
  };
  const Case cases[] = {
      // C field: enable flag x fixed value
      {"Use_Fix_C_Field_Value", "0", 728, 0x5B}, {"Use_Fix_C_Field_Value", "1", 728, 0x7B},
      {"Use_Fix_C_Field_Value", "00", 728, 0x5B}, {"Use_Fix_C_Field_Value", nullptr, 728, 0x5B},
      {"Use_Fix_C_Field_Value", "z", 728, 0x5B},
      // Modbus stop bits: 1 or 2, anything else 1
      {"Mod_StopBit", "0", 526, 1}, {"Mod_StopBit", "1", 526, 2}, {"Mod_StopBit", "-1", 526, 1},
      {"Mod_StopBit", "5", 526, 1}, {"Mod_StopBit", nullptr, 526, 1},
      // wireless modes
      {"wMBus_Mode", "0", 568, 1}, {"wMBus_Mode", "1", 568, 5}, {"wMBus_Mode", "2", 568, 15},
      {"wMBus_Mode", "3", 568, 17}, {"wMBus_Mode", "4", 568, 11}, {"wMBus_Mode", "9", 568, 1},
      {"wMBus_Mode", nullptr, 568, 1},
      // Modbus baud and parity
      {"Mod_Baud", "0", 496, 0xB0}, {"Mod_Baud", "8", 496, 0x00}, {"Mod_Baud", "x", 496, 0x00},
      {"Mod_Par", "2", 520, 3}, {"Mod_Par", "x", 520, 0}, {"Mod_Id", "x", 20, 1}, {"Mod_Id", "300", 20, 44},
  };
  for (const Case& c : cases) {
    for (const char* enable : {"0", "1"}) {
      Config_Dir d;
      QByteArray x = "<GeneralParameter><Enable_Use_Fix_C_Field>" + QByteArray(enable) + "</Enable_Use_Fix_C_Field>";
      const std::pair<const char*, const char*> base[] = {
          {"Mod_Id", "1"}, {"Mod_Baud", "7"}, {"Mod_Par", "0"}, {"Mod_StopBit", "0"}, {"wMBus_Mode", "0"},
          {"Use_Fix_C_Field_Value", "0"}, {"IP_1", "1"}, {"IP_2", "1"}, {"IP_3", "1"}, {"IP_4", "1"},
          {"SM_1", "1"}, {"SM_2", "1"}, {"SM_3", "1"}, {"SM_4", "1"}, {"GA_1", "1"}, {"GA_2", "1"},
          {"GA_3", "1"}, {"GA_4", "1"}, {"Gat_Enable", "1"}, {"Meter_Baud", "3"}, {"Meter_Par", "1"},
          {"Meter_Req_Delay", "5"}};
      for (const auto& [n, t] : base) {
        if (std::string(n) == c.element) {
          if (c.text) x += QByteArray("<") + n + ">" + c.text + "</" + n + ">";
        } else {
          x += QByteArray("<") + n + ">" + t + "</" + n + ">";
        }
      }
      x += "</GeneralParameter>";
      d.Write(d.ParGen(), x);
      const QByteArray b1 = File_Of(Compile(6, 0, d.ParGen(), ""), "bank1.bin");
      uint8_t expected = c.value;
      if (c.offset == 728 && std::string(enable) == "1") expected |= 0x80;
      EXPECT_EQ(Byte(b1, c.offset), expected) << c.element << "=" << (c.text ? c.text : "(missing)") << " enable " << enable;
    }
  }
}

// ---------------------------------------------------------------------------------------------------------
// Writing the files

TEST(BankWriter, WritesTheSetAndKeepsTheOldOneOnFailure) {
  Config_Dir d;
  Config_Dir cfg;
  d.Write_ParGen(kType3Variant1);
  d.Write_MBus(Node("ID_Primary=\"2\"", Var("")));
  const Bank_Set set = Compile(3, 1, d.ParGen(), d.MBus());
  QString error;
  ASSERT_TRUE(core::bank::Save_Bank_Set(d.Bin(), set, &error)) << error.toStdString();
  for (const auto& f : set.Files) {
    QByteArray onDisk;
    ASSERT_TRUE(plat::ReadFileBytes(d.Bin() + "/" + f.Name, onDisk));
    EXPECT_EQ(onDisk, f.Data) << f.Name.toStdString();
  }

  // The second file's rename fails: neither file changes, no temporary file stays.
  d.Write_MBus(Node("ID_Primary=\"3\"", Var("")));
  const Bank_Set second = Compile(3, 1, d.ParGen(), d.MBus());
  ASSERT_NE(File_Of(second, "bank2.bin"), File_Of(set, "bank2.bin"));
  plat::SetFileWriteFaultHook([](plat::FileWriteStep step, const QString& target) {
    return step == plat::FileWriteStep::Rename && target.endsWith("bank2.bin");
  });
  EXPECT_FALSE(core::bank::Save_Bank_Set(d.Bin() + "/", second, &error));
  plat::SetFileWriteFaultHook({});
  EXPECT_FALSE(error.isEmpty());
  for (const auto& f : set.Files) {
    QByteArray onDisk;
    ASSERT_TRUE(plat::ReadFileBytes(d.Bin() + "/" + f.Name, onDisk));
    EXPECT_EQ(onDisk, f.Data) << f.Name.toStdString();
  }
  EXPECT_EQ(QDir(d.Bin()).entryList(QDir::Files), (QStringList{"bank1.bin", "bank2.bin"}));

  EXPECT_FALSE(core::bank::Save_Bank_Set(d.Path() + "/missing", set, &error));
  EXPECT_FALSE(core::bank::Save_Bank_Set(d.Bin(), Compile(8, 0, "", ""), &error));
}

TEST(BankWriter, AFailedCompileLeavesNothingToSave) {
  Config_Dir d;
  d.Write_MBus(Node("ID_Primary=\"2\"", Var("")));
  File_ParGen = d.ParGen();
  File_MBus = d.MBus();
  Bank_Device_Type = 3;
  Bank_Sel_Dev = 0;
  Compile_Configuration();
  EXPECT_TRUE(Save_Bank_Files(d.Bin() + "/"));
  d.Write_MBus(Node("ID_Primary=\"300\"", Var("")));
  EXPECT_THROW(Compile_Configuration(), ECompileError);
  QString error;
  EXPECT_FALSE(Save_Bank_Files(d.Bin() + "/", &error));
  EXPECT_FALSE(error.isEmpty());
  File_ParGen.clear();
  File_MBus.clear();
}

// ---------------------------------------------------------------------------------------------------------
// The command-line driver

struct Run_Result {
  int code;
  QString err;
};

Run_Result Run_Tool(const QStringList& args) {
  QProcess p;
  p.start(QStringLiteral(TEST_BINARY_DIR "/../../tools/bank_compile/bank_compile"), args);
  if (!p.waitForFinished(30000)) return {-1, QStringLiteral("did not finish")};
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardError())};
}

TEST(BankCompileTool, CompilesTheFolderOrChangesNothing) {
  Config_Dir d;
  d.Write_ParGen(kType3Variant1);  // Sel_Dev 1: the variant with Ethernet port
  d.Write_MBus(Node("ID_Primary=\"2\"", Var("")));
  const Run_Result ok = Run_Tool({"--device-type", "3", d.Path()});
  ASSERT_EQ(ok.code, 0) << ok.err.toStdString();
  const Bank_Set set = Compile(3, 1, d.ParGen(), d.MBus());
  EXPECT_EQ(QDir(d.Bin()).entryList(QDir::Files), (QStringList{"bank1.bin", "bank2.bin"}));
  for (const auto& f : set.Files) {
    QByteArray onDisk;
    ASSERT_TRUE(plat::ReadFileBytes(d.Bin() + "/" + f.Name, onDisk));
    EXPECT_EQ(onDisk, f.Data) << f.Name.toStdString();
  }

  d.Write_MBus(Node("ID_Primary=\"2\"", "<Variabile Enable=\"1\" Type=\"x\" Fun_Field=\"0\" Dim=\"0\" ModReg=\"1\" ModScale=\"0\"/>"));
  const Run_Result bad = Run_Tool({"--device-type", "3", d.Path()});
  EXPECT_EQ(bad.code, 1);
  EXPECT_TRUE(bad.err.contains("attribute Type: 'x' is not a valid integer value")) << bad.err.toStdString();
  for (const auto& f : set.Files) {
    QByteArray onDisk;
    ASSERT_TRUE(plat::ReadFileBytes(d.Bin() + "/" + f.Name, onDisk));
    EXPECT_EQ(onDisk, f.Data) << f.Name.toStdString();
  }

  EXPECT_EQ(Run_Tool({"--device-type", "3"}).code, 2);
  EXPECT_EQ(Run_Tool({"--device-type", "8", d.Path()}).code, 1);
}

}  // namespace
