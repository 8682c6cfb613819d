// The image picker: its items, filling them from a folder or the image list, the popup's item selector, the
// chosen image painted in the edit, the keys and the wheel.
#include "dropdown/image_picker.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

#include "dropdown/dropdown_styles.h"
#include "dropdown/selector_steps.h"
#include "platform/forms/extctrls.h"
#include "platform/forms/keys.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/imagelist.h"

namespace dropdown {

using namespace plat;

namespace {

bool KeyHeld(int vk) { return GetKeyState(vk) < 0; }

}  // namespace

// ---- items ------------------------------------------------------------------------------------------------

void TImageItem::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TImageItem*>(Source);
  if (!s) {
    TCollectionItem::Assign(Source);
    return;
  }
  AssignPickerItem(*s);
  FHint = s->FHint;
}

// ---- construction -----------------------------------------------------------------------------------------

TExtImagePickerDropDown::TExtImagePickerDropDown(TComponent* AOwner)
    : TExtCustomDropDown(AOwner),
      FItems(std::make_unique<TImageItems>(this)),
      FItemAppearance(std::make_unique<TItemAppearance>(this)) {
  FItems->OnChange = [](TObject*) {};
  SetEditorEnabled(false);
  SetDropDownEnabled(true);
  FKeyTimer = new TTimer(this);
  FKeyTimer->SetEnabled(false);
  FKeyTimer->SetInterval(500);
  FKeyTimer->OnTimer = [this](TObject*) { KeyTimerTick(); };
  SetCursor(crArrow);
  // The base made the popup form before this class existed; the selector joins it now.
  CreateDropDownForm();
}

TExtImagePickerDropDown::~TExtImagePickerDropDown() {
  FKeyTimer->SetEnabled(false);
  if (FItemSelector) {
    // The selector goes with the popup form, after this part of the drop-down.
    FItemSelector->OnItemSelect = nullptr;
    FItemSelector->OnDrawItem = nullptr;
  }
}

void TExtImagePickerDropDown::SetComponentStyle(TExtStyle AStyle) {
  TExtCustomDropDown::SetComponentStyle(AStyle);
  if (FItemAppearance) SetItemAppearanceStyle(FItemAppearance.get(), AStyle);
}

void TExtImagePickerDropDown::SetSelectionColorStyle(TSelectionColorStyle Value) {
  TExtCustomDropDown::SetSelectionColorStyle(Value);
  if (FItemSelector) FItemSelector->ItemAppearance()->SetColorStyle(Value);
}

// ---- the choice -------------------------------------------------------------------------------------------

void TExtImagePickerDropDown::SetItemIndex(int Value) {
  if (Value >= FItems->Count()) return;
  Value = std::max(Value, -1);
  if (Value == FItemIndex) return;
  FItemIndex = Value;
  Invalidate();
  if (OnChange) OnChange(this);
  if (OnSelect) OnSelect(this);
}

int TExtImagePickerDropDown::ImageIndex() const {
  return FItemIndex >= 0 && FItemIndex < FItems->Count() ? FItems->GetItem(FItemIndex)->ImageIndex() : -1;
}

void TExtImagePickerDropDown::SetImageIndex(int Value) {
  for (int i = 0; i < FItems->Count(); ++i) {
    if (FItems->GetItem(i)->ImageIndex() == Value) {
      SetItemIndex(i);
      return;
    }
  }
  SetItemIndex(-1);
}

void TExtImagePickerDropDown::SelectFirst() {
  if (FItems->Count() > 0) SetItemIndex(0);
}

void TExtImagePickerDropDown::SelectLast() {
  if (FItems->Count() > 0) SetItemIndex(FItems->Count() - 1);
}

void TExtImagePickerDropDown::SelectNext() {
  if (FItemIndex < 0)
    SetItemIndex(0);
  else if (FItemIndex + 1 < FItems->Count())
    SetItemIndex(FItemIndex + 1);
}

void TExtImagePickerDropDown::SelectPrevious() {
  if (FItemIndex < 0)
    SetItemIndex(0);
  else if (FItemIndex - 1 >= 0)
    SetItemIndex(FItemIndex - 1);
}

// ---- filling the items ------------------------------------------------------------------------------------

void TExtImagePickerDropDown::AddImagesFromImageList() {
  if (!Images()) return;
  for (int i = 0; i < Images()->Count(); ++i) FItems->Add()->SetImageIndex(i);
}

void TExtImagePickerDropDown::AddImageFile(const QString& Path, const QString& Name, bool SetImageCaption) {
  TImageItem& item = *FItems->Add();
  try {
    item.Image()->LoadFromFile(Path);
  } catch (const std::exception&) {
    // A file that is no picture (or a folder) stays in the list as an item without a picture.
    item.Image()->SetGraphic(static_cast<const TGraphic*>(nullptr));
  }
  if (SetImageCaption) item.StoreCaption(Name);
}

void TExtImagePickerDropDown::AddImagesFromFolder(const QString& AFolder, bool SetImageCaption) {
  const QFileInfo pattern(AFolder);
  const QString mask = pattern.fileName();
  if (mask.isEmpty()) return;
  const QString folder = pattern.path();
  // Every entry in the order the file system lists it, folders (with "." and "..") included.
  const QStringList names =
      QDir(folder).entryList({mask}, QDir::AllEntries | QDir::Hidden | QDir::System, QDir::Unsorted);
  for (const QString& name : names) AddImageFile(folder + QLatin1Char('/') + name, name, SetImageCaption);
}

// ---- the popup --------------------------------------------------------------------------------------------

void TExtImagePickerDropDown::CreateDropDownForm() {
  TExtCustomDropDown::CreateDropDownForm();
  if (!FDropDownForm || !FItems) return;
  if (!FItemSelector) {
    FItemSelector = new TExtCustomItemSelector(this);
    FItemSelector->SetParent(FDropDownForm.get());
    FItemSelector->SetSelectorType(stImage);
    FItemSelector->SetBounds(0, 0, FItemSelector->Width(), 150);
  }
  FItemSelector->SetColor(DropDownColor());
  FItemSelector->UpdateSelectorPanel();
  SetControl(FItemSelector);
}

void TExtImagePickerDropDown::BeforeDropDown() {
  TExtCustomDropDown::BeforeDropDown();
  PrepareSelector();
  if (FItemSelector) {
    if (OnDrawItem)
      FItemSelector->OnDrawItem = [this](TObject*, TCanvas* Canvas, TRect R, int Index) {
        if (OnDrawItem) OnDrawItem(this, Canvas, R, Index);
      };
    else
      FItemSelector->OnDrawItem = nullptr;
  }
  FOldItemIndex = FItemIndex;
}

void TExtImagePickerDropDown::FillSelectorItems() {
  TSelectorItems& items = *FItemSelector->Items();
  // One arrangement after the fill, not one per item.
  auto changed = std::move(items.OnChange);
  items.OnChange = nullptr;
  items.Clear();
  for (int i = 0; i < FItems->Count(); ++i) {
    const TImageItem& source = *FItems->GetItem(i);
    TSelectorItem& s = *items.Add();
    s.SetCaption(source.Caption());
    s.SetImage(source.Image());
    s.SetImageIndex(source.ImageIndex());
    s.SetHint(source.Hint());
  }
  items.OnChange = std::move(changed);
}

void TExtImagePickerDropDown::PrepareSelector() {
  if (!FItemSelector) return;
  FItemSelector->OnItemSelect = nullptr;
  FItemSelector->SetColumns(FColumns);
  FItemSelector->SetImages(Images());
  FItemSelector->SetItemLayout(FLayout);
  FItemSelector->SetColor(DropDownColor());
  FItemSelector->ItemAppearance()->Assign(FItemAppearance.get());
  FillSelectorItems();
  FItemSelector->UpdateSelectorPanel();
  FItemSelector->SetItemIndex(FItemIndex);
  FItemSelector->OnItemSelect = [this](TObject*) { SelectorItemSelect(); };
  FItemSelector->SetShowHint(ShowHint());
  FItemSelector->ItemSelectorPanel()->SetShowHint(ShowHint());
}

void TExtImagePickerDropDown::UpdateDropDownSize() {
  if (!FItemSelector) {
    TExtCustomDropDown::UpdateDropDownSize();
    return;
  }
  TSelectorSteps steps(*FItemSelector, FInternalCall);
  steps.BeforeSizing(DropDownWidth() < 1, DropDownHeight() < 1);
  TExtCustomDropDown::UpdateDropDownSize();
  steps.AfterSizing(*FDropDownForm, DropDownWidth() < 1);
}

void TExtImagePickerDropDown::DoHideDropDown(bool Cancelled) {
  TExtCustomDropDown::DoHideDropDown(Cancelled);
  if (Cancelled && FItemSelector) SetItemIndex(FOldItemIndex);
}

void TExtImagePickerDropDown::SelectorItemSelect() {
  SetItemIndex(FItemSelector->ItemIndex());
  if (!FInternalCall) DoHideDropDown(false);
}

void TExtImagePickerDropDown::KeyTimerTick() {
  FKeyTimer->SetEnabled(false);
  FCurSearch.clear();
}

// ---- the chosen image in the edit -----------------------------------------------------------------------------

void TExtImagePickerDropDown::PaintEditContent(TCanvas& Canvas) {
  TExtCustomDropDown::PaintEditContent(Canvas);
  PaintSelectedImage(Canvas);
}

void TExtImagePickerDropDown::PaintSelectedImage(TCanvas& Canvas) {
  const TRect r = GetEditRect();
  if (OnDrawSelectedImage) {
    OnDrawSelectedImage(this, &Canvas, r);
    return;
  }
  if (FItemIndex < 0 || FItemIndex >= FItems->Count()) return;
  const TImageItem& item = *FItems->GetItem(FItemIndex);
  TGraphic* picture = item.Image()->Graphic();
  if (picture && !picture->Empty()) {
    Canvas.Draw(r.Left + (r.Width() - picture->Width()) / 2, r.Top + (r.Height() - picture->Height()) / 2,
                picture);
  } else if (Images() && item.ImageIndex() >= 0) {
    Images()->Draw(&Canvas, r.Left + (r.Width() - Images()->Width()) / 2,
                   r.Top + (r.Height() - Images()->Height()) / 2, item.ImageIndex(), true);
  }
}

// ---- keys and the wheel ---------------------------------------------------------------------------------------

TSelectorSteps TExtImagePickerDropDown::Steps() { return TSelectorSteps(*FItemSelector, FInternalCall); }

void TExtImagePickerDropDown::Dispatch(TMessage& Message) {
  if (Message.Msg != WM_KEYDOWN) {
    TExtCustomDropDown::Dispatch(Message);
    return;
  }
  const auto key = static_cast<std::uint16_t>(Message.WParam);
  // Enter on the hot item of the open popup chooses it (and closes the popup).
  const bool entered = Enabled() && DroppedDown() && key == VK_RETURN && FItemSelector && Steps().EnterHot();
  TExtCustomDropDown::Dispatch(Message);
  if (Enabled() && !KeyHeld(VK_MENU) && FItemSelector) WindowKeyDown(key, entered);
}

void TExtImagePickerDropDown::WindowKeyDown(std::uint16_t Key, bool EnterHandled) {
  if (Key == VK_RETURN) {
    if (!EnterHandled && OnSelect) OnSelect(this);
    return;
  }
  if ((Key == VK_PRIOR || Key == VK_NEXT) && FItemSelector->Items()->Count() != FItems->Count()) PrepareSelector();
  TSelectorSteps steps = Steps();
  if (steps.MoveKey(Key, DroppedDown(), FColumns, !EditorEnabled())) return;
  switch (Key) {
    case VK_END: SelectLast(); break;
    case VK_HOME: SelectFirst(); break;
    case VK_UP: SelectPrevious(); break;
    case VK_DOWN: SelectNext(); break;
    default: steps.Search(Key, FCurSearch, *FKeyTimer); break;
  }
}

void TExtImagePickerDropDown::HandleMouseWheelDown() {
  TExtCustomDropDown::HandleMouseWheelDown();
  if (Enabled() && !ReadOnly() && FItemSelector) Steps().Wheel(true, DroppedDown());
}

void TExtImagePickerDropDown::HandleMouseWheelUp() {
  TExtCustomDropDown::HandleMouseWheelUp();
  if (Enabled() && !ReadOnly() && FItemSelector) Steps().Wheel(false, DroppedDown());
}

}  // namespace dropdown
