#include "grid/model/hidden_axes.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <iterator>

namespace grid {

// ---- columns -------------------------------------------------------------------------------------------

void THiddenColumns::SetVisible(int ACol, bool Visible) {
  if (ACol < 0 || ACol >= kHideable || IsHidden(ACol) == !Visible) return;
  FHidden[ACol / 64] ^= std::uint64_t{1} << (ACol % 64);
  FNumHidden += Visible ? -1 : 1;
}

void THiddenColumns::SetWidth(int ACol, int Value) {
  if (ACol >= 0 && ACol < kHideable) FWidths[ACol] = Value;
}

template <class FromFn>
void THiddenColumns::Remap(FromFn From) {
  std::array<std::uint64_t, kHideable / 64> hidden{};
  std::array<int, kHideable> widths{};
  int num = 0;
  for (int c = 0; c < kHideable; ++c) {
    const int from = From(c);
    if (from < 0 || from >= kHideable) continue;
    widths[c] = FWidths[from];
    if (IsHidden(from)) hidden[c / 64] |= std::uint64_t{1} << (c % 64), ++num;
  }
  FHidden = hidden;
  FWidths = widths;
  FNumHidden = num;
}

void THiddenColumns::ColsInserted(int ACol, int Count) {
  if (FNumHidden == 0 || Count <= 0 || ACol >= kHideable) return;
  Remap([=](int c) { return c < ACol ? c : c < ACol + Count ? -1 : c - Count; });
}

int THiddenColumns::ColsRemoved(int ACol, int Count) {
  if (FNumHidden == 0 || Count <= 0 || ACol >= kHideable) return 0;
  const int removed = HiddenIn(ACol, Count);
  Remap([=](int c) { return c < ACol ? c : c + Count; });
  return removed;
}

int THiddenColumns::HiddenBefore(int ACol) const {
  if (ACol >= kHideable) return FNumHidden;
  if (ACol <= 0) return 0;
  int n = 0;
  for (int w = 0; w < ACol / 64; ++w) n += std::popcount(FHidden[w]);
  if (const int rest = ACol % 64) n += std::popcount(FHidden[ACol / 64] & ((std::uint64_t{1} << rest) - 1));
  return n;
}

int THiddenColumns::RealToDispl(int ACol) const {
  if (ACol < 0 || FNumHidden == 0) return ACol;
  return ACol - HiddenBefore(ACol);
}

int THiddenColumns::DisplToReal(int ACol) const {
  if (ACol < 0 || FNumHidden == 0) return ACol;
  // Columns past 511 are always shown: beyond them the real index is the display index plus every hidden one.
  if (ACol >= kHideable - NumHidden()) {
    const int real = ACol + NumHidden();
    if (real >= kHideable) return real;
  }
  // The smallest real column whose shown columns up to and including it number ACol + 1.
  int lo = ACol, hi = std::min(ACol + NumHidden(), kHideable - 1);
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    if (mid + 1 - HiddenBefore(mid + 1) >= ACol + 1)
      hi = mid;
    else
      lo = mid + 1;
  }
  return lo;
}

// ---- rows ----------------------------------------------------------------------------------------------

void THiddenRowIndex::Add(int Idx) {
  FRecords.insert(std::upper_bound(FRecords.begin(), FRecords.end(), Idx), Idx);
  const auto d = std::lower_bound(FDistinct.begin(), FDistinct.end(), Idx);
  if (d == FDistinct.end() || *d != Idx) FDistinct.insert(d, Idx);
}

bool THiddenRowIndex::Remove(int Idx) {
  const auto r = std::lower_bound(FRecords.begin(), FRecords.end(), Idx);
  if (r == FRecords.end() || *r != Idx) return false;
  FRecords.erase(r);
  if (!std::binary_search(FRecords.begin(), FRecords.end(), Idx))
    FDistinct.erase(std::lower_bound(FDistinct.begin(), FDistinct.end(), Idx));
  return true;
}

void THiddenRowIndex::AddSorted(const std::vector<int>& Idxs) {
  if (Idxs.empty()) return;
  std::vector<int> merged;
  merged.reserve(FRecords.size() + Idxs.size());
  std::merge(FRecords.begin(), FRecords.end(), Idxs.begin(), Idxs.end(), std::back_inserter(merged));
  FRecords = std::move(merged);
  FDistinct.clear();
  std::unique_copy(FRecords.begin(), FRecords.end(), std::back_inserter(FDistinct));
}

void THiddenRowIndex::RemoveSorted(const std::vector<int>& Idxs) {
  if (Idxs.empty()) return;
  std::vector<int> kept;
  kept.reserve(FRecords.size());
  std::set_difference(FRecords.begin(), FRecords.end(), Idxs.begin(), Idxs.end(), std::back_inserter(kept));
  FRecords = std::move(kept);
  FDistinct.clear();
  std::unique_copy(FRecords.begin(), FRecords.end(), std::back_inserter(FDistinct));
}

void THiddenRowIndex::Assign(std::vector<int> Idxs) {
  FRecords = std::move(Idxs);
  Rebuild();
}

void THiddenRowIndex::Clear() {
  FRecords.clear();
  FDistinct.clear();
}

void THiddenRowIndex::Rebuild() {
  std::sort(FRecords.begin(), FRecords.end());
  FDistinct = FRecords;
  FDistinct.erase(std::unique(FDistinct.begin(), FDistinct.end()), FDistinct.end());
}

void THiddenRowIndex::Shift(int FromIdx, int Delta) {
  for (int& idx : FRecords)
    if (idx >= FromIdx) idx += Delta;
  Rebuild();
}

bool THiddenRowIndex::IsHidden(int ARow) const {
  return std::binary_search(FDistinct.begin(), FDistinct.end(), ARow);
}

int THiddenRowIndex::CountBelow(int ARow) const {
  return static_cast<int>(std::lower_bound(FRecords.begin(), FRecords.end(), ARow) - FRecords.begin());
}

int THiddenRowIndex::DisplToReal(int ARow) const {
  if (ARow < 0) return -1;
  // For the i-th hidden index h (0-based, distinct), h - i rows are shown before it; that number never falls.
  // The hidden indexes with at most ARow shown rows before them all lie before the answer.
  int lo = 0, hi = static_cast<int>(FDistinct.size());
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    if (FDistinct[mid] - mid <= ARow)
      lo = mid + 1;
    else
      hi = mid;
  }
  return ARow + lo;
}

}  // namespace grid
