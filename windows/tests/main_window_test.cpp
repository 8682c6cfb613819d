#include <QFileInfo>

#include "windows/about.h"
#include "windows/boot_ser.h"
#include "windows/boot_tcp.h"
#include "windows/insert_key_wireless.h"
#include "windows/main_window.h"
#include "windows/meter_bus.h"
#include "windows/modbus_start_add_sd.h"
#include "windows/new_id_node.h"
#include "windows/new_project.h"
#include "windows/open_conf.h"
#include "windows/par_gen.h"
#include "windows/scan_decode.h"
#include "windows/scan_modbus_start.h"
#include "windows/soft_options.h"
#include "windows/tests/windows_fixture.h"

using namespace plat;

namespace {

const char Defaults[] =
    "<Conf_Settings>\n"
    "  <lastproj>\n    <projectname/>\n  </lastproj>\n"
    "  <lastipadd>\n    <ipaddress>192.168.2.205</ipaddress>\n  </lastipadd>\n"
    "  <lastlang>\n    <language>English</language>\n  </lastlang>\n"
    "  <lastinternet>\n    <enable_internet>0</enable_internet>\n    <enable_update>0</enable_update>\n"
    "  </lastinternet>\n"
    "</Conf_Settings>\n";

QByteArray Settings(const char* project, const char* internet = "0", const char* update = "0") {
  return QByteArray("<Conf_Settings><lastproj><projectname>") + project +
         "</projectname></lastproj><lastipadd><ipaddress>127.0.0.1</ipaddress></lastipadd>"
         "<lastlang><language>English</language></lastlang><lastinternet><enable_internet>" +
         internet + "</enable_internet><enable_update>" + update + "</enable_update></lastinternet></Conf_Settings>";
}

TEST_F(WindowsTest, FirstStartInAnEmptyFolder) {
  Start();
  for (const char* d : {"MASTER", "PROJECTS", "LANGUAGE"}) EXPECT_TRUE(IsDir(d)) << d;
  TFTessaroneFirmWare* F = FTessaroneFirmWare;
  EXPECT_EQ(F->Caption(), "Veltrum - Configurator SW51645 - M-Bus Multi-Master / Modbus ");
  EXPECT_EQ(F->ClientWidth(), 694);
  EXPECT_EQ(F->ClientHeight(), 396);
  EXPECT_EQ(F->L_SW_Code->Caption(), "SW51645");
  EXPECT_EQ(F->L_SW_Desc->Caption(), "M-Bus Multi-Master / Modbus - Converter");
  EXPECT_EQ(F->L_Name_Conf->Caption(), T(9));
  EXPECT_EQ(F->L_Name_Conf_L2->Caption(), T(10));
  EXPECT_EQ(T(9), "None Configuration Opened ");
  EXPECT_EQ(F->Btn_New->Caption(), "New Configuration");
  EXPECT_EQ(F->Btn_Close->Hint(), "Close Configurator");
  EXPECT_TRUE(F->Btn_ScanDecode->Visible());
  EXPECT_FALSE(F->LL_Update->Visible());
  EXPECT_FALSE(F->Timer_Update->Enabled());
  EXPECT_EQ(F->Timer_Update->Interval(), 60000u);
  EXPECT_TRUE(F->L_Step[4]->Visible());
  EXPECT_FALSE(F->L_Step[5]->Visible());
  EXPECT_TRUE(Dir_Project.isEmpty());
  EXPECT_TRUE(File_ParGen.isEmpty());
  EXPECT_EQ(Lang_Texts.size(), Lang_Max);
  EXPECT_EQ(boxes_.Count(), 0);
  // Every window exists, in the shared state every later window relies on.
  for (TForm* w : std::initializer_list<TForm*>{FNew_Project, FOpenConf, FSoftOptions, FParGen, FMeter_Bus,
                                                FScanDecode}) {
    EXPECT_NE(w, nullptr);
  }
  EXPECT_FALSE(QFileInfo::exists(dir_.filePath("Tessaron.xml")));
  CloseMain();
  EXPECT_EQ(Read("Tessaron.xml").toStdString(), std::string(Defaults));
}

TEST_F(WindowsTest, StartUpWithASettingsFile) {
  const struct {
    const char* name;
    QByteArray settings;
    bool open;
    bool timer;
  } cases[] = {
      {"last configuration reopened", Settings("Plant1"), true, false},
      {"folder deleted", Settings("Gone"), false, false},
      {"name leading out of PROJECTS", Settings("../MASTER"), false, false},
      {"only 1 switches the check on", Settings("", "1", "true"), false, false},
      {"both options on", Settings("", "1", "1"), false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Write("Tessaron.xml", c.settings);
    QDir().mkpath(dir_.filePath("PROJECTS/Plant1/bin"));
    Start();
    TFTessaroneFirmWare* F = FTessaroneFirmWare;
    EXPECT_EQ(!Dir_Project.isEmpty(), c.open);
    if (c.open) {
      EXPECT_EQ(F->L_Name_Conf->Caption(), T(11));
      EXPECT_EQ(F->L_Name_Conf_L2->Caption(), "Plant1");
      EXPECT_EQ(File_ParGen, dir_.filePath("PROJECTS/Plant1/ParGen.xml"));
      EXPECT_EQ(File_MBus, dir_.filePath("PROJECTS/Plant1/M_Bus.xml"));
    } else {
      EXPECT_EQ(F->L_Name_Conf->Caption(), T(9));
      EXPECT_EQ(F->L_Name_Conf_L2->Caption(), T(10));
    }
    EXPECT_EQ(F->Timer_Update->Enabled(), c.timer);
    EXPECT_EQ(boxes_.Count(), 0);
    const QByteArray project = Name_Project.toUtf8();
    CloseMain();
    // A stale name is written back unchanged.
    if (!project.isEmpty()) {
      EXPECT_TRUE(Read("Tessaron.xml").contains("<projectname>" + project + "</projectname>"));
    }
    EXPECT_TRUE(Read("Tessaron.xml").contains("<ipaddress>127.0.0.1</ipaddress>"));
    Free_Windows();
  }
}

TEST_F(WindowsTest, ACorruptSettingsFileIsReportedAndKept) {
  const QByteArray corrupt = "<Conf_Settings><lastproj><projectname>Plant1</lastproj>";
  Write("Tessaron.xml", corrupt);
  Start();
  ASSERT_EQ(boxes_.Count(), 1);
  EXPECT_EQ(boxes_.Requests()[0].Type, mtError);
  EXPECT_TRUE(boxes_.LastText().contains("Tessaron.xml")) << boxes_.LastText().toStdString();
  // Every later start-up step still ran, with the defaults.
  EXPECT_EQ(FTessaroneFirmWare->L_Name_Conf->Caption(), T(9));
  EXPECT_EQ(FTessaroneFirmWare->Btn_Open->Caption(), "Open Configuration");
  EXPECT_EQ(Lang_Selected, "English");
  EXPECT_EQ(Last_IP_Address, "192.168.2.205");
  EXPECT_EQ(Read("Tessaron.xml").toStdString(), corrupt.toStdString());  // nothing written at start
  CloseMain();
  EXPECT_EQ(Read("Tessaron.xml.bad").toStdString(), corrupt.toStdString());
  EXPECT_EQ(Read("Tessaron.xml").toStdString(), std::string(Defaults));
}

TEST_F(WindowsTest, ASettingsFileThatCannotBeWrittenIsReported) {
  Start();
  // A folder in the way of the file: the save fails whatever the rights.
  ASSERT_TRUE(QDir().mkdir(dir_.filePath("Tessaron.xml")));
  CloseMain();
  ASSERT_EQ(boxes_.Count(), 1);
  EXPECT_EQ(boxes_.Requests()[0].Type, mtError);
  EXPECT_TRUE(boxes_.LastText().startsWith("The settings cannot be saved")) << boxes_.LastText().toStdString();
}

TEST_F(WindowsTest, StepButtonsNeedAnOpenConfiguration) {
  Start();
  TFTessaroneFirmWare* F = FTessaroneFirmWare;
  // Any window shown modally is recorded and closed again.
  QStringList shown;
  for (TForm* w : std::initializer_list<TForm*>{FParGen, FMeter_Bus, FScanDecode}) {
    w->OnShow = [&shown, w](TObject*) {
      shown << w->Name();
      QTimer::singleShot(0, [w] { w->SetModalResult(mrCancel); });
    };
  }
  for (controls::TLbButton* b : {F->Btn_Prm_Gen, F->Btn_MBus, F->Btn_CreateBin, F->Btn_ScanDecode}) {
    SCOPED_TRACE(b->Name().toStdString());
    boxes_.Clear();
    b->Click();
    ASSERT_EQ(boxes_.Count(), 1);
    EXPECT_EQ(boxes_.LastText(), "Error! Project not Valid");
    EXPECT_EQ(boxes_.Requests()[0].Type, mtError);
  }
  EXPECT_TRUE(shown.isEmpty());

  // With a configuration open they open their windows.
  QDir().mkpath(dir_.filePath("PROJECTS/Plant1/bin"));
  Dir_Project = dir_.filePath("PROJECTS/Plant1");
  F->Set_Files();
  boxes_.Clear();
  F->Btn_Prm_Gen->Click();
  F->Btn_MBus->Click();
  F->Btn_ScanDecode->Click();  // no M_Bus.xml yet: no question
  EXPECT_EQ(shown, QStringList({"FParGen", "FMeter_Bus", "FScanDecode"}));
  EXPECT_EQ(boxes_.Count(), 0);
  EXPECT_EQ(FScanDecode->XML_Code_Dev, 9);
  EXPECT_EQ(FScanDecode->Form_Type, 0);
  EXPECT_EQ(FScanDecode->FileName_MBus, dir_.filePath("PROJECTS/Plant1/M_Bus.xml"));

  // An existing network file asks first; No stops.
  Write("PROJECTS/Plant1/M_Bus.xml", "<M-Bus_Network/>");
  shown.clear();
  boxes_.Answer(mrNo);
  F->Btn_ScanDecode->Click();
  ASSERT_EQ(boxes_.Count(), 1);
  EXPECT_EQ(boxes_.Requests()[0].Type, mtWarning);
  EXPECT_EQ(boxes_.LastText(), T(353));
  EXPECT_TRUE(shown.isEmpty());
  boxes_.Answer(mrYes);
  F->Btn_ScanDecode->Click();
  EXPECT_EQ(shown, QStringList({"FScanDecode"}));
}

// The program makes the other windows after the main window's first paint; a click that comes first makes them
// on the spot, and they are made once.
TEST_F(WindowsTest, AClickBeforeTheOtherWindowsExistMakesThem) {
  Create_Main_Window();
  plat::Application->SetMainForm(nullptr);
  ASSERT_EQ(FAbout, nullptr);
  ASSERT_EQ(FSoftOptions, nullptr);
  bool closed = false;
  QTimer poll;  // the box does not exist before the click: looked for until it shows
  QObject::connect(&poll, &QTimer::timeout, [&closed] {
    if (!closed && FAbout && FAbout->Modal()) {
      closed = true;
      FAbout->SetModalResult(mrCancel);
    }
  });
  poll.start(5);
  FTessaroneFirmWare->Btn_Info->Click();
  poll.stop();
  EXPECT_TRUE(closed);
  const std::initializer_list<TForm*> others = {FNew_Project, FOpenConf, FAbout, FSoftOptions, FParGen,
                                                 FMeter_Bus, FNewIDNode, FBootSer, FBootTCP, FScanDecode,
                                                 FInsertKeyWireless, FScanModbusStart, FModbusStartAdd_SD};
  const std::vector<TForm*> made(others);
  for (TForm* w : made) EXPECT_NE(w, nullptr);
  Create_Other_Windows();
  EXPECT_EQ(std::vector<TForm*>({FNew_Project, FOpenConf, FAbout, FSoftOptions, FParGen, FMeter_Bus, FNewIDNode,
                                 FBootSer, FBootTCP, FScanDecode, FInsertKeyWireless, FScanModbusStart,
                                 FModbusStartAdd_SD}),
            made);
}

TEST_F(WindowsTest, NewConfigurationRefusesBadNamesAndCreatesGoodOnes) {
  Start();
  QDir().mkpath(dir_.filePath("PROJECTS/Existing"));
  const struct {
    QString name;
    int text;
  } refused[] = {{"", 32}, {"Existing", 31}, {"existing", 31}, {"../evil", 30}, {"..", 30},
                 {"a/b", 30}, {"x\"y", 30}, {QString("t") + QChar(10), 30}};
  bool done = false;
  OnModal(FNew_Project, [&] {
    EXPECT_TRUE(FNew_Project->E_New_Proj->Text().isEmpty());
    for (const auto& c : refused) {
      SCOPED_TRACE(c.name.toStdString());
      boxes_.Clear();
      FNew_Project->E_New_Proj->SetText(c.name);
      FNew_Project->Frame.Btn_OK->Click();
      ASSERT_EQ(boxes_.Count(), 1);
      EXPECT_EQ(boxes_.LastText(), T(c.text));
      EXPECT_EQ(FNew_Project->ModalResult(), mrNone);  // the dialog stays open
    }
    // Enter in the edit does what OK does.
    FNew_Project->E_New_Proj->SetText("Plant 1");
    char16_t enter = 13;
    FNew_Project->E_New_ProjKeyPress(enter);
    done = true;
  });
  FTessaroneFirmWare->Btn_New->Click();
  ASSERT_TRUE(done);
  EXPECT_FALSE(QFileInfo::exists(dir_.filePath("evil")));
  EXPECT_EQ(QDir(dir_.filePath("PROJECTS")).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
            QStringList({"Existing", "Plant 1"}));
  EXPECT_TRUE(IsDir("PROJECTS/Plant 1/bin"));
  EXPECT_FALSE(QFileInfo::exists(dir_.filePath("PROJECTS/Plant 1/ParGen.xml")));
  EXPECT_EQ(Name_Project, "Plant 1");
  EXPECT_EQ(Dir_Project, dir_.filePath("PROJECTS/Plant 1"));
  EXPECT_EQ(File_MBus, dir_.filePath("PROJECTS/Plant 1/M_Bus.xml"));
  EXPECT_EQ(FTessaroneFirmWare->L_Name_Conf->Caption(), T(11));
  EXPECT_EQ(FTessaroneFirmWare->L_Name_Conf_L2->Caption(), "Plant 1");

  // Cancel changes nothing.
  OnModal(FNew_Project, [&] {
    FNew_Project->E_New_Proj->SetText("Other");
    FNew_Project->Frame.Btn_Cancel->Click();
  });
  FTessaroneFirmWare->Btn_New->Click();
  EXPECT_EQ(Name_Project, "Plant 1");
  EXPECT_FALSE(IsDir("PROJECTS/Other"));
}

TEST_F(WindowsTest, OpenConfigurationListsAndPreselects) {
  Start();
  TFTessaroneFirmWare* F = FTessaroneFirmWare;
  // Empty PROJECTS: OK leaves no configuration open.
  OnModal(FOpenConf, [&] {
    EXPECT_EQ(FOpenConf->ListBox1->Count(), 0);
    FOpenConf->Frame.Btn_OK->Click();
  });
  F->Btn_Open->Click();
  EXPECT_TRUE(Dir_Project.isEmpty());
  EXPECT_EQ(F->L_Name_Conf->Caption(), T(9));

  for (const char* d : {"PROJECTS/beta/bin", "PROJECTS/Alpha/bin", "PROJECTS/gamma/bin"}) QDir().mkpath(dir_.filePath(d));
  Write("PROJECTS/notes.txt", "x");
  // No configuration open: the first entry is preselected.
  OnModal(FOpenConf, [&] {
    EXPECT_EQ(FOpenConf->SL, QStringList({"Alpha", "beta", "gamma"}));
    EXPECT_EQ(FOpenConf->ListBox1->ItemIndex(), 0);
    EXPECT_EQ(FOpenConf->Name_Conf, "Alpha");
    FOpenConf->ListBox1->SetItemIndex(2);
    FOpenConf->ListBox1Click();
    FOpenConf->Frame.Btn_OK->Click();
  });
  F->Btn_Open->Click();
  EXPECT_EQ(Name_Project, "gamma");
  EXPECT_EQ(Dir_Project, dir_.filePath("PROJECTS/gamma"));
  EXPECT_EQ(File_ParGen, dir_.filePath("PROJECTS/gamma/ParGen.xml"));
  EXPECT_EQ(F->L_Name_Conf_L2->Caption(), "gamma");

  // The open one is preselected, also when the stored name differs in case; Cancel keeps it.
  Dir_Project = dir_.filePath("PROJECTS/BETA");
  OnModal(FOpenConf, [&] {
    EXPECT_EQ(FOpenConf->ListBox1->ItemIndex(), 1);
    EXPECT_EQ(FOpenConf->Name_Conf, "beta");
    FOpenConf->Frame.Btn_Cancel->Click();
  });
  F->Btn_Open->Click();
  EXPECT_EQ(Dir_Project, dir_.filePath("PROJECTS/BETA"));

  // A chosen folder removed before OK opens nothing.
  OnModal(FOpenConf, [&] {
    QDir(dir_.filePath("PROJECTS/Alpha")).removeRecursively();
    FOpenConf->ListBox1->SetItemIndex(0);
    FOpenConf->ListBox1Click();
    FOpenConf->Frame.Btn_OK->Click();
  });
  F->Btn_Open->Click();
  EXPECT_EQ(Name_Project, "Alpha");
  EXPECT_TRUE(Dir_Project.isEmpty());
  EXPECT_EQ(F->L_Name_Conf->Caption(), T(9));
  EXPECT_TRUE(File_MBus.isEmpty());
}

}  // namespace
