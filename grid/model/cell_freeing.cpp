// Freeing and detaching cell properties, and the data moves of the platform grid's row and column
// operations.

#include <algorithm>
#include <utility>

#include "grid/model/cellgrid.h"

namespace grid {

void TCellGrid::FreeCellProperties(int FromCol, int FromRow, int ToCol, int ToRow) {
  if (!FHasCellProps) return;
  FromRow = std::max(FromRow, 0);
  ToRow = std::min(ToRow, StoredRowCount() - 1);
  for (int r = FromRow; r <= ToRow; ++r) {
    TRowCells& row = FRows[r];
    const int last = std::min(ToCol, static_cast<int>(row.size()) - 1);
    for (int c = std::max(FromCol, 0); c <= last; ++c) DeleteProps(std::exchange(row[c].Props, nullptr), true);
  }
}

void TCellGrid::FreeCellPropertiesAt(int ACol, int ARow) {
  const TCellSlot* s = SlotAt(ACol, ARow);
  if (s && s->Props) DeleteProps(std::exchange(SlotFor(ACol, ARow).Props, nullptr), false);
}

void TCellGrid::FreeAllCellProperties() {
  FreeCellProperties(0, 0, std::max(TotalColCount(), StoredColCount()) - 1, RowCount() - 1);
}

void TCellGrid::ClearColumnRefs(int ACol) {
  for (int r = 0; r < RowCount(); ++r) {
    SetGridObject(ACol, r, nullptr);
    SetCellEx(ACol, r, QString());
  }
}

void TCellGrid::ClearRowRefs(int ARow) {
  for (int c = 0; c < TotalColCount(); ++c) {
    SetGridObject(c, ARow, nullptr);
    SetCellEx(c, ARow, QString());
  }
}

void TCellGrid::ClearCellRefs(int ACol, int ARow) {
  SetCellEx(ACol, ARow, QString());
  SetGridObject(ACol, ARow, nullptr);
}

void TCellGrid::RenumberOwners(int FromRow) {
  // A store without properties (plain texts) has nothing to renumber: row moves then touch no cell.
  if (!FHasCellProps) return;
  FromRow = std::max(FromRow, 0);
  if (FOwnersStaleFrom < 0 || FromRow < FOwnersStaleFrom) FOwnersStaleFrom = FromRow;
}

void TCellGrid::UpdateOwners() const {
  if (FOwnersStaleFrom < 0) return;
  for (int r = FOwnersStaleFrom; r < StoredRowCount(); ++r) {
    const TRowCells& row = FRows[r];
    for (int c = 0; row.HasProps && c < static_cast<int>(row.size()); ++c)
      if (TCellProperties* p = row[c].Props) {
        p->OwnerCol = c;
        p->OwnerRow = r;
      }
  }
  FOwnersStaleFrom = -1;
}

void TCellGrid::InsertStoreRows(int ARow, int ACount) {
  if (ARow < 0 || ACount <= 0 || ARow >= StoredRowCount()) return;
  FRows.insert(FRows.begin() + ARow, ACount, TRowCells());
  RenumberOwners(ARow);
}

void TCellGrid::EraseStoreRows(const std::vector<int>& SortedRows) {
  if (SortedRows.empty() || SortedRows.front() >= StoredRowCount()) return;
  std::size_t w = SortedRows.front(), next = 0;
  for (std::size_t r = w; r < static_cast<std::size_t>(FRows.size()); ++r) {
    if (next < SortedRows.size() && static_cast<int>(r) == SortedRows[next]) {
      ++next;
      for (TCellSlot& s : FRows[r]) DeleteProps(std::exchange(s.Props, nullptr), true);
      continue;
    }
    if (w != r) FRows[w] = std::move(FRows[r]);
    ++w;
  }
  FRows.resize(w);
  RenumberOwners(SortedRows.front());
}

void TCellGrid::InsertEmptyStoreRows(const std::vector<int>& SortedFinalRows) {
  if (SortedFinalRows.empty() || SortedFinalRows.front() >= StoredRowCount()) return;
  TRowTable rows;
  rows.reserve(FRows.size() + SortedFinalRows.size());
  std::size_t old = 0, next = 0;
  while (old < static_cast<std::size_t>(FRows.size()) || next < SortedFinalRows.size()) {
    if (next < SortedFinalRows.size() && static_cast<int>(rows.size()) == SortedFinalRows[next]) {
      rows.emplace_back();
      ++next;
    } else if (old < static_cast<std::size_t>(FRows.size())) {
      rows.push_back(std::move(FRows[old++]));
    } else {
      break;  // positions past the stored rows need no storage
    }
  }
  FRows = std::move(rows);
  RenumberOwners(SortedFinalRows.front());
}

void TCellGrid::TakeStoreRows(const std::vector<int>& SortedRows, std::vector<TRowCells>& Rows) {
  Rows.clear();
  Rows.resize(SortedRows.size());
  if (SortedRows.empty() || SortedRows.front() >= StoredRowCount()) return;
  std::size_t w = SortedRows.front(), next = 0;
  for (std::size_t r = w; r < static_cast<std::size_t>(FRows.size()); ++r) {
    if (next < SortedRows.size() && static_cast<int>(r) == SortedRows[next]) {
      Rows[next++] = std::move(FRows[r]);
      continue;
    }
    if (w != r) FRows[w] = std::move(FRows[r]);
    ++w;
  }
  FRows.resize(w);
  RenumberOwners(SortedRows.front());
}

void TCellGrid::ReturnStoreRows(const std::vector<int>& SortedFinalRows, std::vector<TRowCells>& Rows) {
  if (SortedFinalRows.empty()) return;
  TRowTable rows;
  rows.reserve(std::max(FRows.size(), qsizetype(SortedFinalRows.back() + 1)) + qsizetype(SortedFinalRows.size()));
  std::size_t old = 0, next = 0;
  while (next < SortedFinalRows.size()) {
    if (static_cast<int>(rows.size()) == SortedFinalRows[next]) {
      TRowCells& row = Rows[next++];
      if (row.HasProps) FHasCellProps = true;
      rows.push_back(std::move(row));
    } else if (old < static_cast<std::size_t>(FRows.size())) {
      rows.push_back(std::move(FRows[old++]));
    } else {
      rows.emplace_back();  // a row that was never stored, before one coming back
    }
  }
  while (old < static_cast<std::size_t>(FRows.size())) rows.push_back(std::move(FRows[old++]));
  FRows = std::move(rows);
  RenumberOwners(SortedFinalRows.front());
}

void TCellGrid::DeleteStoreRows(int ARow, int ACount) {
  if (ARow < 0 || ACount <= 0 || ARow >= StoredRowCount()) return;
  const int last = std::min(ARow + ACount, StoredRowCount());
  // Properties still in the slots would be lost with the rows: free them (detached ones were cleared).
  for (int r = ARow; r < last; ++r)
    for (TCellSlot& s : FRows[r]) DeleteProps(std::exchange(s.Props, nullptr), true);
  FRows.erase(FRows.begin() + ARow, FRows.begin() + last);
  RenumberOwners(ARow);
}

void TCellGrid::MoveStoreRow(int FromIndex, int ToIndex) {
  if (FromIndex < 0 || ToIndex < 0 || FromIndex == ToIndex) return;
  const int need = std::max(FromIndex, ToIndex) + 1;
  if (StoredRowCount() < need) FRows.resize(need);
  if (FromIndex < ToIndex)
    std::rotate(FRows.begin() + FromIndex, FRows.begin() + FromIndex + 1, FRows.begin() + ToIndex + 1);
  else
    std::rotate(FRows.begin() + ToIndex, FRows.begin() + FromIndex, FRows.begin() + FromIndex + 1);
  RenumberOwners(std::min(FromIndex, ToIndex));
}

void TCellGrid::MoveStoreColumn(int FromIndex, int ToIndex) {
  if (FromIndex < 0 || ToIndex < 0 || FromIndex == ToIndex) return;
  const std::size_t need = std::max(FromIndex, ToIndex) + 1;
  for (TRowCells& row : FRows) {
    if (row.size() <= static_cast<std::size_t>(std::min(FromIndex, ToIndex))) continue;
    if (row.size() < need) row.resize(need);
    if (FromIndex < ToIndex)
      std::rotate(row.begin() + FromIndex, row.begin() + FromIndex + 1, row.begin() + ToIndex + 1);
    else
      std::rotate(row.begin() + ToIndex, row.begin() + FromIndex, row.begin() + FromIndex + 1);
  }
  RenumberOwners(0);
}

}  // namespace grid
