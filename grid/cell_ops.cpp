#include "grid/cell_ops.h"

#include <QRect>
#include <QWidget>

#include <algorithm>

#include "controls/text_utils.h"
#include "platform/rtl/format.h"

namespace grid {

// ---- headers -------------------------------------------------------------------------------------------

void TGridCellOps::ShowColumnHeaders(const plat::TStrings& Headers) {
  if (FGrid.FixedRows() <= 0) return;
  for (int k = 0; k < Headers.Count() && k < FGrid.TotalColCount(); ++k)
    FGrid.SetCells(k, 0, controls::BackslashNToCR(Headers.Strings(k)));
}

void TGridCellOps::ClearColumnHeaders() {
  if (FGrid.FixedRows() <= 0) return;
  for (int c = 0; c < FGrid.ColCount(); ++c) FGrid.SetCells(c, 0, QString());
}

void TGridCellOps::ShowRowHeaders(const plat::TStrings& Headers) {
  if (FGrid.FixedCols() <= 0) return;
  for (int k = 0; k < Headers.Count() && k < FGrid.RowCount(); ++k)
    FGrid.SetCells(0, k, controls::BackslashNToCR(Headers.Strings(k)));
}

void TGridCellOps::ClearRowHeaders() {
  if (FGrid.FixedCols() <= 0) return;
  for (int r = 0; r < FGrid.RowCount(); ++r) FGrid.SetCells(0, r, QString());
}

// ---- fills ---------------------------------------------------------------------------------------------

template <class Fn>
void TGridCellOps::Fill(bool DoFixed, Fn&& fn) {
  const int footers = FixedFooters ? FixedFooters() : 0, right = FixedRightCols ? FixedRightCols() : 0;
  const int top = DoFixed ? 0 : FGrid.FixedRows(), bottom = DoFixed ? FGrid.RowCount() : FGrid.RowCount() - footers;
  const int left = DoFixed ? 0 : FGrid.FixedCols(), last = DoFixed ? FGrid.ColCount() : FGrid.ColCount() - right;
  for (int r = top; r < bottom; ++r)
    for (int c = left; c < last; ++c) fn(c, r);
  if (OnAllCellsChanged) OnAllCellsChanged(&FGrid);
}

void TGridCellOps::TextFill(bool DoFixed, const QString& Txt) {
  Fill(DoFixed, [&](int c, int r) { FGrid.SetCells(c, r, Txt); });
}

void TGridCellOps::FormatFill(bool DoFixed, const QString& Fmt) {
  Fill(DoFixed, [&](int c, int r) { FGrid.SetCells(c, r, plat::Format(Fmt, {c, r})); });
}

void TGridCellOps::RandomFill(bool DoFixed, int Rnd) {
  Fill(DoFixed, [&](int c, int r) {
    FTyped.SetInts(c, r, Rnd > 0 ? static_cast<int>(Random() % static_cast<unsigned>(Rnd)) : 0);
  });
}

void TGridCellOps::LinearFill(bool DoFixed) {
  Fill(DoFixed, [&](int c, int r) { FGrid.SetCells(c, r, QStringLiteral("%1:%2").arg(c).arg(r)); });
}

void TGridCellOps::SwapCells(plat::TPoint FromCell, plat::TPoint ToCell) {
  const QString text = FGrid.GetGridCell(FromCell.X, FromCell.Y);
  TCellProperties* props = FGrid.GetGridObject(FromCell.X, FromCell.Y);
  FGrid.SetGridCell(FromCell.X, FromCell.Y, FGrid.GetGridCell(ToCell.X, ToCell.Y));
  FGrid.SetGridObject(FromCell.X, FromCell.Y, FGrid.GetGridObject(ToCell.X, ToCell.Y));
  FGrid.SetGridCell(ToCell.X, ToCell.Y, text);
  FGrid.SetGridObject(ToCell.X, ToCell.Y, props);
  for (plat::TPoint cell : {FromCell, ToCell})
    if (TCellProperties* p = FGrid.GetGridObject(cell.X, cell.Y)) {
      p->OwnerCol = cell.X;
      p->OwnerRow = cell.Y;
    }
}

// ---- the current cell ----------------------------------------------------------------------------------

plat::TPoint TGridCellOps::Current() const {
  const plat::TPoint cell(FHiding.DisplToRealCol(FGrid.Col()), FGrid.Row());
  return FGrid.BaseCell(cell.X, cell.Y);
}

QString TGridCellOps::GetCurrentCell() {
  const plat::TPoint c = Current();
  return FGrid.GetGridCell(c.X, c.Y);
}

void TGridCellOps::SetCurrentCell(const QString& Value) {
  const plat::TPoint c = Current();
  FGrid.SetCells(c.X, c.Y, Value);
}

const plat::TFont& TGridCellOps::GetCellFont(int i, int j) {
  if (!FGrid.HasCellProperties(i, j)) return *FGrid.Font();
  const TCellProperties* p = FGrid.GetGridObject(i, j);
  FCellFont.SetName(p->FontName);
  FCellFont.SetSize(p->FontSize);
  FCellFont.SetStyle(p->FontStyle);
  FCellFont.SetColor(p->FontColor);
  return FCellFont;
}

// ---- moving and repainting -----------------------------------------------------------------------------

void TGridCellOps::GotoCell(int ACol, int ARow) {
  FGrid.SetRow(ARow);
  FGrid.SetCol(ACol);
}

void TGridCellOps::FocusCell(int ACol, int ARow) { FGrid.SetSelection({ACol, ARow, ACol, ARow}); }

void TGridCellOps::MoveCurrentCell(int ACol, int ARow) { FGrid.MoveColRow(ACol, ARow, true, true); }

void TGridCellOps::RepaintRow(int ARow) {
  RepaintRect({0, ARow, FGrid.LeftCol() + FGrid.VisibleColCount(), ARow});
}

void TGridCellOps::RepaintCol(int ACol) {
  RepaintRect({ACol, FGrid.TopRow(), ACol, FGrid.TopRow() + FGrid.VisibleRowCount()});
}

void TGridCellOps::RepaintRect(const plat::TGridRect& r) {
  if (r.Left < 0 || r.Top < 0 || r.Right < 0 || r.Bottom < 0) return;
  QWidget* w = FGrid.Widget();
  if (!w) return;
  const plat::TRect a = FGrid.CellRect(r.Left, r.Top);
  const plat::TRect b = FGrid.CellRect(std::min(FGrid.VisibleColCount() + FGrid.FixedCols(), r.Right), r.Bottom);
  if (a.IsEmpty() || b.IsEmpty()) {
    FGrid.Invalidate();
    return;
  }
  const plat::TRect u(std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                      std::max(a.Bottom, b.Bottom));
  w->update(QRect(u.Left, u.Top, u.Width(), u.Height()));
}

}  // namespace grid
