// Expanding whole subtrees, the visibility paths and the small per-node display settings of the lazy tree.
#include "tree/lazytree.h"

namespace lazytree {

void TBaseLazyTree::SetFullyVisible(PLazyNode Node, bool Value) {
  if (!Node || Node == FRoot) throw ELazyTreeAssertion("Invalid parameter");
  SetVisible(Node, Value);
  if (!Value) return;
  for (PLazyNode p = Node->Parent; p != FRoot; p = p->Parent) {
    if (!p->Has(vsExpanded)) ToggleNode(p);
    if (!p->Has(vsVisible)) SetVisible(p, true);
  }
}

void TBaseLazyTree::SetVisiblePath(PLazyNode Node, bool Value) {
  if (!Value || !Node || Node == FRoot) return;
  for (PLazyNode p = Node->Parent; p != FRoot; p = p->Parent)
    if (!p->Has(vsExpanded)) ToggleNode(p);
}

void TBaseLazyTree::SetDisabled(PLazyNode Node, bool Value) {
  if (!Node || Node == FRoot || Node->Has(vsDisabled) == Value) return;
  if (Value)
    Node->Include(vsDisabled);
  else
    Node->Exclude(vsDisabled);
  if (!Updating()) InvalidateNode(Node);
}

void TBaseLazyTree::SetVerticalAlignment(PLazyNode Node, uint8_t Value) {
  if (!Node || Node == FRoot) return;
  if (Value > 100) Value = 100;
  if (Node->Align == Value) return;
  Node->Align = Value;
  if (GetFullyVisible(Node) && !GetEffectivelyFiltered(Node)) InvalidateNode(Node);
}

// Pre-order: a parent is expanded before its children, so each toggle counts only the children it shows and
// the whole run is linear in the nodes it meets.
void TBaseLazyTree::FullExpand(PLazyNode Node) {
  if (FRoot->TotalCount < 2) return;
  PLazyNode stop = nullptr;
  if (!Node || Node == FRoot) {
    Node = FRoot->FirstChild;
  } else {
    for (PLazyNode n = Node; n != FRoot && !stop; n = n->Parent) stop = n->NextSibling;
  }
  DoStateChange({tsExpanding});
  StartOperation(okExpand);
  BeginUpdate();
  struct Finish {
    TBaseLazyTree* tree;
    ~Finish() noexcept(false) {
      tree->EndOperation(okExpand);
      tree->EndUpdate();
      tree->DoStateChange({}, {tsExpanding});
    }
  } finish{this};
  if (!Node->Has(vsInitialized)) InitNode(Node);
  while (Node && Node != stop && !OperationCanceled()) {
    if (!Node->Has(vsExpanded)) ToggleNode(Node);
    Node = GetNext(Node);
  }
}

void TBaseLazyTree::FullCollapse(PLazyNode Node) {
  if (FRoot->TotalCount < 2) return;
  if (Node == FRoot) Node = nullptr;
  DoStateChange({tsCollapsing});
  BeginUpdate();
  struct Finish {
    TBaseLazyTree* tree;
    ~Finish() noexcept(false) {
      tree->EndUpdate();
      tree->DoStateChange({}, {tsCollapsing});
    }
  } finish{this};
  auto collapsible = [](PLazyNode n) { return n->Has(vsExpanded) && n->Has(vsHasChildren); };
  // Backwards, so that every node is collapsed before its parent and each toggle counts a shown subtree once.
  for (PLazyNode n = GetLastVisibleNoInit(Node, true); n && n != Node; n = GetPreviousNoInit(n, true))
    if (collapsible(n)) ToggleNode(n);
  if (Node && collapsible(Node)) ToggleNode(Node);
}

void TBaseLazyTree::ApplyShowFilteredNodes(bool Show) {
  StopCacheValidation();
  for (PLazyNode n = GetFirstNoInit(); n; n = GetNextNoInit(n)) {
    if (!n->Has(vsFiltered)) continue;
    AdjustTotalHeight(n, Show ? n->NodeHeight : -static_cast<int64_t>(n->NodeHeight), true);
    if (GetFullyVisible(n)) {
      if (Show)
        ++FVisibleCount;
      else
        --FVisibleCount;
    }
  }
  UpdateAllHiddenFlags();
  InvalidatePositionCache();
}

bool TBaseLazyTree::HasVisibleNextSibling(PLazyNode Node) const {
  for (PLazyNode n = Node ? Node->NextSibling : nullptr; n; n = n->NextSibling)
    if (GetEffectivelyVisible(n)) return true;
  return false;
}

bool TBaseLazyTree::HasVisiblePreviousSibling(PLazyNode Node) const {
  for (PLazyNode n = Node ? Node->PrevSibling() : nullptr; n; n = n->PrevSibling())
    if (GetEffectivelyVisible(n)) return true;
  return false;
}

bool TBaseLazyTree::IsFirstVisibleChild(PLazyNode Parent, PLazyNode Node) const {
  return Node && Node->Parent == (Parent ? Parent : FRoot) && GetEffectivelyVisible(Node) &&
         !HasVisiblePreviousSibling(Node);
}

bool TBaseLazyTree::IsLastVisibleChild(PLazyNode Parent, PLazyNode Node) const {
  return Node && Node->Parent == (Parent ? Parent : FRoot) && GetEffectivelyVisible(Node) &&
         !HasVisibleNextSibling(Node);
}

}  // namespace lazytree
