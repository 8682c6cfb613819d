// The selection of the tree's nodes: the address-ordered array with its search, merge and pack, single and
// bulk additions and removals, clearing, ranges for the mouse and the keyboard, select all and invert.
//
// Removals inside a bulk operation only mark their entry (bit 0 of the stored address) and the array is
// packed once before anything is merged in, so that a change of N nodes costs a sort of the new nodes and
// one pass over the array, never a shift of the array per node.
#include <QThread>

#include <algorithm>

#include "tree/lazytree.h"

namespace lazytree {

namespace {

constexpr std::uintptr_t kRemoved = 1;

std::uintptr_t KeyOf(PLazyNode Node) { return reinterpret_cast<std::uintptr_t>(Node); }
PLazyNode NodeOf(std::uintptr_t Entry) { return reinterpret_cast<PLazyNode>(Entry & ~kRemoved); }

// Orders node addresses. Nodes come from the arena's chunks, each handing out its blocks in one direction, so
// a range of nodes is a few monotonic runs; when the runs do not interleave, putting the runs in order (each
// one ascending) is enough.
void SortAddresses(std::vector<std::uintptr_t>& Keys) {
  constexpr std::size_t kMaxRuns = 256;
  struct TRun {
    std::size_t begin, end;
  };
  std::vector<TRun> runs;
  const std::size_t n = Keys.size();
  // A jump this large leaves the chunk: two chunks may follow each other in one direction yet lie apart, with
  // other chunks between them.
  constexpr std::uintptr_t kChunkGap = std::uintptr_t(1) << 20;
  for (std::size_t i = 0; i < n && runs.size() <= kMaxRuns;) {
    std::size_t j = i + 1;
    if (j < n && Keys[j] < Keys[i]) {
      while (j < n && Keys[j] < Keys[j - 1] && Keys[j - 1] - Keys[j] < kChunkGap) ++j;
      std::reverse(Keys.begin() + i, Keys.begin() + j);
    } else {
      while (j < n && Keys[j] > Keys[j - 1] && Keys[j] - Keys[j - 1] < kChunkGap) ++j;
    }
    runs.push_back({i, j});
    i = j;
  }
  if (runs.size() <= 1) return;
  if (runs.size() <= kMaxRuns) {
    std::sort(runs.begin(), runs.end(), [&](const TRun& a, const TRun& b) { return Keys[a.begin] < Keys[b.begin]; });
    bool disjoint = true;
    for (std::size_t r = 1; r < runs.size() && disjoint; ++r) disjoint = Keys[runs[r - 1].end - 1] < Keys[runs[r].begin];
    if (disjoint) {
      std::vector<std::uintptr_t> sorted;
      sorted.reserve(Keys.size());
      for (const TRun& r : runs) sorted.insert(sorted.end(), Keys.begin() + r.begin, Keys.begin() + r.end);
      Keys.swap(sorted);
      return;
    }
  }
  std::sort(Keys.begin(), Keys.end());
}

}  // namespace

// ------------------------------------------------------------------------------------------------------------
// Storage

bool TBaseLazyTree::LocateInSelection(PLazyNode Node, int& Index, int Low, int High) {
  const int count = static_cast<int>(FSelection.size());
  if (Low < 0) Low = 0;
  if (High < 0 || High > count - 1) High = count - 1;
  const auto first = FSelection.begin() + std::min(Low, count);
  const auto last = High < Low ? first : FSelection.begin() + High + 1;
  const auto it = std::lower_bound(first, last, KeyOf(Node));
  Index = static_cast<int>(it - FSelection.begin());
  return it != last && *it == KeyOf(Node);
}

int TBaseLazyTree::PackSelection() {
  if (FSelection.empty()) return -1;
  if (FSelectionRemoved > 0) {
    FSelection.erase(std::remove_if(FSelection.begin(), FSelection.end(),
                                    [](std::uintptr_t e) { return (e & kRemoved) != 0; }),
                     FSelection.end());
    FSelectionRemoved = 0;
  }
  return static_cast<int>(FSelection.size());
}

bool TBaseLazyTree::InternalAddToSelection(const PLazyNode* NewItems, int NewLength, bool ForceInsert) {
  const TLTSelectionOptions options = FOptions.SelectionOptions;
  const bool levelBound = !ForceInsert && options.Has(toLevelSelectConstraint);
  const bool siblingBound = !ForceInsert && options.Has(toSiblingSelectConstraint);
  if (NewLength > 0 && NewItems[0] && NewItems[0] != FRoot) {
    if (levelBound && FLastSelectionLevel < 0) FLastSelectionLevel = static_cast<int>(GetNodeLevel(NewItems[0]));
    if (siblingBound && !FRangeAnchor) FRangeAnchor = NewItems[0];
  }
  std::vector<std::uintptr_t> taken;
  taken.reserve(static_cast<std::size_t>(std::max(NewLength, 0)));
  for (int i = 0; i < NewLength; ++i) {
    PLazyNode n = NewItems[i];
    if (!n || n == FRoot) continue;
    if (!ForceInsert) {
      if (n->Has(vsDisabled) || n->Has(vsSelected)) continue;
      if (levelBound && static_cast<int>(GetNodeLevel(n)) != FLastSelectionLevel) continue;
      if (siblingBound && FRangeAnchor && n->Parent != FRangeAnchor->Parent) continue;
    }
    n->Include(vsSelected);
    ++FSelectionCount;
    FLastSelected = n;
    taken.push_back(KeyOf(n));
    DoAddToSelection(n);
  }
  if (taken.empty()) return false;
  SortAddresses(taken);
  PackSelection();
  // Merge the two ascending runs from the back, in place.
  std::size_t old = FSelection.size();
  std::size_t add = taken.size();
  FSelection.resize(old + add);
  for (std::size_t w = old + add; add > 0;) {
    if (old > 0 && FSelection[old - 1] > taken[add - 1])
      FSelection[--w] = FSelection[--old];
    else
      FSelection[--w] = taken[--add];
  }
  return true;
}

void TBaseLazyTree::WithdrawFromSelection(PLazyNode Node) {
  int index = 0;
  if (!LocateInSelection(Node, index)) return;
  Node->Exclude(vsSelected);
  FSelection[static_cast<std::size_t>(index)] |= kRemoved;
  ++FSelectionRemoved;
  if (FSelectionCount > 0) --FSelectionCount;
  if (FLastSelected == Node) FLastSelected = nullptr;
  DoRemoveFromSelection(Node);
  NoteChange(false, Node, crIgnore);
}

void TBaseLazyTree::EmptySelection() {
  if (Updating()) PackSelection();
  for (std::size_t i = FSelection.size(); i-- > 0;) {
    if (i >= FSelection.size()) continue;  // a handler changed the selection meanwhile
    const std::uintptr_t e = FSelection[i];
    if (e & kRemoved) continue;  // the node may be gone already
    PLazyNode n = NodeOf(e);
    n->Exclude(vsSelected);
    DoRemoveFromSelection(n);
  }
  FSelection.clear();  // the capacity stays for the next selection
  FSelectionRemoved = 0;
  FSelectionCount = 0;
  FLastSelected = nullptr;
  ResetRangeAnchor();
  if (FStates.Has(tsClearPending)) DoStateChange({}, {tsClearPending});
}

void TBaseLazyTree::ResetRangeAnchor() {
  FRangeAnchor = FFocusedNode;
  FLastSelectionLevel = -1;
}

void TBaseLazyTree::DoAddToSelection(PLazyNode Node) {
  if (OnAddToSelection) FireSafely([&] { OnAddToSelection(this, Node); });
}

void TBaseLazyTree::DoRemoveFromSelection(PLazyNode Node) {
  if (OnRemoveFromSelection) FireSafely([&] { OnRemoveFromSelection(this, Node); });
}

// The store's own changes: a node initialised as selected, a node that is deleted. The initialiser's answer
// is taken as given (also for a node it disables in the same answer).
void TBaseLazyTree::InternalAddToSelection(PLazyNode Node) {
  if (!Node->Has(vsSelected)) InternalAddToSelection(&Node, 1, true);
}

void TBaseLazyTree::InternalRemoveFromSelection(PLazyNode Node) {
  if (!Node->Has(vsSelected)) return;
  Node->Exclude(vsSelected);
  int index = 0;
  if (LocateInSelection(Node, index)) {
    FSelection[static_cast<std::size_t>(index)] |= kRemoved;
    ++FSelectionRemoved;
  }
  if (FSelectionCount > 0) --FSelectionCount;
  if (FLastSelected == Node) FLastSelected = nullptr;
}

// ------------------------------------------------------------------------------------------------------------
// Public operations

void TBaseLazyTree::AddToSelection(PLazyNode Node) {
  if (FSelectionLocked) return;
  if (!Node) throw ELazyTreeAssertion("Node must not be nil!");
  if (!InternalAddToSelection(&Node, 1, false)) return;
  if (FSelectionCount == 1) FocusBySelection(Node);
  InvalidateNode(Node);
  Change(Node);
}

void TBaseLazyTree::AddToSelection(const PLazyNode* NewItems, int NewLength, bool ForceInsert) {
  if (FSelectionLocked || !InternalAddToSelection(NewItems, NewLength, ForceInsert)) return;
  if (NewLength == 1) {
    InvalidateNode(NewItems[0]);
    Change(NewItems[0]);
  } else {
    Invalidate();
    Change(nullptr);
  }
}

void TBaseLazyTree::RemoveFromSelection(PLazyNode Node) {
  if (FSelectionLocked) return;
  if (!Node) throw ELazyTreeAssertion("Node must not be nil!");
  if (QCoreApplication* app = QCoreApplication::instance(); app && QThread::currentThread() != app->thread())
    throw ELazyTreeAssertion(std::string(ClassName()) + ".RemoveFromSelection() must only be called from UI thread.");
  if (!Node->Has(vsSelected)) return;
  Node->Exclude(vsSelected);
  int index = 0;
  if (LocateInSelection(Node, index)) FSelection.erase(FSelection.begin() + index);
  if (FSelectionCount > 0) --FSelectionCount;
  if (FLastSelected == Node) FLastSelected = nullptr;
  if (FSelectionCount == 0) ResetRangeAnchor();
  if (FSelectionCount <= 1) ChooseNextNodeToSelect(Node);
  DoRemoveFromSelection(Node);
  InvalidateNode(Node);
  Change(Node);
}

void TBaseLazyTree::ClearSelectionCore(bool Notify) {
  if (FSelectionLocked || FSelectionCount == 0 || IsDestroying()) return;
  if (!Updating()) Invalidate();
  EmptySelection();
  if (Notify) Change(nullptr);
}

void TBaseLazyTree::SetSelected(PLazyNode Node, bool Value) {
  if (FSelectionLocked || !Node || Node == FRoot || Node->Has(vsSelected) == Value) return;
  const bool multi = FOptions.SelectionOptions.Has(toMultiSelect);
  if (Value) {
    if (FSelectionCount == 0)
      FRangeAnchor = Node;
    else if (!multi)
      ClearSelection();
    AddToSelection(Node);
    if (!multi) FocusBySelection(Node);
    SelectionFocusesColumn();
    if (!FRangeAnchor) FRangeAnchor = Node;
  } else {
    RemoveFromSelection(Node);
    if (FSelectionCount == 0) ResetRangeAnchor();
  }
  if (GetFullyVisible(Node) && !GetEffectivelyFiltered(Node)) InvalidateNode(Node);
}

PLazyNode TBaseLazyTree::RangeStart(PLazyNode StartNode) {
  if (StartNode == FRoot) StartNode = nullptr;
  if (StartNode && !GetFullyVisible(StartNode)) StartNode = GetPreviousVisible(StartNode, true);
  return StartNode ? StartNode : GetFirstVisibleNoInit(nullptr, true);
}

void TBaseLazyTree::AddRangeToSelection(PLazyNode StartNode, PLazyNode EndNode, bool AddOnly) {
  if (!EndNode) throw ELazyTreeAssertion("EndNode must not be nil!");
  if (FSelectionLocked) return;
  ClearTempNodes();
  StartNode = RangeStart(StartNode);
  // An end that is not shown would never be met by the walk over visible nodes.
  EndNode = RangeStart(EndNode);
  if (!StartNode || !EndNode) return;
  PLazyNode first = StartNode;
  PLazyNode last = EndNode;
  if (CompareDisplayOrder(first, last, true) > 0) std::swap(first, last);
  PLazyNode anchor = FRangeAnchor;
  if (!AddOnly) EmptySelection();
  for (PLazyNode n = first; n; n = GetNextVisible(n, true)) {
    AddTempNode(n);
    if (n == last) break;
  }
  AddToSelection(FTempNodes.data(), static_cast<int>(FTempNodes.size()), false);
  ClearTempNodes();
  if (anchor && anchor->Has(vsSelected)) FRangeAnchor = anchor;
}

bool TBaseLazyTree::ToggleRangeEnds(PLazyNode& StartNode, PLazyNode& EndNode) {
  if (StartNode == FRoot) StartNode = nullptr;
  if (StartNode && !GetFullyVisible(StartNode)) StartNode = GetPreviousVisible(StartNode, true);
  if (!StartNode) StartNode = FRoot->FirstChild;
  EndNode = RangeStart(EndNode);
  return StartNode && EndNode;
}

void TBaseLazyTree::ToggleSelectionRange(PLazyNode StartNode, PLazyNode EndNode) {
  if (FSelectionLocked) return;
  if (!EndNode) throw ELazyTreeAssertion("EndNode must not be nil!");
  if (!ToggleRangeEnds(StartNode, EndNode)) return;
  const int order = CompareDisplayOrder(StartNode, EndNode, true);
  if (order == 0) return;
  PLazyNode upper = order < 0 ? StartNode : EndNode;
  PLazyNode lower = order < 0 ? EndNode : StartNode;
  PLazyNode anchor = FRangeAnchor ? FRangeAnchor : StartNode;
  const bool upperToggles = CompareDisplayOrder(upper, anchor, true) < 0;
  const bool lowerToggles = CompareDisplayOrder(lower, anchor, true) > 0;
  ClearTempNodes();
  bool removed = false;
  for (PLazyNode n = upper; n; n = GetNextVisible(n, true)) {
    const bool toggle = n == upper ? upperToggles : n == lower ? lowerToggles : true;
    if (toggle) {
      if (n->Has(vsSelected)) {
        WithdrawFromSelection(n);
        removed = true;
      } else {
        AddTempNode(n);
      }
    }
    if (n == lower) break;
  }
  PackSelection();
  if (FRangeAnchor && !FRangeAnchor->Has(vsSelected)) AddTempNode(FRangeAnchor);
  const uint32_t before = FSelectionCount;
  AddToSelection(FTempNodes.data(), static_cast<int>(FTempNodes.size()), false);
  ClearTempNodes();
  // Nodes that only left the selection are announced too.
  if (removed && FSelectionCount == before) {
    Invalidate();
    Change(nullptr);
  }
}

void TBaseLazyTree::RemoveSelectionRange(PLazyNode StartNode, PLazyNode EndNode) {
  if (FSelectionLocked) return;
  if (!EndNode) throw ELazyTreeAssertion("EndNode must not be nil!");
  if (!ToggleRangeEnds(StartNode, EndNode)) return;
  PLazyNode upper = StartNode;
  PLazyNode lower = EndNode;
  if (CompareDisplayOrder(upper, lower, true) > 0) std::swap(upper, lower);
  bool removed = false;
  for (PLazyNode n = upper; n; n = GetNextVisible(n, true)) {
    if (n->Has(vsSelected)) {
      WithdrawFromSelection(n);
      removed = true;
    }
    if (n == lower) break;
  }
  PackSelection();
  if (removed) {
    Invalidate();
    Change(nullptr);
  }
}

void TBaseLazyTree::SelectAll(bool VisibleOnly) {
  if (!FOptions.SelectionOptions.Has(toMultiSelect) || FSelectionLocked) return;
  ClearTempNodes();
  if (VisibleOnly) {
    for (PLazyNode n = GetFirstVisible(nullptr, true); n; n = GetNextVisible(n, true))
      if (!n->Has(vsSelected)) AddTempNode(n);
  } else {
    for (PLazyNode n = GetFirst(); n; n = GetNext(n))
      if (!n->Has(vsSelected)) AddTempNode(n);
  }
  AddToSelection(FTempNodes.data(), static_cast<int>(FTempNodes.size()), false);
  ClearTempNodes();
  Invalidate();
}

void TBaseLazyTree::InvertSelection(bool VisibleOnly) {
  if (!FOptions.SelectionOptions.Has(toMultiSelect) || FSelectionLocked) return;
  ClearTempNodes();
  bool removed = false;
  PLazyNode n = VisibleOnly ? GetFirstVisibleNoInit(nullptr, true) : GetFirstNoInit();
  while (n) {
    if (n->Has(vsSelected)) {
      WithdrawFromSelection(n);
      removed = true;
    } else {
      AddTempNode(n);
    }
    n = VisibleOnly ? GetNextVisibleNoInit(n, true) : GetNextNoInit(n);
  }
  PackSelection();
  const uint32_t before = FSelectionCount;
  AddToSelection(FTempNodes.data(), static_cast<int>(FTempNodes.size()), false);
  ClearTempNodes();
  Invalidate();
  if (removed && FSelectionCount == before) Change(nullptr);
  if (FSelectionCount == 0) FNextNodeToSelect = nullptr;
}

std::vector<PLazyNode> TBaseLazyTree::GetSortedSelection(bool Resolve) {
  std::vector<PLazyNode> result;
  if (FSelectionCount == 0) return result;
  result.reserve(FSelectionCount);
  PLazyNode n = GetFirstNoInit();
  while (n) {
    if (!n->Has(vsSelected)) {
      n = GetNextNoInit(n);
      continue;
    }
    result.push_back(n);
    if (!Resolve) {
      if (result.size() == FSelectionCount) break;
      n = GetNextNoInit(n);
      continue;
    }
    // Past the node's subtree.
    PLazyNode up = n;
    while (up != FRoot && !up->NextSibling) up = up->Parent;
    n = up == FRoot ? nullptr : up->NextSibling;
  }
  return result;
}

}  // namespace lazytree
