// The tab strip's layout rule, rows, scrolling of a single line, hit tests and selection by the user.
#include <gtest/gtest.h>

#include <memory>

#include "controls/tab_strip.h"
#include "platform/forms/forms.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"

using namespace plat;

namespace controls {
namespace {

struct Strip {
  explicit Strip(int Width = 300, int Height = 200) {
    form = std::make_unique<TForm>(nullptr);
    tabs = new TCustomTabControl(form.get());
    tabs->SetParent(form.get());
    tabs->SetBounds(0, 0, Width, Height);
  }
  int TextWidth(const QString& s) {
    TBitmap b(1, 1);
    b.Canvas()->Font()->Assign(*tabs->Font());
    return b.Canvas()->TextWidth(s);
  }
  int TextHeight() {
    TBitmap b(1, 1);
    b.Canvas()->Font()->Assign(*tabs->Font());
    return b.Canvas()->TextHeight("Wg");
  }
  std::unique_ptr<TForm> form;
  TCustomTabControl* tabs;
};

TEST(TabStrip, TabSizeFollowsTextImageAndFixedSizes) {
  Strip s;
  s.tabs->InsertTab(0, "First", nullptr);
  s.tabs->InsertTab(1, "Second tab", nullptr);
  const int h = s.TextHeight() + 6;
  EXPECT_EQ(s.tabs->TabRect(0), TRect(2, 2, 2 + s.TextWidth("First") + 12, 2 + h));
  EXPECT_EQ(s.tabs->TabRect(1).Left, s.tabs->TabRect(0).Right);
  EXPECT_EQ(s.tabs->TabRect(1).Width(), s.TextWidth("Second tab") + 12);
  EXPECT_EQ(s.tabs->DisplayRect(), TRect(4, 2 + h + 4, 296, 196));
  EXPECT_TRUE(s.tabs->TabRect(2).IsEmpty());

  TImageList images(nullptr, 20, 30);
  s.tabs->SetTabImages(&images);
  EXPECT_EQ(s.tabs->TabRect(0).Width(), s.TextWidth("First") + 12 + 20);
  EXPECT_EQ(s.tabs->TabRect(0).Height(), 30 + 6);
  s.tabs->SetTabPosition(tpLeft);  // along the strip: the image's height
  EXPECT_EQ(s.tabs->TabRect(0).Height(), s.TextWidth("First") + 12 + 30);
  EXPECT_EQ(s.tabs->TabRect(0).Width(), std::max(s.TextHeight(), 20) + 6);
  s.tabs->SetTabImages(nullptr);
  s.tabs->SetTabWidth(50);
  s.tabs->SetTabHeight(25);
  EXPECT_EQ(s.tabs->TabRect(1), TRect(2, 52, 27, 102));
}

TEST(TabStrip, EachPositionPutsTheStripAtItsEdge) {
  Strip s(300, 200);
  s.tabs->SetTabHeight(20);
  s.tabs->SetTabWidth(40);
  s.tabs->InsertTab(0, "a", nullptr);
  const struct {
    TTabPosition pos;
    TRect tab, display;
  } cases[] = {
      {tpTop, {2, 2, 42, 22}, {4, 26, 296, 196}},
      {tpBottom, {2, 178, 42, 198}, {4, 4, 296, 174}},
      {tpLeft, {2, 2, 22, 42}, {26, 4, 296, 196}},
      {tpRight, {278, 2, 298, 42}, {4, 4, 274, 196}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(int(c.pos));
    s.tabs->SetTabPosition(c.pos);
    EXPECT_EQ(s.tabs->TabRect(0), c.tab);
    EXPECT_EQ(s.tabs->DisplayRect(), c.display);
    EXPECT_EQ(s.tabs->IndexOfTabAt(c.tab.Left + 1, c.tab.Top + 1), 0);
    EXPECT_EQ(s.tabs->IndexOfTabAt(c.tab.Right, c.tab.Top + 1), -1);
  }
}

TEST(TabStrip, MultiLineRowsStretchAndTheSelectedRowLiesNextToThePage) {
  Strip s(200, 200);
  s.tabs->SetTabHeight(20);
  s.tabs->SetTabWidth(70);
  s.tabs->SetMultiLine(true);
  for (int i = 0; i < 4; ++i) s.tabs->InsertTab(i, "t", nullptr);
  // 196 pixels hold two 70-pixel tabs per row: two rows, each stretched to 196.
  EXPECT_EQ(s.tabs->RowCount(), 2);
  EXPECT_EQ(s.tabs->TabRect(0), TRect(2, 22, 100, 42));  // tab 0 selected: its row next to the page
  EXPECT_EQ(s.tabs->TabRect(1), TRect(100, 22, 198, 42));
  EXPECT_EQ(s.tabs->TabRect(2), TRect(2, 2, 100, 22));
  s.tabs->SetTabIndex(3);
  EXPECT_EQ(s.tabs->TabRect(2).Top, 22);
  EXPECT_EQ(s.tabs->TabRect(0).Top, 2);
  s.tabs->SetRaggedRight(true);
  EXPECT_EQ(s.tabs->TabRect(1), TRect(72, 2, 142, 22));
}

TEST(TabStrip, SingleLineScrollsWithButtons) {
  Strip s(200, 100);
  s.tabs->SetTabHeight(20);
  s.tabs->SetTabWidth(60);
  for (int i = 0; i < 5; ++i) s.tabs->InsertTab(i, "t", nullptr);
  ASSERT_TRUE(s.tabs->ScrollButtonsShown());
  const TRect buttons = s.tabs->ScrollButtonsRect();
  EXPECT_EQ(buttons.Right, 199);
  EXPECT_EQ(buttons.Left, 166);
  EXPECT_EQ(s.tabs->IndexOfTabAt(buttons.Left + 2, buttons.Top + 2), -1);  // the buttons cover the tab
  s.tabs->ScrollTabs(true);
  EXPECT_EQ(s.tabs->FirstVisibleTab(), 1);
  EXPECT_EQ(s.tabs->TabRect(1).Left, 2);
  s.tabs->ScrollTabs(false);
  s.tabs->ScrollTabs(false);  // not before the first
  EXPECT_EQ(s.tabs->FirstVisibleTab(), 0);
  // Selecting a tab out of view scrolls it in; a click on the right button scrolls forward.
  s.tabs->SetTabIndex(4);
  EXPECT_LE(s.tabs->TabRect(4).Right, 200 - 35);
  EXPECT_GE(s.tabs->TabRect(4).Left, 2);
  s.tabs->SetMultiLine(true);
  EXPECT_FALSE(s.tabs->ScrollButtonsShown());
}

TEST(TabStrip, UserSelectionAsksAndReports) {
  Strip s;
  for (int i = 0; i < 3; ++i) s.tabs->InsertTab(i, "tab", nullptr);
  EXPECT_EQ(s.tabs->TabIndex(), 0);  // the first item of an empty strip is selected
  QStringList log;
  bool allow = true;
  s.tabs->OnChanging = [&](TObject*, bool& a) {
    log << "Changing";
    a = allow;
  };
  s.tabs->OnChange = [&](TObject*) { log << "Change"; };
  const TRect r = s.tabs->TabRect(2);
  s.tabs->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(r.Left + 2, r.Top + 2));
  EXPECT_EQ(s.tabs->TabIndex(), 2);
  EXPECT_EQ(log, QStringList({"Changing", "Change"}));
  allow = false;
  s.tabs->Perform(WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(s.tabs->TabIndex(), 2);
  allow = true;
  s.tabs->Perform(WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(s.tabs->TabIndex(), 1);
  s.tabs->SetTabIndex(0);  // by code: no events
  EXPECT_EQ(log.size(), 5);
  s.tabs->Perform(WM_KEYDOWN, VK_LEFT, 0);  // nothing before the first
  EXPECT_EQ(log.size(), 5);
  // Deleting the selected item leaves no selection; items keep their objects when moved.
  TObject o;
  s.tabs->SetTabText(1, "x");
  s.tabs->InsertTab(9, "last", &o);
  s.tabs->MoveTab(3, 0);
  EXPECT_EQ(s.tabs->TabObject(0), &o);
  EXPECT_EQ(s.tabs->TabIndex(), 1);
  s.tabs->DeleteTab(1);
  EXPECT_EQ(s.tabs->TabIndex(), -1);
}

}  // namespace
}  // namespace controls
