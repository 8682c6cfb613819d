// The page control's painting: gradient bands, three-slice backgrounds, and per tab position the band, the
// frame, the tab outlines, the close box, the turned captions and the hover outline (pixels and canvas trace).
#include <QApplication>

#include <gtest/gtest.h>

#include "controls/tests/page_control_fixture.h"
#include "platform/graphics/canvas.h"
#include "platform/testing/pixels.h"

using namespace plat;
using namespace plat::testing;
using controls::testing::PageForm;

namespace controls {
namespace {

TEST(TabGradient, BandsFollowTheRoundingRule) {
  // 10 pixels in 4 bands: d = 2.5; band n starts at round(n * 2.5) (ties to even) and is round(2.5) + 1 = 3 wide.
  TBitmap bmp(12, 2);
  bmp.Canvas()->Brush()->SetColor(clWhite);
  bmp.Canvas()->FillRect(TRect(0, 0, 12, 2));
  FillTabGradient(*bmp.Canvas(), RGB(0, 0, 0), RGB(200, 100, 40), 4, TRect(0, 0, 10, 2), gdHorizontal);
  const TColor band[4] = {RGB(0, 0, 0), RGB(50, 25, 10), RGB(100, 50, 20), RGB(150, 75, 30)};
  // starts 0, 2, 5, 8 (round(2.5) = 2, round(7.5) = 8); each band overdraws the start of the next.
  const TColor expected[12] = {band[0], band[0], band[1], band[1], band[1], band[2], band[2], band[2],
                               band[3], band[3], band[3], clWhite};
  for (int x = 0; x < 12; ++x) EXPECT_TRUE(ExpectPixel(bmp, x, 1, expected[x])) << x;

  // No bands counts as one; vertical runs along y.
  TBitmap v(2, 6);
  FillTabGradient(*v.Canvas(), clRed, clBlue, 0, TRect(0, 0, 2, 6), gdVertical);
  EXPECT_TRUE(ExpectRectFilled(v, TRect(0, 0, 2, 6), clRed));
}

TEST(TabBackground, ThreeSlicesStretchTheMiddleAndKeepTheEnds) {
  // Picture 6 x 2: columns A B C | D E F; its bottom-left pixel (A's colour there) is transparent.
  const TColor cols[6] = {RGB(10, 0, 0), RGB(20, 0, 0), RGB(30, 0, 0), RGB(40, 0, 0), RGB(50, 0, 0), RGB(60, 0, 0)};
  TBitmap pic(6, 2);
  for (int x = 0; x < 6; ++x)
    for (int y = 0; y < 2; ++y) pic.Canvas()->SetPixels(x, y, cols[x]);
  pic.Canvas()->SetPixels(0, 1, clLime);
  TBitmap out(24, 2);
  out.Canvas()->Brush()->SetColor(clWhite);
  out.Canvas()->FillRect(TRect(0, 0, 24, 2));
  DrawThreeSlices(*out.Canvas(), pic, 1, 0, 20, false);
  EXPECT_TRUE(ExpectPixel(out, 0, 0, clWhite));
  EXPECT_TRUE(ExpectPixel(out, 1, 0, cols[0]));
  EXPECT_TRUE(ExpectPixel(out, 1, 1, clWhite));  // transparent
  EXPECT_TRUE(ExpectPixel(out, 3, 0, cols[2]));
  // 14 stretched columns from source columns 2 and 3.
  EXPECT_TRUE(ExpectPixel(out, 4, 0, cols[2]));
  EXPECT_TRUE(ExpectPixel(out, 17, 0, cols[3]));
  EXPECT_TRUE(ExpectPixel(out, 18, 0, cols[3]));  // right half starts at 1 + 3 + 14
  EXPECT_TRUE(ExpectPixel(out, 20, 0, cols[5]));
  EXPECT_TRUE(ExpectPixel(out, 21, 0, clWhite));
  EXPECT_EQ(CountColour(out, clLime), 0);
}

struct Traced {
  explicit Traced(PageForm& f) : form(f) {
    f.pc->Canvas()->SetTracer(&tracer);
    image = f.Grab();
    f.pc->Canvas()->SetTracer(nullptr);
  }
  std::vector<TCanvasTraceRecord> TextsOf(const QString& text) const {
    std::vector<TCanvasTraceRecord> out;
    for (const auto& r : tracer.Records)
      if ((r.Kind == TraceKind::TextOut || r.Kind == TraceKind::DrawText) && r.Text == text) out.push_back(r);
    return out;
  }
  bool HasLine(TPoint a, TPoint b, TColor pen) const {
    for (const auto& r : tracer.Records)
      if (r.Kind == TraceKind::Line && r.Points.size() == 2 && r.Points[0] == a && r.Points[1] == b &&
          r.PenColor == pen)
        return true;
    return false;
  }
  PageForm& form;
  TRecordingTracer tracer;
  QImage image;
};

TEST(ExtPagePaint, CaptionsTurnAndStartWhereThePositionSays) {
  // Text origin of the active tab (LowerActive 2) and of an inactive one, and the font's turn.
  for (TTabPosition pos : {tpTop, tpBottom, tpLeft, tpRight}) {
    SCOPED_TRACE(int(pos));
    PageForm f(2, pos);
    f.sheets[0]->SetShowClose(true);
    Traced t(f);
    const TRect a = f.pc->TabRect(0), b = f.pc->TabRect(1);
    const auto active = t.TextsOf(f.sheets[0]->Caption());
    const auto other = t.TextsOf(f.sheets[1]->Caption());
    ASSERT_EQ(active.size(), 1u);
    ASSERT_EQ(other.size(), 1u);
    const int turn = pos == tpLeft ? -2700 : pos == tpRight ? -900 : 0;
    EXPECT_EQ(active[0].Orientation, turn);
    EXPECT_EQ(other[0].Orientation, turn);
    TPoint pa, pb;
    switch (pos) {
      case tpTop: pa = {a.Left + 18, a.Top + 3}; pb = {b.Left + 4, b.Top + 1}; break;
      case tpBottom: pa = {a.Left + 18, a.Top + 3}; pb = {b.Left + 4, b.Top + 2}; break;  // classic: +2
      case tpLeft: pa = {a.Left + 3, a.Bottom - 17}; pb = {b.Left + 1, b.Bottom - 4}; break;
      case tpRight: pa = {a.Right - 3, a.Top + 17}; pb = {b.Right - 1, b.Top + 4}; break;
    }
    const TPoint ga = active[0].Kind == TraceKind::DrawText ? active[0].Rect.TopLeft() : active[0].Points[0];
    const TPoint gb = other[0].Kind == TraceKind::DrawText ? other[0].Rect.TopLeft() : other[0].Points[0];
    EXPECT_EQ(ga, pa);
    EXPECT_EQ(gb, pb);
  }
}

TEST(ExtPagePaint, CloseBoxStrokesAndStates) {
  const struct {
    TCloseButtonState state;
    TColor fill, outline, strokes;
  } states[] = {{cbsNormal, clWhite, clGray, clBlack}, {cbsHot, clWhite, clBlack, clGray},
                {cbsPressed, clSilver, clBlack, clBlack}};
  for (TTabPosition pos : {tpTop, tpBottom, tpLeft, tpRight}) {
    for (const auto& st : states) {
      SCOPED_TRACE(QStringLiteral("position %1 state %2").arg(pos).arg(st.state).toStdString());
      PageForm f(2, pos);
      f.pc->SetTabHoverColor(clYellow);
      f.sheets[0]->SetShowClose(true);
      const TRect hit = f.pc->CloseButtonHitRect(f.sheets[0]);
      const LPARAM in = MakeLParam(hit.Left + 4, hit.Top + 4);
      if (st.state == cbsHot) f.pc->Perform(WM_MOUSEMOVE, 0, in);
      if (st.state == cbsPressed) f.pc->Perform(WM_LBUTTONDOWN, MK_LBUTTON, in);
      ASSERT_EQ(f.pc->CloseButtonState(), st.state);
      Traced t(f);
      const TPoint o = f.pc->CloseButtonOrigin(f.sheets[0], st.state);
      const bool left = pos == tpLeft;
      // The first stroke of the cross and the box's inside.
      EXPECT_TRUE(left ? t.HasLine({o.X + 5, o.Y - 10}, {o.X + 11, o.Y - 5}, st.strokes)
                       : t.HasLine({o.X + 5, o.Y + 9}, {o.X + 11, o.Y + 4}, st.strokes));
      const TRect box = left ? TRect(o.X + 2, o.Y - 13, o.X + 14, o.Y - 2) : TRect(o.X + 2, o.Y + 2, o.X + 14, o.Y + 13);
      EXPECT_TRUE(ExpectPixel(t.image, box.Left, box.Top + 5, st.outline));
      EXPECT_TRUE(ExpectPixel(t.image, box.Left + 1, box.Top + 1, st.fill));
    }
  }
}

TEST(ExtPagePaint, BandFrameAndActiveOutlinePerPosition) {
  for (TTabPosition pos : {tpTop, tpBottom, tpLeft, tpRight}) {
    SCOPED_TRACE(int(pos));
    PageForm f(2, pos);
    f.pc->SetTabBackGroundColor(clAqua);
    f.pc->SetTabSheetBorderColor(clMaroon);
    f.pc->SetTabBorderColor(clNavy);
    f.pc->SetActiveColor(clYellow);
    Traced t(f);
    const int W = f.pc->Width(), H = f.pc->Height();
    const TRect a = f.pc->TabRect(0), b = f.pc->TabRect(1);
    // The band beyond the last tab is TabBackGroundColor; the frame's outer line on the far side is the border.
    switch (pos) {
      case tpTop:
        EXPECT_TRUE(ExpectPixel(t.image, W - 40, 1, clAqua));
        EXPECT_TRUE(ExpectPixel(t.image, W / 2, H - 1, clMaroon));
        EXPECT_TRUE(t.HasLine({a.Left, a.Bottom - 1}, {a.Left, a.Top - 1}, clNavy));  // active: (L,B-1)-(L,T)
        break;
      case tpBottom:
        EXPECT_TRUE(ExpectPixel(t.image, W - 40, H - 1, clAqua));
        EXPECT_TRUE(ExpectPixel(t.image, W / 2, 0, clMaroon));
        EXPECT_TRUE(t.HasLine({a.Left, a.Top}, {a.Left, a.Bottom + 1}, clNavy));
        break;
      case tpLeft:
        EXPECT_TRUE(ExpectPixel(t.image, 1, H - 10, clAqua));
        EXPECT_TRUE(ExpectPixel(t.image, W - 2, H / 2, clMaroon));
        EXPECT_TRUE(t.HasLine({a.Right - 1, a.Top}, {a.Left - 1, a.Top}, clNavy));
        break;
      case tpRight:
        EXPECT_TRUE(ExpectPixel(t.image, W - 2, H - 10, clAqua));
        EXPECT_TRUE(ExpectPixel(t.image, 0, H / 2, clMaroon));
        EXPECT_TRUE(t.HasLine({a.Left, a.Top}, {a.Right, a.Top}, clNavy));
        break;
    }
    // The active tab is filled with ActiveColor, the other with its own colour.
    EXPECT_GT(CountColour(t.image, clYellow, a), a.Width() * a.Height() / 3);
    EXPECT_EQ(CountColour(t.image, clYellow, b), 0);
  }
}

TEST(ExtPagePaint, DotNetSeparatorsAndPageSideLines) {
  PageForm f(3, tpTop);
  f.pc->SetTabStyle(tsDotNet);
  f.pc->SetActiveColor(clYellow);
  f.pc->SetTabBorderColor(clNavy);
  f.pc->SetActivePage(f.sheets[1]);
  Traced t(f);
  const TRect first = f.pc->TabRect(0), last = f.pc->TabRect(2);
  // The first tab is followed by the active one: no separator; the last tab of the band always has one.
  EXPECT_FALSE(t.HasLine({first.Right - 2, first.Bottom - 3}, {first.Right - 2, first.Top + 1}, clYellow));
  EXPECT_TRUE(t.HasLine({last.Right - 2, last.Bottom - 3}, {last.Right - 2, last.Top + 1}, clYellow));
  EXPECT_TRUE(t.HasLine({last.Left, last.Bottom}, {last.Right, last.Bottom}, clNavy));  // page-side line
}

TEST(ExtPagePaint, HoverColourAndOutline) {
  PageForm f(3, tpTop);
  f.pc->SetTabHoverColor(clLime);
  f.pc->SetTabHoverBorder(clRed);
  const TRect r = f.pc->TabRect(2);
  f.pc->Perform(WM_MOUSEMOVE, 0, MakeLParam(r.Left + 5, r.Top + 5));
  Traced t(f);
  EXPECT_GT(CountColour(t.image, clLime, r), r.Width() * r.Height() / 3);
  EXPECT_TRUE(t.HasLine({r.Left, r.Bottom - 2}, {r.Left, r.Top - 1}, clRed));
  // The active tab is never outlined for hover.
  f.pc->Perform(WM_MOUSEMOVE, 0, MakeLParam(f.pc->TabRect(0).Left + 5, f.pc->TabRect(0).Top + 5));
  Traced t2(f);
  EXPECT_EQ(CountColour(t2.image, clRed), 0);
}

TEST(ExtPagePaint, DisabledTabsAreGreyAndImagesComeFirst) {
  PageForm f(2, tpTop);
  TImageList images(nullptr, 10, 10);
  QImage img(10, 10, QImage::Format_ARGB32);
  img.fill(Qt::red);
  images.AddImage(img);
  f.pc->SetImages(&images);
  f.sheets[1]->SetTabEnable(false);
  f.sheets[1]->SetImageIndex(0);
  f.sheets[1]->SetTextColor(clBlue);
  Traced t(f);
  const auto texts = t.TextsOf(f.sheets[1]->Caption());
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].FontColor, clGray);
  const TRect r = f.pc->TabRect(1);
  EXPECT_EQ(texts[0].Rect.Left, r.Left + 4 + 10);  // moved on by the image's width
  bool drawn = false;
  for (const auto& rec : t.tracer.OfKind(TraceKind::Draw))
    drawn |= rec.Text == "ImageList" && rec.Rect.TopLeft() == TPoint(r.Left + 2, r.Top + 1);
  EXPECT_TRUE(drawn);
  f.pc->SetImages(nullptr);
}

TEST(ExtPagePaint, NoVisibleTabStillDrawsTheFrameAtTheFallbackEdge) {
  for (TTabPosition pos : {tpTop, tpBottom, tpLeft, tpRight}) {
    SCOPED_TRACE(int(pos));
    PageForm f(1, pos);
    f.sheets[0]->SetTabVisible(false);
    f.pc->SetTabSheetBorderColor(clMaroon);
    Traced t(f);
    const int W = f.pc->Width(), H = f.pc->Height();
    switch (pos) {
      case tpTop: EXPECT_TRUE(ExpectPixel(t.image, W / 2, 2, clMaroon)); break;
      case tpBottom: EXPECT_TRUE(ExpectPixel(t.image, W / 2, H - 3, clMaroon)); break;
      case tpLeft: EXPECT_TRUE(ExpectPixel(t.image, 2, H / 2, clMaroon)); break;
      case tpRight: EXPECT_TRUE(ExpectPixel(t.image, W - 3, H / 2, clMaroon)); break;
    }
  }
}

TEST(ExtPagePaint, PaintedPageRingAndRoundEdges) {
  PageForm f(2, tpTop);
  f.sheets[0]->SetColor(clTeal);
  f.pc->SetRoundEdges(true);
  f.pc->SetTabSheetBorderColor(clMaroon);
  Traced t(f);
  const int W = f.pc->Width(), H = f.pc->Height();
  EXPECT_TRUE(ExpectPixel(t.image, 2, H / 2, clTeal));       // left strip of the ring
  EXPECT_TRUE(ExpectPixel(t.image, W - 3, H / 2, clTeal));   // right strip
  EXPECT_TRUE(ExpectPixel(t.image, 0, H - 1, f.pc->Color()));  // rounded corner
  EXPECT_TRUE(ExpectPixel(t.image, 1, H - 3, clMaroon));
  EXPECT_TRUE(ExpectPixel(t.image, W - 1, H - 1, f.pc->Color()));
  // The page's own gradient.
  f.sheets[0]->SetColorTo(clNavy);
  const QImage sheet = (f.sheets[0]->Repaint(), f.sheets[0]->Widget()->grab().toImage());
  EXPECT_TRUE(ExpectPixel(sheet, 3, 0, clTeal));
  EXPECT_TRUE(ExpectPixel(sheet, 3, sheet.height() - 1, RGB(0, 2, 128)));  // band 63 of 64
}

TEST(ExtPagePaint, BackgroundPicturesReplaceFillAndOutline) {
  PageForm f(2, tpTop);
  TBitmap bg(8, 20);
  bg.Canvas()->Brush()->SetColor(clOlive);
  bg.Canvas()->FillRect(TRect(0, 0, 8, 20));
  bg.Canvas()->SetPixels(0, 19, clFuchsia);
  TBitmap act(8, 20);
  act.Canvas()->Brush()->SetColor(clPurple);
  act.Canvas()->FillRect(TRect(0, 0, 8, 20));
  act.Canvas()->SetPixels(0, 19, clFuchsia);
  f.pc->SetTabBackGround(&bg);
  f.pc->SetTabBackGroundActive(&act);
  Traced t(f);
  const TRect a = f.pc->TabRect(0), b = f.pc->TabRect(1);
  EXPECT_GT(CountColour(t.image, clPurple, a), a.Width() * 5);
  EXPECT_GT(CountColour(t.image, clOlive, b), b.Width() * 5);
  // The active caption is drawn after every other tab.
  const auto texts = t.tracer.Texts();
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.back(), f.sheets[0]->Caption());
  EXPECT_EQ(CountColour(t.image, clFuchsia), 0);
}

TEST(ExtPagePaint, FocusRectangleOnTheActiveTab) {
  PageForm f(2, tpTop);
  f.pc->SetShowFocus(true);
  f.form->Show();
  f.pc->SetFocus();
  QApplication::processEvents();
  ASSERT_TRUE(f.pc->Focused());
  Traced t(f);
  const TRect r = f.pc->TabRect(0);
  bool found = false;
  for (const auto& rec : t.tracer.OfKind(TraceKind::Rectangle))
    found |= rec.Rect == TRect(r.Left + 5, r.Top - 1 + 3, r.Right - 5, r.Bottom - 3) && rec.PenColor == clBlack;
  EXPECT_TRUE(found);
  f.form->Hide();
}

}  // namespace
}  // namespace controls
