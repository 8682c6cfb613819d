#include "grid/print/print_layout.h"

#include <QRegularExpression>

#include <cmath>
#include <cstdlib>

#include "grid/data/grid_data_host.h"

namespace grid {

int MapFontHeight(int PointSize, double FontScale) {
  return -static_cast<int>(std::trunc(PointSize * 254.0 / 72.0 * FontScale));
}

int MapFontSize(int Height) { return static_cast<int>(std::trunc(Height * 72.0 / 254.0)); }

plat::TPoint AlignRotatedText(const plat::TRect& Rect, plat::TSize Extent, int Angle, int HAlign, int VAlign,
                              bool Shrink) {
  const int inset = Shrink ? 2 : 0;
  const int L = Rect.Left + inset, R = Rect.Right - inset, T = Rect.Top + inset, Bo = Rect.Bottom - inset;
  const double rad = Angle * M_PI / 180.0;
  const int w = Extent.cx, h = Extent.cy;
  const int A = int(std::trunc(std::fabs(h * std::cos(rad)))), B = int(std::trunc(std::fabs(w * std::sin(rad))));
  const int C = int(std::trunc(std::fabs(h * std::sin(rad)))), D = int(std::trunc(std::fabs(w * std::cos(rad))));
  const int height = Bo - T;
  int x, y;
  // One row per quadrant: x for left, right, centre; y for top, bottom, centre.
  if (Angle <= 90) {
    x = HAlign == 0 ? L : HAlign == 1 ? R - D - C : L + (R - L - C - D) / 2;
    y = VAlign == 0 ? T + B : VAlign == 2 ? Bo - A : T + B - (A + B - height) / 2;
  } else if (Angle <= 180) {
    x = HAlign == 0 ? L + D : HAlign == 1 ? R - C : R - (C + R - L - D) / 2;
    y = VAlign == 0 ? T + A + B : VAlign == 2 ? Bo : T + A + B - (A + B - height) / 2;
  } else if (Angle <= 270) {
    x = HAlign == 0 ? L + C + D : HAlign == 1 ? R : R - (R - L - C - D) / 2;
    y = VAlign == 0 ? T + A : VAlign == 2 ? Bo - B : T + A - (A + B - height) / 2;
  } else {
    x = HAlign == 0 ? L + C : HAlign == 1 ? R - D : L + (C + R - L - D) / 2;
    y = VAlign == 0 ? T : VAlign == 2 ? Bo - A - B : T - (A + B - height) / 2;
  }
  return plat::TPoint(x, y);
}

int MaxColTextLength(TGridDataHost& Host, int ACol) {
  static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
  int most = 0;
  for (int r = 0; r < Host.RowCount(); ++r) {
    QString s;
    Host.SaveCell(ACol, r, s);
    for (const QString& line : s.split(breaks)) most = std::max(most, int(line.size()));
  }
  return most;
}

}  // namespace grid
