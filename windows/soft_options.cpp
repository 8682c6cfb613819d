#include "windows/soft_options.h"

#include <QDir>
#include <QFileInfo>

#include "core/device_model.h"
#include "core/lang_texts.h"
#include "platform/graphics/graphic.h"
#include "windows/project_folders.h"
#include "windows/version_check.h"

using namespace plat;
using controls::TLbButton;

TFSoftOptions* FSoftOptions = nullptr;

TFSoftOptions::TFSoftOptions(TComponent* AOwner) : TForm(AOwner) {
  SetName(QStringLiteral("FSoftOptions"));
  Setup_Window(this);
  Frame = Make_Dialog_Frame(this);
  Frame.Btn_OK->OnClick = [this](TObject*) { Btn_OKClick(); };

  PC_Options = Make_Control<TPageControl>(this, "PC_Options", 8, 66, 404, 236);
  TS_Language = new TTabSheet(this);
  TS_Language->SetName(QStringLiteral("TS_Language"));
  TS_Language->SetPageControl(PC_Options);
  TS_Con_Options = new TTabSheet(this);
  TS_Con_Options->SetName(QStringLiteral("TS_Con_Options"));
  TS_Con_Options->SetPageControl(PC_Options);

  L_Sel_Lang = Make_Label(TS_Language, "L_Sel_Lang", 8, 6);
  I_L[0] = nullptr;
  L_L[0] = nullptr;
  for (int k = 1; k <= 6; ++k) {
    const int col = (k - 1) / 3, row = (k - 1) % 3;
    const int x = 8 + col * 196, y = 26 + row * 54;
    const QByteArray in = "I_L" + QByteArray::number(k), ln = "L_L" + QByteArray::number(k);
    I_L[k] = Make_Control<TImage>(TS_Language, in.constData(), x, y, 48, 48);
    I_L[k]->SetStretch(true);
    I_L[k]->SetCursor(crHandPoint);
    I_L[k]->OnClick = [this, k](TObject*) { LangClick(k); };
    L_L[k] = Make_Label(TS_Language, ln.constData(), x + 56, y + 16);
    L_L[k]->SetCursor(crHandPoint);
    L_L[k]->OnClick = [this, k](TObject*) { LangClick(k); };
  }
  L_Page_Lang = Make_Label(TS_Language, "L_Page_Lang", 150, 192);
  Btn_Prev = Make_Control<TLbButton>(TS_Language, "Btn_Prev", 8, 186, 90, 24);
  Btn_Next = Make_Control<TLbButton>(TS_Language, "Btn_Next", 298, 186, 90, 24);
  Btn_Prev->OnClick = [this](TObject* s) { Btn_NextClick(s); };
  Btn_Next->OnClick = [this](TObject* s) { Btn_NextClick(s); };

  CB_En_Con = Make_Control<TCheckBox>(TS_Con_Options, "CB_En_Con", 12, 16, 370, 20);
  CB_Update = Make_Control<TCheckBox>(TS_Con_Options, "CB_Update", 12, 44, 370, 20);
  CB_En_Con->OnClick = [this](TObject*) { Update_CheckBox(); };
  CB_Update->OnClick = [this](TObject*) { Update_CheckBox(); };
  Btn_Check_Update = Make_Control<TLbButton>(TS_Con_Options, "Btn_Check_Update", 12, 80, 220, 28);
  Btn_Check_Update->OnClick = [this](TObject*) { Btn_Check_UpdateClick(); };
  LL_Check_Update = Make_Control<TLinkLabel>(TS_Con_Options, "LL_Check_Update", 12, 120, 370, 14);
  LL_Check_Update->SetAutoSize(true);
  LL_Check_Update->SetVisible(false);
  LL_Check_Update->OnLinkClick = [this](const QUrl& link) { LL_Check_UpdateLinkClick(link); };
}

void TFSoftOptions::DoCreate() {
  FSoftOptions = this;
  FormCreate();
  TForm::DoCreate();
}

void TFSoftOptions::DoShow() {
  FormShow();
  TForm::DoShow();
}

void TFSoftOptions::FormCreate() {
  SL_Languages.clear();
  Frame.L_SW_Code->SetCaption(SW_Code);
  SetClientWidth(420);
  SetClientHeight(350);
  Place_Dialog_Buttons(Frame);
  TS_Con_Options->SetTabVisible(Device_Model().Is_Own_Model());
  Set_Lang();
}

void TFSoftOptions::FormShow() {
  Language_In_Use = Lang_Selected;
  Create_Lang_List();
  Update_CheckBox();
  LL_Check_Update->SetVisible(false);
  PC_Options->SetActivePage(TS_Language);
  CB_En_Con->SetChecked(Enable_Internet);
  CB_Update->SetChecked(Enable_Update);
  Update_CheckBox();
}

void TFSoftOptions::Create_Lang_List() {
  SL_Languages = List_Language_Files(Dir_Language);
  Show_Page = 1;
  Update_Lang_Page(1);
}

int TFSoftOptions::Page_Count() const {
  return std::max(1, (static_cast<int>(SL_Languages.size()) + 5) / 6);  // with no language file: one empty page
}

void TFSoftOptions::Show_Paging() {
  L_Page_Lang->SetCaption(Lang_Text(43) + QString::number(Show_Page) + Lang_Text(44) + QString::number(Page_Count()));
  Btn_Prev->SetVisible(Show_Page > 1);
  Btn_Next->SetVisible(Show_Page < Page_Count());
}

void TFSoftOptions::Update_Lang_Page(int p) {
  const int files = static_cast<int>(SL_Languages.size());
  Show_Page = p;
  L_Sel_Lang->SetCaption(Lang_Text(42) + Language_In_Use);
  Show_Paging();
  const int n = std::min(files - (p - 1) * 6, 6);
  for (int k = 1; k <= 6; ++k) {
    if (k > n) {
      I_L[k]->SetVisible(false);
      L_L[k]->SetVisible(false);
      continue;
    }
    const QString name = SL_Languages[(p - 1) * 6 + (k - 1)].chopped(4);
    L_L[k]->SetCaption(name);
    L_L[k]->SetVisible(true);
    bool shown = false;
    for (const QString& flag : {name + QStringLiteral(".bmp"), QStringLiteral("DefaultFlag.bmp")}) {
      const QString path = QDir(Dir_Language).filePath(flag);
      if (!QFileInfo(path).isFile()) continue;
      try {
        I_L[k]->Picture()->LoadFromFile(path);
        shown = true;
      } catch (const std::exception&) {
        shown = false;  // a broken picture shows no flag
      }
      break;
    }
    I_L[k]->SetVisible(shown);
  }
}

void TFSoftOptions::Btn_NextClick(TObject* Sender) {
  if (Sender == Btn_Next) {
    if (Page_Count() >= Show_Page + 1) ++Show_Page;
  } else if (Show_Page - 1 > 0) {
    --Show_Page;
  }
  Update_Lang_Page(Show_Page);
}

void TFSoftOptions::LangClick(int Slot) {
  const int i = (Show_Page - 1) * 6 + (Slot - 1);
  if (i < 0 || i >= SL_Languages.size()) return;
  const QString name = SL_Languages[i].chopped(4);
  if (MessageDlg(Lang_Text(54) + Language_In_Use + Lang_Text(55) + name + Lang_Text(56), mtConfirmation, mbYesNo) != mrYes) return;
  Language_In_Use = name;
  // The texts change now; the stored language changes only with OK.
  const QString kept = Lang_Selected;
  Lang_Selected = name;
  Load_Language();
  Lang_Selected = kept;
  if (FHost) FHost->Change_Language();
  L_Sel_Lang->SetCaption(Lang_Text(42) + name);
}

void TFSoftOptions::Update_CheckBox() {
  CB_Update->SetEnabled(CB_En_Con->Checked());
  const bool busy = FHost && FHost->Version_Client().Busy();
  Btn_Check_Update->SetEnabled(CB_Update->Enabled() && CB_Update->Checked() && !busy);
}

void TFSoftOptions::Btn_Check_UpdateClick() {
  // The button stays disabled while the check runs, so it cannot be started twice.
  const bool started = Check_Version([this](bool newer) {
    if (newer) {
      LL_Check_Update->SetLink(Download_Page_Url());
      LL_Check_Update->SetCaption(Lang_Text(52));
    } else {
      LL_Check_Update->SetLink(QUrl());
      LL_Check_Update->SetCaption(Lang_Text(53));
    }
    LL_Check_Update->SetVisible(true);
    Update_CheckBox();
  });
  if (started) Btn_Check_Update->SetEnabled(false);
}

void TFSoftOptions::LL_Check_UpdateLinkClick(const QUrl& Link) { Open_Link(Link); }

void TFSoftOptions::Btn_OKClick() {
  Lang_Selected = Language_In_Use;
  Enable_Internet = CB_En_Con->Checked();
  Enable_Update = CB_Update->Checked();
  // The main window switches its update timer by the new options when the window closes with OK.
  SetModalResult(mrOk);
}

bool TFSoftOptions::Check_Version(std::function<void(bool)> Done) {
  return FHost && FHost->Version_Client().Start(std::move(Done));
}

int TFSoftOptions::Conv_Version(const QString& Ver_str) { return ::Conv_Version(Ver_str); }

void TFSoftOptions::Set_Lang() {
  SetCaption(Lang_Text(38));
  Frame.L_SW_Desc->SetCaption(Lang_Text(39));
  TS_Language->SetCaption(Lang_Text(40));
  TS_Con_Options->SetCaption(Lang_Text(41));
  L_Sel_Lang->SetCaption(Lang_Text(42));
  Show_Paging();
  Btn_Prev->SetCaption(Lang_Text(45));
  Btn_Next->SetCaption(Lang_Text(46));
  CB_En_Con->SetCaption(Lang_Text(47));
  CB_Update->SetCaption(Lang_Text(48));
  Btn_Check_Update->SetCaption(Lang_Text(49));
  Frame.Btn_OK->SetCaption(Lang_Text(50));
  Frame.Btn_Cancel->SetCaption(Lang_Text(51));
}
