// Block moves of the cell store for the row and column operations: rows move as whole vectors and columns as
// slots within each stored row, so no text or property is copied.

#include <algorithm>
#include <utility>

#include "grid/model/cellgrid.h"

namespace grid {

void TCellGrid::MoveStoreRows(int FromIndex, int Count, int ToIndex) {
  if (FromIndex < 0 || ToIndex < 0 || Count <= 0 || FromIndex == ToIndex) return;
  const int need = std::max(FromIndex, ToIndex) + Count;
  if (StoredRowCount() < need) FRows.resize(need);
  const auto at = [&](int i) { return FRows.begin() + i; };
  if (FromIndex < ToIndex)
    std::rotate(at(FromIndex), at(FromIndex + Count), at(ToIndex + Count));
  else
    std::rotate(at(ToIndex), at(FromIndex), at(FromIndex + Count));
  RenumberOwners(std::min(FromIndex, ToIndex));
}

void TCellGrid::SwapStoreRows(int ARow1, int ARow2) {
  if (ARow1 < 0 || ARow2 < 0 || ARow1 == ARow2) return;
  const int need = std::max(ARow1, ARow2) + 1;
  if (StoredRowCount() < need) FRows.resize(need);
  std::swap(FRows[ARow1], FRows[ARow2]);
  for (int r : {ARow1, ARow2})
    for (int c = 0; c < static_cast<int>(FRows[r].size()); ++c)
      if (TCellProperties* p = FRows[r][c].Props) p->OwnerCol = c, p->OwnerRow = r;
}

void TCellGrid::SwapStoreCells(int ACol, int ARow1, int ARow2) {
  if (ACol < 0 || ARow1 < 0 || ARow2 < 0 || ARow1 == ARow2) return;
  // Both slots exist before either is referenced: making the second may move the first.
  SlotFor(ACol, ARow1);
  SlotFor(ACol, ARow2);
  std::swap(SlotFor(ACol, ARow1), SlotFor(ACol, ARow2));
  for (int r : {ARow1, ARow2})
    if (TCellProperties* p = SlotFor(ACol, r).Props) p->OwnerCol = ACol, p->OwnerRow = r, FRows[r].HasProps = true;
}

namespace {

// Walks each cycle of the permutation once: position First + k receives what stood at From[k].
template <class Swap>
void WalkCycles(int First, const std::vector<int>& From, Swap&& swap) {
  std::vector<bool> done(From.size());
  for (std::size_t k = 0; k < From.size(); ++k) {
    for (std::size_t p = k; !done[p];) {
      done[p] = true;
      const std::size_t src = static_cast<std::size_t>(From[p] - First);
      if (src == k) break;
      swap(First + static_cast<int>(p), First + static_cast<int>(src));
      p = src;
    }
  }
}

}  // namespace

void TCellGrid::PermuteStoreRows(int First, const std::vector<int>& From) {
  if (First < 0 || From.empty()) return;
  const int need = First + static_cast<int>(From.size());
  if (StoredRowCount() < need) FRows.resize(need);
  WalkCycles(First, From, [this](int a, int b) { std::swap(FRows[a], FRows[b]); });
  RenumberOwners(First);
}

void TCellGrid::PermuteStoreCells(int ACol, int First, const std::vector<int>& From) {
  if (ACol < 0 || First < 0 || From.empty()) return;
  // Every slot exists before any is referenced: making one may move the others.
  for (std::size_t k = 0; k < From.size(); ++k)
    if (From[k] != First + static_cast<int>(k)) SlotFor(ACol, First + static_cast<int>(k));
  WalkCycles(First, From, [this, ACol](int a, int b) { std::swap(FRows[a][ACol], FRows[b][ACol]); });
  for (std::size_t k = 0; k < From.size(); ++k) {
    const int r = First + static_cast<int>(k);
    if (From[k] == r) continue;
    if (TCellProperties* p = FRows[r][ACol].Props) p->OwnerCol = ACol, p->OwnerRow = r, FRows[r].HasProps = true;
  }
}

void TCellGrid::InsertStoreColumns(int ACol, int ACount) {
  if (ACol < 0 || ACount <= 0) return;
  for (TRowCells& row : FRows)
    if (static_cast<int>(row.size()) > ACol) row.insert(row.begin() + ACol, ACount, TCellSlot());
  RenumberOwners(0);
}

void TCellGrid::EraseStoreColumns(int ACol, int ACount) {
  if (ACol < 0 || ACount <= 0) return;
  for (TRowCells& row : FRows) {
    if (static_cast<int>(row.size()) <= ACol) continue;
    const int last = std::min(ACol + ACount, static_cast<int>(row.size()));
    for (int c = ACol; c < last; ++c) DeleteProps(std::exchange(row[c].Props, nullptr), true);
    row.erase(row.begin() + ACol, row.begin() + last);
  }
  RenumberOwners(0);
}

void TCellGrid::SwapStoreColumns(int ACol1, int ACol2) {
  if (ACol1 < 0 || ACol2 < 0 || ACol1 == ACol2) return;
  const std::size_t need = std::max(ACol1, ACol2) + 1;
  for (int r = 0; r < StoredRowCount(); ++r) {
    TRowCells& row = FRows[r];
    if (row.size() <= static_cast<std::size_t>(std::min(ACol1, ACol2))) continue;
    if (row.size() < need) row.resize(need);
    std::swap(row[ACol1], row[ACol2]);
    for (int c : {ACol1, ACol2})
      if (TCellProperties* p = row[c].Props) p->OwnerCol = c, p->OwnerRow = r;
  }
}

TCellProperties* TCellGrid::TakeCellProperties(int ACol, int ARow) {
  const TCellSlot* s = SlotAt(ACol, ARow);
  return s && s->Props ? std::exchange(SlotFor(ACol, ARow).Props, nullptr) : nullptr;
}

}  // namespace grid
