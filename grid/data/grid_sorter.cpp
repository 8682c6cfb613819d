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
  TSortRowRef At(int P) const {
    const int id = FIds[static_cast<std::size_t>(P - FL)];
    // With single-cell exchanges only the moving column's cell travels; the other cells stay at P.
    return {id, FSingle ? P : id};
  }
  void Swap(int P1, int P2) { std::swap(FIds[static_cast<std::size_t>(P1 - FL)], FIds[static_cast<std::size_t>(P2 - FL)]); }
  const std::vector<int>& From() const { return FIds; }

 private:
  int FL;
  bool FSingle;
  std::vector<int> FIds;
};

// The same with each row's sort key travelling beside its number, so a comparison reads neither the cells
// nor a table indexed by row.
template <class Key>
class TGridSorter::TKeyedOrder {
 public:
  struct TItem {
    Key K;
    int Id, Pos;
  };
  TKeyedOrder(int L, const std::vector<Key>& Keys) : FL(L) {
    FItems.reserve(Keys.size());
    for (std::size_t i = 0; i < Keys.size(); ++i) FItems.push_back({Keys[i], L + static_cast<int>(i)});
  }
  TItem At(int P) const {
    const TElem& e = FItems[static_cast<std::size_t>(P - FL)];
    return {e.K, e.Id, P};
  }
  void Swap(int P1, int P2) { std::swap(FItems[static_cast<std::size_t>(P1 - FL)], FItems[static_cast<std::size_t>(P2 - FL)]); }
  std::vector<int> From() const {
    std::vector<int> ids(FItems.size());
    for (std::size_t i = 0; i < FItems.size(); ++i) ids[i] = FItems[i].Id;
    return ids;
  }

 private:
  struct TElem {
    Key K;
    int Id;
  };
  int FL;
  std::vector<TElem> FItems;
};

namespace {

struct TNumberKey {
  double Value;
  std::uint8_t Flags;
};

struct TTextKey {
  const char16_t* Data;
  int Size;
  QStringView View() const { return QStringView(Data, Size); }
};

}  // namespace

TGridSorter::TGridSorter(TSortHost& Host, const TSortOptions& Options)
    : FHost(Host), FOptions(Options), FComparer(Host, Options) {}

template <class Order, class Cmp>
void TGridSorter::Sort(int L, int R, Order& O, Cmp&& Compare, bool SkipEqual, int Depth) {
  FMaxDepth = std::max(FMaxDepth, Depth);
  // The first scan moves on while the pivot comes after the row, the second while the row comes after the
  // pivot (Compare answers 1 for "comes after"); both stop on equal rows.
  while (L < R) {
    const int m = static_cast<int>((static_cast<unsigned>(L) + static_cast<unsigned>(R)) / 2);
    const auto pivot = O.At(m);
    int i = L, j = R;
    do {
      while (Compare(pivot, O.At(i)) == 1 && i < R) ++i;
      while (Compare(O.At(j), pivot) == 1 && j > L) --j;
      if (i <= j) {
        if (i != j && (!SkipEqual || Compare(O.At(i), O.At(j)) != 0)) {
          O.Swap(i, j);
          FSwaps.emplace_back(i, j);
        }
        ++i;
        --j;
      }
    } while (i <= j);
    // Recurse into the smaller part and loop over the larger, so the depth stays below log2 of the range.
    if (j - L < R - i) {
      if (L < j) Sort(L, j, O, Compare, SkipEqual, Depth + 1);
      L = i;
    } else {
      if (i < R) Sort(i, R, O, Compare, SkipEqual, Depth + 1);
      R = j;
    }
  }
}

void TGridSorter::Apply(int L, const std::vector<int>& From) {
  if (FSwaps.empty()) return;
  // Kept aside while the host works, so that a sort the host starts cannot disturb the list.
  std::vector<std::pair<int, int>> swaps;
  swaps.swap(FSwaps);
  struct TPutBack {
    std::vector<std::pair<int, int>>& A;
    std::vector<std::pair<int, int>>& B;
    ~TPutBack() { A.swap(B); }
  } back{FSwaps, swaps};
  if (FHost.SortMoveRows(L, From, swaps)) return;
  // The grid's rows make the same exchanges, in the same order, as the row numbers did.
  for (const auto& s : swaps) FHost.SortSwapRows(s.first, s.second);
}

void TGridSorter::Prepare() {
  FLastCol = FHost.SortColCount() - 1;
  FIgnored.assign(static_cast<std::size_t>(std::max(FLastCol + 1, 0)), false);
  for (int c = 0; c <= FLastCol; ++c) FIgnored[static_cast<std::size_t>(c)] = FHost.IsIgnoredColumn(c);
}

int TGridSorter::LineOf(int ACol, const TSortRowRef& R1, const TSortRowRef& R2, int SortDir) {
  ++FComparisons;
  return LineFrom(ACol, R1, R2, SortDir);
}

int TGridSorter::LineFrom(int ACol, const TSortRowRef& R1, const TSortRowRef& R2, int SortDir) {
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
  FComparer.KeyRows(L, R - L + 1);
  if (SortByKeys(ACol, L, R, SortDir)) return;
  TOrder order(L, R, MovingCol >= 0);
  auto cmp = [&](const TSortRowRef& a, const TSortRowRef& b) { return LineOf(ACol, a, b, SortDir) * SortDir; };
  try {
    Sort(L, R, order, cmp, true);
  } catch (...) {
    // A comparison raised: the rows keep the order reached so far.
    FComparer.Forget();
    Apply(L, order.From());
    throw;
  }
  FComparer.Forget();
  Apply(L, order.From());
}

bool TGridSorter::SortByKeys(int ACol, int L, int R, int SortDir) {
  // The key must travel with the row: whole rows move, or the sort column's cells are the ones that move.
  if (Ignored(ACol) || (FMovingCol >= 0 && FMovingCol != ACol)) return false;
  TCellComparer::TColumnKeyList list;
  if (!FComparer.ColumnKeyList(ACol, list)) return false;
  const std::size_t n = static_cast<std::size_t>(R - L + 1);
  // Empty cells go where BlankPos says whatever the direction; this is the sign an empty first cell gets.
  const bool blanks = FOptions.IgnoreBlanks && SortDir != 0;
  const int emptyFirst = (FOptions.BlankPos == blFirst ? -1 : 1) * SortDir;
  using TL = TCellComparer::TColumnKeyList;
  if (list.Kind == TL::ckNumbers) {
    std::vector<TNumberKey> keys(n);
    for (std::size_t i = 0; i < n; ++i) keys[i] = {list.Values[i], list.Flags[i]};
    SortKeyed(ACol, L, R, SortDir, keys, [blanks, emptyFirst](const TNumberKey& a, const TNumberKey& b) {
      if (blanks && ((a.Flags ^ b.Flags) & TL::kfEmpty)) return a.Flags & TL::kfEmpty ? emptyFirst : -emptyFirst;
      if (!((a.Flags | b.Flags) & TL::kfOk)) return 0;
      return int(a.Value > b.Value) - int(a.Value < b.Value);
    });
    return true;
  }
  std::vector<TTextKey> keys(n);
  for (std::size_t i = 0; i < n; ++i) keys[i] = {list.Texts[i].utf16(), static_cast<int>(list.Texts[i].size())};
  const bool noCase = list.Kind == TL::ckTextsNoCase;
  SortKeyed(ACol, L, R, SortDir, keys, [blanks, emptyFirst, noCase](const TTextKey& a, const TTextKey& b) {
    if (blanks && (a.Size == 0) != (b.Size == 0)) return a.Size == 0 ? emptyFirst : -emptyFirst;
    if (noCase) return CompareAsciiNoCase(a.View(), b.View());
    const int r = a.View().compare(b.View());
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
  });
  return true;
}

template <class Key, class KeyCmp>
void TGridSorter::SortKeyed(int ACol, int L, int R, int SortDir, std::vector<Key>& Keys, KeyCmp&& Cmp) {
  TKeyedOrder<Key> order(L, Keys);
  std::vector<Key>().swap(Keys);
  const bool single = FMovingCol >= 0;
  // Equal keys are told apart by the columns to the right, read as the plain comparison reads them.
  const bool tie = FOptions.Full && ACol < FLastCol;
  using TItem = typename TKeyedOrder<Key>::TItem;
  auto cmp = [&](const TItem& a, const TItem& b) {
    ++FComparisons;
    int r = Cmp(a.K, b.K);
    if (r == 0 && tie)
      r = LineFrom(ACol + 1, {a.Id, single ? a.Pos : a.Id}, {b.Id, single ? b.Pos : b.Id}, SortDir);
    return r * SortDir;
  };
  try {
    Sort(L, R, order, cmp, true);
  } catch (...) {
    FComparer.Forget();
    Apply(L, order.From());
    throw;
  }
  FComparer.Forget();
  Apply(L, order.From());
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
    Apply(L, order.From());
    throw;
  }
  FComparer.Forget();
  Apply(L, order.From());
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
  for (int p = L; p <= R; ++p) XRef[static_cast<std::size_t>(p)] = start[static_cast<std::size_t>(order.At(p).Key)];
  Apply(L, order.From());
}

}  // namespace grid
