// The store's counts and heights, and the selection it keeps consistent with them.
#include "tree/lazytree.h"

namespace lazytree {

// ------------------------------------------------------------------------------------------------------------
// Counts and heights

void TBaseLazyTree::AdjustTotalHeight(PLazyNode Node, int64_t Value, bool Relative) {
  const int64_t diff = Relative ? Value : Value - static_cast<int64_t>(Node->TotalHeight);
  if (diff == 0) return;
  PLazyNode n = Node;
  for (;;) {
    n->TotalHeight = static_cast<uint32_t>(n->TotalHeight + diff);
    if (n == FRoot || !n->Has(vsVisible) || !n->Parent->Has(vsExpanded)) break;
    n = n->Parent;
  }
  UpdateVerticalRange();
}

uint32_t TBaseLazyTree::CountVisibleChildren(PLazyNode Node) const {
  if (!Node || !Node->Has(vsExpanded) || !Node->FirstChild) return 0;
  uint32_t count = 0;
  PLazyNode c = Node->FirstChild;
  for (;;) {
    if (c->Has(vsVisible)) {
      if (!GetEffectivelyFiltered(c)) ++count;
      if (c->Has(vsExpanded) && c->FirstChild) {
        c = c->FirstChild;
        continue;
      }
    }
    for (;;) {
      if (c->NextSibling) {
        c = c->NextSibling;
        break;
      }
      c = c->Parent;
      if (c == Node) return count;
    }
  }
}

void TBaseLazyTree::UpdateAllChildrenHiddenFlag(PLazyNode Node) {
  if (!Node) return;
  if (Node->ChildCount > 0) {
    bool allHidden = true;
    for (PLazyNode c = Node->FirstChild; c; c = c->NextSibling)
      if (GetEffectivelyVisible(c)) {
        allHidden = false;
        break;
      }
    if (allHidden)
      Node->Include(vsAllChildrenHidden);
    else
      Node->Exclude(vsAllChildrenHidden);
  } else if (Node->Has(vsHasChildren)) {
    Node->Exclude(vsAllChildrenHidden);
  } else {
    Node->Include(vsAllChildrenHidden);
  }
}

void TBaseLazyTree::UpdateAllHiddenFlags() {
  for (PLazyNode n = GetFirstNoInit(); n; n = GetNextNoInit(n)) UpdateAllChildrenHiddenFlag(n);
}

bool TBaseLazyTree::GetEffectivelyFiltered(PLazyNode Node) const {
  return Node && Node->Has(vsFiltered) && !ShowFilteredNodes();
}

bool TBaseLazyTree::GetEffectivelyVisible(PLazyNode Node) const {
  return Node && Node->Has(vsVisible) && !GetEffectivelyFiltered(Node);
}

bool TBaseLazyTree::GetVisiblePath(PLazyNode Node) const {
  if (!Node || Node == FRoot) throw ELazyTreeAssertion("Invalid parameters.");
  PLazyNode n = Node;
  while (n->Parent != FRoot && n->Parent->Has(vsExpanded) && n->Parent->Has(vsVisible)) n = n->Parent;
  return n->Parent == FRoot;
}

bool TBaseLazyTree::GetFullyVisible(PLazyNode Node) const {
  if (!Node) throw ELazyTreeAssertion("Invalid parameter.");
  return Node->Has(vsVisible) && (Node == FRoot || GetVisiblePath(Node));
}

bool TBaseLazyTree::GetVisible(PLazyNode Node) {
  if (!Node) Node = FRoot;
  if (!Node->Has(vsInitialized)) InitNode(Node);
  return Node->Has(vsVisible);
}

void TBaseLazyTree::SetVisible(PLazyNode Node, bool Value) {
  if (!Node || Node == FRoot) throw ELazyTreeAssertion("Invalid parameter.");
  if (Node->Has(vsVisible) == Value) return;
  StopCacheValidation();
  PLazyNode parent = Node->Parent;
  const bool path = GetVisiblePath(Node);
  if (Value) {
    Node->Include(vsVisible);
    if (parent->Has(vsExpanded)) AdjustTotalHeight(parent, Node->TotalHeight, true);
    if (path) FVisibleCount += CountVisibleChildren(Node) + (GetEffectivelyVisible(Node) ? 1 : 0);
    if (!GetEffectivelyFiltered(Node)) parent->Exclude(vsAllChildrenHidden);
  } else {
    if (parent->Has(vsExpanded)) AdjustTotalHeight(parent, -static_cast<int64_t>(Node->TotalHeight), true);
    if (path) FVisibleCount -= CountVisibleChildren(Node) + (GetEffectivelyVisible(Node) ? 1 : 0);
    Node->Exclude(vsVisible);
    if (Updating())
      DoStateChange({tsUpdateHiddenChildrenNeeded});
    else
      UpdateAllChildrenHiddenFlag(parent);
  }
  InvalidatePositionCache();
  if (!Updating()) {
    RequestCacheValidation();
    UpdateScrollBars(true);
    Invalidate();
  }
}

void TBaseLazyTree::SetFiltered(PLazyNode Node, bool Value) {
  if (!Node || Node == FRoot) throw ELazyTreeAssertion("Invalid parameter.");
  if (!Node->Has(vsInitialized)) InitNode(Node);
  if (Node->Has(vsFiltered) == Value) return;
  StopCacheValidation();
  if (Value) {
    const bool fully = GetFullyVisible(Node);
    Node->Include(vsFiltered);
    if (!ShowFilteredNodes()) {
      AdjustTotalHeight(Node, -static_cast<int64_t>(GetNodeHeight(Node)), true);
      if (fully) --FVisibleCount;
    }
    if (Updating())
      DoStateChange({tsUpdateHiddenChildrenNeeded});
    else
      UpdateAllChildrenHiddenFlag(Node->Parent);
  } else {
    Node->Exclude(vsFiltered);
    if (!ShowFilteredNodes()) {
      AdjustTotalHeight(Node, GetNodeHeight(Node), true);
      if (GetFullyVisible(Node)) ++FVisibleCount;
    }
    if (Node->Has(vsVisible)) Node->Parent->Exclude(vsAllChildrenHidden);
  }
  InvalidatePositionCache();
  if (!Updating()) {
    RequestCacheValidation();
    UpdateScrollBars(true);
    Invalidate();
  }
}

uint32_t TBaseLazyTree::GetNodeHeight(PLazyNode Node) {
  if (!Node || Node == FRoot) return 0;
  if (!FOptions.MiscOptions.Has(toVariableNodeHeight) || Node->Has(vsDeleting)) return Node->NodeHeight;
  if (!Node->Has(vsInitialized)) InitNode(Node);
  MeasureItemHeight(Node);
  return Node->NodeHeight;
}

void TBaseLazyTree::MeasureItemHeight(PLazyNode Node) {
  if (Node->Has(vsHeightMeasured)) return;
  Node->Include(vsHeightMeasured);
  if (FOptions.MiscOptions.Has(toVariableNodeHeight) && !Node->Has(vsInitialized)) InitNode(Node);
}

void TBaseLazyTree::SetNodeHeight(PLazyNode Node, uint32_t Value) {
  if (!Node || Node == FRoot || ReadOnly()) return;
  // The field holds 16 bits; the totals must follow what is stored, not what was asked.
  if (Value > 0xFFFF) Value = 0xFFFF;
  if (Node->NodeHeight == Value) return;
  StopCacheValidation();
  const int64_t diff = static_cast<int64_t>(Value) - Node->NodeHeight;
  Node->NodeHeight = static_cast<uint16_t>(Value);
  if (GetEffectivelyFiltered(Node)) return;
  AdjustTotalHeight(Node, diff, true);
  InvalidatePositionCache();
  if (!FStates.Has(tsValidating) && GetFullyVisible(Node) && !Updating() && !FStates.Has(tsPainting) &&
      !FStates.Has(tsSizing)) {
    RequestCacheValidation();
    InvalidateToBottom(Node);
    UpdateScrollBars(true);
  }
}

void TBaseLazyTree::SetDefaultNodeHeight(uint32_t Value) {
  if (Value == 0) Value = 18;
  if (Value > 0xFFFF) Value = 0xFFFF;
  if (Value == FDefaultNodeHeight) return;
  StopCacheValidation();
  const int64_t diff = static_cast<int64_t>(Value) - FDefaultNodeHeight;
  FRoot->TotalHeight = static_cast<uint32_t>(FRoot->TotalHeight + diff);
  FRoot->NodeHeight = static_cast<uint16_t>(Value);
  FDefaultNodeHeight = Value;
  InvalidatePositionCache();
  if (!Updating() && HandleAllocated()) {
    RequestCacheValidation();
    UpdateScrollBars(true);
    Invalidate();
  }
}

void TBaseLazyTree::ToggleNode(PLazyNode Node) {
  if (!Node) throw ELazyTreeAssertion("Node must not be nil.");
  const bool wasToggling = FStates.Has(tsToggling);
  if (Node->Has(vsDeleting) || Node->Has(vsToggling)) return;
  DoStateChange({tsToggling});
  Node->Include(vsToggling);
  struct Leave {
    TBaseLazyTree* tree;
    PLazyNode node;
    bool wasToggling;
    ~Leave() {
      node->Exclude(vsToggling);
      if (!wasToggling) tree->FStates.Exclude(tsToggling);
    }
  } leave{this, Node, wasToggling};

  bool changed = false;
  if (Node->Has(vsExpanded)) {
    if (DoCollapsing(Node)) {
      changed = true;
      StopCacheValidation();
      AnimateToggle(Node, false, static_cast<int64_t>(GetNodeHeight(Node)) - Node->TotalHeight);
      AdjustTotalHeight(Node, GetEffectivelyFiltered(Node) ? 0 : GetNodeHeight(Node), false);
      if (GetFullyVisible(Node)) FVisibleCount -= CountVisibleChildren(Node);
      Node->Exclude(vsExpanded);
      DoCollapsed(Node);
      if (FOptions.AutoOptions.Has(toAutoFreeOnCollapse) && Node->ChildCount > 0) {
        DeleteChildren(Node, false);
        Node->Include(vsHasChildren);
      }
    }
  } else if (DoExpanding(Node)) {
    changed = true;
    StopCacheValidation();
    if (!Node->Has(vsInitialized)) InitNode(Node);
    if (Node->Has(vsHasChildren) && Node->ChildCount == 0) InitChildren(Node);
    if (Node->ChildCount > 0) {
      int64_t heightDelta = 0;
      for (PLazyNode c = Node->FirstChild; c; c = c->NextSibling)
        if (c->Has(vsVisible)) {
          MeasureItemHeight(c);
          heightDelta += c->TotalHeight;
        }
      AnimateToggle(Node, true, heightDelta);
      Node->Include(vsExpanded);
      AdjustTotalHeight(Node, heightDelta, true);
      if (GetFullyVisible(Node)) FVisibleCount += CountVisibleChildren(Node);
      DoExpanded(Node);
    }
  }
  if (changed) {
    InvalidatePositionCache();
    if (Updating()) {
      UpdateVerticalRange();
    } else {
      RequestCacheValidation();
      if (Node->ChildCount == 0) {
        InvalidateNode(Node);
      } else {
        UpdateVerticalRange();
        UpdateScrollBars(true);
        InvalidateToBottom(Node);
      }
    }
  }
}

void TBaseLazyTree::SetExpanded(PLazyNode Node, bool Value) {
  if (Node && Node != FRoot && Node->Has(vsExpanded) != Value) ToggleNode(Node);
}

bool TBaseLazyTree::DoExpanding(PLazyNode Node) {
  bool allowed = true;
  if (OnExpanding) OnExpanding(this, Node, allowed);
  return allowed;
}

void TBaseLazyTree::DoExpanded(PLazyNode Node) {
  if (OnExpanded) OnExpanded(this, Node);
}

bool TBaseLazyTree::DoCollapsing(PLazyNode Node) {
  bool allowed = true;
  if (OnCollapsing) OnCollapsing(this, Node, allowed);
  return allowed;
}

void TBaseLazyTree::DoCollapsed(PLazyNode Node) {
  if (OnCollapsed) OnCollapsed(this, Node);
}

void TBaseLazyTree::ChooseNextNodeToSelect(PLazyNode Node) {
  if (!FOptions.SelectionOptions.Has(toAlwaysSelectNode) || !Node) return;
  if (Node->NextSibling)
    FNextNodeToSelect = Node->NextSibling;
  else if (PLazyNode prev = Node->PrevSibling())
    FNextNodeToSelect = prev;
  else if (Node->Parent != FRoot)
    FNextNodeToSelect = Node->Parent;
  else
    FNextNodeToSelect = Node->FirstChild;
}

}  // namespace lazytree
