#include "grid/typed_cells.h"

#include <QLocale>

#include <optional>

#include "controls/mini_html.h"
#include "controls/text_utils.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strutils.h"

namespace grid {

namespace {

// An empty cell and a lone minus sign read as 0; any other text that is not a number has no value.
std::optional<int> IntValueOf(const QString& Text) {
  const QString s = plat::Trim(Text);
  if (s.isEmpty() || s == u"-") return 0;
  int v = 0;
  if (!plat::TryStrToInt(s, v)) return std::nullopt;
  return v;
}

std::optional<double> FloatValueOf(const QString& Text) {
  const QString s = plat::Trim(Text);
  if (s.isEmpty() || s == u"-") return 0.0;
  bool ok = false;
  const double v = QLocale::c().toDouble(controls::NumericTextToDotDecimal(s), &ok);
  if (!ok) return std::nullopt;
  return v;
}

int IntOf(const QString& Text) {
  const std::optional<int> v = IntValueOf(Text);
  if (!v) throw EExtGridError(QStringLiteral("Cell does not contain integer value"));
  return *v;
}

double FloatOf(const QString& Text) {
  const std::optional<double> v = FloatValueOf(Text);
  if (!v) throw EExtGridError(QStringLiteral("Cell does not contain a float value"));
  return *v;
}

}  // namespace

void TTypedCells::RepaintIfColumnsHidden(int ACol, int ARow) {
  if (FHiding.NumHiddenColumns() > 0) FGrid.RepaintCell(FHiding.RealToDisplCol(ACol), ARow);
}

QString TTypedCells::GetStrippedCell(int ACol, int ARow) {
  return controls::HTMLToPlainText(FGrid.Cells(ACol, ARow));
}

int TTypedCells::GetLinesInCell(int ACol, int ARow) { return controls::TextLineCount(FGrid.Cells(ACol, ARow), true); }

int TTypedCells::GetInts(int ACol, int ARow) { return IntOf(GetStrippedCell(ACol, ARow)); }

std::optional<int> TTypedCells::IntValue(int ACol, int ARow) { return IntValueOf(GetStrippedCell(ACol, ARow)); }

std::optional<double> TTypedCells::FloatValue(int ACol, int ARow) {
  return FloatValueOf(GetStrippedCell(ACol, ARow));
}

void TTypedCells::SetInts(int ACol, int ARow, int Value) {
  FGrid.SetCells(ACol, ARow, plat::IntToStr(Value));
  RepaintIfColumnsHidden(ACol, ARow);
}

double TTypedCells::GetFloats(int ACol, int ARow) { return FloatOf(GetStrippedCell(ACol, ARow)); }

void TTypedCells::SetFloats(int ACol, int ARow, double Value) {
  QString fmt = OnCellFloatFormat ? OnCellFloatFormat(ACol, ARow) : QString();
  if (fmt.isEmpty()) fmt = FloatFormat;
  FGrid.SetCells(ACol, ARow, plat::Format(fmt, {Value}));
}

plat::TDateTime TTypedCells::GetDates(int ACol, int ARow) { return plat::StrToDate(FGrid.Cells(ACol, ARow)); }

void TTypedCells::SetDates(int ACol, int ARow, plat::TDateTime Value) {
  FGrid.SetCells(ACol, ARow, Value > 0 || ShowNullDates ? plat::DateToStr(Value) : QString());
}

plat::TDateTime TTypedCells::GetTimes(int ACol, int ARow) { return plat::StrToTime(FGrid.Cells(ACol, ARow)); }

void TTypedCells::SetTimes(int ACol, int ARow, plat::TDateTime Value) {
  FGrid.SetCells(ACol, ARow, plat::TimeToStr(Value));
}

// ---- by real row ---------------------------------------------------------------------------------------

TGridItem* TTypedCells::HiddenRecord(int ARow) const {
  if (!FHiding.IsHiddenRow(ARow)) return nullptr;
  plat::TCollection& items = FHiding.GridItems();
  for (int i = 0; i < items.Count(); ++i)
    if (auto* rec = static_cast<TGridItem*>(items.Items(i)); rec->Idx() == ARow) return rec;
  return nullptr;
}

QString TTypedCells::GetCellsEx(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0) return QString();
  if (TGridItem* rec = HiddenRecord(ARow)) {
    QString value = ACol < rec->Items()->Count() ? rec->Items()->Strings(ACol) : QString();
    FGrid.GetDisplText(ACol, ARow, value);
    return value;
  }
  return FGrid.Cells(ACol, FHiding.RealToDisplRow(ARow));
}

void TTypedCells::SetCellsEx(int ACol, int ARow, const QString& Value) {
  if (ACol < 0 || ARow < 0) return;
  if (TGridItem* rec = HiddenRecord(ARow)) {
    while (rec->Items()->Count() <= ACol) rec->Items()->Add(QString());
    rec->Items()->SetStrings(ACol, Value);
    return;
  }
  const int row = FHiding.RealToDisplRow(ARow);
  FGrid.SetCells(ACol, row, Value);
  if (FHiding.RealToDisplCol(ACol) != ACol) FGrid.RepaintCell(FHiding.RealToDisplCol(ACol), row);
}

QString TTypedCells::GetGridCellsEx(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0) return QString();
  if (TGridItem* rec = HiddenRecord(ARow))
    return ACol < rec->Items()->Count() ? rec->Items()->Strings(ACol) : QString();
  return FGrid.GetGridCell(ACol, FHiding.RealToDisplRow(ARow));
}

void TTypedCells::SetGridCellsEx(int ACol, int ARow, const QString& Value) {
  if (ACol < 0 || ARow < 0) return;
  if (TGridItem* rec = HiddenRecord(ARow)) {
    if (ACol < rec->Items()->Count()) rec->Items()->SetStrings(ACol, Value);  // the list is not extended
    return;
  }
  const int row = FHiding.RealToDisplRow(ARow);
  FGrid.SetGridCell(ACol, row, Value);
  FGrid.RepaintCell(FHiding.RealToDisplCol(ACol), row);
}

plat::TObject* TTypedCells::GetObjectsEx(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0) return nullptr;
  if (TGridItem* rec = HiddenRecord(ARow)) {
    auto* p = ACol < rec->Items()->Count() ? dynamic_cast<TCellProperties*>(rec->Items()->Objects(ACol)) : nullptr;
    return p ? reinterpret_cast<plat::TObject*>(p->CellObject) : nullptr;
  }
  return reinterpret_cast<plat::TObject*>(FGrid.GetObjectEx(ACol, FHiding.RealToDisplRow(ARow)));
}

// A hidden cell's slot holds its cell properties, which the record frees and the row takes back when shown:
// the user object goes into them (made for the cell when it has none), never into the slot itself.
void TTypedCells::SetObjectsEx(int ACol, int ARow, plat::TObject* Value) {
  if (ACol < 0 || ARow < 0) return;
  if (TGridItem* rec = HiddenRecord(ARow)) {
    while (rec->Items()->Count() <= ACol) rec->Items()->Add(QString());
    auto* p = dynamic_cast<TCellProperties*>(rec->Items()->Objects(ACol));
    if (!p) {
      p = new TCellProperties(&FGrid.CellStore(), ACol, ARow);
      rec->Items()->SetObjects(ACol, p);
    }
    p->CellObject = reinterpret_cast<quintptr>(Value);
    return;
  }
  FGrid.SetObjectEx(ACol, FHiding.RealToDisplRow(ARow), reinterpret_cast<quintptr>(Value));
}

int TTypedCells::GetAllInts(int ACol, int ARow) { return IntOf(GetCellsEx(ACol, ARow)); }

void TTypedCells::SetAllInts(int ACol, int ARow, int Value) { SetCellsEx(ACol, ARow, plat::IntToStr(Value)); }

double TTypedCells::GetAllFloats(int ACol, int ARow) { return FloatOf(GetCellsEx(ACol, ARow)); }

void TTypedCells::SetAllFloats(int ACol, int ARow, double Value) {
  SetCellsEx(ACol, ARow, plat::Format(FloatFormat, {Value}));
}

}  // namespace grid
