// The clock in several looks and the open time picker on a real (virtual) X display, saved as PNG files next
// to the test binary, with a few pixel checks of what must show.
#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

#include "dropdown/clock.h"
#include "dropdown/time_picker.h"
#include "platform/forms/datetimepicker.h"
#include "platform/forms/forms.h"
#include "platform/forms/stdctrls.h"
#include "platform/testing/pixels.h"

using namespace plat;
using namespace plat::testing;

namespace dropdown {
namespace {

bool Save(const QImage& img, const char* name) {
  return img.save(QStringLiteral(TEST_BINARY_DIR "/%1.png").arg(QString::fromUtf8(name)));
}

TEST(ClockScreens, ClockInItsLooks) {
  TForm form(nullptr);
  form.SetCaption(QStringLiteral("Clock looks"));
  form.SetBounds(0, 0, 4 * 190 + 10, 3 * 210 + 10);
  const TWatchStyle styles[] = {wsClassic, wsTower, wsFluorescent, wsEmerald, wsBlueStar, wsFuchsia,
                                wsBlack,   wsBlackWhite, wsGray, wsSuperNova, wsSports, wsSmooth};
  std::vector<TExtWatch*> clocks;
  for (int i = 0; i < 12; ++i) {
    auto* w = new TExtWatch(&form);
    w->SetParent(&form);
    w->SetBounds(5 + (i % 4) * 190, 5 + (i / 4) * 210, 180, 180);
    w->SetStyle(styles[i]);
    w->SetTime(EncodeTime(i % 2 ? 22 : 10, 10, 0, 0));
    auto* l = new TLabel(&form);
    l->SetParent(&form);
    l->SetBounds(5 + (i % 4) * 190, 5 + (i / 4) * 210 + 185, 180, 17);
    l->SetCaption(QStringLiteral("Style %1").arg(i));
    clocks.push_back(w);
  }
  form.Show();
  QApplication::processEvents();
  const QImage img = form.Widget()->grab().toImage();
  EXPECT_TRUE(Save(img, "clock_looks"));
  // Classic: white face with a black hour hand towards 10 o'clock; Tower: its yellow face fills the square.
  const QImage classic = clocks[0]->Widget()->grab().toImage();
  EXPECT_TRUE(ExpectPixel(classic, 90, 40, 0xFFFFFF));
  EXPECT_GT(CountColour(classic, 0x000000, TRect(55, 55, 90, 90)), 20);
  const QImage tower = clocks[1]->Widget()->grab().toImage();
  EXPECT_TRUE(ExpectPixel(tower, 3, 1, 0xB1F0FE));  // the first gradient band
  // Black: the dark face with white hands.
  const QImage black = clocks[6]->Widget()->grab().toImage();
  EXPECT_TRUE(ExpectPixel(black, 90, 150, 0x202020));
  EXPECT_GT(CountColour(black, 0xFFFFFF, TRect(55, 55, 125, 125)), 20);
}

TEST(ClockScreens, OpenTimePicker) {
  TForm form(nullptr);
  form.SetCaption(QStringLiteral("Time picker"));
  form.SetBounds(100, 100, 300, 320);
  auto* drop = new TExtTimePickerDropDown(&form);
  drop->SetParent(&form);
  drop->SetBounds(20, 20, 200, 24);
  drop->SetShowTimePicker(true);
  drop->SetTime(EncodeTime(15, 42, 30, 0));
  form.Show();
  QApplication::processEvents();
  drop->ShowDropDown();
  QApplication::processEvents();
  ASSERT_TRUE(drop->DroppedDown());
  const QImage edit = drop->Widget()->grab().toImage();
  EXPECT_TRUE(Save(edit, "time_picker_edit"));
  const QImage popup = drop->DropDownForm()->Widget()->grab().toImage();
  EXPECT_TRUE(Save(popup.scaled(popup.width() * 2, popup.height() * 2), "time_picker_popup"));
  EXPECT_EQ(popup.height(), 172 + drop->DateTimePicker()->Height());
  // The clock shows PM (the box below the centre) and the Luna colours of the default style.
  EXPECT_FALSE(drop->Watch()->AM());
  EXPECT_GT(CountColour(popup, 0x723708), 20);
  // Around the face the popup shows its own colour.
  EXPECT_TRUE(ExpectPixel(popup, 4, 4, drop->DropDownColor()));
  drop->HideDropDown(false);
}

}  // namespace
}  // namespace dropdown
