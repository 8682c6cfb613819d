// The rubber band and the row-height tracking alone, over a node store and a fake window: the named states a
// press, the moves and the scrolling go through, what reaches the window on each step (a pending band applies
// nothing, a drawn one applies every change), where the band's corner lands with the window scrolled and at
// its edges, and the height a tracked row takes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tree/lazytree.h"
#include "tree/treegesture.h"

namespace lazytree {
namespace {

class TFakeGestureWindow : public TTreeGestureHost {
 public:
  TFakeGestureWindow() { Tree.SetRootNodeCount(3); }

  TBaseLazyTree Tree;
  TTreeGestures Gestures{*this};
  plat::TPoint Offsets{0, 0};
  plat::TSize Extent{400, 300};
  bool AllowHeight = true;
  plat::TPoint AskedTrackPoint{-1, -1};
  std::vector<std::string> Log;

  PLazyNode Row(int Index) {
    PLazyNode n = Tree.GetFirstChild(nullptr);
    while (Index-- > 0) n = Tree.GetNextSibling(n);
    return n;
  }
  void Press() { Tree.DoStateChange({tsLeftButtonDown}); }
  TBaseLazyTree& Store() override { return Tree; }
  plat::TPoint ScrollOffsets() const override { return Offsets; }
  plat::TSize BandExtent() const override { return Extent; }
  void CaptureMouse() override { Log.push_back("capture"); }
  int DragDistance() const override { return 4; }
  void StopOtherGestures() override { Log.push_back("stop others"); }
  plat::TRect RowRect(PLazyNode Node, TColumnIndex) override {
    const int top = 18 * static_cast<int>(Node->Index);
    return plat::TRect(10, top, 200, top + 18);
  }
  bool HeightTrackAllowed(PLazyNode, TColumnIndex, plat::TShiftState, plat::TPoint TrackPoint,
                          plat::TPoint) override {
    AskedTrackPoint = TrackPoint;
    return AllowHeight;
  }
  void BandStarts() override { Log.push_back("band starts"); }
  void ApplyBand() override { Log.push_back("apply"); }
  void InvalidateWindow() override { Log.push_back("invalidate"); }
  void UpdateWindow() override { Log.push_back("update"); }
  std::vector<std::string> TakeLog() { return std::exchange(Log, {}); }
};

using Steps = std::vector<std::string>;

TEST(TreeGestures, BandIsPendingUntilDraggedPastTheDistanceThenAppliesEveryChange) {
  TFakeGestureWindow w;
  EXPECT_EQ(w.Gestures.State(), TTreeGesture::Idle);
  w.Press();
  EXPECT_EQ(w.Gestures.State(), TTreeGesture::Pressed);
  EXPECT_FALSE(w.Gestures.Moved({}, 5, 5));  // a plain press leaves the move to the rest of the window

  w.Tree.AddToSelection(w.Row(0));
  w.Tree.DoStateChange({tsClearPending});  // the press meant to clear the selection at its release
  w.Gestures.BeginBand({20, 20}, {});
  EXPECT_EQ(w.Gestures.State(), TTreeGesture::BandPending);
  EXPECT_EQ(w.TakeLog(), Steps{"capture"});

  EXPECT_TRUE(w.Gestures.Moved({}, 24, 23));  // within the drag distance: the corner moves, nothing selects
  EXPECT_EQ(w.Gestures.State(), TTreeGesture::BandPending);
  EXPECT_EQ(w.TakeLog(), Steps{"update"});
  EXPECT_TRUE(w.Gestures.Moved({}, 24, 23));  // no change, no repaint
  EXPECT_TRUE(w.TakeLog().empty());
  EXPECT_EQ(w.Tree.SelectedCount(), 1u);
  EXPECT_TRUE(w.Tree.TreeStates().Has(tsClearPending));

  EXPECT_TRUE(w.Gestures.Moved({}, 25, 23));  // past it: the pending clear happens now and the band selects
  EXPECT_EQ(w.Gestures.State(), TTreeGesture::Band);
  EXPECT_EQ(w.TakeLog(), (Steps{"update", "band starts", "apply", "invalidate"}));
  EXPECT_EQ(w.Tree.SelectedCount(), 0u);
  EXPECT_FALSE(w.Tree.TreeStates().Has(tsClearPending));
  EXPECT_EQ(w.Gestures.LastRect(), plat::TRect(0, 0, 0, 0));  // the first pass sees only the new rectangle
  EXPECT_EQ(w.Gestures.NewRect(), plat::TRect(20, 20, 25, 23));

  // A drawn band leaves the move to the window (drag, auto-scroll) and follows it afterwards.
  EXPECT_FALSE(w.Gestures.Moved({}, 40, 50));
  w.Gestures.MoveBand(40, 50);
  EXPECT_EQ(w.TakeLog(), (Steps{"apply", "invalidate", "update"}));
  EXPECT_EQ(w.Gestures.LastRect(), plat::TRect(20, 20, 25, 23));
  EXPECT_EQ(w.Gestures.NewRect(), plat::TRect(20, 20, 40, 50));
  w.Gestures.MoveBand(40, 50);  // unchanged: nothing to apply
  EXPECT_TRUE(w.TakeLog().empty());

  // While the scroll timer runs it extends the band itself; the moves leave it alone.
  w.Tree.DoStateChange({tsScrolling});
  w.Gestures.MoveBand(60, 70);
  EXPECT_TRUE(w.TakeLog().empty());
  EXPECT_EQ(w.Gestures.NewRect(), plat::TRect(20, 20, 40, 50));
  w.Offsets = {0, 30};  // the window scrolled up by 30 under the mouse at (60, 70)
  w.Gestures.BandFollowsScroll({60, 70});
  EXPECT_EQ(w.TakeLog(), (Steps{"apply", "invalidate"}));
  EXPECT_EQ(w.Gestures.NewRect(), plat::TRect(20, 20, 60, 40));
}

TEST(TreeGestures, BandCornerLandsInTreeCoordinatesWithinTheExtent) {
  struct Case {
    const char* name;
    plat::TPoint offsets;
    plat::TSize extent;
    plat::TPoint press, move;
    plat::TRect band;
    bool toggles;
    plat::TShiftState shift;
  };
  const Case cases[] = {
      {"unscrolled", {0, 0}, {400, 300}, {10, 10}, {50, 60}, {10, 10, 50, 60}, false, {}},
      {"scrolled right and down", {100, 40}, {400, 300}, {10, 10}, {50, 60}, {110, -30, 150, 20}, false, {}},
      {"drawn up and left stays as drawn", {0, 0}, {400, 300}, {50, 60}, {10, 10}, {50, 60, 10, 10}, false, {}},
      {"left of and above the rows", {0, 0}, {400, 300}, {50, 60}, {-30, -5}, {50, 60, 0, 0}, false, {}},
      {"beyond the extent", {0, 0}, {400, 300}, {50, 60}, {900, 700}, {50, 60, 400, 300}, false, {}},
      {"beyond the scrolled extent", {350, 250}, {400, 300}, {10, 10}, {90, 90}, {360, -240, 400, 0}, false, {}},
      {"Ctrl toggles", {0, 0}, {400, 300}, {10, 10}, {50, 60}, {10, 10, 50, 60}, true, {plat::ssCtrl}},
      {"Shift alone does not", {0, 0}, {400, 300}, {10, 10}, {50, 60}, {10, 10, 50, 60}, false, {plat::ssShift}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TFakeGestureWindow w;
    w.Offsets = c.offsets;
    w.Extent = c.extent;
    w.Gestures.BeginBand(c.press, c.shift);
    w.Gestures.Moved({}, c.move.X, c.move.Y);
    EXPECT_EQ(w.Gestures.NewRect(), c.band);
    EXPECT_EQ(w.Gestures.Toggles(), c.toggles);
  }
}

TEST(TreeGestures, TrackedRowTakesTheHeightTheMouseGivesIt) {
  struct Case {
    const char* name;
    int row;
    int y;
    bool allowed;
    uint32_t height;
  };
  const Case cases[] = {
      {"taller", 1, 18 + 40, true, 40},
      {"shorter", 2, 36 + 5, true, 5},
      {"above its top keeps one pixel", 1, 3, true, 1},
      {"refused by the window", 1, 18 + 40, false, 18},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TFakeGestureWindow w;
    w.Tree.SetDefaultNodeHeight(18);
    w.AllowHeight = c.allowed;
    PLazyNode row = w.Row(c.row);
    w.Press();
    w.Tree.DoStateChange({tsEditPending, tsOLEDragPending, tsScrollPending});
    w.Gestures.BeginHeightTrack(row, 0);
    EXPECT_EQ(w.Gestures.State(), TTreeGesture::HeightTrackPending);
    EXPECT_EQ(w.Gestures.HeightTrackNode(), row);
    EXPECT_TRUE(w.Log.empty());  // the press only arms it

    EXPECT_TRUE(w.Gestures.Moved({}, 30, c.y));
    EXPECT_EQ(w.Gestures.State(), TTreeGesture::HeightTracking);
    EXPECT_EQ(w.TakeLog(), (Steps{"stop others", "update"}));
    for (TLazyTreeState s : {tsEditPending, tsOLEDragPending, tsScrollPending})
      EXPECT_FALSE(w.Tree.TreeStates().Has(s)) << s;  // nothing else the press armed goes on
    EXPECT_EQ(w.AskedTrackPoint, plat::TPoint(10, 18 * c.row));
    EXPECT_EQ(w.Tree.GetNodeHeight(row), c.height);

    EXPECT_TRUE(w.Gestures.Moved({}, 30, 18 * c.row + 25));  // every further move tracks, without stopping again
    EXPECT_EQ(w.TakeLog(), Steps{"update"});
    EXPECT_EQ(w.Tree.GetNodeHeight(row), c.allowed ? 25u : 18u);
  }
}

}  // namespace
}  // namespace lazytree
