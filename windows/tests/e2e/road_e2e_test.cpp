// The configurator's whole road as a user takes it, driven through the X server with xdotool: a new
// configuration, its communication settings (the variant with the Ethernet port, the converter on 127.0.0.2),
// a node and a variable typed into the network editor, a primary scan of two real meters behind the simulated
// converter, the scan saved into the network, and the update through the stand-in updater. The program binds
// UDP port 10000 on every address, so the test runs in a private network namespace of its own (ctest starts it
// through unshare), where the simulated converter hears its requests on 127.0.0.2 through a raw socket.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "core/bank_writer.h"
#include "core/compiler.h"
#include "core/mbus_network.h"
#include "core/network_checks.h"
#include "core/network_compiler.h"
#include "scanner/tests/corpus_support.h"
#include "tools/converter_sim/converter_sim.h"
#include "windows/tests/e2e/x_display.h"

namespace {

const char Main_Title[] = "Veltrum - Configurator SW51645 - M-Bus Multi-Master / Modbus ";

// Points inside the controls, in the client coordinates of their window: the layouts are fixed in the code.
struct TAt {
  int X, Y;
};
namespace at {
// The main window's steps.
constexpr TAt New_Configuration{165, 130}, Set_Communication{165, 174}, MBus_Access{165, 218},
    Update_Device{165, 262}, Scan_Decode{599, 88};
// New configuration.
constexpr TAt New_Name{165, 101}, New_OK{165, 140};
// Communication settings: the variant list, then (variant 1) the converter's address and OK.
constexpr TAt Select_Device{156, 101}, IP[4] = {{40, 578}, {90, 578}, {140, 578}, {190, 578}}, Settings_OK{146, 718};
// Network editor: the node page, the tree, the variable page, OK.
constexpr TAt Node_Enable{333, 110}, Node_Desc{661, 138}, Node_Pri{586, 165}, Node_State{586, 219}, Node_Ident{586, 246},
    Node_MSD{586, 435}, Node_Access{586, 516}, Add_Node{596, 546};
constexpr TAt Tree_Root{50, 75}, Variables_Tab{407, 79}, Var_Desc{661, 138}, Var_Dim{661, 246}, Var_Register{586, 327},
    Var_Scale{586, 354}, Add_Var{596, 626}, Network_OK{668, 678};
// Scan & Decode: the buttons row; Stop (280..430) and Save Conf. (240..390) share a stretch of it.
constexpr TAt Start_Scan{513, 467}, Stop_Scan{420, 467}, Save_Conf{250, 467}, Start_Register_OK{165, 140};
// The Ethernet update: Ping, then Next, and Update where Next was.
constexpr TAt Ping{64, 154}, Next{184, 211}, Update{184, 211};
}  // namespace at

// The window's own background.
const QColor Background(248, 247, 237);

class Road : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(std::getenv("DISPLAY")) << "no X server: run under xvfb-run";
    ASSERT_TRUE(x_.Ok());
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("version")}), 0) << "xdotool is missing";
    exe_ = dir_.filePath("configurator");
    ASSERT_TRUE(QFile::copy(CONFIGURATOR_EXE, exe_));
    // The stand-in takes the place of the Ethernet updater and records how it was started.
    ASSERT_TRUE(QFile::copy(STAND_IN_UPDATER, dir_.filePath("Ethernet_Update.exe")));
    Write("MASTER/sim51645K.sim", "firmware");  // the image the job file names for the firmware write
    // The last address typed for an update, as the settings file keeps it.
    Write("Tessaron.xml",
          "<Conf_Settings><lastproj><projectname/></lastproj><lastipadd><ipaddress>127.0.0.2</ipaddress>"
          "</lastipadd><lastlang><language>English</language></lastlang></Conf_Settings>");
    Start_Converter();
  }

  void TearDown() override {
    if (proc_.state() != QProcess::NotRunning) {
      proc_.kill();
      proc_.waitForFinished(5000);
    }
    sim_.Stop();
  }

  void Start_Converter() {
    std::vector<convsim::TSimMeter> meters;
    const std::pair<uint8_t, const char*> found[] = {{1, "emh_diz"}, {2, "kamstrup_382_005"}};
    for (const auto& [primary, file] : found) {
      std::vector<uint8_t> t;
      ASSERT_TRUE(corpus::Read_Hex(corpus::Dir("test-frames") + u'/' + QLatin1StringView(file) + QStringLiteral(".hex"), t));
      convsim::TSimMeter m;
      std::string why;
      ASSERT_TRUE(convsim::Make_Meter(primary, 0x10000000u + primary, {t}, m, &why)) << why;
      meters.push_back(std::move(m));
    }
    sim_.Core.Bus.Meters = std::move(meters);
    QString error;
    ASSERT_TRUE(sim_.Start_Shared(QStringLiteral("127.0.0.2"), 10000, &error)) << error.toStdString();
  }

  void Write(const QString& rel, const QByteArray& text) {
    QDir().mkpath(QFileInfo(dir_.filePath(rel)).path());
    QFile f(dir_.filePath(rel));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
  }
  QByteArray Read(const QString& rel) const {
    QFile f(dir_.filePath(rel));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  // ---- xdotool

  static QString Run_Xdotool(const QStringList& args, int timeout_ms = 15000) {
    QProcess p;
    p.start(QStringLiteral("timeout"), QStringList{QString::number(timeout_ms / 1000 + 1), QStringLiteral("xdotool")} + args);
    p.waitForFinished(timeout_ms + 3000);
    EXPECT_EQ(p.exitCode(), 0) << "xdotool " << args.join(u' ').toStdString() << ": "
                               << p.readAllStandardError().toStdString();
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
  }
  // The pattern that matches exactly Title (xdotool takes POSIX extended expressions).
  static QString Exactly(const char* title) {
    QString p;
    for (const QChar c : QString::fromUtf8(title)) {
      if (QStringLiteral(".[]()*+?{}|^$\\").contains(c)) p += u'\\';
      p += c;
    }
    return u'^' + p + u'$';
  }
  // Waits for the shown window of that exact title; its id. When it does not come, the screen is kept as a
  // picture beside the test.
  QString Window(const char* title, int timeout_ms = 15000) {
    const QString out = Optional_Window(title, timeout_ms);
    if (out.isEmpty()) {
      x_.Grab(x_.Screen()->root).save(QStringLiteral(TEST_BINARY_DIR "/road_failed.png"));
      ADD_FAILURE() << "no window \"" << title << "\" within " << timeout_ms << " ms (screen: road_failed.png)";
    }
    return out;
  }
  // The window of that title if it shows within the time, else an empty text.
  static QString Optional_Window(const char* title, int timeout_ms) {
    QProcess p;
    p.start(QStringLiteral("timeout"),
            {QString::number(double(timeout_ms) / 1000), QStringLiteral("xdotool"), QStringLiteral("search"),
             QStringLiteral("--sync"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), Exactly(title)});
    p.waitForFinished(timeout_ms + 3000);
    return p.exitCode() == 0 ? QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed().section(u'\n', 0, 0)
                             : QString();
  }
  static void Click(const QString& window, TAt p) {
    // Without --sync: it would wait for ever for a motion when the pointer is already there, as it is when a
    // button is clicked where the previous one was.
    Run_Xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window, QString::number(p.X),
                 QString::number(p.Y), QStringLiteral("click"), QStringLiteral("1")});
  }
  // Clicks into an edit, replaces its text with Text.
  static void Type_Into(const QString& window, TAt p, const QString& text) {
    Click(window, p);
    Run_Xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a")});
    Run_Xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("5"), text});
  }
  static void Key(const char* key) { Run_Xdotool({QStringLiteral("key"), QString::fromLatin1(key)}); }
  // Answers the message box of that title with the key (Return: its first button).
  void Answer(const char* title, const char* key = "Return") {
    const QString box = Window(title);
    Run_Xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), box});
    Key(key);
  }
  // Closes the window from its title bar and waits until it is gone, so that the window under it takes input.
  // A window drops a close asked for while it waits for its updater, so the close is asked for again, as a user
  // would.
  void Close_And_Wait(const QString& window, const char* title) {
    EXPECT_TRUE(Wait_For([&] {
      x_.Close(window.toUInt());
      return Wait_For([&] { return !x_.Find(title); }, 1000);
    }, 15000)) << title << " did not close";
  }
  static bool Wait_For(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
      if (t.elapsed() > ms) return false;
      QThread::msleep(50);
    }
    return true;
  }

  XConnection x_;
  QTemporaryDir dir_;
  QString exe_;
  QProcess proc_;
  convsim::TConverterSim sim_;
};

TEST_F(Road, NewConfigurationToUpdateWithAScanAppendedToATypedNetwork) {
  proc_.setWorkingDirectory(dir_.path());
  proc_.setProcessChannelMode(QProcess::ForwardedChannels);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  proc_.setProcessEnvironment(env);
  proc_.start(exe_, {});
  ASSERT_TRUE(proc_.waitForStarted(10000));
  const QString main = Window(Main_Title, 30000);
  ASSERT_FALSE(main.isEmpty());

  // A new configuration.
  Click(main, at::New_Configuration);
  const QString created = Window("Create New Configuration");
  Type_Into(created, at::New_Name, QStringLiteral("Plant1"));
  Click(created, at::New_OK);
  const QString project = dir_.filePath("PROJECTS/Plant1");
  ASSERT_TRUE(Wait_For([&] { return QFileInfo(project).isDir(); }, 10000));

  // Its communication settings: the variant with the Ethernet port, the converter on 127.0.0.2.
  Click(main, at::Set_Communication);
  QString settings = Window("Set Communication");
  Click(settings, at::Select_Device);
  Key("Down");
  Key("Return");
  const char* ip[4] = {"127", "0", "0", "2"};
  for (int i = 0; i < 4; ++i) Type_Into(settings, at::IP[i], QString::fromLatin1(ip[i]));
  Click(settings, at::Settings_OK);
  ASSERT_TRUE(Wait_For([&] { return Read("PROJECTS/Plant1/ParGen.xml").contains("<IP_4>2</IP_4>"); }, 10000));

  // A node and a variable typed into the network editor: one register, 1.
  Click(main, at::MBus_Access);
  const QString editor = Window("M-Bus Network");
  Click(editor, at::Node_Enable);
  Type_Into(editor, at::Node_Desc, QStringLiteral("Boiler"));
  Type_Into(editor, at::Node_Pri, QStringLiteral("9"));
  for (const TAt f : {at::Node_State, at::Node_Ident, at::Node_MSD, at::Node_Access}) Type_Into(editor, f, QStringLiteral("0"));
  Click(editor, at::Add_Node);
  Click(editor, at::Tree_Root);
  Key("Down");  // the new node
  Click(editor, at::Variables_Tab);
  Type_Into(editor, at::Var_Desc, QStringLiteral("Energy"));
  Click(editor, at::Var_Dim);
  Key("Down");  // 16 bits: one register
  Key("Return");
  Type_Into(editor, at::Var_Register, QStringLiteral("1"));
  Type_Into(editor, at::Var_Scale, QStringLiteral("0"));
  Click(editor, at::Add_Var);
  Click(editor, at::Network_OK);
  const QString mbus = project + QStringLiteral("/M_Bus.xml");
  ASSERT_TRUE(Wait_For([&] { return Read("PROJECTS/Plant1/M_Bus.xml").contains("Energy"); }, 10000));
  const core::net::TNetwork typed = core::net::Load_Network(mbus, 3).Network;
  ASSERT_EQ(typed.Nodi_List.size(), 1u);
  ASSERT_EQ(typed.Nodi_List[0].Var_List.size(), 1u);

  // A primary scan; the two meters answer at addresses 1 and 2, so it is stopped once both were read.
  Click(main, at::Scan_Decode);
  Answer("Warning");  // the network exists already: go on
  const QString scan = Window("Scan & Decode");
  Click(scan, at::Start_Scan);
  Key("Escape");  // the "Scan Cyclic" menu the button opens under itself
  ASSERT_TRUE(Wait_For([&] { return sim_.Clean_Readouts().size() == 2; }, 30000));
  const xcb_window_t scan_window = scan.toUInt();
  // The readouts are decoded once the next address was asked for.
  const uint64_t seen = sim_.Datagrams_Received();
  ASSERT_TRUE(Wait_For([&] { return sim_.Datagrams_Received() > seen + 4; }, 10000));
  Click(scan, at::Stop_Scan);
  // "Save Conf." shows once the scan has ended.
  ASSERT_TRUE(Wait_For([&] {
    const QImage shot = x_.Grab(scan_window);
    return !shot.isNull() && shot.pixelColor(at::Save_Conf.X, at::Save_Conf.Y) != Background;
  }, 20000));
  x_.Grab(scan_window).save(QStringLiteral(TEST_BINARY_DIR "/road_scan.png"));
  Click(scan, at::Save_Conf);
  Answer("Confirmation");  // add to the file: Yes
  const QString start = Window("Start Modbus Register");
  x_.Grab(start.toUInt()).save(QStringLiteral(TEST_BINARY_DIR "/road_start_register.png"));
  Click(start, at::Start_Register_OK);  // the register proposed
  Answer("Information");
  Close_And_Wait(scan, "Scan & Decode");

  // The update through the stand-in updater.
  Click(main, at::Update_Device);
  const QString update = Window("Update Firmware from Etherner (UDP)", 30000);
  Click(update, at::Ping);
  // Next shows "Device not found in network" until the ping test has found the converter.
  ASSERT_TRUE(Wait_For([&] {
    Click(update, at::Next);
    const QString error = Optional_Window("Error", 1000);
    if (error.isEmpty()) return true;
    Answer("Error");
    Click(update, at::Ping);
    return false;
  }, 20000));
  Click(update, at::Update);  // one click, where Next was
  const QString record = dir_.filePath("stand_in_updater.jsonl");
  if (!Wait_For([&] { return QFileInfo::exists(record); }, 15000)) {
    x_.Grab(x_.Screen()->root).save(QStringLiteral(TEST_BINARY_DIR "/road_failed.png"));
    FAIL() << "the updater was not started (screen: road_failed.png)";
  }
  Close_And_Wait(update, "Update Firmware from Etherner (UDP)");
  x_.Close(main.toUInt());
  ASSERT_TRUE(proc_.waitForFinished(15000)) << "the program did not end when its window was closed";

  // The network: the typed node and the two scanned ones, no register given twice, the scan after the typed
  // variable's register.
  const core::net::TRead_Result r = core::net::Load_Network(mbus, 3);
  ASSERT_TRUE(r.Error.isEmpty()) << r.Error.toStdString();
  ASSERT_EQ(r.Network.Nodi_List.size(), 3u);
  EXPECT_FALSE(core::net::Find_Overlap(r.Network, 3));
  EXPECT_EQ(r.Network.Nodi_List[1].Var_List.at(0).Modbus_Register, core::net::First_Free_Register(typed, 3));
  // The images the update handed over are the compile of that network and settings.
  const core::bank::Bank_Set set =
      core::bank::Compile(3, 1, project + QStringLiteral("/ParGen.xml"), mbus);
  ASSERT_EQ(set.Files.size(), 2u);
  for (const auto& f : set.Files) EXPECT_EQ(Read(QStringLiteral("PROJECTS/Plant1/bin/") + f.Name), f.Data) << f.Name.toStdString();
  // The updater found its job file with the converter's address and the images.
  const QJsonObject run = QJsonDocument::fromJson(Read("stand_in_updater.jsonl").split('\n').first()).object();
  EXPECT_EQ(run.value(QStringLiteral("program")).toString(), QStringLiteral("Ethernet_Update.exe"));
  const QString job = run.value(QStringLiteral("job_file")).toString();
  EXPECT_TRUE(job.contains(QStringLiteral("<IP_Address_Dev>127.0.0.2</IP_Address_Dev>"))) << job.toStdString();
  EXPECT_TRUE(job.contains(project + QStringLiteral("/bin/bank2.bin"))) << job.toStdString();
}

}  // namespace
