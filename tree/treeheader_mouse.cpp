// The header's mouse handling: hot and pressed buttons, clicks (with sorting by click), dragging a column to
// another position, dragging a divider to change a width, dragging the bottom edge to change the height,
// double clicks on dividers and on the edge, the header timer, cursors and cancelling by Escape or focus loss.
// Points are client points of the tree; the header band lies above the client area (y from -Height to 0), so
// a point there is "in the header" and a press there never reaches the tree's own row handling.
#include <QApplication>
#include <QImage>

#include <cmath>
#include <cstdlib>

#include "platform/forms/keys.h"
#include "platform/graphics/canvas.h"
#include "platform/forms/messages.h"
#include "tree/checkimages.h"
#include "tree/treecolumns.h"
#include "tree/treecontrol.h"
#include "tree/treeheaderhost.h"
#include "tree/treedrag.h"
#include "tree/treeheaderpopup.h"

namespace lazytree {
namespace {

constexpr THeaderStates InteractionStates{hsDragging,      hsDragPending,   hsColumnWidthTracking,
                                          hsColumnWidthTrackPending, hsHeightTracking, hsHeightTrackPending};

plat::TPoint MessagePoint(const plat::TMessage& M) {
  return {plat::SignedLo(static_cast<std::uintptr_t>(M.LParam)), plat::SignedHi(static_cast<std::uintptr_t>(M.LParam))};
}

bool AnyOf(THeaderStates States, THeaderStates Of) { return (States.ToBits() & Of.ToBits()) != 0; }

}  // namespace

bool TLTHeader::InHeader(plat::TPoint P) const {
  if (!FOwner || !FOptions.Has(hoVisible)) return false;
  return P.X >= 0 && P.X < FOwner->Width() && P.Y >= -FHeight && P.Y < 0;
}

bool TLTHeader::InHeaderSplitterArea(plat::TPoint P) const {
  if (!FOwner || !FOptions.Has(hoVisible) || P.Y < -2 || P.Y > 2) return false;
  // The header rectangle extended two pixels down: its last two rows and the client's first two.
  return P.X >= 0 && P.X < FOwner->Width() && P.Y >= -FHeight && P.Y < 2;
}

bool TLTHeader::ColumnDividerDraggable(plat::TPoint P, TColumnIndex Column) {
  bool allowed = FColumns->IsValidColumn(Column) && FColumns->Items(Column)->Options().Has(coResizable) &&
                 FColumns->Items(Column)->Visible();
  if (OnCanSplitterResizeColumn) OnCanSplitterResizeColumn(this, P, Column, allowed);
  return allowed;
}

bool TLTHeader::LocateColumnDivider(plat::TPoint P) {
  TLazyTreeColumns& cols = *FColumns;
  if (cols.Count() == 0 || !FOwner) return false;
  cols.FTrackIndex = NoColumn;
  const int fixed = cols.GetVisibleFixedWidth();
  const int offset = FOwner->EffectiveOffsetX();
  // The grip zone is not centred: it reaches further to the right of the divider than to its left.
  const int right = static_cast<int>(std::nearbyint(FSplitterHitTolerance * 0.6));
  const int left = FSplitterHitTolerance - right;
  int d = static_cast<int>(FOwner->RangeX()) - offset;
  for (auto p = cols.FPositionToIndex.size(); p-- > 0;) {
    const TColumnIndex index = cols.FPositionToIndex[p];
    const TLazyTreeColumn* c = cols.Items(index);
    if (!c->Visible()) continue;
    const bool isFixed = c->Options().Has(coFixed);
    const int divider = isFixed ? d + offset : d;
    if (divider - left < P.X && P.X < divider + right && (isFixed || P.X > fixed) && ColumnDividerDraggable(P, index)) {
      cols.FTrackIndex = index;
      FTrackPoint = {d - c->Width() + (isFixed ? offset : 0), P.Y};
      return true;
    }
    d -= c->Width();
  }
  return false;
}

bool TLTHeader::PointOnColumnDivider(plat::TPoint P) {
  if (!FOptions.Has(hoColumnResize) || !LocateColumnDivider(P)) return false;
  if (InHeader(P)) return true;
  // Below the header only the divider between the fixed block and the scrolled columns, over the rows.
  const TLazyTreeColumns& cols = *FColumns;
  const TColumnIndex next = cols.GetNextVisibleColumn(cols.FTrackIndex);
  return cols.Items(cols.FTrackIndex)->Options().Has(coFixed) && next >= 0 &&
         !cols.Items(next)->Options().Has(coFixed) && P.Y >= 0 &&
         static_cast<uint32_t>(P.Y) <= FOwner->RangeY();
}

bool TLTHeader::HeightDividerDraggable(plat::TPoint P) {
  bool allowed = FOptions.Has(hoHeightResize);
  if (OnCanSplitterResizeHeader) OnCanSplitterResizeHeader(this, P, allowed);
  return allowed;
}

bool TLTHeader::TrackHotColumn(plat::TPoint HP) {
  TLazyTreeColumns& cols = *FColumns;
  TColumnIndex column = cols.ColumnFromPosition(HP, true);
  if (column < 0) column = NoColumn;  // no button is hot, wherever the mouse is
  if (column == cols.FHoverIndex) return false;
  if (cols.FHoverIndex >= 0) InvalidateColumn(cols.FHoverIndex);
  cols.FHoverIndex = column;
  if (column >= 0) InvalidateColumn(column);
  return true;
}

TColumnIndex TLTHeader::TrackPressedColumn(plat::TPoint P) {
  TLazyTreeColumns& cols = *FColumns;
  const plat::TPoint hp = ToHeader(P);
  const TColumnIndex column = cols.ColumnFromPosition(hp, true);
  if (column >= 0 && column != cols.FDownIndex) {
    const TLazyTreeColumn& c = *cols.Items(column);
    const TLTColumnOptions o = c.Options();
    if (o.Has(coAllowClick) && o.Has(coEnabled)) {
      if (cols.FDownIndex >= 0) InvalidateColumn(cols.FDownIndex);
      cols.FDownIndex = column;
      cols.FCheckBoxHit = c.FHasImage && c.FCheckBox && c.FImageRect.Contains(hp);
      InvalidateColumn(column);
    }
  }
  return column;
}

void TLTHeader::ProcessColumnClick(plat::TPoint P, plat::TMouseButton Button, bool Force, bool DblClick,
                                   plat::TShiftState Shift) {
  TLazyTreeColumns& cols = *FColumns;
  const plat::TPoint hp = ToHeader(P);
  const TColumnIndex column = cols.ColumnFromPosition(hp, true);
  TLTHeaderHitInfo info;
  info.X = hp.X;
  info.Y = hp.Y;
  info.Shift = Shift;
  if (DblClick) info.Shift.Include(plat::ssDouble);
  info.Button = Button;
  if (column >= 0 && cols.Items(column)->Options().Has(coAllowClick) && (Force || column == cols.FDownIndex)) {
    cols.FClickIndex = column;
    info.Column = column;
    info.HitPosition = 1u << hhiOnColumn;
    TLazyTreeColumn& c = *cols.Items(column);
    if (c.FHasImage && c.FImageRect.Contains(hp)) {
      info.HitPosition |= 1u << hhiOnIcon;
      if (c.FCheckBox) {
        if (Button == plat::mbLeft) FOwner->ToggleColumnCheckState(column);
        info.HitPosition |= 1u << hhiOnCheckbox;
      }
    }
  } else {
    cols.FClickIndex = NoColumn;
    info.Column = NoColumn;
    info.HitPosition = 1u << hhiNoWhere;
  }
  if (DblClick) {
    if (OnHeaderDblClick) OnHeaderDblClick(this, info);
  } else {
    if (FOptions.Has(hoHeaderClickAutoSort) && Button == plat::mbLeft && !info.Has(hhiOnCheckbox) && info.Column >= 0) {
      if (info.Column == FSortColumn) {
        SetSortDirection(FSortDirection == sdDescending ? sdAscending : sdDescending);
      } else {
        SetSortColumn(info.Column);
        SetSortDirection(cols.Items(info.Column)->DefaultSortDirection());
      }
    }
    if (Button == plat::mbRight && FOptions.Has(hoAutoColumnPopupMenu)) ShowColumnPopupMenu(hp);
    if (OnHeaderClick) OnHeaderClick(this, info);
  }
  if (!info.Has(hhiNoWhere)) InvalidateColumn(info.Column);
}

void TLTHeader::ShowColumnPopupMenu(plat::TPoint HP) {
  delete FColumnPopupMenu;  // the previous automatic menu
  auto* menu = new TLTHeaderPopupMenu(FOwner);
  FColumnPopupMenu = menu;
  menu->OnColumnChange = [this](TBaseLazyTreeControl* Sender, TColumnIndex Column, bool Visible) {
    if (OnColumnVisibilityChanged) OnColumnVisibilityChanged(Sender, Column, Visible);
  };
  menu->SetPopupComponent(FOwner);
  TLTHeaderPopupOptions options;
  if (FOptions.Has(hoDblClickResize) && FOwner->RootNode()->ChildCount > 0) options.Include(poResizeToFitItem);
  menu->SetOptions(options);
  const plat::TPoint screen = FOwner->ClientToScreen(HP);
  menu->Popup(screen.X, screen.Y);
}

bool TLTHeader::LeftPress(plat::TPoint P, plat::TShiftState Shift) {
  FHost->CancelHint();
  FHost->StopTimer(TBaseLazyTreeControl::ScrollTimer);
  FOwner->DoStateChange({}, {tsScrollPending, tsScrolling});
  FHost->StopTimer(TBaseLazyTreeControl::EditTimer);
  FOwner->DoStateChange({}, {tsEditPending});
  FDragStart = P;
  const bool inHeader = InHeader(P);
  const bool onEdge = InHeaderSplitterArea(P) && HeightDividerDraggable(P);
  const bool onDivider = PointOnColumnDivider(P);
  if (onEdge || onDivider) {
    FTrackStart = P;
    FColumns->FHoverIndex = NoColumn;
    if (onEdge) {
      if (OnBeforeHeaderHeightTracking) OnBeforeHeaderHeightTracking(this, Shift);
      FStates.Include(hsHeightTrackPending);
    } else {
      if (OnBeforeColumnWidthTracking) OnBeforeColumnWidthTracking(this, FColumns->FTrackIndex, Shift);
      FStates.Include(hsColumnWidthTrackPending);
    }
    FOwner->SetMouseCapture(true);
    return true;
  }
  if (!inHeader) return false;
  const TColumnIndex column = TrackPressedColumn(P);
  if (FOptions.Has(hoDrag) && column >= 0 && FColumns->Items(column)->Options().Has(coDraggable)) {
    FStates.Include(hsDragPending);
    FOwner->SetMouseCapture(true);
    return true;
  }
  const plat::TPoint hp = ToHeader(P);
  if (OnHeaderMouseDown) OnHeaderMouseDown(this, plat::mbLeft, Shift, hp.X, hp.Y);
  return true;
}

bool TLTHeader::MouseMoveWhileTracking(plat::TPoint P, plat::TShiftState Shift) {
  TLazyTreeColumns& cols = *FColumns;
  if (FStates.Has(hsColumnWidthTrackPending) || FStates.Has(hsHeightTrackPending)) {
    FHost->StopTimer(HeaderTimer);
    const bool width = FStates.Has(hsColumnWidthTrackPending);
    FStates.Exclude(width ? hsColumnWidthTrackPending : hsHeightTrackPending);
    FStates.Include(width ? hsColumnWidthTracking : hsHeightTracking);
    return true;
  }
  if (FStates.Has(hsColumnWidthTracking)) {
    bool allowed = true;
    if (OnColumnWidthTracking) OnColumnWidthTracking(this, cols.FTrackIndex, Shift, FTrackPoint, P, allowed);
    if (!allowed || !cols.IsValidColumn(cols.FTrackIndex)) return true;
    TLazyTreeColumn* tracked = cols.Items(cols.FTrackIndex);
    const int w = P.X - FTrackPoint.X;
    const TColumnIndex next = cols.GetNextVisibleColumn(cols.FTrackIndex);
    if (FOptions.Has(hoAutoResize) && cols.FTrackIndex == FAutoSizeIndex && next >= 0 &&
        cols.Items(next)->Options().Has(coResizable) && tracked->MinWidth() < w && w < tracked->MaxWidth()) {
      TLazyTreeColumn* n = cols.Items(next);
      n->SetWidth(n->Width() + tracked->Width() - w);
    } else {
      tracked->SetWidth(w);
    }
    return true;
  }
  if (FStates.Has(hsHeightTracking)) {
    bool allowed = true;
    plat::TPoint p = P;
    if (OnHeaderHeightTracking) OnHeaderHeightTracking(this, p, Shift, allowed);
    if (allowed) SetHeight(FHeight + p.Y);
    return true;
  }
  if (FStates.Has(hsDragPending)) {
    if (!FOptions.Has(hoDrag)) return false;
    bool allowed = true;
    if (OnHeaderDragging) OnHeaderDragging(this, cols.FDownIndex, allowed);
    if (!allowed) return false;
    // The platform's drag threshold, in either axis.
    const int threshold = QApplication::startDragDistance();
    if (std::abs(P.X - FDragStart.X) <= threshold && std::abs(P.Y - FDragStart.Y) <= threshold) return false;
    FHost->StopTimer(HeaderTimer);
    if (cols.FDownIndex >= 0) InvalidateColumn(cols.FDownIndex);
    cols.FDownIndex = cols.FHoverIndex = NoColumn;
    StartColumnDrag(P, FDragStart);
    FStates.Exclude(hsDragPending);
    FStates.Include(hsDragging);
    MoveColumnDrag(P);
    return true;
  }
  if (FStates.Has(hsDragging)) {
    MoveColumnDrag(P);
    return true;
  }
  return false;
}

// The picture of the dragged column follows the mouse from where the column's button lies.
void TLTHeader::StartColumnDrag(plat::TPoint P, plat::TPoint Start) {
  TLazyTreeColumns& cols = *FColumns;
  cols.FDropTarget = NoColumn;
  cols.FDragIndex = cols.ColumnFromPosition(ToHeader(Start), true);
  if (!cols.IsValidColumn(cols.FDragIndex)) return;
  const TLazyTreeColumn& c = *cols.Items(cols.FDragIndex);
  QImage picture(std::max(c.FWidth, 1), std::max(FHeight, 1), QImage::Format_ARGB32);
  picture.fill(plat::ToQColor(plat::clBtnFace));
  {
    plat::TCanvas canvas(&picture);
    PaintHeader(&canvas, plat::TRect(c.FLeft, 0, c.FLeft + c.FWidth, FHeight), plat::TPoint(0, 0));
  }
  FDragImage->SetMoveRestriction(FOptions.Has(hoRestrictDrag) ? dmrHorizontalOnly : dmrNone);
  const plat::TPoint at = FOwner->ClientToScreen(plat::TPoint(c.Left(), -FHeight));
  const plat::TPoint hot = FOwner->ClientToScreen(P);
  FDragImage->PrepareDrag(picture, QPoint(at.X, at.Y), QPoint(hot.X, hot.Y), nullptr);
  FDragImage->ShowDragImage();
}

void TLTHeader::MoveColumnDrag(plat::TPoint P) {
  TLazyTreeColumns& cols = *FColumns;
  const TColumnIndex column = cols.ColumnFromPosition(ToHeader(P), true);
  bool repaint = column >= 0 && column != cols.FDropTarget;
  if (column >= 0) {
    int left = 0, right = 0;
    cols.GetColumnBounds(column, left, right);
    const bool before = P.X < (left + right) / 2;
    if (before != cols.FDropBefore) {
      cols.FDropBefore = before;
      repaint = true;
    }
  }
  if (repaint) {
    if (cols.FDropTarget >= 0) {
      InvalidateColumn(cols.FDropTarget);
      cols.FDropTarget = NoColumn;
    }
    if (column >= 0) {
      InvalidateColumn(column);
      cols.FDropTarget = column;
    }
  }
  const plat::TPoint screen = FOwner->ClientToScreen(P);
  FDragImage->DragTo(QPoint(screen.X, screen.Y), repaint);
}

void TLTHeader::EndColumnDrag(plat::TPoint P) {
  TLazyTreeColumns& cols = *FColumns;
  FDragImage->EndDrag();
  const bool inWindow = P.X >= 0 && P.X < FOwner->Width() && P.Y >= -FHeight && P.Y < FHost->RowsHeight();
  const TColumnIndex drag = cols.FDragIndex, target = cols.FDropTarget;
  if (target >= 0 && target != drag && inWindow && cols.IsValidColumn(drag)) {
    const auto t = static_cast<int>(cols.Items(target)->Position());
    const auto old = static_cast<int>(cols.Items(drag)->Position());
    int position = 0;
    if (cols.FDropBefore)
      position = t > old ? t - 1 : t;
    else
      position = t > old ? t : t + 1;
    cols.Items(drag)->SetPosition(static_cast<TColumnPosition>(position));
    if (OnHeaderDragged) OnHeaderDragged(this, drag, old);
  } else if (OnHeaderDraggedOut) {
    OnHeaderDraggedOut(this, drag, FOwner->ClientToScreen(P));
  }
  cols.FDropTarget = NoColumn;
  Invalidate();
}

bool TLTHeader::LeftRelease(plat::TPoint P, plat::TShiftState Shift) {
  TLazyTreeColumns& cols = *FColumns;
  const bool captured = AnyOf(FStates, InteractionStates);
  if (captured || InHeader(P)) FHost->CancelHint();
  if (captured) {
    FOwner->SetMouseCapture(false);
    if (FStates.Has(hsDragging)) EndColumnDrag(P);
    if (cols.FDownIndex >= 0) ProcessColumnClick(P, plat::mbLeft, false, false, Shift);
    if (OnHeaderMouseUp) OnHeaderMouseUp(this, plat::mbLeft, Shift, P.X, P.Y);
  } else if (InHeader(P)) {
    ProcessColumnClick(P, plat::mbLeft, false, false, Shift);
    const plat::TPoint hp = ToHeader(P);
    if (OnHeaderMouseUp) OnHeaderMouseUp(this, plat::mbLeft, Shift, hp.X, hp.Y);
  } else {
    return false;
  }
  if (cols.FTrackIndex >= 0) {
    if (FStates.Has(hsColumnWidthTracking) && OnAfterColumnWidthTracking) OnAfterColumnWidthTracking(this, cols.FTrackIndex);
    InvalidateColumn(cols.FTrackIndex);
    cols.FTrackIndex = NoColumn;
  }
  if (cols.FDownIndex >= 0) {
    InvalidateColumn(cols.FDownIndex);
    cols.FDownIndex = NoColumn;
  }
  if (FStates.Has(hsHeightTracking) && OnAfterHeaderHeightTracking) OnAfterHeaderHeightTracking(this);
  FStates = FStates - InteractionStates;
  return true;
}

bool TLTHeader::DoubleClick(plat::TMessage& M, plat::TMouseButton Button, plat::TPoint P, plat::TShiftState Shift) {
  if (FOptions.Has(hoHeightDblClickResize) && InHeaderSplitterArea(P) && FDefaultHeight > 0) {
    bool allowed = true;
    if (OnHeaderHeightDblClickResize) OnHeaderHeightDblClickResize(this, P, Shift, allowed);
    // The edge goes back to the default height, the height a user resetting the header expects.
    if (allowed && FDefaultHeight > 0) SetHeight(FDefaultHeight);
    M.Result = 0;
    return true;
  }
  if (Button == plat::mbLeft && FOptions.Has(hoDblClickResize) && PointOnColumnDivider(P) && FColumns->FTrackIndex >= 0) {
    const TColumnIndex track = FColumns->FTrackIndex;
    bool allowed = true;
    if (OnColumnWidthDblClickResize) OnColumnWidthDblClickResize(this, track, Shift, P, allowed);
    if (allowed) {
      const auto pos = static_cast<int>(FColumns->Items(track)->Position());
      AutoFitColumns(true, smaUseColumnOption, pos, pos);
    }
    M.Result = 0;
    return true;
  }
  if (!InHeader(P)) return false;
  if (Button == plat::mbLeft) TrackPressedColumn(P);
  ProcessColumnClick(P, Button, true, true, Shift);
  return true;
}

bool TLTHeader::OtherButton(plat::TMessage& M, plat::TMouseButton Button, bool Press, plat::TPoint P,
                            plat::TShiftState Shift) {
  if (!InHeader(P)) return false;
  const plat::TPoint hp = ToHeader(P);
  if (Press) {
    if (OnHeaderMouseDown) OnHeaderMouseDown(this, Button, Shift, hp.X, hp.Y);
    return true;
  }
  if (Button == plat::mbRight) FHost->CancelHint();
  ProcessColumnClick(P, Button, true, false, Shift);
  if (OnHeaderMouseUp) OnHeaderMouseUp(this, Button, Shift, hp.X, hp.Y);
  FColumns->FDownIndex = NoColumn;
  if (Button == plat::mbRight) FColumns->FTrackIndex = NoColumn;
  FColumns->FCheckBoxHit = false;
  plat::TPopupMenu* menu = nullptr;
  if (Button == plat::mbRight) menu = FPopupMenu ? FPopupMenu : TreePopupMenu(P);
  if (menu) {
    FHost->StopTimer(TBaseLazyTreeControl::ScrollTimer);
    FHost->StopTimer(HeaderTimer);
    FColumns->FHoverIndex = NoColumn;
    FOwner->DoStateChange({}, {tsScrollPending, tsScrolling});
    menu->SetPopupComponent(FOwner);
    const plat::TPoint screen = FOwner->ClientToScreen(P);
    menu->Popup(screen.X, screen.Y);
  }
  M.Result = 0;
  return true;
}

// Without a menu of its own the header shows what the tree's OnGetPopupMenu gives for the column.
plat::TPopupMenu* TLTHeader::TreePopupMenu(plat::TPoint P) {
  if (!FOwner->OnGetPopupMenu) return nullptr;
  plat::TPopupMenu* menu = nullptr;
  bool askParent = false;
  const TColumnIndex column = FColumns->ColumnFromPosition(ToHeader(P), true);
  FOwner->OnGetPopupMenu(FOwner, nullptr, column, P, askParent, menu);
  return menu;
}

bool TLTHeader::CancelTracking() {
  TLazyTreeColumns& cols = *FColumns;
  if (FStates.Has(hsDragging)) {
    FOwner->SetMouseCapture(false);
    FDragImage->EndDrag();
    FStates.Exclude(hsDragging);
    cols.FDropTarget = NoColumn;
    Invalidate();
    return true;
  }
  const bool width = FStates.Has(hsColumnWidthTracking), height = FStates.Has(hsHeightTracking);
  if (width || height) {
    FOwner->SetMouseCapture(false);
    if (width && OnAfterColumnWidthTracking) OnAfterColumnWidthTracking(this, cols.FTrackIndex);
    if (height && OnAfterHeaderHeightTracking) OnAfterHeaderHeightTracking(this);
  }
  FStates = FStates - THeaderStates{hsColumnWidthTracking, hsColumnWidthTrackPending, hsHeightTracking, hsHeightTrackPending};
  return width || height;
}

bool TLTHeader::HeaderTimerTick() {
  TLazyTreeColumns& cols = *FColumns;
  if (!InHeader(FHost->CursorClientPos()) || (cols.FDownIndex >= 0 && cols.FDownIndex != cols.FHoverIndex)) {
    FHost->StopTimer(HeaderTimer);
    cols.FHoverIndex = cols.FClickIndex = cols.FDownIndex = NoColumn;
    cols.FCheckBoxHit = false;
    Invalidate();
  }
  return true;
}

bool TLTHeader::SetCursorMessage(plat::TMessage& M) {
  if (AnyOf(FStates, InteractionStates)) {
    M.Result = 1;
    return true;
  }
  const plat::TPoint p = FHost->CursorClientPos();
  const bool onDivider = PointOnColumnDivider(p);
  const bool onEdge = InHeaderSplitterArea(p) && HeightDividerDraggable(p);
  if (!onDivider && !onEdge) return false;
  plat::TCursor cursor = FOwner->Cursor();
  if (onEdge && FOptions.Has(hoHeightResize))
    cursor = crVertSplit;
  else if (onDivider)
    cursor = crHeaderSplit;
  if (OnGetHeaderCursor) OnGetHeaderCursor(this, cursor);
  if (cursor == plat::crDefault) return false;
  FHeaderCursor = cursor;
  M.Result = 1;
  return true;
}

bool TLTHeader::HeaderMessage(plat::TMessage& M) {
  if (!FOwner) return false;
  const plat::TPoint p = MessagePoint(M);
  const plat::TShiftState shift = plat::KeysToShiftState(M.WParam);
  switch (M.Msg) {
    case plat::WM_LBUTTONDOWN: return LeftPress(p, shift);
    case plat::WM_LBUTTONUP: return LeftRelease(p, shift);
    case plat::WM_MOUSEMOVE: {
      if (AnyOf(FStates, InteractionStates)) return MouseMoveWhileTracking(p, shift) || true;
      if (!InHeader(p)) {
        if (FColumns->FHoverIndex >= 0) TrackHotColumn({-1, -1});
        return false;
      }
      const plat::TPoint hp = ToHeader(p);
      if (OnHeaderMouseMove) OnHeaderMouseMove(this, shift, hp.X, hp.Y);
      if (TrackHotColumn(hp) || FColumns->FDownIndex >= 0) FHost->StartTimer(HeaderTimer, 50);
      return true;
    }
    case plat::WM_LBUTTONDBLCLK: return DoubleClick(M, plat::mbLeft, p, shift);
    case plat::WM_RBUTTONDBLCLK: return DoubleClick(M, plat::mbRight, p, shift);
    case plat::WM_MBUTTONDBLCLK: return DoubleClick(M, plat::mbMiddle, p, shift);
    case plat::WM_RBUTTONDOWN: return OtherButton(M, plat::mbRight, true, p, shift);
    case plat::WM_RBUTTONUP: return OtherButton(M, plat::mbRight, false, p, shift);
    case plat::WM_MBUTTONDOWN: return OtherButton(M, plat::mbMiddle, true, p, shift);
    case plat::WM_MBUTTONUP: return OtherButton(M, plat::mbMiddle, false, p, shift);
    case plat::WM_TIMER: return static_cast<int>(M.WParam) == HeaderTimer && HeaderTimerTick();
    case plat::WM_SETCURSOR: return SetCursorMessage(M);
    case plat::WM_KEYDOWN:
      if (M.WParam != plat::VK_ESCAPE) return false;
      [[fallthrough]];
    case plat::WM_KILLFOCUS:
    case plat::WM_CANCELMODE:
      if (!CancelTracking()) return false;
      M.Result = 0;
      return true;
    default: return false;
  }
}

}  // namespace lazytree
