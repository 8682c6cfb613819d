// The tree's keyboard: the message side of keys, focus and hints, moving the focus
// through nodes and columns, extending the selection with Shift, scrolling with Ctrl, expanding and collapsing,
// the space-bar check, the context-menu key, help, editing keys, and the keystrokes that feed the incremental
// search (treekeys_search.cpp).
#include <QString>

#include "tree/checkstate.h"
#include "tree/treecontrol.h"

namespace lazytree {

using plat::TShiftState;

namespace {

bool IsNavigationKey(uint16_t Key) {
  return Key == plat::VK_BACK || Key == plat::VK_TAB || (Key >= plat::VK_PRIOR && Key <= plat::VK_DOWN);
}

bool Exactly(TShiftState Shift, TShiftState Want) {
  const TShiftState keys{plat::ssShift, plat::ssAlt, plat::ssCtrl};
  return (Shift * keys) == Want;
}

bool NoKeys(TShiftState Shift) { return Exactly(Shift, {}); }

// The character the key types with Ctrl released. The platform's key table types no text for the sign keys of
// the main keyboard, so their US-layout characters are taken here.
QChar KeyCharacter(uint16_t Key, TShiftState Shift) {
  const bool shift = Shift.Contains(plat::ssShift);
  switch (Key) {
    case 0xBB: return shift ? u'+' : u'=';
    case 0xBD: return shift ? u'_' : u'-';
    case 0xBF: return shift ? u'?' : u'/';
    default: break;
  }
  const QString text = plat::TextOfVK(Key, shift);
  return text.isEmpty() ? QChar() : text.at(0);
}

// The main keyboard's signs act like the numeric keypad's.
uint16_t SignKey(uint16_t Key, TShiftState Shift) {
  switch (KeyCharacter(Key, Shift).unicode()) {
    case u'*': return plat::VK_MULTIPLY;
    case u'+': return plat::VK_ADD;
    case u'-': return plat::VK_SUBTRACT;
    case u'/': return plat::VK_DIVIDE;
    default: return Key;
  }
}

}  // namespace

// What the navigation keys decide before they move (see FinishNavigation).
struct TBaseLazyTreeControl::TNavigation {
  bool ShiftSelect = false;
  bool RangeKey = false;
  bool NeedRepaint = false;
  bool ClearFirst = false;
  PLazyNode Start = nullptr;
};

// ------------------------------------------------------------------------------------------------------------
// Messages

bool TBaseLazyTreeControl::DispatchKeysFocusAndHints(plat::TMessage& M) {
  switch (M.Msg) {
    case plat::WM_KEYDOWN:
    case plat::WM_SYSKEYDOWN: {
      plat::TCustomControl::Dispatch(M);  // OnKeyDown first; a handler that clears the key ends it
      const auto key = static_cast<uint16_t>(M.WParam);
      if (key != 0) TreeKeyDown(key, plat::KeyDataToShiftState(M.LParam));
      return true;
    }
    case plat::WM_CHAR:
      if (TreeStates().Has(tsIncrementalSearchPending)) {
        HandleSearchKey(static_cast<char16_t>(M.WParam));
        DoStateChange({}, {tsIncrementalSearchPending});
      }
      plat::TCustomControl::Dispatch(M);
      return true;
    case plat::WM_KEYUP:
    case plat::WM_SYSKEYUP:
      plat::TCustomControl::Dispatch(M);
      KeyUpChecks(static_cast<uint16_t>(M.WParam));
      return true;
    case plat::WM_GETDLGCODE:
      M.Result = plat::DLGC_WANTARROWS | plat::DLGC_WANTCHARS | (FWantTabs ? plat::DLGC_WANTTAB : 0);
      return true;
    case plat::WM_SETFOCUS: FocusMessage(M, true); return true;
    case plat::WM_KILLFOCUS: FocusMessage(M, false); return true;
    case plat::CM_ENTER:
      plat::TCustomControl::Dispatch(M);
      EnsureNodeSelected();
      return true;
    case plat::CM_MOUSELEAVE:
      FLastHintRect = {};
      return false;
    default: return false;
  }
}

void TBaseLazyTreeControl::KeyUpChecks(uint16_t Key) {
  if (Key == plat::VK_TAB) FocusFirstCandidate();
  if (Key != plat::VK_SPACE || !TreeStates().Has(tsKeyCheckPending)) return;
  DoStateChange({}, {tsKeyCheckPending});
  PLazyNode node = FCheckNode;
  FCheckNode = nullptr;
  if (!node) return;
  node->CheckState = GetUnpressed(node->CheckState);
  if (node == FFocusedNode) DoSetCheckState(node, FPendingCheckState);
  InvalidateNode(node);
}

void TBaseLazyTreeControl::CancelKeyCheck() {
  DoStateChange({}, {tsKeyCheckPending});
  if (PLazyNode node = FCheckNode) {
    node->CheckState = GetUnpressed(node->CheckState);
    InvalidateNode(node);
  }
  FCheckNode = nullptr;
}

// ------------------------------------------------------------------------------------------------------------
// Key-down

void TBaseLazyTreeControl::TreeKeyDown(uint16_t Key, TShiftState Shift) {
  bool doDefault = true;
  if (OnKeyAction) OnKeyAction(this, Key, Shift, doDefault);
  if (!doDefault) return;
  if (TreeStates().Has(tsKeyCheckPending) && Key != plat::VK_SPACE) CancelKeyCheck();
  if (IsNavigationKey(Key) && RootNodeCount() > 0)
    NavigationKey(Key, Shift);
  else
    OtherKey(Key, Shift);
}

void TBaseLazyTreeControl::NavigationKey(uint16_t Key, TShiftState Shift) {
  const TLTSelectionOptions sel = TreeOptions().SelectionOptions;
  const bool multi = sel.Has(toMultiSelect);
  const bool grid = TreeOptions().MiscOptions.Has(toGridExtensions);
  TNavigation nav;
  nav.ShiftSelect = Shift.Contains(plat::ssShift) && multi && !IsEditing();
  nav.RangeKey = nav.ShiftSelect && (Key == plat::VK_PRIOR || Key == plat::VK_NEXT || Key == plat::VK_END ||
                                     Key == plat::VK_HOME);
  nav.NeedRepaint = nav.RangeKey || SelectedCount() > 1;
  nav.ClearFirst = NoKeys(Shift) || (grid && !Shift.Contains(plat::ssShift)) || !multi || Key == plat::VK_BACK ||
                   Key == plat::VK_TAB;
  nav.Start = FFocusedNode;
  if (!nav.Start && !NoKeys(Shift)) nav.Start = GetFirstVisible();
  if (!FRangeAnchor) {
    FRangeAnchor = GetFirstSelected();
    if (!FRangeAnchor) FRangeAnchor = GetFirst();
  }
  bool goOn = true;
  switch (Key) {
    case plat::VK_BACK:
      if (TreeStates().Has(tsIncrementalSearching))
        SearchKeystroke();
      else if (FFocusedNode && FFocusedNode->Parent != RootNode())
        SetFocusedNode(FFocusedNode->Parent);
      break;
    case plat::VK_TAB: NavigateTab(Shift); break;
    case plat::VK_PRIOR:
    case plat::VK_NEXT: goOn = NavigatePages(Key, Shift); break;
    case plat::VK_HOME:
    case plat::VK_END: goOn = NavigateHomeEnd(Key, Shift); break;
    case plat::VK_LEFT:
    case plat::VK_RIGHT: goOn = NavigateHorizontally(Key, Shift, nav); break;
    default: goOn = NavigateVertically(Key, Shift, nav); break;
  }
  if (goOn) FinishNavigation(Shift, nav);
}

void TBaseLazyTreeControl::FinishNavigation(TShiftState Shift, TNavigation& Nav) {
  bool cleared = false;
  if (Nav.ClearFirst && (Nav.Start != FFocusedNode || SelectedCount() != 1)) {
    ClearSelection();
    cleared = true;
  }
  if (NoKeys(Shift)) {
    SetRangeAnchor(FFocusedNode);
    SetLastSelectionLevel(FFocusedNode ? static_cast<int>(GetNodeLevel(FFocusedNode)) : -1);
  }
  if (FFocusedNode) {
    if (Nav.RangeKey) ToggleSelectionRange(Nav.Start, FFocusedNode);
    if (FFocusedNode != Nav.Start || cleared) AddToSelection(FFocusedNode);
  }
  if (Nav.NeedRepaint) Invalidate();
}

bool TBaseLazyTreeControl::NavigateVertically(uint16_t Key, TShiftState Shift, TNavigation& Nav) {
  const bool up = Key == plat::VK_UP;
  if (Shift.Contains(plat::ssCtrl)) {
    const int line = static_cast<int>(DefaultNodeHeight());
    SetOffsetY(OffsetY() + (up ? line : -line));
    return true;
  }
  PLazyNode target = FFocusedNode ? (up ? GetPreviousVisible(FFocusedNode) : GetNextVisible(FFocusedNode))
                                  : (up ? GetLastVisible() : GetFirstVisible());
  if (!target) {
    if (FFocusedNode) InvalidateNode(FFocusedNode);
    return true;
  }
  if (IsEditing() && !EndEditNode()) return false;
  // The node left stays selected only while Shift extends the selection away from the anchor.
  bool keep = false;
  if (Nav.ShiftSelect && Nav.Start && FRangeAnchor) {
    const int order = CompareDisplayOrder(Nav.Start, FRangeAnchor);
    keep = up ? order <= 0 : order >= 0;
  }
  if (!keep && FFocusedNode) RemoveFromSelection(FFocusedNode);
  if (FFocusedColumn == NoColumn) FFocusedColumn = Header().MainColumn();
  SetFocusedNode(target);
  return true;
}

bool TBaseLazyTreeControl::NavigateHorizontally(uint16_t Key, TShiftState Shift, TNavigation& Nav) {
  const bool left = Key == plat::VK_LEFT;
  const int dir = 1;  // the tree itself is always left-to-right
  const TLazyTreeColumns& columns = Header().Columns();
  if (Shift.Contains(plat::ssCtrl)) {
    const int step = dir * columns.GetScrollWidth();
    SetOffsetX(OffsetX() + (left ? step : -step));
    return true;
  }
  if (TreeOptions().SelectionOptions.Has(toExtendedFocus) && TreeOptions().MiscOptions.Has(toGridExtensions)) {
    const TColumnIndex c = left ? columns.GetPreviousVisibleColumn(FFocusedColumn, true)
                                : columns.GetNextVisibleColumn(FFocusedColumn, true);
    if (c > NoColumn) SetFocusedColumn(c);
    return true;
  }
  PLazyNode node = FFocusedNode;
  if (node && NoKeys(Shift) && GetHasChildren(node) && node->Has(vsExpanded) == left) {
    ToggleNode(node);
    return true;
  }
  if (!node) {
    SetFocusedNode(GetFirstVisible());
    return true;
  }
  if (left) {
    PLazyNode parent = node->Parent;
    if (parent == RootNode()) return true;
    if (Nav.ShiftSelect) {
      if (GetPreviousVisibleSibling(node))
        Nav.RangeKey = true;
      else if (FRangeAnchor && CompareDisplayOrder(parent, FRangeAnchor) > 0)
        RemoveFromSelection(node);
    }
    SetFocusedNode(parent);
  } else if (PLazyNode child = GetFirstVisibleChild(node)) {
    if (Nav.ShiftSelect && FRangeAnchor && CompareDisplayOrder(child, FRangeAnchor) < 0) RemoveFromSelection(node);
    SetFocusedNode(child);
  }
  return true;
}

bool TBaseLazyTreeControl::NavigatePages(uint16_t Key, TShiftState Shift) {
  const bool up = Key == plat::VK_PRIOR;
  const int page = ClientH();
  if (Exactly(Shift, {plat::ssShift, plat::ssCtrl})) {
    SetOffsetX(OffsetX() + (up ? ClientW() : -ClientW()));
    return true;
  }
  const TLazyTreeColumns& columns = Header().Columns();
  if (Exactly(Shift, {plat::ssShift, plat::ssAlt})) {
    // One page of columns: move while the fixed columns and the widths passed stay below the client width.
    TColumnIndex c = FFocusedColumn > NoColumn ? FFocusedColumn : columns.GetFirstVisibleColumn();
    if (c <= NoColumn) return true;
    int sum = columns.GetVisibleFixedWidth();
    for (;;) {
      const TColumnIndex next = up ? columns.GetPreviousVisibleColumn(c) : columns.GetNextVisibleColumn(c);
      if (next <= NoColumn || columns[next]->Options().Has(coFixed)) break;
      sum += columns[c]->Width();
      if (sum >= ClientW()) break;
      c = next;
    }
    SetFocusedColumn(c);
    return true;
  }
  if (Shift.Contains(plat::ssCtrl)) {
    SetOffsetY(OffsetY() + (up ? page : -page));
    return true;
  }
  PLazyNode node = FFocusedNode ? FFocusedNode : (up ? GetFirstVisible() : GetLastVisible());
  int sum = 0;
  for (;;) {
    PLazyNode next = up ? GetPreviousVisible(node) : GetNextVisible(node);
    if (!next || sum + static_cast<int>(GetNodeHeight(node)) >= page) break;
    if (up) {
      node = next;
      sum += static_cast<int>(GetNodeHeight(node));
    } else {
      sum += static_cast<int>(GetNodeHeight(node));
      node = next;
    }
  }
  SetFocusedNode(node);
  return true;
}

bool TBaseLazyTreeControl::NavigateHomeEnd(uint16_t Key, TShiftState Shift) {
  const bool rtl = false;  // the tree itself is always left-to-right
  const bool firstNode = (Key == plat::VK_HOME) != rtl;
  PLazyNode target = firstNode ? GetFirstVisible() : GetLastVisible();
  // The column: scanning inwards from the first (last) visible column for one the focus may go to.
  TColumnIndex column = NoColumn;
  const TLazyTreeColumns& columns = Header().Columns();
  if (Header().UseColumns()) {
    column = ColumnNotFound;
    for (TColumnIndex c = firstNode ? columns.GetFirstVisibleColumn() : columns.GetLastVisibleColumn(); c > NoColumn;
         c = firstNode ? columns.GetNextVisibleColumn(c) : columns.GetPreviousVisibleColumn(c))
      if (FocusChangeAllowed(FFocusedNode, target, FFocusedColumn, c)) {
        column = c;
        break;
      }
    if (column == ColumnNotFound) return false;
  }
  const bool grid = TreeOptions().MiscOptions.Has(toGridExtensions);
  if (Exactly(Shift, {plat::ssCtrl}) && !grid) {
    const TLTAutoOptions autoOptions = TreeOptions().AutoOptions;
    ScrollIntoView(target, TreeOptions().SelectionOptions.Has(toCenterScrollIntoView),
                   !autoOptions.Has(toDisableAutoscrollOnFocus));
    SetOffsetX(Key == plat::VK_HOME && !rtl ? 0 : -2147483647);
    return true;
  }
  if (!grid || Shift.Contains(plat::ssCtrl)) SetFocusedNode(target);
  if (grid && !TreeOptions().SelectionOptions.Has(toFullRowSelect) && column > NoColumn) SetFocusedColumn(column);
  return true;
}

// Tab walks the cells of the rows: the next (Shift: previous) column that may take the focus, then on into the
// next (previous) row; the first cell allowed takes node and column focus together.
void TBaseLazyTreeControl::NavigateTab(TShiftState Shift) {
  if (!TreeOptions().SelectionOptions.Has(toExtendedFocus) || !Header().UseColumns()) return;
  const TLazyTreeColumns& columns = Header().Columns();
  const bool back = Shift.Contains(plat::ssShift);
  PLazyNode node = FFocusedNode ? FFocusedNode : GetFirstVisible();
  TColumnIndex column = FFocusedColumn;
  while (node) {
    column = back ? columns.GetPreviousVisibleColumn(column) : columns.GetNextVisibleColumn(column);
    if (column <= NoColumn) {
      node = back ? GetPreviousVisible(node) : GetNextVisible(node);
      if (!node) return;
      column = back ? columns.GetLastVisibleColumn() : columns.GetFirstVisibleColumn();
      if (column <= NoColumn) return;
    }
    if (FocusChangeAllowed(FFocusedNode, node, FFocusedColumn, column)) {
      FocusNodeInColumn(node, column);
      return;
    }
  }
}

// ------------------------------------------------------------------------------------------------------------
// The other keys

void TBaseLazyTreeControl::OtherKey(uint16_t Key, TShiftState Shift) {
  if (ClipboardKey(Key, Shift)) return;
  Key = SignKey(Key, Shift);
  const bool searching = TreeStates().Has(tsIncrementalSearching);
  const bool ctrl = Shift.Contains(plat::ssCtrl);
  const bool reverse = TreeOptions().MiscOptions.Has(toReverseFullExpandHotKey) != Shift.Contains(plat::ssShift);
  const bool isSign = Key == plat::VK_MULTIPLY || Key == plat::VK_ADD || Key == plat::VK_SUBTRACT ||
                      Key == plat::VK_DIVIDE;
  if (isSign && searching) {
    SearchKeystroke();
    return;
  }
  switch (Key) {
    case plat::VK_ESCAPE:
      if (TreeStates().Has(tsDrawSelPending) || TreeStates().Has(tsDrawSelecting)) {
        DoStateChange({}, {tsDrawSelPending, tsDrawSelecting});
        Invalidate();
      } else if (IsEditing()) {
        CancelEditNode();
      }
      return;
    case plat::VK_SPACE: SpaceKey(); return;
    case 'A':
      if (Exactly(Shift, {plat::ssCtrl})) {
        SelectAll(true);
      } else {
        SearchKeystroke();
      }
      return;
    case plat::VK_APPS: AppsKey(); return;
    case plat::VK_MULTIPLY:
      if (FFocusedNode) FullExpand(FFocusedNode);
      return;
    case plat::VK_ADD:
      if (ctrl && reverse) FullExpand();
      else if (ctrl) Header().AutoFitColumns(true, smaUseColumnOption, -1, -1);
      else if (FFocusedNode && !FFocusedNode->Has(vsExpanded)) ToggleNode(FFocusedNode);
      return;
    case plat::VK_SUBTRACT:
      if (ctrl && reverse) FullCollapse();
      else if (ctrl) Header().RestoreColumns();
      else if (FFocusedNode && FFocusedNode->Has(vsExpanded)) ToggleNode(FFocusedNode);
      return;
    case plat::VK_DIVIDE:
      if (FFocusedNode) FullCollapse(FFocusedNode);
      return;
    case plat::VK_F1: HelpKey(); return;
    case plat::VK_F2:
      if (NoKeys(Shift) && FFocusedNode && CanEdit(FFocusedNode, FFocusedColumn)) EditNode(FFocusedNode, FFocusedColumn);
      return;
    default: break;
  }
  if (ctrl != Shift.Contains(plat::ssAlt)) return;  // Ctrl or Alt alone: a shortcut, not a character
  if (Key >= 32) SearchKeystroke();
}

void TBaseLazyTreeControl::SpaceKey() {
  PLazyNode node = FFocusedNode;
  if (!TreeOptions().MiscOptions.Has(toCheckSupport) || !node || node->CheckType == ctNone) {
    SearchKeystroke();
    return;
  }
  if (TreeStates().Has(tsKeyCheckPending) || TreeStates().Has(tsMouseCheckPending) || node->Has(vsDisabled)) return;
  TCheckState next = NextCheckState(node->CheckType, node->CheckState);
  if (!DoChecking(node, next)) return;
  DoStateChange({tsKeyCheckPending});
  FCheckNode = node;
  FPendingCheckState = next;
  node->CheckState = GetPressed(node->CheckState);
  InvalidateNode(node);
}

void TBaseLazyTreeControl::AppsKey() {
  if (!FFocusedNode) {
    ShowNodePopupMenu(nullptr, NoColumn, {-1, -1});
    return;
  }
  const plat::TRect r = GetDisplayRect(FFocusedNode, FFocusedColumn, true);
  int width = r.Width();
  if (Header().UseColumns() && Header().Columns().IsValidColumn(FFocusedColumn))
    width = std::min(width, Header().Columns()[FFocusedColumn]->Width());
  else
    width = std::min(width, ClientW());
  ShowNodePopupMenu(FFocusedNode, FFocusedColumn, {r.Left + width / 2, (r.Top + r.Bottom) / 2});
}

void TBaseLazyTreeControl::HelpKey() {
  if (!OnGetHelpContext) return;
  int context = 0;
  const TColumnIndex column = FFocusedColumn == NoColumn ? 0 : FFocusedColumn;
  for (PLazyNode n = FFocusedNode; n && n != RootNode() && context == 0; n = n->Parent)
    OnGetHelpContext(this, n, column, context);
  if (context != 0) ShowHelp(context);
}

}  // namespace lazytree
