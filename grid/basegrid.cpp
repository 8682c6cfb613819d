#include "grid/basegrid.h"

#include <QRect>
#include <QWidget>

#include <algorithm>

#include "controls/text_utils.h"
#include "platform/forms/keys.h"

namespace grid {

using plat::TPoint;
using plat::TRect;

TBaseGrid::TBaseGrid(plat::TComponent* AOwner) : TStringGrid(AOwner) {
  // The lines are drawn by the cell painter, the cells by the cell painter: the platform does neither.
  plat::TStringGrid::SetGridLineWidth(0);
  plat::TStringGrid::SetDefaultDrawing(false);
}

TBaseGrid::~TBaseGrid() {
  Destroying();
  FreeAllCellProperties();
}

void TBaseGrid::SetCellObject(int ACol, int ARow, plat::TObject* Value) {
  // The platform's object slot holds the cell's properties; anything else cannot live there.
  SetGridObject(ACol, ARow, dynamic_cast<TCellProperties*>(Value));
}

void TBaseGrid::SetCurrentCell(int ADisplCol, int ARow) {
  SetCol(ADisplCol);
  SetRow(ARow);
}

// ---- display texts and defaults ------------------------------------------------------------------------

void TBaseGrid::GetDisplWideText(int ACol, int ARow, QString& Value) {
  if (OnGetDisplWideText) OnGetDisplWideText(this, ACol, ARow, Value);
}

void TBaseGrid::GetDisplTextExtra(int ACol, int ARow, QString& Value) {
  if (!OnGetDisplWideText) return;
  QString wide = controls::DecodeWideText(Value);
  GetDisplWideText(ACol, ARow, wide);
  Value = controls::EncodeWideText(wide);
}

void TBaseGrid::GetDefaultCellProperties(int, int, plat::TFont* AFont, plat::TBrush* ABrush, plat::TColor& AColorTo,
                                         plat::TColor& AMirrorColor, plat::TColor& AMirrorColorTo,
                                         plat::TAlignment& HA, TVAlignment& VA, bool& WW,
                                         TCellGradientDirection& GD) {
  AFont->Assign(*Font());
  ABrush->SetColor(Color());
  AColorTo = AMirrorColor = AMirrorColorTo = plat::clNone;
  HA = plat::taLeftJustify;
  VA = vtaTop;
  WW = WordWrap();
  GD = GradientVertical;
}

void TBaseGrid::GetDefaultCellProperties(int ACol, int ARow, TCellDefaults& d) {
  plat::TFont font;
  plat::TBrush brush;
  GetDefaultCellProperties(ACol, ARow, &font, &brush, d.ColorTo, d.MirrorColor, d.MirrorColorTo, d.HA, d.VA, d.WW,
                           d.GD);
  d.FontName = font.Name();
  d.FontSize = font.Size();
  d.FontStyle = font.Style();
  d.FontColor = font.Color();
  d.BrushColor = brush.Color();
}

// ---- geometry ------------------------------------------------------------------------------------------

int TBaseGrid::SumColWidths(int From, int To) const {
  int sum = 0;
  for (int i = From; i <= To; ++i) sum += ColWidths(i);
  return sum;
}

int TBaseGrid::SumRowHeights(int From, int To) const {
  int sum = 0;
  for (int i = From; i <= To; ++i) sum += RowHeights(i);
  return sum;
}

TRect TBaseGrid::CalcCellRect(int ACol, int ARow) const {
  auto& axisCols = const_cast<TBaseGrid*>(this)->ColAxis();
  auto& axisRows = const_cast<TBaseGrid*>(this)->RowAxis();
  // The platform draws no lines of its own (its line width is 0), so positions are plain sums of sizes.
  auto pos = [](const plat::TGridAxis& a, int i) {
    return int(a.Pos(std::clamp(i, 0, a.Count()))) + std::max(0, i - a.Count()) * a.DefaultSize();
  };
  int x = pos(axisCols, ACol), y = pos(axisRows, ARow);
  if (ACol >= FixedCols()) x -= pos(axisCols, LeftCol());
  if (ARow >= FixedRows()) y -= pos(axisRows, TopRow());
  TRect p = plat::TStringGrid::CellRect(LeftCol(), TopRow());
  if (ACol < FixedCols()) p.Left = 0;
  if (ARow < FixedRows()) p.Top = 0;
  x += p.Left;
  y += p.Top;
  return {x, y, x + ColWidths(ACol), y + RowHeights(ARow)};
}

TRect TBaseGrid::AreaRect(int ACol, int ARow, const TCellProperties&) {
  const TPoint b = BaseCell(ACol, ARow);
  const TCellProperties* bp = GetGridObject(b.X, b.Y);
  // An area that reaches past a shrunk grid is measured up to the grid's last cell.
  const int lastCol = std::min(b.X + std::max(bp ? bp->CellSpanX : 0, 0), std::max(ColCount() - 1, b.X));
  const int lastRow = std::min(b.Y + std::max(bp ? bp->CellSpanY : 0, 0), std::max(RowCount() - 1, b.Y));
  TRect r1 = CalcCellRect(b.X, b.Y);
  if (r1.Width() == 0) ++r1.Right;
  TRect r2 = CalcCellRect(lastCol, lastRow);
  if (r2.Width() == 0) --r2.Left;
  return {std::min(r1.Left, r2.Left), std::min(r1.Top, r2.Top), std::max(r1.Right, r2.Right),
          std::max(r1.Bottom, r2.Bottom)};
}

TRect TBaseGrid::CellRect(int ACol, int ARow) {
  if (HasCellProperties(ACol, ARow)) {
    const TCellProperties& p = *GetGridObject(ACol, ARow);
    if (p.CellSpanX != -1 || p.CellSpanY != -1) return AreaRect(ACol, ARow, p);
    if (p.Control) return CalcCellRect(ACol, ARow);
  }
  const TRect p = plat::TStringGrid::CellRect(ACol, ARow);
  return {p.Left, p.Top, p.Left + ColWidths(ACol), p.Top + RowHeights(ARow)};
}

TPoint TBaseGrid::CellSize(int ACol, int ARow) {
  TRect r = CalcCellRect(ACol, ARow);
  if (HasCellProperties(ACol, ARow)) {
    const TCellProperties& p = *GetGridObject(ACol, ARow);
    if (p.CellSpanX != -1 || p.CellSpanY != -1) r = AreaRect(ACol, ARow, p);
  }
  return {r.Width(), r.Height()};
}

int TBaseGrid::FixedColsWidth() const { return SumColWidths(0, FixedCols() - 1); }
int TBaseGrid::FixedRowsHeight() const { return SumRowHeights(0, FixedRows() - 1); }

void TBaseGrid::RepaintCell(int ACol, int ARow) {
  QWidget* w = Widget();
  if (!w) return;
  const TRect r = CellRect(ACol, ARow);
  w->update(QRect(r.Left, r.Top, r.Width(), r.Height()));
}

// ---- painting ------------------------------------------------------------------------------------------

void TBaseGrid::Paint() {
  plat::TStringGrid::Paint();
  FPainter.EndPaintPass();
}

void TBaseGrid::HandleDrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  FPainter.HandleDrawCell(*Canvas(), ACol, ARow, ARect, AState);
}

TRect TBaseGrid::PaintSelection() const {
  const plat::TGridRect s = Selection();
  return {s.Left, s.Top, s.Right, s.Bottom};
}

TCellPaintOptions TBaseGrid::PaintOptions() const {
  const plat::TGridOptions o = Options();
  TCellPaintOptions p;
  p.FixedVertLine = o.Contains(plat::goFixedVertLine);
  p.FixedHorzLine = o.Contains(plat::goFixedHorzLine);
  p.VertLine = o.Contains(plat::goVertLine);
  p.HorzLine = o.Contains(plat::goHorzLine);
  p.DrawFocusSelected = o.Contains(plat::goDrawFocusSelected);
  return p;
}

void TBaseGrid::InvalidateIf(bool changed) {
  if (changed) Invalidate();
}

void TBaseGrid::SetDefaultDrawing(bool Value) {
  FDefaultDrawing = Value;
  plat::TStringGrid::SetDefaultDrawing(false);
}

void TBaseGrid::SetGridLineWidth(int Value) {
  FPainter.Settings.GridLineWidth = Value;
  plat::TStringGrid::SetGridLineWidth(0);
  Invalidate();
}

void TBaseGrid::SetGridLineColor(plat::TColor Value) {
  FPainter.Settings.GridLineColor = Value;
  Invalidate();
}

void TBaseGrid::SetGridFixedLineColor(plat::TColor Value) {
  FPainter.Settings.GridFixedLineColor = Value;
  Invalidate();
}

void TBaseGrid::SetActiveRowShow(bool Value) {
  InvalidateIf(std::exchange(FPainter.Settings.ActiveRowShow, Value) != Value);
}

void TBaseGrid::SetActiveRowColor(plat::TColor Value) {
  InvalidateIf(std::exchange(FPainter.Settings.ActiveRowColor, Value) != Value);
}

void TBaseGrid::SetActiveRowColorTo(plat::TColor Value) {
  InvalidateIf(std::exchange(FPainter.Settings.ActiveRowColorTo, Value) != Value);
}

void TBaseGrid::SetActiveRowMirrorColor(plat::TColor Value) {
  InvalidateIf(std::exchange(FPainter.Settings.ActiveRowMirrorColor, Value) != Value);
}

void TBaseGrid::SetActiveRowMirrorColorTo(plat::TColor Value) {
  InvalidateIf(std::exchange(FPainter.Settings.ActiveRowMirrorColorTo, Value) != Value);
}

void TBaseGrid::SetSelectionStyle(TGridSelectionStyle Value) {
  InvalidateIf(std::exchange(FPainter.Settings.SelectionStyle, Value) != Value);
}

// ---- navigation ----------------------------------------------------------------------------------------

void TBaseGrid::MoveToBaseCell() {
  if (!HasCellProperties(Col(), Row())) return;
  const TPoint b = BaseCell(Col(), Row());
  SetCol(b.X);
  SetRow(b.Y);
}

bool TBaseGrid::HandleSelectCell(int ACol, int ARow) {
  RepaintCell(Col(), Row());
  const bool result = plat::TStringGrid::HandleSelectCell(ACol, ARow);
  RepaintCell(ACol, ARow);
  return result;
}

void TBaseGrid::HandleKeyDown(std::uint16_t& Key, plat::TShiftState Shift) {
  const bool props = HasCellProperties(Col(), Row());
  const TPoint b = props ? BaseCell(Col(), Row()) : TPoint(Col(), Row());
  const TCellProperties* bp = props ? GetGridObject(b.X, b.Y) : nullptr;
  const int spanX = bp ? bp->CellSpanX : -1, spanY = bp ? bp->CellSpanY : -1;
  switch (Key) {
    case plat::VK_NEXT:
      if (VisibleRowCount() + TopRow() - FixedRows() == RowCount() - 1 && HideLastRow() && RowCount() > 1)
        SetRow(RowCount() - 2);
      break;
    case plat::VK_LEFT:
      if (props && b.X < Col() && Col() > FixedCols() && b.X > 0) SetCol(b.X - spanX);
      break;
    case plat::VK_UP:
      if (props && b.Y < Row() && Row() > FixedRows() && b.Y > 0) SetRow(b.Y - 1);
      break;
    case plat::VK_RIGHT:
      if (props) {
        const int e = b.X + spanX;
        if (e >= Col() && Col() < ColCount() - 1 && b.X < ColCount() - 1 && e < ColCount()) SetCol(e);
      }
      break;
    case plat::VK_DOWN:
      if (props) {
        const int e = b.Y + spanY;
        if (e >= Row() && Row() < RowCount() - 1 && b.Y < RowCount() - 1) SetRow(e);
      }
      break;
    default:
      break;
  }
  plat::TStringGrid::HandleKeyDown(Key, Shift);
  MoveToBaseCell();
}

bool TBaseGrid::DoMouseWheelDown(plat::TShiftState Shift, TPoint MousePos) {
  const bool result = plat::TStringGrid::DoMouseWheelDown(Shift, MousePos);
  if (VisibleRowCount() < Row() - TopRow() && Row() < RowCount() - 1 && HideLastRow()) SetTopRow(TopRow() + 1);
  MoveToBaseCell();
  return result;
}

bool TBaseGrid::DoMouseWheelUp(plat::TShiftState Shift, TPoint MousePos) {
  const bool result = plat::TStringGrid::DoMouseWheelUp(Shift, MousePos);
  MoveToBaseCell();
  return result;
}

void TBaseGrid::TopLeftChanged() {
  plat::TStringGrid::TopLeftChanged();
  RepaintMergedFixedColCells();
  RepaintMergedFixedRowCells();
}

void TBaseGrid::RepaintMergedFixedColCells() {
  if (FixedCols() <= 0) return;
  for (int r = TopRow(); r <= TopRow() + VisibleRowCount(); ++r)
    for (int c = 0; c < FixedCols(); ++c)
      if (IsMergedCell(c, r)) RepaintCell(c, r);
}

void TBaseGrid::RepaintMergedFixedRowCells() {
  if (FixedRows() <= 0) return;
  for (int c = LeftCol(); c <= LeftCol() + VisibleColCount(); ++c)
    for (int r = 0; r < FixedRows(); ++r)
      if (IsMergedCell(c, r)) RepaintCell(c, r);
}

}  // namespace grid
