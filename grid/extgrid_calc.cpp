// The string grid's column and row statistics (the data services' calculations over the grid's typed cells)
// and its selection queries.
#include "grid/data/grid_calc.h"
#include "grid/extgrid.h"

namespace grid {

namespace {

class TGridCalcHost : public TCalcHost {
 public:
  explicit TGridCalcHost(TExtStringGrid& Grid) : G(Grid) {}
  int RowCount() const override { return G.RowCount(); }
  int FixedRows() const override { return G.FixedRows(); }
  int FixedFooters() const override { return G.FixedFooters(); }
  bool FloatingFooterVisible() const override { return G.FloatingFooter()->Visible(); }
  int NumHiddenRows() const override { return G.NumHiddenRows(); }
  double Floats(int ACol, int ARow) override { return G.Floats(ACol, ARow); }
  double AllFloats(int ACol, int ARealRow) override { return G.AllFloats(ACol, ARealRow); }
  QString Cells(int ACol, int ARow) override { return G.Cells(ACol, ARow); }
  QString AllCells(int ACol, int ARealRow) override { return G.AllCells(ACol, ARealRow); }
  int DisplRowIndex(int ARealRow) const override { return G.DisplRowIndex(ARealRow); }
  bool IsHiddenRow(int ARealRow) const override { return G.IsHiddenRow(ARealRow); }
  bool IsNode(int ARow) override { return G.IsNode(ARow); }
  bool IsSummary(int ARow) override { return G.IsSummary(ARow); }
  int GroupColumn() const override { return G.GroupColumn(); }
  bool IsBaseCell(int ACol, int ARow) override { return G.IsBaseCell(ACol, ARow); }
  void ExportNotification(TCalcNotice Notice, int ARow) override {
    static constexpr TGridExportState kStates[] = {esExportStart, esExportNextRow, esExportDone};
    G.ExportNotification(kStates[Notice], ARow);
  }
  bool ColumnCalcEvent(int ACol, int FromRow, int ToRow, double& Res) override {
    if (!G.OnColumnCalc) return false;
    G.OnColumnCalc(&G, ACol, FromRow, ToRow, Res);
    return true;
  }
  bool GroupCalcEvent(int ACol, int FromRow, int ToRow, double& Res) override {
    if (!G.OnGroupCalc) return false;
    G.OnGroupCalc(&G, ACol, FromRow, ToRow, Res);
    return true;
  }

 private:
  TExtStringGrid& G;
};

}  // namespace

#define GRID_CALC(Name, A, B, C) \
  double TExtStringGrid::Name(int A, int B, int C) { \
    TGridCalcHost host(*this); \
    return TGridCalc(host).Name(A, B, C); \
  }
GRID_CALC(ColumnSum, ACol, FromRow, ToRow)
GRID_CALC(ColumnAvg, ACol, FromRow, ToRow)
GRID_CALC(ColumnMin, ACol, FromRow, ToRow)
GRID_CALC(ColumnMax, ACol, FromRow, ToRow)
GRID_CALC(ColumnStdDev, ACol, FromRow, ToRow)
GRID_CALC(ColumnDistinct, ACol, FromRow, ToRow)
GRID_CALC(ColumnCustomCalc, ACol, FromRow, ToRow)
GRID_CALC(GroupCalcByEvent, ACol, FromRow, ToRow)
GRID_CALC(RowSum, ARow, FromCol, ToCol)
GRID_CALC(RowAvg, ARow, FromCol, ToCol)
GRID_CALC(RowMin, ARow, FromCol, ToCol)
GRID_CALC(RowMax, ARow, FromCol, ToCol)
#undef GRID_CALC

double TExtStringGrid::ColumnCalc(int ACol, TColumnCalcType Calc) {
  const int hidden = FFloatingFooter.CalculateHiddenRows ? NumHiddenRows() : 0;
  // The footer row is the last row; with hidden rows counted the range is one of real rows.
  const TCalcRange range{FixedRows(), RowCount() - 2 + hidden, hidden > 0};
  TGridCalcHost host(*this);
  TGridCalc calc(host);
  switch (Calc) {
    case acSUM: return calc.Sum(ACol, range);
    case acAVG: return calc.Avg(ACol, range);
    case acMIN: return range.Rows() > 0 ? calc.Extreme(ACol, range, false) : 0;
    case acMAX: return range.Rows() > 0 ? calc.Extreme(ACol, range, true) : 0;
    case acSTDDEV: return calc.StdDev(ACol, range);
    case acDISTINCT: return calc.Distinct(ACol, range);
    case acCOUNT: return RowCount() + hidden - FixedRows() - 1;
    default: return 0;
  }
}

void TExtStringGrid::SelectCells(int FromCol, int FromRow, int ToCol, int ToRow) {
  SetSelection(plat::TGridRect{FromCol, FromRow, ToCol, ToRow});
}

QString TExtStringGrid::SelectedText() {
  plat::TGridRect sel = Selection();
  if (Options().Contains(plat::goRowSelect) && DragDropSettings()->OleEntireRows) sel.Left = 0, sel.Right = ColCount() - 1;
  std::vector<int> rows;
  if (FMouseActions.DisjunctRowSelect()) {
    const bool persistent = FMouseActions.RowSelectPersistent;
    for (int r = FixedRows(); r < RowCount(); ++r)
      if (GetRowSelect(persistent ? RealRowIndex(r) : r)) rows.push_back(r);
  } else {
    for (int r = sel.Top; r <= sel.Bottom; ++r) rows.push_back(r);
  }
  QString out;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (i > 0) out += QStringLiteral("\r\n");
    for (int c = sel.Left; c <= sel.Right; ++c) {
      if (c > sel.Left) out += u'\t';
      out += Cells(RealColIndex(c), rows[i]);
    }
  }
  return out;
}

bool TExtStringGrid::IsSelected(int ACol, int ARow) {
  if (ARow < FixedRows() || ACol < FixedCols()) return false;
  if (FMouseActions.DisjunctCellSelect()) return SelectedCells(ACol, ARow);
  if (FMouseActions.DisjunctRowSelect())
    return GetRowSelect(FMouseActions.RowSelectPersistent ? RealRowIndex(ARow) : ARow);
  if (FMouseActions.DisjunctColSelect()) return GetColSelect(ACol);
  const plat::TGridRect s = Selection();
  return ACol >= s.Left && ACol <= s.Right && ARow >= s.Top && ARow <= s.Bottom;
}

// The floating footer's column calculations written into the footer row.
void TExtStringGrid::CalcFooterColumns(int ACol) {
  const TFloatingFooter& f = FFloatingFooter;
  if (!f.Visible() || f.FooterStyle() != fsFixedLastRow || !f.EnableCalculation) return;
  const int row = RowCount() - 1;
  if (row < FixedRows()) return;
  const int first = ACol < 0 ? 0 : ACol, last = ACol < 0 ? AllColCount() - 1 : ACol;
  for (int c = first; c <= last; ++c) {
    if (!HasCellProperties(c, row)) continue;
    const TColumnCalcType calc = GetGridObject(c, row)->CalcType;
    switch (calc) {
      case acNONE:
      case acSPREAD: break;
      case acCOUNT: SetInts(c, row, static_cast<int>(ColumnCalc(c, calc))); break;
      case acCUSTOM: {
        QString v;
        const int hidden = f.CalculateHiddenRows ? NumHiddenRows() : 0;
        if (OnFooterCalc)
          OnFooterCalc(this, c, row + hidden, v);
        else if (f.OnCalcFooter)
          f.OnCalcFooter(this, c, row + hidden, v);
        SetCells(c, row, v);
        break;
      }
      default: SetFloats(c, row, ColumnCalc(c, calc)); break;
    }
  }
  if (FooterPanel()) FooterPanel()->Invalidate();
}

}  // namespace grid
