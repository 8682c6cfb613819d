#pragma once
// A test grid for the row and column operations: the cell store with counts, row heights and a small
// hidden-row store of its own (records holding a row's texts and properties under its real index), so the
// operations' renumbering and the ownership of cell objects in hidden rows can be checked without a window.

#include <QString>

#include <algorithm>
#include <vector>

#include "grid/model/cell_objects.h"
#include "grid/model/hidden_axes.h"
#include "grid/model/row_col_ops.h"
#include "grid/model/tests/testgrid.h"

namespace grid::testing {

// Counts live instances, to see leaks and double frees of objects handed to cells.
class TCountedObject : public plat::TObject {
 public:
  TCountedObject() { ++Live; }
  ~TCountedObject() override { --Live; }
  static inline int Live = 0;
};

class TOpsGrid : public TTestGrid, public TRowColHost, public TCellObjectsHost {
 public:
  struct Record {
    int Idx = 0;
    int Height = 0;
    std::vector<QString> Texts;
    std::vector<TCellProperties*> Props;
  };

  TOpsGrid(int cols, int rows) : TTestGrid(cols, rows), Heights(rows, kDefaultHeight) {}
  ~TOpsGrid() override {
    for (Record& rec : Hidden)
      for (TCellProperties* p : rec.Props) delete p;
  }

  static constexpr int kDefaultHeight = 20;

  // ---- TRowColHost
  void SetRowCount(int Value) override { SetCounts(ColCount(), Value); }
  void SetColCount(int Value) override { SetCounts(Value, RowCount()); }
  void RowsInserted(int ARow, int Count) override { Heights.insert(Heights.begin() + ARow, Count, kDefaultHeight); }
  void RowsRemoved(int ARow, int Count) override {
    Heights.erase(Heights.begin() + ARow, Heights.begin() + ARow + Count);
  }
  void RowsMoved(int From, int Count, int To) override {
    const auto at = [&](int i) { return Heights.begin() + i; };
    if (From < To)
      std::rotate(at(From), at(From + Count), at(To + Count));
    else
      std::rotate(at(To), at(From), at(From + Count));
  }
  void RowsSwapped(int A, int B) override { std::swap(Heights[A], Heights[B]); }
  int DisplToRealRow(int ARow) const override { return Index.DisplToReal(ARow); }
  bool HasHiddenRows() const override { return !Hidden.empty(); }
  void RenumberHiddenRows(const std::function<int(int)>& NewIdx) override {
    Index.Clear();
    for (Record& rec : Hidden) Index.Add(rec.Idx = NewIdx(rec.Idx));
  }
  void CellsChanged(int, int, int, int) override { ++Changes; }
  TControlPlaces* ControlPlaces() override { return &Controls; }
  void ControlsDropped(const std::vector<plat::TControl*>& Gone) override {
    Dropped.insert(Dropped.end(), Gone.begin(), Gone.end());
  }
  void ControlsMoved() override { ++ControlMoves; }

  // ---- TCellObjectsHost
  bool HasGridImages() const override { return Images; }
  bool RowCheckColumn() const override { return RowChecks; }
  bool RowSelected(int ARow) const override { return ARow < static_cast<int>(Selected.size()) && Selected[ARow]; }
  void SetRowSelected(int ARow, bool Value) override {
    if (ARow >= static_cast<int>(Selected.size())) Selected.resize(ARow + 1);
    Selected[ARow] = Value;
  }
  int RealRow(int ARow) const override { return Index.DisplToReal(ARow); }
  int DisplRow(int ARealRow) const override { return Index.RealToDispl(ARealRow); }
  bool HiddenCell(int ACol, int ARealRow, QString& Text, TCellGraphic*& Graphic) override {
    for (Record& rec : Hidden)
      if (rec.Idx == ARealRow) {
        Text = ACol < static_cast<int>(rec.Texts.size()) ? rec.Texts[ACol] : QString();
        const TCellProperties* p = ACol < static_cast<int>(rec.Props.size()) ? rec.Props[ACol] : nullptr;
        Graphic = dynamic_cast<TCellGraphic*>(GraphicOfProperties(p));
        return true;
      }
    return false;
  }
  int SelectedRowCount() const override { return static_cast<int>(std::count(Selected.begin(), Selected.end(), true)); }
  int FixedRows() const override { return Fixed; }
  bool Images = true;
  bool RowChecks = false;
  int Fixed = 0;
  std::vector<bool> Selected;

  // ---- hiding (display rows out into records and back), as the grid's hidden-row store does
  void HideRealRow(int Real) {
    if (Index.IsHidden(Real)) return;
    const int d = Index.RealToDispl(Real);
    if (d < 0 || d >= RowCount()) return;
    Record rec;
    rec.Idx = Real;
    rec.Height = Heights[d];
    for (int c = 0; c < TotalColCount(); ++c) {
      rec.Texts.push_back(GetGridCell(c, d));
      rec.Props.push_back(TakeCellProperties(c, d));
    }
    Hidden.push_back(std::move(rec));
    Index.Add(Real);
    EraseStoreRows({d});
    Heights.erase(Heights.begin() + d);
    SetRowCount(RowCount() - 1);
  }
  void UnHideAll() {
    std::sort(Hidden.begin(), Hidden.end(), [](const Record& a, const Record& b) { return a.Idx < b.Idx; });
    std::vector<Record> records = std::move(Hidden);
    Hidden.clear();
    Index.Clear();
    for (Record& rec : records) {
      // In ascending order every record before this one is back: its display row is its real index.
      const int d = std::min(rec.Idx, RowCount());
      // A row coming back inside a merged area would cut it: such areas are split first.
      SplitAcrossRowBoundary(d);
      InsertEmptyStoreRows({d});
      Heights.insert(Heights.begin() + d, rec.Height);
      SetRowCount(RowCount() + 1);
      for (int c = 0; c < static_cast<int>(rec.Texts.size()); ++c) {
        SetGridCell(c, d, rec.Texts[c]);
        if (TCellProperties* p = rec.Props[c]) {
          SetGridObject(c, d, p);
          p->OwnerCol = c;
          p->OwnerRow = d;
        }
      }
    }
  }

  // Attaches a stand-in control (never dereferenced) to a shown cell, as the grid's SetCellControls does.
  void AttachControl(int ACol, int ARow, plat::TControl* Control) {
    const int real = Index.DisplToReal(ARow);
    if (const int i = Controls.ControlIndex(ACol, real); i >= 0) Controls.RemoveControl(i);
    Controls.AddControl(ACol, real, Control);
    GetCellProperties(ACol, ARow)->Control = Control;
  }

  std::vector<int> Heights;
  TControlPlaces Controls;
  std::vector<plat::TControl*> Dropped;
  int ControlMoves = 0;
  std::vector<Record> Hidden;
  THiddenRowIndex Index;
  int Changes = 0;
};

}  // namespace grid::testing
