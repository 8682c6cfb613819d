// The toggle animation's arithmetic: which rectangles move how far, the step that moves them, and the timing
// loop, over a clock that a test drives.
#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "tree/toggleanimation.h"

namespace lazytree {
namespace {

struct Call {
  int step, size;
};

// A clock that advances Tick milliseconds on every read.
std::vector<Call> RunAnimate(uint32_t steps, uint32_t duration, uint32_t tick, bool stopEarly = false,
                             bool terminating = false) {
  uint32_t t = 0;
  std::vector<Call> calls;
  Animate(
      steps, duration,
      [&](int step, int size) {
        calls.push_back({step, size});
        return !(stopEarly && calls.size() == 3);
      },
      [&] { return t += tick; }, [&] { return terminating; });
  return calls;
}

TEST(ToggleAnimation, TimingLoopSpreadsStepsOverTheDuration) {
  // Ten pixels in 100 ms with a fast clock: one pixel every 10 ms, then the closing call.
  std::vector<Call> calls = RunAnimate(10, 100, 1);
  ASSERT_EQ(calls.size(), 11u);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(calls[static_cast<std::size_t>(i)].step, i);
    EXPECT_EQ(calls[static_cast<std::size_t>(i)].size, 1);
  }
  EXPECT_EQ(calls.back().size, 0);
}

TEST(ToggleAnimation, SlowFramesGrowTheStepInsteadOfTheDuration) {
  std::vector<Call> calls = RunAnimate(100, 100, 5);  // every frame takes 5 ms or more
  ASSERT_GE(calls.size(), 2u);
  EXPECT_LT(calls.size(), 40u);
  int biggest = 0, pixels = 0;
  for (std::size_t i = 0; i + 1 < calls.size(); ++i) {
    biggest = std::max(biggest, calls[i].size);
    pixels += calls[i].size;
  }
  EXPECT_GT(biggest, 1);
  EXPECT_LE(pixels, 100);
  EXPECT_EQ(calls.back().size, 0);
}

TEST(ToggleAnimation, StopsOnRequestAndWhenTheApplicationEnds) {
  EXPECT_EQ(RunAnimate(50, 100, 1, true).size(), 4u);  // three steps, then the closing call
  EXPECT_TRUE(RunAnimate(50, 100, 1, false, true).empty());
  EXPECT_TRUE(RunAnimate(50, 0, 1).empty());
}

TToggleLayout Layout(int rowTop, int64_t delta, bool above = false, bool advanced = false) {
  TToggleLayout l;
  l.ChildrenAbove = above;
  l.Advanced = advanced;
  l.AutoScrollOnExpand = true;
  l.ClientHeight = 180;
  l.RangeY = 360;
  l.OffsetY = 0;
  l.Row = plat::Rect(0, rowTop, 200, rowTop + 18);
  l.NodeHeight = 18;
  l.HeightDelta = delta;
  return l;
}

TEST(ToggleAnimation, PlansOfCollapseAndExpand) {
  struct Case {
    const char* name;
    bool expand;
    TToggleLayout layout;
    bool run;
    TToggleScrollMode mode1, mode2;
    plat::TRect r1;
    int dist1, dist2, steps;
  };
  TToggleLayout gap = Layout(100, -100, false, true);
  gap.RangeY = 400;
  gap.OffsetY = -300;
  const Case cases[] = {
      {"collapse, rows below move up", false, Layout(36, -72), true, tmScrollUp, tmNoScroll,
       plat::Rect(0, 54, 200, 180), 72, 0, 72},
      {"collapse, rows below, few left", false, Layout(150, -300), true, tmScrollUp, tmNoScroll,
       plat::Rect(0, 168, 200, 180), 13, 0, 13},
      {"collapse above, row out of view", false, Layout(200, -36, true), false, tmNoScroll, tmNoScroll,
       plat::Rect(0, 200, 200, 218), 0, 0, 0},
      {"collapse above, rows move down", false, Layout(90, -54, true), true, tmScrollDown, tmNoScroll,
       plat::Rect(0, 0, 200, 90), 54, 0, 54},
      {"collapse leaving a gap at the bottom", false, gap, true, tmScrollDown, tmNoScroll,
       plat::Rect(0, 0, 200, 118), 180, 0, 180},
      {"expand, rows below move down", true, Layout(36, 72), true, tmScrollDown, tmNoScroll,
       plat::Rect(0, 54, 200, 180), 72, 0, 72},
      {"expand near the bottom, both parts move", true, Layout(144, 90, false, true), true, tmScrollUp,
       tmScrollDown, plat::Rect(0, 0, 200, 163), 73, 17, 73},
      {"expand above, rows above move up", true, Layout(90, 36, true), true, tmScrollUp, tmNoScroll,
       plat::Rect(0, 0, 200, 90), 36, 0, 36},
      {"expand below the window", true, Layout(190, 36), false, tmScrollDown, tmNoScroll,
       plat::Rect(0, 208, 200, 180), -28, 0, 0},
  };
  for (const Case& c : cases) {
    const TTogglePlan p = c.expand ? PlanExpand(c.layout) : PlanCollapse(c.layout);
    EXPECT_EQ(p.Run, c.run) << c.name;
    if (!c.run) continue;
    EXPECT_EQ(p.Mode1, c.mode1) << c.name;
    EXPECT_EQ(p.Mode2, c.mode2) << c.name;
    EXPECT_EQ(p.R1, c.r1) << c.name;
    EXPECT_EQ(p.Dist1, c.dist1) << c.name;
    EXPECT_EQ(p.Dist2, c.dist2) << c.name;
    EXPECT_EQ(p.Steps, c.steps) << c.name;
  }
}

// The second rectangle follows the first by the scale factor, carrying the rounding remainder, so after all
// steps it has moved its distance to within a pixel (the final repaint draws the exact state).
TEST(ToggleAnimation, SecondRectangleFollowsByTheScaleFactor) {
  TTogglePlan p = PlanExpand(Layout(144, 90, false, true));
  ASSERT_TRUE(p.Run);
  int first = 0, second = 0, fills = 0;
  for (int step = 0; step < p.Steps; ++step)
    ToggleAnimationStep(p, step, 1, [&](const plat::TRect& r, int dy, bool firstStep) {
      if (firstStep) ++fills;
      (r == p.R1 ? first : second) += std::abs(dy);
      EXPECT_EQ(dy < 0, r == p.R1) << "the upper part moves up, the lower one down";
    });
  ToggleAnimationStep(p, 0, 0, [&](const plat::TRect&, int, bool) { ADD_FAILURE() << "closing call moves"; });
  EXPECT_EQ(first, 73);
  EXPECT_NEAR(second, 17, 1);
  EXPECT_EQ(fills, 2);
}

}  // namespace
}  // namespace lazytree
