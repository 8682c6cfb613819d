#include "grid/hiding.h"

#include <algorithm>
#include <utility>

namespace grid {

TGridHiding::TGridHiding(TBaseGrid& Grid) : FGrid(Grid) {}

TGridHiding::~TGridHiding() {
  for (int i = 0; i < FGridItems.Count(); ++i)
    for (detail::TCellSlot& slot : Record(i).Row()) delete slot.Props;
}

// ---- columns -------------------------------------------------------------------------------------------

void TGridHiding::HideColumns(int FromCol, int ToCol) {
  FGrid.SetEditorMode(false);
  for (int c = FromCol; c <= ToCol; ++c) {
    if (c < 0 || FCols.IsHidden(c) || c >= TotalCols() || c >= THiddenColumns::kHideable || FGrid.ColCount() <= 1)
      continue;
    const int d = FCols.RealToDispl(c);
    FCols.SetWidth(c, FGrid.ColWidths(d));
    for (int k = d; k <= FGrid.ColCount() - 2; ++k) FGrid.SetColWidths(k, FGrid.ColWidths(k + 1));
    FCols.SetVisible(c, false);
    if (FGrid.Col() == FGrid.ColCount() - 1) FGrid.SetCol(FGrid.Col() - 1);
    FGrid.SetColCount(FGrid.ColCount() - 1);
  }
  FGrid.Invalidate();
}

void TGridHiding::UnHideColumns(int FromCol, int ToCol) {
  FGrid.SetEditorMode(false);
  for (int c = FromCol; c <= ToCol; ++c) {
    if (!FCols.IsHidden(c)) continue;
    FCols.SetVisible(c, true);
    FGrid.SetColCount(FGrid.ColCount() + 1);
    for (int k = FGrid.ColCount() - 1; k >= FCols.RealToDispl(c + 1) && k > 0; --k)
      FGrid.SetColWidths(k, FGrid.ColWidths(k - 1));
    FGrid.SetColWidths(FCols.RealToDispl(c), FCols.Width(c));
  }
  FGrid.Invalidate();
}

void TGridHiding::UnHideColumnsAll() { UnHideColumns(0, FGrid.ColCount() + FCols.NumHidden()); }

void TGridHiding::ForgetColumnsBeyondCount() {
  // From the right, so that the display place of the columns still to look at does not change.
  for (int c = THiddenColumns::kHideable - 1; c >= 0 && FCols.NumHidden() > 0; --c)
    if (FCols.IsHidden(c) && FCols.RealToDispl(c) > FGrid.ColCount()) FCols.SetVisible(c, true);
}

// ---- records and display rows --------------------------------------------------------------------------

TGridItem* TGridHiding::NewRecord(int DisplRow, int Idx, int Level, bool FromList, bool Append) {
  int at = FGridItems.Count();
  if (!FromList && !Append)
    for (int i = 0; i < FGridItems.Count(); ++i)
      if (Record(i).Idx() > Idx) {
        at = i;
        break;
      }
  auto* rec = static_cast<TGridItem*>(at == FGridItems.Count() ? FGridItems.Add() : FGridItems.Insert(at));
  rec->SetIdx(Idx);
  rec->SetHeight(FGrid.RowHeights(DisplRow));
  rec->Level = Level;
  rec->FromRowList = FromList;
  return rec;
}

void TGridHiding::DeleteRecords(std::vector<int> Positions) {
  // From the back: the newest records sit at the end of the store, where taking one out costs nothing.
  std::sort(Positions.begin(), Positions.end());
  FGridItems.BeginUpdate();
  for (auto p = Positions.rbegin(); p != Positions.rend(); ++p) {
    for (detail::TCellSlot& slot : Record(*p).Row()) delete std::exchange(slot.Props, nullptr);
    FGridItems.Delete(*p);
  }
  FGridItems.EndUpdate();
}

void TGridHiding::SplitRecordedAreas() {
  for (int i = 0; i < FGridItems.Count(); ++i)
    for (detail::TCellSlot& slot : Record(i).Row())
      if (TCellProperties* props = slot.Props) {
        props->IsBaseCell = true;
        props->CellSpanX = -1;
        props->CellSpanY = -1;
      }
}

std::vector<int> TGridHiding::Heights() const {
  std::vector<int> h(FGrid.RowCount());
  for (int r = 0; r < FGrid.RowCount(); ++r) h[r] = FGrid.RowHeights(r);
  return h;
}

void TGridHiding::MoveRowsOut(const std::vector<int>& SortedRows, const std::vector<TGridItem*>& Records) {
  if (SortedRows.empty()) return;
  std::vector<int> kept;
  const std::vector<int> old = Heights();
  kept.reserve(old.size());
  for (int r = 0, next = 0; r < static_cast<int>(old.size()); ++r) {
    if (next < static_cast<int>(SortedRows.size()) && SortedRows[next] == r)
      ++next;
    else
      kept.push_back(old[r]);
  }
  // The rows leave the store whole: their texts and properties go to the records without being copied.
  std::vector<detail::TRowCells> rows;
  FGrid.CellStore().TakeStoreRows(SortedRows, rows);
  for (std::size_t i = 0; i < rows.size(); ++i) Records[i]->Row() = std::move(rows[i]);
  FGrid.SetRowCount(static_cast<int>(kept.size()));
  for (int r = 0; r < static_cast<int>(kept.size()); ++r)
    if (FGrid.RowHeights(r) != kept[r]) FGrid.SetRowHeights(r, kept[r]);
}

void TGridHiding::MoveRowsIn(const std::vector<int>& SortedFinalRows, const std::vector<TGridItem*>& Records) {
  if (SortedFinalRows.empty()) return;
  const std::vector<int> old = Heights();
  std::vector<int> heights;
  heights.reserve(old.size() + SortedFinalRows.size());
  for (std::size_t o = 0, next = 0; o < old.size() || next < SortedFinalRows.size();) {
    if (next < SortedFinalRows.size() &&
        (static_cast<int>(heights.size()) == SortedFinalRows[next] || o >= old.size())) {
      heights.push_back(Records[next++]->Height());
    } else {
      heights.push_back(old[o++]);
    }
  }
  // A row coming back inside a merged area would cut it: such areas are split first.
  for (std::size_t i = 0; i < SortedFinalRows.size(); ++i)
    FGrid.SplitAcrossRowBoundary(SortedFinalRows[i] - static_cast<int>(i));
  std::vector<detail::TRowCells> rows(Records.size());
  for (std::size_t i = 0; i < Records.size(); ++i) rows[i] = std::move(Records[i]->Row());
  FGrid.CellStore().ReturnStoreRows(SortedFinalRows, rows);
  FGrid.SetRowCount(static_cast<int>(heights.size()));
  for (int r = 0; r < static_cast<int>(heights.size()); ++r)
    if (FGrid.RowHeights(r) != heights[r]) FGrid.SetRowHeights(r, heights[r]);
}

// ---- hiding rows ---------------------------------------------------------------------------------------

void TGridHiding::HideRows(int FromRow, int ToRow) {
  if (FromRow > ToRow || FromRow < 0) return;
  const int fromDispl = FromRow - FRowIndex.CountBelow(FromRow);
  std::vector<int> rows;
  std::vector<TGridItem*> records;
  for (int r = FromRow; r <= ToRow; ++r) {
    if (FRowIndex.IsHidden(r)) continue;
    const int d = fromDispl + static_cast<int>(rows.size());
    if (d >= FGrid.RowCount()) break;
    rows.push_back(d);
    records.push_back(NewRecord(d, r, 0, false, false));
    FRowIndex.Add(r);
  }
  MoveRowsOut(rows, records);
}

void TGridHiding::HideRowsEx(int FromRow, int ToRow) {
  if (FromRow < 0 || FRowIndex.IsHidden(FromRow)) return;
  const int fromDispl = FromRow - FRowIndex.CountBelow(FromRow);
  std::vector<int> rows;
  std::vector<TGridItem*> records;
  for (int r = FromRow; r <= ToRow && fromDispl + (r - FromRow) < FGrid.RowCount(); ++r) {
    rows.push_back(fromDispl + (r - FromRow));
    records.push_back(NewRecord(rows.back(), r, 0, false, true));
    FRowIndex.Add(r);
  }
  MoveRowsOut(rows, records);
}

bool TGridHiding::HideRowList(const TIntList& RowList) {
  std::vector<int> rows(RowList.begin(), RowList.end());
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (rows[i] < 0 || rows[i] >= FGrid.RowCount() || (i > 0 && rows[i] <= rows[i - 1])) return false;
  // The records hold real indexes, as those of hidden ranges do: inserting or removing rows renumbers them
  // alike, and the level comes back exactly where its rows stand among all the others then.
  std::vector<int> real(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) real[i] = FRowIndex.DisplToReal(rows[i]);
  std::vector<TGridItem*> records(rows.size());
  FGridItems.BeginUpdate();
  for (std::size_t i = 0; i < rows.size(); ++i) records[i] = NewRecord(rows[i], real[i], FFilterLevel, true, true);
  FGridItems.EndUpdate();
  FRowIndex.AddSorted(real);
  ++FFilterLevel;
  MoveRowsOut(rows, records);
  return true;
}

// ---- showing rows --------------------------------------------------------------------------------------

void TGridHiding::ShowRecords(std::vector<int> Positions) {
  if (Positions.empty()) return;
  // In ascending real order; one record per index (the collection's first one).
  std::stable_sort(Positions.begin(), Positions.end(),
                   [this](int a, int b) { return Record(a).Idx() < Record(b).Idx(); });
  Positions.erase(std::unique(Positions.begin(), Positions.end(),
                              [this](int a, int b) { return Record(a).Idx() == Record(b).Idx(); }),
                  Positions.end());
  // Each row comes back at its real index minus the rows still hidden below it.
  std::vector<int> idxs(Positions.size()), displ(Positions.size());
  std::vector<TGridItem*> records(Positions.size());
  for (std::size_t i = 0; i < Positions.size(); ++i) {
    records[i] = &Record(Positions[i]);
    idxs[i] = records[i]->Idx();
    displ[i] = idxs[i] - (FRowIndex.CountBelow(idxs[i]) - static_cast<int>(i));
  }
  MoveRowsIn(displ, records);
  FRowIndex.RemoveSorted(idxs);
  DeleteRecords(std::move(Positions));
}

void TGridHiding::UnHideRows(int FromRow, int ToRow) {
  if (!FRowIndex.IsHidden(FromRow)) return;
  std::vector<int> positions;
  for (int i = 0; i < FGridItems.Count(); ++i)
    if (Record(i).Idx() >= FromRow && Record(i).Idx() <= ToRow) positions.push_back(i);
  ShowRecords(std::move(positions));
}

void TGridHiding::UnHideRowList() {
  const int level = FFilterLevel - 1;
  std::vector<int> positions;
  for (int i = 0; i < FGridItems.Count(); ++i)
    if (Record(i).FromRowList && Record(i).Level == level) positions.push_back(i);
  ShowRecords(std::move(positions));
}

void TGridHiding::RenumberRecords(const std::function<int(int)>& NewIdx) {
  std::vector<int> idxs(std::size_t(FGridItems.Count()));
  for (int i = 0; i < FGridItems.Count(); ++i) {
    TGridItem& rec = Record(i);
    rec.SetIdx(NewIdx(rec.Idx()));
    idxs[std::size_t(i)] = rec.Idx();
  }
  FRowIndex.Assign(std::move(idxs));
}

void TGridHiding::RecordColumnsInserted(int ACol, int Count) {
  for (int i = 0; i < FGridItems.Count(); ++i) {
    detail::TRowCells& cells = Record(i).Row();
    if (ACol < 0 || ACol > static_cast<int>(cells.size()) || Count <= 0) continue;
    cells.insert(cells.begin() + ACol, std::size_t(Count), detail::TCellSlot());
  }
}

void TGridHiding::RecordColumnsRemoved(int ACol, int Count) {
  for (int i = 0; i < FGridItems.Count(); ++i) {
    detail::TRowCells& cells = Record(i).Row();
    if (ACol < 0 || ACol >= static_cast<int>(cells.size()) || Count <= 0) continue;
    const auto first = cells.begin() + ACol, last = cells.begin() + std::min<int>(ACol + Count, int(cells.size()));
    for (auto c = first; c != last; ++c) delete std::exchange(c->Props, nullptr);
    cells.erase(first, last);
  }
}

void TGridHiding::RecordColumnMoved(int FromCol, int ToCol) {
  for (int i = 0; i < FGridItems.Count(); ++i) {
    detail::TRowCells& cells = Record(i).Row();
    const int n = static_cast<int>(cells.size());
    if (FromCol < 0 || ToCol < 0 || FromCol >= n || ToCol >= n || FromCol == ToCol) continue;
    if (FromCol < ToCol)
      std::rotate(cells.begin() + FromCol, cells.begin() + FromCol + 1, cells.begin() + ToCol + 1);
    else
      std::rotate(cells.begin() + ToCol, cells.begin() + FromCol, cells.begin() + FromCol + 1);
  }
}

void TGridHiding::RecordColumnsSwapped(int ACol1, int ACol2) {
  for (int i = 0; i < FGridItems.Count(); ++i) {
    detail::TRowCells& cells = Record(i).Row();
    const int n = static_cast<int>(cells.size());
    if (ACol1 >= 0 && ACol2 >= 0 && ACol1 < n && ACol2 < n) std::swap(cells[std::size_t(ACol1)], cells[std::size_t(ACol2)]);
  }
}

void TGridHiding::UnHideRowsAll() {
  while (FGridItems.Count() > 0) {
    // The run of records with consecutive indexes from the first one.
    const int first = Record(0).Idx();
    int last = first;
    for (int i = 1; i < FGridItems.Count(); ++i) {
      const int idx = Record(i).Idx();
      if (idx != last + 1) break;
      last = idx;
    }
    UnHideRows(first, last);
  }
}

}  // namespace grid
