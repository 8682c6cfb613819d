// The print engine's pages: rows placed down each page of a band, their heights and the cells' measures.
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

#include "grid/print/print_engine.h"
#include "platform/graphics/canvas.h"

namespace grid {

namespace {

QStringList CellLines(const QString& Text, bool MultiLine) {
  static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
  if (!MultiLine) return {Text};
  return Text.split(breaks);
}

}  // namespace

// The cell's looks with its print font set on the canvas at the printed height.
void TPrintEngine::SelectCellFont(int ACol, int ARow, TPrintCellLooks& Looks) {
  const bool fixed = ACol < FHost.FixedCols() || ARow < FHost.FixedRows();
  FLooksFont->Assign(fixed ? *FSettings.FixedFont() : *FSettings.Font());
  Looks.Font = FLooksFont;
  FHost.PrintLooks(ACol, ARow, Looks);
  FCellFont->Assign(*Looks.Font);
  FCellFont->SetHeight(MapFontHeight(Looks.Font->Size()));
  if (!FCanvas->Font()->IsEqual(*FCellFont)) FCanvas->SetFont(*FCellFont);
}

plat::TSize TPrintEngine::MeasureCell(int ACol, int ARow) {
  TPrintCellLooks looks;
  SelectCellFont(ACol, ARow, looks);
  QString text = FHost.PrintText(ACol, ARow);
  if (text.isEmpty()) text = QStringLiteral("gh");
  const QStringList lines = CellLines(text, FHost.MultiLineCells());
  int w = 0;
  for (const QString& line : lines) w = std::max(w, FCanvas->TextWidth(line));
  int h = FCanvas->TextHeight(QStringLiteral("gh")) * int(lines.size());
  const int angle = FHost.PrintAngle(ACol, ARow);
  if (looks.WordWrap && FSettings.NoAutoSize && angle == 0) {
    plat::TRect r(0, 0, std::max(1, FWidths[ACol]), 0);
    FCanvas->DrawText(text, r, plat::DT_CALCRECT | plat::DT_WORDBREAK | plat::DT_NOPREFIX | plat::DT_EXPANDTABS);
    h = r.Top - r.Bottom;
  }
  if (angle != 0) {
    const double a = angle * M_PI / 180.0;
    const int rw = int(std::fabs(w * std::cos(a)) + std::fabs(h * std::sin(a)));
    const int rh = int(std::fabs(w * std::sin(a)) + std::fabs(h * std::cos(a)));
    w = rw, h = rh;
  }
  return plat::TSize(w, h);
}

// The bare height of a row (without margins and spacing), measured once per run.
int TPrintEngine::RowHeight(int ARow) {
  if (ARow < 0) return 0;
  if (ARow >= int(FRowHeights.size())) FRowHeights.resize(ARow + 1, -1);
  if (FRowHeights[ARow] >= 0) return FRowHeights[ARow];
  int h;
  if (FSettings.NoAutoSizeRow) {
    h = RoundEven(FHost.RowHeight(ARow) * FPaper) - 4;
  } else if (FSettings.UseFixedHeight) {
    h = FSettings.FixedHeight;
  } else {
    int most = -1, last = 0;
    for (int c : FCols) {
      last = MeasureCell(c, ARow).cy;
      if (FHost.CellSpan(c, ARow).Y > 0 || !FHost.IsBaseCell(c, ARow)) continue;  // merged across rows
      most = std::max(most, last);
    }
    if (most < 0) most = last;
    h = most + most / 8;
  }
  if (FEvents.OnPrintSetRowHeight) FEvents.OnPrintSetRowHeight(ARow, h);
  return FRowHeights[ARow] = std::max(0, h);
}

// The pages of one band. A row that does not fit below the rows already on a page starts the next page; a row
// taller than an empty page is placed on it all the same, clipped at the page bottom, so the print always ends.
int TPrintEngine::LayoutBand(size_t BandIndex, int& PageIndex, bool& Cancel) {
  const TBand& band = FBands[BandIndex];
  PlaceBand(band);
  const plat::TRect& cells = FRun.Cells;
  const int bottomLimit = -FPageH + FBottomSpace;
  const bool selRows = cells.Top > FHost.FixedRows() || cells.Bottom < FHost.RowCount() - 1 - FHost.FixedFooters();
  const int first = PageIndex;
  int row = cells.Top;
  for (int pageInBand = 0;; ++pageInBand) {
    while (row <= cells.Bottom && !RowPrinted(row)) ++row;
    if (row > cells.Bottom && pageInBand > 0) break;
    const bool draw = Drawing() && InRange(PageIndex);
    if (draw) {
      if (FRun.Mode == pmPrint && FPagesBegun && FRun.NewPage) FRun.NewPage();
      FPagesBegun = true;
      if (FEvents.OnPrintPage) FEvents.OnPrintPage(*FCanvas, PageIndex + 1, FPageW, FPageH);
      DrawHeaderFooter(PageIndex, pageInBand, int(BandIndex));
    }
    TPrintedPage* rec = FRun.Pages ? &FRun.Pages->emplace_back() : nullptr;
    int y = -FTopSpace - FSettings.TitleSpacing;
    // Fixed rows head every page that does not hold them itself.
    if (FSettings.RepeatFixedRows && row >= FHost.FixedRows() && row <= cells.Bottom) {
      for (int r = 0; r < FHost.FixedRows(); ++r) {
        if (draw) DrawRow(r, y, band);
        y -= PrintedHeight(r);
        if (rec) rec->Rows.push_back(r);
      }
    }
    bool placed = false, newPage = false;
    while (row <= cells.Bottom && !newPage) {
      if (!RowPrinted(row)) {
        ++row;
        continue;
      }
      if (placed && y - RowHeight(row) <= bottomLimit) break;
      FHost.ExportNotification(selRows ? esExportSelRow : esExportNewRow, row);
      if (draw) DrawRow(row, y, band);
      y -= PrintedHeight(row);
      placed = true;
      if (rec) rec->Rows.push_back(row);
      ++row;
      if (FEvents.OnPrintNewPage) FEvents.OnPrintNewPage(row, newPage);
    }
    if (draw) {
      DrawFrame(band, std::max(y, bottomLimit));
      if (FEvents.OnPrintPageDone) FEvents.OnPrintPageDone(*FCanvas, row, y, PageIndex + 1, FPageW, FPageH);
    }
    if (Drawing() && FEvents.OnPrintCancel) FEvents.OnPrintCancel(PageIndex + 1, Cancel);
    if (rec) {
      rec->Number = PageIndex + 1;
      rec->Band = int(BandIndex);
      rec->FirstCol = FBandFirst, rec->LastCol = FBandLast;
      rec->RepeatedCols = band.Repeat;
      rec->Bottom = y;
      rec->Left = band.Repeat ? FIndents[FFixed.front()] : FIndents[FCols[band.First]];
      rec->Right = rec->Left + FBandWidth;
    }
    ++PageIndex;
    // With a fast print nothing was counted: the run ends after the last page asked for.
    if (FRun.FastPrint && PageIndex >= FRun.PageTo) Cancel = true;
    if (Cancel || row > cells.Bottom) break;
  }
  return PageIndex - first;
}

}  // namespace grid
