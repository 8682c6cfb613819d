// A small form with every standard control, shown on a (virtual) X display and saved as a PNG.
#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QTest>

#include <gtest/gtest.h>

#include "platform/forms/comctrls.h"
#include "platform/forms/extctrls.h"
#include "platform/forms/forms.h"
#include "platform/forms/menus.h"
#include "platform/forms/stdctrls.h"
#include "platform/graphics/graphic.h"

using namespace plat;

namespace {

template <class T>
T* Add(TForm* form, TWinControl* parent, const char* name, int l, int t, int w, int h) {
  auto* c = new T(form);
  c->SetName(name);
  c->SetParent(parent);
  c->SetBounds(l, t, w, h);
  return c;
}

TEST(Screenshot, FormWithEveryStandardControl) {
  TForm form(nullptr);
  form.SetName("FControls");
  form.SetCaption("Controls");
  form.SetBorderStyle(bsSingle);
  form.SetBounds(0, 0, 520, 360);
  form.SetPosition(poScreenCenter);

  auto* label = Add<TLabel>(&form, &form, "L_Title", 10, 10, 200, 17);
  label->SetCaption("Scan && Decode");
  auto* edit = Add<TEdit>(&form, &form, "E_IP1", 10, 32, 120, 21);
  edit->SetText("127.0.0.1");
  auto* combo = Add<TComboBox>(&form, &form, "CB_Baud", 140, 32, 120, 21);
  combo->SetStyle(csDropDownList);
  combo->Items()->Add("9600");
  combo->Items()->Add("19200");
  combo->SetItemIndex(1);
  auto* check = Add<TCheckBox>(&form, &form, "CK_Gateway", 270, 32, 120, 17);
  check->SetCaption("Gateway");
  check->SetChecked(true);
  auto* group = Add<TGroupBox>(&form, &form, "GB_Mode", 10, 60, 180, 70);
  group->SetCaption("Mode");
  auto* r1 = Add<TRadioButton>(&form, group, "RB_Primary", 10, 20, 150, 17);
  r1->SetCaption("Primary");
  r1->SetChecked(true);
  auto* r2 = Add<TRadioButton>(&form, group, "RB_Secondary", 10, 42, 150, 17);
  r2->SetCaption("Secondary");
  auto* list = Add<TListBox>(&form, &form, "LB_Ports", 200, 60, 100, 70);
  list->Items()->Add("ttyUSB0");
  list->Items()->Add("ttyS0");
  list->SetItemIndex(0);
  auto* memo = Add<TMemo>(&form, &form, "M_Log", 310, 60, 200, 70);
  memo->Lines()->Add("first line");
  auto* panel = Add<TPanel>(&form, &form, "P_Title", 10, 140, 180, 40);
  panel->SetCaption("Panel");
  auto* shape = Add<TShape>(&form, &form, "SH_Led", 200, 140, 40, 40);
  shape->SetShape(stCircle);
  shape->Brush()->SetColor(clLime);
  auto* image = Add<TImage>(&form, &form, "IM_Logo", 250, 140, 40, 40);
  image->Picture()->Bitmap()->SetWidth(40);
  image->Picture()->Bitmap()->SetHeight(40);
  auto* bar = Add<TScrollBar>(&form, &form, "SB_Pos", 300, 140, 210, 17);
  bar->SetPosition(30);
  auto* pages = Add<TPageControl>(&form, &form, "PC_Options", 10, 190, 250, 120);
  auto* sheet1 = new TTabSheet(&form);
  sheet1->SetName("TS_Serial");
  sheet1->SetCaption("Serial");
  sheet1->SetPageControl(pages);
  auto* sheet2 = new TTabSheet(&form);
  sheet2->SetName("TS_Ethernet");
  sheet2->SetCaption("Ethernet");
  sheet2->SetPageControl(pages);
  auto* tree = Add<TTreeView>(&form, &form, "TW", 270, 190, 240, 120);
  TTreeNode* root = tree->Items()->Add(nullptr, "Network");
  tree->Items()->AddChild(root, "Node 1");
  root->Expand(false);
  auto* ok = Add<TButton>(&form, &form, "Btn_OK", 350, 320, 75, 25);
  ok->SetCaption("OK");
  ok->SetDefault(true);
  auto* cancel = Add<TButton>(&form, &form, "Btn_Cancel", 435, 320, 75, 25);
  cancel->SetCaption("Cancel");
  auto* menu = new TPopupMenu(&form);
  menu->SetName("PM_Tree");
  menu->Items()->Add(NewItem(&form, "&Delete"));
  tree->SetPopupMenu(menu);
  auto* timer = new TTimer(&form);
  timer->SetName("TM_Poll");

  form.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
  QTest::qWait(100);

  const QPixmap shot = form.Widget()->grab();
  const QString path = QStringLiteral(TEST_BINARY_DIR) + "/forms_controls.png";
  ASSERT_TRUE(shot.save(path, "PNG"));
  EXPECT_GT(QFileInfo(path).size(), 1000);
  const QImage img = shot.toImage();
  EXPECT_EQ(img.size(), QSize(520, 360));
  // The lime shape is on screen where it was placed.
  EXPECT_EQ(img.pixelColor(220, 160).green(), 255);

  for (const char* name : {"L_Title", "E_IP1", "CB_Baud", "CK_Gateway", "GB_Mode", "RB_Primary", "RB_Secondary",
                           "LB_Ports", "M_Log", "P_Title", "SH_Led", "IM_Logo", "SB_Pos", "PC_Options", "TS_Serial",
                           "TS_Ethernet", "TW", "Btn_OK", "Btn_Cancel"}) {
    QWidget* w = form.Widget()->findChild<QWidget*>(name);
    ASSERT_NE(w, nullptr) << name;
    EXPECT_TRUE(w->isVisible() || QString(name) == "TS_Ethernet") << name;
  }
  EXPECT_EQ(form.FindComponent("PM_Tree"), menu);
  EXPECT_EQ(form.FindComponent("TM_Poll"), timer);
  form.Hide();
}

}  // namespace
