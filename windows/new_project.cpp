#include "windows/new_project.h"

#include <QDir>

#include "core/device_model.h"
#include "core/lang_texts.h"
#include "windows/main_window.h"
#include "windows/project_folders.h"

using namespace plat;

TFNew_Project* FNew_Project = nullptr;

TFNew_Project::TFNew_Project(TComponent* AOwner) : TForm(AOwner) {
  SetName(QStringLiteral("FNew_Project"));
  Setup_Window(this);
  Frame = Make_Dialog_Frame(this);
  Label1 = Make_Label(this, "Label1", 16, 72);
  E_New_Proj = Make_Control<TEdit>(this, "E_New_Proj", 16, 90, 299, 22);
  E_New_Proj->SetTabOrder(0);
  E_New_Proj->OnKeyPress = [this](TObject*, char16_t& Key) { E_New_ProjKeyPress(Key); };
  Frame.Btn_OK->OnClick = [this](TObject*) { Btn_OKClick(); };
}

void TFNew_Project::DoCreate() {
  FNew_Project = this;
  FormCreate();
  TForm::DoCreate();
}

void TFNew_Project::DoShow() {
  FormShow();
  TForm::DoShow();
}

void TFNew_Project::FormCreate() {
  Frame.L_SW_Code->SetCaption(SW_Code);
  SetClientWidth(331);
  SetClientHeight(162);
  Place_Dialog_Buttons(Frame);
  Set_Lang();
}

void TFNew_Project::FormShow() {
  E_New_Proj->SetText(QString());
  if (E_New_Proj->CanFocus()) E_New_Proj->SetFocus();
  SetActiveControl(E_New_Proj);
}

void TFNew_Project::E_New_ProjKeyPress(char16_t& Key) {
  if (Key == 13) {
    Key = 0;
    Btn_OKClick();
  }
}

void TFNew_Project::Btn_OKClick() {
  const QString N = E_New_Proj->Text();
  const int refused = Create_Configuration(Dir_Projects, N);
  if (refused != 0) {
    MessageDlg(Lang_Texts.value(refused), mtError, TMsgDlgButtons{mbOK});
    return;
  }
  Name_Project = N;
  Dir_Project = QDir(Dir_Projects).filePath(N);
  FTessaroneFirmWare->Set_Files();
  SetModalResult(mrOk);
}

void TFNew_Project::Set_Lang() {
  SetCaption(Lang_Texts.value(25));
  Frame.L_SW_Desc->SetCaption(Lang_Texts.value(26));
  Label1->SetCaption(Lang_Texts.value(27));
  Frame.Btn_OK->SetCaption(Lang_Texts.value(28));
  Frame.Btn_Cancel->SetCaption(Lang_Texts.value(29));
}
