// The paint pass: event order, custom rows and erasing, the same pixels with and without the row image, only the
// selected rows, button placement, selection, the empty-list message, columns below the rows, and a screenshot.
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/forms/forms.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/imagelist.h"
#include "tree/treecontrol.h"

namespace lazytree {
namespace {

using plat::TRect;

class TPaintTree : public TBaseLazyTreeControl {
 public:
  using TBaseLazyTreeControl::TBaseLazyTreeControl;
  int nodeWidth = 30;
  std::vector<std::string>* log = nullptr;

 protected:
  int DoGetNodeWidth(PLazyNode, TColumnIndex) override { return nodeWidth; }
  void PaintNodeContent(const TLTPaintInfo& info) override {
    plat::TCanvas* c = info.Canvas;
    const TRect& r = info.ContentRect;
    if (log) log->push_back("content " + std::to_string(info.Column));
    c->Brush()->SetColor(plat::clBlack);
    c->FillRect(TRect(r.Left + 2, r.Top + 7, r.Left + 2 + nodeWidth - 4, r.Top + 11));  // a "text" bar
  }
};

struct Fixture {
  plat::TForm form{nullptr};
  TPaintTree* tree;
  Fixture() {
    form.SetBounds(0, 0, 500, 400);
    tree = new TPaintTree(&form);
    tree->SetParent(&form);
    tree->SetBounds(0, 0, 300, 200);
  }
  QImage Paint(TRect window, TLTInternalPaintOptions options = WindowPaintOptions, QColor fill = Qt::magenta) {
    QImage image(window.Width(), window.Height(), QImage::Format_ARGB32);
    image.fill(fill);
    plat::TCanvas canvas(&image);
    tree->PaintTree(&canvas, window, {0, 0}, options);
    return image;
  }
};

TEST(PaintPass, EventsComeInTheirOrder) {
  Fixture f;
  std::vector<std::string> log;
  TPaintTree& t = *f.tree;
  t.log = &log;
  t.SetRootNodeCount(2);
  t.OnBeforePaint = [&](auto*, auto*) { log.push_back("before paint"); };
  t.OnBeforeItemPaint = [&](auto*, auto*, PLazyNode, const TRect&, bool&) { log.push_back("before item"); };
  t.OnBeforeItemErase = [&](auto*, auto*, PLazyNode, const TRect&, plat::TColor&, TItemEraseAction&) {
    log.push_back("before erase");
  };
  t.OnAfterItemErase = [&](auto*, auto*, PLazyNode, const TRect&) { log.push_back("after erase"); };
  t.OnBeforeCellPaint = [&](auto*, auto*, PLazyNode, TColumnIndex, TLTCellPaintMode, const TRect&, TRect&) { log.push_back("before cell"); };
  t.OnAfterCellPaint = [&](auto*, auto*, PLazyNode, TColumnIndex, const TRect&) { log.push_back("after cell"); };
  t.OnAfterItemPaint = [&](auto*, auto*, PLazyNode, const TRect&) { log.push_back("after item"); };
  t.OnPaintBackground = [&](auto*, auto*, const TRect&, bool&) { log.push_back("background"); };
  t.OnAfterPaint = [&](auto*, auto*) { log.push_back("after paint"); };
  f.Paint(TRect(0, 0, 100, 100));
  const std::vector<std::string> row = {"before item", "before erase", "after erase", "before cell",
                                        "content -1",  "after cell",   "after item"};
  std::vector<std::string> expected{"before paint"};
  for (int i = 0; i < 2; ++i) expected.insert(expected.end(), row.begin(), row.end());
  expected.insert(expected.end(), {"background", "after paint"});
  EXPECT_EQ(log, expected);
  EXPECT_FALSE(t.TreeStates().Has(tsPainting));
}

TEST(PaintPass, CustomRowsAndEraseActions) {
  Fixture f;
  TPaintTree& t = *f.tree;
  t.SetRootNodeCount(3);
  t.OnBeforeItemPaint = [&](auto*, plat::TCanvas* c, PLazyNode n, const TRect& r, bool& custom) {
    if (n->Index != 0) return;
    custom = true;
    c->Brush()->SetColor(plat::clLime);
    c->FillRect(r);
  };
  t.OnBeforeItemErase = [&](auto*, auto*, PLazyNode n, const TRect&, plat::TColor& color, TItemEraseAction& a) {
    if (n->Index == 1) color = plat::clYellow, a = eaColor;
    if (n->Index == 2) a = eaNone;
  };
  const QImage image = f.Paint(TRect(0, 0, 100, 60));
  EXPECT_EQ(image.pixel(80, 5), qRgb(0, 255, 0)) << "drawn by the handler";
  EXPECT_EQ(image.pixel(80, 23), qRgb(255, 255, 0)) << "erased with the handler's colour";
  EXPECT_EQ(image.pixel(80, 41), qRgb(0, 0, 0)) << "not erased: the empty row image shows";
}

TEST(PaintPass, BufferedAndUnbufferedGiveTheSamePixels) {
  Fixture f;
  TPaintTree& t = *f.tree;
  t.SetRootNodeCount(5);
  PLazyNode second = t.GetFirst()->NextSibling;
  t.SetChildCount(second, 3);
  t.ToggleNode(second);
  t.AddToSelection(second->FirstChild);
  const TRect window(3, 7, 180, 120);  // starts inside a row
  const QImage buffered = f.Paint(window, WindowPaintOptions, Qt::white);
  const QImage direct = f.Paint(window, WindowPaintOptions + TLTInternalPaintOptions{poUnbuffered}, Qt::white);
  ASSERT_EQ(buffered.size(), direct.size());
  int differences = 0;
  for (int y = 0; y < buffered.height(); ++y)
    for (int x = 0; x < buffered.width(); ++x) differences += buffered.pixel(x, y) != direct.pixel(x, y);
  EXPECT_EQ(differences, 0);
  if (differences) {
    buffered.save(QStringLiteral(TEST_BINARY_DIR "/paint_buffered.png"));
    direct.save(QStringLiteral(TEST_BINARY_DIR "/paint_direct.png"));
    for (int y = 0; y < buffered.height(); ++y)
      for (int x = 0; x < buffered.width(); ++x)
        if (buffered.pixel(x, y) != direct.pixel(x, y) && differences-- > 200)
          ADD_FAILURE() << x << "," << y << " " << std::hex << buffered.pixel(x, y) << " vs " << direct.pixel(x, y);
  }
}

TEST(PaintPass, SelectedOnlyLeavesOtherRowsUntouched) {
  Fixture f;
  TPaintTree& t = *f.tree;
  t.SetRootNodeCount(4);
  t.AddToSelection(t.GetFirst()->NextSibling);
  const QImage image = f.Paint(TRect(0, 0, 100, 72), {poSelectedOnly, poDrawSelection});
  EXPECT_EQ(image.pixel(90, 5), QColor(Qt::magenta).rgba()) << "row 0 untouched";
  EXPECT_NE(image.pixel(90, 23), QColor(Qt::magenta).rgba()) << "row 1 painted";
  EXPECT_EQ(image.pixel(90, 41), QColor(Qt::magenta).rgba()) << "row 2 untouched";
}

TEST(PaintPass, ButtonsSelectionAndTheEmptyList) {
  Fixture f;
  TPaintTree& t = *f.tree;
  t.SetPaintOptions(t.TreeOptions().PaintOptions - TLTPaintOptions{toThemeAware, toShowTreeLines});
  t.Colors().SetTreeLineColor(plat::clBlue);
  t.SetRootNodeCount(2);
  t.SetChildCount(t.GetFirst(), 1);
  QImage image = f.Paint(TRect(0, 0, 100, 36), WindowPaintOptions, Qt::white);
  // A 9 x 9 button in an 18-pixel row: at (5, 4) with toShowRoot.
  EXPECT_EQ(image.pixel(5, 4), plat::ToQColor(plat::clBlue).rgba());
  EXPECT_EQ(image.pixel(13, 12), plat::ToQColor(plat::clBlue).rgba());
  EXPECT_EQ(image.pixel(4, 4), plat::ToQColor(t.Colors().BackGroundColor()).rgba());
  // The selected label is filled with the (unfocused) selection colour; the label starts after the indent.
  t.Colors().SetUnfocusedSelectionColor(plat::clYellow);
  t.Colors().SetUnfocusedSelectionBorderColor(plat::clYellow);
  t.AddToSelection(t.GetFirst()->NextSibling);
  image = f.Paint(TRect(0, 0, 100, 36), WindowPaintOptions, Qt::white);
  EXPECT_EQ(image.pixel(18 + 4 + 25, 20), qRgb(255, 255, 0));
  EXPECT_EQ(image.pixel(18 + 4 + 35, 20), plat::ToQColor(t.Colors().BackGroundColor()).rgba()) << "past the label";

  Fixture e;
  e.tree->SetEmptyListMessage(QStringLiteral("No devices found"));
  image = e.Paint(TRect(0, 0, 200, 40), WindowPaintOptions, Qt::white);
  int grey = 0;
  for (int y = 2; y < 16; ++y)
    for (int x = 2; x < 100; ++x) grey += image.pixel(x, y) != plat::ToQColor(e.tree->Colors().BackGroundColor()).rgba();
  EXPECT_GT(grey, 20) << "the message is written near the top left";
}

TEST(PaintPass, ColumnsFillTheAreaBelowTheRows) {
  Fixture f;
  TPaintTree& t = *f.tree;
  for (int w : {60, 80, 40}) t.Header().Columns().Add()->SetWidth(w);
  t.Header().Columns()[1]->SetColor(plat::clAqua);
  t.SetRootNodeCount(1);
  std::vector<TColumnIndex> cells;
  t.OnAfterCellPaint = [&](auto*, auto*, PLazyNode, TColumnIndex c, const TRect&) { cells.push_back(c); };
  const QImage image = f.Paint(TRect(0, 0, 250, 60), WindowPaintOptions, Qt::white);
  EXPECT_EQ(cells, (std::vector<TColumnIndex>{0, 1, 2}));
  EXPECT_EQ(image.pixel(100, 40), plat::ToQColor(plat::clAqua).rgba()) << "column 1 below the rows";
  EXPECT_EQ(image.pixel(100, 5), plat::ToQColor(plat::clAqua).rgba()) << "column 1 in the row (column colour)";
  EXPECT_EQ(image.pixel(30, 40), plat::ToQColor(t.Colors().BackGroundColor()).rgba());
  EXPECT_EQ(image.pixel(220, 40), plat::ToQColor(t.Colors().BackGroundColor()).rgba()) << "right of the columns";
}

// A list with one 16 x 16 image: a blue square from From to To (exclusive) on a transparent ground.
plat::TImageList* SquareImages(plat::TComponent* Owner, int From, int To) {
  auto* images = new plat::TImageList(Owner);
  QImage icon(16, 16, QImage::Format_ARGB32);
  icon.fill(Qt::transparent);
  for (int y = From; y < To; ++y)
    for (int x = From; x < To; ++x) icon.setPixel(x, y, qRgb(30, 120, 200));
  images->AddImage(icon);
  return images;
}

TEST(PaintPass, ARightToLeftColumnMirrorsLinesButtonsAndImages) {
  // The same tree painted in a left-to-right and a right-to-left column gives mirrored cells: indentation, tree
  // lines, expand buttons, check boxes and images all start from the column's right edge.
  auto paint = [](TBiDiMode mode) {
    Fixture f;
    TPaintTree& t = *f.tree;
    t.nodeWidth = 0;  // no content bar, which is not mirrored
    t.SetLineStyle(lsSolid);
    t.SetPaintOptions(t.TreeOptions().PaintOptions - TLTPaintOptions{toThemeAware});
    t.SetMiscOptions(t.TreeOptions().MiscOptions + TLTMiscOptions{toCheckSupport});
    t.SetImages(SquareImages(&f.form, 4, 12));
    t.OnGetImageIndex = [](auto*, PLazyNode, TLTImageKind k, TColumnIndex, bool&, int& i) {
      if (k != ikOverlay) i = 0;
    };
    TLazyTreeColumn* column = t.Header().Columns().Add();
    column->SetWidth(160);
    column->SetBiDiMode(mode);
    t.SetRootNodeCount(2);
    for (PLazyNode n = t.GetFirst(); n; n = n->NextSibling) {
      t.SetCheckType(n, ctCheckBox);
      t.SetChildCount(n, 2);
    }
    t.ToggleNode(t.GetFirst());
    return f.Paint(TRect(0, 0, 160, 5 * 18)).copy(0, 0, 160, 5 * 18);
  };
  const QImage ltr = paint(bdLeftToRight), rtl = paint(bdRightToLeft);
  const QImage mirrored = ltr.mirrored(true, false);
  EXPECT_NE(ltr, rtl);
  // The indentation levels with their lines and buttons are an exact mirror (the root level and the margin).
  const int levels = 160 - 18 - 2;
  EXPECT_EQ(rtl.copy(levels, 0, 160 - levels, rtl.height()), mirrored.copy(levels, 0, 160 - levels, rtl.height()));
  // The two child rows (without check boxes) have a second level.
  EXPECT_EQ(rtl.copy(levels - 18, 18, 38, 36), mirrored.copy(levels - 18, 18, 38, 36));
  // An image ends at the content's right edge, where it starts one pixel left of the content left to right.
  const QRgb blue = qRgb(30, 120, 200);
  for (int y = 0; y < rtl.height(); ++y)
    for (int x = 1; x < levels; ++x)
      EXPECT_EQ(rtl.pixel(x - 1, y) == blue, mirrored.pixel(x, y) == blue) << x << "," << y;
}

TEST(PaintPass, ScreenshotOfATreeWithColumnsImagesAndSelection) {
  Fixture f;
  TPaintTree& t = *f.tree;
  t.SetBounds(0, 0, 320, 220);
  t.SetImages(SquareImages(&f.form, 3, 13));
  t.OnGetImageIndex = [](auto*, PLazyNode, TLTImageKind k, TColumnIndex c, bool&, int& i) {
    if (k != ikOverlay && c <= 0) i = 0;
  };
  for (int w : {170, 70, 60}) t.Header().Columns().Add()->SetWidth(w);
  t.SetRootNodeCount(3);
  for (PLazyNode n = t.GetFirst(); n; n = n->NextSibling) t.SetChildCount(n, 3);
  t.ToggleNode(t.GetFirst());
  t.ToggleNode(t.GetFirst()->NextSibling);
  t.AddToSelection(t.GetFirst()->FirstChild->NextSibling);
  t.Repaint();
  const QImage shot = t.Widget()->grab().toImage();
  shot.save(QStringLiteral(TEST_BINARY_DIR "/tree_painted.png"));
  EXPECT_EQ(shot.width(), 320);
}

}  // namespace
}  // namespace lazytree
