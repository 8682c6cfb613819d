// The colour picker's panels: the honeycomb (geometry, colours by pixel, frames, hints, mouse), the spectrum
// (its picture by the hue and lightness rule, picking what is displayed, its boxes), the eyedropper pointer,
// and the palette of colour boxes (layout, joined frames, selection and hot box).
#include <QApplication>
#include <QColor>
#include <QImage>
#include <QWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "dropdown/color_panels.h"
#include "dropdown/color_selector.h"
#include "platform/forms/extctrls.h"
#include "platform/forms/forms.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/canvastracer.h"
#include "platform/graphics/graphic.h"
#include "platform/testing/pixels.h"

using namespace plat;
using plat::testing::CountColour;
using plat::testing::ExpectPixel;
using plat::testing::PixelAt;

namespace dropdown {
namespace {

// A shown form holding one panel.
template <class TPanel>
struct Host {
  Host() {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(100, 100, 300, 260);
    form->SetColor(clWhite);
    panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetColor(clWhite);
    if constexpr (requires { panel->OnSelect; })
      panel->OnSelect = [this](TObject* Sender) {
        events += 'S';
        EXPECT_EQ(Sender, panel);
      };
    panel->OnShouldHide = [this](TObject* Sender) {
      events += 'H';
      EXPECT_EQ(Sender, panel);
    };
    form->Show();
    QApplication::processEvents();
  }
  QWidget* widget() const { return panel->Widget(); }
  std::unique_ptr<TForm> form;
  TPanel* panel;
  std::string events;
};

QPoint Q(TPoint p) { return QPoint(p.X, p.Y); }

// ---- the honeycomb ------------------------------------------------------------------------------------------

// The cube's cells as drawn on a white bitmap of its size.
QImage DrawCube(TExtColorCubePanel& cube) {
  TBitmap bmp(182, 160);
  cube.DrawCells(*bmp.Canvas());
  return bmp.Image().copy();
}

TEST(ColorCube, HitTestByDistanceFromTheCentres) {
  TExtColorCubePanel cube(nullptr);
  struct Case {
    int x, y, cell;
  } cases[] = {
      {55, 20, 1},     // the first cell
      {19, 80, 58},    // the first cell of the middle row
      {163, 80, 70},   // the last cell of the middle row
      {55, 140, 121},  // the first cell of the last row
      {127, 140, 127},
      {55, 26, 1},     // exactly the half-width below the centre
      {61, 20, 1},     // exactly the half-width to the right
      {55, 27, -1},    // one pixel farther, and outside the next row's cells
      {0, 0, -1},
      {52, 25, 1},     // inside cell 1 and cell 8: the lower number wins
  };
  for (const Case& c : cases) EXPECT_EQ(cube.CellAtPos(c.x, c.y), c.cell) << c.x << "," << c.y;
  // Rows of 7 to 13 cells, 12 pixels apart; rows 10 pixels apart.
  EXPECT_EQ(cube.CellCenter(2), TPoint(67, 20));
  EXPECT_EQ(cube.CellCenter(8), TPoint(49, 30));
  EXPECT_EQ(cube.CellCenter(71), TPoint(25, 90));
  EXPECT_EQ(cube.CellCenter(0), TPoint());
  EXPECT_EQ(cube.CellColor(128), clNone);
}

TEST(ColorCube, CellsShowTheirColoursByPixel) {
  TExtColorCubePanel cube(nullptr);
  const QImage img = DrawCube(cube);
  struct Case {
    int cell;
    TColor colour;
  } cases[] = {{1, 0x663300}, {7, 0x660000},  {58, 0x003300}, {64, 0xFFFFFF},
               {70, 0x660066}, {100, 0x807CFF}, {121, 0x003366}, {127, 0x2100A5}};
  for (const Case& c : cases) {
    EXPECT_EQ(cube.CellColor(c.cell), c.colour) << c.cell;
    const TPoint p = cube.CellCenter(c.cell);
    // The centre and a point near each of the six corners' inner side.
    for (TPoint d : {TPoint(0, 0), TPoint(-5, 0), TPoint(5, 0), TPoint(0, -5), TPoint(0, 5)})
      EXPECT_TRUE(ExpectPixel(img, p.X + d.X, p.Y + d.Y, c.colour)) << "cell " << c.cell;
  }
  // Nothing is drawn outside the honeycomb's hexagons.
  EXPECT_TRUE(ExpectPixel(img, 5, 5, clWhite));
  EXPECT_TRUE(ExpectPixel(img, 175, 150, clWhite));
}

TEST(ColorCube, SelectedColourFindsItsCellAndFramesIt) {
  TExtColorCubePanel cube(nullptr);
  cube.SetSelectedColor(clWhite);
  EXPECT_EQ(cube.SelectedIndex(), 64);
  const TPoint c = cube.CellCenter(64);
  QImage img = DrawCube(cube);
  // Black outer hexagon (half-width 5), then a white one inside it on the cell's own white.
  EXPECT_TRUE(ExpectPixel(img, c.X - 5, c.Y, clBlack));
  EXPECT_TRUE(ExpectPixel(img, c.X + 5, c.Y, clBlack));
  EXPECT_TRUE(ExpectPixel(img, c.X - 4, c.Y, clWhite));
  EXPECT_TRUE(ExpectPixel(img, c.X - 5, c.Y - 14, 0xFFFFCC));  // the cell above-left keeps its colour

  // A given cell wins over the search; an index out of range searches.
  cube.SetSelection(0x663300, 5);
  EXPECT_EQ(cube.SelectedIndex(), 5);
  cube.SetSelection(0x663300, 128);
  EXPECT_EQ(cube.SelectedIndex(), 1);
  cube.SetSelection(0x663300, 0);
  EXPECT_EQ(cube.SelectedIndex(), 1);

  // A colour of no cell: nothing selected and no frame anywhere (no cell is black).
  cube.SetSelectedColor(0x123456);
  EXPECT_EQ(cube.SelectedIndex(), -1);
  EXPECT_EQ(cube.SelectedColor(), 0x123456);
  EXPECT_EQ(CountColour(DrawCube(cube), clBlack), 0);
}

TEST(ColorCube, HoverMakesTheCellHotWithARedFrameAndAnRgbHint) {
  Host<TExtColorCubePanel> h;
  TExtColorCubePanel& cube = *h.panel;
  cube.ResetCube();
  EXPECT_EQ(cube.Width(), 182);
  EXPECT_EQ(cube.Height(), 160);
  EXPECT_TRUE(cube.ShowHint());
  QTest::mouseMove(h.widget(), Q(cube.CellCenter(1)));
  EXPECT_EQ(cube.HotIndex(), 1);
  EXPECT_EQ(cube.Hint(), QStringLiteral("Red: 0,  Green: 51,  Blue: 102"));
  const TPoint c = cube.CellCenter(1);
  QImage img = DrawCube(cube);
  EXPECT_TRUE(ExpectPixel(img, c.X - 5, c.Y, TColor(0x0000FF)));
  EXPECT_TRUE(ExpectPixel(img, c.X - 4, c.Y, clWhite));

  // Off every cell: the hint empties, the hot cell stays.
  QTest::mouseMove(h.widget(), QPoint(2, 2));
  EXPECT_EQ(cube.HotIndex(), 1);
  EXPECT_TRUE(cube.Hint().isEmpty());
  QTest::mouseMove(h.widget(), Q(cube.CellCenter(64)));
  EXPECT_EQ(cube.Hint(), QStringLiteral("Red: 255,  Green: 255,  Blue: 255"));

  // Without the RGB hint the panel shows none.
  cube.SetShowRGBHint(false);
  EXPECT_FALSE(cube.ShowHint());
  cube.SetHint(QString());
  QTest::mouseMove(h.widget(), Q(cube.CellCenter(2)));
  EXPECT_EQ(cube.HotIndex(), 2);
  EXPECT_TRUE(cube.Hint().isEmpty());
  EXPECT_EQ(h.events, "");

  // ResetCube clears the hot cell.
  cube.ResetCube();
  EXPECT_EQ(cube.HotIndex(), -1);
}

TEST(ColorCube, AnyButtonSelectsOnPressAndAsksToHideOnRelease) {
  Host<TExtColorCubePanel> h;
  TExtColorCubePanel& cube = *h.panel;
  cube.ResetCube();
  QTest::mousePress(h.widget(), Qt::RightButton, {}, Q(cube.CellCenter(64)));
  EXPECT_EQ(cube.SelectedIndex(), 64);
  EXPECT_EQ(cube.SelectedColor(), clWhite);
  EXPECT_EQ(h.events, "S");
  QTest::mouseRelease(h.widget(), Qt::RightButton, {}, Q(cube.CellCenter(64)));
  EXPECT_EQ(h.events, "SH");
  // A press beside the cells selects nothing; its release still asks to hide.
  QTest::mouseClick(h.widget(), Qt::LeftButton, {}, QPoint(2, 150));
  EXPECT_EQ(cube.SelectedIndex(), 64);
  EXPECT_EQ(h.events, "SHH");
  // Cube cells sharing a colour: the pressed cell is the selected one, not the first of its colour.
  QTest::mouseClick(h.widget(), Qt::LeftButton, {}, Q(cube.CellCenter(127)));
  EXPECT_EQ(cube.SelectedIndex(), 127);
  EXPECT_EQ(cube.SelectedColor(), 0x2100A5);
}

// ---- the spectrum -------------------------------------------------------------------------------------------

TEST(ColorSpectrum, PictureFollowsTheHueAndLightnessRule) {
  const QImage& img = TExtColorSpectrumPanel::SpectrumBitmap();
  ASSERT_EQ(img.size(), QSize(128, 128));
  // The pure hues in the middle rows: hue x / 128 of the circle, full saturation.
  struct Hues {
    int x, hue;
  } hues[] = {{0, 1}, {21, 60}, {43, 122}, {64, 181}, {85, 240}, {107, 302}, {127, 359}};
  for (int row : {63, 64}) {
    for (const Hues& c : hues) {
      const QColor q = img.pixelColor(c.x, row);
      EXPECT_NEAR(q.hslHue(), c.hue, 2) << c.x << "," << row;
      EXPECT_GE(q.hslSaturation(), 250) << c.x << "," << row;
      EXPECT_NEAR(q.lightness(), 128, 2) << c.x << "," << row;
    }
  }
  // Column 0 in the middle: red with a touch of green.
  const TColor middle = PixelAt(img, 0, 64);
  EXPECT_GE(GetRValue(middle), 0xFD);
  EXPECT_LE(GetGValue(middle), 8);
  EXPECT_LE(GetBValue(middle), 2);
  // Lightness falls down every column: near white at the top, near black at the bottom.
  for (int x : {0, 50, 100, 127}) {
    const TColor top = PixelAt(img, x, 0), bottom = PixelAt(img, x, 127);
    for (int v : {GetRValue(top), GetGValue(top), GetBValue(top)}) EXPECT_GE(v, 0xFC) << x;
    for (int v : {GetRValue(bottom), GetGValue(bottom), GetBValue(bottom)}) EXPECT_LE(v, 3) << x;
    int last = 256;
    for (int y = 0; y < 128; y += 8) {
      const int l = img.pixelColor(x, y).lightness();
      EXPECT_LT(l, last) << x << "," << y;
      last = l;
    }
  }
  EXPECT_NEAR(img.pixelColor(40, 32).lightness(), 191, 2);
  EXPECT_NEAR(img.pixelColor(40, 96).lightness(), 64, 2);
}

TEST(ColorSpectrum, ArrangePlacesThePictureAndTheTwoBoxes) {
  Host<TExtColorSpectrumPanel> h;
  TExtColorSpectrumPanel& s = *h.panel;
  EXPECT_TRUE(s.SelectedRect().IsEmpty());  // before arranging: no places
  EXPECT_EQ(s.SelectedColor(), clWhite);
  s.ArrangeSpectrum();
  EXPECT_EQ(s.Width(), 150);
  EXPECT_EQ(s.Height(), 174);
  EXPECT_EQ(s.SpectrumImage()->BoundsRect(), TRect(11, 10, 139, 138));
  EXPECT_EQ(s.SelectedRect(), TRect(10, 146, 73, 166));
  EXPECT_EQ(s.HotRect(), TRect(77, 146, 140, 166));
  EXPECT_EQ(s.HotColor(), clNone);

  s.SetSelectedColor(0x00C000);
  const QImage shown = h.widget()->grab().toImage();
  const TPoint picture(11, 10);
  // The picture itself, a white frame and a gray one around it.
  for (TPoint p : {TPoint(0, 0), TPoint(127, 0), TPoint(60, 64), TPoint(127, 127)})
    EXPECT_TRUE(ExpectPixel(shown, picture.X + p.X, picture.Y + p.Y,
                            PixelAt(TExtColorSpectrumPanel::SpectrumBitmap(), p.X, p.Y)));
  EXPECT_TRUE(ExpectPixel(shown, 10, 60, clWhite));
  EXPECT_TRUE(ExpectPixel(shown, 9, 60, TColor(0x808080)));
  EXPECT_TRUE(ExpectPixel(shown, 139, 9, clWhite));
  EXPECT_TRUE(ExpectPixel(shown, 140, 139, TColor(0x808080)));
  // The chosen colour's box: gray outline, white outline, the colour; the hot box is empty (clNone).
  EXPECT_TRUE(ExpectPixel(shown, 9, 150, TColor(0x808080)));
  EXPECT_TRUE(ExpectPixel(shown, 10, 150, clWhite));
  EXPECT_TRUE(ExpectPixel(shown, 40, 156, 0x00C000));
  EXPECT_TRUE(ExpectPixel(shown, 77, 150, clWhite));
  EXPECT_TRUE(ExpectPixel(shown, 100, 156, clWhite));
}

TEST(ColorSpectrum, PicksWhatIsDisplayedUnderThePointer) {
  Host<TExtColorSpectrumPanel> h;
  TExtColorSpectrumPanel& s = *h.panel;
  s.ArrangeSpectrum();
  QWidget* image = s.SpectrumImage()->Widget();
  const QImage& bitmap = TExtColorSpectrumPanel::SpectrumBitmap();
  struct Case {
    int x, y;
  } cases[] = {{0, 1}, {21, 64}, {43, 63}, {85, 100}, {127, 127}};  // (0, 0) would mean the centre
  for (const Case& c : cases) {
    QTest::mouseMove(image, QPoint(c.x, c.y));
    EXPECT_EQ(s.HotColor(), PixelAt(bitmap, c.x, c.y)) << c.x << "," << c.y;
  }
  EXPECT_EQ(h.events, "");
  QTest::mouseMove(image, QPoint(64, 64));
  QTest::mousePress(image, Qt::LeftButton, {}, QPoint(64, 64));
  EXPECT_EQ(s.SelectedColor(), PixelAt(bitmap, 64, 64));
  EXPECT_EQ(h.events, "S");
  QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(64, 64));
  EXPECT_EQ(h.events, "SH");
  // A press that came without a move still takes the colour under it.
  QTest::mousePress(image, Qt::LeftButton, {}, QPoint(43, 64));
  EXPECT_EQ(s.SelectedColor(), PixelAt(bitmap, 43, 64));
  // Dragged past the picture's edge, the pointer reads the frame as displayed: white, then gray.
  QTest::mouseMove(image, QPoint(-1, 40));
  EXPECT_EQ(s.HotColor(), clWhite);
  QTest::mouseMove(image, QPoint(-2, 40));
  EXPECT_EQ(s.HotColor(), TColor(0x808080));
  QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(-2, 40));
  // The panel's own release (beside the picture) asks to hide as well.
  QTest::mouseClick(h.widget(), Qt::LeftButton, {}, QPoint(3, 3));
  EXPECT_EQ(h.events, "SHSHH");
}

TEST(ColorSpectrum, EyedropperPointerIsTwoColouredWithItsTipAtTheHotSpot) {
  const QImage& p = TExtColorSpectrumPanel::PointerImage();
  ASSERT_EQ(p.size(), QSize(32, 32));
  std::set<QRgb> colours;
  QRect drawn;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const QRgb c = p.pixel(x, y);
      if (qAlpha(c) == 0) continue;
      colours.insert(c);
      drawn |= QRect(x, y, 1, 1);
    }
  EXPECT_EQ(colours, (std::set<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)}));
  // The tip at the hot spot, the body up to the upper right.
  EXPECT_NE(qAlpha(p.pixel(TExtColorSpectrumPanel::PointerHotX, TExtColorSpectrumPanel::PointerHotY)), 0);
  EXPECT_LE(drawn.left(), 1);
  EXPECT_GE(drawn.bottom(), 30);
  EXPECT_GE(drawn.right(), 26);
  EXPECT_LE(drawn.top(), 5);
  EXPECT_EQ(qAlpha(p.pixel(2, 2)), 0);
  EXPECT_EQ(qAlpha(p.pixel(29, 29)), 0);

  Host<TExtColorSpectrumPanel> h;
  EXPECT_EQ(h.panel->SpectrumImage()->Cursor(), TExtColorSpectrumPanel::PointerCursor);
  const QCursor cursor = h.panel->SpectrumImage()->Widget()->cursor();
  EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
  EXPECT_EQ(cursor.hotSpot(), QPoint(1, 30));
}

// ---- the palette of colour boxes ----------------------------------------------------------------------------

struct Palette : Host<TCustomColorSelector> {
  Palette() {
    panel->LoadDefaultPalette();
    panel->OnItemSelect = [this](TObject*) { events += 'I'; };
  }
  QImage shown() const { return widget()->grab().toImage(); }
};

TEST(ColorBoxes, DefaultPaletteLayout) {
  Palette p;
  TCustomColorSelector& s = *p.panel;
  ASSERT_EQ(s.Items()->Count(), 60);
  EXPECT_EQ(s.Width(), 165);
  EXPECT_EQ(s.Height(), 84);
  struct Case {
    int box;
    TRect rect;
  } cases[] = {
      {0, TRect(4, 4, 16, 16)},    {1, TRect(20, 4, 32, 16)},    {9, TRect(148, 4, 160, 16)},
      {10, TRect(4, 20, 16, 32)},  // under the first row plus the gap
      {20, TRect(4, 32, 16, 44)},  // rows 2 to 6 touch
      {59, TRect(148, 68, 160, 80)},
  };
  for (const Case& c : cases) EXPECT_EQ(s.GetItemRect(c.box), c.rect) << c.box;
  EXPECT_EQ(s.GetItemRect(60), TRect(-1, -1, -1, -1));
  EXPECT_EQ(s.GetItemRect(-1), TRect(-1, -1, -1, -1));
  // Right and bottom edges belong to no box, nor do the gaps.
  EXPECT_EQ(s.ItemAtPos(4, 4), 0);
  EXPECT_EQ(s.ItemAtPos(15, 15), 0);
  EXPECT_EQ(s.ItemAtPos(16, 4), -1);
  EXPECT_EQ(s.ItemAtPos(20, 4), 1);
  EXPECT_EQ(s.ItemAtPos(4, 17), -1);
  EXPECT_EQ(s.ItemAtPos(4, 31), 10);
  EXPECT_EQ(s.ItemAtPos(4, 32), 20);
  EXPECT_EQ(s.Items()->GetItem(10)->Color(), 0xF2F2F2);
  EXPECT_EQ(s.Items()->GetItem(59)->Color(), 0x064897);
}

TEST(ColorBoxes, ArrangingEmptyOrWithoutColumns) {
  Palette p;
  TCustomColorSelector& s = *p.panel;
  // Rows of at least one box: no column count of 0 (or less) to divide the boxes by.
  s.SetColumns(0);
  s.SetColumns(-3);
  EXPECT_EQ(s.Columns(), 10);
  s.SetColumns(20);
  EXPECT_EQ(s.GetItemRect(10), TRect(164, 4, 176, 16));
  EXPECT_EQ(s.GetItemRect(20), TRect(4, 20, 16, 32));  // the row held stand-alone boxes
  s.SetColorBoxWidth(0);
  EXPECT_EQ(s.ItemAtPos(4, 4), -1);
  s.Items()->Clear();
  s.ArrangeItems();
  EXPECT_EQ(s.Width(), 100);
  EXPECT_EQ(s.Height(), 50);
}

TEST(ColorBoxes, BordersJoinTheBoxesOfAColumn) {
  Palette p;
  const QImage img = p.shown();
  const TColor border = 0xC5C5C5;
  // A stand-alone box is framed on all four sides, its inside is its colour.
  EXPECT_TRUE(ExpectPixel(img, 10, 4, border));
  EXPECT_TRUE(ExpectPixel(img, 10, 15, border));
  EXPECT_TRUE(ExpectPixel(img, 4, 10, border));
  EXPECT_TRUE(ExpectPixel(img, 15, 10, border));
  EXPECT_TRUE(ExpectPixel(img, 10, 10, clWhite));
  // Box 21 (black column, middle) between box 11 (top) and box 31 (middle): no line across the column.
  const TRect top = p.panel->GetItemRect(11), middle = p.panel->GetItemRect(21);
  const int x = top.Left + 6;
  EXPECT_TRUE(ExpectPixel(img, x, top.Top, border));
  EXPECT_TRUE(ExpectPixel(img, x, top.Bottom - 1, 0x7F7F7F));
  EXPECT_TRUE(ExpectPixel(img, x, middle.Top, 0x595959));
  EXPECT_TRUE(ExpectPixel(img, x, middle.Bottom - 1, 0x595959));
  EXPECT_TRUE(ExpectPixel(img, top.Left, top.Bottom - 1, border));
  EXPECT_TRUE(ExpectPixel(img, middle.Right - 1, middle.Top + 5, border));
  // The bottom box closes the strip, its corner included.
  const TRect bottom = p.panel->GetItemRect(51);
  EXPECT_TRUE(ExpectPixel(img, x, bottom.Bottom - 1, border));
  EXPECT_TRUE(ExpectPixel(img, bottom.Right - 1, bottom.Bottom - 1, border));
  EXPECT_TRUE(ExpectPixel(img, bottom.Left, bottom.Bottom - 1, border));
}

TEST(ColorBoxes, SelectionAndHotBoxFrames) {
  Palette p;
  TCustomColorSelector& s = *p.panel;
  s.SetItemIndex(12);
  EXPECT_EQ(s.SelectedColor(), 0xC3D9DD);
  EXPECT_EQ(p.events, "I");
  s.SetItemIndex(12);  // the selected box again: the event fires again
  EXPECT_EQ(p.events, "II");
  s.SetItemIndex(60);  // beyond the boxes: refused
  s.Items()->GetItem(13)->SetEnabled(false);
  s.SetItemIndex(13);  // disabled: refused
  EXPECT_EQ(s.ItemIndex(), 12);
  EXPECT_EQ(p.events, "II");
  s.SetItemIndex(-7);  // below -1 clears like -1, silently, and keeps the colour
  EXPECT_EQ(s.ItemIndex(), -1);
  EXPECT_EQ(s.SelectedColor(), 0xC3D9DD);
  EXPECT_EQ(p.events, "II");

  // SelectedColor finds the first box of the colour (0x7F7F7F stands in rows 2 and 6).
  s.SetSelectedColor(0x7F7F7F);
  EXPECT_EQ(s.ItemIndex(), 11);
  s.SetSelectedColor(0x123456);
  EXPECT_EQ(s.ItemIndex(), -1);
  s.SetSelectedColor(clNone);
  EXPECT_EQ(s.ItemIndex(), -1);

  // Frames by pixel: selected red outside and light yellow inside; hot orange outside.
  s.SetItemIndex(0);
  QTest::mouseMove(p.widget(), QPoint(25, 10));
  EXPECT_EQ(s.ItemHot(), 1);
  QImage img = p.shown();
  EXPECT_TRUE(ExpectPixel(img, 4, 4, TColor(0x0000FF)));
  EXPECT_TRUE(ExpectPixel(img, 5, 5, TColor(0x94E2FF)));
  EXPECT_TRUE(ExpectPixel(img, 6, 6, clWhite));
  EXPECT_TRUE(ExpectPixel(img, 20, 4, TColor(0x3694F2)));
  EXPECT_TRUE(ExpectPixel(img, 21, 5, TColor(0x94E2FF)));
  EXPECT_TRUE(ExpectPixel(img, 22, 6, clBlack));
  // An outer colour of clNone is not drawn and does not shrink the frame.
  s.ColorBoxAppearance()->OuterBorderColorSelected = clNone;
  s.SetItemColorStyle(scCustom);
  img = p.shown();
  EXPECT_TRUE(ExpectPixel(img, 4, 4, TColor(0x94E2FF)));
  EXPECT_TRUE(ExpectPixel(img, 5, 5, clWhite));
  // A named style brings the default border colours back.
  s.SetItemColorStyle(scWindows7);
  EXPECT_EQ(s.ColorBoxAppearance()->OuterBorderColorSelected, TColor(0x0000FF));

  // A disabled box or a gap makes none hot; leaving the selector clears the hot box.
  QTest::mouseMove(p.widget(), QPoint(57, 25));
  EXPECT_EQ(s.ItemHot(), -1);
  QTest::mouseMove(p.widget(), QPoint(10, 25));
  EXPECT_EQ(s.ItemHot(), 10);
  QTest::mouseMove(p.widget(), QPoint(18, 25));
  EXPECT_EQ(s.ItemHot(), -1);
  // A press on an enabled box selects it; on the disabled one nothing.
  QTest::mouseClick(p.widget(), Qt::RightButton, {}, QPoint(40, 40));
  EXPECT_EQ(s.ItemIndex(), 22);
  QTest::mouseClick(p.widget(), Qt::LeftButton, {}, QPoint(57, 25));
  EXPECT_EQ(s.ItemIndex(), 22);
}

TEST(ColorBoxes, MovingTheSelectionAndTheHotBox) {
  Palette p;
  TCustomColorSelector& s = *p.panel;
  s.SelectNext();
  EXPECT_EQ(s.ItemIndex(), 0);
  s.SelectPrevious();
  EXPECT_EQ(s.ItemIndex(), 0);
  s.SelectLast();
  EXPECT_EQ(s.ItemIndex(), 59);
  s.SelectNext();
  EXPECT_EQ(s.ItemIndex(), 59);
  s.SelectFirst();
  EXPECT_EQ(s.ItemIndex(), 0);
  s.HotPrevious();
  EXPECT_EQ(s.ItemHot(), 0);
  s.HotNext();
  s.HotNext();
  EXPECT_EQ(s.ItemHot(), 2);
  TColorBoxItems copy(nullptr);
  copy.Add()->SetColor(clRed);
  s.SetItems(&copy);
  EXPECT_EQ(s.Items()->Count(), 1);
  s.HotNext();
  EXPECT_EQ(s.ItemHot(), 0);
}

// ---- the collections ----------------------------------------------------------------------------------------

TEST(ColorCollections, NotifyOnCaptionAndColourAndAssignCopies) {
  TColorItems items(nullptr);
  int changes = 0;
  items.OnChange = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &items);
    ++changes;
  };
  TColorItem& a = *items.Add();
  a.SetCaption(QStringLiteral("Sea"));
  a.SetColor(0x808000);
  a.SetColor(0x808000);
  a.SetHint(QStringLiteral("h"));
  a.SetEnabled(false);
  EXPECT_EQ(changes, 2);
  TColorItem& b = *items.Add();
  b.Assign(&a);
  EXPECT_EQ(changes, 4);
  EXPECT_EQ(b.Caption(), QStringLiteral("Sea"));
  EXPECT_EQ(b.Color(), 0x808000);
  EXPECT_EQ(b.Hint(), QStringLiteral("h"));
  EXPECT_FALSE(b.Enabled());

  TColorBoxItems boxes(nullptr);
  int boxChanges = 0;
  boxes.OnChange = [&](TObject*) { ++boxChanges; };
  TColorBoxItem& x = *boxes.Add();
  x.SetColor(clRed);
  x.SetColorBoxPos(ipBottom);
  x.SetEnabled(false);
  EXPECT_EQ(boxChanges, 1);
  TColorBoxItem& y = *boxes.Add();
  y.Assign(&x);
  EXPECT_EQ(y.Color(), clRed);
  EXPECT_EQ(y.ColorBoxPos(), ipBottom);
  EXPECT_FALSE(y.Enabled());
  EXPECT_EQ(boxChanges, 2);
}

}  // namespace
}  // namespace dropdown
