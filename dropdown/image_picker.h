#pragma once
// TExtImagePickerDropDown: a drop-down whose popup is a grid of images (each with an optional caption and hint)
// and whose edit shows the chosen image instead of text. Items take their image from a picture of their own or
// from the drop-down's image list; they can be added in bulk from the files of a folder or from every image of
// the image list. The edit cannot be typed into: keys step through the images and letters search the captions.

#include <QString>

#include <memory>

#include "dropdown/ext_dropdown.h"
#include "dropdown/item_selector.h"
#include "dropdown/picker_item.h"
#include "platform/rtl/collection.h"

namespace plat {
class TPicture;
class TTimer;
}  // namespace plat

namespace dropdown {

class TSelectorSteps;

class TImageItem : public TPickerItem {
  PLAT_CLASS(TImageItem)

  explicit TImageItem(plat::TCollection* Collection) : TPickerItem(Collection) {}

  // Another image item: caption and image index through their setters, the picture, Enabled and the hint.
  // Another class: the base's rule.
  void Assign(plat::TPersistent* Source) override;

  QString Hint() const { return FHint; }
  void SetHint(const QString& Value) { FHint = Value; }

 private:
  friend class TExtImagePickerDropDown;
  QString FHint;
};

class TImageItems : public TPickerItemsOf<TImageItem> {
  PLAT_CLASS(TImageItems)

  explicit TImageItems(plat::TPersistent* AOwner) : TPickerItemsOf(AOwner) {}
};

class TExtImagePickerDropDown : public TExtCustomDropDown {
 public:
  explicit TExtImagePickerDropDown(plat::TComponent* AOwner);
  ~TExtImagePickerDropDown() override;

  TImageItems* Items() const { return FItems.get(); }
  void SetItems(TImageItems* Value) { FItems->Assign(Value); }
  int ItemIndex() const { return FItemIndex; }
  // A new index below the item count (negative: no choice) repaints the edit and fires OnChange, then
  // OnSelect.
  void SetItemIndex(int Value);
  // The chosen item's image index, -1 without a choice. Writing chooses the first item with that image index,
  // or nothing when none has it.
  int ImageIndex() const;
  void SetImageIndex(int Value);
  // Stored; the popup shows them when it next opens.
  int Columns() const { return FColumns; }
  void SetColumns(int Value) { FColumns = Value; }
  TItemLayout Layout() const { return FLayout; }
  void SetLayout(TItemLayout Value) { FLayout = Value; }
  TItemAppearance* ItemAppearance() const { return FItemAppearance.get(); }
  void SetItemAppearance(TItemAppearance* Value) { FItemAppearance->Assign(Value); }
  TExtCustomItemSelector* ItemSelector() const { return FItemSelector; }

  void SelectFirst();
  void SelectLast();
  void SelectNext();
  void SelectPrevious();
  // One item per image of Images, with image indexes 0, 1, 2 ...
  void AddImagesFromImageList();
  // AFolder is a folder and a file mask ("/pictures/*.png"). Every entry the folder lists for the mask, folders
  // among them, becomes an item in the order listed, with the picture loaded from it; an entry that does not
  // load as a picture stays as an item without a picture. SetImageCaption gives each item the entry's name.
  void AddImagesFromFolder(const QString& AFolder, bool SetImageCaption);

  void SetComponentStyle(TExtStyle AStyle) override;
  void SetSelectionColorStyle(TSelectionColorStyle Value) override;

  plat::TNotifyEvent OnSelect;
  TOnDrawSelectedItem OnDrawSelectedImage;
  // Draws the popup's cells after the selector painted their background; Sender is the picker.
  TDrawItemEvent OnDrawItem;

  void Dispatch(plat::TMessage& Message) override;

 protected:
  void CreateDropDownForm() override;
  void BeforeDropDown() override;
  void UpdateDropDownSize() override;
  void DoHideDropDown(bool Cancelled) override;
  void HandleMouseWheelDown() override;
  void HandleMouseWheelUp() override;
  void PaintEditContent(plat::TCanvas& Canvas) override;

 private:
  void PrepareSelector();
  void FillSelectorItems();
  void SelectorItemSelect();
  void KeyTimerTick();
  void AddImageFile(const QString& Path, const QString& Name, bool SetImageCaption);
  void PaintSelectedImage(plat::TCanvas& Canvas);
  void WindowKeyDown(std::uint16_t Key, bool EnterHandled);
  TSelectorSteps Steps();

  TExtCustomItemSelector* FItemSelector = nullptr;
  int FColumns = 1;
  TItemLayout FLayout = ilCaptionRight;
  std::unique_ptr<TImageItems> FItems;
  int FItemIndex = -1;
  std::unique_ptr<TItemAppearance> FItemAppearance;
  bool FInternalCall = false;
  plat::TTimer* FKeyTimer = nullptr;
  QString FCurSearch;
  int FOldItemIndex = -1;
};

}  // namespace dropdown
