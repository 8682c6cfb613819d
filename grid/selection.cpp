#include "grid/selection.h"

#include <algorithm>

#include "grid/griderror.h"

namespace grid {

namespace {

bool FlagAt(const std::vector<bool>& flags, int i) {
  return i >= 0 && i < static_cast<int>(flags.size()) && flags[i];
}

void SetFlag(std::vector<bool>& flags, int i, bool v) {
  if (i < 0) return;
  if (i >= static_cast<int>(flags.size())) flags.resize(i + 1, false);
  flags[i] = v;
}

// Flag lists hold no entries past their last set flag's reach: entries exist only where a flag was written.
void EraseFlags(std::vector<bool>& flags, int at, int n) {
  const int size = static_cast<int>(flags.size());
  if (at >= size || n <= 0) return;
  flags.erase(flags.begin() + at, flags.begin() + std::min(at + n, size));
}

void InsertFlags(std::vector<bool>& flags, int at, int n) {
  if (at >= static_cast<int>(flags.size()) || n <= 0) return;
  flags.insert(flags.begin() + at, n, false);
}

// [First, Middle) and [Middle, Last) exchange places.
void RotateFlags(std::vector<bool>& flags, int First, int Middle, int Last) {
  if (First >= static_cast<int>(flags.size()) || First >= Middle || Middle >= Last) return;
  if (Last > static_cast<int>(flags.size())) flags.resize(Last, false);
  std::rotate(flags.begin() + First, flags.begin() + Middle, flags.begin() + Last);
}

}  // namespace

void TGridSelection::RepaintRow(int ARow) {
  for (int c = 0; c < FGrid.ColCount(); ++c) FGrid.RepaintCell(c, ARow);
}

void TGridSelection::RepaintCol(int ACol) {
  for (int r = FGrid.TopRow(); r <= FGrid.TopRow() + FGrid.VisibleRowCount() && r < FGrid.RowCount(); ++r)
    FGrid.RepaintCell(ACol, r);
}

// ---- disjunct rows -------------------------------------------------------------------------------------

bool TGridSelection::GetRowSelect(int ARow) {
  if ((ARow < 0 || ARow >= TotalRows()) && !FMouse.RowSelectPersistent)
    throw EExtGridError(QStringLiteral("Invalid row %1 accessed").arg(ARow));
  // Rows past the flags are not selected; asking does not grow the list.
  if (FMouse.DisjunctRowSelect()) return FlagAt(FRowSelect, ARow);
  const plat::TGridRect s = FGrid.Selection();
  return ARow >= std::min(s.Top, s.Bottom) && ARow <= std::max(s.Top, s.Bottom);
}

void TGridSelection::SetRowSelect(int ARow, bool Value) {
  if (ARow < 0 || (ARow >= TotalRows() && FGrid.RowCount() > FGrid.FixedRows()))
    throw EExtGridError(QStringLiteral("Invalid row accessed"));
  const bool was = FlagAt(FRowSelect, ARow);
  bool allow = true;
  if ((ARow >= static_cast<int>(FRowSelect.size()) || was != Value) && OnRowDisjunctSelect)
    OnRowDisjunctSelect(&FGrid, ARow, Value, allow);
  if (!allow) return;
  if (ARow >= static_cast<int>(FRowSelect.size())) FRowSelect.resize(ARow + 1, false);
  if (was != Value) RepaintRow(ARow);
  FRowSelect[ARow] = Value;
  if (Value && !FSelectedRows.HasValue(ARow) && ARow >= FGrid.FixedRows()) FSelectedRows.Add(ARow);
  if (!Value) FSelectedRows.DeleteValue(ARow);
  if (OnRowDisjunctSelected) OnRowDisjunctSelected(&FGrid, ARow);
}

void TGridSelection::SelectRows(int RowIndex, int RCount) {
  RCount = std::min(RCount, FGrid.RowCount() - RowIndex);
  if (!FMouse.DisjunctRowSelect()) {
    FGrid.SetSelection({FGrid.FixedCols(), RowIndex, FGrid.ColCount() - 1, RowIndex + RCount - 1});
  } else {
    for (int r = RowIndex; r < RowIndex + RCount; ++r) SetRowSelect(SelectionRowIndex(r), true);
  }
  if (RepaintIndicator) RepaintIndicator();
}

void TGridSelection::UnSelectRows(int RowIndex, int RCount) {
  if (!FMouse.DisjunctRowSelect()) return;
  for (int r = RowIndex; r < RowIndex + RCount && r < FGrid.RowCount(); ++r) SetRowSelect(SelectionRowIndex(r), false);
}

void TGridSelection::ClearRowSelect() {
  for (int r = 0; r < static_cast<int>(FRowSelect.size()); ++r)
    if (FRowSelect[r]) RepaintRow(r);
  FRowSelect.assign(FRowSelect.size(), false);
  FSelectedRows.Clear();
}

void TGridSelection::SelectionToRowSelect(bool All) {
  const plat::TGridRect s = FGrid.Selection();
  const int top = std::min(s.Top, s.Bottom), bottom = std::min(std::max(s.Top, s.Bottom), LastNormalRow());
  for (int r = FGrid.FixedRows(); r < FGrid.RowCount(); ++r) {
    const bool inside = r >= top && r <= bottom;
    if (All || inside) SetFlag(FRowSelect, SelectionRowIndex(r), inside);
  }
  if (FHiding.NumHiddenRows() > 0) FGrid.Invalidate();
}

// ---- disjunct columns ----------------------------------------------------------------------------------

bool TGridSelection::GetColSelect(int ACol) {
  if (ACol < 0 || ACol >= FGrid.ColCount()) throw EExtGridError(QStringLiteral("Invalid column accessed"));
  if (ACol >= static_cast<int>(FColSelect.size())) FColSelect.resize(ACol + 1, false);
  return FColSelect[ACol];
}

void TGridSelection::SetColSelect(int ACol, bool Value) {
  if (ACol < 0 || ACol >= FGrid.ColCount()) throw EExtGridError(QStringLiteral("Invalid column accessed"));
  const bool was = FlagAt(FColSelect, ACol);
  SetFlag(FColSelect, ACol, Value);
  if (was != Value) RepaintCol(ACol);
}

void TGridSelection::SelectCols(int ColIndex, int CCount) {
  CCount = std::min(CCount, FGrid.ColCount() - ColIndex);
  if (!FMouse.DisjunctColSelect()) {
    FGrid.SetSelection({ColIndex, FGrid.FixedRows(), ColIndex + CCount - 1, FGrid.RowCount() - 1});
    return;
  }
  for (int c = ColIndex; c < ColIndex + CCount; ++c) SetColSelect(c, true);
}

void TGridSelection::UnSelectCols(int ColIndex, int CCount) {
  if (!FMouse.DisjunctColSelect()) return;
  for (int c = ColIndex; c < ColIndex + CCount && c < FGrid.ColCount(); ++c) SetColSelect(c, false);
}

void TGridSelection::ClearColSelect() {
  for (int c = 0; c < static_cast<int>(FColSelect.size()); ++c)
    if (FColSelect[c] && c < FGrid.ColCount()) RepaintCol(c);
  FColSelect.assign(FColSelect.size(), false);
}

void TGridSelection::SelectionToColSelect(bool All) {
  const plat::TGridRect s = FGrid.Selection();
  const int left = std::min(s.Left, s.Right), right = std::max(s.Left, s.Right);
  for (int c = FGrid.FixedCols(); c < FGrid.ColCount(); ++c) {
    const bool inside = c >= left && c <= right;
    if (All || inside) SetFlag(FColSelect, c, inside);
  }
}

void TGridSelection::SelectRange(int FromCol, int ToCol, int FromRow, int ToRow) {
  FGrid.SetRow(ToRow);
  FGrid.SetCol(ToCol);
  FGrid.SetSelection({FromCol, FromRow, ToCol, ToRow});
}

// ---- counts and lists ----------------------------------------------------------------------------------

int TGridSelection::RowSelectCount() const {
  if (FMouse.DisjunctRowSelect()) {
    const int n = std::min(TotalRows(), static_cast<int>(FRowSelect.size()));
    return static_cast<int>(std::count(FRowSelect.begin(), FRowSelect.begin() + std::max(n, 0), true));
  }
  const plat::TGridRect s = FGrid.Selection();
  return std::abs(s.Bottom - s.Top) + 1;
}

int TGridSelection::ColSelectCount() const {
  if (FMouse.DisjunctColSelect()) return static_cast<int>(std::count(FColSelect.begin(), FColSelect.end(), true));
  const plat::TGridRect s = FGrid.Selection();
  return std::abs(s.Right - s.Left) + 1;
}

int TGridSelection::SelectedRowCount() const {
  if (FMouse.DisjunctRowSelect()) return FSelectedRows.Count();
  const plat::TGridRect s = FGrid.Selection();
  const int bottom = std::min(s.Bottom, LastNormalRow());
  const int spanTop = FGrid.CellSpan(s.Left, s.Top).Y;
  if (FGrid.IsMergedCell(s.Left, s.Top) && bottom <= s.Top + spanTop) return spanTop + 1;
  int n = std::abs(s.Top - bottom) + 1;
  if (FGrid.IsMergedCell(s.Left, bottom)) n += FGrid.CellSpan(s.Left, bottom).Y;
  return n;
}

int TGridSelection::SelectedColCount() const {
  if (FMouse.DisjunctColSelect()) return static_cast<int>(FColSelect.size());
  const plat::TGridRect s = FGrid.Selection();
  const int spanLeft = FGrid.CellSpan(s.Left, s.Top).X;
  if (FGrid.IsMergedCell(s.Left, s.Top) && s.Right <= s.Left + spanLeft) return spanLeft + 1;
  if (FGrid.IsMergedCell(s.Right, s.Top)) return std::abs(s.Left - s.Right) + FGrid.CellSpan(s.Right, s.Top).X + 1;
  return std::abs(s.Left - s.Right) + 1;
}

int TGridSelection::SelectedRow(int i) const {
  if (FMouse.DisjunctRowSelect()) return i >= 0 && i < FSelectedRows.Count() ? FSelectedRows.Items(i) : -1;
  const plat::TGridRect s = FGrid.Selection();
  const int row = std::min(s.Top, s.Bottom) + i;
  return i >= 0 && row <= std::max(s.Top, s.Bottom) ? row : -1;
}

// ---- disjunct cells ------------------------------------------------------------------------------------

bool TGridSelection::GetSelectedCells(int i, int j) const {
  if (FMouse.DisjunctCellSelect())
    return std::find(FSelectedCells.begin(), FSelectedCells.end(), std::pair(i, j)) != FSelectedCells.end();
  const plat::TGridRect s = FGrid.Selection();
  return i >= std::min(s.Left, s.Right) && i <= std::max(s.Left, s.Right) && j >= std::min(s.Top, s.Bottom) &&
         j <= std::max(s.Top, s.Bottom);
}

void TGridSelection::SetSelectedCells(int i, int j, bool Value) {
  const auto it = std::find(FSelectedCells.begin(), FSelectedCells.end(), std::pair(i, j));
  if (Value && it == FSelectedCells.end()) {
    FSelectedCells.emplace_back(i, j);
    FGrid.RepaintCell(i, j);
  } else if (!Value && it != FSelectedCells.end()) {
    FSelectedCells.erase(it);
    FGrid.RepaintCell(i, j);
  }
}

int TGridSelection::SelectedCellsCount() {
  if (FMouse.DisjunctCellSelect()) return static_cast<int>(FSelectedCells.size());
  const plat::TGridRect s = FGrid.Selection();
  FSelectedCells.clear();
  for (int c = std::min(s.Left, s.Right); c <= std::max(s.Left, s.Right); ++c)
    for (int r = std::min(s.Top, s.Bottom); r <= std::max(s.Top, s.Bottom); ++r) FSelectedCells.emplace_back(c, r);
  return static_cast<int>(FSelectedCells.size());
}

plat::TPoint TGridSelection::SelectedCell(int i) const {
  if (i < 0 || i >= static_cast<int>(FSelectedCells.size())) return {-1, -1};
  return {FSelectedCells[i].first, FSelectedCells[i].second};
}

void TGridSelection::ClearSelectedCells() {
  FGrid.SetSelection({FGrid.FixedCols(), FGrid.FixedRows(), FGrid.FixedCols(), FGrid.FixedRows()});
  FSelectedCells.clear();
  FGrid.Invalidate();
}

// ---- hiding the selection and rows by their selection ---------------------------------------------------

void TGridSelection::HideSelection() {
  FOldSelection = FGrid.Selection();
  FGrid.SetSelection({FGrid.ColCount(), FGrid.RowCount(), FGrid.ColCount(), FGrid.RowCount()});
  FSelHidden = true;
}

void TGridSelection::UnHideSelection() {
  FSelHidden = false;
  if (FOldSelection.Top < FGrid.RowCount() && FOldSelection.Left < FGrid.ColCount()) {
    FGrid.SetSelection(FOldSelection);
    return;
  }
  const int row = FixedRowAlways && FGrid.FixedRows() == FGrid.RowCount() ? 0 : FGrid.FixedRows();
  const int col = FixedColAlways && FGrid.FixedCols() == FGrid.ColCount() ? 0 : FGrid.FixedCols();
  FGrid.SetSelection({col, row, col, row});
}

void TGridSelection::HideSelectedRows() {
  for (int r = FGrid.RowCount() - 1; r >= FGrid.FixedRows(); --r)
    if (FlagAt(FRowSelect, FMouse.RowSelectPersistent ? FHiding.DisplToRealRow(r) : r))
      FHiding.HideRows(FHiding.DisplToRealRow(r), FHiding.DisplToRealRow(r));
}

void TGridSelection::HideUnSelectedRows() {
  // After a row is hidden the same display index holds the next row.
  for (int r = FGrid.FixedRows(); r < FGrid.RowCount() && FGrid.RowCount() > 1;) {
    const int before = FGrid.RowCount();
    if (!FlagAt(FRowSelect, FMouse.RowSelectPersistent ? FHiding.DisplToRealRow(r) : r))
      FHiding.HideRows(FHiding.DisplToRealRow(r), FHiding.DisplToRealRow(r));
    if (FGrid.RowCount() == before) ++r;
  }
}

// ---- following structural operations -------------------------------------------------------------------

void TGridSelection::RemapSelectedRows(const std::function<int(int)>& NewIdx) {
  std::vector<int> kept;
  for (int v : FSelectedRows)
    if (const int n = NewIdx(v); n >= 0) kept.push_back(n);
  FSelectedRows.Clear();
  for (int v : kept) FSelectedRows.Insert(FSelectedRows.Count(), v);
}

void TGridSelection::RemapSelectedCells(bool Rows, const std::function<int(int)>& NewIdx) {
  std::vector<std::pair<int, int>> kept;
  for (auto [c, r] : FSelectedCells) {
    const int n = NewIdx(Rows ? r : c);
    if (n >= 0) kept.emplace_back(Rows ? c : n, Rows ? n : r);
  }
  FSelectedCells = std::move(kept);
}

void TGridSelection::RowsInserted(int ARow, int Count) {
  for (auto* flags : {&FRowSelect, &FModifiedRows, &FDisabledRows}) InsertFlags(*flags, ARow, Count);
  const auto shift = [ARow, Count](int r) { return r >= ARow ? r + Count : r; };
  RemapSelectedRows(shift);
  RemapSelectedCells(true, shift);
}

void TGridSelection::RowsRemoved(int ARow, int Count) {
  for (auto* flags : {&FRowSelect, &FModifiedRows, &FDisabledRows}) EraseFlags(*flags, ARow, Count);
  const auto shift = [ARow, Count](int r) { return r < ARow ? r : r < ARow + Count ? -1 : r - Count; };
  RemapSelectedRows(shift);
  RemapSelectedCells(true, shift);
}

void TGridSelection::RowsMoved(int FromIndex, int Count, int ToIndex) {
  if (Count <= 0 || FromIndex == ToIndex) return;
  const int first = std::min(FromIndex, ToIndex), last = std::max(FromIndex, ToIndex) + Count;
  const int middle = FromIndex < ToIndex ? FromIndex + Count : FromIndex;
  for (auto* flags : {&FRowSelect, &FModifiedRows, &FDisabledRows}) RotateFlags(*flags, first, middle, last);
  // Where row r of the rotated range went: the moved block to ToIndex, the rows it passed by Count the other way.
  const auto moved = [=](int r) {
    if (r < first || r >= last) return r;
    if (r >= FromIndex && r < FromIndex + Count) return ToIndex + (r - FromIndex);
    return FromIndex < ToIndex ? r - Count : r + Count;
  };
  RemapSelectedRows(moved);
  RemapSelectedCells(true, moved);
}

void TGridSelection::ColsInserted(int ACol, int Count) {
  InsertFlags(FColSelect, ACol, Count);
  RemapSelectedCells(false, [ACol, Count](int c) { return c >= ACol ? c + Count : c; });
}

void TGridSelection::ColsRemoved(int ACol, int Count) {
  EraseFlags(FColSelect, ACol, Count);
  RemapSelectedCells(false, [ACol, Count](int c) { return c < ACol ? c : c < ACol + Count ? -1 : c - Count; });
}

// ---- modified and enabled rows -------------------------------------------------------------------------

bool TGridSelection::GetRowModified(int ARow) const { return FlagAt(FModifiedRows, ARow); }

void TGridSelection::SetRowModified(int ARow, bool Value) {
  SetFlag(FModifiedRows, ARow, Value);
  FGrid.RepaintCell(0, ARow);
}

int TGridSelection::ModifiedRowCount() const {
  return static_cast<int>(std::count(FModifiedRows.begin(), FModifiedRows.end(), true));
}

void TGridSelection::ClearModifiedRows() {
  FModifiedRows.clear();
  FGrid.Invalidate();
}

bool TGridSelection::GetRowEnabled(int ARow) const { return !FlagAt(FDisabledRows, ARow); }

void TGridSelection::SetRowEnabled(int ARow, bool Value) {
  if (ARow == FGrid.Row())
    for (int r = FGrid.FixedRows(); r < FGrid.RowCount(); ++r)
      if (r != ARow && GetRowEnabled(r)) {
        FGrid.SetRow(r);
        break;
      }
  FUseEnabledRows = true;
  SetFlag(FDisabledRows, ARow, !Value);
  RepaintRow(ARow);
}

}  // namespace grid
