// Expanding and collapsing on the window: after the store toggled a node, the result is kept in view.
#include <QCoreApplication>

#include <chrono>

#include "tree/treecontrol.h"

namespace lazytree {

void TBaseLazyTreeControl::ToggleNode(PLazyNode Node) {
  if (!Node) throw ELazyTreeAssertion("Node must not be nil.");
  const bool wasExpanded = Node->Has(vsExpanded);
  const bool above = TreeOptions().PaintOptions.Has(toChildrenAbove);
  // The row and the range before an expansion decide how the new rows come into view.
  plat::TRect row;
  const int64_t rangeBefore = RangeY();
  if (!wasExpanded && (above || !Updating()) && Node != RootNode()) row = GetDisplayRect(Node, NoColumn, false);
  const int64_t totalBefore = Node->TotalHeight;
  TBaseLazyTree::ToggleNode(Node);
  if (Node->Has(vsExpanded) == wasExpanded || Updating() || Node->ChildCount == 0) return;
  if (TreeStates().Has(tsExpanding) || TreeStates().Has(tsPainting)) return;
  const int64_t heightDelta = static_cast<int64_t>(Node->TotalHeight) - totalBefore;
  const bool expanded = Node->Has(vsExpanded);
  const bool autoScroll = TreeOptions().AutoOptions.Has(toAutoScrollOnExpand);
  if (expanded && (autoScroll || above)) {
    const bool fits = GetNodeHeight(Node) + heightDelta <= ClientH();
    if (above) {
      const bool fits2 = fits && rangeBefore >= ClientH();
      const bool roomAbove = row.Top - heightDelta >= 0;
      const bool rowInside = ClientH() >= row.Bottom;
      if ((fits2 && roomAbove && rowInside) || !autoScroll) {
        SetOffsetY(static_cast<int>(OffsetY() - heightDelta));
      } else if (fits && rowInside) {
        PLazyNode first = GetFirstVisibleChildNoInit(Node);
        while (first && first->Has(vsExpanded) && GetFirstVisibleChildNoInit(first))
          first = GetFirstVisibleChildNoInit(first);
        if (first) SetOffsetY(OffsetY() - GetDisplayRect(first, NoColumn, false).Top);
      } else {
        SetBottomNode(Node);
      }
    } else if (fits) {
      ScrollIntoView(GetLastVisibleNoInit(Node, true, false), false, false);
    } else {
      SetTopNode(Node);
    }
  } else if (above) {
    SetOffsetY(static_cast<int>(OffsetY() - heightDelta));
  }
  Invalidate();
}

void TBaseLazyTreeControl::AnimateToggle(PLazyNode Node, bool Expanding, int64_t HeightDelta) {
  const TLazyTreeStates states = TreeStates();
  if (Updating() || !(TreeOptions().AnimationOptions & (1u << toAnimatedToggle)) || !CanAnimateToggle()) return;
  if (Expanding ? states.Has(tsExpanding) || states.Has(tsPainting) : states.Has(tsCollapsing)) return;
  if (Node == RootNode() || HeightDelta == 0) return;
  TToggleLayout layout;
  layout.ChildrenAbove = TreeOptions().PaintOptions.Has(toChildrenAbove);
  layout.Advanced = TreeOptions().AnimationOptions & (1u << toAdvancedAnimatedToggle);
  layout.AutoScrollOnExpand = TreeOptions().AutoOptions.Has(toAutoScrollOnExpand);
  layout.ClientHeight = ClientH();
  layout.RangeY = RangeY();
  layout.OffsetY = OffsetY();
  layout.Row = GetDisplayRect(Node, NoColumn, false);
  layout.NodeHeight = static_cast<int>(GetNodeHeight(Node));
  layout.HeightDelta = HeightDelta;
  if (Expanding && layout.Row.Top >= layout.ClientHeight) return;
  TTogglePlan plan = Expanding ? PlanExpand(layout) : PlanCollapse(layout);
  if (!plan.Run) return;
  if (states.Has(tsHint)) CancelHint();
  Update();  // what is pending is painted before the pixels move
  Animate(static_cast<uint32_t>(plan.Steps), FAnimationDuration, [&](int Step, int StepSize) {
    ToggleAnimationStep(plan, Step, StepSize,
                        [this](const plat::TRect& R, int Dy, bool First) { ScrollWindowRect(R, Dy, First); });
    return true;
  });
}

void TBaseLazyTreeControl::Animate(uint32_t Steps, uint32_t Duration,
                                   const std::function<bool(int Step, int StepSize)>& Callback) {
  if (TreeStates().Has(tsInAnimation) || Duration == 0) return;
  DoStateChange({tsInAnimation});
  struct Leave {
    TBaseLazyTreeControl* tree;
    ~Leave() noexcept(false) { tree->DoStateChange({}, {tsCancelHintAnimation, tsInAnimation}); }
  } leave{this};
  TMillisecondClock clock = FAnimationClock;
  if (!clock) {
    clock = [] {
      using namespace std::chrono;
      return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    };
  }
  lazytree::Animate(Steps, Duration, Callback, clock, [] { return QCoreApplication::closingDown(); });
}

}  // namespace lazytree
