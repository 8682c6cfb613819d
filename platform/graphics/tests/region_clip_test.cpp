// Regions and the canvas clip: combination, hit tests, and what drawing reaches under a clip.
#include <gtest/gtest.h>

#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/region.h"
#include "platform/testing/pixels.h"

using namespace plat;
using plat::testing::BoundingBox;
using plat::testing::CountColour;

namespace {

TEST(RectTest, HelpersFollowExclusiveEdges) {
  TRect r;
  EXPECT_TRUE(IntersectRect(r, Rect(0, 0, 10, 10), Rect(5, 5, 20, 20)));
  EXPECT_EQ(r, Rect(5, 5, 10, 10));
  EXPECT_FALSE(IntersectRect(r, Rect(0, 0, 10, 10), Rect(10, 0, 20, 10)));  // touching edges share nothing
  EXPECT_EQ(r, TRect());
  EXPECT_TRUE(UnionRect(r, Rect(0, 0, 2, 2), Rect(5, 6, 7, 8)));
  EXPECT_EQ(r, Rect(0, 0, 7, 8));
  EXPECT_TRUE(UnionRect(r, TRect(), Rect(5, 6, 7, 8)));  // empty operand ignored
  EXPECT_EQ(r, Rect(5, 6, 7, 8));
  EXPECT_TRUE(PtInRect(Rect(0, 0, 10, 10), Point(9, 9)));
  EXPECT_FALSE(PtInRect(Rect(0, 0, 10, 10), Point(10, 5)));
  EXPECT_TRUE(IsRectEmpty(Rect(3, 3, 3, 9)));
  EXPECT_TRUE(IsRectEmpty(Rect(5, 0, 3, 9)));
  r = Rect(10, 10, 20, 20);
  InflateRect(r, 2, -3);
  EXPECT_EQ(r, Rect(8, 13, 22, 17));
  OffsetRect(r, -8, 1);
  EXPECT_EQ(r, Rect(0, 14, 14, 18));
  EXPECT_EQ(ToQRect(Rect(1, 2, 4, 6)), QRect(1, 2, 3, 4));
  EXPECT_EQ(FromQRect(QRect(1, 2, 3, 4)), Rect(1, 2, 4, 6));
}

TEST(RegionTest, CombineModes) {
  HRGN a = CreateRectRgn(0, 0, 10, 10);
  HRGN b = CreateRectRgn(5, 0, 15, 10);
  HRGN d = CreateRectRgn(0, 0, 0, 0);
  struct Case {
    int mode;
    int kind;
    TPoint in, out;
  };
  const Case cases[] = {
      {RGN_AND, SIMPLEREGION, {7, 5}, {2, 5}},
      {RGN_OR, SIMPLEREGION, {12, 5}, {15, 5}},
      {RGN_DIFF, SIMPLEREGION, {2, 5}, {7, 5}},
      {RGN_XOR, COMPLEXREGION, {12, 5}, {7, 5}},
      {RGN_COPY, SIMPLEREGION, {0, 0}, {10, 0}},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.mode);
    EXPECT_EQ(CombineRgn(d, a, b, k.mode), k.kind);
    EXPECT_TRUE(PtInRegion(d, k.in.X, k.in.Y));
    EXPECT_FALSE(PtInRegion(d, k.out.X, k.out.Y));
  }
  // The destination may be an operand.
  EXPECT_EQ(CombineRgn(a, a, b, RGN_DIFF), SIMPLEREGION);
  TRect box;
  EXPECT_EQ(GetRgnBox(a, box), SIMPLEREGION);
  EXPECT_EQ(box, Rect(0, 0, 5, 10));
  EXPECT_EQ(CombineRgn(d, a, b, RGN_AND), NULLREGION);
  EXPECT_EQ(CombineRgn(d, a, nullptr, RGN_OR), RGN_ERROR);
  HRGN none;
  EXPECT_EQ(CombineRgn(none, a, b, RGN_OR), RGN_ERROR);
  EXPECT_FALSE(PtInRegion(none, 0, 0));
  EXPECT_TRUE(DeleteObject(a));
  EXPECT_FALSE(a);
}

TEST(RegionTest, PolygonRegionCoversWhatThePolygonFillCovers) {
  const TPoint tri[] = {{0, 0}, {20, 0}, {0, 20}};
  HRGN r = CreatePolygonRgn(tri, WINDING);
  TBitmap bmp(30, 30);
  bmp.Canvas()->Pen()->SetStyle(psClear);
  bmp.Canvas()->Brush()->SetColor(clRed);
  bmp.Canvas()->Polygon(tri);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x)
      EXPECT_EQ(PtInRegion(r, x, y), plat::testing::PixelAt(bmp.Image(), x, y) == clRed) << x << "," << y;
}

class ClipTest : public ::testing::Test {
 protected:
  ClipTest() : bmp(40, 40) { c = bmp.Canvas(); }
  void Paint() {
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(0, 0, 40, 40));
  }
  TBitmap bmp;
  TCanvas* c;
};

TEST_F(ClipTest, IntersectAndExcludeNarrowTheClip) {
  c->IntersectClipRect(Rect(5, 5, 25, 25));
  c->ExcludeClipRect(Rect(10, 10, 15, 15));
  EXPECT_EQ(c->ClipRect(), Rect(5, 5, 25, 25));
  Paint();
  EXPECT_EQ(BoundingBox(bmp, clRed), Rect(5, 5, 25, 25));
  EXPECT_EQ(CountColour(bmp, clRed), 400 - 25);
  EXPECT_EQ(c->Pixels(12, 12), clNone);  // outside the clip
}

TEST_F(ClipTest, SelectClipRgnReplacesAndNullRemoves) {
  c->IntersectClipRect(Rect(0, 0, 5, 5));
  TRegion r(Rect(20, 20, 30, 30));
  c->SelectClipRgn(&r);
  Paint();
  EXPECT_EQ(BoundingBox(bmp, clRed), Rect(20, 20, 30, 30));
  c->SelectClipRgn(nullptr);
  EXPECT_EQ(c->ClipRect(), Rect(0, 0, 40, 40));
  Paint();
  EXPECT_EQ(CountColour(bmp, clRed), 1600);
}

TEST_F(ClipTest, ClipRegionsAreInDeviceCoordinatesAndRectanglesLogical) {
  c->SetWindowOrg(Point(-10, -10));  // logical (0,0) is device (10,10)
  c->IntersectClipRect(Rect(0, 0, 5, 5));
  EXPECT_EQ(c->ClipRect(), Rect(0, 0, 5, 5));
  Paint();
  EXPECT_EQ(BoundingBox(bmp, clRed), Rect(10, 10, 15, 15));
  HRGN dev = CreateRectRgn(0, 0, 4, 4);
  SelectClipRgn(c->Handle(), dev);
  EXPECT_EQ(c->ClipRect(), Rect(-10, -10, -6, -6));
}

TEST_F(ClipTest, RestoreDCBringsBackTheSavedClipAndOrigin) {
  int level = c->SaveDC();
  EXPECT_EQ(level, 1);
  c->IntersectClipRect(Rect(0, 0, 5, 5));
  c->MoveWindowOrg(3, 3);
  c->SaveDC();
  c->ExcludeClipRect(Rect(0, 0, 40, 40));
  EXPECT_TRUE(c->RestoreDC(-1));
  EXPECT_EQ(c->ClipRect(), Rect(-3, -3, 2, 2));
  EXPECT_TRUE(c->RestoreDC(level));
  EXPECT_FALSE(c->HasClip());
  EXPECT_EQ(c->WindowOrg(), TPoint());
  EXPECT_FALSE(c->RestoreDC(1));  // nothing saved any more
  Paint();
  EXPECT_EQ(CountColour(bmp, clRed), 1600);
}

TEST_F(ClipTest, CopyRectHonoursTheCopyMode) {
  TBitmap src(10, 10);
  src.Canvas()->Brush()->SetColor(RGB(0x0F, 0xF0, 0x33));
  src.Canvas()->FillRect(Rect(0, 0, 10, 10));
  c->Brush()->SetColor(RGB(0xFF, 0x00, 0x11));
  c->FillRect(Rect(0, 0, 40, 40));
  struct Case {
    TCopyMode mode;
    TColor expect;
  };
  const Case cases[] = {
      {cmSrcCopy, RGB(0x0F, 0xF0, 0x33)},
      {cmSrcInvert, RGB(0xF0, 0xF0, 0x22)},
      {cmSrcAnd, RGB(0x0F, 0x00, 0x11)},
      {cmSrcPaint, RGB(0xFF, 0xF0, 0x33)},
      {cmNotSrcCopy, RGB(0xF0, 0x0F, 0xCC)},
      {cmBlackness, clBlack},
      {cmWhiteness, clWhite},
  };
  int x = 0;
  for (const auto& k : cases) {
    SCOPED_TRACE(k.mode);
    c->SetCopyMode(k.mode);
    c->CopyRect(Rect(x, 0, x + 4, 4), src.Canvas(), Rect(0, 0, 4, 4));
    EXPECT_TRUE(plat::testing::ExpectRectFilled(bmp, Rect(x, 0, x + 4, 4), k.expect));
    x += 5;
  }
  // Stretching: a 2x2 source into 6x6.
  c->SetCopyMode(cmSrcCopy);
  c->CopyRect(Rect(0, 20, 6, 26), src.Canvas(), Rect(0, 0, 2, 2));
  EXPECT_TRUE(plat::testing::ExpectRectFilled(bmp, Rect(0, 20, 6, 26), RGB(0x0F, 0xF0, 0x33)));
}

}  // namespace
