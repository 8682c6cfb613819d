#include "grid/data/store_sort.h"

#include "grid/data/grid_sorter.h"
#include "platform/rtl/formatsettings.h"

namespace grid {

int TStoreSortHost::NumberKind(const QString& S) {
  if (S.isEmpty() || S.trimmed() != S) return 2;
  QString t = S;
  const QChar dec = plat::FormatSettings.DecimalSeparator;
  if (dec != u'.') {
    if (t.contains(u'.')) return 2;
    t.replace(dec, u'.');
  }
  double v = 0;
  if (!TextToFloat(t, v)) return 2;
  if (t.contains(u'e') || t.contains(u'E')) return 5;
  return t.contains(u'.') ? 1 : 0;
}

void SortStoreRows(TCellGrid& Store, int ColCount, int ACol, int First, int Last, bool Descending) {
  TStoreSortHost host(Store, ColCount);
  TGridSorter(host, TSortOptions{}).QuickSortRows(ACol, First, Last, Descending ? -1 : 1);
}

}  // namespace grid
