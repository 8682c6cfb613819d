// The item selector's panel (layout, painting, mouse and the select steps) and its scrolling container.
#include "dropdown/item_selector.h"

#include <QToolTip>

#include <algorithm>
#include <climits>
#include <tuple>

#include "controls/draw_utils.h"
#include "controls/mini_html.h"
#include "dropdown/paint_routines.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/imagelist.h"

namespace dropdown {

using namespace plat;

namespace {

// Mini-HTML caption size in a rectangle, measured without drawing.
TSize MeasureCaption(TCanvas& Canvas, const QString& Caption, const TRect& R, TCustomImageList* Images) {
  TSize size;
  DrawHTMLText(Canvas, Caption, R, size, nullptr, false, Images);
  return size;
}

}  // namespace

// ---- the panel: construction and settings ------------------------------------------------------------------

TCustomItemSelector::TCustomItemSelector(TComponent* AOwner) : TCustomControl(CheckedOwner(AOwner)) {
  FExtItemSelector = static_cast<TExtCustomItemSelector*>(AOwner);
  SetParentColor(true);
}

TComponent* TCustomItemSelector::CheckedOwner(TComponent* AOwner) {
  if (!dynamic_cast<TExtCustomItemSelector*>(AOwner)) throw Exception(QStringLiteral("Invalid parent"));
  return AOwner;
}

TCustomItemSelector::~TCustomItemSelector() = default;

int TCustomItemSelector::Columns() const { return FExtItemSelector->Columns(); }
TSelectorItems* TCustomItemSelector::Items() const { return FExtItemSelector->Items(); }
TSelectorType TCustomItemSelector::SelectorType() const { return FExtItemSelector->SelectorType(); }
TItemLayout TCustomItemSelector::ItemLayout() const { return FExtItemSelector->ItemLayout(); }
TCustomImageList* TCustomItemSelector::Images() const { return FExtItemSelector->Images(); }
TSelectionColorStyle TCustomItemSelector::ItemColorStyle() const {
  return FExtItemSelector->ItemAppearance()->ColorStyle();
}
TColor TCustomItemSelector::ItemColorHot() const { return FExtItemSelector->ItemAppearance()->ColorHot; }
TColor TCustomItemSelector::ItemColorHotTo() const { return FExtItemSelector->ItemAppearance()->ColorHotTo; }
TColor TCustomItemSelector::ItemColorSelected() const { return FExtItemSelector->ItemAppearance()->ColorSelected; }
TColor TCustomItemSelector::ItemColorSelectedTo() const {
  return FExtItemSelector->ItemAppearance()->ColorSelectedTo;
}
int TCustomItemSelector::ColorBoxHeight() const { return FExtItemSelector->ColorBoxHeight(); }
int TCustomItemSelector::ColorBoxWidth() const { return FExtItemSelector->ColorBoxWidth(); }

bool TCustomItemSelector::ValidIndex(int Index) const { return Index >= 0 && Index < Items()->Count(); }

bool TCustomItemSelector::ItemEnabledAt(int Index) const {
  return !ValidIndex(Index) || Items()->GetItem(Index)->Enabled();
}

// ---- layout -------------------------------------------------------------------------------------------------

TSize TCustomItemSelector::ContentSize(const TSelectorItem& Item) const {
  if (SelectorType() == stColor) return TSize(ColorBoxWidth(), ColorBoxHeight());
  if (Item.HasPicture()) return TSize(Item.Image()->Width(), Item.Image()->Height());
  if (Images() && Item.ImageIndex() >= 0) return TSize(Images()->Width(), Images()->Height());
  return TSize(0, 0);
}

void TCustomItemSelector::GetItemSize(TSize& Size) {
  if (FExtItemSelector->OnItemSize) {
    FExtItemSelector->OnItemSize(this, Size);
    return;
  }
  TSelectorItems& items = *Items();
  int iw = 0, ih = 0;
  for (int i = 0; i < items.Count(); ++i) {
    const TSize s = ContentSize(*items.GetItem(i));
    iw = std::max(iw, s.cx);
    ih = std::max(ih, s.cy);
  }
  TBitmap scratch(1, 1);
  TCanvas& canvas = *scratch.Canvas();
  canvas.Font()->Assign(*FExtItemSelector->ItemAppearance()->Font());
  int cw = 0, ch = 0;
  for (int i = 0; i < items.Count(); ++i) {
    const TSize s = MeasureCaption(canvas, items.GetItem(i)->Caption(), TRect(0, 0, 1000, 500), Images());
    cw = std::max(cw, s.cx);
    ch = std::max(ch, s.cy);
  }
  if (cw > 0) cw += 4;
  if (ItemLayout() == ilCaptionLeft || ItemLayout() == ilCaptionRight) {
    Size.cx = 2 * FItemOffSetX + iw + (iw > 0 && cw > 0 ? FCaptionGap : 0) + cw;
    Size.cy = std::max(ch, ih) + 2 * FItemOffSetY;
  } else {
    Size.cx = std::max(cw, iw) + 2 * FItemOffSetX;
    Size.cy = 2 * FItemOffSetY + ih + (ih > 0 && ch >= 1 ? FCaptionGap : 0) + ch;
  }
}

void TCustomItemSelector::GetItemsArea(TRect& Rect) const {
  Rect = TRect(FOffSetX, FOffSetY, Width() - FOffSetX, Height() - FOffSetY);
}

void TCustomItemSelector::ArrangeItems() {
  TSelectorItems& items = *Items();
  if (items.Count() == 0) {
    SetBounds(Left(), Top(), 100, 50);
    FExtItemSelector->UpdateScrollBars();
    return;
  }
  FItemHot = -1;
  TSize size;
  GetItemSize(size);
  const int w = size.cx, h = size.cy;
  TRect area;
  GetItemsArea(area);
  int x = area.Left, y = area.Top, counter = 0, widest = 0;
  for (int i = 0; i < items.Count(); ++i) {
    items.GetItem(i)->SetRect(TRect(x, y, x + w, y + h));
    ++counter;
    if (i == items.Count() - 1) break;
    if (counter < Columns()) {
      x += w;
    } else {
      widest = std::max(widest, x);
      y += h;
      x = area.Left;
      counter = 0;
    }
  }
  widest = std::max(widest, x);
  SetBounds(Left(), Top(), widest + w + area.Left, y + h + area.Top);
  FExtItemSelector->UpdateScrollBars();
  Invalidate();
}

int TCustomItemSelector::ItemAtPos(int X, int Y) const {
  for (int i = 0; i < Items()->Count(); ++i)
    if (Items()->GetItem(i)->Rect().Contains(TPoint(X, Y))) return i;
  return -1;
}

TRect TCustomItemSelector::GetItemRect(int Index) const {
  if (!ValidIndex(Index)) return TRect(-1, -1, -1, -1);
  return Items()->GetItem(Index)->Rect();
}

void TCustomItemSelector::InvalidateItem(int Index) {
  if (!ValidIndex(Index) || !Widget()) return;
  // The next paint draws every item again; the cell alone is the part that changed.
  Invalidate();
}

// ---- hot item, selection and the select steps ------------------------------------------------------------

void TCustomItemSelector::SetItemHot(int Value) {
  if (Value == FItemHot || !ItemEnabledAt(Value)) return;
  const int old = FItemHot;
  FItemHot = Value;
  if (old >= 0) InvalidateItem(old);
  if (Value >= 0) InvalidateItem(Value);
}

void TCustomItemSelector::SetItemIndex(int Value) {
  if (!ItemEnabledAt(Value)) return;
  const int old = FItemIndex;
  FItemIndex = Value;
  if (old >= 0 && old != Value) InvalidateItem(old);
  if (Value < 0) return;
  InvalidateItem(Value);
  if (OnItemSelect) OnItemSelect(this);
}

void TCustomItemSelector::SelectFirst() {
  if (Items()->Count() > 0) SetItemIndex(0);
}

void TCustomItemSelector::SelectLast() {
  if (Items()->Count() > 0) SetItemIndex(Items()->Count() - 1);
}

void TCustomItemSelector::SelectNext() {
  if (FItemIndex < 0)
    SetItemIndex(0);
  else if (FItemIndex + 1 < Items()->Count())
    SetItemIndex(FItemIndex + 1);
}

void TCustomItemSelector::SelectPrevious() {
  if (FItemIndex < 0)
    SetItemIndex(0);
  else if (FItemIndex - 1 >= 0)
    SetItemIndex(FItemIndex - 1);
}

void TCustomItemSelector::HotNext() {
  if (FItemHot < 0)
    SetItemHot(0);
  else if (FItemHot + 1 < Items()->Count())
    SetItemHot(FItemHot + 1);
}

void TCustomItemSelector::HotPrevious() {
  if (FItemHot < 0)
    SetItemHot(0);
  else if (FItemHot - 1 >= 0)
    SetItemHot(FItemHot - 1);
}

bool TCustomItemSelector::LookupItem(const QString& S) {
  if (S.isEmpty()) return false;
  for (int i = 0; i < Items()->Count(); ++i) {
    const QString plain = CaseAdjusted(controls::HTMLToPlainText(Items()->GetItem(i)->Caption()).trimmed(), false);
    if (plain.startsWith(S)) {
      SetItemIndex(i);
      return true;
    }
  }
  return false;
}

// ---- mouse ------------------------------------------------------------------------------------------------

void TCustomItemSelector::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  const int i = ItemAtPos(X, Y);
  if (i < 0) {
    SetItemHot(-1);
    return;
  }
  if (i == FItemHot) return;
  if (Items()->GetItem(i)->Enabled())
    SetItemHot(i);
  else
    SetItemHot(-1);
  SetHint(Items()->GetItem(i)->Hint());
  QToolTip::hideText();
}

void TCustomItemSelector::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  const int i = ItemAtPos(X, Y);
  if (i >= 0 && Items()->GetItem(i)->Enabled()) SetItemIndex(i);
}

void TCustomItemSelector::Dispatch(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  if (Message.Msg == CM_MOUSELEAVE) SetItemHot(-1);
}

// ---- the container ------------------------------------------------------------------------------------------

TExtCustomItemSelector::TExtCustomItemSelector(TComponent* AOwner)
    : TWinControl(AOwner),
      FItems(std::make_unique<TSelectorItems>(this)),
      FItemAppearance(std::make_unique<TItemAppearance>(this)) {
  FItems->OnChange = [this](TObject*) { UpdateSelectorPanel(); };
  FItemAppearance->OnChange = [](TObject*) {};
  CreateSelectorPanel();
  UpdateSelectorPanel();
}

TExtCustomItemSelector::~TExtCustomItemSelector() {
  FDestroying = true;
  // The panel reads the items and the appearance: it goes before them.
  delete FItemSelectorPanel;
  FItemSelectorPanel = nullptr;
}

void TExtCustomItemSelector::CreateSelectorPanel() {
  if (FItemSelectorPanel) return;
  FItemSelectorPanel = new TCustomItemSelector(this);
  FItemSelectorPanel->SetParent(this);
  FItemSelectorPanel->OnItemSelect = [this](TObject*) {
    if (OnItemSelect) OnItemSelect(this);
  };
}

void TExtCustomItemSelector::UpdateSelectorPanel() {
  if (FItemSelectorPanel) FItemSelectorPanel->ArrangeItems();
}

void TExtCustomItemSelector::SetItems(TSelectorItems* Value) { FItems->Assign(Value); }

void TExtCustomItemSelector::SetSelectorType(TSelectorType Value) {
  if (Value == FSelectorType) return;
  FSelectorType = Value;
  UpdateSelectorPanel();
}

void TExtCustomItemSelector::SetColumns(int Value) {
  if (Value < 1 || Value == FColumns) return;
  FColumns = Value;
  UpdateSelectorPanel();
}

void TExtCustomItemSelector::SetColorBoxWidth(int Value) {
  if (Value == FColorBoxWidth) return;
  FColorBoxWidth = Value;
  UpdateSelectorPanel();
}

void TExtCustomItemSelector::SetColorBoxHeight(int Value) {
  if (Value == FColorBoxHeight) return;
  FColorBoxHeight = Value;
  UpdateSelectorPanel();
}

void TExtCustomItemSelector::SetImages(TCustomImageList* Value) {
  if (Value == FImages) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
  UpdateSelectorPanel();
}

void TExtCustomItemSelector::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && AComponent == FImages && !FDestroying) SetImages(nullptr);
}

int TExtCustomItemSelector::ItemIndex() const { return FItemSelectorPanel ? FItemSelectorPanel->ItemIndex() : -1; }

void TExtCustomItemSelector::SetItemIndex(int Value) {
  if (!FItemSelectorPanel) return;
  FItemSelectorPanel->SetItemIndex(Value);
  ScrollItemInView(ItemIndex());
}

int TExtCustomItemSelector::ItemHot() const { return FItemSelectorPanel ? FItemSelectorPanel->ItemHot() : -1; }

void TExtCustomItemSelector::SelectFirst() {
  if (!FItemSelectorPanel) return;
  FItemSelectorPanel->SelectFirst();
  ScrollItemInView(ItemIndex());
}

void TExtCustomItemSelector::SelectLast() {
  if (!FItemSelectorPanel) return;
  FItemSelectorPanel->SelectLast();
  ScrollItemInView(ItemIndex());
}

void TExtCustomItemSelector::SelectNext() {
  if (!FItemSelectorPanel) return;
  FItemSelectorPanel->SelectNext();
  ScrollItemInView(ItemIndex());
}

void TExtCustomItemSelector::SelectPrevious() {
  if (!FItemSelectorPanel) return;
  FItemSelectorPanel->SelectPrevious();
  ScrollItemInView(ItemIndex());
}

void TExtCustomItemSelector::HotNext() {
  if (!FItemSelectorPanel) return;
  FItemSelectorPanel->HotNext();
  ScrollItemInView(ItemHot());
}

void TExtCustomItemSelector::HotPrevious() {
  if (!FItemSelectorPanel) return;
  FItemSelectorPanel->HotPrevious();
  ScrollItemInView(ItemHot());
}

bool TExtCustomItemSelector::LookupItem(const QString& S) {
  return FItemSelectorPanel && FItemSelectorPanel->LookupItem(S);
}

int TExtCustomItemSelector::GetVisibleItemCount() const {
  if (!FItemSelectorPanel || FItems->Count() == 0) return 0;
  const int height = Height() - (ScrollBarVisible(SB_HORZ) ? 20 : 0);
  // A row height below 1 (an OnItemSize that answers 0) counts as 1 instead of dividing by zero.
  const int rowHeight = std::max(1, FItemSelectorPanel->GetItemRect(0).Height());
  return height / rowHeight * FColumns;
}

void TExtCustomItemSelector::GetSelectorPanelSize(TSize& Size) const {
  Size = FItemSelectorPanel ? TSize(FItemSelectorPanel->Width(), FItemSelectorPanel->Height()) : TSize(100, 50);
}

// ---- scrolling --------------------------------------------------------------------------------------------

void TExtCustomItemSelector::UpdateScrollBars() {
  if (!FItemSelectorPanel || FUpdatingBars) return;
  FUpdatingBars = true;
  const int pw = FItemSelectorPanel->Width(), ph = FItemSelectorPanel->Height();
  // A bar takes room from the other direction, so a second pass settles both.
  for (int pass = 0; pass < 2; ++pass) {
    const TRect client = ClientRect();
    for (const auto& [bar, extent, page] : {std::tuple{SB_VERT, ph, client.Height()},
                                            std::tuple{SB_HORZ, pw, client.Width()}}) {
      TScrollInfo si;
      si.fMask = SIF_RANGE | SIF_PAGE;
      si.nMin = 0;
      si.nMax = extent > page ? extent - 1 : 0;
      si.nPage = static_cast<UINT>(extent > page ? std::max(page, 1) : 0);
      SetScrollInfo(bar, si);
    }
  }
  FUpdatingBars = false;
  FItemSelectorPanel->SetBounds(-GetScrollPos(SB_HORZ), -GetScrollPos(SB_VERT), pw, ph);
}

void TExtCustomItemSelector::ScrollTo(int Bar, int Pos) {
  SetScrollPos(Bar, Pos);
  if (FItemSelectorPanel)
    FItemSelectorPanel->SetBounds(-GetScrollPos(SB_HORZ), -GetScrollPos(SB_VERT), FItemSelectorPanel->Width(),
                                  FItemSelectorPanel->Height());
}

void TExtCustomItemSelector::ScrollMessage(int Bar, TMessage& Message) {
  const TWMScroll m(Message);
  const int pos = GetScrollPos(Bar);
  const int page = Bar == SB_VERT ? ClientHeight() : ClientWidth();
  switch (m.ScrollCode()) {
    case SB_LINEUP: ScrollTo(Bar, pos - 8); break;
    case SB_LINEDOWN: ScrollTo(Bar, pos + 8); break;
    case SB_PAGEUP: ScrollTo(Bar, pos - page); break;
    case SB_PAGEDOWN: ScrollTo(Bar, pos + page); break;
    case SB_TOP: ScrollTo(Bar, 0); break;
    case SB_BOTTOM: ScrollTo(Bar, INT_MAX / 2); break;
    // The items follow the thumb while it is dragged, not only when it is let go.
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: ScrollTo(Bar, m.Pos()); break;
    default: break;
  }
}

void TExtCustomItemSelector::ScrollItemInView(int Index) {
  if (!FItemSelectorPanel || Index < 0 || Index >= FItems->Count() || !ScrollBarVisible(SB_VERT)) return;
  TRect r = FItemSelectorPanel->GetItemRect(Index);
  OffsetRect(r, FItemSelectorPanel->Left(), FItemSelectorPanel->Top());
  const int clientHeight = ClientHeight();
  const int pos = GetScrollPos(SB_VERT);
  if (r.Top < 0) {
    ScrollTo(SB_VERT, pos + r.Top);
  } else if (r.Bottom > clientHeight) {
    if (r.Height() > clientHeight) r.Bottom = r.Top + clientHeight;
    ScrollTo(SB_VERT, pos + r.Bottom - clientHeight);
  }
}

void TExtCustomItemSelector::Resize() {
  UpdateScrollBars();
  TWinControl::Resize();
}

void TExtCustomItemSelector::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTALLKEYS; return;
    case WM_VSCROLL: ScrollMessage(SB_VERT, Message); return;
    case WM_HSCROLL: ScrollMessage(SB_HORZ, Message); return;
    default: TWinControl::Dispatch(Message);
  }
}

}  // namespace dropdown
