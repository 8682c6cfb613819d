// One axis of a grid (the columns or the rows): a count, a default size and sparse per-index sizes, with the
// position of every index answered from prefix sums, so that neither the position of an index nor the index
// under a pixel walks over the indexes before it.
//
// Positions include a fixed gap after every index (the grid line width). The sums live in a Fenwick tree of
// the differences to the default size; it is built on the first size that differs from the default, so an
// axis whose indexes all have the default size costs nothing per index. Own sizes are kept in a map while
// they are few and in a plain array once many indexes have one (autosized rows, for example).
#pragma once

#include <cstdint>
#include <map>
#include <vector>

namespace plat {

class TGridAxis {
 public:
  int Count() const { return FCount; }
  // Indexes past a smaller count lose their own sizes; new indexes take the default.
  void SetCount(int count);
  int DefaultSize() const { return FDefault; }
  // Every index goes back to the default size.
  void SetDefaultSize(int size);
  int Gap() const { return FGap; }
  void SetGap(int gap) { FGap = gap < 0 ? 0 : gap; }

  // The size of an index (the default outside the count).
  int Size(int index) const;
  void SetSize(int index, int size);
  bool HasOwnSizes() const { return !FSizes.empty() || !FDense.empty(); }

  // Start of index i: the sizes and gaps of indexes 0 .. i-1 (i may be Count()).
  std::int64_t Pos(int index) const;
  std::int64_t Extent() const { return Pos(FCount); }
  // The index whose span [Pos(i), Pos(i+1)) holds p; -1 for p < 0 and Count() for p >= Extent().
  int IndexAt(std::int64_t p) const;

  // The size of `from` goes to `to`, the sizes between shift by one (as a row or column move does).
  void Move(int from, int to);
  // Every size scaled by m / d (rounded to the nearest pixel), the default too.
  void Scale(int m, int d);

 private:
  int Delta(int index) const;
  void AddDelta(int index, int delta);
  void Rebuild();
  std::int64_t DeltaSum(int count) const;  // sum of the differences of indexes 0 .. count-1
  void StoreSize(int index, int size);
  void MakeDense();

  int FCount = 0;
  int FDefault = 0;
  int FGap = 0;
  std::map<int, int> FSizes;          // index -> its own size (only where it differs from the default)
  std::vector<int> FDense;            // every index's size, once many have their own (then FSizes is empty)
  std::vector<std::int64_t> FTree;    // Fenwick tree (1-based) of size - default; empty without own sizes
};

}  // namespace plat
