// The metric mapping: tenths of a millimetre with y up, mapped onto pixels by the canvas, text upright.
#include <gtest/gtest.h>

#include <QImage>

#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"
#include "platform/testing/pixels.h"

using namespace plat;
using plat::testing::BoundingBox;
using plat::testing::BoundingBoxExcept;

namespace {

// 254 dots per inch: one logical unit is one pixel; 508: two.
struct MetricCase {
  int dpi;
  TRect logical;
  TRect pixels;
};

class MetricCanvasTest : public ::testing::Test {
 protected:
  MetricCanvasTest() : bmp(120, 120) {
    c = bmp.Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(TRect(0, 0, 120, 120));
  }
  TBitmap bmp;
  TCanvas* c;
};

TEST_F(MetricCanvasTest, FillsAndLinesLandWherePositionsDownThePageAreNegative) {
  const MetricCase cases[] = {
      {254, {10, -10, 30, -30}, {10, 10, 30, 30}},
      {254, {10, -30, 30, -10}, {10, 10, 30, 30}},  // either order of top and bottom
      {508, {5, -5, 15, -20}, {10, 10, 30, 40}},
      {127, {20, -20, 60, -40}, {10, 10, 30, 20}},
  };
  for (const MetricCase& k : cases) {
    c->Brush()->SetColor(clWhite);
    c->SetMapMode(MM_TEXT);
    c->FillRect(TRect(0, 0, 120, 120));
    c->SetMapMode(MM_LOMETRIC, k.dpi);
    c->Brush()->SetColor(clRed);
    c->FillRect(k.logical);
    c->EndPainting();
    EXPECT_EQ(BoundingBox(bmp.Image(), clRed), k.pixels) << k.dpi;
  }
  // A line of pen width 10 (1 mm) at 254 dpi is 10 pixels wide and runs along y = 50.
  c->SetMapMode(MM_TEXT);
  c->Brush()->SetColor(clWhite);
  c->FillRect(TRect(0, 0, 120, 120));
  c->SetMapMode(MM_LOMETRIC, 254);
  c->Pen()->SetColor(clBlue);
  c->Pen()->SetWidth(10);
  c->MoveTo(20, -50);
  c->LineTo(100, -50);
  c->EndPainting();
  const TRect line = BoundingBox(bmp.Image(), clBlue);
  EXPECT_NEAR(line.Height(), 10, 1);
  EXPECT_NEAR((line.Top + line.Bottom) / 2, 50, 1);
  EXPECT_EQ(c->PenPos(), TPoint(100, -50)) << "the pen position stays logical";
}

TEST_F(MetricCanvasTest, TextIsUprightAndMeasuredInLogicalUnits) {
  // The same glyph drawn in pixels and in the metric mode at a resolution where they agree gives the same pixels:
  // a flipped transform would mirror it.
  c->Font()->SetName(QStringLiteral("DejaVu Sans"));
  c->Font()->SetHeight(-40);
  c->Brush()->SetStyle(bsClear);
  c->TextOut(10, 10, QStringLiteral("Fg"));
  c->EndPainting();
  const QImage pixelMode = bmp.Image().copy();

  c->SetMapMode(MM_TEXT);
  c->Brush()->SetColor(clWhite);
  c->FillRect(TRect(0, 0, 120, 120));
  c->SetMapMode(MM_LOMETRIC, 508);
  c->Font()->SetHeight(-20);  // 2 mm = 40 pixels at 508 dpi
  c->Brush()->SetStyle(bsClear);
  c->TextOut(5, -5, QStringLiteral("Fg"));
  c->EndPainting();
  EXPECT_EQ(bmp.Image(), pixelMode);

  const TSize e = c->TextExtent(QStringLiteral("Fg"));
  c->SetMapMode(MM_TEXT);
  c->Font()->SetHeight(-40);
  const TSize px = c->TextExtent(QStringLiteral("Fg"));
  EXPECT_NEAR(e.cx, px.cx / 2, 1);
  EXPECT_NEAR(e.cy, px.cy / 2, 1);
  EXPECT_GT(e.cy, 0) << "heights are lengths, not positions";
}

TEST_F(MetricCanvasTest, DrawTextCalcRectGrowsDownwardsAndClipBoxKeepsTopAboveBottom) {
  c->SetMapMode(MM_LOMETRIC, 254);
  c->Font()->SetHeight(-20);
  TRect r(10, -10, 10, -10);
  const int h = c->DrawText(QStringLiteral("one\rtwo"), r, DT_CALCRECT | DT_NOPREFIX);
  EXPECT_GT(r.Right, r.Left);
  EXPECT_LT(r.Bottom, r.Top) << "the text box goes down the page";
  EXPECT_EQ(r.Top - r.Bottom, h);

  c->IntersectClipRect(TRect(0, -20, 60, -80));
  const TRect clip = c->ClipRect();
  EXPECT_EQ(clip, TRect(0, -20, 60, -80));
  c->SetMapMode(MM_TEXT);
  EXPECT_EQ(c->ClipRect(), TRect(0, 20, 60, 80));
}

}  // namespace
