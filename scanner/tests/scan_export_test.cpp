// The scan export's M_Bus.xml: node and record attributes in their order, register numbering with and without
// per-node start registers, node state and identification registers, check states, appending, refusals, and
// that the network compiler reads back what was written.

#include "scanner/scan_export.h"

#include "core/network_compiler.h"
#include "platform/xml/xmldocument.h"
#include "scanner/mbus_decode.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

namespace {

using TBytes = std::vector<uint8_t>;

std::vector<TVariable_MBus> Records(const TBytes& Area, bool Wireless = false) {
  std::vector<TVariable_MBus> L;
  TDecode_Options O;
  O.Wireless = Wireless;
  Decode_Records(L, Area, O);
  return L;
}

// Volume (8-digit BCD, 2 registers), flow temperature maximum (16-bit, 1), energy (64-bit, 4).
const TBytes Three = {0x0C, 0x13, 0x78, 0x56, 0x34, 0x12, 0x12, 0x5A, 0x2C, 0x01,
                      0x07, 0x03, 1, 0, 0, 0, 0, 0, 0, 0};

std::unique_ptr<TSlave_MBus> Slave(int Primary, const QString& Secondary, const TBytes& Area) {
  auto S = std::make_unique<TSlave_MBus>();
  S->Primary_Addresss = uint16_t(Primary);
  S->Secondary_Addresss = Secondary;
  S->descManufacture = QStringLiteral("KAM");
  S->List_Var = Records(Area);
  return S;
}

class Export : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(Dir.isValid()); }
  ~Export() override {
    for (TSlave_MBus* S : Wired) delete S;
    for (TSlave_wMBus* S : Wireless) delete S;
  }
  QString File() const { return Dir.filePath(QStringLiteral("M_Bus.xml")); }
  TSaveConfXML Options() const {
    TSaveConfXML D;
    D.Mod_Start = 1;
    D.Cut_After = 3;
    D.File_Name = File();
    return D;
  }
  plat::TXMLNode Root() {
    EXPECT_TRUE(Doc.LoadFromFile(File())) << Doc.LastError().toStdString();
    return Doc.DocumentElement();
  }
  std::vector<int> ModRegs(plat::TXMLNode Node) {
    std::vector<int> R;
    for (const plat::TXMLNode& V : Node.ChildElements()) R.push_back(V.Attribute(QStringLiteral("ModReg")).toInt());
    return R;
  }
  QByteArray File_Bytes() const {
    QFile F(File());
    return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
  }

  QTemporaryDir Dir;
  QList<TSlave_MBus*> Wired;
  QList<TSlave_wMBus*> Wireless;
  plat::TXMLDocument Doc;
};

TEST_F(Export, OneSlaveWithConsecutiveRegisters) {
  Wired.append(Slave(5, QStringLiteral("12345678"), Three).release());
  TSaveConfXML D = Options();
  D.Node_ID_Type = 1;
  D.SND_NKE = 1;
  ASSERT_TRUE(Save_XML_Conf_Wired(D, Wired));
  plat::TXMLNode R = Root();
  EXPECT_EQ(R.NodeName(), "M-Bus_Network");
  ASSERT_EQ(R.ChildElements().Count(), 1);
  plat::TXMLNode N = R.FirstChildElement();
  EXPECT_EQ(N.NodeName(), "Nodo");
  EXPECT_EQ(N.AttributeNames(), QStringList({"Node_Enable", "ID_Primary", "ID_Secondary", "Node_ID_Type", "Descrizione",
                                             "Send_SND_NKE", "Reset_App", "Cut_After"}));
  EXPECT_EQ(N.Attribute("Node_Enable"), "1");
  EXPECT_EQ(N.Attribute("ID_Primary"), "5");
  EXPECT_EQ(N.Attribute("ID_Secondary"), "12345678");
  EXPECT_EQ(N.Attribute("Node_ID_Type"), "1");
  EXPECT_EQ(N.Attribute("Descrizione"), "KAM");
  EXPECT_EQ(N.Attribute("Send_SND_NKE"), "1");
  EXPECT_EQ(N.Attribute("Reset_App"), "0");
  EXPECT_EQ(N.Attribute("Cut_After"), "2");  // three telegrams: the editor's item index 2
  EXPECT_EQ(ModRegs(N), (std::vector<int>{1, 3, 4}));
  plat::TXMLNode V = N.ChildElements()[1];
  EXPECT_EQ(V.NodeName(), "Variabile");
  EXPECT_EQ(V.AttributeNames(), QStringList({"Enable", "Position", "Desc", "Type", "VIF_ASCII", "Fun_Field", "Length",
                                             "ModReg", "Dim", "Unit", "StoNumber", "Tariff", "VIFE", "ModScale",
                                             "BCDtoINT", "SWAP"}));
  EXPECT_EQ(V.Attribute("Position"), "2");
  EXPECT_EQ(V.Attribute("Desc"), Wired[0]->List_Var[1].Desc_Type_Data() + " (U0S0T0)");
  EXPECT_EQ(V.Attribute("Type"), "12");
  EXPECT_EQ(V.Attribute("Fun_Field"), "2");  // maximum is the editor's item 2
  EXPECT_EQ(V.Attribute("Dim"), "1");
  QStringList Dims;
  for (const plat::TXMLNode& E : N.ChildElements()) Dims << E.Attribute("Dim");
  EXPECT_EQ(Dims, QStringList({"2", "1", "3"}));
}

TEST_F(Export, DataSizesAndTheirRegisters) {
  struct TCase {
    uint8_t Code;
    int32_t Nbyte;
    int32_t Dim, Registers;
  } Cases[] = {{1, 1, 0, 1},  {9, 1, 0, 1},  {2, 2, 1, 1},  {10, 2, 1, 1},  {3, 3, 4, 2},  {11, 3, 4, 2},
               {4, 4, 2, 2},  {12, 4, 2, 2},  {5, 4, 6, 2},  {6, 6, 5, 3},   {14, 6, 5, 3},  {7, 8, 3, 4},
               {13, 1, 7, 1}, {13, 2, 7, 1}, {13, 3, 7, 2}, {13, 6, 7, 3}, {0, 0, 255, 1}, {8, 0, 255, 1},
               {15, 0, 255, 1}};
  for (const TCase& C : Cases) {
    EXPECT_EQ(Export_Dim(C.Code), C.Dim) << int(C.Code);
    EXPECT_EQ(Export_Registers(C.Code, C.Nbyte), C.Registers) << int(C.Code) << " " << C.Nbyte;
  }
}

TEST_F(Export, PerNodeStartRegistersWithNodeStateAndIdentification) {
  struct TCase {
    int Code_Dev;
    bool Node_State, Ident;
    const char* Expect_State;  // nullptr: attribute absent
    const char* Expect_Ident;
    int First_Reg;
  } Cases[] = {
      {9, true, true, "100", "102", 103}, {9, true, false, "100", "0", 102}, {9, false, true, "0", "100", 101},
      {9, false, false, "0", "0", 100},   {5, true, true, nullptr, nullptr, 100},
  };
  Wired.append(Slave(5, QStringLiteral("05"), Three).release());
  Wired.append(Slave(7, QStringLiteral("07"), Three).release());
  for (const TCase& C : Cases) {
    TSaveConfXML D = Options();
    D.XML_Code_Dev = C.Code_Dev;
    D.StartModnode = 1;
    D.SMN_Array = {100, 200};
    D.En_NodeState = C.Node_State;
    D.En_IdeNum = C.Ident;
    ASSERT_TRUE(Save_XML_Conf_Wired(D, Wired));
    plat::TXMLNodeList Nodes = Root().ChildElements();
    ASSERT_EQ(Nodes.Count(), 2);
    for (int I = 0; I < 2; ++I) {
      plat::TXMLNode N = Nodes[I];
      const int Offset = I * 100;
      auto Reg = [&](const char* Text) { return Text == QStringLiteral("0") ? QStringLiteral("0") : QString::number(QString(Text).toInt() + Offset); };
      EXPECT_EQ(N.HasAttribute("Node_State"), C.Expect_State != nullptr);
      EXPECT_EQ(N.HasAttribute("Ident_Num"), C.Expect_Ident != nullptr);
      if (C.Expect_State) {
        EXPECT_EQ(N.Attribute("Node_State"), Reg(C.Expect_State));
      }
      if (C.Expect_Ident) {
        EXPECT_EQ(N.Attribute("Ident_Num"), Reg(C.Expect_Ident));
      }
      EXPECT_EQ(ModRegs(N), (std::vector<int>{C.First_Reg + Offset, C.First_Reg + Offset + 2, C.First_Reg + Offset + 3}));
      EXPECT_EQ(N.HasAttribute("ID"), C.Code_Dev == 5);
      const QStringList Names = N.AttributeNames();
      if (C.Expect_State) {
        EXPECT_EQ(Names.indexOf("Node_State"), Names.indexOf("Cut_After") + 1);
      }
    }
  }
}

TEST_F(Export, CheckStatesOfSlavesAndRecords) {
  Wired.append(Slave(5, QStringLiteral("05"), Three).release());
  Wired.append(Slave(6, QStringLiteral("06"), Three).release());
  TScan_Check_State Checks;
  Checks.Slave_Checked = [](int I, const TSlave_MBus&) { return I != 1; };
  Checks.Record_Checked = [](int I, int R, const TVariable_MBus&) {
    if (I == 1) throw std::runtime_error("no node");  // an unreadable check state counts as checked
    return R != 0;
  };
  for (int Per_Node : {0, 1}) {
    TSaveConfXML D = Options();
    D.StartModnode = Per_Node;
    D.SMN_Array = {10, 20};
    D.Mod_Start = 10;
    ASSERT_TRUE(Save_XML_Conf_Wired(D, Wired, Checks));
    plat::TXMLNodeList Nodes = Root().ChildElements();
    EXPECT_EQ(Nodes[0].Attribute("Node_Enable"), "1");
    EXPECT_EQ(Nodes[1].Attribute("Node_Enable"), "0");
    plat::TXMLNode First = Nodes[0].FirstChildElement();
    EXPECT_EQ(First.Attribute("Enable"), "0");
    EXPECT_EQ(First.Attribute("Dim"), "2");
    QStringList Enables;
    for (const plat::TXMLNode& V : Nodes[1].ChildElements()) Enables << V.Attribute("Enable");
    EXPECT_EQ(Enables, QStringList({"1", "1", "1"}));
    if (Per_Node) {  // the unticked record takes no register
      EXPECT_EQ(ModRegs(Nodes[0]), (std::vector<int>{10, 10, 11}));
      EXPECT_EQ(ModRegs(Nodes[1]), (std::vector<int>{20, 22, 23}));
    } else {
      EXPECT_EQ(ModRegs(Nodes[0]), (std::vector<int>{10, 12, 13}));
      EXPECT_EQ(ModRegs(Nodes[1]), (std::vector<int>{17, 19, 20}));
    }
  }
}

TEST_F(Export, TypesTextsAndLengths) {
  // VIF 6F (no category, type -1); a plain-text unit with a control character; an LVAR text of 3 characters;
  // a minimum value.
  const TBytes Area = {0x02, 0x6F, 0x01, 0x00,                          //
                       0x02, 0x7C, 0x03, 0x01, 'W', 'k', 0x10, 0x00,   //
                       0x0D, 0x13, 0x03, 'a', 'b', 'c',                 //
                       0x22, 0x5A, 0x2C, 0x01};
  Wired.append(Slave(1, QStringLiteral("01"), Area).release());
  ASSERT_EQ(Wired[0]->List_Var.size(), 4u);
  TScan_Check_State Checks;
  Checks.Record_Checked = [](int, int R, const TVariable_MBus&) { return R != 2; };
  TSaveConfXML D = Options();
  D.StartModnode = 1;
  D.SMN_Array = {1};
  ASSERT_TRUE(Save_XML_Conf_Wired(D, Wired, Checks));
  plat::TXMLNodeList V = Root().FirstChildElement().ChildElements();
  ASSERT_EQ(V.Count(), 4);
  EXPECT_EQ(V[0].Attribute("Type"), "65535");
  EXPECT_EQ(V[0].Attribute("VIF_ASCII"), "");
  EXPECT_EQ(V[1].Attribute("Type"), "21");
  EXPECT_EQ(V[1].Attribute("VIF_ASCII"), "kW?");  // the file stays well-formed XML
  EXPECT_EQ(V[2].Attribute("Dim"), "7");
  EXPECT_EQ(V[2].Attribute("Length"), "3");  // kept for the unticked variable-length record
  EXPECT_EQ(V[2].Attribute("VIF_ASCII"), "");
  EXPECT_EQ(V[3].Attribute("Fun_Field"), "1");
  EXPECT_EQ(V[3].Attribute("Length"), "0");
}

TEST_F(Export, CutAfterIsTheEditorsIndex) {
  Wired.append(Slave(1, QStringLiteral("01"), Three).release());
  const std::pair<int, const char*> Cases[] = {{-5, "0"}, {0, "0"}, {1, "0"}, {3, "2"}, {250, "249"}, {1000, "249"}};
  for (const auto& [Count, Text] : Cases) {
    TSaveConfXML D = Options();
    D.Cut_After = Count;
    ASSERT_TRUE(Save_XML_Conf_Wired(D, Wired));
    EXPECT_EQ(Root().FirstChildElement().Attribute("Cut_After"), Text) << Count;
  }
}

TEST_F(Export, MBusTypeForTheWirelessCapableCodes) {
  Wired.append(Slave(1, QStringLiteral("01"), Three).release());
  for (int Code : {0, 1, 5, 9, 13, 14}) {
    TSaveConfXML D = Options();
    D.XML_Code_Dev = Code;
    ASSERT_TRUE(Save_XML_Conf_Wired(D, Wired));
    plat::TXMLNode N = Root().FirstChildElement();
    EXPECT_EQ(N.Attribute("MBus_Type", "absent"), Code == 13 || Code == 14 ? "1" : "absent") << Code;
    if (Code == 5) {
      EXPECT_EQ(N.AttributeNames().mid(0, 2), QStringList({"Node_Enable", "ID"}));
    }
  }
}

std::unique_ptr<TSlave_wMBus> Device(int32_t Address, const TBytes& Area) {
  auto S = std::make_unique<TSlave_wMBus>();
  S->ALA_Manufacturer = 0x2C2D;
  S->ALA_Manu_str = QStringLiteral("KAM");
  S->ALA_Address = Address;
  S->ALA_Version = 0x1B;
  S->ALA_DeviceType = 0x16;
  S->List_Var = Records(Area, true);
  return S;
}

TEST_F(Export, WirelessDevicesSkipIdleFillers) {
  const TBytes Area = {0x0C, 0x13, 0x78, 0x56, 0x34, 0x12, 0x2F, 0x02, 0x5A, 0x2C, 0x01, 0x04, 0x13, 1, 0, 0, 0};
  Wireless.append(Device(int32_t(0xFEDCBA98), Area).release());
  Wireless[0]->Enable_Key = true;
  for (int K = 0; K < 16; ++K) Wireless[0]->Key[size_t(K)] = uint8_t(0xF0 + K);
  Wireless[0]->List_Var[2].Enable = false;
  ASSERT_EQ(Wireless[0]->List_Var.size(), 4u);
  ASSERT_FALSE(Wireless[0]->List_Var[1].Real_Wireless_Var);
  TSaveConfXML D = Options();
  D.XML_Code_Dev = 13;
  D.StartModnode = 1;
  D.SMN_Array = {40};
  D.En_NodeState = true;
  ASSERT_TRUE(Save_XML_Conf_Wireless(D, Wireless));
  plat::TXMLNode N = Root().FirstChildElement();
  QStringList Expected = {"Node_Enable", "ID_Primary", "ID_Secondary", "Node_ID_Type", "Descrizione", "Send_SND_NKE",
                          "Reset_App", "Cut_After", "Node_State", "Ident_Num", "MBus_Type", "wMBus_ManID", "wMBus_Add",
                          "wMBus_Ver", "wMBus_DevType", "wMBus_En_Key"};
  for (int K = 1; K <= 16; ++K) Expected << QStringLiteral("wMBus_Key_%1").arg(K);
  EXPECT_EQ(N.AttributeNames(), Expected);
  EXPECT_EQ(N.Attribute("ID_Primary"), "1");
  EXPECT_EQ(N.Attribute("ID_Secondary"), "1");
  EXPECT_EQ(N.Attribute("Descrizione"), "KAM");
  EXPECT_EQ(N.Attribute("Cut_After"), "3");
  EXPECT_EQ(N.Attribute("Node_State"), "40");
  EXPECT_EQ(N.Attribute("Ident_Num"), "0");
  EXPECT_EQ(N.Attribute("MBus_Type"), "0");
  EXPECT_EQ(N.Attribute("wMBus_ManID"), QString::number(0x2C2D));
  EXPECT_EQ(N.Attribute("wMBus_Add"), QString::number(int32_t(0xFEDCBA98)));
  EXPECT_EQ(N.Attribute("wMBus_Ver"), "27");
  EXPECT_EQ(N.Attribute("wMBus_DevType"), "22");
  EXPECT_EQ(N.Attribute("wMBus_En_Key"), "1");
  EXPECT_EQ(N.Attribute("wMBus_Key_1"), "240");
  EXPECT_EQ(N.Attribute("wMBus_Key_16"), "255");
  QStringList Positions, Enables;
  for (const plat::TXMLNode& V : N.ChildElements()) {
    Positions << V.Attribute("Position");
    Enables << V.Attribute("Enable");
  }
  EXPECT_EQ(Positions, QStringList({"1", "3", "4"}));
  EXPECT_EQ(Enables, QStringList({"1", "0", "1"}));
  EXPECT_EQ(ModRegs(N), (std::vector<int>{42, 44, 44}));
}

TEST_F(Export, AppendKeepsTheFileAndAddsAfterItsNodes) {
  const QByteArray Old = "<?xml version=\"1.0\"?>\r\n<M-Bus_Network>\r\n\t<Nodo Node_Enable=\"1\" ID_Primary=\"9\">\r\n"
                         "\t\t<Variabile Enable=\"1\" Type=\"0\" Fun_Field=\"0\" Dim=\"2\" ModReg=\"1\" ModScale=\"0\"/>\r\n"
                         "\t</Nodo>\r\n</M-Bus_Network>\r\n<!--Ver 1.0-->\r\n";
  {
    QFile F(File());
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    F.write(Old);
  }
  Wired.append(Slave(5, QStringLiteral("05"), Three).release());
  TSaveConfXML D = Options();
  D.Append = 1;
  D.Mod_Start = 3;
  ASSERT_TRUE(Save_XML_Conf_Wired(D, Wired));
  const QByteArray New = File_Bytes();
  EXPECT_TRUE(New.startsWith(Old.left(Old.indexOf("\t</Nodo>") + 9))) << New.constData();
  EXPECT_TRUE(New.endsWith("</M-Bus_Network>\r\n<!--Ver 1.0-->\r\n")) << New.constData();
  plat::TXMLNodeList Nodes = Root().ChildElements();
  ASSERT_EQ(Nodes.Count(), 2);
  EXPECT_EQ(Nodes[0].Attribute("ID_Primary"), "9");
  EXPECT_EQ(Nodes[1].Attribute("ID_Primary"), "5");
  EXPECT_EQ(ModRegs(Nodes[1]), (std::vector<int>{3, 5, 6}));
}

TEST_F(Export, RefusalsLeaveTheOldFileWhole) {
  const QByteArray Old = "<M-Bus_Network><Nodo ID_Primary=\"9\"/></M-Bus_Network>";
  auto Write_Old = [&](const QByteArray& Bytes) {
    QFile F(File());
    ASSERT_TRUE(F.open(QIODevice::WriteOnly | QIODevice::Truncate));
    F.write(Bytes);
  };
  Write_Old(Old);
  // Empty lists: false, the file untouched.
  EXPECT_FALSE(Save_XML_Conf_Wired(Options(), Wired));
  EXPECT_FALSE(Save_XML_Conf_Wireless(Options(), Wireless));
  EXPECT_EQ(File_Bytes(), Old);

  Wired.append(Slave(5, QStringLiteral("05"), Three).release());
  Wired.append(Slave(6, QStringLiteral("06"), Three).release());
  Wireless.append(Device(1, Three).release());
  TSaveConfXML Short = Options();
  Short.StartModnode = 1;
  Short.SMN_Array = {1};
  EXPECT_THROW(Save_XML_Conf_Wired(Short, Wired), EScanExportError);
  Short.SMN_Array = {};
  EXPECT_THROW(Save_XML_Conf_Wireless(Short, Wireless), EScanExportError);

  TSaveConfXML High = Options();
  High.Mod_Start = Max_Export_Register - 5;  // the second slave's registers would pass the editor's range
  EXPECT_THROW(Save_XML_Conf_Wired(High, Wired), EScanExportError);
  High.StartModnode = 1;
  High.SMN_Array = {1, Max_Export_Register};
  High.En_NodeState = true;
  EXPECT_THROW(Save_XML_Conf_Wired(High, Wired), EScanExportError);
  TSaveConfXML Negative = Options();
  Negative.Mod_Start = -1;
  EXPECT_THROW(Save_XML_Conf_Wireless(Negative, Wireless), EScanExportError);
  EXPECT_EQ(File_Bytes(), Old);

  TSaveConfXML Append = Options();
  Append.Append = 1;
  Write_Old("<Other/>");
  EXPECT_THROW(Save_XML_Conf_Wired(Append, Wired), EScanExportError);
  EXPECT_EQ(File_Bytes(), "<Other/>");
  Write_Old("<M-Bus_Network><Nodo>");
  EXPECT_THROW(Save_XML_Conf_Wired(Append, Wired), plat::EXMLError);
  EXPECT_EQ(File_Bytes(), "<M-Bus_Network><Nodo>");
  QFile::remove(File());
  EXPECT_THROW(Save_XML_Conf_Wired(Append, Wired), plat::EXMLError);
  EXPECT_FALSE(QFile::exists(File()));

  TSaveConfXML Nowhere = Options();
  Nowhere.File_Name = Dir.filePath(QStringLiteral("missing/M_Bus.xml"));
  EXPECT_THROW(Save_XML_Conf_Wired(Nowhere, Wired), plat::EXMLError);
}

// The compiler reads what the export writes, and its register map is the export's.
TEST_F(Export, CompilerReadsTheFileBack) {
  const TBytes Area = {0x0C, 0x13, 0x78, 0x56, 0x34, 0x12,  // 2 registers
                       0x0D, 0x13, 0x05, 'a', 'b', 'c', 'd', 'e',  // variable length, 5 bytes: 3 registers
                       0x02, 0x7C, 0x03, 'h', 'W', 'k', 0x10, 0x00,  // plain-text unit
                       0x05, 0x2B, 0, 0, 0x80, 0x3F,  // 32-bit real: 2 registers
                       0x06, 0x13, 1, 0, 0, 0, 0, 0};  // 48-bit: 3 registers
  Wired.append(Slave(5, QStringLiteral("12345678"), Area).release());
  Wired.append(Slave(250, QStringLiteral("87654321"), Three).release());
  TSaveConfXML D = Options();
  D.XML_Code_Dev = 9;
  D.Node_ID_Type = 1;
  D.Cut_After = 250;
  D.StartModnode = 1;
  D.SMN_Array = {1, 59990};
  D.En_NodeState = D.En_IdeNum = true;
  ASSERT_TRUE(Save_XML_Conf_Wired(D, Wired));
  const QString No_ParGen = Dir.filePath(QStringLiteral("ParGen.xml"));
  EXPECT_NO_THROW(core::bank::Compile(3, 0, No_ParGen, File()));
  const core::bank::Bank_Network Net = core::bank::Collect_Network(core::bank::Bank_Format::Standard, 3, File(),
                                                                   core::bank::Load_ParGen(No_ParGen));
  ASSERT_EQ(Net.Nodi_Wired.size(), 2u);
  const core::bank::TNodo& N = Net.Nodi_Wired[0];
  EXPECT_EQ(N.ID, 12345678u);
  EXPECT_EQ(N.ID_Type, 1);
  EXPECT_EQ(N.Cut_After, 250);
  EXPECT_EQ(N.Node_State, 1);
  EXPECT_EQ(N.Ident_Num, 3);
  ASSERT_EQ(N.Vars.size(), 5u);
  const int Expected_Regs[] = {4, 6, 9, 10, 12};
  for (size_t I = 0; I < 5; ++I) EXPECT_EQ(N.Vars[I].Modbus_Register, Expected_Regs[I]) << I;
  EXPECT_EQ(N.Vars[1].Dimension, 7);
  EXPECT_EQ(N.Vars[1].Length, 5);
  EXPECT_EQ(N.Vars[2].VIF_ASCII, "hWk");  // "kWh", which the image holds last character first
  EXPECT_EQ(Net.Nodi_Wired[1].Vars.back().Modbus_Register, 59996);

  TSaveConfXML W = Options();
  W.XML_Code_Dev = 13;
  Wireless.append(Device(0x44332211, Three).release());
  Wireless[0]->Enable_Key = true;
  Wireless[0]->Key[0] = 0xAB;
  ASSERT_TRUE(Save_XML_Conf_Wireless(W, Wireless));
  core::bank::Bank_Set Set;
  ASSERT_NO_THROW(Set = core::bank::Compile(6, 0, No_ParGen, File()));
  EXPECT_FALSE(Set.Files.empty());
  const core::bank::Bank_Network WNet = core::bank::Collect_Network(core::bank::Bank_Format::Network, 6, File(),
                                                                    core::bank::Load_ParGen(No_ParGen));
  ASSERT_EQ(WNet.Nodi_Wireless.size(), 1u);
  EXPECT_EQ(WNet.wMBus_Slots[0].Address, 0x44332211u);
  EXPECT_EQ(WNet.wMBus_Slots[0].ManID, 0x2C2D);
  EXPECT_EQ(WNet.wMBus_Slots[0].Key_Enable, 1);
  EXPECT_EQ(WNet.wMBus_Slots[0].Key[0], 0xAB);
  EXPECT_EQ(WNet.Nodi_Wireless[0].Vars.size(), 3u);
}

}  // namespace
