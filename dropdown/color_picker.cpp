// The colour picker: its named colours and the choice, the popup control of each way of choosing, picking
// and cancelling, and the chosen colour painted in the edit.
#include "dropdown/color_picker.h"

#include <algorithm>

#include "dropdown/color_selector.h"
#include "dropdown/dropdown_styles.h"
#include "dropdown/selector_steps.h"
#include "platform/forms/extctrls.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/drawtext.h"

namespace dropdown {

using namespace plat;

namespace {

struct TNamedColor {
  const char* Caption;
  TColor Color;
};

constexpr TNamedColor DefaultColors[] = {
    {"Black", 0x000000}, {"Maroon", 0x000080}, {"Green", 0x008000},   {"Olive", 0x008080},
    {"Navy", 0x800000},  {"Purple", 0x800080}, {"Teal", 0x808000},    {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},   {"Lime", 0x00FF00},    {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},  {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},   {"White", 0xFFFFFF},
};

}  // namespace

// ---- construction -----------------------------------------------------------------------------------------

TExtColorPickerDropDown::TExtColorPickerDropDown(TComponent* AOwner)
    : TExtCustomDropDown(AOwner),
      FColors(std::make_unique<TColorItems>(this)),
      FItemAppearance(std::make_unique<TItemAppearance>(this)) {
  FColors->OnChange = [](TObject*) {};
  SetEditorEnabled(false);
  SetDropDownEnabled(true);
  SetDropDownHeight(200);
  DropDownHeader()->SetVisible(false);
  DropDownFooter()->SetVisible(false);
  SetCursor(crArrow);
  FKeyTimer = new TTimer(this);
  FKeyTimer->SetEnabled(false);
  FKeyTimer->SetInterval(500);
  FKeyTimer->OnTimer = [this](TObject*) { KeyTimerTick(); };
  SetComponentStyle(GetComponentStyle());
  // The base made the popup form before this class existed; the list joins it now.
  CreateDropDownForm();
}

TExtColorPickerDropDown::~TExtColorPickerDropDown() {
  FDestroying = true;
  FKeyTimer->SetEnabled(false);
  // The popup controls go with the popup form, after this part of the drop-down.
  if (FItemSelector) {
    FItemSelector->OnItemSelect = nullptr;
    FItemSelector->OnDrawItem = nullptr;
  }
  if (FColorSelector) FColorSelector->OnItemSelect = nullptr;
  if (FCubePanel) FCubePanel->OnSelect = FCubePanel->OnShouldHide = nullptr;
  if (FSpectrumPanel) FSpectrumPanel->OnSelect = FSpectrumPanel->OnShouldHide = nullptr;
}

void TExtColorPickerDropDown::AddDefaultColors() {
  for (const TNamedColor& named : DefaultColors) {
    TColorItem& item = *FColors->Add();
    item.SetCaption(QString::fromLatin1(named.Caption));
    item.SetColor(named.Color);
  }
}

void TExtColorPickerDropDown::SetComponentStyle(TExtStyle AStyle) {
  TExtCustomDropDown::SetComponentStyle(AStyle);
  if (FItemAppearance) SetItemAppearanceStyle(FItemAppearance.get(), AStyle);
}

void TExtColorPickerDropDown::SetSelectionColorStyle(TSelectionColorStyle Value) {
  TExtCustomDropDown::SetSelectionColorStyle(Value);
  if (FItemSelector) FItemSelector->ItemAppearance()->SetColorStyle(Value);
}

// ---- the choice -------------------------------------------------------------------------------------------

void TExtColorPickerDropDown::SetItemIndex(int Value) {
  if (Value >= FColors->Count()) return;
  Value = std::max(Value, -1);
  FItemIndex = Value;
  if (Value >= 0) FSelectedColor = FColors->GetItem(Value)->Color();
  Invalidate();
  if (OnSelect) OnSelect(this);
}

void TExtColorPickerDropDown::SetSelectedColor(TColor Value) {
  if (Value == FSelectedColor) return;
  FSelectedColor = Value;
  for (int i = 0; i < FColors->Count(); ++i) {
    if (FColors->GetItem(i)->Color() == Value) {
      SetItemIndex(i);
      return;
    }
  }
  FItemIndex = -1;
  Invalidate();
}

void TExtColorPickerDropDown::SetColorValueText(TColorValueText Value) {
  if (Value == FColorValueText) return;
  FColorValueText = Value;
  Invalidate();
}

void TExtColorPickerDropDown::SetShowText(bool Value) {
  if (Value == FShowText) return;
  FShowText = Value;
  Invalidate();
}

void TExtColorPickerDropDown::SetColumns(int Value) {
  if (Value >= 1) FColumns = Value;
}

QString TExtColorPickerDropDown::GetSelectedColorText() const {
  if (FColorSelectionStyle == csList && FItemIndex >= 0 && FItemIndex < FColors->Count())
    return FColors->GetItem(FItemIndex)->Caption();
  // No colour has no value to show (clNone would otherwise read as white).
  if (FSelectedColor == clNone) return QString();
  return ColorValueAsText(FSelectedColor, FColorValueText);
}

// ---- the popup control of each style ------------------------------------------------------------------------

TControl* TExtColorPickerDropDown::StyleControl() const {
  switch (FColorSelectionStyle) {
    case csList: return FItemSelector;
    case csDiscrete: return FColorSelector;
    case csColorCube: return FCubePanel;
    case csSpectrum: return FSpectrumPanel;
  }
  return nullptr;
}

void TExtColorPickerDropDown::CreateStyleControl() {
  if (!FDropDownForm || StyleControl()) return;
  switch (FColorSelectionStyle) {
    case csList:
      FItemSelector = new TExtCustomItemSelector(this);
      FItemSelector->SetParent(FDropDownForm.get());
      FItemSelector->SetSelectorType(stColor);
      FItemSelector->SetBounds(0, 0, FItemSelector->Width(), 150);
      break;
    case csDiscrete:
      FColorSelector = new TCustomColorSelector(this);
      FColorSelector->SetParent(FDropDownForm.get());
      FColorSelector->LoadDefaultPalette();
      break;
    case csColorCube:
      FCubePanel = new TExtColorCubePanel(this);
      FCubePanel->SetParent(FDropDownForm.get());
      FCubePanel->OnShouldHide = [this](TObject*) { DoHideDropDown(false); };
      break;
    case csSpectrum:
      FSpectrumPanel = new TExtColorSpectrumPanel(this);
      FSpectrumPanel->SetParent(FDropDownForm.get());
      FSpectrumPanel->OnShouldHide = [this](TObject*) { DoHideDropDown(false); };
      break;
  }
}

void TExtColorPickerDropDown::CreateDropDownForm() {
  TExtCustomDropDown::CreateDropDownForm();
  if (!FDropDownForm || !FColors) return;
  CreateStyleControl();
  if (TControl* control = StyleControl()) {
    control->SetColor(DropDownColor());
    SetControl(control);
  }
}

void TExtColorPickerDropDown::PreparePopupControl() {
  CreateStyleControl();
  TControl* control = StyleControl();
  if (!control) return;
  // Sized by its own rule below, so not stretched to the popup while that happens.
  control->SetAlign(alNone);
  control->SetAnchors(TAnchors{akLeft, akTop});
  control->SetBounds(0, 0, control->Width(), control->Height());
  control->SetColor(DropDownColor());
  for (TControl* other : {static_cast<TControl*>(FItemSelector), static_cast<TControl*>(FColorSelector),
                          static_cast<TControl*>(FCubePanel), static_cast<TControl*>(FSpectrumPanel)})
    if (other && other != control) other->Hide();
  switch (FColorSelectionStyle) {
    case csList:
      PrepareList();
      FOldItemIndex = FItemIndex;
      break;
    case csDiscrete:
      FColorSelector->OnItemSelect = nullptr;
      FColorSelector->SetSelectedColor(FSelectedColor);
      FColorSelector->ArrangeItems();
      FColorSelector->SetItemColorStyle(SelectionColorStyle());
      FColorSelector->OnItemSelect = [this](TObject*) {
        PanelSelect(FColorSelector->SelectedColor(), !FInternalCall);
      };
      break;
    case csColorCube:
      FCubePanel->SetSelectedColor(FSelectedColor);
      FCubePanel->BuildCube();
      FCubePanel->ResetCube();
      FCubePanel->OnSelect = [this](TObject*) { PanelSelect(FCubePanel->SelectedColor(), true); };
      break;
    case csSpectrum:
      FSpectrumPanel->SetSelectedColor(FSelectedColor);
      FSpectrumPanel->ArrangeSpectrum();
      FSpectrumPanel->OnSelect = [this](TObject*) { PanelSelect(FSpectrumPanel->SelectedColor(), true); };
      break;
  }
  FPanelSize = TSize(control->Width(), control->Height());
  control->Show();
  SetControl(control);
  FOldSelectedColor = FSelectedColor;
}

void TExtColorPickerDropDown::SetColorSelectionStyle(TColorSelectionStyle Value) {
  if (Value == FColorSelectionStyle) return;
  FColorSelectionStyle = Value;
  // The base remembers the popup's last size as the user's; a new way of choosing has a size of its own.
  // (Writing the size properties makes it forget.)
  const int w = DropDownWidth(), h = DropDownHeight();
  SetDropDownWidth(w + 1);
  SetDropDownWidth(w);
  SetDropDownHeight(h + 1);
  SetDropDownHeight(h);
  PreparePopupControl();
  UpdateDropDownSize();
  if (FDropDownForm) FDropDownForm->Invalidate();
}

void TExtColorPickerDropDown::FillListItems() {
  TSelectorItems& items = *FItemSelector->Items();
  // One arrangement after the fill, not one per item.
  auto changed = std::move(items.OnChange);
  items.OnChange = nullptr;
  items.Clear();
  for (int i = 0; i < FColors->Count(); ++i) {
    const TColorItem& source = *FColors->GetItem(i);
    TSelectorItem& s = *items.Add();
    s.SetCaption(source.Caption());
    s.SetColor(source.Color());
    s.SetHint(source.Hint());
  }
  items.OnChange = std::move(changed);
}

void TExtColorPickerDropDown::PrepareList() {
  if (!FItemSelector) return;
  FItemSelector->OnItemSelect = nullptr;
  FItemSelector->SetSelectorType(stColor);
  FItemSelector->SetHeight(150);
  FItemSelector->SetColumns(FColumns);
  FItemSelector->SetImages(Images());
  FItemSelector->SetItemLayout(FLayout);
  FItemSelector->SetColor(DropDownColor());
  FillListItems();
  FItemSelector->SetColorBoxHeight(FColorBoxHeight);
  FItemSelector->SetColorBoxWidth(FColorBoxWidth);
  FItemSelector->ItemAppearance()->Assign(FItemAppearance.get());
  FItemSelector->UpdateSelectorPanel();
  FItemSelector->SetItemIndex(FItemIndex);
  FItemSelector->OnItemSelect = [this](TObject*) { ListItemSelect(); };
  FItemSelector->SetShowHint(ShowHint());
  FItemSelector->ItemSelectorPanel()->SetShowHint(ShowHint());
  if (OnDrawColor)
    FItemSelector->OnDrawItem = [this](TObject*, TCanvas* Canvas, TRect R, int Index) {
      if (OnDrawColor) OnDrawColor(this, Canvas, R, Index);
    };
  else
    FItemSelector->OnDrawItem = nullptr;
}

void TExtColorPickerDropDown::BeforeDropDown() {
  TExtCustomDropDown::BeforeDropDown();
  PreparePopupControl();
}

void TExtColorPickerDropDown::PlaceDropDownControl() {
  TExtCustomDropDown::PlaceDropDownControl();
  if (FColorSelectionStyle == csList || !FDropDownForm) return;
  FDropDownForm->SetSizeable(false);
  // The panels keep the size their own rule gave them, inside the popup's border.
  if (FControl && FControl == StyleControl()) {
    FControl->SetAlign(alNone);
    FControl->SetAnchors(TAnchors{akLeft, akTop});
    FControl->SetBounds(DropDownBorderWidth(), FControl->Top(), FPanelSize.cx, FPanelSize.cy);
  }
}

void TExtColorPickerDropDown::UpdateDropDownSize() {
  if (!FDropDownForm) return;
  if (FColorSelectionStyle != csList) {
    TControl* control = StyleControl();
    const bool shown = control && control->Visible();
    const int border = DropDownBorderWidth();
    const int w = (shown ? FPanelSize.cx : Width()) + 2 * border;
    int h = 2 * border + (shown ? FPanelSize.cy : 0);
    if (DropDownHeader()->Visible()) h += DropDownHeader()->Height;
    if (DropDownFooter()->Visible()) h += DropDownFooter()->Height;
    FDropDownForm->SetBounds(FDropDownForm->Left(), FDropDownForm->Top(), w, h);
    return;
  }
  if (!FItemSelector) {
    TExtCustomDropDown::UpdateDropDownSize();
    return;
  }
  TSelectorSteps steps(*FItemSelector, FInternalCall);
  steps.BeforeSizing(DropDownWidth() < 1, DropDownHeight() < 1);
  TExtCustomDropDown::UpdateDropDownSize();
  // The popup is sized from its control once more when the control is placed: the list takes the popup's
  // height now (DropDownHeight included).
  FItemSelector->SetHeight(FDropDownForm->Height() - 2 * DropDownBorderWidth());
  steps.AfterSizing(*FDropDownForm, DropDownWidth() < 1);
}

// ---- picking and closing ------------------------------------------------------------------------------------

void TExtColorPickerDropDown::ListItemSelect() {
  SetItemIndex(FItemSelector->ItemIndex());
  if (!FInternalCall) DoHideDropDown(false);
}

void TExtColorPickerDropDown::PanelSelect(TColor Color, bool Hide) {
  SetSelectedColor(Color);
  SetItemIndex(-1);
  if (Hide) DoHideDropDown(false);
}

void TExtColorPickerDropDown::DoHideDropDown(bool Cancelled) {
  const bool wasOpen = DroppedDown();
  TExtCustomDropDown::DoHideDropDown(Cancelled);
  if (!Cancelled || !wasOpen) return;
  if (FColorSelectionStyle == csList && FItemSelector) {
    // A colour chosen outside the list (no named colour selected) comes back as well, not only the index.
    if (FOldItemIndex < 0) FSelectedColor = FOldSelectedColor;
    SetItemIndex(FOldItemIndex);
  } else if (FColorSelectionStyle == csDiscrete && FColorSelector) {
    FColorSelector->SetSelectedColor(FOldSelectedColor);
    // A colour the palette does not hold is not passed back by the palette: restore it here.
    if (FSelectedColor != FOldSelectedColor) PanelSelect(FOldSelectedColor, false);
  }
}

void TExtColorPickerDropDown::DropDownFormDestroyed() {
  if (FDestroying) return;
  FItemSelector = nullptr;
  FColorSelector = nullptr;
  FCubePanel = nullptr;
  FSpectrumPanel = nullptr;
}

void TExtColorPickerDropDown::KeyTimerTick() {
  FKeyTimer->SetEnabled(false);
  FCurSearch.clear();
}

// ---- the chosen colour in the edit --------------------------------------------------------------------------

void TExtColorPickerDropDown::PaintEditContent(TCanvas& Canvas) {
  const TRect area(1, 1, Width() - DropDownButtonWidth() - 2, Height() - 2);
  if (OnDrawSelectedColor) {
    OnDrawSelectedColor(this, &Canvas, area);
    return;
  }
  if (FSelectedColor == clNone) return;
  const int top = (Height() - FColorBoxHeight) / 2 + 1;
  const TRect box(5, top, 5 + FColorBoxWidth, top + FColorBoxHeight);
  Canvas.Pen()->SetStyle(psSolid);
  Canvas.Pen()->SetColor(clBlack);
  Canvas.Brush()->SetStyle(bsSolid);
  Canvas.Brush()->SetColor(FSelectedColor);
  Canvas.Rectangle(box);
  if (!FShowText) return;
  const bool focused = Focused();
  Canvas.Font()->Assign(*Font());
  if (focused && !EditorEnabled()) Canvas.Font()->SetColor(clHighlightText);
  TRect text(box.Right + 4, area.Top, area.Right, area.Bottom);
  Canvas.Brush()->SetStyle(bsSolid);
  Canvas.Brush()->SetColor(focused ? clHighlight : Color());
  Canvas.DrawText(GetSelectedColorText(), text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS);
}

}  // namespace dropdown
