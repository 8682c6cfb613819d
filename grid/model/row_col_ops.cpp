#include "grid/model/row_col_ops.h"

#include <QSet>

#include <algorithm>
#include <unordered_map>

namespace grid {

// ---- merged areas cut by an operation -------------------------------------------------------------------

void TRowColOps::SplitAcrossColBoundary(int ACol) {
  if (!FCells.HasCellProps() || ACol <= 0 || ACol >= Cols()) return;
  for (int r = 0; r < Rows(); ++r) {
    if (FCells.BaseCell(ACol, r).X < ACol) FCells.SplitCells(ACol, r);
  }
}

void TRowColOps::SplitAreasLeaving(int ACol1, int ARow1, int ACol2, int ARow2) {
  if (!FCells.HasCellProps()) return;
  for (int r = ARow1; r <= ARow2; ++r)
    for (int c = ACol1; c <= ACol2; ++c) {
      if (!FCells.IsMergedCell(c, r)) continue;
      const plat::TRect a = FCells.FullCell(c, r);
      if (a.Left < ACol1 || a.Top < ARow1 || a.Right > ACol2 || a.Bottom > ARow2) FCells.SplitCells(c, r);
    }
}

void TRowColOps::ClearKeptStore(int From, int To, bool IsRows) {
  const int last_col = IsRows ? Cols() - 1 : To, last_row = IsRows ? To : Rows() - 1;
  for (int r = IsRows ? From : 0; r <= last_row; ++r)
    for (int c = IsRows ? 0 : From; c <= last_col; ++c) {
      if (FCells.HasCellProperties(c, r)) FCells.FreeCellPropertiesAt(c, r);
      if (!FCells.GridCellRef(c, r).isEmpty()) FCells.SetGridCell(c, r, QString());
    }
}

// ---- hidden rows ---------------------------------------------------------------------------------------

int TRowColOps::RealRowAt(int ARow) const {
  return ARow < Rows() ? FHost.DisplToRealRow(ARow) : FHost.DisplToRealRow(Rows() - 1) + 1;
}

std::vector<int> TRowColOps::RealRows(int RowIndex, int RCount) const {
  std::vector<int> rows;
  rows.reserve(RCount);
  for (int r = RowIndex; r < RowIndex + RCount; ++r) rows.push_back(FHost.DisplToRealRow(r));
  return rows;
}

int TRowColOps::Below(const std::vector<int>& SortedRows, int Idx) {
  return static_cast<int>(std::lower_bound(SortedRows.begin(), SortedRows.end(), Idx) - SortedRows.begin());
}

void TRowColOps::RenumberHiddenForInsert(int RowIndex, int RCount) {
  if (!FHost.HasHiddenRows()) return;
  // Records at or behind the real row that was at the insertion point move down with the rows.
  const int at = RealRowAt(RowIndex);
  FHost.RenumberHiddenRows([at, RCount](int idx) { return idx >= at ? idx + RCount : idx; });
}

void TRowColOps::RenumberHiddenForRemove(int RowIndex, int RCount) {
  if (!FHost.HasHiddenRows()) return;
  // A record goes up by the number of removed rows in front of it (hidden rows may lie between them).
  const std::vector<int> removed = RealRows(RowIndex, RCount);
  FHost.RenumberHiddenRows([&removed](int idx) { return idx - Below(removed, idx); });
}

void TRowColHost::RowsPermuted(int First, const std::vector<int>& From) {
  // at[p]: the row now at place p; where[r]: the place of row r.
  const int n = static_cast<int>(From.size());
  std::vector<int> at(static_cast<std::size_t>(n)), where(static_cast<std::size_t>(n));
  for (int k = 0; k < n; ++k) at[std::size_t(k)] = where[std::size_t(k)] = k;
  for (int k = 0; k < n; ++k) {
    const int w = where[std::size_t(From[std::size_t(k)] - First)];
    if (w == k) continue;
    RowsSwapped(First + k, First + w);
    const int moved = at[std::size_t(k)];
    std::swap(at[std::size_t(k)], at[std::size_t(w)]);
    where[std::size_t(moved)] = w;
    where[std::size_t(From[std::size_t(k)] - First)] = k;
  }
}

// ---- attached controls --------------------------------------------------------------------------------

void TRowColOps::RenumberControlRows(const std::function<int(int)>& NewRow) {
  TControlPlaces* places = FHost.ControlPlaces();
  if (!places || places->Count() == 0) return;
  const std::vector<plat::TControl*> dropped = places->RenumberRows(NewRow);
  if (!dropped.empty()) FHost.ControlsDropped(dropped);
  FHost.ControlsMoved();
}

void TRowColOps::RenumberControlCols(const std::function<int(int)>& NewCol) {
  TControlPlaces* places = FHost.ControlPlaces();
  if (!places || places->Count() == 0) return;
  const std::vector<plat::TControl*> dropped = places->RenumberCols(NewCol);
  if (!dropped.empty()) FHost.ControlsDropped(dropped);
  FHost.ControlsMoved();
}

// ---- rows ----------------------------------------------------------------------------------------------

void TRowColOps::InsertRows(int RowIndex, int RCount, bool UpdateCellControls) {
  if (RowIndex < 0 || RCount <= 0 || RowIndex > Rows()) return;
  const int at = RealRowAt(RowIndex);
  FCells.SplitAcrossRowBoundary(RowIndex);
  RenumberHiddenForInsert(RowIndex, RCount);
  FCells.InsertStoreRows(RowIndex, RCount);
  FHost.SetRowCount(Rows() + RCount);
  FHost.RowsInserted(RowIndex, RCount);
  if (UpdateCellControls) RenumberControlRows([at, RCount](int y) { return y >= at ? y + RCount : y; });
  FHost.CellsChanged(0, RowIndex, FCells.ColCount() - 1, RowIndex + RCount);
}

void TRowColOps::RemoveRows(int RowIndex, int RCount, bool UpdateHidden) {
  if (RowIndex < 0 || RowIndex >= Rows() || RCount <= 0) return;
  RCount = std::min(RCount, Rows() - RowIndex);
  FCells.SplitAcrossRowBoundary(RowIndex);
  FCells.SplitAcrossRowBoundary(RowIndex + RCount);
  std::vector<int> removed;
  if (UpdateHidden) {
    // The real rows as they are before the hidden-row records are renumbered.
    if (FHost.ControlPlaces()) removed = RealRows(RowIndex, RCount);
    RenumberHiddenForRemove(RowIndex, RCount);
  }
  FCells.DeleteStoreRows(RowIndex, RCount);
  FHost.RowsRemoved(RowIndex, RCount);
  const int left = Rows() - RCount;
  FHost.SetRowCount(left);
  // A grid never has fewer rows than its minimum: the rows it keeps start empty rather than showing what the
  // removal moved up from behind the count (rows cut off before).
  if (Rows() > left) ClearKeptStore(std::max(left, 0), Rows() - 1, true);
  if (!removed.empty())
    RenumberControlRows([&removed](int y) {
      return std::binary_search(removed.begin(), removed.end(), y) ? -1 : y - Below(removed, y);
    });
  FHost.CellsChanged(0, RowIndex, FCells.ColCount() - 1, RowIndex + RCount);
}

void TRowColOps::MoveRows(int FromIndex, int ToIndex, int Count) {
  if (FromIndex == ToIndex || Count <= 0 || FromIndex < 0 || FromIndex >= Rows() || ToIndex < 0) return;
  Count = std::min(Count, Rows() - FromIndex);
  if (FromIndex + Count < ToIndex) ToIndex -= Count;
  ToIndex = std::min(ToIndex, Rows() - Count);
  if (ToIndex == FromIndex) return;
  FCells.SplitAcrossRowBoundary(FromIndex);
  FCells.SplitAcrossRowBoundary(FromIndex + Count);
  // The boundary the block lands on, counted in the grid without the block.
  FCells.SplitAcrossRowBoundary(ToIndex < FromIndex ? ToIndex : ToIndex + Count);
  // Hidden rows and attached controls follow as if the block were taken out and put back at the landing point.
  const std::vector<int> removed = RealRows(FromIndex, Count);
  const int landing = ToIndex < FromIndex ? ToIndex : ToIndex + Count;
  const int at0 = RealRowAt(landing);
  const int at = at0 - Below(removed, at0);
  const auto others = [&removed, at, Count](int idx) {
    idx -= Below(removed, idx);
    return idx >= at ? idx + Count : idx;
  };
  if (FHost.HasHiddenRows()) FHost.RenumberHiddenRows(others);
  FCells.MoveStoreRows(FromIndex, Count, ToIndex);
  FHost.RowsMoved(FromIndex, Count, ToIndex);
  RenumberControlRows([&](int y) {
    const auto it = std::lower_bound(removed.begin(), removed.end(), y);
    return it != removed.end() && *it == y ? at + static_cast<int>(it - removed.begin()) : others(y);
  });
  FHost.CellsChanged(0, std::min(FromIndex, ToIndex), FCells.ColCount() - 1, std::max(FromIndex, ToIndex) + Count);
}

void TRowColOps::SwapRows(int ARow1, int ARow2) {
  if (ARow1 == ARow2 || ARow1 < 0 || ARow2 < 0 || ARow1 >= Rows() || ARow2 >= Rows()) return;
  for (int r : {ARow1, ARow2}) {
    FCells.SplitAcrossRowBoundary(r);
    FCells.SplitAcrossRowBoundary(r + 1);
  }
  const int real1 = FHost.DisplToRealRow(ARow1), real2 = FHost.DisplToRealRow(ARow2);
  FCells.SwapStoreRows(ARow1, ARow2);
  FHost.RowsSwapped(ARow1, ARow2);
  RenumberControlRows(control_moves::Swapped(real1, real2));
}

void TRowColOps::PermuteRows(int First, const std::vector<int>& From, const std::vector<int>& Touched) {
  const int n = static_cast<int>(From.size());
  if (First < 0 || n == 0 || First + n > Rows()) return;
  for (int r : Touched) {
    FCells.SplitAcrossRowBoundary(r);
    FCells.SplitAcrossRowBoundary(r + 1);
  }
  FCells.PermuteStoreRows(First, From);
  FHost.RowsPermuted(First, From);
  TControlPlaces* places = FHost.ControlPlaces();
  if (!places || places->Count() == 0) return;
  // Controls sit on real rows: each moved row's real index goes to the real index of its new place.
  std::unordered_map<int, int> to;
  for (int k = 0; k < n; ++k)
    if (From[k] != First + k) to[FHost.DisplToRealRow(From[k])] = FHost.DisplToRealRow(First + k);
  RenumberControlRows([&to](int y) {
    const auto it = to.find(y);
    return it == to.end() ? y : it->second;
  });
}

void TRowColOps::PermuteColumnCells(int ACol, int First, const std::vector<int>& From, const std::vector<int>& Touched) {
  const int n = static_cast<int>(From.size());
  if (ACol < 0 || ACol >= Cols() || First < 0 || n == 0 || First + n > Rows()) return;
  for (int r : Touched)
    if (FCells.IsMergedCell(ACol, r)) FCells.SplitCells(ACol, r);
  FCells.PermuteStoreCells(ACol, First, From);
  FHost.CellsChanged(ACol, First, ACol, First + n - 1);
}

void TRowColOps::SwapColumnCells(int ACol, int ARow1, int ARow2) {
  if (ARow1 == ARow2 || ACol < 0 || ACol >= Cols() || ARow1 < 0 || ARow2 < 0 || ARow1 >= Rows() || ARow2 >= Rows())
    return;
  // A merged area around either cell would be left pointing at a cell that moved: split it first.
  for (int r : {ARow1, ARow2})
    if (FCells.IsMergedCell(ACol, r)) FCells.SplitCells(ACol, r);
  FCells.SwapStoreCells(ACol, ARow1, ARow2);
  FHost.CellsChanged(ACol, std::min(ARow1, ARow2), ACol, std::max(ARow1, ARow2));
}

void TRowColOps::RemoveDuplicates(int ACol, bool DoCase) {
  QSet<QString> seen;
  for (int r = FHost.FixedRows(); r < Rows() - FHost.FixedFooters();) {
    const QString& text = FCells.GridCellRef(ACol, r);
    const QString key = DoCase ? text : text.toLower();
    if (seen.contains(key)) {
      RemoveRows(r, 1);
      continue;
    }
    seen.insert(key);
    ++r;
  }
}

// ---- columns -------------------------------------------------------------------------------------------

void TRowColOps::InsertCols(int ColIndex, int CCount) {
  if (ColIndex < 0 || CCount <= 0 || ColIndex > Cols()) return;
  SplitAcrossColBoundary(ColIndex);
  FCells.InsertStoreColumns(ColIndex, CCount);
  FHost.SetColCount(FCells.ColCount() + CCount);
  FHost.ColsInserted(ColIndex, CCount);
  RenumberControlCols([ColIndex, CCount](int x) { return x >= ColIndex ? x + CCount : x; });
}

void TRowColOps::RemoveCols(int ColIndex, int CCount) {
  if (ColIndex < 0 || ColIndex >= Cols() || CCount <= 0) return;
  CCount = std::min(CCount, Cols() - ColIndex);
  SplitAcrossColBoundary(ColIndex);
  SplitAcrossColBoundary(ColIndex + CCount);
  const int shown = CCount - FHost.HiddenColsIn(ColIndex, CCount);
  FCells.EraseStoreColumns(ColIndex, CCount);
  FHost.ColsRemoved(ColIndex, CCount);
  const int left = std::max(0, FCells.ColCount() - shown);
  FHost.SetColCount(left);
  if (FCells.ColCount() > left) ClearKeptStore(Cols() - (FCells.ColCount() - left), Cols() - 1, false);
  RenumberControlCols([ColIndex, CCount](int x) { return x < ColIndex ? x : x < ColIndex + CCount ? -1 : x - CCount; });
  FHost.CellsChanged(ColIndex, 0, ColIndex + CCount, Rows() - 1);
}

void TRowColOps::SwapColumns(int ACol1, int ACol2) {
  if (ACol1 == ACol2 || ACol1 < 0 || ACol2 < 0 || ACol1 >= Cols() || ACol2 >= Cols()) return;
  for (int c : {ACol1, ACol2}) {
    SplitAcrossColBoundary(c);
    SplitAcrossColBoundary(c + 1);
  }
  FCells.SwapStoreColumns(ACol1, ACol2);
  FHost.ColsSwapped(ACol1, ACol2);
  RenumberControlCols(control_moves::Swapped(ACol1, ACol2));
}

void TRowColOps::MergeCols(int ColIndex1, int ColIndex2, const QString& Separator) {
  if (ColIndex1 < 0 || ColIndex2 < 0 || ColIndex1 >= Cols() || ColIndex2 >= Cols() || ColIndex1 == ColIndex2)
    return;
  for (int r = FHost.FixedRows(); r < Rows(); ++r)
    FCells.SetCells(ColIndex1, r,
                    FCells.GridCellRef(ColIndex1, r).trimmed() + Separator + FCells.GridCellRef(ColIndex2, r));
  RemoveCols(ColIndex2, 1);
}

// ---- clearing and trimming -----------------------------------------------------------------------------

void TRowColOps::ClearRect(int ACol1, int ARow1, int ACol2, int ARow2) {
  ACol1 = std::max(ACol1, 0), ARow1 = std::max(ARow1, 0);
  ACol2 = std::min(ACol2, Cols() - 1), ARow2 = std::min(ARow2, Rows() - 1);
  if (ACol1 > ACol2 || ARow1 > ARow2) return;
  if (!ClearTextOnly && !NilObjects) SplitAreasLeaving(ACol1, ARow1, ACol2, ARow2);
  for (int r = ARow1; r <= ARow2; ++r)
    for (int c = ACol1; c <= ACol2; ++c) {
      if (!ClearTextOnly && FCells.HasCellProperties(c, r)) {
        if (NilObjects)
          FCells.SetGridObject(c, r, nullptr);
        else
          FCells.FreeCellPropertiesAt(c, r);
      }
      if (!FCells.IsDestroying() && !FCells.GridCellRef(c, r).isEmpty()) FCells.SetGridCell(c, r, QString());
    }
  if (ACol1 == 0 && ARow1 == 0 && ACol2 >= Cols() - 1 && ARow2 >= Rows() - 1 && !ClearTextOnly)
    FCells.NoteCellPropsCleared();
  if (!FCells.IsDestroying() && !BlockCellChange) FHost.CellsChanged(ACol1, ARow1, ACol2, ARow2);
}

void TRowColOps::ClearRows(int RowIndex, int RCount) {
  if (Rows() == 0 || Cols() == 0 || RCount <= 0) return;
  ClearRect(0, RowIndex, Cols() - 1, RowIndex + RCount - 1);
}

void TRowColOps::ClearCols(int ColIndex, int CCount) {
  if (Rows() == 0 || Cols() == 0 || CCount <= 0) return;
  ClearRect(ColIndex, 0, ColIndex + CCount - 1, Rows() - 1);
}

void TRowColOps::ClearNormalRows(int RowIndex, int RCount) {
  if (Rows() == 0 || Cols() == 0 || RCount <= 0) return;
  ClearRect(FHost.FixedCols(), RowIndex, Cols() - FHost.FixedRightCols() - 1, RowIndex + RCount - 1);
}

void TRowColOps::ClearNormalCols(int ColIndex, int CCount) {
  if (Rows() == 0 || Cols() == 0 || CCount <= 0) return;
  ClearRect(ColIndex, FHost.FixedRows(), ColIndex + CCount - 1, Rows() - FHost.FixedFooters() - 1);
}

void TRowColOps::ClearNormalCells() {
  ClearRect(FHost.FixedCols(), FHost.FixedRows(), Cols() - FHost.FixedRightCols() - 1,
            Rows() - FHost.FixedFooters() - 1);
}

void TRowColOps::Clear() { ClearRect(0, 0, Cols() - 1, Rows() - 1); }

void TRowColOps::TrimRect(int ACol1, int ARow1, int ACol2, int ARow2) {
  const auto blank = [](QChar ch) { return ch.unicode() <= 0x20; };
  for (int r = std::max(ARow1, 0); r <= std::min(ARow2, Rows() - 1); ++r)
    for (int c = std::max(ACol1, 0); c <= std::min(ACol2, Cols() - 1); ++c) {
      const QString& text = FCells.GridCellRef(c, r);
      qsizetype from = 0, to = text.size();
      while (from < to && blank(text[from])) ++from;
      while (to > from && blank(text[to - 1])) --to;
      if (from > 0 || to < text.size()) FCells.SetCells(c, r, text.mid(from, to - from));
    }
}

// ---- merging runs --------------------------------------------------------------------------------------

void TRowColOps::MergeColumnCells(int ColIndex, bool MainMerge) {
  const int first = FHost.FixedRows(), last = Rows() - FHost.FixedFooters() - 1;
  int start = first;
  const auto close = [&](int end) {
    if (end - start >= 1) FCells.MergeCells(ColIndex, start, 1, end - start + 1);
  };
  for (int r = first + 1; r <= last; ++r) {
    const bool same = FCells.GridCellRef(ColIndex, r) == FCells.GridCellRef(ColIndex, r - 1) &&
                      (MainMerge || FCells.RowSpanIdentical(r, r - 1));
    if (same) continue;
    close(r - 1);
    start = r;
  }
  if (last >= first) close(last);
}

void TRowColOps::MergeRowCells(int RowIndex, bool MainMerge) {
  const int first = FHost.FixedCols(), last = FCells.ColCount() - FHost.FixedRightCols() - 1;
  int start = first;
  const auto close = [&](int end) {
    if (end - start >= 1) FCells.MergeCells(start, RowIndex, end - start + 1, 1);
  };
  for (int c = first + 1; c <= last; ++c) {
    const bool same = FCells.GridCellRef(c, RowIndex) == FCells.GridCellRef(c - 1, RowIndex) &&
                      (MainMerge || FCells.ColSpanIdentical(c, c - 1));
    if (same) continue;
    close(c - 1);
    start = c;
  }
  if (last >= first) close(last);
}

void TRowColOps::SplitColumnCells(int ColIndex) {
  for (int r = 0; r <= Rows() - FHost.FixedFooters() - 2; ++r) {
    if (!FCells.IsYMergedCell(ColIndex, r)) continue;
    const plat::TRect a = FCells.FullCell(ColIndex, r);
    FCells.SplitCells(ColIndex, r);
    r = a.Bottom;
  }
}

void TRowColOps::SplitRowCells(int RowIndex) {
  for (int c = 0; c <= FCells.ColCount() - FHost.FixedRightCols() - 2; ++c) {
    if (!FCells.IsMergedCell(c, RowIndex)) continue;
    const plat::TRect a = FCells.FullCell(c, RowIndex);
    FCells.SplitCells(c, RowIndex);
    c = a.Right;
  }
}

void TRowColOps::SplitAllCells() {
  if (!FCells.HasCellProps()) return;
  for (int r = 0; r < Rows(); ++r)
    for (int c = 0; c < Cols(); ++c) {
      if (!FCells.IsMergedCell(c, r)) continue;
      FCells.SplitCells(c, r);
      if (!FCells.IsMergedCell(c, r)) continue;
      // The area's base is out of the grid (its row is hidden): the cell is no area's part any more, or the
      // merge would come back with its row.
      TCellProperties* p = FCells.GetCellProperties(c, r);
      p->IsBaseCell = true;
      p->CellSpanX = -1;
      p->CellSpanY = -1;
      FCells.RepaintCell(c, r);
    }
}

// ---- finding -------------------------------------------------------------------------------------------

bool TRowColOps::IsCell(const QString& SubStr, int& ACol, int& ARow) const {
  for (int r = 0; r < Rows(); ++r)
    for (int c = 0; c < FCells.ColCount(); ++c)
      if (FCells.GridCellRef(c, r) == SubStr) {
        ACol = c;
        ARow = r;
        return true;
      }
  return false;
}

}  // namespace grid
