#include "windows/open_conf.h"

#include <QDir>

#include "core/device_model.h"
#include "core/lang_texts.h"
#include "windows/project_folders.h"

using namespace plat;

TFOpenConf* FOpenConf = nullptr;

TFOpenConf::TFOpenConf(TComponent* AOwner) : TForm(AOwner) {
  SetName(QStringLiteral("FOpenConf"));
  Setup_Window(this);
  Frame = Make_Dialog_Frame(this);
  Frame.Btn_OK->SetModalResult(mrOk);
  Label1 = Make_Label(this, "Label1", 16, 70);
  ListBox1 = Make_Control<TListBox>(this, "ListBox1", 16, 88, 345, 207);
  ListBox1->OnClick = [this](TObject*) { ListBox1Click(); };
}

void TFOpenConf::DoCreate() {
  FOpenConf = this;
  FormCreate();
  TForm::DoCreate();
}

void TFOpenConf::DoShow() {
  FormShow();
  TForm::DoShow();
}

void TFOpenConf::FormCreate() {
  Frame.L_SW_Code->SetCaption(SW_Code);
  SetClientWidth(377);
  SetClientHeight(351);
  Place_Dialog_Buttons(Frame);
  Set_Lang();
}

void TFOpenConf::Load_Existing_Configuration() { SL = List_Configurations(Dir_Projects); }

int TFOpenConf::Search_Open_Conf(const QString& Name) const { return Search_Name(SL, Name); }

void TFOpenConf::FormShow() {
  SL.clear();
  Load_Existing_Configuration();
  ListBox1->Clear();
  for (const QString& s : SL) ListBox1->Items()->Add(s);
  // The open configuration's name: what follows PROJECTS and the separator in Dir_Project.
  QString open;
  const QString prefix = Dir_Projects + QDir::separator();
  if (!Dir_Project.isEmpty() && Dir_Project.startsWith(prefix)) open = Dir_Project.mid(prefix.size());
  const int i = Search_Open_Conf(open);
  if (i >= 0) {
    ListBox1->SetItemIndex(i);
    Name_Conf = SL[i];
  } else if (!SL.isEmpty()) {
    ListBox1->SetItemIndex(0);
    Name_Conf = SL[0];
  }
}

void TFOpenConf::ListBox1Click() {
  const int i = ListBox1->ItemIndex();
  if (i >= 0 && i < SL.size()) Name_Conf = SL[i];
}

void TFOpenConf::Set_Lang() {
  SetCaption(Lang_Texts.value(33));
  Frame.L_SW_Desc->SetCaption(Lang_Texts.value(34));
  Label1->SetCaption(Lang_Texts.value(35));
  Frame.Btn_OK->SetCaption(Lang_Texts.value(36));
  Frame.Btn_Cancel->SetCaption(Lang_Texts.value(37));
}
