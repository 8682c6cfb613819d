// The clock's named looks and its colour sets per component style: what a style resets and keeps, the sizes
// taken from the clock at the moment a style is set, and how the looks show on the face.
#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

#include "dropdown/clock.h"
#include "platform/forms/forms.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/canvastracer.h"

using namespace plat;
using namespace controls;

namespace dropdown {
namespace {

struct Clock {
  explicit Clock(int side = 180) {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(100, 100, 260, 260);
    watch = new TExtWatch(form.get());
    watch->SetParent(form.get());
    watch->SetBounds(0, 0, side, side);
    form->Show();
    QApplication::processEvents();
  }
  // Face and hands of one paint.
  TRecordingTracer Paint() {
    (void)watch->Widget()->grab();
    TRecordingTracer t;
    watch->BackgroundCache()->Canvas()->SetTracer(&t);
    watch->Canvas()->SetTracer(&t);
    watch->Appearance()->SetSize(1);  // invalidates the face
    watch->Appearance()->SetSize(0);
    (void)watch->Widget()->grab();
    watch->BackgroundCache()->Canvas()->SetTracer(nullptr);
    watch->Canvas()->SetTracer(nullptr);
    return t;
  }
  std::unique_ptr<TForm> form;
  TExtWatch* watch;
};

TEST(WatchStyle, SameStyleKeepsCustomisingAnotherResetsEverything) {
  Clock c;
  auto& a = *c.watch->Appearance();
  a.SetBorderWidth(7);
  a.SetSecondPointer(0x123456);
  c.watch->SetStyle(wsClassic);  // the style it already has
  EXPECT_EQ(a.BorderWidth(), 7);
  EXPECT_EQ(a.SecondPointer(), 0x123456);
  c.watch->SetStyle(wsTower);
  EXPECT_EQ(a.BorderWidth(), 1);
  EXPECT_EQ(a.SecondPointer(), 0x002BD5);
  EXPECT_FALSE(c.watch->ShowNumbers());
  EXPECT_TRUE(c.watch->ShowAMPM());  // not named by the row: unchanged
  c.watch->SetStyle(wsGray);
  EXPECT_EQ(a.BorderWidth(), 4);  // back to the default
  EXPECT_EQ(a.Shape(), wsCircle);
  EXPECT_EQ(a.TickMarks(), tmAll);
  EXPECT_EQ(a.AMPMColor(), 0xFFFFFF);  // Tower's direct AM/PM colour is gone too
  EXPECT_TRUE(c.watch->ShowNumbers());
}

TEST(WatchStyle, SizesAreTakenWhenTheStyleIsSet) {
  Clock c(117);
  c.watch->SetStyle(wsSuperNova);
  EXPECT_EQ(c.watch->Appearance()->HourMarkLength(), 26);    // N(117 / 4.5)
  EXPECT_EQ(c.watch->Appearance()->MinuteMarkLength(), 39);  // 117 div 3
  c.watch->SetStyle(wsSports);
  EXPECT_EQ(c.watch->Appearance()->CenterPointSize(), 32);  // N(32.5), the tie to the even integer
  c.watch->SetBounds(0, 0, 200, 200);
  EXPECT_EQ(c.watch->Appearance()->CenterPointSize(), 32);
}

TEST(WatchStyle, FontsOfTheLooks) {
  Clock c;
  auto& a = *c.watch->Appearance();
  EXPECT_EQ(a.HourFont()->Name(), QStringLiteral("Tahoma"));
  EXPECT_EQ(a.HourFont()->Size(), 8);
  EXPECT_EQ(a.AMPMFont()->Size(), 10);
  c.watch->SetStyle(wsBlackWhite);
  EXPECT_EQ(a.HourFont()->Name(), QStringLiteral("Century Gothic"));
  EXPECT_EQ(a.HourFont()->Size(), 14);
  EXPECT_TRUE(a.HourFont()->Style().Contains(fsBold));
  EXPECT_EQ(a.HourFont()->Color(), 0);
  c.watch->SetStyle(wsEmerald);
  EXPECT_EQ(a.HourFont()->Color(), 0x3AE800);  // the background colour
  EXPECT_EQ(a.HourFont()->Size(), 8);          // not named: the default
  EXPECT_EQ(a.AMPMFont()->Color(), 0xA00000);
}

// How each look shows where it matters: the face outline, the marks, the numbers, the AM/PM box and the hands.
TEST(WatchStyle, LooksOnTheFace) {
  struct Case {
    TWatchStyle style;
    TraceKind outline;  // the face's outline
    int lines;          // marks and line hands
    int numbers;
    bool ampm;
    int polygons;  // pointer hands with their shadows
  };
  const Case cases[] = {
      {wsClassic, TraceKind::Ellipse, 60 + 4, 12, true, 0},
      {wsTower, TraceKind::Rectangle, 12, 0, true, 4},
      {wsFluorescent, TraceKind::RoundRect, 8 + 8 + 4, 0, false, 0},  // double quarter marks
      {wsEmerald, TraceKind::Rectangle, 16, 0, false, 4},
      {wsBlueStar, TraceKind::RoundRect, 60, 12, true, 4},
      {wsFuchsia, TraceKind::Rectangle, 8 + 4, 0, false, 0},
      {wsBlack, TraceKind::Ellipse, 60 + 4, 12, false, 0},
      {wsBlackWhite, TraceKind::Ellipse, 4, 4, false, 4},
      {wsGray, TraceKind::Ellipse, 60 + 2, 12, true, 0},  // no shadows
      {wsSuperNova, TraceKind::Ellipse, 60 + 4, 0, false, 0},  // no border: the ellipse is the centre dot
      {wsSports, TraceKind::Ellipse, 4 + 2, 4, false, 0},
      {wsSmooth, TraceKind::Ellipse, 4 + 4, 4, false, 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(int(k.style));
    Clock c;
    if (k.style == wsClassic) c.watch->SetStyle(wsSmooth);  // so that setting Classic changes the style
    c.watch->SetStyle(k.style);
    const auto t = c.Paint();
    EXPECT_GE(t.Count(k.outline), 1);
    EXPECT_EQ(t.Count(TraceKind::Line), k.lines);
    int numbers = 0;
    bool ampm = false;
    for (const QString& s : t.Texts()) {
      if (s == QStringLiteral("AM")) ampm = true;
      else ++numbers;
    }
    EXPECT_EQ(numbers, k.numbers);
    EXPECT_EQ(ampm, k.ampm);
    EXPECT_EQ(t.Count(TraceKind::Polygon), k.polygons);
  }
}

TEST(WatchStyle, GradientDirectionFollowsTheLook) {
  Clock c;
  c.watch->SetStyle(wsGray);  // wgRadial: bands (rectangles) from left to right
  auto fills = c.Paint().OfKind(TraceKind::Rectangle);
  ASSERT_GT(fills.size(), 40u);
  EXPECT_EQ(fills[1].Rect.Top, fills[2].Rect.Top);
  EXPECT_LT(fills[1].Rect.Left, fills[2].Rect.Left);
  c.watch->SetStyle(wsSmooth);  // wgVertical: top to bottom
  fills = c.Paint().OfKind(TraceKind::Rectangle);
  ASSERT_GT(fills.size(), 40u);
  EXPECT_EQ(fills[1].Rect.Left, fills[2].Rect.Left);
  EXPECT_LT(fills[1].Rect.Top, fills[2].Rect.Top);
}

TEST(WatchComponentStyle, CustomOnlyBlackensFontsAndTheOuterRing) {
  TWatchAppearance a, before;
  a.SetBackgroundColor(0x112233);
  a.HourFont()->SetColor(0x00FF00);
  before.Assign(a);
  ApplyWatchComponentStyle(a, tsCustom);
  EXPECT_EQ(a.HourFont()->Color(), 0);
  EXPECT_EQ(a.AMPMFont()->Color(), 0);
  EXPECT_EQ(a.CenterPointOuterBorderColor(), 0);
  a.SetCenterPointOuterBorderColor(before.CenterPointOuterBorderColor());
  a.HourFont()->SetColor(0x00FF00);
  a.AMPMFont()->SetColor(before.AMPMFont()->Color());
  // Everything else is as it was.
  TWatchAppearance copy;
  copy.Assign(a);
  EXPECT_EQ(copy.BackgroundColor(), 0x112233);
  EXPECT_EQ(copy.AMPMColor(), before.AMPMColor());
  EXPECT_EQ(copy.BorderColor(), before.BorderColor());
  EXPECT_EQ(copy.HourPointer(), before.HourPointer());
  EXPECT_EQ(copy.HourPointerShadow(), before.HourPointerShadow());
  EXPECT_EQ(copy.SecondPointer(), before.SecondPointer());
  EXPECT_EQ(copy.CenterPointColor(), before.CenterPointColor());
}

TEST(WatchComponentStyle, RowsOfTheColourTable) {
  struct Case {
    TExtStyle style;
    TColor ampmBorder, ampm, backTo, border, hand, centreBorder, centre, second, shadow, font;
  };
  const Case cases[] = {
      {tsOffice2003Blue, 0x962D00, 0xD68759, 0xFFD2AF, 0xD68759, 0xD68759, 0xD68759, 0xD68759, 0xFFFFFF, 0xFFFFFF, 0},
      {tsOffice2007Luna, 0xF0DED0, 0xF0DED0, 0xFFEFE3, 0xF0DED0, 0x723708, 0xFFEFE3, 0xFFEFE3, 0x723708, 0xFFFFFF, 0},
      {tsOffice2007Obsidian, 0xF2F1F0, 0x5C534C, 0x5C534C, 0xF2F1F0, 0xF2F1F0, 0xFFEFE3, 0xFFEFE3, 0xF2F1F0, 0xFFFFFF,
       0xF2F1F0},
      {tsWindowsXP, 0, clBtnFace, clBtnFace, 0, 0, 0, 0, 0, 0xFFFFFF, 0},
      {tsOffice2007Silver, 0xE8E0DB, 0xF8F4F1, 0xF8F4F1, 0xE8E0DB, 0x74706F, 0xE8E0DB, 0x74706F, 0x74706F, 0xFFFFFF, 0},
      {tsWindowsVista, 0xFEDF9A, 0xFFFDF9, 0xFFFAF0, 0xFEDF9A, 0xFEDF9A, 0xFEDF9A, 0xFEDF9A, 0xFEDF9A, 0xFFFFFF, 0},
      {tsOffice2010Silver, 0xD2CDC8, 0xEDE5E0, 0xFFFFFF, 0xD2CDC8, 0xD2CDC8, 0xD2CDC8, 0xD2CDC8, 0xD2CDC8, 0xC0C0C0, 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(int(k.style));
    Clock c;
    c.watch->SetComponentStyle(k.style);
    const auto& a = *c.watch->Appearance();
    EXPECT_EQ(a.AMPMBorderColor(), k.ampmBorder);
    EXPECT_EQ(a.AMPMColor(), k.ampm);
    EXPECT_EQ(a.BackgroundColorTo(), k.backTo);
    EXPECT_EQ(a.BorderColor(), k.border);
    EXPECT_EQ(a.HourColor(), k.hand);
    EXPECT_EQ(a.MinuteColor(), k.hand);
    EXPECT_EQ(a.HourPointer(), k.hand);
    EXPECT_EQ(a.MinutePointer(), k.hand);
    EXPECT_EQ(a.CenterPointBorderColor(), k.centreBorder);
    EXPECT_EQ(a.CenterPointColor(), k.centre);
    EXPECT_EQ(a.SecondPointer(), k.second);
    EXPECT_EQ(a.HourPointerShadow(), k.shadow);
    EXPECT_EQ(a.MinutePointerShadow(), k.shadow);
    EXPECT_EQ(a.HourFont()->Color(), k.font);
    EXPECT_EQ(a.AMPMFont()->Color(), k.font);
    EXPECT_EQ(a.CenterPointOuterBorderColor(), 0);
    // The face shows the new colours: the outline in the border colour.
    const auto t = c.Paint();
    const auto outline = t.OfKind(TraceKind::Ellipse);
    ASSERT_FALSE(outline.empty());
    EXPECT_EQ(outline.front().PenColor, k.border);
  }
}

}  // namespace
}  // namespace dropdown
