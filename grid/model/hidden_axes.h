#pragma once
// Real and display indexes of a grid with hidden columns and rows.
//
// A hidden column stays in place: it keeps its real index and cells; a flag per real column 0..511 says it is
// hidden and its width is remembered for when it comes back (columns past 511 are never hidden). A hidden row
// moves out of the grid into a record of the hidden-row store; the store's records are indexed here by their
// Idx, so that mapping a row index never walks the store.
//
// Both mappings take logarithmic time in the number of hidden rows (rows) or a few word operations (columns).

#include <array>
#include <cstdint>
#include <vector>

namespace grid {

class THiddenColumns {
 public:
  static constexpr int kHideable = 512;

  // False below 0 and past 511.
  bool IsHidden(int ACol) const {
    return ACol >= 0 && ACol < kHideable && (FHidden[ACol / 64] >> (ACol % 64)) & 1u;
  }
  // The visibility flag of one column; ignored past 511.
  void SetVisible(int ACol, bool Visible);
  bool Visible(int ACol) const { return !IsHidden(ACol); }
  int NumHidden() const { return FNumHidden; }
  // The width a column had when it was hidden.
  int Width(int ACol) const { return ACol >= 0 && ACol < kHideable ? FWidths[ACol] : 0; }
  void SetWidth(int ACol, int Value);

  // Real columns inserted or removed at ACol: the flags and widths behind move with their columns (those moved
  // past 511 are shown again); removed hidden columns are forgotten. ColsRemoved answers how many of the
  // removed columns were hidden.
  void ColsInserted(int ACol, int Count);
  int ColsRemoved(int ACol, int Count);
  // Hidden columns among the real columns [ACol, ACol + Count).
  int HiddenIn(int ACol, int Count) const { return HiddenBefore(ACol + Count) - HiddenBefore(ACol); }

  // Real column -> display column: the column minus the hidden columns before it (for a hidden column, the
  // place it comes back to).
  int RealToDispl(int ACol) const;
  // Display column -> the real column with exactly ACol shown columns before it. Negative: returned as it is.
  int DisplToReal(int ACol) const;

 private:
  int HiddenBefore(int ACol) const;
  // Column c takes what column From(c) had (From answers -1 for a column that is new).
  template <class FromFn>
  void Remap(FromFn From);
  std::array<std::uint64_t, kHideable / 64> FHidden{};
  int FNumHidden = 0;
  std::array<int, kHideable> FWidths{};
};

// The Idx values of the hidden-row records, as a sorted multiset (a range hidden by the lean form that trusts
// its rows to be shown may record one index twice).
class THiddenRowIndex {
 public:
  int Count() const { return static_cast<int>(FRecords.size()); }
  void Add(int Idx);
  // Removes one record of that index; false when there is none.
  bool Remove(int Idx);
  // Many records at once, in one merge (Idxs ascending); removing skips indexes that have no record.
  void AddSorted(const std::vector<int>& Idxs);
  void RemoveSorted(const std::vector<int>& Idxs);
  // The index of every record, in any order.
  void Assign(std::vector<int> Idxs);
  void Clear();
  // Every record at or past FromIdx moves by Delta (rows inserted or removed in front of them).
  void Shift(int FromIdx, int Delta);
  bool IsHidden(int ARow) const;
  // Records with an index below ARow.
  int CountBelow(int ARow) const;
  // Real row -> display row: ARow minus the records below it.
  int RealToDispl(int ARow) const { return ARow - CountBelow(ARow); }
  // Display row -> the real row that is not hidden and has exactly ARow shown rows before it; -1 for a
  // negative ARow.
  int DisplToReal(int ARow) const;
  const std::vector<int>& Records() const { return FRecords; }

 private:
  void Rebuild();
  std::vector<int> FRecords;   // sorted, with repeats
  std::vector<int> FDistinct;  // sorted, each hidden index once
};

}  // namespace grid
