#include "grid/autosize.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

#include "controls/text_utils.h"
#include "grid/extgrid.h"
#include "grid/view/html_cell.h"

namespace grid {

int LimitValue(int Value, int Min, int Max) {
  if (Min == Max) return Value;
  int result = Value < Min && Min > 0 ? Min : Value;
  if (Max > 0 && Value > Max) result = Max;
  return result;
}

namespace {

constexpr int kScrollBarWidth = 17;

QStringList CellLines(const QString& Text, bool Multiline) {
  static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
  QStringList lines = Text.split(breaks);
  if (!Multiline) lines = QStringList{lines.value(0)};
  return lines;
}

bool IsCheckKind(TCellType t) {
  return t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRadioButton;
}

}  // namespace

int TGridAutoSize::TotalXOffset() const {
  return FGrid.XYOffsetTopLeftOnly ? FGrid.XYOffset().X : 2 * FGrid.XYOffset().X;
}

int TGridAutoSize::TotalYOffset() const {
  return FGrid.XYOffsetTopLeftOnly ? FGrid.XYOffset().Y : 2 * FGrid.XYOffset().Y;
}

void TGridAutoSize::CellFont(int ACol, int ARow, int Zoom) {
  plat::TCanvas& c = *FGrid.Canvas();
  const bool fixed = ARow < FGrid.FixedRows() || ACol < FGrid.FixedCols();
  c.Font()->Assign(fixed ? FGrid.FixedFont() : FGrid.Font());
  plat::TBrush brush;
  brush.SetColor(FGrid.Color());
  FGrid.DoGetCellColor(FGrid.RealColIndex(ACol), ARow, {}, &brush, c.Font());
  if (Zoom != 0) c.Font()->SetSize(std::max(1, c.Font()->Size() + Zoom));
}

plat::TSize TGridAutoSize::CellTextSize(int ACol, int ARow, bool WordWrap) {
  plat::TCanvas& c = *FGrid.Canvas();
  // The text as it is shown: formatted by the float format or by the cell's column.
  const QString text = FGrid.Renderer().GetFormattedCell(FGrid.RealColIndex(ACol), ARow);
  if (text.isEmpty()) return {0, 0};
  if (controls::CellTextType(text, FGrid.EnableHTML) == 1) {
    THTMLCell html;
    html.Text = text;
    html.Rect = plat::TRect(0, 0, WordWrap ? FGrid.ColWidths(ACol) - TotalXOffset() : 0xFFFF, 0xFFFF);
    html.CalcOnly = true;
    html.Render(c);
    return {html.Width, html.Height};
  }
  if (WordWrap) {
    plat::TRect r(0, 0, std::max(1, FGrid.ColWidths(ACol) - TotalXOffset()), 0);
    c.DrawText(text, r, plat::DT_CALCRECT | plat::DT_EDITCONTROL | plat::DT_NOPREFIX | plat::DT_WORDBREAK);
    return {r.Width(), r.Height()};
  }
  const QStringList lines = CellLines(text, FGrid.RenderSettings().Multilinecells);
  int width = 0;
  for (const QString& line : lines) width = std::max(width, c.TextWidth(line));
  return {width, c.TextHeight(QStringLiteral("gh")) * int(lines.size())};
}

int TGridAutoSize::MaxLinesInRow(int ARow) {
  if (!FGrid.RenderSettings().Multilinecells) return 1;
  int most = 1;
  for (int c = 0; c < FGrid.AllColCount(); ++c)
    most = std::max(most, int(CellLines(FGrid.Cells(c, ARow), true).size()));
  return most;
}

// ---------------------------------------------------------------- columns

int TGridAutoSize::ColumnNeed(int ACol, int ARow) {
  const int r = FGrid.RealColIndex(ACol);
  const TCellGraphic* g = FGrid.GetCellGraphic(r, ARow);
  const int lw = FGrid.GridLineWidth();
  // The font first: a radio group measures its items with it.
  CellFont(ACol, ARow, 0);
  int graphic = 0;
  if (g) {
    graphic = FGrid.GetCellGraphicSize(r, ARow).X;
    if (g->CellHAlign == haFull) return graphic - 2 * lw - FGrid.XYOffset().X - 2;
    CellFont(ACol, ARow, 0);
  }
  int need = graphic + CellTextSize(ACol, ARow, false).cx;
  if (FGrid.ControlLook()->DropDownAlwaysVisible() && FGrid.HasComboBox(r, ARow)) need += 16;
  if (ARow == FGrid.RenderSettings().FilterDropDownRow && FGrid.FilterDropDownAuto && FGrid.BuildColumnFilterList(r))
    need += 12;
  const TSortView& sort = FGrid.RenderSettings().Sort;
  if (sort.Show && sort.Column == r && ARow == sort.Row) need += 10;
  return need;
}

void TGridAutoSize::AutoSizeColumnInternal(int ACol, bool GrowOnly) {
  if (ACol < 0 || ACol >= FGrid.ColCount()) return;
  int first = 0, last = FGrid.RowCount() - 1;
  switch (FGrid.ColumnSize()->Rows) {
    case arNormal: first = FGrid.FixedRows(), last = FGrid.RowCount() - FGrid.FixedFooters() - 1; break;
    case arFixed: last = FGrid.FixedRows() - 1; break;
    default: break;
  }
  int most = 0;
  for (int row = first; row <= last; ++row)
    if (!FGrid.IsXMergedCell(FGrid.RealColIndex(ACol), row)) most = std::max(most, ColumnNeed(ACol, row));
  int width = most + TotalXOffset() + 2 * FGrid.GridLineWidth() + 2;
  if (GrowOnly && FGrid.ColWidths(ACol) >= width) return;
  FGrid.UpdateAutoColSize(ACol, width);
  FGrid.SetColWidths(ACol, LimitValue(width, FGrid.MinColWidth, FGrid.MaxColWidth));
}

void TGridAutoSize::AutoSizeCol(int ACol, int Padding) {
  AutoSizeColumnInternal(ACol, FGrid.SizeGrowOnly);
  if (Padding != 0 && ACol >= 0 && ACol < FGrid.ColCount())
    FGrid.SetColWidths(ACol, LimitValue(FGrid.ColWidths(ACol) + Padding, FGrid.MinColWidth, FGrid.MaxColWidth));
}

void TGridAutoSize::AutoSizeColumns(bool DoFixedCols, int Padding) {
  const int from = DoFixedCols ? 0 : FGrid.FixedCols();
  const int to = DoFixedCols ? FGrid.ColCount() - 1 : FGrid.ColCount() - FGrid.FixedRightCols() - 1;
  for (int c = from; c <= to; ++c) AutoSizeCol(c, Padding);
}

// ---------------------------------------------------------------- rows

int TGridAutoSize::RowNeed(int ACol, int ARow) {
  const int r = FGrid.RealColIndex(ACol);
  if (FGrid.IsMergedNonBaseCell(r, ARow)) return 0;
  const TCellGraphic* g = FGrid.GetCellGraphic(r, ARow);
  if (g && IsCheckKind(g->CellType)) return FGrid.DefaultRowHeight();
  CellFont(ACol, ARow, FGrid.ZoomFactor);
  int graphic = g ? FGrid.GetCellGraphicSize(r, ARow).Y : 0;
  CellFont(ACol, ARow, FGrid.ZoomFactor);
  int text = CellTextSize(ACol, ARow, FGrid.WordWrap()).cy;
  if (g) {
    if (g->CellVAlign == vaFull) graphic = text > 0 ? 0 : FGrid.DefaultRowHeight();
    if ((g->CellType == ctDataCheckBox || g->CellType == ctVirtCheckBox) && graphic > 0) text = 0;
  }
  return text + graphic;
}

void TGridAutoSize::AutoSizeRowInternal(int ARow, bool GrowOnly) {
  if (ARow < 0 || ARow >= FGrid.RowCount()) return;
  const bool allShown = FGrid.VisibleRowCount() + FGrid.FixedRows() >= FGrid.RowCount();
  int most = 0;
  for (int c = 0; c < FGrid.ColCount(); ++c) {
    const int r = FGrid.RealColIndex(c);
    if (FGrid.IsYMergedCell(r, ARow) || FGrid.Hiding().IsIgnoredColumn(r)) continue;
    most = std::max(most, RowNeed(c, ARow));
  }
  int height = TotalYOffset() + most + 2 * FGrid.GridLineWidth() + (FGrid.XYOffsetTopLeftOnly ? 2 : 0);
  if (GrowOnly && FGrid.RowHeights(ARow) >= height) return;
  FGrid.SetRowHeights(ARow, LimitValue(height, FGrid.MinRowHeight, FGrid.MaxRowHeight));
  // A row grown while typing may push rows out of view: the editor is placed again, its caret at the end.
  if (allShown && FGrid.EditMode() && FGrid.SizeWhileTyping()->Height &&
      FGrid.VisibleRowCount() + FGrid.FixedRows() < FGrid.RowCount()) {
    FGrid.ShowInplaceEdit();
    if (plat::TInplaceEdit* edit = FGrid.NormalEdit()) edit->SetSelStart(int(edit->Text().size()));
  }
}

void TGridAutoSize::AutoSizeRow(int ARow, int Padding) {
  AutoSizeRowInternal(ARow, FGrid.SizeGrowOnly);
  if (Padding != 0 && ARow >= 0 && ARow < FGrid.RowCount())
    FGrid.SetRowHeights(ARow, LimitValue(FGrid.RowHeights(ARow) + Padding, FGrid.MinRowHeight, FGrid.MaxRowHeight));
}

void TGridAutoSize::AutoSizeRows(bool DoFixedRows, int Padding) {
  if (FGrid.RowCount() == 0) return;
  const int first = DoFixedRows ? 0 : FGrid.FixedRows();
  FGrid.ExportNotification(0, first);
  for (int row = first; row < FGrid.RowCount(); ++row) {
    FGrid.ExportNotification(5, row);
    if (FGrid.WordWrap()) {
      AutoSizeRow(row, Padding);
      continue;
    }
    CellFont(FGrid.FixedCols(), row, 0);
    const int h = FGrid.Canvas()->TextHeight(QStringLiteral("gh"));
    FGrid.SetRowHeights(row, LimitValue(Padding + MaxLinesInRow(row) * (h + h / 8), FGrid.MinRowHeight,
                                        FGrid.MaxRowHeight));
  }
  FGrid.ExportNotification(2, -1);
}

void TGridAutoSize::AutoSizeCells(bool DoFixedCells, int PaddingX, int PaddingY) {
  FGrid.BeginUpdate();
  const int first = DoFixedCells ? 0 : FGrid.FixedRows();
  for (int c = DoFixedCells ? 0 : FGrid.FixedCols(); c < FGrid.ColCount(); ++c) {
    int w = FGrid.SizeGrowOnly ? FGrid.ColWidths(c) : 0;
    for (int row = first; row < FGrid.RowCount(); ++row) {
      const int r = FGrid.RealColIndex(c);
      CellFont(c, row, 0);
      const plat::TPoint gs = FGrid.GetCellGraphicSize(r, row);
      CellFont(c, row, 0);
      const plat::TSize ts = CellTextSize(c, row, false);
      const int needW = ts.cx + gs.X + PaddingX + FGrid.XYOffset().X;
      const int needH = ts.cy + gs.Y + PaddingY + FGrid.XYOffset().Y;
      if (!FGrid.IsXMergedCell(r, row) && w < needW) {
        const int limited = LimitValue(needW, FGrid.MinColWidth, FGrid.MaxColWidth);
        if (limited > w) FGrid.SetColWidths(c, w = limited);
      }
      if (!FGrid.IsYMergedCell(r, row) && FGrid.RowHeights(row) < needH) {
        const int limited = LimitValue(needH, FGrid.MinRowHeight, FGrid.MaxRowHeight);
        if (limited > FGrid.RowHeights(row)) FGrid.SetRowHeights(row, limited);
      }
    }
  }
  FGrid.EndUpdate();
}

// ---------------------------------------------------------------- fitting

void TGridAutoSize::AutoFitColumns(bool DoFixedCells) {
  const bool vert = FGrid.ScrollBarAlways == saVert ||
                    (FGrid.ScrollBars() != plat::ssNone && FGrid.VisibleRowCount() + FGrid.FixedRows() < FGrid.RowCount());
  const int s = vert ? kScrollBarWidth : 0;
  const int b = FGrid.BorderStyle() == plat::bsSingle ? (FGrid.Ctl3D ? 4 : 2) : 0;
  const int from = DoFixedCells ? 0 : FGrid.FixedCols();
  const int to = DoFixedCells ? FGrid.ColCount() - 1 : FGrid.ColCount() - FGrid.FixedRightCols() - 1;
  int w = FGrid.Width();
  if (!DoFixedCells)
    for (int c = 0; c < FGrid.ColCount(); ++c)
      if (c < from || c > to) w -= FGrid.ColWidths(c);
  const plat::TGridOptions o = FGrid.Options();
  int lines = o.Contains(plat::goVertLine) ? FGrid.GridLineWidth() * (FGrid.ColCount() - FGrid.FixedCols() - FGrid.FixedRightCols()) : 0;
  if (o.Contains(plat::goFixedVertLine) && DoFixedCells) lines += FGrid.FixedCols() + FGrid.FixedRightCols();
  if (FGrid.ColCount() < 2) {
    FGrid.SetColWidths(0, FGrid.Width() - s - 5);
    return;
  }
  int sum = 0;
  for (int c = from; c <= to; ++c) sum += FGrid.ColWidths(c);
  if (sum <= 0 || sum == w - s - b) return;
  const double factor = double(w - s - b - lines) / sum;
  long total = 0;
  for (int c = from; c <= to; ++c) total += std::lrint(FGrid.ColWidths(c) * factor);
  std::vector<int> widths;
  for (int c = from; c <= to; ++c) widths.push_back(int(std::lrint(double(FGrid.ColWidths(c)) * total / sum)));
  int newSum = 0;
  for (std::size_t i = 0; i < widths.size(); ++i) FGrid.SetColWidths(from + int(i), widths[i]), newSum += widths[i];
  int remaining = w - (s + b + newSum);
  const int n = to - from + 1;
  if (n >= 2 && n < remaining) {
    for (int c = from; c <= to; ++c) FGrid.SetColWidths(c, FGrid.ColWidths(c) + remaining / n);
    remaining %= n;
  }
  int widest = from;
  for (int c = from; c <= to; ++c)
    if (FGrid.ColWidths(c) > FGrid.ColWidths(widest)) widest = c;
  FGrid.SetColWidths(widest, FGrid.ColWidths(widest) + remaining);
}

void TGridAutoSize::SizeToCols() {
  int w = 0;
  for (int c = 0; c < FGrid.ColCount(); ++c) w += FGrid.ColWidths(c);
  FGrid.SetClientWidth(w);
}

void TGridAutoSize::SizeToRows() {
  int h = 0;
  for (int r = 0; r < FGrid.RowCount(); ++r) h += FGrid.RowHeights(r);
  FGrid.SetClientHeight(h);
}

void TGridAutoSize::SizeToCells() {
  const plat::TScrollStyle bars = FGrid.ScrollBars();
  FGrid.SetScrollBars(plat::ssNone);
  SizeToCols();
  SizeToRows();
  FGrid.SetScrollBars(bars);
}

// ---------------------------------------------------------------- numbering

// Numbers the cells First..Last (skipping Start of them at the start, or at the end when descending).
void TGridAutoSize::Number(int First, int Last, const std::function<void(int, int)>& Set) {
  const int start = FGrid.AutoNumberStart, base = FGrid.AutoNumberStart + FGrid.AutoNumberOffset + 1;
  if (FGrid.AutoNumberDirection == sdDescending) {
    for (int k = 0, i = Last - start; i >= First; ++k, --i) Set(i, base + k);
    return;
  }
  for (int k = 0, i = First + start; i <= Last; ++k, ++i) Set(i, base + k);
}

void TGridAutoSize::AutoNumberCol(int ACol) {
  if (FGrid.RowCount() == 0) return;
  Number(FGrid.FixedRows(), FGrid.RowCount() - FGrid.FixedFooters() - 1,
         [&](int Row, int N) { FGrid.SetInts(ACol, Row, N); });
}

void TGridAutoSize::AutoNumberRow(int ARow) {
  if (FGrid.ColCount() == 0) return;
  Number(FGrid.FixedCols(), FGrid.ColCount() - FGrid.FixedRightCols() - 1,
         [&](int Col, int N) { FGrid.SetInts(Col, ARow, N); });
}

}  // namespace grid
