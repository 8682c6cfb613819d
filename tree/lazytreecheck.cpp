// Check controls of the node store: asking for and applying a state, propagating it between a tri-state box
// and its children, radio-button exclusivity, the bulk operations, and the check image index.

#include "tree/checkstate.h"
#include "tree/lazytree.h"

namespace lazytree {

int CheckImageIndex(TCheckType Type, TCheckState State, bool Enabled, bool Hot) {
  if (Type == ctNone) return -1;
  if (IsDisabled(State)) {
    State = GetEnabled(State);
    Enabled = false;
  }
  const bool pressed = State == csUncheckedPressed || State == csCheckedPressed || State == csMixedPressed;
  const TCheckState released = GetUnpressed(State);
  int group;  // first image of the group of four
  if (released == csMixedNormal) {
    group = 17;
  } else if (Type == ctButton) {
    group = 21;
  } else {
    const bool checked = released == csCheckedNormal;
    group = (Type == ctRadioButton ? 1 : 9) + (checked ? 4 : 0);
  }
  if (!Enabled) return group + 3;
  if (pressed) return group + 2;
  return Hot ? group + 1 : group;
}

TCheckState TBaseLazyTree::GetCheckState(PLazyNode Node) const { return Node->CheckState; }

TCheckType TBaseLazyTree::GetCheckType(PLazyNode Node) const { return Node->CheckType; }

TCheckState TBaseLazyTree::NextCheckState(TCheckType Type, TCheckState State) const {
  return DefaultNextCheckState(Type, State);
}

void TBaseLazyTree::SetCheckState(PLazyNode Node, TCheckState Value) {
  if (Node->CheckState == Value || Node->Has(vsDisabled)) return;
  if (DoChecking(Node, Value)) DoSetCheckState(Node, Value);
}

bool TBaseLazyTree::DoChecking(PLazyNode Node, TCheckState& NewState) {
  if (ReadOnly()) return false;
  bool allowed = true;
  if (OnChecking) OnChecking(this, Node, NewState, allowed);
  return allowed;
}

void TBaseLazyTree::DoSetCheckState(PLazyNode Node, TCheckState NewState) {
  if (PropagateCheckState(Node, NewState)) DoChecked(Node);
}

void TBaseLazyTree::DoChecked(PLazyNode Node) {
  if (OnChecked) OnChecked(this, Node);
}

namespace {

bool IsBox(TCheckType t) { return t == ctTriStateCheckBox || t == ctCheckBox; }

struct TChildTally {
  bool unchecked = false, checked = false, mixed = false;
};

// Counts a child's resulting state. Unchecking counts the disabled forms too (a child that cannot follow
// keeps the parent from being plainly unchecked); checking counts only the normal states.
void Tally(TChildTally& t, TCheckState s, bool Unchecking) {
  if (s == csUncheckedNormal || (Unchecking && s == csUncheckedDisabled)) t.unchecked = true;
  else if (s == csCheckedNormal || (Unchecking && s == csCheckedDisabled)) t.checked = true;
  else if (s == csMixedNormal) t.mixed = true;
}

}  // namespace

// Sets every box child to Value (each asks its own OnChecking and propagates down) and returns the state the
// tri-state parent gets from their results.
TCheckState TBaseLazyTree::PropagateDown(PLazyNode Node, TCheckState Value) {
  const bool unchecking = Value == csUncheckedNormal;
  TChildTally tally;
  for (PLazyNode child = Node->FirstChild; child; child = child->NextSibling) {
    if (!IsBox(child->CheckType)) continue;
    if (!IsDisabled(child->CheckState)) SetCheckState(child, Value);
    Tally(tally, child->CheckState, unchecking);
  }
  if (tally.mixed) return csMixedNormal;
  if (tally.checked) return tally.unchecked ? csMixedNormal : csCheckedNormal;
  return Value;
}

bool TBaseLazyTree::PropagateCheckState(PLazyNode Node, TCheckState Value) {
  if (Node->Has(vsChecking)) return false;
  Node->Include(vsChecking);
  struct Leave {
    TBaseLazyTree* tree;
    PLazyNode node;
    bool entered = false;
    ~Leave() {
      node->Exclude(vsChecking);
      if (entered && --tree->FCheckPropagationDepth == 0) tree->DoStateChange({}, {tsCheckPropagation});
    }
  } leave{this, Node};
  if (!Node->Has(vsInitialized)) {
    InitNode(Node);
  } else if (Node->CheckState == Value) {
    return false;
  }
  if (FCheckPropagationDepth++ == 0) DoStateChange({tsCheckPropagation});
  leave.entered = true;
  const bool tracking = TreeOptions().AutoOptions.Has(toAutoTristateTracking);
  if (Node->CheckType == ctTriStateCheckBox && tracking && Node->FirstChild &&
      (Value == csUncheckedNormal || Value == csCheckedNormal)) {
    Value = PropagateDown(Node, Value);
  } else if (Node->CheckType == ctRadioButton && Value == csCheckedNormal) {
    for (PLazyNode sibling = Node->Parent->FirstChild; sibling; sibling = sibling->NextSibling)
      if (sibling->CheckType == ctRadioButton) sibling->CheckState = csUncheckedNormal;
    Invalidate();
  }
  Node->CheckState = Value;
  PLazyNode parent = Node->Parent;
  if (parent != FRoot && !parent->Has(vsInitialized)) InitNode(parent);
  bool result = true;
  if (tracking && !parent->Has(vsChecking) && !parent->Has(vsDisabled) && IsBox(Node->CheckType) &&
      parent != FRoot && parent->CheckType == ctTriStateCheckBox)
    result = DeriveParentCheckState(Node, Value);
  InvalidateNode(Node);
  return result;
}

bool TBaseLazyTree::DeriveParentCheckState(PLazyNode Node, TCheckState NewState) {
  PLazyNode parent = Node->Parent;
  uint32_t counted = 0, checked = 0;
  bool mixed = false;
  for (PLazyNode child = parent->FirstChild; child; child = child->NextSibling) {
    if (!IsBox(child->CheckType)) continue;
    const TCheckState s = child == Node ? NewState : TCheckState(child->CheckState);
    ++counted;
    if (IsChecked(s)) ++checked;
    if (s == csMixedNormal) mixed = true;
  }
  TCheckState state = csCheckedNormal;
  if (checked == 0 && !mixed) state = csUncheckedNormal;
  else if (checked < counted) state = csMixedNormal;
  const bool allowed = DoChecking(parent, state);
  if (allowed) DoSetCheckState(parent, state);
  return allowed;
}

void TBaseLazyTree::SetCheckType(PLazyNode Node, TCheckType Value) {
  if (Node->CheckType == Value || ReadOnly()) return;
  Node->CheckType = Value;
  if (Value != ctTriStateCheckBox && (Node->CheckState == csMixedNormal || Node->CheckState == csMixedPressed))
    Node->CheckState = csUncheckedNormal;
  PLazyNode parent = Node->Parent;
  if (TreeOptions().AutoOptions.Has(toAutoTristateTracking) && IsBox(Value) && parent != FRoot) {
    if (!parent->Has(vsInitialized)) InitNode(parent);
    if (parent->CheckType == ctTriStateCheckBox) {
      const TCheckState ps = parent->CheckState;
      if (ps == csUncheckedNormal || ps == csUncheckedDisabled) SetCheckState(Node, csUncheckedNormal);
      else if (ps == csCheckedNormal || ps == csCheckedDisabled) SetCheckState(Node, csCheckedNormal);
    }
  }
  InvalidateNode(Node);
}

int TBaseLazyTree::CheckedCount() {
  int count = 0;
  for (PLazyNode n = GetFirstNoInit(); n; n = GetNextNoInit(n))
    if (n->CheckState == csCheckedNormal) {
      if (!n->Has(vsInitialized)) InitNode(n);
      ++count;
    }
  return count;
}

void TBaseLazyTree::ClearChecked() {
  for (PLazyNode n = GetFirstNoInit(); n; n = GetNextNoInit(n))
    if (n->CheckState != csUncheckedNormal) SetCheckState(n, csUncheckedNormal);
}

void TBaseLazyTree::SetCheckStateForAll(TCheckState aCheckState, bool pSelectedOnly, bool pExcludeDisabled) {
  BeginLongWork();
  BeginUpdate();
  struct Leave {
    TBaseLazyTree* tree;
    ~Leave() {
      tree->EndUpdate();
      tree->EndLongWork();
    }
  } leave{this};
  PLazyNode n = pSelectedOnly ? GetFirstSelected() : GetFirst();
  while (n) {
    if (!(pExcludeDisabled && IsDisabled(n->CheckState))) SetCheckState(n, aCheckState);
    n = pSelectedOnly ? GetNextSelected(n) : GetNext(n);
  }
}

}  // namespace lazytree
