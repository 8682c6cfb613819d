// Sorting siblings: a stable top-down merge sort of a sibling chain that asks the application to
// compare two nodes, the whole-tree sort (iterative, so deep trees need no deep stack), and the ordering of
// node arrays by address.

#include <algorithm>
#include <utility>
#include <vector>

#include "tree/lazytree.h"

namespace lazytree {

int TBaseLazyTree::DoCompareNodes(PLazyNode Node1, PLazyNode Node2, TColumnIndex Column) {
  int result = 0;
  if (OnCompareNodes) OnCompareNodes(this, Node1, Node2, Column, result);
  return result;
}

namespace {

// One sort of a sibling chain, top-down: n nodes are sorted as the first n div 2 and the next (n + 1) div 2,
// then merged; the comparison is asked only for the heads of the two runs (the earlier run's head first), so
// equal nodes keep their order and the descending order comes from the inverted test.
// The chain is copied into an array of node pointers first: the merges then know the nodes they will reach a
// few steps ahead and load them early, where walking NextSibling links would wait for each node in turn.
// The pairs asked, and their order, are those of merging the linked runs.
class TChainSorter {
 public:
  TChainSorter(TBaseLazyTree* Tree, TColumnIndex Column, TSortDirection Direction)
      : FTree(Tree), FColumn(Column), FDescending(Direction == sdDescending) {}

  // Sorts the Count children of Parent (Count >= 2) and returns them in their new order.
  std::vector<PLazyNode> SortChildren(PLazyNode Parent, uint32_t Count) {
    std::vector<PLazyNode> nodes;
    nodes.reserve(Count);
    for (PLazyNode n = Parent->FirstChild; n; n = n->NextSibling) nodes.push_back(n);
    FBuffer.resize(Count);
    SortRange(nodes.data(), Count);
    return nodes;
  }

 private:
  static constexpr uint32_t kLookAhead = 12;

  bool TakeSecond(PLazyNode A, PLazyNode B) {
    if (FTree->OperationCanceled()) return false;  // a cancelled sort finishes at once, keeping the order
    const int r = FTree->DoCompareNodes(A, B, FColumn);
    return FDescending ? r < 0 : r > 0;
  }

  // Recursion depth is the logarithm of the count.
  void SortRange(PLazyNode* A, uint32_t Count) {
    if (Count < 2) return;
    const uint32_t first = Count / 2;
    SortRange(A, first);
    SortRange(A + first, Count - first);
    Merge(A, first, Count);
  }

  void Merge(PLazyNode* A, uint32_t First, uint32_t Count) {
    PLazyNode* out = FBuffer.data();
    uint32_t i = 0, j = First, k = 0;
    while (i < First && j < Count) {
      if (i + kLookAhead < First) __builtin_prefetch(A[i + kLookAhead]);
      if (j + kLookAhead < Count) __builtin_prefetch(A[j + kLookAhead]);
      if (TakeSecond(A[i], A[j])) out[k++] = A[j++];
      else out[k++] = A[i++];
    }
    while (i < First) out[k++] = A[i++];
    // What is left of the second run is already in place.
    std::copy(out, out + k, A);
  }

  TBaseLazyTree* FTree;
  TColumnIndex FColumn;
  bool FDescending;
  std::vector<PLazyNode> FBuffer;
};

}  // namespace

void TBaseLazyTree::Sort(PLazyNode Node, TColumnIndex Column, TSortDirection Direction, bool DoInit) {
  StopCacheValidation();
  if (FStates.Has(tsEditPending)) {
    StopEditTimer();
    DoStateChange({}, {tsEditPending});
  }
  if (FStates.Has(tsEditing) && !EndEditForSort()) return;
  if (!Node) Node = FRoot;
  if (Node != FRoot && !Node->Has(vsHasChildren)) return;
  if (DoInit) ValidateChildren(Node, false);
  if (Node->ChildCount >= 2) {
    StartOperation(okSortNode);
    struct End {
      TBaseLazyTree* tree;
      ~End() { tree->EndOperation(okSortNode); }
    } end{this};
    const std::vector<PLazyNode> order = TChainSorter(this, Column, Direction).SortChildren(Node, Node->ChildCount);
    // Relink once: the sibling links, indexes, and the first child's link to the last one.
    const uint32_t count = static_cast<uint32_t>(order.size());
    for (uint32_t i = 0; i < count; ++i) {
      PLazyNode n = order[i];
      n->Index = i;
      n->NextSibling = i + 1 < count ? order[i + 1] : nullptr;
      n->PrevLink = i > 0 ? order[i - 1] : order[count - 1];
    }
    Node->FirstChild = order[0];
    InvalidatePositionCache();
  }
  if (!Updating()) {
    RequestCacheValidation();
    Invalidate();
  }
}

void TBaseLazyTree::SortTree(TColumnIndex Column, TSortDirection Direction, bool DoInit) {
  if (FRoot->TotalCount <= 2) return;  // the root and at most one node
  ++FUpdateCount;
  struct Close {
    TBaseLazyTree* tree;
    ~Close() {
      --tree->FUpdateCount;
      if (tree->FUpdateCount == 0) {
        tree->RequestCacheValidation();
        tree->Invalidate();
      }
    }
  } close{this};
  if (Column >= NoColumn) {
    StartOperation(okSortTree);
    struct End {
      TBaseLazyTree* tree;
      ~End() { tree->EndOperation(okSortTree); }
    } end{this};
    const bool autoSort = FOptions.AutoOptions.Has(toAutoSort);
    // Depth first as a recursion would go: a node is sorted, then each child in turn is initialised and
    // entered; the stack holds the next child to visit on every level.
    Sort(FRoot, Column, Direction, DoInit);
    std::vector<PLazyNode> pending{FRoot->FirstChild};
    while (!pending.empty() && !OperationCanceled()) {
      PLazyNode child = pending.back();
      if (!child) {
        pending.pop_back();
        continue;
      }
      pending.back() = child->NextSibling;
      if (DoInit && !child->Has(vsInitialized)) InitNode(child);
      if (!child->Has(vsInitialized)) continue;
      if (autoSort && !child->Has(vsExpanded)) continue;  // sorted when it is opened
      Sort(child, Column, Direction, DoInit);
      pending.push_back(child->FirstChild);
    }
  }
  InvalidatePositionCache();
}

void TBaseLazyTree::SortNodeArray(PLazyNode* A, int L, int R) {
  auto key = [](PLazyNode n) { return reinterpret_cast<std::uintptr_t>(n); };
  while (L < R) {
    int i = L, j = R;
    const std::uintptr_t pivot = key(A[(L + R) / 2]);
    do {
      while (key(A[i]) < pivot) ++i;
      while (key(A[j]) > pivot) --j;
      if (i <= j) std::swap(A[i++], A[j--]);
    } while (i <= j);
    // The smaller part recursively, the larger in the loop: the stack stays logarithmic.
    if (j - L < R - i) {
      if (L < j) SortNodeArray(A, L, j);
      L = i;
    } else {
      if (i < R) SortNodeArray(A, i, R);
      R = j;
    }
  }
}

}  // namespace lazytree
