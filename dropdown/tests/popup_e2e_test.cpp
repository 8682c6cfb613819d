// Drop-down popups on a real (virtual) X server: the opened popups as the user sees them (saved as PNG files
// next to the test binary), and a dialog opened from inside an open popup.
#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <iostream>

#include "dropdown/tests/dropdown_fixture.h"
#include "platform/forms/stdctrls.h"
#include "platform/graphics/gdivalues.h"

using namespace plat;

namespace dropdown {
namespace {

// A drop-down whose popup lists a few items.
class TListDropDown : public TExtCustomDropDown {
 public:
  explicit TListDropDown(TComponent* AOwner) : TExtCustomDropDown(AOwner) {
    List = new TListBox(this);
    List->SetBounds(0, 0, 180, 110);
    for (const char* s : {"Water meter", "Heat meter", "Gas meter", "Electricity meter"})
      List->Items()->Add(QString::fromUtf8(s));
    SetControl(List);
    FFocusControl = List;
  }
  TListBox* List;
};

void Settle() {
  for (int i = 0; i < 20; ++i) {
    QApplication::processEvents();
    QTest::qWait(10);
  }
}

void SaveScreen(const char* name) {
  const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
  ASSERT_TRUE(shot.save(QStringLiteral(TEST_BINARY_DIR "/%1.png").arg(QString::fromUtf8(name))));
}

TEST(PopupScreens, OpenedPopups) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(60, 60, 420, 260);
  form->SetCaption(QStringLiteral("Drop-downs"));
  auto* list = new TListDropDown(form.get());
  list->SetParent(form.get());
  list->SetBounds(90, 20, 200, 24);
  list->SetLabelCaption(QStringLiteral("Meter:"));
  list->SetLabelPosition(lpLeftCenter);
  list->SetText(QStringLiteral("Heat meter"));
  auto* money = new TListDropDown(form.get());
  money->SetParent(form.get());
  money->SetBounds(90, 190, 200, 24);
  money->SetEditType(etMoney);
  money->SetPrecision(2);
  money->SetPrefix(QStringLiteral("EUR "));
  money->SetFloatValue(1234.5);
  money->SetComponentStyle(controls::tsWindows7);
  money->SetDropDownColorTo(RGB(220, 235, 252));
  money->SetDropDownGradient(gdVertical);
  money->SetDropDownBorderWidth(2);
  form->Show();
  Settle();
  list->ShowDropDown();
  Settle();
  ASSERT_TRUE(list->DropDownForm()->Widget()->isVisible());
  SaveScreen("dropdown_list_popup");
  list->HideDropDown(false);
  money->ShowDropDown();
  Settle();
  ASSERT_TRUE(money->DropDownForm()->Widget()->isVisible());
  // Opened near the form's bottom, the popup still goes below: the screen is tall enough.
  EXPECT_EQ(money->DropDownForm()->Top(), money->Parent()->ClientToScreen(TPoint(0, 190)).Y + 23);
  SaveScreen("dropdown_money_popup");
  money->HideDropDown(true);
  EXPECT_EQ(money->Text(), QStringLiteral("1,234.50"));
}

// Whether a modal dialog opened while the popup is open keeps the popup, with and without BlockActivate.
bool PopupSurvivesDialog(bool block) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(60, 60, 300, 200);
  auto* drop = new TListDropDown(form.get());
  drop->SetParent(form.get());
  drop->SetBounds(20, 20, 200, 24);
  form->Show();
  Settle();
  drop->ShowDropDown();
  Settle();
  drop->DropDownForm()->SetBlockActivate(block);
  TForm dialog(nullptr);
  dialog.SetBounds(100, 100, 200, 100);
  dialog.SetCaption(QStringLiteral("Dialog from the popup"));
  bool openDuringDialog = false;
  QTimer::singleShot(300, [&] {
    openDuringDialog = drop->DropDownForm()->Widget()->isVisible();
    if (block) SaveScreen("dropdown_dialog_over_popup");
    dialog.SetModalResult(mrOk);
  });
  dialog.ShowModal();
  drop->DropDownForm()->SetBlockActivate(false);
  Settle();
  std::cout << "BlockActivate " << (block ? "on" : "off") << ": popup "
            << (openDuringDialog ? "stays open" : "closes") << " while a dialog from it is shown\n";
  return openDuringDialog;
}

TEST(PopupScreens, DialogFromAnOpenPopup) {
  EXPECT_TRUE(PopupSurvivesDialog(true));
  PopupSurvivesDialog(false);
}

}  // namespace
}  // namespace dropdown
