// The shared painting routines: the band gradient pixel by pixel (bands, overlaps, halves to even), colour
// blending and channel adjustment, gradient boxes and text cutting; and the popup's own background and border.
#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include "dropdown/paint_routines.h"
#include "dropdown/tests/dropdown_fixture.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"
#include "platform/testing/pixels.h"

using namespace plat;
using namespace plat::testing;

namespace dropdown {
namespace {

void Whiten(TBitmap& b) {
  b.Canvas()->Brush()->SetColor(clWhite);
  b.Canvas()->FillRect(TRect(0, 0, b.Width(), b.Height()));
}

TEST(PaintRoutines, GradientBandsStepPerChannelWithHalvesToEven) {
  TBitmap b(50, 12);
  Whiten(b);
  // Four bands over 40 pixels (the last column of the 41-pixel rectangle is left out of the extent): each 10
  // apart and 11 wide, the next band covering the previous one's last column.
  DrawDropDownGradient(*b.Canvas(), RGB(0, 0, 0), RGB(100, 200, 50), true, TRect(0, 0, 41, 10), 4);
  const TColor bands[] = {RGB(0, 0, 0), RGB(25, 50, 12), RGB(50, 100, 25), RGB(75, 150, 38)};
  for (int n = 0; n < 4; ++n) {
    SCOPED_TRACE(n);
    EXPECT_TRUE(ExpectRectFilled(b, TRect(n * 10, 0, n * 10 + 10, 10), bands[n]));
  }
  EXPECT_TRUE(ExpectPixel(b, 40, 5, bands[3]));  // the last band is N(S) + 1 wide
  EXPECT_TRUE(ExpectPixel(b, 41, 5, clWhite));
  EXPECT_TRUE(ExpectPixel(b, 5, 10, clWhite));
}

TEST(PaintRoutines, VerticalGradientAndASingleBand) {
  TBitmap b(20, 30);
  Whiten(b);
  DrawDropDownGradient(*b.Canvas(), RGB(10, 20, 30), RGB(30, 40, 50), false, TRect(0, 0, 10, 21), 2);
  EXPECT_TRUE(ExpectRectFilled(b, TRect(0, 0, 10, 10), RGB(10, 20, 30)));
  EXPECT_TRUE(ExpectRectFilled(b, TRect(0, 10, 10, 21), RGB(20, 30, 40)));
  TBitmap one(20, 10);
  Whiten(one);
  DrawDropDownGradient(*one.Canvas(), clRed, clBlue, true, TRect(0, 0, 20, 10), 0);  // 0 counts as 1
  EXPECT_TRUE(ExpectRectFilled(one, TRect(0, 0, 20, 10), clRed));
}

TEST(PaintRoutines, BlendingAndChannelAdjustment) {
  EXPECT_EQ(BlendColor(clRed, clBlue, 50), RGB(128, 0, 128));  // 127.5 goes to the even 128
  EXPECT_EQ(BlendColor(RGB(1, 2, 3), clBlue, 100), RGB(1, 2, 3));
  EXPECT_EQ(BlendColor(RGB(1, 2, 3), clBlue, 0), clBlue);
  EXPECT_EQ(BlendColor(RGB(10, 10, 10), RGB(20, 20, 20), 25), RGB(18, 18, 18));  // 17.5 to 18
  EXPECT_EQ(AdjustColorChannels(RGB(100, 0, 200), -10, 5, 20), RGB(90, 5, 200));
  EXPECT_EQ(AdjustColorChannels(RGB(0, 50, 0), -5, -250, 0), RGB(0, 0, 0));
}

TEST(PaintRoutines, GradientBoxFillsAndFrames) {
  TBitmap b(30, 20);
  Whiten(b);
  DrawGradientBox(b.Canvas(), TRect(0, 0, 30, 20), clYellow, clNone, true, 1, clBlue);
  EXPECT_TRUE(ExpectPixel(b, 0, 0, clBlue));
  EXPECT_TRUE(ExpectPixel(b, 29, 19, clBlue));
  EXPECT_TRUE(ExpectRectFilled(b, TRect(1, 1, 29, 19), clYellow));
  DrawGradientBox(nullptr, TRect(0, 0, 30, 20), clYellow, clNone, true, 1, clBlue);  // no canvas: nothing
}

TEST(PaintRoutines, TextIsMeasuredAndCut) {
  TBitmap b(10, 10);
  TCanvas& c = *b.Canvas();
  EXPECT_EQ(GetTextSize(c, QString()), TSize(0, 0));
  const QString text = QStringLiteral("A rather long caption");
  const int full = GetTextSize(c, text).cx;
  QString result;
  CutTextToWidth(c, text, full + 5, result, true);
  EXPECT_EQ(result, text);
  CutTextToWidth(c, text, 1, result, true);  // not even "..." fits
  EXPECT_EQ(result, text);
  CutTextToWidth(c, text, full / 2, result, true);
  EXPECT_TRUE(result.endsWith(QStringLiteral("...")));
  EXPECT_LT(GetTextSize(c, result).cx, full / 2);
  EXPECT_EQ(CaseAdjusted(QStringLiteral("aB"), false), QStringLiteral("AB"));
  EXPECT_EQ(CaseAdjusted(QStringLiteral("aB"), true), QStringLiteral("aB"));
}

QImage GrabPopup(TExtCustomDropDown& d) {
  d.ShowDropDown();
  QApplication::processEvents();
  return d.DropDownForm()->Widget()->grab().toImage();
}

TEST(PaintRoutines, PopupPaintsItsBackgroundAndBorder) {
  testing::DropDownForm f;
  f.form->Show();
  auto* d = new TExtCustomDropDown(f.form.get());  // no hosted control: the background shows
  d->SetParent(f.form.get());
  d->DropDownHeader()->SetVisible(false);  // no bars over the background
  d->DropDownFooter()->SetVisible(false);
  d->SetDropDownWidth(100);
  d->SetDropDownHeight(60);
  d->SetDropDownColor(clYellow);
  d->SetDropDownColorTo(clNone);
  d->SetDropDownBorderColor(clBlue);
  QImage img = GrabPopup(*d);
  EXPECT_TRUE(ExpectPixel(img, 0, 0, clBlue));
  EXPECT_TRUE(ExpectPixel(img, 99, 59, clBlue));
  EXPECT_TRUE(ExpectRectFilled(img, TRect(1, 1, 99, 59), clYellow));
  d->HideDropDown(false);
  d->SetDropDownBorderWidth(0);
  img = GrabPopup(*d);
  EXPECT_TRUE(ExpectRectFilled(img, TRect(0, 0, 100, 60), clYellow));
  d->HideDropDown(false);
}

TEST(PaintRoutines, BorderlessPopupGivesItsControlTheWholeClientArea) {
  testing::DropDownForm f;
  f.drop->SetDropDownBorderWidth(0);
  f.drop->DropDownHeader()->SetVisible(false);
  f.drop->DropDownFooter()->SetVisible(false);
  f.form->Show();
  f.drop->ShowDropDown();
  TDropDownForm& popup = *f.drop->DropDownForm();
  EXPECT_EQ(f.drop->Inner->BoundsRect(), TRect(0, 0, popup.Width(), popup.Height()));
}

}  // namespace
}  // namespace dropdown
