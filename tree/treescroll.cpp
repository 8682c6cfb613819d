// The tree window's geometry: the forwarders to its scroller, node rectangles, the widest row in view, and how
// the window answers the scroller (TScrollHostAdapter).
#include <QApplication>
#include <QCursor>

#include <algorithm>
#include <vector>

#include "tree/treecontrol.h"
#include "tree/treegesture.h"
#include "tree/treescrollhost.h"

namespace lazytree {

// ------------------------------------------------------------------------------------------------------------
// The scroller's side

int TBaseLazyTreeControl::OffsetX() const { return FScroller->OffsetX(); }
int TBaseLazyTreeControl::OffsetY() const { return FScroller->OffsetY(); }
void TBaseLazyTreeControl::SetOffsetX(int Value) { ScrollToOffset({Value, OffsetY()}, DefaultScrollUpdateFlags, nullptr); }
void TBaseLazyTreeControl::SetOffsetY(int Value) { ScrollToOffset({OffsetX(), Value}, DefaultScrollUpdateFlags, nullptr); }
void TBaseLazyTreeControl::SetOffsetXY(plat::TPoint Value) { ScrollToOffset(Value, DefaultScrollUpdateFlags, nullptr); }
uint32_t TBaseLazyTreeControl::RangeX() const { return FScroller->RangeX(); }
uint32_t TBaseLazyTreeControl::RangeY() const { return FScroller->RangeY(); }
int TBaseLazyTreeControl::EffectiveOffsetX() const { return FScroller->EffectiveOffsetX(); }
TScrollDirections TBaseLazyTreeControl::ScrollDirections() const { return FScroller->ScrollDirections(); }

bool TBaseLazyTreeControl::ScrollToOffset(plat::TPoint Value, TOffsetUpdateOptions Options, const plat::TRect*) {
  return FScroller->ScrollToOffset(Value, Options);
}

void TBaseLazyTreeControl::DoScroll(int DeltaX, int DeltaY) {
  if (OnScroll) OnScroll(this, DeltaX, DeltaY);
}

void TBaseLazyTreeControl::DoShowScrollBar(int Bar, bool Show) {
  const bool was = ScrollBarVisible(Bar);
  ShowScrollBar(Bar, Show);
  if (was != Show && OnShowScrollBar) OnShowScrollBar(this, Bar, Show);
}

void TBaseLazyTreeControl::UpdateVerticalRange() { FScroller->UpdateVerticalRange(); }
void TBaseLazyTreeControl::UpdateHorizontalRange() { FScroller->UpdateHorizontalRange(); }
void TBaseLazyTreeControl::UpdateRanges() { FScroller->UpdateRanges(); }
void TBaseLazyTreeControl::UpdateVerticalScrollBar(bool DoRepaint) { FScroller->UpdateVerticalScrollBar(DoRepaint); }
void TBaseLazyTreeControl::UpdateHorizontalScrollBar(bool DoRepaint) {
  FScroller->UpdateHorizontalScrollBar(DoRepaint);
}

void TBaseLazyTreeControl::UpdateScrollBars(bool DoRepaint) {
  if (!IsDestroying()) FScroller->UpdateScrollBars(DoRepaint);
}

plat::TRect TBaseLazyTreeControl::GetTreeRect() const { return FScroller->TreeRect(ClientWidth()); }

void TBaseLazyTreeControl::HandleScrollMessage(plat::TMessage& M, bool Vertical) {
  M.Result = 0;
  FScroller->ScrollMessage(plat::TWMScroll(M).ScrollCode(), Vertical);
}

bool TBaseLazyTreeControl::DoMouseWheel(plat::TShiftState Shift, int WheelDelta, plat::TPoint MousePos) {
  StopWheelPanning();
  if (plat::TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  FScroller->Wheel(Shift, WheelDelta, QApplication::wheelScrollLines());
  return true;
}

void TBaseLazyTreeControl::HandleResize() { FScroller->Resized(); }

PLazyNode TBaseLazyTreeControl::GetNodeAt(int /*X*/, int Y, bool Relative, int& NodeTop) {
  return FScroller->NodeAt(Y, Relative, NodeTop);
}

PLazyNode TBaseLazyTreeControl::TopNode() { return FScroller->TopNode(); }
PLazyNode TBaseLazyTreeControl::BottomNode() { return FScroller->BottomNode(); }
void TBaseLazyTreeControl::SetTopNode(PLazyNode Node) { FScroller->SetTopNode(Node); }
void TBaseLazyTreeControl::SetBottomNode(PLazyNode Node) { FScroller->SetBottomNode(Node); }

bool TBaseLazyTreeControl::ScrollIntoView(PLazyNode Node, bool Center, bool /*Horizontally*/) {
  return FScroller->ScrollIntoView(Node, Center);
}

TScrollDirections TBaseLazyTreeControl::GetAutoScrollDirections(int X, int Y) {
  return FScroller->AutoScrollDirections(X, Y);
}

void TBaseLazyTreeControl::UpdateAutoScroll(int X, int Y) { FScroller->UpdateAutoScroll(X, Y); }
void TBaseLazyTreeControl::AutoScrollStep() { FScroller->AutoScrollStep(); }

void TBaseLazyTreeControl::StopCacheValidation() {
  if (FScroller) FScroller->ForgetLookup();  // every change of rows or heights passes here first
  FPositionCache.Stop();
}

// ------------------------------------------------------------------------------------------------------------
// What the scroller asks of the window

// Without columns the content is as wide as the widest row from the top node to the bottom edge.
int TBaseLazyTreeControl::TScrollHostAdapter::ContentWidth() {
  if (T.FHeader && T.FHeader->UseColumns()) return T.FHeader->Columns().TotalWidth();
  return T.MaxVisibleRightExtent();
}

int TBaseLazyTreeControl::TScrollHostAdapter::HorizontalWheelStep() const {
  return T.FHeader->Columns().GetScrollWidth();
}

void TBaseLazyTreeControl::TScrollHostAdapter::Scrolled(int DeltaX, int DeltaY) {
  T.DoScroll(DeltaX, DeltaY);
  T.UpdateStyledScrollBars();
  T.UpdateEditBounds();  // an open editor moves with its cell and keeps what was typed
}

int TBaseLazyTreeControl::TScrollHostAdapter::BarTrackPos(int Bar) const {
  plat::TScrollInfo si;
  si.fMask = plat::SIF_TRACKPOS;
  T.GetScrollInfo(Bar, si);
  return si.nTrackPos;
}

void TBaseLazyTreeControl::TScrollHostAdapter::BandFollowsScroll(plat::TPoint P) {
  T.FGestures->BandFollowsScroll(P);
}

// ------------------------------------------------------------------------------------------------------------
// Node rectangles and the widest row

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
  plat::TRect r(0, top, std::max<int>(ClientW(), static_cast<int>(RangeX())),
                top + static_cast<int>(GetNodeHeight(Node)));
  if (Column == NoColumn || !FHeader->Columns().IsValidColumn(Column)) {
    r.Left -= EffectiveOffsetX();
    r.Right -= EffectiveOffsetX();
  } else {
    FHeader->Columns().GetColumnBounds(Column, r.Left, r.Right);
    r.Right -= 1;
  }
  r.Top += OffsetY();
  r.Bottom += OffsetY();
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
