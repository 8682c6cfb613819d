// What the update windows hand to the updaters: programs, command lines, argument lists and the job file.

#include "windows/update_commands.h"

#include <QString>

#include <gtest/gtest.h>

#include "platform/xml/xmldocument.h"

namespace {

const QString M = QStringLiteral("C:\\Tools\\MASTER");
const QString P = QStringLiteral("C:\\Tools\\PROJECTS\\Plant 1");
const QString LM = QStringLiteral("/opt/tool/MASTER");
const QString LP = QStringLiteral("/opt/tool/PROJECTS/Plant \"1\"");

TUpdate_Options Opts(bool fw, bool fr, bool pw, bool pr) { return TUpdate_Options{fw, fr, pw, pr}; }

}  // namespace

TEST(UpdateCommands, SerialCommandLinePerDeviceType) {
  struct Case {
    int Type;
    const char* Program;
    const char* Line;  // with M and P as above
    const char* Firmware;  // argument list form
  } cases[] = {
      {1, "Ser_51427_Update.exe",
       R"(\\.\COM3 FW FR PW PR "C:\Tools\MASTER\sim51427.sim" "C:\Tools\PROJECTS\Plant 1\bin\")", "/sim51427.sim"},
      {1001, "Ser_51427_Update.exe",
       R"(\\.\COM3 FW FR PW PR "C:\Tools\MASTER\sim51427.sim" "C:\Tools\PROJECTS\Plant 1\bin\")", "/sim51427.sim"},
      {2, "Ser_51318_Update.exe", R"(\\.\COM3 FW FR PW PR "C:\Tools\MASTER\" "C:\Tools\PROJECTS\Plant 1\bin\")",
       "/"},
      {3, "Ser_51645_Update.exe",
       R"(\\.\COM3 FW FR PW PR "C:\Tools\MASTER\sim51645.sim" "C:\Tools\PROJECTS\Plant 1\bin\")", "/sim51645.sim"},
      {4, "Ser_51536_Update.exe",
       R"(\\.\COM3 FW FR PW PR "C:\Tools\MASTER\sim51536.sim" "C:\Tools\PROJECTS\Plant 1\bin\")", "/sim51536.sim"},
      {5, "Ser_51754_Update.exe",
       R"(\\.\COM3 FW FR PW PR "C:\Tools\MASTER\sim51754.sim" "C:\Tools\PROJECTS\Plant 1\bin\")", "/sim51754.sim"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Type);
    const TUpdater_Call call = Serial_Update_Call(c.Type, QStringLiteral("COM3"), TUpdate_Options{}, M, P);
    EXPECT_EQ(call.Program, QString::fromLatin1(c.Program));
    EXPECT_EQ(call.Command_Line, QString::fromLatin1(c.Line));
    const TUpdater_Call lx = Serial_Update_Call(c.Type, QStringLiteral("ttyUSB0"), TUpdate_Options{}, LM, LP);
    const QStringList want = {QStringLiteral("/dev/ttyUSB0"), QStringLiteral("FW"), QStringLiteral("FR"),
                              QStringLiteral("PW"), QStringLiteral("PR"), LM + QString::fromLatin1(c.Firmware),
                              LP + QStringLiteral("/bin/")};
    EXPECT_EQ(lx.Arguments, want);
  }
  for (int t : {6, 7, 1007, 0, 8})
    EXPECT_TRUE(Serial_Update_Call(t, QStringLiteral("COM3"), TUpdate_Options{}, M, P).Program.isEmpty()) << t;
}

TEST(UpdateCommands, TcpCommandLinePerDeviceType) {
  struct Case {
    int Type;
    const char* Program;
    const char* Line;
    const char* Firmware;
  } cases[] = {
      {6, "TCP_51863_Update.exe",
       R"(127.0.0.7 2007 FW FR PW PR "C:\Tools\MASTER\sim51863.sim" "C:\Tools\PROJECTS\Plant 1\bin")",
       "/sim51863.sim"},
      {7, "TCP_51872_Update.exe",
       R"(127.0.0.7 2007 FW FR PW PR "C:\Tools\MASTER\sim51872.sim" "C:\Tools\PROJECTS\Plant 1\bin")",
       "/sim51872.sim"},
      {1007, "TCP_51872_Update.exe",
       R"(127.0.0.7 2007 FW FR PW PR "C:\Tools\MASTER\sim51872.sim" "C:\Tools\PROJECTS\Plant 1\bin")",
       "/sim51872.sim"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Type);
    const TUpdater_Call call = TCP_Update_Call(c.Type, QStringLiteral("127.0.0.7"), TUpdate_Options{}, M, P);
    EXPECT_EQ(call.Program, QString::fromLatin1(c.Program));
    EXPECT_EQ(call.Command_Line, QString::fromLatin1(c.Line));
    const TUpdater_Call lx = TCP_Update_Call(c.Type, QStringLiteral("127.0.0.7"), TUpdate_Options{}, LM, LP);
    const QStringList want = {QStringLiteral("127.0.0.7"), QStringLiteral("2007"), QStringLiteral("FW"),
                              QStringLiteral("FR"), QStringLiteral("PW"), QStringLiteral("PR"),
                              LM + QString::fromLatin1(c.Firmware), LP + QStringLiteral("/bin")};
    EXPECT_EQ(lx.Arguments, want);
  }
  for (int t : {1, 1001, 2, 3, 4, 5})
    EXPECT_TRUE(TCP_Update_Call(t, QStringLiteral("127.0.0.7"), TUpdate_Options{}, M, P).Program.isEmpty()) << t;
}

TEST(UpdateCommands, OptionWordsFollowEachCheckBox) {
  struct Case {
    TUpdate_Options O;
    const char* Words;
  } cases[] = {
      {Opts(true, true, true, true), "FW FR PW PR "},   {Opts(false, true, true, true), "NO FR PW PR "},
      {Opts(true, false, true, true), "FW NO PW PR "},  {Opts(true, true, false, true), "FW FR NO PR "},
      {Opts(true, true, true, false), "FW FR PW NO "},  {Opts(false, false, false, false), "NO NO NO NO "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Option_Words(c.O), QString::fromLatin1(c.Words));
    const TUpdater_Call s = Serial_Update_Call(3, QStringLiteral("COM3"), c.O, M, P);
    EXPECT_TRUE(s.Command_Line.startsWith(QStringLiteral("\\\\.\\COM3 ") + QString::fromLatin1(c.Words) + "\""))
        << s.Command_Line.toStdString();
    const TUpdater_Call t = TCP_Update_Call(7, QStringLiteral("127.0.0.7"), c.O, M, P);
    EXPECT_TRUE(t.Command_Line.startsWith(QStringLiteral("127.0.0.7 2007 ") + QString::fromLatin1(c.Words) + "\""));
    EXPECT_EQ(t.Arguments.mid(2, 4), QString::fromLatin1(c.Words).trimmed().split(QLatin1Char(' ')));
  }
}

namespace {

// One operation of the job file as its children read, in order.
QString Operation(const char* Protection, const QString& File, const char* Start, bool Firmware, bool ReadBack,
                  const char* GoToApp, bool InternalData) {
  QString s = QStringLiteral("<Operation>");
  s += Protection[0] ? QStringLiteral("<Ope_Protection_Enabled>%1</Ope_Protection_Enabled>").arg(QLatin1String(Protection))
                     : QStringLiteral("<Ope_Protection_Enabled/>");
  s += QStringLiteral(
           "<Ope_GoToBoot_Before>0</Ope_GoToBoot_Before><Ope_GoToApp_Before>0</Ope_GoToApp_Before>"
           "<Ope_IP_Address/><Ope_Port>2008</Ope_Port><Ope_Port_Sec>2007</Ope_Port_Sec>"
           "<Ope_Erase_Memory>0</Ope_Erase_Memory><Ope_FileName>%1</Ope_FileName>"
           "<Ope_Start_Address>%2</Ope_Start_Address><Ope_Memory_Type>0</Ope_Memory_Type>"
           "<Ope_Bank_Type>%3</Ope_Bank_Type><Ope_Read_Back>%4</Ope_Read_Back><Ope_Write_CSS>%5</Ope_Write_CSS>"
           "<Ope_Address_CSS>%6</Ope_Address_CSS><Ope_Command_CSS>0x0B</Ope_Command_CSS>")
           .arg(File, QLatin1String(Start), Firmware ? "1" : "2", ReadBack ? "1" : "0", Firmware ? "1" : "0",
                Firmware ? "0x78100" : "0x50100");
  if (InternalData)
    s += QStringLiteral(
        "<Ope_Write_Internal_Data>0</Ope_Write_Internal_Data><Ope_WID_Address>0x78300</Ope_WID_Address>"
        "<Ope_WID_Command>0x0B</Ope_WID_Command><Ope_WID_Data/>");
  s += QStringLiteral("<Ope_GoToApp_After>%1</Ope_GoToApp_After></Operation>").arg(QLatin1String(GoToApp));
  return s;
}

QString Head(const char* Title, const char* Protections) {
  return QStringLiteral(
             "<Ethernet_Update><Version>1000</Version><Title>%1</Title><IP_Address_Dev>127.0.0.9</IP_Address_Dev>"
             "<Application_Port>10000</Application_Port><Boot_Port>2008</Boot_Port>"
             "<Boot_Port_Sec>2007</Boot_Port_Sec><Address_Protection>0x78000</Address_Protection>"
             "<Protections>%2</Protections>")
      .arg(QLatin1String(Title), QLatin1String(Protections));
}

QString Job(int Type, const TUpdate_Options& O) {
  plat::TXMLDocument doc;
  EXPECT_TRUE(Compile_XML_Parameter(doc, Type, QStringLiteral("127.0.0.9"), O, LM, LP));
  doc.Options().Indent = false;
  return doc.SaveToString().trimmed();
}

const QString Bin = LP + QStringLiteral("/bin/");

}  // namespace

TEST(UpdateCommands, JobFileOfType3WithEveryOption) {
  const QString want =
      Head("Veltrum - SW51645-B2 Ethernet Update", "<Protection>0x17C</Protection>") + "<Operations>" +
      Operation("", LM + "/sim51645K.sim", "0x8000", true, true, "0", false) +
      Operation("", Bin + "bank1.bin", "0x68000", false, true, "0", false) +
      Operation("", Bin + "bank2.bin", "0x50800", false, true, "1", false) + "</Operations></Ethernet_Update>";
  EXPECT_EQ(Job(3, TUpdate_Options{}), want);
}

TEST(UpdateCommands, JobFileOperationsFollowTheOptions) {
  const QString t1Protections =
      QStringLiteral("<Protection>0x6A</Protection><Protection>0xD4</Protection><Protection>0x190</Protection>");
  const QString t1Head = Head("Veltrum - SW51427-B2 Ethernet Update", t1Protections.toLatin1().constData());
  const auto t1Firmware = [&](bool readBack, const char* after) {
    return Operation("0x6A, 0xD4", LM + "/Sim51427-B2.sim", "0x8000", true, readBack, after, true) +
           Operation("0x190", LM + "/Sim51427-B2_B209.sim", "0x8000", true, readBack, after, true);
  };
  const auto t1Conf = [&](bool readBack) {
    return Operation("0x6A, 0xD4", Bin + "bank.bin", "0x50000", false, readBack, "1", true) +
           Operation("0x190", Bin + "bank1.bin", "0x68000", false, readBack, "0", true) +
           Operation("0x190", Bin + "bank2.bin", "0x50800", false, readBack, "1", true);
  };
  const auto t23 = [&](const char* image, bool fw, bool fr, bool pw, bool pr) {
    QString s;
    if (fw) s += Operation("", LM + "/" + image, "0x8000", true, fr, pw ? "0" : "1", false);
    if (pw)
      s += Operation("", Bin + "bank1.bin", "0x68000", false, pr, "0", false) +
           Operation("", Bin + "bank2.bin", "0x50800", false, pr, "1", false);
    return s;
  };
  struct Case {
    int Type;
    TUpdate_Options O;
    QString Want;
  } cases[] = {
      {1, Opts(true, true, true, true), t1Head + "<Operations>" + t1Firmware(true, "0") + t1Conf(true) + "</Operations>"},
      {1, Opts(false, false, true, true), t1Head + "<Operations>" + t1Conf(true) + "</Operations>"},
      {1, Opts(true, false, false, false), t1Head + "<Operations>" + t1Firmware(false, "1") + "</Operations>"},
      {1, Opts(true, true, true, false), t1Head + "<Operations>" + t1Firmware(true, "0") + t1Conf(false) + "</Operations>"},
      {1001, Opts(true, true, true, true),
       Head("Veltrum - Ethernet Update", t1Protections.toLatin1().constData()) + "<Operations>" +
           t1Firmware(true, "0") + t1Conf(true) + "</Operations>"},
      {2, Opts(true, true, true, true),
       Head("Veltrum - SW51318-B2 Ethernet Update", "<Protection>0x15D</Protection>") + "<Operations>" +
           t23("sim51318K.sim", true, true, true, true) + "</Operations>"},
      {2, Opts(true, false, false, true),
       Head("Veltrum - SW51318-B2 Ethernet Update", "<Protection>0x15D</Protection>") + "<Operations>" +
           t23("sim51318K.sim", true, false, false, true) + "</Operations>"},
      {3, Opts(false, true, true, false),
       Head("Veltrum - SW51645-B2 Ethernet Update", "<Protection>0x17C</Protection>") + "<Operations>" +
           t23("sim51645K.sim", false, true, true, false) + "</Operations>"},
      {3, Opts(false, true, false, true),
       Head("Veltrum - SW51645-B2 Ethernet Update", "<Protection>0x17C</Protection>") + "<Operations/>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Type);
    EXPECT_EQ(Job(c.Type, c.O), c.Want + "</Ethernet_Update>");
  }
  plat::TXMLDocument doc;
  for (int t : {4, 5, 6, 7, 1007}) {
    EXPECT_FALSE(Compile_XML_Parameter(doc, t, QStringLiteral("127.0.0.9"), TUpdate_Options{}, LM, LP)) << t;
    EXPECT_TRUE(doc.IsEmpty());
  }
}

TEST(UpdateCommands, ValidIpAndTheCanonicalAddress) {
  struct Case {
    const char* Text;
    bool Valid;
    int P[4];
  } cases[] = {
      {"127.0.0.1", true, {127, 0, 0, 1}},
      {"  10 . 20 .30. 40 ", true, {10, 20, 30, 40}},
      {"0.0.0.0", true, {0, 0, 0, 0}},
      {"255.255.255.255", true, {255, 255, 255, 255}},
      {"$7F.0x0.0.010", true, {127, 0, 0, 10}},
      {"127.0.0.256", false, {}},
      {"127.0.0", false, {}},
      {"127.0.0.1.5", false, {}},
      {"-1.0.0.1", false, {}},
      {"a.b.c.d", false, {}},
      {"1..2.3", false, {}},
      {"", false, {}},
  };
  for (const Case& c : cases) {
    int a = -9, b = -9, d = -9, e = -9;
    EXPECT_EQ(Valid_IP(QString::fromLatin1(c.Text), a, b, d, e), c.Valid) << c.Text;
    if (c.Valid) {
      EXPECT_EQ(a, c.P[0]);
      EXPECT_EQ(b, c.P[1]);
      EXPECT_EQ(d, c.P[2]);
      EXPECT_EQ(e, c.P[3]);
    }
  }
  EXPECT_EQ(Canonical_IP("127", " 000", "0x0", "010"), QStringLiteral("127.0.0.10"));
  EXPECT_EQ(Canonical_IP("127", "0", "0", ""), QString());
  EXPECT_EQ(Canonical_IP("127", "0", "0", "300"), QString());
}
