// The tree's scroller alone, over a node store and a fake window: the two scroll bars settling each other,
// offsets held to the range, scroll-bar messages, auto-scrolling at the edges and while panning, and the rows
// found by position.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tree/lazytree.h"
#include "tree/treescroller.h"

namespace lazytree {
namespace {

constexpr int kBar = 17;

// A window of Width x Height whose bars take kBar pixels off the client area, as the platform's do; a bar's
// position is held to its range the way the platform holds it.
class TFakeWindow : public TTreeScrollHost {
 public:
  TFakeWindow() : Scroller(*this) {}

  TBaseLazyTree Tree;
  TScrollBarOptions Bars{nullptr};
  TTreeScroller Scroller;
  int Width = 200, Height = 100, Content = 150;
  bool Shown[2] = {false, false};  // SB_HORZ, SB_VERT
  plat::TScrollInfo Info[2];
  int Pos[2] = {0, 0};
  bool AutoScroll = true;
  plat::TPoint Cursor, Click;
  std::vector<std::string> Log;

  void Rows(uint32_t Count) {
    Tree.SetRootNodeCount(Count);
    Scroller.UpdateScrollBars(false);
    Log.clear();
  }

  TBaseLazyTree& Store() override { return Tree; }
  const TScrollBarOptions& BarOptions() const override { return Bars; }
  const TCache* UsableCache() override { return nullptr; }
  int ClientW() const override { return Width - (Shown[plat::SB_VERT] ? kBar : 0); }
  int ClientH() const override { return Height - (Shown[plat::SB_HORZ] ? kBar : 0); }
  int HeaderBand() const override { return 0; }
  uint32_t BottomSpace() const override { return 0; }
  int ContentWidth() override { return Content; }
  int HorizontalWheelStep() const override { return 10; }
  bool ScrollTo(plat::TPoint Offset, TOffsetUpdateOptions Options) override {
    return Scroller.ScrollToOffset(Offset, Options);
  }
  void Scrolled(int DeltaX, int DeltaY) override {
    Log.push_back("scrolled " + std::to_string(DeltaX) + "," + std::to_string(DeltaY));
  }
  void CancelHint() override {}
  bool Updating() const override { return false; }
  void InvalidateWindow() override {}
  void UpdateWindow() override {}
  void ShowBar(int Bar, bool Show) override { Shown[Bar] = Show; }
  void SetBarInfo(int Bar, const plat::TScrollInfo& I, bool) override {
    Info[Bar] = I;
    const int last = std::max(I.nMin, I.nMax - std::max<int>(I.nPage, 1) + 1);
    Pos[Bar] = std::clamp(I.nPos, I.nMin, last);
  }
  int BarPos(int Bar) const override { return Pos[Bar]; }
  int BarTrackPos(int Bar) const override { return Pos[Bar]; }
  void RelayoutBars() override {}
  void BarsChanged() override {}
  plat::TRect NodeRect(PLazyNode Node, bool) override {
    const int top = static_cast<int>(NodeAbsoluteTop(Tree, nullptr, Node)) + Scroller.OffsetY();
    return plat::TRect(0, top, ClientW(), top + static_cast<int>(Node->NodeHeight));
  }
  bool CanAutoScroll() const override { return AutoScroll; }
  plat::TPoint CursorClientPos() const override { return Cursor; }
  plat::TPoint LastClickPos() const override { return Click; }
  uint32_t AutoScrollDelay() const override { return 500; }
  void StartScrollTimer(uint32_t Delay) override { Log.push_back("start " + std::to_string(Delay)); }
  void StopScrollTimer() override { Log.push_back("stop"); }
  void BandFollowsScroll(plat::TPoint) override { Log.push_back("band"); }
};

// Rows are 18 px high; the window is 200 x 100 before bars.
TEST(TreeScroller, BarsSettleEachOtherOnce) {
  struct Case {
    const char* name;
    uint32_t rows;
    int content;
    bool always;
    bool horz, vert;
  };
  const Case cases[] = {
      {"everything fits", 3, 150, false, false, false},
      {"tall only", 10, 150, false, false, true},
      {"the vertical bar makes it too narrow", 10, 190, false, true, true},
      {"wide only", 3, 250, false, true, false},
      {"the horizontal bar makes it too low", 5, 250, false, true, true},
      {"always visible", 1, 10, true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TFakeWindow w;
    w.Content = c.content;
    w.Bars.SetAlwaysVisible(c.always);
    w.Rows(c.rows);
    EXPECT_EQ(w.Shown[plat::SB_HORZ], c.horz);
    EXPECT_EQ(w.Shown[plat::SB_VERT], c.vert);
    // The pages describe the client area the bars finally left.
    if (c.vert) {
      EXPECT_EQ(w.Info[plat::SB_VERT].nPage, static_cast<plat::UINT>(w.ClientH() + 1));
      EXPECT_EQ(w.Info[plat::SB_VERT].nMax, static_cast<int>(c.rows * 18));
    }
    if (c.horz) EXPECT_EQ(w.Info[plat::SB_HORZ].nPage, static_cast<plat::UINT>(w.ClientW() + 1));
    EXPECT_EQ((w.Info[plat::SB_VERT].fMask & plat::SIF_DISABLENOSCROLL) != 0, c.always);
  }
}

TEST(TreeScroller, OffsetsStayInTheRangeAndReportEachMoveOnce) {
  TFakeWindow w;
  w.Rows(10);  // 180 px of rows in a client area of 100: offsets from -80 to 0
  struct Step {
    int y;
    int expected;
    bool moved;
  };
  for (const Step& s : {Step{-50, -50, true}, Step{-50, -50, false}, Step{10, 0, true}, Step{-500, -80, true},
                        Step{-79, -79, true}}) {
    SCOPED_TRACE(s.y);
    const int before = w.Scroller.OffsetY();
    w.Log.clear();
    EXPECT_EQ(w.Scroller.ScrollToOffset({0, s.y}, DefaultScrollUpdateFlags), s.moved);
    EXPECT_EQ(w.Scroller.OffsetY(), s.expected);
    EXPECT_EQ(w.Pos[plat::SB_VERT], -s.expected);  // the thumb follows
    const std::vector<std::string> expected =
        s.moved ? std::vector<std::string>{"scrolled 0," + std::to_string(s.expected - before)}
                : std::vector<std::string>{};
    EXPECT_EQ(w.Log, expected);
  }
}

TEST(TreeScroller, ScrollBarMessagesMoveByLinePageAndThumb) {
  struct Case {
    int code;
    int start;
    int expected;
  };
  const Case cases[] = {
      {plat::SB_LINEDOWN, 0, -20},        {plat::SB_LINEUP, -50, -30},     {plat::SB_PAGEDOWN, 0, -100},
      {plat::SB_PAGEUP, -150, -50},       {plat::SB_TOP, -150, 0},         {plat::SB_BOTTOM, 0, -260},
      {plat::SB_THUMBTRACK, 0, -123},     {plat::SB_LINEUP, 0, 0},         {99, -40, -40},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    TFakeWindow w;
    w.Rows(20);  // 360 px of rows, a client area of 100 (a vertical bar, no horizontal one)
    w.Scroller.ScrollToOffset({0, c.start}, DefaultScrollUpdateFlags);
    w.Pos[plat::SB_VERT] = 123;  // where the thumb is being dragged
    w.Scroller.ScrollMessage(c.code, true);
    EXPECT_EQ(w.Scroller.OffsetY(), c.expected);
  }
  // Dragging the thumb holds the vertical bar still until the drag ends.
  TFakeWindow w;
  w.Rows(20);
  w.Pos[plat::SB_VERT] = 40;
  w.Scroller.ScrollMessage(plat::SB_THUMBTRACK, true);
  EXPECT_TRUE(w.Tree.TreeStates().Has(tsThumbTracking));
  w.Scroller.ScrollMessage(plat::SB_ENDSCROLL, true);
  EXPECT_FALSE(w.Tree.TreeStates().Has(tsThumbTracking));
  EXPECT_EQ(w.Scroller.OffsetY(), -40);
}

TEST(TreeScroller, AutoScrollDirectionsAtTheEdgesAndWhilePanning) {
  struct Case {
    const char* name;
    int offsetY;
    bool panning;
    plat::TPoint p;
    TScrollDirections expected;
  };
  const Case cases[] = {
      {"top edge at the top", 0, false, {100, 5}, {}},
      {"top edge scrolled", -40, false, {100, 5}, {sdUp}},
      {"bottom edge", 0, false, {100, 95}, {sdDown}},
      {"bottom edge at the end", -260, false, {100, 95}, {}},
      {"right edge of wide content", 0, false, {180, 50}, {sdRight}},
      {"left edge unscrolled", 0, false, {2, 50}, {}},
      {"inside", -40, false, {100, 50}, {}},
      {"panning near the click", 0, true, {105, 45}, {}},
      {"panning up and left", 0, true, {80, 30}, {sdUp, sdLeft}},
      {"panning down and right", 0, true, {120, 70}, {sdDown, sdRight}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TFakeWindow w;
    w.Content = 400;
    w.Height = 117;  // a client area of 100 under the horizontal bar
    w.Rows(20);
    w.Click = {100, 50};
    if (c.panning) w.Tree.DoStateChange({tsWheelPanning});
    w.Scroller.ScrollToOffset({0, c.offsetY}, DefaultScrollUpdateFlags);
    EXPECT_EQ(w.Scroller.AutoScrollDirections(c.p.X, c.p.Y), c.expected);
    w.AutoScroll = false;
    EXPECT_TRUE(w.Scroller.AutoScrollDirections(c.p.X, c.p.Y).Empty());
  }
}

TEST(TreeScroller, AutoScrollRunsUntilTheEdgeAndStopsItsTimer) {
  TFakeWindow w;
  w.Rows(10);  // offsets from -80 to 0
  w.Tree.DoStateChange({tsDrawSelecting});
  w.Scroller.UpdateAutoScroll(100, 95);
  EXPECT_EQ(w.Log, std::vector<std::string>{"start 500"});
  EXPECT_TRUE(w.Tree.TreeStates().Has(tsScrollPending));
  // Below the window the step grows with the distance: 20 px per pixel.
  w.Cursor = {100, 102};
  w.Log.clear();
  w.Scroller.AutoScrollStep();
  EXPECT_EQ(w.Scroller.OffsetY(), -60);
  EXPECT_EQ(w.Log, (std::vector<std::string>{"scrolled 0,-60", "band"}));
  // The next step reaches the end, the one after finds nothing left: the direction goes and the timer stops.
  w.Log.clear();
  w.Scroller.AutoScrollStep();
  EXPECT_EQ(w.Scroller.OffsetY(), -80);
  w.Scroller.AutoScrollStep();
  EXPECT_TRUE(w.Scroller.ScrollDirections().Empty());
  EXPECT_EQ(w.Log, (std::vector<std::string>{"scrolled 0,-20", "band", "band", "stop"}));
  EXPECT_FALSE(w.Tree.TreeStates().Has(tsScrollPending));
}

TEST(TreeScroller, RowsByPositionAndKeepingANodeInView) {
  TFakeWindow w;
  w.Rows(20);
  w.Scroller.ScrollToOffset({0, -30}, DefaultScrollUpdateFlags);
  std::vector<PLazyNode> nodes;
  for (PLazyNode n = w.Tree.GetFirst(); n; n = w.Tree.GetNext(n)) nodes.push_back(n);
  struct Case {
    int y;
    bool relative;
    int row;  // -1: none
    int top;
  };
  for (const Case& c : {Case{-5, true, 1, -12}, Case{0, true, 1, -12}, Case{6, true, 2, 6}, Case{6, false, 0, 0},
                        Case{99, true, 7, 96}, Case{331, true, -1, 0}, Case{359, false, 19, 342}}) {
    SCOPED_TRACE(std::to_string(c.y) + (c.relative ? " client" : " tree"));
    int top = -1;
    PLazyNode n = w.Scroller.NodeAt(c.y, c.relative, top);
    EXPECT_EQ(n, c.row < 0 ? nullptr : nodes[c.row]);
    if (n) EXPECT_EQ(top, c.top);
  }
  // The last row found is remembered until rows change height.
  int top = 0;
  EXPECT_EQ(w.Scroller.NodeAt(40, false, top), nodes[2]);
  w.Tree.SetNodeHeight(nodes[1], 40);
  w.Scroller.ForgetLookup();
  EXPECT_EQ(w.Scroller.NodeAt(40, false, top), nodes[1]);
  EXPECT_EQ(top, 18);

  EXPECT_TRUE(w.Scroller.ScrollIntoView(nodes[10], false));  // below: its bottom at the client's bottom
  EXPECT_EQ(w.Scroller.OffsetY(), -(10 * 18 + 22 + 18 - 100));
  EXPECT_EQ(w.Scroller.BottomNode(), nodes[10]);
  EXPECT_FALSE(w.Scroller.ScrollIntoView(nodes[9], false));  // in view already
  EXPECT_TRUE(w.Scroller.ScrollIntoView(nodes[0], false));   // above: its top at the client's top
  EXPECT_EQ(w.Scroller.OffsetY(), 0);
  w.Scroller.SetTopNode(nodes[5]);
  EXPECT_EQ(w.Scroller.TopNode(), nodes[5]);
}

}  // namespace
}  // namespace lazytree
