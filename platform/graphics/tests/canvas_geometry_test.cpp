// Exact pixels of the canvas primitives: the framework's geometry, not Qt's.
#include <gtest/gtest.h>

#include <QImage>

#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"
#include "platform/testing/pixels.h"

using namespace plat;
using plat::testing::BoundingBox;
using plat::testing::CountColour;
using plat::testing::ExpectPixel;
using plat::testing::ExpectRectFilled;

namespace {

class CanvasTest : public ::testing::Test {
 protected:
  CanvasTest() : bmp(40, 40) { c = bmp.Canvas(); }
  TBitmap bmp;
  TCanvas* c;
};

struct LineCase {
  TPoint from, to;
  TRect box;  // pixels the line covers
  int count;
};

TEST_F(CanvasTest, LineToLeavesOutItsEndPixel) {
  const LineCase cases[] = {
      {{2, 5}, {12, 5}, {2, 5, 12, 6}, 10},     // left to right
      {{12, 5}, {2, 5}, {3, 5, 13, 6}, 10},     // right to left: (2,5) not drawn
      {{5, 2}, {5, 12}, {5, 2, 6, 12}, 10},     // down
      {{5, 12}, {5, 2}, {5, 3, 6, 13}, 10},     // up
      {{2, 2}, {12, 12}, {2, 2, 12, 12}, 10},   // diagonal
      {{2, 2}, {23, 9}, {2, 2, 23, 10}, 21},    // shallow
      {{7, 7}, {7, 7}, {}, 0},                  // zero length draws nothing
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(::testing::Message() << k.from.X << "," << k.from.Y << " -> " << k.to.X << "," << k.to.Y);
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, 40, 40));
    c->Pen()->SetColor(clRed);
    c->MoveTo(k.from.X, k.from.Y);
    c->LineTo(k.to.X, k.to.Y);
    EXPECT_EQ(c->PenPos(), k.to);
    EXPECT_EQ(BoundingBox(bmp, clRed), k.box);
    EXPECT_EQ(CountColour(bmp, clRed), k.count);
  }
}

TEST_F(CanvasTest, ConsecutiveLinesJoinWithoutGapOrOverlap) {
  // An L of two LineTo calls: the corner is drawn by the second line.
  c->Pen()->SetColor(clWhite);
  c->Pen()->SetMode(pmXor);  // white on white gives black; an overlap would cancel itself
  c->MoveTo(2, 2);
  c->LineTo(10, 2);
  c->LineTo(10, 10);
  c->Pen()->SetMode(pmCopy);
  EXPECT_EQ(CountColour(bmp, clWhite), 40 * 40 - 16);
  EXPECT_TRUE(ExpectPixel(bmp, 10, 2, clBlack));
  EXPECT_TRUE(ExpectPixel(bmp, 10, 10, clWhite));
}

TEST_F(CanvasTest, RectangleOutlinesInsideAndFillsTheInside) {
  c->Pen()->SetColor(clBlue);
  c->Brush()->SetColor(clYellow);
  c->Rectangle(5, 6, 15, 12);
  EXPECT_EQ(BoundingBox(bmp, clBlue), Rect(5, 6, 15, 12));
  EXPECT_EQ(CountColour(bmp, clBlue), 2 * 10 + 2 * 4);
  EXPECT_TRUE(ExpectRectFilled(bmp, Rect(6, 7, 14, 11), clYellow));
  EXPECT_EQ(CountColour(bmp, clYellow), 8 * 4);
}

TEST_F(CanvasTest, RectangleWithClearPenFillsOnePixelLess) {
  c->Pen()->SetStyle(psClear);
  c->Brush()->SetColor(clGreen);
  c->Rectangle(5, 5, 15, 10);
  EXPECT_EQ(BoundingBox(bmp, clGreen), Rect(5, 5, 14, 9));
  EXPECT_EQ(CountColour(bmp, clGreen), 9 * 4);
}

TEST_F(CanvasTest, RectangleWithClearBrushDrawsOnlyTheOutline) {
  c->Brush()->SetColor(clRed);
  c->FillRect(Rect(0, 0, 40, 40));
  c->Brush()->SetStyle(bsClear);
  c->Pen()->SetColor(clBlack);
  c->Rectangle(Rect(2, 2, 8, 8));
  EXPECT_TRUE(ExpectRectFilled(bmp, Rect(3, 3, 7, 7), clRed));
  EXPECT_EQ(CountColour(bmp, clBlack), 20);
}

TEST_F(CanvasTest, FillRectAndFrameRectCoverExactlyTheRectangle) {
  c->Brush()->SetColor(clNavy);
  c->FillRect(Rect(3, 4, 9, 7));
  EXPECT_EQ(BoundingBox(bmp, clNavy), Rect(3, 4, 9, 7));
  EXPECT_EQ(CountColour(bmp, clNavy), 18);
  c->Brush()->SetColor(clMaroon);
  c->FrameRect(Rect(20, 20, 30, 25));
  EXPECT_EQ(BoundingBox(bmp, clMaroon), Rect(20, 20, 30, 25));
  EXPECT_EQ(CountColour(bmp, clMaroon), 2 * 10 + 2 * 3);
  // Empty and inverted rectangles draw nothing.
  c->Brush()->SetColor(clLime);
  c->FillRect(Rect(10, 10, 10, 20));
  c->FillRect(Rect(10, 10, 5, 20));
  EXPECT_EQ(CountColour(bmp, clLime), 0);
}

TEST_F(CanvasTest, ShapesStayInsideTheirRectangle) {
  struct Shape {
    const char* name;
    std::function<void(TCanvas*)> draw;
  };
  const Shape shapes[] = {
      {"Ellipse", [](TCanvas* k) { k->Ellipse(4, 6, 30, 20); }},
      {"RoundRect", [](TCanvas* k) { k->RoundRect(4, 6, 30, 20, 8, 8); }},
      {"Pie", [](TCanvas* k) { k->Pie(4, 6, 30, 20, 30, 13, 4, 13); }},
  };
  for (const auto& s : shapes) {
    SCOPED_TRACE(s.name);
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, 40, 40));
    c->Pen()->SetColor(clRed);
    c->Brush()->SetColor(clBlue);
    s.draw(c);
    TRect box = plat::testing::BoundingBoxExcept(bmp.Image(), clWhite);
    EXPECT_GE(box.Left, 4);
    EXPECT_GE(box.Top, 6);
    EXPECT_LE(box.Right, 30);
    EXPECT_LE(box.Bottom, 20);
    EXPECT_GT(CountColour(bmp, clBlue), 0);
  }
  // The full ellipse touches all four sides.
  c->Brush()->SetColor(clWhite);
  c->FillRect(Rect(0, 0, 40, 40));
  c->Pen()->SetColor(clRed);
  c->Ellipse(4, 6, 30, 20);
  EXPECT_EQ(plat::testing::BoundingBoxExcept(bmp.Image(), clWhite), Rect(4, 6, 30, 20));
}

TEST_F(CanvasTest, PolygonWithClearPenFillsLikeTheRectangle) {
  c->Pen()->SetStyle(psClear);
  c->Brush()->SetColor(clTeal);
  const TPoint square[] = {{10, 10}, {20, 10}, {20, 20}, {10, 20}};
  c->Polygon(square);
  EXPECT_EQ(BoundingBox(bmp, clTeal), Rect(10, 10, 20, 20));
  EXPECT_EQ(CountColour(bmp, clTeal), 100);
}

TEST_F(CanvasTest, PolygonOutlineIncludesEveryVertex) {
  c->Pen()->SetColor(clBlack);
  c->Brush()->SetColor(clYellow);
  const TPoint tri[] = {{5, 5}, {15, 5}, {10, 10}};
  c->Polygon(tri);
  EXPECT_TRUE(ExpectPixel(bmp, 5, 5, clBlack));
  EXPECT_TRUE(ExpectPixel(bmp, 15, 5, clBlack));
  EXPECT_TRUE(ExpectPixel(bmp, 10, 10, clBlack));
  EXPECT_TRUE(ExpectPixel(bmp, 10, 7, clYellow));
}

TEST_F(CanvasTest, PolylineLeavesOutOnlyTheLastPoint) {
  c->Pen()->SetColor(clBlack);
  const TPoint pts[] = {{2, 2}, {8, 2}, {8, 8}};
  c->Polyline(pts);
  EXPECT_TRUE(ExpectPixel(bmp, 8, 2, clBlack));
  EXPECT_TRUE(ExpectPixel(bmp, 8, 7, clBlack));
  EXPECT_TRUE(ExpectPixel(bmp, 8, 8, clWhite));
  EXPECT_EQ(CountColour(bmp, clBlack), 12);
}

TEST_F(CanvasTest, WidePenIsCentredOnTheLine) {
  c->Pen()->SetColor(clBlack);
  c->Pen()->SetWidth(3);
  c->MoveTo(10, 5);
  c->LineTo(10, 30);
  TRect box = BoundingBox(bmp, clBlack);
  EXPECT_EQ(box.Left, 9);
  EXPECT_EQ(box.Right, 12);
  EXPECT_TRUE(ExpectRectFilled(bmp, Rect(9, 8, 12, 28), clBlack));
}

TEST_F(CanvasTest, DottedPenFillsItsGapsOnlyWithAnOpaqueBackground) {
  c->Brush()->SetColor(clRed);
  c->FillRect(Rect(0, 0, 40, 40));
  c->Pen()->SetColor(clBlack);
  c->Pen()->SetStyle(psDot);
  c->Brush()->SetColor(clYellow);  // solid brush: opaque background in the brush colour
  c->MoveTo(0, 1);
  c->LineTo(12, 1);
  c->Brush()->SetStyle(bsClear);  // clear brush: transparent background
  c->MoveTo(0, 3);
  c->LineTo(12, 3);
  // 3 on, 3 off.
  for (int x = 0; x < 12; ++x) {
    bool on = (x / 3) % 2 == 0;
    EXPECT_TRUE(ExpectPixel(bmp, x, 1, on ? clBlack : clYellow));
    EXPECT_TRUE(ExpectPixel(bmp, x, 3, on ? clBlack : clRed));
  }
}

TEST_F(CanvasTest, XorPenAndFocusRectangleUndoThemselves) {
  c->Brush()->SetColor(clSilver);
  c->FillRect(Rect(5, 5, 25, 25));
  QImage before = bmp.Image().copy();
  c->Pen()->SetColor(clWhite);
  c->Pen()->SetMode(pmXor);
  c->MoveTo(0, 10);
  c->LineTo(30, 10);
  c->DrawFocusRect(Rect(3, 3, 20, 20));
  EXPECT_NE(bmp.Image(), before);
  c->MoveTo(0, 10);
  c->LineTo(30, 10);
  c->DrawFocusRect(Rect(3, 3, 20, 20));
  EXPECT_EQ(bmp.Image().convertToFormat(QImage::Format_RGB32), before.convertToFormat(QImage::Format_RGB32));
}

TEST_F(CanvasTest, FocusRectangleInvertsEveryOtherFramePixel) {
  c->DrawFocusRect(Rect(4, 4, 14, 10));
  // Frame of 10x6 has 28 pixels; half of them change.
  EXPECT_EQ(CountColour(bmp, clBlack), 14);
  EXPECT_EQ(BoundingBox(bmp, clBlack), Rect(4, 4, 14, 10));
  EXPECT_TRUE(ExpectRectFilled(bmp, Rect(5, 5, 13, 9), clWhite));
}

TEST_F(CanvasTest, PixelsReadAndWriteThroughTheOrigin) {
  c->SetPixels(3, 4, clRed);
  EXPECT_EQ(c->Pixels(3, 4), clRed);
  EXPECT_TRUE(ExpectPixel(bmp, 3, 4, clRed));
  EXPECT_EQ(c->Pixels(-1, 0), clNone);
  EXPECT_EQ(c->Pixels(40, 0), clNone);
  c->MoveWindowOrg(10, 20);  // logical (0,0) is device (10,20)
  c->SetPixels(1, 1, clBlue);
  EXPECT_TRUE(ExpectPixel(bmp, 11, 21, clBlue));
  EXPECT_EQ(c->Pixels(1, 1), clBlue);
  c->Brush()->SetColor(clLime);
  c->FillRect(Rect(0, 0, 2, 2));
  EXPECT_EQ(BoundingBox(bmp, clLime), Rect(10, 20, 12, 22));
}

TEST_F(CanvasTest, FloodFillStopsAtTheBorderColour) {
  c->Pen()->SetColor(clBlack);
  c->Brush()->SetStyle(bsClear);
  c->Rectangle(5, 5, 15, 15);
  c->Brush()->SetColor(clRed);
  c->FloodFill(10, 10, clBlack, fsBorder);
  EXPECT_TRUE(ExpectRectFilled(bmp, Rect(6, 6, 14, 14), clRed));
  EXPECT_EQ(CountColour(bmp, clRed), 64);
  c->Brush()->SetColor(clBlue);
  c->FloodFill(0, 0, clWhite, fsSurface);
  EXPECT_EQ(CountColour(bmp, clBlue), 40 * 40 - 100);
  EXPECT_EQ(CountColour(bmp, clRed), 64);
}

TEST_F(CanvasTest, SystemColoursResolveThroughTheTable) {
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(Rect(0, 0, 4, 4));
  EXPECT_TRUE(ExpectPixel(bmp, 0, 0, RGB(0xF0, 0xF0, 0xF0)));
  TColor old = SetSystemColor(COLOR_BTNFACE, RGB(1, 2, 3));
  c->FillRect(Rect(0, 0, 4, 4));
  EXPECT_TRUE(ExpectPixel(bmp, 0, 0, RGB(1, 2, 3)));
  SetSystemColor(COLOR_BTNFACE, old);
}

}  // namespace
