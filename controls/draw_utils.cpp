#include "controls/draw_utils.h"

#include <QFile>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <vector>

#include "platform/graphics/classic.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/themes.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/format.h"
#include "platform/rtl/math.h"
#include "platform/rtl/strutils.h"

using namespace plat;

namespace controls {

namespace {

int Clamp255(int64_t v) { return int(std::clamp<int64_t>(v, 0, 255)); }

void SetBrushAndPen(TCanvas& c, TColor colour) {
  c.Brush()->SetStyle(bsSolid);
  c.Brush()->SetColor(colour);
  c.Pen()->SetStyle(psSolid);
  c.Pen()->SetColor(colour);
}

void Line(TCanvas& c, int x1, int y1, int x2, int y2) {
  c.MoveTo(x1, y1);
  c.LineTo(x2, y2);
}

const TColorTone& ToneOfState(const TColorTones& t, int state) {
  switch (state) {
    case 1: return t.Hover;
    case 2: return t.Selected;
    case 3: return t.Disabled;
    default: return t.Background;
  }
}

// Draws a theme part through the theme table; false when styles are off (the caller then draws classic).
bool DrawThemed(TCanvas& c, TThemeWindow wnd, const char* cls, int part, int state, const TRect& r) {
  TThemeLibrary& lib = XPVS();
  if (!lib.Loaded || !lib.OpenThemeData) return false;
  const HTHEME theme = lib.OpenThemeData(wnd, QString::fromLatin1(cls));
  if (theme == 0) return false;
  lib.DrawThemeBackground(theme, &c, part, state, r, nullptr);
  lib.CloseThemeData(theme);
  return true;
}

void Triangle(TCanvas& c, TPoint a, TPoint b, TPoint d, TColor colour) {
  SetBrushAndPen(c, colour);
  const TPoint pts[] = {a, b, d};
  c.Polygon(pts);
}

}  // namespace

// ---- colour computations -------------------------------------------------------------------------------------

TColor DarkenColorHalf(TColor Color) {
  const TColor c = ColorToRGB(Color);
  return RGB(GetRValue(c) / 2, GetGValue(c) / 2, GetBValue(c) / 2);
}

TColor ChangeColorPercent(TColor Color, int Percent) {
  const TColor c = ColorToRGB(Color);
  auto ch = [&](int v) { return Clamp255(Round(v + Percent * v / 100.0)); };
  return RGB(ch(GetRValue(c)), ch(GetGValue(c)), ch(GetBValue(c)));
}

TColor InterpolateColorAt(TColor FromColor, TColor ToColor, int Min, int Max, int Offset) {
  if (ToColor == clNone || Max == Min) return FromColor;
  const TColor f = ColorToRGB(FromColor);
  const TColor t = ColorToRGB(ToColor);
  auto ch = [&](int a, int b) { return Clamp255(a + Round(double(b - a) / (Max - Min) * Offset)); };
  return RGB(ch(GetRValue(f), GetRValue(t)), ch(GetGValue(f), GetGValue(t)), ch(GetBValue(f), GetBValue(t)));
}

QString ColorToHTMLHex(TColor Color) {
  return QStringLiteral("%1%2%3")
      .arg(GetRValue(Color), 2, 16, QChar(u'0'))
      .arg(GetGValue(Color), 2, 16, QChar(u'0'))
      .arg(GetBValue(Color), 2, 16, QChar(u'0'))
      .toUpper();
}

// ---- canvas painters ---------------------------------------------------------------------------------------

void FillGradientBands(TCanvas& Canvas, TColor FromColor, TColor ToColor, int Steps, TRect Rect, bool Horizontal) {
  if (Rect.Top == Rect.Bottom) return;
  if (Rect.Bottom < Rect.Top) std::swap(Rect.Top, Rect.Bottom);
  if (FromColor == clNone || ToColor == clNone) {
    const TColor solid = ToColor == clNone ? FromColor : ToColor;
    if (solid == clNone) return;
    SetBrushAndPen(Canvas, solid);
    Canvas.Rectangle(Rect);
    return;
  }
  const TColor f = ColorToRGB(FromColor);
  const TColor t = ColorToRGB(ToColor);
  const int span = (Horizontal ? Rect.Width() : Rect.Height()) - 1;
  Steps = std::max(1, std::min(Steps, span));
  const double band = double(span) / Steps;
  // Each band is filled with the brush alone: a rectangle outlined in its own fill colour covers the same
  // pixels, and a plain fill costs far less than an outline drawn line by line.
  Canvas.Brush()->SetStyle(bsSolid);
  TColor last = clNone;
  for (int k = 0; k <= Steps; ++k) {
    const int offset = int(Trunc(k * band));
    auto ch = [&](int a, int b) { return Clamp255(a + Round(double(k) * (b - a) / Steps)); };
    last = RGB(ch(GetRValue(f), GetRValue(t)), ch(GetGValue(f), GetGValue(t)), ch(GetBValue(f), GetBValue(t)));
    Canvas.Brush()->SetColor(last);
    const int extent = int(Trunc(band + 1));
    if (Horizontal)
      Canvas.FillRect(TRect(Rect.Left + offset, Rect.Top, std::min(Rect.Right, Rect.Left + offset + extent), Rect.Bottom));
    else
      Canvas.FillRect(TRect(Rect.Left, Rect.Top + offset, Rect.Right, std::min(Rect.Bottom, Rect.Top + offset + extent)));
  }
  SetBrushAndPen(Canvas, last);  // callers read the last band's colour from the brush and pen
}

void FillGradientBox(TCanvas& Canvas, TRect Rect, TColor Color, TColor ColorTo, TColor ColorMirror,
                     TColor ColorMirrorTo, TGradientDirection Direction, TColor BorderColor, bool SidesOnly,
                     bool Fill) {
  const bool horizontal = Direction == gdHorizontal;
  if (Fill && Color != clNone) {
    if (ColorMirror == clNone && ColorTo == clNone) {
      SetBrushAndPen(Canvas, Color);
      Canvas.Pen()->SetWidth(1);
      Rect.Bottom += 1;
      Canvas.Rectangle(Rect);
    } else if (ColorMirror == clNone) {
      FillGradientBands(Canvas, Color, ColorTo, 128, Rect, horizontal);
    } else {
      TRect first = Rect, second = Rect;
      if (horizontal) {
        first.Right = Rect.Left + Rect.Width() / 2;
        second.Left = first.Right;
      } else {
        first.Bottom = Rect.Top + Rect.Height() / 2;
        second.Top = first.Bottom;
      }
      FillGradientBands(Canvas, Color, ColorTo, 128, first, horizontal);
      FillGradientBands(Canvas, ColorMirror, ColorMirrorTo, 128, second, horizontal);
    }
  }
  if (BorderColor == clNone) return;
  if (SidesOnly) {
    Canvas.Pen()->SetStyle(psSolid);
    Canvas.Pen()->SetWidth(1);
    Canvas.Pen()->SetColor(BorderColor);
    Line(Canvas, Rect.Left, Rect.Top, Rect.Left, Rect.Bottom);
    Line(Canvas, Rect.Right - 1, Rect.Top, Rect.Right - 1, Rect.Bottom);
  } else {
    Canvas.Brush()->SetColor(BorderColor);
    Canvas.FrameRect(Rect);
  }
}

void DrawRoundedSelection(TCanvas& Canvas, TColor Color, TColor ColorTo, TColor ColorMirror, TColor ColorMirrorTo,
                          TColor InnerTopColor, TColor InnerBottomColor, TColor BorderColor, TColor CornerColor,
                          TColor OuterCornerColor, TRect Rect, int Join) {
  const int L = Rect.Left, T = Rect.Top, R = Rect.Right - 1, B = Rect.Bottom - 2;
  const bool leftEdge = Join == 0 || Join == 1;
  const bool rightEdge = Join == 0 || Join == 2;
  int insetL = leftEdge ? 2 : 0, insetR = rightEdge ? 2 : 0;
  if (Join == 4) insetL = insetR = 2;
  const int mid = T + (B - T) / 2;
  Canvas.Pen()->SetStyle(psSolid);
  Canvas.Pen()->SetWidth(1);

  Canvas.Pen()->SetColor(InnerTopColor);
  Line(Canvas, L, T + 1, R, T + 1);
  if (leftEdge) Line(Canvas, L + 1, T + 1, L + 1, mid);
  if (rightEdge) Line(Canvas, R - 2, T + 1, R - 2, mid);

  Canvas.Pen()->SetColor(InnerBottomColor);
  Line(Canvas, L, B - 1, R, B - 1);
  if (leftEdge) Line(Canvas, L + 1, mid, L + 1, B - 1);
  if (rightEdge) Line(Canvas, R - 2, mid, R - 2, B - 1);

  Canvas.Pen()->SetColor(BorderColor);
  Line(Canvas, L + insetL, T, R - insetR, T);
  Line(Canvas, L + insetL, B, R - insetR, B);
  if (rightEdge) Line(Canvas, R - 1, T + 2, R - 1, B - 1);
  if (leftEdge) Line(Canvas, L, T + 2, L, B - 1);

  if (leftEdge) {
    for (TPoint p : {TPoint(L + 1, T), TPoint(L + 1, T + 1), TPoint(L, T + 1), TPoint(L + 1, B), TPoint(L + 1, B - 1),
                     TPoint(L, B - 1)})
      Canvas.SetPixels(p.X, p.Y, CornerColor);
    Canvas.SetPixels(L, T, OuterCornerColor);
    Canvas.SetPixels(L, B, OuterCornerColor);
  }
  if (rightEdge) {
    for (TPoint p : {TPoint(R - 2, T), TPoint(R - 2, T + 1), TPoint(R - 1, T + 1), TPoint(R - 2, B), TPoint(R - 2, B - 1),
                     TPoint(R - 1, B - 1)})
      Canvas.SetPixels(p.X, p.Y, CornerColor);
    Canvas.SetPixels(R - 1, T, OuterCornerColor);
    Canvas.SetPixels(R - 1, B, OuterCornerColor);
  }

  const TRect fill(L + insetL, T + 2, R - insetR, B - 1);
  if (ColorTo == clNone) {
    if (Color == clNone) return;
    SetBrushAndPen(Canvas, Color);
    Canvas.FillRect(fill);
  } else if (ColorMirror == clNone) {
    FillGradientBands(Canvas, Color, ColorTo, 16, fill, false);
  } else {
    TRect upper = fill, lower = fill;
    upper.Bottom = fill.Top + fill.Height() / 2;
    lower.Top = upper.Bottom;
    FillGradientBands(Canvas, Color, ColorTo, 16, upper, false);
    FillGradientBands(Canvas, ColorMirror, ColorMirrorTo, 16, lower, false);
  }
}

void FillRectColor(TCanvas& Canvas, const TRect& Rect, TColor Color) {
  Canvas.Brush()->SetColor(Color);
  Canvas.FillRect(Rect);
}

void DrawSmallDownArrow(TCanvas& Canvas, int X, int Y, TColor Color) {
  Triangle(Canvas, TPoint(X - 3, Y), TPoint(X + 3, Y), TPoint(X, Y + 3), Color);
}

void DrawDropDownGradient(TCanvas& Canvas, TColor Color, TColor ColorTo, int Count, const TRect& Rect,
                          TGradientDirection Direction) {
  const int n = std::max(1, Count);
  const TColor a = ColorToRGB(Color), b = ColorToRGB(ColorTo);
  const bool horz = Direction == gdHorizontal;
  const int span = horz ? Rect.Width() : Rect.Height();
  for (int i = 0; i < n; ++i) {
    const double f = n == 1 ? 0.0 : double(i) / (n - 1);
    TColor c = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
      const int ca = int((a >> shift) & 0xFF), cb = int((b >> shift) & 0xFF);
      c |= TColor(Clamp255(std::lround(ca + (cb - ca) * f))) << shift;
    }
    const int from = int(qint64(span) * i / n), to = int(qint64(span) * (i + 1) / n);
    if (to <= from) continue;
    const TRect band = horz ? TRect(Rect.Left + from, Rect.Top, Rect.Left + to, Rect.Bottom)
                            : TRect(Rect.Left, Rect.Top + from, Rect.Right, Rect.Top + to);
    FillRectColor(Canvas, band, c);
  }
}

void DrawBitmapOnColor(TCanvas& Canvas, TBitmap& Bitmap, TColor BackColor, const TRect& Rect) {
  const int w = Bitmap.Width(), h = Bitmap.Height();
  if (w <= 0 || h <= 0) return;
  TBitmap onColour(w, h);
  TCanvas* c = onColour.Canvas();
  c->Brush()->SetColor(BackColor);
  c->FillRect(TRect(0, 0, w, h));
  const TColor key = FromQColor(Bitmap.Image().pixelColor(0, 0));
  c->BrushCopy(TRect(0, 0, w, h), &Bitmap, TRect(0, 0, w, h), key);
  Canvas.Draw(Rect.Left, Rect.Top, &onColour);
}

namespace {
std::map<QString, QImage>& ResourceImages() {
  static std::map<QString, QImage> images;
  return images;
}
}  // namespace

void RegisterResourceImage(const QString& Name, const QImage& Image) { ResourceImages()[Name.toUpper()] = Image; }

QImage ResourceImage(const QString& Name) {
  const auto it = ResourceImages().find(Name.toUpper());
  if (it != ResourceImages().end()) return it->second;
  for (const QString& suffix : {QString(), QStringLiteral(".bmp"), QStringLiteral(".png")}) {
    const QString path = QStringLiteral(":/") + Name + suffix;
    if (QFile::exists(path)) return QImage(path);
  }
  return QImage();
}

void DrawResourceBitmap(TCanvas& Canvas, TColor BackColor, const TRect& Rect, const QString& ResName) {
  if (const auto it = ResourceImages().find(ResName.toUpper()); it != ResourceImages().end()) {
    TBitmap bitmap;
    bitmap.SetImage(it->second);
    DrawBitmapOnColor(Canvas, bitmap, BackColor, Rect);
    return;
  }
  for (const QString& suffix : {QString(), QStringLiteral(".bmp"), QStringLiteral(".png")}) {
    const QString path = QStringLiteral(":/") + ResName + suffix;
    if (!QFile::exists(path)) continue;
    QImage image(path);
    if (image.isNull()) return;
    TBitmap bitmap;
    bitmap.SetImage(image);
    DrawBitmapOnColor(Canvas, bitmap, BackColor, Rect);
    return;
  }
}

void DrawLinearGauge(TCanvas& Canvas, TRect Rect, TColor Color, TColor FontColor, TColor RestColor,
                     TColor RestFontColor, double Value, int MarginX, int MarginY, int Min, int Max,
                     const QString& Format, TColor BorderColor, bool Inverted) {
  const TColor oldColor = Canvas.Brush()->Color();
  SetBrushAndPen(Canvas, Color);
  Canvas.Font()->SetColor(FontColor);

  QString text = IntToStr(Round(Value)) + u'%';
  int64_t percent = Round(Value);
  if (!Format.isEmpty()) {
    try {
      text = Format.contains(u'd') || Format.contains(u'u') ? plat::Format(Format, {Round(Value)})
                                                           : plat::Format(Format, {Value});
    } catch (const EConvertError&) {
      // A format that does not fit the number shows the plain percentage text.
    }
    percent = Max == Min ? 0 : Round((Value - Min) * 100 / (Max - Min));
  }
  percent = std::clamp<int64_t>(percent, 0, 100);

  InflateRect(Rect, -MarginX, -MarginY);
  const int w = Rect.Width(), h = Rect.Height();
  const TSize ext = Canvas.TextExtent(text);
  const int x = Rect.Left + (w - ext.cx) / 2;
  const int y = Inverted ? Rect.Top + (h + ext.cy) / 2 : Rect.Top + (h - ext.cy) / 2;

  const int split = Rect.Left + int(Round(w * double(percent) / 100));
  Canvas.TextRect(TRect(Rect.Left, Rect.Top, split, Rect.Bottom), x, y, text);
  SetBrushAndPen(Canvas, RestColor);
  Canvas.Font()->SetColor(RestFontColor);
  Canvas.TextRect(TRect(split, Rect.Top, Rect.Right, Rect.Bottom), x, y, text);

  Canvas.Brush()->SetColor(BorderColor);
  Canvas.Pen()->SetColor(oldColor);
  InflateRect(Rect, 1, 1);
  if (BorderColor != clNone) Canvas.FrameRect(Rect);
  Canvas.Brush()->SetColor(oldColor);
  InflateRect(Rect, 1, 1);
  if (oldColor != clNone) Canvas.FrameRect(Rect);
}

namespace {

// Fills one bar piece: with a gradient across its thickness in two halves, or plain.
void FillGaugePiece(TCanvas& c, const TRect& r, TColor colour, TColor colourTo, const GaugeAppearance& a) {
  if (r.IsEmpty()) return;
  if (!a.ShowGradient) {
    SetBrushAndPen(c, colour);
    c.FillRect(r);
    return;
  }
  TRect first = r, second = r;
  if (a.Vertical) {
    first.Right = r.Left + r.Width() / 2;
    second.Left = first.Right;
  } else {
    first.Bottom = r.Top + r.Height() / 2;
    second.Top = first.Bottom;
  }
  // Across the thickness: horizontal bands for a vertical bar, vertical bands for a horizontal one.
  FillGradientBands(c, colourTo, colour, a.Steps, first, a.Vertical);
  FillGradientBands(c, colour, colourTo, a.Steps, second, a.Vertical);
}

// A piece of the bar from `start` to `start + length` along the bar, `inset` pixels inside the border.
TRect GaugePiece(const TRect& r, bool vertical, int start, int length, int inset) {
  if (vertical) return TRect(r.Left + inset, r.Bottom - start - length, r.Right - inset, r.Bottom - start);
  return TRect(r.Left + start, r.Top + inset, r.Left + start + length, r.Bottom - inset);
}

}  // namespace

void PaintThresholdGauge(TCanvas& Canvas, TRect Rect, int Percent, GaugeAppearance A) {
  const int P = Percent;
  int size = A.Vertical ? Rect.Height() : Rect.Width();
  bool finished = true;
  const TColor borderPen = A.ShowBorder ? A.BorderColor : A.BackgroundColor;
  Canvas.Brush()->SetStyle(bsSolid);
  Canvas.Brush()->SetColor(A.BackgroundColor);
  Canvas.Pen()->SetStyle(psSolid);
  Canvas.Pen()->SetWidth(1);
  Canvas.Pen()->SetColor(borderPen);
  Canvas.Rectangle(Rect);
  size -= 2;

  if (P > 0 && A.Stacked) {
    const int len0 = int(Round(std::min(P, A.Level1Perc) / 100.0 * size));
    if (P < A.Level1Perc) finished = false;
    FillGaugePiece(Canvas, GaugePiece(Rect, A.Vertical, 1, len0, 1), A.Level0Color, A.Level0ColorTo, A);
    int len1 = 0;
    if (finished) {
      len1 = int(Round(size * (std::min(P, A.Level2Perc) - A.Level1Perc) / 100.0));
      if (P < A.Level2Perc) finished = false;
      FillGaugePiece(Canvas, GaugePiece(Rect, A.Vertical, 1 + len0, len1, 1), A.Level1Color, A.Level1ColorTo, A);
    }
    if (finished) {
      const int len2 = P == 100 ? size - len1 - len0 : int(Round(size * (P - A.Level2Perc) / 100.0));
      const int start = 1 + len0 + len1 + (A.Vertical ? 1 : 0);
      FillGaugePiece(Canvas, GaugePiece(Rect, A.Vertical, start, len2, 1), A.Level3Color, A.Level3ColorTo, A);
    }
  } else if (P > 0) {
    TColor c = A.Level3Color, cTo = A.Level3ColorTo;
    if (P < A.Level1Perc) {
      c = A.Level0Color;
      cTo = A.Level0ColorTo;
    } else if (P < A.Level2Perc) {
      c = A.Level1Color;
      cTo = A.Level1ColorTo;
    } else if (P < 100) {
      c = A.Level2Color;
      cTo = A.Level2ColorTo;
    }
    if (A.CompletionSmooth) {
      FillGaugePiece(Canvas, GaugePiece(Rect, A.Vertical, 1, int(Round(P / 100.0 * size)), 1), c, cTo, A);
    } else {
      const int t = int(Round(double(P) * size / 100));
      if (t > 9) {
        const int blocks = t / 9;
        for (int k = 0; k < blocks; ++k) FillGaugePiece(Canvas, GaugePiece(Rect, A.Vertical, 2 + 9 * k, 7, 2), c, cTo, A);
        if (t % 9 > 2) FillGaugePiece(Canvas, GaugePiece(Rect, A.Vertical, 2 + 9 * blocks, t % 9 - 1, 2), c, cTo, A);
      } else if (t > 1) {
        FillGaugePiece(Canvas, GaugePiece(Rect, A.Vertical, 2, t - 1, 2), c, cTo, A);
      }
      Canvas.Brush()->SetStyle(bsClear);
    }
  }

  if (A.ShowPercentage) {
    Canvas.Brush()->SetStyle(bsClear);
    if (A.Font) {
      Canvas.Font()->SetName(A.Font->Name());
      Canvas.Font()->SetSize(A.Font->Size());
      Canvas.Font()->SetStyle(A.Font->Style());
    }
    Canvas.Font()->SetColor(A.PercentFontColor);
    const QString text = IntToStr(P) + u'%';
    const int w = Rect.Width(), h = Rect.Height();
    if (!A.Vertical) {
      Canvas.TextOut(Rect.Left + w / 2 - Canvas.TextWidth(text) / 2, Rect.Top + h / 2 - Canvas.TextHeight(text) / 2,
                     text);
    } else {
      const int tw = Canvas.TextWidth(text), th = Canvas.TextHeight(text);
      Canvas.Font()->SetOrientation(900);
      Canvas.TextOut(Rect.Left + w / 2 - th / 2, Rect.Top + h / 2 + tw / 2, text);
      Canvas.Font()->SetOrientation(0);
    }
  }

  Canvas.Pen()->SetColor(borderPen);
  Canvas.Brush()->SetStyle(bsClear);
  Canvas.Rectangle(Rect);
}

void DrawPieGauge(TCanvas& Canvas, const TRect& Rect, TColor Color, int Percent, bool Inverted) {
  const TColor gray = TColor(0x808080);
  Canvas.Pen()->SetStyle(psSolid);
  Canvas.Pen()->SetColor(gray);
  Canvas.Pen()->SetWidth(1);
  Canvas.Ellipse(Rect);
  const int w = Rect.Width(), h = Rect.Height();
  const int cx = Rect.Left + w / 2, cy = Rect.Top + h / 2;
  Line(Canvas, cx, cy, cx, Rect.Top);
  const double a = Percent / 100.0 * 2 * std::numbers::pi;
  const int x = cx + int(Round((w + 1) / 2.0 * std::sin(a)));
  const int y = cy - int(Round((h + 1) / 2.0 * std::cos(a)));
  Line(Canvas, cx, cy, x, y);
  if (Percent != 0) {
    Canvas.Brush()->SetStyle(bsSolid);
    Canvas.Brush()->SetColor(Color);
    Canvas.FloodFill(cx + 1, Inverted ? Rect.Top - 2 : Rect.Top + 2, gray, fsBorder);
  }
}

void DrawSignedBar(TCanvas& Canvas, TRect Rect, int Value, int Max, bool ShowValue, TColor NegColor, TColor PosColor) {
  InflateRect(Rect, -2, -2);
  if (Max == 0) return;
  const int limit = std::abs(Max);
  Value = std::clamp(Value, -limit, limit);
  const int half = Rect.Width() / 2;
  const double x = double(half) * Value / Max;
  const int mid = Rect.Left + half;
  if (Value < 0) {
    SetBrushAndPen(Canvas, NegColor);
    Canvas.Rectangle(mid + int(Round(x)), Rect.Top, mid, Rect.Bottom);
  } else {
    SetBrushAndPen(Canvas, PosColor);
    Canvas.Rectangle(mid, Rect.Top, mid + int(Round(x)), Rect.Bottom);
  }
  if (ShowValue) {
    // The value is written centred over the bar.
    Canvas.SetBkMode(TRANSPARENT);
    const QString text = IntToStr(Value);
    const TSize ext = Canvas.TextExtent(text);
    Canvas.Brush()->SetStyle(bsClear);
    Canvas.TextOut(Rect.Left + (Rect.Width() - ext.cx) / 2, Rect.Top + (Rect.Height() - ext.cy) / 2, text);
  }
}

void PaintCellShape(TCanvas& Canvas, int X, int Y, int Width, int Height, TCellShape Shape, TColor BrushColor,
                    TColor PenColor) {
  int W = Width, H = Height;
  if (Shape == csCircle || Shape == csSquare || Shape == csRoundSquare) W = H = std::min(W, H);
  const int W2 = W / 2, H2 = H / 2;
  const int Weven = W & ~1, Heven = H & ~1;
  const int W4 = Weven / 4, H4 = Heven / 4;
  Canvas.Brush()->SetStyle(bsSolid);
  Canvas.Brush()->SetColor(BrushColor);
  Canvas.Pen()->SetStyle(psSolid);
  Canvas.Pen()->SetColor(PenColor);
  auto poly = [&](std::initializer_list<TPoint> pts) {
    std::vector<TPoint> v(pts);
    Canvas.Polygon(v);
  };
  auto star = [&](std::initializer_list<std::pair<double, bool>> angles) {
    std::vector<TPoint> v;
    const int cx = X + W2, cy = Y + H2;
    for (auto [a, outer] : angles) {
      const double rx = outer ? W2 : W2 / 3.0, ry = outer ? H2 : H2 / 3.0;
      v.emplace_back(cx + int(Round(std::sin(a) * rx)), cy - int(Round(std::cos(a) * ry)));
    }
    Canvas.Polygon(v);
  };
  constexpr double pi = std::numbers::pi;
  switch (Shape) {
    case csRectangle:
    case csSquare:
      Canvas.Rectangle(X + 1, Y + 1, X + W - 1, Y + H - 1);
      break;
    case csCircle:
    case csEllips:
      Canvas.Ellipse(X, Y, X + W, Y + H);
      break;
    case csRoundRect:
    case csRoundSquare:
      Canvas.RoundRect(X, Y, X + W, Y + H, 10, 10);
      break;
    case csTriangleLeft: poly({{X + W, Y}, {X + W, Y + H}, {X, Y + H2}}); break;
    case csTriangleRight: poly({{X, Y}, {X, Y + H}, {X + W, Y + H2}}); break;
    case csTriangleUp: poly({{X, Y + H}, {X + W, Y + H}, {X + W2, Y}}); break;
    case csTriangleDown: poly({{X, Y}, {X + W, Y}, {X + W2, Y + H}}); break;
    case csDiamond: poly({{X, Y + H2}, {X + W2, Y}, {X + 2 * W2, Y + H2}, {X + W2, Y + 2 * H2}}); break;
    case csLineVert: Canvas.Rectangle(X + W2, Y, X + W2 + 1, Y + H); break;
    case csLineHorz: Canvas.Rectangle(X, Y + H2, X + W, Y + H2 + 1); break;
    case csStar:
      star({{0, true}, {pi / 5, false}, {2 * pi / 5, true}, {3 * pi / 5, false}, {4 * pi / 5, true},
            {pi, false}, {6 * pi / 5, true}, {7 * pi / 5, false}, {8 * pi / 5, true}, {9 * pi / 5, false}});
      break;
    case csHalfStar:
      star({{0, true}, {pi, false}, {1.2 * pi, true}, {1.4 * pi, false}, {1.6 * pi, true}, {1.8 * pi, false}});
      break;
    case csArrowUp:
      poly({{X, Y + H2}, {X + Weven / 2, Y}, {X + Weven, Y + H2}, {X + 3 * W4, Y + H2}, {X + 3 * W4, Y + H},
            {X + W4, Y + H}, {X + W4, Y + H2}});
      break;
    case csArrowDown:
      poly({{X, Y + H2}, {X + Weven / 2, Y + H}, {X + Weven, Y + H2}, {X + 3 * W4, Y + H2}, {X + 3 * W4, Y},
            {X + W4, Y}, {X + W4, Y + H2}});
      break;
    case csArrowLeft:
      poly({{X, Y + Heven / 2}, {X + W2, Y}, {X + W2, Y + H4}, {X + W, Y + H4}, {X + W, Y + 3 * H4},
            {X + W2, Y + 3 * H4}, {X + W2, Y + Heven}});
      break;
    case csArrowRight:
      poly({{X + W, Y + Heven / 2}, {X + W2, Y}, {X + W2, Y + H4}, {X, Y + H4}, {X, Y + 3 * H4},
            {X + W2, Y + 3 * H4}, {X + W2, Y + Heven}});
      break;
    default:
      break;
  }
}

TPoint EditCharPosition(TCanvas& Canvas, const QString& Text, int Index) {
  // A one-line edit shows its text one pixel from the left edge and at the top.
  constexpr int kEditMargin = 1;
  Index = std::clamp(Index, 0, int(Text.size()));
  return TPoint(kEditMargin + Canvas.TextWidth(Text.left(Index)), 0);
}

void DrawErrorUnderline(TCanvas& Canvas, const QString& Text, const TRect& Rect, int Offset, int ErrFrom, int ErrLen) {
  const int len = int(Text.size());
  TPoint start = ErrFrom < len ? EditCharPosition(Canvas, Text, ErrFrom) : EditCharPosition(Canvas, Text, len);
  if (ErrFrom >= len) start.X += 4;
  TPoint end;
  if (ErrFrom + ErrLen < len) {
    end = EditCharPosition(Canvas, Text, ErrFrom + ErrLen - 1);
  } else {
    end = EditCharPosition(Canvas, Text, std::max(0, len - 1));
    end.X += 4;
    end.Y = start.Y;
  }
  Canvas.Pen()->SetStyle(psSolid);
  Canvas.Pen()->SetColor(TColor(0xFF));
  Canvas.Pen()->SetWidth(2);
  Canvas.MoveTo(Rect.Left + start.X, Rect.Top + start.Y + Offset + 3);
  int level = 0;
  int x = start.X;
  while (x <= end.X) {
    Canvas.LineTo(Rect.Left + x + 3, Rect.Top + end.Y + Offset + level);
    level = 3 - level;
    x += 3;
  }
  Canvas.LineTo(Rect.Left + x + 3, Rect.Top + end.Y + Offset + 3 - level);
  Canvas.Pen()->SetWidth(1);
}

void PaintDropDownButton(TCanvas& Canvas, TThemeWindow ThemeWindow, const TRect& Rect, const TColorTones& Tones,
                         int State, int Look) {
  TRect r(Rect.Right - 17 - 2, Rect.Top + 1, Rect.Right - 2, Rect.Bottom - 1);
  if (Look == 0 && DrawThemed(Canvas, ThemeWindow, "combobox", CP_DROPDOWNBUTTON,
                              State == 3 ? CBXS_DISABLED : CBXS_NORMAL, r))
    return;
  if (Look <= 2) {
    unsigned flags = DFCS_SCROLLCOMBOBOX | (State == 3 ? DFCS_INACTIVE : 0u) | (Look == 2 ? DFCS_FLAT : 0u);
    DrawFrameControl(&Canvas, r, DFC_SCROLL, flags);
    return;
  }
  r.Left += 3;
  const TColorTone& tone = ToneOfState(Tones, State);
  SetBrushAndPen(Canvas, tone.BrushColor);
  Canvas.Rectangle(r);
  Canvas.Pen()->SetColor(Tones.Background.BorderColor);
  Line(Canvas, r.Left + 1, r.Top, r.Left + 1, r.Bottom);
  const int L = r.Left, T = r.Top;
  Triangle(Canvas, TPoint(L + 5, T + 8), TPoint(L + 11, T + 8), TPoint(L + 8, T + 11), Tones.Background.TextColor);
}

bool PaintThemePart(TCanvas& Canvas, TThemeWindow ThemeWindow, const char* ThemeClass, int Part, int State,
                   const TRect& Rect) {
  return DrawThemed(Canvas, ThemeWindow, ThemeClass, Part, State, Rect);
}

void PaintPushButtonFace(TCanvas& Canvas, TThemeWindow ThemeWindow, const TRect& Rect, const TColorTones& Tones,
                         int State, int Look) {
  static const int themed[4] = {PBS_NORMAL, PBS_HOT, PBS_PRESSED, PBS_DISABLED};
  const int s = std::clamp(State, 0, 3);
  if (Look == 0 && DrawThemed(Canvas, ThemeWindow, "button", BP_PUSHBUTTON, themed[s], Rect)) return;
  if (Look <= 2) {
    static const unsigned classic[4] = {0, DFCS_HOT, DFCS_PUSHED, DFCS_INACTIVE};
    DrawFrameControl(&Canvas, Rect, DFC_BUTTON, DFCS_BUTTONPUSH | classic[s] | (Look == 2 ? DFCS_FLAT : 0u));
    return;
  }
  const TColorTone& tone = ToneOfState(Tones, State);
  Canvas.Brush()->SetStyle(bsSolid);
  Canvas.Brush()->SetColor(tone.BrushColor);
  Canvas.Pen()->SetStyle(psSolid);
  Canvas.Pen()->SetColor(tone.BorderColor);
  Canvas.Rectangle(Rect);
}

void PaintSpinButtonPair(TCanvas& Canvas, TThemeWindow ThemeWindow, const TRect& Rect, const TColorTones& Tones,
                         int State, int Look) {
  const TRect r(Rect.Right - 15 - 1, Rect.Top - 1, Rect.Right - 1, Rect.Bottom - 1);
  const int M = r.Top + r.Height() / 2;
  const TRect upper(r.Left, r.Top, r.Right, M);
  if (Look == 0 && XPVS().Loaded) {
    const HTHEME theme = XPVS().OpenThemeData(ThemeWindow, QStringLiteral("spin"));
    if (theme != 0) {
      const int s = State == 3 ? UPS_DISABLED : UPS_NORMAL;
      XPVS().DrawThemeBackground(theme, &Canvas, SPNP_UP, s, upper, nullptr);
      XPVS().DrawThemeBackground(theme, &Canvas, SPNP_DOWN, s, TRect(r.Left, M, r.Right, r.Bottom), nullptr);
      XPVS().CloseThemeData(theme);
      return;
    }
  }
  if (Look <= 2) {
    const unsigned extra = (State == 3 ? DFCS_INACTIVE : 0u) | (Look == 2 ? DFCS_FLAT : 0u);
    DrawFrameControl(&Canvas, upper, DFC_SCROLL, DFCS_SCROLLUP | extra);
    DrawFrameControl(&Canvas, TRect(r.Left, M + 1, r.Right, r.Bottom), DFC_SCROLL, DFCS_SCROLLDOWN | extra);
    return;
  }
  const TColorTone& tone = ToneOfState(Tones, State);
  const TRect lower(r.Left, M, r.Right, r.Bottom);
  for (const TRect& half : {upper, lower}) {
    SetBrushAndPen(Canvas, tone.BrushColor);
    Canvas.Rectangle(half);
  }
  int L = upper.Left, T = upper.Top;
  Triangle(Canvas, TPoint(L + 5, T + 5), TPoint(L + 9, T + 5), TPoint(L + 7, T + 3), clBlack);
  L = lower.Left;
  T = lower.Top;
  Triangle(Canvas, TPoint(L + 5, T + 1), TPoint(L + 9, T + 1), TPoint(L + 7, T + 3), clBlack);
}

// ---- window routines ---------------------------------------------------------------------------------------

bool UpdateLayeredWindowDyn(TThemeWindow, const void*, const TPoint*, const TSize*, const void*, const TPoint*,
                            TColor, const void*, std::uint32_t) {
  return true;
}

bool SetLayeredWindowAttributesDyn(TThemeWindow, TColor, std::uint8_t, std::uint32_t) { return true; }

}  // namespace controls
