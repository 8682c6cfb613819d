// What a button press, release and double click do on the tree's rows: expand buttons, check boxes (pressed on
// the press, applied on the release over the same row), node-height tracking, focus, the selection with and
// without modifiers, the deferred clear and toggle, the start of a rubber band or of a drag, and the roads to
// an in-place edit.
#include "platform/forms/messages.h"
#include "tree/checkstate.h"
#include "tree/treecontrol.h"
#include "tree/treegesture.h"

namespace lazytree {

namespace {

constexpr THitPositions kLabelOrIcon{hiOnItemLabel, hiOnNormalIcon};

bool AnyOf(THitPositions p, THitPositions q) { return !(p * q).Empty(); }

}  // namespace

// Shows the node's check box held down; the new state is applied when the button comes up on the same row.
bool TBaseLazyTreeControl::PendingCheckOnButton(PLazyNode Node, bool LeftButton) {
  if (TreeStates().Has(tsKeyCheckPending) || TreeStates().Has(tsMouseCheckPending) || Node->Has(vsDisabled))
    return false;
  TCheckState next = NextCheckState(Node->CheckType, Node->CheckState);
  if (!LeftButton || !DoChecking(Node, next)) return false;
  DoStateChange({tsMouseCheckPending});
  FCheckNode = Node;
  FPendingCheckState = next;
  Node->CheckState = GetPressed(Node->CheckState);
  InvalidateNode(Node);
  return true;
}

void TBaseLazyTreeControl::HandleButtonDown(plat::TMessage& M, THitInfo& HitInfo) {
  if (TreeStates().Has(tsWheelPanning) || TreeStates().Has(tsWheelScrolling)) {
    StopWheelPanning();
    return;
  }
  if (TreeStates().Has(tsEditPending)) {
    StopTimer(EditTimer);
    DoStateChange({}, {tsEditPending});
  }
  if (TreeStates().Has(tsEditing) && !MouseEndsEdit()) return;
  const plat::TWMMouse mouse(M);
  const plat::TPoint point(mouse.XPos(), mouse.YPos());
  if (!Focused() && CanFocus()) {
    SetFocus();
    GetHitTestInfoAt(point.X, point.Y, true, HitInfo);  // focusing may have scrolled
  }
  FHeader->Columns().SetClickIndex(HitInfo.HitColumn);
  const TLTSelectionOptions sel = TreeOptions().SelectionOptions;
  const TLTMiscOptions misc = TreeOptions().MiscOptions;
  const THitPositions hp = HitInfo.HitPositions;
  PLazyNode node = HitInfo.HitNode;

  TColumnIndex newColumn = FFocusedColumn;
  bool columnChanged = false;
  if (hp.Has(hiOnItemLabel) || sel.Has(toFullRowSelect) || misc.Has(toGridExtensions)) {
    columnChanged = HitInfo.HitColumn != FFocusedColumn;
    newColumn = sel.Has(toExtendedFocus) ? HitInfo.HitColumn : FHeader->MainColumn();
  }
  if (columnChanged && !FHeader->AllowFocus(newColumn)) {
    newColumn = FFocusedColumn;
    columnChanged = false;
  }
  const bool nodeChanged = node != FFocusedNode;
  plat::TShiftState shift = MessageShift(M) * plat::TShiftState{plat::ssShift, plat::ssAlt, plat::ssCtrl};
  const bool altPressed = shift.Contains(plat::ssAlt);
  shift.Exclude(plat::ssAlt);

  const bool labelHit = !altPressed && !sel.Has(toSimpleDrawSelection) && AnyOf(hp, kLabelOrIcon);
  const bool cellHit = !altPressed && !labelHit && node &&
                       !AnyOf(hp, {hiNowhere, hiOnItemButton, hiOnItemCheckbox}) &&
                       (sel.Has(toFullRowSelect) || (misc.Has(toGridExtensions) && HitInfo.HitColumn > NoColumn));
  const bool anyHit = labelHit || cellHit;
  const bool multiSelect = sel.Has(toMultiSelect);
  const bool noModifier = shift.Empty();
  const bool hitSelected = anyHit && node->Has(vsSelected);
  const bool bandAllowed = !sel.Has(toDisableDrawSelection);
  const bool fullRowDrag = multiSelect && bandAllowed
                               ? misc.Has(toFullRowDrag) && cellHit && !hp.Has(hiNowhere) &&
                                     (hitSelected || AnyOf(hp, kLabelOrIcon))
                               : misc.Has(toFullRowDrag);
  bool dragAllowed = (FDragMode == dmAutomatic || Dragging()) && (!cellHit || fullRowDrag);
  if (node && !dragAllowed && FDragMode == dmManual)
    dragAllowed = DoDragAllowed(node, newColumn) && (fullRowDrag || labelHit);

  // Node-height tracking starts on a splitter zone of a row (the upper zone belongs to the row above).
  if (M.Msg == plat::WM_LBUTTONDOWN && node && AnyOf(hp, {hiUpperSplitter, hiLowerSplitter})) {
    PLazyNode target = hp.Has(hiUpperSplitter) ? GetPreviousVisible(node, true) : node;
    if (target && NodeDividerDraggable(point, target, HitInfo.HitColumn)) {
      FGestures->BeginHeightTrack(target, HitInfo.HitColumn);
      return;
    }
  }
  if (node && hp.Has(hiOnItemButton) && node->Has(vsHasChildren)) {
    ToggleNode(node);
    return;
  }
  if (node && hp.Has(hiOnItemCheckbox)) {
    PendingCheckOnButton(node, TreeStates().Has(tsLeftButtonDown));
    return;
  }

  if ((RootNode()->ChildCount > 0 && noModifier) || SelectedCount() == 0) {
    PLazyNode levelNode = node ? node : GetLastVisible(nullptr, true);
    SetLastSelectionLevel(levelNode ? static_cast<int>(GetNodeLevel(levelNode)) : -1);
  }
  if (multiSelect && noModifier && anyHit && dragAllowed && hitSelected && !SelectionLocked())
    DoStateChange({tsClearPending});  // the others go at the release, unless a drag starts
  const bool clearNow = dragAllowed ? false
                        : TreeStates().Has(tsRightButtonDown) ? !PopupMenuAvailable(node, HitInfo.HitColumn, point)
                                                              : true;
  if (bandAllowed && !(labelHit || fullRowDrag) && multiSelect) FGestures->BeginBand(point, shift);
  const bool hadSelection = SelectedCount() > 0;
  ButtonDownSelection(HitInfo, shift, altPressed, anyHit, hitSelected, clearNow, fullRowDrag, multiSelect,
                      noModifier);
  if (Focused() && (hp.Has(hiOnItemLabel) || (misc.Has(toGridExtensions) && hp.Has(hiOnItem))) && hitSelected &&
      !columnChanged && noModifier)
    DoStateChange({tsEditPending});
  // On empty space of a multi-select tree the press only starts the band; a selection it cleared is
  // announced all the same.
  if (bandAllowed && !(labelHit || fullRowDrag) && (multiSelect || hp.Has(hiNowhere)) && !cellHit) {
    if (hadSelection && SelectedCount() == 0) Change(nullptr);
    return;
  }

  FLastClickPos = point;
  if (anyHit) ButtonDownFocus(HitInfo, newColumn, columnChanged, nodeChanged, shift, dragAllowed);
  if (SelectedCount() == 0) Change(nullptr);
  const TLazyTreeStates s = TreeStates();
  if (dragAllowed && anyHit && (s.Has(tsLeftButtonDown) || s.Has(tsMiddleButtonDown) || s.Has(tsRightButtonDown)))
    BeginDrag(false);
}

// The selection change a press makes at once (the deferred ones wait for the release).
void TBaseLazyTreeControl::ButtonDownSelection(const THitInfo& HitInfo, plat::TShiftState /*Shift*/,
                                               bool AltPressed, bool AnyHit, bool HitSelected, bool ClearNow,
                                               bool FullRowDrag, bool MultiSelect, bool NoModifier) {
  if (SelectionLocked()) return;
  const bool onEmpty = !(AnyHit || FullRowDrag) && MultiSelect && NoModifier;
  const bool onNode = AnyHit && (!HitSelected || ClearNow) && (NoModifier || !MultiSelect);
  if (!onEmpty && !onNode) return;
  if (TreeStates().Has(tsClearPending)) throw ELazyTreeAssertion("Pending and direct clearance are mutual exclusive!");
  PLazyNode node = HitInfo.HitNode;
  const THitPositions hp = HitInfo.HitPositions;
  if ((node && node->Has(vsSelected)) ||
      (AltPressed && node && HitInfo.HitColumn == FHeader->MainColumn() && !hp.Has(hiNowhere))) {
    const uint32_t had = SelectedCount();
    ClearSelectionCore(false);
    InternalAddToSelection(&node, 1, false);
    if (had > 1) {
      Invalidate();
      Change(nullptr);
    }
  } else if (!(hp.Has(hiNowhere) && TreeOptions().SelectionOptions.Has(toAlwaysSelectNode))) {
    ClearSelectionCore(false);
  }
}

// The focus follows a hit on a node, and the selection follows the focus.
bool TBaseLazyTreeControl::ButtonDownFocus(const THitInfo& HitInfo, TColumnIndex NewColumn, bool ColumnChanged,
                                           bool NodeChanged, plat::TShiftState Shift, bool DragAllowed) {
  PLazyNode node = HitInfo.HitNode;
  if (!MouseFocusChangeAllowed(FFocusedNode, node, FFocusedColumn, NewColumn)) return false;
  const TLTSelectionOptions sel = TreeOptions().SelectionOptions;
  if (ColumnChanged) {
    InvalidateColumn(FFocusedColumn);
    InvalidateColumn(NewColumn);
    FFocusedColumn = NewColumn;
  }
  PLazyNode lastFocused = FFocusedNode;
  if (NodeChanged) MouseMovesFocus(node);
  if (sel.Has(toMultiSelect) && !Shift.Empty()) {
    HandleClickSelection(lastFocused, node, Shift, DragAllowed);
  } else {
    if (Shift.Empty()) SetRangeAnchor(node);
    if (!node->Has(vsSelected)) AddToSelection(node);
  }
  if (NodeChanged || ColumnChanged) {
    // The clicked row stays under the mouse: a centred scroll would move another row below the pointer
    // before the release or the second click of a double click.
    ScrollIntoView(FFocusedNode, false,
                   !TreeOptions().AutoOptions.Has(toDisableAutoscrollOnFocus) && !sel.Has(toFullRowSelect));
    MouseReportsFocus(FFocusedNode, FFocusedColumn);
  }
  return true;
}

void TBaseLazyTreeControl::HandleButtonUp(plat::TMessage& M, const THitInfo& HitInfo) {
  if (MouseCapture()) SetMouseCapture(false);
  if (TreeStates().Has(tsVCLDragPending)) return;
  if (IsMouseSelecting()) {
    DoStateChange({}, {tsToggleFocusedSelection, tsDrawSelPending, tsDrawSelecting});
    Invalidate();
  }
  if (TreeStates().Has(tsClearPending)) {
    const bool focusedSelected = FFocusedNode && FFocusedNode->Has(vsSelected);
    ClearSelection();
    if (focusedSelected) AddToSelection(FFocusedNode);
  }
  PLazyNode node = HitInfo.HitNode;
  if (TreeStates().Has(tsToggleFocusedSelection) && node && node == FFocusedNode) {
    if (!node->Has(vsSelected))
      AddToSelection(node);
    else if (!(TreeOptions().SelectionOptions.Has(toAlwaysSelectNode) && SelectedCount() == 1))
      RemoveFromSelection(node);
    InvalidateNode(node);
  }
  DoStateChange({}, {tsToggleFocusedSelection, tsClearPending, tsDrawSelPending, tsOLEDragging, tsOLEDragPending,
                     tsScrolling, tsScrollPending});
  StopTimer(ScrollTimer);
  if (TreeStates().Has(tsMouseCheckPending)) {
    DoStateChange({}, {tsMouseCheckPending});
    if (PLazyNode check = FCheckNode) {
      FCheckNode = nullptr;
      if (node == check && HitInfo.HitPositions.Has(hiOnItem))
        DoSetCheckState(check, FPendingCheckState);
      else
        check->CheckState = GetUnpressed(check->CheckState);
      InvalidateNode(check);
    }
  }
  const TColumnIndex clicked = FHeader->Columns().ClickIndex();
  if (clicked >= 0 && clicked == HitInfo.HitColumn && OnColumnClick) OnColumnClick(this, clicked, MessageShift(M));
  if (node) DoNodeClick(HitInfo);
  if (TreeStates().Has(tsEditPending)) {
    if (node && node == FFocusedNode && HitInfo.HitPositions.Has(hiOnItem) &&
        TreeOptions().MiscOptions.Has(toEditOnClick) && HitInfo.HitColumn == FFocusedColumn &&
        MouseCanEdit(node, HitInfo.HitColumn))
      MouseArmsEdit(HitInfo.HitColumn, EditDelay());
    else
      DoStateChange({}, {tsEditPending});
  }
}

void TBaseLazyTreeControl::HandleButtonDblClick(plat::TMessage& M, const THitInfo& HitInfo) {
  const TLTMiscOptions misc = TreeOptions().MiscOptions;
  bool editAfter = misc.Has(toEditOnDblClick) && !TreeStates().Has(tsEditing);
  if (TreeStates().Has(tsEditPending)) {
    StopTimer(EditTimer);
    DoStateChange({}, {tsEditPending});
  } else if (TreeStates().Has(tsEditing) && !MouseEndsEdit()) {
    return;
  }
  PLazyNode node = HitInfo.HitNode;
  const THitPositions hp = HitInfo.HitPositions;
  const TColumnIndex column = HitInfo.HitColumn;
  const TLazyTreeColumns& columns = FHeader->Columns();
  if (column >= 0 && column == columns.ClickIndex() && OnColumnDblClick) OnColumnDblClick(this, column, MessageShift(M));
  if (node) DoNodeDblClick(HitInfo);

  PLazyNode resize = nullptr;
  if (node && columns.IsValidColumn(column) && columns[column]->Options().Has(coFixed) &&
      misc.Has(toNodeHeightDblClickResize))
    resize = hp.Has(hiUpperSplitter) ? GetPreviousVisible(node, true) : hp.Has(hiLowerSplitter) ? node : nullptr;
  if (resize && resize != RootNode()) {
    bool allowed = true;
    const plat::TWMMouse mouse(M);
    if (OnNodeHeightDblClickResize)
      OnNodeHeightDblClickResize(this, resize, column, MessageShift(M), {mouse.XPos(), mouse.YPos()}, allowed);
    if (allowed) {
      SetNodeHeight(resize, DefaultNodeHeight());
      Update();
      editAfter = false;
    }
  } else if (node && hp.Has(hiOnItemCheckbox)) {
    PendingCheckOnButton(node, M.Msg == plat::WM_LBUTTONDBLCLK);
    editAfter = false;
  } else if (node && (hp.Has(hiOnItemButton) ||
                      (misc.Has(toToggleOnDblClick) &&
                       (AnyOf(hp, {hiOnItemLabel, hiOnNormalIcon, hiOnStateIcon}) ||
                        TreeOptions().SelectionOptions.Has(toFullRowSelect))))) {
    ToggleNode(node);
    editAfter = false;
  }
  if (editAfter && node && node == FFocusedNode && column == FFocusedColumn && MouseCanEdit(node, column)) {
    DoStateChange({tsEditPending});
    MouseArmsEdit(column, 0);
  }
}

}  // namespace lazytree
