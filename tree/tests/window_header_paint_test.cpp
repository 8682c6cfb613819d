// Header painting: the background of a header without columns, button edges and their pressed look, the
// caption layout (vertical centring with its limit, shortening, sort arrow order by reading direction), the
// pressed offset and the drop marks; a screenshot of a painted header is written for looking at.
#include <gtest/gtest.h>

#include <QImage>

#include "platform/forms/forms.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"
#include "tree/treecolumns.h"
#include "tree/treecontrol.h"

namespace lazytree {
namespace {

QRgb Rgb(plat::TColor c) {
  const auto v = static_cast<uint32_t>(plat::ColorToRGB(c));  // 0x00BBGGRR
  return qRgb(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF));
}

struct Fixture {
  plat::TForm form{nullptr};
  TBaseLazyTreeControl* tree;
  plat::TBitmap bitmap{400, 19, plat::pf32bit};
  Fixture() {
    form.SetBounds(0, 0, 600, 400);
    tree = new TBaseLazyTreeControl(&form);
    tree->SetParent(&form);
    tree->SetBounds(0, 0, 400, 200);
    H().SetOptions(H().Options() + TLTHeaderOptions{hoVisible});
  }
  TLTHeader& H() { return tree->Header(); }
  TLazyTreeColumns& Cols() { return H().Columns(); }
  void AddColumns(std::initializer_list<const char*> captions, int width = 100) {
    for (const char* c : captions) {
      TLazyTreeColumn* col = Cols().Add();
      col->SetText(QString::fromUtf8(c));
      col->SetWidth(width);
    }
  }
  const QImage& Paint() {
    bitmap.SetSize(400, H().Height());
    H().PaintHeader(bitmap.Canvas(), plat::TRect(0, 0, 400, H().Height()), 0);
    return bitmap.Image();
  }
  QRgb Px(int x, int y) { return bitmap.Image().pixel(x, y) | 0xFF000000u; }
};

TEST(HeaderPaint, WithoutColumnsOnlyTheBackgroundIsPainted) {
  Fixture f;
  f.H().SetBackground(plat::clRed);
  f.Paint();
  for (int x : {0, 150, 399})
    for (int y : {0, 9, 18}) EXPECT_EQ(f.Px(x, y), Rgb(plat::clRed)) << x << "," << y;
  // A hidden header paints nothing.
  f.H().SetOptions(f.H().Options() - TLTHeaderOptions{hoVisible});
  f.bitmap.Canvas()->Brush()->SetColor(plat::clBlue);
  f.bitmap.Canvas()->FillRect(plat::TRect(0, 0, 400, 19));
  f.Paint();
  EXPECT_EQ(f.Px(5, 5), Rgb(plat::clBlue));
}

TEST(HeaderPaint, ButtonsHaveRaisedEdgesAndTheRestIsBackground) {
  Fixture f;
  f.AddColumns({"One", "Two"});
  f.H().SetBackground(plat::clRed);
  f.Paint();
  EXPECT_NE(f.Px(0, 9), f.Px(50, 9));  // an edge on the left of the first button
  EXPECT_EQ(f.Px(50, 1), f.Px(150, 1));
  EXPECT_EQ(f.Px(250, 9), Rgb(plat::clRed));  // right of the last column
  const QImage normal = f.bitmap.Image().copy();
  // A pressed button looks different and moves its caption one pixel right and down.
  const plat::TRect before = f.Cols()[0]->LastTextRect();
  f.H().SetOptions(f.H().Options() + TLTHeaderOptions{hoVisible});
  plat::TMessage down{plat::WM_LBUTTONDOWN, 0, plat::MakeLParam(50, -5), 0};
  f.H().HeaderMessage(down);
  f.Paint();
  EXPECT_NE(f.bitmap.Image().copy(0, 0, 100, 19), normal.copy(0, 0, 100, 19));
  EXPECT_EQ(f.Cols()[0]->LastTextRect().Left, before.Left + 1);
  EXPECT_EQ(f.Cols()[0]->LastTextRect().Top, before.Top + 1);
}

TEST(HeaderPaint, CaptionsAreCentredVerticallyWithinALimit) {
  Fixture f;
  f.AddColumns({"Caption"});
  f.H().SetHeight(20);
  plat::TCanvas* canvas = f.bitmap.Canvas();
  canvas->SetFont(*f.H().Font());
  const int th = canvas->TextHeight(QStringLiteral("Caption"));
  const plat::TRect client(2, 2, 98, 18);
  THeaderLayout l = f.H().LayoutHeaderContent(canvas, *f.Cols()[0], client, false);
  EXPECT_EQ(l.TextRect.Top, 2 + (16 - th) / 2);
  // A caption far taller than the button starts 5 pixels above the inner top, however tall it is.
  f.H().Font()->SetHeight(-60);
  canvas->SetFont(*f.H().Font());
  l = f.H().LayoutHeaderContent(canvas, *f.Cols()[0], client, false);
  EXPECT_EQ(l.TextRect.Top, 2 - 5);
}

TEST(HeaderPaint, TheSortArrowFollowsTheCaptionInReadingOrder) {
  Fixture f;
  f.AddColumns({"Name"}, 150);
  plat::TCanvas* canvas = f.bitmap.Canvas();
  canvas->SetFont(*f.H().Font());
  const plat::TRect client(2, 2, 148, 17);
  THeaderLayout l = f.H().LayoutHeaderContent(canvas, *f.Cols()[0], client, true);
  EXPECT_GE(l.SortGlyphPos.X, l.TextRect.Right);
  f.Cols()[0]->SetBiDiMode(bdRightToLeft);
  l = f.H().LayoutHeaderContent(canvas, *f.Cols()[0], client, true);
  EXPECT_LE(l.SortGlyphPos.X + 16, l.TextRect.Left);
  // Only the arrow: centred.
  f.Cols()[0]->SetText(QString());
  l = f.H().LayoutHeaderContent(canvas, *f.Cols()[0], client, true);
  EXPECT_EQ(l.SortGlyphPos.X, 2 + (146 - 16) / 2);
}

TEST(HeaderPaint, ALongCaptionStaysInsideItsButton) {
  Fixture f;
  f.AddColumns({"A caption much wider than its narrow button"}, 60);
  f.H().SetSortColumn(0);
  f.Paint();
  const plat::TRect r = f.Cols()[0]->LastTextRect();
  EXPECT_LE(r.Right, 2 + 56 - 4 - 16 - 3);  // the margin, the arrow and its spacing are kept free
  // Wrapped captions are broken into lines instead of being shortened.
  TLTColumnOptions o = f.Cols()[0]->Options();
  o.Include(coWrapCaption);
  f.Cols()[0]->SetOptions(o);
  f.H().SetHeight(60);
  f.Paint();
  EXPECT_TRUE(f.Cols()[0]->CaptionText().contains(QLatin1Char('\n')));
}

TEST(HeaderPaint, DropMarksSitAtTheButtonEdges) {
  Fixture f;
  f.AddColumns({"A", "B", "C"});
  // Drag A over the right half of C.
  for (auto [msg, x] : {std::pair{plat::WM_LBUTTONDOWN, 50}, {plat::WM_MOUSEMOVE, 70}, {plat::WM_MOUSEMOVE, 280}}) {
    plat::TMessage m{msg, 0, plat::MakeLParam(x, -5), 0};
    f.H().HeaderMessage(m);
  }
  ASSERT_EQ(f.H().DropTarget(), 2);
  f.Paint();
  const QRgb face = f.Px(240, 3);
  const QRgb shadow = Rgb(plat::clBtnShadow);
  bool markRight = false, markLeft = false;
  for (int x = 300 - 16; x < 300; ++x) markRight |= f.Px(x, 9) == shadow && x > 285;
  for (int x = 200; x < 216; ++x) markLeft |= f.Px(x, 9) == shadow && x > 202;
  EXPECT_TRUE(markRight);
  EXPECT_FALSE(markLeft);
  EXPECT_NE(face, shadow);
}

TEST(HeaderPaint, Screenshot) {
  Fixture f;
  f.AddColumns({"Address", "Medium", "Manufacturer with a long name"}, 110);
  f.H().SetSortColumn(1);
  f.H().SetSortDirection(sdDescending);
  f.H().SetOptions(f.H().Options() + TLTHeaderOptions{hoHotTrack});
  plat::TMessage move{plat::WM_MOUSEMOVE, 0, plat::MakeLParam(260, -5), 0};
  f.H().HeaderMessage(move);
  f.H().SetHeight(22);
  f.Paint().scaled(800, 44).save(QStringLiteral(TEST_BINARY_DIR "/tree_header.png"));
  SUCCEED();
}

}  // namespace
}  // namespace lazytree
