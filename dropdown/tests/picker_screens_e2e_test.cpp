// The detail drop-down and the image picker open on a real (virtual) X server, with their header and footer bars
// shown: the popup keeps room for the bars and the rows the control was sized for (saved as PNG files next to the
// test binary, to be looked at).
#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <memory>

#include "dropdown/detail_dropdown.h"
#include "dropdown/image_picker.h"
#include "dropdown/item_selector.h"
#include "platform/forms/forms.h"
#include "platform/graphics/color.h"
#include "platform/graphics/imagelist.h"

using namespace plat;

namespace dropdown {
namespace {

void Settle() {
  for (int i = 0; i < 20; ++i) {
    QApplication::processEvents();
    QTest::qWait(10);
  }
}

void SaveScreen(const char* name, const TForm& form) {
  const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, form.Left() - 10, form.Top() - 10, 380, 320);
  ASSERT_TRUE(shot.save(QStringLiteral(TEST_BINARY_DIR "/%1.png").arg(QString::fromUtf8(name))));
}

TEST(PickerScreens, DetailDropDownKeepsItsRowsBetweenTheBars) {
  TForm form(nullptr);
  form.SetBounds(60, 60, 360, 300);
  form.SetCaption(QStringLiteral("Detail drop-down"));
  auto* drop = new TExtDetailDropDown(&form);
  drop->SetParent(&form);
  drop->SetBounds(20, 20, 240, 24);
  for (int i = 0; i < 12; ++i) {
    TDetailItem* item = drop->Items()->Add();
    item->SetCaption(QStringLiteral("Meter %1").arg(i + 1));
  }
  drop->SetItemHeight(20);
  drop->DropDownHeader()->Caption = QStringLiteral("Meters");
  drop->DropDownFooter()->Caption = QStringLiteral("12 meters");
  drop->DropDownHeader()->SetVisible(true);
  drop->DropDownFooter()->SetVisible(true);
  form.Show();
  Settle();
  drop->ShowDropDown();
  Settle();
  const TControl* bars[] = {drop->DropDownForm()->Header(), drop->DropDownForm()->Footer()};
  int barHeights = 0;
  for (const TControl* bar : bars) {
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->Visible());
    barHeights += bar->Height();
  }
  // The selector's own 100 px (five rows of 20) between the bars, inside the border.
  EXPECT_EQ(drop->ItemSelector()->GetVisibleItemCount(), 5);
  EXPECT_EQ(drop->DropDownForm()->Height(), 2 * drop->DropDownBorderWidth() + barHeights + 100);
  SaveScreen("detail_dropdown_bars", form);
  drop->HideDropDown(false);
}

TEST(PickerScreens, ImagePickerFitsItsPanelBetweenTheBars) {
  TForm form(nullptr);
  form.SetBounds(60, 60, 360, 300);
  form.SetCaption(QStringLiteral("Image picker"));
  auto* images = new TImageList(&form);
  auto* drop = new TExtImagePickerDropDown(&form);
  drop->SetParent(&form);
  drop->SetBounds(20, 20, 120, 24);
  drop->SetImages(images);
  for (TColor c : {clRed, clGreen, clBlue, clYellow, clFuchsia, clAqua}) {
    QImage img(images->Width(), images->Height(), QImage::Format_ARGB32);
    img.fill(ToQColor(c));
    images->AddImage(img);
  }
  drop->AddImagesFromImageList();
  drop->DropDownHeader()->Caption = QStringLiteral("Pictures");
  drop->DropDownHeader()->SetVisible(true);
  drop->DropDownFooter()->SetVisible(true);
  form.Show();
  Settle();
  drop->ShowDropDown();
  Settle();
  ASSERT_EQ(drop->Items()->Count(), 6);
  EXPECT_FALSE(drop->ItemSelector()->ScrollBarVisible(SB_VERT));
  SaveScreen("image_picker_bars", form);
  drop->HideDropDown(false);
}

}  // namespace
}  // namespace dropdown
