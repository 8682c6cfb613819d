#include "grid/model/filter_conditions.h"

namespace grid {

void TFilterData::Assign(plat::TPersistent* Source) {
  if (auto* src = dynamic_cast<TFilterData*>(Source)) {
    Column = src->Column;
    Condition = src->Condition;
    CaseSensitive = src->CaseSensitive;
    Data = src->Data;
    Prefix = src->Prefix;
    Suffix = src->Suffix;
    Operation = src->Operation;
    return;
  }
  TCollectionItem::Assign(Source);
}

TFilterData* TFilter::Add() {
  auto* f = static_cast<TFilterData*>(TCollection::Add());
  f->Operation = Count() == 1 ? foNONE : foAND;
  return f;
}

TFilterData* TFilter::Insert(int Index) {
  (void)Index;
  return static_cast<TFilterData*>(TCollection::Add());
}

TFilterData* TFilter::ColumnFilter(int Col) const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->Column == Col) return Items(i);
  return nullptr;
}

TFilterData* TFilter::GetColFilter(int Col) {
  if (TFilterData* f = ColumnFilter(Col)) return f;
  TFilterData* f = Add();
  f->Column = Col;
  return f;
}

void TFilter::RemoveColumnFilter(int Col) {
  for (int i = Count() - 1; i >= 0; --i)
    if (Items(i)->Column == Col) Delete(i);
}

}  // namespace grid
