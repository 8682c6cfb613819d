// Copying and moving nodes between trees, and the node transfer data: the node chunks of the tree stream
// without header and count. A node reaches another tree (or another place of its own tree, for a copy) by
// being written and read back, so the target tree's events see it as they see a loaded node.
#include "platform/rtl/streams.h"
#include "tree/lazytree.h"
#include "tree/treestreamformat.h"

namespace lazytree {

namespace {

// Relative to a root only child modes make sense.
TLTNodeAttachMode ModeAtRoot(TLTNodeAttachMode Mode) {
  if (Mode == amInsertBefore) return amAddChildFirst;
  if (Mode == amInsertAfter) return amAddChildLast;
  return Mode;
}

TParsedNodes ParseTransfer(const QByteArray& Data) {
  return ParseNodeChunks(reinterpret_cast<const unsigned char*>(Data.constData()),
                         static_cast<std::size_t>(Data.size()), StreamVersion, UINT32_MAX);
}

// Takes the nodes a failed transfer had already made out of Tree again, newest first.
void DropAdded(TBaseLazyTree* Tree, const std::vector<PLazyNode>& Added) {
  for (auto it = Added.rbegin(); it != Added.rend(); ++it) Tree->DeleteNode(*it);
}

}  // namespace

QByteArray TBaseLazyTree::WriteTransferNodes(const std::vector<PLazyNode>& Nodes) {
  plat::TMemoryStream stream;
  for (PLazyNode n : Nodes)
    if (n && n != FRoot) WriteNodeChunk(stream, n);
  return stream.Bytes();
}

bool TBaseLazyTree::InsertTransferNodes(const QByteArray& Data, TBaseLazyTree* Source, PLazyNode Target,
                                        TLTNodeAttachMode Mode, TChangeReason Reason) {
  if (ReadOnly() || Mode == amNoWhere) return false;
  AssertMainThread();
  CheckStructureEditAllowed();
  if (!Source) Source = this;
  if (!Target) Target = FRoot;
  if (TreeOfNode(Target) != this) throw ELazyTreeAssertion("The target node must belong to this tree.");
  if (Target == FRoot) Mode = ModeAtRoot(Mode);
  // The whole of the data is checked before the first node is made.
  const TParsedNodes parsed = ParseTransfer(Data);
  plat::TMemoryStream stream(Data);
  std::vector<PLazyNode> added;
  BeginUpdate();
  try {
    for (std::size_t top : parsed.TopLevel) {
      PLazyNode node = LoadParsedNode(parsed, top, StreamVersion, stream, 0, Target, Mode);
      if (Source->DoNodeCopying(node, NilForRoot(Target))) {
        added.push_back(node);
        Source->DoNodeCopied(node);
        StructureChange(node, Reason);
        if (Mode == amInsertAfter) Target = node;
      } else {
        DeleteNode(node);
      }
    }
  } catch (...) {
    DropAdded(this, added);
    EndUpdate();
    throw;
  }
  EndUpdate();
  return true;
}

PLazyNode TBaseLazyTree::CopyTo(PLazyNode Source, TBaseLazyTree* Tree, TLTNodeAttachMode Mode, bool ChildrenOnly) {
  return CopyTo(Source, Tree ? Tree->RootNode() : nullptr, Mode, ChildrenOnly);
}

PLazyNode TBaseLazyTree::CopyTo(PLazyNode Source, PLazyNode Target, TLTNodeAttachMode Mode, bool ChildrenOnly) {
  if (Source && TreeOfNode(Source) != this)
    throw ELazyTreeAssertion("The source tree must contain the source node.");
  if (Mode == amNoWhere || !Source || Source == FRoot) return nullptr;
  if (!Target) {
    Target = FRoot;
    Mode = amAddChildFirst;
  }
  TBaseLazyTree* tree = TreeOfNode(Target);
  if (tree->ReadOnly()) return nullptr;
  tree->AssertMainThread();
  tree->CheckStructureEditAllowed();
  if (Target == tree->FRoot) Mode = ModeAtRoot(Mode);
  std::vector<PLazyNode> sources;
  if (ChildrenOnly) {
    if (!Source->Has(vsInitialized)) InitNode(Source);
    if (Source->Has(vsHasChildren) && Source->ChildCount == 0) InitChildren(Source);
    for (PLazyNode c = Source->FirstChild; c; c = c->NextSibling) sources.push_back(c);
  } else {
    sources.push_back(Source);
  }
  const QByteArray data = WriteTransferNodes(sources);
  const TParsedNodes parsed = ParseTransfer(data);
  plat::TMemoryStream stream(data);
  PLazyNode last = nullptr;
  std::vector<PLazyNode> added;
  tree->BeginUpdate();
  try {
    for (std::size_t top : parsed.TopLevel) {
      PLazyNode node = tree->LoadParsedNode(parsed, top, StreamVersion, stream, 0, Target, Mode);
      if (DoNodeCopying(node, tree->NilForRoot(Target))) {
        added.push_back(node);
        DoNodeCopied(node);
        last = node;
      } else {
        tree->DeleteNode(node);
        last = nullptr;
      }
    }
  } catch (...) {
    DropAdded(tree, added);
    tree->EndUpdate();
    throw;
  }
  tree->EndUpdate();
  tree->InvalidatePositionCache();
  if (!tree->Updating()) {
    tree->RequestCacheValidation();
    tree->UpdateScrollBars(true);
    tree->Invalidate();
  }
  // Another tree's notification must not name a node it does not hold: it names the copy (nil: none kept).
  tree->StructureChange(tree == this ? Source : last, crNodeCopied);
  return ChildrenOnly ? Target : last;
}

void TBaseLazyTree::MoveTo(PLazyNode Source, TBaseLazyTree* Tree, TLTNodeAttachMode Mode, bool ChildrenOnly) {
  MoveTo(Source, Tree ? Tree->RootNode() : nullptr, Mode, ChildrenOnly);
}

void TBaseLazyTree::MoveToTree(PLazyNode Source, PLazyNode Target, TLTNodeAttachMode Mode, bool ChildrenOnly) {
  TBaseLazyTree* tree = TreeOfNode(Target);
  if (tree->ReadOnly()) return;
  tree->AssertMainThread();
  tree->CheckStructureEditAllowed();
  if (Target == tree->FRoot) {
    Mode = ModeAtRoot(Mode);
  } else {
    if (!Target->Has(vsInitialized)) tree->InitNode(Target);
    if ((Mode == amAddChildFirst || Mode == amAddChildLast) && Target->Has(vsHasChildren) && Target->ChildCount == 0)
      tree->InitChildren(Target);
  }
  const bool allowed = DoNodeMoving(Source, tree->NilForRoot(Target));
  if (allowed) {
    std::vector<PLazyNode> sources;
    if (ChildrenOnly)
      for (PLazyNode c = Source->FirstChild; c; c = c->NextSibling) sources.push_back(c);
    else
      sources.push_back(Source);
    const QByteArray data = WriteTransferNodes(sources);
    const TParsedNodes parsed = ParseTransfer(data);
    plat::TMemoryStream stream(data);
    // Until every node arrived the source keeps its nodes; a failure takes the arrived ones back.
    std::vector<PLazyNode> added;
    tree->BeginUpdate();
    try {
      for (std::size_t top : parsed.TopLevel) {
        added.push_back(tree->LoadParsedNode(parsed, top, StreamVersion, stream, 0, Target, Mode));
        DoNodeMoved(added.back());
      }
    } catch (...) {
      DropAdded(tree, added);
      tree->EndUpdate();
      throw;
    }
    tree->EndUpdate();
    BeginUpdate();
    try {
      if (ChildrenOnly)
        DeleteChildren(Source, false);
      else
        DeleteNode(Source);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
  }
  InvalidatePositionCache();
  if (!Updating() && allowed) {
    RequestCacheValidation();
    UpdateScrollBars(true);
    Invalidate();
    tree->Invalidate();
  }
  // The moved node itself is gone from this tree; the notification then names none.
  StructureChange(allowed && !ChildrenOnly ? nullptr : Source, crNodeMoved);
}

}  // namespace lazytree

namespace lazytree {

// ------------------------------------------------------------------------------------------------------------
// The cut or copy set

namespace {

// The node that follows Node's subtree in tree order (nil at the end).
PLazyNode AfterSubtree(PLazyNode Node) {
  for (PLazyNode n = Node; n->Parent; n = n->Parent)
    if (n->NextSibling) return n->NextSibling;
  return nullptr;
}

}  // namespace

PLazyNode TBaseLazyTree::GetFirstCutCopy(bool ConsiderChildrenAbove) {
  return GetNextCutCopy(nullptr, ConsiderChildrenAbove);
}

PLazyNode TBaseLazyTree::GetNextCutCopy(PLazyNode Node, bool ConsiderChildrenAbove) {
  if (!FStates.Has(tsCutPending) && !FStates.Has(tsCopyPending)) return nullptr;
  PLazyNode n = !Node || Node == FRoot ? GetFirstNoInit(ConsiderChildrenAbove)
                                      : GetNextNoInit(Node, ConsiderChildrenAbove);
  while (n && !n->Has(vsCutOrCopy)) n = GetNextNoInit(n, ConsiderChildrenAbove);
  if (n && !n->Has(vsInitialized)) InitNode(n);
  return n;
}

PLazyNode TBaseLazyTree::GetPreviousCutCopy(PLazyNode Node, bool ConsiderChildrenAbove) {
  if (!FStates.Has(tsCutPending) && !FStates.Has(tsCopyPending)) return nullptr;
  PLazyNode n = !Node || Node == FRoot ? GetLastNoInit(nullptr, ConsiderChildrenAbove)
                                      : GetPreviousNoInit(Node, ConsiderChildrenAbove);
  while (n && !n->Has(vsCutOrCopy)) n = GetPreviousNoInit(n, ConsiderChildrenAbove);
  if (n && !n->Has(vsInitialized)) InitNode(n);
  return n;
}

int TBaseLazyTree::CutCopyCount() {
  int count = 0;
  for (PLazyNode n = GetFirstCutCopy(); n; n = GetNextCutCopy(n)) ++count;
  return count;
}

TLTLazyNodeEnumeration TBaseLazyTree::CutCopyNodes(bool ConsiderChildrenAbove) {
  return {vneCutCopy, this, ConsiderChildrenAbove};
}

std::vector<PLazyNode> TBaseLazyTree::GetSortedCutCopySet(bool Resolve) {
  std::vector<PLazyNode> nodes;
  for (PLazyNode n = GetFirstNoInit(); n;) {
    if (!n->Has(vsCutOrCopy)) {
      n = GetNextNoInit(n);
      continue;
    }
    nodes.push_back(n);
    n = Resolve ? AfterSubtree(n) : GetNextNoInit(n);
  }
  return nodes;
}

void TBaseLazyTree::FlagCutCopyNodes() {
  for (PLazyNode n : GetSortedSelection(false))
    if (!n->Has(vsDisabled)) n->Include(vsCutOrCopy);
}

void TBaseLazyTree::CancelCutOrCopy() {
  if (!FStates.Has(tsCutPending) && !FStates.Has(tsCopyPending)) return;
  for (PLazyNode n = GetFirstNoInit(); n; n = GetNextNoInit(n)) n->Exclude(vsCutOrCopy);
  DoStateChange({}, {tsCutPending, tsCopyPending});
  Invalidate();
}

void TBaseLazyTree::FinishCutOrCopy() {
  if (!FStates.Has(tsCutPending)) return;
  BeginUpdate();
  try {
    for (PLazyNode n = GetFirstNoInit(); n;) {
      if (!n->Has(vsCutOrCopy)) {
        n = GetNextNoInit(n);
        continue;
      }
      PLazyNode next = AfterSubtree(n);
      DeleteNode(n);
      n = next;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  DoStateChange({}, {tsCutPending});
}

void TBaseLazyTree::DeleteSelectedNodes() {
  if (FSelectionCount == 0 || ReadOnly()) return;
  BeginUpdate();
  try {
    const std::vector<PLazyNode> nodes = GetSortedSelection(true);
    // A parent's children are renumbered once, when the first of its selected children in tree order goes.
    for (std::size_t i = nodes.size(); i-- > 1;) {
      DeleteNode(nodes[i], nodes[i]->Parent != nodes[i - 1]->Parent);
    }
    if (!nodes.empty()) DeleteNode(nodes[0]);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

}  // namespace lazytree
