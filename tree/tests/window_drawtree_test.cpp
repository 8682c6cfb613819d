// The owner-drawn tree: its handler paints the content, its node width comes from the handler or the margins.
#include <QImage>

#include <gtest/gtest.h>

#include "platform/forms/forms.h"
#include "platform/graphics/canvas.h"
#include "tree/drawtree.h"

namespace lazytree {
namespace {

TEST(DrawTree, TheHandlerPaintsTheContentAndGivesTheWidth) {
  plat::TForm form(nullptr);
  auto* t = new TLazyDrawTree(&form);
  t->SetParent(&form);
  t->SetBounds(0, 0, 200, 100);
  t->SetRootNodeCount(2);
  QImage image(200, 36, QImage::Format_ARGB32);
  plat::TCanvas canvas(&image);
  auto paint = [&] {
    image.fill(Qt::white);
    t->PaintTree(&canvas, plat::Rect(0, 0, 200, 36), {0, 0}, WindowPaintOptions);
  };
  paint();  // no handler: lines, buttons and images only, no content
  EXPECT_EQ(image.pixel(60, 9), plat::ToQColor(t->Colors().BackGroundColor()).rgba());
  int drawn = 0;
  t->OnDrawNode = [&](TBaseLazyTreeControl*, const TLTPaintInfo& info) {
    ++drawn;
    EXPECT_EQ(info.Column, NoColumn);
    EXPECT_EQ(info.NodeWidth, 2 * t->TextMargin()) << "without a width handler";
    info.Canvas->Brush()->SetColor(plat::clRed);
    info.Canvas->FillRect(info.ContentRect);
  };
  paint();
  EXPECT_EQ(drawn, 2);
  EXPECT_EQ(image.pixel(60, 9), qRgb(255, 0, 0));
  t->OnGetNodeWidth = [](TBaseLazyTreeControl*, plat::TCanvas*, PLazyNode n, TColumnIndex, int& w) { w = 50 + 10 * int(n->Index); };
  EXPECT_EQ(t->GetDisplayRect(t->GetFirst()->NextSibling, NoColumn, true).Width(), 60);
}

}  // namespace
}  // namespace lazytree
