// The keyboard focus inside the tree: which node and which column are focused, how a change is asked for
// (OnFocusChanging) and announced (OnFocusChanged, accessibility), and what the window's focus messages do.
#include <QAccessible>
#include <QWidget>

#include "platform/forms/forms.h"
#include "tree/treeaccessibility.h"
#include "tree/treecontrol.h"

namespace lazytree {

void TBaseLazyTreeControl::SetFocusedNode(PLazyNode Value) {
  PLazyNode old = FFocusedNode;
  MoveFocusTo(Value, true);
  if (Value != old && FFocusedNode == Value) ReportFocusChange(FFocusedNode, FFocusedColumn);
}

void TBaseLazyTreeControl::MoveFocusTo(PLazyNode Node, bool Ask) {
  if (IsEditing() && !EndEditNode()) return;
  if (Node == RootNode()) Node = nullptr;
  const TLazyTreeStates states = TreeStates();
  const TCustomLazyTreeOptions& options = TreeOptions();
  const bool autoExpand = options.AutoOptions.Has(toAutoExpand);
  if (Node != FFocusedNode && (!Ask || FocusChangeAllowed(FFocusedNode, Node, FFocusedColumn, FFocusedColumn))) {
    if (PLazyNode old = FFocusedNode) {
      if (autoExpand && Node && Node->Parent == old->Parent && old->Has(vsExpanded))
        ToggleNode(old);
      else
        InvalidateNode(old);
    }
    FFocusedNode = Node;
  }
  if (PLazyNode focused = FFocusedNode) {
    if (Header().UseColumns() && !Header().Columns().IsValidColumn(FFocusedColumn))
      FFocusedColumn = Header().MainColumn();
    if (autoExpand && !focused->Has(vsExpanded) && GetHasChildren(focused)) ToggleNode(focused);
    InvalidateNode(focused);
    if (UpdateCount() == 0 && !options.AutoOptions.Has(toDisableAutoscrollOnFocus)) {
      // A node focused by the mouse is only brought into view, never centred under it.
      const bool buttons = states.Has(tsLeftButtonDown) || states.Has(tsMiddleButtonDown) ||
                           states.Has(tsRightButtonDown);
      ScrollIntoView(focused, options.SelectionOptions.Has(toCenterScrollIntoView) && !buttons,
                     !options.SelectionOptions.Has(toFullRowSelect));
    }
  }
  if (SelectedCount() == 0) ResetRangeAnchor();
}

// A click asked already (MouseFocusChangeAllowed) and announces the change itself.
void TBaseLazyTreeControl::MouseMovesFocus(PLazyNode Node) { MoveFocusTo(Node, false); }

bool TBaseLazyTreeControl::MouseFocusChangeAllowed(PLazyNode OldNode, PLazyNode NewNode, TColumnIndex OldColumn,
                                                   TColumnIndex NewColumn) {
  return FocusChangeAllowed(OldNode, NewNode, OldColumn, NewColumn);
}

void TBaseLazyTreeControl::MouseReportsFocus(PLazyNode Node, TColumnIndex Column) { ReportFocusChange(Node, Column); }

bool TBaseLazyTreeControl::FocusChangeAllowed(PLazyNode OldNode, PLazyNode NewNode, TColumnIndex OldColumn,
                                              TColumnIndex NewColumn) {
  bool allowed = NewColumn == OldColumn || Header().AllowFocus(NewColumn);
  if (OnFocusChanging) OnFocusChanging(this, OldNode, NewNode, OldColumn, NewColumn, allowed);
  return allowed;
}

void TBaseLazyTreeControl::ReportFocusChange(PLazyNode Node, TColumnIndex Column) {
  if (OnFocusChanged) OnFocusChanged(this, Node, Column);
  if (!Accessibility().AccessibleItem() || !QAccessible::isActive()) return;
  for (QAccessible::Event e : {QAccessible::LocationChanged, QAccessible::NameChanged, QAccessible::ValueChanged,
                               QAccessible::StateChanged, QAccessible::Selection, QAccessible::Focus}) {
    QAccessibleEvent event(Widget(), e);
    QAccessible::updateAccessibility(&event);
  }
}

void TBaseLazyTreeControl::SetFocusedColumn(TColumnIndex Value) {
  if (Value == FFocusedColumn) return;
  if (!FocusChangeAllowed(FFocusedNode, FFocusedNode, FFocusedColumn, Value)) return;
  CancelEditNode();
  InvalidateColumn(FFocusedColumn);
  InvalidateColumn(Value);
  FFocusedColumn = Value;
  if (FFocusedNode && !TreeOptions().AutoOptions.Has(toDisableAutoscrollOnFocus)) {
    if (ScrollIntoView(FFocusedNode, TreeOptions().SelectionOptions.Has(toCenterScrollIntoView), true))
      InvalidateNode(FFocusedNode);
  }
  if (FDropTargetNode) InvalidateNode(FDropTargetNode);
  ReportFocusChange(FFocusedNode, FFocusedColumn);
}

void TBaseLazyTreeControl::FocusNodeInColumn(PLazyNode Node, TColumnIndex Column) {
  if (!Header().AllowFocus(Column)) Column = FFocusedColumn;
  const bool changed = Node != FFocusedNode || Column != FFocusedColumn;
  const TColumnIndex oldColumn = FFocusedColumn;
  FFocusedColumn = Column;
  MoveFocusTo(Node, true);
  if (FFocusedNode == Node) {
    CancelEditNode();
    if (changed) ReportFocusChange(FFocusedNode, FFocusedColumn);
  } else {
    FFocusedColumn = oldColumn;
  }
}

void TBaseLazyTreeControl::FocusFirstCandidate() {
  if (FFocusedNode) return;
  if (PLazyNode selected = GetFirstSelected()) SetFocusedNode(selected);
  if (!FFocusedNode) SetFocusedNode(GetFirstVisible());
}

bool TBaseLazyTreeControl::CanFocus() const {
  if (!plat::TCustomControl::CanFocus()) return false;
  const plat::TCustomForm* form = plat::GetParentForm(this);
  return !form || (form->Enabled() && form->Visible());
}

void TBaseLazyTreeControl::FocusMessage(plat::TMessage& M, bool Gained) {
  plat::TCustomControl::Dispatch(M);
  const bool ghosted = TreeOptions().PaintOptions.Has(toGhostedIfUnfocused);
  if (Gained) {
    if (SelectedCount() > 0 || !ghosted) Invalidate();
    return;
  }
  if (TreeStates().Has(tsHint)) CancelHint();
  StopWheelPanning();
  for (int timer : {ExpandTimer, EditTimer, 3, ScrollTimer}) StopTimer(timer);
  EndIncrementalSearch();
  DoStateChange({}, {tsEditPending, tsNodeHeightTracking, tsNodeHeightTrackPending, tsIncrementalSearching,
                     tsLeftButtonDown, tsMiddleButtonDown, tsOLEDragPending, tsRightButtonDown, tsScrolling,
                     tsScrollPending, tsVCLDragPending});
  if (SelectedCount() > 0 || !ghosted)
    Invalidate();
  else if (FFocusedNode)
    InvalidateNode(FFocusedNode);
}

void TBaseLazyTreeControl::DoFreeNode(PLazyNode Node) {
  // Nodes the keyboard remembers must not outlive the node.
  FSearch->Forget(Node);
  if (Node == FCheckNode) {
    FCheckNode = nullptr;
    DoStateChange({}, {tsKeyCheckPending});
  }
  TBaseLazyTree::DoFreeNode(Node);
}

}  // namespace lazytree
