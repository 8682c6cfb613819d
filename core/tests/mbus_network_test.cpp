#include "core/mbus_network.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/xml/xmldocument.h"

using namespace core::net;

namespace {

TRead_Result Read(const QByteArray& xml, int32_t deviceType = 3, TRead_Mode mode = TRead_Mode::Stop_At_Fault) {
  plat::TXMLDocument doc;
  EXPECT_TRUE(doc.LoadFromBytes(xml)) << xml.toStdString();
  return Read_Network(doc, deviceType, mode);
}

QByteArray Net(const QByteArray& nodes) { return "<M-Bus_Network>" + nodes + "</M-Bus_Network>"; }

const char* Full_Var = R"(<Variabile Enable="1" Type="3" Fun_Field="1" Dim="2" ModReg="10" ModScale="0"/>)";

QStringList Attribute_Names(const plat::TXMLNode& e) { return e.AttributeNames(); }

}  // namespace

TEST(MBusNetwork, NodeAddressRules) {
  struct Case {
    const char* attrs;
    int32_t pri, sec;
  };
  const Case cases[] = {
      {R"(ID="17" Node_ID_Type="0" ID_Primary="3" ID_Secondary="4")", 17, 1},
      {R"(ID="17" Node_ID_Type="1" ID_Primary="3" ID_Secondary="4")", 1, 17},
      {R"(ID="x" Node_ID_Type="1" ID_Primary="3" ID_Secondary="4")", 3, 4},  // an ID that is no number is ignored
      {R"(Node_ID_Type="1")", 1, 1},
      {R"(ID_Primary="0x10" ID_Secondary="  12345678")", 16, 12345678},
  };
  for (const Case& c : cases) {
    const TRead_Result r = Read(Net(QByteArray("<Nodo ") + c.attrs + "/>"));
    ASSERT_EQ(r.Network.Nodi_List.size(), 1u) << c.attrs;
    EXPECT_EQ(r.Network.Nodi_List[0].Node_Pri, c.pri) << c.attrs;
    EXPECT_EQ(r.Network.Nodi_List[0].Node_Sec, c.sec) << c.attrs;
  }
}

TEST(MBusNetwork, DefaultsOfAbsentAttributes) {
  const TRead_Result r = Read(Net(R"(<Nodo><Variabile Type="1" Fun_Field="0" Dim="0" ModReg="5"/></Nodo>)"));
  ASSERT_TRUE(r.Error.isEmpty()) << r.Error.toStdString();
  const TNodo& n = r.Network.Nodi_List.at(0);
  EXPECT_EQ(n.Enable, 1);  // a node without Node_Enable is enabled
  EXPECT_EQ(n.Cut_After, 0);
  EXPECT_TRUE(n.Unread & Bit(TNode_Attr::Cut_After));
  const TVariabile& v = n.Var_List.at(0);
  EXPECT_FALSE(v.Enable);  // a variable without Enable is disabled
  EXPECT_EQ(v.Position, 1);
  EXPECT_EQ(v.Modbus_Scale, 0);
  // The editor reads on without ModScale; the compiler is told that it was missing.
  EXPECT_EQ(v.Fault_Attr, TVar_Attr::ModScale);
  EXPECT_FALSE(v.Fault_Present);
}

TEST(MBusNetwork, ValueConversions) {
  struct Case {
    const char* attr;
    uint32_t sto;
    uint8_t vife;
  };
  const Case cases[] = {
      {R"(StoNumber="4294967295" VIFE="-1")", 4294967295u, 255},
      {R"(StoNumber="0xFFFFFFFF" VIFE="255")", 4294967295u, 255},
      {R"(StoNumber="12" VIFE="abc")", 12, 0},
  };
  for (const Case& c : cases) {
    const QByteArray var = QByteArray(R"(<Variabile Type="1" Fun_Field="0" Dim="0" ModReg="5" )") + c.attr + "/>";
    const TRead_Result r = Read(Net("<Nodo>" + var + "</Nodo>"));
    const TVariabile& v = r.Network.Nodi_List.at(0).Var_List.at(0);
    EXPECT_EQ(v.Storage_Number, c.sto) << c.attr;
    EXPECT_EQ(v.VIFE, c.vife) << c.attr;
  }
}

TEST(MBusNetwork, FaultEndsTheEditorsReadingButNotTheCompilers) {
  const QByteArray xml =
      Net(QByteArray("<Nodo Descrizione=\"a\">") + Full_Var + "</Nodo>" +
          R"(<Nodo Descrizione="b"><Variabile Type="1" Fun_Field="0" Dim="0" ModReg="abc"/></Nodo>)" +
          "<Nodo Descrizione=\"c\"/>");
  const TRead_Result editor = Read(xml);
  EXPECT_EQ(editor.Error,
            QStringLiteral("M_Bus.xml, node 2, variable 1, attribute ModReg: 'abc' is not a valid integer value"));
  ASSERT_EQ(editor.Network.Nodi_List.size(), 2u);  // the nodes read so far stay
  EXPECT_TRUE(editor.Network.Nodi_List[1].Var_List.empty());

  const TRead_Result all = Read(xml, 3, TRead_Mode::Read_All);
  EXPECT_TRUE(all.Error.isEmpty());
  ASSERT_EQ(all.Network.Nodi_List.size(), 3u);
  EXPECT_EQ(all.Network.Nodi_List[1].Var_List.at(0).Fault_Attr, TVar_Attr::ModReg);
}

TEST(MBusNetwork, WirelessAttributesOnlyOnWirelessTypes) {
  const QByteArray xml = Net(
      R"(<Nodo MBus_Type="0" wMBus_Add="4294967295" wMBus_En_Key="1" wMBus_Key_16="200" wMBus_RSSI="9" Extra="1"/>)");
  const TNodo w = Read(xml, 7).Network.Nodi_List.at(0);
  EXPECT_EQ(w.MBus_Type, 0);
  EXPECT_EQ(w.wMBus_Add, QStringLiteral("4294967295"));
  EXPECT_EQ(w.RSSI, 9);
  EXPECT_TRUE(Is_Wireless(w, 7));
  EXPECT_EQ(Wireless_Ident(w).Address, 4294967295u);
  EXPECT_EQ(Wireless_Ident(w).Key[15], 200);
  EXPECT_EQ(Node_Caption(w, 7), QStringLiteral("wM-Bus Node - Address 4294967295 - "));

  const TNodo wired = Read(xml, 3).Network.Nodi_List.at(0);
  EXPECT_TRUE(wired.wMBus_Add.isEmpty());
  EXPECT_EQ(wired.RSSI, 0);
  EXPECT_FALSE(Is_Wireless(wired, 3));
  EXPECT_EQ(Node_Caption(wired, 3), QStringLiteral("ID 1 - "));
}

TEST(MBusNetwork, MalformedFileIsReportedWithItsLine) {
  QTemporaryDir dir;
  const QString path = dir.filePath("M_Bus.xml");
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("<M-Bus_Network>\n<Nodo>\n</M-Bus_Network>\n");
  f.close();
  const TRead_Result r = Load_Network(path, 3);
  EXPECT_FALSE(r.Error.isEmpty());
  EXPECT_TRUE(r.Error.contains(QStringLiteral("line"))) << r.Error.toStdString();
  EXPECT_TRUE(Load_Network(dir.filePath("absent.xml"), 3).Error.isEmpty());
}

TEST(MBusNetwork, WriterLayoutPerDeviceType) {
  TNetwork net;
  plat::TXMLDocument doc;
  Build_Document(doc, net, 3);
  EXPECT_EQ(QString::fromUtf8(doc.SaveToBytes()).simplified().toStdString(),
            "<M-Bus_Network/> <!--SW_VERSION = 2.012-->");

  net.Nodi_List.resize(1);
  net.Nodi_List[0].Var_List.resize(1);
  Build_Document(doc, net, 3);
  const plat::TXMLNode node = doc.DocumentElement().FirstChildElement();
  EXPECT_EQ(Attribute_Names(node),
            QStringList({"Node_Enable", "ID_Primary", "ID_Secondary", "Descrizione", "Send_SND_NKE", "Reset_App",
                         "Node_State", "Ident_Num", "BCDtoINT_IN", "Swap_IN", "Node_ID_Type", "Var_List_Type",
                         "Cut_After", "Manufacturer_Specific_Data", "MSD_Length", "MSD_Offset", "Access_Number"}));
  EXPECT_EQ(
      Attribute_Names(node.FirstChildElement()),
      QStringList({"Enable",     "Desc",        "Type",        "Fun_Field",   "Dim",      "Unit",          "ModReg",
                   "ModScale",   "StoNumber",   "Tariff",      "VIFE",        "BCDtoINT", "VIF_ASCII",     "Length",
                   "Conv_Float", "Force_Int32", "TP_Mod_Regs", "TP_Mod_Year", "Position", "Post_Operation"}));

  Build_Document(doc, net, 1007);
  const QStringList wireless = Attribute_Names(doc.DocumentElement().FirstChildElement());
  ASSERT_EQ(wireless.size(), 17 + 23);
  EXPECT_EQ(wireless[17], QStringLiteral("MBus_Type"));
  EXPECT_EQ(wireless.last(), QStringLiteral("wMBus_RSSI"));
  EXPECT_TRUE(QString::fromUtf8(doc.SaveToBytes()).contains(QStringLiteral("<!--SW_VERSION = 1.507-->")));
}

TEST(MBusNetwork, FileRoundTripKeepsEveryField) {
  TNetwork net;
  TNodo n;
  n.Enable = 1;
  n.Description = QStringLiteral("Boiler <1> & \"2\"");
  n.Node_Pri = 5;
  n.Node_Sec = 12345678;
  n.Node_ID_Type = 1;
  n.Send_SNK = 1;
  n.Node_State = 100;
  n.Ident_Num = 101;
  n.Cut_After = 249;
  n.Manufacturer_Spec = 300;
  n.MSD_Length = 200;
  n.MSD_Offset = 41;
  n.Access_Number = 400;
  n.MBus_Type = 0;
  n.wMBus_ManID = QStringLiteral("4660");
  n.wMBus_Add = QStringLiteral("4294967295");
  n.wMBus_En_Key = 1;
  n.wMBus_Key[0] = QStringLiteral("1");
  n.wMBus_Key[15] = QStringLiteral("255");
  n.RSSI = 500;
  TVariabile v;
  v.Enable = true;
  v.Description = QStringLiteral("Energy");
  v.Type_Of_Data = 20;
  v.Function_Field = 2;
  v.Dimension = 7;
  v.Modbus_Register = 59999;
  v.Modbus_Scale = 7;
  v.Storage_Number = 4294967295u;
  v.Tariff = 0xFFFFF;
  v.VIFE = 255;
  v.VIF_ASCII = QStringLiteral("kWh");
  v.Length = 191;
  v.TP_Mod_Regs = true;
  v.TP_Mod_Year = 59995;
  v.Position = 100;
  v.Post_Operation = 12;
  n.Var_List = {v, TVariabile{}};
  net.Nodi_List = {n, TNodo{}};

  QTemporaryDir dir;
  const QString path = dir.filePath("M_Bus.xml");
  ASSERT_TRUE(Save_Network(path, net, 6));
  const TRead_Result r = Load_Network(path, 6);
  ASSERT_TRUE(r.Error.isEmpty()) << r.Error.toStdString();
  ASSERT_EQ(r.Network.Nodi_List.size(), 2u);
  const TNodo& m = r.Network.Nodi_List[0];
  EXPECT_EQ(m.Description, n.Description);
  EXPECT_EQ(m.Node_Sec, 12345678);
  EXPECT_EQ(m.Cut_After, 249);
  EXPECT_EQ(m.MSD_Offset, 41);
  EXPECT_EQ(m.wMBus_Add, n.wMBus_Add);
  EXPECT_EQ(m.wMBus_Key[15], QStringLiteral("255"));
  EXPECT_EQ(m.RSSI, 500);
  ASSERT_EQ(m.Var_List.size(), 2u);
  const TVariabile& w = m.Var_List[0];
  EXPECT_EQ(w.Storage_Number, 4294967295u);
  EXPECT_EQ(w.Tariff, 0xFFFFFu);
  EXPECT_EQ(w.VIFE, 255);
  EXPECT_EQ(w.VIF_ASCII, QStringLiteral("kWh"));
  EXPECT_EQ(w.TP_Mod_Year, 59995);
  EXPECT_EQ(w.Post_Operation, 12);
  EXPECT_TRUE(w.TP_Mod_Regs);
  EXPECT_EQ(w.Unread, 0u);
  EXPECT_EQ(Var_Caption(w), QStringLiteral("VAR - Energy"));

  // Saved on a wired type, the wireless attributes are gone; read back on a wireless one they are empty.
  ASSERT_TRUE(Save_Network(path, r.Network, 3));
  EXPECT_TRUE(Load_Network(path, 6).Network.Nodi_List[0].wMBus_Add.isEmpty());
}

TEST(MBusNetwork, SaveFailureLeavesTheFile) {
  QTemporaryDir dir;
  QString error;
  EXPECT_FALSE(Save_Network(dir.filePath("missing/M_Bus.xml"), TNetwork{}, 3, &error));
  EXPECT_FALSE(error.isEmpty());
}

TEST(MBusNetwork, OneWriterForTheEditorAndForSavedScans) {
  QTemporaryDir dir;
  const QString file = dir.filePath("M_Bus.xml");
  TNetwork net;
  net.Nodi_List.resize(1);
  net.Nodi_List[0].Enable = 1;
  net.Nodi_List[0].Node_Pri = 7;
  net.Nodi_List[0].Var_List.resize(1);
  net.Nodi_List[0].Var_List[0].Modbus_Register = 12;
  auto bytes = [&file] {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  };
  // A new file in the editor's order carries the version comment, a saved scan's none.
  ASSERT_TRUE(Write_Network(file, net, 3, {}).Ok());
  EXPECT_TRUE(bytes().contains("SW_VERSION = 2.012"));
  TWrite_Options scan;
  scan.Order = TAttr_Order::Scan_Export;
  scan.Scan.ID = true;
  ASSERT_TRUE(Write_Network(file, net, 3, scan).Ok());
  EXPECT_FALSE(bytes().contains("SW_VERSION"));
  plat::TXMLDocument doc;
  ASSERT_TRUE(doc.LoadFromFile(file));
  const plat::TXMLNode node = doc.DocumentElement().FirstChildElement();
  EXPECT_EQ(Attribute_Names(node), QStringList({"Node_Enable", "ID", "ID_Primary", "ID_Secondary", "Node_ID_Type",
                                                "Descrizione", "Send_SND_NKE", "Reset_App", "Cut_After"}));
  EXPECT_EQ(node.Attribute("ID"), "7");
  // Appending keeps what the file holds and adds after its nodes, in the order asked for.
  scan.Append = true;
  scan.Scan.ID = false;
  const QByteArray before = bytes();
  ASSERT_TRUE(Write_Network(file, net, 3, scan).Ok());
  const TRead_Result back = Load_Network(file, 3);
  ASSERT_EQ(back.Network.Nodi_List.size(), 2u);
  EXPECT_EQ(back.Network.Nodi_List[1].Var_List.at(0).Modbus_Register, 12);
  EXPECT_TRUE(bytes().startsWith(before.left(before.indexOf("</Nodo>") + 7)));
  // A file to append to that is no network, or no XML, is refused and left as it was.
  struct Case {
    QByteArray content;
    TWrite_Status status;
  } cases[] = {{"<Other/>", TWrite_Status::Not_A_Network}, {"<M-Bus_Network>", TWrite_Status::Load_Failed}};
  for (const Case& c : cases) {
    {
      QFile f(file);
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write(c.content);
    }
    const TWrite_Result r = Write_Network(file, net, 3, scan);
    EXPECT_EQ(r.Status, c.status) << c.content.constData();
    EXPECT_FALSE(r.Error.isEmpty());
    EXPECT_EQ(bytes(), c.content);
  }
}

TEST(MBusNetwork, RegisterCountRule) {
  struct Case {
    int32_t dim, length, registers;
  };
  const Case cases[] = {{0, 0, 1}, {1, 0, 1}, {2, 0, 2}, {3, 0, 4},    {4, 0, 2},  {5, 0, 3},
                        {6, 0, 2}, {7, 0, 0}, {7, 1, 1}, {7, 191, 96}, {7, -3, 0}, {255, 0, 1}};
  for (const Case& c : cases) EXPECT_EQ(Register_Count(c.dim, c.length), c.registers) << c.dim << "/" << c.length;
}
