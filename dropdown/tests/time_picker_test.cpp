// The time picker drop-down: the mask and text of a time, Up and Down on the part under the caret, typed
// times taken over (or refused, or reported in the error box), and the popup's clock and picker setting
// Time when it closes.
#include <QApplication>
#include <QDateTimeEdit>
#include <QWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <memory>

#include "dropdown/clock.h"
#include "dropdown/time_picker.h"
#include "platform/forms/datetimepicker.h"
#include "platform/forms/dialogs.h"
#include "platform/forms/extctrls.h"
#include "platform/forms/forms.h"
#include "platform/forms/keys.h"

using namespace plat;

namespace dropdown {
namespace {

struct Picker {
  Picker() {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(100, 100, 320, 300);
    drop = new TExtTimePickerDropDown(form.get());
    drop->SetParent(form.get());
    drop->SetBounds(20, 20, 200, 24);
    drop->OnTimeChange = [this](TObject*) { ++timeChanges; };
    form->Show();
    QApplication::processEvents();
  }
  ~Picker() {
    if (drop->DroppedDown()) drop->HideDropDown(true);
  }
  QString TimeText() const {
    Word h, m, s, ms;
    DecodeTime(drop->Time(), h, m, s, ms);
    return QStringLiteral("%1:%2:%3.%4")
        .arg(h, 2, 10, QChar(u'0'))
        .arg(m, 2, 10, QChar(u'0'))
        .arg(s, 2, 10, QChar(u'0'))
        .arg(ms, 3, 10, QChar(u'0'));
  }
  void Animate() {
    TExtWatch* w = drop->Watch();
    for (int guard = 0; w->Animating() && guard < 200; ++guard) w->AnimationTimer()->OnTimer(nullptr);
  }
  std::unique_ptr<TForm> form;
  TExtTimePickerDropDown* drop;
  int timeChanges = 0;
};

TEST(TimePicker, NewControlShowsMidnight) {
  Picker p;
  EXPECT_EQ(p.drop->EditMask(), QStringLiteral("!90:00:00;1; "));
  EXPECT_EQ(p.drop->Text(), QStringLiteral("00:00:00"));
  EXPECT_EQ(p.drop->Time(), 0.0);
  EXPECT_FALSE(p.drop->EditorEnabled());
  EXPECT_TRUE(p.drop->DropDownEnabled());
  EXPECT_TRUE(p.drop->ShowSeconds());
  EXPECT_EQ(p.drop->Watch(), nullptr);  // made with the popup
}

TEST(TimePicker, UpAndDownStepThePartUnderTheCaret) {
  struct Case {
    const char* text;
    bool seconds;
    int caret;
    std::uint16_t key;
    const char* expected;
  };
  const Case cases[] = {
      {"00:00:00", true, 0, VK_UP, "23:00:00"},   {"00:00:00", true, 2, VK_UP, "23:00:00"},
      {"23:00:00", true, 1, VK_DOWN, "00:00:00"}, {"12:00:00", true, 3, VK_UP, "12:59:00"},
      {"12:59:00", true, 5, VK_DOWN, "12:00:00"}, {"12:34:00", true, 6, VK_UP, "12:34:59"},
      {"12:34:59", true, 8, VK_DOWN, "12:34:00"}, {"12:00", false, 3, VK_UP, "12:59"},
      {"12:00", false, 5, VK_DOWN, "12:01"},      {"12:00", false, 1, VK_DOWN, "13:00"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::string(k.text) + " caret " + std::to_string(k.caret));
    Picker p;
    p.drop->SetEditorEnabled(true);  // as the grid's cell editor does; a display edit takes only popup keys
    p.drop->SetShowSeconds(k.seconds);
    p.drop->SetPlainText(QString::fromLatin1(k.text));
    p.drop->SetSelStart(k.caret);
    p.drop->SetSelLength(0);
    p.drop->Perform(WM_KEYDOWN, k.key, 0);
    EXPECT_EQ(p.drop->Text(), QString::fromLatin1(k.expected));
    EXPECT_EQ(p.drop->SelStart(), k.caret);
    EXPECT_EQ(p.timeChanges, 1);
  }
}

TEST(TimePicker, CtrlOrAltUpStepsNothing) {
  Picker p;
  p.drop->SetPlainText(QStringLiteral("12:34:56"));
  for (TShiftState shift : {TShiftState{ssCtrl}, TShiftState{ssAlt}}) {
    std::uint16_t key = VK_UP;
    p.drop->SetSelStart(0);
    p.drop->HandleKeyDown(key, shift);
    if (p.drop->DroppedDown()) p.drop->HideDropDown(true);  // Alt+Up toggles the popup
    EXPECT_EQ(p.drop->Text(), QStringLiteral("12:34:56"));
  }
  EXPECT_EQ(p.timeChanges, 0);
}

// A complete time in the text becomes Time (whole seconds); anything else leaves Time as it was.
TEST(TimePicker, TypedTimes) {
  struct Case {
    bool seconds;
    const char* typed;
    const char* time;   // Time afterwards
    const char* shown;  // the text afterwards
  };
  const Case cases[] = {
      {true, "12:34:56", "12:34:56.000", "12:34:56"},
      {true, "07:05:09", "07:05:09.000", "07:05:09"},
      {true, " 1:02:03", "08:00:00.000", " 1:02:03"},  // seven characters once trimmed: not complete
      {true, "1 :00:00", "10:00:00.000", "10:00:00"},  // blanks count as zeros; a whole hour is rewritten
      {true, "12:3 :00", "12:30:00.000", "12:3 :00"},
      {false, " 1:23", "08:00:00.000", " 1:23"},  // the single-digit hour with its leading blank
      {false, "01:23", "01:23:00.000", "01:23"},
      {false, "23:59", "23:59:00.000", "23:59"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.typed);
    Picker p;
    p.drop->SetShowSeconds(k.seconds);
    p.drop->SetTime(EncodeTime(8, 0, 0, 0));
    p.drop->SetPlainText(QString::fromLatin1(k.typed));
    EXPECT_EQ(p.TimeText(), QString::fromLatin1(k.time));
    EXPECT_EQ(p.drop->Text(), QString::fromLatin1(k.shown));
    EXPECT_EQ(p.timeChanges, 0);
  }
}

// An hour above 23 (or a minute or second above 59) raises the conversion error; the error box reports it
// and Time stays.
TEST(TimePicker, OutOfRangeTimesReachTheErrorBox) {
  for (const char* typed : {"24:00:00", "99:00:00", "12:60:00", "12:00:75"}) {
    SCOPED_TRACE(typed);
    Picker p;
    p.drop->SetTime(EncodeTime(8, 0, 0, 0));
    TScriptedMessageBoxes boxes;
    p.drop->SetPlainText(QString::fromLatin1(typed));
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.LastText(), QStringLiteral("Invalid argument to time encode."));
    EXPECT_EQ(p.TimeText(), QStringLiteral("08:00:00.000"));
  }
}

TEST(TimePicker, TypingAnHourAboveTwentyThreeShowsTheErrorBox) {
  Picker p;
  p.drop->SetEditorEnabled(true);
  p.drop->SetFocus();
  QApplication::processEvents();
  p.drop->SetSelStart(0);
  p.drop->SetSelLength(0);
  TScriptedMessageBoxes boxes;
  QTest::keyClick(p.drop->Widget(), '2');
  EXPECT_EQ(p.drop->Text(), QStringLiteral("20:00:00"));
  EXPECT_EQ(p.TimeText(), QStringLiteral("20:00:00.000"));
  EXPECT_EQ(boxes.Count(), 0);
  QTest::keyClick(p.drop->Widget(), '5');
  EXPECT_EQ(p.drop->Text(), QStringLiteral("25:00:00"));
  ASSERT_EQ(boxes.Count(), 1);
  EXPECT_EQ(boxes.LastText(), QStringLiteral("Invalid argument to time encode."));
  EXPECT_EQ(p.TimeText(), QStringLiteral("20:00:00.000"));
}

TEST(TimePicker, TimeReadsBackWhatTheTextShows) {
  for (bool seconds : {true, false}) {
    Picker p;
    p.drop->SetShowSeconds(seconds);
    p.drop->SetTime(EncodeTime(12, 34, 56, 789));
    EXPECT_EQ(p.TimeText(), seconds ? QStringLiteral("12:34:56.000") : QStringLiteral("12:34:00.000"));
    EXPECT_EQ(p.drop->Text(), seconds ? QStringLiteral("12:34:56") : QStringLiteral("12:34"));
    EXPECT_EQ(p.timeChanges, 0);
  }
}

TEST(TimePicker, SecondsOffChangesMaskAndText) {
  Picker p;
  p.drop->SetTime(EncodeTime(9, 8, 7, 0));
  p.drop->SetShowSeconds(false);
  EXPECT_EQ(p.drop->EditMask(), QStringLiteral("!90:00;1; "));
  EXPECT_EQ(p.drop->Text(), QStringLiteral("09:08"));
  EXPECT_EQ(p.TimeText(), QStringLiteral("09:08:00.000"));
  p.drop->SetShowSeconds(true);
  EXPECT_EQ(p.drop->Text(), QStringLiteral("09:08:00"));
}

TEST(TimePicker, PartSettersIgnoreOutOfRangeValues) {
  Picker p;
  p.drop->SetTime(EncodeTime(9, 8, 7, 0));
  p.drop->SetHourPart(24);
  p.drop->SetMinutePart(60);
  p.drop->SetSecondPart(-1);
  p.drop->SetHourPart(9);
  EXPECT_EQ(p.timeChanges, 0);
  p.drop->SetSecondPart(30);
  EXPECT_EQ(p.drop->Text(), QStringLiteral("09:08:30"));
  EXPECT_EQ(p.timeChanges, 1);
}

// The hands of a clock at 10:00:00 moved to 3:15; the popup closed with Enter or by a click elsewhere (which
// does not cancel), or with Esc (which gives back the time it opened with).
TEST(TimePicker, ClosingThePopupTakesTheClocksTime) {
  enum Close { Enter, Outside, Escape };
  for (Close close : {Enter, Outside, Escape}) {
    SCOPED_TRACE(int(close));
    Picker p;
    p.drop->SetTime(EncodeTime(10, 0, 0, 0));
    p.drop->ShowDropDown();
    QApplication::processEvents();
    ASSERT_TRUE(p.drop->DroppedDown());
    TExtWatch* w = p.drop->Watch();
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(p.drop->DropDownForm()->CancelOnDeActivate());
    EXPECT_DOUBLE_EQ(w->Time(), EncodeTime(10, 0, 0, 0));
    w->SetHour(3);
    p.Animate();
    w->SetMinute(15);
    p.Animate();
    EXPECT_DOUBLE_EQ(w->Time(), EncodeTime(3, 15, 0, 0));
    switch (close) {
      case Enter: p.drop->Perform(WM_KEYDOWN, VK_RETURN, 0); break;
      case Outside: p.drop->HideDropDown(false); break;
      case Escape: p.drop->Perform(WM_KEYDOWN, VK_ESCAPE, 0); break;
    }
    EXPECT_FALSE(p.drop->DroppedDown());
    const bool cancelled = close == Escape;
    EXPECT_EQ(p.TimeText(), cancelled ? QStringLiteral("10:00:00.000") : QStringLiteral("03:15:00.000"));
    EXPECT_EQ(p.drop->Text(), cancelled ? QStringLiteral("10:00:00") : QStringLiteral("03:15:00"));
    EXPECT_DOUBLE_EQ(w->Time(), p.drop->Time());
  }
}

// A live clock shows the system time and cannot be set; closing its popup keeps Time instead of taking the
// clock's unused time.
TEST(TimePicker, LiveClockPopupKeepsTime) {
  SetClock([] { return EncodeTime(18, 45, 30, 0); });
  for (bool cancel : {false, true}) {
    Picker p;
    p.drop->WatchSettings()->SetAuto(true);
    p.drop->SetTime(EncodeTime(10, 0, 0, 0));
    p.drop->ShowDropDown();
    QApplication::processEvents();
    EXPECT_TRUE(p.drop->Watch()->WatchTimer()->Enabled());
    p.drop->Perform(WM_KEYDOWN, cancel ? VK_ESCAPE : VK_RETURN, 0);
    EXPECT_EQ(p.TimeText(), QStringLiteral("10:00:00.000"));
    EXPECT_EQ(p.drop->Text(), QStringLiteral("10:00:00"));
  }
  SetClock(nullptr);
}

TEST(TimePicker, PopupKeysGoToTheClock) {
  Picker p;
  p.drop->SetTime(EncodeTime(10, 20, 0, 0));
  p.drop->ShowDropDown();
  QApplication::processEvents();
  TDropDownForm* f = p.drop->DropDownForm();
  std::uint16_t key = VK_PRIOR;
  f->OnFormKeyDown(f, key, TShiftState{});
  p.Animate();
  EXPECT_EQ(p.TimeText(), QStringLiteral("11:20:00.000"));  // the clock's change reaches Time
  key = VK_UP;  // without Alt not passed to the edit, and nothing on the clock
  p.drop->SetSelStart(0);
  f->OnFormKeyDown(f, key, TShiftState{});
  EXPECT_EQ(p.TimeText(), QStringLiteral("11:20:00.000"));
  key = VK_HOME;
  f->OnFormKeyDown(f, key, TShiftState{});
  EXPECT_EQ(p.TimeText(), QStringLiteral("12:20:00.000"));
}

TEST(TimePicker, PopupHandsTheSettingsToTheClock) {
  Picker p;
  p.drop->SetShowWatchAMPM(false);
  p.drop->SetAnimation(false);
  p.drop->SetAnimationFactor(3);
  p.drop->WatchAppearance()->SetTickMarks(tmQuartHours);
  p.drop->SetComponentStyle(controls::tsOffice2010Black);
  EXPECT_EQ(p.drop->WatchAppearance()->BorderColor(), 0x6D6D6D);
  p.drop->ShowDropDown();
  QApplication::processEvents();
  TExtWatch* w = p.drop->Watch();
  EXPECT_FALSE(w->ShowAMPM());
  EXPECT_FALSE(w->Animation());
  EXPECT_EQ(w->AnimationFactor(), 3);
  EXPECT_EQ(w->Appearance()->TickMarks(), tmQuartHours);
  EXPECT_EQ(w->Appearance()->BorderColor(), 0x6D6D6D);
  EXPECT_EQ(p.drop->PanelCtrl()->Height(), 170);
  EXPECT_EQ(p.drop->DropDownForm()->Height(), 172);
}

TEST(TimePicker, TimePickerBelowTheClock) {
  Picker p;
  p.drop->SetShowTimePicker(true);
  p.drop->SetTime(EncodeTime(10, 0, 0, 0));
  p.drop->ShowDropDown();
  QApplication::processEvents();
  TDateTimePicker* dt = p.drop->DateTimePicker();
  ASSERT_NE(dt, nullptr);
  EXPECT_TRUE(dt->Visible());
  EXPECT_GT(dt->Height(), 0);
  EXPECT_EQ(p.drop->PanelCtrl()->Height(), 170 + dt->Height());
  EXPECT_EQ(p.drop->DropDownForm()->Height(), 172 + dt->Height());
  EXPECT_EQ(dt->Format(), QStringLiteral("HH:mm:ss"));
  // A change in the picker moves the hands.
  dt->DateTimeEdit()->setTime(QTime(4, 25, 0));
  EXPECT_DOUBLE_EQ(std::fmod(p.drop->Watch()->Time(), 1.0), EncodeTime(4, 25, 0, 0));
  // Hands moved on the clock move the picker and fire OnTimeChange.
  p.drop->Watch()->SetAnimation(false);
  p.drop->Watch()->SetHour(6);
  EXPECT_EQ(dt->DateTimeEdit()->time(), QTime(6, 25, 0));
  EXPECT_EQ(p.timeChanges, 1);
  EXPECT_EQ(p.TimeText(), QStringLiteral("06:25:00.000"));
}

}  // namespace
}  // namespace dropdown
