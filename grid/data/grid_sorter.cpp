#include "grid/data/grid_sorter.h"

#include <algorithm>
#include <numeric>

namespace grid {

// The rows of the range as the sort has ordered them so far: position -> the row that started there.
class TGridSorter::TOrder {
 public:
  TOrder(int L, int R, bool SingleColumn) : FL(L), FSingle(SingleColumn), FIds(static_cast<std::size_t>(R - L + 1)) {
    std::iota(FIds.begin(), FIds.end(), L);
  }
  TSortRowRef Ref(int P) const {
    const int id = FIds[static_cast<std::size_t>(P - FL)];
    // With single-cell exchanges only the moving column's cell travels; the other cells stay at P.
    return {id, FSingle ? P : id};
  }
  void Swap(int P1, int P2) { std::swap(FIds[static_cast<std::size_t>(P1 - FL)], FIds[static_cast<std::size_t>(P2 - FL)]); }

 private:
  int FL;
  bool FSingle;
  std::vector<int> FIds;
};

TGridSorter::TGridSorter(TSortHost& Host, const TSortOptions& Options)
    : FHost(Host), FOptions(Options), FComparer(Host, Options) {}

template <class Cmp>
void TGridSorter::Sort(int L, int R, TOrder& Order, Cmp&& Compare, bool SkipEqual, int Depth) {
  FMaxDepth = std::max(FMaxDepth, Depth);
  // The first scan moves on while the pivot comes after the row, the second while the row comes after the
  // pivot (Compare answers 1 for "comes after"); both stop on equal rows.
  while (L < R) {
    const int m = static_cast<int>((static_cast<unsigned>(L) + static_cast<unsigned>(R)) / 2);
    const TSortRowRef pivot = Order.Ref(m);
    int i = L, j = R;
    do {
      while (Compare(pivot, Order.Ref(i)) == 1 && i < R) ++i;
      while (Compare(Order.Ref(j), pivot) == 1 && j > L) --j;
      if (i <= j) {
        if (i != j && (!SkipEqual || Compare(Order.Ref(i), Order.Ref(j)) != 0)) {
          Order.Swap(i, j);
          FSwaps.emplace_back(i, j);
        }
        ++i;
        --j;
      }
    } while (i <= j);
    // Recurse into the smaller part and loop over the larger, so the depth stays below log2 of the range.
    if (j - L < R - i) {
      if (L < j) Sort(L, j, Order, Compare, SkipEqual, Depth + 1);
      L = i;
    } else {
      if (i < R) Sort(i, R, Order, Compare, SkipEqual, Depth + 1);
      R = j;
    }
  }
}

void TGridSorter::Replay() {
  // The grid's rows make the same exchanges, in the same order, as the row numbers did.
  std::vector<std::pair<int, int>> swaps;
  swaps.swap(FSwaps);
  for (const auto& s : swaps) FHost.SortSwapRows(s.first, s.second);
  FSwaps.swap(swaps);
}

void TGridSorter::Prepare() {
  FLastCol = FHost.SortColCount() - 1;
  FIgnored.assign(static_cast<std::size_t>(std::max(FLastCol + 1, 0)), false);
  for (int c = 0; c <= FLastCol; ++c) FIgnored[static_cast<std::size_t>(c)] = FHost.IsIgnoredColumn(c);
}

int TGridSorter::LineOf(int ACol, const TSortRowRef& R1, const TSortRowRef& R2, int SortDir) {
  ++FComparisons;
  for (int c = ACol;; ++c) {
    const int r = Ignored(c) ? 0 : FComparer.CompareCells(c, CellOf(R1, c), CellOf(R2, c), SortDir);
    if (r != 0 || !FOptions.Full || c >= FLastCol) return r;
  }
}

int TGridSorter::IndexedOf(const std::vector<std::uint32_t>& Keys, int Index, const TSortRowRef& R1,
                           const TSortRowRef& R2) {
  ++FComparisons;
  for (std::size_t i = static_cast<std::size_t>(Index); i < Keys.size(); ++i) {
    const int col = static_cast<int>(Keys[i] & 0x7FFFFFFFu);
    const bool descending = Keys[i] & 0x80000000u;
    int r = Ignored(col) ? 0 : FComparer.CompareCells(col, CellOf(R1, col), CellOf(R2, col),
                                                                       descending ? -1 : 1);
    if (r == 0 && FOptions.Full && i + 1 < Keys.size()) continue;
    return descending ? -r : r;
  }
  return 0;
}

int TGridSorter::CompareLine(int ACol, int ARow1, int ARow2, int SortDir) {
  FComparer.Forget();
  Prepare();
  return LineOf(ACol, {ARow1, ARow1}, {ARow2, ARow2}, SortDir);
}

int TGridSorter::CompareLineIndexed(const std::vector<std::uint32_t>& Keys, int Index, int ARow1, int ARow2) {
  FComparer.Forget();
  Prepare();
  return IndexedOf(Keys, Index, {ARow1, ARow1}, {ARow2, ARow2});
}

void TGridSorter::QuickSortRows(int ACol, int L, int R, int SortDir, int MovingCol) {
  FComparisons = 0;
  FMaxDepth = 0;
  FSwaps.clear();
  if (L >= R) return;
  FMovingCol = MovingCol;
  Prepare();
  TOrder order(L, R, MovingCol >= 0);
  FComparer.KeyRows(L, R - L + 1);
  auto cmp = [&](const TSortRowRef& a, const TSortRowRef& b) { return LineOf(ACol, a, b, SortDir) * SortDir; };
  try {
    Sort(L, R, order, cmp, true);
  } catch (...) {
    // A comparison raised: the rows keep the order reached so far.
    FComparer.Forget();
    Replay();
    throw;
  }
  FComparer.Forget();
  Replay();
}

void TGridSorter::QuickSortRowsIndexed(const std::vector<std::uint32_t>& Keys, int L, int R, int MovingCol) {
  FComparisons = 0;
  FMaxDepth = 0;
  FSwaps.clear();
  if (L >= R || Keys.empty()) return;
  FMovingCol = MovingCol;
  Prepare();
  TOrder order(L, R, MovingCol >= 0);
  FComparer.KeyRows(L, R - L + 1);
  auto cmp = [&](const TSortRowRef& a, const TSortRowRef& b) { return IndexedOf(Keys, 0, a, b); };
  try {
    Sort(L, R, order, cmp, false);
  } catch (...) {
    FComparer.Forget();
    Replay();
    throw;
  }
  FComparer.Forget();
  Replay();
}

void TGridSorter::QuickUnSortRows(std::vector<int>& XRef, int L, int R) {
  FComparisons = 0;
  FMaxDepth = 0;
  FSwaps.clear();
  if (L >= R || R >= static_cast<int>(XRef.size()) || L < 0) return;
  FMovingCol = -1;
  TOrder order(L, R, false);
  const std::vector<int> start(XRef);
  auto cmp = [&](const TSortRowRef& a, const TSortRowRef& b) {
    ++FComparisons;
    const int x = start[static_cast<std::size_t>(a.Key)], y = start[static_cast<std::size_t>(b.Key)];
    return x < y ? -1 : (x > y ? 1 : 0);
  };
  Sort(L, R, order, cmp, true);
  for (int p = L; p <= R; ++p) XRef[static_cast<std::size_t>(p)] = start[static_cast<std::size_t>(order.Ref(p).Key)];
  Replay();
}

}  // namespace grid
