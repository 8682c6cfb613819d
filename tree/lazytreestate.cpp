// The store's initialisation of nodes and children, its tree states, update brackets and change notifications.
#include "tree/lazytree.h"

namespace lazytree {

// ------------------------------------------------------------------------------------------------------------
// Initialisation

void TBaseLazyTree::DoInitNode(PLazyNode Parent, PLazyNode Node, TLazyNodeInitStates& InitStates) {
  if (OnInitNode) OnInitNode(this, Parent, Node, InitStates);
}

bool TBaseLazyTree::DoInitChildren(PLazyNode Node, uint32_t& ChildCount) {
  if (!OnInitChildren) return false;
  OnInitChildren(this, Node, ChildCount);
  return true;
}

void TBaseLazyTree::InitNode(PLazyNode Node) {
  Node->Include(vsInitializing);
  FInitializing.push_back(Node);
  struct Done {
    TBaseLazyTree* tree;
    PLazyNode node;
    ~Done() {
      node->Exclude(vsInitializing);
      tree->FInitializing.pop_back();
    }
  } done{this, Node};
  TLazyNodeInitStates initStates;
  if (Node->Has(vsInitialized)) initStates.Include(ivsReInit);
  Node->Include(vsInitialized);
  DoInitNode(NilForRoot(Node->Parent), Node, initStates);
  if (initStates.Has(ivsDisabled)) Node->Include(vsDisabled);
  if (initStates.Has(ivsHasChildren)) Node->Include(vsHasChildren);
  if (initStates.Has(ivsSelected)) InternalAddToSelection(Node);
  if (initStates.Has(ivsMultiline)) Node->Include(vsMultiline);
  if (initStates.Has(ivsFiltered) && !Node->Has(vsFiltered)) {
    const bool fully = Node != FRoot && GetFullyVisible(Node);
    StopCacheValidation();
    Node->Include(vsFiltered);
    if (!ShowFilteredNodes()) {
      AdjustTotalHeight(Node, -static_cast<int64_t>(Node->NodeHeight), true);
      if (fully) --FVisibleCount;
      InvalidatePositionCache();
      if (!Updating()) UpdateScrollBars(true);
    }
  }
  if (Node->Has(vsExpanded) != initStates.Has(ivsExpanded)) {
    if (initStates.Has(ivsExpanded))
      ToggleNode(Node);
    else if (Node->Has(vsHasChildren))
      InitChildren(Node);
  }
}

void TBaseLazyTree::InitChildren(PLazyNode Node) {
  if (!Node || Node == FRoot || !Node->Has(vsHasChildren)) return;
  uint32_t count = Node->ChildCount;
  if (DoInitChildren(Node, count)) {
    SetChildCount(Node, count);
    if (count == 0) Node->Exclude(vsHasChildren);
  }
}

void TBaseLazyTree::ValidateNode(PLazyNode Node, bool Recursive) {
  if (!Node) Node = FRoot;
  if (Node != FRoot && !Node->Has(vsInitialized)) InitNode(Node);
  if (!Recursive) return;
  // Pre-order walk of the subtree, creating missing children as it goes.
  PLazyNode n = Node;
  for (;;) {
    if (n->Has(vsHasChildren) && n->ChildCount == 0) InitChildren(n);
    if (n->FirstChild) {
      n = n->FirstChild;
    } else {
      while (n != Node && !n->NextSibling) n = n->Parent;
      if (n == Node) return;
      n = n->NextSibling;
    }
    if (!n->Has(vsInitialized)) InitNode(n);
  }
}

void TBaseLazyTree::ValidateChildren(PLazyNode Node, bool Recursive) {
  if (!Node) Node = FRoot;
  if (Node->Has(vsHasChildren) && Node->ChildCount == 0) InitChildren(Node);
  for (PLazyNode c = Node->FirstChild; c; c = c->NextSibling) ValidateNode(c, Recursive);
}

void TBaseLazyTree::InitRecursive(PLazyNode Node, uint32_t Levels, bool VisibleOnly) {
  if (!Node) Node = FRoot;
  std::vector<std::pair<PLazyNode, uint32_t>> pending{{Node, Levels}};
  while (!pending.empty()) {
    auto [n, levels] = pending.back();
    pending.pop_back();
    if (n != FRoot && !n->Has(vsInitialized)) InitNode(n);
    if (levels == 0 || (VisibleOnly && !n->Has(vsExpanded))) continue;
    for (PLazyNode c = n->LastChild(); c; c = c->PrevSibling()) pending.emplace_back(c, levels - 1);
  }
}

void TBaseLazyTree::ReinitNode(PLazyNode Node, bool Recursive) {
  if (Node && Node != FRoot) {
    Node->Exclude(vsChecking);
    Node->Exclude(vsCutOrCopy);
    Node->Exclude(vsDeleting);
    Node->Exclude(vsHeightMeasured);
    if (Node->Has(vsInitialized)) InitNode(Node);
  }
  if (Recursive) ReinitChildren(Node, true);
}

void TBaseLazyTree::ReinitChildren(PLazyNode Node, bool Recursive) {
  if (!Node) Node = FRoot;
  InitChildren(Node);
  if (!Recursive) {
    for (PLazyNode c = Node->FirstChild; c; c = c->NextSibling) ReinitNode(c, false);
    return;
  }
  // The same order as reinitialising child by child, recursively, without recursion.
  PLazyNode n = Node->FirstChild;
  while (n) {
    ReinitNode(n, false);
    InitChildren(n);
    if (n->FirstChild) {
      n = n->FirstChild;
      continue;
    }
    while (n != Node && !n->NextSibling) n = n->Parent;
    n = n == Node ? nullptr : n->NextSibling;
  }
}

void TBaseLazyTree::DoResetNode(PLazyNode Node) {
  if (OnResetNode) OnResetNode(this, Node);
}

void TBaseLazyTree::ResetNode(PLazyNode Node) {
  CancelEditNode();
  if (!Node || Node == FRoot) {
    Clear();
    return;
  }
  DoResetNode(Node);
  DeleteChildren(Node, false);
  for (TLazyNodeState s : {vsInitialized, vsChecking, vsCutOrCopy, vsDeleting, vsExpanded, vsHasChildren,
                           vsHeightMeasured})
    Node->Exclude(s);
  InvalidateNode(Node);
}

// ------------------------------------------------------------------------------------------------------------
// Tree states, brackets and notifications

void TBaseLazyTree::DoStateChange(TLazyTreeStates Enter, TLazyTreeStates Leave) {
  const TLazyTreeStates next = (FStates + Enter) - Leave;
  // The handler hears only of requests that alter the set, with the requested sets.
  if (OnStateChange && next != FStates) FireSafely([&] { OnStateChange(this, Enter, Leave); });
  FStates = next;
}

void TBaseLazyTree::NoteChange(bool Structure, PLazyNode Node, TChangeReason Reason) {
  if (!Structure) {
    if (FStates.Has(tsChangePending))
      StopTimer(ChangeTimer);
    else
      DoStateChange({tsChangePending});
    FLastChangedNode = Node;
  } else {
    if (FStates.Has(tsStructureChangePending))
      StopTimer(StructureChangeTimer);
    else
      DoStateChange({tsStructureChangePending});
    FLastStructureChangeNode = Node;
    if (FLastStructureChangeReason == crIgnore)
      FLastStructureChangeReason = Reason;
    else if (Reason != crIgnore)
      FLastStructureChangeReason = crAccumulated;
  }
}

void TBaseLazyTree::Change(PLazyNode Node) {
  NoteChange(false, Node, crIgnore);
  if (Updating()) return;
  if (FChangeDelay > 0 && HandleAllocated() && !FStates.Has(tsSynchMode))
    StartTimer(ChangeTimer, FChangeDelay);
  else
    DoChange(Node);
}

void TBaseLazyTree::StructureChange(PLazyNode Node, TChangeReason Reason) {
  NoteChange(true, Node, Reason);
  if (Updating()) return;
  if (FChangeDelay > 0 && HandleAllocated() && !FStates.Has(tsSynchMode))
    StartTimer(StructureChangeTimer, FChangeDelay);
  else
    DoStructureChange(Node, Reason);
}

void TBaseLazyTree::DoChange(PLazyNode Node) {
  StopTimer(ChangeTimer);
  if (OnChange) FireSafely([&] { OnChange(this, Node); });
  DoStateChange({}, {tsChangePending});
  FLastChangedNode = nullptr;
}

void TBaseLazyTree::DoStructureChange(PLazyNode Node, TChangeReason Reason) {
  StopTimer(StructureChangeTimer);
  if (OnStructureChange) FireSafely([&] { OnStructureChange(this, Node, Reason); });
  DoStateChange({}, {tsStructureChangePending});
  FLastStructureChangeNode = nullptr;
  FLastStructureChangeReason = crIgnore;
}

void TBaseLazyTree::TimerFired(int TimerId) {
  if (TimerId == ChangeTimer) {
    StopTimer(ChangeTimer);
    if (FStates.Has(tsChangePending)) DoChange(FLastChangedNode);
  } else if (TimerId == StructureChangeTimer) {
    StopTimer(StructureChangeTimer);
    if (FStates.Has(tsStructureChangePending))
      DoStructureChange(FLastStructureChangeNode, FLastStructureChangeReason);
  }
}

void TBaseLazyTree::DoUpdating(TLTUpdateState State) {
  if (OnUpdating) FireSafely([&] { OnUpdating(this, State); });
}

void TBaseLazyTree::BeginUpdate() {
  AssertMainThread();
  if (!IsDestroying()) {
    if (FUpdateCount == 0) {
      DoUpdating(usBegin);
      SuspendRedraw();
    } else {
      DoUpdating(usUpdate);
    }
  }
  ++FUpdateCount;
  DoStateChange({tsUpdating});
}

void TBaseLazyTree::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  if (IsDestroying()) return;
  if (FUpdateCount == 0 && FStates.Has(tsUpdating)) {
    if (FStates.Has(tsUpdateHiddenChildrenNeeded)) {
      UpdateAllHiddenFlags();
      DoStateChange({}, {tsUpdateHiddenChildrenNeeded});
    }
    DoStateChange({}, {tsUpdating});
    InvalidatePositionCache();
    RequestCacheValidation();
    if (HandleAllocated()) UpdateScrollBars(false);
    auto finish = [this] {
      if (FOptions.AutoOptions.Has(toAutoSort)) SortTree(SortColumn(), SortDirection(), true);
      ResumeRedraw();
      if (HandleAllocated()) Invalidate();
    };
    try {
      if (FStates.Has(tsStructureChangePending))
        DoStructureChange(FLastStructureChangeNode, FLastStructureChangeReason);
      if (FStates.Has(tsChangePending)) DoChange(FLastChangedNode);
    } catch (...) {
      finish();
      DoUpdating(usEnd);
      throw;
    }
    finish();
  }
  if (FUpdateCount == 0) {
    DoUpdating(usEnd);
    EnsureNodeSelected();
  } else {
    DoUpdating(usUpdate);
  }
}

void TBaseLazyTree::BeginSynch() {
  if (!IsDestroying()) {
    if (FSynchUpdateCount == 0) {
      DoUpdating(usBeginSynch);
      for (int id : {ChangeTimer, StructureChangeTimer, 1, 2, 3, 4, 7}) StopTimer(id);
      DoStateChange({}, {tsEditPending, tsIncrementalSearching, tsScrolling, tsScrollPending});
      if (FStates.Has(tsStructureChangePending))
        DoStructureChange(FLastStructureChangeNode, FLastStructureChangeReason);
      if (FStates.Has(tsChangePending)) DoChange(FLastChangedNode);
    } else {
      DoUpdating(usSynch);
    }
  }
  ++FSynchUpdateCount;
  DoStateChange({tsSynchMode});
}

void TBaseLazyTree::EndSynch() {
  if (FSynchUpdateCount > 0) --FSynchUpdateCount;
  if (IsDestroying()) return;
  if (FSynchUpdateCount > 0) {
    DoUpdating(usSynch);
  } else {
    DoStateChange({}, {tsSynchMode});
    DoUpdating(usEndSynch);
  }
}

void TBaseLazyTree::StartOperation(TLTOperationKind Kind) {
  ++FOperationCount;
  // Reset before the handler runs, so that a handler may cancel the operation it is told of.
  if (FOperationCount == 1) FOperationCanceled = false;
  if (OnStartOperation) OnStartOperation(this, Kind);
}

void TBaseLazyTree::EndOperation(TLTOperationKind Kind) {
  if (FOperationCount == 0)
    throw ELazyTreeAssertion("EndOperation must not be called when no operation in progress.");
  --FOperationCount;
  if (OnEndOperation) OnEndOperation(this, Kind);
}

void TBaseLazyTree::CancelOperation() {
  if (FOperationCount > 0) FOperationCanceled = true;
}

void TBaseLazyTree::AddTempNode(PLazyNode Node) {
  if (FTempNodes.size() == FTempNodes.capacity())
    FTempNodes.reserve(FTempNodes.capacity() < 100 ? 100 : FTempNodes.capacity() + FTempNodes.capacity() / 10);
  FTempNodes.push_back(Node);
}

void TBaseLazyTree::ClearTempNodes() {
  FTempNodes.clear();
  FTempNodes.shrink_to_fit();
}

}  // namespace lazytree
