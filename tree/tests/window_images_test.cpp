// The expand-button bitmaps in each style and fill, a handler drawing them itself, and dotted lines whose dots
// follow the brush origin.
#include <QImage>

#include <gtest/gtest.h>

#include <string>

#include "platform/forms/forms.h"
#include "platform/graphics/canvas.h"
#include "tree/treecontrol.h"
#include "tree/treeimages.h"

namespace lazytree {
namespace {

using plat::TColor;

QRgb Px(const plat::TBitmap& b, int x, int y) { return b.Image().pixel(x, y) | 0xFF000000u; }
QRgb Rgb(TColor c) { return plat::ToQColor(c).rgb() | 0xFF000000u; }

// The picture of a bitmap, one character per pixel (for failure messages).
std::string Picture(const plat::TBitmap& b) {
  std::string s;
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) s += Px(b, x, y) == Rgb(plat::clFuchsia) ? '.' : '#';
    s += '\n';
  }
  return s;
}

TEST(ButtonImages, ShapesOfEachStyle) {
  TButtonLook look;
  look.Background = plat::clWhite;
  look.TreeLine = plat::clBlue;
  look.NodeFont = plat::clRed;
  TButtonImages images;
  BuildButtonImages(images, look);
  ASSERT_EQ(images.Size, 9);
  const plat::TBitmap& minus = *images.Minus;
  const plat::TBitmap& plus = *images.Plus;
  struct Case {
    const char* name;
    const plat::TBitmap* bitmap;
    int x, y;
    TColor expected;
  };
  const Case cases[] = {
      {"frame", &minus, 0, 0, plat::clBlue},     {"frame, far corner", &minus, 8, 8, plat::clBlue},
      {"face", &minus, 1, 1, plat::clWhite},     {"minus bar", &minus, 4, 4, plat::clRed},
      {"bar start", &minus, 2, 4, plat::clRed},  {"bar end left out", &minus, 7, 4, plat::clWhite},
      {"no upright in minus", &minus, 4, 2, plat::clWhite}, {"plus upright", &plus, 4, 2, plat::clRed},
      {"plus bar", &plus, 2, 4, plat::clRed},
  };
  for (const Case& c : cases) EXPECT_EQ(Px(*c.bitmap, c.x, c.y), Rgb(c.expected)) << c.name << "\n" << Picture(*c.bitmap);
  EXPECT_EQ(images.PlusHot->Image(), plus.Image());
  QImage sheet(20, 9, QImage::Format_RGB32);
  sheet.fill(Qt::white);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) {
      sheet.setPixel(x, y, Px(plus, x, y));
      sheet.setPixel(11 + x, y, Px(minus, x, y));
    }
  sheet.scaled(200, 90).save(QStringLiteral(TEST_BINARY_DIR "/tree_buttons.png"));
  EXPECT_EQ(images.MinusSelectedHot->Image(), minus.Image());

  look.Triangle = true;
  BuildButtonImages(images, look);
  EXPECT_EQ(Px(*images.Plus, 3, 4), Rgb(plat::clBlack)) << Picture(*images.Plus);
  EXPECT_EQ(Px(*images.Plus, 7, 4), Rgb(plat::clFuchsia)) << "points right";
  EXPECT_EQ(Px(*images.Minus, 4, 3), Rgb(plat::clBlack)) << Picture(*images.Minus);
  EXPECT_EQ(Px(*images.Minus, 4, 7), Rgb(plat::clFuchsia)) << "points down";
  EXPECT_EQ(images.Plus->TransparentColor(), plat::clFuchsia);

  look.Triangle = false;
  look.FillMode = 3;  // transparent: the face keeps the prepared colour
  BuildButtonImages(images, look);
  EXPECT_EQ(Px(*images.Minus, 1, 1), Rgb(plat::clFuchsia));
  look.Themed = true;
  BuildButtonImages(images, look);
  bool drawn = false;
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) drawn |= Px(*images.Plus, x, y) != Rgb(plat::clWhite);
  EXPECT_TRUE(drawn) << "the style's closed glyph";
}

TEST(ButtonImages, AHandlerDrawsThemItself) {
  TButtonImages images;
  int calls = 0;
  BuildButtonImages(images, TButtonLook{}, [&](TButtonImages& i, int& size) {
    ++calls;
    EXPECT_EQ(size, 9);
    EXPECT_EQ(Px(*i.MinusHot, 4, 4), Rgb(plat::clFuchsia)) << "prepared empty";
    size = 11;
  });
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(images.Size, 11);
}

struct TreeFixture {
  plat::TForm form{nullptr};
  TBaseLazyTreeControl* tree;
  TreeFixture() {
    tree = new TBaseLazyTreeControl(&form);
    tree->SetParent(&form);
  }
};

TEST(DottedLines, DotsAlternateIncludeBothEndsAndFollowTheBrushOrigin) {
  TreeFixture f;
  QImage image(20, 20, QImage::Format_RGB32);
  image.fill(Qt::green);
  plat::TCanvas canvas(&image);
  canvas.Font()->SetColor(plat::clRed);
  f.tree->DrawHorzDottedLine(&canvas, 10, 2, 3);  // ends in either order
  const QRgb red = Rgb(plat::clRed), back = Rgb(f.tree->Colors().BackGroundColor());
  for (int x = 2; x <= 10; ++x) EXPECT_EQ(image.pixel(x, 3), ((x + 3) % 2 == 0) ? red : back) << x;
  EXPECT_EQ(image.pixel(1, 3), QColor(Qt::green).rgb());
  EXPECT_EQ(image.pixel(11, 3), QColor(Qt::green).rgb());
  // A row drawn with its brush origin one pixel down continues the pattern of the row above.
  canvas.SetBrushOrigin(plat::TPoint(0, 1));
  f.tree->DrawHorzDottedLine(&canvas, 2, 10, 4);
  for (int x = 2; x <= 10; ++x) EXPECT_EQ(image.pixel(x, 4), image.pixel(x, 3)) << x;
  canvas.SetBrushOrigin(plat::TPoint(0, 0));
  f.tree->Colors().SetFocusedSelectionColor(plat::clBlue);
  f.tree->Colors().SetUnfocusedSelectionColor(plat::clYellow);
  f.tree->DrawVertDottedLine(&canvas, 5, 9, 15, true);
  for (int y = 5; y <= 9; ++y)
    EXPECT_EQ(image.pixel(15, y), ((15 + y) % 2 == 0) ? red : Rgb(plat::clYellow)) << y;

  f.tree->SetLineStyle(lsSolid);
  f.tree->DrawHorzDottedLine(&canvas, 0, 19, 12);
  for (int x = 0; x < 20; ++x) EXPECT_EQ(image.pixel(x, 12), red) << x;
  f.tree->OnGetLineStyle = [](TBaseLazyTreeControl*, TLinePattern& bits) { bits.fill(0xFF); };
  f.tree->SetLineStyle(lsCustomStyle);
  f.tree->DrawHorzDottedLine(&canvas, 0, 19, 13);
  for (int x = 0; x < 20; ++x) EXPECT_EQ(image.pixel(x, 13), back) << x;
}

TEST(ButtonImages, TheTreeRebuildsThemWhenTheirSettingsChange) {
  TreeFixture f;
  f.tree->SetPaintOptions(f.tree->TreeOptions().PaintOptions - TLTPaintOptions{toThemeAware});
  f.tree->SetButtonStyle(bsTriangle);
  EXPECT_EQ(Px(*f.tree->ButtonImages().Plus, 3, 4), Rgb(plat::clBlack));
  f.tree->SetButtonStyle(bsRectangle);
  f.tree->Colors().SetTreeLineColor(plat::clLime);
  EXPECT_EQ(Px(*f.tree->ButtonImages().Plus, 0, 0), Rgb(plat::clLime));
}

TEST(PaintingElements, DropMarkShapes) {
  TreeFixture f;
  QImage image(60, 20, QImage::Format_RGB32);
  plat::TCanvas canvas(&image);
  const plat::TRect row(0, 0, 60, 20);
  struct Case {
    TDropMode mode;
    int x, y;
    bool marked;
  };
  const Case cases[] = {
      {dmAbove, 2, 0, true},   {dmAbove, 57, 0, true},  {dmAbove, 30, 1, true},  {dmAbove, 30, 3, false},
      {dmAbove, 3, 4, true},   {dmAbove, 1, 0, false},  {dmBelow, 30, 18, true}, {dmBelow, 30, 15, false},
      {dmBelow, 3, 14, true},  {dmOnNode, 30, 0, false}, {dmNowhere, 30, 18, false},
  };
  for (const Case& c : cases) {
    image.fill(Qt::white);
    f.tree->SetLastDropMode(c.mode);
    f.tree->DrawDropMark(&canvas, nullptr, row);
    EXPECT_EQ(image.pixel(c.x, c.y) == Rgb(f.tree->Colors().DropMarkColor()), c.marked)
        << int(c.mode) << " at " << c.x << "," << c.y;
  }
}

TEST(PaintingElements, RubberBandBlendedOrDotted) {
  TreeFixture f;
  QImage image(40, 40, QImage::Format_ARGB32);
  image.fill(Qt::white);
  plat::TCanvas canvas(&image);
  f.tree->SetDrawSelectionMode(smBlendedRectangle);
  f.tree->Colors().SetSelectionRectangleBlendColor(plat::clBlue);
  f.tree->Colors().SetSelectionRectangleBorderColor(plat::clRed);
  f.tree->DrawSelectionFrame(&canvas, 0, plat::Rect(0, 0, 40, 40), plat::Rect(30, 30, 10, 10));  // unordered
  EXPECT_EQ(image.pixel(10, 10) | 0xFF000000u, Rgb(plat::clRed)) << "the frame";
  const QRgb inside = image.pixel(20, 20);
  EXPECT_GT(qBlue(inside), qRed(inside)) << "blended toward blue";
  EXPECT_EQ(image.pixel(5, 5), QColor(Qt::white).rgba()) << "outside untouched";
}

TEST(PaintingElements, PanningImageRegionFromRuns) {
  QImage image(4, 2, QImage::Format_RGB32);
  image.fill(plat::ToQColor(plat::clFuchsia));
  image.setPixel(1, 0, qRgb(0, 0, 0));
  image.setPixel(2, 0, qRgb(0, 0, 0));
  image.setPixel(3, 1, qRgb(0, 0, 0));  // a run still open at the row's end
  const plat::TRegion r = PanningImageRegion(image);
  EXPECT_TRUE(r.Contains({1, 0}));
  EXPECT_TRUE(r.Contains({2, 0}));
  EXPECT_FALSE(r.Contains({0, 0}));
  EXPECT_FALSE(r.Contains({3, 0}));
  EXPECT_TRUE(r.Contains({3, 1}));
  EXPECT_THROW(PanningImageRegion(QImage()), ELazyTreeAssertion);
}

// A row of the first child of the second of three expanded top-level nodes: levels ltTopDown, ltTopDownRight.
TEST(PaintingElements, TreeLinesAndBands) {
  TreeFixture f;
  TBaseLazyTreeControl& t = *f.tree;
  t.SetLineStyle(lsSolid);
  t.Colors().SetTreeLineColor(plat::clRed);
  t.Colors().SetGridLineColor(plat::clBlue);
  t.SetRootNodeCount(3);
  PLazyNode second = t.GetFirst()->NextSibling;
  t.SetChildCount(second, 2);
  t.ToggleNode(second);
  PLazyNode child = second->FirstChild;
  std::vector<TLTLineType> lines;
  t.ComputeLineImage(child, lines);
  ASSERT_EQ(lines, (std::vector<TLTLineType>{ltTopDown, ltTopDownRight}));
  QImage image(60, 18, QImage::Format_RGB32);
  plat::TCanvas canvas(&image);
  auto draw = [&](bool grid) {
    image.fill(Qt::white);
    t.DrawTreeLines(&canvas, child, plat::Rect(0, 0, 60, 18), 9, lines, grid);
  };
  draw(false);
  struct Case {
    int x, y;
    bool line;
  };
  const Case normal[] = {{9, 0, true},   {9, 17, true},  {27, 3, true},  {27, 17, true}, {30, 8, true},
                         {36, 8, true},  {37, 8, false}, {20, 8, false}, {0, 5, false},  {45, 8, false}};
  for (const Case& c : normal) EXPECT_EQ(image.pixel(c.x, c.y) == Rgb(plat::clRed), c.line) << c.x << "," << c.y;
  int levels = 0;
  t.OnBeforeDrawTreeLine = [&](TBaseLazyTreeControl*, PLazyNode, int level, int& x) {
    EXPECT_EQ(level, levels++);
    x += 2;
  };
  draw(false);
  EXPECT_EQ(levels, 2);
  EXPECT_EQ(image.pixel(11, 5), Rgb(plat::clRed)) << "moved by the handler";
  EXPECT_EQ(image.pixel(31, 5), Rgb(plat::clRed)) << "the next level starts from the moved position";
  t.OnBeforeDrawTreeLine = nullptr;

  t.SetLineMode(lmBands);
  draw(false);
  EXPECT_EQ(image.pixel(0, 5), QColor(Qt::white).rgb()) << "bands need grid lines";
  draw(true);
  // A leaf that is not the last child: level 0 keeps the band on the left, level 1 closes its row at the bottom.
  EXPECT_EQ(image.pixel(0, 5), Rgb(plat::clBlue));
  EXPECT_EQ(image.pixel(18, 5), Rgb(plat::clBlue));
  EXPECT_EQ(image.pixel(25, 17), Rgb(plat::clBlue)) << "bottom edge of the level-1 band";
  EXPECT_EQ(image.pixel(9, 5), QColor(Qt::white).rgb());
}

TEST(PaintingElements, ExpandButtonsPickTheirBitmap) {
  TreeFixture f;
  TBaseLazyTreeControl& t = *f.tree;
  const TColor colours[6] = {plat::clRed, plat::clLime, plat::clBlue, plat::clYellow, plat::clAqua, plat::clBlack};
  t.OnPrepareButtonBitmaps = [&](TBaseLazyTreeControl*, TButtonImages& i, int&) {
    plat::TBitmap* all[6] = {i.Plus.get(), i.PlusHot.get(), i.PlusSelectedHot.get(),
                             i.Minus.get(), i.MinusHot.get(), i.MinusSelectedHot.get()};
    for (int k = 0; k < 6; ++k) {
      all[k]->Canvas()->Brush()->SetColor(colours[k]);
      all[k]->Canvas()->FillRect(plat::Rect(1, 1, 8, 8));  // the edge stays keyed: transparent
    }
  };
  t.BuildButtonAndLineImages(true, false);
  t.SetRootNodeCount(1);
  PLazyNode n = t.GetFirst();
  t.SetChildCount(n, 1);
  QImage image(40, 20, QImage::Format_RGB32);
  plat::TCanvas canvas(&image);
  struct Case {
    bool expanded, hot, selected;
    TColor expected;
  };
  const Case cases[] = {{false, false, false, plat::clRed},  {false, true, false, plat::clLime},
                        {false, true, true, plat::clBlue},   {true, false, true, plat::clYellow},
                        {true, true, false, plat::clAqua},   {true, true, true, plat::clBlack}};
  for (const Case& c : cases) {
    image.fill(Qt::white);
    t.SetExpanded(n, c.expanded);
    if (c.selected)
      t.AddToSelection(n);
    else
      t.RemoveFromSelection(n);
    t.DrawExpandButton(&canvas, n, plat::Rect(10, 0, 40, 18), 5, 4, c.hot);
    EXPECT_EQ(image.pixel(19, 8), Rgb(c.expected)) << c.expanded << c.hot << c.selected;
    EXPECT_EQ(image.pixel(15, 4), QColor(Qt::white).rgb()) << "the keyed edge shows what lies below";
  }
}

TEST(PaintingElements, NodeImagesFromTheEventsBlendedGreyedAndOverlaid) {
  TreeFixture f;
  TBaseLazyTreeControl& t = *f.tree;
  auto* list = new plat::TImageList(&f.form);
  list->SetWidth(4);
  list->SetHeight(4);
  QImage red(4, 4, QImage::Format_ARGB32), dot(4, 4, QImage::Format_ARGB32);
  red.fill(Qt::red);
  dot.fill(Qt::transparent);
  dot.setPixel(0, 0, qRgba(0, 255, 0, 255));
  list->AddImage(red);
  list->AddImage(dot);
  auto* states = new plat::TImageList(&f.form);
  t.SetImages(list);
  t.SetStateImages(states);
  t.SetRootNodeCount(1);
  PLazyNode n = t.GetFirst();

  bool ghosted = false;
  int index = -1;
  EXPECT_EQ(t.QueryImageIndex(n, ikNormal, NoColumn, ghosted, index), nullptr) << "no handler";
  t.OnGetImageIndex = [](TBaseLazyTreeControl*, PLazyNode, TLTImageKind kind, TColumnIndex, bool&, int& i) {
    i = kind == ikOverlay ? 1 : 0;
  };
  TLTImageInfo info;
  t.FetchImageInfo(n, NoColumn, ikNormal, info, list);
  EXPECT_EQ(info.Index, 0);
  EXPECT_EQ(info.Images, list);
  plat::TCustomImageList* seen = nullptr;
  t.OnGetImageIndexEx = [&](TBaseLazyTreeControl*, PLazyNode, TLTImageKind, TColumnIndex, bool&, int& i,
                            plat::TCustomImageList*& l) {
    seen = l;
    i = 0;
  };
  t.FetchImageInfo(n, NoColumn, ikState, info, nullptr);
  EXPECT_EQ(seen, states) << "the state list is the preset for state images";
  t.OnGetImageIndexEx = nullptr;

  QImage image(10, 10, QImage::Format_ARGB32);
  plat::TCanvas canvas(&image);
  t.FetchImageInfo(n, NoColumn, ikNormal, info, list);
  info.XPos = 2;
  info.YPos = 2;
  auto draw = [&](bool overlay) {
    image.fill(Qt::white);
    t.DrawNodeImage(&canvas, n, NoColumn, info, overlay);
  };
  draw(false);
  EXPECT_EQ(image.pixel(3, 3), qRgb(255, 0, 0));
  draw(true);
  EXPECT_EQ(image.pixel(2, 2), qRgb(0, 255, 0)) << "overlay on top";
  EXPECT_EQ(image.pixel(3, 3), qRgb(255, 0, 0));
  t.SetPaintOptions(t.TreeOptions().PaintOptions + TLTPaintOptions{toGhostedIfUnfocused});
  t.Colors().SetFocusedSelectionColor(plat::clBlue);
  t.AddToSelection(n);
  draw(false);
  EXPECT_GT(qBlue(image.pixel(3, 3)), 0) << "blended with the selection colour";
  EXPECT_GT(qRed(image.pixel(3, 3)), 0);
  t.RemoveFromSelection(n);
  t.SetDisabled(n, true);
  draw(false);
  const QRgb grey = image.pixel(3, 3);
  EXPECT_EQ(qRed(grey), qGreen(grey)) << "disabled: grey";
}

}  // namespace
}  // namespace lazytree
