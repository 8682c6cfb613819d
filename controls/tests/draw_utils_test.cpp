// Exact pixels of the painters and the colour arithmetic; the traced calls where the look is the layer's.
#include <gtest/gtest.h>

#include "controls/draw_utils.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/classic.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/themes.h"
#include "platform/testing/pixels.h"

using namespace controls;
using namespace plat;
using plat::testing::BoundingBox;
using plat::testing::CountColour;
using plat::testing::ExpectPixel;
using plat::testing::ExpectRectFilled;
using plat::testing::PixelAt;

namespace {

class DrawTest : public ::testing::Test {
 protected:
  DrawTest() : bmp(120, 40) {
    c = bmp.Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(TRect(0, 0, 120, 40));
    c->SetTracer(&trace);
    c->Font()->SetName("DejaVu Sans");
    c->Font()->SetSize(8);
  }
  const QImage& Img() {
    c->EndPainting();
    return bmp.Image();
  }
  TBitmap bmp;
  TCanvas* c;
  TRecordingTracer trace;
};

TEST(Colours, Computations) {
  struct Case {
    TColor in;
    int percent;
    TColor out;
  } cases[] = {
      {clWhite, 7, clWhite},
      {TColor(0x808080), -20, TColor(0x666666)},
      {RGB(10, 100, 200), 10, RGB(11, 110, 220)},
      {RGB(5, 15, 25), 10, RGB(6, 16, 28)},  // 5.5 -> 6, 16.5 -> 16, 27.5 -> 28 (halves to even)
      {clBtnFace, -100, clBlack},
  };
  for (const auto& k : cases) EXPECT_EQ(ChangeColorPercent(k.in, k.percent), k.out) << k.percent;

  EXPECT_EQ(DarkenColorHalf(RGB(255, 101, 2)), RGB(127, 50, 1));
  EXPECT_EQ(InterpolateColorAt(clBlack, RGB(200, 100, 0), 0, 10, 5), RGB(100, 50, 0));
  EXPECT_EQ(InterpolateColorAt(clBlack, clNone, 0, 10, 5), clBlack);
  EXPECT_EQ(InterpolateColorAt(clRed, clBlue, 3, 3, 1), clRed);  // no range: the start colour
  EXPECT_EQ(ColorToHTMLHex(RGB(0x12, 0xAB, 0xF0)), "12ABF0");
  EXPECT_EQ(ColorToHTMLHex(clBtnFace), "0F0000");  // the stored value, not resolved
}

TEST_F(DrawTest, GradientBands) {
  // Five columns, four steps: each band overwrites the second column of the one before.
  FillGradientBands(*c, clBlack, RGB(255, 0, 0), 4, TRect(0, 0, 5, 3), true);
  const int want[] = {0, 64, 128, 191, 255};
  for (int x = 0; x < 5; ++x) EXPECT_TRUE(ExpectPixel(Img(), x, 1, RGB(want[x], 0, 0))) << x;
  EXPECT_TRUE(ExpectPixel(Img(), 5, 1, clWhite));

  // One pixel high with 16 steps: two bands on the same row, the last in the end colour.
  FillGradientBands(*c, clBlack, clBlue, 16, TRect(10, 5, 30, 6), false);
  EXPECT_TRUE(ExpectRectFilled(Img(), TRect(10, 5, 30, 6), clBlue));
  EXPECT_TRUE(ExpectPixel(Img(), 10, 6, clWhite));

  // No end colour: solid.
  FillGradientBands(*c, clLime, clNone, 8, TRect(40, 10, 50, 20), false);
  EXPECT_TRUE(ExpectRectFilled(Img(), TRect(40, 10, 50, 20), clLime));

  // Swapped top and bottom are put right; equal ones draw nothing.
  FillGradientBands(*c, clRed, clRed, 4, TRect(60, 20, 70, 10), false);
  EXPECT_TRUE(ExpectRectFilled(Img(), TRect(60, 10, 70, 20), clRed));
  const int before = CountColour(Img(), clWhite);
  FillGradientBands(*c, clRed, clRed, 4, TRect(80, 5, 90, 5), false);
  EXPECT_EQ(CountColour(Img(), clWhite), before);
}

TEST_F(DrawTest, DropDownGradientBandsEndInTheEndColour) {
  // Four bands of 10 pixels from black to red: 0, 85, 170, 255.
  DrawDropDownGradient(*c, clBlack, RGB(255, 0, 0), 4, TRect(0, 0, 40, 4), gdHorizontal);
  const int want[] = {0, 85, 170, 255};
  for (int b = 0; b < 4; ++b) {
    EXPECT_TRUE(ExpectPixel(Img(), b * 10, 1, RGB(want[b], 0, 0))) << b;
    EXPECT_TRUE(ExpectPixel(Img(), b * 10 + 9, 1, RGB(want[b], 0, 0))) << b;
  }
  // A count of 0 is one band in the start colour; vertical bands run from the top.
  DrawDropDownGradient(*c, clBlue, clRed, 0, TRect(50, 0, 60, 10), gdVertical);
  EXPECT_TRUE(ExpectRectFilled(Img(), TRect(50, 0, 60, 10), clBlue));
  DrawDropDownGradient(*c, clBlack, clLime, 2, TRect(70, 0, 80, 10), gdVertical);
  EXPECT_TRUE(ExpectRectFilled(Img(), TRect(70, 0, 80, 5), clBlack));
  EXPECT_TRUE(ExpectRectFilled(Img(), TRect(70, 5, 80, 10), clLime));
}

TEST_F(DrawTest, GradientBoxes) {
  // Solid fill grows by one row; the frame uses the grown rectangle.
  FillGradientBox(*c, TRect(2, 2, 12, 10), clYellow, clNone, clNone, clNone, gdVertical, clBlack, false, true);
  EXPECT_EQ(BoundingBox(Img(), clBlack), TRect(2, 2, 12, 11));
  EXPECT_TRUE(ExpectRectFilled(Img(), TRect(3, 3, 11, 10), clYellow));

  // Mirror halves, left and right.
  FillGradientBox(*c, TRect(20, 0, 40, 10), clRed, clRed, clBlue, clBlue, gdHorizontal, clNone, false, true);
  EXPECT_TRUE(ExpectRectFilled(Img(), TRect(20, 0, 30, 10), clRed));
  EXPECT_TRUE(ExpectRectFilled(Img(), TRect(30, 0, 40, 10), clBlue));

  // Sides only: the left and the last column.
  FillGradientBox(*c, TRect(50, 0, 60, 10), clNone, clNone, clNone, clNone, gdVertical, clGreen, true, true);
  EXPECT_EQ(CountColour(Img(), clGreen), 20);
  EXPECT_TRUE(ExpectPixel(Img(), 59, 9, clGreen));
}

TEST_F(DrawTest, RoundedSelectionCorners) {
  const TColor fill = RGB(1, 2, 3), border = RGB(9, 9, 9), corner = RGB(7, 7, 7), outer = RGB(8, 8, 8);
  DrawRoundedSelection(*c, fill, clNone, clNone, clNone, clRed, clBlue, border, corner, outer, TRect(0, 0, 21, 12), 0);
  // Work rectangle L=0 T=0 R=20 B=10.
  EXPECT_TRUE(ExpectPixel(Img(), 0, 0, outer));
  EXPECT_TRUE(ExpectPixel(Img(), 0, 10, outer));
  EXPECT_TRUE(ExpectPixel(Img(), 19, 0, outer));
  EXPECT_TRUE(ExpectPixel(Img(), 1, 1, corner));
  EXPECT_TRUE(ExpectPixel(Img(), 18, 9, corner));
  EXPECT_TRUE(ExpectPixel(Img(), 5, 0, border));
  EXPECT_TRUE(ExpectPixel(Img(), 0, 5, border));
  EXPECT_TRUE(ExpectRectFilled(Img(), TRect(2, 2, 18, 9), fill));
  // Join 1 continues to the right: no right edge, the fill runs to R.
  DrawRoundedSelection(*c, fill, clNone, clNone, clNone, clRed, clBlue, border, corner, outer, TRect(30, 0, 51, 12), 1);
  EXPECT_TRUE(ExpectRectFilled(Img(), TRect(32, 2, 50, 9), fill));
  EXPECT_TRUE(ExpectPixel(Img(), 49, 0, border));
}

TEST_F(DrawTest, CellShapes) {
  PaintCellShape(*c, 0, 0, 20, 10, csCircle, clRed, clRed);
  EXPECT_EQ(BoundingBox(Img(), clRed), TRect(0, 0, 10, 10));
  PaintCellShape(*c, 30, 0, 10, 10, csRectangle, clBlue, clBlue);
  EXPECT_EQ(BoundingBox(Img(), clBlue), TRect(31, 1, 39, 9));
  PaintCellShape(*c, 50, 0, 9, 9, csLineVert, clGreen, clGreen);
  EXPECT_EQ(BoundingBox(Img(), clGreen), TRect(54, 0, 55, 9));
  PaintCellShape(*c, 60, 0, 10, 10, TCellShape(99), clLime, clLime);
  EXPECT_EQ(CountColour(Img(), clLime), 0);

  trace.Clear();
  PaintCellShape(*c, 0, 20, 10, 10, csStar, clYellow, clBlack);
  auto polys = trace.OfKind(TraceKind::Polygon);
  ASSERT_EQ(polys.size(), 1u);
  ASSERT_EQ(polys[0].Points.size(), 10u);
  EXPECT_EQ(polys[0].Points[0], TPoint(5, 20));   // outer point at the top
  EXPECT_EQ(polys[0].Points[5], TPoint(5, 27));   // inner point at the bottom: 25 + round(5/3)
  PaintCellShape(*c, 0, 20, 8, 8, csArrowUp, clYellow, clBlack);
  const std::vector<TPoint> arrow = {{0, 24}, {4, 20}, {8, 24}, {6, 24}, {6, 28}, {2, 28}, {2, 24}};
  EXPECT_EQ(trace.OfKind(TraceKind::Polygon).back().Points, arrow);
}

TEST_F(DrawTest, ThresholdGaugeBlocks) {
  GaugeAppearance a;
  a.CompletionSmooth = false;
  a.Level0Color = a.Level0ColorTo = clGreen;
  a.Level1Perc = 70;
  // Inner size 100: t = 50 gives five blocks of 7 and a last block of 4.
  PaintThresholdGauge(*c, TRect(0, 0, 102, 12), 50, a);
  std::string row;
  for (int x = 0; x < 102; ++x) row += PixelAt(Img(), x, 6) == clGreen ? '#' : '.';
  EXPECT_EQ(row, ".." "#######.." "#######.." "#######.." "#######.." "#######.." "####" +
                     std::string(102 - 2 - 45 - 4, '.'));
  EXPECT_TRUE(ExpectPixel(Img(), 0, 0, clBlack));  // border

  // Zero percent: background and border only, and the text when asked.
  trace.Clear();
  a.ShowPercentage = true;
  PaintThresholdGauge(*c, TRect(0, 20, 102, 32), 0, a);
  EXPECT_EQ(CountColour(Img(), clGreen, TRect(0, 20, 102, 32)), 0);
  EXPECT_EQ(trace.Texts(), std::vector<QString>{"0%"});
}

TEST_F(DrawTest, ThresholdGaugeStacked) {
  GaugeAppearance a;
  a.Stacked = true;
  a.Level0Color = a.Level0ColorTo = clGreen;
  a.Level1Color = a.Level1ColorTo = clYellow;
  a.Level3Color = a.Level3ColorTo = clRed;
  a.Level1Perc = 50;
  a.Level2Perc = 80;
  PaintThresholdGauge(*c, TRect(0, 0, 102, 10), 100, a);
  EXPECT_EQ(BoundingBox(Img(), clGreen), TRect(1, 1, 51, 9));
  EXPECT_EQ(BoundingBox(Img(), clYellow), TRect(51, 1, 81, 9));
  EXPECT_EQ(BoundingBox(Img(), clRed), TRect(81, 1, 101, 9));
}

TEST_F(DrawTest, LinearGauge) {
  DrawLinearGauge(*c, TRect(0, 0, 100, 20), clBlue, clWhite, clSilver, clBlack, 150, 0, 0, 0, 100, "", clBlack,
                  false);
  auto texts = trace.OfKind(TraceKind::TextRect);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].Text, "150%");
  EXPECT_EQ(texts[0].Rect, TRect(0, 0, 100, 20));  // full bar
  EXPECT_EQ(texts[0].FontColor, clWhite);
  EXPECT_EQ(texts[1].FontColor, clBlack);
  EXPECT_TRUE(ExpectPixel(Img(), 2, 2, clBlue));      // the bar fills the rectangle
  EXPECT_TRUE(ExpectPixel(Img(), 0, 0, clBlack) == false);  // the frames lie outside it

  trace.Clear();
  DrawLinearGauge(*c, TRect(0, 20, 100, 40), clBlue, clWhite, clSilver, clBlack, 50, 0, 0, 0, 200, "%.1f", clBlack,
                  false);
  texts = trace.OfKind(TraceKind::TextRect);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].Text, "50.0");
  EXPECT_EQ(texts[0].Rect, TRect(0, 20, 25, 40));  // a quarter bar
  EXPECT_EQ(texts[1].Rect, TRect(25, 20, 100, 40));

  // Min equal to Max: an empty bar, no failure; a format that does not fit the number shows the percentage.
  trace.Clear();
  DrawLinearGauge(*c, TRect(0, 0, 100, 20), clBlue, clWhite, clSilver, clBlack, 30, 0, 0, 5, 5, "%s", clNone, false);
  texts = trace.OfKind(TraceKind::TextRect);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].Text, "30%");
  EXPECT_EQ(texts[0].Rect.Width(), 0);
}

TEST_F(DrawTest, SignedBarAndPie) {
  DrawSignedBar(*c, TRect(0, 0, 44, 10), -5, 10, false, clRed, clGreen);
  EXPECT_EQ(BoundingBox(Img(), clRed), TRect(12, 2, 22, 8));
  DrawSignedBar(*c, TRect(0, 10, 44, 20), 50, 10, false, clRed, clGreen);  // limited to Max
  EXPECT_EQ(BoundingBox(Img(), clGreen), TRect(22, 12, 42, 18));
  const int white = CountColour(Img(), clWhite);
  DrawSignedBar(*c, TRect(50, 0, 90, 10), 5, 0, true, clRed, clGreen);  // Max 0 draws nothing
  EXPECT_EQ(CountColour(Img(), clWhite), white);

  c->Brush()->SetColor(clWhite);  // the ellipse takes the canvas brush
  DrawPieGauge(*c, TRect(60, 0, 81, 21), clBlue, 25, false);
  // A quarter: the upper right sector is filled, the upper left is not.
  EXPECT_TRUE(ExpectPixel(Img(), 74, 5, clBlue));
  EXPECT_TRUE(ExpectPixel(Img(), 66, 5, clWhite));
  EXPECT_TRUE(ExpectPixel(Img(), 74, 15, clWhite));
}

TEST_F(DrawTest, ErrorUnderline) {
  const QString text = "abc";
  const int endX = EditCharPosition(*c, text, 3).X;
  DrawErrorUnderline(*c, text, TRect(10, 10, 100, 30), 5, 7, 2);
  auto lines = trace.OfKind(TraceKind::Line);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0].Points[0], TPoint(10 + endX + 4, 10 + 0 + 5 + 3));
  EXPECT_EQ(lines[0].PenColor, TColor(0xFF));
  EXPECT_EQ(lines[0].PenWidth, 2);
  // Zig-zag under the first two of "abcdef": levels 0 and 3 alternate below the base.
  trace.Clear();
  DrawErrorUnderline(*c, "abcdef", TRect(10, 10, 100, 30), 5, 0, 2);
  lines = trace.OfKind(TraceKind::Line);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0].Points[0], TPoint(10 + 1, 18));
  EXPECT_EQ(lines[0].Points[1], TPoint(10 + 1 + 3, 15));
  EXPECT_EQ(lines[1].Points[1], TPoint(10 + 1 + 6, 18));
}

TEST_F(DrawTest, GlyphLooks) {
  TColorTones tones;
  tones.Background = {clSilver, clBlack, clNavy};
  tones.Hover = {clYellow, clBlack, clNavy};
  // Look 3: tones, drawn by hand.
  PaintDropDownButton(*c, nullptr, TRect(0, 0, 40, 20), tones, 1, 3);
  const int L = 40 - 19 + 3, T = 1;
  EXPECT_TRUE(ExpectPixel(Img(), L + 8, T + 9, clNavy));   // inside the arrow
  EXPECT_TRUE(ExpectPixel(Img(), L + 1, T + 2, clBlack));  // the line inside the left edge
  EXPECT_TRUE(ExpectPixel(Img(), L + 3, T + 2, clYellow)); // hover tone

  trace.Clear();
  PaintPushButtonFace(*c, nullptr, TRect(0, 0, 40, 20), tones, 2, 0);
  auto parts = trace.OfKind(TraceKind::ThemePart);
  ASSERT_EQ(parts.size(), 1u);
  EXPECT_EQ(parts[0].Text, "button");
  EXPECT_EQ(parts[0].Flags, unsigned(BP_PUSHBUTTON | (PBS_PRESSED << 16)));

  {
    TPlatformFactsScope facts;
    PlatformFacts().ThemesActive = false;  // themed look falls back to the classic one
    trace.Clear();
    PaintSpinButtonPair(*c, nullptr, TRect(0, 0, 40, 20), tones, 3, 0);
    auto frames = trace.OfKind(TraceKind::FrameControl);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].Rect, TRect(24, -1, 39, 9));
    EXPECT_EQ(frames[1].Rect, TRect(24, 10, 39, 19));
    EXPECT_EQ(frames[0].Flags, unsigned(DFC_SCROLL | ((DFCS_SCROLLUP | DFCS_INACTIVE) << 16)));
  }
  trace.Clear();
  PaintDropDownButton(*c, nullptr, TRect(0, 0, 40, 20), tones, 0, 2);
  auto frames = trace.OfKind(TraceKind::FrameControl);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].Rect, TRect(21, 1, 38, 19));
  EXPECT_EQ(frames[0].Flags, unsigned(DFC_SCROLL | ((DFCS_SCROLLCOMBOBOX | DFCS_FLAT) << 16)));
}

TEST_F(DrawTest, ResourceBitmap) {
  // dot.png: red, green, blue over white, black, magenta; red (top-left) shows the back colour.
  DrawResourceBitmap(*c, clAqua, TRect(20, 20, 40, 40), "dot.png");
  EXPECT_TRUE(ExpectPixel(Img(), 20, 20, clAqua));
  EXPECT_TRUE(ExpectPixel(Img(), 21, 20, clLime));
  EXPECT_TRUE(ExpectPixel(Img(), 22, 21, clFuchsia));
  EXPECT_TRUE(ExpectPixel(Img(), 23, 20, clWhite));
  const int white = CountColour(Img(), clWhite);
  DrawResourceBitmap(*c, clAqua, TRect(50, 20, 60, 30), "missing");
  EXPECT_EQ(CountColour(Img(), clWhite), white);
}

TEST_F(DrawTest, BitmapOnColour) {
  TBitmap glyph(4, 4);
  glyph.Canvas()->Brush()->SetColor(clFuchsia);
  glyph.Canvas()->FillRect(TRect(0, 0, 4, 4));
  glyph.Canvas()->Brush()->SetColor(clBlack);
  glyph.Canvas()->FillRect(TRect(1, 1, 3, 3));
  glyph.Canvas()->EndPainting();
  DrawBitmapOnColor(*c, glyph, clAqua, TRect(10, 10, 30, 30));
  EXPECT_TRUE(ExpectPixel(Img(), 10, 10, clAqua));
  EXPECT_TRUE(ExpectPixel(Img(), 11, 11, clBlack));
  EXPECT_TRUE(ExpectPixel(Img(), 14, 14, clWhite));  // drawn at its own size
}

}  // namespace
