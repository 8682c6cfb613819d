#include "tree/lazytree.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>
#include <cstring>

namespace lazytree {

namespace {

constexpr std::size_t RoundUp(std::size_t v, std::size_t a) { return (v + a - 1) / a * a; }

// Sibling chains. A first child's PrevLink holds its parent's last child (see TLazyNode); these keep that
// in step with every change of a chain. Indexes and counts are the callers' business.

// Appends Node behind Parent's last child.
void ChainAppend(PLazyNode Parent, PLazyNode Node) {
  Node->Parent = Parent;
  Node->NextSibling = nullptr;
  PLazyNode first = Parent->FirstChild;
  if (!first) {
    Parent->FirstChild = Node;
    Node->PrevLink = Node;
    return;
  }
  PLazyNode last = first->PrevLink;
  last->NextSibling = Node;
  Node->PrevLink = last;
  first->PrevLink = Node;
}

// Puts Node in front of Next, a child of Parent.
void ChainInsertBefore(PLazyNode Parent, PLazyNode Next, PLazyNode Node) {
  Node->Parent = Parent;
  Node->NextSibling = Next;
  Node->PrevLink = Next->PrevLink;  // the previous sibling, or the last child when Next is first
  Next->PrevLink = Node;
  if (Parent->FirstChild == Next)
    Parent->FirstChild = Node;
  else
    Node->PrevLink->NextSibling = Node;
}

// Takes Node out of its parent's chain; Node keeps its Parent.
void ChainRemove(PLazyNode Node) {
  PLazyNode parent = Node->Parent;
  PLazyNode first = parent->FirstChild;
  PLazyNode next = Node->NextSibling;
  if (Node == first) {
    parent->FirstChild = next;
    if (next) next->PrevLink = Node->PrevLink;  // the last child moves to the new first
  } else {
    PLazyNode prev = Node->PrevLink;
    prev->NextSibling = next;
    if (next)
      next->PrevLink = prev;
    else
      first->PrevLink = prev;  // prev is the new last child
  }
  Node->PrevLink = nullptr;
  Node->NextSibling = nullptr;
}

const char* const kDeleteWhileIterating = "Deleting nodes during tree iteration leads to invalid pointers.";
const char* const kEditWhileDeleting =
    "Changing the tree structure while nodes are being deleted leads to invalid pointers.";

}  // namespace

struct TBaseLazyTree::TRootBlock {
  TLazyNode Node;
  TBaseLazyTree* Tree;
  std::vector<unsigned char> Internal;
};

// Marks a deletion in progress: structure edits from event handlers are refused meanwhile, and a handler's
// failure is kept until the tree is consistent again.
class TBaseLazyTree::TDeletionGuard {
 public:
  explicit TDeletionGuard(TBaseLazyTree& tree) : tree_(tree) { ++tree_.FDeletingCount; }
  ~TDeletionGuard() {
    if (!done_) Release();
  }
  // Ends the guard; returns the first failure of a handler when this was the outermost guard.
  std::exception_ptr Release() {
    done_ = true;
    std::exception_ptr e;
    if (--tree_.FDeletingCount == 0) std::swap(e, tree_.FDeferredError);
    return e;
  }

 private:
  TBaseLazyTree& tree_;
  bool done_ = false;
};

namespace {

void RethrowIf(const std::exception_ptr& e) {
  if (e) std::rethrow_exception(e);
}

}  // namespace

// ------------------------------------------------------------------------------------------------------------
// Construction

TBaseLazyTree::TBaseLazyTree() {
  FRootBlock = new TRootBlock{};
  FRootBlock->Tree = this;
  FRoot = &FRootBlock->Node;
  FRoot->Parent = nullptr;
  FRoot->PrevLink = FRoot;
  FRoot->NextSibling = FRoot;
  FRoot->States = TLazyNodeStates{vsInitialized, vsExpanded, vsHasChildren, vsVisible};
  FRoot->TotalCount = 1;
  FRoot->NodeHeight = static_cast<uint16_t>(FDefaultNodeHeight);
  FRoot->TotalHeight = FDefaultNodeHeight;
  FRoot->Align = 50;
  ReconfigureArena();
}

TBaseLazyTree::~TBaseLazyTree() {
  FDestroying = true;
  try {
    Clear();
  } catch (...) {
    // A handler failing while the tree goes away cannot be reported to anyone.
  }
  delete FRootBlock;
}

constinit thread_local bool tKnownMainThread [[gnu::tls_model("initial-exec")]] = false;

void TBaseLazyTree::AssertMainThreadSlow() const {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return;
  if (QThread::currentThread() == app->thread()) {
    tKnownMainThread = true;
    return;
  }
  throw ELazyTreeAssertion(std::string("UI controls like ") + ClassName() +
                           " should only be manipulated through the main thread.");
}

void TBaseLazyTree::RequireNotRoot(PLazyNode Node) const {
  if (Node == FRoot) throw ELazyTreeAssertion("Node must not be the hidden root node.");
}

void TBaseLazyTree::RefuseEditWhileDeleting() { throw ELazyTreeAssertion(kEditWhileDeleting); }

void TBaseLazyTree::CheckDeleteAllowed(PLazyNode Node, bool WithNode) const {
  if (FStates.Has(tsIterating)) throw ELazyTreeAssertion(kDeleteWhileIterating);
  CheckStructureEditAllowed();
  // A handler of OnInitNode must not free the node being initialised (or one of its ancestors).
  for (PLazyNode n : FInitializing)
    if (!Node || Node == FRoot || (WithNode && n == Node) || HasAsParent(n, Node))
      throw ELazyTreeAssertion("A node cannot be deleted while it is being initialized.");
}

// ------------------------------------------------------------------------------------------------------------
// Node blocks and user data

std::size_t TBaseLazyTree::UserDataOffset() const { return FUserDataOffset; }

std::size_t TBaseLazyTree::AlignedDataSize() const {
  return RoundUp(static_cast<std::size_t>(std::max(FNodeDataSize, 0)), 4);
}

void TBaseLazyTree::ReconfigureArena() {
  if (FArena.LiveCount() != 0) return;
  FUserDataOffset = RoundUp(sizeof(TLazyNode), FDataAlign);
  FArena.Configure(UserDataOffset() + AlignedDataSize() + FInternalDataSize, FDataAlign);
}

int TBaseLazyTree::DoGetNodeDataSize() {
  // One pointer by default, so that AddChild(Parent, UserData) works without a handler.
  int size = static_cast<int>(sizeof(void*));
  if (OnGetNodeDataSize) OnGetNodeDataSize(this, size);
  return size < 0 ? 0 : size;
}

void TBaseLazyTree::SettleNodeDataSize() {
  FNodeDataSize = DoGetNodeDataSize();
  ReconfigureArena();
}

void TBaseLazyTree::ConstructNodeData(void* Block) {
  try {
    FDataConstruct(static_cast<char*>(Block) + UserDataOffset());
  } catch (...) {
    FArena.Free(Block);
    throw;
  }
}

// Small enough to be inlined where nodes are made in bulk; the rare steps are calls.
inline PLazyNode TBaseLazyTree::MakeNewNode() {
  if (FNodeDataSize == -1) SettleNodeDataSize();
  // The record is written whole and only the areas behind it are cleared: cheaper than clearing the
  // block and then setting the defaults, and the result is the same zero-filled block with defaults.
  void* block = FArena.AllocateUninitialized();
  auto* node = static_cast<PLazyNode>(block);
  const auto height = static_cast<uint16_t>(FDefaultNodeHeight);
  *node = TLazyNode{};
  node->States = TLazyNodeStates{vsVisible};
  node->TotalCount = 1;
  node->TotalHeight = height;
  node->NodeHeight = height;
  node->Align = 50;
  // Stride and record size are multiples of the pointer size.
  for (auto* p = reinterpret_cast<uint64_t*>(node + 1), *end = reinterpret_cast<uint64_t*>(
                                                             static_cast<char*>(block) + FArena.Stride());
       p != end; ++p)
    *p = 0;
  if (FDataConstruct) ConstructNodeData(block);
  return node;
}

PLazyNode TBaseLazyTree::AllocateNode() { return MakeNewNode(); }

void TBaseLazyTree::ReleaseNodeBlock(PLazyNode Node) {
  FArena.Free(Node);
}

void TBaseLazyTree::ChangeDataLayout(int Size, std::size_t Align, void (*Construct)(void*),
                                     void (*Destroy)(void*)) {
  if (Size < -1) Size = -1;
  if (Size == FNodeDataSize && Align == FDataAlign && Construct == FDataConstruct && Destroy == FDataDestroy)
    return;
  const uint32_t count = FRoot->ChildCount;
  if (count > 0) {
    // The blocks of existing nodes are made for the old layout; they cannot stay.
    if (ReadOnly())
      throw ELazyTreeAssertion("NodeDataSize cannot change while a read-only tree holds nodes.");
    CheckDeleteAllowed(nullptr, true);
    Clear();
  }
  FNodeDataSize = Size;
  FDataAlign = Align;
  FDataConstruct = Construct;
  FDataDestroy = Destroy;
  ReconfigureArena();
  if (count > 0) SetRootNodeCount(count);
}

void TBaseLazyTree::SetNodeDataSize(int Value) { ChangeDataLayout(Value, alignof(void*), nullptr, nullptr); }

void* TBaseLazyTree::GetNodeData(PLazyNode Node) {
  if (FNodeDataSize <= 0) throw ELazyTreeAssertion("NodeDataSize not initialized.");
  if (!Node || Node == FRoot) return nullptr;
  Node->Include(vsOnFreeNodeCallRequired);
  return reinterpret_cast<char*>(Node) + UserDataOffset();
}

void TBaseLazyTree::SetNodeData(PLazyNode Node, void* Value) {
  if (FNodeDataSize < static_cast<int>(sizeof(void*)))
    throw ELazyTreeAssertion(std::string(ClassName()) +
                             ": Cannot set initial user data because there is not enough user data space allocated.");
  if (FDataConstruct || FDataDestroy)
    throw ELazyTreeAssertion("A raw pointer cannot be stored in typed node data.");
  if (!Node || Node == FRoot) return;
  if (Node->Has(vsReleaseCallOnUserDataRequired)) {
    std::shared_ptr<void>* old = nullptr;
    std::memcpy(&old, reinterpret_cast<char*>(Node) + UserDataOffset(), sizeof old);
    delete old;
    Node->Exclude(vsReleaseCallOnUserDataRequired);
  }
  std::memcpy(reinterpret_cast<char*>(Node) + UserDataOffset(), &Value, sizeof Value);
  Node->Include(vsOnFreeNodeCallRequired);
}

void TBaseLazyTree::SetNodeData(PLazyNode Node, std::shared_ptr<void> Value) {
  if (!Node || Node == FRoot) return;
  auto* holder = new std::shared_ptr<void>(std::move(Value));
  try {
    SetNodeData(Node, static_cast<void*>(holder));
  } catch (...) {
    delete holder;
    throw;
  }
  Node->Include(vsReleaseCallOnUserDataRequired);
}

std::shared_ptr<void> TBaseLazyTree::GetInterfaceFromNodeData(PLazyNode Node) const {
  if (!Node || Node == FRoot || !Node->Has(vsReleaseCallOnUserDataRequired)) return nullptr;
  std::shared_ptr<void>* holder = nullptr;
  std::memcpy(&holder, reinterpret_cast<const char*>(Node) + UserDataOffset(), sizeof holder);
  return *holder;
}

std::size_t TBaseLazyTree::ReserveInternalData(std::size_t Size) {
  if (FRoot->ChildCount > 0 || FArena.LiveCount() > 0)
    throw ELazyTreeAssertion("Internal data allocation must be done before any node is created.");
  const std::size_t offset = FInternalDataSize;
  FInternalDataSize += RoundUp(Size, 4);
  FRootBlock->Internal.resize(FInternalDataSize, 0);
  ReconfigureArena();
  return offset;
}

void* TBaseLazyTree::GetInternalData(PLazyNode Node, std::size_t Offset) {
  if (!Node) return nullptr;
  if (Node == FRoot) return FRootBlock->Internal.data() + Offset;
  return reinterpret_cast<char*>(Node) + UserDataOffset() + AlignedDataSize() + Offset;
}

TBaseLazyTree* TBaseLazyTree::TreeOfNode(PLazyNode Node) {
  if (!Node) throw ELazyTreeAssertion("Node must not be nil.");
  while (Node->NextSibling != Node) Node = Node->Parent;
  return reinterpret_cast<TRootBlock*>(Node)->Tree;
}

// ------------------------------------------------------------------------------------------------------------
// Structure

uint32_t TBaseLazyTree::GetChildCount(PLazyNode Node) const {
  return Node ? Node->ChildCount : FRoot->ChildCount;
}

// A pointer given as initial user data needs a pointer-sized data area of raw bytes; checked before a node is
// added, so that a refused call changes nothing.
void TBaseLazyTree::CheckRoomForUserData() {
  if (FNodeDataSize == -1) {
    FNodeDataSize = DoGetNodeDataSize();
    ReconfigureArena();
  }
  if (FNodeDataSize < static_cast<int>(sizeof(void*)))
    throw ELazyTreeAssertion(std::string(ClassName()) +
                             ": Cannot set initial user data because there is not enough user data space allocated.");
  if (FDataConstruct || FDataDestroy)
    throw ELazyTreeAssertion("A raw pointer cannot be stored in typed node data.");
}

PLazyNode TBaseLazyTree::AddChild(PLazyNode Parent, void* UserData) {
  if (ReadOnly()) return nullptr;
  AssertMainThread();
  CheckStructureEditAllowed();
  if (UserData) CheckRoomForUserData();
  CancelEditNode();
  if (!Parent) Parent = FRoot;
  if (!Parent->Has(vsInitialized)) InitNode(Parent);
  ++FUpdateCount;
  try {
    SetChildCount(Parent, Parent->ChildCount + 1);
  } catch (...) {
    --FUpdateCount;
    throw;
  }
  --FUpdateCount;
  Parent->Exclude(vsAllChildrenHidden);
  PLazyNode node = Parent->LastChild();
  if (UserData) {
    std::memcpy(reinterpret_cast<char*>(node) + UserDataOffset(), &UserData, sizeof UserData);
    node->Include(vsOnFreeNodeCallRequired);
  }
  InvalidatePositionCache();
  if (Updating()) return node;
  RequestCacheValidation();
  if (FStates.Has(tsStructureChangePending)) StructureChange(NilForRoot(Parent), crChildAdded);
  if (AutoSortWanted()) Sort(Parent, SortColumn(), SortDirection(), true);
  InvalidateToBottom(Parent);
  UpdateScrollBars(true);
  return node;
}

PLazyNode TBaseLazyTree::AddChild(PLazyNode Parent, std::shared_ptr<void> UserData) {
  if (FNodeDataSize < static_cast<int>(sizeof(void*)) && FNodeDataSize != -1)
    throw ELazyTreeAssertion(std::string(ClassName()) +
                             ": Cannot set initial user data because there is not enough user data space allocated.");
  auto* holder = new std::shared_ptr<void>(std::move(UserData));
  PLazyNode node;
  try {
    node = AddChild(Parent, static_cast<void*>(holder));
  } catch (...) {
    delete holder;
    throw;
  }
  if (!node) {
    delete holder;
    return nullptr;
  }
  node->Include(vsReleaseCallOnUserDataRequired);
  return node;
}

void TBaseLazyTree::SetChildCount(PLazyNode Node, uint32_t NewChildCount) {
  if (ReadOnly()) return;
  AssertMainThread();
  CheckStructureEditAllowed();
  if (!Node) Node = FRoot;
  if (NewChildCount == 0) {
    DeleteChildren(Node, false);
    return;
  }
  if (NewChildCount == Node->ChildCount) return;
  StopCacheValidation();
  if (NewChildCount > Node->ChildCount) {
    const bool perNode = FOptions.MiscOptions.Has(toVariableNodeHeight);
    PLazyNode last = Node->LastChild();
    uint32_t index = last ? last->Index + 1 : 0;
    if (!last) Node->Include(vsHasChildren);
    Node->Exclude(vsAllChildrenHidden);
    Node->Exclude(vsHeightMeasured);
    const bool countsVisible = Node->Has(vsExpanded) && GetFullyVisible(Node);
    // Counts follow the nodes linked so far, also when an allocation or a handler fails half-way.
    uint32_t linked = 0;
    int64_t height = 0;
    auto settle = [&] {
      if (linked == 0) return;
      if (countsVisible) FVisibleCount += linked;
      if (Node->Has(vsExpanded)) AdjustTotalHeight(Node, height, true);
      AdjustTotalCount(Node, linked, true);
      linked = 0;
      height = 0;
    };
    try {
      while (Node->ChildCount < NewChildCount) {
        PLazyNode child = MakeNewNode();
        child->Index = index++;
        ChainAppend(Node, child);
        ++Node->ChildCount;
        ++linked;
        height += child->TotalHeight;
        if (perNode) {
          // Measuring initialises the node: the handler sees it linked and counted.
          settle();
          GetNodeHeight(child);
        }
      }
    } catch (...) {
      settle();
      throw;
    }
    settle();
    if (!Updating() && AutoSortWanted()) Sort(Node, SortColumn(), SortDirection(), true);
    InvalidatePositionCache();
  } else {
    while (Node->ChildCount > NewChildCount) DeleteNode(Node->LastChild());
  }
  if (!Updating()) {
    RequestCacheValidation();
    UpdateScrollBars(true);
    Invalidate();
  }
  StructureChange(NilForRoot(Node), crChildAdded);
}

void TBaseLazyTree::SetRootNodeCount(uint32_t Value) {
  if (Value == FRoot->ChildCount) return;
  BeginUpdate();
  try {
    StopCacheValidation();
    SetChildCount(FRoot, Value);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

uint32_t TBaseLazyTree::TotalCount() {
  ++FUpdateCount;
  try {
    ValidateNode(FRoot, true);
  } catch (...) {
    --FUpdateCount;
    throw;
  }
  --FUpdateCount;
  return FRoot->TotalCount - 1;
}

uint32_t TBaseLazyTree::GetNodeLevel(PLazyNode Node) const {
  if (!Node || Node == FRoot) return 0;
  uint32_t level = 0;
  for (PLazyNode n = Node->Parent; n && n != FRoot; n = n->Parent) ++level;
  return level;
}

PLazyNode TBaseLazyTree::GetNodeParent(PLazyNode Node) const {
  return Node && Node->Parent != FRoot ? Node->Parent : nullptr;
}

void TBaseLazyTree::SetNodeParent(PLazyNode Node, PLazyNode Value) {
  if (Node && Value && Value != Node->Parent) MoveTo(Node, Value, amAddChildLast, false);
}

bool TBaseLazyTree::GetHasChildren(PLazyNode Node) const {
  return (Node ? Node : FRoot)->Has(vsHasChildren);
}

void TBaseLazyTree::SetHasChildren(PLazyNode Node, bool Value) {
  if (!Node || ReadOnly()) return;
  if (Value) {
    Node->Include(vsHasChildren);
    if (Node->ChildCount == 0) Node->Exclude(vsAllChildrenHidden);
  } else {
    Node->Exclude(vsHasChildren);
    DeleteChildren(Node, false);
    if (Node != FRoot) UpdateAllChildrenHiddenFlag(Node);
  }
  if (!Updating()) InvalidateNode(Node);
}

bool TBaseLazyTree::GetChildrenInitialized(PLazyNode Node) const {
  PLazyNode n = Node ? Node : FRoot;
  return !(n->Has(vsHasChildren) && n->ChildCount == 0);
}

bool TBaseLazyTree::GetMultiline(PLazyNode Node) const {
  return Node && Node != FRoot && Node->Has(vsMultiline);
}

void TBaseLazyTree::SetMultiline(PLazyNode Node, bool Value) {
  if (!Node || Node == FRoot || Node->Has(vsMultiline) == Value) return;
  if (Value)
    Node->Include(vsMultiline);
  else
    Node->Exclude(vsMultiline);
  if (!Updating()) InvalidateNode(Node);
}

void TBaseLazyTree::LinkNode(PLazyNode Node, PLazyNode Destination, TLTNodeAttachMode Mode) {
  PLazyNode parent = nullptr;
  switch (Mode) {
    case amNoWhere:
      break;
    case amInsertBefore: {
      parent = Destination->Parent;
      Node->Index = Destination->Index;
      ChainInsertBefore(parent, Destination, Node);
      for (PLazyNode s = Destination; s; s = s->NextSibling) ++s->Index;
      break;
    }
    case amInsertAfter: {
      parent = Destination->Parent;
      Node->Index = Destination->Index + 1;
      if (Destination->NextSibling)
        ChainInsertBefore(parent, Destination->NextSibling, Node);
      else
        ChainAppend(parent, Node);
      for (PLazyNode s = Node->NextSibling; s; s = s->NextSibling) ++s->Index;
      break;
    }
    case amAddChildFirst: {
      parent = Destination;
      Node->Index = 0;
      if (parent->FirstChild)
        ChainInsertBefore(parent, parent->FirstChild, Node);
      else
        ChainAppend(parent, Node);
      for (PLazyNode s = Node->NextSibling; s; s = s->NextSibling) ++s->Index;
      break;
    }
    case amAddChildLast: {
      parent = Destination;
      PLazyNode last = parent->LastChild();
      Node->Index = last ? last->Index + 1 : 0;
      ChainAppend(parent, Node);
      break;
    }
  }
  Node->Exclude(vsChecking);
  Node->Exclude(vsCutOrCopy);
  Node->Exclude(vsDeleting);
  if (Mode == amNoWhere) return;
  ++parent->ChildCount;
  parent->Include(vsHasChildren);
  AdjustTotalCount(parent, Node->TotalCount, true);
  if (parent->Has(vsExpanded) && Node->Has(vsVisible)) {
    AdjustTotalHeight(parent, Node->TotalHeight, true);
    // Only rows that are shown count, so a node linked below a collapsed ancestor adds none.
    if (GetFullyVisible(Node)) FVisibleCount += CountVisibleChildren(Node) + (GetEffectivelyVisible(Node) ? 1 : 0);
  }
  if (parent != FRoot) {
    if (GetEffectivelyVisible(Node))
      parent->Exclude(vsAllChildrenHidden);
    else if (parent->ChildCount == 1)
      parent->Include(vsAllChildrenHidden);
  }
}

void TBaseLazyTree::UnlinkNode(PLazyNode Node, bool KeepFocus, bool Reindex) {
  if (!Node || Node == FRoot) throw ELazyTreeAssertion("Node must neither be nil nor the root node.");
  if (Node == FFocusedNode && !KeepFocus) FFocusedNode = nullptr;
  if (Node == FRangeAnchor) FRangeAnchor = nullptr;
  PLazyNode parent = Node->Parent;
  const bool wasExpanded = parent->Has(vsExpanded);
  const bool fully = GetFullyVisible(Node);
  Node->Exclude(vsChecking);
  --parent->ChildCount;
  if (parent->ChildCount == 0) {
    parent->Exclude(vsAllChildrenHidden);
    parent->Exclude(vsHasChildren);
    if (parent != FRoot) parent->Exclude(vsExpanded);
  }
  AdjustTotalCount(parent, -static_cast<int64_t>(Node->TotalCount), true);
  if (wasExpanded && Node->Has(vsVisible)) AdjustTotalHeight(parent, -static_cast<int64_t>(Node->TotalHeight), true);
  if (fully) FVisibleCount -= CountVisibleChildren(Node) + (GetEffectivelyVisible(Node) ? 1 : 0);
  PLazyNode next = Node->NextSibling;
  ChainRemove(Node);
  if (Reindex)
    for (uint32_t index = Node->Index; next; next = next->NextSibling) next->Index = index++;
  // The hidden-children flag of the parent is brought up to date once the node is gone.
  if (parent != FRoot) {
    if (Updating())
      DoStateChange({tsUpdateHiddenChildrenNeeded});
    else
      UpdateAllChildrenHiddenFlag(parent);
  }
}

PLazyNode TBaseLazyTree::InsertNode(PLazyNode Node, TLTNodeAttachMode Mode, void* UserData) {
  if (Mode == amNoWhere) return nullptr;
  AssertMainThread();
  CheckStructureEditAllowed();
  if (UserData) CheckRoomForUserData();
  CancelEditNode();
  if (!Node) Node = FRoot;
  if (Node == FRoot) {
    if (Mode == amInsertBefore) Mode = amAddChildFirst;
    if (Mode == amInsertAfter) Mode = amAddChildLast;
  }
  const bool childMode = Mode == amAddChildFirst || Mode == amAddChildLast;
  if (childMode && !Node->Has(vsInitialized)) InitNode(Node);
  StopCacheValidation();
  PLazyNode node = MakeNewNode();
  LinkNode(node, Node, Mode);
  if (UserData) {
    std::memcpy(reinterpret_cast<char*>(node) + UserDataOffset(), &UserData, sizeof UserData);
    node->Include(vsOnFreeNodeCallRequired);
  }
  InvalidatePositionCache();
  if (!Updating()) {
    if (AutoSortWanted()) Sort(childMode ? Node : Node->Parent, SortColumn(), SortDirection(), true);
    UpdateScrollBars(true);
    InvalidateToBottom(Mode == amInsertBefore ? node : Node);
  }
  StructureChange(node, crNodeAdded);
  return node;
}

void TBaseLazyTree::DoFreeNode(PLazyNode Node) {
  if (FLastChangedNode == Node) FLastChangedNode = nullptr;
  if (FHotNode == Node) FHotNode = nullptr;
  if (FDropTargetNode == Node) FDropTargetNode = nullptr;
  if (FLastStructureChangeNode == Node) FLastStructureChangeNode = nullptr;
  if (FFocusedNode == Node) FFocusedNode = nullptr;
  if (FRangeAnchor == Node) FRangeAnchor = nullptr;
  if (FLastSelected == Node) FLastSelected = nullptr;
  if (FNextNodeToSelect == Node) FNextNodeToSelect = NilForRoot(Node->Parent);
  if (OnFreeNode && (Node->Has(vsInitialized) || Node->Has(vsOnFreeNodeCallRequired)))
    FireSafely([&] { OnFreeNode(this, Node); });
  char* data = reinterpret_cast<char*>(Node) + UserDataOffset();
  if (Node->Has(vsReleaseCallOnUserDataRequired)) {
    std::shared_ptr<void>* holder = nullptr;
    std::memcpy(&holder, data, sizeof holder);
    delete holder;
  }
  if (FDataDestroy) FDataDestroy(data);
  ReleaseNodeBlock(Node);
  if (!Updating()) EnsureNodeSelected();
}

// Frees every descendant of Node, children before their parents and the last sibling first, cutting each
// sibling chain as it goes. Iterative, so that deep trees cannot exhaust the stack.
void TBaseLazyTree::DeleteSubtreeChildren(PLazyNode Node) {
  // countsVisible.back(): the rows below the current parent are counted in the visible count.
  std::vector<uint8_t> countsVisible;
  countsVisible.push_back(Node == FRoot || (GetFullyVisible(Node) && Node->Has(vsExpanded)));
  // A parent's FirstChild stays until all its children are freed, so PrevSibling() holds while the
  // chains are cut.
  PLazyNode n = Node->LastChild();
  while (n) {
    if (countsVisible.back() && GetEffectivelyVisible(n)) --FVisibleCount;
    n->Include(vsDeleting);
    if (PLazyNode prev = n->PrevSibling()) prev->NextSibling = nullptr;
    if (PLazyNode last = n->LastChild()) {
      countsVisible.push_back(countsVisible.back() && n->Has(vsVisible) && n->Has(vsExpanded));
      n = last;
      continue;
    }
    bool hadChildren = false;
    for (;;) {
      PLazyNode prev = n->PrevSibling();
      PLazyNode parent = n->Parent;
      if (hadChildren) StructureChange(n, crChildDeleted);
      if (n->Has(vsSelected)) InternalRemoveFromSelection(n);
      if (n == FFocusedNode) FFocusedNode = nullptr;
      if (n == FRangeAnchor) FRangeAnchor = nullptr;
      DoFreeNode(n);
      if (prev) {
        n = prev;
        break;
      }
      countsVisible.pop_back();
      if (parent == Node) {
        n = nullptr;
        break;
      }
      n = parent;
      n->FirstChild = nullptr;
      n->ChildCount = 0;
      hadChildren = true;
    }
  }
}

void TBaseLazyTree::DeleteChildren(PLazyNode Node, bool ResetHasChildren) {
  if (!Node || ReadOnly()) return;
  AssertMainThread();
  if (Node->ChildCount == 0) {
    if (ResetHasChildren) Node->Exclude(vsHasChildren);
    return;
  }
  CheckDeleteAllowed(Node, false);
  TDeletionGuard guard(*this);
  ++FUpdateCount;
  try {
    StopCacheValidation();
    DeleteSubtreeChildren(Node);
  } catch (...) {
    --FUpdateCount;
    throw;
  }
  --FUpdateCount;
  if (ResetHasChildren) Node->Exclude(vsHasChildren);
  if (Node != FRoot) Node->Exclude(vsExpanded);
  Node->ChildCount = 0;
  Node->FirstChild = nullptr;
  if (Node == FRoot) {
    FRoot->TotalCount = 1;
    FRoot->TotalHeight = FRoot->NodeHeight;
  } else {
    // A filtered node contributes no height of its own.
    AdjustTotalHeight(Node, GetEffectivelyFiltered(Node) ? 0 : GetNodeHeight(Node), false);
    AdjustTotalCount(Node, 1, false);
  }
  InvalidatePositionCache();
  if (!Updating()) {
    RequestCacheValidation();
    UpdateScrollBars(true);
    InvalidateToBottom(Node);
    if (FStates.Has(tsChangePending)) {
      DoChange(FLastChangedNode);
      EnsureNodeSelected();
    }
  }
  StructureChange(Node, crChildDeleted);
  RethrowIf(guard.Release());
}

void TBaseLazyTree::RemoveNode(PLazyNode Node, bool Reindex) {
  PLazyNode parent = Node->Parent;
  StructureChange(NilForRoot(parent), crChildDeleted);
  if (!Node->Has(vsSelected)) {
    InvalidateToBottom(parent);
  } else if (Updating()) {
    InternalRemoveFromSelection(Node);
  } else {
    const bool hadSynch = FStates.Has(tsSynchMode);
    FStates.Include(tsSynchMode);
    try {
      RemoveFromSelection(Node);
    } catch (...) {
      if (!hadSynch) FStates.Exclude(tsSynchMode);
      throw;
    }
    if (!hadSynch) FStates.Exclude(tsSynchMode);
    InvalidateToBottom(parent);
  }
  if (FStates.Has(tsHint)) {
    CancelHint();
    DoStateChange({}, {tsHint});
  }
  StopCacheValidation();
  if (Node->ChildCount > 0) {
    ++FUpdateCount;
    try {
      DeleteSubtreeChildren(Node);
    } catch (...) {
      --FUpdateCount;
      throw;
    }
    --FUpdateCount;
    Node->Exclude(vsExpanded);
    Node->ChildCount = 0;
    Node->FirstChild = nullptr;
    AdjustTotalHeight(Node, GetEffectivelyFiltered(Node) ? 0 : GetNodeHeight(Node), false);
    AdjustTotalCount(Node, 1, false);
    InvalidatePositionCache();
    if (!Updating()) {
      RequestCacheValidation();
      if (FStates.Has(tsChangePending)) DoChange(FLastChangedNode);
    }
    StructureChange(Node, crChildDeleted);
  }
  UnlinkNode(Node, false, Reindex);
  DoFreeNode(Node);
  UpdateAllChildrenHiddenFlag(parent);
  InvalidatePositionCache();
  if (!Updating()) {
    RequestCacheValidation();
    UpdateScrollBars(true);
  }
}

void TBaseLazyTree::DeleteNode(PLazyNode Node, bool Reindex) {
  if (!Node || Node == FRoot || ReadOnly()) return;
  AssertMainThread();
  CheckDeleteAllowed(Node, true);
  TDeletionGuard guard(*this);
  RemoveNode(Node, Reindex);
  RethrowIf(guard.Release());
}

void TBaseLazyTree::Clear() {
  if (!((FRoot->ChildCount > 0 && !ReadOnly()) || IsDestroying())) return;
  if (!IsDestroying()) {
    AssertMainThread();
    CheckDeleteAllowed(nullptr, true);
  }
  std::exception_ptr error;
  BeginUpdate();
  try {
    StopCacheValidation();
    CancelEditNode();
    if (FStates.Has(tsCopyPending) || FStates.Has(tsCutPending)) {
      ReleaseClipboardContent();
      DoStateChange({}, {tsCopyPending, tsCutPending});
    }
    ClearSelection();
    FFocusedNode = FLastSelected = FHotNode = FDropTargetNode = FLastChangedNode = FRangeAnchor = nullptr;
    FNextNodeToSelect = nullptr;
    if (FRoot->ChildCount > 0) {
      TDeletionGuard guard(*this);
      ++FUpdateCount;
      try {
        DeleteSubtreeChildren(FRoot);
      } catch (...) {
        --FUpdateCount;
        throw;
      }
      --FUpdateCount;
      FRoot->Exclude(vsHasChildren);
      FRoot->ChildCount = 0;
      FRoot->FirstChild = nullptr;
      FRoot->TotalCount = 1;
      FRoot->TotalHeight = FRoot->NodeHeight;
      FVisibleCount = 0;
      InvalidatePositionCache();
      StructureChange(FRoot, crChildDeleted);
      error = guard.Release();
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  if (FArena.LiveCount() == 0) FArena.ReleaseAll();
  RethrowIf(error);
}

void TBaseLazyTree::MoveTo(PLazyNode Source, PLazyNode Target, TLTNodeAttachMode Mode, bool ChildrenOnly) {
  if (!Source || Source == FRoot || Mode == amNoWhere || ReadOnly()) return;
  if (TreeOfNode(Source) != this) throw ELazyTreeAssertion("Source node must belong to this tree.");
  const bool wanted =
      Target != Source || (ChildrenOnly && (Mode == amInsertBefore || Mode == amInsertAfter));
  if (!wanted) return;
  AssertMainThread();
  CheckStructureEditAllowed();
  if (!Target) {
    Target = FRoot;
    Mode = amAddChildFirst;
  }
  if (TreeOfNode(Target) != this) {
    MoveToTree(Source, Target, Mode, ChildrenOnly);
    return;
  }
  if (Target == FRoot) {
    if (Mode == amInsertBefore) Mode = amAddChildFirst;
    if (Mode == amInsertAfter) Mode = amAddChildLast;
  } else {
    if (!Target->Has(vsInitialized)) InitNode(Target);
    if ((Mode == amAddChildFirst || Mode == amAddChildLast) && Target->Has(vsHasChildren) &&
        Target->ChildCount == 0)
      InitChildren(Target);
  }
  const bool allowed = DoNodeMoving(Source, NilForRoot(Target));
  if (allowed) {
    if (Target != Source && HasAsParent(Target, Source))
      throw ELazyTreeError("Target node cannot be a child node of the node to be moved.", 2001);
    StopCacheValidation();
    if (!ChildrenOnly) {
      UnlinkNode(Source, true, true);
      LinkNode(Source, Target, Mode);
      DoNodeMoved(Source);
    } else {
      const bool backwards = Mode == amAddChildFirst;
      PLazyNode child = backwards ? Source->LastChild() : Source->FirstChild;
      while (child) {
        PLazyNode following = backwards ? child->PrevSibling() : child->NextSibling;
        UnlinkNode(child, true, false);
        LinkNode(child, Target, Mode);
        DoNodeMoved(child);
        child = following;
      }
    }
  }
  InvalidatePositionCache();
  if (!Updating() && allowed) {
    RequestCacheValidation();
    UpdateScrollBars(true);
    Invalidate();
  }
  StructureChange(Source, crNodeMoved);
}

bool TBaseLazyTree::DoNodeMoving(PLazyNode Node, PLazyNode Target) {
  bool allowed = true;
  if (OnNodeMoving) OnNodeMoving(this, Node, Target, allowed);
  return allowed;
}

void TBaseLazyTree::DoNodeMoved(PLazyNode Node) {
  if (OnNodeMoved) OnNodeMoved(this, Node);
}

}  // namespace lazytree
