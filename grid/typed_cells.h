#pragma once
// Cells read and written as integers, floating-point numbers, dates and times, and cell texts by real row
// (rows hidden in the hidden-row store included). Reads of a text that is not a number raise EExtGridError with
// the grid's fixed messages; date and time conversion errors pass through unchanged.

#include <QString>

#include <functional>
#include <optional>

#include "grid/basegrid.h"
#include "grid/griderror.h"
#include "grid/hiding.h"
#include "platform/rtl/datetime.h"

namespace grid {

class TTypedCells {
 public:
  TTypedCells(TBaseGrid& Grid, TGridHiding& Hiding) : FGrid(Grid), FHiding(Hiding) {}

  // Display row, real column.
  int GetInts(int ACol, int ARow);
  void SetInts(int ACol, int ARow, int Value);
  double GetFloats(int ACol, int ARow);
  // The same reads without the error, for painting: no value when the text is not a number.
  std::optional<int> IntValue(int ACol, int ARow);
  std::optional<double> FloatValue(int ACol, int ARow);
  void SetFloats(int ACol, int ARow, double Value);
  plat::TDateTime GetDates(int ACol, int ARow);
  void SetDates(int ACol, int ARow, plat::TDateTime Value);
  plat::TDateTime GetTimes(int ACol, int ARow);
  void SetTimes(int ACol, int ARow, plat::TDateTime Value);
  QString GetStrippedCell(int ACol, int ARow);
  int GetLinesInCell(int ACol, int ARow);

  // Real row: a hidden row is read from and written into its record (its text through the display-text hook;
  // a write of the display text extends the record, a raw write does not).
  QString GetCellsEx(int ACol, int ARow);
  void SetCellsEx(int ACol, int ARow, const QString& Value);
  QString GetGridCellsEx(int ACol, int ARow);
  void SetGridCellsEx(int ACol, int ARow, const QString& Value);
  // The user object by real row: a hidden row keeps it in the cell properties of its record.
  plat::TObject* GetObjectsEx(int ACol, int ARow);
  void SetObjectsEx(int ACol, int ARow, plat::TObject* Value);
  int GetAllInts(int ACol, int ARow);
  void SetAllInts(int ACol, int ARow, int Value);
  double GetAllFloats(int ACol, int ARow);
  void SetAllFloats(int ACol, int ARow, double Value);

  // The grid's float format (a Format text) and whether a zero date is written as a date.
  QString FloatFormat = QStringLiteral("%.2f");
  bool ShowNullDates = true;
  // The format of one cell (the column grid answers per column); empty: FloatFormat.
  std::function<QString(int ACol, int ARow)> OnCellFloatFormat;
  // The record of a hidden real row, nullptr for a shown one.
  TGridItem* HiddenRecord(int ARow) const;

 private:
  void RepaintIfColumnsHidden(int ACol, int ARow);

  TBaseGrid& FGrid;
  TGridHiding& FHiding;
};

}  // namespace grid
