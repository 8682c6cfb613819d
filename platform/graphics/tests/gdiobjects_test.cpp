// Colours, fonts, pens and brushes, and the canvas states they drive.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>

#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"
#include "platform/rtl/exceptions.h"
#include "platform/testing/pixels.h"

using namespace plat;
using plat::testing::BoundingBoxExcept;
using plat::testing::CountColour;

namespace {

TEST(ColorTest, ConversionsAndTheSystemTable) {
  struct Case {
    TColor in, rgb;
  };
  const Case cases[] = {
      {clRed, 0x0000FF},
      {RGB(1, 2, 3), 0x030201},
      {clBtnFace, 0xF0F0F0},
      {clHighlight, RGB(0x33, 0x99, 0xFF)},
      {clInfoBk, RGB(0xFF, 0xFF, 0xE1)},
      {TColor(0xFF000010u), RGB(0xA0, 0xA0, 0xA0)},  // button shadow by number
      {clNone, clNone},                              // markers pass unchanged
      {clDefault, clDefault},
      {SystemColor(200), clBlack},                   // unknown index
  };
  for (const auto& k : cases) EXPECT_EQ(ColorToRGB(k.in), k.rgb) << std::hex << k.in;
  EXPECT_TRUE(IsSystemColor(clWindow));
  EXPECT_FALSE(IsSystemColor(clNone));
  EXPECT_EQ(ToQColor(RGB(10, 20, 30)), QColor(10, 20, 30));
  EXPECT_EQ(ToQColor(clNone).alpha(), 0);
  EXPECT_EQ(FromQColor(QColor(10, 20, 30, 7)), RGB(10, 20, 30));
  EXPECT_EQ(SetSystemColor(COLOR_WINDOW, clYellow), clWhite);
  EXPECT_EQ(ColorToRGB(clWindow), clYellow);
  ResetSystemColors();
  EXPECT_EQ(ColorToRGB(clWindow), clWhite);
}

TEST(FontTest, SizeAndHeightConvertAtNinetySixDpi) {
  struct Case {
    int size, height;
  };
  const Case cases[] = {{8, -11}, {9, -12}, {10, -13}, {12, -16}, {7, -9}};
  for (const auto& k : cases) {
    TFont f;
    f.SetSize(k.size);
    EXPECT_EQ(f.Height(), k.height) << k.size;
    EXPECT_EQ(f.Size(), k.size);
    EXPECT_EQ(f.QtFont().pixelSize(), -k.height);
  }
  // A positive height is the cell height: ascent + descent.
  TFont cell;
  cell.SetName(QStringLiteral("DejaVu Sans"));
  cell.SetHeight(20);
  QFontMetrics fm(cell.QtFont());
  EXPECT_NEAR(fm.ascent() + fm.descent(), 20, 1);
}

TEST(FontTest, ChangesNotifyOnceAndAssignCopiesEverything) {
  TFont f;
  int changes = 0;
  TObject* sender = nullptr;
  f.OnChange = [&](TObject* s) {
    ++changes;
    sender = s;
  };
  f.SetColor(clRed);
  f.SetColor(clRed);  // no change, no event
  f.SetStyle({fsBold, fsUnderline});
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(sender, &f);
  TFont g;
  g.SetName(QStringLiteral("DejaVu Serif"));
  g.SetSize(14);
  g.SetOrientation(900);
  f.Assign(g);
  EXPECT_EQ(changes, 3);
  EXPECT_TRUE(f.IsEqual(g));
  EXPECT_TRUE(f.Style().Empty());
  EXPECT_EQ(f.Size(), 14);
  EXPECT_EQ(f.Orientation(), 900);
  TPen pen;
  EXPECT_THROW(f.Assign(&pen), EConvertError);
  TFont* viaBase = &f;
  viaBase->Assign(static_cast<TPersistent*>(&g));
  EXPECT_EQ(changes, 4);
}

TEST(FontTest, StylesReachTheQtFontAndMissingFacesFallBack) {
  TFont f;
  f.SetName(QStringLiteral("No Such Face 123"));
  f.SetStyle(TFontStyles{fsBold, fsItalic, fsStrikeOut});
  const QFont& q = f.QtFont();
  EXPECT_TRUE(q.bold());
  EXPECT_TRUE(q.italic());
  EXPECT_TRUE(q.strikeOut());
  EXPECT_FALSE(q.underline());
  EXPECT_EQ(QFontInfo(q).family(), QStringLiteral("DejaVu Sans"));
  TFontStyles s{fsBold};
  s = s + TFontStyles{fsItalic} - TFontStyles{fsBold};
  EXPECT_TRUE(s.Contains(fsItalic));
  EXPECT_FALSE(s.Contains(fsBold));
}

TEST(BrushTest, ColourMakesAClearBrushSolidAndDrivesTheBackgroundMode) {
  TBitmap b(10, 10);
  TCanvas* c = b.Canvas();
  EXPECT_EQ(c->BkMode(), OPAQUE);
  c->Brush()->SetStyle(bsClear);
  EXPECT_EQ(c->BkMode(), TRANSPARENT);
  c->Brush()->SetColor(clBlue);
  EXPECT_EQ(c->Brush()->Style(), bsSolid);
  EXPECT_EQ(c->BkMode(), OPAQUE);
  EXPECT_EQ(c->BkColor(), clBlue);
  // A handle-level override holds until the brush changes.
  EXPECT_EQ(SetBkMode(c->Handle(), TRANSPARENT), OPAQUE);
  EXPECT_EQ(c->BkMode(), TRANSPARENT);
  c->Brush()->SetColor(clGreen);
  EXPECT_EQ(c->BkMode(), OPAQUE);
}

TEST(BrushTest, HatchedBrushPaintsOnlyItsLinesWhenTransparent) {
  TBitmap b(16, 16);
  TCanvas* c = b.Canvas();
  c->Brush()->SetColor(clRed);
  c->Brush()->SetStyle(bsHorizontal);
  c->FillRect(Rect(0, 0, 16, 16));
  int red = CountColour(b, clRed);
  EXPECT_GT(red, 0);
  EXPECT_LT(red, 16 * 16);
  EXPECT_EQ(red + CountColour(b, clWhite), 16 * 16);
}

TEST(CanvasTextTest, RotatedTextRunsUpwardsFromItsOrigin) {
  TBitmap b(100, 100);
  TCanvas* c = b.Canvas();
  c->Font()->SetName(QStringLiteral("DejaVu Sans"));
  c->Font()->SetSize(10);
  c->Font()->SetOrientation(900);
  c->Brush()->SetStyle(bsClear);
  c->TextOut(20, 80, QStringLiteral("WWWWWW"));
  TRect box = BoundingBoxExcept(b.Image(), clWhite);
  ASSERT_FALSE(box.IsEmpty());
  EXPECT_GT(box.Height(), box.Width());
  EXPECT_LE(box.Bottom, 81);
  EXPECT_GE(box.Left, 20);
}

TEST(CanvasDeviceTest, DrawsThroughALentPainterWithItsOwnOriginAndClip) {
  QImage img(20, 20, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter painter(&img);
  TCanvas c;
  c.SetPainter(&painter);
  EXPECT_TRUE(c.HandleAllocated());
  EXPECT_EQ(c.DeviceSize(), TSize(20, 20));
  c.MoveWindowOrg(5, 5);
  c.IntersectClipRect(Rect(0, 0, 3, 3));
  c.Brush()->SetColor(clRed);
  c.FillRect(Rect(0, 0, 10, 10));
  c.SetPainter(nullptr);
  painter.end();
  EXPECT_EQ(plat::testing::BoundingBox(img, clRed), Rect(5, 5, 8, 8));
}

TEST(CanvasDeviceTest, WithoutADeviceNothingHappens) {
  TCanvas c;
  EXPECT_FALSE(c.HandleAllocated());
  c.FillRect(Rect(0, 0, 5, 5));
  c.LineTo(3, 3);
  EXPECT_EQ(c.PenPos(), TPoint(3, 3));
  EXPECT_EQ(c.Pixels(0, 0), clNone);
  EXPECT_EQ(c.ClipRect(), TRect());
  TRect r(0, 0, 100, 100);
  EXPECT_GT(c.DrawText(QStringLiteral("x"), r, DT_CALCRECT | DT_SINGLELINE), 0);  // measuring still works
}

}  // namespace

namespace {

TEST(BrushTest, PatternBitmapTilesFromTheBrushOrigin) {
  TBitmap pattern(2, 1);
  pattern.Canvas()->SetPixels(0, 0, clRed);
  pattern.Canvas()->SetPixels(1, 0, clBlue);
  TBitmap b(6, 2);
  TCanvas* c = b.Canvas();
  c->Brush()->SetBitmap(&pattern);
  c->FillRect(Rect(0, 0, 6, 1));
  c->SetBrushOrigin(Point(1, 0));
  c->FillRect(Rect(0, 1, 6, 2));
  for (int x = 0; x < 6; ++x) {
    EXPECT_TRUE(plat::testing::ExpectPixel(b, x, 0, x % 2 == 0 ? clRed : clBlue));
    EXPECT_TRUE(plat::testing::ExpectPixel(b, x, 1, x % 2 == 0 ? clBlue : clRed));
  }
}

}  // namespace
