// The background picture behind and below the rows (tiled and static, transparent), the full-row selection
// erase, the bevel and border ring and the header rectangle.
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <string>

#include <gtest/gtest.h>

#include "platform/forms/forms.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/canvastracer.h"
#include "platform/graphics/classic.h"
#include "tree/checkstate.h"
#include "tree/treecontrol.h"

namespace lazytree {
namespace {

using plat::TRect;

struct Fixture {
  plat::TForm form{nullptr};
  TBaseLazyTreeControl* tree;
  Fixture() {
    form.SetBounds(0, 0, 500, 400);
    tree = new TBaseLazyTreeControl(&form);
    tree->SetParent(&form);
    tree->SetBounds(0, 0, 300, 200);
    tree->SetPaintOptions(tree->TreeOptions().PaintOptions + TLTPaintOptions{toShowBackground});
  }
  QImage Paint(TRect window, TLTInternalPaintOptions options = WindowPaintOptions) {
    QImage image(window.Width(), window.Height(), QImage::Format_ARGB32);
    image.fill(Qt::magenta);
    plat::TCanvas canvas(&image);
    tree->PaintTree(&canvas, window, {0, 0}, options);
    return image;
  }
};

// A 5 x 3 picture whose every pixel differs, so a wrong tile position shows.
QImage PicturePixels() {
  QImage image(5, 3, QImage::Format_RGB32);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) image.setPixel(x, y, qRgb(40 * x + 10, 90 * y + 5, 77));
  return image;
}

void SetPicture(TBaseLazyTreeControl& tree, const QImage& pixels, bool transparent = false) {
  plat::TBitmap bitmap;
  bitmap.SetImage(pixels);
  if (transparent) {
    bitmap.SetTransparentColor(plat::clWhite);
    bitmap.SetTransparent(true);
  }
  plat::TPicture picture;
  picture.SetGraphic(&bitmap);
  tree.SetBackground(picture);
}

int Wrap(int v, int n) { return ((v % n) + n) % n; }

TEST(Background, TilesStayInPlaceAcrossRowsAndTheAreaBelow) {
  const QImage pixels = PicturePixels();
  struct Case {
    TRect window;
    int offsetX, offsetY;
  } cases[] = {
      {TRect(0, 0, 120, 90), 0, 0},
      {TRect(0, 7, 120, 90), 0, 0},      // the window starts inside a row
      {TRect(0, 0, 120, 90), 3, -4},     // offsets move the tiles, negative ones wrap
      {TRect(0, 30, 120, 100), -7, 11},  // several rows out of view
  };
  for (const Case& c : cases) {
    Fixture f;
    TBaseLazyTreeControl& t = *f.tree;
    t.SetPaintOptions(t.TreeOptions().PaintOptions - TLTPaintOptions{toShowTreeLines, toShowRoot});
    t.SetRootNodeCount(3);  // 54 pixels of rows, the rest is the area below them
    SetPicture(t, pixels);
    t.SetBackgroundOffsetX(c.offsetX);
    t.SetBackgroundOffsetY(c.offsetY);
    const QImage image = f.Paint(c.window);
    int wrong = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        wrong += image.pixel(x, y) != pixels.pixel(Wrap(x + c.offsetX, 5), Wrap(y + c.offsetY, 3));
    EXPECT_EQ(wrong, 0) << "window top " << c.window.Top << " offsets " << c.offsetX << "," << c.offsetY;
  }
}

TEST(Background, StaticPictureOnceAndTransparentPartsShowTheColour) {
  Fixture f;
  TBaseLazyTreeControl& t = *f.tree;
  t.SetPaintOptions(t.TreeOptions().PaintOptions + TLTPaintOptions{toStaticBackground});
  t.SetColor(plat::clYellow);
  t.SetRootNodeCount(2);
  QImage pixels = PicturePixels();
  pixels.setPixel(1, 1, qRgb(255, 255, 255));
  SetPicture(t, pixels, true);
  t.SetBackgroundOffsetX(50);
  t.SetBackgroundOffsetY(16);  // straddles the first two rows
  const QImage image = f.Paint(TRect(0, 0, 100, 60));
  const QRgb yellow = qRgb(255, 255, 0);
  for (int y = 16; y < 19; ++y)
    for (int x = 50; x < 55; ++x)
      if (x != 51 || y != 17) {
        EXPECT_EQ(image.pixel(x, y), pixels.pixel(x - 50, y - 16)) << x << "," << y;
      }
  EXPECT_EQ(image.pixel(51, 17), yellow) << "the transparent colour shows the control's colour";
  EXPECT_EQ(image.pixel(55, 17), yellow) << "right of the picture";
  EXPECT_EQ(image.pixel(52, 40), yellow) << "below it, in the area below the rows";
  EXPECT_EQ(image.pixel(49, 16), yellow);
}

TEST(Background, OnlyWithTheOptionTheSettingAndABitmap) {
  struct Case {
    bool option, passOption, picture;
  } cases[] = {{false, true, true}, {true, false, true}, {true, true, false}};
  for (const Case& c : cases) {
    Fixture f;
    TBaseLazyTreeControl& t = *f.tree;
    if (!c.option) t.SetPaintOptions(t.TreeOptions().PaintOptions - TLTPaintOptions{toShowBackground});
    if (c.picture) SetPicture(t, PicturePixels());
    t.SetRootNodeCount(1);
    TLTInternalPaintOptions options = WindowPaintOptions;
    if (!c.passOption) options.Exclude(poBackground);
    const QImage image = f.Paint(TRect(0, 0, 80, 40), options);
    EXPECT_EQ(image.pixel(60, 5), plat::ToQColor(t.Colors().BackGroundColor()).rgba());
    EXPECT_EQ(image.pixel(60, 30), plat::ToQColor(t.Colors().BackGroundColor()).rgba());
  }
}

TEST(Background, FullRowSelectionErasesTheRowInTheSelectionColour) {
  Fixture f;
  TBaseLazyTreeControl& t = *f.tree;
  t.SetPaintOptions(t.TreeOptions().PaintOptions - TLTPaintOptions{toShowBackground});
  t.SetSelectionOptions(t.TreeOptions().SelectionOptions + TLTSelectionOptions{toFullRowSelect});
  t.Colors().SetUnfocusedSelectionColor(plat::clAqua);
  t.Colors().SetUnfocusedSelectionBorderColor(plat::clNavy);
  t.SetRootNodeCount(3);
  t.AddToSelection(t.GetFirst()->NextSibling);
  QImage image = f.Paint(TRect(0, 0, 120, 54));
  EXPECT_EQ(image.pixel(100, 27), plat::ToQColor(plat::clAqua).rgba()) << "inside the selected row";
  EXPECT_EQ(image.pixel(100, 18), plat::ToQColor(plat::clNavy).rgba()) << "its outline";
  EXPECT_EQ(image.pixel(100, 9), plat::ToQColor(t.Colors().BackGroundColor()).rgba()) << "an unselected row";
  // Blended selections leave the erase to the background colour.
  t.SetPaintOptions(t.TreeOptions().PaintOptions + TLTPaintOptions{toUseBlendedSelection});
  image = f.Paint(TRect(0, 0, 120, 54));
  EXPECT_NE(image.pixel(100, 27), plat::ToQColor(plat::clAqua).rgba());
}

// The ring on a 60 x 40 control: which pixels take the border colour.
TEST(BorderRing, OnlyTheRingBetweenBevelAndClientTakesTheBorderColour) {
  struct Case {
    plat::TFormBorderStyle style;
    TBevelKind kind;
    TBevelEdges edges;
    int borderWidth;
    int left, top, right, bottom;  // the ring's outer edges; its inner edges are borderWidth further in
  } cases[] = {
      {plat::bsNone, bkNone, {beLeft, beTop, beRight, beBottom}, 3, 0, 0, 60, 40},
      {plat::bsSingle, bkNone, {beLeft, beTop, beRight, beBottom}, 2, 2, 2, 58, 38},  // inside the client edge
      {plat::bsNone, bkFlat, {beLeft, beTop, beRight, beBottom}, 2, 2, 2, 58, 38},    // inside a 2-pixel bevel
      {plat::bsNone, bkFlat, {beLeft, beTop}, 2, 2, 2, 60, 40},                       // bevel on two sides only
  };
  for (const Case& c : cases) {
    Fixture f;
    TBaseLazyTreeControl& t = *f.tree;
    t.SetBounds(0, 0, 60, 40);
    t.SetBorderStyle(c.style);
    t.SetBevelKind(c.kind);
    t.SetBevelEdges(c.edges);
    t.SetBorderWidth(c.borderWidth);
    t.Colors().SetBorderColor(plat::clRed);
    QImage image(60, 40, QImage::Format_ARGB32);
    image.fill(Qt::magenta);
    plat::TCanvas canvas(&image);
    t.DrawBorderAndBevel(&canvas);
    const QRect outer(c.left, c.top, c.right - c.left, c.bottom - c.top);
    const QRect inner = outer.adjusted(c.borderWidth, c.borderWidth, -c.borderWidth, -c.borderWidth);
    int wrong = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 60; ++x) {
        const bool ring = outer.contains(x, y) && !inner.contains(x, y);
        const QRgb p = image.pixel(x, y);
        if (ring)
          wrong += p != qRgb(255, 0, 0);
        else if (inner.contains(x, y))
          wrong += p != QColor(Qt::magenta).rgba();
        else
          wrong += p == qRgb(255, 0, 0);  // bevel or window edge, never the border colour
      }
    EXPECT_EQ(wrong, 0) << "case " << (&c - cases);
  }
}

TEST(BorderRing, BevelFlagsFollowKindCutsAndEdges) {
  using namespace plat;
  struct Case {
    TBevelKind kind;
    TBevelCut inner, outer;
    TBevelEdges edges;
    bool ctl3d;
    unsigned edge, flags;
  } cases[] = {
      {bkTile, bvRaised, bvLowered, {beLeft, beTop, beRight, beBottom}, true, BDR_RAISEDINNER | BDR_SUNKENOUTER,
       BF_RECT},
      {bkSoft, bvLowered, bvNone, {beTop}, true, BDR_SUNKENINNER, BF_TOP | BF_SOFT},
      {bkFlat, bvSpace, bvRaised, {beRight, beBottom}, false, BDR_RAISEDOUTER, BF_RIGHT | BF_BOTTOM | BF_FLAT | BF_MONO},
  };
  for (const Case& c : cases) {
    Fixture f;
    TBaseLazyTreeControl& t = *f.tree;
    t.SetBorderStyle(bsNone);
    t.SetCtl3D(c.ctl3d);
    t.SetBevelKind(c.kind);
    t.SetBevelInner(c.inner);
    t.SetBevelOuter(c.outer);
    t.SetBevelEdges(c.edges);
    QImage image(300, 200, QImage::Format_ARGB32);
    TCanvas canvas(&image);
    TRecordingTracer tracer;
    canvas.SetTracer(&tracer);
    t.DrawBorderAndBevel(&canvas);
    const auto edges = tracer.OfKind(TraceKind::Edge);
    ASSERT_EQ(edges.size(), 1u);
    EXPECT_EQ(edges[0].Flags, c.edge | (c.flags << 16)) << "case " << (&c - cases);
    EXPECT_EQ(edges[0].Rect, TRect(0, 0, 300, 200));
    EXPECT_EQ(tracer.Count(TraceKind::FillRect), 0) << "no border width, no ring";
  }
  Fixture plain;
  QImage image(300, 200, QImage::Format_ARGB32);
  TCanvas canvas(&image);
  TRecordingTracer tracer;
  canvas.SetTracer(&tracer);
  plain.tree->DrawBorderAndBevel(&canvas);
  EXPECT_TRUE(tracer.Records.empty()) << "no bevel and no border width: nothing";
}

TEST(HeaderRect, InsideBorderAndBevelAndCollapsedToNothing) {
  struct Case {
    plat::TFormBorderStyle style;
    TBevelKind kind;
    TBevelEdges edges;
    int borderWidth, width;
    bool visible;
    TRect expected;
  } cases[] = {
      {plat::bsNone, bkNone, {beLeft, beTop}, 0, 300, true, TRect(0, 0, 300, 20)},
      {plat::bsSingle, bkNone, {beLeft, beTop}, 3, 300, true, TRect(5, 5, 295, 25)},
      {plat::bsNone, bkTile, {beLeft, beTop, beRight, beBottom}, 1, 300, true, TRect(2, 2, 298, 22)},
      {plat::bsNone, bkTile, {beTop}, 1, 300, true, TRect(1, 2, 299, 22)},  // the left bevel counts on both sides
      {plat::bsNone, bkNone, {beLeft, beTop}, 0, 300, false, TRect(0, 0, 300, 0)},
      {plat::bsSingle, bkNone, {beLeft, beTop}, 4, 10, true, TRect(0, 0, 0, 0)},  // narrower than its frame
  };
  for (const Case& c : cases) {
    Fixture f;
    TBaseLazyTreeControl& t = *f.tree;
    t.SetBounds(0, 0, c.width, 200);
    t.SetBorderStyle(c.style);
    t.SetBevelKind(c.kind);
    t.SetBevelEdges(c.edges);
    t.SetBorderWidth(c.borderWidth);
    TLTHeaderOptions options = t.Header().Options();
    if (c.visible) options.Include(hoVisible);
    t.Header().SetOptions(options);
    t.ComputeHeaderRect(20);
    EXPECT_EQ(t.HeaderRect(), c.expected) << "case " << (&c - cases);
  }
}

class TBandTree : public TBaseLazyTreeControl {
 public:
  using TBaseLazyTreeControl::TBaseLazyTreeControl;
  using TBaseLazyTreeControl::DoStateChange;
  bool buttonDown = true;
  bool LeftButtonDown() const override { return buttonDown; }
};

TEST(HeaderRect, ColumnsLieInItUnscrolled) {
  Fixture f;
  TBaseLazyTreeControl& t = *f.tree;
  t.SetBorderWidth(2);  // with the client edge: the header starts at (4, 4)
  for (int w : {50, 70}) t.Header().Columns().Add()->SetWidth(w);
  t.Header().SetOptions(t.Header().Options() + TLTHeaderOptions{hoVisible});
  t.ComputeHeaderRect(20);
  EXPECT_EQ(t.Header().Columns()[1]->GetRect(), TRect(4 + 50, 4, 4 + 120, 24));
  t.SetOffsetX(-30);
  EXPECT_EQ(t.Header().Columns()[1]->GetRect(), TRect(4 + 50, 4, 4 + 120, 24)) << "scrolling does not move it";
}

TEST(RubberBand, DrawnOverTheRowsAndTheAreaBelowWhileTheButtonIsDown) {
  plat::TForm form(nullptr);
  form.SetBounds(0, 0, 400, 300);
  auto* t = new TBandTree(&form);
  t->SetParent(&form);
  t->SetBounds(0, 0, 300, 200);
  t->SetRootNodeCount(3);  // rows down to y 54
  t->SetDrawSelectionMode(smBlendedRectangle);
  t->SetSelectionBlendFactor(255);
  t->Colors().SetSelectionRectangleBlendColor(plat::clRed);
  t->Colors().SetSelectionRectangleBorderColor(plat::clBlue);
  t->SetNewSelRect(TRect(60, 70, 10, 5));  // drawn from the bottom right: the band is ordered first
  t->DoStateChange({tsDrawSelecting});
  struct Case {
    TRect window;
    bool down;
  } cases[] = {{TRect(0, 0, 120, 90), true}, {TRect(4, 3, 124, 93), true}, {TRect(0, 0, 120, 90), false}};
  for (const Case& c : cases) {
    t->buttonDown = c.down;
    QImage image(c.window.Width(), c.window.Height(), QImage::Format_ARGB32);
    image.fill(Qt::magenta);
    plat::TCanvas canvas(&image);
    t->PaintTree(&canvas, c.window, {0, 0}, WindowPaintOptions);
    canvas.SetDevice(nullptr);
    const auto at = [&](int x, int y) { return image.pixel(x - c.window.Left, y - c.window.Top); };
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255);
    const QRgb back = plat::ToQColor(t->Colors().BackGroundColor()).rgba();
    const std::string where = "window left " + std::to_string(c.window.Left) + (c.down ? "" : " button up");
    if (!c.down) {
      EXPECT_EQ(at(30, 30), back) << where;
      EXPECT_EQ(at(30, 62), back) << where;
      continue;
    }
    EXPECT_EQ(at(10, 30), blue) << where << ": left edge in a row";
    EXPECT_EQ(at(30, 5), blue) << where << ": top edge";
    EXPECT_EQ(at(30, 69), blue) << where << ": bottom edge, below the rows";
    EXPECT_EQ(at(59, 62), blue) << where << ": right edge below the rows";
    EXPECT_EQ(at(30, 30), red) << where << ": inside, in a row";
    EXPECT_EQ(at(30, 53), red) << where << ": inside, last pixel row of the rows";
    EXPECT_EQ(at(30, 60), red) << where << ": inside, below the rows";
    EXPECT_EQ(at(70, 30), back) << where << ": outside";
    EXPECT_EQ(at(30, 75), back) << where << ": outside below";
  }
}

TEST(DropMode, ContentHalvesAndReportMode) {
  struct Case {
    THitPositions at;
    int y;
    bool dropmark, report, fullRow;
    TColumnIndex column;
    TDropMode expected;
    bool keepsNode;
  } cases[] = {
      {{hiOnItem, hiOnItemLabel}, 30, true, false, false, 0, dmOnNode, true},
      {{hiOnItem, hiOnItemIndent}, 27, true, false, false, 0, dmAbove, true},  // above the row's middle (28)
      {{hiOnItem, hiOnItemIndent}, 28, true, false, false, 0, dmBelow, true},
      {{hiOnItem, hiOnItemRight}, 20, false, false, false, 0, dmOnNode, true},  // no drop mark: onto the node
      {{hiOnItem, hiOnItemRight}, 20, true, true, false, 0, dmNowhere, false},  // report mode, off the content
      {{hiOnItem, hiOnItemLabel}, 20, true, true, false, 1, dmNowhere, false},  // report mode, not the main column
      {{hiOnItem, hiOnItemRight}, 20, true, true, true, 1, dmAbove, true},      // whole rows are drop targets
  };
  for (const Case& c : cases) {
    Fixture f;
    TBaseLazyTreeControl& t = *f.tree;
    t.Header().Columns().Add();
    t.Header().Columns().Add();
    t.SetRootNodeCount(1);
    TLTPaintOptions paint = t.TreeOptions().PaintOptions;
    c.dropmark ? paint.Include(toShowDropmark) : paint.Exclude(toShowDropmark);
    t.SetPaintOptions(paint);
    if (c.report) t.SetMiscOptions(t.TreeOptions().MiscOptions + TLTMiscOptions{toReportMode});
    if (c.fullRow) t.SetSelectionOptions(t.TreeOptions().SelectionOptions + TLTSelectionOptions{toFullRowSelect});
    THitInfo hit;
    hit.HitNode = t.GetFirst();
    hit.HitPositions = c.at;
    hit.HitColumn = c.column;
    EXPECT_EQ(t.DropModeAt({10, c.y}, hit, TRect(0, 18, 300, 38)), c.expected) << "case " << (&c - cases);
    EXPECT_EQ(hit.HitNode != nullptr, c.keepsNode) << "case " << (&c - cases);
  }
}

// Content bars stand in for text, so the picture shows between them.
class TBarTree : public TBaseLazyTreeControl {
 public:
  using TBaseLazyTreeControl::TBaseLazyTreeControl;

 protected:
  int DoGetNodeWidth(PLazyNode, TColumnIndex) override { return 40; }
  void PaintNodeContent(const TLTPaintInfo& info) override {
    const TRect& r = info.ContentRect;
    info.Canvas->Brush()->SetColor(plat::clBlack);
    info.Canvas->FillRect(TRect(r.Left + 2, r.Top + 7, r.Left + 38, r.Top + 11));
  }
};

TEST(Background, ScreenshotWithPictureColumnsImagesSelectionAndRing) {
  plat::TForm form(nullptr);
  form.SetBounds(0, 0, 400, 300);
  auto* t = new TBarTree(&form);
  t->SetParent(&form);
  t->SetBounds(0, 0, 330, 230);
  t->SetPaintOptions(t->TreeOptions().PaintOptions + TLTPaintOptions{toShowBackground, toPopupMode});
  QImage tile(24, 24, QImage::Format_RGB32);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) tile.setPixel(x, y, (x / 12 + y / 12) % 2 ? qRgb(235, 242, 250) : qRgb(250, 250, 238));
  SetPicture(*t, tile);
  auto* images = new plat::TImageList(&form);
  QImage icon(16, 16, QImage::Format_ARGB32);
  icon.fill(Qt::transparent);
  for (int y = 3; y < 13; ++y)
    for (int x = 3; x < 13; ++x) icon.setPixel(x, y, qRgb(30, 120, 200));
  images->AddImage(icon);
  t->SetImages(images);
  t->OnGetImageIndex = [](auto*, PLazyNode, TLTImageKind k, TColumnIndex c, bool&, int& i) {
    if (k != ikOverlay && c <= 0) i = 0;
  };
  // Check boxes: an outlined square, filled inside when checked.
  auto* checks = new plat::TImageList(&form);
  const int checked = CheckImageIndex(ctCheckBox, csCheckedNormal, true, false);
  for (int i = 0; i < 25; ++i) {
    QImage box(16, 16, QImage::Format_ARGB32);
    box.fill(Qt::transparent);
    for (int y = 2; y < 14; ++y)
      for (int x = 2; x < 14; ++x) {
        const bool edge = x == 2 || y == 2 || x == 13 || y == 13;
        const bool inside = i == checked && x > 4 && x < 11 && y > 4 && y < 11;
        box.setPixel(x, y, edge || inside ? qRgb(40, 40, 40) : qRgb(255, 255, 255));
      }
    checks->AddImage(box);
  }
  t->SetCustomCheckImages(checks);
  t->SetCheckImageKind(ckCustom);
  t->SetMiscOptions(t->TreeOptions().MiscOptions + TLTMiscOptions{toCheckSupport});
  for (int w : {170, 70, 60}) t->Header().Columns().Add()->SetWidth(w);
  t->SetSelectionOptions(t->TreeOptions().SelectionOptions + TLTSelectionOptions{toFullRowSelect});
  t->Header().Columns()[2]->SetColor(plat::TColor(0xE0F0E0));
  t->SetRootNodeCount(3);
  for (PLazyNode n = t->GetFirst(); n; n = n->NextSibling) t->SetChildCount(n, 2);
  for (PLazyNode n = t->GetFirst(); n; n = t->GetNext(n)) n->CheckType = ctCheckBox;
  t->GetFirst()->CheckState = csCheckedNormal;
  t->ToggleNode(t->GetFirst());
  t->AddToSelection(t->GetFirst()->FirstChild->NextSibling);
  t->SetBorderStyle(plat::bsNone);
  t->SetBevelKind(bkFlat);
  t->SetBorderWidth(3);
  t->Colors().SetBorderColor(plat::TColor(0x996633));
  t->Repaint();
  const QImage shot = t->Widget()->grab().toImage();
  shot.save(QStringLiteral(TEST_BINARY_DIR "/tree_background.png"));
  EXPECT_EQ(shot.pixel(3, 100), plat::ToQColor(plat::TColor(0x996633)).rgba()) << "the ring inside the bevel";
  EXPECT_EQ(shot.pixel(150, 150), tile.pixel(150 % 24, 150 % 24)) << "the picture below the rows";
}

}  // namespace
}  // namespace lazytree
