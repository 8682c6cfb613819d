#pragma once
// Statistics over a column range or a row range of the grid's cells: sum, average, extremes, population
// standard deviation, distinct texts, and the custom values of the calculation events. The footers, the group
// summaries and the exports use them.
//
// A column range is a range of display rows, or, when it reaches past the grid's rows, a range of real rows
// that includes the hidden ones. Either way it never reads past the last row there is.

#include <QString>

namespace grid {

enum TCalcNotice { cnStart, cnNextRow, cnDone };

class TCalcHost {
 public:
  virtual ~TCalcHost() = default;
  virtual int RowCount() const = 0;
  virtual int FixedRows() const = 0;
  virtual int FixedFooters() const = 0;
  virtual bool FloatingFooterVisible() const = 0;
  virtual int NumHiddenRows() const = 0;
  // The cell's number by display row, or by real row (hidden rows included); plat::Exception when the text
  // is not a number.
  virtual double Floats(int ACol, int ARow) = 0;
  virtual double AllFloats(int ACol, int ARealRow) = 0;
  // The displayed texts, by display row or by real row.
  virtual QString Cells(int ACol, int ARow) = 0;
  virtual QString AllCells(int ACol, int ARealRow) = 0;
  virtual int DisplRowIndex(int ARealRow) const = 0;
  virtual bool IsHiddenRow(int ARealRow) const = 0;
  virtual bool IsNode(int ARow) = 0;
  virtual bool IsSummary(int ARow) = 0;
  virtual int GroupColumn() const = 0;
  virtual bool IsBaseCell(int ACol, int ARow) = 0;
  virtual void ExportNotification(TCalcNotice Notice, int ARow) { (void)Notice, (void)ARow; }
  // OnColumnCalc and OnGroupCalc: false without a handler.
  virtual bool ColumnCalcEvent(int ACol, int FromRow, int ToRow, double& Res) {
    (void)ACol, (void)FromRow, (void)ToRow, (void)Res;
    return false;
  }
  virtual bool GroupCalcEvent(int ACol, int FromRow, int ToRow, double& Res) {
    (void)ACol, (void)FromRow, (void)ToRow, (void)Res;
    return false;
  }
};

// Rows From..To, by real index (hidden rows included) when Real.
struct TCalcRange {
  int From = 0, To = -1;
  bool Real = false;
  int Rows() const { return To >= From ? To - From + 1 : 0; }
};

class TGridCalc {
 public:
  explicit TGridCalc(TCalcHost& Host) : FHost(Host) {}

  // -1 for FromRow or ToRow: all normal rows. A ToRow past the grid's rows selects real rows.
  TCalcRange ColumnRange(int FromRow, int ToRow) const;

  double ColumnSum(int ACol, int FromRow, int ToRow) { return Sum(ACol, ColumnRange(FromRow, ToRow)); }
  double ColumnAvg(int ACol, int FromRow, int ToRow) { return Avg(ACol, ColumnRange(FromRow, ToRow)); }
  double ColumnMin(int ACol, int FromRow, int ToRow) { return Extreme(ACol, ColumnRange(FromRow, ToRow), false); }
  double ColumnMax(int ACol, int FromRow, int ToRow) { return Extreme(ACol, ColumnRange(FromRow, ToRow), true); }
  double ColumnStdDev(int ACol, int FromRow, int ToRow) { return StdDev(ACol, ColumnRange(FromRow, ToRow)); }
  double ColumnDistinct(int ACol, int FromRow, int ToRow) { return Distinct(ACol, ColumnRange(FromRow, ToRow)); }
  double ColumnCustomCalc(int ACol, int FromRow, int ToRow);
  double GroupCalcByEvent(int ACol, int FromRow, int ToRow);

  // The same over a range the caller has resolved (the footers choose real rows themselves).
  double Sum(int ACol, const TCalcRange& R);
  double Avg(int ACol, const TCalcRange& R);
  double Extreme(int ACol, const TCalcRange& R, bool Largest);
  double StdDev(int ACol, const TCalcRange& R);
  double Distinct(int ACol, const TCalcRange& R);

  double RowSum(int ARow, int FromCol, int ToCol);
  double RowAvg(int ARow, int FromCol, int ToCol);
  double RowMin(int ARow, int FromCol, int ToCol) { return RowExtreme(ARow, FromCol, ToCol, false); }
  double RowMax(int ARow, int FromCol, int ToCol) { return RowExtreme(ARow, FromCol, ToCol, true); }

 private:
  double Number(int ACol, int ARow, bool Real);
  // The row takes part in sums and extremes: no node or summary row of a grouped grid, a base cell.
  bool Counts(int ACol, int ARow, bool Real);
  bool TryNumber(int ACol, int ARow, bool Real, double& Value);
  double RowExtreme(int ARow, int FromCol, int ToCol, bool Largest);

  TCalcHost& FHost;
};

}  // namespace grid
