#pragma once
// The grid's filter conditions: each tests one column (or the whole row) of a normal row, and the results
// join in collection order into whether the row stays shown. The filter code of the data services reads
// them; the filter drop-down and the column grid's filter choice write them.

#include <QString>

#include "platform/rtl/collection.h"

namespace grid {

// Which text of the cell a condition tests: the displayed text, the stored text, the text without HTML tags,
// the calculated text, or the whole row (all its cells joined by line breaks).
enum TFilterCells { fcVirtual, fcNormal, fcStripHTML, fcCalculated, fcRow };
// How a condition's result joins the results before it. foSHORT: a failing condition fails the row at once.
enum TFilterOperation { foSHORT, foNONE, foAND, foXOR, foOR };
// fmExpression: the condition is a filter expression; fmLiteral: the text must equal it exactly.
enum TFilterMethod { fmExpression, fmLiteral };

class TFilterData : public plat::TCollectionItem {
  PLAT_CLASS(TFilterData)

  explicit TFilterData(plat::TCollection* Collection) : TCollectionItem(Collection) {}
  // Copies everything but Method.
  void Assign(plat::TPersistent* Source) override;

  int Column = 0;
  // Empty: the condition always holds (with fcRow: never).
  QString Condition;
  bool CaseSensitive = true;
  TFilterCells Data = fcVirtual;
  // Cut from the start (end) of the cell text before matching, when the text begins (ends) with it.
  QString Prefix, Suffix;
  TFilterOperation Operation = foSHORT;
  TFilterMethod Method = fmExpression;
};

class TFilter : public plat::TCollection {
  PLAT_CLASS(TFilter)

  TFilter() : TCollection(plat::ItemClassOf<TFilterData>()) {}
  TFilterData* Items(int Index) const { return static_cast<TFilterData*>(TCollection::Items(Index)); }
  // Appends a condition: foNONE when it is the only one, foAND otherwise.
  TFilterData* Add();
  // Appends a condition and leaves its Operation at foSHORT (the index is not used).
  TFilterData* Insert(int Index);
  // The first condition of a column, made by Add when the column has none yet.
  TFilterData* GetColFilter(int Col);
  // The first condition of a column, nullptr when it has none.
  TFilterData* ColumnFilter(int Col) const;
  bool HasFilter(int Col) const { return ColumnFilter(Col) != nullptr; }
  // Deletes every condition of the column.
  void RemoveColumnFilter(int Col);
};

}  // namespace grid
