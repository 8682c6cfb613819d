// The update road through the real windows: compile, bank images, the serial and Ethernet update windows, the
// ping test, and the stand-in updater started beside the program.

#include <QApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <signal.h>

#include <deque>

#include "core/compiler.h"
#include "platform/io/files.h"
#include "platform/io/icmp_echo.h"
#include "platform/io/process.h"
#include "windows/boot_ser.h"
#include "windows/boot_tcp.h"
#include "core/par_gen_file.h"
#include "windows/tests/windows_fixture.h"
#include "windows/update_commands.h"

using namespace plat;

namespace {

// Answers the ping test from a script: one status list per request (the last status repeats), or an error.
class TFakeEcho : public TEchoClient {
 public:
  std::deque<std::vector<TEchoStatus>> Script;
  bool Throw = false;
  int Sent = 0;
  QStringList Hosts;
  void Send(const QString& Host) override {
    if (Throw) throw EIcmpError(QStringLiteral("unreachable"));
    ++Sent;
    Hosts << Host;
    FNow = Script.empty() ? std::vector<TEchoStatus>{TEchoStatus::TimedOut} : Script.front();
    if (!Script.empty() && Script.size() > 1) Script.pop_front();
    FStep = 0;
  }
  TEchoStatus Poll() override {
    const TEchoStatus s = FNow[std::min<std::size_t>(FStep, FNow.size() - 1)];
    ++FStep;
    return s;
  }

 private:
  std::vector<TEchoStatus> FNow{TEchoStatus::TimedOut};
  std::size_t FStep = 0;
};

const QByteArray kMBus =
    "<M-Bus_Network><Nodo ID_Primary=\"4\" Descrizione=\"Meter\"><Variabile Enable=\"1\" Type=\"0\" Fun_Field=\"0\" "
    "Dim=\"0\" ModReg=\"1\" ModScale=\"0\"/></Nodo></M-Bus_Network>";

class UpdateDeviceTest : public WindowsTest {
 protected:
  void SetUp() override {
    WindowsTest::SetUp();
    saved_ = Updater_Run;
    Updater_Run = TUpdater_Run_Settings{};
    Start();
    Last_IP_Address = QStringLiteral("127.0.0.1");
  }
  void TearDown() override {
    Updater_Run = saved_;
    SetFileWriteFaultHook({});
    WindowsTest::TearDown();
  }

  // Opens configuration "Plant" with the default settings of the model and the given variant (-1: no
  // ParGen.xml); Bad_Delay puts a value that does not convert into it.
  void Open_Config(int SelDev, bool Bad_Delay = false) {
    QDir().mkpath(dir_.filePath(QStringLiteral("PROJECTS/Plant")));
    Name_Project = QStringLiteral("Plant");
    Dir_Project = QDir(Dir_Projects).filePath(Name_Project);
    FTessaroneFirmWare->Set_Files();
    if (SelDev >= 0) {
      pargen::TParGen_Data data = pargen::ParGen_Defaults(Device_Type);
      data.Sel_Dev = SelDev;
      if (Bad_Delay) data.Meter_Req_Delay = QStringLiteral("abc");
      ASSERT_TRUE(pargen::Save_ParGen(File_ParGen, Device_Type, data));
    }
    Write(QStringLiteral("PROJECTS/Plant/M_Bus.xml"), kMBus);
    // The firmware images the updaters of every model are given.
    for (const int32_t type : Known_Device_Types)
      for (const TFirmware_Route route : {TFirmware_Route::Serial, TFirmware_Route::Tcp, TFirmware_Route::Ethernet_Job})
        for (const QString& image : Firmware_Images(type, route, Dir_Master))
          if (!image.endsWith(u'/')) Write(QDir(Dir_Exe).relativeFilePath(image), "firmware");
  }

  // Puts the stand-in updater into Folder under Name.
  void Install(const QString& Folder, const QString& Name) {
    QDir().mkpath(Folder);
    const QString to = QDir(Folder).filePath(Name);
    QFile::remove(to);
    ASSERT_TRUE(QFile::copy(QStringLiteral(STAND_IN_UPDATER), to));
    QFile(to).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
  void Control(const QString& Folder, const QByteArray& Text) {
    QFile f(QDir(Folder).filePath(QStringLiteral("stand_in_updater.control")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(Text);
  }
  // The runs the stand-in recorded in Folder.
  static QList<QJsonObject> Runs(const QString& Folder) {
    QList<QJsonObject> runs;
    QFile f(QDir(Folder).filePath(QStringLiteral("stand_in_updater.jsonl")));
    if (!f.open(QIODevice::ReadOnly)) return runs;
    for (const QByteArray& line : f.readAll().split('\n'))
      if (!line.trimmed().isEmpty()) runs << QJsonDocument::fromJson(line).object();
    return runs;
  }
  static QStringList Args(const QJsonObject& run) {
    QStringList a;
    for (const QJsonValue& v : run.value(QStringLiteral("args")).toArray()) a << v.toString();
    return a;
  }
  // A fake tty class folder with the given serial ports.
  QString Fake_Ttys(const QStringList& Names) {
    const QString root = dir_.filePath(QStringLiteral("sys-tty"));
    QDir(root).removeRecursively();
    QDir().mkpath(root);
    for (const QString& n : Names) QDir().mkpath(root + QLatin1Char('/') + n + QStringLiteral("/device"));
    return root;
  }
  TFakeEcho* Fake_Ping() {
    auto fake = std::make_unique<TFakeEcho>();
    TFakeEcho* p = fake.get();
    FBootTCP->Ping = std::move(fake);
    // A clock that runs 200 ms per reading keeps the ten-second ping test short.
    auto now = std::make_shared<uint32_t>(0);
    FBootTCP->Clock = [now] { return *now += 200; };
    return p;
  }

  TUpdater_Run_Settings saved_;
};

}  // namespace

TEST_F(UpdateDeviceTest, Type3Variant1RunsTheEthernetUpdaterWithItsJobFile) {
  QString why;
  if (!TIcmpEcho::Available(&why)) GTEST_SKIP() << why.toStdString();
  Open_Config(1);
  Install(Dir_Exe, Ethernet_Program);
  bool shown = false;
  QString jobAtStart, ipCaption;
  OnModal(FBootTCP, [&] {
    shown = true;
    ipCaption = FBootTCP->L_IP_Address->Caption();
    EXPECT_EQ(FBootTCP->E_IP4->Text(), QStringLiteral("1"));
    FBootTCP->Btn_Next->Click();  // no ping test yet
    EXPECT_EQ(boxes_.LastText(), T(72));
    FBootTCP->Btn_Ping->Click();
    EXPECT_EQ(FBootTCP->LPing->Caption(), T(69));
    EXPECT_EQ(FBootTCP->LPing->Font()->Color(), clGreen);
    FBootTCP->Btn_Next->Click();
    EXPECT_TRUE(FBootTCP->Btn_Update->Visible());
    EXPECT_FALSE(FBootTCP->Btn_Cancel->Visible());
    FBootTCP->Btn_Update->Click();
    EXPECT_TRUE(FBootTCP->Btn_Update->Visible()) << "the window stays on its second page";
    FBootTCP->Close();
  });
  FTessaroneFirmWare->Btn_CreateBin->Click();
  ASSERT_TRUE(shown);
  EXPECT_EQ(ipCaption, T(58) + QStringLiteral(" HD51645"));
  EXPECT_EQ(Last_IP_Address, QStringLiteral("127.0.0.1"));
  EXPECT_EQ(Bank_Sel_Dev, 1);
  EXPECT_TRUE(FileExists(Dir_Project + QStringLiteral("/bin/bank1.bin")));
  EXPECT_TRUE(FileExists(Dir_Project + QStringLiteral("/bin/bank2.bin")));

  const QList<QJsonObject> runs = Runs(Dir_Exe);
  ASSERT_EQ(runs.size(), 1);
  EXPECT_EQ(runs[0].value(QStringLiteral("program")).toString(), Ethernet_Program);
  EXPECT_TRUE(Args(runs[0]).isEmpty());
  EXPECT_EQ(QDir(runs[0].value(QStringLiteral("cwd")).toString()).canonicalPath(), QDir(Dir_Exe).canonicalPath());
  // The updater found the whole job file at its start, as the window built it.
  TXMLDocument want;
  ASSERT_TRUE(Compile_XML_Parameter(want, 3, QStringLiteral("127.0.0.1"), TUpdate_Options{}, Dir_Master, Dir_Project));
  EXPECT_EQ(runs[0].value(QStringLiteral("job_file")).toString().toUtf8(), want.SaveToBytes());
  EXPECT_EQ(boxes_.Count(), 1);
}

TEST_F(UpdateDeviceTest, Type3Variant0RunsTheSerialUpdaterOnTheChosenPort) {
  Open_Config(0);
  const QString folder = dir_.filePath(QStringLiteral("updaters"));  // the updater folder is a parameter
  Updater_Run.Folder = folder;
  Install(folder, QStringLiteral("Ser_51645_Update.exe"));
  FBootSer->TTY_Class_Dir = Fake_Ttys({QStringLiteral("ttyUSB1"), QStringLiteral("ttyACM0")});
  bool shown = false;
  OnModal(FBootSer, [&] {
    shown = true;
    EXPECT_EQ(FBootSer->CB_Com->Items()->Count(), 2);
    EXPECT_EQ(FBootSer->CB_Com->Text(), QStringLiteral("ttyACM0"));
    FBootSer->CB_Com->SetItemIndex(1);
    FBootSer->Btn_Next->Click();
    EXPECT_FALSE(FBootSer->Btn_Next->Visible());
    FBootSer->CB_Read_Firm->SetChecked(false);
    FBootSer->Btn_Update->Click();
    FBootSer->Btn_Update->Click();  // the updater may be started again
    FBootSer->Close();
  });
  FTessaroneFirmWare->Update_Device();
  ASSERT_TRUE(shown);
  EXPECT_EQ(boxes_.Count(), 0);
  EXPECT_TRUE(FileExists(Dir_Project + QStringLiteral("/bin/bank.bin")));
  const QList<QJsonObject> runs = Runs(folder);
  ASSERT_EQ(runs.size(), 2);
  const QStringList want = {QStringLiteral("/dev/ttyUSB1"), QStringLiteral("FW"), QStringLiteral("NO"),
                            QStringLiteral("PW"), QStringLiteral("PR"), Dir_Master + QStringLiteral("/sim51645.sim"),
                            Dir_Project + QStringLiteral("/bin/")};
  EXPECT_EQ(Args(runs[0]), want);
  EXPECT_EQ(runs[0].value(QStringLiteral("program")).toString(), QStringLiteral("Ser_51645_Update.exe"));
  EXPECT_EQ(QDir(runs[0].value(QStringLiteral("cwd")).toString()).canonicalPath(), QDir(folder).canonicalPath());
}

// The port list's refresh button shows its picture (kept beside the test as a picture of the window's first page).
TEST_F(UpdateDeviceTest, SerialPortRefreshButtonShowsItsGlyph) {
  FBootSer->TTY_Class_Dir = Fake_Ttys({QStringLiteral("ttyUSB0")});
  QImage window, button;
  OnModal(FBootSer, [&] {
    window = FBootSer->Widget()->grab().toImage();
    button = FBootSer->Btn_COM_List->Widget()->grab().toImage();
    FBootSer->Close();
  });
  FBootSer->ShowModal();
  window.save(QStringLiteral(TEST_BINARY_DIR "/boot_ser.png"));
  button.scaled(button.size() * 8).save(QStringLiteral(TEST_BINARY_DIR "/boot_ser_refresh_button.png"));
  EXPECT_GT(FBootSer->Btn_COM_List->NumGlyphs(), 0);
  ASSERT_FALSE(button.isNull());
  // The glyph's dark ink stands out in the middle of the button; an empty button shows only its face there.
  int ink = 0;
  for (int y = 6; y < button.height() - 6; ++y)
    for (int x = 6; x < button.width() - 6; ++x) ink += qGray(button.pixel(x, y)) < 140;
  EXPECT_GT(ink, 10);
}

TEST_F(UpdateDeviceTest, NoSerialPortStopsAtNext) {
  Open_Config(0);
  FBootSer->TTY_Class_Dir = Fake_Ttys({});
  OnModal(FBootSer, [&] {
    EXPECT_EQ(FBootSer->CB_Com->Items()->Count(), 0);
    FBootSer->Btn_Next->Click();
    EXPECT_EQ(boxes_.LastText(), T(89));
    EXPECT_TRUE(FBootSer->Btn_Next->Visible());
    FBootSer->TTY_Class_Dir = Fake_Ttys({QStringLiteral("ttyUSB0")});
    FBootSer->Btn_COM_List->Click();
    EXPECT_EQ(FBootSer->CB_Com->Text(), QStringLiteral("ttyUSB0"));
    FBootSer->Btn_Cancel->Click();
  });
  FTessaroneFirmWare->Update_Device();
  EXPECT_EQ(boxes_.Count(), 1);
}

TEST_F(UpdateDeviceTest, AnUpdaterThatCannotStartIsReported) {
  struct Case {
    const char* Name;
    int Install;  // 0 nothing, 1 a file that is no program for this system, 2 the stand-in ending with code 3
    bool Box;
    int Runs;
  } cases[] = {
      {"missing", 0, true, 0},
      {"not a program", 1, true, 0},
      {"ends with an error code", 2, true, 1},  // a failed update must not pass for a finished one
  };
  Open_Config(0);
  FBootSer->TTY_Class_Dir = Fake_Ttys({QStringLiteral("ttyUSB0")});
  const QString program = QStringLiteral("Ser_51645_Update.exe");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    boxes_.Clear();
    QFile::remove(QDir(Dir_Exe).filePath(program));
    QFile::remove(QDir(Dir_Exe).filePath(QStringLiteral("stand_in_updater.jsonl")));
    if (c.Install == 1) {
      Write(program, "MZ\x90 a program for another system");
      QFile(QDir(Dir_Exe).filePath(program)).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    } else if (c.Install == 2) {
      Install(Dir_Exe, program);
      Control(Dir_Exe, "exit=3\n");
    }
    bool stayed = false;
    OnModal(FBootSer, [&] {
      FBootSer->Btn_Next->Click();
      FBootSer->Btn_Update->Click();
      stayed = FBootSer->Btn_Update->Visible() && FBootSer->Btn_Update->Enabled();
      FBootSer->Close();
    });
    FTessaroneFirmWare->Update_Device();
    EXPECT_TRUE(stayed);
    ASSERT_EQ(boxes_.Count(), c.Box ? 1 : 0);
    if (c.Box) {
      EXPECT_EQ(boxes_.Requests()[0].Type, mtError);
      EXPECT_TRUE(boxes_.LastText().contains(program)) << boxes_.LastText().toStdString();
      if (c.Install == 2) EXPECT_TRUE(boxes_.LastText().contains(QStringLiteral("error code 3")));
    }
    EXPECT_EQ(Runs(Dir_Exe).size(), c.Runs);
  }
}

TEST_F(UpdateDeviceTest, NoWindowOpensWhenTheImagesAreNotWritten) {
  struct Case {
    const char* Name;
    bool BadValue;
    bool FailWrite;
    bool BinIsFile;
  } cases[] = {
      {"failed bank write", false, true, false},
      {"bin folder cannot be made", false, false, true},
      {"value that does not convert", true, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    boxes_.Clear();
    QDir(dir_.filePath(QStringLiteral("PROJECTS/Plant"))).removeRecursively();
    Open_Config(0, c.BadValue);
    if (c.BinIsFile) Write(QStringLiteral("PROJECTS/Plant/bin"), "not a folder");
    if (c.FailWrite) SetFileWriteFaultHook([](FileWriteStep s, const QString&) { return s == FileWriteStep::Rename; });
    // Closes an update window that opens although it must not; the watch ends with this scope.
    bool shown = false;
    QTimer watch;
    watch.setInterval(5);
    QObject::connect(&watch, &QTimer::timeout, [&] {
      for (TForm* f : {static_cast<TForm*>(FBootSer), static_cast<TForm*>(FBootTCP)})
        if (f->Modal()) {
          shown = true;
          f->Close();
        }
    });
    watch.start();
    FTessaroneFirmWare->Update_Device();
    SetFileWriteFaultHook({});
    EXPECT_FALSE(shown);
    ASSERT_EQ(boxes_.Count(), 1);
    EXPECT_EQ(boxes_.Requests()[0].Type, mtError);
    EXPECT_FALSE(FileExists(Dir_Project + QStringLiteral("/bin/bank.bin")));
  }
}

TEST_F(UpdateDeviceTest, TheWaitEndsAtItsLimitAndTheUpdaterRunsOn) {
  Open_Config(0);
  Install(Dir_Exe, QStringLiteral("Ser_51645_Update.exe"));
  Control(Dir_Exe, "sleep_ms=3000\n");
  FBootSer->TTY_Class_Dir = Fake_Ttys({QStringLiteral("ttyUSB0")});
  // Each reading of the clock moves it 30 s on: the 150 s bound is reached long before the updater ends.
  auto now = std::make_shared<uint32_t>(0);
  Updater_Run.Clock = [now] { return *now += 30000; };
  QElapsedTimer took;
  OnModal(FBootSer, [&] {
    FBootSer->Btn_Next->Click();
    took.start();
    FBootSer->Btn_Update->Click();
    EXPECT_LT(took.elapsed(), 2000);
    FBootSer->Close();
  });
  FTessaroneFirmWare->Update_Device();
  // The wait may end before the stand-in has even written its record.
  WaitUntil([this] { return Runs(Dir_Exe).size() == 1; });
  const QList<QJsonObject> runs = Runs(Dir_Exe);
  ASSERT_EQ(runs.size(), 1);
  const pid_t pid = static_cast<pid_t>(runs[0].value(QStringLiteral("pid")).toInteger());
  EXPECT_EQ(kill(pid, 0), 0) << "the updater must not be ended";
  WaitUntil([] { return ReapFinishedProcesses() == 0; }, 10000);
  EXPECT_EQ(ReapFinishedProcesses(), 0);
  EXPECT_NE(kill(pid, 0), 0) << "the updater ran to its end and was reaped";
}

TEST_F(UpdateDeviceTest, TheWindowRepaintsAndStaysOpenWhileTheUpdaterRuns) {
  Open_Config(0);
  Install(Dir_Exe, QStringLiteral("Ser_51645_Update.exe"));
  Control(Dir_Exe, "sleep_ms=700\n");
  FBootSer->TTY_Class_Dir = Fake_Ttys({QStringLiteral("ttyUSB0")});
  int ticks = 0;
  bool disabledWhileRunning = false, closeAsked = false, stayedOpen = false;
  QTimer watch;
  watch.setInterval(20);
  QObject::connect(&watch, &QTimer::timeout, [&] {
    ++ticks;
    if (FBootSer->Busy()) {
      disabledWhileRunning = !FBootSer->Btn_Update->Enabled();
      FBootSer->Close();  // as the title bar's close button does
      closeAsked = true;
    }
  });
  OnModal(FBootSer, [&] {
    FBootSer->Btn_Next->Click();
    watch.start();
    FBootSer->Btn_Update->Click();
    watch.stop();
    stayedOpen = FBootSer->ModalResult() == mrNone;
    EXPECT_TRUE(FBootSer->Btn_Update->Enabled());
    // Still open: a close now ends it.
    QTimer::singleShot(50, [] { FBootSer->Close(); });
  });
  FTessaroneFirmWare->Update_Device();
  EXPECT_GE(ticks, 10);
  EXPECT_TRUE(disabledWhileRunning);
  EXPECT_TRUE(closeAsked);
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(Runs(Dir_Exe).size(), 1);
}

TEST_F(UpdateDeviceTest, Type7StartsItsTcpUpdaterWithTheTestedAddress) {
  FBootTCP->Dev_Type = 7;
  Open_Config(-1);
  Install(Dir_Exe, QStringLiteral("TCP_51872_Update.exe"));
  TFakeEcho* echo = Fake_Ping();
  echo->Script = {{TEchoStatus::Pending, TEchoStatus::Reply}};
  Last_IP_Address = QStringLiteral("127.0.0.9");
  OnModal(FBootTCP, [&] {
    EXPECT_EQ(FBootTCP->L_IP_Address->Caption(), T(58) + QStringLiteral(" HD51872"));
    FBootTCP->E_IP4->SetText(QStringLiteral("010"));
    FBootTCP->Btn_Ping->Click();
    FBootTCP->Btn_Next->Click();
    FBootTCP->CB_Conf->SetChecked(false);
    FBootTCP->Btn_Update->Click();
    FBootTCP->Close();
  });
  FBootTCP->ShowModal();
  EXPECT_EQ(echo->Hosts.value(0), QStringLiteral("127.0.0.10"));
  EXPECT_EQ(Last_IP_Address, QStringLiteral("127.0.0.10"));
  const QList<QJsonObject> runs = Runs(Dir_Exe);
  ASSERT_EQ(runs.size(), 1);
  const QStringList want = {QStringLiteral("127.0.0.10"), QStringLiteral("2007"), QStringLiteral("FW"),
                            QStringLiteral("FR"), QStringLiteral("NO"), QStringLiteral("PR"),
                            Dir_Master + QStringLiteral("/sim51872.sim"), Dir_Project + QStringLiteral("/bin")};
  EXPECT_EQ(Args(runs[0]), want);
  EXPECT_TRUE(runs[0].value(QStringLiteral("job_file")).isNull());
}

TEST_F(UpdateDeviceTest, PingOutcomes) {
  struct Case {
    const char* Name;
    std::deque<std::vector<TEchoStatus>> Script;
    bool Throw;
    const char* Ip4;
    int Text;
    bool Found;
    int MaxSent;  // requests sent at most
  } cases[] = {
      {"found after two replies", {{TEchoStatus::Pending, TEchoStatus::Reply}}, false, "1", 69, true, 2},
      {"no answer for ten seconds", {{TEchoStatus::Pending}}, false, "1", 70, false, 60},
      {"answer without data", {{TEchoStatus::ReplyWithoutData}}, false, "1", 70, false, 60},
      {"the last answer decides (found)", {{TEchoStatus::ReplyWithoutData}, {TEchoStatus::Reply}}, false, "1", 69, true, 3},
      {"the last answer decides (not found)", {{TEchoStatus::Reply}, {TEchoStatus::ReplyWithoutData}}, false, "1", 70, false, 60},
      {"send fails", {}, true, "1", 71, false, 0},
      {"address part out of range", {}, false, "256", 71, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    boxes_.Clear();
    TFakeEcho* echo = Fake_Ping();
    echo->Script = c.Script;
    echo->Throw = c.Throw;
    OnModal(FBootTCP, [&] {
      FBootTCP->E_IP4->SetText(QString::fromLatin1(c.Ip4));
      FBootTCP->Btn_Ping->Click();
      EXPECT_EQ(FBootTCP->LPing->Caption(), T(c.Text));
      EXPECT_EQ(FBootTCP->LPing->Font()->Color(), c.Found ? clGreen : clRed);
      EXPECT_EQ(FBootTCP->Esegui_Ping, c.Found);
      EXPECT_TRUE(FBootTCP->Btn_Ping->Enabled());
      FBootTCP->Btn_Next->Click();
      EXPECT_EQ(FBootTCP->Btn_Update->Visible(), c.Found);
      EXPECT_EQ(boxes_.Count(), c.Found ? 0 : 1);
      if (!c.Found) {
        EXPECT_EQ(boxes_.LastText(), T(72));
      }
      FBootTCP->Close();
    });
    FBootTCP->ShowModal();
    EXPECT_LE(echo->Sent, c.MaxSent);
    if (c.MaxSent > 0) {
      EXPECT_GE(echo->Sent, c.Found ? 1 : 2);
    }
  }
}

TEST_F(UpdateDeviceTest, EditingTheAddressVoidsTheTest) {
  TFakeEcho* echo = Fake_Ping();
  echo->Script = {{TEchoStatus::Reply}};
  OnModal(FBootTCP, [&] {
    FBootTCP->Btn_Ping->Click();
    ASSERT_TRUE(FBootTCP->Esegui_Ping);
    FBootTCP->E_IP3->SetText(QStringLiteral("5"));
    EXPECT_FALSE(FBootTCP->Esegui_Ping);
    EXPECT_EQ(FBootTCP->LPing->Caption(), QString());
    FBootTCP->Btn_Next->Click();
    EXPECT_EQ(boxes_.LastText(), T(72));
    FBootTCP->Close();
  });
  FBootTCP->ShowModal();
}

TEST_F(UpdateDeviceTest, StoredAddressFillsTheEditsOnlyWhenValid) {
  struct Case {
    const char* Stored;
    const char* Want[4];
  } cases[] = {
      {"127.0.0.9", {"127", "0", "0", "9"}},
      {"127.0.0.256", {"127", "0", "0", "9"}},  // refused: the edits keep what they held
      {"127.0.1", {"127", "0", "0", "9"}},
      {" 127 . 1 . 2 . 3 ", {"127", "1", "2", "3"}},
  };
  for (const Case& c : cases) {
    Last_IP_Address = QString::fromLatin1(c.Stored);
    OnModal(FBootTCP, [&] {
      const TEdit* e[4] = {FBootTCP->E_IP1, FBootTCP->E_IP2, FBootTCP->E_IP3, FBootTCP->E_IP4};
      for (int i = 0; i < 4; ++i) EXPECT_EQ(e[i]->Text(), QString::fromLatin1(c.Want[i])) << c.Stored;
      EXPECT_TRUE(FBootTCP->Btn_Ping->Visible());
      FBootTCP->Btn_Cancel->Click();
    });
    EXPECT_EQ(FBootTCP->ShowModal(), mrCancel);
  }
}

TEST_F(UpdateDeviceTest, AFullStopInAnAddressEditMovesOn) {
  OnModal(FBootTCP, [&] {
    struct Case {
      TEdit* From;
      TEdit* To;
    } cases[] = {{FBootTCP->E_IP1, FBootTCP->E_IP2}, {FBootTCP->E_IP2, FBootTCP->E_IP3},
                 {FBootTCP->E_IP3, FBootTCP->E_IP4}};
    for (const Case& c : cases) {
      char16_t key = u'.';
      c.From->OnKeyPress(c.From, key);
      EXPECT_EQ(key, 0);
      char16_t digit = u'7';
      c.From->OnKeyPress(c.From, digit);
      EXPECT_EQ(digit, u'7');
    }
    FBootTCP->Close();
  });
  FBootTCP->ShowModal();
}

// Typing a whole address over a filled one: each "." moves on and selects the next field, so every number
// replaces what the field held.
TEST_F(UpdateDeviceTest, TypingAnAddressOverAFilledOneReplacesEveryField) {
  Last_IP_Address = QStringLiteral("127.168.200.205");
  OnModal(FBootTCP, [&] {
    FBootTCP->E_IP1->SetFocus();
    FBootTCP->E_IP1->SelectAll();
    for (const char c : std::string("10.1.2.33")) QTest::keyClick(QApplication::focusWidget(), c);  // as typed
    EXPECT_EQ(FBootTCP->Address(), QStringLiteral("10.1.2.33"));
    EXPECT_TRUE(FBootTCP->E_IP4->Focused());
    FBootTCP->Close();
  });
  FBootTCP->ShowModal();
}

TEST_F(UpdateDeviceTest, AJobFileThatCannotBeWrittenStartsNothing) {
  Open_Config(1);
  Install(Dir_Exe, Ethernet_Program);
  Write(Ethernet_Job_File, "<Ethernet_Update><Version>old</Version></Ethernet_Update>");
  TFakeEcho* echo = Fake_Ping();
  echo->Script = {{TEchoStatus::Reply}};
  OnModal(FBootTCP, [&] {
    FBootTCP->Btn_Ping->Click();
    FBootTCP->Btn_Next->Click();
    SetFileWriteFaultHook([](FileWriteStep s, const QString&) { return s == FileWriteStep::Write; });
    FBootTCP->Btn_Update->Click();
    SetFileWriteFaultHook({});
    FBootTCP->Close();
  });
  FBootTCP->ShowModal();
  ASSERT_EQ(boxes_.Count(), 1);
  EXPECT_EQ(boxes_.Requests()[0].Type, mtError);
  EXPECT_TRUE(Runs(Dir_Exe).isEmpty());
  EXPECT_EQ(Read(Ethernet_Job_File), QByteArray("<Ethernet_Update><Version>old</Version></Ethernet_Update>"));
}

TEST_F(UpdateDeviceTest, AMissingFirmwareImageIsReportedAndStartsNothing) {
  struct Case {
    const char* Name;
    bool Firmware;  // the option "Firmware"
    int Runs;
  } cases[] = {{"firmware asked for", true, 0}, {"configuration alone", false, 1}};
  Open_Config(1);
  Install(Dir_Exe, Ethernet_Program);
  QDir(Dir_Master).removeRecursively();
  QDir().mkpath(Dir_Master);
  TFakeEcho* echo = Fake_Ping();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    boxes_.Clear();
    QFile::remove(QDir(Dir_Exe).filePath(QStringLiteral("stand_in_updater.jsonl")));
    echo->Script = {{TEchoStatus::Reply}};
    OnModal(FBootTCP, [&] {
      FBootTCP->Btn_Ping->Click();
      FBootTCP->Btn_Next->Click();
      FBootTCP->CB_Firmware->SetChecked(c.Firmware);
      FBootTCP->Btn_Update->Click();
      FBootTCP->Close();
    });
    FBootTCP->ShowModal();
    EXPECT_EQ(Runs(Dir_Exe).size(), c.Runs);
    ASSERT_EQ(boxes_.Count(), c.Firmware ? 1 : 0);
    if (c.Firmware) {
      EXPECT_EQ(boxes_.Requests()[0].Type, mtError);
      EXPECT_TRUE(boxes_.LastText().contains(QStringLiteral("sim51645K.sim"))) << boxes_.LastText().toStdString();
    }
  }
  FBootTCP->CB_Firmware->SetChecked(true);
}

TEST_F(UpdateDeviceTest, TheVariantComesFromParGen) {
  struct Case {
    const char* Name;
    QByteArray ParGen;  // empty: no file
    int Want;
  } cases[] = {
      {"no file", QByteArray(), 0},
      {"variant 1", "<GeneralParameter><Sel_Dev>1</Sel_Dev></GeneralParameter>", 1},
      {"not a number", "<GeneralParameter><Sel_Dev>abc</Sel_Dev></GeneralParameter>", 0},
      {"no element", "<GeneralParameter/>", 0},
      {"not well-formed", "<GeneralParameter><Sel_Dev>1</Sel_Dev>", 0},
  };
  Open_Config(-1);
  for (const Case& c : cases) {
    QFile::remove(File_ParGen);
    if (!c.ParGen.isEmpty()) Write(QStringLiteral("PROJECTS/Plant/ParGen.xml"), c.ParGen);
    Bank_Sel_Dev = 7;
    EXPECT_EQ(FTessaroneFirmWare->Select_Type_427(), c.Want) << c.Name;
    EXPECT_EQ(Bank_Sel_Dev, c.Want) << c.Name;
  }
}
