// The string grid's column layout kept between runs: widths and order in the store ColumnSize names, and the
// column states as one text. The grid's side of the data services' layout routines.
#include "grid/data/column_layout.h"
#include "grid/extgrid.h"

namespace grid {

namespace {

class TGridLayoutHost : public TLayoutHost {
 public:
  explicit TGridLayoutHost(TExtStringGrid& Grid) : G(Grid) {}
  int ColCount() const override { return G.ColCount(); }
  int AllColCount() const override { return G.AllColCount(); }
  void SetColCount(int Value) override { G.SetColCount(Value); }
  int ColWidth(int ACol) const override { return G.ColWidths(ACol); }
  void SetColWidth(int ACol, int Value) override { G.SetColWidths(ACol, Value); }
  int DefaultColWidth() const override { return G.DefaultColWidth(); }
  void SetDefaultColWidth(int Value) override { G.SetDefaultColWidth(Value); }
  bool IsHiddenColumn(int ACol) const override { return G.IsHiddenColumn(ACol); }
  void HideColumn(int ACol) override { G.HideColumn(ACol); }
  void UnHideColumnsAll() override { G.UnHideColumnsAll(); }
  std::vector<int> ColumnOrder() const override {
    const TIntList& l = *G.ColumnOrderList();
    return std::vector<int>(l.begin(), l.end());
  }
  void SetColumnOrderList(const std::vector<int>& Order) override {
    TIntList& l = *G.ColumnOrderList();
    l.Clear();
    for (std::size_t i = 0; i < Order.size(); ++i) l.Insert(static_cast<int>(i), Order[i]);
  }
  void ResetColumnOrder() override { G.ResetColumnOrder(); }
  bool Stretch() const override { return G.ColumnSize()->Stretch(); }
  void SetStretch(bool Value) override { G.ColumnSize()->SetStretch(Value); }
  int StretchColumn() const override { return G.ColumnSize()->StretchColumn; }

 private:
  TExtStringGrid& G;
};

bool HasStore(TExtStringGrid& G) {
  const TColumnSize& s = *G.ColumnSize();
  return !s.Key.isEmpty() && !s.Section.isEmpty() && !G.ComponentState().Contains(plat::csDesigning);
}

TSettingsLocation Location(TExtStringGrid& G) {
  return G.ColumnSize()->Location == clIniFile ? slIniFile : slRegistry;
}

}  // namespace

QString TExtStringGrid::ColumnStatesToString() {
  TGridLayoutHost host(*this);
  return ColumnStatesText(ReadColumnStates(host));
}

void TExtStringGrid::StringToColumnStates(const QString& Value) {
  TGridLayoutHost host(*this);
  ApplyColumnStates(host, Value);
}

void TExtStringGrid::SaveColSizes() {
  if (!HasStore(*this)) return;
  TGridLayoutHost host(*this);
  TSettingsStore store(Location(*this), FColumnSize.Key);
  grid::SaveColSizes(host, store, FColumnSize.Section);
}

void TExtStringGrid::LoadColSizes() {
  if (!HasStore(*this)) return;
  TGridLayoutHost host(*this);
  const TSettingsStore store(Location(*this), FColumnSize.Key);
  grid::LoadColSizes(host, store, FColumnSize.Section);
}

void TExtStringGrid::SaveColPositions() {
  if (!HasStore(*this)) return;
  TGridLayoutHost host(*this);
  TSettingsStore store(Location(*this), FColumnSize.Key);
  grid::SaveColPositions(host, store, FColumnSize.Section);
}

void TExtStringGrid::LoadColPositions() {
  if (!HasStore(*this)) return;
  TGridLayoutHost host(*this);
  const TSettingsStore store(Location(*this), FColumnSize.Key);
  grid::LoadColPositions(host, store, FColumnSize.Section);
}

}  // namespace grid
