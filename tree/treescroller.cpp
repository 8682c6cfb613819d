#include "tree/treescroller.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace lazytree {

namespace {
constexpr int kScrollBarExtent = 17;  // the layer's scroll-bar thickness

// Collapsed ancestors, outermost first.
std::vector<PLazyNode> CollapsedAncestors(PLazyNode Node, PLazyNode Root) {
  std::vector<PLazyNode> list;
  for (PLazyNode p = Node->Parent; p && p != Root; p = p->Parent)
    if (!p->Has(vsExpanded)) list.push_back(p);
  std::reverse(list.begin(), list.end());
  return list;
}

bool Panning(TLazyTreeStates S) { return S.Has(tsWheelPanning) || S.Has(tsWheelScrolling); }
}  // namespace

// ------------------------------------------------------------------------------------------------------------
// Scroll-bar options

void TScrollBarOptions::SetAlwaysVisible(bool Value) {
  if (FAlwaysVisible == Value) return;
  FAlwaysVisible = Value;
  if (FBarsChanged) FBarsChanged();
}

void TScrollBarOptions::SetScrollBars(plat::TScrollStyle Value) {
  if (FScrollBars == Value) return;
  FScrollBars = Value;
  if (FBarsChanged) FBarsChanged();
}

void TScrollBarOptions::Assign(const TScrollBarOptions& Source) {
  SetAlwaysVisible(Source.FAlwaysVisible);
  SetScrollBars(Source.FScrollBars);
  FScrollBarStyle = Source.FScrollBarStyle;
  FIncrementX = Source.FIncrementX;
  FIncrementY = Source.FIncrementY;
}

// ------------------------------------------------------------------------------------------------------------
// Offsets

bool TTreeScroller::ScrollToOffset(plat::TPoint Value, TOffsetUpdateOptions Options) {
  auto clamp = [](int v, int client, uint32_t range) {
    const int64_t low = std::min<int64_t>(0, static_cast<int64_t>(client) - range);
    return static_cast<int>(std::clamp<int64_t>(v, low, 0));
  };
  const int x = clamp(Value.X, FHost.ClientW(), FRangeX);
  const int y = clamp(Value.Y, FHost.ClientH(), FRangeY);
  const int dx = x - FOffsetX;
  const int dy = y - FOffsetY;
  if (dx == 0 && dy == 0) return false;
  FOffsetX = x;
  FOffsetY = y;
  FEffectiveOffsetX = -FOffsetX;
  TBaseLazyTree& store = FHost.Store();
  if (store.TreeStates().Has(tsHint)) FHost.CancelHint();
  if (!FHost.Updating()) {
    const TLazyTreeStates s = store.TreeStates();
    // The window is painted whole from the model; moving pixels first would gain nothing here.
    if (Options.Has(ouScrollClientArea) && !s.Has(tsToggling)) FHost.InvalidateWindow();
    if (Options.Has(ouUpdateScrollBars)) {
      const bool repaint = Options.Has(ouRepaintScrollBars);
      const TScrollBarOptions& bars = FHost.BarOptions();
      if (dx != 0 && !s.Has(tsSizing) && bars.HasHorizontal()) UpdateHorizontalScrollBar(repaint);
      if (dy != 0 && !s.Has(tsSizing) && !s.Has(tsThumbTracking)) {
        UpdateVerticalScrollBar(repaint);
        // Without columns the horizontal range follows the rows now in the window.
        if (bars.HasHorizontal()) UpdateHorizontalScrollBar(repaint);
      }
    }
  }
  FHost.Scrolled(dx, dy);
  return true;
}

// ------------------------------------------------------------------------------------------------------------
// Ranges and scroll bars

void TTreeScroller::UpdateVerticalRange() {
  const PLazyNode root = FHost.Store().RootNode();
  FRangeY = root->TotalHeight + FHost.BottomSpace() - root->NodeHeight;
}

void TTreeScroller::UpdateHorizontalRange() { FRangeX = static_cast<uint32_t>(std::max(FHost.ContentWidth(), 0)); }

void TTreeScroller::UpdateRanges() {
  UpdateVerticalRange();
  UpdateHorizontalRange();
}

bool TTreeScroller::BarNeeded(int Client, uint32_t Range) const {
  return Client < static_cast<int64_t>(Range) || FHost.BarOptions().AlwaysVisible();
}

void TTreeScroller::FillBarInfo(plat::TScrollInfo& Info, bool Shown, int Client, uint32_t Range, int Position) const {
  Info.fMask = plat::SIF_ALL;
  if (!Shown) {
    Info.nMin = Info.nMax = Info.nPos = 0;
    Info.nPage = 0;
    return;
  }
  Info.nMin = 0;
  Info.nMax = static_cast<int>(Range);
  Info.nPos = Position;
  Info.nPage = static_cast<plat::UINT>(std::max(Client + 1, 0));
  if (FHost.BarOptions().AlwaysVisible()) Info.fMask |= plat::SIF_DISABLENOSCROLL;
}

void TTreeScroller::UpdateVerticalScrollBar(bool DoRepaint) {
  UpdateVerticalRange();
  if (FHost.Store().TreeStates().Has(tsUpdating)) return;
  if (!FHost.BarOptions().HasVertical()) {
    FHost.ShowBar(plat::SB_VERT, false);
    SetOffsetY(FOffsetY);
    return;
  }
  // The bar is shown before its page is read: showing one bar can change the client size.
  const bool shown = BarNeeded(FHost.ClientH(), FRangeY);
  FHost.ShowBar(plat::SB_VERT, shown);
  plat::TScrollInfo si;
  FillBarInfo(si, shown, FHost.ClientH(), FRangeY, -FOffsetY);
  FHost.SetBarInfo(plat::SB_VERT, si, shown && DoRepaint);
  SetOffsetY(-FHost.BarPos(plat::SB_VERT));
}

void TTreeScroller::UpdateHorizontalScrollBar(bool DoRepaint) {
  UpdateHorizontalRange();
  if (FHost.Store().TreeStates().Has(tsUpdating)) return;
  FEffectiveOffsetX = -FOffsetX;
  if (!FHost.BarOptions().HasHorizontal()) {
    FHost.ShowBar(plat::SB_HORZ, false);
    SetOffsetX(FOffsetX);
    return;
  }
  const bool shown = BarNeeded(FHost.ClientW(), FRangeX);
  FHost.ShowBar(plat::SB_HORZ, shown);
  plat::TScrollInfo si;
  FillBarInfo(si, shown, FHost.ClientW(), FRangeX, FEffectiveOffsetX);
  FHost.SetBarInfo(plat::SB_HORZ, si, shown && DoRepaint);
  FEffectiveOffsetX = FHost.BarPos(plat::SB_HORZ);
  SetOffsetX(-FEffectiveOffsetX);
}

// A bar that appears takes room from the client area, which can call for the other bar: the vertical bar is
// set again once when the client size changed on the way, and the horizontal one once more when that second
// pass made the client narrower (no loop).
void TTreeScroller::UpdateScrollBars(bool DoRepaint) {
  const plat::TSize before{FHost.ClientW(), FHost.ClientH()};
  UpdateVerticalScrollBar(DoRepaint);
  UpdateHorizontalScrollBar(DoRepaint);
  if (before.cx != FHost.ClientW() || before.cy != FHost.ClientH()) {
    const int width = FHost.ClientW();
    UpdateVerticalScrollBar(DoRepaint);
    if (width != FHost.ClientW()) UpdateHorizontalScrollBar(DoRepaint);
  }
  if (FScrollBarTop != FHost.HeaderBand()) {
    FScrollBarTop = FHost.HeaderBand();
    FHost.RelayoutBars();
  }
  FHost.BarsChanged();
}

plat::TRect TTreeScroller::TreeRect(int ClientWidth) const {
  return plat::Rect(0, 0, std::max<int>(ClientWidth, static_cast<int>(FRangeX)),
                    std::max<int>(FHost.ClientH(), static_cast<int>(FRangeY)));
}

// ------------------------------------------------------------------------------------------------------------
// Messages and the wheel

void TTreeScroller::ScrollMessage(int Code, bool Vertical) {
  if (Code > plat::SB_ENDSCROLL || Code < 0) return;
  const int bar = Vertical ? plat::SB_VERT : plat::SB_HORZ;
  const int page = Vertical ? FHost.ClientH() : FHost.ClientW();
  const TScrollBarOptions& bars = FHost.BarOptions();
  const int step = Vertical ? bars.VerticalIncrement() : bars.HorizontalIncrement();
  const int offset = Vertical ? FOffsetY : FOffsetX;
  auto set = [&](int v) { Vertical ? SetOffsetY(v) : SetOffsetX(v); };
  TBaseLazyTree& store = FHost.Store();
  switch (Code) {
    case plat::SB_LINEUP: set(offset + step); break;
    case plat::SB_LINEDOWN: set(offset - step); break;
    case plat::SB_PAGEUP: set(offset + page); break;
    case plat::SB_PAGEDOWN: set(offset - page); break;
    case plat::SB_TOP: set(0); break;
    case plat::SB_BOTTOM:
      set(Vertical ? -static_cast<int>(store.RootNode()->TotalHeight) : -static_cast<int>(FRangeX));
      break;
    case plat::SB_THUMBPOSITION:
    case plat::SB_THUMBTRACK:
      store.DoStateChange({tsThumbTracking});
      set(-FHost.BarTrackPos(bar));  // the full track position, not the 16-bit one of the message
      break;
    case plat::SB_ENDSCROLL:
      store.DoStateChange({}, {tsThumbTracking});
      if (Vertical)
        UpdateScrollBars(true);
      else
        UpdateHorizontalScrollBar(false);
      break;
    default: break;
  }
}

void TTreeScroller::Wheel(plat::TShiftState Shift, int WheelDelta, int Lines) {
  const double notches = WheelDelta / 120.0;
  const int clientH = FHost.ClientH();
  if (clientH < static_cast<int64_t>(FRangeY) && !Shift.Contains(plat::ssShift)) {
    const double amount = Shift.Contains(plat::ssCtrl) ? clientH * notches
                                                        : Lines * notches * FHost.Store().DefaultNodeHeight();
    SetOffsetY(FOffsetY + static_cast<int>(std::trunc(amount)));
  } else {
    const double amount = Shift.Contains(plat::ssCtrl) ? FHost.ClientW() * notches
                                                        : Lines * notches * FHost.HorizontalWheelStep();
    SetOffsetX(FOffsetX + static_cast<int>(std::trunc(amount)));
  }
}

void TTreeScroller::Resized() {
  TBaseLazyTree& store = FHost.Store();
  const TLazyTreeStates s = store.TreeStates();
  if (s.Has(tsSizing) || s.Has(tsWindowCreating) || FHost.ClientH() < 1) return;
  store.DoStateChange({tsSizing});
  try {
    UpdateScrollBars(true);
  } catch (...) {
    store.DoStateChange({}, {tsSizing});
    throw;
  }
  store.DoStateChange({}, {tsSizing});
}

// ------------------------------------------------------------------------------------------------------------
// Nodes by position

PLazyNode TTreeScroller::NodeAt(int Y, bool Relative, int& NodeTop) {
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
    n = NodeAtPosition(FHost.Store(), FHost.UsableCache(), static_cast<uint32_t>(y), top);
    if (n) FLastLookup = {n, top, top + n->NodeHeight};
  }
  NodeTop = Relative ? static_cast<int>(top) + FOffsetY : static_cast<int>(top);
  return n;
}

PLazyNode TTreeScroller::TopNode() {
  int top = 0;
  return NodeAt(0, true, top);
}

PLazyNode TTreeScroller::BottomNode() {
  int top = 0;
  return NodeAt(FHost.ClientH() - 1, true, top);
}

void TTreeScroller::ExpandAncestors(PLazyNode Node) {
  TBaseLazyTree& store = FHost.Store();
  for (PLazyNode p : CollapsedAncestors(Node, store.RootNode())) store.ToggleNode(p);
}

void TTreeScroller::SetTopNode(PLazyNode Node) {
  if (!Node || Node == FHost.Store().RootNode()) return;
  ExpandAncestors(Node);
  const plat::TRect r = FHost.NodeRect(Node, true);
  SetOffsetY(FOffsetY - r.Top);
}

void TTreeScroller::SetBottomNode(PLazyNode Node) {
  TBaseLazyTree& store = FHost.Store();
  if (!Node || Node == store.RootNode()) return;
  ExpandAncestors(Node);
  const plat::TRect r = FHost.NodeRect(Node, true);
  FHost.ScrollTo({FOffsetX, FHost.ClientH() + FOffsetY - r.Top - static_cast<int>(store.GetNodeHeight(Node))},
                 {ouRepaintScrollBars, ouUpdateScrollBars});
}

bool TTreeScroller::ScrollIntoView(PLazyNode Node, bool Center) {
  TBaseLazyTree& store = FHost.Store();
  if (!Node || Node == store.RootNode()) return false;
  ExpandAncestors(Node);
  const plat::TRect r = FHost.NodeRect(Node, !store.TreeOptions().MiscOptions.Has(toGridExtensions));
  const int clientH = FHost.ClientH();
  const int half = Center ? clientH / 2 : 0;
  if (r.Top < 0) {
    SetOffsetY(FOffsetY - r.Top + half);
    return true;
  }
  if (r.Bottom > clientH || Center) {
    const TScrollBarOptions& bars = FHost.BarOptions();
    const bool wide = FHost.ClientW() < static_cast<int64_t>(FRangeX);
    const bool hbar = bars.HasHorizontal() && (bars.AlwaysVisible() || wide);
    SetOffsetY(FOffsetY + (Center ? half : clientH) - r.Bottom);
    // Room for a horizontal bar about to appear below the node.
    if (!hbar && FHost.ClientW() < static_cast<int64_t>(FRangeX)) SetOffsetY(FOffsetY - kScrollBarExtent);
    return true;
  }
  return false;
}

// ------------------------------------------------------------------------------------------------------------
// Auto-scrolling

TScrollDirections TTreeScroller::AutoScrollDirections(int X, int Y) const {
  TScrollDirections r;
  if (!FHost.CanAutoScroll()) return r;
  if (Panning(FHost.Store().TreeStates())) {
    const plat::TPoint click = FHost.LastClickPos();
    if (X > click.X + 8) r.Include(sdRight);
    if (X < click.X - 8) r.Include(sdLeft);
    if (Y < click.Y - 8) r.Include(sdUp);
    if (Y > click.Y + 8) r.Include(sdDown);
    return r;
  }
  const int e = static_cast<int>(FHost.Store().DefaultNodeHeight());
  const int clientW = FHost.ClientW(), clientH = FHost.ClientH();
  if (X < e && FEffectiveOffsetX != 0) r.Include(sdLeft);
  if (clientW + FEffectiveOffsetX < static_cast<int64_t>(FRangeX) && X > clientW - e) r.Include(sdRight);
  if (Y < e && FOffsetY != 0) r.Include(sdUp);
  if (clientH - FOffsetY < static_cast<int64_t>(FRangeY) && Y > clientH - e) r.Include(sdDown);
  return r;
}

void TTreeScroller::StopAutoScroll() {
  FHost.StopScrollTimer();
  FHost.Store().DoStateChange({}, {tsScrolling, tsScrollPending});
}

void TTreeScroller::UpdateAutoScroll(int X, int Y) {
  FScrollDirections = AutoScrollDirections(X, Y);
  TBaseLazyTree& store = FHost.Store();
  const TLazyTreeStates s = store.TreeStates();
  if (Panning(s)) return;
  if (!FScrollDirections.Empty()) {
    if (!s.Has(tsScrolling) && !s.Has(tsScrollPending)) {
      store.DoStateChange({tsScrollPending});
      FHost.StartScrollTimer(FHost.AutoScrollDelay());
    }
  } else if (s.Has(tsScrolling) || s.Has(tsScrollPending)) {
    StopAutoScroll();
  }
}

void TTreeScroller::AutoScrollStep() {
  const TLazyTreeStates s = FHost.Store().TreeStates();
  const bool panning = Panning(s);
  const bool selecting = s.Has(tsDrawSelecting);
  const plat::TPoint p = FHost.CursorClientPos();
  const int clientW = FHost.ClientW(), clientH = FHost.ClientH();
  const bool inClient = p.X >= 0 && p.Y >= 0 && p.X < clientW && p.Y < clientH;
  if (selecting || inClient || panning) {
    int dx = 0, dy = 0;
    // Outside the window the step grows with the cursor's distance from the edge.
    auto amount = [&](int increment, int distance) { return inClient ? increment : increment * std::max(distance, 1); };
    const TScrollBarOptions& bars = FHost.BarOptions();
    const int incY = std::min(bars.VerticalIncrement(), clientH);
    const int incX = bars.HorizontalIncrement();
    const plat::TPoint click = FHost.LastClickPos();
    TScrollDirections& d = FScrollDirections;
    if (d.Has(sdUp)) dy = panning ? click.Y - p.Y - 8 : amount(incY, -p.Y);
    if (d.Has(sdDown)) dy = panning ? click.Y - p.Y + 8 : -amount(incY, p.Y - clientH + 1);
    if (d.Has(sdLeft)) dx = panning ? click.X - p.X - 8 : amount(incX, -p.X);
    if (d.Has(sdRight)) dx = panning ? click.X - p.X + 8 : -amount(incX, p.X - clientW + 1);
    if (d.Has(sdUp) && FOffsetY == 0) d.Exclude(sdUp);
    if (d.Has(sdDown) && clientH - FOffsetY >= static_cast<int64_t>(FRangeY)) d.Exclude(sdDown);
    if (d.Has(sdLeft) && FEffectiveOffsetX == 0) d.Exclude(sdLeft);
    if (d.Has(sdRight) && clientW + FEffectiveOffsetX >= static_cast<int64_t>(FRangeX)) d.Exclude(sdRight);
    if (dx != 0 || dy != 0) FHost.ScrollTo({FOffsetX + dx, FOffsetY + dy}, DefaultScrollUpdateFlags);
    // A rubber band follows the content that scrolls under the mouse.
    if (selecting) FHost.BandFollowsScroll(p);
    FHost.UpdateWindow();
  }
  if (FScrollDirections.Empty() && !panning) StopAutoScroll();
}

}  // namespace lazytree
