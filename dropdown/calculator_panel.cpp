#include "dropdown/calculator_panel.h"

#include "controls/draw_utils.h"
#include "dropdown/paint_routines.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/imagelist.h"

namespace dropdown {

using namespace plat;

// ---- TButtonItem, TButtonItems ------------------------------------------------------------------------------

TButtonItem::TButtonItem(TCollection* Collection)
    : TCollectionItem(Collection), FImage(std::make_unique<TPicture>()) {}

TButtonItem::~TButtonItem() = default;

void TButtonItem::SetImage(TPicture* Value) { FImage->Assign(Value); }

void TButtonItem::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TButtonItem*>(Source);
  if (!s) {
    TCollectionItem::Assign(Source);
    return;
  }
  Caption = s->Caption;
  CaptionColor = s->CaptionColor;
  Tag = s->Tag;
  ImageIndex = s->ImageIndex;
  FImage->Assign(s->FImage.get());
  Enabled = s->Enabled;
  Name = s->Name;
}

TButtonItems::TButtonItems(TPersistent* AOwner) : TCollection(ItemClassOf<TButtonItem>()), FOwner(AOwner) {}

void TButtonItems::Update(TCollectionItem* Item) {
  TCollection::Update(Item);
  if (OnChange) OnChange(this);
}

// ---- TButtonAppearance ------------------------------------------------------------------------------------

TButtonAppearance::TButtonAppearance()
    : FColorCheckedTo(AdjustColorChannels(0xF9D2B2, -10, -10, 0)),
      FColorDisabled(AdjustColorChannels(0xFFFFFF, -5, -5, -5)),
      FColorDisabledTo(AdjustColorChannels(0xFFFFFF, -5, -5, -5)),
      FColorChecked(AdjustColorChannels(0xF5F0E1, -10, -10, 0)) {
  FFont.SetSize(10);
  FFont.SetStyle(TFontStyles{fsBold});
}

void TButtonAppearance::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TButtonAppearance*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  SetBorderColor(s->FBorderColor);
  SetBorderColorHot(s->FBorderColorHot);
  SetBorderColorDown(s->FBorderColorDown);
  SetBorderColorChecked(s->FBorderColorChecked);
  SetColor(s->FColor);
  SetColorTo(s->FColorTo);
  SetColorDown(s->FColorDown);
  SetColorDownTo(s->FColorDownTo);
  SetColorHot(s->FColorHot);
  SetColorHotTo(s->FColorHotTo);
  SetColorCheckedTo(s->FColorCheckedTo);
  SetColorDisabled(s->FColorDisabled);
  SetColorDisabledTo(s->FColorDisabledTo);
  SetColorChecked(s->FColorChecked);
  SetTextColor(s->FTextColor);
  SetSpecialTextColor(s->FSpecialTextColor);
  FShineColor = s->FShineColor;
  GlowColorHot = s->GlowColorHot;
  GlowColorDown = s->GlowColorDown;
  FFont.Assign(s->FFont);
}

// ---- TCustomButtonPanel -----------------------------------------------------------------------------------

namespace {

struct TDefaultKey {
  const char* Caption;
  const char* Name;
  int Tag;
  bool Special;
};

// In index order: the blank key and Back, CE, C; then the memory column, the digits, the operators.
constexpr TDefaultKey DefaultKeys[28] = {
    {"", "BTN_ON", 30, false},        {"Back", "BTN_BACK", 31, true},  {"CE", "BTN_CE", 32, true},
    {"C", "BTN_C", 16, true},         {"MC", "BTN_MC", 33, true},      {"MR", "BTN_MR", 34, true},
    {"MS", "BTN_MS", 35, true},       {"M+", "BTN_M+", 36, true},      {"0", "BTN_0", 0, false},
    {"1", "BTN_1", 1, false},         {"4", "BTN_4", 4, false},        {"7", "BTN_7", 7, false},
    {"8", "BTN_8", 8, false},         {"5", "BTN_5", 5, false},        {"2", "BTN_2", 2, false},
    {"+/-", "BTN_+/-", 14, false},    {".", "BTN_.", 15, false},       {"3", "BTN_3", 3, false},
    {"6", "BTN_6", 6, false},         {"9", "BTN_9", 9, false},        {"/", "BTN_/", 13, true},
    {"*", "BTN_*", 12, true},         {"-", "BTN_-", 11, true},        {"+", "BTN_+", 10, true},
    {"=", "BTN_=", 17, true},         {"1/x", "BTN_1/x", 38, false},   {"%", "BTN_%", 18, false},
    {"sqrt", "BTN_sqrt", 37, true}};

// Row and column of the keys of rows 1 to 4 (indices 4 to 27).
constexpr int KeyRow[28] = {0, 0, 0, 0, 1, 2, 3, 4, 4, 3, 2, 1, 1, 2, 3, 4, 4, 3, 2, 1, 1, 2, 3, 4, 4, 3, 2, 1};
constexpr int KeyColumn[28] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5};

}  // namespace

TCustomButtonPanel::TCustomButtonPanel(TComponent* AOwner)
    : TCustomControl(AOwner),
      FButtons(std::make_unique<TButtonItems>(this)),
      FButtonAppearance(std::make_unique<TButtonAppearance>()) {
  // A hosted keypad is repainted by its popup; one standing alone repaints itself.
  auto changed = [this](TObject*) {
    if (!FExtDropDown) Invalidate();
  };
  FButtons->OnChange = changed;
  FButtonAppearance->OnChange = changed;
  SetBounds(0, 0, 230, 150);
}

TCustomButtonPanel::~TCustomButtonPanel() = default;

void TCustomButtonPanel::SetImages(TCustomImageList* Value) {
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
  ArrangeButtons();
}

void TCustomButtonPanel::SetEdit(TControl* Value) {
  if (FEdit) FEdit->RemoveFreeNotification(this);
  FEdit = Value;
  if (FEdit) FEdit->FreeNotification(this);
}

void TCustomButtonPanel::SetButtonPanelType(TButtonPanelType Value) {
  FButtonPanelType = Value;
  ArrangeButtons();
}

void TCustomButtonPanel::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) FImages = nullptr;
  if (AComponent == FEdit) FEdit = nullptr;
}

void TCustomButtonPanel::Loaded() {
  TCustomControl::Loaded();
  CreateDefaultButtons();
}

void TCustomButtonPanel::ClearButtons() { FButtons->Clear(); }

void TCustomButtonPanel::ResetButtons() {
  ClearButtons();
  CreateDefaultButtons();
}

void TCustomButtonPanel::CreateDefaultButtons() {
  if (FButtons->Count() > 0) return;
  if (FButtonPanelType == plCalculator) {
    FButtons->BeginUpdate();
    for (const TDefaultKey& k : DefaultKeys) {
      TButtonItem* item = FButtons->Add();
      item->Caption = QString::fromUtf8(k.Caption);
      item->Name = QString::fromUtf8(k.Name);
      item->Tag = k.Tag;
      item->Special = k.Special;
      if (k.Special) item->CaptionColor = 0x000080;
    }
    FButtons->EndUpdate();
  }
  ArrangeButtons();
}

void TCustomButtonPanel::GetButtonArea(TRect& Rect) const {
  const TRect r = ClientRect();
  Rect = TRect(r.Left + FOffSetX, r.Top + FOffSetY, r.Right - FOffSetX, r.Bottom - FOffSetY);
}

void TCustomButtonPanel::ArrangeButtons() {
  // Keys are placed by their fixed indices; a collection of another size keeps its own places.
  if (FButtonPanelType != plCalculator || FButtons->Count() != 28) return;
  TRect a;
  GetButtonArea(a);
  const int l = a.Left, t = a.Top;
  const int w = (a.Width() - 8) / 6, h = (a.Height() - 4) / 5;
  const int columnLeft[6] = {l, l + w + 4, l + 2 * w + 3, l + 3 * w + 2, l + 4 * w + 6, l + 5 * w + 5};
  const int rowTop[5] = {t, t + h + 4, t + 2 * h + 3, t + 3 * h + 2, t + 4 * h + 1};
  auto place = [&](int i, int left, int top, int width) {
    TButtonItem* b = FButtons->GetItem(i);
    b->Left = left, b->Top = top, b->Width = width, b->Height = h;
  };
  place(0, l, t, w);
  const int w3 = (5 * w - 7) / 3;
  place(1, l + w + 4, t, w3);
  place(2, l + w + w3 + 8, t, w3);
  place(3, l + w + 2 * w3 + 12, t, 5 * w - 2 * w3 - 7);
  for (int i = 4; i < 28; ++i) place(i, columnLeft[KeyColumn[i]], rowTop[KeyRow[i]], w);
}

TRect TCustomButtonPanel::GetButtonRect(int Index) const {
  if (Index < 0 || Index >= FButtons->Count()) return TRect(-1, -1, -1, -1);
  return FButtons->GetItem(Index)->GetRect();
}

int TCustomButtonPanel::ButtonAtPos(int X, int Y) const {
  for (int i = 0; i < FButtons->Count(); ++i) {
    if (FButtons->GetItem(i)->GetRect().Contains(TPoint(X, Y))) return i;
  }
  return -1;
}

bool TCustomButtonPanel::ButtonEnabled(int Index) const {
  return Index >= 0 && Index < FButtons->Count() && FButtons->GetItem(Index)->Enabled;
}

void TCustomButtonPanel::InvalidateButton(int Index) {
  if (Index < 0 || Index >= FButtons->Count()) return;
  Invalidate();
}

void TCustomButtonPanel::SetButtonHot(int Index) {
  if (Index == FButtonHot || (Index >= 0 && !ButtonEnabled(Index))) return;
  if (FButtonHot >= 0) InvalidateButton(FButtonHot);
  FButtonHot = Index;
  if (Index >= 0) InvalidateButton(Index);
}

void TCustomButtonPanel::SetButtonDown(int Index) {
  if (Index == FButtonDown || (Index >= 0 && !ButtonEnabled(Index))) return;
  if (FButtonDown >= 0) InvalidateButton(FButtonDown);
  FButtonDown = Index;
  if (Index >= 0) InvalidateButton(Index);
}

void TCustomButtonPanel::DoButtonClick(int Index) {
  if (OnButtonClick) OnButtonClick(this, Index);
}

void TCustomButtonPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  const int i = ButtonAtPos(X, Y);
  if (Button == mbLeft && ButtonEnabled(i)) SetButtonDown(i);
}

void TCustomButtonPanel::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  const int i = ButtonAtPos(X, Y);
  if (i < 0) {
    if (FButtonHot >= 0) SetButtonHot(-1);
  } else if (i != FButtonHot) {
    SetButtonHot(ButtonEnabled(i) ? i : -1);
  }
}

void TCustomButtonPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (FButtonDown < 0) return;
  const int pressed = FButtonDown;
  SetButtonDown(-1);
  if (ButtonAtPos(X, Y) == pressed) DoButtonClick(pressed);
}

void TCustomButtonPanel::Dispatch(TMessage& M) {
  TCustomControl::Dispatch(M);
  if (M.Msg == WM_SIZE) ArrangeButtons();
  if (M.Msg == CM_MOUSELEAVE) SetButtonHot(-1);
}

// ---- painting ------------------------------------------------------------------------------------------------

void TCustomButtonPanel::Paint() {
  TCanvas& c = *Canvas();
  if (!FExtDropDown) {
    c.Brush()->SetStyle(bsClear);
    c.Pen()->SetStyle(psSolid);
    c.Pen()->SetColor(clBlack);
    c.Rectangle(0, 0, Width(), Height());
  }
  // The hot key last, so that its edges lie over the lines it shares with its neighbours.
  for (int i = 0; i < FButtons->Count(); ++i) {
    if (i != FButtonHot) DrawButton(i, &c);
  }
  if (FButtonHot >= 0) DrawButton(FButtonHot, &c);
}

void TCustomButtonPanel::DrawFace(TCanvas& c, const TRect& r, int State) {
  if (controls::PaintThemePart(c, nullptr, "button", 1, State, r)) return;
  // Without themes the keypad paints its own push buttons in the appearance's colours.
  const TButtonAppearance& a = *FButtonAppearance;
  TColor from = a.Color(), to = a.ColorTo(), border = a.BorderColor();
  if (State == 4) from = a.ColorDisabled(), to = a.ColorDisabledTo(), border = a.BorderColor();
  if (State == 3) from = a.ColorDown(), to = a.ColorDownTo(), border = a.BorderColorDown();
  if (State == 2) from = a.ColorHot(), to = a.ColorHotTo(), border = a.BorderColorHot();
  DrawGradientBox(&c, r, from, to, true, 1, border);
}

TSize TCustomButtonPanel::PictureSize(const TButtonItem& Item) const {
  if (Item.Image() && Item.Image()->Graphic() && !Item.Image()->Graphic()->Empty())
    return TSize(Item.Image()->Width(), Item.Image()->Height());
  if (FImages && Item.ImageIndex >= 0) return TSize(FImages->Width(), FImages->Height());
  return TSize(0, 0);
}

void TCustomButtonPanel::DrawContent(TCanvas& c, const TButtonItem& item, const TRect& cr) {
  const TSize pic = PictureSize(item);
  const TSize text = GetTextSize(c, item.Caption);
  const int gap = CaptionGap;
  TPoint at(cr.Left, cr.Top + (cr.Height() - pic.cy) / 2);
  TRect tr = cr;
  unsigned align = DT_SINGLELINE | DT_VCENTER | (pic.cx > 0 ? DT_LEFT : DT_CENTER);
  switch (ButtonLayout) {
    case ilCaptionRight: tr.Left = cr.Left + pic.cx + (pic.cx > 0 ? gap : 0); break;
    case ilCaptionLeft:
      at.X = item.Caption.isEmpty() ? cr.Left : cr.Left + text.cx + gap;
      tr.Right = cr.Right - pic.cx;
      break;
    case ilCaptionTop:
      at.Y = item.Caption.isEmpty() ? cr.Top + (cr.Height() - pic.cy) / 2 : cr.Top + text.cy + gap;
      tr.Bottom = cr.Bottom - pic.cy;
      align = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
      break;
    case ilCaptionBottom:
      at.Y = item.Caption.isEmpty() ? cr.Top + (cr.Height() - pic.cy) / 2 : cr.Top;
      tr.Top = cr.Top + pic.cy + gap;
      align = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
      break;
  }
  if (item.Image() && item.Image()->Graphic() && !item.Image()->Graphic()->Empty())
    c.Draw(at.X, at.Y, item.Image()->Graphic());
  else if (FImages && item.ImageIndex >= 0)
    FImages->Draw(&c, at.X, at.Y, item.ImageIndex, item.Enabled);
  if (!item.Caption.isEmpty()) c.DrawText(item.Caption, tr, align);
}

void TCustomButtonPanel::DrawButton(int Index, TCanvas* Canvas) {
  if (!Canvas || Index < 0 || Index >= FButtons->Count()) return;
  const TButtonItem& item = *FButtons->GetItem(Index);
  const TRect r = GetButtonRect(Index);
  if (r.Left < 0 && r.Right < 0) return;
  TCanvas& c = *Canvas;
  c.Brush()->SetStyle(bsSolid);
  c.Brush()->SetColor(Color());
  c.FillRect(r);
  const int state = !Enabled() ? 4 : Index == FButtonDown ? 3 : Index == FButtonHot ? 2 : 1;
  DrawFace(c, r, state);
  c.Font()->Assign(*FButtonAppearance->Font());
  c.Font()->SetColor(item.Special ? FButtonAppearance->SpecialTextColor() : FButtonAppearance->TextColor());
  c.Brush()->SetStyle(bsClear);
  DrawContent(c, item, TRect(r.Left + FButtonOffSetX, r.Top + FButtonOffSetY, r.Right - FButtonOffSetX,
                             r.Bottom - FButtonOffSetY));
}

void TCustomButtonPanel::MeasureButtons(int& Width, int& Height) {
  TBitmap scratch(1, 1);
  TCanvas& c = *scratch.Canvas();
  c.Font()->Assign(*Font());
  TSize pic(0, 0), text(0, 0);
  for (int i = 0; i < FButtons->Count(); ++i) {
    const TButtonItem& item = *FButtons->GetItem(i);
    const TSize p = PictureSize(item), t = GetTextSize(c, item.Caption);
    pic = TSize(std::max(pic.cx, p.cx), std::max(pic.cy, p.cy));
    text = TSize(std::max(text.cx, t.cx), std::max(text.cy, t.cy));
  }
  const bool both = pic.cx > 0 && text.cx > 0;
  const int gap = both ? CaptionGap : 0;
  if (ButtonLayout == ilCaptionLeft || ButtonLayout == ilCaptionRight) {
    Width = 2 * FButtonOffSetX + pic.cx + gap + text.cx;
    Height = std::max(pic.cy, text.cy) + 2 * FButtonOffSetY;
  } else {
    Width = std::max(pic.cx, text.cx) + 2 * FButtonOffSetX;
    Height = 2 * FButtonOffSetY + pic.cy + gap + text.cy;
  }
}

}  // namespace dropdown
