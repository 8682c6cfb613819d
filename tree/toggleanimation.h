#pragma once
// The expand/collapse animation of the tree: where the window's pixels move and by how much (the plan), the
// step that moves them, and the timing loop that spreads the steps over the animation's duration. Pure
// routines over a clock, so that the arithmetic is tested without a window.

#include <cstdint>
#include <functional>

#include "platform/graphics/types.h"

namespace lazytree {

enum TToggleScrollMode : uint8_t { tmScrollUp, tmScrollDown, tmNoScroll };

// What the plan needs to know of the tree at the moment of the toggle (before the model changes).
struct TToggleLayout {
  bool ChildrenAbove = false;
  bool Advanced = false;            // toAdvancedAnimatedToggle
  bool AutoScrollOnExpand = false;  // toAutoScrollOnExpand
  int ClientHeight = 0;
  int64_t RangeY = 0;
  int OffsetY = 0;
  plat::TRect Row;                  // the node's row in client coordinates
  int NodeHeight = 0;
  int64_t HeightDelta = 0;          // rows that appear (expand) or minus those that go (collapse)
};

struct TTogglePlan {
  bool Run = false;
  plat::TRect R1, R2;
  TToggleScrollMode Mode1 = tmNoScroll, Mode2 = tmNoScroll;
  int Dist1 = 0, Dist2 = 0;
  double ScaleFactor = 0;
  double MissedSteps = 0;
  int Steps = 0;
};

TTogglePlan PlanCollapse(const TToggleLayout& L);
TTogglePlan PlanExpand(const TToggleLayout& L);

// Moves the rectangles of one step: Scroll(R, Dy, FirstStep) with a negative Dy moving pixels up.
using TScrollRect = std::function<void(const plat::TRect& R, int Dy, bool FirstStep)>;
void ToggleAnimationStep(TTogglePlan& Plan, int Step, int StepSize, const TScrollRect& Scroll);

// Milliseconds of a monotonic clock.
using TMillisecondClock = std::function<uint32_t()>;
// Calls Callback(Step, StepSize) until Steps pixels are done or Duration is used up, growing the step size when
// the frames cannot keep up; then a closing Callback(0, 0). A false answer stops the loop.
void Animate(uint32_t Steps, uint32_t Duration, const std::function<bool(int Step, int StepSize)>& Callback,
             const TMillisecondClock& Clock, const std::function<bool()>& Terminating = nullptr);

}  // namespace lazytree
