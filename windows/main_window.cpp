#include "windows/main_window.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>

#include "core/device_model.h"
#include "core/lang_texts.h"
#include "platform/graphics/graphic.h"
#include "platform/rtl/exceptions.h"
#include "windows/about.h"
#include "windows/boot_ser.h"
#include "windows/boot_tcp.h"
#include "windows/meter_bus.h"
#include "windows/new_id_node.h"
#include "windows/new_project.h"
#include "windows/open_conf.h"
#include "windows/par_gen.h"
#include "windows/program.h"
#include "windows/project_folders.h"
#include "windows/scan_decode.h"
#include "windows/soft_options.h"

using namespace plat;
using controls::TLbButton;

TFTessaroneFirmWare* FTessaroneFirmWare = nullptr;

namespace {

void Error_Box(int Index) { MessageDlg(Lang_Text(Index), mtError, TMsgDlgButtons{mbOK}); }

// The pictures of the three small buttons (one image of 32 x 32).
void Set_Icon(TLbButton* Button, char Kind) {
  Set_Drawn_Glyph(Button, 32, [Kind](QPainter& p) {
    const QColor ink(90, 90, 90);
    p.setPen(QPen(ink, 3, Qt::SolidLine, Qt::RoundCap));
    switch (Kind) {
      case 'i':
        p.drawEllipse(QRectF(3, 3, 26, 26));
        p.drawLine(QPointF(16, 14), QPointF(16, 23));
        p.drawPoint(QPointF(16, 9));
        break;
      case 'o':
        p.drawEllipse(QRectF(9, 9, 14, 14));
        for (int a = 0; a < 360; a += 45) {
          p.save();
          p.translate(16, 16);
          p.rotate(a);
          p.drawLine(QPointF(0, 9), QPointF(0, 13));
          p.restore();
        }
        break;
      default:
        p.setPen(QPen(QColor(170, 40, 40), 3.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 8), QPointF(24, 24));
        p.drawLine(QPointF(24, 8), QPointF(8, 24));
        break;
    }
  });
  Button->SetLayout(controls::blGlyphTop);
}

// The web address the maker's link shows: the host of the web server.
QString Web_Address() { return QUrl(Web_Server_Base()).host(); }

}  // namespace

TFTessaroneFirmWare::TFTessaroneFirmWare(TComponent* AOwner) : TForm(AOwner), HTTP1(std::make_unique<TVersionCheck>()) {
  SetName(QStringLiteral("FTessaroneFirmWare"));
  Setup_Window(this, 11);

  auto grey_bold = [](TLabel* l) {
    l->Font()->SetColor(clGray);
    l->Font()->SetStyle(TFontStyles{fsBold});
  };
  L_SW_Code = Make_Label(this, "L_SW_Code", 16, 8);
  L_SW_Code->Font()->SetHeight(-32);
  L_SW_Code->Font()->SetColor(clGray);
  L_SW_Desc = Make_Label(this, "L_SW_Desc", 16, 42);
  grey_bold(L_SW_Desc);
  L_Begin = Make_Label(this, "L_Begin", 16, 84);
  grey_bold(L_Begin);
  L_Step[0] = nullptr;
  for (int i = 1; i <= 8; ++i) {
    const QByteArray name = "L_Step_" + QByteArray::number(i);
    L_Step[i] = Make_Label(this, name.constData(), 16, 0);
    grey_bold(L_Step[i]);
  }
  Shape2 = Make_Control<TShape>(this, "Shape2", 80, 70, 348, 36);
  Shape2->Pen()->SetColor(clSilver);
  Shape2->Brush()->SetColor(clWhite);
  L_Name_Conf = Make_Label(this, "L_Name_Conf", 87, 75);
  L_Name_Conf_L2 = Make_Label(this, "L_Name_Conf_L2", 87, 88);
  L_Name_Conf_L2->Font()->SetStyle(TFontStyles{fsBold});

  auto button = [this](const char* name, int l, int t, int w, int h) {
    TLbButton* b = Make_Control<TLbButton>(this, name, l, t, w, h);
    b->OnClick = [this](TObject* s) { Btn_Click(s); };
    return b;
  };
  Btn_Info = button("Btn_Info", 516, 8, 50, 50);
  Btn_Opz = button("Btn_Opz", 574, 8, 50, 50);
  Btn_Close = button("Btn_Close", 632, 8, 50, 50);
  for (TLbButton* b : {Btn_Info, Btn_Opz, Btn_Close}) b->SetShowHint(true);
  Set_Icon(Btn_Info, 'i');
  Set_Icon(Btn_Opz, 'o');
  Set_Icon(Btn_Close, 'x');
  Btn_New = button("Btn_New", 80, 112, 170, 36);
  Btn_Open = button("Btn_Open", 258, 112, 170, 36);
  Btn_Prm_Gen = button("Btn_Prm_Gen", 80, 156, 170, 36);
  Btn_MBus = button("Btn_MBus", 80, 200, 170, 36);
  Btn_CreateBin = button("Btn_CreateBin", 80, 244, 170, 36);
  Btn_ScanDecode = button("Btn_ScanDecode", 516, 70, 166, 36);
  Btn_ScanDecode->SetCaption(QStringLiteral("Scan && Decode"));

  Shape1 = Make_Control<TShape>(this, "Shape1", 10, 0, 674, 1);
  Shape1->Pen()->SetColor(clSilver);

  L_Veltrum = Make_Control<TLinkLabel>(this, "L_Veltrum", 565, 260, 100, 14);
  L_Veltrum->SetAutoSize(true);
  L_Veltrum->OnClick = [this](TObject*) { L_VeltrumClick(); };
  LL_Update = Make_Control<TLinkLabel>(this, "LL_Update", 208, 19, 300, 14);
  LL_Update->SetAutoSize(true);
  LL_Update->SetVisible(false);
  LL_Update->OnLinkClick = [this](const QUrl& link) { LL_UpdateLinkClick(link); };

  Timer_Update = new TTimer(this);
  Timer_Update->SetName(QStringLiteral("Timer_Update"));
  Timer_Update->SetEnabled(false);
  Timer_Update->SetInterval(60000);
  Timer_Update->OnTimer = [this](TObject*) { Timer_UpdateTimer(); };
}

TFTessaroneFirmWare::~TFTessaroneFirmWare() {
  if (FTessaroneFirmWare == this) FTessaroneFirmWare = nullptr;
}

void TFTessaroneFirmWare::DoCreate() {
  FTessaroneFirmWare = this;
  FormCreate();
  TForm::DoCreate();
}

void TFTessaroneFirmWare::DoClose(TCloseAction& Action) {
  TForm::DoClose(Action);
  FormClose(Action);
}

void TFTessaroneFirmWare::FormCreate() {
  // 1. The text table starts empty; Load_Language fills it below.
  Lang_Texts.clear();

  // 2. Layout: step labels level with their button rows, the separator under the last step, the client area.
  const int stepTops[] = {0, 128, 172, 216, 260};
  for (int i = 1; i <= 8; ++i) {
    L_Step[i]->SetTop(i <= 4 ? stepTops[i] : 260 + (i - 4) * 44);
    L_Step[i]->SetVisible(i <= 4);
  }
  Shape1->SetBounds(10, Btn_CreateBin->Top() + 51, 674, 1);
  SetClientWidth(694);
  SetClientHeight(Btn_CreateBin->Top() + 152);
  Btn_ScanDecode->SetVisible(Device_Model().Scan_Decode);
  L_Veltrum->SetVisible(!Device_Model().Is_Rebrand());

  // 3. The folders beside the program; a folder that cannot be created is not reported here (the first
  // write into it will be).
  Dir_Exe = Program_Dir();
  Dir_Master = QDir(Dir_Exe).filePath(QStringLiteral("MASTER"));
  Dir_Projects = QDir(Dir_Exe).filePath(QStringLiteral("PROJECTS"));
  Dir_Language = QDir(Dir_Exe).filePath(QStringLiteral("LANGUAGE"));
  for (const QString& d : {Dir_Master, Dir_Projects, Dir_Language}) {
    if (!QFileInfo(d).isDir()) QDir().mkdir(d);
  }

  // 4. The settings; a file that cannot be read is reported, and every value takes its default.
  Name_Project.clear();
  QString error;
  Settings_Read = Read_Settings(XML1, QDir(Dir_Exe).filePath(QString::fromLatin1(Settings_File_Name)), &error);

  // 5. The update check runs only with both options on.
  Timer_Update->SetInterval(60000);
  Switch_Timer();

  // 6. Caption and model texts.
  Title_Main = QString::fromUtf16(Device_Model().Title);
  SW_Code = SW_Code_Type(Device_Type);
  SW_Desc = SW_Desc_Type(Device_Type);
  SetCaption(Title_Main);
  Application->SetTitle(Title_Main);
  L_SW_Code->SetCaption(SW_Code);
  L_SW_Desc->SetCaption(SW_Desc);
  L_Veltrum->SetCaption(Web_Address());

  // 7. The texts in the chosen language.
  Load_Language();

  // 8. The last configuration, when its folder is still there (and its name is one folder name).
  if (!Name_Project.isEmpty() && Configuration_Exists(Dir_Projects, Name_Project)) {
    Dir_Project = QDir(Dir_Projects).filePath(Name_Project);
  } else {
    Dir_Project.clear();
  }
  Show_Configuration_Lines();

  // 9. The scan lists start empty.
  List_Dev_MBus.clear();
  List_Dev_Wireless.clear();

  // 10.
  Set_Lang();
  Set_Files();

  if (Settings_Read == TSettingsRead::Malformed) {
    Application->ShowException(
        Exception(QStringLiteral("The settings file %1 cannot be read (%2). The program starts with the default "
                                 "settings; the file is kept as %1.bad when the settings are saved")
                      .arg(QString::fromLatin1(Settings_File_Name), error)));
  }
}

void TFTessaroneFirmWare::Show_Configuration_Lines() {
  if (!Dir_Project.isEmpty()) {
    L_Name_Conf->SetCaption(Lang_Text(11));
    L_Name_Conf_L2->SetCaption(Name_Project);
  } else {
    L_Name_Conf->SetCaption(Lang_Text(9));
    L_Name_Conf_L2->SetCaption(Lang_Text(10));
  }
}

void TFTessaroneFirmWare::Switch_Timer() { Timer_Update->SetEnabled(Enable_Internet && Enable_Update); }

void TFTessaroneFirmWare::FormClose(TCloseAction&) { Save_Setting(); }

void TFTessaroneFirmWare::Set_Lang() {
  L_Begin->SetCaption(Lang_Text(0));
  for (int i = 1; i <= 8; ++i) L_Step[i]->SetCaption(Lang_Text(i));
  Btn_Info->SetHint(Lang_Text(12));
  Btn_Opz->SetHint(Lang_Text(13));
  Btn_Close->SetHint(Lang_Text(14));
  Btn_New->SetCaption(Lang_Text(15));
  Btn_Open->SetCaption(Lang_Text(16));
  Btn_CreateBin->SetCaption(Lang_Text(17));
  Btn_Prm_Gen->SetCaption(Lang_Text(20));
  Btn_MBus->SetCaption(Lang_Text(21));
}

void TFTessaroneFirmWare::Set_Files() {
  if (Dir_Project.isEmpty()) {
    File_ParGen.clear();
    File_MBus.clear();
    return;
  }
  File_ParGen = QDir(Dir_Project).filePath(QStringLiteral("ParGen.xml"));
  File_MBus = QDir(Dir_Project).filePath(QStringLiteral("M_Bus.xml"));
}

bool TFTessaroneFirmWare::Save_Setting() {
  const QString file = QDir(Dir_Exe).filePath(QString::fromLatin1(Settings_File_Name));
  const QString keep = Settings_Read == TSettingsRead::Malformed ? file + QStringLiteral(".bad") : QString();
  QString error;
  if (!Write_Settings(XML1, file, keep, &error)) {
    Application->ShowException(Exception(QStringLiteral("The settings cannot be saved: %1").arg(error)));
    return false;
  }
  Settings_Read = TSettingsRead::Read;
  return true;
}

void TFTessaroneFirmWare::Btn_Click(TObject* Sender) {
  Create_Other_Windows();  // the program makes them after the first paint; a click may come first
  if (Sender == Btn_New) {
    Create_New_Project();
  } else if (Sender == Btn_Open) {
    Open_Project();
  } else if (Sender == Btn_Close) {
    Close();
  } else if (Sender == Btn_Info) {
    FAbout->ShowModal();
  } else if (Sender == Btn_Opz) {
    if (FSoftOptions->ShowModal() == mrOk) {
      Save_Setting();
      Switch_Timer();
    }
  } else if (Dir_Project.isEmpty()) {
    Error_Box(18);
  } else if (Sender == Btn_Prm_Gen) {
    FParGen->ShowModal();
  } else if (Sender == Btn_MBus) {
    FMeter_Bus->ShowModal();
  } else if (Sender == Btn_CreateBin) {
    Update_Device();
  } else if (Sender == Btn_ScanDecode) {
    if (QFileInfo(File_MBus).isFile() &&
        MessageDlg(Lang_Text(353), mtWarning, mbYesNo) != mrYes) {
      return;
    }
    FScanDecode->XML_Code_Dev = Get_XML_Code_Dev();
    FScanDecode->FileName_MBus = File_MBus;
    FScanDecode->Form_Type = Get_Form_Type() ? 1 : 0;
    FScanDecode->ShowModal();
  }
}

void TFTessaroneFirmWare::Create_New_Project() {
  if (FNew_Project->ShowModal() != mrOk) return;
  L_Name_Conf->SetCaption(Lang_Text(11));
  L_Name_Conf_L2->SetCaption(Name_Project);
}

void TFTessaroneFirmWare::Open_Project() {
  if (FOpenConf->ShowModal() != mrOk) return;
  Name_Project = FOpenConf->Name_Conf;
  // Only an existing folder directly below PROJECTS opens; anything else leaves no configuration open.
  if (!Name_Project.isEmpty() && Configuration_Exists(Dir_Projects, Name_Project)) {
    Dir_Project = QDir(Dir_Projects).filePath(Name_Project);
  } else {
    Dir_Project.clear();
  }
  Show_Configuration_Lines();
  Set_Files();
}

void TFTessaroneFirmWare::Change_Language() {
  Set_Lang();
  FBootSer->Set_Lang();
  FBootTCP->Set_Lang();
  FNew_Project->Set_Lang();
  FOpenConf->Set_Lang();
  FSoftOptions->Set_Lang();
  FParGen->Set_Lang();
  FMeter_Bus->Set_Lang();
  FNewIDNode->Set_Lang();
}

void TFTessaroneFirmWare::Timer_UpdateTimer() {
  Create_Other_Windows();
  Timer_Update->SetEnabled(false);
  auto rearm = [this] {
    Timer_Update->SetInterval(7200000);
    // The options may have been switched off while the check ran.
    Switch_Timer();
  };
  const bool started = FSoftOptions->Check_Version([this, rearm](bool newer) {
    if (newer) {
      LL_Update->SetLink(Download_Page_Url());
      LL_Update->SetCaption(Lang_Text(19));
      LL_Update->SetVisible(true);
    } else {
      LL_Update->SetVisible(false);
    }
    rearm();
  });
  if (!started) rearm();  // a check from the options dialog is running
}

void TFTessaroneFirmWare::LL_UpdateLinkClick(const QUrl& Link) { Open_Link(Link); }

void TFTessaroneFirmWare::L_VeltrumClick() { Open_Link(Home_Page_Url()); }
