#pragma once
// The open-configuration dialog: lists the configurations below PROJECTS and returns the chosen name.

#include <QStringList>

#include "platform/forms/forms.h"
#include "platform/forms/stdctrls.h"
#include "windows/window_frame.h"

class TFOpenConf : public plat::TForm {
 public:
  explicit TFOpenConf(plat::TComponent* AOwner);

  TDialogFrame Frame;
  plat::TLabel* Label1;
  plat::TListBox* ListBox1;
  QStringList SL;
  // The chosen name; it keeps its value between showings.
  QString Name_Conf;

  void FormCreate();
  void FormShow();
  void Load_Existing_Configuration();
  int Search_Open_Conf(const QString& Name) const;
  void ListBox1Click();
  void Set_Lang();

 protected:
  void DoCreate() override;
  void DoShow() override;
};

extern TFOpenConf* FOpenConf;
