#include "grid/print/print_engine.h"

#include <algorithm>
#include <cmath>

#include "grid/data/grid_data_host.h"
#include "grid/print/print_layout.h"
#include "platform/graphics/canvas.h"

namespace grid {

TPrintEngine::TPrintEngine(TPrintHost& Host, TPrintSettings& Settings, TPrintEvents& Events)
    : FHost(Host), FSettings(Settings), FEvents(Events) {
  FFontStore[0] = std::make_unique<plat::TFont>();
  FFontStore[1] = std::make_unique<plat::TFont>();
  FLooksFont = FFontStore[0].get();
  FCellFont = FFontStore[1].get();
}

TPrintEngine::~TPrintEngine() = default;

int TPrintEngine::MapFontHeight(int PointSize) const { return grid::MapFontHeight(PointSize, FScale); }

// Fonts, margins and the paper factor of a run.
void TPrintEngine::Setup(plat::TCanvas& Canvas) {
  FCanvas = &Canvas;
  FScale = 1.0;
  plat::TPen* pen = Canvas.Pen();
  pen->SetColor(plat::clBlack);
  pen->SetStyle(FSettings.BorderStyle);
  pen->SetWidth(FSettings.Borders == pbDouble ? 10 : 2);
  const auto lineHeight = [&](plat::TFont* Font) {
    plat::TFont f;
    f.Assign(*Font);
    f.SetHeight(MapFontHeight(Font->Size()));
    Canvas.SetFont(f);
    return Canvas.TextHeight(QStringLiteral("gh"));
  };
  FHeaderLine = lineHeight(FSettings.HeaderFont());
  FFooterLine = lineHeight(FSettings.FooterFont());
  FTextHeight = lineHeight(FSettings.Font());
  FM8 = FTextHeight / 8;
  FMX = Canvas.TextWidth(QStringLiteral("g")) / 2;
  FPaper = 254.0 / std::max(1, FHost.ScreenDotsPerInch());
  FSpacing = FSettings.UseFixedWidth ? 0 : FSettings.ColumnSpacing + 20;
}

bool TPrintEngine::RowPrinted(int ARow) const {
  if (!FRun.SelectedOnly) return true;
  if (FSettings.FixedCellsAlways && ARow < FHost.FixedRows()) return true;
  return FHost.RowPrintSelected(ARow);
}

// The printed columns, their widths (measured, fixed or from the screen) and the fixed columns that repeat.
void TPrintEngine::MeasureColumns() {
  const plat::TRect& cells = FRun.Cells;
  FCols.clear();
  FFixed.clear();
  for (int c = cells.Left; c <= cells.Right; ++c) {
    const bool fixed = FSettings.FixedCellsAlways && c < FHost.FixedCols();
    if (!FRun.SelectedOnly || fixed || FHost.ColPrintSelected(c)) FCols.push_back(c);
  }
  if (FSettings.RepeatFixedCols)
    for (int c = 0; c < FHost.FixedCols() && c < FHost.ColCount(); ++c) FFixed.push_back(c);
  const int colCount = std::max(FHost.ColCount(), cells.Right + 1);
  FWidths.assign(colCount, 0);
  FIndents.assign(colCount, 0);
  std::vector<int> measured = FCols;
  for (int c : FFixed)
    if (std::find(measured.begin(), measured.end(), c) == measured.end()) measured.push_back(c);
  std::vector<int> rows;
  if (FSettings.RepeatFixedRows)
    for (int r = 0; r < FHost.FixedRows() && r < cells.Top; ++r) rows.push_back(r);
  for (int r = cells.Top; r <= cells.Bottom; ++r)
    if (RowPrinted(r)) rows.push_back(r);
  for (int c : measured) {
    int w = 0;
    if (FSettings.UseFixedWidth) {
      w = FSettings.FixedWidth;
    } else if (FSettings.NoAutoSize) {
      w = RoundEven(FHost.ColWidth(c) * FPaper);
    } else {
      for (int r : rows) {
        if (FHost.CellSpan(c, r).X > 0 || !FHost.IsBaseCell(c, r)) continue;  // merged across columns
        w = std::max(w, MeasureCell(c, r).cx);
      }
    }
    FWidths[c] = w;
  }
}

void TPrintEngine::FitToPage() {
  if (FSettings.FitToPage == fpNever || FCols.empty()) return;
  const int n = int(FCols.size());
  long long total = 0;
  for (int c : FCols) total += FWidths[c] + FSpacing;
  const long long spacing = (long long)n * FSpacing;
  if (total == spacing) return;
  double factor = double(FPageW - FSettings.RightSize - FSettings.LeftSize - spacing) / double(total - spacing);
  bool allow = true;
  if (FSettings.FitToPage == fpCustom && FEvents.OnFitToPage) FEvents.OnFitToPage(factor, allow);
  if ((FSettings.FitToPage == fpShrink && factor > 1) || (FSettings.FitToPage == fpGrow && factor < 1) ||
      (FSettings.FitToPage == fpCustom && !allow) || factor <= 0)
    factor = 1;
  if (factor == 1) return;
  for (int& w : FWidths) w = int(w * factor);
  FScale = factor;
  // Rows are measured in the scaled fonts.
  FRowHeights.assign(FRowHeights.size(), -1);
}

// Bands of whole columns that fit across the page after the repeated fixed columns; at least one column each.
void TPrintEngine::MakeBands() {
  FBands.clear();
  const int start = FSettings.Centered ? 0 : FSettings.LeftSize;
  const int avail = FPageW - FSettings.RightSize;
  int fixedWidth = 0;
  for (int c : FFixed) fixedWidth += FWidths[c] + FSpacing;
  size_t i = 0;
  while (i < FCols.size()) {
    // Fixed columns repeat wherever the band does not hold them itself.
    const bool repeat = !FFixed.empty() && FCols[i] >= int(FFixed.size());
    int x = start + (repeat ? fixedWidth : 0) + FWidths[FCols[i]] + FSpacing;
    size_t j = i + 1;
    while (j < FCols.size() && x + FWidths[FCols[j]] + FSpacing <= avail) x += FWidths[FCols[j++]] + FSpacing;
    FBands.push_back(TBand{int(i), int(j) - 1, repeat});
    i = j;
  }
}

// Left positions of a band's columns: the repeated fixed columns leftmost, the whole centred when asked.
void TPrintEngine::PlaceBand(const TBand& Band) {
  int x = FSettings.Centered ? 0 : FSettings.LeftSize;
  const int start = x;
  if (Band.Repeat)
    for (int c : FFixed) FIndents[c] = x, x += FWidths[c] + FSpacing;
  for (int i = Band.First; i <= Band.Last; ++i) FIndents[FCols[i]] = x, x += FWidths[FCols[i]] + FSpacing;
  FBandWidth = x - start;
  if (FSettings.Centered && FBandWidth < FPageW) {
    const int shift = (FPageW - FBandWidth) / 2;
    if (Band.Repeat)
      for (int c : FFixed) FIndents[c] += shift;
    for (int i = Band.First; i <= Band.Last; ++i) FIndents[FCols[i]] += shift;
  }
  FBandFirst = FCols[Band.First];
  FBandLast = FCols[Band.Last];
}

void TPrintEngine::HeaderFooterSpace() {
  const TPrintSettings& s = FSettings;
  const auto top = [](TPrintPosition p) { return p >= ppTopLeft && p <= ppTopCenter; };
  const auto bottom = [](TPrintPosition p) { return p >= ppBottomLeft && p <= ppBottomCenter; };
  const int extraTitle = std::max(0, FSettings.TitleLines()->Count() - 1);
  FTopSpace = s.HeaderSize;
  if (top(s.Time) || top(s.Date) || top(s.PageNr) || top(s.Title)) FTopSpace += FM8 + FHeaderLine;
  if (top(s.Title)) FTopSpace += extraTitle * FHeaderLine;
  const bool anyBottom = bottom(s.Time) || bottom(s.Date) || bottom(s.PageNr) || bottom(s.Title);
  FBottomSpace = (anyBottom ? 2 : 1) * (FM8 + FFooterLine) + s.FooterSize;
  if (bottom(s.Title)) FBottomSpace += extraTitle * FFooterLine;
}

int TPrintEngine::Execute(plat::TCanvas& Canvas, const TPrintRun& Run) {
  FRun = Run;
  FPageW = Run.PageWidth;
  FPageH = Run.PageHeight;
  FPageRect = plat::TRect(0, 0, FPageW, -FPageH);
  FPagesBegun = false;
  Setup(Canvas);
  FRowHeights.assign(std::max(FHost.RowCount(), Run.Cells.Bottom + 1), -1);
  MeasureColumns();
  FitToPage();
  if (FEvents.OnPrintSetColumnWidth)
    for (int c = Run.Cells.Left; c <= Run.Cells.Right; ++c) FEvents.OnPrintSetColumnWidth(c, FWidths[c]);
  MakeBands();
  HeaderFooterSpace();
  int pageIndex = 0;
  bool cancel = false;
  for (size_t b = 0; b < FBands.size() && !cancel; ++b) LayoutBand(b, pageIndex, cancel);
  return pageIndex;
}

}  // namespace grid
