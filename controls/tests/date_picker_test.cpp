// The date and time pickers: AutoTab through the fields and into the embedded time, kinds and the embedded
// picker, the value rules, the check box, the own look and the label.
#include <QApplication>
#include <QDateTimeEdit>
#include <QWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <memory>

#include "controls/date_picker.h"
#include "platform/forms/forms.h"
#include "platform/graphics/themes.h"
#include "platform/testing/pixels.h"

using namespace plat;
using namespace plat::testing;

namespace controls {
namespace {

struct PickerForm {
  PickerForm() {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 320, 120);
    picker = new TExtDateTimePicker(form.get());
    picker->SetParent(form.get());
    picker->SetBounds(80, 20, 200, 24);
  }
  void ShowFocused() {
    form->Show();
    QApplication::setActiveWindow(form->Widget());
    picker->SetFocus();
    QApplication::processEvents();
  }
  void Type(const char* digits) {
    for (const char* p = digits; *p; ++p) {
      QWidget* target = picker->TimePicker() && picker->TimePicker()->Focused() ? picker->TimePicker()->Widget()
                                                                              : picker->Widget();
      QTest::keyClick(target, Qt::Key(Qt::Key_0 + (*p - '0')));
      Application->ProcessMessages();  // the posted shift and the posted arrow key
    }
  }
  std::unique_ptr<TForm> form;
  TExtDateTimePicker* picker;
};

TEST(DatePicker, AutoTabMovesThroughTheFieldsAndIntoTheTime) {
  PickerForm f;
  f.picker->SetFormat("dd/MM/yyyy");
  f.picker->SetDateTime(EncodeDate(2020, 1, 1) + EncodeTime(10, 0, 0, 0));
  f.picker->SetAutoTab(true);
  f.ShowFocused();
  f.picker->SetCurrentField(0);
  f.Type("2");  // one digit that changed the day (20..29 could still follow): on to the month
  EXPECT_EQ(f.picker->CurrentField(), 1);
  f.Type("12");  // two digits of the month: on to the year
  EXPECT_EQ(f.picker->CurrentField(), 2);
  f.Type("2021");  // the format ends with the year: into the time picker
  Word y, m, d;
  DecodeDate(f.picker->Date(), y, m, d);
  EXPECT_EQ(y, 2021);
  EXPECT_EQ(m, 12);
  EXPECT_EQ(d, 2);
  ASSERT_NE(f.picker->TimePicker(), nullptr);
  EXPECT_TRUE(f.picker->TimePicker()->Focused());
  // Without AutoTab a single digit stays in its field.
  f.picker->SetAutoTab(false);
  f.picker->SetFocus();
  QApplication::processEvents();
  f.picker->SetCurrentField(0);
  f.Type("1");
  EXPECT_EQ(f.picker->CurrentField(), 0);
  f.form->Hide();
}

TEST(DatePicker, KindsCreateAndDestroyTheEmbeddedTimePicker) {
  PickerForm f;
  ASSERT_NE(f.picker->TimePicker(), nullptr);
  EXPECT_TRUE(f.picker->TimePicker()->Visible());
  EXPECT_EQ(f.picker->TimePicker()->Parent(), f.picker);
  EXPECT_EQ(f.picker->TimePicker()->TDateTimePicker::Kind(), dtkTime);
  EXPECT_LE(f.picker->TimePicker()->BoundsRect().Right, f.picker->Width());
  f.picker->SetKind(dkDate);
  EXPECT_EQ(f.picker->TimePicker(), nullptr);
  f.picker->SetKind(dkTime);
  EXPECT_EQ(f.picker->TimePicker(), nullptr);
  EXPECT_EQ(f.picker->TDateTimePicker::Kind(), dtkTime);
  f.picker->SetKind(dkDateTime);
  ASSERT_NE(f.picker->TimePicker(), nullptr);
  EXPECT_EQ(f.picker->TDateTimePicker::Kind(), dtkDate);
}

TEST(DatePicker, ValuesKeepTheTimeOfDayWithoutMilliseconds) {
  PickerForm f;
  f.picker->SetDateTime(EncodeDate(2020, 5, 6) + EncodeTime(10, 30, 15, 500));
  f.picker->SetDate(EncodeDate(2021, 7, 8));
  EXPECT_DOUBLE_EQ(f.picker->DateTime(), EncodeDate(2021, 7, 8) + EncodeTime(10, 30, 15, 0));
  // The time the embedded picker shows is the time of the whole value.
  f.picker->TimePicker()->TDateTimePicker::SetTime(EncodeTime(8, 9, 10, 0));
  EXPECT_DOUBLE_EQ(f.picker->Time(), EncodeTime(8, 9, 10, 0));
  EXPECT_DOUBLE_EQ(f.picker->DateTime(), EncodeDate(2021, 7, 8) + EncodeTime(8, 9, 10, 0));
  f.picker->SetTime(EncodeTime(23, 0, 0, 0));
  EXPECT_DOUBLE_EQ(f.picker->Time(), EncodeTime(23, 0, 0, 0));
  EXPECT_EQ(f.picker->Version(), "1.2.0.0");
  TEsgDateTimePicker esg(nullptr);
  EXPECT_EQ(esg.Version(), "1.0.0.0");
  EXPECT_EQ(esg.BorderColor(), clNone);
  EXPECT_TRUE(esg.Ctl3D());
  TCustomDateTimePicker twin(nullptr);
  EXPECT_EQ(twin.BorderColor(), TColor(0));
  EXPECT_FALSE(twin.Ctl3D());
}

TEST(DatePicker, UntickedCheckBoxKeepsTheTimeDisabled) {
  PickerForm f;
  f.picker->SetShowCheckbox(true);
  f.picker->SetChecked(false);
  f.picker->SetTime(EncodeTime(1, 0, 0, 0));  // any update re-applies the rule
  EXPECT_FALSE(f.picker->TimePicker()->Enabled());
  f.picker->SetChecked(true);
  f.picker->SetTime(EncodeTime(1, 0, 0, 0));
  EXPECT_TRUE(f.picker->TimePicker()->Enabled());
  f.picker->SetEnabled(false);
  EXPECT_FALSE(f.picker->TimePicker()->Enabled());
}

TEST(DatePicker, OwnLookOnlyFromVistaOn) {
  PickerForm f;
  f.form->Show();
  f.picker->SetKind(dkDate);
  f.picker->MetroStyle = true;
  f.picker->SetBorderColor(clRed);
  f.picker->ButtonColor = clLime;
  auto grab = [&] {
    f.picker->Repaint();
    return f.picker->Widget()->grab().toImage();
  };
  auto* full = new TExtDateTimePicker(f.form.get());
  full->SetParent(f.form.get());
  full->SetBounds(80, 60, 200, 24);
  full->SetLabelCaption("When:");
  full->MetroStyle = true;
  full->SetBorderColor(clGray);
  f.picker->SetLabelCaption("Date:");
  f.form->Widget()->grab().toImage().save(QStringLiteral(TEST_BINARY_DIR "/screens/date_picker_form.png"));
  QImage img = grab();
  const int W = f.picker->Width(), H = f.picker->Height();
  EXPECT_TRUE(ExpectPixel(img, 0, H / 2, clRed));
  EXPECT_TRUE(ExpectPixel(img, W - 8, H / 2, clLime));
  {
    TPlatformFactsScope facts;
    PlatformFacts().VistaOrLater = false;
    img = grab();
    EXPECT_EQ(CountColour(img, clLime), 0);
    EXPECT_EQ(CountColour(img, clRed), 0);
  }
  f.picker->MetroStyle = false;
  img = grab();
  EXPECT_EQ(CountColour(img, clLime), 0);
  img.save(QStringLiteral(TEST_BINARY_DIR "/screens/date_picker.png"));
  f.form->Hide();
}

TEST(DatePicker, LabelFollowsThePicker) {
  PickerForm f;
  int clicks = 0;
  f.picker->OnLabelClick = [&](TObject*) { ++clicks; };
  f.picker->SetLabelCaption("Date:");
  TLabel* l = f.picker->PickerLabel();
  ASSERT_NE(l, nullptr);
  EXPECT_EQ(l->Parent(), f.form.get());
  EXPECT_EQ(l->Left() + l->Width() + 4, 80);
  f.picker->SetLabelPosition(lpTopLeft);
  EXPECT_EQ(l->Left(), 80);
  EXPECT_EQ(l->Top(), 20 - l->Height() - 4);
  l->Click();
  EXPECT_EQ(clicks, 1);
  f.picker->FocusLabel = true;
  f.picker->Perform(CM_ENTER);
  EXPECT_TRUE(l->Font()->Style().Contains(fsBold));
  f.picker->Perform(CM_EXIT);
  EXPECT_FALSE(l->Font()->Style().Contains(fsBold));
}

}  // namespace
}  // namespace controls
