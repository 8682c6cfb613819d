// The header's band in the tree window: the rows' client area starts below a visible header, mouse messages
// in the band reach the header (clicks, sorting, divider drags) while those below it are in row coordinates,
// and the window's paint pass paints the header in the band; a screenshot is written for looking at.
#include <gtest/gtest.h>

#include <QImage>
#include <QScrollBar>
#include <QWidget>

#include <map>
#include <string>
#include <vector>

#include "platform/forms/forms.h"
#include "platform/forms/messages.h"
#include "tree/stringtree.h"
#include "tree/treecolumns.h"

namespace lazytree {
namespace {

constexpr int Band = 24;

QRgb Rgb(plat::TColor c) {
  const auto v = static_cast<uint32_t>(plat::ColorToRGB(c));  // 0x00BBGGRR
  return qRgb(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF));
}

// A 400 x 200 string tree with a visible header Band high over three 100-pixel columns and 20 rows.
struct Fixture {
  plat::TForm form{nullptr};
  TLazyStringTree* tree;
  std::vector<PLazyNode> nodes;
  std::vector<std::string> log;
  Fixture() {
    form.SetBounds(0, 0, 600, 400);
    tree = new TLazyStringTree(&form);
    tree->SetParent(&form);
    tree->SetBounds(0, 0, 400, 200);
    const char* captions[] = {"Name", "Medium", "Value"};
    for (const char* c : captions) {
      TLazyTreeColumn* col = Cols().Add();
      col->SetText(QString::fromUtf8(c));
      col->SetWidth(100);
    }
    H().SetOptions(H().Options() + TLTHeaderOptions{hoVisible, hoHeaderClickAutoSort});
    H().SetHeight(Band);
    H().SetBackground(plat::clRed);
    // The classic look, whose background is the header's Background colour.
    tree->SetPaintOptions(tree->TreeOptions().PaintOptions - TLTPaintOptions{toThemeAware});
    tree->OnGetText = [](TBaseLazyTree*, PLazyNode n, TColumnIndex c, TLSTTextType, QString& text) {
      text = QStringLiteral("Row %1 / %2").arg(n->Index).arg(c);
    };
    H().OnHeaderClick = [this](TLTHeader*, const TLTHeaderHitInfo& hi) {
      log.push_back("click " + std::to_string(hi.Column));
    };
    for (int i = 0; i < 20; ++i) nodes.push_back(tree->AddChild(nullptr));
  }
  TLTHeader& H() { return tree->Header(); }
  TLazyTreeColumns& Cols() { return H().Columns(); }
  // Window coordinates, as the window system delivers them.
  void Send(plat::UINT msg, int x, int y, plat::WPARAM keys = 0) { tree->Perform(msg, keys, plat::MakeLParam(x, y)); }
  void Click(int x, int y) {
    Send(plat::WM_LBUTTONDOWN, x, y, plat::MK_LBUTTON);
    Send(plat::WM_LBUTTONUP, x, y);
  }
  QImage Shot() { return tree->Widget()->grab().toImage(); }
};

TEST(HeaderBand, RowsStartBelowTheBand) {
  Fixture f;
  const int rows = f.tree->ClientHeight() - Band;
  EXPECT_EQ(f.tree->GetDisplayRect(f.nodes[0], 0, false).Top, 0);
  // A window point just below the band is on the first row, in client coordinates one pixel down.
  const QPoint global = f.tree->Widget()->mapToGlobal(QPoint(5, Band + 1));
  const plat::TPoint client = f.tree->ScreenToClient(plat::TPoint(global.x(), global.y()));
  EXPECT_EQ(client.X, 5);
  EXPECT_EQ(client.Y, 1);
  EXPECT_EQ(f.tree->GetNodeAt(client), f.nodes[0]);
  const plat::TPoint back = f.tree->ClientToScreen(client);
  EXPECT_EQ(back.Y, global.y());
  // Scrolled to the end, the last row ends at the bottom of the rows' area, not under the band's height.
  f.tree->SetOffsetY(-100000);
  EXPECT_EQ(f.tree->GetDisplayRect(f.nodes.back(), 0, false).Bottom, rows);
  // Hiding the header gives the band back to the rows.
  f.H().SetOptions(f.H().Options() - TLTHeaderOptions{hoVisible});
  f.tree->SetOffsetY(-100000);
  EXPECT_EQ(f.tree->GetDisplayRect(f.nodes.back(), 0, false).Bottom, f.tree->ClientHeight());
}

TEST(HeaderBand, MouseMessagesInTheBandReachTheHeader) {
  struct Case {
    int x, y;
    std::vector<std::string> log;
    TColumnIndex sortColumn;
  } cases[] = {
      {150, Band / 2, {"click 1"}, 1},  // on the second button: click and sort
      {250, 2, {"click 2"}, 2},
      {150, Band + 5, {}, NoColumn},    // on a row below the band: not the header's
      {150, Band + 60, {}, NoColumn},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.Click(c.x, c.y);
    EXPECT_EQ(f.log, c.log) << c.x << "," << c.y;
    EXPECT_EQ(f.H().SortColumn(), c.sortColumn) << c.x << "," << c.y;
  }
}

TEST(HeaderBand, DraggingADividerInTheBandResizesItsColumn) {
  Fixture f;
  f.Send(plat::WM_LBUTTONDOWN, 100, Band / 2, plat::MK_LBUTTON);  // divider of the first column
  f.Send(plat::WM_MOUSEMOVE, 120, Band / 2, plat::MK_LBUTTON);
  f.Send(plat::WM_MOUSEMOVE, 140, Band + 50, plat::MK_LBUTTON);  // tracking goes on below the band
  f.Send(plat::WM_LBUTTONUP, 140, Band + 50);
  EXPECT_EQ(f.Cols().Items(0)->Width(), 140);
  EXPECT_EQ(f.Cols().Items(1)->Width(), 100);
  EXPECT_TRUE(f.log.empty());
}

TEST(HeaderBand, ThePaintPassPaintsTheHeaderInTheBand) {
  Fixture f;
  const QImage shot = f.Shot();
  shot.save(QStringLiteral(TEST_BINARY_DIR "/tree_header_band.png"));
  const QRgb red = Rgb(plat::clRed), window = Rgb(f.tree->Color());
  // Right of the buttons the band shows the header's background; below it the rows' background begins.
  for (int y : {0, Band / 2, Band - 1}) EXPECT_EQ(shot.pixel(350, y) | 0xFF000000u, red) << y;
  for (int y : {Band, Band + 30}) EXPECT_EQ(shot.pixel(350, y) | 0xFF000000u, window) << y;
  // The buttons cover the band over the columns.
  for (int x : {50, 150, 250}) EXPECT_NE(shot.pixel(x, Band / 2) | 0xFF000000u, red) << x;
  // Hidden, the header leaves no band: the rows' background starts at the top.
  f.H().SetOptions(f.H().Options() - TLTHeaderOptions{hoVisible});
  EXPECT_EQ(f.Shot().pixel(350, 2) | 0xFF000000u, window);
}

TEST(HeaderBand, TheVerticalScrollBarRunsBesideTheRowsOnly) {
  Fixture f;  // 20 rows do not fit 200 - 24 pixels
  auto* bar = f.tree->Widget()->findChild<QScrollBar*>(QStringLiteral("VertScrollBar"));
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(bar->isVisibleTo(f.tree->Widget()));
  const int bottom = f.tree->ClientRect().Bottom;
  EXPECT_EQ(bar->geometry().top(), Band);
  EXPECT_EQ(bar->geometry().bottom() + 1, bottom);
  // A taller header moves the bar down; without the header it starts at the top.
  f.H().SetHeight(40);
  EXPECT_EQ(bar->geometry().top(), 40);
  f.H().SetOptions(f.H().Options() - TLTHeaderOptions{hoVisible});
  EXPECT_EQ(bar->geometry().top(), 0);
  EXPECT_EQ(bar->geometry().bottom() + 1, bottom);
  // The band right of the buttons reaches the window's right edge over the bar.
  f.H().SetOptions(f.H().Options() + TLTHeaderOptions{hoVisible});
  const QImage shot = f.Shot();
  shot.save(QStringLiteral(TEST_BINARY_DIR "/tree_header_scrollbar.png"));
  EXPECT_EQ(shot.pixel(f.tree->Width() - 3, 20) | 0xFF000000u, Rgb(plat::clRed));
}

}  // namespace
}  // namespace lazytree
