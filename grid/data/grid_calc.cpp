#include "grid/data/grid_calc.h"

#include <QSet>

#include <algorithm>
#include <cmath>

#include "platform/rtl/exceptions.h"

namespace grid {

TCalcRange TGridCalc::ColumnRange(int FromRow, int ToRow) const {
  const int rows = FHost.RowCount();
  if (FromRow == -1 || ToRow == -1) return {FHost.FixedRows(), rows - FHost.FixedFooters() - 1, false};
  TCalcRange r{FromRow, ToRow, false};
  r.Real = FHost.FloatingFooterVisible() ? ToRow > rows - 1 : ToRow > rows;
  // The range ends at the last row there is: past it there are no cells to read.
  r.To = std::min(r.To, (r.Real ? rows + FHost.NumHiddenRows() : rows) - 1);
  return r;
}

double TGridCalc::Number(int ACol, int ARow, bool Real) {
  return Real ? FHost.AllFloats(ACol, ARow) : FHost.Floats(ACol, ARow);
}

bool TGridCalc::TryNumber(int ACol, int ARow, bool Real, double& Value) {
  try {
    Value = Number(ACol, ARow, Real);
    return true;
  } catch (const plat::Exception&) {
    return false;
  }
}

bool TGridCalc::Counts(int ACol, int ARow, bool Real) {
  // A hidden row has no node, summary or merge of its own while it is out of the grid.
  if (Real && FHost.IsHiddenRow(ARow)) return true;
  const int row = Real ? FHost.DisplRowIndex(ARow) : ARow;
  if (FHost.GroupColumn() != -1 && (FHost.IsNode(row) || FHost.IsSummary(row))) return false;
  return FHost.IsBaseCell(ACol, row);
}

double TGridCalc::Sum(int ACol, const TCalcRange& R) {
  double sum = 0, v = 0;
  FHost.ExportNotification(cnStart, R.From);
  for (int r = R.From; r <= R.To; ++r) {
    if (!Counts(ACol, r, R.Real)) continue;
    FHost.ExportNotification(cnNextRow, r);
    if (TryNumber(ACol, r, R.Real, v)) sum += v;
  }
  FHost.ExportNotification(cnDone, -1);
  return sum;
}

double TGridCalc::Avg(int ACol, const TCalcRange& R) {
  if (R.Rows() == 0) return 0;
  return Sum(ACol, R) / R.Rows();
}

double TGridCalc::Extreme(int ACol, const TCalcRange& R, bool Largest) {
  // The first row's number starts the search whatever it is; a text there is the caller's error.
  double best = Number(ACol, R.From, R.Real), v = 0;
  FHost.ExportNotification(cnStart, R.From);
  for (int r = R.From; r <= R.To; ++r) {
    if (!Counts(ACol, r, R.Real)) continue;
    FHost.ExportNotification(cnNextRow, r);
    if (TryNumber(ACol, r, R.Real, v) && (Largest ? v > best : v < best)) best = v;
  }
  FHost.ExportNotification(cnDone, -1);
  return best;
}

double TGridCalc::StdDev(int ACol, const TCalcRange& R) {
  // An empty range has no spread (not 0/0).
  if (R.Rows() == 0) return 0;
  const double avg = Avg(ACol, R);
  double squares = 0;
  FHost.ExportNotification(cnStart, R.From);
  for (int r = R.From; r <= R.To; ++r) {
    const double d = Number(ACol, r, R.Real) - avg;
    squares += d * d;
  }
  FHost.ExportNotification(cnDone, -1);
  return std::sqrt(squares / R.Rows());
}

double TGridCalc::Distinct(int ACol, const TCalcRange& R) {
  QSet<QString> seen;
  FHost.ExportNotification(cnStart, R.From);
  for (int r = R.From; r <= R.To; ++r) {
    FHost.ExportNotification(cnNextRow, r);
    seen.insert((R.Real ? FHost.AllCells(ACol, r) : FHost.Cells(ACol, r)).toCaseFolded());
  }
  FHost.ExportNotification(cnDone, -1);
  return seen.size();
}

double TGridCalc::ColumnCustomCalc(int ACol, int FromRow, int ToRow) {
  double res = 0;
  FHost.ColumnCalcEvent(ACol, FromRow, ToRow, res);
  return res;
}

double TGridCalc::GroupCalcByEvent(int ACol, int FromRow, int ToRow) {
  double res = 0;
  FHost.GroupCalcEvent(ACol, FromRow, ToRow, res);
  return res;
}

double TGridCalc::RowSum(int ARow, int FromCol, int ToCol) {
  double sum = 0, v = 0;
  for (int c = FromCol; c <= ToCol; ++c)
    if (FHost.IsBaseCell(c, ARow) && TryNumber(c, ARow, false, v)) sum += v;
  return sum;
}

double TGridCalc::RowAvg(int ARow, int FromCol, int ToCol) {
  if (ToCol < FromCol) return 0;
  return RowSum(ARow, FromCol, ToCol) / (ToCol - FromCol + 1);
}

double TGridCalc::RowExtreme(int ARow, int FromCol, int ToCol, bool Largest) {
  double best = Number(FromCol, ARow, false), v = 0;
  for (int c = FromCol; c <= ToCol; ++c)
    if (FHost.IsBaseCell(c, ARow) && TryNumber(c, ARow, false, v) && (Largest ? v > best : v < best)) best = v;
  return best;
}

}  // namespace grid
