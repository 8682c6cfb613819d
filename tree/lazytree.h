#pragma once
// The lazy tree's node store: structure, counts and heights, on-demand initialisation, update brackets and
// change notification, and the walking functions. The class needs no window: what a window adds (painting,
// scroll bars, timers) is reached through the protected hooks below, which do nothing here.

#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include <QCoreApplication>

#include "tree/lazytypes.h"
#include "tree/nodearena.h"

namespace plat {
class TStream;
}

namespace lazytree {

class TBaseLazyTree;
struct TParsedNodes;

// Set once a thread is known to be the application's main thread (the check of structure edits). Initial-exec
// access: a register-relative load instead of a call to the TLS resolver on every check.
extern constinit thread_local bool tKnownMainThread [[gnu::tls_model("initial-exec")]];

// Data errors of the tree (moving a node below itself, stream format), with their help context.
class ELazyTreeError : public plat::Exception {
 public:
  ELazyTreeError(const QString& message, int helpContext) : plat::Exception(message), HelpContext(helpContext) {}
  int HelpContext;
};

struct TCustomLazyTreeOptions {
  TLTPaintOptions PaintOptions{toShowButtons, toShowDropmark, toShowRoot, toShowTreeLines, toThemeAware,
                               toUseBlendedImages};
  uint8_t AnimationOptions = 0;
  TLTAutoOptions AutoOptions{toAutoDropExpand, toAutoScrollOnExpand, toAutoSort, toAutoTristateTracking,
                             toAutoDeleteMovedNodes, toAutoChangeScale};
  TLTSelectionOptions SelectionOptions{};
  TLTMiscOptions MiscOptions{toAcceptOLEDrop, toFullRepaintOnResize, toInitOnSave, toToggleOnDblClick,
                             toWheelPanning, toEditOnClick};
  TLTExportMode ExportMode = emAll;
};

using TLTGetNodeProc = std::function<void(TBaseLazyTree* Sender, PLazyNode Node, void* Data, bool& Abort)>;

enum TVZLazyNodeEnumerationMode : uint8_t {
  vneAll, vneChecked, vneChild, vneCutCopy, vneInitialized, vneLeaf, vneLevel, vneNoInit, vneSelected,
  vneVisible, vneVisibleChild, vneVisibleNoInitChild, vneVisibleNoInit
};

struct TLTLazyNodeEnumeration;

// Forward iterator over the nodes of an enumeration; a walk that ended stays ended.
struct TLTLazyNodeEnumerator {
  PLazyNode FNode = nullptr;
  bool FCanModeNext = true;
  const TLTLazyNodeEnumeration* FEnumeration = nullptr;

  bool MoveNext();
  PLazyNode Current() const { return FNode; }

  // Range-for support: begin() steps to the first node.
  PLazyNode operator*() const { return FNode; }
  TLTLazyNodeEnumerator& operator++() { MoveNext(); return *this; }
  bool operator!=(std::nullptr_t) const { return FCanModeNext; }
};

struct TLTLazyNodeEnumeration {
  TVZLazyNodeEnumerationMode FMode = vneAll;
  TBaseLazyTree* FTree = nullptr;
  bool FConsiderChildrenAbove = false;
  PLazyNode FNode = nullptr;
  uint32_t FNodeLevel = 0;
  TCheckState FState = csCheckedNormal;
  bool FIncludeFiltered = false;

  TLTLazyNodeEnumerator GetEnumerator() const { return TLTLazyNodeEnumerator{nullptr, true, this}; }
  TLTLazyNodeEnumerator begin() const {
    TLTLazyNodeEnumerator e = GetEnumerator();
    e.MoveNext();
    return e;
  }
  std::nullptr_t end() const { return nullptr; }

  PLazyNode GetNext(PLazyNode Node) const;
};

class TBaseLazyTree {
 public:
  // Timer ids of delayed notifications.
  static constexpr int ChangeTimer = 5;
  static constexpr int StructureChangeTimer = 6;

  TBaseLazyTree();
  virtual ~TBaseLazyTree();
  TBaseLazyTree(const TBaseLazyTree&) = delete;
  TBaseLazyTree& operator=(const TBaseLazyTree&) = delete;

  virtual const char* ClassName() const { return "TBaseLazyTree"; }

  // --- Events --------------------------------------------------------------------------------------------
  std::function<void(TBaseLazyTree* Sender, PLazyNode ParentNode, PLazyNode Node,
                     TLazyNodeInitStates& InitialStates)> OnInitNode;
  std::function<void(TBaseLazyTree* Sender, PLazyNode Node, uint32_t& ChildCount)> OnInitChildren;
  std::function<void(TBaseLazyTree* Sender, PLazyNode Node)> OnFreeNode;
  std::function<void(TBaseLazyTree* Sender, int& NodeDataSize)> OnGetNodeDataSize;
  std::function<void(TBaseLazyTree* Sender, PLazyNode Node)> OnResetNode;
  std::function<void(TBaseLazyTree* Sender, PLazyNode Node)> OnChange;
  std::function<void(TBaseLazyTree* Sender, PLazyNode Node, TChangeReason Reason)> OnStructureChange;
  std::function<void(TBaseLazyTree* Sender, const TLazyTreeStates& Enter, const TLazyTreeStates& Leave)>
      OnStateChange;
  std::function<void(TBaseLazyTree* Sender, TLTUpdateState State)> OnUpdating;
  std::function<void(TBaseLazyTree* Sender, TLTOperationKind OperationKind)> OnStartOperation;
  std::function<void(TBaseLazyTree* Sender, TLTOperationKind OperationKind)> OnEndOperation;
  std::function<void(TBaseLazyTree* Sender, PLazyNode Node, PLazyNode Target, bool& Allowed)> OnNodeMoving;
  std::function<void(TBaseLazyTree* Sender, PLazyNode Node)> OnNodeMoved;
  std::function<void(TBaseLazyTree* Sender, PLazyNode Node, bool& Allowed)> OnExpanding;
  std::function<void(TBaseLazyTree* Sender, PLazyNode Node)> OnExpanded;
  std::function<void(TBaseLazyTree* Sender, PLazyNode Node, bool& Allowed)> OnCollapsing;
  std::function<void(TBaseLazyTree* Sender, PLazyNode Node)> OnCollapsed;

  // --- Options and properties ----------------------------------------------------------------------------
  TCustomLazyTreeOptions& TreeOptions() { return FOptions; }
  const TCustomLazyTreeOptions& TreeOptions() const { return FOptions; }

  int NodeDataSize() const { return FNodeDataSize; }
  void SetNodeDataSize(int Value);
  // Typed user data: every node's data area holds a value-initialised T, destroyed when the node is freed.
  template <class T>
  void SetNodeDataType();
  template <class T>
  T* GetNodeData(PLazyNode Node) {
    if (sizeof(T) > static_cast<std::size_t>(FNodeDataSize > 0 ? FNodeDataSize : 0) || alignof(T) > FDataAlign)
      throw ELazyTreeAssertion("NodeDataSize too small for the requested data type.");
    return static_cast<T*>(GetNodeData(Node));
  }

  uint32_t DefaultNodeHeight() const { return FDefaultNodeHeight; }
  void SetDefaultNodeHeight(uint32_t Value);
  uint32_t ChangeDelay() const { return FChangeDelay; }
  void SetChangeDelay(uint32_t Value) { FChangeDelay = Value; }

  TLazyTreeStates TreeStates() const { return FStates; }
  void SetTreeStates(TLazyTreeStates Value) { FStates = Value; }
  uint32_t UpdateCount() const { return FUpdateCount; }
  uint32_t VisibleCount() const { return FVisibleCount; }
  uint32_t SelectedCount() const { return FSelectionCount; }
  PLazyNode RootNode() const { return FRoot; }
  // Bytes the node blocks take (the arena's chunks), for measuring.
  std::size_t NodeStoreBytes() const { return FArena.ReservedBytes(); }
  // The part of NodeStoreBytes() mapped directly from the system rather than taken through malloc.
  std::size_t NodeStoreMappedBytes() const { return FArena.MappedBytes(); }

  // --- Structure -----------------------------------------------------------------------------------------
  virtual PLazyNode AddChild(PLazyNode Parent, void* UserData = nullptr);
  PLazyNode AddChild(PLazyNode Parent, std::shared_ptr<void> UserData);
  PLazyNode InsertNode(PLazyNode Node, TLTNodeAttachMode Mode, void* UserData = nullptr);
  void DeleteNode(PLazyNode Node) { DeleteNode(Node, true); }
  void DeleteChildren(PLazyNode Node, bool ResetHasChildren = false);
  virtual void Clear();
  void MoveTo(PLazyNode Source, PLazyNode Target, TLTNodeAttachMode Mode, bool ChildrenOnly);

  uint32_t GetChildCount(PLazyNode Node) const;
  virtual void SetChildCount(PLazyNode Node, uint32_t NewChildCount);
  uint32_t RootNodeCount() const { return FRoot->ChildCount; }
  void SetRootNodeCount(uint32_t Value);
  uint32_t TotalCount();
  bool IsEmpty() const { return FRoot->ChildCount == 0; }
  uint32_t GetNodeLevel(PLazyNode Node) const;
  PLazyNode GetNodeParent(PLazyNode Node) const;
  void SetNodeParent(PLazyNode Node, PLazyNode Value);
  bool GetHasChildren(PLazyNode Node) const;
  void SetHasChildren(PLazyNode Node, bool Value);
  bool GetChildrenInitialized(PLazyNode Node) const;
  bool GetDisabled(PLazyNode Node) const { return Node && Node->Has(vsDisabled); }
  bool GetMultiline(PLazyNode Node) const;
  void SetMultiline(PLazyNode Node, bool Value);
  void* GetNodeData(PLazyNode Node);
  void SetNodeData(PLazyNode Node, void* Value);
  void SetNodeData(PLazyNode Node, std::shared_ptr<void> Value);
  std::shared_ptr<void> GetInterfaceFromNodeData(PLazyNode Node) const;
  // Offset of a private per-node area of Size bytes; only before any node exists.
  std::size_t ReserveInternalData(std::size_t Size);
  void* GetInternalData(PLazyNode Node, std::size_t Offset);
  static TBaseLazyTree* TreeOfNode(PLazyNode Node);

  // --- Expansion, visibility and heights (structural side only; no animation or scrolling) ----------------
  virtual void ToggleNode(PLazyNode Node);
  bool GetExpanded(PLazyNode Node) const { return Node && Node->Has(vsExpanded); }
  void SetExpanded(PLazyNode Node, bool Value);
  bool GetVisible(PLazyNode Node);
  void SetVisible(PLazyNode Node, bool Value);
  bool GetVisiblePath(PLazyNode Node) const;
  bool GetFullyVisible(PLazyNode Node) const;
  bool GetFiltered(PLazyNode Node) const { return Node && Node->Has(vsFiltered); }
  void SetFiltered(PLazyNode Node, bool Value);
  bool GetEffectivelyFiltered(PLazyNode Node) const;
  bool GetEffectivelyVisible(PLazyNode Node) const;
  uint32_t GetNodeHeight(PLazyNode Node);
  void SetNodeHeight(PLazyNode Node, uint32_t Value);
  void SetFullyVisible(PLazyNode Node, bool Value);
  void SetVisiblePath(PLazyNode Node, bool Value);
  void SetDisabled(PLazyNode Node, bool Value);
  uint8_t GetVerticalAlignment(PLazyNode Node) const { return Node ? Node->Align : 0; }
  void SetVerticalAlignment(PLazyNode Node, uint8_t Value);
  // Whole tree (nil) or one subtree, inside one update bracket.
  virtual void FullExpand(PLazyNode Node = nullptr);
  virtual void FullCollapse(PLazyNode Node = nullptr);
  bool HasVisibleNextSibling(PLazyNode Node) const;
  bool HasVisiblePreviousSibling(PLazyNode Node) const;
  bool IsFirstVisibleChild(PLazyNode Parent, PLazyNode Node) const;
  bool IsLastVisibleChild(PLazyNode Parent, PLazyNode Node) const;

  // --- Selection (treeselection.cpp) ---------------------------------------------------------------------
  // The selected nodes are kept in an array ordered by node address, so that membership and inserts are
  // binary searches; bulk changes flag removed entries and pack once, then merge the added nodes in one go.
  std::function<void(TBaseLazyTree* Sender, PLazyNode Node)> OnAddToSelection;
  std::function<void(TBaseLazyTree* Sender, PLazyNode Node)> OnRemoveFromSelection;
  virtual void AddToSelection(PLazyNode Node);
  virtual void AddToSelection(const PLazyNode* NewItems, int NewLength, bool ForceInsert = false);
  virtual void AddRangeToSelection(PLazyNode StartNode, PLazyNode EndNode, bool AddOnly);
  bool SelectionLocked() const { return FSelectionLocked; }
  void SetSelectionLocked(bool Value) { FSelectionLocked = Value; }
  virtual void RemoveFromSelection(PLazyNode Node);
  void ClearSelection() { ClearSelectionCore(true); }
  // Clears with or without the change notification (a click clears without and notifies itself).
  virtual void ClearSelectionCore(bool Notify);
  bool Selected(PLazyNode Node) const { return Node && Node->Has(vsSelected); }
  void SetSelected(PLazyNode Node, bool Value);
  // Selects every node not yet selected: the visible ones, or all of them (initialising them).
  void SelectAll(bool VisibleOnly);
  void InvertSelection(bool VisibleOnly);
  // The selected nodes in tree order; with Resolve only the topmost (no node below a selected one).
  std::vector<PLazyNode> GetSortedSelection(bool Resolve);
  // The keyboard's Shift ranges: the range from the anchor to EndNode ends up selected, nodes passed back
  // over towards the anchor are deselected. Start is the node focused before the key.
  virtual void ToggleSelectionRange(PLazyNode StartNode, PLazyNode EndNode);
  virtual void RemoveSelectionRange(PLazyNode StartNode, PLazyNode EndNode);
  // The fixed end of Shift ranges, and the level toLevelSelectConstraint keeps (-1: none).
  PLazyNode RangeAnchor() const { return FRangeAnchor; }
  void SetRangeAnchor(PLazyNode Node) { FRangeAnchor = NilForRoot(Node); }
  int LastSelectionLevel() const { return FLastSelectionLevel; }
  void SetLastSelectionLevel(int Level) { FLastSelectionLevel = Level; }
  // The node remembered for toAlwaysSelectNode.
  PLazyNode NextNodeToSelect() const { return FNextNodeToSelect; }
  // With toAlwaysSelectNode: selects a node when none is (the window version also focuses and shows it).
  virtual void EnsureNodeSelected() {}

  // --- Sorting -------------------------------------------------------------------------------------------
  // Negative: Node1 first; positive: Node2 first; 0 keeps their order. Node1 is the one that stood earlier.
  std::function<void(TBaseLazyTree* Sender, PLazyNode Node1, PLazyNode Node2, TColumnIndex Column, int& Result)>
      OnCompareNodes;
  // Sorts the children of Node (nil: the top-level nodes), stable in both directions.
  virtual void Sort(PLazyNode Node, TColumnIndex Column, TSortDirection Direction, bool DoInit = true);
  virtual void SortTree(TColumnIndex Column, TSortDirection Direction, bool DoInit = true);
  virtual int DoCompareNodes(PLazyNode Node1, PLazyNode Node2, TColumnIndex Column);
  // Orders the slots Low..High by node address, ascending.
  static void SortNodeArray(PLazyNode* Array, int Low, int High);

  // --- Check controls ------------------------------------------------------------------------------------
  std::function<void(TBaseLazyTree* Sender, PLazyNode Node, TCheckState& NewState, bool& Allowed)> OnChecking;
  std::function<void(TBaseLazyTree* Sender, PLazyNode Node)> OnChecked;
  TCheckState GetCheckState(PLazyNode Node) const;
  // Asks OnChecking, stores the state and propagates it (tri-state parents and children, radio siblings).
  void SetCheckState(PLazyNode Node, TCheckState Value);
  TCheckType GetCheckType(PLazyNode Node) const;
  void SetCheckType(PLazyNode Node, TCheckType Value);
  // Nodes exactly in csCheckedNormal.
  int CheckedCount();
  void ClearChecked();
  void SetCheckStateForAll(TCheckState aCheckState, bool pSelectedOnly, bool pExcludeDisabled);
  virtual TCheckState NextCheckState(TCheckType Type, TCheckState State) const;

  // --- Initialisation ------------------------------------------------------------------------------------
  void ValidateNode(PLazyNode Node, bool Recursive);
  void ValidateChildren(PLazyNode Node, bool Recursive);
  void InitRecursive(PLazyNode Node, uint32_t Levels = UINT32_MAX, bool VisibleOnly = true);
  virtual void ReinitNode(PLazyNode Node, bool Recursive);
  virtual void ReinitChildren(PLazyNode Node, bool Recursive);
  virtual void ResetNode(PLazyNode Node);

  // --- Update brackets and notifications -----------------------------------------------------------------
  virtual void BeginUpdate();
  virtual void EndUpdate();
  void BeginSynch();
  void EndSynch();
  void CancelOperation();
  bool OperationCanceled() const { return FOperationCanceled && FOperationCount > 0; }
  uint32_t OperationCount() const { return FOperationCount; }
  void StartOperation(TLTOperationKind Kind);
  void EndOperation(TLTOperationKind Kind);
  virtual void DoStateChange(TLazyTreeStates Enter, TLazyTreeStates Leave = {});
  virtual void Change(PLazyNode Node);
  virtual void StructureChange(PLazyNode Node, TChangeReason Reason);
  void InvalidatePositionCache() {
    if (FStates.Has(tsValidationNeeded) && !FStates.Has(tsUseCache)) return;  // nothing would change
    DoStateChange({tsValidationNeeded}, {tsUseCache});
  }
  virtual void UpdateAllHiddenFlags();
  // Delivers a delayed notification when its timer fires (called by the window's timer handling).
  void TimerFired(int TimerId);
  virtual void ClearTempNodes();
  virtual void AddTempNode(PLazyNode Node);
  const std::vector<PLazyNode>& TempNodes() const { return FTempNodes; }

  // --- Navigation ----------------------------------------------------------------------------------------
  PLazyNode GetFirst(bool ConsiderChildrenAbove = false);
  PLazyNode GetFirstNoInit(bool ConsiderChildrenAbove = false) const;
  PLazyNode GetLast(PLazyNode Node = nullptr, bool ConsiderChildrenAbove = false);
  PLazyNode GetLastNoInit(PLazyNode Node = nullptr, bool ConsiderChildrenAbove = false) const;
  PLazyNode GetFirstChild(PLazyNode Node);
  PLazyNode GetLastChild(PLazyNode Node);
  PLazyNode GetFirstChildNoInit(PLazyNode Node) const;
  PLazyNode GetLastChildNoInit(PLazyNode Node) const;
  PLazyNode GetNext(PLazyNode Node, bool ConsiderChildrenAbove = false);
  PLazyNode GetNextNoInit(PLazyNode Node, bool ConsiderChildrenAbove = false) const;
  PLazyNode GetPrevious(PLazyNode Node, bool ConsiderChildrenAbove = false);
  PLazyNode GetPreviousNoInit(PLazyNode Node, bool ConsiderChildrenAbove = false) const;
  PLazyNode GetNextSibling(PLazyNode Node);
  PLazyNode GetPreviousSibling(PLazyNode Node);
  PLazyNode GetNextSiblingNoInit(PLazyNode Node) const;
  PLazyNode GetPreviousSiblingNoInit(PLazyNode Node) const;
  PLazyNode GetFirstChecked(TCheckState State = csCheckedNormal, bool ConsiderChildrenAbove = false);
  PLazyNode GetNextChecked(PLazyNode Node, TCheckState State = csCheckedNormal, bool ConsiderChildrenAbove = false);
  PLazyNode GetNextChecked(PLazyNode Node, bool ConsiderChildrenAbove);
  PLazyNode GetPreviousChecked(PLazyNode Node, TCheckState State = csCheckedNormal,
                               bool ConsiderChildrenAbove = false);
  PLazyNode GetFirstInitialized(bool ConsiderChildrenAbove = false) const;
  PLazyNode GetNextInitialized(PLazyNode Node, bool ConsiderChildrenAbove = false) const;
  PLazyNode GetPreviousInitialized(PLazyNode Node, bool ConsiderChildrenAbove = false) const;
  PLazyNode GetLastInitialized(PLazyNode Node = nullptr, bool ConsiderChildrenAbove = false) const;
  PLazyNode GetFirstLeaf();
  PLazyNode GetNextLeaf(PLazyNode Node);
  PLazyNode GetPreviousLeaf(PLazyNode Node);
  PLazyNode GetFirstLevel(uint32_t NodeLevel);
  PLazyNode GetNextLevel(PLazyNode Node, uint32_t NodeLevel);
  PLazyNode GetPreviousLevel(PLazyNode Node, uint32_t NodeLevel);
  PLazyNode GetFirstSelected(bool ConsiderChildrenAbove = false);
  PLazyNode GetNextSelected(PLazyNode Node, bool ConsiderChildrenAbove = false);
  PLazyNode GetPreviousSelected(PLazyNode Node, bool ConsiderChildrenAbove = false);
  PLazyNode GetFirstVisible(PLazyNode Node = nullptr, bool ConsiderChildrenAbove = true,
                            bool IncludeFiltered = false);
  PLazyNode GetFirstVisibleNoInit(PLazyNode Node = nullptr, bool ConsiderChildrenAbove = true,
                                  bool IncludeFiltered = false) const;
  PLazyNode GetNextVisible(PLazyNode Node, bool ConsiderChildrenAbove = true);
  PLazyNode GetNextVisibleNoInit(PLazyNode Node, bool ConsiderChildrenAbove = true) const;
  PLazyNode GetPreviousVisible(PLazyNode Node, bool ConsiderChildrenAbove = true);
  PLazyNode GetPreviousVisibleNoInit(PLazyNode Node, bool ConsiderChildrenAbove = true) const;
  PLazyNode GetLastVisible(PLazyNode Node = nullptr, bool ConsiderChildrenAbove = true,
                           bool IncludeFiltered = false);
  PLazyNode GetLastVisibleNoInit(PLazyNode Node = nullptr, bool ConsiderChildrenAbove = true,
                                 bool IncludeFiltered = false) const;
  PLazyNode GetFirstVisibleChild(PLazyNode Node = nullptr, bool IncludeFiltered = false);
  PLazyNode GetFirstVisibleChildNoInit(PLazyNode Node = nullptr, bool IncludeFiltered = false) const;
  PLazyNode GetLastVisibleChild(PLazyNode Node = nullptr, bool IncludeFiltered = false);
  PLazyNode GetLastVisibleChildNoInit(PLazyNode Node = nullptr, bool IncludeFiltered = false) const;
  PLazyNode GetNextVisibleSibling(PLazyNode Node, bool IncludeFiltered = false);
  PLazyNode GetNextVisibleSiblingNoInit(PLazyNode Node, bool IncludeFiltered = false) const;
  PLazyNode GetPreviousVisibleSibling(PLazyNode Node, bool IncludeFiltered = false);
  PLazyNode GetPreviousVisibleSiblingNoInit(PLazyNode Node, bool IncludeFiltered = false) const;
  PLazyNode GetVisibleParent(PLazyNode Node, bool IncludeFiltered = false) const;
  bool HasAsParent(PLazyNode Node, PLazyNode PotentialParent) const;
  uint32_t AbsoluteIndex(PLazyNode Node);
  PLazyNode IterateSubtree(PLazyNode Node, const TLTGetNodeProc& Callback, void* Data,
                           TLazyNodeStates Filter = {}, bool DoInit = false, bool ChildNodesOnly = false);
  int CompareDisplayOrder(PLazyNode Node1, PLazyNode Node2, bool ConsiderChildrenAbove = true) const;
  virtual int LevelDifference(PLazyNode Node1, PLazyNode Node2) const;
  virtual int ComputeLineImage(PLazyNode Node, std::vector<TLTLineType>& LineImage) const;

  TLTLazyNodeEnumeration Nodes(bool ConsiderChildrenAbove = false);
  TLTLazyNodeEnumeration CheckedNodes(TCheckState State = csCheckedNormal, bool ConsiderChildrenAbove = false);
  TLTLazyNodeEnumeration ChildNodes(PLazyNode Node);
  TLTLazyNodeEnumeration InitializedNodes(bool ConsiderChildrenAbove = false);
  TLTLazyNodeEnumeration LeafNodes();
  TLTLazyNodeEnumeration LevelNodes(uint32_t NodeLevel);
  TLTLazyNodeEnumeration NoInitNodes(bool ConsiderChildrenAbove = false);
  TLTLazyNodeEnumeration SelectedNodes(bool ConsiderChildrenAbove = false);
  TLTLazyNodeEnumeration VisibleNodes(PLazyNode Node = nullptr, bool ConsiderChildrenAbove = true,
                                      bool IncludeFiltered = false);
  TLTLazyNodeEnumeration VisibleChildNodes(PLazyNode Node = nullptr, bool IncludeFiltered = false);
  TLTLazyNodeEnumeration VisibleChildNoInitNodes(PLazyNode Node = nullptr, bool IncludeFiltered = false);
  TLTLazyNodeEnumeration VisibleNoInitNodes(PLazyNode Node = nullptr, bool ConsiderChildrenAbove = true,
                                            bool IncludeFiltered = false);

  // --- Streams, copying and moving nodes (treestream.cpp, treetransfer.cpp) ------------------------------
  // The application's own data per node (Node nil for the root) and per tree.
  std::function<void(TBaseLazyTree* Sender, PLazyNode Node, plat::TStream& Stream)> OnSaveNode;
  std::function<void(TBaseLazyTree* Sender, PLazyNode Node, plat::TStream& Stream)> OnLoadNode;
  std::function<void(TBaseLazyTree* Sender, plat::TStream& Stream)> OnSaveTree;
  std::function<void(TBaseLazyTree* Sender, plat::TStream& Stream)> OnLoadTree;
  std::function<void(TBaseLazyTree* Sender, PLazyNode Node, PLazyNode Target, bool& Allowed)> OnNodeCopying;
  std::function<void(TBaseLazyTree* Sender, PLazyNode Node)> OnNodeCopied;
  // A tree stream of Node (count 1) or of every top-level node.
  virtual void SaveToStream(plat::TStream& Stream, PLazyNode Node = nullptr);
  // Written whole through a temporary file; plat::EFCreateError when the file cannot be written.
  void SaveToFile(const QString& FileName);
  // Replaces the nodes by the stream's. The whole stream is checked first: a stream that is refused
  // (ELazyTreeError with its help context) leaves the tree as it was.
  virtual void LoadFromStream(plat::TStream& Stream);
  virtual void LoadFromFile(const QString& FileName);
  // Appends the stream's nodes as last children of TargetNode (nil or the root: top level); all or nothing.
  void AddFromStream(plat::TStream& Stream, PLazyNode TargetNode);
  PLazyNode CopyTo(PLazyNode Source, TBaseLazyTree* Tree, TLTNodeAttachMode Mode, bool ChildrenOnly);
  PLazyNode CopyTo(PLazyNode Source, PLazyNode Target, TLTNodeAttachMode Mode, bool ChildrenOnly);
  void MoveTo(PLazyNode Source, TBaseLazyTree* Tree, TLTNodeAttachMode Mode, bool ChildrenOnly);
  // The node chunks of Nodes one after the other, without header and count (the transfer data).
  QByteArray WriteTransferNodes(const std::vector<PLazyNode>& Nodes);
  // Makes one node per top-level chunk of Data (transfer data), each linked at Target with Mode (amInsertAfter
  // moves on behind the node just made) and offered to Source's OnNodeCopying; Reason goes to each accepted
  // node's structure change. Data is checked whole first: refused data adds nothing. True when data was read.
  bool InsertTransferNodes(const QByteArray& Data, TBaseLazyTree* Source, PLazyNode Target, TLTNodeAttachMode Mode,
                           TChangeReason Reason);

  // --- The cut or copy set and deleting the selection (treetransfer.cpp) -----------------------------------
  // Walks over the nodes flagged for a pending cut or copy (nil when none is pending); a node found is
  // initialised.
  PLazyNode GetFirstCutCopy(bool ConsiderChildrenAbove = false);
  PLazyNode GetNextCutCopy(PLazyNode Node, bool ConsiderChildrenAbove = false);
  PLazyNode GetPreviousCutCopy(PLazyNode Node, bool ConsiderChildrenAbove = false);
  int CutCopyCount();
  TLTLazyNodeEnumeration CutCopyNodes(bool ConsiderChildrenAbove = false);
  // Flagged nodes in tree order; with Resolve, flagged nodes below a flagged node are left out.
  std::vector<PLazyNode> GetSortedCutCopySet(bool Resolve);
  // Ends a pending cut or copy: every node loses its flag.
  void CancelCutOrCopy();
  // A pending cut ends by removing the flagged nodes (their subtrees go with them).
  void FinishCutOrCopy();
  virtual void DeleteSelectedNodes();

  // Public for the walking functions of other classes; initialise a node or create its children.
  virtual void InitNode(PLazyNode Node);
  virtual void InitChildren(PLazyNode Node);

 protected:
  // --- Hooks for the window side (nothing to do without a window) ----------------------------------------
  virtual bool HandleAllocated() const { return false; }
  virtual bool IsDestroying() const { return FDestroying; }
  virtual void StartTimer(int /*TimerId*/, uint32_t /*Milliseconds*/) {}
  virtual void StopTimer(int /*TimerId*/) {}
  virtual void SuspendRedraw() {}
  virtual void ResumeRedraw() {}
  virtual void Invalidate() {}
  virtual void InvalidateNode(PLazyNode /*Node*/) {}
  virtual void InvalidateToBottom(PLazyNode /*Node*/) {}
  virtual void UpdateScrollBars(bool /*DoRepaint*/) {}
  virtual void UpdateVerticalRange() {}
  // Ends a running in-place edit without taking its text; false when the editor refuses.
  virtual bool CancelEditNode() { return true; }
  virtual void CancelHint() {}
  // Empties the clipboard when it still holds this tree's cut or copied nodes.
  virtual void ReleaseClipboardContent() {}
  virtual void StopCacheValidation() {}
  virtual void RequestCacheValidation() {}
  virtual void MeasureItemHeight(PLazyNode Node);
  // Shows a toggle before the model changes (HeightDelta: the rows that appear, or minus those that go).
  virtual void AnimateToggle(PLazyNode /*Node*/, bool /*Expanding*/, int64_t /*HeightDelta*/) {}
  // Sorting by the header's sort column; -2 means nothing is sorted.
  virtual TColumnIndex SortColumn() const { return -2; }
  virtual TSortDirection SortDirection() const { return sdAscending; }
  // Ends a running in-place edit before the rows move; false when the editor refuses.
  virtual bool EndEditForSort() { return true; }
  virtual void StopEditTimer() {}

  // --- Check controls --------------------------------------------------------------------------------------
  virtual bool DoChecking(PLazyNode Node, TCheckState& NewState);
  virtual void DoSetCheckState(PLazyNode Node, TCheckState NewState);
  virtual void DoChecked(PLazyNode Node);
  virtual bool DeriveParentCheckState(PLazyNode Node, TCheckState NewState);
  // True when the state was stored and the change went on as far as it was allowed.
  bool PropagateCheckState(PLazyNode Node, TCheckState Value);
  TCheckState PropagateDown(PLazyNode Node, TCheckState Value);
  // Around long bulk work (a window shows the busy cursor).
  virtual void BeginLongWork() {}
  virtual void EndLongWork() {}
  uint32_t FCheckPropagationDepth = 0;

  // --- Dispatchers ---------------------------------------------------------------------------------------
  virtual void DoInitNode(PLazyNode Parent, PLazyNode Node, TLazyNodeInitStates& InitStates);
  virtual bool DoInitChildren(PLazyNode Node, uint32_t& ChildCount);
  virtual void DoFreeNode(PLazyNode Node);
  virtual int DoGetNodeDataSize();
  virtual void DoResetNode(PLazyNode Node);
  virtual void DoChange(PLazyNode Node);
  virtual void DoStructureChange(PLazyNode Node, TChangeReason Reason);
  virtual void DoUpdating(TLTUpdateState State);
  virtual bool DoExpanding(PLazyNode Node);
  virtual void DoExpanded(PLazyNode Node);
  virtual bool DoCollapsing(PLazyNode Node);
  virtual void DoCollapsed(PLazyNode Node);
  virtual bool DoNodeMoving(PLazyNode Node, PLazyNode Target);
  virtual void DoNodeMoved(PLazyNode Node);

  // Every selected node that is not disabled joins the cut or copy set.
  void FlagCutCopyNodes();
  // --- Streams --------------------------------------------------------------------------------------------
  // The whole node chunk of Node with its subtree (walked without recursion).
  virtual void WriteNodeChunk(plat::TStream& Stream, PLazyNode Node);
  // The chunks of Node that follow its base chunk: the user data (the string tree adds its caption).
  virtual void WriteNodeBody(plat::TStream& Stream, PLazyNode Node);
  // An inner chunk other than the base chunk, positioned at its body; true when it was taken.
  virtual bool ReadInnerChunk(plat::TStream& Stream, int Version, int ChunkSize, int ChunkType, PLazyNode Node);
  virtual void DoSaveNode(PLazyNode Node, plat::TStream& Stream);
  virtual void DoLoadNode(PLazyNode Node, plat::TStream& Stream);
  virtual bool DoNodeCopying(PLazyNode Node, PLazyNode Target);
  virtual void DoNodeCopied(PLazyNode Node);
  // Builds the subtree of the top-level record Top of Parsed, links it at Destination with Mode and reads its
  // user data and captions from Data (Base: offset of the parsed bytes in Data).
  PLazyNode LoadParsedNode(const TParsedNodes& Parsed, std::size_t Top, int Version, plat::TStream& Data,
                           int64_t Base, PLazyNode Destination, TLTNodeAttachMode Mode);
  // Every top-level node of Parsed as last child of Destination, all or none.
  void LoadParsedNodes(const TParsedNodes& Parsed, int Version, plat::TStream& Data, PLazyNode Destination);
  // Moves Source (or its children) into another tree through the stream.
  void MoveToTree(PLazyNode Source, PLazyNode Target, TLTNodeAttachMode Mode, bool ChildrenOnly);

  // --- Store internals -----------------------------------------------------------------------------------
  PLazyNode MakeNewNode();
  // A new unlinked node block with the defaults (MakeNewNode for other files).
  PLazyNode AllocateNode();
  void SettleNodeDataSize();
  void ConstructNodeData(void* Block);
  void NoteChange(bool Structure, PLazyNode Node, TChangeReason Reason);
  void DeleteNode(PLazyNode Node, bool Reindex);
  void RemoveNode(PLazyNode Node, bool Reindex);
  void LinkNode(PLazyNode Node, PLazyNode Destination, TLTNodeAttachMode Mode);
  void UnlinkNode(PLazyNode Node, bool KeepFocus, bool Reindex);
  void AdjustTotalCount(PLazyNode Node, int64_t Value, bool Relative = false) {
    const int64_t diff = Relative ? Value : Value - static_cast<int64_t>(Node->TotalCount);
    if (diff == 0) return;
    for (PLazyNode n = Node; n; n = n->Parent) n->TotalCount = static_cast<uint32_t>(n->TotalCount + diff);
  }
  void AdjustTotalHeight(PLazyNode Node, int64_t Value, bool Relative = false);
  virtual uint32_t CountVisibleChildren(PLazyNode Node) const;
  // After toShowFilteredNodes changed to Show: every filtered node's row counts again, or no longer.
  void ApplyShowFilteredNodes(bool Show);
  virtual void UpdateAllChildrenHiddenFlag(PLazyNode Node);
  virtual void ChooseNextNodeToSelect(PLazyNode Node);
  // The store's own additions and removals (initialisation, deletion): no change notification, and a
  // deleted node fires no removal event.
  void InternalAddToSelection(PLazyNode Node);
  void InternalRemoveFromSelection(PLazyNode Node);
  // --- Selection storage (treeselection.cpp) ---
  // Binary search between Low and High (whole array for negative values): whether Node is there, and the
  // index where it is or would be inserted.
  virtual bool LocateInSelection(PLazyNode Node, int& Index, int Low = -1, int High = -1);
  // Takes the items that pass the constraints (all of them with ForceInsert), firing OnAddToSelection for each
  // as it is flagged, and merges them into the array; false when none was taken.
  bool InternalAddToSelection(const PLazyNode* NewItems, int NewLength, bool ForceInsert);
  // Unflags the node and marks its entry removed (packed later); fires OnRemoveFromSelection.
  virtual void WithdrawFromSelection(PLazyNode Node);
  // Drops the entries marked removed; the number kept, -1 for an empty array.
  int PackSelection();
  // Unselects everything without notification and resets the anchor.
  virtual void EmptySelection();
  virtual void ResetRangeAnchor();
  virtual void DoAddToSelection(PLazyNode Node);
  virtual void DoRemoveFromSelection(PLazyNode Node);
  // Normalises the start of a range: a node that is not fully visible becomes its previous visible node,
  // nil (or no such node) the first visible node.
  PLazyNode RangeStart(PLazyNode StartNode);
  // The ends of a toggled or removed range (nil: the root's first child); false when there is nothing to walk.
  bool ToggleRangeEnds(PLazyNode& StartNode, PLazyNode& EndNode);
  // A node may be focused by the selection (the only selected node, a single-select choice).
  virtual void FocusBySelection(PLazyNode Node) { FFocusedNode = Node; }
  // A node was selected by the Selected property: the window makes sure a column is focused.
  virtual void SelectionFocusesColumn() {}
  void RequireNotRoot(PLazyNode Node) const;
  // Structure edits are refused while nodes are being deleted or a subtree is iterated.
  void CheckStructureEditAllowed() const {
    if (FDeletingCount > 0) RefuseEditWhileDeleting();
  }
  [[noreturn]] static void RefuseEditWhileDeleting();
  // Node: the node whose subtree goes (nil: every node).
  void CheckDeleteAllowed(PLazyNode Node, bool WithNode) const;
  // Asked on every structure edit, so the known answer is a test of one per-thread flag; without an
  // application there is no main thread to hold to.
  void AssertMainThread() const {
    if (!tKnownMainThread && QCoreApplication::instance()) AssertMainThreadSlow();
  }
  // With an application: passes on its thread (remembered for this thread), raises on any other.
  void AssertMainThreadSlow() const;
  bool ReadOnly() const { return FOptions.MiscOptions.Has(toReadOnly); }
  bool Updating() const { return FUpdateCount > 0; }
  bool ShowFilteredNodes() const { return FOptions.PaintOptions.Has(toShowFilteredNodes); }
  bool ChildrenAboveOrder(bool ConsiderChildrenAbove) const {
    return ConsiderChildrenAbove && FOptions.PaintOptions.Has(toChildrenAbove);
  }
  bool AutoSortWanted() const { return FOptions.AutoOptions.Has(toAutoSort) && SortColumn() >= NoColumn; }
  PLazyNode NilForRoot(PLazyNode Node) const { return Node == FRoot ? nullptr : Node; }
  // Calls an event handler; during a deletion a failure is kept and raised once the tree is consistent.
  template <class F>
  void FireSafely(F&& Call) {
    if (FDeletingCount == 0) {
      Call();
      return;
    }
    try {
      Call();
    } catch (...) {
      if (!FDeferredError) FDeferredError = std::current_exception();
    }
  }

  bool FDestroying = false;
  PLazyNode FFocusedNode = nullptr;
  PLazyNode FRangeAnchor = nullptr;
  PLazyNode FHotNode = nullptr;
  PLazyNode FDropTargetNode = nullptr;
  PLazyNode FLastSelected = nullptr;
  PLazyNode FNextNodeToSelect = nullptr;

 private:
  struct TRootBlock;
  class TDeletionGuard;
  friend class TDeletionGuard;

  template <class T>
  static void ConstructData(void* p);
  template <class T>
  static void DestroyData(void* p);
  void ChangeDataLayout(int Size, std::size_t Align, void (*Construct)(void*), void (*Destroy)(void*));
  void ReleaseNodeBlock(PLazyNode Node);
  void DeleteSubtreeChildren(PLazyNode Node);
  void ReconfigureArena();
  void CheckRoomForUserData();
  std::size_t UserDataOffset() const;
  std::size_t AlignedDataSize() const;
  PLazyNode GetNextNoInitNormal(PLazyNode Node) const;
  PLazyNode DeepestFirstNoInit(PLazyNode Node) const;
  PLazyNode SubtreePredecessor(PLazyNode Node) const;

  TCustomLazyTreeOptions FOptions;
  TNodeArena FArena;
  TRootBlock* FRootBlock = nullptr;
  PLazyNode FRoot = nullptr;
  int FNodeDataSize = -1;
  std::size_t FDataAlign = alignof(void*);
  std::size_t FUserDataOffset = sizeof(TLazyNode);
  void (*FDataConstruct)(void*) = nullptr;
  void (*FDataDestroy)(void*) = nullptr;
  std::size_t FInternalDataSize = 0;
  uint32_t FDefaultNodeHeight = 18;
  uint32_t FChangeDelay = 0;
  TLazyTreeStates FStates;
  uint32_t FUpdateCount = 0;
  uint32_t FSynchUpdateCount = 0;
  uint32_t FVisibleCount = 0;
  uint32_t FSelectionCount = 0;
  bool FSelectionLocked = false;
  // Node addresses, ascending; an entry with bit 0 set was removed and waits for the next pack (node blocks
  // are aligned, so a real entry never has it). FSelectionCount counts the entries without it.
  std::vector<std::uintptr_t> FSelection;
  uint32_t FSelectionRemoved = 0;
  int FLastSelectionLevel = -1;
  PLazyNode FLastChangedNode = nullptr;
  PLazyNode FLastStructureChangeNode = nullptr;
  TChangeReason FLastStructureChangeReason = crIgnore;
  uint32_t FOperationCount = 0;
  bool FOperationCanceled = false;
  uint32_t FDeletingCount = 0;
  std::exception_ptr FDeferredError;
  std::vector<PLazyNode> FTempNodes;
  std::vector<PLazyNode> FInitializing;  // nodes whose OnInitNode runs, innermost last
};

template <class T>
void TBaseLazyTree::ConstructData(void* p) {
  ::new (p) T();
}

template <class T>
void TBaseLazyTree::DestroyData(void* p) {
  static_cast<T*>(p)->~T();
}

template <class T>
void TBaseLazyTree::SetNodeDataType() {
  static_assert(alignof(T) <= 64, "over-aligned node data");
  void (*construct)(void*) = std::is_trivial_v<T> ? nullptr : &ConstructData<T>;
  void (*destroy)(void*) = std::is_trivially_destructible_v<T> ? nullptr : &DestroyData<T>;
  ChangeDataLayout(static_cast<int>(sizeof(T)), alignof(T) > alignof(void*) ? alignof(T) : alignof(void*),
                   construct, destroy);
}

}  // namespace lazytree
