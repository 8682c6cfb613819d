#include "controls/tab_strip.h"

#include <algorithm>
#include <numeric>

#include "platform/graphics/canvas.h"
#include "platform/graphics/classic.h"
#include "platform/graphics/graphic.h"

namespace controls {

using namespace plat;

namespace {
constexpr int PadAlong = 6;   // space before and after the text along the tab
constexpr int PadAcross = 3;  // space above and below the taller of text and image
constexpr int StripStart = 2; // tabs start this far from the control's edges
constexpr int ScrollerWidth = 35;

bool Vertical(TTabPosition p) { return p == tpLeft || p == tpRight; }
}  // namespace

TCustomTabControl::TCustomTabControl(TComponent* AOwner)
    : TCustomControl(AOwner), FProbe(std::make_unique<TBitmap>(1, 1)) {
  SetBounds(Left(), Top(), 289, 193);
  SetTabStop(true);
  FControlStyle.Include(csDoubleClicks);
  FControlStyle.Include(csOpaque);
}

TCustomTabControl::~TCustomTabControl() {
  if (FTabImages) FTabImages->UnRegisterChanges(FImageLink);
}

// ---- items ---------------------------------------------------------------------------------------------------

QString TCustomTabControl::TabText(int Index) const {
  return Index >= 0 && Index < TabCount() ? FTabs[std::size_t(Index)].Text : QString();
}

void TCustomTabControl::SetTabText(int Index, const QString& Text) {
  if (Index < 0 || Index >= TabCount() || FTabs[std::size_t(Index)].Text == Text) return;
  FTabs[std::size_t(Index)].Text = Text;
  LayoutChanged();
}

TObject* TCustomTabControl::TabObject(int Index) const {
  return Index >= 0 && Index < TabCount() ? FTabs[std::size_t(Index)].Object : nullptr;
}

void TCustomTabControl::InsertTab(int Index, const QString& Text, TObject* Object) {
  Index = std::clamp(Index, 0, TabCount());
  FTabs.insert(FTabs.begin() + Index, Item{Text, Object, false});
  if (FTabIndex >= Index) ++FTabIndex;
  if (FTabIndex < 0) FTabIndex = 0;  // the first tab of an empty strip is selected, as the platform does
  LayoutChanged();
}

void TCustomTabControl::DeleteTab(int Index) {
  if (Index < 0 || Index >= TabCount()) return;
  FTabs.erase(FTabs.begin() + Index);
  if (FTabIndex == Index)
    FTabIndex = -1;  // the owner decides what is selected next
  else if (FTabIndex > Index)
    --FTabIndex;
  FFirstTab = std::clamp(FFirstTab, 0, std::max(0, TabCount() - 1));
  LayoutChanged();
}

void TCustomTabControl::MoveTab(int CurIndex, int NewIndex) {
  if (CurIndex < 0 || CurIndex >= TabCount() || NewIndex < 0 || NewIndex >= TabCount() || CurIndex == NewIndex)
    return;
  const bool selected = FTabIndex == CurIndex;
  Item it = FTabs[std::size_t(CurIndex)];
  FTabs.erase(FTabs.begin() + CurIndex);
  FTabs.insert(FTabs.begin() + NewIndex, it);
  if (selected)
    FTabIndex = NewIndex;
  else if (FTabIndex > CurIndex && FTabIndex <= NewIndex)
    --FTabIndex;
  else if (FTabIndex < CurIndex && FTabIndex >= NewIndex)
    ++FTabIndex;
  LayoutChanged();
}

bool TCustomTabControl::Highlighted(int Index) const {
  return Index >= 0 && Index < TabCount() && FTabs[std::size_t(Index)].Highlighted;
}

void TCustomTabControl::SetHighlighted(int Index, bool Value) {
  if (Index < 0 || Index >= TabCount() || FTabs[std::size_t(Index)].Highlighted == Value) return;
  FTabs[std::size_t(Index)].Highlighted = Value;
  Invalidate();
}

void TCustomTabControl::SetTabIndex(int Value) {
  if (Value < -1 || Value >= TabCount()) Value = -1;
  if (Value == FTabIndex) return;
  FTabIndex = Value;
  // The selected tab is scrolled into a single line's view.
  if (Value >= 0 && !MultiLine() && !Vertical(FTabPosition)) {
    if (Value < FFirstTab) FFirstTab = Value;
    FLayoutValid = false;
    while (FFirstTab < Value && TabRect(Value).Right > Width() - ScrollerWidth - 1 && ScrollButtonsShown()) {
      ++FFirstTab;
      FLayoutValid = false;
    }
  }
  LayoutChanged();
}

// ---- settings -------------------------------------------------------------------------------------------------

void TCustomTabControl::SetTabImages(TCustomImageList* Value) {
  if (Value == FTabImages) return;
  if (FTabImages) {
    FTabImages->UnRegisterChanges(FImageLink);
    FTabImages->RemoveFreeNotification(this);
  }
  FTabImages = Value;
  if (FTabImages) {
    FImageLink = FTabImages->RegisterChanges([this] { LayoutChanged(); });
    FTabImages->FreeNotification(this);
  }
  LayoutChanged();
}

void TCustomTabControl::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FTabImages) {
    FTabImages = nullptr;
    LayoutChanged();
  }
}

void TCustomTabControl::SetMultiLine(bool Value) {
  if (Value == FMultiLine) return;
  FMultiLine = Value;
  FFirstTab = 0;
  LayoutChanged();
}

void TCustomTabControl::SetTabPosition(TTabPosition Value) {
  if (Value == FTabPosition) return;
  FTabPosition = Value;
  FFirstTab = 0;
  LayoutChanged();
}

void TCustomTabControl::SetTabHeight(int Value) {
  Value = std::max(0, Value);
  if (Value == FTabHeight) return;
  FTabHeight = Value;
  LayoutChanged();
}

void TCustomTabControl::SetTabWidth(int Value) {
  Value = std::max(0, Value);
  if (Value == FTabWidth) return;
  FTabWidth = Value;
  LayoutChanged();
}

void TCustomTabControl::SetRaggedRight(bool Value) {
  if (Value == FRaggedRight) return;
  FRaggedRight = Value;
  LayoutChanged();
}

void TCustomTabControl::SetOwnerDraw(bool Value) {
  if (Value == FOwnerDraw) return;
  FOwnerDraw = Value;
  Invalidate();
}

void TCustomTabControl::LayoutChanged() {
  FLayoutValid = false;
  TabsRearranged();
  Realign();
  Invalidate();
}

void TCustomTabControl::Resize() {
  TCustomControl::Resize();
  LayoutChanged();
}

void TCustomTabControl::FontChanged() {
  TCustomControl::FontChanged();
  LayoutChanged();
}

// ---- layout ---------------------------------------------------------------------------------------------------

int TCustomTabControl::Thickness() const {
  if (FTabHeight > 0) return FTabHeight;
  FProbe->Canvas()->Font()->Assign(*Font());
  int content = FProbe->Canvas()->TextHeight("Wg");
  if (FTabImages) content = std::max(content, Vertical(FTabPosition) ? FTabImages->Width() : FTabImages->Height());
  return content + 2 * PadAcross;
}

int TCustomTabControl::MeasureTab(int Index) const {
  if (FTabWidth > 0) return FTabWidth;
  FProbe->Canvas()->Font()->Assign(*Font());
  int len = FProbe->Canvas()->TextWidth(FTabs[std::size_t(Index)].Text) + 2 * PadAlong;
  if (FTabImages) len += Vertical(FTabPosition) ? FTabImages->Height() : FTabImages->Width();
  return len;
}

int TCustomTabControl::AvailableLength() const {
  return (Vertical(FTabPosition) ? Height() : Width()) - 2 * StripStart;
}

void TCustomTabControl::EnsureLayout() const {
  if (FLayoutValid) return;
  FLayoutValid = true;
  const int n = TabCount();
  FRects.assign(std::size_t(n), TRect());
  std::vector<int> lengths(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) lengths[std::size_t(i)] = MeasureTab(i);
  const int avail = AvailableLength();
  std::vector<std::vector<int>> rows;
  const bool wrap = FMultiLine || Vertical(FTabPosition);
  int used = 0;
  for (int i = 0; i < n; ++i) {
    const int len = lengths[std::size_t(i)];
    if (rows.empty() || (wrap && !rows.back().empty() && used + len > avail)) {
      rows.emplace_back();
      used = 0;
    }
    rows.back().push_back(i);
    used += len;
  }
  FRowCount = static_cast<int>(rows.size());
  FOverflow = !wrap && n > 0 && used > avail;
  PlaceRows(rows, lengths);
}

void TCustomTabControl::PlaceRows(const std::vector<std::vector<int>>& Rows, const std::vector<int>& Lengths) const {
  const int nrows = static_cast<int>(Rows.size());
  int selRow = 0;
  for (int r = 0; r < nrows; ++r)
    if (std::find(Rows[std::size_t(r)].begin(), Rows[std::size_t(r)].end(), FTabIndex) != Rows[std::size_t(r)].end())
      selRow = r;
  const bool stretch = nrows > 1 && !FRaggedRight;
  const int avail = AvailableLength();
  for (int r = 0; r < nrows; ++r) {
    const auto& row = Rows[std::size_t(r)];
    int total = 0;
    for (int i : row) total += Lengths[std::size_t(i)];
    const int extra = stretch ? std::max(0, avail - total) : 0;
    int start = StripStart;
    if (nrows == 1 && FOverflow)
      for (int i = 0; i < FFirstTab; ++i) start -= Lengths[std::size_t(i)];
    const int position = (r - selRow + nrows) % nrows;  // 0: next to the page
    for (std::size_t k = 0; k < row.size(); ++k) {
      int len = Lengths[std::size_t(row[k])];
      if (extra > 0) len += extra / int(row.size()) + (k + 1 == row.size() ? extra % int(row.size()) : 0);
      FRects[std::size_t(row[k])] = PlaceAcross(position, nrows, start, len);
      start += len;
    }
  }
}

TRect TCustomTabControl::PlaceAcross(int Position, int RowsInAll, int Start, int Length) const {
  const int h = Thickness();
  switch (FTabPosition) {
    case tpTop: {
      const int top = StripStart + (RowsInAll - 1 - Position) * h;
      return TRect(Start, top, Start + Length, top + h);
    }
    case tpBottom: {
      const int top = Height() - StripStart - RowsInAll * h + Position * h;
      return TRect(Start, top, Start + Length, top + h);
    }
    case tpLeft: {
      const int left = StripStart + (RowsInAll - 1 - Position) * h;
      return TRect(left, Start, left + h, Start + Length);
    }
    case tpRight: {
      const int left = Width() - StripStart - RowsInAll * h + Position * h;
      return TRect(left, Start, left + h, Start + Length);
    }
  }
  return TRect();
}

TRect TCustomTabControl::TabRect(int Index) const {
  if (Index < 0 || Index >= TabCount()) return TRect();
  EnsureLayout();
  return FRects[std::size_t(Index)];
}

int TCustomTabControl::RowCount() const {
  EnsureLayout();
  return FRowCount;
}

bool TCustomTabControl::ScrollButtonsShown() const {
  EnsureLayout();
  return FOverflow;
}

TRect TCustomTabControl::ScrollButtonsRect() const {
  if (!ScrollButtonsShown()) return TRect();
  const int h = std::min(Thickness() - 2, 17);
  const int edge = DisplayRect().Top - 4;  // band edge for top tabs
  if (FTabPosition == tpBottom) {
    const int top = DisplayRect().Bottom + 4 + 2;
    return TRect(Width() - ScrollerWidth + 1, top, Width() - 1, top + h);
  }
  return TRect(Width() - ScrollerWidth + 1, edge - 2 - h, Width() - 1, edge - 2);
}

void TCustomTabControl::ScrollTabs(bool Forward) {
  if (!ScrollButtonsShown()) return;
  if (Forward) {
    const TRect last = TabRect(TabCount() - 1);
    if (last.Right <= Width() - ScrollerWidth) return;
    ++FFirstTab;
  } else {
    if (FFirstTab == 0) return;
    --FFirstTab;
  }
  LayoutChanged();
}

int TCustomTabControl::IndexOfTabAt(int X, int Y) const {
  const TPoint p(X, Y);
  if (ScrollButtonsShown() && ScrollButtonsRect().Contains(p)) return -1;
  for (int i = 0; i < TabCount(); ++i)
    if (TabRect(i).Contains(p)) return i;
  return -1;
}

TRect TCustomTabControl::DisplayRect() const {
  EnsureLayout();
  const int band = StripStart + FRowCount * Thickness();
  const int w = Width(), h = Height();
  switch (FTabPosition) {
    case tpTop: return TRect(4, band + 4, w - 4, h - 4);
    case tpBottom: return TRect(4, 4, w - 4, h - band - 4);
    case tpLeft: return TRect(band + 4, 4, w - 4, h - 4);
    case tpRight: return TRect(4, 4, w - band - 4, h - 4);
  }
  return TRect();
}

// ---- selection by the user ------------------------------------------------------------------------------------

bool TCustomTabControl::CanChange() {
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  return allow;
}

void TCustomTabControl::Change() {
  if (OnChange) OnChange(this);
}

int TCustomTabControl::GetImageIndex(int TabIndex) {
  int index = TabIndex;
  if (OnGetImageIndex) OnGetImageIndex(this, TabIndex, index);
  return index;
}

void TCustomTabControl::DrawTab(int TabIndex, const TRect& Rect, bool Active) {
  if (OnDrawTab) OnDrawTab(this, TabIndex, Rect, Active);
}

bool TCustomTabControl::SelectTabByUser(int Index) {
  if (Index < 0 || Index >= TabCount() || Index == FTabIndex) return false;
  FChangingTo = Index;
  const bool allowed = CanChange();
  FChangingTo = -1;
  if (!allowed) return false;
  SetTabIndex(Index);
  Change();
  return true;
}

void TCustomTabControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    if (ScrollButtonsShown() && ScrollButtonsRect().Contains(TPoint(X, Y))) {
      ScrollTabs(X >= ScrollButtonsRect().Left + ScrollButtonsRect().Width() / 2);
    } else {
      const int i = IndexOfTabAt(X, Y);
      if (i >= 0) {
        if (CanFocus() && !Focused()) SetFocus();
        SelectTabByUser(i);
      }
    }
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomTabControl::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == VK_LEFT || Key == VK_UP) {
    SelectTabByUser(FTabIndex - 1);
    Key = 0;
  } else if (Key == VK_RIGHT || Key == VK_DOWN) {
    SelectTabByUser(FTabIndex + 1);
    Key = 0;
  }
}

void TCustomTabControl::Dispatch(TMessage& Message) { TCustomControl::Dispatch(Message); }

// ---- the platform look ----------------------------------------------------------------------------------------

void TCustomTabControl::PaintScrollButtons(TCanvas* C) {
  if (!ScrollButtonsShown()) return;
  const TRect r = ScrollButtonsRect();
  const int mid = r.Left + r.Width() / 2;
  DrawFrameControl(C, TRect(r.Left, r.Top, mid, r.Bottom), DFC_SCROLL, DFCS_SCROLLLEFT);
  DrawFrameControl(C, TRect(mid, r.Top, r.Right, r.Bottom), DFC_SCROLL, DFCS_SCROLLRIGHT);
}

void TCustomTabControl::Paint() {
  TCanvas* C = Canvas();
  C->Brush()->SetColor(Color());
  C->FillRect(ClientRect());
  const TRect d = DisplayRect();
  TRect frame(d.Left - 4, d.Top - 4, d.Right + 4, d.Bottom + 4);
  DrawEdge(C, frame, EDGE_RAISED, BF_RECT);
  for (int pass = 0; pass < 2; ++pass) {  // the selected tab last, over its neighbours
    for (int i = 0; i < TabCount(); ++i) {
      const bool active = i == FTabIndex;
      if (active != (pass == 1)) continue;
      TRect r = TabRect(i);
      if (active) r = TRect(r.Left - 2, r.Top - 2, r.Right + 2, r.Bottom + 2);
      // The side towards the page stays open; the selected tab covers the frame line beneath it.
      static const unsigned open[4] = {BF_LEFT | BF_TOP | BF_RIGHT, BF_LEFT | BF_BOTTOM | BF_RIGHT,
                                       BF_LEFT | BF_TOP | BF_BOTTOM, BF_TOP | BF_RIGHT | BF_BOTTOM};
      TRect fill = r;
      if (active) {
        if (FTabPosition == tpTop) fill.Bottom += 1;
        if (FTabPosition == tpBottom) fill.Top -= 1;
        if (FTabPosition == tpLeft) fill.Right += 1;
        if (FTabPosition == tpRight) fill.Left -= 1;
      }
      C->Brush()->SetColor(Color());
      C->FillRect(fill);
      DrawEdge(C, r, EDGE_RAISED, open[FTabPosition]);
      if (FOwnerDraw) {
        DrawTab(i, TabRect(i), active);
        continue;
      }
      C->Brush()->SetStyle(bsClear);
      int x = r.Left + PadAlong, y = r.Top + PadAcross;
      const int image = FTabImages ? GetImageIndex(i) : -1;
      if (FTabImages && image >= 0) {
        FTabImages->Draw(C, x, y, image, true);
        if (Vertical(FTabPosition))
          y += FTabImages->Height();
        else
          x += FTabImages->Width();
      }
      C->Font()->Assign(*Font());
      if (Vertical(FTabPosition)) {
        C->Font()->SetOrientation(FTabPosition == tpLeft ? 900 : -900);
        if (FTabPosition == tpLeft)
          C->TextOut(r.Left + PadAcross, r.Bottom - PadAlong, FTabs[std::size_t(i)].Text);
        else
          C->TextOut(r.Right - PadAcross, y, FTabs[std::size_t(i)].Text);
        C->Font()->SetOrientation(0);
      } else {
        C->TextOut(x, y, FTabs[std::size_t(i)].Text);
      }
      C->Brush()->SetStyle(bsSolid);
    }
  }
  PaintScrollButtons(C);
}

}  // namespace controls
