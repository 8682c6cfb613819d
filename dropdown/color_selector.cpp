// The colour box selector: placing the boxes, drawing them with their frames, hot and selected boxes.
#include "dropdown/color_selector.h"

#include <algorithm>

#include "platform/graphics/canvas.h"

namespace dropdown {

using namespace plat;

// ---- border colours -----------------------------------------------------------------------------------------

void TColorBoxAppearance::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TColorBoxAppearance*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  BorderColor = s->BorderColor;
  OuterBorderColorHot = s->OuterBorderColorHot;
  InnerBorderColorHot = s->InnerBorderColorHot;
  OuterBorderColorSelected = s->OuterBorderColorSelected;
  InnerBorderColorSelected = s->InnerBorderColorSelected;
}

void TColorBoxAppearance::LoadDefaults() {
  TColorBoxAppearance defaults;
  Assign(&defaults);
}

// ---- the selector -------------------------------------------------------------------------------------------

namespace {

struct TPaletteRow {
  TItemPos Pos;
  TColor Colors[10];
};

constexpr TPaletteRow DefaultPalette[] = {
    {ipStandAlone,
     {0xFFFFFF, 0x000000, 0xE1ECEE, 0x7D491F, 0xBD814F, 0x4D50C0, 0x59BB9B, 0xA26480, 0xC6AC4B, 0x4696F7}},
    {ipTop, {0xF2F2F2, 0x7F7F7F, 0xC3D9DD, 0xDACEC2, 0xF1E5DB, 0xDBDCF2, 0xDDF1EB, 0xECE0E5, 0xF3EEDB, 0xDAEAFD}},
    {ipMiddle,
     {0xD8D8D8, 0x595959, 0x97BDC4, 0xE2B38D, 0xE4CCB8, 0xB7B9E5, 0xBCE3D7, 0xD9C1CC, 0xE8DDB7, 0xB5D5FB}},
    {ipMiddle,
     {0xBFBFBF, 0x3F3F3F, 0x538993, 0xD48D54, 0xD7B395, 0x9496D9, 0x9BD6C3, 0xC7A2B2, 0xDCCD92, 0x8FC0FA}},
    {ipMiddle,
     {0xA5A5A5, 0x262626, 0x294449, 0x5D3617, 0x926036, 0x343795, 0x3C9276, 0x7A495F, 0x9B8531, 0x096CE3}},
    {ipBottom,
     {0x7F7F7F, 0x0C0C0C, 0x101B1D, 0x3E240F, 0x614024, 0x232463, 0x28614F, 0x51313F, 0x675820, 0x064897}},
};

}  // namespace

TCustomColorSelector::TCustomColorSelector(TComponent* AOwner)
    : TExtCustomColorSelectorPanel(AOwner),
      FItems(std::make_unique<TColorBoxItems>(this)),
      FColorBoxAppearance(std::make_unique<TColorBoxAppearance>()) {
  SetParentColor(true);
  FItems->OnChange = [this](TObject*) { Invalidate(); };
}

TCustomColorSelector::~TCustomColorSelector() = default;

void TCustomColorSelector::SetItems(TColorBoxItems* Value) {
  FItems->Assign(Value);
  ArrangeItems();
}

void TCustomColorSelector::LoadDefaultPalette() {
  FItems->Clear();
  for (const TPaletteRow& row : DefaultPalette) {
    for (TColor c : row.Colors) {
      TColorBoxItem& box = *FItems->Add();
      box.SetColor(c);
      box.SetColorBoxPos(row.Pos);
    }
  }
  FItemIndex = -1;
  FItemHot = -1;
  ArrangeItems();
}

void TCustomColorSelector::Loaded() {
  TExtCustomColorSelectorPanel::Loaded();
  ArrangeItems();
}

// ---- layout -------------------------------------------------------------------------------------------------

TRect TCustomColorSelector::GetDrawArea() const {
  const TRect r = ClientRect();
  return TRect(r.Left + FOffsetX, r.Top + FOffsetY, r.Right - FOffsetX, r.Bottom - FOffsetY);
}

TSize TCustomColorSelector::GetColorBoxSize() const { return TSize(FColorBoxWidth, FColorBoxHeight); }

void TCustomColorSelector::ArrangeItems() {
  const int count = FItems->Count();
  if (count == 0) {
    SetBounds(Left(), Top(), 100, 50);
    return;
  }
  FItemHot = -1;
  const TSize box = GetColorBoxSize();
  int x = FOffsetX, y = FOffsetY;
  int widest = x;
  bool standAloneInRow = false;
  for (int i = 0; i < count; ++i) {
    TColorBoxItem& item = *FItems->GetItem(i);
    item.SetRect(TRect(x, y, x + box.cx, y + box.cy));
    widest = std::max(widest, x);
    standAloneInRow = standAloneInRow || item.ColorBoxPos() == ipStandAlone;
    if (i == count - 1) break;
    if ((i + 1) % FColumns == 0) {
      x = FOffsetX;
      y += box.cy + (standAloneInRow ? FColumnGap : 0);
      standAloneInRow = false;
    } else {
      x += box.cx + FColumnGap;
    }
  }
  SetBounds(Left(), Top(), widest + box.cx + FOffsetX + 1, y + box.cy + FOffsetY);
  Invalidate();
}

void TCustomColorSelector::InvalidateItem(int Index) {
  if (ValidIndex(Index)) Invalidate();
}

void TCustomColorSelector::SetColumns(int Value) {
  if (Value < 1 || Value == FColumns) return;
  FColumns = Value;
  ArrangeItems();
}

void TCustomColorSelector::SetColumnGap(int Value) {
  if (Value == FColumnGap) return;
  FColumnGap = Value;
  ArrangeItems();
}

void TCustomColorSelector::SetColorBoxWidth(int Value) {
  if (Value == FColorBoxWidth) return;
  FColorBoxWidth = Value;
  ArrangeItems();
}

void TCustomColorSelector::SetColorBoxHeight(int Value) {
  if (Value == FColorBoxHeight) return;
  FColorBoxHeight = Value;
  ArrangeItems();
}

void TCustomColorSelector::SetColorBoxAppearance(TColorBoxAppearance* Value) {
  FColorBoxAppearance->Assign(Value);
  Invalidate();
}

void TCustomColorSelector::SetItemColorStyle(TSelectionColorStyle Value) {
  if (Value == FItemColorStyle) return;
  FItemColorStyle = Value;
  if (Value != scCustom) {
    FColorBoxAppearance->LoadDefaults();
    Invalidate();
  }
}

// ---- drawing ------------------------------------------------------------------------------------------------

void TCustomColorSelector::DrawItem(TCanvas& Canvas, int Index) {
  if (!ValidIndex(Index)) return;
  const TColorBoxItem& item = *FItems->GetItem(Index);
  TRect r = item.Rect();
  if (r.IsEmpty()) return;
  if (item.Color() != clNone) {
    Canvas.Pen()->SetStyle(psSolid);
    Canvas.Pen()->SetColor(item.Color());
    Canvas.Brush()->SetStyle(bsSolid);
    Canvas.Brush()->SetColor(item.Color());
    Canvas.Rectangle(r);
  }
  const TColorBoxAppearance& look = *FColorBoxAppearance;
  const bool selected = Index == FItemIndex, hot = Index == FItemHot;
  if (selected || hot) {
    const TColor outer = selected ? look.OuterBorderColorSelected : look.OuterBorderColorHot;
    const TColor inner = selected ? look.InnerBorderColorSelected : look.InnerBorderColorHot;
    Canvas.Brush()->SetStyle(bsClear);
    Canvas.Pen()->SetStyle(psSolid);
    if (outer != clNone) {
      Canvas.Pen()->SetColor(outer);
      Canvas.Rectangle(r);
      r = TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    }
    if (inner != clNone) {
      Canvas.Pen()->SetColor(inner);
      Canvas.Rectangle(r);
    }
    return;
  }
  Canvas.Pen()->SetStyle(psSolid);
  Canvas.Pen()->SetColor(look.BorderColor);
  const int left = r.Left, top = r.Top, right = r.Right - 1, bottom = r.Bottom - 1;
  switch (item.ColorBoxPos()) {
    case ipStandAlone:
      Canvas.Brush()->SetStyle(bsClear);
      Canvas.Rectangle(r);
      break;
    case ipTop:
      Canvas.MoveTo(left, bottom + 1);
      Canvas.LineTo(left, top);
      Canvas.LineTo(right, top);
      Canvas.LineTo(right, bottom + 1);
      break;
    case ipMiddle:
      Canvas.MoveTo(left, top);
      Canvas.LineTo(left, bottom + 1);
      Canvas.MoveTo(right, top);
      Canvas.LineTo(right, bottom + 1);
      break;
    case ipBottom:
      Canvas.MoveTo(left, top);
      Canvas.LineTo(left, bottom);
      Canvas.LineTo(right, bottom);
      Canvas.MoveTo(right, top);
      Canvas.LineTo(right, bottom + 1);
      break;
  }
}

void TCustomColorSelector::Paint() {
  if (!Canvas()) return;
  for (int i = 0; i < FItems->Count(); ++i) DrawItem(*Canvas(), i);
}

// ---- selection and hot box ----------------------------------------------------------------------------------

void TCustomColorSelector::SetItemIndex(int Value) {
  Value = std::max(Value, -1);
  if (Value >= FItems->Count()) return;
  if (Value >= 0 && !BoxEnabled(Value)) return;
  const int old = FItemIndex;
  FItemIndex = Value;
  if (old >= 0 && old != Value) InvalidateItem(old);
  if (Value < 0) return;
  FSelectedColor = FItems->GetItem(Value)->Color();
  InvalidateItem(Value);
  if (OnItemSelect) OnItemSelect(this);
}

void TCustomColorSelector::SetItemHot(int Value) {
  if (!BoxEnabled(Value)) Value = -1;
  if (Value == FItemHot) return;
  const int old = FItemHot;
  FItemHot = Value;
  InvalidateItem(old);
  InvalidateItem(Value);
}

void TCustomColorSelector::SetSelectedColor(TColor Value) {
  if (Value == FSelectedColor) return;
  FSelectedColor = Value;
  if (Value != clNone) {
    for (int i = 0; i < FItems->Count(); ++i) {
      if (FItems->GetItem(i)->Color() == Value) {
        SetItemIndex(i);
        return;
      }
    }
  }
  SetItemIndex(-1);
}

void TCustomColorSelector::SelectFirst() {
  if (FItems->Count() > 0) SetItemIndex(0);
}

void TCustomColorSelector::SelectLast() {
  if (FItems->Count() > 0) SetItemIndex(FItems->Count() - 1);
}

void TCustomColorSelector::SelectNext() {
  if (FItemIndex < 0)
    SelectFirst();
  else if (FItemIndex + 1 < FItems->Count())
    SetItemIndex(FItemIndex + 1);
}

void TCustomColorSelector::SelectPrevious() {
  if (FItemIndex < 0)
    SelectFirst();
  else if (FItemIndex - 1 >= 0)
    SetItemIndex(FItemIndex - 1);
}

void TCustomColorSelector::HotNext() {
  if (FItemHot < 0)
    SetItemHot(0);
  else if (FItemHot + 1 < FItems->Count())
    SetItemHot(FItemHot + 1);
}

void TCustomColorSelector::HotPrevious() {
  if (FItemHot < 0)
    SetItemHot(0);
  else if (FItemHot - 1 >= 0)
    SetItemHot(FItemHot - 1);
}

int TCustomColorSelector::ItemAtPos(int X, int Y) const {
  for (int i = 0; i < FItems->Count(); ++i) {
    const TRect r = FItems->GetItem(i)->Rect();
    if (X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom) return i;
  }
  return -1;
}

TRect TCustomColorSelector::GetItemRect(int Index) const {
  return ValidIndex(Index) ? FItems->GetItem(Index)->Rect() : TRect(-1, -1, -1, -1);
}

// ---- mouse --------------------------------------------------------------------------------------------------

void TCustomColorSelector::MouseMove(TShiftState Shift, int X, int Y) {
  TExtCustomColorSelectorPanel::MouseMove(Shift, X, Y);
  SetItemHot(ItemAtPos(X, Y));
}

void TCustomColorSelector::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TExtCustomColorSelectorPanel::MouseDown(Button, Shift, X, Y);
  const int box = ItemAtPos(X, Y);
  if (BoxEnabled(box)) SetItemIndex(box);
}

void TCustomColorSelector::Dispatch(TMessage& Message) {
  TExtCustomColorSelectorPanel::Dispatch(Message);
  if (Message.Msg == CM_MOUSELEAVE) SetItemHot(-1);
}

}  // namespace dropdown
