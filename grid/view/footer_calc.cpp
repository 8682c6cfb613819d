// The floating footer's column calculations written into the footer row; the statistics themselves are the
// grid's calculations (extgrid_calc.cpp).
#include "grid/extgrid.h"

namespace grid {

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
