#pragma once
// The grid's filter conditions: one entry per filtered column, holding the condition text and whether it is
// compared case-sensitively. The filter code of the data services reads them; the column grid's filter
// choice writes them.

#include <QString>

#include "platform/rtl/collection.h"

namespace grid {

class TFilterData : public plat::TCollectionItem {
  PLAT_CLASS(TFilterData)

  explicit TFilterData(plat::TCollection* Collection) : TCollectionItem(Collection) {}
  void Assign(plat::TPersistent* Source) override;

  int Column = 0;
  QString Condition;
  bool CaseSensitive = false;
};

class TFilter : public plat::TCollection {
  PLAT_CLASS(TFilter)

  TFilter() : TCollection(plat::ItemClassOf<TFilterData>()) {}
  TFilterData* Items(int Index) const { return static_cast<TFilterData*>(TCollection::Items(Index)); }
  // The entry of a column, made when the column has none yet.
  TFilterData* GetColFilter(int Col);
  // The entry of a column, nullptr when it has none.
  TFilterData* ColumnFilter(int Col) const;
};

}  // namespace grid
