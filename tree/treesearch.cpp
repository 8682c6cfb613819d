#include "tree/treesearch.h"

namespace lazytree {

namespace {

// One step of a search walk in the mode and direction, wrapping to the first (last) node at the end; a nil
// start gives the first (last) node.
struct TSearchWalk {
  TBaseLazyTree& Tree;
  TLTIncrementalSearch Mode;
  bool Forward;

  PLazyNode Step(PLazyNode Node) const {
    PLazyNode next = Node ? Neighbour(Node) : nullptr;
    return next ? next : End();
  }
  PLazyNode Neighbour(PLazyNode Node) const {
    switch (Mode) {
      case isAll: return Forward ? Tree.GetNext(Node) : Tree.GetPrevious(Node);
      case isInitializedOnly: return Forward ? Tree.GetNextNoInit(Node) : Tree.GetPreviousNoInit(Node);
      default: return Forward ? Tree.GetNextVisible(Node, true) : Tree.GetPreviousVisible(Node, true);
    }
  }
  PLazyNode End() const {
    switch (Mode) {
      case isAll: return Forward ? Tree.GetFirst() : Tree.GetLast();
      case isInitializedOnly: return Forward ? Tree.GetFirstNoInit() : Tree.GetLastNoInit();
      default: return Forward ? Tree.GetFirstVisible(nullptr, true) : Tree.GetLastVisible(nullptr, true);
    }
  }
  // Only initialised nodes take part in an initialised-only search.
  bool Takes(PLazyNode Node) const { return Mode != isInitializedOnly || Node->Has(vsInitialized); }
};

}  // namespace

void TTreeSearch::End() {
  FHost.StopSearchTimer();
  FHost.Store().DoStateChange({}, {tsIncrementalSearching, tsIncrementalSearchPending});
  FBuffer.clear();
  FLastHit = nullptr;
}

// The last hit or the focused node, when the mode lets the search begin there.
PLazyNode TTreeSearch::StartNode() {
  TBaseLazyTree& tree = FHost.Store();
  PLazyNode start = nullptr;
  if (FStart == ssLastHit) start = FLastHit;
  if (FStart == ssFocusedNode) start = FHost.FocusedNode();
  if (start && FMode == isInitializedOnly && !start->Has(vsInitialized)) start = nullptr;
  if (start && FMode == isVisibleOnly && (!tree.GetFullyVisible(start) || tree.GetEffectivelyFiltered(start)))
    start = nullptr;
  return start;
}

void TTreeSearch::Key(char16_t C) {
  FHost.StopSearchTimer();
  if (FMode == isNone) return;
  const bool back = C == 8;
  if (C != 0 && !(back && FBuffer.isEmpty())) {
    FHost.Store().DoStateChange({tsIncrementalSearching});
    PLazyNode start = StartNode();
    const TSearchWalk walk{FHost.Store(), FMode, (FDirection == sdForward) != back};
    // Typing the first letter again cycles through the nodes that start with it, unless the doubled letter is
    // how the found node's text goes on.
    bool repeat = !back && FBuffer.size() == 1 && FBuffer.at(0) == QChar(C);
    if (repeat && start && FHost.Compare(start, FBuffer + QChar(C)) == 0) repeat = false;
    PLazyNode current = start;
    if (FBuffer.isEmpty() || !start || repeat || back) current = walk.Step(start);
    if (current) {
      if (back) FBuffer.chop(1);
      const QString text = repeat || back ? FBuffer : FBuffer + QChar(C);
      PLazyNode stop = start ? start : current;
      PLazyNode found = nullptr;
      for (PLazyNode n = current; n;) {
        if (walk.Takes(n) && FHost.Compare(n, text) == 0) {
          found = n;
          break;
        }
        n = walk.Step(n);
        if (n == stop) {
          // Back where the walk began: the stop node is the last candidate (when it was not the first).
          if (n != current && walk.Takes(n) && FHost.Compare(n, text) == 0) found = n;
          break;
        }
      }
      if (found) {
        FBuffer = text;
        FLastHit = found;
        FHost.Found(found);
      } else {
        FHost.Miss();
      }
    }
  }
  FHost.StartSearchTimer(FTimeout);
}

}  // namespace lazytree
