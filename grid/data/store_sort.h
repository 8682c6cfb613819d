#pragma once
// Sorting the rows of a bare cell store (a window-free grid: the converter tool, tests): the texts alone,
// compared by the automatic format with the locale's numbers, dates and times; no cell objects, no events.

#include "grid/data/sort_host.h"
#include "grid/model/cellgrid.h"

namespace grid {

class TStoreSortHost : public TSortHost {
 public:
  TStoreSortHost(TCellGrid& Store, int ColCount) : FStore(Store), FColCount(ColCount) {}

  int SortColCount() const override { return FColCount; }
  QString SortText(int ACol, int ARow, bool) override { return FStore.Cells(ACol, ARow); }
  bool DisplayedEmpty(int ACol, int ARow) override { return FStore.Cells(ACol, ARow).isEmpty(); }
  QString StrippedText(int ACol, int ARow) override { return FStore.Cells(ACol, ARow); }
  bool CheckBoxState(int, int, bool& Checked) override { return Checked = false; }
  long long ImageKey(int, int) override { return -1; }
  bool IsIgnoredColumn(int) const override { return false; }
  void GetFormat(int, TSortStyle&, QString&, QString&) override {}
  bool FormatFixed() const override { return true; }
  bool CustomCompare(const QString&, const QString&, int&) override { return false; }
  bool RawCompare(int, int, int, int&) override { return false; }
  // Integer, decimal or scientific notation with the locale's decimal separator, nothing around it.
  int NumberKind(const QString& S) override;
  double ShortDate(const QString&, bool) override { return 0; }
  void SortSwapRows(int ARow1, int ARow2) override { FStore.SwapStoreRows(ARow1, ARow2); }

 private:
  TCellGrid& FStore;
  int FColCount;
};

// Rows First..Last of the store on ACol (ties by the columns to its right), whole rows moving.
void SortStoreRows(TCellGrid& Store, int ColCount, int ACol, int First, int Last, bool Descending);

}  // namespace grid
