// Header glyphs and element-wise owner draw: where a header image or check box goes beside the caption and the
// sort arrow, painting it, clicks on it (icon and check box hits, the check state advancing, no pressed look),
// and the application painting chosen elements of the buttons and the background itself.
#include <gtest/gtest.h>

#include <QImage>

#include <vector>

#include "platform/forms/forms.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/imagelist.h"
#include "tree/treecolumns.h"
#include "tree/treecontrol.h"

namespace lazytree {
namespace {

constexpr QRgb Marker = 0xFF1E78C8;  // the header image's colour

struct Fixture {
  plat::TForm form{nullptr};
  TBaseLazyTreeControl* tree;
  plat::TImageList* images;
  plat::TBitmap bitmap{400, 19, plat::pf32bit};
  Fixture() {
    form.SetBounds(0, 0, 600, 400);
    tree = new TBaseLazyTreeControl(&form);
    tree->SetParent(&form);
    tree->SetBounds(0, 0, 400, 200);
    H().SetOptions(H().Options() + TLTHeaderOptions{hoVisible, hoShowImages});
    images = new plat::TImageList(&form);
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(Marker);
    images->AddImage(icon);
    H().SetImages(images);
    // The classic look, whose background is the header's Background colour.
    tree->SetPaintOptions(tree->TreeOptions().PaintOptions - TLTPaintOptions{toThemeAware});
  }
  TLTHeader& H() { return tree->Header(); }
  TLazyTreeColumns& Cols() { return H().Columns(); }
  TLazyTreeColumn* Add(const char* caption, int width = 120) {
    TLazyTreeColumn* c = Cols().Add();
    c->SetText(QString::fromUtf8(caption));
    c->SetWidth(width);
    return c;
  }
  const QImage& Paint() {
    bitmap.SetSize(400, H().Height());
    H().PaintHeader(bitmap.Canvas(), plat::TRect(0, 0, 400, H().Height()), 0);
    return bitmap.Image();
  }
  // The columns of the image's colour inside [x0, x1).
  std::vector<int> MarkerColumns(int x0, int x1) {
    std::vector<int> xs;
    for (int x = x0; x < x1; ++x)
      if ((bitmap.Image().pixel(x, 9) | 0xFF000000u) == Marker) xs.push_back(x);
    return xs;
  }
  // A left click at header x (y in the middle of the band).
  TLTHeaderHitInfo Click(int x) {
    TLTHeaderHitInfo got;
    H().OnHeaderClick = [&](TLTHeader*, const TLTHeaderHitInfo& i) { got = i; };
    plat::TMessage down{plat::WM_LBUTTONDOWN, 0, plat::MakeLParam(x, -9), 0};
    H().HeaderMessage(down);
    pressedLook = Cols()[0]->LastTextRect();
    plat::TMessage up{plat::WM_LBUTTONUP, 0, plat::MakeLParam(x, -9), 0};
    H().HeaderMessage(up);
    return got;
  }
  plat::TRect pressedLook{};
};

TEST(HeaderGlyph, TheGlyphTakesItsPlaceByLayout) {
  Fixture f;
  f.Add("Main");
  TLazyTreeColumn* c = f.Add("Caption");
  c->SetImageIndex(0);
  plat::TCanvas* canvas = f.bitmap.Canvas();
  canvas->SetFont(*f.H().Font());
  const plat::TRect client(122, 2, 238, 17);  // the second button less its frame
  struct Case {
    TLTHeaderColumnLayout layout;
    plat::TAlignment align;
    bool glyphLeftOfText, glyphAboveText;
  };
  const std::vector<Case> cases = {
      {blGlyphLeft, plat::taLeftJustify, true, false},   {blGlyphRight, plat::taLeftJustify, false, false},
      {blGlyphLeft, plat::taRightJustify, true, false},  {blGlyphRight, plat::taRightJustify, false, false},
      {blGlyphLeft, plat::taCenter, true, false},        {blGlyphRight, plat::taCenter, false, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << int(k.layout) << "/" << int(k.align));
    c->SetLayout(k.layout);
    c->SetAlignment(k.align);
    const THeaderLayout l = f.H().LayoutHeaderContent(canvas, *c, client, false, true);
    EXPECT_EQ(l.GlyphPos.Y, client.Top + (client.Height() - 16) / 2);
    if (k.glyphLeftOfText) {
      EXPECT_LE(l.GlyphPos.X + 16 + c->Spacing() - 2, l.TextRect.Left);
    } else {
      EXPECT_GE(l.GlyphPos.X + 2, l.TextRect.Right);
    }
    EXPECT_GE(l.GlyphPos.X, client.Left + c->Margin() - 2);
    EXPECT_LE(l.GlyphPos.X + 16, client.Right - c->Margin());
  }
  // Above or below the caption in a taller button.
  const plat::TRect tall(122, 2, 238, 60);
  c->SetAlignment(plat::taLeftJustify);
  c->SetLayout(blGlyphTop);
  THeaderLayout l = f.H().LayoutHeaderContent(canvas, *c, tall, false, true);
  EXPECT_LE(l.GlyphPos.Y + 16, l.TextRect.Top);
  c->SetLayout(blGlyphBottom);
  l = f.H().LayoutHeaderContent(canvas, *c, tall, false, true);
  EXPECT_GE(l.GlyphPos.Y, l.TextRect.Bottom);
  // The main column without a check box keeps the two pixels other glyphs give up.
  c->SetLayout(blGlyphLeft);
  const int other = f.H().LayoutHeaderContent(canvas, *c, client, false, true).GlyphPos.X;
  f.H().SetMainColumn(1);
  EXPECT_EQ(f.H().LayoutHeaderContent(canvas, *c, client, false, true).GlyphPos.X, other + 2);
}

TEST(HeaderGlyph, ImagesArePaintedOnlyWhenShownAndClearOfTheSortArrow) {
  Fixture f;
  TLazyTreeColumn* c = f.Add("Volume");
  f.Add("Flow");
  f.Paint();
  EXPECT_TRUE(f.MarkerColumns(0, 400).empty());  // no image index
  c->SetImageIndex(0);
  f.Paint();
  std::vector<int> xs = f.MarkerColumns(0, 120);
  ASSERT_EQ(xs.size(), 16u);
  EXPECT_EQ(xs.front(), 2 + c->Margin());  // main column, left glyph: margin inside the frame
  // Clicking the image reports the icon, beside it only the column.
  EXPECT_TRUE(f.Click(xs.front() + 3).Has(hhiOnIcon));
  EXPECT_FALSE(f.Click(100).Has(hhiOnIcon));
  f.H().SetOptions(f.H().Options() - TLTHeaderOptions{hoShowImages});
  f.Paint();
  EXPECT_TRUE(f.MarkerColumns(0, 400).empty());
  EXPECT_FALSE(f.Click(xs.front() + 3).Has(hhiOnIcon));  // nothing painted, nothing to hit

  // A glyph the sort arrow would overlap (a narrow right-aligned column) is left out with its hit area.
  f.H().SetOptions(f.H().Options() + TLTHeaderOptions{hoShowImages, hoShowSortGlyphs});
  c->SetWidth(40);
  c->SetAlignment(plat::taRightJustify);
  c->SetLayout(blGlyphRight);
  f.H().SetSortColumn(0);
  f.Paint();
  EXPECT_TRUE(f.MarkerColumns(0, 40).empty());
  EXPECT_FALSE(f.Click(20).Has(hhiOnIcon));
}

TEST(HeaderGlyph, CheckBoxClicksAdvanceTheStateWithoutPressingTheButton) {
  Fixture f;
  TLazyTreeColumn* c = f.Add("Use");
  f.Add("Other");
  c->SetCheckBox(true);
  c->SetCheckType(ctCheckBox);
  f.H().SetOptions(f.H().Options() + TLTHeaderOptions{hoHeaderClickAutoSort});
  const QImage unchecked = f.Paint().copy(0, 0, 120, 19);
  const int x = 2 + c->Margin() + 4;  // inside the check box
  TLTHeaderHitInfo hit = f.Click(x);
  EXPECT_TRUE(hit.Has(hhiOnCheckbox));
  EXPECT_TRUE(hit.Has(hhiOnIcon));
  EXPECT_TRUE(hit.Has(hhiOnColumn));
  EXPECT_EQ(c->CheckState(), csCheckedNormal);
  EXPECT_EQ(f.H().SortColumn(), NoColumn);  // a check-box click does not sort
  const QImage checked = f.Paint().copy(0, 0, 120, 19);
  EXPECT_NE(checked, unchecked);
  // While pressed on the check box the button is not drawn pressed (the caption does not move).
  const plat::TRect rest = c->LastTextRect();
  f.Click(x);
  EXPECT_EQ(c->CheckState(), csUncheckedNormal);
  f.Paint();
  EXPECT_EQ(c->LastTextRect(), rest);
  // A click on the caption is a plain column click and sorts.
  hit = f.Click(90);
  EXPECT_FALSE(hit.Has(hhiOnCheckbox));
  EXPECT_EQ(c->CheckState(), csUncheckedNormal);
  EXPECT_EQ(f.H().SortColumn(), 0);
}

TEST(HeaderGlyph, ElementWiseOwnerDrawPaintsWhatTheApplicationTakes) {
  Fixture f;
  f.Add("One");
  f.Add("Two");
  f.H().SetBackground(plat::clRed);
  std::vector<QString> queried;
  std::vector<std::pair<QString, uint8_t>> painted;
  f.H().OnHeaderDrawQueryElements = [&](TLTHeader*, THeaderPaintInfo& info, THeaderPaintElements& e) {
    queried.push_back(info.Column ? info.Column->Text() : QStringLiteral("background"));
    if (!info.Column) e.Include(hpeBackground);
    else if (info.Column->Index() == 1) e += THeaderPaintElements{hpeBackground, hpeText};
  };
  f.H().OnAdvancedHeaderDraw = [&](TLTHeader*, THeaderPaintInfo& info, THeaderPaintElements e) {
    painted.emplace_back(info.Column ? info.Column->Text() : QStringLiteral("background"), e.ToBits());
    info.TargetCanvas->Brush()->SetColor(e.Has(hpeText) ? plat::clBlue : plat::clLime);
    info.TargetCanvas->FillRect(e.Has(hpeText) ? info.TextRectangle : info.PaintRectangle);
  };
  // Both handlers alone do nothing without hoOwnerDraw.
  f.Paint();
  EXPECT_TRUE(queried.empty());
  EXPECT_EQ(f.bitmap.Image().pixel(300, 9) | 0xFF000000u, 0xFFFF0000u);  // the red background

  f.H().SetOptions(f.H().Options() + TLTHeaderOptions{hoOwnerDraw});
  f.Paint();
  EXPECT_EQ(queried, (std::vector<QString>{"background", "One", "Two"}));
  const uint8_t back = THeaderPaintElements{hpeBackground}.ToBits();
  const uint8_t text = THeaderPaintElements{hpeText}.ToBits();
  EXPECT_EQ(painted, (std::vector<std::pair<QString, uint8_t>>{{"background", back}, {"Two", back}, {"Two", text}}));
  auto px = [&](int x, int y) { return f.bitmap.Image().pixel(x, y) | 0xFF000000u; };
  EXPECT_EQ(px(300, 9), 0xFF00FF00u);  // the application's background right of the buttons
  EXPECT_EQ(px(121, 1), 0xFF00FF00u);  // the second button's face, without edges
  EXPECT_EQ(px(f.Cols()[1]->LastTextRect().Left + 1, 9), 0xFF0000FFu);  // its caption area
  EXPECT_NE(px(0, 9), 0xFF00FF00u);  // the first button keeps its edges
}

TEST(HeaderGlyph, ScreenshotOfGlyphsAndCheckBoxes) {
  Fixture f;
  f.H().SetHeight(24);
  TLazyTreeColumn* a = f.Add("Device");
  a->SetImageIndex(0);
  TLazyTreeColumn* b = f.Add("Export");
  b->SetCheckBox(true);
  b->SetCheckState(csCheckedNormal);
  TLazyTreeColumn* c = f.Add("Value", 140);
  c->SetImageIndex(0);
  c->SetLayout(blGlyphRight);
  c->SetAlignment(plat::taRightJustify);
  f.H().SetSortColumn(2);
  f.Paint().save(QStringLiteral(TEST_BINARY_DIR "/tree_header_glyphs.png"));
  EXPECT_EQ(f.MarkerColumns(0, 120).size(), 16u);
  EXPECT_EQ(f.MarkerColumns(240, 380).size(), 16u);
}

}  // namespace
}  // namespace lazytree
