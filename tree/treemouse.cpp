// The tree's mouse messages and timers: the three buttons, the mouse move, hot tracking and the cursor,
// leaving the window, cancelling, the context menu and the timer dispatch. What a button press, release and
// double click do is in treemousebuttons.cpp, the rubber band and node-height tracking in treegesture.cpp,
// wheel panning in treepanning.cpp, and the selection rules in treeselection*.cpp.
#include <QApplication>
#include <QCursor>
#include <QWidget>

#include <cstdlib>

#include "platform/forms/keys.h"
#include "platform/forms/menus.h"
#include "platform/forms/messages.h"
#include "tree/checkimages.h"
#include "tree/treecontrol.h"
#include "tree/treedrag.h"
#include "tree/treegesture.h"
#include "tree/treeutils.h"

namespace plat {
Qt::CursorShape CursorToQt(TCursor c);
}  // namespace plat

namespace lazytree {

namespace {

bool Panning(TLazyTreeStates s) { return s.Has(tsWheelPanning) || s.Has(tsWheelScrolling); }

}  // namespace

plat::TShiftState TBaseLazyTreeControl::MessageShift(const plat::TMessage& M) const {
  return plat::KeysToShiftState(M.WParam);
}

// Each button message records its button state first; the inherited handling (OnMouseDown, OnMouseUp, the
// capture) runs where the window framework runs it, then the hit test of the message point.
bool TBaseLazyTreeControl::HandleMouseMessage(plat::TMessage& M) {
  const TCustomLazyTreeOptions& o = TreeOptions();
  const bool headerBusy = !FHeader->States().Empty();
  const plat::TWMMouse mouse(M);
  THitInfo hit;
  auto hitTest = [&] { GetHitTestInfoAt(mouse.XPos(), mouse.YPos(), true, hit); };
  auto inherited = [&] { plat::TCustomControl::Dispatch(M); };
  switch (M.Msg) {
    case plat::WM_LBUTTONDOWN:
      DoStateChange({tsLeftButtonDown});
      inherited();
      hitTest();
      HandleButtonDown(M, hit);
      return true;
    case plat::WM_LBUTTONUP:
      DoStateChange({}, {tsNodeHeightTracking, tsNodeHeightTrackPending, tsLeftButtonDown});
      hitTest();
      HandleButtonUp(M, hit);
      inherited();
      return true;
    case plat::WM_LBUTTONDBLCLK:
    case plat::WM_MBUTTONDBLCLK:
    case plat::WM_RBUTTONDBLCLK: {
      const TLazyTreeState state = M.Msg == plat::WM_LBUTTONDBLCLK   ? tsLeftDblClick
                                   : M.Msg == plat::WM_MBUTTONDBLCLK ? tsMiddleDblClick
                                                                     : tsRightDblClick;
      DoStateChange({state});
      inherited();
      const bool handled = M.Msg == plat::WM_LBUTTONDBLCLK ||
                           o.SelectionOptions.Has(M.Msg == plat::WM_MBUTTONDBLCLK ? toMiddleClickSelect
                                                                                   : toRightClickSelect);
      if (handled) {
        hitTest();
        HandleButtonDblClick(M, hit);
      }
      DoStateChange({}, {state});
      return true;
    }
    case plat::WM_MBUTTONDOWN: {
      DoStateChange({tsMiddleButtonDown});
      if (headerBusy) return true;
      inherited();
      const TLazyTreeStates s = TreeStates();
      const bool room = static_cast<int64_t>(RangeX()) > ClientW() || static_cast<int64_t>(RangeY()) > ClientH();
      if (o.MiscOptions.Has(toWheelPanning) && !Panning(s) && room) {
        BeginWheelPanning({mouse.XPos(), mouse.YPos()});
        return true;
      }
      StopWheelPanning();
      if (o.SelectionOptions.Has(toMiddleClickSelect)) {
        hitTest();
        HandleButtonDown(M, hit);
      }
      return true;
    }
    case plat::WM_MBUTTONUP:
      DoStateChange({}, {tsMiddleButtonDown});
      if (FPanner->Released()) return true;
      if (headerBusy) return true;
      inherited();
      if (o.SelectionOptions.Has(toMiddleClickSelect)) {
        hitTest();
        HandleButtonUp(M, hit);
      }
      return true;
    case plat::WM_RBUTTONDOWN:
      DoStateChange({tsRightButtonDown});
      if (headerBusy) return true;
      inherited();
      if (o.SelectionOptions.Has(toRightClickSelect)) {
        hitTest();
        HandleButtonDown(M, hit);
      }
      return true;
    case plat::WM_RBUTTONUP:
      DoStateChange({}, {tsRightButtonDown, tsPopupMenuShown});
      if (headerBusy) return true;
      CancelHint();
      if (IsMouseSelecting() && PopupMenu()) {
        DoStateChange({}, {tsDrawSelPending, tsDrawSelecting});
        Invalidate();
      }
      inherited();
      hitTest();
      if (o.SelectionOptions.Has(toRightClickSelect)) HandleButtonUp(M, hit);
      if (!PopupMenu()) ShowNodePopupMenu(hit.HitNode, hit.HitColumn, {mouse.XPos(), mouse.YPos()});
      return true;
    case plat::WM_CONTEXTMENU:
      DoStateChange({}, {tsClearPending, tsEditPending, tsOLEDragPending, tsVCLDragPending});
      return TreeStates().Has(tsPopupMenuShown);
    case plat::WM_CANCELMODE:
      for (int id : {ExpandTimer, EditTimer, 3, ScrollTimer, SearchTimer, ThemeTimer}) StopTimer(id);
      EndIncrementalSearch();
      DoStateChange({}, {tsClearPending, tsDrawSelPending, tsDrawSelecting, tsEditPending, tsIncrementalSearching,
                         tsOLEDragPending, tsVCLDragPending});
      return false;
    case plat::WM_TIMER: {
      const int id = static_cast<int>(M.WParam);
      if (id < ExpandTimer || id > ThemeTimer || id == 3) return false;
      HandleTimer(id);
      return true;
    }
    case plat::CM_MOUSELEAVE:
      HandleMouseLeave();
      return false;  // the framework fires OnMouseLeave
    default: return false;
  }
}

void TBaseLazyTreeControl::HandleTimer(int TimerId) {
  switch (TimerId) {
    case ExpandTimer: ExpandDropTarget(); break;
    case EditTimer: EditTimerFired(); break;
    case ScrollTimer:
      // The first tick ends the delay; from then on steps come at the auto-scroll interval.
      if (TreeStates().Has(tsScrollPending)) {
        CancelHint();
        StartTimer(ScrollTimer, FAutoScrollInterval);
        DoStateChange({tsScrolling}, {tsScrollPending});
      }
      AutoScrollStep();
      break;
    case ChangeTimer:
    case StructureChangeTimer: TimerFired(TimerId); break;
    case SearchTimer: EndIncrementalSearch(); break;
    case ThemeTimer:
      StopTimer(ThemeTimer);
      CreateWnd();
      Invalidate();
      break;
    default: break;
  }
}

// ------------------------------------------------------------------------------------------------------------
// Mouse move

void TBaseLazyTreeControl::MouseMove(plat::TShiftState Shift, int X, int Y) {
  if (FGestures->Moved(Shift, X, Y)) return;
  const int threshold = QApplication::startDragDistance();
  const int dx = std::abs(X - FLastClickPos.X), dy = std::abs(Y - FLastClickPos.Y);
  FPanner->Moved(dx, dy, threshold);
  const int dragThreshold = Transfer().DragThreshold;
  if (TreeStates().Has(tsOLEDragPending) && (dx >= dragThreshold || dy >= dragThreshold)) {
    RunOLEDrag(FLastClickPos);
    return;
  }
  if (CanAutoScroll()) UpdateAutoScroll(X, Y);
  if (Panning(TreeStates())) ChoosePanningCursor(X, Y);
  if (!IsMouseSelecting()) {
    HandleHotTrack(X, Y);
    plat::TCustomControl::MouseMove(Shift, X, Y);
    UpdateCursor({X, Y});
    return;
  }
  FGestures->MoveBand(X, Y);
}

// ------------------------------------------------------------------------------------------------------------
// Hot tracking, leaving, the cursor

void TBaseLazyTreeControl::HandleHotTrack(int X, int Y) {
  THitInfo hit;
  GetHitTestInfoAt(X, Y, true, hit);
  const THitPositions& hp = hit.HitPositions;
  const bool hot = hit.HitNode &&
                   (hp.Has(hiOnItemLabel) || hp.Has(hiOnItemCheckbox) ||
                    (TreeStates().Has(tsUseExplorerTheme) && hp.Has(hiOnItemButtonExact)) ||
                    (TreeOptions().SelectionOptions.Has(toFullRowSelect) && !hp.Has(hiNowhere)));
  PLazyNode newHot = hot ? hit.HitNode : nullptr;
  const TColumnIndex newColumn = hot ? hit.HitColumn : NoColumn;
  PLazyNode old = FHotNode;
  const bool track = TreeOptions().PaintOptions.Has(toHotTrack) || TreeOptions().MiscOptions.Has(toCheckSupport);
  const bool changed = newHot != FHotNode || newColumn != FCurrentHotColumn;
  if (changed) {
    DoHotChange(FHotNode, newHot);
    if (track && FHotNode) InvalidateNode(FHotNode);
    FHotNode = newHot;
    FCurrentHotColumn = newColumn;
  }
  if (FHotNode) {
    const bool exact = hp.Has(hiOnItemButtonExact);
    if (exact != FHotNodeButtonHit || (changed && track)) {
      FHotNodeButtonHit = exact;
      InvalidateNode(FHotNode);
    }
  } else {
    FHotNodeButtonHit = false;
  }
  if (old != newHot && old) InvalidateNode(old);
}

void TBaseLazyTreeControl::HandleMouseLeave() {
  DoStateChange({}, {tsHint});
  if (!Panning(TreeStates())) {
    StopTimer(ScrollTimer);
    DoStateChange({}, {tsScrolling, tsScrollPending});
  }
  if (FHotNode) {
    DoHotChange(FHotNode, nullptr);
    if (TreeOptions().PaintOptions.Has(toHotTrack) || TreeOptions().MiscOptions.Has(toCheckSupport))
      InvalidateNode(FHotNode);
    FHotNode = nullptr;
    FCurrentHotColumn = NoColumn;
    FHotNodeButtonHit = false;
  }
  FHeader->Columns().ForgetMouse();
}

void TBaseLazyTreeControl::ShowCursor(plat::TCursor Cursor) {
  if (Cursor == FShownCursor) return;
  FShownCursor = Cursor;
  if (QWidget* w = Widget()) {
    if (Cursor == plat::crDefault)
      w->unsetCursor();
    else
      w->setCursor(QCursor(plat::CursorToQt(Cursor)));
  }
}

// The cursor over the rows is chosen on every mouse move (the window system asks for none here): the node
// splitter with node-height resizing, the hot cursor over a hot node, else the control's own cursor.
void TBaseLazyTreeControl::UpdateCursor(const plat::TPoint& P) {
  if (Panning(TreeStates()) || P.Y < 0) return;  // the header band chooses its own
  if (plat::Screen && plat::Screen->Cursor() != plat::crDefault) return;
  plat::TCursor cursor = Cursor();
  const TCustomLazyTreeOptions& o = TreeOptions();
  bool onSplitter = false;
  if (o.MiscOptions.Has(toNodeHeightResize)) {
    THitInfo hit;
    GetHitTestInfoAt(P.X, P.Y, true, hit);
    PLazyNode node = hit.HitPositions.Has(hiUpperSplitter) && hit.HitNode ? GetPreviousVisible(hit.HitNode, true)
                     : hit.HitPositions.Has(hiLowerSplitter)              ? hit.HitNode
                                                                          : nullptr;
    onSplitter = node && NodeDividerDraggable(P, node, hit.HitColumn);
  }
  if (onSplitter)
    cursor = crVertSplit;
  else if (o.PaintOptions.Has(toHotTrack) && FHotNode && FHotCursor != plat::crDefault)
    cursor = FHotCursor;
  DoGetCursor(cursor);
  ShowCursor(cursor);
}

bool TBaseLazyTreeControl::NodeDividerDraggable(const plat::TPoint& P, PLazyNode Node, TColumnIndex Column) {
  const TLazyTreeColumns& columns = FHeader->Columns();
  bool allowed = TreeOptions().MiscOptions.Has(toNodeHeightResize) && Node && Node != RootNode() &&
                 Column >= 0 && columns.IsValidColumn(Column) && columns[Column]->Options().Has(coFixed);
  if (OnCanSplitterResizeNode) OnCanSplitterResizeNode(this, P, Node, Column, allowed);
  return allowed;
}

// ------------------------------------------------------------------------------------------------------------
// Context menu

plat::TPopupMenu* TBaseLazyTreeControl::DoGetPopupMenu(PLazyNode Node, TColumnIndex Column,
                                                       const plat::TPoint& Position) {
  if (!OnGetPopupMenu) return nullptr;
  plat::TPopupMenu* menu = nullptr;
  if (!Node || Node == RootNode()) {
    bool askParent = false;
    OnGetPopupMenu(this, nullptr, NoColumn, Position, askParent, menu);
    return menu;
  }
  for (PLazyNode n = Node; n && n != RootNode() && !menu; n = n->Parent) {
    bool askParent = true;
    OnGetPopupMenu(this, n, Column, Position, askParent, menu);
    if (!askParent) break;
  }
  return menu;
}

bool TBaseLazyTreeControl::PopupMenuAvailable(PLazyNode Node, TColumnIndex Column, const plat::TPoint& Position) {
  return PopupMenu() || DoGetPopupMenu(Node, Column, Position);
}

void TBaseLazyTreeControl::ShowNodePopupMenu(PLazyNode Node, TColumnIndex Column, const plat::TPoint& Position) {
  plat::TPopupMenu* menu = DoGetPopupMenu(Node, Column, Position);
  if (!menu) return;
  DoStateChange({tsPopupMenuShown});
  StopTimer(EditTimer);
  menu->SetPopupComponent(this);
  const plat::TPoint p = ClientToScreen(Position);
  menu->Popup(p.X, p.Y);
}

// ------------------------------------------------------------------------------------------------------------
// Dispatchers

void TBaseLazyTreeControl::DoNodeClick(const THitInfo& HitInfo) {
  if (OnNodeClick) OnNodeClick(this, HitInfo);
}

void TBaseLazyTreeControl::DoNodeDblClick(const THitInfo& HitInfo) {
  if (OnNodeDblClick) OnNodeDblClick(this, HitInfo);
}

void TBaseLazyTreeControl::DoHotChange(PLazyNode OldNode, PLazyNode NewNode) {
  if (OnHotChange) OnHotChange(this, OldNode, NewNode);
}

void TBaseLazyTreeControl::DoGetCursor(plat::TCursor& Cursor) {
  if (OnGetCursor) OnGetCursor(this, Cursor);
}

bool TBaseLazyTreeControl::DoDragAllowed(PLazyNode Node, TColumnIndex Column) {
  bool allowed = false;
  if (OnDragAllowed) OnDragAllowed(this, Node, Column, allowed);
  return allowed;
}

}  // namespace lazytree
