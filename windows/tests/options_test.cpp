#include <QDesktopServices>
#include <QImage>
#include <QTest>
#include <QWidget>

#include "windows/about.h"
#include "windows/boot_ser.h"
#include "windows/boot_tcp.h"
#include "windows/meter_bus.h"
#include "windows/new_id_node.h"
#include "windows/new_project.h"
#include "windows/open_conf.h"
#include "windows/par_gen.h"
#include "windows/scan_decode.h"
#include "windows/soft_options.h"
#include "windows/tests/local_http_server.h"
#include "windows/tests/windows_fixture.h"

using namespace plat;

// Records the links handed to the desktop instead of opening them.
class UrlRecorder : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> urls;
 public Q_SLOTS:
  void Open(const QUrl& u) { urls << u; }
};

namespace {

void WriteFlag(const QString& path, QColor colour) {
  QImage img(48, 48, QImage::Format_RGB32);
  img.fill(colour);
  ASSERT_TRUE(img.save(path, "BMP"));
}

TEST_F(WindowsTest, LanguagePagesWithFlags) {
  for (const char* n : {"A", "B", "C", "D", "E", "F", "G"}) Write(QString("LANGUAGE/%1.lng").arg(n), "");
  Start();
  WriteFlag(dir_.filePath("LANGUAGE/B.bmp"), Qt::red);
  TFSoftOptions* O = FSoftOptions;
  OnModal(O, [&] {
    EXPECT_EQ(O->Language_In_Use, "English");
    EXPECT_EQ(O->L_Page_Lang->Caption(), "Page 1 / 2");
    EXPECT_FALSE(O->Btn_Prev->Visible());
    EXPECT_TRUE(O->Btn_Next->Visible());
    for (int k = 1; k <= 6; ++k) EXPECT_TRUE(O->L_L[k]->Visible()) << k;
    EXPECT_EQ(O->L_L[1]->Caption(), "A");
    EXPECT_EQ(O->L_L[6]->Caption(), "F");
    // Only B has a flag, and there is no default flag.
    EXPECT_FALSE(O->I_L[1]->Visible());
    EXPECT_TRUE(O->I_L[2]->Visible());
    O->Widget()->grab().toImage().save(QStringLiteral(TEST_BINARY_DIR "/soft_options_languages.png"));
    O->Btn_Next->Click();
    EXPECT_EQ(O->Show_Page, 2);
    EXPECT_EQ(O->L_Page_Lang->Caption(), "Page 2 / 2");
    EXPECT_TRUE(O->Btn_Prev->Visible());
    EXPECT_FALSE(O->Btn_Next->Visible());
    EXPECT_TRUE(O->L_L[1]->Visible());
    EXPECT_EQ(O->L_L[1]->Caption(), "G");
    for (int k = 2; k <= 6; ++k) EXPECT_FALSE(O->L_L[k]->Visible()) << k;
    O->Btn_Prev->Click();
    EXPECT_EQ(O->Show_Page, 1);
    O->Frame.Btn_Cancel->Click();
  });
  FTessaroneFirmWare->Btn_Opz->Click();

  // The default flag stands in for a missing one; no file at all shows one empty page and no paging.
  WriteFlag(dir_.filePath("LANGUAGE/DefaultFlag.bmp"), Qt::blue);
  OnModal(O, [&] {
    EXPECT_TRUE(O->I_L[1]->Visible());
    for (const char* n : {"A", "B", "C", "D", "E", "F", "G"}) QFile::remove(dir_.filePath(QString("LANGUAGE/%1.lng").arg(n)));
    O->Create_Lang_List();
    EXPECT_EQ(O->L_Page_Lang->Caption(), "Page 1 / 1");
    EXPECT_FALSE(O->Btn_Prev->Visible());
    EXPECT_FALSE(O->Btn_Next->Visible());
    for (int k = 1; k <= 6; ++k) EXPECT_FALSE(O->L_L[k]->Visible()) << k;
    O->Btn_Next->Click();
    EXPECT_EQ(O->Show_Page, 1);
    O->Frame.Btn_Cancel->Click();
  });
  FTessaroneFirmWare->Btn_Opz->Click();
}

// A language chosen on the second page: the window's texts change, and the page label and the paging buttons
// still tell the page shown.
TEST_F(WindowsTest, PagingAgreesWithThePagesAfterALanguageChange) {
  for (const char* n : {"A", "B", "C", "D", "E", "F"}) Write(QString("LANGUAGE/%1.lng").arg(n), "");
  Write("LANGUAGE/G.lng", "STR43 = \xC2\xB6Seite \xC2\xB6\r\nSTR44 = \xC2\xB6 von \xC2\xB6\r\n");
  Start();
  boxes_.Answer(mrYes);
  TFSoftOptions* O = FSoftOptions;
  OnModal(O, [&] {
    O->Btn_Next->Click();
    O->LangClick(1);
    EXPECT_EQ(O->L_Page_Lang->Caption(), "Seite 2 von 2");
    EXPECT_TRUE(O->Btn_Prev->Visible());
    EXPECT_FALSE(O->Btn_Next->Visible());
    O->Btn_Prev->Click();
    EXPECT_EQ(O->L_Page_Lang->Caption(), "Seite 1 von 2");
    EXPECT_FALSE(O->Btn_Prev->Visible());
    EXPECT_TRUE(O->Btn_Next->Visible());
    O->Frame.Btn_Cancel->Click();
  });
  FTessaroneFirmWare->Btn_Opz->Click();
}

TEST_F(WindowsTest, ALanguageChangeReachesEveryWindowAtOnce) {
  // Caption texts of the windows the change reaches, and of one it does not.
  Write("LANGUAGE/Deutsch.lng",
        "STR1 = Schritt 1\r\nSTR15 = Neue Konfiguration\r\nSTR25 = Neu\r\nSTR33 = Oeffnen\r\n"
        "STR38 = Optionen\r\nSTR57 = Ethernet\r\nSTR73 = Seriell\r\nSTR90 = Kommunikation\r\nSTR127 = Netz\r\n"
        "STR257 = Knoten\r\nSTR400 = Scannen\r\nSTR42 = \xC2\xB6Sprache: \xC2\xB6\r\n");
  Write("LANGUAGE/English.lng", "");
  Start();
  const QString scanCaption = FScanDecode->Caption();
  boxes_.Answer(mrNo);
  boxes_.Answer(mrYes);
  OnModal(FSoftOptions, [&] {
    EXPECT_EQ(FSoftOptions->L_L[1]->Caption(), "Deutsch");
    FSoftOptions->LangClick(1);  // No: nothing changes
    EXPECT_EQ(FTessaroneFirmWare->Btn_New->Caption(), "New Configuration");
    FSoftOptions->LangClick(1);  // Yes
    EXPECT_EQ(boxes_.Requests()[1].Text, "Do you want to change the Language from English to Deutsch?");
    EXPECT_EQ(boxes_.Requests()[1].Type, mtConfirmation);
    EXPECT_EQ(FSoftOptions->L_Sel_Lang->Caption(), "Sprache: Deutsch");
    FSoftOptions->Frame.Btn_Cancel->Click();
  });
  FTessaroneFirmWare->Btn_Opz->Click();
  EXPECT_EQ(FTessaroneFirmWare->Btn_New->Caption(), "Neue Konfiguration");
  EXPECT_EQ(FTessaroneFirmWare->L_Step[1]->Caption(), "Schritt 1");
  // The configuration lines keep their language until the next open, create or start.
  EXPECT_EQ(FTessaroneFirmWare->L_Name_Conf->Caption(), "None Configuration Opened ");
  EXPECT_EQ(FNew_Project->Caption(), "Neu");
  EXPECT_EQ(FOpenConf->Caption(), "Oeffnen");
  EXPECT_EQ(FSoftOptions->Caption(), "Optionen");
  EXPECT_EQ(FParGen->Caption(), "Kommunikation");
  EXPECT_EQ(FMeter_Bus->Caption(), "Netz");
  EXPECT_EQ(FNewIDNode->Caption(), "Knoten");
  EXPECT_EQ(FBootSer->Caption(), "Seriell");
  EXPECT_EQ(FBootTCP->Caption(), "Ethernet");
  EXPECT_EQ(FScanDecode->Caption(), scanCaption);  // takes the new texts at the next start
  // Cancelled: the stored language stays.
  EXPECT_EQ(Lang_Selected, "English");
  CloseMain();
  EXPECT_TRUE(Read("Tessaron.xml").contains("<language>English</language>"));

  // With OK the language is stored, and the next start uses it.
  Free_Windows();
  Start();
  boxes_.Answer(mrYes);
  OnModal(FSoftOptions, [&] {
    FSoftOptions->LangClick(1);
    FSoftOptions->Frame.Btn_OK->Click();
  });
  FTessaroneFirmWare->Btn_Opz->Click();
  EXPECT_TRUE(Read("Tessaron.xml").contains("<language>Deutsch</language>"));
  Free_Windows();
  Start();
  EXPECT_EQ(FTessaroneFirmWare->Btn_New->Caption(), "Neue Konfiguration");
  EXPECT_EQ(FTessaroneFirmWare->L_Name_Conf_L2->Caption(), T(10));
}

TEST_F(WindowsTest, ConnectionOptionsAndTheTimer) {
  Start();
  TFSoftOptions* O = FSoftOptions;
  EXPECT_TRUE(O->TS_Con_Options->TabVisible());
  OnModal(O, [&] {
    EXPECT_FALSE(O->CB_En_Con->Checked());
    EXPECT_FALSE(O->CB_Update->Enabled());
    EXPECT_FALSE(O->Btn_Check_Update->Enabled());
    O->CB_En_Con->SetChecked(true);
    EXPECT_TRUE(O->CB_Update->Enabled());
    EXPECT_FALSE(O->Btn_Check_Update->Enabled());
    O->CB_Update->SetChecked(true);
    EXPECT_TRUE(O->Btn_Check_Update->Enabled());
    O->CB_En_Con->SetChecked(false);
    EXPECT_FALSE(O->Btn_Check_Update->Enabled());
    O->CB_En_Con->SetChecked(true);
    O->Frame.Btn_OK->Click();
  });
  FTessaroneFirmWare->Btn_Opz->Click();
  EXPECT_TRUE(Enable_Internet);
  EXPECT_TRUE(Enable_Update);
  EXPECT_TRUE(FTessaroneFirmWare->Timer_Update->Enabled());
  EXPECT_TRUE(Read("Tessaron.xml").contains("<enable_update>1</enable_update>"));

  // Cancel keeps the stored options; the next showing copies them again.
  OnModal(O, [&] {
    EXPECT_TRUE(O->CB_Update->Checked());
    O->CB_En_Con->SetChecked(false);
    O->Frame.Btn_Cancel->Click();
  });
  FTessaroneFirmWare->Btn_Opz->Click();
  EXPECT_TRUE(Enable_Internet);
  OnModal(O, [&] {
    EXPECT_TRUE(O->CB_En_Con->Checked());
    // The update option is stored even while its box is disabled.
    O->CB_En_Con->SetChecked(false);
    O->Frame.Btn_OK->Click();
  });
  FTessaroneFirmWare->Btn_Opz->Click();
  EXPECT_FALSE(Enable_Internet);
  EXPECT_TRUE(Enable_Update);
  EXPECT_FALSE(FTessaroneFirmWare->Timer_Update->Enabled());
}

class VersionCheckWindows : public WindowsTest {
 protected:
  void SetUp() override {
    WindowsTest::SetUp();
    saved_ = Web_Server_Base();
    Set_Web_Server_Base(server_.Base());
    QDesktopServices::setUrlHandler("http", &recorder_, "Open");
  }
  void TearDown() override {
    QDesktopServices::unsetUrlHandler("http");
    Set_Web_Server_Base(saved_);
    WindowsTest::TearDown();
  }
  UrlRecorder recorder_;
  LocalHttpServer server_;
  QString saved_;
};

TEST_F(VersionCheckWindows, TheTimerShowsAndHidesTheLink) {
  Write("Tessaron.xml",
        "<Conf_Settings><lastinternet><enable_internet>1</enable_internet><enable_update>1</enable_update>"
        "</lastinternet></Conf_Settings>");
  Start();
  TFTessaroneFirmWare* F = FTessaroneFirmWare;
  EXPECT_TRUE(F->Timer_Update->Enabled());
  EXPECT_EQ(F->Timer_Update->Interval(), 60000u);

  server_.Body = "VER. 2.400";
  F->Timer_UpdateTimer();
  EXPECT_FALSE(F->Timer_Update->Enabled());  // off while the check runs
  WaitUntil([&] { return F->LL_Update->Visible(); });
  EXPECT_TRUE(F->LL_Update->Visible());
  EXPECT_EQ(F->LL_Update->Caption(), T(19));
  EXPECT_EQ(F->LL_Update->Link(), QUrl(server_.Base() + "/Home/download/download.asp#HD51645"));
  EXPECT_TRUE(F->Timer_Update->Enabled());
  EXPECT_EQ(F->Timer_Update->Interval(), 7200000u);
  F->LL_Update->Click();
  ASSERT_EQ(recorder_.urls.size(), 1);
  EXPECT_EQ(recorder_.urls[0].fragment(), "HD51645");

  server_.Body = "VER. 2.012";
  F->Timer_UpdateTimer();
  WaitUntil([&] { return !F->LL_Update->Visible(); });
  EXPECT_FALSE(F->LL_Update->Visible());
  WaitUntil([&] { return F->Timer_Update->Enabled(); });
  EXPECT_TRUE(F->Timer_Update->Enabled());
  EXPECT_EQ(server_.Requests.size(), 2);

  F->L_VeltrumClick();
  ASSERT_EQ(recorder_.urls.size(), 2);
  EXPECT_EQ(recorder_.urls[1], QUrl(server_.Base() + "/HOME/default.asp?frompg=SW51645"));
}

TEST_F(VersionCheckWindows, CheckNowFromTheOptions) {
  Write("Tessaron.xml",
        "<Conf_Settings><lastinternet><enable_internet>1</enable_internet><enable_update>1</enable_update>"
        "</lastinternet></Conf_Settings>");
  Start();
  TFSoftOptions* O = FSoftOptions;
  const struct {
    const char* body;
    bool silent;
    int text;
  } cases[] = {{"VER. 2.400", false, 52}, {"VER. 0.000", false, 53}, {"garbage", false, 53}, {"", true, 53}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.body);
    server_.Body = c.body;
    server_.Silent = c.silent;
    FTessaroneFirmWare->HTTP1->SetTimeoutMs(300);
    OnModal(O, [&] {
      EXPECT_FALSE(O->LL_Check_Update->Visible());
      ASSERT_TRUE(O->Btn_Check_Update->Enabled());
      O->Btn_Check_Update->Click();
      EXPECT_FALSE(O->Btn_Check_Update->Enabled());  // not twice at once
      WaitUntil([&] { return O->LL_Check_Update->Visible(); });
      EXPECT_EQ(O->LL_Check_Update->Caption(), T(c.text));
      EXPECT_TRUE(O->Btn_Check_Update->Enabled());
      O->Frame.Btn_Cancel->Click();
    });
    FTessaroneFirmWare->Btn_Opz->Click();
  }
}

TEST_F(WindowsTest, AboutShowsTheModel) {
  Start();
  OnModal(FAbout, [&] {
    EXPECT_EQ(FAbout->Label2->Caption(), "M-Bus Multi-Master / Modbus - Converter");
    EXPECT_EQ(FAbout->Label9->Caption(), "SW51645");
    EXPECT_EQ(FAbout->Label10->Caption(), "2.012");
    EXPECT_EQ(FAbout->Label12->Caption(), "MN51645");
    EXPECT_TRUE(FAbout->Image2->Visible());
    EXPECT_FALSE(FAbout->I_Dastrell->Visible());
    EXPECT_EQ(FAbout->ClientWidth(), 406);
    EXPECT_EQ(FAbout->ClientHeight(), 148);
    FAbout->LbButton1->Click();
  });
  FTessaroneFirmWare->Btn_Info->Click();
  EXPECT_EQ(FAbout->ModalResult(), mrOk);
}

TEST_F(WindowsTest, EscapeClosesAboutWhereverTheFocusIs) {
  Start();
  bool closed = false;
  OnModal(FAbout, [&] {
    FAbout->LbButton1->SetFocus();  // its only button has the focus, as after a click
    QTest::keyClick(FAbout->LbButton1->Widget(), Qt::Key_Escape);
    closed = FAbout->ModalResult() != mrNone;
    if (!closed) FAbout->LbButton1->Click();
  });
  FTessaroneFirmWare->Btn_Info->Click();
  EXPECT_TRUE(closed);
}

// Each dialog drawn as a person sees it (kept beside the test as a picture), with the common frame.
TEST_F(WindowsTest, DialogsShowTheirFrame) {
  Start();
  const struct {
    TForm* form;
    const char* file;
    int width, height;
  } dialogs[] = {{FNew_Project, "new_project.png", 331, 162},
                 {FOpenConf, "open_conf.png", 377, 351},
                 {FSoftOptions, "soft_options.png", 420, 350},
                 {FAbout, "about.png", 406, 148}};
  for (const auto& d : dialogs) {
    SCOPED_TRACE(d.file);
    QImage shot;
    OnModal(d.form, [&] {
      shot = d.form->Widget()->grab().toImage();
      d.form->SetModalResult(mrCancel);
    });
    d.form->ShowModal();
    ASSERT_FALSE(shot.isNull());
    shot.save(QStringLiteral(TEST_BINARY_DIR "/") + d.file);
    EXPECT_EQ(d.form->ClientWidth(), d.width);
    EXPECT_EQ(d.form->ClientHeight(), d.height);
    EXPECT_EQ(shot.pixelColor(2, shot.height() - 2), QColor(248, 247, 237));
  }
  const QImage main = FTessaroneFirmWare->Widget()->grab().toImage();
  main.save(QStringLiteral(TEST_BINARY_DIR "/main_window_offscreen.png"));
  EXPECT_EQ(main.pixelColor(4, main.height() - 4), QColor(248, 247, 237));
}

}  // namespace

#include "options_test.moc"
