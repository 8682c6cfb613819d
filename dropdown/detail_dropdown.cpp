// The detail drop-down: its items, the popup's item selector and the rows it draws, completion while typing,
// the keys and the wheel.
#include "dropdown/detail_dropdown.h"

#include <algorithm>

#include "dropdown/dropdown_styles.h"
#include "dropdown/paint_routines.h"
#include "platform/forms/extctrls.h"
#include "platform/forms/keys.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/drawtext.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/imagelist.h"

namespace dropdown {

using namespace plat;

namespace {

constexpr int SystemBorderWidth = 1;

}  // namespace

// ---- items ------------------------------------------------------------------------------------------------

void TDetailItem::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TDetailItem*>(Source);
  if (!s) {
    TCollectionItem::Assign(Source);
    return;
  }
  AssignPickerItem(*s);
  FNotes = s->FNotes;
  FTag = s->FTag;
  FItemObject = s->FItemObject;
}

int TDetailItems::IndexOf(const QString& AValue) const {
  for (int i = 0; i < Count(); ++i)
    if (GetItem(i)->Caption() == AValue) return i;
  return -1;
}

// ---- construction -----------------------------------------------------------------------------------------

TExtDetailDropDown::TExtDetailDropDown(TComponent* AOwner)
    : TExtCustomDropDown(AOwner),
      FItems(std::make_unique<TDetailItems>(this)),
      FItemAppearance(std::make_unique<TItemAppearance>(this)),
      FCaptionFont(std::make_unique<TFont>()),
      FNotesFont(std::make_unique<TFont>()) {
  // Item edits do not reach an open popup: it is refilled when it next opens.
  FItems->OnChange = [](TObject*) {};
  SetEditorEnabled(true);
  SetDropDownEnabled(true);
  FKeyTimer = new TTimer(this);
  FKeyTimer->SetEnabled(false);
  FKeyTimer->SetInterval(500);
  FKeyTimer->OnTimer = [this](TObject*) { KeyTimerTick(); };
  FCaptionFont->Assign(*Font());
  FNotesFont->Assign(*Font());
  // The base made the popup form before this class existed; the selector joins it now.
  CreateDropDownForm();
}

TExtDetailDropDown::~TExtDetailDropDown() {
  FKeyTimer->SetEnabled(false);
  if (FItemSelector) {
    // The selector goes with the popup form, after this part of the drop-down.
    FItemSelector->OnItemSelect = nullptr;
    FItemSelector->OnDrawItem = nullptr;
    FItemSelector->OnItemSize = nullptr;
    FItemSelector->OnResize = nullptr;
  }
}

void TExtDetailDropDown::SetCaptionFont(const TFont& Value) { FCaptionFont->Assign(Value); }
void TExtDetailDropDown::SetNotesFont(const TFont& Value) { FNotesFont->Assign(Value); }

void TExtDetailDropDown::SetComponentStyle(TExtStyle AStyle) {
  TExtCustomDropDown::SetComponentStyle(AStyle);
  if (FItemAppearance) SetItemAppearanceStyle(FItemAppearance.get(), AStyle);
}

void TExtDetailDropDown::SetSelectionColorStyle(TSelectionColorStyle Value) {
  TExtCustomDropDown::SetSelectionColorStyle(Value);
  if (FItemSelector) FItemSelector->ItemAppearance()->SetColorStyle(Value);
}

// ---- the choice -------------------------------------------------------------------------------------------

void TExtDetailDropDown::SetText(const QString& Value) {
  const bool saved = FTextFromCode;
  FTextFromCode = true;
  TExtCustomDropDown::SetText(Value);
  FTextFromCode = saved;
}


void TExtDetailDropDown::SetItemIndex(int Value) {
  if (Value == FItemIndex) return;
  if (Value >= 0 && Value < FItems->Count()) {
    FItemIndex = Value;
    SetText(FItems->GetItem(Value)->Caption());
    SetSelStart(0);
    SetSelLength(static_cast<int>(RawText().size()));
    Invalidate();
    if (FItemSelector) FItemSelector->Invalidate();
    if (OnSelect) OnSelect(this);
  } else if (Value == -1) {
    SetText(QString());
    FItemIndex = -1;
  }
}

void TExtDetailDropDown::SelectFirst() {
  if (FItems->Count() > 0) SetItemIndex(0);
}

void TExtDetailDropDown::SelectLast() {
  if (FItems->Count() > 0) SetItemIndex(FItems->Count() - 1);
}

void TExtDetailDropDown::SelectNext() {
  if (FItemIndex < 0)
    SetItemIndex(0);
  else if (FItemIndex + 1 < FItems->Count())
    SetItemIndex(FItemIndex + 1);
}

void TExtDetailDropDown::SelectPrevious() {
  if (FItemIndex < 0)
    SetItemIndex(0);
  else if (FItemIndex - 1 >= 0)
    SetItemIndex(FItemIndex - 1);
}

// ---- the popup --------------------------------------------------------------------------------------------

void TExtDetailDropDown::CreateDropDownForm() {
  TExtCustomDropDown::CreateDropDownForm();
  if (!FDropDownForm || !FItems) return;
  if (!FItemSelector) {
    FItemSelector = new TExtCustomItemSelector(this);
    FItemSelector->SetParent(FDropDownForm.get());
    FItemSelector->SetSelectorType(stImage);
    FItemSelector->SetBounds(0, 0, FItemSelector->Width(), 150);
    FItemSelector->OnDrawItem = [this](TObject*, TCanvas* Canvas, TRect R, int Index) {
      DrawDetailItem(Canvas, Index, R);
    };
    FItemSelector->OnItemSize = [this](TObject*, TSize& Size) { GetDetailItemSize(Size); };
    FItemSelector->UpdateSelectorPanel();
    FItemSelector->OnResize = [this](TObject*) { FItemSelector->UpdateSelectorPanel(); };
  }
  FItemSelector->SetColor(DropDownColor());
  FItemSelector->UpdateSelectorPanel();
  SetControl(FItemSelector);
}

void TExtDetailDropDown::BeforeDropDown() {
  TExtCustomDropDown::BeforeDropDown();
  PrepareSelector();
  FOldItemIndex = FItemIndex;
}

void TExtDetailDropDown::FillSelectorItems() {
  TSelectorItems& items = *FItemSelector->Items();
  // One arrangement after the fill, not one per item.
  auto changed = std::move(items.OnChange);
  items.OnChange = nullptr;
  items.Clear();
  for (int i = 0; i < FItems->Count(); ++i) {
    const TDetailItem& d = *FItems->GetItem(i);
    TSelectorItem& s = *items.Add();
    s.SetCaption(d.Caption());
    s.SetImage(d.Image());
    s.SetImageIndex(d.ImageIndex());
  }
  items.OnChange = std::move(changed);
}

void TExtDetailDropDown::PrepareSelector() {
  if (!FItemSelector) return;
  FItemSelector->OnItemSelect = nullptr;
  FItemSelector->SetColumns(1);
  FItemSelector->SetImages(Images());
  FItemSelector->SetItemLayout(FLayout);
  FItemSelector->SetColor(DropDownColor());
  FItemSelector->ItemAppearance()->Assign(FItemAppearance.get());
  FillSelectorItems();
  FItemSelector->UpdateSelectorPanel();
  FItemSelector->SetItemIndex(FItemIndex);
  FItemSelector->OnItemSelect = [this](TObject*) { SelectorItemSelect(); };
}

void TExtDetailDropDown::UpdateDropDownSize() {
  if (FItemSelector) {
    // Sized by hand from here: the right anchor that filling the popup left would stretch it as the popup grows.
    FItemSelector->SetAlign(alNone);
    FItemSelector->SetAnchors(TAnchors{akLeft, akTop});
    if (DropDownWidth() <= 0) FItemSelector->SetWidth(Width());
    if (DropDownHeight() <= 0) FItemSelector->SetHeight(100);
  }
  TExtCustomDropDown::UpdateDropDownSize();
  if (!FItemSelector) return;
  // The rows are as wide as the popup, whose width is known only now.
  FItemSelector->UpdateSelectorPanel();
  FItemSelector->ScrollItemInView(FItemSelector->ItemIndex());
}

void TExtDetailDropDown::DoShowDropDown() {
  TExtCustomDropDown::DoShowDropDown();
  if (FItemSelector && DroppedDown() && FItemSelector->CanFocus()) FItemSelector->SetFocus();
}

void TExtDetailDropDown::DoHideDropDown(bool Cancelled) {
  TExtCustomDropDown::DoHideDropDown(Cancelled);
  if (Cancelled && FItemSelector && FOldItemIndex != -1) SetItemIndex(FOldItemIndex);
}

void TExtDetailDropDown::DropDownSizing() {
  TExtCustomDropDown::DropDownSizing();
  if (FItemSelector) FItemSelector->UpdateSelectorPanel();
}

void TExtDetailDropDown::SelectorItemSelect() {
  const int index = FItemSelector->ItemIndex();
  SetItemIndex(index);
  if (index >= 0 && index < FItems->Count()) {
    SetText(FItems->GetItem(index)->Caption());
    SetSelStart(0);
    SetSelLength(static_cast<int>(RawText().size()));
  }
  if (!FInternalCall) DoHideDropDown(false);
}

void TExtDetailDropDown::KeyTimerTick() {
  FKeyTimer->SetEnabled(false);
  FCurSearch.clear();
}

// ---- rows -------------------------------------------------------------------------------------------------

void TExtDetailDropDown::GetDetailItemSize(TSize& ASize) {
  const int w = DropDownWidth() > 0 ? DropDownWidth() : (FDropDownForm ? FDropDownForm->Width() : Width());
  ASize.cx = w - 2 * SystemBorderWidth - 4;
  if (FItemSelector && FItemSelector->ScrollBarVisible(SB_VERT)) ASize.cx -= FItemSelector->ScrollBarSize();
  // A row height below 1 counts as 1: the rows are counted by dividing by it.
  ASize.cy = std::max(1, FItemHeight);
}

void TExtDetailDropDown::DrawDetailItem(TCanvas* Canvas, int Index, TRect R) {
  if (!Canvas) return;
  if (OnDrawSelectedImage) {
    OnDrawSelectedImage(this, Canvas, R);
    return;
  }
  if (Index < 0 || Index >= FItems->Count()) return;
  TDetailItem& item = *FItems->GetItem(Index);
  const bool captioned = !item.Caption().isEmpty();
  TGraphic* picture = item.Image()->Graphic();
  if (picture && picture->Empty()) picture = nullptr;
  if (!picture && Images() && item.ImageIndex() >= 0) {
    const int iw = Images()->Width(), ih = Images()->Height();
    const int x = captioned ? R.Left + 2 : R.Left + (R.Width() - iw) / 2;
    Images()->Draw(Canvas, x, R.Top + (R.Height() - ih) / 2, item.ImageIndex(), true);
    R.Left += iw + 4;
  } else if (picture) {
    const int pw = picture->Width(), ph = picture->Height();
    const int x = captioned ? R.Left + 2 : R.Left + (R.Width() - pw) / 2;
    if (auto* bitmap = dynamic_cast<TBitmap*>(picture)) {
      bitmap->SetTransparentMode(tmAuto);
      bitmap->SetTransparent(true);
    }
    Canvas->Draw(x, R.Top + (R.Height() - ph) / 2, picture);
    R.Left += pw + 4;
  }
  const TItemAppearance& a = *FItemAppearance;
  auto colourFont = [&](const TFont& font) {
    Canvas->Font()->Assign(font);
    if (FItemSelector && Index == FItemSelector->ItemHot()) Canvas->Font()->SetColor(a.ColorHotText);
    if (Index == FItemIndex) Canvas->Font()->SetColor(a.ColorSelectedText);
  };
  colourFont(*FCaptionFont);
  Canvas->Brush()->SetStyle(bsClear);
  R = TRect(R.Left + 4, R.Top + 2, R.Right - 4, R.Bottom);
  TRect text = R;
  Canvas->DrawText(item.Caption(), text, DT_END_ELLIPSIS);
  if (item.Notes().isEmpty()) return;
  R.Top += Canvas->TextHeight(QStringLiteral("gh"));
  colourFont(*FNotesFont);
  TSize size;
  DrawHTMLText(*Canvas, item.Notes(), R, size, nullptr, true, Images());
}

}  // namespace dropdown
