// The floating footer's column calculations: sums, averages, extremes, counts, distinct texts and the
// population standard deviation of the normal rows, written into the footer row.
#include <QSet>

#include <algorithm>
#include <cmath>
#include <limits>

#include "grid/extgrid.h"

namespace grid {

double TExtStringGrid::ColumnCalc(int ACol, TColumnCalcType Calc) {
  const TFloatingFooter& f = FFloatingFooter;
  const int hidden = f.CalculateHiddenRows ? NumHiddenRows() : 0;
  const int from = FixedRows(), to = RowCount() - 2 + hidden;
  // With hidden rows counted, the rows are read by their real index (hidden ones included).
  auto value = [&](int r) { return hidden > 0 ? AllFloats(ACol, r) : Floats(ACol, r); };
  auto text = [&](int r) { return hidden > 0 ? AllCells(ACol, r) : Cells(ACol, r); };
  const int n = std::max(0, to - from + 1);
  if (Calc == acDISTINCT) {
    QSet<QString> seen;
    for (int r = from; r <= to; ++r) seen.insert(text(r).toUpper());
    return seen.size();
  }
  double sum = 0, mn = std::numeric_limits<double>::max(), mx = std::numeric_limits<double>::lowest();
  for (int r = from; r <= to; ++r) {
    const double v = value(r);
    sum += v;
    mn = std::min(mn, v);
    mx = std::max(mx, v);
  }
  switch (Calc) {
    case acSUM: return sum;
    case acAVG: return n > 0 ? sum / n : 0;
    case acMIN: return n > 0 ? mn : 0;
    case acMAX: return n > 0 ? mx : 0;
    case acCOUNT: return RowCount() + hidden - FixedRows() - 1;
    case acSTDDEV: {
      if (n == 0) return 0;
      const double avg = sum / n;
      double sq = 0;
      for (int r = from; r <= to; ++r) sq += (value(r) - avg) * (value(r) - avg);
      return std::sqrt(sq / n);
    }
    default: return 0;
  }
}

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
  if (FFooterPanel) FFooterPanel->Invalidate();
}

}  // namespace grid
