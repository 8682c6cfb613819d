// The tree's geometry on the window: offsets and their clamping, ranges, the window's scroll bars, scroll
// messages and the wheel, node rectangles, keeping nodes in view, the nodes at the top and bottom edge.
#include <QApplication>
#include <QCursor>

#include <algorithm>
#include <vector>
#include <cmath>

#include "tree/treecontrol.h"

namespace lazytree {

namespace {
constexpr int kScrollBarExtent = 17;  // the layer's scroll-bar thickness
}  // namespace

// ------------------------------------------------------------------------------------------------------------
// Offsets

// The one place where offsets change. Answers whether anything moved.
bool TBaseLazyTreeControl::ScrollToOffset(plat::TPoint Value, TOffsetUpdateOptions Options, const plat::TRect*) {
  auto clamp = [](int v, int client, uint32_t range) {
    const int64_t low = std::min<int64_t>(0, static_cast<int64_t>(client) - range);
    return static_cast<int>(std::clamp<int64_t>(v, low, 0));
  };
  const int x = clamp(Value.X, ClientW(), FRangeX);
  const int y = clamp(Value.Y, ClientH(), FRangeY);
  const int dx = x - FOffsetX;
  const int dy = y - FOffsetY;
  if (dx == 0 && dy == 0) return false;
  FOffsetX = x;
  FOffsetY = y;
  FEffectiveOffsetX = -FOffsetX;
  if (TreeStates().Has(tsHint)) CancelHint();
  if (!Updating()) {
    // The window is painted whole from the model; moving pixels first would gain nothing here.
    if (Options.Has(ouScrollClientArea) && !TreeStates().Has(tsToggling)) Invalidate();
    if (Options.Has(ouUpdateScrollBars)) {
      const bool repaint = Options.Has(ouRepaintScrollBars);
      if (dx != 0 && !TreeStates().Has(tsSizing) && FScrollBarOptions.HasHorizontal())
        UpdateHorizontalScrollBar(repaint);
      if (dy != 0 && !TreeStates().Has(tsSizing) && !TreeStates().Has(tsThumbTracking)) {
        UpdateVerticalScrollBar(repaint);
        // Without columns the horizontal range follows the rows now in the window.
        if (FScrollBarOptions.HasHorizontal()) UpdateHorizontalScrollBar(repaint);
      }
    }
  }
  DoScroll(dx, dy);
  UpdateStyledScrollBars();
  UpdateEditBounds();  // an open editor moves with its cell and keeps what was typed
  return true;
}

void TBaseLazyTreeControl::DoScroll(int DeltaX, int DeltaY) {
  if (OnScroll) OnScroll(this, DeltaX, DeltaY);
}

void TBaseLazyTreeControl::DoShowScrollBar(int Bar, bool Show) {
  const bool was = ScrollBarVisible(Bar);
  ShowScrollBar(Bar, Show);
  if (was != Show && OnShowScrollBar) OnShowScrollBar(this, Bar, Show);
}

// ------------------------------------------------------------------------------------------------------------
// Ranges and scroll bars

void TBaseLazyTreeControl::UpdateVerticalRange() {
  const PLazyNode root = RootNode();
  FRangeY = root->TotalHeight + FBottomSpace - root->NodeHeight;
}

// Without columns the content is as wide as the widest row from the top node to the bottom edge.
void TBaseLazyTreeControl::UpdateHorizontalRange() {
  if (FHeader && FHeader->UseColumns()) {
    FRangeX = static_cast<uint32_t>(FHeader->Columns().TotalWidth());
    return;
  }
  FRangeX = static_cast<uint32_t>(std::max(MaxVisibleRightExtent(), 0));
}

int TBaseLazyTreeControl::MaxVisibleRightExtent() {
  int top = 0;
  PLazyNode node = GetNodeAt(0, 0, true, top);
  if (!node) return 0;
  const int indent = static_cast<int>(FIndent);
  int64_t indentation =
      (static_cast<int64_t>(GetNodeLevel(node)) + (TreeOptions().PaintOptions.Has(toShowRoot) ? 1 : 0)) * indent;
  if (FStateImages.List) indentation += FStateImages.List->Width() + 2;
  if (FImages.List) indentation += FImages.List->Width() + 2;
  const int checkWidth = TreeOptions().MiscOptions.Has(toCheckSupport) && CheckImagesInForce() ? CheckImageWidth() + 2 : 0;
  int64_t widest = 0;
  for (int y = top; node;) {
    if (!node->Has(vsInitialized)) InitNode(node);
    const int64_t width = indentation + (node->CheckType != ctNone ? checkWidth : 0) + DoGetNodeWidth(node, NoColumn) +
                          DoGetNodeExtraWidth(node, NoColumn);
    widest = std::max(widest, width);
    y += static_cast<int>(GetNodeHeight(node));
    if (y > Height()) break;  // the first row that reaches past the window is the last one measured
    PLazyNode next = GetNextVisible(node, true);
    if (next) indentation += static_cast<int64_t>(LevelDifference(node, next)) * indent;
    node = next;
  }
  return static_cast<int>(std::min<int64_t>(widest + FMargin, INT32_MAX));
}

void TBaseLazyTreeControl::UpdateRanges() {
  UpdateVerticalRange();
  UpdateHorizontalRange();
}

void TBaseLazyTreeControl::UpdateVerticalScrollBar(bool DoRepaint) {
  UpdateVerticalRange();
  if (TreeStates().Has(tsUpdating)) return;
  if (!FScrollBarOptions.HasVertical()) {
    DoShowScrollBar(plat::SB_VERT, false);
    SetOffsetY(FOffsetY);
    return;
  }
  plat::TScrollInfo si;
  si.fMask = plat::SIF_ALL;
  if (ClientH() < static_cast<int64_t>(FRangeY) || FScrollBarOptions.AlwaysVisible()) {
    DoShowScrollBar(plat::SB_VERT, true);
    si.nMin = 0;
    si.nMax = static_cast<int>(FRangeY);
    si.nPos = -FOffsetY;
    si.nPage = static_cast<plat::UINT>(std::max(ClientH() + 1, 0));
    if (FScrollBarOptions.AlwaysVisible()) si.fMask |= plat::SIF_DISABLENOSCROLL;
  } else {
    si.nMin = si.nMax = si.nPos = 0;
    si.nPage = 0;
    DoShowScrollBar(plat::SB_VERT, false);
    DoRepaint = false;
  }
  SetScrollInfo(plat::SB_VERT, si, DoRepaint);
  SetOffsetY(-GetScrollPos(plat::SB_VERT));
}

void TBaseLazyTreeControl::UpdateHorizontalScrollBar(bool DoRepaint) {
  UpdateHorizontalRange();
  if (TreeStates().Has(tsUpdating)) return;
  FEffectiveOffsetX = -FOffsetX;
  if (!FScrollBarOptions.HasHorizontal()) {
    DoShowScrollBar(plat::SB_HORZ, false);
    SetOffsetX(FOffsetX);
    return;
  }
  plat::TScrollInfo si;
  si.fMask = plat::SIF_ALL;
  if (ClientW() < static_cast<int64_t>(FRangeX) || FScrollBarOptions.AlwaysVisible()) {
    DoShowScrollBar(plat::SB_HORZ, true);
    si.nMin = 0;
    si.nMax = static_cast<int>(FRangeX);
    si.nPos = FEffectiveOffsetX;
    si.nPage = static_cast<plat::UINT>(std::max(ClientW() + 1, 0));
    if (FScrollBarOptions.AlwaysVisible()) si.fMask |= plat::SIF_DISABLENOSCROLL;
  } else {
    si.nMin = si.nMax = si.nPos = 0;
    si.nPage = 0;
    DoShowScrollBar(plat::SB_HORZ, false);
    DoRepaint = false;
  }
  SetScrollInfo(plat::SB_HORZ, si, DoRepaint);
  FEffectiveOffsetX = GetScrollPos(plat::SB_HORZ);
  SetOffsetX(-FEffectiveOffsetX);
}

// A bar that appears takes room from the client area, which can call for the other bar: the vertical bar is
// set again once when the client size changed on the way (no loop).
void TBaseLazyTreeControl::UpdateScrollBars(bool DoRepaint) {
  if (IsDestroying()) return;
  const plat::TSize before{ClientW(), ClientH()};
  UpdateVerticalScrollBar(DoRepaint);
  UpdateHorizontalScrollBar(DoRepaint);
  if (before.cx != ClientW() || before.cy != ClientH()) UpdateVerticalScrollBar(DoRepaint);
  if (FScrollBarTop != HeaderBand()) {
    FScrollBarTop = HeaderBand();
    RelayoutScrollBars();
  }
  UpdateStyledScrollBars();
}

plat::TRect TBaseLazyTreeControl::GetTreeRect() const {
  return plat::Rect(0, 0, std::max<int>(ClientWidth(), static_cast<int>(FRangeX)),
                    std::max<int>(ClientH(), static_cast<int>(FRangeY)));
}

// ------------------------------------------------------------------------------------------------------------
// Messages

void TBaseLazyTreeControl::HandleScrollMessage(plat::TMessage& M, bool Vertical) {
  M.Result = 0;
  const int code = plat::TWMScroll(M).ScrollCode();
  if (code > plat::SB_ENDSCROLL || code < 0) return;
  const int bar = Vertical ? plat::SB_VERT : plat::SB_HORZ;
  const int page = Vertical ? ClientH() : ClientW();
  const int step = Vertical ? FScrollBarOptions.VerticalIncrement() : FScrollBarOptions.HorizontalIncrement();
  const int offset = Vertical ? FOffsetY : FOffsetX;
  auto set = [&](int v) { Vertical ? SetOffsetY(v) : SetOffsetX(v); };
  switch (code) {
    case plat::SB_LINEUP: set(offset + step); break;
    case plat::SB_LINEDOWN: set(offset - step); break;
    case plat::SB_PAGEUP: set(offset + page); break;
    case plat::SB_PAGEDOWN: set(offset - page); break;
    case plat::SB_TOP: set(0); break;
    case plat::SB_BOTTOM:
      set(Vertical ? -static_cast<int>(RootNode()->TotalHeight) : -static_cast<int>(FRangeX));
      break;
    case plat::SB_THUMBPOSITION:
    case plat::SB_THUMBTRACK: {
      DoStateChange({tsThumbTracking});
      plat::TScrollInfo si;
      si.fMask = plat::SIF_TRACKPOS;
      GetScrollInfo(bar, si);  // the full track position, not the 16-bit one of the message
      set(-si.nTrackPos);
      break;
    }
    case plat::SB_ENDSCROLL:
      DoStateChange({}, {tsThumbTracking});
      if (Vertical)
        UpdateScrollBars(true);
      else
        UpdateHorizontalScrollBar(false);
      break;
    default: break;
  }
}

bool TBaseLazyTreeControl::DoMouseWheel(plat::TShiftState Shift, int WheelDelta, plat::TPoint MousePos) {
  StopWheelPanning();
  if (plat::TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  const double notches = WheelDelta / 120.0;
  const int lines = QApplication::wheelScrollLines();
  if (ClientH() < static_cast<int64_t>(FRangeY) && !Shift.Contains(plat::ssShift)) {
    const double amount = Shift.Contains(plat::ssCtrl) ? ClientH() * notches
                                                        : lines * notches * DefaultNodeHeight();
    SetOffsetY(FOffsetY + static_cast<int>(std::trunc(amount)));
  } else {
    const double amount = Shift.Contains(plat::ssCtrl) ? ClientW() * notches
                                                        : lines * notches * FHeader->Columns().GetScrollWidth();
    SetOffsetX(FOffsetX + static_cast<int>(std::trunc(amount)));
  }
  return true;
}

void TBaseLazyTreeControl::HandleResize() {
  if (TreeStates().Has(tsSizing) || TreeStates().Has(tsWindowCreating) || ClientH() < 1) return;
  DoStateChange({tsSizing});
  try {
    UpdateScrollBars(true);
  } catch (...) {
    DoStateChange({}, {tsSizing});
    throw;
  }
  DoStateChange({}, {tsSizing});
}

// ------------------------------------------------------------------------------------------------------------
// Node rectangles and positions

plat::TRect TBaseLazyTreeControl::GetDisplayRect(PLazyNode Node, TColumnIndex Column, bool TextOnly,
                                                 bool Unclipped, bool /*ApplyCellContentMargin*/) {
  if (!Node) throw ELazyTreeAssertion("Node must not be nil.");
  if (Node == RootNode()) throw ELazyTreeAssertion("Node must not be the hidden root node.");
  if (!Node->Has(vsInitialized)) InitNode(Node);
  if (!GetEffectivelyVisible(Node)) return {};
  int64_t indent = 0;
  if (!TreeOptions().PaintOptions.Has(toFixedIndent)) {
    for (PLazyNode n = Node; n != RootNode(); n = n->Parent) {
      if (!n->Has(vsVisible) || !n->Parent->Has(vsExpanded)) return {};
      if (n->Parent != RootNode()) indent += FIndent;
    }
  }
  const int top = static_cast<int>(NodeAbsoluteTop(*this, FPositionCache.Usable(), Node));
  plat::TRect r(0, top, std::max<int>(ClientW(), static_cast<int>(FRangeX)),
                top + static_cast<int>(GetNodeHeight(Node)));
  if (Column == NoColumn || !FHeader->Columns().IsValidColumn(Column)) {
    r.Left -= FEffectiveOffsetX;
    r.Right -= FEffectiveOffsetX;
  } else {
    FHeader->Columns().GetColumnBounds(Column, r.Left, r.Right);
    r.Right -= 1;
  }
  r.Top += FOffsetY;
  r.Bottom += FOffsetY;
  const bool mainColumnHit = Column == NoColumn || Column == FHeader->MainColumn();
  if (!mainColumnHit) indent = 0;
  if (!TextOnly) return r;
  int64_t offset = FMargin + indent;
  if (mainColumnHit) {
    if (TreeOptions().PaintOptions.Has(toShowRoot)) offset += FIndent;
    if (TreeOptions().MiscOptions.Has(toCheckSupport) && CheckImagesInForce() && Node->CheckType != ctNone)
      offset += CheckImageWidth() + 2;
  }
  // The text starts right of the images the row shows in this column.
  const TColumnIndex imageColumn = Column == NoColumn ? FHeader->MainColumn() : Column;
  if (const int w = HitImageWidth(Node, imageColumn, true)) offset += w + 2;
  if (const int w = HitImageWidth(Node, imageColumn, false)) offset += w + 2;
  const bool rightToLeft = HitColumnRightToLeft(Column);
  if (rightToLeft)
    r.Right -= static_cast<int>(offset);
  else
    r.Left += static_cast<int>(offset);
  const int textWidth = DoGetNodeWidth(Node, Column);
  plat::TAlignment align = HitColumnAlignment(Column);
  if (rightToLeft && align != plat::taCenter)
    align = align == plat::taLeftJustify ? plat::taRightJustify : plat::taLeftJustify;
  if (Unclipped) {
    if (r.Width() < textWidth - 1) align = rightToLeft ? plat::taRightJustify : plat::taLeftJustify;
    const int textHeight = std::min(Font()->Height() < 0 ? -Font()->Height() : Font()->Height(), r.Height());
    if (textHeight > r.Height()) {
      const int d = (textHeight - r.Height() + 1) / 2;
      r.Top -= d;
      r.Bottom += d;
    }
  } else if (textWidth >= r.Width()) {
    return r;
  }
  switch (align) {
    case plat::taRightJustify: r.Left = r.Right - textWidth; break;
    case plat::taCenter:
      r.Left = (r.Left + r.Right - textWidth) / 2;
      r.Right = r.Left + textWidth;
      break;
    default: r.Right = r.Left + textWidth - (Unclipped ? 1 : 0); break;
  }
  return r;
}

PLazyNode TBaseLazyTreeControl::GetNodeAt(int /*X*/, int Y, bool Relative, int& NodeTop) {
  const int64_t y0 = Y < 0 ? 0 : Y;  // a point above the window counts as its top row
  const int64_t y = Relative ? y0 - FOffsetY : y0;
  if (y < 0) {
    NodeTop = 0;
    return nullptr;
  }
  uint32_t top = 0;
  PLazyNode n = nullptr;
  if (FLastLookup.Node && y >= FLastLookup.Top && y < FLastLookup.Bottom) {
    n = FLastLookup.Node;
    top = FLastLookup.Top;
  } else {
    n = NodeAtPosition(*this, FPositionCache.Usable(), static_cast<uint32_t>(y), top);
    if (n) FLastLookup = {n, top, top + n->NodeHeight};
  }
  NodeTop = Relative ? static_cast<int>(top) + FOffsetY : static_cast<int>(top);
  return n;
}

PLazyNode TBaseLazyTreeControl::TopNode() { return GetNodeAt(0, 0); }

PLazyNode TBaseLazyTreeControl::BottomNode() { return GetNodeAt(0, ClientH() - 1); }

namespace {
// Collapsed ancestors, outermost first.
std::vector<PLazyNode> CollapsedAncestors(PLazyNode Node, PLazyNode Root) {
  std::vector<PLazyNode> list;
  for (PLazyNode p = Node->Parent; p && p != Root; p = p->Parent)
    if (!p->Has(vsExpanded)) list.push_back(p);
  std::reverse(list.begin(), list.end());
  return list;
}
}  // namespace

void TBaseLazyTreeControl::SetTopNode(PLazyNode Node) {
  if (!Node || Node == RootNode()) return;
  for (PLazyNode p : CollapsedAncestors(Node, RootNode())) ToggleNode(p);
  const plat::TRect r = GetDisplayRect(Node, NoColumn, true);
  SetOffsetY(FOffsetY - r.Top);
}

void TBaseLazyTreeControl::SetBottomNode(PLazyNode Node) {
  if (!Node || Node == RootNode()) return;
  for (PLazyNode p : CollapsedAncestors(Node, RootNode())) ToggleNode(p);
  const plat::TRect r = GetDisplayRect(Node, NoColumn, true);
  ScrollToOffset({FOffsetX, ClientH() + FOffsetY - r.Top - static_cast<int>(GetNodeHeight(Node))},
                 {ouRepaintScrollBars, ouUpdateScrollBars}, nullptr);
}

bool TBaseLazyTreeControl::ScrollIntoView(PLazyNode Node, bool Center, bool /*Horizontally*/) {
  if (!Node || Node == RootNode()) return false;
  for (PLazyNode p : CollapsedAncestors(Node, RootNode())) ToggleNode(p);
  const plat::TRect r = GetDisplayRect(Node, NoColumn, !TreeOptions().MiscOptions.Has(toGridExtensions));
  const int half = Center ? ClientH() / 2 : 0;
  if (r.Top < 0) {
    SetOffsetY(FOffsetY - r.Top + half);
    return true;
  }
  if (r.Bottom > ClientH() || Center) {
    const bool hbar = FScrollBarOptions.HasHorizontal() &&
                      (FScrollBarOptions.AlwaysVisible() || ClientW() < static_cast<int64_t>(FRangeX));
    SetOffsetY(FOffsetY + (Center ? half : ClientH()) - r.Bottom);
    // Room for a horizontal bar about to appear below the node.
    if (!hbar && ClientW() < static_cast<int64_t>(FRangeX)) SetOffsetY(FOffsetY - kScrollBarExtent);
    return true;
  }
  return false;
}

bool TBaseLazyTreeControl::CanAutoScroll() const {
  const TLazyTreeStates s = TreeStates();
  const bool panning = s.Has(tsWheelPanning) || s.Has(tsWheelScrolling);
  return (TreeOptions().AutoOptions.Has(toAutoScroll) || panning) &&
         (s.Has(tsDrawSelPending) || s.Has(tsDrawSelecting) || s.Has(tsOLEDragging) || s.Has(tsVCLDragging) ||
          panning);
}

plat::TPoint TBaseLazyTreeControl::CursorClientPos() const {
  const QPoint p = QCursor::pos();
  return ScreenToClient(plat::TPoint(p.x(), p.y()));
}

TScrollDirections TBaseLazyTreeControl::GetAutoScrollDirections(int X, int Y) {
  TScrollDirections r;
  if (!CanAutoScroll()) return r;
  if (TreeStates().Has(tsWheelPanning) || TreeStates().Has(tsWheelScrolling)) {
    if (X > FLastClickPos.X + 8) r.Include(sdRight);
    if (X < FLastClickPos.X - 8) r.Include(sdLeft);
    if (Y < FLastClickPos.Y - 8) r.Include(sdUp);
    if (Y > FLastClickPos.Y + 8) r.Include(sdDown);
    return r;
  }
  const int e = static_cast<int>(DefaultNodeHeight());
  if (X < e && FEffectiveOffsetX != 0) r.Include(sdLeft);
  if (ClientW() + FEffectiveOffsetX < static_cast<int64_t>(FRangeX) && X > ClientW() - e) r.Include(sdRight);
  if (Y < e && FOffsetY != 0) r.Include(sdUp);
  if (ClientH() - FOffsetY < static_cast<int64_t>(FRangeY) && Y > ClientH() - e) r.Include(sdDown);
  return r;
}

void TBaseLazyTreeControl::UpdateAutoScroll(int X, int Y) {
  FScrollDirections = GetAutoScrollDirections(X, Y);
  const TLazyTreeStates s = TreeStates();
  if (s.Has(tsWheelPanning) || s.Has(tsWheelScrolling)) return;
  if (!FScrollDirections.Empty()) {
    if (!s.Has(tsScrolling) && !s.Has(tsScrollPending)) {
      DoStateChange({tsScrollPending});
      StartTimer(ScrollTimer, FAutoScrollDelay);
    }
  } else if (s.Has(tsScrolling) || s.Has(tsScrollPending)) {
    StopTimer(ScrollTimer);
    DoStateChange({}, {tsScrolling, tsScrollPending});
  }
}

void TBaseLazyTreeControl::AutoScrollStep() {
  const TLazyTreeStates s = TreeStates();
  const bool panning = s.Has(tsWheelPanning) || s.Has(tsWheelScrolling);
  const bool selecting = s.Has(tsDrawSelecting);
  const plat::TPoint p = CursorClientPos();
  const bool inClient = p.X >= 0 && p.Y >= 0 && p.X < ClientW() && p.Y < ClientH();
  if (selecting || inClient || panning) {
    int dx = 0, dy = 0;
    // Outside the window the step grows with the cursor's distance from the edge.
    auto amount = [&](int increment, int distance) { return inClient ? increment : increment * std::max(distance, 1); };
    const int incY = std::min(FScrollBarOptions.VerticalIncrement(), ClientH());
    const int incX = FScrollBarOptions.HorizontalIncrement();
    TScrollDirections& d = FScrollDirections;
    if (d.Has(sdUp)) dy = panning ? FLastClickPos.Y - p.Y - 8 : amount(incY, -p.Y);
    if (d.Has(sdDown)) dy = panning ? FLastClickPos.Y - p.Y + 8 : -amount(incY, p.Y - ClientH() + 1);
    if (d.Has(sdLeft)) dx = panning ? FLastClickPos.X - p.X - 8 : amount(incX, -p.X);
    if (d.Has(sdRight)) dx = panning ? FLastClickPos.X - p.X + 8 : -amount(incX, p.X - ClientW() + 1);
    if (d.Has(sdUp) && FOffsetY == 0) d.Exclude(sdUp);
    if (d.Has(sdDown) && ClientH() - FOffsetY >= static_cast<int64_t>(FRangeY)) d.Exclude(sdDown);
    if (d.Has(sdLeft) && FEffectiveOffsetX == 0) d.Exclude(sdLeft);
    if (d.Has(sdRight) && ClientW() + FEffectiveOffsetX >= static_cast<int64_t>(FRangeX)) d.Exclude(sdRight);
    if (dx != 0 || dy != 0) SetOffsetXY({FOffsetX + dx, FOffsetY + dy});
    // A rubber band follows the content that scrolls under the mouse.
    if (selecting && TrackSelectionRect(p.X, p.Y)) {
      UpdateRectSelection();
      Invalidate();
    }
    Update();
  }
  if (FScrollDirections.Empty() && !panning) {
    StopTimer(ScrollTimer);
    DoStateChange({}, {tsScrolling, tsScrollPending});
  }
}

void TBaseLazyTreeControl::InvalidateNode(PLazyNode Node) {
  if (!Node || Node == RootNode() || Updating()) return;
  Invalidate();
}

void TBaseLazyTreeControl::InvalidateChildren(PLazyNode Node, bool Recursive) {
  std::vector<PLazyNode> pending{Node ? Node : RootNode()};  // a walk of its own: deep trees need no deep stack
  while (!pending.empty()) {
    PLazyNode n = pending.back();
    pending.pop_back();
    if (n != RootNode()) {
      if (!n->Has(vsInitialized)) InitNode(n);
      InvalidateNode(n);
    }
    if (n->Has(vsHasChildren) && n->ChildCount == 0) InitChildren(n);
    for (PLazyNode c = n->FirstChild; c; c = c->NextSibling)
      if (Recursive)
        pending.push_back(c);
      else
        InvalidateNode(c);
  }
}

void TBaseLazyTreeControl::RepaintNode(PLazyNode Node) {
  if (!Node || Node == RootNode() || Updating()) return;
  Repaint();  // the window is painted whole; the row is part of it
}

void TBaseLazyTreeControl::InvalidateToBottom(PLazyNode) {
  if (!Updating()) Invalidate();
}

}  // namespace lazytree
