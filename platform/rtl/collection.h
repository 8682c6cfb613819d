#pragma once
// TCollection: an ordered list of TCollectionItem objects that it owns. Items join a collection when they are
// constructed with it (or moved with SetCollection) and leave it when they are deleted. Every change calls
// Update (all items: nullptr), unless a BeginUpdate is open; the last EndUpdate calls Update(nullptr).

#include <QString>

#include <functional>
#include <vector>

#include "platform/rtl/object.h"

namespace plat {

class TCollection;

class TCollectionItem : public TPersistent {
  PLAT_CLASS(TCollectionItem)

  explicit TCollectionItem(TCollection* Collection);
  ~TCollectionItem() override;

  TCollection* Collection() const { return FCollection; }
  // Moves the item to another collection (nullptr: out of any; the caller then owns it).
  virtual void SetCollection(TCollection* Value);
  // Position in the collection, -1 outside one.
  int Index() const;
  virtual void SetIndex(int Value);
  // Unique within the collection, never reused.
  int ID() const { return FID; }
  virtual QString DisplayName() const { return ClassName(); }

 protected:
  // Tells the collection that this item (or, with AllItems, every item) changed.
  void Changed(bool AllItems);

 private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  int FID = 0;
};

enum class TCollectionNotification { cnAdded, cnExtracting, cnDeleting };
using enum TCollectionNotification;

// Creates one item in the given collection (the item's constructor adds it).
using TCollectionItemClass = std::function<TCollectionItem*(TCollection*)>;

template <class T>
TCollectionItemClass ItemClassOf() {
  return [](TCollection* C) -> TCollectionItem* { return new T(C); };
}

class TCollection : public TPersistent {
  PLAT_CLASS(TCollection)

  explicit TCollection(TCollectionItemClass ItemClass);
  ~TCollection() override;

  int Count() const { return static_cast<int>(FItems.size()); }
  // EListError "List index out of bounds (n)".
  TCollectionItem* Items(int Index) const;
  // Assigns Value to the item at Index.
  void SetItems(int Index, TCollectionItem* Value);
  TCollectionItem* Add();
  TCollectionItem* Insert(int Index);
  void Delete(int Index);
  void Clear();
  TCollectionItem* FindItemID(int ID) const;
  virtual void BeginUpdate();
  virtual void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }
  // Replaces the items with copies (through each item's Assign) of another collection's items.
  void Assign(TPersistent* Source) override;
  virtual TPersistent* Owner() const { return nullptr; }

 protected:
  // Item is the changed item, nullptr when all may have changed.
  virtual void Update(TCollectionItem* Item);
  virtual void Notify(TCollectionItem* Item, TCollectionNotification Action);
  void Changed();

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);

  TCollectionItemClass FItemClass;
  std::vector<TCollectionItem*> FItems;
  int FUpdateCount = 0;
  int FNextID = 0;
};

// A collection that names its owner (the component or object whose property it is).
class TOwnedCollection : public TCollection {
  PLAT_CLASS(TOwnedCollection)

  TOwnedCollection(TPersistent* AOwner, TCollectionItemClass ItemClass)
      : TCollection(std::move(ItemClass)), FOwner(AOwner) {}
  TPersistent* Owner() const override { return FOwner; }

 private:
  TPersistent* FOwner;
};

}  // namespace plat
