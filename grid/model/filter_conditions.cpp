#include "grid/model/filter_conditions.h"

namespace grid {

void TFilterData::Assign(plat::TPersistent* Source) {
  if (auto* src = dynamic_cast<TFilterData*>(Source)) {
    Column = src->Column;
    Condition = src->Condition;
    CaseSensitive = src->CaseSensitive;
    return;
  }
  TCollectionItem::Assign(Source);
}

TFilterData* TFilter::ColumnFilter(int Col) const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->Column == Col) return Items(i);
  return nullptr;
}

TFilterData* TFilter::GetColFilter(int Col) {
  if (TFilterData* f = ColumnFilter(Col)) return f;
  auto* f = static_cast<TFilterData*>(Add());
  f->Column = Col;
  return f;
}

}  // namespace grid
