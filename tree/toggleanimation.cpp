#include "tree/toggleanimation.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace lazytree {

namespace {

int RoundHalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }

// Both rectangles move: the longer distance drives the steps, the other follows by a scale factor.
void Prepare(TTogglePlan& p) {
  if (p.Mode1 != tmNoScroll && p.Mode2 != tmNoScroll) {
    if (p.Dist1 < p.Dist2) {
      std::swap(p.R1, p.R2);
      std::swap(p.Mode1, p.Mode2);
      std::swap(p.Dist1, p.Dist2);
    }
    p.ScaleFactor = p.Dist1 != 0 ? double(p.Dist2) / p.Dist1 : 0;
    p.MissedSteps = 0;
  }
  p.Steps = p.Mode1 == tmNoScroll ? p.Dist2 : p.Dist1;
}

}  // namespace

TTogglePlan PlanCollapse(const TToggleLayout& L) {
  TTogglePlan p;
  p.R1 = L.Row;
  const int64_t childH = -L.HeightDelta;
  const int ch = L.ClientHeight;
  if (L.ChildrenAbove) {
    if (L.Row.Top >= ch) return p;
    if (childH + L.OffsetY > 0 && L.Advanced) {
      p.Mode1 = tmScrollUp;
      p.R1.Top = static_cast<int>(std::max<int64_t>(L.Row.Top + L.HeightDelta, 0));
      p.R1.Bottom = ch;
      p.Dist1 = static_cast<int>(L.OffsetY - L.HeightDelta);
    } else {
      p.Mode1 = tmScrollDown;
      p.R1.Top = 0;
      p.R1.Bottom = L.Row.Top;
      p.Dist1 = static_cast<int>(std::min<int64_t>(childH, L.Row.Top + 1));
    }
  } else if (ch > L.RangeY + L.OffsetY + L.HeightDelta && ch < L.RangeY && L.OffsetY != 0 && L.Advanced) {
    p.Mode1 = tmScrollDown;
    p.R1.Top = 0;
    p.R1.Bottom = std::min(ch, L.Row.Bottom);  // the final repaint draws the rest
    p.Dist1 = static_cast<int>(std::min<int64_t>(ch - L.RangeY - L.OffsetY - L.HeightDelta, -L.OffsetY));
  } else {
    p.Mode1 = tmScrollUp;
    p.R1.Top = L.Row.Top + L.NodeHeight;
    p.R1.Bottom = ch;
    p.Dist1 = static_cast<int>(std::min<int64_t>(-L.HeightDelta, ch - p.R1.Top + 1));
  }
  p.Run = p.R1.Top < ch && p.Dist1 > 0;
  if (p.Run) Prepare(p);
  return p;
}

TTogglePlan PlanExpand(const TToggleLayout& L) {
  TTogglePlan p;
  const int ch = L.ClientHeight;
  const int rowTop = L.Row.Top;
  const bool fits = L.NodeHeight + L.HeightDelta <= ch;
  p.R1 = plat::Rect(L.Row.Left, rowTop, L.Row.Right, ch);
  if (L.ChildrenAbove) {
    const bool fits2 = fits && L.RangeY >= ch;
    const bool roomAbove = rowTop - L.HeightDelta >= 0;
    const bool rowInside = ch >= L.Row.Bottom;
    if (!L.Advanced || (fits2 && ((rowInside && roomAbove) || !L.AutoScrollOnExpand))) {
      p.Mode1 = tmScrollUp;
      p.R1 = plat::Rect(L.Row.Left, 0, L.Row.Right, rowTop);
      p.Dist1 = static_cast<int>(std::min<int64_t>(rowTop, L.HeightDelta));
    } else {
      p.Mode1 = tmScrollDown;
      p.Mode2 = tmScrollUp;
      p.R2 = plat::Rect(L.Row.Left, 0, L.Row.Right, rowTop);
      if (!L.AutoScrollOnExpand) {
        const int64_t over = L.RangeY + L.HeightDelta - ch;
        p.Dist1 = static_cast<int>(-L.OffsetY - std::max<int64_t>(over, 0) + L.HeightDelta);
        if (over <= 0)
          p.Mode2 = tmNoScroll;
        else
          p.Dist2 = static_cast<int>(std::min<int64_t>(over, p.R2.Bottom));
      } else {
        if (fits && rowInside && ch < L.RangeY + L.HeightDelta) {
          p.Dist1 = rowTop > L.HeightDelta ? static_cast<int>(ch - L.RangeY)
                                           : static_cast<int>(std::llabs(rowTop - L.HeightDelta));
        } else if (ch >= L.RangeY + L.HeightDelta) {
          p.Mode2 = tmNoScroll;
          p.Dist1 = static_cast<int>(L.HeightDelta);
        } else {
          p.Dist1 = ch - rowTop - L.NodeHeight;
        }
        if (p.Mode2 != tmNoScroll) {
          if (p.Dist1 > 0) {
            p.Dist2 = static_cast<int>(std::min<int64_t>(L.HeightDelta - p.Dist1, rowTop));
          } else {
            p.Mode1 = tmNoScroll;
            p.Dist2 = static_cast<int>(std::min<int64_t>(ch, L.HeightDelta));
          }
        }
      }
    }
  } else if ((fits && ch >= L.Row.Bottom + L.HeightDelta) || !L.AutoScrollOnExpand || !L.Advanced || rowTop <= 0) {
    p.Mode1 = tmScrollDown;
    p.R1.Top = rowTop + L.NodeHeight;
    p.Dist1 = static_cast<int>(std::min<int64_t>(ch - p.R1.Top, L.HeightDelta));
  } else {
    p.Mode1 = tmScrollUp;
    p.R1 = plat::Rect(L.Row.Left, 0, L.Row.Right, rowTop + L.NodeHeight + 1);
    p.Mode2 = tmScrollDown;
    p.R2 = plat::Rect(L.Row.Left, p.R1.Bottom, L.Row.Right, ch);
    p.Dist1 = static_cast<int>(std::min<int64_t>(L.HeightDelta - (ch - p.R2.Top), p.R1.Bottom - L.NodeHeight));
    p.Dist2 = ch - p.R2.Top;
  }
  p.Run = ch >= p.R1.Top && (p.Dist1 > 0 || p.Dist2 > 0);
  if (p.Run) Prepare(p);
  return p;
}

void ToggleAnimationStep(TTogglePlan& p, int Step, int StepSize, const TScrollRect& Scroll) {
  if (StepSize <= 0) return;
  int stepSize2 = 0;
  auto move = [&](const plat::TRect& r, TToggleScrollMode mode, int amount) {
    Scroll(r, mode == tmScrollUp ? -amount : amount, Step == 0);
  };
  if (p.Mode1 != tmNoScroll) {
    move(p.R1, p.Mode1, StepSize);
    if (p.Mode2 != tmNoScroll && p.ScaleFactor > 0) {
      stepSize2 = RoundHalfEven((StepSize + p.MissedSteps) * p.ScaleFactor);
      p.MissedSteps = StepSize * p.ScaleFactor + p.MissedSteps - stepSize2;
    }
  } else {
    stepSize2 = StepSize;
  }
  if (p.Mode2 != tmNoScroll) move(p.R2, p.Mode2, stepSize2);
}

void Animate(uint32_t Steps, uint32_t Duration, const std::function<bool(int, int)>& Callback,
             const TMillisecondClock& Clock, const std::function<bool()>& Terminating) {
  if (Duration == 0) return;
  auto terminating = [&] { return Terminating && Terminating(); };
  int64_t remainingTime = Duration;
  int stepSize = RoundHalfEven(std::max(double(Steps) / Duration, 1.0));
  int64_t remainingSteps = Steps / static_cast<uint32_t>(stepSize);
  int step = 0;
  while (remainingSteps > 0 && remainingTime > 0 && !terminating()) {
    const uint32_t start = Clock();
    const uint32_t next = start + static_cast<uint32_t>(remainingTime / remainingSteps);
    if (!Callback(step, stepSize)) break;
    uint32_t now = Clock();
    while (static_cast<int32_t>(now - next) < 0) now = Clock();
    const int64_t elapsed = static_cast<uint32_t>(now - start);
    if (elapsed > remainingTime) {
      remainingTime = 0;
      remainingSteps = 0;
    } else {
      remainingTime -= elapsed;
      remainingSteps -= 1;
    }
    while (remainingSteps > 0 && remainingTime / remainingSteps < 1) {
      ++stepSize;
      remainingSteps = remainingTime / stepSize;
    }
    step = static_cast<int>(Steps - remainingSteps);
  }
  if (!terminating()) Callback(0, 0);
}

}  // namespace lazytree
