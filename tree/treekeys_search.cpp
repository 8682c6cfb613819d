// Incremental search: typing the start of a node's text finds the node. Each keystroke restarts the search
// timer; when it expires (or the tree loses the focus) the typed text is forgotten.
#include "platform/forms/beep.h"
#include "tree/stringtree.h"
#include "tree/treecontrol.h"

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

int TBaseLazyTreeControl::DoIncrementalSearch(PLazyNode Node, const QString& Text) {
  int result = 0;
  if (OnIncrementalSearch) OnIncrementalSearch(this, Node, Text, result);
  return result;
}

// Without a handler the string tree compares: a node matches when its text in the focused column starts with
// the search text (case-sensitive).
int TCustomLazyStringTree::DoIncrementalSearch(PLazyNode Node, const QString& Text) {
  if (OnIncrementalSearch) return TBaseLazyTreeControl::DoIncrementalSearch(Node, Text);
  return GetText(Node, FocusedColumn()).startsWith(Text) ? 0 : 1;
}

void TBaseLazyTreeControl::EndIncrementalSearch() {
  StopTimer(SearchTimer);
  DoStateChange({}, {tsIncrementalSearching, tsIncrementalSearchPending});
  FSearchBuffer.clear();
  FLastSearchNode = nullptr;
}

void TBaseLazyTreeControl::HandleSearchKey(char16_t C) {
  StopTimer(SearchTimer);
  if (FIncrementalSearch == isNone) return;
  const bool back = C == 8;
  if (C != 0 && !(back && FSearchBuffer.isEmpty())) {
    DoStateChange({tsIncrementalSearching});
    PLazyNode start = nullptr;
    if (FSearchStart == ssLastHit) start = FLastSearchNode;
    if (FSearchStart == ssFocusedNode) start = FFocusedNode;
    if (start && FIncrementalSearch == isInitializedOnly && !start->Has(vsInitialized)) start = nullptr;
    if (start && FIncrementalSearch == isVisibleOnly && (!GetFullyVisible(start) || GetEffectivelyFiltered(start)))
      start = nullptr;
    const TSearchWalk walk{*this, FIncrementalSearch, (FSearchDirection == sdForward) != back};
    // Typing the first letter again cycles through the nodes that start with it, unless the doubled letter is
    // how the found node's text goes on.
    bool repeat = !back && FSearchBuffer.size() == 1 && FSearchBuffer.at(0) == QChar(C);
    if (repeat && start && DoIncrementalSearch(start, FSearchBuffer + QChar(C)) == 0) repeat = false;
    PLazyNode current = start;
    if (FSearchBuffer.isEmpty() || !start || repeat || back) current = walk.Step(start);
    if (current) {
      if (back) FSearchBuffer.chop(1);
      const QString text = repeat || back ? FSearchBuffer : FSearchBuffer + QChar(C);
      PLazyNode stop = start ? start : current;
      PLazyNode found = nullptr;
      for (PLazyNode n = current; n;) {
        if (walk.Takes(n) && DoIncrementalSearch(n, text) == 0) {
          found = n;
          break;
        }
        n = walk.Step(n);
        if (n == stop) {
          // Back where the walk began: the stop node is the last candidate (when it was not the first).
          if (n != current && walk.Takes(n) && DoIncrementalSearch(n, text) == 0) found = n;
          break;
        }
      }
      if (found) {
        ClearSelection();
        FSearchBuffer = text;
        FLastSearchNode = found;
        SetFocusedNode(found);
        AddToSelection(found);
      } else {
        plat::MessageBeep(0);
      }
    }
  }
  StartTimer(SearchTimer, FSearchTimeout);
}

}  // namespace lazytree
