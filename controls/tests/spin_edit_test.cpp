// The spin editor: which keys each kind accepts, steps with wraps and clamps, month and year ends, the value
// fallbacks, the repeat of a held button and the buttons' looks.
#include <QApplication>
#include <QWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <memory>

#include "controls/spin_edit.h"
#include "controls/theme_services.h"
#include "platform/graphics/canvas.h"
#include "platform/forms/beep.h"
#include "platform/forms/forms.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/formatsettings.h"
#include "platform/testing/pixels.h"

using namespace plat;
using namespace plat::testing;

namespace controls {
namespace {

struct SpinForm {
  SpinForm() {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 200, 80);
    spin = new TEsgSpinEdit(form.get());
    spin->SetParent(form.get());
    spin->SetBounds(10, 10, 100, 24);
    oldBeep = SetBeepHook([this](unsigned) { ++beeps; });
  }
  ~SpinForm() { SetBeepHook(oldBeep); }
  std::unique_ptr<TForm> form;
  TEsgSpinEdit* spin;
  TBeepHook oldBeep;
  int beeps = 0;
};

TEST(SpinEdit, KeyFilterPerKind) {
  const struct {
    TEsgSpinType type;
    const char* text;
    int selStart, selLength;
    char16_t key;
    int precision;
    bool enabled;
    bool accepted;
  } cases[] = {
      {sptNormal, "12", 2, 0, u'5', 0, true, true},     {sptNormal, "12", 1, 0, u'-', 0, true, false},
      {sptNormal, "12", 0, 2, u'-', 0, true, true},     {sptNormal, "-12", 0, 0, u'-', 0, true, false},
      {sptNormal, "-12", 0, 1, u'-', 0, true, true},    {sptNormal, "12", 2, 0, u'a', 0, true, false},
      {sptNormal, "12", 2, 0, u'.', 0, true, false},    {sptNormal, "12", 2, 0, u'/', 0, true, false},
      {sptNormal, "12", 2, 0, 27, 0, true, false},      {sptNormal, "12", 2, 0, 8, 0, true, true},
      {sptNormal, "12", 2, 0, 8, 0, false, false},      {sptNormal, "12", 2, 0, u'5', 0, false, false},
      {sptFloat, "1.25", 4, 0, u'3', 2, true, false},   {sptFloat, "1.25", 2, 2, u'3', 2, true, true},
      {sptFloat, "1.2", 3, 0, u'3', 2, true, true},     {sptFloat, "1.25", 0, 0, u'3', 2, true, true},
      {sptFloat, "1.5", 3, 0, u'.', 0, true, false},    {sptFloat, "1.5", 0, 3, u'.', 0, true, true},
      {sptFloat, "15", 2, 0, u'.', 0, true, true},      {sptFloat, "15", 2, 0, u',', 0, true, false},
      {sptFloat, "15", 2, 0, 27, 0, true, true},        {sptTime, "10:20", 5, 0, u':', 0, true, true},
      {sptTime, "10:20:30", 8, 0, u':', 0, true, false}, {sptTime, "10", 2, 0, u'/', 0, true, false},
      {sptDate, "10", 2, 0, u'/', 0, true, true},       {sptDate, "10", 2, 0, u':', 0, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(QStringLiteral("type %1 text %2 key %3").arg(c.type).arg(c.text).arg(int(c.key)).toStdString());
    SpinForm f;
    f.spin->SetSpinType(c.type);
    f.spin->SetPrecision(c.precision);
    f.spin->SetText(c.text);
    f.spin->SetSelStart(c.selStart);
    f.spin->SetSelLength(c.selLength);
    f.spin->EditorEnabled = c.enabled;
    char16_t key = c.key;
    EXPECT_EQ(f.spin->AcceptsChar(key), c.accepted);
  }
}

TEST(SpinEdit, RefusedCharactersBeepAndAreDropped) {
  SpinForm f;
  f.spin->SetText("12");
  f.spin->SetSelStart(1);
  f.spin->Perform(WM_CHAR, u'-', 0);
  f.spin->Perform(WM_CHAR, u'x', 0);
  EXPECT_EQ(f.spin->Text(), "12");
  EXPECT_EQ(f.beeps, 2);
  // The keypad's "." types the locale decimal separator when asked.
  f.form->Show();
  QApplication::setActiveWindow(f.form->Widget());
  f.spin->SetFocus();
  QApplication::processEvents();
  FormatSettings.DecimalSeparator = u',';
  FormatSettings.ThousandSeparator = u'.';
  f.spin->SetSpinType(sptFloat);
  f.spin->ExcelStyleDecimalSeparator = true;
  f.spin->SetText("1");
  f.spin->SetSelStart(1);
  QTest::keyClick(f.spin->Widget(), Qt::Key_Period, Qt::KeypadModifier);
  EXPECT_EQ(f.spin->Text(), "1,");
  QTest::keyClick(f.spin->Widget(), Qt::Key_Period);  // the main keyboard's "." is the thousand separator here
  EXPECT_EQ(f.spin->Text(), "1,");
  ResetFormatSettings();
  f.form->Hide();
}

TEST(SpinEdit, IntegerAndRealStepsClamp) {
  const struct {
    TEsgSpinType type;
    const char* text;
    int min, max, precision;
    int sign;
    bool page;
    const char* result;
  } cases[] = {
      {sptNormal, "5", 0, 100, 0, 1, false, "6"},      {sptNormal, "100", 0, 100, 0, 1, false, "100"},
      {sptNormal, "0", 0, 100, 0, -1, true, "0"},      {sptNormal, "100", 0, 0, 0, 1, false, "101"},
      {sptNormal, "abc", 3, 10, 0, 1, false, "4"},     {sptNormal, "", 0, 100, 0, 1, false, "1"},
      {sptFloat, "1.5", 0, 100, 0, 1, false, "1.6"},   {sptFloat, "1.5", 0, 100, 0, 1, true, "2.5"},
      {sptFloat, "1.5", 0, 100, 2, -1, false, "1.40"}, {sptFloat, "0.05", 0, 100, 0, -1, false, "0"},
      {sptFloat, "x", 7, 100, 0, 1, false, "7.1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    SpinForm f;
    f.spin->SetSpinType(c.type);
    f.spin->MinValue = c.min;
    f.spin->MaxValue = c.max;
    f.spin->SetPrecision(c.precision);
    f.spin->SetText(c.text);
    if (c.sign > 0)
      f.spin->IncrementValue(c.page);
    else
      f.spin->DecrementValue(c.page);
    EXPECT_EQ(f.spin->Text(), c.result);
  }
}

// The text after one step from Text with the caret at Caret.
QString StepFrom(TEsgSpinType Type, const char* Text, int Caret, int Sign, bool ShowSeconds = true) {
  SpinForm f;
  f.spin->ShowSeconds = ShowSeconds;
  f.spin->SetSpinType(Type);
  f.spin->SetText(Text);
  f.spin->SetSelStart(Caret);
  if (Sign > 0)
    f.spin->IncrementValue(false);
  else
    f.spin->DecrementValue(false);
  return f.spin->Text();
}

TEST(SpinEdit, DateStepsAtMonthAndYearEnds) {
  // dd/mm/yyyy: the caret picks the field.
  const struct {
    const char* text;
    int caret, sign;
    const char* result;
  } cases[] = {
      {"31/01/2021", 0, 1, "01/02/2021"},  {"31/01/2021", 4, 1, "28/02/2021"},  {"31/03/2021", 4, -1, "28/02/2021"},
      {"31/12/2021", 0, 1, "01/01/2022"},  {"15/06/2021", 8, 1, "15/06/2022"},  {"01/01/2021", 0, -1, "31/12/2020"},
      {"31/01/2020", 4, 1, "29/02/2020"},
  };
  for (const auto& c : cases) EXPECT_EQ(StepFrom(sptDate, c.text, c.caret, c.sign), c.result) << c.text;
  // A year step from 29 February to a year without it fails and keeps the value.
  SpinForm f;
  f.spin->SetSpinType(sptDate);
  f.spin->SetText("29/02/2020");
  f.spin->SetSelStart(8);
  EXPECT_THROW(f.spin->IncrementValue(false), EConvertError);
  EXPECT_EQ(f.spin->Text(), "29/02/2020");
  // Month first under mm/dd/yyyy.
  FormatSettings.ShortDateFormat = "mm/dd/yyyy";
  f.spin->SetText("01/31/2021");
  f.spin->SetSelStart(0);
  f.spin->IncrementValue(false);
  EXPECT_EQ(f.spin->Text(), "02/28/2021");
  ResetFormatSettings();
}

TEST(SpinEdit, TimeStepsWrapAtMidnight) {
  const struct {
    const char* text;
    int caret, sign;
    bool seconds;
    const char* result;
  } cases[] = {
      {"00:30:00", 0, -1, true, "23:30:00"}, {"23:30:00", 0, 1, true, "00:30:00"}, {"10:59:00", 4, 1, true, "11:00:00"},
      {"10:00:00", 7, -1, true, "09:59:59"}, {"10:00", 4, 1, false, "10:01"},    {"0:00", 3, -1, false, "23:59"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(StepFrom(sptTime, c.text, c.caret, c.sign, c.seconds), c.result) << c.text;
}

TEST(SpinEdit, ValueFallbacksAndTypeChanges) {
  SpinForm f;
  SetClock([] { return EncodeDate(2024, 5, 6) + EncodeTime(7, 8, 9, 0); });
  f.spin->SetSpinType(sptDate);  // "0" reads as now
  EXPECT_EQ(f.spin->Text(), "06/05/2024");
  f.spin->SetText("not a date");
  f.spin->MinDateValue = EncodeDate(2000, 1, 1);
  f.spin->MaxDateValue = EncodeDate(2030, 1, 1);
  EXPECT_DOUBLE_EQ(f.spin->DateValue(), EncodeDate(2000, 1, 1));
  f.spin->SetDateValue(EncodeDate(2040, 1, 1));  // clamped
  EXPECT_EQ(f.spin->Text(), "01/01/2030");
  SetClock({});
  f.spin->SetSpinType(sptNormal);  // the text is no integer: the minimum
  EXPECT_EQ(f.spin->Text(), "0");
  f.spin->SetSpinType(sptTime);
  EXPECT_EQ(f.spin->Text(), "00:00:00");
  // Read-only editors only beep.
  f.spin->SetReadOnly(true);
  f.spin->IncrementValue(false);
  EXPECT_EQ(f.spin->Text(), "00:00:00");
  EXPECT_EQ(f.beeps, 1);
}

TEST(SpinEdit, KeysStepAndTheDisabledEditorOnlySteps) {
  SpinForm f;
  f.form->Show();
  QApplication::setActiveWindow(f.form->Widget());
  f.spin->SetFocus();
  QApplication::processEvents();
  f.spin->SetText("10");
  QTest::keyClick(f.spin->Widget(), Qt::Key_Up);
  QTest::keyClick(f.spin->Widget(), Qt::Key_PageUp);  // integers ignore the page
  EXPECT_EQ(f.spin->Text(), "12");
  QTest::keyClick(f.spin->Widget(), Qt::Key_Down);
  EXPECT_EQ(f.spin->Text(), "11");
  f.spin->EditorEnabled = false;
  f.spin->SetSelStart(2);
  QTest::keyClick(f.spin->Widget(), Qt::Key_Backspace);
  f.spin->SetSelStart(0);
  QTest::keyClick(f.spin->Widget(), Qt::Key_Delete);
  QTest::keyClicks(f.spin->Widget(), "7");
  f.spin->SelectAll();
  f.spin->Perform(WM_CUT);
  EXPECT_EQ(f.spin->Text(), "11");
  QTest::keyClick(f.spin->Widget(), Qt::Key_Up);
  EXPECT_EQ(f.spin->Text(), "12");
  EXPECT_EQ(f.spin->SelLength(), 2);  // each value set is selected whole
  // Leaving the editor clamps what was typed.
  f.spin->EditorEnabled = true;
  f.spin->SetText("500");
  f.spin->Perform(CM_EXIT);
  EXPECT_EQ(f.spin->Text(), "100");
  f.form->Hide();
}

TEST(SpinEdit, HeldButtonStepsOnceThenAfter400ThenEvery100) {
  SpinForm f;
  f.spin->SetText("0");
  TExtTimerSpeedButton* up = f.spin->Button()->UpButton();
  up->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(3, 3));
  EXPECT_EQ(f.spin->Text(), "1");
  ASSERT_NE(up->RepeatTimer(), nullptr);
  EXPECT_TRUE(up->RepeatTimer()->Enabled());
  EXPECT_EQ(up->RepeatTimer()->Interval(), 400u);
  up->TimerExpired();
  EXPECT_EQ(up->RepeatTimer()->Interval(), 100u);
  up->TimerExpired();
  EXPECT_EQ(f.spin->Text(), "3");
  up->Perform(WM_LBUTTONUP, 0, MakeLParam(3, 3));
  EXPECT_FALSE(up->RepeatTimer()->Enabled());
  up->TimerExpired();  // a late tick after release steps nothing
  EXPECT_EQ(f.spin->Text(), "3");
  TExtTimerSpeedButton* down = f.spin->Button()->DownButton();
  down->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(3, 3));
  down->Perform(WM_LBUTTONUP, 0, MakeLParam(3, 3));
  EXPECT_EQ(f.spin->Text(), "2");
}

// A derived editor's overrides receive the button clicks.
struct Counting : TEsgSpinEdit {
  using TEsgSpinEdit::TEsgSpinEdit;
  void SpinUpClick(TObject*) override { ++ups; }
  int ups = 0;
};

TEST(SpinEdit, ButtonPairLayoutAndOverrides) {
  TForm form(nullptr);
  auto* c = new Counting(&form);
  c->SetParent(&form);
  c->SetBounds(0, 0, 100, 24);
  c->Button()->UpButton()->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(2, 2));
  c->Button()->UpButton()->Perform(WM_LBUTTONUP, 0, MakeLParam(2, 2));
  EXPECT_EQ(c->ups, 1);
  EXPECT_EQ(c->Text(), "0");
  TEsgSpinButton* pair = c->Button();
  EXPECT_EQ(pair->BoundsRect(), TRect(100 - 15 - 3, 2, 100 - 3, 24 - 3));
  EXPECT_EQ(pair->UpButton()->BoundsRect(), TRect(0, 0, 15, 9));
  EXPECT_EQ(pair->DownButton()->BoundsRect(), TRect(0, 8, 15, 19));
  c->SetDirection(spHorizontal);
  EXPECT_EQ(pair->Width(), 20);
  EXPECT_EQ(pair->DownButton()->BoundsRect(), TRect(0, 0, 10, 19));
  EXPECT_EQ(pair->UpButton()->BoundsRect(), TRect(11, 0, 21, 19));
  EXPECT_EQ(pair->UpButton()->ButtonDirection(), bdRight);
  pair->SetBounds(0, 0, 5, 30);  // not narrower than 20 across
  EXPECT_EQ(pair->Width(), 20);
}

TEST(SpinEdit, ButtonLooks) {
  SpinForm f;
  f.form->Show();
  TEsgSpinButton* pair = f.spin->Button();
  auto* timeSpin = new TEsgSpinEdit(f.form.get());
  timeSpin->SetParent(f.form.get());
  timeSpin->SetBounds(10, 40, 100, 24);
  timeSpin->SetSpinType(sptTime);
  timeSpin->SetDirection(spHorizontal);
  f.spin->SetText("42");
  f.form->Widget()->grab().toImage().save(QStringLiteral(TEST_BINARY_DIR "/screens/spin_edit.png"));
  auto grab = [&] {
    pair->Repaint();
    return pair->Widget()->grab().toImage();
  };
  // Classic faces with the black glyph triangles.
  QImage img = grab();
  EXPECT_GT(CountColour(img, clBtnFace), 50);
  EXPECT_GT(CountColour(img, clBlack), 20);
  EXPECT_EQ(CountColour(img, clOlive), 0);
  // Plain colours by state, with the triangle at its fixed place.
  pair->ButtonColor = clYellow;
  pair->ButtonColorDown = clRed;
  img = grab();
  EXPECT_TRUE(ExpectPixel(img, 12, 6, clYellow));
  EXPECT_TRUE(ExpectPixel(img, 6, 3, clBlack));  // up triangle tip row (L+6, T+2..4)
  pair->UpButton()->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(2, 2));
  img = grab();
  EXPECT_TRUE(ExpectPixel(img, 12, 6, clRed));
  pair->UpButton()->Perform(WM_LBUTTONUP, 0, MakeLParam(2, 2));
  f.form->Hide();
}

}  // namespace
}  // namespace controls

namespace controls {
namespace {

// With the themed look asked for (the theme functions are loaded at start-up), the buttons draw the theme's spin parts:
// up 1, down 2, up-horizontal 3, down-horizontal 4, in state normal 1, hot 2 or pressed 3.
TEST(SpinEdit, ThemedButtonsDrawTheSpinParts) {
  SpinForm f;
  f.form->Show();
  f.spin->SetIsWinXP(true);
  auto traced = [&](TExtTimerSpeedButton* b) {
    TRecordingTracer tracer;
    b->Canvas()->SetTracer(&tracer);
    f.spin->Button()->Repaint();
    (void)f.spin->Button()->Widget()->grab();
    b->Canvas()->SetTracer(nullptr);
    const auto parts = tracer.OfKind(TraceKind::ThemePart);
    return parts.empty() ? 0u : parts.back().Flags;
  };
  EXPECT_EQ(traced(f.spin->Button()->UpButton()), 1u | (1u << 16));
  f.spin->Button()->DownButton()->Perform(CM_MOUSEENTER);
  EXPECT_EQ(traced(f.spin->Button()->DownButton()), 2u | (2u << 16));
  f.spin->SetDirection(spHorizontal);
  f.spin->Button()->UpButton()->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(2, 2));
  EXPECT_EQ(traced(f.spin->Button()->UpButton()), 3u | (3u << 16));
  f.spin->Button()->UpButton()->Perform(WM_LBUTTONUP, 0, MakeLParam(2, 2));
  EXPECT_EQ(traced(f.spin->Button()->DownButton()) & 0xFFFF, 4u);
  f.form->Hide();
}

}  // namespace
}  // namespace controls
