#pragma once
// What the items of the pickers' lists share (the detail drop-down's rows, the image picker's images, the item
// selector's cells): a caption, an image index into an image list, a picture of their own and an Enabled flag,
// in a collection that tells its OnChange when a caption or image index changes. Each picker's item adds its own
// fields on top.

#include <QString>

#include <memory>

#include "platform/rtl/collection.h"
#include "platform/rtl/events.h"

namespace plat {
class TPicture;
}

namespace dropdown {

class TPickerItem : public plat::TCollectionItem {
  PLAT_CLASS(TPickerItem)

  ~TPickerItem() override;

  QString Caption() const { return FCaption; }
  void SetCaption(const QString& Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  plat::TPicture* Image() const { return FImage.get(); }
  void SetImage(plat::TPicture* Value);
  // A disabled item can become neither hot nor selected.
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }

 protected:
  explicit TPickerItem(plat::TCollection* Collection);
  // The shared part of an Assign: caption and image index through their setters, then the picture and Enabled.
  void AssignPickerItem(const TPickerItem& Source);
  // Fires the collection's OnChange (when it is a picker collection and the event is assigned).
  void NotifyChange();
  // The caption without a change notification.
  void StoreCaption(const QString& Value) { FCaption = Value; }

 private:
  QString FCaption;
  int FImageIndex = -1;
  bool FEnabled = true;
  std::unique_ptr<plat::TPicture> FImage;
};

class TPickerItems : public plat::TCollection {
  PLAT_CLASS(TPickerItems)

  TPickerItems(plat::TCollectionItemClass ItemClass, plat::TPersistent* AOwner)
      : plat::TCollection(ItemClass), FMyOwner(AOwner) {}
  plat::TPersistent* Owner() const override { return FMyOwner; }

  plat::TNotifyEvent OnChange;

 private:
  plat::TPersistent* FMyOwner;
};

// A picker collection of items of one class, with typed access.
template <class TItem>
class TPickerItemsOf : public TPickerItems {
 public:
  explicit TPickerItemsOf(plat::TPersistent* AOwner) : TPickerItems(plat::ItemClassOf<TItem>(), AOwner) {}
  TItem* Add() { return static_cast<TItem*>(plat::TCollection::Add()); }
  TItem* Insert(int Index) { return static_cast<TItem*>(plat::TCollection::Insert(Index)); }
  TItem* GetItem(int Index) const { return static_cast<TItem*>(Items(Index)); }
  void SetItem(int Index, TItem* Value) { SetItems(Index, Value); }
};

}  // namespace dropdown
