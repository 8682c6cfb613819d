// ParGen.xml as the settings window keeps it: defaults, the element set of each device type, the reader's
// per-value fallbacks, the checks in their order, and that the compiler reads what the writer wrote.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <functional>

#include "core/network_compiler.h"
#include "platform/io/files.h"
#include "platform/xml/xmldocument.h"
#include "core/par_gen_file.h"

using namespace pargen;

namespace {

struct Written {
  QStringList names;
  QStringList texts;
  QString comment;
  bool commentAfterRoot = false;
  bool declaration = false;
};

Written Parse(const QByteArray& bytes) {
  plat::TXMLDocument doc;
  QString error;
  EXPECT_TRUE(doc.LoadFromBytes(bytes, &error)) << error.toStdString();
  Written w;
  w.declaration = doc.HasDeclaration();
  const plat::TXMLNodeList top = doc.ChildNodes();
  EXPECT_EQ(top.Count(), 2);
  EXPECT_EQ(top[0].NodeName(), "GeneralParameter");
  w.commentAfterRoot = top[1].NodeType() == plat::TXMLNodeType::Comment;
  w.comment = top[1].Text();
  for (const plat::TXMLNode& e : top[0].ChildElements()) {
    w.names << e.NodeName();
    w.texts << e.Text();
  }
  return w;
}

QByteArray Read_Bytes(const QString& path) {
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::ReadOnly));
  return f.readAll();
}

void Write_Bytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

QByteArray File_With(std::initializer_list<std::pair<const char*, const char*>> elements) {
  QByteArray x = "<GeneralParameter>";
  for (const auto& [n, v] : elements) x += QByteArray("<") + n + ">" + v + "</" + n + ">";
  return x + "</GeneralParameter><!--SW_VERSION = 2.012-->";
}

class ParGenFile : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString file() const { return dir.filePath("ParGen.xml"); }
};

}  // namespace

TEST(ParGenModel, NewType3ConfigurationWritesTheDefaults) {
  const Written w = Parse(ParGen_Bytes(3, ParGen_Defaults(3)));
  const QStringList names = {"Sel_Dev", "Sel_Dev_MBus_Present", "Mod_Ser", "Mod_Baud", "Mod_Par", "Mod_Id",
                             "Mod_StopBit", "Mod_Protocol", "Meter_Baud", "Meter_Par", "Meter_Req_Type",
                             "Meter_Req_Delay", "Node_State", "IP_1", "IP_2", "IP_3", "IP_4", "SM_1", "SM_2", "SM_3",
                             "SM_4", "GA_1", "GA_2", "GA_3", "GA_4", "Gat_Enable"};
  const QStringList texts = {"0", "1", "1", "7", "0", "1", "0", "0", "3", "1", "1", "100", "0xFF",
                             "192", "168", "0", "10", "255", "255", "255", "0", "192", "168", "0", "1", "0"};
  EXPECT_EQ(w.names, names);
  EXPECT_EQ(w.texts, texts);
  EXPECT_TRUE(w.commentAfterRoot);
  EXPECT_EQ(w.comment, "SW_VERSION = 2.012");
  EXPECT_FALSE(w.declaration);
}

TEST(ParGenModel, EachDeviceTypeWritesItsElementsInOrderWithItsVersion) {
  const QStringList ip = {"IP_1", "IP_2", "IP_3", "IP_4", "SM_1", "SM_2", "SM_3", "SM_4",
                          "GA_1", "GA_2", "GA_3", "GA_4", "Gat_Enable"};
  const QStringList meter = {"Meter_Baud", "Meter_Par", "Meter_Req_Type", "Meter_Req_Delay", "Node_State"};
  const QStringList modbus = {"Mod_Ser", "Mod_Baud", "Mod_Par", "Mod_Id", "Mod_StopBit"};
  const QStringList t1 = QStringList{"Sel_Dev"} + ip + QStringList{"TCP_Port", "TCP_Conn_TimeOut"} + meter +
                         QStringList{"Enable_Use_Fix_C_Field", "Use_Fix_C_Field_Value", "Reply_Exception_Until_First_Read"};
  const QStringList t23 = QStringList{"Sel_Dev", "Sel_Dev_MBus_Present"} + modbus + QStringList{"Mod_Protocol"} + meter + ip;
  const QStringList t4 = modbus + QStringList{"Mod_Protocol"} + meter + QStringList{"MBUS_Ser"};
  const QStringList t5 = modbus + QStringList{"Mod_Protocol"} + meter;
  const QStringList t6 = QStringList{"Sel_Dev_MBus_Present"} + modbus + QStringList{"wMBus_Mode", "wMBus_Radio_Channel"} +
                         meter + ip;
  const QStringList t7 = QStringList{"Sel_Dev_MBus_Present"} + ip + QStringList{"TCP_Port", "TCP_Conn_TimeOut"} +
                         QStringList{"wMBus_Mode", "wMBus_Radio_Channel"} + meter;
  const struct {
    int type;
    QStringList names;
    const char* version;
  } cases[] = {{1, t1, "2.302"}, {1001, t1, "2.302"}, {2, t23, "3.207"}, {3, t23, "2.012"}, {4, t4, "3.000"},
               {5, t5, "3.000"}, {6, t6, "1.508"}, {7, t7, "1.507"}, {1007, t7, "1.507"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    const Written w = Parse(ParGen_Bytes(c.type, ParGen_Defaults(c.type)));
    EXPECT_EQ(w.names, c.names);
    EXPECT_EQ(w.comment, QString("SW_VERSION = ") + c.version);
  }
}

TEST(ParGenModel, FixedElementsAreWrittenWhateverTheWindowHolds) {
  TParGen_Data d = ParGen_Defaults(3);
  d.Sel_Dev_MBus_Present = 0;
  d.Mod_Ser = 0;
  d.Meter_Polls = Polls_On_Request;
  auto text = [&](int type, const char* name) {
    const Written w = Parse(ParGen_Bytes(type, d));
    return w.texts.value(int(w.names.indexOf(name)));
  };
  EXPECT_EQ(text(2, "Sel_Dev_MBus_Present"), "1");
  EXPECT_EQ(text(3, "Sel_Dev_MBus_Present"), "1");
  EXPECT_EQ(text(5, "Mod_Ser"), "1");
  EXPECT_EQ(text(4, "Mod_Ser"), "0");
  for (int type : {6, 7, 1007}) EXPECT_EQ(text(type, "Meter_Req_Type"), "0") << type;
}

TEST(ParGenModel, PollingEncodingByDeviceType) {
  // Written text for each polling entry, and the entry each stored text reads back as.
  const struct {
    int type;
    int polls;
    const char* text;
  } writes[] = {{1, 0, "1"}, {1, 1, "0"}, {1001, 0, "1"}, {4, 1, "0"}, {5, 0, "1"},
                {2, 0, "1"}, {2, 1, "0"}, {3, 0, "1"}, {3, 1, "0"}, {3, 2, "2"}};
  for (const auto& c : writes) {
    TParGen_Data d = ParGen_Defaults(c.type);
    d.Meter_Polls = c.polls;
    const Written w = Parse(ParGen_Bytes(c.type, d));
    EXPECT_EQ(w.texts.value(int(w.names.indexOf("Meter_Req_Type"))), c.text) << c.type << " " << c.polls;
  }
  QTemporaryDir dir;
  const QString file = dir.filePath("ParGen.xml");
  const struct {
    int type;
    const char* text;
    int polls;
  } reads[] = {{1, "1", 0}, {1, "0", 1}, {1, "2", 1}, {1, "abc", 1}, {4, "7", 1}, {3, "1", 0}, {3, "0", 1},
               {3, "2", 2}, {3, "x", 2}, {3, "", 2},
               // Passive Mode is no entry of the type-2 list: the default takes its place.
               {2, "2", 0},
               // The wireless types never read it.
               {6, "1", 1}, {7, "1", 1}, {1007, "1", 1}};
  for (const auto& c : reads) {
    Write_Bytes(file, QByteArray("<GeneralParameter><Meter_Req_Type>") + c.text + "</Meter_Req_Type></GeneralParameter>");
    TParGen_Data d = ParGen_Defaults(c.type);
    d.Meter_Polls = 1 - ParGen_Defaults(c.type).Meter_Polls;
    ASSERT_EQ(Read_ParGen(file, c.type, d), TParGen_Read::Read);
    EXPECT_EQ(d.Meter_Polls, c.polls) << c.type << " '" << c.text << "'";
  }
}

TEST_F(ParGenFile, EveryElementOfEveryTypeRoundTrips) {
  // Values unlike every default, so a value that is not read back shows.
  TParGen_Data v;
  v.Sel_Dev = 1;
  v.Sel_Dev_MBus_Present = 1;
  v.IP = {"10", "1", "2", "3"};
  v.SM = {"255", "255", "0", "0"};
  v.GA = {"10", "1", "2", "254"};
  v.Gat_Enable = true;
  v.TCP_Port = "1502";
  v.TCP_Conn_TimeOut = "30";
  v.Meter_Baud = 5;
  v.Meter_Par = 2;
  v.Meter_Polls = Polls_Cyclic;
  v.Meter_Req_Delay = "0x10";
  v.Node_State = "7";
  v.Enable_Use_Fix_C_Field = true;
  v.Use_Fix_C_Field_Value = 1;
  v.Reply_Exception_Until_First_Read = true;
  v.MBUS_Ser = 0;
  v.Mod_Ser = 0;
  v.Mod_Baud = 4;
  v.Mod_Par = 1;
  v.Mod_StopBit = 1;
  v.Mod_Id = "17";
  v.Mod_Protocol = 4;
  v.wMBus_Mode = 3;
  v.wMBus_Radio_Channel = 8;
  for (int type : Known_Device_Types) {
    SCOPED_TRACE(type);
    TParGen_Data written = v;
    if (type == 5) written.Mod_Ser = 1;  // always stored as RS232
    ASSERT_TRUE(Save_ParGen(file(), type, written));
    const QByteArray bytes = Read_Bytes(file());
    TParGen_Data back = ParGen_Defaults(type);
    back.Mod_StopBit = 0;
    ASSERT_EQ(Read_ParGen(file(), type, back), TParGen_Read::Read);
    // Every value of the type comes back; the rest keep what the window held (here the defaults).
    TParGen_Data expected = ParGen_Defaults(type);
    TParGen_Data copy = written;
    const QStringList names = ParGen_Elements(type);
    auto has = [&](const char* n) { return names.contains(QString::fromLatin1(n)); };
    if (has("Sel_Dev")) expected.Sel_Dev = copy.Sel_Dev;
    if (has("Sel_Dev_MBus_Present")) expected.Sel_Dev_MBus_Present = copy.Sel_Dev_MBus_Present;
    if (has("IP_1")) expected.IP = copy.IP, expected.SM = copy.SM, expected.GA = copy.GA, expected.Gat_Enable = true;
    if (has("TCP_Port")) expected.TCP_Port = copy.TCP_Port, expected.TCP_Conn_TimeOut = copy.TCP_Conn_TimeOut;
    expected.Meter_Baud = copy.Meter_Baud;
    expected.Meter_Par = copy.Meter_Par;
    expected.Meter_Polls = copy.Meter_Polls;
    expected.Meter_Req_Delay = copy.Meter_Req_Delay;
    expected.Node_State = copy.Node_State;
    if (has("Enable_Use_Fix_C_Field")) {
      expected.Enable_Use_Fix_C_Field = true;
      expected.Use_Fix_C_Field_Value = 1;
      expected.Reply_Exception_Until_First_Read = true;
    }
    if (has("MBUS_Ser")) expected.MBUS_Ser = copy.MBUS_Ser;
    if (has("Mod_Ser")) {
      expected.Mod_Ser = copy.Mod_Ser;
      expected.Mod_Baud = copy.Mod_Baud;
      expected.Mod_Par = copy.Mod_Par;
      expected.Mod_StopBit = copy.Mod_StopBit;
      expected.Mod_Id = copy.Mod_Id;
    }
    if (has("Mod_Protocol")) expected.Mod_Protocol = copy.Mod_Protocol;
    if (has("wMBus_Mode")) expected.wMBus_Mode = copy.wMBus_Mode, expected.wMBus_Radio_Channel = copy.wMBus_Radio_Channel;
    if (type == 2 || type == 3) expected.Sel_Dev_MBus_Present = 1;
    expected.Mod_StopBit = has("Mod_StopBit") ? copy.Mod_StopBit : 0;
    EXPECT_TRUE(back == expected);
    // Writing what was read gives the same file.
    ASSERT_TRUE(Save_ParGen(file(), type, back));
    EXPECT_EQ(Read_Bytes(file()), bytes);
  }
}

TEST_F(ParGenFile, PassiveModeOfType3RoundTrips) {
  TParGen_Data d = ParGen_Defaults(3);
  d.Meter_Polls = Polls_Passive;
  ASSERT_TRUE(Save_ParGen(file(), 3, d));
  TParGen_Data back = ParGen_Defaults(3);
  Read_ParGen(file(), 3, back);
  EXPECT_EQ(back.Meter_Polls, Polls_Passive);
}

TEST_F(ParGenFile, EachValueFallsBackToItsOwnDefault) {
  // Missing elements, texts that are not numbers and list indexes outside their list each give the default of
  // that value only; the others are read.
  Write_Bytes(file(), File_With({{"Sel_Dev", "1"}, {"Mod_Ser", "0"}, {"Mod_Baud", "abc"}, {"Mod_Par", "3"},
                                 {"Mod_Id", "not a number"}, {"Mod_StopBit", "-1"}, {"Mod_Protocol", "$2"},
                                 {"Meter_Baud", "9"}, {"Meter_Par", " 2"}, {"IP_1", "10"}, {"Gat_Enable", "true"},
                                 {"Node_State", ""}}));
  TParGen_Data d = ParGen_Defaults(3);
  d.Mod_Baud = 2;
  d.Mod_Par = 2;
  d.Mod_StopBit = 1;
  d.Meter_Baud = 0;
  d.IP[1] = "99";
  d.Gat_Enable = true;
  ASSERT_EQ(Read_ParGen(file(), 3, d), TParGen_Read::Read);
  EXPECT_EQ(d.Sel_Dev, 1);
  EXPECT_EQ(d.Mod_Ser, 0);
  EXPECT_EQ(d.Mod_Baud, 7);        // not a number
  EXPECT_EQ(d.Mod_Par, 0);         // past the list
  EXPECT_EQ(d.Mod_Id, "not a number");  // edits take the text unchanged
  EXPECT_EQ(d.Mod_StopBit, 0);     // before the list
  EXPECT_EQ(d.Mod_Protocol, 2);    // hex
  EXPECT_EQ(d.Meter_Baud, 3);      // a stored 9 is no baud rate: never written back as -1
  EXPECT_EQ(d.Meter_Par, 2);       // leading blank
  EXPECT_EQ(d.IP[0], "10");
  EXPECT_EQ(d.IP[1], "168");       // missing
  EXPECT_FALSE(d.Gat_Enable);      // only "1" checks
  EXPECT_EQ(d.Node_State, "");     // present but empty: an edit takes it as it is
  EXPECT_EQ(d.Meter_Req_Delay, "100");
  // The root is the document element even behind a declaration and a comment.
  Write_Bytes(file(), "<?xml version=\"1.0\"?><!-- x --><GeneralParameter><Mod_Id>9</Mod_Id></GeneralParameter>");
  ASSERT_EQ(Read_ParGen(file(), 3, d), TParGen_Read::Read);
  EXPECT_EQ(d.Mod_Id, "9");
}

TEST_F(ParGenFile, MissingFileGivesTheDefaultsOfTheType) {
  TParGen_Data d = ParGen_Defaults(1);
  d.IP = {"1", "2", "3", "4"};
  d.Mod_StopBit = 1;
  d.wMBus_Mode = 4;
  EXPECT_EQ(Read_ParGen(file(), 3, d), TParGen_Read::Missing);
  TParGen_Data expected = ParGen_Defaults(3);
  expected.wMBus_Mode = 4;  // not a value of type 3: kept
  EXPECT_TRUE(d == expected);
  // Type 6 too, stop bits included: a list that was never filled would otherwise be saved as "-1".
  d.Mod_StopBit = -1;
  d.IP = {"1", "2", "3", "4"};
  EXPECT_EQ(Read_ParGen(file(), 6, d), TParGen_Read::Missing);
  EXPECT_EQ(d.Mod_StopBit, 0);
  EXPECT_EQ(d.IP[0], "192");
  EXPECT_EQ(d.Meter_Polls, Polls_Cyclic);
}

TEST_F(ParGenFile, MalformedFileIsReportedLeftAloneAndKeptBeforeItIsReplaced) {
  const QByteArray broken = "<GeneralParameter><IP_1>10</IP_1><IP_2>";
  Write_Bytes(file(), broken);
  TParGen_Data d = ParGen_Defaults(3);
  d.IP[0] = "7";
  QString error;
  EXPECT_EQ(Read_ParGen(file(), 3, d, &error), TParGen_Read::Malformed);
  EXPECT_FALSE(error.isEmpty());
  EXPECT_EQ(d.IP[0], "192");
  EXPECT_EQ(Read_Bytes(file()), broken);
  ASSERT_TRUE(Save_ParGen(file(), 3, d));
  EXPECT_EQ(Read_Bytes(file() + ".bad"), broken);
  EXPECT_EQ(Read_ParGen(file(), 3, d), TParGen_Read::Read);
}

TEST_F(ParGenFile, FailedSaveLeavesTheOldFile) {
  ASSERT_TRUE(Save_ParGen(file(), 3, ParGen_Defaults(3)));
  const QByteArray before = Read_Bytes(file());
  QString error;
  EXPECT_FALSE(Save_ParGen(dir.filePath("gone/ParGen.xml"), 3, ParGen_Defaults(3), &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_EQ(Read_Bytes(file()), before);
}

TEST(ParGenModel, ChecksInOrderWithTheirTexts) {
  using Edit = std::function<void(TParGen_Data&)>;
  const struct {
    int type;
    const char* what;
    Edit edit;
    int text;  // 0: all pass
  } cases[] = {
      // Types 1 and 1001.
      {1, "defaults", [](TParGen_Data&) {}, 0},
      {1, "ip 1", [](TParGen_Data& d) { d.IP[0] = "256"; }, 110},
      {1001, "ip 4 not a number", [](TParGen_Data& d) { d.IP[3] = "a"; }, 113},
      {1, "ip before mask", [](TParGen_Data& d) { d.IP[2] = "-1"; d.SM[0] = "300"; }, 112},
      {1, "mask 2", [](TParGen_Data& d) { d.SM[1] = "999"; }, 115},
      {1, "gateway 3 while enabled", [](TParGen_Data& d) { d.Gat_Enable = true; d.GA[2] = "x"; }, 120},
      {1, "gateway 4 while disabled", [](TParGen_Data& d) { d.GA[3] = "256"; }, 121},
      {1, "gateway bytes as typed", [](TParGen_Data& d) { d.GA = {" 0x0A", "$1", "0", "255"}; }, 0},
      {1, "port 10000", [](TParGen_Data& d) { d.TCP_Port = "10000"; }, 122},
      {1, "port 0", [](TParGen_Data& d) { d.TCP_Port = "0"; }, 122},
      {1, "port 65536", [](TParGen_Data& d) { d.TCP_Port = "65536"; }, 122},
      {1, "port 65535", [](TParGen_Data& d) { d.TCP_Port = "65535"; }, 0},
      {1, "time-out 1 variant 0", [](TParGen_Data& d) { d.TCP_Conn_TimeOut = "1"; }, 0},
      {1, "time-out 1 variant 1", [](TParGen_Data& d) { d.Sel_Dev = 1; d.TCP_Conn_TimeOut = "1"; }, 123},
      {1, "time-out 1441 variant 1", [](TParGen_Data& d) { d.Sel_Dev = 1; d.TCP_Conn_TimeOut = "1441"; }, 123},
      {1, "time-out 1440 variant 1", [](TParGen_Data& d) { d.Sel_Dev = 1; d.TCP_Conn_TimeOut = "1440"; }, 0},
      {1, "port before time-out", [](TParGen_Data& d) { d.Sel_Dev = 1; d.TCP_Conn_TimeOut = "1"; d.TCP_Port = "0"; }, 122},
      {1, "delay 65536", [](TParGen_Data& d) { d.Meter_Req_Delay = "65536"; }, 124},
      {1, "delay 0", [](TParGen_Data& d) { d.Meter_Req_Delay = "0"; }, 0},
      {1, "node state 256", [](TParGen_Data& d) { d.Node_State = "256"; }, 125},
      {1, "node state text", [](TParGen_Data& d) { d.Node_State = "FF"; }, 125},
      {1, "node state with a trailing blank", [](TParGen_Data& d) { d.Node_State = "12 "; }, 125},
      {1, "node state 0xFF", [](TParGen_Data& d) { d.Node_State = "0xFF"; }, 0},
      {1, "delay before node state", [](TParGen_Data& d) { d.Node_State = "x"; d.Meter_Req_Delay = "x"; }, 124},
      // Types 2 to 5.
      {3, "defaults", [](TParGen_Data&) {}, 0},
      {2, "delay", [](TParGen_Data& d) { d.Meter_Req_Delay = "-1"; }, 124},
      {4, "modbus id 0", [](TParGen_Data& d) { d.Mod_Id = "0"; }, 285},
      {5, "modbus id 248", [](TParGen_Data& d) { d.Mod_Id = "248"; }, 285},
      {3, "modbus id 247", [](TParGen_Data& d) { d.Mod_Id = "247"; }, 0},
      {3, "two stop bits even", [](TParGen_Data& d) { d.Mod_StopBit = 1; d.Mod_Par = 1; }, 351},
      {4, "two stop bits odd", [](TParGen_Data& d) { d.Mod_StopBit = 1; d.Mod_Par = 2; }, 351},
      {5, "two stop bits none", [](TParGen_Data& d) { d.Mod_StopBit = 1; d.Mod_Par = 0; }, 0},
      {3, "node state not tested", [](TParGen_Data& d) { d.Node_State = "x"; }, 0},
      {3, "ip not tested on variant 0", [](TParGen_Data& d) { d.IP[0] = "x"; d.GA[0] = "x"; }, 0},
      {3, "ip 1 on variant 1", [](TParGen_Data& d) { d.Sel_Dev = 1; d.IP[0] = "x"; }, 355},
      {2, "mask 4 on variant 1", [](TParGen_Data& d) { d.Sel_Dev = 1; d.SM[3] = "256"; }, 362},
      {3, "gateway 1 on variant 1", [](TParGen_Data& d) { d.Sel_Dev = 1; d.GA[0] = "x"; }, 363},
      {4, "ip not tested", [](TParGen_Data& d) { d.IP[0] = "x"; d.Sel_Dev = 1; }, 0},
      // Type 6.
      {6, "defaults", [](TParGen_Data&) {}, 0},
      {6, "modbus id", [](TParGen_Data& d) { d.Mod_Id = ""; d.Mod_StopBit = 1; d.Mod_Par = 1; }, 285},
      {6, "two stop bits", [](TParGen_Data& d) { d.Mod_StopBit = 1; d.Mod_Par = 1; d.IP[0] = "x"; }, 351},
      {6, "delay without m-bus", [](TParGen_Data& d) { d.Meter_Req_Delay = "x"; d.Node_State = "x"; }, 0},
      {6, "delay with m-bus", [](TParGen_Data& d) { d.Sel_Dev_MBus_Present = 1; d.Meter_Req_Delay = "x"; }, 124},
      {6, "node state with m-bus", [](TParGen_Data& d) { d.Sel_Dev_MBus_Present = 1; d.Node_State = "300"; }, 125},
      {6, "ip 2", [](TParGen_Data& d) { d.IP[1] = "300"; }, 287},
      {6, "mask 3", [](TParGen_Data& d) { d.SM[2] = "300"; }, 292},
      {6, "gateway 4", [](TParGen_Data& d) { d.GA[3] = "300"; }, 297},
      // Types 7 and 1007.
      {7, "defaults", [](TParGen_Data&) {}, 0},
      {1007, "ip 1", [](TParGen_Data& d) { d.IP[0] = "x"; d.TCP_Port = "0"; }, 110},
      {7, "gateway 2", [](TParGen_Data& d) { d.GA[1] = "x"; }, 119},
      {7, "port", [](TParGen_Data& d) { d.TCP_Port = "10000"; }, 122},
      {7, "time-out not tested", [](TParGen_Data& d) { d.TCP_Conn_TimeOut = "0"; }, 0},
      {7, "delay without m-bus", [](TParGen_Data& d) { d.Meter_Req_Delay = "x"; }, 0},
      {1007, "node state with m-bus", [](TParGen_Data& d) { d.Sel_Dev_MBus_Present = 1; d.Node_State = "x"; }, 125},
      // Any other device type passes.
      {99, "unknown type", [](TParGen_Data& d) { d.IP[0] = "x"; }, 0},
  };
  for (const auto& c : cases) {
    TParGen_Data d = ParGen_Defaults(c.type);
    c.edit(d);
    const std::optional<int> r = Check_ParGen(c.type, d);
    EXPECT_EQ(r.value_or(0), c.text) << "type " << c.type << ": " << c.what;
  }
}

TEST_F(ParGenFile, TheCompilerReadsWhatTheWindowWrites) {
  // Defaults and a variant with every option on, for every device type; no network file.
  for (int type : Known_Device_Types) {
    for (int variant : {0, 1}) {
      SCOPED_TRACE(::testing::Message() << "type " << type << " variant " << variant);
      TParGen_Data d = ParGen_Defaults(type);
      const bool variants = type == 1 || type == 1001 || type == 2 || type == 3;
      if (variant == 1) {
        d.Sel_Dev = variants ? 1 : 0;
        d.Sel_Dev_MBus_Present = 1;
        d.Gat_Enable = true;
        d.Meter_Polls = type == 3 ? Polls_Passive : Polls_Cyclic;
        d.Enable_Use_Fix_C_Field = true;
        d.Reply_Exception_Until_First_Read = true;
        d.Mod_StopBit = 1;
        d.Mod_Par = 0;
      }
      ASSERT_FALSE(Check_ParGen(type, d).has_value());
      ASSERT_TRUE(Save_ParGen(file(), type, d));
      const int selDev = variants ? core::bank::Read_Sel_Dev(file()) : 0;
      EXPECT_EQ(selDev, variants ? variant : 0);
      core::bank::Bank_Set set;
      try {
        set = core::bank::Compile(type, selDev, file(), dir.filePath("M_Bus.xml"));
      } catch (const std::exception& e) {
        ADD_FAILURE() << e.what();
      }
      EXPECT_FALSE(set.Files.empty());
    }
  }
}
