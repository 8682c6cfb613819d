// Walking functions of the lazy tree: every order, with and without initialisation, and the enumerations.
#include "tree/lazytree.h"

namespace lazytree {

namespace {

inline bool NeedsChildren(PLazyNode n) { return n->Has(vsHasChildren) && n->ChildCount == 0; }

}  // namespace

// Normal-order successor without initialising: first child, else next sibling of the node or of the nearest
// ancestor that has one.
PLazyNode TBaseLazyTree::GetNextNoInitNormal(PLazyNode Node) const {
  if (Node->FirstChild) return Node->FirstChild;
  for (PLazyNode n = Node; n != FRoot; n = n->Parent)
    if (n->NextSibling) return n->NextSibling;
  return nullptr;
}

// In children-above order: the node shown directly above the subtree of Node.
PLazyNode TBaseLazyTree::SubtreePredecessor(PLazyNode Node) const {
  for (PLazyNode n = Node; n != FRoot; n = n->Parent)
    if (PLazyNode prev = n->PrevSibling()) return prev;
  return nullptr;
}

PLazyNode TBaseLazyTree::DeepestFirstNoInit(PLazyNode Node) const {
  while (Node->FirstChild) Node = Node->FirstChild;
  return Node;
}

PLazyNode TBaseLazyTree::GetFirst(bool ConsiderChildrenAbove) {
  PLazyNode r = GetFirstChild(nullptr);
  if (r && ChildrenAboveOrder(ConsiderChildrenAbove))
    while (PLazyNode c = GetFirstChild(r)) r = c;
  return r;
}

PLazyNode TBaseLazyTree::GetFirstNoInit(bool ConsiderChildrenAbove) const {
  PLazyNode r = FRoot->FirstChild;
  if (r && ChildrenAboveOrder(ConsiderChildrenAbove)) r = DeepestFirstNoInit(r);
  return r;
}

PLazyNode TBaseLazyTree::GetLast(PLazyNode Node, bool ConsiderChildrenAbove) {
  PLazyNode r = GetLastChild(Node);
  if (r && !ChildrenAboveOrder(ConsiderChildrenAbove))
    while (PLazyNode c = GetLastChild(r)) r = c;
  return r;
}

PLazyNode TBaseLazyTree::GetLastNoInit(PLazyNode Node, bool ConsiderChildrenAbove) const {
  PLazyNode r = GetLastChildNoInit(Node);
  if (r && !ChildrenAboveOrder(ConsiderChildrenAbove))
    while (PLazyNode c = GetLastChildNoInit(r)) r = c;
  return r;
}

PLazyNode TBaseLazyTree::GetFirstChild(PLazyNode Node) {
  PLazyNode r;
  if (!Node || Node == FRoot) {
    r = FRoot->FirstChild;
  } else {
    if (!Node->Has(vsInitialized)) InitNode(Node);
    if (!Node->Has(vsHasChildren)) return nullptr;
    if (Node->ChildCount == 0) InitChildren(Node);
    r = Node->FirstChild;
  }
  if (r && !r->Has(vsInitialized)) InitNode(r);
  return r;
}

PLazyNode TBaseLazyTree::GetLastChild(PLazyNode Node) {
  PLazyNode r;
  if (!Node || Node == FRoot) {
    r = FRoot->LastChild();
  } else {
    if (!Node->Has(vsInitialized)) InitNode(Node);
    if (!Node->Has(vsHasChildren)) return nullptr;
    if (Node->ChildCount == 0) InitChildren(Node);
    r = Node->LastChild();
  }
  if (r && !r->Has(vsInitialized)) InitNode(r);
  return r;
}

PLazyNode TBaseLazyTree::GetFirstChildNoInit(PLazyNode Node) const {
  if (!Node || Node == FRoot) return FRoot->FirstChild;
  return Node->Has(vsHasChildren) ? Node->FirstChild : nullptr;
}

PLazyNode TBaseLazyTree::GetLastChildNoInit(PLazyNode Node) const {
  if (!Node || Node == FRoot) return FRoot->LastChild();
  return Node->Has(vsHasChildren) ? Node->LastChild() : nullptr;
}

PLazyNode TBaseLazyTree::GetNext(PLazyNode Node, bool ConsiderChildrenAbove) {
  RequireNotRoot(Node);
  if (!Node) return nullptr;
  PLazyNode r;
  if (!ChildrenAboveOrder(ConsiderChildrenAbove)) {
    if (NeedsChildren(Node)) InitChildren(Node);
    r = GetNextNoInitNormal(Node);
    if (r && !r->Has(vsInitialized)) InitNode(r);
  } else if (Node->NextSibling) {
    r = Node->NextSibling;
    if (!r->Has(vsInitialized)) InitNode(r);
    while (PLazyNode c = GetFirstChild(r)) r = c;
  } else {
    r = NilForRoot(Node->Parent);
    if (r && !r->Has(vsInitialized)) InitNode(r);
  }
  return r;
}

PLazyNode TBaseLazyTree::GetNextNoInit(PLazyNode Node, bool ConsiderChildrenAbove) const {
  RequireNotRoot(Node);
  if (!Node) return nullptr;
  if (!ChildrenAboveOrder(ConsiderChildrenAbove)) return GetNextNoInitNormal(Node);
  if (Node->NextSibling) return DeepestFirstNoInit(Node->NextSibling);
  return NilForRoot(Node->Parent);
}

PLazyNode TBaseLazyTree::GetPrevious(PLazyNode Node, bool ConsiderChildrenAbove) {
  RequireNotRoot(Node);
  if (!Node) return nullptr;
  PLazyNode r;
  if (!ChildrenAboveOrder(ConsiderChildrenAbove)) {
    if ((r = Node->PrevSibling())) {
      if (!r->Has(vsInitialized)) InitNode(r);
      if (PLazyNode last = GetLast(r)) r = last;
    } else {
      r = NilForRoot(Node->Parent);
    }
  } else {
    if (NeedsChildren(Node)) InitChildren(Node);
    r = Node->LastChild();
    if (!r) {
      for (PLazyNode n = Node; n != FRoot; n = n->Parent)
        if ((r = n->PrevSibling())) break;
    }
  }
  if (r && !r->Has(vsInitialized)) InitNode(r);
  return r;
}

PLazyNode TBaseLazyTree::GetPreviousNoInit(PLazyNode Node, bool ConsiderChildrenAbove) const {
  RequireNotRoot(Node);
  if (!Node) return nullptr;
  if (!ChildrenAboveOrder(ConsiderChildrenAbove)) {
    if (PLazyNode r = Node->PrevSibling()) {
      while (PLazyNode last = r->LastChild()) r = last;
      return r;
    }
    return NilForRoot(Node->Parent);
  }
  if (PLazyNode last = Node->LastChild()) return last;
  for (PLazyNode n = Node; n != FRoot; n = n->Parent)
    if (PLazyNode prev = n->PrevSibling()) return prev;
  return nullptr;
}

PLazyNode TBaseLazyTree::GetNextSibling(PLazyNode Node) {
  RequireNotRoot(Node);
  if (!Node) return nullptr;
  PLazyNode r = Node->NextSibling;
  if (r && !r->Has(vsInitialized)) InitNode(r);
  return r;
}

PLazyNode TBaseLazyTree::GetPreviousSibling(PLazyNode Node) {
  RequireNotRoot(Node);
  if (!Node) return nullptr;
  PLazyNode r = Node->PrevSibling();
  if (r && !r->Has(vsInitialized)) InitNode(r);
  return r;
}

PLazyNode TBaseLazyTree::GetNextSiblingNoInit(PLazyNode Node) const {
  RequireNotRoot(Node);
  return Node ? Node->NextSibling : nullptr;
}

PLazyNode TBaseLazyTree::GetPreviousSiblingNoInit(PLazyNode Node) const {
  RequireNotRoot(Node);
  return Node ? Node->PrevSibling() : nullptr;
}

// --- Checked, initialised, leaf, level and selected walks ---------------------------------------------------

PLazyNode TBaseLazyTree::GetFirstChecked(TCheckState State, bool ConsiderChildrenAbove) {
  return GetNextChecked(nullptr, State, ConsiderChildrenAbove);
}

PLazyNode TBaseLazyTree::GetNextChecked(PLazyNode Node, TCheckState State, bool ConsiderChildrenAbove) {
  RequireNotRoot(Node);
  PLazyNode n = Node ? GetNextNoInit(Node, ConsiderChildrenAbove) : GetFirstNoInit(ConsiderChildrenAbove);
  while (n && n->CheckState != State) n = GetNextNoInit(n, ConsiderChildrenAbove);
  if (n && !n->Has(vsInitialized)) InitNode(n);
  return n;
}

PLazyNode TBaseLazyTree::GetNextChecked(PLazyNode Node, bool ConsiderChildrenAbove) {
  return GetNextChecked(Node, csCheckedNormal, ConsiderChildrenAbove);
}

PLazyNode TBaseLazyTree::GetPreviousChecked(PLazyNode Node, TCheckState State, bool ConsiderChildrenAbove) {
  RequireNotRoot(Node);
  PLazyNode n = Node ? GetPreviousNoInit(Node, ConsiderChildrenAbove) : GetLastNoInit(nullptr, ConsiderChildrenAbove);
  while (n && n->CheckState != State) n = GetPreviousNoInit(n, ConsiderChildrenAbove);
  if (n && !n->Has(vsInitialized)) InitNode(n);
  return n;
}

PLazyNode TBaseLazyTree::GetFirstInitialized(bool ConsiderChildrenAbove) const {
  PLazyNode n = GetFirstNoInit(ConsiderChildrenAbove);
  if (n && !n->Has(vsInitialized)) n = GetNextInitialized(n, ConsiderChildrenAbove);
  return n;
}

PLazyNode TBaseLazyTree::GetNextInitialized(PLazyNode Node, bool ConsiderChildrenAbove) const {
  RequireNotRoot(Node);
  PLazyNode n = Node;
  do n = GetNextNoInit(n, ConsiderChildrenAbove);
  while (n && !n->Has(vsInitialized));
  return n;
}

PLazyNode TBaseLazyTree::GetPreviousInitialized(PLazyNode Node, bool ConsiderChildrenAbove) const {
  RequireNotRoot(Node);
  PLazyNode n = Node;
  do n = GetPreviousNoInit(n, ConsiderChildrenAbove);
  while (n && !n->Has(vsInitialized));
  return n;
}

PLazyNode TBaseLazyTree::GetLastInitialized(PLazyNode Node, bool ConsiderChildrenAbove) const {
  PLazyNode n = GetLastNoInit(Node, ConsiderChildrenAbove);
  if (n && !n->Has(vsInitialized)) n = GetPreviousInitialized(n, ConsiderChildrenAbove);
  return n;
}

PLazyNode TBaseLazyTree::GetFirstLeaf() { return GetNextLeaf(nullptr); }

PLazyNode TBaseLazyTree::GetNextLeaf(PLazyNode Node) {
  RequireNotRoot(Node);
  PLazyNode n;
  if (!Node) {
    n = FRoot->FirstChild;
    if (!n || !n->Has(vsHasChildren)) {
      if (n && !n->Has(vsInitialized)) InitNode(n);
      return n;
    }
  } else {
    n = Node;
  }
  do n = GetNext(n);
  while (n && n->Has(vsHasChildren));
  return n;
}

PLazyNode TBaseLazyTree::GetPreviousLeaf(PLazyNode Node) {
  RequireNotRoot(Node);
  PLazyNode n;
  if (!Node) {
    n = GetLastNoInit();
    if (!n || !n->Has(vsHasChildren)) {
      if (n && !n->Has(vsInitialized)) InitNode(n);
      return n;
    }
  } else {
    n = Node;
  }
  do n = GetPrevious(n);
  while (n && n->Has(vsHasChildren));
  return n;
}

PLazyNode TBaseLazyTree::GetFirstLevel(uint32_t NodeLevel) {
  PLazyNode n = GetFirstNoInit(true);
  while (n && GetNodeLevel(n) != NodeLevel) n = GetNextNoInit(n, true);
  if (n && !n->Has(vsInitialized)) InitNode(n);
  return n;
}

// Walks forward in normal order without descending below the wanted level, so deeper subtrees are skipped.
PLazyNode TBaseLazyTree::GetNextLevel(PLazyNode Node, uint32_t NodeLevel) {
  if (!Node || Node == FRoot) return nullptr;
  const int64_t wanted = NodeLevel;
  PLazyNode n = Node;
  int64_t level = GetNodeLevel(Node);
  while (level > wanted) {
    n = n->Parent;
    --level;
  }
  for (;;) {
    if (level < wanted) {
      if (PLazyNode c = GetFirstChild(n)) {
        n = c;
        if (++level == wanted) return n;
        continue;
      }
    }
    while (!n->NextSibling) {
      n = n->Parent;
      --level;
      if (n == FRoot) return nullptr;
    }
    n = GetNextSibling(n);
    if (level == wanted) return n;
  }
}

PLazyNode TBaseLazyTree::GetPreviousLevel(PLazyNode Node, uint32_t NodeLevel) {
  if (!Node || Node == FRoot) return nullptr;
  const int64_t wanted = NodeLevel;
  PLazyNode n = Node;
  int64_t level = GetNodeLevel(Node);
  for (;;) {
    if (level > wanted || !n->PrevSibling()) {
      n = n->Parent;
      --level;
      if (n == FRoot) return nullptr;
      if (level == wanted) {
        if (!n->Has(vsInitialized)) InitNode(n);
        return n;
      }
      continue;
    }
    n = GetPreviousSibling(n);
    while (level < wanted) {
      PLazyNode c = GetLastChild(n);
      if (!c) break;
      n = c;
      ++level;
    }
    if (level == wanted) return n;
  }
}

PLazyNode TBaseLazyTree::GetFirstSelected(bool ConsiderChildrenAbove) {
  return GetNextSelected(nullptr, ConsiderChildrenAbove);
}

PLazyNode TBaseLazyTree::GetNextSelected(PLazyNode Node, bool ConsiderChildrenAbove) {
  if (FSelectionCount == 0) return nullptr;
  RequireNotRoot(Node);
  PLazyNode n = Node ? GetNextNoInit(Node, ConsiderChildrenAbove) : GetFirstNoInit(ConsiderChildrenAbove);
  while (n && !n->Has(vsSelected)) n = GetNextNoInit(n, ConsiderChildrenAbove);
  if (n && !n->Has(vsInitialized)) InitNode(n);
  return n;
}

PLazyNode TBaseLazyTree::GetPreviousSelected(PLazyNode Node, bool ConsiderChildrenAbove) {
  if (FSelectionCount == 0) return nullptr;
  RequireNotRoot(Node);
  PLazyNode n = Node ? GetPreviousNoInit(Node, ConsiderChildrenAbove) : GetLastNoInit(nullptr, ConsiderChildrenAbove);
  while (n && !n->Has(vsSelected)) n = GetPreviousNoInit(n, ConsiderChildrenAbove);
  if (n && !n->Has(vsInitialized)) InitNode(n);
  return n;
}

// --- Visible walks ------------------------------------------------------------------------------------------

PLazyNode TBaseLazyTree::GetFirstVisible(PLazyNode Node, bool ConsiderChildrenAbove, bool IncludeFiltered) {
  if (!Node) Node = FRoot;
  if (!Node->Has(vsHasChildren)) return nullptr;
  if (Node->ChildCount == 0) InitChildren(Node);
  PLazyNode r = Node->FirstChild;
  if (!r) return nullptr;
  if (!r->Has(vsInitialized)) InitNode(r);
  if (!ChildrenAboveOrder(ConsiderChildrenAbove)) {
    while (r && !r->Has(vsVisible)) {
      PLazyNode n = r;
      while (n != FRoot && !n->NextSibling) n = n->Parent;
      r = n == FRoot ? nullptr : n->NextSibling;
      if (r && !r->Has(vsInitialized)) InitNode(r);
    }
  } else {
    for (;;) {
      if (!r->Has(vsVisible)) {
        if (r->NextSibling) {
          r = r->NextSibling;
          if (!r->Has(vsInitialized)) InitNode(r);
          continue;
        }
        r = NilForRoot(r->Parent);
        break;
      }
      if (NeedsChildren(r)) InitChildren(r);
      if (r->Has(vsExpanded) && r->FirstChild) {
        r = r->FirstChild;
        if (!r->Has(vsInitialized)) InitNode(r);
        continue;
      }
      break;
    }
  }
  if (r && !IncludeFiltered && GetEffectivelyFiltered(r)) r = GetNextVisible(r, true);
  return r;
}

PLazyNode TBaseLazyTree::GetFirstVisibleNoInit(PLazyNode Node, bool ConsiderChildrenAbove,
                                               bool IncludeFiltered) const {
  if (!Node) Node = FRoot;
  if (!Node->Has(vsHasChildren)) return nullptr;
  PLazyNode r = Node->FirstChild;
  if (!r) return nullptr;
  if (!ChildrenAboveOrder(ConsiderChildrenAbove)) {
    while (r && !r->Has(vsVisible)) {
      PLazyNode n = r;
      while (n != FRoot && !n->NextSibling) n = n->Parent;
      r = n == FRoot ? nullptr : n->NextSibling;
    }
  } else {
    for (;;) {
      if (!r->Has(vsVisible)) {
        if (r->NextSibling) {
          r = r->NextSibling;
          continue;
        }
        r = NilForRoot(r->Parent);
        break;
      }
      if (r->Has(vsExpanded) && r->FirstChild) {
        r = r->FirstChild;
        continue;
      }
      break;
    }
  }
  if (r && !IncludeFiltered && GetEffectivelyFiltered(r)) r = GetNextVisibleNoInit(r, true);
  return r;
}

PLazyNode TBaseLazyTree::GetNextVisible(PLazyNode Node, bool ConsiderChildrenAbove) {
  RequireNotRoot(Node);
  if (!Node) return nullptr;
  PLazyNode s = Node;
  if (!GetFullyVisible(s)) s = GetVisibleParent(s, true);
  const bool above = ChildrenAboveOrder(ConsiderChildrenAbove);
  auto init = [this](PLazyNode n) {
    if (n && n != FRoot && !n->Has(vsInitialized)) InitNode(n);
  };
  for (;;) {
    PLazyNode cand = nullptr;
    if (!above) {
      if (s->Has(vsExpanded) && NeedsChildren(s)) InitChildren(s);
      PLazyNode from = s;
      if (s->Has(vsExpanded) && s->FirstChild) {
        cand = s->FirstChild;
        init(cand);
        from = cand;
        if (!cand->Has(vsVisible)) cand = nullptr;
      }
      if (!cand) {
        PLazyNode n = from;
        for (;;) {
          if (n == FRoot) break;
          if (n->NextSibling) {
            n = n->NextSibling;
            init(n);
            if (n->Has(vsVisible)) {
              cand = n;
              break;
            }
          } else {
            n = n->Parent;
          }
        }
      }
    } else {
      PLazyNode n = s;
      for (;;) {
        if (n == FRoot) {
          cand = nullptr;
          break;
        }
        if (n->NextSibling) {
          n = n->NextSibling;
          init(n);
          if (!n->Has(vsVisible)) continue;
          for (;;) {
            if (!n->Has(vsExpanded)) break;
            if (NeedsChildren(n)) InitChildren(n);
            if (!n->FirstChild) break;
            n = n->FirstChild;
            init(n);
            if (!n->Has(vsVisible)) break;
          }
        } else {
          n = NilForRoot(n->Parent);
          if (!n) {
            cand = nullptr;
            break;
          }
          init(n);
        }
        if (n->Has(vsVisible)) {
          cand = n;
          break;
        }
      }
    }
    if (!cand || GetEffectivelyVisible(cand)) return cand;
    s = cand;
  }
}

PLazyNode TBaseLazyTree::GetNextVisibleNoInit(PLazyNode Node, bool ConsiderChildrenAbove) const {
  RequireNotRoot(Node);
  if (!Node) return nullptr;
  PLazyNode s = Node;
  const bool above = ChildrenAboveOrder(ConsiderChildrenAbove);
  if (!above && !GetFullyVisible(s)) s = GetVisibleParent(s, true);
  for (;;) {
    PLazyNode cand = nullptr;
    if (!above) {
      PLazyNode from = s;
      if (s->Has(vsExpanded) && s->FirstChild) {
        cand = s->FirstChild;
        from = cand;
        if (!cand->Has(vsVisible)) cand = nullptr;
      }
      if (!cand) {
        PLazyNode n = from;
        while (n != FRoot) {
          if (n->NextSibling) {
            n = n->NextSibling;
            if (n->Has(vsVisible)) {
              cand = n;
              break;
            }
          } else {
            n = n->Parent;
          }
        }
      }
    } else {
      PLazyNode n = s;
      for (;;) {
        if (n == FRoot) break;
        if (n->NextSibling) {
          n = n->NextSibling;
          if (!n->Has(vsVisible)) continue;
          while (n->Has(vsExpanded) && n->FirstChild) {
            n = n->FirstChild;
            if (!n->Has(vsVisible)) break;
          }
        } else {
          n = NilForRoot(n->Parent);
          if (!n) break;
        }
        if (n->Has(vsVisible)) {
          cand = n;
          break;
        }
      }
    }
    if (!cand || GetEffectivelyVisible(cand)) return cand;
    s = cand;
  }
}

PLazyNode TBaseLazyTree::GetPreviousVisible(PLazyNode Node, bool ConsiderChildrenAbove) {
  RequireNotRoot(Node);
  if (!Node) return nullptr;
  const bool above = ChildrenAboveOrder(ConsiderChildrenAbove);
  auto init = [this](PLazyNode n) {
    if (n && n != FRoot && !n->Has(vsInitialized)) InitNode(n);
  };
  PLazyNode s = Node;
  for (;;) {
    PLazyNode cand = nullptr;
    if (!GetFullyVisible(s)) {
      cand = NilForRoot(GetVisibleParent(s, true));
      if (PLazyNode last = GetLastVisible(cand, true, false)) cand = last;
    } else if (!above) {
      PLazyNode p = s->PrevSibling();
      while (p) {
        init(p);
        if (p->Has(vsVisible)) break;
        p = p->PrevSibling();
      }
      if (p) {
        cand = GetLastVisible(p, true, true);
        if (!cand) cand = p;
      } else {
        cand = NilForRoot(s->Parent);
      }
    } else {
      // Children-above display: a node's shown children sit directly above it; a hidden node is skipped
      // with its whole subtree.
      PLazyNode n = s;
      if (n->Has(vsExpanded) && NeedsChildren(n)) InitChildren(n);
      PLazyNode last = n->Has(vsExpanded) ? n->LastChild() : nullptr;
      n = last ? last : SubtreePredecessor(n);
      init(n);
      while (n && !n->Has(vsVisible)) {
        n = SubtreePredecessor(n);
        init(n);
      }
      cand = n;
    }
    init(cand);
    if (!cand || GetEffectivelyVisible(cand)) return cand;
    s = cand;
  }
}

PLazyNode TBaseLazyTree::GetPreviousVisibleNoInit(PLazyNode Node, bool ConsiderChildrenAbove) const {
  RequireNotRoot(Node);
  if (!Node) return nullptr;
  const bool above = ChildrenAboveOrder(ConsiderChildrenAbove);
  PLazyNode s = Node;
  for (;;) {
    PLazyNode cand = nullptr;
    if (!GetFullyVisible(s)) {
      cand = NilForRoot(GetVisibleParent(s, true));
      if (PLazyNode last = GetLastVisibleNoInit(cand, true, false)) cand = last;
    } else if (!above) {
      PLazyNode p = s->PrevSibling();
      while (p && !p->Has(vsVisible)) p = p->PrevSibling();
      if (p) {
        cand = GetLastVisibleNoInit(p, true, true);
        if (!cand) cand = p;
      } else {
        cand = NilForRoot(s->Parent);
      }
    } else {
      PLazyNode last = s->Has(vsExpanded) ? s->LastChild() : nullptr;
      PLazyNode n = last ? last : SubtreePredecessor(s);
      while (n && !n->Has(vsVisible)) n = SubtreePredecessor(n);
      cand = n;
    }
    if (!cand || GetEffectivelyVisible(cand)) return cand;
    s = cand;
  }
}

PLazyNode TBaseLazyTree::GetLastVisible(PLazyNode Node, bool ConsiderChildrenAbove, bool IncludeFiltered) {
  PLazyNode r = GetLastVisibleNoInit(Node, ConsiderChildrenAbove, IncludeFiltered);
  PLazyNode stop = Node ? Node : FRoot;
  for (PLazyNode n = r; n && n != stop && n != FRoot; n = n->Parent)
    if (!n->Has(vsInitialized)) InitNode(n);
  return r;
}

PLazyNode TBaseLazyTree::GetLastVisibleNoInit(PLazyNode Node, bool ConsiderChildrenAbove,
                                              bool IncludeFiltered) const {
  if (!Node) Node = FRoot;
  PLazyNode r = GetLastNoInit(Node, ConsiderChildrenAbove);
  while (r && r != Node) {
    if (Node != FRoot && !HasAsParent(r, Node)) return nullptr;  // left the subtree
    if (GetFullyVisible(r) && (IncludeFiltered || !GetEffectivelyFiltered(r))) return r;
    r = GetPreviousNoInit(r, ConsiderChildrenAbove);
  }
  return nullptr;
}

PLazyNode TBaseLazyTree::GetFirstVisibleChild(PLazyNode Node, bool IncludeFiltered) {
  PLazyNode r = GetFirstChild(Node);
  if (r && (!r->Has(vsVisible) || (!IncludeFiltered && GetEffectivelyFiltered(r))))
    r = GetNextVisibleSibling(r, IncludeFiltered);
  return r;
}

PLazyNode TBaseLazyTree::GetFirstVisibleChildNoInit(PLazyNode Node, bool IncludeFiltered) const {
  PLazyNode r = GetFirstChildNoInit(Node);
  if (r && (!r->Has(vsVisible) || (!IncludeFiltered && GetEffectivelyFiltered(r))))
    r = GetNextVisibleSiblingNoInit(r, IncludeFiltered);
  return r;
}

PLazyNode TBaseLazyTree::GetLastVisibleChild(PLazyNode Node, bool IncludeFiltered) {
  if (Node && Node != FRoot && !(GetFullyVisible(Node) && Node->Has(vsExpanded))) return nullptr;
  PLazyNode r = GetLastChild(Node);
  if (r && (!r->Has(vsVisible) || (!IncludeFiltered && GetEffectivelyFiltered(r))))
    r = GetPreviousVisibleSibling(r, IncludeFiltered);
  if (r && !r->Has(vsInitialized)) InitNode(r);
  return r;
}

PLazyNode TBaseLazyTree::GetLastVisibleChildNoInit(PLazyNode Node, bool IncludeFiltered) const {
  if (Node && Node != FRoot && !(GetFullyVisible(Node) && Node->Has(vsExpanded))) return nullptr;
  PLazyNode r = GetLastChildNoInit(Node);
  if (r && (!r->Has(vsVisible) || (!IncludeFiltered && GetEffectivelyFiltered(r))))
    r = GetPreviousVisibleSiblingNoInit(r, IncludeFiltered);
  return r;
}

PLazyNode TBaseLazyTree::GetNextVisibleSibling(PLazyNode Node, bool IncludeFiltered) {
  if (!Node || Node == FRoot) throw ELazyTreeAssertion("Invalid parameter.");
  PLazyNode r = Node->NextSibling;
  while (r) {
    if (!r->Has(vsInitialized)) InitNode(r);
    if (r->Has(vsVisible) && (IncludeFiltered || !GetEffectivelyFiltered(r))) break;
    r = r->NextSibling;
  }
  return r;
}

PLazyNode TBaseLazyTree::GetNextVisibleSiblingNoInit(PLazyNode Node, bool IncludeFiltered) const {
  if (!Node || Node == FRoot) throw ELazyTreeAssertion("Invalid parameter.");
  PLazyNode r = Node->NextSibling;
  while (r && !(r->Has(vsVisible) && (IncludeFiltered || !GetEffectivelyFiltered(r)))) r = r->NextSibling;
  return r;
}

PLazyNode TBaseLazyTree::GetPreviousVisibleSibling(PLazyNode Node, bool IncludeFiltered) {
  if (!Node || Node == FRoot) throw ELazyTreeAssertion("Invalid parameter.");
  PLazyNode r = Node->PrevSibling();
  while (r) {
    if (!r->Has(vsInitialized)) InitNode(r);
    if (r->Has(vsVisible) && (IncludeFiltered || !GetEffectivelyFiltered(r))) break;
    r = r->PrevSibling();
  }
  return r;
}

PLazyNode TBaseLazyTree::GetPreviousVisibleSiblingNoInit(PLazyNode Node, bool IncludeFiltered) const {
  if (!Node || Node == FRoot) throw ELazyTreeAssertion("Invalid parameter.");
  PLazyNode r = Node->PrevSibling();
  while (r && !(r->Has(vsVisible) && (IncludeFiltered || !GetEffectivelyFiltered(r)))) r = r->PrevSibling();
  return r;
}

PLazyNode TBaseLazyTree::GetVisibleParent(PLazyNode Node, bool IncludeFiltered) const {
  if (!Node) throw ELazyTreeAssertion("Node must not be nil.");
  RequireNotRoot(Node);
  PLazyNode r = Node->Parent;
  while (r != FRoot && !(GetFullyVisible(r) && (IncludeFiltered || !GetEffectivelyFiltered(r)))) r = r->Parent;
  return r;
}

// --- Structural queries -------------------------------------------------------------------------------------

bool TBaseLazyTree::HasAsParent(PLazyNode Node, PLazyNode PotentialParent) const {
  if (!Node || !PotentialParent || Node == PotentialParent) return false;
  for (PLazyNode n = Node->Parent; n; n = n->Parent)
    if (n == PotentialParent) return true;
  return false;
}

uint32_t TBaseLazyTree::AbsoluteIndex(PLazyNode Node) {
  if (!Node || Node == FRoot) return 0;
  uint32_t result = 0;
  for (PLazyNode n = Node; n != FRoot;) {
    if (!n->Has(vsInitialized)) InitNode(n);
    for (PLazyNode p = n->PrevSibling(); p; p = p->PrevSibling()) {
      if (!p->Has(vsInitialized)) InitNode(p);
      result += p->TotalCount;
    }
    n = n->Parent;
    if (n != FRoot) ++result;
  }
  return result;
}

PLazyNode TBaseLazyTree::IterateSubtree(PLazyNode Node, const TLTGetNodeProc& Callback, void* Data,
                                        TLazyNodeStates Filter, bool DoInit, bool ChildNodesOnly) {
  RequireNotRoot(Node);
  const bool wasIterating = FStates.Has(tsIterating);
  if (!wasIterating) DoStateChange({tsIterating});
  struct Leave {
    TBaseLazyTree* tree;
    bool wasIterating;
    ~Leave() {
      if (!wasIterating) tree->FStates.Exclude(tsIterating);
    }
  } leave{this, wasIterating};

  auto step = [&](PLazyNode n) { return DoInit ? GetNext(n) : GetNextNoInit(n); };
  PLazyNode n;
  PLazyNode stop = nullptr;
  if (!Node) {
    n = DoInit ? GetFirst() : GetFirstNoInit();
  } else {
    for (PLazyNode a = Node; a != FRoot; a = a->Parent)
      if (a->NextSibling) {
        stop = a->NextSibling;
        break;
      }
    n = Node;
    if (DoInit && !n->Has(vsInitialized)) InitNode(n);
    if (ChildNodesOnly) n = step(n);
  }
  while (n && n != stop) {
    if (Filter.Empty() || n->States.Contains(Filter)) {
      bool abort = false;
      Callback(this, n, Data, abort);
      if (abort) return n;
    }
    n = step(n);
  }
  return nullptr;
}

int TBaseLazyTree::CompareDisplayOrder(PLazyNode Node1, PLazyNode Node2, bool ConsiderChildrenAbove) const {
  if (!Node1 || !Node2) throw ELazyTreeAssertion("Nodes must never be nil.");
  if (Node1 == Node2) return 0;
  const int ancestorFirst = ChildrenAboveOrder(ConsiderChildrenAbove) ? -1 : 1;
  if (HasAsParent(Node1, Node2)) return ancestorFirst;
  if (HasAsParent(Node2, Node1)) return -ancestorFirst;
  uint32_t level1 = GetNodeLevel(Node1);
  uint32_t level2 = GetNodeLevel(Node2);
  PLazyNode a = Node1;
  PLazyNode b = Node2;
  for (; level1 > level2; --level1) a = a->Parent;
  for (; level2 > level1; --level2) b = b->Parent;
  while (a->Parent != b->Parent) {
    a = a->Parent;
    b = b->Parent;
  }
  return static_cast<int>(a->Index) - static_cast<int>(b->Index);
}

int TBaseLazyTree::LevelDifference(PLazyNode Node1, PLazyNode Node2) const {
  if (!Node1 || !Node2) throw ELazyTreeAssertion("Both nodes must be Assigned.");
  return static_cast<int>(GetNodeLevel(Node2)) - static_cast<int>(GetNodeLevel(Node1));
}

int TBaseLazyTree::ComputeLineImage(PLazyNode Node, std::vector<TLTLineType>& LineImage) const {
  const TLTPaintOptions paint = FOptions.PaintOptions;
  const int showRoot = paint.Has(toShowRoot) ? 1 : 0;
  const int level = static_cast<int>(GetNodeLevel(Node));
  const int size = level + showRoot;
  LineImage.assign(static_cast<std::size_t>(size), ltNone);
  int selected = 0;
  for (PLazyNode a = Node->Parent; a && a != FRoot; a = a->Parent)
    if (a->Has(vsSelected)) ++selected;
  auto laterVisible = [this](PLazyNode n) {
    for (PLazyNode s = n->NextSibling; s; s = s->NextSibling)
      if (GetEffectivelyVisible(s)) return true;
    return false;
  };
  auto earlierVisible = [this](PLazyNode n) {
    for (PLazyNode s = n->PrevSibling(); s; s = s->PrevSibling())
      if (GetEffectivelyVisible(s)) return true;
    return false;
  };
  // Entry of a node at level L: L - 1 + showRoot.
  auto slot = [showRoot](int nodeLevel) { return nodeLevel - 1 + showRoot; };
  const bool lines = paint.Has(toShowTreeLines) && !(paint.Has(toHideTreeLinesIfThemed) && FStates.Has(tsUseThemes));
  if (lines && size > 0) {
    if (!paint.Has(toChildrenAbove)) {
      if (level > 0) LineImage[size - 1] = laterVisible(Node) ? ltTopDownRight : ltTopRight;
      int l = level - 1;
      PLazyNode top = Node;
      for (PLazyNode a = Node->Parent; a != FRoot; a = a->Parent, --l) {
        if (l > 0) LineImage[slot(l)] = laterVisible(a) ? ltTopDown : ltNone;
        top = a;
      }
      if (showRoot) {
        if (level == 0) {
          const bool first = !earlierVisible(Node);
          const bool last = !laterVisible(Node);
          LineImage[0] = first && last ? ltRight : first ? ltBottomRight : last ? ltTopRight : ltTopDownRight;
        } else {
          LineImage[0] = laterVisible(top) ? ltTopDown : ltNone;
        }
      }
    } else {
      const bool earlier = earlierVisible(Node);
      const bool later = laterVisible(Node);
      const bool notTop = level > 0;
      LineImage[size - 1] = earlier ? ((notTop || later) ? ltTopDownRight : ltTopRight)
                                    : ((notTop || later) ? ltBottomRight : ltRight);
      int l = level - 1;
      for (PLazyNode a = Node->Parent; a != FRoot; a = a->Parent, --l) {
        const int i = slot(l);
        if (i >= 0) LineImage[i] = earlierVisible(a) ? ltTopDown : ltNone;
      }
    }
  }
  if (FStates.Has(tsUseExplorerTheme) && size > 0 && Node->ChildCount > 0) LineImage[size - 1] = ltNone;
  return selected;
}

// --- Enumerations -------------------------------------------------------------------------------------------

TLTLazyNodeEnumeration TBaseLazyTree::Nodes(bool ConsiderChildrenAbove) {
  return {vneAll, this, ConsiderChildrenAbove};
}
TLTLazyNodeEnumeration TBaseLazyTree::CheckedNodes(TCheckState State, bool ConsiderChildrenAbove) {
  return {vneChecked, this, ConsiderChildrenAbove, nullptr, 0, State};
}
TLTLazyNodeEnumeration TBaseLazyTree::ChildNodes(PLazyNode Node) { return {vneChild, this, false, Node}; }
TLTLazyNodeEnumeration TBaseLazyTree::InitializedNodes(bool ConsiderChildrenAbove) {
  return {vneInitialized, this, ConsiderChildrenAbove};
}
TLTLazyNodeEnumeration TBaseLazyTree::LeafNodes() { return {vneLeaf, this}; }
TLTLazyNodeEnumeration TBaseLazyTree::LevelNodes(uint32_t NodeLevel) {
  return {vneLevel, this, false, nullptr, NodeLevel};
}
TLTLazyNodeEnumeration TBaseLazyTree::NoInitNodes(bool ConsiderChildrenAbove) {
  return {vneNoInit, this, ConsiderChildrenAbove};
}
TLTLazyNodeEnumeration TBaseLazyTree::SelectedNodes(bool ConsiderChildrenAbove) {
  return {vneSelected, this, ConsiderChildrenAbove};
}
TLTLazyNodeEnumeration TBaseLazyTree::VisibleNodes(PLazyNode Node, bool ConsiderChildrenAbove, bool IncludeFiltered) {
  return {vneVisible, this, ConsiderChildrenAbove, Node, 0, csCheckedNormal, IncludeFiltered};
}
TLTLazyNodeEnumeration TBaseLazyTree::VisibleChildNodes(PLazyNode Node, bool IncludeFiltered) {
  return {vneVisibleChild, this, false, Node, 0, csCheckedNormal, IncludeFiltered};
}
TLTLazyNodeEnumeration TBaseLazyTree::VisibleChildNoInitNodes(PLazyNode Node, bool IncludeFiltered) {
  return {vneVisibleNoInitChild, this, false, Node, 0, csCheckedNormal, IncludeFiltered};
}
TLTLazyNodeEnumeration TBaseLazyTree::VisibleNoInitNodes(PLazyNode Node, bool ConsiderChildrenAbove,
                                                         bool IncludeFiltered) {
  return {vneVisibleNoInit, this, ConsiderChildrenAbove, Node, 0, csCheckedNormal, IncludeFiltered};
}

// Next node of the enumeration after Node; the first one for nil.
PLazyNode TLTLazyNodeEnumeration::GetNext(PLazyNode Node) const {
  TBaseLazyTree& t = *FTree;
  const bool cca = FConsiderChildrenAbove;
  switch (FMode) {
    case vneAll:
      return Node ? t.GetNext(Node, cca) : t.GetFirst(cca);
    case vneChecked:
      return Node ? t.GetNextChecked(Node, FState, cca) : t.GetFirstChecked(FState, cca);
    case vneChild:
      return Node ? t.GetNextSibling(Node) : t.GetFirstChild(FNode);
    case vneCutCopy:
      return Node ? t.GetNextCutCopy(Node, cca) : t.GetFirstCutCopy(cca);
    case vneInitialized:
      return Node ? t.GetNextInitialized(Node, cca) : t.GetFirstInitialized(cca);
    case vneLeaf:
      return Node ? t.GetNextLeaf(Node) : t.GetFirstLeaf();
    case vneLevel:
      return Node ? t.GetNextLevel(Node, FNodeLevel) : t.GetFirstLevel(FNodeLevel);
    case vneNoInit:
      return Node ? t.GetNextNoInit(Node, cca) : t.GetFirstNoInit(cca);
    case vneSelected:
      return Node ? t.GetNextSelected(Node, cca) : t.GetFirstSelected(cca);
    case vneVisible:
      return Node ? t.GetNextVisible(Node, cca) : t.GetFirstVisible(FNode, cca, FIncludeFiltered);
    case vneVisibleChild:
      return Node ? t.GetNextVisibleSibling(Node, FIncludeFiltered) : t.GetFirstVisibleChild(FNode, FIncludeFiltered);
    case vneVisibleNoInitChild:
      return Node ? t.GetNextVisibleSiblingNoInit(Node, FIncludeFiltered)
                  : t.GetFirstVisibleChildNoInit(FNode, FIncludeFiltered);
    case vneVisibleNoInit:
      return Node ? t.GetNextVisibleNoInit(Node, cca) : t.GetFirstVisibleNoInit(FNode, cca, FIncludeFiltered);
  }
  return nullptr;
}

bool TLTLazyNodeEnumerator::MoveNext() {
  if (FCanModeNext) {
    FNode = FEnumeration->GetNext(FNode);
    FCanModeNext = FNode != nullptr;
  }
  return FCanModeNext;
}

}  // namespace lazytree
