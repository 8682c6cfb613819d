// The analog clock: where the hands point (through the canvas tracer), hour and minute picked with the mouse
// and the keys, the animation and the AM/PM roll stepped by driving their timers, the marks and numbers of
// the face, and live mode.
#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "dropdown/clock.h"
#include "platform/forms/extctrls.h"
#include "platform/forms/forms.h"
#include "platform/forms/keys.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/canvastracer.h"
#include "platform/rtl/exceptions.h"
#include "platform/testing/pixels.h"

using namespace plat;

namespace dropdown {
namespace {

// A 180 x 180 clock on a form: face square 160, centre (90, 90), radius 80.
struct Clock {
  Clock() {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(100, 100, 220, 220);
    watch = new TExtWatch(form.get());
    watch->SetParent(form.get());
    watch->SetBounds(0, 0, 180, 180);
    watch->OnChange = [this](TObject*) { ++changes; };
    form->Show();
    QApplication::processEvents();
  }
  ~Clock() { SetClock(nullptr); }
  void At(int h, int m, int s = 0) { watch->SetTime(EncodeTime(h, m, s, 0)); }
  QString Shown() const {
    Word h, m, s, ms;
    DecodeTime(watch->Time(), h, m, s, ms);
    return QStringLiteral("%1:%2").arg(h, 2, 10, QChar(u'0')).arg(m, 2, 10, QChar(u'0'));
  }
  void Click(int x, int y) {
    watch->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(x, y));
    watch->Perform(WM_LBUTTONUP, 0, MakeLParam(x, y));
  }
  // Runs the animation to its end, one timer tick at a time; returns the minutes (or hours) passed through.
  std::vector<int> Animate(bool Hours) {
    std::vector<int> seen;
    for (int guard = 0; watch->Animating() && guard < 200; ++guard) {
      watch->AnimationTimer()->OnTimer(watch->AnimationTimer());
      Word h, m, s, ms;
      DecodeTime(watch->Time(), h, m, s, ms);
      seen.push_back(Hours ? h : m);
    }
    return seen;
  }
  // What one paint of the control draws (the hands over the copied face).
  TRecordingTracer PaintHands() {
    TRecordingTracer t;
    watch->Canvas()->SetTracer(&t);
    (void)watch->Widget()->grab();
    watch->Canvas()->SetTracer(nullptr);
    return t;
  }
  // What drawing the face into the cache draws.
  TRecordingTracer PaintFace() {
    (void)watch->Widget()->grab();  // the cache exists with its canvas
    TRecordingTracer t;
    watch->BackgroundCache()->Canvas()->SetTracer(&t);
    watch->Appearance()->SetBorderWidth(watch->Appearance()->BorderWidth() + 1);  // invalidates the face
    watch->Appearance()->SetBorderWidth(watch->Appearance()->BorderWidth() - 1);
    (void)watch->Widget()->grab();
    watch->BackgroundCache()->Canvas()->SetTracer(nullptr);
    return t;
  }
  std::unique_ptr<TForm> form;
  TExtWatch* watch;
  int changes = 0;
};

std::vector<std::pair<TPoint, TPoint>> Lines(const TRecordingTracer& t) {
  std::vector<std::pair<TPoint, TPoint>> r;
  for (const auto& rec : t.OfKind(TraceKind::Line)) r.emplace_back(rec.Points.at(0), rec.Points.at(1));
  return r;
}

TEST(ExtWatch, NewClockIsClassicAt180AndMidnight) {
  Clock c;
  EXPECT_EQ(c.watch->Width(), 180);
  EXPECT_EQ(c.watch->Height(), 180);
  EXPECT_EQ(c.watch->Time(), 0.0);
  EXPECT_TRUE(c.watch->AM());
  EXPECT_EQ(c.watch->Style(), wsClassic);
  EXPECT_EQ(c.watch->GetWatchRect(), TRect(10, 10, 170, 170));
  EXPECT_EQ(c.watch->GetCenter(), TPoint(90, 90));
  EXPECT_EQ(c.watch->GetRadius(), 80);
  EXPECT_FALSE(c.watch->WatchTimer()->Enabled());
  EXPECT_FALSE(c.watch->Animating());
}

// psLine: hour shadow, minute shadow, hour hand (0.1 R behind the centre to 0.5 R) and minute hand (to 0.7 R).
TEST(ExtWatch, LineHandsPointAtTheTime) {
  struct Case {
    int h, m;
    TPoint hourTail, hourTip, minuteTail, minuteTip;
  };
  const Case cases[] = {
      {3, 0, {82, 90}, {130, 90}, {90, 98}, {90, 34}},
      {15, 0, {82, 90}, {130, 90}, {90, 98}, {90, 34}},  // the hour is taken modulo 12
      {6, 30, {92, 82}, {80, 129}, {90, 82}, {90, 146}},
      {9, 45, {97, 93}, {53, 75}, {98, 90}, {34, 90}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.h * 100 + k.m);
    Clock c;
    c.watch->Appearance()->SetHourPointerShadow(clNone);
    c.watch->Appearance()->SetMinutePointerShadow(clNone);
    c.At(k.h, k.m);
    const auto lines = Lines(c.PaintHands());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].first, k.hourTail);
    EXPECT_EQ(lines[0].second, k.hourTip);
    EXPECT_EQ(lines[1].first, k.minuteTail);
    EXPECT_EQ(lines[1].second, k.minuteTip);
  }
}

TEST(ExtWatch, ShadowsAreDrawnFirstAndOffset) {
  Clock c;
  c.At(3, 0);
  const auto t = c.PaintHands();
  const auto lines = t.OfKind(TraceKind::Line);
  ASSERT_EQ(lines.size(), 4u);
  // Hour shadow to 0.46 R moved by (-1, +3), minute shadow to 0.65 R moved by (0, +3), in the shadow colour.
  EXPECT_EQ(lines[0].Points[1], TPoint(90 + 37 - 1, 93));
  EXPECT_EQ(lines[0].PenColor, clBtnShadow);
  EXPECT_EQ(lines[0].PenWidth, 4);
  EXPECT_EQ(lines[1].Points[1], TPoint(90, 90 - 52 + 3));
  EXPECT_EQ(lines[2].PenColor, 0);
  EXPECT_EQ(lines[3].PenWidth, 3);
}

TEST(ExtWatch, PointerHandsAreFourPointShapes) {
  Clock c;
  c.watch->Appearance()->SetPointerStyle(psPointer);
  c.watch->Appearance()->SetHourPointerShadow(clNone);
  c.watch->Appearance()->SetMinutePointerShadow(clNone);
  c.At(3, 0);
  const auto polys = c.PaintHands().OfKind(TraceKind::Polygon);
  ASSERT_EQ(polys.size(), 2u);
  // Tail 0.1 R behind, sides 0.05 R either side, tip at 0.5 R.
  const std::vector<TPoint> hour{{82, 90}, {90, 94}, {130, 90}, {90, 86}};
  EXPECT_EQ(polys[0].Points, hour);
  EXPECT_EQ(polys[1].Points[2], TPoint(90, 34));
}

TEST(ExtWatch, CentreDotWithRings) {
  Clock c;
  auto& a = *c.watch->Appearance();
  a.SetHourPointerShadow(clNone);
  a.SetMinutePointerShadow(clNone);
  a.SetCenterPointSize(10);
  a.SetCenterPointColor(0x00FF00);
  a.SetCenterPointOuterBorderColor(0xFF0000);
  a.SetCenterPointBorderColor(0x0000FF);
  const auto e = c.PaintHands().OfKind(TraceKind::Ellipse);
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(e[0].Rect, TRect(85, 85, 95, 95));
  EXPECT_EQ(e[0].BrushColor, 0x00FF00);
  EXPECT_EQ(e[1].PenWidth, 2);  // N(0.2 * 10)
  EXPECT_EQ(e[1].PenColor, 0xFF0000);
  EXPECT_EQ(e[2].Rect, TRect(86, 86, 94, 94));  // diameter 10 - 2
  EXPECT_EQ(e[2].PenWidth, 1);
}

TEST(ExtWatch, LiveModeShowsTheSystemTimeWithSecondHand) {
  Clock c;
  SetClock([] { return EncodeDate(2026, 12, 11) + EncodeTime(14, 30, 15, 0); });
  c.watch->Appearance()->SetHourPointerShadow(clNone);
  c.watch->Appearance()->SetMinutePointerShadow(clNone);
  c.watch->Settings()->SetTimeOffset(60);
  c.watch->Settings()->SetAuto(true);
  EXPECT_TRUE(c.watch->WatchTimer()->Enabled());
  EXPECT_FALSE(c.watch->AM());  // 15:30 is PM
  const auto lines = Lines(c.PaintHands());
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1].second, TPoint(90, 146));  // minute 30
  EXPECT_EQ(lines[2].second, TPoint(162, 90));  // second 15 at 0.9 R
  // The user changes nothing meanwhile.
  c.Click(150, 150);
  c.watch->HandleKey(VK_HOME);
  EXPECT_EQ(c.watch->Time(), 0.0);
  c.watch->Settings()->SetSecond(false);
  EXPECT_EQ(Lines(c.PaintHands()).size(), 2u);
  c.watch->Settings()->SetAuto(false);
  EXPECT_FALSE(c.watch->WatchTimer()->Enabled());
}

// Clicks with the animation off: inside the face the hour, outside its circle the minute.
TEST(ExtWatch, ClicksPickHourAndMinute) {
  struct Case {
    const char* from;
    bool pm;
    int x, y;
    const char* expected;
  };
  const Case cases[] = {
      {"10:00", false, 92, 15, "00:00"},   // just right of 12 in AM
      {"22:00", true, 92, 15, "12:00"},    // just right of 12 in PM
      {"10:00", false, 90, 140, "06:00"},  // on the centre column (dx 0)
      {"10:00", false, 140, 90, "03:00"},  // on the centre row (dy 0)
      {"22:00", true, 40, 90, "21:00"},
      {"10:45", false, 90, 5, "11:00"},    // minute 0 outside the face from above 30: the next hour
      {"10:15", false, 90, 5, "10:00"},
      {"10:15", false, 175, 175, "10:23"},  // a corner outside the circle
      {"23:50", true, 90, 5, "00:00"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::string(k.from) + " click " + std::to_string(k.x) + "," + std::to_string(k.y));
    Clock c;
    c.watch->SetAnimation(false);
    c.At(QString(k.from).left(2).toInt(), QString(k.from).mid(3).toInt());
    ASSERT_EQ(c.watch->AM(), !k.pm);
    c.Click(k.x, k.y);
    EXPECT_EQ(c.Shown(), QString(k.expected));
    EXPECT_EQ(c.changes, QString(k.expected) == QString(k.from) ? 0 : 1);
  }
}

// Either side of 12 o'clock is the first hour of the half the clock shows: a click just left of it (minute
// position 59, which rounds to hour 12) gives 0 in AM and 12 in PM, as a click just right of it does, rather
// than jumping to the other half of the day.
TEST(ExtWatch, TwelveOClockIsTheFirstHourOfTheHalfShown) {
  for (bool pm : {false, true}) {
    for (int x : {82, 92}) {
      SCOPED_TRACE(std::to_string(x) + (pm ? " PM" : " AM"));
      Clock c;
      c.watch->SetAnimation(false);
      c.At(pm ? 22 : 10, 0);
      c.Click(x, x == 82 ? 20 : 15);
      EXPECT_EQ(c.Shown(), pm ? QStringLiteral("12:00") : QStringLiteral("00:00"));
      EXPECT_EQ(c.watch->AM(), !pm);
    }
  }
}

TEST(ExtWatch, MinuteAtPosQuadrants) {
  Clock c;
  EXPECT_EQ(c.watch->MinuteAtPos(150, 90), 15);
  EXPECT_EQ(c.watch->MinuteAtPos(90, 150), 30);
  EXPECT_EQ(c.watch->MinuteAtPos(30, 90), 45);
  EXPECT_EQ(c.watch->MinuteAtPos(82, 20), 59);
  EXPECT_EQ(c.watch->MinuteAtPos(90, 90), 23);  // the centre itself counts as 1 / 1: 45 degrees, N(7.5) = 8
}

// Keys, with the animation off (a change at once) and on (Page Up at 23 and Home are at once even then).
TEST(ExtWatch, KeysStepHourAndMinute) {
  struct Case {
    const char* from;
    std::uint16_t key;
    const char* expected;
  };
  const Case cases[] = {
      {"10:59", VK_RIGHT, "11:00"}, {"23:59", VK_RIGHT, "00:00"}, {"10:30", VK_RIGHT, "10:31"},
      {"10:00", VK_LEFT, "09:59"},  {"00:00", VK_LEFT, "23:59"},  {"10:30", VK_LEFT, "10:29"},
      {"22:10", VK_PRIOR, "23:10"}, {"23:10", VK_PRIOR, "00:10"}, {"01:10", VK_NEXT, "00:10"},
      {"00:10", VK_NEXT, "23:10"},  {"03:10", VK_HOME, "12:10"},  {"03:10", VK_END, "03:00"},
      {"15:10", 'A', "03:10"},      {"03:10", 'A', "03:10"},      {"03:10", 'P', "15:10"},
      {"15:10", 'P', "15:10"},      {"15:10", VK_UP, "15:10"},
  };
  for (bool animation : {false, true}) {
    for (const Case& k : cases) {
      SCOPED_TRACE(std::string(k.from) + " key " + std::to_string(k.key) + (animation ? " animated" : ""));
      Clock c;
      c.watch->SetAnimation(animation);
      c.At(QString(k.from).left(2).toInt(), QString(k.from).mid(3).toInt());
      c.watch->HandleKey(k.key);
      c.Animate(true);
      EXPECT_EQ(c.Shown(), QString(k.expected));
    }
  }
}

TEST(ExtWatch, LeftAtMinuteZeroKeepsSecondsAndFiresNoChange) {
  Clock c;
  c.watch->SetTime(EncodeTime(5, 0, 42, 0));
  c.watch->HandleKey(VK_LEFT);
  EXPECT_DOUBLE_EQ(c.watch->Time(), EncodeTime(4, 59, 42, 0));
  EXPECT_EQ(c.changes, 0);
}

TEST(ExtWatch, SetMinuteRejectsSixty) {
  Clock c;
  try {
    c.watch->SetMinute(60);
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Invalid time"));
  }
  EXPECT_EQ(c.watch->Time(), 0.0);
}

// A value the time cannot hold is refused at once, rather than failing on every tick of the animation it
// would start.
TEST(ExtWatch, HourAndMinuteOutOfRangeAreRefused) {
  struct Case {
    bool hour;
    int value;
  };
  const Case cases[] = {{true, 24}, {true, -1}, {false, 60}, {false, -1}};
  for (bool animation : {true, false}) {
    for (const Case& k : cases) {
      SCOPED_TRACE(std::to_string(k.value) + (k.hour ? " hour" : " minute") + (animation ? " animated" : ""));
      Clock c;
      c.watch->SetAnimation(animation);
      c.At(10, 10);
      try {
        if (k.hour)
          c.watch->SetHour(k.value);
        else
          c.watch->SetMinute(k.value);
        ADD_FAILURE() << "no error";
      } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Invalid time"));
      }
      EXPECT_FALSE(c.watch->Animating());
      EXPECT_EQ(c.Shown(), QStringLiteral("10:10"));
      EXPECT_EQ(c.changes, 0);
    }
  }
}

TEST(ExtWatch, LiveModeStopsARunningAnimation) {
  Clock c;
  SetClock([] { return EncodeTime(18, 45, 30, 0); });
  c.At(10, 10);
  c.watch->SetMinute(50);
  c.watch->AnimationTimer()->OnTimer(nullptr);
  c.watch->Settings()->SetAuto(true);
  EXPECT_FALSE(c.watch->Animating());
  c.watch->Settings()->SetAuto(false);
  EXPECT_EQ(c.Shown(), QStringLiteral("10:14"));
}

TEST(ExtWatch, MinuteAnimationSlowsDownTowardsTheTarget) {
  Clock c;
  c.At(10, 10);
  c.watch->SetMinute(50);
  EXPECT_TRUE(c.watch->Animating());
  EXPECT_EQ(c.Shown(), QStringLiteral("10:10"));  // nothing moves before the first tick
  const auto seen = c.Animate(false);
  ASSERT_GE(seen.size(), 4u);
  EXPECT_EQ(seen[0], 14);
  EXPECT_EQ(seen[1], 18);
  EXPECT_EQ(seen[2], 21);
  for (std::size_t i = 1; i < seen.size(); ++i) EXPECT_LE(seen[i] - seen[i - 1], seen[i - 1] - (i > 1 ? seen[i - 2] : 10));
  EXPECT_EQ(seen.back(), 50);
  EXPECT_EQ(seen[seen.size() - 2], 49);  // the last steps are single minutes
  EXPECT_FALSE(c.watch->Animating());
  EXPECT_EQ(c.changes, 1);  // only the completed change notifies
}

TEST(ExtWatch, MinuteAnimationPastTheHourAdvancesTheHour) {
  Clock c;
  c.At(10, 55);
  c.watch->SetMinute(0);
  EXPECT_EQ(c.Animate(false), (std::vector<int>{56, 57, 58, 59, 0}));
  EXPECT_EQ(c.Shown(), QStringLiteral("11:00"));
  EXPECT_EQ(c.changes, 1);
}

TEST(ExtWatch, HourAnimationRunsBackWithoutWrapping) {
  Clock c;
  c.At(23, 0);
  c.watch->SetHour(0);
  const auto seen = c.Animate(true);
  EXPECT_EQ(seen.front(), 21);  // N(23 / 10) = 2 hours back
  EXPECT_EQ(seen.back(), 0);
  EXPECT_EQ(c.changes, 1);
}

TEST(ExtWatch, NewTargetReplacesTheRunningAnimation) {
  Clock c;
  c.At(10, 10);
  c.watch->SetMinute(50);
  c.watch->AnimationTimer()->OnTimer(nullptr);
  c.watch->SetHour(12);
  c.Animate(true);
  EXPECT_EQ(c.Shown(), QStringLiteral("12:14"));
  EXPECT_EQ(c.changes, 1);
}

TEST(ExtWatch, FactorBelowOneMovesInOneStep) {
  for (int factor : {0, -5}) {
    Clock c;
    c.watch->SetAnimationFactor(factor);
    c.At(10, 10);
    c.watch->SetMinute(50);
    EXPECT_EQ(c.Animate(false), std::vector<int>{50});
  }
}

TEST(ExtWatch, AMPMBoxRollsOnItsTimerThenTheHourSwitches) {
  Clock c;
  c.At(3, 20);
  const TRect box = c.watch->GetAMPMRect();
  ASSERT_NE(box.Left, -1);
  EXPECT_EQ(box.Left + box.Width() / 2, 90);
  EXPECT_GT(box.Top, 90);
  c.Click(box.Left + 2, box.Top + 2);
  EXPECT_EQ(c.Shown(), QStringLiteral("15:20"));  // the hour switches at once
  EXPECT_EQ(c.changes, 1);
  EXPECT_FALSE(c.watch->AM());
  EXPECT_TRUE(c.watch->Rolling());
  // The strip window is copied into the box while it rolls.
  EXPECT_EQ(c.PaintHands().Count(TraceKind::CopyRect), 1);
  int steps = 0;
  while (c.watch->Rolling() && steps < 100) {
    c.watch->RollTimer()->OnTimer(nullptr);
    ++steps;
  }
  EXPECT_EQ(steps, box.Height() - 2);  // one pixel per step over the inner height
  EXPECT_EQ(c.PaintHands().Count(TraceKind::CopyRect), 0);
  const auto texts = c.PaintFace().Texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), QStringLiteral("PM")), texts.end());
}

TEST(ExtWatch, AMPMSwitchesAtOnceWithoutColourOrAnimation) {
  for (bool animation : {true, false}) {
    Clock c;
    c.watch->SetAnimation(animation);
    if (animation) c.watch->Appearance()->SetAMPMColor(clNone);
    c.At(15, 0);
    const TRect box = c.watch->GetAMPMRect();
    c.Click(box.Left + 2, box.Top + 2);
    EXPECT_EQ(c.Shown(), QStringLiteral("03:00"));
    EXPECT_FALSE(c.watch->Rolling());
    const auto texts = c.PaintFace().Texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), QStringLiteral("AM")), texts.end());
  }
}

TEST(ExtWatch, HiddenAMPMBoxTakesNoClick) {
  Clock c;
  c.watch->SetAnimation(false);
  const TRect box = c.watch->GetAMPMRect();
  c.watch->SetShowAMPM(false);
  EXPECT_EQ(c.watch->GetAMPMRect(), TRect(-1, -1, -1, -1));
  c.At(3, 0);
  c.Click(90, box.Top + 2);
  EXPECT_EQ(c.Shown(), QStringLiteral("06:00"));  // an hour, not the AM/PM switch
}

TEST(ExtWatch, HandCursorOverTheAMPMBox) {
  Clock c;
  const TRect box = c.watch->GetAMPMRect();
  c.watch->Perform(WM_MOUSEMOVE, 0, MakeLParam(box.Left + 3, box.Top + 3));
  EXPECT_EQ(c.watch->Cursor(), crHandPoint);
  c.watch->Perform(WM_MOUSEMOVE, 0, MakeLParam(40, 40));
  EXPECT_EQ(c.watch->Cursor(), crDefault);
}

// The picture is drawn at its own size at the top-left corner over the face; the white around it shows
// the face.
TEST(ExtWatch, PictureOverTheFace) {
  Clock c;
  c.watch->SetShowAMPM(false);
  c.watch->Appearance()->SetTickMarks(tmNone);
  TBitmap red(30, 30);
  red.Canvas()->Brush()->SetColor(clRed);
  red.Canvas()->FillRect(TRect(0, 0, 30, 30));
  TPicture pic;
  pic.SetGraphic(&red);
  (void)c.watch->Widget()->grab();  // the face as it was is cached
  TWatchAppearance looks;
  looks.Assign(*c.watch->Appearance());
  int changes = 0;
  looks.OnChange = [&](TObject*) { ++changes; };
  looks.SetPicture(pic);
  EXPECT_EQ(changes, 1);
  c.watch->SetAppearance(looks);  // the assignment itself notifies nothing
  (void)c.watch->Widget()->grab();
  const TBitmap& face = *c.watch->BackgroundCache();
  EXPECT_TRUE(plat::testing::ExpectPixel(face, 20, 20, clRed));
  EXPECT_TRUE(plat::testing::ExpectPixel(face, 90, 50, 0xFFFFFF));
}

TEST(ExtWatch, TickMarksAndNumbers) {
  struct Case {
    TTickMarks marks;
    THourMarkStyle style;
    int lines;
    std::vector<QString> numbers;
  };
  const std::vector<QString> all{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"};
  const Case cases[] = {
      {tmAll, hmsLine, 12 + 48, all},
      {tmHours, hmsLine, 12, {}},
      {tmQuartHours, hmsLine, 4, {"3", "6", "9", "12"}},
      {tmQuartHours, hmsQuartDblLine, 8, {"3", "6", "9", "12"}},
      {tmNone, hmsLine, 0, {}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(int(k.marks) * 10 + int(k.style));
    Clock c;
    c.watch->SetShowAMPM(false);
    c.watch->Appearance()->SetTickMarks(k.marks);
    c.watch->Appearance()->SetHourMarkStyle(k.style);
    const auto t = c.PaintFace();
    EXPECT_EQ(t.Count(TraceKind::Line), k.lines);
    EXPECT_EQ(t.Texts(), k.numbers);
  }
}

TEST(ExtWatch, HourMarksRunFromTheirLengthToTheBorder) {
  Clock c;
  c.watch->Appearance()->SetTickMarks(tmQuartHours);
  c.watch->Appearance()->SetHourMarkLength(8);
  const auto lines = Lines(c.PaintFace());
  ASSERT_EQ(lines.size(), 4u);
  // Rb = 80 - 4 div 2 = 78; the 12 o'clock mark from 70 to 78 above the centre.
  EXPECT_EQ(lines[0], std::make_pair(TPoint(90, 20), TPoint(90, 12)));
  EXPECT_EQ(lines[1], std::make_pair(TPoint(160, 90), TPoint(168, 90)));
}

TEST(ExtWatch, HandMovesDoNotRedrawTheFace) {
  Clock c;
  (void)c.watch->Widget()->grab();
  TRecordingTracer face, hands;
  c.watch->BackgroundCache()->Canvas()->SetTracer(&face);
  c.watch->Canvas()->SetTracer(&hands);
  c.At(4, 40);
  c.watch->SetMinute(10);
  c.Animate(false);
  c.watch->BackgroundCache()->Canvas()->SetTracer(nullptr);
  c.watch->Canvas()->SetTracer(nullptr);
  EXPECT_TRUE(face.Records.empty());
  EXPECT_GE(hands.Count(TraceKind::Line), 4 * 5);  // every step drew the hands (with their shadows)
  EXPECT_EQ(hands.Count(TraceKind::Draw), hands.Count(TraceKind::Line) / 4);  // over a copy of the face
}

TEST(ExtWatch, AppearanceAssignFiresOnlyForThreeProperties) {
  TWatchAppearance a, b;
  int fired = 0;
  a.OnChange = [&](TObject*) { ++fired; };
  b.SetBackgroundColor(0x123456);
  b.SetHourPointerSize(9);
  a.Assign(b);
  EXPECT_EQ(fired, 0);
  EXPECT_EQ(a.BackgroundColor(), 0x123456);
  EXPECT_EQ(a.HourPointerSize(), 9);
  b.SetTickMarks(tmHours);
  a.Assign(b);
  EXPECT_EQ(fired, 1);
  EXPECT_EQ(a.TickMarks(), tmHours);
}

}  // namespace
}  // namespace dropdown
