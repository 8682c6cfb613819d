// Expanding and collapsing on the window: after the store toggled a node, the result is kept in view.
#include "tree/treecontrol.h"

namespace lazytree {

void TBaseLazyTreeControl::ToggleNode(PLazyNode Node) {
  if (!Node) throw ELazyTreeAssertion("Node must not be nil.");
  const bool wasExpanded = Node->Has(vsExpanded);
  const bool above = TreeOptions().PaintOptions.Has(toChildrenAbove);
  // The row and the range before an expansion decide how the new rows come into view.
  plat::TRect row;
  const int64_t rangeBefore = FRangeY;
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
        SetOffsetY(static_cast<int>(FOffsetY - heightDelta));
      } else if (fits && rowInside) {
        PLazyNode first = GetFirstVisibleChildNoInit(Node);
        while (first && first->Has(vsExpanded) && GetFirstVisibleChildNoInit(first))
          first = GetFirstVisibleChildNoInit(first);
        if (first) SetOffsetY(FOffsetY - GetDisplayRect(first, NoColumn, false).Top);
      } else {
        SetBottomNode(Node);
      }
    } else if (fits) {
      ScrollIntoView(GetLastVisibleNoInit(Node, true, false), false, false);
    } else {
      SetTopNode(Node);
    }
  } else if (above) {
    SetOffsetY(static_cast<int>(FOffsetY - heightDelta));
  }
  Invalidate();
}

}  // namespace lazytree
