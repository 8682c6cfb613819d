// The multi-column and grid drop-downs opened on a real (virtual) X server, saved as PNG files next to the test
// binary: the header row, the selected row, the column widths fitted to the popup, a sorted and a narrowed grid.
#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <memory>

#include "dropdown/grid_dropdown.h"
#include "dropdown/grid_dropdown_grid.h"
#include "dropdown/multicolumn.h"
#include "dropdown/multicolumn_grid.h"
#include "platform/forms/forms.h"
#include "platform/rtl/strings.h"

using namespace plat;

namespace dropdown {
namespace {

void Settle() {
  for (int i = 0; i < 20; ++i) {
    QApplication::processEvents();
    QTest::qWait(10);
  }
}

QImage SaveScreen(const char* name) {
  const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
  EXPECT_TRUE(shot.save(QStringLiteral(TEST_BINARY_DIR "/%1.png").arg(QString::fromUtf8(name))));
  return shot.toImage();
}

const char* const Meters[][3] = {{"Water", "12345678", "Basement"},
                                 {"Heat", "23456789", "Flat 2, hall"},
                                 {"Gas", "34567890", "Kitchen"},
                                 {"Electricity", "45678901", "Garage"},
                                 {"Warm water", "56789012", "Flat 3, bathroom"}};

template <class TDrop>
void Fill(TDrop& drop) {
  for (const char* h : {"Meter", "Serial", "Place"}) drop.Columns()->Add()->SetHeader(QString::fromLatin1(h));
  for (const auto& row : Meters) {
    auto* item = drop.Items()->Add();
    for (const char* s : row) item->Text()->Add(QString::fromLatin1(s));
  }
  drop.EndUpdate();
}

TEST(LookupScreens, MultiColumnPopup) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(60, 60, 460, 320);
  form->SetCaption(QStringLiteral("Multi-column drop-down"));
  auto* drop = new TExtMultiColumnDropDown(form.get());
  drop->SetParent(form.get());
  drop->SetBounds(20, 20, 240, 24);
  Fill(*drop);
  drop->Columns()->GetItem(2)->SetColor(RGB(250, 246, 230));
  form->Show();
  Settle();
  drop->SetFocus();
  QTest::keyClicks(drop->Widget(), QStringLiteral("he"));
  drop->ShowDropDown();
  Settle();
  ASSERT_TRUE(drop->DropDownForm()->Widget()->isVisible());
  EXPECT_EQ(drop->Grid()->Row(), 2);
  SaveScreen("multicolumn_popup");
  drop->HideDropDown(true);
}

TEST(LookupScreens, GridPopupSortedAndNarrowed) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(60, 60, 460, 320);
  form->SetCaption(QStringLiteral("Grid drop-down"));
  auto* drop = new TCustomExtGridDropDown(form.get());
  drop->SetParent(form.get());
  drop->SetBounds(20, 20, 240, 24);
  Fill(*drop);
  drop->SetSorting(griddrop::gsSingleColumn);
  drop->SetLookupMethod(griddrop::lmNarrowDown);
  form->Show();
  Settle();
  drop->SetItemIndex(1);
  drop->ShowDropDown();
  Settle();
  ASSERT_TRUE(drop->DropDownForm()->Widget()->isVisible());
  SaveScreen("grid_dropdown_popup");
  drop->HideDropDown(true);
  drop->AutoShowDropDown = true;
  drop->SetFocus();
  drop->SetText(QString());
  QTest::keyClicks(drop->Widget(), QStringLiteral("wa"));
  Settle();
  ASSERT_TRUE(drop->DropDownForm()->Widget()->isVisible());
  SaveScreen("grid_dropdown_narrowed");
  drop->HideDropDown(true);
}

}  // namespace
}  // namespace dropdown
