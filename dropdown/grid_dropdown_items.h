#pragma once
// The columns and items of the grid drop-down. They carry the properties and copy rules of the multi-column
// drop-down's classes of the same names but are types of their own; the item collection makes its items through
// GetItemClass, so that a descendant can use its own item class.

#include "dropdown/multicolumn_items.h"

namespace dropdown::griddrop {

enum TLookupMethod { lmLookup, lmNarrowDown, lmNone };
enum TDropDownStyle { dsDropDown, dsDropDownList };
enum TGridSorting { gsNone, gsSingleColumn, gsMultiColumn };

using multicolumn::TColumnType;
using multicolumn::ctImage;
using multicolumn::ctText;

class TDropDownColumn : public multicolumn::TDropDownColumn {
  PLAT_CLASS(TDropDownColumn)

  using multicolumn::TDropDownColumn::TDropDownColumn;
};

class TDropDownColumns : public plat::TCollection {
  PLAT_CLASS(TDropDownColumns)

  explicit TDropDownColumns(plat::TPersistent* AOwner)
      : plat::TCollection(plat::ItemClassOf<TDropDownColumn>()), FMyOwner(AOwner) {}
  TDropDownColumn* Add() { return static_cast<TDropDownColumn*>(plat::TCollection::Add()); }
  TDropDownColumn* Insert(int Index) { return static_cast<TDropDownColumn*>(plat::TCollection::Insert(Index)); }
  TDropDownColumn* GetItem(int Index) const { return static_cast<TDropDownColumn*>(Items(Index)); }
  void SetItem(int Index, TDropDownColumn* Value) { SetItems(Index, Value); }
  plat::TPersistent* Owner() const override { return FMyOwner; }

 private:
  plat::TPersistent* FMyOwner;
};

class TDropDownItem : public multicolumn::TDropDownItem {
  PLAT_CLASS(TDropDownItem)

  using multicolumn::TDropDownItem::TDropDownItem;
};

class TDropDownItems : public plat::TCollection {
  PLAT_CLASS(TDropDownItems)

  explicit TDropDownItems(plat::TPersistent* AOwner)
      : plat::TCollection(plat::ItemClassOf<TDropDownItem>()), FMyOwner(AOwner) {}
  TDropDownItem* Add() { return static_cast<TDropDownItem*>(GetItemClass()(this)); }
  TDropDownItem* Insert(int Index) {
    TDropDownItem* item = Add();
    item->SetIndex(Index);
    return item;
  }
  TDropDownItem* GetItem(int Index) const { return static_cast<TDropDownItem*>(Items(Index)); }
  void SetItem(int Index, TDropDownItem* Value) { SetItems(Index, Value); }
  plat::TPersistent* Owner() const override { return FMyOwner; }

 protected:
  // The class of the items Add and Insert make; a descendant returns its own (derived from TDropDownItem).
  virtual plat::TCollectionItemClass GetItemClass() const { return plat::ItemClassOf<TDropDownItem>(); }

 private:
  plat::TPersistent* FMyOwner;
};

}  // namespace dropdown::griddrop
