// Screenshots of the page control in each tab position (written next to the test binary for looking at) and
// the checks that hold for every position: band colour, frame, tabs painted where the strip puts them.
#include <QDir>
#include <QPainter>

#include <gtest/gtest.h>

#include "controls/tests/page_control_fixture.h"
#include "platform/graphics/imagelist.h"
#include "platform/testing/pixels.h"

using namespace plat;
using namespace plat::testing;
using controls::testing::PageForm;

namespace controls {
namespace {

// Two small coloured squares as tab images.
std::unique_ptr<TImageList> MakeImages() {
  auto list = std::make_unique<TImageList>(nullptr, 12, 12);
  for (TColor c : {clRed, clBlue}) {
    QImage img(12, 12, QImage::Format_ARGB32);
    img.fill(ToQColor(c));
    list->AddImage(img);
  }
  return list;
}

void Save(const QImage& img, const QString& name) {
  QDir().mkpath(QStringLiteral(TEST_BINARY_DIR "/screens"));
  img.save(QStringLiteral(TEST_BINARY_DIR "/screens/%1.png").arg(name));
}

const char* PositionName(TTabPosition p) {
  static const char* names[] = {"top", "bottom", "left", "right"};
  return names[p];
}

TEST(ExtPageScreens, EveryPositionWithCloseHoverAndImages) {
  for (TTabPosition pos : {tpTop, tpBottom, tpLeft, tpRight}) {
    for (TTabStyle style : {tsClassic, tsDotNet}) {
      SCOPED_TRACE(PositionName(pos));
      PageForm f(3, pos);
      auto images = MakeImages();
      f.pc->SetImages(images.get());
      f.pc->SetTabStyle(style);
      f.pc->SetActiveColor(clSkyBlue);
      f.pc->SetTabHoverColor(TColor(0xC0FFC0));
      f.pc->SetTabHoverBorder(clBlue);
      f.pc->SetDefaultTabColor(TColor(0xE0E0E0));
      f.sheets[0]->SetImageIndex(0);
      f.sheets[1]->SetShowClose(true);
      f.sheets[2]->SetImageIndex(1);
      f.sheets[2]->SetTabColorTo(TColor(0x808080));
      f.pc->SetActivePage(f.sheets[1]);
      // Pointer over the third tab.
      const TRect third = f.pc->TabRect(2);
      f.pc->Perform(WM_MOUSEMOVE, 0, MakeLParam(third.Left + 3, third.Top + 3));
      EXPECT_EQ(f.pc->HoverTab(), 2);
      const QImage img = f.Grab();
      Save(img, QStringLiteral("%1_%2").arg(PositionName(pos), style == tsClassic ? "classic" : "dotnet"));
      // The close box's white inside and the active tab's colour are there.
      const TRect box = f.pc->CloseButtonHitRect(f.sheets[1]);
      EXPECT_GT(CountColour(img, clWhite, box), 20);
      EXPECT_GT(CountColour(img, clSkyBlue, f.pc->TabRect(1)), 20);
      EXPECT_GT(CountColour(img, clRed, f.pc->TabRect(0)), 100);  // image 0 on the first tab
    }
  }
}

TEST(ExtPageScreens, NetworkEditorLook) {
  PageForm f(0, tpLeft, 500, 300);
  f.pc->SetTabStyle(tsDotNet);
  f.pc->SetMultiLine(true);
  f.pc->SetLowerActive(0);
  f.pc->TabMargin()->SetTopMargin(10);
  f.pc->TabMargin()->SetRightMargin(20);
  f.pc->SetActiveColor(clSkyBlue);
  const TColor pale = RGB(248, 247, 237);
  f.pc->SetDefaultTabColor(pale);
  f.pc->SetTabBackGroundColor(pale);
  f.pc->SetColor(pale);
  f.Add("  Nodes    ");
  f.Add("  Variables    ");
  for (auto* s : f.sheets) s->SetColor(pale);
  f.pc->SetActivePage(f.sheets[0]);
  const QImage img = f.Grab();
  Save(img, "network_editor");
  // The tab reserves the margins: text width + 12 + top margin + right margin.
  EXPECT_EQ(f.pc->DummyImages()->Height(), 30);
  EXPECT_GT(CountColour(img, clSkyBlue, f.pc->TabRect(0)), 100);
}

}  // namespace
}  // namespace controls

namespace controls {
namespace {

// A rounded tab picture: a dark outline and a lighter inside on a magenta (transparent) corner colour.
std::unique_ptr<TBitmap> TabPicture(TColor inside, bool vertical) {
  const int w = vertical ? 22 : 16, h = vertical ? 16 : 22;
  auto b = std::make_unique<TBitmap>(w, h);
  TCanvas* c = b->Canvas();
  c->Brush()->SetColor(clFuchsia);
  c->FillRect(TRect(0, 0, w, h));
  c->Pen()->SetColor(clGray);
  c->Brush()->SetColor(inside);
  c->RoundRect(TRect(0, 0, w, h), 6, 6);
  return b;
}

TEST(ExtPageScreens, BackgroundPicturesMultiLineAndScrolling) {
  for (TTabPosition pos : {tpTop, tpLeft}) {
    PageForm f(3, pos);
    const bool vertical = pos == tpLeft;
    auto bg = TabPicture(TColor(0xE0E0E0), vertical), act = TabPicture(TColor(0xFFE0C0), vertical);
    f.pc->SetTabBackGround(bg.get());
    f.pc->SetTabBackGroundActive(act.get());
    f.pc->SetActivePage(f.sheets[1]);
    const QImage img = f.Grab();
    Save(img, QStringLiteral("background_%1").arg(PositionName(pos)));
    EXPECT_EQ(CountColour(img, clFuchsia), 0);
  }
  PageForm multi(7, tpTop, 320, 160);
  multi.pc->SetMultiLine(true);
  multi.pc->SetActivePage(multi.sheets[5]);
  Save(multi.Grab(), "multiline_top");
  EXPECT_EQ(multi.pc->RowCount(), 2);

  PageForm platformLook(3, tpTop);
  platformLook.pc->SetTabBorder3D(true);
  platformLook.pc->SetActivePage(platformLook.sheets[1]);
  Save(platformLook.Grab(), "platform_look");
  EXPECT_EQ(platformLook.pc->TabText(1), "  Page 2    ");

  PageForm single(7, tpTop, 320, 160);
  single.pc->SetActivePage(single.sheets[6]);
  const QImage img = single.Grab();
  Save(img, "single_line_scrolled");
  EXPECT_TRUE(single.pc->ScrollButtonsShown());
}

}  // namespace
}  // namespace controls
