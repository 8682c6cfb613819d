// The print engine's drawing: cells (fill, text, lines), the header and footer, and the frames of a page.
#include <QRegularExpression>

#include <algorithm>

#include "grid/print/print_engine.h"
#include "grid/print/print_layout.h"
#include "platform/graphics/canvas.h"
#include "platform/rtl/datetime.h"

namespace grid {

namespace {

QStringList Lines(const QString& Text, bool MultiLine) {
  static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
  if (!MultiLine) return {Text};
  return Text.split(breaks);
}

bool IsTop(TPrintPosition P) { return P >= ppTopLeft && P <= ppTopCenter; }
bool IsLeft(TPrintPosition P) { return P == ppTopLeft || P == ppBottomLeft; }
bool IsRight(TPrintPosition P) { return P == ppTopRight || P == ppBottomRight; }

}  // namespace

void TPrintEngine::DrawRow(int ARow, int Y, const TBand& Band) {
  const int bottomLimit = -FPageH + FBottomSpace;
  // Only a row taller than the page reaches into the bottom space: it is cut off there.
  const bool clip = Y - PrintedHeight(ARow) < bottomLimit;
  if (clip) {
    FCanvas->SaveDC();
    FCanvas->IntersectClipRect(plat::TRect(0, Y, FPageW, bottomLimit));
  }
  const int bandRight = FIndents[FBandLast] + FWidths[FBandLast] + FSpacing;
  if (Band.Repeat)
    for (int c : FFixed) DrawCell(c, ARow, Y, bandRight);
  for (int i = Band.First; i <= Band.Last; ++i) DrawCell(FCols[i], ARow, Y, bandRight);
  if (clip) FCanvas->RestoreDC(-1);
}

void TPrintEngine::DrawCell(int ACol, int ARow, int Y, int BandRight) {
  if (!FHost.IsBaseCell(ACol, ARow)) return;  // its base cell draws it
  const plat::TPoint span = FHost.CellSpan(ACol, ARow);
  int right = FIndents[ACol] + FWidths[ACol] + FSpacing;
  for (int k = 1; k <= span.X && ACol + k < int(FWidths.size()); ++k) right += FWidths[ACol + k] + FSpacing;
  int height = PrintedHeight(ARow);
  for (int k = 1; k <= span.Y; ++k) {
    const int h = int((FHost.RowHeight(ARow + k) - 4) * FPaper);
    height += h + h / 8 + 2 * FM8 + FSettings.RowSpacing;
  }
  const plat::TRect r(FIndents[ACol], Y, std::min(right, BandRight), Y - height);
  TPrintCellLooks looks;
  SelectCellFont(ACol, ARow, looks);
  plat::TBrush* brush = FCanvas->Brush();
  if (looks.ColorTo != plat::clNone && looks.Color != plat::clNone) {
    // Bands from the top of the cell to its bottom.
    const int steps = 64;
    const int h = r.Top - r.Bottom;
    for (int k = 0; k < steps; ++k) {
      const auto mix = [&](int shift) {
        const int a = (looks.Color >> shift) & 0xFF, b = (looks.ColorTo >> shift) & 0xFF;
        return (a + (b - a) * k / (steps - 1)) << shift;
      };
      brush->SetColor(plat::TColor(mix(0) | mix(8) | mix(16)));
      FCanvas->FillRect(plat::TRect(r.Left, r.Top - h * k / steps, r.Right, r.Top - h * (k + 1) / steps));
    }
  } else if (looks.Color != plat::clNone) {
    brush->SetColor(looks.Color);
    FCanvas->FillRect(r);
  }
  brush->SetStyle(plat::bsClear);
  DrawCellText(ACol, ARow, r, looks);
  DrawCellLines(ACol, ARow, r);
}

void TPrintEngine::DrawCellText(int ACol, int ARow, const plat::TRect& R, const TPrintCellLooks& Looks) {
  const QString text = FHost.PrintText(ACol, ARow);
  if (text.isEmpty()) return;
  const int angle = FHost.PrintAngle(ACol, ARow);
  const int height = R.Top - R.Bottom;
  if (Looks.WordWrap && FSettings.NoAutoSize && angle == 0) {
    plat::TRect tr(R.Left + RoundEven(2 * FPaper) + FMX, R.Top - FM8, R.Right - FMX, R.Bottom);
    const unsigned align = Looks.HAlign == plat::taRightJustify ? plat::DT_RIGHT
                           : Looks.HAlign == plat::taCenter     ? plat::DT_CENTER
                                                                 : plat::DT_LEFT;
    FCanvas->DrawText(text, tr, plat::DT_WORDBREAK | plat::DT_NOPREFIX | plat::DT_EXPANDTABS | align);
    return;
  }
  const QStringList lines = Lines(text, FHost.MultiLineCells());
  const auto xFor = [&](int w) {
    if (Looks.HAlign == plat::taRightJustify) return R.Right - FMX - w;
    if (Looks.HAlign == plat::taCenter) return R.Left + FMX + (R.Right - R.Left - 2 * FMX - w) / 2;
    return R.Left + FMX;
  };
  if (angle != 0) {
    int w = 0;
    for (const QString& line : lines) w = std::max(w, FCanvas->TextWidth(line));
    const int lh = FCanvas->TextHeight(QStringLiteral("gh")) + FSettings.RowSpacing;
    // Placed in a box measured downwards from the row top, then turned into positions down the page.
    const plat::TRect box(R.Left, FMX, R.Right, height - FMX);
    const int ha = Looks.HAlign == plat::taRightJustify ? 1 : Looks.HAlign == plat::taCenter ? 2 : 0;
    const int va = Looks.VAlign == vtaBottom ? 2 : Looks.VAlign == vtaCenter ? 1 : 0;
    const plat::TPoint o = AlignRotatedText(box, plat::TSize(w, lh + lh / 8), angle, ha, va, false);
    FCanvas->Font()->SetOrientation(angle * 10);
    FCanvas->TextRect(R, o.X, R.Top - o.Y, lines.join(u' '));
    FCanvas->Font()->SetOrientation(0);
    return;
  }
  const int gh = FCanvas->TextHeight(QStringLiteral("gh"));
  if (lines.size() == 1) {
    const int y = Looks.VAlign == vtaBottom   ? R.Bottom + FM8 + gh
                  : Looks.VAlign == vtaCenter ? R.Top - (height - gh) / 2
                                              : R.Top - FM8;
    FCanvas->TextRect(R, xFor(FCanvas->TextWidth(text)), y, text);
    return;
  }
  const int pitch = gh + FSettings.RowSpacing;
  const int step = pitch + pitch / 8 - FSettings.RowSpacing;
  const int n = int(lines.size());
  int y = R.Top - FM8;
  if (Looks.VAlign == vtaCenter) y -= (height - step * n) / 2;
  if (Looks.VAlign == vtaBottom) y -= height - step * n;
  for (const QString& line : lines) {
    FCanvas->TextRect(R, xFor(FCanvas->TextWidth(line)), y, line);
    y -= step;
  }
}

void TPrintEngine::DrawCellLines(int ACol, int ARow, plat::TRect R) {
  TCellBorders sides;
  switch (FSettings.Borders) {
    case pbSingle:
    case pbDouble: sides = TCellBorders{cbTop, cbLeft, cbRight, cbBottom}; break;
    case pbHorizontal:
    case pbAroundHorizontal: sides = TCellBorders{cbTop, cbBottom}; break;
    case pbVertical:
    case pbAroundVertical: sides = TCellBorders{cbLeft, cbRight}; break;
    default: break;
  }
  plat::TPen* pen = FCanvas->Pen();
  pen->SetColor(FSettings.BorderColor);
  pen->SetStyle(FSettings.BorderStyle);
  // Paper lines are as wide as a screen pixel; the preview keeps the thinnest line.
  pen->SetWidth(FRun.Mode == pmPrint ? std::max(1, RoundEven(FPaper)) : 1);
  if (FEvents.OnGetCellPrintBorder) FEvents.OnGetCellPrintBorder(ACol, ARow, *pen, sides);
  if (sides.Empty()) return;
  const auto line = [&](int x1, int y1, int x2, int y2) {
    FCanvas->MoveTo(x1, y1);
    FCanvas->LineTo(x2, y2);
  };
  if (sides.Contains(cbTop)) line(R.Left, R.Top, R.Right, R.Top);
  if (sides.Contains(cbBottom)) line(R.Left, R.Bottom, R.Right, R.Bottom);
  if (sides.Contains(cbLeft)) line(R.Left, R.Top, R.Left, R.Bottom);
  if (sides.Contains(cbRight)) line(R.Right, R.Top, R.Right, R.Bottom);
}

QString TPrintEngine::PageNumberText(int PageIndex, int PageInBand, int BandNo) const {
  QString number;
  if (FBands.size() > 1) {
    number = QString::number(PageInBand + 1) + u'-' + QString::number(BandNo + 1);
  } else {
    number = QString::number(PageIndex + 1 + FSettings.PageNumberOffset);
    if (!FSettings.PageNumSep.isEmpty() && FRun.PageCount > 1)
      number += FSettings.PageNumSep + QString::number(FRun.PageCount + FSettings.MaxPagesOffset);
  }
  QString s = FSettings.PagePrefix + u' ' + number + u' ' + FSettings.PageSuffix;
  if (FEvents.OnPrintGetPageNum) FEvents.OnPrintGetPageNum(PageInBand + 1, BandNo + 1, s);
  return s;
}

void TPrintEngine::DrawHeaderFooter(int PageIndex, int PageInBand, int BandNo) {
  const TPrintSettings& s = FSettings;
  QString texts[ppBottomCenter + 1];
  const auto add = [&](TPrintPosition P, const QString& Part) {
    if (P == ppNone || Part.isEmpty()) return;
    QString& t = texts[P];
    // At the left positions a later part goes in front.
    t = t.isEmpty() ? Part : IsLeft(P) ? Part + u' ' + t : t + u' ' + Part;
  };
  const plat::TDateTime now = plat::Now();
  add(s.Time, plat::FormatDateTime(QStringLiteral("hh:nn"), now));
  add(s.Date, plat::FormatDateTime(s.DateFormat, now));
  add(s.PageNr, PageNumberText(PageIndex, PageInBand, BandNo));
  const bool fromLines = s.TitleText.isEmpty() && FSettings.TitleLines()->Count() > 0;
  add(s.Title, fromLines ? FSettings.TitleLines()->Strings(0) : s.TitleText);
  const int extra = fromLines ? FSettings.TitleLines()->Count() - 1 : 0;
  plat::TFont f;
  for (int p = ppTopLeft; p <= ppBottomCenter; ++p) {
    if (texts[p].isEmpty()) continue;
    const auto pos = TPrintPosition(p);
    const bool top = IsTop(pos);
    const plat::TFont* src = top ? FSettings.HeaderFont() : FSettings.FooterFont();
    f.Assign(*src);
    f.SetHeight(MapFontHeight(src->Size()));
    FCanvas->SetFont(f);
    FCanvas->Brush()->SetStyle(plat::bsClear);
    const int lh = top ? FHeaderLine : FFooterLine;
    const int titleLines = pos == s.Title ? extra : 0;
    // Footer lines start high enough that the title's further lines stay on the page.
    int y = top ? -s.HeaderSize : -FPageH + s.FooterSize + FFooterLine * (1 + titleLines) + FM8;
    const auto out = [&](const QString& Text) {
      const int w = FCanvas->TextWidth(Text);
      const int x = IsLeft(pos) ? s.LeftSize : IsRight(pos) ? FPageW - s.RightSize - 20 - w : (FPageW - w) / 2;
      FCanvas->TextOut(x, y, Text);
      y -= lh;
    };
    out(texts[p]);
    for (int i = 1; i <= titleLines; ++i) out(FSettings.TitleLines()->Strings(i));
  }
}

void TPrintEngine::DrawFrame(const TBand& Band, int Bottom) {
  const TPrintBorders b = FSettings.Borders;
  const int left = Band.Repeat ? FIndents[FFixed.front()] : FIndents[FCols[Band.First]];
  const int right = FIndents[FBandLast] + FWidths[FBandLast] + FSpacing;
  const int top = -FTopSpace - FSettings.TitleSpacing;
  const int bottom = Bottom + FM8 / 2;
  plat::TPen* pen = FCanvas->Pen();
  pen->SetColor(plat::clBlack);
  pen->SetStyle(FSettings.BorderStyle);
  pen->SetWidth(b == pbDouble ? 10 : 2);
  const auto line = [&](int x1, int y1, int x2, int y2) {
    FCanvas->MoveTo(x1, y1);
    FCanvas->LineTo(x2, y2);
  };
  const bool around = b == pbAround || b == pbAroundVertical || b == pbAroundHorizontal;
  if (around) {
    line(left, top, right, top);
    line(right, top, right, bottom);
    line(left, top, left, bottom);
  }
  if (around || b == pbDouble || b == pbHorizontal) line(left, bottom, right, bottom);
  if (Band.Repeat && (b == pbDouble || b == pbVertical || b == pbAroundVertical))
    for (int c : FFixed) line(FIndents[c], top, FIndents[c], bottom);
}

}  // namespace grid
