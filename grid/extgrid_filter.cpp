// The string grid's filtering: the members forward to TGridFilter (grid/data/filter.h), which sees the grid
// through the adapter below; the filter drop-down's two choice handlers build conditions from a choice.
#include "controls/filter_match.h"
#include "controls/text_utils.h"
#include "grid/data/filter.h"
#include "grid/extgrid.h"

namespace grid {

class TGridFilterPart : public TGridFilterHost {
 public:
  explicit TGridFilterPart(TExtStringGrid& Grid) : G(Grid) {}
  TGridFilter Engine{*this};

  TFilter& Filter() override { return *G.Filter(); }
  int RowCount() const override { return G.RowCount(); }
  int AllColCount() const override { return G.AllColCount(); }
  int FixedRows() const override { return G.FixedRows(); }
  void SetFixedRows(int Value) override { G.SetFixedRows(Value); }
  int FixedFooters() const override { return G.FixedFooters(); }
  // The calculated text of the string grid is its displayed text.
  QString FilterCellText(int ACol, int ARow, TFilterCells Data) override {
    switch (Data) {
      case fcNormal: return G.GridCells(ACol, ARow);
      case fcStripHTML: return G.StrippedCells(ACol, ARow);
      default: return G.Cells(ACol, ARow);
    }
  }
  QString DecodeWideText(const QString& Text) override { return controls::DecodeWideText(Text); }
  bool MatchExpression(const QString& Expression, const QString& Value, bool CaseSensitive) override {
    return controls::MatchFilter(Expression, Value, CaseSensitive);
  }
  bool RowMatches(int ARow) override { return G.MatchesFilter(ARow); }
  bool CustomFilter(int ARow, bool& AcceptRow) override {
    if (!G.OnCustomFilter) return false;
    G.OnCustomFilter(&G, ARow, AcceptRow);
    return true;
  }
  bool FilterNormalCellsOnly() const override { return G.FilterNormalCellsOnly; }
  bool IsNodeOrSummaryRow(int ARow) override { return G.IsNode(ARow) || G.IsSummary(ARow); }
  bool HasFilterProgress() const override { return static_cast<bool>(G.OnFilterProgress); }
  void FilterProgress(int Percent) override { G.OnFilterProgress(&G, Percent); }

  void HideRowList(const std::vector<int>& Rows) override {
    TIntList list(-1, -1);
    for (int r : Rows) list.Add(r);
    G.HideRowList(list);
  }
  void UnHideRowList() override { G.UnHideRowList(); }
  int FilterLevel() const override { return G.Hiding().FilterLevel(); }
  void SetFilterLevel(int Value) override { G.Hiding().SetFilterLevel(Value); }
  void HideRealRow(int ARow) override { G.HideRow(ARow); }
  int RealRowIndex(int ARow) const override { return G.RealRowIndex(ARow); }

  void BeginUpdate() override { G.BeginUpdate(); }
  void EndUpdate() override { G.EndUpdate(); }
  void KeepCurrentCellInside() override {
    if (G.Row() < G.RowCount() && G.Col() < G.ColCount()) return;
    if (G.FixedCols() < G.ColCount()) G.SetCol(G.FixedCols());
    if (G.FixedRows() < G.RowCount()) G.SetRow(G.FixedRows());
  }
  void RestoreHiddenSelection() override {
    if (G.SelectionHidden()) G.UnHideSelection();
  }
  void ScrollToFirstRow() override {
    if (G.FixedRows() < G.RowCount()) G.SetTopRow(G.FixedRows());
  }
  void RecalcFooters() override { G.CalcFooter(-1); }
  void SetFixedRowAlways() override { G.SetFixedRowAlways(true); }

 private:
  TExtStringGrid& G;
};

void TExtStringGrid::TFilterPartDelete::operator()(TGridFilterPart* P) const { delete P; }

TGridFilterPart& TExtStringGrid::FilterPart() {
  if (!FFilterPart) FFilterPart.reset(new TGridFilterPart(*this));
  return *FFilterPart;
}

bool TExtStringGrid::FilterActive() const { return FFilterPart && FFilterPart->Engine.Active(); }
void TExtStringGrid::SetFilterActive(bool Value) { FilterPart().Engine.SetActive(Value); }
bool TExtStringGrid::FilterActive(int RCol) {
  const TFilterData* f = FFilter.ColumnFilter(RCol);
  return FilterActive() && f && !f->Condition.isEmpty();
}
bool TExtStringGrid::MatchesFilter(int ARow) { return FilterPart().Engine.MatchesFilter(ARow); }
void TExtStringGrid::ApplyFilter() { FilterPart().Engine.ApplyFilter(); }
void TExtStringGrid::FilterRow(int ARow) { FilterPart().Engine.FilterRow(ARow); }
bool TExtStringGrid::RemoveLastFilter() { return FilterPart().Engine.RemoveLastFilter(); }
void TExtStringGrid::RemoveAllFilters() { FilterPart().Engine.RemoveAllFilters(); }
void TExtStringGrid::NarrowDown(const QString& ACondition, int AColumn) {
  FilterPart().Engine.NarrowDown(ACondition, AColumn);
}
int TExtStringGrid::FilterDropDownColumn() const { return FHeaderClicks.FilterCol(); }

// A choice in the filter drop-down of column RCol (real): ItemIndex is the chosen entry of the single-choice
// list, -1 a changed check of the check list. The value list is built afresh, so an entry that is gone since
// the list opened changes nothing.
void TExtStringGrid::ApplyColumnFilter(int RCol, int ItemIndex) {
  if (RCol < 0 || RCol >= AllColCount()) return;
  if (ItemIndex >= 0) {
    BuildColumnFilterList(RCol);
    if (ItemIndex >= FFilterList.Count()) return;
    const QString entry = FFilterList[ItemIndex];
    const QString name = TGridFilter::EntryName(entry);
    if (AutoFilterUpdate) SetFilterActive(false);
    QString condition = TGridFilter::EntryCondition(entry, FilterDropDownClear);
    if (OnFilterSelect) OnFilterSelect(this, RCol, ItemIndex, name, condition);
    if (!condition.isEmpty())
      FFilter.GetColFilter(RCol)->Condition = condition;
    else
      FFilter.RemoveColumnFilter(RCol);
    if (AutoFilterUpdate) {
      SetFixedRowAlways(true);
      SetFilterActive(true);
      if (RowCount() != FixedRows() && RowCount() != 1) SetRow(FixedRows());
      DoFilterDone();
    }
    InvalidateCell(DisplColIndex(RCol), 0);
    return;
  }
  TDropCheckList* list = FHeaderClicks.FilterCheckList();
  if (!list) return;
  BuildColumnFilterList(RCol);
  if (AutoFilterUpdate) SetFilterActive(false);
  FFilter.Clear();
  bool first = true;
  for (int i = 0; i < list->Items()->Count() && i < FFilterList.Count(); ++i) {
    if (!list->Checked(i)) continue;
    const QString entry = FFilterList[i];
    QString condition = TGridFilter::EntryCondition(entry, FilterDropDownClear);
    if (OnFilterCheck) OnFilterCheck(this, RCol, i, TGridFilter::EntryName(entry), condition, list);
    TFilterData* f = FFilter.Add();
    f->Condition = condition;
    f->Column = RCol;
    f->Operation = first ? foNONE : foOR;
    first = false;
  }
  SetFilterActive(true);
  list->Invalidate();
  InvalidateCell(DisplColIndex(RCol), 0);
}

bool TExtStringGrid::ColumnFilterHas(int RCol, const QString& Condition) {
  for (int i = 0; i < FFilter.Count(); ++i)
    if (FFilter.Items(i)->Column == RCol && FFilter.Items(i)->Condition == Condition) return true;
  return false;
}

}  // namespace grid
