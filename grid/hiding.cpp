#include "grid/hiding.h"

#include <algorithm>

namespace grid {

TGridHiding::TGridHiding(TBaseGrid& Grid) : FGrid(Grid) {}

TGridHiding::~TGridHiding() {
  for (int i = 0; i < FGridItems.Count(); ++i) {
    plat::TStrings& items = *static_cast<TGridItem*>(FGridItems.Items(i))->Items();
    for (int c = 0; c < items.Count(); ++c) delete items.Objects(c);
  }
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
      if (static_cast<TGridItem*>(FGridItems.Items(i))->Idx() > Idx) {
        at = i;
        break;
      }
  auto* rec = static_cast<TGridItem*>(FGridItems.Insert(at));
  rec->SetIdx(Idx);
  rec->SetHeight(FGrid.RowHeights(DisplRow));
  rec->Level = Level;
  rec->FromRowList = FromList;
  // The record takes the cells and their properties; the row is left empty.
  for (int c = 0; c < TotalCols(); ++c) {
    rec->Items()->AddObject(FGrid.GetGridCell(c, DisplRow), FGrid.GetGridObject(c, DisplRow));
    FGrid.SetGridObject(c, DisplRow, nullptr);
    FGrid.SetGridCell(c, DisplRow, QString());
  }
  FRowIndex.Add(Idx);
  return rec;
}

void TGridHiding::RestoreRow(int DisplRow, TGridItem& Record) {
  plat::TStrings& items = *Record.Items();
  for (int c = 0; c < items.Count(); ++c) {
    FGrid.SetGridCell(c, DisplRow, items.Strings(c));
    auto* props = dynamic_cast<TCellProperties*>(items.Objects(c));
    FGrid.SetGridObject(c, DisplRow, props);
    if (props) {
      props->OwnerCol = c;
      props->OwnerRow = DisplRow;
    }
    items.SetObjects(c, nullptr);
  }
  FGrid.SetRowHeights(DisplRow, Record.Height());
}

void TGridHiding::DeleteRecord(TGridItem* Record) {
  FRowIndex.Remove(Record->Idx());
  for (int c = 0; c < Record->Items()->Count(); ++c) delete Record->Items()->Objects(c);
  FGridItems.Delete(Record->Index());
}

void TGridHiding::SplitRecordedAreas() {
  for (int i = 0; i < FGridItems.Count(); ++i) {
    plat::TStrings& items = *static_cast<TGridItem*>(FGridItems.Items(i))->Items();
    for (int c = 0; c < items.Count(); ++c)
      if (auto* props = dynamic_cast<TCellProperties*>(items.Objects(c))) {
        props->IsBaseCell = true;
        props->CellSpanX = -1;
        props->CellSpanY = -1;
      }
  }
}

std::vector<int> TGridHiding::Heights() const {
  std::vector<int> h(FGrid.RowCount());
  for (int r = 0; r < FGrid.RowCount(); ++r) h[r] = FGrid.RowHeights(r);
  return h;
}

void TGridHiding::RemoveDisplayRows(const std::vector<int>& SortedRows) {
  if (SortedRows.empty()) return;
  std::vector<int> kept;
  const std::vector<int> old = Heights();
  for (int r = 0, next = 0; r < static_cast<int>(old.size()); ++r) {
    if (next < static_cast<int>(SortedRows.size()) && SortedRows[next] == r)
      ++next;
    else
      kept.push_back(old[r]);
  }
  FGrid.EraseStoreRows(SortedRows);
  FGrid.SetRowCount(static_cast<int>(kept.size()));
  for (int r = 0; r < static_cast<int>(kept.size()); ++r)
    if (FGrid.RowHeights(r) != kept[r]) FGrid.SetRowHeights(r, kept[r]);
}

void TGridHiding::InsertDisplayRows(const std::vector<int>& SortedFinalRows) {
  if (SortedFinalRows.empty()) return;
  const std::vector<int> old = Heights();
  std::vector<int> heights;
  for (std::size_t o = 0, next = 0; o < old.size() || next < SortedFinalRows.size();) {
    if (next < SortedFinalRows.size() && static_cast<int>(heights.size()) == SortedFinalRows[next]) {
      heights.push_back(FGrid.DefaultRowHeight());
      ++next;
    } else if (o < old.size()) {
      heights.push_back(old[o++]);
    } else {
      heights.push_back(FGrid.DefaultRowHeight());
      ++next;
    }
  }
  // A row coming back inside a merged area would cut it: such areas are split first.
  for (std::size_t i = 0; i < SortedFinalRows.size(); ++i)
    FGrid.SplitAcrossRowBoundary(SortedFinalRows[i] - static_cast<int>(i));
  FGrid.InsertEmptyStoreRows(SortedFinalRows);
  FGrid.SetRowCount(static_cast<int>(heights.size()));
  for (int r = 0; r < static_cast<int>(heights.size()); ++r)
    if (FGrid.RowHeights(r) != heights[r]) FGrid.SetRowHeights(r, heights[r]);
}

// ---- hiding rows ---------------------------------------------------------------------------------------

void TGridHiding::HideRows(int FromRow, int ToRow) {
  if (FromRow > ToRow || FromRow < 0) return;
  const int fromDispl = FromRow - FRowIndex.CountBelow(FromRow);
  std::vector<int> rows;
  for (int r = FromRow; r <= ToRow; ++r) {
    if (FRowIndex.IsHidden(r)) continue;
    const int d = fromDispl + static_cast<int>(rows.size());
    if (d >= FGrid.RowCount()) break;
    rows.push_back(d);
    NewRecord(d, r, 0, false, false);
  }
  RemoveDisplayRows(rows);
}

void TGridHiding::HideRowsEx(int FromRow, int ToRow) {
  if (FromRow < 0 || FRowIndex.IsHidden(FromRow)) return;
  const int fromDispl = FromRow - FRowIndex.CountBelow(FromRow);
  std::vector<int> rows;
  for (int r = FromRow; r <= ToRow && fromDispl + (r - FromRow) < FGrid.RowCount(); ++r) {
    rows.push_back(fromDispl + (r - FromRow));
    NewRecord(rows.back(), r, 0, false, true);
  }
  RemoveDisplayRows(rows);
}

bool TGridHiding::HideRowList(const TIntList& RowList) {
  std::vector<int> rows(RowList.begin(), RowList.end());
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (rows[i] < 0 || rows[i] >= FGrid.RowCount() || (i > 0 && rows[i] <= rows[i - 1])) return false;
  for (int e : rows) NewRecord(e, e, FFilterLevel, true, true);
  ++FFilterLevel;
  RemoveDisplayRows(rows);
  return true;
}

// ---- showing rows --------------------------------------------------------------------------------------

void TGridHiding::UnHideRows(int FromRow, int ToRow) {
  if (!FRowIndex.IsHidden(FromRow)) return;
  // One record per hidden row of the range, in ascending real order.
  std::vector<TGridItem*> records;
  for (int i = 0; i < FGridItems.Count(); ++i) {
    auto* rec = static_cast<TGridItem*>(FGridItems.Items(i));
    if (rec->Idx() < FromRow || rec->Idx() > ToRow) continue;
    if (std::none_of(records.begin(), records.end(), [&](TGridItem* r) { return r->Idx() == rec->Idx(); }))
      records.push_back(rec);
  }
  std::sort(records.begin(), records.end(), [](TGridItem* a, TGridItem* b) { return a->Idx() < b->Idx(); });
  // Each row comes back at its real index minus the rows still hidden below it.
  std::vector<int> positions;
  for (std::size_t i = 0; i < records.size(); ++i)
    positions.push_back(records[i]->Idx() - (FRowIndex.CountBelow(records[i]->Idx()) - static_cast<int>(i)));
  InsertDisplayRows(positions);
  for (std::size_t i = 0; i < records.size(); ++i) {
    RestoreRow(positions[i], *records[i]);
    DeleteRecord(records[i]);
  }
}

void TGridHiding::UnHideRowList() {
  const int level = FFilterLevel - 1;
  std::vector<TGridItem*> records;
  for (int i = 0; i < FGridItems.Count(); ++i) {
    auto* rec = static_cast<TGridItem*>(FGridItems.Items(i));
    if (rec->FromRowList && rec->Level == level) records.push_back(rec);
  }
  if (records.empty()) return;
  std::sort(records.begin(), records.end(), [](TGridItem* a, TGridItem* b) { return a->Idx() < b->Idx(); });
  // Each row goes back to the display position it had, within the grid as it will be.
  const int total = FGrid.RowCount() + static_cast<int>(records.size());
  std::vector<int> positions(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    const int lowest = i > 0 ? positions[i - 1] + 1 : 0;
    positions[i] = std::min(std::max(records[i]->Idx(), lowest), total - static_cast<int>(records.size() - i));
  }
  InsertDisplayRows(positions);
  for (std::size_t i = 0; i < records.size(); ++i) {
    RestoreRow(positions[i], *records[i]);
    DeleteRecord(records[i]);
  }
}

void TGridHiding::RenumberRecords(const std::function<int(int)>& NewIdx) {
  FRowIndex.Clear();
  for (int i = 0; i < FGridItems.Count(); ++i) {
    auto* rec = static_cast<TGridItem*>(FGridItems.Items(i));
    rec->SetIdx(NewIdx(rec->Idx()));
    FRowIndex.Add(rec->Idx());
  }
}

void TGridHiding::RecordColumnsInserted(int ACol, int Count) {
  for (int i = 0; i < FGridItems.Count(); ++i) {
    plat::TStrings& items = *static_cast<TGridItem*>(FGridItems.Items(i))->Items();
    if (ACol > items.Count()) continue;
    for (int k = 0; k < Count; ++k) items.Insert(ACol, QString());
  }
}

void TGridHiding::RecordColumnsRemoved(int ACol, int Count) {
  for (int i = 0; i < FGridItems.Count(); ++i) {
    plat::TStrings& items = *static_cast<TGridItem*>(FGridItems.Items(i))->Items();
    for (int k = 0; k < Count && ACol < items.Count(); ++k) {
      delete items.Objects(ACol);
      items.Delete(ACol);
    }
  }
}

void TGridHiding::RecordColumnMoved(int FromCol, int ToCol) {
  for (int i = 0; i < FGridItems.Count(); ++i) {
    plat::TStrings& items = *static_cast<TGridItem*>(FGridItems.Items(i))->Items();
    if (FromCol < items.Count() && ToCol < items.Count()) items.Move(FromCol, ToCol);
  }
}

void TGridHiding::RecordColumnsSwapped(int ACol1, int ACol2) {
  for (int i = 0; i < FGridItems.Count(); ++i) {
    plat::TStrings& items = *static_cast<TGridItem*>(FGridItems.Items(i))->Items();
    if (ACol1 < items.Count() && ACol2 < items.Count()) items.Exchange(ACol1, ACol2);
  }
}

void TGridHiding::UnHideRowsAll() {
  while (FGridItems.Count() > 0) {
    // The run of records with consecutive indexes from the first one.
    const int first = static_cast<TGridItem*>(FGridItems.Items(0))->Idx();
    int last = first;
    for (int i = 1; i < FGridItems.Count(); ++i) {
      const int idx = static_cast<TGridItem*>(FGridItems.Items(i))->Idx();
      if (idx != last + 1) break;
      last = idx;
    }
    UnHideRows(first, last);
  }
}

}  // namespace grid
