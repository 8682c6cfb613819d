#pragma once
// The grid's in-place quicksort of a row range: on one column with a tie-break on the columns to its right,
// by a list of sort keys, and back into the order a cross-reference records.
//
// The partitioning is the grid's classic one (middle pivot, both scans stop on equal rows, equal rows are not
// exchanged), so the exchanges and the final order are those the grid always made. Two things are done
// differently from a naive recursion: the smaller part is sorted by recursion and the larger by looping, so
// the depth stays logarithmic whatever the input; and the rows stay where they are while the order is worked
// out on a list of row numbers, each cell being read once, after which the same exchanges are made on the grid
// in the same order. Because both scans stop on rows equal to the pivot, a range of equal keys splits in the
// middle and costs n log n comparisons, not n squared.
//
// When the sort column's comparisons all go one way (numbers, or texts), its keys are read once into a list
// that the sort permutes along with the row numbers, so a comparison reads no cell. When the sort is over, the
// rows take their places in one pass where the host can do that (no one watches the single exchanges), else
// the exchanges are made one by one.

#include <cstdint>
#include <utility>
#include <vector>

#include "grid/data/sort_compare.h"
#include "grid/data/sort_host.h"

namespace grid {

class TGridSorter {
 public:
  TGridSorter(TSortHost& Host, const TSortOptions& Options);

  // Rows L..R on ACol; SortDir 1 ascending, -1 descending. MovingCol is the column whose cells alone move
  // when the host swaps single cells (-1: whole rows move).
  void QuickSortRows(int ACol, int L, int R, int SortDir, int MovingCol = -1);
  // Rows L..R by the sort keys (real column in bits 0..30, bit 31 set for descending).
  void QuickSortRowsIndexed(const std::vector<std::uint32_t>& Keys, int L, int R, int MovingCol = -1);
  // Rows L..R into the order of XRef (a working copy, indexed by row, sorted along with the rows).
  void QuickUnSortRows(std::vector<int>& XRef, int L, int R);

  // One comparison of the rows' cells: ACol and the columns to its right while Full and equal.
  int CompareLine(int ACol, int ARow1, int ARow2, int SortDir);
  int CompareLineIndexed(const std::vector<std::uint32_t>& Keys, int Index, int ARow1, int ARow2);

  // Comparisons and exchanges of the last sort (the benchmark and the tests watch them).
  long long Comparisons() const { return FComparisons; }
  long long Exchanges() const { return static_cast<long long>(FSwaps.size()); }
  TCellComparer& Comparer() { return FComparer; }
  // The deepest recursion of the last sort (1 for a range sorted without recursing).
  int MaxDepth() const { return FMaxDepth; }

 private:
  // A row as the sort sees it: the row whose moving-column cell it holds and the row of its other cells.
  struct TSortRowRef {
    int Key, Rest;
  };
  class TOrder;
  template <class Key>
  class TKeyedOrder;

  template <class Order, class Cmp>
  void Sort(int L, int R, Order& O, Cmp&& Compare, bool SkipEqual, int Depth = 1);
  // The sort on one column from its key list; false when the column has none.
  bool SortByKeys(int ACol, int L, int R, int SortDir);
  template <class Key, class KeyCmp>
  void SortKeyed(int ACol, int L, int R, int SortDir, std::vector<Key>& Keys, KeyCmp&& Cmp);
  int CellOf(const TSortRowRef& R, int ACol) const { return ACol == FMovingCol ? R.Key : R.Rest; }
  int LineOf(int ACol, const TSortRowRef& R1, const TSortRowRef& R2, int SortDir);
  // LineOf without counting a comparison.
  int LineFrom(int ACol, const TSortRowRef& R1, const TSortRowRef& R2, int SortDir);
  int IndexedOf(const std::vector<std::uint32_t>& Keys, int Index, const TSortRowRef& R1, const TSortRowRef& R2);
  // The rows take the order reached (From: position - L -> the row that started there).
  void Apply(int L, const std::vector<int>& From);
  // The column count and the ignored columns, read once per sort.
  void Prepare();
  bool Ignored(int ACol) const { return ACol >= 0 && ACol < static_cast<int>(FIgnored.size()) && FIgnored[static_cast<std::size_t>(ACol)]; }

  TSortHost& FHost;
  TSortOptions FOptions;
  TCellComparer FComparer;
  int FMovingCol = -1;
  int FLastCol = -1;
  std::vector<bool> FIgnored;
  long long FComparisons = 0;
  int FMaxDepth = 0;
  std::vector<std::pair<int, int>> FSwaps;
};

}  // namespace grid
