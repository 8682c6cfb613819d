// Header painting: the background of a header without columns, button edges and their pressed look, the
// caption layout (vertical centring with its limit, shortening, sort arrow order by reading direction), the
// pressed offset, the drop marks and sort arrows of both looks, the themed items and the last right edge; a
// screenshot of a painted header is written for looking at.
#include <gtest/gtest.h>

#include <QImage>

#include "platform/forms/forms.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"
#include "tree/checkimages.h"
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
    Classic(true);
  }
  // The classic look draws edges and the Background colour; the themed look the theme's header items.
  void Classic(bool On) {
    const TLTPaintOptions paint = tree->TreeOptions().PaintOptions;
    tree->SetPaintOptions(On ? paint - TLTPaintOptions{toThemeAware} : paint + TLTPaintOptions{toThemeAware});
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

// The utility glyph Index drawn over a plain colour.
QImage UtilityGlyph(int Index, plat::TColor Under) {
  plat::TBitmap b(16, 16, plat::pf32bit);
  b.Canvas()->Brush()->SetColor(Under);
  b.Canvas()->FillRect(plat::TRect(0, 0, 16, 16));
  TreeUnitImages(tlUtilities)->Draw(b.Canvas(), 0, 0, Index);
  return b.Image().convertToFormat(QImage::Format_RGB32);
}

// Whether the opaque pixels of utility glyph Index (those alike over black and white) are at (X, Y) of Image.
bool ShowsGlyph(const QImage& Image, int X, int Y, int Index) {
  const QImage black = UtilityGlyph(Index, plat::clBlack), white = UtilityGlyph(Index, plat::clWhite);
  int opaque = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      if (black.pixel(x, y) != white.pixel(x, y)) continue;
      ++opaque;
      if ((Image.pixel(X + x, Y + y) | 0xFF000000u) != black.pixel(x, y)) return false;
    }
  return opaque > 10;
}

TEST(HeaderPaint, DropMarksSitAtTheButtonEdges) {
  struct Case {
    int over, target, x, glyph;  // mouse over x lands on target; the mark's left edge x
  } cases[] = {
      {280, 2, 300 - 16, UtilityDropRight},  // right half of C: after it, 16 pixels left of its right edge
      {210, 2, 200, UtilityDropLeft},        // left half of C: before it, at its left edge
  };
  for (const Case& c : cases) {
    Fixture f;
    f.AddColumns({"A", "B", "C"});
    for (auto [msg, x] : {std::pair{plat::WM_LBUTTONDOWN, 50}, {plat::WM_MOUSEMOVE, 70}, {plat::WM_MOUSEMOVE, c.over}}) {
      plat::TMessage m{msg, 0, plat::MakeLParam(x, -5), 0};
      f.H().HeaderMessage(m);
    }
    ASSERT_EQ(f.H().DropTarget(), c.target) << c.over;
    f.Paint();
    const int y = (f.H().Height() - 16) / 2;
    EXPECT_TRUE(ShowsGlyph(f.bitmap.Image(), c.x, y, c.glyph)) << c.over;
    // The dragged column shows no mark.
    EXPECT_FALSE(ShowsGlyph(f.bitmap.Image(), 0, y, UtilityDropLeft));
    EXPECT_FALSE(ShowsGlyph(f.bitmap.Image(), 100 - 16, y, UtilityDropRight));
  }
}

TEST(HeaderPaint, TheSortArrowIsTheUtilityGlyphOfTheLookAndDirection) {
  struct Case {
    bool themed;
    TSortDirection direction;
    int glyph;
  } cases[] = {
      {false, sdAscending, UtilitySortAscending},
      {false, sdDescending, UtilitySortDescending},
      {true, sdAscending, UtilityThemedSortAscending},
      {true, sdDescending, UtilityThemedSortDescending},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.AddColumns({"", "B"});
    f.Classic(!c.themed);
    f.H().SetSortColumn(0);
    f.H().SetSortDirection(c.direction);
    f.Paint();
    // An arrow alone sits in the middle of the inner client area.
    const int x = 2 + (96 - 16) / 2, y = 2 + (f.H().Height() - 4 - 16) / 2;
    EXPECT_TRUE(ShowsGlyph(f.bitmap.Image(), x, y, c.glyph)) << c.themed << c.direction;
    // The other direction's arrow is not the one shown.
    EXPECT_FALSE(ShowsGlyph(f.bitmap.Image(), x, y, c.glyph ^ 1)) << c.themed << c.direction;
  }
}

TEST(HeaderPaint, ThemedHeadersDrawTheThemesItemsInsteadOfTheBackground) {
  Fixture f;
  f.AddColumns({"One", "Two"});
  f.H().SetBackground(plat::clRed);
  f.Classic(false);
  ASSERT_TRUE(f.tree->TreeStates().Has(tsUseThemes));
  f.Paint();
  EXPECT_NE(f.Px(300, 9), Rgb(plat::clRed));  // the rest of the band is a themed item too
  const QImage normal = f.bitmap.Image().copy(0, 0, 100, 19);
  f.H().SetOptions(f.H().Options() + TLTHeaderOptions{hoHotTrack});
  plat::TMessage move{plat::WM_MOUSEMOVE, 0, plat::MakeLParam(50, -5), 0};
  f.H().HeaderMessage(move);
  f.Paint();
  const QImage hot = f.bitmap.Image().copy(0, 0, 100, 19);
  EXPECT_NE(hot, normal);
  plat::TMessage down{plat::WM_LBUTTONDOWN, 0, plat::MakeLParam(50, -5), 0};
  f.H().HeaderMessage(down);
  f.Paint();
  EXPECT_NE(f.bitmap.Image().copy(0, 0, 100, 19), hot);
  EXPECT_NE(f.bitmap.Image().copy(0, 0, 100, 19), normal);
}

TEST(HeaderPaint, TheLastButtonLeavesItsRightEdgeToTheBevelOnlyWhenItFillsTheRest) {
  struct Case {
    TLTHeaderStyle style;
    bool autoResize;
    TBevelKind bevel;
    bool rightEdge;
  } cases[] = {
      {hsFlatButtons, true, bkTile, false}, {hsFlatButtons, false, bkTile, true}, {hsFlatButtons, true, bkNone, true},
      {hsThickButtons, true, bkTile, true}, {hsPlates, true, bkFlat, true},  // plates have all four edges anyway
  };
  for (const Case& c : cases) {
    Fixture f;
    f.AddColumns({"A", "B"});
    f.H().SetStyle(c.style);
    f.H().SetBackground(plat::clRed);
    f.tree->SetBevelKind(c.bevel);
    f.H().SetAutoSizeIndex(1);
    if (c.autoResize) f.H().SetOptions(f.H().Options() + TLTHeaderOptions{hoAutoResize});
    const int right = f.Cols()[1]->Left() + f.Cols()[1]->Width() - 1;
    f.Paint();
    const QRgb inside = f.Px(right - 5, 9);
    EXPECT_EQ(f.Px(right, 9) != inside, c.rightEdge) << int(c.style) << c.autoResize << int(c.bevel);
    // The first button always has its right edge.
    EXPECT_NE(f.Px(f.Cols()[0]->Width() - 1, 9), f.Px(f.Cols()[0]->Width() - 5, 9));
  }
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
