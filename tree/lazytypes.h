#pragma once
// Node record, state sets and the small enumerations of the lazy tree.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "platform/rtl/exceptions.h"

namespace lazytree {

// A set over an enumeration with at most the bit count of Bits members; bit n is member n.
template <class E, class Bits>
class TEnumSet {
 public:
  constexpr TEnumSet() = default;
  constexpr TEnumSet(std::initializer_list<E> members) {
    for (E m : members) bits_ |= Bit(m);
  }
  static constexpr TEnumSet FromBits(Bits b) { TEnumSet s; s.bits_ = b; return s; }
  constexpr Bits ToBits() const { return bits_; }
  constexpr bool Has(E m) const { return (bits_ & Bit(m)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr void Include(E m) { bits_ |= Bit(m); }
  constexpr void Exclude(E m) { bits_ &= static_cast<Bits>(~Bit(m)); }
  constexpr TEnumSet operator+(TEnumSet o) const { return FromBits(bits_ | o.bits_); }
  constexpr TEnumSet operator-(TEnumSet o) const { return FromBits(bits_ & static_cast<Bits>(~o.bits_)); }
  constexpr TEnumSet operator*(TEnumSet o) const { return FromBits(bits_ & o.bits_); }
  constexpr TEnumSet& operator+=(TEnumSet o) { bits_ |= o.bits_; return *this; }
  constexpr TEnumSet& operator-=(TEnumSet o) { bits_ &= static_cast<Bits>(~o.bits_); return *this; }
  // True when every member of Sub is in this set.
  constexpr bool Contains(TEnumSet sub) const { return (bits_ & sub.bits_) == sub.bits_; }
  constexpr bool operator==(const TEnumSet&) const = default;

 private:
  static constexpr Bits Bit(E m) { return static_cast<Bits>(Bits(1) << static_cast<unsigned>(m)); }
  Bits bits_ = 0;
};

enum TLazyNodeState : uint8_t {
  vsInitialized, vsChecking, vsCutOrCopy, vsDisabled, vsDeleting, vsExpanded, vsHasChildren, vsVisible,
  vsSelected, vsOnFreeNodeCallRequired, vsAllChildrenHidden, vsReleaseCallOnUserDataRequired, vsMultiline,
  vsHeightMeasured, vsToggling, vsFiltered, vsInitializing
};
using TLazyNodeStates = TEnumSet<TLazyNodeState, uint32_t>;

enum TLazyNodeInitState : uint8_t {
  ivsDisabled, ivsExpanded, ivsHasChildren, ivsMultiline, ivsSelected, ivsFiltered, ivsReInit
};
using TLazyNodeInitStates = TEnumSet<TLazyNodeInitState, uint8_t>;

enum TCheckType : uint8_t { ctNone, ctTriStateCheckBox, ctCheckBox, ctRadioButton, ctButton };

enum TCheckState : uint8_t {
  csUncheckedNormal, csUncheckedPressed, csCheckedNormal, csCheckedPressed, csMixedNormal, csMixedPressed,
  csUncheckedDisabled, csCheckedDisabled, csMixedDisabled
};

enum TChangeReason : uint8_t {
  crIgnore, crAccumulated, crChildAdded, crChildDeleted, crNodeAdded, crNodeCopied, crNodeMoved
};

enum TLTNodeAttachMode : uint8_t { amNoWhere, amInsertBefore, amInsertAfter, amAddChildFirst, amAddChildLast };

enum TLTUpdateState : uint8_t { usBegin, usBeginSynch, usSynch, usEnd, usEndSynch, usUpdate };

enum TLTOperationKind : uint8_t { okAutoFitColumns, okGetMaxColumnWidth, okSortNode, okSortTree, okExport, okExpand };

enum TSortDirection : uint8_t { sdAscending, sdDescending };
// Which nodes the HTML, RTF and custom exports take.
enum TLTExportMode : uint8_t { emAll, emChecked, emUnchecked, emVisibleDueToExpansion, emSelected };

using TColumnIndex = int;
constexpr TColumnIndex NoColumn = -1;
constexpr TColumnIndex ColumnNotFound = -2;

enum TLazyTreeState : uint8_t {
  tsCancelHintAnimation, tsChangePending, tsCheckPropagation, tsCollapsing, tsToggleFocusedSelection,
  tsClearPending, tsClipboardFlushing, tsCopyPending, tsCutPending, tsDrawSelPending, tsDrawSelecting, tsEditing,
  tsEditPending, tsExpanding, tsNodeHeightTracking, tsNodeHeightTrackPending, tsHint, tsInAnimation,
  tsIncrementalSearching, tsIncrementalSearchPending, tsIterating, tsKeyCheckPending, tsLeftButtonDown,
  tsLeftDblClick, tsMouseCheckPending, tsMiddleButtonDown, tsMiddleDblClick, tsNeedRootCountUpdate,
  tsOLEDragging, tsOLEDragPending, tsPainting, tsRightButtonDown, tsRightDblClick, tsPopupMenuShown, tsScrolling,
  tsScrollPending, tsSizing, tsStopValidation, tsStructureChangePending, tsSynchMode, tsThumbTracking,
  tsToggling, tsUpdateHiddenChildrenNeeded, tsUpdating, tsUseCache, tsUserDragObject, tsUseThemes,
  tsValidating, tsPreviouslySelectedLocked, tsValidationNeeded, tsVCLDragging, tsVCLDragPending,
  tsVCLDragFinished, tsWheelPanning, tsWheelScrolling, tsWindowCreating, tsUseExplorerTheme
};
using TLazyTreeStates = TEnumSet<TLazyTreeState, uint64_t>;

enum TLTPaintOption : uint8_t {
  toHideFocusRect, toHideSelection, toHotTrack, toPopupMode, toShowBackground, toShowButtons, toShowDropmark,
  toShowHorzGridLines, toShowRoot, toShowTreeLines, toShowVertGridLines, toThemeAware, toUseBlendedImages,
  toGhostedIfUnfocused, toFullVertGridLines, toAlwaysHideSelection, toUseBlendedSelection, toStaticBackground,
  toChildrenAbove, toFixedIndent, toUseExplorerTheme, toHideTreeLinesIfThemed, toShowFilteredNodes
};
using TLTPaintOptions = TEnumSet<TLTPaintOption, uint32_t>;

enum TLTAnimationOption : uint8_t { toAnimatedToggle, toAdvancedAnimatedToggle };

enum TLTAutoOption : uint8_t {
  toAutoDropExpand, toAutoExpand, toAutoScroll, toAutoScrollOnExpand, toAutoSort, toAutoSpanColumns,
  toAutoTristateTracking, toAutoHideButtons, toAutoDeleteMovedNodes, toDisableAutoscrollOnFocus,
  toAutoChangeScale, toAutoFreeOnCollapse, toDisableAutoscrollOnEdit, toAutoBidiColumnOrdering
};
using TLTAutoOptions = TEnumSet<TLTAutoOption, uint16_t>;

enum TLTSelectionOption : uint8_t {
  toDisableDrawSelection, toExtendedFocus, toFullRowSelect, toLevelSelectConstraint, toMiddleClickSelect,
  toMultiSelect, toRightClickSelect, toSiblingSelectConstraint, toCenterScrollIntoView, toSimpleDrawSelection,
  toAlwaysSelectNode, toRestoreSelection
};
using TLTSelectionOptions = TEnumSet<TLTSelectionOption, uint16_t>;

enum TLTMiscOption : uint8_t {
  toAcceptOLEDrop, toCheckSupport, toEditable, toFullRepaintOnResize, toGridExtensions, toInitOnSave,
  toReportMode, toToggleOnDblClick, toWheelPanning, toReadOnly, toVariableNodeHeight, toFullRowDrag,
  toNodeHeightResize, toNodeHeightDblClickResize, toEditOnClick, toEditOnDblClick, toReverseFullExpandHotKey
};
using TLTMiscOptions = TEnumSet<TLTMiscOption, uint32_t>;

enum TLTLineType : uint8_t {
  ltNone, ltBottomRight, ltTopDown, ltTopDownRight, ltRight, ltTopRight, ltLeft, ltLeftBottom
};

// The node record. The user data area follows the record directly (at an offset aligned for the data type),
// then the internal areas of the tree classes; blocks live in the tree's arena and never move.
// A first child has no previous sibling, so its link to one holds its parent's last child instead: no field
// of its own is needed for the last child, and PrevSibling() and LastChild() read the links in constant time.
// The check fields share one byte (nine check states fit in four bits, five check types in three). So the
// record is 56 bytes, and a node with a pointer of user data fills exactly one 64-byte cache line.
struct TLazyNode {
  TLazyNode* Parent;
  TLazyNode* PrevLink;  // previous sibling; for a first child its parent's last child; the root: itself
  TLazyNode* NextSibling;
  TLazyNode* FirstChild;
  uint32_t Index;
  uint32_t ChildCount;
  TLazyNodeStates States;
  uint32_t TotalCount;
  uint32_t TotalHeight;
  uint16_t NodeHeight;
  uint8_t Align;
  TCheckState CheckState : 4;
  TCheckType CheckType : 3;
  uint8_t Dummy : 1;

  // Nil at the ends; the hidden root (which has no parent) is its own neighbour.
  TLazyNode* PrevSibling() const { return Parent && Parent->FirstChild == this ? nullptr : PrevLink; }
  // Nil when there is no child.
  TLazyNode* LastChild() const { return FirstChild ? FirstChild->PrevLink : nullptr; }

  // Only the GUI thread writes states, but the position-cache worker reads them while it walks the visible
  // nodes; so every access is a relaxed atomic load or store (a plain move on common hardware).
  bool Has(TLazyNodeState s) const { return SharedStates().Has(s); }
  void Include(TLazyNodeState s) { StoreStates(States + TLazyNodeStates{s}); }
  void Exclude(TLazyNodeState s) { StoreStates(States - TLazyNodeStates{s}); }
  TLazyNodeStates SharedStates() const {
    return TLazyNodeStates::FromBits(__atomic_load_n(StateBits(), __ATOMIC_RELAXED));
  }

 private:
  uint32_t* StateBits() const { return reinterpret_cast<uint32_t*>(const_cast<TLazyNodeStates*>(&States)); }
  void StoreStates(TLazyNodeStates v) { __atomic_store_n(StateBits(), v.ToBits(), __ATOMIC_RELAXED); }
};
using PLazyNode = TLazyNode*;

static_assert(sizeof(TLazyNodeStates) == sizeof(uint32_t), "states are read as one word");
static_assert(sizeof(TLazyNode) <= 96, "the node record must stay compact");
static_assert(sizeof(TLazyNode) == 56 || sizeof(void*) != 8, "unexpected padding in the node record");
static_assert(csMixedDisabled < 16 && ctButton < 8, "a check field no longer fits its bits");

// Raised for programming errors of the tree (wrong node, wrong thread, deleting during a walk).
class ELazyTreeAssertion : public plat::EAssertionFailed {
 public:
  explicit ELazyTreeAssertion(const std::string& message) : plat::EAssertionFailed(QString::fromStdString(message)) {}
};

}  // namespace lazytree
